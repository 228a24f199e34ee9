// Colour maps: capacity, overflow, search order and bad indices.
#include <gtest/gtest.h>

#include "gif/GIFImage.h"

TEST(GifColorMap, CapacityGrowsInSteps) {
    TGIFImage gif;
    TGIFSubImage frame(&gif);
    TGIFColorMap& map = frame.ColorMap();
    const std::vector<std::pair<int, int>> countToCapacity = {
        {1, 16}, {16, 16}, {17, 32}, {32, 32}, {33, 64}, {200, 224}, {256, 256}};
    int added = 0;
    for (const auto& [count, capacity] : countToCapacity) {
        while (added < count)
            map.Add({static_cast<std::uint8_t>(added++), 0, 0});
        EXPECT_EQ(map.Capacity(), capacity) << count;
    }
    try {
        map.Add({1, 2, 3});
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
}

TEST(GifColorMap, BitsAndStreamPadding) {
    TGIFImage gif;
    TGIFSubImage frame(&gif);
    TGIFColorMap& map = frame.ColorMap();
    const std::vector<std::pair<int, int>> countToBits = {{0, 0}, {1, 1},   {2, 1},  {3, 2},
                                                          {5, 3}, {129, 8}, {256, 8}};
    for (const auto& [count, bits] : countToBits) {
        map.Clear();
        for (int i = 0; i < count; ++i)
            map.Add({9, 9, 9});
        EXPECT_EQ(map.BitsPerPixel(), bits) << count;
        std::ostringstream out;
        map.SaveToStream(out);
        EXPECT_EQ(out.str().size(), bits ? 3u << bits : 0u) << count;
    }
}

TEST(GifColorMap, SearchOrderAndIndices) {
    TGIFImage gif;
    std::vector<std::string> warnings;
    gif.OnProblem = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TGIFSubImage frame(&gif);
    TGIFColorMap& map = frame.ColorMap();
    EXPECT_THROW(map.Colors(0), GIFException); // "Color table is empty"
    map.Add({1, 1, 1});
    map.Add({2, 2, 2});
    map.Add({1, 1, 1});
    EXPECT_EQ(map.IndexOf({1, 1, 1}), 2); // unsorted: from the last entry
    map.SetOptimized(true);
    EXPECT_EQ(map.IndexOf({1, 1, 1}), 0); // sorted: from the first
    EXPECT_EQ(map.AddUnique({2, 2, 2}), 1);
    EXPECT_EQ(map.AddUnique({3, 3, 3}), 3);
    EXPECT_FALSE(map.Optimized()); // appending clears the flag
    EXPECT_EQ(map.Colors(7), (TGIFColor{1, 1, 1}));
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    try {
        map.Delete(4);
        FAIL() << "no exception";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid color index");
    }
    const TPalette palette = map.ExportPalette();
    ASSERT_EQ(palette.size(), 4u);
    EXPECT_EQ(palette[3].peFlags, PC_NOCOLLAPSE);
}

TEST(GifColorMap, TransparentIndexMustLieInTheActiveMap) {
    TGIFImage gif;
    std::vector<std::string> warnings;
    gif.OnProblem = [&](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    gif.GlobalColorMap().Add({0, 0, 0});
    gif.GlobalColorMap().Add({1, 1, 1});
    TGIFSubImage frame(&gif);
    auto control = std::make_unique<TGIFGraphicControlExtension>(&frame);
    EXPECT_EQ(frame.GraphicControlExtension(), control.get());
    control->SetTransparentColorIndex(1);
    EXPECT_EQ(control->TransparentColorIndex(), 1);
    control->SetTransparentColorIndex(2);
    EXPECT_EQ(control->TransparentColorIndex(), 0);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    control.reset();
    EXPECT_EQ(frame.GraphicControlExtension(), nullptr);
}
