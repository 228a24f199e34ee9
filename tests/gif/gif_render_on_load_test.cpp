// The switch that has frames build their bitmaps while a picture is read.
#include <gtest/gtest.h>

#include <sstream>

#include "gif/GIFImage.h"
#include "gif_oracle.h"

namespace {

// Restores the process-wide switch however the test ends.
struct RenderOnLoad {
    explicit RenderOnLoad(bool On) { GIFImageRenderOnLoad = On; }
    ~RenderOnLoad() { GIFImageRenderOnLoad = false; }
};

TEST(GifRenderOnLoad, WithTheSwitchEveryFrameHasItsBitmapWhenTheLoadReturns) {
    TGIFImage source;
    const std::vector<TGIFColor> map = {{255, 0, 0}, {0, 0, 255}, {0, 200, 0}, {9, 9, 9}};
    for (int i = 0; i < 3; ++i) {
        std::vector<std::uint8_t> pixels(20);
        for (std::size_t p = 0; p < pixels.size(); ++p)
            pixels[p] = static_cast<std::uint8_t>((p * 3 + i) % 4);
        auto frame = MakeFrame(source, 5, 4, map, pixels, i == 1);
        frame->SetBounds(i, i, 5, 4);
        source.AddFrame(std::move(frame));
    }
    const std::string bytes = SaveToBytes(source);
    const OracleImage oracle = DecodeWithGiflib(bytes);
    ASSERT_TRUE(oracle.Ok) << oracle.Error;
    ASSERT_EQ(oracle.Frames.size(), 3u);

    for (bool on : {false, true}) {
        RenderOnLoad renderOnLoad(on);
        TGIFImage gif;
        int built = 0; // bitmaps built, told by the start of their "Rendering..."
        gif.OnProgress = [&](TGIFImage&, TProgressStage Stage, int, const std::string& Message) {
            if (Message == GIFMessages::Rendering && Stage == TProgressStage::psStarting) ++built;
        };
        std::istringstream in(bytes);
        gif.LoadFromStream(in);
        EXPECT_EQ(built, on ? 3 : 0) << on;
        // Drawing builds only the bitmaps still missing; all show giflib's colours.
        for (int i = 0; i < gif.Images().Count(); ++i) {
            const TBitmap& bitmap = gif.Images()[i]->Bitmap();
            const OracleFrame& expected = oracle.Frames[static_cast<std::size_t>(i)];
            ASSERT_EQ(bitmap.Width(), expected.Width);
            ASSERT_EQ(bitmap.Height(), expected.Height);
            for (int y = 0; y < expected.Height; ++y)
                for (int x = 0; x < expected.Width; ++x) {
                    const TGIFColor c = expected.ColorMap[expected.Pixels[static_cast<std::size_t>(
                        y * expected.Width + x)]];
                    EXPECT_EQ(bitmap.Pixel(x, y), RGB(c.Red, c.Green, c.Blue))
                        << "frame " << i << " at " << x << "," << y << " " << on;
                }
        }
        EXPECT_EQ(built, 3) << on;
    }
}

} // namespace
