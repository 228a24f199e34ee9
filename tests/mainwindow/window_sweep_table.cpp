#include "mainwindow/WindowSweepTable.h"

#include <string>

namespace window_sweep {

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

} // namespace window_sweep
