#include "platform/MemoWidths.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "text/TextFiles.h"

namespace {

// The mark of a line or paragraph break inside a row: a return arrow, a pilcrow for U+2029.
char16_t Shown(char16_t C) {
    if (!MemoWidths::DrawnAsMark(C)) return C;
    return C == 0x2029 ? u'\u00B6' : u'\u21B5';
}

// A letter of a script whose signs stand side by side unchanged, each as wide wherever it
// stands in an item of that script; 0 for the scripts whose signs are shaped together.
char16_t LetterOf(QChar::Script Script) {
    static constexpr std::pair<QChar::Script, char16_t> kLetters[] = {
        {QChar::Script_Common, u'a'},        {QChar::Script_Latin, u'a'},
        {QChar::Script_Greek, u'\u03B1'},    {QChar::Script_Cyrillic, u'\u0430'},
        {QChar::Script_Han, u'\u4E00'},      {QChar::Script_Hiragana, u'\u3042'},
        {QChar::Script_Katakana, u'\u30A2'}, {QChar::Script_Bopomofo, u'\u3105'},
        {QChar::Script_Yi, u'\uA000'},       {QChar::Script_Hangul, u'\uAC00'}};
    for (const auto& [script, letter] : kLetters)
        if (script == Script) return letter;
    return 0;
}

// A character outside the basic plane that stands alone: an emoji, a rare ideograph (not a
// flag's half, which two make a flag, nor a modifier or mark).
bool PairAlone(char32_t C) {
    if (C >= 0x1F1E6 && C <= 0x1F1FF) return false;
    const QChar::Category category = QChar::category(C);
    return (category == QChar::Symbol_Other || category == QChar::Letter_Other) &&
           LetterOf(QChar::script(C)) != 0;
}

} // namespace

void MemoWidths::Reset(const QFont& Font) {
    FFont = Font;
    // As in a Windows edit box, text is drawn without kerning: a row of plain text is then
    // as wide as its characters' advances, the width it was wrapped and placed by (a
    // ligature only makes it narrower).
    FFont.setKerning(false);
    const QFontMetricsF fm(Font);
    FAscent = fm.ascent();
    FTabWidth = float(std::max(8 * fm.averageCharWidth(), 1.0));
    // (kept for a memo shown again with its font; a bound, however many fonts are shown)
    static std::unordered_map<QString, std::shared_ptr<Measures>> known; // by font
    if (known.size() >= 8)
        std::erase_if(known, [](const auto& Entry) { return Entry.second.use_count() == 1; });
    auto& measures = known[FFont.key()];
    if (!measures) measures = std::make_shared<Measures>();
    FMeasures = measures;
    FKept.clear();
    FKeptBefore.clear();
    FKeptUnits = 0;
}

float MemoWidths::MetricAdvance(char16_t C) const {
    const QFontMetricsF fm(FFont);
    // A surrogate half stands for half of a character outside the basic plane.
    const float a = IsHighSurrogate(C) || IsLowSurrogate(C) ? float(fm.averageCharWidth())
                                                            : float(fm.horizontalAdvance(QChar(C)));
    return std::max(a, 0.0f);
}

float MemoWidths::Advance(char16_t C) const {
    float& a = FMeasures->Advance[C];
    if (a >= 0) return a;
    // Drawn alone, a character from a substitute font is drawn in its own script's fonts.
    const QChar::Script own = ItemScript(QChar::Script_Common, C);
    const CharWidth w = KindOf(C) == ByScript && LetterOf(own) != 0 ? WidthIn(own, C) : CharWidth{};
    a = w.Exact ? w.Advance : MetricAdvance(C);
    return a;
}

float MemoWidths::PairAdvance(char16_t High, char16_t Low) const {
    const CharWidth w =
        WidthIn(ItemScript(QChar::Script_Common, QChar::surrogateToUcs4(High, Low)), High, Low);
    return w.Exact ? w.Advance : -1;
}

QChar::Script MemoWidths::ItemScript(QChar::Script Before, char32_t C) {
    const QChar::Script script = QChar::script(C);
    if (script <= QChar::Script_Common || script == Before) return Before;
    if (Before <= QChar::Script_Common) return script;
    return QChar::isMark(C) ? Before : script; // a mark stays with its letter
}

