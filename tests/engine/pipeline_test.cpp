#include "engine/Pipeline.h"
#include "engine/TextSteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "FakeRun.h"
#include "TempFolder.h"
#include "engine/RegExText.h"
#include "regex/RegExErrors.h"
#include "support/ScopedHook.h"
#include "text/TextEncodings.h"

namespace {

class PipelineTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ProgramState state(dir());
        state.ProcessLogEnabled = true;
        engine_ = std::make_unique<ConversionEngine>(s, ui, state);
    }
    WideString convert(std::string_view text, WideStringView path = u"/data/a.txt", int index = 1) {
        return engine_->Konvertieren(U16(text), path, index, &sender);
    }
    void tick(const std::vector<CheckKey>& keys) {
        for (CheckKey n : keys)
            s.SetChecked(n, true);
    }
    std::string log() {
        std::ifstream in(folder / "qvrprocess.log", std::ios::binary);
        std::stringstream b;
        b << in.rdbuf();
        return b.str();
    }

    MemorySettings s;
    FakeRun ui{s};
    int sender = 0;
    std::unique_ptr<ConversionEngine> engine_;
};

TEST_F(PipelineTest, LineBreaks) {
    // Nothing ticked: the text comes back as it was, and the sender reaches the window.
    EXPECT_EQ(convert("a\nb\r\nc"), u"a\nb\r\nc");
    EXPECT_EQ(ui.lastSender, &sender);
    // The line-break text the steps and the run use: the text's own, CR LF when none.
    EXPECT_EQ(LineBreakTextFor(s, u"a\nb"), u"\n");
    EXPECT_EQ(LineBreakTextFor(s, u"ab"), u"\r\n");

    tick({{"Tprog", "act_cbnewline"}, {"Tprog", "act_newline"}});
    EXPECT_EQ(convert("a\nb"), u"a\r\nb");
    // A text without breaks is taken as CR LF: nothing to convert.
    EXPECT_EQ(convert("ab"), u"ab");
    // Only breaks of the detected kind are converted.
    s.SetText({"Tprog", "act_newline_neu"}, U16(LineBreakNameA(lbLF)));
    EXPECT_EQ(convert("a\r\nb\rc"), u"a\nb\rc");
    // New kind equal to the old one, with the check: byte for byte.
    s.SetText({"Tprog", "act_newline_neu"}, U16(LineBreakNameA(lbCRLF)));
    const WideString mixed = u"a\r\nb\nc\r\r\n";
    EXPECT_EQ(engine_->Konvertieren(mixed, u"/x", 1, nullptr), mixed);
    // The old kind taken from the combo box instead of detected.
    s.SetChecked({"Tprog", "act_rbnewline_manu"}, true);
    s.SetText({"Tprog", "act_newline_alt"}, U16(LineBreakNameA(lbCR)));
    EXPECT_EQ(convert("a\rb\nc"), u"a\r\nb\nc");
    // Converting: the target kind.
    s.SetText({"Tprog", "act_newline_neu"}, U16(LineBreakNameA(lbCR)));
    EXPECT_EQ(LineBreakTextFor(s, u"a\nb"), u"\r");
}

TEST_F(PipelineTest, ReplaceText) {
    struct Case {
        bool caseSensitive, regex, templ;
        const char *search, *replacement, *text, *expected;
    };
    const Case cases[] = {
        {true, false, false, "Foo", "%datei%", "foo Foo", "foo a.txt"},
        {false, false, false, "Foo", "%datei%", "foo Foo", "a.txt a.txt"},
        // Regular search: the expression is not read through the constants.
        {true, true, false, "%d\\w+%", "<%datei%>", "%datei% x", "<a.txt> x"},
        {true, true, true, "(\\d)(\\d)", "$2$1", "a12b", "a21b"},
        {true, true, false, "(\\d)", "$1", "a1", "a$1"},
    };
    tick({{"Tprog", "act_ers_text"}, {"Tprog", "act_konstanten"}});
    s.SetChecked({"Tprog", "act_konst_all"}, false);
    for (const Case& c : cases) {
        s.SetChecked({"Tprog", "act_ers_casesensitive"}, c.caseSensitive);
        s.SetChecked({"Tprog", "act_ers_text_suchen_regex"}, c.regex);
        s.SetChecked({"Tprog", "act_ers_text_ersetzen_regex"}, c.templ);
        s.SetText({"Tprog", "act_ers_text_suchen"}, c.search);
        s.SetText({"Tprog", "act_ers_text_ersetzen"}, c.replacement);
        EXPECT_EQ(U8(convert(c.text)), c.expected) << c.search;
    }
}

