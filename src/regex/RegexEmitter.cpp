#include "regex/RegexEmitter.h"

#include <array>

#include "regex/RegexOptions.h"

namespace regex {

namespace {

// Adds every unit a class test (Set, Digit, Word, Space) accepts.
void AddClassUnits(const Program& prog, Op op, int32_t set, bool neg, CharBitmap& bm) {
    switch (op) {
    case Op::Set:
        bm.AddSet(prog.sets[set], neg);
        break;
    case Op::Digit: {
        CharSet digits;
        digits.AddRange('0', '9');
        bm.AddSet(digits, neg);
        break;
    }
    case Op::Word:
        bm.AddSet(prog.word, neg);
        break;
    default:
        bm.AddSet(prog.space, neg);
        break;
    }
}

// Builds the program from the tree.
class Emitter {
public:
    Emitter(const std::vector<Node>& nodes, Program& program, Choices& choices)
        : nodes_(nodes), prog_(program), choices_(choices) {}

    void Emit(int index) {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Empty:
            break;
        case Kind::Lit:
            EmitLiteral(n);
            break;
        case Kind::Any:
            Add(Op::Any);
            break;
        case Kind::AnyNL:
            Add(Op::AnyNotLineSep);
            break;
        case Kind::Set:
            Add(Op::Set, n.neg, n.index);
            break;
        case Kind::Digit:
            Add(Op::Digit, n.neg);
            break;
        case Kind::Word:
            Add(Op::Word, n.neg);
            break;
        case Kind::Space:
            Add(Op::Space, n.neg);
            break;
        case Kind::Assert:
            Add(n.assertOp);
            break;
        case Kind::BackRef:
            Add(n.ci ? Op::BackRefCI : Op::BackRef, false, n.index);
            break;
        case Kind::Group:
            Add(Op::Open, false, n.index);
            Emit(n.kids[0]);
            Add(Op::Close, false, n.index);
            break;
        case Kind::Concat:
            for (int kid : n.kids)
                Emit(kid);
            break;
        case Kind::Alt:
            EmitAlternation(n);
            break;
        case Kind::Repeat:
            EmitRepeat(n);
            break;
        }
    }

    // The unit after each simple repetition that a following literal requires.
    void SetRepeatHints() {
        auto& code = prog_.code;
        for (size_t pc = 0; pc + 2 < code.size(); ++pc) {
            if (code[pc].op != Op::Repeat) continue;
            const Inst& next = code[pc + 2];
            if (next.op == Op::Char) {
                code[pc].hasHint = true;
                code[pc].c = next.c;
            } else if (next.op == Op::String) {
                code[pc].hasHint = true;
                code[pc].c = prog_.strings[next.a];
            }
        }
    }

    // A greedy repetition of one unit followed by an item that must take one
    // unit from a disjoint set: every shorter run fails on that item at once.
    void SetPossessiveRepeats() {
        auto& code = prog_.code;
        for (size_t pc = 0; pc + 2 < code.size(); ++pc) {
            Inst& rep = code[pc];
            if (rep.op != Op::Repeat || !rep.greedy) continue;
            CharBitmap taken, needed;
            if (!UnitsOf(code[pc + 1], taken)) continue;
            const Inst& next = code[pc + 2];
            bool follows = UnitsOf(next, needed);
            if (!follows && next.op == Op::Repeat && next.a > 0 && pc + 3 < code.size())
                follows = UnitsOf(code[pc + 3], needed);
            if (follows && !taken.Intersects(needed)) rep.possessive = true;
        }
    }

private:
    // Every unit the one-unit item (or the first unit of a literal) can take;
    // false when the item does not certainly take a unit.
    bool UnitsOf(const Inst& in, CharBitmap& bm) const {
        switch (in.op) {
        case Op::Char:
            bm.Set(in.c);
            return true;
        case Op::CharCI:
            bm.Set(in.c);
            bm.Set(in.c2);
            return true;
        case Op::String:
            bm.Set(prog_.strings[in.a]);
            return true;
        case Op::StringCI:
            bm.Set(prog_.strings[in.a]);
            bm.Set(prog_.strings[in.a + in.b]);
            return true;
        case Op::Any:
        case Op::AnyNotLineSep:
            bm.SetAll();
            return true;
        case Op::Set:
        case Op::Digit:
        case Op::Word:
        case Op::Space:
            AddClassUnits(prog_, in.op, in.a, in.neg, bm);
            return true;
        default:
            return false;
        }
    }

