// The widths of a memo's lines as shown unwrapped, and the widest of them: the range of
// sideways scrolling. An edit costs what it inserts and removes, not the length of its
// line, unless the line holds tabs (whose widths depend on where they stand).
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
    // A long line with tabs: where its tabs are (from the line's start) and the advances
    // of the stretches between them, so that typing in it costs the tabs, not the text.
    struct Tabbed {
        std::vector<int> At;
        std::vector<double> Stretch; // one more than At
        float Width(const MemoWidths& Widths) const;
    };
    struct Line {
        Sum Chars;
        float Width = 0;
        std::shared_ptr<Tabbed> Tabs;
    };
    static Sum Measure(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);
    static Line Make(const MemoText& Doc, const MemoWidths& Widths, int Line, Sum Chars);
    // The line edited inside one stretch between tabs, the tabs kept; false where it is not.
    bool EditInStretch(const MemoText& Doc, const MemoWidths& Widths, int L, int Start, int End);
    // The characters of the lines the range touches that lie inside it.
    static Sum Inside(const MemoText& Doc, const MemoWidths& Widths, int Start, int End);

    std::vector<Line> FLines;
    float FWidest = 0;
    int FLinesBefore = 0; // the line count and length before the edit
    int FLengthBefore = 0;
    Sum FRemoved;
};
