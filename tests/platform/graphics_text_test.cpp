#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/CanvasText.h"
#include "platform/Font.h"

namespace {

// Installing more fonts (a Noto package for Thai or Devanagari, say) must not change the
// faces the windows and the preview are drawn with.
TEST(Font, WindowsFacesKeepTheirStandInsWhateverElseIsInstalled) {
    struct Case {
        const char16_t* face;
        const char* standIn;
    } cases[] = {{u"Tahoma", "DejaVu Sans"}, {u"Courier New", "Nimbus Mono PS"}};
    const QStringList installed = QFontDatabase::families();
    for (const Case& c : cases) {
        if (installed.contains(QString::fromStdU16String(c.face))) continue; // the real one
        if (!installed.contains(c.standIn)) continue;
        TFont f;
        f.SetName(c.face);
        EXPECT_EQ(QFontInfo(f.ToQFont()).family(), c.standIn);
    }
}

TEST(Bitmap, ScanLinesHoldTheWindowsByteOrder) {
    struct Case {
        TPixelFormat format;
        std::vector<uint8_t> firstBytes; // of row 0 after the pixels below
    } cases[] = {
        {TPixelFormat::pf24bit, {0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA}},
        {TPixelFormat::pf32bit, {0x33, 0x22, 0x11}},
    };
    for (const Case& c : cases) {
        TBitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(3, 2);
        b.SetPixel(0, 0, RGB(0x11, 0x22, 0x33));
        b.SetPixel(1, 0, RGB(0xAA, 0xBB, 0xCC));
        const uint8_t* row = b.ScanLine(0);
        for (size_t i = 0; i < c.firstBytes.size(); ++i)
            EXPECT_EQ(row[i], c.firstBytes[i]) << "byte " << i;
        EXPECT_EQ(b.Pixel(1, 0), RGB(0xAA, 0xBB, 0xCC));
    }
    // Indexed: one palette index per byte, the colour from the table.
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf8bit);
    b.SetSize(2, 1);
    TPalette pal(256);
    pal[5] = TPaletteEntry{0x10, 0x20, 0x30, 0};
    b.SetPalette(pal);
    b.ScanLine(0)[1] = 5;
    EXPECT_EQ(b.Pixel(1, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_THROW(b.ScanLine(1), EInvalidGraphicOperation);
}

TEST(Bitmap, IndexedScanLinesPackPixelsFromTheHighBitsAndSaveAsBmp) {
    struct Case {
        TPixelFormat format;
        uint8_t firstByte; // black, white, black, white... from pixel 0
        uint8_t secondByte;
    } cases[] = {
        {TPixelFormat::pf1bit, 0x55, 0x55}, // 0101 0101: pixel 0 in the top bit
        {TPixelFormat::pf4bit, 0x0F, 0x0F}, // pixel 0 in the high nibble
        {TPixelFormat::pf8bit, 0, 0},       // one byte per pixel: checked by colour
    };
    QTemporaryDir tmp;
    for (const Case& c : cases) {
        TBitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(17, 2);
        for (int x = 0; x < 17; ++x)
            b.SetPixel(x, 0, x % 2 ? clWhite : clBlack);
        for (int x = 0; x < 17; ++x)
            EXPECT_EQ(b.Pixel(x, 0), x % 2 ? clWhite : clBlack) << int(c.format) << " x " << x;
        if (c.format != TPixelFormat::pf8bit) {
            EXPECT_EQ(b.ScanLine(0)[0], c.firstByte) << int(c.format);
            EXPECT_EQ(b.ScanLine(0)[1], c.secondByte) << int(c.format);
        }
        std::string file =
            (tmp.path() + "/i" + QString::number(int(c.format)) + ".bmp").toStdString();
        b.SaveToFile(file);
        QImage img(QString::fromStdString(file));
        ASSERT_FALSE(img.isNull()) << int(c.format);
        EXPECT_EQ(img.size(), QSize(17, 2));
        for (int x = 0; x < 17; ++x)
            EXPECT_EQ(img.pixelColor(x, 0), x % 2 ? QColor(255, 255, 255) : QColor(0, 0, 0))
                << int(c.format) << " x " << x;
    }
}

TEST(Bitmap, SavedBmpReadsBackWithQt) {
    QTemporaryDir tmp;
    std::string file = (tmp.path() + "/b.bmp").toStdString();
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(5, 3); // rows padded to four bytes
    b.SetPixel(4, 2, clRed);
    b.SetPixel(0, 0, clBlue);
    b.SaveToFile(file);
    QImage img(QString::fromStdString(file));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(5, 3));
    EXPECT_EQ(img.pixelColor(4, 2), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor(2, 1), QColor(255, 255, 255));
}

TEST(CanvasText, TextOutInksOnlyInsideItsExtentLeftOrRightOfX) {
    // Left to right the text starts at X; right to left it ends there. An origin moves
    // the drawing coordinates against the bitmap's.
    struct Case {
        unsigned flags;
        TPoint origin;
    };
    for (const Case& c : {Case{0, {0, 0}}, Case{ETO_RTLREADING, {0, 0}}, Case{0, {100, 40}}}) {
        SCOPED_TRACE(c.flags + c.origin.X);
        TBitmap bmp;
        bmp.SetPixelFormat(TPixelFormat::pf24bit);
        bmp.SetSize(120, 50);
        TCanvas canvas(&bmp);
        canvas.Brush.Color = clWhite;
        canvas.FillRect(Rect(0, 0, 120, 50));
        canvas.Origin = c.origin;
        canvas.TextFlags = c.flags;
        canvas.Font().SetColor(clBlack);
        canvas.Font().SetSize(14);
        const int x = 60, y = 8;
        WideCanvasTextOut(canvas, x + c.origin.X, y + c.origin.Y, u"Wg");
        TSize ext = WideCanvasTextExtent(canvas, u"Wg");
        EXPECT_EQ(WideCanvasTextWidth(canvas, u"Wg"), ext.cx);
        EXPECT_EQ(WideCanvasTextHeight(canvas, u"Wg"), ext.cy);
        bool rtl = c.flags & ETO_RTLREADING;
        EXPECT_EQ(canvas.PenPos, Point(x + c.origin.X + (rtl ? -ext.cx : ext.cx), y + c.origin.Y));
        ASSERT_GT(ext.cx, 0);
        int left = rtl ? x - ext.cx : x;
        int inside = 0, outside = 0;
        for (int py = 0; py < 50; ++py)
            for (int px = 0; px < 120; ++px) {
                TColor color = bmp.Pixel(px, py);
                bool dark = GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 128;
                bool in = px >= left - 1 && px <= left + ext.cx && py >= y && py < y + ext.cy;
                if (dark && in) ++inside;
                if (dark && !in) ++outside;
            }
        EXPECT_GT(inside, 10);
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(canvas.Pixel(c.origin.X, c.origin.Y), clWhite);
    }
    TCanvas canvas;
    // A wider text measures wider; an empty one has no width.
    EXPECT_GT(WideCanvasTextWidth(canvas, u"WgWg"), WideCanvasTextWidth(canvas, u"Wg"));
    EXPECT_EQ(WideCanvasTextWidth(canvas, u""), 0);
}

} // namespace

namespace {

TEST(Canvas, FillRectLinesAndSystemColours) {
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(20, 20);
    TCanvas canvas(&bmp);
    int changes = 0;
    canvas.OnChange = [&] { ++changes; };
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(bmp.Pixel(19, 19), ColorToRGB(clBtnFace));
    EXPECT_NE(ColorToRGB(clBtnFace), clBtnFace); // a system colour maps to RGB
    canvas.Brush.Color = clRed;
    canvas.FillRect(Rect(2, 2, 5, 5)); // right and bottom edges excluded
    EXPECT_EQ(bmp.Pixel(4, 4), clRed);
    EXPECT_EQ(bmp.Pixel(5, 5), ColorToRGB(clBtnFace));
    canvas.Pen.Color = clBlue;
    canvas.MoveTo(0, 10);
    canvas.LineTo(19, 10);
    EXPECT_EQ(bmp.Pixel(10, 10), clBlue);
    EXPECT_EQ(canvas.PenPos, Point(19, 10));
    EXPECT_EQ(changes, 3);
}

} // namespace
