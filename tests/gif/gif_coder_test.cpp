// The pixel coders against independent decoders (giflib, Qt) and our reader.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "gif/GIFEncoder.h"
#include "gif/GIFImage.h"
#include "gif_oracle.h"

namespace {

struct Picture {
    int Width, Height;
    std::vector<TGIFColor> Map;
    std::vector<std::uint8_t> Pixels;
};

std::string Encode(const Picture& p, int coding, bool interlaced = false) {
    TGIFImage gif;
    gif.PixelCoding = coding;
    gif.AddFrame(MakeFrame(gif, p.Width, p.Height, p.Map, p.Pixels, interlaced));
    return SaveToBytes(gif);
}

Picture RandomPicture(std::mt19937& rng, int width, int height, int colors) {
    Picture p{width, height, DistinctColors(colors), {}};
    std::uniform_int_distribution<int> pick(0, colors - 1);
    for (int i = 0; i < width * height; ++i)
        p.Pixels.push_back(static_cast<std::uint8_t>(pick(rng)));
    return p;
}

// Runs of the given lengths, cycling through the colours.
Picture RunPicture(int width, int height, int colors, const std::vector<int>& runs) {
    Picture p{width, height, DistinctColors(colors), {}};
    std::size_t run = 0;
    int color = 0;
    while (p.Pixels.size() < static_cast<std::size_t>(width * height)) {
        for (int i = 0; i < runs[run % runs.size()]; ++i)
            p.Pixels.push_back(static_cast<std::uint8_t>(color));
        color = (color + 1) % colors;
        ++run;
    }
    p.Pixels.resize(static_cast<std::size_t>(width * height));
    return p;
}

// Count pixels in runs of 1 to Longest pixels of random colours below Colors.
std::vector<std::uint8_t> RandomRuns(std::mt19937& rng, std::size_t count, std::uint32_t longest,
                                     std::uint32_t colors) {
    std::vector<std::uint8_t> pixels;
    while (pixels.size() < count)
        pixels.insert(pixels.end(), 1 + rng() % longest, static_cast<std::uint8_t>(rng() % colors));
    pixels.resize(count);
    return pixels;
}

std::unique_ptr<TGIFEncoder> MakeEncoder(int coding) {
    if (coding == 1) return std::make_unique<TRLEEncoder>();
    return std::make_unique<TLZWEncoder>();
}

void ExpectGiflibDecodes(const Picture& p, const std::string& bytes, const std::string& what) {
    const OracleImage decoded = DecodeWithGiflib(bytes);
    ASSERT_TRUE(decoded.Ok) << what << ": " << decoded.Error;
    ASSERT_EQ(decoded.Frames.size(), 1u) << what;
    EXPECT_EQ(decoded.Frames[0].Pixels, p.Pixels) << what;
    EXPECT_EQ(std::vector<TGIFColor>(decoded.Frames[0].ColorMap.begin(),
                                     decoded.Frames[0].ColorMap.begin() + p.Map.size()),
              p.Map)
        << what;
}

void ExpectQtDecodes(const Picture& p, const std::string& bytes, const std::string& what) {
    int w = 0, h = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(DecodeWithQt(bytes, w, h, argb)) << what;
    ASSERT_EQ(w, p.Width);
    ASSERT_EQ(h, p.Height);
    for (std::size_t i = 0; i < p.Pixels.size(); ++i) {
        const TGIFColor c = p.Map[p.Pixels[i]];
        const std::uint32_t expected = 0xFF000000u | (c.Red << 16) | (c.Green << 8) | c.Blue;
        if (argb[i] != expected) {
            ADD_FAILURE() << what << ": pixel " << i;
            return;
        }
    }
}

void ExpectReadBack(const Picture& p, const std::string& bytes, const std::string& what) {
    std::istringstream in(bytes);
    TGIFImage gif;
    gif.LoadFromStream(in);
    ASSERT_EQ(gif.Images().Count(), 1) << what;
    EXPECT_EQ(gif.Images()[0]->Data(), p.Pixels) << what;
}

} // namespace

