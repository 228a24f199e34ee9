// One batch run "Convert and Save" over a folder of text files with one plain and one
// regular-expression replacement, every output written to a folder of its own. The files
// come from QUORBEL_BATCH_DIR (bench/batchrun.sh prepares 2,000 files of 50 KB there) or
// are made here. Prints the time per run and the peak memory beside the largest file. No
// peer: the tools that rewrite files in place are compared in bench/program.sh.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "engine/BatchRun.h"
#include "text/TextEncodings.h"

namespace {

namespace fs = std::filesystem;

// A window that never asks anything (the run is unattended at silent level 2).
class QuietRun : public RunInterface {
public:
    void ConversionSender(const void*) override {}
    void RegExError(WideStringView) override {}
    void ReportProgramError(WideStringView, std::string_view) override {}
    void ShowMessage(std::string_view key, WideStringView path) override {
        std::fprintf(stderr, "message %s %s\n", std::string(key).c_str(), U8(path).c_str());
    }
    void ShowFilesNotFound(WideStringView first, int count) override {
        std::fprintf(stderr, "%d files not found, first %s\n", count, U8(first).c_str());
    }
    bool MessagesSuppressed() override { return false; }
    OverwriteAnswer AskOverwrite(WideStringView) override { return OverwriteAnswer::Yes; }
    void ShowProgress(int) override {}
    void ProgressFile(WideStringView) override {}
    void ProgressPosition(int) override {}
    void HideProgress() override {}
    bool CancelRequested() override { return false; }
    void ResetDialogAnswers() override {}
    void ProcessMessages() override {}
    void SetWorkingWindowEnabled(bool) override {}
    void FocusWorkingWindow() override {}
    void BeginListUpdate() override {}
    void EndListUpdate() override {}
    void SetRowState(WideStringView, FileState) override {}
    void SetRowEncodingName(WideStringView, WideStringView) override {}
    void RemoveRow(WideStringView) override {}
    void RowCountChanged() override {}
    void ReloadPreview() override {}
};

constexpr int kFiles = 2000;
constexpr size_t kFileBytes = 50 * 1024;

// Lines of words and numbers, LF line breaks, like the files the script makes.
void makeFiles(const fs::path& dir) {
    static const char* const words[] = {"the",  "quick", "brown", "fox",  "jumps", "over",
                                        "lazy", "dog",   "line",  "text", "file",  "word"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 15);
    fs::create_directories(dir);
    for (int f = 0; f < kFiles; ++f) {
        std::string text;
        int column = 0;
        while (text.size() < kFileBytes) {
            const int w = pick(rng);
            text += w < 12 ? words[w] : std::to_string(rng() % 100000);
            if (++column == 10) {
                text += '\n';
                column = 0;
            } else {
                text += ' ';
            }
        }
        text.resize(kFileBytes);
        char name[32];
        std::snprintf(name, sizeof name, "f%04d.txt", f);
        std::ofstream(dir / name, std::ios::binary) << text;
    }
}

struct Input {
    fs::path dir;
    std::vector<ListRow> rows;
    uintmax_t largest = 0;
};

const Input& input() {
    static const Input in = [] {
        Input k;
        const char* given = std::getenv("QUORBEL_BATCH_DIR");
        if (given && *given) {
            k.dir = given;
        } else {
            k.dir = fs::temp_directory_path() / ("quorbel_batchrun_" + std::to_string(::getpid()));
            makeFiles(k.dir);
        }
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(k.dir))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& p : files) {
            k.largest = std::max(k.largest, fs::file_size(p));
            k.rows.push_back({U16(p.filename().string()),
                              {u"TXT", u"", u"", u"", u"New", U16(p.string()), u""}});
        }
        return k;
    }();
    return in;
}

double bestSeconds = 0;    // wall-clock time of the fastest run
double bestCpuSeconds = 0; // user + system time of the fastest run

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_BatchRun(benchmark::State& state) {
    const Input& in = input();
    const fs::path out = in.dir.parent_path() / (in.dir.filename().string() + "_out");
    MemorySettings s;
    s.SetRows({"Tprog", "qulist"}, in.rows);
    s.SetText({"Tprog", "out_ordner"}, U16(out.string()));
    s.SetText({"Tprog", "out_name"}, "%name%");
    s.SetChecked({"Tprog", "act_ers_text"}, true);
    s.SetText({"Tprog", "act_ers_text_suchen"}, "fox");
    s.SetText({"Tprog", "act_ers_text_ersetzen"}, "cat");
    s.SetRows({"Tprog", "act_ers_text_liste"}, {{u"[0-9]+", {u"#", u"x/-"}}});
    QuietRun ui;
    ProgramState program(U16(out.string()));
    program.Silent = SilentLevel::NoWindow;
    ConversionEngine engine(s, ui, program);
    BatchRun run(engine);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        run.durchfuehrenClick(nullptr);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (bestSeconds == 0 || seconds < bestSeconds) {
            bestSeconds = seconds;
            bestCpuSeconds = cpuSeconds() - cpuStart;
        }
    }
    state.counters["files"] = static_cast<double>(in.rows.size());
    fs::remove_all(out);
}
BENCHMARK(BM_BatchRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void printSummary() {
    const Input& in = input();
    std::printf("\nbatch run: %zu files, best run %.3f s wall-clock, %.3f s CPU\n", in.rows.size(),
                bestSeconds, bestCpuSeconds);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB; largest file: %.1f KB\n", usage.ru_maxrss / 1024.0,
                static_cast<double>(in.largest) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The memory before the run: the program and its libraries.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const Input& in = input();
    std::printf("memory before the run: %.1f MB\n", usage.ru_maxrss / 1024.0);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    if (!std::getenv("QUORBEL_BATCH_DIR")) fs::remove_all(in.dir);
    return 0;
}
