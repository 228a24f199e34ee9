// The Unicode system layer: code pages, UTF-8, UTF-7, the command line, and the
// wide file-system wrappers. glibc's iconv and python3 serve as independent oracles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iconv.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "text/CodePages.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s.push_back(static_cast<char>(b));
    return s;
}

// Converts with glibc's iconv; false when iconv rejects the input.
bool iconvConvert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(in.size() * 4 + 16, '\0');
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    bool ok = r != static_cast<size_t>(-1) && iconv(cd, nullptr, nullptr, &outp, &outLeft) == 0;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return ok;
}

std::string wideBytes(const WideString& w) {
    std::string s;
    for (WideChar c : w) {
        s.push_back(static_cast<char>(c & 0xFF));
        s.push_back(static_cast<char>(c >> 8));
    }
    return s;
}

WideString fromWideBytes(const std::string& s) {
    WideString w;
    for (size_t i = 0; i + 1 < s.size(); i += 2)
        w.push_back(static_cast<WideChar>(static_cast<uint8_t>(s[i]) |
                                          (static_cast<uint8_t>(s[i + 1]) << 8)));
    return w;
}

// Random text of valid code points from several scripts, with pairs; optionally
// also lone surrogates.
WideString randomText(std::mt19937& rng, size_t maxLen, bool loneSurrogates) {
    static const std::pair<char32_t, char32_t> ranges[] = {
        {0x20, 0x7E},     {0x00, 0x1F},     {0xA0, 0x17F},       {0x370, 0x3FF}, {0x400, 0x4FF},
        {0x4E00, 0x9FFF}, {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}, {0x7FF, 0x801}};
    std::uniform_int_distribution<size_t> len(0, maxLen), pick(0, std::size(ranges) - 1);
    WideString w;
    size_t n = len(rng);
    while (w.size() < n) {
        if (loneSurrogates && rng() % 9 == 0) {
            w.push_back(static_cast<WideChar>(0xD800 + rng() % 0x800));
            continue;
        }
        auto [lo, hi] = ranges[pick(rng)];
        char32_t cp = lo + rng() % (hi - lo + 1);
        if (cp >= 0x10000) {
            w.push_back(static_cast<WideChar>(0xD800 + ((cp - 0x10000) >> 10)));
            w.push_back(static_cast<WideChar>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            w.push_back(static_cast<WideChar>(cp));
        }
    }
    return w;
}

std::string runPython(const std::string& script) {
    std::string cmd = "python3 -c '" + script + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return std::string();
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

} // namespace

// ---- code pages ---------------------------------------------------------------

TEST(SysLayerCodePage, Cp1252KnownBytesAndUnmappable) {
    EXPECT_EQ(AnsiToWideCP(bytes({0x80, 0x81, 0x8D, 0x9F, 0xE4}), 1252),
              (WideString{0x20AC, 0x0081, 0x008D, 0x0178, 0x00E4}));
    EXPECT_EQ(WideToAnsiCP(u"Ω€", 1252), bytes({'?', 0x80}));
    EXPECT_EQ(WideToAnsiCP(u"a\U0001F600b", 1252), "a?b"); // one "?" per character
    EXPECT_EQ(WideToAnsiCP(WideString(1, 0xD800), 1252), "?");
    for (WideChar hole : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(WideToAnsiCP(WideString(1, hole), 1252), std::string(1, static_cast<char>(hole)));
    // code page 0 is the process's ANSI code page (1252 unless QUORBEL_ANSI_CODEPAGE says
    // otherwise)
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(AnsiToWideCP(all, 0), AnsiToWideCP(all, DefaultCodePage));
    EXPECT_EQ(WideToAnsiCP(u"Ω€ä", 0), WideToAnsiCP(u"Ω€ä", DefaultCodePage));
}

TEST(SysLayerCodePage, Cp1252AllBytesRoundTripAndMatchIconv) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    WideString w = AnsiToWideCP(all, 1252);
    ASSERT_EQ(w.size(), 256u);
    EXPECT_EQ(WideToAnsiCP(w, 1252), all);
    // glibc leaves the five holes undefined; every other byte must agree with it
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        std::string out;
        ASSERT_TRUE(iconvConvert("UTF-16LE", "CP1252", std::string(1, static_cast<char>(b)), out));
        EXPECT_EQ(fromWideBytes(out), WideString(1, w[b])) << "byte " << b;
    }
}

