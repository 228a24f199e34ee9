#include "engine/TextSteps.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/RegExText.h"
#include "engine/TextHelpers.h"
#include "engine/TextLines.h"
#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

bool isInteger(WideStringView text, int32_t& value) {
    return TryValInt32(WideToUTF8(text), value);
}

// Plain replacement of every occurrence, case-sensitive or ignoring case.
void replacePlain(WideString& text, WideStringView search, WideStringView replacement,
                  bool caseSensitive) {
    if (caseSensitive)
        ReplaceAllInPlaceW(text, search, replacement);
    else
        text = WideStringReplace(text, search, replacement, false, rfReplaceAll | rfIgnoreCase);
}

// ---- Replace lines ----

enum class LineSelector { Numbers, Text, RegEx };

// The 1-based line numbers of a selector such as "3; 5, x, 0": blanks removed, ";" read as
// ",", items that are no integer or below 1 dropped (ranges are not read here).
std::vector<int32_t> lineNumbers(WideStringView selector) {
    WideString list = ReplaceAllW(ReplaceAllW(selector, u" ", u""), u";", u",");
    TWideStrArray items;
    ExplodeW(items, u",", list);
    std::vector<int32_t> numbers;
    for (const WideString& item : items) {
        int32_t n = 0;
        if (isInteger(item, n) && n >= 1) numbers.push_back(n);
    }
    return numbers;
}

void replaceLines(TWideStrArray& lines, LineSelector kind, const WideString& selector,
                  const WideString& newLine) {
    switch (kind) {
    case LineSelector::Numbers:
        for (int32_t n : lineNumbers(selector))
            if (static_cast<size_t>(n) <= lines.size()) lines[n - 1] = newLine;
        break;
    case LineSelector::Text:
        for (WideString& line : lines)
            if (Contains(line, selector)) line = newLine;
        break;
    case LineSelector::RegEx: {
        LineRegEx expression(selector);
        for (WideString& line : lines)
            if (expression.Matches(line)) line = newLine;
        break;
    }
    }
}

// ---- Insert ----

enum class InsertPlace { Before, After, Position };
enum class InsertLines { File, EveryLine, LineNumber, Containing };

struct InsertOrder {
    InsertPlace place = InsertPlace::Before;
    int32_t position = 1; // 1-based, InsertPlace::Position only
    InsertLines lines = InsertLines::File;
    int32_t lineNumber = 0; // InsertLines::LineNumber only
    WideString text;        // InsertLines::Containing only
    bool caseSensitive = false;
};

void insertInto(WideString& line, const WideString& insert, const InsertOrder& order) {
    switch (order.place) {
    case InsertPlace::Before:
        line.insert(0, insert);
        break;
    case InsertPlace::After:
        line += insert;
        break;
    case InsertPlace::Position: {
        const size_t at = order.position < 1 ? 0 : static_cast<size_t>(order.position) - 1;
        line.insert(std::min(at, line.size()), insert);
        break;
    }
    }
}

void insertLines(TWideStrArray& lines, const WideString& insert, const InsertOrder& order) {
    if (lines.empty() || insert.empty()) return;
    switch (order.lines) {
    case InsertLines::File:
        insertInto(order.place == InsertPlace::After ? lines.back() : lines.front(), insert, order);
        break;
    case InsertLines::EveryLine:
        for (WideString& line : lines)
            insertInto(line, insert, order);
        break;
    case InsertLines::LineNumber:
        if (order.lineNumber >= 1 && static_cast<size_t>(order.lineNumber) <= lines.size())
            insertInto(lines[order.lineNumber - 1], insert, order);
        break;
    case InsertLines::Containing: {
        if (order.text.empty()) break;
        const WideString upper = WideUpperCase(order.text);
        for (WideString& line : lines) {
            const bool match = order.caseSensitive ? Contains(line, order.text)
                                                   : Contains(WideUpperCase(line), upper);
            if (match) insertInto(line, insert, order);
        }
        break;
    }
    }
}

