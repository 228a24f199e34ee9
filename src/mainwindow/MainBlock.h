// The main block: what the program does from its start to its end. It creates every
// window, reads the command line (switches, configurations, files and folders), loads
// the start configuration, converts the whole list when started unattended, and runs
// the message loop until the start window closes.
//
// Command line (each argument compared whole, exactly, case-sensitively):
//   log=1               events go to the processing log "qvrprocess.log"
//   processandclose=1   convert the list, then end (silent level 2)
//   silentmode=1 / =2   no messages, no window / not even the progress window; the last
//                       silent switch on the line wins
//   *.qvr               a configuration; a relative name is taken from the program folder
//   anything else without "=": a file or folder, relative to the current folder
//
// Exit status: ExitSucceeded after a start whose arguments were all found and whose
// unattended run converted without error; ExitFailed when an argument was not found, a
// configuration could not be loaded, a file, piece or picture failed, a listed file was
// gone when its turn came, the run could not start, or an exception escaped;
// ExitNoDisplay when no display is there to show the windows on. A start whose files a
// running copy took ends at once with ExitSucceeded, display or not. An argument that
// names no data file (a FIFO, a device, a link that leads nowhere, anything of /proc or
// /sys) is not found.
#pragma once

#include <functional>

#include "engine/RunState.h"
#include "text/WideTypes.h"

enum ExitStatus : int { ExitSucceeded = 0, ExitFailed = 1, ExitNoDisplay = 2 };

// The switches of a command line (arguments 1..Count, without the program's path).
struct StartSwitches {
    bool ProcessAndClose = false;
    bool ProcessLogEnabled = false;
    SilentLevel Silent = SilentLevel::Interactive;
};
StartSwitches ReadStartSwitches(const TWideStrArray& Args);

// An argument naming a configuration: its extension is ".qvr", exactly.
bool IsConfigurationArgument(WideStringView Arg);

// How the windows are shown: on the user's display, on Qt's offscreen platform (a start
// that shows none, on a machine without display), or not at all.
enum class DisplayChoice { Display, Offscreen, Missing };
// Env reads one environment variable (nullptr when it is not set). An explicit
// QT_QPA_PLATFORM is the user's choice and always holds.
DisplayChoice ChooseDisplay(const TWideStrArray& Args,
                            const std::function<const char*(const char*)>& Env);

// What the start took in and how the unattended run went: the exit status.
struct StartOutcome {
    int notFound = 0;           // configuration, file or folder arguments not there
    int loadFailures = 0;       // configurations that raised while being loaded
    bool runFailed = false;     // the run raised, or could not start
    int conversionFailures = 0; // files, pieces and pictures the run could not write
    ExitStatus Status() const;
};

// Steps after the windows exist: the switches into State, the configurations, the start
// configuration when none loaded, the files and folders, and the unattended run.
// Args are arguments 1..Count.
StartOutcome TakeInCommandLine(const TWideStrArray& Args, ProgramState& State);

// The windows as a start has them before it reads its command line: the application
// title, every window created in its order (CreateProgramWindows), the working window
// running on State, and texts saved as pictures drawn in the output settings' font and
// colours. State must outlive the windows.
void PrepareProgramWindows(ProgramState& State);

// The whole program: returns the exit status. argv as main got it.
int RunMainBlock(int argc, char** argv);
