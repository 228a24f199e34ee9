// FolderTreeWatcher: the changes below some folders, recursively, from inotify,
// read by a socket notifier on the GUI thread.
//
// A folder that appears (created or moved in) is watched at once and then scanned,
// so files created in it before its watch existed are reported as created too. A
// folder renamed inside the tree keeps its watches under the new name. A rename
// inside the tree is one change with both names; a move out of the tree is a
// deletion, a move into it a creation.
#pragma once

#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "text/WideTypes.h"

class QSocketNotifier;

enum class TTreeChange {
    Created,    // created or moved in
    Deleted,    // deleted or moved out
    Renamed,    // moved inside the tree: Path1 old, Path2 new
    Attributes, // permissions, owner, times
    Written,    // closed after writing
    Overflow    // events were lost: Path1 is a watched root, read it again
};

class TFolderTreeWatcher {
public:
    using TChangeHandler = std::function<void(TTreeChange Change, bool Folder,
                                              const WideString& Path1, const WideString& Path2)>;
    // Roots that are no folders are left out; Handle() is -1 when nothing is watched.
    TFolderTreeWatcher(const TWideStrArray& Roots, TChangeHandler OnChange);
    ~TFolderTreeWatcher();
    TFolderTreeWatcher(const TFolderTreeWatcher&) = delete;
    TFolderTreeWatcher& operator=(const TFolderTreeWatcher&) = delete;

    int Handle() const { return FFd; }
    int WatchCount() const { return int(FPathOfWatch.size()); }

private:
    struct MovedFrom {
        uint32_t Cookie = 0;
        std::string Path;
        bool Folder = false;
    };
    void ReadEvents();
    void HandleEvent(int Wd, uint32_t Mask, uint32_t Cookie, const std::string& Name);
    // Watches Folder and its subfolders; with Report every entry found is reported
    // as created.
    void AddTree(const std::string& Folder, bool Report);
    void ForgetTree(const std::string& Folder);
    void RenameTree(const std::string& From, const std::string& To);
    void FlushMovedOut();
    void Report(TTreeChange Change, bool Folder, const std::string& Path1,
                const std::string& Path2 = std::string());

    TChangeHandler FOnChange;
    std::vector<std::string> FRoots;
    int FFd = -1;
    std::unique_ptr<QSocketNotifier> FNotifier;
    std::unordered_map<int, std::string> FPathOfWatch;
    std::map<std::string, int> FWatchOfPath;
    // The first half of a rename, until its second half comes (or does not: moved out).
    std::unique_ptr<MovedFrom> FMovedFrom;
    QTimer FMovedOutTimer;
};
