// The input list `qulist`: how files get in (one file, a folder through the type filter,
// files dropped from the file manager), how a row is filled and refreshed, the status
// column, the icons per extension, the count label and the sorting by column.
//
// Rows hold absolute paths; the path (InputListColumn::Path) is the key by which rows are
// matched. A row is appended only once everything it shows has been read, so a file whose
// information cannot be read leaves no half-filled row behind.
#include <algorithm>
#include <ctime>
#include <optional>
#include <unordered_set>

#include "dialogs/LanguageCode.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/InputListColumns.h"
#include "engine/LocaleTexts.h"
#include "engine/ProcessLog.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/u_prog.h"
#include "platform/FileDrops.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

bool DocNoticePending = true;

namespace {

// The words of the list in the current language.
struct ListWords {
    const char16_t *New, *Changed, *NotChanged, *Marked;
    const char16_t *OneFile, *Files, *FilesFound, *FilesAnalyzed, *FilesAdded;
    const char16_t *Searching, *Analyzing;
};
constexpr ListWords kEnglishWords{u"New",
                                  u"Changed",
                                  u"Not Changed",
                                  u"Marked",
                                  u" File",
                                  u" Files",
                                  u" Files found",
                                  u" Files analyzed",
                                  u" Files added",
                                  u"Searching for Files",
                                  u"Analyzing Files"};
constexpr ListWords kGermanWords{u"Neu",
                                 u"Geändert",
                                 u"Unverändert",
                                 u"Markiert",
                                 u" Datei",
                                 u" Dateien",
                                 u" Dateien gefunden",
                                 u" Dateien analysiert",
                                 u" Dateien werden hinzugefügt",
                                 u"Dateien werden gesucht",
                                 u"Dateien werden analysiert"};

const ListWords& Words() {
    return LanguageIsGerman() ? kGermanWords : kEnglishWords;
}

WideString Number(int64_t n) {
    return U16(std::to_string(n));
}

// The decimal byte count of a row (0 for a row without one).
int64_t ByteCount(WideStringView Digits) {
    int64_t n = 0;
    for (WideChar c : Digits) {
        if (c < u'0' || c > u'9') break;
        n = n * 10 + (c - u'0');
    }
    return n;
}

// Word processor and spreadsheet files get a one-time note: Quorbel works on plain text.
bool IsOfficeExtension(WideStringView UpperExt) {
    for (WideStringView ext : {u"DOC", u"DOCX", u"XLS", u"XLSX"})
        if (UpperExt == ext) return true;
    return false;
}

// The extension of a path without its dot, upper-cased ("TXT").
WideString UpperExtension(WideStringView Path) {
    WideString ext = WideExtractFileExt(Path);
    if (!ext.empty() && ext[0] == u'.') ext.erase(0, 1);
    return WideUpperCase(ext);
}

// What a row shows of a file, read completely before the row is appended.
struct RowContent {
    WideString Name, Format, Type, Codepage, SizeText, Bytes;
    int Icon = -1;
};

// Files are taken as text when their bytes are not plain 8-bit (a mark, UTF-8, ...) or
// when every byte is a text byte.
bool ReadsAsText(const WideString& File, TextEncodingCode& Encoding) {
    try {
        Encoding = DetectFileEncoding(File);
    } catch (const std::exception&) {
        return false;
    }
    return Encoding != teANSI || IsTextFileW(File);
}

} // namespace

// ---- Long adds: progress window, disabled working window ----

// While a folder or a drop is added, the working window is disabled (only the progress
// window's cancel button acts) and the progress window is shown; both are undone however
// the add ends.
class Tprog::ListAddProgress {
public:
    ListAddProgress(Tprog& Window, bool Silent)
        : FWindow(Window), FProgress(Silent ? nullptr : ProgramWindow<Tsm_bearbeitung>()),
          FSilent(Silent) {
        if (!FSilent) FWindow.SetEnabled(false);
    }
    ~ListAddProgress() {
        if (FSilent) return;
        if (FProgress) FProgress->Hide();
        FWindow.SetEnabled(true);
        if (FWindow.Visible()) FWindow.SetFocus();
    }
    ListAddProgress(const ListAddProgress&) = delete;
    ListAddProgress& operator=(const ListAddProgress&) = delete;

