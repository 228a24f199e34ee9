// Loaded into the real executable with LD_PRELOAD: deletes one file at the moment the
// program first opens another, as a second program would that removes a listed file
// between the listing and the run. DELETE_ON_OPEN_TRIGGER names the file whose first
// opening deletes DELETE_ON_OPEN_TARGET (both as the program spells them, full paths).
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<bool> deleted{false};

void deleteWhenTriggered(const char* path) {
    const char* trigger = std::getenv("DELETE_ON_OPEN_TRIGGER");
    const char* target = std::getenv("DELETE_ON_OPEN_TARGET");
    if (!path || !trigger || !target || std::strcmp(path, trigger) != 0) return;
    if (!deleted.exchange(true)) ::unlink(target);
}

template <class Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The mode argument, present when the flags create a file.
mode_t modeOf(int flags, va_list args) {
    const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    return creates ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

using OpenFunction = int (*)(const char*, int, ...);
using OpenAtFunction = int (*)(int, const char*, int, ...);

} // namespace

// Each wrapper reads its mode, deletes when triggered and calls the C library's function.
#define QUORBEL_WRAP(NAME, TYPE, PARAMETERS, ARGUMENTS)                                            \
    extern "C" int NAME PARAMETERS {                                                               \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = modeOf(flags, args);                                                   \
        va_end(args);                                                                              \
        deleteWhenTriggered(path);                                                                 \
        static const TYPE real = next<TYPE>(#NAME);                                                \
        return real ARGUMENTS;                                                                     \
    }

QUORBEL_WRAP(open, OpenFunction, (const char* path, int flags, ...), (path, flags, mode))
QUORBEL_WRAP(open64, OpenFunction, (const char* path, int flags, ...), (path, flags, mode))
QUORBEL_WRAP(openat, OpenAtFunction, (int folder, const char* path, int flags, ...),
             (folder, path, flags, mode))
QUORBEL_WRAP(openat64, OpenAtFunction, (int folder, const char* path, int flags, ...),
             (folder, path, flags, mode))

// The checked forms that fortified callers use.
extern "C" int __open_2(const char* path, int flags) {
    return open(path, flags);
}
extern "C" int __open64_2(const char* path, int flags) {
    return open64(path, flags);
}
extern "C" int __openat_2(int folder, const char* path, int flags) {
    return openat(folder, path, flags);
}
extern "C" int __openat64_2(int folder, const char* path, int flags) {
    return openat64(folder, path, flags);
}
