// The compiled form of an expression: a flat list of instructions for the
// backtracking matcher, with the character sets and search hints it needs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "regex/RegexCharSet.h"

namespace regex {

enum class Op : uint8_t {
    Match,         // success
    Char,          // c
    CharCI,        // c or c2
    String,        // strings[a .. a+b)
    StringCI,      // each unit equals strings[a+i] or strings[a+b+i]
    Any,           // any unit
    AnyNotLineSep, // any unit but a line separator or the head of the pair before its tail
    Set,           // sets[a] (neg: the complement)
    Digit,         // "0".."9" (neg)
    Word,          // word characters (neg)
    Space,         // space characters (neg)
    InputStart,
    InputEnd,
    LineStart,
    LineEnd,
    WordBoundary,
    NotWordBoundary,
    BackRef,   // group a
    BackRefCI, // group a, case-insensitive
    Split,     // try x, on failure y
    Jump,      // go to x
    Open,      // group a starts
    Close,     // group a ends
    Repeat,    // the one-unit operand at pc+1, a..b times; continue at pc+2
    LoopInit,  // counted loop over a complex operand (fields below)
    LoopCont,  // end of one iteration of that loop
    Fail,      // records error a, the try fails
};

struct Inst {
    Op op = Op::Match;
    bool neg = false;     // Set, Digit, Word, Space
    bool greedy = true;   // Repeat, LoopInit, LoopCont
    bool hasHint = false; // Repeat: the unit that must follow is c
    // Repeat (greedy): what follows must take a unit the operand never takes, so
    // giving units back cannot help and no backtrack point is kept.
    bool possessive = false;
    WideChar c = 0, c2 = 0;
    int32_t a = 0, b = 0; // Repeat/loops: min, max; String: offset, length; Set: index; groups
    int32_t x = 0, y = 0; // Split: first, second; Jump: target; loops: slot and body start
    int32_t exit = 0;     // loops: the instruction after the loop
    // Split: index in Program::branchFirst of the units the first choice must start
    // with (-1: any); elsewhere it is not tried and leaves no choice behind.
    int32_t filter = -1;
    // Split that begins an alternation: index in Program::dispatch (-1: none).
    int32_t dispatch = -1;
};

using CaseInvertHook = WideChar (*)(WideChar);

struct Program {
    std::vector<Inst> code;
    WideString strings;
    std::vector<CharSet> sets;
    CharSet word, space, lineSep;
    bool hasPair = false;
    WideChar pairHead = 0, pairTail = 0;
    int loopSlots = 0;

    // Case inversion below U+0100 is tabled; above, the hook is asked unless it
    // is the engine's own (which leaves those units alone).
    std::array<WideChar, 256> invLow{};
    CaseInvertHook hook = nullptr;
    bool hookIsOwn = true;
    WideChar Invert(WideChar c) const {
        if (c < 256) return invLow[c];
        return hookIsOwn ? c : hook(c);
    }

    // Search hints: they only skip start positions that cannot match.
    bool anchored = false;             // every match starts at the input start
    WideString prefix;                 // every match starts with this text
    WideString required;               // every match contains this text
    std::unique_ptr<CharBitmap> first; // every match starts with one of these units
    int firstCount = 0;                // when 1 to 3: they are also listed here
    WideChar firstUnits[3] = {0, 0, 0};
    // Every match is a run of the units that the repetition (without upper bound) at the
    // program's start takes, followed by this text.
    WideString afterLeadRun;
    // Every match starts with one of these pairs of units (keys by PairKey), e.g. the
    // first two letters of the words of an alternation.
    std::unique_ptr<CharBitmap> pairs;
    static WideChar PairKey(WideChar a, WideChar b) { return static_cast<WideChar>((a << 8) ^ b); }

    // The expression is one literal text (the prefix), exactly.
    bool IsLiteral() const {
        return code.size() == 2 && code[1].op == Op::Match &&
               (code[0].op == Op::String || code[0].op == Op::Char) && !prefix.empty();
    }

    // The first units of the choices that Split instructions filter.
    std::vector<CharBitmap> branchFirst;
    // Per alternation, by the unit at hand (below U+0100): the Split instruction of the
    // first choice that can start with it, or the last choice.
    std::vector<std::array<int32_t, 256>> dispatch;
};

} // namespace regex
