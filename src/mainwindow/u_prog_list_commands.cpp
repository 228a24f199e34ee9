// What the user does with the input list: the buttons and the folder field above it, the
// popup menu, the keys, reordering rows by dragging, removing rows, saving and opening a
// file list, and the callbacks of the folder watcher that keep the list in step with a
// watched folder.
#include <unordered_set>

#include "desktop/ShellWatch.h"
#include "dialogs/KeyFilters.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_sm_filter.h"
#include "engine/InputListColumns.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/u_prog.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"
#include "text/WideStrUtils.h"

namespace {

const WideStringView kFileListFilter = u"Text (*.txt)|*.txt";

// The form of a window class the working window only shows (found by its name).
TForm* FormNamed(WideStringView Name) {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Name() == Name) return Screen->Forms(i);
    return nullptr;
}

// The path lies in Folder (directly, or anywhere below it with Subfolders). Paths compare
// exactly, and only at a "/" boundary: "/data/in" does not hold "/data/inbox/a.txt".
bool InWatchedFolder(WideStringView Path, const WideString& Folder, bool Subfolders) {
    const WideString folder = WideIncludeTrailingBackslash(Folder);
    if (Path.size() <= folder.size() || Path.substr(0, folder.size()) != folder) return false;
    return Subfolders || Path.find(u'/', folder.size()) == WideStringView::npos;
}

} // namespace

void Tprog::BindListCommandEvents() {
    inp_deleteall->OnClick = [this](TObject* s) { inp_deleteallClick(s); };
    inp_deleteselect->OnClick = [this](TObject* s) { inp_deleteselectClick(s); };
    pop4->OnClick = inp_deleteselect->OnClick;
    inp_filter->OnClick = [this](TObject* s) { inp_filterClick(s); };
    inp_select->OnClick = [this](TObject* s) { inp_selectClick(s); };
    pop8->OnClick = inp_select->OnClick;
    inp_searchfiles->OnClick = [this](TObject* s) { inp_searchfilesClick(s); };
    inp_openordner->OnClick = [this](TObject* s) { OrdnerWahlClick(s); };
    inp_ordner->OnKeyPress = [this](TObject* s, WideChar& k) { inp_ordnerKeyPress(s, k); };
    inp_ordner->OnDblClick = [this](TObject* s) { inp_ordnerDblClick(s); };
    inp_ordner->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        elementeKeyDown(s, k, sh);
    };
    inp_ow->OnClick = [this](TObject* s) { inp_owClick(s); };
    popupqulist->OnPopup = [this](TObject* s, bool& cancel) { popupqulistPopup(s, cancel); };
    pop0->OnClick = [this](TObject* s) { pop0Click(s); };
    pop1->OnClick = [this](TObject* s) { pop1Click(s); };
    pop2->OnClick = [this](TObject* s) { pop2Click(s); };
    pop3->OnClick = [this](TObject* s) { pop3Click(s); };
    pop5->OnClick = [this](TObject* s) { pop5Click(s); };
    pop6->OnClick = [this](TObject* s) { pop6Click(s); };
    pop7->OnClick = [this](TObject* s) { pop7Click(s); };
    qulist->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st,
                                bool& accept) { qulistDragOver(s, src, x, y, st, accept); };
    qulist->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
        qulistDragDrop(s, src, x, y);
    };
    qulist->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        qulistKeyDown(s, k, sh);
    };
    qulist->OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { qulistKeyUp(s, k, sh); };
    m_dateiliste_save->OnClick = [this](TObject* s) { m_dateiliste_saveClick(s); };
    m_dateiliste_open->OnClick = [this](TObject* s) { m_dateiliste_openClick(s); };
    for (TOpenDialog* d : {od_dateiliste, static_cast<TOpenDialog*>(sd_dateiliste)}) {
        d->SetFilter(WideString(kFileListFilter));
        d->SetDefaultExt(u"txt");
    }
}

// ---- Removing rows ----

void Tprog::inp_deleteallClick(TObject* Sender) {
    (void)Sender;
    {
        TListItems::TUpdate update(qulist->Items());
        qulist->Items().Clear();
    }
    WriteFileCount();
    // Nothing is left to refresh, but the preview lets go of the file it showed.
    ForgetUnlistedPreviewFile();
}

void Tprog::inp_deleteselectClick(TObject* Sender) {
    (void)Sender;
    TListItems& rows = qulist->Items();
    {
        TListItems::TUpdate update(rows);
        const bool bySelection = qulist->SelCount() > 0;
        for (int i = rows.Count() - 1; i >= 0; --i) {
            TListItem* row = rows[i];
            const TUCodeStringList& sub = row->SubItems();
            const bool marked = int(InputListColumn::Status) < sub.Count() &&
                                IsMarkedStatus(sub.Get(int(InputListColumn::Status)));
            if (bySelection ? row->Selected() : marked) rows.Delete(i);
        }
    }
    WriteFileCount();
    VorschauWennAktiv(this);
}

