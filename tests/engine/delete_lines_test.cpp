#include <gtest/gtest.h>

#include "FakeRun.h"
#include "engine/DeleteLines.h"
#include "engine/RegExText.h"
#include "regex/RegExRoutines.h"

namespace {

const KonsFunction kNoConstants = [](WideStringView x) { return WideString(x); };

std::string run(const MemorySettings& s, const char* text, const KonsFunction& K = kNoConstants) {
    return U8(ApplyDeleteLines(s, U16(text), u"\n", K));
}

TEST(DeleteLines, NothingAskedLeavesTheText) {
    MemorySettings s;
    EXPECT_FALSE(DeleteLinesRequested(s));
    EXPECT_EQ(run(s, "a\n\na"), "a\n\na");
}

TEST(DeleteLines, EmptyRepeatedAndFromTheEnd) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_del_zeile_leere"}, true);
    s.SetChecked({"Tprog", "act_del_zeile_doppelte"}, true);
    s.SetText({"Tprog", "act_del_zeile_ende"}, "1");
    EXPECT_EQ(run(s, "a\n\nb\na\nc"), "a\nb");
}

TEST(DeleteLines, NumberListsAndLengths) {
    struct Case {
        TextKey edit;
        const char* value;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{"Tprog", "act_del_zeile_suchen"}, "1-2000000000", "a\nb\nc", ""},
        {{"Tprog", "act_del_zeile_ende"}, "1-2000000000", "a\nb\nc", ""},
        {{"Tprog", "act_del_zeile_suchen"}, "3; 1, x, 0", "a\nb\nc\nd", "b\nd"},
        {{"Tprog", "act_del_zeile_ende"}, "1, 3", "a\nb\nc\nd", "a\nc"},
        {{"Tprog", "act_del_zeile_from"}, "2", "a\nb\nc", "a\nb"},
        {{"Tprog", "act_del_zeile_from"}, "0", "a\nb\nc", "a\nb\nc"},
        {{"Tprog", "act_del_zeile_char_more"}, "2", "a\nbbb\ncc", "a\ncc"},
        {{"Tprog", "act_del_zeile_char_less"}, "2", "a\nbbb\ncc", "bbb\ncc"},
        {{"Tprog", "act_del_zeile_char_less"}, "x", "a\nbbb\ncc", "a\nbbb\ncc"},
        // A final line break ends the last line and stays while a line is left.
        {{"Tprog", "act_del_zeile_ende"}, "1", "a\nb\nc\n", "a\nb\n"},
        {{"Tprog", "act_del_zeile_ende"}, "1-3", "a\nb\nc\n", ""},
        {{"Tprog", "act_del_zeile_suchen"}, "3", "a\nb\nc\n", "a\nb\n"},
        {{"Tprog", "act_del_zeile_from"}, "1", "a\nb\n", "a\n"},
        {{"Tprog", "act_del_zeile_char_less"}, "1", "a\n\nb\n", "a\nb\n"},
        {{"Tprog", "act_del_zeile_char_less"}, "1", "\n", ""},
    };
    for (const Case& c : cases) {
        MemorySettings s;
        s.SetText(c.edit, c.value);
        EXPECT_EQ(run(s, c.in), c.out) << c.edit << " " << c.value;
    }
}

TEST(DeleteLines, BlankLines) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_del_zeile_whitespace"}, true);
    EXPECT_EQ(run(s, "a\n \t \n\nb"), "a\n\nb");
}