TEST_F(PipelineTest, ReplaceTextList) {
    tick({{"Tprog", "act_ers_text"}});
    s.SetRows({"Tprog", "act_ers_text_liste"},
              {{u"(\\d+)", {u"<$1>", u"x"}}, {u"b", {u"B", u"-"}}});
    EXPECT_EQ(convert("a1b22"), u"a<1>B<22>");
    // "-/x" and "x/-": regular search, the replacement taken as it stands.
    for (const char16_t* mark : {u"-/x", u"x/-"}) {
        s.SetRows({"Tprog", "act_ers_text_liste"}, {{u"(\\d)", {u"[$1]", mark}}});
        EXPECT_EQ(convert("a1"), u"a[$1]");
    }
    // Plain rows follow the case setting.
    s.SetRows({"Tprog", "act_ers_text_liste"}, {{u"AB", {u"x", u"-"}}});
    EXPECT_EQ(convert("ab AB"), u"ab x");
    s.SetChecked({"Tprog", "act_ers_casesensitive"}, false);
    EXPECT_EQ(convert("ab AB"), u"x x");
}

TEST_F(PipelineTest, ReplaceLines) {
    tick({{"Tprog", "act_ers_zeile"}});
    s.SetText({"Tprog", "act_ers_zeile_suchen"}, "3; 5, x, 0");
    s.SetText({"Tprog", "act_ers_zeile_erstxt"}, "X");
    EXPECT_EQ(convert("1\n2\n3\n4\n5\n6"), u"1\n2\nX\n4\nX\n6");
    // Numbers beyond the last line are ignored.
    s.SetText({"Tprog", "act_ers_zeile_suchen"}, "2,9");
    EXPECT_EQ(convert("1\r\n2"), u"1\r\nX");
    s.SetChecked({"Tprog", "act_ers_zeile_rb_text"}, true);
    s.SetText({"Tprog", "act_ers_zeile_suchen"}, "b");
    EXPECT_EQ(convert("ab\nc\nB"), u"X\nc\nB");
    s.SetChecked({"Tprog", "act_ers_zeile_rb_regex"}, true);
    s.SetText({"Tprog", "act_ers_zeile_suchen"}, "^\\d+$");
    EXPECT_EQ(convert("12\nc3\n4"), u"X\nc3\nX");
    // The list rows, each with its own mode and new line.
    s.SetText({"Tprog", "act_ers_zeile_suchen"}, "");
    s.SetRows({"Tprog", "act_ers_zeile_liste"}, {{u"Line(s)", {u"1", u"one", u""}},
                                                 {u"Text", {u"c", u"see", u""}},
                                                 {u"RegEx", {u"^z", u"zed", u""}}});
    EXPECT_EQ(convert("a\nbc\nzz\nd"), u"one\nsee\nzed\nd");
}

TEST_F(PipelineTest, Insert) {
    tick({{"Tprog", "act_anfuegen"}});
    s.SetText({"Tprog", "act_anfuegen_text"}, "> ");
    s.SetChecked({"Tprog", "act_anfuegen_jedezeile"}, true);
    EXPECT_EQ(convert("a\nb"), u"> a\n> b");
    // The file: before the first line, after the last.
    s.SetChecked({"Tprog", "act_anfuegen_datei"}, true);
    EXPECT_EQ(convert("a\nb"), u"> a\nb");
    s.SetChecked({"Tprog", "act_anfuegen_hinten"}, true);
    EXPECT_EQ(convert("a\nb"), u"a\nb> ");
    // A position beyond the end appends; a line number outside the text does nothing.
    s.SetChecked({"Tprog", "act_anfuegen_pos_rb"}, true);
    s.SetText({"Tprog", "act_anfuegen_pos"}, " 2 ");
    s.SetChecked({"Tprog", "act_anfuegen_zeile_rb"}, true);
    s.SetText({"Tprog", "act_anfuegen_zeile"}, "2");
    EXPECT_EQ(convert("ab\nc\nd"), u"ab\nc> \nd");
    s.SetText({"Tprog", "act_anfuegen_zeile"}, "4");
    EXPECT_EQ(convert("ab\nc\nd"), u"ab\nc\nd");
    // Lines containing a text, ignoring case unless the box is ticked.
    s.SetChecked({"Tprog", "act_anfuegen_vorn"}, true);
    s.SetChecked({"Tprog", "act_anfuegen_zeile_txt_rb"}, true);
    s.SetText({"Tprog", "act_anfuegen_zeile_txt"}, "b");
    EXPECT_EQ(convert("ab\nB\nc"), u"> ab\n> B\nc");
    s.SetChecked({"Tprog", "act_anfuegen_zeile_txt_gk"}, true);
    EXPECT_EQ(convert("ab\nB\nc"), u"> ab\nB\nc");
}

