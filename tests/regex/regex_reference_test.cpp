// Cross-check against a deliberately simple matcher: random small expressions
// (built as a tree and written out as text) are run by the engine and by a
// naive recursive backtracker over the same tree; every difference in the
// matches found, or in any group, is a fault in one of them. Inline "(?i)" and
// "(?-i)" are placed at random; the generator works out which nodes they reach
// (the rest of the enclosing group, across "|").
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>

#include "RegexTestSupport.h"

namespace {

struct RNode {
    enum Kind {
        Lit,
        Any,
        Class,
        Set,
        LineStart,
        LineEnd,
        WordB,
        NotWordB,
        BackRef,
        Group,
        Alt,
        Seq,
        Rep,
        CaseMod
    };
    Kind kind = Lit;
    char16_t ch = 0;
    char cls = 'd';
    bool neg = false;
    std::u16string members;
    int group = 0;
    std::vector<RNode> kids;
    int min = 0, max = 0;
    bool greedy = true;
    bool ci = false; // Lit, Set, BackRef: compared case-insensitively; CaseMod: switches it on
    bool starForm = false, plusForm = false, questionForm = false;
};

const std::u16string kWordChars =
    U16("0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_");
const std::u16string kSpaceChars = u" \t\n\r\f";
constexpr int kUnbounded = 1 << 30;

char16_t Invert(char16_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 'A' && c <= 'Z') return c + 32;
    return c;
}

// The naive matcher: continuation-passing recursion over the tree.
class Reference {
public:
    Reference(const std::u16string& text, bool dotAll, bool multi)
        : s_(text), end_(static_cast<int>(text.size())), dotAll_(dotAll), multi_(multi) {}

    // All matches as the engine's search loop finds them: "pos:len" plus groups.
    std::vector<std::string> AllMatches(const RNode& root, int groups) {
        std::vector<std::string> out;
        int from = 0;
        while (from <= end_) {
            int start = -1, stop = -1;
            for (int q = from; q <= end_ && start < 0; ++q) {
                std::fill(std::begin(caps_), std::end(caps_), -1);
                if (M(root, q, [&](int p) {
                        stop = p;
                        return true;
                    }))
                    start = q;
                if (steps_ > kMaxSteps) return {"too complex"};
            }
            if (start < 0) break;
            out.push_back(Describe(start, stop, groups));
            from = stop + (stop == start ? 1 : 0);
        }
        return out;
    }

    std::string Describe(int start, int stop, int groups) const {
        std::ostringstream o;
        o << start + 1 << ":" << stop - start;
        for (int g = 1; g <= groups; ++g) {
            const int a = caps_[2 * g], b = caps_[2 * g + 1];
            if (a < 0 || b < 0)
                o << " -";
            else
                o << " " << a + 1 << ":" << b - a;
        }
        return o.str();
    }

private:
    using K = std::function<bool(int)>;
    static constexpr long kMaxSteps = 2'000'000;

    static bool Same(char16_t pattern, char16_t c, bool ci) {
        return c == pattern || (ci && c == Invert(pattern));
    }
    bool IsWord(int p) const {
        return p >= 0 && p < end_ && kWordChars.find(s_[p]) != std::u16string::npos;
    }
    bool ClassHas(char cls, char16_t c) const {
        if (cls == 'd') return c >= '0' && c <= '9';
        if (cls == 'w') return kWordChars.find(c) != std::u16string::npos;
        return kSpaceChars.find(c) != std::u16string::npos;
    }

