// Threads and their synchronisation with the main thread: a main thread that
// waits for a worker serves the worker's requests, so neither waits forever.
#include <gtest/gtest.h>

#include <stdexcept>

#include "graphics/Threads.h"

namespace {

class Worker : public TThread {
public:
    Worker() : TThread(true) {}
    int Served = 0;
    bool Rethrown = false;
    TThreadList<int>* Shared = nullptr;

protected:
    void Execute() override {
        for (int i = 0; i < 100; ++i) {
            Synchronize([this] {
                EXPECT_TRUE(IsMainThread());
                ++Served;
            });
            if (Shared) Shared->Add(i);
        }
        try {
            Synchronize([] { throw std::runtime_error("on the main thread"); });
        } catch (const std::runtime_error&) {
            Rethrown = true;
        }
    }
};

TEST(GraphicsThreads, WaitForServesTheWorkersRequestsAndRethrowsTheirErrors) {
    TThreadList<int> shared;
    Worker a, b;
    a.Shared = b.Shared = &shared;
    a.Start();
    b.Start();
    a.WaitFor();
    b.WaitFor();
    EXPECT_EQ(a.Served + b.Served, 200);
    EXPECT_TRUE(a.Rethrown && b.Rethrown);
    EXPECT_EQ(shared.Count(), 200);
}

TEST(GraphicsThreads, TerminateEndsAWaitOnTheEvent) {
    class Sleeper : public TThread {
    public:
        Sleeper() : TThread(true) {}
        TSimpleEvent Event;

    protected:
        void Execute() override { Event.WaitFor(std::chrono::minutes(10)); }
        void TerminatedSet() override { Event.SetEvent(); }
    } sleeper;
    sleeper.Start();
    const auto start = std::chrono::steady_clock::now();
    sleeper.Terminate();
    sleeper.WaitFor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(sleeper.Finished());
}

} // namespace
