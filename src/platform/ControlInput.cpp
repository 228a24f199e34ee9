// How Qt's mouse, key, wheel, focus and tool-tip events reach a control: as the
// Windows messages its window procedure expects.
#include "platform/Controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QToolTip>
#include <QWheelEvent>
#include <vector>

namespace {
// A key event the control sends on to its widget after its handlers changed the text.
bool gReinjecting = false;

// A window that another window (a message box, a dialog, another program) took the input
// from keeps its focused control: Windows runs no OnExit then, and none when the input
// comes back to that control. The control leaves only when its window gives the focus to
// another of its controls. Each such window with the widget of the control it keeps.
struct KeptFocus {
    QPointer<QWidget> window, control;
};
std::vector<KeptFocus> gKeptFocus;

// Tab or Shift+Tab without Ctrl and Alt: the keys that move the focus through a window.
bool MovesFocus(const QKeyEvent& Event) {
    const int key = Event.key();
    return (key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
           !(Event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// Text that would land in a field: no control character.
bool IsTypedText(const QString& Text) {
    for (QChar c : Text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return !Text.isEmpty();
}

bool Holds(const QWidget* Control, const QWidget* W) {
    return W && (W == Control || Control->isAncestorOf(W));
}

} // namespace

TWinControl* KeptFocusOf(const QWidget* Window) {
    for (const KeptFocus& k : gKeptFocus)
        if (k.window == Window && k.control)
            return dynamic_cast<TWinControl*>(TControl::FromWidget(k.control.data()));
    return nullptr;
}

namespace {
// The control that Window kept while another window had the input; nullptr when none.
TWinControl* TakeKeptFocus(const QWidget* Window) {
    TWinControl* kept = nullptr;
    std::erase_if(gKeptFocus, [&](const KeptFocus& k) {
        if (k.window && k.window != Window) return false;
        if (k.window && k.control)
            kept = dynamic_cast<TWinControl*>(TControl::FromWidget(k.control.data()));
        return true;
    });
    return kept;
}
} // namespace

bool TControl::ReachesDefault(TMessage& Message) {
    const InputDispatch outer = std::exchange(FInputDispatch, InputDispatch{Message.Msg, false});
    GuardedCall(this, [&] { WindowProc(Message); });
    const bool reached = FInputDispatch.Reached;
    FInputDispatch = outer;
    return reached;
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
    bool pass = ReachesDefault(m);
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
    // Tab and Shift+Tab belong to the window, which moves the focus with them before the
    // control's key handlers could see (and swallow) them; only a control that takes tabs
    // as text gets them.
    if (MovesFocus(*Event) && !wc->WantsTabKey()) return false;
    FKeyShift = ShiftStateFromQt(int(Event->modifiers()));
    uint16_t vk = VirtualKeyFromQt(Event->key());
    bool keyAlive = true;
    if (vk) {
        TMessage m{(FKeyShift & ssAlt) ? UINT(WM_SYSKEYDOWN) : UINT(WM_KEYDOWN), vk, 0, 0};
        keyAlive = ReachesDefault(m);
        if (Destroying()) return true;
    }
    // Alt+F4 closes the window, as the Close of its system menu does.
    if (keyAlive && vk == VK_F4 && (FKeyShift & (ssAlt | ssCtrl | ssShift)) == ssAlt) {
        if (TWinControl* f = ParentFormControl()) {
            GuardedCall(f, [f] { f->Perform(WM_SYSCOMMAND, SC_CLOSE); });
            return true;
        }
    }
    // Enter and Escape that the control let pass belong to the dialog (default and
    // cancel buttons).
    if (keyAlive && (vk == VK_RETURN || vk == VK_ESCAPE) && !(FKeyShift & (ssAlt | ssCtrl))) {
        if (TWinControl* f = ParentFormControl()) {
            LRESULT r = 0;
            GuardedCall(f, [&] { r = f->Perform(CM_DIALOGKEY, vk, LPARAM(this)); });
            if (r) return true;
        }
    }
    // A character typed with Alt is a system key: it goes to the menus (the window's filter
    // offered it to them already) and never into the control. Ctrl+Alt still types, as
    // AltGr does on Windows.
    if ((FKeyShift & ssAlt) && !(FKeyShift & ssCtrl) && IsTypedText(Event->text())) return true;
    auto sendChar = [&](WideChar c) -> WideChar {
        TMessage m{WM_CHAR, c, 0, 0};
        return ReachesDefault(m) && !Destroying() ? WideChar(m.WParam) : WideChar(0);
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
        return !ReachesDefault(m);
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
        QWidget* window = FWidget->window();
        const bool inside = Holds(FWidget.data(), now);
        if (Event->type() == QEvent::FocusIn && inside) {
            TWinControl* kept = TakeKeptFocus(window);
            if (wc->FHasFocus) return false; // back from another window
            if (kept && kept != wc && kept->FHasFocus) {
                kept->FHasFocus = false;
                GuardedCall(kept, [kept] { kept->DoExit(); });
            }
            wc->FHasFocus = true;
            GuardedCall(this, [wc] { wc->DoEnter(); });
        } else if (Event->type() == QEvent::FocusOut && !inside && wc->FHasFocus) {
            // The focus went to another window, to the menu bar (Alt), or nowhere because
            // the control's window was disabled (a run): the control stays its window's
            // focused control and gets the focus back with the window.
            const bool awayForAWhile = ((!now || now->window() != window) &&
                                        Holds(FWidget.data(), window->focusWidget())) ||
                                       qobject_cast<QMenuBar*>(now) ||
                                       (!now && !window->isEnabled());
            if (awayForAWhile) {
                TakeKeptFocus(window);
                gKeptFocus.push_back({window, FWidget.data()});
                return false;
            }
            wc->FHasFocus = false;
            GuardedCall(this, [wc] { wc->DoExit(); });
        }
        return false;
    }
    default:
        return false;
    }
}
