#include "dialogs/ReplacementListText.h"

#include <array>

#include "text/WideStrUtils.h"

namespace {

constexpr WideStringView kHeaderStart = u"##";
constexpr WideStringView kCrLf = u"\r\n";
constexpr WideStringView kSearchIsRegex = u"reg=s";
constexpr WideStringView kBothAreRegex = u"reg=sr";

struct ModeCode {
    ReplaceListMode mode;
    WideStringView code;
};
constexpr std::array<ModeCode, 4> kModeCodes{{{ReplaceListMode::None, u"--"},
                                              {ReplaceListMode::SearchOnly, u"X-"},
                                              {ReplaceListMode::SearchAndReplacement, u"XX"},
                                              {ReplaceListMode::Individual, u"II"}}};

// What a row's mark says, as reading back groups the marks.
ReplaceListMode markClass(WideStringView mark) {
    if (mark == kMarkSearchOnly) return ReplaceListMode::SearchOnly;
    if (mark == kMarkBoth || mark == kMarkReplacementOnly)
        return ReplaceListMode::SearchAndReplacement;
    return ReplaceListMode::None;
}

WideString lineEnding(ReplaceListMode cls, WideStringView delimiter) {
    WideString ending;
    if (cls == ReplaceListMode::SearchOnly || cls == ReplaceListMode::SearchAndReplacement) {
        ending = delimiter;
        ending += cls == ReplaceListMode::SearchOnly ? kSearchIsRegex : kBothAreRegex;
    }
    return ending;
}

} // namespace

WideStringView ListModeCode(ReplaceListMode Mode) {
    for (const ModeCode& m : kModeCodes)
        if (m.mode == Mode) return m.code;
    return kModeCodes.back().code;
}

WideString ListFileHeader(ReplaceListMode Mode, WideStringView Delimiter) {
    WideString header(kHeaderStart);
    header += ListModeCode(Mode);
    header += Delimiter;
    header += kCrLf;
    return header;
}

bool ReadListFileHeader(WideStringView FirstLine, ReplaceListMode& Mode, WideString& Delimiter) {
    if (!FirstLine.starts_with(kHeaderStart)) return false;
    const WideStringView rest = FirstLine.substr(kHeaderStart.size());
    if (rest.size() <= 2) return true;
    Mode = ReplaceListMode::Individual;
    for (const ModeCode& m : kModeCodes)
        if (rest.substr(0, 2) == m.code) Mode = m.mode;
    Delimiter = WideString(rest.substr(2));
    return true;
}

WideString LineBreakPlaceholder(bool Ticked, WideStringView Edit) {
    if (Ticked && !Edit.empty()) return WideString(Edit);
    return WideString(1, kUnitSeparator);
}

std::optional<ReplaceListRow> EntryLineToRow(WideStringView Line, WideStringView Delimiter,
                                             WideStringView Placeholder, ReplaceListMode Mode) {
    if (Line.size() <= 2 || Delimiter.empty() || Line.find(Delimiter) == WideStringView::npos)
        return std::nullopt;
    TWideStrArray parts;
    ExplodeW(parts, Delimiter, Line);
    ReplaceListRow row;
    row.search = ReplaceAllW(parts[0], Placeholder, kCrLf);
    row.replacement = ReplaceAllW(parts[1], Placeholder, kCrLf);
    WideStringView mark = kMarkNone;
    if (Mode == ReplaceListMode::SearchOnly) mark = kMarkSearchOnly;
    if (Mode == ReplaceListMode::SearchAndReplacement) mark = kMarkBoth;
    if (Mode == ReplaceListMode::Individual && parts.size() > 2) {
        const WideString flag = WideTrim(parts[2]);
        if (flag == kSearchIsRegex) mark = kMarkSearchOnly;
        if (flag == kBothAreRegex) mark = kMarkBoth;
    }
    row.mark = WideString(mark);
    return row;
}

EntryLines RowsToEntryLines(const std::vector<ReplaceListRow>& Rows, WideStringView Delimiter,
                            WideStringView Placeholder) {
    const WideString delimiter = Delimiter.empty() ? WideString(u"|") : WideString(Delimiter);
    EntryLines out;
    bool mixed = false;
    for (const ReplaceListRow& row : Rows) {
        const ReplaceListMode cls = markClass(row.mark);
        if (out.mode && *out.mode != cls) mixed = true;
        out.mode = cls;
    }
    if (mixed) out.mode = ReplaceListMode::Individual;
    for (const ReplaceListRow& row : Rows) {
        out.text += ReplaceAllW(row.search, kCrLf, Placeholder);
        out.text += delimiter;
        out.text += ReplaceAllW(row.replacement, kCrLf, Placeholder);
        out.text += lineEnding(markClass(row.mark), delimiter);
        out.text += kCrLf;
    }
    return out;
}

WideString ReversedEntryLine(WideStringView Line, WideStringView Delimiter) {
    if (Delimiter.empty()) return WideString(Line);
    TWideStrArray parts;
    ExplodeW(parts, Delimiter, Line);
    if (parts.size() < 2 || parts.size() > 3) return WideString(Line);
    std::swap(parts[0], parts[1]);
    return ImplodeW(parts, Delimiter);
}
