#include "engine/PreviewText.h"

#include "text/TextEncodings.h"
#include "text/WideStrUtils.h"

WideString ReadableText(WideStringView Text, bool CorrectLineBreaks) {
    WideString text(Text);
    for (WideChar& c : text)
        if (c == 0) c = u' ';
    if (!CorrectLineBreaks) return text;
    const LineBreakCode kind = DetectLineBreak(text);
    if (kind == lbUnknown || kind == lbCRLF) return text;
    return ReplaceAllW(text, LineBreakString(kind), u"\r\n");
}
