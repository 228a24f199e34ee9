// The CSV column editing window: a single-column edit (the controls of its five tabs) and
// the list csv_liste of column actions that the CSV step of the pipeline applies, plus the
// columns to delete. The window processes no text: the CSV step reads its controls by name
// when a preview or a run starts. Modeless, on top of the other windows.
#pragma once

#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/PageControls.h"
#include "platform/StdCtrls.h"

class Tcsv_editing : public TForm {
public:
    explicit Tcsv_editing(TComponent* AOwner);
    ~Tcsv_editing() override;

    TLabel *Label1, *Label2, *Label3;
    TComboBox* cb_col;
    TButton* bt_newcols;
    TPageControl* PageControl1;
    TTabSheet *tab_replace, *tab_insert, *tab_writing, *tab_calculations, *tab_delcolumns;
    // Replace tab.
    TLabel *Label6, *Label7;
    TEdit *ed_suchen, *ed_ersetzen;
    TCheckBox *cb_suchen_regex, *cb_ersetzen_regex, *cb_ersetzen_caseinsensitive;
    TButton* Button3;
    // Insert tab.
    TLabel* Label9;
    TEdit* ed_insert;
    TRadioButton *rb_insert_vorne, *rb_insert_hinten, *rb_insert_position, *rb_insert_ifempty,
        *rb_insert_ifnotempty;
    TEdit* ed_insert_position;
    TButton* Button4;
    // Writing tab.
    TRadioButton *rb_writing_uppercase, *rb_writing_lowercase, *rb_writing_trim;
    TButton* Button5;
    // Calculations tab.
    TLabel* Label4;
    TEdit* ed_calc_value;
    TRadioButton *rb_calc_plus, *rb_calc_minus, *rb_calc_mal, *rb_calc_div;
    TButton* Button6;
    // Column deletion tab.
    TLabel *Label5, *Label10;
    TEdit* ed_delcolumns;
    // The action list and the buttons below it.
    TListView* csv_liste;
    TCheckBox* csv_onlylist;
    TButton *Button1, *Button2;

    void FormCreate(TObject* Sender);
    void Sprache();
    // The add buttons of the replace, insert, writing and calculations tabs: each appends
    // one row when its condition holds, and nothing (silently) otherwise.
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    // Five more column numbers in cb_col, before the "Other.." item.
    void bt_newcolsClick(TObject* Sender);
    // Apply: the working window's preview is recomputed; OK: the same, then the window hides.
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    // "Andere.."/"Other.." chosen: the box is emptied for a column number typed by hand.
    void cb_colChange(TObject* Sender);
    void csv_listeDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                           bool& Accept);
    void csv_listeDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    // Ctrl+A selects every row, Delete deletes the selected rows.
    void csv_listeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);

    // Shows the window with that tab in front (the working window's CSV panel buttons).
    void ShowPage(TTabSheet* Page);

private:
    void BuildTabs();
    void AddRow(const WideString& Keyword, const WideString& Value1, const WideString& Value2);
};

// The window; nullptr until it is created.
extern Tcsv_editing* csv_editing;
