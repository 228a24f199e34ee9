#include "platform/FocusCues.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
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

// The outline is the one a focused edit field has in the common styles: the frame's outer
// line in the highlight colour.
class FocusOutlineStyle : public QProxyStyle {
public:
    void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                     const QWidget* Widget) const override {
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
        const State cue = State_HasFocus | State_KeyboardFocusChange;
        if (Element != CE_ShapedFrame || (Option->state & cue) != cue) return;
        Painter->save();
        Painter->setPen(Option->palette.highlight().color().darker(125));
        Painter->setBrush(Qt::NoBrush);
        Painter->drawRect(Option->rect.adjusted(0, 0, -1, -1));
        Painter->restore();
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

void OutlineFocusOf(QFrame* View) {
    if (!View || dynamic_cast<FocusOutlineStyle*>(View->style())) return;
    auto* style = new FocusOutlineStyle;
    style->setParent(View);
    View->setStyle(style);
}
