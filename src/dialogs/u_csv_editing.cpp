#include "dialogs/u_csv_editing.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/ListReordering.h"
#include "dialogs/SettingDesignValues.h"
#include "dialogs/WindowSettingsView.h"
#include "dialogs/WorkingWindowLink.h"
#include "engine/SettingsView.h"
#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

Tcsv_editing* csv_editing = nullptr;

namespace {

constexpr int kClientWidth = 620;
constexpr int kTabWidth = 604;
constexpr int kFieldLeft = 120;
constexpr int kFieldWidth = kTabWidth - kFieldLeft - 18;
constexpr int kAddButtonTop = 136;
constexpr WideStringView kOtherGerman = u"Andere";
constexpr WideStringView kOtherEnglish = u"Other";

// The integer test of the number routines ("-3" and "$1F" count as integers).
bool isInteger(const WideString& text) {
    return IsNumeric(WideToUTF8(text));
}

bool isOtherItem(const WideString& text) {
    return text == u"Andere.." || text == u"Other..";
}

} // namespace

Tcsv_editing::Tcsv_editing(TComponent* AOwner) : TForm(AOwner) {
    csv_editing = this;
    RegisterSettingsWindow("Tcsv_editing", this);
    RegisterConfigurationWindow("CE", this);
    SetName(u"csv_editing");
    SetBorderStyle(bsSingle);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(kClientWidth);
    SetClientHeight(556);

    Label2 = MakeControl<TLabel>(this, this, u"Label2", 8, 8, kTabWidth, 15);
    Label3 = MakeControl<TLabel>(this, this, u"Label3", 8, 26, kTabWidth, 30);
    Label3->SetAutoSize(false);
    Label3->SetWordWrap(true);
    Label1 = MakeControl<TLabel>(this, this, u"Label1", 8, 66, 60, 15);
    cb_col = MakeControl<TComboBox>(this, this, u"cb_col", 80, 62, 90, 21);
    bt_newcols = MakeControl<TButton>(this, this, u"bt_newcols", 176, 61, 25, 23);
    bt_newcols->SetCaption(u"+");
    bt_newcols->SetVisible(false);

    PageControl1 = MakeControl<TPageControl>(this, this, u"PageControl1", 8, 92, kTabWidth, 196);
    BuildTabs();

    csv_liste = MakeControl<TListView>(this, this, u"csv_liste", 8, 296, kTabWidth, 180);
    for (int width : {70, 170, 170, 170})
        csv_liste->Columns().Add()->SetWidth(width);
    csv_liste->SetMultiSelect(true);
    csv_liste->SetRowSelect(true);
    csv_liste->SetReadOnly(true);
    csv_liste->HideSelection = false;
    csv_liste->DragMode = dmAutomatic;
    csv_onlylist = MakeControl<TCheckBox>(this, this, u"csv_onlylist", 8, 484, 400, 17);
    Button1 = MakeControl<TButton>(this, this, u"Button1", kClientWidth - 188, 520, 85, 25);
    Button2 = MakeControl<TButton>(this, this, u"Button2", kClientWidth - 93, 520, 85, 25);
    Button2->SetCaption(u"OK");

    ApplySettingDesignValues(this, "Tcsv_editing");

    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    bt_newcols->OnClick = [this](TObject* s) { bt_newcolsClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    cb_col->OnChange = [this](TObject* s) { cb_colChange(s); };
    csv_liste->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st,
                                   bool& accept) { csv_listeDragOver(s, src, x, y, st, accept); };
    csv_liste->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
        csv_listeDragDrop(s, src, x, y);
    };
    csv_liste->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        csv_listeKeyDown(s, key, shift);
    };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

Tcsv_editing::~Tcsv_editing() {
    UnregisterSettingsWindow(this);
    if (csv_editing == this) csv_editing = nullptr;
}

