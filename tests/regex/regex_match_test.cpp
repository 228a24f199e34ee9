#include <gtest/gtest.h>

#include "RegexTestSupport.h"
#include "regex/RegExRoutines.h"

namespace {

class RegexMatch : public ::testing::Test {
protected:
    RegexDefaultsGuard guard;
};

TEST_F(RegexMatch, FirstMatchPositions) {
    const MatchCase cases[] = {
        // Braces that do not form a quantifier are literal text.
        {"a{,3}", "xa{,3}", "2:5"},
        {"a{2}", "aaa", "1:2"},
        {"a{x", "a{x", "1:3"},
        {"a{1", "a{1", "1:3"},
        {"a{1,2", "a{1,2", "1:5"},
        {"{", "x{", "2:1"},
        {"x]y}", "x]y}", "1:4"},
        // A quantifier after a literal run applies to its last character.
        {"ab*", "abbb", "1:4"},
        {"ab*", "ab", "1:2"},
        {"abc{2}", "abcc", "1:4"},
        {"abc{2}", "abcabc", "none"},
        {"abc?d", "abd", "1:3"},
        // Escapes.
        {"\\x41", "A", "1:1"},
        {"\\x{41}", "zA", "2:1"},
        {"\\x{00041}", "A", "1:1"},
        {"\\t\\n\\r\\f\\a\\e", "\t\n\r\f\a\x1b", "1:6"},
        {"\\.\\*", "a.*", "2:2"},
        {"\\q", "q", "1:1"},
        // Sets.
        {"[a\\-z]+", "b-az", "2:3"},
        {"[a-\\d]+", "b-a5", "2:3"},
        {"[]a]+", "x]a]", "2:3"},
        {"[^abc]", "abcd", "4:1"},
        {"[-a]+", "x-a", "2:2"},
        {"[a-]+", "x-a", "2:2"},
        {"[\\d\\s]+", "ab1 2", "3:3"},
        {"[\\D]", "1D", "2:1"},
        {"[\\W\\S]+", "ab WS", "4:2"},
        {"[\\x41-\\x43]+", "ABCD", "1:3"},
        {"[\\w]+", "$ß_ä", "2:3"},
        // Classes.
        {"\\d+", "ab123", "3:3"},
        {"\\D+", "12ab3", "3:2"},
        {"\\w+", "--äbc--", "3:3"},
        {"\\W+", "ab-+cd", "3:2"},
        {"\\s+", "a \t\r\n\fb", "2:5"},
        {"\\s", "a\vb", "none"},
        {"\\w", "éß", "2:1"},
        {"\\W", "éß", "1:1"},
        {"\\S+", "  ab ", "3:2"},
        {"\\bab\\b", "cab ab", "5:2"},
        {"\\Bb", "b ab", "4:1"},
        // Anchors without m.
        {"^a", "ba", "none"},
        {"^a", "ab", "1:1"},
        {"a$", "a\nb", "none"},
        {"b$", "a\nb", "3:1"},
        {"\\Ab", "ab", "none"},
        {"a\\Z", "ba", "2:1"},
        // Alternation is leftmost-first, not longest.
        {"a|ab", "ab", "1:1"},
        {"ab|a", "ab", "1:2"},
        {"x(a|ab)(c|bcd)", "xabcd", "1:5"},
        {"(a|)b", "b", "1:1"},
        // Greedy and lazy.
        {"a+?", "aaa", "1:1"},
        {"a*?b", "aab", "1:3"},
        {"a{2,}?", "aaaa", "1:2"},
        {"a??b", "ab", "1:2"},
        {"(ab)+?", "ababab", "1:2"},
        {"(ab)*?c", "ababc", "1:5"},
        {"(ab){2,3}?", "ababab", "1:4"},
        {"<.+>", "<a><b>", "1:6"},
        {"<.+?>", "<a><b>", "1:3"},
        // Back-references.
        {"(a+)b\\1", "aabaa", "1:5"},
        {"(a+)b\\1", "aaba", "2:3"},
        {"(ab)\\1+c", "ababc", "1:5"},
        {"(ab)\\1+c", "abababc", "1:7"},
        {"(a)\\1{2}", "aaaa", "1:3"},
        {"(a)|\\1b", "b", "none"},
        {"(a?)\\1*b", "b", "1:1"},
        // Inside a repeated group a back-reference to it is the text of its previous pass,
        // and fails in the first.
        {"(a|\\1){2}", "a", "none"},
        {"(a|b\\1)+", "ab", "1:1"},
        {"a(\\1|b)*", "abb", "1:3"},
        {"^(a\\1?){4}$", "aaaaa", "1:5"},
        {"(a|b\\1)+", "abab", "1:3"},
        {"(b|a\\1)+", "baab", "1:1"},
        // The mended faults.
        {"(a{1,3})*", "aaa", "1:3"},
        {"(x?y?){2,}", "z", "1:0"},
        {"(a|ab){1,2}c", "abc", "1:3"},
        {"(a|ab){2}c", "aabc", "1:4"},
        {"(a|ab)(c|bcd)(d*)", "abcd", "1:4"},
        {"(a|b)*?c", "abc", "1:3"},
        // Case-insensitive with an inline modifier, ASCII only.
        {"(?i)abc", "xABC", "2:3"},
        {"(?i)[a-c]+", "xAbC", "2:3"},
        {"(?i)[^a]", "Ab", "2:1"},
        {"(?i)(ab)\\1", "abAB", "1:4"},
        {"(?i)ä", "Ä", "none"},
        {"(?i)Ä", "ä", "none"},
        {"a(?i)b", "aB", "1:2"},
        {"(?i)a(?-i)b", "AB", "none"},
        {"(a(?i)b)c", "aBc", "1:3"},
        {"(a(?i)b)c", "aBC", "none"},
        // Comments and x-mode.
        {"a(?#note)b", "ab", "1:2"},
        {"(?x)a b  c", "abc", "1:3"},
        {"(?x)a # comment\n b", "ab", "1:2"},
        {"(?x)a\tb\r\nc", "abc", "1:3"},
        {"(?x) a b*", "abbb", "1:4"},
        {"(?x)ab#c\nd", "abd", "1:3"},
        {"(?x)[a b]+", "x a", "2:2"},
        {"((?x)a b)a b", "aba b", "1:5"},
        // Inline modifiers last to the end of their group, across "|" within it.
        {"x(?i)a|b", "B", "1:1"},
        {"(x(?i)a|b)c", "Bc", "1:2"},
        {"(x(?i)a|b)c", "BC", "none"},
        {"(?i)a|(?-i)b", "B", "none"},
        {"((?i)a)b", "AB", "none"},
        {"((?-s).)|.", "\n", "1:1"},
        {"((?-s).)x|.", "\nx", "1:1"},
        {"((?m)^b)|^c", "a\nc", "none"},
        {"((?m)^b)|^c", "a\nb", "3:1"},
        {"((?-g)a+)", "aaa", "1:1"},
        {"((?-g)b)a+", "baaa", "1:4"},
        // Escapes that are not classes, anchors or back-references stand for themselves.
        {"\\0", "0", "1:1"},
        {"(a)\\10", "aa0", "1:3"},
        {"\\[\\]\\{\\}", "[]{}", "1:4"},
        // Inside sets \D, \S and \W are letters; after "-" they form no range, before it they do.
        {"[a-\\D]+", "ba-D", "2:3"},
        {"[\\S]", " xS", "3:1"},
        {"[\\W-a]+", "-_W", "2:2"},
        {"(?i)[\\x41]", "a", "1:1"},
        // Counted limits.
        {"a{0}b", "ab", "2:1"},
        {"(ab){0}c", "abc", "3:1"},
        {"ab{0}c", "ac", "1:2"},
        {"a{1,1}", "aa", "1:1"},
        {"(ab){2,}?c", "abababc", "1:7"},
        {"(a|ab){0,1}c", "abc", "1:3"},
    };
    ExpectFirstMatches(cases);
}

TEST_F(RegexMatch, NulInsideTheExpressionIsAnOrdinaryCharacter) {
    TRegExpr re;
    re.SetExpression(WideString(u"a\0b", 3));
    EXPECT_FALSE(re.Exec(u"ab"));
    re.SetExpression(u"\\x00");
    EXPECT_FALSE(re.Exec(u"abc"));
    re.SetExpression(u"[\\x00-\\x1F]");
    EXPECT_TRUE(re.Exec(WideString(u"ab\u0001c")));
    EXPECT_EQ(re.GetMatchPos(0), 3);
    re.SetExpression(u"[^\\x00]+");
    EXPECT_TRUE(re.Exec(u"ab"));
    EXPECT_EQ(re.GetMatchLen(0), 2);
    re.SetExpression(u"c");
    EXPECT_FALSE(re.Exec(WideString(u"ab\0cd", 5)));
    // Input after the first U+0000 is never looked at, not even by "$".
    re.SetExpression(u"b$");
    EXPECT_TRUE(re.Exec(WideString(u"ab\0cd", 5)));
    EXPECT_EQ(re.GetMatchPos(0), 2);
}

TEST_F(RegexMatch, TheFirstNulEndsTheInputForEveryNode) {
    const WideString text(u"ab\0cd", 5);
    const std::pair<const char*, const char*> cases[] = {
        {"b.", "none"},         {"b[^x]", "none"},
        {"b\\W", "none"},       {"b\\D", "none"},
        {"b\\S", "none"},       {"b(?-s).", "none"},
        {"b\\x00", "none"},     {"bc", "none"},
        {"[^a]+", "2:1"},       {".*", "1:2"},
        {"b\\b", "2:1"},        {"b\\Z", "2:1"},
        {"(?m)b$", "2:1"},      {"(b)\\1", "none"},
        {"b\\B", "none"},       {"[\\x00-\\x{FFFF}]{3}", "none"},
        {"(b|\\x00)+$", "2:1"},
    };
    for (const auto& [expression, expected] : cases) {
        TRegExpr re;
        re.SetExpression(U16(expression));
        EXPECT_EQ(FirstMatch(re, text), expected) << expression;
    }
    // Empty matches stop at the U+0000 as they stop at the end.
    TRegExpr re;
    re.SetExpression(u"x*");
    ASSERT_TRUE(re.Exec(text));
    std::vector<int> starts{re.GetMatchPos(0)};
    while (re.ExecNext())
        starts.push_back(re.GetMatchPos(0));
    EXPECT_EQ(starts, (std::vector<int>{1, 2, 3}));
}

// A literal is looked for before the input is scanned for U+0000: still every occurrence
// before the first U+0000 is found and none after it, and an expression set afterwards
// sees the same end.
TEST_F(RegexMatch, LiteralsStopAtTheFirstNul) {
    const WideString text(u"xa xa\0xa xa", 11);
    TRegExpr re;
    re.SetExpression(u"xa");
    std::vector<int> starts;
    if (re.Exec(text)) do
            starts.push_back(re.GetMatchPos(0));
        while (re.ExecNext());
    EXPECT_EQ(starts, (std::vector<int>{1, 4}));
    EXPECT_FALSE(re.ExecPos(6)); // at the U+0000
    EXPECT_FALSE(re.ExecPos(7)); // after it
    re.SetExpression(WideString(u"a\0x", 3));
    EXPECT_FALSE(re.Exec(text));
    re.SetExpression(u"xa");
    ASSERT_TRUE(re.Exec(text));
    re.SetExpression(u"a$");
    ASSERT_TRUE(re.ExecNext());
    EXPECT_EQ(re.GetMatchPos(0), 5);
    re.SetExpression(u"x");
    ASSERT_TRUE(re.ExecPos(4));
    EXPECT_EQ(re.GetMatchPos(0), 4);
    EXPECT_FALSE(re.ExecPos(5));
    re.SetExpression(u"xa");
    ASSERT_TRUE(re.ExecShared(text));
    EXPECT_FALSE(re.ExecPos(5));
}

TEST_F(RegexMatch, CaseInversionHookFromTheDefaults) {
    // A hook that also folds the German umlauts is used by literals, sets,
    // back-references and the start-character scan alike.
    RegExprDefaults.CaseInvert = [](WideChar c) -> WideChar {
        if (c == u'ä') return u'Ä';
        if (c == u'Ä') return u'ä';
        return TRegExpr::CaseInvert(c);
    };
    RegExprDefaults.ModifierI = true;
    const MatchCase cases[] = {
        {"ä", "xÄ", "2:1"},      {"xä", "XÄ", "1:2"},     {"[ä]", "Ä", "1:1"},
        {"[^ä]", "Äb", "2:1"},   {"(ä)\\1", "äÄ", "1:2"}, {"ä+", "äÄä", "1:3"},
        {"(?-i)ä", "Ä", "none"},
    };
    ExpectFirstMatches(cases);
}

TEST_F(RegexMatch, StartScansFindEveryOccurrence) {
    // Literal prefixes and small start sets are scanned in blocks; matches at
    // every offset, including the last units of the input, must be found.
    const std::pair<const char*, int> cases[] = {{"xyz", 1}, {"x|yy|zzz", 1}, {"[xy]z", 2},
                                                 {"y", 2},   {"(xyz|q)", 1},  {"[qz]", 3}};
    for (const auto& [expression, offset] : cases) {
        for (int at = 0; at < 40; ++at) {
            WideString text(43, u'-');
            text.replace(at, 3, u"xyz");
            TRegExpr re;
            re.SetExpression(U16(expression));
            ASSERT_TRUE(re.Exec(text)) << expression << " " << at;
            EXPECT_EQ(re.GetMatchPos(0), at + offset) << expression << " " << at;
            text.resize(at + 2);
            re.SetExpression(u"xyz");
            EXPECT_FALSE(re.Exec(text)) << at;
        }
    }
}

TEST_F(RegexMatch, EmptyMatchesStepForward) {
    TRegExpr re;
    re.SetExpression(u"a*");
    ASSERT_TRUE(re.Exec(u"bbb"));
    std::vector<int> starts{re.GetMatchPos(0)};
    while (re.ExecNext()) {
        EXPECT_EQ(re.GetMatchLen(0), 0);
        starts.push_back(re.GetMatchPos(0));
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(RegexMatch, SearchPositionsAndTheirErrors) {
    ProbeRegExpr re;
    re.SetExpression(u"$");
    re.SetInput(u"abc");
    EXPECT_FALSE(re.ExecPos(0));
    EXPECT_EQ(re.LastCode(), 1006);
    re.codes.clear();
    EXPECT_FALSE(re.ExecPos(5));
    EXPECT_TRUE(re.codes.empty());
    EXPECT_TRUE(re.ExecPos(4));
    EXPECT_EQ(re.GetMatchPos(0), 4);
    EXPECT_EQ(re.GetMatchLen(0), 0);

    ProbeRegExpr fresh;
    fresh.SetExpression(u"a");
    EXPECT_FALSE(fresh.ExecNext());
    EXPECT_EQ(fresh.LastCode(), 1007);
    EXPECT_FALSE(fresh.ExecPos(1));
    EXPECT_EQ(fresh.LastCode(), 1005);
    EXPECT_EQ(fresh.GetMatchPos(0), -1);
}

TEST_F(RegexMatch, GroupPositions) {
    TRegExpr re;
    re.SetExpression(u"(a)|b");
    ASSERT_TRUE(re.Exec(u"b"));
    EXPECT_EQ(re.GetMatchPos(0), 1);
    EXPECT_EQ(re.GetMatchPos(1), -1);
    EXPECT_EQ(re.GetMatchLen(1), -1);
    EXPECT_EQ(re.GetMatchPos(15), -1);
    EXPECT_EQ(re.GetMatchPos(-1), -1);

    re.SetExpression(u"(\\w+)@(\\w+)\\.(com|org)");
    ASSERT_TRUE(re.Exec(u"mail: joe@example.org!"));
    EXPECT_EQ(re.GetMatchPos(1), 7);
    EXPECT_EQ(re.GetMatchLen(1), 3);
    EXPECT_EQ(re.GetMatchPos(2), 11);
    EXPECT_EQ(re.GetMatchLen(2), 7);
    EXPECT_EQ(re.GetMatchPos(3), 19);

    // A group keeps the text of the last iteration that took part.
    re.SetExpression(u"(a|b)*");
    ASSERT_TRUE(re.Exec(u"abba"));
    EXPECT_EQ(re.GetMatchPos(1), 4);
    // A failed search clears the groups.
    re.SetExpression(u"(x)");
    EXPECT_FALSE(re.Exec(u"abc"));
    EXPECT_EQ(re.GetMatchPos(0), -1);
}

TEST_F(RegexMatch, LinesWithModifierM) {
    RegExprDefaults.ModifierM = true;
    const MatchCase cases[] = {
        {"^b", "a\r\nb", "4:1"},    {"^b", "a\nb", "3:1"},       {"^b", "a\rb", "3:1"},
        {"a$", "a\r\nb", "1:1"},    {"a$", "ab", "none"},        {"\\r$", "a\r\nb", "none"},
        {"^\\n", "a\r\nb", "none"}, {"^$", "a\r\n\r\nb", "4:0"}, {"^", "", "1:0"},
        {"$", "ab", "3:0"},         {"^b", "a\u0085b", "3:1"},   {"^b", "a\u2029b", "3:1"},
        {"^b", "a\vb", "3:1"},      {"^b", "a\fb", "3:1"},       {"a$", "a\u2028", "1:1"},
    };
    ExpectFirstMatches(cases);
    TRegExpr re;
    re.SetExpression(u"^b");
    ASSERT_TRUE(re.Exec(u"a\u2028b"));
    EXPECT_EQ(re.GetMatchPos(0), 3);
    // All line starts in order: at CR LF only once, after it.
    re.SetExpression(u"^.");
    ASSERT_TRUE(re.Exec(u"a\r\nb\nc"));
    std::vector<int> starts{re.GetMatchPos(0)};
    while (re.ExecNext())
        starts.push_back(re.GetMatchPos(0));
    EXPECT_EQ(starts, (std::vector<int>{1, 4, 6}));
}

TEST_F(RegexMatch, DotWithAndWithoutS) {
    EXPECT_EQ(FirstMatch("a.b", "a\nb"), "1:3");
    RegExprDefaults.ModifierS = false;
    const MatchCase cases[] = {
        {"a.b", "a\nb", "none"},      {"a.b", "a\rb", "none"},   {"a.b", "a\vb", "none"},
        {"a.b", "a-b", "1:3"},        {".+", "ab\r\ncd", "1:2"}, {".*c", "ab\ncd", "4:1"},
        {"a.{2}", "a\nbcabc", "5:3"}, {".+?b", "aab", "1:3"},    {"(?s).+", "a\nb", "1:3"},
    };
    ExpectFirstMatches(cases);
    // Without the CR LF pair and without CR among the separators, "." takes CR.
    RegExprDefaults.LineSeparators = u"\n";
    TRegExpr re;
    re.SetExpression(u"a.");
    EXPECT_TRUE(re.Exec(u"a\rb"));
    EXPECT_FALSE(re.Exec(u"a\r\nb")); // the head of the pair before its tail
    re.SetLinePair(u"");
    EXPECT_TRUE(re.Exec(u"a\r\nb"));
}

TEST_F(RegexMatch, AnchorsWithoutTheLinePair) {
    // Without the pair CR and LF are two separators, so a line starts between them.
    RegExprDefaults.ModifierM = true;
    RegExprDefaults.LinePairedSeparator = u"";
    EXPECT_EQ(FirstMatch("^\\n", "a\r\nb"), "3:1");
    EXPECT_EQ(FirstMatch("\\r$", "a\r\nb"), "2:1");
    // Without separators and pair, "^" and "$" with m are the input's ends.
    RegExprDefaults.LineSeparators = u"";
    EXPECT_EQ(FirstMatch("^b", "a\nb"), "none");
    EXPECT_EQ(FirstMatch("a$", "a\nb"), "none");
    EXPECT_EQ(FirstMatch("b$", "a\nb"), "3:1");
}

TEST_F(RegexMatch, GreedinessFollowsModifierG) {
    RegExprDefaults.ModifierG = false;
    EXPECT_EQ(FirstMatch("a+", "aaa"), "1:1");
    EXPECT_EQ(FirstMatch("a{2,3}", "aaa"), "1:2");
    EXPECT_EQ(FirstMatch("(?g)a+", "aaa"), "1:3");
    // With g off, "?" after a quantifier is still lazy.
    EXPECT_EQ(FirstMatch("a+?", "aaa"), "1:1");
}

TEST_F(RegexMatch, RussianRangesWithR) {
    TRegExpr with;
    with.SetExpression(U16("[а-я]"));
    EXPECT_TRUE(with.Exec(U16("ё")));
    with.SetExpression(U16("[А-Я]"));
    EXPECT_TRUE(with.Exec(U16("Ё")));
    EXPECT_FALSE(with.Exec(U16("ё")));
    with.SetExpression(U16("[а-Я]+"));
    EXPECT_TRUE(with.Exec(U16("ЁёЖж")));
    EXPECT_EQ(with.GetMatchLen(0), 4);

    RegExprDefaults.ModifierR = false;
    TRegExpr without;
    without.SetExpression(U16("[а-я]"));
    EXPECT_FALSE(without.Exec(U16("ё")));
    EXPECT_TRUE(without.Exec(U16("ж")));
}

TEST_F(RegexMatch, ClassesFollowTheDefaults) {
    RegExprDefaults.WordChars = u"ab";
    RegExprDefaults.SpaceChars = u"_";
    EXPECT_EQ(FirstMatch("\\w+", "xaby"), "2:2");
    EXPECT_EQ(FirstMatch("\\s", "a b_c"), "4:1");
    EXPECT_EQ(FirstMatch("[\\s]", "a b_c"), "4:1");
    EXPECT_EQ(FirstMatch("\\bx", "axbx"), "2:1");
}

TEST_F(RegexMatch, TenNestedCountedLoopsWorkAnEleventhFails) {
    auto build = [](int levels) {
        std::string e = "a";
        for (int i = 0; i < levels; ++i)
            e = "(" + e + "){1,2}";
        return e;
    };
    ProbeRegExpr ten;
    ten.SetExpression(U16(build(10)));
    EXPECT_TRUE(ten.Exec(u"xa"));
    EXPECT_EQ(ten.GetMatchPos(0), 2);
    EXPECT_TRUE(ten.codes.empty());
    ProbeRegExpr eleven;
    eleven.SetExpression(U16(build(11)));
    EXPECT_TRUE(eleven.Compile());
    EXPECT_FALSE(eleven.Exec(u"xa"));
    EXPECT_EQ(eleven.LastCode(), 1014);

    // "+" on a group is a counted loop only when it is lazy, as all are without g.
    const std::string plus = std::string(11, '(') + "a)+)+)+)+)+)+)+)+)+)+)+";
    ProbeRegExpr greedy;
    greedy.SetExpression(U16(plus));
    EXPECT_TRUE(greedy.Exec(u"xa"));
    EXPECT_TRUE(greedy.codes.empty());
    ProbeRegExpr lazy;
    lazy.SetExpression(U16("(?-g)" + plus));
    EXPECT_FALSE(lazy.Exec(u"xa"));
    EXPECT_EQ(lazy.LastCode(), 1014);
}

TEST_F(RegexMatch, RunawayExpressionsEndWithoutMatch) {
    ProbeRegExpr re;
    re.SetExpression(u"(a+)+b");
    EXPECT_FALSE(re.Exec(u"b" + WideString(40, u'a')));
    EXPECT_EQ(re.LastCode(), regex::kErrorBacktrackLimit);
    EXPECT_EQ(U8(re.ErrorMsg(re.LastCode())), "Unbekannter Fehler");
    EXPECT_EQ(re.GetMatchPos(0), -1);
    // The engine stays usable.
    EXPECT_TRUE(re.Exec(u"aab"));
    EXPECT_EQ(re.GetMatchLen(0), 3);
}

TEST_F(RegexMatch, RunawayWorkOutsideBacktrackingIsBoundedToo) {
    // Each of these tries millions of ways, and every way then counts a long
    // run or walks a long counted loop before failing; without a charge for
    // that work the search runs for hours.
    auto repeat = [](const char16_t* unit, int count) {
        WideString s;
        for (int i = 0; i < count; ++i)
            s += unit;
        return s;
    };
    const std::pair<const char*, WideString> cases[] = {
        {"(a?){25}\\w*!", repeat(u"a", 100'000) + u" !"},
        {"(a?){25}[a-z]*?!", repeat(u"a", 100'000) + u" !"},
        {"(\\b|\\b){22}(ab){4000}!", u"!" + repeat(u"ab", 4000) + u"?"},
        {"(\\b|\\b){22}(\\w+)\\2!", u"!" + repeat(u"a", 20'000) + u"?"},
        {"(\\b|\\b){22}(a+)\\2*!", u"!" + repeat(u"a", 20'000) + u"?"},
    };
    for (const auto& [expression, text] : cases) {
        ProbeRegExpr re;
        re.SetExpression(U16(expression));
        EXPECT_FALSE(re.Exec(text)) << expression;
        EXPECT_EQ(re.LastCode(), regex::kErrorBacktrackLimit) << expression;
    }
}

// The work is bounded per call, not per search: with one search per match a budget per
// search let these run for seconds on a few thousand characters (hours on a megabyte).
TEST_F(RegexMatch, TheBudgetCoversAWholeCall) {
    const WideString expression = u"(a|a)*b|!";
    WideString text;
    for (int i = 0; i < 210; ++i)
        text += WideString(19, u'a') + u"!"; // about a million ways to fail before each "!"
    WideString replaced;
    ReplaceAllRegEx(text, u"-", expression, replaced);
    EXPECT_EQ(replaced, text); // changes nothing
    EXPECT_FALSE(RegExFehlerStatus.Ok);
    EXPECT_EQ(RegExFehlerStatus.Message, RegExErrorText(regex::kErrorBacktrackLimit, false));
    RegExFehlerStatus = TRegExFehlerStatus();
    TWideStrArray pieces;
    EXPECT_EQ(SplitRegEx(pieces, expression, text, false, false), 1);
    EXPECT_EQ(pieces, TWideStrArray{text});
    EXPECT_FALSE(RegExFehlerStatus.Ok);

    ProbeRegExpr re;
    re.SetExpression(expression);
    int matches = 0;
    if (re.Exec(text))
        while (re.ExecNext())
            ++matches;
    EXPECT_TRUE(re.GaveUp());
    EXPECT_LT(matches, 200);
    EXPECT_EQ(re.LastCode(), regex::kErrorBacktrackLimit);
    // A new Exec has a budget of its own, and ordinary work never meets it.
    re.SetExpression(u"a+!");
    ASSERT_TRUE(re.Exec(text + text));
    while (re.ExecNext())
        ++matches;
    EXPECT_FALSE(re.GaveUp());
}

TEST_F(RegexMatch, LongInputsDoNotExhaustTheStack) {
    const WideString line(10'000'000, u'x');
    TRegExpr re;
    re.SetExpression(u".{0,}");
    ASSERT_TRUE(re.Exec(line));
    EXPECT_EQ(re.GetMatchLen(0), 10'000'000);
    RegExprDefaults.ModifierS = false;
    TRegExpr noS;
    noS.SetExpression(u".{0,}");
    ASSERT_TRUE(noS.Exec(line));
    EXPECT_EQ(noS.GetMatchLen(0), 10'000'000);
    // A group repeated over a long line either matches or gives up; it never crashes.
    TRegExpr group;
    group.SetExpression(u"(x)*y");
    EXPECT_FALSE(group.Exec(WideString(1'000'000, u'x')));
}

TEST_F(RegexMatch, CompiledProgramIsReusedUntilTheExpressionChanges) {
    ProbeRegExpr re;
    re.SetExpression(u"b+");
    ASSERT_TRUE(re.Exec(u"abbc"));
    re.SetExpression(u"b+");
    EXPECT_TRUE(re.ExecNext() == false);
    EXPECT_TRUE(re.codes.empty());
    re.SetExpression(u"c");
    ASSERT_TRUE(re.Exec(u"abbc"));
    EXPECT_EQ(re.GetMatchPos(0), 4);
}

} // namespace
