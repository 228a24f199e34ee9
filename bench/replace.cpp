// Plain-text replacement: ReplaceAllW over a 100 MB text (mixed-language, and Latin
// script), beside an ordinary search-and-replace on the same UTF-16 text and on its UTF-8
// form. The replaced texts are checked equal first; rounds are interleaved, each in a
// process of its own; medians, ratios and the memory each side added are printed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "SideBySide.h"
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

// The peer: an ordinary search-and-replace over the same kind of string, sized exactly
// once (a counting run only when the text grows), on the same UTF-16 text, and the same
// on the text's UTF-8 form (what a program keeping UTF-8 would do).
template <typename Str> Str stdReplaceAll(const Str& s, const Str& old, const Str& rep) {
    size_t size = s.size();
    if (rep.size() > old.size())
        for (size_t at = s.find(old); at != Str::npos; at = s.find(old, at + old.size()))
            size += rep.size() - old.size();
    Str r;
    r.reserve(size);
    size_t from = 0;
    for (size_t at; (at = s.find(old, from)) != Str::npos; from = at + old.size())
        r.append(s, from, at - from).append(rep);
    r.append(s, from, Str::npos);
    return r;
}

// Each case: the word replaced and its replacement.
const char* const kOld[] = {"Straße", "fox"};
const char* const kNew[] = {"Strasse", "dog"};

} // namespace

int main() {
    std::vector<bench::Case> cases;
    for (int text = 0; text < 2; ++text) {
        const Corpus& c = corpus(text);
        for (size_t word = 0; word < std::size(kOld); ++word) {
            const std::string old = kOld[word], rep = kNew[word];
            const WideString wOld = U16(old), wRep = U16(rep);
            const WideString expected = stdReplaceAll(c.wide, wOld, wRep);
            if (ReplaceAllW(c.wide, wOld, wRep) != expected ||
                U16(stdReplaceAll(c.utf8, old, rep)) != expected) {
                std::fprintf(stderr, "the replaced texts differ, no timing\n");
                return 1;
            }
            const std::string name = std::string("replace ") + kCorpusNames[text] + " " + old;
            cases.push_back(
                {name,
                 {{"ours",
                   [&c, wOld, wRep] { benchmark::DoNotOptimize(ReplaceAllW(c.wide, wOld, wRep)); }},
                  {"std::u16string",
                   [&c, wOld, wRep] {
                       benchmark::DoNotOptimize(stdReplaceAll(c.wide, wOld, wRep));
                   }},
                  {"std::string UTF-8", [&c, old, rep] {
                       benchmark::DoNotOptimize(stdReplaceAll(c.utf8, old, rep));
                   }}}});
        }
        std::printf("%s text: %zu bytes UTF-8, %zu bytes UTF-16\n", kCorpusNames[text],
                    c.utf8.size(), c.wide.size() * sizeof(WideChar));
    }
    bench::RunInterleaved(cases, bench::Rounds());
    bench::Report("replace", cases, static_cast<double>(kTextBytes) / (1 << 20));
    return 0;
}
