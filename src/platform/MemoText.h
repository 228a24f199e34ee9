// The text a memo holds: one string, kept as it was given, and the start of every line.
// A line ends at CR LF; a lone CR or LF, U+2028 and U+2029 are characters of their line,
// as a Windows edit box holds them. Putting a text in is one pass over it, whatever its
// size; an edit moves the text behind it once and the line starts after it once.
#pragma once

#include <vector>

#include "text/WideTypes.h"

class MemoText {
public:
    MemoText() : FStarts{0} {}

    // The text with every CR, LF and U+2028 as CR LF: the lines a program sets.
    static WideString LinesForm(WideStringView Value);
    // The same and U+2029 as well: a text the user types or pastes.
    static WideString TypedForm(WideStringView Value);

    const WideString& Text() const { return FText; }
    int Length() const { return int(FText.size()); }
    WideStringView Slice(int Start, int End) const {
        return WideStringView(FText).substr(size_t(Start), size_t(End - Start));
    }
    // Puts a text in as it stands; false when the memo held that text already.
    bool SetText(WideStringView Value);

    // Lines: an empty text has one, and so has the empty line after a final break.
    int LineCount() const { return int(FStarts.size()); }
    int LineStart(int Line) const { return FStarts[size_t(Line)]; }
    // The line's end before its break.
    int LineEnd(int Line) const;
    int LineLength(int Line) const { return LineEnd(Line) - LineStart(Line); }
    int LineOf(int Pos) const;
    // The LF characters before Pos, of CR LF pairs and lone ones: the line of Pos as a
    // program that breaks lines at LF counts it.
    int LineFeedsBefore(int Pos) const;

    // Replaces the units from Start to End by Value as it stands (the caller keeps CR LF
    // pairs whole where it must); returns the end of the inserted text. The edit may join a
    // lone CR before it or a lone LF behind it into a line break, or part one.
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
    static size_t LoneBreaks(WideStringView Value, bool Paragraphs);
    static WideString CrLfForm(WideStringView Value, bool Paragraphs);
    void IndexLines();
    // The places of the lone LFs among the units From to To.
    std::vector<int> LoneLineFeeds(int From, int To) const;
    WideString FText;
    std::vector<int> FStarts;        // never empty: the first line starts at 0
    std::vector<int> FLoneLineFeeds; // where the lone LFs are, in order
    int FLastStart = 0;
};
