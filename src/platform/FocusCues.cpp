#include "platform/FocusCues.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

bool gLastInputWasKey = false;

class FocusCueWatch : public QObject {
public:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        switch (Event->type()) {
        // A key that a shortcut takes never arrives as a key press: its override asks first.
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            gLastInputWasKey = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            gLastInputWasKey = false;
            break;
        case QEvent::Show:
            // Qt hides the cues of every window it shows; the window opened by a key gets
            // them back before it is drawn.
            if (gLastInputWasKey && Watched->isWidgetType())
                ShowFocusCuesOf(static_cast<QWidget*>(Watched));
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void InstallFocusCues() {
    static QPointer<FocusCueWatch> watch;
    QCoreApplication* app = QCoreApplication::instance();
    if (watch || !app) return;
    watch = new FocusCueWatch;
    watch->setParent(app);
    app->installEventFilter(watch);
}

void ShowFocusCuesOf(QWidget* Window) {
    if (!Window || !Window->isWindow()) return;
    const Qt::WindowType type = Window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip) return;
    Window->setAttribute(Qt::WA_KeyboardFocusChange);
    if (QWidget* focused = Window->focusWidget()) focused->update();
}
