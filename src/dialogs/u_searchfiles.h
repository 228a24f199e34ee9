// The search in files: a tool window over the working window's input list. The user types
// a text, searches every listed file for it and gets the files holding it with their
// number of hits; from the result the working window's list is thinned out or marked, a
// result is shown in the working window's preview, and the search text is located there
// one occurrence after the other, as plain text or as a regular expression. Its memo and
// check boxes are settings of the configuration files ("SF").
#pragma once

#include <vector>

#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"

class Tsearchfiles : public TForm {
public:
    explicit Tsearchfiles(TComponent* AOwner);
    ~Tsearchfiles() override;

    // The columns after the caption (the file name).
    enum Column : int {
        colHits = 0,
        colFormat = 1,
        colType = 2,
        colCoding = 3,
        colSize = 4,
        colPath = 5
    };

    TLabel* Label4; // the two lines of explanation
    TLabel* Label5;
    TLabel* Label2;
    TMemo* Memo1; // the search text
    TCheckBox* cb_gk;
    TCheckBox* cb_regex;
    TButton* Suchen;
    TButton* Button4; // empties Memo1
    TLabel* Label1;
    TListView* erglist;
    TLabel* la_anzahl;
    TButton* bt_show_in_files; // Tag: the 1-based position the next locate starts from
    TButton* bt_delete_found;
    TButton* bt_delete_others;
    TButton* bt_mark_found;
    TButton* bt_mark_filenames;
    TPopupMenu* popupqulist;
    TMenuItem *pop0, *pop1, *pop2, *pop3, *pop4;

    // The sort state of erglist: the column, 1 for descending, the column clicked last.
    int SortColumn = 0;
    int SortDescending = 0;
    int LastSortColumn = -1;

    void Sprache();
    // Appends the result row of a file with its number of hits.
    void add2listSF(const WideString& Path, int Hits);
    void SuchenClick(TObject* Sender);
    void VorschauInProg(TObject* Sender);
    void bt_show_in_filesClick(TObject* Sender);
    void bt_delete_foundClick(TObject* Sender);
    void bt_delete_othersClick(TObject* Sender);
    void bt_mark_foundClick(TObject* Sender);
    void bt_mark_filenamesClick(TObject* Sender);
    void erglistColumnClick(TObject* Sender, TListColumn* Column);
    void erglistCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, intptr_t Data,
                        int& Compare);
    void erglistKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void popupqulistPopup(TObject* Sender, bool& Cancel);
    void pop0Click(TObject* Sender);
    void pop1Click(TObject* Sender);
    void pop2Click(TObject* Sender);
    void pop3Click(TObject* Sender);
    void pop4Click(TObject* Sender);
    // True when Path is the path of a result row.
    bool IsResult(WideStringView Path) const;
    // la_anzahl := the row count with " File" / " Files".
    void ShowCount();

private:
    WideString SearchText() const;
    void ShowRow(TListItem* Row);
    void DeleteWorkingRows(bool Found);
    WideString SelectedExistingFile() const;
};

extern Tsearchfiles* searchfiles;

// The 1-based positions at which Pattern is found in Text, stepping one unit past each
// start ("aa" is found 3 times in "aaaa"): as plain text, or, with RegEx, as an expression
// of the engine with its default modifiers (an expression that does not compile finds
// nothing). These are the positions the locate button visits.
std::vector<int> FindPositions(const WideString& Text, const WideString& Pattern, bool RegEx);
