#include "text/WideStrUtils.h"

#include "text/EightBitUtils.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <random>
#include <unordered_map>
#include <unordered_set>

#if defined(__x86_64__)
#include <immintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr size_t npos = WideString::npos;

// The units every unit of the same upper case belongs to, built once: the units
// whose upper case is U are members[offsets[U] .. offsets[U + 1]).
struct CaseClasses {
    std::vector<uint32_t> offsets;
    std::vector<WideChar> members;
    CaseClasses() : offsets(0x10001, 0), members(0x10000) {
        for (uint32_t u = 0; u < 0x10000; ++u)
            ++offsets[WideUpperChar(static_cast<WideChar>(u)) + 1];
        for (uint32_t u = 0; u < 0x10000; ++u)
            offsets[u + 1] += offsets[u];
        std::vector<uint32_t> fill(offsets.begin(), offsets.end() - 1);
        for (uint32_t u = 0; u < 0x10000; ++u)
            members[fill[WideUpperChar(static_cast<WideChar>(u))]++] = static_cast<WideChar>(u);
    }
};

const CaseClasses& caseClasses() {
    static const CaseClasses classes;
    return classes;
}

// The units that stand for one pattern unit: the unit itself, or ignoring case
// every unit with the same upper case (up to four kept for the vector filter).
struct UnitSet {
    std::array<WideChar, 4> units{};
    size_t count = 0;
    bool tooMany = false;

    UnitSet(WideChar unit, bool ignoreCase) {
        if (!ignoreCase) {
            units[count++] = unit;
            return;
        }
        const CaseClasses& classes = caseClasses();
        const WideChar upper = WideUpperChar(unit);
        for (uint32_t k = classes.offsets[upper]; k < classes.offsets[upper + 1u]; ++k) {
            if (count == units.size()) {
                tooMany = true;
                break;
            }
            units[count++] = classes.members[k];
        }
    }

    // The kept units, padded with the first, so that a filter may always test four.
    std::array<WideChar, 4> padded() const {
        std::array<WideChar, 4> r;
        for (size_t k = 0; k < r.size(); ++k)
            r[k] = units[k < count ? k : 0];
        return r;
    }
};

constexpr size_t kBlockUnits = 16;

// The filter of the search: from start i on, sixteen starts at a time, the starts
// whose unit at 0 is one of the first Units of firsts and whose unit at tail is one
// of the first Units of lasts. Returns their mask (two bits per start: bits 2k and
// 2k + 1 for start i + k) for the first block that has any, or 0 with i at the first
// start not tested (fewer than sixteen starts up to lastStart are left).
struct FilterArgs {
    const WideChar* s;
    size_t lastStart, tail;
    std::array<WideChar, 4> firsts, lasts;
};

#if defined(__x86_64__)
template <size_t Units>
[[gnu::target("avx2")]] uint32_t filterAvx2(const FilterArgs& f, size_t& start) {
    __m256i first[Units], last[Units];
    for (size_t k = 0; k < Units; ++k) {
        first[k] = _mm256_set1_epi16(static_cast<short>(f.firsts[k]));
        last[k] = _mm256_set1_epi16(static_cast<short>(f.lasts[k]));
    }
    size_t i = start;
    for (; i + kBlockUnits - 1 <= f.lastStart; i += kBlockUnits) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(f.s + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(f.s + i + f.tail));
        __m256i hitA = _mm256_cmpeq_epi16(a, first[0]), hitB = _mm256_cmpeq_epi16(b, last[0]);
        for (size_t k = 1; k < Units; ++k) {
            hitA = _mm256_or_si256(hitA, _mm256_cmpeq_epi16(a, first[k]));
            hitB = _mm256_or_si256(hitB, _mm256_cmpeq_epi16(b, last[k]));
        }
        if (const auto mask =
                static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB)))) {
            start = i;
            return mask;
        }
    }
    start = i;
    return 0;
}

