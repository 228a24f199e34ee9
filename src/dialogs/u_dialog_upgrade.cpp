#include "dialogs/u_dialog_upgrade.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/ProjectLinks.h"

Tdialog_upgrade::Tdialog_upgrade(TComponent* AOwner)
    : TSmallDialog(AOwner, 470, 190, TSymbol::Information) {
    SetName(u"dialog_upgrade");
    SetBorderStyle(bsSizeToolWin);
    Position = poScreenCenter;
    Label2 = AddLabel(u"Label2", 38);
    Label3 = AddLabel(u"Label3", 56);
    Label4 = AddLabel(u"Label4", 74);
    Label5 = AddLabel(u"Label5", 100);
    for (TLabel* l : {Label2, Label3, Label4, Label5})
        l->SetAnchors(akLeft | akTop | akRight);
    Label6 = MakeLinkLabel(this, this, u"Label6", TextLeft(), 118, WideString());
    OK = AddButton(u"OK", 0, 1);
    OK->SetCaption(u"OK");
    OK->SetDefault(true);
    OK->Cancel = true;
    OK->SetAnchors(akRight | akBottom);
    Bevel1->SetAnchors(akLeft | akTop | akBottom);
    OK->OnClick = [this](TObject* s) { OKClick(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void Tdialog_upgrade::FormCreate(TObject*) {
    const bool de = LanguageIsGerman();
    SetCaption(de ? u"Quorbel - Neue Version" : u"Quorbel - New Version");
    Label1->SetCaption(de ? u"Eine neue Version ist erschienen" : u"A new version is available");
    Label2->SetCaption(de ? u"Es gibt eine neuere Version von Quorbel."
                          : u"There is a newer version of Quorbel.");
    Label3->SetCaption(de ? u"Diese Version wird nicht mehr weiterentwickelt."
                          : u"This version is no longer being developed.");
    Label4->SetCaption(de ? u"Ihr fehlen Funktionen der aktuellen Version."
                          : u"It lacks functions of the current version.");
    Label5->SetCaption(de ? u"Die aktuelle Version erhalten Sie hier:"
                          : u"You can get the current version here:");
    Label6->SetCaption(ProjectPage(de ? u"de/download" : u"en/download"));
}

namespace {
// The start window sits above this unit: it is found by its name, as it finds the notice
// by the notice's name.
TForm* StartWindow() {
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Name() == u"start") return Screen->Forms(i);
    return nullptr;
}
} // namespace

void Tdialog_upgrade::OKClick(TObject*) {
    if (TForm* start = StartWindow()) start->Hide();
    Close();
}

void Tdialog_upgrade::FormClose(TObject*, TCloseAction&) {
    Tag = 1;
}
