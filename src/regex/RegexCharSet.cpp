#include "regex/RegexCharSet.h"

#include <algorithm>

namespace regex {

void CharSet::Add(WideChar c) {
    AddRange(c, c);
}

void CharSet::AddRange(WideChar first, WideChar last) {
    unsigned c = first;
    for (; c <= last && c < 256; ++c)
        low_[c >> 6] |= uint64_t(1) << (c & 63);
    if (c <= last) high_.emplace_back(static_cast<WideChar>(c), last);
}

void CharSet::AddAll(WideStringView chars) {
    for (WideChar c : chars)
        Add(c);
}

void CharSet::Finish() {
    if (high_.size() < 2) return;
    std::sort(high_.begin(), high_.end());
    std::vector<std::pair<WideChar, WideChar>> merged;
    for (const auto& r : high_) {
        if (!merged.empty() && unsigned(r.first) <= unsigned(merged.back().second) + 1)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    high_ = std::move(merged);
}

bool CharSet::HasHigh(WideChar c) const {
    if (high_.size() <= 4) {
        for (const auto& r : high_)
            if (c >= r.first && c <= r.second) return true;
        return false;
    }
    auto it = std::upper_bound(high_.begin(), high_.end(), std::make_pair(c, WideChar(0xFFFF)));
    if (it == high_.begin()) return false;
    --it;
    return c >= it->first && c <= it->second;
}

void CharBitmap::Merge(const CharBitmap& other) {
    for (size_t i = 0; i < bits_.size(); ++i)
        bits_[i] |= other.bits_[i];
}

int CharBitmap::Members(WideChar* out, int max) const {
    int n = 0;
    for (size_t w = 0; w < bits_.size(); ++w)
        for (uint64_t bits = bits_[w]; bits; bits &= bits - 1) {
            if (n == max) return n + 1;
            out[n++] = static_cast<WideChar>(w * 64 + __builtin_ctzll(bits));
        }
    return n;
}

void CharBitmap::AddSet(const CharSet& set, bool negate) {
    std::vector<uint64_t> own(1024, 0);
    for (int i = 0; i < 4; ++i)
        own[i] = set.low_[i];
    for (const auto& r : set.high_)
        for (unsigned c = r.first; c <= r.second; ++c)
            own[c >> 6] |= uint64_t(1) << (c & 63);
    for (size_t i = 0; i < bits_.size(); ++i)
        bits_[i] |= negate ? ~own[i] : own[i];
}

bool CharBitmap::Intersects(const CharBitmap& other) const {
    for (size_t i = 0; i < bits_.size(); ++i)
        if (bits_[i] & other.bits_[i]) return true;
    return false;
}

} // namespace regex
