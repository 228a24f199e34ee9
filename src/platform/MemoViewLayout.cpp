// The memo view's layout: rows wrapped and kept through edits, the pieces long rows are
// laid out in, and the way between text positions and points in the view.
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/MemoAnchors.h"
#include "platform/MemoView.h"
#include "platform/MemoViewPieces.h"
#include "platform/QtStrings.h"
#include "text/TextFiles.h"

using namespace memo_view;

namespace {

// The longest character of several signs the caret steps over as one.
constexpr int kClusterSpan = 32;

} // namespace

// ---------------------------------------------------------------- layout

float MemoView::EstimateWidth(int Start, int End) const {
    return FWidths.Estimate(FDoc.Text().data() + Start, End - Start);
}

void MemoView::EnsureLayout() const {
    if (!FLayoutValid || (FWordWrap && FLayoutWidth != viewport()->width())) Relayout();
}

void MemoView::Relayout() const {
    const QFontMetricsF fm(font());
    FWidths.Reset(font());
    FRowHeight = std::max(std::ceil(fm.lineSpacing()), 1.0);
    FLayoutWidth = viewport()->width();
    FRows.clear();
    FDrafts.clear();
    FAnchors.clear();
    FLineCount = FDoc.LineCount();
    FRewrapLater.stop();
    FLineWidths.Clear();
    if (FWordWrap) {
        FAnchors = AnchorsIn(0, FDoc.LineCount() - 1, 0);
        // Estimated rows of text that is not shaped are final as they are; a stretch with
        // shaped text waits as a draft.
        FRows.reserve(size_t(FDoc.LineCount()));
        int stretch = 0;
        bool shapedStretch = false;
        for (int row = 0; row <= FDoc.Length();) {
            FRows.push_back(row);
            bool shaped = false, ended = false;
            const int next = NextRow(row, false, &shaped, &ended);
            shapedStretch = shapedStretch || shaped;
            if (ended) {
                if (shapedStretch) AddDraft(stretch, next, false);
                shapedStretch = false;
                stretch = next;
            }
            row = next;
        }
        if (!FDrafts.empty()) {
            Finalize(0, -1, 0, kExactAtOnceMs);
            FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
        }
    } else {
        FLineWidths.Fill(FDoc, FWidths);
        if (FLineWidths.Estimated()) FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
    }
    FLayoutValid = true;
    UpdateScrollBars();
}

int MemoView::SegmentStart(int Pos) const {
    const int lineStart = FDoc.LineStart(FDoc.LineOf(Pos));
    const auto a = std::upper_bound(FAnchors.begin(), FAnchors.end(), Pos);
    return a != FAnchors.begin() && *(a - 1) > lineStart ? *(a - 1) : lineStart;
}

// Where the stretch after the one holding Pos begins: a place inside the line, the next
// line's start, or the text's length + 1.
int MemoView::SegmentEnd(int Pos) const {
    const int line = FDoc.LineOf(Pos);
    const auto a = std::upper_bound(FAnchors.begin(), FAnchors.end(), Pos);
    if (a != FAnchors.end() && *a < FDoc.LineEnd(line)) return *a;
    return line + 1 < FDoc.LineCount() ? FDoc.LineStart(line + 1) : FDoc.Length() + 1;
}

// The places where rows always end in lines First to Last, counted from Origin.
std::vector<int> MemoView::AnchorsIn(int First, int Last, int Origin) const {
    std::vector<int> at;
    for (int line = First; line <= Last; ++line)
        for (int a :
             memo_anchors::InLine(FDoc.Text().data() + FDoc.LineStart(line), FDoc.LineLength(line)))
            at.push_back(FDoc.LineStart(line) + a - Origin);
    return at;
}

void MemoView::BeginsRow(int Pos) const {
    const auto row = std::lower_bound(FRows.begin(), FRows.end(), Pos);
    if (row == FRows.end() || *row != Pos) FRows.insert(row, Pos);
}

