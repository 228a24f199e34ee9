// Code-page conversions side by side with glibc's iconv on the same 100 MB text:
// UTF-8 -> UTF-16 -> UTF-8 on mixed-language text, and cp1252 both ways.
// Prints the time ratio ours / iconv for each direction (below 1: ours is faster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iconv.h>
#include <map>
#include <random>
#include <string>

#include "text/UCodeSysUtils.h"

namespace {

size_t targetBytes() {
    const char* env = std::getenv("QUORBEL_BENCH_MB");
    size_t mb = env ? std::strtoul(env, nullptr, 10) : 100;
    return (mb ? mb : 100) << 20;
}

// Lines in several scripts, mostly Latin as real text files are, some CJK and emoji.
const std::string& mixedUtf8() {
    static const std::string text = [] {
        const char* lines[] = {
            "The quick brown fox jumps over the lazy dog; it was a bright cold day in April.\r\n",
            "Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich.\r\n",
            "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n",
            "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία.\r\n",
            "いろはにほへと ちりぬるを わかよたれそ つねならむ\r\n",
            "我能吞下玻璃而不伤身体。\r\n",
            "Le cœur déçu mais l'âme plutôt naïve, Louÿs rêva de crapaüter.\r\n",
            "Emoji 😀 and more 🎉 in a line, with € and ™.\r\n",
            "Plain ASCII configuration line: key=value; other=42\r\n",
        };
        const int weights[] = {6, 3, 2, 1, 1, 1, 2, 1, 6};
        std::mt19937 rng(1);
        std::discrete_distribution<int> pick(std::begin(weights), std::end(weights));
        std::string s;
        size_t want = targetBytes();
        s.reserve(want + 200);
        while (s.size() < want)
            s += lines[pick(rng)];
        return s;
    }();
    return text;
}

const WideString& mixedWide() {
    static const WideString w = UTF8ToWide(mixedUtf8());
    return w;
}

// Latin text whose every character cp1252 holds.
const std::string& latinCp1252() {
    static const std::string text = [] {
        WideString w =
            UTF8ToWide("Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich. "
                       "Le cœur déçu, l'âme naïve — 12 € „Preis“ • Œuvre™ ‰ ž Ÿ\r\n"
                       "Plain ASCII configuration line: key=value; other=42\r\n");
        std::string line = WideToAnsiCP(w, 1252);
        std::string s;
        size_t want = targetBytes();
        s.reserve(want + line.size());
        while (s.size() < want)
            s += line;
        return s;
    }();
    return text;
}

const WideString& latinWide() {
    static const WideString w = AnsiToWideCP(latinCp1252(), 1252);
    return w;
}

// One whole-buffer iconv conversion into a result of the same kind ours returns.
template <typename Out>
Out iconvConvert(const char* to, const char* from, const void* data, size_t bytes,
                 size_t outBytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
    Out out(outBytes / sizeof(typename Out::value_type), 0);
    char* inp = const_cast<char*>(static_cast<const char*>(data));
    size_t inLeft = bytes;
    char* outp = reinterpret_cast<char*>(out.data());
    size_t outLeft = outBytes;
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) std::abort();
    iconv_close(cd);
    out.resize((outBytes - outLeft) / sizeof(typename Out::value_type));
    return out;
}

// One timed conversion: fn runs once per iteration; bytes is the text size it converts.
void registerRun(const std::string& name, std::function<void()> fn, std::function<size_t()> bytes) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [fn, bytes](benchmark::State& state) {
                                     for (auto _ : state)
                                         fn();
                                     state.SetBytesProcessed(
                                         static_cast<int64_t>(state.iterations()) *
                                         static_cast<int64_t>(bytes()));
                                 })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0)
        ->UseRealTime();
}

const char* const kDirections[] = {"Utf8ToWide", "WideToUtf8", "Cp1252ToWide", "WideToCp1252"};

void registerAll() {
    auto utf8Size = [] { return mixedUtf8().size(); };
    auto cpSize = [] { return latinCp1252().size(); };
    registerRun(
        "Utf8ToWide_Ours", [] { benchmark::DoNotOptimize(UTF8ToWide(mixedUtf8())); }, utf8Size);
    registerRun(
        "Utf8ToWide_Iconv",
        [] {
            const std::string& in = mixedUtf8();
            benchmark::DoNotOptimize(
                iconvConvert<WideString>("UTF-16LE", "UTF-8", in.data(), in.size(), 2 * in.size()));
        },
        utf8Size);
    registerRun(
        "WideToUtf8_Ours", [] { benchmark::DoNotOptimize(WideToUTF8(mixedWide())); }, utf8Size);
    registerRun(
        "WideToUtf8_Iconv",
        [] {
            const WideString& in = mixedWide();
            benchmark::DoNotOptimize(iconvConvert<std::string>("UTF-8", "UTF-16LE", in.data(),
                                                               2 * in.size(), 3 * in.size()));
        },
        utf8Size);
    registerRun(
        "Cp1252ToWide_Ours", [] { benchmark::DoNotOptimize(AnsiToWideCP(latinCp1252(), 1252)); },
        cpSize);
    registerRun(
        "Cp1252ToWide_Iconv",
        [] {
            const std::string& in = latinCp1252();
            benchmark::DoNotOptimize(iconvConvert<WideString>("UTF-16LE", "CP1252", in.data(),
                                                              in.size(), 2 * in.size()));
        },
        cpSize);
    registerRun(
        "WideToCp1252_Ours", [] { benchmark::DoNotOptimize(WideToAnsiCP(latinWide(), 1252)); },
        cpSize);
    registerRun(
        "WideToCp1252_Iconv",
        [] {
            const WideString& in = latinWide();
            benchmark::DoNotOptimize(iconvConvert<std::string>("CP1252", "UTF-16LE", in.data(),
                                                               2 * in.size(), in.size()));
        },
        cpSize);
}

// Console output plus the time of each run, for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // build the inputs before timing
    mixedWide();
    latinWide();
    std::printf("input: %zu bytes of mixed UTF-8 (%zu UTF-16 units), %zu bytes of cp1252\n",
                mixedUtf8().size(), mixedWide().size(), latinCp1252().size());
    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratio ours / iconv (below 1.00: ours is faster)\n");
    for (const char* name : kDirections) {
        auto find = [&](const std::string& suffix) {
            for (const auto& [k, v] : reporter.times)
                if (k.rfind(std::string(name) + suffix, 0) == 0) return v;
            return 0.0;
        };
        double ours = find("_Ours"), theirs = find("_Iconv");
        if (ours > 0 && theirs > 0)
            std::printf("  %-14s %6.2f  (%.1f vs %.1f ms)\n", name, ours / theirs, ours, theirs);
    }
    benchmark::Shutdown();
    return 0;
}
