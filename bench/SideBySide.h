// Timing our side and its peers on the same work, the way every in-process benchmark
// here does it: each measurement runs in a child process of its own (so one side's
// allocations and warm caches never help or hurt the next, and its peak memory is its
// own), the rounds are interleaved (round 1 runs every side once, then round 2, ...),
// and the medians are reported (and, where the work times its keys one by one, the
// median key, the worst and the longest pass of the event loop; where the work names its
// steps, the median and the worst of each; where a case has a target, a figure over it is
// marked). A named step that does not do what it should is marked and not counted; one
// that runs past a limit gives up its round instead of hanging the run.
// Each result row also goes to the table that bench/run.sh prints at the end (the file
// named by QUORBEL_BENCH_TABLE).
#pragma once

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace bench {

// One named step of a work (see TimeStep) and its seconds.
struct StepTime {
    char name[24] = {};
    double seconds = 0;
    bool wrong = false; // it did not do what it should: its seconds do not count
};

constexpr int kMaxSteps = 16; // in one measurement

// A pass of the event loop longer than this is one a person notices.
constexpr double kSlowPassSeconds = 0.050;

// Wall-clock seconds of one measurement and the memory it added at its peak, in MB.
struct Measure {
    double seconds = 0;
    double peakMB = 0;
    double keyMedian = 0, keyWorst = 0; // of the keys timed one by one, if any
    double passWorst = 0;               // the longest pass of the event loop, if timed
    int slowPasses = 0;                 // the passes over kSlowPassSeconds
    double load = 0;                    // the load average of the last minute, at the end
    int stepCount = 0;
    StepTime steps[kMaxSteps]; // the named steps, in order
    bool gaveUp = false;       // a step ran past its limit: no figures
};

// Time the work spent waiting on a pause of the program's own (a timer's interval), which
// it sets here to have it taken off its time.
inline double UntimedSeconds = 0;

// The seconds of each key, where the work times its keys one by one (see TimeKey).
inline std::vector<double> KeySeconds;

// Time within the key being timed spent waiting on a pause of the program's own, which the
// key's work sets here to have it taken off the key's time (as UntimedSeconds for the work).
inline double KeyUntimedSeconds = 0;

// The longest pass of the event loop, and the passes over kSlowPassSeconds, where the work
// times its passes (see TimePass).
inline double PassWorstSeconds = 0;
inline int SlowPasses = 0;

// The named steps of the work, where it names them (see TimeStep).
inline std::vector<StepTime> Steps;

// Runs one pass of the event loop (or the handling of one event), timed on its own.
inline void TimePass(const std::function<void()>& Pass) {
    const auto start = std::chrono::steady_clock::now();
    Pass();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PassWorstSeconds = std::max(PassWorstSeconds, seconds);
    if (seconds > kSlowPassSeconds) ++SlowPasses;
}

// Runs one key and what answers it, timed on its own.
inline void TimeKey(const std::function<void()>& Key) {
    KeyUntimedSeconds = 0;
    const auto start = std::chrono::steady_clock::now();
    Key();
    KeySeconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() -
        KeyUntimedSeconds);
}

// The exit status of a measurement whose step ran past its limit: the round is given up,
// without figures, and the run goes on.
constexpr int kGaveUpStatus = 3;

// The seconds a step may take before its round is given up: QUORBEL_BENCH_STEP_LIMIT,
// default two minutes.
inline double StepLimitSeconds() {
    const char* env = std::getenv("QUORBEL_BENCH_STEP_LIMIT");
    const double limit = env ? std::atof(env) : 0;
    return limit > 0 ? limit : 120;
}