int MemoView::NextRow(int Row, bool Exact, bool* Shaped, bool* Ended) const {
    const int line = FDoc.LineOf(Row);
    const int lineEnd = FDoc.LineEnd(line);
    const auto a = std::upper_bound(FAnchors.begin(), FAnchors.end(), Row);
    const int e = a != FAnchors.end() && *a < lineEnd ? *a : lineEnd;
    if (Shaped) *Shaped = false;
    const int next = Row < e ? RowBreak(Row, e, Exact, Shaped) : e;
    if (Ended) *Ended = next >= e;
    if (next < e) return next;
    if (e < lineEnd) return e;
    return line + 1 < FDoc.LineCount() ? FDoc.LineStart(line + 1) : FDoc.Length() + 1;
}

// ---------------------------------------------------------------- drafts

size_t MemoView::DraftAfter(int Pos) const {
    return size_t(std::partition_point(FDrafts.begin(), FDrafts.end(),
                                       [&](const Draft& D) { return D.To <= Pos; }) -
                  FDrafts.begin());
}

// Whether a row that begins from From up to To, or its end, is not final.
bool MemoView::Drafted(int From, int To) const {
    const size_t i = DraftAfter(From);
    return i < FDrafts.size() && FDrafts[i].From < To;
}

// Drafts that overlap become one, estimated: moved rows fall back in step only with the
// rows of their own edit. Estimated drafts that touch join; others that touch stay apart.
void MemoView::AddDraft(int From, int To, bool Moved) const {
    if (From >= To) return;
    size_t i = size_t(std::partition_point(FDrafts.begin(), FDrafts.end(),
                                           [&](const Draft& D) { return D.To < From; }) -
                      FDrafts.begin());
    size_t j = i;
    while (j < FDrafts.size() && FDrafts[j].From <= To)
        ++j;
    auto apart = [&](const Draft& D) {
        return (D.To == From || D.From == To) && (D.Moved || Moved);
    };
    if (i < j && apart(FDrafts[i])) ++i;
    if (i < j && apart(FDrafts[j - 1])) --j;
    for (size_t k = i; k < j; ++k) {
        From = std::min(From, FDrafts[k].From);
        To = std::max(To, FDrafts[k].To);
        Moved = false;
    }
    FDrafts.erase(FDrafts.begin() + std::ptrdiff_t(i), FDrafts.begin() + std::ptrdiff_t(j));
    FDrafts.insert(FDrafts.begin() + std::ptrdiff_t(i), Draft{From, To, Moved});
    BeginsRow(From);
    if (!FRewrapLater.isActive()) FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
}

void MemoView::Finalize(size_t Index, int UpTo, size_t UpToRow, qint64 Ms) const {
    QElapsedTimer clock;
    clock.start();
    const Draft d = FDrafts[Index];
    const size_t at = size_t(std::lower_bound(FRows.begin(), FRows.end(), d.From) - FRows.begin());
    std::vector<int> rows;
    int row = d.From;
    bool synced = false;
    auto old = FRows.begin() + std::ptrdiff_t(at);
    while (row < d.To) {
        const bool reached = row >= UpTo && at + rows.size() > UpToRow;
        if (Ms < 0 ? reached : clock.elapsed() >= Ms && !rows.empty()) break;
        rows.push_back(row);
        row = NextRow(row, true);
        if (d.Moved && row < d.To) { // from a row as before the edit, the rows are as before
            old = std::lower_bound(old, FRows.end(), row);
            if (old != FRows.end() && *old == row) {
                synced = true;
                break;
            }
        }
    }
    const bool done = synced || row >= d.To;
    // The rows before the first one still a draft go; it begins a row.
    const auto behind = std::lower_bound(FRows.begin() + std::ptrdiff_t(at), FRows.end(), row);
    if (!done && (behind == FRows.end() || *behind != row)) rows.push_back(row);
    FRows.erase(FRows.begin() + std::ptrdiff_t(at), behind);
    FRows.insert(FRows.begin() + std::ptrdiff_t(at), rows.begin(), rows.end());
    if (done)
        FDrafts.erase(FDrafts.begin() + std::ptrdiff_t(Index));
    else
        FDrafts[Index].From = row;
}

