// Every window of the program, created once at start in one fixed order: the start
// window first (it becomes the main window and holds the language every later window
// reads while it is built), then the working window, then the tools and dialogs.
#pragma once

// Creates the windows through the application object; each creation handler runs at once.
void CreateProgramWindows();