TEST(GifCoders, RandomImagesDecodeExactly) {
    std::mt19937 rng(20261206);
    const std::vector<std::pair<int, std::pair<int, int>>> cases = {
        {256, {300, 200}}, {2, {500, 300}}, {4, {61, 17}}, {8, {33, 40}}, {16, {97, 13}}};
    for (const auto& [colors, size] : cases) {
        const Picture p = RandomPicture(rng, size.first, size.second, colors);
        for (int coding : {0, 1}) {
            const std::string what =
                std::to_string(colors) + " colours, coding " + std::to_string(coding);
            const std::string bytes = Encode(p, coding);
            ExpectGiflibDecodes(p, bytes, what);
            ExpectQtDecodes(p, bytes, what);
            ExpectReadBack(p, bytes, what);
        }
    }
}

TEST(GifCoders, RunsOfManyLengthsAtEveryCodeSize) {
    const std::vector<std::vector<int>> runPatterns = {
        {3}, {6}, {10}, {4095}, {1, 2, 3, 4095, 6, 10, 1, 1}, {5000, 3, 9000, 2}, {7, 7, 7, 1}};
    for (int colors : {4, 8, 16, 256, 2}) {
        for (const auto& runs : runPatterns) {
            const Picture p = RunPicture(250, 160, colors, runs);
            for (int coding : {0, 1}) {
                const std::string what = std::to_string(colors) + " colours, coding " +
                                         std::to_string(coding) + ", first run " +
                                         std::to_string(runs[0]);
                const std::string bytes = Encode(p, coding);
                ExpectGiflibDecodes(p, bytes, what);
                ExpectReadBack(p, bytes, what);
            }
        }
    }
}

TEST(GifCoders, SingleColourLongImagesWithRunLengthCoding) {
    // a run far beyond one table cycle, including one long enough to clear many times
    for (auto [w, h] :
         {std::pair{1, 1}, std::pair{2, 1}, std::pair{4095, 1}, std::pair{2000, 600}}) {
        const Picture p{w, h, DistinctColors(4), std::vector<std::uint8_t>(w * h, 3)};
        for (int coding : {0, 1}) {
            const std::string bytes = Encode(p, coding);
            ExpectGiflibDecodes(p, bytes, std::to_string(w) + "x" + std::to_string(h));
        }
    }
}

TEST(GifCoders, InterlacedFramesOfEveryShortHeight) {
    std::mt19937 rng(7);
    for (int height = 1; height <= 17; ++height) {
        const Picture p = RandomPicture(rng, 5, height, 16);
        for (int coding : {0, 1}) {
            const std::string bytes = Encode(p, coding, true);
            const std::string what = "height " + std::to_string(height);
            ExpectGiflibDecodes(p, bytes, what);
            ExpectReadBack(p, bytes, what);
        }
    }
}

TEST(GifCoders, RunLengthCodesOfOneColour) {
    // clear, the colour, then FirstFreeCode, FirstFreeCode + 1 ... (runs of 2, 3 ...)
    std::ostringstream out;
    const std::vector<std::uint8_t> pixels(1 + 2 + 3, 1);
    TRLEEncoder encoder;
    encoder.EncodeFrame(out, 2, 4, pixels.data(), false, 1, 6);
    // min code size 2: clear 4, EOI 5, first free 6; codes 4, 1, 6, 7, 5 at 3 bits
    // (the width grows to 4 bits after three codes since the clear)
    const std::string bytes = out.str();
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 2);
    std::uint32_t bits = 0;
    for (int i = 0; i < static_cast<unsigned char>(bytes[1]); ++i)
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 + i])) << (8 * i);
    const int widths[] = {3, 3, 3, 3, 4};
    const int expected[] = {4, 1, 6, 7, 5};
    int shift = 0;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ((bits >> shift) & ((1u << widths[i]) - 1),
                  static_cast<std::uint32_t>(expected[i]))
            << "code " << i;
        shift += widths[i];
    }
}

