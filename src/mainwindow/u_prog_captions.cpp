// The captions and hints of the working window's controls and menu items, German and
// English. The language table of the window sets them with everything else it sets
// (message texts, column titles, list tokens); the window's construction sets the German
// ones as design captions. A caption's "&" marks a hot key, as the class library reads it:
// a character "&" is written "&&".
#include "mainwindow/u_prog.h"

namespace {

struct ControlCaption {
    const char16_t* name;
    const char16_t* de;
    const char16_t* en;
    const char16_t* hintDe = nullptr;
    const char16_t* hintEn = nullptr;
};

// clang-format off
const ControlCaption kCaptions[] = {
    // Main menu.
    {u"m_datei", u"Datei", u"File"},
    {u"m_datei_open", u"Datei öffnen", u"Open Files"},
    {u"m_datei_ordner", u"Ordner mit Dateien öffnen..", u"Open Folder with Files.."},
    {u"m_datei_search", u"Dateien durchsuchen..", u"Search in Files.."},
    {u"m_datei_konvert", u"Alle Dateien Konvertieren und Speichern", u"Convert and Save all Files"},
    {u"m_datei_changes", u"Änderungen an aktueller Datei speichern", u"Save Changes on Current File"},
    {u"m_onthefly", u"On-The-Fly Konvertierung", u"On-The-Fly Conversion"},
    {u"m_dateiliste_save", u"Dateiliste speichern..", u"Save File List.."},
    {u"m_dateiliste_open", u"Dateiliste öffnen..", u"Open File List.."},
    {u"m_datei_delmark", u"Markierte Dateien aus Dateiliste löschen", u"Delete selected Files from List"},
    {u"m_datei_delall", u"Ganze Dateiliste löschen", u"Delete all Files from List"},
    {u"m_datei_vorschauaktualisieren", u"Vorschau aktualisieren", u"Refresh Preview"},
    {u"m_datei_vorschau", u"Vorschau", u"Preview"},
    {u"m_datei_dateiumb", u"Dateien nur umbenennen..", u"Only rename Files.."},
    {u"m_datei_code", u"Nur Kodierung der Dateien ändern..", u"Only change File Encoding.."},
    {u"m_bug", u"Fehler oder Verbesserung melden..", u"Report Bug or Improvement.."},
    {u"m_datei_beenden", u"Beenden", u"Close"},
    {u"m_einst", u"Einstellungen", u"Settings"},
    {u"m_einst_ausgabe", u"Ausgabe Einstellungen..", u"Output Settings.."},
    {u"m_einst_regex", u"Einstellungen für Reguläre Ausdrücke (RegEx)..", u"Settings regarding Regular Expressions (RegEx).."},
    {u"m_einst_filter", u"Filter für Ordnersuche..", u"Filter for Search in Folder.."},
    {u"m_einst_vor_hg", u"Hintergrundfarbe Vorschau..", u"Background Color Preview.."},
    {u"m_einst_vor_schrift", u"Schrift Vorschau..", u"Font Preview.."},
    {u"m_einst_voralt_zu", u"Zeilenumbruch Vorschau der alten Datei", u"Linebreak in Preview of Old File"},
    {u"m_einst_vorneu_zu", u"Zeilenumbruch Vorschau der neuen Datei", u"Linebreak in Preview of New File"},
    {u"m_einst_autocloseactions", u"Aktionen automatisch minimieren", u"Minimize Actions automatically"},
    {u"m_einst_vorschau", u"Vorschau aktivieren/deaktivieren", u"Activate/Deactivate Preview"},
    {u"m_einst_nlkorrektur", u"Zeilenumbrüche in Vorschau korrekt darstellen", u"Show New Lines in Preview correctly"},
    {u"m_einstshortcuts", u"Verknüpfungen mit Dateien und Ordnern..", u"Shortcuts with Files and Folders.."},
    {u"m_einst_verkn", u"Dateiverknüpfung", u"File Association"},
    {u"m_einst_sendenan", u"Senden an", u"Send To"},
    {u"m_einst_sprache", u"Sprache", u"Language"},
    {u"m_einst_sprache_deutsch", u"Deutsch", u"Deutsch"},
    {u"m_einst_sprache_english", u"English", u"English"},
    {u"m_anz", u"Ansicht", u"View"},
    {u"m_anz_input", u"Input", u"Input"},
    {u"m_anz_vorschau", u"Vorschau", u"Preview"},
    {u"m_anz_aktionen", u"Aktionen", u"Actions"},
    {u"m_anz_output", u"Speicheroptionen", u"Saving Options"},
    {u"m_konfig", u"Konfiguration", u"Configuration"},
    {u"m_konfig_save", u"Aktuelle Konfiguration speichern", u"Save current Configuration"},
    {u"m_konfig_save_start", u"Aktuelle Konfiguration als Startkonfiguration speichern (auto.qvr)", u"Save current Configuration as Start Configuration (auto.qvr)"},
    {u"m_konfig_save_profil", u"Profil speichern..", u"Save Profile.."},
    {u"m_konfig_load", u"Konfiguration oder Profil laden", u"Load Configuration or Profile"},
    {u"m_konfig_autosave", u"Konfiguration beim Beenden automatisch speichern", u"Auto Save Settings on Exit"},
    {u"m_konfig_autosave_nie", u"Nicht speichern", u"Never"},
    {u"m_konfig_autosave_alles", u"Alles speichern", u"Save all"},
    {u"m_konfig_autosave_profil", u"Profil speichern", u"Save Profile"},
    {u"m_konfig_standard", u"Alle Einstellungen zurücksetzen", u"Reset all Settings"},
    {u"m_konfig_start", u"Startkonfiguration (auto.qvr) laden wenn möglich", u"Load Start Configuration (auto.qvr) if possible"},
    {u"m_tools", u"Tools", u"Tools"},
    {u"m_tools_dateiumb", u"Dateinamen umbenennen..", u"File Renamer.."},
    {u"m_soft_de", u"Software", u"Software"},
    {u"m_software_de_beschreibung", u"Programmbeschreibung", u"Programmbeschreibung"},
    {u"m_soft_en", u"Software", u"Software"},
    {u"m_software_en_description", u"Program Description", u"Program Description"},
    {u"m_info_de", u"Hilfe und Info", u"Hilfe und Info"},
    {u"m_info_de_hilfe", u"Hilfe und Einführung", u"Hilfe und Einführung"},
    {u"m_info_de_empfehlungen", u"Empfehlungen", u"Empfehlungen"},
    {u"m_info_de_software", u"Software", u"Software"},
    {u"m_info_de_spenden", u"Wieso Spenden?", u"Wieso Spenden?"},
    {u"m_bug_de", u"Fehler oder Verbesserung melden..", u"Fehler oder Verbesserung melden.."},
    {u"m_info_en", u"Help and Information", u"Help and Information"},
    {u"m_info_en_intro", u"Help and Introduction", u"Help and Introduction"},
    {u"m_info_en_regards", u"Regards", u"Regards"},
    {u"m_info_en_software", u"Software", u"Software"},
    {u"m_info_en_donate", u"Why Donate?", u"Why Donate?"},
    {u"m_bug_en", u"Report Bug or Improvement..", u"Report Bug or Improvement.."},
    // Popup menu of the input list.
    {u"pop0", u"Öffnen..", u"Open.."},
    {u"pop1", u"Übergeordneten Ordner öffnen", u"Open corresponding Folder"},
    {u"pop2", u"Dateiinformationen anzeigen", u"Show File Information"},
    {u"pop5", u"Status markierter Dateien auf \"Neu\" setzen", u"Change Status of selected Files to \"New\""},
    {u"pop6", u"Status markierter Dateien auf \"Markiert\" setzen", u"Change Status of selected Files to \"Marked\""},
    {u"pop7", u"Status markierter Dateien auf \"Nicht markiert\" setzen", u"Change Status of selected Files to \"Not Marked\""},
    {u"pop8", u"Markierungen mit Filter..", u"Mark Files with Filter.."},
    {u"pop3", u"Markierte Dateien in die Zwischenablage kopieren", u"Copy selected Files to Clipboard"},
    {u"pop4", u"Markierte Dateien aus der Liste löschen", u"Delete selected Files from List"},
    // Box headers and their close pictures.
    {u"box_dat_top", u" Dateien", u" Files"},
    {u"box_vor_top", u" Vorschau", u" Preview"},
    {u"box_akt_top", u" Aktionen", u" Actions"},
    {u"box_sav_top", u" Speichern", u" Save"},
    {u"close_input", nullptr, nullptr, u"Input Bereich minimieren", u"Minimize Input Area"},
    {u"close_vorschau", nullptr, nullptr, u"Vorschau Bereich minimieren", u"Minimize Preview Area"},
    {u"close_actions", nullptr, nullptr, u"Aktionen Bereich minimieren", u"Minimize Actions Area"},
    {u"close_output", nullptr, nullptr, u"Speicheroptionen minimieren", u"Minimize Saving Options"},
    // Input box.
    {u"inp_openordner", u"Ordner Öffnen..", u"Open Folder.."},
    {u"inp_filter", u"Filter..", u"Filter.."},
    {u"inp_uv", u"Auch Unterverzeichnisse durchsuchen", u"Search all Subfolders"},
    {u"inp_ow", u"Ordnerinhalte überwachen", u"Watch Content of Folder"},
    {u"Label1", u"Ziehen Sie die zu bearbeitenden Dateien in die Liste oder öffnen Sie einen Ordner.", u"Drag the Files to be worked on to this List or open a Folder."},
    {u"inp_deleteselect", u"Markierte entfernen", u"Remove Selected"},
    {u"inp_deleteall", u"Alle entfernen", u"Remove All"},
    {u"inp_searchfiles", u"In Dateien Suchen", u"Search in Files"},
    {u"inp_select", u"Markieren..", u"Marking.."},
    // Preview box.
    {u"vor_okay", u"Vorschau", u"Preview"},
    {u"vor_showfile", u"Datei zeigen", u"Show File"},
    {u"AlteDateiSpeichern", u"Speichern", u"Save", u"Geänderte alte Datei speichern", u"Save the changed old File"},
    {u"vor_showalt", u"Alte Datei", u"Old File"},
    {u"vor_showneu", u"Neue Datei", u"New File"},
    {u"Label10", u"Alte Datei", u"Old File"},
    {u"Label11", u"Neue Datei", u"New File"},
    // Replace text.
    {u"act_ers_text", u"Ersetzen von Text", u"Replace Text"},
    {u"Label13", u"Suchen nach:", u"Search for:"},
    {u"act_ers_text_suchen_regex", u"Suche als RegEx", u"Search as RegEx"},
    {u"Label14", u"Ersetzen durch:", u"Replace with:"},
    {u"act_ers_text_ersetzen_regex", u"Ersetzen mit $1..$9", u"Replace with $1..$9"},
    {u"act_ers_casesensitive", u"Groß-/Kleinschreibung beachten", u"Case sensitive"},
    {u"act_ers_text_regex", u"RegEx Einstellungen..", u"RegEx Settings.."},
    {u"act_ers_weitere", u"Mehrfach-Ersetzungen", u"Multiple Replacements"},
    {u"act_ers_text_delete", u"Felder leeren", u"Clear Fields"},
    {u"act_ers_text_add", u"Hinzufügen", u"Add"},
    {u"act_ers_text_replace", u"Ersetzen", u"Replace"},
    {u"act_ers_text_delmark", u"Markierte löschen", u"Delete Selected"},
    {u"act_ers_text_all", u"Alle löschen", u"Delete All"},
    {u"BitBtn1", u"Ersetzungslisten..", u"Replacement Lists.."},
    // Replace lines.
    {u"act_ers_zeile", u"Ersetzen von Zeilen", u"Replace Lines"},
    {u"act_ers_zeile_rb_zeile", u"Zeilennummern", u"Line Numbers"},
    {u"act_ers_zeile_rb_text", u"Text", u"Text"},
    {u"act_ers_zeile_rb_regex", u"RegEx", u"RegEx"},
    {u"act_ers_zeile_la1", u"Zeilennummer(n):", u"Line Number(s):"},
    {u"act_ers_zeile_la2", u"Beispiel: \"1,7,39\"", u"Example: \"1,7,39\""},
    {u"Label15", u"Neuer Zeileninhalt:", u"New Content of Line:"},
    {u"act_ers_zeile_add", u"Hinzufügen", u"Add"},
    {u"act_ers_zeile_del", u"Felder leeren", u"Clear Fields"},
    {u"act_ers_zeile_delselect", u"Markierte löschen", u"Delete Selected"},
    // Insert.
    {u"act_anfuegen", u"Einfügen", u"Insert"},
    {u"Label16", u"Einzufügender Text:", u"Text to insert:"},
    {u"Label17", u"Wo in der Zeile:", u"Where in the Line:"},
    {u"act_anfuegen_vorn", u"Am Anfang", u"At the Beginning"},
    {u"act_anfuegen_hinten", u"Am Ende", u"At the End"},
    {u"act_anfuegen_pos_rb", u"Position:", u"Position:"},
    {u"Label18", u"In welchen Zeilen:", u"In which Lines:"},
    {u"act_anfuegen_datei", u"Einmal in der Datei", u"Once in the File"},
    {u"act_anfuegen_jedezeile", u"In jeder Zeile", u"In every Line"},
    {u"act_anfuegen_zeile_rb", u"In Zeile Nummer:", u"In Line Number:"},
    {u"act_anfuegen_zeile_txt_rb", u"In Zeilen mit Text:", u"In Lines with Text:"},
    {u"act_anfuegen_zeile_txt_gk", u"Groß/Klein", u"Match Case"},
    {u"act_anfuegen_add", u"Hinzufügen", u"Add"},
    {u"act_anfuegen_del", u"Felder leeren", u"Clear Fields"},
    {u"act_anfuegen_delselect", u"Markierte löschen", u"Delete Selected"},
    // Delete text.
    {u"act_del_text", u"Löschen von Text", u"Delete Text"},
    {u"Label19", u"Zu löschender Text:", u"Text to delete:"},
    {u"act_del_casesensitive", u"Groß-/Kleinschreibung beachten", u"Case sensitive"},
    {u"act_del_regex", u"Text als RegEx", u"Text as RegEx"},
    {u"act_del_text_add", u"Hinzufügen", u"Add"},
    {u"act_del_text_delete", u"Feld leeren", u"Clear Field"},
    {u"act_del_text_delselect", u"Markierte löschen", u"Delete Selected"},
    // Delete lines.
    {u"act_del_zeile", u"Löschen von Zeilen", u"Delete Lines"},
    {u"Label20", u"Zeilennummern (z.B. \"1-3,7\"):", u"Line Numbers (e.g. \"1-3,7\"):"},
    {u"Label21", u"Zeilen vom Ende (1 = letzte):", u"Lines from the End (1 = last):"},
    {u"Label22", u"Alle Zeilen nach Zeile:", u"All Lines after Line:"},
    {u"Label23", u"Zeilen mit weniger Zeichen als:", u"Lines with fewer Characters than:"},
    {u"Label24", u"Zeilen mit mehr Zeichen als:", u"Lines with more Characters than:"},
    {u"act_del_zeile_leere", u"Leere Zeilen löschen", u"Delete empty Lines"},
    {u"act_del_zeile_whitespace", u"Zeilen nur aus Leerzeichen und Tabs löschen", u"Delete Lines of Blanks and Tabs only"},
    {u"act_del_zeile_doppelte", u"Doppelte Zeilen löschen", u"Delete double Lines"},
    {u"Label25", u"Zeilen mit folgendem Text:", u"Lines containing this Text:"},
    {u"act_del_zeile_text_del", u"Diese Zeilen löschen", u"Delete these Lines"},
    {u"act_del_zeile_text_keep", u"Nur diese Zeilen behalten", u"Keep only these Lines"},
    {u"act_del_zeile_trenner", u"Jede Zeile ein Suchtext", u"Each Line is a Search Text"},
    {u"act_del_zeile_text_regex", u"Text als RegEx", u"Text as RegEx"},
    {u"act_del_zeile_text_anfang", u"Nur am Zeilenanfang", u"Only at Line Start"},
    {u"act_del_zeile_text_grkl", u"Groß-/Kleinschreibung beachten", u"Case sensitive"},
    {u"act_del_zeile_text_leer", u"Leere Zeilen nicht beachten", u"Leave empty Lines alone"},
    // HTML.
    {u"act_html", u"HTML Aktionen", u"HTML Actions"},
    {u"act_html_reduzieren", u"Leerräume verkleinern", u"Compact White Space"},
    {u"act_html_ersetzen", u"Sonderzeichen in HTML-Entitäten umwandeln", u"Special Characters to HTML Entities"},
    {u"act_html_ersetzen_eig", u"&& < > \" in HTML-Entitäten umwandeln", u"&& < > \" to HTML Entities"},
    {u"act_html_ersetzen_reverse", u"HTML-Entitäten in Sonderzeichen umwandeln", u"HTML Entities to Special Characters"},
    {u"act_html_ersetzen_reverse_eig", u"&&lt; &&gt; &&amp; &&quot; zurückwandeln", u"&&lt; &&gt; &&amp; &&quot; back to Characters"},
    {u"act_html_linkmails", u"E-Mail-Adressen verlinken", u"Link E-Mail Addresses"},
    {u"act_html_linkwebpages", u"Webadressen verlinken", u"Link Web Addresses"},
    {u"act_html_tagsentfernen", u"HTML-Tags entfernen", u"Remove HTML Tags"},
    // Line tools.
    {u"act_zeilen", u"Zeilen Aktionen", u"Line Actions"},
    {u"act_zeilen_umbruchweg", u"Umgebrochene Zeilen zusammenfügen", u"Join wrapped Lines"},
    {u"Label26", u"Toleranz unter der längsten Zeile:", u"Tolerance below the longest Line:"},
    {u"Label28", u"Zeichen", u"Chars"},
    {u"act_zeilen_umbruchweg_intelligent", u"Umbrüche nach Satzende und vor Leerzeilen behalten", u"Keep Breaks after Sentences and before empty Lines"},
    {u"act_zeilen_umbruchweg_leerzeichen", u"Mit Leerzeichen zusammenfügen", u"Join with a Blank"},
    {u"act_zeilen_sort", u"Zeilen sortieren", u"Sort Lines"},
    {u"act_zeilen_sort_abcb", u"Ab Position oder Text sortieren:", u"Sort from Position or Text:"},
    {u"act_zeilen_laenge", u"Zeilen umbrechen, länger als:", u"Wrap Lines longer than:"},
    {u"Label29", u"Zeichen", u"Chars"},
    {u"act_zeilen_trimleft", u"Leerzeichen am Anfang weg", u"Trim Line Start"},
    {u"act_zeilen_trimright", u"Leerzeichen am Ende weg", u"Trim Line End"},
    {u"act_zeilen_nummern", u"Zeilen nummerieren", u"Number Lines"},
    {u"Label27", u"Beginnen mit:", u"Start with:"},
    {u"act_zeilen_nummern5", u"Nur jede fünfte Nummer zeigen", u"Show only every fifth Number"},
    // Letter case.
    {u"act_sonstige", u"Groß- und Kleinschreibung", u"Upper and Lower Case"},
    {u"act_sons_uppercase", u"GROSSBUCHSTABEN", u"UPPER CASE"},
    {u"act_sons_lowercase", u"kleinbuchstaben", u"lower case"},
    {u"act_sons_uppercasebegin", u"Erster Buchstabe Jedes Wortes Groß", u"First Letter Of Each Word Upper"},
    {u"act_sons_mixedcase", u"ZuFäLlIgE gRoSs- uNd KlEiNsChReIbUnG", u"RaNdOm UpPeR aNd LoWeR cAsE"},
    {u"act_sons_keine", u"Nichts ändern", u"No Change"},
    {u"act_sons_ucline", u"Erster Buchstabe jeder Zeile groß", u"First Letter of each Line upper"},
    // Merge files.
    {u"act_dateizus", u"Dateien zusammenfügen", u"Join Files"},
    {u"act_dateizus_einzeln", u"Aktionen auf jede Datei einzeln anwenden", u"Apply Actions to each File"},
    {u"act_dateizus_vorschaueinzeln", u"Vorschau nur der gewählten Datei", u"Preview only the selected File"},
    {u"act_dateizus_absatz", u"Zeilenumbruch nach jeder Datei", u"Line Break after each File"},
    {u"act_dateizus_text", u"Diesen Text vor jede Datei setzen:", u"Put this Text before each File:"},
    // Split files.
    {u"act_dateisplit", u"Dateien splitten", u"Split Files"},
    {u"Label30", u"Trennen bei:", u"Split at:"},
    {u"act_dateisplit_trenn_exakt", u"Genau diesem Text", u"Exactly this Text"},
    {u"act_dateisplit_trenn_zeile", u"Zeilen mit diesem Text", u"Lines with this Text"},
    {u"act_dateisplit_regex", u"Trenntext als RegEx", u"Separator as RegEx"},
    {u"act_dateisplit_suchtxtvorne", u"Trenntext vor dem nächsten Teil behalten", u"Keep Separator before the next Part"},
    {u"act_dateisplit_suchtxthinten", u"Trenntext am Ende des Teils behalten", u"Keep Separator at the End of the Part"},
    {u"act_dateisplit_einzeln", u"Aktionen auf jeden Teil einzeln anwenden", u"Apply Actions to each Part"},
    {u"act_dateisplit_remwhitespace", u"Leerräume am Rand der Teile entfernen", u"Trim each Part"},
    {u"act_dateisplit_min", u"Nur Teile länger als:", u"Only Parts longer than:"},
    {u"Label31", u"Zeichen", u"Chars"},
    // File constants.
    {u"act_konstanten", u"Konstanten", u"Constants"},
    {u"Label32", u"Platzhalter wie %datei% oder %größe% in den Texten der Aktionen ersetzen.", u"Replace Placeholders such as %file% or %size% in the Texts of the Actions."},
    {u"Label33", u"Startwert für %num%:", u"Start Value of %num%:"},
    {u"act_konst_all", u"Konstanten auch im ganzen Text ersetzen", u"Replace Constants in the whole Text too"},
    {u"Label51", u"www.halvane.de", u"www.halvane.de"},
    // Transliteration.
    {u"act_transcript", u"Transkription und Transliteration", u"Transcription and Transliteration"},
    {u"Label34", u"Tabelle:", u"Table:"},
    {u"act_transcript_user", u"Bearbeiten..", u"Edit.."},
    {u"act_transcript_umlaute", u"Umlaute umschreiben (ä = ae)", u"Transcribe Umlauts (ä = ae)"},
    {u"act_trans_reverse", u"Tabelle umkehren", u"Reverse Table"},
    {u"act_trans_kleinzusatz", u"Zusätzlich in Kleinbuchstaben", u"Also in lower Case"},
    {u"act_trans_grosszusatz", u"Zusätzlich in Großbuchstaben", u"Also in upper Case"},
    {u"Label39", u"www.halvane.de", u"www.halvane.de"},
    // Line breaks.
    {u"act_newline", u"Zeilenumbrüche", u"Line Breaks"},
    {u"act_rbnewline_auto", u"Zeilenumbruch der Datei erkennen", u"Detect Line Break of File"},
    {u"act_rbnewline_manu", u"Alter Zeilenumbruch:", u"Old Line Break:"},
    {u"Label35", u"Gewählte Datei:", u"Selected File:"},
    {u"act_cbnewline", u"Umwandeln in:", u"Convert to:"},
    {u"act_cbnl_check", u"Nicht umwandeln, wenn alt und neu gleich", u"Do not convert when old and new are equal"},
    {u"act_newlinewindows", u"Zeilenumbrüche in Vorschau nicht umwandeln", u"Do not convert Line Breaks in Preview"},
    // Encoding.
    {u"act_convert", u"Kodierung", u"Encoding"},
    {u"Label36", u"Ausgabekodierung:", u"Output Encoding:"},
    {u"act_convert_label", u"Original beibehalten", u"Keep Original"},
    {u"act_convert_button1", u"Ausgabe Einstellungen..", u"Output Settings.."},
    {u"act_convert_button2", u"Nur Kodierung der Dateien ändern..", u"Only change File Encoding.."},
    {u"act_convert_label8", u"www.halvane.de", u"www.halvane.de"},
    // CSV.
    {u"act_csv", u"CSV Bearbeitung", u"CSV Editing"},
    {u"Label37", u"Trennzeichen:", u"Separator:"},
    {u"Label38", u"Datensatzende:", u"End of Record:"},
    {u"Label40", u"Feldbegrenzer:", u"Field Delimiter:"},
    {u"act_csv_feldbegrenzer_immer", u"Immer setzen", u"Always"},
    {u"act_csv_feldbegrenzer_individuell", u"Wie im Original", u"As in the Original"},
    {u"act_csv_feldbegrenzer_nie", u"Nie setzen", u"Never"},
    {u"act_csv_verkdatensatz", u"Leere Felder aus dem Datensatz davor füllen", u"Fill empty Fields from the Record before"},
    {u"act_csv_order", u"Spalten ordnen", u"Order Columns"},
    {u"act_csv_order_show", u"Einstellen..", u"Settings.."},
    {u"act_csv_replace", u"In Spalten ersetzen", u"Replace in Columns"},
    {u"act_csv_replace_show", u"Einstellen..", u"Settings.."},
    {u"act_csv_insert", u"In Spalten einfügen", u"Insert in Columns"},
    {u"act_csv_insert_show", u"Einstellen..", u"Settings.."},
    {u"act_csv_writing", u"Schreibweise der Spalten", u"Writing of Columns"},
    {u"act_csv_writing_show", u"Einstellen..", u"Settings.."},
    {u"act_csv_calc", u"Mit Spalten rechnen", u"Calculate in Columns"},
    {u"act_csv_calc_show", u"Einstellen..", u"Settings.."},
    {u"act_csv_delcolumns", u"Spalten löschen", u"Delete Columns"},
    {u"act_csv_delcolumns_show", u"Einstellen..", u"Settings.."},
    {u"Label47", u"www.halvane.de", u"www.halvane.de"},
    // Further options.
    {u"act_weitere", u"Weitere Funktionen", u"More Functions"},
    {u"Label42", u"Sie vermissen eine Funktion?", u"Missing a Function?"},
    {u"Label43", u"Schreiben Sie uns, welche Aktion Ihnen fehlt.", u"Tell us which Action you are missing."},
    {u"Label44", u"Wir erweitern den Quorbel nach Ihren Wünschen.", u"We extend the Quorbel by your Wishes."},
    {u"Label45", u"Zur Support-Seite..", u"To the Support Page.."},
    // Saving options.
    {u"out_overwrite", u"Originaldatei überschreiben", u"Overwrite Original File"},
    {u"out_newimage", u"Als neue Datei speichern:", u"Save as new File:"},
    {u"Label7", u"Ordner:", u"Folder:"},
    {u"outordnerbt", u"Ordner Wählen..", u"Choose Folder.."},
    {u"Label8", u"Dateiname:", u"Filename:"},
    {u"Label9", u"Format:", u"Format:"},
    {u"out_deleteoriginal", u"Originaldateien löschen", u"Delete Original Files"},
    {u"out_onlyselected", u"Nur Dateien mit Status \"Markiert\" bearbeiten", u"Only process files with status \"Marked\""},
    {u"out_onlyifchanged", u"Dateien nur im Falle einer Änderung speichern", u"Only save in case of a change"},
    // Bottom bar.
    {u"max_input", u"Input", u"Input", u"Input Bereich maximieren", u"Maximize Input Area"},
    {u"max_vorschau", u"Vorschau", u"Preview", u"Vorschau Bereich maximieren", u"Maximize Preview Area"},
    {u"max_aktionen", u"Aktionen", u"Actions", u"Aktionen Bereich maximieren", u"Maximize Actions Area"},
    {u"max_output", u"Speichern", u"Save", u"Speicheroptionen maximieren", u"Maximize Saving Options"},
    {u"laspenden", u"Spenden - Quorbel unterstützen", u"Donate - Support Quorbel"},
    {u"durchfuehren", u"Konvertieren und Speichern", u"Convert and Save"},
};
// clang-format on

// Labels that show a value of the window (the row count, the sizes of the preview texts,
// the line break of the shown file), with their design texts. The language table replaces
// only a design text of either language: a value the window has put there stays.
const ControlCaption kValueCaptions[] = {
    {u"la_anzahl", u"0 Dateien", u"0 Files"},
    {u"Label12", u"0,000 KB", u"0.000 KB"},
    {u"Label48", u"0,000 KB", u"0.000 KB"},
    {u"Label49", u"Unknown", u"Unknown"},
};

// Column titles of the list views (German design titles first).
struct ColumnTitles {
    const char16_t* list;
    std::initializer_list<const char16_t*> de, en;
};
const ColumnTitles kColumns[] = {
    {u"qulist",
     {u"Name", u"Format", u"Typ", u"Codepage", u"Größe", u"Status", u"Dateipfad"},
     {u"Name", u"Format", u"Type", u"Coding", u"Size", u"Status", u"Filepath"}},
    {u"act_ers_text_liste", {u"Suchen", u"Ersetzen", u"RegEx"}, {u"Search", u"Replace", u"RegEx"}},
    {u"act_ers_zeile_liste",
     {u"Art", u"Auswahl", u"Neue Zeile"},
     {u"Kind", u"Selection", u"New Line"}},
    {u"act_anfuegen_liste", {u"Ort", u"Zeile/Text", u"Text"}, {u"Place", u"Line/Text", u"Text"}},
    {u"act_del_text_liste", {u"Text", u"RegEx"}, {u"Text", u"RegEx"}},
};

// The fold buttons show where their group opens; their hint names it.
const char16_t* const kFoldHint[2] = {u"Aufklappen oder zuklappen", u"Open or close"};

} // namespace

