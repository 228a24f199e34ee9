#include "dialogs/u_dateinamenumbenenner.h"

#include "desktop/FolderChooser.h"
#include "dialogs/KeyFilters.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/ProgramWindows.h"
#include "dialogs/WorkingWindowLink.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/LocaleTexts.h"
#include "platform/FileDrops.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/RenameNoReplace.h"
#include "text/UCodeClasses.h"
#include "text/WideStrUtils.h"

namespace {

WideString Decimal(int Value) {
    return U16(std::to_string(Value));
}

// The size in bytes of a row, kept beside its text so that sorting needs no parsing of
// the locale's number format.
int64_t RowBytes(const TListItem* Row) {
    return int64_t(reinterpret_cast<intptr_t>(Row->Data));
}

int CompareWithoutCase(WideStringView A, WideStringView B) {
    const WideString a = WideUpperCase(A), b = WideUpperCase(B);
    return a < b ? -1 : a > b ? 1 : 0;
}

// The type column: the extension in upper case without its dot.
WideString TypeOfExtension(WideStringView Ext) {
    return WideUpperCase(Ext.substr(Ext.empty() ? 0 : 1));
}

bool OkForAllChosen() {
    auto* box = ProgramWindow<Tsm_meldung>();
    return box && box->OKalle->Tag == 1;
}

void ShowMessage(std::string_view Key, WideStringView Path) {
    if (auto* working = WorkingWindow()) working->meldungzeigen(Key, Path);
}

} // namespace

// The window is disabled while a long action runs (nested actions share it) and enabled
// and focused again however the outermost one ends, even by an exception. When it ends,
// the message window's "OK for all" is taken back, so that the next action asks again.
class Tdateinamenumbenenner::BusyWindow {
public:
    explicit BusyWindow(Tdateinamenumbenenner* Window) : FWindow(Window) {
        if (FWindow->FBusy++ == 0) FWindow->SetEnabled(false);
    }
    ~BusyWindow() {
        if (--FWindow->FBusy > 0) return;
        FWindow->SetEnabled(true);
        if (FWindow->Showing()) FWindow->SetFocus();
        if (auto* box = ProgramWindow<Tsm_meldung>()) box->OKalle->Tag = 0;
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    Tdateinamenumbenenner* FWindow;
};

Tdateinamenumbenenner* dateinamenumbenenner = nullptr;

Tdateinamenumbenenner::~Tdateinamenumbenenner() {
    if (dateinamenumbenenner == this) dateinamenumbenenner = nullptr;
}

WideString Tdateinamenumbenenner::RenameName(WideStringView Name, int RowIndex) const {
    TRenameReplace replace{suchenersetzen->Checked(), suchenalt->Text(), suchenneu->Text(),
                           cb_suchname->Checked(), cb_suchendung->Checked()};
    return ::RenameName(Name, maske->Text(), numstart->Text(), qulist->Items().Count(), RowIndex,
                        replace);
}

// ---------------------------------------------------------------- filling the list

TListItem* Tdateinamenumbenenner::AppendRow(const WideString& Path) {
    const WideString name = WideExtractFileName(Path);
    const WideString ext = WideExtractFileExt(name);
    const int64_t bytes = std::max<int64_t>(GetFileSizeW(Path), 0);
    TListItem* row = qulist->Items().Add();
    row->SetCaption(ReplaceAllW(name, ext, u""));
    row->SubItems().Add(TypeOfExtension(ext));
    row->SubItems().Add(KilobyteText(bytes));
    row->SubItems().Add(FTexts.Added);
    row->SubItems().Add(Path);
    row->Data = reinterpret_cast<void*>(intptr_t(bytes));
    FPaths.insert(Path);
    return row;
}

void Tdateinamenumbenenner::add2list(const WideString& Path) {
    if (FPaths.count(Path)) {
        if (!OkForAllChosen()) ShowMessage("dateischoninliste", Path);
        return;
    }
    AppendRow(Path);
    const int count = qulist->Items().Count();
    PumpAt(count - 1);
    status->SetSimpleText(Decimal(count) + FTexts.FilesLoaded);
    ShowLoadedCount();
}

void Tdateinamenumbenenner::AddOrdner(const WideString& Folder) {
    if (Folder.empty() || !WideDirectoryExists(Folder)) return;
    const TWideStrArray masks = filterWindow->Masks();
    BusyWindow busy(this);
    TUCodeStringList found;
    FindFilesW(found, Folder, masks, uv->Checked());
    {
        auto update = qulist->Items().Update();
        for (int i = 0; i < found.Count(); ++i) {
            const WideString path = found.Get(i);
            if (WideFileExists(path)) add2list(path);
        }
    }
    ShowLoadedCount();
}

void Tdateinamenumbenenner::DropFiles(const TWideStrArray& Paths) {
    BusyWindow busy(this);
    {
        auto update = qulist->Items().Update();
        int handled = 0;
        for (const WideString& path : Paths) {
            if (WideDirectoryExists(path))
                AddOrdner(path);
            else
                add2list(path);
            ++handled;
            if (Application) Application->ProcessMessages();
            status->SetSimpleText(Decimal(handled) + FTexts.FilesLoaded);
        }
    }
    ShowLoadedCount();
}

void Tdateinamenumbenenner::WndProc(TMessage& Message) {
    if (Message.Msg == WM_DROPFILES) {
        DropFiles(DragQueryFiles(DroppedFilesOf(Message)));
        return;
    }
    TForm::WndProc(Message);
}

void Tdateinamenumbenenner::ShowLoadedCount() {
    la_anzahl->SetCaption(Decimal(qulist->Items().Count()) + FTexts.FilesLoaded);
}

void Tdateinamenumbenenner::PumpAt(int Index) {
    if (Application && (Index < 25 || Index % 39 == 0)) Application->ProcessMessages();
}

// ---------------------------------------------------------------- removing rows

void Tdateinamenumbenenner::DeleteSelectedRows() {
    auto update = qulist->Items().Update();
    for (int i = qulist->Items().Count() - 1; i >= 0; --i) {
        TListItem* row = qulist->Items()[i];
        if (!row->Selected()) continue;
        FPaths.erase(row->SubItems().Get(colPath));
        qulist->Items().Delete(i);
    }
}

void Tdateinamenumbenenner::ClearRows() {
    qulist->Items().Clear();
    FPaths.clear();
}

void Tdateinamenumbenenner::BitBtn2Click(TObject*) {
    ClearRows();
    ShowLoadedCount();
}

void Tdateinamenumbenenner::BitBtn3Click(TObject*) {
    DeleteSelectedRows();
    ShowLoadedCount();
}

void Tdateinamenumbenenner::qulistKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
    if (Key == 'A' && (Shift & ssCtrl)) {
        qulist->SelectAll();
        Key = 0;
    } else if (Key == VK_DELETE) {
        BitBtn3Click(qulist);
        Key = 0;
    }
}

