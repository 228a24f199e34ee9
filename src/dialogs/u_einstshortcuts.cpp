#include "dialogs/u_einstshortcuts.h"

#include "desktop/ShellIntegration.h"
#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/ProjectLinks.h"
#include "dialogs/u_AdminFunc.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"

Teinstshortcuts* einstshortcuts = nullptr;

namespace {

// One group: its label on the first line, the status at the left of the second, the two
// buttons at the right.
void MakeRow(Teinstshortcuts* w, TGroupBox* Group, int Top, TLabel*& Label,
             WideStringView LabelName, TLabel*& State, WideStringView StateName, TButton*& On,
             WideStringView OnName, TButton*& Off, WideStringView OffName) {
    Label = MakeControl<TLabel>(w, Group, LabelName, 12, Top, 600, 15);
    if (!StateName.empty()) State = MakeControl<TLabel>(w, Group, StateName, 12, Top + 26, 200, 15);
    On = MakeControl<TButton>(w, Group, OnName, 400, Top + 20, 100, 25);
    Off = MakeControl<TButton>(w, Group, OffName, 508, Top + 20, 100, 25);
}

} // namespace

Teinstshortcuts::Teinstshortcuts(TComponent* AOwner)
    : TForm(AOwner), ExecutablePath(WideParamStr(0)) {
    einstshortcuts = this;
    SetName(u"einstshortcuts");
    RegisterConfigurationWindow("SC", this);
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(640);
    SetClientHeight(520);

    Label1 = MakeControl<TLabel>(this, this, u"Label1", 8, 10, 624, 15);
    ver_admin = MakeControl<TLabel>(this, this, u"ver_admin", 8, 34, 420, 15);
    AlsAdminStarten = MakeControl<TButton>(this, this, u"AlsAdminStarten", 432, 28, 200, 25);

    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 62, 624, 76);
    MakeRow(this, GroupBox1, 22, Label2, u"Label2", ver_konfig, u"ver_konfig", KonfigAn,
            u"KonfigAn", KonfigAus, u"KonfigAus");
    GroupBox2 = MakeControl<TGroupBox>(this, this, u"GroupBox2", 8, 144, 624, 76);
    MakeRow(this, GroupBox2, 22, Label3, u"Label3", ver_sendenan, u"ver_sendenan", SendenAnAn,
            u"SendenAnAn", SendenAnAus, u"SendenAnAus");
    GroupBox3 = MakeControl<TGroupBox>(this, this, u"GroupBox3", 8, 226, 624, 76);
    MakeRow(this, GroupBox3, 22, Label4, u"Label4", ver_ordner, u"ver_ordner", OrdnerAn,
            u"OrdnerAn", OrdnerAus, u"OrdnerAus");
    GroupBox4 = MakeControl<TGroupBox>(this, this, u"GroupBox4", 8, 308, 624, 134);
    MakeRow(this, GroupBox4, 22, Label5, u"Label5", ver_alledateien, u"ver_alledateien",
            AlleDateienAn, u"AlleDateienAn", AlleDateienAus, u"AlleDateienAus");
    TLabel* noState = nullptr;
    MakeRow(this, GroupBox4, 78, Label6, u"Label6", noState, u"", BeliebigeDateienAn,
            u"BeliebigeDateienAn", BeliebigeDateienAus, u"BeliebigeDateienAus");
    beldateien = MakeControl<TEdit>(this, GroupBox4, u"beldateien", 12, 100, 376, 21);
    beldateien->SetText(u"txt,log,php,htm,html");

    Label7 = MakeControl<TLabel>(this, this, u"Label7", 8, 452, 624, 15);
    Label70 = MakeControl<TLabel>(this, this, u"Label70", 8, 470, 624, 15);
    Label70->SetCaption(ProjectPage(u"shell-integration"));
    Label70->Font()->SetColor(clBlue);
    Label70->Font()->SetStyle(fsUnderline);
    Label70->SetCursor(crHandPoint);
    OK = MakeControl<TButton>(this, this, u"OK", 552, 488, 80, 25);
    OK->SetCaption(u"OK");

    KonfigAn->OnClick = [this](TObject* s) { KonfigAnClick(s); };
    KonfigAus->OnClick = [this](TObject* s) { KonfigAusClick(s); };
    SendenAnAn->OnClick = [this](TObject* s) { SendenAnAnClick(s); };
    SendenAnAus->OnClick = [this](TObject* s) { SendenAnAusClick(s); };
    OrdnerAn->OnClick = [this](TObject* s) { OrdnerAnClick(s); };
    OrdnerAus->OnClick = [this](TObject* s) { OrdnerAusClick(s); };
    AlleDateienAn->OnClick = [this](TObject* s) { AlleDateienAnClick(s); };
    AlleDateienAus->OnClick = [this](TObject* s) { AlleDateienAusClick(s); };
    BeliebigeDateienAn->OnClick = [this](TObject* s) { BeliebigeDateienAnClick(s); };
    BeliebigeDateienAus->OnClick = [this](TObject* s) { BeliebigeDateienAusClick(s); };
    AlsAdminStarten->OnClick = [this](TObject* s) { AlsAdminStartenClick(s); };
    OK->OnClick = [this](TObject* s) { OKClick(s); };
    Label70->OnClick = [this](TObject* s) { Label70Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

Teinstshortcuts::~Teinstshortcuts() {
    if (einstshortcuts == this) einstshortcuts = nullptr;
}

void Teinstshortcuts::FormCreate(TObject*) {
    Sprache();
}

// The window opens with the focus on OK, which changes nothing: an Enter typed blindly
// after opening it must not register the program with the desktop.
void Teinstshortcuts::FormShow(TObject*) {
    SetActiveControl(OK);
    CheckShortCuts();
}

void Teinstshortcuts::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(t(u"Verknüpfungen", u"Shortcuts"));
    Label1->SetCaption(
        t(u"Das Programm muss für diese Änderungen als Administrator ausgeführt werden.",
          u"The Program must be executed as an Administrator to apply this functions."));
    Label7->SetCaption(
        t(u"Hilfe und weitere Informationen zu Verknüpfungen und Administratorrechten auf:",
          u"Help and more Information regarding Shortcuts and Administrator Rights on:"));
    AlsAdminStarten->SetCaption(t(u"Programm als Admin neu starten", u"Restart Program as Admin"));
    GroupBox1->SetCaption(t(u"Verknüpfung mit Konfigurationsdateien (*.qvr)",
                            u"Shortcut to Configuration Files (*.qvr)"));
    Label2->SetCaption(
        t(u"Verknüpfung dieses Programms mit Konfigurationsdateien (Dateiendung: .qvr)",
          u"Shortcut of this Application with Configuration Files (File Extension: .qvr)"));
    GroupBox2->SetCaption(t(u"Senden an", u"Send to"));
    Label3->SetCaption(t(u"Anzeige dieses Programms im \"Senden an\" - Explorer Kontextmenü",
                         u"Show this Application in the Explorer Context Menu \"Send to\""));
    GroupBox3->SetCaption(t(u"Verknüpfung mit Ordnern", u"Shortcut with Folders"));
    Label4->SetCaption(t(u"Anzeige dieses Programms im Explorer Kontextmenü von Ordnern",
                         u"Show this Application in the Explorer Context Menu of Folders"));
    GroupBox4->SetCaption(t(u"Verknüpfung mit Dateien", u"Shortcut with Files"));
    Label5->SetCaption(t(u"Anzeige dieses Programms im Explorer Kontextmenü aller Dateien",
                         u"Show this Application in the Explorer Context Menu of all Files"));
    Label6->SetCaption(t(u"Anzeige dieses Programms im Explorer Kontextmenü dieser Dateien:",
                         u"Show this Application in the Explorer Context Menu of these Files:"));
    for (TButton* on : {KonfigAn, SendenAnAn, OrdnerAn, AlleDateienAn, BeliebigeDateienAn})
        on->SetCaption(t(u"Verknüpfen", u"Register"));
    for (TButton* off : {KonfigAus, SendenAnAus, OrdnerAus, AlleDateienAus, BeliebigeDateienAus})
        off->SetCaption(t(u"Entfernen", u"Remove"));

    const bool admin = IsUserAdmin();
    ver_admin->SetCaption(admin ? t(u"Das Programm wird gerade als Administrator ausgeführt.",
                                    u"The Program is running as an Administrator.")
                                : t(u"Das Programm wird gerade nicht als Administrator ausgeführt.",
                                    u"The Program is not running as an Administrator."));
    ver_admin->Font()->SetColor(admin ? clGreen : clRed);
    AlsAdminStarten->SetEnabled(!admin);
    CheckShortCuts();
}