TEST(SysLayerCodePage, Cp1252TableMatchesPython) {
    std::string out = runPython("import sys\n"
                                "print(\" \".join(str(ord(bytes([b]).decode(\"cp1252\", "
                                "\"ignore\") or \"\\0\")) for b in range(256)))");
    if (out.empty()) GTEST_SKIP() << "python3 not available";
    const auto& table = Cp1252Table();
    std::istringstream in(out);
    for (int b = 0; b < 256; ++b) {
        int cp = -1;
        in >> cp;
        if (cp == 0 && b != 0) continue; // a hole in Python's table
        EXPECT_EQ(table[b], cp) << "byte " << b;
    }
}

TEST(SysLayerCodePage, OtherCodePagesThroughIconv) {
    EXPECT_EQ(WideToAnsiCP(u"Привет€Ω", 1251),
              bytes({0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2, 0x88, '?'}));
    EXPECT_EQ(AnsiToWideCP(bytes({0xCF, 0xF0, 0xE8}), 1251), u"При");
    EXPECT_EQ(WideToAnsiCP(u"日本x", 932), bytes({0x93, 0xFA, 0x96, 0x7B, 'x'}));
    EXPECT_EQ(AnsiToWideCP(bytes({0x93, 0xFA, 0x96, 0x7B, 0x93}), 932), u"日本?"); // cut sequence
    EXPECT_EQ(WideToAnsiCP(u"x\U0001F600y", 1251), "x?y");
}

TEST(SysLayerCodePage, ChoiceFromEnvironment) {
    const char* saved = std::getenv("QUORBEL_ANSI_CODEPAGE");
    std::string keep = saved ? saved : "";
    struct Case {
        const char* value;
        uint32_t expected;
    } cases[] = {{"1251", 1251},  {"1252", 1252},  {"", 1252},    {"abc", 1252},
                 {"65001", 1252}, {"99999", 1252}, {"12x", 1252}, {"4711", 1252}};
    for (const auto& c : cases) {
        setenv("QUORBEL_ANSI_CODEPAGE", c.value, 1);
        EXPECT_EQ(AnsiCodePageFromEnvironment(), c.expected) << c.value;
    }
    unsetenv("QUORBEL_ANSI_CODEPAGE");
    EXPECT_EQ(AnsiCodePageFromEnvironment(), 1252u);
    if (saved) setenv("QUORBEL_ANSI_CODEPAGE", keep.c_str(), 1);
}

TEST(SysLayerCodePage, UpperByteMapOfCp1252) {
    auto up = AnsiUpperByteMap(1252);
    EXPECT_EQ(up['a'], 'A');
    EXPECT_EQ(up['Z'], 'Z');
    EXPECT_EQ(up[0x9A], 0x8A);
    EXPECT_EQ(up[0x9C], 0x8C);
    EXPECT_EQ(up[0xFF], 0x9F);
    EXPECT_EQ(up[0xE4], 0xC4);
    EXPECT_EQ(up[0xDF], 0xDF); // ß
    EXPECT_EQ(up[0xB5], 0xB5); // µ
    EXPECT_EQ(up[0xF7], 0xF7); // ÷
}

TEST(SysLayerCodePage, DispatchOfUtfCodePages) {
    WideString w = u"Grüße \U0001F600 +";
    EXPECT_EQ(WideToAnsiCP(w, CP_UTF8), WideToUTF8(w));
    EXPECT_EQ(WideToAnsiCP(w, CP_UTF7), WideToUTF7(w));
    EXPECT_EQ(AnsiToWideCP(WideToUTF8(w), CP_UTF8), w);
    EXPECT_EQ(AnsiToWideCP(WideToUTF7(w), CP_UTF7), w);
    EXPECT_EQ(DefaultCodePage, AnsiCodePageFromEnvironment());
}

// ---- UTF-8 ----------------------------------------------------------------------

