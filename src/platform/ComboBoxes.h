// Combo boxes and their item lists.
#pragma once

#include <memory>

#include "platform/Controls.h"
#include "platform/ItemStrings.h"

class QComboBox;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox;

// The items of a combo box. Changing them fires no event, and the box keeps the text
// it shows (also when the list is emptied).
class TComboBoxStrings : public TItemModelStrings {
public:
    explicit TComboBoxStrings(TComboBox* Box) : FBox(Box) {}
    void InsertObject(int Index, const WideString& S, void* AObject) override;

protected:
    QAbstractItemModel* Model() const override;
    bool Sorted() const override;
    void BeginChange() override;
    void EndChange() override;

private:
    TComboBox* FBox;
    WideString FKeptText;
};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TComboBoxStrings& Items() { return *FItems; }
    const TComboBoxStrings& Items() const { return *FItems; }
    int ItemIndex() const;
    // Selects the item; fires no OnChange.
    void SetItemIndex(int Value);
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    WideString SelText() const;
    bool Sorted = false;
    bool AutoComplete = true;
    bool AutoDropDown = false;
    bool AutoCloseUp = false;
    int DropDownCount() const;
    void SetDropDownCount(int Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    void Clear();

    TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;

protected:
    bool HasOwnContextMenu() const override { return HasEdit(); }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    WideString GetText() const override;
    // Setting the text fires no OnChange; a list-style box selects the item of that text.
    void SetTextCore(const WideString& Value) override;
    void KeyPress(WideChar& Key) override;
    virtual void Change();
    virtual void Select();
    bool ClicksOnMouseUp() const override { return false; }

private:
    friend class TComboBoxStrings;
    QComboBox* Box() const;
    bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
    void ConnectBox();
    // Key is the typed unit (set to 0 when consumed); Typed the whole character.
    void EditAutoComplete(WideChar& Key, const WideString& Typed);
    void ListAutoComplete(WideChar& Key, const WideString& Typed);
    void SelectItem(int Index, const WideString& Searched);
    std::unique_ptr<TComboBoxStrings> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FMaxLength = 0;
    int FInternal = 0;
    WideString FSearchText;
    WideChar FPendingHigh = 0; // the first half of a character outside the BMP
    uint64_t FLastKeyTick = 0;
};