void Teinstshortcuts::ShowState(TLabel* Label, bool Active) {
    const bool de = LanguageIsGerman();
    Label->SetCaption(Active ? (de ? u"Aktiv" : u"Activated")
                             : (de ? u"Nicht aktiv" : u"Not activated"));
    Label->Font()->SetColor(Active ? clGreen : clRed);
}

void Teinstshortcuts::CheckShortCuts() {
    const WideString command = Command();
    ShowState(ver_konfig, ConfigurationFilesRegistered(ExecutablePath));
    ShowState(ver_sendenan, WideFileExists(SendToShortcutPath()));
    ShowState(ver_ordner, ShellVerbActive(u"Folder", command));
    ShowState(ver_alledateien, ShellVerbActive(u"*", command));
}

WideString Teinstshortcuts::VerbText() const {
    return LanguageIsGerman() ? u"Öffnen mit Quorbel" : u"Open with Quorbel";
}

WideString Teinstshortcuts::Command() const {
    return OpenCommand(ExecutablePath);
}

void Teinstshortcuts::Changed(bool Check) {
    BroadcastSettingChange();
    if (Check) CheckShortCuts();
}

void Teinstshortcuts::KonfigAnClick(TObject*) {
    RegisterConfigurationFiles(ExecutablePath);
    Changed(true);
}

