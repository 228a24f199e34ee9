// The text of a file as the preview memos show it.
#pragma once

#include "text/WideTypes.h"

// Every NUL becomes a blank (a memo would end the text there). With CorrectLineBreaks, a
// text whose first line-break kind is LF, CR, U+0015, U+000C, U+0085, U+2028 or U+2029 gets
// every break of that kind as CR LF, so that the memo shows the lines; CR LF texts and texts
// without breaks stay as they are.
WideString ReadableText(WideStringView Text, bool CorrectLineBreaks);
