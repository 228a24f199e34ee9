#include "platform/Buttons.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/CaptionText.h"
#include "platform/Forms.h"
#include "platform/QtStrings.h"

// ---------------------------------------------------------------- buttons

QAbstractButton* TButtonControl::Button() const {
    return static_cast<QAbstractButton*>(Widget());
}

void TButtonControl::SetTextCore(const WideString& Value) {
    FText = Value;
    Button()->setText(Q(Value));
    // Hot keys are ours (CM_DIALOGCHAR), not Qt's mnemonic shortcuts.
    Button()->setShortcut(QKeySequence());
}

namespace {
// Windows takes a click anywhere in a tick box or radio button, also beside its text;
// Qt only on the box and the text.
template <class Base> class WholeAreaButton : public Base {
protected:
    bool hitButton(const QPoint& At) const override { return this->rect().contains(At); }
};
using CheckBoxWidget = WholeAreaButton<QCheckBox>;
} // namespace

TButton::TButton(TComponent* AOwner) : TButton(AOwner, new QPushButton) {}

TButton::TButton(TComponent* AOwner, QPushButton* Widget) : TButtonControl(AOwner, Widget) {
    Widget->setAutoDefault(false);
    SetBounds(0, 0, 75, 25);
    ConnectButton();
}

void TButton::ConnectButton() {
    QObject::connect(Button(), &QAbstractButton::clicked, [this] {
        if (!Destroying()) Click();
    });
}

void TButton::Click() {
    if (ModalResult != 0)
        if (TForm* f = ParentForm()) f->SetModalResult(ModalResult);
    TButtonControl::Click();
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    static_cast<QPushButton*>(Widget())->setDefault(Value);
}

bool TButton::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    Click();
    return true;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind Value) {
    struct KindInfo {
        const char16_t* caption;
        int result;
    };
    static const KindInfo kinds[] = {
        {u"", 0},
        {u"OK", mrOk},
        {u"Cancel", mrCancel},
        {u"&Help", 0},
        {u"&Yes", mrYes},
        {u"&No", mrNo},
        {u"&Close", 0},
        {u"Abort", mrAbort},
        {u"&Retry", mrRetry},
        {u"&Ignore", mrIgnore},
        {u"&All", mrAll},
    };
    FKind = Value;
    if (Value == bkCustom) return;
    SetCaption(kinds[Value].caption);
    ModalResult = kinds[Value].result;
    if (Value == bkOK) SetDefault(true);
    if (Value == bkCancel) Cancel = true;
}

void TBitBtn::SetGlyph(const TBitmap& Value) {
    FGlyph = Value;
    Button()->setIcon(Value.Empty() ? QIcon() : QIcon(QPixmap::fromImage(Value.ToImage())));
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner, new CheckBoxWidget) {
    SetBounds(0, 0, 97, 17);
    ConnectButton();
}

void TCheckBox::ConnectButton() {
    if (auto* cb = qobject_cast<QCheckBox*>(Widget())) {
        QObject::connect(cb, &QCheckBox::stateChanged, [this](int) { StateFromWidget(); });
    } else {
        QObject::connect(Button(), &QAbstractButton::toggled, [this](bool) { StateFromWidget(); });
    }
}

void TCheckBox::StateFromWidget() {
    if (Destroying()) return;
    TCheckBoxState s = cbUnchecked;
    if (auto* cb = qobject_cast<QCheckBox*>(Widget()))
        s = cb->checkState() == Qt::Checked            ? cbChecked
            : cb->checkState() == Qt::PartiallyChecked ? cbGrayed
                                                       : cbUnchecked;
    else
        s = Button()->isChecked() ? cbChecked : cbUnchecked;
    if (s == FState) return;
    FState = s;
    if (!FClicksDisabled) Click();
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState) return;
    FState = Value;
    ++FClicksDisabled;
    if (auto* cb = qobject_cast<QCheckBox*>(Widget())) {
        if (Value == cbGrayed) cb->setTristate(true);
        cb->setCheckState(Value == cbChecked  ? Qt::Checked
                          : Value == cbGrayed ? Qt::PartiallyChecked
                                              : Qt::Unchecked);
    } else {
        Button()->setChecked(Value == cbChecked);
    }
    --FClicksDisabled;
    Click();
}

void TCheckBox::SetPushLike(bool Value) {
    if (Value == FPushLike) return;
    FPushLike = Value;
    QAbstractButton* b = nullptr;
    if (Value) {
        auto* p = new QPushButton;
        p->setCheckable(true);
        p->setAutoDefault(false);
        b = p;
    } else {
        auto* c = new CheckBoxWidget;
        c->setTristate(AllowGrayed);
        b = c;
    }
    ++FClicksDisabled;
    RecreateWidget(b);
    SetTextCore(FText);
    if (auto* cb = qobject_cast<QCheckBox*>(Widget()))
        cb->setCheckState(FState == cbChecked  ? Qt::Checked
                          : FState == cbGrayed ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
    else
        Button()->setChecked(FState == cbChecked);
    ConnectButton();
    --FClicksDisabled;
}

bool TCheckBox::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    SetFocus();
    if (Focused()) SetChecked(!Checked());
    return true;
}

namespace {
// A radio button that a click only checks; the group is kept by its control, because
// Qt's automatic exclusivity reaches into nested containers.
class RadioWidget : public WholeAreaButton<QRadioButton> {
protected:
    void nextCheckState() override {
        if (!isChecked()) setChecked(true);
    }
};
} // namespace

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, new RadioWidget) {
    Button()->setAutoExclusive(false);
    SetBounds(0, 0, 113, 17);
    QObject::connect(Button(), &QAbstractButton::toggled, [this](bool on) {
        if (!on || Destroying()) return;
        TurnSiblingsOff();
        if (!FClicksDisabled) Click();
    });
}

void TRadioButton::TurnSiblingsOff() {
    TWinControl* p = Parent();
    if (!p) return;
    for (int i = 0; i < p->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this)
            r->SetChecked(false);
}

bool TRadioButton::Checked() const {
    return Button()->isChecked();
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == Checked()) return;
    Button()->setChecked(Value);
}

bool TRadioButton::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    SetFocus();
    SetChecked(true);
    return true;
}
