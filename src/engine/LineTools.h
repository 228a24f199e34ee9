// The line tools of the action pipeline: re-flowing wrapped lines, sorting, wrapping long
// lines, trimming and numbering, in this order, on the lines of a text.
#pragma once

#include "engine/SettingsView.h"
#include "engine/TextLines.h"
#include "text/WideTypes.h"

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
