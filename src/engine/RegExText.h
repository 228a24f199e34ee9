// The regular-expression routines as the engine's steps use them: results as values.
#pragma once

#include <memory>

#include "text/WideTypes.h"

class RunInterface;
class TRegExpr;

// For as long as it lives, every faulty expression that the routines below meet on this
// thread is reported to ui (RunInterface::RegExError), the innermost report winning. A
// conversion holds one, so that the window hears of the faults of its own conversion only.
class RegExErrorReport {
public:
    explicit RegExErrorReport(RunInterface& ui);
    ~RegExErrorReport();
    RegExErrorReport(const RegExErrorReport&) = delete;
    RegExErrorReport& operator=(const RegExErrorReport&) = delete;

private:
    RunInterface* previous_;
};

// Every match of expression replaced by the fixed text replacement; a text handed over
// (moved) is rewritten where it lies when the replacement is not longer than the matches.
WideString RegExReplaced(WideString text, const WideString& expression,
                         const WideString& replacement);
// Every match of expression replaced through the "$n" template.
WideString RegExTemplated(const WideString& text, const WideString& expression,
                          const WideString& templ);
// A line matches an expression when removing every match changes it.
bool LineMatchesRegEx(const WideString& line, const WideString& expression);

// One expression compiled once for the many lines of a step; Matches(line) says what
// LineMatchesRegEx(line, expression) says. A bad expression is reported once, when made.
class LineRegEx {
public:
    explicit LineRegEx(const WideString& expression);
    ~LineRegEx();
    LineRegEx(LineRegEx&&) noexcept;
    LineRegEx& operator=(LineRegEx&&) noexcept;
    bool Matches(const WideString& line);

private:
    WideString expression_;
    std::unique_ptr<TRegExpr> re_; // none when the expression matches nothing
};
// True when expression compiles (an empty one does not); a bad expression is reported as
// the replace routines report it.
bool RegExCompiles(const WideString& expression);
