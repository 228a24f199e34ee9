// Reading GIF files: round trips, extensions kept byte for byte, damaged files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "gif/GIFImage.h"
#include "gif_oracle.h"
#include "gif_shown.h"

namespace {

struct Loaded {
    std::unique_ptr<TGIFImage> Image = std::make_unique<TGIFImage>();
    std::vector<std::string> Warnings;
};

std::unique_ptr<Loaded> Load(const std::string& bytes) {
    auto loaded = std::make_unique<Loaded>();
    loaded->Image->OnProblem = [w = &loaded->Warnings](const void*, TGIFSeverity,
                                                       const std::string& m) { w->push_back(m); };
    std::istringstream in(bytes);
    loaded->Image->LoadFromStream(in);
    return loaded;
}

std::string SmallPicture(int coding = 0, bool interlaced = false) {
    TGIFImage gif;
    gif.PixelCoding = coding;
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 40 * 30; ++i)
        pixels.push_back(static_cast<std::uint8_t>((i * 7 + i / 40) % 16));
    gif.AddFrame(MakeFrame(gif, 40, 30, DistinctColors(16), pixels, interlaced));
    return SaveToBytes(gif);
}

// A minimal GIF89a with a global map of two colours, one 2x2 frame and the
// given blocks before it.
std::string Handmade(const std::string& before) {
    std::string gif("GIF89a\x02\x00\x02\x00\x80\x00\x00", 13);
    gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    gif += before;
    gif += std::string("\x2C\x00\x00\x00\x00\x02\x00\x02\x00\x00", 10);
    // clear 4, 1, 0, 0 at 3 bits, then 1 and EOI 5 at 4 bits
    gif += std::string("\x02\x03\x0C\x10\x05\x00", 6);
    gif += '\x3B';
    return gif;
}

// A 16-bit little-endian value at the end of a file being built.
void AppendWord(std::string& bytes, int value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

// A GIF87a file of one frame with a local map of 2^bits entries and the given image data.
std::string FileWithData(int width, int height, int bits, const std::string& data) {
    std::string gif("GIF87a");
    const auto word = [&](int v) { AppendWord(gif, v); };
    word(width);
    word(height);
    gif += std::string("\x00\x00\x00", 3);
    gif += '\x2C';
    word(0);
    word(0);
    word(width);
    word(height);
    gif += static_cast<char>(0x80 | (bits - 1));
    for (const TGIFColor& c : DistinctColors(1 << bits)) {
        gif += static_cast<char>(c.Red);
        gif += static_cast<char>(c.Green);
        gif += static_cast<char>(c.Blue);
    }
    return gif + data + '\x3B';
}

// What loads with at least one frame saves again and reloads to the same pixels.
void ExpectSavesAndReloadsTheSame(TGIFImage& image, const std::string& what) {
    if (ShownPixels(image).empty()) return;
    std::string saved;
    try {
        saved = SaveToBytes(image);
    } catch (const GIFException& e) {
        ADD_FAILURE() << what << ": loads but does not save: " << e.what();
        return;
    }
    try {
        auto again = Load(saved);
        EXPECT_TRUE(ShownPixels(*again->Image) == ShownPixels(image)) << what;
    } catch (const GIFException& e) {
        ADD_FAILURE() << what << ": saved file does not load: " << e.what();
    }
}

} // namespace

TEST(GifReader, WrittenFilesReadBackUnchanged) {
    for (int coding : {0, 1})
        for (bool interlaced : {false, true}) {
            const std::string bytes = SmallPicture(coding, interlaced);
            auto loaded = Load(bytes);
            EXPECT_TRUE(loaded->Warnings.empty());
            TGIFImage& gif = *loaded->Image;
            ASSERT_EQ(gif.Images().Count(), 1);
            EXPECT_EQ(gif.Width(), 40);
            EXPECT_EQ(gif.Height(), 30);
            EXPECT_EQ(gif.Images()[0]->ColorMap().Entries(), DistinctColors(16));
            EXPECT_EQ(gif.Images()[0]->Interlaced(), interlaced);
            gif.PixelCoding = coding;
            EXPECT_EQ(SaveToBytes(gif), bytes) << coding << interlaced;
        }
}

TEST(GifReader, HandmadeFileDecodes) {
    auto loaded = Load(Handmade(""));
    const TGIFSubImage& frame = *loaded->Image->Images()[0];
    EXPECT_EQ(frame.Data(), (std::vector<std::uint8_t>{1, 0, 0, 1}));
    EXPECT_TRUE(loaded->Warnings.empty()) << loaded->Warnings[0];
    EXPECT_EQ(loaded->Image->GlobalColorMap().Count(), 2);
}

