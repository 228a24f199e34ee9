// Places inside a very long line where a wrapped row always ends, chosen from the text
// around each alone: the rows between two of them depend on that stretch only, so the
// rows far into a line of megabytes are wrapped without the rows before them, and an
// edit moves only the places near it.
#pragma once

#include <vector>

namespace memo_anchors {

// A line shorter than this has none.
constexpr int kLongLine = 8192;

// The places inside a line of Length units (offsets from its start, ascending, each a
// place where the line-breaking rules allow a row to end, never at either end): about
// one in every two or three thousand units, none within 512 units of another.
std::vector<int> InLine(const char16_t* Text, int Length);

// The places of a line after an edit inside it replaced the units from Start to OldEnd
// (offsets in the line) by those from Start to NewEnd; Old are its places as they were,
// moved with their text, those in the removed units gone. Only the places near the edit
// and near the line's end are looked for anew.
std::vector<int> AfterEdit(const char16_t* Text, int Length, int Start, int OldEnd, int NewEnd,
                           const std::vector<int>& Old);

// Whether New differs from Old; First and Last are then the first and last place that
// came or went.
bool Differ(const std::vector<int>& Old, const std::vector<int>& New, int& First, int& Last);

} // namespace memo_anchors
