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

namespace {

// Lines from this length on keep their tabs' places.
constexpr int kLongLine = 1 << 14;

} // namespace

float MemoLineWidths::Tabbed::Width(const MemoWidths& Widths) const {
    float x = float(Stretch[0]);
    for (size_t k = 1; k < Stretch.size(); ++k)
        x = Widths.NextX(x, u'\t') + float(Stretch[k]);
    return x;
}

// A line without tabs is as wide as its characters' advances; with tabs it is measured.
MemoLineWidths::Line MemoLineWidths::Make(const MemoText& Doc, const MemoWidths& Widths, int L,
                                          Sum Chars) {
    const int s = Doc.LineStart(L), e = Doc.LineEnd(L);
    if (Chars.Tabs == 0) return {Chars, float(Chars.Advance), nullptr};
    if (e - s < kLongLine) return {Chars, Widths.Estimate(Doc.Text().data() + s, e - s), nullptr};
    auto tabs = std::make_shared<Tabbed>();
    const char16_t* t = Doc.Text().data();
    double stretch = 0;
    for (int i = s; i < e; ++i) {
        if (t[i] != u'\t') {
            stretch += Widths.Advance(t[i]);
            continue;
        }
        tabs->At.push_back(i - s);
        tabs->Stretch.push_back(stretch);
        stretch = 0;
    }
    tabs->Stretch.push_back(stretch);
    return {Chars, tabs->Width(Widths), tabs};
}

// Typing into a long line with tabs: the stretch that holds the edit grows or shrinks, the
// tabs behind it move.
bool MemoLineWidths::EditInStretch(const MemoText& Doc, const MemoWidths& Widths, int L, int Start,
                                   int End) {
    Line& line = FLines[size_t(L)];
    const int removedEnd = End - (Doc.Length() - FLengthBefore);
    if (!line.Tabs || FRemoved.Tabs != 0 || removedEnd < Start) return false;
    const Sum inserted = Measure(Doc, Widths, Start, End);
    if (inserted.Tabs != 0) return false;
    Tabbed& tabs = *line.Tabs;
    const int from = Start - Doc.LineStart(L);
    const auto at = std::lower_bound(tabs.At.begin(), tabs.At.end(), from);
    tabs.Stretch[size_t(at - tabs.At.begin())] += inserted.Advance - FRemoved.Advance;
    for (auto it = at; it != tabs.At.end(); ++it)
        *it += Doc.Length() - FLengthBefore;
    line.Chars += inserted;
    line.Chars = line.Chars - FRemoved;
    line.Width = tabs.Width(Widths);
    return true;
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
    FLengthBefore = Doc.Length();
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
    if (first == last && oldLast == first && EditInStretch(Doc, Widths, first, Start, End)) {
        FWidest = widestGone ? 0 : std::max(FWidest, FLines[size_t(first)].Width);
        if (widestGone)
            for (const Line& l : FLines)
                FWidest = std::max(FWidest, l.Width);
        return;
    }
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
