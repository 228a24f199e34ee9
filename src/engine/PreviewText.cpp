#include "engine/PreviewText.h"

#include <algorithm>

// One pass that writes the result once: large files are shown this way.
WideString ReadableText(WideStringView Text, bool CorrectLineBreaks, LineBreakCode* Widened) {
    const LineBreakCode kind = CorrectLineBreaks ? DetectLineBreak(Text) : lbUnknown;
    const WideString from =
        kind == lbUnknown || kind == lbCRLF ? WideString() : LineBreakString(kind);
    // Every kind widened here is one unit long.
    const bool widen = from.size() == 1;
    if (Widened) *Widened = widen ? kind : lbUnknown;
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

WideString FileBreaksOfReadable(WideStringView Shown, LineBreakCode Widened) {
    const WideString own =
        Widened == lbUnknown || Widened == lbCRLF ? WideString() : LineBreakString(Widened);
    if (own.size() != 1) return WideString(Shown);
    WideString out;
    out.reserve(Shown.size());
    for (size_t i = 0; i < Shown.size(); ++i) {
        if (Shown[i] == u'\r' && i + 1 < Shown.size() && Shown[i + 1] == u'\n') {
            out += own[0];
            ++i;
        } else {
            out += Shown[i];
        }
    }
    return out;
}
