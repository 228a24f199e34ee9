#include "platform/MemoView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "platform/MemoAccessible.h"
#include "platform/QtStrings.h"
#include "text/TextFiles.h"

namespace {

// A row longer than this is laid out and drawn in pieces, so that a line of megabytes
// costs no more to show than the part of it in view.
constexpr int kPiece = 2048;
constexpr int kLeft = 3; // margin left of the text
// Rows wrapped anew behind an edit before it is answered, and then in each pause between
// keys, every kRewrapPause ms, until the rows are back in step.
constexpr int kRowsAtOnce = 1000;
constexpr int kRowsBetweenKeys = 20000;
constexpr int kRewrapPause = 10;
constexpr int kTop = 1;
// The units on either side of the caret an input method is shown.
constexpr int kSurrounding = 1024;
// The longest character of several signs the caret steps over as one.
constexpr int kClusterSpan = 32;
// The undo history keeps about this many characters (32 MB).
constexpr size_t kUndoUnits = size_t(1) << 24;

// Characters a typed key may insert: no control characters but the tab.
bool Typeable(const QString& Text, bool Tab) {
    if (Text.isEmpty()) return false;
    for (QChar c : Text) {
        const char16_t u = c.unicode();
        if (u == u'\t' ? !Tab : (u < 0x20 || (u >= 0x7F && u < 0xA0))) return false;
    }
    return true;
}

} // namespace