TEST(SysLayerUtf8, DecidedCases) {
    EXPECT_EQ(WideToUTF8(u"\U0001F600"), bytes({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(UTF8ToWide(bytes({0xF0, 0x9F, 0x98, 0x80})), (WideString{0xD83D, 0xDE00}));
    EXPECT_EQ(UTF8ToWide(bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80})),
              (WideString{0xD83D, 0xDE00}));
    EXPECT_EQ(WideToUTF8(WideString(1, 0xD800)), bytes({0xED, 0xA0, 0x80}));
    EXPECT_EQ(UTF8ToWide(bytes({0xED, 0xA0, 0x80})), WideString(1, 0xD800));
    EXPECT_EQ(WideToUTF8(WideString{0xDE00, 0xD83D}), bytes({0xED, 0xB8, 0x80, 0xED, 0xA0, 0xBD}));
    EXPECT_EQ(UTF8ToWide(std::string("a\0b", 3)), WideString(u"a\0b", 3));
    EXPECT_EQ(WideToUTF8(u"\u07FF\u0800\uFFFF"),
              bytes({0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}));
}

TEST(SysLayerUtf8, MalformedGivesEmpty) {
    const std::string cases[] = {
        bytes({0xC3}),                   // ends inside a sequence
        bytes({0xC0, 0x80}),             // overlong
        bytes({0xC1, 0xBF}),             // overlong
        bytes({0x80, 0x80}),             // continuation as lead
        bytes({0xE0, 0x80, 0x80}),       // overlong 3-byte
        bytes({0xF0, 0x8F, 0xBF, 0xBF}), // overlong 4-byte
        bytes({0xF4, 0x90, 0x80, 0x80}), // above U+10FFFF
        bytes({0xF5, 0x80, 0x80, 0x80}), // bad lead
        bytes({0xFF}),
        bytes({'a', 0xE4, 'b'}),                                     // ANSI text is no UTF-8
        bytes({0xE2, 0x82}),                                         // cut 3-byte sequence
        bytes({0xF0, 0x9F, 0x98}),                                   // cut 4-byte sequence
        bytes({0xE2, 0x28, 0xA1}),                                   // bad continuation
        std::string(40, 'x') + bytes({0x80}) + std::string(40, 'y'), // past the bulk path
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(UTF8ToWide(c).empty()) << testing::PrintToString(c);
        WideString w = u"left over";
        EXPECT_FALSE(TryUTF8ToWide(c, w));
        EXPECT_TRUE(w.empty());
    }
    WideString w = u"x";
    EXPECT_TRUE(TryUTF8ToWide("", w));
    EXPECT_TRUE(w.empty());
}

TEST(SysLayerUtf8, RandomTextMatchesIconvBothWays) {
    std::mt19937 rng(1105);
    for (int round = 0; round < 3000; ++round) {
        WideString w = randomText(rng, round % 50 == 0 ? 400 : 40, false);
        std::string expected;
        ASSERT_TRUE(iconvConvert("UTF-8", "UTF-16LE", wideBytes(w), expected));
        std::string mine = WideToUTF8(w);
        ASSERT_EQ(mine, expected) << "round " << round;
        ASSERT_EQ(UTF8ToWide(mine), w) << "round " << round;
    }
    // one long text, past the bulk counters' flush
    WideString big;
    while (big.size() < 300000)
        big += randomText(rng, 1000, false);
    std::string expected;
    ASSERT_TRUE(iconvConvert("UTF-8", "UTF-16LE", wideBytes(big), expected));
    ASSERT_EQ(WideToUTF8(big), expected);
    ASSERT_EQ(UTF8ToWide(expected), big);
}

TEST(SysLayerUtf8, RandomBytesAgreeWithIconvOnValidity) {
    std::mt19937 rng(2152);
    const int leads[] = {0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xE1, 0xED,
                         0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0x9F, 0xA0, 0x8F, 0x90};
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        size_t n = rng() % 24;
        for (size_t i = 0; i < n; ++i)
            s.push_back(
                static_cast<char>(rng() % 3 ? leads[rng() % std::size(leads)] : rng() % 256));
        bool surrogateForm = false;
        for (size_t i = 0; i + 1 < s.size(); ++i)
            if (static_cast<uint8_t>(s[i]) == 0xED && static_cast<uint8_t>(s[i + 1]) >= 0xA0)
                surrogateForm = true;
        if (surrogateForm) continue; // accepted here on purpose, rejected by iconv
        std::string out;
        bool valid = iconvConvert("UTF-16LE", "UTF-8", s, out);
        WideString mine;
        ASSERT_EQ(TryUTF8ToWide(s, mine), valid) << testing::PrintToString(s);
        if (valid) {
            ASSERT_EQ(mine, fromWideBytes(out));
        }
    }
}