// (measures the block of C where it is not measured yet)
MemoWidths::CharWidth MemoWidths::MeasuredWidthIn(QChar::Script Script, char16_t C) const {
    const QChar::Script fonts = FontsOf(Script);
    if (C == u'\t') return {0, 0, true};
    if (KindOf(C) == InContext || LetterOf(fonts) == 0) return {Advance(C), 0, false};
    auto& byScript = FMeasures->InScript;
    if (byScript.size() <= size_t(fonts)) byScript.resize(size_t(fonts) + 1);
    auto& widths = byScript[size_t(fonts)];
    if (!widths) widths = std::make_unique<ScriptWidths>();
    Block& block = (*widths)[C >> 8];
    if (!block) block = MeasureBlock(fonts, C & 0xFF00);
    const CharWidth w = (*block)[C & 0xFF];
    return w.Exact ? w : CharWidth{MetricAdvance(C), 0, false}; // (never drawn there)
}

MemoWidths::CharWidth MemoWidths::WidthIn(QChar::Script Script, char16_t High, char16_t Low) const {
    const char32_t c = QChar::surrogateToUcs4(High, Low);
    const QChar::Script fonts = FontsOf(Script);
    const CharWidth estimate{Advance(High) + Advance(Low), 0, false};
    if (!PairAlone(c) || LetterOf(fonts) == 0) return estimate;
    const char32_t key = char32_t(fonts) << 13 | c >> 8;
    auto& pairs = FMeasures->Pairs;
    auto it = pairs.find(key);
    if (it == pairs.end()) {
        if (pairs.size() >= 1024) pairs.clear(); // a bound, however many signs a text holds
        it = pairs.emplace(key, MeasureBlock(fonts, c & ~char32_t(0xFF))).first;
    }
    const CharWidth w = (*it->second)[c & 0xFF];
    return w.Exact ? w : estimate;
}

// The characters follow a letter of the script, which puts them all in an item of that
// script, one to a line: each line's advance is its character's, and its width reaches as
// far as the character's ink. Blanks come first: a line takes the blanks behind it along
// (they hang over its end, and no ink of theirs counts).
MemoWidths::Block MemoWidths::MeasureBlock(QChar::Script Script, char32_t First) const {
    auto widths = std::make_unique<std::array<CharWidth, 256>>();
    auto drawnThere = [&](char32_t C) {
        const QChar::Script own = QChar::script(C);
        if (own != QChar::Script_Common && FontsOf(own) != Script) return false;
        if (C > 0xFFFF) return PairAlone(C);
        return C != u'\t' && KindOf(char16_t(C)) != InContext;
    };
    struct Placed {
        int Code, At, Units; // in the block, in the text
    };
    std::vector<Placed> placed;
    QString text(QChar(LetterOf(Script)));
    for (bool blanks : {true, false})
        for (int k = 0; k < 256; ++k) {
            const char32_t c = First + char32_t(k);
            const char32_t shown = c > 0xFFFF ? c : Shown(char16_t(c));
            if (QChar::isSpace(shown) != blanks || !drawnThere(c)) continue;
            placed.push_back({k, int(text.size()), c > 0xFFFF ? 2 : 1});
            text += QString::fromUcs4(&shown, 1);
        }
    if (placed.empty()) return widths;
    ++FLayoutsMade;
    QTextLayout layout(text, FFont);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    auto next = placed.begin();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        const int start = int(line.textStart());
        line.setNumColumns(1); // (one character, of one or two units)
        const int end = start + line.textLength();
        for (; next != placed.end() && next->At < end; ++next) {
            const bool blank = QChar::isSpace(text[next->At].unicode());
            // (a sign the line could not be ended after is not known exactly)
            if (!blank && (next->At != start || next->At + next->Units != end)) continue;
            CharWidth& w = (*widths)[size_t(next->Code)];
            w.Advance = float(line.cursorToX(next->At + next->Units) - line.cursorToX(next->At));
            if (!blank)
                w.Overhang =
                    float(std::max(line.naturalTextWidth() - line.horizontalAdvance(), 0.0));
            w.Exact = w.Advance >= 0;
        }
    }
    layout.endLayout();
    return widths;
}

bool MemoWidths::Shaped(char16_t C) const {
    return KindOf(C) != FromMetrics;
}

MemoWidths::Kind MemoWidths::KindOf(char16_t C) const {
    signed char& k = FMeasures->Kind[C];
    if (k < 0) k = static_cast<signed char>(Classify(C));
    return Kind(k);
}

