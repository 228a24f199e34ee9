// Plain routines over wide (UTF-16) strings and wide string arrays: splitting and
// joining, replacing, case changes, wrapping, sorting, line deletion by number,
// HTML entity coding, line-break normalisation and token splitting.
// Positions are 1-based UTF-16 unit positions wherever the API takes or gives one.
// No routine keeps state between calls.
#pragma once

#include <bitset>
#include <cstddef>
#include <functional>

#include "text/WideTypes.h"

// A set of character codes below 256 (break sets, delimiter sets); a character
// from U+0100 up is never in such a set.
using TCharSet = std::bitset<256>;

// The set of the characters of Chars (those below U+0100).
TCharSet CharSetOf(WideStringView Chars);
inline bool InCharSet(const TCharSet& Set, WideChar C) {
    return C < 256 && Set.test(C);
}

// ---- Splitting and joining ----

// Appends the fields of Text between non-overlapping occurrences of Separator,
// scanned left to right, and returns the new length of Arr. There is always one
// field more than there are separators. An empty Separator gives Text as one field.
int ExplodeW(TWideStrArray& Arr, WideStringView Separator, WideStringView Text);

// Appends the fields of a separated text whose fields may be enclosed in Quote
// (a separator inside quotes belongs to the field; doubled quotes stay as they are);
// returns the new length of Arr.
int ExplodeQuotedW(TWideStrArray& Arr, WideStringView Text, WideChar Separator, WideChar Quote);

// The items joined with Separator between them.
WideString ImplodeW(const TWideStrArray& Arr, WideStringView Separator);

bool ArrayAppendW(TWideStrArray& Arr, WideStringView S);
// Removes the item at Index (0..size-1); false (and nothing removed) for any other index.
bool ArrayDeleteW(TWideStrArray& Arr, size_t Index);
// The items without repetitions (exact comparison), in the order of their first occurrence.
TWideStrArray ArrayUniqueW(const TWideStrArray& Arr);

// The token of a zero-terminated text at Cursor (an index into Text; the end of
// Text and a U+0000 unit both end the text): the units up to the next Delimiter.
// Cursor moves past that delimiter, or to the end of the text when there is none.
WideString WideNextToken(WideStringView Text, size_t& Cursor, WideChar Delimiter);

// The tokens of Text between delimiters, in order, up to the first empty token
// (so a list of names each closed by U+0000 ends at its double U+0000).
TWideStrArray WideSplitToArray(WideStringView Text, WideChar Delimiter);

// ---- Replacing and searching ----

// Every occurrence of Old (left to right, not overlapping, case-sensitive) replaced
// by New. S when Old is empty or equals New.
WideString ReplaceAllW(WideStringView S, WideStringView Old, WideStringView New);
// The same on S itself: where New is not longer than Old the text is rewritten where it
// lies, without a second copy of it. New must not lie inside S.
void ReplaceAllInPlaceW(WideString& S, WideStringView Old, WideStringView New);
// Only the first occurrence of Old replaced; S when Old is empty or does not occur.
WideString ReplaceFirstW(WideStringView S, WideStringView Old, WideStringView New);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
inline TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b) {
    return static_cast<TReplaceFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// Replaces the first (or with rfReplaceAll every) occurrence of Old by New.
// rfIgnoreCase compares through the per-unit upper case; the copied text always
// comes from S. With WholeWord an occurrence counts only between word delimiters
// (start or end of the text, U+0000, white space or punctuation); the character
// before an occurrence at the start of the not yet searched rest is the last
// character already written to the result.
WideString WideStringReplace(WideStringView S, WideStringView Old, WideStringView New,
                             bool WholeWord, TReplaceFlags Flags);

// The 1-based position of SubStr in S at or after Offset, plus 2; 0 when there is
// none or when SubStr or S is empty. (Its caller selects the match at result - 3,
// counted from 0, and searches on from result + 1.)
int PosExW(WideStringView SubStr, WideStringView S, int Offset);

// S preceded by Width - Length(S) copies of PadChar (none when that is below 1).
WideString PadLeftW(WideStringView S, WideChar PadChar, int Width);

// ---- Case and layout ----

// The first character and every character after a separator (line breaks, space
// and most punctuation) upper-cased; the others unchanged.
WideString TitleCaseW(WideStringView S);

// A source of random bits: returns 0 or 1 on every call.
using TRandomBit = std::function<int()>;
// Every character in lower case (bit 1) or upper case (bit 0), one draw each.
WideString RandomCaseW(WideStringView S, const TRandomBit& Random);
// The same with the process's random generator.
WideString RandomCaseW(WideStringView S);

// The width used when a caller passes a width below 1.
constexpr int DefaultWrapWidth = 50;
// Lines of at most MaxWidth characters, broken after the last break character that
// fits (or hard at MaxWidth), each trimmed, joined with CR LF.
WideString WordWrapW(WideStringView Text, const TCharSet& BreakChars, int MaxWidth);

enum TLineBreakStyle { lbsLF = 0, lbsCRLF = 1, lbsCR = 2 };
// The length of WideAdjustLineBreaks(S, Style).
size_t WideAdjustLineBreaksLength(WideStringView S, TLineBreakStyle Style);
// Every line break (CR LF, lone CR, lone LF, U+2028) written as the style's break.
WideString WideAdjustLineBreaks(WideStringView S, TLineBreakStyle Style);

// ---- Sorting and line selection ----

// Sorts by the upper-cased items with Ä, Ö, Ü, ß, Ç spelt AE, OE, UE, SS, C,
// compared by code units. Items with equal keys keep their order.
void SortStrArrayW(TWideStrArray& Arr, bool Ascending);

// The lines whose 1-based number is not named in NumberList ("1-3, 7"), joined
// with Separator. Items that are no number or no rising range are ignored.
WideString DeleteLinesByNumberW(const TWideStrArray& Lines, WideStringView Separator,
                                WideStringView NumberList);

// ---- HTML ----

// Each character U+00A0..U+00FF written as its named reference ("&nbsp;" ... "&yuml;").
WideString HtmlEncodeW(WideStringView S);
// The 96 named references of U+00A0..U+00FF decoded ("&nbsp;" to a plain space);
// every other reference stays.
WideString HtmlDecodeW(WideStringView S);