// The place and lines of an insert list row: caption "BEG", "END" or "POS" + position,
// then the words "ZEILE"/"LINE", "DATEI"/"FILE" or "TEXT" (+ "E" for case-sensitive);
// target is the row's line number or text. False for a caption that names no place.
bool readInsertRow(const ListRow& row, InsertOrder& order) {
    TWideStrArray words;
    ExplodeW(words, u" ", row.caption);
    const WideString& place = words[0];
    if (place == u"BEG") {
        order.place = InsertPlace::Before;
    } else if (place == u"END") {
        order.place = InsertPlace::After;
    } else if (place.starts_with(u"POS") && isInteger(place.substr(3), order.position)) {
        order.place = InsertPlace::Position;
    } else {
        return false;
    }
    const WideString target = row.SubItem(0);
    for (size_t k = 1; k < words.size(); ++k) {
        const WideString& word = words[k];
        if (word == u"TEXT") {
            order.lines = InsertLines::Containing;
            order.text = target;
        } else if (word == u"E") {
            order.caseSensitive = true;
        } else if (word == u"DATEI" || word == u"FILE") {
            order.lines = InsertLines::File;
        } else if (word == u"ZEILE" || word == u"LINE") {
            if (target.empty()) {
                order.lines = InsertLines::EveryLine;
            } else {
                order.lines = InsertLines::LineNumber;
                if (!isInteger(WideTrim(target), order.lineNumber)) return false;
            }
        }
    }
    return true;
}

// The insertion of the panel's own controls. False when its place or line number is no
// integer.
bool readInsertPanel(const SettingsView& s, InsertOrder& order) {
    if (s.Checked({"Tprog", "act_anfuegen_hinten"})) {
        order.place = InsertPlace::After;
    } else if (s.Checked({"Tprog", "act_anfuegen_pos_rb"})) {
        order.place = InsertPlace::Position;
        if (!isInteger(WideTrim(s.Text({"Tprog", "act_anfuegen_pos"})), order.position))
            return false;
    } else {
        order.place = InsertPlace::Before;
    }
    if (s.Checked({"Tprog", "act_anfuegen_jedezeile"})) {
        order.lines = InsertLines::EveryLine;
    } else if (s.Checked({"Tprog", "act_anfuegen_zeile_rb"})) {
        order.lines = InsertLines::LineNumber;
        if (!isInteger(s.Text({"Tprog", "act_anfuegen_zeile"}), order.lineNumber)) return false;
    } else if (s.Checked({"Tprog", "act_anfuegen_zeile_txt_rb"})) {
        order.lines = InsertLines::Containing;
        order.text = s.Text({"Tprog", "act_anfuegen_zeile_txt"});
        order.caseSensitive = s.Checked({"Tprog", "act_anfuegen_zeile_txt_gk"});
    } else {
        order.lines = InsertLines::File;
    }
    return true;
}

} // namespace

// ---- Replace text ----

WideString ReplaceTextStep(const SettingsView& s, WideString text, const KonsFunction& K) {
    const bool caseSensitive = s.Checked({"Tprog", "act_ers_casesensitive"});
    const WideString search = s.Text({"Tprog", "act_ers_text_suchen"});
    if (!search.empty()) {
        const WideString replacement = s.Text({"Tprog", "act_ers_text_ersetzen"});
        if (!s.Checked({"Tprog", "act_ers_text_suchen_regex"}))
            replacePlain(text, K(search), K(replacement), caseSensitive);
        else if (!s.Checked({"Tprog", "act_ers_text_ersetzen_regex"}))
            text = RegExReplaced(std::move(text), search, K(replacement));
        else
            text = RegExTemplated(text, search, replacement);
    }
    for (const ListRow& row : s.Rows({"Tprog", "act_ers_text_liste"})) {
        const WideString mark = row.SubItem(1);
        const WideString replacement = row.SubItem(0);
        if (Contains(mark, u"x")) {
            if (Contains(mark, u"/"))
                text = RegExReplaced(std::move(text), row.caption, K(replacement));
            else
                text = RegExTemplated(text, row.caption, replacement);
        } else {
            replacePlain(text, K(row.caption), K(replacement), caseSensitive);
        }
    }
    return text;
}

