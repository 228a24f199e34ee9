#include "dialogs/u_searchfiles.h"

#include <algorithm>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProgramWindows.h"
#include "dialogs/WorkingWindowLink.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "engine/LocaleTexts.h"
#include "engine/RunInterface.h"
#include "platform/CanvasText.h"
#include "platform/ShellServices.h"
#include "regex/RegExpr.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

Tsearchfiles* searchfiles = nullptr;

namespace {

WideString Decimal(int64_t Value) {
    return U16(std::to_string(Value));
}

WideString CountWords(int Count) {
    const bool de = LanguageIsGerman();
    return Decimal(Count) +
           (Count == 1 ? (de ? u" Datei" : u" File") : (de ? u" Dateien" : u" Files"));
}

WideString RowPathOf(const TListItem* Row) {
    const TUCodeStringList& sub = Row->SubItems();
    return sub.Count() > Tsearchfiles::colPath ? sub.Get(Tsearchfiles::colPath) : WideString();
}

// The kilobytes of a size column ("1.500 KB" in English, "1,500 KB" in German) as a number.
double KilobytesOf(WideString Text) {
    Text = ReplaceAllW(Text, u" KB", u"");
    std::string digits;
    for (WideChar c : Text)
        if (c >= u'0' && c <= u'9') digits += char(c);
    // Three decimals always follow the separator, whatever the locale writes.
    return digits.empty() ? 0.0 : std::atof(digits.c_str()) / 1000.0;
}

// One search text, found in a text as plain text or as an expression of the engine.
class HitFinder {
public:
    HitFinder(const WideString& Pattern, bool RegEx) : FPattern(Pattern), FRegEx(RegEx) {
        if (!RegEx) return;
        FEngine.SetExpression(Pattern);
        FUsable = FEngine.Compile();
    }
    // The first hit at or after the 1-based position From of the text set last.
    bool Find(int From, int& Pos, int& Len) {
        if (FPattern.empty() || !FUsable || From < 1 || size_t(From) > FText.size()) return false;
        if (!FRegEx) {
            const size_t at = FText.find(FPattern, size_t(From - 1));
            if (at == WideString::npos) return false;
            Pos = int(at) + 1;
            Len = int(FPattern.size());
            return true;
        }
        if (!FEngine.ExecPos(From)) return false;
        Pos = FEngine.GetMatchPos(0);
        Len = FEngine.GetMatchLen(0);
        return Pos >= 1;
    }
    void SetText(const WideString& Text) {
        FText = Text;
        if (FRegEx && FUsable) FEngine.SetInput(FText);
    }

private:
    WideString FPattern, FText;
    bool FRegEx;
    bool FUsable = true;
    TRegExpr FEngine;
};

} // namespace

std::vector<int> FindPositions(const WideString& Text, const WideString& Pattern, bool RegEx) {
    std::vector<int> found;
    HitFinder finder(Pattern, RegEx);
    finder.SetText(Text);
    int from = 1, pos = 0, len = 0;
    while (finder.Find(from, pos, len)) {
        found.push_back(pos);
        from = pos + 1;
    }
    return found;
}

Tsearchfiles::~Tsearchfiles() {
    if (searchfiles == this) searchfiles = nullptr;
}

bool Tsearchfiles::IsResult(WideStringView Path) const {
    const TListItems& rows = erglist->Items();
    for (int i = 0; i < rows.Count(); ++i)
        if (RowPathOf(rows[i]) == Path) return true;
    return false;
}

WideString Tsearchfiles::SearchText() const {
    const WideString text = Memo1->Text();
    return cb_gk->Checked() ? text : WideUpperCase(text);
}

void Tsearchfiles::ShowCount() {
    la_anzahl->SetCaption(CountWords(erglist->Items().Count()));
}

// ---------------------------------------------------------------- the search

void Tsearchfiles::add2listSF(const WideString& Path, int Hits) {
    TDateiInfoW info;
    GetDateiInfoW(Path, info);
    WideString coding;
    try {
        coding = GetFileEncodingName(Path);
    } catch (const std::exception&) {
        // The row still names the file; its coding stays open.
    }
    const WideString name = WideExtractFileName(Path);
    const WideString ext = WideExtractFileExt(name);
    TListItem* row = erglist->Items().Add();
    row->SetCaption(name);
    row->SetImageIndex(GetSysIconIndexW(Path));
    row->SubItems().Add(Decimal(Hits));
    row->SubItems().Add(
        WideUpperCase(ext.empty() ? WideStringView() : WideStringView(ext).substr(1)));
    row->SubItems().Add(info.TypeName);
    row->SubItems().Add(coding);
    // A size of many thousand kilobytes is wider than the column's design width. Sub-item
    // n shows in the column after the caption's.
    const WideString size = KilobyteText(std::max<int64_t>(info.Size, 0));
    erglist->Columns()[row->SubItems().Count() + 1]->WidenToShow(size);
    row->SubItems().Add(size);
    row->SubItems().Add(Path);
}

