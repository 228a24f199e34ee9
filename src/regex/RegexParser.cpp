#include "regex/RegexParser.h"

namespace regex {

namespace {

// Flags a parsed piece passes upwards.
enum Flag { HasWidth = 1, Simple = 2, StartsWithStar = 4 };

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

} // namespace

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
            if (!set.Has(ch) && set.Has(opt_.Invert(ch))) folded.Add(ch);
        }
        folded.Finish();
        set = std::move(folded);
    }
    n.index = static_cast<int>(tree_.sets.size());
    tree_.sets.push_back(std::move(set));
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

} // namespace regex