TEST_F(PipelineTest, InsertListRows) {
    struct Case {
        const char16_t *place, *target, *insert;
        const char *text, *expected;
    };
    const Case cases[] = {
        {u"POS3 LINE", u"2", u"XX", "abcd\nefgh", "abcd\nefXXgh"},
        {u"POS3 ZEILE", u"2", u"XX", "abcd\nefgh", "abcd\nefXXgh"},
        {u"END LINE", u"", u";", "a\nb", "a;\nb;"},
        {u"BEG ZEILE", u"", u"#", "a\nb", "#a\n#b"},
        {u"BEG FILE", u"", u"<", "a\nb", "<a\nb"},
        {u"END DATEI", u"", u">", "a\nb", "a\nb>"},
        {u"POS9 FILE", u"", u"!", "ab\nc", "ab!\nc"},
        {u"BEG TEXT", u"x", u"-", "ax\nX\nb", "-ax\n-X\nb"},
        {u"BEG TEXT E", u"x", u"-", "ax\nX\nb", "-ax\nX\nb"},
        {u"POS7 TEXT E", u"X", u"!", "abcdefgh\nX", "abcdefgh\nX!"},
        {u"XYZ LINE", u"", u"?", "a", "a"},
    };
    tick({{"Tprog", "act_anfuegen"}});
    for (const Case& c : cases) {
        s.SetRows({"Tprog", "act_anfuegen_liste"}, {{c.place, {c.target, c.insert}}});
        EXPECT_EQ(U8(convert(c.text)), c.expected) << U8(c.place);
    }
}

// A final line break ends the last line: the line steps see no empty line after it, and
// the break is kept.
TEST_F(PipelineTest, FinalLineBreakEndsTheLastLine) {
    struct Case {
        const char* what;
        std::vector<CheckKey> ticks;
        std::vector<std::pair<TextKey, const char*>> texts;
        const char *text, *expected;
    };
    const Case cases[] = {
        {"insert before every line",
         {{"Tprog", "act_anfuegen"}, {"Tprog", "act_anfuegen_jedezeile"}},
         {{{"Tprog", "act_anfuegen_text"}, "> "}},
         "a\nb\n",
         "> a\n> b\n"},
        {"insert after every line",
         {{"Tprog", "act_anfuegen"},
          {"Tprog", "act_anfuegen_jedezeile"},
          {"Tprog", "act_anfuegen_hinten"}},
         {{{"Tprog", "act_anfuegen_text"}, ";"}},
         "a\r\nb\r\n",
         "a;\r\nb;\r\n"},
        {"insert after the file",
         {{"Tprog", "act_anfuegen"}, {"Tprog", "act_anfuegen_hinten"}},
         {{{"Tprog", "act_anfuegen_text"}, "!"}},
         "a\nb\n",
         "a\nb!\n"},
        {"insert into an empty line",
         {{"Tprog", "act_anfuegen"}, {"Tprog", "act_anfuegen_jedezeile"}},
         {{{"Tprog", "act_anfuegen_text"}, "#"}},
         "a\n\n",
         "#a\n#\n"},
        {"insert into an empty text",
         {{"Tprog", "act_anfuegen"}},
         {{{"Tprog", "act_anfuegen_text"}, "#"}},
         "",
         ""},
        {"replace the last line by number",
         {{"Tprog", "act_ers_zeile"}},
         {{{"Tprog", "act_ers_zeile_suchen"}, "3"}, {{"Tprog", "act_ers_zeile_erstxt"}, "X"}},
         "a\nb\n",
         "a\nb\n"},
        {"replace line 2 of two",
         {{"Tprog", "act_ers_zeile"}},
         {{{"Tprog", "act_ers_zeile_suchen"}, "2"}, {{"Tprog", "act_ers_zeile_erstxt"}, "X"}},
         "a\nb\n",
         "a\nX\n"},
        {"replace lines matching an empty-able expression",
         {{"Tprog", "act_ers_zeile"}, {"Tprog", "act_ers_zeile_rb_regex"}},
         {{{"Tprog", "act_ers_zeile_suchen"}, "^b?$"}, {{"Tprog", "act_ers_zeile_erstxt"}, "X"}},
         "a\nb\n",
         "a\nX\n"},
        {"first letters of the lines",
         {{"Tprog", "act_sonstige"}, {"Tprog", "act_sons_keine"}, {"Tprog", "act_sons_ucline"}},
         {},
         "ab\ncd\n",
         "Ab\nCd\n"},
    };
    for (const Case& c : cases) {
        s = MemorySettings();
        tick(c.ticks);
        for (const auto& [name, value] : c.texts)
            s.SetText(name, value);
        EXPECT_EQ(U8(convert(c.text)), c.expected) << c.what;
    }
}

