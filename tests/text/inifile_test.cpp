// The INI store: quoting, typed values, lists, line breaks, flushing and write errors.
#include "text/UCodeIniFiles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "text/ProfileFile.h"
#include "text/UCodeClasses.h"
#include "text/codec_testutil.h"

namespace {

class IniFileTest : public CodecTempDir {
protected:
    void SetUp() override {
        CodecTempDir::SetUp();
        Ini = std::make_unique<TUCodeIniFile>(U16(Path("c.qvr")));
    }
    void TearDown() override {
        Ini.reset();
        CodecTempDir::TearDown();
    }
    std::string Path(const std::string& name) const { return CodecTempDir::Path(name); }
    // The file after a flush.
    std::string Flushed() {
        Ini->UpdateFile();
        return ReadBytes(Path("c.qvr"));
    }
    // A store on a copy of the file, so that values come from the disk and not the cache.
    std::unique_ptr<TUCodeIniFile> FreshCopy(const std::string& name) {
        Ini->UpdateFile();
        std::filesystem::copy_file(Path("c.qvr"), Path(name));
        return std::make_unique<TUCodeIniFile>(U16(Path(name)));
    }
    std::vector<WideString> Lines(const TUCodeStrings& list) {
        std::vector<WideString> out;
        for (int i = 0; i < list.Count(); ++i)
            out.push_back(list.Get(i));
        return out;
    }

    std::unique_ptr<TUCodeIniFile> Ini;
};

TEST_F(IniFileTest, StringsKeepTheirBlanksThroughQuotes) {
    const std::pair<const char16_t*, std::string> cases[] = {
        {u"  a", "k0=\"  a\""}, {u"a ", "k1=\"a \""},   {u"\ta", "k2=\"\ta\""}, {u"a b", "k3=a b"},
        {u"", "k4="},           {u"\"q\"", "k5=\"q\""}, // the caller adds its own quotes for such
                                                        // values
    };
    std::string expected = "\xEF\xBB\xBF[S]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i) {
        WideString key = u"k" + U16(std::to_string(i));
        Ini->WriteString(u"S", key, cases[i].first);
        expected += cases[i].second + "\r\n";
        if (i < 5) {
            EXPECT_EQ(Ini->ReadString(u"s", key, u"def"), cases[i].first) << i;
        }
    }
    EXPECT_EQ(Ini->ReadString(u"S", u"k5", u""), u"q");
    EXPECT_EQ(Ini->ReadString(u"S", u"missing", u" def "), u" def ");
    EXPECT_EQ(Flushed(), expected);
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    const std::pair<const char16_t*, int32_t> cases[] = {
        {u"0x1F", 31},
        {u"$1F", 31},
        {u"0X1f", 31},
        {u"0x", -7},
        {u"", -7},
        {u"12", 12},
        {u"-5", -5},
        {u"+5", 5},
        {u"abc", -7},
        {u"1 2", -7},
        {u"2147483647", 2147483647},
        {u"2147483648", -7},
        {u"-2147483648", -2147483647 - 1},
        {u"$FFFFFFFF", -1},
        {u"$100000000", -7},
        {u"\u0661", -7},
    };
    for (const auto& [text, expected] : cases) {
        Ini->WriteString(u"I", u"k", text);
        EXPECT_EQ(Ini->ReadInteger(u"I", u"k", -7), expected) << U8(text);
    }
    EXPECT_EQ(Ini->ReadInteger(u"I", u"missing", 9), 9);
    Ini->WriteInteger(u"I", u"n", -2147483647 - 1);
    EXPECT_EQ(Ini->ReadString(u"I", u"n", u""), u"-2147483648");

    Ini->WriteString(u"B", u"two", u"2");
    EXPECT_TRUE(Ini->ReadBool(u"B", u"two", false));
    EXPECT_TRUE(Ini->ReadBool(u"B", u"missing", true));
    EXPECT_FALSE(Ini->ReadBool(u"B", u"missing", false));
    Ini->WriteBool(u"B", u"t", true);
    Ini->WriteBool(u"B", u"f", false);
    EXPECT_EQ(Ini->ReadString(u"B", u"t", u""), u"1");
    EXPECT_EQ(Ini->ReadString(u"B", u"f", u""), u"0");
    EXPECT_FALSE(Ini->ReadBool(u"B", u"f", true));
}