    void Labels(const WideString& Title, const WideString& Count, const WideString& Done) {
        if (!FProgress) return;
        FProgress->Label1->SetCaption(Title);
        FProgress->Label2->SetCaption(Count);
        FProgress->Label3->SetCaption(Done);
    }
    void Analyzed(int Done) {
        if (!FProgress) return;
        FProgress->Label3->SetCaption(Number(Done) + Words().FilesAnalyzed);
        FProgress->Progress->SetPosition(Done);
    }
    void Maximum(int Count) {
        if (FProgress) FProgress->Progress->SetMax(Count);
    }
    void Reset() {
        if (FProgress) FProgress->Progress->SetPosition(0);
    }
    void Show() {
        if (FProgress) FProgress->Show();
    }
    // After a nested add that hid the window and enabled the working window again.
    void Resume(const WideString& Title, const WideString& Count, int Done, int Maximum) {
        if (FSilent) return;
        FWindow.SetEnabled(false);
        this->Maximum(Maximum);
        Labels(Title, Count, WideString());
        Analyzed(Done);
        Show();
    }
    void Pump() {
        if (!FSilent) Application->ProcessMessages();
    }
    // The stop request of the cancel button, taken back at once.
    bool Cancelled() {
        if (!FProgress || FProgress->Abbrechen->Tag != 1) return false;
        FProgress->Abbrechen->Tag = 0;
        return true;
    }

private:
    Tprog& FWindow;
    Tsm_bearbeitung* FProgress;
    bool FSilent;
};

// ---- Adding files ----

void Tprog::add2list(const WideString& Path, TListView* List) {
    AddListRow(Path, List, nullptr, std::nullopt);
}

void Tprog::AddListRow(const WideString& Path, TListView* List,
                       std::unordered_set<WideString>* KnownPaths,
                       std::optional<TextEncodingCode> Encoding) {
    // A missing file, a link that leads nowhere, a FIFO, a device or a file of /proc is
    // never read: it is not there for the list.
    if (!IsDataFile(Path)) {
        if (RunState().ProcessLogEnabled)
            logevent(Path, "NOT FOUND", RunState().ProgramFolder(), std::time(nullptr));
        return;
    }
    const bool duplicate = KnownPaths ? KnownPaths->count(Path) > 0 : RowOfPathIn(List, Path) >= 0;
    if (duplicate) {
        if (!MessagesSuppressed()) meldungzeigen("dateischoninliste", Path);
        return;
    }
    RowContent row;
    try {
        row.Format = UpperExtension(Path);
        if (DocNoticePending && IsOfficeExtension(row.Format)) {
            DocNoticePending = false;
            meldungzeigen("docmsg", u"");
        }
        TDateiInfoW info;
        GetDateiInfoW(Path, info);
        if (info.Size < 0) throw std::runtime_error("the file vanished while it was read");
        row.Name = WideExtractFileName(Path);
        row.Type = info.TypeName;
        row.Codepage = TextEncodingName(Encoding ? *Encoding : DetectFileEncoding(Path));
        row.SizeText = KilobyteText(info.Size);
        row.Bytes = Number(info.Size);
        row.Icon = GetFileIconNumber(Path, IconList);
    } catch (const std::exception&) {
        if (!MessagesSuppressed()) meldungzeigen("formatfehler", Path);
        return;
    }
    TListItem* item = List->Items().Add();
    item->SetCaption(row.Name);
    item->SetImageIndex(row.Icon);
    TUCodeStringList& sub = item->SubItems();
    sub.BeginUpdate();
    for (const WideString* text : {&row.Format, &row.Type, &row.Codepage, &row.SizeText})
        sub.Add(*text);
    sub.Add(Words().New);
    sub.Add(Path);
    sub.Add(row.Bytes);
    sub.EndUpdate();
    if (List == qulist) FitSizeColumn(row.SizeText);
    if (KnownPaths) KnownPaths->insert(Path);
}

int Tprog::RowOfPathIn(TListView* List, WideStringView Path) {
    TListItems& rows = List->Items();
    for (int i = 0; i < rows.Count(); ++i)
        if (RowHasPath(rows[i], Path)) return i;
    return -1;
}

bool Tprog::RowHasPath(const TListItem* Row, WideStringView Path) {
    // A run looks up its row by path for every file it converts: the row's path is
    // compared where it lies, from its end, where the paths of one folder differ.
    const TUCodeStringList& sub = Row->SubItems();
    if (int(InputListColumn::Path) >= sub.Count()) return Path.empty();
    const WideString& path = sub.ItemRef(int(InputListColumn::Path));
    return path.size() == Path.size() && std::equal(path.rbegin(), path.rend(), Path.rbegin());
}

