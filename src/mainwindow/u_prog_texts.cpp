// The working window's language texts: the keyed message box every part of the program
// shows its messages through, the language table that sets every text of the window in
// German or English, and the switch of every window's language from the settings menu.
#include <array>
#include <optional>
#include <string_view>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProgramWindows.h"
#include "dialogs/SmallDialog.h"
#include "dialogs/u_changecoding.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_einstshortcuts.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_profilspeichern.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_searchfiles.h"
#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "dialogs/u_transform.h"
#include "dialogs/u_zplus.h"
#include "engine/TextHelpers.h"
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"
#include "text/WideStrUtils.h"

namespace {

// The language the message slots were last filled in; none before the first fill.
enum class TextLanguage { English, German };
std::optional<TextLanguage> FilledLanguage;

// Stands in a message row for the path argument, shortened and quoted.
constexpr const char16_t* kPath = nullptr;

struct MessageRow {
    std::string_view key;
    std::array<const char16_t*, 4> en, de; // Label1 .. Label4
    bool okForAll;
};

// clang-format off
const MessageRow kMessages[] = {
    {"ordnerfalschopen",
     {u"False Folder", u"This Folder can not be searched in:", kPath, u"Enter a correct Folder and try again."},
     {u"Falscher Ordner angegeben", u"Dieser Ordner kann nicht durchsucht werden:", kPath, u"Geben Sie einen richtigen Ordner an und versuchen Sie es erneut."},
     false},
    {"ordnerfalsch",
     {u"False Folder", u"This is not a correct Folder for Saving Files:", kPath, u"Enter a correct Folder for your Files and try again."},
     {u"Falscher Ordner angegeben", u"Dies ist kein richtiger Ordner zum Speichern von Dateien:", kPath, u"Geben Sie unter \"Ordner\" einen richtigen Ordner für Ihre Dateien an."},
     false},
    {"keinordner",
     {u"No Folder declared", u"Your Files could not be processed, because in the", u"Saving-Options no Folder is declared.", u"Enter a correct Folder for your Files and try again."},
     {u"Kein Ordner angegeben", u"Ihre Dateien konnten leider nicht bearbeitet werden, da unter den", u"Speicheroptionen kein Ordner für die Dateien angegeben wurde.", u"Geben Sie unter \"Ordner\" einen Ordner für Ihre Dateien an."},
     false},
    {"keinname",
     {u"No Filename declared", u"Your Files could not be processed, because in the", u"Saving-Options no Filename is declared.", u"Enter a correct Filename for your Files and try again."},
     {u"Kein Dateiname angegeben", u"Ihre Dateien konnten leider nicht bearbeitet werden, da unter den", u"Speicheroptionen kein Dateiname für die Dateien angegeben wurde.", u"Geben Sie unter \"Dateiname\" einen Namen für Ihre Dateien an."},
     false},
    {"formatfehler",
     {u"Format not supported", u"Unfortunately, the Format of this File is not supported:", kPath, u"Please try another Format.."},
     {u"Format nicht unterstützt", u"Das Format dieser Datei wird leider nicht unterstützt:", kPath, u"Benutzen Sie bitte ein anderes Format."},
     true},
    {"dateischoninliste",
     {u"File already added", u"This file is added to the List already:", kPath, u"A File can be added to the List only for one time."},
     {u"Datei ist schon hinzugefügt", u"Diese Datei befindet sich bereits in der Liste:", kPath, u"Dateien können nur einmal zur Liste hinzugefügt werden."},
     true},
    {"keinestartkonfig",
     {u"Start Configuration not defined", u"It is not possible to load a Start Configuration, because no one is", u"defined (as File named auto.qvr in the Application Folder).", u"Save a Configuration as auto.qvr in the Application Folder."},
     {u"Startkonfiguration nicht definiert", u"Es kann keine Startkonfiguration geladen werden, da keine definiert", u"wurde (als Datei auto.qvr im Programmverzeichnis).", u"Speichern Sie eine Konfiguation als auto.qvr im Programmverzeichnis."},
     false},
    {"speicherfehler",
     {u"Saving Error", u"An Erros occurs during saving this File:", kPath, u"Please use another File Format."},
     {u"Fehler beim Speichern", u"Es kam zu einem Fehler beim Speichern dieser Datei:", kPath, u"Benutzen Sie ein anderes Format."},
     true},
    {"konvertierfehler",
     {u"Converting Error", u"An Erros occurs during converting this File:", kPath, u"Please use another File Format."},
     {u"Fehler beim Konvertieren", u"Es kam zu einem Fehler beim Konvertieren dieser Datei:", kPath, u"Benutzen Sie ein anderes Format."},
     true},
    {"keinsplittrenner",
     {u"Converting Error", u"You have choosen no character or string for the file split, so that", u"the files can not be devided.", u"Choose a character or string for the file split."},
     {u"Fehler beim Konvertieren", u"Es ist kein Trennzeichen für den Dateisplit angegeben, deswegen", u"können Dateien nicht getrennt werden.", u"Geben Sie ein Trennzeichen für den Dateisplit an."},
     false},
    {"bildfehler",
     {u"Converting Error", u"An Error occurs during creating this image:", kPath, u"It is possible, that the image size is to big."},
     {u"Fehler beim Konvertieren", u"Es kam zu einem Fehler beim Erstellen dieses Bildes:", kPath, u"Eine mögliche Fehlerquelle kann ein zu großes Bild sein."},
     true},
    {"dateinichtgefunden",
     {u"Files not found", u"%anzahl% File(s) of the List did not exist any more, the first of them:", kPath, u"These Files were not converted."},
     {u"Dateien nicht gefunden", u"%anzahl% Datei(en) der Liste gab es nicht mehr, die erste davon:", kPath, u"Diese Dateien wurden nicht konvertiert."},
     false},
    {"originalweg",
     {u"Attention!", u"With this option all original files will be deleted after converting", u"and only the converted files will be there.", u"Original files can not be recovered after deleting."},
     {u"Achtung!", u"Mit dieser Option werden alle Originaldateien nach dem Konvertieren", u"unwiederruflich gelöscht und Ihnen bleiben nur die konvertierten Dateien.", u"Gelöschte Dateien können nicht wiederhergestellt werden."},
     false},
};

// The note on word-processor and spreadsheet files: title and paragraphs.
constexpr const char16_t* kDocTitle[2] = {u"Consideration", u"Hinweis"};
constexpr const char16_t* kDocNote[2] = {
    u"The Quorbel was developed to work on pure plain text files like TXT, HTML, PHP, LOG or similar files. Working on Office documents is not recommended, because under circumstances, the resulting files may be unreadable.\r\n\r\n"
    u"We are thinking about supporting Office documents in this application or to develop an applicable interface to work on those files.\r\n\r\n"
    u"Tell us what you need on www.halvane.de/kontakt.",
    u"Der Quorbel ist dazu gedacht, reine Textdateien wie TXT, HTML, PHP, LOG oder ähnliche Dateien zu verarbeiten. Das Bearbeiten von Office-Dokumenten wird nicht empfohlen, da die resultierenden Dateien unter Umständen unleserlich sind.\r\n\r\n"
    u"Wir denken darüber nach auch Office-Dokumente im Quorbel zu unterstützen oder eine geeignete Schnittstelle zu entwickeln.\r\n\r\n"
    u"Schreiben Sie uns, was Sie brauchen, auf www.halvane.de/kontakt."};

// The language-dependent tokens of the combo box lists (English, German).
constexpr std::pair<const char16_t*, const char16_t*> kListTokens[] = {
    {u"<keep>", u"<beibehalten>"},
    {u"%folder%", u"%ordner%"},
    {u"Custom", u"Benutzerdefiniert"},
    {u"%linebreak%", u"%zeilenumbruch%"},
};

// The filter of the open dialog: group name (English, German) and masks.
struct FilterGroup {
    const char16_t *en, *de, *masks;
};
constexpr FilterGroup kOpenFilter[] = {
    {u"General", u"Allgemein", u"*.txt;*.log;*.csv;*.ini;*.xml;*.nfo;*.srt"},
    {u"Programming", u"Programmierung", u"*.htm;*.html;*.php;*.js;*.css;*.c;*.cpp;*.h;*.java;*.py;*.pas;*.sql;*.sh"},
    {u"Other", u"Sonstige", u"*.bat;*.cfg;*.conf;*.dat;*.tex;*.md;*.rtf"},
    {u"Any Files", u"Alle Dateien", u"*"},
};
// clang-format on

constexpr const char16_t* kTransliterationPrompt[2] = {u"Please choose a profile..",
                                                       u"Bitte wählen Sie ein Profil.."};

const MessageRow* FindMessage(std::string_view Key) {
    for (const MessageRow& row : kMessages)
        if (row.key == Key) return &row;
    return nullptr;
}

// Every token of one language in Text replaced by the other language's form.
WideString SwapTokens(WideString Text, bool ToGerman) {
    for (const auto& [en, de] : kListTokens)
        Text = ReplaceAllW(Text, ToGerman ? en : de, ToGerman ? de : en);
    return Text;
}

// Text that is exactly one token of the other language becomes this language's token;
// any other text (what the user typed, a token inside a longer text) stays as it is.
WideString SwapWholeToken(const WideString& Text, bool ToGerman) {
    for (const auto& [en, de] : kListTokens)
        if (Text == (ToGerman ? en : de)) return ToGerman ? de : en;
    return Text;
}

// The language routine of every window of class T on the screen.
template <class T> void SwitchWindows() {
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<T*>(Screen->Forms(i))) w->Sprache();
}

