// Quick scans over UTF-16 text that the search uses to skip start positions that
// cannot match (and to find the U+0000 that ends an input early).
#pragma once

#include "text/WideTypes.h"

namespace regex {

// Index of the first of `count` (1 to 3) units in text[from, end), or end.
int FindUnits(const WideChar* text, int from, int end, const WideChar* units, int count);

// Index of the first occurrence of `literal` (not empty) in text[from, end), or -1.
int FindText(const WideChar* text, int from, int end, const WideString& literal);

} // namespace regex
