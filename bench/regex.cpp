// The regex engine beside PCRE2 (16-bit units, the interpreter and the JIT) and RE2 (on
// the UTF-8 form of the same text) on 20 MB of English and German prose: every match of
// each expression is counted, and every match is replaced by "#" (ours through
// ReplaceAllRegEx, the routine a batch run uses; PCRE2 through pcre2_substitute; RE2
// through GlobalReplace). Before any timing the counts and the replaced texts of all
// sides are checked equal. Rounds are interleaved, each measurement in a process of its
// own; medians, ratios (ours / peer) and the memory each side added are printed.
// QUORBEL_BENCH_MB sets the text's size (its UTF-8 form), QUORBEL_BENCH_ROUNDS the rounds,
// QUORBEL_BENCH_STD=1 adds std::wregex (counting only; slow); QUORBEL_BENCH_CASES=a,b runs
// only the expressions of those names.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
#if QUORBEL_HAVE_RE2
#include <re2/re2.h>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "SideBySide.h"
#include "regex/RegExRoutines.h"
#include "regex/RegExpr.h"
#include "text/UCodeSysUtils.h"

namespace {

struct Pattern {
    const char* name;
    const char* expression; // UTF-8; the same text for every engine
};

const Pattern kPatterns[] = {
    {"literal", "Holmes"},
    {"literal-de", "Straße"},
    {"caseless", "(?i)watson"},
    {"lazy", "Baker.*?Street"},
    {"alt-4", "Holmes|Watson|Lestrade|Hudson"},
    {"alt-20", "Holmes|Watson|Lestrade|Hudson|Moriarty|Baker|London|inspector|Straße|Zeitung|"
               "Mädchen|Größe|Bahnhof|Kirche|Regierung|Wohnung|Abend|Morgen|window|letter"},
    {"ing-words", "[a-z]+ing"},
    {"ung-words", "[A-Za-zÄÖÜäöüß]+ung\\b"},
    {"e-mail", "[a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,}"},
    {"uri", "(https?|ftp)://[^\\s/]+[^\\s]*"},
    {"ipv4", "\\b(\\d{1,3}\\.){3}\\d{1,3}\\b"},
};

size_t TargetBytes() {
    const char* env = std::getenv("QUORBEL_BENCH_MB");
    const size_t mb = env ? std::strtoul(env, nullptr, 10) : 20;
    return (mb ? mb : 20) << 20;
}

// English and German prose with names, addresses, links and numbers (UTF-8).
std::string MakeText() {
    static const char* words[] = {
        "the",      "and",       "of",        "to",           "a",          "in",      "that",
        "it",       "was",       "he",        "his",          "with",       "had",     "for",
        "not",      "which",     "upon",      "there",        "said",       "from",    "this",
        "morning",  "evening",   "nothing",   "something",    "walking",    "looking", "being",
        "street",   "window",    "letter",    "Baker",        "London",     "Holmes",  "Watson",
        "Lestrade", "Hudson",    "inspector", "singular",     "remarkable", "Street",  "matter",
        "door",     "question",  "answer",    "night",        "lamp",       "fire",    "pipe",
        "der",      "die",       "das",       "und",          "nicht",      "mit",     "über",
        "für",      "auf",       "Straße",    "Größe",        "Mädchen",    "Zeitung", "Bahnhof",
        "Kirche",   "Regierung", "Wohnung",   "Abend",        "Morgen",     "schön",   "müssen",
        "Bürger",   "Übung",     "Öffnung",   "Entscheidung", "Zeit",       "Frage",   "Moriarty"};
    static const char* hosts[] = {"example.com", "mail.example.org", "post.example.net",
                                  "uni-bonn.de", "quorbel.example"};
    std::mt19937 rng(42);
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    std::string s;
    const size_t want = TargetBytes();
    s.reserve(want + 200);
    int column = 0;
    while (s.size() < want) {
        std::string w;
        const size_t kind = pick(100);
        if (kind < 2) {
            w = std::string(words[pick(10)]) + "." + words[pick(20)] + std::to_string(pick(100)) +
                "@" + hosts[pick(5)];
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
            w = words[pick(std::size(words))];
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
    return s;
}

const std::string& Utf8Text() {
    static const std::string text = MakeText();
    return text;
}

const WideString& Text() {
    static const WideString text = UTF8ToWide(Utf8Text());
    return text;
}

const WideString kReplacement = u"#";

// ---- ours ----

// As the program's routines search: the engine reads the caller's text in place.
long CountOurs(const WideString& expression) {
    TRegExpr re;
    re.SetExpression(expression);
    long count = 0;
    if (re.ExecShared(Text())) do
            ++count;
        while (re.ExecNext());
    return count;
}

WideString ReplaceOurs(const WideString& expression) {
    WideString result;
    ReplaceAllRegEx(Text(), kReplacement, expression, result);
    return result;
}

// ---- PCRE2, as a program that links it would use it ----

struct Pcre {
    pcre2_code* code = nullptr;
    explicit Pcre(const WideString& expression, bool jit) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        // Our defaults: "." matches line separators too.
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(),
                             PCRE2_DOTALL, &error, &offset, nullptr);
        if (!code) std::abort();
        if (jit && pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) std::abort();
    }
    ~Pcre() { pcre2_code_free(code); }
};

long CountPcre(const WideString& expression, bool jit) {
    Pcre re(expression, jit);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(re.code, nullptr);
    const WideString& text = Text();
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    const uint32_t options = jit ? 0 : PCRE2_NO_JIT;
    long count = 0;
    PCRE2_SIZE start = 0;
    while (start <= text.size() &&
           pcre2_match(re.code, subject, text.size(), start, options, data, nullptr) >= 0) {
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
        ++count;
        start = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
    }
    pcre2_match_data_free(data);
    return count;
}

WideString ReplacePcre(const WideString& expression, bool jit) {
    Pcre re(expression, jit);
    const WideString& text = Text();
    // Every match is at least as long as "#": the result never outgrows the text.
    WideString out(text.size() + 1, u'\0');
    PCRE2_SIZE outLength = out.size();
    const uint32_t options = PCRE2_SUBSTITUTE_GLOBAL | (jit ? 0 : PCRE2_NO_JIT);
    const int rc = pcre2_substitute(
        re.code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, options, nullptr,
        nullptr, reinterpret_cast<PCRE2_SPTR>(kReplacement.data()), kReplacement.size(),
        reinterpret_cast<PCRE2_UCHAR*>(out.data()), &outLength);
    if (rc < 0) std::abort();
    out.resize(outLength);
    return out;
}

// ---- RE2, on the UTF-8 form ----

#if QUORBEL_HAVE_RE2
RE2::Options Re2Options() {
    RE2::Options options;
    options.set_dot_nl(true);
    options.set_log_errors(false);
    return options;
}

long CountRe2(const char* expression) {
    const RE2 re(expression, Re2Options());
    re2::StringPiece input(Utf8Text());
    long count = 0;
    while (RE2::FindAndConsume(&input, re))
        ++count;
    return count;
}

std::string ReplaceRe2(const char* expression) {
    const RE2 re(expression, Re2Options());
    std::string text = Utf8Text();
    RE2::GlobalReplace(&text, re, "#");
    return text;
}
#endif

long CountStd(const char* expression) {
    static const std::wstring text(Text().begin(), Text().end());
    const WideString e = U16(expression);
    const std::wregex re(std::wstring(e.begin(), e.end()));
    return std::distance(std::wsregex_iterator(text.begin(), text.end(), re),
                         std::wsregex_iterator());
}

// Stops the benchmark when two sides disagree: timing different work means nothing.
void Expect(bool same, const char* pattern, const char* what) {
    if (same) return;
    std::fprintf(stderr, "%s: %s differ, no timing\n", pattern, what);
    std::exit(1);
}

void CheckSameWork(const Pattern& p) {
    const WideString e = U16(p.expression);
    const long count = CountOurs(e);
    Expect(count > 0, p.name, "no matches at all:");
    Expect(CountPcre(e, false) == count, p.name, "the counts of PCRE2 and ours");
    Expect(CountPcre(e, true) == count, p.name, "the counts of PCRE2-JIT and ours");
    const WideString replaced = ReplaceOurs(e);
    Expect(ReplacePcre(e, false) == replaced, p.name, "the texts of PCRE2 and ours");
    Expect(ReplacePcre(e, true) == replaced, p.name, "the texts of PCRE2-JIT and ours");
#if QUORBEL_HAVE_RE2
    Expect(CountRe2(p.expression) == count, p.name, "the counts of RE2 and ours");
    Expect(UTF8ToWide(ReplaceRe2(p.expression)) == replaced, p.name, "the texts of RE2 and ours");
#endif
    std::printf("%-10s %8ld matches, the same for every side\n", p.name, count);
}

template <typename Fn> std::function<void()> Sink(Fn fn) {
    return [fn] { benchmark::DoNotOptimize(fn()); };
}

} // namespace

