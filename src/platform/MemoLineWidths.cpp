#include "platform/MemoLineWidths.h"

#include <algorithm>

void MemoLineWidths::Clear() {
    FLines.clear();
    FWidest = 0;
}

MemoLineWidths::Sum MemoLineWidths::Measure(const MemoText& Doc, const MemoWidths& Widths,
                                            int Start, int End) {
    const char16_t* t = Doc.Text().data();
    Sum s;
    for (int i = Start; i < End; ++i) {
        if (t[i] == u'\t')
            ++s.Tabs;
        else
            s.Advance += Widths.Advance(t[i]);
    }
    return s;
}

// A line without tabs is as wide as its characters' advances; with tabs it is measured.
MemoLineWidths::Line MemoLineWidths::Make(const MemoText& Doc, const MemoWidths& Widths, int L,
                                          Sum Chars) {
    const int s = Doc.LineStart(L);
    const float width = Chars.Tabs == 0
                            ? float(Chars.Advance)
                            : Widths.Estimate(Doc.Text().data() + s, Doc.LineEnd(L) - s);
    return {Chars, width};
}

MemoLineWidths::Sum MemoLineWidths::Inside(const MemoText& Doc, const MemoWidths& Widths, int Start,
                                           int End) {
    Sum s;
    for (int l = Doc.LineOf(Start); l < Doc.LineCount() && Doc.LineStart(l) <= End; ++l) {
        const int a = std::max(Start, Doc.LineStart(l)), b = std::min(End, Doc.LineEnd(l));
        if (a < b) s += Measure(Doc, Widths, a, b);
    }
    return s;
}

void MemoLineWidths::Fill(const MemoText& Doc, const MemoWidths& Widths) {
    FLines.clear();
    FLines.reserve(size_t(Doc.LineCount()));
    FWidest = 0;
    for (int l = 0; l < Doc.LineCount(); ++l) {
        FLines.push_back(
            Make(Doc, Widths, l, Measure(Doc, Widths, Doc.LineStart(l), Doc.LineEnd(l))));
        FWidest = std::max(FWidest, FLines.back().Width);
    }
}

void MemoLineWidths::Before(const MemoText& Doc, const MemoWidths& Widths, int Start, int End) {
    Start = std::clamp(Start, 0, Doc.Length());
    End = std::clamp(End, Start, Doc.Length());
    FLinesBefore = Doc.LineCount();
    FRemoved = Inside(Doc, Widths, Start, End);
}

// The lines the edit touched, from the one holding its start to the one holding its end,
// are made anew: the lines between of the inserted text alone, the first and the last of
// the text before and after the edit, known from the old lines without measuring them
// again (the shorter of the two is measured).
void MemoLineWidths::After(const MemoText& Doc, const MemoWidths& Widths, int Start, int End) {
    if (FLines.empty()) return;
    const int first = Doc.LineOf(Start), last = Doc.LineOf(End);
    const int delta = Doc.LineCount() - FLinesBefore;
    const int oldLast = last - delta;
    Sum kept; // the old lines' characters that are left
    bool widestGone = false;
    for (int l = first; l <= oldLast; ++l) {
        kept += FLines[size_t(l)].Chars;
        widestGone = widestGone || FLines[size_t(l)].Width >= FWidest;
    }
    kept = kept - FRemoved;
    std::vector<Line> made;
    if (first == last) {
        kept += Measure(Doc, Widths, Start, End);
        made.push_back(Make(Doc, Widths, first, kept));
    } else {
        const int head = Start - Doc.LineStart(first), tail = Doc.LineEnd(last) - End;
        const Sum before = head <= tail ? Measure(Doc, Widths, Doc.LineStart(first), Start)
                                        : kept - Measure(Doc, Widths, End, Doc.LineEnd(last));
        const Sum after = kept - before;
        for (int l = first; l <= last; ++l) {
            Sum chars = Measure(Doc, Widths, std::max(Start, Doc.LineStart(l)),
                                std::min(End, Doc.LineEnd(l)));
            if (l == first) chars += before;
            if (l == last) chars += after;
            made.push_back(Make(Doc, Widths, l, chars));
        }
    }
    FLines.erase(FLines.begin() + first, FLines.begin() + oldLast + 1);
    FLines.insert(FLines.begin() + first, made.begin(), made.end());
    if (widestGone) {
        FWidest = 0;
        for (const Line& l : FLines)
            FWidest = std::max(FWidest, l.Width);
    } else {
        for (const Line& l : made)
            FWidest = std::max(FWidest, l.Width);
    }
}
