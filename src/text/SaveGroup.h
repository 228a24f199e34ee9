// One wait for the disk for a whole group of saves. A save that replaces an existing file
// must have its new bytes on the disk before the rename; done one file at a time, a run over
// thousands of files waits for the disk thousands of times. While a TSaveGroup lives on a
// thread, the safe writers of that thread that replace a file hand their finished, named
// and still locked temporary to the group instead; the group starts the writing of each
// as it comes, flushes each file system they are on once, and only then renames each
// over its target. A kill at any moment leaves every target old or new; temporaries left
// named go with the next save into their folder.
//
// The targets of a group keep their old content until the group commits: a writer for a
// target still waiting in the group, and SyncFileAndFolder, commit the group first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TSaveGroup {
public:
    struct Failure {
        std::string target; // the file that kept its old content
        std::string error;  // the system's message
    };

    // Commits by itself once `maxFiles` saves wait.
    explicit TSaveGroup(std::size_t maxFiles = 256);
    // Commits what waits; failures not taken by then are lost with the group.
    ~TSaveGroup();
    TSaveGroup(const TSaveGroup&) = delete;
    TSaveGroup& operator=(const TSaveGroup&) = delete;

    // The group of the calling thread, or null.
    static TSaveGroup* Current();
    // Only the saves made while a Joining lives wait in the thread's group; the others
    // (a log rewritten line by line, settings) commit at once.
    class Joining {
    public:
        Joining();
        ~Joining();
        Joining(const Joining&) = delete;
        Joining& operator=(const Joining&) = delete;

    private:
        TSaveGroup* FGroup;
    };
    bool Joined() const { return FJoined; }

    // Takes a temporary (open, locked, named `temporary`) to become `target`.
    void Add(int handle, std::string temporary, std::string target);
    bool Holds(const std::string& target) const;
    // The identity (device, inode) `path` will have once its waiting save is renamed over
    // it; false when no save waits for the file `path` names now.
    bool WaitingIdentity(const std::string& path, uint64_t& device, uint64_t& inode) const;
    // True when a commit so far failed for `target`; its failure is then taken.
    bool TakeFailure(const std::string& target);
    // Flushes every waiting temporary, then renames each whose flush succeeded.
    void Commit();
    // The saves that failed in the commits so far, each once.
    std::vector<Failure> TakeFailures();

private:
    struct Waiting {
        int handle;
        std::string temporary, target;
        uint64_t device;              // the file system it is on
        uint64_t oldDevice, oldInode; // the file it replaces
    };
    std::vector<Waiting> FWaiting;
    std::vector<Failure> FFailures;
    std::size_t FMaxFiles;
    TSaveGroup* FOuter;
    bool FJoined = false;
};
