#include "text/TextEncodings.h"

#include <vector>

#include <algorithm>

#include "text/Prefault.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr std::array<TextEncodingEntry, 9> EncodingTable{{
    {teANSI, "ANSI"},
    {teUTF16LE, "UTF-16 LE"},
    {teUTF16BE, "UTF-16 BE"},
    {teUTF7, "UTF-7"},
    {teUTF7Ansi, "UTF-7 ANSI"},
    {teUTF8, "UTF-8"},
    {teUTF8BOM, "UTF-8 BOM"},
    {teUTF32LE, "UTF-32 LE"},
    {teUTF32BE, "UTF-32 BE"},
}};

constexpr std::array<LineBreakEntry, 9> BreakTable{{
    {lbCRLF, u"\r\n", "CRLF - Windows, DOS, OS/2, CP/M, TOS"},
    {lbLF, u"\n", "LF - Unix, Linux, Mac OS X, AmigaOS, BSD"},
    {lbCR, u"\r", "CR - Mac OS, Apple II"},
    {lbNAK, u"\u0015", "NEL - AIX OS, OS/390"},
    {lbFF, u"\u000C", "FF - Unicode Form Feed"},
    {lbNEL, u"\u0085", "NEL - Unicode New Line"},
    {lbLS, u"\u2028", "LS - Unicode Line Seperator"},
    {lbPS, u"\u2029", "PS - Unicode Paragraph Separator"},
    {lbUnknown, u"", "Unknown"},
}};

// The display names are ASCII: the wide form is the same bytes widened.
WideString Widen(const char* ascii) {
    return WideString(ascii, ascii + std::char_traits<char>::length(ascii));
}

const LineBreakEntry* FindBreak(LineBreakCode code) {
    auto it = std::find_if(BreakTable.begin(), BreakTable.end(),
                           [code](const LineBreakEntry& e) { return e.Code == code; });
    return it == BreakTable.end() ? nullptr : &*it;
}

} // namespace

const std::array<TextEncodingEntry, 9>& TextEncodingTable() {
    return EncodingTable;
}

bool IsTextEncodingCode(TextEncodingCode Code) {
    return std::any_of(EncodingTable.begin(), EncodingTable.end(),
                       [Code](const TextEncodingEntry& e) { return e.Code == Code; });
}

WideString TextEncodingName(TextEncodingCode Code) {
    for (const auto& e : EncodingTable)
        if (e.Code == Code) return Widen(e.Name);
    return WideString();
}

TextEncodingCode EncodingFromMark(const unsigned char* Head, std::size_t Count, int64_t FileSize) {
    if (FileSize <= 1) return teANSI;
    // A short file reads as if the missing bytes were zero.
    unsigned char b[4] = {0, 0, 0, 0};
    std::copy_n(Head, std::min<std::size_t>(Count, 4), b);
    if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return teUTF8BOM;
    // U+FEFF as the first UTF-7 character: "+/v" and then 8, 9, + or /, depending on the
    // top bits of the character that follows it in the same run.
    if (b[0] == '+' && b[1] == '/' && b[2] == 'v' &&
        (b[3] == '8' || b[3] == '9' || b[3] == '+' || b[3] == '/'))
        return teUTF7;
    if (b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0 && FileSize > 2) return teUTF32LE;
    if (b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) return teUTF32BE;
    if (b[0] == 0xFF && b[1] == 0xFE) return teUTF16LE;
    if (b[0] == 0xFE && b[1] == 0xFF) return teUTF16BE;
    return NoMark;
}

bool ReadStrictUTF8(TStream& Stream, WideString* Text) {
    constexpr int64_t LargestPiece = 1 << 20;
    // No larger than the rest of the stream and one byte more (which shows its end): a
    // small file is not read through a large buffer cleared for nothing.
    const int64_t left = Stream.Size() - Stream.Position();
    const auto Piece = static_cast<std::size_t>(std::clamp<int64_t>(left + 1, 4, LargestPiece));
    std::string buffer(Piece + 4, '\0');
    WideString units;
    std::size_t carried = 0, decoded = 0;
    for (;;) {
        const std::size_t got = Stream.Read(buffer.data() + carried, Piece);
        const std::size_t length = carried + got;
        const bool atEnd = got < Piece;
        // A piece ends before the lead byte of a sequence that may run into the next one.
        std::size_t cut = length;
        if (!atEnd) {
            std::size_t i = length - 1;
            while (i > length - 4 && (static_cast<uint8_t>(buffer[i]) & 0xC0) == 0x80)
                --i;
            if (static_cast<uint8_t>(buffer[i]) >= 0xC0) cut = i;
        }
        // Decoded straight into the text, or into a scratch piece when only checking.
        WideString& into = Text ? *Text : units;
        const std::size_t at = Text ? Text->size() : 0;
        if (Text && into.capacity() >= at + cut)
            PrefaultForWriting(into.data() + at, cut * sizeof(WideChar));
        into.resize(at + cut);
        const ptrdiff_t n = UTF8ToWideInto(std::string_view(buffer.data(), cut), into.data() + at);
        if (n < 0) {
            into.resize(at);
            return false;
        }
        into.resize(at + static_cast<std::size_t>(n));
        decoded += static_cast<std::size_t>(n);
        carried = length - cut;
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(cut),
                  buffer.begin() + static_cast<std::ptrdiff_t>(length), buffer.begin());
        if (atEnd) return decoded > 0;
    }
}