// ---------------------------------------------------------------- folders

void Tdateinamenumbenenner::quordnerKeyPress(TObject*, WideChar& Key) {
    if (Key == u'\r') {
        Key = 0;
        const WideString folder = quordner->Text();
        if (WideDirectoryExists(folder))
            AddOrdner(folder);
        else
            ShowMessage("ordnerfalschopen", folder);
        return;
    }
    FolderPathKeyFilter(Key);
}

void Tdateinamenumbenenner::OpenOrdnerClick(TObject*) {
    // The title of the working window's folder chooser.
    const WideString title = LanguageIsGerman()
                                 ? u"Wählen Sie einen Ordner, in dem die Dateien gespeichert werden"
                                 : u"Choose a Folder for Output";
    const WideString previous = quordner->Text();
    WideString folder;
    if (WideSelectDirectory(title, WideString(), folder, sdNewUI, this) && !folder.empty()) {
        quordner->SetText(folder);
        AddOrdner(folder);
    } else {
        quordner->SetText(previous);
    }
}

void Tdateinamenumbenenner::BitBtn1Click(TObject*) {
    filterWindow->ShowModal();
}

// ---------------------------------------------------------------- mask and preview

void Tdateinamenumbenenner::Label5Click(TObject* Sender) {
    auto* label = dynamic_cast<TLabel*>(Sender);
    if (!label) return;
    const WideString inserted = label->Caption();
    const WideString text = maske->Text();
    const size_t start = std::min<size_t>(size_t(std::max(maske->SelStart(), 0)), text.size());
    const size_t length =
        std::min<size_t>(size_t(std::max(maske->SelLength(), 0)), text.size() - start);
    maske->SetText(text.substr(0, start) + inserted + text.substr(start + length));
    Vorschau(maske);
    maske->SetSelStart(int(start + inserted.size()));
    maske->SetSelLength(0);
}

void Tdateinamenumbenenner::suchenersetzenClick(TObject*) {
    const bool on = suchenersetzen->Checked();
    for (TControl* c : std::initializer_list<TControl*>{suchenalt, suchenneu, cb_suchname,
                                                        cb_suchendung, Label2, Label3})
        c->SetEnabled(on);
    Vorschau(suchenersetzen);
}

void Tdateinamenumbenenner::Vorschau(TObject*) {
    const WideString path = vor_orig->Hint();
    vor_orig->SetCaption(WideExtractFileName(path));
    if (path.empty()) {
        vor_out->SetHint(WideString());
        vor_out->SetCaption(WideString());
        return;
    }
    // The preview numbers the file by its own row (the path identifies a row; two rows may
    // share a name); a path listed nowhere counts as row 0.
    int index = 0;
    for (int i = 0; i < qulist->Items().Count(); ++i)
        if (qulist->Items()[i]->SubItems().Get(colPath) == path) {
            index = i;
            break;
        }
    const WideString newName = RenameName(WideExtractFileName(path), index);
    vor_out->SetHint(WideExtractFilePath(path) + newName);
    vor_out->SetCaption(newName);
}