// The same with the instructions every x86-64 processor has, eight starts per vector.
template <size_t Units> uint32_t filterSse2(const FilterArgs& f, size_t& start) {
    __m128i first[Units], last[Units];
    for (size_t k = 0; k < Units; ++k) {
        first[k] = _mm_set1_epi16(static_cast<short>(f.firsts[k]));
        last[k] = _mm_set1_epi16(static_cast<short>(f.lasts[k]));
    }
    auto half = [&](size_t at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(f.s + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(f.s + at + f.tail));
        __m128i hitA = _mm_cmpeq_epi16(a, first[0]), hitB = _mm_cmpeq_epi16(b, last[0]);
        for (size_t k = 1; k < Units; ++k) {
            hitA = _mm_or_si128(hitA, _mm_cmpeq_epi16(a, first[k]));
            hitB = _mm_or_si128(hitB, _mm_cmpeq_epi16(b, last[k]));
        }
        return static_cast<uint32_t>(_mm_movemask_epi8(_mm_and_si128(hitA, hitB)));
    };
    size_t i = start;
    for (; i + kBlockUnits - 1 <= f.lastStart; i += kBlockUnits) {
        if (const uint32_t mask = half(i) | (half(i + kBlockUnits / 2) << 16)) {
            start = i;
            return mask;
        }
    }
    start = i;
    return 0;
}

using Filter = uint32_t (*)(const FilterArgs&, size_t&);

// The filter for this processor that tests units candidate units at each end (1 to 4).
Filter chooseFilter(size_t units) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const Filter avx2Filters[] = {filterAvx2<1>, filterAvx2<2>, filterAvx2<3>,
                                         filterAvx2<4>};
    static const Filter sse2Filters[] = {filterSse2<1>, filterSse2<2>, filterSse2<3>,
                                         filterSse2<4>};
    return (avx2 ? avx2Filters : sse2Filters)[units - 1];
}
#else
using Filter = uint32_t (*)(const FilterArgs&, size_t&);
Filter chooseFilter(bool) {
    return nullptr;
}
#endif

// Plain substring search, optionally through the per-unit upper case. It filters
// sixteen candidates at a time by their first and last units and compares the middle
// only for those that pass: linear in practice, with no upper-cased copy of the text.
class WideSearcher {
public:
    WideSearcher(WideStringView pattern, bool ignoreCase)
        : ignoreCase_(ignoreCase), original_(pattern),
          pattern_(ignoreCase ? WideUpperCase(pattern) : pattern),
          first_(pattern.empty() ? WideChar(0) : pattern.front(), ignoreCase),
          last_(pattern.empty() ? WideChar(0) : pattern.back(), ignoreCase),
          filter_(first_.tooMany || last_.tooMany
                      ? nullptr
                      : chooseFilter(std::max(first_.count, last_.count))) {}

    size_t size() const { return pattern_.size(); }

    // Calls onHit(position) for every occurrence from `from` on, left to right and
    // not overlapping (the search goes on after each occurrence), until onHit
    // returns false. The pattern must not be empty.
    template <typename OnHit> void forEach(WideStringView text, size_t from, OnHit onHit) const {
        const size_t n = text.size(), m = pattern_.size();
        if (m == 0 || from > n || n - from < m) return;
        const WideChar* s = text.data();
        const size_t lastStart = n - m;
        size_t i = from, floor = from; // floor: the first start not inside an occurrence
        if (filter_) {
            const FilterArgs args{s, lastStart, m - 1, first_.padded(), last_.padded()};
            while (uint32_t mask = filter_(args, i)) {
                for (; mask != 0; mask &= mask - 1) {
                    const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
                    mask &= mask - 1; // the second bit of the start
                    const size_t at = i + bit / 2;
                    if (at < floor || !matchesAt(s + at)) continue;
                    if (!onHit(at)) return;
                    floor = at + m;
                }
                i = std::max(i + kBlockUnits, floor);
            }
            i = std::max(i, floor);
        }
        while (i <= lastStart) {
            if (!matchesAt(s + i)) {
                ++i;
                continue;
            }
            if (!onHit(i)) return;
            i += m;
        }
    }

