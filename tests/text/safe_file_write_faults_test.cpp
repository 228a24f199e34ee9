// Saves under faults: a file rewritten in place on a full disk or past a file-size limit,
// saves killed at random moments, and the temporaries such kills leave behind.
#include "text/SafeFileWrite.h"

#include "codec_testutil.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <random>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using SafeFileWriteFaults = CodecTempDir;

// Our temporaries and anything else that is not one of `keep`.
std::vector<std::string> OtherEntries(const std::filesystem::path& dir,
                                      const std::vector<std::string>& keep) {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (std::find(keep.begin(), keep.end(), e.path().filename().string()) == keep.end())
            found.push_back(e.path().filename().string());
    return found;
}

// Prepares a file that is writable by everybody in a folder that only root may change,
// so that "nobody" can save it only by rewriting it in place.
void MakeSharedFile(const std::filesystem::path& dir, const std::string& path,
                    const std::string& content) {
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
    std::ofstream(path, std::ios::binary) << content;
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
}

TEST_F(SafeFileWriteFaults, AnInPlaceRewritePastTheFileSizeLimitLeavesTheFileAsItWas) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const std::string shared = Path("shared.txt");
    const std::string original(5000, 'o');
    MakeSharedFile(Dir, shared, original);
    EXPECT_EQ(ExitStatusAsNobody([&] {
                  FileSizeLimit limit(8192);
                  std::string error;
                  if (SafeFileWrite(shared, std::string(20000, 'n'), &error)) return 11;
                  if (error != std::strerror(EFBIG)) return 12;
                  // Within the limit the rewrite works, shorter or longer.
                  if (!SafeFileWrite(shared, "short")) return 13;
                  if (!SafeFileWrite(shared, std::string(8000, 'l'))) return 14;
                  return 0;
              }),
              0);
    EXPECT_EQ(ReadBytes(shared), std::string(8000, 'l'));
    EXPECT_EQ(EntryCount(), 1u);

    std::ofstream(shared, std::ios::binary | std::ios::trunc) << original;
    EXPECT_EQ(ExitStatusAsNobody([&] {
                  FileSizeLimit limit(8192);
                  return SafeFileWrite(shared, std::string(20000, 'n')) ? 11 : 0;
              }),
              0);
    EXPECT_EQ(ReadBytes(shared), original);
}

// Runs `body` in a child process with a tmpfs of `kilobytes` mounted over `dir` in a mount
// namespace of its own; returns body's exit status, or -2 when no such file system can be
// made here (no right to make a mount namespace).
int ExitStatusOnSmallFileSystem(const std::filesystem::path& dir, int kilobytes,
                                const std::function<int()>& body) {
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            _exit(100);
        const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
        if (mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) _exit(100);
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 100 ? -2 : WEXITSTATUS(status);
}

// Fills the file system of `path`'s folder with a file at `path` until fewer than
// `leave` bytes are free.
void FillDisk(const std::string& path, std::size_t leave) {
    std::ofstream filler(path, std::ios::binary);
    const std::string block(1024, 'f');
    for (;;) {
        struct ::statvfs fs;
        if (::statvfs(path.c_str(), &fs) != 0 || fs.f_bavail * fs.f_frsize < leave) break;
        filler.write(block.data(), static_cast<std::streamsize>(block.size()));
        filler.flush();
        if (!filler) break;
    }
}

TEST_F(SafeFileWriteFaults, AFullDiskFailsTheSaveAndLeavesTheFileAsItWas) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const std::string shared = Path("shared.txt"), own = Path("own.txt");
    const std::string original(20000, 'o'), longer(60000, 'n');
    const int status = ExitStatusOnSmallFileSystem(Dir, 256, [&] {
        std::ofstream(own, std::ios::binary) << original;
        MakeSharedFile(Dir, shared, original);
        FillDisk(Path("filler"), 30000);
        std::string error;
        // The usual road: the temporary cannot be written, the file stays.
        if (SafeFileWrite(own, longer, &error) || error != std::strerror(ENOSPC)) return 11;
        if (ReadBytes(own) != original) return 12;
        // In place, as a user who may not create files in the folder.
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) return 10;
        if (SafeFileWrite(shared, longer, &error) || error != std::strerror(ENOSPC)) return 13;
        if (ReadBytes(shared) != original) return 14;
        if (!SafeFileWrite(shared, "fits")) return 15;
        return ReadBytes(shared) == "fits" ? 0 : 16;
    });
    if (status == -2) GTEST_SKIP() << "no mount namespace for a small file system";
    EXPECT_EQ(status, 0);
}

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) return bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    close(fd);
    return bytes;
}

