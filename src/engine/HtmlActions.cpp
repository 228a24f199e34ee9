#include "engine/HtmlActions.h"

#include <utility>

#include "engine/RegExText.h"
#include "text/WideStrUtils.h"

WideString CompactHtml(WideStringView text, WideStringView lineBreak) {
    WideString r = ReplaceAllW(text, lineBreak, u" ");
    r = ReplaceAllW(r, u"\t", u" ");
    r = ReplaceAllW(r, u"   ", u" ");
    r = ReplaceAllW(r, u"  ", u" ");
    return ReplaceAllW(r, u"> <", u"><");
}

WideString EscapeHtml(WideStringView text) {
    WideString r = ReplaceAllW(text, u"&", u"&amp;");
    r = ReplaceAllW(r, u"<", u"&lt;");
    r = ReplaceAllW(r, u">", u"&gt;");
    return ReplaceAllW(r, u"\"", u"&quot;");
}

WideString LinkMailAddresses(WideStringView text) {
    return RegExTemplated(WideString(text),
                          uR"re((\b[a-zA-Z0-9._+-]+@[a-zA-Z0-9.-]+\.[a-zA-Z]{2,4}\b))re",
                          uR"re(<a href="mailto:$1">$1</a>)re");
}

WideString LinkWebAddresses(WideStringView text) {
    // The address stands between white space or blanks; the query and anchor parts are
    // optional.
    static const WideString tail =
        uR"re(\.[\w\d\-]{2,4}(/[\w\d\.\-]+)?(\?[^\s=&]+=[^\s=&]+(&[^\s=&]+=[^\s=&]+)*)?(#[\w\d\-%+]+)?)(\s| ))re";
    WideString r =
        RegExTemplated(WideString(text), uR"re((?i-g)(\s| )(http://www\.[\w\d\-]+)re" + tail,
                       uR"re($1<a href="$2">$2</a>$7)re");
    r = RegExTemplated(r, uR"re((?i-g)(\s| )(www\.[\w\d\-]+)re" + tail,
                       uR"re($1<a href="http://$2">$2</a>$7)re");
    return RegExTemplated(r, uR"re((?i-g)(\s| )([\w\d\-]+)re" + tail,
                          uR"re($1<a href="http://www.$2">$2</a>$7)re");
}

WideString RemoveHtmlTags(WideStringView text, WideStringView lineBreak) {
    const WideString br(lineBreak);
    WideString r(text);
    for (const char16_t* blockEnd : {u"</p>", u"</li>", u"</div>", u"</title>"})
        r = ReplaceAllW(r, blockEnd, br);
    r = RegExReplaced(std::move(r), u"(?i)<h[1|2|3|4|5]>", br);
    r = RegExReplaced(std::move(r), u"(?i)<br ?/?>", br);
    r = RegExReplaced(std::move(r), u"(?i)</?[^>]+>", u"");
    // Three breaks in a row become one empty line, so paragraphs stay apart.
    r = ReplaceAllW(r, br + br + br, br + br);
    r = ReplaceAllW(r, br + u" ", br);
    return WideTrim(r);
}

WideString UnescapeHtml(WideStringView text) {
    WideString r = ReplaceAllW(text, u"&lt;", u"<");
    r = ReplaceAllW(r, u"&gt;", u">");
    r = ReplaceAllW(r, u"&amp;", u"&");
    return ReplaceAllW(r, u"&quot;", u"\"");
}

WideString ApplyHtmlActions(const SettingsView& s, WideStringView text, WideStringView lineBreak) {
    WideString r(text);
    if (s.Checked({"Tprog", "act_html_reduzieren"})) r = CompactHtml(r, lineBreak);
    // Escaping runs before the named entities are made, so that it escapes the text's own
    // "&" only: "é" with both ticked is "&eacute;", not "&amp;eacute;". The two steps
    // change nothing of each other's otherwise.
    if (s.Checked({"Tprog", "act_html_ersetzen_eig"})) r = EscapeHtml(r);
    if (s.Checked({"Tprog", "act_html_ersetzen"})) r = HtmlEncodeW(r);
    if (s.Checked({"Tprog", "act_html_linkmails"})) r = LinkMailAddresses(r);
    if (s.Checked({"Tprog", "act_html_linkwebpages"})) r = LinkWebAddresses(r);
    if (s.Checked({"Tprog", "act_html_tagsentfernen"})) r = RemoveHtmlTags(r, lineBreak);
    if (s.Checked({"Tprog", "act_html_ersetzen_reverse"})) r = HtmlDecodeW(r);
    if (s.Checked({"Tprog", "act_html_ersetzen_reverse_eig"})) r = UnescapeHtml(r);
    return r;
}