TEST(GifCoders, TwoColourFramesUseCodeSizeTwo) {
    std::ostringstream out;
    const std::vector<std::uint8_t> pixels = {0, 1, 1, 0};
    TLZWEncoder encoder;
    encoder.EncodeFrame(out, 1, 2, pixels.data(), false, 1, 4);
    const std::string bytes = out.str();
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]) & 7, 4); // the clear code at 3 bits
    EXPECT_EQ(bytes.back(), 0);
}

TEST(GifCoders, EmptyFrameDataHoldsOnlyTheEndCode) {
    for (int coding : {0, 1}) {
        std::ostringstream out;
        const std::unique_ptr<TGIFEncoder> encoder = MakeEncoder(coding);
        encoder->EncodeFrame(out, 8, 256, nullptr, false, 0, 0);
        EXPECT_EQ(out.str(), std::string("\x08\x02\x01\x01\x00", 5)) << coding;
    }
}

TEST(GifCoders, PixelOutsideTheColourCountRaises) {
    const std::vector<std::uint8_t> pixels = {0, 1, 2, 3, 4};
    for (int coding : {0, 1}) {
        std::ostringstream out;
        const std::unique_ptr<TGIFEncoder> encoder = MakeEncoder(coding);
        try {
            encoder->EncodeFrame(out, 2, 4, pixels.data(), false, 1, 5);
            FAIL() << "no exception, coding " << coding;
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "Color not in color table");
        }
    }
}

TEST(GifCoders, SubBlocksHoldAtMost255BytesAndNoEmptyBlockBeforeTheEnd) {
    std::mt19937 rng(3);
    for (int width = 1; width < 1200; width += 7) {
        const Picture p = RandomPicture(rng, width, 1, 256);
        const std::string bytes = Encode(p, 0);
        // walk the data blocks after the descriptor and the 256-entry map
        std::size_t pos = 6 + 7 + 10 + 768 + 1;
        int blocks = 0;
        while (true) {
            ASSERT_LT(pos, bytes.size());
            const int size = static_cast<unsigned char>(bytes[pos]);
            if (size == 0) break;
            ++blocks;
            pos += size + 1;
        }
        EXPECT_EQ(pos + 2, bytes.size()) << "width " << width; // terminator and trailer
        EXPECT_GT(blocks, 0);
    }
}

TEST(GifCoders, RandomRunMixturesDecodeExactly) {
    // Many small pictures: colour counts of every code size (and counts that
    // are no power of two), a few or all colours in use, runs from single
    // pixels to far beyond a table cycle, plain and interlaced.
    std::mt19937 rng(606);
    for (int i = 0; i < 400; ++i) {
        const int bits = 1 + static_cast<int>(rng() % 8);
        const int colors =
            std::max(2, i % 3 == 0 ? 1 + static_cast<int>(rng() % (1u << bits)) : 1 << bits);
        const int width = 1 + static_cast<int>(rng() % (i % 10 == 0 ? 1500 : 300));
        const int height = 1 + static_cast<int>(rng() % (i % 10 == 0 ? 300 : 40));
        std::vector<std::uint8_t> inUse;
        const int used = 1 + static_cast<int>(rng() % (i % 2 ? std::min(colors, 4) : colors));
        for (int k = 0; k < used; ++k)
            inUse.push_back(static_cast<std::uint8_t>(rng() % colors));
        const std::uint32_t longest = std::vector<std::uint32_t>{4, 100, 10000, 100000}[i % 4];
        Picture p{width, height, DistinctColors(colors), {}};
        while (p.Pixels.size() < static_cast<std::size_t>(width) * height)
            p.Pixels.insert(p.Pixels.end(), 1 + rng() % longest, inUse[rng() % inUse.size()]);
        p.Pixels.resize(static_cast<std::size_t>(width) * height);
        const bool interlaced = i % 5 == 0;
        for (int coding : {0, 1}) {
            const std::string what =
                "picture " + std::to_string(i) + ", coding " + std::to_string(coding);
            const std::string bytes = Encode(p, coding, interlaced);
            ExpectGiflibDecodes(p, bytes, what);
            ExpectReadBack(p, bytes, what);
        }
    }
}

