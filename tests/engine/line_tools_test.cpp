#include <gtest/gtest.h>

#include "engine/LineTools.h"
#include "text/WideStrUtils.h"

namespace {

WideString lines(std::initializer_list<const char*> items, const char* lineBreak = "\r\n") {
    TWideStrArray a;
    for (const char* i : items)
        a.push_back(U16(i));
    return ImplodeW(a, U16(lineBreak));
}

MemorySettings withTools(std::initializer_list<CheckKey> ticked) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_zeilen"}, true);
    for (CheckKey t : ticked)
        s.SetChecked(t, true);
    return s;
}

TEST(LineTools, NumberingPadsToTheDigitsOfCountPlusStart) {
    MemorySettings s = withTools({{"Tprog", "act_zeilen_nummern"}});
    s.SetChecked({"Tprog", "act_zeilen_nummern5"}, false);
    WideString nine = lines({"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9"});
    EXPECT_EQ(ApplyLineTools(s, nine, u"\r\n"), lines({" 1 l1", " 2 l2", " 3 l3", " 4 l4", " 5 l5",
                                                       " 6 l6", " 7 l7", " 8 l8", " 9 l9"}));
    s.SetText({"Tprog", "act_zeilen_nummern_beginn"}, "x"); // not a number: from 1
    EXPECT_EQ(ApplyLineTools(s, lines({"a", "b"}), u"\r\n"), lines({"1 a", "2 b"}));
    s.SetText({"Tprog", "act_zeilen_nummern_beginn"}, "98");
    EXPECT_EQ(ApplyLineTools(s, lines({"a", "b"}), u"\r\n"), lines({" 98 a", " 99 b"}));
}

TEST(LineTools, EveryFifthNumberKeepsTheColumnsAligned) {
    MemorySettings s = withTools({{"Tprog", "act_zeilen_nummern"}}); // every fifth is on by design
    WideString text = lines({"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9", "l10"});
    WideString out = ApplyLineTools(s, text, u"\r\n");
    TWideStrArray got;
    ExplodeW(got, u"\r\n", out);
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got[0], u"   l1");
    EXPECT_EQ(got[3], u"   l4");
    EXPECT_EQ(got[4], u" 5 l5");
    EXPECT_EQ(got[9], u"10 l10");
    for (const WideString& l : got)
        EXPECT_EQ(l[3], u'l') << U8(l);
}

TEST(LineTools, SortingAscendingDescendingAndFromAPositionOrText) {
    MemorySettings s = withTools({{"Tprog", "act_zeilen_sort"}});
    EXPECT_EQ(ApplyLineTools(s, lines({"Zebra", "Äpfel", "Apfel"}), u"\r\n"),
              lines({"Äpfel", "Apfel", "Zebra"}));
    s.SetText({"Tprog", "act_zeilen_sortierung"}, "cba");
    EXPECT_EQ(ApplyLineTools(s, lines({"b", "c", "a"}), u"\r\n"), lines({"c", "b", "a"}));
    s.SetText({"Tprog", "act_zeilen_sortierung"}, "abc");
    s.SetText({"Tprog", "act_zeilen_sort_abed"}, "3"); // from the third character of longer lines
    EXPECT_EQ(ApplyLineTools(s, lines({"xxb1", "yya2", "zzc3", "ab"}, "\n"), u"\n"),
              lines({"yya2", "ab", "xxb1", "zzc3"}, "\n")); // keys A2, AB, B1, C3
    s.SetText({"Tprog", "act_zeilen_sort_abed"}, "=");
    EXPECT_EQ(ApplyLineTools(s, lines({"k=2", "x", "j=1"}), u"\r\n"), lines({"j=1", "k=2", "x"}));
    s.SetChecked({"Tprog", "act_zeilen_sort_abcb"}, false); // the position/text is then ignored
    EXPECT_EQ(ApplyLineTools(s, lines({"k=2", "x", "j=1"}), u"\r\n"), lines({"j=1", "k=2", "x"}));
    EXPECT_EQ(ApplyLineTools(s, lines({"zz=1", "aa=2"}), u"\r\n"), lines({"aa=2", "zz=1"}));
}

