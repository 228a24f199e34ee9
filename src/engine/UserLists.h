// The lists the user keeps as text files below a folder of the program folder: the
// transliteration tables ("Transliteration/") and the replacement lists ("Replacements/").
// A window lists them by name; choosing a name finds its file again, also when the file
// lies in a subfolder or carries ".txt" twice.
#pragma once

#include "text/WideTypes.h"

// The folders, below a program folder given with its trailing "/".
WideString TransliterationFolder(WideStringView programFolder);
WideString ReplacementsFolder(WideStringView programFolder);

// Every "*.txt" file in folder and its subfolders, in the file search's order (a
// subfolder's files before the folder's own), by its file name with every ".txt" removed
// ("Latin.txt.txt" is listed as "Latin"); none when the folder does not exist.
TWideStrArray UserListNames(WideStringView folder);

// The file of a name: folder + name + ".txt" when that file exists (a name may hold a
// subfolder, "sub/table"); else the first file of UserListNames whose listed name it is;
// empty when there is none.
WideString UserListFile(WideStringView folder, WideStringView name);

// The items of the transliteration combo box: the built-in tables by their German or
// English names, then the user tables of the program folder.
TWideStrArray TransliterationTableNames(WideStringView programFolder, bool german);
