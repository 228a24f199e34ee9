#include "dialogs/u_sm_bearbeitung.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"

Tsm_bearbeitung::Tsm_bearbeitung(TComponent* AOwner)
    : TSmallDialog(AOwner, 400, 140, TSymbol::Information) {
    SetName(u"sm_bearbeitung");
    Label2 = AddLabel(u"Label2", 38);
    Label3 = AddLabel(u"Label3", 56);
    Label3->SetAutoSize(false);
    Progress = MakeControl<TProgressBar>(this, this, u"Progress", TextLeft(), 78, TextWidth(), 17);
    OK = AddButton(u"OK", 0, 2);
    OK->SetCaption(u"OK");
    OK->SetVisible(false);
    Abbrechen = AddButton(u"Abbrechen", 1, 2);
    Abbrechen->OnClick = [this](TObject* Sender) { AbbrechenClick(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    Sprache();
}

void Tsm_bearbeitung::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(u"Quorbel");
    Abbrechen->SetCaption(de ? u"Abbrechen" : u"Break");
}

void Tsm_bearbeitung::AbbrechenClick(TObject*) {
    Abbrechen->Tag = 1;
}

void Tsm_bearbeitung::FormCloseQuery(TObject* Sender, bool& CanClose) {
    AbbrechenClick(Sender);
    CanClose = false;
}