    // 0-based position of the first occurrence at or after from; npos when none.
    // An empty pattern is found at from.
    size_t find(WideStringView text, size_t from) const {
        if (pattern_.empty()) return from <= text.size() ? from : npos;
        size_t found = npos;
        forEach(text, from, [&](size_t at) {
            found = at;
            return false;
        });
        return found;
    }

    // The number of occurrences in text, counting stops at most.
    size_t count(WideStringView text, size_t most) const {
        size_t found = 0;
        if (most != 0) forEach(text, 0, [&](size_t) { return ++found < most; });
        return found;
    }

private:
    static bool sameUnits(const WideChar* s, WideStringView p) {
        // Short patterns compare in place; a library call costs more than they do.
        if (p.size() > 16) return std::memcmp(s, p.data(), p.size() * sizeof(WideChar)) == 0;
        for (size_t k = 0; k < p.size(); ++k)
            if (s[k] != p[k]) return false;
        return true;
    }

    bool matchesAt(const WideChar* s) const {
        if (!ignoreCase_) return sameUnits(s, pattern_);
        // Most occurrences are written as the pattern is: try that first.
        if (sameUnits(s, original_)) return true;
        for (size_t k = 0; k < pattern_.size(); ++k)
            if (WideUpperChar(s[k]) != pattern_[k]) return false;
        return true;
    }

    bool ignoreCase_;
    WideString original_; // as given
    WideString pattern_;  // upper-cased when ignoring case
    UnitSet first_, last_;
    Filter filter_; // none: every start is compared
};

size_t WideFind(WideStringView text, WideStringView pattern, size_t from) {
    return WideSearcher(pattern, false).find(text, from);
}

// Asks the system to back the unwritten buffer of a large result with large pages:
// filling fresh memory 4 KB at a time costs more in page faults than the copying
// itself. Only the whole large pages inside the buffer are marked.
void preferLargePages(WideString& r) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kLargePage = uintptr_t(2) << 20;
    const size_t bytes = (r.capacity() - r.size()) * sizeof(WideChar);
    if (bytes < 4 * kLargePage) return;
    const auto start = reinterpret_cast<uintptr_t>(r.data() + r.size());
    const uintptr_t begin = (start + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = (start + bytes) & ~(kLargePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)r;
#endif
}

// The number of occurrences counted in a sample at the start of a text that is used
// to size a growing result: all of a short text, a thirty-second of a long one.
constexpr size_t kSampleUnits = size_t(1) << 16;

// S with every occurrence that forEachHit reports replaced by New. forEachHit(onHit)
// calls onHit(position) for each occurrence, ascending and not overlapping;
// countHits(length) returns how many occurrences (or more) start and end in the
// first length units of S. The result is built in one run over S. When New is longer
// than the occurrences, its size is estimated from the occurrences in a sample at the
// start (exact for a short text), with a margin: the unused rest of a large buffer is
// never touched, so costs no memory. Should the estimate still be short, the rate of
// growth so far sizes the rest, again at most doubling.
template <typename ForEachHit, typename CountHits>
WideString replaceHits(WideStringView S, size_t oldLength, WideStringView New,
                       ForEachHit forEachHit, CountHits countHits) {
    const size_t n = S.size();
    const size_t growth = New.size() > oldLength ? New.size() - oldLength : 0;
    // Every unit inside an occurrence:
    const size_t mostExtra = oldLength == 0 ? growth : growth * (n / oldLength);
    size_t extra = 0;
    if (growth != 0) {
        const size_t sample = std::min(n, std::max(kSampleUnits, n / 32));
        const size_t hits = countHits(sample);
        // An estimate beyond the length of the text itself is taken only as far as
        // the sample bears it out, so that a sample richer than the rest cannot ask
        // for more memory than there is.
        extra = sample == n ? hits * growth
                            : std::min({mostExtra, (hits * (n / sample) * 5 / 4 + 64) * growth,
                                        std::max(n, hits * growth)});
    }
    WideString r;
    r.reserve(n + extra);
    preferLargePages(r);
    size_t from = 0;
    forEachHit([&](size_t at) {
        const size_t need = r.size() + (at - from) + New.size();
        if (need > r.capacity()) {
            const size_t left = n - at, grownSoFar = r.size() - from;
            const auto more = static_cast<size_t>(static_cast<double>(left) * 1.25 *
                                                  static_cast<double>(grownSoFar) /
                                                  static_cast<double>(std::max<size_t>(from, 1)));
            r.reserve(std::max(need, std::min({n + mostExtra, need + left + more + 64 * growth,
                                               2 * (need + left)})));
            preferLargePages(r);
        }
        r.append(S.data() + from, at - from).append(New);
        from = at + oldLength;
    });
    r.append(S.substr(from));
    return r;
}

} // namespace

