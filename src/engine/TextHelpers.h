// Small text helpers the engine's steps share.
#pragma once

#include <cstdint>
#include <string>

#include "text/WideTypes.h"

// n written in decimal digits, with a leading "-" when negative.
inline WideString Decimal(int64_t n) {
    return U16(std::to_string(n));
}

// True when part occurs in text (case-sensitive; an empty part always occurs).
inline bool Contains(WideStringView text, WideStringView part) {
    return text.find(part) != WideStringView::npos;
}
