// Writing a bitmap as a GIF: the bytes of the text road, frames from every
// kind of bitmap, and the errors.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "gif/GIFImage.h"
#include "gif_oracle.h"

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TBitmap SolidBitmap(int width, int height, TColor color,
                    TPixelFormat format = TPixelFormat::pf32bit) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, color);
    return bitmap;
}

// Saves the bitmap as the text road does and checks that the file reads back
// with the same size, colour map and pixels.
void ExpectReadsBack(TGIFImage& gif, const TBitmap& bitmap, const std::string& bytes) {
    TGIFImage read;
    std::istringstream in(bytes);
    read.LoadFromStream(in);
    EXPECT_EQ(read.Width(), bitmap.Width());
    EXPECT_EQ(read.Height(), bitmap.Height());
    // an empty frame is not written at all
    EXPECT_EQ(read.Images().Count(), bitmap.Empty() ? 0 : 1);
    if (read.Images().Count() == 1 && !bitmap.Empty()) {
        const TGIFSubImage& written = *gif.Images()[0];
        const TGIFSubImage& frame = *read.Images()[0];
        EXPECT_EQ(frame.Data(), written.Data());
        const auto& entries = written.ColorMap().Entries();
        // the file's map is padded to a power of two
        ASSERT_GE(frame.ColorMap().Count(), written.ColorMap().Count());
        EXPECT_TRUE(std::equal(entries.begin(), entries.end(), frame.ColorMap().Entries().begin()));
    }
}

std::string SaveBitmap(TBitmap& bitmap, int pixelCoding = 0) {
    TGIFImage gif;
    gif.PixelCoding = pixelCoding;
    gif.Assign(&bitmap);
    const std::string bytes = SaveToBytes(gif);
    ExpectReadsBack(gif, bitmap, bytes);
    return bytes;
}

std::string ExpectedWebTable() {
    std::string table;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                table += static_cast<char>(51 * r);
                table += static_cast<char>(51 * g);
                table += static_cast<char>(51 * b);
            }
    return table + std::string(40 * 3, '\0');
}

} // namespace

TEST(GifWriter, OneWhitePixelIsByteExact) {
    TBitmap bitmap = SolidBitmap(1, 1, clWhite);
    const std::string bytes = SaveBitmap(bitmap);
    ASSERT_EQ(bytes.size(), 799u);
    EXPECT_EQ(Hex(bytes.substr(0, 13)), "47 49 46 38 37 61 01 00 01 00 77 00 00");
    EXPECT_EQ(Hex(bytes.substr(13, 10)), "2C 00 00 00 00 01 00 01 00 87");
    EXPECT_EQ(bytes.substr(23, 768), ExpectedWebTable());
    EXPECT_EQ(Hex(bytes.substr(791)), "08 04 00 AF 05 04 00 3B");
    // the bitmap handed over is left at 24 bits per pixel
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(GifWriter, FourWhitePixelsCodeTheirRun) {
    TBitmap bitmap = SolidBitmap(4, 1, clWhite);
    const std::string bytes = SaveBitmap(bitmap);
    EXPECT_EQ(Hex(bytes.substr(791)), "08 06 00 AF 09 BC 16 10 00 3B");
}

TEST(GifWriter, EmptyBitmapWritesScreenAndTrailerOnly) {
    TBitmap bitmap;
    EXPECT_EQ(Hex(SaveBitmap(bitmap)), "47 49 46 38 37 61 00 00 00 00 77 00 00 3B");
}

TEST(GifWriter, PictureWithoutFramesCannotBeSaved) {
    TGIFImage gif;
    try {
        SaveToBytes(gif);
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Unsupported GIF version");
    }
}

TEST(GifWriter, OversizedBitmapRaisesAndWritesNothing) {
    const auto path = std::filesystem::temp_directory_path() / "quorbel_gif_oversize.gif";
    std::filesystem::remove(path);
    for (auto [w, h] : {std::pair{1, 65536}, std::pair{65536, 1}}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(TPixelFormat::pf8bit);
        bitmap.SetSize(w, h);
        TGIFImage gif;
        try {
            gif.Assign(&bitmap);
            gif.SaveToFile(path.string());
            FAIL() << "no exception for " << w << "x" << h;
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "Invalid image dimensions");
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(GifWriter, FailedSaveLeavesNoFile) {
    const auto path = std::filesystem::temp_directory_path() / "quorbel_gif_failed.gif";
    std::filesystem::remove(path);
    TGIFImage gif;
    EXPECT_THROW(gif.SaveToFile(path.string()), GIFException);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(GifWriter, IndexedBitmapsKeepTheirColourTables) {
    struct Case {
        TPixelFormat Format;
        TPalette Palette;
    };
    const TPalette two = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    TPalette sixteen, many;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(i), 7, 0});
    for (int i = 0; i < 256; ++i)
        many.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i ^ 0x55), 1, 0});
    for (const Case& c : {Case{TPixelFormat::pf1bit, two}, Case{TPixelFormat::pf4bit, sixteen},
                          Case{TPixelFormat::pf8bit, many}}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.Format);
        bitmap.SetSize(13, 5);
        bitmap.SetPalette(c.Palette);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                const auto& e = c.Palette[(x * 3 + y * 5) % c.Palette.size()];
                bitmap.SetPixel(x, y, RGB(e.peRed, e.peGreen, e.peBlue));
            }
        const OracleImage decoded = DecodeWithGiflib(SaveBitmap(bitmap));
        ASSERT_TRUE(decoded.Ok) << decoded.Error;
        ASSERT_EQ(decoded.Frames.size(), 1u);
        const OracleFrame& frame = decoded.Frames[0];
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                const TGIFColor color = frame.ColorMap.at(frame.Pixels[y * 13 + x]);
                EXPECT_EQ(RGB(color.Red, color.Green, color.Blue), bitmap.Pixel(x, y))
                    << "format " << static_cast<int>(c.Format) << " at " << x << "," << y;
            }
    }
}

