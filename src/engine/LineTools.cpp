#include "engine/LineTools.h"

#include <algorithm>
#include <deque>
#include <map>
#include <string>

#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

constexpr WideChar kRotationMark = 0x001F;

TWideStrArray splitLines(WideStringView text, WideStringView lineBreak) {
    TWideStrArray lines;
    ExplodeW(lines, lineBreak, text);
    return lines;
}

bool endsSentence(WideStringView line) {
    return !line.empty() && (line.back() == u'!' || line.back() == u'"' || line.back() == u'.' ||
                             line.back() == u'?');
}

// 1-based position of the first blank, 0 when there is none.
size_t firstBlank(WideStringView line) {
    size_t p = line.find(u' ');
    return p == WideStringView::npos ? 0 : p + 1;
}

WideString rotate(WideStringView line, size_t at) {
    return WideString(line.substr(at)) + kRotationMark + WideString(line.substr(0, at));
}

} // namespace

TWideStrArray ReflowLines(const TWideStrArray& lines, int32_t range, bool intelligent,
                          bool joinWithBlank, WideStringView lineBreak) {
    if (lines.empty()) return lines;
    int64_t longest = 0;
    for (const WideString& l : lines)
        longest = std::max<int64_t>(longest, l.size());
    const int64_t limit = longest - range;
    WideString result = lines[0];
    for (size_t k = 1; k < lines.size(); ++k) {
        const WideString& prev = lines[k - 1];
        const WideString& line = lines[k];
        bool join = static_cast<int64_t>(prev.size()) >= limit;
        if (join && intelligent) {
            if (line.empty())
                join = false;
            else if (prev.size() > 1 && line.size() > 1 && endsSentence(prev))
                join = static_cast<int64_t>(firstBlank(line)) >=
                       longest - static_cast<int64_t>(prev.size());
        }
        result += join ? (joinWithBlank ? WideString(u" ") : WideString()) : WideString(lineBreak);
        result += line;
    }
    return splitLines(result, lineBreak);
}

void SortLines(TWideStrArray& lines, bool ascending, WideStringView from) {
    // Each line sorts by its key: the line itself, or the line rotated at the position or
    // text, its part from there first.
    TWideStrArray keys = lines;
    if (!from.empty()) {
        int32_t n = 0;
        if (TryValInt32(WideToUTF8(from), n) && n > 0) {
            for (WideString& k : keys)
                if (k.size() > static_cast<size_t>(n)) k = rotate(k, n - 1);
        } else {
            for (WideString& k : keys) {
                size_t p = k.find(from);
                if (p != WideString::npos) k = rotate(k, p);
            }
        }
    }
    // The sorted keys are mapped back to the lines they came from (equal keys keep their
    // order), so that a line holding U+001F of its own comes out whole.
    std::map<WideString, std::deque<size_t>> byKey;
    for (size_t i = 0; i < keys.size(); ++i)
        byKey[keys[i]].push_back(i);
    SortStrArrayW(keys, ascending);
    TWideStrArray sorted;
    sorted.reserve(lines.size());
    for (const WideString& k : keys) {
        std::deque<size_t>& origins = byKey[k];
        sorted.push_back(std::move(lines[origins.front()]));
        origins.pop_front();
    }
    lines = std::move(sorted);
}

void WrapLines(TWideStrArray& lines, int32_t width, WideStringView lineBreak) {
    static const TCharSet breakChars = CharSetOf(u"\t ,-.;");
    for (WideString& l : lines) {
        if (l.size() <= static_cast<size_t>(width)) continue;
        // The wrapped parts are joined with the text's own line break, not always CR LF.
        TWideStrArray parts = splitLines(WordWrapW(WideTrim(l), breakChars, width), u"\r\n");
        l = ImplodeW(parts, lineBreak);
    }
}

void NumberLines(TWideStrArray& lines, int32_t start, bool onlyEveryFifth) {
    const int64_t first = start;
    const size_t width = std::to_string(static_cast<int64_t>(lines.size()) + first).size();
    for (size_t k = 0; k < lines.size(); ++k) {
        const int64_t number = first + static_cast<int64_t>(k);
        WideString prefix;
        if (onlyEveryFifth && number % 5 != 0) {
            // The number and its blank are left out; blanks keep the columns aligned.
            prefix.assign(width + 1, u' ');
        } else {
            prefix = PadLeftW(U16(std::to_string(number)), u' ', static_cast<int>(width)) + u" ";
        }
        lines[k] = prefix + lines[k];
    }
}

WideString ApplyLineTools(const SettingsView& s, WideStringView text, WideStringView lineBreak) {
    // A text's final line break ends its last line: no empty line is sorted to the top,
    // numbered or joined, and the break stays at the end.
    TextLines t = SplitTextLines(text, lineBreak);
    if (t.lines.empty()) return WideString(text);
    TWideStrArray& lines = t.lines;
    if (s.Checked({"Tprog", "act_zeilen_umbruchweg"}))
        lines = ReflowLines(lines, SettingInteger(s, {"Tprog", "act_zeilen_umbruchweg_range"}, 12),
                            s.Checked({"Tprog", "act_zeilen_umbruchweg_intelligent"}),
                            s.Checked({"Tprog", "act_zeilen_umbruchweg_leerzeichen"}), lineBreak);
    if (s.Checked({"Tprog", "act_zeilen_sort"})) {
        WideString from;
        if (s.Checked({"Tprog", "act_zeilen_sort_abcb"}))
            from = s.Text({"Tprog", "act_zeilen_sort_abed"});
        SortLines(lines, s.Text({"Tprog", "act_zeilen_sortierung"}) != u"cba", from);
    }
    const bool wrap = s.Checked({"Tprog", "act_zeilen_laenge"});
    if (wrap) {
        int32_t width = SettingInteger(s, {"Tprog", "act_zeilen_laengemax"}, 50);
        WrapLines(lines, width >= 1 ? width : 50, lineBreak);
    }
    if (s.Checked({"Tprog", "act_zeilen_trimleft"}))
        for (WideString& l : lines)
            l = WideTrimLeft(l);
    if (s.Checked({"Tprog", "act_zeilen_trimright"}))
        for (WideString& l : lines)
            l = WideTrimRight(l);
    if (s.Checked({"Tprog", "act_zeilen_nummern"})) {
        if (wrap) lines = splitLines(ImplodeW(lines, lineBreak), lineBreak);
        NumberLines(lines, SettingInteger(s, {"Tprog", "act_zeilen_nummern_beginn"}, 1),
                    s.Checked({"Tprog", "act_zeilen_nummern5"}));
    }
    return JoinTextLines(lines, lineBreak, t.finalBreak);
}
