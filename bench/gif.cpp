// GIF writing beside giflib on 2000 x 2000 pictures, each side used as its users use it,
// the whole file written to memory:
// - "lzw <picture>": 8-bit indices with a 256-colour map: ours a TGIFImage with one frame
//   (SaveToStream), giflib EGifOpen, EGifPutScreenDesc, EGifPutImageDesc, EGifPutLine per
//   row, EGifCloseFile. Pictures: the indices of the reduced photo below, a text-like page
//   (long runs of the background) and random indices (the string table fills and clears
//   over and over).
// - "reduce photo": a true-colour photo-like picture to 256 colours: ours
//   ReduceBitmapColors with the octree palette (method 7, 8 bits, no dithering), giflib
//   GifQuantizeBuffer (its median cut). Each side takes the pixels in the form its
//   interface wants (our 24-bit bitmap; giflib's red, green and blue planes), made before
//   timing.
// - "reduce+lzw photo": both, as a user saves a photo as a GIF file: ours
//   TGIFImage.Assign(bitmap) and SaveToStream, giflib GifQuantizeBuffer and the coding
//   above.
// Before any timing, giflib's decoder reads every file: the LZW files must give the same
// indices and colours on both sides; for the reductions the mean error of each side's
// picture against the photo is printed (per channel, in 0-255 steps). Rounds are
// interleaved, each measurement in a process of its own; medians, ratios (ours / peer)
// and the memory each side added are printed. QUORBEL_BENCH_ROUNDS sets the rounds.
#include <gif_lib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "SideBySide.h"
#include "gif/ColorReduction.h"
#include "gif/DIB.h"
#include "gif/GIFImage.h"

namespace {

constexpr int Size = 2000;
constexpr std::size_t PixelCount = static_cast<std::size_t>(Size) * Size;

// ---------------------------------------------------------------- pictures

// Smooth noise in 0..1: random values on a grid of the given cell size, interpolated.
class ValueNoise {
public:
    ValueNoise(int cell, std::uint32_t seed) : FCell(cell), FSide(Size / cell + 2) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<float> unit(0, 1);
        FGrid.resize(static_cast<std::size_t>(FSide) * FSide);
        for (float& v : FGrid)
            v = unit(rng);
    }
    float At(int x, int y) const {
        const float fx = static_cast<float>(x) / FCell, fy = static_cast<float>(y) / FCell;
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        const float tx = Smooth(fx - ix), ty = Smooth(fy - iy);
        const auto g = [&](int i, int j) { return FGrid[static_cast<std::size_t>(j) * FSide + i]; };
        const float top = g(ix, iy) + (g(ix + 1, iy) - g(ix, iy)) * tx;
        const float bottom = g(ix, iy + 1) + (g(ix + 1, iy + 1) - g(ix, iy + 1)) * tx;
        return top + (bottom - top) * ty;
    }

private:
    static float Smooth(float t) { return t * t * (3 - 2 * t); }
    int FCell, FSide;
    std::vector<float> FGrid;
};

std::uint8_t Channel(float v) {
    return static_cast<std::uint8_t>(std::lround(std::fmin(255.0f, std::fmax(0.0f, v))));
}

