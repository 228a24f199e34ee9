// Saving and loading a large configuration through the INI store: 5,000 keys in 12
// sections written and flushed, then read back. The counter rewrites_per_flush shows how
// often the file was written per save (one write per flush is the goal).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "text/ProfileFile.h"
#include "text/UCodeIniFiles.h"

namespace {

constexpr int kKeys = 5000;
constexpr int kSections = 12;

WideString SectionName(int i) {
    return u"PB" + U16(std::to_string(i % kSections));
}
WideString KeyName(int i) {
    return u"act_ers_text_liste-" + U16(std::to_string(i)) + u"-a";
}
WideString Value(int i) {
    return u"replacement text number " + U16(std::to_string(i));
}

struct TempFolder {
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "bench-inifile-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        Dir = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }
    std::filesystem::path Dir;
};

void WriteConfiguration(const WideString& path) {
    TUCodeIniFile ini(path);
    for (int i = 0; i < kKeys; ++i)
        ini.WriteString(SectionName(i), KeyName(i), Value(i));
    ini.UpdateFile();
}

void BM_WriteAndFlush(benchmark::State& state) {
    TempFolder folder;
    int round = 0;
    uint64_t before = ProfileRewriteCount();
    for (auto _ : state) {
        WriteConfiguration(U16((folder.Dir / ("w" + std::to_string(round++) + ".qvr")).string()));
    }
    state.counters["rewrites_per_flush"] =
        static_cast<double>(ProfileRewriteCount() - before) / static_cast<double>(round);
    state.counters["keys"] = kKeys;
}
BENCHMARK(BM_WriteAndFlush)->Unit(benchmark::kMillisecond);

// Reading every key back from a store whose file is already parsed.
void BM_ReadBackCached(benchmark::State& state) {
    TempFolder folder;
    WideString path = U16((folder.Dir / "r.qvr").string());
    WriteConfiguration(path);
    TUCodeIniFile ini(path);
    for (auto _ : state) {
        size_t total = 0;
        for (int i = 0; i < kKeys; ++i)
            total += ini.ReadString(SectionName(i), KeyName(i), u"").size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadBackCached)->Unit(benchmark::kMillisecond);

// Reading every key back from a file that was not parsed yet (a fresh copy each round).
void BM_ReadBackFromDisk(benchmark::State& state) {
    TempFolder folder;
    std::filesystem::path source = folder.Dir / "source.qvr";
    WriteConfiguration(U16(source.string()));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::path copy = folder.Dir / ("c" + std::to_string(round++) + ".qvr");
        std::filesystem::copy_file(source, copy);
        state.ResumeTiming();
        TUCodeIniFile ini(U16(copy.string()));
        size_t total = 0;
        for (int i = 0; i < kKeys; ++i)
            total += ini.ReadString(SectionName(i), KeyName(i), u"").size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadBackFromDisk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