// The window and the progress window are put back however the search ends.
namespace {
class SearchRun {
public:
    explicit SearchRun(Tsearchfiles* Window)
        : FWindow(Window), FProgress(ProgramWindow<Tsm_bearbeitung>()) {
        FWindow->SetEnabled(false);
        if (!FProgress) return;
        const bool de = LanguageIsGerman();
        FProgress->Abbrechen->Tag = 0;
        FProgress->Label1->SetCaption(de ? u"Dateien werden durchsucht" : u"Searching in Files");
        FProgress->Label2->SetCaption(de ? u"Aktuelle Datei:" : u"Current File:");
        FProgress->Label3->SetCaption(WideString());
        FProgress->Progress->SetPosition(0);
        FProgress->Show();
    }
    ~SearchRun() {
        if (FProgress) {
            FProgress->Hide();
            FProgress->Abbrechen->Tag = 0;
        }
        FWindow->SetEnabled(true);
        if (FWindow->Showing()) FWindow->SetFocus();
        FWindow->bt_show_in_files->Tag = 1;
    }
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // Shows the file about to be searched; false when the user asked to stop.
    bool Step(int Index, int Count, const WideString& Path) {
        if (!FProgress) return true;
        FProgress->Progress->SetMax(Count);
        FProgress->Progress->SetPosition(Index);
        FProgress->Label3->SetCaption(WideExtractFileName(Path) + u" (" + Decimal(Index + 1) +
                                      u"/" + Decimal(Count) + u")");
        if (Application && PumpsMessagesBefore(Index)) Application->ProcessMessages();
        return FProgress->Abbrechen->Tag != 1;
    }

private:
    Tsearchfiles* FWindow;
    Tsm_bearbeitung* FProgress;
};
} // namespace

void Tsearchfiles::SuchenClick(TObject*) {
    WorkingWindowLink* working = WorkingWindow();
    erglist->Items().Clear();
    ShowCount();
    const WideString pattern = SearchText();
    if (pattern.empty() || !working) {
        bt_show_in_files->Tag = 1;
        return;
    }
    SearchRun run(this);
    const bool upper = !cb_gk->Checked();
    HitFinder finder(cb_regex->Checked() ? Memo1->Text() : pattern, cb_regex->Checked());
    TListView* list = working->InputList();
    // The row count is read at every step: the pumps may let the user change the list.
    for (int i = 0; i < list->Items().Count(); ++i) {
        const WideString path = RowPathOf(list->Items()[i]);
        if (!run.Step(i, list->Items().Count(), path)) break;
        WideString text;
        try {
            LoadTextFileW(path, text);
        } catch (const std::exception&) {
            continue; // an unreadable file holds no hits; the others are still searched
        }
        text = working->LesbarMachen(text);
        finder.SetText(upper && !cb_regex->Checked() ? WideUpperCase(text) : text);
        int hits = 0, from = 1, pos = 0, len = 0;
        while (finder.Find(from, pos, len)) {
            ++hits;
            from = pos + 1;
        }
        if (hits > 0) {
            add2listSF(path, hits);
            ShowCount();
        }
    }
}

// ---------------------------------------------------------------- preview and locate

void Tsearchfiles::ShowRow(TListItem* Row) {
    WorkingWindowLink* working = WorkingWindow();
    if (!Row || !working) return;
    const WideString path = RowPathOf(Row);
    TLabel* origin = working->OldPreviewPathLabel();
    origin->SetHint(path);
    TCanvas canvas;
    canvas.Font().Assign(origin->Font());
    auto width = [&canvas](WideStringView s) { return WideCanvasTextWidth(canvas, WideString(s)); };
    origin->SetCaption(ShortenPathW(path, width, origin->Width()));
    WideString text;
    if (WideFileExists(path)) try {
            LoadTextFileW(path, text);
        } catch (const std::exception&) {
            text.clear();
        }
    working->ShowFileInOldPreview(text);
    const WideString shown = working->OldPreviewMemo()->Text();
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.3f", double(shown.size()) / 1000.0);
    working->OldPreviewSizeLabel()->SetCaption(U16(digits) + u" KB");
    working->VorschauWennAktiv();
}

void Tsearchfiles::VorschauInProg(TObject*) {
    ShowRow(erglist->Selected());
}

void Tsearchfiles::bt_show_in_filesClick(TObject*) {
    WorkingWindowLink* working = WorkingWindow();
    const WideString pattern = SearchText();
    if (pattern.empty() || erglist->Items().Count() == 0 || !working) return;
    TListItem* row = erglist->Selected();
    ShowRow(row ? row : erglist->Items()[0]);
    TMemo* memo = working->OldPreviewMemo();
    if (memo->CanFocus()) memo->SetFocus();
    const bool regex = cb_regex->Checked();
    const WideString text = memo->Text();
    HitFinder finder(regex ? Memo1->Text() : pattern, regex);
    finder.SetText(regex || cb_gk->Checked() ? text : WideUpperCase(text));
    int pos = 0, len = 0, next = 0, nextLen = 0;
    if (finder.Find(std::max(int(bt_show_in_files->Tag), 1), pos, len)) {
        memo->SetSelStart(pos - 1);
        memo->SetSelLength(len);
        // The next click starts one past this hit, or from the beginning after the last.
        bt_show_in_files->Tag = finder.Find(pos + 1, next, nextLen) ? pos + 1 : 1;
    } else {
        bt_show_in_files->Tag = 1;
    }
    working->VorschauWennAktiv();
}

