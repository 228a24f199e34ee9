// Moving a window with the mouse from any point of it: borderless tool windows have no
// title bar to drag, so a press on them asks for the move that a title bar would start.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/Forms.h"

namespace {
TMoveRequestHook& MoveRequestHook() {
    static TMoveRequestHook hook;
    return hook;
}

// Where the window system cannot move a window itself: the window keeps its distance to
// the mouse pointer until the left button is released, then the follower goes.
class MouseFollower : public QObject {
public:
    MouseFollower(TForm* Form)
        : FForm(Form), FWidget(Form->Widget()),
          FGrip(QCursor::pos() - QPoint(Form->Left(), Form->Top())) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* Event) override {
        if (!FWidget) {
            Finish();
            return false;
        }
        if (Event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint() - FGrip;
            FForm->SetBounds(at.x(), at.y(), FForm->Width(), FForm->Height());
        } else if (Event->type() == QEvent::MouseButtonRelease) {
            Finish();
        }
        return false;
    }

private:
    void Finish() {
        qApp->removeEventFilter(this);
        deleteLater();
    }
    TForm* FForm;
    QPointer<QWidget> FWidget;
    QPoint FGrip;
};
} // namespace

TMoveRequestHook SetMoveRequestHook(TMoveRequestHook Hook) {
    std::swap(MoveRequestHook(), Hook);
    return Hook;
}

void TForm::BeginMouseMove() {
    if (MoveRequestHook()) {
        MoveRequestHook()(this);
        return;
    }
    QWidget* w = Widget();
    if (!w || !w->isVisible()) return;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (QWindow* handle = w->windowHandle(); handle && handle->startSystemMove()) return;
    new MouseFollower(this);
}