void Tcsv_editing::BuildTabs() {
    auto tab = [this](WideStringView name) {
        auto* sheet = new TTabSheet(this);
        sheet->SetName(WideString(name));
        sheet->SetPageControl(PageControl1);
        return sheet;
    };
    auto addButton = [this](TTabSheet* sheet, WideStringView name) {
        return MakeControl<TButton>(this, sheet, name, kTabWidth - 118, kAddButtonTop, 100, 25);
    };
    auto radio = [this](TTabSheet* sheet, WideStringView name, int top) {
        return MakeControl<TRadioButton>(this, sheet, name, 10, top, 300, 17);
    };

    tab_replace = tab(u"tab_replace");
    Label6 = MakeControl<TLabel>(this, tab_replace, u"Label6", 10, 12, 105, 15);
    ed_suchen = MakeControl<TEdit>(this, tab_replace, u"ed_suchen", kFieldLeft, 8, kFieldWidth, 21);
    Label7 = MakeControl<TLabel>(this, tab_replace, u"Label7", 10, 40, 105, 15);
    ed_ersetzen =
        MakeControl<TEdit>(this, tab_replace, u"ed_ersetzen", kFieldLeft, 36, kFieldWidth, 21);
    cb_suchen_regex =
        MakeControl<TCheckBox>(this, tab_replace, u"cb_suchen_regex", 10, 66, 490, 17);
    cb_ersetzen_regex =
        MakeControl<TCheckBox>(this, tab_replace, u"cb_ersetzen_regex", 10, 88, 490, 17);
    cb_ersetzen_caseinsensitive =
        MakeControl<TCheckBox>(this, tab_replace, u"cb_ersetzen_caseinsensitive", 10, 110, 490, 17);
    Button3 = addButton(tab_replace, u"Button3");

    tab_insert = tab(u"tab_insert");
    Label9 = MakeControl<TLabel>(this, tab_insert, u"Label9", 10, 12, 105, 15);
    ed_insert = MakeControl<TEdit>(this, tab_insert, u"ed_insert", kFieldLeft, 8, kFieldWidth, 21);
    rb_insert_vorne = radio(tab_insert, u"rb_insert_vorne", 38);
    rb_insert_hinten = radio(tab_insert, u"rb_insert_hinten", 58);
    rb_insert_position = radio(tab_insert, u"rb_insert_position", 78);
    rb_insert_position->SetWidth(220);
    ed_insert_position =
        MakeControl<TEdit>(this, tab_insert, u"ed_insert_position", 236, 76, 50, 21);
    rb_insert_ifempty = radio(tab_insert, u"rb_insert_ifempty", 98);
    rb_insert_ifnotempty = radio(tab_insert, u"rb_insert_ifnotempty", 118);
    Button4 = addButton(tab_insert, u"Button4");

    tab_writing = tab(u"tab_writing");
    rb_writing_uppercase = radio(tab_writing, u"rb_writing_uppercase", 12);
    rb_writing_lowercase = radio(tab_writing, u"rb_writing_lowercase", 34);
    rb_writing_trim = radio(tab_writing, u"rb_writing_trim", 56);
    Button5 = addButton(tab_writing, u"Button5");

    tab_calculations = tab(u"tab_calculations");
    Label4 = MakeControl<TLabel>(this, tab_calculations, u"Label4", 10, 12, 105, 15);
    ed_calc_value =
        MakeControl<TEdit>(this, tab_calculations, u"ed_calc_value", kFieldLeft, 8, 100, 21);
    rb_calc_plus = radio(tab_calculations, u"rb_calc_plus", 38);
    rb_calc_minus = radio(tab_calculations, u"rb_calc_minus", 58);
    rb_calc_mal = radio(tab_calculations, u"rb_calc_mal", 78);
    rb_calc_div = radio(tab_calculations, u"rb_calc_div", 98);
    Button6 = addButton(tab_calculations, u"Button6");

    tab_delcolumns = tab(u"tab_delcolumns");
    Label5 = MakeControl<TLabel>(this, tab_delcolumns, u"Label5", 10, 12, 105, 15);
    ed_delcolumns =
        MakeControl<TEdit>(this, tab_delcolumns, u"ed_delcolumns", kFieldLeft, 8, kFieldWidth, 21);
    Label10 = MakeControl<TLabel>(this, tab_delcolumns, u"Label10", 10, 40, kTabWidth - 28, 32);
    Label10->SetAutoSize(false);
    Label10->SetWordWrap(true);

    PageControl1->SetActivePage(tab_replace);
}

void Tcsv_editing::FormCreate(TObject*) {
    Sprache();
}