TEST(GifReader, ExtensionsAreWrittenBackByteForByte) {
    const std::string loop("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const std::string unknown("\x21\xFF\x0BXMP DataXMP\x04"
                              "abcd\x02xy\x00",
                              23);
    const std::string control("\x21\xF9\x04\x05\x0A\x00\x01\x00", 8);
    const std::string comment("\x21\xFE\x05hello\x03"
                              "abc\x00",
                              13);
    const std::string text("\x21\x01\x0C"
                           "0123456789AB\x02hi\x00",
                           19);
    const std::string bytes = Handmade(loop + unknown + control + comment + text);
    auto loaded = Load(bytes);
    EXPECT_TRUE(loaded->Warnings.empty()) << loaded->Warnings[0];
    TGIFSubImage& frame = *loaded->Image->Images()[0];
    ASSERT_EQ(frame.Extensions().Count(), 5);
    auto* nsloop = dynamic_cast<TGIFAppExtNSLoop*>(frame.Extensions()[0]);
    ASSERT_NE(nsloop, nullptr);
    EXPECT_EQ(nsloop->Loops(), 0);
    EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(frame.Extensions()[1]), nullptr);
    ASSERT_NE(frame.GraphicControlExtension(), nullptr);
    EXPECT_TRUE(frame.Transparent());
    EXPECT_EQ(frame.GraphicControlExtension()->Delay(), 10);
    EXPECT_EQ(frame.GraphicControlExtension()->Disposal(), 1);
    // written back: the same extensions, the same frame
    const std::string saved = SaveToBytes(*loaded->Image);
    EXPECT_NE(saved.find(loop + unknown + control + comment + text), std::string::npos);
    EXPECT_EQ(DecodeWithGiflib(saved).Frames.at(0).Pixels, (std::vector<std::uint8_t>{1, 0, 0, 1}));
    // copying the picture keeps them too
    TGIFImage copy;
    copy.Assign(loaded->Image.get());
    EXPECT_EQ(SaveToBytes(copy), saved);
}

TEST(GifReader, JunkBeforeTheSignature) {
    const std::string bytes = SmallPicture();
    EXPECT_EQ(Load(std::string("\x01\x02\x03\x04", 4) + bytes)->Image->Images().Count(), 1);
    try {
        Load("12345" + bytes);
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid GIF signature");
    }
}

TEST(GifReader, CutFilesLoadWithZerosAndWarnings) {
    const std::string bytes = SmallPicture();
    const std::size_t dataStart = 6 + 7 + 10 + 48;
    for (std::size_t cut = dataStart + 3; cut < bytes.size() - 3; cut += 11) {
        auto loaded = Load(bytes.substr(0, cut));
        ASSERT_EQ(loaded->Image->Images().Count(), 1);
        EXPECT_FALSE(loaded->Warnings.empty());
        const auto& data = loaded->Image->Images()[0]->Data();
        ASSERT_EQ(data.size(), 40u * 30u);
        EXPECT_EQ(data.back(), 0) << cut;
    }
}

TEST(GifReader, ZeroSizedDescriptorTakesTheScreenSize) {
    std::string bytes = Handmade("");
    bytes[13 + 6 + 5] = 0; // the frame's width
    auto loaded = Load(bytes);
    const TGIFSubImage& frame = *loaded->Image->Images()[0];
    EXPECT_EQ(frame.Width(), 2);
    EXPECT_EQ(frame.Height(), 2);
    EXPECT_EQ(loaded->Warnings, std::vector<std::string>{"Image exceeds Logical Screen size"});
}

TEST(GifReader, StrayBytesBetweenBlocks) {
    std::string bytes = Handmade("");
    bytes.insert(bytes.size() - 1, std::string("\x00\x00", 2));
    auto loaded = Load(bytes);
    EXPECT_EQ(loaded->Image->Images().Count(), 1);
    EXPECT_TRUE(loaded->Warnings.empty());

    bytes = Handmade("");
    bytes.insert(bytes.size() - 1, "\x42");
    loaded = Load(bytes);
    EXPECT_EQ(loaded->Image->Images().Count(), 1);
    EXPECT_EQ(loaded->Warnings,
              (std::vector<std::string>{"Unknown GIF block type", "Invalid Image trailer"}));
}