QString WithLineFeeds(WideStringView Text) {
    QString out = Q(Text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

struct MemoView::Piece {
    int Start = 0, End = 0;
    qreal X = 0; // left edge in the text's coordinates
    std::shared_ptr<QTextLayout> Layout;
};

MemoView::MemoView(QWidget* Parent) : QAbstractScrollArea(Parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setAcceptDrops(false);
    verticalScrollBar()->setSingleStep(1);
    MemoAccessible::Install();
}

MemoView::~MemoView() = default;

// ---------------------------------------------------------------- text and selection

bool MemoView::SetText(WideStringView Value) {
    const MemoAccessible::Removal removal(FDoc, 0, FDoc.Length());
    if (!FDoc.SetText(Value)) return false;
    FAnchor = FCaret = 0;
    FCaretAtRowEnd = false;
    FDesiredX = -1;
    FUndo.clear();
    FUndoUnits = 0;
    FRedo.clear();
    FLayoutValid = false;
    FOrigins.clear();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
    removal.Tell(*this, 0, FDoc.Length());
    MemoAccessible::Moved(*this);
    Changed();
    return true;
}

// A change by the program cannot be undone, and the steps before it no longer fit the text.
int MemoView::Replace(int Start, int End, WideStringView Value) {
    FUndo.clear();
    FUndoUnits = 0;
    FRedo.clear();
    return Edit(Start, End, Value);
}

int MemoView::Edit(int Start, int End, WideStringView Value) {
    const int before = FDoc.Length();
    const int lines = FDoc.LineCount();
    Start = std::clamp(Start, 0, before);
    End = std::clamp(End, Start, before);
    // The edit may join a lone CR before it or a lone LF behind it with the new text into a
    // line break, or part one: rows and widths are made anew with those units taken in.
    const int wideStart = Start > 0 && FDoc.Text()[size_t(Start) - 1] == u'\r' ? Start - 1 : Start;
    const int wider = End < before && FDoc.Text()[size_t(End)] == u'\n' ? 1 : 0;
    const bool widths = FLayoutValid && !FWordWrap;
    if (widths) FLineWidths.Before(FDoc, FWidths, wideStart, End + wider);
    const MemoAccessible::Removal removal(FDoc, Start, End);
    const int end = FDoc.Replace(Start, End, Value);
    const int start = FDoc.LastStart();
    const int delta = FDoc.Length() - before;
    const int removedEnd = end - delta;
    auto follow = [&](int P) {
        if (P <= start) return P;
        if (P >= removedEnd) return P + delta;
        return end;
    };
    FAnchor = FDoc.Snap(follow(FAnchor));
    FCaret = FDoc.Snap(follow(FCaret));
    FCaretAtRowEnd = false;
    if (FLayoutValid && FWordWrap) RewrapAfterEdit(wideStart, removedEnd + wider, end + wider);
    if (widths) FLineWidths.After(FDoc, FWidths, wideStart, end + wider);
    KeepOrigins(wideStart, lines);
    UpdateScrollBars();
    viewport()->update();
    removal.Tell(*this, start, end);
    MemoAccessible::Moved(*this);
    Changed();
    return end;
}

void MemoView::SetSelection(int Anchor, int Caret) {
    EndTypingRun();
    FAnchor = FDoc.Snap(Anchor);
    FCaret = FDoc.Snap(Caret);
    FCaretAtRowEnd = false;
    FDesiredX = -1;
    RestartBlink();
    viewport()->update();
    MemoAccessible::Moved(*this);
}

void MemoView::ReplaceSelection(WideStringView Value) {
    FAnchor = FCaret = FDoc.Snap(Replace(SelStart(), SelEnd(), Value));
    MemoAccessible::Moved(*this);
}

void MemoView::SelectAll() {
    SetSelection(0, FDoc.Length());
    OfferSelection();
}

void MemoView::Changed() {
    if (OnTextChanged) OnTextChanged();
}

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
    FOrigins.clear();
    FRows.clear();
    FLoose.clear();
    FRewrapLater.stop();
    FLineWidths.Clear();
    if (FWordWrap) {
        FRows.reserve(size_t(FDoc.LineCount()));
        for (int line = 0; line < FDoc.LineCount(); ++line)
            WrapLine(line, FRows);
    } else {
        FLineWidths.Fill(FDoc, FWidths);
    }
    FLayoutValid = true;
    UpdateScrollBars();
}

// Where the row that begins at Start ends (the next row's start), or the line's end E when
// the rest of the line fits: a row ends after the last blank that still fits (blanks hang
// over the edge), or inside a word longer than the row. The widths are estimated; a row
// with characters whose drawn width may differ is measured as drawn and shortened.
int MemoView::RowBreak(int Start, int E) const {
    const char16_t* t = FDoc.Text().data();
    const float width = float(std::max(FLayoutWidth - 2 * kLeft, 8));
    int lastBlank = -1;
    float x = 0;
    bool shaped = false;
    int end = E;
    for (int i = Start; i < E;) {
        const char16_t c = t[i];
        const bool blank = c == u' ' || c == u'\t';
        const int len = IsHighSurrogate(c) && i + 1 < E && IsLowSurrogate(t[i + 1]) ? 2 : 1;
        const float nx = FWidths.NextX(x, c) + (len == 2 ? FWidths.Advance(t[i + 1]) : 0.0f);
        if (!blank && i > Start && (nx > width || i - Start >= kPiece)) {
            end = lastBlank > Start ? lastBlank : i;
            break;
        }
        shaped = shaped || FWidths.Shaped(c);
        x = nx;
        i += len;
        if (blank) {
            lastBlank = i;
            if (i - Start >= kPiece && i < E) {
                end = i;
                break;
            }
        }
    }
    if (!shaped) return end;
    return Start + FWidths.Fit(Q(FDoc.Slice(Start, end)), width);
}

void MemoView::WrapLine(int Line, std::vector<int>& Rows) const {
    const int e = FDoc.LineEnd(Line);
    int row = FDoc.LineStart(Line);
    do {
        Rows.push_back(row);
        row = RowBreak(row, e);
    } while (row < e);
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
    auto first = std::upper_bound(FRows.begin(), FRows.end(), Start) - 1;
    const int lineStart = FDoc.LineStart(FDoc.LineOf(Start));
    for (int back = 0; back < 3 && first != FRows.begin() && *first > lineStart; ++back)
        --first;
    WrapRowsFrom(size_t(first - FRows.begin()), NewEnd, kRowsAtOnce);
}

// Wraps the rows from row First on anew until a row begins where one began before, at or
// behind SyncFrom: the rows from there on stand. Where Budget rows behind SyncFrom do not
// come back into step (text that repeats itself may never), the wrapping stops and goes on
// in the time between keys (see timerEvent); until then the old rows stand behind.
void MemoView::WrapRowsFrom(size_t First, int SyncFrom, int Budget) const {
    std::vector<int> rows;
    auto resync = FRows.begin() + std::ptrdiff_t(First);
    const int from = *resync;
    int to = from;
    bool stopped = false;
    for (int row = from, wrapped = 0;;) {
        rows.push_back(row);
        const int line = FDoc.LineOf(row);
        const int e = FDoc.LineEnd(line);
        int next = row < e ? RowBreak(row, e) : e;
        if (next >= e) {
            if (line + 1 >= FDoc.LineCount()) {
                resync = FRows.end();
                to = FDoc.Length() + 1;
                break;
            }
            next = FDoc.LineStart(line + 1);
        }
        to = next;
        if (next >= SyncFrom) {
            resync = std::lower_bound(resync, FRows.end(), next);
            const bool same = resync != FRows.end() && *resync == next;
            if (same && !std::binary_search(FLoose.begin(), FLoose.end(), next)) break;
            if (++wrapped >= Budget) {
                rows.push_back(next);
                if (same) ++resync;
                stopped = true;
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
    if (stopped) {
        FLoose.insert(std::lower_bound(FLoose.begin(), FLoose.end(), to), to);
        if (!FRewrapLater.isActive()) FRewrapLater.start(kRewrapPause, const_cast<MemoView*>(this));
    }
}

int MemoView::VisualLineCount() const {
    EnsureLayout();
    return FWordWrap ? int(FRows.size()) : FDoc.LineCount();
}

int MemoView::RowStart(int Row) const {
    return FWordWrap ? FRows[size_t(Row)] : FDoc.LineStart(Row);
}

int MemoView::RowEnd(int Row) const {
    if (!FWordWrap) return FDoc.LineEnd(Row);
    const int lineEnd = FDoc.LineEnd(FDoc.LineOf(FRows[size_t(Row)]));
    return size_t(Row) + 1 < FRows.size() ? std::min(FRows[size_t(Row) + 1], lineEnd) : lineEnd;
}

int MemoView::RowOf(int Pos) const {
    EnsureLayout();
    if (!FWordWrap) return FDoc.LineOf(Pos);
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
    v->setRange(0, std::max(VisualLineCount() - page, 0));
    QScrollBar* h = horizontalScrollBar();
    const int room = viewport()->width() - 2 * kLeft;
    h->setPageStep(std::max(room, 1));
    h->setSingleStep(std::max(int(FWidths.TabWidth() / 8), 1) * 2);
    h->setRange(0, FWordWrap ? 0 : std::max(int(std::ceil(FLineWidths.Widest())) + 2 - room, 0));
}

int MemoView::FirstVisibleLine() const {
    return verticalScrollBar()->value();
}

void MemoView::ScrollLines(int Count) {
    EnsureLayout();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + Count);
}

// ---------------------------------------------------------------- pieces of rows

// Where piece K of the row from S to E begins: every kPiece units, one earlier where that
// would part a surrogate pair; E past the last piece.
int MemoView::PieceStart(int S, int E, int K) const {
    const int b = S + K * kPiece;
    if (b >= E) return E;
    const char16_t* t = FDoc.Text().data();
    return b > S && IsLowSurrogate(t[b]) && IsHighSurrogate(t[b - 1]) ? b - 1 : b;
}

// The x where piece K of a long row begins. The origins are estimated from the row's
// start on as far as they are asked for (the pieces in view), and an edit keeps those
// before it: typing where the view is costs a few pieces, however long the row.
qreal MemoView::PieceOrigin(int Row, int K) const {
    std::vector<qreal>& o = FOrigins[Row];
    if (o.empty()) o.push_back(0);
    const int s = RowStart(Row), e = RowEnd(Row);
    const char16_t* t = FDoc.Text().data();
    for (int k = int(o.size()) - 1; k < K; ++k) {
        const int from = PieceStart(s, e, k), to = PieceStart(s, e, k + 1);
        if (from >= e) break;
        o.push_back(FWidths.Estimate(t + from, to - from, float(o.back())));
    }
    return o[size_t(std::min<size_t>(size_t(K), o.size() - 1))];
}

// The last piece of a long row that begins at or left of X.
int MemoView::PieceOfX(int Row, qreal X) const {
    const int s = RowStart(Row), e = RowEnd(Row);
    const int last = e > s ? (e - s - 1) / kPiece : 0;
    PieceOrigin(Row, 0);
    const std::vector<qreal>& o = FOrigins[Row];
    while (int(o.size()) <= last && o.back() <= X)
        PieceOrigin(Row, int(o.size()));
    const int k = int(std::upper_bound(o.begin(), o.end(), X) - o.begin()) - 1;
    return std::clamp(k, 0, last);
}

// After an edit from Start: a row's origins up to the edit stand while the lines stay
// where they are (unwrapped, a row is a line); otherwise they are estimated anew.
void MemoView::KeepOrigins(int Start, int LinesBefore) const {
    if (!FLayoutValid || FWordWrap || FDoc.LineCount() != LinesBefore) {
        FOrigins.clear();
        return;
    }
    const int line = FDoc.LineOf(Start);
    auto it = FOrigins.find(line);
    if (it == FOrigins.end()) return;
    const int before = Start - FDoc.LineStart(line);
    const size_t keep = before > 0 ? size_t((before - 1) / kPiece) + 1 : 1;
    if (it->second.size() > keep) it->second.resize(keep);
}

MemoView::Piece MemoView::PieceAt(int Row, int Pos) const {
    const int s = RowStart(Row), e = RowEnd(Row);
    Piece p;
    int k = 0;
    if (e - s > kPiece) {
        k = std::clamp((Pos - s) / kPiece, 0, (e - s - 1) / kPiece);
        if (Pos >= PieceStart(s, e, k + 1) && PieceStart(s, e, k + 1) < e) ++k;
        p.X = PieceOrigin(Row, k);
    }
    p.Start = PieceStart(s, e, k);
    p.End = PieceStart(s, e, k + 1);
    const QString text = Q(FDoc.Slice(p.Start, p.End));
    QList<qreal> stops;
    if (p.X > 0 && text.contains(u'\t')) {
        // A later piece keeps the tab stops of the whole row, not stops of its own.
        const qreal tab = FWidths.TabWidth();
        const qreal width = EstimateWidth(p.Start, p.End) + 2 * tab;
        for (qreal x = std::ceil(p.X / tab) * tab - p.X; x <= width; x += tab)
            if (x > 0) stops.append(x);
    }
    p.Layout = FWidths.Layout(text, stops);
    return p;
}

std::vector<MemoView::Piece> MemoView::PiecesIn(int Row, qreal Left, qreal Right) const {
    const int s = RowStart(Row), e = RowEnd(Row);
    std::vector<Piece> out;
    if (e - s <= kPiece) {
        out.push_back(PieceAt(Row, s));
        return out;
    }
    const int last = (e - s - 1) / kPiece;
    for (int k = PieceOfX(Row, Left - 1); k <= last && PieceOrigin(Row, k) <= Right; ++k)
        out.push_back(PieceAt(Row, PieceStart(s, e, k)));
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
    const int rows = VisualLineCount();
    const int row = std::clamp(
        FirstVisibleLine() + int(std::floor((Point.y() - kTop) / FRowHeight)), 0, rows - 1);
    const qreal x = Point.x() - kLeft + horizontalScrollBar()->value();
    const int s = RowStart(row), e = RowEnd(row);
    int at = s;
    if (e - s > kPiece) {
        at = PieceStart(s, e, PieceOfX(row, x));
    }
    const Piece p = PieceAt(row, at);
    int pos = p.Start;
    if (p.Layout->lineCount() > 0)
        pos += p.Layout->lineAt(0).xToCursor(x - p.X, QTextLine::CursorBetweenCharacters);
    pos = FDoc.Snap(std::min(pos, e));
    // A wrapped row ends where the next one begins: right of its text is its last character.
    if (pos == e && e > s && RowOf(e) != row) pos = FDoc.Prev(e);
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

// ---------------------------------------------------------------- painting

void MemoView::paintEvent(QPaintEvent* Event) {
    (void)Event;
    EnsureLayout();
    QPainter painter(viewport());
    const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    const QPalette& pal = palette();
    painter.setPen(pal.color(group, QPalette::Text));
    painter.setFont(font());
    const int first = FirstVisibleLine();
    const int rows = VisualLineCount();
    const int last = std::min(rows - 1, first + PageRows() + 1);
    const qreal left = horizontalScrollBar()->value();
    const qreal right = left + viewport()->width();
    // As a Windows edit box, the memo shows its selection only while it has the focus (or
    // its context menu is open).
    const bool showSelection = hasFocus() || QApplication::activePopupWidget();
    const int selStart = showSelection ? SelStart() : 0, selEnd = showSelection ? SelEnd() : 0;
    QTextCharFormat selected;
    selected.setBackground(pal.brush(group, QPalette::Highlight));
    selected.setForeground(pal.brush(group, QPalette::HighlightedText));
    QTextCharFormat mark; // a lone break, in a paler colour than the text
    mark.setForeground(pal.brush(group, QPalette::PlaceholderText));
    const char16_t* t = FDoc.Text().data();
    for (int row = first; row <= last; ++row) {
        const qreal y = kTop + (row - first) * FRowHeight;
        for (const Piece& p : PiecesIn(row, left, right)) {
            QList<QTextLayout::FormatRange> ranges;
            for (int i = p.Start; i < p.End; ++i)
                if (MemoWidths::DrawnAsMark(t[i])) ranges.append({i - p.Start, 1, mark});
            const int a = std::max(selStart, p.Start), b = std::min(selEnd, p.End);
            if (a < b) ranges.append({a - p.Start, b - a, selected});
            p.Layout->draw(&painter, QPointF(kLeft + p.X - left, y), ranges);
        }
    }
    if (!hasFocus() && FPreedit.isEmpty()) return;
    const QRectF caret = CaretRect();
    if (!FPreedit.isEmpty()) {
        QFont underlined = font();
        underlined.setUnderline(true);
        painter.setFont(underlined);
        const QFontMetricsF fm(underlined);
        const QRectF box(caret.left() + 1, caret.top(), fm.horizontalAdvance(FPreedit), FRowHeight);
        painter.fillRect(box, pal.brush(group, QPalette::Base));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, FPreedit);
        return;
    }
    if (FCaretShown)
        painter.fillRect(QRectF(caret.left() + 1, caret.top(), 1, FRowHeight),
                         pal.color(group, QPalette::Text));
}

void MemoView::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    if (FWordWrap && FLayoutValid && FLayoutWidth != viewport()->width()) {
        // Keep the text at the top of the view there while the rows are wrapped anew.
        const int top = TopPos();
        Relayout();
        verticalScrollBar()->setValue(RowOf(top));
    }
    UpdateScrollBars();
}

// The text at the top of the view as the rows stand (not wrapped anew first); -1 before
// the first layout.
int MemoView::TopPos() const {
    if (!FLayoutValid) return -1;
    const size_t row = size_t(FirstVisibleLine());
    if (!FWordWrap) return FDoc.LineStart(int(std::min(row, size_t(FDoc.LineCount()) - 1)));
    return FRows[std::min(row, FRows.size() - 1)];
}

void MemoView::changeEvent(QEvent* Event) {
    QAbstractScrollArea::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) {
        const int top = TopPos();
        FLayoutValid = false;
        EnsureLayout();
        if (top >= 0) verticalScrollBar()->setValue(RowOf(top));
        viewport()->update();
    }
}

void MemoView::scrollContentsBy(int Dx, int Dy) {
    (void)Dx;
    (void)Dy;
    viewport()->update();
}

void MemoView::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    const int top = TopPos();
    FWordWrap = Value;
    FLayoutValid = false;
    horizontalScrollBar()->setValue(0);
    EnsureLayout();
    verticalScrollBar()->setValue(top >= 0 ? RowOf(top) : 0);
    viewport()->update();
}

