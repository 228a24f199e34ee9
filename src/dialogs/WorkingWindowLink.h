// What the tools and settings windows need of the working window. The dialogs sit below
// the working window, so they reach it through this interface: the working window
// registers itself when it is created, tests register a fake. Each method is named after
// the working window's own routine it forwards to.
#pragma once

#include <string_view>

#include "text/TextEncodings.h"
#include "text/WideTypes.h"

class TLabel;
class TListView;
class TMemo;
class TObject;
class TSaveDialog;

class WorkingWindowLink {
public:
    virtual ~WorkingWindowLink() = default;

    // Recomputes the preview at once when the preview is switched on.
    virtual void VorschauWennAktiv() = 0;
    // The keyed message box (shows nothing at silent levels 1 and 2).
    virtual void meldungzeigen(std::string_view key, WideStringView path) = 0;
    // The input file list `qulist` (sub-item 5 of a row is its full path). Named apart from
    // the component: the window holds the component under its own name.
    virtual TListView* InputList() = 0;
    // The replace list `act_ers_text_liste` of the replace-text panel: caption the search
    // text, sub-item 0 the replacement, sub-item 1 the regular-expression mark ("-", "x/-",
    // "x", "-/x"). Named apart from the control, as above.
    virtual TListView* ReplaceTextList() = 0;
    // Writes the status column of row Index: Status -1 keeps the row's state, Mark 0 or 1
    // unmarks or marks it (negative values derive them from the column).
    virtual void QUSelect(int Status, int Mark, int Index) = 0;
    // The save dialog of configuration files (".qvr"), the window's `sd_konfig`.
    virtual TSaveDialog* ConfigSaveDialog() = 0;
    // Writes a profile of the groups ticked in the save-profile window into FileName.
    virtual void KonfigurationSpeichernProfil(TObject* Sender, const WideString& FileName) = 0;
    // Adds FileName to the menu of configurations.
    virtual void KonfigurationAddMenu(TObject* Sender, const WideString& FileName) = 0;
    // Appends a table name to the items of the transliteration choice act_transkription,
    // so that a table saved in the table editor can be chosen at once.
    virtual void act_transkriptionAdd(WideStringView name) = 0;
    // The preview of the old text: the memo `vor_alt`, the label `vor_orig` above it (its
    // hint holds the shown file's path) and the size label `Label12`. Named apart from the
    // controls, as above.
    virtual TMemo* OldPreviewMemo() = 0;
    virtual TLabel* OldPreviewPathLabel() = 0;
    virtual TLabel* OldPreviewSizeLabel() = 0;
    // A file's text made fit for the preview memos (NULs as blanks; line breaks as CR LF
    // when the menu item m_einst_nlkorrektur is ticked).
    virtual WideString LesbarMachen(WideStringView text) = 0;
    // Puts a file's text into the old memo as LesbarMachen makes it fit, inside one update
    // of the memo's lines, and remembers what that changed, so that saving the edited text
    // gives the file back its own line breaks. Every fill of the old memo from a file goes
    // through here.
    virtual void ShowFileInOldPreview(WideStringView fileText) = 0;
    // Writes the row count of the input list with " File" / " Files" into its count label.
    virtual void WriteFileCount() = 0;
    // Reads the file of row Index of the input list again into the row's name, type,
    // encoding and size columns, after a tool rewrote the file.
    virtual void UpdateListItem(int Index) { (void)Index; }
    // The output settings chose an encoding: the code page and byte-order-mark choice of
    // the next runs, and the caption of `act_convert_label` that names them.
    virtual void SetOutputEncoding(TextEncodingCode codePage, bool byteOrderMark,
                                   WideStringView caption) {
        (void)codePage;
        (void)byteOrderMark;
        (void)caption;
    }
};

// The registered working window; nullptr while there is none.
WorkingWindowLink* WorkingWindow();
void SetWorkingWindow(WorkingWindowLink* window);
