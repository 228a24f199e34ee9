// The folder chooser: the folder dialog with the present folder preselected.
#pragma once

#include "platform/Controls.h"

// Options of WideSelectDirectory (bits).
enum TSelectDirExtOpt : unsigned {
    sdNewFolder = 1,   // offer the new-folder button
    sdShowEdit = 2,    // show an edit box
    sdShowShares = 4,  // show shares
    sdNewUI = 8,       // new dialog style
    sdShowFiles = 16,  // show files too
    sdValidateDir = 32 // validate typed names
};
using TSelectDirExtOpts = unsigned;

// The folder dialog's browse flags for the options (always "file-system
// folders only").
unsigned SelectDirectoryBrowseFlags(TSelectDirExtOpts Options);

// Shows the folder dialog with Directory preselected. True when a folder was
// chosen: Directory is then its path. On false Directory is unchanged, except
// that a Directory naming no existing folder, or one of /proc or /sys, is emptied
// first (the dialog never opens there).
bool WideSelectDirectory(const WideString& Caption, const WideString& Root, WideString& Directory,
                         TSelectDirExtOpts Options = sdNewUI, TWinControl* Parent = nullptr);
