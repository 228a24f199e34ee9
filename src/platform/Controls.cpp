#include "platform/Controls.h"

#include <QContextMenuEvent>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/CaptionText.h"

#include "platform/Menus.h"

// ---------------------------------------------------------------- services

TControlServices& ControlServices() {
    static TControlServices services;
    return services;
}

WideString GetHintOfParents(const TControl* Control) {
    for (const TControl* c = Control; c; c = c->Parent())
        if (!c->Hint().empty()) return c->Hint();
    return WideString();
}

// ---------------------------------------------------------------- Qt bridge

namespace {
const char* const kControlProperty = "quorbelControl";
} // namespace

// Routes the events of every control widget to its control.
class ControlBridge : public QObject {
public:
    static ControlBridge* Instance() {
        static ControlBridge* bridge = new ControlBridge;
        return bridge;
    }
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType()) return false;
        TControl* c = TControl::FromWidget(static_cast<QWidget*>(Watched));
        if (!c || c->Destroying()) return false;
        // Nothing may be thrown through Qt: what a handler did not catch is shown.
        bool eaten = false;
        GuardedCall(c, [&] { eaten = c->HandleQtEvent(Watched, Event); });
        return eaten;
    }
};

TPoint MouseCursorPos() {
    QPoint p = QCursor::pos();
    return Point(p.x(), p.y());
}

