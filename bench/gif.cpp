// LZW coding of a 2000 x 2000 8-bit image by the codec's encoder beside giflib's
// EGifPutLine on the same indices. Two pictures: random indices (the worst case, the
// table fills and clears over and over) and a text-like page (long runs of the
// background). Both outputs are decoded by giflib and checked to give the same indices
// before any timing; rounds are interleaved, each in a process of its own; medians,
// ratios and the memory each side added are printed.
#include <gif_lib.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "SideBySide.h"
#include "gif/GIFEncoder.h"

namespace {

constexpr int Size = 2000;

std::vector<std::uint8_t> Pixels(const std::string& kind) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Size) * Size);
    std::mt19937 rng(2000);
    if (kind == "random") {
        for (auto& p : pixels)
            p = static_cast<std::uint8_t>(rng());
        return pixels;
    }
    // white page, lines of dark glyph-like strokes in a few anti-aliased shades
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const bool inLine = (y % 16) >= 3 && (y % 16) < 13 && x > 10 && x < Size - 10;
            pixels[static_cast<std::size_t>(y) * Size + x] =
                inLine && (rng() % 5 == 0) ? static_cast<std::uint8_t>(rng() % 8)
                                           : static_cast<std::uint8_t>(215);
        }
    return pixels;
}

// Our image data (minimum code size, sub-blocks, terminator).
std::string OursLZW(const std::vector<std::uint8_t>& pixels) {
    std::ostringstream out;
    TLZWEncoder encoder;
    encoder.EncodeFrame(out, 8, 256, pixels.data(), false, Size, Size);
    return out.str();
}

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

std::vector<GifColorType> Colors() {
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(i), 0};
    return colors;
}

// A whole GIF file written by giflib.
std::string GiflibLZW(const std::vector<std::uint8_t>& pixels) {
    std::vector<GifColorType> colors = Colors();
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToString, &error);
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    EGifPutScreenDesc(gif, Size, Size, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, Size, Size, false, nullptr);
    for (int y = 0; y < Size; ++y)
        EGifPutLine(gif,
                    const_cast<GifPixelType*>(pixels.data() + static_cast<std::size_t>(y) * Size),
                    Size);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// Our image data inside the same file frame as giflib's: header, screen, colour table,
// image descriptor, then the data and the trailer.
std::string WrapOurs(const std::string& data, const std::string& giflibFile) {
    const std::size_t frame = 6 + 7 + 3 * 256 + 10; // up to the image data
    return giflibFile.substr(0, frame) + data + ";";
}

struct Reader {
    const std::string* bytes;
    std::size_t at;
};

int ReadFromString(GifFileType* gif, GifByteType* data, int length) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const int n = static_cast<int>(std::min<std::size_t>(length, r->bytes->size() - r->at));
    std::memcpy(data, r->bytes->data() + r->at, n);
    r->at += n;
    return n;
}

// The indices giflib decodes from a GIF file (empty when it cannot).
std::vector<std::uint8_t> Decode(const std::string& file) {
    Reader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromString, &error);
    if (!gif) return {};
    std::vector<std::uint8_t> pixels;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        pixels.assign(image.RasterBits, image.RasterBits + static_cast<std::size_t>(Size) * Size);
    }
    DGifCloseFile(gif, &error);
    return pixels;
}

} // namespace

int main() {
    std::vector<bench::Case> cases;
    for (const std::string kind : {"random", "text"}) {
        const auto pixels = std::make_shared<std::vector<std::uint8_t>>(Pixels(kind));
        const std::string theirs = GiflibLZW(*pixels);
        const std::string ours = WrapOurs(OursLZW(*pixels), theirs);
        if (Decode(ours) != *pixels || Decode(theirs) != *pixels) {
            std::fprintf(stderr, "%s: a coder's output does not decode to the picture\n",
                         kind.c_str());
            return 1;
        }
        std::printf("%s: ours %zu bytes, giflib %zu bytes, both decode to the picture\n",
                    kind.c_str(), ours.size(), theirs.size());
        cases.push_back({"LZW " + kind,
                         {{"ours", [pixels] { benchmark::DoNotOptimize(OursLZW(*pixels)); }},
                          {"giflib", [pixels] { benchmark::DoNotOptimize(GiflibLZW(*pixels)); }}}});
    }
    bench::RunInterleaved(cases, bench::Rounds());
    bench::Report("gif", cases, static_cast<double>(Size) * Size / (1 << 20));
    return 0;
}
