#include "desktop/OneInstanceCheck.h"

#include <QApplication>
#include <QWidget>

#include "desktop/OneInstanceWindow.h"
#include "platform/Forms.h"

namespace {

TOneInstanceCheck* theObject = nullptr;

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
    if (theObject == this) theObject = nullptr;
}

TOneInstanceCheck* OneInstanceCheckObject() {
    return theObject;
}

uint8_t TOneInstanceCheck::HandOver(uint32_t ProcessId, const WideString& CommandLine) {
    TForm* form = owningForm(this);
    // Rows added under a running loop would be lost to it: that start runs by itself.
    if (form && !form->Enabled()) return 1;
    if (!OnNewInstance) return 0;
    TUCodeStringList params;
    SplitQuotedParams(CommandLine, params);
    bool allow = false;
    OnNewInstance(this, ProcessId, params, allow);
    if (allow) return 1;
    if (Application) Application->Restore();
    // The program's main form is the start window, hidden after the first seconds:
    // the window that takes the hand-over comes to the front instead, when shown.
    if (form && form->Visible()) ForceForegroundWindow(form);
    return 0;
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
