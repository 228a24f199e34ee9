// Colour reduction: palettes, lookups, the octree and the ditherers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <set>

#include "gif/ColorLookup.h"
#include "gif/ColorQuantizer.h"
#include "gif/ColorReduction.h"
#include "gif/DIB.h"
#include "gif/GIFException.h"
#include "gif/GIFImage.h"

namespace {

TBitmap TrueColorBitmap(int width, int height, const std::function<TColor(int, int)>& color) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, color(x, y));
    return bitmap;
}

TColor ReducedColor(const TBitmap& reduced, int x, int y) {
    return reduced.Pixel(x, y);
}

} // namespace

TEST(GifReduction, ArithmeticLookups) {
    struct Case {
        TColorLookup* Lookup;
        int Red, Green, Blue;
        int Index, R, G, B;
    };
    TNetscapeColorLookup web;
    TGrayScaleLookup grey;
    TMonochromeLookup mono;
    const Case cases[] = {
        {&web, 47, 47, 47, 0, 0, 0, 0},
        {&web, 48, 0, 0, 36, 51, 0, 0},
        {&web, 255, 255, 255, 215, 255, 255, 255},
        {&web, 0, 0, 48, 1, 0, 0, 51},
        {&grey, 255, 0, 0, 77, 77, 77, 77},
        {&grey, 255, 255, 255, 255, 255, 255, 255},
        {&mono, 128, 128, 128, 1, 255, 255, 255},
        {&mono, 127, 127, 127, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int r, g, b;
        EXPECT_EQ(c.Lookup->NearestIndex(c.Red, c.Green, c.Blue, r, g, b), c.Index)
            << c.Red << "," << c.Green << "," << c.Blue;
        EXPECT_EQ(std::tie(r, g, b), std::tie(c.R, c.G, c.B));
    }
}

TEST(GifReduction, PaletteLookupsAgreeOnExactColours) {
    const TPalette palette = MakeHalftonePalette();
    ASSERT_EQ(palette.size(), 256u);
    std::set<std::uint32_t> distinct;
    for (const TPaletteEntry& e : palette)
        distinct.insert(e.peRed << 16 | e.peGreen << 8 | e.peBlue);
    EXPECT_EQ(distinct.size(), 256u);
    TSlowColorLookup slow(palette);
    TFastColorLookup fast(palette);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        int r, g, b;
        EXPECT_EQ(
            slow.NearestIndex(palette[i].peRed, palette[i].peGreen, palette[i].peBlue, r, g, b),
            static_cast<int>(i));
        const int index =
            fast.NearestIndex(palette[i].peRed, palette[i].peGreen, palette[i].peBlue, r, g, b);
        EXPECT_EQ(std::tie(r, g, b),
                  std::tie(palette[index].peRed, palette[index].peGreen, palette[index].peBlue));
    }
}

TEST(GifReduction, SystemColoursFrameTheOctreePalette) {
    std::mt19937 rng(1);
    TBitmap bitmap =
        TrueColorBitmap(64, 64, [&](int, int) { return static_cast<TColor>(rng() & 0xFFFFFF); });
    const auto reduced = ReduceBitmapColors(bitmap, 8, 0, 8, nullptr);
    const TPalette palette = reduced->Palette();
    ASSERT_EQ(palette.size(), 256u);
    const TPalette& system = DefaultPalette();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(palette[i].peRed, system[i].peRed);
        EXPECT_EQ(palette[i].peGreen, system[i].peGreen);
        EXPECT_EQ(palette[i].peBlue, system[i].peBlue);
        EXPECT_EQ(palette[246 + i].peRed, system[10 + i].peRed);
        EXPECT_EQ(palette[246 + i].peGreen, system[10 + i].peGreen);
        EXPECT_EQ(palette[246 + i].peBlue, system[10 + i].peBlue);
    }
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(GifReduction, OctreeKeepsFewColoursExactly) {
    const TColor colors[5] = {RGB(1, 2, 3), RGB(250, 10, 10), RGB(10, 250, 10), RGB(10, 10, 250),
                              RGB(128, 129, 130)};
    TBitmap bitmap = TrueColorBitmap(23, 11, [&](int x, int y) { return colors[(x + 3 * y) % 5]; });
    for (int bits : {8, 3}) {
        const auto reduced = ReduceBitmapColors(bitmap, 7, 0, bits, nullptr);
        EXPECT_EQ(reduced->Palette().size(), 256u); // the writer's table
        std::set<TColor> used;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 23; ++x) {
                EXPECT_EQ(ReducedColor(*reduced, x, y), bitmap.Pixel(x, y)) << bits;
                used.insert(ReducedColor(*reduced, x, y));
            }
        EXPECT_EQ(used.size(), 5u);
    }
    // two colour bits: at most four colours survive
    const auto reduced = ReduceBitmapColors(bitmap, 7, 0, 2, nullptr);
    std::set<TColor> used;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 23; ++x)
            used.insert(ReducedColor(*reduced, x, y));
    EXPECT_LE(used.size(), 4u);
}

