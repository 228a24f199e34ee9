// The column order window: the list liste holds the column numbers in the order in which
// the CSV step writes the columns. Items follow the mouse while they are dragged. Modeless,
// on top of the other windows; the CSV step reads liste by name.
#pragma once

#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/StdCtrls.h"

class Tcsv_order : public TForm {
public:
    explicit Tcsv_order(TComponent* AOwner);
    ~Tcsv_order() override;

    TListBox* liste;
    TBitBtn *BitBtn1, *BitBtn5, *BitBtn6;
    TButton *Button1, *Button2;
    TStaticText* StaticText1;

    void FormCreate(TObject* Sender);
    void Sprache();
    // "+": with n items, the numbers n+1 to n+5 are appended.
    void BitBtn1Click(TObject* Sender);
    // "<" and ">" (hidden): the current item changes places with the one above or below.
    void BitBtn5Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    // Every drag-over event moves the selected items after the pointer.
    void listeDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                       bool& Accept);

private:
    void ExchangeItems(int A, int B);
};

extern Tcsv_order* csv_order;
