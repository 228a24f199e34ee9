#include "platform/Controls.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/CaptionText.h"

#include "platform/Forms.h"
#include "platform/Menus.h"

static bool FormKeyPreview(TForm* F) {
    return F->KeyPreview;
}
static TWinControl* FormAsWinControl(TForm* F) {
    return F;
}

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
bool gReinjecting = false;
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

TShiftState ShiftStateFromQt(int Modifiers, int Buttons) {
    TShiftState s = 0;
    if (Modifiers & Qt::ShiftModifier) s |= ssShift;
    if (Modifiers & Qt::AltModifier) s |= ssAlt;
    if (Modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (Buttons & Qt::LeftButton) s |= ssLeft;
    if (Buttons & Qt::RightButton) s |= ssRight;
    if (Buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

uint16_t VirtualKeyFromQt(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return uint16_t(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return uint16_t(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return uint16_t(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return 0xBB;
    case Qt::Key_Minus:
        return 0xBD;
    case Qt::Key_Comma:
        return 0xBC;
    case Qt::Key_Period:
        return 0xBE;
    case Qt::Key_Slash:
        return 0xBF;
    case Qt::Key_Semicolon:
        return 0xBA;
    default:
        return 0;
    }
}

TPoint MouseCursorPos() {
    QPoint p = QCursor::pos();
    return Point(p.x(), p.y());
}

TControl* FindDragTarget(TPoint ScreenPos) {
    QWidget* w = QApplication::widgetAt(ScreenPos.X, ScreenPos.Y);
    return w ? TControl::FromWidget(w) : nullptr;
}

static Qt::CursorShape CursorShape(TCursor c) {
    switch (c) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
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
        QObject::disconnect(w, nullptr, nullptr, nullptr);
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

TForm* TControl::ParentForm() const {
    return FormOfControl(this);
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
        QPalette pal = FWidget->palette();
        if (FFont->Color() != clWindowText) {
            pal.setColor(QPalette::WindowText, ColorToQColor(FFont->Color()));
            pal.setColor(QPalette::Text, ColorToQColor(FFont->Color()));
            pal.setColor(QPalette::ButtonText, ColorToQColor(FFont->Color()));
        } else {
            QPalette def = QApplication::palette(FWidget);
            pal.setColor(QPalette::WindowText, def.color(QPalette::WindowText));
            pal.setColor(QPalette::Text, def.color(QPalette::Text));
            pal.setColor(QPalette::ButtonText, def.color(QPalette::ButtonText));
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
        FWidget->setCursor(CursorShape(Value));
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
    return WideGetShortHint(GetHintOfParents(this));
}

void TControl::Click() {
    if (OnClick) GuardedCall(this, [this] { OnClick(this); });
}

void TControl::DblClick() {
    if (OnDblClick) GuardedCall(this, [this] { OnDblClick(this); });
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
        Message.Result = 1;
        return true;
    }
    if (!FParent) return false;
    Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
    return Message.Result != 0;
}

void TControl::DefaultHandler(TMessage& Message) {
    (void)Message;
    FDefaultReached = true;
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

bool TControl::HandleMouse(QObject* Watched, QEvent* Event) {
    auto* me = static_cast<QMouseEvent*>(Event);
    QWidget* w = static_cast<QWidget*>(Watched);
    QPoint p = me->position().toPoint();
    if (w != FWidget.data() && FWidget) p = w->mapTo(FWidget.data(), p);
    p.ry() -= ClientTopOffset();
    WPARAM keys = 0;
    Qt::MouseButtons buttons = me->buttons();
    if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
    if (me->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (me->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
    UINT msg = WM_MOUSEMOVE;
    Qt::MouseButton b = me->button();
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        msg = b == Qt::LeftButton    ? WM_LBUTTONDOWN
              : b == Qt::RightButton ? WM_RBUTTONDOWN
                                     : WM_MBUTTONDOWN;
        break;
    case QEvent::MouseButtonRelease:
        msg = b == Qt::LeftButton    ? WM_LBUTTONUP
              : b == Qt::RightButton ? WM_RBUTTONUP
                                     : WM_MBUTTONUP;
        break;
    case QEvent::MouseButtonDblClick:
        msg = b == Qt::LeftButton    ? WM_LBUTTONDBLCLK
              : b == Qt::RightButton ? WM_RBUTTONDBLCLK
                                     : WM_MBUTTONDBLCLK;
        break;
    default:
        break;
    }
    TMessage m{msg, keys, MAKELPARAM(p.x(), p.y()), 0};
    FDefaultReached = false;
    GuardedCall(this, [&] { WindowProc(m); });
    bool pass = FDefaultReached;
    if (Destroying()) return true;
    if (msg == WM_LBUTTONDOWN) FMousePressed = true;
    if (msg == WM_LBUTTONUP) {
        bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < FWidth && p.y() < FHeight;
        if (FMousePressed && inside && ClicksOnMouseUp()) Click();
        FMousePressed = false;
    }
    return !pass;
}

bool TControl::HandleKeyPress(QObject* Watched, QKeyEvent* Event) {
    auto* wc = dynamic_cast<TWinControl*>(this);
    if (!wc || gReinjecting) return false;
    FKeyShift = ShiftStateFromQt(int(Event->modifiers()));
    uint16_t vk = VirtualKeyFromQt(Event->key());
    bool keyAlive = true;
    if (vk) {
        TMessage m{(FKeyShift & ssAlt) ? UINT(WM_SYSKEYDOWN) : UINT(WM_KEYDOWN), vk, 0, 0};
        FDefaultReached = false;
        GuardedCall(this, [&] { WindowProc(m); });
        keyAlive = FDefaultReached;
        if (Destroying()) return true;
    }
    // Enter and Escape that the control let pass belong to the dialog (default and
    // cancel buttons).
    if (keyAlive && (vk == VK_RETURN || vk == VK_ESCAPE) && !(FKeyShift & (ssAlt | ssCtrl))) {
        if (TForm* f = ParentForm()) {
            LRESULT r = 0;
            GuardedCall(f, [&] { r = f->Perform(CM_DIALOGKEY, vk, LPARAM(this)); });
            if (r) return true;
        }
    }
    auto sendChar = [&](WideChar c) -> WideChar {
        TMessage m{WM_CHAR, c, 0, 0};
        FDefaultReached = false;
        GuardedCall(this, [&] { WindowProc(m); });
        return FDefaultReached && !Destroying() ? WideChar(m.WParam) : WideChar(0);
    };
    WideString in = Event->text().toStdU16String();
    WideString out;
    bool changed = false;
    auto isHigh = [](WideChar c) { return c >= 0xD800 && c < 0xDC00; };
    auto isLow = [](WideChar c) { return c >= 0xDC00 && c < 0xE000; };
    for (size_t i = 0; i < in.size();) {
        if (isHigh(in[i]) && i + 1 < in.size() && isLow(in[i + 1])) {
            // A surrogate pair is one character: swallowing either half drops both.
            WideChar hi = sendChar(in[i]);
            WideChar lo = hi ? sendChar(in[i + 1]) : WideChar(0);
            if (hi && lo) {
                out += hi;
                out += lo;
            }
            changed = changed || hi != in[i] || lo != in[i + 1];
            i += 2;
        } else {
            WideChar c = sendChar(in[i]);
            if (c) out += c;
            changed = changed || c != in[i];
            ++i;
        }
    }
    if (Destroying()) return true;
    if (keyAlive && !changed) return false;
    if (!out.empty()) {
        QKeyEvent again(QEvent::KeyPress, keyAlive && out.size() == in.size() ? Event->key() : 0,
                        Event->modifiers(), QString::fromStdU16String(out));
        struct Reinjecting {
            Reinjecting() { gReinjecting = true; }
            ~Reinjecting() { gReinjecting = false; }
        } reinjecting;
        Watched->event(&again);
    }
    return true;
}

bool TControl::HandleQtEvent(QObject* Watched, QEvent* Event) {
    if (PreWidgetEvent(Watched, Event)) return true;
    bool isMain = Watched == FWidget.data();
    switch (Event->type()) {
    case QEvent::KeyPress: {
        bool swallow = HandleKeyPress(Watched, static_cast<QKeyEvent*>(Event));
        if (swallow || !isMain) return swallow;
        // Windows gives a key to the focused window only: deliver it here and do
        // not let Qt pass an ignored key on to the parent control.
        Watched->event(Event);
        Event->accept();
        return true;
    }
    case QEvent::KeyRelease: {
        auto* wc = dynamic_cast<TWinControl*>(this);
        if (!wc || gReinjecting) return false;
        auto* ke = static_cast<QKeyEvent*>(Event);
        FKeyShift = ShiftStateFromQt(int(ke->modifiers()));
        uint16_t vk = VirtualKeyFromQt(ke->key());
        if (!vk) return false;
        TMessage m{(FKeyShift & ssAlt) ? UINT(WM_SYSKEYUP) : UINT(WM_KEYUP), vk, 0, 0};
        FDefaultReached = false;
        GuardedCall(this, [&] { WindowProc(m); });
        return !FDefaultReached;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        bool swallow = HandleMouse(Watched, Event);
        if (swallow || !isMain) return swallow;
        // Mouse input belongs to the control under the mouse, not to its parents.
        Watched->event(Event);
        Event->accept();
        return true;
    }
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(Event);
        QPoint g = we->globalPosition().toPoint();
        WPARAM keys = 0;
        if (we->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
        if (we->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
        WPARAM w = keys | (WPARAM(uint16_t(int16_t(we->angleDelta().y()))) << 16);
        TMessage m{WM_MOUSEWHEEL, w, MAKELPARAM(g.x(), g.y()), 0};
        GuardedCall(this, [&] { WindowProc(m); });
        return m.Result != 0;
    }
    case QEvent::Enter:
        if (isMain) GuardedCall(this, [this] { Perform(CM_MOUSEENTER); });
        return false;
    case QEvent::Leave:
        if (isMain) GuardedCall(this, [this] { Perform(CM_MOUSELEAVE); });
        return false;
    case QEvent::ToolTip: {
        WideString tip = CurrentToolTip();
        auto* he = static_cast<QHelpEvent*>(Event);
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(he->globalPos(), QString::fromStdU16String(tip), FWidget.data());
        return true;
    }
    case QEvent::Resize:
        if (isMain && FWidget) {
            QSize s = FWidget->size();
            if (s.width() != FWidth || s.height() != FHeight) {
                FWidth = s.width();
                FHeight = s.height();
                if (!FParent) Resize();
            }
        }
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        auto* wc = dynamic_cast<TWinControl*>(this);
        if (!wc || !FWidget) return false;
        QWidget* now = QApplication::focusWidget();
        bool inside = now && (now == FWidget.data() || FWidget->isAncestorOf(now));
        if (Event->type() == QEvent::FocusIn && inside && !wc->FHasFocus) {
            wc->FHasFocus = true;
            GuardedCall(this, [wc] { wc->DoEnter(); });
        } else if (Event->type() == QEvent::FocusOut && !inside && wc->FHasFocus) {
            wc->FHasFocus = false;
            GuardedCall(this, [wc] { wc->DoExit(); });
        }
        return false;
    }
    default:
        return false;
    }
}

void TControl::RecreateWidget(QWidget* NewWidget) {
    QWidget* old = FWidget.data();
    QObject::disconnect(old, nullptr, nullptr, nullptr);
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

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner, QWidget* Widget) : TControl(AOwner, Widget) {}

TWinControl::~TWinControl() {
    SetDestroyingFlag();
    // A windowed control frees its child controls (they leave their owners).
    while (!FControls.empty())
        FControls.back()->Free();
}

void TWinControl::InsertControl(TControl* C) {
    if (std::find(FControls.begin(), FControls.end(), C) == FControls.end()) FControls.push_back(C);
}

void TWinControl::RemoveControl(TControl* C) {
    auto it = std::find(FControls.begin(), FControls.end(), C);
    if (it == FControls.end()) return;
    FControls.erase(it);
    if (!Destroying() && C->Align() != alNone) Realign();
}

void TWinControl::UpdateChildGeometry() {
    for (TControl* c : FControls)
        c->UpdateWidgetGeometry();
}

void TWinControl::EnableAlign() {
    if (FAlignLock > 0 && --FAlignLock == 0) Realign();
}

void TWinControl::Realign() {
    if (FAlignLock > 0 || FAligning || Destroying()) return;
    FAligning = true;
    TRect r = ClientRect();
    AdjustClientRect(r);
    AlignControls(r);
    FAligning = false;
}

void TWinControl::AlignControls(TRect& R) {
    // Anchored controls keep their distance to the right and bottom edges.
    for (TControl* c : FControls) {
        if (c->Align() != alNone) continue;
        TAnchors a = c->Anchors();
        if (!(a & (akRight | akBottom))) continue;
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (a & akRight) {
            int right = ClientWidth() - c->FAnchorRight;
            if (a & akLeft)
                w = right - l;
            else
                l = right - w;
        }
        if (a & akBottom) {
            int bottom = ClientHeight() - c->FAnchorBottom;
            if (a & akTop)
                h = bottom - t;
            else
                t = bottom - h;
        }
        c->SetBoundsCore(l, t, w, h, true);
    }
    auto ordered = [this](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->Top() < b->Top();
            case alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case alLeft:
                return a->Left() < b->Left();
            case alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        return list;
    };
    for (TControl* c : ordered(alTop)) {
        int w = R.Width(), h = c->Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Top, R.Width(), h, true);
        R.Top += c->Height();
    }
    for (TControl* c : ordered(alBottom)) {
        int w = R.Width(), h = c->Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Bottom - h, R.Width(), h, true);
        R.Bottom -= c->Height();
    }
    for (TControl* c : ordered(alLeft)) {
        int w = c->Width(), h = R.Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Top, w, R.Height(), true);
        R.Left += c->Width();
    }
    for (TControl* c : ordered(alRight)) {
        int w = c->Width(), h = R.Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Right - w, R.Top, w, R.Height(), true);
        R.Right -= c->Width();
    }
    for (TControl* c : ordered(alClient))
        c->SetBoundsCore(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0), true);
}

void TWinControl::Resize() {
    Realign();
    TControl::Resize();
}

void TWinControl::Broadcast(TMessage& Message) {
    std::vector<TControl*> copy = FControls;
    for (TControl* c : copy) {
        c->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    int order = 0;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this) return order;
        if (dynamic_cast<TWinControl*>(c)) ++order;
    }
    return -1;
}

void TWinControl::SetTabOrder(int Value) {
    TWinControl* p = Parent();
    if (!p) return;
    std::vector<TWinControl*> wins;
    for (TControl* c : p->FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w != this) wins.push_back(w);
    Value = std::clamp(Value, 0, int(wins.size()));
    wins.insert(wins.begin() + Value, this);
    for (size_t i = 1; i < wins.size(); ++i)
        QWidget::setTabOrder(wins[i - 1]->FocusWidget(), wins[i]->FocusWidget());
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return FocusWidget() != nullptr;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw Exception(std::string("Cannot focus a disabled or invisible window"));
    if (QWidget* w = FocusWidget()) {
        if (QWidget* top = w->window(); top && top->isVisible()) top->activateWindow();
        w->setFocus(Qt::OtherFocusReason);
    }
}

bool TWinControl::Focused() const {
    // The focus inside the control's window (the window itself need not be active).
    QWidget* fw = FocusWidget();
    return fw && fw->window()->focusWidget() == fw;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WideChar& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : FControls)
        c->UpdateParentFont();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : FControls)
        c->UpdateParentColor();
}

