#include "desktop/ShellWatch.h"

#include <algorithm>

#include "desktop/FolderTreeWatcher.h"
#include "platform/Controls.h"

namespace {

struct OnePathEvent {
    uint32_t Code;
    TTEventOne TShellWatch::*Event;
};
struct TwoPathEvent {
    uint32_t Code;
    TTEventTwo TShellWatch::*Event;
};

const OnePathEvent OnePathEvents[] = {
    {SHCNE_ATTRIBUTES, &TShellWatch::OnAttributes},
    {SHCNE_CREATE, &TShellWatch::OnCreate},
    {SHCNE_DELETE, &TShellWatch::OnDelete},
    {SHCNE_DRIVEADD, &TShellWatch::OnDriveAdd},
    {SHCNE_DRIVEADDGUI, &TShellWatch::OnDriveAddGUI},
    {SHCNE_DRIVEREMOVED, &TShellWatch::OnDriveRemoved},
    {SHCNE_MEDIAINSERTED, &TShellWatch::OnMediaInserted},
    {SHCNE_MEDIAREMOVED, &TShellWatch::OnMediaRemoved},
    {SHCNE_MKDIR, &TShellWatch::OnMkDir},
    {SHCNE_NETSHARE, &TShellWatch::OnNetShare},
    {SHCNE_NETUNSHARE, &TShellWatch::OnNetUnshare},
    {SHCNE_RMDIR, &TShellWatch::OnRmDir},
    {SHCNE_SERVERDISCONNECT, &TShellWatch::OnServerDisconnect},
    {SHCNE_UPDATEDIR, &TShellWatch::OnUpdateDir},
    {SHCNE_UPDATEIMAGE, &TShellWatch::OnUpdateImage},
    {SHCNE_UPDATEITEM, &TShellWatch::OnUpdateItem},
};
const TwoPathEvent TwoPathEvents[] = {
    {SHCNE_ASSOCCHANGED, &TShellWatch::OnAssocChanged},
    {SHCNE_RENAMEFOLDER, &TShellWatch::OnRenameFolder},
    {SHCNE_RENAMEITEM, &TShellWatch::OnRenameItem},
};

// A notification message without an id: deliver what was held.
constexpr WPARAM DeliverHeld = 0;
// Two equal notifications further apart than this are two changes.
constexpr uint64_t RepeatWindowMs = 1000;

TWinControl* windowedOwner(TComponent* AOwner) {
    auto* control = dynamic_cast<TWinControl*>(AOwner);
    if (!control) throw EInvalidCast(std::string("Invalid class typecast"));
    return control;
}

} // namespace

TShellWatch::TShellWatch(TComponent* AOwner)
    : TComponent(AOwner), FOwnerControl(windowedOwner(AOwner)),
      FOwnerAlive(FOwnerControl->AliveToken()) {
    FHook = FOwnerControl->HookWindowProc(
        [this](TMessage& Message, const TWndMethod& Next) { MessageHook(Message, Next); });
}

TShellWatch::~TShellWatch() {
    // The owner may be half gone already (it frees its components last).
    if (!FOwnerAlive.expired()) FOwnerControl->UnhookWindowProc(FHook);
    StopWatching();
}

void TShellWatch::SetMessageNo(int Value) {
    if (Value >= int(WM_USER)) FMessageNo = Value;
}

uint32_t TShellWatch::AssignedEvents() const {
    uint32_t mask = 0;
    for (const OnePathEvent& e : OnePathEvents)
        if (this->*e.Event) mask |= e.Code;
    for (const TwoPathEvent& e : TwoPathEvents)
        if (this->*e.Event) mask |= e.Code;
    return mask;
}

void TShellWatch::StartWatching() {
    StopWatching();
    uint32_t mask = AssignedEvents();
    if (mask == 0 || WatchRoots.empty()) return;
    auto watcher = std::make_unique<TFolderTreeWatcher>(
        WatchRoots, [this](TTreeChange Change, bool Folder, const WideString& Path1,
                           const WideString& Path2) { TreeChanged(Change, Folder, Path1, Path2); });
    if (watcher->Handle() < 0) return; // no root to watch: not watching, silently
    FWatcher = std::move(watcher);
    FMask = mask;
}

void TShellWatch::StopWatching() {
    FWatcher.reset();
    FMask = 0;
    FQueue.clear();
}

int TShellWatch::NotifyHandle() const {
    return FWatcher ? FWatcher->Handle() : -1;
}

