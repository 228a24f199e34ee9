// The regular-expression engine: one expression, compiled on demand, searched
// over one UTF-16 input. Errors are never thrown: they are recorded in
// RegExFehlerStatus and the failing operation finds no match.
#pragma once

#include <memory>

#include "regex/RegExErrors.h"
#include "regex/RegexCompiler.h"
#include "regex/RegexMatcher.h"

// Process-wide defaults read by every new engine; the regular-expression
// settings window changes them for engines created afterwards.
struct TRegExprDefaults {
    bool ModifierI = false;
    bool ModifierR = true;
    bool ModifierS = true;
    bool ModifierG = true;
    bool ModifierM = false;
    bool ModifierX = false;
    WideString SpaceChars;
    WideString WordChars;
    WideString LineSeparators;
    WideString LinePairedSeparator;
    regex::CaseInvertHook CaseInvert;

    TRegExprDefaults();
};

extern TRegExprDefaults RegExprDefaults;

class TRegExpr {
public:
    TRegExpr();
    virtual ~TRegExpr();
    TRegExpr(const TRegExpr&) = delete;
    TRegExpr& operator=(const TRegExpr&) = delete;

    void SetExpression(const WideString& expression);
    const WideString& Expression() const { return expression_; }
    // Ids 1..6 are the modifiers i, r, s, g, m, x; another id records 1013.
    void SetModifierById(int id, bool on);
    // Two different characters, or empty for none; anything else records 128.
    void SetLinePair(const WideString& pair);

    bool Compile();
    bool ProgramReady();
    int ErrorPosition() const { return compiling_ ? errorPosition_ : 0; }
    virtual void Error(int code);
    virtual WideString ErrorMsg(int code);
    // ASCII letters swap case; every other character stays.
    static WideChar CaseInvert(WideChar c);

    void SetInput(const WideString& input);
    bool Exec(const WideString& input);
    // The same without a private copy: the engine searches `input` itself, which the
    // caller keeps alive and unchanged until it sets another input or frees the engine.
    void SetInputShared(const WideString& input);
    bool ExecShared(const WideString& input);
    bool ExecPos(int position);
    bool ExecNext();
    // The work of one Exec or ExecPos and the ExecNext calls after it is bounded by the
    // subject's length; true when the last search gave up because it was spent (1016).
    bool GaveUp() const { return gaveUp_; }
    int GetMatchPos(int group) const;
    int GetMatchLen(int group) const;
    WideString Substitute(const WideString& pattern);
    // Appends what Substitute gives to `out`.
    void AppendSubstitution(const WideString& pattern, WideString& out);

private:
    bool Search(int position);
    bool SearchLiteral(int from);
    int InputEnd();

    WideString expression_;
    int modifiers_ = 0;
    int programModifiers_ = 0;
    std::unique_ptr<regex::Program> program_;
    WideString spaceChars_, wordChars_, lineSeparators_;
    regex::CaseInvertHook caseInvert_ = nullptr;
    bool hasPair_ = false;
    WideChar pairHead_ = 0, pairTail_ = 0;

    bool compiling_ = false;
    int errorPosition_ = 0;

    bool hasInput_ = false;
    WideString input_;                    // the private copy SetInput keeps
    const WideString* subject_ = &input_; // the text searched: the copy or the caller's
    // The first U+0000 ends the input for matching: its index (or the length), -1 until
    // looked up; before that, no U+0000 lies before nulFreeUpTo_.
    int inputEnd_ = 0;
    int nulFreeUpTo_ = 0;
    bool budgetDue_ = false; // the last Exec's work budget starts with its first search
    int caps_[regex::kCaptureSlots];
    bool gaveUp_ = false;
    regex::Matcher matcher_;
};
