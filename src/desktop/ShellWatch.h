// TShellWatch: change notifications for files and folders, as events with the
// affected paths. The owner must be a windowed control: the component hooks its
// window procedure, and every change reaches it as the message MessageNo (the event
// code in lParam), so the events run on the GUI thread from the message loop.
//
// Linux has no "every drive": WatchRoots names the folders watched, recursively
// (HardDriveOnly has no effect). Drive, media, share, server, association and image
// events never fire here. Events, WatchRoots and MessageNo are read by StartWatching
// only: call it again after changing them.
//
// While the owner is disabled (a long loop runs) notifications are held and come
// in order once it is enabled again; after StopWatching queued ones are dropped.
// A notification equal to the one passed on last (event and both paths, exactly)
// within one second is dropped: one change often gives several.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "platform/Classes.h"
#include "platform/Messages.h"

class TWinControl;
class TFolderTreeWatcher;
enum class TTreeChange;

// Event codes (the shell's numbers).
enum : uint32_t {
    SHCNE_RENAMEITEM = 0x00000001,
    SHCNE_CREATE = 0x00000002,
    SHCNE_DELETE = 0x00000004,
    SHCNE_MKDIR = 0x00000008,
    SHCNE_RMDIR = 0x00000010,
    SHCNE_MEDIAINSERTED = 0x00000020,
    SHCNE_MEDIAREMOVED = 0x00000040,
    SHCNE_DRIVEREMOVED = 0x00000080,
    SHCNE_DRIVEADD = 0x00000100,
    SHCNE_NETSHARE = 0x00000200,
    SHCNE_NETUNSHARE = 0x00000400,
    SHCNE_ATTRIBUTES = 0x00000800,
    SHCNE_UPDATEDIR = 0x00001000,
    SHCNE_UPDATEITEM = 0x00002000,
    SHCNE_SERVERDISCONNECT = 0x00004000,
    SHCNE_UPDATEIMAGE = 0x00008000,
    SHCNE_DRIVEADDGUI = 0x00010000,
    SHCNE_RENAMEFOLDER = 0x00020000,
    SHCNE_ASSOCCHANGED = 0x08000000,
};

using TTEventOne = std::function<void(TObject* Sender, uint32_t Flags, const WideString& Path1)>;
using TTEventTwo = std::function<void(TObject* Sender, uint32_t Flags, const WideString& Path1,
                                      const WideString& Path2)>;
using TEndSessionQueryEvent = std::function<void(TObject* Sender, bool& CanEndSession)>;

class TShellWatch : public TComponent {
public:
    // An owner that is no windowed control raises EInvalidCast.
    explicit TShellWatch(TComponent* AOwner);
    ~TShellWatch() override;

    bool HardDriveOnly = true;
    int MessageNo() const { return FMessageNo; }
    // Values below 1024 (WM_USER) are ignored.
    void SetMessageNo(int Value);
    // The folders watched with all their subfolders.
    TWideStrArray WatchRoots;

    TTEventTwo OnAssocChanged;
    TTEventOne OnAttributes, OnCreate, OnDelete, OnDriveAdd, OnDriveAddGUI, OnDriveRemoved,
        OnMediaInserted, OnMediaRemoved, OnMkDir, OnNetShare, OnNetUnshare;
    TTEventTwo OnRenameFolder, OnRenameItem;
    TTEventOne OnRmDir, OnServerDisconnect, OnUpdateDir, OnUpdateImage, OnUpdateItem;
    // Asked on WM_QUERYENDSESSION; CanEndSession starts true and then stops watching.
    TEndSessionQueryEvent OnEndSessionQuery;

    // Stops, then watches WatchRoots for the events assigned now. Nothing is watched
    // without a root or without an assigned event.
    void StartWatching();
    void StopWatching();
    bool Watching() const { return FMask != 0; }
    // The inotify descriptor, -1 when nothing is watched.
    int NotifyHandle() const;

    // A change as the watcher saw it: queued and posted to the owner (events not
    // assigned at StartWatching are left out).
    void Notify(uint32_t Event, const WideString& Path1, const WideString& Path2 = WideString());

private:
    struct Notification {
        uint64_t Id = 0;
        uint32_t Event = 0;
        WideString Path1, Path2;
        uint64_t Tick = 0;
        bool Arrived = false; // its message came while the owner was disabled
    };
    void MessageHook(TMessage& Message, const TWndMethod& Next);
    void NotificationArrived(uint64_t Id);
    void DeliverArrived();
    void Deliver(const Notification& N);
    void TreeChanged(TTreeChange Change, bool Folder, const WideString& Path1,
                     const WideString& Path2);
    uint32_t AssignedEvents() const;

    TWinControl* FOwnerControl;
    std::weak_ptr<int> FOwnerAlive;
    THookId FHook = 0;
    int FMessageNo = WM_USER;
    uint32_t FMask = 0;
    std::unique_ptr<TFolderTreeWatcher> FWatcher;
    std::deque<Notification> FQueue;
    uint64_t FNextId = 1;
    uint32_t FLastEvent = 0;
    WideString FLastPath1, FLastPath2;
    uint64_t FLastTick = 0;
    // Expires with the component (a handler may free it).
    std::shared_ptr<bool> FSelf = std::make_shared<bool>(true);
};
