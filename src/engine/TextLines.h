// A text as a list of lines and back, at a given line-break text.
#pragma once

#include "text/WideTypes.h"

// The lines of a text split at the line-break text. A line break at the very end closes the
// last line rather than opening an empty one after it: it is remembered in finalBreak and
// written again by JoinTextLines. An empty text has no lines.
struct TextLines {
    TWideStrArray lines;
    bool finalBreak = false;
};
TextLines SplitTextLines(WideStringView text, WideStringView lineBreak);
// The lines joined with the line-break text, with a final one when finalBreak is set and a
// line is left.
WideString JoinTextLines(const TWideStrArray& lines, WideStringView lineBreak, bool finalBreak);
