#include "platform/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

const char* const kAcceptorName = "quorbel-file-drop";

TWideStrArray LocalFiles(const QMimeData* Data) {
    TWideStrArray files;
    if (!Data || !Data->hasUrls()) return files;
    for (const QUrl& url : Data->urls()) {
        if (!url.isLocalFile()) continue;
        QString path = url.toLocalFile();
        while (path.size() > 1 && path.endsWith(u'/'))
            path.chop(1);
        if (!path.isEmpty()) files.push_back(path.toStdU16String());
    }
    return files;
}

// Watches the control's widget for drags and hands a drop to the control's window
// procedure.
class DropAcceptor : public QObject {
public:
    DropAcceptor(TWinControl* Control, QWidget* Widget) : QObject(Widget), FControl(Control) {
        setObjectName(QString::fromLatin1(kAcceptorName));
    }

    bool eventFilter(QObject*, QEvent* Event) override {
        switch (Event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDropEvent*>(Event);
            if (LocalFiles(e->mimeData()).empty()) {
                e->ignore();
            } else {
                e->setDropAction(Qt::CopyAction);
                e->accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(Event);
            TDroppedFiles drop{LocalFiles(e->mimeData()), {}};
            if (drop.Files.empty()) return false;
            const QPoint at = e->position().toPoint();
            drop.Point = Point(at.x(), at.y() - FControl->ClientTopOffset());
            e->setDropAction(Qt::CopyAction);
            e->accept();
            GuardedCall(FControl, [&] { FControl->Perform(WM_DROPFILES, WPARAM(&drop)); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    TWinControl* FControl;
};

DropAcceptor* AcceptorOf(QWidget* Widget) {
    return Widget->findChild<DropAcceptor*>(QString::fromLatin1(kAcceptorName),
                                            Qt::FindDirectChildrenOnly);
}

} // namespace

void DragAcceptFiles(TWinControl* Control, bool Accept) {
    QWidget* widget = Control ? Control->Widget() : nullptr;
    if (!widget) return;
    DropAcceptor* acceptor = AcceptorOf(widget);
    if (Accept && !acceptor) {
        widget->installEventFilter(new DropAcceptor(Control, widget));
    } else if (!Accept && acceptor) {
        widget->removeEventFilter(acceptor);
        delete acceptor;
    }
    widget->setAcceptDrops(Accept);
}

const TWideStrArray& DragQueryFiles(HDROP Drop) {
    static const TWideStrArray none;
    return Drop ? Drop->Files : none;
}