TEST_F(IniFileTest, DatesTimesAndNumbersUseFixedForms) {
    // 36526 is 2000-01-01 in the day count that starts at 1899-12-30.
    Ini->WriteDate(u"D", u"d", 36526.75);
    Ini->WriteTime(u"D", u"t", 36526.75);
    Ini->WriteDateTime(u"D", u"dt", 36526.75);
    Ini->WriteDateTime(u"D", u"old", -1.25);
    Ini->WriteFloat(u"D", u"f", 0.1);
    Ini->WriteFloat(u"D", u"big", -1.5e300);
    EXPECT_EQ(Ini->ReadString(u"D", u"d", u""), u"2000-01-01");
    EXPECT_EQ(Ini->ReadString(u"D", u"t", u""), u"18:00:00");
    EXPECT_EQ(Ini->ReadString(u"D", u"dt", u""), u"2000-01-01 18:00:00");
    EXPECT_EQ(Ini->ReadString(u"D", u"old", u""), u"1899-12-29 06:00:00");
    EXPECT_EQ(Ini->ReadString(u"D", u"f", u""), u"0.1");
    EXPECT_EQ(Ini->ReadDate(u"D", u"d", 0), 36526.0);
    EXPECT_EQ(Ini->ReadTime(u"D", u"t", 0), 0.75);
    EXPECT_EQ(Ini->ReadDateTime(u"D", u"dt", 0), 36526.75);
    EXPECT_EQ(Ini->ReadDateTime(u"D", u"old", 0), -1.25);
    EXPECT_EQ(Ini->ReadFloat(u"D", u"f", 0), 0.1);
    EXPECT_EQ(Ini->ReadFloat(u"D", u"big", 0), -1.5e300);

    for (const char16_t* text : {u"xyz", u"", u"2000-02-30", u"2000-13-01", u"2000-01-01x",
                                 u"24:00:00", u"12:60", u"1,5", u"0x10", u"1e"}) {
        Ini->WriteString(u"D", u"bad", text);
        EXPECT_EQ(Ini->ReadDate(u"D", u"bad", -3), -3) << U8(text);
        EXPECT_EQ(Ini->ReadTime(u"D", u"bad", -3), -3) << U8(text);
        EXPECT_EQ(Ini->ReadDateTime(u"D", u"bad", -3), -3) << U8(text);
        EXPECT_EQ(Ini->ReadFloat(u"D", u"bad", -3), -3) << U8(text);
    }
    Ini->WriteString(u"D", u"t2", u"7:05");
    EXPECT_EQ(Ini->ReadDateTime(u"D", u"t2", 0), (7 * 60 + 5) / 1440.0);
    Ini->WriteString(u"D", u"iso", u"2000-01-01T12:00:00.500");
    EXPECT_DOUBLE_EQ(Ini->ReadDateTime(u"D", u"iso", 0), 36526.5 + 0.5 / 86400);
}

TEST_F(IniFileTest, TextFormsRoundTripOverManyValues) {
    uint64_t seed = 12345;
    for (int i = 0; i < 2000; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        double day = static_cast<double>(static_cast<int64_t>(seed >> 40) % 2900000 - 690000);
        double second = static_cast<double>((seed >> 8) % 86400);
        TDateTime value = day < 0 ? day - second / 86400 : day + second / 86400;
        TDateTime back = 0;
        ASSERT_TRUE(IniTryStrToDateTime(IniDateTimeToStr(value), back)) << value;
        EXPECT_NEAR(back, value, 1e-9) << U8(IniDateTimeToStr(value));
        double number = std::bit_cast<double>(seed);
        if (!std::isfinite(number)) continue;
        double parsed = 0;
        ASSERT_TRUE(IniTryStrToFloat(IniFloatToStr(number), parsed));
        EXPECT_EQ(parsed, number);
    }
}

TEST_F(IniFileTest, BinaryStreams) {
    TMemoryStream source;
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    source.WriteBuffer(bytes.data(), bytes.size());
    source.SetPosition(250);
    Ini->WriteBinaryStream(u"X", u"tail", source);
    EXPECT_EQ(source.Position(), 250);
    EXPECT_EQ(Ini->ReadString(u"X", u"tail", u""), u"FAFBFCFDFEFF");
    source.SetPosition(0);
    Ini->WriteBinaryStream(u"X", u"all", source);

    TMemoryStream target;
    target.WriteBuffer("ab", 2);
    EXPECT_EQ(Ini->ReadBinaryStream(u"X", u"all", target), 256);
    EXPECT_EQ(target.Position(), 2);
    EXPECT_EQ(target.Bytes(), "ab" + bytes);

    TMemoryStream untouched;
    untouched.WriteBuffer("z", 1);
    EXPECT_EQ(Ini->ReadBinaryStream(u"X", u"missing", untouched), 0);
    EXPECT_EQ(untouched.Bytes(), "z");
    EXPECT_EQ(untouched.Position(), 1);

    Ini->WriteString(u"X", u"odd", u"0a1G");
    TMemoryStream partial;
    EXPECT_EQ(Ini->ReadBinaryStream(u"X", u"odd", partial), 1);
    EXPECT_EQ(partial.Bytes(), "\x0A");
}