TEST(SysLayerUtf8, EveryUtf16TextRoundTrips) {
    std::mt19937 rng(65001);
    for (int round = 0; round < 5000; ++round) {
        WideString w = randomText(rng, 60, true);
        ASSERT_EQ(UTF8ToWide(WideToUTF8(w)), w) << "round " << round;
    }
    // every single unit on its own
    for (uint32_t c = 0; c < 0x10000; ++c) {
        WideString w(1, static_cast<WideChar>(c));
        ASSERT_EQ(UTF8ToWide(WideToUTF8(w)), w) << c;
    }
}

// ---- UTF-7 ----------------------------------------------------------------------

TEST(SysLayerUtf7, EncodingExamples) {
    struct Case {
        WideString in;
        std::string out;
    } cases[] = {
        {u"A+B", "A+-B"},
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},
        {u"smile \u263A", "smile +Jjo"}, // an open run at the end is not closed
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe"},
        {u"\u263A.", "+Jjo."},   // "." is no base64 character: no "-"
        {u"\u263Aa", "+Jjo-a"},  // "a" is one
        {u"\u263A+", "+Jjo-+-"}, // "+" is one too
        {u"~\\", "+AH4AXA"},     // neither set D nor set O
        {u"a\tb\r\n c", "a\tb\r\n c"},
        {u"!\"#$%&*;<=>@[]^_`{|}", "!\"#$%&*;<=>@[]^_`{|}"},
        {u"", ""},
        {u"\u00E4", "+AOQ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WideToUTF7(c.in), c.out) << c.out;
}

TEST(SysLayerUtf7, DecodingExamplesAndErrors) {
    EXPECT_EQ(UTF7ToWide("+ZeVnLIqe-"), (WideString{0x65E5, 0x672C, 0x8A9E}));
    EXPECT_EQ(UTF7ToWide("Hi Mom -+Jjo--!"), u"Hi Mom -\u263A-!");
    EXPECT_EQ(UTF7ToWide("A+-B"), u"A+B");
    EXPECT_EQ(UTF7ToWide("+Jjo"), u"\u263A");
    EXPECT_EQ(UTF7ToWide("+Jjo."), u"\u263A.");
    EXPECT_EQ(UTF7ToWide(""), u"");
    EXPECT_EQ(UTF7ToWide("~\\"), u"~\\"); // taken as they stand outside a run
    for (const std::string& bad : {bytes({'a', 0x80}), bytes({'+', 'J', 'j', 'o', 0xC3}),
                                   std::string("+Jjp-"), std::string("+ "), std::string("a+")}) {
        try {
            UTF7ToWide(bad);
            ADD_FAILURE() << "no error for " << testing::PrintToString(bad);
        } catch (const EUCodeGeneralError& e) {
            EXPECT_STREQ(e.what(), "Invalid UTF7");
        }
    }
}

TEST(SysLayerUtf7, RandomTextAgreesWithIconv) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        WideString w = randomText(rng, 50, false);
        std::string mine = WideToUTF7(w);
        std::string decoded;
        ASSERT_TRUE(iconvConvert("UTF-16LE", "UTF-7", mine, decoded)) << mine;
        ASSERT_EQ(fromWideBytes(decoded), w) << mine;
        std::string theirs;
        ASSERT_TRUE(iconvConvert("UTF-7", "UTF-16LE", wideBytes(w), theirs));
        ASSERT_EQ(UTF7ToWide(theirs), w) << theirs;
    }
    // lone surrogates survive our own round trip
    for (int round = 0; round < 2000; ++round) {
        WideString w = randomText(rng, 30, true);
        ASSERT_EQ(UTF7ToWide(WideToUTF7(w)), w);
    }
}

