#include "text/TextFiles.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "text/CodePages.h"
#include "text/Prefault.h"
#include "text/SafeFileWrite.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr bool HostIsBigEndian = std::endian::native == std::endian::big;
// Units converted and written at a time when saving: big enough to keep the system calls
// few, small enough that no second copy of a large text is ever made.
constexpr std::size_t ChunkUnits = 1 << 16;

void AppendCodePoint(WideString& out, uint32_t cp) {
    if (cp < 0x10000 && !(cp >= 0xD800 && cp <= 0xDFFF)) {
        out.push_back(static_cast<WideChar>(cp));
    } else if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<WideChar>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<WideChar>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(u'?');
    }
}

bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at p (n bytes left), or 0 when the lead byte
// does not start one. The same forms as the strict decoder: RFC 3629 and the 3-byte form of
// surrogates (ED A0..BF xx) that older files contain.
int SequenceLength(const uint8_t* p, std::size_t n) {
    const uint8_t b = p[0];
    if (b >= 0xC2 && b <= 0xDF) return n >= 2 && IsContinuation(p[1]) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (n < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return 0;
        return b == 0xE0 && p[1] < 0xA0 ? 0 : 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (n < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) || !IsContinuation(p[3]))
            return 0;
        if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] > 0x8F)) return 0;
        return 4;
    }
    return 0;
}

WideString DecodeUTF32(std::string_view bytes, bool bigEndian) {
    const std::size_t count = bytes.size() / 4; // a trailing 1 to 3 bytes are ignored
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    WideString text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        uint32_t cp =
            bigEndian
                ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]
                : (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        AppendCodePoint(text, cp);
    }
    return text;
}

// Code points of UTF-16 units for UTF-32: a low surrogate is skipped (a pair's was taken
// with its high surrogate, a lone one is dropped); a high surrogate is combined with the
// unit after it ("?" when that is no low surrogate).
void EncodeUTF32(WideStringView units, bool bigEndian, std::string& out) {
    out.clear();
    out.reserve(units.size() * 4);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const WideChar c = units[i];
        if (IsLowSurrogate(c)) continue;
        uint32_t cp = c;
        if (IsHighSurrogate(c))
            cp = i + 1 < units.size() ? SurrogatePairToCodePoint(c, units[i + 1]) : u'?';
        const char b[4] = {char(cp & 0xFF), char((cp >> 8) & 0xFF), char((cp >> 16) & 0xFF),
                           char(cp >> 24)};
        if (bigEndian)
            out.append({b[3], b[2], b[1], b[0]});
        else
            out.append(b, 4);
    }
}

// Calls write(piece) for consecutive pieces of text that never end between the two halves
// of a surrogate pair; stops at the first false.
template <class Write> bool ForEachPiece(WideStringView text, Write write) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = std::min(pos + ChunkUnits, text.size());
        if (end < text.size() && IsHighSurrogate(text[end - 1])) ++end;
        if (!write(text.substr(pos, end - pos))) return false;
        pos = end;
    }
    return true;
}

bool WriteBytes(TSafeFileWriter& writer, std::string_view bytes) {
    return writer.Write(bytes.data(), bytes.size());
}

bool WriteUTF16(TSafeFileWriter& writer, WideStringView text, bool bigEndian) {
    if (bigEndian == HostIsBigEndian)
        return ForEachPiece(text, [&](WideStringView units) {
            return writer.Write(units.data(), units.size() * 2);
        });
    WideString piece;
    return ForEachPiece(text, [&](WideStringView units) {
        piece.assign(units);
        SwapUTF16ByteOrder(piece.data(), piece.size());
        return writer.Write(piece.data(), piece.size() * 2);
    });
}

