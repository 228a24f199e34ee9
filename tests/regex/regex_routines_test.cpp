#include <gtest/gtest.h>

#include <random>

#include "RegexTestSupport.h"
#include "regex/RegExRoutines.h"

namespace {

class RegExRoutines : public ::testing::Test {
protected:
    RegexDefaultsGuard guard;
};

std::string ReplaceAll(const char* text, const char* replacement, const char* expression) {
    WideString result = u"stale";
    ReplaceAllRegEx(U16(text), U16(replacement), U16(expression), result);
    return U8(result);
}

std::string ReplaceTemplate(const char* text, const char* expression, const char* templ) {
    WideString result = u"stale";
    ReplaceRegExTemplate(U16(text), U16(expression), U16(templ), result);
    return U8(result);
}

std::string Split(const char* expression, const char* text, bool atEnd, bool atNext) {
    TWideStrArray pieces{u"stale"};
    const int count = SplitRegEx(pieces, U16(expression), U16(text), atEnd, atNext);
    EXPECT_EQ(count, static_cast<int>(pieces.size()));
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i)
        joined += (i ? "|" : "") + U8(pieces[i]);
    return joined;
}

TEST_F(RegExRoutines, ReplaceAll) {
    struct Case {
        const char *text, *replacement, *expression, *expected;
    };
    const Case cases[] = {
        {"a1b22c", "-", "\\d+", "a-b-c"}, {"a1b22c", "-", "\\d*", "-a--b--c-"},
        {"abc", "$1", "(b)", "a$1c"},     {"", "x", "a*", "x"},
        {"aaa", "b", "a", "bbb"},         {"a\r\nb", " ", "\\r\\n", "a b"},
        {"abc", "x", "[", "abc"},         {"abc", "x", "[a", "abc"},
        {"abc", "x", "", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.replacement, c.expression), c.expected) << c.expression;
}

