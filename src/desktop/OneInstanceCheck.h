// TOneInstanceCheck: the working window's end of the single-instance hand-over.
// While the object exists, every command line handed over by a second start of
// the program arrives as OnNewInstance with its parameters (the first is the other
// start's executable path; paths are absolute, see OneInstanceWindow.h).
//
// Linking this unit installs its receiver in the one-instance window: without an
// object the sender runs as a further instance; so it does while the owner window
// is disabled (a conversion run or a folder add is going on).
#pragma once

#include <functional>

#include "platform/Classes.h"
#include "platform/Messages.h"
#include "text/UCodeClasses.h"

// Allow set to true lets the sender run as a further instance; left false, the
// sender ends and this instance comes to the front.
using TOnNewInstance =
    std::function<void(TObject* Sender, uint32_t ProcessId, TUCodeStringList& Params, bool& Allow)>;

class TOneInstanceCheck : public TComponent {
public:
    // A second object raises ECreateError "Nur ein TOneInstanceCheck-Objekt möglich".
    explicit TOneInstanceCheck(TComponent* AOwner);
    ~TOneInstanceCheck() override;

    TOnNewInstance OnNewInstance;

    // Handles one hand-over; the decision byte of the one-instance window.
    uint8_t HandOver(uint32_t ProcessId, const WideString& CommandLine);
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
