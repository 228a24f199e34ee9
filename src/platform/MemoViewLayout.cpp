// The memo view's layout: rows wrapped and kept through edits, the pieces long rows are
// laid out in, and the way between text positions and points in the view.
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

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
    FLoose.clear();
    FRewrapLater.stop();
    FLineWidths.Clear();
    FExactTo = FDoc.Length() + 1;
    if (FWordWrap) {
        // Estimated rows of text that is not shaped are final as they are.
        FRows.reserve(size_t(FDoc.LineCount()));
        for (int line = 0; line < FDoc.LineCount(); ++line) {
            const int e = FDoc.LineEnd(line);
            int row = FDoc.LineStart(line);
            do {
                FRows.push_back(row);
                bool shaped = false;
                const int next = RowBreak(row, e, false, &shaped);
                if (shaped && FExactTo > row) FExactTo = row;
                row = next;
            } while (row < e);
        }
        WrapExactly(-1, 0, kExactAtOnceMs);
        if (FExactTo <= FDoc.Length())
            FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
    } else {
        FLineWidths.Fill(FDoc, FWidths);
        if (FLineWidths.Estimated()) FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
    }
    FLayoutValid = true;
    UpdateScrollBars();
}

void MemoView::WrapExactly(int UpTo, size_t UpToRow, qint64 Ms) const {
    if (FExactTo > FDoc.Length()) return;
    QElapsedTimer clock;
    clock.start();
    const size_t at =
        size_t(std::lower_bound(FRows.begin(), FRows.end(), FExactTo) - FRows.begin());
    std::vector<int> rows;
    int row = FExactTo, line = FDoc.LineOf(row);
    for (;;) {
        const bool reached = row > UpTo && at + rows.size() > UpToRow;
        if (Ms < 0 ? reached : clock.elapsed() >= Ms && !rows.empty()) break;
        rows.push_back(row);
        const int e = FDoc.LineEnd(line);
        int next = row < e ? RowBreak(row, e) : e;
        if (next >= e) {
            if (++line >= FDoc.LineCount()) {
                row = FDoc.Length() + 1;
                break;
            }
            next = FDoc.LineStart(line);
        }
        row = next;
    }
    // The estimated rows before the first estimated one left go; it begins a row.
    const auto behind = std::lower_bound(FRows.begin() + std::ptrdiff_t(at), FRows.end(), row);
    if (row <= FDoc.Length() && (behind == FRows.end() || *behind != row)) rows.push_back(row);
    FRows.erase(FRows.begin() + std::ptrdiff_t(at), behind);
    FRows.insert(FRows.begin() + std::ptrdiff_t(at), rows.begin(), rows.end());
    FExactTo = row;
}

void MemoView::FinalThrough(int Row) const {
    RightThrough(-1, size_t(Row) + 1);
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
// An edit in a line of megabytes costs a few rows, not the line.
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
    moved(FLoose);
    // Where the estimated rows begin moves with its text; inside the removed text, it is
    // where the new text ends.
    if (FExactTo > FDoc.Length() - shift)
        FExactTo = FDoc.Length() + 1;
    else if (FExactTo >= OldEnd && FExactTo > 0)
        FExactTo += shift;
    else if (FExactTo > Start)
        FExactTo = NewEnd;
    // Behind the final rows, the rows around the edit are estimated anew.
    const bool exact = Start < FExactTo;
    const auto estimated = std::lower_bound(FRows.begin(), FRows.end(), FExactTo);
    auto first = std::upper_bound(FRows.begin(), FRows.end(), Start) - 1;
    const int lineStart = FDoc.LineStart(FDoc.LineOf(Start));
    for (int back = 0; back < 3 && first != FRows.begin() && *first > lineStart; ++back)
        --first;
    if (!exact) first = std::max(first, estimated);
    WrapRowsFrom(size_t(first - FRows.begin()), NewEnd, exact, kRewrapAtOnceMs);
}

