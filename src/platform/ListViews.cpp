#include "platform/ListViews.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>

#include "platform/QtStrings.h"
#include "text/UCodeSysUtils.h"

namespace {

Qt::Alignment QtHAlign(TAlignment A) {
    return (A == taCenter         ? Qt::AlignHCenter
            : A == taRightJustify ? Qt::AlignRight
                                  : Qt::AlignLeft) |
           Qt::AlignVCenter;
}

} // namespace

// ---------------------------------------------------------------- columns

void TListColumn::SetCaption(const WideString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    FOwner->UpdateColumns();
}

void TListColumn::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    FOwner->UpdateColumns();
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    FOwner->UpdateColumns();
}

int TListColumn::Index() const {
    const auto& cols = FOwner->Columns().FColumns;
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].get() == this) return int(i);
    return -1;
}

void TListColumn::Assign(const TListColumn& Source) {
    FCaption = Source.FCaption;
    FWidth = Source.FWidth;
    FAlignment = Source.FAlignment;
    FOwner->UpdateColumns();
}

TListColumn* TListColumns::Add() {
    FColumns.push_back(std::unique_ptr<TListColumn>(new TListColumn(FOwner)));
    FOwner->UpdateColumns();
    return FColumns.back().get();
}

void TListColumns::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FColumns.erase(FColumns.begin() + Index);
    FOwner->UpdateColumns();
}

void TListColumns::Clear() {
    FColumns.clear();
    FOwner->UpdateColumns();
}

// ---------------------------------------------------------------- items

TListItem::TListItem(TListItems* Owner) : FOwner(Owner) {
    FSubItems.OnChange = [this](TUCodeStringList&) { UpdateNode(); };
}

TListItem::~TListItem() {
    FSubItems.OnChange = nullptr;
}

TListView* TListItem::ListView() const {
    return FOwner->Owner();
}

void TListItem::SetCaption(const WideString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    UpdateNode();
}

void TListItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    UpdateNode();
}

void TListItem::UpdateNode() {
    if (!FNode) return;
    TListView* lv = ListView();
    QSignalBlocker block(lv->Tree());
    int columns = lv->ColumnCount();
    for (int c = 0; c < columns; ++c) {
        WideString text;
        if (c == 0)
            text = FCaption;
        else if (c - 1 < FSubItems.Count())
            text = FSubItems.Get(c - 1);
        FNode->setText(c, Q(text));
        if (c < lv->Columns().Count())
            FNode->setTextAlignment(c, QtHAlign(lv->Columns()[c]->Alignment()));
    }
    FNode->setIcon(0, lv->FSmallImages ? lv->FSmallImages->Icon(FImageIndex) : QIcon());
}

bool TListItem::Selected() const {
    return FNode && FNode->isSelected();
}

void TListItem::SetSelected(bool Value) {
    if (!FNode || FNode->isSelected() == Value) return;
    // A list without multi-selection holds one selected row at most.
    if (Value && !ListView()->MultiSelect()) ListView()->ClearSelection();
    FNode->setSelected(Value);
}

bool TListItem::Focused() const {
    return FNode && FNode->treeWidget()->currentItem() == FNode;
}

void TListItem::SetFocused(bool Value) {
    if (!FNode) return;
    QTreeWidget* tree = FNode->treeWidget();
    if (Value)
        tree->setCurrentItem(FNode, 0, QItemSelectionModel::NoUpdate);
    else if (tree->currentItem() == FNode)
        tree->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
}

int TListItem::Index() const {
    return FOwner->IndexOf(this);
}

void TListItem::Delete() {
    int i = Index();
    if (i >= 0) FOwner->Delete(i);
}

void TListItem::MakeVisible() {
    if (FNode) FNode->treeWidget()->scrollToItem(FNode);
}

