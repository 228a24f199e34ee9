// Optimising pictures: files get smaller, the frames shown (Qt's reader
// composes them, with their delays) never change.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

#include <random>

#include "gif_oracle.h"

namespace {

struct Shown {
    QImage Image;
    int Delay;
    bool operator==(const Shown&) const = default;
};

// What Qt's reader shows over time: each composed frame with its delay, runs
// of equal frames joined.
std::vector<Shown> Timeline(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    std::vector<Shown> shown;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read()) {
        // (premultiplied: clear pixels compare equal whatever colour they hold)
        frame = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const int delay = reader.nextImageDelay();
        if (!shown.empty() && shown.back().Image == frame)
            shown.back().Delay += delay;
        else
            shown.push_back({frame, delay});
    }
    return shown;
}

TGIFGraphicControlExtension& Control(TGIFSubImage& frame) {
    if (!frame.GraphicControlExtension())
        frame.Extensions().Add(std::make_unique<TGIFGraphicControlExtension>(&frame));
    return *frame.GraphicControlExtension();
}

int TotalDelay(TGIFImage& gif) {
    int total = 0;
    for (int i = 0; i < gif.Images().Count(); ++i)
        if (auto* c = gif.Images()[i]->GraphicControlExtension()) total += c->Delay();
    return total;
}

TEST(GifOptimize, RepeatedAreasBecomeTransparentAndTheFileShrinks) {
    TGIFImage gif;
    const std::vector<TGIFColor> map = DistinctColors(8);
    std::vector<std::uint8_t> pixels(32 * 32);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>((i * 5 + i / 32) % 8);
    for (int f = 0; f < 6; ++f) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                pixels[static_cast<std::size_t>((4 * f + y) * 32 + 3 * f + x)] ^= 3;
        auto frame = MakeFrame(gif, 32, 32, map, pixels);
        Control(*frame).SetDelay(5 + f);
        Control(*frame).SetDisposal(1);
        gif.AddFrame(std::move(frame));
    }
    const std::string before = SaveToBytes(gif);
    const int delay = TotalDelay(gif);
    gif.OptimizePicture(31, 0, 0, 8);
    const std::string after = SaveToBytes(gif);
    EXPECT_LT(after.size(), before.size() * 2 / 3);
    EXPECT_EQ(TotalDelay(gif), delay);
    EXPECT_EQ(gif.Images().Count(), 6);
    const std::vector<Shown> expected = Timeline(before);
    ASSERT_EQ(expected.size(), 6u);
    EXPECT_EQ(Timeline(after), expected);
}

// Random small animations, every option but colour reduction.
TEST(GifOptimize, RandomAnimationsShowTheSameFrames) {
    std::mt19937 random(20261207);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    const std::vector<TGIFColor> palette = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}};
    for (int round = 0; round < 300; ++round) {
        TGIFImage gif;
        const int width = pick(2, 7), height = pick(2, 7);
        gif.Header().SetWidth(width);
        gif.Header().SetHeight(height);
        TGIFSubImage* previous = nullptr;
        for (int f = pick(1, 5); f > 0; --f) {
            auto frame = std::make_unique<TGIFSubImage>(&gif);
            if (previous && pick(0, 1)) {
                frame->Assign(*previous);
                frame->Extensions().Clear();
                for (int n = pick(0, 3); n > 0; --n)
                    frame
                        ->Data()[static_cast<std::size_t>(pick(0, int(frame->Data().size()) - 1))] =
                        static_cast<std::uint8_t>(pick(0, frame->ColorMap().Count() - 1));
            } else {
                const int w = pick(1, width), h = pick(1, height);
                frame->SetBounds(pick(0, width - w), pick(0, height - h), w, h);
                for (int n = pick(2, 5); n > 0; --n)
                    frame->ColorMap().Add(palette[static_cast<std::size_t>(pick(0, 3))]);
                for (std::uint8_t& p : frame->Data())
                    p = static_cast<std::uint8_t>(pick(0, frame->ColorMap().Count() - 1));
            }
            TGIFGraphicControlExtension& control = Control(*frame);
            control.SetDisposal(pick(0, 3));
            control.SetDelay(pick(0, 4));
            if (pick(0, 1)) {
                control.SetTransparent(true);
                control.SetTransparentColorIndex(pick(0, frame->ColorMap().Count() - 1));
            }
            previous = frame.get();
            gif.AddFrame(std::move(frame));
        }
        const std::string before = SaveToBytes(gif);
        const int options = round % 2 ? 31 : pick(1, 15);
        gif.OptimizePicture(options, 0, 0, 8);
        const std::string after = SaveToBytes(gif);
        ASSERT_EQ(Timeline(after), Timeline(before)) << "round " << round << " options " << options;
    }
}

