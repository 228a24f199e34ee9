// Helpers shared by the regex tests: an engine that remembers its error codes
// and a guard that restores the process-wide defaults and error record.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "regex/RegExpr.h"
#include "support/ScopedHook.h"

class ProbeRegExpr : public TRegExpr {
public:
    void Error(int code) override {
        codes.push_back(code);
        TRegExpr::Error(code);
    }
    int LastCode() const { return codes.empty() ? 0 : codes.back(); }
    std::vector<int> codes;
};

// Gives back the regular-expression defaults and the language hook when the test ends.
class RegexDefaultsGuard {
public:
    RegexDefaultsGuard() { RegExFehlerStatus = TRegExFehlerStatus(); }
    ~RegexDefaultsGuard() { RegExFehlerStatus = TRegExFehlerStatus(); }

private:
    ScopedValue<TRegExprDefaults> defaults_{RegExprDefaults};
    ScopedValue<std::function<WideString()>> language_{RegExLanguageCode};
};
// `length` units of `alphabet`, each chosen by `pick` (a random index below its argument).
template <typename Pick>
std::u16string RandomText(const std::u16string& alphabet, int length, Pick&& pick) {
    std::u16string s;
    for (int i = 0; i < length; ++i)
        s += alphabet[pick(static_cast<int>(alphabet.size()))];
    return s;
}

// "pos:len" of the current match and of each of its first `groups` groups ("-" where a
// group took no part).
inline std::string DescribeMatch(TRegExpr& re, int groups) {
    std::string s = std::to_string(re.GetMatchPos(0)) + ":" + std::to_string(re.GetMatchLen(0));
    for (int g = 1; g <= groups; ++g)
        s += re.GetMatchPos(g) < 0 ? std::string(" -")
                                   : " " + std::to_string(re.GetMatchPos(g)) + ":" +
                                         std::to_string(re.GetMatchLen(g));
    return s;
}

// "pos:len" of the first match, or "none".
inline std::string FirstMatch(TRegExpr& re, const WideString& text) {
    if (!re.Exec(text)) return "none";
    return std::to_string(re.GetMatchPos(0)) + ":" + std::to_string(re.GetMatchLen(0));
}

inline std::string FirstMatch(const std::string& expression, const std::string& text) {
    TRegExpr re;
    re.SetExpression(U16(expression));
    return FirstMatch(re, U16(text));
}

struct MatchCase {
    const char* expression;
    const char* text;
    const char* expected; // "pos:len" of the first match or "none"
};

template <size_t N> void ExpectFirstMatches(const MatchCase (&cases)[N]) {
    for (const MatchCase& c : cases)
        EXPECT_EQ(FirstMatch(c.expression, c.text), c.expected)
            << c.expression << " over " << c.text;
}
