// The one table of setting controls: every control of the working window `Tprog`, the
// output settings `Teinstausgabe` and the CSV windows `Tcsv_editing` and `Tcsv_order` that a
// run reads or a configuration stores, with its kind, its value at creation and, for combo
// boxes, its item list (other windows add their rows as they are built). A control is named by its
// window and its name together: the same name may live in several windows, and nothing finds a
// control by its name alone.
//
// Keys. Code names a control with a key built from this table at compile time:
//
//     settings.Checked({"Tprog", "act_konstanten"});   // CheckKey
//     settings.Text({"Teinstausgabe", "Edit1"});        // TextKey
//
// The key types' constructors are consteval: a window or name that is not in the table, a
// control of another kind than the key reads (a tick box read as text), a name without its
// window or a name computed at run time does not compile. The key types by what they read:
//
//     CheckKey  tick boxes and radio buttons (Checked)
//     TextKey   edits, memos and combo boxes (Text; memos with CR LF line breaks)
//     RowsKey   list views (Rows)
//     ItemsKey  list boxes (Items)
//     ListKey   list views and list boxes (RowCount)
//     FontKey   font samples (Font)
//     SettingKey any control (walking the table: seeding, resetting, storing)
//
// A narrower key converts to a wider one (a RowsKey is a ListKey and a SettingKey);
// SettingKey::As<TextKey>() narrows at run time and says no for another kind.
// AllSettingKeys() walks the table in its order; FindSettingKey(window, name) finds the key
// of a control a window meets at run time (a configuration's section, a control's name).
//
// Values at creation (`design`, UTF-8): tick boxes and radio buttons "1" or "0"; edits, memos
// and combo boxes their text; list boxes their items separated by LF; list views start
// empty; font samples "name;size;styles;RRGGBB" (styles: the letters b, i, u, s). Radio
// buttons of one `group` of one window exclude each other. Combo boxes hold their item list
// in `items` (LF-separated, German words; the language switch exchanges the words), or
// name the source of a list that is known only at run time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class ControlKind : uint8_t {
    CheckBox,
    RadioButton,
    Edit,
    Memo,
    ComboBox,
    ListView,
    ListBox,
    Font, // a label whose font is the setting (the picture font)
};

// Where a combo box's items come from.
enum class ItemSource : uint8_t {
    Table,                 // the row's own `items`
    LineBreakNames,        // the display names of the line-break kinds, in their order
    TransliterationTables, // the built-in tables and the user's tables of the program folder
};

struct SettingControl {
    std::string_view window; // the window class
    std::string_view name;   // the control's component name
    ControlKind kind;
    std::string_view design;     // UTF-8, see above
    std::string_view group = {}; // radio buttons only
    std::string_view items = {}; // combo boxes: the item list, LF-separated
    ItemSource itemSource = ItemSource::Table;
};

