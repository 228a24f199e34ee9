#include "platform/MemoView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QGlyphRun>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

#include "platform/MemoAccessible.h"
#include "platform/MemoViewPieces.h"
#include "platform/QtStrings.h"
#include "text/TextFiles.h"

using namespace memo_view;

namespace {

// The undo history keeps about this many characters (32 MB).
constexpr size_t kUndoUnits = size_t(1) << 24;

// The selection's background in a row: the characters From to To of a piece's layout drawn
// at X, in the row's band from Top, Height high, in whole pixels. Text of both directions
// puts a range into several runs, each a rectangle of its own. (Qt fills a selection over
// its line's own height, which for a row drawn partly in a taller substitute font reaches
// up into the row above.)
QRegion SelectionBand(const QTextLayout& Layout, int From, int To, qreal X, int Top, int Height) {
    QRegion band;
    if (Layout.lineCount() == 0) return band;
    const QTextLine line = Layout.lineAt(0);
    auto add = [&](qreal A, qreal B) {
        const int left = qRound(X + std::min(A, B)), right = qRound(X + std::max(A, B));
        if (right > left) band += QRect(left, Top, right - left, Height);
    };
    // (A run's bounding rectangle is the advances of its characters in the range.)
    for (const QGlyphRun& run : line.glyphRuns(From, To - From))
        add(run.boundingRect().left(), run.boundingRect().right());
    // A tab has no glyph: it reaches to where the text behind it begins.
    const QString text = Layout.text();
    for (int i = From; i < To; ++i)
        if (text[i] == u'\t') add(line.cursorToX(i), line.cursorToX(i + 1));
    return band;
}

} // namespace

QString WithLineFeeds(WideStringView Text) {
    QString out = Q(Text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

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

QElapsedTimer MemoView::SinceEdit;

int MemoView::Edit(int Start, int End, WideStringView Value) {
    SinceEdit.start();
    const int before = FDoc.Length();
    Start = std::clamp(Start, 0, before);
    End = std::clamp(End, Start, before);
    // The edit may join a lone CR before it or a lone LF behind it with the new text into a
    // line break, or part one: rows and widths are made anew with those units taken in.
    const int wideStart = Start > 0 && FDoc.Text()[size_t(Start) - 1] == u'\r' ? Start - 1 : Start;
    const int wider = End < before && FDoc.Text()[size_t(End)] == u'\n' ? 1 : 0;
    const bool widths = FLayoutValid && !FWordWrap;
    if (widths) FLineWidths.Before(FDoc);
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
    if (widths && FLineWidths.Estimated() && !FRewrapLater.isActive())
        FRewrapLater.start(memo_view::kRewrapPause, this);
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
    const int rows = RowCount();
    const int last = std::min(rows - 1, first + PageRows() + 1);
    const qreal left = horizontalScrollBar()->value();
    const qreal right = left + viewport()->width();
    // As a Windows edit box, the memo shows its selection only while it has the focus (or
    // its context menu is open).
    const bool showSelection = hasFocus() || QApplication::activePopupWidget();
    const int selStart = showSelection ? SelStart() : 0, selEnd = showSelection ? SelEnd() : 0;
    QTextCharFormat mark; // a lone break, in a paler colour than the text
    mark.setForeground(pal.brush(group, QPalette::PlaceholderText));
    const char16_t* t = FDoc.Text().data();
    for (int row = first; row <= last; ++row) {
        const qreal y = kTop + (row - first) * FRowHeight;
        for (const Piece& p : PiecesIn(row, left, right)) {
            QList<QTextLayout::FormatRange> ranges;
            for (int i = p.Start; i < p.End; ++i)
                if (MemoWidths::DrawnAsMark(t[i])) ranges.append({i - p.Start, 1, mark});
            const QPointF at(kLeft + p.X - left, y);
            const int a = std::max(selStart, p.Start), b = std::min(selEnd, p.End);
            const QRegion band = a < b ? SelectionBand(*p.Layout, a - p.Start, b - p.Start, at.x(),
                                                       int(y), int(FRowHeight))
                                       : QRegion();
            if (band.isEmpty()) {
                p.Layout->draw(&painter, at, ranges);
                continue;
            }
            // The selected text on its background, clipped to it; the rest, and every ink
            // that reaches out of the row's band, as usual around it.
            for (const QRect& r : band)
                painter.fillRect(r, pal.brush(group, QPalette::Highlight));
            painter.save();
            painter.setClipRegion(band);
            painter.setPen(pal.color(group, QPalette::HighlightedText));
            p.Layout->draw(&painter, at);
            painter.restore();
            painter.save();
            painter.setClipRegion(QRegion(viewport()->rect()).subtracted(band));
            p.Layout->draw(&painter, at, ranges);
            painter.restore();
        }
    }
    if (FWidened) {
        FWidened = false;
        UpdateScrollBars();
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
        const bool quiet = !(SinceEdit.isValid() && SinceEdit.elapsed() < memo_view::kQuietMs);
        if (FLayoutValid && FWordWrap && !FDrafts.empty()) {
            // A slice of a draft: rows moved by an edit first, estimated ones once typing
            // pauses. The text at the top of the view stays there, however many rows above
            // it change; nothing moves while the user drags the scroll bar.
            const int top = TopPos(); // (the rows in view made final first)
            auto moved = std::find_if(FDrafts.begin(), FDrafts.end(),
                                      [](const Draft& D) { return D.Moved; });
            if (moved == FDrafts.end() && quiet) moved = FDrafts.begin();
            if (moved != FDrafts.end() && !verticalScrollBar()->isSliderDown()) {
                Finalize(size_t(moved - FDrafts.begin()), -1, 0, memo_view::kExactBetweenKeysMs);
                UpdateScrollBars();
                const auto at = std::upper_bound(FRows.begin(), FRows.end(), top);
                verticalScrollBar()->setValue(int(at - FRows.begin()) - 1);
            }
        } else if (FLayoutValid && !FWordWrap && FLineWidths.Estimated() && quiet) {
            // The lines' widths as drawn, a slice at a time. The text at the view's left edge
            // stays there in the caret's line where it is in view, else in the top line,
            // however much wider the pieces before it become; a view at the end stays there.
            QScrollBar* h = horizontalScrollBar();
            const bool atEnd = h->value() > 0 && h->value() == h->maximum();
            const int first = verticalScrollBar()->value(), caret = FDoc.LineOf(FCaret);
            const int line = caret >= first && caret < first + PageRows()
                                 ? caret
                                 : std::min(first, FDoc.LineCount() - 1);
            const int k = FLineWidths.PieceOfX(line, h->value());
            const double origin = FLineWidths.Origin(line, k);
            if (FLineWidths.Refine(FDoc, FWidths, memo_view::kExactBetweenKeysMs)) {
                UpdateScrollBars();
                h->setValue(atEnd ? h->maximum()
                                  : h->value() +
                                        int(std::lround(FLineWidths.Origin(line, k) - origin)));
                viewport()->update();
            }
        }
        const bool settled = FWordWrap ? FDrafts.empty() : !FLineWidths.Estimated();
        if (!FLayoutValid || settled) FRewrapLater.stop();
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
