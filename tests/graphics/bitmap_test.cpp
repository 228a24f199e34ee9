// The bitmap the codec reads: row layouts, conversions and the BMP file,
// checked with Qt's BMP reader.
#include <gtest/gtest.h>

#include <QImage>

#include <sstream>

#include "graphics/Graphics.h"

namespace {

TBitmap Pattern(TPixelFormat format) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(11, 7);
    if (format == TPixelFormat::pf1bit) bitmap.SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x)
            bitmap.SetPixel(x, y, (x + y) % 3 == 0 ? clWhite : (x % 2 ? clRed : clNavy));
    return bitmap;
}

} // namespace

TEST(GraphicsBitmap, ScanLinesUseTheWindowsLayout) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(2, 1);
    bitmap.SetPixel(1, 0, RGB(10, 20, 30));
    const std::uint8_t* row = bitmap.ScanLine(0);
    EXPECT_EQ(row[3], 30); // blue first
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);

    bitmap.SetPixelFormat(TPixelFormat::pf1bit);
    bitmap.SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
    bitmap.SetPixel(0, 0, clWhite);
    bitmap.SetPixel(1, 0, clBlack);
    EXPECT_EQ(bitmap.ScanLine(0)[0] & 0xC0, 0x80); // most significant bit first

    bitmap.SetPixelFormat(TPixelFormat::pf4bit);
    bitmap.SetPixel(1, 0, clWhite);
    EXPECT_EQ(bitmap.ScanLine(0)[0] >> 4, bitmap.ScanLine(0)[0] & 0x0F); // both white
    EXPECT_THROW(bitmap.ScanLine(1), EInvalidGraphicOperation);
}

TEST(GraphicsBitmap, FormatsConvertWithoutLosingColours) {
    const TPixelFormat formats[] = {TPixelFormat::pfDevice, TPixelFormat::pf24bit,
                                    TPixelFormat::pf32bit, TPixelFormat::pf8bit,
                                    TPixelFormat::pf4bit};
    for (TPixelFormat from : formats)
        for (TPixelFormat to : formats) {
            TBitmap original = Pattern(from);
            TBitmap converted = original;
            converted.SetPixelFormat(to);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 11; ++x)
                    ASSERT_EQ(converted.Pixel(x, y), original.Pixel(x, y))
                        << static_cast<int>(from) << "->" << static_cast<int>(to);
        }
}

TEST(GraphicsBitmap, ResizingKeepsPixelsAndPaintsNewAreasWhite) {
    for (TPixelFormat format :
         {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf24bit}) {
        TBitmap bitmap = Pattern(format);
        const TBitmap before = bitmap;
        bitmap.SetWidth(5);
        bitmap.SetSize(14, 9);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(bitmap.Pixel(x, y), before.Pixel(x, y));
        if (format == TPixelFormat::pf24bit) {
            EXPECT_EQ(bitmap.Pixel(13, 8), clWhite);
        }
    }
}

TEST(GraphicsBitmap, PaletteGivenBeforeTheSizeIsKept) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    bitmap.SetPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Palette().size(), 2u);
    EXPECT_EQ(bitmap.Pixel(1, 1), RGB(1, 2, 3));
}

TEST(GraphicsBitmap, BmpFilesReadBackInQt) {
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        const TBitmap bitmap = Pattern(format);
        std::ostringstream out;
        bitmap.SaveToStream(out);
        const std::string bytes = out.str();
        const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                              static_cast<int>(bytes.size()), "BMP");
        ASSERT_FALSE(image.isNull()) << static_cast<int>(format);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(QColorToColor(image.pixelColor(x, y)), bitmap.Pixel(x, y))
                    << static_cast<int>(format) << " at " << x << "," << y;
    }
}

TEST(GraphicsBitmap, TransparentMaskFollowsTheBottomLeftPixel) {
    TBitmap bitmap = Pattern(TPixelFormat::pf24bit);
    bitmap.SetTransparent(true);
    const TColor transparent = bitmap.Pixel(0, 6);
    EXPECT_EQ(bitmap.TransparentColor(), transparent);
    const TBitmap mask = bitmap.MaskHandle();
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x)
            EXPECT_EQ(mask.Pixel(x, y) == clWhite, bitmap.Pixel(x, y) == transparent);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
}