TEST_F(PipelineTest, DeleteTextDeleteLinesAndLetterCase) {
    tick({{"Tprog", "act_del_text"}});
    s.SetText({"Tprog", "act_del_text_suchen"}, "ab");
    EXPECT_EQ(convert("xabyAB"), u"xyAB");
    s.SetChecked({"Tprog", "act_del_casesensitive"}, false);
    EXPECT_EQ(convert("xabyAB"), u"xy");
    s.SetChecked({"Tprog", "act_del_regex"}, true);
    s.SetText({"Tprog", "act_del_text_suchen"}, "\\d+");
    s.SetRows({"Tprog", "act_del_text_liste"}, {{u"[xy]", {u"x", u""}}, {u"[z]", {u"-", u""}}});
    EXPECT_EQ(convert("x12y[z]z3"), u"z");
    s.SetChecked({"Tprog", "act_del_text"}, false);

    tick({{"Tprog", "act_del_zeile"},
          {"Tprog", "act_del_zeile_leere"},
          {"Tprog", "act_del_zeile_doppelte"}});
    s.SetText({"Tprog", "act_del_zeile_ende"}, "1");
    EXPECT_EQ(convert("a\n\nb\na\nc"), u"a\nb");
    s.SetChecked({"Tprog", "act_del_zeile_leere"}, false);
    s.SetChecked({"Tprog", "act_del_zeile_doppelte"}, false);
    s.SetText({"Tprog", "act_del_zeile_ende"}, "");
    s.SetText({"Tprog", "act_del_zeile_suchen"}, "1-2000000000");
    EXPECT_EQ(convert("a\nb\nc"), u"");
    s.SetChecked({"Tprog", "act_del_zeile"}, false);

    tick({{"Tprog", "act_sonstige"}});
    EXPECT_EQ(convert("straße"), U16("STRAßE"));
    s.SetChecked({"Tprog", "act_sons_lowercase"}, true);
    EXPECT_EQ(convert("ÄB"), U16("äb"));
    s.SetChecked({"Tprog", "act_sons_keine"}, true);
    s.SetChecked({"Tprog", "act_sons_ucline"}, true);
    EXPECT_EQ(convert("ab\n\ncd"), u"Ab\n\nCd");
}

TEST_F(PipelineTest, NumberingCounters) {
    tick({{"Tprog", "act_konstanten"}});
    EXPECT_EQ(convert("%numf%/%numf%"), u"1/2");
    EXPECT_EQ(convert("%numf%/%numf%"), u"1/2");
    EXPECT_EQ(convert("%numfa%"), u"1");
    EXPECT_EQ(convert("%numfa%,%numfa%"), u"2,3");
    engine_->ResetRunCounter();
    s.SetText({"Tprog", "act_konst_start"}, "10");
    EXPECT_EQ(convert("%numfa% %numf% %num% %datei%"), u"10 10 11 a.txt");
    // Not an integer: start at 1.
    s.SetText({"Tprog", "act_konst_start"}, "x");
    EXPECT_EQ(convert("%numf%%numf%%numfa%"), u"122");
    // Without act_konst_all the text is not touched.
    s.SetChecked({"Tprog", "act_konst_all"}, false);
    EXPECT_EQ(convert("%numf% %datei%"), u"%numf% %datei%");
}