TEST_F(IniFileTest, ListsReturnEveryName) {
    WriteBytes(Path("l.qvr"), "[a]\r\nx=1\r\ny=\r\nz=\"q \"\r\n[b]\r\n[A]\r\nw=2\r\n");
    TUCodeIniFile ini(U16(Path("l.qvr")));
    TUCodeStringList list;
    list.Add(u"stale");
    ini.ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<WideString>{u"a", u"b", u"A"}));
    EXPECT_EQ(list.UpdateCount(), 0);
    ini.ReadSection(u"A", list);
    EXPECT_EQ(Lines(list), (std::vector<WideString>{u"x", u"y", u"z"}));
    ini.ReadSectionValues(u"a", list);
    EXPECT_EQ(Lines(list), (std::vector<WideString>{u"x=1", u"y=", u"z=q "}));
    ini.ReadSection(u"b", list);
    EXPECT_EQ(list.Count(), 0);
    ini.ReadSectionValues(u"none", list);
    EXPECT_EQ(list.Count(), 0);

    TUCodeIniFile empty(U16(Path("missing.qvr")));
    list.Add(u"stale");
    empty.ReadSections(list);
    EXPECT_EQ(list.Count(), 0);

    // Far more names than a 32,768-character buffer would hold.
    for (int i = 0; i < 6000; ++i)
        Ini->WriteInteger(u"Many", u"a_rather_long_key_name_" + U16(std::to_string(i)), i);
    Ini->ReadSection(u"many", list);
    ASSERT_EQ(list.Count(), 6000);
    EXPECT_EQ(list.Get(5999), u"a_rather_long_key_name_5999");
}

TEST_F(IniFileTest, LongValuesComeBackWhole) {
    WideString value;
    for (int i = 0; i < 20000; ++i)
        value += static_cast<WideChar>(u'a' + i % 26);
    value += u"\u03A9";
    Ini->WriteString(u"L", u"long", value);
    auto copy = FreshCopy("copy.qvr");
    EXPECT_EQ(copy->ReadString(u"L", u"long", u""), value);
}

TEST_F(IniFileTest, LineBreaksNeverSplitAnEntry) {
    Ini->WriteString(u"M", u"memo", u"a\r\nb\rc\nd\r\n");
    Ini->WriteString(u"M", u"after", u"1");
    EXPECT_EQ(Flushed(), "\xEF\xBB\xBF[M]\r\nmemo=\"a\x1F"
                         "b\x1F"
                         "c\x1F"
                         "d\x1F\"\r\nafter=1\r\n");
    auto copy = FreshCopy("copy.qvr");
    EXPECT_EQ(copy->ReadString(u"M", u"memo", u""), u"a\x1F"
                                                    u"b\x1F"
                                                    u"c\x1F"
                                                    u"d\x1F");
    TUCodeStringList keys;
    copy->ReadSection(u"M", keys);
    EXPECT_EQ(keys.Count(), 2);

    const std::string message = "Unable to write to " + Path("c.qvr");
    const std::pair<const char16_t*, const char16_t*> badNames[] = {
        {u"M", u"a\r\n[X]"}, {u"M", u"a\nb"}, {u"M\r", u"a"}, {u"M]", u"a"}, {u"M", u"a=b"}};
    for (const auto& [section, key] : badNames) {
        try {
            Ini->WriteString(section, key, u"v");
            ADD_FAILURE() << U8(key) << " was written";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
}

TEST_F(IniFileTest, UnwritablePlaceRaisesAtTheFirstWrite) {
    WriteBytes(Path("plain"), "x");
    const std::string path = Path("plain") + "/c.qvr";
    TUCodeIniFile ini(U16(path));
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"d"), u"d");
    try {
        ini.WriteString(u"S", u"k", u"v");
        FAIL() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_THROW(ini.WriteInteger(u"S", u"n", 1), EIniFileException);
    ini.DeleteKey(u"S", u"k"); // ignored
    EXPECT_NO_THROW(ini.UpdateFile());
}

TEST_F(IniFileTest, FailedFlushRaisesAndKeepsTheChanges) {
    std::filesystem::create_directory(Path("dir"));
    const std::string path = Path("dir") + "/c.qvr";
    {
        TUCodeIniFile ini(U16(path));
        ini.WriteString(u"S", u"k", u"v");
        std::filesystem::remove_all(Path("dir"));
        WriteBytes(Path("dir"), "now a file");
        EXPECT_THROW(ini.UpdateFile(), EIniFileException);
        EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"v");
        std::filesystem::remove(Path("dir"));
        std::filesystem::create_directory(Path("dir"));
    } // the destructor's flush now succeeds
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[S]\r\nk=v\r\n");
}

