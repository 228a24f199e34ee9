// The picture font and colours as the output settings window `Teinstausgabe` holds them:
// the font of its sample label `Label3` (whose colour is the text colour) and the
// background colour written in its edit `Edit1` as "#" and six hexadecimal digits (red,
// green, blue). The main block's style source reads them here, at every picture save,
// through the working window's settings view.
#pragma once

#include "engine/SettingsView.h"
#include "picture/TextPicture.h"

// The window's edit shows a colour only for a text that is six hexadecimal digits once
// every "#" is removed; for any other text the picture gets the window's first colour,
// white.
PictureStyle PictureStyleFromSettings(const SettingsView& Settings);

// The style of a new window: "Courier New" 8 pt in black on white.
PictureStyle DesignPictureStyle();
