#include "engine/DeleteLines.h"

#include <algorithm>
#include <vector>

#include "engine/RegExText.h"
#include "engine/TextHelpers.h"
#include "engine/TextLines.h"
#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

// The 1-based numbers of a list such as "1-13,37", none above count.
std::vector<int32_t> numberList(WideStringView list, size_t count) {
    TStrArray numbers;
    const int32_t bound = static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
    ParseNumberListA(WideToUTF8(list), numbers, bound);
    std::vector<int32_t> result;
    for (const AnsiString& n : numbers) {
        int32_t v = 0;
        if (TryValInt32(n, v) && v >= 1 && static_cast<size_t>(v) <= count) result.push_back(v);
    }
    return result;
}

void removeWhere(TWideStrArray& lines, const std::vector<bool>& remove) {
    TWideStrArray kept;
    for (size_t i = 0; i < lines.size(); ++i)
        if (!remove[i]) kept.push_back(std::move(lines[i]));
    lines = std::move(kept);
}

template <typename Pred> void removeIf(TWideStrArray& lines, Pred pred) {
    lines.erase(std::remove_if(lines.begin(), lines.end(), pred), lines.end());
}

bool blankAfterTabsRemoved(const WideString& line) {
    return WideTrim(ReplaceAllW(line, u"\t", u"")).empty();
}

} // namespace

bool DeleteLinesRequested(const SettingsView& s) {
    for (TextKey edit : std::initializer_list<TextKey>{{"Tprog", "act_del_zeile_suchen"},
                                                       {"Tprog", "act_del_zeile_ende"},
                                                       {"Tprog", "act_del_zeile_text"},
                                                       {"Tprog", "act_del_zeile_from"},
                                                       {"Tprog", "act_del_zeile_char_less"},
                                                       {"Tprog", "act_del_zeile_char_more"}})
        if (!s.Text(edit).empty()) return true;
    return s.Checked({"Tprog", "act_del_zeile_leere"}) ||
           s.Checked({"Tprog", "act_del_zeile_whitespace"}) ||
           s.Checked({"Tprog", "act_del_zeile_doppelte"});
}

WideString ApplyDeleteLines(const SettingsView& s, WideStringView text, WideStringView lineBreak,
                            const KonsFunction& K) {
    if (!DeleteLinesRequested(s)) return WideString(text);
    // A final line break ends the last line: "1" from the end is that line, not an empty one.
    TextLines t = SplitTextLines(text, lineBreak);
    TWideStrArray& lines = t.lines;

    const WideString fromEnd = s.Text({"Tprog", "act_del_zeile_ende"});
    if (!fromEnd.empty()) {
        std::vector<bool> remove(lines.size(), false);
        for (int32_t n : numberList(fromEnd, lines.size()))
            remove[lines.size() - n] = true;
        removeWhere(lines, remove);
    }
    int32_t n = 0;
    if (TrySettingInteger(s, {"Tprog", "act_del_zeile_from"}, n) && n > 0 &&
        lines.size() > static_cast<size_t>(n))
        lines.resize(n);
    const WideString numbers = s.Text({"Tprog", "act_del_zeile_suchen"});
    if (!numbers.empty()) {
        std::vector<bool> remove(lines.size(), false);
        for (int32_t k : numberList(numbers, lines.size()))
            remove[k - 1] = true;
        removeWhere(lines, remove);
    }
    if (TrySettingInteger(s, {"Tprog", "act_del_zeile_char_more"}, n))
        removeIf(lines, [n](const WideString& l) { return static_cast<int64_t>(l.size()) > n; });
    if (TrySettingInteger(s, {"Tprog", "act_del_zeile_char_less"}, n))
        removeIf(lines, [n](const WideString& l) { return static_cast<int64_t>(l.size()) < n; });

    const WideString memo = s.Text({"Tprog", "act_del_zeile_text"});
    if (!memo.empty()) {
        TWideStrArray patterns;
        if (s.Checked({"Tprog", "act_del_zeile_trenner"}))
            ExplodeW(patterns, u"\r\n", memo);
        else
            patterns.push_back(memo);
        const bool regex = s.Checked({"Tprog", "act_del_zeile_text_regex"});
        const bool atStart = s.Checked({"Tprog", "act_del_zeile_text_anfang"});
        const bool caseSensitive = s.Checked({"Tprog", "act_del_zeile_text_grkl"});
        for (WideString& p : patterns) {
            p = K(p);
            // An expression is matched case-insensitively through its modifier; upper-casing
            // it would change its escapes (\d into \D).
            if (!caseSensitive) p = regex ? (p.empty() ? p : u"(?i)" + p) : WideUpperCase(p);
        }
        // An expression that does not compile takes no part, as a bad expression leaves
        // every other action without effect; with none left the test is not made (keeping
        // the matching lines would otherwise delete them all).
        std::vector<LineRegEx> expressions;
        if (regex) {
            std::erase_if(patterns, [](const WideString& p) { return !RegExCompiles(p); });
            for (const WideString& p : patterns)
                expressions.emplace_back(p);
        }
        auto matches = [&](const WideString& line) {
            if (regex)
                return std::any_of(expressions.begin(), expressions.end(),
                                   [&](LineRegEx& e) { return e.Matches(line); });
            const WideString subject = caseSensitive ? line : WideUpperCase(line);
            for (const WideString& p : patterns) {
                if (p.empty()) continue; // an empty pattern is found nowhere
                if (atStart ? subject.starts_with(p) : Contains(subject, p)) return true;
            }
            return false;
        };
        const bool keepBlank = s.Checked({"Tprog", "act_del_zeile_text_leer"});
        const bool keepMatching = s.Checked({"Tprog", "act_del_zeile_text_keep"});
        if (!patterns.empty())
            removeIf(lines, [&](const WideString& line) {
                if (keepBlank && blankAfterTabsRemoved(line)) return false;
                return matches(line) != keepMatching;
            });
    }
    if (s.Checked({"Tprog", "act_del_zeile_whitespace"}))
        removeIf(lines, [](const WideString& l) { return !l.empty() && blankAfterTabsRemoved(l); });
    if (s.Checked({"Tprog", "act_del_zeile_leere"}))
        removeIf(lines, [](const WideString& l) { return l.empty(); });
    if (s.Checked({"Tprog", "act_del_zeile_doppelte"})) lines = ArrayUniqueW(lines);
    return JoinTextLines(lines, lineBreak, t.finalBreak);
}
