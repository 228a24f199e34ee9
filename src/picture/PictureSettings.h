// The picture font and colours as the output settings window `Teinstausgabe` holds them:
// the font of its sample label `Label3` (whose colour is the text colour) and the
// background colour written in its edit `Edit1` as "#" and six hexadecimal digits (red,
// green, blue). The main block's style source reads them here, at every picture save,
// through the working window's settings view.
#pragma once

#include "engine/SettingsView.h"
#include "picture/TextPicture.h"

// The background read from the edit's text: six hexadecimal digits once every "#" is
// removed, else white. The edit itself keeps showing its last valid colour while the user
// types another text; the program draws on that shown colour (mainwindow/MainBlock.h).
PictureStyle PictureStyleFromSettings(const SettingsView& Settings);

// The style of a new window: "Courier New" 8 pt in black on white.
PictureStyle DesignPictureStyle();