// ---------------------------------------------------------------- the working window's list

void Tsearchfiles::DeleteWorkingRows(bool Found) {
    WorkingWindowLink* working = WorkingWindow();
    if (!working) return;
    TListItems& rows = working->InputList()->Items();
    {
        TListItems::TUpdate update(rows);
        for (int i = rows.Count() - 1; i >= 0; --i)
            if (IsResult(RowPathOf(rows[i])) == Found) rows.Delete(i);
    }
    working->WriteFileCount();
}

void Tsearchfiles::bt_delete_foundClick(TObject*) {
    DeleteWorkingRows(true);
}

void Tsearchfiles::bt_delete_othersClick(TObject*) {
    DeleteWorkingRows(false);
}

void Tsearchfiles::bt_mark_foundClick(TObject*) {
    WorkingWindowLink* working = WorkingWindow();
    if (!working) return;
    TListItems& rows = working->InputList()->Items();
    TListItems::TUpdate update(rows);
    for (int i = rows.Count() - 1; i >= 0; --i)
        if (IsResult(RowPathOf(rows[i]))) working->QUSelect(-1, 1, i);
}

void Tsearchfiles::bt_mark_filenamesClick(TObject*) {
    auto* marking = ProgramWindow<Tinputselectfilter>();
    if (!marking) return;
    marking->SelectTarget = Tinputselectfilter::kSearchResults;
    marking->IsSearchResult = [this](WideStringView Path) { return IsResult(Path); };
    marking->Show();
}

// ---------------------------------------------------------------- the result list

void Tsearchfiles::erglistColumnClick(TObject*, TListColumn* Column) {
    const int column = Column->Index();
    SortDescending = column == LastSortColumn ? 1 - SortDescending : 0;
    LastSortColumn = column;
    SortColumn = column;
    erglist->CustomSort();
    bt_show_in_files->Tag = 1;
}

void Tsearchfiles::erglistCompare(TObject*, TListItem* Item1, TListItem* Item2, intptr_t,
                                  int& Compare) {
    const auto sub = [](const TListItem* Row, int Index) {
        const TUCodeStringList& s = Row->SubItems();
        return Index < s.Count() ? s.Get(Index) : WideString();
    };
    const auto order = [](auto a, auto b) { return a < b ? -1 : a > b ? 1 : 0; };
    if (SortColumn == 1) {
        Compare = order(std::atoll(U8(sub(Item1, colHits)).c_str()),
                        std::atoll(U8(sub(Item2, colHits)).c_str()));
    } else if (SortColumn == 5) {
        Compare = order(KilobytesOf(sub(Item1, colSize)), KilobytesOf(sub(Item2, colSize)));
    } else if (SortColumn == 0) {
        Compare = WideCompareText(Item1->Caption(), Item2->Caption());
    } else {
        Compare = WideCompareText(sub(Item1, SortColumn - 1), sub(Item2, SortColumn - 1));
    }
    if (SortDescending) Compare = -Compare;
}

void Tsearchfiles::erglistKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
    bt_show_in_files->Tag = 1;
    if (Key == 'A' && (Shift & ssCtrl)) {
        erglist->SelectAll();
        Key = 0;
    } else if (Key == VK_DELETE) {
        pop4Click(erglist);
        Key = 0;
    }
}

void Tsearchfiles::popupqulistPopup(TObject*, bool& Cancel) {
    Cancel = erglist->SelCount() == 0;
}

WideString Tsearchfiles::SelectedExistingFile() const {
    TListItem* row = erglist->Selected();
    if (!row) return WideString();
    const WideString path = RowPathOf(row);
    return WideFileExists(path) ? path : WideString();
}

void Tsearchfiles::pop0Click(TObject*) {
    if (const WideString file = SelectedExistingFile(); !file.empty()) OpenDocumentW(file);
}

void Tsearchfiles::pop1Click(TObject*) {
    if (const WideString file = SelectedExistingFile(); !file.empty()) ShowInFolderW(file);
}

void Tsearchfiles::pop2Click(TObject*) {
    if (const WideString file = SelectedExistingFile(); !file.empty())
        ShowFilePropertiesW(this, file);
}

void Tsearchfiles::pop3Click(TObject*) {
    WideString names;
    const TListItems& rows = erglist->Items();
    for (int i = 0; i < rows.Count(); ++i)
        if (rows[i]->Selected() && WideFileExists(RowPathOf(rows[i])))
            names += RowPathOf(rows[i]) + WideChar(0);
    if (!names.empty()) CopyFilesToClipboardW(names);
}

void Tsearchfiles::pop4Click(TObject*) {
    TListItems& rows = erglist->Items();
    {
        TListItems::TUpdate update(rows);
        for (int i = rows.Count() - 1; i >= 0; --i)
            if (rows[i]->Selected()) rows.Delete(i);
    }
    ShowCount();
}