void TListItem::Assign(const TListItem& Source) {
    if (&Source == this) return;
    FCaption = Source.FCaption;
    Data = Source.Data;
    FImageIndex = Source.FImageIndex;
    StateIndex = Source.StateIndex;
    OverlayIndex = Source.OverlayIndex;
    Indent = Source.Indent;
    Checked = Source.Checked;
    FSubItems.BeginUpdate();
    FSubItems.Clear();
    for (int i = 0; i < Source.FSubItems.Count(); ++i)
        FSubItems.AddObject(Source.FSubItems.Get(i), Source.FSubItems.GetObject(i));
    FSubItems.EndUpdate();
    UpdateNode();
}

TListItems::~TListItems() {
    FOwner->FSelectionLock++;
    FItems.clear();
    FOwner->FSelectionLock--;
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    std::unique_ptr<TListItem> item = FOwner->CreateListItem();
    item->FNode = new QTreeWidgetItem;
    item->FNode->setFlags(item->FNode->flags() | Qt::ItemIsEditable);
    TListItem* result = item.get();
    FItems.insert(FItems.begin() + Index, std::move(item));
    FOwner->FSelectionLock++;
    FOwner->Tree()->insertTopLevelItem(Index, result->FNode);
    FOwner->FSelectionLock--;
    result->UpdateNode();
    return result;
}

void TListItems::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    std::unique_ptr<TListItem> item = std::move(FItems[size_t(Index)]);
    FItems.erase(FItems.begin() + Index);
    FOwner->FSelectionLock++;
    delete item->FNode;
    item->FNode = nullptr;
    FOwner->FSelectionLock--;
}

void TListItems::Clear() {
    if (FItems.empty()) return;
    FOwner->FSelectionLock++;
    FOwner->Tree()->clear();
    for (auto& item : FItems)
        item->FNode = nullptr;
    FItems.clear();
    FOwner->FSelectionLock--;
}

int TListItems::IndexOf(const TListItem* Item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item) return int(i);
    return -1;
}

void TListItems::BeginUpdate() {
    if (FUpdateCount++ == 0) FOwner->Tree()->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) FOwner->Tree()->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------- list view

TListView::TListView(TComponent* AOwner)
    : TCustomListControl(AOwner, new QTreeWidget), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    QTreeWidget* t = Tree();
    t->setRootIsDecorated(false);
    t->setItemsExpandable(false);
    t->setUniformRowHeights(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setDragEnabled(true); // a press on a selected row keeps the selection for a drag
    t->setDragDropMode(QAbstractItemView::NoDragDrop);
    t->header()->setStretchLastSection(false);
    t->header()->setSectionsMovable(false);
    t->header()->setSectionsClickable(true);
    AdoptInputWidget(t->viewport());
    QObject::connect(t, &QTreeWidget::itemSelectionChanged, t, [this] { SelectionChanged(); });
    QObject::connect(t->header(), &QHeaderView::sectionClicked, t, [this](int section) {
        if (OnColumnClick && section < FColumns->Count()) {
            TListColumn* col = FColumns->Items(section);
            GuardedCall(this, [&] { OnColumnClick(this, col); });
        }
    });
    QObject::connect(t, &QTreeWidget::itemChanged, t, [this](QTreeWidgetItem* node, int column) {
        if (column != 0) return;
        for (auto& item : FItems->FItems)
            if (item->FNode == node) {
                WideString text = node->text(0).toStdU16String();
                TListItem* edited = item.get();
                if (OnEdited) GuardedCall(this, [&] { OnEdited(this, edited, text); });
                edited->FCaption.clear(); // the node shows the edited text: write it again
                edited->SetCaption(text);
                return;
            }
    });
    UpdateColumns();
    UpdateEditTriggers();
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
    SetDestroyingFlag();
    FSelectionLock++;
    FItems.reset();
}

QTreeWidget* TListView::Tree() const {
    return static_cast<QTreeWidget*>(Widget());
}

int TListView::ColumnCount() const {
    return std::max(FColumns->Count(), 1);
}

