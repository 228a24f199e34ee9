// Fonts of the class library: a name, a size in points, a colour and styles.
#pragma once

#include <QFont>
#include <functional>

#include "graphics/Graphics.h"
#include "platform/Classes.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont : public TPersistent {
public:
    TFont();

    const WideString& Name() const { return FName; }
    void SetName(const WideString& Value);
    // Points; Height is the pixel height at 96 dpi, negative for the character height.
    int Size() const { return FSize; }
    void SetSize(int Value);
    int Height() const;
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    int Charset = 1; // DEFAULT_CHARSET; kept for callers that store it

    void Assign(TPersistent* Source) override;
    bool operator==(const TFont& o) const {
        return FName == o.FName && FSize == o.FSize && FColor == o.FColor && FStyle == o.FStyle;
    }

    QFont ToQFont() const;
    std::function<void()> OnChange;

private:
    void Changed();
    WideString FName;
    int FSize = 8;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
};

// The Windows faces the program names (Tahoma for windows, Courier New for texts) are
// drawn with the same stand-ins on every machine where those are installed, whatever
// other fonts the desktop adds: a window's layout and the width of its text stay put.
void PinStandInFonts();
