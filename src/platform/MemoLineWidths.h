// The widths of a memo's lines as shown unwrapped, and the widest of them: the range of
// sideways scrolling. An edit costs what it inserts and removes, not the length of its
// line, unless the line holds tabs (whose widths depend on where they stand).
#pragma once

#include <vector>

#include "platform/MemoText.h"
#include "platform/MemoWidths.h"

class MemoLineWidths {
public:
    void Clear();
    void Fill(const MemoText& Doc, const MemoWidths& Widths);
    bool Empty() const { return FLines.empty(); }
    float Widest() const { return FWidest; }

    // Around an edit that replaces the text from Start to End: Before while the old text
    // stands, After with the new text in place from Start to End.
    void Before(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);
    void After(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);

private:
    // The advances of a stretch without its tabs, and its tabs.
    struct Sum {
        double Advance = 0;
        int Tabs = 0;
        Sum& operator+=(const Sum& O) {
            Advance += O.Advance;
            Tabs += O.Tabs;
            return *this;
        }
        Sum operator-(const Sum& O) const { return {Advance - O.Advance, Tabs - O.Tabs}; }
    };
    struct Line {
        Sum Chars;
        float Width = 0;
    };
    static Sum Measure(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);
    static Line Make(const MemoText& Doc, const MemoWidths& Widths, int Line, Sum Chars);
    // The characters of the lines the range touches that lie inside it.
    static Sum Inside(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);

    std::vector<Line> FLines;
    float FWidest = 0;
    int FLinesBefore = 0; // the line count before the edit
    Sum FRemoved;
};
