// Records the event handlers the class library runs while it lives (the trace of
// EventTrace): which control or menu item, which event. A test sees through it that a
// person's input reached a handler, also one whose effect is not visible at once.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Classes.h"

class HandlerTrace {
public:
    struct Call {
        TObject* sender;
        std::string event;
    };

    HandlerTrace() : FSaved(EventTrace()) {
        EventTrace() = [this](TObject* Sender, const char* Event) {
            calls.push_back({Sender, Event});
        };
    }
    ~HandlerTrace() { EventTrace() = std::move(FSaved); }
    HandlerTrace(const HandlerTrace&) = delete;
    HandlerTrace& operator=(const HandlerTrace&) = delete;

    // A handler of Event ran for Sender.
    bool Ran(const TObject* Sender, const std::string& Event) const {
        for (const Call& c : calls)
            if (c.sender == Sender && c.event == Event) return true;
        return false;
    }
    void Clear() { calls.clear(); }

    std::vector<Call> calls;

private:
    TEventTrace FSaved;
};
