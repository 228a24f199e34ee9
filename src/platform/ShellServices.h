// Shell services that need the window system: the folder dialog, the file
// manager's properties window, file lists on the clipboard and file icons.
#pragma once

#include <QIcon>
#include <functional>

#include "platform/Controls.h"
#include "platform/ImageLists.h"

// Browse flags of the folder dialog (Windows values).
enum : unsigned {
    BIF_RETURNONLYFSDIRS = 0x1,
    BIF_EDITBOX = 0x10,
    BIF_VALIDATE = 0x20,
    BIF_NEWDIALOGSTYLE = 0x40,
    BIF_NONEWFOLDERBUTTON = 0x200,
    BIF_BROWSEINCLUDEFILES = 0x4000,
    BIF_SHAREABLE = 0x8000,
};

// Shows the folder dialog (the modal-dialog interceptor answers it as
// TModalKind::Folder: Caption the title, Text the folder to preselect, Flags
// the browse flags, Answer the chosen folder). It starts in Root (the whole
// file system when empty) with Start preselected. True only when a folder
// with a non-empty path was chosen; Path is then that folder.
bool ShowFolderDialog(const WideString& Title, const WideString& Root, const WideString& Start,
                      unsigned BrowseFlags, TWinControl* Parent, WideString& Path);

// The folder chooser rooted at the folder Root; Path is unchanged on cancel.
bool BrowseForFolderW(const WideString& Root, const WideString& Title, WideString& Path);

// Asks the desktop's file manager to show the file's properties window (the
// freedesktop file-manager interface). False when the file does not exist or
// there is no way to ask.
bool ShowFilePropertiesW(TWinControl* Window, const WideString& FileName,
                         const WideString& Parameters = WideString());

// Asks the desktop's file manager to open the file's folder with the file selected.
// False when the file does not exist or there is no way to ask.
bool ShowInFolderW(const WideString& FileName);

// Puts files on the clipboard as a file list. Names holds the full paths, each
// followed by U+0000.
void CopyFilesToClipboardW(const WideString& Names);

// The shared list of small file icons (one image per file type).
TImageList& SystemImageList();
// The index of the file's icon in SystemImageList(); -1 when the file does not exist.
int GetSysIconIndexW(const WideString& FileName);
// The file's small icon; an empty icon when the file does not exist.
QIcon GetSysSmallIconW(const WideString& FileName);

// Opens a file or a web address with the desktop's handler for it (a web address in
// the browser). False when the desktop has none.
bool OpenDocumentW(const WideString& FileOrAddress);

// Opens a web address in the default browser, as every link of the program does: it hands
// the address on without waiting and without checking the result (a desktop without a
// browser shows nothing).
void BrowseTo(const WideString& Address);
// Test seam: while a recorder is set, BrowseTo hands each address to it and opens nothing.
// Returns the recorder set before.
using TBrowserRecorder = std::function<void(const WideString& Address)>;
TBrowserRecorder SetBrowserRecorder(TBrowserRecorder Recorder);

// ShellExecute's error values (a success gives a value above 32).
enum : intptr_t { SE_ERR_FNF = 2, SE_ERR_NOASSOC = 31, SE_SUCCESS = 42 };
// ShellExecute: the verb "open" (or none) opens a file or address with the desktop's
// handler, or starts a program (an executable file, or any file given Parameters,
// which are split like a command line) in Directory without waiting; "explore" opens
// a folder. Relative names are taken from Directory. A missing file gives SE_ERR_FNF,
// a verb or file nothing can handle SE_ERR_NOASSOC.
intptr_t WideShellExecute(TWinControl* Window, const WideString& Operation, const WideString& File,
                          const WideString& Parameters, const WideString& Directory, int ShowCmd);
