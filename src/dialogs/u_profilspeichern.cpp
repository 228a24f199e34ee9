#include "dialogs/u_profilspeichern.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "platform/Dialogs.h"
#include "platform/ShellServices.h"

namespace {
constexpr const char16_t* kProfileInformation = u"https://www.quorbel.de/profile";
constexpr int kColumnLeft[2] = {12, 212}, kFirstRow = 42, kRowHeight = 24;
} // namespace

Tprofilspeichern::Tprofilspeichern(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"profilspeichern");
    RegisterConfigurationWindow("PS", this);
    SetBorderStyle(bsToolWindow);
    Position = poOwnerFormCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(420);
    SetClientHeight(330);
    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 404, 232);
    Label1 = MakeControl<TLabel>(this, GroupBox1, u"Label1", 12, 20, 380, 13);
    TCheckBox** boxes[] = {&act_ers_zeile, &act_ers_text,   &act_anfuegen,   &act_del_text,
                           &act_del_zeile, &act_html,       &act_zeilen,     &act_sonstige,
                           &act_dateizus,  &act_konstanten, &act_dateisplit, &act_transcript};
    const char16_t* names[] = {u"act_ers_zeile",  u"act_ers_text",   u"act_anfuegen",
                               u"act_del_text",   u"act_del_zeile",  u"act_html",
                               u"act_zeilen",     u"act_sonstige",   u"act_dateizus",
                               u"act_konstanten", u"act_dateisplit", u"act_transcript"};
    for (int i = 0; i < 12; ++i)
        *boxes[i] = MakeControl<TCheckBox>(this, GroupBox1, names[i], kColumnLeft[i / 6],
                                           kFirstRow + (i % 6) * kRowHeight, 190, 17);
    alle = MakeControl<TCheckBox>(this, GroupBox1, u"alle", 12, kFirstRow + 6 * kRowHeight + 12,
                                  380, 17);
    alle->OnClick = [this](TObject* Sender) { alleClick(Sender); };
    Label6 = MakeControl<TLabel>(this, this, u"Label6", 8, 250, 404, 13);
    Label7 = MakeControl<TLabel>(this, this, u"Label7", 8, 266, 404, 13);
    Label7->SetCaption(kProfileInformation);
    Label7->SetHint(kProfileInformation);
    Label7->Font()->SetColor(clBlue);
    Label7->Font()->SetStyle(fsUnderline);
    Label7->SetCursor(crHandPoint);
    Label7->OnClick = [this](TObject* Sender) { Label7Click(Sender); };
    Button1 = MakeControl<TButton>(this, this, u"Button1", 196, 296, 130, 25);
    Button1->SetDefault(true);
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
    Button2 = MakeControl<TButton>(this, this, u"Button2", 332, 296, 80, 25);
    Button2->Cancel = true;
    Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
    Sprache();
}

std::array<TCheckBox*, 12> Tprofilspeichern::GroupBoxes() const {
    return {act_ers_zeile, act_ers_text,   act_anfuegen,   act_del_text,
            act_del_zeile, act_html,       act_zeilen,     act_sonstige,
            act_dateizus,  act_konstanten, act_dateisplit, act_transcript};
}

void Tprofilspeichern::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(de ? u"Profil Speichern" : u"Save Profile");
    GroupBox1->SetCaption(de ? u"Einstellungen" : u"Settings");
    Label1->SetCaption(de ? u"Nur die Einstellungen folgender Aktionen werden gespeichert:"
                          : u"Only the Settings of the following Actions will be stored:");
    struct Texts {
        TCheckBox* box;
        const char16_t *german, *english;
    };
    const Texts texts[] = {
        {act_ers_zeile, u"Ersetzen von Zeilen", u"Replace Lines"},
        {act_ers_text, u"Ersetzen von Text", u"Replace Text"},
        {act_anfuegen, u"Einfügen von Text", u"Insert Text"},
        {act_del_text, u"Löschen von Text", u"Delete Text"},
        {act_del_zeile, u"Löschen von Zeilen", u"Delete Lines"},
        {act_html, u"HTML Aktionen", u"HTML Actions"},
        {act_zeilen, u"Zeilen Aktionen", u"Line Actions"},
        {act_sonstige, u"Groß- und Kleinschreibung", u"Upper and Lower Case"},
        {act_dateizus, u"Dateien zusammenfügen", u"Join Files"},
        {act_konstanten, u"Konstanten ersetzen", u"Replace Constants"},
        {act_dateisplit, u"Dateien splitten", u"Split Files"},
        {act_transcript, u"Transkriptionen", u"Transcriptions"},
        {alle, u"Alle aktivieren oder deaktivieren", u"Activate or Deactivate all"},
    };
    for (const Texts& t : texts)
        t.box->SetCaption(de ? t.german : t.english);
    Label6->SetCaption(de ? u"Informationen zum Speichern als Profil erhalten Sie auf:"
                          : u"Information regarding Profile Saving, you can get on:");
    Button1->SetCaption(de ? u"Profil Speichern" : u"Save Profile");
    Button2->SetCaption(de ? u"Abbrechen" : u"Cancel");
}

void Tprofilspeichern::alleClick(TObject*) {
    if (!Showing()) return;
    for (TCheckBox* box : GroupBoxes())
        box->SetChecked(alle->Checked());
}

void Tprofilspeichern::Button1Click(TObject* Sender) {
    struct CloseAtEnd {
        TForm* form;
        ~CloseAtEnd() { form->Close(); }
    } closeAtEnd{this};
    WorkingWindowLink* window = WorkingWindow();
    if (!window) return;
    TSaveDialog* dialog = window->ConfigSaveDialog();
    if (!dialog->Execute() || dialog->FileName().empty()) return;
    const WideString fileName = dialog->FileName();
    window->KonfigurationSpeichernProfil(Sender, fileName);
    window->KonfigurationAddMenu(Sender, fileName);
}

void Tprofilspeichern::Button2Click(TObject*) {
    Close();
}

void Tprofilspeichern::Label7Click(TObject*) {
    BrowseTo(Label7->Hint());
}