// Writes the text in an encoding of the table; false when the writer failed.
bool WriteEncoded(TSafeFileWriter& writer, const WideString& text, TextEncodingCode encoding,
                  bool withBOM) {
    if (!writer.IsOpen()) return false;
    std::string bytes;
    // The units of the longest piece: a short text is not encoded through a buffer of the
    // largest piece, cleared for nothing.
    const std::size_t pieceUnits = std::min(text.size(), ChunkUnits) + 1;
    switch (encoding) {
    case teUTF16LE:
    case teUTF16BE: {
        const bool bigEndian = encoding == teUTF16BE;
        if (withBOM && !WriteBytes(writer, bigEndian ? "\xFE\xFF" : "\xFF\xFE")) return false;
        return WriteUTF16(writer, text, bigEndian);
    }
    case teUTF32LE:
    case teUTF32BE: {
        const bool bigEndian = encoding == teUTF32BE;
        if (withBOM && !WriteBytes(writer, bigEndian ? std::string_view("\0\0\xFE\xFF", 4)
                                                     : std::string_view("\xFF\xFE\0\0", 4)))
            return false;
        return ForEachPiece(text, [&](WideStringView units) {
            EncodeUTF32(units, bigEndian, bytes);
            return WriteBytes(writer, bytes);
        });
    }
    case teUTF8BOM:
        if (!WriteBytes(writer, "\xEF\xBB\xBF")) return false;
        [[fallthrough]];
    case teUTF8: {
        // One pass per piece into a buffer sized once for the longest piece.
        bytes.resize(pieceUnits * 3);
        return ForEachPiece(text, [&](WideStringView units) {
            return writer.Write(bytes.data(), WideToUTF8Into(units, bytes.data()));
        });
    }
    case teUTF7:
    case teUTF7Ansi: {
        Utf7Encoder encoder;
        bytes.reserve(pieceUnits * 3 + 8);
        // U+FEFF as the first character makes the file begin "+/v".
        if (encoding == teUTF7 && withBOM) encoder.Add(u"\uFEFF", bytes);
        const bool written = ForEachPiece(text, [&](WideStringView units) {
            encoder.Add(units, bytes);
            const bool ok = WriteBytes(writer, bytes);
            bytes.clear();
            return ok;
        });
        encoder.Finish(bytes);
        return written && WriteBytes(writer, bytes);
    }
    case teANSI:
        if (ProcessAnsiCodePage() == 1252) {
            bytes.resize(pieceUnits);
            return ForEachPiece(text, [&](WideStringView units) {
                return writer.Write(bytes.data(), EncodeCp1252(units, bytes.data()));
            });
        }
        return ForEachPiece(text, [&](WideStringView units) {
            bytes = WideToAnsiCP(units, 0);
            return WriteBytes(writer, bytes);
        });
    default:
        return false;
    }
}

// The rest of the stream (of `size` bytes) in the ANSI code page. Windows-1252 gives one
// unit per byte, so it is decoded a piece at a time straight into the text, and the
// file's bytes are never held whole beside it; another code page may spread a character
// over two bytes and is decoded whole.
WideString ReadStreamRestAnsi(TStream& stream, int64_t size) {
    if (ProcessAnsiCodePage() != 1252) return AnsiToWideCP(ReadStreamRest(stream), 0);
    constexpr std::size_t kPiece = std::size_t(1) << 20;
    std::string piece(kPiece, '\0');
    WideString text;
    text.reserve(static_cast<std::size_t>(std::max<int64_t>(size, 0)));
    for (;;) {
        const std::size_t got = stream.Read(piece.data(), kPiece);
        const std::size_t at = text.size();
        if (text.capacity() >= at + got)
            PrefaultForWriting(text.data() + at, got * sizeof(WideChar));
        text.resize(at + got);
        DecodeCp1252(std::string_view(piece.data(), got), text.data() + at);
        if (got < kPiece) return text;
    }
}

TextPictureRenderer& PictureRenderer() {
    static TextPictureRenderer renderer;
    return renderer;
}

} // namespace

uint32_t SurrogatePairToCodePoint(WideChar High, WideChar Low) {
    if (!IsHighSurrogate(High) || !IsLowSurrogate(Low)) return u'?';
    return (uint32_t(High) - 0xD800) * 1024 + (uint32_t(Low) - 0xDC00) + 0x10000;
}

uint32_t CodePointAtW(WideStringView Text, int Index, int& Count) {
    if (Index < 1 || static_cast<std::size_t>(Index) > Text.size()) {
        Count = 0;
        return u'?';
    }
    Count = 1;
    const std::size_t i = static_cast<std::size_t>(Index) - 1;
    const WideChar c = Text[i];
    if (!IsHighSurrogate(c) && !IsLowSurrogate(c)) return c;
    if (IsLowSurrogate(c) || i + 1 >= Text.size() || !IsLowSurrogate(Text[i + 1])) return u'?';
    Count = 2;
    return SurrogatePairToCodePoint(c, Text[i + 1]);
}

WideString CodePointToUTF16(uint32_t CodePoint) {
    WideString s;
    AppendCodePoint(s, CodePoint);
    return s;
}

