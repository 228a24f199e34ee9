#include "engine/TextLines.h"

#include "text/WideStrUtils.h"

TextLines SplitTextLines(WideStringView text, WideStringView lineBreak) {
    TextLines t;
    if (text.empty()) return t;
    t.finalBreak = !lineBreak.empty() && text.ends_with(lineBreak);
    if (t.finalBreak) text.remove_suffix(lineBreak.size());
    ExplodeW(t.lines, lineBreak, text);
    return t;
}

WideString JoinTextLines(const TWideStrArray& lines, WideStringView lineBreak, bool finalBreak) {
    WideString text = ImplodeW(lines, lineBreak);
    if (finalBreak && !lines.empty()) text += lineBreak;
    return text;
}
