#include "regex/RegexScan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace regex {

int FindUnits(const WideChar* text, int from, int end, const WideChar* units, int count) {
    int i = from;
    const WideChar a = units[0], b = units[count > 1 ? 1 : 0], c = units[count > 2 ? 2 : 0];
#if defined(__SSE2__)
    const __m128i na = _mm_set1_epi16(static_cast<short>(a));
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
    for (int i = from; i <= last; ++i) {
        i = FindUnits(text, i, last + 1, literal.data(), 1);
        if (i > last) break;
        if (std::memcmp(text + i + 1, literal.data() + 1, (len - 1) * sizeof(WideChar)) == 0)
            return i;
    }
    return -1;
}

} // namespace regex