void MemoView::SetReadOnly(bool Value) {
    const bool changed = FReadOnly != Value;
    FReadOnly = Value;
    setAttribute(Qt::WA_InputMethodEnabled, !Value);
    if (changed) MemoAccessible::ReadOnlyChanged(*this);
}

// ---------------------------------------------------------------- editing

bool MemoView::UserReplace(int Start, int End, WideStringView Value, bool Typed) {
    if (FReadOnly) return false;
    Start = FDoc.Snap(Start);
    End = FDoc.Snap(End);
    if (Start == End && Value.empty()) return false;
    const WideString removed(FDoc.Slice(Start, End));
    WideString inserted = MemoText::TypedForm(Value);
    const int insertedEnd = Start + int(inserted.size());
    UndoStep* last = FUndo.empty() ? nullptr : &FUndo.back();
    const bool merge = Typed && last && last->Typed && removed.empty() &&
                       last->Pos + int(last->Inserted.size()) == Start &&
                       inserted.find(u'\r') == WideString::npos;
    FRedo.clear();
    Edit(Start, End, inserted);
    if (merge) {
        last->Inserted += inserted;
        FUndoUnits += inserted.size();
    } else {
        PushUndo({Start, removed, std::move(inserted), Typed});
    }
    FAnchor = FCaret = FDoc.Snap(insertedEnd);
    FDesiredX = -1;
    EnsureCaretVisible();
    RestartBlink();
    MemoAccessible::Moved(*this);
    return true;
}