// While it lives, ends the measurement (the child process it runs in) once What has run
// for Seconds: a program that takes minutes or hangs in a step gives up that round instead
// of holding up the run.
class GiveUpAfter {
public:
    GiveUpAfter(std::string What, double Seconds)
        : FThread([this, What = std::move(What), Seconds] {
              std::unique_lock<std::mutex> lock(FMutex);
              if (FDone.wait_for(lock, std::chrono::duration<double>(Seconds),
                                 [this] { return FFinished; }))
                  return;
              std::fprintf(stderr, "%s still runs after %.0f s: the round is given up\n",
                           What.c_str(), Seconds);
              std::fflush(stderr);
              _exit(kGaveUpStatus);
          }) {}
    GiveUpAfter(const GiveUpAfter&) = delete;
    GiveUpAfter& operator=(const GiveUpAfter&) = delete;
    ~GiveUpAfter() {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FFinished = true;
        }
        FDone.notify_one();
        FThread.join();
    }

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FFinished = false;
    std::thread FThread; // last: it starts once the others are made
};

// Runs one named step of the work (a key, a jump, a drag) and what answers it, timed as a
// key is and reported under its name; a step over StepLimitSeconds gives up the round.
// Check, untimed (and with the same limit), then names what the step did wrong, if
// anything: the fault goes to the error output, and the step is counted as wrong instead
// of by its time.
inline void TimeStep(const char* Name, const std::function<void()>& Step,
                     const std::function<std::string()>& Check = {}) {
    if (Steps.size() >= size_t(kMaxSteps)) {
        std::fprintf(stderr, "more than %d named steps in one measurement\n", kMaxSteps);
        _exit(1);
    }
    {
        GiveUpAfter limit(std::string("the step \"") + Name + "\"", StepLimitSeconds());
        TimeKey(Step);
    }
    StepTime step;
    std::strncpy(step.name, Name, sizeof step.name - 1);
    step.seconds = KeySeconds.back();
    if (Check) {
        GiveUpAfter limit(std::string("the check of \"") + Name + "\"", StepLimitSeconds());
        const auto start = std::chrono::steady_clock::now();
        const std::string fault = Check();
        UntimedSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!fault.empty()) {
            std::fprintf(stderr, "%s: %s\n", Name, fault.c_str());
            step.wrong = true;
            KeySeconds.pop_back();
        }
    }
    Steps.push_back(step);
}

// The load average of the last minute.
inline double LoadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

inline long StatusKB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
    return 0;
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs `work` once in a forked child. The child starts with the parent's pages shared,
// so its peak above its resident size at the start is the memory the work added.
// `prepare`, when given, runs in the child first, neither timed nor counted.
inline Measure MeasureInChild(const std::function<void()>& work,
                              const std::function<void()>& prepare = {}) {
    // Memory the parent freed but kept would be reused by the child without counting.
    malloc_trim(0);
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    const pid_t child = fork();
    if (child < 0) std::abort();
    if (child == 0) {
        close(fds[0]);
        if (prepare) prepare();
        UntimedSeconds = 0;
        KeySeconds.clear(); // only the work's keys, steps and passes count
        Steps.clear();
        PassWorstSeconds = 0;
        SlowPasses = 0;
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
        const long before = StatusKB("VmRSS");
        const auto start = std::chrono::steady_clock::now();
        work();
        Measure m;
        m.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() -
            UntimedSeconds;
        m.peakMB = std::max(0L, StatusKB("VmHWM") - before) / 1024.0;
        if (!KeySeconds.empty()) {
            m.keyMedian = Median(KeySeconds);
            m.keyWorst = *std::max_element(KeySeconds.begin(), KeySeconds.end());
        }
        m.passWorst = PassWorstSeconds;
        m.slowPasses = SlowPasses;
        m.load = LoadAverage();
        m.stepCount = int(Steps.size());
        std::copy(Steps.begin(), Steps.end(), m.steps);
        if (write(fds[1], &m, sizeof m) != sizeof m) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Measure m;
    const bool got = read(fds[0], &m, sizeof m) == sizeof m;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kGaveUpStatus) {
        m = Measure();
        m.gaveUp = true;
        return m;
    }
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a measurement failed\n");
        std::exit(1);
    }
    return m;
}

inline int Rounds() {
    const char* env = std::getenv("QUORBEL_BENCH_ROUNDS");
    const int n = env ? std::atoi(env) : 5;
    return n > 0 ? n : 5;
}

