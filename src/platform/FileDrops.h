// Files dropped from the file manager. A control whose window accepts files
// (DragAcceptFiles) takes a drag of local files (file URLs) and, on the drop, receives
// WM_DROPFILES through its window procedure: WParam is the drop (HDROP), which
// DragQueryFiles reads while the message is being handled. Drags without a local file
// are refused.
#pragma once

#include "platform/Controls.h"

struct TDroppedFiles {
    TWideStrArray Files; // full paths, in the order of the drag
    TPoint Point;        // where the drop happened, client coordinates of the control
};
using HDROP = const TDroppedFiles*;

void DragAcceptFiles(TWinControl* Control, bool Accept);
// The paths of a drop; a folder without its final "/".
const TWideStrArray& DragQueryFiles(HDROP Drop);
// The drop of a WM_DROPFILES message.
inline HDROP DroppedFilesOf(const TMessage& Message) {
    return reinterpret_cast<HDROP>(Message.WParam);
}
