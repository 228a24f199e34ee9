#include <gtest/gtest.h>

#include "engine/HtmlActions.h"

namespace {

WideString run(std::initializer_list<CheckKey> ticked, const char* text,
               const char16_t* lineBreak = u"\r\n") {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_html"}, true);
    for (CheckKey t : ticked)
        s.SetChecked(t, true);
    return ApplyHtmlActions(s, U16(text), lineBreak);
}

TEST(HtmlActions, EachActionOnItsOwn) {
    struct Case {
        CheckKey action;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {{"Tprog", "act_html_ersetzen_eig"}, "a<b & c", "a&lt;b &amp; c"},
        {{"Tprog", "act_html_ersetzen_eig"}, "\"<>\"", "&quot;&lt;&gt;&quot;"},
        {{"Tprog", "act_html_ersetzen"}, "é ü\u00a0<&>", "&eacute; &uuml;&nbsp;<&>"},
        {{"Tprog", "act_html_ersetzen_reverse"}, "a&nbsp;b&eacute;&amp;", "a bé&amp;"},
        {{"Tprog", "act_html_ersetzen_reverse_eig"}, "&lt;p&gt; &amp;lt; &quot;", "<p> &lt; \""},
        {{"Tprog", "act_html_linkmails"},
         "mail x.y@ex.com now",
         "mail <a href=\"mailto:x.y@ex.com\">x.y@ex.com</a> now"},
        {{"Tprog", "act_html_reduzieren"}, "<a>\r\n\t<b>   c  d", "<a><b> c d"},
        {{"Tprog", "act_html_tagsentfernen"}, "<p>One</p>\r\n<p>Two</p>", "One\r\n\r\nTwo"},
        {{"Tprog", "act_html_tagsentfernen"}, "<p>One</p>\r\n\r\n<p>Two</p>", "One\r\n\r\nTwo"},
        {{"Tprog", "act_html_tagsentfernen"},
         "<html><title>T</title><P>a<br/>b<BR>c<h2>d</h2></P>",
         "T\r\na\r\nb\r\nc\r\nd"},
        {{"Tprog", "act_html_tagsentfernen"}, "<ul><li>one</li><li> two</li></ul>", "one\r\ntwo"},
        {{"Tprog", "act_html_linkwebpages"},
         "see www.example.com now",
         "see <a href=\"http://www.example.com\">www.example.com</a> now"},
        {{"Tprog", "act_html_linkwebpages"},
         "at http://www.ex.com/x.html today",
         "at <a href=\"http://www.ex.com/x.html\">http://www.ex.com/x.html</a> today"},
        {{"Tprog", "act_html_linkwebpages"},
         "visit example.org soon",
         "visit <a href=\"http://www.example.org\">example.org</a> soon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(U8(run({c.action}, c.in)), c.out) << c.action << ": " << c.in;
}

TEST(HtmlActions, EscapingTwiceInOneRunEscapesOnce) {
    // The named entities are not escaped again: a browser shows "é<" for the result.
    EXPECT_EQ(
        U8(run({{"Tprog", "act_html_ersetzen"}, {"Tprog", "act_html_ersetzen_eig"}}, "é<&amp;")),
        "&eacute;&lt;&amp;amp;");
    // And decoding both in one run gives the text back.
    EXPECT_EQ(
        U8(run({{"Tprog", "act_html_ersetzen_reverse"}, {"Tprog", "act_html_ersetzen_reverse_eig"}},
               "&eacute;&lt;&amp;amp;")),
        "é<&amp;");
    // Encoding and decoding in one run give the text back.
    EXPECT_EQ(
        U8(run({{"Tprog", "act_html_ersetzen_eig"}, {"Tprog", "act_html_ersetzen_reverse_eig"}},
               "a<b>&\"c\"")),
        "a<b>&\"c\"");
}

TEST(HtmlActions, TagRemovalUsesTheTextsLineBreak) {
    EXPECT_EQ(U8(run({{"Tprog", "act_html_tagsentfernen"}}, "<p>One</p>\n<p>Two</p>", u"\n")),
              "One\n\nTwo");
    EXPECT_EQ(U8(run({{"Tprog", "act_html_reduzieren"}}, "a\nb\r\nc", u"\n")), "a b\r c");
}

TEST(HtmlActions, NothingTickedLeavesTheText) {
    EXPECT_EQ(U8(run({}, "<p>é & x@y.com</p>")), "<p>é & x@y.com</p>");
}

} // namespace
