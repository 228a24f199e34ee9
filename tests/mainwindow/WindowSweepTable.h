// The table of the sweep over every window: which control of which window runs a
// handler, on which input, and which shown controls have none (with the reason).
#pragma once

#include <ostream>
#include <vector>

#include "text/WideTypes.h"

namespace window_sweep {

enum class Input {
    Click,       // a left click at the control's centre
    DoubleClick, // a double click at its centre
    Type,        // a click into it, then the text typed
    Leave,       // a click into it, then Tab moves the focus on
    Drag,        // a splitter dragged with the mouse across its bar by 40 pixels
    Choose,      // the next item of a combo box chosen with the keys
    Menu,        // the item chosen in its menu with the mouse
    Popup,       // a right click on the first row of the list named by the text, then the item
};

struct Row {
    const char* window; // the form's name
    const char16_t* control;
    Input input = Input::Click;
    const char* event = "OnClick";
    const char* text = "x"; // typed by Input::Type
    // Controls clicked first, to bring the control on screen (a box closed, a field
    // filled).
    std::vector<const char16_t*> before = {};
    bool english = false; // the windows built in English
    // The handler comes with a change that is not in yet: the row is skipped.
    const char* awaiting = nullptr;
};

inline std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.window << "." << U8(r.control) << " " << r.event;
}

// Shown controls the sweep leaves out, with the reason: they have no handler of their own
// (or, for one, its handler cannot be reached here).
struct NoHandler {
    const char* window;
    std::vector<const char16_t*> controls;
    const char* reason;
};

// The working window's controls that run a handler, and the event each runs.
std::vector<Row> WorkingWindowRows();
// The tools and dialogs: their buttons, ticks, fields and popup items.
std::vector<Row> DialogRows();
const std::vector<NoHandler>& ControlsWithoutHandler();

} // namespace window_sweep
