#include "platform/ListBoxes.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>

#include "platform/FocusCues.h"

TListBox::TListBox(TComponent* AOwner)
    : TCustomListControl(AOwner, new QListWidget), FItems(std::make_unique<TListBoxStrings>(this)) {
    List()->setSelectionMode(QAbstractItemView::SingleSelection);
    List()->setUniformItemSizes(true);
    AdoptInputWidget(List()->viewport());
    OutlineFocusOf(List());
    InitColor(clWindow);
    SetBounds(0, 0, 121, 97);
    QObject::connect(List(), &QListWidget::currentRowChanged, [this](int) {
        if (!FInternal && !Destroying()) Click();
    });
    QObject::connect(List(), &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) {
        if (!Destroying()) DblClick();
    });
}

TListBox::~TListBox() = default;

QListWidget* TListBox::List() const {
    return static_cast<QListWidget*>(Widget());
}

int TListBox::ItemIndex() const {
    return List()->currentRow();
}

void TListBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= Count()) Value = -1;
    ++FInternal;
    if (FMultiSelect)
        List()->setCurrentRow(Value, QItemSelectionModel::NoUpdate);
    else
        List()->setCurrentRow(Value);
    --FInternal;
}

void TListBox::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    List()->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int Index) const {
    QListWidgetItem* it = List()->item(Index);
    return it && it->isSelected();
}

void TListBox::SetSelected(int Index, bool Value) {
    QListWidgetItem* it = List()->item(Index);
    if (!it) return;
    ++FInternal;
    it->setSelected(Value);
    --FInternal;
}

int TListBox::SelCount() const {
    return int(List()->selectedItems().size());
}

void TListBox::ClearSelection() {
    List()->clearSelection();
}

void TListBox::SelectAll() {
    if (FMultiSelect) List()->selectAll();
}

int TListBox::TopIndex() const {
    QListWidgetItem* it = List()->itemAt(1, 1);
    return it ? List()->row(it) : 0;
}

int TListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    QPoint p = List()->viewport()->mapFrom(List(), QPoint(Pos.X, Pos.Y));
    if (QListWidgetItem* it = List()->itemAt(p)) return List()->row(it);
    return Existing ? -1 : Count();
}

TRect TListBox::ItemRect(int Index) const {
    QListWidgetItem* it = List()->item(Index);
    if (!it) return TRect();
    QRect r = List()->visualItemRect(it);
    r.translate(List()->viewport()->mapTo(List(), QPoint(0, 0)));
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

bool TListBox::DragOver(int X, int Y) {
    bool accept = false;
    if (OnDragOver) GuardedCall(this, [&] { OnDragOver(this, this, X, Y, dsDragMove, accept); });
    return accept;
}

bool TListBox::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    if (Watched != List()->viewport()) return false;
    auto type = Event->type();
    // A press on a selected item keeps the selection for a drag (instead of starting a
    // selection sweep); the toolkit's own drag never starts, as the moves go to OnDragOver.
    if (type == QEvent::MouseButtonPress) List()->setDragEnabled(DragMode == dmAutomatic);
    if (DragMode != dmAutomatic) return false;
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* me = static_cast<QMouseEvent*>(Event);
    QPoint p = List()->viewport()->mapTo(List(), me->position().toPoint());
    if (type == QEvent::MouseButtonPress) {
        FPressed = me->button() == Qt::LeftButton && ItemAtPos(Point(p.x(), p.y()), true) >= 0;
        FPressPos = p;
        FDragging = false;
        return false;
    }
    if (type == QEvent::MouseMove) {
        if (!FPressed || !(me->buttons() & Qt::LeftButton)) return false;
        if (!FDragging && (p - FPressPos).manhattanLength() >= QApplication::startDragDistance())
            FDragging = true;
        if (FDragging) {
            bool accept = List()->rect().contains(p) && DragOver(p.x(), p.y());
            List()->viewport()->setCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        }
        return FDragging; // the press does not turn into a selection sweep
    }
    bool wasDragging = FDragging;
    FPressed = false;
    FDragging = false;
    if (!wasDragging) return false;
    List()->viewport()->unsetCursor();
    if (List()->rect().contains(p) && DragOver(p.x(), p.y()) && OnDragDrop)
        GuardedCall(this, [&] { OnDragDrop(this, this, p.x(), p.y()); });
    return true;
}

QAbstractItemModel* TListBoxStrings::Model() const {
    return FBox->List()->model();
}

bool TListBoxStrings::Sorted() const {
    return FBox->Sorted;
}

void TListBoxStrings::BeginChange() {
    ++FBox->FInternal;
}

void TListBoxStrings::EndChange() {
    --FBox->FInternal;
}

void TListBox::AddItem(const WideString& Item, void* AObject) {
    FItems->AddObject(Item, AObject);
}

void TListBox::CopySelection(TCustomListControl* Destination) {
    for (int i = 0; i < Count(); ++i)
        if (Selected(i) || (!FMultiSelect && i == ItemIndex()))
            UCodeListControl_AddItem(Destination, FItems->Get(i), FItems->GetObject(i));
}
