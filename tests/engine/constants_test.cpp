#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <stdlib.h>
#include <sys/time.h>

#include "engine/Constants.h"
#include "engine/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class ConstantsTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        s.SetChecked({"Tprog", "act_konstanten"}, true);
        // File times in a fixed form, whatever the machine's locale.
        ::setenv("QUORBEL_DATETIME_FORMAT", "dd.MM.yyyy HH:mm:ss", 1);
    }
    void TearDown() override {
        ::unsetenv("QUORBEL_DATETIME_FORMAT");
        TempFolderTest::TearDown();
    }
    WideString file(const std::string& name, size_t size = 3) {
        return write(name, std::string(size, 'x'));
    }
    MemorySettings s;
};

TEST_F(ConstantsTest, FileNamePathExtensionAndNumber) {
    const WideString a = file("a.txt");
    EXPECT_EQ(KONS(s, u"%datei%|%file%|%endung%|%num%", a, 1), u"a.txt|a.txt|.txt|2");
    EXPECT_EQ(KONS(s, u"%pfaddatei%|%pathfile%", a, 1), a + u"|" + a);
    EXPECT_EQ(KONS(s, u"%pfad%|%path%", a, 1), dir() + u"|" + dir());
    EXPECT_EQ(KONS(s, u"[%extension%]", file("noext"), 1), u"[]");
    s.SetText({"Tprog", "act_konst_start"}, "5");
    EXPECT_EQ(KONS(s, u"%num%", a, 3), u"8");
    s.SetText({"Tprog", "act_konst_start"}, "five");
    EXPECT_EQ(KONS(s, u"%num%", a, 3), u"4");
    // Other counters are not this constant.
    EXPECT_EQ(KONS(s, u"%numf%%numfa%%0num%", a, 3), u"%numf%%numfa%%0num%");
}

TEST_F(ConstantsTest, NothingChangesWithoutTheTick) {
    s.SetChecked({"Tprog", "act_konstanten"}, false);
    const WideString a = file("a.txt");
    for (const char16_t* t : {u"%datei%", u"%num%", u"%size%", u"%modified%", u"plain"})
        EXPECT_EQ(KONS(s, t, a, 1), t);
}