// What a step holds, with a little for the step itself.
size_t MemoView::Units(const UndoStep& Step) {
    return Step.Removed.size() + Step.Inserted.size() + 16;
}

// The history keeps the texts of its steps up to kUndoUnits, dropping the oldest steps
// beyond (the newest stays, whatever its size): a few large pastes do not pin copies of
// them all.
void MemoView::PushUndo(UndoStep Step) {
    FUndoUnits += Units(Step);
    FUndo.push_back(std::move(Step));
    while (FUndoUnits > kUndoUnits && FUndo.size() > 1) {
        FUndoUnits -= Units(FUndo.front());
        FUndo.pop_front();
    }
}

// Typing goes on merging into the last undo step until the caret is moved.
void MemoView::EndTypingRun() {
    if (!FUndo.empty()) FUndo.back().Typed = false;
}

void MemoView::Undo() {
    if (FReadOnly || FUndo.empty()) return;
    UndoStep step = std::move(FUndo.back());
    FUndo.pop_back();
    FUndoUnits -= Units(step);
    Edit(step.Pos, step.Pos + int(step.Inserted.size()), step.Removed);
    FAnchor = FCaret = FDoc.Snap(step.Pos + int(step.Removed.size()));
    FDesiredX = -1;
    FRedo.push_back(std::move(step));
    EnsureCaretVisible();
    MemoAccessible::Moved(*this);
}

