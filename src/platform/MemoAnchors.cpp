#include "platform/MemoAnchors.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>

namespace memo_anchors {

namespace {

// A place is considered where the hash of the kWindow units before it falls below one in
// kOneIn, unless another did within kGap units before it (text that repeats itself every
// few units would otherwise have one in every repetition or in none); the row ends at the
// first place the rules allow within kFind units.
constexpr int kWindow = 32;
constexpr uint32_t kOneIn = 4096;
constexpr int kGap = 1024;
constexpr int kFind = 64;
constexpr uint32_t kBase = 0x01000193;

uint32_t Mixed(uint32_t H) {
    H ^= H >> 16;
    H *= 0x85EBCA6Bu;
    H ^= H >> 13;
    H *= 0xC2B2AE35u;
    H ^= H >> 16;
    return H;
}

// The first place at or after At (before Length) where the rules allow a row to end
// between whole characters, within kFind units; -1 where there is none.
int BreakFrom(const char16_t* Text, int Length, int At) {
    const int from = std::max(0, At - 16);
    const int to = std::min(Length, At + kFind + 32);
    const auto* text = reinterpret_cast<const QChar*>(Text + from);
    QTextBoundaryFinder rules(QTextBoundaryFinder::Line, text, to - from);
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text, to - from);
    rules.setPosition(At - from);
    qsizetype p = rules.isAtBoundary() ? At - from : rules.toNextBoundary();
    for (; p > 0 && from + p < At + kFind && from + p < to; p = rules.toNextBoundary()) {
        chars.setPosition(p);
        if (chars.isAtBoundary()) return from + int(p);
    }
    return -1;
}

} // namespace

std::vector<int> InLine(const char16_t* Text, int Length) {
    std::vector<int> at;
    if (Length < kLongLine) return at;
    uint32_t power = 1; // kBase to the kWindow
    for (int i = 0; i < kWindow; ++i)
        power *= kBase;
    uint32_t h = 0;
    for (int i = 0; i < kWindow; ++i)
        h = h * kBase + Text[i];
    int lastHit = -kGap;
    for (int p = kWindow; p < Length - kFind; ++p) {
        if (Mixed(h) < UINT32_MAX / kOneIn) {
            if (p - lastHit >= kGap) {
                const int b = BreakFrom(Text, Length, p);
                if (b > 0 && b < Length - kFind) at.push_back(b);
            }
            lastHit = p;
        }
        h = h * kBase + Text[p] - Text[p - kWindow] * power;
    }
    return at;
}

} // namespace memo_anchors
