#include "desktop/FolderTreeWatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/UCodeSysUtils.h"

namespace {

constexpr uint32_t WatchedChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                    IN_ATTRIB | IN_CLOSE_WRITE | IN_ONLYDIR | IN_DONT_FOLLOW |
                                    IN_EXCL_UNLINK;
// How long the first half of a rename waits for its second half in a later read.
constexpr int MovedOutDelayMs = 30;

std::string joinPath(const std::string& Folder, const std::string& Name) {
    return Folder == "/" ? "/" + Name : Folder + "/" + Name;
}

std::string withoutTrailingSlash(std::string Path) {
    while (Path.size() > 1 && Path.back() == '/')
        Path.pop_back();
    return Path;
}

bool isFolderNoLink(const std::string& Path) {
    struct stat st {};
    return lstat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Path itself or anything below it.
bool isInTree(const std::string& Path, const std::string& Folder) {
    return Path.compare(0, Folder.size(), Folder) == 0 &&
           (Path.size() == Folder.size() || Path[Folder.size()] == '/' || Folder == "/");
}

} // namespace

TFolderTreeWatcher::TFolderTreeWatcher(const TWideStrArray& Roots, TChangeHandler OnChange)
    : FOnChange(std::move(OnChange)) {
    for (const WideString& r : Roots) {
        std::string root = withoutTrailingSlash(WideToNative(r));
        if (!root.empty() && root[0] == '/' && isFolderNoLink(root)) FRoots.push_back(root);
    }
    if (FRoots.empty()) return;
    FFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FFd < 0) return;
    for (const std::string& root : FRoots)
        AddTree(root, false);
    FNotifier = std::make_unique<QSocketNotifier>(FFd, QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
    FMovedOutTimer.setSingleShot(true);
    QObject::connect(&FMovedOutTimer, &QTimer::timeout, [this] { FlushMovedOut(); });
}

TFolderTreeWatcher::~TFolderTreeWatcher() {
    FMovedOutTimer.stop();
    FNotifier.reset();
    if (FFd >= 0) close(FFd);
}

void TFolderTreeWatcher::AddTree(const std::string& Folder, bool ReportEntries) {
    int wd = inotify_add_watch(FFd, Folder.c_str(), WatchedChanges);
    if (wd < 0) return; // gone again, or the user's watch limit is reached
    auto known = FPathOfWatch.find(wd);
    if (known != FPathOfWatch.end() && known->second != Folder)
        return; // the same folder seen twice (a bind mount): no endless descent
    FPathOfWatch[wd] = Folder;
    FWatchOfPath[Folder] = wd;
    DIR* dir = opendir(Folder.c_str());
    if (!dir) return;
    std::vector<std::pair<std::string, bool>> entries;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string path = joinPath(Folder, name);
        bool folder = e->d_type == DT_DIR || (e->d_type == DT_UNKNOWN && isFolderNoLink(path));
        entries.emplace_back(path, folder);
    }
    closedir(dir);
    for (const auto& [path, folder] : entries) {
        if (ReportEntries) Report(TTreeChange::Created, folder, path);
        if (folder) AddTree(path, ReportEntries);
    }
}

void TFolderTreeWatcher::ForgetTree(const std::string& Folder) {
    for (auto it = FWatchOfPath.lower_bound(Folder); it != FWatchOfPath.end();) {
        if (!isInTree(it->first, Folder)) {
            if (it->first.compare(0, Folder.size(), Folder) != 0) break;
            ++it;
            continue;
        }
        inotify_rm_watch(FFd, it->second);
        FPathOfWatch.erase(it->second);
        it = FWatchOfPath.erase(it);
    }
}

void TFolderTreeWatcher::RenameTree(const std::string& From, const std::string& To) {
    std::vector<std::pair<std::string, int>> moved;
    for (auto it = FWatchOfPath.lower_bound(From); it != FWatchOfPath.end();) {
        if (it->first.compare(0, From.size(), From) != 0) break;
        if (!isInTree(it->first, From)) {
            ++it;
            continue;
        }
        moved.emplace_back(To + it->first.substr(From.size()), it->second);
        it = FWatchOfPath.erase(it);
    }
    for (const auto& [path, wd] : moved) {
        FWatchOfPath[path] = wd;
        FPathOfWatch[wd] = path;
    }
}

void TFolderTreeWatcher::ReadEvents() {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        ssize_t n = read(FFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (char* p = buffer; p < buffer + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            HandleEvent(e->wd, e->mask, e->cookie, e->len ? std::string(e->name) : std::string());
            p += sizeof(inotify_event) + e->len;
        }
    }
    if (FMovedFrom) FMovedOutTimer.start(MovedOutDelayMs);
}

void TFolderTreeWatcher::HandleEvent(int Wd, uint32_t Mask, uint32_t Cookie,
                                     const std::string& Name) {
    if (FMovedFrom && !((Mask & IN_MOVED_TO) && Cookie == FMovedFrom->Cookie)) FlushMovedOut();
    if (Mask & IN_Q_OVERFLOW) {
        for (const std::string& root : FRoots)
            Report(TTreeChange::Overflow, true, root);
        return;
    }
    auto watch = FPathOfWatch.find(Wd);
    if (watch == FPathOfWatch.end()) return;
    if (Mask & IN_IGNORED) {
        // The name may already belong to a folder renamed over this one.
        auto byPath = FWatchOfPath.find(watch->second);
        if (byPath != FWatchOfPath.end() && byPath->second == Wd) FWatchOfPath.erase(byPath);
        FPathOfWatch.erase(watch);
        return;
    }
    if (Name.empty()) return; // the folder itself: its parent reports it
    const std::string path = joinPath(watch->second, Name);
    const bool folder = (Mask & IN_ISDIR) != 0;
    if (Mask & IN_MOVED_FROM) {
        FMovedFrom = std::make_unique<MovedFrom>(MovedFrom{Cookie, path, folder});
    } else if (Mask & IN_MOVED_TO) {
        if (FMovedFrom) {
            std::unique_ptr<MovedFrom> from = std::move(FMovedFrom);
            FMovedOutTimer.stop();
            if (folder) RenameTree(from->Path, path);
            Report(TTreeChange::Renamed, folder, from->Path, path);
        } else {
            Report(TTreeChange::Created, folder, path);
            if (folder) AddTree(path, true);
        }
    } else if (Mask & IN_CREATE) {
        Report(TTreeChange::Created, folder, path);
        if (folder) AddTree(path, true);
    } else if (Mask & IN_DELETE) {
        Report(TTreeChange::Deleted, folder, path);
    } else if (Mask & IN_ATTRIB) {
        Report(TTreeChange::Attributes, folder, path);
    } else if (Mask & IN_CLOSE_WRITE) {
        Report(TTreeChange::Written, folder, path);
    }
}

void TFolderTreeWatcher::FlushMovedOut() {
    if (!FMovedFrom) return;
    std::unique_ptr<MovedFrom> from = std::move(FMovedFrom);
    // Its watches would go on reporting from wherever it went.
    if (from->Folder) ForgetTree(from->Path);
    Report(TTreeChange::Deleted, from->Folder, from->Path);
}

void TFolderTreeWatcher::Report(TTreeChange Change, bool Folder, const std::string& Path1,
                                const std::string& Path2) {
    FOnChange(Change, Folder, NativeToWide(Path1),
              Path2.empty() ? WideString() : NativeToWide(Path2));
}
