// The key filters of edits and combo boxes, for their OnKeyPress: a refused character is
// swallowed (Key := 0). File-name edits refuse " * / < > ? |; the renaming tool's mask
// and replacement edits also : and \; number edits take only digits and backspace.
#pragma once

#include "text/WideTypes.h"

inline void FileNameKeyFilter(WideChar& Key) {
    if (WideStringView(u"\"*/<>?|").find(Key) != WideStringView::npos) Key = 0;
}
inline void MaskKeyFilter(WideChar& Key) {
    if (WideStringView(u"\"*/:<>?\\|").find(Key) != WideStringView::npos) Key = 0;
}
inline void NumberKeyFilter(WideChar& Key) {
    if (!(Key >= u'0' && Key <= u'9') && Key != u'\b') Key = 0;
}
