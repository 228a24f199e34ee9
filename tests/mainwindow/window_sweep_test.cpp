// Every window the program creates, tried as a person tries it: each button, tick box,
// radio button, combo box, edit, memo, menu item (and the pictures and labels that act
// as buttons) that has a handler is clicked at its centre, typed into, chosen from or
// chosen in its menu, and its handler must run. A shown control without a handler is
// listed with the reason; a shown control in neither list fails the sweep, so a control
// created and never wired is found.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTreeView>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Buttons.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/ExtCtrls.h"
#include "platform/PageControls.h"
#include "platform/ShellServices.h"
#include "support/HandlerTrace.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "support/TempXdgHomes.h"

namespace {

enum class Input {
    Click,       // a left click at the control's centre
    DoubleClick, // a double click at its centre
    Type,        // a click into it, then the text typed
    Leave,       // a click into it, then Tab moves the focus on
    Drag,        // a splitter dragged with the mouse across its bar by 40 pixels
    Choose,      // the next item of a combo box chosen with the keys
    Menu,        // the item chosen in its menu with the mouse
    Popup,       // a right click on the first row of the list named by the text, then the item
};

struct Row {
    const char* window; // the form's name
    const char16_t* control;
    Input input = Input::Click;
    const char* event = "OnClick";
    const char* text = "x"; // typed by Input::Type
    // Controls clicked first, to bring the control on screen (a box closed, a field
    // filled).
    std::vector<const char16_t*> before = {};
    bool english = false; // the windows built in English
    // The handler comes with a change that is not in yet: the row is skipped.
    const char* awaiting = nullptr;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.window << "." << U8(r.control) << " " << r.event;
}

// The working window's controls that run a handler, and the event each runs.
std::vector<Row> WorkingWindowRows() {
    using enum Input;
    std::vector<Row> rows;
    auto clicks = [&](std::initializer_list<const char16_t*> names) {
        for (const char16_t* n : names)
            rows.push_back({"prog", n});
    };
    // Boxes, input list, preview.
    clicks({u"close_input", u"inp_openordner", u"inp_filter", u"inp_ow", u"inp_deleteselect",
            u"inp_deleteall", u"inp_searchfiles", u"inp_select", u"close_vorschau", u"vor_okay",
            u"vor_showalt", u"vor_showneu", u"close_actions", u"close_output", u"out_overwrite",
            u"outordnerbt", u"laspenden", u"durchfuehren"});
    // Action groups: the tick, the fold button and the buttons of each body.
    clicks({u"act_ers_text",
            u"act_ers_text_bb",
            u"act_ers_text_suchen_regex",
            u"plus_ers_suche",
            u"act_ers_text_ersetzen_regex",
            u"plus_ers_ersetzen",
            u"act_ers_text_regex",
            u"act_ers_weitere",
            u"act_ers_text_delete",
            u"act_ers_zeile",
            u"act_ers_zeile_bb",
            u"act_ers_zeile_rb_text",
            u"act_ers_zeile_rb_regex",
            u"plus_ers_zeile",
            u"act_ers_zeile_add",
            u"act_ers_zeile_del",
            u"act_ers_zeile_delselect",
            u"act_anfuegen",
            u"act_anfuegen_bb",
            u"plus_anfuegen",
            u"act_anfuegen_add",
            u"act_anfuegen_del",
            u"act_anfuegen_delselect",
            u"act_del_text",
            u"act_del_text_bb",
            u"plus_deltext",
            u"act_del_regex",
            u"act_del_text_add",
            u"act_del_text_delete",
            u"act_del_text_delselect",
            u"act_del_zeile",
            u"act_del_zeile_bb",
            u"plus_delzeile",
            u"act_del_zeile_trenner",
            u"act_del_zeile_text_regex",
            u"act_html",
            u"act_html_bb",
            u"act_zeilen",
            u"act_zeilen_bb",
            u"act_sonstige",
            u"act_sonstige_bb",
            u"act_dateizus",
            u"act_dateizus_bb",
            u"act_dateisplit",
            u"act_dateisplit_bb",
            u"act_konstanten",
            u"act_konstanten_bb",
            u"act_transcript",
            u"act_transcript_bb",
            u"act_transcript_user",
            u"Label39",
            u"act_newline",
            u"act_newline_bb",
            u"act_newlinewindows",
            u"act_convert",
            u"act_convert_bb",
            u"act_convert_button1",
            u"act_convert_button2",
            u"act_csv",
            u"act_csv_bb",
            u"act_csv_order_show",
            u"act_csv_replace_show",
            u"act_csv_insert_show",
            u"act_csv_writing_show",
            u"act_csv_calc_show",
            u"act_csv_delcolumns_show",
            u"act_weitere",
            u"Label42"});
    // The list part of the replace group shows with "several replacements".
    for (const char16_t* button : {u"act_ers_text_add", u"act_ers_text_replace",
                                   u"act_ers_text_delmark", u"act_ers_text_all", u"BitBtn1"})
        rows.push_back({"prog", button, Click, "OnClick", "", {u"act_ers_weitere"}});
    rows.push_back({"prog", u"out_newimage", Click, "OnClick", "", {u"out_overwrite"}});
    rows.push_back(
        {"prog", u"act_ers_zeile_rb_zeile", Click, "OnClick", "", {u"act_ers_zeile_rb_text"}});
    for (auto [reopen, box] : {std::pair{u"max_input", u"close_input"},
                               {u"max_vorschau", u"close_vorschau"},
                               {u"max_aktionen", u"close_actions"},
                               {u"max_output", u"close_output"}})
        rows.push_back({"prog", reopen, Click, "OnClick", "", {box}});
    // Fields: key filters, change handlers, double clicks, leaving.
    rows.push_back({"prog", u"inp_ordner", Type, "OnKeyPress", "a"});
    rows.push_back({"prog", u"inp_ordner", Type, "OnKeyDown", "a"});
    rows.push_back({"prog", u"inp_ordner", DoubleClick, "OnDblClick"});
    rows.push_back({"prog", u"qulist", Click, "OnClick"});
    rows.push_back({"prog", u"qulist", DoubleClick, "OnDblClick"});
    rows.push_back({"prog", u"qulist", Type, "OnKeyDown", "a"});
    rows.push_back({"prog", u"qulist", Type, "OnKeyUp", "a"});
    rows.push_back({"prog", u"vor_alt", Type, "OnChange"});
    rows.push_back({"prog", u"vor_alt", Click, "OnClick"});
    rows.push_back({"prog", u"vor_alt", Type, "OnKeyUp"});
    rows.push_back({"prog", u"vor_alt", Leave, "OnExit"});
    // The old text, edited in the preview of the selected file, can be saved.
    rows.push_back({"prog", u"AlteDateiSpeichern", Click, "OnClick", "", {u"qulist", u"vor_alt"}});
    rows.push_back({"prog", u"vor_neu", Click, "OnClick"});
    rows.push_back({"prog", u"vor_neu", Type, "OnKeyUp"});
    rows.push_back({"prog", u"vor_neu", Leave, "OnExit"});
    for (const char16_t* memo : {u"act_ers_text_suchen", u"act_ers_text_ersetzen",
                                 u"act_del_text_suchen", u"act_dateisplit_text"})
        rows.push_back({"prog", memo, Type, "OnChange"});
    for (const char16_t* memo :
         {u"act_ers_text_suchen", u"act_ers_text_ersetzen", u"act_ers_zeile_erstxt",
          u"act_anfuegen_text", u"act_del_text_suchen", u"act_del_zeile_text",
          u"act_dateizus_textfeld", u"act_dateisplit_text"})
        rows.push_back({"prog", memo, Type, "OnKeyDown"});
    rows.push_back({"prog", u"act_ers_text_liste", Type, "OnKeyDown", "a", {u"act_ers_weitere"}});
    for (const char16_t* list :
         {u"act_ers_zeile_liste", u"act_anfuegen_liste", u"act_del_text_liste"})
        rows.push_back({"prog", list, Type, "OnKeyDown", "a"});
    for (const char16_t* number :
         {u"act_del_zeile_suchen", u"act_del_zeile_ende", u"act_del_zeile_from",
          u"act_del_zeile_char_less", u"act_del_zeile_char_more", u"act_zeilen_umbruchweg_range",
          u"act_zeilen_laengemax", u"act_zeilen_nummern_beginn", u"act_konst_start"})
        rows.push_back({"prog", number, Type, "OnKeyPress", "5"});
    for (const char16_t* listOnly : {u"act_transkription", u"act_newline_alt", u"act_newline_neu"})
        rows.push_back({"prog", listOnly, Type, "OnKeyPress"});
    rows.push_back(
        {"prog", u"act_zeilen_sortierung", Type, "OnKeyPress", "x", {u"act_zeilen_sort"}});
    for (const char16_t* csv : {u"act_csv_trenner", u"act_csv_ende", u"act_csv_feldbegrenzer"})
        rows.push_back({"prog", csv, Type, "OnChange", ";"});
    for (const char16_t* out : {u"out_ordner", u"out_name", u"out_format"}) {
        rows.push_back({"prog", out, Type, "OnKeyPress"});
        rows.push_back({"prog", out, Choose, "OnChange"});
    }
    rows.push_back({"prog", u"out_ordner", DoubleClick, "OnDblClick"});
    rows.push_back({"prog", u"out_ordner", Leave, "OnExit"});
    rows.push_back({"prog", u"out_name", Leave, "OnExit"});
    for (const char16_t* splitter :
         {u"Splitter1", u"splitter_files_preview", u"splitter_preview_old_new"})
        rows.push_back({"prog", splitter, Drag, "OnMoved"});
    // The main menu; the English help menus show in English only.
    for (const char16_t* item : {u"m_datei_open",
                                 u"m_datei_ordner",
                                 u"m_datei_search",
                                 u"m_datei_konvert",
                                 u"m_datei_changes",
                                 u"m_onthefly",
                                 u"m_dateiliste_save",
                                 u"m_dateiliste_open",
                                 u"m_datei_delmark",
                                 u"m_datei_delall",
                                 u"m_datei_vorschauaktualisieren",
                                 u"m_datei_vorschau",
                                 u"m_datei_dateiumb",
                                 u"m_datei_code",
                                 u"m_bug",
                                 u"m_datei_beenden",
                                 u"m_einst_ausgabe",
                                 u"m_einst_regex",
                                 u"m_einst_filter",
                                 u"m_einst_vor_hg",
                                 u"m_einst_vor_schrift",
                                 u"m_einst_voralt_zu",
                                 u"m_einst_vorneu_zu",
                                 u"m_einst_autocloseactions",
                                 u"m_einst_vorschau",
                                 u"m_einst_nlkorrektur",
                                 u"m_einstshortcuts",
                                 u"m_einst_sprache_deutsch",
                                 u"m_einst_sprache_english",
                                 u"m_anz_input",
                                 u"m_anz_vorschau",
                                 u"m_anz_aktionen",
                                 u"m_anz_output",
                                 u"m_konfig_save",
                                 u"m_konfig_save_profil",
                                 u"m_konfig_load",
                                 u"m_konfig_autosave_nie",
                                 u"m_konfig_autosave_alles",
                                 u"m_konfig_autosave_profil",
                                 u"m_konfig_standard",
                                 u"m_konfig_start",
                                 u"m_tools_dateiumb",
                                 u"m_software_de_beschreibung",
                                 u"m_info_de_hilfe",
                                 u"m_info_de_empfehlungen",
                                 u"m_info_de_software",
                                 u"m_info_de_spenden",
                                 u"m_bug_de"})
        rows.push_back({"prog", item, Menu});
    for (const char16_t* item :
         {u"m_software_en_description", u"m_info_en_intro", u"m_info_en_regards",
          u"m_info_en_software", u"m_info_en_donate", u"m_bug_en"})
        rows.push_back({"prog", item, Menu, "OnClick", "", {}, true});
    // The link menus' items, built from the project's list of pages.
    static const std::vector<std::u16string> links = [] {
        std::vector<std::u16string> names;
        for (const char* language : {"de", "en"})
            for (int i = 0; i < 17; ++i)
                names.push_back(U16("link" + std::string(language) + std::to_string(i)));
        return names;
    }();
    for (const std::u16string& link : links)
        rows.push_back({"prog", link.c_str(), Menu, "OnClick", "", {}, link[4] == u'e'});
    for (const char16_t* item :
         {u"pop0", u"pop1", u"pop2", u"pop3", u"pop4", u"pop5", u"pop6", u"pop7", u"pop8"})
        rows.push_back({"prog", item, Popup, "OnClick", "qulist"});
    return rows;
}

// The tools and dialogs: their buttons, ticks, fields and popup items.
std::vector<Row> DialogRows() {
    using enum Input;
    std::vector<Row> rows = {
        {"start", u"Image1"},
        {"hilfe", u"btide1"},
        {"hilfe", u"btide2"},
        {"hilfe", u"btclose"},
        {"hilfe_en", u"btien1"},
        {"hilfe_en", u"btien2"},
        {"hilfe_en", u"btclose"},
        {"sm_bearbeitung", u"Abbrechen"},
        {"sm_meldung", u"OK"},
        {"sm_meldung", u"OKalle"},
        {"sm_achtung", u"OK"},
        {"sm_achtung", u"Nein"},
        {"sm_achtung", u"OKalle"},
        {"sm_achtung", u"NeinAlle"},
        {"sm_achtung", u"Abbrechen"},
        {"dateinamenumbenenner_filter", u"alle", Click, "OnClick", "", {u"auswahl"}},
        {"dateinamenumbenenner_filter", u"auswahl"},
        {"dateinamenumbenenner_filter", u"OK"},
        {"dateinamenumbenenner_filter", u"filter", Type, "OnKeyPress", "x", {u"auswahl"}},
        {"dateinamenumbenenner", u"BitBtn3"},
        {"dateinamenumbenenner", u"BitBtn2"},
        {"dateinamenumbenenner", u"OpenOrdner"},
        {"dateinamenumbenenner", u"BitBtn1"},
        {"dateinamenumbenenner", u"suchenersetzen"},
        {"dateinamenumbenenner", u"cb_suchname", Click, "OnClick", "", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"cb_suchendung", Click, "OnClick", "", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"Umbenennen"},
        {"dateinamenumbenenner", u"Label5"},
        {"dateinamenumbenenner", u"Label7"},
        {"dateinamenumbenenner", u"Label9"},
        {"dateinamenumbenenner", u"Label12"},
        {"dateinamenumbenenner", u"quordner", Type, "OnKeyPress", "a"},
        {"dateinamenumbenenner", u"quordner", DoubleClick, "OnDblClick"},
        {"dateinamenumbenenner", u"maske", Type, "OnKeyPress"},
        {"dateinamenumbenenner", u"maske", Type, "OnChange"},
        {"dateinamenumbenenner", u"maske", Choose, "OnSelect"},
        {"dateinamenumbenenner", u"numstart", Type, "OnKeyPress", "2"},
        {"dateinamenumbenenner", u"numstart", Type, "OnChange", "2"},
        {"dateinamenumbenenner", u"numstart", Choose, "OnSelect"},
        {"dateinamenumbenenner", u"suchenalt", Type, "OnKeyPress", "x", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"suchenalt", Type, "OnChange", "x", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"suchenneu", Type, "OnKeyPress", "x", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"suchenneu", Type, "OnChange", "x", {u"suchenersetzen"}},
        {"dateinamenumbenenner", u"qulist", Type, "OnKeyDown", "a"},
        {"dateinamenumbenenner", u"pop1", Popup, "OnClick", "qulist", {u"OpenOrdner"}},
        {"dateinamenumbenenner", u"pop2", Popup, "OnClick", "qulist", {u"OpenOrdner"}},
        {"dateinamenumbenenner", u"pop3", Popup, "OnClick", "qulist", {u"OpenOrdner"}},
        {"dateinamenumbenenner", u"pop4", Popup, "OnClick", "qulist", {u"OpenOrdner"}},
        {"einstausgabe", u"BitBtn6"},
        {"einstausgabe", u"BitBtn1"},
        {"einstausgabe", u"Button1"},
        {"einstausgabe", u"jazubom"},
        {"einstausgabe", u"Label2"},
        {"einstausgabe", u"Label7"},
        {"einstausgabe", u"Edit1", Type, "OnChange", "7"},
        {"searchfiles", u"cb_gk"},
        {"searchfiles", u"Button4"},
        {"searchfiles", u"Suchen"},
        {"searchfiles", u"bt_show_in_files"},
        {"searchfiles", u"bt_delete_found"},
        {"searchfiles", u"bt_delete_others"},
        {"searchfiles", u"bt_mark_filenames"},
        {"searchfiles", u"bt_mark_found"},
        {"searchfiles", u"erglist", Type, "OnKeyDown", "a"},
        {"searchfiles", u"pop0", Popup, "OnClick", "erglist", {u"Memo1=alpha", u"Suchen"}},
        {"searchfiles", u"pop1", Popup, "OnClick", "erglist", {u"Memo1=alpha", u"Suchen"}},
        {"searchfiles", u"pop2", Popup, "OnClick", "erglist", {u"Memo1=alpha", u"Suchen"}},
        {"searchfiles", u"pop3", Popup, "OnClick", "erglist", {u"Memo1=alpha", u"Suchen"}},
        {"searchfiles", u"pop4", Popup, "OnClick", "erglist", {u"Memo1=alpha", u"Suchen"}},
        {"profilspeichern", u"alle"},
        {"profilspeichern", u"Label7"},
        {"profilspeichern", u"Button1"},
        {"profilspeichern", u"Button2"},
        {"bugreport_de", u"Label2"},
        {"bugreport_de", u"Label3"},
        {"bugreport_de", u"Button1"},
        {"bugreport_en", u"Label2"},
        {"bugreport_en", u"Label3"},
        {"bugreport_en", u"Button1"},
        {"transform", u"Label7"},
        {"transform", u"BitBtn2"},
        {"transform", u"BitBtn6"},
        {"transform", u"BitBtn3"},
        {"transform", u"cb_auswahl", Choose, "OnChange"},
        {"transform", u"liste", Type, "OnKeyDown"},
        {"einstregex", u"cb_caseinsensitive_i"},
        {"einstregex", u"cb_multiline_m"},
        {"einstregex", u"cb_singleline_s"},
        {"einstregex", u"cb_greedymode_g"},
        {"einstregex", u"cb_whitespacecomments_x"},
        {"einstregex", u"Label7"},
        {"einstregex", u"Label10"},
        {"einstregex", u"Button1"},
        {"einstregex", u"Button2"},
        {"einstregex", u"Button3"},
        {"einstshortcuts", u"KonfigAn"},
        {"einstshortcuts", u"KonfigAus"},
        {"einstshortcuts", u"SendenAnAn"},
        {"einstshortcuts", u"SendenAnAus"},
        {"einstshortcuts", u"OrdnerAn"},
        {"einstshortcuts", u"OrdnerAus"},
        {"einstshortcuts", u"AlleDateienAn"},
        {"einstshortcuts", u"AlleDateienAus"},
        {"einstshortcuts", u"BeliebigeDateienAn"},
        {"einstshortcuts", u"BeliebigeDateienAus"},
        {"einstshortcuts", u"Label70"},
        {"einstshortcuts", u"OK"},
        {"replace_import", u"cb", Type, "OnChange"},
        {"replace_import", u"bt_save"},
        {"replace_import", u"bt_add_to_actionlist"},
        {"replace_import", u"bt_replace_actionlist"},
        {"replace_import", u"bt_from_actionlist"},
        {"replace_import", u"bt_reverselist"},
        {"replace_import", u"bt_del"},
        {"changecoding", u"Label7"},
        {"changecoding", u"Button2"},
        {"changecoding", u"Button1"},
        {"changecoding", u"cb", Type, "OnKeyPress"},
        {"inputselectfilter", u"Button1"},
        {"inputselectfilter", u"Button2"},
        {"csv_order", u"BitBtn1"},
        {"csv_order", u"Button1"},
        {"csv_order", u"Button2"},
        {"csv_editing", u"cb_col", Choose, "OnChange"},
        {"csv_editing", u"Button3"},
        {"csv_editing", u"Button4"},
        {"csv_editing", u"Button5"},
        {"csv_editing", u"Button6"},
        {"csv_editing", u"Button1"},
        {"csv_editing", u"Button2"},
        {"csv_editing", u"csv_liste", Type, "OnKeyDown", "a"},
        {"dialog_upgrade", u"Label6"},
        {"dialog_upgrade", u"OK"},
        {"sm_filter", u"alle", Click, "OnClick", "", {u"auswahl"}},
        {"sm_filter", u"auswahl"},
        {"sm_filter", u"Button1"},
    };
    for (const char16_t* tick : {u"cb_txt_allg", u"cb_txt_web", u"cb_txt_prog", u"cb_txt_sys",
                                 u"cb_txt_sons", u"cb_txt_benutzer"})
        rows.push_back({"sm_filter", tick, Click, "OnClick", "", {u"auswahl"}});
    for (const char* zplus : {"zplus_ers_suche", "zplus_ers_ers", "zplus_ers_deltext",
                              "zplus_ers_anfuegen", "zplus_ers_zeile", "zplus_del_zeile"})
        rows.push_back({zplus, u"Memo1", Type, "OnChange"});
    return rows;
}

// Shown controls the sweep leaves out: the Parts give them no handler (or, for one, the
// handler cannot be reached here).
struct NoHandler {
    const char* window;
    std::vector<const char16_t*> controls;
    const char* reason;
};

const std::vector<NoHandler>& ControlsWithoutHandler() {
    static const std::vector<NoHandler> list = {
        {"prog",
         {u"inp_uv", u"vor_showfile", u"out_deleteoriginal", u"out_onlyselected",
          u"out_onlyifchanged"},
         "options read when a folder is added, a preview is drawn or a run starts"},
        {"prog",
         {u"act_ers_casesensitive",
          u"act_ers_zeile_suchen",
          u"act_anfuegen_vorn",
          u"act_anfuegen_hinten",
          u"act_anfuegen_pos_rb",
          u"act_anfuegen_pos",
          u"act_anfuegen_datei",
          u"act_anfuegen_jedezeile",
          u"act_anfuegen_zeile_rb",
          u"act_anfuegen_zeile",
          u"act_anfuegen_zeile_txt_rb",
          u"act_anfuegen_zeile_txt",
          u"act_anfuegen_zeile_txt_gk",
          u"act_del_casesensitive",
          u"act_del_zeile_leere",
          u"act_del_zeile_whitespace",
          u"act_del_zeile_doppelte",
          u"act_del_zeile_text_del",
          u"act_del_zeile_text_keep",
          u"act_del_zeile_text_anfang",
          u"act_del_zeile_text_grkl",
          u"act_del_zeile_text_leer",
          u"act_html_reduzieren",
          u"act_html_ersetzen",
          u"act_html_ersetzen_eig",
          u"act_html_ersetzen_reverse",
          u"act_html_ersetzen_reverse_eig",
          u"act_html_linkmails",
          u"act_html_linkwebpages",
          u"act_html_tagsentfernen",
          u"act_zeilen_umbruchweg",
          u"act_zeilen_umbruchweg_intelligent",
          u"act_zeilen_umbruchweg_leerzeichen",
          u"act_zeilen_sort",
          u"act_zeilen_sort_abcb",
          u"act_zeilen_sort_abed",
          u"act_zeilen_laenge",
          u"act_zeilen_trimleft",
          u"act_zeilen_trimright",
          u"act_zeilen_nummern",
          u"act_zeilen_nummern5",
          u"act_sons_uppercase",
          u"act_sons_lowercase",
          u"act_sons_uppercasebegin",
          u"act_sons_mixedcase",
          u"act_sons_keine",
          u"act_sons_ucline",
          u"act_dateizus_einzeln",
          u"act_dateizus_vorschaueinzeln",
          u"act_dateizus_absatz",
          u"act_dateizus_text",
          u"act_dateisplit_trenn_exakt",
          u"act_dateisplit_trenn_zeile",
          u"act_dateisplit_regex",
          u"act_dateisplit_suchtxtvorne",
          u"act_dateisplit_suchtxthinten",
          u"act_dateisplit_einzeln",
          u"act_dateisplit_remwhitespace",
          u"act_dateisplit_min",
          u"act_dateisplit_minlaenge",
          u"act_konst_all",
          u"act_transcript_umlaute",
          u"act_trans_reverse",
          u"act_trans_kleinzusatz",
          u"act_trans_grosszusatz",
          u"act_rbnewline_auto",
          u"act_rbnewline_manu",
          u"act_cbnewline",
          u"act_cbnl_check",
          u"act_csv_feldbegrenzer_immer",
          u"act_csv_feldbegrenzer_individuell",
          u"act_csv_feldbegrenzer_nie",
          u"act_csv_verkdatensatz",
          u"act_csv_order",
          u"act_csv_replace",
          u"act_csv_insert",
          u"act_csv_writing",
          u"act_csv_calc",
          u"act_csv_delcolumns"},
         "action settings the run and the preview read when they start (a tick changes "
         "nothing at once; the preview follows its own refresh)"},
        {"prog",
         {u"m_konfig_save_start"},
         "writes the start configuration beside the program, which every test program "
         "running at the same time reads; its writing is tried by the configuration tests"},
        {"sm_filter",
         {u"ed_txt_allg", u"ed_txt_web", u"ed_txt_prog", u"ed_txt_sys", u"ed_txt_sons",
          u"ed_txt_benutzer", u"cb_asciicheck"},
         "the extension lists and the text check are read when a folder is added"},
        {"dateinamenumbenenner", {u"uv"}, "read when the folder is listed"},
        {"einstausgabe",
         {u"rb_beibehalten", u"rb_ansi", u"rb_utf7", u"rb_utf7ansi", u"rb_utf8", u"rb_utf8bom",
          u"rb_utf16le", u"rb_utf_be", u"rb_utf32le", u"rb_utf32be"},
         "the encoding is taken over when the window is confirmed"},
        {"searchfiles", {u"Memo1", u"cb_regex"}, "the search reads them when it starts"},
        {"profilspeichern",
         {u"act_ers_zeile", u"act_ers_text", u"act_anfuegen", u"act_del_text", u"act_del_zeile",
          u"act_html", u"act_zeilen", u"act_sonstige", u"act_dateizus", u"act_konstanten",
          u"act_dateisplit", u"act_transcript"},
         "the groups a profile keeps, read when it is saved"},
        {"transform", {u"Edit1", u"Edit2"}, "read by the add button"},
        {"einstregex",
         {u"zk_word", u"zk_space", u"zk_lineseparators"},
         "character classes taken over by the OK button"},
        {"einstshortcuts", {u"beldateien"}, "the extensions read by the buttons beside it"},
        {"replace_import",
         {u"liste", u"ed_delimiter", u"cb_linebreak", u"ed_linebreak", u"rb_reg0", u"rb_reg1",
          u"rb_reg2", u"rb_reg_individuell", u"cb_auto_clear"},
         "the list's text and options, read by the buttons"},
        {"changecoding", {u"jazubom"}, "read when the files are rewritten"},
        {"inputselectfilter",
         {u"Edit1", u"Edit2", u"rb_ja_ja", u"rb_ja_nein", u"rb_ja_nix", u"rb_nein_ja",
          u"rb_nein_nein", u"rb_nein_nix"},
         "the marking rule, read by its button"},
        {"csv_editing",
         {u"ed_suchen",
          u"ed_ersetzen",
          u"cb_suchen_regex",
          u"cb_ersetzen_regex",
          u"cb_ersetzen_caseinsensitive",
          u"csv_onlylist",
          u"ed_insert",
          u"rb_insert_vorne",
          u"rb_insert_hinten",
          u"rb_insert_position",
          u"ed_insert_position",
          u"rb_insert_ifempty",
          u"rb_insert_ifnotempty",
          u"rb_writing_uppercase",
          u"rb_writing_lowercase",
          u"rb_writing_trim",
          u"ed_calc_value",
          u"rb_calc_plus",
          u"rb_calc_minus",
          u"rb_calc_mal",
          u"rb_calc_div",
          u"ed_delcolumns"},
         "the step's settings, read by the add buttons of each page"},
        {"hilfe", {u"hilfe_text"}, "the help text, read only"},
        {"hilfe_en", {u"hilfe_text"}, "the help text, read only"},
        {"sm_bearbeitung", {u"OK"}, "hidden; the progress window is left by its cancel button"},
        {"einstshortcuts",
         {u"AlsAdminStarten"},
         "its handler runs only while a shell folder cannot be written: the button is "
         "disabled otherwise (the shell integration tests try it)"},
    };
    return list;
}

// A test with every window built, the working window listing one file, nothing outside
// the test touched (links recorded, shell folders temporary, modal windows answered).
class Sweep : public ::testing::Test {
protected:
    void Build(bool English) {
        folder.Write("a.txt", "alpha\r\nbeta\r\n");
        windows = std::make_unique<ProgramWindows>(English ? u"en" : u"de");
        windows->ShowAsStarted();
        TypeInto(Working().inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(Working().qulist->Items().Count(), 1);
    }
    void TearDown() override { windows.reset(); }
    Tprog& Working() const { return windows->Working(); }
    TForm* Form(const char* Name) const {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->Name() == U16(Name)) return Screen->Forms(i);
        return nullptr;
    }

