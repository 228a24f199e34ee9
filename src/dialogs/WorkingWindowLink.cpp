#include "dialogs/WorkingWindowLink.h"

namespace {
WorkingWindowLink* registered = nullptr;
}

WorkingWindowLink* WorkingWindow() {
    return registered;
}
void SetWorkingWindow(WorkingWindowLink* window) {
    registered = window;
}