TEST(GifWriter, ReductionMethodZeroCollectsColoursUpTo256) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(300, 1);
    for (int x = 0; x < 300; ++x)
        bitmap.SetPixel(x, 0, RGB(x & 0xFF, x >> 8, 9));
    TGIFImage gif;
    gif.ReductionMethod = 0;
    try {
        gif.Assign(&bitmap);
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
    bitmap.SetSize(256, 1);
    gif.Assign(&bitmap);
    const OracleImage decoded = DecodeWithGiflib(SaveToBytes(gif));
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    for (int x = 0; x < 256; ++x) {
        const TGIFColor c = decoded.Frames[0].ColorMap.at(decoded.Frames[0].Pixels[x]);
        EXPECT_EQ(RGB(c.Red, c.Green, c.Blue), bitmap.Pixel(x, 0));
    }
}

TEST(GifWriter, InvalidReductionOrDitherRaises) {
    for (auto [reduction, dither] : {std::pair{10, 0}, std::pair{6, 7}, std::pair{-1, 0}}) {
        TBitmap bitmap = SolidBitmap(3, 3, clRed);
        TGIFImage gif;
        gif.ReductionMethod = reduction;
        gif.DitherMethod = dither;
        EXPECT_THROW(gif.Assign(&bitmap), GIFException) << reduction << "/" << dither;
        EXPECT_TRUE(gif.Empty());
    }
    // method 9 needs a palette that the bitmap road never gives
    TBitmap bitmap = SolidBitmap(3, 3, clRed);
    TGIFImage gif;
    gif.ReductionMethod = 9;
    EXPECT_THROW(gif.Assign(&bitmap), GIFException);
}

TEST(GifWriter, TransparentBitmapMarksMaskedPixels) {
    TBitmap bitmap = SolidBitmap(4, 3, clWhite, TPixelFormat::pf24bit);
    bitmap.SetPixel(1, 1, clBlue);
    bitmap.SetPixel(2, 1, clBlue);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(clWhite);
    TGIFImage gif;
    gif.ReductionMethod = 0; // reduced maps are full: collect the two colours instead
    gif.Assign(&bitmap);
    const std::string bytes = SaveToBytes(gif);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    // the frame starts with a graphic control extension naming the appended entry
    const std::size_t at = 13;
    ASSERT_EQ(Hex(bytes.substr(at, 4)), "21 F9 04 01");
    const int transparent = static_cast<unsigned char>(bytes[at + 6]);
    const TGIFSubImage& frame = *gif.Images()[0];
    EXPECT_EQ(frame.ColorMap().Count(), transparent + 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(frame.Pixels(x, y) == transparent, !(y == 1 && (x == 1 || x == 2)));
}

TEST(GifWriter, TransparencyWithFullMapIsSkippedWithWarning) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    bitmap.SetSize(4, 4);
    TPalette palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<std::uint8_t>(i), 0, 0, 0};
    bitmap.SetPalette(palette);
    bitmap.SetTransparent(true);
    TGIFImage gif;
    std::vector<std::string> warnings;
    gif.OnProblem = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    gif.Assign(&bitmap);
    EXPECT_EQ(warnings, std::vector<std::string>{"Color table overflow"});
    EXPECT_EQ(gif.Images()[0]->Extensions().Count(), 0);
    EXPECT_TRUE(DecodeWithGiflib(SaveToBytes(gif)).Ok);
}