// The rows that begin from From up to To, and their ends, made final: a draft is made
// final from the start of the stretch that holds From (the stretches before it wait).
void MemoView::FinalBetween(int From, int To) const {
    if (!FLayoutValid || !FWordWrap) return;
    for (size_t i = DraftAfter(From); i < FDrafts.size() && FDrafts[i].From < To;) {
        if (FDrafts[i].From < From) {
            const int s = SegmentStart(From);
            if (s > FDrafts[i].From) {
                Draft head = FDrafts[i];
                head.To = s;
                FDrafts[i].From = s;
                FDrafts.insert(FDrafts.begin() + std::ptrdiff_t(i), head);
                ++i;
                BeginsRow(s);
            }
        }
        const size_t count = FDrafts.size();
        Finalize(i, To, 0);
        if (FDrafts.size() == count) ++i;
    }
}

// Every row before a row that begins at or behind UpTo and before row UpToRow is final.
void MemoView::FinalThrough(int UpTo, size_t UpToRow) const {
    if (!FLayoutValid || !FWordWrap) return;
    while (!FDrafts.empty()) {
        const int from = FDrafts.front().From;
        const size_t index =
            size_t(std::lower_bound(FRows.begin(), FRows.end(), from) - FRows.begin());
        if (from >= UpTo && index > UpToRow) break;
        Finalize(0, UpTo, UpToRow);
    }
}

void MemoView::FinalRow(int Row) const {
    if (!FLayoutValid || !FWordWrap) return;
    for (;;) {
        const size_t r = std::min(size_t(std::max(Row, 0)), FRows.size() - 1);
        const int s = FRows[r];
        const int e = r + 1 < FRows.size() ? FRows[r + 1] : FDoc.Length() + 1;
        if (!Drafted(s, e)) return;
        FinalBetween(s, s + 1);
    }
}

// A view at the text's end stays there.
void MemoView::SettleView(int Anchor, int Offset) const {
    if (FLayoutWidth != viewport()->width()) return; // the rows are about to be made anew
    QScrollBar* v = verticalScrollBar();
    const bool atEnd = v->value() > 0 && v->value() == v->maximum();
    for (;;) {
        const size_t n = FRows.size();
        const size_t first = std::min(size_t(std::max(v->value(), 0)), n - 1);
        // (The rows as they stand, not wrapped anew for a new width first.)
        const size_t page = size_t(std::max((viewport()->height() - kTop) / FRowHeight, 1.0));
        const size_t last = std::min(first + page + 2, n);
        const int top = FRows[first];
        const int bottom = last < n ? FRows[last] : FDoc.Length() + 1;
        if (!Drafted(top, bottom)) return;
        FinalBetween(top, bottom);
        UpdateScrollBars();
        const auto at = std::upper_bound(FRows.begin(), FRows.end(), Anchor);
        v->setValue(atEnd ? v->maximum() : std::max(int(at - FRows.begin()) - 1 - Offset, 0));
    }
}

