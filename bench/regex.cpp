// The regex engine beside PCRE2 (interpreter, no JIT, 16-bit units) and
// std::regex (wregex) on one generated 10 MB text: every match of six typical
// expressions is counted, and the times are printed as ratios.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "CollectingReporter.h"
#include "regex/RegExpr.h"

namespace {

struct Pattern {
    const char* name;
    const char* expression;
};

const Pattern kPatterns[] = {
    {"literal", "Holmes"},
    {"alternation", "Holmes|Watson|Lestrade|Hudson"},
    {"ing-words", "[a-z]+ing"},
    {"e-mail", "[a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,}"},
    {"uri", "(https?|ftp)://[^\\s/]+[^\\s]*"},
    {"ipv4", "\\b(\\d{1,3}\\.){3}\\d{1,3}\\b"},
};

// About 10 MB of text (5 M UTF-16 units): prose with names, addresses, links and numbers.
const WideString& Text() {
    static const WideString text = [] {
        static const char* words[] = {
            "the",      "and",      "of",         "to",      "a",         "in",      "that",
            "it",       "was",      "he",         "his",     "with",      "had",     "for",
            "you",      "not",      "which",      "upon",    "there",     "said",    "from",
            "this",     "morning",  "evening",    "nothing", "something", "walking", "looking",
            "being",    "during",   "thing",      "sitting", "street",    "window",  "letter",
            "Baker",    "London",   "Holmes",     "Watson",  "Lestrade",  "Hudson",  "inspector",
            "singular", "observe",  "remarkable", "King",    "Street",    "matter",  "door",
            "room",     "question", "answer",     "hour",    "night",     "lamp",    "fire",
            "chair",    "pipe",     "violin",     "case",    "clue"};
        static const char* hosts[] = {"example.com", "mail.example.org", "post.example.net",
                                      "uni-bonn.de", "quorbel.example"};
        std::mt19937 rng(42);
        auto pick = [&](int n) { return static_cast<int>(rng() % n); };
        std::string s;
        s.reserve(5'300'000);
        int column = 0;
        while (s.size() < 5'000'000) {
            std::string w;
            const int kind = pick(100);
            if (kind < 2) {
                w = std::string(words[pick(10)]) + "." + words[pick(20)] +
                    std::to_string(pick(100)) + "@" + hosts[pick(5)];
            } else if (kind < 4) {
                w = std::string(pick(2) ? "https://" : "http://") + "www." + hosts[pick(5)] + "/" +
                    words[pick(40)] + "/page?id=" + std::to_string(pick(100000));
            } else if (kind < 6) {
                w = std::to_string(pick(256)) + "." + std::to_string(pick(256)) + "." +
                    std::to_string(pick(256)) + "." + std::to_string(pick(256));
            } else if (kind < 10) {
                w = std::to_string(pick(1000000));
                if (pick(3) == 0) w += "." + std::to_string(pick(100));
            } else {
                w = words[pick(sizeof(words) / sizeof(words[0]))];
                if (pick(12) == 0) w += pick(2) ? "," : ".";
            }
            s += w;
            column += static_cast<int>(w.size()) + 1;
            if (column > 72) {
                s += "\n";
                column = 0;
            } else {
                s += " ";
            }
        }
        return WideString(s.begin(), s.end());
    }();
    return text;
}

long CountEngine(const char* expression) {
    TRegExpr re;
    re.SetExpression(U16(expression));
    long count = 0;
    if (re.Exec(Text())) do
            ++count;
        while (re.ExecNext());
    return count;
}

long CountPcre(const char* expression) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    const WideString pattern = U16(expression);
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                     0, &error, &offset, nullptr);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    const WideString& text = Text();
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    long count = 0;
    PCRE2_SIZE start = 0;
    while (start <= text.size() &&
           pcre2_match(code, subject, text.size(), start, 0, data, nullptr) >= 0) {
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
        ++count;
        start = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    return count;
}

long CountStd(const char* expression) {
    static const std::wstring text(Text().begin(), Text().end());
    const std::string e(expression);
    const std::wregex re(std::wstring(e.begin(), e.end()));
    return std::distance(std::wsregex_iterator(text.begin(), text.end(), re),
                         std::wsregex_iterator());
}

using Counter = long (*)(const char*);
const std::pair<const char*, Counter> kEngines[] = {
    {"engine", CountEngine}, {"pcre2", CountPcre}, {"std", CountStd}};

// Seconds per iteration by "engine/pattern", filled by the reporter.
std::map<std::string, double> gSeconds;

} // namespace

int main(int argc, char** argv) {
    Text();
    for (const auto& [engine, counter] : kEngines)
        for (const Pattern& p : kPatterns) {
            const std::string name = std::string(engine) + "/" + p.name;
            auto* b =
                benchmark::RegisterBenchmark(name.c_str(), [counter, p](benchmark::State& state) {
                    long count = 0;
                    for (auto _ : state)
                        count = counter(p.expression);
                    state.counters["matches"] = static_cast<double>(count);
                });
            b->Unit(benchmark::kMillisecond);
            if (std::string(engine) == "std") b->Iterations(1);
        }
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter(gSeconds);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-12s %10s %10s %10s %12s %12s\n", "pattern", "engine ms", "pcre2 ms", "std ms",
                "engine/pcre2", "engine/std");
    double engineTotal = 0, pcreTotal = 0;
    for (const Pattern& p : kPatterns) {
        const double e = gSeconds["engine/" + std::string(p.name)];
        const double c = gSeconds["pcre2/" + std::string(p.name)];
        const double s = gSeconds["std/" + std::string(p.name)];
        engineTotal += e;
        pcreTotal += c;
        std::printf("%-12s %10.1f %10.1f %10.1f %12.2f %12.3f\n", p.name, e * 1e3, c * 1e3, s * 1e3,
                    c > 0 ? e / c : 0.0, s > 0 ? e / s : 0.0);
    }
    if (pcreTotal > 0) std::printf("overall engine/pcre2: %.2f\n", engineTotal / pcreTotal);
    benchmark::Shutdown();
    return 0;
}
