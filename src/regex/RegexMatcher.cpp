#include "regex/RegexMatcher.h"

#include <algorithm>
#include <cstring>

#include "regex/RegexScan.h"

namespace regex {

namespace {

enum FrameKind : int32_t {
    kChoice,       // resume at pc a with the cursor at b
    kCapture,      // capture slot a had the value b
    kLoopState,    // loop slot a had count b and iteration start c
    kRepeatGreedy, // repetition at pc a from b took c units: try fewer
    kRepeatLazy,   // repetition at pc a from b took c units: try more
    kLoopLazy,     // lazy loop at pc a left at b: try one more iteration
    kOpened,       // group a's pass in progress had begun at b
};

// The backtracking stack may hold this many entries (about 64 MB).
constexpr size_t kMaxFrames = size_t(1) << 22;

// Units looked at in a tight scan cost far less than a backtracking step.
constexpr long long ScanCost(long long units) {
    return units / 8;
}

bool IsBackRef(Op op) {
    return op == Op::BackRef || op == Op::BackRefCI;
}

} // namespace

bool Matcher::Push(int32_t kind, int32_t a, int32_t b, int32_t c) {
    if (depth_ == stack_.size()) {
        if (stack_.size() >= kMaxFrames) return false;
        stack_.resize(std::max<size_t>(256, stack_.size() * 2));
    }
    stack_[depth_++] = {kind, a, b, c};
    return true;
}

bool Matcher::NotLineSepAt(int p) const {
    const WideChar ch = text_[p];
    if (prog_->lineSep.Has(ch)) return false;
    return !(prog_->hasPair && ch == prog_->pairHead && p + 1 < end_ &&
             text_[p + 1] == prog_->pairTail);
}

bool Matcher::LineStartAt(int p) const {
    if (p == 0) return true;
    const WideChar prev = text_[p - 1];
    if (prog_->hasPair) {
        if (prev == prog_->pairTail && p >= 2 && text_[p - 2] == prog_->pairHead) return true;
        if (prev == prog_->pairHead && p < end_ && text_[p] == prog_->pairTail) return false;
    }
    return prog_->lineSep.Has(prev);
}

bool Matcher::LineEndAt(int p) const {
    if (p == end_) return true;
    const WideChar cur = text_[p];
    if (prog_->hasPair) {
        if (cur == prog_->pairHead && p + 1 < end_ && text_[p + 1] == prog_->pairTail) return true;
        if (cur == prog_->pairTail && p >= 1 && text_[p - 1] == prog_->pairHead) return false;
    }
    return prog_->lineSep.Has(cur);
}

// Length of a group's text, -1 when it did not take part.
int Matcher::GroupLength(int group) const {
    const int s = caps_[2 * group], e = caps_[2 * group + 1];
    if (s < 0 || e < 0 || e < s) return -1;
    return e - s;
}

bool Matcher::OneAt(const Inst& op, int p) const {
    if (p >= end_) return false;
    const WideChar ch = text_[p];
    switch (op.op) {
    case Op::Char:
        return ch == op.c;
    case Op::CharCI:
        return ch == op.c || ch == op.c2;
    case Op::Any:
        return true;
    case Op::AnyNotLineSep:
        return NotLineSepAt(p);
    case Op::Set:
        return prog_->sets[op.a].Has(ch) != op.neg;
    case Op::Digit:
        return (ch >= '0' && ch <= '9') != op.neg;
    case Op::Word:
        return prog_->word.Has(ch) != op.neg;
    case Op::Space:
        return prog_->space.Has(ch) != op.neg;
    case Op::BackRef:
    case Op::BackRefCI: {
        const int len = GroupLength(op.a);
        if (len < 0 || end_ - p < len) return false;
        const WideChar* g = text_ + caps_[2 * op.a];
        if (op.op == Op::BackRef) return std::memcmp(g, text_ + p, len * sizeof(WideChar)) == 0;
        for (int i = 0; i < len; ++i)
            if (text_[p + i] != g[i] && text_[p + i] != prog_->Invert(g[i])) return false;
        return true;
    }
    default:
        return false;
    }
}

// How many times in a row the one-unit operand matches from p (at most max).
int Matcher::CountRun(const Inst& op, int p, int32_t max, int unit) const {
    int n = 0;
    if (IsBackRef(op.op)) {
        while (n < max && OneAt(op, p + n * unit))
            ++n;
        return n;
    }
    const int limit = static_cast<int>(std::min<long long>(max, end_ - p));
    const WideChar* s = text_ + p;
    switch (op.op) {
    case Op::Any:
        return limit;
    case Op::Char:
        while (n < limit && s[n] == op.c)
            ++n;
        return n;
    case Op::CharCI:
        while (n < limit && (s[n] == op.c || s[n] == op.c2))
            ++n;
        return n;
    case Op::Set: {
        const CharSet& set = prog_->sets[op.a];
        if (op.neg)
            while (n < limit && !set.Has(s[n]))
                ++n;
        else
            while (n < limit && set.Has(s[n]))
                ++n;
        return n;
    }
    case Op::Digit:
        while (n < limit && ((s[n] >= '0' && s[n] <= '9') != op.neg))
            ++n;
        return n;
    case Op::Word:
        while (n < limit && prog_->word.Has(s[n]) != op.neg)
            ++n;
        return n;
    case Op::Space:
        while (n < limit && prog_->space.Has(s[n]) != op.neg)
            ++n;
        return n;
    default:
        while (n < limit && OneAt(op, p + n))
            ++n;
        return n;
    }
}

SearchResult Matcher::Search(const Program& program, const WideChar* text, int end, int from,
                             int* caps) {
    prog_ = &program;
    text_ = text;
    end_ = end;
    caps_ = caps;
    loopCount_.assign(program.loopSlots, 0);
    loopStart_.assign(program.loopSlots, -1);
    std::fill(caps, caps + kCaptureSlots, -1);
    if (budget_ < 0) {
        onError_(kErrorBacktrackLimit);
        return SearchResult::GaveUp;
    }

    if (!program.required.empty() && FindText(text, from, end, program.required) < 0)
        return SearchResult::NotFound;
    for (int q = from;; ++q) {
        if (program.anchored) {
            if (q != 0) return SearchResult::NotFound;
        } else if (!program.prefix.empty()) {
            q = FindText(text, q, end, program.prefix);
            if (q < 0) return SearchResult::NotFound;
        } else if (!program.afterLeadRun.empty()) {
            q = LeadRunStart(q);
            if (q < 0) return SearchResult::NotFound;
        } else if (program.first) {
            q = NextStart(q);
            if (q >= end) return SearchResult::NotFound;
        }
        const SearchResult r = TryAt(q);
        if (r == SearchResult::Found) return r;
        if (r == SearchResult::GaveUp) {
            std::fill(caps, caps + kCaptureSlots, -1);
            onError_(kErrorBacktrackLimit);
            return SearchResult::GaveUp;
        }
        // A try that starts with a greedy repetition failed after a run that the text
        // (not the maximum) ended, having tried every count down to the minimum: a
        // start inside that run can only end the repetition at one of those places,
        // in the same state, so it fails too.
        if (leadRun_ > 0 && leadRun_ < program.code[0].b) q += leadRun_;
        if (program.anchored || q >= end) return SearchResult::NotFound;
    }
}

// The first position from q on where a match may start by the program's first units
// (or pairs of units), or the end.
int Matcher::NextStart(int q) const {
    const Program& program = *prog_;
    const CharBitmap* pairs = program.pairs.get();
    auto pairAt = [&](int at) {
        return at + 1 < end_ && pairs->Has(Program::PairKey(text_[at], text_[at + 1]));
    };
    if (program.firstCount > 0) {
        // Few first units are found eight at a time.
        for (;; ++q) {
            q = FindUnits(text_, q, end_, program.firstUnits, program.firstCount);
            if (q >= end_ || !pairs || pairAt(q)) return q;
        }
    }
    if (pairs) {
        // A pair's key keeps both units of Latin-1 text apart, so it alone tells.
        for (; q < end_; ++q)
            if (pairAt(q)) return q;
        return end_;
    }
    const CharBitmap& first = *program.first;
    while (q < end_ && !first.Has(text_[q]))
        ++q;
    return q;
}

// A match is a run of the leading repetition's units and then the text after it, which
// begins no sooner than the repetition's minimum after the start. So no match starts
// before the run that ends where that text first occurs from there: the start of that
// run (not before q), or -1 when the text occurs nowhere.
int Matcher::LeadRunStart(int q) const {
    const Inst& rep = prog_->code[0];
    const Inst& unit = prog_->code[1];
    const long long earliest = static_cast<long long>(q) + rep.a;
    if (earliest > end_) return -1;
    const int at = FindText(text_, static_cast<int>(earliest), end_, prog_->afterLeadRun);
    if (at < 0) return -1;
    int start = at;
    while (start > q && OneAt(unit, start - 1))
        --start;
    return start;
}

// Runs the repetition of a one-unit operand at `pc`, moving `p` past the units it
// takes and leaving a choice point for the other counts it may take.
Matcher::Step Matcher::EnterRepeat(int pc, int& p) {
    const Inst& in = prog_->code[pc];
    const Inst& op = prog_->code[pc + 1];
    int unit = 1;
    if (IsBackRef(op.op)) {
        unit = GroupLength(op.a);
        if (unit <= 0) {
            // A missing group matches nowhere; an empty one any number of times.
            if (unit < 0 && in.a > 0) return Step::Fail;
            return Step::Next;
        }
    }
    // Counting and hint scans are paid per unit looked at: a long run met
    // again after every backtrack must not escape the budget.
    int n;
    if (in.possessive) {
        n = CountRun(op, p, in.b, unit);
        if (pc == 0) leadRun_ = n;
        if (!Spend(1 + ScanCost(static_cast<long long>(n) * unit))) return Step::GaveUp;
        if (n < in.a) return Step::Fail;
    } else if (in.greedy) {
        n = CountRun(op, p, in.b, unit);
        if (pc == 0) leadRun_ = n;
        const int counted = n;
        if (in.hasHint)
            while (n >= in.a && !HintAt(p + n * unit, in.c))
                --n;
        if (!Spend(1 + ScanCost((2LL * counted - n) * unit))) return Step::GaveUp;
        if (n < in.a) return Step::Fail;
        if (n > in.a && !Push(kRepeatGreedy, pc, p, n)) return Step::GaveUp;
    } else {
        n = CountRun(op, p, in.a, unit);
        bool found = n >= in.a;
        if (found && in.hasHint)
            while (!HintAt(p + n * unit, in.c)) {
                if (n >= in.b || !OneAt(op, p + n * unit)) {
                    found = false;
                    break;
                }
                ++n;
            }
        if (!Spend(1 + ScanCost(static_cast<long long>(n) * unit))) return Step::GaveUp;
        if (!found) return Step::Fail;
        if (n < in.b && !Push(kRepeatLazy, pc, p, n)) return Step::GaveUp;
    }
    p += n * unit;
    return Step::Next;
}

// Decides between another iteration of the loop `in` (at pc `at`) and leaving it,
// setting `pc` to where the try goes on; false when the try gave up.
bool Matcher::LoopStep(const Inst& in, int at, int p, int& pc) {
    const int slot = in.x;
    const int32_t count = loopCount_[slot];
    if (count < in.a || (count < in.b && in.greedy)) {
        // Iterations below the minimum leave no choice behind, so each one is
        // paid for here.
        if (!Spend(1)) return false;
        if (count >= in.a && !Push(kChoice, in.exit, p)) return false;
        if (!Push(kLoopState, slot, count, loopStart_[slot])) return false;
        loopCount_[slot] = count + 1;
        loopStart_[slot] = p;
        pc = in.y;
    } else if (count < in.b) {
        if (!Push(kLoopLazy, at, p)) return false;
        pc = in.exit;
    } else {
        pc = in.exit;
    }
    return true;
}

// One try at `start`.
SearchResult Matcher::TryAt(int start) {
    const Inst* code = prog_->code.data();
    const WideChar* s = text_;
    const int end = end_;
    int* caps = caps_;
    int p = start;
    int pc = 0;
    depth_ = 0;
    leadRun_ = -1;

    for (;;) {
        const Inst& in = code[pc];
        switch (in.op) {
        case Op::Match:
            caps[0] = start;
            caps[1] = p;
            return SearchResult::Found;
        case Op::Char:
            if (p < end && s[p] == in.c) {
                ++p;
                ++pc;
                continue;
            }
            goto fail;
        case Op::CharCI:
            if (p < end && (s[p] == in.c || s[p] == in.c2)) {
                ++p;
                ++pc;
                continue;
            }
            goto fail;
        case Op::String: {
            const int len = in.b;
            if (end - p >= len &&
                std::memcmp(s + p, prog_->strings.data() + in.a, len * sizeof(WideChar)) == 0) {
                p += len;
                ++pc;
                continue;
            }
            goto fail;
        }
        case Op::StringCI: {
            const int len = in.b;
            if (end - p < len) goto fail;
            const WideChar* lit = prog_->strings.data() + in.a;
            for (int i = 0; i < len; ++i)
                if (s[p + i] != lit[i] && s[p + i] != lit[len + i]) goto fail;
            p += len;
            ++pc;
            continue;
        }
        case Op::Any:
        case Op::AnyNotLineSep:
        case Op::Set:
        case Op::Digit:
        case Op::Word:
        case Op::Space:
            if (OneAt(in, p)) {
                ++p;
                ++pc;
                continue;
            }
            goto fail;
        case Op::InputStart:
            if (p != 0) goto fail;
            ++pc;
            continue;
        case Op::InputEnd:
            if (p != end) goto fail;
            ++pc;
            continue;
        case Op::LineStart:
            if (!LineStartAt(p)) goto fail;
            ++pc;
            continue;
        case Op::LineEnd:
            if (!LineEndAt(p)) goto fail;
            ++pc;
            continue;
        case Op::WordBoundary:
        case Op::NotWordBoundary:
            if ((IsWordAt(p - 1) != IsWordAt(p)) != (in.op == Op::WordBoundary)) goto fail;
            ++pc;
            continue;
        case Op::BackRef:
        case Op::BackRefCI: {
            const int len = GroupLength(in.a);
            if (len < 0 || (len > 0 && !OneAt(in, p))) goto fail;
            if (!Spend(ScanCost(len))) return SearchResult::GaveUp;
            p += len;
            ++pc;
            continue;
        }
        case Op::Split:
            if (in.dispatch >= 0 && p < end && s[p] < 256) {
                const int32_t to = prog_->dispatch[in.dispatch][s[p]];
                if (to != pc) {
                    pc = to; // the choices before it cannot start here
                    continue;
                }
            }
            if (in.filter >= 0 && (p >= end || !prog_->branchFirst[in.filter].Has(s[p]))) {
                pc = in.y; // the first choice cannot start here
                continue;
            }
            if (!Push(kChoice, in.y, p)) return SearchResult::GaveUp;
            pc = in.x;
            continue;
        case Op::Jump:
            pc = in.x;
            continue;
        case Op::Open:
            // The group's captures stay those of its last pass until this one closes:
            // a back-reference inside a repeated group refers to the previous pass.
            if (!Push(kOpened, in.a, opened_[in.a])) return SearchResult::GaveUp;
            opened_[in.a] = p;
            ++pc;
            continue;
        case Op::Close: {
            const int slot = 2 * in.a;
            if (!Push(kCapture, slot, caps[slot]) || !Push(kCapture, slot + 1, caps[slot + 1]))
                return SearchResult::GaveUp;
            caps[slot] = opened_[in.a];
            caps[slot + 1] = p;
            ++pc;
            continue;
        }
        case Op::Repeat:
            switch (EnterRepeat(pc, p)) {
            case Step::Next:
                pc += 2;
                continue;
            case Step::Fail:
                goto fail;
            case Step::GaveUp:
                return SearchResult::GaveUp;
            }
            continue;
        case Op::LoopInit: {
            const int slot = in.x;
            if (!Push(kLoopState, slot, loopCount_[slot], loopStart_[slot]))
                return SearchResult::GaveUp;
            loopCount_[slot] = 0;
            loopStart_[slot] = -1;
            if (!LoopStep(in, pc, p, pc)) return SearchResult::GaveUp;
            continue;
        }
        case Op::LoopCont:
            // An iteration that consumed nothing ends the loop once the minimum is reached.
            if (p == loopStart_[in.x] && loopCount_[in.x] >= in.a) {
                pc = in.exit;
                continue;
            }
            if (!LoopStep(in, pc, p, pc)) return SearchResult::GaveUp;
            continue;
        case Op::Fail:
            onError_(in.a);
            std::fill(caps, caps + kCaptureSlots, -1);
            return SearchResult::NotFound;
        }

    fail:
        switch (Backtrack(pc, p)) {
        case Unwind::Resumed:
            continue;
        case Unwind::Exhausted:
            return SearchResult::NotFound;
        case Unwind::GaveUp:
            return SearchResult::GaveUp;
        }
    }
}

// Undoes the try's steps back to its latest choice point and takes the next choice
// there, setting `pc` and `p` to where the try goes on.
Matcher::Unwind Matcher::Backtrack(int& pc, int& p) {
    const Inst* code = prog_->code.data();
    int* caps = caps_;
    for (;;) {
        if (depth_ == 0) return Unwind::Exhausted;
        const Frame f = stack_[--depth_];
        switch (f.kind) {
        case kCapture:
            caps[f.a] = f.b;
            continue;
        case kOpened:
            opened_[f.a] = f.b;
            continue;
        case kLoopState:
            loopCount_[f.a] = f.b;
            loopStart_[f.a] = f.c;
            continue;
        default:
            break;
        }
        if (--budget_ < 0) return Unwind::GaveUp;
        if (f.kind == kChoice) {
            pc = f.a;
            p = f.b;
            return Unwind::Resumed;
        }
        if (f.kind == kLoopLazy) {
            const Inst& loop = code[f.a];
            const int slot = loop.x;
            if (!Push(kLoopState, slot, loopCount_[slot], loopStart_[slot])) return Unwind::GaveUp;
            ++loopCount_[slot];
            loopStart_[slot] = f.b;
            p = f.b;
            pc = loop.y;
            return Unwind::Resumed;
        }
        const Inst& rep = code[f.a];
        const Inst& op = code[f.a + 1];
        const int unit = IsBackRef(op.op) ? GroupLength(op.a) : 1;
        const int from = f.b;
        int n = f.c;
        if (f.kind == kRepeatGreedy) {
            --n;
            const int before = n;
            if (rep.hasHint)
                while (n >= rep.a && !HintAt(from + n * unit, rep.c))
                    --n;
            if (!Spend(ScanCost(before - n))) return Unwind::GaveUp;
            if (n < rep.a) continue;
            if (n > rep.a && !Push(kRepeatGreedy, f.a, from, n)) return Unwind::GaveUp;
        } else {
            bool ok = true;
            const int before = n;
            do {
                if (n >= rep.b || !OneAt(op, from + n * unit)) {
                    ok = false;
                    break;
                }
                ++n;
            } while (rep.hasHint && !HintAt(from + n * unit, rep.c));
            if (!Spend(ScanCost(static_cast<long long>(n - before) * unit))) return Unwind::GaveUp;
            if (!ok) continue;
            if (n < rep.b && !Push(kRepeatLazy, f.a, from, n)) return Unwind::GaveUp;
        }
        p = from + n * unit;
        pc = f.a + 2;
        return Unwind::Resumed;
    }
}

} // namespace regex
