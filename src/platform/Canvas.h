// Canvases: pen, brush and font drawing onto a bitmap, over QPainter.
#pragma once

#include <functional>
#include <memory>

#include "graphics/BitmapCanvas.h"
#include "graphics/Graphics.h"
#include "platform/Font.h"
#include "platform/Types.h"

class QPainter;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TBrushStyle { bsSolid, bsClear };

// Text flags of a canvas: right-to-left reading.
constexpr unsigned ETO_RTLREADING = 0x80;

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// Draws onto a bitmap; every drawing operation reports OnChange afterwards.
class TCanvas : public TBitmapCanvas {
public:
    explicit TCanvas(TBitmap* Target = nullptr);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont& Font() { return *FFont; }
    TPoint PenPos;
    // Where the target bitmap's top-left corner lies in the coordinates the drawing
    // uses (an item of a list is drawn in its control's coordinates onto a bitmap of
    // the item alone).
    TPoint Origin;
    // ETO_RTLREADING: text reads right to left and ends at the X it is drawn at.
    unsigned TextFlags = 0;

    void MoveTo(int X, int Y) { PenPos = Point(X, Y); }
    void LineTo(int X, int Y);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Polygon(const std::vector<TPoint>& Points);
    // Draws the text with its top-left corner at (X, Y), or with ETO_RTLREADING in
    // right-to-left order with its top-right corner there; the pen moves on past its end.
    void TextOut(int X, int Y, const WideString& Text);
    void TextRect(const TRect& R, int X, int Y, const WideString& Text);
    TSize TextExtent(const WideString& Text) const;
    int TextWidth(const WideString& Text) const { return TextExtent(Text).cx; }
    int TextHeight(const WideString& Text) const { return TextExtent(Text).cy; }
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);
    void Draw(int X, int Y, const TBitmap& Bitmap);
    void StretchDraw(const TRect& R, const TBitmap& Bitmap);

private:
    template <class F> void Paint(F&& Fn);
    std::unique_ptr<TFont> FFont;
};