    bool M(const RNode& n, int p, const K& k) {
        if (++steps_ > kMaxSteps) return false;
        switch (n.kind) {
        case RNode::Lit:
            return p < end_ && Same(n.ch, s_[p], n.ci) && k(p + 1);
        case RNode::Any:
            return p < end_ && (dotAll_ || s_[p] != '\n') && k(p + 1);
        case RNode::Class:
            return p < end_ && ClassHas(n.cls, s_[p]) != n.neg && k(p + 1);
        case RNode::Set: {
            if (p >= end_) return false;
            bool in = false;
            for (char16_t m : n.members)
                in |= Same(m, s_[p], n.ci) || (n.ci && Invert(s_[p]) == m);
            return in != n.neg && k(p + 1);
        }
        case RNode::LineStart:
            return (p == 0 || (multi_ && s_[p - 1] == '\n')) && k(p);
        case RNode::LineEnd:
            return (p == end_ || (multi_ && s_[p] == '\n')) && k(p);
        case RNode::WordB:
            return IsWord(p - 1) != IsWord(p) && k(p);
        case RNode::NotWordB:
            return IsWord(p - 1) == IsWord(p) && k(p);
        case RNode::BackRef: {
            const int a = caps_[2 * n.group], b = caps_[2 * n.group + 1];
            // A group holds the text of its last completed pass (Perl's rule): inside a
            // pass that is not closed yet, the one before it.
            if (a < 0 || b < 0 || end_ - p < b - a) return false;
            for (int i = 0; i < b - a; ++i)
                if (!Same(s_[a + i], s_[p + i], n.ci)) return false;
            return k(p + b - a);
        }
        case RNode::Group: {
            const int g = n.group;
            return M(n.kids[0], p, [&](int q) {
                const int oldStart = caps_[2 * g], oldEnd = caps_[2 * g + 1];
                caps_[2 * g] = p;
                caps_[2 * g + 1] = q;
                if (k(q)) return true;
                caps_[2 * g] = oldStart;
                caps_[2 * g + 1] = oldEnd;
                return false;
            });
        }
        case RNode::Alt:
            for (const RNode& kid : n.kids)
                if (M(kid, p, k)) return true;
            return false;
        case RNode::Seq:
            return SeqFrom(n, 0, p, k);
        case RNode::Rep:
            return Repeat(n, 0, p, k);
        case RNode::CaseMod:
            return k(p);
        }
        return false;
    }

    bool SeqFrom(const RNode& n, size_t i, int p, const K& k) {
        if (i == n.kids.size()) return k(p);
        return M(n.kids[i], p, [&](int q) { return SeqFrom(n, i + 1, q, k); });
    }

    // count iterations done; an iteration that consumed nothing ends the loop
    // once the minimum is reached.
    bool Repeat(const RNode& n, int count, int p, const K& k) {
        auto iterate = [&] {
            return M(n.kids[0], p, [&](int q) {
                if (q == p && count + 1 >= n.min) return k(q);
                return Repeat(n, count + 1, q, k);
            });
        };
        if (count < n.min) return iterate();
        if (count >= n.max) return k(p);
        if (n.greedy) return iterate() || k(p);
        return k(p) || iterate();
    }

    const std::u16string& s_;
    int end_;
    bool dotAll_, multi_;
    int caps_[30];
    long steps_ = 0;
};

