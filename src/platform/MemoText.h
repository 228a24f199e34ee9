// The text a memo holds: one string in the memo's own form (every line break CR LF)
// and the start of every line. Putting a text in is one pass over it, whatever its size;
// an edit moves the text behind it once and the line starts after it once.
#pragma once

#include <vector>

#include "text/WideTypes.h"

class MemoText {
public:
    MemoText() : FStarts{0} {}

    // Every line break (CR LF, CR, LF, U+2028, U+2029) as CR LF.
    static WideString MemoForm(WideStringView Value);

    const WideString& Text() const { return FText; }
    int Length() const { return int(FText.size()); }
    WideStringView Slice(int Start, int End) const {
        return WideStringView(FText).substr(size_t(Start), size_t(End - Start));
    }
    // Puts a text in (in memo form); false when the memo held that text already.
    bool SetText(WideStringView Value);

    // Lines: an empty text has one, and so has the empty line after a final break.
    int LineCount() const { return int(FStarts.size()); }
    int LineStart(int Line) const { return FStarts[size_t(Line)]; }
    // The line's end before its break.
    int LineEnd(int Line) const;
    int LineLength(int Line) const { return LineEnd(Line) - LineStart(Line); }
    int LineOf(int Pos) const;

    // Replaces the units from Start to End (the range widened to whole line breaks) by
    // Value in memo form; returns the end of the inserted text.
    int Replace(int Start, int End, WideStringView Value);
    // Start and end of the last replacement after widening, and the inserted length.
    int LastStart() const { return FLastStart; }

    // A position as a caret may take it: inside the text, never between CR and LF nor
    // between the halves of a surrogate pair.
    int Snap(int Pos) const;
    // One character on or back: a line break and a surrogate pair count as one.
    int Next(int Pos) const;
    int Prev(int Pos) const;
    // Word moves as Windows makes them: to the start of the next word, to the start of
    // this or the previous one; a line break stops both.
    int NextWord(int Pos) const;
    int PrevWord(int Pos) const;
    // The word (or run of blanks, or of other signs) around Pos.
    void WordAt(int Pos, int& Start, int& End) const;

private:
    static size_t LoneBreaks(WideStringView Value);
    void IndexLines();
    WideString FText;
    std::vector<int> FStarts; // never empty: the first line starts at 0
    int FLastStart = 0;
};
