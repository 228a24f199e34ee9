// Replacing a file without ever leaving a half-written one behind: the bytes go to a
// temporary file in the target's folder, which is flushed to disk and then renamed over
// the target. A reader sees either the old file or the complete new one.
// The temporary has no name while it is written (O_TMPFILE, where the file system has it);
// it is named "." + the target's name + ".quorbel~" + 6 letters or digits just before the
// rename. A save killed in that moment (or on a file system without unnamed files) leaves
// it behind; the next save into that folder removes it.
// Only a write that replaces an existing file waits for the disk: a new file has no older
// content to lose, and a batch run writes thousands of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/WideTypes.h"

// A writer for one target. The constructor resolves a symbolic link to the file it points
// to (so the link survives and its target gets the new content) and creates the temporary
// file; Write appends bytes; Commit makes the new content the target's. A writer that is
// destroyed without a successful Commit removes its temporary and leaves the target alone.
//
// The new file keeps the permission bits (and, where the process may, the owner) of the
// file it replaces; a new file gets the usual 0666 less the umask. A file the process may
// write in a folder where it may not create files is rewritten in place instead (the only
// way left to save it): its bytes are held until Commit, which reserves the new size first
// (posix_fallocate; when that fails the save fails and the file is untouched), then writes,
// cuts the old length and syncs. Only a crash during that write leaves a mix.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const std::string& path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    bool IsOpen() const { return FHandle >= 0; }
    bool Write(const void* data, std::size_t size);
    bool Commit();
    void Discard();

    // The file that is (or would be) replaced, with symbolic links resolved.
    const std::string& TargetPath() const { return FTarget; }
    // errno and the system's message of the first failure; 0 and "" while all went well.
    int ErrorCode() const { return FError; }
    const std::string& ErrorText() const { return FErrorText; }

private:
    bool Fail(int error);
    // Creates the temporary in `folder`; 0 or an errno value.
    int OpenTemporary(const std::string& folder);
    // Gives the unnamed temporary a name beside the target.
    bool NameTemporary();
    bool CommitInPlace();

    std::string FTarget;
    std::string FTemporary;       // the temporary's name, once it has one
    std::string FTemporaryPrefix; // its name without the random ending
    std::string FPending;         // what an in-place rewrite will write at Commit
    int FHandle = -1;
    bool FUnnamed = false; // the temporary has no name yet (O_TMPFILE)
    bool FInPlace = false;
    int64_t FOldSize = 0;   // the length of a file rewritten in place
    bool FReplaces = false; // an existing file is replaced
    uint64_t FWritten = 0;
    int FError = 0;
    std::string FErrorText;
};

// Writes all of `bytes` to `path` through a TSafeFileWriter. On failure returns false, puts
// the system's message into *errorText (when given) and leaves an existing file untouched.
bool SafeFileWrite(const std::string& path, std::string_view bytes,
                   std::string* errorText = nullptr);
bool SafeFileWrite(WideStringView path, std::string_view bytes, std::string* errorText = nullptr);

// Makes a written file durable: flushes `path` and then its folder (so that its name is on
// the disk too) to disk. Before a source is deleted on the strength of its output, the
// output must be durable, or a power cut may leave neither. False with errno's message in
// *errorText (when given) on failure.
bool SyncFileAndFolder(const std::string& path, std::string* errorText = nullptr);

// The file-system form of a wide path: UTF-8, except that the units U+DC80..U+DCFF by which
// the folder listing gives bytes that are no UTF-8 become those bytes again (WideToNative).
std::string NativePath(WideStringView path);
