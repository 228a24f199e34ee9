// The new name of one file of the renaming tool: the mask with its constants filled in,
// then an optional search and replace over the name part, the extension or both. A plain
// function of the file's name and the tool's settings, so that the preview, the renaming
// and the tests compute the same name.
#pragma once

#include "text/WideTypes.h"

// The search and replace of the renaming tool (case-sensitive; an empty search text
// replaces nothing).
struct TRenameReplace {
    bool On = false;
    WideString Search, Replacement;
    bool InName = true, InExtension = false;
};

// The new name of the file Name (a name without folder) for the row RowIndex (0-based) of
// a list of RowCount rows:
//   Ext  := the extension of Name with its dot (the file utilities' rule: from the last
//           dot; empty when there is none), Base := Name with every occurrence of Ext
//           removed (nothing removed for an empty Ext);
//   the mask with "%name%" replaced by Base; then "%num%" by RowIndex + Start, "%0num%"
//   by the same number padded with zeros to the digit count of RowCount, "%abs%" by
//   RowCount. Start is StartText read as an integer, 1 when it is none;
//   finally the replacement, in the masked name, in Ext or in both, and Ext appended.
// An empty Name gives an empty result.
WideString RenameName(WideStringView Name, WideStringView Mask, WideStringView StartText,
                      int RowCount, int RowIndex, const TRenameReplace& Replace);

// A new name that would move the file to another folder or break it: empty, "." or "..",
// or holding "/" or U+0000 (a configuration file can carry what the key filters refuse).
bool IsUnsafeNewName(WideStringView NewName);
