// The Unicode system layer: platform flags, the layer's exceptions, the code-page
// conversions (ANSI code pages, UTF-7, UTF-8) and the wide command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "text/Exception.h"
#include "text/WideTypes.h"

// Linux is Unicode throughout: the 8-bit fallback paths are not built.
constexpr bool UnicodePlatform = true;

constexpr uint32_t CP_UTF7 = 65000;
constexpr uint32_t CP_UTF8 = 65001;

// The ANSI code page, used for 8-bit text when code page 0 is given: 1252, or the
// Windows code page named by QUORBEL_ANSI_CODEPAGE. Set once at start-up.
extern const uint32_t DefaultCodePage;

// Bad input to the layer ("Invalid UTF7", "Unable to create directory").
class EUCodeGeneralError : public Exception {
public:
    using Exception::Exception;
};

// A broken invariant ("Buffer overflow", "UCode Internal Error: ...").
class EUCodeInternalError : public Exception {
public:
    using Exception::Exception;
};

// Code-page conversions. 0 = DefaultCodePage, 65000 = UTF-7, 65001 = UTF-8; a
// character the code page lacks becomes "?".
AnsiString WideToAnsiCP(WideStringView w, uint32_t codePage);
WideString AnsiToWideCP(std::string_view s, uint32_t codePage);

// UTF-8. The encoder writes a surrogate pair as one 4-byte sequence and a lone
// surrogate as 3 bytes, so every UTF-16 text round-trips. The decoder is strict:
// it accepts RFC 3629 and the 3-byte-per-surrogate form of older files, and gives
// an empty text for anything malformed (bad lead or continuation byte, overlong
// form, a text that ends inside a sequence).
AnsiString WideToUTF8(WideStringView w);
// Writes the UTF-8 form of w to out, which has room for three bytes per unit, in one
// pass; returns the number of bytes written.
size_t WideToUTF8Into(WideStringView w, char* out);
WideString UTF8ToWide(std::string_view s);
// The same decoder, telling malformed input apart from an empty text.
bool TryUTF8ToWide(std::string_view s, WideString& out);
// Decodes strict UTF-8 into `out` (room for one unit per byte); returns the units
// written, or -1 when s is not well-formed (out then holds rubbish).
ptrdiff_t UTF8ToWideInto(std::string_view s, WideChar* out);

// UTF-7 (RFC 2152). Malformed input raises EUCodeGeneralError "Invalid UTF7".
AnsiString WideToUTF7(WideStringView w);
// UTF-7 written a piece at a time: the pieces' encodings one after another, then
// Finish, are WideToUTF7 of the whole text.
class Utf7Encoder {
public:
    void Add(WideStringView w, AnsiString& out);
    void Finish(AnsiString& out);

private:
    void Flush(AnsiString& out);
    bool inRun_ = false;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
};
WideString UTF7ToWide(std::string_view s);

// File names and arguments as Linux hands them over (bytes, normally UTF-8) and back.
// Lossless: the bytes are read as strict UTF-8 (RFC 3629: no surrogate forms, no overlong
// forms), and a byte that is no part of it becomes the lone unit U+DC00 + byte, which
// WideToNative writes back as that byte; so every name read from disk round-trips exactly.
WideString NativeToWide(std::string_view s);
AnsiString WideToNative(WideStringView w);

// Swaps the two bytes of every unit in place.
void SwapUTF16ByteOrder(WideChar* p, size_t count);

// The default ANSI code page of a Windows locale id (LCID); DefaultCodePage for
// locales it does not know; 0 for locales that have no ANSI code page.
uint32_t LocaleToCodePage(uint32_t locale);

// A keyboard character: a code below 256 is a byte of the ANSI code page and is
// converted; a code from 256 up is returned unchanged.
WideChar KeyboardCharToWide(uint16_t ch);

// The command-line tokenizer: one parse step from position pos. Skips U+0001..U+0020
// and pairs of double quotes, then reads a token of characters above U+0020 in which
// a double quote opens a stretch (to the next quote or the end) that may hold blanks;
// the quotes are not part of the token. Returns the token and the position after it
// (an empty token when nothing is left).
std::pair<WideString, size_t> ParseCommandLineToken(WideStringView cmdLine, size_t pos);
// All tokens of a command line, the program name included, up to the first empty one.
TWideStrArray SplitCommandLineW(WideStringView cmdLine);

// The process's command line, set once by main. Arguments are UTF-8 (as Linux hands
// them over); empty arguments are dropped, as the Windows tokenizer drops "".
void InitWideCommandLine(int argc, const char* const* argv);
// The parameters after the program name.
int WideParamCount();
// 0: the executable's absolute path; 1..WideParamCount(): the parameters; else "".
WideString WideParamStr(int index);
// The command line as one text that SplitCommandLineW reads back: the executable
// path and the parameters, each quoted when it holds a blank or is empty.
WideString WideCommandLine();

// Returns value; raises EUCodeGeneralError with the text of errno when value is 0.
[[noreturn]] void RaiseLastOSError();
template <typename T> T UCodeWin32Check(T value) {
    if (!value) RaiseLastOSError();
    return value;
}