TEST_F(ConstantsTest, SizeAndTimes) {
    const WideString big = file("big.bin", 1500);
    EXPECT_EQ(U8(KONS(s, u"%größe%|%size%", big, 1)), "1.500 KB|1.500 KB");
    EXPECT_EQ(U8(KONS(s, u"%size%", file("small.bin", 999), 1)), "999 Byte");

    std::tm t{};
    t.tm_year = 2020 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 4;
    t.tm_hour = 5;
    t.tm_min = 6;
    t.tm_sec = 7;
    t.tm_isdst = -1;
    timeval times[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
    ASSERT_EQ(::utimes((folder / "big.bin").c_str(), times), 0);
    std::string modified = U8(KONS(s, u"%geändert%", big, 1));
    EXPECT_NE(modified.find("2020"), std::string::npos) << modified;
    EXPECT_NE(modified.find("05:06:07"), std::string::npos) << modified;
    EXPECT_EQ(KONS(s, u"%modified%", big, 1), U16(modified));
    // Reading the file information may itself renew the access time: only its form is known.
    EXPECT_TRUE(std::regex_match(U8(KONS(s, u"%zugriff%", big, 1)),
                                 std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")));
    EXPECT_EQ(U8(KONS(s, u"%created%", big, 1)).size(), modified.size());
}

TEST_F(ConstantsTest, OutputFolderPatterns) {
    const WideString a = file("src/a.txt");
    s.SetText({"Tprog", "out_ordner"}, "%ordner%/neu");
    EXPECT_EQ(NameFinden(s, a, u"", 0, 1), dir() + u"src/neu/a-1.txt");
    EXPECT_TRUE(fs::is_directory(folder / "src" / "neu"));
    s.SetText({"Tprog", "out_ordner"}, U16(folder.string()) + u"/out/deep");
    EXPECT_EQ(NameFinden(s, a, u"", 0, 1), dir() + u"out/deep/a-1.txt");
    EXPECT_TRUE(fs::is_directory(folder / "out" / "deep"));
    s.SetText({"Tprog", "out_ordner"}, "relative-out");
    EXPECT_EQ(NameFinden(s, a, u"", 0, 1), u"relative-out/a-1.txt");
    EXPECT_FALSE(fs::exists("relative-out"));
    s.SetText({"Tprog", "out_ordner"}, "<keep>");
    EXPECT_EQ(NameFinden(s, a, u"", 0, 1), dir() + u"src/a-1.txt");
    s.SetChecked({"Tprog", "out_overwrite"}, true);
    EXPECT_EQ(NameFinden(s, a, u"", 0, 1), a);
}

TEST_F(ConstantsTest, OutputNamePatterns) {
    s.SetRows({"Tprog", "qulist"}, std::vector<ListRow>(12));
    struct Case {
        const char* source;
        const char* name;
        const char* format;
        const char* firstchars;
        int index, width;
        const char* expected; // relative to the source folder
    };
    const Case cases[] = {
        {"a.txt", "%0num%-%abs%", "<beibehalten>", "", 2, 2, "03-12.txt"},
        {"a.txt", "%num%_%name%", ".htm", "", 4, 1, "5_a.htm"},
        {"x.txt.txt", "<keep>", "<keep>", "", 0, 1, "x.txt"},
        {"x.txt.txt", "<keep>", "", "", 0, 1, "x"},
        {"data.csv.c", "%name%-1", "<beibehalten>", "", 0, 1, "data.csv-1.c"},
        {"backup.txt/a.txt", "%name%", ".log", "", 0, 1, "backup.txt/a.log"},
        {"noext", "%name%", "<keep>", "", 0, 1, "noext"},
        {"a.txt", "%firstchars%", ".txt", "  Re: a/b?", 0, 1, "Re  a b.txt"},
        {"a.txt", "%firstchars%", ".txt", "\r\nline one\r\nline two", 0, 1,
         "line one  line two.txt"},
        {"a.txt", "100%", ".txt", "", 0, 1, "100%.txt"},
    };
    for (const Case& c : cases) {
        const WideString source = file(c.source);
        const WideString expected =
            U16((fs::path(U8(source)).parent_path() / fs::path(c.expected).filename()).string());
        s.SetText({"Tprog", "out_name"}, c.name);
        s.SetText({"Tprog", "out_format"}, c.format);
        EXPECT_EQ(U8(NameFinden(s, source, U16(c.firstchars), c.index, c.width)), U8(expected))
            << c.source << " " << c.name;
    }
}

TEST(FirstCharsForName, CutsAt40AndBlanksForbiddenCharacters) {
    EXPECT_EQ(FirstCharsForName(u"  Re: a/b?"), u"Re  a b");
    EXPECT_EQ(FirstCharsForName(WideString(50, u'y')), WideString(40, u'y'));
    EXPECT_EQ(FirstCharsForName(u"a|b<c>d\"e*f\\g"), u"a b c d e f g");
    // A text read with the wrong encoding may hold U+0000, which no file name can.
    EXPECT_EQ(FirstCharsForName(WideString(u"a\0b\0c\0", 6)), u"a b c");
    const WideString smile = u"\U0001F600";
    EXPECT_EQ(FirstCharsForName(WideString(39, u'y') + smile), WideString(39, u'y'));
    EXPECT_EQ(FirstCharsForName(WideString(38, u'y') + smile), WideString(38, u'y') + smile);
}

TEST(BaseNameWithoutExtension, OnlyAtTheEnd) {
    EXPECT_EQ(BaseNameWithoutExtension(u"x.txt.txt", u".txt"), u"x");
    EXPECT_EQ(BaseNameWithoutExtension(u"data.csv.c", u".c"), u"data.csv");
    EXPECT_EQ(BaseNameWithoutExtension(u"a.b", u""), u"a.b");
}

} // namespace