void TShellWatch::TreeChanged(TTreeChange Change, bool Folder, const WideString& Path1,
                              const WideString& Path2) {
    switch (Change) {
    case TTreeChange::Created:
        return Notify(Folder ? SHCNE_MKDIR : SHCNE_CREATE, Path1);
    case TTreeChange::Deleted:
        return Notify(Folder ? SHCNE_RMDIR : SHCNE_DELETE, Path1);
    case TTreeChange::Renamed:
        return Notify(Folder ? SHCNE_RENAMEFOLDER : SHCNE_RENAMEITEM, Path1, Path2);
    case TTreeChange::Attributes:
        return Notify(SHCNE_ATTRIBUTES, Path1);
    case TTreeChange::Written:
        return Notify(SHCNE_UPDATEITEM, Path1);
    case TTreeChange::Overflow:
        return Notify(SHCNE_UPDATEDIR, Path1);
    }
}

void TShellWatch::Notify(uint32_t Event, const WideString& Path1, const WideString& Path2) {
    if (!(FMask & Event)) return;
    Notification n;
    n.Id = FNextId++;
    n.Event = Event;
    n.Path1 = Path1;
    n.Path2 = Path2;
    n.Tick = GetTickCount();
    FQueue.push_back(std::move(n));
    if (!PostMessage(FOwnerControl, UINT(FMessageNo), WPARAM(FQueue.back().Id), LPARAM(Event)))
        FQueue.pop_back();
}

void TShellWatch::MessageHook(TMessage& Message, const TWndMethod& Next) {
    if (Message.Msg == WM_QUERYENDSESSION) {
        bool canEnd = true;
        if (OnEndSessionQuery) OnEndSessionQuery(this, canEnd);
        if (canEnd) StopWatching();
        Message.Result = canEnd ? 1 : 0;
    } else if (Message.Msg == UINT(FMessageNo)) {
        NotificationArrived(uint64_t(Message.WParam));
    } else if (Message.Msg == CM_ENABLEDCHANGED && FOwnerControl->Enabled() && !FQueue.empty() &&
               FQueue.front().Arrived) {
        // Delivered after the code that enabled the owner has finished.
        PostMessage(FOwnerControl, UINT(FMessageNo), DeliverHeld, 0);
    }
    Next(Message);
}

void TShellWatch::NotificationArrived(uint64_t Id) {
    if (Id != DeliverHeld) {
        auto it = std::find_if(FQueue.begin(), FQueue.end(),
                               [Id](const Notification& n) { return n.Id == Id; });
        if (it == FQueue.end()) return; // stopped since it was posted
        it->Arrived = true;
    }
    DeliverArrived();
}

// In order, from the oldest; a handler may disable the owner, stop watching or free
// this component on the way.
void TShellWatch::DeliverArrived() {
    std::weak_ptr<int> alive = FOwnerAlive;
    while (!alive.expired() && FOwnerControl->Enabled() && !FQueue.empty() &&
           FQueue.front().Arrived) {
        Notification n = std::move(FQueue.front());
        FQueue.pop_front();
        std::weak_ptr<bool> self = FSelf;
        Deliver(n);
        if (self.expired()) return;
    }
}

void TShellWatch::Deliver(const Notification& N) {
    const uint32_t event = N.Event & 0x7FFFFFFF;
    const OnePathEvent* one = nullptr;
    const TwoPathEvent* two = nullptr;
    for (const OnePathEvent& e : OnePathEvents)
        if (e.Code == event && this->*e.Event) one = &e;
    for (const TwoPathEvent& e : TwoPathEvents)
        if (e.Code == event && this->*e.Event) two = &e;
    if (!one && !two) return;
    const bool repeat = event == FLastEvent && N.Path1 == FLastPath1 && N.Path2 == FLastPath2 &&
                        N.Tick - FLastTick < RepeatWindowMs;
    FLastEvent = event;
    FLastPath1 = N.Path1;
    FLastPath2 = N.Path2;
    if (repeat) return;
    FLastTick = N.Tick;
    // A failing handler is reported; the notifications after it still come.
    if (two) {
        TTEventTwo handler = this->*two->Event;
        GuardedCall(this, [&] { handler(this, event, N.Path1, N.Path2); });
    } else {
        TTEventOne handler = this->*one->Event;
        GuardedCall(this, [&] { handler(this, event, N.Path1); });
    }
}