namespace setting_table {

using K = ControlKind;
inline constexpr K Check = K::CheckBox;
inline constexpr K Radio = K::RadioButton;
inline constexpr K Edit = K::Edit;
inline constexpr K Memo = K::Memo;
inline constexpr K Combo = K::ComboBox;
inline constexpr K List = K::ListView;
inline constexpr K Box = K::ListBox;
inline constexpr K Font = K::Font;

inline constexpr SettingControl kControls[] = {
    // Input list.
    {"Tprog", "qulist", List, ""},
    {"Tprog", "inp_ordner", Edit, ""},
    {"Tprog", "inp_uv", Check, "1"},
    {"Tprog", "inp_ow", Check, "0"},
    // Preview switches.
    {"Tprog", "vor_okay", Check, "1"},
    {"Tprog", "vor_showfile", Check, "1"},
    {"Tprog", "vor_showalt", Check, "1"},
    {"Tprog", "vor_showneu", Check, "1"},
    // Output options.
    {"Tprog", "out_overwrite", Radio, "0", "out_mode"},
    {"Tprog", "out_newimage", Radio, "1", "out_mode"},
    {"Tprog", "out_ordner", Combo, "<beibehalten>", "",
     "<beibehalten>\n%ordner%/neu\nBenutzerdefiniert.."},
    {"Tprog", "out_name", Combo, "%name%-1", "",
     "<beibehalten>\n%name%-1\n%name%\n%0num%\n%0num%-%abs%\n%num%\n%firstchars%"
     "\nBenutzerdefiniert.."},
    {"Tprog", "out_format", Combo, "<beibehalten>", "",
     "<beibehalten>\n.txt\n.php\n.htm\n.html\n.bmp\n.jpg\n.gif\n.css\n.js\n.java\n.log"
     "\n.ini\n.xml\nBenutzerdefiniert.."},
    {"Tprog", "out_deleteoriginal", Check, "0"},
    {"Tprog", "out_onlyselected", Check, "0"},
    {"Tprog", "out_onlyifchanged", Check, "1"},
    // Replace text.
    {"Tprog", "act_ers_text", Check, "0"},
    {"Tprog", "act_ers_text_suchen", Memo, ""},
    {"Tprog", "act_ers_text_ersetzen", Memo, ""},
    {"Tprog", "act_ers_casesensitive", Check, "1"},
    {"Tprog", "act_ers_text_liste", List, ""},
    {"Tprog", "act_ers_text_suchen_regex", Check, "0"},
    {"Tprog", "act_ers_text_ersetzen_regex", Check, "0"},
    {"Tprog", "act_ers_weitere", Check, "0"},
    // Replace lines.
    {"Tprog", "act_ers_zeile", Check, "0"},
    {"Tprog", "act_ers_zeile_erstxt", Memo, ""},
    {"Tprog", "act_ers_zeile_liste", List, ""},
    {"Tprog", "act_ers_zeile_suchen", Edit, ""},
    {"Tprog", "act_ers_zeile_rb_zeile", Radio, "1", "ers_zeile"},
    {"Tprog", "act_ers_zeile_rb_text", Radio, "0", "ers_zeile"},
    {"Tprog", "act_ers_zeile_rb_regex", Radio, "0", "ers_zeile"},
    // Insert.
    {"Tprog", "act_anfuegen", Check, "0"},
    {"Tprog", "act_anfuegen_text", Memo, ""},
    {"Tprog", "act_anfuegen_liste", List, ""},
    {"Tprog", "act_anfuegen_vorn", Radio, "1", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_hinten", Radio, "0", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_pos_rb", Radio, "0", "anfuegen_ort"},
    {"Tprog", "act_anfuegen_pos", Edit, "1"},
    {"Tprog", "act_anfuegen_datei", Radio, "1", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_jedezeile", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile_rb", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile_txt_rb", Radio, "0", "anfuegen_zeilen"},
    {"Tprog", "act_anfuegen_zeile", Edit, "1"},
    {"Tprog", "act_anfuegen_zeile_txt", Edit, ""},
    {"Tprog", "act_anfuegen_zeile_txt_gk", Check, "0"},
    // Delete text.
    {"Tprog", "act_del_text", Check, "0"},
    {"Tprog", "act_del_text_suchen", Memo, ""},
    {"Tprog", "act_del_text_liste", List, ""},
    {"Tprog", "act_del_casesensitive", Check, "1"},
    {"Tprog", "act_del_regex", Check, "0"},
    // Delete lines.
    {"Tprog", "act_del_zeile", Check, "0"},
    {"Tprog", "act_del_zeile_suchen", Edit, ""},
    {"Tprog", "act_del_zeile_ende", Edit, ""},
    {"Tprog", "act_del_zeile_from", Edit, ""},
    {"Tprog", "act_del_zeile_char_less", Edit, ""},
    {"Tprog", "act_del_zeile_char_more", Edit, ""},
    {"Tprog", "act_del_zeile_text_regex", Check, "0"},
    {"Tprog", "act_del_zeile_leere", Check, "0"},
    {"Tprog", "act_del_zeile_whitespace", Check, "0"},
    {"Tprog", "act_del_zeile_text_del", Radio, "1", "del_zeile_text"},
    {"Tprog", "act_del_zeile_text_keep", Radio, "0", "del_zeile_text"},
    {"Tprog", "act_del_zeile_text_anfang", Check, "0"},
    {"Tprog", "act_del_zeile_text_grkl", Check, "1"},
    {"Tprog", "act_del_zeile_text_leer", Check, "1"},
    {"Tprog", "act_del_zeile_trenner", Check, "1"},
    {"Tprog", "act_del_zeile_text", Memo, ""},
    {"Tprog", "act_del_zeile_doppelte", Check, "0"},
    // HTML.
    {"Tprog", "act_html", Check, "0"},
    {"Tprog", "act_html_ersetzen", Check, "0"},
    {"Tprog", "act_html_reduzieren", Check, "0"},
    {"Tprog", "act_html_linkmails", Check, "0"},
    {"Tprog", "act_html_linkwebpages", Check, "0"},
    {"Tprog", "act_html_tagsentfernen", Check, "0"},
    {"Tprog", "act_html_ersetzen_eig", Check, "0"},
    {"Tprog", "act_html_ersetzen_reverse", Check, "0"},
    {"Tprog", "act_html_ersetzen_reverse_eig", Check, "0"},
    // Line tools.
    {"Tprog", "act_zeilen", Check, "0"},
    {"Tprog", "act_zeilen_sort", Check, "0"},
    {"Tprog", "act_zeilen_nummern", Check, "0"},
    {"Tprog", "act_zeilen_laenge", Check, "0"},
    {"Tprog", "act_zeilen_sortierung", Combo, "abc", "", "abc\ncba"},
    {"Tprog", "act_zeilen_nummern_beginn", Edit, "1"},
    {"Tprog", "act_zeilen_nummern5", Check, "1"},
    {"Tprog", "act_zeilen_laengemax", Edit, "50"},
    {"Tprog", "act_zeilen_umbruchweg", Check, "0"},
    {"Tprog", "act_zeilen_umbruchweg_range", Edit, "12"},
    {"Tprog", "act_zeilen_umbruchweg_intelligent", Check, "1"},
    {"Tprog", "act_zeilen_umbruchweg_leerzeichen", Check, "1"},
    {"Tprog", "act_zeilen_sort_abed", Edit, ""},
    {"Tprog", "act_zeilen_sort_abcb", Check, "1"},
    {"Tprog", "act_zeilen_trimleft", Check, "0"},
    {"Tprog", "act_zeilen_trimright", Check, "0"},
    // The switch that shows the further actions (no action of its own).
    {"Tprog", "act_weitere", Check, "0"},
    // Letter case.
    {"Tprog", "act_sonstige", Check, "0"},
    {"Tprog", "act_sons_uppercase", Radio, "1", "sons"},
    {"Tprog", "act_sons_lowercase", Radio, "0", "sons"},
    {"Tprog", "act_sons_uppercasebegin", Radio, "0", "sons"},
    {"Tprog", "act_sons_mixedcase", Radio, "0", "sons"},
    {"Tprog", "act_sons_keine", Radio, "0", "sons"},
    {"Tprog", "act_sons_ucline", Check, "0"},
    // Merge files.
    {"Tprog", "act_dateizus", Check, "0"},
    {"Tprog", "act_dateizus_einzeln", Check, "1"},
    {"Tprog", "act_dateizus_text", Check, "0"},
    {"Tprog", "act_dateizus_textfeld", Memo, ""},
    {"Tprog", "act_dateizus_vorschaueinzeln", Check, "0"},
    {"Tprog", "act_dateizus_absatz", Check, "1"},
    // Split files.
    {"Tprog", "act_dateisplit", Check, "0"},
    {"Tprog", "act_dateisplit_text", Memo, ""},
    {"Tprog", "act_dateisplit_einzeln", Check, "1"},
    {"Tprog", "act_dateisplit_min", Check, "1"},
    {"Tprog", "act_dateisplit_minlaenge", Edit, "5"},
    {"Tprog", "act_dateisplit_regex", Check, "0"},
    {"Tprog", "act_dateisplit_suchtxtvorne", Check, "0"},
    {"Tprog", "act_dateisplit_suchtxthinten", Check, "0"},
    {"Tprog", "act_dateisplit_remwhitespace", Check, "0"},
    {"Tprog", "act_dateisplit_trenn_exakt", Radio, "1", "dateisplit_trenn"},
    {"Tprog", "act_dateisplit_trenn_zeile", Radio, "0", "dateisplit_trenn"},
    // File constants.
    {"Tprog", "act_konstanten", Check, "0"},
    {"Tprog", "act_konst_start", Edit, "1"},
    {"Tprog", "act_konst_all", Check, "1"},
    // Transliteration.
    {"Tprog", "act_transcript", Check, "0"},
    {"Tprog", "act_transcript_umlaute", Check, "1"},
    {"Tprog", "act_trans_reverse", Check, "0"},
    {"Tprog", "act_transkription", Combo, "Griechisch - Latein (ISO 843)", "", "",
     ItemSource::TransliterationTables},
    {"Tprog", "act_trans_grosszusatz", Check, "0"},
    {"Tprog", "act_trans_kleinzusatz", Check, "1"},
    // Line breaks.
    {"Tprog", "act_newline", Check, "0"},
    {"Tprog", "act_rbnewline_auto", Radio, "1", "newline"},
    {"Tprog", "act_rbnewline_manu", Radio, "0", "newline"},
    {"Tprog", "act_newline_alt", Combo, "CRLF - Windows, DOS, OS/2, CP/M, TOS", "", "",
     ItemSource::LineBreakNames},
    {"Tprog", "act_newline_neu", Combo, "CRLF - Windows, DOS, OS/2, CP/M, TOS", "", "",
     ItemSource::LineBreakNames},
    {"Tprog", "act_cbnewline", Check, "0"},
    {"Tprog", "act_newlinewindows", Check, "0"},
    {"Tprog", "act_cbnl_check", Check, "1"},
    // Encoding.
    {"Tprog", "act_convert", Check, "0"},
    // CSV columns.
    {"Tprog", "act_csv", Check, "0"},
    {"Tprog", "act_csv_trenner", Combo, ";", "", ";\n,\n|\n%tab%\nBenutzerdefiniert.."},
    {"Tprog", "act_csv_ende", Combo, "%zeilenumbruch%", "", "%zeilenumbruch%\nBenutzerdefiniert.."},
    {"Tprog", "act_csv_order", Check, "0"},
    {"Tprog", "act_csv_replace", Check, "0"},
    {"Tprog", "act_csv_insert", Check, "0"},
    {"Tprog", "act_csv_writing", Check, "0"},
    {"Tprog", "act_csv_calc", Check, "0"},
    {"Tprog", "act_csv_verkdatensatz", Check, "0"},
    {"Tprog", "act_csv_delcolumns", Check, "0"},
    {"Tprog", "act_csv_feldbegrenzer", Combo, "\"", "", "\"\n\nBenutzerdefiniert.."},
    {"Tprog", "act_csv_feldbegrenzer_immer", Radio, "0", "csv_quote"},
    {"Tprog", "act_csv_feldbegrenzer_individuell", Radio, "1", "csv_quote"},
    {"Tprog", "act_csv_feldbegrenzer_nie", Radio, "0", "csv_quote"},
    // CSV column edits.
    {"Tcsv_editing", "cb_col", Combo, "1", "",
     "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\nAndere.."},
    {"Tcsv_editing", "ed_suchen", Edit, ""},
    {"Tcsv_editing", "ed_ersetzen", Edit, ""},
    {"Tcsv_editing", "cb_suchen_regex", Check, "0"},
    {"Tcsv_editing", "cb_ersetzen_regex", Check, "0"},
    {"Tcsv_editing", "cb_ersetzen_caseinsensitive", Check, "0"},
    {"Tcsv_editing", "ed_insert", Edit, ""},
    {"Tcsv_editing", "rb_insert_vorne", Radio, "1", "insert"},
    {"Tcsv_editing", "rb_insert_hinten", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_position", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_ifempty", Radio, "0", "insert"},
    {"Tcsv_editing", "rb_insert_ifnotempty", Radio, "0", "insert"},
    {"Tcsv_editing", "ed_insert_position", Edit, "3"},
    {"Tcsv_editing", "rb_writing_uppercase", Radio, "1", "writing"},
    {"Tcsv_editing", "rb_writing_lowercase", Radio, "0", "writing"},
    {"Tcsv_editing", "rb_writing_trim", Radio, "0", "writing"},
    {"Tcsv_editing", "ed_calc_value", Edit, "10"},
    {"Tcsv_editing", "rb_calc_plus", Radio, "1", "calc"},
    {"Tcsv_editing", "rb_calc_minus", Radio, "0", "calc"},
    {"Tcsv_editing", "rb_calc_mal", Radio, "0", "calc"},
    {"Tcsv_editing", "rb_calc_div", Radio, "0", "calc"},
    {"Tcsv_editing", "ed_delcolumns", Edit, ""},
    {"Tcsv_editing", "csv_liste", List, ""},
    {"Tcsv_editing", "csv_onlylist", Check, "0"},
    // CSV column order.
    {"Tcsv_order", "liste", Box, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15"},
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
    {"Teinstausgabe", "jazubom", Check, "1"},
    // Output as a picture: the background colour ("#" and red, green, blue in hexadecimal)
    // and the font of the sample label (name;size;styles;colour, see PictureFont).
    {"Teinstausgabe", "Edit1", Edit, "#FFFFFF"},
    {"Teinstausgabe", "Label3", Font, "Courier New;8;;000000"},
    // Names that other windows hold too.
    {"Tchangecoding", "jazubom", Check, "1"},
    {"Tdateinamenumbenenner", "qulist", List, ""},
    {"Treplace_import", "liste", Memo, ""},
    {"Ttransform", "liste", Memo, ""},
};

// Never defined: a consteval key constructor calls one of them only where the key is wrong,
// and the compiler then stops with the function's name in its message.
void NoSuchSettingControl_CheckWindowAndName();
void SettingControlOfAnotherKind_UseTheKeyOfItsKind();

// The row of window and name in table; fails the compile when there is none.
consteval uint16_t IndexOf(std::span<const SettingControl> table, std::string_view window,
                           std::string_view name) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].window == window && table[i].name == name) return static_cast<uint16_t>(i);
    NoSuchSettingControl_CheckWindowAndName();
    return 0;
}

} // namespace setting_table

