#include "regex/RegExRoutines.h"

#include "regex/RegExpr.h"

namespace {

// Replaces every match of `expression` in `text` by what `replace` makes of it.
template <typename Replace>
WideString ReplaceMatches(const WideString& text, const WideString& expression, Replace replace) {
    RegExFehlerStatus.Ok = true;
    TRegExpr re;
    re.SetExpression(expression);
    WideString out;
    size_t position = 0;
    if (re.Exec(text)) {
        do {
            const size_t start = re.GetMatchPos(0) - 1;
            out.append(text, position, start - position);
            out += replace(re);
            position = start + re.GetMatchLen(0);
        } while (re.ExecNext());
    }
    // Work beyond the budget of one call changes nothing (the error is recorded).
    if (re.GaveUp()) return text;
    out.append(text, position, WideString::npos);
    return out;
}

} // namespace

void ReplaceAllRegEx(const WideString& text, const WideString& replacement,
                     const WideString& expression, WideString& result) {
    if (expression == u"[") {
        result = text;
        return;
    }
    result = ReplaceMatches(text, expression, [&](TRegExpr&) { return replacement; });
}

void ReplaceRegExTemplate(const WideString& text, const WideString& expression,
                          const WideString& templ, WideString& result) {
    if (!expression.empty() && expression.back() == u'[') {
        result = text;
        return;
    }
    result = ReplaceMatches(text, expression, [&](TRegExpr& re) { return re.Substitute(templ); });
}

int SplitRegEx(TWideStrArray& pieces, const WideString& expression, const WideString& text,
               bool keepAtEnd, bool keepAtNext) {
    pieces.clear();
    TRegExpr re;
    re.SetExpression(expression);
    size_t start = 0;
    if (re.Exec(text)) {
        do {
            const size_t matchStart = re.GetMatchPos(0) - 1;
            const size_t matchEnd = matchStart + re.GetMatchLen(0);
            const size_t pieceEnd = keepAtEnd ? matchEnd : matchStart;
            pieces.push_back(text.substr(start, pieceEnd - start));
            start = keepAtNext ? matchStart : matchEnd;
        } while (re.ExecNext());
    }
    pieces.push_back(text.substr(start));
    // Work beyond the budget of one call leaves the text whole (the error is recorded).
    if (re.GaveUp()) pieces.assign(1, text);
    return static_cast<int>(pieces.size());
}
