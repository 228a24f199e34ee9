// Item lists of list controls (combo boxes, list boxes): wide strings with attached
// objects, held in the control's Qt item model.
#pragma once

#include "text/UCodeClasses.h"

class QAbstractItemModel;

class TItemModelStrings : public TUCodeStrings {
public:
    WideString Get(int Index) const override;
    int GetCount() const override;
    void* GetObject(int Index) const override;
    void Put(int Index, const WideString& S) override;
    void PutObject(int Index, void* AObject) override;
    // With Sorted on, an item added at the end goes to its sorted place.
    void InsertObject(int Index, const WideString& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    WideString operator[](int Index) const { return Get(Index); }

protected:
    virtual QAbstractItemModel* Model() const = 0;
    virtual bool Sorted() const = 0;
    // Around every change: the control keeps what it shows and fires no events.
    virtual void BeginChange() {}
    virtual void EndChange() {}

private:
    void CheckIndex(int Index) const;
};