TEST(GifOptimize, MergingNeverTakesAnIndexTheFrameStillShows) {
    // frame 1 repeats every other pixel of frame 0 and shows index 2, frame
    // 0's transparent index; with a full map its lower half, outside frame 0,
    // shows every index, so there is none to spare and the frame stays
    for (bool full : {false, true}) {
        TGIFImage gif;
        for (const TGIFColor& c : DistinctColors(full ? 256 : 4))
            gif.GlobalColorMap().Add(c);
        std::vector<std::uint8_t> first(16 * 16), second(16 * 32);
        for (std::size_t i = 0; i < first.size(); ++i)
            first[i] = static_cast<std::uint8_t>(full ? i : i % 2);
        for (std::size_t i = 0; i < second.size(); ++i)
            second[i] = i >= 256 ? static_cast<std::uint8_t>(full ? i - 256 : 1)
                        : i % 2  ? 2
                                 : first[i];
        auto frame0 = MakeFrame(gif, 16, 16, {}, first);
        Control(*frame0).SetTransparent(true);
        Control(*frame0).SetTransparentColorIndex(2);
        Control(*frame0).SetDisposal(1);
        gif.AddFrame(std::move(frame0));
        auto frame1 = MakeFrame(gif, 16, 32, {}, second);
        Control(*frame1).SetDelay(3); // its own control: readers differ on frames without
        gif.AddFrame(std::move(frame1));
        const std::string before = SaveToBytes(gif);
        gif.OptimizePicture(2, 0, 0, 8);
        TGIFSubImage& merged = *gif.Images()[1];
        if (full) {
            EXPECT_EQ(merged.Data(), second);
            EXPECT_FALSE(merged.Transparent());
        } else {
            ASSERT_TRUE(merged.Transparent());
            EXPECT_NE(merged.GraphicControlExtension()->TransparentColorIndex(), 2);
        }
        EXPECT_EQ(Timeline(SaveToBytes(gif)), Timeline(before)) << full;
    }
}

TEST(GifOptimize, AnEmptyFirstFrameStays) {
    TGIFImage gif;
    for (int f = 0; f < 2; ++f) {
        auto frame =
            MakeFrame(gif, 4, 4, DistinctColors(2), std::vector<std::uint8_t>(16, f == 0 ? 1 : 0));
        Control(*frame).SetTransparent(true);
        Control(*frame).SetTransparentColorIndex(1);
        Control(*frame).SetDelay(7);
        gif.AddFrame(std::move(frame));
    }
    gif.OptimizePicture(1, 0, 0, 8);
    ASSERT_EQ(gif.Images().Count(), 2);
    EXPECT_EQ(gif.Images()[0]->GraphicControlExtension()->Delay(), 7);
}

TEST(GifOptimize, ReductionMethodNineNeedsCleanup) {
    TGIFImage gif;
    gif.AddFrame(MakeFrame(gif, 2, 2, DistinctColors(2), {0, 1, 1, 0}));
    EXPECT_THROW(gif.OptimizePicture(16, 9, 0, 8), GIFException);
    EXPECT_NO_THROW(gif.OptimizePicture(16 | 4, 9, 0, 8));
    EXPECT_NO_THROW(gif.OptimizePicture(16, 4, 0, 8));
    EXPECT_LE(gif.Images()[0]->ColorMap().Count(), 2);
}

// "Optimizing..." counts six steps for every frame the picture had, and reaches 100 %
// once, at its end, also when frames are removed on the way.
TEST(GifOptimize, ProgressCountsSixStepsPerFrameAndReachesAHundredOnce) {
    struct Case {
        int frames, options;
        bool framesRemoved;
    };
    for (const Case c : {Case{1, 0, false}, Case{4, 8, false}, Case{5, 31, true}}) {
        TGIFImage gif;
        for (int f = 0; f < c.frames; ++f) {
            auto frame = MakeFrame(gif, 4, 4, DistinctColors(4),
                                   {0, 1, 2, 3, 1, 2, 3, 0, 2, 3, 0, 1, 3, 0, 1, 2});
            Control(*frame).SetDelay(5);
            gif.AddFrame(std::move(frame));
        }
        std::vector<std::pair<TProgressStage, int>> reports;
        gif.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent,
                             const std::string& message) {
            if (message == GIFMessages::Optimizing) reports.emplace_back(stage, percent);
        };
        gif.OptimizePicture(c.options, 0, 0, 8);
        EXPECT_EQ(gif.Images().Count() < c.frames, c.framesRemoved) << c.options;
        ASSERT_EQ(reports.size(), static_cast<std::size_t>(1 + 6 * c.frames)) << c.options;
        EXPECT_EQ(reports.front(), std::make_pair(TProgressStage::psStarting, 0));
        EXPECT_EQ(reports.back(), std::make_pair(TProgressStage::psEnding, 100));
        for (std::size_t i = 1; i + 1 < reports.size(); ++i) {
            EXPECT_EQ(reports[i].first, TProgressStage::psRunning);
            EXPECT_LT(reports[i].second, 100);
            EXPECT_GE(reports[i].second, reports[i - 1].second);
        }
    }
}

} // namespace
