#include "platform/FolderDialog.h"

#include <QEvent>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QIcon>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QSortFilterProxyModel>

#include "platform/QtStrings.h"
#include "platform/ShellServices.h"
#include "text/WideFileSystem.h"

namespace {

// Icons and type names from the entry's name and kind, never from its contents. The
// model asks from its own thread too, so nothing here may wait.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType Type) const override { return QFileIconProvider::icon(Type); }
    QIcon icon(const QFileInfo& Info) const override {
        if (!Info.isFile()) return QFileIconProvider::icon(Info.isDir() ? Folder : File);
        const QMimeType type = typeOf(Info);
        QIcon themed = QIcon::fromTheme(type.iconName());
        if (themed.isNull()) themed = QIcon::fromTheme(type.genericIconName());
        return themed.isNull() ? QFileIconProvider::icon(File) : themed;
    }
    QString type(const QFileInfo& Info) const override {
        if (!Info.isFile()) return QFileIconProvider::type(Info);
        const QMimeType type = typeOf(Info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    QMimeType typeOf(const QFileInfo& Info) const {
        return FTypes.mimeTypeForFile(Info.fileName(), QMimeDatabase::MatchExtension);
    }
    QMimeDatabase FTypes;
};

// Only data files and data folders reach the views.
class DataEntriesOnly : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int Row, const QModelIndex& Parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const TEntryKind kind = WideEntryKind(W(files->filePath(files->index(Row, 0, Parent))));
        return kind == TEntryKind::DataFile || kind == TEntryKind::DataFolder;
    }
};

// The dialog opens with the focus in its name field and the preset name selected there, so
// a whole path typed at once replaces the name. Qt may put the name into the field again
// while the dialog is not yet active, which drops the selection, and then gives the field
// the focus without selecting: until the user types or clicks there, every focus the field
// gets selects the whole name.
class NameSelectedOnOpening : public QObject {
public:
    explicit NameSelectedOnOpening(QLineEdit* Name) : QObject(Name), FName(Name) {
        Name->installEventFilter(this);
        if (QWidget* dialog = Name->window()) dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        switch (Event->type()) {
        case QEvent::Show:
            if (Watched != FName) {
                FTouched = false;
                FName->setFocus(Qt::OtherFocusReason);
                FName->selectAll();
            }
            break;
        case QEvent::FocusIn:
            if (Watched == FName && !FTouched) FName->selectAll();
            break;
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
            if (Watched == FName) FTouched = true;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit* FName;
    bool FTouched = false;
};

} // namespace

std::unique_ptr<QFileDialog> MakeFolderDialog(const WideString& Title, const WideString& Root,
                                              const WideString& Start, unsigned BrowseFlags,
                                              QWidget* Owner) {
    auto dlg = std::make_unique<QFileDialog>(Owner, Q(Title));
    // The desktop's own dialog would bring its own model, which these rules do not reach.
    dlg->setOption(QFileDialog::DontUseNativeDialog, true);
    dlg->setFileMode(QFileDialog::Directory);
    dlg->setOption(QFileDialog::ShowDirsOnly, !(BrowseFlags & BIF_BROWSEINCLUDEFILES));
    dlg->setOption(QFileDialog::ReadOnly, (BrowseFlags & BIF_NONEWFOLDERBUTTON) != 0);
    // One for every dialog and never freed: the model's thread may still ask it while a
    // dialog goes.
    static NameOnlyIconProvider* const icons = new NameOnlyIconProvider;
    dlg->setIconProvider(icons);
    dlg->setProxyModel(new DataEntriesOnly(dlg.get()));
    if (!Start.empty() && IsDataFolder(Start)) {
        QFileInfo start(Q(Start));
        dlg->setDirectory(start.absolutePath());
        dlg->selectFile(start.fileName());
    } else {
        dlg->setDirectory(Root.empty() || !IsDataFolder(Root) ? QDir::rootPath() : Q(Root));
    }
    if (auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        new NameSelectedOnOpening(name);
    return dlg;
}