// One side of a comparison: a name as its users know it and the work it does.
struct Side {
    Side(std::string n, std::function<void()> w) : name(std::move(n)), work(std::move(w)) {}
    std::string name;
    std::function<void()> work;
    std::function<void()> prepare; // untimed, in the same child before the work
    std::vector<double> seconds;
    double peakMB = 0;
    std::vector<double> keyMedians; // per round, where the keys are timed
    double keyWorst = 0;            // over every round
    double passWorst = 0;           // over every round, where the passes are timed
    int slowPasses = 0;             // the most in one round
    double load = 0;                // the highest over the rounds
    struct StepRounds {
        std::string name;
        std::vector<double> seconds; // in each round where it was right
        int wrong = 0;               // the rounds where it was not
    };
    std::vector<StepRounds> steps; // the named steps, in the order met
    int gaveUp = 0;                // rounds given up (a step ran past its limit)
};

// One piece of work done by every side; sides[0] is ours. Our figures over a target
// (where one is given), and our rounds given up, are marked in the report.
struct Case {
    std::string name;
    std::vector<Side> sides;
    double targetSeconds = 0;          // the whole work
    double keyTargetSeconds = 0;       // the median key
    double stepTargetSeconds = 0;      // each named step's median over the rounds
    double stepWorstTargetSeconds = 0; // any one named step in any round
    bool noSlowPass = false;           // no pass of the event loop over kSlowPassSeconds
    int rounds = 0;                    // at most this many rounds, where set
};

// Runs every side of every case once per round, rounds interleaved.
inline void RunInterleaved(std::vector<Case>& cases, int rounds) {
    for (int r = 0; r < rounds; ++r) {
        for (Case& c : cases)
            for (Side& s : c.sides) {
                if (c.rounds > 0 && r >= c.rounds) continue;
                const Measure m = MeasureInChild(s.work, s.prepare);
                if (m.gaveUp) {
                    ++s.gaveUp;
                    std::fprintf(stderr, "%s, %s: round %d given up\n", c.name.c_str(),
                                 s.name.c_str(), r + 1);
                    continue;
                }
                s.seconds.push_back(m.seconds);
                s.peakMB = std::max(s.peakMB, m.peakMB);
                if (m.keyWorst > 0) {
                    s.keyMedians.push_back(m.keyMedian);
                    s.keyWorst = std::max(s.keyWorst, m.keyWorst);
                }
                s.passWorst = std::max(s.passWorst, m.passWorst);
                s.slowPasses = std::max(s.slowPasses, m.slowPasses);
                s.load = std::max(s.load, m.load);
                for (int i = 0; i < m.stepCount; ++i) {
                    const StepTime& step = m.steps[i];
                    auto it = std::find_if(s.steps.begin(), s.steps.end(),
                                           [&](const auto& t) { return t.name == step.name; });
                    if (it == s.steps.end()) it = s.steps.insert(s.steps.end(), {step.name, {}, 0});
                    if (step.wrong) {
                        ++it->wrong;
                        std::fprintf(stderr, "%s, %s: %s was wrong in round %d (see above)\n",
                                     c.name.c_str(), s.name.c_str(), step.name, r + 1);
                    } else {
                        it->seconds.push_back(step.seconds);
                    }
                }
            }
        std::fprintf(stderr, "round %d of %d done\n", r + 1, rounds);
    }
}

// The keys of one side, where they are timed: the median key, the worst, the longest
// pass of the event loop where timed, with the passes over kSlowPassSeconds in the round
// that had the most and the highest load average of the machine.
inline std::string KeysOf(const Side& S) {
    if (S.keyMedians.empty()) return {};
    char text[200];
    int n = std::snprintf(text, sizeof text, "median %.1f worst %.1f", Median(S.keyMedians) * 1000,
                          S.keyWorst * 1000);
    if (S.passWorst > 0)
        std::snprintf(text + n, sizeof text - size_t(n),
                      " longest pass %.1f (%d over %.0f, load %.2f)", S.passWorst * 1000,
                      S.slowPasses, kSlowPassSeconds * 1000, S.load);
    return text;
}

