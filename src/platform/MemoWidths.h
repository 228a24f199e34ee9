// How wide a memo's text is in its font. Every character is as wide as Qt draws it in the
// fonts of the script around it, wherever it stands, unless it is shaped with its
// neighbours: those widths are measured a block of characters at a time and add up to a
// row's width exactly. Text the font shapes from several signs or joins with marks is
// measured as Qt lays it out.
#pragma once

#include <QChar>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

class QTextLayout;

class MemoWidths {
public:
    // Takes the widths of another font (as measured for any memo that shows it).
    void Reset(const QFont& Font);
    const QFont& Font() const { return FFont; }
    float TabWidth() const { return FTabWidth; }

    // The width of C drawn alone: an estimate where it comes from a substitute font, whose
    // fonts differ by the script around it (see WidthIn).
    float Advance(char16_t C) const;
    // Where the next character begins after C at X (a tab goes to the next stop).
    float NextX(float X, char16_t C) const {
        if (C == u'\t') return (std::floor(X / FTabWidth) + 1) * FTabWidth;
        return X + Advance(C);
    }
    float Estimate(const char16_t* Text, int Length, float X = 0) const {
        for (int i = 0; i < Length; ++i)
            X = NextX(X, Text[i]);
        return X;
    }
    // True where the estimate may miss the drawn width: the character is shaped with its
    // neighbours (a mark, a half of a pair, a control, a sign of such a script), or comes
    // from a substitute font, which is chosen by the script around it and may draw it at
    // another width there ("、" after kana is drawn as wide as the kana, alone half as wide).
    bool Shaped(char16_t C) const;

    // Qt lays a text out in items of one script each, and the fonts that draw an item are
    // chosen by its script: a character of no script of its own (a blank, a digit, a sign,
    // "、", an emoji) is drawn in the script of the character before it, and those at the
    // text's start in the script of the first character that has one. Kana, for one, come
    // with fonts that draw even the blanks and digits among them.
    // The script of the item after C, where Before is the item's script up to C (Common
    // where no character before has one).
    static QChar::Script ItemScript(QChar::Script Before, char32_t C);
    // The scripts drawn with the same fonts as plain text.
    static bool PlainFonts(QChar::Script Script) { return Script <= QChar::Script_Latin; }
    // The script whose fonts draw an item of Script: Common for plain text and Latin.
    static QChar::Script FontsOf(QChar::Script Script) {
        return PlainFonts(Script) ? QChar::Script_Common : Script;
    }
    // How a character adds to the width of a row as Qt draws it: its advance and, where it
    // ends the row, how far its ink reaches past the advance (Qt counts that in the row's
    // width). Exact where the character, drawn in an item of that script, is as wide
    // wherever it stands; where it is shaped with its neighbours, an estimate.
    struct CharWidth {
        float Advance = 0;
        float Overhang = 0;
        bool Exact = false;
    };
    // C drawn in an item of Script (a tab's advance is left to NextX).
    CharWidth WidthIn(QChar::Script Script, char16_t C) const {
        const size_t fonts = FontsOf(Script);
        const auto& byScript = FMeasures->InScript;
        if (fonts < byScript.size() && byScript[fonts])
            if (const Block& block = (*byScript[fonts])[C >> 8]; block && (*block)[C & 0xFF].Exact)
                return (*block)[C & 0xFF];
        return MeasuredWidthIn(Script, C);
    }
    // The character outside the basic plane that High, Low stand for, drawn there.
    CharWidth WidthIn(QChar::Script Script, char16_t High, char16_t Low) const;
    // The width of the character outside the basic plane that the pair High, Low stands for,
    // where nothing is joined to it (an emoji, a rare ideograph; a joiner, selector or mark
    // beside it is shaped itself): as wide as drawn alone, a good estimate; its high half is
    // Shaped all the same, since among others it may be drawn a little wider or narrower.
    // -1 where it is shaped with its neighbours (a flag's half, a modifier, a sign of a
    // script that joins).
    float PairAdvance(char16_t High, char16_t Low) const;

