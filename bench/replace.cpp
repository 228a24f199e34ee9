// Replacement throughput: ReplaceAllW and WideStringReplace (ignoring case) over a
// 100 MB mixed-language text, beside a plain std::string search-and-replace on the
// UTF-8 form of the same text. Prints the time ratios at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "text/WideStrUtils.h"

namespace {

constexpr size_t kTextBytes = 100u << 20;

// Two texts: a mixed-language one (German, English, Russian, Greek, Chinese and
// Japanese in equal shares of words) and a Latin-script one (English and German),
// where the UTF-8 form is about half the size of the UTF-16 form.
const char* const kMixedWords[] = {
    "Straße", "Äpfel", "über", "Größe",    "fox",      "the",  "quick",   "lazy",
    "щука",   "рыба",  "море", "время",    "καλή",     "μέρα", "θάλασσα", "文字",
    "日本語", "東京",  "漢字", "ひらがな", "カタカナ", "\r\n", ",",       ".",
};
const char* const kLatinWords[] = {
    "the",     "quick",   "brown", "fox",   "jumps",  "over", "lazy", "dog",
    "Straße",  "Äpfel",   "über",  "Größe", "line",   "text", "file", "word",
    "replace", "Quorbel", "data",  "value", "number", "\r\n", ",",    ".",
};

struct Corpus {
    std::string utf8;
    WideString wide;
};

template <size_t N> Corpus makeCorpus(const char* const (&words)[N]) {
    Corpus k;
    std::mt19937 rng(2024);
    std::uniform_int_distribution<size_t> pick(0, N - 1);
    k.utf8.reserve(kTextBytes + 64);
    while (k.utf8.size() < kTextBytes) {
        k.utf8 += words[pick(rng)];
        k.utf8 += ' ';
    }
    k.wide = U16(k.utf8);
    return k;
}

const Corpus& corpus(int64_t kind) {
    static const Corpus mixed = makeCorpus(kMixedWords);
    static const Corpus latin = makeCorpus(kLatinWords);
    return kind == 0 ? mixed : latin;
}
const char* const kCorpusNames[] = {"mixed", "latin"};

// The peer: an ordinary search-and-replace on std::string (find is memchr plus
// compare in libstdc++), sized exactly once (a counting run only when the text grows;
// reserving just the text's length instead takes about as long). Its result lives in
// ordinary pages, while the wide routines ask for large pages for a large result:
// with GLIBC_TUNABLES=glibc.malloc.hugetlb=1 the peer gets them too, which leaves
// the cost of searching and copying side by side.
std::string stdReplaceAll(const std::string& s, const std::string& old, const std::string& rep) {
    size_t size = s.size();
    if (rep.size() > old.size())
        for (size_t at = s.find(old); at != std::string::npos; at = s.find(old, at + old.size()))
            size += rep.size() - old.size();
    std::string r;
    r.reserve(size);
    size_t from = 0;
    for (size_t at; (at = s.find(old, from)) != std::string::npos; from = at + old.size())
        r.append(s, from, at - from).append(rep);
    r.append(s, from, std::string::npos);
    return r;
}

// Each case: the word replaced and its replacement.
const char* const kOld[] = {"Straße", "fox"};
const char* const kNew[] = {"Strasse", "dog"};

// Runs replace(text, old, new) on the UTF-8 (Wide = false) or UTF-16 form of the
// text chosen by the first argument, with the word chosen by the second.
template <bool Wide, typename Replace> void run(benchmark::State& state, Replace replace) {
    const auto& c = corpus(state.range(0));
    const std::string old = kOld[state.range(1)], rep = kNew[state.range(1)];
    for (auto _ : state) {
        if constexpr (Wide)
            benchmark::DoNotOptimize(replace(c.wide, U16(old), U16(rep)));
        else
            benchmark::DoNotOptimize(replace(c.utf8, old, rep));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.utf8.size()));
}

void BM_StdString(benchmark::State& state) {
    run<false>(state, stdReplaceAll);
}

void BM_ReplaceAllW(benchmark::State& state) {
    run<true>(state, [](WideStringView s, WideStringView old, WideStringView rep) {
        return ReplaceAllW(s, old, rep);
    });
}

void BM_WideStringReplaceIgnoreCase(benchmark::State& state) {
    run<true>(state, [](WideStringView s, WideStringView old, WideStringView rep) {
        return WideStringReplace(s, old, rep, false, rfReplaceAll | rfIgnoreCase);
    });
}

// Arguments: text (0 mixed, 1 Latin script), word (0 "Straße" growing to "Strasse",
// 1 "fox" replaced by "dog" of the same length).
#define REPLACE_BENCH(fn)                                                                          \
    BENCHMARK(fn)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->Repetitions(3)
REPLACE_BENCH(BM_StdString);
REPLACE_BENCH(BM_ReplaceAllW);
REPLACE_BENCH(BM_WideStringReplaceIgnoreCase);

// Keeps the best time per iteration of every benchmark over its repetitions (the
// least disturbed by other work on the machine), for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                const double t = run.real_accumulated_time / static_cast<double>(run.iterations);
                auto [it, added] =
                    seconds.emplace(run.run_name.function_name + "/" + run.run_name.args, t);
                if (!added) it->second = std::min(it->second, t);
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nTime ratio to std::string search-and-replace on the UTF-8 form "
                "(target <= 1.5):\n");
    for (int text = 0; text < 2; ++text) {
        const Corpus& c = corpus(text);
        std::printf("  %s text: %zu bytes UTF-8, %zu bytes UTF-16\n", kCorpusNames[text],
                    c.utf8.size(), c.wide.size() * sizeof(WideChar));
        for (size_t word = 0; word < std::size(kOld); ++word) {
            const std::string args = std::to_string(text) + "/" + std::to_string(word);
            const auto peer = reporter.seconds.find("BM_StdString/" + args);
            if (peer == reporter.seconds.end()) continue;
            for (const char* name : {"BM_ReplaceAllW", "BM_WideStringReplaceIgnoreCase"}) {
                const auto ours = reporter.seconds.find(std::string(name) + "/" + args);
                if (ours != reporter.seconds.end())
                    std::printf("    %-32s \"%s\": %.2f\n", name, kOld[word],
                                ours->second / peer->second);
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