// A landscape as a camera would give it, red, green, blue per pixel: a sky with clouds
// over textured hills, a few shaded balls, and sensor noise; hundreds of thousands of
// distinct colours.
std::vector<std::uint8_t> MakePhoto() {
    const ValueNoise clouds(180, 1), hills(400, 2), texture(23, 3), fine(5, 4);
    std::mt19937 rng(2000);
    std::normal_distribution<float> grain(0, 3);
    struct Ball {
        float x, y, radius, r, g, b;
    };
    const Ball balls[] = {{400, 1500, 160, 220, 40, 30},
                          {1100, 1650, 220, 40, 90, 200},
                          {1650, 1400, 120, 240, 200, 40}};
    std::vector<std::uint8_t> rgb(3 * PixelCount);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            float r, g, b;
            const float horizon = 900 + 250 * hills.At(x, 0);
            if (y < horizon) {
                const float t = y / horizon, c = std::fmax(0.0f, clouds.At(x, y) - 0.45f) * 2.2f;
                r = 60 + 120 * t + 150 * c;
                g = 110 + 100 * t + 130 * c;
                b = 200 + 40 * t + 40 * c;
            } else {
                const float t = (y - horizon) / (Size - horizon), n = texture.At(x, y),
                            f = fine.At(x, y);
                r = 70 + 90 * n + 40 * f - 30 * t;
                g = 100 + 80 * n + 30 * f - 20 * t;
                b = 40 + 40 * n + 20 * f;
            }
            for (const Ball& ball : balls) {
                const float dx = (x - ball.x) / ball.radius, dy = (y - ball.y) / ball.radius;
                const float d2 = dx * dx + dy * dy;
                if (d2 < 1) {
                    const float light = 0.35f + 0.65f * std::sqrt(1 - d2) * (1 - 0.4f * (dx + dy));
                    r = ball.r * light;
                    g = ball.g * light;
                    b = ball.b * light;
                }
            }
            std::uint8_t* p = &rgb[3 * (static_cast<std::size_t>(y) * Size + x)];
            p[0] = Channel(r + grain(rng));
            p[1] = Channel(g + grain(rng));
            p[2] = Channel(b + grain(rng));
        }
    return rgb;
}

// The photo as our 24-bit bitmap (blue, green, red bytes).
TBitmap PhotoBitmap(const std::vector<std::uint8_t>& rgb) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(Size, Size);
    for (int y = 0; y < Size; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        const std::uint8_t* src = &rgb[3 * static_cast<std::size_t>(y) * Size];
        for (int x = 0; x < Size; ++x) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
    }
    return bitmap;
}

// White page, lines of dark glyph-like strokes in a few anti-aliased shades.
std::vector<std::uint8_t> TextIndices() {
    std::vector<std::uint8_t> pixels(PixelCount);
    std::mt19937 rng(2000);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const bool inLine = (y % 16) >= 3 && (y % 16) < 13 && x > 10 && x < Size - 10;
            pixels[static_cast<std::size_t>(y) * Size + x] =
                inLine && (rng() % 5 == 0) ? static_cast<std::uint8_t>(rng() % 8)
                                           : static_cast<std::uint8_t>(215);
        }
    return pixels;
}

std::vector<std::uint8_t> RandomIndices() {
    std::vector<std::uint8_t> pixels(PixelCount);
    std::mt19937 rng(2000);
    for (auto& p : pixels)
        p = static_cast<std::uint8_t>(rng());
    return pixels;
}

// Indices and the colours they stand for.
struct Indexed {
    std::vector<std::uint8_t> pixels;
    std::vector<GifColorType> colors; // 256
};

std::vector<GifColorType> RampColors() {
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                     static_cast<GifByteType>(i * 37)};
    return colors;
}

// ---------------------------------------------------------------- our side

std::string OursLZW(const Indexed& picture) {
    TGIFImage gif;
    auto frame = std::make_unique<TGIFSubImage>(&gif);
    frame->SetBounds(0, 0, Size, Size);
    for (const GifColorType& c : picture.colors)
        frame->ColorMap().Add({c.Red, c.Green, c.Blue});
    frame->Data() = picture.pixels;
    gif.AddFrame(std::move(frame));
    std::ostringstream out;
    gif.SaveToStream(out);
    return std::move(out).str();
}

std::unique_ptr<TBitmap> OursReduce(TBitmap& photo) {
    return ReduceBitmapColors(photo, 7, 0, 8, nullptr);
}

std::string OursReduceAndLZW(TBitmap& photo) {
    TGIFImage gif;
    gif.ReductionMethod = 7;
    gif.QuantizeBits = 8;
    gif.DitherMethod = 0;
    gif.Assign(&photo);
    std::ostringstream out;
    gif.SaveToStream(out);
    return std::move(out).str();
}

// ---------------------------------------------------------------- giflib

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

std::string GiflibLZW(const std::uint8_t* pixels, const GifColorType* colors) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToString, &error);
    ColorMapObject* map = GifMakeMapObject(256, colors);
    bool ok = gif && map && EGifPutScreenDesc(gif, Size, Size, 8, 0, nullptr) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, Size, Size, false, map) == GIF_OK;
    for (int y = 0; ok && y < Size; ++y)
        ok =
            EGifPutLine(gif, const_cast<GifPixelType*>(pixels + static_cast<std::size_t>(y) * Size),
                        Size) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    GifFreeMapObject(map);
    if (!ok) {
        std::fprintf(stderr, "giflib failed to write\n");
        std::exit(1);
    }
    return out;
}