TEST(GifReduction, OctreeFoldsTheNewestDeepestNodeFirst) {
    // (0,0,0) and (0,0,1) share one node above the leaves, (0,0,2) and (0,0,3)
    // another; (128,0,0) parts from them at the top. Over the limit, the node
    // folded is the most recently made one of the deepest level that has any;
    // folding a node with a single leaf gains nothing, so folding goes on.
    struct Case {
        std::vector<std::array<int, 3>> Feed;
        int Limit;
        TPalette Expected; // children visited 0 to 7: red bit, green bit, blue bit
    };
    const Case cases[] = {
        {{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, 3, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}},
        {{{0, 0, 3}, {0, 0, 2}, {0, 0, 1}, {0, 0, 0}}, 3, {{0, 0, 0}, {0, 0, 2}, {0, 0, 3}}},
        {{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {128, 0, 0}},
         4,
         {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {128, 0, 0}}},
        // the mean is the sums divided by the pixel count, truncated
        {{{0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0, 0, 3}, {0, 0, 2}}, 1, {{0, 0, 1}}},
        {{{200, 10, 10}, {10, 200, 10}, {10, 10, 200}},
         8,
         {{10, 10, 200}, {10, 200, 10}, {200, 10, 10}}},
    };
    for (const Case& c : cases) {
        TColorQuantizer quantizer(c.Limit, 8);
        for (const auto& [r, g, b] : c.Feed)
            quantizer.AddColor(r, g, b);
        EXPECT_EQ(quantizer.ColorTable(), c.Expected) << "limit " << c.Limit;
    }
}

TEST(GifReduction, FixedPalettesMapToTheirNearestColours) {
    TBitmap bitmap =
        TrueColorBitmap(17, 9, [](int x, int y) { return RGB(x * 15, y * 28, (x * y) & 0xFF); });
    for (int method : {1, 2, 3, 4, 5, 6}) {
        const auto reduced = ReduceBitmapColors(bitmap, method, 0, 8, nullptr);
        const TPalette palette = reduced->Palette();
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 17; ++x) {
                const TColor c = bitmap.Pixel(x, y);
                const TColor got = ReducedColor(*reduced, x, y);
                if (method == 4 || method == 5 || method == 6)
                    continue; // arithmetic lookups, checked above
                const int best =
                    GetNearestPaletteIndex(palette, GetRValue(c), GetGValue(c), GetBValue(c));
                EXPECT_EQ(got,
                          RGB(palette[best].peRed, palette[best].peGreen, palette[best].peBlue))
                    << "method " << method;
            }
    }
    const TPalette given = {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}};
    const auto reduced = ReduceBitmapColors(bitmap, 9, 0, 8, &given);
    EXPECT_EQ(ReducedColor(*reduced, 16, 0), RGB(255, 0, 0));
}

