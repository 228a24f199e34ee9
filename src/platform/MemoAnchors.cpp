#include "platform/MemoAnchors.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace memo_anchors {

namespace {

// A place is considered where the hash of the kWindow units before it falls below one in
// kOneIn, unless another did within kGap units before it (text that repeats itself every
// few units would otherwise have one in every repetition or in none); the row ends at the
// first place the rules allow within kFind units.
constexpr int kWindow = 32;
constexpr uint32_t kOneIn = 2048;
constexpr int kGap = 512;
constexpr int kFind = 256;
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

// The places whose hash falls from From up to To, the hashes before From looked at for
// the gap only.
void Found(const char16_t* Text, int Length, int From, int To, std::vector<int>& At) {
    if (Length < kLongLine) return;
    const int scan = std::max(kWindow, From - kGap);
    To = std::min(To, Length - kFind);
    uint32_t power = 1; // kBase to the kWindow
    for (int i = 0; i < kWindow; ++i)
        power *= kBase;
    uint32_t h = 0;
    for (int i = scan - kWindow; i < scan; ++i)
        h = h * kBase + Text[i];
    int lastHit = -kGap;
    for (int p = scan; p < To; ++p) {
        if (Mixed(h) < UINT32_MAX / kOneIn) {
            if (p >= From && p - lastHit >= kGap) {
                const int b = BreakFrom(Text, Length, p);
                if (b > 0 && b < Length - kFind) At.push_back(b);
            }
            lastHit = p;
        }
        h = h * kBase + Text[p] - Text[p - kWindow] * power;
    }
}

} // namespace

std::vector<int> InLine(const char16_t* Text, int Length) {
    std::vector<int> at;
    Found(Text, Length, kWindow, Length, at);
    return at;
}

// Whether a unit is a hash's start changes only where the hash takes in the edit; whether
// it gives a place also up to kGap behind (the gap), and before it as far as the rules
// look back from a place. Near the line's end its length counts; a line that grows long
// or stops being long has all its places found anew.
std::vector<int> AfterEdit(const char16_t* Text, int Length, int Start, int OldEnd, int NewEnd,
                           const std::vector<int>& Old) {
    const int oldLength = Length - (NewEnd - OldEnd);
    std::vector<int> found;
    if ((oldLength < kLongLine) != (Length < kLongLine)) {
        found = InLine(Text, Length);
    } else if (Length >= kLongLine) {
        // Windows whose ends no place comes from from both sides of.
        auto window = [&](int From, int To) {
            From = std::max(From, kWindow);
            To = std::min(To, Length);
            for (int b : Old) {
                if (b >= From && b < From + kFind) From = std::max(b - kFind, kWindow);
                if (b >= To && b < To + kFind) To = b + 1;
            }
            return std::pair{From, To};
        };
        const auto [from, to] = window(Start - kFind - 48, NewEnd + kWindow + kGap + 1);
        const auto [endFrom, endTo] =
            window(std::min(oldLength, Length) - kFind - 64 - std::abs(NewEnd - OldEnd), Length);
        found.assign(Old.begin(), Old.end());
        auto replace = [&](int From, int To) {
            if (From >= To) return;
            std::vector<int> fresh;
            Found(Text, Length, From, To, fresh);
            // (no place stands before the first hash's end: those moved there go)
            const auto a = std::lower_bound(found.begin(), found.end(), From > kWindow ? From : 0);
            const auto b = std::lower_bound(a, found.end(), To);
            const auto at = found.erase(a, b);
            found.insert(at, fresh.begin(), fresh.end());
        };
        if (endFrom <= to) {
            replace(from, std::max(to, endTo));
        } else {
            replace(endFrom, endTo);
            replace(from, to);
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
    }
    return found;
}

bool Differ(const std::vector<int>& Old, const std::vector<int>& New, int& First, int& Last) {
    if (New == Old) return false;
    std::vector<int> changed;
    std::set_symmetric_difference(Old.begin(), Old.end(), New.begin(), New.end(),
                                  std::back_inserter(changed));
    First = changed.front();
    Last = changed.back();
    return true;
}

} // namespace memo_anchors
