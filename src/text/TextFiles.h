// The text-file codec: reads any text file into one UTF-16 text, decoded by its detected
// encoding, and writes a UTF-16 text to a file in any of the nine encodings, with or
// without a byte order mark; a file name with a picture extension is handed to the picture
// renderer instead.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "text/TextEncodings.h"
#include "text/WideTypes.h"

// ---- Surrogates and code points ----

inline bool IsHighSurrogate(WideChar C) {
    return C >= 0xD800 && C <= 0xDBFF;
}
inline bool IsLowSurrogate(WideChar C) {
    return C >= 0xDC00 && C <= 0xDFFF;
}
// The code point of a pair; 63 ("?") when High is no high or Low no low surrogate.
uint32_t SurrogatePairToCodePoint(WideChar High, WideChar Low);
// The code point at the 1-based Index: a pair gives its code point and Count 2; any other
// unit itself and Count 1, except a low surrogate, a high surrogate without a low one after
// it, which give 63 and Count 1. An Index outside 1..Length gives 63 and Count 0.
uint32_t CodePointAtW(WideStringView Text, int Index, int& Count);
// One unit below U+10000, a pair up to U+10FFFF, "?" above it and for U+D800..U+DFFF.
WideString CodePointToUTF16(uint32_t CodePoint);

// UTF-8 of a file that carries the UTF-8 byte order mark: well-formed sequences (those the
// strict decoder accepts) are decoded, and every byte that is not part of one becomes its
// Windows-1252 character, so that a stray byte never costs the rest of the text.
WideString UTF8ToWideLenient(std::string_view Bytes);

// ---- Files ----

// Reads and decodes a file; the encoding it was detected in goes to *Detected when given.
// Raises the file stream's open error, and "Invalid UTF7" for malformed UTF-7.
void LoadTextFileW(const WideString& FileName, WideString& Text,
                   TextEncodingCode* Detected = nullptr);

// Writes Text to FileName in Encoding (WithBOM matters for 1200, 1201, 65000, 65005 and
// 65006). An existing file is replaced only by the complete new one: a failure raises the
// create error ("Cannot create file "%s". %s") and leaves it as it was. A code outside the
// table writes nothing and returns false. Names ending in .BMP, .GIF, .JPG or .JPEG (any
// case) go to the picture renderer, whose result is returned.
bool SaveTextFileW(const WideString& Text, const WideString& FileName, TextEncodingCode Encoding,
                   bool WithBOM);

// True when the upper-cased extension of FileName, dot included, is a picture extension.
bool IsPictureFileName(WideStringView FileName);

// The renderer that draws a text as a picture file; it returns true when the picture was
// saved. Until one is set, saving under a picture name returns false. Setting one gives
// back the one it replaces.
using TextPictureRenderer = std::function<bool(const WideString& Text, const WideString& FileName)>;
TextPictureRenderer SetTextPictureRenderer(TextPictureRenderer Renderer);
