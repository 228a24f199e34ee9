#include "platform/ItemStrings.h"

#include <QAbstractItemModel>

namespace {
constexpr int ObjectRole = Qt::UserRole;
}

void TItemModelStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

WideString TItemModelStrings::Get(int Index) const {
    CheckIndex(Index);
    QAbstractItemModel* m = Model();
    return m->data(m->index(Index, 0), Qt::DisplayRole).toString().toStdU16String();
}

int TItemModelStrings::GetCount() const {
    return Model()->rowCount();
}

void* TItemModelStrings::GetObject(int Index) const {
    CheckIndex(Index);
    QAbstractItemModel* m = Model();
    return reinterpret_cast<void*>(m->data(m->index(Index, 0), ObjectRole).value<quintptr>());
}

void TItemModelStrings::Put(int Index, const WideString& S) {
    CheckIndex(Index);
    BeginChange();
    QAbstractItemModel* m = Model();
    m->setData(m->index(Index, 0), QString::fromStdU16String(S), Qt::DisplayRole);
    EndChange();
}

void TItemModelStrings::PutObject(int Index, void* AObject) {
    CheckIndex(Index);
    QAbstractItemModel* m = Model();
    m->setData(m->index(Index, 0), QVariant::fromValue<quintptr>(quintptr(AObject)), ObjectRole);
}

void TItemModelStrings::InsertObject(int Index, const WideString& S, void* AObject) {
    int n = GetCount();
    if (Index < 0 || Index > n) IndexError(Index);
    if (Sorted() && Index == n) {
        Index = 0;
        while (Index < n && CompareStrings(Get(Index), S) <= 0)
            ++Index;
    }
    BeginChange();
    QAbstractItemModel* m = Model();
    m->insertRows(Index, 1);
    QModelIndex at = m->index(Index, 0);
    m->setData(at, QString::fromStdU16String(S), Qt::DisplayRole);
    m->setData(at, QVariant::fromValue<quintptr>(quintptr(AObject)), ObjectRole);
    EndChange();
}

void TItemModelStrings::Delete(int Index) {
    CheckIndex(Index);
    BeginChange();
    Model()->removeRows(Index, 1);
    EndChange();
}

void TItemModelStrings::Clear() {
    BeginChange();
    Model()->removeRows(0, GetCount());
    EndChange();
}
