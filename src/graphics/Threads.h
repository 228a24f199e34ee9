// Threads of the class library on std primitives, and their synchronisation
// with the main thread.
//
// A worker that must touch the main thread's objects (drawing onto a canvas,
// firing events) calls Synchronize: the call is queued and the worker waits
// until the main thread has run it. The main thread serves the queue from its
// message loop (a queued wake-up), from ProcessMessages and from every wait
// below (TThread::WaitFor, ServeSynchronizeWhile), so a worker waiting for the
// main thread never dead-locks with a main thread waiting for the worker.
// Everything here is plain mutexes and condition variables, which
// ThreadSanitizer checks.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// True on the thread that started the program.
bool IsMainThread();

// Runs the queued synchronisation requests (on the main thread only); true when
// any ran.
bool CheckSynchronize();

// Called after a request was queued, from the worker's thread. The default
// posts a call of CheckSynchronize into the Qt event loop when a Qt
// application exists.
void SetWakeMainThread(std::function<void()> Wake);

// On the main thread: serves synchronisation requests, then pumps pending
// messages through the installed pump (the class library installs its
// application's; the default pumps Qt's events when a Qt application exists).
// False when the pump saw a quit (the quit stays pending for the outer loop).
bool ProcessMessages();
void SetMessagePump(std::function<bool()> Pump);

// On the main thread: serves synchronisation requests until Done answers true.
// Done is asked again whenever a request ran, a thread ended or a few
// milliseconds passed; it must not need the main thread.
void ServeSynchronizeWhileNot(const std::function<bool()>& Done);

// Wakes ServeSynchronizeWhileNot to ask its condition again.
void SignalMainThread();

// A manual-reset event.
class TSimpleEvent {
public:
    void SetEvent();
    void ResetEvent();
    // True when the event was set within the timeout.
    bool WaitFor(std::chrono::milliseconds Timeout);
    void WaitForever();

private:
    std::mutex FMutex;
    std::condition_variable FSignal;
    bool FSet = false;
};

// A thread's priority runs it at a nice value of its own: tpNormal at the nice value of
// the thread that started it, tpIdle at 19, tpLowest and tpLower 10 and 5 above normal,
// tpHigher, tpHighest and tpTimeCritical 5, 10 and 20 below it (kept within -20 .. 19).
// Lowering a nice value needs a privilege: where the system refuses, the thread keeps
// the value it has, without an error.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
public:
    // A suspended thread runs when Start is called.
    explicit TThread(bool CreateSuspended);
    // A running thread (one not freed on terminate) is told to terminate and
    // waited for, serving synchronisation requests meanwhile.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Resume() { Start(); }
    bool Suspended() const { return !FStarted.load(); }
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const { return FFinished.load(); }
    // Waits until Execute has returned (on the main thread serving requests).
    // Not for threads freed on terminate.
    void WaitFor();

    // Set before Start: the thread deletes itself after Execute.
    bool FreeOnTerminate = false;
    TThreadPriority Priority() const { return FPriority.load(); }
    // Applies at once to a running thread, else when it starts.
    void SetPriority(TThreadPriority Value);
    // The system's id of the thread while Execute runs (as /proc/self/task lists it),
    // else 0.
    int ThreadID() const { return FThreadID.load(); }

protected:
    virtual void Execute() = 0;
    // Called by Terminate (on the terminating thread).
    virtual void TerminatedSet() {}
    // Runs Method on the main thread and waits for it (directly on the main
    // thread). An exception thrown by Method is rethrown here.
    static void Synchronize(const std::function<void()>& Method);

private:
    void Run();
    // Under FPriorityMutex: gives the running thread the nice value of FPriority.
    void ApplyPriority();

    std::thread FThread;
    std::mutex FPriorityMutex;
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<int> FThreadID{0};
    int FBaseNice = 0; // the nice value of the thread that started this one
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
};

// A list shared between threads: every access holds its lock.
template <class T> class TThreadList {
public:
    class TLocked {
    public:
        explicit TLocked(TThreadList& Owner) : FLock(Owner.FMutex), FItems(Owner.FItems) {}
        std::vector<T>& operator*() { return FItems; }
        std::vector<T>* operator->() { return &FItems; }
        void Unlock() { FLock.unlock(); }
        void Lock() { FLock.lock(); }

    private:
        std::unique_lock<std::mutex> FLock;
        std::vector<T>& FItems;
    };

    TLocked LockList() { return TLocked(*this); }
    void Add(const T& Item) {
        std::lock_guard lock(FMutex);
        FItems.push_back(Item);
    }
    void Remove(const T& Item) {
        std::lock_guard lock(FMutex);
        std::erase(FItems, Item);
    }
    int Count() {
        std::lock_guard lock(FMutex);
        return static_cast<int>(FItems.size());
    }

private:
    std::mutex FMutex;
    std::vector<T> FItems;
};
