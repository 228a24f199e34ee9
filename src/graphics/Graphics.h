// Colours, palettes and bitmaps of the class library, over QImage (no widgets).
#pragma once

#include <QImage>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "graphics/Lifetime.h"
#include "text/Exception.h"

// ---------------------------------------------------------------- colours

// A colour is the Windows 0x00BBGGRR integer; values with the top bit set name
// system colours (0x80000000 + the COLOR_* index).
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr int GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}

// The RGB value of a system colour (the classic Windows scheme), any other
// colour unchanged.
TColor ColorToRGB(TColor Color);
QColor ColorToQColor(TColor Color);
TColor QColorToColor(const QColor& Color);

// ---------------------------------------------------------------- palettes

constexpr std::uint8_t PC_RESERVED = 0x01;
constexpr std::uint8_t PC_EXPLICIT = 0x02;
constexpr std::uint8_t PC_NOCOLLAPSE = 0x04;

struct TPaletteEntry {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
    bool operator==(const TPaletteEntry&) const = default;
};

// A logical palette: its entries in order.
using TPalette = std::vector<TPaletteEntry>;

// The system's stock 20-colour palette (DEFAULT_PALETTE): entries 0-9 are the
// static colours of the low end, 10-19 those of the high end.
const TPalette& DefaultPalette();

// The entry nearest to the colour by squared RGB distance (the first of equals);
// -1 for an empty palette.
int GetNearestPaletteIndex(const TPalette& Palette, int Red, int Green, int Blue);

// ---------------------------------------------------------------- exceptions

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class EOutOfMemory : public Exception {
public:
    using Exception::Exception;
};

enum class TProgressStage { psStarting, psRunning, psEnding };

// Creates (or truncates) the file and writes the bytes; raises Exception
// "Cannot create file ..." or "Cannot write file ..." on failure.
void SaveBytesToFile(const std::string& FileName, const std::string& Bytes);

// ---------------------------------------------------------------- bitmap

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// Bits per pixel of a format as stored (pfDevice is held at 32 bits).
int PixelFormatBits(TPixelFormat Format);

// A device-independent bitmap held in a QImage. Rows are addressed top to bottom;
// ScanLine gives the row's bytes in the Windows layout: pf1bit eight pixels per
// byte (most significant bit first), pf4bit two per byte (high nibble first),
// pf8bit one palette index per byte, pf24bit blue, green, red and pf32bit blue,
// green, red, reserved. A new bitmap is empty and pfDevice.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = default;
    TBitmap& operator=(const TBitmap&) = default;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    // Keeps the pixels that remain inside; new true-colour areas are white,
    // new indexed areas index 0.
    void SetSize(int NewWidth, int NewHeight);
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    TPixelFormat PixelFormat() const { return FFormat; }
    // Converts the pixels in place (to indexed formats by the nearest palette
    // entry; a new indexed palette is the 20 system colours, or black and white).
    void SetPixelFormat(TPixelFormat Value);

    // Row Row's bytes; raises EInvalidGraphicOperation "Scan line index out of
    // range" outside 0 .. Height - 1.
    std::uint8_t* ScanLine(int Row);
    const std::uint8_t* ScanLine(int Row) const;

    // The colour table of an indexed bitmap (empty for true colour).
    TPalette Palette() const;
    void SetPalette(const TPalette& Value);

    // The pixel's colour (0x00BBGGRR) whatever the format.
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    // Transparency: with TransparentColor clDefault the colour of the
    // bottom-left pixel is transparent.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; }
    // A pf1bit bitmap of the same size whose bits are 1 where the pixel has the
    // transparent colour (white in its palette), else 0 (black).
    TBitmap MaskHandle() const;

    void Assign(const TBitmap& Source) { *this = Source; }

    // Windows bitmap file (BITMAPFILEHEADER, BITMAPINFOHEADER, colour table,
    // bottom-up rows).
    void SaveToStream(std::ostream& Stream) const;
    void SaveToFile(const std::string& FileName) const;

    // The storage. For pf4bit the rows hold packed nibbles; ToImage gives a
    // plain QImage of any format.
    QImage& Image() { return FImage; }
    const QImage& Image() const { return FImage; }
    QImage ToImage() const;

    // Expires when this bitmap is destroyed (a copy has its own).
    TLifetime::TWatcher Watch() const { return FLifetime.Watch(); }

private:
    QImage::Format StorageFormat(TPixelFormat Format) const;
    QImage Unpacked() const;

    QImage FImage;
    TPalette FPendingPalette; // a palette given before the bitmap has pixels
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FFormat = TPixelFormat::pfDevice;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TLifetime FLifetime;
};

// A 32-bit bitmap holding the image's pixels (any format, alpha dropped).
TBitmap BitmapFromImage(const QImage& Image);