TCharSet CharSetOf(WideStringView Chars) {
    TCharSet set;
    for (WideChar c : Chars)
        if (c < 256) set.set(c);
    return set;
}

// ---- Splitting and joining ----

int ExplodeW(TWideStrArray& Arr, WideStringView Separator, WideStringView Text) {
    size_t start = 0;
    if (!Separator.empty())
        WideSearcher(Separator, false).forEach(Text, 0, [&](size_t at) {
            Arr.emplace_back(Text.substr(start, at - start));
            start = at + Separator.size();
            return true;
        });
    Arr.emplace_back(Text.substr(start));
    return static_cast<int>(Arr.size());
}

int ExplodeQuotedW(TWideStrArray& Arr, WideStringView Text, WideChar Separator, WideChar Quote) {
    bool inQuotes = false, atFieldStart = true, lastWasQuote = false, fieldQuoted = false;
    size_t fieldStart = npos;

    auto closeField = [&](size_t end) {
        if (fieldStart == npos) {
            Arr.emplace_back();
        } else {
            WideStringView field = Text.substr(fieldStart, end - fieldStart);
            if (fieldQuoted && lastWasQuote)
                field = field.size() >= 2 ? field.substr(1, field.size() - 2) : WideStringView();
            Arr.emplace_back(field);
        }
        inQuotes = false;
        atFieldStart = true;
        lastWasQuote = false;
        fieldQuoted = false;
        fieldStart = npos;
    };

    for (size_t i = 0; i < Text.size(); ++i) {
        const WideChar c = Text[i];
        if (c == Quote) {
            if (!inQuotes) {
                if (atFieldStart) {
                    inQuotes = true;
                    fieldQuoted = true;
                }
            } else if (i + 1 < Text.size() && Text[i + 1] == Separator) {
                inQuotes = false;
            }
            if (fieldStart == npos) fieldStart = i;
            lastWasQuote = true;
            atFieldStart = false;
        } else if (c == Separator && !inQuotes) {
            closeField(i);
        } else {
            if (fieldStart == npos) fieldStart = i;
            lastWasQuote = false;
            atFieldStart = false;
        }
    }
    closeField(Text.size());
    return static_cast<int>(Arr.size());
}

WideString ImplodeW(const TWideStrArray& Arr, WideStringView Separator) {
    WideString r;
    for (size_t i = 0; i < Arr.size(); ++i) {
        if (i > 0) r.append(Separator);
        r.append(Arr[i]);
    }
    return r;
}

bool ArrayAppendW(TWideStrArray& Arr, WideStringView S) {
    Arr.emplace_back(S);
    return true;
}

bool ArrayDeleteW(TWideStrArray& Arr, size_t Index) {
    if (Index >= Arr.size()) return false;
    Arr.erase(Arr.begin() + static_cast<std::ptrdiff_t>(Index));
    return true;
}

TWideStrArray ArrayUniqueW(const TWideStrArray& Arr) {
    TWideStrArray r;
    std::unordered_set<WideStringView> seen;
    for (const auto& s : Arr)
        if (seen.insert(s).second) r.push_back(s);
    return r;
}

