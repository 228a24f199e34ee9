// The console reporter that also keeps each benchmark's seconds per iteration, by its
// registered name, so that a program can print ratios beside its peers after the runs.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    explicit CollectingReporter(std::map<std::string, double>& seconds) : FSeconds(seconds) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.iterations > 0)
                FSeconds[run.run_name.function_name] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::map<std::string, double>& FSeconds;
};
