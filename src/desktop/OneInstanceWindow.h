// The one-instance window: a second start of the same executable that carries
// parameters hands its command line to the running copy and ends before it
// creates any window.
//
// Every instance that may receive hand-overs owns a hidden message window of the
// class "OneInstUtilWnd:" + the executable's path and a socket in the per-user
// folder of that class (InstanceSockets.h); a frame arriving there is sent to the
// window as WM_COPYDATA and the window's reply goes back to the sender.
//
// Start-up order in main:
//   InitWideCommandLine(argc, argv);
//   OneInstanceSendCommandLine();   // may end the process with exit code 0
//   InitApplication(...);           // ... create the windows ...
//   OneInstanceCreateWindow();      // from now on this instance receives hand-overs
//   Application->Run();
//   OneInstanceDestroyWindow();     // before DoneApplication: the socket goes
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Messages.h"

// The replies to a hand-over.
constexpr LRESULT OneInstanceTaken = LRESULT(0xDA860081);    // the sender ends
constexpr LRESULT OneInstanceContinue = LRESULT(0xDA860080); // the sender starts normally

// What WM_COPYDATA carries in its lParam.
struct COPYDATASTRUCT {
    uintptr_t dwData = 0; // the sender's process id
    uint32_t cbData = 0;  // bytes at lpData: twice the UTF-16 units of the command line
    const void* lpData = nullptr;
};

// The receiver of hand-overs: Decision 0 takes the hand-over (the sender ends),
// 1 lets the sender run as a further instance.
using TOneInstanceCallback = void (*)(HWND Wnd, uint32_t ProcessId, const WideString& CommandLine,
                                      uint8_t& Decision);
void SetOneInstanceCallback(TOneInstanceCallback Callback);
TOneInstanceCallback OneInstanceCallback();

// "OneInstUtilWnd:" followed by the executable's canonical path.
WideString OneInstanceClassName();

// The hidden window's procedure: WM_COPYDATA with wParam 0 and a record in lParam is
// offered to the callback and answered by the decision (no callback: taken); every
// other message gets the default handling.
void OneInstanceWndProc(HWND Wnd, TMessage& Message);

// An argument as the main block reads it, made absolute: a ".qvr" extension (exact
// case) makes it a configuration, looked up in ProgramFolder (with its trailing "/");
// otherwise one holding "=" is a switch and stays; anything else is a file or folder
// from CurrentFolder. Absolute paths stay.
WideString StartArgumentPath(const WideString& Param, const WideString& ProgramFolder,
                             const WideString& CurrentFolder);

// The command line a start hands over, or nothing when it never hands over: no
// parameters; a parameter holding a double quote (it cannot be quoted); one of the
// unattended switches "processandclose=1", "silentmode=1", "silentmode=2", "log=1"
// (a receiver would silently not do them). Every argument is quoted, the executable
// first. Relative paths are completed here, where they were meant: a ".qvr" argument
// from the program folder, any other file or folder from the current folder;
// switches (holding "=") stay as they are.
std::optional<WideString> HandOverCommandLine(const WideString& ExePath,
                                              const TWideStrArray& Params,
                                              const WideString& CurrentFolder);

// The sender: when this start hands over (above) and a running instance of the same
// executable takes it, the process ends at once with exit code 0. Otherwise it
// returns and the start goes on. Plain POSIX: needs no application object and no
// display. Reads the command line set by InitWideCommandLine.
void OneInstanceSendCommandLine();

// Creates the hidden window and starts listening for hand-overs (after
// InitApplication). An unattended start ("processandclose=1") listens to nothing.
// A failure leaves the instance without hand-overs, silently.
void OneInstanceCreateWindow();
// Closes the socket and destroys the window (also at exit).
void OneInstanceDestroyWindow();
// The hidden window, or nullptr when there is none.
HWND OneInstanceWindowHandle();