// The photo's red, green and blue planes, as GifQuantizeBuffer takes them.
struct Planes {
    std::vector<GifByteType> red, green, blue;
};

Planes SplitPlanes(const std::vector<std::uint8_t>& rgb) {
    Planes p;
    for (std::size_t i = 0; i < PixelCount; ++i) {
        p.red.push_back(rgb[3 * i]);
        p.green.push_back(rgb[3 * i + 1]);
        p.blue.push_back(rgb[3 * i + 2]);
    }
    return p;
}

Indexed GiflibReduce(Planes& planes) {
    Indexed result{std::vector<std::uint8_t>(PixelCount), std::vector<GifColorType>(256)};
    int colors = 256;
    if (GifQuantizeBuffer(Size, Size, &colors, planes.red.data(), planes.green.data(),
                          planes.blue.data(), result.pixels.data(),
                          result.colors.data()) != GIF_OK) {
        std::fprintf(stderr, "GifQuantizeBuffer failed\n");
        std::exit(1);
    }
    return result;
}

std::string GiflibReduceAndLZW(Planes& planes) {
    const Indexed reduced = GiflibReduce(planes);
    return GiflibLZW(reduced.pixels.data(), reduced.colors.data());
}

// ---------------------------------------------------------------- checks

struct MemoryInput {
    const std::string* bytes;
    std::size_t pos = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int size) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(size, in->bytes->size() - in->pos);
    std::memcpy(buffer, in->bytes->data() + in->pos, n);
    in->pos += n;
    return static_cast<int>(n);
}

// The first frame of a GIF file as giflib's decoder reads it.
Indexed Decode(const std::string& bytes, const char* what) {
    MemoryInput input{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1 ||
        gif->SavedImages[0].ImageDesc.Width != Size ||
        gif->SavedImages[0].ImageDesc.Height != Size) {
        std::fprintf(stderr, "giflib cannot read the file of %s\n", what);
        std::exit(1);
    }
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map =
        frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    Indexed result;
    result.pixels.assign(frame.RasterBits, frame.RasterBits + PixelCount);
    result.colors.assign(map->Colors, map->Colors + map->ColorCount);
    DGifCloseFile(gif, &error);
    return result;
}

void ExpectSamePicture(const Indexed& picture, const std::string& ours, const std::string& peer,
                       const std::string& name) {
    for (const std::string* file : {&ours, &peer}) {
        const Indexed decoded = Decode(*file, name.c_str());
        bool same = decoded.pixels == picture.pixels && decoded.colors.size() >= 256;
        for (std::size_t i = 0; same && i < 256; ++i)
            same = std::memcmp(&decoded.colors[i], &picture.colors[i], 3) == 0;
        if (!same) {
            std::fprintf(stderr, "%s: %s file does not hold the picture\n", name.c_str(),
                         file == &ours ? "our" : "giflib's");
            std::exit(1);
        }
    }
}

// Mean absolute difference per channel, in 0-255 steps, of a decoded picture against
// the photo.
double MeanError(const Indexed& picture, const std::vector<std::uint8_t>& rgb) {
    double sum = 0;
    for (std::size_t i = 0; i < PixelCount; ++i) {
        const GifColorType& c = picture.colors.at(picture.pixels[i]);
        sum += std::abs(c.Red - rgb[3 * i]) + std::abs(c.Green - rgb[3 * i + 1]) +
               std::abs(c.Blue - rgb[3 * i + 2]);
    }
    return sum / (3.0 * PixelCount);
}

// Our reduced bitmap as indices and colours.
Indexed FromBitmap(const TBitmap& bitmap) {
    Indexed result;
    for (int y = 0; y < Size; ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        result.pixels.insert(result.pixels.end(), row, row + Size);
    }
    for (const TPaletteEntry& e : bitmap.Palette())
        result.colors.push_back({e.peRed, e.peGreen, e.peBlue});
    result.colors.resize(256, GifColorType{0, 0, 0});
    return result;
}

} // namespace

