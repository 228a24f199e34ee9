#include "engine/CsvStep.h"

#include <charconv>
#include <optional>
#include <string>

#include "engine/RegExText.h"
#include "engine/TextHelpers.h"
#include "engine/TextLines.h"
#include "text/EightBitUtils.h"
#include "text/TextEncodings.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

// An integer as the class library reads one (decimal, "$" or "0x" hexadecimal, 32 bits),
// or a decimal number of up to 64 bits, so that results of the 64-bit arithmetic are read
// back as numbers.
std::optional<int64_t> integerValue(WideStringView text) {
    const std::string s = WideToUTF8(text);
    int32_t small = 0;
    if (TryValInt32(s, small)) return small;
    int64_t big = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, big);
    if (ec == std::errc() && end == last && first != last) return big;
    return std::nullopt;
}

WideString insertAt(WideStringView field, WideStringView insert, int64_t position) {
    if (position < 1) position = 1;
    size_t at = std::min<size_t>(static_cast<size_t>(position - 1), field.size());
    return WideString(field.substr(0, at)) + WideString(insert) + WideString(field.substr(at));
}

WideString plainReplace(WideStringView field, WideStringView search, WideStringView replacement,
                        bool ignoreCase) {
    if (ignoreCase)
        return WideStringReplace(field, search, replacement, false, rfReplaceAll | rfIgnoreCase);
    return ReplaceAllW(field, search, replacement);
}

WideString calcField(const WideString& field, WideStringView operation, int64_t value) {
    std::optional<int64_t> number = integerValue(field);
    if (!number) return field;
    return U16(std::to_string(CsvCalc(*number, operation, value)));
}

struct CsvContext {
    const SettingsView& s;
    const KonsFunction& K;
    bool replace, insert, writing, calc;
};

// The single-column edit of the CSV editing window.
void singleColumnEdit(const CsvContext& c, WideString& field) {
    const SettingsView& s = c.s;
    const WideString search = s.Text({"Tcsv_editing", "ed_suchen"});
    if (c.replace && !search.empty()) {
        const WideString replacement = s.Text({"Tcsv_editing", "ed_ersetzen"});
        if (s.Checked({"Tcsv_editing", "cb_suchen_regex"}) &&
            s.Checked({"Tcsv_editing", "cb_ersetzen_regex"}))
            field = RegExTemplated(field, search, replacement);
        else if (s.Checked({"Tcsv_editing", "cb_suchen_regex"}))
            field = RegExReplaced(field, search, c.K(replacement));
        else
            field = plainReplace(field, c.K(search), c.K(replacement),
                                 s.Checked({"Tcsv_editing", "cb_ersetzen_caseinsensitive"}));
    }
    const WideString insert = s.Text({"Tcsv_editing", "ed_insert"});
    if (c.insert && !insert.empty()) {
        if (s.Checked({"Tcsv_editing", "rb_insert_vorne"}))
            field = insert + field;
        else if (s.Checked({"Tcsv_editing", "rb_insert_hinten"}))
            field += insert;
        else if (s.Checked({"Tcsv_editing", "rb_insert_ifempty"})) {
            if (field.empty()) field = insert;
        } else if (s.Checked({"Tcsv_editing", "rb_insert_ifnotempty"})) {
            if (!field.empty()) field = insert;
        } else if (s.Checked({"Tcsv_editing", "rb_insert_position"})) {
            if (auto pos = integerValue(s.Text({"Tcsv_editing", "ed_insert_position"})))
                field = insertAt(field, insert, *pos);
        }
    }
    if (c.writing) {
        if (s.Checked({"Tcsv_editing", "rb_writing_trim"}))
            field = WideTrim(field);
        else if (s.Checked({"Tcsv_editing", "rb_writing_uppercase"}))
            field = WideUpperCase(field);
        else if (s.Checked({"Tcsv_editing", "rb_writing_lowercase"}))
            field = WideLowerCase(field);
    }
    if (c.calc) {
        if (auto value = integerValue(s.Text({"Tcsv_editing", "ed_calc_value"}))) {
            const char16_t* op = s.Checked({"Tcsv_editing", "rb_calc_plus"})    ? u"ADD"
                                 : s.Checked({"Tcsv_editing", "rb_calc_minus"}) ? u"SUBT"
                                 : s.Checked({"Tcsv_editing", "rb_calc_mal"})   ? u"MULT"
                                 : s.Checked({"Tcsv_editing", "rb_calc_div"})   ? u"DIV"
                                                                                : u"";
            field = calcField(field, op, *value);
        }
    }
}

