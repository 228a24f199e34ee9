#include "dialogs/u_sm_achtung.h"

#include "dialogs/LanguageCode.h"

Tsm_achtung::Tsm_achtung(TComponent* AOwner) : TSmallDialog(AOwner, 480, 170, TSymbol::Warning) {
    SetName(u"sm_achtung");
    Label2 = AddLabel(u"Label2", 36);
    Label3 = AddLabel(u"Label3", 54);
    Label3->SetAutoSize(false);
    Label3->Font()->SetStyle(fsBold);
    Label4 = AddLabel(u"Label4", 80);
    Label5 = AddLabel(u"Label5", 98);
    OK = AddButton(u"OK", 0, 5);
    Nein = AddButton(u"Nein", 1, 5);
    OKalle = AddButton(u"OKalle", 2, 5);
    NeinAlle = AddButton(u"NeinAlle", 3, 5);
    Abbrechen = AddButton(u"Abbrechen", 4, 5);
    int order = 0;
    for (TButton* b : {Abbrechen, OKalle, OK, Nein, NeinAlle})
        b->SetTabOrder(order++);
    OK->OnClick = [this](TObject* Sender) { OKClick(Sender); };
    Nein->OnClick = [this](TObject* Sender) { NeinClick(Sender); };
    OKalle->OnClick = [this](TObject* Sender) { OKalleClick(Sender); };
    NeinAlle->OnClick = [this](TObject* Sender) { NeinAlleClick(Sender); };
    Abbrechen->OnClick = [this](TObject* Sender) { AbbrechenClick(Sender); };
    // Only a button may end the question: the title bar has no button, the window system's
    // close request is refused and no button is the Escape (cancel) button.
    SetBorderIcons(0);
    OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = FAnswered; };
    TNotifyEvent centre = OnShow;
    OnShow = [this, centre](TObject* Sender) {
        FAnswered = false;
        centre(Sender);
    };
    // A blind Enter never replaces a file.
    SetFocusOnShow(Abbrechen);
    Sprache();
}

void Tsm_achtung::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(u"Quorbel");
    Label1->SetCaption(de ? u"Datei bereits vorhanden" : u"File already exists");
    Label2->SetCaption(de ? u"Die folgende Datei ist bereits vorhanden:"
                          : u"The following File is already exists:");
    Label4->SetCaption(de ? u"Soll diese Datei mit der neuen Datei überschrieben werden?"
                          : u"Shall this File be overwritten with the new File? ");
    Label5->SetCaption(de ? u"Überschriebene Dateien können nicht wiederhergestellt werden."
                          : u"Overwritten Files cannot be restored. ");
    OK->SetCaption(de ? u"Ja" : u"Yes");
    Nein->SetCaption(de ? u"Nein" : u"No");
    OKalle->SetCaption(de ? u"Ja für alle" : u"Yes for all");
    NeinAlle->SetCaption(de ? u"Nein für alle" : u"No for all");
    Abbrechen->SetCaption(de ? u"Abbrechen" : u"Break");
}

void Tsm_achtung::ShowFileName(const WideString& Path) {
    Label3->SetCaption(PathForLabel(Label3, Path));
}

void Tsm_achtung::Answer(TModalResult Result) {
    FAnswered = true;
    CloseWith(Result);
}

void Tsm_achtung::OKClick(TObject*) {
    Answer(mrYes);
}

void Tsm_achtung::NeinClick(TObject*) {
    Nein->Tag = 1;
    Answer(mrNo);
}

void Tsm_achtung::OKalleClick(TObject*) {
    OKalle->Tag = 1;
    Answer(mrYesToAll);
}

void Tsm_achtung::NeinAlleClick(TObject*) {
    Nein->Tag = 1;
    OKalle->Tag = 1;
    Answer(mrNoToAll);
}

void Tsm_achtung::AbbrechenClick(TObject*) {
    Abbrechen->Tag = 1;
    Answer(mrCancel);
}
