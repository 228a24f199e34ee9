// Focus cues: whether a window draws the frame around its focused control. As on Windows,
// the input that opens a window decides it: a window shown while the last input was a key
// (a menu item chosen with the keys, a shortcut, Enter on a button) shows the frame at once;
// one opened with the mouse leaves it out until a key moves the focus in it (Tab and the
// arrows show it from then on, as Qt does by itself).
#pragma once

class QFrame;
class QWidget;

// Watches the input of the whole application from now on (the application object calls it
// once; later calls do nothing).
void InstallFocusCues();

// Shows the focus cues of Window (a top-level widget) until it is hidden again.
void ShowFocusCuesOf(QWidget* Window);

// The frame of View draws the focus cue around the whole control while it has the focus and
// its window shows the cues: for lists, whose rows show the focus only where there is a
// row to frame (an empty list showed nothing).
void OutlineFocusOf(QFrame* View);
