#include "text/SafeFileWrite.h"

#include "codec_testutil.h"
#include "support/FileSizeLimit.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st;
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

} // namespace

using SafeFileWriteTest = CodecTempDir;

TEST_F(SafeFileWriteTest, CreatesAndReplacesKeepingModeAndLeavingNoTemporary) {
    mode_t oldMask = umask(022);
    std::string target = Path("a.txt");
    std::string error;
    ASSERT_TRUE(SafeFileWrite(target, "first", &error)) << error;
    EXPECT_EQ(ReadBytes(target), "first");
    EXPECT_EQ(ModeOf(target), 0644u);

    for (mode_t mode : {0600u, 0751u, 0440u}) {
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
        std::string content(100000 + mode, 'x');
        ASSERT_TRUE(SafeFileWrite(target, content, &error)) << error;
        EXPECT_EQ(ReadBytes(target), content);
        EXPECT_EQ(ModeOf(target), mode);
    }
    ASSERT_TRUE(SafeFileWrite(target, "", &error)) << error;
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(EntryCount(), 1u);
    umask(oldMask);
}

TEST_F(SafeFileWriteTest, WritesThroughSymbolicLinksAndKeepsThem) {
    std::filesystem::create_directory(Dir / "real");
    std::string real = Path("real/target.txt");
    WriteBytes(real, "old");
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    ASSERT_EQ(symlink("real/target.txt", Path("relative").c_str()), 0);
    ASSERT_EQ(symlink(Path("relative").c_str(), Path("chain").c_str()), 0);
    ASSERT_EQ(symlink("real/missing.txt", Path("dangling").c_str()), 0);

    ASSERT_TRUE(SafeFileWrite(Path("chain"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "chain"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "relative"));
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(ModeOf(real), 0600u);

    ASSERT_TRUE(SafeFileWrite(Path("dangling"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "dangling"));
    EXPECT_EQ(ReadBytes(Path("real/missing.txt")), "made");

    // A link loop is an error, not a hang.
    ASSERT_EQ(symlink("loop2", Path("loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", Path("loop2").c_str()), 0);
    std::string error;
    EXPECT_FALSE(SafeFileWrite(Path("loop1"), "x", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(SafeFileWriteTest, FailuresReportAndLeaveEverythingAsItWas) {
    std::string plain = Path("plain");
    WriteBytes(plain, "I am a file");
    std::filesystem::create_directory(Dir / "folder");

    struct Case {
        std::string path;
        int error;
    } cases[] = {
        {plain + "/below", ENOTDIR},      // the parent is a regular file (fails even for root)
        {Path("folder"), EISDIR},         // the target is a folder
        {Path("nofolder/x.txt"), ENOENT}, // the parent does not exist
        {"", ENOENT},
    };
    for (const auto& c : cases) {
        TSafeFileWriter writer(c.path);
        EXPECT_FALSE(writer.IsOpen()) << c.path;
        EXPECT_FALSE(writer.Write("data", 4));
        EXPECT_FALSE(writer.Commit());
        EXPECT_EQ(writer.ErrorCode(), c.error) << c.path;
        EXPECT_EQ(writer.ErrorText(), std::strerror(c.error));
        std::string error;
        EXPECT_FALSE(SafeFileWrite(c.path, "data", &error));
        EXPECT_EQ(error, std::strerror(c.error));
    }
    ASSERT_EQ(symlink((plain + "/below").c_str(), Path("link").c_str()), 0);
    EXPECT_FALSE(SafeFileWrite(Path("link"), "data"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "link"));
    EXPECT_EQ(ReadBytes(plain), "I am a file");
    EXPECT_EQ(EntryCount(), 3u);
}

TEST_F(SafeFileWriteTest, AWriteThatFailsHalfWayKeepsTheOriginal) {
    std::string target = Path("precious.txt");
    std::string original(5000, 'o');
    WriteBytes(target, original);
    {
        FileSizeLimit limit(4096);
        std::string error;
        EXPECT_FALSE(SafeFileWrite(target, std::string(10000, 'n'), &error));
        EXPECT_EQ(error, std::strerror(EFBIG));
    }
    EXPECT_EQ(ReadBytes(target), original);
    EXPECT_EQ(EntryCount(), 1u);

    // Abandoning a writer before Commit also keeps the original.
    {
        TSafeFileWriter writer(target);
        ASSERT_TRUE(writer.IsOpen());
        ASSERT_TRUE(writer.Write("partial", 7));
        EXPECT_EQ(ReadBytes(target), original);
    }
    EXPECT_EQ(ReadBytes(target), original);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(SafeFileWriteTest, AWritableFileInAFolderWeMayNotWriteIsRewrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    ASSERT_EQ(chmod(Dir.c_str(), 0755), 0);
    const std::string shared = Path("shared.txt"), locked = Path("locked.txt");
    WriteBytes(shared, "a longer old content");
    WriteBytes(locked, "root's");
    ASSERT_EQ(chmod(shared.c_str(), 0666), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0644), 0);
    // As "nobody": the folder is not ours, the one file is writable by everybody.
    EXPECT_EQ(ExitStatusAsNobody([&] {
                  if (!SafeFileWrite(shared, "new")) return 11;
                  std::string error;
                  if (SafeFileWrite(locked, "x", &error) || error != std::strerror(EACCES))
                      return 12;
                  if (SafeFileWrite(Path("fresh.txt"), "x", &error) ||
                      error != std::strerror(EACCES))
                      return 13;
                  return 0;
              }),
              0);
    EXPECT_EQ(ReadBytes(shared), "new");
    EXPECT_EQ(ReadBytes(locked), "root's");
    EXPECT_EQ(EntryCount(), 2u);
}
