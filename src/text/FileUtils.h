// Routines over wide file names: path parts and checks, existence tests, folder
// creation, file search, file information for the file list, file size text, the
// text-file test and path shortening. Paths are POSIX paths: "/" separates the
// folders and a path is absolute when it begins with "/". (The routine names keep
// their historic "Backslash" wording; the delimiter they handle is "/".)
#pragma once

#include <cstdint>
#include <functional>

#include "text/WideFileSystem.h"
#include "text/WideTypes.h"

class TUCodeStrings;

// ---- Path text ----

WideString WideIncludeTrailingBackslash(WideStringView S); // adds "/" unless S ends in one
WideString WideExcludeTrailingBackslash(WideStringView S); // removes one final "/"
// The character at the 1-based Index is "/".
bool WideIsPathDelimiter(WideStringView S, int Index);
// The character at the 1-based Index is one of Delimiters.
bool WideIsDelimiter(WideStringView Delimiters, WideStringView S, int Index);
// The 1-based index of the last character of S that is one of Delimiters; 0 when none.
int WideLastDelimiter(WideStringView Delimiters, WideStringView S);

// Up to and including the last "/".
WideString WideExtractFilePath(WideStringView FileName);
// The same without the final "/", except for the root "/" (a "/" after a "/" stays).
WideString WideExtractFileDir(WideStringView FileName);
// After the last "/".
WideString WideExtractFileName(WideStringView FileName);
// From the last "." after the last "/", the dot included; empty when there is none.
WideString WideExtractFileExt(WideStringView FileName);
// FileName up to its extension, followed by Ext (appended when it has no extension).
WideString WideChangeFileExt(WideStringView FileName, WideStringView Ext);
// The absolute path ("." and ".." resolved in the text).
WideString WideExpandFileName(WideStringView FileName);

// ---- File system ----

// A new, empty file for reading and writing (an existing one is emptied); -1 on failure.
int WideFileCreate(WideStringView FileName);
// An existing file opened with the access of Mode (fmOpenRead, fmOpenWrite,
// fmOpenReadWrite; sharing bits are accepted and have no effect); -1 on failure.
int WideFileOpen(WideStringView FileName, uint16_t Mode);

bool WideFileExists(WideStringView FileName);      // an entry that is no folder
bool WideDirectoryExists(WideStringView FileName); // an entry that is a folder
int32_t WideFileGetAttr(WideStringView FileName);  // -1 when missing
bool WideFileSetAttr(WideStringView FileName, int32_t Attr);
bool WideDeleteFile(WideStringView FileName);

// Creates Dir and every missing folder above it; true when it exists afterwards.
// A relative Dir is taken from the current folder. An empty Dir raises
// EUCodeGeneralError "Unable to create directory".
bool WideForceDirectories(WideStringView Dir);

// Attribute bits a search may ask for: entries with HIDDEN, SYSTEM or DIRECTORY
// are found only when Attr holds that bit.
constexpr int32_t faReadOnly = 0x01;
constexpr int32_t faHidden = 0x02;
constexpr int32_t faSysFile = 0x04;
constexpr int32_t faVolumeID = 0x08;
constexpr int32_t faDirectory = 0x10;
constexpr int32_t faArchive = 0x20;
constexpr int32_t faAnyFile = 0x3F;

// The wide search record.
struct TSearchRecW {
    int32_t Time = 0; // DOS date-time of the last write, local
    int64_t Size = 0;
    int32_t Attr = 0;
    WideString Name;
    int32_t ExcludeAttr = 0;
    WideFindHandle FindHandle = nullptr;
    WideFindData FindData;
};

// Path is "folder/mask" with Windows wildcards; entries come in the order of their
// upper-cased names. Returns 0, or the system error (errno) when nothing is found.
int WideFindFirst(WideStringView Path, int32_t Attr, TSearchRecW& F);
int WideFindNext(TSearchRecW& F);
void WideFindClose(TSearchRecW& F);

// The system's message for an error code, trimmed; "Unspecified error (<code>) from
// system." for codes it does not know.
WideString WideSysErrorMessage(int Code);
// The executable's absolute path.
WideString WideGetModuleFileName();

// ---- File information ----

// What the file list shows of a file.
struct TDateiInfoW {
    double Created = 0, Accessed = 0, Written = 0; // local date-times, days since 1899-12-30
    int64_t Size = -1;                             // -1 when the file was not found
    bool ReadOnly = false, Hidden = false, SystemFile = false, VolumeId = false, Directory = false,
         Archive = false, AllAttributes = false;
    WideString TypeName;    // the type description of the file, at most 80 characters
    WideString ProgramPath; // the program that opens the file; empty when none is known
    uintptr_t IconHandle = 0;
    int32_t IconIndex = 0;
};

// The language of the type names that GetDateiInfoW and FileTypeNameW give: a language
// code such as "de" or "en"; empty (the start) for the user's locale. A type without a
// name in that language has its English name.
void SetFileTypeNameLanguage(WideStringView Language);
// The type description of the file FileName, at most 80 characters (TDateiInfoW.TypeName).
WideString FileTypeNameW(WideStringView FileName);

// Fills Info for FileName and returns true. A missing file gets size -1, every flag
// false and zero times. Only a data file's contents are looked at for its type name.
bool GetDateiInfoW(WideStringView FileName, TDateiInfoW& Info);
// The MIME type name of a file ("text/plain"): by its name and, for a data file only, its
// first bytes.
WideString FileMimeTypeName(WideStringView FileName);
// The size of the entry FileName; -1 when there is none.
int64_t GetFileSizeW(WideStringView FileName);

// "999 Byte", "1.500 KB", "2.000 MB", ... in steps of 1000.
AnsiString FormatFileSize(int64_t Size);

// True when the file holds no byte below 32 but TAB, LF, CR and 0x1A (an empty file
// is text); false when it is missing, cannot be read or is no data file (a pipe, a
// device, a file of /proc: WideFileSystem.h). The 8-bit name is in the ANSI code page.
bool IsTextFileA(const AnsiString& FileName);
bool IsTextFileW(WideStringView FileName);

// Adds to List the files of Folder whose names end in one of Masks (each mask in
// turn, in name order; an empty mask takes every file), as Folder + "/" + name.
// With Recursive the subfolders come first, each searched the same way. Only data files
// are listed and only data folders searched (WideFileSystem.h): a FIFO, a device or a
// link that leads nowhere is left out, and /proc or /sys are never searched.
void FindFilesW(TUCodeStrings& List, WideStringView Folder, const TWideStrArray& Masks,
                bool Recursive);

// ---- Path checks and display ----

// An absolute path with no empty folder name (a final "/" is allowed) and no name
// holding U+0000 or any of \ : ? > | < * ".
bool IsValidPathW(WideStringView Path);
// A name that stands for one file inside a folder: not empty, not "." or "..", and without
// "/" or U+0000 (a name the user types before it is saved under).
bool IsPlainFileNameW(WideStringView Name);

// The width of a text as it would be drawn (pixels).
using TTextWidthFunc = std::function<int(WideStringView)>;
// Path shortened to MaxWidth by replacing its folders from the left by "...": the
// result keeps the file name whole, which is what remains when nothing else fits.
WideString ShortenPathW(WideStringView Path, const TTextWidthFunc& TextWidth, int MaxWidth);