void Tdateinamenumbenenner::VorschauSetzen(TObject* Sender) {
    if (TListItem* row = qulist->Selected()) vor_orig->SetHint(row->SubItems().Get(colPath));
    Vorschau(Sender);
}

// ---------------------------------------------------------------- sorting

void Tdateinamenumbenenner::qulistColumnClick(TObject*, TListColumn* Column) {
    const int column = Column->Index();
    SortDescending = column == LastSortColumn ? 1 - SortDescending : 0;
    LastSortColumn = column;
    SortColumn = column;
    qulist->CustomSort();
    Vorschau(qulist);
}

void Tdateinamenumbenenner::qulistCompare(TObject*, TListItem* Item1, TListItem* Item2, intptr_t,
                                          int& Compare) {
    if (SortColumn == 0) {
        Compare = CompareWithoutCase(Item1->Caption(), Item2->Caption());
    } else if (SortColumn - 1 == colSize) {
        const int64_t a = RowBytes(Item1), b = RowBytes(Item2);
        Compare = a < b ? -1 : a > b ? 1 : 0;
    } else {
        const int sub = SortColumn - 1;
        Compare = CompareWithoutCase(Item1->SubItems().Get(sub), Item2->SubItems().Get(sub));
    }
    if (SortDescending) Compare = -Compare;
}

// ---------------------------------------------------------------- popup

void Tdateinamenumbenenner::popupqulistPopup(TObject*, bool& Cancel) {
    Cancel = qulist->SelCount() == 0;
}

void Tdateinamenumbenenner::pop1Click(TObject*) {
    if (TListItem* row = qulist->Selected()) {
        const WideString path = row->SubItems().Get(colPath);
        if (WideFileExists(path)) ShowInFolderW(path);
    }
}

void Tdateinamenumbenenner::pop2Click(TObject*) {
    if (TListItem* row = qulist->Selected())
        ShowFilePropertiesW(this, row->SubItems().Get(colPath));
}

void Tdateinamenumbenenner::pop3Click(TObject*) {
    WideString names;
    for (int i = 0; i < qulist->Items().Count(); ++i)
        if (TListItem* row = qulist->Items()[i]; row->Selected())
            names += row->SubItems().Get(colPath) + u'\0';
    if (!names.empty()) CopyFilesToClipboardW(names);
}

// ---------------------------------------------------------------- renaming

void Tdateinamenumbenenner::RenameRow(int Index, int& Renamed, int& NotRenamed) {
    TListItem* row = qulist->Items()[Index];
    const WideString path = row->SubItems().Get(colPath);
    if (!WideFileExists(path)) return; // vanished: skipped, not counted
    const WideString newName = RenameName(WideExtractFileName(path), Index);
    const WideString newPath = WideExtractFilePath(path) + newName;
    WideString statusWord;
    if (IsUnsafeNewName(newName)) {
        statusWord = FTexts.Error;
    } else if (WideFileExists(newPath)) {
        statusWord = newPath == path ? FTexts.NotRenamedStatus : FTexts.Exists;
    } else if (!WideRenameNoReplace(path, newPath)) {
        statusWord = WideFileExists(newPath) ? FTexts.Exists : FTexts.Error;
    } else {
        ++Renamed;
        const WideString ext = WideExtractFileExt(newName);
        row->SetCaption(newName);
        row->SubItems().Put(colType, TypeOfExtension(ext));
        row->SubItems().Put(colStatus, FTexts.Renamed);
        row->SubItems().Put(colPath, newPath);
        FPaths.erase(path);
        FPaths.insert(newPath);
        if (vor_orig->Hint() == path) vor_orig->SetHint(newPath);
        return;
    }
    ++NotRenamed;
    row->SubItems().Put(colStatus, statusWord);
}

void Tdateinamenumbenenner::UmbenennenClick(TObject*) {
    if (qulist->Items().Count() == 0) return;
    BusyWindow busy(this);
    int renamed = 0, notRenamed = 0;
    {
        auto update = qulist->Items().Update();
        for (int i = 0; i < qulist->Items().Count(); ++i) {
            RenameRow(i, renamed, notRenamed);
            WideString text = Decimal(renamed) + FTexts.FilesRenamed;
            if (notRenamed > 0) text += u" (" + Decimal(notRenamed) + FTexts.NotRenamed + u")";
            status->SetSimpleText(text);
            PumpAt(i);
        }
    }
    Vorschau(this);
}