void Tcsv_editing::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(t(u"CSV Bearbeitung", u"CSV Editing"));
    Label1->SetCaption(t(u"Spalte:", u"Column:"));
    Label2->SetCaption(
        t(u"Wählen Sie eine Spalte und die Aktion, die mit dieser Spalte durchgeführt werden soll.",
          u"Select a column and the action that should be applied to this column."));
    Label3->SetCaption(t(u"Um mehrere Aktionen anzuwenden, klicken Sie auf \"Hinzufügen\" und "
                         u"wählen eine neue Spalte und Aktion aus.",
                         u"To apply more than one actions, click on \"Add\" and select a new "
                         u"column and action."));
    tab_replace->SetCaption(t(u"Ersetzen", u"Replace"));
    Label6->SetCaption(t(u"Suchen nach:", u"Search for:"));
    Label7->SetCaption(t(u"Ersetzen durch:", u"Replace with:"));
    cb_suchen_regex->SetCaption(t(u"Als regulären Ausdruck interpretieren (RegEx)",
                                  u"Use Regular Expression in Search Box (RegEx)"));
    cb_ersetzen_regex->SetCaption(t(u"Als regulären Ausdruck interpretieren (RegEx)",
                                    u"Use Regular Expression in Replace Box (RegEx)"));
    cb_ersetzen_caseinsensitive->SetCaption(
        t(u"Unabhängig von Groß- und Kleinschreibung suchen", u"Search case-insensitive"));
    tab_insert->SetCaption(t(u"Einfügen", u"Insert"));
    Label9->SetCaption(t(u"Einfügen:", u"Insert:"));
    rb_insert_vorne->SetCaption(t(u"Vorne einfügen", u"Insert at the beginning"));
    rb_insert_hinten->SetCaption(t(u"Hinten einfügen", u"Insert at the end"));
    rb_insert_position->SetCaption(t(u"An dieser Position einfügen:", u"Insert at this position:"));
    rb_insert_ifempty->SetCaption(t(u"Wenn Zelle leer ist", u"If cell is empty"));
    rb_insert_ifnotempty->SetCaption(
        t(u"Wenn Zelle nicht leer ist überschreiben", u"If cell is not empty, overwrite"));
    tab_writing->SetCaption(t(u"Schreibweise und Format", u"Writing and Format"));
    rb_writing_lowercase->SetCaption(
        t(u"Kleinbuchstaben (LOWERCASE)", u"Lowercase Letters (LOWERCASE)"));
    rb_writing_uppercase->SetCaption(
        t(u"Großbuchstaben (UPPERCASE)", u"Uppercase Letters (UPPERCASE)"));
    rb_writing_trim->SetCaption(t(u"Leerzeichen abschneiden (TRIM)", u"Cut spaces (TRIM)"));
    tab_calculations->SetCaption(t(u"Rechenoperationen", u"Calculations"));
    Label4->SetCaption(t(u"Wert:", u"Value:"));
    rb_calc_plus->SetCaption(t(u"Addieren (ADD)", u"Add (ADD)"));
    rb_calc_minus->SetCaption(t(u"Subtrahieren (SUBT)", u"Subtract (SUBT)"));
    rb_calc_mal->SetCaption(t(u"Multiplizieren (MULT)", u"Multiply (MULT)"));
    rb_calc_div->SetCaption(t(u"Dividieren (DIV)", u"Divide (DIV)"));
    tab_delcolumns->SetCaption(t(u"Spalten löschen", u"Delete Columns"));
    Label5->SetCaption(t(u"Spalten löschen:", u"Delete Columns:"));
    Label10->SetCaption(t(u"Mehrere Spalten können mit einem Komma oder als Range angegeben "
                          u"werden (1,3,5-10)",
                          u"Multiple columns can be specified comma separated or as a range "
                          u"(1,3,5-10)"));
    const char16_t* titles[][2] = {{u"Spalte", u"Column"},
                                   {u"Aktion", u"Action"},
                                   {u"Wert 1", u"Value 1"},
                                   {u"Wert 2", u"Value 2"}};
    for (int i = 0; i < csv_liste->Columns().Count(); ++i)
        csv_liste->Columns()[i]->SetCaption(t(titles[i][0], titles[i][1]));
    csv_onlylist->SetCaption(
        t(u"Nur Aktionen aus dieser Liste anwenden", u"Only apply actions from this list"));
    for (TButton* add : {Button3, Button4, Button5, Button6})
        add->SetCaption(t(u"Hinzufügen", u"Add"));
    Button1->SetCaption(t(u"Anwenden", u"Apply"));

    // The last item of cb_col says "Other.." in the window's language; what the box shows
    // (a typed column number, say) stays.
    const WideString shown = cb_col->Text();
    const WideStringView from = de ? kOtherEnglish : kOtherGerman;
    const WideStringView to = de ? kOtherGerman : kOtherEnglish;
    for (int i = 0; i < cb_col->Items().Count(); ++i) {
        const WideString item = cb_col->Items().Get(i);
        const WideString switched = ReplaceAllW(item, from, to);
        if (switched != item) cb_col->Items().Put(i, switched);
    }
    cb_col->SetText(shown);
}

void Tcsv_editing::AddRow(const WideString& Keyword, const WideString& Value1,
                          const WideString& Value2) {
    TListItem* row = csv_liste->Items().Add();
    row->SetCaption(cb_col->Text());
    row->SubItems().Add(Keyword);
    row->SubItems().Add(Value1);
    row->SubItems().Add(Value2);
}

void Tcsv_editing::Button3Click(TObject*) {
    if (ed_suchen->Text().empty() || !isInteger(cb_col->Text())) return;
    WideString keyword = u"REPLACE";
    if (cb_suchen_regex->Checked())
        keyword = cb_ersetzen_regex->Checked() ? u"REPLACE REGEX" : u"REPLACE REGEX SR";
    else if (cb_ersetzen_caseinsensitive->Checked())
        keyword = u"REPLACE CI";
    AddRow(keyword, ed_suchen->Text(), ed_ersetzen->Text());
}