void SwitchEditors(TZplusKind Kind) {
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<Tzplus*>(Screen->Forms(i)); w && w->Kind() == Kind) w->Sprache();
}

} // namespace

void Tprog::meldungzeigen(std::string_view key, WideStringView path) {
    meldungzeigen(key, path, 0);
}

void Tprog::meldungzeigen(std::string_view key, WideStringView path, int count) {
    if (RunState().Silent != SilentLevel::Interactive) return;
    auto* box = ProgramWindow<Tsm_meldung>();
    if (!box) return;
    box->OKalle->SetVisible(false);
    for (TLabel* label : {box->Label1, box->Label2, box->Label3, box->Label4})
        label->SetCaption(u"");
    box->st->SetVisible(false);
    if (key == "docmsg") {
        const int de = LanguageIsGerman() ? 1 : 0;
        box->Label1->SetCaption(kDocTitle[de]);
        box->st->SetCaption(kDocNote[de]);
        box->st->SetVisible(true);
    } else if (const MessageRow* row = FindMessage(key); row && FilledLanguage) {
        const auto& texts = *FilledLanguage == TextLanguage::German ? row->de : row->en;
        TLabel* labels[4] = {box->Label1, box->Label2, box->Label3, box->Label4};
        for (int i = 0; i < 4; ++i)
            labels[i]->SetCaption(texts[i] ? ReplaceAllW(texts[i], u"%anzahl%", Decimal(count))
                                           : PathForLabel(labels[i], path, u"\""));
        box->OKalle->SetVisible(row->okForAll);
    }
    box->ShowModal();
}

