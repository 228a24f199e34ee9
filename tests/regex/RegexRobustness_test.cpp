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

} // namespace
