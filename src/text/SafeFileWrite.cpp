#include "text/SafeFileWrite.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "text/SaveGroup.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr int MaxLinkHops = 40;
// Leaves room for the "." prefix and the TemporaryMark + 6 characters within NAME_MAX.
constexpr std::size_t MaxTemporaryBaseLength = 200;
// Our temporaries are named "." + the target's name + TemporaryMark + 6 letters or digits:
// distinct enough that a stale one is never taken for a user's file.
constexpr std::string_view TemporaryMark = ".quorbel~";
constexpr std::size_t TemporarySuffixLength = 6;
// A folder is searched for stale temporaries at most this often by one process, so a run
// that writes thousands of files into one folder does not list it thousands of times.
constexpr auto StaleSearchInterval = std::chrono::seconds(2);

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from `path` to the file they finally name (which need not exist).
// Returns 0 or an errno value.
int ResolveLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        for (;;) {
            ssize_t n = readlink(path.c_str(), target.data(), target.size());
            if (n < 0) return errno;
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) return ENOENT;
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return ELOOP;
}

mode_t CurrentUmask() {
    // /proc keeps the mask without the set-and-restore race of umask().
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        unsigned value = 0;
        bool found = false;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                found = true;
                break;
            }
        std::fclose(f);
        if (found) return static_cast<mode_t>(value);
    }
    mode_t mask = umask(022);
    umask(mask);
    return mask;
}

bool IsTemporaryName(std::string_view name) {
    const std::size_t tail = TemporaryMark.size() + TemporarySuffixLength;
    if (name.size() < tail + 2 || name[0] != '.') return false;
    if (name.substr(name.size() - tail, TemporaryMark.size()) != TemporaryMark) return false;
    for (char c : name.substr(name.size() - TemporarySuffixLength))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

// Six random letters and digits for a temporary's name.
std::string RandomSuffix() {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[TemporarySuffixLength];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
        for (unsigned char& r : random)
            r = static_cast<unsigned char>(std::rand());
    std::string suffix;
    for (unsigned char r : random)
        suffix += Letters[r % (sizeof Letters - 1)];
    return suffix;
}

// Removes the temporaries that saves killed before their end left in `folder`. A writer
// holds an exclusive lock on its temporary until the rename, and the system drops it with
// the process: a temporary whose lock can be taken has no living writer.
void RemoveStaleTemporaries(const std::string& folder) {
    {
        static std::mutex guard;
        static std::map<std::string, std::chrono::steady_clock::time_point> searched;
        const std::lock_guard<std::mutex> lock(guard);
        const auto now = std::chrono::steady_clock::now();
        auto [entry, fresh] = searched.try_emplace(folder, now);
        if (!fresh && now - entry->second < StaleSearchInterval) return;
        entry->second = now;
    }
    DIR* listing = opendir(folder.c_str());
    if (!listing) return;
    const int dir = dirfd(listing);
    while (const dirent* e = readdir(listing)) {
        if (!IsTemporaryName(e->d_name)) continue;
        const int fd = openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held, named;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            fstatat(dir, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            unlinkat(dir, e->d_name, 0);
        close(fd);
    }
    closedir(listing);
}

} // namespace

std::string NativePath(WideStringView path) {
    // The same form the folder listing reads names in, so that every listed name opens.
    return WideToNative(path);
}

TSafeFileWriter::TSafeFileWriter(const std::string& path) : FTarget(path) {
    if (FTarget.empty()) {
        Fail(ENOENT);
        return;
    }
    if (int error = ResolveLinks(FTarget)) {
        Fail(error);
        return;
    }
    // A second save of a target still waiting in a group starts from the first one's result.
    if (TSaveGroup* group = TSaveGroup::Current(); group && group->Holds(FTarget)) group->Commit();
    struct stat existing;
    bool exists = stat(FTarget.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        Fail(EISDIR);
        return;
    }
    // A file the user may not write stays as it is, as an in-place rewrite would fail.
    if (exists && access(FTarget.c_str(), W_OK) != 0) {
        Fail(errno);
        return;
    }
    if (FTarget.back() == '/') {
        Fail(EISDIR);
        return;
    }

    const std::string folder = FolderOf(FTarget);
    RemoveStaleTemporaries(folder);
    FTemporaryPrefix = folder + "/." + NameOf(FTarget).substr(0, MaxTemporaryBaseLength) +
                       std::string(TemporaryMark);
    int error = OpenTemporary(folder);
    if (error != 0) {
        // A writable file in a folder we may not create files in (a shared or system folder)
        // can still be rewritten in place, as any editor would; only then is the old content
        // at risk while writing.
        if (exists && (error == EACCES || error == EPERM)) {
            FHandle = open(FTarget.c_str(), O_RDWR | O_CLOEXEC);
            if (FHandle < 0) FHandle = open(FTarget.c_str(), O_WRONLY | O_CLOEXEC);
            if (FHandle >= 0) {
                FInPlace = true;
                FOldSize = existing.st_size;
                return;
            }
        }
        Fail(error);
        return;
    }
    FReplaces = exists;

    if (exists) {
        // The owner first: changing it may clear set-id bits that fchmod then restores.
        if (fchown(FHandle, existing.st_uid, existing.st_gid) != 0) {
            // Not the owner's to give away: the file stays ours, as any rewrite would.
        }
        if (fchmod(FHandle, existing.st_mode & 07777) != 0) Fail(errno);
    } else {
        if (fchmod(FHandle, 0666 & ~CurrentUmask()) != 0) Fail(errno);
    }
}

int TSafeFileWriter::OpenTemporary(const std::string& folder) {
    // Unnamed while it is written, so that a save killed before its end leaves nothing;
    // it gets a name only at Commit.
    FHandle = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (FHandle >= 0) {
        flock(FHandle, LOCK_EX);
        FUnnamed = true;
        return 0;
    }
    if (errno == EACCES || errno == EPERM || errno == ENOENT || errno == ENOTDIR) return errno;
    // The file system has no unnamed files: a named temporary, locked at once; should a
    // cleaner have taken it for stale before the lock, another is made.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string pattern = FTemporaryPrefix + "XXXXXX";
        FHandle = mkostemp(pattern.data(), O_CLOEXEC);
        if (FHandle < 0) return errno;
        struct stat st;
        if (flock(FHandle, LOCK_EX) == 0 && fstat(FHandle, &st) == 0 && st.st_nlink > 0) {
            FTemporary = pattern;
            return 0;
        }
        close(FHandle);
        FHandle = -1;
    }
    return EEXIST;
}