// One row of the column-edit list.
void listEdit(const CsvContext& c, const ListRow& row, WideString& field) {
    const WideString keyword = row.SubItem(0);
    const WideString t1 = row.SubItem(1);
    const WideString t2 = row.SubItem(2);
    if (c.replace) {
        if (keyword == u"REPLACE")
            field = plainReplace(field, c.K(t1), c.K(t2), false);
        else if (keyword == u"REPLACE CI")
            field = plainReplace(field, c.K(t1), c.K(t2), true);
        else if (keyword == u"REPLACE REGEX")
            field = RegExTemplated(field, t1, t2);
        else if (keyword == u"REPLACE REGEX SR")
            field = RegExReplaced(field, t1, c.K(t2));
    }
    if (c.insert) {
        if (keyword == u"INSERT BEFORE")
            field = t1 + field;
        else if (keyword == u"INSERT AFTER")
            field += t1;
        else if (keyword == u"INSERT POSITION") {
            if (auto pos = integerValue(t2)) field = insertAt(field, t1, *pos);
        } else if (keyword == u"INSERT IF EMPTY") {
            if (field.empty()) field = t1;
        } else if (keyword == u"INSERT IF NOT EMPTY") {
            if (!field.empty()) field = t1;
        }
    }
    if (c.writing && keyword == u"WRITING") {
        if (t1 == u"TRIM")
            field = WideTrim(field);
        else if (t1 == u"UPPERCASE")
            field = WideUpperCase(field);
        else if (t1 == u"LOWERCASE")
            field = WideLowerCase(field);
    }
    if (c.calc && keyword == u"CALC") {
        std::optional<int64_t> value = integerValue(t2);
        if (!value) throw CsvCalcError("\"" + U8(t2) + "\" is not a valid integer value");
        field = calcField(field, t1, *value);
    }
}

// The 1-based column a text names, when it names one of count fields.
std::optional<size_t> column(WideStringView text, size_t count) {
    std::optional<int64_t> c = integerValue(text);
    if (!c || *c < 1 || static_cast<uint64_t>(*c) > count) return std::nullopt;
    return static_cast<size_t>(*c);
}

} // namespace

int64_t CsvCalc(int64_t field, WideStringView operation, int64_t value) {
    int64_t result = field;
    bool overflow = false;
    if (operation == u"ADD")
        overflow = __builtin_add_overflow(field, value, &result);
    else if (operation == u"SUBT")
        overflow = __builtin_sub_overflow(field, value, &result);
    else if (operation == u"MULT")
        overflow = __builtin_mul_overflow(field, value, &result);
    else if (operation == u"DIV") {
        if (value == 0) throw CsvCalcError("Division by zero");
        overflow = field == INT64_MIN && value == -1;
        if (!overflow) result = field / value;
    }
    if (overflow) throw CsvCalcError("Integer overflow");
    return result;
}

WideString CsvLineBreak(const SettingsView& s, WideStringView text) {
    LineBreakCode kind;
    if (s.Checked({"Tprog", "act_cbnewline"}) && s.Checked({"Tprog", "act_newline"}))
        kind = LineBreakFromName(s.Text({"Tprog", "act_newline_neu"}));
    else if (s.Checked({"Tprog", "act_rbnewline_auto"}))
        kind = DetectLineBreak(text);
    else
        kind = LineBreakFromName(s.Text({"Tprog", "act_newline_alt"}));
    WideString br = LineBreakString(kind);
    return br.empty() ? WideString(u"\r\n") : br;
}

