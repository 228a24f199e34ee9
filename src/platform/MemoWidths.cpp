#include "platform/MemoWidths.h"

#include <QFontMetricsF>
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

} // namespace

void MemoWidths::Reset(const QFont& Font) {
    FFont = Font;
    const QFontMetricsF fm(Font);
    FTabWidth = float(std::max(8 * fm.averageCharWidth(), 1.0));
    FAdvance.assign(65536, -1.0f);
    FKind.assign(65536, -1);
    FWords.clear();
}

float MemoWidths::Advance(char16_t C) const {
    float& a = FAdvance[C];
    if (a >= 0) return a;
    if (KindOf(C) == Alone) {
        // Nothing is shaped with it: its width as drawn, whichever font it comes from.
        const auto alone = Layout(QString(QChar(C)));
        a = alone->lineCount() > 0 ? float(alone->lineAt(0).naturalTextWidth()) : 0.0f;
    } else {
        const QFontMetricsF fm(FFont);
        // A surrogate half stands for half of a character outside the basic plane.
        a = IsHighSurrogate(C) || IsLowSurrogate(C) ? float(fm.averageCharWidth())
                                                    : float(fm.horizontalAdvance(QChar(C)));
    }
    if (a < 0) a = 0;
    return a;
}

bool MemoWidths::Shaped(char16_t C) const {
    return KindOf(C) == InContext;
}

MemoWidths::Kind MemoWidths::KindOf(char16_t C) const {
    signed char& k = FKind[C];
    if (k < 0) k = static_cast<signed char>(Classify(C));
    return Kind(k);
}

MemoWidths::Kind MemoWidths::Classify(char16_t C) const {
    if (C == u'\t') return FromMetrics;
    if (DrawnAsMark(C)) return Alone;
    const QChar q(C);
    if (q.isSurrogate() || C < 0x20 || (C >= 0x7F && C < 0xA0)) return InContext;
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
        return raw.isValid() && raw.supportsCharacter(q) ? FromMetrics : Alone;
    }
    // Scripts whose signs stand side by side unchanged, whichever font draws them.
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
    case QChar::Script_Yi:
        return Alone;
    case QChar::Script_Hangul: // whole syllables; their parts are joined
        return C >= 0xAC00 && C <= 0xD7A3 ? Alone : InContext;
    default:
        return InContext;
    }
}

std::shared_ptr<QTextLayout> MemoWidths::Layout(const QString& Text,
                                                const QList<qreal>& Stops) const {
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
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

namespace {

bool Blank(QChar C) {
    return C == u' ' || C == u'\t';
}

// The character boundary at or before Pos (after at least one character).
int BoundaryBefore(const QString& Text, int Pos) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, Text);
    finder.setPosition(Pos);
    if (!finder.isAtBoundary()) finder.toPreviousBoundary();
    if (finder.position() > 0) return int(finder.position());
    finder.setPosition(0);
    return int(std::max<qsizetype>(finder.toNextBoundary(), 1));
}

bool RightToLeft(const QString& Text) {
    for (QChar c : Text)
        if (c.direction() == QChar::DirR || c.direction() == QChar::DirAL) return true;
    return false;
}

} // namespace

// The character under the edge is where the row is cut. Where text runs right to left the
// edge says nothing about the logical order: the longest start that fits is searched.
int MemoWidths::Fit(const QString& Text, qreal Width) const {
    auto width = [&](int Units) {
        const auto layout = Layout(Text.left(Units));
        return layout->lineCount() ? layout->lineAt(0).naturalTextWidth() : 0.0;
    };
    const bool rtl = RightToLeft(Text);
    int end = int(Text.size());
    while (end > 0) {
        int content = end;
        while (content > 0 && Blank(Text[content - 1]))
            --content;
        const auto layout = Layout(Text.left(content));
        if (layout->lineCount() == 0 || layout->lineAt(0).naturalTextWidth() <= Width) return end;
        // The character that crosses the edge, and a blank before it to break after.
        int over = 0;
        if (rtl) {
            for (int hi = content - 1; over < hi;) {
                const int mid = (over + hi + 1) / 2;
                if (width(mid) <= Width)
                    over = mid;
                else
                    hi = mid - 1;
            }
        } else {
            over = std::min(layout->lineAt(0).xToCursor(Width, QTextLine::CursorOnCharacter),
                            content - 1);
        }
        int next = over;
        while (next > 0 && !Blank(Text[next - 1]))
            --next;
        if (next == 0) next = BoundaryBefore(Text, std::max(over, 1));
        if (next >= end) next = BoundaryBefore(Text, end - 1);
        if (next >= end) return end;
        end = next;
    }
    return end;
}

// A word (a run without blanks) is shaped on its own: its width as drawn, kept for the
// next time it is met (up to a bound, after which the kept widths start anew).
float MemoWidths::WordWidth(const char16_t* Text, int Length) const {
    std::u16string word(Text, size_t(Length));
    auto it = FWords.find(word);
    if (it != FWords.end()) return it->second;
    if (FWords.size() >= 200000) FWords.clear();
    const auto layout = Layout(QString::fromUtf16(Text, Length));
    const float width = layout->lineCount() ? float(layout->lineAt(0).naturalTextWidth()) : 0.0f;
    FWords.emplace(std::move(word), width);
    return width;
}

// A row of shaped text is measured a word at a time: what a word looks like does not
// depend on the words around it, and words come again and again in a text.
int MemoWidths::ShapedRow(const char16_t* Text, int Length, qreal Width, int MaxUnits) const {
    auto blank = [](char16_t C) { return C == u' ' || C == u'\t'; };
    float x = 0;
    int lastBlank = -1;
    for (int i = 0; i < Length;) {
        if (blank(Text[i])) {
            x = NextX(x, Text[i]);
            lastBlank = ++i;
            if (i >= MaxUnits && i < Length) return i;
            continue;
        }
        int j = i;
        while (j < Length && j < MaxUnits && !blank(Text[j]))
            ++j;
        const bool longer = j == MaxUnits && j < Length && !blank(Text[j]);
        if (longer && IsLowSurrogate(Text[j]) && IsHighSurrogate(Text[j - 1])) --j;
        x += WordWidth(Text + i, j - i);
        if (x > Width || longer) {
            if (lastBlank > 0) return lastBlank;
            return Fit(QString::fromUtf16(Text, j), Width); // inside a word longer than the row
        }
        i = j;
    }
    return Length;
}
