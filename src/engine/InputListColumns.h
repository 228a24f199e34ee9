// The columns of the input list `qulist`, shared by the engine that reads and updates the
// rows and the working window that builds them. The caption is the file name; the
// sub-items, by index:
#pragma once

#include <cstddef>

#include "text/WideTypes.h"

namespace InputListColumn {
inline constexpr size_t Format = 0;   // the extension without its dot, upper-cased ("TXT")
inline constexpr size_t Type = 1;     // the shell's type name of the file
inline constexpr size_t Codepage = 2; // the display name of the detected encoding
inline constexpr size_t Size = 3;     // the size in kilobytes ("1.500 KB")
inline constexpr size_t Status = 4;   // "New", "Changed", "Not Changed", with ", Marked"
inline constexpr size_t Path = 5;     // the full path: the key by which rows are matched
inline constexpr size_t Bytes = 6;    // the size in bytes, decimal (no column of its own)
inline constexpr size_t Count = 7;    // sub-items of a row
} // namespace InputListColumn

// A row counts as marked when its status text contains this word (case-sensitive): it
// matches the English "Marked" and the German "Markiert".
inline constexpr WideStringView kMarkedStatusWord = u"Mark";

inline bool IsMarkedStatus(WideStringView status) {
    return status.find(kMarkedStatusWord) != WideStringView::npos;
}