WideString WideNextToken(WideStringView Text, size_t& Cursor, WideChar Delimiter) {
    Cursor = std::min(Cursor, Text.size());
    size_t end = Cursor;
    while (end < Text.size() && Text[end] != Delimiter && Text[end] != 0)
        ++end;
    WideString token(Text.substr(Cursor, end - Cursor));
    // Past the delimiter; a U+0000 that is no delimiter ends the text, and the cursor stays on it.
    Cursor = end < Text.size() && Text[end] == Delimiter ? end + 1 : end;
    return token;
}

TWideStrArray WideSplitToArray(WideStringView Text, WideChar Delimiter) {
    TWideStrArray arr;
    size_t cursor = 0;
    for (;;) {
        WideString token = WideNextToken(Text, cursor, Delimiter);
        if (token.empty()) break;
        arr.push_back(std::move(token));
    }
    return arr;
}

// ---- Replacing and searching ----

WideString ReplaceAllW(WideStringView S, WideStringView Old, WideStringView New) {
    if (S.empty() || Old.empty() || Old == New) return WideString(S);
    const WideSearcher search(Old, false);
    return replaceHits(
        S, Old.size(), New,
        [&](auto onHit) {
            search.forEach(S, 0, [&](size_t at) {
                onHit(at);
                return true;
            });
        },
        [&](size_t length) { return search.count(S.substr(0, length), npos); });
}

void ReplaceAllInPlaceW(WideString& S, WideStringView Old, WideStringView New) {
    if (S.empty() || Old.empty() || Old == New) return;
    if (New.size() > Old.size()) {
        S = ReplaceAllW(S, Old, New);
        return;
    }
    // The text up to an occurrence moves down over what earlier occurrences gave up, so
    // the writing stays behind the end of the occurrence just found, and the search only
    // reads the text beyond it.
    WideChar* text = S.data();
    size_t written = 0, from = 0;
    WideSearcher(Old, false).forEach(S, 0, [&](size_t at) {
        if (written != from) std::memmove(text + written, text + from, (at - from) * 2);
        written += at - from;
        std::memcpy(text + written, New.data(), New.size() * 2);
        written += New.size();
        from = at + Old.size();
        return true;
    });
    if (written == from) return;
    std::memmove(text + written, text + from, (S.size() - from) * 2);
    S.resize(written + S.size() - from);
}

WideString ReplaceFirstW(WideStringView S, WideStringView Old, WideStringView New) {
    const size_t at = Old.empty() ? npos : WideFind(S, Old, 0);
    return replaceHits(
        S, Old.size(), New,
        [at](auto onHit) {
            if (at != npos) onHit(at);
        },
        [at](size_t) { return at != npos ? 1 : 0; });
}

