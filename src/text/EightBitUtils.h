// Small routines over 8-bit strings: the integer test behind every number check,
// number lists such as "1-13,37", an 8-bit split, a fast replace-all, a sort of
// number texts by value, and colour values as six-digit hexadecimal texts.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/Exception.h"
#include "text/WideTypes.h"

// A text that is no number where one is required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// The integer conversion of the class library: leading blanks, an optional sign,
// then decimal digits within the 32-bit range, or "$", "0x" or "0X" followed by up
// to 8 hexadecimal digits (read as 32 bits). Returns false for anything else.
bool TryValInt32(std::string_view s, int32_t& value);
// True when s is such an integer.
bool IsNumeric(std::string_view s);

// Cuts text + separator at each first occurrence of separator and appends the
// fields to arr; returns the new length. An empty separator appends text whole.
size_t ExplodeA(TStrArray& arr, std::string_view separator, std::string_view text);
void ArrayAppendA(TStrArray& arr, std::string_view s);
// Removes item index (0-based), moving the later ones down; no-op when out of range.
void ArrayDeleteA(TStrArray& arr, size_t index);

// Parses a number list such as "1-13, 37; 40": blanks removed, ";" as ",", numbers
// below 1 dropped, ranges "a-b" (a < b) expanded to max(a, 0)..b but never past upperBound
// (callers pass the line or field count), other items dropped; sorted by value.
void ParseNumberListA(std::string_view text, TStrArray& numbers, int32_t upperBound);
// Sorts integer texts by value, ascending (a text that is no integer counts as 0).
void SortStrArrayByValueA(TStrArray& arr);

// Replaces every occurrence of find (left to right, not overlapping) by replace,
// with a Boyer-Moore-Horspool search. Case-insensitive compares the upper-case
// forms of the bytes in the ANSI code page. An empty find gives source unchanged; a result
// too large for memory gives an empty text.
AnsiString FastReplace(std::string_view source, std::string_view find, std::string_view replace,
                       bool caseSensitive);

// Colour values: red in bits 0-7, green in 8-15, blue in 16-23.
void ColorToRGBBytes(int32_t color, uint8_t& r, uint8_t& g, uint8_t& b);
// "RRGGBB", upper-case hexadecimal, red first.
AnsiString ColorToHexRGB(int32_t color);
// Characters 1-2, 3-4 and 5-6 as hexadecimal red, green and blue; raises
// EConvertError when a piece is no hexadecimal number.
int32_t HexRGBToColor(std::string_view s);
int32_t ColorToRGB24(int32_t color);