TEST(TextLines, SplitAndJoinGiveEveryTextBack) {
    // Every text of up to six units from "a", CR and LF, at each kind of line break.
    const char16_t units[] = {u'a', u'\r', u'\n'};
    for (const char16_t* lineBreak : {u"\r\n", u"\n", u"\r"}) {
        for (int length = 0; length <= 6; ++length) {
            int combinations = 1;
            for (int i = 0; i < length; ++i)
                combinations *= 3;
            for (int n = 0; n < combinations; ++n) {
                WideString text;
                for (int i = 0, rest = n; i < length; ++i, rest /= 3)
                    text += units[rest % 3];
                TextLines t = SplitTextLines(text, lineBreak);
                EXPECT_EQ(t.lines.empty(), text.empty());
                EXPECT_EQ(JoinTextLines(t.lines, lineBreak, t.finalBreak), text);
            }
        }
    }
}

TEST(LineTools, AFinalLineBreakEndsTheLastLine) {
    struct Case {
        std::vector<CheckKey> ticked;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{{"Tprog", "act_zeilen_sort"}}, "b\r\na\r\n", "a\r\nb\r\n"},
        {{{"Tprog", "act_zeilen_sort"}},
         "b\r\n\r\na\r\n",
         "\r\na\r\nb\r\n"}, // an inner empty line sorts
        {{{"Tprog", "act_zeilen_sort"}}, "b\r\na", "a\r\nb"},
        {{{"Tprog", "act_zeilen_nummern"}}, "a\r\nb\r\n", "1 a\r\n2 b\r\n"},
        {{{"Tprog", "act_zeilen_nummern"}}, "\r\n", "1 \r\n"},
        {{{"Tprog", "act_zeilen_nummern"}}, "", ""}, // no line: nothing to number
        {{{"Tprog", "act_zeilen_umbruchweg"}}, "aaaa\r\nbb\r\n", "aaaa bb\r\n"},
        {{{"Tprog", "act_zeilen_sort"}, {"Tprog", "act_zeilen_nummern"}}, "b\na\n", "1 a\n2 b\n"},
    };
    for (const Case& c : cases) {
        MemorySettings s = withTools({});
        s.SetChecked({"Tprog", "act_zeilen_nummern5"}, false);
        s.SetChecked({"Tprog", "act_zeilen_umbruchweg_intelligent"}, false);
        for (CheckKey t : c.ticked)
            s.SetChecked(t, true);
        const WideString lineBreak = U16(c.in).find(u'\r') != WideString::npos ? u"\r\n" : u"\n";
        EXPECT_EQ(U8(ApplyLineTools(s, U16(c.in), lineBreak)), c.out)
            << c.ticked[0] << ": " << c.in;
    }
}

TEST(LineTools, SortingKeepsLinesThatHoldUnitSeparatorWhole) {
    // U+001F is a character of the text like any other: no line is cut or turned at it.
    const WideString us(1, u'\x1F');
    struct Case {
        const char* from; // act_zeilen_sort_abed
        TWideStrArray in, out;
    };
    const Case cases[] = {
        {"", {u"b" + us + u"z", u"a"}, {u"a", u"b" + us + u"z"}},
        {"2", {u"zb" + us + u"q", u"yaa"}, {u"yaa", u"zb" + us + u"q"}},
        {"=", {u"k=b" + us + u"1", u"x=a" + us + u"2"}, {u"x=a" + us + u"2", u"k=b" + us + u"1"}},
        {"=", {u"same", u"b=1", u"same", u"a=2"}, {u"b=1", u"a=2", u"same", u"same"}},
    };
    for (const Case& c : cases) {
        MemorySettings s = withTools({{"Tprog", "act_zeilen_sort"}});
        s.SetText({"Tprog", "act_zeilen_sort_abed"}, c.from);
        EXPECT_EQ(ApplyLineTools(s, ImplodeW(c.in, u"\n"), u"\n"), ImplodeW(c.out, u"\n"))
            << c.from;
    }
}

