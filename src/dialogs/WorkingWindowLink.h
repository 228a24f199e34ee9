// What the tools and settings windows need of the working window. The dialogs sit below
// the working window, so they reach it through this interface: the working window
// registers itself when it is created, tests register a fake. Each method is named after
// the working window's own routine it forwards to.
#pragma once

#include <string_view>

#include "text/WideTypes.h"

class WorkingWindowLink {
public:
    virtual ~WorkingWindowLink() = default;

    // Recomputes the preview at once when the preview is switched on.
    virtual void VorschauWennAktiv() = 0;
    // The keyed message box (shows nothing at silent levels 1 and 2).
    virtual void meldungzeigen(std::string_view key, WideStringView path) = 0;
    // Appends a table name to the items of the transliteration choice act_transkription,
    // so that a table saved in the table editor can be chosen at once.
    virtual void act_transkriptionAdd(WideStringView name) = 0;
};

// The registered working window; nullptr while there is none.
WorkingWindowLink* WorkingWindow();
void SetWorkingWindow(WorkingWindowLink* window);
