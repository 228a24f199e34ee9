// The widths of a memo's lines as shown unwrapped, and the widest of them: the range of
// sideways scrolling. A long line is kept in blocks of up to 2,048 units, each with what
// its text adds to the line's width (tabs included, whose widths depend on where they
// stand), so that an edit costs the blocks it touches and the text it inserts, not the
// length of its line: typing, a tab, a line parted by Enter or two joined by Backspace.
// Each block of a long line is drawn as one piece, at the width the blocks before it add up
// to. A stretch (a short line or a block) of text the font shapes starts with the estimate
// of its characters' advances and is measured as drawn when it comes into view, or a slice
// at a time between keys (Refine), so that the range ends where the widest line is drawn.
#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

#include "platform/MemoText.h"
#include "platform/MemoWidths.h"

class MemoLineWidths {
public:
    void Clear();
    void Fill(const MemoText& Doc, const MemoWidths& Widths);
    bool Empty() const { return FLines.empty(); }
    float Widest() const;
    int LineCount() const { return int(FLines.size()); }
    float Width(int Line) const { return FLines[size_t(Line)].Width; }

    // Around an edit that replaces the text from Start to End: Before while the old text
    // stands, After with the new text in place from Start to End.
    void Before(const MemoText& Doc);
    void After(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);

    // The pieces a line is drawn in (its blocks; one for a short line), where piece K
    // begins (units from the line's start; the line's length for K past the last) and the x
    // it is drawn at, and the last piece that begins at or left of X.
    int Pieces(int Line) const;
    int PieceStart(int Line, int K) const;
    double Origin(int Line, int K) const;
    int PieceOfX(int Line, double X) const;
    int PieceOf(int Line, int Offset) const; // the piece that holds the unit at Offset
    // Measures piece K of a line as drawn if it is estimated; true when a width changed.
    bool Refine(const MemoText& Doc, const MemoWidths& Widths, int Line, int K);
    // Measures estimated stretches as drawn for about Ms milliseconds; true when a width
    // changed. Estimated() tells whether any is left.
    bool Refine(const MemoText& Doc, const MemoWidths& Widths, qint64 Ms);
    bool Estimated() const { return FEstimated > 0; }

private:
    // What a stretch of a line adds to its width: the advances before its first tab (all
    // of them without a tab), its tabs, the width from its first tab's stop to its last
    // tab's stop, and the advances after its last tab. Two stretches side by side make one
    // (Join), in any grouping alike: advances are sums of the font's fractions of a pixel,
    // which doubles hold exactly. A stretch measured as drawn also keeps how far the ink of
    // its last characters reaches past its advance (a sign may overhang it), so that a line
    // is as wide as it is drawn.
    struct Run {
        double Head = 0;
        int Tabs = 0;
        double Between = 0;
        double Tail = 0;
        double Overhang = 0;
    };
    struct Block {
        int Length = 0;
        Run Chars;
        bool Estimated = false; // holds text the font shapes, not yet measured as drawn
    };
    struct Line {
        Run Chars;
        float Width = 0;
        int Length = 0;
        int Estimated = 0;                          // its estimated stretches
        std::shared_ptr<std::vector<Block>> Blocks; // a long line's, else none
    };

    // How a stretch is measured: the sum of its characters' advances, which is exact unless
    // it holds text the font shapes; or laid out as drawn, the layouts kept for drawing
    // where the stretch is in view.
    enum class Way { Estimated, Drawn, InView };
    // How wide the text from Start to End is, without tabs: the one place that measures.
    // Shaped is set where an estimate holds text the font shapes.
    static double Advance(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                          Way How, bool* Shaped = nullptr, double* Overhang = nullptr);
    static Run Measure(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                       Way How = Way::Estimated, bool* Shaped = nullptr);
    bool Refine(const MemoText& Doc, const MemoWidths& Widths, int Line, int K, Way How);
    void Joined(Line& L, double Tab); // the line's width from its blocks
    void Counted(const Line& L, int Sign);
    static Run Join(const Run& A, const Run& B, double Tab);
    static float WidthOf(const Run& Chars, double Tab); // where the text behind begins
    static float Extent(const Run& Chars, double Tab);  // where its ink ends
    // The text from Start to End cut into blocks, put behind Out.
    static void Cut(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                    std::vector<Block>& Out);
    // A line of these blocks.
    static Line Make(std::vector<Block> Blocks, double Tab);
    // The edited line's blocks before Start (Head) or behind End (!Head) that the edit left
    // whole, and how far they reach into the line from its start or end.
    static int Kept(const Line& Old, int Reach, bool Head, std::vector<Block>& Out);

    std::vector<Line> FLines;
    mutable float FWidest = 0;
    mutable bool FWidestStale = false; // a line as wide as FWidest became narrower
    int FEstimated = 0;                // estimated stretches in all lines
    int FNextEstimated = 0;            // no line before this has one
    double FTab = 8;
    int FLinesBefore = 0; // the line count before the edit
};
