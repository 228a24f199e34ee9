// Owner-data list views: a table model whose rows the list view's OnData fills as the
// view shows them, and the find that typed letters ask for a row.
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "platform/ListViews.h"
#include "platform/QtStrings.h"
#include "text/UCodeSysUtils.h"

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

// The view of an owner-data list: typed letters go to the list view's find, never
// through the rows one by one.
class TListView::DataView : public QTreeView {
public:
    explicit DataView(TListView* ListView) : FListView(ListView) {}
    void keyboardSearch(const QString& Search) override { FListView->TypedSearch(W(Search)); }

private:
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
    FTypedText.clear();
    FTypedFindPending = false; // a find still to run went with the old view
    if (Value) {
        auto* view = new DataView(this);
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

int TListView::OwnerDataFind(TItemFind Find, const WideString& FindString, int StartIndex,
                             bool Wrap) {
    int index = -1;
    if (OnDataFindW) {
        GuardedCall(this, [&] { OnDataFindW(this, Find, FindString, StartIndex, Wrap, index); });
    } else if (OnDataFind) {
        const AnsiString text = WideToAnsiCP(FindString, 0);
        GuardedCall(this, [&] { OnDataFind(this, Find, text, StartIndex, Wrap, index); });
    }
    return index >= 0 && index < FItems->Count() ? index : -1;
}

void TListView::TypedSearch(const WideString& Typed) {
    const auto now = std::chrono::steady_clock::now();
    if (now - FTypedAt > std::chrono::milliseconds(QApplication::keyboardInputInterval()))
        FTypedText.clear();
    FTypedAt = now;
    FTypedText += Typed;
    if (FTypedFindPending) return;
    FTypedFindPending = true;
    QTimer::singleShot(0, View(), [this] { FindTypedText(); });
}

void TListView::FindTypedText() {
    FTypedFindPending = false;
    const int count = FItems->Count();
    if (!OwnerData() || FTypedText.empty() || count == 0) return;
    // A text of one letter moves on from the focused row (typing it again walks the rows
    // that begin with it); a longer one may stay on that row.
    const int focused = View()->currentIndex().row();
    int start = focused < 0 ? 0 : FTypedText.size() == 1 ? focused + 1 : focused;
    if (start >= count) start = 0;
    const int row = OwnerDataFind(ifPartialString, FTypedText, start, true);
    if (row < 0) return;
    const QModelIndex index = FDataModel->index(row, 0);
    View()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    View()->scrollTo(index);
}
