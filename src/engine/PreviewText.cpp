#include "engine/PreviewText.h"

#include <algorithm>

#include "text/TextEncodings.h"

// One pass that writes the result once: large files are shown this way.
WideString ReadableText(WideStringView Text, bool CorrectLineBreaks) {
    const LineBreakCode kind = CorrectLineBreaks ? DetectLineBreak(Text) : lbUnknown;
    const WideString from =
        kind == lbUnknown || kind == lbCRLF ? WideString() : LineBreakString(kind);
    // Every kind widened here is one unit long.
    const bool widen = from.size() == 1;
    const size_t breaks = widen ? size_t(std::count(Text.begin(), Text.end(), from[0])) : 0;
    WideString out(Text.size() + breaks, u' ');
    WideChar* o = out.data();
    for (const WideChar c : Text) {
        if (widen && c == from[0]) {
            *o++ = u'\r';
            *o++ = u'\n';
        } else {
            *o++ = c == 0 ? u' ' : c;
        }
    }
    return out;
}
