#include "text/TextFiles.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

#include "codec_testutil.h"
#include "support/ScopedHook.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

const WideString Mixed =
    U16("a\xC3\xA4\xE2\x82\xAC\xE6\x97\xA5\xF0\x9F\x98\x80") + WideString(1, u'\0') + u"z";

} // namespace

TEST(Surrogates, PairsAndCodePoints) {
    EXPECT_TRUE(IsHighSurrogate(0xD800));
    EXPECT_TRUE(IsHighSurrogate(0xDBFF));
    EXPECT_FALSE(IsHighSurrogate(0xDC00));
    EXPECT_TRUE(IsLowSurrogate(0xDC00));
    EXPECT_TRUE(IsLowSurrogate(0xDFFF));
    EXPECT_FALSE(IsLowSurrogate(0xE000));
    EXPECT_EQ(SurrogatePairToCodePoint(0xD83D, 0xDE00), 0x1F600u);
    EXPECT_EQ(SurrogatePairToCodePoint(0xDBFF, 0xDFFF), 0x10FFFFu);
    EXPECT_EQ(SurrogatePairToCodePoint(0xDE00, 0xD83D), 63u);
    EXPECT_EQ(SurrogatePairToCodePoint(u'a', 0xDE00), 63u);

    const WideString text = u"a\U0001F600\xDC00\xD800"
                            u"b\xD800";
    const struct {
        int index;
        uint32_t cp;
        int count;
    } cases[] = {
        {0, 63, 0}, {1, 'a', 1}, {2, 0x1F600, 2}, {3, 63, 1}, // the low half alone
        {4, 63, 1}, {5, 63, 1},  {6, 'b', 1},     {7, 63, 1}, // high at the end
        {8, 63, 0},
    };
    for (const auto& c : cases) {
        int count = -1;
        EXPECT_EQ(CodePointAtW(text, c.index, count), c.cp) << c.index;
        EXPECT_EQ(count, c.count) << c.index;
    }

    EXPECT_EQ(CodePointToUTF16(0x41), u"A");
    EXPECT_EQ(CodePointToUTF16(0xFFFF), u"\xFFFF");
    EXPECT_EQ(CodePointToUTF16(0x10000), u"\U00010000");
    EXPECT_EQ(CodePointToUTF16(0x10FFFF), u"\U0010FFFF");
    EXPECT_EQ(CodePointToUTF16(0x110000), u"?");
    EXPECT_EQ(CodePointToUTF16(0xD800), u"?");
    EXPECT_EQ(CodePointToUTF16(0xDFFF), u"?");
    for (uint32_t cp : {0x1u, 0x7Fu, 0x800u, 0xFFFDu, 0x10000u, 0x1F600u, 0x10FFFFu}) {
        WideString s = CodePointToUTF16(cp);
        int count = 0;
        EXPECT_EQ(CodePointAtW(s, 1, count), cp);
        EXPECT_EQ(static_cast<std::size_t>(count), s.size());
    }
}

