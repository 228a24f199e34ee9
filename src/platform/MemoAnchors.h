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
// one in every few thousand units, none within a thousand units of another.
std::vector<int> InLine(const char16_t* Text, int Length);

// How far around an edit the places may change: a place depends on the units from this
// many before it to kReachAfter behind it.
constexpr int kReachBefore = 1024 + 32 + 64;
constexpr int kReachAfter = 96;

} // namespace memo_anchors
