#include "platform/ShellServices.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <map>

#include "platform/Clipbrd.h"
#include "platform/FolderDialog.h"
#include "platform/Forms.h"
#include "platform/ModalOpener.h"
#include "platform/QtStrings.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

bool ShowFolderDialog(const WideString& Title, const WideString& Root, const WideString& Start,
                      unsigned BrowseFlags, TWinControl* Parent, WideString& Path) {
    const TModalOpener opener;
    WideString chosen;
    if (const TModalInterceptor& answer = ModalInterceptor()) {
        // As the dialog: only a data folder is preselected.
        const WideString start = IsDataFolder(Start) ? Start : WideString();
        TModalRequest request;
        request.Kind = TModalKind::Folder;
        request.Caption = Title;
        request.Text = start;
        request.Flags = BrowseFlags | BIF_RETURNONLYFSDIRS;
        request.Answer = start;
        if (!answer(request)) return false;
        chosen = request.Answer;
    } else {
        QWidget* owner = Parent && Parent->Widget() ? Parent->Widget() : BoxOwnerWidget();
        std::unique_ptr<QFileDialog> dlg = MakeFolderDialog(Title, Root, Start, BrowseFlags, owner);
        if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty()) return false;
        chosen = dlg->selectedFiles().front().toStdU16String();
    }
    // Success needs a folder: a dialog answered with nothing chose nothing, and a folder
    // of /proc or /sys is no place for files.
    if (chosen.empty() || WideEntryKind(chosen) == TEntryKind::Special) return false;
    Path = chosen;
    return true;
}

bool BrowseForFolderW(const WideString& Root, const WideString& Title, WideString& Path) {
    WideString chosen;
    if (!ShowFolderDialog(Title, Root, WideString(), BIF_RETURNONLYFSDIRS, nullptr, chosen))
        return false;
    Path = chosen;
    return true;
}

namespace {
// Asks the desktop's file manager (the freedesktop file-manager interface) to run Method
// on the file; false when the file does not exist or there is no way to ask.
bool AskFileManager(const char* Method, const WideString& FileName) {
    QFileInfo info(Q(FileName));
    if (FileName.empty() || !info.exists()) return false;
    QString tool = QStandardPaths::findExecutable("dbus-send");
    if (tool.isEmpty()) return false;
    QString url = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
    return QProcess::startDetached(
        tool, {"--session", "--type=method_call", "--dest=org.freedesktop.FileManager1",
               "/org/freedesktop/FileManager1",
               QStringLiteral("org.freedesktop.FileManager1.") + QLatin1String(Method),
               "array:string:" + url, "string:"});
}
} // namespace

bool ShowFilePropertiesW(TWinControl* Window, const WideString& FileName,
                         const WideString& Parameters) {
    (void)Window;
    (void)Parameters;
    return AskFileManager("ShowItemProperties", FileName);
}

bool ShowInFolderW(const WideString& FileName) {
    return AskFileManager("ShowItems", FileName);
}

void CopyFilesToClipboardW(const WideString& Names) {
    TWideStrArray paths;
    size_t start = 0;
    while (start < Names.size()) {
        size_t end = Names.find(u'\0', start);
        if (end == WideString::npos) end = Names.size();
        if (end > start) paths.push_back(Names.substr(start, end - start));
        start = end + 1;
    }
    Clipboard()->SetFiles(paths);
}

TImageList& SystemImageList() {
    static TImageList* list = [] {
        auto* l = new TImageList(nullptr);
        l->ShareImages = true;
        return l;
    }();
    return *list;
}

QIcon GetSysSmallIconW(const WideString& FileName) {
    QFileInfo info(Q(FileName));
    if (FileName.empty() || !info.exists()) return QIcon();
    QFileIconProvider provider;
    QIcon fallback = provider.icon(info);
    if (info.isDir()) return fallback;
    QMimeType type = QMimeDatabase().mimeTypeForName(Q(FileMimeTypeName(FileName)));
    QIcon themed = QIcon::fromTheme(type.iconName());
    if (themed.isNull()) themed = QIcon::fromTheme(type.genericIconName());
    return themed.isNull() ? fallback : themed;
}

int GetSysIconIndexW(const WideString& FileName) {
    QFileInfo info(Q(FileName));
    if (FileName.empty() || !info.exists()) return -1;
    // One image per file type, as the system list holds one per icon.
    QString key = info.isDir() ? QString("inode/directory") : Q(FileMimeTypeName(FileName));
    static std::map<QString, int> indexes;
    auto it = indexes.find(key);
    if (it != indexes.end() && it->second < SystemImageList().Count()) return it->second;
    int index = SystemImageList().AddIcon(GetSysSmallIconW(FileName));
    if (index >= 0) indexes[key] = index;
    return index;
}

bool OpenDocumentW(const WideString& FileOrAddress) {
    if (FileOrAddress.empty()) return false;
    return QDesktopServices::openUrl(QUrl::fromUserInput(Q(FileOrAddress)));
}

namespace {
TBrowserRecorder& BrowserRecorder() {
    static TBrowserRecorder recorder;
    return recorder;
}
} // namespace

TBrowserRecorder SetBrowserRecorder(TBrowserRecorder Recorder) {
    std::swap(BrowserRecorder(), Recorder);
    return Recorder;
}

void BrowseTo(const WideString& Address) {
    if (BrowserRecorder())
        BrowserRecorder()(Address);
    else
        (void)OpenDocumentW(Address);
}

intptr_t WideShellExecute(TWinControl* Window, const WideString& Operation, const WideString& File,
                          const WideString& Parameters, const WideString& Directory, int ShowCmd) {
    (void)Window;  // the desktop places what it opens
    (void)ShowCmd; // and shows it as it shows everything
    QString verb = Q(Operation).toLower();
    if (!verb.isEmpty() && verb != u"open" && verb != u"explore") return SE_ERR_NOASSOC;
    QString file = Q(File);
    bool address = file.contains(u"://") || file.startsWith(u"mailto:");
    if (address) return OpenDocumentW(File) ? SE_SUCCESS : SE_ERR_NOASSOC;
    QFileInfo info(QDir(Q(Directory)), file);
    if (File.empty() || !info.exists()) return SE_ERR_FNF;
    if (verb == u"explore" && !info.isDir()) return SE_ERR_NOASSOC;
    bool program = !info.isDir() && (info.isExecutable() || !Parameters.empty());
    if (!program)
        return OpenDocumentW(info.absoluteFilePath().toStdU16String()) ? SE_SUCCESS
                                                                       : SE_ERR_NOASSOC;
    QStringList arguments;
    for (const WideString& token : SplitCommandLineW(u"x " + Parameters))
        arguments << Q(token);
    arguments.removeFirst(); // the tokenizer's program name
    QString folder = Directory.empty() ? QString() : Q(Directory);
    return QProcess::startDetached(info.absoluteFilePath(), arguments, folder) ? SE_SUCCESS
                                                                               : SE_ERR_NOASSOC;
}
