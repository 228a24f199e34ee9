// Timing our side and its peers on the same work, the way every in-process benchmark
// here does it: each measurement runs in a child process of its own (so one side's
// allocations and warm caches never help or hurt the next, and its peak memory is its
// own), the rounds are interleaved (round 1 runs every side once, then round 2, ...),
// and the medians are reported (and, where the work times its keys one by one, the
// median key, the worst and the longest pass of the event loop; where a case has a
// target, a median over it is marked). Each result row also goes to the table that
// bench/run.sh prints at the end (the file named by QUORBEL_BENCH_TABLE).
#pragma once

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Wall-clock seconds of one measurement and the memory it added at its peak, in MB.
struct Measure {
    double seconds = 0;
    double peakMB = 0;
    double keyMedian = 0, keyWorst = 0; // of the keys timed one by one, if any
    double passWorst = 0;               // the longest pass of the event loop, if timed
};

// Time the work spent waiting on a pause of the program's own (a timer's interval), which
// it sets here to have it taken off its time.
inline double UntimedSeconds = 0;

// The seconds of each key, where the work times its keys one by one (see TimeKey).
inline std::vector<double> KeySeconds;

// The longest pass of the event loop, where the work times its passes (see TimePass).
inline double PassWorstSeconds = 0;

// Runs one pass of the event loop (or the handling of one event), timed on its own.
inline void TimePass(const std::function<void()>& Pass) {
    const auto start = std::chrono::steady_clock::now();
    Pass();
    PassWorstSeconds =
        std::max(PassWorstSeconds,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

// Runs one key and what answers it, timed on its own.
inline void TimeKey(const std::function<void()>& Key) {
    const auto start = std::chrono::steady_clock::now();
    Key();
    KeySeconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
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
        KeySeconds.clear(); // only the work's keys and passes count
        PassWorstSeconds = 0;
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
        if (write(fds[1], &m, sizeof m) != sizeof m) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Measure m;
    const bool got = read(fds[0], &m, sizeof m) == sizeof m;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
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
};

// One piece of work done by every side; sides[0] is ours. Our median above a target
// (where one is given) is marked in the report.
struct Case {
    std::string name;
    std::vector<Side> sides;
    double targetSeconds = 0;    // the whole work
    double keyTargetSeconds = 0; // the median key
};

// Runs every side of every case once per round, rounds interleaved.
inline void RunInterleaved(std::vector<Case>& cases, int rounds) {
    for (int r = 0; r < rounds; ++r) {
        for (Case& c : cases)
            for (Side& s : c.sides) {
                const Measure m = MeasureInChild(s.work, s.prepare);
                s.seconds.push_back(m.seconds);
                s.peakMB = std::max(s.peakMB, m.peakMB);
                if (m.keyWorst > 0) {
                    s.keyMedians.push_back(m.keyMedian);
                    s.keyWorst = std::max(s.keyWorst, m.keyWorst);
                }
                s.passWorst = std::max(s.passWorst, m.passWorst);
            }
        std::fprintf(stderr, "round %d of %d done\n", r + 1, rounds);
    }
}

// The keys of one side, where they are timed: the median key, the worst, the longest
// pass of the event loop where timed.
inline std::string KeysOf(const Side& S) {
    if (S.keyMedians.empty()) return {};
    char text[120];
    int n = std::snprintf(text, sizeof text, "median %.1f worst %.1f", Median(S.keyMedians) * 1000,
                          S.keyWorst * 1000);
    if (S.passWorst > 0)
        std::snprintf(text + n, sizeof text - size_t(n), " longest pass %.1f", S.passWorst * 1000);
    return text;
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
        if (c.sides.size() == 1) // no peer does this work in a time worth waiting for
            std::printf("%-20s %-18s %8s %9.3f %9s %9.0f %9.1f %9s\n", c.name.c_str(), "(none)", "",
                        o, "", megabytes / o, ours.peakMB, "");
        for (size_t i = 1; i < c.sides.size(); ++i) {
            const Side& peer = c.sides[i];
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