    // A lone CR or LF and the separators U+2028 and U+2029 are drawn as a small mark in
    // their place: the memo's rows end only at CR LF (Qt would end its line at them).
    static bool DrawnAsMark(char16_t C) {
        return C == u'\r' || C == u'\n' || C == 0x2028 || C == 0x2029;
    }
    // The text laid out on one line as the memo draws it (tab stops from X = 0).
    std::shared_ptr<QTextLayout> Layout(const QString& Text, const QList<qreal>& Stops = {}) const;
    // The width of Length units of Text laid out alone as the memo draws them, the blanks at
    // their end left out (they hang over the edge).
    qreal Drawn(const char16_t* Text, int Length) const;
    // The width of Length units laid out alone as the memo draws them, blanks included:
    // where the text behind them begins. Kept: the layout is kept to be drawn. Overhang,
    // where given, is set to how far the ink of the last characters reaches past that
    // width (a sign may overhang its advance), 0 where it does not.
    qreal Advanced(const char16_t* Text, int Length, bool Kept = false,
                   qreal* Overhang = nullptr) const;
    // The units of a row that begins at Text (Length units to the line's end) and holds
    // shaped text, as drawn into Width: after the last blank that fits; inside a run without
    // blanks where the line-breaking rules allow, or else after the last whole character
    // that fits (at least one); after at most MaxUnits. Guess is where the estimate crosses
    // the edge: only the text around it is laid out, however long the line.
    int ShapedRow(const char16_t* Text, int Length, qreal Width, int Guess, int MaxUnits) const;
    // The last place after Text's start, up to Last, where the line-breaking rules allow a
    // row to end (Length units to the line's end; only a few units behind Last are looked
    // at); 0 where they allow none.
    static int LastRuleBreak(const char16_t* Text, int Length, int Last);
    // How many text layouts every memo has made so far: what laying out text costs.
    static size_t LayoutsMade() { return FLayoutsMade; }

private:
    // How a character's width is known: from the font's own metrics, by the script around
    // it (it comes from a substitute font, or stands for a break), or only together with
    // its neighbours.
    enum Kind : signed char { FromMetrics, ByScript, InContext };
    Kind KindOf(char16_t C) const;
    Kind Classify(char16_t C) const;
    float MetricAdvance(char16_t C) const;
    CharWidth MeasuredWidthIn(QChar::Script Script, char16_t C) const;
    // Widths by script in blocks of 256 code points, each measured when first asked for;
    // not Exact for those shaped with their neighbours or never drawn in that script.
    using Block = std::unique_ptr<std::array<CharWidth, 256>>;
    using ScriptWidths = std::array<Block, 256>;
    Block MeasureBlock(QChar::Script Script, char32_t First) const;

    QFont FFont;
    qreal FAscent = 0; // of the memo's own font: the baseline of every row
    float FTabWidth = 8;
    // What is known of a font's characters, shared by the memos that show that font and
    // kept after them: laying out a text anew, or another memo with the same font,
    // measures nothing again.
    struct Measures {
        std::vector<float> Advance = std::vector<float>(65536, -1.0f);
        std::vector<signed char> Kind = std::vector<signed char>(65536, -1); // -1 not yet known
        std::vector<std::unique_ptr<ScriptWidths>> InScript;                 // by script
        std::unordered_map<char32_t, Block> Pairs; // by script and block: Script << 13 | block
    };
    std::shared_ptr<Measures> FMeasures;
    std::shared_ptr<QTextLayout> MakeLayout(const QString& Text, const QList<qreal>& Stops) const;
    void Keep(const QString& Key, const std::shared_ptr<QTextLayout>& Layout) const;
    mutable std::unordered_map<QString, std::shared_ptr<QTextLayout>> FKept, FKeptBefore;
    mutable qsizetype FKeptUnits = 0;
    static inline size_t FLayoutsMade = 0;
};
