// The compiler parses in one pass into a small tree (recording errors at the
// parse position where they are found), then emits the matcher's program and
// derives the search hints from the tree.
#include "regex/RegexCompiler.h"

namespace regex {

bool ParseModifiers(WideStringView text, int& modifiers) {
    bool clear = false;
    for (WideChar c : text) {
        int bit = 0;
        switch (c) {
        case '-':
            clear = true;
            continue;
        case 'i':
        case 'I':
            bit = ModI;
            break;
        case 'r':
        case 'R':
            bit = ModR;
            break;
        case 's':
        case 'S':
            bit = ModS;
            break;
        case 'g':
        case 'G':
            bit = ModG;
            break;
        case 'm':
        case 'M':
            bit = ModM;
            break;
        case 'x':
        case 'X':
            bit = ModX;
            break;
        default:
            return false;
        }
        if (clear)
            modifiers &= ~bit;
        else
            modifiers |= bit;
    }
    return true;
}

namespace {

enum Flag { HasWidth = 1, Simple = 2, StartsWithStar = 4 };

enum class Kind {
    Empty,
    Lit,
    Any,
    AnyNL,
    Set,
    Digit,
    Word,
    Space,
    Assert,
    BackRef,
    Group,
    Alt,
    Concat,
    Repeat
};

struct Node {
    Kind kind = Kind::Empty;
    Op assertOp = Op::Match;
    bool neg = false, ci = false, greedy = true, counted = false;
    WideString text;
    int index = 0; // set index or group number
    std::vector<int> kids;
    int32_t min = 0, max = 0;
};

bool IsHex(WideChar c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(WideChar c) {
    if (c <= '9') return c - '0';
    if (c >= 'a') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsQuantifier(WideChar c) {
    return c == '*' || c == '+' || c == '?' || c == '{';
}

bool IsMeta(WideChar c) {
    switch (c) {
    case '^':
    case '$':
    case '.':
    case '[':
    case '(':
    case ')':
    case '|':
    case '?':
    case '+':
    case '*':
    case '\\':
    case '{':
        return true;
    default:
        return false;
    }
}

bool IsBlank(WideChar c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

constexpr WideChar kDigits[] = u"0123456789";

class Parser {
public:
    Parser(WideStringView pattern, const CompileOptions& options, Program& program)
        : pat_(pattern), opt_(options), prog_(program), mods_(options.modifiers) {}

    int Parse() {
        int flags = 0;
        return Reg(false, flags);
    }
    const CompileError& Error() const { return error_; }
    const std::vector<Node>& Nodes() const { return nodes_; }

private:
    int Fail(int code) {
        if (!error_.code) error_ = {code, static_cast<int>(cur_)};
        return -1;
    }
    bool More() const { return cur_ < pat_.size(); }
    WideChar Peek() const { return pat_[cur_]; }
    int Add(Node n) {
        nodes_.push_back(std::move(n));
        return static_cast<int>(nodes_.size()) - 1;
    }
    int Leaf(Kind kind, bool neg = false) {
        Node n;
        n.kind = kind;
        n.neg = neg;
        return Add(std::move(n));
    }
    int AssertNode(Op op) {
        Node n;
        n.kind = Kind::Assert;
        n.assertOp = op;
        return Add(std::move(n));
    }
    int LitNode(WideString text) {
        Node n;
        n.kind = Kind::Lit;
        n.text = std::move(text);
        n.ci = mods_ & ModI;
        return Add(std::move(n));
    }

    int Reg(bool paren, int& flags);
    int Branch(int& flags);
    int Piece(int& flags);
    int Atom(int& flags);
    int Braces(int atom, int atomFlags, int& flags, bool& plain);
    int SetAtom(int& flags);
    int LiteralRun(int& flags);
    int ReadNumber(int32_t& value, bool& any);
    bool Escape(WideChar& out);
    void AddRange(CharSet& set, WideChar lo, WideChar hi);
    int Repeat(int atom, int atomFlags, int32_t min, int32_t max, bool counted);

    WideStringView pat_;
    const CompileOptions& opt_;
    Program& prog_;
    int mods_;
    size_t cur_ = 0;
    int nextGroup_ = 1;
    bool lazy_ = false;
    std::vector<Node> nodes_;
    CompileError error_;
};

int Parser::Reg(bool paren, int& flags) {
    const int savedMods = mods_;
    int group = 0;
    if (paren) {
        if (nextGroup_ > kMaxGroups) return Fail(102);
        group = nextGroup_++;
    }
    Node alt;
    alt.kind = Kind::Alt;
    flags = HasWidth;
    for (;;) {
        int f = 0;
        int br = Branch(f);
        if (br < 0) return -1;
        alt.kids.push_back(br);
        if (!(f & HasWidth)) flags &= ~HasWidth;
        flags |= f & StartsWithStar;
        if (More() && Peek() == '|') {
            ++cur_;
            continue;
        }
        break;
    }
    if (paren) {
        if (!More() || Peek() != ')') return Fail(103);
        ++cur_;
    } else if (More()) {
        return Fail(Peek() == ')' ? 104 : 105);
    }
    mods_ = savedMods;
    int node = alt.kids.size() == 1 ? alt.kids[0] : Add(std::move(alt));
    if (paren) {
        Node g;
        g.kind = Kind::Group;
        g.index = group;
        g.kids.push_back(node);
        node = Add(std::move(g));
    }
    return node;
}

int Parser::Branch(int& flags) {
    Node seq;
    seq.kind = Kind::Concat;
    flags = 0;
    while (More() && Peek() != '|' && Peek() != ')') {
        int f = 0;
        int piece = Piece(f);
        if (piece < 0) return -1;
        flags |= f & HasWidth;
        if (seq.kids.empty()) flags |= f & StartsWithStar;
        seq.kids.push_back(piece);
    }
    if (seq.kids.empty()) return Leaf(Kind::Empty);
    if (seq.kids.size() == 1) return seq.kids[0];
    return Add(std::move(seq));
}

// A repetition node; a simple atom repeats as one unit, anything else as a loop.
int Parser::Repeat(int atom, int atomFlags, int32_t min, int32_t max, bool counted) {
    Node r;
    r.kind = Kind::Repeat;
    r.kids.push_back(atom);
    r.min = min;
    r.max = max;
    r.greedy = !lazy_;
    r.counted = counted && !(atomFlags & Simple);
    return Add(std::move(r));
}

int Parser::Piece(int& flags) {
    int atomFlags = 0;
    int atom = Atom(atomFlags);
    if (atom < 0) return -1;
    if (!More() || !IsQuantifier(Peek())) {
        flags = atomFlags;
        return atom;
    }
    const WideChar op = Peek();
    if ((op == '*' || op == '+') && !(atomFlags & HasWidth)) return Fail(106);

    int32_t min = 0, max = 0;
    if (op == '{') {
        const size_t brace = cur_;
        ++cur_;
        bool anyMin = false, anyMax = false;
        int32_t hi = 0;
        size_t minDigits = cur_;
        while (More() && Peek() >= '0' && Peek() <= '9')
            ++cur_;
        anyMin = cur_ > minDigits;
        bool formed = anyMin && More() && (Peek() == '}' || Peek() == ',');
        size_t maxDigits = 0;
        bool comma = false;
        if (formed && Peek() == ',') {
            comma = true;
            ++cur_;
            maxDigits = cur_;
            while (More() && Peek() >= '0' && Peek() <= '9')
                ++cur_;
            anyMax = cur_ > maxDigits;
            formed = More() && Peek() == '}';
        }
        if (!formed) {
            // Not a quantifier: the "{" stays literal text.
            cur_ = brace;
            flags = atomFlags;
            return atom;
        }
        const size_t close = cur_;
        cur_ = minDigits;
        if (ReadNumber(min, anyMin) < 0) return -1;
        if (comma) {
            cur_ = maxDigits;
            if (anyMax) {
                if (ReadNumber(hi, anyMax) < 0) return -1;
            } else {
                hi = kBracesUnbounded;
            }
        } else {
            hi = min;
        }
        cur_ = close + 1;
        max = hi;
        if (max < min) return Fail(124);
    } else {
        ++cur_;
    }
    lazy_ = (More() && Peek() == '?') || !(mods_ & ModG);
    if (More() && Peek() == '?') ++cur_;

    int node = -1;
    const bool simple = atomFlags & Simple;
    switch (op) {
    case '*':
        flags = StartsWithStar;
        node = Repeat(atom, atomFlags, 0, kStarMax, lazy_ && !simple);
        break;
    case '+':
        flags = HasWidth | StartsWithStar;
        node = Repeat(atom, atomFlags, 1, kStarMax, lazy_ && !simple);
        break;
    case '?':
        flags = 0;
        node = Repeat(atom, 0, 0, 1, lazy_);
        break;
    default:
        // Braces give width only when at least one repetition is required.
        flags = (min > 0 ? HasWidth : 0) | (max > 0 ? StartsWithStar : 0);
        node = Repeat(atom, atomFlags, min, max, true);
        break;
    }
    if (More() && IsQuantifier(Peek())) return Fail(107);
    return node;
}

// Reads the decimal number at the cursor (at most 8 digits).
int Parser::ReadNumber(int32_t& value, bool& any) {
    value = 0;
    int digits = 0;
    any = false;
    while (More() && Peek() >= '0' && Peek() <= '9') {
        if (++digits > 8) return Fail(122);
        value = value * 10 + (Peek() - '0');
        any = true;
        ++cur_;
    }
    return 0;
}

int Parser::Atom(int& flags) {
    flags = 0;
    if (!More()) return Fail(114);
    const WideChar c = Peek();
    const bool lines = (mods_ & ModM) && (!opt_.lineSeparators.empty() || opt_.hasPair);
    switch (c) {
    case '^':
        ++cur_;
        return AssertNode(lines ? Op::LineStart : Op::InputStart);
    case '$':
        ++cur_;
        return AssertNode(lines ? Op::LineEnd : Op::InputEnd);
    case '.':
        ++cur_;
        if (mods_ & ModS) {
            flags = HasWidth | Simple;
            return Leaf(Kind::Any);
        }
        flags = HasWidth;
        return Leaf(Kind::AnyNL);
    case '(': {
        ++cur_;
        if (More() && Peek() == '?') {
            const size_t close = pat_.find(u')', cur_);
            if (cur_ + 1 < pat_.size() && pat_[cur_ + 1] == '#') {
                if (close == WideStringView::npos) {
                    cur_ = pat_.size();
                    return Fail(125);
                }
                cur_ = close + 1;
                return Leaf(Kind::Empty);
            }
            if (close == WideStringView::npos) {
                cur_ = pat_.size();
                return Fail(127);
            }
            if (!ParseModifiers(pat_.substr(cur_ + 1, close - cur_ - 1), mods_)) {
                cur_ = close;
                return Fail(127);
            }
            cur_ = close + 1;
            return Leaf(Kind::Empty);
        }
        int f = 0;
        int node = Reg(true, f);
        if (node < 0) return -1;
        flags = f & (HasWidth | StartsWithStar);
        return node;
    }
    case '|':
    case ')':
        return Fail(114);
    case '?':
    case '+':
    case '*':
        ++cur_;
        return Fail(115);
    case '\\': {
        ++cur_;
        if (!More()) return Fail(116);
        const WideChar e = Peek();
        switch (e) {
        case 'w':
        case 'W':
        case 's':
        case 'S':
        case 'd':
        case 'D': {
            ++cur_;
            flags = HasWidth | Simple;
            const bool neg = e == 'W' || e == 'S' || e == 'D';
            const Kind kind = (e == 'w' || e == 'W')   ? Kind::Word
                              : (e == 's' || e == 'S') ? Kind::Space
                                                       : Kind::Digit;
            return Leaf(kind, neg);
        }
        case 'b':
            ++cur_;
            return AssertNode(Op::WordBoundary);
        case 'B':
            ++cur_;
            return AssertNode(Op::NotWordBoundary);
        case 'A':
            ++cur_;
            return AssertNode(Op::InputStart);
        case 'Z':
            ++cur_;
            return AssertNode(Op::InputEnd);
        default:
            break;
        }
        if (e >= '1' && e <= '9') {
            ++cur_;
            flags = HasWidth | Simple;
            Node n;
            n.kind = Kind::BackRef;
            n.index = e - '0';
            n.ci = mods_ & ModI;
            return Add(std::move(n));
        }
        WideChar ch = 0;
        if (!Escape(ch)) return -1;
        flags = HasWidth | Simple;
        return LitNode(WideString(1, ch));
    }
    case '[':
        return SetAtom(flags);
    default:
        return LiteralRun(flags);
    }
}

// Decodes the escape whose letter is at the cursor (after the backslash).
bool Parser::Escape(WideChar& out) {
    const WideChar e = pat_[cur_++];
    switch (e) {
    case 't':
        out = 9;
        return true;
    case 'n':
        out = 10;
        return true;
    case 'r':
        out = 13;
        return true;
    case 'f':
        out = 12;
        return true;
    case 'a':
        out = 7;
        return true;
    case 'e':
        out = 27;
        return true;
    case 'x':
        break;
    default:
        out = e;
        return true;
    }
    if (!More()) return Fail(111), false;
    unsigned value = 0;
    if (Peek() == '{') {
        ++cur_;
        for (;;) {
            if (!More()) return Fail(111), false;
            const WideChar h = Peek();
            if (h == '}') {
                ++cur_;
                break;
            }
            if (!IsHex(h)) return Fail(108), false;
            if (value > 0x0FFF) return Fail(112), false;
            value = value * 16 + HexValue(h);
            ++cur_;
        }
    } else {
        for (int i = 0; i < 2; ++i) {
            if (!More()) return Fail(111), false;
            if (!IsHex(Peek())) return Fail(108), false;
            value = value * 16 + HexValue(Peek());
            ++cur_;
        }
    }
    out = static_cast<WideChar>(value);
    return true;
}

void Parser::AddRange(CharSet& set, WideChar lo, WideChar hi) {
    // With r, the Russian alphabet ranges take in "ё" and "Ё", which lie outside them.
    if (mods_ & ModR) {
        const bool lower = lo == 0x430 && (hi == 0x44F || hi == 0x42F);
        const bool upper = (lo == 0x410 && hi == 0x42F) || (lo == 0x430 && hi == 0x42F);
        if (lower || upper) {
            if (lower) {
                set.AddRange(0x430, 0x44F);
                set.Add(0x451);
            }
            if (upper) {
                set.AddRange(0x410, 0x42F);
                set.Add(0x401);
            }
            return;
        }
    }
    if (hi < lo) {
        Fail(109);
        return;
    }
    set.AddRange(lo, hi);
}

int Parser::SetAtom(int& flags) {
    ++cur_;
    Node n;
    n.kind = Kind::Set;
    if (More() && Peek() == '^') {
        n.neg = true;
        ++cur_;
    }
    CharSet set;
    bool haveLast = false;
    WideChar last = 0;
    if (More() && Peek() == ']') {
        set.Add(']');
        last = ']';
        haveLast = true;
        ++cur_;
    }
    while (More() && Peek() != ']') {
        const WideChar c = Peek();
        if (c == '-' && haveLast && cur_ + 1 < pat_.size() && pat_[cur_ + 1] != ']') {
            ++cur_;
            WideChar hi = 0;
            if (Peek() == '\\') {
                if (cur_ + 1 >= pat_.size()) {
                    ++cur_;
                    return Fail(110);
                }
                const WideChar e = pat_[cur_ + 1];
                if (e == 'd' || e == 's' || e == 'w' || e == 'D' || e == 'S' || e == 'W') {
                    // A class cannot end a range: the "-" is a member.
                    set.Add('-');
                    haveLast = false;
                    continue;
                }
                ++cur_;
                if (!Escape(hi)) return -1;
            } else {
                hi = pat_[cur_++];
            }
            AddRange(set, last, hi);
            if (error_.code) return -1;
            last = hi;
            continue;
        }
        if (c == '\\') {
            ++cur_;
            if (!More()) return Fail(110);
            const WideChar e = Peek();
            if (e == 'd' || e == 's' || e == 'w') {
                ++cur_;
                set.AddAll(e == 'd'   ? WideStringView(kDigits)
                           : e == 's' ? opt_.spaceChars
                                      : opt_.wordChars);
                haveLast = false;
                continue;
            }
            WideChar ch = 0;
            if (!Escape(ch)) return -1;
            set.Add(ch);
            last = ch;
            haveLast = true;
            continue;
        }
        set.Add(c);
        last = c;
        haveLast = true;
        ++cur_;
    }
    if (!More()) return Fail(113);
    ++cur_;
    set.Finish();
    if (mods_ & ModI) {
        // Fold once: a unit belongs when it or its case inversion is listed.
        CharSet folded = set;
        const unsigned limit = opt_.hookIsOwn ? 256 : 0x10000;
        for (unsigned u = 0; u < limit; ++u) {
            const WideChar ch = static_cast<WideChar>(u);
            if (!set.Has(ch) && set.Has(prog_.Invert(ch))) folded.Add(ch);
        }
        folded.Finish();
        set = std::move(folded);
    }
    n.index = static_cast<int>(prog_.sets.size());
    prog_.sets.push_back(std::move(set));
    flags = HasWidth | Simple;
    return Add(std::move(n));
}

int Parser::LiteralRun(int& flags) {
    const bool extended = mods_ & ModX;
    const WideChar c = Peek();
    if (extended && (c == '#' || IsBlank(c))) {
        if (c == '#') {
            while (More() && Peek() != '\r' && Peek() != '\n')
                ++cur_;
            while (More() && (Peek() == '\r' || Peek() == '\n'))
                ++cur_;
        } else {
            while (More() && IsBlank(Peek()))
                ++cur_;
        }
        return Leaf(Kind::Empty);
    }
    auto runLength = [&](size_t from) {
        size_t i = from;
        while (i < pat_.size() && !IsMeta(pat_[i]))
            ++i;
        return i - from;
    };
    size_t len = runLength(cur_);
    if (len == 0) {
        if (c != '{') return Fail(119);
        len = 1 + runLength(cur_ + 1);
    }
    // A quantifier after a run applies to its last character alone.
    if (len > 1 && cur_ + len < pat_.size() && IsQuantifier(pat_[cur_ + len])) --len;
    flags = HasWidth | (len == 1 ? Simple : 0);
    WideString text;
    for (; len > 0 && !(extended && Peek() == '#'); --len, ++cur_)
        if (!(extended && IsBlank(Peek()))) text += Peek();
    return LitNode(std::move(text));
}

// Builds the program from the tree.
class Emitter {
public:
    Emitter(const std::vector<Node>& nodes, Program& program) : nodes_(nodes), prog_(program) {}

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

private:
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
        std::vector<int> jumps;
        for (size_t i = 0; i + 1 < n.kids.size(); ++i) {
            int split = Add(Op::Split);
            prog_.code[split].x = split + 1;
            Emit(n.kids[i]);
            jumps.push_back(Add(Op::Jump));
            prog_.code[split].y = Here();
        }
        Emit(n.kids.back());
        for (int j : jumps)
            prog_.code[j].x = Here();
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
    int depth_ = 0;
};

// Start-position hints derived from the tree.
class Hints {
public:
    Hints(const std::vector<Node>& nodes, const Program& program) : nodes_(nodes), prog_(program) {}

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
            bm.AddSet(prog_.sets[n.index], n.neg);
            return false;
        case Kind::Digit: {
            CharSet digits;
            digits.AddRange('0', '9');
            bm.AddSet(digits, n.neg);
            return false;
        }
        case Kind::Word:
            bm.AddSet(prog_.word, n.neg);
            return false;
        case Kind::Space:
            bm.AddSet(prog_.space, n.neg);
            return false;
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
            if (n.counted && n.max > 0 && LoopTooDeep()) any = true;
            return First(n.kids[0], bm, any) || n.min == 0;
        }
        return true;
    }

private:
    // A program with a loop nested too deeply fails at run time; it gets no
    // start filter so that the failure is met where the search tries.
    bool LoopTooDeep() const {
        for (const Inst& in : prog_.code)
            if (in.op == Op::Fail) return true;
        return false;
    }

    const std::vector<Node>& nodes_;
    const Program& prog_;
};

void SetUpProgram(const CompileOptions& opt, Program& prog) {
    prog.hook = opt.hook;
    prog.hookIsOwn = opt.hookIsOwn;
    for (unsigned c = 0; c < 256; ++c)
        prog.invLow[c] = opt.hook ? opt.hook(static_cast<WideChar>(c)) : static_cast<WideChar>(c);
    prog.word.AddAll(opt.wordChars);
    prog.word.Finish();
    prog.space.AddAll(opt.spaceChars);
    prog.space.Finish();
    prog.lineSep.AddAll(opt.lineSeparators);
    prog.lineSep.Finish();
    prog.hasPair = opt.hasPair;
    prog.pairHead = opt.pairHead;
    prog.pairTail = opt.pairTail;
}

} // namespace

CompileError CompileExpression(WideStringView expression, const CompileOptions& options,
                               Program& program) {
    program = Program();
    SetUpProgram(options, program);
    Parser parser(expression, options, program);
    const int root = parser.Parse();
    if (root < 0 || parser.Error().code) {
        program = Program();
        return parser.Error();
    }
    Emitter emitter(parser.Nodes(), program);
    emitter.Emit(root);
    Inst end;
    end.op = Op::Match;
    program.code.push_back(end);
    emitter.SetRepeatHints();

    Hints hints(parser.Nodes(), program);
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
        }
    }
    return {};
}

} // namespace regex