    int Add(Op op, bool neg = false, int32_t a = 0) {
        Inst in;
        in.op = op;
        in.neg = neg;
        in.a = a;
        prog_.code.push_back(in);
        return static_cast<int>(prog_.code.size()) - 1;
    }
    int Here() const { return static_cast<int>(prog_.code.size()); }

    void EmitLiteral(const Node& n) {
        if (n.text.size() == 1) {
            int pc = Add(n.ci ? Op::CharCI : Op::Char);
            prog_.code[pc].c = n.text[0];
            prog_.code[pc].c2 = n.ci ? prog_.Invert(n.text[0]) : n.text[0];
            return;
        }
        int pc = Add(n.ci ? Op::StringCI : Op::String, false,
                     static_cast<int32_t>(prog_.strings.size()));
        prog_.code[pc].b = static_cast<int32_t>(n.text.size());
        prog_.strings += n.text;
        if (n.ci)
            for (WideChar ch : n.text)
                prog_.strings += prog_.Invert(ch);
    }

    void EmitAlternation(const Node& n) {
        std::vector<int> jumps, splits;
        for (size_t i = 0; i + 1 < n.kids.size(); ++i) {
            int split = Add(Op::Split);
            prog_.code[split].x = split + 1;
            choices_.branches.push_back({split, n.kids[i]});
            splits.push_back(split);
            Emit(n.kids[i]);
            jumps.push_back(Add(Op::Jump));
            prog_.code[split].y = Here();
        }
        Emit(n.kids.back());
        for (int j : jumps)
            prog_.code[j].x = Here();
        choices_.alternations.push_back(std::move(splits));
    }

    static bool OneUnit(const Node& n) {
        switch (n.kind) {
        case Kind::Lit:
            return n.text.size() == 1;
        case Kind::Any:
        case Kind::AnyNL:
        case Kind::Set:
        case Kind::Digit:
        case Kind::Word:
        case Kind::Space:
        case Kind::BackRef:
            return true;
        default:
            return false;
        }
    }

    void EmitRepeat(const Node& n) {
        const Node& kid = nodes_[n.kids[0]];
        if (n.counted && depth_ >= kMaxLoopNesting) {
            Add(Op::Fail, false, 1014);
            return;
        }
        if (OneUnit(kid)) {
            // One unit per repetition: counted in a tight loop, same order of tries.
            int pc = Add(Op::Repeat, false, n.min);
            prog_.code[pc].b = n.max;
            prog_.code[pc].greedy = n.greedy;
            Emit(n.kids[0]);
            return;
        }
        if (n.counted) ++depth_;
        if (n.min == 0 && n.max == 1) {
            int split = Add(Op::Split);
            if (n.greedy) choices_.branches.push_back({split, n.kids[0]});
            Emit(n.kids[0]);
            prog_.code[split].x = n.greedy ? split + 1 : Here();
            prog_.code[split].y = n.greedy ? Here() : split + 1;
        } else {
            int init = Add(Op::LoopInit, false, n.min);
            Emit(n.kids[0]);
            int cont = Add(Op::LoopCont, false, n.min);
            for (int pc : {init, cont}) {
                Inst& in = prog_.code[pc];
                in.b = n.max;
                in.greedy = n.greedy;
                in.x = prog_.loopSlots;
                in.y = init + 1;
                in.exit = cont + 1;
            }
            ++prog_.loopSlots;
        }
        if (n.counted) --depth_;
    }

    const std::vector<Node>& nodes_;
    Program& prog_;
    Choices& choices_;
    int depth_ = 0;
};

// Start-position hints derived from the tree.
class Hints {
public:
    Hints(const std::vector<Node>& nodes, const Program& program)
        : nodes_(nodes), prog_(program), loopTooDeep_(LoopTooDeep(program)) {}

