// The program-wide state every conversion run and every preview starts from: the unattended
// flag and the silent level of the command line, the processing-log flag, the output code
// page and byte-order-mark choice of the output settings, and the program folder.
//
// One owner: the main block creates one ProgramState and writes the switches into it
// (before or after the working window exists: nothing reads them at window creation); the
// output settings window `Teinstausgabe` writes AusgabeCodepage from its encoding radio
// buttons and WriteByteOrderMark from `jazubom` (in their click handlers, which also run when
// a configuration or the defaults check them). Each run and each preview builds its own
// ConversionEngine from the state when it starts (ConversionEngine copies RunOptions from
// it), so a switch read after the window exists reaches the next run.
#pragma once

#include "text/TextEncodings.h"
#include "text/WideTypes.h"

// How much of the window a run shows.
enum class SilentLevel {
    Interactive = 0, // messages, questions, progress window
    NoMessages = 1,  // "silentmode=1": no message boxes, no window shown
    NoWindow = 2,    // "silentmode=2" and "processandclose=1": not even the progress window
};

// What one run or preview uses, copied from the program state when it starts.
struct RunOptions {
    SilentLevel silent = SilentLevel::Interactive;
    bool processLog = false;                  // append events to the processing log
    TextEncodingCode outputCodePage = teUTF8; // used unless the original encoding is kept
    bool byteOrderMark = true;                // write a mark where the encoding has one
    WideString programFolder;                 // with its trailing "/"
    bool raiseProgrammingErrors = true;       // see ProgramState

    bool showsMessages() const { return silent == SilentLevel::Interactive; }
    bool showsProgress() const { return silent != SilentLevel::NoWindow; }
};

class ProgramState {
public:
    // programFolder: absolute, with or without its trailing "/" (the folder of the
    // executable: the log, "Auto.qvr" and the user tables live there). Raises
    // std::invalid_argument for an empty or relative folder: no default silently means
    // the current folder.
    explicit ProgramState(WideStringView programFolder);

    const WideString& ProgramFolder() const { return programFolder_; }

    bool ProcessAndClose = false; // "processandclose=1": convert the list, then end
    SilentLevel Silent = SilentLevel::Interactive;
    bool ProcessLogEnabled = false;            // "log=1"
    TextEncodingCode AusgabeCodepage = teUTF8; // the output settings' encoding
    bool WriteByteOrderMark = true;            // `jazubom` of the output settings
    // A programming error met by a run is raised (tests fail loudly on it); the shipped
    // program clears this, so that a run reports it with its cause and goes on.
    bool RaiseProgrammingErrors = true;

    // The options a run or preview starting now uses.
    RunOptions ForRun() const;

private:
    WideString programFolder_;
};
