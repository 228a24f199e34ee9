// The text of a file as the preview memos show it, and the way back from the old memo's
// text to the file's own line breaks.
#pragma once

#include "text/TextEncodings.h"
#include "text/WideTypes.h"

// Every NUL becomes a blank (a memo would end the text there). With CorrectLineBreaks, a
// text whose first line-break kind is LF, CR, U+0015, U+000C, U+0085, U+2028 or U+2029 gets
// every break of that kind as CR LF, so that the memo shows the lines; CR LF texts and texts
// without breaks stay as they are. Widened, when given, receives the kind whose breaks
// became CR LF, lbUnknown when none did.
WideString ReadableText(WideStringView Text, bool CorrectLineBreaks,
                        LineBreakCode* Widened = nullptr);

// The memo's text with the breaks that ReadableText widened from the kind Widened in their
// own form again: every CR LF becomes that break. A kind is widened only in a text without
// any CR LF, and where it is LF, no CR of the text stands before an LF; so every CR LF of
// the shown text is a widened break, and turning each back gives the file byte for byte.
// A CR LF the user typed (Enter), pasted or joined takes the file's break as well. With
// lbUnknown or lbCRLF (nothing was widened) the text stays exactly as it is.
WideString FileBreaksOfReadable(WideStringView Shown, LineBreakCode Widened);
