// LZW coding of a 2000 x 2000 8-bit image by the codec's encoder beside
// giflib's EGifPutLine on the same indices; the times are printed as ratios.
// Two pictures: random indices (the worst case, the table fills and clears
// over and over) and a text-like page (long runs of the background).
#include <gif_lib.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CollectingReporter.h"
#include "gif/GIFEncoder.h"

namespace {

constexpr int Size = 2000;

const std::vector<std::uint8_t>& Pixels(const std::string& kind) {
    static std::map<std::string, std::vector<std::uint8_t>> cache;
    auto& pixels = cache[kind];
    if (pixels.empty()) {
        pixels.resize(static_cast<std::size_t>(Size) * Size);
        std::mt19937 rng(2000);
        if (kind == "random") {
            for (auto& p : pixels)
                p = static_cast<std::uint8_t>(rng());
        } else {
            // white page, lines of dark glyph-like strokes in a few anti-aliased shades
            for (int y = 0; y < Size; ++y)
                for (int x = 0; x < Size; ++x) {
                    const bool inLine = (y % 16) >= 3 && (y % 16) < 13 && x > 10 && x < Size - 10;
                    pixels[static_cast<std::size_t>(y) * Size + x] =
                        inLine && (rng() % 5 == 0) ? static_cast<std::uint8_t>(rng() % 8)
                                                   : static_cast<std::uint8_t>(215);
                }
        }
    }
    return pixels;
}

void QuorbelLZW(benchmark::State& state, const std::string& kind) {
    const auto& pixels = Pixels(kind);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        TLZWEncoder encoder;
        encoder.EncodeFrame(out, 8, 256, pixels.data(), false, Size, Size);
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

void GiflibLZW(benchmark::State& state, const std::string& kind) {
    const auto& pixels = Pixels(kind);
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(i), 0};
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string out;
        int error = 0;
        GifFileType* gif = EGifOpen(&out, WriteToString, &error);
        ColorMapObject* map = GifMakeMapObject(256, colors.data());
        EGifPutScreenDesc(gif, Size, Size, 8, 0, nullptr);
        EGifPutImageDesc(gif, 0, 0, Size, Size, false, map);
        for (int y = 0; y < Size; ++y)
            EGifPutLine(
                gif, const_cast<GifPixelType*>(pixels.data() + static_cast<std::size_t>(y) * Size),
                Size);
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        bytes = out.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// Seconds per iteration by "coder/picture", filled by the reporter.
std::map<std::string, double> Seconds;

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> kinds = {"random", "text"};
    for (const std::string& kind : kinds) {
        benchmark::RegisterBenchmark(("quorbel/" + kind).c_str(), QuorbelLZW, kind)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("giflib/" + kind).c_str(), GiflibLZW, kind)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter(Seconds);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nLZW encoding of %dx%d 8-bit indices, time relative to giflib (target <= 1.5):\n",
                Size, Size);
    for (const std::string& kind : kinds) {
        const double ours = Seconds["quorbel/" + kind];
        const double theirs = Seconds["giflib/" + kind];
        if (ours > 0 && theirs > 0) std::printf("  %-8s %.2fx\n", kind.c_str(), ours / theirs);
    }
    return 0;
}
