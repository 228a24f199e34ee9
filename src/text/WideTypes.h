// Basic text types shared by every folder, and the one case mapping of the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using WideChar = char16_t;
using WideString = std::u16string; // UTF-16; may hold U+0000 and lone surrogates
using WideStringView = std::u16string_view;
using AnsiString = std::string; // bytes in a code page
using TWideStrArray = std::vector<WideString>;
using TStrArray = std::vector<AnsiString>;

// Case mapping is per UTF-16 unit, simple and length-preserving (like the Windows
// CharUpperBuffW): "ß" stays "ß", surrogate halves stay as they are.
WideChar WideUpperChar(WideChar c);
WideChar WideLowerChar(WideChar c);
WideString WideUpperCase(WideStringView s);
WideString WideLowerCase(WideStringView s);
// Compares through that upper case, unit by unit; a text that is a prefix of the other comes
// first. Negative, zero or positive.
int WideCompareText(WideStringView a, WideStringView b);

// Trimming removes characters up to U+0020 only.
WideString WideTrim(WideStringView s);
WideString WideTrimLeft(WideStringView s);
WideString WideTrimRight(WideStringView s);

// Convenience for literals and tests: UTF-8 source text to UTF-16 and back
// (strict, full Unicode; not the code-page conversions of the system layer).
WideString U16(std::string_view utf8);
std::string U8(WideStringView s);
