#include "platform/MemoText.h"

#include <algorithm>
#include <cstddef>

#include "text/TextFiles.h"

namespace {

// The breaks that become CR LF where the user types or pastes, or the program sets lines.
bool IsBreak(char16_t c, bool Paragraphs) {
    return c == u'\r' || c == u'\n' || c == 0x2028 || (Paragraphs && c == 0x2029);
}

bool IsCrLf(WideStringView Text, size_t At) {
    return At + 1 < Text.size() && Text[At] == u'\r' && Text[At + 1] == u'\n';
}

enum CharClass { Blank, Word, Sign, LineBreak };

CharClass ClassOf(char16_t c) {
    if (c == u'\r' || c == u'\n') return LineBreak;
    if (c == u' ' || c == u'\t' || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200B))
        return Blank;
    if (c < 0x80) {
        const bool word = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
                          (c >= u'a' && c <= u'z') || c == u'_';
        return word ? Word : Sign;
    }
    if ((c >= 0x2010 && c <= 0x2027) || (c >= 0x3001 && c <= 0x3003) || c == 0xAB || c == 0xBB ||
        c == 0xBF || c == 0xA1)
        return Sign;
    return Word;
}

} // namespace

// The breaks that are not CR LF: each becomes one unit longer.
size_t MemoText::LoneBreaks(WideStringView Value, bool Paragraphs) {
    size_t lone = 0;
    for (size_t i = 0; i < Value.size(); ++i) {
        if (!IsBreak(Value[i], Paragraphs)) continue;
        if (IsCrLf(Value, i))
            ++i;
        else
            ++lone;
    }
    return lone;
}

WideString MemoText::CrLfForm(WideStringView Value, bool Paragraphs) {
    const size_t extra = LoneBreaks(Value, Paragraphs);
    if (extra == 0) return WideString(Value);
    WideString out(Value.size() + extra, u'\0');
    char16_t* o = out.data();
    for (size_t i = 0; i < Value.size(); ++i) {
        const char16_t c = Value[i];
        if (!IsBreak(c, Paragraphs)) {
            *o++ = c;
            continue;
        }
        if (IsCrLf(Value, i)) ++i;
        *o++ = u'\r';
        *o++ = u'\n';
    }
    out.resize(size_t(o - out.data()));
    return out;
}

WideString MemoText::LinesForm(WideStringView Value) {
    return CrLfForm(Value, false);
}

WideString MemoText::TypedForm(WideStringView Value) {
    return CrLfForm(Value, true);
}

bool MemoText::SetText(WideStringView Value) {
    if (Value == FText) return false;
    // Room to type into: the first keys in a text of megabytes would move all of it.
    WideString text;
    text.reserve(Value.size() + Value.size() / 8 + 64);
    text.assign(Value);
    FText = std::move(text);
    IndexLines();
    FLoneLineFeeds = LoneLineFeeds(0, Length());
    FLastStart = 0;
    return true;
}

void MemoText::IndexLines() {
    FStarts.clear();
    FStarts.push_back(0);
    const char16_t* p = FText.data();
    const size_t n = FText.size();
    for (size_t i = 1; i < n; ++i)
        if (p[i] == u'\n' && p[i - 1] == u'\r') FStarts.push_back(int(i + 1));
}

int MemoText::LineEnd(int Line) const {
    return size_t(Line) + 1 < FStarts.size() ? FStarts[size_t(Line) + 1] - 2 : Length();
}

std::vector<int> MemoText::LoneLineFeeds(int From, int To) const {
    std::vector<int> lone;
    for (int i = From; i < To; ++i)
        if (FText[size_t(i)] == u'\n' && (i == 0 || FText[size_t(i) - 1] != u'\r'))
            lone.push_back(i);
    return lone;
}

int MemoText::LineFeedsBefore(int Pos) const {
    Pos = std::clamp(Pos, 0, Length());
    const auto lone = std::lower_bound(FLoneLineFeeds.begin(), FLoneLineFeeds.end(), Pos);
    return LineOf(Pos) + int(lone - FLoneLineFeeds.begin());
}

int MemoText::LineOf(int Pos) const {
    auto it = std::upper_bound(FStarts.begin(), FStarts.end(), Pos);
    return int(it - FStarts.begin()) - 1;
}

int MemoText::Snap(int Pos) const {
    Pos = std::clamp(Pos, 0, Length());
    if (Pos > 0 && Pos < Length()) {
        const char16_t c = FText[size_t(Pos)];
        if ((c == u'\n' && FText[size_t(Pos) - 1] == u'\r') ||
            (IsLowSurrogate(c) && IsHighSurrogate(FText[size_t(Pos) - 1])))
            --Pos;
    }
    return Pos;
}

