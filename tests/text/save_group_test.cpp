// Saves that replace files, committed as a group: one failed file fails alone, and a run
// killed before its renames leaves every file as it was.
#include "text/SafeFileWrite.h"
#include "text/SaveGroup.h"

#include "codec_testutil.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using SaveGroupTest = CodecTempDir;

TEST_F(SaveGroupTest, AFailedFileInTheMiddleFailsAloneAndTheOthersAreNew) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        WriteBytes(Path(name), "old");
    std::vector<TSaveGroup::Failure> failures;
    {
        TSaveGroup group;
        const TSaveGroup::Joining join;
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            ASSERT_TRUE(SafeFileWrite(Path(name), std::string("new ") + name));
        // Waiting: the files are still the old ones; a second save of one waits after it.
        EXPECT_EQ(ReadBytes(Path("a.txt")), "old");
        // b.txt becomes a folder: its rename must fail.
        ASSERT_EQ(unlink(Path("b.txt").c_str()), 0);
        ASSERT_EQ(mkdir(Path("b.txt").c_str(), 0755), 0);
        ASSERT_TRUE(SafeFileWrite(Path("c.txt"), "newer c"));
        ASSERT_TRUE(SafeFileWrite(Path("d.txt"), "new d"));
        group.Commit();
        failures = group.TakeFailures();
    }
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].target, Path("b.txt"));
    EXPECT_EQ(ReadBytes(Path("a.txt")), "new a.txt");
    EXPECT_EQ(ReadBytes(Path("c.txt")), "newer c");
    EXPECT_EQ(ReadBytes(Path("d.txt")), "new d");
    EXPECT_EQ(EntryCount(), 4u) << "a temporary was left";
}

TEST_F(SaveGroupTest, DurableOnDemandOnlyWithItsNewContent) {
    WriteBytes(Path("a.txt"), "old");
    TSaveGroup group;
    const TSaveGroup::Joining join;
    ASSERT_TRUE(SafeFileWrite(Path("a.txt"), "new"));
    // Before a source is deleted on the strength of this output, the output is committed.
    EXPECT_TRUE(SyncFileAndFolder(Path("a.txt")));
    EXPECT_EQ(ReadBytes(Path("a.txt")), "new");
    ASSERT_TRUE(SafeFileWrite(Path("a.txt"), "newer"));
    ASSERT_EQ(unlink(Path("a.txt").c_str()), 0);
    ASSERT_EQ(mkdir(Path("a.txt").c_str(), 0755), 0);
    EXPECT_FALSE(SyncFileAndFolder(Path("a.txt")));
    EXPECT_TRUE(group.TakeFailures().empty()) << "reported once, by the sync";
}

TEST_F(SaveGroupTest, ARunKilledBeforeItsRenamesLeavesTheOldFilesAndNoTemporary) {
    for (const char* name : {"a.txt", "b.txt"})
        WriteBytes(Path(name), "old");
    const pid_t child = fork();
    if (child == 0) {
        TSaveGroup group;
        const TSaveGroup::Joining join;
        bool ok = SafeFileWrite(Path("a.txt"), "new a") && SafeFileWrite(Path("b.txt"), "new b");
        _exit(ok ? 0 : 1); // gone as if killed: the group never renames
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(Path("a.txt")), "old");
    EXPECT_EQ(ReadBytes(Path("b.txt")), "old");
    // The next save into the folder, in a process of its own, removes what the run left.
    const pid_t next = fork();
    if (next == 0) _exit(SafeFileWrite(Path("c.txt"), "c") ? 0 : 1);
    waitpid(next, &status, 0);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(EntryCount(), 3u);
}

} // namespace