    bool Anchored(int index) const {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Assert:
            return n.assertOp == Op::InputStart;
        case Kind::Group:
            return Anchored(n.kids[0]);
        case Kind::Alt:
            for (int kid : n.kids)
                if (!Anchored(kid)) return false;
            return true;
        case Kind::Concat:
            for (int kid : n.kids)
                if (nodes_[kid].kind != Kind::Empty) return Anchored(kid);
            return false;
        default:
            return false;
        }
    }

    // The longest literal text that every match contains.
    WideString Required(int index) const {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Lit:
            return n.ci ? WideString() : n.text;
        case Kind::Group:
            return Required(n.kids[0]);
        case Kind::Repeat:
            return n.min > 0 ? Required(n.kids[0]) : WideString();
        case Kind::Concat: {
            WideString longest;
            for (int kid : n.kids) {
                WideString text = Required(kid);
                if (text.size() >= longest.size()) longest = std::move(text);
            }
            return longest;
        }
        default:
            return {};
        }
    }

    WideString Prefix(int index) const {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Lit:
            return n.ci ? WideString() : n.text;
        case Kind::Group:
            return Prefix(n.kids[0]);
        case Kind::Concat:
            for (int kid : n.kids) {
                const Kind k = nodes_[kid].kind;
                if (k != Kind::Empty && k != Kind::Assert) return Prefix(kid);
            }
            return {};
        default:
            return {};
        }
    }

    // Adds the units a match of the node can start with; returns whether it can
    // match the empty string. `any` is set when every unit is possible.
    bool First(int index, CharBitmap& bm, bool& any) const {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Empty:
        case Kind::Assert:
            return true;
        case Kind::Lit:
            bm.Set(n.text[0]);
            if (n.ci) bm.Set(prog_.Invert(n.text[0]));
            return false;
        case Kind::Any:
        case Kind::AnyNL:
            any = true;
            return false;
        case Kind::BackRef:
            any = true;
            return true;
        case Kind::Set:
        case Kind::Digit:
        case Kind::Word:
        case Kind::Space: {
            const Op op = n.kind == Kind::Set     ? Op::Set
                          : n.kind == Kind::Digit ? Op::Digit
                          : n.kind == Kind::Word  ? Op::Word
                                                  : Op::Space;
            AddClassUnits(prog_, op, n.index, n.neg, bm);
            return false;
        }
        case Kind::Group:
            return First(n.kids[0], bm, any);
        case Kind::Alt: {
            bool nullable = false;
            for (int kid : n.kids)
                nullable |= First(kid, bm, any);
            return nullable;
        }
        case Kind::Concat:
            for (int kid : n.kids)
                if (!First(kid, bm, any)) return false;
            return true;
        case Kind::Repeat:
            if (n.counted && n.max > 0 && loopTooDeep_) any = true;
            return First(n.kids[0], bm, any) || n.min == 0;
        }
        return true;
    }

    // Adds the first two units of every match of the node (case variants included);
    // false when some match does not start with two literal units.
    bool FirstPairs(int index, std::vector<std::pair<WideChar, WideChar>>& out) const {
        const Node& n = nodes_[index];
        switch (n.kind) {
        case Kind::Lit: {
            if (n.text.size() < 2) return false;
            const WideChar a = n.text[0], b = n.text[1];
            const WideChar ia = n.ci ? prog_.Invert(a) : a, ib = n.ci ? prog_.Invert(b) : b;
            out.insert(out.end(), {{a, b}, {a, ib}, {ia, b}, {ia, ib}});
            return true;
        }
        case Kind::Group:
            return FirstPairs(n.kids[0], out);
        case Kind::Alt:
            for (int kid : n.kids)
                if (!FirstPairs(kid, out)) return false;
            return true;
        case Kind::Concat:
            for (int kid : n.kids) {
                const Kind k = nodes_[kid].kind;
                if (k != Kind::Empty && k != Kind::Assert) return FirstPairs(kid, out);
            }
            return false;
        default:
            return false;
        }
    }

    bool LoopTooDeep() const { return loopTooDeep_; }

