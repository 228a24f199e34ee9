// Pictures of a 2,000-line text: the renderer draws it and writes a BMP, a JPEG and a GIF
// file, beside the same pixels encoded and written by libjpeg-turbo alone (quality 85,
// the same settings: its file must equal ours byte for byte), the same colour indices
// by giflib alone, and the same bitmap by Qt's BMP writer. Drawing alone is timed too, so
// that "ours - draw" is the encoding and writing that the peers do. Prints the times and
// the ratios ours / peer.
#include <cstdio> // before jpeglib.h, which uses FILE

#include <gif_lib.h>
#include <jpeglib.h>

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CollectingReporter.h"
#include "gif/GIFImage.h"
#include "picture/JpegWriter.h"
#include "picture/PictureSettings.h"
#include "picture/TextPicture.h"

namespace {

constexpr int Lines = 2000;

// Lines of 10 to 100 characters of words, numbers and punctuation.
const WideString& Text() {
    static const WideString text = [] {
        static const char16_t* words[] = {u"the",  u"quick", u"brown", u"fox",    u"jumps",
                                          u"over", u"lazy",  u"dog",   u"Straße", u"Ωmega",
                                          u"line", u"2026",  u"text;", u"(file)"};
        std::mt19937 rng(2000);
        WideString t;
        for (int i = 0; i < Lines; ++i) {
            const std::size_t length = 10 + rng() % 91;
            WideString line;
            while (line.size() < length)
                line += WideString(words[rng() % std::size(words)]) + u" ";
            line.resize(length);
            t += line;
            if (i + 1 < Lines) t += u"\r\n";
        }
        return t;
    }();
    return text;
}

const PictureStyle Style = DesignPictureStyle();

std::string Folder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "picture-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

// A new file each time, as a batch run writes them (replacing one waits for the disk).
template <class Write>
void WriteFresh(benchmark::State& state, const std::string& path, Write&& write) {
    for (auto _ : state) {
        write();
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
    }
}

void Ours(benchmark::State& state, const char* name) {
    const std::string path = Folder() + "/ours." + name;
    const WideString wide = U16(path);
    WriteFresh(state, path, [&] {
        if (!SaveTextPicture(Text(), wide, Style, nullptr)) state.SkipWithError("not saved");
    });
}

void Draw(benchmark::State& state) {
    for (auto _ : state) {
        TBitmap bitmap = DrawTextPicture(Text(), Style, MaxPictureSide(PictureFormat::Bmp));
        benchmark::DoNotOptimize(bitmap.Image().constBits());
    }
}

void WriteBytes(const std::string& path, const unsigned char* bytes, std::size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes, 1, size, file);
    std::fclose(file);
}

// libjpeg-turbo's own road: the bitmap's 32-bit rows, defaults, quality 85, the library's
// error handler.
std::string LibjpegTurbo(const QImage& image, const std::string& path) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = image.width();
    info.image_height = image.height();
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, PictureJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    WriteBytes(path, bytes, size);
    std::string result(reinterpret_cast<char*>(bytes), size);
    std::free(bytes);
    return result;
}

struct Indices {
    int width = 0, height = 0;
    std::vector<GifColorType> colors;
    std::vector<std::uint8_t> pixels;
};

