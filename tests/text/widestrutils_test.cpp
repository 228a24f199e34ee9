#include "text/WideStrUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace {

TWideStrArray Arr(std::initializer_list<const char*> items) {
    TWideStrArray a;
    for (const char* s : items)
        a.push_back(U16(s));
    return a;
}

std::string Joined(const TWideStrArray& a) {
    std::string r;
    for (size_t i = 0; i < a.size(); ++i)
        r += (i ? "|" : "") + U8(a[i]);
    return r;
}

// A deliberately plain model of non-overlapping left-to-right search.
std::vector<size_t> NaiveHits(const WideString& s, const WideString& p) {
    std::vector<size_t> hits;
    for (size_t i = 0; p.size() && i + p.size() <= s.size();) {
        if (s.compare(i, p.size(), p) == 0) {
            hits.push_back(i);
            i += p.size();
        } else {
            ++i;
        }
    }
    return hits;
}

} // namespace

TEST(ExplodeW, FieldsBetweenNonOverlappingSeparators) {
    struct Case {
        const char *sep, *text, *fields;
        int count;
    } cases[] = {
        {",", "a,b,", "a|b|", 3},   {",", "", "", 1},
        {",", ",,", "||", 3},       {"\r\n", "x\r\n", "x|", 2},
        {"--", "a---b", "a|-b", 2}, {"aa", "aaa", "|a", 2},
        {"aa", "aaaa", "||", 3},    {"::=", "k::=v::=", "k|v|", 3},
        {"ab", "xyz", "xyz", 1},    {"", "a,b", "a,b", 1},
    };
    for (const auto& c : cases) {
        TWideStrArray a;
        EXPECT_EQ(ExplodeW(a, U16(c.sep), U16(c.text)), c.count) << c.text;
        EXPECT_EQ(Joined(a), c.fields) << c.sep << " / " << c.text;
    }
    TWideStrArray kept = Arr({"old"});
    EXPECT_EQ(ExplodeW(kept, u",", u"n"), 2); // appends, does not clear
    EXPECT_EQ(Joined(kept), "old|n");
}

TEST(ExplodeW, RandomTextsRoundTripThroughImplode) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        WideString text, sep;
        for (int i = rng() % 12; i > 0; --i)
            text += static_cast<WideChar>(u'a' + rng() % 3);
        for (int i = 1 + rng() % 3; i > 0; --i)
            sep += static_cast<WideChar>(u'a' + rng() % 3);
        TWideStrArray a;
        ExplodeW(a, sep, text);
        ASSERT_EQ(a.size(), NaiveHits(text, sep).size() + 1) << U8(text) << " / " << U8(sep);
        ASSERT_EQ(ImplodeW(a, sep), text);
    }
}

TEST(ExplodeQuotedW, QuotedFieldsKeepSeparators) {
    struct Case {
        const char *text, *fields;
    } cases[] = {
        {"\"a,b\",c", "a,b|c"},
        {"x\"y,z", "x\"y|z"},
        {"\"a\"\"b\",c", "a\"\"b|c"}, // doubled quotes are not collapsed
        {"a,,b", "a||b"},
        {"", ""},
        {"\"open,end", "\"open,end"}, // never closed: the separator stays inside
        {"\"q\"", "q"},
        {"\"", ""},
        {"\"\",x", "|x"},
        {"a\"", "a\""}, // not quoted at the start: the quote is an ordinary character
    };
    for (const auto& c : cases) {
        TWideStrArray a;
        ExplodeQuotedW(a, U16(c.text), u',', u'"');
        EXPECT_EQ(Joined(a), c.fields) << c.text;
    }
}

TEST(WideArrays, AppendDeleteUniqueImplode) {
    TWideStrArray a = Arr({"b", "a", "b", "B", "a", ""});
    EXPECT_EQ(Joined(ArrayUniqueW(a)), "b|a|B|");
    EXPECT_TRUE(ArrayDeleteW(a, 1));
    EXPECT_EQ(Joined(a), "b|b|B|a|");
    EXPECT_FALSE(ArrayDeleteW(a, 5));
    EXPECT_EQ(Joined(a), "b|b|B|a|");
    EXPECT_TRUE(ArrayAppendW(a, u"z"));
    EXPECT_EQ(U8(ImplodeW(a, u", ")), "b, b, B, a, , z");
    EXPECT_EQ(ImplodeW({}, u","), u"");
}

