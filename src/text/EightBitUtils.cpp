#include "text/EightBitUtils.h"

#include <algorithm>
#include <array>
#include <new>
#include <stdexcept>
#include <string>

#include "text/CodePages.h"

namespace {

const std::array<uint8_t, 256>& upperBytes() {
    static const std::array<uint8_t, 256> map = AnsiUpperByteMap(ProcessAnsiCodePage());
    return map;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Position of the first match of find in source at or after from; npos when none.
template <bool CaseSensitive>
size_t horspoolFind(std::string_view source, std::string_view find, size_t from,
                    const std::array<size_t, 256>& skip, const std::array<uint8_t, 256>& up) {
    auto fold = [&up](char c) -> uint8_t {
        uint8_t b = static_cast<uint8_t>(c);
        return CaseSensitive ? b : up[b];
    };
    const size_t m = find.size();
    size_t pos = from;
    while (pos + m <= source.size()) {
        size_t k = m;
        while (k > 0 && fold(source[pos + k - 1]) == fold(find[k - 1]))
            --k;
        if (k == 0) return pos;
        pos += skip[fold(source[pos + m - 1])];
    }
    return std::string_view::npos;
}

template <bool CaseSensitive>
AnsiString replaceAll(std::string_view source, std::string_view find, std::string_view replace) {
    const auto& up = upperBytes();
    std::array<size_t, 256> skip;
    skip.fill(find.size());
    for (size_t i = 0; i + 1 < find.size(); ++i) {
        uint8_t b = static_cast<uint8_t>(find[i]);
        skip[CaseSensitive ? b : up[b]] = find.size() - 1 - i;
    }
    // Grows as matches come: sizing for the worst case (every byte a match) could ask for
    // far more memory than the result ever needs.
    AnsiString result;
    result.reserve(source.size());
    size_t done = 0;
    for (;;) {
        size_t hit = horspoolFind<CaseSensitive>(source, find, done, skip, up);
        if (hit == std::string_view::npos) break;
        result.append(source.substr(done, hit - done));
        result.append(replace);
        done = hit + find.size();
    }
    result.append(source.substr(done));
    return result;
}

} // namespace

bool TryValInt32(std::string_view s, int32_t& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return false;
    uint64_t v = 0;
    if (hex) {
        if (s.size() - i > 8) return false;
        for (; i < s.size(); ++i) {
            int d = hexDigit(s[i]);
            if (d < 0) return false;
            v = v * 16 + static_cast<uint64_t>(d);
        }
        uint32_t bits = static_cast<uint32_t>(v);
        value = static_cast<int32_t>(negative ? 0u - bits : bits);
        return true;
    }
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + static_cast<uint64_t>(s[i] - '0');
        if (v > 2147483648ull) return false;
    }
    if (!negative && v > 2147483647ull) return false;
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
    return true;
}

bool IsNumeric(std::string_view s) {
    int32_t v;
    return TryValInt32(s, v);
}

size_t ExplodeA(TStrArray& arr, std::string_view separator, std::string_view text) {
    if (separator.empty()) {
        arr.emplace_back(text);
        return arr.size();
    }
    size_t start = 0;
    for (;;) {
        size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) break;
        arr.emplace_back(text.substr(start, hit - start));
        start = hit + separator.size();
    }
    // the separator appended to the text closes the last field
    arr.emplace_back(text.substr(start));
    return arr.size();
}

void ArrayAppendA(TStrArray& arr, std::string_view s) {
    arr.emplace_back(s);
}

void ArrayDeleteA(TStrArray& arr, size_t index) {
    if (index < arr.size()) arr.erase(arr.begin() + static_cast<ptrdiff_t>(index));
}

void ParseNumberListA(std::string_view text, TStrArray& numbers, int32_t upperBound) {
    numbers.clear();
    AnsiString list = FastReplace(FastReplace(text, " ", "", false), ";", ",", true);
    ExplodeA(numbers, ",", list);
    for (size_t i = numbers.size(); i-- > 0;) {
        int32_t v;
        if (TryValInt32(numbers[i], v)) {
            if (v < 1) ArrayDeleteA(numbers, i);
            continue;
        }
        TStrArray ends;
        if (numbers[i].find('-') != AnsiString::npos && ExplodeA(ends, "-", numbers[i]) == 2) {
            int32_t a, b;
            if (TryValInt32(ends[0], a) && TryValInt32(ends[1], b) && a < b) {
                // appended after the walk's position, so not examined again (a range from 0
                // keeps its 0); a start below 0 ("$80000000" reads as -2^31) is no line and
                // would otherwise expand to billions of items
                for (int64_t n = std::max(a, 0); n <= std::min(b, upperBound); ++n)
                    numbers.push_back(std::to_string(n));
            }
        }
        ArrayDeleteA(numbers, i);
    }
    if (numbers.size() > 1) SortStrArrayByValueA(numbers);
}

void SortStrArrayByValueA(TStrArray& arr) {
    std::vector<std::pair<int32_t, AnsiString>> keyed;
    keyed.reserve(arr.size());
    for (auto& s : arr) {
        int32_t v = 0;
        if (!TryValInt32(s, v)) v = 0;
        keyed.emplace_back(v, std::move(s));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (size_t i = 0; i < arr.size(); ++i)
        arr[i] = std::move(keyed[i].second);
}

AnsiString FastReplace(std::string_view source, std::string_view find, std::string_view replace,
                       bool caseSensitive) {
    if (source.empty()) return AnsiString();
    if (find.empty()) return AnsiString(source);
    try {
        return caseSensitive ? replaceAll<true>(source, find, replace)
                             : replaceAll<false>(source, find, replace);
    } catch (const std::bad_alloc&) {
        return AnsiString(); // a result too large to build is left empty
    } catch (const std::length_error&) {
        return AnsiString();
    }
}

void ColorToRGBBytes(int32_t color, uint8_t& r, uint8_t& g, uint8_t& b) {
    r = static_cast<uint8_t>(color & 0xFF);
    g = static_cast<uint8_t>((color >> 8) & 0xFF);
    b = static_cast<uint8_t>((color >> 16) & 0xFF);
}

AnsiString ColorToHexRGB(int32_t color) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    uint8_t rgb[3];
    ColorToRGBBytes(color, rgb[0], rgb[1], rgb[2]);
    AnsiString out;
    for (uint8_t c : rgb) {
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    return out;
}

int32_t HexRGBToColor(std::string_view s) {
    int32_t color = 0;
    for (int k = 0; k < 3; ++k) {
        size_t at = static_cast<size_t>(2 * k);
        std::string piece = "$" + std::string(at < s.size() ? s.substr(at, 2) : std::string_view());
        int32_t v;
        if (!TryValInt32(piece, v))
            throw EConvertError("'" + piece + "' is not a valid integer value");
        color |= (v & 0xFF) << (8 * k);
    }
    return color;
}

int32_t ColorToRGB24(int32_t color) {
    return color & 0xFFFFFF;
}