void Teinstshortcuts::KonfigAusClick(TObject*) {
    UnregisterConfigurationFiles();
    Changed(true);
}

void Teinstshortcuts::SendenAnAnClick(TObject*) {
    const WideString folder = GetSendToFolder();
    if (!folder.empty())
        CreateShellLink(SendToShortcutPath(), ExecutablePath, kShortcutDisplayName, -1, u"", u"",
                        WideExtractFilePath(ExecutablePath));
    Changed(true);
}

void Teinstshortcuts::SendenAnAusClick(TObject*) {
    if (WideFileExists(SendToShortcutPath())) WideDeleteFile(SendToShortcutPath());
    Changed(true);
}

void Teinstshortcuts::OrdnerAnClick(TObject*) {
    RegisterShellVerb(u"Folder", VerbText(), Command());
    Changed(true);
}

void Teinstshortcuts::OrdnerAusClick(TObject*) {
    RemoveShellVerb(u"Folder");
    Changed(true);
}

void Teinstshortcuts::AlleDateienAnClick(TObject*) {
    RegisterShellVerb(u"*", VerbText(), Command());
    Changed(true);
}

void Teinstshortcuts::AlleDateienAusClick(TObject*) {
    RemoveShellVerb(u"*");
    Changed(true);
}

void Teinstshortcuts::BeliebigeDateienAnClick(TObject*) {
    RegisterExtensionVerbs(beldateien->Text(), VerbText(), Command());
    Changed(false);
}

void Teinstshortcuts::BeliebigeDateienAusClick(TObject*) {
    RemoveExtensionVerbs(beldateien->Text());
    Changed(false);
}

void Teinstshortcuts::AlsAdminStartenClick(TObject*) {
    RestartAsAdmin();
}

void Teinstshortcuts::OKClick(TObject*) {
    Close();
}

void Teinstshortcuts::Label70Click(TObject*) {
    BrowseTo(Label70->Caption());
}