namespace {

// True when the stream's rest after the four-byte mark FF FE 00 00 is whole UTF-32 LE code
// points (none above U+10FFFF, none a surrogate). A UTF-16 LE text that starts with U+0000
// has the same first four bytes, and rarely this form after them.
bool RestIsUTF32LE(TStream& Stream, int64_t FileSize) {
    if (FileSize < 4) return true; // a short file's missing bytes count as zero
    if ((FileSize - 4) % 4 != 0) return false;
    Stream.SetPosition(4);
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        const std::size_t got = Stream.Read(buffer.data(), buffer.size());
        for (std::size_t i = 0; i + 4 <= got; i += 4) {
            const uint32_t cp = buffer[i] | (buffer[i + 1] << 8) | (buffer[i + 2] << 16) |
                                (uint32_t(buffer[i + 3]) << 24);
            if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        }
        if (got < buffer.size()) return true;
    }
}

} // namespace

TextEncodingCode EncodingFromStreamMark(TStream& Stream) {
    const int64_t size = Stream.Size();
    Stream.SetPosition(0);
    unsigned char head[4];
    const std::size_t got = Stream.Read(head, sizeof head);
    const TextEncodingCode code = EncodingFromMark(head, got, size);
    if (code == teUTF32LE && !RestIsUTF32LE(Stream, size)) return teUTF16LE;
    return code;
}

TextEncodingCode DetectFileEncoding(const WideString& FileName) {
    TUCodeFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    TextEncodingCode code = EncodingFromStreamMark(stream);
    if (code != NoMark) return code;
    stream.SetPosition(0);
    return ReadStrictUTF8(stream, nullptr) ? teUTF8 : teANSI;
}

WideString GetFileEncodingName(const WideString& FileName) {
    return TextEncodingName(DetectFileEncoding(FileName));
}

const std::array<LineBreakEntry, 9>& LineBreakTable() {
    return BreakTable;
}

LineBreakCode DetectLineBreak(WideStringView Text) {
    // One pass noting which kinds occur; CR LF, the first of the table, ends it at once.
    // A CR or LF inside a CR LF never decides, as CR LF comes first.
    bool lf = false, cr = false, nak = false, ff = false, nel = false, ls = false, ps = false;
    const std::size_t n = Text.size();
    for (std::size_t i = 0; i < n; ++i) {
        switch (Text[i]) {
        case u'\r':
            if (i + 1 < n && Text[i + 1] == u'\n') return lbCRLF;
            cr = true;
            break;
        case u'\n':
            lf = true;
            break;
        case 0x0015:
            nak = true;
            break;
        case 0x000C:
            ff = true;
            break;
        case 0x0085:
            nel = true;
            break;
        case 0x2028:
            ls = true;
            break;
        case 0x2029:
            ps = true;
            break;
        default:
            break;
        }
    }
    return lf    ? lbLF
           : cr  ? lbCR
           : nak ? lbNAK
           : ff  ? lbFF
           : nel ? lbNEL
           : ls  ? lbLS
           : ps  ? lbPS
                 : lbUnknown;
}

LineBreakCode LineBreakFromName(WideStringView Name) {
    for (const auto& e : BreakTable)
        if (Name == Widen(e.Name)) return e.Code;
    return lbCRLF;
}

std::string LineBreakNameA(LineBreakCode Code) {
    const LineBreakEntry* e = FindBreak(Code);
    return e ? std::string(e->Name) : std::string();
}

WideString LineBreakNameW(LineBreakCode Code) {
    const LineBreakEntry* e = FindBreak(Code);
    return e ? Widen(e->Name) : WideString();
}

WideString LineBreakString(LineBreakCode Code) {
    const LineBreakEntry* e = FindBreak(Code);
    return e && Code != lbUnknown ? WideString(e->Break) : WideString(u"\r\n");
}