WideString Tprog::RowPath(const TListItem* Row) {
    const TUCodeStringList& sub = Row->SubItems();
    return int(InputListColumn::Path) < sub.Count() ? sub.Get(int(InputListColumn::Path))
                                                    : WideString();
}

std::unordered_set<WideString> Tprog::ListPaths() const {
    std::unordered_set<WideString> paths;
    TListItems& rows = qulist->Items();
    paths.reserve(size_t(rows.Count()) * 2);
    for (int i = 0; i < rows.Count(); ++i)
        paths.insert(RowPath(rows[i]));
    return paths;
}

void Tprog::AddOrdner(const WideString& Folder) {
    if (Folder.empty()) return;
    if (!IsDataFolder(Folder)) { // /proc and /sys are never searched
        if (RunState().ProcessLogEnabled)
            logevent(Folder, "NOT FOUND", RunState().ProgramFolder(), std::time(nullptr));
        return;
    }
    // Without the filter window the design values hold: all files, checked for text.
    auto* filter = ProgramWindow<Tsm_filter>();
    const TWideStrArray masks = filter ? filter->Masks() : TWideStrArray{u".*"};
    const bool checkText = filter ? filter->CheckForText() : true;

    SetOkForAll(1);
    {
        ListAddProgress progress(*this, RunState().Silent != SilentLevel::Interactive);
        progress.Reset();
        progress.Labels(Words().Searching, u"0" + WideString(Words().FilesFound),
                        u"0" + WideString(Words().FilesAnalyzed));
        progress.Show();
        progress.Pump();

        TUCodeStringList found;
        FindFilesW(found, Folder, masks, inp_uv->Checked());
        const int count = found.Count();
        progress.Maximum(count);
        progress.Labels(Words().Analyzing, Number(count) + Words().FilesFound,
                        u"0" + WideString(Words().FilesAnalyzed));
        progress.Pump();

        TListItems::TUpdate update(qulist->Items());
        std::unordered_set<WideString> known = ListPaths();
        for (int i = 0; i < count; ++i) {
            const WideString file = found.Get(i);
            TextEncodingCode detected = teANSI;
            if (!checkText)
                AddListRow(file, qulist, &known, std::nullopt);
            else if (IsDataFile(file) && ReadsAsText(file, detected))
                AddListRow(file, qulist, &known, detected);
            progress.Analyzed(i + 1);
            if (PumpsMessagesBefore(i)) progress.Pump();
            if (progress.Cancelled()) break;
        }
        WriteFileCount();
    }
    SetOkForAll(0);
    VorschauWennAktiv(this);
}

void Tprog::WMDropFiles(const TWideStrArray& Names) {
    const int count = int(Names.size());
    {
        TListItems::TUpdate update(qulist->Items());
        const bool silent = RunState().Silent != SilentLevel::Interactive;
        ListAddProgress progress(*this, silent);
        progress.Maximum(count);
        progress.Labels(Words().Analyzing, Number(count) + Words().FilesAdded,
                        u"0" + WideString(Words().FilesAnalyzed));
        progress.Pump();
        progress.Show();
        for (int i = 0; i < count; ++i) {
            const WideString& name = Names[size_t(i)];
            if (WideDirectoryExists(name)) {
                AddOrdner(name);
                progress.Resume(Words().Analyzing, Number(count) + Words().FilesAdded, i, count);
            } else
                add2list(name, qulist);
            if (PumpsMessagesBefore(i)) progress.Pump();
            progress.Analyzed(i + 1);
            if (progress.Cancelled()) break;
        }
        WriteFileCount();
    }
    SetOkForAll(0);
    VorschauWennAktiv(this);
}

// ---- Rows ----

void Tprog::SetOkForAll(int Tag) {
    if (auto* box = ProgramWindow<Tsm_meldung>()) box->OKalle->Tag = Tag;
}

void Tprog::SetRowStatusNew(int Index) {
    if (Index < 0 || Index >= qulist->Items().Count()) return;
    TUCodeStringList& sub = qulist->Items()[Index]->SubItems();
    while (sub.Count() <= int(InputListColumn::Status))
        sub.Add(u"");
    sub.Put(int(InputListColumn::Status), Words().New);
}

