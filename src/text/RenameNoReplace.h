// Renaming a file without ever replacing another: the renaming tool must not lose a file
// that already holds the new name, not even one that appears between a test and the
// rename. The kernel refuses the taken name itself (renameat2 with RENAME_NOREPLACE); on a
// file system that lacks the flag, a hard link under the new name (which fails when the
// name is taken) followed by removing the old name does the same.
#pragma once

#include "text/WideTypes.h"

// True when the file from now has the name to. False, with errno set, when to exists
// (EEXIST) or the rename failed otherwise; the file then keeps its old name.
bool WideRenameNoReplace(WideStringView from, WideStringView to);

// The fallback alone (link, then unlink the old name), for file systems without the flag.
bool WideRenameByLink(WideStringView from, WideStringView to);