int MemoText::Next(int Pos) const {
    Pos = Snap(Pos);
    if (Pos >= Length()) return Length();
    return Snap(Pos + (IsCrLf(FText, size_t(Pos)) || IsHighSurrogate(FText[size_t(Pos)]) ? 2 : 1));
}

int MemoText::Prev(int Pos) const {
    Pos = Snap(Pos);
    return Pos <= 0 ? 0 : Snap(Pos - 1);
}

int MemoText::NextWord(int Pos) const {
    Pos = Snap(Pos);
    if (Pos >= Length()) return Length();
    const CharClass first = ClassOf(FText[size_t(Pos)]);
    if (first == LineBreak) return Next(Pos);
    while (Pos < Length() && ClassOf(FText[size_t(Pos)]) == first)
        ++Pos;
    while (Pos < Length() && ClassOf(FText[size_t(Pos)]) == Blank)
        ++Pos;
    return Snap(Pos);
}

int MemoText::PrevWord(int Pos) const {
    Pos = Snap(Pos);
    const int start = LineStart(LineOf(Pos));
    if (Pos == start) return Prev(Pos);
    while (Pos > start && ClassOf(FText[size_t(Pos) - 1]) == Blank)
        --Pos;
    if (Pos == start) return Pos;
    const CharClass cls = ClassOf(FText[size_t(Pos) - 1]);
    while (Pos > start && ClassOf(FText[size_t(Pos) - 1]) == cls)
        --Pos;
    return Snap(Pos);
}

void MemoText::WordAt(int Pos, int& Start, int& End) const {
    Pos = Snap(Pos);
    const int line = LineOf(Pos);
    const int ls = LineStart(line), le = LineEnd(line);
    if (ls == le) {
        Start = End = Pos;
        return;
    }
    if (Pos >= le) Pos = Prev(le);
    const CharClass cls = ClassOf(FText[size_t(Pos)]);
    Start = Pos;
    End = Pos;
    while (Start > ls && ClassOf(FText[size_t(Start) - 1]) == cls)
        --Start;
    while (End < le && ClassOf(FText[size_t(End)]) == cls)
        ++End;
    Start = Snap(Start);
    End = Snap(End);
}

int MemoText::Replace(int Start, int End, WideStringView Value) {
    Start = std::clamp(Start, 0, Length());
    End = std::clamp(End, Start, Length());
    const int inserted = int(Value.size());
    FText.replace(size_t(Start), size_t(End - Start), Value);
    const int delta = inserted - (End - Start);
    // Whether an LF is lone depends on the unit before it: those from Start to the one
    // behind the edit are looked at anew, the ones behind move.
    {
        auto first = std::lower_bound(FLoneLineFeeds.begin(), FLoneLineFeeds.end(), Start);
        auto last = std::upper_bound(first, FLoneLineFeeds.end(), End);
        for (auto it = last; it != FLoneLineFeeds.end(); ++it)
            *it += delta;
        const std::vector<int> now = LoneLineFeeds(Start, std::min(Start + inserted + 1, Length()));
        FLoneLineFeeds.insert(FLoneLineFeeds.erase(first, last), now.begin(), now.end());
    }

    // Line starts: those whose CR LF lost a unit go (also a pair parted by an insertion
    // between its CR and LF), those of the CR LF pairs in the new text come in (also a pair
    // the edit joined from a lone CR before it or a lone LF behind it), and the ones behind
    // move by the change in length.
    auto first = std::upper_bound(FStarts.begin(), FStarts.end(), Start);
    auto last = std::upper_bound(first, FStarts.end(), End + 1);
    std::vector<int> added;
    // (Read from the text: Value may have been a view of the old text.)
    const int to = std::min(Start + inserted, Length() - 1);
    for (int i = std::max(Start - 1, 0); i < to; ++i)
        if (IsCrLf(FText, size_t(i))) added.push_back(i + 2);
    const size_t at = size_t(first - FStarts.begin());
    const size_t removed = size_t(last - first);
    if (added.size() <= removed) {
        std::copy(added.begin(), added.end(), FStarts.begin() + std::ptrdiff_t(at));
        FStarts.erase(FStarts.begin() + std::ptrdiff_t(at + added.size()),
                      FStarts.begin() + std::ptrdiff_t(at + removed));
    } else {
        std::copy(added.begin(), added.begin() + std::ptrdiff_t(removed),
                  FStarts.begin() + std::ptrdiff_t(at));
        FStarts.insert(FStarts.begin() + std::ptrdiff_t(at + removed),
                       added.begin() + std::ptrdiff_t(removed), added.end());
    }
    for (size_t i = at + added.size(); i < FStarts.size(); ++i)
        FStarts[i] += delta;
    FLastStart = Start;
    return Start + inserted;
}
