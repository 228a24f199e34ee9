// Eight-bit, number-list, fast-replace and colour routines.
#include <gtest/gtest.h>

#include <charconv>
#include <random>

#include "text/CodePages.h"
#include "text/EightBitUtils.h"
#include "text/UCodeSysUtils.h"

TEST(EightBitNumbers, IsNumericAndValues) {
    struct Case {
        const char* text;
        bool numeric;
        int32_t value;
    } cases[] = {
        {"12", true, 12},
        {"-3", true, -3},
        {"+7", true, 7},
        {"$1F", true, 31},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1},
        {"$7FFFFFFF", true, 2147483647},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"  42", true, 42}, // leading blanks are skipped, as the class library does
        {"007", true, 7},
        {"", false, 0},
        {"1.5", false, 0},
        {"12a", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$100000000", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"-", false, 0},
        {"42 ", false, 0},
        {"1e3", false, 0},
        {"$G", false, 0},
        {"--1", false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNumeric(c.text), c.numeric) << c.text;
        int32_t v = 0;
        if (c.numeric && TryValInt32(c.text, v)) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(EightBitNumbers, DecimalAgainstFromChars) {
    std::mt19937 rng(109);
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        if (rng() % 2) s.push_back("+-"[rng() % 2]);
        for (size_t n = 1 + rng() % 11; n > 0; --n)
            s.push_back(static_cast<char>('0' + rng() % 10));
        std::string_view digits = s[0] == '+' ? std::string_view(s).substr(1) : std::string_view(s);
        int32_t expected = 0;
        auto r = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        // from_chars reads a leading "-" itself; "+" was stripped above
        bool ok = r.ec == std::errc() && r.ptr == digits.data() + digits.size();
        int32_t v = 0;
        ASSERT_EQ(TryValInt32(s, v), ok) << s;
        if (ok) {
            ASSERT_EQ(v, expected) << s;
        }
    }
}

TEST(EightBitArrays, ExplodeAppendDelete) {
    struct Case {
        const char* sep;
        const char* text;
        TStrArray fields;
    } cases[] = {
        {",", "a,b", {"a", "b"}},       {",", "", {""}},      {",", "a,,", {"a", "", ""}},
        {"--", "x--y-z", {"x", "y-z"}}, {"", "abc", {"abc"}}, // an empty separator does not loop
    };
    for (const auto& c : cases) {
        TStrArray arr = {"keep"};
        EXPECT_EQ(ExplodeA(arr, c.sep, c.text), c.fields.size() + 1) << c.text;
        TStrArray expected = {"keep"};
        expected.insert(expected.end(), c.fields.begin(), c.fields.end());
        EXPECT_EQ(arr, expected) << c.text;
    }
    TStrArray arr;
    ArrayAppendA(arr, "a");
    ArrayAppendA(arr, "b");
    ArrayAppendA(arr, "c");
    ArrayDeleteA(arr, 1);
    EXPECT_EQ(arr, (TStrArray{"a", "c"}));
    ArrayDeleteA(arr, 5);
    EXPECT_EQ(arr, (TStrArray{"a", "c"}));
    ArrayDeleteA(arr, 0);
    EXPECT_EQ(arr, TStrArray{"c"});
}

TEST(EightBitArrays, ParseNumberList) {
    struct Case {
        const char* text;
        int32_t bound;
        TStrArray numbers;
    } cases[] = {
        {"3; 1-2, x, 0, 5-5", 100, {"1", "2", "3"}},
        {"0-2", 100, {"0", "1", "2"}},
        {"1-13,37",
         100,
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "37"}},
        {"1-2000000000", 3, {"1", "2", "3"}}, // clamped to the bound
        {"5-9", 3, {}},                       // entirely past the bound
        {"4,2,2,-1", 3, {"2", "2", "4"}},     // duplicates stay; single numbers are kept
        {"", 10, {}},
        {"1-2-3, 3-1, a-b", 10, {}},
        {" 7 ;\t8", 10, {"7"}}, // only blanks are removed: the tab item is no number
        // a hexadecimal start far below zero must not expand two billion items
        {"$80000000-2", 10, {"0", "1", "2"}},
        {"0x80000000-$7FFFFFFF", 1, {"0", "1"}},
    };
    for (const auto& c : cases) {
        TStrArray out = {"stale"};
        ParseNumberListA(c.text, out, c.bound);
        EXPECT_EQ(out, c.numbers) << c.text;
    }
}