namespace {

bool isWordDelimiter(WideChar c) {
    if (c == 0 || (c >= 0x09 && c <= 0x0D) || c == 0x85) return true;
    switch (QChar::category(static_cast<char32_t>(c))) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

} // namespace

WideString WideStringReplace(WideStringView S, WideStringView Old, WideStringView New,
                             bool WholeWord, TReplaceFlags Flags) {
    if (Old.empty()) return WideString(S);
    // Upper case keeps every length, so the search runs on S itself.
    const WideSearcher search(Old, (Flags & rfIgnoreCase) != 0);
    const auto forEachHit = [&](auto onHit) {
        WideChar lastWritten = 0; // the last character of the result so far (0: none yet)
        size_t rest = 0;          // the start of the text not yet searched
        search.forEach(S, 0, [&](size_t at) {
            const size_t after = at + Old.size();
            const WideChar before = at > rest ? S[at - 1] : lastWritten;
            rest = after;
            if (WholeWord && !(isWordDelimiter(before) &&
                               isWordDelimiter(after < S.size() ? S[after] : WideChar(0)))) {
                lastWritten = S[after - 1];
                return true;
            }
            onHit(at);
            lastWritten = New.empty() ? before : New.back();
            return (Flags & rfReplaceAll) != 0;
        });
    };
    // Occurrences that are not whole words are counted too: the estimate only errs
    // on the large side.
    const size_t most = (Flags & rfReplaceAll) != 0 ? npos : 1;
    return replaceHits(S, Old.size(), New, forEachHit,
                       [&](size_t length) { return search.count(S.substr(0, length), most); });
}

int PosExW(WideStringView SubStr, WideStringView S, int Offset) {
    if (SubStr.empty() || S.empty()) return 0;
    const size_t from = Offset < 1 ? 0 : static_cast<size_t>(Offset - 1);
    const size_t at = WideFind(S, SubStr, from);
    return at == npos ? 0 : static_cast<int>(at) + 3;
}

WideString PadLeftW(WideStringView S, WideChar PadChar, int Width) {
    WideString r;
    if (Width > 0 && static_cast<size_t>(Width) > S.size())
        r.assign(static_cast<size_t>(Width) - S.size(), PadChar);
    r.append(S);
    return r;
}

// ---- Case and layout ----

WideString TitleCaseW(WideStringView S) {
    static const TCharSet separators = CharSetOf(u"\n\r !\"#%&'(),-./:;<=>?[\\]_{}\u00A7");
    WideString r(S);
    for (size_t i = 0; i < r.size(); ++i)
        if (i == 0 || InCharSet(separators, r[i - 1])) r[i] = WideUpperChar(r[i]);
    return r;
}

WideString RandomCaseW(WideStringView S, const TRandomBit& Random) {
    WideString r(S);
    for (auto& c : r)
        c = Random() == 1 ? WideLowerChar(c) : WideUpperChar(c);
    return r;
}

WideString RandomCaseW(WideStringView S) {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> bit(0, 1);
    return RandomCaseW(S, [&] { return bit(generator); });
}

WideString WordWrapW(WideStringView Text, const TCharSet& BreakChars, int MaxWidth) {
    // A width below 1 would never advance; callers mean the default then.
    const size_t width = MaxWidth < 1 ? DefaultWrapWidth : static_cast<size_t>(MaxWidth);
    WideString r;
    size_t i = 0; // 0-based start of the text not yet placed
    const size_t len = Text.size();
    while (i < len) {
        const size_t e = std::min(i + width, len); // one past the last unit that fits
        size_t end = e;
        if (e < len) {
            size_t j = e;
            while (j > i + 1 && !InCharSet(BreakChars, Text[j - 1]))
                --j;
            if (j > i + 1) end = j; // keep the break character at the end of the line
        }
        if (i > 0) r.append(u"\r\n");
        r.append(WideTrim(Text.substr(i, end - i)));
        i = end;
    }
    return r;
}

namespace {

WideStringView lineBreakOf(TLineBreakStyle Style) {
    switch (Style) {
    case lbsLF:
        return u"\n";
    case lbsCR:
        return u"\r";
    default:
        return u"\r\n";
    }
}

// Calls onText(piece) for every run without line breaks and onBreak() for every break.
template <typename OnText, typename OnBreak>
void forEachLine(WideStringView S, OnText onText, OnBreak onBreak) {
    size_t start = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        const WideChar c = S[i];
        if (c != u'\r' && c != u'\n' && c != 0x2028) continue;
        onText(S.substr(start, i - start));
        onBreak();
        if (c == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    onText(S.substr(start));
}

} // namespace

size_t WideAdjustLineBreaksLength(WideStringView S, TLineBreakStyle Style) {
    const size_t breakLength = lineBreakOf(Style).size();
    size_t length = 0;
    forEachLine(
        S, [&](WideStringView piece) { length += piece.size(); }, [&] { length += breakLength; });
    return length;
}

WideString WideAdjustLineBreaks(WideStringView S, TLineBreakStyle Style) {
    const WideStringView lineBreak = lineBreakOf(Style);
    WideString r(WideAdjustLineBreaksLength(S, Style), u'\0');
    WideChar* out = r.data();
    forEachLine(
        S, [&](WideStringView piece) { out = std::copy(piece.begin(), piece.end(), out); },
        [&] { out = std::copy(lineBreak.begin(), lineBreak.end(), out); });
    return r;
}

// ---- Sorting and line selection ----

void SortStrArrayW(TWideStrArray& Arr, bool Ascending) {
    struct Keyed {
        WideString key;
        size_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(Arr.size());
    for (size_t i = 0; i < Arr.size(); ++i) {
        WideString key = WideUpperCase(Arr[i]);
        key = ReplaceAllW(key, u"Ä", u"AE");
        key = ReplaceAllW(key, u"Ö", u"OE");
        key = ReplaceAllW(key, u"Ü", u"UE");
        key = ReplaceAllW(key, u"ß", u"SS");
        key = ReplaceAllW(key, u"Ç", u"C");
        keyed.push_back({std::move(key), i});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [Ascending](const Keyed& a, const Keyed& b) {
        return Ascending ? a.key < b.key : b.key < a.key;
    });
    TWideStrArray sorted;
    sorted.reserve(Arr.size());
    for (const auto& k : keyed)
        sorted.push_back(std::move(Arr[k.index]));
    Arr = std::move(sorted);
}

namespace {

bool toLineNumber(WideStringView item, long long& value) {
    int32_t number;
    if (!TryValInt32(U8(WideTrim(item)), number)) return false;
    value = number;
    return true;
}

} // namespace

WideString DeleteLinesByNumberW(const TWideStrArray& Lines, WideStringView Separator,
                                WideStringView NumberList) {
    // Numbers past the last line delete nothing: ranges are clamped to the line count.
    const long long count = static_cast<long long>(Lines.size());
    std::vector<bool> deleted(Lines.size() + 1, false);
    auto mark = [&](long long from, long long to) {
        for (long long n = std::max(from, 1LL); n <= std::min(to, count); ++n)
            deleted[static_cast<size_t>(n)] = true;
    };
    TWideStrArray items;
    ExplodeW(items, u",", NumberList);
    for (const auto& item : items) {
        long long a, b;
        if (toLineNumber(item, a)) {
            mark(a, a);
            continue;
        }
        TWideStrArray range;
        if (ExplodeW(range, u"-", WideTrim(item)) == 2 && toLineNumber(range[0], a) &&
            toLineNumber(range[1], b) && b > a)
            mark(a, b);
    }
    WideString r;
    bool first = true;
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (deleted[i + 1]) continue;
        if (!first) r.append(Separator);
        r.append(Lines[i]);
        first = false;
    }
    return r;
}

// ---- HTML ----

namespace {

// The HTML 4 names of U+00A0..U+00FF, in code order.
constexpr const char16_t* kLatin1Names[96] = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",  u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml",
};
constexpr WideChar kFirstNamed = 0xA0;
constexpr size_t kLongestName = 6;

} // namespace

WideString HtmlEncodeW(WideStringView S) {
    WideString r;
    r.reserve(S.size());
    for (WideChar c : S) {
        if (c >= kFirstNamed && c <= 0xFF)
            r.append(u"&").append(kLatin1Names[c - kFirstNamed]).append(u";");
        else
            r.push_back(c);
    }
    return r;
}

// One pass is the same as replacing the names one after the other: every reference
// runs from "&" to ";" with neither inside, and no decoded character is "&", ";" or
// a letter of a name, so no replacement can form or break another reference.
WideString HtmlDecodeW(WideStringView S) {
    static const std::unordered_map<WideStringView, WideChar> byName = [] {
        std::unordered_map<WideStringView, WideChar> map;
        for (size_t i = 0; i < std::size(kLatin1Names); ++i)
            map.emplace(kLatin1Names[i], static_cast<WideChar>(kFirstNamed + i));
        map[u"nbsp"] = u' ';
        return map;
    }();
    WideString r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == u'&') {
            const size_t semi = S.substr(i + 1, kLongestName + 1).find(u';');
            if (semi != npos) {
                auto hit = byName.find(S.substr(i + 1, semi));
                if (hit != byName.end()) {
                    r.push_back(hit->second);
                    i += semi + 1;
                    continue;
                }
            }
        }
        r.push_back(S[i]);
    }
    return r;
}