void TWinControl::ApplyEnabled() {
    TControl::ApplyEnabled();
    for (TControl* c : FControls)
        c->ApplyEnabled();
}

void TWinControl::WndProc(TMessage& Message) {
    TWinControl* preview = nullptr;
    if (TForm* f = ParentForm(); f && static_cast<TControl*>(f) != this && FormKeyPreview(f))
        preview = FormAsWinControl(f);
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
        uint16_t k = uint16_t(Message.WParam);
        if (preview) down ? preview->KeyDown(k, FKeyShift) : preview->KeyUp(k, FKeyShift);
        if (k) down ? KeyDown(k, FKeyShift) : KeyUp(k, FKeyShift);
        if (!k) return; // swallowed: the widget does not see it
        Message.WParam = k;
        bool menuKey =
            k == VK_APPS || (k == VK_F10 && (FKeyShift & ~ssShift) == 0 && (FKeyShift & ssShift));
        if (Message.Msg == WM_KEYDOWN && menuKey && Perform(WM_CONTEXTMENU, WPARAM(Handle()), -1))
            return;
        break;
    }
    case WM_CHAR: {
        WideChar k = WideChar(Message.WParam);
        if (preview) preview->KeyPress(k);
        if (k) KeyPress(k);
        if (!k) return;
        Message.WParam = k;
        break;
    }
    case CM_DIALOGCHAR:
        if (DialogChar(WideChar(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        Broadcast(Message);
        return;
    default:
        break;
    }
    TControl::WndProc(Message);
}
