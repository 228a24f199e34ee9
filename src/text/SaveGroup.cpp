#include "text/SaveGroup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
thread_local TSaveGroup* CurrentGroup = nullptr;
}

TSaveGroup::TSaveGroup(std::size_t maxFiles)
    : FMaxFiles(maxFiles > 0 ? maxFiles : 1), FOuter(CurrentGroup) {
    CurrentGroup = this;
}

TSaveGroup::~TSaveGroup() {
    Commit();
    CurrentGroup = FOuter;
}

TSaveGroup* TSaveGroup::Current() {
    return CurrentGroup;
}

TSaveGroup::Joining::Joining() : FGroup(CurrentGroup) {
    if (FGroup) FGroup->FJoined = true;
}

TSaveGroup::Joining::~Joining() {
    if (FGroup) FGroup->FJoined = false;
}

void TSaveGroup::Add(int handle, std::string temporary, std::string target) {
    struct stat old {
    }, held{};
    stat(target.c_str(), &old);
    fstat(handle, &held);
    // The disk starts on this file now, while the next ones are made; the commit then
    // mostly waits for what is already on its way.
    sync_file_range(handle, 0, 0, SYNC_FILE_RANGE_WRITE);
    FWaiting.push_back({handle, std::move(temporary), std::move(target),
                        static_cast<uint64_t>(held.st_dev), static_cast<uint64_t>(old.st_dev),
                        static_cast<uint64_t>(old.st_ino)});
    if (FWaiting.size() >= FMaxFiles) Commit();
}

bool TSaveGroup::Holds(const std::string& target) const {
    for (const Waiting& w : FWaiting)
        if (w.target == target) return true;
    return false;
}

bool TSaveGroup::WaitingIdentity(const std::string& path, uint64_t& device, uint64_t& inode) const {
    struct stat now {};
    if (stat(path.c_str(), &now) != 0) return false;
    // The latest save of that file decides.
    for (auto w = FWaiting.rbegin(); w != FWaiting.rend(); ++w) {
        struct stat fresh {};
        if (w->oldDevice != static_cast<uint64_t>(now.st_dev) ||
            w->oldInode != static_cast<uint64_t>(now.st_ino) || fstat(w->handle, &fresh) != 0)
            continue;
        device = static_cast<uint64_t>(fresh.st_dev);
        inode = static_cast<uint64_t>(fresh.st_ino);
        return true;
    }
    return false;
}

bool TSaveGroup::TakeFailure(const std::string& target) {
    for (auto f = FFailures.begin(); f != FFailures.end(); ++f)
        if (f->target == target) {
            FFailures.erase(f);
            return true;
        }
    return false;
}

void TSaveGroup::Commit() {
    std::vector<Waiting> waiting;
    waiting.swap(FWaiting);
    // One flush of each file system the group wrote to: a flush per file would make the
    // disk empty its cache once per file. Where that fails, each file is flushed alone.
    std::vector<int> errors(waiting.size(), 0);
    std::vector<uint64_t> flushed;
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        const uint64_t device = waiting[i].device;
        if (std::find(flushed.begin(), flushed.end(), device) != flushed.end()) continue;
        if (syncfs(waiting[i].handle) == 0) {
            flushed.push_back(device);
            continue;
        }
        for (std::size_t j = i; j < waiting.size(); ++j)
            if (waiting[j].device == device && fdatasync(waiting[j].handle) != 0) errors[j] = errno;
        flushed.push_back(device);
    }
    // In the order they were saved: two saves of one target end with the later one.
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        Waiting& w = waiting[i];
        if (errors[i] == 0 && rename(w.temporary.c_str(), w.target.c_str()) != 0) errors[i] = errno;
        // Closed only now: the lock keeps cleaners of other saves away from the temporary.
        if (errors[i] != 0) unlink(w.temporary.c_str());
        close(w.handle);
        if (errors[i] != 0) FFailures.push_back({w.target, std::strerror(errors[i])});
    }
}

std::vector<TSaveGroup::Failure> TSaveGroup::TakeFailures() {
    std::vector<Failure> failures;
    failures.swap(FFailures);
    return failures;
}