TEST_F(PipelineTest, StepsRunInOrder) {
    // Replace before insert before letter case: the inserted text is upper-cased too,
    // and the line breaks are converted first so that insert sees the new lines.
    tick({{"Tprog", "act_cbnewline"},
          {"Tprog", "act_newline"},
          {"Tprog", "act_ers_text"},
          {"Tprog", "act_anfuegen"},
          {"Tprog", "act_sonstige"}});
    s.SetText({"Tprog", "act_ers_text_suchen"}, "b");
    s.SetText({"Tprog", "act_ers_text_ersetzen"}, "c");
    s.SetText({"Tprog", "act_anfuegen_text"}, "x");
    s.SetChecked({"Tprog", "act_anfuegen_jedezeile"}, true);
    EXPECT_EQ(convert("a\nb"), u"XA\r\nXC");
}

TEST_F(PipelineTest, FailureGivesTheInputBack) {
    tick({{"Tprog", "act_ers_text"}, {"Tprog", "act_csv"}, {"Tprog", "act_csv_calc"}});
    s.SetText({"Tprog", "act_ers_text_suchen"}, "7");
    s.SetText({"Tprog", "act_ers_text_ersetzen"}, "8");
    s.SetRows({"Tcsv_editing", "csv_liste"}, {{u"1", {u"CALC", u"DIV", u"0"}}});
    EXPECT_EQ(convert("7;x\r\n6;y", u"/data/c.csv"), u"7;x\r\n6;y");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].first, "konvertierfehler");
    EXPECT_EQ(ui.messages[0].second, u"/data/c.csv");
    EXPECT_NE(log().find("CONVERT ERROR(/data/c.csv)\r\n"), std::string::npos);

    // Silent level 2: no message; without the log flag: no log line.
    std::filesystem::remove(folder / "qvrprocess.log");
    ProgramState quietState(dir());
    quietState.Silent = SilentLevel::NoWindow;
    ConversionEngine quiet(s, ui, quietState);
    EXPECT_EQ(quiet.Konvertieren(u"7", u"/d", 1, nullptr), u"7");
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder / "qvrprocess.log"));
}

// An expression compiled once answers for every line as the removal test does: empty
// matches do not count, "[" and bad expressions match nothing.
TEST(LineRegExTest, AgreesWithTheRemovalTest) {
    const WideString expressions[] = {u"a",   u"^a",   u"a$",     u"x*",   u"a??", u"^",
                                      u"$",   u"\\d+", u"(?i)AB", u"\\bb", u"[",   u"(",
                                      u"a|$", u"",     u"[a-",    u".*",   u"b*$", u"^$"};
    const WideString lines[] = {u"", u"a", u"ab", u"ba", u"AB", u"x", u"b 12", u"aaa", u"\tb"};
    for (const WideString& e : expressions) {
        LineRegEx compiled(e);
        for (const WideString& line : lines)
            EXPECT_EQ(compiled.Matches(line), LineMatchesRegEx(line, e))
                << U8(e) << " on \"" << U8(line) << "\"";
    }
}

// A faulty expression reaches the window of the conversion that met it, in the language
// the regular-expression texts follow; the sender tells the window where it came from.
TEST_F(PipelineTest, FaultyExpressionsGoToTheWindowOfTheirConversion) {
    {
        ScopedValue english(RegExLanguageCode,
                            std::function<WideString()>([] { return WideString(u"en"); }));
        tick({{"Tprog", "act_ers_text"}});
        s.SetRows({"Tprog", "act_ers_text_liste"}, {{u"[a", {u"x", u"x/-"}}, {u"(", {u"y", u"x"}}});
        EXPECT_EQ(convert("abc"), u"abc");
    }
    EXPECT_EQ(ui.lastSender, &sender);
    EXPECT_EQ(ui.regExErrors, (std::vector<std::string>{"Unmatched []", "Unmatched ()"}));
}

} // namespace