void TListView::UpdateColumns() {
    QTreeWidget* t = Tree();
    if (!t) return;
    int n = ColumnCount();
    t->setColumnCount(n);
    QStringList labels;
    for (int c = 0; c < n; ++c)
        labels << (c < FColumns->Count() ? Q(FColumns->Items(c)->Caption()) : QString());
    t->setHeaderLabels(labels);
    for (int c = 0; c < FColumns->Count(); ++c) {
        const TListColumn* col = FColumns->Items(c);
        t->header()->resizeSection(c, std::max(col->Width(), 0));
        t->headerItem()->setTextAlignment(c, QtHAlign(col->Alignment()));
    }
    if (FItems)
        for (auto& item : FItems->FItems)
            item->UpdateNode();
}

void TListView::UpdateEditTriggers() {
    Tree()->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                      : QAbstractItemView::EditKeyPressed);
}

void TListView::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    Tree()->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
}

void TListView::SetRowSelect(bool Value) {
    FRowSelect = Value;
    Tree()->setAllColumnsShowFocus(Value);
}

void TListView::SetReadOnly(bool Value) {
    FReadOnly = Value;
    UpdateEditTriggers();
}

void TListView::SetShowColumnHeaders(bool Value) {
    FShowColumnHeaders = Value;
    Tree()->setHeaderHidden(!Value);
}

void TListView::SetSmallImages(TImageList* Value) {
    if (FSmallImages == Value) return;
    if (FSmallImages) RemoveFreeNotification(FSmallImages);
    FSmallImages = Value;
    if (FSmallImages) {
        FreeNotification(FSmallImages);
        Tree()->setIconSize(QSize(FSmallImages->Width(), FSmallImages->Height()));
    }
    UpdateIcons();
}

void TListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FSmallImages) {
        FSmallImages = nullptr;
        if (!Destroying()) UpdateIcons();
    }
}

void TListView::UpdateIcons() {
    for (auto& item : FItems->FItems)
        item->UpdateNode();
}

void TListView::SelectionChanged() {
    if (FSelectionLock > 0 || Destroying()) return;
    // Collect first: a handler may change the list.
    std::vector<std::pair<TListItem*, bool>> changes;
    for (auto& item : FItems->FItems) {
        bool now = item->Selected();
        if (now != item->FLastSelected) {
            item->FLastSelected = now;
            changes.emplace_back(item.get(), now);
        }
    }
    if (!OnSelectItem) return;
    std::weak_ptr<int> alive = AliveToken();
    for (auto& [item, selected] : changes) {
        if (alive.expired() || FItems->IndexOf(item) < 0) break;
        GuardedCall(this, [&] { OnSelectItem(this, item, selected); });
    }
}

TListItem* TListView::Selected() const {
    for (auto& item : FItems->FItems)
        if (item->Selected()) return item.get();
    return nullptr;
}

void TListView::SetSelected(TListItem* Item) {
    ClearSelection();
    if (Item) {
        Item->SetSelected(true);
        Item->SetFocused(true);
    }
}

int TListView::SelCount() const {
    return int(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                             [](const auto& item) { return item->Selected(); }));
}

void TListView::SelectAll() {
    if (FMultiSelect)
        Tree()->selectAll();
    else if (FItems->Count() > 0)
        FItems->Item(0)->SetSelected(true);
}

void TListView::ClearSelection() {
    Tree()->clearSelection();
}

TListItem* TListView::ItemFocused() const {
    QTreeWidgetItem* cur = Tree()->currentItem();
    for (auto& item : FItems->FItems)
        if (cur && item->FNode == cur) return item.get();
    return nullptr;
}

void TListView::SetItemFocused(TListItem* Item) {
    if (Item)
        Item->SetFocused(true);
    else
        Tree()->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
}

int TListView::ItemIndex() const {
    TListItem* f = ItemFocused();
    return f ? f->Index() : -1;
}

void TListView::SetItemIndex(int Value) {
    SetSelected(Value >= 0 && Value < FItems->Count() ? FItems->Item(Value) : nullptr);
}

TListItem* TListView::GetItemAt(int X, int Y) const {
    QTreeWidget* t = Tree();
    QPoint p = t->viewport()->mapFrom(t, QPoint(X, Y));
    QTreeWidgetItem* node = t->itemAt(p);
    if (!node) return nullptr;
    for (auto& item : FItems->FItems)
        if (item->FNode == node) return item.get();
    return nullptr;
}