// Wraps the rows from row First on anew until a row begins where one began before, at or
// behind SyncFrom: the rows from there on stand. Behind SyncFrom the rows may not come back
// into step soon (in text that repeats itself, or without blanks, they may never): the
// wrapping stops after Ms milliseconds or, when Ms is negative, once a row begins behind
// UpTo and row UpToRow is wrapped. Behind the last row wrapped the old rows wait, moved; as
// estimated rows are wrapped again anyway, only final ones are left loose, to be wrapped
// anew a slice at a time between keys (see timerEvent) or when they are asked for.
void MemoView::WrapRowsFrom(size_t First, int SyncFrom, bool Exact, qint64 Ms, int UpTo,
                            size_t UpToRow) const {
    QElapsedTimer clock;
    clock.start();
    std::vector<int> rows;
    auto resync = FRows.begin() + std::ptrdiff_t(First);
    const int from = *resync;
    int to = from;
    bool stopped = false;
    for (int row = from;;) {
        rows.push_back(row);
        const int line = FDoc.LineOf(row);
        const int e = FDoc.LineEnd(line);
        int next = row < e ? RowBreak(row, e, Exact) : e;
        if (next >= e) {
            if (line + 1 >= FDoc.LineCount()) {
                resync = FRows.end();
                to = FDoc.Length() + 1;
                if (Exact) FExactTo = to;
                break;
            }
            next = FDoc.LineStart(line + 1);
        }
        to = next;
        if (Exact && next >= FExactTo) { // the estimated rows begin here
            rows.push_back(next);
            resync = std::upper_bound(resync, FRows.end(), next);
            FExactTo = next;
            break;
        }
        if (next >= SyncFrom) {
            resync = std::lower_bound(resync, FRows.end(), next);
            const bool same = resync != FRows.end() && *resync == next;
            if (same && !std::binary_search(FLoose.begin(), FLoose.end(), next)) break;
            const bool reached =
                Ms < 0 ? next > UpTo && First + rows.size() > UpToRow : clock.elapsed() >= Ms;
            if (reached) {
                rows.push_back(next);
                if (same) ++resync;
                stopped = Exact;
                break;
            }
        }
        row = next;
    }
    const size_t at = First;
    FRows.erase(FRows.begin() + std::ptrdiff_t(at), resync);
    FRows.insert(FRows.begin() + std::ptrdiff_t(at), rows.begin(), rows.end());
    // The rows wrapped anew are right; behind the last one the old rows wait.
    FLoose.erase(std::lower_bound(FLoose.begin(), FLoose.end(), from),
                 std::lower_bound(FLoose.begin(), FLoose.end(), to));
    const auto loose = std::lower_bound(FLoose.begin(), FLoose.end(), to);
    if (stopped && (loose == FLoose.end() || *loose != to)) FLoose.insert(loose, to);
    if (!FLoose.empty() && !FRewrapLater.isActive())
        FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
}

// Makes the rows right down to a row that begins behind UpTo and row UpToRow: those behind
// the first loose row are wrapped anew, then the estimated ones made final.
void MemoView::RightThrough(int UpTo, size_t UpToRow) const {
    if (!FLayoutValid || !FWordWrap) return;
    auto needed = [&](int Pos) {
        return Pos <= UpTo ||
               size_t(std::lower_bound(FRows.begin(), FRows.end(), Pos) - FRows.begin()) <= UpToRow;
    };
    while (!FLoose.empty() && needed(FLoose.front())) {
        const auto row = std::lower_bound(FRows.begin(), FRows.end(), FLoose.front());
        WrapRowsFrom(size_t(row - FRows.begin()), FLoose.front() + 1, true, -1, UpTo, UpToRow);
    }
    if (FExactTo <= FDoc.Length() && needed(FExactTo)) WrapExactly(UpTo, UpToRow);
}

int MemoView::RowCount() const {
    EnsureLayout();
    return FWordWrap ? int(FRows.size()) : FDoc.LineCount();
}

// Counting the rows makes them all final.
int MemoView::VisualLineCount() const {
    EnsureLayout();
    RightThrough(FDoc.Length(), 0);
    return RowCount();
}

int MemoView::RowStart(int Row) const {
    if (!FWordWrap) return FDoc.LineStart(Row);
    FinalThrough(Row);
    return FRows[std::min(size_t(Row), FRows.size() - 1)];
}

int MemoView::RowEnd(int Row) const {
    if (!FWordWrap) return FDoc.LineEnd(Row);
    FinalThrough(Row);
    const size_t r = std::min(size_t(Row), FRows.size() - 1);
    const int lineEnd = FDoc.LineEnd(FDoc.LineOf(FRows[r]));
    return r + 1 < FRows.size() ? std::min(FRows[r + 1], lineEnd) : lineEnd;
}

int MemoView::RowOf(int Pos) const {
    EnsureLayout();
    if (!FWordWrap) return FDoc.LineOf(Pos);
    RightThrough(Pos, 0);
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

// The rows down to the view's bottom are final before the top row's number is given.
int MemoView::FirstVisibleLine() const {
    const int first = verticalScrollBar()->value();
    // (The rows as they stand: a resize asks for the top before they are wrapped anew.)
    if (FLayoutValid) FinalThrough(first + int(viewport()->height() / FRowHeight) + 1);
    return first;
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

QPointF MemoView::PointIn(int Row, int Pos) const {
    const Piece p = PieceAt(Row, Pos);
    qreal x = p.X;
    if (p.Layout->lineCount() > 0) x += p.Layout->lineAt(0).cursorToX(Pos - p.Start);
    return QPointF(kLeft + x - horizontalScrollBar()->value(),
                   kTop + (Row - FirstVisibleLine()) * FRowHeight);
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
    ScrollTo(RowOf(Pos), Pos);
}

// The caret's own row: at the end of a wrapped row it is that row, not the next.
void MemoView::EnsureCaretVisible() {
    EnsureLayout();
    ScrollTo(CaretRow(), FCaret);
}

void MemoView::ScrollTo(int Row, int Pos) {
    const int first = FirstVisibleLine(), page = PageRows();
    if (Row < first)
        verticalScrollBar()->setValue(Row);
    else if (Row >= first + page)
        verticalScrollBar()->setValue(Row - page + 1);
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
