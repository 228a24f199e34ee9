#include <gtest/gtest.h>

#include "engine/CsvStep.h"

namespace {

const KonsFunction kNoConstants = [](WideStringView x) { return WideString(x); };

// The CSV step on with only the list of column edits (the single-column edit of the
// editing window would otherwise apply its design values to column 1).
MemorySettings listOnly(std::initializer_list<CheckKey> ticked) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_csv"}, true);
    s.SetChecked({"Tcsv_editing", "csv_onlylist"}, true);
    for (CheckKey t : ticked)
        s.SetChecked(t, true);
    return s;
}

std::string run(const MemorySettings& s, const char* text, const KonsFunction& K = kNoConstants) {
    return U8(ApplyCsvStep(s, U16(text), K));
}

TEST(CsvStep, CalcDividesTruncatingTowardZero) {
    MemorySettings s = listOnly({{"Tprog", "act_csv_calc"}});
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"1", {u"CALC", u"DIV", u"2"}});
    EXPECT_EQ(run(s, "7;x\r\n-7;y"), "3;x\r\n-3;y");
    s.SetRows({"Tcsv_editing", "csv_liste"}, {{u"1", {u"CALC", u"MULT", u"2147483647"}}});
    EXPECT_EQ(run(s, "2147483647;x;not a number"), "4611686014132420609;x;not a number");
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"1", {u"CALC", u"SUBT", u"4611686014132420610"}});
    EXPECT_EQ(run(s, "2147483647"), "-1"); // the 64-bit result is read back as a number
    s.SetRows({"Tcsv_editing", "csv_liste"},
              {{u"2", {u"CALC", u"ADD", u"5"}}, {u"2", {u"CALC", u"SUBT", u"1"}}});
    EXPECT_EQ(run(s, "a;$10;x"), "a;20;x");
}

TEST(CsvStep, CalcFailuresRaise) {
    struct Case {
        const char* text;
        ListRow row;
    };
    const Case cases[] = {
        {"7;x", {u"1", {u"CALC", u"DIV", u"0"}}},
        {"7;x", {u"1", {u"CALC", u"ADD", u"x"}}},
        {"9223372036854775807", {u"1", {u"CALC", u"ADD", u"1"}}},
        {"-9223372036854775807", {u"1", {u"CALC", u"SUBT", u"2"}}},
        {"4611686018427387904", {u"1", {u"CALC", u"MULT", u"2"}}},
        {"-9223372036854775808", {u"1", {u"CALC", u"DIV", u"-1"}}},
    };
    for (const Case& c : cases) {
        MemorySettings s = listOnly({{"Tprog", "act_csv_calc"}});
        s.AddRow({"Tcsv_editing", "csv_liste"}, c.row);
        EXPECT_THROW(run(s, c.text), CsvCalcError) << c.text << " " << U8(c.row.SubItem(1));
    }
    // A field that is no integer is left alone, also with a zero divisor.
    MemorySettings s = listOnly({{"Tprog", "act_csv_calc"}});
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"1", {u"CALC", u"DIV", u"0"}});
    EXPECT_EQ(run(s, "x;7"), "x;7");
}

TEST(CsvStep, ColumnOrderRepeatsAndSkips) {
    MemorySettings s = listOnly({{"Tprog", "act_csv_order"}});
    s.SetItems({"Tcsv_order", "liste"}, {u"3", u"1", u"1", u"x", u"9"});
    EXPECT_EQ(run(s, "a;b;c\r\nd;e"), "c;a;a\r\nd;d");
}

TEST(CsvStep, QuotingModes) {
    MemorySettings s = listOnly({});
    EXPECT_EQ(run(s, "\"a\";\"b;c\""), "a;\"b;c\"");
    s.SetChecked({"Tprog", "act_csv_feldbegrenzer_immer"}, true);
    EXPECT_EQ(run(s, "\"a\";\"b;c\""), "\"a\";\"b;c\"");
    s.SetChecked({"Tprog", "act_csv_feldbegrenzer_nie"}, true);
    EXPECT_EQ(run(s, "\"a\";\"b;c\""), "a;b;c");
    s.SetChecked({"Tprog", "act_csv_feldbegrenzer_individuell"}, true);
    s.SetText({"Tprog", "act_csv_feldbegrenzer"}, "");
    EXPECT_EQ(run(s, "\"a\";\"b;c\""), "\"a\";\"b;c\"");
}

