// The program's single windows (the message, progress and overwrite windows), found
// among the forms of the screen by their class: a tool reads and resets their answers
// (the "OK for all" tag of the message window) without owning them.
#pragma once

#include "platform/Forms.h"

// The first form of class T on the screen; nullptr when there is none.
template <class T> T* ProgramWindow() {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<T*>(Screen->Forms(i))) return w;
    return nullptr;
}
