#include "platform/GroupBoxes.h"

#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include "platform/CaptionText.h"
#include "platform/QtStrings.h"

TWinControl* FindFirstFocusable(TWinControl* Parent) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(Parent->Controls(i));
        if (!w) continue;
        if (w->TabStop && w->CanFocus() && w->FocusWidget()->focusPolicy() != Qt::NoFocus &&
            w->ControlCount() == 0)
            return w;
        if (TWinControl* inner = FindFirstFocusable(w)) return inner;
    }
    return nullptr;
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new QGroupBox) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetTextCore(const WideString& Value) {
    FText = Value;
    static_cast<QGroupBox*>(Widget())->setTitle(Q(Value));
}

void TGroupBox::AdjustClientRect(TRect& R) const {
    QFontMetrics fm(Widget()->font());
    R.Top += fm.height();
    R.Left += 2;
    R.Right -= 2;
    R.Bottom -= 2;
}

bool TGroupBox::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    if (TWinControl* first = FindFirstFocusable(this)) first->SetFocus();
    return true;
}