TEST(CsvStep, ShortenedRecordsFillFromThePreviousRecordAsRead) {
    MemorySettings s = listOnly({{"Tprog", "act_csv_verkdatensatz"},
                                 {"Tprog", "act_csv_insert"},
                                 {"Tprog", "act_csv_order"}});
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"1", {u"INSERT BEFORE", u">"}});
    s.SetItems({"Tcsv_order", "liste"}, {u"2", u"1", u"3"});
    EXPECT_EQ(run(s, "a;b;c\r\n;;z\r\n;y"), "b;>a;c\r\nb;>a;z\r\ny;>a");
}

TEST(CsvStep, ListEditsByKeyword) {
    struct Case {
        CheckKey gate;
        ListRow row;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{"Tprog", "act_csv_replace"},
         {u"2", {u"REPLACE", u"b", u"%datei%"}},
         "b;abB",
         "b;aa.txtB"},
        {{"Tprog", "act_csv_replace"}, {u"2", {u"REPLACE CI", u"b", u"x"}}, "b;abB", "b;axx"},
        {{"Tprog", "act_csv_replace"},
         {u"1", {u"REPLACE REGEX", u"(\\w)=(\\d+)", u"$2=$1"}},
         "x=12",
         "12=x"},
        {{"Tprog", "act_csv_replace"},
         {u"1", {u"REPLACE REGEX SR", u"\\d+", u"%datei%"}},
         "a1b22",
         "aa.txtba.txt"},
        {{"Tprog", "act_csv_insert"}, {u"1", {u"INSERT AFTER", u"%datei%"}}, "a", "a%datei%"},
        {{"Tprog", "act_csv_insert"}, {u"1", {u"INSERT POSITION", u"-", u"3"}}, "abcd", "ab-cd"},
        {{"Tprog", "act_csv_insert"}, {u"1", {u"INSERT POSITION", u"-", u"99"}}, "ab", "ab-"},
        {{"Tprog", "act_csv_insert"}, {u"1", {u"INSERT IF EMPTY", u"0"}}, ";x", "0;x"},
        {{"Tprog", "act_csv_insert"}, {u"2", {u"INSERT IF EMPTY", u"0"}}, ";x", ";x"},
        {{"Tprog", "act_csv_insert"}, {u"2", {u"INSERT IF NOT EMPTY", u"0"}}, ";x", ";0"},
        {{"Tprog", "act_csv_writing"}, {u"1", {u"WRITING", u"TRIM"}}, " a ;b", "a;b"},
        {{"Tprog", "act_csv_writing"}, {u"1", {u"WRITING", u"LOWERCASE"}}, "ÄB;C", "äb;C"},
        {{"Tprog", "act_csv_writing"},
         {u"3", {u"WRITING", u"UPPERCASE"}},
         "a;b",
         "a;b"},                                                                    // no column 3
        {{"Tprog", "act_csv_calc"}, {u"0", {u"CALC", u"ADD", u"1"}}, "1;2", "1;2"}, // no column 0
        {{"Tprog", "act_csv_insert"},
         {u"1", {u"REPLACE", u"a", u"b"}},
         "a",
         "a"}, // replace not ticked
    };
    const KonsFunction K = [](WideStringView x) {
        return x == u"%datei%" ? WideString(u"a.txt") : WideString(x);
    };
    for (const Case& c : cases) {
        MemorySettings s = listOnly({c.gate});
        s.AddRow({"Tcsv_editing", "csv_liste"}, c.row);
        EXPECT_EQ(run(s, c.in, K), c.out) << U8(c.row.SubItem(0)) << ": " << c.in;
    }
}