void MemoView::Redo() {
    if (FReadOnly || FRedo.empty()) return;
    UndoStep step = std::move(FRedo.back());
    FRedo.pop_back();
    Edit(step.Pos, step.Pos + int(step.Removed.size()), step.Inserted);
    FAnchor = FCaret = FDoc.Snap(step.Pos + int(step.Inserted.size()));
    FDesiredX = -1;
    step.Typed = false;
    PushUndo(std::move(step));
    EnsureCaretVisible();
    MemoAccessible::Moved(*this);
}

void MemoView::MoveCaret(int Pos, bool Select, bool AtRowEnd) {
    EndTypingRun();
    FCaret = FDoc.Snap(Pos);
    FCaretAtRowEnd = AtRowEnd;
    if (!Select) FAnchor = FCaret;
    FDesiredX = -1; // Up and Down put the column back after their own moves
    EnsureCaretVisible();
    RestartBlink();
    viewport()->update();
    MemoAccessible::Moved(*this);
    if (Select) OfferSelection();
}

void MemoView::DeleteOrMove(int Target) {
    if (SelStart() != SelEnd())
        UserReplace(SelStart(), SelEnd(), {});
    else
        UserReplace(std::min(FCaret, Target), std::max(FCaret, Target), {});
}

void MemoView::Copy() const {
    if (SelStart() == SelEnd()) return;
    QGuiApplication::clipboard()->setText(WithLineFeeds(FDoc.Slice(SelStart(), SelEnd())));
}

