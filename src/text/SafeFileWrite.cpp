#include "text/SafeFileWrite.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/UCodeSysUtils.h"

namespace {

constexpr int MaxLinkHops = 40;
// Leaves room for the "." prefix and the ".XXXXXX" suffix within NAME_MAX.
constexpr std::size_t MaxTemporaryBaseLength = 200;

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

    std::string base = NameOf(FTarget).substr(0, MaxTemporaryBaseLength);
    std::string pattern = FolderOf(FTarget) + "/." + base + ".XXXXXX";
    FHandle = mkostemp(pattern.data(), O_CLOEXEC);
    if (FHandle < 0) {
        int error = errno;
        // A writable file in a folder we may not create files in (a shared or system folder)
        // can still be rewritten in place, as any editor would; only then is the old content
        // at risk while writing.
        if (exists && (error == EACCES || error == EPERM)) {
            FHandle = open(FTarget.c_str(), O_WRONLY | O_CLOEXEC);
            if (FHandle >= 0) {
                FInPlace = true;
                return;
            }
        }
        Fail(error);
        return;
    }
    FTemporary = pattern;
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
}

bool TSafeFileWriter::Write(const void* data, std::size_t size) {
    if (FHandle < 0) return false;
    const char* p = static_cast<const char*>(data);
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
    if (FInPlace && ftruncate(FHandle, static_cast<off_t>(FWritten)) != 0) return Fail(errno);
    if ((FReplaces || FInPlace) && fsync(FHandle) != 0) return Fail(errno);
    int handle = FHandle;
    FHandle = -1;
    if (close(handle) != 0) return Fail(errno);
    if (FInPlace) return true;
    if (rename(FTemporary.c_str(), FTarget.c_str()) != 0) return Fail(errno);
    FTemporary.clear();
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

bool SafeFileWrite(WideStringView path, std::string_view bytes, std::string* errorText) {
    return SafeFileWrite(NativePath(path), bytes, errorText);
}
