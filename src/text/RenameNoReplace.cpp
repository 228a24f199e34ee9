#include "text/RenameNoReplace.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include "text/UCodeSysUtils.h"

bool WideRenameByLink(WideStringView from, WideStringView to) {
    const AnsiString source = WideToNative(from);
    const AnsiString target = WideToNative(to);
    if (::link(source.c_str(), target.c_str()) != 0) return false;
    if (::unlink(source.c_str()) != 0) {
        const int error = errno;
        ::unlink(target.c_str()); // the file keeps its old name only
        errno = error;
        return false;
    }
    return true;
}

bool WideRenameNoReplace(WideStringView from, WideStringView to) {
    const AnsiString source = WideToNative(from);
    const AnsiString target = WideToNative(to);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // Only a file system (or kernel) without the flag goes the other way.
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
    return WideRenameByLink(from, to);
}