// One named step of a side: its median over the rounds and the worst, in ms, and the
// rounds where it was wrong.
inline std::string StepOf(const Side& S, const std::string& Name) {
    for (const Side::StepRounds& step : S.steps)
        if (step.name == Name) {
            char text[80] = "";
            int n = 0;
            if (!step.seconds.empty())
                n = std::snprintf(
                    text, sizeof text, "median %.1f worst %.1f", Median(step.seconds) * 1000,
                    *std::max_element(step.seconds.begin(), step.seconds.end()) * 1000);
            if (step.wrong > 0)
                std::snprintf(text + n, sizeof text - size_t(n), "%swrong %d of %d",
                              n > 0 ? " " : "", step.wrong, step.wrong + int(step.seconds.size()));
            return text;
        }
    return {};
}

// A row per named step of our side, with the peers' figures of the step of that name, and
// the marks of the steps over the case's targets or wrong.
inline void ReportSteps(const Case& C) {
    const Side& ours = C.sides[0];
    for (const Side::StepRounds& step : ours.steps) {
        const std::string& name = step.name;
        std::string row = name + ", ms: ours " + StepOf(ours, name);
        for (size_t i = 1; i < C.sides.size(); ++i)
            if (const std::string peer = StepOf(C.sides[i], name); !peer.empty())
                row += ", " + C.sides[i].name + " " + peer;
        std::printf("%-20s %s\n", "", row.c_str());
        if (step.wrong > 0)
            std::printf("%-20s FAULT: %s did not do what it should in %d of %d rounds (the "
                        "error output says what)\n",
                        "", name.c_str(), step.wrong, step.wrong + int(step.seconds.size()));
        if (step.seconds.empty()) continue;
        const double median = Median(step.seconds);
        const double worst = *std::max_element(step.seconds.begin(), step.seconds.end());
        if (C.stepTargetSeconds > 0 && median > C.stepTargetSeconds)
            std::printf("%-20s OVER TARGET: %s takes %.1f ms as the median, the target is "
                        "%.1f ms\n",
                        "", name.c_str(), median * 1000, C.stepTargetSeconds * 1000);
        if (C.stepWorstTargetSeconds > 0 && worst > C.stepWorstTargetSeconds)
            std::printf("%-20s OVER TARGET: %s takes up to %.1f ms, the target is %.1f ms "
                        "for any one\n",
                        "", name.c_str(), worst * 1000, C.stepWorstTargetSeconds * 1000);
    }
}