TEST(EightBitArrays, SortByValue) {
    TStrArray arr = {"10", "9", "$A", "-1", "100", "0x2"};
    SortStrArrayByValueA(arr);
    EXPECT_EQ(arr, (TStrArray{"-1", "0x2", "9", "10", "$A", "100"}));
    TStrArray empty;
    SortStrArrayByValueA(empty);
    EXPECT_TRUE(empty.empty());
}

namespace {

// Plain left-to-right replacement, comparing through the code page's upper-case map.
std::string naiveReplace(const std::string& s, const std::string& f, const std::string& r,
                         bool cs) {
    static const auto up = AnsiUpperByteMap(DefaultCodePage);
    auto eq = [&](char a, char b) {
        return cs ? a == b : up[static_cast<uint8_t>(a)] == up[static_cast<uint8_t>(b)];
    };
    if (f.empty()) return s;
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        bool hit = i + f.size() <= s.size();
        for (size_t k = 0; hit && k < f.size(); ++k)
            hit = eq(s[i + k], f[k]);
        if (hit) {
            out += r;
            i += f.size();
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

} // namespace

TEST(EightBitReplace, Examples) {
    EXPECT_EQ(FastReplace("aXbxc", "x", "--", false), "a--b--c");
    EXPECT_EQ(FastReplace("aXbxc", "x", "--", true), "aXb--c");
    EXPECT_EQ(FastReplace("abc", "", "z", false), "abc");
    EXPECT_EQ(FastReplace("", "a", "z", false), "");
    EXPECT_EQ(FastReplace("xab", "ab", "!", false), "x!"); // skip lookup on the upper-cased byte
    EXPECT_EQ(FastReplace("xAB", "ab", "!", false), "x!");
    EXPECT_EQ(FastReplace("aaaa", "aa", "b", true), "bb");
    EXPECT_EQ(FastReplace("ab", "abc", "z", true), "ab");
    if (DefaultCodePage == 1252) { // the upper-case map of cp1252
        EXPECT_EQ(FastReplace("Stra\xDF"
                              "e \x9A\xFF",
                              "\x8A\x9F", "#", false),
                  "Stra\xDF"
                  "e #");
    }
    EXPECT_EQ(FastReplace("\xDF", "SS", "#", false), "\xDF");
    // A long replacement for a short pattern is no reason to reserve the worst case up front
    // (here a terabyte): a text without a match comes back as it is.
    const std::string text(1 << 20, 'a'), many(1 << 20, 'z');
    EXPECT_EQ(FastReplace(text, "b", many, true), text);
    EXPECT_EQ(FastReplace("xbx", "b", many, false), "x" + many + "x");
}

TEST(EightBitReplace, RandomAgainstNaive) {
    std::mt19937 rng(1252);
    const char alphabet[] = {'a',    'A',    'b',    'B',    'x',   '\x9A',
                             '\x8A', '\xE4', '\xC4', '\xFF', '\x9F'};
    auto randomText = [&](size_t maxLen) {
        std::string s;
        for (size_t n = rng() % (maxLen + 1); n > 0; --n)
            s.push_back(alphabet[rng() % std::size(alphabet)]);
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string s = randomText(30), f = randomText(4), r = randomText(3);
        bool cs = rng() % 2;
        ASSERT_EQ(FastReplace(s, f, r, cs), naiveReplace(s, f, r, cs))
            << testing::PrintToString(s) << " " << testing::PrintToString(f) << " " << cs;
    }
}

TEST(EightBitColour, HexAndBytes) {
    EXPECT_EQ(ColorToHexRGB(255), "FF0000");
    EXPECT_EQ(HexRGBToColor("FF0000"), 255);
    EXPECT_EQ(ColorToHexRGB(0x00123456), "563412");
    EXPECT_EQ(HexRGBToColor("563412"), 0x123456);
    EXPECT_EQ(HexRGBToColor("a0b0c0"), 0xC0B0A0);
    EXPECT_EQ(ColorToHexRGB(0x7F00FF00), "00FF00");
    EXPECT_EQ(ColorToRGB24(0x7F123456), 0x123456);
    uint8_t r, g, b;
    ColorToRGBBytes(0x00ABCDEF, r, g, b);
    EXPECT_EQ(r, 0xEF);
    EXPECT_EQ(g, 0xCD);
    EXPECT_EQ(b, 0xAB);
    for (const char* bad : {"GG0000", "FF00", "", "FF-100"})
        EXPECT_THROW(HexRGBToColor(bad), EConvertError) << bad;
    for (int32_t c : {0, 1, 0xFFFFFF, 0x80FF7F})
        EXPECT_EQ(HexRGBToColor(ColorToHexRGB(c)), c);
}