TEST(CsvStep, SingleColumnEditInItsOrder) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_csv"}, true);
    s.SetChecked({"Tprog", "act_csv_calc"}, true); // design: column 1 plus 10
    EXPECT_EQ(run(s, "5;5\r\nx;5"), "15;5\r\nx;5");
    s.SetChecked({"Tprog", "act_csv_calc"}, false);
    s.SetChecked({"Tprog", "act_csv_replace"}, true);
    s.SetChecked({"Tprog", "act_csv_insert"}, true);
    s.SetChecked({"Tprog", "act_csv_writing"}, true); // design: upper case
    s.SetText({"Tcsv_editing", "cb_col"}, "2");
    s.SetText({"Tcsv_editing", "ed_suchen"}, "b");
    s.SetText({"Tcsv_editing", "ed_ersetzen"}, "%datei%");
    s.SetText({"Tcsv_editing", "ed_insert"}, "<");
    s.SetChecked({"Tcsv_editing", "rb_insert_hinten"}, true);
    const KonsFunction K = [](WideStringView x) {
        return x == u"%datei%" ? WideString(u"f.txt") : WideString(x);
    };
    EXPECT_EQ(run(s, "b;abc;b", K), "b;AF.TXTC<;b");
    s.SetChecked({"Tcsv_editing", "cb_suchen_regex"}, true);
    s.SetText({"Tcsv_editing", "ed_suchen"}, "[ac]");
    EXPECT_EQ(run(s, "b;abc;b", K), "b;F.TXTBF.TXT<;b");
    s.SetText({"Tcsv_editing", "cb_col"}, "x");
    EXPECT_EQ(run(s, "b;abc;b", K), "b;abc;b");
}

TEST(CsvStep, ColumnDeletionSeparatorsAndSwitchingOff) {
    MemorySettings s = listOnly({{"Tprog", "act_csv_delcolumns"}});
    s.SetText({"Tcsv_editing", "ed_delcolumns"}, "1,3");
    EXPECT_EQ(run(s, "a;b;c;d\r\ne"), "b;d\r\n");
    s.SetText({"Tprog", "act_csv_trenner"}, "%tab%");
    EXPECT_EQ(run(s, "a\tb\tc"), "b");
    s.SetText({"Tprog", "act_csv_ende"}, "");
    EXPECT_EQ(run(s, "a\tb\tc"), "a\tb\tc");
    s.SetText({"Tprog", "act_csv_ende"}, "%linebreak%");
    s.SetText({"Tprog", "act_csv_trenner"}, "");
    EXPECT_EQ(run(s, "a;b;c"), "a;b;c");
}

TEST(CsvStep, ARecordEndAtTheEndOfTheTextClosesTheLastRecord) {
    struct Case {
        std::vector<CheckKey> ticked;
        ListRow row;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{{"Tprog", "act_csv_verkdatensatz"}}, {}, "a;b\r\n;c\r\n", "a;b\r\na;c\r\n"},
        {{{"Tprog", "act_csv_feldbegrenzer_immer"}}, {}, "a;b\r\n", "\"a\";\"b\"\r\n"},
        {{{"Tprog", "act_csv_feldbegrenzer_immer"}}, {}, "", ""},
        {{{"Tprog", "act_csv_insert"}},
         {u"1", {u"INSERT IF EMPTY", u"0"}},
         "a\r\n\r\n",
         "a\r\n0\r\n"},
        {{{"Tprog", "act_csv_insert"}}, {u"1", {u"INSERT BEFORE", u">"}}, "a\r\nb", ">a\r\n>b"},
    };
    for (const Case& c : cases) {
        MemorySettings s = listOnly({});
        for (CheckKey t : c.ticked)
            s.SetChecked(t, true);
        if (!c.row.caption.empty()) s.AddRow({"Tcsv_editing", "csv_liste"}, c.row);
        EXPECT_EQ(run(s, c.in), c.out) << c.ticked[0] << ": " << c.in;
    }
}

TEST(CsvStep, RecordEndFollowsTheTextsLineBreak) {
    MemorySettings s = listOnly({{"Tprog", "act_csv_order"}});
    s.SetItems({"Tcsv_order", "liste"}, {u"2", u"1"});
    EXPECT_EQ(run(s, "a;b\nc;d"), "b;a\nd;c");
    s.SetChecked({"Tprog", "act_rbnewline_manu"}, true); // the named kind: CR LF by design
    EXPECT_EQ(run(s, "a;b\nc;d"), "b\nc;a");             // one record of three fields
    s.SetChecked({"Tprog", "act_newline"}, true);
    s.SetChecked({"Tprog", "act_cbnewline"}, true);
    s.SetText({"Tprog", "act_newline_neu"}, "LF - Unix, Linux, Mac OS X, AmigaOS, BSD");
    EXPECT_EQ(run(s, "a;b\nc;d"), "b;a\nd;c");
}

} // namespace
