// Combo boxes and their item lists.
#pragma once

#include <memory>

#include "platform/ItemStrings.h"
#include "platform/ListControls.h"
#include "platform/OwnerDraw.h"

class QComboBox;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

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

class TComboBox : public TCustomListControl {
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
    void AddItem(const WideString& Item, void* AObject) override;
    // Adds the selected item, with its object, to Destination.
    void CopySelection(TCustomListControl* Destination) override;

    // Owner-drawn styles: the height of an item, and the canvas an item is drawn on
    // (only while OnDrawItem runs).
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    TCanvas& Canvas();

    TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
    // Draws an item of an owner-drawn box (in the list, and the selected one in the
    // closed box with odComboBoxEdit); without it the item's text is drawn.
    TDrawItemEvent OnDrawItem;

protected:
    bool HasOwnContextMenu() const override { return HasEdit(); }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    WideString GetText() const override;
    // Setting the text fires no OnChange; a list-style box selects the item of that text.
    void SetTextCore(const WideString& Value) override;
    void KeyPress(WideChar& Key) override;
    virtual void Change();
    virtual void Select();
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    friend class TComboBoxStrings;
    QComboBox* Box() const;
    bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
    bool OwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    void UpdateItemDrawing();
    void ShowTextStart();
    void LeaveTextStart(Qt::FocusReason Reason);
    void DrawItemOn(TCanvas& Canvas, int Index, const TRect& Rect, TOwnerDrawState State);
    OwnerDrawDelegate* FDelegate = nullptr;
    TOwnerDrawCanvas FItemCanvas;
    int FItemHeight = 16;
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