// Where the row that begins at Start ends (the next row's start), or the line's end E when
// the rest of the line fits: a row ends after the last blank that still fits (blanks hang
// over the edge), or inside a word longer than the row where the line-breaking rules allow
// (after a hyphen, between ideographs, not before a closing bracket), or else at the
// character that crosses the edge. The widths are those the characters are drawn with in
// the script of the text around them; a row with characters shaped with their neighbours is
// measured as drawn, from the text around where the estimate crosses the edge.
int MemoView::RowBreak(int Start, int E, bool Exact, bool* Shaped) const {
    const char16_t* t = FDoc.Text().data();
    const float width = float(std::max(FLayoutWidth - 2 * kLeft, 8));
    // The characters before the first one with a script of its own are drawn in its script,
    // where it lies inside the row: once it is met, the row is walked again from its start.
    QChar::Script lead = QChar::Script_Common;
    int leadAt = Start;
    int lastBlank, end, crossed;
    float x;
    bool shaped;
    bool rules; // a character the rules may break beside (not a Latin letter or digit)
    bool again;
    do {
        again = false;
        lastBlank = -1;
        x = 0;
        shaped = rules = false;
        end = crossed = E;
        QChar::Script script = QChar::Script_Common;
        for (int i = Start; i < E;) {
            const char16_t c = t[i];
            const bool blank = c == u' ' || c == u'\t';
            const int len = IsHighSurrogate(c) && i + 1 < E && IsLowSurrogate(t[i + 1]) ? 2 : 1;
            const QChar::Script before = script;
            script = MemoWidths::ItemScript(script, len == 2 ? QChar::surrogateToUcs4(c, t[i + 1])
                                                             : char32_t(c));
            if (before <= QChar::Script_Common && script != before && i > Start &&
                lead == QChar::Script_Common && !MemoWidths::PlainFonts(script)) {
                lead = script;
                leadAt = i;
                again = true;
                break;
            }
            const QChar::Script in = script > QChar::Script_Common ? script : lead;
            const MemoWidths::CharWidth w =
                len == 2 ? FWidths.WidthIn(in, c, t[i + 1]) : FWidths.WidthIn(in, c);
            const float nx = c == u'\t' ? FWidths.NextX(x, c) : x + w.Advance;
            // (a mark under the edge belongs to its letter)
            shaped = shaped || !w.Exact;
            rules = rules || !(c < 0x80 && QChar::isLetterOrNumber(c));
            // (the ink of the row's last character may reach past its advance)
            if (!blank && i > Start && (nx + w.Overhang > width || i - Start >= kPiece)) {
                end = lastBlank > Start ? lastBlank : i;
                crossed = i;
                break;
            }
            x = nx;
            i += len;
            if (blank) {
                lastBlank = i;
                if (i - Start >= kPiece && i < E) {
                    end = crossed = i;
                    break;
                }
            }
        }
    } while (again);
    if (!shaped && rules && end == crossed && end != lastBlank && crossed < E)
        if (int at = MemoWidths::LastRuleBreak(t + Start, E - Start, crossed - Start))
            end = Start + at;
    // A row that ends before the character that gave its first signs their script is drawn
    // in plain text's fonts throughout.
    if (lead != QChar::Script_Common && end <= leadAt) shaped = true;
    if (Shaped) *Shaped = shaped;
    if (!shaped || !Exact) return end;
    return Start + FWidths.ShapedRow(t + Start, E - Start, width, crossed - Start, kPiece);
}

// The rows after an edit that replaced the old text from Start to OldEnd by the new text
// from Start to NewEnd. A row's break depends on its own text and at most the start of the
// row after next, so the rows are wrapped anew from a few rows before the edit until one
// begins where an old row began behind the edit: from there on the old rows stand, moved.
// An edit in a line of megabytes costs a few rows, not the line. Inside a draft the rows
// are estimated anew; the places where rows always end may move near the edit, and the
// rows around them are wrapped anew too.
void MemoView::RewrapAfterEdit(int Start, int OldEnd, int NewEnd) const {
    const int shift = NewEnd - OldEnd;
    // Rows that began inside the removed text go; rows behind it move with their text (a
    // row at Start, before an insertion, moves behind it). The first row stays where it is.
    auto moved = [&](std::vector<int>& Starts) {
        auto from = Start > 0 ? std::lower_bound(Starts.begin(), Starts.end(), Start)
                              : std::upper_bound(Starts.begin(), Starts.end(), Start);
        auto behind = std::lower_bound(from, Starts.end(), OldEnd);
        for (auto it = behind; it != Starts.end(); ++it)
            *it += shift;
        Starts.erase(from, behind);
    };
    moved(FRows);
    // Drafts move with their text; inside the removed text their ends are where the new
    // text ends.
    auto follow = [&](int P) { return P < Start ? P : P >= OldEnd ? P + shift : NewEnd; };
    for (Draft& d : FDrafts) {
        d.From = follow(d.From);
        d.To = d.To > FDoc.Length() - shift ? FDoc.Length() + 1 : follow(d.To);
    }
    std::erase_if(FDrafts, [](const Draft& D) { return D.From >= D.To; });
    int first = Start, last = NewEnd;
    AnchorsAfterEdit(Start, OldEnd, NewEnd, first, last);
    for (const Draft& d : FDrafts) // a draft's start begins a row
        BeginsRow(d.From);
    const size_t inside = DraftAfter(first);
    const bool exact = inside >= FDrafts.size() || FDrafts[inside].From > first;
    if (!exact) {
        // Estimated anew up to the end of the stretch the edit's reach ends in.
        Draft& d = FDrafts[inside];
        d.Moved = false;
        AddDraft(d.From, SegmentEnd(last), false);
    }
    auto row = std::upper_bound(FRows.begin(), FRows.end(), first) - 1;
    const int stretch = SegmentStart(first);
    for (int back = 0; back < 3 && row != FRows.begin() && *row > stretch; ++back)
        --row;
    if (!exact)
        row = std::max(
            row, std::lower_bound(FRows.begin(), FRows.end(), FDrafts[DraftAfter(first)].From));
    WrapRowsFrom(size_t(row - FRows.begin()), last, exact, exact ? kRewrapAtOnceMs : -1);
    // A draft that the edit's reach falls into is estimated, up to the end of the stretch
    // that reach ends in (places where rows end may have come or gone inside it).
    int lo = -1, hi = SegmentEnd(last);
    for (size_t i = DraftAfter(first); i < FDrafts.size() && FDrafts[i].From < last;) {
        const Draft d = FDrafts[i];
        if (!d.Moved && d.To >= hi) {
            ++i;
            continue;
        }
        lo = lo < 0 ? d.From : std::min(lo, d.From);
        hi = std::max(hi, d.To);
        FDrafts.erase(FDrafts.begin() + std::ptrdiff_t(i));
    }
    if (lo >= 0) AddDraft(lo, hi, false);
}

