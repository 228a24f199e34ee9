#include "platform/MemoAccessible.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QScrollBar>
#include <algorithm>

#include "platform/MemoText.h"
#include "platform/MemoView.h"
#include "platform/QtStrings.h"

namespace {

// Words and sentences in a line of megabytes are looked for this far around the offset.
constexpr int kReach = 2048;

// A stretch of text on its own, for Qt's own search of characters, words and sentences.
class Stretch final : public QAccessibleTextInterface {
public:
    explicit Stretch(QString Text) : FText(std::move(Text)) {}
    QString text(int Start, int End) const override { return FText.mid(Start, End - Start); }
    int characterCount() const override { return int(FText.size()); }
    void selection(int, int* Start, int* End) const override { *Start = *End = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* Start, int* End) const override {
        *Start = *End = -1;
        return {};
    }

private:
    QString FText;
};

// A line of megabytes is read in pieces (memo positions Start to End, the item around
// Pos), the same pieces whichever offset asks, never splitting a character.
void InPieces(const MemoText& Doc, int Pos, int& Start, int& End) {
    constexpr int size = 2 * kReach;
    if (End - Start <= size) return;
    auto bound = [&](int K) { return std::min(Doc.Snap(Start + K * size), End); };
    int k = (Pos - Start) / size;
    if (k > 0 && bound(k) >= End)
        --k; // the end belongs to the last piece
    else if (bound(k + 1) <= Pos && bound(k + 1) < End)
        ++k; // a piece ends early rather than split a character
    const int s = bound(k), e = bound(k + 1);
    Start = s;
    End = e;
}

QAccessibleInterface* MemoFactory(const QString&, QObject* Object) {
    if (auto* view = dynamic_cast<MemoView*>(Object)) return new MemoAccessible(view);
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- offsets

int MemoAccessible::OffsetOf(const MemoText& Doc, int Pos) {
    Pos = std::clamp(Pos, 0, Doc.Length());
    return Pos - Doc.LineOf(Pos); // every break before Pos counts one unit less
}

int MemoAccessible::PosOf(const MemoText& Doc, int Offset) {
    Offset = std::clamp(Offset, 0, CharacterCount(Doc));
    // The last line whose start, as an offset (LineStart - Line), is at or before Offset.
    int lo = 0, hi = Doc.LineCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (Doc.LineStart(mid) - mid <= Offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return Offset + lo;
}

int MemoAccessible::CharacterCount(const MemoText& Doc) {
    return Doc.Length() - (Doc.LineCount() - 1);
}

// ---------------------------------------------------------------- telling readers

void MemoAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(MemoFactory);
        return true;
    }();
    (void)installed;
}

MemoAccessible::Removal::Removal(const MemoText& Doc, int Start, int End, bool Keep)
    : FActive(Keep) {
    if (!FActive) return;
    Start = std::clamp(Start, 0, Doc.Length());
    End = std::clamp(End, Start, Doc.Length());
    FFrom = std::max(Start - 2, 0);
    FOldLength = Doc.Length();
    FAround = WideString(Doc.Slice(FFrom, std::min(End + 2, Doc.Length())));
}

// The edit may have joined a lone CR before it or a lone LF behind it into a line break,
// or parted one: the change is told from the character before it to the one behind it,
// less what stayed the same there.
MemoAccessible::Removal::Change MemoAccessible::Removal::Heard(const MemoText& Doc, int Start,
                                                               int End) const {
    const WideStringView text = Doc.Text();
    auto crLf = [&](int At) {
        return At >= 0 && At + 1 < int(text.size()) && text[size_t(At)] == u'\r' &&
               text[size_t(At) + 1] == u'\n';
    };
    const int oldEnd = End - (Doc.Length() - FOldLength);
    // A character before the edit and one behind it (a CR LF pair is one), the same in
    // the old text and the new.
    const int from = Start == 0 ? 0 : crLf(Start - 2) ? Start - 2 : Start - 1;
    const int after = End >= Doc.Length() ? 0 : crLf(End) ? 2 : 1;
    Change change;
    change.Removed = WithLineFeeds(
        WideStringView(FAround).substr(size_t(from - FFrom), size_t(oldEnd + after - from)));
    change.Inserted = WithLineFeeds(Doc.Slice(from, End + after));
    QString &removed = change.Removed, &inserted = change.Inserted;
    const bool sameFirst = from < Start && !removed.isEmpty() && !inserted.isEmpty() &&
                           removed.front() == inserted.front();
    if (sameFirst) {
        removed.remove(0, 1);
        inserted.remove(0, 1);
    }
    if (after > 0 && !removed.isEmpty() && !inserted.isEmpty() &&
        removed.back() == inserted.back()) {
        removed.chop(1);
        inserted.chop(1);
    }
    change.At = OffsetOf(Doc, from) + (sameFirst ? 1 : 0);
    return change;
}

void MemoAccessible::Removal::Tell(MemoView& View, int Start, int End) const {
    if (!FActive || !QAccessible::isActive()) return;
    const Change change = Heard(View.Doc(), Start, End);
    if (change.Removed.isEmpty() && change.Inserted.isEmpty()) return;
    if (change.Removed.isEmpty()) {
        QAccessibleTextInsertEvent event(&View, change.At, change.Inserted);
        QAccessible::updateAccessibility(&event);
    } else if (change.Inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(&View, change.At, change.Removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(&View, change.At, change.Removed, change.Inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void MemoAccessible::Moved(MemoView& View) {
    if (!QAccessible::isActive()) return;
    auto* me = dynamic_cast<MemoAccessible*>(QAccessible::queryAccessibleInterface(&View));
    if (!me) return;
    const int anchor = OffsetOf(View.Doc(), View.Anchor());
    const int caret = OffsetOf(View.Doc(), View.Caret());
    const int oldStart = std::min(me->FToldAnchor, me->FToldCaret);
    const int oldEnd = std::max(me->FToldAnchor, me->FToldCaret);
    const int start = std::min(anchor, caret), end = std::max(anchor, caret);
    const bool caretMoved = caret != me->FToldCaret;
    me->FToldAnchor = anchor;
    me->FToldCaret = caret;
    if ((start != oldStart || end != oldEnd) && (start != end || oldStart != oldEnd)) {
        QAccessibleTextSelectionEvent event(&View, start, end);
        event.setCursorPosition(caret);
        QAccessible::updateAccessibility(&event);
    }
    if (caretMoved) {
        QAccessibleTextCursorEvent event(&View, caret);
        QAccessible::updateAccessibility(&event);
    }
}

void MemoAccessible::ReadOnlyChanged(MemoView& View) {
    if (!QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.readOnly = true;
    changed.editable = true;
    QAccessibleStateChangeEvent event(&View, changed);
    QAccessible::updateAccessibility(&event);
}

// ---------------------------------------------------------------- the widget

MemoAccessible::MemoAccessible(MemoView* View)
    : QAccessibleWidget(View, QAccessible::EditableText) {}

MemoView* MemoAccessible::View() const {
    return static_cast<MemoView*>(widget());
}

const MemoText& MemoAccessible::Doc() const {
    return View()->Doc();
}

void* MemoAccessible::interface_cast(QAccessible::InterfaceType Type) {
    if (Type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (Type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(Type);
}

QAccessible::State MemoAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.multiLine = true;
    s.selectableText = true;
    if (View()->ReadOnly())
        s.readOnly = true;
    else
        s.editable = true;
    return s;
}

// The value is the whole text, as Qt's editors give it; readers that follow the caret ask
// for pieces through the text interface instead.
QString MemoAccessible::text(QAccessible::Text Kind) const {
    if (Kind == QAccessible::Value) return WithLineFeeds(Doc().Text());
    return QAccessibleWidget::text(Kind);
}

// ---------------------------------------------------------------- caret and selection

void MemoAccessible::selection(int Index, int* Start, int* End) const {
    const MemoView* v = View();
    if (Index != 0 || v->SelStart() == v->SelEnd()) {
        *Start = *End = 0;
        return;
    }
    *Start = OffsetOf(Doc(), v->SelStart());
    *End = OffsetOf(Doc(), v->SelEnd());
}

int MemoAccessible::selectionCount() const {
    return View()->SelStart() != View()->SelEnd() ? 1 : 0;
}

void MemoAccessible::addSelection(int Start, int End) {
    setSelection(0, Start, End); // a memo has one selection
}

void MemoAccessible::removeSelection(int Index) {
    if (Index == 0) View()->SetSelection(View()->Caret(), View()->Caret());
}

void MemoAccessible::setSelection(int Index, int Start, int End) {
    if (Index != 0) return;
    View()->SetSelection(PosOf(Doc(), Start), PosOf(Doc(), End));
}

int MemoAccessible::cursorPosition() const {
    return OffsetOf(Doc(), View()->Caret());
}

void MemoAccessible::setCursorPosition(int Position) {
    const int pos = PosOf(Doc(), Position);
    View()->SetSelection(pos, pos);
    View()->EnsureCaretVisible();
}

// ---------------------------------------------------------------- text

QString MemoAccessible::text(int Start, int End) const {
    const int count = characterCount();
    if (End < 0 || End > count) End = count;
    Start = std::clamp(Start, 0, End);
    return WithLineFeeds(Doc().Slice(PosOf(Doc(), Start), PosOf(Doc(), End)));
}

int MemoAccessible::characterCount() const {
    return CharacterCount(Doc());
}

// Items never cross a line: a line break ends a word and a sentence (and is an item of
// its own). Lines are the rows as shown (a wrapped line has several), paragraphs the lines
// of the text; both hold the break that ends them.
void MemoAccessible::ItemAt(int Offset, QAccessible::TextBoundaryType Boundary, int& Start,
                            int& End) const {
    const MemoText& doc = Doc();
    const int count = characterCount();
    Offset = std::clamp(Offset, 0, count);
    const int pos = PosOf(doc, Offset);
    const int line = doc.LineOf(pos);
    const int lineEnd = line + 1 < doc.LineCount() ? doc.LineStart(line + 1) : doc.Length();
    int s = doc.LineStart(line), e = lineEnd; // memo positions
    switch (Boundary) {
    case QAccessible::NoBoundary:
        Start = 0;
        End = count;
        return;
    case QAccessible::LineBoundary: {
        // The row as drawn, the rows before it as they stand.
        const MemoView* v = View();
        const int row = v->RowOf(pos);
        s = v->RowStart(row);
        if (row + 1 < v->RowCount()) e = v->RowStart(row + 1);
        [[fallthrough]];
    }
    case QAccessible::ParagraphBoundary:
        InPieces(doc, pos, s, e);
        Start = OffsetOf(doc, s);
        End = OffsetOf(doc, e);
        return;
    default:
        break;
    }
    const int from = std::max(OffsetOf(doc, s), Offset - kReach);
    const int to = std::min(OffsetOf(doc, e), Offset + kReach);
    const Stretch stretch(text(from, to));
    int first = -1, last = -1;
    stretch.textAtOffset(Offset - from, Boundary, &first, &last);
    if (first < 0 || last < first) {
        Start = End = Offset;
        return;
    }
    Start = from + first;
    End = from + last;
}

QString MemoAccessible::textAtOffset(int Offset, QAccessible::TextBoundaryType Boundary, int* Start,
                                     int* End) const {
    if (Offset < 0 || Offset > characterCount()) {
        *Start = *End = -1;
        return {};
    }
    ItemAt(Offset, Boundary, *Start, *End);
    return text(*Start, *End);
}

QString MemoAccessible::textBeforeOffset(int Offset, QAccessible::TextBoundaryType Boundary,
                                         int* Start, int* End) const {
    int s = 0, e = 0;
    if (Offset >= 0 && Offset <= characterCount()) ItemAt(Offset, Boundary, s, e);
    if (Offset < 0 || Offset > characterCount() || s <= 0) {
        *Start = *End = -1;
        return {};
    }
    return textAtOffset(s - 1, Boundary, Start, End);
}

QString MemoAccessible::textAfterOffset(int Offset, QAccessible::TextBoundaryType Boundary,
                                        int* Start, int* End) const {
    const int count = characterCount();
    int s = 0, e = 0;
    if (Offset >= 0 && Offset <= count) ItemAt(Offset, Boundary, s, e);
    int nextStart = 0, nextEnd = 0;
    if (Offset >= 0 && Offset <= count && e > Offset) ItemAt(e, Boundary, nextStart, nextEnd);
    // At the end of the text the item at the end is the last one again: nothing follows.
    if (Offset < 0 || Offset > count || e <= Offset || nextStart < e) {
        *Start = *End = -1;
        return {};
    }
    *Start = nextStart;
    *End = nextEnd;
    return text(nextStart, nextEnd);
}

// ---------------------------------------------------------------- geometry

QRect MemoAccessible::characterRect(int Offset) const {
    if (Offset < 0 || Offset > characterCount()) return {};
    const MemoView* v = View();
    const MemoText& doc = Doc();
    const int pos = PosOf(doc, Offset), next = doc.Next(pos);
    const QPointF left = v->CaretPoint(pos);
    qreal width = QFontMetricsF(v->font()).averageCharWidth(); // a break and the end
    if (next > pos && v->RowOf(next) == v->RowOf(pos))
        width = std::max(v->CaretPoint(next).x() - left.x(), 1.0);
    const QRectF local(left.x(), left.y(), width, v->FRowHeight);
    return QRect(v->viewport()->mapToGlobal(local.topLeft().toPoint()), local.size().toSize());
}

int MemoAccessible::offsetAtPoint(const QPoint& Point) const {
    const MemoView* v = View();
    const QPoint local = v->viewport()->mapFromGlobal(Point);
    if (!v->viewport()->rect().contains(local)) return -1;
    // PosAt finds the gap nearest the point; the character under it begins at or before.
    int pos = v->PosAt(local);
    if (pos > v->RowStart(v->RowOf(pos)) && v->CaretPoint(pos).x() > local.x())
        pos = Doc().Prev(pos);
    return OffsetOf(Doc(), pos);
}

void MemoAccessible::scrollToSubstring(int Start, int End) {
    View()->EnsureVisible(PosOf(Doc(), End));
    View()->EnsureVisible(PosOf(Doc(), Start));
}

// The memo shows one font throughout.
QString MemoAccessible::attributes(int Offset, int* Start, int* End) const {
    if (Offset < 0 || Offset > characterCount()) {
        *Start = *End = -1;
        return {};
    }
    *Start = 0;
    *End = characterCount();
    const QFontInfo font(View()->font());
    return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-style:%3;font-weight:%4;")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
        .arg(font.weight());
}

// ---------------------------------------------------------------- editing

void MemoAccessible::deleteText(int Start, int End) {
    replaceText(Start, End, QString());
}

void MemoAccessible::insertText(int Offset, const QString& Text) {
    replaceText(Offset, Offset, Text);
}

void MemoAccessible::replaceText(int Start, int End, const QString& Text) {
    if (Start > End) std::swap(Start, End);
    View()->UserReplace(PosOf(Doc(), Start), PosOf(Doc(), End), W(Text));
}