TListItem* TListView::GetNextItem(TListItem* Start, TSearchDirection Direction,
                                  unsigned States) const {
    (void)Direction; // report style: every direction walks the rows downwards
    int from = Start ? Start->Index() + 1 : 0;
    for (int i = from; i < FItems->Count(); ++i) {
        TListItem* item = FItems->Item(i);
        if ((States & isSelected) && !item->Selected()) continue;
        if ((States & isFocused) && !item->Focused()) continue;
        return item;
    }
    return nullptr;
}

TListItem* TListView::TopItem() const {
    QTreeWidgetItem* node = Tree()->itemAt(QPoint(1, 1));
    for (auto& item : FItems->FItems)
        if (node && item->FNode == node) return item.get();
    return FItems->Count() ? FItems->Item(0) : nullptr;
}

void TListView::CustomSort(intptr_t Data) {
    auto& items = FItems->FItems;
    if (items.size() < 2) return;
    std::vector<TListItem*> order;
    for (auto& item : items)
        order.push_back(item.get());
    auto compare = [&](TListItem* a, TListItem* b) {
        int r = 0;
        if (OnCompare)
            OnCompare(this, a, b, Data, r);
        else
            r = QString::localeAwareCompare(Q(a->Caption()), Q(b->Caption()));
        return r < 0;
    };
    bool failed = false;
    GuardedCall(this, [&] {
        try {
            std::stable_sort(order.begin(), order.end(), compare);
        } catch (...) {
            failed = true;
            throw;
        }
    });
    if (failed) return;

    QTreeWidget* t = Tree();
    TListItem* current = ItemFocused();
    std::vector<TListItem*> selected;
    for (TListItem* item : order)
        if (item->Selected()) selected.push_back(item);
    FSelectionLock++;
    {
        QSignalBlocker block(t);
        while (t->topLevelItemCount() > 0)
            t->takeTopLevelItem(t->topLevelItemCount() - 1);
        std::vector<std::unique_ptr<TListItem>> sorted;
        for (TListItem* item : order) {
            auto it = std::find_if(items.begin(), items.end(),
                                   [item](const auto& p) { return p.get() == item; });
            sorted.push_back(std::move(*it));
        }
        items = std::move(sorted);
        for (auto& item : items)
            t->addTopLevelItem(item->FNode);
        for (TListItem* item : selected)
            item->FNode->setSelected(true);
        if (current) t->setCurrentItem(current->FNode, 0, QItemSelectionModel::NoUpdate);
    }
    FSelectionLock--;
}

void TListView::MoveSelectedItems(TListItem* Target) {
    if (Target && Target->Selected()) return; // the drop row is one of the dragged rows
    std::vector<TListItem*> moving;
    for (auto& item : FItems->FItems)
        if (item->Selected()) moving.push_back(item.get());
    if (moving.empty()) return;
    TListItems::TUpdate update(*FItems);
    std::vector<TListItem*> moved;
    for (TListItem* source : moving) {
        int at = Target ? Target->Index() : FItems->Count();
        TListItem* copy = FItems->Insert(at);
        copy->Assign(*source);
        source->Delete();
        moved.push_back(copy);
    }
    for (TListItem* item : moved)
        item->SetSelected(true);
}

void TListView::AddItem(const WideString& Caption, void* Data) {
    TListItem* item = FItems->Add();
    item->SetCaption(Caption);
    item->Data = Data;
}

void TListView::CopySelection(TCustomListControl* Destination) {
    auto* list = dynamic_cast<TListView*>(Destination);
    for (int i = 0; i < FItems->Count(); ++i) {
        TListItem* item = FItems->Item(i);
        if (!item->Selected()) continue;
        if (list)
            list->Items().Add()->Assign(*item);
        else
            UCodeListControl_AddItem(Destination, item->Caption(), item->Data);
    }
}

