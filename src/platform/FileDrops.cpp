#include "platform/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "text/UCodeSysUtils.h"

namespace {

const char* const kAcceptorName = "quorbel-file-drop";

// The paths are taken from the bytes of the URLs: the file manager percent-encodes a name
// that is no UTF-8, and decoding the URL to text would turn those bytes into U+FFFD, a name
// of no file. NativeToWide keeps them, so the name reaches the file again.
TWideStrArray LocalFiles(const QMimeData* Data) {
    TWideStrArray files;
    if (!Data || !Data->hasUrls()) return files;
    for (const QUrl& url : Data->urls()) {
        if (!url.isLocalFile()) continue;
        QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        while (path.size() > 1 && path.endsWith('/'))
            path.chop(1);
        if (!path.isEmpty())
            files.push_back(NativeToWide(std::string_view(path.constData(), size_t(path.size()))));
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
