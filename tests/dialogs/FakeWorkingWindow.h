// A stand-in for the working window: counts preview refreshes and keeps the names added to
// its transliteration choice. Registered while it lives.
#pragma once

#include <string>
#include <vector>

#include "dialogs/WorkingWindowLink.h"

struct FakeWorkingWindow : WorkingWindowLink {
    int previews = 0;
    std::vector<std::string> messages;
    TWideStrArray transkription;

    FakeWorkingWindow() { SetWorkingWindow(this); }
    ~FakeWorkingWindow() override { SetWorkingWindow(nullptr); }
    void VorschauWennAktiv() override { ++previews; }
    void meldungzeigen(std::string_view key, WideStringView) override {
        messages.emplace_back(key);
    }
    void act_transkriptionAdd(WideStringView name) override { transkription.emplace_back(name); }
};