private:
    // A program with a loop nested too deeply fails at run time; it gets no
    // start filter so that the failure is met where the search tries.
    static bool LoopTooDeep(const Program& program) {
        for (const Inst& in : program.code)
            if (in.op == Op::Fail) return true;
        return false;
    }

    const std::vector<Node>& nodes_;
    const Program& prog_;
    const bool loopTooDeep_; // looked up once: a long expression has many loops
};

// The text that follows a repetition without upper bound at the start of the program.
void SetAfterLeadRun(Program& program) {
    const auto& code = program.code;
    if (program.anchored || !program.prefix.empty() || code.size() < 4) return;
    const Inst& rep = code[0];
    if (rep.op != Op::Repeat || rep.b < kBracesUnbounded) return;
    if (code[1].op == Op::BackRef || code[1].op == Op::BackRefCI) return;
    const Inst& next = code[2];
    if (next.op == Op::Char)
        program.afterLeadRun.assign(1, next.c);
    else if (next.op == Op::String)
        program.afterLeadRun = program.strings.substr(next.a, next.b);
}

// Gives an alternation of several filtered choices a table that leads from the unit
// at hand straight to the first choice that can start with it: the same choice the
// walk along its Split instructions would reach.
void SetDispatch(Program& program, const std::vector<int>& splits) {
    constexpr size_t kMinChoices = 3;
    if (splits.size() + 1 < kMinChoices) return;
    std::array<int32_t, 256> table;
    for (unsigned unit = 0; unit < table.size(); ++unit) {
        table[unit] = program.code[splits.back()].y; // the last choice
        for (int pc : splits) {
            const int32_t filter = program.code[pc].filter;
            if (filter < 0 || program.branchFirst[filter].Has(static_cast<WideChar>(unit))) {
                table[unit] = pc;
                break;
            }
        }
    }
    program.code[splits.front()].dispatch = static_cast<int32_t>(program.dispatch.size());
    program.dispatch.push_back(table);
}

} // namespace

void EmitProgram(const std::vector<Node>& nodes, int root, Program& program, Choices& choices) {
    Emitter emitter(nodes, program, choices);
    emitter.Emit(root);
    Inst end;
    end.op = Op::Match;
    program.code.push_back(end);
    emitter.SetRepeatHints();
    emitter.SetPossessiveRepeats();
}

void SetSearchHints(const std::vector<Node>& nodes, int root, Program& program,
                    const Choices& choices) {
    Hints hints(nodes, program);
    program.anchored = hints.Anchored(root);
    program.prefix = hints.Prefix(root);
    program.required = hints.Required(root);
    if (program.required.size() <= program.prefix.size()) program.required.clear();
    if (!program.anchored && program.prefix.empty()) {
        auto bm = std::make_unique<CharBitmap>();
        bool any = false;
        const bool nullable = hints.First(root, *bm, any);
        if (!nullable && !any) {
            const int n = bm->Members(program.firstUnits, 3);
            program.firstCount = n <= 3 ? n : 0;
            program.first = std::move(bm);
            std::vector<std::pair<WideChar, WideChar>> pairs;
            if (hints.FirstPairs(root, pairs)) {
                program.pairs = std::make_unique<CharBitmap>();
                for (const auto& [a, b] : pairs)
                    program.pairs->Set(Program::PairKey(a, b));
            }
        }
    }
    // A program that fails at run time tries every start and every choice, so that the
    // failure is met where it was.
    if (hints.LoopTooDeep()) return;
    SetAfterLeadRun(program);
    // A choice that cannot start with the unit at hand is not tried.
    for (const Choices::Branch& b : choices.branches) {
        CharBitmap units;
        bool any = false;
        if (hints.First(b.node, units, any) || any) continue;
        program.code[b.pc].filter = static_cast<int32_t>(program.branchFirst.size());
        program.branchFirst.push_back(std::move(units));
    }
    for (const std::vector<int>& splits : choices.alternations)
        SetDispatch(program, splits);
}

} // namespace regex
