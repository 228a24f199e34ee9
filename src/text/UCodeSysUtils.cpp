#include "text/UCodeSysUtils.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>

#include "text/CodePages.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isHigh(WideChar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(WideChar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// ---- UTF-8 -----------------------------------------------------------------

// Exact length of the UTF-8 form of s (pairs 4 bytes, every other unit 1-3 bytes).
size_t utf8Length(const WideChar* s, size_t n) {
    // extra bytes per unit: +1 from U+0080, +1 from U+0800; a valid pair is 4 bytes,
    // not 3 + 3, so the high unit of a pair takes 2 back
    size_t len = n;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(1);
    // blocks of 8 units while the unit after the block can be read; lanes add at most
    // 2 per block, so 8192 blocks stay within 16 bits
    while (i + 9 <= n) {
        __m128i acc = zero;
        for (size_t blocks = 0; blocks < 8192 && i + 9 <= n; ++blocks, i += 8) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
            __m128i below80 =
                _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80))), zero);
            __m128i below800 =
                _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xF800))), zero);
            const __m128i tenBits = _mm_set1_epi16(static_cast<short>(0xFC00));
            __m128i high = _mm_cmpeq_epi16(_mm_and_si128(v, tenBits),
                                           _mm_set1_epi16(static_cast<short>(0xD800)));
            __m128i low = _mm_cmpeq_epi16(_mm_and_si128(next, tenBits),
                                          _mm_set1_epi16(static_cast<short>(0xDC00)));
            __m128i pair = _mm_and_si128(high, low);
            // masks are -1 where true: 2 + below80 + below800 is the unit's extra bytes
            acc = _mm_add_epi16(acc,
                                _mm_add_epi16(_mm_add_epi16(below80, below800), _mm_set1_epi16(2)));
            acc = _mm_add_epi16(acc, _mm_add_epi16(pair, pair));
        }
        __m128i sums = _mm_madd_epi16(acc, ones);
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sums);
        len += static_cast<size_t>(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
    }
#endif
    for (; i < n; ++i) {
        len += (s[i] >= 0x80) + (s[i] >= 0x800);
        if (i + 1 < n && isHigh(s[i]) && isLow(s[i + 1])) len -= 2;
    }
    return len;
}

size_t encodeUtf8(const WideChar* s, size_t n, char* out) {
    size_t i = 0;
    char* o = out;
    while (i < n) {
#if defined(__SSE2__)
        // bulk ASCII: 8 units at a time
        const __m128i hiMask = _mm_set1_epi16(static_cast<short>(0xFF80));
        while (i + 8 <= n && s[i] < 0x80) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            __m128i nonAscii = _mm_and_si128(v, hiMask);
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(nonAscii, _mm_setzero_si128())) != 0xFFFF) break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(v, v));
            i += 8;
            o += 8;
        }
        if (i >= n) break;
#endif
        uint32_t c = s[i++];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (isHigh(static_cast<WideChar>(c)) && i < n && isLow(s[i])) {
            uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
            *o++ = static_cast<char>(0xF0 | (cp >> 18));
            *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<size_t>(o - out);
}

