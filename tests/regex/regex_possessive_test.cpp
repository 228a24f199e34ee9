// A greedy run that no following item can cut short is taken whole: these
// cases check that results stay the same and long runs stay cheap.
#include <gtest/gtest.h>

#include <string>

#include "RegexTestSupport.h"

namespace {

class RegexPossessive : public ::testing::Test {
protected:
    RegexDefaultsGuard guard;
};

TEST_F(RegexPossessive, RunsThatCanGiveBackStillDoSo) {
    const MatchCase cases[] = {
        {"a*a", "aaa", "1:3"},         {"[a-c]*b", "abcabc", "1:5"}, {"(?i)a*A", "aaa", "1:3"},
        {"(?i)[a-z]*K", "abk", "1:3"}, {"(?i)k*K", "kkK", "1:3"},    {"a*\\w", "aaa", "1:3"},
        {"a*(b)?c", "aabc", "1:4"},    {"a*(b)?c", "aac", "1:3"},    {"\\d*\\d", "123", "1:3"},
        {"[^a]*b", "cbcb", "1:4"},     {"a*ab", "aaab", "1:4"},      {"a+a+", "aaa", "1:3"},
        {"a*.", "aaa", "1:3"},         {"[a-z]*.", "ab", "1:2"},     {"(a*)\\1", "aaaa", "1:4"},
        {"a*\\b", "aaa", "1:3"},       {"a*$", "aab", "4:0"},        {"a*", "aaa", "1:3"},
        {"a*?a", "aaa", "1:1"},        {"(xa*)+a", "xaaxaa", "1:6"},
    };
    ExpectFirstMatches(cases);
}

TEST_F(RegexPossessive, RunsFollowedByADisjointItemMatchAsBefore) {
    const MatchCase cases[] = {
        {"[a-z]*\\d", "abc1", "1:4"},
        {"[a-z]*\\d", "abc", "none"},
        {"[a-z]*\\d", "ab cd9", "4:3"},
        {"\\w+@", "name@host", "1:5"},
        {"\\w*\\.", "ab.cd", "1:3"},
        {"[^a]*a", "bba", "1:3"},
        {"a*ba", "aaba", "1:4"},
        {"a+b+", "aabb", "1:4"},
        {"a*b", "aaacaab", "5:3"},
        {"a{3,}b", "aabaaab", "4:4"},
        {"a{2,3}b", "aaaab", "2:4"},
        {"(?i)[a-j]*K", "abcK", "1:4"},
        {"(?i)a*B", "aAb", "1:3"},
        {"x[a-z]*\\d", "xab xcd7", "5:4"},
        {"([a-z]*\\d)+", "ab1cd2e", "1:6"},
        {"([a-z]*)\\d", "ab cd9", "4:3"},
    };
    ExpectFirstMatches(cases);
}

// A text that starts with one very long token (a base64 blob, minified data)
// and has the match only at its end.
TEST_F(RegexPossessive, LongLeadingTokenDoesNotExhaustTheSearch) {
    std::u16string letters;
    for (int i = 0; i < 100000; ++i)
        letters += static_cast<char16_t>('a' + i % 26);
    const std::u16string as(100000, u'a');
    struct LongCase {
        const char* expression;
        const std::u16string* blob;
        const char* tail;
        const char* expected;
    };
    const LongCase cases[] = {
        {"[a-z]*\\d", &letters, " x1", "100002:2"},
        {"[a-z]*\\d", &as, " x1", "100002:2"},
        {"\\w+@", &letters, " me@", "100002:3"},
        {"a*b", &as, "cab", "100002:2"},
    };
    for (const LongCase& c : cases) {
        ProbeRegExpr re;
        re.SetExpression(U16(c.expression));
        EXPECT_EQ(FirstMatch(re, *c.blob + U16(c.tail)), c.expected) << c.expression;
        EXPECT_TRUE(re.codes.empty()) << c.expression << " code " << re.LastCode();
    }
}

} // namespace