TEST_F(IniFileTest, EditsAndTheDestructorsSingleFlush) {
    WriteBytes(Path("c.qvr"), "; keep me\r\n[sec]\r\nKEY=v\r\nother=1\r\n[two]\r\nk=2\r\n");
    uint64_t before = ProfileRewriteCount();
    {
        TUCodeIniFile ini(U16(Path("c.qvr")));
        EXPECT_EQ(ini.ReadString(u"SEC", u"key", u""), u"v");
        ini.WriteString(u"sec", u"key", u"w");
        ini.WriteString(u"sec", u"new", u"n");
        ini.DeleteKey(u"sec", u"other");
        ini.EraseSection(u"TWO");
        for (int i = 0; i < 300; ++i)
            ini.WriteInteger(u"big", U16(std::to_string(i)), i);
    }
    EXPECT_EQ(ProfileRewriteCount(), before + 1);
    std::string bytes = ReadBytes(Path("c.qvr"));
    EXPECT_EQ(bytes.substr(0, 42), "; keep me\r\n[sec]\r\nKEY=w\r\nnew=n\r\n[big]\r\n0=0");
    EXPECT_EQ(bytes.find("[two]"), std::string::npos);
}

TEST_F(IniFileTest, AWriteKeepsHowAWindows1252FileReadsItsOtherValues) {
    // "Ã¤" and "ß" in Windows-1252: only the byte DF is no UTF-8.
    WriteBytes(Path("c.qvr"), "[PBMM]\r\na=\xC3\xA4\r\nb=\xDF\r\n");
    EXPECT_EQ(Ini->ReadString(u"PBMM", u"a", u""), u"\u00C3\u00A4");
    Ini->WriteString(u"PBMM", u"b", u"ss");
    EXPECT_EQ(Ini->ReadString(u"PBMM", u"a", u""), u"\u00C3\u00A4");
    auto fresh = FreshCopy("fresh.qvr");
    EXPECT_EQ(fresh->ReadString(u"PBMM", u"a", u""), u"\u00C3\u00A4");
    EXPECT_EQ(fresh->ReadString(u"PBMM", u"b", u""), u"ss");
}

} // namespace

TEST_F(IniFileTest, ANameFromTheFolderListingThatIsNoUTF8) {
    const std::string raw = Path(std::string("conf") + static_cast<char>(0xE9) + ".qvr");
    WriteBytes(raw, "[S]\r\nk=old\r\n");
    const WideString name = ListedName(u"conf*");
    ASSERT_FALSE(name.empty());
    {
        TUCodeIniFile ini(name);
        EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"old");
        ini.WriteString(u"S", u"k", u"new");
    }
    EXPECT_EQ(ReadBytes(raw), "[S]\r\nk=new\r\n");
}

TEST_F(IniFileTest, AWritableFileInAFolderWeMayNotWriteTakesWrites) {
    // The program folder may belong to the administrator while its configuration file is
    // left writable for the users: such a file is saved (in place), so writing must not fail.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    ASSERT_EQ(chmod(Dir.c_str(), 0755), 0);
    const std::string shared = Path("shared.qvr"), locked = Path("locked.qvr");
    WriteBytes(shared, "; keep\r\n[S]\r\nk=old\r\n");
    WriteBytes(locked, "[S]\r\nk=old\r\n");
    ASSERT_EQ(chmod(shared.c_str(), 0666), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0644), 0);
    EXPECT_EQ(ExitStatusAsNobody([&] {
                  try {
                      TUCodeIniFile ini(U16(shared));
                      ini.WriteString(u"S", u"k", u"new");
                      ini.WriteString(u"T", u"n", u"1");
                      ini.UpdateFile();
                  } catch (const Exception&) {
                      return 11;
                  }
                  try {
                      TUCodeIniFile ini(U16(locked));
                      ini.WriteString(u"S", u"k", u"new");
                      return 12;
                  } catch (const EIniFileException&) {
                  }
                  return 0;
              }),
              0);
    EXPECT_EQ(ReadBytes(shared), "; keep\r\n[S]\r\nk=new\r\n[T]\r\nn=1\r\n");
    EXPECT_EQ(ReadBytes(locked), "[S]\r\nk=old\r\n");
    EXPECT_EQ(EntryCount(), 2u);
}