void Tprog::SetMainWindowTexts() {
    if (LanguageCode != u"en" && LanguageCode != u"de") return;
    const bool de = LanguageCode == u"de";
    const int lang = de ? 1 : 0;
    FilledLanguage = de ? TextLanguage::German : TextLanguage::English;
    SetCaption(ApplicationTitle);
    SetControlCaptions(de);
    // F1 opens the help of the visible language's menu only.
    m_info_de_hilfe->SetShortCut(de ? ShortCut(VK_F1, 0) : 0);
    m_info_en_intro->SetShortCut(de ? 0 : ShortCut(VK_F1, 0));

    for (TOpenDialog* d : {static_cast<TOpenDialog*>(sd_konfig), od_konfig}) {
        d->SetFilter(de ? u"Quorbel Konfiguration|*.qvr" : u"Quorbel Configuration|*.qvr");
        d->SetFileName(de ? u"Konfiguration.qvr" : u"Configuration.qvr");
    }
    od->SetTitle(de ? u"Öffnen.." : u"Open..");
    WideString filter;
    for (const FilterGroup& g : kOpenFilter) {
        if (!filter.empty()) filter += u'|';
        filter += WideString(de ? g.de : g.en) + u" (" + g.masks + u")|" + g.masks;
    }
    od->SetFilter(filter);

    // The prompt stands in the box only while no table is chosen.
    const WideString shown = act_transkription->Text();
    if (shown.empty() || shown == kTransliterationPrompt[1 - lang])
        act_transkription->SetText(kTransliterationPrompt[lang]);

    // A text the user typed stays as it is (the run and the path display read both forms);
    // a box still showing a bare token shows this language's token.
    for (TComboBox* box :
         {out_ordner, out_name, out_format, act_csv_trenner, act_csv_ende, act_csv_feldbegrenzer}) {
        const WideString text = box->Text();
        const int index = box->ItemIndex();
        box->Items().SetText(SwapTokens(box->Items().Text(), de));
        if (index >= 0 && index < box->Items().Count() &&
            box->Items()[index] == SwapTokens(text, de))
            box->SetItemIndex(index);
        else
            box->SetText(SwapWholeToken(text, de));
    }
    WriteFileCount();
}

void Tprog::sprachealles() {
    const bool previewOn = vor_okay->Checked();
    vor_okay->SetChecked(false);
    SetMainWindowTexts();
    if (start) start->sprache();
    RewriteFileTypeNames();
    RewriteStatusWords();
    SwitchWindows<Teinstausgabe>();
    SwitchWindows<Tsm_achtung>();
    SwitchWindows<Tsm_bearbeitung>();
    SwitchWindows<Tsm_filter>();
    SwitchWindows<Tsm_meldung>();
    SwitchWindows<Tsearchfiles>();
    SwitchWindows<Tprofilspeichern>();
    SwitchWindows<Ttransform>();
    SwitchWindows<Teinstregex>();
    SwitchWindows<Teinstshortcuts>();
    SwitchWindows<Treplace_import>();
    SwitchWindows<Tchangecoding>();
    SwitchWindows<Tinputselectfilter>();
    for (TZplusKind kind : kAllZplusKinds)
        SwitchEditors(kind);
    SwitchWindows<Tcsv_order>();
    SwitchWindows<Tcsv_editing>();
    SwitchWindows<Tdateinamenumbenenner>();
    SwitchWindows<Tdateinamenumbenenner_filter>();
    vor_okay->SetChecked(previewOn);
}

void Tprog::m_einst_sprache_deutschClick(TObject* Sender) {
    (void)Sender;
    LanguageCode = u"de";
    sprachealles();
}

void Tprog::m_einst_sprache_englishClick(TObject* Sender) {
    (void)Sender;
    LanguageCode = u"en";
    sprachealles();
}