TEST_F(RegExRoutines, ReplaceTemplate) {
    struct Case {
        const char *text, *expression, *templ, *expected;
    };
    const Case cases[] = {
        {"x=12", "(\\w)=(\\d+)", "$2=$1", "12=x"},
        {"ab", "(a)(b)", "${2}${1}x", "bax"},
        {"ab", "b", "[$&]", "a[b]"},
        {"ab", "b", "[${&}]", "a[b]"},
        {"ab", "(b)", "\\$1\\\\", "a$1\\"},
        {"ab", "(b)", "$15|${1", "a|${1"},
        {"abc", "a[", "x", "abc"},
        {"abc", "[", "x", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceTemplate(c.text, c.expression, c.templ), c.expected) << c.templ;
}

TEST_F(RegExRoutines, Split) {
    EXPECT_EQ(Split("\\d", "a1b2c", false, false), "a|b|c");
    EXPECT_EQ(Split("\\d", "a1b2c", true, false), "a1|b2|c");
    EXPECT_EQ(Split("\\d", "a1b2c", false, true), "a|1b|2c");
    EXPECT_EQ(Split("\\d", "a1b2c", true, true), "a1|1b2|2c");
    EXPECT_EQ(Split("x", "a1b2c", false, false), "a1b2c");
    EXPECT_EQ(Split("\\d", "ab1", false, false), "ab|");
    EXPECT_EQ(Split("(", "a(b", false, false), "a(b");
}

// The routines record their errors; the conversion engine reports them to its window.
TEST_F(RegExRoutines, ErrorsAreRecorded) {
    EXPECT_EQ(ReplaceAll("abc", "x", "[a"), "abc");
    EXPECT_FALSE(RegExFehlerStatus.Ok);

    RegExLanguageCode = [] { return WideString(u"en"); };
    EXPECT_EQ(ReplaceAll("abc", "x", "[a"), "abc");
    EXPECT_EQ(U8(RegExFehlerStatus.Message), "Unmatched []");
    EXPECT_EQ(ReplaceTemplate("abc", "(a", "x"), "abc");
    EXPECT_EQ(U8(RegExFehlerStatus.Message), "Unmatched ()");

    // A good expression resets the flag; "[" alone does not touch it.
    EXPECT_EQ(ReplaceAll("abc", "x", "b"), "axc");
    EXPECT_TRUE(RegExFehlerStatus.Ok);
    RegExFehlerStatus.Ok = false;
    EXPECT_EQ(ReplaceAll("abc", "x", "["), "abc");
    EXPECT_FALSE(RegExFehlerStatus.Ok);

    // An expression ending in "[" leaves the template routine alone entirely,
    // even a valid one; the plain routine spares only "[" itself.
    RegExFehlerStatus.Ok = true;
    EXPECT_EQ(ReplaceTemplate("a[b", "a\\[", "x"), "a[b");
    EXPECT_EQ(ReplaceTemplate("abc", "(a[", "x"), "abc");
    EXPECT_TRUE(RegExFehlerStatus.Ok);
    EXPECT_EQ(ReplaceAll("abc", "x", "a["), "abc");
    EXPECT_FALSE(RegExFehlerStatus.Ok);
    EXPECT_EQ(U8(RegExFehlerStatus.Message), "Unmatched []");

    // The split does not reset the flag.
    RegExFehlerStatus.Ok = true;
    EXPECT_EQ(Split("(a", "xay", false, false), "xay");
    EXPECT_FALSE(RegExFehlerStatus.Ok);
    EXPECT_EQ(Split("[", "x[y", true, true), "x[y");
}

TEST_F(RegExRoutines, ResultMayBeTheTextItself) {
    WideString text = u"a1b2";
    ReplaceAllRegEx(text, u"-", u"\\d", text);
    EXPECT_EQ(text, u"a-b-");
    ReplaceRegExTemplate(text, u"(\\w)", u"<$1>", text);
    EXPECT_EQ(text, u"<a>-<b>-");
}

TEST_F(RegExRoutines, RewritingTheTextItselfGivesWhatACopyGives) {
    // Shorter, equal and longer replacements, empty matches, word boundaries that look at
    // the unit before a match, and texts where the result first shrinks and then grows
    // beyond the text's length (so it cannot be written where the text lies).
    struct Case {
        const char16_t *text, *expression, *replacement;
    } cases[] = {
        {u"ab12cd345ef6", u"[0-9]+", u"#"},
        {u"fox fox", u"fox", u"cat"},
        {u"abc", u"x*", u"-"},
        {u"12 3456 7", u"\\d", u""},
        {u"ab ab abab", u"\\bab", u"X"},
        {u"aaaa b", u"a+", u"0123456789"},
        {u"aaaaaaaa bb", u"a+|b", u"<-->"},
        {u"xxxxxxxxxxyy", u"x{10}|y", u"..."},
        {u"no match here", u"[0-9]", u"#"},
        {u"", u"a*", u"z"},
        {u"\u00e4\u00f6\u00fc 12", u"\\w", u"_"},
        {u"line\r\nline", u"\\r\\n", u"\n"},
    };
    for (const Case& c : cases) {
        const WideString text = c.text;
        WideString copied, inPlace = text;
        ReplaceAllRegEx(text, c.replacement, c.expression, copied);
        ReplaceAllRegEx(inPlace, c.replacement, c.expression, inPlace);
        EXPECT_EQ(U8(inPlace), U8(copied)) << U8(text) << " / " << U8(c.expression);
        WideString templated = text, copiedTemplate;
        ReplaceRegExTemplate(text, c.expression, u"[$0]", copiedTemplate);
        ReplaceRegExTemplate(templated, c.expression, u"[$0]", templated);
        EXPECT_EQ(U8(templated), U8(copiedTemplate)) << U8(text);
    }
    std::mt19937 rng(5);
    const char16_t* expressions[] = {u"a+", u"ab|b", u"\\bb", u"a?", u"(a)(b)?"};
    for (int round = 0; round < 2000; ++round) {
        WideString text, replacement;
        for (int i = static_cast<int>(rng() % 60); i > 0; --i)
            text += u"ab "[rng() % 3];
        for (int i = static_cast<int>(rng() % 4); i > 0; --i)
            replacement += u'r';
        const char16_t* expression = expressions[rng() % 5];
        WideString copied, inPlace = text;
        ReplaceAllRegEx(text, replacement, expression, copied);
        ReplaceAllRegEx(inPlace, replacement, expression, inPlace);
        ASSERT_EQ(U8(inPlace), U8(copied)) << U8(text) << " / " << U8(expression);
    }
}

TEST_F(RegExRoutines, SubstituteTemplates) {
    TRegExpr re;
    re.SetExpression(u"(\\d+)");
    ASSERT_TRUE(re.Exec(u"42"));
    const std::pair<const char*, const char*> cases[] = {
        {"[$1]", "[42]"}, {"${1}x", "42x"}, {"\\$1", "$1"}, {"${1", "${1"}, {"$15", ""},
        {"$0$&", "4242"}, {"$", "$"},       {"a\\", "a\\"}, {"${}", "${}"}, {"$x", "$x"},
        {"${01}", "42"},  {"", ""},         {"$2", ""},
    };
    for (const auto& [templ, expected] : cases)
        EXPECT_EQ(U8(re.Substitute(U16(templ))), expected) << templ;

    ProbeRegExpr noInput;
    noInput.SetExpression(u"a");
    EXPECT_EQ(noInput.Substitute(u"$0"), u"");
    EXPECT_EQ(noInput.LastCode(), 1005);
}

// Long texts with many matches, replaced by templates that grow and shrink the text:
// the result (sized before it is filled) equals the text put together match by match
// from the engine's own matches and substitutions.
TEST_F(RegExRoutines, ManyReplacementsEqualTheMatchByMatchResult) {
    std::mt19937 rng(17);
    const std::pair<const char*, const char*> cases[] = {
        {"(\\d+)", "<$1$1>"},   {"(a)(b?)", "$2"}, {"\\d*", "-"},
        {"(ab|b)a", "${1}xyz"}, {"x|[ab]{2}", ""},
    };
    for (const auto& [expression, templ] : cases) {
        WideString text;
        for (int i = 0; i < 5000; ++i)
            text += u"ab12 xa9b"[rng() % 9];
        TRegExpr re;
        re.SetExpression(U16(expression));
        WideString expected, expectedPlain; // with the template, and with it as it stands
        size_t position = 0;
        if (re.Exec(text)) do {
                const size_t start = re.GetMatchPos(0) - 1;
                const WideString between = text.substr(position, start - position);
                expected += between + re.Substitute(U16(templ));
                expectedPlain += between + U16(templ);
                position = start + re.GetMatchLen(0);
            } while (re.ExecNext());
        expected += text.substr(position);
        expectedPlain += text.substr(position);
        WideString result;
        ReplaceRegExTemplate(text, U16(expression), U16(templ), result);
        EXPECT_EQ(result, expected) << expression;
        ReplaceAllRegEx(text, U16(templ), U16(expression), result);
        EXPECT_EQ(result, expectedPlain) << expression;
    }
}

} // namespace