void MemoView::Cut() {
    if (FReadOnly || SelStart() == SelEnd()) return;
    Copy();
    UserReplace(SelStart(), SelEnd(), {});
}

void MemoView::Paste(bool FromSelection) {
    const QString text = QGuiApplication::clipboard()->text(FromSelection ? QClipboard::Selection
                                                                          : QClipboard::Clipboard);
    if (text.isEmpty()) return;
    UserReplace(SelStart(), SelEnd(), W(text));
}

void MemoView::OfferSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && SelStart() != SelEnd())
        clipboard->setText(WithLineFeeds(FDoc.Slice(SelStart(), SelEnd())), QClipboard::Selection);
}

void MemoView::RestartBlink() {
    FCaretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        FBlink.start(flash / 2, this);
    else
        FBlink.stop();
    viewport()->update();
}

void MemoView::timerEvent(QTimerEvent* Event) {
    if (Event->timerId() == FRewrapLater.timerId()) {
        if (FLayoutValid && FWordWrap && !FLoose.empty()) {
            const auto row = std::lower_bound(FRows.begin(), FRows.end(), FLoose.front());
            WrapRowsFrom(size_t(row - FRows.begin()), FLoose.front() + 1, kRowsBetweenKeys);
            UpdateScrollBars();
            viewport()->update();
        }
        if (FLoose.empty()) FRewrapLater.stop();
        return;
    }
    if (Event->timerId() == FDragScroll.timerId()) {
        DragTo(FDragAt);
        return;
    }
    if (Event->timerId() != FBlink.timerId()) {
        QAbstractScrollArea::timerEvent(Event);
        return;
    }
    FCaretShown = !FCaretShown;
    viewport()->update(CaretRect().toAlignedRect());
}

void MemoView::focusInEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusInEvent(Event);
    RestartBlink();
}

void MemoView::focusOutEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusOutEvent(Event);
    FDragScroll.stop(); // a popup took the mouse: no release will come
    FDragging = false;
    FBlink.stop();
    FCaretShown = false;
    viewport()->update();
}

bool MemoView::focusNextPrevChild(bool Next) {
    if (FTabsWanted && !FReadOnly) return false;
    return QAbstractScrollArea::focusNextPrevChild(Next);
}

// ---------------------------------------------------------------- keys

// The keys the memo takes before the window's shortcuts see them.
bool MemoView::TakesKey(QKeyEvent* Key) const {
    const Qt::KeyboardModifiers mods = Key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
        if (Key->key() < Qt::Key_Escape) return true;
        switch (Key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return !ReturnsWanted || ReturnsWanted();
        case Qt::Key_Delete:
        case Qt::Key_Insert:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Backspace:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
        }
    }
    for (QKeySequence::StandardKey k :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
          QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::MoveToNextWord,
          QKeySequence::MoveToPreviousWord, QKeySequence::SelectNextWord,
          QKeySequence::SelectPreviousWord, QKeySequence::MoveToStartOfDocument,
          QKeySequence::MoveToEndOfDocument, QKeySequence::SelectStartOfDocument,
          QKeySequence::SelectEndOfDocument, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfWord})
        if (Key->matches(k)) return true;
    return mods == Qt::ControlModifier &&
           (Key->key() == Qt::Key_Insert || Key->key() == Qt::Key_Y ||
            Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter);
}