MemoWidths::Kind MemoWidths::Classify(char16_t C) const {
    if (C == u'\t') return FromMetrics;
    if (DrawnAsMark(C)) return ByScript;
    const QChar q(C);
    if (q.isSurrogate() || C < 0x20 || (C >= 0x7F && C < 0xA0)) return InContext;
    // (a sign written right to left turns the text around it; an object's place is laid
    // out by its owner)
    if (q.direction() == QChar::DirR || q.direction() == QChar::DirAL || C == 0xFFFC)
        return InContext;
    // A sign that belongs to the character before or after it, though not a mark (the
    // voiced sound marks of half-width kana), is shaped with it.
    const char16_t around[] = {u'a', C, u'a'};
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, reinterpret_cast<const QChar*>(around),
                              3);
    for (int at : {1, 2}) {
        chars.setPosition(at);
        if (!chars.isAtBoundary()) return InContext;
    }
    switch (q.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Other_Control:
        return InContext;
    default:
        break;
    }
    switch (q.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic: {
        // A character the font lacks comes from a substitute, whose widths differ.
        static thread_local QFont rawFor;
        static thread_local QRawFont raw;
        if (!(rawFor == FFont) || !raw.isValid()) {
            rawFor = FFont;
            raw = QRawFont::fromFont(FFont);
        }
        return raw.isValid() && raw.supportsCharacter(q) ? FromMetrics : ByScript;
    }
    // Scripts whose signs stand side by side unchanged, each as wide wherever it stands
    // among its script's signs, though the font that draws it depends on the script.
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
    case QChar::Script_Yi:
        return ByScript;
    case QChar::Script_Hangul: // whole syllables; their parts are joined
        return C >= 0xAC00 && C <= 0xD7A3 ? ByScript : InContext;
    default:
        return InContext;
    }
}

// The layouts made last are kept: the rows in view are drawn again after every key, and a
// row is drawn as it was measured. Two generations of at most kKeptUnits units each: when
// the newer is full it becomes the older, and the older is forgotten.
constexpr qsizetype kKeptUnits = 1 << 15;

std::shared_ptr<QTextLayout> MemoWidths::Layout(const QString& Text,
                                                const QList<qreal>& Stops) const {
    QString key = Text;
    for (qreal stop : Stops) // (tab stops as units after the text; the text holds no U+FFFF)
        key += QChar(u'\uFFFF') + QString::number(stop);
    if (auto it = FKept.find(key); it != FKept.end()) return it->second;
    if (auto it = FKeptBefore.find(key); it != FKeptBefore.end()) {
        auto layout = it->second;
        Keep(key, layout);
        return layout;
    }
    auto layout = MakeLayout(Text, Stops);
    Keep(key, layout);
    return layout;
}

void MemoWidths::Keep(const QString& Key, const std::shared_ptr<QTextLayout>& Layout) const {
    if (FKeptUnits + Key.size() > kKeptUnits) {
        FKeptBefore = std::move(FKept);
        FKept.clear();
        FKeptUnits = 0;
    }
    if (FKept.emplace(Key, Layout).second) FKeptUnits += Key.size();
}

std::shared_ptr<QTextLayout> MemoWidths::MakeLayout(const QString& Text,
                                                    const QList<qreal>& Stops) const {
    ++FLayoutsMade;
    QString shown = Text;
    if (std::any_of(Text.cbegin(), Text.cend(), [](QChar c) { return DrawnAsMark(c.unicode()); }))
        for (QChar& c : shown)
            c = QChar(Shown(c.unicode()));
    auto layout = std::make_shared<QTextLayout>(shown, FFont);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(FTabWidth);
    if (!Stops.isEmpty()) option.setTabArray(Stops);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(1e9);
        // Every row stands on the baseline of the memo's font: a substitute font with a
        // taller ascent (Chinese, emoji) would push its row's text down into the next row.
        line.setPosition(QPointF(0, FAscent - line.ascent()));
    }
    layout->endLayout();
    return layout;
}

namespace {

bool Blank(char16_t C) {
    return C == u' ' || C == u'\t';
}

// Units laid out beyond where the estimate crosses the edge, and the text the line-breaking
// rules look at behind the last place a row may end.
constexpr int kSlack = 16;
constexpr int kRulesLookAhead = 32;
// The units at a stretch's end whose ink may reach past its advance.
constexpr int kOverhangReach = 16;

bool RightToLeft(const char16_t* Text, int Length) {
    for (int i = 0; i < Length; ++i) {
        const QChar::Direction d = QChar(Text[i]).direction();
        if (d == QChar::DirR || d == QChar::DirAL) return true;
    }
    return false;
}

// The places after Text's start, up to Last, where a row may end by the rules of Kind.
std::vector<int> Boundaries(QTextBoundaryFinder::BoundaryType Kind, const char16_t* Text,
                            int Length, int Last) {
    std::vector<int> at;
    QTextBoundaryFinder finder(Kind, reinterpret_cast<const QChar*>(Text), Length);
    for (qsizetype p = finder.toNextBoundary(); p > 0 && p <= Last; p = finder.toNextBoundary())
        at.push_back(int(p));
    return at;
}

} // namespace

