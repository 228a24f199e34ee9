// The backtracking matcher: walks a program over an input with an explicit
// stack of choice points, so neither a long input nor a deep expression grows
// the machine stack, and bounds the work one search may do.
#pragma once

#include <functional>
#include <vector>

#include "regex/RegexOptions.h"
#include "regex/RegexProgram.h"

namespace regex {

// Recorded when a search gives up because it backtracked too much.
constexpr int kErrorBacktrackLimit = 1016;

enum class SearchResult { Found, NotFound, GaveUp };

class Matcher {
public:
    // `onError` records an error met while matching (the try fails, the search goes on).
    explicit Matcher(std::function<void(int)> onError) : onError_(std::move(onError)) {}

    // Gives the searches that follow, together, the work that one call of a routine may
    // do on a subject of `length` units: a fixed part and a part per unit. Searches after
    // it is spent give up at once.
    void StartBudget(int length) { budget_ = kBaseBudget + kBudgetPerUnit * length; }

    // Searches `text[0 .. end)` for the leftmost match starting at `from` or later
    // (0-based; `from` may equal `end`). On success `caps` holds the groups'
    // start and end indexes (-1 where a group did not take part).
    SearchResult Search(const Program& program, const WideChar* text, int end, int from, int* caps);

private:
    struct Frame {
        int32_t kind, a, b, c;
    };

    // How a try goes on after a step failed.
    enum class Unwind { Resumed, Exhausted, GaveUp };

    SearchResult TryAt(int start);
    int NextStart(int q) const;
    int LeadRunStart(int q) const;
    Unwind Backtrack(int& pc, int& p);
    // How a step of a try ended.
    enum class Step { Next, Fail, GaveUp };
    Step EnterRepeat(int pc, int& p);
    bool LoopStep(const Inst& in, int at, int p, int& pc);
    bool HintAt(int p, WideChar c) const { return p < end_ && text_[p] == c; }
    int CountRun(const Inst& op, int p, int32_t max, int unit) const;
    bool OneAt(const Inst& op, int p) const;
    bool NotLineSepAt(int p) const;
    bool IsWordAt(int p) const { return p >= 0 && p < end_ && prog_->word.Has(text_[p]); }
    bool LineStartAt(int p) const;
    bool LineEndAt(int p) const;
    int GroupLength(int group) const;
    bool Push(int32_t kind, int32_t a, int32_t b, int32_t c = 0);
    // Takes `units` of work from the search's budget; false once it is spent.
    bool Spend(long long units) {
        budget_ -= units;
        return budget_ >= 0;
    }

    std::function<void(int)> onError_;
    const Program* prog_ = nullptr;
    const WideChar* text_ = nullptr;
    int end_ = 0;
    int* caps_ = nullptr;
    std::vector<Frame> stack_;
    size_t depth_ = 0;
    // Enough for any sensible expression on the subject; pathological nesting of
    // repetitions gives up instead of running for hours.
    static constexpr long long kBaseBudget = 20'000'000;
    static constexpr long long kBudgetPerUnit = 64;

    std::vector<int32_t> loopCount_, loopStart_;
    // Where each group's pass now running began; its captures (caps_) keep the text of
    // its last completed pass until this one closes, which back-references see.
    int opened_[kCaptureSlots / 2] = {};
    long long budget_ = kBaseBudget;
    // Units the possessive repetition at the program's start took in the last
    // try (-1: it did not run).
    int leadRun_ = -1;
};

} // namespace regex