TEST(SysLayerUtf7, PythonDecodesOurOutput) {
    std::string encoded = WideToUTF7(u"Hi Mom -\u263A-! A+B \u65E5\u672C\u8A9E ~ \U0001F600");
    std::string out = runPython("import "
                                "sys\nsys.stdout.write(sys.argv[1].encode(\"latin-1\").decode("
                                "\"utf-7\").encode(\"utf-8\").hex())' '" +
                                encoded);
    if (out.empty()) GTEST_SKIP() << "python3 not available";
    std::string hex;
    for (unsigned char c : WideToUTF8(u"Hi Mom -\u263A-! A+B \u65E5\u672C\u8A9E ~ \U0001F600")) {
        char buf[3];
        snprintf(buf, sizeof buf, "%02x", c);
        hex += buf;
    }
    EXPECT_EQ(out, hex);
}

// ---- small routines -----------------------------------------------------------------

TEST(SysLayerRoutines, SwapLocaleKeyboard) {
    WideString w = u"\u1234A";
    SwapUTF16ByteOrder(w.data(), w.size());
    EXPECT_EQ(w, (WideString{0x3412, 0x4100}));
    SwapUTF16ByteOrder(w.data(), w.size());
    EXPECT_EQ(w, u"\u1234A");

    EXPECT_EQ(LocaleToCodePage(0x0407), 1252u); // German
    EXPECT_EQ(LocaleToCodePage(0x0419), 1251u); // Russian
    EXPECT_EQ(LocaleToCodePage(0x0415), 1250u); // Polish
    EXPECT_EQ(LocaleToCodePage(0x0411), 932u);  // Japanese
    EXPECT_EQ(LocaleToCodePage(0x0804), 936u);  // Chinese (PRC)
    EXPECT_EQ(LocaleToCodePage(0x0404), 950u);  // Chinese (Taiwan)
    EXPECT_EQ(LocaleToCodePage(0x0C1A), 1251u); // Serbian, Cyrillic
    EXPECT_EQ(LocaleToCodePage(0x081A), 1250u); // Serbian, Latin
    EXPECT_EQ(LocaleToCodePage(0x0439), 0u);    // Hindi: Unicode only
    EXPECT_EQ(LocaleToCodePage(0x0400), DefaultCodePage);

    EXPECT_EQ(KeyboardCharToWide(0x263A), 0x263A);
    EXPECT_EQ(KeyboardCharToWide('a'), u'a');
    if (DefaultCodePage == 1252) {
        EXPECT_EQ(KeyboardCharToWide(0x80), 0x20AC);
    }
}

TEST(SysLayerRoutines, NativeNamesAreLossless) {
    std::string latin1 = bytes({'a', 0xE4, '.', 't', 'x', 't'});
    WideString w = NativeToWide(latin1);
    EXPECT_EQ(w, (WideString{u'a', 0xDCE4, u'.', u't', u'x', u't'}));
    EXPECT_EQ(WideToNative(w), latin1);
    EXPECT_EQ(NativeToWide("Grüße"), u"Grüße");
    EXPECT_EQ(WideToNative(u"Grüße"), "Grüße");
    std::string mixed = "ä" + bytes({0xFF, 0xC3}) + "\xF0\x9F\x98\x80";
    EXPECT_EQ(WideToNative(NativeToWide(mixed)), mixed);
}