void Tprog::QUSelect(int Status, int Mark, int Index) {
    if (Index < 0 || Index >= qulist->Items().Count()) return;
    TUCodeStringList& sub = qulist->Items()[Index]->SubItems();
    while (sub.Count() <= int(InputListColumn::Status))
        sub.Add(u"");
    const WideString current = WideUpperCase(sub.Get(int(InputListColumn::Status)));
    const auto has = [&](WideStringView word) { return current.find(word) != WideString::npos; };
    if (Status < 0) {
        // German "Unverändert"/"Geändert" and English "Not Changed"/"Changed" in either
        // language; "UNVER" and "NOT CHANGED" first, since they hold the other words.
        Status = has(u"UNVER")         ? 0
                 : has(u"NOT CHANGED") ? 0
                 : has(u"GE")          ? 1
                 : has(u"CHANGED")     ? 1
                                       : -1;
    }
    if (Mark < 0) Mark = has(u"MARK") ? 1 : 0;
    const ListWords& w = Words();
    WideString text = Status == 1 ? w.Changed : Status == 0 ? w.NotChanged : w.New;
    if (Mark == 1) text += u", " + WideString(w.Marked);
    sub.Put(int(InputListColumn::Status), text);
}

int Tprog::GetFileIconNumber(const WideString& Path, TImageList* Images) {
    const WideString key = UpperExtension(Path);
    for (size_t i = 0; i < FIconExtCache.size(); ++i)
        if (FIconExtCache[i] == key) return int(i);
    // An extension without any icon is asked for once only.
    if (FIconlessExtensions.count(key)) return -1;
    const int index = Images->AddIcon(GetSysSmallIconW(Path));
    if (index < 0) {
        FIconlessExtensions.insert(key);
        return index;
    }
    if (size_t(index) >= FIconExtCache.size()) FIconExtCache.resize(size_t(index) + 1);
    FIconExtCache[size_t(index)] = key;
    return index;
}

void Tprog::RewriteFileTypeNames() {
    auto update = qulist->Items().Update();
    for (int i = 0; i < qulist->Items().Count(); ++i) {
        TUCodeStringList& sub = qulist->Items()[i]->SubItems();
        if (sub.Count() > int(InputListColumn::Path))
            sub.Put(int(InputListColumn::Type), FileTypeNameW(sub.Get(int(InputListColumn::Path))));
    }
}

// Status words already in the list follow a language switch; the status and the mark
// stay as they are.
void Tprog::RewriteStatusWords() {
    auto update = qulist->Items().Update();
    for (int i = 0; i < qulist->Items().Count(); ++i) {
        const TUCodeStringList& sub = qulist->Items()[i]->SubItems();
        if (sub.Count() > int(InputListColumn::Status) &&
            !sub.Get(int(InputListColumn::Status)).empty())
            QUSelect(-1, -1, i);
    }
}

void Tprog::UpdateListItem(int Index) {
    if (Index < 0 || Index >= qulist->Items().Count()) return;
    TListItem* item = qulist->Items()[Index];
    try {
        const WideString path = RowPath(item);
        TDateiInfoW info;
        GetDateiInfoW(path, info);
        if (info.Size < 0) return;
        const WideString encoding = GetFileEncodingName(path);
        const int icon = GetFileIconNumber(path, IconList);
        item->SetCaption(WideExtractFileName(path));
        if (icon >= 0) item->SetImageIndex(icon);
        TUCodeStringList& sub = item->SubItems();
        sub.BeginUpdate();
        while (sub.Count() < int(InputListColumn::Count))
            sub.Add(u"");
        sub.Put(int(InputListColumn::Format), UpperExtension(path));
        sub.Put(int(InputListColumn::Type), info.TypeName);
        sub.Put(int(InputListColumn::Codepage), encoding);
        sub.Put(int(InputListColumn::Size), KilobyteText(info.Size));
        sub.Put(int(InputListColumn::Bytes), Number(info.Size));
        sub.EndUpdate();
        FitSizeColumn(sub.Get(int(InputListColumn::Size)));
    } catch (const std::exception&) {
        // A file that cannot be read now keeps what the row showed.
    }
}

// A size of many thousand kilobytes is wider than the column's design width.
void Tprog::FitSizeColumn(const WideString& SizeText) {
    // The caption is the first column, sub-item n the column after it.
    qulist->Columns()[int(InputListColumn::Size) + 1]->WidenToShow(SizeText);
}

