#include "engine/SettingsView.h"

#include <algorithm>
#include <utility>

#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"

namespace {

using K = ControlKind;
constexpr K Check = K::CheckBox;
constexpr K Radio = K::RadioButton;
constexpr K Edit = K::Edit;
constexpr K Memo = K::Memo;
constexpr K Combo = K::ComboBox;
constexpr K List = K::ListView;
constexpr K Box = K::ListBox;

// Every control of the working window, the output settings window and the two CSV windows
// that the conversion engine reads, with its value at creation.
constexpr SettingControl kControls[] = {
    // Input list.
    {"Tprog", "qulist", List, "", ""},
    // Output options.
    {"Tprog", "out_overwrite", Radio, "0", "out_mode"},
    {"Tprog", "out_newimage", Radio, "1", "out_mode"},
    {"Tprog", "out_ordner", Combo, "<beibehalten>", ""},
    {"Tprog", "out_name", Combo, "%name%-1", ""},
    {"Tprog", "out_format", Combo, "<beibehalten>", ""},
    {"Tprog", "out_deleteoriginal", Check, "0", ""},
    {"Tprog", "out_onlyselected", Check, "0", ""},
    {"Tprog", "out_onlyifchanged", Check, "1", ""},
    // Replace text.
    {"Tprog", "act_ers_text", Check, "0", ""},
    {"Tprog", "act_ers_text_suchen", Memo, "", ""},
    {"Tprog", "act_ers_text_ersetzen", Memo, "", ""},
    {"Tprog", "act_ers_casesensitive", Check, "1", ""},
    {"Tprog", "act_ers_text_liste", List, "", ""},
    {"Tprog", "act_ers_text_suchen_regex", Check, "0", ""},
    {"Tprog", "act_ers_text_ersetzen_regex", Check, "0", ""},
    // Replace lines.
    {"Tprog", "act_ers_zeile", Check, "0", ""},
    {"Tprog", "act_ers_zeile_erstxt", Memo, "", ""},
    {"Tprog", "act_ers_zeile_liste", List, "", ""},
    {"Tprog", "act_ers_zeile_suchen", Edit, "", ""},
    {"Tprog", "act_ers_zeile_rb_zeile", Radio, "1", "ers_zeile"},
    {"Tprog", "act_ers_zeile_rb_text", Radio, "0", "ers_zeile"},
    {"Tprog", "act_ers_zeile_rb_regex", Radio, "0", "ers_zeile"},
    // Insert.
    {"Tprog", "act_anfuegen", Check, "0", ""},
    {"Tprog", "act_anfuegen_text", Memo, "", ""},
    {"Tprog", "act_anfuegen_liste", List, "", ""},
    {"Tprog", "act_anfuegen_vorn", Radio, "1", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_hinten", Radio, "0", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_pos_rb", Radio, "0", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_pos", Edit, "1", ""},
    {"Tprog", "act_anfuegen_datei", Radio, "1", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_jedezeile", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile_rb", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile_txt_rb", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile", Edit, "1", ""},
    {"Tprog", "act_anfuegen_zeile_txt", Edit, "", ""},
    {"Tprog", "act_anfuegen_zeile_txt_gk", Check, "0", ""},
    // Delete text.
    {"Tprog", "act_del_text", Check, "0", ""},
    {"Tprog", "act_del_text_suchen", Memo, "", ""},
    {"Tprog", "act_del_text_liste", List, "", ""},
    {"Tprog", "act_del_casesensitive", Check, "1", ""},
    {"Tprog", "act_del_regex", Check, "0", ""},
    // Delete lines.
    {"Tprog", "act_del_zeile", Check, "0", ""},
    {"Tprog", "act_del_zeile_suchen", Edit, "", ""},
    {"Tprog", "act_del_zeile_ende", Edit, "", ""},
    {"Tprog", "act_del_zeile_from", Edit, "", ""},
    {"Tprog", "act_del_zeile_char_less", Edit, "", ""},
    {"Tprog", "act_del_zeile_char_more", Edit, "", ""},
    {"Tprog", "act_del_zeile_text_regex", Check, "0", ""},
    {"Tprog", "act_del_zeile_leere", Check, "0", ""},
    {"Tprog", "act_del_zeile_whitespace", Check, "0", ""},
    {"Tprog", "act_del_zeile_text_del", Radio, "1", "del_zeile_text"},
    {"Tprog", "act_del_zeile_text_keep", Radio, "0", "del_zeile_text"},
    {"Tprog", "act_del_zeile_text_anfang", Check, "0", ""},
    {"Tprog", "act_del_zeile_text_grkl", Check, "1", ""},
    {"Tprog", "act_del_zeile_text_leer", Check, "1", ""},
    {"Tprog", "act_del_zeile_trenner", Check, "1", ""},
    {"Tprog", "act_del_zeile_text", Memo, "", ""},
    {"Tprog", "act_del_zeile_doppelte", Check, "0", ""},
    // HTML.
    {"Tprog", "act_html", Check, "0", ""},
    {"Tprog", "act_html_ersetzen", Check, "0", ""},
    {"Tprog", "act_html_reduzieren", Check, "0", ""},
    {"Tprog", "act_html_linkmails", Check, "0", ""},
    {"Tprog", "act_html_linkwebpages", Check, "0", ""},
    {"Tprog", "act_html_tagsentfernen", Check, "0", ""},
    {"Tprog", "act_html_ersetzen_eig", Check, "0", ""},
    {"Tprog", "act_html_ersetzen_reverse", Check, "0", ""},
    {"Tprog", "act_html_ersetzen_reverse_eig", Check, "0", ""},
    // Line tools.
    {"Tprog", "act_zeilen", Check, "0", ""},
    {"Tprog", "act_zeilen_sort", Check, "0", ""},
    {"Tprog", "act_zeilen_nummern", Check, "0", ""},
    {"Tprog", "act_zeilen_laenge", Check, "0", ""},
    {"Tprog", "act_zeilen_sortierung", Combo, "abc", ""},
    {"Tprog", "act_zeilen_nummern_beginn", Edit, "1", ""},
    {"Tprog", "act_zeilen_nummern5", Check, "1", ""},
    {"Tprog", "act_zeilen_laengemax", Edit, "50", ""},
    {"Tprog", "act_zeilen_umbruchweg", Check, "0", ""},
    {"Tprog", "act_zeilen_umbruchweg_range", Edit, "12", ""},
    {"Tprog", "act_zeilen_umbruchweg_intelligent", Check, "1", ""},
    {"Tprog", "act_zeilen_umbruchweg_leerzeichen", Check, "1", ""},
    {"Tprog", "act_zeilen_sort_abed", Edit, "", ""},
    {"Tprog", "act_zeilen_sort_abcb", Check, "1", ""},
    {"Tprog", "act_zeilen_trimleft", Check, "0", ""},
    {"Tprog", "act_zeilen_trimright", Check, "0", ""},
    // Letter case.
    {"Tprog", "act_sonstige", Check, "0", ""},
    {"Tprog", "act_sons_uppercase", Radio, "1", "sons"},
    {"Tprog", "act_sons_lowercase", Radio, "0", "sons"},
    {"Tprog", "act_sons_uppercasebegin", Radio, "0", "sons"},
    {"Tprog", "act_sons_mixedcase", Radio, "0", "sons"},
    {"Tprog", "act_sons_keine", Radio, "0", "sons"},
    {"Tprog", "act_sons_ucline", Check, "0", ""},
    // Merge files.
    {"Tprog", "act_dateizus", Check, "0", ""},
    {"Tprog", "act_dateizus_einzeln", Check, "1", ""},
    {"Tprog", "act_dateizus_text", Check, "0", ""},
    {"Tprog", "act_dateizus_textfeld", Memo, "", ""},
    {"Tprog", "act_dateizus_absatz", Check, "1", ""},
    // Split files.
    {"Tprog", "act_dateisplit", Check, "0", ""},
    {"Tprog", "act_dateisplit_text", Memo, "", ""},
    {"Tprog", "act_dateisplit_einzeln", Check, "1", ""},
    {"Tprog", "act_dateisplit_min", Check, "1", ""},
    {"Tprog", "act_dateisplit_minlaenge", Edit, "5", ""},
    {"Tprog", "act_dateisplit_regex", Check, "0", ""},
    {"Tprog", "act_dateisplit_suchtxtvorne", Check, "0", ""},
    {"Tprog", "act_dateisplit_suchtxthinten", Check, "0", ""},
    {"Tprog", "act_dateisplit_remwhitespace", Check, "0", ""},
    {"Tprog", "act_dateisplit_trenn_exakt", Radio, "1", "dateisplit_trenn"},
    {"Tprog", "act_dateisplit_trenn_zeile", Radio, "0", "dateisplit_trenn"},
    // File constants.
    {"Tprog", "act_konstanten", Check, "0", ""},
    {"Tprog", "act_konst_start", Edit, "1", ""},
    {"Tprog", "act_konst_all", Check, "1", ""},
    // Transliteration.
    {"Tprog", "act_transcript", Check, "0", ""},
    {"Tprog", "act_transcript_umlaute", Check, "1", ""},
    {"Tprog", "act_trans_reverse", Check, "0", ""},
    {"Tprog", "act_transkription", Combo, "Griechisch - Latein (ISO 843)", ""},
    {"Tprog", "act_trans_grosszusatz", Check, "0", ""},
    {"Tprog", "act_trans_kleinzusatz", Check, "1", ""},
    // Line breaks.
    {"Tprog", "act_newline", Check, "0", ""},
    {"Tprog", "act_rbnewline_auto", Radio, "1", "newline"},
    {"Tprog", "act_rbnewline_manu", Radio, "0", "newline"},
    {"Tprog", "act_newline_alt", Combo, "CRLF - Windows, DOS, OS/2, CP/M, TOS", ""},
    {"Tprog", "act_newline_neu", Combo, "CRLF - Windows, DOS, OS/2, CP/M, TOS", ""},
    {"Tprog", "act_cbnewline", Check, "0", ""},
    {"Tprog", "act_cbnl_check", Check, "1", ""},
    // Encoding.
    {"Tprog", "act_convert", Check, "0", ""},
    // CSV columns.
    {"Tprog", "act_csv", Check, "0", ""},
    {"Tprog", "act_csv_trenner", Combo, ";", ""},
    {"Tprog", "act_csv_ende", Combo, "%zeilenumbruch%", ""},
    {"Tprog", "act_csv_order", Check, "0", ""},
    {"Tprog", "act_csv_replace", Check, "0", ""},
    {"Tprog", "act_csv_insert", Check, "0", ""},
    {"Tprog", "act_csv_writing", Check, "0", ""},
    {"Tprog", "act_csv_calc", Check, "0", ""},
    {"Tprog", "act_csv_verkdatensatz", Check, "0", ""},
    {"Tprog", "act_csv_delcolumns", Check, "0", ""},
    {"Tprog", "act_csv_feldbegrenzer", Combo, "\"", ""},
    {"Tprog", "act_csv_feldbegrenzer_immer", Radio, "0", "csv_quote"},
    {"Tprog", "act_csv_feldbegrenzer_individuell", Radio, "1", "csv_quote"},
    {"Tprog", "act_csv_feldbegrenzer_nie", Radio, "0", "csv_quote"},
    // CSV column edits.
    {"Tcsv_editing", "cb_col", Combo, "1", ""},
    {"Tcsv_editing", "ed_suchen", Edit, "", ""},
    {"Tcsv_editing", "ed_ersetzen", Edit, "", ""},
    {"Tcsv_editing", "cb_suchen_regex", Check, "0", ""},
    {"Tcsv_editing", "cb_ersetzen_regex", Check, "0", ""},
    {"Tcsv_editing", "cb_ersetzen_caseinsensitive", Check, "0", ""},
    {"Tcsv_editing", "ed_insert", Edit, "", ""},
    {"Tcsv_editing", "rb_insert_vorne", Radio, "1", "insert"},
    {"Tcsv_editing", "rb_insert_hinten", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_position", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_ifempty", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_ifnotempty", Radio, "0", "insert"},
    {"Tcsv_editing", "ed_insert_position", Edit, "3", ""},
    {"Tcsv_editing", "rb_writing_uppercase", Radio, "1", "writing"},
    {"Tcsv_editing", "rb_writing_lowercase", Radio, "0", "writing"},
    {"Tcsv_editing", "rb_writing_trim", Radio, "0", "writing"},
    {"Tcsv_editing", "ed_calc_value", Edit, "10", ""},
    {"Tcsv_editing", "rb_calc_plus", Radio, "1", "calc"},
    {"Tcsv_editing", "rb_calc_minus", Radio, "0", "calc"},
    {"Tcsv_editing", "rb_calc_mal", Radio, "0", "calc"},
    {"Tcsv_editing", "rb_calc_div", Radio, "0", "calc"},
    {"Tcsv_editing", "ed_delcolumns", Edit, "", ""},
    {"Tcsv_editing", "csv_liste", List, "", ""},
    {"Tcsv_editing", "csv_onlylist", Check, "0", ""},
    // CSV column order.
    {"Tcsv_order", "liste", Box, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15", ""},
    // Output settings.
    {"Teinstausgabe", "rb_beibehalten", Radio, "1", "encoding"},
    {"Teinstausgabe", "rb_ansi", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf7", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf7ansi", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf8", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf8bom", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf16le", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf_be", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf32le", Radio, "0", "encoding"},
    {"Teinstausgabe", "rb_utf32be", Radio, "0", "encoding"},
    {"Teinstausgabe", "jazubom", Check, "1", ""},
};

const char* kindName(ControlKind kind) {
    switch (kind) {
    case K::CheckBox:
        return "tick box";
    case K::RadioButton:
        return "radio button";
    case K::Edit:
        return "edit";
    case K::Memo:
        return "memo";
    case K::ComboBox:
        return "combo box";
    case K::ListView:
        return "list view";
    case K::ListBox:
        return "list box";
    }
    return "control";
}

TWideStrArray splitItems(const char* design) {
    TWideStrArray items;
    std::string_view rest(design);
    while (!rest.empty()) {
        size_t lf = rest.find('\n');
        items.push_back(U16(rest.substr(0, lf)));
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    }
    return items;
}

} // namespace

bool TrySettingInteger(const SettingsView& settings, std::string_view name, int32_t& value) {
    return TryValInt32(WideToUTF8(settings.Text(name)), value);
}

int32_t SettingInteger(const SettingsView& settings, std::string_view name, int32_t fallback) {
    int32_t value = fallback;
    return TrySettingInteger(settings, name, value) ? value : fallback;
}

std::span<const SettingControl> SettingControls() {
    return kControls;
}

const SettingControl* FindSettingControl(std::string_view name) {
    for (const auto& c : kControls)
        if (name == c.name) return &c;
    return nullptr;
}

MemorySettings::MemorySettings() {
    for (const auto& c : kControls) {
        Value v;
        v.control = &c;
        switch (c.kind) {
        case K::CheckBox:
        case K::RadioButton:
            v.checked = std::string_view(c.design) == "1";
            break;
        case K::Edit:
        case K::Memo:
        case K::ComboBox:
            v.text = U16(c.design);
            break;
        case K::ListBox:
            v.items = splitItems(c.design);
            break;
        case K::ListView:
            break;
        }
        values_.emplace(c.name, std::move(v));
    }
}

const MemorySettings::Value& MemorySettings::get(std::string_view name,
                                                 std::initializer_list<ControlKind> kinds) const {
    auto it = values_.find(name);
    if (it == values_.end())
        throw UnknownSetting("Unknown setting control \"" + std::string(name) + "\"");
    if (std::find(kinds.begin(), kinds.end(), it->second.control->kind) == kinds.end())
        throw UnknownSetting("Setting control \"" + std::string(name) + "\" is a " +
                             kindName(it->second.control->kind));
    return it->second;
}

MemorySettings::Value& MemorySettings::get(std::string_view name,
                                           std::initializer_list<ControlKind> kinds) {
    return const_cast<Value&>(std::as_const(*this).get(name, kinds));
}

bool MemorySettings::Checked(std::string_view name) const {
    return get(name, {K::CheckBox, K::RadioButton}).checked;
}

WideString MemorySettings::Text(std::string_view name) const {
    return get(name, {K::Edit, K::Memo, K::ComboBox}).text;
}

std::vector<ListRow> MemorySettings::Rows(std::string_view name) const {
    return get(name, {K::ListView}).rows;
}

TWideStrArray MemorySettings::Items(std::string_view name) const {
    return get(name, {K::ListBox}).items;
}

size_t MemorySettings::RowCount(std::string_view name) const {
    const Value& v = get(name, {K::ListView, K::ListBox});
    return v.control->kind == K::ListView ? v.rows.size() : v.items.size();
}

void MemorySettings::SetChecked(std::string_view name, bool checked) {
    Value& v = get(name, {K::CheckBox, K::RadioButton});
    if (checked && v.control->kind == K::RadioButton) {
        for (auto& [other, ov] : values_)
            if (ov.control->kind == K::RadioButton &&
                std::string_view(ov.control->window) == v.control->window &&
                std::string_view(ov.control->group) == v.control->group)
                ov.checked = false;
    }
    v.checked = checked;
}

void MemorySettings::SetText(std::string_view name, WideStringView text) {
    get(name, {K::Edit, K::Memo, K::ComboBox}).text = WideString(text);
}

void MemorySettings::SetRows(std::string_view name, std::vector<ListRow> rows) {
    get(name, {K::ListView}).rows = std::move(rows);
}

void MemorySettings::AddRow(std::string_view name, ListRow row) {
    get(name, {K::ListView}).rows.push_back(std::move(row));
}

void MemorySettings::SetItems(std::string_view name, TWideStrArray items) {
    get(name, {K::ListBox}).items = std::move(items);
}
