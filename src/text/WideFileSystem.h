// Wide wrappers over the POSIX file calls, in the shape of the Windows calls the
// program is written against: full path, create/open, find first/next/close with
// Windows wildcard rules, attributes synthesised from stat, create directory,
// delete, module file name. Failures are reported as the Windows calls report
// them (-1, false, INVALID_FILE_ATTRIBUTES, nullptr) with errno set; nothing raises.
#pragma once

#include <cstdint>
#include <memory>

#include "text/WideTypes.h"

// Attribute bits as Windows reports them.
constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Access and creation modes of WideCreateFile.
constexpr uint32_t GENERIC_READ = 0x80000000;
constexpr uint32_t GENERIC_WRITE = 0x40000000;
constexpr uint32_t CREATE_NEW = 1;
constexpr uint32_t CREATE_ALWAYS = 2;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t OPEN_ALWAYS = 4;
constexpr uint32_t TRUNCATE_EXISTING = 5;

// A file time: nanoseconds since 1970-01-01 00:00 UTC.
using FileTime = int64_t;

// Local date-time (days since 1899-12-30 as a double) and DOS date-time
// (date in the high 16 bits, time in the low 16 bits) of a file time.
double FileTimeToLocalDateTime(FileTime t);
int32_t FileTimeToDosDateTime(FileTime t);

// One entry of a find. Creation time is the birth time where the file system
// has one, else the write time.
struct WideFindData {
    uint32_t attributes = 0;
    FileTime creationTime = 0;
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
    int64_t size = 0;
    WideString name; // the entry's name, without its folder
};

// The absolute form of a path: relative paths are taken from the current folder;
// "." and ".." components and repeated "/" are resolved in the text (the disk is
// not consulted); a final "/" is kept.
WideString WideGetFullPathName(WideStringView path);

// ---- Data files ----
// The program reads and writes data files only: regular files of a file system that
// stores data. A FIFO, a socket or a device, and every entry of the kernel's own file
// systems (/proc, /sys, debugfs, tracefs, ...), is left alone: reading one may wait for
// ever (a FIFO no one writes, /proc/kmsg), never end (/dev/zero) or change the system
// (/proc/sys). Every listing, check and open of a file's contents asks here.
enum class TEntryKind {
    Missing,    // nothing there (a link that leads nowhere included)
    DataFile,   // a regular file of a file system that stores data
    DataFolder, // a folder of such a file system
    Special,    // anything else: FIFO, socket, device, an entry of /proc or /sys
};
// What name is, links followed.
TEntryKind WideEntryKind(WideStringView name);
bool IsDataFile(WideStringView name);
bool IsDataFolder(WideStringView name);

// open(2) of a data file (O_CLOEXEC and O_NOCTTY added), never of anything else: the
// entry is looked at before the open, so that no FIFO or device is ever opened, and the
// open file again, so that an entry swapped in between is not used either. -1 on
// failure, errno EISDIR for a folder and EINVAL for any other entry that is no data
// file. With O_CREAT a missing file is created.
int OpenDataFile(const AnsiString& native, int flags, unsigned mode = 0666);

// Opens or creates a data file (above) as CreateFileW does: access is GENERIC_READ
// and/or GENERIC_WRITE, creation one of CREATE_NEW .. TRUNCATE_EXISTING. Returns a
// file descriptor, -1 on failure.
int WideCreateFile(WideStringView name, uint32_t access, uint32_t creation);

// The attributes Windows would report: DIRECTORY for folders, READONLY when the
// owner may not write, HIDDEN for names beginning with ".", ARCHIVE for regular
// files, NORMAL for anything else that has no other bit. INVALID_FILE_ATTRIBUTES
// when the entry does not exist.
uint32_t WideGetFileAttributes(WideStringView name);
// READONLY removes every write permission, its absence gives the owner write
// permission back; the other bits have no counterpart and are accepted as they are.
bool WideSetFileAttributes(WideStringView name, uint32_t attributes);

// Windows wildcard match of one name: case-insensitive per UTF-16 unit, "*" any
// run, "?" exactly one unit, "*.*" every name, and a mask ending in ".*" also
// matches the name without that ending ("a.*" matches "a").
bool WideMatchesMask(WideStringView name, WideStringView mask);

// A search: pattern is "folder/mask" (no "/": the current folder). A mask without
// wildcards names one entry exactly. Entries come in the ordinal order of their
// upper-cased names, "." and ".." first (not for the root folder), as Windows
// lists them for a mask that matches them.
struct WideFindState;
using WideFindHandle = WideFindState*;
WideFindHandle WideFindFirstFile(WideStringView pattern, WideFindData& data);
bool WideFindNextFile(WideFindHandle handle, WideFindData& data);
bool WideFindFileClose(WideFindHandle handle);

// Creates one folder; false when it exists or its parent does not.
bool WideCreateDirectory(WideStringView name);
// Deletes a file; as on Windows a folder or a read-only file is not deleted.
bool WideRemoveFile(WideStringView name);
// The executable's absolute path.
WideString WideModuleFileName();