WideString ApplyCsvStep(const SettingsView& s, WideStringView text, const KonsFunction& K) {
    const WideString separator = ReplaceAllW(s.Text({"Tprog", "act_csv_trenner"}), u"%tab%", u"\t");
    const WideString lineBreak = CsvLineBreak(s, text);
    WideString recordEnd =
        ReplaceAllW(s.Text({"Tprog", "act_csv_ende"}), u"%zeilenumbruch%", lineBreak);
    recordEnd = ReplaceAllW(recordEnd, u"%linebreak%", lineBreak);
    recordEnd = ReplaceAllW(recordEnd, u"%tab%", u"\t");
    if (separator.empty() || recordEnd.empty()) return WideString(text);

    const WideString quoteText = s.Text({"Tprog", "act_csv_feldbegrenzer"});
    // The quote character, when the setting is exactly one character.
    const bool quoted = quoteText.size() == 1;
    const WideChar quote = quoted ? quoteText[0] : u'\0';
    const bool quoteAll = s.Checked({"Tprog", "act_csv_feldbegrenzer_immer"});
    const bool quoteSome = s.Checked({"Tprog", "act_csv_feldbegrenzer_individuell"});
    const bool fillFromPrevious = s.Checked({"Tprog", "act_csv_verkdatensatz"});
    const bool singleEdit = !s.Checked({"Tcsv_editing", "csv_onlylist"});
    const bool reorder = s.Checked({"Tprog", "act_csv_order"});
    const WideString deleteColumns = s.Checked({"Tprog", "act_csv_delcolumns"})
                                         ? s.Text({"Tcsv_editing", "ed_delcolumns"})
                                         : WideString();
    const std::vector<ListRow> edits = s.Rows({"Tcsv_editing", "csv_liste"});
    const TWideStrArray order = reorder ? s.Items({"Tcsv_order", "liste"}) : TWideStrArray();
    const CsvContext c{s,
                       K,
                       s.Checked({"Tprog", "act_csv_replace"}),
                       s.Checked({"Tprog", "act_csv_insert"}),
                       s.Checked({"Tprog", "act_csv_writing"}),
                       s.Checked({"Tprog", "act_csv_calc"})};

    // A record end at the very end of the text closes the last record: no empty record
    // follows it (which would be filled, quoted or inserted into).
    TextLines split = SplitTextLines(text, recordEnd);
    TWideStrArray& records = split.lines;
    TWideStrArray previous;
    for (size_t r = 0; r < records.size(); ++r) {
        TWideStrArray fields;
        // Quotes protect separators only when the separator is one character.
        if (quoted && separator.size() == 1)
            ExplodeQuotedW(fields, records[r], separator[0], quote);
        else
            ExplodeW(fields, separator, records[r]);
        // Shortened records: empty fields take the previous record's fields as they were
        // read (after their own filling), not as this step rewrote them.
        if (fillFromPrevious && r > 0)
            for (size_t f = 0; f < fields.size() && f < previous.size(); ++f)
                if (fields[f].empty()) fields[f] = previous[f];
        previous = fields;

        if (singleEdit)
            if (auto col = column(s.Text({"Tcsv_editing", "cb_col"}), fields.size()))
                singleColumnEdit(c, fields[*col - 1]);
        for (const ListRow& row : edits)
            if (auto col = column(row.caption, fields.size())) listEdit(c, row, fields[*col - 1]);
        if (reorder) {
            TWideStrArray reordered;
            for (const WideString& item : order)
                if (auto col = column(item, fields.size())) reordered.push_back(fields[*col - 1]);
            fields = std::move(reordered);
        }
        if (quoted && (quoteAll || quoteSome))
            for (WideString& f : fields)
                if (quoteAll || Contains(f, separator)) f = quote + f + quote;
        records[r] = deleteColumns.empty() ? ImplodeW(fields, separator)
                                           : DeleteLinesByNumberW(fields, separator, deleteColumns);
    }
    return JoinTextLines(records, recordEnd, split.finalBreak);
}
