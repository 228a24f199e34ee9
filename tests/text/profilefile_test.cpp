// The profile-file engine: lookup rules, in-place editing, encodings, caching and flushing.
#include "text/ProfileFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "text/codec_testutil.h"

namespace {

class ProfileFileTest : public CodecTempDir {
protected:
    // Every test uses a fresh folder, so the process-wide cache never sees a path twice
    // unless a test means it to.
    WideString File(const std::string& name = "p.ini") const { return U16(Path(name)); }
    std::string Bytes(const std::string& name = "p.ini") const { return ReadBytes(Path(name)); }
    std::string Path(const std::string& name = "p.ini") const { return CodecTempDir::Path(name); }
};

// The file decoded by python3 (an independent decoder), as UTF-8.
std::string PythonDecode(const std::string& path, const std::string& codec) {
    std::string cmd = "python3 -c \"import sys; sys.stdout.buffer.write(open(sys.argv[1],'rb')"
                      ".read().decode(sys.argv[2]).encode('utf-8'))\" '" +
                      path + "' " + codec;
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "<popen failed>";
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    if (pclose(p) != 0) return "<python failed>";
    return out;
}

struct LookupCase {
    const char* name;
    const char* file; // UTF-8 bytes
    const char* section;
    const char* key;
    const char* expected; // nullptr: not found
};

TEST_F(ProfileFileTest, LookupRules) {
    const LookupCase cases[] = {
        {"case-insensitive names", "[sec]\r\nKEY=v\r\n", "SEC", "key", "v"},
        {"names and value trimmed", "  [ sec ]  \r\n  key  =  v w  \r\n", "sec", " key ", "v w"},
        {"double quotes stripped", "[s]\r\nk=\"  a \"\r\n", "s", "k", "  a "},
        {"single quotes stripped", "[s]\r\nk='a'\r\n", "s", "k", "a"},
        {"only one pair stripped", "[s]\r\nk=''a''\r\n", "s", "k", "'a'"},
        {"mismatched quotes kept", "[s]\r\nk=\"a'\r\n", "s", "k", "\"a'"},
        {"lone quote kept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
        {"empty quotes give empty", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
        {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
        {"value keeps later equals signs", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        {"first key wins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
        {"first section wins", "[s]\r\nj=1\r\n[S]\r\nk=2\r\n", "s", "k", nullptr},
        {"key before any section", "k=1\r\n[s]\r\n", "s", "k", nullptr},
        {"comment is no entry", "[s]\r\n;k=1\r\n", "s", ";k", nullptr},
        {"other section", "[a]\r\nk=1\r\n[b]\r\n", "b", "k", nullptr},
        {"missing section", "[a]\r\nk=1\r\n", "c", "k", nullptr},
        {"LF line breaks", "[s]\nx=0\nk=1\n", "s", "k", "1"},
        {"CR line breaks", "[s]\rk=1\r", "s", "k", "1"},
        {"no final line break", "[s]\r\nk=1", "s", "k", "1"},
        {"header without bracket", "[s\r\nk=1\r\n", "s", "k", "1"},
        {"empty key", "[s]\r\n=1\r\n", "s", "", "1"},
    };
    int n = 0;
    for (const auto& c : cases) {
        std::string name = "l" + std::to_string(n++) + ".ini";
        WriteBytes(Path(name), c.file);
        auto got = ProfileReadString(File(name), U16(c.section), U16(c.key));
        if (c.expected) {
            ASSERT_TRUE(got.has_value()) << c.name;
            EXPECT_EQ(U8(*got), c.expected) << c.name;
        } else {
            EXPECT_FALSE(got.has_value()) << c.name;
        }
    }
}

TEST_F(ProfileFileTest, ListsSectionsAndKeysInFileOrder) {
    WriteBytes(
        Path(),
        "; head\r\nx=0\r\n[One]\r\nb=1\r\n;c=2\r\na=\r\nno entry\r\n[Two]\r\n[one]\r\nz=9\r\n");
    EXPECT_EQ(ProfileReadSectionNames(File()), (TWideStrArray{u"One", u"Two", u"one"}));
    EXPECT_EQ(ProfileReadKeyNames(File(), u"ONE"), (TWideStrArray{u"b", u"a"}));
    EXPECT_TRUE(ProfileReadKeyNames(File(), u"Two").empty());
    EXPECT_TRUE(ProfileReadKeyNames(File(), u"Three").empty());
    EXPECT_TRUE(ProfileReadSectionNames(File("missing.ini")).empty());
}

TEST_F(ProfileFileTest, EditsKeepLinesInPlace) {
    WriteBytes(Path(), "\xEF\xBB\xBF; top\r\n[a]\r\nX = 1\r\n\r\n; tail of a\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(ProfileWriteString(File(), u"A", u"x", u"9"));     // update in place
    ASSERT_TRUE(ProfileWriteString(File(), u"a", u"z", u"3"));     // after the last entry
    ASSERT_TRUE(ProfileWriteString(File(), u" c ", u" w ", u"4")); // new section at the end
    ASSERT_TRUE(ProfileWriteString(File(), u"b", u"y", u"\"  q\""));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF; top\r\n[a]\r\nX=9\r\nz=3\r\n\r\n; tail of a\r\n[b]\r\n"
                       "y=\"  q\"\r\n[c]\r\nw=4\r\n");
    EXPECT_EQ(ProfileReadString(File(), u"b", u"y"), u"  q");
}

TEST_F(ProfileFileTest, DeleteKeyAndEraseSectionRemoveOnlyTheirTarget) {
    WriteBytes(Path(), "[a]\r\nk=1\r\nj=2\r\n[b]\r\nk=3\r\n;c\r\n[c]\r\nk=4\r\n");
    ASSERT_TRUE(ProfileDeleteKey(File(), u"A", u"K"));
    ASSERT_TRUE(ProfileDeleteKey(File(), u"a", u"missing"));
    ASSERT_TRUE(ProfileEraseSection(File(), u"B"));
    ASSERT_TRUE(ProfileEraseSection(File(), u"missing"));
    ASSERT_TRUE(ProfileWriteString(File(), u"a", u"n", u"5")); // index rebuilt after the delete
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(Bytes(), "[a]\r\nj=2\r\nn=5\r\n[c]\r\nk=4\r\n");
}

TEST_F(ProfileFileTest, RejectsWhatCannotBeOneLineAndChangesNothing) {
    WriteBytes(Path(), "[s]\r\nk=1\r\n");
    const std::pair<const char*, const char*> names[] = {
        {"s\r\n[x]", "k"}, {"s", "k\n"}, {"s", "a=b"}, {"s", "[x]"}, {"s", ";c"}, {"s]x", "k"},
    };
    for (const auto& [section, key] : names)
        EXPECT_FALSE(ProfileWriteString(File(), U16(section), U16(key), u"v")) << section << key;
    EXPECT_FALSE(ProfileWriteString(File(), u"s", u"k", u"a\rb"));
    EXPECT_FALSE(ProfileWriteString(File(), u"s", u"k", u"a\nb"));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFileTest, UnwritablePlacesFailAtTheFirstChange) {
    WriteBytes(Path("plain"), "x");
    WideString underFile = File("plain/p.ini");
    EXPECT_FALSE(ProfileWriteString(underFile, u"s", u"k", u"v"));
    EXPECT_FALSE(ProfileReadString(underFile, u"s", u"k").has_value());
    EXPECT_TRUE(ProfileFlush(underFile)); // nothing to write

    std::filesystem::create_directory(Path("folder.ini"));
    EXPECT_FALSE(ProfileWriteString(File("folder.ini"), u"s", u"k", u"v"));
    EXPECT_FALSE(ProfileWriteString(u"", u"s", u"k", u"v"));
}

TEST_F(ProfileFileTest, UnreadableFileIsNeverOverwritten) {
    // Anybody may write the file and create files in its folder, so replacing it would
    // succeed: only its unreadable content may stop the write.
    WriteBytes(Path(), "[s]\r\nk=1\r\n");
    using std::filesystem::perms;
    std::filesystem::permissions(Path(),
                                 perms::owner_write | perms::group_write | perms::others_write);
    std::filesystem::permissions(Dir, perms::all);
    auto check = [&] {
        if (ProfileReadString(File(), u"s", u"k").has_value()) return 1;
        if (ProfileWriteString(File(), u"s", u"j", u"2")) return 2;
        if (ProfileFlush(File()) && access(Path().c_str(), F_OK) != 0) return 3;
        return 0;
    };
    // Root reads every file: the check runs as another user then.
    EXPECT_EQ(geteuid() == 0 ? ExitStatusAsNobody(check) : check(), 0);
    std::filesystem::permissions(Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFileTest, FlushWritesOnceAndOnlyWhenChanged) {
    WriteBytes(Path(), "[s]\r\nk=1\r\n");
    uint64_t before = ProfileRewriteCount();
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(ProfileWriteString(File(), u"S" + U16(std::to_string(i % 7)),
                                       u"k" + U16(std::to_string(i)), u"v"));
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n"); // nothing on disk before the flush
    ASSERT_TRUE(ProfileFlush(File()));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(ProfileRewriteCount(), before + 1);

    ASSERT_TRUE(ProfileWriteString(File(), u"s", u"k", u"1")); // same value: no change
    ASSERT_TRUE(ProfileDeleteKey(File(), u"s", u"none"));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(ProfileRewriteCount(), before + 1);
    EXPECT_EQ(ProfileReadKeyNames(File(), u"S3").size(), 71u);
}

TEST_F(ProfileFileTest, MissingFileIsCreatedOnlyByAWrite) {
    EXPECT_FALSE(ProfileReadString(File(), u"s", u"k").has_value());
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_FALSE(std::filesystem::exists(Path()));
    ASSERT_TRUE(ProfileWriteString(File(), u"s", u"k", u"v"));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[s]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, RereadsAFileChangedOnDisk) {
    WriteBytes(Path(), "[s]\r\nk=1\r\n");
    EXPECT_EQ(ProfileReadString(File(), u"s", u"k"), u"1");
    WriteBytes(Path(), "[s]\r\nk=22\r\n");
    EXPECT_EQ(ProfileReadString(File(), u"s", u"k"), u"22");
    // Same size, new content through a rename (new inode).
    WriteBytes(Path("new"), "[s]\r\nk=33\r\n");
    std::filesystem::rename(Path("new"), Path());
    EXPECT_EQ(ProfileReadString(File(), u"s", u"k"), u"33");
    // The same file reached through a relative path shares the cache entry.
    const auto oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(Dir);
    ASSERT_TRUE(ProfileWriteString(u"./sub/../p.ini", u"s", u"k", u"44"));
    EXPECT_EQ(ProfileReadString(File(), u"s", u"k"), u"44");
    ASSERT_TRUE(ProfileFlush(File()));
    std::filesystem::current_path(oldCwd);
}

struct EncodingCase {
    const char* name;
    std::string initial;      // file bytes before the write
    ProfileEncoding encoding; // after the flush
    std::string prefix;       // the file's first bytes after the flush
    const char* pythonCodec;  // decodes the whole file
    const char* oldValue;     // value of "old" as read before the write
};

TEST_F(ProfileFileTest, WritingKeepsTheEncodingAndEveryCharacter) {
    const EncodingCase cases[] = {
        {"UTF-16 LE", std::string("\xFF\xFE[\0s\0]\0\r\0\n\0o\0l\0d\0=\0\xA9\0", 22),
         ProfileEncoding::Utf16LE, "\xFF\xFE", "utf-16", "\xC2\xA9"},
        {"UTF-16 BE", std::string("\xFE\xFF\0[\0s\0]\0\r\0\n\0o\0l\0d\0=\0\xA9", 22),
         ProfileEncoding::Utf16BE, "\xFE\xFF", "utf-16", "\xC2\xA9"},
        {"UTF-8 with mark", "\xEF\xBB\xBF[s]\r\nold=\xC2\xA9\r\n", ProfileEncoding::Utf8Bom,
         "\xEF\xBB\xBF", "utf-8-sig", "\xC2\xA9"},
        {"UTF-8 without mark", "[s]\r\nold=\xC2\xA9\r\n", ProfileEncoding::Utf8, "[s]", "utf-8",
         "\xC2\xA9"},
        {"ANSI becomes UTF-8 with mark", "[s]\r\nold=caf\xE9 \x80\r\n", ProfileEncoding::Utf8Bom,
         "\xEF\xBB\xBF", "utf-8-sig", "caf\xC3\xA9 \xE2\x82\xAC"},
    };
    const std::string omegaSmile = "\xCE\xA9\xF0\x9F\x98\x80";
    int n = 0;
    for (const auto& c : cases) {
        std::string name = "e" + std::to_string(n++) + ".ini";
        WriteBytes(Path(name), c.initial);
        EXPECT_EQ(ProfileReadString(File(name), u"s", u"old"), U16(c.oldValue)) << c.name;
        ASSERT_TRUE(ProfileWriteString(File(name), u"s", u"new", U16(omegaSmile))) << c.name;
        ASSERT_TRUE(ProfileFlush(File(name))) << c.name;
        EXPECT_EQ(ProfileFileEncoding(File(name)), c.encoding) << c.name;
        EXPECT_EQ(Bytes(name).substr(0, c.prefix.size()), c.prefix) << c.name;
        EXPECT_EQ(PythonDecode(Path(name), c.pythonCodec),
                  std::string("[s]\r\nold=") + c.oldValue + "\r\nnew=" + omegaSmile + "\r\n")
            << c.name;
    }
}

TEST_F(ProfileFileTest, AnsiFileStaysAnsiWhileItsCodePageHoldsEveryCharacter) {
    WriteBytes(Path(), "[s]\r\nold=caf\xE9\r\n");
    ASSERT_TRUE(ProfileWriteString(File(), u"s", u"new", u"\u00FC\u20AC"));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(ProfileFileEncoding(File()), ProfileEncoding::Ansi);
    EXPECT_EQ(Bytes(), "[s]\r\nold=caf\xE9\r\nnew=\xFC\x80\r\n");
}

struct AnsiChangeCase {
    const char* name;
    std::string initial; // Windows-1252 bytes
    std::function<bool(const WideString&)> change;
    const char* text; // the whole file as read afterwards, UTF-8
    const char* pythonCodec;
    ProfileEncoding reread;
};

// A file without a mark is ANSI only while some line is no UTF-8: a change that takes away
// the last such line must not make the other entries read as different characters.
TEST_F(ProfileFileTest, AnAnsiFileReadsTheSameAfterAChange) {
    const std::string aUmlautAsUtf8 = "[s]\r\na=\xC3\xA4\r\n";
    const AnsiChangeCase cases[] = {
        {"last byte that is no UTF-8 overwritten", aUmlautAsUtf8 + "b=\xDF\r\n",
         [](auto& f) { return ProfileWriteString(f, u"s", u"b", u"ss"); },
         "[s]\r\na=\xC3\x83\xC2\xA4\r\nb=ss\r\n", "utf-8-sig", ProfileEncoding::Utf8Bom},
        {"last byte that is no UTF-8 deleted", aUmlautAsUtf8 + "b=\xDF\r\n",
         [](auto& f) { return ProfileDeleteKey(f, u"s", u"b"); }, "[s]\r\na=\xC3\x83\xC2\xA4\r\n",
         "utf-8-sig", ProfileEncoding::Utf8Bom},
        {"last byte that is no UTF-8 erased", aUmlautAsUtf8 + "[t]\r\nb=\xDF\r\n",
         [](auto& f) { return ProfileEraseSection(f, u"t"); }, "[s]\r\na=\xC3\x83\xC2\xA4\r\n",
         "utf-8-sig", ProfileEncoding::Utf8Bom},
        {"written value whose bytes are UTF-8", "[s]\r\nb=\xDF\r\n",
         [](auto& f) { return ProfileWriteString(f, u"s", u"b", u"\u00C3\u00A4"); },
         "[s]\r\nb=\xC3\x83\xC2\xA4\r\n", "utf-8-sig", ProfileEncoding::Utf8Bom},
        {"another byte that is no UTF-8 stays", aUmlautAsUtf8 + "b=\xDF\r\nc=\xE9\r\n",
         [](auto& f) { return ProfileWriteString(f, u"s", u"b", u"ss"); },
         "[s]\r\na=\xC3\x83\xC2\xA4\r\nb=ss\r\nc=\xC3\xA9\r\n", "cp1252", ProfileEncoding::Ansi},
        {"only ASCII left", "[s]\r\nb=\xDF\r\n",
         [](auto& f) { return ProfileWriteString(f, u"s", u"b", u"ss"); }, "[s]\r\nb=ss\r\n",
         "cp1252", ProfileEncoding::Utf8},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "a" + std::to_string(n++);
        WriteBytes(Path(name + ".ini"), c.initial);
        ASSERT_EQ(ProfileReadKeyNames(File(name + ".ini"), u"s").empty(), false) << c.name;
        ASSERT_TRUE(c.change(File(name + ".ini"))) << c.name;
        ASSERT_TRUE(ProfileFlush(File(name + ".ini"))) << c.name;
        EXPECT_EQ(PythonDecode(Path(name + ".ini"), c.pythonCodec), c.text) << c.name;
        // Read afresh under another name, not from the cached copy.
        std::filesystem::copy_file(Path(name + ".ini"), Path(name + "-copy.ini"));
        const WideString copy = File(name + "-copy.ini");
        std::string read;
        for (const WideString& section : ProfileReadSectionNames(copy)) {
            read += "[" + U8(section) + "]\r\n";
            for (const WideString& key : ProfileReadKeyNames(copy, section))
                read += U8(key) + "=" + U8(ProfileReadString(copy, section, key).value()) + "\r\n";
        }
        EXPECT_EQ(read, c.text) << c.name;
        EXPECT_EQ(ProfileFileEncoding(copy), c.reread) << c.name;
    }
}

TEST_F(ProfileFileTest, UndecodableLineOfAMarkedUtf8FileKeepsItsBytes) {
    const std::string odd = "; caf\xE9 \xFF\xFE";
    WriteBytes(Path(), "\xEF\xBB\xBF[s]\r\n" + odd + "\r\nk=\xE2\x82\xAC\r\n");
    EXPECT_EQ(ProfileReadString(File(), u"s", u"k"), u"\u20AC");
    ASSERT_TRUE(ProfileWriteString(File(), u"s", u"j", u"2"));
    ASSERT_TRUE(ProfileFlush(File()));
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[s]\r\n" + odd + "\r\nk=\xE2\x82\xAC\r\nj=2\r\n");
}

TEST_F(ProfileFileTest, EmptyFilesWithAMarkAreEmptyProfiles) {
    const std::pair<std::string, std::string> files[] = {
        {"\xEF\xBB\xBF", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
        {"\xFF\xFE", std::string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 22)},
        {"", "[s]\r\nk=v\r\n"},
    };
    int n = 0;
    for (const auto& [initial, expected] : files) {
        std::string name = "m" + std::to_string(n++) + ".ini";
        WriteBytes(Path(name), initial);
        EXPECT_TRUE(ProfileReadSectionNames(File(name)).empty());
        ASSERT_TRUE(ProfileWriteString(File(name), u"s", u"k", u"v"));
        ASSERT_TRUE(ProfileFlush(File(name)));
        EXPECT_EQ(Bytes(name), expected) << n;
    }
}

} // namespace
