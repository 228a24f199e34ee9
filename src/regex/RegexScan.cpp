#include "regex/RegexScan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace regex {

namespace {

#if defined(__x86_64__)
// Processors with AVX2 (most of them) look at sixteen units a turn.
bool HasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// FindUnits sixteen units a turn from i while a whole block is left; i is where it
// stopped, the result the unit found (or -1).
[[gnu::target("avx2")]] int FindUnitsAvx2(const WideChar* text, int& i, int end,
                                          const WideChar (&u)[3]) {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(u[0]));
    const __m256i b = _mm256_set1_epi16(static_cast<short>(u[1]));
    const __m256i c = _mm256_set1_epi16(static_cast<short>(u[2]));
    for (; i + 16 <= end; i += 16) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
        const __m256i hit =
            _mm256_or_si256(_mm256_cmpeq_epi16(x, a),
                            _mm256_or_si256(_mm256_cmpeq_epi16(x, b), _mm256_cmpeq_epi16(x, c)));
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (mask) return i + (__builtin_ctz(mask) >> 1);
    }
    return -1;
}

// FindText's candidates sixteen starts a turn (first and last unit in place), from i up
// to the last possible start; i is where it stopped, the result the start found (or -1).
[[gnu::target("avx2")]] int FindTextAvx2(const WideChar* text, int& i, int last,
                                         const WideString& literal) {
    const int len = static_cast<int>(literal.size());
    const size_t middle = (len - 2) * sizeof(WideChar);
    const __m256i head = _mm256_set1_epi16(static_cast<short>(literal[0]));
    const __m256i tail = _mm256_set1_epi16(static_cast<short>(literal[len - 1]));
    for (; i + 16 <= last + 1; i += 16) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i + len - 1));
        unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi16(x, head), _mm256_cmpeq_epi16(y, tail))));
        while (mask) {
            const int at = i + (__builtin_ctz(mask) >> 1);
            if (std::memcmp(text + at + 1, literal.data() + 1, middle) == 0) return at;
            mask &= mask - 1;
            mask &= mask - 1; // both bytes of the unit
        }
    }
    return -1;
}
#endif

} // namespace

int FindUnits(const WideChar* text, int from, int end, const WideChar* units, int count) {
    int i = from;
    const WideChar a = units[0], b = units[count > 1 ? 1 : 0], c = units[count > 2 ? 2 : 0];
#if defined(__x86_64__)
    if (HasAvx2()) {
        const WideChar all[3] = {a, b, c};
        const int at = FindUnitsAvx2(text, i, end, all);
        if (at >= 0) return at;
    }
#endif
#if defined(__SSE2__)
    const __m128i na = _mm_set1_epi16(static_cast<short>(a));
    if (count == 1) {
        // Sixteen units a turn: the loop's own cost is paid half as often.
        for (; i + 16 <= end; i += 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 8));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(x, na))) |
                                  static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(y, na)))
                                      << 16;
            if (mask) return i + (__builtin_ctz(mask) >> 1);
        }
    }
    const __m128i nb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i nc = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= end; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i hit =
            _mm_or_si128(_mm_cmpeq_epi16(block, na),
                         _mm_or_si128(_mm_cmpeq_epi16(block, nb), _mm_cmpeq_epi16(block, nc)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return i + (__builtin_ctz(mask) >> 1);
    }
#endif
    for (; i < end; ++i)
        if (text[i] == a || text[i] == b || text[i] == c) return i;
    return end;
}

int FindText(const WideChar* text, int from, int end, const WideString& literal) {
    const int len = static_cast<int>(literal.size());
    const int last = end - len; // the last possible start
    if (len == 1) {
        const int at = from <= last ? FindUnits(text, from, end, literal.data(), 1) : end;
        return at < end ? at : -1;
    }
    const WideChar head = literal[0], tail = literal[len - 1];
    const size_t middle = (len - 2) * sizeof(WideChar);
    int i = from;
#if defined(__x86_64__)
    if (HasAvx2()) {
        const int at = FindTextAvx2(text, i, last, literal);
        if (at >= 0) return at;
    }
#endif
#if defined(__SSE2__)
    // Eight starts at a time: the first and the last unit of the literal must both be
    // in place before the rest is compared.
    const __m128i nh = _mm_set1_epi16(static_cast<short>(head));
    const __m128i nt = _mm_set1_epi16(static_cast<short>(tail));
    for (; i + 8 <= last + 1; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + len - 1));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, nh), _mm_cmpeq_epi16(b, nt))));
        while (mask) {
            const int at = i + (__builtin_ctz(mask) >> 1);
            if (std::memcmp(text + at + 1, literal.data() + 1, middle) == 0) return at;
            mask &= mask - 1;
            mask &= mask - 1; // both bytes of the unit
        }
    }
#endif
    for (; i <= last; ++i)
        if (text[i] == head && text[i + len - 1] == tail &&
            std::memcmp(text + i + 1, literal.data() + 1, middle) == 0)
            return i;
    return -1;
}

} // namespace regex