// Every name read from disk must name the same file when written back: the 3-byte forms
// of surrogates are no UTF-8 and come through as escaped bytes, not as characters.
TEST(SysLayerRoutines, EveryByteSequenceRoundTripsAsAName) {
    EXPECT_EQ(NativeToWide(bytes({0xED, 0xB2, 0x80})), (WideString{0xDCED, 0xDCB2, 0xDC80}));
    EXPECT_EQ(NativeToWide(bytes({0xED, 0xA0, 0x80, 0xED, 0xB0, 0x80})).size(), 6u);
    EXPECT_EQ(NativeToWide(bytes({0xF0, 0x90, 0x80, 0x80})), (WideString{0xD800, 0xDC00}));
    EXPECT_EQ(NativeToWide(bytes({0xC0, 0x80})), (WideString{0xDCC0, 0xDC80})); // overlong
    EXPECT_EQ(NativeToWide(bytes({0xF4, 0x90, 0x80, 0x80})).size(), 4u);        // > U+10FFFF

    // Bytes below 0x80 all decode alike, so three of them stand for the rest. Every
    // sequence of up to three bytes; of four bytes those that start like a long sequence.
    std::vector<uint8_t> all = {0x00, 0x41, 0x7F}, tail = {0x41, 0xC2, 0xE0, 0xED, 0xF0, 0xFF};
    for (int b = 0x80; b <= 0xFF; ++b)
        all.push_back(static_cast<uint8_t>(b));
    for (int b = 0x80; b <= 0xBF; ++b)
        tail.push_back(static_cast<uint8_t>(b));
    const std::vector<uint8_t> leads = {0xED, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5};
    std::string name;
    long failures = 0;
    auto check = [&] {
        if (WideToNative(NativeToWide(name)) != name && ++failures < 5)
            ADD_FAILURE() << "does not round-trip: " << testing::PrintToString(name);
    };
    std::function<void(size_t, const std::vector<uint8_t>&)> extend =
        [&](size_t left, const std::vector<uint8_t>& from) {
            for (uint8_t b : from) {
                name.push_back(static_cast<char>(b));
                check();
                if (left > 1) extend(left - 1, from);
                name.pop_back();
            }
        };
    extend(3, all);
    for (uint8_t lead : leads) {
        name.assign(1, static_cast<char>(lead));
        extend(3, tail);
    }
    EXPECT_EQ(failures, 0);

    std::mt19937 rng(15);
    for (int round = 0; round < 20000; ++round) {
        std::string random(rng() % 40, '\0');
        for (char& c : random)
            c = static_cast<char>(rng() % 4 == 0 ? 0x41 : 0x80 + rng() % 128);
        ASSERT_EQ(WideToNative(NativeToWide(random)), random);
    }
}

// ---- command line ---------------------------------------------------------------------

TEST(SysLayerCommandLine, Tokenizer) {
    struct Case {
        WideString line;
        TWideStrArray tokens;
    } cases[] = {
        {u"prog \"a b\" c", {u"prog", u"a b", u"c"}},
        {u"  prog\t x  ", {u"prog", u"x"}},
        {u"prog \"\" next", {u"prog", u"next"}},          // pairs of quotes are skipped
        {u"prog a\"b c\"d e", {u"prog", u"ab cd", u"e"}}, // quotes inside a token
        {u"prog \"open to the end", {u"prog", u"open to the end"}},
        {u"prog a", {u"prog", u"a"}},
        {WideString(u"prog a\0b", 8), {u"prog", u"a"}}, // ends at U+0000
        {u"", {}},
        {u"\"C:/Program Files/q.exe\" /x=1", {u"C:/Program Files/q.exe", u"/x=1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLineW(c.line), c.tokens) << U8(c.line);

    auto [token, next] = ParseCommandLineToken(u"prog \"a b\" c", 4);
    EXPECT_EQ(token, u"a b");
    EXPECT_EQ(next, 10u);
}

TEST(SysLayerCommandLine, ParamsFromArgv) {
    const char* argv[] = {"prog", "a b", "", "c", "Grüße"};
    InitWideCommandLine(5, argv);
    EXPECT_EQ(WideParamCount(), 3);
    WideString exe = WideParamStr(0);
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe[0], u'/');
    EXPECT_EQ(exe, WideModuleFileName());
    EXPECT_EQ(NativeToWide(std::filesystem::canonical("/proc/self/exe").string()), exe);
    EXPECT_EQ(WideParamStr(1), u"a b");
    EXPECT_EQ(WideParamStr(2), u"c");
    EXPECT_EQ(WideParamStr(3), u"Grüße");
    EXPECT_EQ(WideParamStr(4), u"");
    EXPECT_EQ(WideParamStr(-1), u"");
    TWideStrArray back = SplitCommandLineW(WideCommandLine());
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0], exe);
    EXPECT_EQ(back[1], u"a b");
    EXPECT_EQ(back[3], u"Grüße");
    InitWideCommandLine(1, argv);
    EXPECT_EQ(WideParamCount(), 0);
}

TEST(SysLayerCommandLine, Win32Check) {
    EXPECT_EQ(UCodeWin32Check(5), 5);
    errno = ENOENT;
    EXPECT_THROW(UCodeWin32Check(0), EUCodeGeneralError);
}
