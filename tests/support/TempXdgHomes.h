// The user's data and configuration folders ($XDG_DATA_HOME, $XDG_CONFIG_HOME) pointed into a
// fresh temporary folder for one test ("data" and "config" below it), put back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "support/TempFolder.h"

class TempXdgHomes : public TempFolder {
public:
    TempXdgHomes() : TempFolder("quorbel-xdg") {
        for (Saved& s : FSaved) {
            if (const char* v = std::getenv(s.Name)) s.Value = v;
        }
        ::setenv("XDG_DATA_HOME", P("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", P("config").c_str(), 1);
    }
    ~TempXdgHomes() {
        for (const Saved& s : FSaved) {
            if (s.Value)
                ::setenv(s.Name, s.Value->c_str(), 1);
            else
                ::unsetenv(s.Name);
        }
    }

private:
    struct Saved {
        const char* Name;
        std::optional<std::string> Value;
    };
    Saved FSaved[2] = {{"XDG_DATA_HOME", {}}, {"XDG_CONFIG_HOME", {}}};
};
