// Standard controls: labels, static texts, edits, memos, combo boxes, buttons,
// check boxes, radio buttons, group boxes and scroll bars.
#pragma once

#include <memory>

#include "platform/Controls.h"
#include "platform/ItemStrings.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QAbstractButton;
class QPushButton;
class QGroupBox;
class QScrollBar;

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool Transparent = true;
    TWinControl* FocusControl = nullptr;
    // The text the label shows (hot-key marks removed when ShowAccelChar is on).
    WideString DisplayText() const;

protected:
    void WndProc(TMessage& Message) override;
    void SetTextCore(const WideString& Value) override;
    void FontChanged() override;
    void AdjustSize();
    void UpdateLabel();

private:
    QLabel* Label() const;
    bool FAutoSize = true;
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool ShowAccelChar = true;
    TWinControl* FocusControl = nullptr;

protected:
    void SetTextCore(const WideString& Value) override;
    void FontChanged() override;
    bool DialogChar(WideChar Key) override;
    void AdjustSize();

private:
    QLabel* Label() const;
    bool FAutoSize = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
    TAlignment FAlignment = taLeftJustify;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    // Positions and lengths in UTF-16 units.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    WideString SelText() const;
    void SetSelText(const WideString& Value);
    void SelectAll();
    void ClearSelection() { SetSelText(WideString()); }
    void Clear() { SetText(WideString()); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    WideChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(WideChar Value);
    bool Modified = false;
    bool AutoSelect = true;
    TNotifyEvent OnChange;

protected:
    bool HasOwnContextMenu() const override { return true; }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    WideString GetText() const override;
    // A single-line edit never holds a line break: CR and LF are dropped.
    void SetTextCore(const WideString& Value) override;
    virtual void Change();
    bool ClicksOnMouseUp() const override { return false; }

private:
    QLineEdit* Edit() const;
    int FMaxLength = 0;
    WideChar FPasswordChar = 0;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

// The lines of a memo. Count leaves out a final empty line, so an empty memo has
// none; lines come back whole whatever their length.
class TMemoStrings : public TUCodeStrings {
public:
    explicit TMemoStrings(TMemo* Memo) : FMemo(Memo) {}
    WideString Get(int Index) const override;
    int GetCount() const override;
    void Put(int Index, const WideString& S) override;
    void InsertObject(int Index, const WideString& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    WideString GetTextStr() const override;
    // Every line break (CR LF, CR, LF, U+2028) becomes CR LF.
    void SetTextStr(WideStringView Value) override;
    WideString operator[](int Index) const { return Get(Index); }

private:
    TMemo* FMemo;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    TMemoStrings& Lines() { return *FLines; }
    const TMemoStrings& Lines() const { return *FLines; }

    // Positions count CR LF as two units, as the text reads.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    WideString SelText() const;
    void SetSelText(const WideString& Value);
    void SelectAll();
    void Clear() { SetText(WideString()); }

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    int MaxLength = 0;
    // Tab moves the focus on unless the memo wants tabs.
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value);
    bool WantReturns = true;
    bool Modified = false;

    // The first line shown at the top, and scrolling by whole lines.
    int FirstVisibleLine() const;
    void ScrollLines(int Count);
    void ScrollCaret();

    // Line geometry of the text as the memo holds it (0-based; CR LF positions).
    int LineCount() const;
    int LineIndex(int Line) const;
    int LineLength(int Line) const;
    int LineFromChar(int Position) const;

    TNotifyEvent OnChange;

protected:
    bool HasOwnContextMenu() const override { return true; }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    void WndProc(TMessage& Message) override;
    WideString GetText() const override;
    void SetTextCore(const WideString& Value) override;
    virtual void Change();
    bool ClicksOnMouseUp() const override { return false; }

private:
    friend class TMemoStrings;
    QPlainTextEdit* Edit() const;
    int ToDocPos(int Pos) const;
    int FromDocPos(int DocPos) const;
    void ReplaceRange(int Start, int Length, const WideString& Text);
    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
};

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

class TButtonControl : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    WideString GetText() const override { return FText; }
    void SetTextCore(const WideString& Value) override;
    bool ClicksOnMouseUp() const override { return false; }
    QAbstractButton* Button() const;
    int FClicksDisabled = 0;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    void Click() override;
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel = false;
    int ModalResult = 0;

protected:
    TButton(TComponent* AOwner, QPushButton* Widget);
    bool DialogChar(WideChar Key) override;

private:
    void ConnectButton();
    bool FDefault = false;
};

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    TBitBtnKind Kind() const { return FKind; }
    // Gives the button the caption and modal result of its kind.
    void SetKind(TBitBtnKind Value);
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& Value);

private:
    TBitBtnKind FKind = bkCustom;
    TBitmap FGlyph;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    // Fires OnClick when the state changes.
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool AllowGrayed = false;
    // The look of a push button that stays down while checked.
    bool PushLike() const { return FPushLike; }
    void SetPushLike(bool Value);

protected:
    bool DialogChar(WideChar Key) override;

private:
    void ConnectButton();
    void StateFromWidget();
    TCheckBoxState FState = cbUnchecked;
    bool FPushLike = false;
};

// Radio buttons with the same parent form one group.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const;
    // Checking unchecks the others of the group and fires OnClick; unchecking by
    // code is allowed and leaves the whole group unchecked.
    void SetChecked(bool Value);

protected:
    bool DialogChar(WideChar Key) override;

private:
    void TurnSiblingsOff();
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    WideString GetText() const override { return FText; }
    void SetTextCore(const WideString& Value) override;
    void AdjustClientRect(TRect& Rect) const override;
    bool DialogChar(WideChar Key) override;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const;
    int Max() const;
    void SetMin(int Value);
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const;
    void SetSmallChange(int Value);
    int LargeChange() const;
    void SetLargeChange(int Value);
    int PageSize() const;
    void SetPageSize(int Value);
    TNotifyEvent OnChange;

private:
    QScrollBar* Bar() const;
    TScrollBarKind FKind = sbHorizontal;
};

// The first child window of the parent in creation order that can take the focus.
TWinControl* FindFirstFocusable(TWinControl* Parent);