TControl* FindDragTarget(TPoint ScreenPos) {
    QWidget* w = QApplication::widgetAt(ScreenPos.X, ScreenPos.Y);
    return w ? TControl::FromWidget(w) : nullptr;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner, QWidget* Widget)
    : TMessageTarget(AOwner), FWidget(Widget), FFont(std::make_unique<TFont>()) {
    FWidget->setProperty(kControlProperty, QVariant::fromValue<quintptr>(quintptr(this)));
    FWidget->installEventFilter(ControlBridge::Instance());
    FWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    FWidth = std::max(FWidget->width(), 0);
    FHeight = std::max(FWidget->height(), 0);
    FWidget->setFont(FFont->ToQFont());
    FFont->OnChange = [this] {
        if (!FUpdatingFont) FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    SetDestroyingFlag();
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
    if (QWidget* w = FWidget.data()) {
        // Only the control's own connections (made in the widget's context) go: Qt's (the
        // accessibility layer's note of the widget) must see the widget destroyed.
        QObject::disconnect(w, nullptr, w, nullptr);
        w->removeEventFilter(ControlBridge::Instance());
        w->setProperty(kControlProperty, QVariant());
        FWidget.clear();
        delete w;
    }
}

void TControl::BeforeDestruction() {
    TMessageTarget::BeforeDestruction();
}

TControl* TControl::FromWidget(const QWidget* Widget) {
    for (const QWidget* w = Widget; w; w = w->parentWidget()) {
        QVariant v = w->property(kControlProperty);
        if (v.isValid()) return reinterpret_cast<TControl*>(v.value<quintptr>());
    }
    return nullptr;
}

void TControl::AdoptInputWidget(QWidget* W) {
    if (!W) return;
    W->setProperty(kControlProperty, QVariant::fromValue<quintptr>(quintptr(this)));
    W->installEventFilter(ControlBridge::Instance());
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EComponentError("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    FParent = AParent;
    if (FWidget) {
        FWidget->setParent(AParent ? AParent->ClientWidget() : nullptr);
        UpdateWidgetGeometry();
    }
    if (AParent) {
        AParent->InsertControl(this);
        UpdateParentFont();
        UpdateParentColor();
        ApplyEnabled();
        RememberAnchors();
    }
    ApplyVisibility();
    if (AParent && (FAlign != alNone)) AParent->Realign();
}

void TControl::ApplyVisibility() {
    if (!FWidget) return;
    if (FParent)
        FWidget->setVisible(FVisible);
    else
        FWidget->setVisible(false);
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    ApplyVisibility();
    if (FParent && (FAlign != alNone)) FParent->Realign();
    Perform(CM_VISIBLECHANGED, Value);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    ApplyEnabled();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::ApplyEnabled() {
    // The widget is usable only when the control and all its parents are enabled;
    // the flag itself stays the control's own.
    bool effective = true;
    for (const TControl* c = this; c; c = c->Parent())
        effective = effective && c->Enabled();
    if (FWidget) FWidget->setEnabled(effective);
}

void TControl::Constrain(int& AWidth, int& AHeight) const {
    if (FConstraints.MaxWidth > 0) AWidth = std::min(AWidth, FConstraints.MaxWidth);
    if (FConstraints.MaxHeight > 0) AHeight = std::min(AHeight, FConstraints.MaxHeight);
    AWidth = std::max(AWidth, FConstraints.MinWidth);
    AHeight = std::max(AHeight, FConstraints.MinHeight);
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    SetBoundsCore(ALeft, ATop, AWidth, AHeight, false);
}

void TControl::SetBoundsCore(int ALeft, int ATop, int AWidth, int AHeight, bool FromAlign) {
    Constrain(AWidth, AHeight);
    bool moved = ALeft != FLeft || ATop != FTop;
    bool resized = AWidth != FWidth || AHeight != FHeight;
    if (!moved && !resized) return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateWidgetGeometry();
    if (!FromAlign) {
        RememberAnchors();
        if (FParent && FAlign != alNone) FParent->Realign();
    }
    if (resized) Resize();
}

void TControl::UpdateWidgetGeometry() {
    if (FWidget && FParent)
        FWidget->setGeometry(FLeft, FTop + FParent->ClientTopOffset(), FWidth, FHeight);
}

void TControl::RememberAnchors() {
    if (!FParent) return;
    FAnchorRight = FParent->ClientWidth() - (FLeft + FWidth);
    FAnchorBottom = FParent->ClientHeight() - (FTop + FHeight);
}

TPoint TControl::ClientToScreen(TPoint P) const {
    if (!FWidget) return P;
    QPoint g = FWidget->mapToGlobal(QPoint(P.X, P.Y + ClientTopOffset()));
    return Point(g.x(), g.y());
}

TPoint TControl::ScreenToClient(TPoint P) const {
    if (!FWidget) return P;
    QPoint l = FWidget->mapFromGlobal(QPoint(P.X, P.Y));
    return Point(l.x(), l.y() - ClientTopOffset());
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value) {
    FAnchors = Value;
    RememberAnchors();
}

void TControl::SetConstraints(const TSizeConstraints& Value) {
    FConstraints = Value;
    if (FWidget && FWidget->isWindow()) {
        // A window keeps its limits also when the user resizes it.
        FWidget->setMinimumSize(Value.MinWidth, Value.MinHeight);
        FWidget->setMaximumSize(Value.MaxWidth > 0 ? Value.MaxWidth : QWIDGETSIZE_MAX,
                                Value.MaxHeight > 0 ? Value.MaxHeight : QWIDGETSIZE_MAX);
    }
    int w = FWidth, h = FHeight;
    Constrain(w, h);
    SetBounds(FLeft, FTop, w, h);
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetParentFont(bool Value) {
    FParentFont = Value;
    if (Value) UpdateParentFont();
}

void TControl::UpdateParentFont() {
    if (!FParentFont || !FParent) return;
    FUpdatingFont = true;
    FFont->Assign(FParent->Font());
    FUpdatingFont = false;
}

void TControl::FontChanged() {
    if (FWidget) {
        FWidget->setFont(FFont->ToQFont());
        // The font's colour is the ink of an enabled control; a disabled one keeps the
        // style's grey, whatever its font, as Windows greys the text of disabled controls.
        QPalette pal = FWidget->palette();
        const QPalette def = QApplication::palette(FWidget);
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            for (QPalette::ColorGroup group :
                 {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                const bool inked = FFont->Color() != clWindowText && group != QPalette::Disabled;
                pal.setColor(group, role,
                             inked ? ColorToQColor(FFont->Color()) : def.color(group, role));
            }
        FWidget->setPalette(pal);
    }
    Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor Value) {
    FParentColor = false;
    if (Value == FColor) return;
    FColor = Value;
    ColorChanged();
}

void TControl::SetParentColor(bool Value) {
    FParentColor = Value;
    if (Value) UpdateParentColor();
}

void TControl::UpdateParentColor() {
    if (!FParentColor || !FParent) return;
    if (FParent->Color() == FColor) return;
    FColor = FParent->Color();
    ColorChanged();
}

void TControl::ColorChanged() {
    if (FWidget && FColor != clDefault) {
        QPalette pal = FWidget->palette();
        pal.setColor(ColorRole(), ColorToQColor(FColor));
        FWidget->setPalette(pal);
        if (ColorRole() == QPalette::Window) FWidget->setAutoFillBackground(true);
    }
    Perform(CM_COLORCHANGED);
}

void TControl::SetCursor(TCursor Value) {
    FCursor = Value;
    if (!FWidget) return;
    if (Value == crDefault)
        FWidget->unsetCursor();
    else
        FWidget->setCursor(CursorShapeOf(Value));
}

void TControl::SetText(const WideString& Value) {
    if (Value == GetText()) return;
    SetTextCore(Value);
    Perform(CM_TEXTCHANGED);
}

bool TControl::ShowHint() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->FParentShowHint || !c->Parent()) return c->FShowHint;
    return false;
}

void TControl::SetShowHint(bool Value) {
    FShowHint = Value;
    FParentShowHint = false;
}

WideString TControl::CurrentToolTip() const {
    auto& show = ControlServices().ShowHints;
    if (show && !show()) return WideString();
    if (!ShowHint()) return WideString();
    WideString tip = WideGetShortHint(GetHintOfParents(this));
    if (auto& shortCut = ControlServices().HintShortCut; shortCut && !tip.empty())
        if (WideString key = shortCut(this); !key.empty()) tip += u" (" + key + u")";
    return tip;
}

void TControl::Click() {
    if (OnClick) GuardedEvent(this, "OnClick", [this] { OnClick(this); });
}

void TControl::DblClick() {
    if (OnDblClick) GuardedEvent(this, "OnDblClick", [this] { OnDblClick(this); });
}

void TControl::Resize() {
    if (OnResize) GuardedCall(this, [this] { OnResize(this); });
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Invalidate() {
    if (FWidget) FWidget->update();
}

void TControl::Repaint() {
    if (FWidget) FWidget->repaint();
}

void TControl::Update() {
    if (FWidget) FWidget->update();
}

void TControl::BringToFront() {
    if (FWidget) FWidget->raise();
}

void TControl::SendToBack() {
    if (FWidget) FWidget->lower();
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (FPopupMenu) FreeNotification(FPopupMenu);
    // The widget's own context menu (edits have one) gives way to ours.
    if (FWidget)
        FWidget->setContextMenuPolicy(Value ? Qt::PreventContextMenu : Qt::DefaultContextMenu);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TMessageTarget::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu) SetPopupMenu(nullptr);
}

// WM_CONTEXTMENU: LParam is the screen point, or -1 for the keyboard (the menu then
// opens at the control's top-left corner).
bool TControl::ContextPopup(TMessage& Message) {
    TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (FPopupMenu && FPopupMenu->AutoPopup) {
        if (p.X == -1 && p.Y == -1) p = ClientToScreen(Point(0, 0));
        FPopupMenu->PopupComponent = this;
        FPopupMenu->Popup(p.X, p.Y);
        Message.Result = 1;
        return true;
    }
    if (HasOwnContextMenu()) {
        // A right click brings the widget its own menu; the Menu key and Shift+F10 open
        // it at the caret.
        if (p.X == -1 && p.Y == -1 && FWidget) {
            QRect caret = FWidget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            const QPoint at = caret.isValid() ? caret.bottomLeft() : QPoint(0, 0);
            QContextMenuEvent e(QContextMenuEvent::Keyboard, at, FWidget->mapToGlobal(at));
            QApplication::sendEvent(FWidget, &e);
        }
        Message.Result = 1;
        return true;
    }
    if (!FParent) return false;
    Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
    return Message.Result != 0;
}

void TControl::DefaultHandler(TMessage& Message) {
    if (Message.Msg == FInputDispatch.Msg) FInputDispatch.Reached = true;
}

void TControl::WndProc(TMessage& Message) {
    auto shiftOf = [](WPARAM w) {
        TShiftState s = 0;
        if (w & MK_SHIFT) s |= ssShift;
        if (w & MK_CONTROL) s |= ssCtrl;
        if (w & MK_LBUTTON) s |= ssLeft;
        if (w & MK_RBUTTON) s |= ssRight;
        if (w & MK_MBUTTON) s |= ssMiddle;
        return s;
    };
    int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, shiftOf(Message.WParam), x, y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shiftOf(Message.WParam), x, y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shiftOf(Message.WParam), x, y);
        break;
    case WM_LBUTTONUP:
        MouseUp(mbLeft, shiftOf(Message.WParam), x, y);
        break;
    case WM_RBUTTONUP: {
        MouseUp(mbRight, shiftOf(Message.WParam), x, y);
        if (Destroying()) return;
        TPoint s = ClientToScreen(Point(x, y));
        Perform(WM_CONTEXTMENU, WPARAM(Handle()), MAKELPARAM(s.X, s.Y));
        break;
    }
    case WM_CONTEXTMENU:
        if (ContextPopup(Message)) return;
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shiftOf(Message.WParam), x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shiftOf(Message.WParam), x, y);
        break;
    case WM_LBUTTONDBLCLK:
        MouseDown(mbLeft, shiftOf(Message.WParam) | ssDouble, x, y);
        DblClick();
        break;
    case WM_MOUSEWHEEL:
        if (OnMouseWheel) {
            bool handled = false;
            int delta = int16_t(HIWORD(Message.WParam));
            OnMouseWheel(this, shiftOf(LOWORD(Message.WParam)), delta, Point(x, y), handled);
            if (handled) {
                Message.Result = 1;
                return;
            }
        }
        break;
    case CM_MOUSEENTER:
        if (auto& entered = ControlServices().MouseEntered) entered(this);
        if (OnMouseEnter) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave) OnMouseLeave(this);
        break;
    case CM_TEXTCHANGED:
        TextChanged();
        break;
    default:
        break;
    }
    DefaultHandler(Message);
}

void TControl::RecreateWidget(QWidget* NewWidget) {
    QWidget* old = FWidget.data();
    QObject::disconnect(old, nullptr, old, nullptr);
    old->removeEventFilter(ControlBridge::Instance());
    old->setProperty(kControlProperty, QVariant());
    NewWidget->setProperty(kControlProperty, QVariant::fromValue<quintptr>(quintptr(this)));
    NewWidget->installEventFilter(ControlBridge::Instance());
    NewWidget->setParent(old->parentWidget());
    NewWidget->setFont(old->font());
    NewWidget->setPalette(old->palette());
    NewWidget->setAutoFillBackground(old->autoFillBackground());
    NewWidget->setFocusPolicy(old->focusPolicy());
    NewWidget->setContextMenuPolicy(old->contextMenuPolicy());
    if (old->testAttribute(Qt::WA_SetCursor)) NewWidget->setCursor(old->cursor());
    NewWidget->stackUnder(old);
    FWidget = NewWidget;
    UpdateWidgetGeometry();
    ApplyEnabled();
    ApplyVisibility();
    delete old;
}
