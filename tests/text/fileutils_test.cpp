#include "text/FileUtils.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempFolder.h"
#include "support/Watchdog.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

namespace fs = std::filesystem;

namespace {

// Runs check in a child process: 1 or 0 for its result, -1 when it has not ended
// within seconds (the child is then killed), -2 when it crashed, 3 when it threw;
// so a call that blocks or crashes fails the test instead of stopping the suite.
int InChild(int seconds, const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            ::_exit(check() ? 1 : 0);
        } catch (...) {
            ::_exit(3); // never back into the test runner from the child
        }
    }
    for (int waited = 0; waited < seconds * 100; ++waited) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        ::usleep(10000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return -1;
}

std::vector<std::string> Lines(const TUCodeStrings& list) {
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i)
        r.push_back(U8(list.Get(i)));
    return r;
}

} // namespace

TEST(FilePathText, PartsOfPaths) {
    struct Case {
        const char *path, *filePath, *dir, *name, *ext, *changed;
    } cases[] = {
        // path         ExtractFilePath  ExtractFileDir  Name      Ext      ChangeFileExt(".x")
        {"/a/b.txt", "/a/", "/a", "b.txt", ".txt", "/a/b.x"},
        {"/", "/", "/", "", "", "/.x"},
        {"/a/", "/a/", "/a", "", "", "/a/.x"},
        {"/b", "/", "/", "b", "", "/b.x"},
        {"//b", "//", "//", "b", "", "//b.x"},
        {"rel/x.tar.gz", "rel/", "rel", "x.tar.gz", ".gz", "rel/x.tar.x"},
        {"a.d/name", "a.d/", "a.d", "name", "", "a.d/name.x"},
        {"noslash", "", "", "noslash", "", "noslash.x"},
        {"/a/.hidden", "/a/", "/a", ".hidden", ".hidden", "/a/.x"},
        {"", "", "", "", "", ".x"},
    };
    for (const auto& c : cases) {
        const WideString p = U16(c.path);
        EXPECT_EQ(U8(WideExtractFilePath(p)), c.filePath) << c.path;
        EXPECT_EQ(U8(WideExtractFileDir(p)), c.dir) << c.path;
        EXPECT_EQ(U8(WideExtractFileName(p)), c.name) << c.path;
        EXPECT_EQ(U8(WideExtractFileExt(p)), c.ext) << c.path;
        EXPECT_EQ(U8(WideChangeFileExt(p, u".x")), c.changed) << c.path;
    }
    EXPECT_EQ(WideIncludeTrailingBackslash(u"/a"), u"/a/");
    EXPECT_EQ(WideIncludeTrailingBackslash(u"/a/"), u"/a/");
    EXPECT_EQ(WideIncludeTrailingBackslash(u""), u"/");
    EXPECT_EQ(WideExcludeTrailingBackslash(u"/a//"), u"/a/");
    EXPECT_EQ(WideExcludeTrailingBackslash(u"/a"), u"/a");
    EXPECT_TRUE(WideIsPathDelimiter(u"/a/", 3));
    EXPECT_FALSE(WideIsPathDelimiter(u"/a/", 2));
    EXPECT_FALSE(WideIsPathDelimiter(u"/a/", 4));
    EXPECT_FALSE(WideIsPathDelimiter(u"/a/", 0));
    EXPECT_TRUE(WideIsDelimiter(u".:", u"a.b", 2));
    EXPECT_EQ(WideLastDelimiter(u"./", u"/a.b/c"), 5);
    EXPECT_EQ(WideLastDelimiter(u"./", u"abc"), 0);
    EXPECT_EQ(WideExpandFileName(u"/a/./b/../c"), u"/a/c");
}