// giflib's own road: the colour indices and map our GIF frame holds.
void Giflib(const Indices& in, const std::string& path) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    int entries = 2;
    while (entries < static_cast<int>(in.colors.size()))
        entries *= 2;
    std::vector<GifColorType> colors = in.colors;
    colors.resize(entries);
    ColorMapObject* map = GifMakeMapObject(entries, colors.data());
    EGifPutScreenDesc(gif, in.width, in.height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, in.width, in.height, false, nullptr);
    for (int y = 0; y < in.height; ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(in.pixels.data()) + std::size_t(y) * in.width,
                    in.width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

std::map<std::string, double> Seconds;

std::size_t FileSize(const std::string& path) {
    return std::filesystem::file_size(path);
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    TBitmap bitmap = DrawTextPicture(Text(), Style, MaxPictureSide(PictureFormat::Bmp));
    const QImage image = bitmap.Image();
    Indices indices;
    {
        TBitmap copy = bitmap;
        TGIFImage gif;
        gif.Assign(&copy);
        const TGIFSubImage& frame = *gif.Images()[0];
        const TGIFColorMap& map = frame.ActiveColorMap();
        indices.width = frame.Width();
        indices.height = frame.Height();
        indices.pixels = frame.Data();
        for (const TGIFColor& c : map.Entries())
            indices.colors.push_back({c.Red, c.Green, c.Blue});
    }
    // The same settings give the same file.
    if (LibjpegTurbo(image, Folder() + "/check.jpg") != EncodeJpeg(bitmap, PictureJpegQuality)) {
        std::fprintf(stderr, "libjpeg-turbo alone and ours wrote different JPEG files\n");
        return 1;
    }
    const std::string peer = Folder() + "/peer";
    benchmark::RegisterBenchmark("quorbel/draw", Draw)->Unit(benchmark::kMillisecond);
    for (const char* name : {"bmp", "jpg", "gif"})
        benchmark::RegisterBenchmark((std::string("quorbel/") + name).c_str(), Ours, name)
            ->Unit(benchmark::kMillisecond);
    // The GIF codec's share: reducing the colours to the web palette and collecting them.
    benchmark::RegisterBenchmark("quorbel/gif-reduction", [&](benchmark::State& state) {
        for (auto _ : state) {
            TBitmap copy = bitmap;
            TGIFImage gif;
            gif.Assign(&copy);
            benchmark::DoNotOptimize(gif.Images()[0]->Data().data());
        }
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("qt/bmp", [&](benchmark::State& state) {
        WriteFresh(state, peer + ".bmp",
                   [&] { image.save(QString::fromStdString(peer + ".bmp"), "BMP"); });
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("libjpeg-turbo/jpg", [&](benchmark::State& state) {
        WriteFresh(state, peer + ".jpg", [&] { LibjpegTurbo(image, peer + ".jpg"); });
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("giflib/gif", [&](benchmark::State& state) {
        WriteFresh(state, peer + ".gif", [&] { Giflib(indices, peer + ".gif"); });
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter(Seconds);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // File sizes for the table: one more file of each.
    SaveTextPicture(Text(), U16(Folder() + "/size.bmp"), Style, nullptr);
    SaveTextPicture(Text(), U16(Folder() + "/size.jpg"), Style, nullptr);
    SaveTextPicture(Text(), U16(Folder() + "/size.gif"), Style, nullptr);
    image.save(QString::fromStdString(peer + ".bmp"), "BMP");
    LibjpegTurbo(image, peer + ".jpg");
    Giflib(indices, peer + ".gif");
    const double draw = Seconds["quorbel/draw"];
    std::printf("\n%d lines, %d x %d pixels; drawing alone %.1f ms\n", Lines, image.width(),
                image.height(), draw * 1e3);
    std::printf("ours: drawn and written; peer: the same pixels encoded and written; the ratio\n"
                "compares ours with drawing plus the peer (below 1: ours is faster)\n");
    std::printf("%-4s %9s %-18s %9s %16s %9s %9s\n", "", "ours ms", "peer", "peer ms",
                "ours/(draw+peer)", "ours KB", "peer KB");
    const std::pair<const char*, const char*> peers[] = {
        {"bmp", "qt/bmp"}, {"jpg", "libjpeg-turbo/jpg"}, {"gif", "giflib/gif"}};
    for (const auto& [name, other] : peers) {
        const double ours = Seconds[std::string("quorbel/") + name], theirs = Seconds[other];
        std::printf("%-4s %9.1f %-18s %9.1f %16.2f %9zu %9zu\n", name, ours * 1e3, other,
                    theirs * 1e3, ours / (draw + theirs),
                    FileSize(Folder() + "/size." + name) / 1024,
                    FileSize(peer + "." + name) / 1024);
    }
    std::printf("of ours for the GIF, the codec's colour reduction to the web palette: %.1f ms\n",
                Seconds["quorbel/gif-reduction"] * 1e3);
    std::filesystem::remove_all(Folder());
    return 0;
}
