#include "dialogs/u_transform.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "engine/ProcessLog.h"
#include "engine/Transliteration.h"
#include "engine/UserLists.h"
#include "platform/Dialogs.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"

Ttransform* transform = nullptr;

namespace {

constexpr WideStringView kPromptGerman = u"Profil wählen..";
constexpr WideStringView kPromptEnglish = u"Choose Profile..";
constexpr TextEncodingCode kTableEncoding = 1200; // UTF-16 LE, written with its mark

} // namespace

bool IsSavableTableName(WideStringView Name) {
    return Name != kPromptGerman && Name != kPromptEnglish && IsPlainFileNameW(Name);
}

WideString Ttransform::DefaultFolder() {
    return ProgramFolder();
}

Ttransform::Ttransform(TComponent* AOwner, const WideString& ProgramFolder)
    : TForm(AOwner), FProgramFolder(WideIncludeTrailingBackslash(ProgramFolder)) {
    transform = this;
    SetName(u"transform");
    SetBorderStyle(bsSizeable);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(540);
    SetClientHeight(470);
    SetConstraints({400, 360, 0, 0});

    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 524, 120);
    GroupBox1->SetAnchors(akLeft | akTop | akRight);
    TLabel** lines[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        const WideString name = u"Label" + U16(std::to_string(i + 1));
        *lines[i] = MakeControl<TLabel>(this, GroupBox1, name, 12, 22 + 17 * i, 500, 15);
    }
    Label7 = MakeControl<TLabel>(this, GroupBox1, u"Label7", 12, 94, 500, 15);
    Label7->Font()->SetColor(clBlue);
    Label7->Font()->SetStyle(fsUnderline);
    Label7->SetCursor(crHandPoint);

    cb_auswahl = MakeControl<TComboBox>(this, this, u"cb_auswahl", 8, 138, 400, 21);
    cb_auswahl->SetAnchors(akLeft | akTop | akRight);
    cb_auswahl->SetDropDownCount(24);
    BitBtn2 = MakeControl<TBitBtn>(this, this, u"BitBtn2", 416, 136, 116, 25);
    BitBtn2->SetAnchors(akTop | akRight);
    liste = MakeControl<TMemo>(this, this, u"liste", 8, 168, 524, 226);
    liste->SetAnchors(akLeft | akTop | akRight | akBottom);
    liste->SetScrollBars(ssVertical);
    liste->SetWordWrap(false);
    Label5 = MakeControl<TLabel>(this, this, u"Label5", 8, 402, 150, 15);
    Label6 = MakeControl<TLabel>(this, this, u"Label6", 176, 402, 150, 15);
    Edit1 = MakeControl<TEdit>(this, this, u"Edit1", 8, 420, 160, 21);
    Edit2 = MakeControl<TEdit>(this, this, u"Edit2", 176, 420, 160, 21);
    BitBtn6 = MakeControl<TBitBtn>(this, this, u"BitBtn6", 344, 418, 90, 25);
    BitBtn3 = MakeControl<TBitBtn>(this, this, u"BitBtn3", 442, 418, 90, 25);
    for (TControl* c : std::initializer_list<TControl*>{Label5, Label6, Edit1, Edit2, BitBtn6})
        c->SetAnchors(akLeft | akBottom);
    BitBtn3->SetAnchors(akRight | akBottom);

    cb_auswahl->OnChange = [this](TObject* s) { cb_auswahlChange(s); };
    BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    liste->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        listeKeyDown(s, key, shift);
    };
    Label7->OnClick = [this](TObject* s) { Label7Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

Ttransform::~Ttransform() {
    if (transform == this) transform = nullptr;
}

WideString Ttransform::TableFolder() const {
    return WideExcludeTrailingBackslash(TransliterationFolder(FProgramFolder));
}

void Ttransform::FormCreate(TObject*) {
    Sprache();
    for (const WideString& name : UserListNames(TableFolder()))
        cb_auswahl->Items().Add(name);
}

void Ttransform::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(t(u"Benutzerdefinierte Transkription", u"Customized Transcription"));
    GroupBox1->SetCaption(t(u"Einstellungen zur benutzerdefinierten Transkription",
                            u"Settings regarding Customized Transcription"));
    Label1->SetCaption(
        t(u"Bearbeiten Sie eine vorhandene Transkription oder erstellen Sie eine",
          u"Here you can both edit an existing transcription or create a completely"));
    Label2->SetCaption(t(u"neue. Sie können direkt in die Liste schreiben oder Elemente",
                         u"new one. You can either type directly in the list or add single"));
    Label3->SetCaption(t(u"einzeln zur Liste hinzufügen. Weitere Informationen zur Transkription",
                         u"elements to the list. More information regarding transcriptions and"));
    Label4->SetCaption(t(u"und eine Zusammenstellung aller Möglichkeiten der Funktion auf:",
                         u"a summary of all functions and possibilities, can be read on:"));
    Label7->SetCaption(t(u"https://de.wikipedia.org/wiki/Transliteration",
                         u"https://en.wikipedia.org/wiki/Transliteration"));
    Label5->SetCaption(u"Element");
    Label6->SetCaption(t(u"Transkription", u"Transcription"));
    BitBtn6->SetCaption(t(u"Hinzufügen", u"Add"));
    BitBtn2->SetCaption(t(u"Speichern", u"Save"));
    BitBtn3->SetCaption(t(u"Gegenliste", u"Inverse List"));

    const auto& builtIn = BuiltInTranscriptTables();
    for (size_t i = 0; i < builtIn.size(); ++i) {
        const WideString& name = de ? builtIn[i].germanName : builtIn[i].englishName;
        if (int(i) < cb_auswahl->Items().Count())
            cb_auswahl->Items().Put(int(i), name);
        else
            cb_auswahl->Items().Add(name);
    }
    cb_auswahl->SetText(WideString(de ? kPromptGerman : kPromptEnglish));
}

