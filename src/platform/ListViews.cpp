#include "platform/ListViews.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/CanvasText.h"
#include "platform/FocusCues.h"
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

void TListColumn::WidenToShow(const WideString& Text) {
    // The list view pads a cell's text on both sides.
    constexpr int kCellPadding = 16;
    TCanvas canvas;
    canvas.Font().Assign(FOwner->Font());
    const int needed = WideCanvasTextWidth(canvas, Text) + kCellPadding;
    if (FWidth < needed) SetWidth(needed);
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
    if (FDataIndex >= 0) return ListView()->View()->selectionModel()->isRowSelected(FDataIndex);
    return FNode && FNode->isSelected();
}

void TListItem::SetSelected(bool Value) {
    if (FDataIndex >= 0) {
        if (Value && !ListView()->MultiSelect()) ListView()->ClearSelection();
        QTreeView* view = ListView()->View();
        view->selectionModel()->select(
            view->model()->index(FDataIndex, 0),
            (Value ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                QItemSelectionModel::Rows);
        return;
    }
    if (!FNode || FNode->isSelected() == Value) return;
    // A list without multi-selection holds one selected row at most.
    if (Value && !ListView()->MultiSelect()) ListView()->ClearSelection();
    FNode->setSelected(Value);
}

bool TListItem::Focused() const {
    if (FDataIndex >= 0) return ListView()->View()->currentIndex().row() == FDataIndex;
    return FNode && FNode->treeWidget()->currentItem() == FNode;
}

void TListItem::SetFocused(bool Value) {
    if (FDataIndex >= 0) {
        QTreeView* view = ListView()->View();
        QModelIndex index = Value ? view->model()->index(FDataIndex, 0) : QModelIndex();
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        return;
    }
    if (!FNode) return;
    QTreeWidget* tree = FNode->treeWidget();
    if (Value)
        tree->setCurrentItem(FNode, 0, QItemSelectionModel::NoUpdate);
    else if (tree->currentItem() == FNode)
        tree->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
}

int TListItem::Index() const {
    return FDataIndex >= 0 ? FDataIndex : FOwner->IndexOf(this);
}

void TListItem::Delete() {
    int i = Index();
    if (i >= 0) FOwner->Delete(i);
}

void TListItem::MakeVisible() {
    if (FDataIndex >= 0)
        ListView()->View()->scrollTo(ListView()->View()->model()->index(FDataIndex, 0));
    else if (FNode)
        FNode->treeWidget()->scrollToItem(FNode);
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

int TListItems::Count() const {
    return FOwner->OwnerData() ? FDataCount : int(FItems.size());
}

TListItem* TListItems::Item(int Index) const {
    if (FOwner->OwnerData()) {
        if (Index < 0 || Index >= FDataCount) throw std::out_of_range("list index out of bounds");
        return FOwner->DataItem(Index);
    }
    return FItems.at(size_t(Index)).get();
}

void TListItems::SetCount(int Value) {
    if (FOwner->OwnerData()) FOwner->SetDataCount(std::max(Value, 0));
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int Index) {
    if (FOwner->OwnerData()) throw Exception(std::string("An owner-data list holds no items"));
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
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
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
    if (FUpdateCount++ == 0) FOwner->View()->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) FOwner->View()->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------- list view

TListView::TListView(TComponent* AOwner)
    : TCustomListControl(AOwner, new QTreeWidget), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    ApplyViewSettings();
    SetBounds(0, 0, 250, 150);
}

// The view's look and behaviour (again after the view was replaced for owner data).
void TListView::ApplyViewSettings() {
    QTreeView* t = View();
    t->setRootIsDecorated(false);
    t->setItemsExpandable(false);
    t->setUniformRowHeights(true); // rows are never measured one by one
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setDragEnabled(true); // a press on a selected row keeps the selection for a drag
    t->setDragDropMode(QAbstractItemView::NoDragDrop);
    t->header()->setStretchLastSection(false);
    t->header()->setSectionsMovable(false);
    t->header()->setSectionsClickable(true);
    AdoptInputWidget(t->viewport());
    OutlineFocusOf(t);
    QObject::connect(t->header(), &QHeaderView::sectionClicked, t, [this](int section) {
        if (OnColumnClick && section < FColumns->Count()) {
            TListColumn* col = FColumns->Items(section);
            GuardedEvent(this, "OnColumnClick", [&] { OnColumnClick(this, col); });
        }
    });
    SetMultiSelect(FMultiSelect);
    SetRowSelect(FRowSelect);
    SetShowColumnHeaders(FShowColumnHeaders);
    if (FDelegate) t->setItemDelegate(FDelegate);
    if (QTreeWidget* tree = Tree()) {
        QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree,
                         [this] { SelectionChanged(); });
        QObject::connect(
            tree, &QTreeWidget::itemChanged, tree, [this](QTreeWidgetItem* node, int column) {
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
    }
    UpdateColumns();
    UpdateEditTriggers();
}

TListView::~TListView() {
    SetDestroyingFlag();
    FSelectionLock++;
    FItems.reset();
}

QTreeWidget* TListView::Tree() const {
    return qobject_cast<QTreeWidget*>(Widget());
}

QTreeView* TListView::View() const {
    return static_cast<QTreeView*>(Widget());
}

int TListView::ColumnCount() const {
    return std::max(FColumns->Count(), 1);
}

void TListView::UpdateColumns() {
    QTreeWidget* t = Tree();
    if (!t) {
        UpdateDataColumns();
        return;
    }
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
    View()->setEditTriggers(FReadOnly || OwnerData() ? QAbstractItemView::NoEditTriggers
                                                     : QAbstractItemView::EditKeyPressed);
}

void TListView::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    View()->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
}

void TListView::SetRowSelect(bool Value) {
    FRowSelect = Value;
    View()->setAllColumnsShowFocus(Value);
}

void TListView::SetReadOnly(bool Value) {
    FReadOnly = Value;
    UpdateEditTriggers();
}

void TListView::SetShowColumnHeaders(bool Value) {
    FShowColumnHeaders = Value;
    View()->setHeaderHidden(!Value);
}

void TListView::SetSmallImages(TImageList* Value) {
    if (FSmallImages == Value) return;
    if (FSmallImages) RemoveFreeNotification(FSmallImages);
    FSmallImages = Value;
    if (FSmallImages) {
        FreeNotification(FSmallImages);
        View()->setIconSize(QSize(FSmallImages->Width(), FSmallImages->Height()));
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
    if (FSelectionLock > 0 || Destroying() || OwnerData()) return;
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
    for (const auto& change : changes) {
        TListItem* const item = change.first;
        const bool selected = change.second;
        if (alive.expired() || FItems->IndexOf(item) < 0) break;
        GuardedCall(this, [&] { OnSelectItem(this, item, selected); });
    }
}

TListItem* TListView::Selected() const {
    std::vector<int> rows = SelectedRows();
    return rows.empty() ? nullptr : FItems->Item(rows.front());
}

std::vector<int> TListView::SelectedRows() const {
    std::vector<int> rows;
    if (OwnerData()) {
        for (const QModelIndex& index : View()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    for (size_t i = 0; i < FItems->FItems.size(); ++i)
        if (FItems->FItems[i]->Selected()) rows.push_back(int(i));
    return rows;
}

void TListView::SetSelected(TListItem* Item) {
    ClearSelection();
    if (Item) {
        Item->SetSelected(true);
        Item->SetFocused(true);
    }
}

int TListView::SelCount() const {
    return int(SelectedRows().size());
}

void TListView::SelectAll() {
    if (FMultiSelect)
        View()->selectAll();
    else if (FItems->Count() > 0)
        FItems->Item(0)->SetSelected(true);
}

void TListView::ClearSelection() {
    View()->clearSelection();
}

TListItem* TListView::ItemFocused() const {
    if (OwnerData()) {
        QModelIndex current = View()->currentIndex();
        return current.isValid() ? FItems->Item(current.row()) : nullptr;
    }
    QTreeWidgetItem* cur = Tree()->currentItem();
    for (auto& item : FItems->FItems)
        if (cur && item->FNode == cur) return item.get();
    return nullptr;
}

void TListView::SetItemFocused(TListItem* Item) {
    if (Item)
        Item->SetFocused(true);
    else
        View()->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

int TListView::ItemIndex() const {
    TListItem* f = ItemFocused();
    return f ? f->Index() : -1;
}

void TListView::SetItemIndex(int Value) {
    SetSelected(Value >= 0 && Value < FItems->Count() ? FItems->Item(Value) : nullptr);
}

TListItem* TListView::GetItemAt(int X, int Y) const {
    if (OwnerData()) {
        QModelIndex index = View()->indexAt(View()->viewport()->mapFrom(View(), QPoint(X, Y)));
        return index.isValid() ? FItems->Item(index.row()) : nullptr;
    }
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
    if (OwnerData() && (States & isSelected)) { // never walk a million rows
        for (int row : SelectedRows())
            if (row >= from && (!(States & isFocused) || View()->currentIndex().row() == row))
                return FItems->Item(row);
        return nullptr;
    }
    if (OwnerData() && (States & isFocused)) {
        int row = View()->currentIndex().row();
        return row >= from ? FItems->Item(row) : nullptr;
    }
    for (int i = from; i < FItems->Count(); ++i) {
        TListItem* item = FItems->Item(i);
        if ((States & isSelected) && !item->Selected()) continue;
        if ((States & isFocused) && !item->Focused()) continue;
        return item;
    }
    return nullptr;
}

TListItem* TListView::TopItem() const {
    if (OwnerData()) {
        QModelIndex index = View()->indexAt(QPoint(1, 1));
        return index.isValid() ? FItems->Item(index.row())
                               : (FItems->Count() ? FItems->Item(0) : nullptr);
    }
    QTreeWidgetItem* node = Tree()->itemAt(QPoint(1, 1));
    for (auto& item : FItems->FItems)
        if (node && item->FNode == node) return item.get();
    return FItems->Count() ? FItems->Item(0) : nullptr;
}

TListItem* TListView::FindCaption(int StartIndex, const WideString& Value, bool Partial,
                                  bool Inclusive, bool Wrap) {
    const int count = FItems->Count();
    int start = std::max(Inclusive ? StartIndex : StartIndex + 1, 0);
    if (start >= count) {
        if (!Wrap) return nullptr;
        start = 0;
    }
    if (count == 0) return nullptr;
    if (OwnerData()) {
        const int row =
            OwnerDataFind(Partial ? ifPartialString : ifExactString, Value, start, Wrap);
        return row < 0 ? nullptr : FItems->Item(row);
    }
    const WideString wanted = WideUpperCase(Value);
    const int rows = Wrap ? count : count - start;
    for (int n = 0; n < rows; ++n) {
        TListItem* item = FItems->FItems[size_t((start + n) % count)].get();
        const WideString caption = WideUpperCase(item->Caption());
        if (Partial ? caption.starts_with(wanted) : caption == wanted) return item;
    }
    return nullptr;
}

void TListView::CustomSort(intptr_t Data) {
    auto& items = FItems->FItems;
    if (items.size() < 2 || OwnerData()) return;
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
    ReorderItems(order);
}

void TListView::ReorderItems(const std::vector<TListItem*>& Order) {
    auto& items = FItems->FItems;
    if (Order.size() != items.size() || OwnerData()) return;
    const std::vector<TListItem*>& order = Order;
    QTreeWidget* t = Tree();
    TListItem* current = ItemFocused();
    std::vector<TListItem*> selected;
    for (TListItem* item : order)
        if (item->Selected()) selected.push_back(item);
    FSelectionLock++;
    {
        QSignalBlocker block(t);
        // Linear in the rows: each row's old place is known, and the tree gets all rows
        // back in one step.
        t->invisibleRootItem()->takeChildren();
        std::unordered_map<const TListItem*, size_t> place;
        place.reserve(items.size());
        for (size_t i = 0; i < items.size(); ++i)
            place.emplace(items[i].get(), i);
        std::vector<std::unique_ptr<TListItem>> sorted;
        sorted.reserve(items.size());
        QList<QTreeWidgetItem*> nodes;
        nodes.reserve(qsizetype(items.size()));
        for (TListItem* item : order) {
            auto at = place.find(item);
            if (at == place.end() || !items[at->second]) continue; // no row, or twice
            sorted.push_back(std::move(items[at->second]));
            nodes.append(item->FNode);
        }
        for (auto& rest : items) // rows the order left out keep their turn at the end
            if (rest) {
                nodes.append(rest->FNode);
                sorted.push_back(std::move(rest));
            }
        items = std::move(sorted);
        t->addTopLevelItems(nodes);
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
    for (int row : SelectedRows()) {
        TListItem* item = FItems->Item(row);
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
        View()->setItemDelegate(new QStyledItemDelegate(View()));
        FDelegate = nullptr; // the tree deletes the delegate it replaces
    } else {
        FDelegate = new OwnerDrawDelegate(
            this,
            [this](TCanvas& canvas, int row, const TRect& rect, TOwnerDrawState state) {
                if (row < 0 || row >= FItems->Count()) return;
                FItemCanvas.Drawing(canvas, [&] { DrawItem(FItems->Item(row), rect, state); });
            },
            View());
        FDelegate->WholeRows = true;
        View()->setItemDelegate(FDelegate);
    }
    View()->viewport()->update();
}

TCanvas& TListView::Canvas() {
    return FItemCanvas.Current();
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
    if (OnDragDrop) GuardedEvent(this, "OnDragDrop", [&] { OnDragDrop(this, Source, X, Y); });
}

bool TListView::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    RowsBeforeInput(Watched, Event);
    return DragInput(Watched, Event);
}

void TListView::RowsBeforeInput(QObject* Watched, QEvent* Event) {
    QTreeView* t = View();
    if (!t || Event->type() != QEvent::MouseButtonPress) return;
    auto* me = static_cast<QMouseEvent*>(Event);
    // A Windows list view drops its selection at once when the press is on no row (Qt does
    // it only on the release, after the click was handled).
    if (Watched == t->viewport() && me->button() == Qt::LeftButton &&
        !(me->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) &&
        !t->indexAt(me->position().toPoint()).isValid() && t->selectionModel())
        t->selectionModel()->clearSelection();
}

void TListView::DefaultHandler(TMessage& Message) {
    // The row with the frame (the one Qt made current when the focus came, or the last one
    // clicked before its selection went) is where the user stands: the first arrow key
    // selects it instead of stepping to its neighbour.
    const bool arrow = Message.WParam == VK_DOWN || Message.WParam == VK_UP;
    if (Message.Msg == WM_KEYDOWN && arrow && KeyShiftState() == 0 && SelectFramedRow()) return;
    TWinControl::DefaultHandler(Message);
}

bool TListView::SelectFramedRow() {
    QTreeView* t = View();
    QItemSelectionModel* selection = t ? t->selectionModel() : nullptr;
    if (!selection || selection->hasSelection() || !t->model() ||
        t->selectionMode() == QAbstractItemView::NoSelection)
        return false;
    QModelIndex row = t->currentIndex();
    if (!row.isValid()) row = t->model()->index(0, 0);
    if (!row.isValid()) return false;
    selection->setCurrentIndex(row,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    t->scrollTo(row);
    return true;
}

bool TListView::DragInput(QObject* Watched, QEvent* Event) {
    QTreeView* t = View();
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
