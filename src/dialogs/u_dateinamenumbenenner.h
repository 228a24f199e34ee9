// The renaming tool: a window of its own (with a taskbar entry, no owner) that renames
// files by a mask. The user fills its own file list (drops from the file manager, a
// folder with or without its subfolders, optionally filtered by extension), writes a
// mask from constants and fixed text, optionally replaces a text in the name or the
// extension, watches the old and new name of the selected file and renames every listed
// file. Renaming never replaces an existing file. The working window's input list is not
// touched. Its edits, check boxes and combo boxes are settings of the configuration files.
#pragma once

#include <unordered_set>

#include "dialogs/RenameName.h"
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "platform/StatusBars.h"
#include "platform/StdCtrls.h"

class Tdateinamenumbenenner_filter;

class Tdateinamenumbenenner : public TForm {
public:
    explicit Tdateinamenumbenenner(TComponent* AOwner);
    ~Tdateinamenumbenenner() override;

    // The columns after the caption (the file name without its extension).
    enum Column : int { colType = 0, colSize = 1, colStatus = 2, colPath = 3 };

    TGroupBox* GroupBox1; // the list
    TListView* qulist;
    TLabel* la_anzahl;
    TEdit* quordner;
    TButton* OpenOrdner;
    TCheckBox* uv;
    TButton* BitBtn1;     // the filter window
    TButton* BitBtn2;     // delete all rows
    TButton* BitBtn3;     // delete the selected rows
    TGroupBox* GroupBox2; // the mask
    TComboBox* maske;
    TLabel* Label1;                              // how the constants work
    TLabel *Label5, *Label7, *Label9, *Label12;  // "%name%", "%num%", "%abs%", "%0num%"
    TLabel *Label6, *Label8, *Label10, *Label13; // what each constant stands for
    TComboBox* numstart;
    TGroupBox* GroupBox3; // search and replace
    TCheckBox* suchenersetzen;
    TLabel* Label2; // "Search for:"
    TEdit* suchenalt;
    TLabel* Label3; // "Replace with:"
    TEdit* suchenneu;
    TLabel* Label4; // "Search and Replace in:"
    TCheckBox* cb_suchname;
    TCheckBox* cb_suchendung;
    TGroupBox* GroupBox4; // the preview
    TLabel* Label14;      // "Old Name:"
    TLabel* vor_orig;     // the names are shortened to the labels' width, the hints hold the paths
    TLabel* Label15;      // "New Name:"
    TLabel* vor_out;
    TButton* Umbenennen;
    TStatusBar* status;
    TPopupMenu* popupqulist;
    TMenuItem *pop1, *pop2, *pop3, *pop4;
    Tdateinamenumbenenner_filter* filterWindow;

    // Sorting state of the list: the column, 0 ascending / 1 descending, the last column.
    int SortColumn = 0;
    int SortDescending = 0;
    int LastSortColumn = -1;

    void Sprache();

    // The new name of the file Name at the row RowIndex, from the window's settings.
    WideString RenameName(WideStringView Name, int RowIndex) const;
    // Adds the files of Folder (and of its subfolders with uv) that the filter lets pass.
    void AddOrdner(const WideString& Folder);
    // Adds one file; a path already listed shows "dateischoninliste" unless the message
    // window's "OK for all" was chosen.
    void add2list(const WideString& Path);
    // Files and folders dropped from the file manager.
    void DropFiles(const TWideStrArray& Paths);
    // The preview of the file whose path is vor_orig's hint.
    void Vorschau(TObject* Sender);
    // The selected row's path into vor_orig's hint, then the preview.
    void VorschauSetzen(TObject* Sender);
    void UmbenennenClick(TObject* Sender);
    // The four constant labels: the caption replaces the mask's selection.
    void Label5Click(TObject* Sender);
    void suchenersetzenClick(TObject* Sender);
    void qulistColumnClick(TObject* Sender, TListColumn* Column);
    void qulistCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, intptr_t Data,
                       int& Compare);
    void qulistKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void quordnerKeyPress(TObject* Sender, WideChar& Key);
    void OpenOrdnerClick(TObject* Sender);
    void popupqulistPopup(TObject* Sender, bool& Cancel);
    void pop1Click(TObject* Sender);
    void pop2Click(TObject* Sender);
    void pop3Click(TObject* Sender);

    // The texts Sprache fills: counters and status words.
    struct Texts {
        WideString FilesLoaded, FilesRenamed, NotRenamed;
        WideString Renamed, Added, NotRenamedStatus, Exists, Error;
    };
    const Texts& StatusTexts() const { return FTexts; }

protected:
    void WndProc(TMessage& Message) override;

private:
    class BusyWindow;
    void BuildListGroup();
    void BuildMaskGroup();
    void BuildReplaceGroup();
    void BuildPreviewGroup();
    void SpracheList(bool de);
    void SpracheMaskAndReplace(bool de);
    // Rename all, one row: counts it and writes its status.
    void RenameRow(int Index, int& Renamed, int& NotRenamed);
    TListItem* AppendRow(const WideString& Path);
    void DeleteSelectedRows();
    void ClearRows();
    void ShowLoadedCount();
    // Lets queued messages run, as long loops do (the first 25 items, then every 39th).
    void PumpAt(int Index);

    Texts FTexts;
    std::unordered_set<WideString> FPaths; // the paths of the rows
    int FBusy = 0;
};

// The renaming tool of the program (set while one exists); the working window's menu
// items show it.
extern Tdateinamenumbenenner* dateinamenumbenenner;