int main() {
    std::fprintf(stderr, "making the pictures...\n");
    const std::vector<std::uint8_t> photo = MakePhoto();
    TBitmap bitmap = PhotoBitmap(photo);
    Planes planes = SplitPlanes(photo);

    // The reductions, and the indices of ours as the LZW coders' photo.
    // (each on a copy of the bitmap: the measurements too start from the 24-bit one)
    TBitmap copy = bitmap;
    const Indexed oursReduced = FromBitmap(*OursReduce(copy));
    const Indexed peerReduced = GiflibReduce(planes);
    copy = bitmap;
    const double oursError = MeanError(Decode(OursReduceAndLZW(copy), "our reduction"), photo);
    const double peerError =
        MeanError(Decode(GiflibReduceAndLZW(planes), "giflib's reduction"), photo);
    if (std::fabs(MeanError(oursReduced, photo) - oursError) > 1e-9 ||
        std::fabs(MeanError(peerReduced, photo) - peerError) > 1e-9) {
        std::fprintf(stderr, "a reduced picture differs from its file\n");
        return 1;
    }

    const std::vector<std::pair<std::string, Indexed>> indexed = {
        {"photo", oursReduced},
        {"text", {TextIndices(), RampColors()}},
        {"random", {RandomIndices(), RampColors()}}};
    std::vector<bench::Case> lzw;
    for (const auto& [name, picture] : indexed) {
        const Indexed* p = &picture;
        ExpectSamePicture(*p, OursLZW(*p), GiflibLZW(p->pixels.data(), p->colors.data()),
                          "lzw " + name);
        lzw.push_back({"lzw " + name,
                       {bench::Side("quorbel", [p] { OursLZW(*p); }), bench::Side("giflib", [p] {
                            GiflibLZW(p->pixels.data(), p->colors.data());
                        })}});
    }
    TBitmap* source = &bitmap;
    Planes* peerPlanes = &planes;
    std::vector<bench::Case> reduction = {
        {"reduce photo",
         {bench::Side("quorbel", [source] { OursReduce(*source); }),
          bench::Side("giflib GifQuantize", [peerPlanes] { GiflibReduce(*peerPlanes); })}},
        {"reduce+lzw photo",
         {bench::Side("quorbel", [source] { OursReduceAndLZW(*source); }),
          bench::Side("giflib", [peerPlanes] { GiflibReduceAndLZW(*peerPlanes); })}}};

    // Not a comparison (giflib's quantiser has no step of its own for this): the part of
    // our reduction that builds the octree palette, every pixel inserted.
    bench::Case palette{"octree palette photo", {bench::Side("quorbel", [source] {
                            const TDIBReader reader(*source, TPixelFormat::pf24bit);
                            MakeOctreePalette(reader, Size, Size, 256, 8, false);
                        })}};

    const int rounds = bench::Rounds();
    std::vector<bench::Case> all = lzw;
    all.insert(all.end(), reduction.begin(), reduction.end());
    all.push_back(palette);
    bench::RunInterleaved(all, rounds);
    palette = all.back();
    all.pop_back();
    std::copy(all.begin(), all.begin() + lzw.size(), lzw.begin());
    std::copy(all.begin() + lzw.size(), all.end(), reduction.begin());

    std::printf("GIF writing of %dx%d pictures, %d rounds; MB/s of the input (indices: 1 byte, "
                "photo: 3 bytes per pixel)",
                Size, Size, rounds);
    bench::Report("gif", lzw, PixelCount / 1e6);
    bench::Report("gif", reduction, 3 * PixelCount / 1e6);
    bench::ReportOverall("gif", all);
    std::printf(
        "\nmean error of the reduced photo per channel (0-255): quorbel %.2f, giflib %.2f\n",
        oursError, peerError);
    const double paletteSeconds = bench::Median(palette.sides[0].seconds);
    std::printf("of our reduction, the octree palette alone (every pixel inserted, the colour "
                "table read): %.3f s, %.2fx giflib's whole GifQuantizeBuffer\n",
                paletteSeconds, paletteSeconds / bench::Median(reduction[0].sides[1].seconds));
    return 0;
}
