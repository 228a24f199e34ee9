#include "text/CodePages.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <map>
#include <memory>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Windows-1252 0x80..0x9F; the rest of the code page is Latin-1.
constexpr WideChar kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kDefaultChar = '?';

// UTF-16 unit -> cp1252 byte; 0 for "not in the code page" (U+0000 itself is 0 too).
struct Cp1252Reverse {
    std::array<uint8_t, 0x10000> bytes{};
    Cp1252Reverse() {
        const auto& t = Cp1252Table();
        for (int b = 0; b < 256; ++b)
            bytes[t[b]] = static_cast<uint8_t>(b);
    }
};

const Cp1252Reverse& cp1252Reverse() {
    static const Cp1252Reverse r;
    return r;
}

bool isHighSurrogate(WideChar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(WideChar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

AnsiString wideToCp1252(WideStringView s) {
    AnsiString out(s.size(), '\0');
    out.resize(EncodeCp1252(s, out.data()));
    return out;
}

} // namespace

size_t EncodeCp1252(WideStringView s, char* out) {
    const auto& rev = cp1252Reverse().bytes;
    size_t n = 0;
    size_t i = 0;
    while (i < s.size()) {
        size_t stop = s.size();
#if defined(__SSE2__)
        // 8 units at a time while each is Latin-1 outside 0x80..0x9F: its own byte
        if (i + 8 <= s.size()) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
            __m128i high = _mm_cmpeq_epi16(
                _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF00))), _mm_setzero_si128());
            __m128i c1 =
                _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00E0)), _mm_set1_epi16(0x0080));
            if (_mm_movemask_epi8(_mm_andnot_si128(c1, high)) == 0xFFFF) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + n), _mm_packus_epi16(v, v));
                i += 8;
                n += 8;
                continue;
            }
            stop = i + 8;
        }
#endif
        for (; i < stop && i < s.size(); ++i) {
            WideChar c = s[i];
            uint8_t b = c < 0x80 ? static_cast<uint8_t>(c) : rev[c];
            if (b != 0 || c == 0) {
                out[n++] = static_cast<char>(b);
            } else {
                // one "?" per character: a surrogate pair is one character
                if (isHighSurrogate(c) && i + 1 < s.size() && isLowSurrogate(s[i + 1])) ++i;
                out[n++] = kDefaultChar;
            }
        }
    }
    return n;
}

namespace {

WideString cp1252ToWide(std::string_view s) {
    WideString out(s.size(), u'\0');
    DecodeCp1252(s, out.data());
    return out;
}

} // namespace

void DecodeCp1252(std::string_view s, WideChar* out) {
    const auto& t = Cp1252Table();
    size_t i = 0;
#if defined(__SSE2__)
    // 16 bytes at a time, widened as Latin-1; the table only where cp1252 differs (0x80..0x9F)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= s.size(); i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
        __m128i c1 = _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xE0))),
                                    _mm_set1_epi8(static_cast<char>(0x80)));
        for (unsigned m = static_cast<unsigned>(_mm_movemask_epi8(c1)); m != 0; m &= m - 1) {
            size_t k = i + static_cast<size_t>(__builtin_ctz(m));
            out[k] = t[static_cast<uint8_t>(s[k])];
        }
    }
#endif
    for (; i < s.size(); ++i)
        out[i] = t[static_cast<uint8_t>(s[i])];
}

namespace {

// iconv's name for a Windows code page number.
std::string iconvName(uint32_t codePage) {
    if (codePage >= 28591 && codePage <= 28599)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    if (codePage == 28603) return "ISO-8859-13";
    if (codePage == 28605) return "ISO-8859-15";
    if (codePage == 20127) return "ASCII";
    if (codePage == 20866) return "KOI8-R";
    if (codePage == 21866) return "KOI8-U";
    if (codePage == 51932) return "EUC-JP";
    if (codePage == 51949) return "EUC-KR";
    if (codePage == 54936) return "GB18030";
    if (codePage == 10000) return "MACINTOSH";
    return "CP" + std::to_string(codePage);
}

// A pair of iconv descriptors for one code page, opened on first use per thread.
struct IconvPair {
    iconv_t toWide = reinterpret_cast<iconv_t>(-1);
    iconv_t fromWide = reinterpret_cast<iconv_t>(-1);
    explicit IconvPair(uint32_t codePage) {
        std::string name = iconvName(codePage);
        toWide = iconv_open("UTF-16LE", name.c_str());
        fromWide = iconv_open(name.c_str(), "UTF-16LE");
    }
    ~IconvPair() {
        if (ok(toWide)) iconv_close(toWide);
        if (ok(fromWide)) iconv_close(fromWide);
    }
    IconvPair(const IconvPair&) = delete;
    IconvPair& operator=(const IconvPair&) = delete;
    static bool ok(iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); }
    bool usable() const { return ok(toWide) && ok(fromWide); }
};

IconvPair& iconvFor(uint32_t codePage) {
    thread_local std::map<uint32_t, std::unique_ptr<IconvPair>> cache;
    auto& slot = cache[codePage];
    if (!slot) slot = std::make_unique<IconvPair>(codePage);
    return *slot;
}