bool TSafeFileWriter::NameTemporary() {
    const std::string handlePath = "/proc/self/fd/" + std::to_string(FHandle);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = FTemporaryPrefix + RandomSuffix();
        if (linkat(AT_FDCWD, handlePath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            FTemporary = std::move(name);
            return true;
        }
        if (errno != EEXIST) return Fail(errno);
    }
    return Fail(EEXIST);
}

bool TSafeFileWriter::CommitInPlace() {
    // The space is reserved before the first old byte is overwritten: a full disk or a
    // file-size limit then fails the save with the file as it was.
    const off_t size = static_cast<off_t>(FPending.size());
    if (size > 0) {
        if (int error = posix_fallocate(FHandle, 0, size)) {
            struct stat st;
            if (fstat(FHandle, &st) == 0 && st.st_size != FOldSize) {
                if (ftruncate(FHandle, FOldSize) != 0) {
                    // The size could not be put back; the old bytes are all still there.
                }
            }
            return Fail(error);
        }
    }
    for (off_t done = 0; done < size;) {
        ssize_t n =
            pwrite(FHandle, FPending.data() + done, static_cast<std::size_t>(size - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(n < 0 ? errno : EIO);
        done += n;
    }
    std::string().swap(FPending);
    if (ftruncate(FHandle, size) != 0 || fsync(FHandle) != 0) return Fail(errno);
    int handle = FHandle;
    FHandle = -1;
    if (close(handle) != 0) return Fail(errno);
    return true;
}

TSafeFileWriter::~TSafeFileWriter() {
    Discard();
}

bool TSafeFileWriter::Fail(int error) {
    if (FError == 0) {
        FError = error;
        FErrorText = std::strerror(error);
    }
    Discard();
    return false;
}

void TSafeFileWriter::Discard() {
    if (FHandle >= 0) {
        close(FHandle);
        FHandle = -1;
    }
    if (!FTemporary.empty()) {
        unlink(FTemporary.c_str());
        FTemporary.clear();
    }
    std::string().swap(FPending);
}

bool TSafeFileWriter::Write(const void* data, std::size_t size) {
    if (FHandle < 0) return false;
    const char* p = static_cast<const char*>(data);
    if (FInPlace) {
        // Held until Commit, which must know the new size before it touches the file.
        FPending.append(p, size);
        FWritten += size;
        return true;
    }
    while (size > 0) {
        ssize_t n = ::write(FHandle, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        if (n == 0) return Fail(EIO);
        p += n;
        size -= static_cast<std::size_t>(n);
        FWritten += static_cast<uint64_t>(n);
    }
    return true;
}

bool TSafeFileWriter::Commit() {
    if (FHandle < 0) return false;
    if (FInPlace) return CommitInPlace();
    TSaveGroup* group = FReplaces ? TSaveGroup::Current() : nullptr;
    if (group && !group->Joined()) group = nullptr;
    if (FReplaces && !group && fsync(FHandle) != 0) return Fail(errno);
    if (FUnnamed && !NameTemporary()) return false;
    if (group) {
        // The group flushes it with the others and renames it then.
        group->Add(std::exchange(FHandle, -1), std::exchange(FTemporary, {}), FTarget);
        return true;
    }
    if (rename(FTemporary.c_str(), FTarget.c_str()) != 0) return Fail(errno);
    FTemporary.clear();
    // Closed only now: the lock keeps cleaners of other saves away from the named temporary.
    int handle = FHandle;
    FHandle = -1;
    if (close(handle) != 0) return Fail(errno);
    // The folder is not synced: should the rename not reach the disk, the old file is
    // still there, complete.
    return true;
}

bool SafeFileWrite(const std::string& path, std::string_view bytes, std::string* errorText) {
    TSafeFileWriter writer(path);
    bool ok = writer.Write(bytes.data(), bytes.size()) && writer.Commit();
    if (!ok && errorText) *errorText = writer.ErrorText();
    return ok;
}

bool SyncFileAndFolder(const std::string& path, std::string* errorText) {
    std::string target = path;
    int error = ResolveLinks(target);
    // A file durable on the strength of this call must have its new content first.
    if (TSaveGroup* group = TSaveGroup::Current(); group && error == 0 && group->Holds(target)) {
        group->Commit();
        if (group->TakeFailure(target)) error = EIO;
    }
    for (const std::string& name : {target, FolderOf(target)}) {
        if (error != 0) break;
        const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || fsync(fd) != 0) error = errno;
        if (fd >= 0) close(fd);
    }
    if (error != 0 && errorText) *errorText = std::strerror(error);
    return error == 0;
}

bool SafeFileWrite(WideStringView path, std::string_view bytes, std::string* errorText) {
    return SafeFileWrite(NativePath(path), bytes, errorText);
}
