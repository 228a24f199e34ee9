#include "dialogs/HelpTexts.h"

namespace {

constexpr WideStringView kHelpDe =
    u"QUORBEL - HILFE UND EINFÜHRUNG\r\n"
    u"Quorbel ändert viele Textdateien auf einmal: Sie stellen eine Liste von Dateien "
    u"zusammen, haken die gewünschten Aktionen an, prüfen das Ergebnis in der Vorschau und "
    u"speichern alle Dateien mit \"Konvertieren und Speichern\" (Strg+S).\r\n"
    u"\r\n"
    u"1. DATEILISTE UND ORDNER\r\n"
    u"Dateien kommen über \"Datei öffnen\" (Strg+O), einen Doppelklick in die Liste, Ziehen "
    u"aus dem Dateimanager oder über einen Ordner in die Liste. Ein Ordner wird mit dem Filter "
    u"für Ordnersuche durchsucht (Dateitypen, auf Wunsch mit Unterordnern); ist die "
    u"Ordnerüberwachung an, folgt die Liste neuen, umbenannten und gelöschten Dateien. Die "
    u"Spalten zeigen Typ, Kodierung, Größe und Status; Entf entfernt die markierten Zeilen, "
    u"Strg+A markiert alle. Dateilisten lassen sich speichern und wieder öffnen.\r\n"
    u"\r\n"
    u"2. AKTIONEN IN FESTER REIHENFOLGE\r\n"
    u"Jede angehakte Aktion läuft auf jedem Text, immer in dieser Reihenfolge: "
    u"Zeilenumbrüche, Text ersetzen (einzeln und als Liste, auch mit regulären Ausdrücken), "
    u"Zeilen ersetzen, Text einfügen, Text löschen, Zeilen löschen, Zeilenwerkzeuge "
    u"(Sortieren, Umkehren, Nummerieren ...), Transkription, Groß- und Kleinschreibung, "
    u"HTML, CSV-Spalten und zuletzt die Dateikonstanten. Ist \"Konstanten\" angehakt, werden "
    u"Platzhalter wie %datei%, %pfad%, %endung%, %num%, %größe% oder %geändert% in den Texten "
    u"der Aktionen durch Werte der jeweiligen Datei ersetzt; mit \"Konstanten auch im ganzen "
    u"Text ersetzen\" auch im Text selbst, wo %numf% und %numfa% fortlaufend zählen.\r\n"
    u"\r\n"
    u"3. AUSGABE: NAMEN, ORDNER UND KODIERUNG\r\n"
    u"Unter \"Speicheroptionen\" wählen Sie den Ordner (\"<beibehalten>\": der Ordner der "
    u"Datei; %ordner% steht für ihn), den Dateinamen (z. B. %name%-1) und das Format "
    u"(\"<beibehalten>\": die Endung der Datei), oder Sie lassen die Originaldatei "
    u"überschreiben. Die Ausgabe-Einstellungen legen die Kodierung fest (die der Datei "
    u"übernehmen, ANSI, UTF-7, UTF-8, UTF-16, UTF-32, mit oder ohne BOM). Gibt es eine "
    u"Zieldatei schon, fragt Quorbel, ob sie überschrieben werden soll. Mit \"Dateien "
    u"zusammenfügen\" werden Dateien zu einer zusammengeführt, mit \"Dateien splitten\" an "
    u"einem Trenner in mehrere geteilt.\r\n"
    u"\r\n"
    u"4. BILDER\r\n"
    u"Statt Text kann jede Datei als BMP-, JPEG- oder GIF-Bild gespeichert werden: Wählen Sie "
    u"dazu als Format .bmp, .jpg oder .gif. Die Schrift mit ihrer Farbe (\"Schrift wählen..\") "
    u"und die Hintergrundfarbe (\"Hintergrundfarbe..\") stellen Sie in den "
    u"Ausgabe-Einstellungen ein.\r\n"
    u"\r\n"
    u"5. VORSCHAU\r\n"
    u"Die Vorschau zeigt links den alten und rechts den neuen Text der gewählten Datei, dazu "
    u"die Pfade von Eingabe und Ausgabe. F5 oder F6 aktualisieren sie, F7 schaltet sie ein "
    u"oder aus. "
    u"Änderungen im alten Text können Sie mit Strg+R in die Datei zurückschreiben.\r\n"
    u"\r\n"
    u"6. KONFIGURATIONEN UND PROFILE\r\n"
    u"Eine Konfiguration (.qvr) speichert alle Einstellungen, ein Profil nur die Aktionen, "
    u"die Sie auswählen. Strg+K lädt eine Konfiguration oder ein Profil; \"Auto.qvr\" im "
    u"Programmordner wird beim Start geladen, wenn keine andere Konfiguration angegeben ist. "
    u"F2 setzt alle Einstellungen zurück.\r\n"
    u"\r\n"
    u"7. WERKZEUGE\r\n"
    u"Umbenennen: Dateinamen mit Masken, Ersetzungen und Zählern ändern, ohne den Inhalt "
    u"anzufassen. Dateien durchsuchen (Strg+F): die Dateien der Liste finden, die einen Text "
    u"enthalten, und sie markieren oder aus der Liste entfernen. Kodierung ändern: nur die "
    u"Kodierung der Dateien umstellen. "
    u"Ersetzungslisten: Listen von Such- und Ersatztexten laden und speichern (Ordner "
    u"\"Replacements\"). Transkriptionstabellen: eigene Tabellen im Ordner \"Transliteration\" "
    u"anlegen und bearbeiten.\r\n"
    u"\r\n"
    u"8. KOMMANDOZEILE\r\n"
    u"quorbel [Konfiguration.qvr] [Dateien und Ordner] [Schalter]\r\n"
    u"processandclose=1  alle Dateien verarbeiten und das Programm beenden\r\n"
    u"silentmode=1       keine Meldungen und kein Fenster\r\n"
    u"silentmode=2       wie 1, auch ohne Fortschrittsfenster\r\n"
    u"log=1              Ereignisse in das Protokoll schreiben\r\n"
    u"\r\n"
    u"9. PROTOKOLL\r\n"
    u"Mit log=1 schreibt Quorbel jedes Ereignis (Konfiguration geladen, Datei verarbeitet, "
    u"nicht gefunden, Fehler) mit Zeit und Pfad in die Datei \"qvrprocess.log\" im Programmordner. "
    u"So lässt "
    u"sich ein unbeaufsichtigter Lauf nachträglich prüfen.";

constexpr WideStringView kHelpEn =
    u"QUORBEL - HELP AND INTRODUCTION\r\n"
    u"Quorbel changes many text files at once: you build a list of files, tick the actions "
    u"you want, check the result in the preview and save every file with \"Convert and "
    u"Save\" (Ctrl+S).\r\n"
    u"\r\n"
    u"1. FILE LIST AND FOLDERS\r\n"
    u"Files enter the list through \"Open Files\" (Ctrl+O), a double click on the list, a drop "
    u"from the file manager or a folder. A folder is searched with the filter for folders "
    u"(file types, with subfolders if you wish); with the folder watch on, the list follows "
    u"new, renamed and deleted files. The columns show type, encoding, size and status; "
    u"Delete removes the selected rows, Ctrl+A selects all. File lists can be saved and "
    u"opened again.\r\n"
    u"\r\n"
    u"2. ACTIONS IN A FIXED ORDER\r\n"
    u"Every ticked action runs on every text, always in this order: line breaks, replace "
    u"text (single and as a list, also with regular expressions), replace lines, insert "
    u"text, delete text, delete lines, line tools (sort, reverse, number ...), "
    u"transliteration, letter case, HTML, CSV columns and finally the file constants. With "
    u"\"Constants\" ticked, placeholders such as %file%, %path%, %extension%, %num%, %size% "
    u"or %modified% in the texts of the actions are replaced by values of the file at hand; "
    u"with \"Replace Constants in the whole Text too\" in the text itself as well, where "
    u"%numf% and %numfa% count on.\r\n"
    u"\r\n"
    u"3. OUTPUT: NAMES, FOLDERS AND ENCODING\r\n"
    u"Under \"Saving Options\" you choose the folder (\"<keep>\": the file's own folder, which "
    u"%folder% stands for), the file name (e.g. %name%-1) and the format (\"<keep>\": the "
    u"file's own extension), or let the original file be overwritten. The output settings "
    u"choose the encoding (adopt the file's own, ANSI, UTF-7, UTF-8, UTF-16, UTF-32, with or "
    u"without BOM). When an output file exists already, Quorbel asks whether to overwrite "
    u"it. \"Join Files\" merges files into one, \"Split Files\" splits them into several at "
    u"a separator.\r\n"
    u"\r\n"
    u"4. PICTURES\r\n"
    u"Instead of text every file can be saved as a BMP, JPEG or GIF picture: choose .bmp, "
    u".jpg or .gif as the format. The font with its colour (\"Choose Font..\") and the "
    u"background colour (\"Background Color..\") are set in the output settings.\r\n"
    u"\r\n"
    u"5. PREVIEW\r\n"
    u"The preview shows the old text of the selected file on the left and the new one on the "
    u"right, with the paths of input and output. F5 or F6 refresh it, F7 switches it on or "
    u"off. "
    u"Edits in the old text can be written back to the file with Ctrl+R.\r\n"
    u"\r\n"
    u"6. CONFIGURATIONS AND PROFILES\r\n"
    u"A configuration (.qvr) stores every setting, a profile only the actions you choose. "
    u"Ctrl+K loads a configuration or a profile; \"Auto.qvr\" in the program folder is "
    u"loaded at start when no other configuration is given. F2 resets every setting.\r\n"
    u"\r\n"
    u"7. TOOLS\r\n"
    u"Renaming: change file names with masks, replacements and counters without touching "
    u"the contents. Search in files (Ctrl+F): find the listed files that contain a text, "
    u"then mark them or remove them from the list. Change encoding: only convert the "
    u"encoding of the files. Replacement "
    u"lists: load and save lists of search and replacement texts (folder \"Replacements\"). "
    u"Transliteration tables: create and edit your own tables in the folder "
    u"\"Transliteration\".\r\n"
    u"\r\n"
    u"8. COMMAND LINE\r\n"
    u"quorbel [configuration.qvr] [files and folders] [switches]\r\n"
    u"processandclose=1  convert all files and close the program\r\n"
    u"silentmode=1       no messages and no window\r\n"
    u"silentmode=2       as 1, and no progress window either\r\n"
    u"log=1              write events to the processing log\r\n"
    u"\r\n"
    u"9. PROCESSING LOG\r\n"
    u"With log=1 Quorbel writes each event (configuration loaded, file processed, not found, "
    u"error) with time and "
    u"path to the file \"qvrprocess.log\" in the program folder, so an unattended run can be "
    u"checked afterwards.";

constexpr WideStringView kRegardsDe =
    u"EMPFEHLUNGEN\r\n"
    u"\r\n"
    u"- Sichern Sie wichtige Dateien, bevor Sie sie überschreiben lassen, oder wählen Sie "
    u"einen eigenen Zielordner bzw. ein Namensmuster wie %name%-1.\r\n"
    u"- Prüfen Sie neue Einstellungen zuerst in der Vorschau an einer typischen Datei.\r\n"
    u"- Reguläre Ausdrücke sind mächtig: testen Sie sie an kleinen Beispielen; in den Feldern "
    u"für Suchen und Ersetzen wird ein Fehler im Ausdruck rot markiert.\r\n"
    u"- Speichern Sie wiederkehrende Aufgaben als Konfiguration oder Profil und starten Sie "
    u"sie mit processandclose=1 unbeaufsichtigt, zusammen mit log=1.\r\n"
    u"- Achten Sie auf die Kodierung: ANSI kann nicht jedes Zeichen darstellen, UTF-8 schon.\r\n"
    u"\r\n"
    u"Vielen Dank an alle, die Fehler melden und Verbesserungen vorschlagen.";

constexpr WideStringView kRegardsEn =
    u"REGARDS AND RECOMMENDATIONS\r\n"
    u"\r\n"
    u"- Back up important files before you let them be overwritten, or choose an output "
    u"folder of your own or a name pattern such as %name%-1.\r\n"
    u"- Try new settings in the preview on a typical file first.\r\n"
    u"- Regular expressions are powerful: test them on small samples; in the search and "
    u"replace fields an error in an expression is marked red.\r\n"
    u"- Save recurring tasks as a configuration or a profile and run them unattended with "
    u"processandclose=1, together with log=1.\r\n"
    u"- Mind the encoding: ANSI cannot hold every character, UTF-8 can.\r\n"
    u"\r\n"
    u"Many thanks to everybody who reports faults and suggests improvements.";

constexpr WideStringView kDonateDe =
    u"WIESO SPENDEN?\r\n"
    u"\r\n"
    u"Quorbel ist kostenlos und ohne Werbung. Eine Spende hilft, das Programm zu pflegen, "
    u"Fehler zu beheben, neue Funktionen zu bauen und die Dokumentation aktuell zu halten. "
    u"Jeder Betrag ist willkommen; wie Sie das Projekt unterstützen können, steht auf der "
    u"Seite unten.";

constexpr WideStringView kDonateEn =
    u"WHY DONATE?\r\n"
    u"\r\n"
    u"Quorbel is free and without advertising. A donation helps to maintain the program, "
    u"fix faults, build new functions and keep the documentation up to date. Every amount "
    u"is welcome; the page below tells how you can support the project.";

constexpr HelpEntry kEntriesDe[] = {
    {u"de/", u"Quorbel", u"Die Startseite des Projekts: Neuigkeiten und aktuelle Version."},
    {u"de/download", u"Download", u"Die aktuelle Version und frühere Ausgaben herunterladen."},
    {u"de/hilfe", u"Anleitung", u"Die ausführliche Anleitung zu allen Aktionen und Werkzeugen."},
    {u"de/beispiele", u"Beispiele", u"Fertige Konfigurationen für häufige Aufgaben."},
    {u"de/regex", u"Reguläre Ausdrücke", u"Einführung in die Syntax der regulären Ausdrücke."},
    {u"de/transkription", u"Transkriptionstabellen", u"Tabellen zum Herunterladen und Tauschen."},
    {u"de/kommandozeile", u"Kommandozeile", u"Unbeaufsichtigte Läufe, Schalter und Protokoll."},
};

constexpr HelpEntry kEntriesEn[] = {
    {u"en/", u"Quorbel", u"The project's home page: news and the current version."},
    {u"en/download", u"Download", u"Download the current version and earlier releases."},
    {u"en/help", u"Manual", u"The full manual of every action and tool."},
    {u"en/examples", u"Examples", u"Ready-made configurations for common tasks."},
    {u"en/regex", u"Regular Expressions", u"An introduction to the syntax of regular expressions."},
    {u"en/transliteration", u"Transliteration Tables", u"Tables to download and share."},
    {u"en/commandline", u"Command Line", u"Unattended runs, switches and the processing log."},
};

const HelpTexts kGerman{u"Quorbel - Hilfe",
                        u"Hilfe",
                        u"Empfehlungen",
                        u"Software",
                        u"Wieso spenden?",
                        u"<< zurück",
                        u"weiter >>",
                        u"Schließen",
                        kHelpDe,
                        kRegardsDe,
                        u"Seiten des Projekts Quorbel: Anleitung, Beispiele und Downloads.",
                        kDonateDe,
                        u"de/spenden",
                        kEntriesDe};

const HelpTexts kEnglish{u"Quorbel - Help",
                         u"Help",
                         u"Regards",
                         u"Software",
                         u"Why Donate?",
                         u"<< back",
                         u"next >>",
                         u"Close",
                         kHelpEn,
                         kRegardsEn,
                         u"Pages of the Quorbel project: manual, examples and downloads.",
                         kDonateEn,
                         u"en/donate",
                         kEntriesEn};

} // namespace

const HelpTexts& GermanHelpTexts() {
    return kGerman;
}

const HelpTexts& EnglishHelpTexts() {
    return kEnglish;
}
