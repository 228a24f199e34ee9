#include "dialogs/u_csv_order.h"

#include <string>

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/ListReordering.h"
#include "dialogs/SettingDesignValues.h"
#include "dialogs/WindowSettingsView.h"
#include "dialogs/WorkingWindowLink.h"

Tcsv_order* csv_order = nullptr;

Tcsv_order::Tcsv_order(TComponent* AOwner) : TForm(AOwner) {
    csv_order = this;
    RegisterSettingsWindow("Tcsv_order", this);
    SetName(u"csv_order");
    SetBorderStyle(bsSingle);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(430);
    SetClientHeight(330);

    liste = MakeControl<TListBox>(this, this, u"liste", 8, 8, 90, 314);
    liste->SetMultiSelect(true);
    liste->DragMode = dmAutomatic;
    BitBtn1 = MakeControl<TBitBtn>(this, this, u"BitBtn1", 104, 297, 25, 25);
    BitBtn1->SetCaption(u"+");
    BitBtn5 = MakeControl<TBitBtn>(this, this, u"BitBtn5", 104, 8, 25, 25);
    BitBtn5->SetCaption(u"<");
    BitBtn5->SetVisible(false);
    BitBtn6 = MakeControl<TBitBtn>(this, this, u"BitBtn6", 104, 38, 25, 25);
    BitBtn6->SetCaption(u">");
    BitBtn6->SetVisible(false);
    StaticText1 = MakeControl<TStaticText>(this, this, u"StaticText1", 140, 8, 282, 250);
    StaticText1->SetAutoSize(false);
    Button1 = MakeControl<TButton>(this, this, u"Button1", 242, 297, 85, 25);
    Button2 = MakeControl<TButton>(this, this, u"Button2", 337, 297, 85, 25);
    Button2->SetCaption(u"OK");

    ApplySettingDesignValues(this, "Tcsv_order");

    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
    BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    liste->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st,
                               bool& accept) { listeDragOver(s, src, x, y, st, accept); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

Tcsv_order::~Tcsv_order() {
    UnregisterSettingsWindow(this);
    if (csv_order == this) csv_order = nullptr;
}

void Tcsv_order::FormCreate(TObject*) {
    Sprache();
}

void Tcsv_order::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(de ? u"CSV Bearbeitung: Reihenfolge von Spalten" : u"CSV Editing: Order of Columns");
    Button1->SetCaption(de ? u"Anwenden" : u"Apply");
    StaticText1->SetCaption(
        de ? u"Bewegen Sie mit der Maus die Elemente in der Box links nach oben oder unten, um "
             u"die Reihenfolge der Spalten Ihrer CSV-Datei zu ändern.\r\n\r\n"
             u"Wenn die Anzahl der Elemente nicht ausreicht, klicken Sie auf \"+\", um neue "
             u"Elemente hinzuzufügen.\r\n\r\n"
             u"Klicken Sie für eine Vorschau auf \"Anwenden\"."
           : u"Move the elements in the left box up and down to change the order of the columns "
             u"in your CSV-file.\r\n\r\n"
             u"If there are not enough elements in the box, click on \"+\" to add new "
             u"elements.\r\n\r\n"
             u"Click on \"Apply\" to get a preview.");
}

void Tcsv_order::BitBtn1Click(TObject*) {
    const int n = liste->Count();
    for (int i = n + 1; i <= n + 5; ++i)
        liste->Items().Add(U16(std::to_string(i)));
}

void Tcsv_order::ExchangeItems(int A, int B) {
    const bool selectedA = liste->Selected(A), selectedB = liste->Selected(B);
    const WideString a = liste->Items().Get(A);
    liste->Items().Put(A, liste->Items().Get(B));
    liste->Items().Put(B, a);
    liste->SetSelected(A, selectedB);
    liste->SetSelected(B, selectedA);
}

void Tcsv_order::BitBtn5Click(TObject*) {
    const int i = liste->ItemIndex();
    if (i < 1) return;
    ExchangeItems(i, i - 1);
    liste->SetItemIndex(i - 1);
}

void Tcsv_order::BitBtn6Click(TObject*) {
    const int i = liste->ItemIndex();
    if (i < 0 || i >= liste->Count() - 1) return;
    ExchangeItems(i, i + 1);
    liste->SetItemIndex(i + 1);
}

void Tcsv_order::Button1Click(TObject*) {
    if (WorkingWindowLink* w = WorkingWindow()) w->VorschauWennAktiv();
}

void Tcsv_order::Button2Click(TObject* Sender) {
    Button1Click(Sender);
    Hide();
}

void Tcsv_order::listeDragOver(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
    Accept = false;
    auto* box = dynamic_cast<TListBox*>(Source);
    if (!box) return;
    DraggedRows<WideString> list;
    for (int i = 0; i < box->Count(); ++i) {
        list.rows.push_back(box->Items().Get(i));
        list.selected.push_back(box->Selected(i));
    }
    list.current = box->ItemIndex();
    Accept = DragOverFollowPointer(list, box->ItemAtPos(Point(X, Y), true));
    if (!Accept) return;
    for (int i = 0; i < box->Count(); ++i)
        if (box->Items().Get(i) != list.rows[size_t(i)]) box->Items().Put(i, list.rows[size_t(i)]);
    for (int i = 0; i < box->Count(); ++i)
        box->SetSelected(i, list.selected[size_t(i)]);
    box->SetItemIndex(list.current);
}