bool isCont(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Decodes n bytes into out (room for n units); returns the unit count or -1 when malformed.
ptrdiff_t decodeUtf8(const uint8_t* p, size_t n, WideChar* out) {
    size_t i = 0;
    WideChar* o = out;
    while (i < n) {
#if defined(__SSE2__)
        // bulk ASCII: 16 bytes at a time; the widened block is stored whole and the
        // output advances only over its ASCII prefix (o + 16 <= out + n holds, as o - out <= i)
        while (i + 16 <= n && p[i] < 0x80) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            int mask = _mm_movemask_epi8(v);
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
            if (mask == 0) {
                i += 16;
                o += 16;
                continue;
            }
            int ascii = __builtin_ctz(static_cast<unsigned>(mask));
            i += ascii;
            o += ascii;
            break;
        }
        if (i >= n) break;
#endif
        uint8_t b = p[i];
        if (b < 0x80) {
            *o++ = b;
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (i + 1 >= n || !isCont(p[i + 1])) return -1;
            *o++ = static_cast<WideChar>(((b & 0x1F) << 6) | (p[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (i + 2 >= n) return -1;
            uint8_t c1 = p[i + 1], c2 = p[i + 2];
            // E0 needs A0..BF (no overlong form); ED keeps A0..BF: the 3-byte
            // surrogates older files contain, a pair of them decoding to the pair
            if (!isCont(c1) || !isCont(c2) || (b == 0xE0 && c1 < 0xA0)) return -1;
            *o++ = static_cast<WideChar>(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (i + 3 >= n) return -1;
            uint8_t c1 = p[i + 1], c2 = p[i + 2], c3 = p[i + 3];
            if (!isCont(c1) || !isCont(c2) || !isCont(c3)) return -1;
            if ((b == 0xF0 && c1 < 0x90) || (b == 0xF4 && c1 > 0x8F)) return -1;
            uint32_t cp =
                ((b & 0x07) << 18) | ((c1 & 0x3F) << 12) | ((c2 & 0x3F) << 6) | (c3 & 0x3F);
            cp -= 0x10000;
            *o++ = static_cast<WideChar>(0xD800 + (cp >> 10));
            *o++ = static_cast<WideChar>(0xDC00 + (cp & 0x3FF));
            i += 4;
        } else {
            return -1; // continuation byte as lead, C0/C1 (overlong), F5..FF
        }
    }
    return o - out;
}

// ---- UTF-7 -----------------------------------------------------------------

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct Utf7Tables {
    int8_t base64Value[256];
    bool direct[128]; // set D, set O and the white space
    Utf7Tables() {
        std::memset(base64Value, -1, sizeof base64Value);
        for (int i = 0; i < 64; ++i)
            base64Value[static_cast<uint8_t>(kBase64[i])] = static_cast<int8_t>(i);
        std::memset(direct, 0, sizeof direct);
        auto set = [this](const char* chars) {
            for (const char* c = chars; *c; ++c)
                direct[static_cast<uint8_t>(*c)] = true;
        };
        set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?"); // set D
        set("!\"#$%&*;<=>@[]^_`{|}");                                                   // set O
        set("\t\r\n "); // white space
    }
};

const Utf7Tables& utf7Tables() {
    static const Utf7Tables t;
    return t;
}

[[noreturn]] void invalidUtf7() {
    throw EUCodeGeneralError("Invalid UTF7");
}

struct KnownLocale {
    uint16_t id; // full LCID, or a primary language id (below 0x400)
    uint16_t codePage;
};

// Windows' default ANSI code pages; full LCIDs first, where a language's
// sublanguages differ in script.
constexpr KnownLocale kLocales[] = {
    {0x0804, 936},  {0x1004, 936},  {0x0404, 950},  {0x0C04, 950},  {0x1404, 950},  {0x041A, 1250},
    {0x081A, 1250}, {0x0C1A, 1251}, {0x101A, 1250}, {0x141A, 1250}, {0x201A, 1251}, {0x042C, 1254},
    {0x082C, 1251}, {0x0443, 1254}, {0x0843, 1251}, {0x01, 1256},   {0x02, 1251},   {0x03, 1252},
    {0x05, 1250},   {0x06, 1252},   {0x07, 1252},   {0x08, 1253},   {0x09, 1252},   {0x0A, 1252},
    {0x0B, 1252},   {0x0C, 1252},   {0x0D, 1255},   {0x0E, 1250},   {0x0F, 1252},   {0x10, 1252},
    {0x11, 932},    {0x12, 949},    {0x13, 1252},   {0x14, 1252},   {0x15, 1250},   {0x16, 1252},
    {0x18, 1250},   {0x19, 1251},   {0x1B, 1250},   {0x1C, 1250},   {0x1D, 1252},   {0x1E, 874},
    {0x1F, 1254},   {0x20, 1256},   {0x21, 1252},   {0x22, 1251},   {0x23, 1251},   {0x24, 1250},
    {0x25, 1257},   {0x26, 1257},   {0x27, 1257},   {0x29, 1256},   {0x2A, 1258},   {0x2B, 0},
    {0x2D, 1252},   {0x2F, 1251},   {0x36, 1252},   {0x37, 0},      {0x38, 1252},   {0x39, 0},
    {0x3E, 1252},   {0x3F, 1251},   {0x40, 1251},   {0x41, 1252},   {0x44, 1251},   {0x50, 1251},
    {0x56, 1252},
};

// ---- command line -------------------------------------------------------------

struct CommandLine {
    WideString exePath;
    TWideStrArray params;
};

CommandLine& commandLine() {
    static CommandLine c;
    return c;
}

WideString executablePath(const char* argv0) {
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n > 0) return NativeToWide(std::string_view(buf, static_cast<size_t>(n)));
    if (argv0 && realpath(argv0, buf)) return NativeToWide(buf);
    return argv0 ? NativeToWide(argv0) : WideString();
}

} // namespace

const uint32_t DefaultCodePage = ProcessAnsiCodePage();

AnsiString WideToAnsiCP(WideStringView w, uint32_t codePage) {
    if (codePage == CP_UTF7) return WideToUTF7(w);
    if (codePage == CP_UTF8) return WideToUTF8(w);
    if (codePage == 0) codePage = ProcessAnsiCodePage();
    return WideToCodePage(w, codePage);
}

WideString AnsiToWideCP(std::string_view s, uint32_t codePage) {
    if (codePage == CP_UTF7) return UTF7ToWide(s);
    if (codePage == CP_UTF8) return UTF8ToWide(s);
    if (codePage == 0) codePage = ProcessAnsiCodePage();
    return CodePageToWide(s, codePage);
}

size_t WideToUTF8Into(WideStringView w, char* out) {
    return encodeUtf8(w.data(), w.size(), out);
}

AnsiString WideToUTF8(WideStringView w) {
    AnsiString out(utf8Length(w.data(), w.size()), '\0');
    encodeUtf8(w.data(), w.size(), out.data());
    return out;
}

ptrdiff_t UTF8ToWideInto(std::string_view s, WideChar* out) {
    return decodeUtf8(reinterpret_cast<const uint8_t*>(s.data()), s.size(), out);
}

bool TryUTF8ToWide(std::string_view s, WideString& out) {
    out.assign(s.size(), u'\0');
    ptrdiff_t n = decodeUtf8(reinterpret_cast<const uint8_t*>(s.data()), s.size(), out.data());
    if (n < 0) {
        out.clear();
        return false;
    }
    out.resize(static_cast<size_t>(n));
    return true;
}

WideString UTF8ToWide(std::string_view s) {
    WideString out;
    TryUTF8ToWide(s, out);
    return out;
}

void Utf7Encoder::Add(WideStringView w, AnsiString& out) {
    const Utf7Tables& t = utf7Tables();
    for (WideChar c : w) {
        bool direct = c < 0x80 && (t.direct[c] || c == u'+');
        if (direct) {
            if (inRun_) {
                Flush(out);
                // "-" only where the next character would otherwise be read as part of the run
                if (t.base64Value[c] >= 0 || c == u'-') out.push_back('-');
                inRun_ = false;
            }
            if (c == u'+')
                out += "+-";
            else
                out.push_back(static_cast<char>(c));
            continue;
        }
        if (!inRun_) {
            out.push_back('+');
            inRun_ = true;
        }
        bits_ = (bits_ << 16) | c;
        bitCount_ += 16;
        while (bitCount_ >= 6) {
            bitCount_ -= 6;
            out.push_back(kBase64[(bits_ >> bitCount_) & 0x3F]);
        }
        bits_ &= (1u << bitCount_) - 1;
    }
}

void Utf7Encoder::Flush(AnsiString& out) {
    if (bitCount_ > 0) out.push_back(kBase64[(bits_ << (6 - bitCount_)) & 0x3F]);
    bits_ = 0;
    bitCount_ = 0;
}

void Utf7Encoder::Finish(AnsiString& out) {
    if (inRun_) Flush(out); // an open run at the end is not closed by "-"
    inRun_ = false;
}

AnsiString WideToUTF7(WideStringView w) {
    AnsiString out;
    out.reserve(w.size() + w.size() / 2 + 8);
    Utf7Encoder encoder;
    encoder.Add(w, out);
    encoder.Finish(out);
    return out;
}

WideString UTF7ToWide(std::string_view s) {
    const Utf7Tables& t = utf7Tables();
    WideString out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        uint8_t b = static_cast<uint8_t>(s[i]);
        if (b >= 0x80) invalidUtf7();
        if (b != '+') {
            out.push_back(b);
            ++i;
            continue;
        }
        ++i;
        if (i < s.size() && s[i] == '-') {
            out.push_back(u'+');
            ++i;
            continue;
        }
        if (i >= s.size() || t.base64Value[static_cast<uint8_t>(s[i])] < 0) invalidUtf7();
        uint32_t bits = 0;
        int bitCount = 0;
        while (i < s.size()) {
            int v = t.base64Value[static_cast<uint8_t>(s[i])];
            if (v < 0) break;
            bits = (bits << 6) | static_cast<uint32_t>(v);
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                out.push_back(static_cast<WideChar>(bits >> bitCount));
                bits &= (1u << bitCount) - 1;
            }
            ++i;
        }
        if (bits != 0) invalidUtf7(); // left-over bits must be zero
        if (i < s.size() && s[i] == '-') ++i;
    }
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence (RFC 3629: no overlong form, no surrogate,
// nothing above U+10FFFF) at s[i], with its code point; 0 when none starts there.
size_t StrictSequence(std::string_view s, size_t i, uint32_t& cp) {
    const uint8_t b = static_cast<uint8_t>(s[i]);
    size_t len;
    uint32_t min;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, min = 0x80, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, min = 0x800, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, min = 0x10000, cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const uint8_t c = static_cast<uint8_t>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

} // namespace

WideString NativeToWide(std::string_view s) {
    // Strict UTF-8 only: the 3-byte surrogate forms that older text files may hold would
    // come back from WideToNative as other bytes, and so name another file.
    WideString w;
    w.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        uint32_t cp = 0;
        const size_t len = StrictSequence(s, i, cp);
        if (len == 0) {
            w.push_back(static_cast<WideChar>(0xDC00 + static_cast<uint8_t>(s[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            w.push_back(static_cast<WideChar>(0xD800 + (cp >> 10)));
            w.push_back(static_cast<WideChar>(0xDC00 + (cp & 0x3FF)));
        } else {
            w.push_back(static_cast<WideChar>(cp));
        }
        i += len;
    }
    return w;
}

AnsiString WideToNative(WideStringView w) {
    AnsiString out;
    size_t start = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        bool escaped = w[i] >= 0xDC80 && w[i] <= 0xDCFF && (i == 0 || !isHigh(w[i - 1]));
        if (!escaped) continue;
        out += WideToUTF8(w.substr(start, i - start));
        out.push_back(static_cast<char>(w[i] - 0xDC00));
        start = i + 1;
    }
    if (start == 0) return WideToUTF8(w);
    out += WideToUTF8(w.substr(start));
    return out;
}

void SwapUTF16ByteOrder(WideChar* p, size_t count) {
    for (size_t i = 0; i < count; ++i)
        p[i] = static_cast<WideChar>((p[i] >> 8) | (p[i] << 8));
}

uint32_t LocaleToCodePage(uint32_t locale) {
    uint32_t lcid = locale & 0xFFFF;
    for (const auto& k : kLocales)
        if (k.id == lcid) return k.codePage;
    uint32_t primary = lcid & 0x3FF;
    if (primary != 0)
        for (const auto& k : kLocales)
            if (k.id == primary) return k.codePage;
    return ProcessAnsiCodePage();
}

WideChar KeyboardCharToWide(uint16_t ch) {
    if (ch >= 256) return ch;
    char byte = static_cast<char>(ch);
    WideString w = AnsiToWideCP(std::string_view(&byte, 1), 0);
    return w.size() == 1 ? w[0] : ch;
}

std::pair<WideString, size_t> ParseCommandLineToken(WideStringView cmdLine, size_t pos) {
    size_t n = cmdLine.size();
    auto endsHere = [&](size_t i) { return i >= n || cmdLine[i] == u'\0'; };
    while (!endsHere(pos)) {
        WideChar c = cmdLine[pos];
        if (c <= 0x20)
            ++pos;
        else if (c == u'"' && pos + 1 < n && cmdLine[pos + 1] == u'"')
            pos += 2;
        else
            break;
    }
    WideString token;
    while (!endsHere(pos) && cmdLine[pos] > 0x20) {
        if (cmdLine[pos] == u'"') {
            ++pos;
            while (!endsHere(pos) && cmdLine[pos] != u'"')
                token.push_back(cmdLine[pos++]);
            if (!endsHere(pos)) ++pos; // the closing quote
        } else {
            token.push_back(cmdLine[pos++]);
        }
    }
    return {std::move(token), pos};
}

TWideStrArray SplitCommandLineW(WideStringView cmdLine) {
    TWideStrArray tokens;
    size_t pos = 0;
    for (;;) {
        auto [token, next] = ParseCommandLineToken(cmdLine, pos);
        if (token.empty()) break;
        tokens.push_back(std::move(token));
        pos = next;
    }
    return tokens;
}

void InitWideCommandLine(int argc, const char* const* argv) {
    CommandLine& c = commandLine();
    c.exePath = executablePath(argc > 0 ? argv[0] : nullptr);
    c.params.clear();
    for (int i = 1; i < argc; ++i)
        if (argv[i] && *argv[i]) c.params.push_back(NativeToWide(argv[i]));
}

int WideParamCount() {
    return static_cast<int>(commandLine().params.size());
}

WideString WideParamStr(int index) {
    const CommandLine& c = commandLine();
    if (index == 0) return c.exePath.empty() ? executablePath(nullptr) : c.exePath;
    if (index < 0 || index > static_cast<int>(c.params.size())) return WideString();
    return c.params[static_cast<size_t>(index - 1)];
}

WideString WideCommandLine() {
    WideString line;
    auto add = [&line](const WideString& arg) {
        if (!line.empty()) line.push_back(u' ');
        bool quote = arg.empty() || arg.find_first_of(u" \t") != WideString::npos;
        if (quote) line.push_back(u'"');
        line += arg;
        if (quote) line.push_back(u'"');
    };
    add(WideParamStr(0));
    for (const WideString& p : commandLine().params)
        add(p);
    return line;
}

void RaiseLastOSError() {
    int err = errno;
    throw EUCodeGeneralError(std::string("System Error.  Code: ") + std::to_string(err) + ".\n" +
                             std::strerror(err));
}