TEST(GifCoders, LzwDataEqualAPlainCoderThatClearsBeforeCode4095) {
    // The same codes at the same widths, the clear in place of entry 4095,
    // byte for byte, on pictures that fill the table many times or never.
    std::mt19937 rng(4095);
    for (int i = 0; i < 120; ++i) {
        const int bits = 1 + static_cast<int>(rng() % 8);
        const int width = 1 + static_cast<int>(rng() % 300);
        const int height = 1 + static_cast<int>(rng() % 100);
        const std::uint32_t longest = std::vector<std::uint32_t>{1, 10, 2000}[i % 3];
        const std::vector<std::uint8_t> pixels =
            RandomRuns(rng, static_cast<std::size_t>(width) * height, longest, 1u << bits);
        std::ostringstream out;
        TLZWEncoder encoder;
        encoder.EncodeFrame(out, bits, 1 << bits, pixels.data(), false, height, width);
        ASSERT_EQ(out.str(), ReferenceLZW(pixels, std::max(2, bits), 4095))
            << "picture " << i << ": " << bits << " bits, " << width << "x" << height;
    }
}

TEST(GifCoders, LzwDataEqualAPlainCoderInInterlacedOrderAndAtAnyColourCount) {
    // An interlaced frame is one string of pixels in its rows' storage order
    // (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd
    // from 1); colour counts that are not a power of two are checked pixel by
    // pixel and code exactly as the others.
    std::mt19937 rng(1717);
    for (int i = 0; i < 80; ++i) {
        const int bits = 1 + static_cast<int>(rng() % 8);
        const int colors = 1 + static_cast<int>(rng() % (1u << bits));
        const int width = 1 + static_cast<int>(rng() % 150);
        const int height = 1 + static_cast<int>(rng() % 40);
        const std::uint32_t longest = std::vector<std::uint32_t>{1, 6, 400}[i % 3];
        const std::vector<std::uint8_t> pixels =
            RandomRuns(rng, static_cast<std::size_t>(width) * height, longest,
                       static_cast<std::uint32_t>(colors));
        std::vector<std::uint8_t> stored;
        for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = start; y < height; y += step)
                stored.insert(stored.end(), pixels.begin() + y * width,
                              pixels.begin() + (y + 1) * width);
        for (const bool interlaced : {false, true}) {
            std::ostringstream out;
            TLZWEncoder encoder;
            encoder.EncodeFrame(out, bits, colors, pixels.data(), interlaced, height, width);
            ASSERT_EQ(out.str(),
                      ReferenceLZW(interlaced ? stored : pixels, std::max(2, bits), 4095))
                << "picture " << i << ": " << colors << " colours, " << width << "x" << height
                << (interlaced ? ", interlaced" : "");
        }
    }
}

TEST(GifCoders, PixelOutsideTheColourCountRaisesWhereverItLies) {
    // in the first row, in a later row, and in a row of each interlace pass
    const int width = 9, height = 11;
    for (const bool interlaced : {false, true})
        for (int at : {0, 1, 8, width * 5 + 3, width * 8, width * height - 1}) {
            std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 2);
            pixels[static_cast<std::size_t>(at)] = 5;
            for (int coding : {0, 1}) {
                std::ostringstream out;
                const std::unique_ptr<TGIFEncoder> encoder = MakeEncoder(coding);
                EXPECT_THROW(
                    encoder->EncodeFrame(out, 3, 5, pixels.data(), interlaced, height, width),
                    GIFException)
                    << "pixel " << at << ", coding " << coding
                    << (interlaced ? ", interlaced" : "");
            }
        }
}