// ---- Replace lines ----

WideString ReplaceLinesStep(const SettingsView& s, WideStringView text, WideStringView lineBreak,
                            const KonsFunction& K) {
    TextLines t = SplitTextLines(text, lineBreak);
    TWideStrArray& lines = t.lines;
    const WideString selector = s.Text({"Tprog", "act_ers_zeile_suchen"});
    if (!selector.empty()) {
        LineSelector kind = LineSelector::Numbers;
        if (s.Checked({"Tprog", "act_ers_zeile_rb_text"}))
            kind = LineSelector::Text;
        else if (s.Checked({"Tprog", "act_ers_zeile_rb_regex"}))
            kind = LineSelector::RegEx;
        replaceLines(lines, kind, selector, K(s.Text({"Tprog", "act_ers_zeile_erstxt"})));
    }
    for (const ListRow& row : s.Rows({"Tprog", "act_ers_zeile_liste"})) {
        LineSelector kind = LineSelector::Numbers;
        if (row.caption == u"Text")
            kind = LineSelector::Text;
        else if (row.caption == u"RegEx")
            kind = LineSelector::RegEx;
        replaceLines(lines, kind, row.SubItem(0), K(row.SubItem(1)));
    }
    return JoinTextLines(lines, lineBreak, t.finalBreak);
}

// ---- Insert ----

WideString InsertStep(const SettingsView& s, WideStringView text, WideStringView lineBreak,
                      const KonsFunction& K) {
    TextLines t = SplitTextLines(text, lineBreak);
    TWideStrArray& lines = t.lines;
    const WideString insert = s.Text({"Tprog", "act_anfuegen_text"});
    InsertOrder panel;
    if (!insert.empty() && readInsertPanel(s, panel)) insertLines(lines, K(insert), panel);
    for (const ListRow& row : s.Rows({"Tprog", "act_anfuegen_liste"})) {
        InsertOrder order;
        if (readInsertRow(row, order)) insertLines(lines, K(row.SubItem(1)), order);
    }
    return JoinTextLines(lines, lineBreak, t.finalBreak);
}

// ---- Delete text ----

WideString DeleteTextStep(const SettingsView& s, WideString text, const KonsFunction& K) {
    const bool caseSensitive = s.Checked({"Tprog", "act_del_casesensitive"});
    const WideString search = s.Text({"Tprog", "act_del_text_suchen"});
    if (!search.empty()) {
        if (s.Checked({"Tprog", "act_del_regex"}))
            text = RegExReplaced(std::move(text), search, u"");
        else
            replacePlain(text, K(search), u"", caseSensitive);
    }
    for (const ListRow& row : s.Rows({"Tprog", "act_del_text_liste"})) {
        if (row.SubItem(0) == u"x")
            text = RegExReplaced(std::move(text), row.caption, u"");
        else
            replacePlain(text, K(row.caption), u"", caseSensitive);
    }
    return text;
}

// ---- Letter case ----

WideString LetterCaseStep(const SettingsView& s, WideString text, WideStringView lineBreak) {
    if (s.Checked({"Tprog", "act_sons_uppercase"}))
        text = WideUpperCase(text);
    else if (s.Checked({"Tprog", "act_sons_lowercase"}))
        text = WideLowerCase(text);
    else if (s.Checked({"Tprog", "act_sons_uppercasebegin"}))
        text = TitleCaseW(text);
    else if (s.Checked({"Tprog", "act_sons_mixedcase"}))
        text = RandomCaseW(text);
    if (s.Checked({"Tprog", "act_sons_ucline"})) {
        TextLines t = SplitTextLines(text, lineBreak);
        for (WideString& line : t.lines)
            if (!line.empty()) line[0] = WideUpperChar(line[0]);
        text = JoinTextLines(t.lines, lineBreak, t.finalBreak);
    }
    return text;
}