void Tprog::WriteFileCount() {
    const int count = qulist->Items().Count();
    la_anzahl->SetCaption(Number(count) + (count == 1 ? Words().OneFile : Words().Files));
}

// ---- Sorting ----

namespace {

// What a row is sorted by in a column: the byte count for the size column, else a text
// (the caption for column 0, the sub-item before the column for the others) in upper case,
// so that plain comparisons of the keys order as WideCompareText does.
struct RowSortKey {
    int64_t Bytes = 0;
    WideString Upper;
};

RowSortKey SortKeyOf(const TListItem* Row, int Column) {
    // The size by its byte count: the kilobyte text would order "999" after "1.024".
    const TUCodeStringList& sub = Row->SubItems();
    const auto subItem = [&](size_t i) {
        return int(i) < sub.Count() ? WideStringView(sub.ItemRef(int(i))) : WideStringView();
    };
    if (Column == 4) return {ByteCount(subItem(InputListColumn::Bytes)), {}};
    return {0, WideUpperCase(Column == 0 ? WideStringView(Row->Caption())
                                         : subItem(size_t(Column - 1)))};
}

int CompareSortKeys(const RowSortKey& A, const RowSortKey& B) {
    if (A.Bytes != B.Bytes) return A.Bytes < B.Bytes ? -1 : 1;
    return A.Upper.compare(B.Upper);
}

} // namespace

void Tprog::qulistColumnClick(TObject* Sender, TListColumn* Column) {
    (void)Sender;
    const int c = Column->Index();
    SortColumn = c;
    SortDescending = c == LastSortColumn ? 1 - SortDescending : 0;
    LastSortColumn = c;
    // The keys are taken once, so the sort compares plain values; the order is the one
    // qulistCompare gives (a stable sort, equal rows keep their order).
    TListItems& rows = qulist->Items();
    std::vector<std::pair<RowSortKey, TListItem*>> keyed;
    keyed.reserve(size_t(rows.Count()));
    for (int i = 0; i < rows.Count(); ++i)
        keyed.emplace_back(SortKeyOf(rows[i], c), rows[i]);
    const bool descending = SortDescending != 0;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        return descending ? CompareSortKeys(b.first, a.first) < 0
                          : CompareSortKeys(a.first, b.first) < 0;
    });
    std::vector<TListItem*> order;
    order.reserve(keyed.size());
    for (const auto& k : keyed)
        order.push_back(k.second);
    qulist->ReorderItems(order);
    if (act_dateizus->Checked())
        VorschauWennAktiv(this);
    else
        VorschauPfad();
}

void Tprog::qulistCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, intptr_t Data,
                          int& Compare) {
    (void)Sender;
    (void)Data;
    const TListItem* a = SortDescending ? Item2 : Item1;
    const TListItem* b = SortDescending ? Item1 : Item2;
    Compare = CompareSortKeys(SortKeyOf(a, SortColumn), SortKeyOf(b, SortColumn));
}

void Tprog::BindListEvents() {
    qulist->OnColumnClick = [this](TObject* s, TListColumn* c) { qulistColumnClick(s, c); };
    qulist->OnCompare = [this](TObject* s, TListItem* a, TListItem* b, intptr_t d, int& r) {
        qulistCompare(s, a, b, d, r);
    };
    // The status column is wide enough for "Not Changed, Marked" / "Unverändert, Markiert".
    qulist->Columns()[5]->SetWidth(std::max(qulist->Columns()[5]->Width(), 135));
    // Files dropped from the file manager. Windows posts WM_DROPFILES once the drag has
    // ended; here the drop arrives while the file manager still waits for its end, so the
    // files are added from a posted message and the file manager is not held meanwhile.
    DragAcceptFiles(this, true);
    HookWindowProc([this](TMessage& m, const TWndMethod& next) {
        next(m);
        if (m.Msg == WM_DROPFILES) {
            FPendingDrops.push_back(DragQueryFiles(DroppedFilesOf(m)));
            PostMessage(Handle(), kAddDroppedFilesMessage);
        } else if (m.Msg == kAddDroppedFilesMessage && !FPendingDrops.empty()) {
            const TWideStrArray names = std::move(FPendingDrops.front());
            FPendingDrops.pop_front();
            WMDropFiles(names);
        }
    });
    BindListCommandEvents();
}