TEST(LineTools, WrappingUsesTheTextsOwnLineBreak) {
    MemorySettings s = withTools({{"Tprog", "act_zeilen_laenge"}});
    s.SetText({"Tprog", "act_zeilen_laengemax"}, "5");
    WideString out = ApplyLineTools(s, u"aaaa bbbb cc\nx", u"\n");
    EXPECT_EQ(out, u"aaaa\nbbbb\ncc\nx");
    EXPECT_EQ(out.find(u'\r'), WideString::npos);
    s.SetText({"Tprog", "act_zeilen_laengemax"}, "4"); // hard cuts where no break character fits
    out = ApplyLineTools(s, u"aaaa bbbb\nx", u"\n");
    EXPECT_EQ(out, u"aaaa\nbbb\nb\nx");
    EXPECT_EQ(out.find(u'\r'), WideString::npos);
    s.SetText({"Tprog", "act_zeilen_laengemax"}, "5");
    EXPECT_EQ(ApplyLineTools(s, u"aaaa bbbb\r\nx", u"\r\n"), u"aaaa\r\nbbbb\r\nx");
    s.SetText({"Tprog", "act_zeilen_laengemax"}, "0"); // no usable width: the default 50
    WideString longLine(120, u'a');
    out = ApplyLineTools(s, longLine, u"\r\n");
    EXPECT_EQ(out, longLine.substr(0, 50) + u"\r\n" + longLine.substr(50, 50) + u"\r\n" +
                       longLine.substr(100));
    // Numbering after wrapping counts the wrapped parts as lines.
    s.SetText({"Tprog", "act_zeilen_laengemax"}, "5");
    s.SetChecked({"Tprog", "act_zeilen_nummern"}, true);
    s.SetChecked({"Tprog", "act_zeilen_nummern5"}, false);
    EXPECT_EQ(ApplyLineTools(s, u"aaaa bbbb", u"\n"), u"1 aaaa\n2 bbbb");
}

TEST(LineTools, TrimmingEachLine) {
    MemorySettings s = withTools({{"Tprog", "act_zeilen_trimleft"}});
    EXPECT_EQ(ApplyLineTools(s, u" \ta \r\n  b ", u"\r\n"), u"a \r\nb ");
    s.SetChecked({"Tprog", "act_zeilen_trimright"}, true);
    EXPECT_EQ(ApplyLineTools(s, u" \ta \r\n  b ", u"\r\n"), u"a\r\nb");
}

// A simple greedy wrapper as the oracle for re-flowing.
TWideStrArray greedyWrap(const std::vector<WideString>& words, size_t width) {
    TWideStrArray out{WideString()};
    for (const WideString& w : words) {
        if (!out.back().empty() && out.back().size() + 1 + w.size() > width) out.emplace_back();
        if (!out.back().empty()) out.back() += u' ';
        out.back() += w;
    }
    return out;
}

TEST(LineTools, ReflowJoinsWrappedParagraphsAndKeepsEmptyLines) {
    std::vector<WideString> words;
    const char16_t* pool[] = {u"alpha", u"be",     u"gamma", u"delta", u"epsilonic",
                              u"z",     u"etaeta", u"theta", u"iota",  u"kappa"};
    for (int i = 0; i < 60; ++i)
        words.push_back(pool[(i * 7) % 10]);
    std::vector<WideString> words2(words.begin() + 10, words.end());
    TWideStrArray text = greedyWrap(words, 60);
    ASSERT_GT(text.size(), 4u);
    text.push_back(u"");
    for (const WideString& l : greedyWrap(words2, 60))
        text.push_back(l);
    WideString para1 = ImplodeW(TWideStrArray(words.begin(), words.end()), u" ");
    WideString para2 = ImplodeW(TWideStrArray(words2.begin(), words2.end()), u" ");

    MemorySettings s = withTools({{"Tprog", "act_zeilen_umbruchweg"}});
    EXPECT_EQ(ApplyLineTools(s, ImplodeW(text, u"\r\n"), u"\r\n"), para1 + u"\r\n\r\n" + para2);
    s.SetChecked({"Tprog", "act_zeilen_umbruchweg_leerzeichen"}, false);
    EXPECT_EQ(ApplyLineTools(s, u"aaaa\r\nbb", u"\r\n"), u"aaaabb");
}

TEST(LineTools, ReflowKeepsABreakAfterASentenceWhoseNextWordWouldHaveFitted) {
    TWideStrArray in = {u"aaaaaaaaaaa", u"bbbbbbb.", u"c dd", u"e"};
    // longest 11, range 3: limit 8. "bbbbbbb." ends a sentence and "c" would have fitted
    // into the three free places, so the break stays; "c dd" is shorter than the limit.
    EXPECT_EQ(ReflowLines(in, 3, true, true, u"\n"),
              (TWideStrArray{u"aaaaaaaaaaa bbbbbbb.", u"c dd", u"e"}));
    EXPECT_EQ(ReflowLines(in, 3, false, true, u"\n"),
              (TWideStrArray{u"aaaaaaaaaaa bbbbbbb. c dd", u"e"}));
    // With one free place less the word would not have fitted: joined.
    in[1] = u"bbbbbbbb.";
    EXPECT_EQ(ReflowLines(in, 3, true, true, u"\n"),
              (TWideStrArray{u"aaaaaaaaaaa bbbbbbbb. c dd", u"e"}));
}

} // namespace