TEST(GifReader, DecoderRejectsCodesBeyondTheTable) {
    // clear 4, 1, then code 7 while the next free code is 6
    std::string bytes("GIF87a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19);
    bytes += std::string("\x2C\x00\x00\x00\x00\x02\x00\x02\x00\x00", 10);
    bytes += std::string("\x02\x02\xCC\x01\x00\x3B", 6);
    auto loaded = Load(bytes);
    EXPECT_EQ(loaded->Warnings, std::vector<std::string>{"Invalid GIF data"});
    EXPECT_EQ(loaded->Image->Images()[0]->Data(), (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST(GifReader, BadColourCounts) {
    // a local map is always 2..256 entries; a missing map raises premature end
    std::string bytes = Handmade("");
    bytes[13 + 6 + 9] = '\x87';
    EXPECT_THROW(Load(bytes), GIFException);
}

TEST(GifReader, MutatedFilesNeverCrashOrHang) {
    // Seeds: the files of the writer's roads, mutated in-process with a fixed seed.
    std::vector<std::string> seeds = {SmallPicture(0), SmallPicture(1, true)};
    seeds.push_back(Handmade(std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x05\x00\x00", 19) +
                             std::string("\x21\xF9\x04\x01\x00\x00\x01\x00", 8) +
                             std::string("\x21\x01\x0C"
                                         "0123456789AB\x02hi\x00",
                                         19)));
    {
        TGIFImage gif;
        std::vector<std::uint8_t> pixels(64 * 64);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 5));
        gif.AddFrame(MakeFrame(gif, 64, 64, DistinctColors(256), pixels));
        seeds.push_back(SaveToBytes(gif));
    }
    std::mt19937 rng(10000);
    // image data of random bytes: codes of every kind, in any order
    for (int codeSize : {2, 5, 8}) {
        std::string data(1, static_cast<char>(codeSize));
        for (int block = 0; block < 3; ++block) {
            data += '\xFF';
            for (int i = 0; i < 255; ++i)
                data += static_cast<char>(rng());
        }
        seeds.push_back(FileWithData(40, 40, codeSize, data + '\0'));
    }
    int loadedCount = 0, raised = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10000; ++i) {
        std::string bytes = seeds[i % seeds.size()];
        const int mutations = 1 + static_cast<int>(rng() % 8);
        for (int m = 0; m < mutations; ++m) {
            const std::size_t pos = rng() % bytes.size();
            switch (rng() % 6) {
            case 0:
                bytes[pos] = static_cast<char>(rng());
                break;
            case 1:
                bytes[pos] = static_cast<char>(bytes[pos] ^ (1 << (rng() % 8)));
                break;
            case 2:
                bytes.resize(pos + 1);
                break;
            case 3:
                bytes.insert(pos, 1, static_cast<char>(rng()));
                break;
            case 4:
                bytes.erase(pos, 1 + rng() % 16);
                break;
            default:
                bytes[pos] = "\x00\xFF\x21\x2C\x3B\xF9\x80"[rng() % 7];
                break;
            }
            if (bytes.empty()) bytes = "G";
        }
        try {
            auto loaded = Load(bytes);
            ++loadedCount;
            // (Frames a few bytes make huge are left out: writing them takes long.)
            std::size_t pixels = 0;
            for (int f = 0; f < loaded->Image->Images().Count(); ++f)
                pixels += loaded->Image->Images()[f]->Data().size();
            if (pixels < 100'000)
                ExpectSavesAndReloadsTheSame(*loaded->Image, "mutation " + std::to_string(i));
            if (HasFailure()) break;
        } catch (const GIFException&) {
            ++raised;
        }
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(loadedCount + raised, 10000);
    EXPECT_GT(loadedCount, 1000);
    RecordProperty("seconds", std::to_string(seconds));
}

TEST(GifReader, AnimatedPictureWithGlobalMapAgreesWithGiflib) {
    TGIFImage gif;
    for (int i = 0; i < 4; ++i)
        gif.GlobalColorMap().Add(DistinctColors(4)[i]);
    struct Placement {
        int Left, Top, Width, Height;
        bool Interlaced;
    };
    const Placement placements[] = {
        {0, 0, 30, 20, false}, {5, 3, 7, 9, true}, {20, 10, 10, 10, false}};
    for (int i = 0; i < 3; ++i) {
        const Placement& p = placements[i];
        auto frame = std::make_unique<TGIFSubImage>(&gif);
        frame->SetBounds(p.Left, p.Top, p.Width, p.Height);
        frame->SetInterlaced(p.Interlaced);
        for (std::size_t k = 0; k < frame->Data().size(); ++k)
            frame->Data()[k] = static_cast<std::uint8_t>((k / 3 + i) % 4);
        auto control = std::make_unique<TGIFGraphicControlExtension>(frame.get());
        control->SetDelay(10 * (i + 1));
        control->SetDisposal(2);
        frame->Extensions().Add(std::move(control));
        if (i == 0) {
            auto loop = std::make_unique<TGIFAppExtNSLoop>(frame.get());
            loop->SetLoops(3);
            frame->Extensions().Add(std::move(loop));
        }
        gif.AddFrame(std::move(frame));
    }
    const std::string bytes = SaveToBytes(gif);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    const OracleImage decoded = DecodeWithGiflib(bytes);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(decoded.Width, 30);
    EXPECT_EQ(decoded.Height, 20);
    ASSERT_EQ(decoded.Frames.size(), 3u);
    auto loaded = Load(bytes);
    EXPECT_TRUE(loaded->Warnings.empty());
    for (int i = 0; i < 3; ++i) {
        const OracleFrame& frame = decoded.Frames[i];
        EXPECT_EQ(frame.Left, placements[i].Left);
        EXPECT_EQ(frame.Top, placements[i].Top);
        EXPECT_EQ(frame.Interlaced, placements[i].Interlaced);
        EXPECT_EQ(frame.ColorMap, DistinctColors(4));
        EXPECT_EQ(frame.Pixels, gif.Images()[i]->Data()) << i;
        const TGIFSubImage& read = *loaded->Image->Images()[i];
        EXPECT_EQ(read.Data(), gif.Images()[i]->Data()) << i;
        ASSERT_NE(read.GraphicControlExtension(), nullptr);
        EXPECT_EQ(read.GraphicControlExtension()->Delay(), 10 * (i + 1));
        EXPECT_EQ(read.GraphicControlExtension()->Disposal(), 2);
    }
    EXPECT_EQ(SaveToBytes(*loaded->Image), bytes);
}

TEST(GifReader, DataFromAnotherCoderDecodeExactly) {
    // Random and run-rich pixels at several code sizes, with the table cleared
    // when full and with the full table kept in use; giflib checks the data.
    std::mt19937 rng(4096);
    for (int bits : {1, 2, 4, 8})
        for (bool clearWhenFull : {true, false})
            for (int kind = 0; kind < 3; ++kind) {
                const int width = 331, height = 127;
                std::vector<std::uint8_t> pixels;
                std::uint8_t color = 0;
                while (pixels.size() < static_cast<std::size_t>(width * height)) {
                    const int run = kind == 0 ? 1 : kind == 1 ? 1 + rng() % 5 : 1 + rng() % 3000;
                    color = static_cast<std::uint8_t>(rng() % (1u << bits));
                    pixels.insert(pixels.end(), run, color);
                }
                pixels.resize(static_cast<std::size_t>(width * height));
                const std::string bytes =
                    FileWithData(width, height, bits,
                                 ReferenceLZW(pixels, std::max(2, bits), clearWhenFull ? 4096 : 0));
                const std::string what = std::to_string(bits) + " bits, kind " +
                                         std::to_string(kind) +
                                         (clearWhenFull ? ", clearing" : ", deferred clear");
                const OracleImage decoded = DecodeWithGiflib(bytes);
                ASSERT_TRUE(decoded.Ok) << what << ": " << decoded.Error;
                ASSERT_EQ(decoded.Frames.at(0).Pixels, pixels) << what;
                auto loaded = Load(bytes);
                EXPECT_TRUE(loaded->Warnings.empty()) << what << ": " << loaded->Warnings[0];
                EXPECT_EQ(loaded->Image->Images()[0]->Data(), pixels) << what;
            }
}

TEST(GifReader, FrameSizesTheDataCannotFillAreRefused) {
    // Frames that claim far more pixels than their bytes could code must not
    // make the reader allocate them: neither one huge frame nor many large
    // ones in a tiny file. One large frame cut short still loads.
    const auto file = [](int frames, int width, int height) {
        std::string gif("GIF89a");
        const auto word = [&](int v) { AppendWord(gif, v); };
        word(width);
        word(height);
        gif += std::string("\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 9);
        for (int i = 0; i < frames; ++i) {
            gif += '\x2C';
            word(0);
            word(0);
            word(width);
            word(height);
            gif += std::string("\x00\x02\x00", 3); // no map; code size 2, no data
        }
        return gif + '\x3B';
    };
    struct Case {
        int Frames, Width, Height;
        bool Loads;
    };
    for (const Case& c : {Case{1, 65535, 65535, false}, Case{8, 4096, 4096, false},
                          Case{1, 4096, 4096, true}, Case{3, 300, 200, true}}) {
        const std::string what = std::to_string(c.Frames) + " x " + std::to_string(c.Width) + "x" +
                                 std::to_string(c.Height);
        try {
            auto loaded = Load(file(c.Frames, c.Width, c.Height));
            EXPECT_TRUE(c.Loads) << what;
            EXPECT_EQ(loaded->Image->Images().Count(), c.Frames) << what;
        } catch (const GIFException& e) {
            EXPECT_FALSE(c.Loads) << what;
            EXPECT_STREQ(e.what(), "Invalid image dimensions") << what;
        }
    }
}

TEST(GifReader, FilesOnDisk) {
    const auto path = std::filesystem::temp_directory_path() / "quorbel_gif_reader_file.gif";
    const std::string bytes = SmallPicture();
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    TGIFImage gif;
    gif.LoadFromFile(path.string());
    EXPECT_EQ(SaveToBytes(gif), bytes);
    std::filesystem::remove(path);
    try {
        gif.LoadFromFile(path.string());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path.string() + "\"");
    }
}

// Pictures that other programs write and that loaded but did not save, or saved corrupt.
TEST(GifReader, WhatLoadsSavesAgainWithTheSamePixels) {
    // A 2-entry global map and a 4-entry local one: the header stated 4 global entries.
    {
        TGIFImage gif;
        gif.Header().ColorMap().Add({1, 2, 3});
        gif.Header().ColorMap().Add({4, 5, 6});
        gif.AddFrame(MakeFrame(gif, 2, 2, DistinctColors(4), {0, 1, 2, 3}));
        const std::string bytes = SaveToBytes(gif);
        EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]) & 0x07, 0); // two entries
        auto loaded = Load(bytes);
        EXPECT_EQ(loaded->Image->Images().Count(), 1);
        EXPECT_EQ(ShownPixels(*loaded->Image), ShownPixels(gif));
        const OracleImage giflib = DecodeWithGiflib(bytes);
        ASSERT_TRUE(giflib.Ok) << giflib.Error;
        EXPECT_EQ(giflib.Frames.size(), 1u);
    }
    // A frame at left 65,535 (a screen wider than a file can state).
    {
        std::string gif("GIF87a");
        AppendWord(gif, 10);
        AppendWord(gif, 10);
        gif += std::string("\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 9);
        gif += '\x2C';
        for (int v : {0xFFFF, 3, 2, 2})
            AppendWord(gif, v);
        gif += '\0';
        gif += std::string("\x02\x03\x0C\x10\x05\x00", 6) + '\x3B';
        auto loaded = Load(gif);
        ASSERT_EQ(loaded->Image->Images().Count(), 1);
        EXPECT_EQ(loaded->Image->Images()[0]->Left(), 0xFFFF);
        ExpectSavesAndReloadsTheSame(*loaded->Image, "left 65535");
    }
    // Indexes beyond the colour map: a 2-entry map, data coded at 2 bits with indexes 0..3.
    for (const bool withMap : {true, false}) {
        std::string gif("GIF87a");
        AppendWord(gif, 2);
        AppendWord(gif, 2);
        gif += withMap ? std::string("\x80\x00\x00\x10\x20\x30\x40\x50\x60", 9)
                       : std::string("\x00\x00\x00", 3);
        gif += '\x2C';
        for (int v : {0, 0, 2, 2})
            AppendWord(gif, v);
        gif += '\0';
        gif += ReferenceLZW({0, 1, 2, 3}, 2, 0) + '\x3B';
        auto loaded = Load(gif);
        ASSERT_EQ(loaded->Image->Images().Count(), 1);
        EXPECT_EQ(loaded->Image->Images()[0]->Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
        ExpectSavesAndReloadsTheSame(*loaded->Image, withMap ? "beyond the map" : "no map");
        auto again = Load(SaveToBytes(*loaded->Image));
        EXPECT_EQ(again->Image->Images()[0]->Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    }
}