qreal MemoWidths::Drawn(const char16_t* Text, int Length) const {
    while (Length > 0 && Blank(Text[Length - 1]))
        --Length;
    if (Length == 0) return 0;
    const auto layout = Layout(QString::fromUtf16(Text, Length));
    return layout->lineCount() ? layout->lineAt(0).naturalTextWidth() : 0.0;
}

qreal MemoWidths::Advanced(const char16_t* Text, int Length, bool Kept, qreal* Overhang) const {
    if (Overhang) *Overhang = 0;
    if (Length == 0) return 0;
    const QString text = QString::fromUtf16(Text, Length);
    const auto layout = Kept ? Layout(text) : MakeLayout(text, {});
    if (layout->lineCount() == 0) return 0;
    const qreal advance = layout->lineAt(0).horizontalAdvance();
    if (Overhang) {
        // The ink of the glyphs of the last few characters, wherever shaping put them.
        const int from = std::max(0, Length - kOverhangReach);
        qreal right = 0;
        for (const QGlyphRun& run : layout->glyphRuns(from, Length - from)) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> at = run.positions();
            for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i)
                right = std::max(right, at[i].x() + font.boundingRect(glyphs[i]).right());
        }
        *Overhang = std::max(right - advance, 0.0);
    }
    return advance;
}

// The row is decided by the width it is drawn with: the text from the row's start to a
// place where it may end, laid out alone. The stretch around the edge is laid out once to
// find the character under the edge; the places to end at are tried from there back.
int MemoWidths::ShapedRow(const char16_t* Text, int Length, qreal Width, int Guess,
                          int MaxUnits) const {
    const int most = std::min(Length, MaxUnits);
    int reach = std::min(most, std::max(Guess, 1) + kSlack);
    const bool rtl = RightToLeft(Text, reach);
    int over = reach; // the character crossing the edge, or the stretch's end
    for (;;) {
        const QString stretch = QString::fromUtf16(Text, reach);
        const auto layout = Layout(stretch);
        if (layout->lineCount() == 0) return reach;
        if (Drawn(Text, reach) > Width) {
            if (!rtl)
                over = std::min(layout->lineAt(0).xToCursor(Width, QTextLine::CursorOnCharacter),
                                reach - 1);
            break;
        }
        if (reach == Length) return Length; // the rest of the line fits
        if (reach == most) break;
        reach = std::min(most, reach * 2); // the estimate was too wide: look further
    }
    auto fits = [&](int Units) { return Drawn(Text, Units) <= Width; };
    // The last of the places At (ascending) that fits, tried first at the one after the
    // character under the edge; 0 where none fits.
    auto lastFitting = [&](const std::vector<int>& At) {
        auto hi = std::upper_bound(At.begin(), At.end(), over + 1);
        if (hi == At.begin()) return 0;
        if (fits(*(hi - 1))) return *(hi - 1);
        auto lo = At.begin();
        --hi; // the places before hi remain
        while (lo < hi) {
            auto mid = lo + (hi - lo) / 2;
            if (fits(*mid))
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo == At.begin() ? 0 : *(lo - 1);
    };
    // Rows end between whole characters only: a mark may sit on a blank, and the rules
    // allow a break before it.
    const int look = std::min(Length, std::max(over + 1, reach) + kRulesLookAhead);
    const std::vector<int> chars = Boundaries(QTextBoundaryFinder::Grapheme, Text, look, reach);
    auto whole = [&](std::vector<int> At) {
        std::erase_if(At,
                      [&](int P) { return !std::binary_search(chars.begin(), chars.end(), P); });
        return At;
    };
    std::vector<int> blanks;
    for (int i = 0; i < over + 1 && i < reach; ++i)
        if (Blank(Text[i]) && i + 1 < Length) blanks.push_back(i + 1);
    if (int end = lastFitting(whole(blanks))) return end;
    if (int end = lastFitting(
            whole(Boundaries(QTextBoundaryFinder::Line, Text, look, std::min(reach, Length - 1)))))
        return end;
    if (int end = lastFitting(chars)) return end;
    return chars.empty() ? std::min(reach, 1) : chars.front(); // at least one character
}

int MemoWidths::LastRuleBreak(const char16_t* Text, int Length, int Last) {
    const int look = std::min(Length, Last + 1 + kRulesLookAhead);
    const std::vector<int> at =
        Boundaries(QTextBoundaryFinder::Line, Text, look, std::min(Last, Length - 1));
    return at.empty() ? 0 : at.back();
}
