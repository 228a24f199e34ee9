#include "platform/ModalOpener.h"

#include <QApplication>

namespace {

// The window last activated, or asked to be, by this program.
QPointer<QWidget>& LastActivated() {
    static QPointer<QWidget> window;
    return window;
}

bool Shown(const QWidget* Window) {
    return Window && Window->isVisible() && !(Window->windowState() & Qt::WindowMinimized);
}

} // namespace

void NoteActivatedWindow(QWidget* Window) {
    LastActivated() = Window ? Window->window() : nullptr;
}

TModalOpener::TModalOpener() {
    QWidget* window = LastActivated();
    if (!Shown(window)) window = QApplication::activeWindow();
    if (!Shown(window)) return;
    FWindow = window;
    FFocus = window->focusWidget();
}

TModalOpener::~TModalOpener() {
    QWidget* window = FWindow.data();
    if (!Shown(window) || !window->isEnabled()) return;
    NoteActivatedWindow(window);
    window->activateWindow();
    QWidget* focus = FFocus.data();
    if (focus && focus->window() == window && focus->isVisible() && focus->isEnabled() &&
        window->focusWidget() != focus)
        focus->setFocus(Qt::ActiveWindowFocusReason);
}
