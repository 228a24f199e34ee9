#include "platform/MemoLineWidths.h"

#include <QChar>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

#include "text/TextFiles.h"

namespace {

// Lines longer than half a block keep their blocks; a block holds up to kBlock units. A
// block ends after a blank near its end where there is one, else not inside a character
// (a surrogate pair, a letter with its marks), so that its text is shaped as in the line.
constexpr int kBlock = 1 << 11;
constexpr int kLongLine = kBlock / 2 + 1;
constexpr int kBlankReach = 256;
constexpr int kMarkReach = 32;

// True where the character at B is drawn together with the one before: a mark, a joiner,
// the second half of a surrogate pair, or a consonant behind a virama.
bool Joins(const char16_t* T, int B) {
    const QChar::Category c = QChar::category(char32_t(T[B]));
    return c == QChar::Mark_NonSpacing || c == QChar::Mark_SpacingCombining ||
           c == QChar::Mark_Enclosing || c == QChar::Other_Format || IsLowSurrogate(T[B]) ||
           QChar::category(char32_t(T[B - 1])) == QChar::Other_Format ||
           QChar::combiningClass(char32_t(T[B - 1])) == 9;
}

// Where a tab at X sends the text on: the next stop.
double Stop(double X, double Tab) {
    return (std::floor(X / Tab) + 1) * Tab;
}

} // namespace

void MemoLineWidths::Clear() {
    FLines.clear();
    FWidest = 0;
    FWidestStale = false;
    FEstimated = 0;
    FNextEstimated = 0;
}

float MemoLineWidths::Widest() const {
    if (FWidestStale) {
        FWidest = 0;
        for (const Line& l : FLines)
            FWidest = std::max(FWidest, l.Width);
        FWidestStale = false;
    }
    return FWidest;
}

double MemoLineWidths::Advance(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                               Way How, bool* Shaped, double* Overhang) {
    const char16_t* t = Doc.Text().data();
    if (Overhang) *Overhang = 0;
    if (How != Way::Estimated)
        return Widths.Advanced(t + Start, End - Start, How == Way::InView, Overhang);
    double x = 0;
    bool shaped = false;
    for (int i = Start; i < End; ++i) {
        // (a character outside the basic plane that stands alone is about as wide as drawn
        // alone; among others it may be drawn a little wider or narrower)
        if (IsHighSurrogate(t[i]) && i + 1 < End && IsLowSurrogate(t[i + 1])) {
            const float pair = Widths.PairAdvance(t[i], t[i + 1]);
            if (pair >= 0) {
                x += pair;
                shaped = true;
                ++i;
                continue;
            }
        }
        x += Widths.Advance(t[i]);
        shaped = shaped || Widths.Shaped(t[i]);
    }
    if (Shaped && shaped) *Shaped = true;
    return x;
}

