#include "text/WideTypes.h"

#include <algorithm>
#include <array>

namespace {

struct CaseRun {
    uint16_t first, last;
    int step, delta;
};

#include "text/WideCaseTables.inc"

using CaseMap = std::array<uint16_t, 0x10000>;

CaseMap buildMap(const CaseRun* runs, size_t count) {
    CaseMap map{};
    for (size_t c = 0; c < map.size(); ++c)
        map[c] = static_cast<uint16_t>(c);
    for (size_t i = 0; i < count; ++i)
        for (int c = runs[i].first; c <= runs[i].last; c += runs[i].step)
            map[c] = static_cast<uint16_t>(c + runs[i].delta);
    return map;
}

const CaseMap& upperMap() {
    static const CaseMap map = buildMap(kUpperRuns, std::size(kUpperRuns));
    return map;
}

const CaseMap& lowerMap() {
    static const CaseMap map = buildMap(kLowerRuns, std::size(kLowerRuns));
    return map;
}

bool isBlank(WideChar c) {
    return c <= 0x20;
}

} // namespace

WideChar WideUpperChar(WideChar c) {
    return upperMap()[c];
}
WideChar WideLowerChar(WideChar c) {
    return lowerMap()[c];
}

WideString WideUpperCase(WideStringView s) {
    const CaseMap& map = upperMap();
    WideString r(s);
    for (auto& c : r)
        c = map[c];
    return r;
}

WideString WideLowerCase(WideStringView s) {
    const CaseMap& map = lowerMap();
    WideString r(s);
    for (auto& c : r)
        c = map[c];
    return r;
}

WideString WideTrimLeft(WideStringView s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return WideString(s.substr(i));
}

WideString WideTrimRight(WideStringView s) {
    size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1]))
        --n;
    return WideString(s.substr(0, n));
}

WideString WideTrim(WideStringView s) {
    return WideTrimLeft(WideTrimRight(s));
}

WideString U16(std::string_view utf8) {
    WideString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            n = 3;
        } else {
            cp = b & 0x07;
            n = 4;
        }
        for (int k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<WideChar>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<WideChar>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<WideChar>(cp));
        }
    }
    return out;
}

std::string U8(WideStringView s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int WideCompareText(WideStringView a, WideStringView b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const WideChar ua = WideUpperChar(a[i]), ub = WideUpperChar(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return 0;
}
