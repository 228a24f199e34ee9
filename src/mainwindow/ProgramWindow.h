// The program's windows of one class (the progress window, the message window, the type
// filter, ...), created once by the main block. Windows under test may run without them,
// so a caller always checks for nullptr.
#pragma once

#include "platform/Forms.h"

template <class T> T* ProgramWindow() {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<T*>(Screen->Forms(i))) return w;
    return nullptr;
}
