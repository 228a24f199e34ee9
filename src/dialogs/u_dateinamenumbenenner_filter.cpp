#include "dialogs/u_dateinamenumbenenner_filter.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/KeyFilters.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/SmallDialog.h"
#include "dialogs/u_sm_filter.h"

Tdateinamenumbenenner_filter::Tdateinamenumbenenner_filter(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"dateinamenumbenenner_filter");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(330);
    SetClientHeight(150);
    Label1 = MakeControl<TLabel>(this, this, u"Label1", 12, 12, 306, 13);
    alle = MakeControl<TRadioButton>(this, this, u"alle", 12, 36, 306, 17);
    auswahl = MakeControl<TRadioButton>(this, this, u"auswahl", 12, 60, 306, 17);
    filter = MakeControl<TEdit>(this, this, u"filter", 30, 82, 288, 21);
    filter->SetText(u"jpg,bmp,txt");
    filter->OnKeyPress = [](TObject*, WideChar& Key) { FileNameKeyFilter(Key); };
    OK = MakeControl<TButton>(this, this, u"OK", 243, 115, 75, 25);
    OK->SetCaption(u"OK");
    OK->SetDefault(true);
    OK->OnClick = [this](TObject* Sender) { OKClick(Sender); };
    alle->OnClick = [this](TObject* Sender) { alleClick(Sender); };
    auswahl->OnClick = alle->OnClick;
    alle->SetChecked(true);
    alleClick(alle);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = OnShow;
    Sprache();
    RegisterConfigurationWindow("DF", this);
}

void Tdateinamenumbenenner_filter::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(u"Filter");
    Label1->SetCaption(de ? u"Nach welchen Dateien soll gesucht werden?"
                          : u"Which files shall be looked for?");
    alle->SetCaption(de ? u"Alle Dateien suchen (Keinen Filter verwenden)"
                        : u"Search for all files (Use no filter)");
    auswahl->SetCaption(de ? u"Nur nach folgenden Dateien suchen:"
                           : u"Only search for following files:");
}

void Tdateinamenumbenenner_filter::alleClick(TObject*) {
    filter->SetEnabled(auswahl->Checked());
}

void Tdateinamenumbenenner_filter::OKClick(TObject*) {
    if (Modal())
        SetModalResult(mrOk);
    else
        Close();
}

void Tdateinamenumbenenner_filter::FormShow(TObject*) {
    CentreFormOver(this, dynamic_cast<TForm*>(Owner()));
}

TWideStrArray Tdateinamenumbenenner_filter::Masks() const {
    if (alle->Checked()) return {u".*"};
    return ExtensionMasks({filter->Text()}, ExtensionDots::Kept);
}
