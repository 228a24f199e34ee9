// The text side of replacement lists: a list is plain text, one entry per line
// ("search<delimiter>replacement", in the individual mode optionally followed by
// "<delimiter>reg=s" or "<delimiter>reg=sr"), kept in files whose first line "##" + mode
// code + delimiter says how to read the rest. A line break inside a search text or
// replacement is written as a placeholder. These routines turn entry lines into rows of the
// working window's replace list and back; they touch no widget.
//
// An empty delimiter would match everywhere (or nowhere, depending on the splitter), so it
// counts as a delimiter that never matches: such lines are skipped, never split.
#pragma once

#include <optional>
#include <vector>

#include "text/WideTypes.h"

// Which entries hold regular expressions: the four mode buttons of the list window.
enum class ReplaceListMode { None, SearchOnly, SearchAndReplacement, Individual };

// The regular-expression marks of the replace list's rows (second sub-item).
inline constexpr WideStringView kMarkNone = u"-";
inline constexpr WideStringView kMarkSearchOnly = u"x/-";
inline constexpr WideStringView kMarkBoth = u"x";
inline constexpr WideStringView kMarkReplacementOnly = u"-/x";

// The line-break placeholder when none is used: U+001F, which no typed text holds.
inline constexpr WideChar kUnitSeparator = 0x1F;

// One row of the replace list: caption, first and second sub-item.
struct ReplaceListRow {
    WideString search;
    WideString replacement;
    WideString mark;
    bool operator==(const ReplaceListRow&) const = default;
};

// "--", "X-", "XX" or "II".
WideStringView ListModeCode(ReplaceListMode Mode);
// The first line of a list file: "##", the mode code, the delimiter, CR LF.
WideString ListFileHeader(ReplaceListMode Mode, WideStringView Delimiter);
// True when FirstLine is a header line (it begins with "##"); the caller removes it. Mode and
// Delimiter are set only when the line goes on for more than two characters after "##": the
// first two choose the mode (an unknown code is the individual mode), the rest is the
// delimiter.
bool ReadListFileHeader(WideStringView FirstLine, ReplaceListMode& Mode, WideString& Delimiter);

// The placeholder that stands for a line break: the edit's text when the box is ticked and
// the text is not empty, else U+001F (an empty placeholder would delete every line break
// on reading back).
WideString LineBreakPlaceholder(bool Ticked, WideStringView Edit);

// The row of one entry line: nothing for a line of two characters or less, a line without
// the delimiter, or an empty delimiter. Search text and replacement get CR LF for every
// placeholder; the mark follows Mode (in the individual mode the trimmed third part: "reg=s"
// or "reg=sr", anything else none).
std::optional<ReplaceListRow> EntryLineToRow(WideStringView Line, WideStringView Delimiter,
                                             WideStringView Placeholder, ReplaceListMode Mode);

// The entry lines of the replace list's rows, each closed by CR LF, and the mode to select:
// one kind of mark for every row gives that mode and the same ending on every line, mixed
// marks give the individual mode with each line's own ending. An empty delimiter is "|".
// Mode is empty when there are no rows.
struct EntryLines {
    std::optional<ReplaceListMode> mode;
    WideString text;
};
EntryLines RowsToEntryLines(const std::vector<ReplaceListRow>& Rows, WideStringView Delimiter,
                            WideStringView Placeholder);

// Search text and replacement swapped: "a|b" gives "b|a", "a|b|c" gives "b|a|c"; a line of
// one part or of four or more, and every line for an empty delimiter, stays as it is.
WideString ReversedEntryLine(WideStringView Line, WideStringView Delimiter);