// ---- The tools beside the list ----

void Tprog::inp_filterClick(TObject* Sender) {
    (void)Sender;
    if (auto* filter = ProgramWindow<Tsm_filter>()) filter->ShowModal();
}

void Tprog::inp_selectClick(TObject* Sender) {
    (void)Sender;
    if (auto* marking = ProgramWindow<Tinputselectfilter>()) {
        marking->SelectTarget = Tinputselectfilter::kWholeList;
        marking->Show();
    }
}

void Tprog::inp_searchfilesClick(TObject* Sender) {
    (void)Sender;
    if (TForm* search = FormNamed(u"searchfiles")) {
        search->Show();
        search->BringToFront();
    }
}

// ---- The input folder ----

void Tprog::OrdnerWahlClick(TObject* Sender) {
    (void)Sender;
    const WideString current = inp_ordner->Text();
    const WideString start = WideDirectoryExists(current) ? current : WideString();
    const WideString title = LanguageIsGerman()
                                 ? u"Wählen Sie einen Ordner, in dem die Dateien gespeichert werden"
                                 : u"Choose a Folder for Output";
    WideString chosen;
    if (ShowFolderDialog(title, WideString(), start, BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE,
                         this, chosen))
        inp_ordner->SetText(chosen);
    if (!inp_ordner->Text().empty()) AddOrdner(inp_ordner->Text());
    UpdateFolderWatch();
}

void Tprog::inp_ordnerKeyPress(TObject* Sender, WideChar& Key) {
    (void)Sender;
    if (Key == u'\r') {
        Key = 0;
        const WideString folder = inp_ordner->Text();
        if (IsDataFolder(folder))
            AddOrdner(folder);
        else
            meldungzeigen("ordnerfalschopen", folder);
        UpdateFolderWatch();
        return;
    }
    FolderPathKeyFilter(Key);
}

void Tprog::inp_ordnerDblClick(TObject* Sender) {
    (void)Sender;
    inp_ordner->SelectAll();
}

void Tprog::inp_owClick(TObject* Sender) {
    (void)Sender;
    UpdateFolderWatch();
}

void Tprog::UpdateFolderWatch() {
    if (!ShellWatch) return;
    const WideString folder = inp_ordner->Text();
    if (!folder.empty() && WideDirectoryExists(folder) && inp_ow->Checked()) {
        ShellWatch->StopWatching();
        ShellWatch->WatchRoots = {folder};
        ShellWatch->StartWatching();
    } else {
        ShellWatch->StopWatching();
    }
}

void Tprog::elementeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift) {
    if (Key != 'A' || !(Shift & ssCtrl)) return;
    if (auto* edit = dynamic_cast<TEdit*>(Sender))
        edit->SelectAll();
    else if (auto* memo = dynamic_cast<TMemo*>(Sender))
        memo->SelectAll();
}

// ---- Popup menu ----

void Tprog::popupqulistPopup(TObject* Sender, bool& Cancel) {
    (void)Sender;
    Cancel = qulist->SelCount() == 0;
}

WideString Tprog::FirstSelectedFile() const {
    TListItem* row = qulist->Selected();
    if (!row) return WideString();
    const WideString path = RowPath(row);
    return WideFileExists(path) ? path : WideString();
}

void Tprog::pop0Click(TObject* Sender) {
    (void)Sender;
    if (const WideString file = FirstSelectedFile(); !file.empty()) OpenDocumentW(file);
}

void Tprog::pop1Click(TObject* Sender) {
    (void)Sender;
    if (const WideString file = FirstSelectedFile(); !file.empty()) ShowInFolderW(file);
}

void Tprog::pop2Click(TObject* Sender) {
    (void)Sender;
    if (const WideString file = FirstSelectedFile(); !file.empty()) ShowFilePropertiesW(this, file);
}

void Tprog::pop3Click(TObject* Sender) {
    (void)Sender;
    WideString names;
    if (qulist->SelCount() == 1) {
        const WideString file = FirstSelectedFile();
        if (file.empty()) return;
        names = file + WideChar(0);
    } else {
        // Rows hold absolute paths, so each goes on the clipboard as it is.
        TListItems& rows = qulist->Items();
        for (int i = 0; i < rows.Count(); ++i)
            if (rows[i]->Selected()) names += RowPath(rows[i]) + WideChar(0);
    }
    if (!names.empty()) CopyFilesToClipboardW(names);
}

void Tprog::pop5Click(TObject* Sender) {
    (void)Sender;
    TListItems& rows = qulist->Items();
    TListItems::TUpdate update(rows);
    for (int i = 0; i < rows.Count(); ++i)
        if (rows[i]->Selected()) SetRowStatusNew(i);
}