TEST(LenientUTF8, StrayBytesBecomeTheirCp1252Characters) {
    const std::pair<std::string, WideString> cases[] = {
        {"", u""},
        {"plain", u"plain"},
        {"\xC3\xA4pfel", u"\u00E4pfel"},
        {"a\xE4"
         "b",
         u"a\u00E4b"},
        {"\x80\x81\x9F", u"\u20AC\u0081\u0178"},
        {"\xC3", u"\u00C3"}, // cut off at the end
        {"\xC3\xA4\xC3", u"\u00E4\u00C3"},
        {"\xE2\x82"
         "x",
         u"\u00E2\u201Ax"},            // sequence broken by an ASCII byte
        {"\xC0\x80", u"\u00C0\u20AC"}, // overlong form
        {"\xF0\x9F\x98\x80!\xFF", u"\U0001F600!\u00FF"},
        {"\xED\xA0\xBD\xED\xB8\x80", u"\U0001F600"},       // old surrogate form stays accepted
        {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"}, // above U+10FFFF
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(UTF8ToWideLenient(bytes), text) << testing::PrintToString(bytes);
}

TEST(PictureNames, OnlyTheFourPictureExtensionsInAnyCase) {
    for (const char16_t* name : {u"/a/b.bmp", u"/a/b.GIF", u"x.Jpg", u"/a.b/c.jpeg", u"c.JPEG"})
        EXPECT_TRUE(IsPictureFileName(name)) << U8(name);
    for (const char16_t* name : {u"/a/b.png", u"/a.bmp/c", u"/a/bmp", u"b.bmpx", u"b.jpe", u""})
        EXPECT_FALSE(IsPictureFileName(name)) << U8(name);
}

using TextFileTest = CodecTempDir;

TEST_F(TextFileTest, SavedBytes) {
    const struct {
        WideString text;
        TextEncodingCode code;
        bool bom;
        std::string bytes;
    } cases[] = {
        {u"abc", 1200, true, Bytes({0xFF, 0xFE, 'a', 0, 'b', 0, 'c', 0})},
        {u"abc", 1200, false, Bytes({'a', 0, 'b', 0, 'c', 0})},
        {u"abc", 1201, true, Bytes({0xFE, 0xFF, 0, 'a', 0, 'b', 0, 'c'})},
        {u"", 1201, true, Bytes({0xFE, 0xFF})},
        {u"", 65002, false, "\xEF\xBB\xBF"},
        {u"", 65001, true, ""},
        {u"\u00E4", 65001, true, "\xC3\xA4"},
        {u"\U0001F600", 65002, false, "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
        {u"\U0001F600", 65005, true, Bytes({0xFF, 0xFE, 0, 0, 0x00, 0xF6, 0x01, 0x00})},
        {u"\U0001F600", 65006, true, Bytes({0, 0, 0xFE, 0xFF, 0x00, 0x01, 0xF6, 0x00})},
        {u"\U0001F600", 65005, false, Bytes({0x00, 0xF6, 0x01, 0x00})},
        {u"\xDC00", 65005, true, Bytes({0xFF, 0xFE, 0, 0})}, // lone low: nothing
        {u"\xD800", 65005, false, Bytes({'?', 0, 0, 0})},    // lone high: "?"
        {u"\xD800"
         u"a",
         65006, false, Bytes({0, 0, 0, '?', 0, 0, 0, 'a'})},
        {u"A+B", 64999, true, "A+-B"},
        {u"\u00E4", 65000, true, "+/v8A5A"},
        {u"\u00E4", 65000, false, "+AOQ"},
        {u" x", 65000, true, "+/v8 x"}, // the run ends without "-",
        {u"\u20AC\u00E4\u2126", 0, false, "\x80\xE4?"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SaveTextFileW(c.text, U16(Path("out")), c.code, c.bom));
        EXPECT_EQ(ReadBytes(Path("out")), c.bytes) << c.code << " " << U8(c.text);
    }
}

TEST_F(TextFileTest, LoadedTexts) {
    const std::pair<std::string, WideString> cases[] = {
        {"", u""},
        {"a", u"a"},
        {"\xE4", u"\u00E4"}, // one byte: ANSI
        {"a\xE4"
         "b\x80",
         u"a\u00E4b\u20AC"},
        {"\xC3\xA4\r\n", u"\u00E4\r\n"},
        {"\xEF\xBB\xBF", u""},
        {"\xEF\xBB\xBF\xEF\xBB\xBF"
         "a",
         u"\uFEFFa"},                        // only one mark is dropped
        {"\xEF\xBB\xBFx\xE4y", u"x\u00E4y"}, // malformed after a mark: kept
        {"\xFF\xFE", u""},
        {Bytes({0xFF, 0xFE, 'a', 0, 'b'}), u"a"}, // odd last byte ignored
        {Bytes({0xFE, 0xFF, 0, 'a', 0x20, 0xAC}), u"a\u20AC"},
        {Bytes({0xFF, 0xFE, 0, 0}), u""}, // a UTF-32 mark alone
        {Bytes({0, 0, 0xFE, 0xFF, 0, 0x11, 0, 0, 0, 0, 0, 'a', 1}), u"?a"},
        // FF FE 00 00 opens UTF-32 LE only for whole code points after it; else it is a
        // UTF-16 LE text that starts with U+0000.
        {Bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0}), WideString(u"\0a", 2)},
        {Bytes({0xFF, 0xFE, 0, 0, 0, 0, 0x11, 0, 'a', 0, 0, 0}), WideString(u"\0\0\x11"
                                                                            u"a\0",
                                                                            5)},
        {Bytes({0xFF, 0xFE, 0, 0, 0, 0xD8, 0, 0}), WideString(u"\0\xD800\0", 3)},
        {Bytes({0xFF, 0xFE, 0, 0, 0, 0xF6, 1, 0, 'a', 0, 0, 0}), u"\U0001F600a"},
        {Bytes({0, 0, 0xFE, 0xFF, 0, 1, 0xF6, 0, 0, 0, 0xD8, 0}), u"\U0001F600?"},
        {"+/v8-", u""},
        {"+/v8", u""},
        {"+/v8A5A-pfel", u"\u00E4pfel"},
        {"+/v8A5A", u"\u00E4"},
        {"+/v8- Hello", u" Hello"},
        {"+/v9AAA-", u"\u4000"},
        {"+/v+AAA-", u"\u8000"},
        {"+/v/AAA", u"\uC000"},
    };
    for (const auto& [bytes, text] : cases) {
        WriteBytes(Path("in"), bytes);
        WideString loaded = u"old";
        LoadTextFileW(U16(Path("in")), loaded);
        EXPECT_EQ(loaded, text) << testing::PrintToString(bytes);
    }
}

TEST_F(TextFileTest, RoundTripThroughEveryCode) {
    const WideString ansiText = U16("a\xC3\xA4\xE2\x82\xAC") + WideString(1, u'\0') + u"\r\n\u0178";
    for (const auto& entry : TextEncodingTable()) {
        const TextEncodingCode code = entry.Code;
        const WideString& text = code == 0 ? ansiText : Mixed;
        const std::string path = Path(std::string("rt-") + entry.Name);
        ASSERT_TRUE(SaveTextFileW(text, U16(path), code, true)) << entry.Name;
        WideString loaded;
        TextEncodingCode detected = -2;
        if (code == 64999) {
            // Never detected (it reads as the ASCII it is): decoded explicitly.
            LoadTextFileW(U16(path), loaded, &detected);
            EXPECT_EQ(detected, 65001);
            loaded = UTF7ToWide(ReadBytes(path));
        } else {
            LoadTextFileW(U16(path), loaded, &detected);
            EXPECT_EQ(detected, code) << entry.Name;
            EXPECT_EQ(DetectFileEncoding(U16(path)), code) << entry.Name;
        }
        EXPECT_EQ(loaded, text) << entry.Name;
    }
    // UTF-7 with a mark: whatever follows the mark comes back unchanged.
    for (const WideString& text :
         {WideString(u"\u00E4pfel"), WideString(u" x"), WideString(u"-"), WideString(u"+"),
          WideString(u"\u4000a"), WideString(u"\uF000"), WideString(u"\uA000"),
          WideString(u"\uFEFF"), WideString(u"A-"), WideString(u"")}) {
        ASSERT_TRUE(SaveTextFileW(text, U16(Path("u7")), 65000, true));
        WideString loaded;
        LoadTextFileW(U16(Path("u7")), loaded);
        EXPECT_EQ(loaded, text) << U8(text) << " " << ReadBytes(Path("u7"));
    }
}

// A text that starts with U+0000, saved as UTF-16 LE with a mark, starts FF FE 00 00 like
// UTF-32 LE: it must still read back as it was saved.
TEST_F(TextFileTest, AUTF16TextStartingWithNulReadsBack) {
    const WideString texts[] = {WideString(u"\0abc", 4), WideString(u"\0\0\x12\0", 4),
                                WideString(u"\0\0", 2), WideString(u"\0\U0001F600", 3),
                                WideString(u"\0\r\n\xD800", 4)};
    for (const WideString& text : texts) {
        ASSERT_TRUE(SaveTextFileW(text, U16(Path("nul")), teUTF16LE, true));
        WideString loaded;
        TextEncodingCode detected = -2;
        LoadTextFileW(U16(Path("nul")), loaded, &detected);
        EXPECT_EQ(detected, teUTF16LE);
        EXPECT_EQ(loaded, text) << testing::PrintToString(ReadBytes(Path("nul")));
    }
}

TEST_F(TextFileTest, UnknownCodeAndPicturesTouchNothing) {
    const std::string target = Path("keep.txt");
    WriteBytes(target, "original");
    EXPECT_FALSE(SaveTextFileW(u"new", U16(target), 12345, true));
    EXPECT_FALSE(SaveTextFileW(u"new", U16(target), -1, false));
    EXPECT_EQ(ReadBytes(target), "original");
    EXPECT_FALSE(SaveTextFileW(u"new", U16(Path("none.txt")), 12345, false));
    EXPECT_EQ(EntryCount(), 1u);

    // Without a renderer a picture is not saved; with one, it gets the text and the name.
    EXPECT_FALSE(SaveTextFileW(u"pic", U16(Path("a.bmp")), 65001, false));
    EXPECT_EQ(EntryCount(), 1u);
    WideString seenText, seenName;
    {
        ScopedHook renderer(SetTextPictureRenderer,
                            [&](const WideString& text, const WideString& name) {
                                seenText = text;
                                seenName = name;
                                return name.ends_with(u"g");
                            });
        EXPECT_TRUE(SaveTextFileW(u"pic", U16(Path("a.jpeg")), 12345, true));
        EXPECT_EQ(seenText, u"pic");
        EXPECT_EQ(seenName, U16(Path("a.jpeg")));
        EXPECT_FALSE(SaveTextFileW(u"pic", U16(Path("a.GIF")), 0, false));
        ASSERT_TRUE(SaveTextFileW(u"png", U16(Path("a.png")), 65001, false));
        EXPECT_EQ(ReadBytes(Path("a.png")), "png");
    }
    EXPECT_FALSE(SaveTextFileW(u"pic", U16(Path("a.jpg")), 65001, false));
}

TEST_F(TextFileTest, AFailedSaveKeepsTheOriginalByteForByte) {
    const std::string target = Path("orig.txt");
    const std::string original = "\xFF\xFE" + std::string("o\0r\0i\0g\0", 8);
    WriteBytes(target, original);

    // The target's parent is a regular file (fails even for root).
    const std::string below = target + "/x.txt";
    try {
        SaveTextFileW(u"new", U16(below), 65001, false);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + below + "\". Not a directory");
    }
    // A link to such a place fails the same way and stays a link.
    ASSERT_EQ(symlink(below.c_str(), Path("link").c_str()), 0);
    EXPECT_THROW(SaveTextFileW(u"new", U16(Path("link")), 1200, true), EFCreateError);

    // The disk runs out half-way (a file size limit stands in for a full disk).
    {
        rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 1 << 16;
        setrlimit(RLIMIT_FSIZE, &small);
        const WideString big(1 << 17, u'\u00E4');
        for (TextEncodingCode code : {0, 1200, 1201, 65000, 64999, 65001, 65002, 65005, 65006})
            EXPECT_THROW(SaveTextFileW(big, U16(target), code, true), EFCreateError) << code;
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    EXPECT_EQ(ReadBytes(target), original);
    EXPECT_EQ(EntryCount(), 2u); // the file and the link: no temporary left

    // A read-only original keeps its bits when it is replaced.
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(SaveTextFileW(u"new", U16(target), 65001, false));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST_F(TextFileTest, LoadingAMissingFileRaisesTheOpenError) {
    WideString text = u"keep";
    EXPECT_THROW(LoadTextFileW(U16(Path("none")), text), EFOpenError);
    EXPECT_EQ(text, u"keep");
    WriteBytes(Path("bad7"), "+/v8\x80");
    EXPECT_THROW(LoadTextFileW(U16(Path("bad7")), text), EUCodeGeneralError);
}

TEST_F(TextFileTest, SequencesAcrossTheReadersPiecesOfOneMegabyte) {
    const std::size_t piece = 1 << 20;
    for (std::size_t shift = 0; shift < 5; ++shift) {
        const WideString text = WideString(piece - shift, u'a') + u"\U0001F600\u20AC\u00E4b";
        ASSERT_TRUE(SaveTextFileW(text, U16(Path("p")), 65001, false));
        EXPECT_EQ(DetectFileEncoding(U16(Path("p"))), 65001) << shift;
        WideString loaded;
        LoadTextFileW(U16(Path("p")), loaded);
        EXPECT_TRUE(loaded == text) << shift;
        // A bad byte in the second piece makes all of it ANSI.
        WriteBytes(Path("p"), std::string(piece - shift, 'a') + "\xC3\xA4\xE4");
        EXPECT_EQ(DetectFileEncoding(U16(Path("p"))), 0) << shift;
        LoadTextFileW(U16(Path("p")), loaded);
        EXPECT_TRUE(loaded == WideString(piece - shift, u'a') + u"\u00C3\u00A4\u00E4") << shift;
    }
}

TEST_F(TextFileTest, LargeTextsCrossThePieceBoundariesIntact) {
    // A surrogate pair at every position around the 64 Ki-unit pieces of the writer.
    WideString text;
    for (int i = 0; i < 70000; ++i)
        text += (i % 3 == 0) ? WideString(u"\U0001F600") : u"x\u00E4";
    for (TextEncodingCode code : {1201, 65001, 65005, 65006}) {
        ASSERT_TRUE(SaveTextFileW(text, U16(Path("big")), code, true));
        WideString loaded;
        LoadTextFileW(U16(Path("big")), loaded);
        EXPECT_EQ(loaded, text) << code;
    }
}

TEST_F(TextFileTest, NamesFromTheFolderListingThatAreNoUTF8) {
    // A name written by an older system in an 8-bit code page: the listing gives its bytes
    // as escaped units, and loading and saving must reach that very file.
    const std::string raw = Path(std::string("caf") + static_cast<char>(0xE9) + ".txt");
    WriteBytes(raw, "old");
    const WideString name = ListedName(u"*.txt");
    ASSERT_FALSE(name.empty());

    WideString text;
    LoadTextFileW(name, text);
    EXPECT_EQ(text, u"old");
    EXPECT_EQ(DetectFileEncoding(name), 65001);
    ASSERT_TRUE(SaveTextFileW(u"new", name, 65001, false));
    EXPECT_EQ(ReadBytes(raw), "new");
    EXPECT_EQ(EntryCount(), 1u);

    TUCodeStringList list;
    list.LoadFromFile(name);
    ASSERT_EQ(list.Count(), 1);
    list.Add(u"more");
    list.SaveToFile(name);
    EXPECT_EQ(ReadBytes(raw).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(EntryCount(), 1u);
}
