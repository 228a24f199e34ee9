// Push buttons, bitmap buttons, check boxes and radio buttons.
#pragma once

#include "platform/Controls.h"

class QAbstractButton;
class QPushButton;

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
