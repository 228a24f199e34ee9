// Owner-data list views: a table model whose rows the list view's OnData fills as the
// view shows them.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTreeView>
#include <QTreeWidget>

#include "platform/ListViews.h"
#include "platform/QtStrings.h"

class TListView::DataModel : public QAbstractTableModel {
public:
    DataModel(TListView* ListView, QObject* Parent)
        : QAbstractTableModel(Parent), FListView(ListView) {}

    int rowCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : FListView->FItems->FDataCount;
    }
    int columnCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : FListView->ColumnCount();
    }
    QVariant data(const QModelIndex& Index, int Role) const override {
        if (!Index.isValid()) return QVariant();
        if (Role == Qt::TextAlignmentRole) return Alignment(Index.column());
        if (Role == Qt::DecorationRole && Index.column() == 0) {
            TImageList* images = FListView->FSmallImages;
            return images ? QVariant(images->Icon(Item(Index)->ImageIndex())) : QVariant();
        }
        if (Role != Qt::DisplayRole) return QVariant();
        TListItem* item = Item(Index);
        int column = Index.column();
        if (column == 0) return Q(item->Caption());
        return column - 1 < item->SubItems().Count() ? Q(item->SubItems().Get(column - 1))
                                                     : QString();
    }
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
        if (Orientation != Qt::Horizontal || Section >= FListView->FColumns->Count())
            return QVariant();
        if (Role == Qt::TextAlignmentRole) return Alignment(Section);
        if (Role == Qt::DisplayRole) return Q(FListView->FColumns->Items(Section)->Caption());
        return QVariant();
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }
    void HeaderChanged() {
        beginResetModel(); // the column count may have changed
        endResetModel();
    }

private:
    TListItem* Item(const QModelIndex& Index) const { return FListView->DataItem(Index.row()); }
    QVariant Alignment(int Column) const {
        TAlignment a = Column < FListView->FColumns->Count()
                           ? FListView->FColumns->Items(Column)->Alignment()
                           : taLeftJustify;
        Qt::Alignment h = a == taCenter         ? Qt::AlignHCenter
                          : a == taRightJustify ? Qt::AlignRight
                                                : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    TListView* FListView;
};

void TListView::SetOwnerData(bool Value) {
    if (Value == OwnerData()) return;
    bool ownerDraw = OwnerDraw();
    FDelegate = nullptr; // it goes with the old view
    FItems->Clear();
    FItems->FDataCount = 0;
    FDataItem.reset();
    FDataModel = nullptr;
    if (Value) {
        auto* view = new QTreeView;
        RecreateWidget(view);
        FDataModel = new DataModel(this, view);
        view->setModel(FDataModel);
    } else {
        RecreateWidget(new QTreeWidget);
    }
    ApplyViewSettings();
    if (ownerDraw) SetOwnerDraw(true);
}

void TListView::SetDataCount(int Value) {
    FItems->FDataCount = Value;
    FDataItem.reset();
    FDataModel->Reset();
}

void TListView::UpdateDataColumns() {
    if (!FDataModel) return;
    FDataItem.reset();
    FDataModel->HeaderChanged();
    for (int c = 0; c < FColumns->Count(); ++c)
        View()->header()->resizeSection(c, std::max(FColumns->Items(c)->Width(), 0));
}

TListItem* TListView::DataItem(int Index) {
    if (FDataItem && FDataItem->FDataIndex == Index) return FDataItem.get();
    if (!FDataItem) FDataItem = CreateListItem();
    TListItem* item = FDataItem.get();
    item->FDataIndex = Index;
    item->FCaption.clear();
    item->FSubItems.Clear();
    item->FImageIndex = -1;
    item->Data = nullptr;
    if (OnData) GuardedCall(this, [&] { OnData(this, item); });
    return item;
}