int main() {
    Text();
    const double mb = static_cast<double>(Utf8Text().size()) / (1 << 20);
    std::printf("text: %.1f MB of UTF-8, %zu UTF-16 units\n", mb, Text().size());
    const bool withStd = std::getenv("QUORBEL_BENCH_STD") != nullptr;

    std::vector<bench::Case> counting, replacing;
    const char* only = std::getenv("QUORBEL_BENCH_CASES");
    for (const Pattern& p : kPatterns) {
        if (only && ("," + std::string(only) + ",").find("," + std::string(p.name) + ",") ==
                        std::string::npos)
            continue;
        CheckSameWork(p);
        const WideString e = U16(p.expression);
        const char* x = p.expression;
        bench::Case count{p.name, {}};
        count.sides.push_back({"ours", Sink([e] { return CountOurs(e); })});
        count.sides.push_back({"PCRE2", Sink([e] { return CountPcre(e, false); })});
        count.sides.push_back({"PCRE2-JIT", Sink([e] { return CountPcre(e, true); })});
#if QUORBEL_HAVE_RE2
        count.sides.push_back({"RE2 (UTF-8)", Sink([x] { return CountRe2(x); })});
#endif
        if (withStd) count.sides.push_back({"std::wregex", Sink([x] { return CountStd(x); })});
        counting.push_back(std::move(count));
        bench::Case replace{p.name, {}};
        replace.sides.push_back({"ours", Sink([e] { return ReplaceOurs(e).size(); })});
        replace.sides.push_back({"PCRE2", Sink([e] { return ReplacePcre(e, false).size(); })});
        replace.sides.push_back({"PCRE2-JIT", Sink([e] { return ReplacePcre(e, true).size(); })});
#if QUORBEL_HAVE_RE2
        replace.sides.push_back({"RE2 (UTF-8)", Sink([x] { return ReplaceRe2(x).size(); })});
#endif
        replacing.push_back(std::move(replace));
        (void)x;
    }

    std::vector<bench::Case> all;
    for (bench::Case& c : counting) {
        c.name = "count " + c.name;
        all.push_back(std::move(c));
    }
    for (bench::Case& c : replacing) {
        c.name = "replace " + c.name;
        all.push_back(std::move(c));
    }
    bench::RunInterleaved(all, bench::Rounds());
    bench::Report("regex", all, mb);
    bench::ReportOverall("regex", all);
    return 0;
}
