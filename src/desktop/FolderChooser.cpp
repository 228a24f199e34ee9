#include "desktop/FolderChooser.h"

#include "platform/ShellServices.h"
#include "text/FileUtils.h"

unsigned SelectDirectoryBrowseFlags(TSelectDirExtOpts Options) {
    unsigned flags = BIF_RETURNONLYFSDIRS;
    if (!(Options & sdNewFolder)) flags |= BIF_NONEWFOLDERBUTTON;
    if (Options & sdShowEdit) flags |= BIF_EDITBOX;
    if (Options & sdShowShares) flags |= BIF_SHAREABLE;
    if (Options & sdNewUI) flags |= BIF_NEWDIALOGSTYLE;
    if (Options & sdShowFiles) flags |= BIF_BROWSEINCLUDEFILES;
    if (Options & sdValidateDir) flags |= BIF_VALIDATE;
    return flags;
}

bool WideSelectDirectory(const WideString& Caption, const WideString& Root, WideString& Directory,
                         TSelectDirExtOpts Options, TWinControl* Parent) {
    if (!IsDataFolder(Directory)) Directory.clear();
    WideString root = !Root.empty() && IsDataFolder(Root) ? Root : WideString();
    return ShowFolderDialog(Caption, root, Directory, SelectDirectoryBrowseFlags(Options), Parent,
                            Directory);
}
