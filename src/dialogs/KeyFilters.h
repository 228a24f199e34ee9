// The key filters of edits and combo boxes, for their OnKeyPress: a refused character is
// swallowed (Key := 0). File-name edits refuse " * / < > ? |; the renaming tool's mask
// and replacement edits and the output name boxes also : and \; folder fields take "/",
// which separates the folders of a path, and refuse the other characters no name may hold;
// number edits take only digits and backspace.
#pragma once

#include "text/WideTypes.h"

inline constexpr WideStringView kFileNameRefused = u"\"*/<>?|";
inline constexpr WideStringView kMaskRefused = u"\"*/:<>?\\|";
inline constexpr WideStringView kFolderPathRefused = u"\"*<>?|";

inline bool IsRefusedKey(WideChar Key, WideStringView Refused) {
    return Key != 0 && Refused.find(Key) != WideStringView::npos;
}
inline void FileNameKeyFilter(WideChar& Key) {
    if (IsRefusedKey(Key, kFileNameRefused)) Key = 0;
}
inline void MaskKeyFilter(WideChar& Key) {
    if (IsRefusedKey(Key, kMaskRefused)) Key = 0;
}
inline void FolderPathKeyFilter(WideChar& Key) {
    if (IsRefusedKey(Key, kFolderPathRefused)) Key = 0;
}
inline void NumberKeyFilter(WideChar& Key) {
    if (!(Key >= u'0' && Key <= u'9') && Key != u'\b') Key = 0;
}