void Tprog::SetControlCaptions(bool German) {
    for (const ControlCaption& c : kCaptions) {
        TComponent* comp = FindComponent(c.name);
        if (!comp) continue;
        const char16_t* caption = German ? c.de : c.en;
        const char16_t* hint = German ? c.hintDe : c.hintEn;
        if (auto* item = dynamic_cast<TMenuItem*>(comp)) {
            if (caption) item->SetCaption(caption);
            if (hint) item->SetHint(hint);
        } else if (auto* control = dynamic_cast<TControl*>(comp)) {
            if (caption) control->SetCaption(caption);
            if (hint) {
                control->SetHint(hint);
                control->SetShowHint(true);
            }
        }
    }
    for (const ControlCaption& c : kValueCaptions)
        if (auto* label = dynamic_cast<TControl*>(FindComponent(c.name))) {
            const WideString shown = label->Caption();
            if (shown.empty() || shown == c.de || shown == c.en)
                label->SetCaption(German ? c.de : c.en);
        }
    for (const ColumnTitles& t : kColumns) {
        auto* list = dynamic_cast<TListView*>(FindComponent(t.list));
        int i = 0;
        for (const char16_t* title : German ? t.de : t.en)
            if (list && i < list->Columns().Count()) list->Columns()[i++]->SetCaption(title);
    }
    // The information and link menus exist once per language.
    m_soft_de->SetVisible(German);
    m_info_de->SetVisible(German);
    m_soft_en->SetVisible(!German);
    m_info_en->SetVisible(!German);
    for (const ActionGroup& g : FGroups)
        for (int i = 0; i < g.header->ControlCount(); ++i)
            if (auto* fold = dynamic_cast<TBitBtn*>(g.header->Controls(i))) {
                fold->SetHint(kFoldHint[German ? 0 : 1]);
                fold->SetShowHint(true);
            }
}