template <ControlKind... Kinds> class SettingKeyOf;
struct SettingKeyRows;

namespace setting_table {

// The pass that lets the table's own code build a key from a row index.
class RowPass {
    template <ControlKind...> friend class ::SettingKeyOf;
    friend struct ::SettingKeyRows;
    constexpr RowPass() = default;
};

template <ControlKind Kind, ControlKind... Kinds>
inline constexpr bool kOneOf = ((Kind == Kinds) || ...);

} // namespace setting_table

// The table in its order.
inline constexpr std::span<const SettingControl> SettingControls() {
    return setting_table::kControls;
}

template <ControlKind... Kinds> class SettingKeyOf {
public:
    // The key of the control `name` of `window`; compiles only for a control of the table
    // whose kind is one of Kinds.
    consteval SettingKeyOf(std::string_view window, std::string_view name)
        : index_(setting_table::IndexOf(SettingControls(), window, name)) {
        if (!holds(SettingControls()[index_].kind))
            setting_table::SettingControlOfAnotherKind_UseTheKeyOfItsKind();
    }
    // A key of fewer kinds is a key of more kinds.
    template <ControlKind... Narrower>
    requires(setting_table::kOneOf<Narrower, Kinds...>&&...) constexpr SettingKeyOf(
        SettingKeyOf<Narrower...> key)
        : index_(key.index()) {}

    // The same control as a key of fewer kinds; none when its kind is not among them.
    template <typename Narrower> constexpr std::optional<Narrower> As() const {
        if (!Narrower::holds(kind())) return std::nullopt;
        return Narrower(index_, setting_table::RowPass());
    }

    constexpr const SettingControl& control() const { return SettingControls()[index_]; }
    constexpr std::string_view window() const { return control().window; }
    constexpr std::string_view name() const { return control().name; }
    constexpr ControlKind kind() const { return control().kind; }
    // The row in the table: a dense index for arrays of values.
    constexpr uint16_t index() const { return index_; }

    friend constexpr bool operator==(SettingKeyOf, SettingKeyOf) = default;

    static constexpr bool holds(ControlKind kind) { return ((kind == Kinds) || ...); }

private:
    template <ControlKind...> friend class SettingKeyOf;
    friend struct SettingKeyRows; // builds the keys of AllSettingKeys and FindSettingKey
    constexpr SettingKeyOf(uint16_t index, setting_table::RowPass) : index_(index) {}

    uint16_t index_;
};

