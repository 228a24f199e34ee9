// Profile files: the INI format of Windows' private profile calls, read and written by
// our own engine.
//
// A file is a sequence of lines. A line "[Name]" opens a section; inside a section a line
// "Key=Value" is an entry; every other line (comments beginning with ";", blank lines,
// anything before the first section) is kept as it stands. Section and key names are trimmed and
// compared case-insensitively, the first matching section and the first matching key in it win. A
// value is trimmed on reading and loses one enclosing pair of ' or " quotes.
//
// Files are parsed once and kept in a process-wide cache per absolute path; a cached copy
// is read again when the file's size, time or inode changed behind our back. Writes change
// only the cached copy and mark it dirty; ProfileFlush writes the whole file once, through
// a temporary file renamed over the target, in the file's own encoding.
#pragma once

#include <cstdint>
#include <optional>

#include "text/WideTypes.h"

enum class ProfileEncoding {
    Ansi,    // no mark, bytes of the ANSI code page
    Utf8,    // no mark, text that decodes as UTF-8
    Utf8Bom, // EF BB BF
    Utf16LE, // FF FE
    Utf16BE, // FE FF (read and kept, so such a file is never mangled)
};

// The value of Key in Section, or nothing when the file, the section or the key is missing.
std::optional<WideString> ProfileReadString(WideStringView fileName, WideStringView section,
                                            WideStringView key);
// The names of all sections, in file order.
TWideStrArray ProfileReadSectionNames(WideStringView fileName);
// The keys of the (first) section Section, in file order; empty when there is none.
TWideStrArray ProfileReadKeyNames(WideStringView fileName, WideStringView section);

// Sets Key in Section to Value (stored as it stands: the caller quotes). An existing entry
// keeps its line; a new key goes after the last entry of its section, a new section at the
// end of the file. Returns false, changing nothing, when the file cannot be written (checked
// at the first change after opening or flushing) or when the names or the value cannot be
// stored as one line (a line break anywhere, a key holding "=" or beginning with "[" or ";",
// a section name holding "]").
bool ProfileWriteString(WideStringView fileName, WideStringView section, WideStringView key,
                        WideStringView value);
// Removes the first entry Key of Section. Returns false when a change could not be made.
bool ProfileDeleteKey(WideStringView fileName, WideStringView section, WideStringView key);
// Removes the first section Section with all its lines. Returns false as ProfileDeleteKey.
bool ProfileEraseSection(WideStringView fileName, WideStringView section);

// Writes the cached copy of the file when it holds changes. Returns false when that fails;
// the changes then stay in the cache for a later flush.
bool ProfileFlush(WideStringView fileName);

// The encoding the cached copy of the file will be written in. After its next flush an ANSI
// file is UTF-8 with a mark when it received characters outside the code page, or when it
// lost its last line that is no UTF-8 while it still holds bytes beyond ASCII (a file
// without a mark whose lines are all UTF-8 is read as UTF-8).
ProfileEncoding ProfileFileEncoding(WideStringView fileName);

// The number of files written by ProfileFlush since the program started.
uint64_t ProfileRewriteCount();
