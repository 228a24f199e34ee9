#include "dialogs/u_sm_meldung.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"

Tsm_meldung::Tsm_meldung(TComponent* AOwner)
    : TSmallDialog(AOwner, 460, 170, TSymbol::Information) {
    SetName(u"sm_meldung");
    Label2 = AddLabel(u"Label2", 36);
    Label3 = AddLabel(u"Label3", 54);
    Label3->SetAutoSize(false);
    Label3->Font()->SetStyle(fsBold);
    Label4 = AddLabel(u"Label4", 72);
    st = MakeControl<TStaticText>(this, this, u"st", TextLeft(), 36, TextWidth(), 92);
    st->SetAutoSize(false);
    st->SetVisible(false);
    OK = AddButton(u"OK", 0, 2);
    OK->SetCaption(u"OK");
    OK->SetDefault(true);
    OK->Cancel = true;
    OKalle = AddButton(u"OKalle", 1, 2);
    // Enter is OK, also after "OK for all" was pressed for an earlier series.
    SetFocusOnShow(OK);
    OK->OnClick = [this](TObject* Sender) { OKClick(Sender); };
    OKalle->OnClick = [this](TObject* Sender) { OKalleClick(Sender); };
    Sprache();
}

void Tsm_meldung::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(u"Quorbel");
    OKalle->SetCaption(de ? u"OK für alle" : u"OK for all");
}

void Tsm_meldung::OKClick(TObject*) {
    CloseWith(mrOk);
}

void Tsm_meldung::OKalleClick(TObject*) {
    OKalle->Tag = 1;
    CloseWith(mrOk);
}
