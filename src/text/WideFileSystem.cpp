#include "text/WideFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <vector>

#include "text/UCodeSysUtils.h"

struct WideFindState {
    std::vector<WideFindData> entries;
    size_t next = 0;
};

namespace {

FileTime toFileTime(const struct statx_timestamp& ts) {
    return static_cast<FileTime>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool isDotName(WideStringView name) {
    return name == u"." || name == u"..";
}

uint32_t attributesOf(uint32_t mode, WideStringView name) {
    uint32_t a = 0;
    if (S_ISDIR(mode))
        a |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(mode))
        a |= FILE_ATTRIBUTE_ARCHIVE;
    if (!(mode & S_IWUSR)) a |= FILE_ATTRIBUTE_READONLY;
    if (!name.empty() && name[0] == u'.' && !isDotName(name)) a |= FILE_ATTRIBUTE_HIDDEN;
    return a != 0 ? a : FILE_ATTRIBUTE_NORMAL;
}

// The last component of a path, final "/" ignored.
WideStringView lastComponent(WideStringView path) {
    while (path.size() > 1 && path.back() == u'/')
        path.remove_suffix(1);
    size_t slash = path.rfind(u'/');
    return slash == WideStringView::npos ? path : path.substr(slash + 1);
}

// Fills data from the entry name (relative to dirFd); a dangling link is described itself.
bool describe(int dirFd, const AnsiString& native, WideStringView name, WideFindData& data) {
    struct statx st {};
    const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    if (statx(dirFd, native.c_str(), AT_STATX_SYNC_AS_STAT, mask, &st) != 0 &&
        statx(dirFd, native.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, mask, &st) != 0)
        return false;
    data.attributes = attributesOf(st.stx_mode, name);
    data.lastWriteTime = toFileTime(st.stx_mtime);
    data.lastAccessTime = toFileTime(st.stx_atime);
    data.creationTime = (st.stx_mask & STATX_BTIME) ? toFileTime(st.stx_btime) : data.lastWriteTime;
    data.size = S_ISDIR(st.stx_mode) ? 0 : static_cast<int64_t>(st.stx_size);
    data.name = WideString(name);
    return true;
}

// The kernel's own file systems: their files are interfaces to the kernel, not data.
constexpr uint32_t kKernelFileSystems[] = {
    0x00009fa0, // proc
    0x62656572, // sysfs
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x0027e0eb, // cgroup
    0x63677270, // cgroup2
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x6165676c, // pstore
    0xde5e81e4, // efivarfs
    0x65735543, // fusectl
    0x42494e4d, // binfmt_misc
};

bool onKernelFileSystem(const struct statfs& fs) {
    const auto type = static_cast<uint32_t>(fs.f_type);
    return std::find(std::begin(kKernelFileSystems), std::end(kKernelFileSystems), type) !=
           std::end(kKernelFileSystems);
}

TEntryKind kindOf(const struct stat& st, const struct statfs& fs) {
    if (onKernelFileSystem(fs)) return TEntryKind::Special;
    if (S_ISREG(st.st_mode)) return TEntryKind::DataFile;
    if (S_ISDIR(st.st_mode)) return TEntryKind::DataFolder;
    return TEntryKind::Special;
}

TEntryKind kindOfPath(const AnsiString& native) {
    struct stat st {};
    struct statfs fs {};
    if (native.empty() || stat(native.c_str(), &st) != 0) return TEntryKind::Missing;
    if (statfs(native.c_str(), &fs) != 0) return TEntryKind::Special;
    return kindOf(st, fs);
}

// errno for an entry of the kind that is no data file.
int refusal(TEntryKind kind) {
    return kind == TEntryKind::DataFolder ? EISDIR : EINVAL;
}

bool hasWildcard(WideStringView mask) {
    return mask.find_first_of(u"*?") != WideStringView::npos;
}

bool matchPlain(WideStringView name, WideStringView mask) {
    size_t n = 0, m = 0;
    size_t starMask = WideStringView::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() &&
                   (mask[m] == u'?' || WideUpperChar(mask[m]) == WideUpperChar(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != WideStringView::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

// days from 1970-01-01 of a civil date (proleptic Gregorian)
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

bool localTime(FileTime t, struct tm& out) {
    time_t secs = static_cast<time_t>(t >= 0 ? t / 1000000000 : (t - 999999999) / 1000000000);
    return localtime_r(&secs, &out) != nullptr;
}

} // namespace

double FileTimeToLocalDateTime(FileTime t) {
    struct tm lt {};
    if (!localTime(t, lt)) return 0;
    int64_t nanos = t % 1000000000;
    if (nanos < 0) nanos += 1000000000;
    // 25569 days lie between 1899-12-30 and 1970-01-01
    double days =
        static_cast<double>(daysFromCivil(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) + 25569);
    double secs = lt.tm_hour * 3600.0 + lt.tm_min * 60.0 + lt.tm_sec +
                  static_cast<double>(nanos / 1000000) / 1000.0;
    return days + secs / 86400.0;
}

int32_t FileTimeToDosDateTime(FileTime t) {
    struct tm lt {};
    if (!localTime(t, lt) || lt.tm_year < 80 || lt.tm_year > 207) return 0;
    uint32_t date =
        (static_cast<uint32_t>(lt.tm_year - 80) << 9) | ((lt.tm_mon + 1) << 5) | lt.tm_mday;
    uint32_t time = (lt.tm_hour << 11) | (lt.tm_min << 5) | (lt.tm_sec / 2);
    return static_cast<int32_t>((date << 16) | time);
}

WideString WideGetFullPathName(WideStringView path) {
    if (path.empty()) {
        errno = ENOENT;
        return WideString();
    }
    WideString full;
    if (path[0] != u'/') {
        std::vector<char> buf(4096);
        while (!getcwd(buf.data(), buf.size())) {
            if (errno != ERANGE) return WideString();
            buf.resize(buf.size() * 2);
        }
        full = NativeToWide(buf.data());
        full.push_back(u'/');
    }
    full += path;
    std::vector<WideStringView> parts;
    WideStringView rest(full);
    while (!rest.empty()) {
        size_t slash = rest.find(u'/');
        WideStringView part = rest.substr(0, slash);
        rest = slash == WideStringView::npos ? WideStringView() : rest.substr(slash + 1);
        if (part.empty() || part == u".") continue;
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    WideString out;
    for (WideStringView p : parts) {
        out.push_back(u'/');
        out += p;
    }
    if (out.empty() || path.back() == u'/') out.push_back(u'/');
    return out;
}

TEntryKind WideEntryKind(WideStringView name) {
    return kindOfPath(WideToNative(name));
}

bool IsDataFile(WideStringView name) {
    return WideEntryKind(name) == TEntryKind::DataFile;
}

bool IsDataFolder(WideStringView name) {
    return WideEntryKind(name) == TEntryKind::DataFolder;
}

int OpenDataFile(const AnsiString& native, int flags, unsigned mode) {
    const TEntryKind before = kindOfPath(native);
    if (before != TEntryKind::DataFile && before != TEntryKind::Missing) {
        errno = refusal(before);
        return -1;
    }
    // Without waiting: should a FIFO have taken the file's place meanwhile, the open
    // returns at once and the check below refuses it.
    const int fd = open(native.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
    if (fd < 0) return -1;
    struct stat st {};
    struct statfs fs {};
    const TEntryKind opened =
        fstat(fd, &st) == 0 && fstatfs(fd, &fs) == 0 ? kindOf(st, fs) : TEntryKind::Special;
    if (opened != TEntryKind::DataFile) {
        close(fd);
        errno = refusal(opened);
        return -1;
    }
    if (!(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int WideCreateFile(WideStringView name, uint32_t access, uint32_t creation) {
    int flags = 0;
    bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
    flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    switch (creation) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        errno = EINVAL;
        return -1;
    }
    return OpenDataFile(WideToNative(name), flags);
}

uint32_t WideGetFileAttributes(WideStringView name) {
    AnsiString native = WideToNative(name);
    struct stat st {};
    if (native.empty() || (stat(native.c_str(), &st) != 0 && lstat(native.c_str(), &st) != 0))
        return INVALID_FILE_ATTRIBUTES;
    return attributesOf(st.st_mode, lastComponent(name));
}

bool WideSetFileAttributes(WideStringView name, uint32_t attributes) {
    AnsiString native = WideToNative(name);
    struct stat st {};
    if (native.empty() || stat(native.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = (attributes & FILE_ATTRIBUTE_READONLY)
                        ? mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)
                        : ((mode & S_IWUSR) ? mode : mode | S_IWUSR);
    return wanted == mode || chmod(native.c_str(), wanted) == 0;
}

bool WideMatchesMask(WideStringView name, WideStringView mask) {
    if (matchPlain(name, mask)) return true;
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*")
        return matchPlain(name, mask.substr(0, mask.size() - 2));
    return false;
}

WideFindHandle WideFindFirstFile(WideStringView pattern, WideFindData& data) {
    size_t slash = pattern.rfind(u'/');
    WideStringView folder =
        slash == WideStringView::npos ? WideStringView() : pattern.substr(0, slash + 1);
    WideStringView mask = slash == WideStringView::npos ? pattern : pattern.substr(slash + 1);
    if (mask.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    AnsiString nativeFolder = folder.empty() ? AnsiString(".") : WideToNative(folder);
    auto state = std::make_unique<WideFindState>();
    if (!hasWildcard(mask)) {
        WideFindData one;
        if (!describe(AT_FDCWD, WideToNative(pattern), mask, one)) return nullptr;
        state->entries.push_back(std::move(one));
    } else {
        DIR* dir = opendir(nativeFolder.c_str());
        if (!dir) return nullptr;
        int fd = dirfd(dir);
        while (struct dirent* e = readdir(dir)) {
            AnsiString native = e->d_name;
            WideString name = NativeToWide(native);
            if (isDotName(name) || !WideMatchesMask(name, mask)) continue;
            WideFindData entry;
            if (describe(fd, native, name, entry)) state->entries.push_back(std::move(entry));
        }
        closedir(dir);
        std::vector<std::pair<WideString, size_t>> keys;
        keys.reserve(state->entries.size());
        for (size_t i = 0; i < state->entries.size(); ++i)
            keys.emplace_back(WideUpperCase(state->entries[i].name), i);
        // Names that differ only in case follow their own order, not the disk's.
        std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
            if (a.first != b.first) return a.first < b.first;
            return state->entries[a.second].name < state->entries[b.second].name;
        });
        std::vector<WideFindData> sorted;
        sorted.reserve(keys.size() + 2);
        // Windows lists "." and ".." first in every folder but a drive's root
        if (nativeFolder != "/") {
            for (WideStringView dot : {WideStringView(u"."), WideStringView(u"..")}) {
                WideFindData entry;
                if (WideMatchesMask(dot, mask) &&
                    describe(AT_FDCWD,
                             nativeFolder + (nativeFolder.back() == '/' ? "" : "/") + U8(dot), dot,
                             entry))
                    sorted.push_back(std::move(entry));
            }
        }
        for (auto& k : keys)
            sorted.push_back(std::move(state->entries[k.second]));
        state->entries = std::move(sorted);
    }
    if (state->entries.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    data = state->entries[0];
    state->next = 1;
    return state.release();
}

bool WideFindNextFile(WideFindHandle handle, WideFindData& data) {
    if (!handle) {
        errno = EBADF;
        return false;
    }
    if (handle->next >= handle->entries.size()) {
        errno = ENOENT;
        return false;
    }
    data = handle->entries[handle->next++];
    return true;
}

bool WideFindFileClose(WideFindHandle handle) {
    if (!handle) {
        errno = EBADF;
        return false;
    }
    delete handle;
    return true;
}

bool WideCreateDirectory(WideStringView name) {
    AnsiString native = WideToNative(name);
    return !native.empty() && mkdir(native.c_str(), 0777) == 0;
}

bool WideRemoveFile(WideStringView name) {
    AnsiString native = WideToNative(name);
    struct stat st {};
    if (native.empty() || lstat(native.c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        errno = EACCES; // Windows does not delete a read-only file
        return false;
    }
    return unlink(native.c_str()) == 0;
}

WideString WideModuleFileName() {
    return WideParamStr(0);
}
