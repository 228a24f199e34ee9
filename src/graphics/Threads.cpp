#include "graphics/Threads.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <exception>

namespace {

const std::thread::id MainThreadId = std::this_thread::get_id();

struct TSyncRequest {
    const std::function<void()>* Method = nullptr;
    std::exception_ptr Error;
    bool Done = false;
};

// The queue of requests and the signal the main thread's waits sleep on.
struct TSyncQueue {
    std::mutex Mutex;
    std::condition_variable Served;   // a request was run (workers wait on it)
    std::condition_variable Activity; // a request came or a thread ended (the main thread)
    std::deque<TSyncRequest*> Pending;
    unsigned Signals = 0;
    std::function<void()> Wake;
    std::function<bool()> Pump;
};

// Never destroyed: a detached thread that has just ended may still signal it
// while the program exits.
TSyncQueue& Queue() {
    static TSyncQueue* queue = new TSyncQueue;
    return *queue;
}

void DefaultWake() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app)
        QMetaObject::invokeMethod(
            app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
}

bool DefaultPump() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    return true;
}

} // namespace

bool IsMainThread() {
    return std::this_thread::get_id() == MainThreadId;
}

bool CheckSynchronize() {
    if (!IsMainThread()) return false;
    TSyncQueue& q = Queue();
    std::deque<TSyncRequest*> batch;
    {
        std::lock_guard lock(q.Mutex);
        batch.swap(q.Pending);
    }
    for (TSyncRequest* request : batch) {
        try {
            (*request->Method)();
        } catch (...) {
            request->Error = std::current_exception();
        }
        std::lock_guard lock(q.Mutex);
        request->Done = true;
    }
    if (!batch.empty()) q.Served.notify_all();
    return !batch.empty();
}

void SetWakeMainThread(std::function<void()> Wake) {
    std::lock_guard lock(Queue().Mutex);
    Queue().Wake = std::move(Wake);
}

void SetMessagePump(std::function<bool()> Pump) {
    Queue().Pump = std::move(Pump);
}

bool ProcessMessages() {
    CheckSynchronize();
    const auto& pump = Queue().Pump;
    return pump ? pump() : DefaultPump();
}

void SignalMainThread() {
    TSyncQueue& q = Queue();
    {
        std::lock_guard lock(q.Mutex);
        ++q.Signals;
    }
    q.Activity.notify_all();
}

void ServeSynchronizeWhileNot(const std::function<bool()>& Done) {
    TSyncQueue& q = Queue();
    for (;;) {
        CheckSynchronize();
        std::unique_lock lock(q.Mutex);
        const unsigned seen = q.Signals;
        lock.unlock();
        if (Done()) return;
        lock.lock();
        // a short timeout covers conditions that change without a signal
        q.Activity.wait_for(lock, std::chrono::milliseconds(5),
                            [&] { return !q.Pending.empty() || q.Signals != seen; });
    }
}

// ---------------------------------------------------------------- events

void TSimpleEvent::SetEvent() {
    {
        std::lock_guard lock(FMutex);
        FSet = true;
    }
    FSignal.notify_all();
}

void TSimpleEvent::ResetEvent() {
    std::lock_guard lock(FMutex);
    FSet = false;
}

bool TSimpleEvent::WaitFor(std::chrono::milliseconds Timeout) {
    std::unique_lock lock(FMutex);
    return FSignal.wait_for(lock, Timeout, [this] { return FSet; });
}

void TSimpleEvent::WaitForever() {
    std::unique_lock lock(FMutex);
    FSignal.wait(lock, [this] { return FSet; });
}

// ---------------------------------------------------------------- threads

TThread::TThread(bool CreateSuspended) {
    if (!CreateSuspended) Start();
}

TThread::~TThread() {
    if (FThread.joinable()) {
        Terminate();
        WaitFor();
    }
}

// The nice value of the calling thread.
static int CurrentNice() {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0); // (on Linux: the calling thread)
    return errno == 0 ? nice : 0;
}

void TThread::SetPriority(TThreadPriority Value) {
    std::lock_guard lock(FPriorityMutex);
    FPriority.store(Value);
    ApplyPriority();
}

void TThread::ApplyPriority() {
    const int id = FThreadID.load();
    if (id == 0) return;
    // nice value steps from tpIdle to tpTimeCritical, tpNormal being the starter's
    static constexpr int Offsets[] = {40, 10, 5, 0, -5, -10, -20};
    const int nice = std::clamp(FBaseNice + Offsets[FPriority.load()], -20, 19);
    // a refusal (no privilege to lower the value) leaves the thread as it is
    setpriority(PRIO_PROCESS, static_cast<id_t>(id), nice);
}

void TThread::Start() {
    if (FStarted.exchange(true)) return;
    FBaseNice = CurrentNice();
    // a thread freed on terminate may be gone as soon as it runs: decide before
    std::thread thread([this] { Run(); });
    if (FreeOnTerminate)
        thread.detach();
    else
        FThread = std::move(thread);
}

void TThread::Run() {
    {
        std::lock_guard lock(FPriorityMutex);
        FThreadID.store(static_cast<int>(gettid()));
        ApplyPriority();
    }
    try {
        Execute();
    } catch (...) {
        // a thread's failure ends the thread; there is nobody to hand it to
    }
    {
        // the id may go to another thread once this one has ended
        std::lock_guard lock(FPriorityMutex);
        FThreadID.store(0);
    }
    FFinished.store(true);
    if (FreeOnTerminate) delete this;
    SignalMainThread();
}

void TThread::Terminate() {
    FTerminated.store(true);
    TerminatedSet();
}

void TThread::WaitFor() {
    if (!FThread.joinable()) return;
    if (IsMainThread()) ServeSynchronizeWhileNot([this] { return Finished(); });
    FThread.join();
}

void TThread::Synchronize(const std::function<void()>& Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    TSyncQueue& q = Queue();
    TSyncRequest request;
    request.Method = &Method;
    std::function<void()> wake;
    {
        std::lock_guard lock(q.Mutex);
        q.Pending.push_back(&request);
        wake = q.Wake;
    }
    q.Activity.notify_all();
    if (wake)
        wake();
    else
        DefaultWake();
    std::unique_lock lock(q.Mutex);
    q.Served.wait(lock, [&] { return request.Done; });
    lock.unlock();
    if (request.Error) std::rethrow_exception(request.Error);
}
