#include "desktop/VistaAltFix.h"

bool VistaAltFixNeeded() {
    return false;
}

TVistaAltFix::TVistaAltFix(TComponent* AOwner) : TComponent(AOwner) {}
