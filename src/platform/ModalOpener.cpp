#include "platform/ModalOpener.h"

#include <QApplication>
#include <vector>

namespace {

// The windows this program activated, or asked to activate, the latest last; each once.
std::vector<QPointer<QWidget>>& Activations() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

QWidget* LastActivated() {
    const auto& windows = Activations();
    return windows.empty() ? nullptr : windows.back().data();
}

bool Shown(const QWidget* Window) {
    return Window && Window->isVisible() && !(Window->windowState() & Qt::WindowMinimized);
}

} // namespace

void NoteActivatedWindow(QWidget* Window) {
    auto& windows = Activations();
    QWidget* window = Window ? Window->window() : nullptr;
    std::erase_if(windows, [window](const QPointer<QWidget>& w) { return !w || w == window; });
    if (window) windows.emplace_back(window);
}

QWidget* LastActivatedOnTop() {
    const auto& windows = Activations();
    for (auto w = windows.rbegin(); w != windows.rend(); ++w)
        if (Shown(*w) && ((*w)->windowFlags() & Qt::WindowStaysOnTopHint)) return w->data();
    return nullptr;
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