bool MemoView::event(QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if (TakesKey(key)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(Event);
}

void MemoView::keyPressEvent(QKeyEvent* Event) {
    if (HandleKey(Event))
        Event->accept();
    else
        Event->ignore();
}

bool MemoView::HandleKey(QKeyEvent* Key) {
    const Qt::KeyboardModifiers mods = Key->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
    if (Key == QKeySequence::SelectAll) {
        SelectAll();
        return true;
    }
    if (Key == QKeySequence::Copy ||
        (Key->key() == Qt::Key_Insert && mods == Qt::ControlModifier)) {
        Copy();
        return true;
    }
    if (Key == QKeySequence::Cut || (Key->key() == Qt::Key_Delete && mods == Qt::ShiftModifier)) {
        Cut();
        return true;
    }
    if (Key == QKeySequence::Paste || (Key->key() == Qt::Key_Insert && mods == Qt::ShiftModifier)) {
        Paste();
        return true;
    }
    if (Key == QKeySequence::Undo) {
        Undo();
        return true;
    }
    if (Key == QKeySequence::Redo || (Key->key() == Qt::Key_Y && mods == Qt::ControlModifier)) {
        Redo();
        return true;
    }
    EnsureLayout();
    const int row = CaretRow();
    auto vertical = [&](int Rows) {
        // The column as x in the text, so that sideways scrolling between moves keeps it.
        if (FDesiredX < 0) FDesiredX = PointIn(row, FCaret).x() + horizontalScrollBar()->value();
        const qreal keep = FDesiredX;
        const int target = std::clamp(row + Rows, 0, VisualLineCount() - 1);
        if (target == row) {
            MoveCaret(FCaret, shift); // the first row going up, the last going down
        } else {
            const int first = FirstVisibleLine();
            if (std::abs(Rows) > 1) verticalScrollBar()->setValue(first + (target - row));
            const qreal y = kTop + (target - FirstVisibleLine()) * FRowHeight + FRowHeight / 2;
            MoveCaret(PosAt(QPointF(keep - horizontalScrollBar()->value(), y)), shift);
        }
        FDesiredX = keep;
    };
    switch (Key->key()) {
    case Qt::Key_Left:
        if (!shift && SelStart() != SelEnd() && !ctrl)
            MoveCaret(SelStart(), false);
        else
            MoveCaret(ctrl ? FDoc.PrevWord(FCaret) : PrevCluster(FCaret), shift);
        return true;
    case Qt::Key_Right:
        if (!shift && SelStart() != SelEnd() && !ctrl)
            MoveCaret(SelEnd(), false);
        else
            MoveCaret(ctrl ? FDoc.NextWord(FCaret) : NextCluster(FCaret), shift);
        return true;
    case Qt::Key_Up:
        if (ctrl) return false;
        vertical(-1);
        return true;
    case Qt::Key_Down:
        if (ctrl) return false;
        vertical(1);
        return true;
    case Qt::Key_PageUp:
        vertical(-PageRows());
        return true;
    case Qt::Key_PageDown:
        vertical(PageRows());
        return true;
    case Qt::Key_Home:
        MoveCaret(ctrl ? 0 : RowStart(row), shift);
        return true;
    case Qt::Key_End: {
        const int end = ctrl ? FDoc.Length() : RowEnd(row);
        // A wrapped row ends where the next begins: the caret stays at this row's end.
        MoveCaret(end, shift, !ctrl && end > RowStart(row) && RowOf(end) != row);
        return true;
    }
    case Qt::Key_Backspace:
        if (mods & ~(Qt::ShiftModifier | Qt::ControlModifier)) return false;
        DeleteOrMove(ctrl ? FDoc.PrevWord(FCaret) : FDoc.Prev(FCaret));
        return true;
    case Qt::Key_Delete:
        if (mods & ~Qt::ControlModifier) return false;
        DeleteOrMove(ctrl ? FDoc.NextWord(FCaret) : NextCluster(FCaret));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Without Enter of its own, Ctrl+Enter still breaks the line.
        if (!ctrl && ReturnsWanted && !ReturnsWanted()) return false;
        if (mods & ~(Qt::ShiftModifier | Qt::ControlModifier)) return false;
        UserReplace(SelStart(), SelEnd(), u"\r\n");
        return true;
    case Qt::Key_Tab:
        if (!FTabsWanted || mods != Qt::NoModifier) return false;
        UserReplace(SelStart(), SelEnd(), u"\t", true);
        return true;
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    // Ctrl alone never types; AltGr (Ctrl with Alt) does.
    const bool typing = !(ctrl && !(mods & Qt::AltModifier)) && !(mods & Qt::MetaModifier);
    if (typing && Typeable(Key->text(), FTabsWanted)) {
        if (FReadOnly) return true;
        UserReplace(SelStart(), SelEnd(), W(Key->text()), true);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- input methods

void MemoView::inputMethodEvent(QInputMethodEvent* Event) {
    if (FReadOnly) {
        Event->ignore();
        return;
    }
    int start = SelStart(), end = SelEnd();
    if (Event->replacementLength() > 0 || Event->replacementStart() != 0) {
        start = FDoc.Snap(FCaret + Event->replacementStart());
        end = FDoc.Snap(start + Event->replacementLength());
    }
    if (!Event->commitString().isEmpty() || start != end)
        UserReplace(start, end, W(Event->commitString()), true);
    FPreedit = Event->preeditString();
    viewport()->update();
    Event->accept();
}

QVariant MemoView::inputMethodQuery(Qt::InputMethodQuery Query) const {
    // The text around the caret is a stretch of its line, so that a line of megabytes is
    // not copied for the input method on every key.
    const int line = FDoc.LineOf(FCaret);
    const int from = FDoc.Snap(std::max(FDoc.LineStart(line), FCaret - kSurrounding));
    const int to = FDoc.Snap(std::min(FDoc.LineEnd(line), FCaret + kSurrounding));
    switch (Query) {
    case Qt::ImEnabled:
        return !FReadOnly;
    case Qt::ImCursorRectangle:
        return CaretRect().translated(viewport()->pos()).toAlignedRect();
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return FCaret - from;
    case Qt::ImAnchorPosition:
        return std::clamp(FAnchor, from, to) - from;
    case Qt::ImSurroundingText:
        return Q(FDoc.Slice(from, to));
    case Qt::ImCurrentSelection:
        return Q(FDoc.Slice(SelStart(), SelEnd()));
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(Query);
    }
}

// ---------------------------------------------------------------- mouse

void MemoView::mousePressEvent(QMouseEvent* Event) {
    const int pos = PosAt(Event->position());
    if (Event->button() == Qt::LeftButton) {
        FDragging = true;
        FWordStart = FWordEnd = -1;
        MoveCaret(pos, Event->modifiers() & Qt::ShiftModifier);
    } else if (Event->button() == Qt::MiddleButton &&
               QGuiApplication::clipboard()->supportsSelection() && !FReadOnly) {
        SetSelection(pos, pos);
        Paste(true);
    }
    Event->accept();
}

void MemoView::mouseMoveEvent(QMouseEvent* Event) {
    if (!FDragging || !(Event->buttons() & Qt::LeftButton)) return;
    FDragAt = Event->position();
    DragTo(FDragAt);
    // Held beyond an edge the text goes on scrolling, from a timer, until the button is
    // let go or the mouse comes back.
    const bool beyond = FDragAt.y() < 0 || FDragAt.y() > viewport()->height() ||
                        (!FWordWrap && (FDragAt.x() < 0 || FDragAt.x() > viewport()->width()));
    if (!beyond)
        FDragScroll.stop();
    else if (!FDragScroll.isActive())
        FDragScroll.start(50, this);
}

void MemoView::DragTo(QPointF At) {
    if (At.y() < 0)
        ScrollLines(-1);
    else if (At.y() > viewport()->height())
        ScrollLines(1);
    const QPointF inside(At.x(), std::clamp(At.y(), 0.0, qreal(viewport()->height() - 1)));
    FCaret = PosAt(inside);
    FCaretAtRowEnd = false;
    if (FWordStart >= 0) {
        // After a double click the selection grows by whole words, from the first one.
        int start = 0, end = 0;
        FDoc.WordAt(FCaret, start, end);
        FAnchor = FCaret < FWordStart ? FWordEnd : FWordStart;
        FCaret = FCaret < FWordStart ? start : std::max(end, FWordEnd);
    }
    EnsureCaretVisible();
    viewport()->update();
    MemoAccessible::Moved(*this);
}

void MemoView::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && FDragging) {
        FDragging = false;
        FDragScroll.stop();
        OfferSelection();
    }
}

void MemoView::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) return;
    int start = 0, end = 0;
    FDoc.WordAt(PosAt(Event->position()), start, end);
    SetSelection(start, end);
    OfferSelection();
    // The button still held, a drag goes on by words.
    FDragging = true;
    FWordStart = start;
    FWordEnd = end;
}

