#include <gtest/gtest.h>

#include "RegexTestSupport.h"

namespace {

struct ErrorCase {
    const char* expression;
    int code;
};

class RegexCompile : public ::testing::Test {
protected:
    RegexDefaultsGuard guard;
};

TEST_F(RegexCompile, InvalidExpressionsRecordTheirCode) {
    const ErrorCase cases[] = {
        {"a{3,1}", 124},
        {"a{123456789}", 122},
        {"a{1,123456789}", 122},
        {"(a", 103},
        {"a)", 104},
        {"a)b", 104},
        {"*a", 115},
        {"+", 115},
        {"?", 115},
        {"a**", 107},
        {"a*?+", 107},
        {"a{2}{3}", 107},
        {"(|a)*", 106},
        {"(a?)*", 106},
        {"(a*)+", 106},
        {"(a{0,3})*", 106},
        {"(?i)*", 106},
        {"(?x)a *", 106},
        {"(?:abc)", 127},
        {"(?=a)", 127},
        {"(?i", 127},
        {"(?#abc", 125},
        {"[z-a]", 109},
        {"[abc", 113},
        {"[a\\", 110},
        {"[a-\\", 110},
        {"a\\", 116},
        {"\\x{12345}", 112},
        {"\\x{10000}", 112},
        {"\\xG1", 108},
        {"\\x4", 111},
        {"\\x", 111},
        {"\\x{41", 111},
        {"\\x{4G}", 108},
        {"[а-Я]", 0},
        {"x]", 0},
        {"x}", 0},
        {"(?#comment)a", 0},
        {"(?imsxgr-imsxgr)a", 0},
        {"a{,3}", 0},
        {"(a{1,3})*", 0},
        {"(x?y?){2,}", 0},
        {"[a-\\d]", 0},
        // Review additions: limits and the less common error paths.
        {"a{12345678}", 0},
        {"a{00000002}", 0},
        {"\\x{FFFF}", 0},
        {"\\x{0FFFF}", 0},
        {"[\\x{12345}]", 112},
        {"[\\xG1]", 108},
        {"[a-\\x4", 111},
        {"[]", 113},
        {"[^]", 113},
        {"[]a]", 0},
        {"a|*", 115},
        {"a(*)", 115},
        {"a+{x", 107},
        {"a{1}{", 107},
        {"(?", 127},
        {"(?)a", 0},
        {"(?#)a", 0},
        {"(?<n>a)", 127},
        {"(?i-q)a", 127},
        {"{2}", 0},
        {"()", 0},
        {"(\\b{1})*", 0},
        {"(\\b{0,1})*", 106},
        {"(?x)a  # comment", 0},
    };
    for (const ErrorCase& c : cases) {
        ProbeRegExpr re;
        re.SetExpression(U16(c.expression));
        EXPECT_EQ(re.Compile(), c.code == 0) << c.expression;
        EXPECT_EQ(re.LastCode(), c.code) << c.expression;
        EXPECT_EQ(RegExFehlerStatus.Ok, c.code == 0) << c.expression;
        RegExFehlerStatus = TRegExFehlerStatus();
    }
}

TEST_F(RegexCompile, RussianRangeWithoutRIsInvalid) {
    RegExprDefaults.ModifierR = false;
    ProbeRegExpr re;
    re.SetExpression(U16("[а-Я]"));
    EXPECT_FALSE(re.Compile());
    EXPECT_EQ(re.LastCode(), 109);
}

TEST_F(RegexCompile, FourteenGroupsCompileFifteenDoNot) {
    std::string fourteen, fifteen;
    for (int i = 0; i < 14; ++i)
        fourteen += "(a)";
    fifteen = fourteen + "(a)";
    ProbeRegExpr ok;
    ok.SetExpression(U16(fourteen));
    EXPECT_TRUE(ok.Compile());
    ProbeRegExpr bad;
    bad.SetExpression(U16(fifteen));
    EXPECT_FALSE(bad.Compile());
    EXPECT_EQ(bad.LastCode(), 102);
    // Nested groups count the same way.
    ProbeRegExpr nested;
    nested.SetExpression(U16(std::string(15, '(') + "a" + std::string(15, ')')));
    EXPECT_FALSE(nested.Compile());
    EXPECT_EQ(nested.LastCode(), 102);
}

TEST_F(RegexCompile, MessagesInEnglishAndGerman) {
    struct Case {
        const char* expression;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {"(a", "Unmatched ()", "Fehlende Klammer ()"},
        {"a{3,1}", "Brace Min Param Greater then Max", "Min-Quantor größer als Max-Quantor"},
        {"[z-a]", "Invalid [] Range", "Invalide Menge []"},
        {"a\\", "Trailing \\", "Abschließendes \\"},
        {"\\x{12345}", "Hex Code After \\x Too Big", "HEX Code nach \\x zu groß"},
        {"(?:a)", "Urecognized Modifier", "Unbekannter Modifikator"},
        {"", "Unknown Error", "Unbekannter Fehler"},
    };
    for (const Case& c : cases) {
        for (const char* language : {"en", "de", "fr"}) {
            RegExLanguageCode = [language] { return U16(language); };
            ProbeRegExpr re;
            re.SetExpression(U16(c.expression));
            EXPECT_FALSE(re.Compile());
            const bool english = std::string(language) == "en";
            EXPECT_EQ(U8(RegExFehlerStatus.Message), english ? c.english : c.german)
                << c.expression << " " << language;
        }
    }
    // Without a language hook the texts are German.
    RegExLanguageCode = nullptr;
    ProbeRegExpr re;
    re.SetExpression(u"(a");
    re.Compile();
    EXPECT_EQ(U8(RegExFehlerStatus.Message), "Fehlende Klammer ()");
}

TEST_F(RegexCompile, EmptyExpressionRecords1003AndFindsNothing) {
    ProbeRegExpr re;
    EXPECT_FALSE(re.Exec(u"abc"));
    EXPECT_EQ(re.LastCode(), 1003);
    EXPECT_EQ(re.GetMatchPos(0), -1);
}

TEST_F(RegexCompile, ErrorPositionIsTheParseCursorDuringCompilationOnly) {
    ProbeRegExpr re;
    re.SetExpression(u"ab(cd");
    re.Compile();
    EXPECT_EQ(RegExFehlerStatus.Position, 5);
    EXPECT_EQ(re.ErrorPosition(), 0);
    re.SetExpression(u"abc)");
    re.Compile();
    EXPECT_EQ(RegExFehlerStatus.Position, 3);
    // Errors outside compilation carry position 0.
    re.SetExpression(u"a");
    re.SetInput(u"abc");
    re.ExecPos(0);
    EXPECT_EQ(re.LastCode(), 1006);
    EXPECT_EQ(RegExFehlerStatus.Position, 0);
}

TEST_F(RegexCompile, SettersRecordTheirErrors) {
    ProbeRegExpr re;
    re.SetLinePair(u"aa");
    EXPECT_EQ(re.LastCode(), 128);
    re.SetLinePair(u"abc");
    EXPECT_EQ(re.LastCode(), 128);
    re.codes.clear();
    re.SetLinePair(u"ab");
    re.SetLinePair(u"");
    EXPECT_TRUE(re.codes.empty());
    re.SetModifierById(7, true);
    EXPECT_EQ(re.LastCode(), 1013);
    re.SetModifierById(0, true);
    EXPECT_EQ(re.LastCode(), 1013);
}

TEST_F(RegexCompile, ModifiersComeFromTheDefaultsAtCreation) {
    TRegExpr before;
    RegExprDefaults.ModifierS = false;
    TRegExpr after;
    before.SetExpression(u"a.b");
    after.SetExpression(u"a.b");
    EXPECT_TRUE(before.Exec(u"a\nb"));
    EXPECT_FALSE(after.Exec(u"a\nb"));
    EXPECT_TRUE(after.Exec(u"a-b"));
}

TEST_F(RegexCompile, ChangingModifiersRecompiles) {
    TRegExpr re;
    re.SetExpression(u"abc");
    EXPECT_FALSE(re.Exec(u"ABC"));
    re.SetModifierById(1, true);
    EXPECT_TRUE(re.Exec(u"ABC"));
    re.SetModifierById(1, false);
    EXPECT_FALSE(re.Exec(u"ABC"));
}

TEST_F(RegexCompile, ParseModifiersStopsAtTheFirstOtherCharacter) {
    int mods = 0;
    EXPECT_TRUE(regex::ParseModifiers(u"iS-g", mods));
    EXPECT_EQ(mods, regex::ModI | regex::ModS);
    mods = regex::ModG;
    EXPECT_FALSE(regex::ParseModifiers(u"m:x", mods));
    EXPECT_EQ(mods, regex::ModG | regex::ModM);
}

TEST_F(RegexCompile, CaseInvertIsAsciiOnly) {
    EXPECT_EQ(TRegExpr::CaseInvert(u'a'), u'A');
    EXPECT_EQ(TRegExpr::CaseInvert(u'Z'), u'z');
    EXPECT_EQ(TRegExpr::CaseInvert(u'1'), u'1');
    EXPECT_EQ(TRegExpr::CaseInvert(u'ä'), u'ä');
    EXPECT_EQ(TRegExpr::CaseInvert(u'Ä'), u'Ä');
}

} // namespace
