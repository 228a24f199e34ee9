// The processing log: one line per event appended to "qvrprocess.log" in the program
// folder, so that an unattended run leaves a record of what it did.
#pragma once

#include <ctime>
#include <string_view>

#include "text/WideTypes.h"

// The folder of the program file, with its trailing "/".
WideString ProgramFolder();

// One line of the log: "dd.mm.yyyy, hh:nn:ss EVENT(path)" in local time, with CR LF.
WideString LogEventLine(WideStringView path, std::string_view event, std::time_t when);

// Appends the event's line to programFolder + "qvrprocess.log", which is kept as UTF-8
// without a byte order mark (a log saved in another encoding is read in it and written
// back as UTF-8). A log that cannot be read or written is left as it is: the event is lost,
// the caller's run goes on.
void logevent(WideStringView path, std::string_view event, WideStringView programFolder,
              std::time_t when);
// The same in the program's own folder, at the current time.
void logevent(WideStringView path, std::string_view event);