MemoLineWidths::Run MemoLineWidths::Measure(const MemoText& Doc, const MemoWidths& Widths,
                                            int Start, int End, Way How, bool* Shaped) {
    const char16_t* t = Doc.Text().data();
    const double tab = Widths.TabWidth();
    Run r;
    for (int i = Start, from = Start;; ++i) {
        if (i < End && t[i] != u'\t') continue;
        const double a =
            Advance(Doc, Widths, from, i, How, Shaped, i == End ? &r.Overhang : nullptr);
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
// A's overhang reaches past B where B is narrower than it (and holds no tab, whose stop
// lies behind the ink).
MemoLineWidths::Run MemoLineWidths::Join(const Run& A, const Run& B, double Tab) {
    const double overhang = B.Tabs == 0 ? std::max(B.Overhang, A.Overhang - B.Head) : B.Overhang;
    Run r;
    if (A.Tabs == 0) {
        r = B;
        r.Head += A.Head;
    } else if (B.Tabs == 0) {
        r = A;
        r.Tail += B.Head;
    } else {
        r = A;
        r.Tabs += B.Tabs;
        r.Between += Stop(A.Tail + B.Head, Tab) + B.Between;
        r.Tail = B.Tail;
    }
    r.Overhang = overhang;
    return r;
}

float MemoLineWidths::WidthOf(const Run& Chars, double Tab) {
    const Run& r = Chars;
    return float(r.Tabs == 0 ? r.Head : Stop(r.Head, Tab) + r.Between + r.Tail);
}

float MemoLineWidths::Extent(const Run& Chars, double Tab) {
    return float(WidthOf(Chars, Tab) + Chars.Overhang);
}

void MemoLineWidths::Cut(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                         std::vector<Block>& Out) {
    const char16_t* t = Doc.Text().data();
    for (int a = Start; a < End;) {
        int b = std::min(a + kBlock, End);
        if (b < End) {
            int c = b;
            while (c > b - kBlankReach && c - 1 > a && t[c - 1] != u' ' && t[c - 1] != u'\t')
                --c;
            if (c > b - kBlankReach && c - 1 > a) {
                b = c;
            } else {
                for (int back = 0; back < kMarkReach && b - 1 > a && Joins(t, b); ++back)
                    --b;
            }
        }
        bool shaped = false;
        const Run chars = Measure(Doc, Widths, a, b, Way::Estimated, &shaped);
        Out.push_back({b - a, chars, shaped});
        a = b;
    }
}

MemoLineWidths::Line MemoLineWidths::Make(std::vector<Block> Blocks, double Tab) {
    Line line;
    for (const Block& b : Blocks) {
        line.Chars = Join(line.Chars, b.Chars, Tab);
        line.Length += b.Length;
        line.Estimated += b.Estimated ? 1 : 0;
    }
    line.Width = Extent(line.Chars, Tab);
    if (line.Length >= kLongLine)
        line.Blocks = std::make_shared<std::vector<Block>>(std::move(Blocks));
    else
        line.Estimated = std::min(line.Estimated, 1);
    return line;
}

void MemoLineWidths::Joined(Line& L, double Tab) {
    const float old = L.Width;
    if (L.Blocks) {
        L.Chars = {};
        for (const Block& b : *L.Blocks)
            L.Chars = Join(L.Chars, b.Chars, Tab);
    }
    L.Width = Extent(L.Chars, Tab);
    if (L.Width > FWidest)
        FWidest = L.Width;
    else if (L.Width < old && old >= FWidest)
        FWidestStale = true;
}

void MemoLineWidths::Counted(const Line& L, int Sign) {
    FEstimated += Sign * L.Estimated;
}

int MemoLineWidths::Pieces(int Line) const {
    const auto& l = FLines[size_t(Line)];
    return l.Blocks ? int(l.Blocks->size()) : 1;
}

int MemoLineWidths::PieceStart(int Line, int K) const {
    const auto& l = FLines[size_t(Line)];
    if (K <= 0) return 0;
    if (!l.Blocks || K >= int(l.Blocks->size())) return l.Length;
    int at = 0;
    for (int k = 0; k < K; ++k)
        at += (*l.Blocks)[size_t(k)].Length;
    return at;
}

double MemoLineWidths::Origin(int Line, int K) const {
    const auto& l = FLines[size_t(Line)];
    if (K <= 0) return 0;
    if (!l.Blocks || K >= int(l.Blocks->size())) return l.Width;
    Run r;
    for (int k = 0; k < K; ++k)
        r = Join(r, (*l.Blocks)[size_t(k)].Chars, FTab);
    return WidthOf(r, FTab);
}

int MemoLineWidths::PieceOfX(int Line, double X) const {
    const auto& l = FLines[size_t(Line)];
    if (!l.Blocks) return 0;
    Run r;
    int k = 0;
    for (const int n = int(l.Blocks->size()); k + 1 < n; ++k) {
        r = Join(r, (*l.Blocks)[size_t(k)].Chars, FTab);
        if (WidthOf(r, FTab) > X) break;
    }
    return k;
}

int MemoLineWidths::PieceOf(int Line, int Offset) const {
    const auto& l = FLines[size_t(Line)];
    if (!l.Blocks) return 0;
    int k = 0;
    for (int at = 0, n = int(l.Blocks->size()); k + 1 < n; ++k) {
        at += (*l.Blocks)[size_t(k)].Length;
        if (at > Offset) break;
    }
    return k;
}

bool MemoLineWidths::Refine(const MemoText& Doc, const MemoWidths& Widths, int Line, int K) {
    return Refine(Doc, Widths, Line, K, Way::InView);
}

bool MemoLineWidths::Refine(const MemoText& Doc, const MemoWidths& Widths, int Line, int K,
                            Way How) {
    auto& l = FLines[size_t(Line)];
    if (l.Estimated == 0) return false;
    const int s = Doc.LineStart(Line);
    if (!l.Blocks) {
        l.Chars = Measure(Doc, Widths, s, s + l.Length, How);
    } else {
        Block& b = (*l.Blocks)[size_t(K)];
        if (!b.Estimated) return false;
        const int from = s + PieceStart(Line, K);
        b.Chars = Measure(Doc, Widths, from, from + b.Length, How);
        b.Estimated = false;
    }
    --l.Estimated;
    --FEstimated;
    const float old = l.Width;
    Joined(l, FTab);
    return l.Width != old;
}

bool MemoLineWidths::Refine(const MemoText& Doc, const MemoWidths& Widths, qint64 Ms) {
    QElapsedTimer clock;
    clock.start();
    bool changed = false;
    for (; FEstimated > 0 && FNextEstimated < int(FLines.size()); ++FNextEstimated) {
        auto& l = FLines[size_t(FNextEstimated)];
        if (l.Estimated == 0) continue;
        if (clock.elapsed() >= Ms) break;
        if (!l.Blocks) {
            changed = Refine(Doc, Widths, FNextEstimated, 0, Way::Drawn) || changed;
            continue;
        }
        const float old = l.Width;
        int at = Doc.LineStart(FNextEstimated);
        for (Block& b : *l.Blocks) {
            if (b.Estimated && clock.elapsed() < Ms) {
                b.Chars = Measure(Doc, Widths, at, at + b.Length, Way::Drawn);
                b.Estimated = false;
                --l.Estimated;
                --FEstimated;
            }
            at += b.Length;
        }
        Joined(l, FTab);
        changed = changed || l.Width != old;
        if (l.Estimated > 0) break;
    }
    return changed;
}

void MemoLineWidths::Fill(const MemoText& Doc, const MemoWidths& Widths) {
    Clear();
    FLines.reserve(size_t(Doc.LineCount()));
    const double tab = FTab = Widths.TabWidth();
    for (int l = 0; l < Doc.LineCount(); ++l) {
        const int s = Doc.LineStart(l), e = Doc.LineEnd(l);
        if (e - s >= kLongLine) {
            std::vector<Block> blocks;
            Cut(Doc, Widths, s, e, blocks);
            FLines.push_back(Make(std::move(blocks), tab));
        } else {
            bool shaped = false;
            const Run chars = Measure(Doc, Widths, s, e, Way::Estimated, &shaped);
            FLines.push_back({chars, Extent(chars, tab), e - s, shaped ? 1 : 0, nullptr});
        }
        FWidest = std::max(FWidest, FLines.back().Width);
        Counted(FLines.back(), 1);
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
    for (int l = first; l <= oldLast; ++l) {
        widestGone = widestGone || FLines[size_t(l)].Width >= Widest();
        Counted(FLines[size_t(l)], -1);
    }
    std::vector<Line> made;
    for (int l = first; l <= last; ++l) {
        std::vector<Block> blocks;
        if (l == first) blocks = std::move(head);
        const int from = l == first ? lineStart + headKept : Doc.LineStart(l);
        const int to = l == last ? lineEnd - tailKept : Doc.LineEnd(l);
        Cut(Doc, Widths, from, to, blocks);
        if (l == last) blocks.insert(blocks.end(), tail.begin(), tail.end());
        made.push_back(Make(std::move(blocks), Widths.TabWidth()));
        Counted(made.back(), 1);
    }
    FNextEstimated = std::min(FNextEstimated, first);
    FLines.erase(FLines.begin() + first, FLines.begin() + oldLast + 1);
    FLines.insert(FLines.begin() + first, made.begin(), made.end());
    if (widestGone) {
        FWidestStale = true;
    } else {
        for (const Line& l : made)
            FWidest = std::max(FWidest, l.Width);
    }
}
