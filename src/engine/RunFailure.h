// How a run tells a failure of the user's file from a fault of the program.
//
// Converting or saving a file raises the system's own exceptions for what went wrong with
// that file: it cannot be read or written, the renderer refused a picture, a CSV
// calculation divides by zero, a huge file exhausts memory. The run reports those with
// its keyed message ("konvertierfehler", "speicherfehler") and log event, and goes on.
//
// A programming error is no fault of the file: an unknown setting or a wrong kind
// (UnknownSetting), a broken precondition (std::logic_error and its kin, a bad optional or
// variant access, a bad cast), or an exception that is no std::exception at all. Reporting
// it as a fault of the file would lose what is needed to mend it. Unless the program
// state asks for reports (the shipped program does), it is raised on, so that a test meets
// it loudly; otherwise the run reports it with its cause and goes on.
#pragma once

#include <string>

struct RunFailure {
    bool programmingError = false;
    std::string cause; // the exception's message
};

// Inside a catch handler: what is being handled. When it is a programming error and
// raiseProgrammingErrors is set, it is raised again instead.
RunFailure CaughtFailure(bool raiseProgrammingErrors);
