// Building a window by code: every control is owned by the window (so that
// FindComponent and the configuration files find it by name), sits in a parent and
// gets its design bounds in one call. Windows create their controls in a fixed order,
// because the configuration files walk the owned components in creation order.
#pragma once

#include "platform/Forms.h"

template <class T>
T* MakeControl(TForm* Form, TWinControl* Parent, WideStringView Name, int Left, int Top, int Width,
               int Height) {
    T* c = new T(Form);
    c->SetName(WideString(Name));
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}
