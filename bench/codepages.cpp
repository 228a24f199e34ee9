// Code-page conversions side by side with glibc's iconv on the same 100 MB text:
// UTF-8 -> UTF-16 -> UTF-8 on mixed-language text, and cp1252 both ways.
// Prints the time ratio ours / iconv for each direction (below 1: ours is faster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
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

void setBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void Utf8ToWide_Ours(benchmark::State& state) {
    const std::string& in = mixedUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(UTF8ToWide(in));
    setBytes(state, in.size());
}

void Utf8ToWide_Iconv(benchmark::State& state) {
    const std::string& in = mixedUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            iconvConvert<WideString>("UTF-16LE", "UTF-8", in.data(), in.size(), 2 * in.size()));
    setBytes(state, in.size());
}

void WideToUtf8_Ours(benchmark::State& state) {
    const WideString& in = mixedWide();
    for (auto _ : state)
        benchmark::DoNotOptimize(WideToUTF8(in));
    setBytes(state, mixedUtf8().size());
}

void WideToUtf8_Iconv(benchmark::State& state) {
    const WideString& in = mixedWide();
    for (auto _ : state)
        benchmark::DoNotOptimize(iconvConvert<std::string>("UTF-8", "UTF-16LE", in.data(),
                                                           2 * in.size(), 3 * in.size()));
    setBytes(state, mixedUtf8().size());
}

void Cp1252ToWide_Ours(benchmark::State& state) {
    const std::string& in = latinCp1252();
    for (auto _ : state)
        benchmark::DoNotOptimize(AnsiToWideCP(in, 1252));
    setBytes(state, in.size());
}

void Cp1252ToWide_Iconv(benchmark::State& state) {
    const std::string& in = latinCp1252();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            iconvConvert<WideString>("UTF-16LE", "CP1252", in.data(), in.size(), 2 * in.size()));
    setBytes(state, in.size());
}

void WideToCp1252_Ours(benchmark::State& state) {
    const WideString& in = latinWide();
    for (auto _ : state)
        benchmark::DoNotOptimize(WideToAnsiCP(in, 1252));
    setBytes(state, in.size());
}

void WideToCp1252_Iconv(benchmark::State& state) {
    const WideString& in = latinWide();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            iconvConvert<std::string>("CP1252", "UTF-16LE", in.data(), 2 * in.size(), in.size()));
    setBytes(state, in.size());
}

#define QUORBEL_PAIR(name)                                                                         \
    BENCHMARK(name##_Ours)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();            \
    BENCHMARK(name##_Iconv)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime()

QUORBEL_PAIR(Utf8ToWide);
QUORBEL_PAIR(WideToUtf8);
QUORBEL_PAIR(Cp1252ToWide);
QUORBEL_PAIR(WideToCp1252);

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
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratio ours / iconv (below 1.00: ours is faster)\n");
    for (const char* name : {"Utf8ToWide", "WideToUtf8", "Cp1252ToWide", "WideToCp1252"}) {
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
