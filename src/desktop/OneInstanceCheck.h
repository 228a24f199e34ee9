// TOneInstanceCheck: the working window's end of the single-instance hand-over.
// While the object exists, every command line handed over by a second start of
// the program arrives as OnNewInstance with its parameters (the first is the other
// start's executable path; paths are absolute, see OneInstanceWindow.h).
//
// Linking this unit installs its receiver in the one-instance window: without an
// object the sender runs as a further instance; so it does while the owner window
// is disabled (a conversion run or a folder add is going on).
//
// A hand-over happens exactly once: the sender is answered as soon as the object takes
// its command line, and OnNewInstance runs afterwards. A handler may wait for the user
// (a message that the file is in the list already) far longer than a sender waits for
// its answer; a sender that gave up would start a window of its own while the running
// copy still adds its files. The handlers run on the GUI thread one after another, in
// the order the hand-overs came, and wait while the owner window is disabled.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "platform/Classes.h"
#include "platform/Messages.h"
#include "text/UCodeClasses.h"

// Called after the sender has been answered; the instance then comes to the front.
using TOnNewInstance =
    std::function<void(TObject* Sender, uint32_t ProcessId, TUCodeStringList& Params)>;

class TOneInstanceCheck : public TComponent {
public:
    // A second object raises ECreateError "Nur ein TOneInstanceCheck-Objekt möglich".
    explicit TOneInstanceCheck(TComponent* AOwner);
    ~TOneInstanceCheck() override;

    TOnNewInstance OnNewInstance;

    // Takes one hand-over: the decision byte of the one-instance window, 1 (the sender
    // runs by itself) while the owner window is disabled, else 0; a taken command line
    // reaches OnNewInstance once control is back in the event loop.
    uint8_t HandOver(uint32_t ProcessId, const WideString& CommandLine);

private:
    struct TPending {
        uint32_t ProcessId;
        WideString CommandLine;
    };
    void SchedulePending(int DelayMs);
    void RunPending();

    std::deque<TPending> FPending;
    bool FRunning = false;
    // Queued calls find out whether the object is still there.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The object of this process, or nullptr.
TOneInstanceCheck* OneInstanceCheckObject();

// The quoted parts of a command line, in order, each without its quotes (an empty
// pair gives an empty entry). Text outside quotes is dropped, and so is a last part
// whose closing quote is missing.
void SplitQuotedParams(WideStringView CommandLine, TUCodeStrings& List);

// Brings a form to the front: shown normal when minimised, raised and activated;
// where the window system refuses the focus the window asks for attention. True
// when it is the active window afterwards.
bool ForceForegroundWindow(HWND Wnd);