// ---------------------------------------------------------------- context menu

// The edit box's own menu, in the words of Qt's translations.
void MemoView::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu menu(this);
    auto tr = [](const char* Text) {
        return QCoreApplication::translate("QWidgetTextControl", Text);
    };
    const bool any = SelStart() != SelEnd();
    auto add = [&](const char* Text, bool Enabled, auto Act) {
        QAction* a = menu.addAction(tr(Text));
        a->setEnabled(Enabled);
        QObject::connect(a, &QAction::triggered, this, Act);
    };
    add("&Undo", !FReadOnly && !FUndo.empty(), [this] { Undo(); });
    add("&Redo", !FReadOnly && !FRedo.empty(), [this] { Redo(); });
    menu.addSeparator();
    add("Cu&t", !FReadOnly && any, [this] { Cut(); });
    add("&Copy", any, [this] { Copy(); });
    add("&Paste", !FReadOnly && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { Paste(); });
    add("Delete", !FReadOnly && any, [this] { UserReplace(SelStart(), SelEnd(), {}); });
    menu.addSeparator();
    add("Select All", FDoc.Length() > 0, [this] { SelectAll(); });
    const QPoint at = Event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(CaretRect().bottomLeft().toPoint())
                          : Event->globalPos();
    menu.exec(at);
}