// The places where rows always end, found anew in the lines the edit touched. First and
// Last widen to take in every place that came or went (as it ends its row, the text up to
// it counts).
void MemoView::AnchorsAfterEdit(int Start, int OldEnd, int NewEnd, int& First, int& Last) const {
    const int shift = NewEnd - OldEnd;
    for (int& a : FAnchors)
        a = a < Start ? a : a >= OldEnd ? a + shift : -1;
    std::erase(FAnchors, -1);
    const int firstLine = FDoc.LineOf(Start), lastLine = FDoc.LineOf(NewEnd);
    const int from = FDoc.LineStart(firstLine), to = FDoc.LineEnd(lastLine);
    const auto a = std::lower_bound(FAnchors.begin(), FAnchors.end(), from);
    const auto b = std::upper_bound(a, FAnchors.end(), to);
    std::vector<int> places;
    for (auto it = a; it != b; ++it)
        places.push_back(*it - from);
    const bool lines = firstLine != lastLine || FDoc.LineCount() != FLineCount;
    FLineCount = FDoc.LineCount();
    std::vector<int> found;
    if (lines) { // lines came or went: their places are found anew
        found = AnchorsIn(firstLine, lastLine, from);
    } else {
        found = memo_anchors::AfterEdit(FDoc.Text().data() + from, to - from, Start - from,
                                        OldEnd - from, NewEnd - from, places);
    }
    int first = 0, last = 0;
    if (!memo_anchors::Differ(places, found, first, last)) return;
    const auto at = FAnchors.erase(a, b);
    std::vector<int> moved;
    for (int p : found)
        moved.push_back(from + p);
    FAnchors.insert(at, moved.begin(), moved.end());
    First = std::min(First, std::max(from + first - 1, 0));
    Last = std::max(Last, from + last + 1);
}

