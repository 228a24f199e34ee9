// Whatever is typed as an expression must neither crash nor hang: random
// strings over the syntax's characters are compiled and run on random texts.
#include <gtest/gtest.h>

#include <random>

#include "RegexTestSupport.h"
#include "regex/RegExRoutines.h"

namespace {

TEST(RegexRobustness, RandomTypedExpressionsNeverCrash) {
    RegexDefaultsGuard guard;
    static const std::u16string syntax =
        U16("ab1()[]{}|*+?^$.\\-,0239xdDwWsSbBAZ#:imsgr{}(?#) \n\u0000ёя");
    static const std::u16string letters = U16("ab1 \n\r{}[]()ё\u0000");
    std::mt19937 rng(7);
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    int compiled = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string expression, text;
        for (size_t i = 0, n = 1 + pick(12); i < n; ++i)
            expression += syntax[pick(syntax.size())];
        for (size_t i = 0, n = pick(30); i < n; ++i)
            text += letters[pick(letters.size())];
        RegExprDefaults.ModifierX = round % 7 == 0;
        RegExprDefaults.ModifierM = round % 5 == 0;
        RegExprDefaults.ModifierS = round % 3 != 0;
        RegExprDefaults.ModifierG = round % 11 != 0;
        TRegExpr re;
        re.SetExpression(expression);
        if (re.Compile()) ++compiled;
        int matches = 0;
        if (re.Exec(text)) {
            do {
                const int pos = re.GetMatchPos(0), len = re.GetMatchLen(0);
                ASSERT_GE(pos, 1);
                ASSERT_GE(len, 0);
                ASSERT_LE(pos - 1 + len, static_cast<int>(text.size()));
                for (int g = 1; g <= 14; ++g) {
                    if (re.GetMatchPos(g) > 0) {
                        ASSERT_LE(re.GetMatchPos(g) - 1 + re.GetMatchLen(g),
                                  static_cast<int>(text.size()));
                    }
                }
                re.Substitute(u"$1${2}$&\\");
            } while (re.ExecNext() && ++matches < 100);
        }
        WideString result;
        ReplaceRegExTemplate(text, expression, u"<$0>", result);
        TWideStrArray pieces;
        SplitRegEx(pieces, expression, text, round % 2 == 0, round % 3 == 0);
        WideString joined;
        for (const WideString& piece : pieces)
            joined += piece;
        if (round % 2 != 0 && round % 3 != 0) {
            ASSERT_LE(joined.size(), text.size());
        }
    }
    EXPECT_GT(compiled, 3000);
}

// Expressions built from the grammar reach the deep corners that random
// characters rarely form: counted loops nested in counted loops, back-references
// inside the loops that set them, inline modifiers inside alternatives, lazy
// forms everywhere. Each search must end with a sane match or none; a search
// that gives up records only the budget error.
class StructuredExpressions {
public:
    explicit StructuredExpressions(uint32_t seed) : rng_(seed) {}

    std::string Expression() { return Alternation(0); }

    std::u16string Subject() {
        static const std::u16string alphabet = U16("aab1 \nAb\r");
        const int length = Pick(5) == 0 ? 200 + Pick(1500) : Pick(30);
        return RandomText(alphabet, length, [this](int n) { return Pick(n); });
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % n); }

    std::string Alternation(int depth) {
        static const char* modifiers[] = {"(?i)", "(?-i)", "(?g-s)", "(?-g)", "(?m)", "(?#x)"};
        std::string s;
        for (int i = 0, n = 1 + Pick(3); i < n; ++i) {
            if (i) s += "|";
            for (int j = 0, m = Pick(4); j < m; ++j) {
                if (Pick(8) == 0) s += modifiers[Pick(6)];
                s += Atom(depth);
            }
        }
        return s;
    }

    std::string Atom(int depth) {
        static const char* leaves[] = {"a", "ab", ".", "[ab\\d]", "^", "$", "\\b", "\\w", "\\s"};
        static const char* quantifiers[] = {"*",    "+",   "?",     "{2}",  "{0,3}",
                                            "{1,}", "{0}", "{3,5}", "{,2}", "{1"};
        std::string s;
        const int what = Pick(depth < 4 ? 13 : 10);
        if (what < 9)
            s = leaves[what];
        else if (what == 9)
            s = "\\" + std::to_string(1 + Pick(4));
        else
            s = "(" + Alternation(depth + 1) + ")";
        if (Pick(2)) {
            s += quantifiers[Pick(10)];
            if (Pick(3) == 0) s += "?";
        }
        return s;
    }

    std::mt19937 rng_;
};

TEST(RegexRobustness, StructuredExpressionsEndSanely) {
    RegexDefaultsGuard guard;
    StructuredExpressions gen(11);
    int compiled = 0;
    for (int round = 0; round < 8000; ++round) {
        const std::string expression = gen.Expression();
        const std::u16string text = gen.Subject();
        ProbeRegExpr re;
        re.SetExpression(U16(expression));
        if (!re.Compile()) continue;
        ++compiled;
        re.codes.clear();
        int matches = 0;
        if (re.Exec(text)) {
            do {
                const int pos = re.GetMatchPos(0), len = re.GetMatchLen(0);
                ASSERT_GE(pos, 1) << expression;
                ASSERT_GE(len, 0) << expression;
                ASSERT_LE(pos - 1 + len, static_cast<int>(text.size())) << expression;
                for (int g = 1; g <= 14; ++g) {
                    if (re.GetMatchPos(g) < 0) continue;
                    // Every group that took part lies within the match.
                    ASSERT_GE(re.GetMatchPos(g), pos) << expression << " group " << g;
                    ASSERT_GE(re.GetMatchLen(g), 0) << expression << " group " << g;
                    ASSERT_LE(re.GetMatchPos(g) + re.GetMatchLen(g), pos + len)
                        << expression << " group " << g;
                }
            } while (re.ExecNext() && ++matches < 20);
        }
        for (int code : re.codes)
            ASSERT_EQ(code, regex::kErrorBacktrackLimit) << expression;
    }
    EXPECT_GT(compiled, 4000);
}

} // namespace
