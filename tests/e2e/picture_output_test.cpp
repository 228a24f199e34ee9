// An unattended run whose output format is a picture writes a GIF that giflib decodes.
#include <gtest/gtest.h>

#include "e2e/QuorbelProcess.h"
#include "gif/gif_oracle.h"

namespace {

TEST(PictureOutput, UnattendedRunWritesAGifThatGiflibDecodes) {
    QuorbelProgram q;
    q.write(q.programFolder() / "gif.qvr",
            "\xEF\xBB\xBF[PBCH]\r\nout_onlyifchanged=0\r\n[PBCB]\r\nout_format=.gif\r\n");
    q.write("in/a.txt", "first line\r\nsecond, longer line\r\n");
    const ProcessResult r = q.run({"processandclose=1", "gif.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    const OracleImage gif = DecodeWithGiflib(q.read("in/a-1.gif"));
    ASSERT_TRUE(gif.Ok) << gif.Error;
    ASSERT_EQ(gif.Frames.size(), 1u);
    // Two lines of text and the margins: wider than high, and more than one colour.
    EXPECT_GT(gif.Width, gif.Height);
    EXPECT_GT(gif.Height, 20);
    const auto& pixels = gif.Frames[0].Pixels;
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), pixels[0]), std::ptrdiff_t(pixels.size()));
}

} // namespace