// Wraps the rows from row First on anew until a row begins where one began before, at or
// behind SyncFrom: the rows from there on stand. Exact rows stop at the next draft, whose
// start they become; estimated ones (inside a draft) at its end. Behind SyncFrom the rows
// may not come back into step soon (in text that repeats itself, or without blanks, they
// may never): the wrapping stops after Ms milliseconds (never when negative), and the rest
// of the stretch waits as a draft of moved rows, to be wrapped anew a slice at a time
// between keys (see timerEvent) or when it is shown or asked for.
void MemoView::WrapRowsFrom(size_t First, int SyncFrom, bool Exact, qint64 Ms) const {
    QElapsedTimer clock;
    clock.start();
    std::vector<int> rows;
    auto resync = FRows.begin() + std::ptrdiff_t(First);
    const int from = *resync;
    const size_t draft = DraftAfter(from);
    const int stop = draft >= FDrafts.size() ? FDoc.Length() + 1
                     : Exact                 ? FDrafts[draft].From
                                             : FDrafts[draft].To;
    bool stopped = false;
    for (int row = from;;) {
        rows.push_back(row);
        const int next = NextRow(row, Exact);
        if (next > FDoc.Length()) {
            resync = FRows.end();
            // Exact rows that run to the text's end have passed the start of the draft
            // behind them (the last row holds it): its rows are final.
            if (Exact && draft < FDrafts.size())
                FDrafts.erase(FDrafts.begin() + std::ptrdiff_t(draft));
            break;
        }
        if (next >= stop) {
            rows.push_back(next);
            resync = std::upper_bound(resync, FRows.end(), next);
            if (Exact) {
                FDrafts[draft].From = next;
                if (next >= FDrafts[draft].To)
                    FDrafts.erase(FDrafts.begin() + std::ptrdiff_t(draft));
            }
            break;
        }
        if (next >= SyncFrom) {
            resync = std::lower_bound(resync, FRows.end(), next);
            if (resync != FRows.end() && *resync == next) break;
            if (Ms >= 0 && clock.elapsed() >= Ms) {
                rows.push_back(next);
                stopped = true;
                break;
            }
        }
        row = next;
    }
    const auto at = FRows.begin() + std::ptrdiff_t(First);
    FRows.insert(FRows.erase(at, resync), rows.begin(), rows.end());
    if (stopped) AddDraft(rows.back(), SegmentEnd(rows.back()), true);
}

int MemoView::RowCount() const {
    EnsureLayout();
    return FWordWrap ? int(FRows.size()) : FDoc.LineCount();
}

// Counting the rows makes them all final.
int MemoView::VisualLineCount() const {
    EnsureLayout();
    FinalThrough(FDoc.Length() + 1, 0);
    return RowCount();
}

int MemoView::VisualLineOf(int Pos) const {
    EnsureLayout();
    if (!FWordWrap) return FDoc.LineOf(Pos);
    FinalThrough(Pos + 1, 0);
    return RowOf(Pos);
}

int MemoView::VisualLineStart(int Row) const {
    EnsureLayout();
    FinalThrough(-1, size_t(std::max(Row, 0)) + 1);
    return RowStart(Row);
}

int MemoView::RowStart(int Row) const {
    if (!FWordWrap) return FDoc.LineStart(Row);
    FinalRow(Row);
    return FRows[std::min(size_t(Row), FRows.size() - 1)];
}

int MemoView::RowEnd(int Row) const {
    if (!FWordWrap) return FDoc.LineEnd(Row);
    FinalRow(Row);
    const size_t r = std::min(size_t(Row), FRows.size() - 1);
    const int lineEnd = FDoc.LineEnd(FDoc.LineOf(FRows[r]));
    return r + 1 < FRows.size() ? std::min(FRows[r + 1], lineEnd) : lineEnd;
}

// The row holding Pos, final with the rows of its stretch up to it; the rows before may
// be estimated.
int MemoView::RowOf(int Pos) const {
    EnsureLayout();
    if (!FWordWrap) return FDoc.LineOf(Pos);
    FinalBetween(Pos, Pos + 1);
    auto it = std::upper_bound(FRows.begin(), FRows.end(), Pos);
    return std::max(int(it - FRows.begin()) - 1, 0);
}

int MemoView::PageRows() const {
    EnsureLayout();
    return std::max(int((viewport()->height() - kTop) / FRowHeight), 1);
}

void MemoView::UpdateScrollBars() const {
    if (!FLayoutValid) return;
    QScrollBar* v = verticalScrollBar();
    const int page = PageRows();
    v->setPageStep(page);
    v->setRange(0, std::max(RowCount() - page, 0));
    QScrollBar* h = horizontalScrollBar();
    const int room = viewport()->width() - 2 * kLeft;
    h->setPageStep(std::max(room, 1));
    h->setSingleStep(std::max(int(FWidths.TabWidth() / 8), 1) * 2);
    h->setRange(0, FWordWrap ? 0 : std::max(int(std::ceil(FLineWidths.Widest())) + 2 - room, 0));
}

