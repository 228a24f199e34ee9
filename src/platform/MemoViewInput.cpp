// What the memo view does with keys, input methods, the mouse and its context menu, as a
// Windows edit box does.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>

#include "platform/MemoAccessible.h"
#include "platform/MemoView.h"
#include "platform/MemoViewPieces.h"
#include "platform/QtStrings.h"
#include "text/TextFiles.h"

using namespace memo_view;

namespace {

// The units on either side of the caret an input method is shown.
constexpr int kSurrounding = 1024;

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
        const int target = std::clamp(row + Rows, 0, RowCount() - 1);
        if (target == row) {
            MoveCaret(FCaret, shift); // the first row going up, the last going down
        } else {
            // The target's place in the view, taken before the rows around it are made
            // final (the view keeps its text meanwhile).
            const int first = FirstVisibleLine();
            int shown = target - first;
            if (std::abs(Rows) > 1) {
                verticalScrollBar()->setValue(first + (target - row));
                shown = target - verticalScrollBar()->value();
            }
            const qreal y = kTop + shown * FRowHeight + FRowHeight / 2;
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
