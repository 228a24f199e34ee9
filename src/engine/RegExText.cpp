#include "engine/RegExText.h"

#include "engine/RunInterface.h"
#include "regex/RegExErrors.h"
#include "regex/RegExRoutines.h"
#include "regex/RegExpr.h"

namespace {

thread_local RunInterface* reportTo = nullptr;

// After a replace routine: its fault, when it met one, goes to the conversion's window.
void reportFault() {
    if (!RegExFehlerStatus.Ok && reportTo) reportTo->RegExError(RegExFehlerStatus.Message);
}

} // namespace

RegExErrorReport::RegExErrorReport(RunInterface& ui) : previous_(reportTo) {
    reportTo = &ui;
}

RegExErrorReport::~RegExErrorReport() {
    reportTo = previous_;
}

WideString RegExReplaced(WideString text, const WideString& expression,
                         const WideString& replacement) {
    ReplaceAllRegEx(text, replacement, expression, text);
    reportFault();
    return text;
}

WideString RegExTemplated(const WideString& text, const WideString& expression,
                          const WideString& templ) {
    WideString result;
    ReplaceRegExTemplate(text, expression, templ, result);
    reportFault();
    return result;
}

bool LineMatchesRegEx(const WideString& line, const WideString& expression) {
    return RegExReplaced(line, expression, u"") != line;
}

LineRegEx::LineRegEx(const WideString& expression) : expression_(expression) {
    // "[" alone is left alone by the replace routine, without a report.
    if (expression == u"[" || !RegExCompiles(expression)) return;
    re_ = std::make_unique<TRegExpr>();
    re_->SetExpression(expression);
}

LineRegEx::~LineRegEx() = default;
LineRegEx::LineRegEx(LineRegEx&&) noexcept = default;
LineRegEx& LineRegEx::operator=(LineRegEx&&) noexcept = default;

bool LineRegEx::Matches(const WideString& line) {
    if (!re_) return false;
    // Removing the matches changes the line exactly when one of them is not empty.
    RegExFehlerStatus.Ok = true;
    if (re_->ExecShared(line)) {
        do {
            if (re_->GetMatchLen(0) > 0) return true;
        } while (re_->ExecNext());
    }
    // A search that failed on this line is left to the replace routine, which reports it
    // as before and gives the same answer.
    if (!RegExFehlerStatus.Ok) return LineMatchesRegEx(line, expression_);
    return false;
}

bool RegExCompiles(const WideString& expression) {
    TRegExpr re;
    re.SetExpression(expression);
    if (re.Compile()) return true;
    // Reported through the replace routine, so that the window hears of it like of a bad
    // expression of any other action.
    RegExReplaced(WideString(), expression, WideString());
    return false;
}