// The rows in view are final before the top row's number is given; the text at the top
// stays there meanwhile.
int MemoView::FirstVisibleLine() const {
    // (The rows as they stand: a resize asks for the top before they are wrapped anew.)
    if (FLayoutValid && FWordWrap) {
        const int first = verticalScrollBar()->value();
        SettleView(FRows[std::min(size_t(std::max(first, 0)), FRows.size() - 1)], 0);
    }
    return verticalScrollBar()->value();
}

void MemoView::ScrollLines(int Count) {
    EnsureLayout();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + Count);
}

// ---------------------------------------------------------------- pieces of rows

// A wrapped row is one piece. An unwrapped line is drawn in the pieces its widths keep it
// in (a long line's blocks), each where the widths of the pieces before it add up to: a
// line's pieces and its sideways range come from the same measures.
int MemoView::PieceCount(int Row) const {
    return FWordWrap ? 1 : FLineWidths.Pieces(Row);
}

// Where piece K of a row begins; the row's end past the last piece.
int MemoView::PieceStart(int Row, int K) const {
    if (FWordWrap) return K <= 0 ? RowStart(Row) : RowEnd(Row);
    return FDoc.LineStart(Row) + FLineWidths.PieceStart(Row, K);
}

qreal MemoView::PieceOrigin(int Row, int K) const {
    return FWordWrap ? 0 : FLineWidths.Origin(Row, K);
}

// The last piece of a row that begins at or left of X.
int MemoView::PieceOfX(int Row, qreal X) const {
    return FWordWrap ? 0 : FLineWidths.PieceOfX(Row, X);
}

MemoView::Piece MemoView::PieceAt(int Row, int Pos) const {
    Piece p;
    const int k = FWordWrap ? 0 : FLineWidths.PieceOf(Row, Pos - FDoc.LineStart(Row));
    p.Start = PieceStart(Row, k);
    p.End = PieceStart(Row, k + 1);
    p.X = PieceOrigin(Row, k);
    const QString text = Q(FDoc.Slice(p.Start, p.End));
    QList<qreal> stops;
    if (p.X > 0 && text.contains(u'\t')) {
        // A later piece keeps the tab stops of the whole row, not stops of its own.
        const qreal tab = FWidths.TabWidth();
        const qreal width = PieceOrigin(Row, k + 1) - p.X + 2 * tab;
        for (qreal x = std::ceil(p.X / tab) * tab - p.X; x <= width; x += tab)
            if (x > 0) stops.append(x);
    }
    p.Layout = FWidths.Layout(text, stops);
    return p;
}

// The pieces of a row from Left to Right, measured as drawn first where they are estimated.
std::vector<MemoView::Piece> MemoView::PiecesIn(int Row, qreal Left, qreal Right) const {
    std::vector<Piece> out;
    const int n = PieceCount(Row);
    for (int k = PieceOfX(Row, Left - 1); k < n && PieceOrigin(Row, k) <= Right; ++k) {
        if (!FWordWrap && FLineWidths.Refine(FDoc, FWidths, Row, k)) FWidened = true;
        out.push_back(PieceAt(Row, PieceStart(Row, k)));
    }
    return out;
}

QPointF MemoView::CaretPoint(int Pos) const {
    EnsureLayout();
    return PointIn(RowOf(Pos), Pos);
}

// With word wrap, blanks at the end of a row hang over the edge: a place behind them is
// shown in the view's last column (the caret there, and what input methods and screen
// readers are told), though it lies further right in the text.
QPointF MemoView::PointIn(int Row, int Pos) const {
    const Piece p = PieceAt(Row, Pos);
    qreal x = p.X;
    if (p.Layout->lineCount() > 0) x += p.Layout->lineAt(0).cursorToX(Pos - p.Start);
    x += kLeft - horizontalScrollBar()->value();
    if (FWordWrap) x = std::min(x, qreal(viewport()->width() - 1));
    return QPointF(x, kTop + (Row - FirstVisibleLine()) * FRowHeight);
}

