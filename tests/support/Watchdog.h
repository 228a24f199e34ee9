// Ends the whole test program, with a line saying what hung, when a step that must never
// wait (a read of a FIFO or of /proc, a dialog's file model) has not come back in time.
// A step that blocks in the kernel cannot be interrupted any other way; gtest then reports
// the program as failed instead of the run hanging until the CTest timeout.
#pragma once

#include <csignal>
#include <cstring>
#include <unistd.h>

class Watchdog {
public:
    Watchdog(unsigned Seconds, const char* What) {
        FWhat() = What;
        struct sigaction action {};
        action.sa_handler = [](int) {
            static const char prefix[] = "\nWatchdog: still waiting in ";
            (void)!::write(2, prefix, sizeof prefix - 1);
            (void)!::write(2, FWhat(), std::strlen(FWhat()));
            (void)!::write(2, "\n", 1);
            ::_exit(124);
        };
        ::sigaction(SIGALRM, &action, &FSaved);
        ::alarm(Seconds);
    }
    ~Watchdog() {
        ::alarm(0);
        ::sigaction(SIGALRM, &FSaved, nullptr);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static const char*& FWhat() {
        static const char* what = "";
        return what;
    }
    struct sigaction FSaved {};
};
