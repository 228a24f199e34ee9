#include "desktop/OneInstanceCheck.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "desktop/OneInstanceWindow.h"
#include "platform/Forms.h"

namespace {

TOneInstanceCheck* theObject = nullptr;

// How often taken hand-overs look again whether a long loop of the window has ended.
constexpr int kRetryWhileDisabledMs = 200;

// The form that owns the object (directly or through a control on it).
TForm* owningForm(const TOneInstanceCheck* Check) {
    auto* control = dynamic_cast<TControl*>(Check->Owner());
    if (!control) return nullptr;
    if (auto* form = dynamic_cast<TForm*>(control)) return form;
    return control->ParentForm();
}

void receiveHandOver(HWND, uint32_t ProcessId, const WideString& CommandLine, uint8_t& Decision) {
    Decision = theObject ? theObject->HandOver(ProcessId, CommandLine) : 1;
}

const bool receiverInstalled = (SetOneInstanceCallback(receiveHandOver), true);

// Raises before anything is built, so a refused object never joins its owner.
TComponent* ownerOfTheOnlyObject(TComponent* AOwner) {
    if (theObject) throw ECreateError(u"Nur ein TOneInstanceCheck-Objekt möglich");
    return AOwner;
}

} // namespace

TOneInstanceCheck::TOneInstanceCheck(TComponent* AOwner)
    : TComponent(ownerOfTheOnlyObject(AOwner)) {
    (void)receiverInstalled;
    theObject = this;
}

TOneInstanceCheck::~TOneInstanceCheck() {
    *FAlive = false;
    if (theObject == this) theObject = nullptr;
}

TOneInstanceCheck* OneInstanceCheckObject() {
    return theObject;
}

uint8_t TOneInstanceCheck::HandOver(uint32_t ProcessId, const WideString& CommandLine) {
    TForm* form = owningForm(this);
    // Rows added under a running loop would be lost to it: that start runs by itself.
    if (form && !form->Enabled()) return 1;
    if (!OnNewInstance) return 0; // taken, and nothing changes
    FPending.push_back({ProcessId, CommandLine});
    SchedulePending(0);
    return 0;
}

void TOneInstanceCheck::SchedulePending(int DelayMs) {
    QTimer::singleShot(DelayMs, [this, alive = FAlive] {
        if (*alive) RunPending();
    });
}

// A handler that waits for the user runs the event loop meanwhile: a hand-over taken
// then waits in the queue until that handler has returned, so that the handlers never
// run inside one another.
void TOneInstanceCheck::RunPending() {
    if (FRunning) return;
    FRunning = true;
    const std::shared_ptr<bool> alive = FAlive;
    while (*alive && !FPending.empty()) {
        TForm* form = owningForm(this);
        if (form && !form->Enabled()) { // a long loop began meanwhile: after it
            SchedulePending(kRetryWhileDisabledMs);
            break;
        }
        const TPending next = std::move(FPending.front());
        FPending.pop_front();
        if (!OnNewInstance) continue;
        TUCodeStringList params;
        SplitQuotedParams(next.CommandLine, params);
        try {
            OnNewInstance(this, next.ProcessId, params);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
        if (!*alive) return;
        if (Application) Application->Restore();
        // The program's main form is the start window, hidden after the first seconds:
        // the window that takes the hand-over comes to the front instead, when shown.
        if (form && form->Visible()) ForceForegroundWindow(form);
    }
    FRunning = false;
}

void SplitQuotedParams(WideStringView CommandLine, TUCodeStrings& List) {
    bool inQuotes = false;
    WideString current;
    for (WideChar c : CommandLine) {
        if (c == u'"') {
            if (inQuotes) {
                List.Add(current);
                current.clear();
            }
            inQuotes = !inQuotes;
        } else if (inQuotes) {
            current.push_back(c);
        }
    }
}

bool ForceForegroundWindow(HWND Wnd) {
    auto* form = dynamic_cast<TForm*>(Wnd);
    QWidget* w = form ? form->Widget() : nullptr;
    if (!w) return false;
    if (form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
    if (w->isActiveWindow()) return true;
    w->raise();
    w->activateWindow();
    if (w->isActiveWindow()) return true;
    QApplication::alert(w);
    return false;
}
