#include "engine/ProcessLog.h"

#include <cstdio>

#include "text/FileUtils.h"
#include "text/TextFiles.h"

WideString ProgramFolder() {
    return WideExtractFilePath(WideGetModuleFileName());
}

WideString LogEventLine(WideStringView path, std::string_view event, std::time_t when) {
    std::tm t{};
    localtime_r(&when, &t);
    char stamp[80]; // room for any int the fields may hold
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d, %02d:%02d:%02d ", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return U16(stamp) + U16(event) + u"(" + WideString(path) + u")\r\n";
}

void logevent(WideStringView path, std::string_view event, WideStringView programFolder,
              std::time_t when) {
    const WideString log = WideString(programFolder) + u"qvrprocess.log";
    try {
        if (!WideFileExists(log)) SaveTextFileW(u"", log, 65001, false);
        if (WideFileExists(log)) {
            WideString text;
            LoadTextFileW(log, text);
            SaveTextFileW(text + LogEventLine(path, event, when), log, 65001, false);
        }
    } catch (const std::exception&) {
        // An unwritable log must not end the run that reports to it.
    }
}

void logevent(WideStringView path, std::string_view event) {
    logevent(path, event, ProgramFolder(), std::time(nullptr));
}