TEST(WideSplitToArray, StopsAtFirstEmptyToken) {
    using namespace std::string_literals;
    EXPECT_EQ(Joined(WideSplitToArray(u"a;b;c", u';')), "a|b|c");
    EXPECT_EQ(Joined(WideSplitToArray(u"a;;b", u';')), "a");
    EXPECT_EQ(Joined(WideSplitToArray(u"one\0two\0\0junk"s, u'\0')), "one|two");
    EXPECT_EQ(Joined(WideSplitToArray(u"one\0two"s, u'\0')), "one|two");
    EXPECT_EQ(Joined(WideSplitToArray(u"a,b\0c,d"s, u',')), "a|b"); // U+0000 ends the text

    size_t cursor = 0;
    const WideStringView text = u"k=v";
    EXPECT_EQ(WideNextToken(text, cursor, u'='), u"k");
    EXPECT_EQ(cursor, 2u);
    EXPECT_EQ(WideNextToken(text, cursor, u'='), u"v");
    EXPECT_EQ(cursor, 3u);
    EXPECT_EQ(WideNextToken(text, cursor, u'='), u"");
    EXPECT_EQ(cursor, 3u);
}

TEST(ReplaceAllW, MatchesAModelOnRandomTexts) {
    EXPECT_EQ(ReplaceAllW(u"aaaa", u"aa", u"b"), u"bb");
    EXPECT_EQ(ReplaceAllW(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(ReplaceAllW(u"", u"a", u"x"), u"");
    EXPECT_EQ(ReplaceAllW(u"a.b.c", u".", u""), u"abc");
    EXPECT_EQ(ReplaceFirstW(u"a.b.c", u".", u"::"), u"a::b.c");
    EXPECT_EQ(ReplaceFirstW(u"abc", u"x", u"y"), u"abc");
    EXPECT_EQ(ReplaceFirstW(u"abc", u"", u"y"), u"abc");

    std::mt19937 rng(11);
    for (int round = 0; round < 5000; ++round) {
        // Long enough to run through the vector path, with units that differ only
        // in the high byte to catch a byte-wise search.
        const WideChar alphabet[] = {u'a', u'b', 0x0161, 0x0162, 0x6100};
        auto random = [&](int max) {
            WideString s;
            for (int i = rng() % max; i > 0; --i)
                s += alphabet[rng() % 5];
            return s;
        };
        const WideString s = random(120), old = random(5) + alphabet[rng() % 5], rep = random(4);
        WideString expected;
        size_t from = 0;
        for (size_t at : NaiveHits(s, old)) {
            expected += s.substr(from, at - from) + rep;
            from = at + old.size();
        }
        expected += s.substr(from);
        ASSERT_EQ(ReplaceAllW(s, old, rep), expected) << U8(s) << " / " << U8(old);
        ASSERT_EQ(WideStringReplace(s, old, rep, false, rfReplaceAll), expected);
    }
}

TEST(ReplaceAllInPlaceW, AgreesWithReplaceAllOnRandomTexts) {
    std::mt19937 rng(17);
    const WideChar alphabet[] = {u'a', u'b', 0x0161, 0x6100};
    auto random = [&](int max) {
        WideString s;
        for (int i = static_cast<int>(rng() % max); i > 0; --i)
            s += alphabet[rng() % 4];
        return s;
    };
    for (int round = 0; round < 5000; ++round) {
        // Long texts run through the search's blocks, with several hits to a block; the
        // replacement is shorter, as long as or longer than what it replaces.
        const WideString s = random(round % 2 ? 400 : 40), old = random(4) + alphabet[rng() % 4],
                         rep = random(5);
        WideString inPlace = s;
        ReplaceAllInPlaceW(inPlace, old, rep);
        ASSERT_EQ(inPlace, ReplaceAllW(s, old, rep))
            << U8(s) << " / " << U8(old) << " / " << U8(rep);
    }
    WideString empty;
    ReplaceAllInPlaceW(empty, u"a", u"");
    EXPECT_EQ(empty, u"");
    WideString unchanged = u"abc";
    ReplaceAllInPlaceW(unchanged, u"", u"x");
    EXPECT_EQ(unchanged, u"abc");
}

// The replacement rule written out literally: search in upper-cased copies, copy
// from S, judge the character before a match at the start of the rest by the
// result so far.
WideString ModelReplace(const WideString& s, const WideString& old, const WideString& rep,
                        bool whole, bool all, bool ignoreCase, bool (*delimiter)(WideChar)) {
    const WideString text = ignoreCase ? WideUpperCase(s) : s;
    const WideString pat = ignoreCase ? WideUpperCase(old) : old;
    WideString r;
    size_t rest = 0;
    for (;;) {
        const size_t at = text.find(pat, rest);
        if (at == WideString::npos) break;
        const size_t after = at + pat.size();
        const WideChar before = at > rest ? s[at - 1] : (r.empty() ? 0 : r.back());
        const WideChar next = after < s.size() ? s[after] : 0;
        r += s.substr(rest, at - rest);
        if (whole && !(delimiter(before) && delimiter(next))) {
            r += s.substr(at, pat.size());
        } else {
            r += rep;
            if (!all) {
                rest = after;
                break;
            }
        }
        rest = after;
    }
    return r + s.substr(rest);
}

bool SimpleDelimiter(WideChar c) {
    return c == 0 || c == u' ' || c == u'.';
}

TEST(WideStringReplace, MatchesTheLiteralRuleOnRandomTexts) {
    std::mt19937 rng(5);
    // Case pairs, a unit whose upper case is "S" (U+017F), four units whose upper case
    // is U+0399, and the delimiters.
    const WideChar alphabet[] = {u'a',   u'A',   u's',   u'S',   0x017F, 0x0161, 0x0160,
                                 0x0399, 0x03B9, 0x0345, 0x1FBE, u' ',   u'.'};
    auto random = [&](int max) {
        WideString s;
        for (int i = rng() % max; i > 0; --i)
            s += alphabet[rng() % std::size(alphabet)];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const WideString s = random(90), old = random(3) + alphabet[rng() % 11], rep = random(3);
        const bool whole = rng() % 2, all = rng() % 2, ignoreCase = rng() % 2;
        const TReplaceFlags flags = static_cast<TReplaceFlags>(
            (all ? rfReplaceAll : rfNone) | (ignoreCase ? rfIgnoreCase : rfNone));
        ASSERT_EQ(WideStringReplace(s, old, rep, whole, flags),
                  ModelReplace(s, old, rep, whole, all, ignoreCase, SimpleDelimiter))
            << U8(s) << " / " << U8(old) << " / " << U8(rep) << whole << all << ignoreCase;
    }
}

// Long texts whose occurrences thin out or thicken along the way, so that a result
// sized from the start of the text turns out too large or too small.
TEST(WideStringReplace, LongTextsWithUnevenOccurrences) {
    std::mt19937 rng(13);
    const WideChar alphabet[] = {u'x', u'y', u' ', 0x00DF, u's', u'S', 0x017F};
    for (int round = 0; round < 12; ++round) {
        WideString s;
        const size_t pieces = 2 + rng() % 4;
        for (size_t piece = 0; piece < pieces; ++piece) {
            // Pieces without occurrences (drawn from the first three units only) take
            // turns with pieces full of them.
            const size_t units = (piece + round) % 2 ? std::size(alphabet) : 3;
            for (size_t i = 40000 + rng() % 200000; i > 0; --i)
                s += alphabet[rng() % units];
        }
        const WideString old = round % 2 ? u"s\u00DF" : u"\u00DFS";
        const WideString rep = round % 3 ? u"sssss" : u"";
        const bool ignoreCase = round % 4 < 2;
        const TReplaceFlags flags = rfReplaceAll | (ignoreCase ? rfIgnoreCase : rfNone);
        const WideString expected =
            ModelReplace(s, old, rep, false, true, ignoreCase, SimpleDelimiter);
        ASSERT_EQ(WideStringReplace(s, old, rep, false, flags), expected) << round;
        if (!ignoreCase) {
            ASSERT_EQ(ReplaceAllW(s, old, rep), expected) << round;
        }
    }
}

TEST(WideStringReplace, WholeWordAndIgnoreCase) {
    struct Case {
        const char *s, *old, *rep;
        bool whole;
        TReplaceFlags flags;
        const char* expected;
    } cases[] = {
        {"cat concat cat", "cat", "dog", true, rfReplaceAll, "dog concat dog"},
        {"cat concat cat", "cat", "dog", true, rfNone, "dog concat cat"},
        {"cat concat cat", "cat", "dog", false, rfNone, "dog concat cat"},
        {"concat cat", "cat", "dog", true, rfNone, "concat dog"},
        {"Straße STRASSE", "straße", "x", false, rfReplaceAll | rfIgnoreCase, "x STRASSE"},
        {"Cat CAT cat", "cAt", "d", true, rfReplaceAll | rfIgnoreCase, "d d d"},
        {"Cat CAT cat", "cAt", "d", true, rfReplaceAll, "Cat CAT cat"},
        {"(cat),cat;cat.", "cat", "d", true, rfReplaceAll, "(d),d;d."},
        {"cat\u00A0cat\u2014cat€cat", "cat", "d", true, rfReplaceAll, "d\u00A0d\u2014d€d"},
        {"catcat cat", "cat", "d", true, rfReplaceAll, "catcat d"},
        {"cat_1 cat", "cat", "d", true, rfReplaceAll, "d_1 d"}, // "_" is punctuation
        {"éclat clat", "clat", "d", true, rfReplaceAll, "éclat d"},
        // Before an occurrence at the start of the rest stands the replacement's last character.
        {" x x", " x", "y", true, rfReplaceAll, "y x"},
        {" x x", " x", "-", true, rfReplaceAll, "--"},
        {"abc", "", "d", false, rfReplaceAll, "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(WideStringReplace(U16(c.s), U16(c.old), U16(c.rep), c.whole, c.flags)),
                  c.expected)
            << c.s << " / " << c.old;
}

TEST(PosExW, PositionPlusTwo) {
    EXPECT_EQ(PosExW(u"b", u"abcb", 3), 6);
    EXPECT_EQ(PosExW(u"b", u"abcb", 1), 4);
    EXPECT_EQ(PosExW(u"b", u"abcb", 5), 0);
    EXPECT_EQ(PosExW(u"x", u"abcb", 1), 0);
    EXPECT_EQ(PosExW(u"", u"abcb", 1), 0);
    EXPECT_EQ(PosExW(u"a", u"", 1), 0);
    EXPECT_EQ(PosExW(u"a", u"abc", 0), 3);
}

TEST(PadLeftW, PadsOnlyShortTexts) {
    EXPECT_EQ(PadLeftW(u"7", u'0', 3), u"007");
    EXPECT_EQ(PadLeftW(u"1234", u'0', 3), u"1234");
    EXPECT_EQ(PadLeftW(u"", u' ', 2), u"  ");
    EXPECT_EQ(PadLeftW(u"x", u' ', -5), u"x");
}

TEST(TitleCaseW, UpperCasesAfterSeparatorsOnly) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"hello wORLD-x", "Hello WORLD-X"},
        {"a\tb$c*d+e@f^g`h|i~j1k", "A\tb$c*d+e@f^g`h|i~j1k"},
        {"a!b\"c#d%e&f'g(h)i,j.k/l:m;n<o=p>q?r[s\\t]u_v{w}x§y", // every separator
         "A!B\"C#D%E&F'G(H)I,J.K/L:M;N<O=P>Q?R[S\\T]U_V{W}X§Y"},
        {"äpfel\nöl\rß", "Äpfel\nÖl\rß"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(TitleCaseW(U16(c.in))), c.out) << c.in;
}

TEST(RandomCaseW, OneDrawPerCharacter) {
    int calls = 0;
    const int bits[] = {1, 0, 1, 0, 0};
    auto draw = [&] { return bits[calls++ % 5]; };
    EXPECT_EQ(U8(RandomCaseW(U16("AbCdé"), draw)), "aBcDÉ");
    EXPECT_EQ(calls, 5);
    const WideString mixed = RandomCaseW(u"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(WideLowerCase(mixed), u"abcdefghijklmnopqrstuvwxyz");
}

TEST(WordWrapW, BreaksAfterLastBreakCharOrHard) {
    const TCharSet blanks = CharSetOf(u" -");
    struct Case {
        const char* text;
        int width;
        const char* out;
    } cases[] = {
        {"abcdefghi", 4, "abcd\r\nefgh\r\ni"},
        {"a", 4, "a"},
        {"", 4, ""},
        {"aa bb cc", 5, "aa\r\nbb cc"},
        {"aa-bb-cc", 4, "aa-\r\nbb-\r\ncc"},
        {"a bcdefg", 3, "a\r\nbcd\r\nefg"},
        {"abc  def", 4, "abc\r\ndef"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(WordWrapW(U16(c.text), blanks, c.width)), c.out) << c.text << " " << c.width;
    // A width below 1 is the default width instead of an endless loop.
    const WideString long_(120, u'x');
    for (int width : {0, -3})
        EXPECT_EQ(WordWrapW(long_, blanks, width), WordWrapW(long_, blanks, DefaultWrapWidth));
    EXPECT_EQ(WordWrapW(long_, blanks, 0).size(), 120u + 2 * 2);
}

// The wrapping rule written out with 1-based positions as it is stated.
WideString ModelWrap(const WideString& text, const TCharSet& breaks, int width) {
    const int len = static_cast<int>(text.size());
    auto at = [&](int pos) { return text[static_cast<size_t>(pos - 1)]; };
    auto piece = [&](int from, int to) {
        return WideTrim(
            text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
    };
    WideString r;
    for (int i = 1; i <= len;) {
        const int e = std::min(i + width - 1, len);
        int last = e;
        if (e < len) {
            int j = e;
            while (j >= i + 1 && !InCharSet(breaks, at(j)))
                --j;
            last = j >= i + 1 ? j : i + width - 1;
        }
        if (i > 1) r += u"\r\n";
        r += piece(i, last);
        i = last + 1;
    }
    return r;
}

TEST(WordWrapW, MatchesTheLiteralRuleOnRandomTexts) {
    std::mt19937 rng(3);
    const WideChar alphabet[] = {u'a', u'b', u' ', u'-', u'\t', 0x00A0, 0x2010, u'\0'};
    for (int round = 0; round < 20000; ++round) {
        WideString text;
        for (int i = rng() % 40; i > 0; --i)
            text += alphabet[rng() % std::size(alphabet)];
        // Break sets with and without characters from U+0100 up (never members).
        const TCharSet breaks = CharSetOf(round % 2 ? u" -\u2010" : u"a\u00A0");
        const int width = 1 + static_cast<int>(rng() % 9);
        ASSERT_EQ(WordWrapW(text, breaks, width), ModelWrap(text, breaks, width))
            << U8(text) << " / " << width;
    }
}

TEST(HtmlDecodeW, MatchesReplacingTheNamesOneAfterTheOther) {
    // The decoding rule as stated: every name replaced with ReplaceAllW in code order.
    std::vector<WideString> names;
    for (WideChar c = 0xA0; c <= 0xFF; ++c) {
        const WideString e = HtmlEncodeW(WideString(1, c));
        names.push_back(e.substr(1, e.size() - 2));
    }
    auto model = [&](WideString s) {
        for (size_t i = 0; i < names.size(); ++i)
            s = ReplaceAllW(s, u"&" + names[i] + u";",
                            WideString(1, i == 0 ? u' ' : static_cast<WideChar>(0xA0 + i)));
        return s;
    };
    std::mt19937 rng(9);
    for (int round = 0; round < 20000; ++round) {
        // Pieces of references, whole references and the characters around them.
        WideString s;
        for (int i = rng() % 12; i > 0; --i) {
            switch (rng() % 6) {
            case 0:
                s += u"&" + names[rng() % names.size()] + u";";
                break;
            case 1:
                s += names[rng() % names.size()];
                break;
            case 2:
                s += u"&";
                break;
            case 3:
                s += u";";
                break;
            case 4:
                s += u"&amp;";
                break;
            default:
                s += static_cast<WideChar>(0xA0 + rng() % 96);
                break;
            }
        }
        ASSERT_EQ(HtmlDecodeW(s), model(s)) << U8(s);
    }
}

TEST(WideAdjustLineBreaks, EveryBreakKindToEveryStyle) {
    const WideString in = u"a\rb\nc\r\nd\u2028e\n\r";
    struct Case {
        TLineBreakStyle style;
        const char16_t* out;
    } cases[] = {
        {lbsCRLF, u"a\r\nb\r\nc\r\nd\r\ne\r\n\r\n"},
        {lbsLF, u"a\nb\nc\nd\ne\n\n"},
        {lbsCR, u"a\rb\rc\rd\re\r\r"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideAdjustLineBreaks(in, c.style), c.out);
        EXPECT_EQ(WideAdjustLineBreaksLength(in, c.style), WideStringView(c.out).size());
    }
    EXPECT_EQ(WideAdjustLineBreaks(u"", lbsCRLF), u"");
    EXPECT_EQ(WideAdjustLineBreaks(u"no break", lbsLF), u"no break");
}

TEST(SortStrArrayW, GermanSpellingKeysOrdinal) {
    struct Case {
        std::initializer_list<const char*> in;
        bool ascending;
        const char* out;
    } cases[] = {
        {{"Zebra", "Äpfel", "Apfel"}, true, "Äpfel|Apfel|Zebra"},
        {{"Zebra", "Äpfel", "Apfel"}, false, "Zebra|Apfel|Äpfel"},
        {{"b", "A", "a", "B"}, true, "A|a|b|B"}, // equal keys keep their order
        {{"Strasse", "Straße", "Strase"}, true, "Strase|Strasse|Straße"},
        {{"Ölung", "Oma", "Ça", "Cb"}, true, "Ça|Cb|Ölung|Oma"},
        {{}, true, ""},
    };
    for (const auto& c : cases) {
        TWideStrArray a = Arr(c.in);
        SortStrArrayW(a, c.ascending);
        EXPECT_EQ(Joined(a), c.out);
    }
}

TEST(DeleteLinesByNumberW, NumbersAndRisingRanges) {
    const TWideStrArray lines = Arr({"l1", "l2", "l3", "l4", "l5"});
    struct Case {
        const char *list, *out;
    } cases[] = {
        {"1-2, 4", "l3\r\nl5"},
        {"5-5, 3-1, x, 0, -2", "l1\r\nl2\r\nl3\r\nl4\r\nl5"},
        {" 2 , 2", "l1\r\nl3\r\nl4\r\nl5"},
        {"4-9", "l1\r\nl2\r\nl3"},
        {"1-2000000000", ""},
        {"0-2", "l3\r\nl4\r\nl5"},
        {"-2000000000-2", "l1\r\nl2\r\nl3\r\nl4\r\nl5"}, // three pieces at "-"
        {"", "l1\r\nl2\r\nl3\r\nl4\r\nl5"},
        {"1-2-3", "l1\r\nl2\r\nl3\r\nl4\r\nl5"},
        {"$2, 0x4", "l1\r\nl3\r\nl5"}, // the integer rule of the number checks
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(DeleteLinesByNumberW(lines, u"\r\n", U16(c.list))), c.out) << c.list;
    EXPECT_EQ(DeleteLinesByNumberW({}, u"\n", u"1"), u"");
    EXPECT_EQ(DeleteLinesByNumberW(Arr({"only"}), u"\n", u"1"), u"");
}

TEST(HtmlCoding, Latin1NamesOnly) {
    EXPECT_EQ(HtmlDecodeW(u"a&nbsp;b"), u"a b");
    EXPECT_EQ(HtmlEncodeW(u"\u00A0é<&\"x€"), u"&nbsp;&eacute;<&\"x€");
    EXPECT_EQ(U8(HtmlDecodeW(u"&Auml;&auml;&amp;&#228;&auml&yuml;;&&eacute;")),
              "Ää&amp;&#228;&aumlÿ;&é");
    // Every character of the range survives encode then decode (U+00A0 comes back a space).
    WideString all;
    for (WideChar c = 0x9F; c <= 0x100; ++c)
        all += c;
    WideString expected = all;
    expected[1] = u' ';
    EXPECT_EQ(HtmlDecodeW(HtmlEncodeW(all)), expected);
}

TEST(HtmlCoding, NamesAgreeWithPython) {
    FILE* p = popen("python3 -c \"import html.entities as h\n"
                    "print(' '.join(h.codepoint2name[c] for c in range(0xA0, 0x100)))\" "
                    "2>/dev/null",
                    "r");
    ASSERT_NE(p, nullptr);
    std::string names;
    char buf[4096];
    while (fgets(buf, sizeof buf, p))
        names += buf;
    if (pclose(p) != 0 || names.empty()) GTEST_SKIP() << "python3 not available";
    std::string ours;
    for (WideChar c = 0xA0; c <= 0xFF; ++c) {
        std::string e = U8(HtmlEncodeW(WideString(1, c)));
        ours += (c > 0xA0 ? " " : "") + e.substr(1, e.size() - 2);
    }
    EXPECT_EQ(ours + "\n", names);
}