WideString UTF8ToWideLenient(std::string_view Bytes) {
    WideString text;
    if (TryUTF8ToWide(Bytes, text)) return text;
    // Never more units than bytes (a 4-byte sequence gives two).
    text.resize(Bytes.size());
    const std::array<WideChar, 256>& cp1252 = Cp1252Table();
    const auto* p = reinterpret_cast<const uint8_t*>(Bytes.data());
    const std::size_t n = Bytes.size();
    WideChar* o = text.data();
    std::size_t i = 0;
    while (i < n) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            *o++ = b;
            ++i;
            continue;
        }
        const int length = SequenceLength(p + i, n - i);
        switch (length) {
        case 2:
            *o++ = static_cast<WideChar>(((b & 0x1F) << 6) | (p[i + 1] & 0x3F));
            break;
        case 3:
            *o++ = static_cast<WideChar>(((b & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) |
                                         (p[i + 2] & 0x3F));
            break;
        case 4: {
            uint32_t cp = (uint32_t(b & 0x07) << 18) | (uint32_t(p[i + 1] & 0x3F) << 12) |
                          (uint32_t(p[i + 2] & 0x3F) << 6) | (p[i + 3] & 0x3F);
            cp -= 0x10000;
            *o++ = static_cast<WideChar>(0xD800 + (cp >> 10));
            *o++ = static_cast<WideChar>(0xDC00 + (cp & 0x3FF));
            break;
        }
        default: // not part of a well-formed sequence
            *o++ = cp1252[b];
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(length);
    }
    text.resize(static_cast<std::size_t>(o - text.data()));
    return text;
}

void LoadTextFileW(const WideString& FileName, WideString& Text, TextEncodingCode* Detected) {
    TUCodeFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    const int64_t size = stream.Size();
    TextEncodingCode code = EncodingFromStreamMark(stream);
    WideString text;
    switch (code) {
    case teUTF16LE:
    case teUTF16BE:
        stream.SetPosition(2);
        text = ReadStreamRestUTF16(stream, code == teUTF16BE);
        break;
    case teUTF8BOM:
        // Well-formed UTF-8 (nearly always) is decoded a piece at a time straight into the
        // text; anything else is read whole and decoded leniently.
        stream.SetPosition(3);
        text.reserve(static_cast<std::size_t>(std::max<int64_t>(size - 3, 0)));
        if (!ReadStrictUTF8(stream, &text)) {
            WideString().swap(text);
            stream.SetPosition(3);
            text = UTF8ToWideLenient(ReadStreamRest(stream));
        }
        break;
    case teUTF7:
        // The whole file is UTF-7: the mark is the character U+FEFF at its start, and the
        // run that holds it may go on with the first characters of the text.
        stream.SetPosition(0);
        text = UTF7ToWide(ReadStreamRest(stream));
        if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
        break;
    case teUTF32LE:
    case teUTF32BE:
        stream.SetPosition(4);
        text = DecodeUTF32(ReadStreamRest(stream), code == teUTF32BE);
        break;
    default:
        // Without a mark: UTF-8 when all of it is well-formed, decoded straight into the
        // text; else the bytes are read again as ANSI.
        if (code == NoMark) {
            stream.SetPosition(0);
            text.reserve(static_cast<std::size_t>(size));
            code = ReadStrictUTF8(stream, &text) ? teUTF8 : teANSI;
        }
        if (code == teANSI) {
            WideString().swap(text);
            stream.SetPosition(0);
            text = ReadStreamRestAnsi(stream, size);
        }
        break;
    }
    Text = std::move(text);
    if (Detected) *Detected = code;
}

bool IsPictureFileName(WideStringView FileName) {
    const std::size_t slash = FileName.rfind(u'/');
    const std::size_t dot = FileName.rfind(u'.');
    if (dot == WideStringView::npos || (slash != WideStringView::npos && dot < slash)) return false;
    const WideString ext = WideUpperCase(FileName.substr(dot));
    return ext == u".BMP" || ext == u".GIF" || ext == u".JPG" || ext == u".JPEG";
}

TextPictureRenderer SetTextPictureRenderer(TextPictureRenderer Renderer) {
    return std::exchange(PictureRenderer(), std::move(Renderer));
}

bool SaveTextFileW(const WideString& Text, const WideString& FileName, TextEncodingCode Encoding,
                   bool WithBOM) {
    if (IsPictureFileName(FileName)) {
        const TextPictureRenderer& renderer = PictureRenderer();
        return renderer ? renderer(Text, FileName) : false;
    }
    // An unknown code must not cost an existing file anything.
    if (!IsTextEncodingCode(Encoding)) return false;
    const std::string native = NativePath(FileName);
    TSafeFileWriter writer(native);
    if (!WriteEncoded(writer, Text, Encoding, WithBOM) || !writer.Commit())
        RaiseFileCreateError(native, writer.ErrorText());
    return true;
}
