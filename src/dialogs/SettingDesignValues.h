// The design values of a window's setting controls come from the engine's table of setting
// controls, the one place that names them: the engine reads them by these names, the
// configuration files store them under them, and the window starts with these values.
#pragma once

#include <string_view>

class TForm;

// Gives every setting control of the window class WindowClass (a component of Window with
// the table's name) its design value: ticks and radio buttons, texts of edits, memos and
// combo boxes, the items of list boxes. Raises UnknownSetting when a control of the table is
// missing in the window or is of another kind, so a misspelt name fails at once.
void ApplySettingDesignValues(TForm* Window, std::string_view WindowClass);