TEST(GifReduction, EveryDithererReproducesWebColours) {
    std::mt19937 rng(5);
    TBitmap source = TrueColorBitmap(37, 23, [&](int, int) {
        return RGB(51 * (rng() % 6), 51 * (rng() % 6), 51 * (rng() % 6));
    });
    TNetscapeColorLookup web;
    for (int dither = 0; dither <= 6; ++dither) {
        TBitmap bitmap = source;
        const auto reduced = ReduceBitmapColors(bitmap, 6, dither, 8, nullptr);
        for (int y = 0; y < 23; ++y) {
            const std::uint8_t* row = reduced->ScanLine(y);
            for (int x = 0; x < 37; ++x) {
                const TColor c = source.Pixel(x, y);
                int r, g, b;
                ASSERT_EQ(row[x],
                          web.NearestIndex(GetRValue(c), GetGValue(c), GetBValue(c), r, g, b))
                    << "ditherer " << dither << " at " << x << "," << y;
            }
        }
    }
}

namespace {

// The six error-diffusion kernels as the classic weight matrices: up to four
// rows from the current one down, seven columns centred on the current pixel
// (the X at column 3 of row 0; "ahead" is to the right in scan order).
struct Kernel {
    int Weights[4][7];
    int Divisor;
};

const Kernel& DitherKernel(int method) {
    static const Kernel kernels[] = {
        {{}, 1},
        {{{0, 0, 0, 0, 7, 0, 0}, {0, 0, 3, 5, 1, 0, 0}}, 16},
        {{{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}, 42},
        {{{0, 0, 0, 0, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}, 32},
        {{{0, 0, 0, 0, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}, 48},
        {{{0, 0, 0, 0, 0, 32, 0},
          {12, 0, 26, 0, 30, 0, 16},
          {0, 12, 0, 26, 0, 12, 0},
          {5, 0, 12, 0, 12, 0, 5}},
         200},
        {{{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}, 32}};
    return kernels[method];
}

// A deliberately plain ditherer: a whole image of weighted error sums per
// channel, rows scanned serpentine (the first left to right), the carried
// error (sum + divisor / 2) / divisor truncated toward zero, the value clamped
// before the lookup, errors that fall outside the image dropped.
std::vector<int> ReferenceDither(const TBitmap& source, TColorLookup& lookup, int method) {
    const Kernel& kernel = DitherKernel(method);
    const int width = source.Width(), height = source.Height();
    std::vector<long> errors(static_cast<std::size_t>(width) * (height + 4) * 3, 0);
    const auto error = [&](int x, int y, int channel) -> long& {
        return errors[(static_cast<std::size_t>(y) * width + x) * 3 + channel];
    };
    std::vector<int> indices(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int direction = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = direction > 0 ? i : width - 1 - i;
            const TColor c = source.Pixel(x, y);
            const int in[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
            int value[3];
            for (int k = 0; k < 3; ++k)
                value[k] = std::clamp<long>(
                    in[k] + (error(x, y, k) + kernel.Divisor / 2) / kernel.Divisor, 0, 255);
            int chosen[3];
            indices[static_cast<std::size_t>(y) * width + x] =
                lookup.NearestIndex(value[0], value[1], value[2], chosen[0], chosen[1], chosen[2]);
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 7; ++column) {
                    const int weight = kernel.Weights[row][column];
                    const int tx = x + direction * (column - 3);
                    if (weight == 0 || tx < 0 || tx >= width) continue;
                    for (int k = 0; k < 3; ++k)
                        error(tx, y + row, k) += static_cast<long>(value[k] - chosen[k]) * weight;
                }
        }
    }
    return indices;
}

} // namespace

TEST(GifReduction, DitherersAgreeWithAPlainReference) {
    // Random colours and a smooth ramp, at widths the wider kernels reach past.
    std::mt19937 rng(77);
    std::vector<TBitmap> pictures;
    for (auto [w, h] : {std::pair{1, 9}, std::pair{2, 7}, std::pair{5, 6}, std::pair{41, 29}})
        pictures.push_back(
            TrueColorBitmap(w, h, [&](int, int) { return static_cast<TColor>(rng() & 0xFFFFFF); }));
    pictures.push_back(TrueColorBitmap(
        97, 31, [](int x, int y) { return RGB(x * 255 / 96, y * 8, (x + y) * 2); }));
    const TPalette fourGreys = MakeGrayPalette({0, 128, 192, 255});
    for (int method : {3, 4, 5, 6})
        for (int dither = 0; dither <= 6; ++dither)
            for (const TBitmap& picture : pictures) {
                TNetscapeColorLookup web;
                TGrayScaleLookup grey;
                TMonochromeLookup mono;
                TSlowColorLookup greys(fourGreys);
                TColorLookup& lookup = method == 6   ? static_cast<TColorLookup&>(web)
                                       : method == 5 ? static_cast<TColorLookup&>(grey)
                                       : method == 4 ? static_cast<TColorLookup&>(mono)
                                                     : static_cast<TColorLookup&>(greys);
                const std::vector<int> expected = ReferenceDither(picture, lookup, dither);
                TBitmap bitmap = picture;
                const auto reduced = ReduceBitmapColors(bitmap, method, dither, 8, nullptr);
                for (int y = 0; y < picture.Height(); ++y) {
                    const std::uint8_t* row = reduced->ScanLine(y);
                    for (int x = 0; x < picture.Width(); ++x)
                        ASSERT_EQ(row[x],
                                  expected[static_cast<std::size_t>(y) * picture.Width() + x])
                            << "method " << method << ", ditherer " << dither << ", "
                            << picture.Width() << "x" << picture.Height() << " at " << x << ","
                            << y;
                }
            }
}

TEST(GifReduction, DitheredGreyGradientKeepsColumnMeans) {
    // A horizontal grey gradient below the clamped top end. Error diffusion moves
    // errors sideways, so single columns swing (even exact floating-point
    // Floyd-Steinberg is 7 off on some columns of this ramp), and the columns at
    // the edges lose the error pushed past the border; means over bands of 16
    // columns stay near the source, while undithered web colours are far off.
    const int width = 232, height = 128, band = 16;
    TBitmap source = TrueColorBitmap(width, height, [](int x, int) { return RGB(x, x, x); });
    const auto worstBandError = [&](int method, int dither) {
        TBitmap bitmap = source;
        const auto reduced = ReduceBitmapColors(bitmap, method, dither, 8, nullptr);
        double worst = 0;
        for (int x0 = 0; x0 + band <= width; x0 += band) {
            double sum = 0, expected = 0;
            for (int x = x0; x < x0 + band; ++x)
                for (int y = 0; y < height; ++y) {
                    sum += GetGValue(reduced->Pixel(x, y));
                    expected += x;
                }
            worst = std::max(worst, std::abs(sum - expected) / (band * height));
        }
        return worst;
    };
    EXPECT_GT(worstBandError(6, 0), 20.0);
    for (int dither = 1; dither <= 6; ++dither) {
        EXPECT_LE(worstBandError(6, dither), 3.0) << "ditherer " << dither << ", web colours";
        EXPECT_LE(worstBandError(3, dither), 4.0) << "ditherer " << dither << ", four greys";
        EXPECT_LE(worstBandError(4, dither), 8.0) << "ditherer " << dither << ", black and white";
    }
}

TEST(GifReduction, SourceIsLeftAtTwentyFourBits) {
    TBitmap bitmap = TrueColorBitmap(3, 3, [](int, int) { return clRed; });
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    ReduceBitmapColors(bitmap, 6, 0, 8, nullptr);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.Pixel(1, 1), clRed);
}

TEST(GifReduction, DibWriterChecksAndStores) {
    TBitmap target;
    const TPalette three = {{1, 2, 3, 0}, {40, 50, 60, 0}, {255, 0, 128, 0}};
    struct Bad {
        TPixelFormat Format;
        int Width, Height;
        const char* Message;
    };
    for (const Bad& b : {Bad{TPixelFormat::pf4bit, 2, 2, "Unsupported PixelFormat"},
                         Bad{TPixelFormat::pf32bit, 2, 2, "Unsupported PixelFormat"},
                         Bad{TPixelFormat::pf8bit, 0, 2, "Invalid image dimensions"},
                         Bad{TPixelFormat::pf24bit, 2, 0, "Invalid image dimensions"}}) {
        try {
            TDIBWriter writer(target, three, b.Width, b.Height, b.Format);
            ADD_FAILURE() << "no exception for " << b.Message;
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), b.Message);
        }
    }
    TDIBWriter writer(target, three, 3, 2, TPixelFormat::pf8bit);
    EXPECT_THROW(writer.RowAddress(2), EInvalidGraphicOperation);
    EXPECT_THROW(writer.RowAddress(-1), EInvalidGraphicOperation);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            writer.RowAddress(y)[x] = static_cast<std::uint8_t>((x + y) % 3);
    writer.Store();
    ASSERT_EQ(target.PixelFormat(), TPixelFormat::pf8bit);
    ASSERT_EQ(target.Width(), 3);
    ASSERT_EQ(target.Height(), 2);
    const TPalette table = target.Palette();
    ASSERT_EQ(table.size(), 256u); // the palette's entries, then black
    EXPECT_EQ(table[2], three[2]);
    EXPECT_EQ(table[3], (TPaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(target.Pixel(2, 0), RGB(255, 0, 128));
    EXPECT_EQ(target.Pixel(0, 1), RGB(40, 50, 60));
}

namespace {

// A plain octree written from the description: nodes made on the way down,
// while there are too many leaves the newest inner node of the deepest level
// that has any is folded into a leaf, leaves read depth first.
class ReferenceOctree {
public:
    ReferenceOctree(int limit, int depth) : FLimit(limit), FDepth(depth), FInner(depth + 1) {
        FRoot = Make(0);
    }
    void Add(int r, int g, int b) {
        Node* node = FRoot.get();
        for (int level = 0; !node->Leaf; ++level) {
            const int bit = 7 - level;
            const int i = ((r >> bit) & 1) * 4 + ((g >> bit) & 1) * 2 + ((b >> bit) & 1);
            if (!node->Kids[i]) node->Kids[i] = Make(level + 1);
            node = node->Kids[i].get();
        }
        ++node->Count;
        node->Sum[0] += r;
        node->Sum[1] += g;
        node->Sum[2] += b;
        while (FLeaves > FLimit)
            Fold();
    }
    TPalette Table() const {
        TPalette table;
        const std::function<void(const Node&)> walk = [&](const Node& node) {
            if (node.Leaf) {
                const auto mean = [&](int c) {
                    return static_cast<std::uint8_t>(node.Count ? node.Sum[c] / node.Count : 0);
                };
                table.push_back({mean(0), mean(1), mean(2), 0});
                return;
            }
            for (const auto& kid : node.Kids)
                if (kid) walk(*kid);
        };
        walk(*FRoot);
        return table;
    }

private:
    struct Node {
        bool Leaf = false;
        std::uint64_t Count = 0;
        std::uint64_t Sum[3] = {};
        std::unique_ptr<Node> Kids[8];
    };
    std::unique_ptr<Node> Make(int level) {
        auto node = std::make_unique<Node>();
        if (level == FDepth) {
            node->Leaf = true;
            ++FLeaves;
        } else {
            FInner[static_cast<std::size_t>(level)].push_back(node.get());
        }
        return node;
    }
    void Fold() {
        int level = FDepth - 1;
        while (level > 0 && FInner[static_cast<std::size_t>(level)].empty())
            --level;
        auto& inner = FInner[static_cast<std::size_t>(level)];
        ASSERT_FALSE(inner.empty());
        Node* node = inner.back();
        inner.pop_back();
        int kids = 0;
        for (auto& kid : node->Kids)
            if (kid) {
                node->Count += kid->Count;
                for (int c = 0; c < 3; ++c)
                    node->Sum[c] += kid->Sum[c];
                kid.reset();
                ++kids;
            }
        node->Leaf = true;
        FLeaves -= kids - 1;
    }

    int FLimit, FDepth, FLeaves = 0;
    std::vector<std::vector<Node*>> FInner; // per level, the newest last
    std::unique_ptr<Node> FRoot;
};

// Blue, green, red bytes of a picture of the given kind.
std::vector<std::uint8_t> QuantizerPicture(int kind, int pixels, std::mt19937& rng) {
    std::vector<std::uint8_t> bgr;
    int c[3] = {128, 128, 128};
    for (int i = 0; i < pixels; ++i) {
        switch (kind) {
        case 0: // noise over a wandering colour, as in a photo
            for (int& v : c)
                v = std::clamp(v + static_cast<int>(rng() % 7) - 3, 0, 255);
            for (int k = 0; k < 3; ++k)
                bgr.push_back(static_cast<std::uint8_t>(
                    std::clamp(c[k] + static_cast<int>(rng() % 9) - 4, 0, 255)));
            break;
        case 1: // runs of a few colours, as in a drawing
            if (i == 0 || rng() % 12 == 0)
                for (int& v : c)
                    v = static_cast<int>(rng() % 4) * 85;
            bgr.insert(bgr.end(), {static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                                   static_cast<std::uint8_t>(c[2])});
            break;
        default: // anything
            for (int k = 0; k < 3; ++k)
                bgr.push_back(static_cast<std::uint8_t>(rng()));
            break;
        }
    }
    return bgr;
}

} // namespace

TEST(GifReduction, OctreeAgreesWithAPlainTree) {
    // Fed by rows and colour by colour, at limits that fold deep and shallow
    // (down to the root) and at a shallower depth.
    std::mt19937 rng(236);
    for (int kind = 0; kind < 3; ++kind)
        for (const auto& [limit, depth] :
             {std::pair{256, 8}, {236, 8}, {16, 8}, {3, 8}, {2, 8}, {8, 3}, {2, 1}}) {
            const int width = 97, height = 61;
            const std::vector<std::uint8_t> bgr = QuantizerPicture(kind, width * height, rng);
            ReferenceOctree reference(limit, depth);
            TColorQuantizer byColor(limit, depth), byRow(limit, depth);
            for (std::size_t i = 0; i < bgr.size(); i += 3) {
                reference.Add(bgr[i + 2], bgr[i + 1], bgr[i]);
                byColor.AddColor(bgr[i + 2], bgr[i + 1], bgr[i]);
            }
            for (int y = 0; y < height; ++y)
                byRow.AddPixels(bgr.data() + 3 * static_cast<std::size_t>(y) * width, width);
            const TPalette expected = reference.Table();
            EXPECT_EQ(byColor.ColorTable(), expected)
                << "kind " << kind << ", limit " << limit << ", depth " << depth;
            EXPECT_EQ(byRow.ColorTable(), expected)
                << "kind " << kind << ", limit " << limit << ", depth " << depth;
        }
}

TEST(GifReduction, OctreeMeansHoldBeyondSixteenMillionPixelsOfOneColour) {
    // 17 million white pixels sum to more than 32 bits hold
    TColorQuantizer quantizer(256, 8);
    const std::vector<std::uint8_t> white(3 * 1000000, 255);
    const std::uint8_t dark[3] = {30, 20, 10};
    quantizer.AddPixels(dark, 1);
    for (int i = 0; i < 17; ++i)
        quantizer.AddPixels(white.data(), 1000000);
    EXPECT_EQ(quantizer.ColorTable(), (TPalette{{10, 20, 30, 0}, {255, 255, 255, 0}}));
}

TEST(GifReduction, RowLookupsEqualPixelLookups) {
    // Every lookup gives a row, in either direction, the indices it gives its
    // pixels one by one in that order (the cache of the fast lookup fills in
    // the same order).
    std::mt19937 rng(15);
    TPalette palette;
    for (int i = 0; i < 200; ++i)
        palette.push_back({static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                           static_cast<std::uint8_t>(rng()), 0});
    const auto make = [&](int kind) -> std::unique_ptr<TColorLookup> {
        switch (kind) {
        case 0:
            return std::make_unique<TFastColorLookup>(palette);
        case 1:
            return std::make_unique<TSlowColorLookup>(palette);
        case 2:
            return std::make_unique<TNetscapeColorLookup>();
        case 3:
            return std::make_unique<TGrayScaleLookup>();
        default:
            return std::make_unique<TMonochromeLookup>();
        }
    };
    const int count = 700;
    std::vector<std::uint8_t> bgr;
    std::uint32_t c = 0;
    for (int i = 0; i < count; ++i) {
        // colours of one cache slot, one channel changed, any colour, runs of one colour
        switch (i % 7) {
        case 0:
        case 1:
            c = (rng() & 0xF8F8F8) | 0x030303;
            break;
        case 2:
            c ^= (rng() & 0xFF) << (8 * (rng() % 3));
            break;
        case 3:
            c = rng();
            break;
        default:
            break;
        }
        bgr.insert(bgr.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                               static_cast<std::uint8_t>(c >> 16)});
    }
    for (int kind = 0; kind < 5; ++kind)
        for (int step : {1, -1}) {
            const auto one = make(kind), row = make(kind);
            const int start = step > 0 ? 0 : count - 1;
            std::vector<std::uint8_t> expected(count), got(count);
            for (int i = 0, x = start; i < count; ++i, x += step) {
                int r, g, b;
                expected[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(
                    one->NearestIndex(bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x], r, g, b));
            }
            row->NearestIndices(bgr.data() + 3 * start, got.data() + start, count, step);
            EXPECT_EQ(got, expected) << "lookup " << kind << ", step " << step;
        }
}

TEST(GifReduction, FastLookupTakesTheFirstNearestEntry) {
    // The first question about a cache slot: the first palette entry in that
    // slot, else the entry with the smallest sum of channel distances, the
    // first of equals (the palette repeats entries and has many ties).
    std::mt19937 rng(32768);
    TPalette palette;
    for (int i = 0; i < 120; ++i) {
        const auto level = [&] { return static_cast<std::uint8_t>(rng() % 9 * 32); };
        palette.push_back({level(), level(), level(), 0});
    }
    palette.insert(palette.end(), palette.begin(), palette.begin() + 40);
    const auto slotOf = [](int red, int green, int blue) {
        return (red >> 3) | (green >> 3) << 5 | (blue >> 3) << 10;
    };
    TFastColorLookup fast(palette);
    std::set<int> asked;
    for (int i = 0; i < 3000; ++i) {
        const int red = static_cast<int>(rng() % 256), green = static_cast<int>(rng() % 256),
                  blue = static_cast<int>(rng() % 256);
        if (!asked.insert(slotOf(red, green, blue)).second) continue;
        auto expected = std::find_if(palette.begin(), palette.end(), [&](const TPaletteEntry& e) {
            return slotOf(e.peRed, e.peGreen, e.peBlue) == slotOf(red, green, blue);
        });
        if (expected == palette.end())
            expected = std::min_element(palette.begin(), palette.end(),
                                        [&](const TPaletteEntry& a, const TPaletteEntry& b) {
                                            const auto distance = [&](const TPaletteEntry& e) {
                                                return std::abs(e.peRed - red) +
                                                       std::abs(e.peGreen - green) +
                                                       std::abs(e.peBlue - blue);
                                            };
                                            return distance(a) < distance(b);
                                        });
        int r, g, b;
        ASSERT_EQ(fast.NearestIndex(red, green, blue, r, g, b), expected - palette.begin())
            << red << "," << green << "," << blue;
    }
}
