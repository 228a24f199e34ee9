// A set of UTF-16 units: a bitmap for U+0000..U+00FF and sorted ranges above.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "text/WideTypes.h"

namespace regex {

class CharSet {
public:
    void Add(WideChar c);
    void AddRange(WideChar first, WideChar last);
    void AddAll(WideStringView chars);
    // Merges the ranges above U+00FF; call once after the last Add.
    void Finish();

    bool Has(WideChar c) const {
        if (c < 256) return (low_[c >> 6] >> (c & 63)) & 1;
        return !high_.empty() && HasHigh(c);
    }

private:
    friend class CharBitmap;
    bool HasHigh(WideChar c) const;

    uint64_t low_[4] = {0, 0, 0, 0};
    std::vector<std::pair<WideChar, WideChar>> high_;
};

// A full bitmap of all 65536 units (start-character filter of a search).
class CharBitmap {
public:
    CharBitmap() : bits_(1024, 0) {}
    void Set(WideChar c) { bits_[c >> 6] |= uint64_t(1) << (c & 63); }
    bool Has(WideChar c) const { return (bits_[c >> 6] >> (c & 63)) & 1; }
    void SetAll() { bits_.assign(1024, ~uint64_t(0)); }
    void Merge(const CharBitmap& other);
    // Writes up to `max` members to `out`; returns how many there are (up to max + 1).
    int Members(WideChar* out, int max) const;
    // Adds every unit that `set` holds (or, with `negate`, does not hold).
    void AddSet(const CharSet& set, bool negate);
    bool Intersects(const CharBitmap& other) const;

private:
    std::vector<uint64_t> bits_;
};

} // namespace regex
