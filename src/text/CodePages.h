// 8-bit code pages: the Windows-1252 table (exactly as Windows maps it) and the
// ANSI code page of this process, with iconv for any other Windows code page.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "text/WideTypes.h"

// The Windows-1252 byte -> UTF-16 table. Every byte is defined: the five holes of
// the code page (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
const std::array<WideChar, 256>& Cp1252Table();
// Decodes Windows-1252 bytes into `out`, which has room for one unit per byte.
void DecodeCp1252(std::string_view bytes, WideChar* out);
// Encodes s in Windows-1252 into `out` (room for one byte per unit; "?" for a character
// the code page lacks, one for a surrogate pair); returns the bytes written.
size_t EncodeCp1252(WideStringView s, char* out);

// The ANSI code page of the process: 1252, unless the environment variable
// QUORBEL_ANSI_CODEPAGE names another Windows code page (a decimal number).
uint32_t AnsiCodePageFromEnvironment();
// The same, read once per process (safe to call during static initialisation).
uint32_t ProcessAnsiCodePage();

// Conversions between UTF-16 and a Windows code page (not 0, 65000 or 65001: the
// callers resolve those). 1252 goes through the table above; any other code page
// goes through iconv "CP<n>". A character the code page lacks becomes "?", a byte
// sequence it cannot decode becomes U+003F.
AnsiString WideToCodePage(WideStringView s, uint32_t codePage);
WideString CodePageToWide(std::string_view s, uint32_t codePage);

// True when the code page can be converted here (1252 always; others when iconv knows them).
bool IsCodePageAvailable(uint32_t codePage);

// The upper-case form of every byte value in the given code page: the byte's
// character upper-cased per UTF-16 unit and mapped back when the code page holds
// the result as one byte, else the byte itself (cp1252: 0x9A -> 0x8A, 0xFF -> 0x9F,
// "ß" and "µ" unchanged).
std::array<uint8_t, 256> AnsiUpperByteMap(uint32_t codePage);
