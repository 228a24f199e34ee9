#include "platform/MemoLineWidths.h"

#include <algorithm>
#include <cmath>

#include "text/TextFiles.h"

namespace {

// Lines from this length on keep their blocks; a block holds about kBlock units.
constexpr int kLongLine = 1 << 14;
constexpr int kBlock = 1 << 12;

// Where a tab at X sends the text on: the next stop.
double Stop(double X, double Tab) {
    return (std::floor(X / Tab) + 1) * Tab;
}

} // namespace

void MemoLineWidths::Clear() {
    FLines.clear();
    FWidest = 0;
}

double MemoLineWidths::Advance(const MemoText& Doc, const MemoWidths& Widths, int Start, int End) {
    const char16_t* t = Doc.Text().data();
    double x = 0;
    for (int i = Start; i < End; ++i)
        x += Widths.Advance(t[i]);
    return x;
}

MemoLineWidths::Run MemoLineWidths::Measure(const MemoText& Doc, const MemoWidths& Widths,
                                            int Start, int End) {
    const char16_t* t = Doc.Text().data();
    const double tab = Widths.TabWidth();
    Run r;
    for (int i = Start, from = Start;; ++i) {
        if (i < End && t[i] != u'\t') continue;
        const double a = Advance(Doc, Widths, from, i);
        if (i == End) {
            (r.Tabs == 0 ? r.Head : r.Tail) = a;
            return r;
        }
        if (r.Tabs == 0)
            r.Head = a;
        else
            r.Between += Stop(a, tab);
        ++r.Tabs;
        from = i + 1;
    }
}

// The text after a tab starts at a stop, a whole number of tab widths from the line's
// start: the stops that follow lie as far behind it as they would behind the line's start.
MemoLineWidths::Run MemoLineWidths::Join(const Run& A, const Run& B, double Tab) {
    if (A.Tabs == 0) {
        Run r = B;
        r.Head += A.Head;
        return r;
    }
    Run r = A;
    if (B.Tabs == 0) {
        r.Tail += B.Head;
        return r;
    }
    r.Tabs += B.Tabs;
    r.Between += Stop(A.Tail + B.Head, Tab) + B.Between;
    r.Tail = B.Tail;
    return r;
}

float MemoLineWidths::WidthOf(const Run& Chars, double Tab) {
    const Run& r = Chars;
    return float(r.Tabs == 0 ? r.Head : Stop(r.Head, Tab) + r.Between + r.Tail);
}

void MemoLineWidths::Cut(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                         std::vector<Block>& Out) {
    const char16_t* t = Doc.Text().data();
    for (int a = Start; a < End;) {
        int b = std::min(a + kBlock, End);
        if (b < End && b - 1 > a && IsLowSurrogate(t[b]) && IsHighSurrogate(t[b - 1])) --b;
        Out.push_back({b - a, Measure(Doc, Widths, a, b)});
        a = b;
    }
}

MemoLineWidths::Line MemoLineWidths::Make(std::vector<Block> Blocks, double Tab) {
    Line line;
    int length = 0;
    for (const Block& b : Blocks) {
        line.Chars = Join(line.Chars, b.Chars, Tab);
        length += b.Length;
    }
    line.Width = WidthOf(line.Chars, Tab);
    if (length >= kLongLine) line.Blocks = std::make_shared<std::vector<Block>>(std::move(Blocks));
    return line;
}

void MemoLineWidths::Fill(const MemoText& Doc, const MemoWidths& Widths) {
    FLines.clear();
    FLines.reserve(size_t(Doc.LineCount()));
    FWidest = 0;
    const double tab = Widths.TabWidth();
    for (int l = 0; l < Doc.LineCount(); ++l) {
        const int s = Doc.LineStart(l), e = Doc.LineEnd(l);
        if (e - s >= kLongLine) {
            std::vector<Block> blocks;
            Cut(Doc, Widths, s, e, blocks);
            FLines.push_back(Make(std::move(blocks), tab));
        } else {
            const Run chars = Measure(Doc, Widths, s, e);
            FLines.push_back({chars, WidthOf(chars, tab), nullptr});
        }
        FWidest = std::max(FWidest, FLines.back().Width);
    }
}

// The blocks are kept whole up to Reach units from the line's start (or end); the last of
// them goes too where it would leave less than half a block to measure again, so that
// edits in one place make no crumbs of blocks.
int MemoLineWidths::Kept(const Line& Old, int Reach, bool Head, std::vector<Block>& Out) {
    if (!Old.Blocks) return 0;
    const std::vector<Block>& blocks = *Old.Blocks;
    const size_t n = blocks.size();
    int kept = 0;
    size_t k = 0;
    for (; k < n; ++k) {
        const Block& b = blocks[Head ? k : n - 1 - k];
        if (kept + b.Length > Reach) break;
        kept += b.Length;
    }
    if (k > 0 && Reach - kept < kBlock / 2) kept -= blocks[Head ? --k : n - 1 - --k].Length;
    if (Head)
        Out.assign(blocks.begin(), blocks.begin() + std::ptrdiff_t(k));
    else
        Out.assign(blocks.end() - std::ptrdiff_t(k), blocks.end());
    return kept;
}

void MemoLineWidths::Before(const MemoText& Doc) {
    FLinesBefore = Doc.LineCount();
}

// The lines the edit touched, from the one holding its start to the one holding its end,
// are made anew: of the blocks of the old first line before the edit and of the old last
// line behind it, and of the text between measured again.
void MemoLineWidths::After(const MemoText& Doc, const MemoWidths& Widths, int Start, int End) {
    if (FLines.empty()) return;
    const int first = Doc.LineOf(Start), last = Doc.LineOf(End);
    const int oldLast = last - (Doc.LineCount() - FLinesBefore);
    const int lineStart = Doc.LineStart(first), lineEnd = Doc.LineEnd(last);
    std::vector<Block> head, tail;
    const int headKept = Kept(FLines[size_t(first)], Start - lineStart, true, head);
    const int tailKept = Kept(FLines[size_t(oldLast)], lineEnd - End, false, tail);
    bool widestGone = false;
    for (int l = first; l <= oldLast; ++l)
        widestGone = widestGone || FLines[size_t(l)].Width >= FWidest;
    std::vector<Line> made;
    for (int l = first; l <= last; ++l) {
        std::vector<Block> blocks;
        if (l == first) blocks = std::move(head);
        const int from = l == first ? lineStart + headKept : Doc.LineStart(l);
        const int to = l == last ? lineEnd - tailKept : Doc.LineEnd(l);
        Cut(Doc, Widths, from, to, blocks);
        if (l == last) blocks.insert(blocks.end(), tail.begin(), tail.end());
        made.push_back(Make(std::move(blocks), Widths.TabWidth()));
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