// "window.name", for messages and test output.
template <typename Stream, ControlKind... Kinds>
requires requires(Stream& out, std::string_view text) {
    out << text;
}
Stream& operator<<(Stream& out, SettingKeyOf<Kinds...> key) {
    out << key.window() << std::string_view(".") << key.name();
    return out;
}

using CheckKey = SettingKeyOf<ControlKind::CheckBox, ControlKind::RadioButton>;
using TextKey = SettingKeyOf<ControlKind::Edit, ControlKind::Memo, ControlKind::ComboBox>;
using RowsKey = SettingKeyOf<ControlKind::ListView>;
using ItemsKey = SettingKeyOf<ControlKind::ListBox>;
using ListKey = SettingKeyOf<ControlKind::ListView, ControlKind::ListBox>;
using FontKey = SettingKeyOf<ControlKind::Font>;
using SettingKey = SettingKeyOf<ControlKind::CheckBox, ControlKind::RadioButton, ControlKind::Edit,
                                ControlKind::Memo, ControlKind::ComboBox, ControlKind::ListView,
                                ControlKind::ListBox, ControlKind::Font>;

// Every control of the table as a key, in the table's order.
std::span<const SettingKey> AllSettingKeys();
// The key of a control a window meets at run time; none when the table lacks it.
std::optional<SettingKey> FindSettingKey(std::string_view window, std::string_view name);
