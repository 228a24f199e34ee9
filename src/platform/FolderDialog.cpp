#include "platform/FolderDialog.h"

#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QIcon>
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
    return dlg;
}
