// What list boxes, combo boxes and list views share: adding an item with its object,
// and copying the selected items into another list control.
#pragma once

#include "platform/Controls.h"

class TCustomListControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    // Appends an item with that text and object.
    virtual void AddItem(const WideString& Item, void* AObject) = 0;
    // Adds every selected item, with its object, to Destination.
    virtual void CopySelection(TCustomListControl* Destination) = 0;
};

// Adds an item with a wide text and an object to any list control.
inline void UCodeListControl_AddItem(TCustomListControl* ListControl, const WideString& Item,
                                     void* AObject) {
    ListControl->AddItem(Item, AObject);
}
