// The wide file-system wrappers, on real files in a fresh temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

#include "codec_testutil.h"

namespace {

class WideFsTest : public CodecTempDir {
protected:
    void SetUp() override {
        CodecTempDir::SetUp();
        dir = Dir.string();
        wdir = NativeToWide(dir) + u"/";
    }
    void touch(const std::string& name, const std::string& content = "") {
        WriteBytes(Path(name), content);
    }
    TWideStrArray find(WideStringView mask) {
        TWideStrArray names;
        WideFindData d;
        WideFindHandle h = WideFindFirstFile(wdir + WideString(mask), d);
        if (!h) return names;
        do
            names.push_back(d.name);
        while (WideFindNextFile(h, d));
        EXPECT_TRUE(WideFindFileClose(h));
        return names;
    }
    std::string dir;
    WideString wdir;
};

// A deliberately plain model of the Windows wildcard rules: recursion over the mask.
bool modelMatch(WideStringView n, WideStringView m) {
    if (m.empty()) return n.empty();
    if (m[0] == u'*')
        return modelMatch(n, m.substr(1)) || (!n.empty() && modelMatch(n.substr(1), m));
    if (n.empty()) return false;
    if (m[0] != u'?' && WideUpperChar(m[0]) != WideUpperChar(n[0])) return false;
    return modelMatch(n.substr(1), m.substr(1));
}

} // namespace