// One character at a time, "?" for characters the code page lacks.
AnsiString wideToIconv(WideStringView s, uint32_t codePage) {
    IconvPair& cds = iconvFor(codePage);
    AnsiString out;
    out.reserve(s.size());
    char buf[16];
    for (size_t i = 0; i < s.size();) {
        WideChar c = s[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        size_t units = (isHighSurrogate(c) && i + 1 < s.size() && isLowSurrogate(s[i + 1])) ? 2 : 1;
        bool done = false;
        if (cds.usable()) {
            char in[4];
            for (size_t k = 0; k < units; ++k) {
                in[2 * k] = static_cast<char>(s[i + k] & 0xFF);
                in[2 * k + 1] = static_cast<char>(s[i + k] >> 8);
            }
            char* inp = in;
            size_t inLeft = 2 * units;
            char* outp = buf;
            size_t outLeft = sizeof buf;
            iconv(cds.fromWide, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cds.fromWide, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) &&
                inLeft == 0) {
                char* endp = outp;
                // flush a stateful encoder back to its initial state
                iconv(cds.fromWide, nullptr, nullptr, &endp, &outLeft);
                out.append(buf, endp);
                done = true;
            }
        }
        if (!done) out.push_back(kDefaultChar);
        i += units;
    }
    return out;
}

WideString iconvToWide(std::string_view s, uint32_t codePage) {
    IconvPair& cds = iconvFor(codePage);
    WideString out;
    out.reserve(s.size());
    if (!cds.usable()) {
        for (char ch : s)
            out.push_back(static_cast<uint8_t>(ch) < 0x80 ? static_cast<uint8_t>(ch) : u'?');
        return out;
    }
    iconv(cds.toWide, nullptr, nullptr, nullptr, nullptr);
    std::string buf(4 * s.size() + 16, '\0');
    char* inp = const_cast<char*>(s.data());
    size_t inLeft = s.size();
    char* outp = buf.data();
    size_t outLeft = buf.size();
    auto emit = [&]() {
        for (char* p = buf.data(); p + 1 < outp; p += 2)
            out.push_back(static_cast<WideChar>(static_cast<uint8_t>(p[0]) |
                                                (static_cast<uint8_t>(p[1]) << 8)));
        outp = buf.data();
        outLeft = buf.size();
    };
    while (inLeft > 0) {
        size_t r = iconv(cds.toWide, &inp, &inLeft, &outp, &outLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            emit();
            continue;
        }
        // EILSEQ or EINVAL (cut sequence at the end): the byte becomes "?"
        emit();
        out.push_back(u'?');
        ++inp;
        --inLeft;
        iconv(cds.toWide, nullptr, nullptr, nullptr, nullptr);
    }
    emit();
    return out;
}

} // namespace

const std::array<WideChar, 256>& Cp1252Table() {
    static const std::array<WideChar, 256> table = [] {
        std::array<WideChar, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<WideChar>(b);
        for (int b = 0; b < 32; ++b)
            t[0x80 + b] = kCp1252High[b];
        return t;
    }();
    return table;
}

uint32_t AnsiCodePageFromEnvironment() {
    const char* env = std::getenv("QUORBEL_ANSI_CODEPAGE");
    if (!env || !*env) return 1252;
    char* end = nullptr;
    unsigned long v = std::strtoul(env, &end, 10);
    if (*end != '\0' || v == 0 || v > 65535 || v == 65000 || v == 65001) return 1252;
    uint32_t cp = static_cast<uint32_t>(v);
    return IsCodePageAvailable(cp) ? cp : 1252;
}

uint32_t ProcessAnsiCodePage() {
    static const uint32_t cp = AnsiCodePageFromEnvironment();
    return cp;
}

bool IsCodePageAvailable(uint32_t codePage) {
    if (codePage == 1252) return true;
    return iconvFor(codePage).usable();
}

AnsiString WideToCodePage(WideStringView s, uint32_t codePage) {
    if (codePage == 1252) return wideToCp1252(s);
    return wideToIconv(s, codePage);
}

WideString CodePageToWide(std::string_view s, uint32_t codePage) {
    if (codePage == 1252) return cp1252ToWide(s);
    return iconvToWide(s, codePage);
}

std::array<uint8_t, 256> AnsiUpperByteMap(uint32_t codePage) {
    std::array<uint8_t, 256> map{};
    for (int b = 0; b < 256; ++b) {
        map[b] = static_cast<uint8_t>(b);
        char byte = static_cast<char>(b);
        WideString w = CodePageToWide(std::string_view(&byte, 1), codePage);
        if (w.size() != 1 || (b >= 0x80 && w[0] == u'?')) continue;
        WideChar up = WideUpperChar(w[0]);
        if (up == w[0]) continue;
        AnsiString back = WideToCodePage(WideStringView(&up, 1), codePage);
        if (back.size() == 1 && back[0] != kDefaultChar) map[b] = static_cast<uint8_t>(back[0]);
    }
    return map;
}
