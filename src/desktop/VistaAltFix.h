// The accelerator-underline repaint fix. Windows with visual styles hides the
// hot-key underlines until Alt is pressed and some controls then fail to
// repaint; Qt draws the underlines itself, so the fix is never needed here:
// the component exists, installs no hook and changes nothing.
#pragma once

#include "platform/Classes.h"

// Whether the running system needs the fix: never on this platform.
bool VistaAltFixNeeded();

class TVistaAltFix : public TComponent {
public:
    explicit TVistaAltFix(TComponent* AOwner);
    // Repaint every windowed control of a form, not only buttons and static texts.
    bool RepaintAll = true;
    // The forms hooked so far (always 0 where the fix is not needed).
    int HookCount() const { return 0; }
};
