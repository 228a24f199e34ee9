#include "dialogs/u_bugreport.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/ProjectLinks.h"

TBugReportWindow::TBugReportWindow(TComponent* AOwner, bool German) : TForm(AOwner) {
    SetName(German ? u"bugreport_de" : u"bugreport_en");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(420);
    SetClientHeight(170);
    SetCaption(German ? u"Quorbel - Fehler oder Verbesserung melden"
                      : u"Quorbel - Report Bug or Improvement");
    Label1 = MakeControl<TLabel>(this, this, u"Label1", 12, 12, 396, 64);
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetCaption(
        German ? u"Haben Sie einen Fehler gefunden oder eine Idee, wie Quorbel besser werden "
                 u"kann? Beschreiben Sie bitte kurz, was Sie getan haben, was Sie erwartet "
                 u"haben und was geschehen ist. Jede Meldung hilft."
               : u"Did you find a fault, or do you have an idea how Quorbel could be better? "
                 u"Please describe briefly what you did, what you expected and what "
                 u"happened. Every report helps.");
    Label2 = MakeLinkLabel(this, this, u"Label2", 12, 84,
                           ProjectPage(German ? u"de/fehler-melden" : u"en/report-bug"));
    Label3 = MakeLinkLabel(this, this, u"Label3", 12, 104,
                           ProjectPage(German ? u"de/vorschlag" : u"en/suggestion"));
    Button1 = MakeControl<TButton>(this, this, u"Button1", 420 - 12 - 75, 170 - 12 - 25, 75, 25);
    Button1->SetCaption(u"OK");
    Button1->SetDefault(true);
    Button1->Cancel = true;
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TBugReportWindow::Button1Click(TObject*) {
    Close();
}