TEST(IsValidPathW, AbsoluteWithoutEmptyOrBadNames) {
    using namespace std::string_literals;
    struct Case {
        std::u16string path;
        bool valid;
    } cases[] = {
        {u"/", true},          {u"/a/b/", true},  {u"/a/b", true},    {u"/Ordner/", true},
        {u"/a b/ü.txt", true}, {u"", false},      {u"a", false},      {u"a/b", false},
        {u"/a//b", false},     {u"//", false},    {u"//a", false},    {u"/a*b/c", false},
        {u"/a?/", false},      {u"/a\\b", false}, {u"/a:b", false},   {u"/a\"b", false},
        {u"/<a>", false},      {u"/a|b", false},  {u"/a\0b"s, false}, {u"/a/b//", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidPathW(c.path), c.valid) << U8(c.path);
}

TEST(FormatFileSize, StepsOfThousand) {
    struct Case {
        int64_t size;
        const char* text;
    } cases[] = {
        {0, "0 Byte"},
        {999, "999 Byte"},
        {1000, "1.000 KB"},
        {1500, "1.500 KB"},
        {999999, "999.999 KB"},
        {1000000, "1.000 MB"},
        {1234567, "1.235 MB"},
        {1234567890, "1.235 GB"},
        {999999999999, "1,000.000 GB"}, // eight significant digits first
        {1234567890123, "1.235 TB"},
        {INT64_MAX, "9,223,372.000 TB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFileSize(c.size), c.text) << c.size;
}

TEST(ShortenPathW, DropsFoldersFromTheLeft) {
    const auto onePerChar = [](WideStringView s) { return static_cast<int>(s.size()); };
    const WideString path = u"/home/user/docs/file.txt"; // 24 characters
    struct Case {
        int width;
        const char* shown;
    } cases[] = {
        {100, "/home/user/docs/file.txt"},
        {24, "/home/user/docs/file.txt"},
        {23, "/.../user/docs/file.txt"},
        {20, "/.../docs/file.txt"},
        {17, "/.../file.txt"},
        {12, ".../file.txt"},
        {11, "file.txt"},
        {1, "file.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(ShortenPathW(path, onePerChar, c.width)), c.shown) << c.width;
    EXPECT_EQ(ShortenPathW(u"rel/a/b.txt", onePerChar, 10), u".../b.txt");
    EXPECT_EQ(ShortenPathW(u"/b.txt", onePerChar, 1), u"b.txt");
    EXPECT_EQ(ShortenPathW(u"name", onePerChar, 1), u"name");
}

TEST(FileSystem, ExistenceAttributesAndForcedFolders) {
    TempFolder t;
    t.Write("f.txt", "abc");
    fs::create_directory(t.P("d"));
    EXPECT_TRUE(WideFileExists(t.W("f.txt")));
    EXPECT_FALSE(WideFileExists(t.W("d")));
    EXPECT_FALSE(WideFileExists(t.W("none")));
    EXPECT_TRUE(WideDirectoryExists(t.W("d")));
    EXPECT_FALSE(WideDirectoryExists(t.W("f.txt")));
    EXPECT_EQ(WideFileGetAttr(t.W("none")), -1);
    EXPECT_TRUE(WideFileGetAttr(t.W("d")) & faDirectory);
    EXPECT_TRUE(WideFileSetAttr(t.W("f.txt"), faReadOnly));
    EXPECT_TRUE(WideFileGetAttr(t.W("f.txt")) & faReadOnly);
    EXPECT_TRUE(WideFileSetAttr(t.W("f.txt"), 0));
    EXPECT_TRUE(WideDeleteFile(t.W("f.txt")));
    EXPECT_FALSE(WideFileExists(t.W("f.txt")));

    const int fd = WideFileCreate(t.W("new.bin"));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "xy", 2), 2);
    ::close(fd);
    const int rd = WideFileOpen(t.W("new.bin"), fmOpenRead | fmShareDenyNone);
    ASSERT_GE(rd, 0);
    char buf[4];
    EXPECT_EQ(::read(rd, buf, 4), 2);
    EXPECT_EQ(::write(rd, "z", 1), -1); // opened for reading only
    ::close(rd);
    EXPECT_EQ(WideFileOpen(t.W("missing"), fmOpenRead), -1);

    EXPECT_TRUE(WideForceDirectories(t.W("x/y/z/")));
    EXPECT_TRUE(fs::is_directory(t.P("x/y/z")));
    EXPECT_TRUE(WideForceDirectories(t.W("x/y"))); // exists
    EXPECT_TRUE(WideForceDirectories(u"/"));
    t.Write("file", "");
    EXPECT_FALSE(WideForceDirectories(t.W("file/sub"))); // a file is in the way
    EXPECT_THROW(WideForceDirectories(u""), EUCodeGeneralError);

    // A relative folder is made in the current folder.
    const fs::path old = fs::current_path();
    fs::current_path(t.P(""));
    EXPECT_TRUE(WideForceDirectories(u"r/s"));
    EXPECT_TRUE(WideForceDirectories(u"q")); // a short name is made like any other
    fs::current_path(old);
    EXPECT_TRUE(fs::is_directory(t.P("r/s")));
    EXPECT_TRUE(fs::is_directory(t.P("q")));
}

TEST(WideForceDirectories, ImpossibleFoldersFailWithoutHarm) {
    TempFolder t;
    // A path far longer than the system takes (80,000 folders deep): false at once,
    // nothing made, no stack exhausted on the way up.
    WideString deep = t.W("");
    for (int i = 0; i < 80000; ++i)
        deep += u"d/";
    EXPECT_EQ(InChild(10, [&] { return WideForceDirectories(deep); }), 0);
    EXPECT_FALSE(fs::exists(t.P("d")));
    // A relative folder while the current folder has been deleted has nowhere to go.
    fs::create_directory(t.P("gone"));
    EXPECT_EQ(InChild(10,
                      [&] {
                          fs::current_path(t.P("gone"));
                          fs::remove(t.P("gone"));
                          return WideForceDirectories(u"x/y");
                      }),
              0);
}

TEST(WideFindFirst, ExcludesHiddenAndFoldersUnlessAsked) {
    TempFolder t;
    t.Write("b.txt", "12345");
    t.Write("A.TXT", "1");
    t.Write(".hidden.txt", "");
    fs::create_directory(t.P("dir.txt"));
    auto names = [&](int32_t attr) {
        std::string r;
        TSearchRecW f;
        for (int e = WideFindFirst(t.W("*.txt"), attr, f); e == 0; e = WideFindNext(f))
            r += U8(f.Name) + (f.Attr & faDirectory ? "/" : "") + " ";
        WideFindClose(f);
        return r;
    };
    EXPECT_EQ(names(0), "A.TXT b.txt ");
    EXPECT_EQ(names(faDirectory), "A.TXT b.txt dir.txt/ ");
    EXPECT_EQ(names(faAnyFile), ".hidden.txt A.TXT b.txt dir.txt/ ");

    TSearchRecW f;
    ASSERT_EQ(WideFindFirst(t.W("b.txt"), faAnyFile, f), 0);
    EXPECT_EQ(f.Size, 5);
    EXPECT_NE(f.Time, 0);
    WideFindClose(f);
    EXPECT_EQ(WideFindFirst(t.W("*.none"), faAnyFile, f), ENOENT);
    EXPECT_EQ(f.FindHandle, nullptr);
    EXPECT_NE(WideFindFirst(t.W("missing-folder/*"), faAnyFile, f), 0);
}

TEST(WideSysErrorMessage, SystemTextOrUnspecified) {
    EXPECT_EQ(WideSysErrorMessage(ENOENT), u"No such file or directory");
    EXPECT_EQ(WideSysErrorMessage(123456), u"Unspecified error (123456) from system.");
    const WideString exe = WideGetModuleFileName();
    EXPECT_EQ(exe.substr(0, 1), u"/");
    EXPECT_TRUE(WideFileExists(exe));
}

TEST(GetDateiInfoW, MissingFileAndLocalTimes) {
    TempFolder t;
    TDateiInfoW info;
    t.Write("three.txt", "abc");
    ASSERT_TRUE(GetDateiInfoW(t.W("three.txt"), info));
    EXPECT_EQ(info.Size, 3);
    // A record reused for a missing file keeps nothing of the previous file.
    ASSERT_TRUE(GetDateiInfoW(t.W("missing.txt"), info));
    EXPECT_EQ(info.Size, -1);
    EXPECT_FALSE(info.ReadOnly || info.Hidden || info.SystemFile || info.VolumeId ||
                 info.Directory || info.Archive || info.AllAttributes);
    EXPECT_EQ(info.Created, 0);
    EXPECT_EQ(info.Accessed, 0);
    EXPECT_EQ(info.Written, 0);

    // Summer and winter times in a zone with daylight saving: both are the real local time.
    const char* oldTz = std::getenv("TZ");
    const std::string savedTz = oldTz ? oldTz : "";
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    struct Case {
        time_t utc;
        double local; // days since 1899-12-30, from python's datetime
    } cases[] = {
        {1719835200, 45474 + 14.0 / 24}, // 2024-07-01 12:00 UTC = 14:00 CEST
        {1705320000, 45306 + 13.0 / 24}, // 2024-01-15 12:00 UTC = 13:00 CET
    };
    for (const auto& c : cases) {
        struct timespec times[2] = {{c.utc, 0}, {c.utc, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, t.P("three.txt").c_str(), times, 0), 0);
        ASSERT_TRUE(GetDateiInfoW(t.W("three.txt"), info));
        EXPECT_NEAR(info.Written, c.local, 1e-6);
        EXPECT_NEAR(info.Accessed, c.local, 1e-6);
        EXPECT_GT(info.Created, 0);
    }
    if (oldTz)
        ::setenv("TZ", savedTz.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();

    EXPECT_TRUE(info.Archive);
    EXPECT_FALSE(info.Directory);
    EXPECT_FALSE(info.TypeName.empty());
    EXPECT_LE(info.TypeName.size(), 80u);
    ASSERT_TRUE(GetDateiInfoW(t.W(""), info));
    EXPECT_TRUE(info.Directory);
}

TEST(GetFileSizeW, ExactNameEvenWithWildcardCharacters) {
    TempFolder t;
    t.Write("a*b.txt", "12");
    t.Write("aXXb.txt", "1234");
    t.Write("a?.txt", "123");
    t.Write("aa.txt", "1");
    EXPECT_EQ(GetFileSizeW(t.W("a*b.txt")), 2);
    EXPECT_EQ(GetFileSizeW(t.W("a?.txt")), 3);
    EXPECT_EQ(GetFileSizeW(t.W("aa.txt")), 1);
    EXPECT_EQ(GetFileSizeW(t.W("a*")), -1);
    EXPECT_EQ(GetFileSizeW(t.W("none")), -1);
    TDateiInfoW info;
    GetDateiInfoW(t.W("a*b.txt"), info);
    EXPECT_EQ(info.Size, 2);
}

TEST(IsTextFile, ControlBytesOtherThanTabBreaksAndEofMark) {
    TempFolder t;
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
        bool text;
    } cases[] = {
        {"plain", "Zeile 1\r\n\tZeile 2\nx\r\x1A", true},
        {"empty", "", true},
        {"nul", "ab\0cd"s, false},
        {"esc", "a\x1B", false},
        {"utf8", "Größe äöü €", true},
        {"late", std::string(5000, 'a') + '\x01', false}, // past the first block
        {"long", std::string(5000, 'a'), true},
    };
    for (const auto& c : cases) {
        t.Write(c.name, c.bytes);
        EXPECT_EQ(IsTextFileW(t.W(c.name)), c.text) << c.name;
        EXPECT_EQ(IsTextFileA(WideToAnsiCP(t.W(c.name), 0)), c.text) << c.name;
    }
    EXPECT_FALSE(IsTextFileW(t.W("missing")));
    EXPECT_FALSE(IsTextFileW(t.W(""))); // a folder cannot be read as a file
    // A named pipe without a writer is no text file, and testing it must not wait for one.
    ASSERT_EQ(::mkfifo(t.P("pipe").c_str(), 0600), 0);
    EXPECT_EQ(InChild(5, [&] { return IsTextFileW(t.W("pipe")); }), 0);
}

TEST(FindFilesW, SubfoldersFirstThenEachMaskInNameOrder) {
    TempFolder t;
    for (const char* name : {"a.txt", "b.log", "sub/c.txt", "sub/d.TXT", "B.txt", "x.md"})
        t.Write(name, "x");
    fs::create_directory(t.P("dir.txt")); // a folder is never listed as a file
    const std::string root = U8(t.W());
    std::vector<std::string> first;
    for (int run = 0; run < 2; ++run) {
        TUCodeStringList list;
        FindFilesW(list, t.W().substr(0, t.W().size() - 1), {u".txt", u".log"}, true);
        const std::vector<std::string> expected = {root + "sub/c.txt", root + "sub/d.TXT",
                                                   root + "a.txt", root + "B.txt", root + "b.log"};
        EXPECT_EQ(Lines(list), expected);
    }
    TUCodeStringList flat;
    FindFilesW(flat, t.W(), {u".txt", u""}, false);
    const std::vector<std::string> expectedFlat = {root + "a.txt", root + "B.txt", root + "a.txt",
                                                   root + "b.log", root + "B.txt", root + "x.md"};
    EXPECT_EQ(Lines(flat), expectedFlat);
}

TEST(FindFilesW, LinkBackToAnOuterFolderEnds) {
    TempFolder t;
    t.Write("sub/c.txt", "x");
    t.Write("a.txt", "x");
    fs::create_directory_symlink(t.P(""), t.P("sub/up"));
    TUCodeStringList list;
    FindFilesW(list, t.W(), {u".txt"}, true);
    const std::string root = U8(t.W());
    const std::vector<std::string> expected = {root + "sub/c.txt", root + "a.txt"};
    EXPECT_EQ(Lines(list), expected);
}

// ---- Data files: nothing but regular files of a data file system is ever opened ----

namespace {

// A folder holding one entry of every kind the file system has.
struct EveryKind {
    TempFolder t;
    EveryKind() {
        t.Write("plain.txt", "text\r\n");
        t.Write("sub/b.txt", "more");
        fs::create_symlink(t.P("plain.txt"), t.P("link.txt"));
        EXPECT_EQ(::mkfifo(t.P("fifo.txt").c_str(), 0600), 0); // no one ever writes it
        fs::create_symlink(t.P("missing.txt"), t.P("dangling.txt"));
        fs::create_symlink("/proc/kmsg", t.P("kmsg.txt")); // a read waits for the kernel
        fs::create_symlink("/dev/zero", t.P("zero.txt"));  // a read never ends
        fs::create_symlink("/proc", t.P("kernel"));
        fs::create_symlink("/sys", t.P("devices"));
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, t.P("socket.txt").c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(s);
    }
};

} // namespace

TEST(DataFiles, EveryKindOfEntryIsToldApartAndOnlyDataFilesOpen) {
    Watchdog guard(30, "an open that should have been refused");
    EveryKind k;
    struct Case {
        std::string path;
        TEntryKind kind;
        int openErrno; // 0: opens
    } cases[] = {
        {k.t.P("plain.txt"), TEntryKind::DataFile, 0},
        {k.t.P("link.txt"), TEntryKind::DataFile, 0},
        {k.t.P("sub"), TEntryKind::DataFolder, EISDIR},
        {k.t.P("fifo.txt"), TEntryKind::Special, EINVAL},
        {k.t.P("socket.txt"), TEntryKind::Special, EINVAL},
        {k.t.P("zero.txt"), TEntryKind::Special, EINVAL},
        {k.t.P("kmsg.txt"), TEntryKind::Special, EINVAL},
        {k.t.P("kernel"), TEntryKind::Special, EINVAL},
        {"/proc/self/status", TEntryKind::Special, EINVAL},
        {"/sys/kernel", TEntryKind::Special, EINVAL},
        {k.t.P("dangling.txt"), TEntryKind::Missing, ENOENT},
        {k.t.P("missing.txt"), TEntryKind::Missing, ENOENT},
    };
    for (const Case& c : cases) {
        const WideString path = U16(c.path);
        EXPECT_EQ(WideEntryKind(path), c.kind) << c.path;
        EXPECT_EQ(IsDataFile(path), c.kind == TEntryKind::DataFile) << c.path;
        EXPECT_EQ(IsDataFolder(path), c.kind == TEntryKind::DataFolder) << c.path;
        for (int flags : {O_RDONLY, O_RDWR}) {
            errno = 0;
            const int fd = OpenDataFile(c.path, flags);
            EXPECT_EQ(fd >= 0 ? 0 : errno, c.openErrno) << c.path;
            if (fd >= 0) ::close(fd);
        }
        // Every reader of the program opens through the same rule.
        if (c.kind == TEntryKind::DataFile) continue;
        EXPECT_FALSE(IsTextFileW(path)) << c.path;
        EXPECT_THROW(TUCodeFileStream(path, fmOpenRead | fmShareDenyNone), EFOpenError) << c.path;
        EXPECT_EQ(WideCreateFile(path, GENERIC_READ, OPEN_EXISTING), -1) << c.path;
    }
    // A new file is still created where none is.
    const int created = OpenDataFile(k.t.P("new.txt"), O_WRONLY | O_CREAT);
    EXPECT_GE(created, 0);
    ::close(created);
    EXPECT_TRUE(fs::is_regular_file(k.t.P("new.txt")));
}

TEST(DataFiles, ListingsAndTypeNamesLeaveEverythingElseAlone) {
    Watchdog guard(30, "a listing or a type name");
    EveryKind k;
    const std::string root = U8(k.t.W());
    TUCodeStringList list;
    FindFilesW(list, k.t.W(), {u".txt"}, true); // /proc and /sys behind links are not searched
    const std::vector<std::string> expected = {root + "sub/b.txt", root + "link.txt",
                                               root + "plain.txt"};
    EXPECT_EQ(Lines(list), expected);
    for (const char* folder : {"/proc", "/sys", "/proc/self"}) {
        TUCodeStringList none;
        FindFilesW(none, U16(folder), {u""}, false);
        EXPECT_EQ(none.Count(), 0) << folder;
    }
    // The type of an entry that is no data file comes from its name.
    struct Case {
        const char* name;
        const char* type;
    } cases[] = {
        {"kmsg.txt", "text/plain"}, {"fifo.txt", "text/plain"}, {"zero.txt", "text/plain"}};
    for (const Case& c : cases) {
        EXPECT_EQ(U8(FileMimeTypeName(k.t.W(c.name))), c.type) << c.name;
        TDateiInfoW info;
        EXPECT_TRUE(GetDateiInfoW(k.t.W(c.name), info));
        EXPECT_FALSE(info.TypeName.empty()) << c.name;
    }
    // A data file's type still looks at what it holds.
    k.t.Write("page", "<!DOCTYPE html><html><head></head><body></body></html>");
    EXPECT_EQ(U8(FileMimeTypeName(k.t.W("page"))), "text/html");
}