    TempXdgHomes xdg;
    TempFolder folder;
    std::unique_ptr<ProgramWindows> windows;
    // A folder chooser is answered with the test's folder, everything else cancelled.
    ScopedModalInterceptor answers{[this](TModalRequest& r) {
        modals.push_back(U8(r.Caption) + " / " + U8(r.Text));
        if (r.Kind != TModalKind::Folder) return 0;
        r.Answer = U16(folder.Path().string());
        return 1;
    }};
    std::vector<std::string> modals;
    std::vector<WideString> browsed;
    struct BrowserRecord {
        TBrowserRecorder saved;
        explicit BrowserRecord(std::vector<WideString>& To)
            : saved(SetBrowserRecorder([&To](const WideString& a) { To.push_back(a); })) {}
        ~BrowserRecord() { SetBrowserRecorder(saved); }
    } recorder{browsed};
};

// The first row of a list view clicked (Button) at its centre; the list's centre when it
// has no rows.
void ClickFirstRow(TControl* List, Qt::MouseButton Button) {
    auto* view = static_cast<QTreeView*>(List->Widget());
    const QModelIndex first = view->model()->index(0, 0);
    const QRect r = first.isValid() ? view->visualRect(first) : view->viewport()->rect();
    ClickWidgetAt(view->viewport(), r.center(), Button);
}

// Brings a control on screen as a person would: the page holding it chosen by its tab, the
// action group holding it unfolded (its fold button clicked), the action box scrolled to
// it.
void Reveal(TForm& Form, TControl* C) {
    for (TWinControl* up = C->Parent(); up && up != &Form; up = up->Parent()) {
        if (auto* sheet = dynamic_cast<TTabSheet*>(up); sheet && !sheet->Widget()->isVisible()) {
            QTabBar* tabs = sheet->PageControl()->TabBar();
            ClickWidgetAt(tabs, tabs->tabRect(sheet->PageIndex()).center());
        }
        const WideString name = up->Name();
        if (name.starts_with(u"apanel") && !up->Visible()) {
            WideString header = name;
            header[header.find_last_of(u'1')] = u'0';
            auto* head = dynamic_cast<TWinControl*>(Form.FindComponent(header));
            ASSERT_NE(head, nullptr) << U8(header);
            TControl* fold = nullptr; // the fold button, or the group's only tick box
            for (int i = 0; i < head->ControlCount(); ++i)
                if (dynamic_cast<TBitBtn*>(head->Controls(i)) || !fold) fold = head->Controls(i);
            ClickCentre(fold);
        }
    }
    QApplication::processEvents();
    for (TWinControl* up = C->Parent(); up; up = up->Parent())
        if (auto* box = dynamic_cast<TScrollBox*>(up)) box->ScrollInView(C);
    QApplication::processEvents();
}

// What a person does to a control before the row's input: "name=text" types the text
// into it; a list's first row is chosen, a memo typed into, anything else clicked.
void Prepare(TForm& Form, WideStringView Step) {
    const size_t typed = Step.find(u'=');
    const WideString name(Step.substr(0, typed));
    auto* c = dynamic_cast<TControl*>(Form.FindComponent(name));
    ASSERT_NE(c, nullptr) << U8(name);
    Reveal(Form, c);
    if (typed != WideStringView::npos)
        TypeInto(c, QString::fromStdU16String(WideString(Step.substr(typed + 1))));
    else if (dynamic_cast<TListView*>(c))
        ClickFirstRow(c, Qt::LeftButton);
    else if (dynamic_cast<TMemo*>(c))
        TypeInto(c, "x");
    else
        ClickCentre(c);
}

class SweepRow : public Sweep, public ::testing::WithParamInterface<Row> {
protected:
    // What the handlers of the rows that matter most leave behind, seen beside the trace.
    void ExpectEffect(const Row& R) {
        const std::string key = std::string(R.window) + "." + U8(R.control) + "." + R.event;
        Tprog& p = Working();
        auto status = [&] { return p.qulist->Items().Item(0)->SubItems().Get(4); };
        auto tag = [&](const char16_t* Name) {
            return dynamic_cast<TComponent*>(Form(R.window)->FindComponent(Name))->Tag;
        };
        const std::map<std::string, std::function<void()>> effects = {
            // The list's one file is converted: nothing changes, so nothing is written.
            {"prog.durchfuehren.OnClick", [&] { EXPECT_EQ(status(), u"Unverändert"); }},
            {"prog.m_datei_konvert.OnClick", [&] { EXPECT_EQ(status(), u"Unverändert"); }},
            {"prog.inp_deleteall.OnClick", [&] { EXPECT_EQ(p.qulist->Items().Count(), 0); }},
            {"prog.close_input.OnClick",
             [&] {
                 EXPECT_FALSE(p.box_dat->Widget()->isVisible());
                 EXPECT_TRUE(p.max_input->Widget()->isVisible());
             }},
            {"prog.max_input.OnClick", [&] { EXPECT_TRUE(p.box_dat->Widget()->isVisible()); }},
            {"prog.act_ers_text.OnClick", [&] { EXPECT_TRUE(p.apanel11->Widget()->isVisible()); }},
            {"prog.m_einst_sprache_english.OnClick",
             [&] { EXPECT_EQ(p.durchfuehren->Caption(), u"Convert and Save"); }},
            {"prog.laspenden.OnClick", [&] { EXPECT_EQ(browsed.size(), 1u); }},
            {"prog.m_datei_open.OnClick", [&] { EXPECT_EQ(modals.size(), 1u); }},
            {"prog.act_konst_start.OnKeyPress",
             [&] { EXPECT_NE(p.act_konst_start->Text().find(u'5'), WideString::npos); }},
            {"start.Image1.OnClick", [&] { EXPECT_FALSE(windows->Start().Visible()); }},
            {"hilfe.btclose.OnClick", [&] { EXPECT_FALSE(Form("hilfe")->Visible()); }},
            {"sm_achtung.NeinAlle.OnClick",
             [&] {
                 EXPECT_EQ(tag(u"Nein"), 1);
                 EXPECT_EQ(tag(u"OKalle"), 1);
             }},
            {"sm_bearbeitung.Abbrechen.OnClick", [&] { EXPECT_EQ(tag(u"Abbrechen"), 1); }},
        };
        if (auto it = effects.find(key); it != effects.end()) it->second();
    }
};

TEST_P(SweepRow, InputReachesTheHandler) {
    const Row& row = GetParam();
    if (row.awaiting) GTEST_SKIP() << "awaiting " << row.awaiting;
    Build(row.english);
    TForm* form = Form(row.window);
    ASSERT_NE(form, nullptr) << row.window;
    if (!form->Visible()) form->Show();
    QApplication::processEvents();
    TComponent* target = form->FindComponent(row.control);
    ASSERT_NE(target, nullptr) << "no such component";
    auto* control = dynamic_cast<TControl*>(target);
    for (const char16_t* first : row.before)
        Prepare(*form, first);
    if (control) {
        Reveal(*form, control);
        ASSERT_TRUE(control->Widget()->isVisible()) << "not on screen";
    }

    HandlerTrace trace;
    switch (row.input) {
    case Input::Click:
        if (dynamic_cast<TListView*>(control))
            ClickFirstRow(control, Qt::LeftButton);
        else
            ClickCentre(control);
        break;
    case Input::DoubleClick:
        DoubleClickCentre(control);
        break;
    case Input::Type:
        TypeInto(control, QString::fromUtf8(row.text));
        break;
    case Input::Drag: {
        // Across the bar: sideways for a standing bar, up and down for a lying one. A
        // neighbour of the bar grows or shrinks with it.
        const bool standing = control->Width() < control->Height();
        const QPoint by = standing ? QPoint(-40, 0) : QPoint(0, 40);
        std::vector<QSize> before;
        for (int i = 0; i < control->Parent()->ControlCount(); ++i)
            before.push_back(control->Parent()->Controls(i)->Widget()->size());
        DragCentreBy(control, by);
        QApplication::processEvents();
        bool moved = false;
        for (int i = 0; i < control->Parent()->ControlCount(); ++i) {
            const QSize now = control->Parent()->Controls(i)->Widget()->size();
            const int change = standing ? now.width() - before[size_t(i)].width()
                                        : now.height() - before[size_t(i)].height();
            moved = moved || std::abs(change) >= 30;
        }
        EXPECT_TRUE(moved) << "no neighbour of the bar followed it";
        break;
    }
    case Input::Leave:
        ClickCentre(control);
        PressKeyIn(control->Widget(), Qt::Key_Tab);
        break;
    case Input::Choose: {
        auto* box = dynamic_cast<TComboBox*>(control);
        ASSERT_NE(box, nullptr);
        const int count = box->Items().Count();
        ASSERT_GT(count, 1);
        ChooseComboItem(box, box->ItemIndex() + 1 < count ? box->ItemIndex() + 1 : 0);
        break;
    }
    case Input::Menu:
        ChooseMenuItem(dynamic_cast<TMenuItem*>(target));
        break;
    case Input::Popup: {
        auto* list = dynamic_cast<TControl*>(form->FindComponent(U16(row.text)));
        ASSERT_NE(list, nullptr) << row.text;
        ClickFirstRow(list, Qt::LeftButton);
        ClickFirstRow(list, Qt::RightButton);
        ChooseMenuItem(dynamic_cast<TMenuItem*>(target));
        break;
    }
    }
    QApplication::processEvents();
    EXPECT_TRUE(trace.Ran(target, row.event)) << "the " << row.event << " handler did not run ("
                                              << trace.calls.size() << " handlers ran)";
    ExpectEffect(row);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name = std::string(info.param.window) + "_" + U8(info.param.control) + "_" +
                       std::string(info.param.event + 2) + "_" + std::to_string(info.index);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(WorkingWindow, SweepRow, ::testing::ValuesIn(WorkingWindowRows()),
                         RowName);
INSTANTIATE_TEST_SUITE_P(Dialogs, SweepRow, ::testing::ValuesIn(DialogRows()), RowName);

// Every shown button, tick box, radio button, combo box, edit, memo and menu item of every
// window is in the sweep or in the list of controls without a handler.
TEST_F(Sweep, EveryShownControlIsSweptOrListedWithItsReason) {
    std::set<std::pair<std::string, std::u16string>> known;
    for (const auto& rows : {WorkingWindowRows(), DialogRows()})
        for (const Row& r : rows)
            known.insert({r.window, r.control});
    for (const NoHandler& n : ControlsWithoutHandler())
        for (const char16_t* c : n.controls)
            known.insert({n.window, c});
    Build(false);
    std::vector<std::string> unlisted;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        if (!form->Visible()) form->Show();
        QApplication::processEvents();
        for (int j = 0; j < form->ComponentCount(); ++j) {
            TComponent* c = form->Components(j);
            const bool kind = dynamic_cast<TButtonControl*>(c) || dynamic_cast<TComboBox*>(c) ||
                              dynamic_cast<TEdit*>(c) || dynamic_cast<TMemo*>(c);
            auto* item = dynamic_cast<TMenuItem*>(c);
            const bool shown =
                item ? item->Visible() && item->Count() == 0 && item->Caption() != u"-"
                     : kind && static_cast<TControl*>(c)->Widget()->isVisible();
            if (shown && !known.contains({U8(form->Name()), c->Name()}))
                unlisted.push_back(U8(form->Name()) + "." + U8(c->Name()));
        }
    }
    EXPECT_TRUE(unlisted.empty()) << "shown, but neither swept nor listed without handler: "
                                  << ::testing::PrintToString(unlisted);
}

} // namespace
