#include "regex/RegExRoutines.h"

#include "regex/RegExpr.h"

#include <cstdint>
#include <cstring>
#include <deque>

namespace {

// A match and the length of the text that replaces it.
struct Match {
    int32_t start, length, replacementLength;
};

// Replaces every match of `expression` in `text`, into `result` (which may be `text`): by
// the template's substitution when `templ` is given, else by `replacement` as it stands.
// The matches (and substituted texts) are collected first, so the result is sized once
// and filled in one pass; in `text` itself when it is the result and the result never
// runs ahead of the text it is made from.
void ReplaceMatches(const WideString& text, const WideString& expression,
                    const WideString& replacement, const WideString* templ, WideString& result) {
    RegExFehlerStatus.Ok = true;
    TRegExpr re;
    re.SetExpression(expression);
    // In blocks: a long list of matches grows without ever being copied to a larger
    // array, so it never stands twice in memory beside the text.
    std::deque<Match> matches;
    WideString substituted; // the template's substitutions, one after another
    size_t size = text.size();
    bool ahead = false; // a replacement so far ends beyond the end of its match
    if (re.ExecShared(text)) {
        do {
            Match m{re.GetMatchPos(0) - 1, re.GetMatchLen(0),
                    static_cast<int32_t>(replacement.size())};
            if (templ) {
                const size_t before = substituted.size();
                re.AppendSubstitution(*templ, substituted);
                m.replacementLength = static_cast<int32_t>(substituted.size() - before);
            }
            size = size - m.length + m.replacementLength;
            ahead = ahead || size > text.size();
            matches.push_back(m);
        } while (re.ExecNext());
    }
    // Work beyond the budget of one call changes nothing (the error is recorded).
    if (re.GaveUp()) {
        if (&result != &text) result = text;
        return;
    }
    const WideChar* with = templ ? substituted.data() : replacement.data();
    if (&result == &text && !ahead) {
        WideChar* units = result.data();
        size_t position = 0, written = 0;
        for (const Match& m : matches) {
            if (written != position)
                std::memmove(units + written, units + position, (m.start - position) * 2);
            written += m.start - position;
            std::memcpy(units + written, with, m.replacementLength * 2);
            written += m.replacementLength;
            if (templ) with += m.replacementLength;
            position = m.start + m.length;
        }
        if (written != position)
            std::memmove(units + written, units + position, (text.size() - position) * 2);
        result.resize(size);
        return;
    }
    WideString out;
    out.reserve(size);
    size_t position = 0;
    for (const Match& m : matches) {
        out.append(text, position, m.start - position).append(with, m.replacementLength);
        if (templ) with += m.replacementLength;
        position = m.start + m.length;
    }
    out.append(text, position, WideString::npos);
    result = std::move(out);
}

} // namespace

void ReplaceAllRegEx(const WideString& text, const WideString& replacement,
                     const WideString& expression, WideString& result) {
    if (expression == u"[") {
        result = text;
        return;
    }
    ReplaceMatches(text, expression, replacement, nullptr, result);
}

void ReplaceRegExTemplate(const WideString& text, const WideString& expression,
                          const WideString& templ, WideString& result) {
    if (!expression.empty() && expression.back() == u'[') {
        result = text;
        return;
    }
    ReplaceMatches(text, expression, WideString(), &templ, result);
}

int SplitRegEx(TWideStrArray& pieces, const WideString& expression, const WideString& text,
               bool keepAtEnd, bool keepAtNext) {
    pieces.clear();
    TRegExpr re;
    re.SetExpression(expression);
    size_t start = 0;
    if (re.ExecShared(text)) {
        do {
            const size_t matchStart = re.GetMatchPos(0) - 1;
            const size_t matchEnd = matchStart + re.GetMatchLen(0);
            const size_t pieceEnd = keepAtEnd ? matchEnd : matchStart;
            pieces.emplace_back(text, start, pieceEnd - start);
            start = keepAtNext ? matchStart : matchEnd;
        } while (re.ExecNext());
    }
    pieces.emplace_back(text, start);
    // Work beyond the budget of one call leaves the text whole (the error is recorded).
    if (re.GaveUp()) pieces.assign(1, text);
    return static_cast<int>(pieces.size());
}
