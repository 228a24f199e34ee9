// What a compilation is given (modifiers, character classes, case inversion),
// the limits of the expression language, and how a compilation fails.
#pragma once

#include <cstdint>

#include "regex/RegexProgram.h"

namespace regex {

// Modifier bits of an expression.
enum Modifier : int { ModI = 1, ModR = 2, ModS = 4, ModG = 8, ModM = 16, ModX = 32 };

// The unbounded maximum of "*" and "+", and of "{n,}".
constexpr int32_t kStarMax = 2147483647;
constexpr int32_t kBracesUnbounded = 2147483646;
// Counted loops may nest this deep; a deeper one fails at run time.
constexpr int kMaxLoopNesting = 10;
constexpr int kMaxGroups = 14;
// Start and end of group 0 (the match) and of every group.
constexpr int kCaptureSlots = 2 * (kMaxGroups + 1);

struct CompileOptions {
    int modifiers = 0;
    WideStringView spaceChars, wordChars, lineSeparators;
    bool hasPair = false;
    WideChar pairHead = 0, pairTail = 0;
    CaseInvertHook hook = nullptr;
    bool hookIsOwn = true; // the engine's own hook, which leaves units above U+00FF alone

    WideChar Invert(WideChar c) const { return hook ? hook(c) : c; }
};

struct CompileError {
    int code = 0;     // 0: none
    int position = 0; // zero-based index in the expression
};

// Inline modifier letters "imsxgr" with "-" switching to clearing; false at the
// first other character (bits changed before it stay changed).
bool ParseModifiers(WideStringView text, int& modifiers);

} // namespace regex
