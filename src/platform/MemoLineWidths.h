// The widths of a memo's lines as shown unwrapped, and the widest of them: the range of
// sideways scrolling. A long line is kept in blocks of a few thousand units, each with what
// its text adds to the line's width (tabs included, whose widths depend on where they
// stand), so that an edit costs the blocks it touches and the text it inserts, not the
// length of its line: typing, a tab, a line parted by Enter or two joined by Backspace.
#pragma once

#include <memory>
#include <vector>

#include "platform/MemoText.h"
#include "platform/MemoWidths.h"

class MemoLineWidths {
public:
    void Clear();
    void Fill(const MemoText& Doc, const MemoWidths& Widths);
    bool Empty() const { return FLines.empty(); }
    float Widest() const { return FWidest; }
    int LineCount() const { return int(FLines.size()); }
    float Width(int Line) const { return FLines[size_t(Line)].Width; }

    // Around an edit that replaces the text from Start to End: Before while the old text
    // stands, After with the new text in place from Start to End.
    void Before(const MemoText& Doc);
    void After(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);

private:
    // What a stretch of a line adds to its width: the advances before its first tab (all
    // of them without a tab), its tabs, the width from its first tab's stop to its last
    // tab's stop, and the advances after its last tab. Two stretches side by side make one
    // (Join), in any grouping alike: advances are sums of the font's fractions of a pixel,
    // which doubles hold exactly.
    struct Run {
        double Head = 0;
        int Tabs = 0;
        double Between = 0;
        double Tail = 0;
    };
    struct Block {
        int Length = 0;
        Run Chars;
    };
    struct Line {
        Run Chars;
        float Width = 0;
        std::shared_ptr<std::vector<Block>> Blocks; // a long line's, else none
    };

    // How wide the text from Start to End is, without tabs: the one place that measures.
    static double Advance(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);
    static Run Measure(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);
    static Run Join(const Run& A, const Run& B, double Tab);
    static float WidthOf(const Run& Chars, double Tab);
    // The text from Start to End cut into blocks, put behind Out.
    static void Cut(const MemoText& Doc, const MemoWidths& Widths, int Start, int End,
                    std::vector<Block>& Out);
    // A line of these blocks.
    static Line Make(std::vector<Block> Blocks, double Tab);
    // The edited line's blocks before Start (Head) or behind End (!Head) that the edit left
    // whole, and how far they reach into the line from its start or end.
    static int Kept(const Line& Old, int Reach, bool Head, std::vector<Block>& Out);

    std::vector<Line> FLines;
    float FWidest = 0;
    int FLinesBefore = 0; // the line count before the edit
};