int MemoView::PosAt(QPointF Point) const {
    EnsureLayout();
    const int rows = RowCount();
    const int row = std::clamp(
        FirstVisibleLine() + int(std::floor((Point.y() - kTop) / FRowHeight)), 0, rows - 1);
    const qreal x = Point.x() - kLeft + horizontalScrollBar()->value();
    const int s = RowStart(row), e = RowEnd(row);
    const Piece p = PieceAt(row, PieceStart(row, PieceOfX(row, x)));
    int pos = p.Start;
    if (p.Layout->lineCount() > 0)
        pos += p.Layout->lineAt(0).xToCursor(x - p.X, QTextLine::CursorBetweenCharacters);
    pos = FDoc.Snap(std::min(pos, e));
    // A wrapped row ends where the next one begins: right of its text is before its last
    // character, the whole of it (a letter with its marks, a flag, an emoji with its skin
    // tone), so that a letter typed there never parts a character.
    if (pos == e && e > s && RowOf(e) != row) pos = std::max(PrevCluster(e), s);
    return pos;
}

// The caret's row: at the start of a wrapped row, the row before when End put it there.
int MemoView::CaretRow() const {
    const int row = RowOf(FCaret);
    if (FCaretAtRowEnd && FWordWrap && row > 0 && RowStart(row) == FCaret &&
        FDoc.LineStart(FDoc.LineOf(FCaret)) != FCaret)
        return row - 1;
    return row;
}

QRectF MemoView::CaretRect() const {
    EnsureLayout();
    const QPointF p = PointIn(CaretRow(), FCaret);
    return QRectF(p.x() - 1, p.y(), 3, FRowHeight);
}

void MemoView::EnsureVisible(int Pos) {
    EnsureLayout();
    FirstVisibleLine(); // the rows in view as drawn first: they may move the row of Pos
    ScrollTo(RowOf(Pos), Pos);
}

// The caret's own row: at the end of a wrapped row it is that row, not the next.
void MemoView::EnsureCaretVisible() {
    EnsureLayout();
    FirstVisibleLine();
    ScrollTo(CaretRow(), FCaret);
}

// A row scrolled into view stays where it comes to stand while the rows around it in view
// are made final.
void MemoView::ScrollTo(int Row, int Pos) {
    const int first = FirstVisibleLine(), page = PageRows();
    UpdateScrollBars(); // (the rows made final for Row may be more or fewer)
    QScrollBar* v = verticalScrollBar();
    if (Row < first)
        v->setValue(Row);
    else if (Row >= first + page)
        v->setValue(Row - page + 1);
    if (FWordWrap && FLayoutValid && v->value() != first)
        SettleView(FRows[std::min(size_t(Row), FRows.size() - 1)], Row - v->value());
    if (FWordWrap) return;
    QScrollBar* h = horizontalScrollBar();
    const qreal x = CaretPoint(Pos).x() - kLeft + h->value();
    const int room = viewport()->width() - 2 * kLeft;
    if (x > h->maximum() + room) h->setMaximum(int(std::ceil(x)) - room + 2);
    if (x < h->value())
        h->setValue(std::max(int(x) - room / 4, 0));
    else if (x > h->value() + room - 2)
        h->setValue(int(x) - room * 3 / 4);
}

// One character on or back as it is shown: a letter with its combining marks, a syllable
// of several signs, a surrogate pair and a line break each count as one. (Backspace takes
// back one sign at a time, as Windows' edit boxes do.)
int MemoView::NextCluster(int Pos) const {
    Pos = FDoc.Snap(Pos);
    const int lineEnd = FDoc.LineEnd(FDoc.LineOf(Pos));
    if (Pos >= lineEnd) return FDoc.Next(Pos);
    const QString near = Q(FDoc.Slice(Pos, std::min(lineEnd, Pos + kClusterSpan)));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, near);
    const qsizetype step = finder.toNextBoundary();
    return step > 0 ? FDoc.Snap(Pos + int(step)) : FDoc.Next(Pos);
}

int MemoView::PrevCluster(int Pos) const {
    Pos = FDoc.Snap(Pos);
    const int lineStart = FDoc.LineStart(FDoc.LineOf(Pos));
    if (Pos <= lineStart) return FDoc.Prev(Pos);
    const int from = std::max(lineStart, Pos - kClusterSpan);
    const QString near = Q(FDoc.Slice(from, Pos));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, near);
    finder.toEnd();
    const qsizetype at = finder.toPreviousBoundary();
    return at >= 0 ? FDoc.Snap(from + int(at)) : FDoc.Prev(Pos);
}