TEST(DeleteLines, ByTextCaseAndPlace) {
    struct Case {
        std::vector<CheckKey> ticked;
        const char* pattern;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{}, "b", "ABC\nxyz\nabc", "xyz"}, // ignoring case by design
        {{{"Tprog", "act_del_zeile_text_grkl"}},
         "b",
         "ABC\nxyz\nabc",
         "ABC\nxyz"}, // case-sensitive
        {{{"Tprog", "act_del_zeile_text_anfang"}}, "A", "ABC\nbac\nabc", "bac"},
        {{{"Tprog", "act_del_zeile_text_keep"}}, "b", "ABC\nxyz\n\nabc", "ABC\n\nabc"},
        {{}, "x\r\ny", "ax\nby\nc", "c"}, // one pattern per memo line
        {{{"Tprog", "act_del_zeile_text_regex"}}, "\\d", "a1\nb\nC2", "b"},
        {{{"Tprog", "act_del_zeile_text_regex"}},
         "^[a-c]$",
         "A\nd\nb",
         "d"}, // case-insensitive regex
        {{{"Tprog", "act_del_zeile_text_regex"}, {"Tprog", "act_del_zeile_text_grkl"}},
         "^[a-c]$",
         "A\nd\nb",
         "A\nd"},
        // An expression that does not compile takes no part: keeping the matching lines
        // keeps them all, and a good expression beside it still works.
        {{{"Tprog", "act_del_zeile_text_regex"}, {"Tprog", "act_del_zeile_text_keep"}},
         "(",
         "a\nb",
         "a\nb"},
        {{{"Tprog", "act_del_zeile_text_regex"}, {"Tprog", "act_del_zeile_text_keep"}},
         "[",
         "a\nb",
         "a\nb"},
        {{{"Tprog", "act_del_zeile_text_regex"}, {"Tprog", "act_del_zeile_text_keep"}},
         "(\r\nb",
         "a\nb",
         "b"},
        {{{"Tprog", "act_del_zeile_text_regex"}}, "(\r\nb", "a\nb", "a"},
        {{}, "%datei%", "a.txt 1\nb", "b"}, // patterns through the file constants
    };
    const KonsFunction K = [](WideStringView x) {
        return x == u"%datei%" ? WideString(u"a.txt") : WideString(x);
    };
    for (const Case& c : cases) {
        MemorySettings s;
        s.SetChecked({"Tprog", "act_del_zeile_text_grkl"}, false);
        for (CheckKey t : c.ticked)
            s.SetChecked(t, true);
        s.SetText({"Tprog", "act_del_zeile_text"}, c.pattern);
        EXPECT_EQ(run(s, c.in, K), c.out) << c.pattern << " " << c.in;
    }
    // Without the line separator the whole memo is one pattern.
    MemorySettings s;
    s.SetChecked({"Tprog", "act_del_zeile_trenner"}, false);
    s.SetText({"Tprog", "act_del_zeile_text"}, "x\r\ny");
    EXPECT_EQ(run(s, "ax\nby\nc"), "ax\nby\nc");
    // Blank lines are left alone by the text test unless asked otherwise.
    s.SetChecked({"Tprog", "act_del_zeile_trenner"}, true);
    s.SetChecked({"Tprog", "act_del_zeile_text_keep"}, true);
    s.SetText({"Tprog", "act_del_zeile_text"}, "a");
    EXPECT_EQ(run(s, "a\n\t\nb"), "a\n\t");
    s.SetChecked({"Tprog", "act_del_zeile_text_leer"}, false);
    EXPECT_EQ(run(s, "a\n\t\nb"), "a");
}

TEST(DeleteLines, ABadExpressionIsReportedToTheWindowOfTheConversion) {
    MemorySettings s;
    FakeRun ui{s};
    s.SetChecked({"Tprog", "act_del_zeile_text_regex"}, true);
    s.SetChecked({"Tprog", "act_del_zeile_text_keep"}, true);
    s.SetText({"Tprog", "act_del_zeile_text"}, "(");
    {
        RegExErrorReport report(ui);
        EXPECT_EQ(run(s, "a\nb"), "a\nb");
    }
    EXPECT_FALSE(ui.regExErrors.empty());
    EXPECT_FALSE(RegExFehlerStatus.Ok);
    // Outside a conversion nobody is told.
    const size_t reported = ui.regExErrors.size();
    EXPECT_EQ(run(s, "a\nb"), "a\nb");
    EXPECT_EQ(ui.regExErrors.size(), reported);
}

} // namespace