void Tcsv_editing::Button4Click(TObject*) {
    if (ed_insert->Text().empty() || !isInteger(cb_col->Text())) return;
    if (rb_insert_position->Checked()) {
        if (!isInteger(ed_insert_position->Text())) return;
        AddRow(u"INSERT POSITION", ed_insert->Text(), ed_insert_position->Text());
        return;
    }
    const WideString keyword = rb_insert_hinten->Checked()       ? u"INSERT AFTER"
                               : rb_insert_ifempty->Checked()    ? u"INSERT IF EMPTY"
                               : rb_insert_ifnotempty->Checked() ? u"INSERT IF NOT EMPTY"
                                                                 : u"INSERT BEFORE";
    AddRow(keyword, ed_insert->Text(), WideString());
}

void Tcsv_editing::Button5Click(TObject*) {
    const WideString how = rb_writing_lowercase->Checked() ? u"LOWERCASE"
                           : rb_writing_trim->Checked()    ? u"TRIM"
                                                           : u"UPPERCASE";
    AddRow(u"WRITING", how, WideString());
}

void Tcsv_editing::Button6Click(TObject*) {
    if (!isInteger(ed_calc_value->Text())) return;
    const WideString operation = rb_calc_minus->Checked() ? u"SUBT"
                                 : rb_calc_mal->Checked() ? u"MULT"
                                 : rb_calc_div->Checked() ? u"DIV"
                                                          : u"ADD";
    AddRow(u"CALC", operation, ed_calc_value->Text());
}

void Tcsv_editing::bt_newcolsClick(TObject*) {
    // The numbers go on from the last number item; "Other.." stays the last item.
    int32_t last = 0;
    int insertAt = cb_col->Items().Count();
    for (int i = 0; i < cb_col->Items().Count(); ++i) {
        const WideString item = cb_col->Items().Get(i);
        int32_t value = 0;
        if (TryValInt32(WideToUTF8(item), value))
            last = value;
        else if (isOtherItem(item))
            insertAt = i;
    }
    const WideString shown = cb_col->Text();
    for (int n = 1; n <= 5; ++n)
        cb_col->Items().Insert(insertAt++, U16(std::to_string(int64_t(last) + n)));
    cb_col->SetText(shown);
}

void Tcsv_editing::Button1Click(TObject*) {
    if (WorkingWindowLink* w = WorkingWindow()) w->VorschauWennAktiv();
}

void Tcsv_editing::Button2Click(TObject* Sender) {
    Button1Click(Sender);
    Hide();
}

void Tcsv_editing::cb_colChange(TObject*) {
    if (!isOtherItem(cb_col->Text())) return;
    cb_col->SetItemIndex(-1);
    cb_col->SetText(WideString());
    if (cb_col->CanFocus()) cb_col->SetFocus();
}

void Tcsv_editing::csv_listeDragOver(TObject*, TObject* Source, int, int, TDragState,
                                     bool& Accept) {
    Accept = Source == csv_liste;
}

void Tcsv_editing::csv_listeDragDrop(TObject*, TObject* Source, int X, int Y) {
    if (Source != csv_liste) return;
    TListItems& items = csv_liste->Items();
    DraggedRows<ListRow> list;
    list.rows = ListViewRows(csv_liste);
    for (int i = 0; i < items.Count(); ++i)
        list.selected.push_back(items[i]->Selected());
    list.current = csv_liste->ItemIndex();
    TListItem* target = csv_liste->GetItemAt(X, Y);
    if (!DropSelectedRows(list, target ? target->Index() : -1)) return;
    auto update = items.Update();
    for (int i = 0; i < items.Count(); ++i) {
        TListItem* item = items[i];
        const ListRow& row = list.rows[size_t(i)];
        item->SetCaption(row.caption);
        item->SubItems().Clear();
        for (const WideString& cell : row.subItems)
            item->SubItems().Add(cell);
        item->SetSelected(list.selected[size_t(i)]);
    }
    if (list.current >= 0) items[list.current]->SetFocused(true);
}

void Tcsv_editing::csv_listeKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
    if (Key == 'A' && (Shift & ssCtrl)) {
        csv_liste->SelectAll();
    } else if (Key == VK_DELETE) {
        TListItems& items = csv_liste->Items();
        auto update = items.Update();
        for (int i = items.Count() - 1; i >= 0; --i)
            if (items[i]->Selected()) items.Delete(i);
    }
}

void Tcsv_editing::ShowPage(TTabSheet* Page) {
    PageControl1->SetActivePage(Page);
    Show();
    BringToFront();
}
