// The two small codes that describe a text file: how its characters are stored as bytes
// (TextEncodingCode) and which characters end its lines (LineBreakCode), with their display
// names, the detection of a file's encoding from its bytes and of a text's line-break kind.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/WideTypes.h"

class TStream;

using TextEncodingCode = int32_t;
using LineBreakCode = int32_t;

// Encodings. Whether 1200, 1201, 65000, 65005 and 65006 get a byte order mark is up to the
// writer; 64999 and 65001 never have one, 65002 always, 0 never.
constexpr TextEncodingCode teANSI = 0;         // 8-bit text in the ANSI code page
constexpr TextEncodingCode teUTF16LE = 1200;   // mark FF FE
constexpr TextEncodingCode teUTF16BE = 1201;   // mark FE FF
constexpr TextEncodingCode teUTF7 = 65000;     // mark: U+FEFF as the first UTF-7 character
constexpr TextEncodingCode teUTF7Ansi = 64999; // UTF-7 without the mark
constexpr TextEncodingCode teUTF8 = 65001;     // no mark
constexpr TextEncodingCode teUTF8BOM = 65002;  // mark EF BB BF
constexpr TextEncodingCode teUTF32LE = 65005;  // mark FF FE 00 00
constexpr TextEncodingCode teUTF32BE = 65006;  // mark 00 00 FE FF

struct TextEncodingEntry {
    TextEncodingCode Code;
    const char* Name;
};
// The nine codes with their display names ("ANSI", "UTF-16 LE", ...).
const std::array<TextEncodingEntry, 9>& TextEncodingTable();
bool IsTextEncodingCode(TextEncodingCode Code);
// The display name of a code; empty for a value that is no code.
WideString TextEncodingName(TextEncodingCode Code);

// The encoding of a file from its bytes: a byte order mark decides (EF BB BF, the four UTF-7
// signatures "+/v8" "+/v9" "+/v+" "+/v/", FF FE 00 00 as EncodingFromStreamMark settles it,
// 00 00 FE FF, FF FE, FE FF); a file
// without one is UTF-8 (65001) when all of it is well-formed UTF-8, else ANSI (0). A file
// of at most one byte is ANSI. Never 64999. Raises the file stream's open error.
TextEncodingCode DetectFileEncoding(const WideString& FileName);
// The display name of DetectFileEncoding's result.
WideString GetFileEncodingName(const WideString& FileName);

// The code that the byte order mark at the start of a file gives, from its first Count (at
// most 4) bytes and its size; NoMark when it has none and the content must decide.
constexpr TextEncodingCode NoMark = -1;
TextEncodingCode EncodingFromMark(const unsigned char* Head, std::size_t Count, int64_t FileSize);
// The same for a whole stream, which settles FF FE 00 00: UTF-32 LE only when the length
// after the mark is a multiple of 4 and every unit is a code point, else UTF-16 LE (a UTF-16
// LE text starting with U+0000). Leaves the stream's position anywhere.
TextEncodingCode EncodingFromStreamMark(TStream& Stream);
// Decodes the rest of a stream as strict UTF-8, piece by piece (so that detection holds no
// more than a piece in memory), appending the text to *Text when given. True when all of it
// is well-formed and it holds at least one character.
bool ReadStrictUTF8(TStream& Stream, WideString* Text);

// Line breaks, in detection order.
constexpr LineBreakCode lbCRLF = 1310;
constexpr LineBreakCode lbLF = 10;
constexpr LineBreakCode lbCR = 13;
constexpr LineBreakCode lbNAK = 21;    // U+0015, the EBCDIC new line
constexpr LineBreakCode lbFF = 10000;  // U+000C
constexpr LineBreakCode lbNEL = 10085; // U+0085
constexpr LineBreakCode lbLS = 12028;  // U+2028
constexpr LineBreakCode lbPS = 12029;  // U+2029
constexpr LineBreakCode lbUnknown = 0; // no break found

struct LineBreakEntry {
    LineBreakCode Code;
    const char16_t* Break; // empty for lbUnknown
    const char* Name;
};
// The nine rows with their display names ("CRLF - Windows, DOS, OS/2, CP/M, TOS", ...).
const std::array<LineBreakEntry, 9>& LineBreakTable();

// The first kind of the table that occurs anywhere in Text; 0 when none does.
LineBreakCode DetectLineBreak(WideStringView Text);
// The code whose display name equals Name exactly; "Unknown" gives 0, any other text 1310.
LineBreakCode LineBreakFromName(WideStringView Name);
// The display name of a code, as 8-bit and as wide text; empty for a value not in the table.
std::string LineBreakNameA(LineBreakCode Code);
WideString LineBreakNameW(LineBreakCode Code);
// The break characters of a code; CR LF for 0, 1310 and any value not in the table.
WideString LineBreakString(LineBreakCode Code);