// The saves of the kill test, made in child processes: `content` written to `path`.
pid_t StartSave(const std::string& path, const std::string& content) {
    const pid_t child = fork();
    if (child == 0) _exit(SafeFileWrite(path, content) ? 0 : 1);
    return child;
}

int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// A save killed at any moment leaves the old file or the new one, never a mix; whatever
// temporary it leaves, the next save into the folder removes.
TEST_F(SafeFileWriteFaults, KilledSavesLeaveTheOldOrTheNewFileAndNoTemporary) {
    // In memory where the machine has a tmpfs for it: the flushes to disk of 400 saves of
    // 16 MB would take most of the test's time and test nothing more.
    std::string shm = "/dev/shm/quorbel-kill-XXXXXX";
    std::filesystem::path folder = Dir;
    if (mkdtemp(shm.data())) folder = shm;
    struct RemoveFolder {
        std::filesystem::path path;
        ~RemoveFolder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } removeFolder{folder};
    const std::string target = (folder / "big.txt").string();
    const std::size_t size = 16u << 20;
    std::string contents[2] = {std::string(size, 'A'), std::string(size, 'B')};
    contents[1][size / 2] = 'x'; // not just a run of one byte
    // Every save in a child: this process must not have saved into the folder (it would not
    // search it again for stale temporaries within seconds, nor would its children).
    ASSERT_EQ(Wait(StartSave(target, contents[0])), 0);
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(Wait(StartSave(target, contents[1])), 0);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - started)
                              .count();
    std::mt19937 rng(15);
    // The kill moment is drawn from a window a quarter longer than one save. On a busy
    // machine the measured save may have been slow: a save that finished before its kill
    // shrinks the window, a kill widens it again, and rounds go on (bounded) until enough
    // kills landed.
    long long window = saveTime + saveTime / 4 + 1;
    int current = 1, killed = 0, renewed = 0;
    for (int round = 0; round < 200 || (killed <= 50 && round < 1000); ++round) {
        const int next = 1 - current;
        const pid_t child = StartSave(target, contents[next]);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % window));
        kill(child, SIGKILL);
        const int status = Wait(child);
        if (WIFSIGNALED(status)) {
            ++killed;
            window = std::min<long long>(window + window / 8 + 1, saveTime * 2 + 1);
        } else {
            window = std::max<long long>(window * 3 / 4, 100);
        }
        const std::string now = ReadWhole(target);
        if (now == contents[next]) {
            current = next;
            ++renewed;
        } else
            ASSERT_EQ(now == contents[current], true) << "a mixed file in round " << round;
        // The next save into the folder, in a process of its own as after a restart.
        ASSERT_EQ(Wait(StartSave((folder / "small.txt").string(), "next")), 0);
        ASSERT_EQ(OtherEntries(folder, {"big.txt", "small.txt"}), std::vector<std::string>{})
            << round;
    }
    EXPECT_GT(killed, 50);
    EXPECT_GT(renewed, 0) << "no save ever completed: the kills only met starting saves";
}

TEST_F(SafeFileWriteFaults, StaleTemporariesOfKilledSavesGoWithTheNextSave) {
    // Left by saves killed between naming and renaming: ours, and nobody holds them.
    WriteBytes(Path(".a.txt.quorbel~Xy12Z9"), "half");
    WriteBytes(Path(".other name.quorbel~000000"), "half");
    // Not ours, or not stale: a user's files, and the temporary of a save still running.
    const std::vector<std::string> kept = {".bashrc.backup", ".a.txt.quorbel~ab",
                                           "a.quorbel~abcdef", ".running.quorbel~abcdef"};
    for (const std::string& name : kept)
        WriteBytes(Path(name), "user");
    const int held = open(Path(".running.quorbel~abcdef").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        flock(held, LOCK_EX);
        (void)!write(ready[1], "r", 1);
        pause();
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_TRUE(SafeFileWrite(Path("b.txt"), "new"));
    kill(holder, SIGKILL);
    Wait(holder);
    close(held);
    close(ready[0]);
    close(ready[1]);
    std::vector<std::string> expected = kept;
    expected.push_back("b.txt");
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> left = OtherEntries(Dir, {});
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
}

} // namespace