TEST(GifWriter, FrameBoundsGrowTheScreenWithWarnings) {
    TGIFImage gif;
    std::vector<std::string> warnings;
    gif.OnProblem = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    auto frame = std::make_unique<TGIFSubImage>(&gif);
    frame->SetBounds(0, 0, 10, 10);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(gif.Width(), 10);
    frame->SetBounds(5, 0, 10, 20);
    EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                  "Image height too small for contained frames",
                                                  "Image exceeds Logical Screen size"}));
    EXPECT_EQ(gif.Width(), 15);
    EXPECT_EQ(gif.Height(), 20);
    gif.AddFrame(std::move(frame));
    try {
        gif.SetWidth(14);
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Image width too small for contained frames");
    }
    EXPECT_THROW(gif.SetHeight(19), GIFException);
    gif.SetWidth(30);
    EXPECT_EQ(gif.Width(), 30);
}

TEST(GifWriter, ProgressReportsSaving) {
    TBitmap bitmap = SolidBitmap(8, 40, clGreen);
    TGIFImage gif;
    std::vector<std::pair<TProgressStage, int>> saving;
    gif.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, const std::string& m) {
        if (m == "Saving...") saving.emplace_back(stage, percent);
    };
    gif.Assign(&bitmap);
    SaveToBytes(gif);
    EXPECT_EQ(saving,
              (std::vector<std::pair<TProgressStage, int>>{{TProgressStage::psStarting, 0},
                                                           {TProgressStage::psRunning, 100},
                                                           {TProgressStage::psEnding, 100}}));
}

TEST(GifWriter, SaveToFileAndQtReadTheTextRoad) {
    // a picture the way the text road makes it: a white page with dark text pixels
    TBitmap bitmap = SolidBitmap(40, 25, clWhite, TPixelFormat::pf32bit);
    for (int x = 10; x < 30; ++x)
        bitmap.SetPixel(x, 12, RGB(0, 0, 0));
    const auto path = std::filesystem::temp_directory_path() / "quorbel_gif_text.gif";
    TGIFImage gif;
    gif.Assign(&bitmap);
    gif.SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    int w = 0, h = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(DecodeWithQt(bytes, w, h, argb));
    ASSERT_EQ(w, 40);
    ASSERT_EQ(h, 25);
    EXPECT_EQ(argb[12 * 40 + 15] & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(argb[0] & 0xFFFFFF, 0xFFFFFFu);
    std::filesystem::remove(path);
}

TEST(GifWriter, AntialiasedTrueColourPageReadsBackAsItsWebColours) {
    // The text road's picture: a page in two colours whose shapes have
    // antialiased edges in many in-between shades, at 24 and 32 bits and in
    // the format of a new bitmap.
    const int width = 173, height = 61;
    for (TPixelFormat format :
         {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pfDevice}) {
        for (TColor paper : {clWhite, RGB(250, 245, 200)}) {
            TBitmap bitmap = SolidBitmap(width, height, paper, format);
            {
                QPainter painter(&bitmap.Image());
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(QPen(QColor(20, 20, 90), 1.3));
                for (int i = 0; i < 12; ++i)
                    painter.drawEllipse(QRectF(4 + 14 * i, 6 + (i % 3), 9.5, 17.25));
                QPainterPath stroke;
                stroke.moveTo(2, 50);
                stroke.cubicTo(60, 30, 110, 70, 170, 41);
                painter.drawPath(stroke);
            }
            std::vector<TColor> source;
            std::set<TColor> shades;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    source.push_back(bitmap.Pixel(x, y));
                    shades.insert(source.back());
                }
            ASSERT_GT(shades.size(), 20u) << "no antialiasing";

            const auto path = std::filesystem::temp_directory_path() / "quorbel_gif_page.gif";
            TGIFImage gif;
            gif.Assign(&bitmap);
            gif.SaveToFile(path.string());
            std::ifstream in(path, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            std::filesystem::remove(path);

            int w = 0, h = 0;
            std::vector<std::uint32_t> argb;
            ASSERT_TRUE(DecodeWithQt(bytes, w, h, argb));
            ASSERT_EQ(w, width);
            ASSERT_EQ(h, height);
            const OracleImage decoded = DecodeWithGiflib(bytes);
            ASSERT_TRUE(decoded.Ok) << decoded.Error;
            ASSERT_EQ(decoded.Frames.size(), 1u);
            for (int i = 0; i < width * height; ++i) {
                // each channel falls to the web level (c + 3) div 51
                const TColor c = source[static_cast<std::size_t>(i)];
                const int r = (GetRValue(c) + 3) / 51, g = (GetGValue(c) + 3) / 51,
                          b = (GetBValue(c) + 3) / 51;
                const std::uint32_t expected =
                    0xFF000000u | (51u * r) << 16 | (51u * g) << 8 | (51u * b);
                ASSERT_EQ(argb[static_cast<std::size_t>(i)], expected)
                    << "pixel " << i << ", format " << static_cast<int>(format);
                ASSERT_EQ(decoded.Frames[0].Pixels[static_cast<std::size_t>(i)],
                          36 * r + 6 * g + b);
            }
            ExpectReadsBack(gif, bitmap, bytes);
        }
    }
}