void Tprog::pop6Click(TObject* Sender) {
    MarkSelectedRows(Sender, 1);
}

void Tprog::pop7Click(TObject* Sender) {
    MarkSelectedRows(Sender, 0);
}

void Tprog::MarkSelectedRows(TObject* Sender, int Mark) {
    (void)Sender;
    TListItems& rows = qulist->Items();
    TListItems::TUpdate update(rows);
    for (int i = 0; i < rows.Count(); ++i)
        if (rows[i]->Selected()) QUSelect(-1, Mark, i);
}

// ---- Keys and dragging ----

void Tprog::qulistKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift) {
    if (Key == 'A' && (Shift & ssCtrl)) {
        qulist->SelectAll();
    } else if (Key == VK_DELETE) {
        inp_deleteselectClick(Sender);
    }
}

void Tprog::qulistKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift) {
    (void)Key;
    (void)Shift;
    VorschauSetzen(Sender);
}

void Tprog::qulistDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                           bool& Accept) {
    (void)Sender;
    (void)X;
    (void)Y;
    (void)State;
    Accept = Source == qulist;
}

void Tprog::qulistDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
    (void)Sender;
    if (Source != qulist) return;
    // A drop onto one of the dragged rows changes nothing (MoveSelectedItems).
    qulist->MoveSelectedItems(qulist->GetItemAt(X, Y));
    VorschauWennAktiv(this);
}

// ---- File lists ----

void Tprog::m_dateiliste_saveClick(TObject* Sender) {
    (void)Sender;
    TListItems& rows = qulist->Items();
    if (rows.Count() == 0) {
        Application->MessageBox(LanguageIsGerman()
                                    ? u"Keine Dateien zum Speichern in der Dateiliste."
                                    : u"There are no files to store in your file list.",
                                Application->Title(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!sd_dateiliste->Execute()) return;
    WideString text;
    for (int i = 0; i < rows.Count(); ++i)
        text += RowPath(rows[i]) + u"\r\n";
    SaveTextFileW(text, sd_dateiliste->FileName(), teUTF8, true);
}

void Tprog::m_dateiliste_openClick(TObject* Sender) {
    (void)Sender;
    if (!od_dateiliste->Execute()) return;
    WideString text;
    LoadTextFileW(od_dateiliste->FileName(), text);
    TWideStrArray lines;
    ExplodeW(lines, u"\r\n", text);
    {
        TListItems::TUpdate update(qulist->Items());
        std::unordered_set<WideString> known = ListPaths();
        for (const WideString& line : lines)
            if (!line.empty() && WideFileExists(line))
                AddListRow(line, qulist, &known, std::nullopt);
    }
    WriteFileCount();
}

// ---- Folder watching ----

int Tprog::LastRowOfPath(WideStringView Path) const {
    TListItems& rows = qulist->Items();
    for (int i = rows.Count() - 1; i >= 0; --i)
        if (RowHasPath(rows[i], Path)) return i;
    return -1;
}

bool Tprog::WatchedFolderHolds(WideStringView Path, bool Subfolders) const {
    const WideString folder = inp_ordner->Text();
    return !folder.empty() && WideDirectoryExists(folder) &&
           InWatchedFolder(Path, folder, Subfolders);
}

void Tprog::swCreate(const WideString& Path) {
    if (!WatchedFolderHolds(Path, inp_uv->Checked())) return;
    SetOkForAll(1);
    add2list(Path, qulist); // a new folder is no file and adds nothing
    VorschauWennAktiv(this);
    SetOkForAll(0);
    WriteFileCount();
}

void Tprog::swDelete(const WideString& Path) {
    if (!WatchedFolderHolds(Path, true)) return;
    if (const int row = LastRowOfPath(Path); row >= 0) qulist->Items().Delete(row);
    VorschauWennAktiv(this);
    WriteFileCount();
}

void Tprog::swRenameItem(const WideString& OldPath, const WideString& NewPath) {
    if (!WatchedFolderHolds(OldPath, true)) return;
    if (const int row = LastRowOfPath(OldPath); row >= 0) {
        TUCodeStringList& sub = qulist->Items()[row]->SubItems();
        // The previewed file keeps its preview under its new name.
        if (sub.Get(int(InputListColumn::Path)) == vor_orig->Hint()) {
            vor_orig->SetHint(NewPath);
            ShortenPathLabel(vor_orig);
        }
        sub.Put(int(InputListColumn::Path), NewPath);
        UpdateListItem(row);
    }
    VorschauWennAktiv(this);
}

void Tprog::swUpdateItem(const WideString& Path) {
    if (!WatchedFolderHolds(Path, true)) return;
    if (const int row = LastRowOfPath(Path); row >= 0) UpdateListItem(row);
    VorschauWennAktiv(this);
}