// Prints one row per peer of every case (ratio = our median / the peer's, above 1 =
// slower) and appends the same rows to the run's table. `megabytes` is the size of the
// work's input as the user has it, for the MB/s column. A median over the case's target
// is marked "over target".
inline void Report(const std::string& benchmark, const std::vector<Case>& cases, double megabytes) {
    const char* tablePath = std::getenv("QUORBEL_BENCH_TABLE");
    std::ofstream table;
    if (tablePath && *tablePath) table.open(tablePath, std::ios::app);
    std::printf("\n%-20s %-18s %8s %9s %9s %9s %9s %9s\n", "case", "peer", "ratio", "ours s",
                "peer s", "ours MB/s", "ours MB", "peer MB");
    for (const Case& c : cases) {
        const Side& ours = c.sides[0];
        const double o = Median(ours.seconds);
        for (const Side& s : c.sides)
            if (s.gaveUp > 0)
                std::printf("%-20s OVER TARGET: %s gave up %d of %d rounds: a step ran over "
                            "%.0f s\n",
                            c.name.c_str(), &s == &ours ? "ours" : s.name.c_str(), s.gaveUp,
                            s.gaveUp + int(s.seconds.size()), StepLimitSeconds());
        if (ours.seconds.empty()) continue;
        if (c.sides.size() == 1) // no peer does this work in a time worth waiting for
            std::printf("%-20s %-18s %8s %9.3f %9s %9.0f %9.1f %9s\n", c.name.c_str(), "(none)", "",
                        o, "", megabytes / o, ours.peakMB, "");
        for (size_t i = 1; i < c.sides.size(); ++i) {
            const Side& peer = c.sides[i];
            if (peer.seconds.empty()) continue;
            const double p = Median(peer.seconds);
            const double ratio = p > 0 ? o / p : 0;
            std::printf("%-20s %-18s %8.2f %9.3f %9.3f %9.0f %9.1f %9.1f\n", c.name.c_str(),
                        peer.name.c_str(), ratio, o, p, megabytes / o, ours.peakMB, peer.peakMB);
            if (table.is_open())
                table << benchmark << '\t' << c.name << '\t' << peer.name << '\t' << ratio << '\t'
                      << o << '\t' << p << '\t' << megabytes / o << '\t' << ours.peakMB << '\t'
                      << peer.peakMB << '\n';
        }
        if (!ours.keyMedians.empty()) {
            std::string keys = "per key, ms: ours " + KeysOf(ours);
            for (size_t i = 1; i < c.sides.size(); ++i)
                if (!c.sides[i].keyMedians.empty())
                    keys += ", " + c.sides[i].name + " " + KeysOf(c.sides[i]);
            std::printf("%-20s %s\n", "", keys.c_str());
        }
        ReportSteps(c);
        if (c.noSlowPass && ours.slowPasses > 0)
            std::printf("%-20s OVER TARGET: %d passes of the event loop over %.0f ms in a round, "
                        "the longest %.1f ms (load %.2f)\n",
                        "", ours.slowPasses, kSlowPassSeconds * 1000, ours.passWorst * 1000,
                        ours.load);
        if (c.targetSeconds > 0 && o > c.targetSeconds)
            std::printf("%-20s OVER TARGET: ours takes %.3f s, the target is %.3f s\n", "", o,
                        c.targetSeconds);
        if (c.keyTargetSeconds > 0 && !ours.keyMedians.empty() &&
            Median(ours.keyMedians) > c.keyTargetSeconds)
            std::printf("%-20s OVER TARGET: our median key takes %.1f ms, the target is %.1f ms\n",
                        "", Median(ours.keyMedians) * 1000, c.keyTargetSeconds * 1000);
    }
}

// The overall ratio per kind of work (the first word of the cases' names) and peer: the
// sum of our medians over the sum of the peer's.
inline void ReportOverall(const std::string& benchmark, const std::vector<Case>& cases) {
    struct Sums {
        double ours = 0, peer = 0;
    };
    std::vector<std::pair<std::string, Sums>> sums; // "kind|peer", in the order met
    for (const Case& c : cases) {
        const std::string kind = c.name.substr(0, c.name.find(' '));
        for (size_t i = 1; i < c.sides.size(); ++i) {
            const std::string key = kind + "|" + c.sides[i].name;
            auto it = std::find_if(sums.begin(), sums.end(),
                                   [&](const auto& s) { return s.first == key; });
            if (it == sums.end()) it = sums.insert(sums.end(), {key, Sums{}});
            it->second.ours += Median(c.sides[0].seconds);
            it->second.peer += Median(c.sides[i].seconds);
        }
    }
    const char* tablePath = std::getenv("QUORBEL_BENCH_TABLE");
    std::ofstream table;
    if (tablePath && *tablePath) table.open(tablePath, std::ios::app);
    std::printf("\n");
    for (const auto& [key, s] : sums) {
        const std::string kind = key.substr(0, key.find('|')), peer = key.substr(key.find('|') + 1);
        std::printf("overall %-8s / %-18s %6.2f\n", kind.c_str(), peer.c_str(), s.ours / s.peer);
        if (table.is_open())
            table << benchmark << '\t' << kind << " overall\t" << peer << '\t' << s.ours / s.peer
                  << '\t' << s.ours << '\t' << s.peer << "\t\t\t\n";
    }
}

} // namespace bench
