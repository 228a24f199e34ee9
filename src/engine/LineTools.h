// The line tools of the action pipeline: re-flowing wrapped lines, sorting, wrapping long
// lines, trimming and numbering, in this order, on the lines of a text.
#pragma once

#include "engine/SettingsView.h"
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

// The text with the line tools applied that the act_zeilen_* settings tick; lineBreak is
// the pipeline's line-break text, used to split the text and to join the lines again.
WideString ApplyLineTools(const SettingsView& settings, WideStringView text,
                          WideStringView lineBreak);

// The single sub-steps, each on the list of lines.
TWideStrArray ReflowLines(const TWideStrArray& lines, int32_t range, bool intelligent,
                          bool joinWithBlank, WideStringView lineBreak);
void SortLines(TWideStrArray& lines, bool ascending, WideStringView from);
void WrapLines(TWideStrArray& lines, int32_t width, WideStringView lineBreak);
void NumberLines(TWideStrArray& lines, int32_t start, bool onlyEveryFifth);
