#include "text/TextEncodings.h"
#include "text/UCodeClasses.h"

#include "codec_testutil.h"

#include <string>

TEST(TextEncodingNames, EveryCodeHasItsNameAndNothingElseHasOne) {
    const std::pair<TextEncodingCode, const char*> expected[] = {
        {0, "ANSI"},          {1200, "UTF-16 LE"},   {1201, "UTF-16 BE"},
        {65000, "UTF-7"},     {64999, "UTF-7 ANSI"}, {65001, "UTF-8"},
        {65002, "UTF-8 BOM"}, {65005, "UTF-32 LE"},  {65006, "UTF-32 BE"},
    };
    for (const auto& [code, name] : expected) {
        EXPECT_TRUE(IsTextEncodingCode(code));
        EXPECT_EQ(U8(TextEncodingName(code)), name) << code;
    }
    for (TextEncodingCode other : {-1, 1, 1252, 12345, 65003, 65004})
        EXPECT_EQ(TextEncodingName(other), u"") << other;
}

TEST(LineBreaks, DetectionTakesTheFirstKindOfTheTableThatOccurs) {
    const std::pair<const char16_t*, LineBreakCode> cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"a\rb", 13},
        {u"a\r\nb\nc", 1310},
        {u"a\nb\r\nc", 1310}, // position does not matter
        {u"a\nb\u2028", 10},
        {u"a\rb\n", 10}, // LF before CR in the table
        {u"\r", 13},
        {u"x\r", 13},
        {u"a\u0015b\u000C", 21},
        {u"a\u000Cb\u0085", 10000},
        {u"a\u2029b\u0085", 10085},
        {u"a\u2029b\u2028", 12028},
        {u"a\u2029", 12029},
        {u"\r\r\n", 1310},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(DetectLineBreak(text), code) << U8(text);
}

TEST(LineBreaks, NamesAndStrings) {
    const struct {
        LineBreakCode code;
        const char16_t* brk;
        const char* name;
    } rows[] = {
        {1310, u"\r\n", "CRLF - Windows, DOS, OS/2, CP/M, TOS"},
        {10, u"\n", "LF - Unix, Linux, Mac OS X, AmigaOS, BSD"},
        {13, u"\r", "CR - Mac OS, Apple II"},
        {21, u"\u0015", "NEL - AIX OS, OS/390"},
        {10000, u"\u000C", "FF - Unicode Form Feed"},
        {10085, u"\u0085", "NEL - Unicode New Line"},
        {12028, u"\u2028", "LS - Unicode Line Seperator"},
        {12029, u"\u2029", "PS - Unicode Paragraph Separator"},
        {0, u"\r\n", "Unknown"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(LineBreakNameA(r.code), r.name);
        EXPECT_EQ(U8(LineBreakNameW(r.code)), r.name);
        EXPECT_EQ(LineBreakString(r.code), r.brk) << r.code;
        EXPECT_EQ(LineBreakFromName(U16(r.name)), r.code);
    }
    EXPECT_EQ(LineBreakFromName(u""), 1310);
    EXPECT_EQ(LineBreakFromName(u"unknown"), 1310); // exact, case-sensitive
    EXPECT_EQ(LineBreakFromName(u"LF"), 1310);
    EXPECT_EQ(LineBreakNameA(99), "");
    EXPECT_EQ(LineBreakNameW(99), u"");
    EXPECT_EQ(LineBreakString(99), u"\r\n");
}

using DetectFileEncodingTest = CodecTempDir;

TEST_F(DetectFileEncodingTest, MarksDecideAndTheRestIsStrictUTF8OrAnsi) {
    const std::pair<std::string, TextEncodingCode> cases[] = {
        {"", 0},
        {"a", 0},
        {"\xEF", 0},
        {"abc", 65001},
        {"ab", 65001},
        {std::string("a\0b", 3), 65001},
        {"a\xE4"
         "b",
         0},
        {"\xC3\xA4pfel", 65001},
        {"\xF0\x9F\x98\x80", 65001},         // four-byte sequence
        {"\xED\xA0\xBD\xED\xB8\x80", 65001}, // the old surrogate form
        {"\xC3", 0},                         // ends inside a sequence
        {"\xC0\x80", 0},                     // overlong
        {"\xEF\xBB\xBF", 65002},
        {"\xEF\xBB\xBF\xE4", 65002}, // the mark decides, even before bad bytes
        {"+/v8", 65000},
        {"+/v8-Hello", 65000},
        {"+/v9AOQ", 65000},
        {"+/v+AOQ", 65000},
        {"+/v/AOQ", 65000},
        {"+/v7", 65001},
        {std::string("\xFF\xFE\0\0", 4), 65005},
        {std::string("\xFF\xFE\0\0a\0\0\0", 8), 65005},
        {std::string("\xFF\xFE\0", 3), 65005}, // missing bytes count as zero
        {"\xFF\xFE", 1200},
        {std::string("\xFF\xFE"
                     "a\0",
                     4),
         1200},
        {std::string("\0\0\xFE\xFF", 4), 65006},
        {"\xFE\xFF", 1201},
        {std::string("\xFE\xFF\0a", 4), 1201},
    };
    for (const auto& [bytes, code] : cases) {
        WriteBytes(Path("f"), bytes);
        EXPECT_EQ(DetectFileEncoding(U16(Path("f"))), code) << testing::PrintToString(bytes);
        EXPECT_EQ(GetFileEncodingName(U16(Path("f"))), TextEncodingName(code));
    }
}

TEST_F(DetectFileEncodingTest, AMissingFileRaisesTheOpenError) {
    const std::string missing = Path("missing.txt");
    try {
        DetectFileEncoding(U16(missing));
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THROW(GetFileEncodingName(U16(Dir.string())), EFOpenError); // a folder
}