// Random trees over a small alphabet, written out in the engine's syntax.
class Generator {
public:
    explicit Generator(uint32_t seed) : rng_(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // `ci`: whether the expression starts case-insensitive.
    RNode Top(bool ci) {
        groups_ = 0;
        ci_ = ci;
        return Alternation(0);
    }
    int Groups() const { return groups_; }

    std::u16string Subject() {
        static const std::u16string alphabet = U16("aab1 \nAä");
        // Mostly short; some long enough for the block-wise start scans.
        const int len = Pick(5) == 0 ? 16 + Pick(30) : Pick(9);
        return RandomText(alphabet, len, [this](int n) { return Pick(n); });
    }

    // `extended`: written for modifier x, with blanks and comments between the
    // pieces of a sequence and blanks outside sets escaped.
    static std::string Write(const RNode& n, bool extended = false) {
        switch (n.kind) {
        case RNode::Lit:
            if (n.ch == '\n') return "\\n";
            if (n.ch == ' ' && extended) return "\\ ";
            return U8(std::u16string(1, n.ch));
        case RNode::Any:
            return ".";
        case RNode::Class:
            return std::string("\\") + (n.neg ? char(n.cls - 32) : n.cls);
        case RNode::Set:
            return "[" + std::string(n.neg ? "^" : "") + U8(n.members) + "]";
        case RNode::LineStart:
            return "^";
        case RNode::LineEnd:
            return "$";
        case RNode::WordB:
            return "\\b";
        case RNode::NotWordB:
            return "\\B";
        case RNode::BackRef:
            return "\\" + std::to_string(n.group);
        case RNode::Group:
            return "(" + Write(n.kids[0], extended) + ")";
        case RNode::Alt: {
            std::string s;
            for (size_t i = 0; i < n.kids.size(); ++i)
                s += (i ? "|" : "") + Write(n.kids[i], extended);
            return s;
        }
        case RNode::Seq: {
            static const char* gaps[] = {" ", "\t ", " # note\r\n", "\n"};
            std::string s;
            for (size_t i = 0; i < n.kids.size(); ++i) {
                if (extended && i > 0) s += gaps[i % 4];
                s += Write(n.kids[i], extended);
            }
            return s;
        }
        case RNode::CaseMod:
            return n.ci ? "(?i)" : "(?-i)";
        case RNode::Rep: {
            std::string q;
            if (n.starForm)
                q = "*";
            else if (n.plusForm)
                q = "+";
            else if (n.questionForm)
                q = "?";
            else if (n.max == kUnbounded)
                q = "{" + std::to_string(n.min) + ",}";
            else if (n.min == n.max)
                q = "{" + std::to_string(n.min) + "}";
            else
                q = "{" + std::to_string(n.min) + "," + std::to_string(n.max) + "}";
            return Write(n.kids[0], extended) + q + (n.greedy ? "" : "?");
        }
        }
        return "";
    }

private:
    // Whether the engine's compiler considers the node unable to match empty.
    static bool HasWidth(const RNode& n) {
        switch (n.kind) {
        case RNode::Lit:
        case RNode::Any:
        case RNode::Class:
        case RNode::Set:
        case RNode::BackRef:
            return true;
        case RNode::Group:
            return HasWidth(n.kids[0]);
        case RNode::Alt:
            for (const RNode& kid : n.kids)
                if (!HasWidth(kid)) return false;
            return true;
        case RNode::Seq:
            for (const RNode& kid : n.kids)
                if (HasWidth(kid)) return true;
            return false;
        case RNode::Rep:
            if (n.starForm || n.questionForm) return false;
            if (n.plusForm) return true;
            return n.min > 0;
        default:
            return false;
        }
    }

    RNode Alternation(int depth) {
        RNode alt;
        alt.kind = RNode::Alt;
        const int count = Pick(4) == 0 ? 2 + Pick(2) : 1;
        for (int i = 0; i < count; ++i)
            alt.kids.push_back(Sequence(depth));
        return alt;
    }

    RNode Sequence(int depth) {
        RNode seq;
        seq.kind = RNode::Seq;
        const int count = Pick(4) + (depth == 0 ? 1 : 0);
        for (int i = 0; i < count; ++i)
            seq.kids.push_back(Piece(depth));
        return seq;
    }

    RNode Piece(int depth) {
        const int what = Pick(20);
        if (what == 0) {
            RNode a;
            const RNode::Kind kinds[] = {RNode::LineStart, RNode::LineEnd, RNode::WordB,
                                         RNode::NotWordB};
            a.kind = kinds[Pick(4)];
            return a;
        }
        if (what == 1) {
            RNode mod;
            mod.kind = RNode::CaseMod;
            mod.ci = Pick(2);
            ci_ = mod.ci;
            return mod;
        }
        RNode atom = Atom(depth);
        if (Pick(3) != 0) return atom;
        RNode rep;
        rep.kind = RNode::Rep;
        rep.greedy = Pick(3) != 0;
        const bool width = HasWidth(atom);
        switch (Pick(4)) {
        case 0:
            if (width) {
                rep.starForm = true;
                rep.min = 0;
                rep.max = kUnbounded;
                break;
            }
            [[fallthrough]];
        case 1:
            if (width) {
                rep.plusForm = true;
                rep.min = 1;
                rep.max = kUnbounded;
                break;
            }
            [[fallthrough]];
        case 2:
            rep.questionForm = true;
            rep.min = 0;
            rep.max = 1;
            break;
        default:
            rep.min = Pick(3);
            rep.max = Pick(3) == 0 ? kUnbounded : rep.min + Pick(3);
            break;
        }
        rep.kids.push_back(std::move(atom));
        return rep;
    }

    RNode Atom(int depth) {
        RNode a;
        const int what = Pick(depth < 2 ? 10 : 8);
        switch (what) {
        case 0:
        case 1:
        case 2: {
            static const std::u16string letters = U16("ab1 A\nä");
            a.kind = RNode::Lit;
            a.ch = letters[Pick(static_cast<int>(letters.size()))];
            break;
        }
        case 3:
            a.kind = RNode::Any;
            break;
        case 4:
            a.kind = RNode::Class;
            a.cls = "dws"[Pick(3)];
            a.neg = Pick(2);
            break;
        case 5: {
            a.kind = RNode::Set;
            a.neg = Pick(3) == 0;
            static const std::u16string pool = U16("ab1 ä");
            const int n = 1 + Pick(3);
            for (int i = 0; i < n; ++i)
                a.members += pool[Pick(static_cast<int>(pool.size()))];
            break;
        }
        case 6:
        case 7:
            if (groups_ > 0 && Pick(2) == 0) {
                a.kind = RNode::BackRef;
                a.group = 1 + Pick(groups_);
                break;
            }
            a.kind = RNode::Lit;
            a.ch = 'b';
            break;
        default:
            if (groups_ >= 9) {
                a.kind = RNode::Any;
                break;
            }
            a.kind = RNode::Group;
            a.group = ++groups_;
            const bool outer = ci_;
            a.kids.push_back(Alternation(depth + 1));
            ci_ = outer; // an inline modifier ends with its group
            break;
        }
        a.ci = ci_;
        return a;
    }

    std::mt19937 rng_;
    int groups_ = 0;
    bool ci_ = false;
};

void MakeLazy(RNode& n) {
    n.greedy = false;
    for (RNode& kid : n.kids)
        MakeLazy(kid);
}

TEST(RegexReference, RandomExpressionsAgreeWithANaiveMatcher) {
    RegexDefaultsGuard guard;
    // QUORBEL_REGEX_SEED runs the comparison with another seed.
    const char* seed = std::getenv("QUORBEL_REGEX_SEED");
    Generator gen(seed ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : 20260612u);
    int compared = 0, disagreements = 0;
    for (int round = 0; round < 4000 && disagreements < 10; ++round) {
        const bool ci = gen.Pick(6) == 0, dotAll = gen.Pick(4) != 0, multi = gen.Pick(4) == 0;
        const bool allLazy = gen.Pick(8) == 0, extended = gen.Pick(6) == 0;
        RNode root = gen.Top(ci);
        const int groups = gen.Groups();
        const std::string body = Generator::Write(root, extended);
        // Without g every quantifier is lazy, with or without its "?".
        if (allLazy) MakeLazy(root);
        std::string prefix, off;
        if (ci) prefix += "i";
        if (multi) prefix += "m";
        if (extended) prefix += "x";
        if (!dotAll) off += "s";
        if (allLazy) off += "g";
        if (!off.empty()) prefix += "-" + off;
        const std::string expression = (prefix.empty() ? "" : "(?" + prefix + ")") + body;
        ProbeRegExpr re;
        re.SetExpression(U16(expression));
        if (!re.Compile()) {
            ADD_FAILURE() << "does not compile: " << expression << " code " << re.LastCode();
            ++disagreements;
            continue;
        }
        for (int t = 0; t < 8; ++t) {
            const std::u16string subject = gen.Subject();
            Reference ref(subject, dotAll, multi);
            const std::vector<std::string> expected = ref.AllMatches(root, groups);
            if (expected.size() == 1 && expected[0] == "too complex") continue;
            std::vector<std::string> actual;
            if (re.Exec(subject)) {
                do
                    actual.push_back(DescribeMatch(re, groups));
                while (re.ExecNext());
            }
            ++compared;
            if (actual != expected) {
                ++disagreements;
                std::string e, a;
                for (auto& s : expected)
                    e += "[" + s + "]";
                for (auto& s : actual)
                    a += "[" + s + "]";
                ADD_FAILURE() << "expression " << expression << "\nsubject \"" << U8(subject)
                              << "\"\nreference " << e << "\nengine    " << a;
            }
            EXPECT_TRUE(re.codes.empty()) << expression;
        }
    }
    EXPECT_GT(compared, 20000);
}

// Alternations of words, as people write them to find any of several names: the search
// skips starts whose first two units begin no word, and a word whose first unit is not
// the one at hand is not tried; after a leading repetition, a word is looked for first
// and the start is searched back from it. Cases with a leading class repetition, a group
// around the words, a boundary before them, one-letter and case-insensitive words.
TEST(RegexReference, WordAlternationsAgreeWithANaiveMatcher) {
    RegexDefaultsGuard guard;
    Generator gen(20261207u);
    const std::u16string letters = U16("abAB1ä");
    auto lit = [](char16_t c, bool ci) {
        RNode n;
        n.kind = RNode::Lit;
        n.ch = c;
        n.ci = ci;
        return n;
    };
    int compared = 0;
    for (int round = 0; round < 1500; ++round) {
        const bool ci = gen.Pick(4) == 0;
        std::vector<std::u16string> words;
        RNode alt;
        alt.kind = RNode::Alt;
        for (int w = 1 + gen.Pick(6); w > 0; --w) {
            words.push_back(RandomText(letters, 1 + gen.Pick(gen.Pick(5) == 0 ? 1 : 4),
                                       [&](int n) { return gen.Pick(n); }));
            RNode seq;
            seq.kind = RNode::Seq;
            for (char16_t c : words.back())
                seq.kids.push_back(lit(c, ci));
            alt.kids.push_back(std::move(seq));
        }
        RNode root;
        root.kind = RNode::Seq;
        // 0: the words; 1: a boundary, then the words; 2: a class repeated, then the
        // words; 3: the words in a group; 4: a class repeated, then the first word.
        const int shape = gen.Pick(5);
        if (shape == 1) {
            RNode b;
            b.kind = RNode::WordB;
            root.kids.push_back(b);
        } else if (shape == 2 || shape == 4) {
            RNode set, rep;
            set.kind = RNode::Set;
            set.members = gen.Pick(2) ? U16("ab") : U16("1 ");
            set.ci = ci;
            rep.kind = RNode::Rep;
            rep.min = gen.Pick(3);
            rep.max = kUnbounded;
            rep.starForm = rep.min == 0 && gen.Pick(2);
            rep.plusForm = rep.min == 1 && gen.Pick(2);
            rep.greedy = gen.Pick(4) != 0;
            rep.kids.push_back(set);
            root.kids.push_back(rep);
        }
        if (shape == 4) {
            // One word, right after the repetition.
            for (RNode& unit : alt.kids[0].kids)
                root.kids.push_back(std::move(unit));
        } else if (shape != 0) {
            // Written out, words after another item need a group around them.
            RNode group;
            group.kind = RNode::Group;
            group.group = 1;
            group.kids.push_back(std::move(alt));
            root.kids.push_back(std::move(group));
        } else {
            root.kids.push_back(std::move(alt));
        }
        const int groups = root.kids.back().kind == RNode::Group ? 1 : 0;
        const std::string expression = (ci ? "(?i)" : "") + Generator::Write(root);
        ProbeRegExpr re;
        re.SetExpression(U16(expression));
        ASSERT_TRUE(re.Compile()) << expression;
        for (int t = 0; t < 6; ++t) {
            // The words themselves, among letters and blanks, so that most starts are close.
            std::u16string subject;
            while (subject.size() < 40)
                subject += gen.Pick(2) ? words[gen.Pick(static_cast<int>(words.size()))]
                                       : RandomText(U16("aAbB 1ä"), 1 + gen.Pick(3),
                                                    [&](int n) { return gen.Pick(n); });
            Reference ref(subject, true, false);
            const std::vector<std::string> expected = ref.AllMatches(root, groups);
            std::vector<std::string> actual;
            if (re.Exec(subject)) do
                    actual.push_back(DescribeMatch(re, groups));
                while (re.ExecNext());
            ++compared;
            ASSERT_EQ(actual, expected) << expression << "\nsubject \"" << U8(subject) << "\"";
        }
    }
    EXPECT_EQ(compared, 1500 * 6);
}

} // namespace