void Ttransform::cb_auswahlChange(TObject*) {
    const WideString table = TranskriptTabelle(cb_auswahl->Text(), FProgramFolder);
    // One pair a line, whichever line breaks a user's table file has.
    if (!table.empty()) liste->Lines().SetText(table);
}

void Ttransform::BitBtn6Click(TObject*) {
    liste->Lines().Add(Edit1->Text() + u"|" + Edit2->Text());
}

void Ttransform::BitBtn3Click(TObject*) {
    TMemoStrings& lines = liste->Lines();
    for (int i = 0; i < lines.Count(); ++i) {
        const WideString line = lines.Get(i);
        const size_t bar = line.find(u'|');
        if (bar == WideString::npos || line.find(u'|', bar + 1) != WideString::npos) continue;
        lines.Put(i, line.substr(bar + 1) + u"|" + line.substr(0, bar));
    }
}

void Ttransform::BitBtn2Click(TObject*) {
    const WideString name = cb_auswahl->Text();
    if (!IsSavableTableName(name)) {
        WideMessageDlg(LanguageIsGerman()
                           ? u"Bitte geben Sie einen Namen für die Tabelle ein. Er darf nicht "
                             u"leer sein, kein \"/\" enthalten und nicht \".\" oder \"..\" sein."
                           : u"Please type a name for the table. It must not be empty, hold a "
                             u"\"/\" or be \".\" or \"..\".",
                       mtWarning, MsgDlgButton(mbOK));
        return;
    }
    const WideString folder = TableFolder();
    if (!WideDirectoryExists(folder)) WideForceDirectories(folder);
    SaveTextFileW(liste->Text(), folder + u"/" + name + u".txt", kTableEncoding, true);
    for (int i = 0; i < cb_auswahl->Items().Count(); ++i)
        if (cb_auswahl->Items().Get(i) == name) return; // exact: "mein" is another table
    cb_auswahl->Items().Add(name);
    if (WorkingWindowLink* w = WorkingWindow()) w->act_transkriptionAdd(name);
}

void Ttransform::listeKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
    if (Key == 'A' && (Shift & ssCtrl)) liste->SelectAll();
}

void Ttransform::Label7Click(TObject*) {
    BrowseTo(Label7->Caption());
}