std::unique_ptr<TListItem> TListView::CreateListItem() {
    TListItemClass itemClass = [](TListItems* Owner) -> TObject* { return new TListItem(Owner); };
    if (OnCreateItemClass) OnCreateItemClass(this, itemClass);
    std::unique_ptr<TObject> made(itemClass(FItems.get()));
    auto* item = dynamic_cast<TListItem*>(made.get());
    if (!item)
        throw EUCodeInternalError(
            "Internal Error: OnCreateItemClass.ItemClass must inherit from TUCodeListItem.");
    made.release();
    return std::unique_ptr<TListItem>(item);
}

void TListView::SetOwnerDraw(bool Value) {
    if (Value == OwnerDraw()) return;
    if (!Value) {
        Tree()->setItemDelegate(new QStyledItemDelegate(Tree()));
        FDelegate = nullptr; // the tree deletes the delegate it replaces
    } else {
        FDelegate = new OwnerDrawDelegate(
            this,
            [this](TCanvas& canvas, int row, const TRect& rect, TOwnerDrawState state) {
                if (row < 0 || row >= FItems->Count()) return;
                FItemCanvas = &canvas;
                struct Done {
                    TCanvas*& Canvas;
                    ~Done() { Canvas = nullptr; }
                } done{FItemCanvas};
                DrawItem(FItems->Item(row), rect, state);
            },
            Tree());
        FDelegate->WholeRows = true;
        Tree()->setItemDelegate(FDelegate);
    }
    Tree()->viewport()->update();
}

TCanvas& TListView::Canvas() {
    static TCanvas idle; // outside drawing: a canvas without a bitmap draws nothing
    return FItemCanvas ? *FItemCanvas : idle;
}

void TListView::DrawItem(TListItem* Item, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem)
        OnDrawItem(this, Item, Rect, State);
    else
        DrawItemText(Canvas(), Rect, Item->Caption());
}

bool TListView::DragOver(TObject* Source, int X, int Y) {
    bool accept = Source == this;
    if (OnDragOver) {
        accept = false;
        GuardedCall(this, [&] { OnDragOver(this, Source, X, Y, dsDragMove, accept); });
    }
    return accept;
}

void TListView::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) GuardedCall(this, [&] { OnDragDrop(this, Source, X, Y); });
}

bool TListView::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    QTreeWidget* t = Tree();
    if (DragMode != dmAutomatic || !t || Watched != t->viewport()) return false;
    QEvent::Type type = Event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* me = static_cast<QMouseEvent*>(Event);
    switch (type) {
    case QEvent::MouseButtonPress: {
        QPoint p = t->viewport()->mapTo(t, me->position().toPoint());
        FPressed = me->button() == Qt::LeftButton && GetItemAt(p.x(), p.y());
        FPressPos = Point(p.x(), p.y());
        FDragging = false;
        return false;
    }
    case QEvent::MouseMove: {
        if (!FPressed || !(me->buttons() & Qt::LeftButton)) return false;
        QPoint p = t->viewport()->mapTo(t, me->position().toPoint());
        if (!FDragging && (QPoint(p.x() - FPressPos.X, p.y() - FPressPos.Y)).manhattanLength() >=
                              QApplication::startDragDistance())
            FDragging = true;
        if (FDragging) {
            TControl* target = FindDragTarget(
                Point(me->globalPosition().toPoint().x(), me->globalPosition().toPoint().y()));
            bool accept = target == this && DragOver(this, p.x(), p.y());
            t->viewport()->setCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        }
        return FDragging; // Qt's own drag never starts
    }
    case QEvent::MouseButtonRelease: {
        bool wasDragging = FDragging;
        FPressed = false;
        FDragging = false;
        if (!wasDragging) return false;
        t->viewport()->unsetCursor();
        QPoint p = t->viewport()->mapTo(t, me->position().toPoint());
        bool inside = t->rect().contains(p);
        if (inside && DragOver(this, p.x(), p.y())) DragDrop(this, p.x(), p.y());
        return true;
    }
    default:
        return false;
    }
}