TEST(WideFsMask, Table) {
    struct Case {
        const char16_t* name;
        const char16_t* mask;
        bool match;
    } cases[] = {
        {u"a.txt", u"*.txt", true},
        {u"A.TXT", u"*.txt", true},
        {u"a.txt.bak", u"*.txt", false},
        {u"noext", u"*.*", true},
        {u".", u"*.*", true},
        {u"a.b.c", u"*.*", true},
        {u"ab", u"a?", true},
        {u"a", u"a?", false},
        {u"abc", u"a?", false},
        {u"a", u"a.*", true},
        {u"a.x", u"a.*", true},
        {u"ab", u"a.*", false},
        {u"Äpfel.txt", u"äPFEL*", true},
        {u"x", u"*", true},
        {u"", u"*", true},
        {u"abc", u"*b*", true},
        {u"abc", u"*d*", false},
        {u"a.txt", u"*.TX?", true},
        {u"aaa", u"*a*a*a*", true},
        {u"aa", u"*a*a*a*", false},
        {u"a.txt", u"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WideMatchesMask(c.name, c.mask), c.match) << U8(c.name) << " ~ " << U8(c.mask);
}

TEST(WideFsMask, RandomAgainstModel) {
    std::mt19937 rng(42);
    const char16_t alphabet[] = u"aAbB.ä";
    const char16_t maskAlphabet[] = u"aAbB.Ä*?";
    for (int round = 0; round < 20000; ++round) {
        WideString name, mask;
        for (size_t n = rng() % 7; n > 0; --n)
            name.push_back(alphabet[rng() % 6]);
        for (size_t n = rng() % 6; n > 0; --n)
            mask.push_back(maskAlphabet[rng() % 8]);
        bool expected = modelMatch(name, mask);
        if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*")
            expected = expected || modelMatch(name, mask.substr(0, mask.size() - 2));
        ASSERT_EQ(WideMatchesMask(name, mask), expected) << U8(name) << " ~ " << U8(mask);
    }
}

TEST_F(WideFsTest, FindSortsAndFilters) {
    for (const char* n : {"b.TXT", "a.txt", "Z.log", ".hid", "_x.txt", "ä.txt", "c.txt.bak"})
        touch(n);
    std::filesystem::create_directory(dir + "/Sub");
    EXPECT_EQ(find(u"*.*"), (TWideStrArray{u".", u"..", u".hid", u"a.txt", u"b.TXT", u"c.txt.bak",
                                           u"Sub", u"Z.log", u"_x.txt", u"ä.txt"}));
    EXPECT_EQ(find(u"*.txt"), (TWideStrArray{u"a.txt", u"b.TXT", u"_x.txt", u"ä.txt"}));
    EXPECT_EQ(find(u"?.TXT"), (TWideStrArray{u"a.txt", u"b.TXT", u"ä.txt"}));
    // Names that differ only in case come in one order, whatever the disk's order.
    touch("A.TXT");
    EXPECT_EQ(find(u"a.*"), (TWideStrArray{u"A.TXT", u"a.txt"}));
    std::filesystem::remove(dir + "/A.TXT");
    EXPECT_TRUE(find(u"*.none").empty());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(find(u"a.txt"), TWideStrArray{u"a.txt"}); // no wildcard: the entry itself
    EXPECT_TRUE(find(u"A.TXT").empty());                // names are exact on Linux
    WideFindData d;
    EXPECT_EQ(WideFindFirstFile(wdir + u"missing/*", d), nullptr);
    EXPECT_EQ(WideFindFirstFile(wdir, d), nullptr);
    EXPECT_FALSE(WideFindNextFile(nullptr, d));
}

TEST_F(WideFsTest, FindDataAndAttributes) {
    touch("data.txt", "12345");
    touch(".hidden");
    touch("ro.txt", "x");
    chmod((dir + "/ro.txt").c_str(), 0444);
    std::filesystem::create_directory(dir + "/Sub");

    WideFindData d;
    WideFindHandle h = WideFindFirstFile(wdir + u"data.txt", d);
    ASSERT_NE(h, nullptr);
    WideFindFileClose(h);
    struct stat st {};
    ASSERT_EQ(stat((dir + "/data.txt").c_str(), &st), 0);
    EXPECT_EQ(d.size, 5);
    EXPECT_EQ(d.attributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(d.lastWriteTime / 1000000000, st.st_mtim.tv_sec);
    EXPECT_LE(d.creationTime, d.lastWriteTime);
    EXPECT_GT(d.creationTime, 0);

    EXPECT_EQ(WideGetFileAttributes(wdir + u"data.txt"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(WideGetFileAttributes(wdir + u".hidden"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(WideGetFileAttributes(wdir + u"ro.txt"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(WideGetFileAttributes(wdir + u"Sub"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(WideGetFileAttributes(wdir + u"Sub/"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(WideGetFileAttributes(wdir + u"missing"), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(WideSetFileAttributes(wdir + u"data.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WideGetFileAttributes(wdir + u"data.txt"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(WideSetFileAttributes(wdir + u"data.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(WideGetFileAttributes(wdir + u"data.txt"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(WideSetFileAttributes(wdir + u"missing", FILE_ATTRIBUTE_NORMAL));
}

TEST_F(WideFsTest, CreateOpenDeleteAndFolders) {
    WideString name = wdir + u"Grüße \u263A.txt";
    int fd = WideCreateFile(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "abc", 3), 3);
    close(fd);
    EXPECT_EQ(WideCreateFile(name, GENERIC_WRITE, CREATE_NEW), -1);
    EXPECT_EQ(errno, EEXIST);
    fd = WideCreateFile(name, GENERIC_READ, OPEN_EXISTING);
    ASSERT_GE(fd, 0);
    char buf[8];
    EXPECT_EQ(read(fd, buf, sizeof buf), 3);
    close(fd);
    fd = WideCreateFile(name, GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(std::filesystem::file_size(dir + "/Grüße \u263A.txt"), 0u);
    EXPECT_EQ(WideCreateFile(wdir + u"missing", GENERIC_READ, OPEN_EXISTING), -1);
    EXPECT_EQ(WideCreateFile(wdir, GENERIC_READ, OPEN_EXISTING), -1); // a folder
    EXPECT_EQ(errno, EISDIR);
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0666), 0);
    EXPECT_EQ(WideCreateFile(wdir + u"fifo", GENERIC_READ, OPEN_EXISTING), -1); // does not block

    EXPECT_TRUE(WideCreateDirectory(wdir + u"Neu"));
    EXPECT_FALSE(WideCreateDirectory(wdir + u"Neu"));
    EXPECT_FALSE(WideCreateDirectory(wdir + u"a/b"));
    EXPECT_FALSE(WideRemoveFile(wdir + u"Neu"));
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/Neu"));

    touch("ro.txt");
    WideSetFileAttributes(wdir + u"ro.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WideRemoveFile(wdir + u"ro.txt")); // as on Windows
    EXPECT_TRUE(std::filesystem::exists(dir + "/ro.txt"));
    EXPECT_TRUE(WideRemoveFile(name));
    EXPECT_FALSE(std::filesystem::exists(dir + "/Grüße \u263A.txt"));
    EXPECT_FALSE(WideRemoveFile(name));
}

TEST_F(WideFsTest, NonUtf8NamesSurvive) {
    std::string raw = std::string("caf") + static_cast<char>(0xE9) + ".txt";
    touch(raw, "x");
    TWideStrArray names = find(u"*.txt");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(WideGetFileAttributes(wdir + names[0]), FILE_ATTRIBUTE_ARCHIVE);
    int fd = WideCreateFile(wdir + names[0], GENERIC_READ, OPEN_EXISTING);
    EXPECT_GE(fd, 0);
    if (fd >= 0) close(fd);
}

TEST(WideFsPath, FullPathName) {
    std::string cwd = std::filesystem::current_path().string();
    WideString wcwd = NativeToWide(cwd);
    struct Case {
        WideString in, out;
    } cases[] = {
        {u"/a/b/../c", u"/a/c"},
        {u"/a//b/./c/", u"/a/b/c/"},
        {u"/..", u"/"},
        {u"/", u"/"},
        {u"/a/b/..", u"/a"},
        {u"x", wcwd + u"/x"},
        {u"x/../y/", wcwd + u"/y/"},
        {u".", wcwd == u"/" ? u"/" : wcwd},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WideGetFullPathName(c.in), c.out) << U8(c.in);
    EXPECT_EQ(WideGetFullPathName(u""), u"");
}

TEST(WideFsPath, TimesAsLocalValues) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_DOUBLE_EQ(FileTimeToLocalDateTime(0), 25569.0);
    EXPECT_DOUBLE_EQ(FileTimeToLocalDateTime(int64_t(86400 + 43200) * 1000000000), 25570.5);
    // 2001-02-03 04:05:06 UTC
    FileTime t = int64_t(981173106) * 1000000000;
    EXPECT_EQ(FileTimeToDosDateTime(t),
              int32_t(((21u << 9 | 2u << 5 | 3u) << 16) | (4u << 11 | 5u << 5 | 3u)));
    EXPECT_EQ(FileTimeToDosDateTime(0), 0); // before 1980
    unsetenv("TZ");
    tzset();
}
