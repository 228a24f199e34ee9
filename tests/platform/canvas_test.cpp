#include "platform/Canvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TBitmap WhiteBitmap(int w, int h) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf32bit);
    b.SetSize(w, h);
    TCanvas c(&b);
    c.Brush.Color = clWhite;
    c.FillRect(Rect(0, 0, w, h));
    return b;
}

TEST(Canvas, RectanglesLinesAndPixelsFollowWindowsEdges) {
    TBitmap b = WhiteBitmap(20, 20);
    TCanvas c(&b);
    int changes = 0;
    c.OnChange = [&] { ++changes; };
    c.Brush.Color = clBlue;
    c.Pen.Color = clRed;
    c.Rectangle(2, 2, 10, 8); // right and bottom edges excluded
    struct Probe {
        int x, y;
        TColor expected;
    };
    const Probe probes[] = {
        {2, 2, clRed},  {9, 2, clRed},    {2, 7, clRed},   {9, 7, clRed},
        {5, 5, clBlue}, {10, 5, clWhite}, {5, 8, clWhite}, {1, 1, clWhite},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(c.Pixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    c.Pen.Color = clLime;
    c.MoveTo(0, 15);
    c.LineTo(19, 15);
    EXPECT_EQ(c.Pixel(10, 15), clLime);
    EXPECT_EQ(c.PenPos, Point(19, 15));
    c.SetPixel(0, 0, clBlack);
    EXPECT_EQ(c.Pixel(0, 0), clBlack);
    EXPECT_EQ(c.Pixel(-1, 0), -1);
    EXPECT_EQ(changes, 3);
}

TEST(Canvas, TextIsMeasuredWithTheCanvasFontAndMovesThePen) {
    TBitmap b = WhiteBitmap(200, 40);
    TCanvas c(&b);
    c.Font().SetName(u"DejaVu Sans");
    c.Font().SetSize(12);
    WideString text = u"Ωmega 😀";
    QFontMetrics fm(c.Font().ToQFont());
    EXPECT_EQ(c.TextWidth(text), fm.horizontalAdvance(QString::fromStdU16String(text)));
    EXPECT_EQ(c.TextHeight(text), fm.height());
    c.Font().SetColor(clBlack);
    c.Brush.Style = bsClear;
    c.TextOut(5, 5, text);
    EXPECT_EQ(c.PenPos, Point(5 + c.TextWidth(text), 5));
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (c.Pixel(x, y) != clWhite) ++dark;
    EXPECT_GT(dark, 10);
}

TEST(Font, SizeAndPixelHeightAt96Dpi) {
    TFont f;
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -11);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetStyle(fsBold | fsUnderline);
    f.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(f.ToQFont().bold());
    EXPECT_TRUE(f.ToQFont().underline());
    EXPECT_EQ(f.ToQFont().pixelSize(), 16);
}

} // namespace
