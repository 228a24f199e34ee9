// Texts saved as pictures through SaveTextFileW with the renderer installed: sizes from the
// font's own metrics, files read back by Qt's readers and giflib, failures reported once
// and never costing an existing file.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gif/gif_oracle.h"
#include "picture/JpegWriter.h"
#include "picture/TextPicture.h"
#include "text/TextFiles.h"

namespace {

// Fonts need an application; the renderer needs no widgets, so neither does this program.
class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tests_picture";
        static char* argv[] = {name, nullptr};
        if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { application.reset(); }
    std::unique_ptr<QGuiApplication> application;
};
const auto* registered = ::testing::AddGlobalTestEnvironment(new GuiApplication);

// Colours of the web palette, which the GIF codec reduces every true-colour picture to.
constexpr TColor Background = RGB(0x33, 0x66, 0x99);
constexpr TColor Ink = RGB(0xFF, 0xCC, 0x00);

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class TextPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        style.Font.setPixelSize(13);
        style.TextColor = Ink;
        style.Background = Background;
        InstallTextPictureRenderer(
            [this] { return style; },
            [this](std::string_view key, WideStringView path, const std::string&) {
                reports.emplace_back(std::string(key), U8(path));
            });
        metrics = std::make_unique<QFontMetrics>(style.Font);
    }
    void TearDown() override { SetTextPictureRenderer(nullptr); }

    std::string Path(const std::string& name) const {
        return dir.filePath(name.c_str()).toStdString();
    }
    int LineHeight() const { return metrics->height(); }
    int Width(const char16_t* text) const {
        return metrics->horizontalAdvance(QString::fromStdU16String(text));
    }

    QTemporaryDir dir;
    PictureStyle style;
    std::unique_ptr<QFontMetrics> metrics;
    std::vector<std::pair<std::string, std::string>> reports;
};

TEST_F(TextPictureTest, SizeFollowsTheLinesAndTheFont) {
    const struct {
        const char16_t* text;
        const char16_t* widest; // the line whose width sets the picture's
        int lines;
    } cases[] = {
        {u"", u"", 1},
        {u"a\r\nbb", u"bb", 2},
        {u"abc\ndef\nghi", u"abc\ndef\nghi", 1}, // LF alone breaks no line
        {u"x\r\n\r\n", u"x", 3},
    };
    for (const auto& c : cases) {
        const std::string path = Path("size.bmp");
        ASSERT_TRUE(SaveTextFileW(c.text, U16(path), 65001, false)) << U8(c.text);
        const QImage image(QString::fromStdString(path), "bmp");
        ASSERT_FALSE(image.isNull()) << U8(c.text);
        EXPECT_EQ(image.width(), Width(c.widest) + 20) << U8(c.text);
        EXPECT_EQ(image.height(), c.lines * LineHeight() + 20) << U8(c.text);
        // The margins are background; an empty text is nothing else.
        EXPECT_EQ(QColorToColor(image.pixelColor(0, 0)), Background);
        EXPECT_EQ(QColorToColor(image.pixelColor(image.width() - 1, image.height() - 1)),
                  Background);
        // Ink only inside the margins.
        int inked = 0, outside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (QColorToColor(image.pixelColor(x, y)) == Background) continue;
                ++inked;
                outside += x < 10 || y < 10 || x >= image.width() - 10 || y >= image.height() - 10;
            }
        EXPECT_EQ(inked > 0, *c.text != 0) << U8(c.text);
        EXPECT_EQ(outside, 0) << U8(c.text);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(TextPictureTest, EveryPictureNameGetsItsFormat) {
    const struct {
        const char* name;
        const char* qtFormat; // what Qt's reader finds in the bytes; "" for a text file
    } cases[] = {
        {"p.bmp", "bmp"},   {"p.BMP", "bmp"}, {"p.jpg", "jpeg"},
        {"p.Jpeg", "jpeg"}, {"p.gif", "gif"}, {"p.PNG", ""},
    };
    const WideString text = u"Grüße, Ωmega\r\n  zweite Zeile";
    for (const auto& c : cases) {
        const std::string path = Path(c.name);
        ASSERT_TRUE(SaveTextFileW(text, U16(path), 65001, false)) << c.name;
        const std::string bytes = ReadFile(path);
        if (!*c.qtFormat) {
            EXPECT_EQ(bytes, U8(text)) << c.name;
            continue;
        }
        EXPECT_EQ(QImageReader::imageFormat(QString::fromStdString(path)).toStdString(), c.qtFormat)
            << c.name;
        const QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.width(), Width(u"  zweite Zeile") + 20) << c.name;
        EXPECT_EQ(image.height(), 2 * LineHeight() + 20) << c.name;
        if (std::string(c.qtFormat) == "jpeg") {
            EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
        }
    }
    // Samples to look at, beside the windows' screenshots.
    const std::string samples = QUORBEL_BUILD_DIR "/screenshots/picture/";
    std::filesystem::create_directories(samples);
    for (const char* name : {"sample.bmp", "sample.jpg", "sample.gif"})
        EXPECT_TRUE(SaveTextFileW(text, U16(samples + name), 65001, false));
    // Lossy, but a picture of one colour stays near it.
    ASSERT_TRUE(SaveTextFileW(u"", U16(Path("flat.jpg")), 65001, false));
    const QColor flat = QImage(QString::fromStdString(Path("flat.jpg"))).pixelColor(5, 5);
    EXPECT_NEAR(flat.red(), GetRValue(Background), 3);
    EXPECT_NEAR(flat.green(), GetGValue(Background), 3);
    EXPECT_NEAR(flat.blue(), GetBValue(Background), 3);
    EXPECT_TRUE(reports.empty());
}

TEST_F(TextPictureTest, GifDecodesToTheSamePixelsInGiflibAndQt) {
    const std::string path = Path("same.gif");
    ASSERT_TRUE(
        SaveTextFileW(u"The quick brown fox\r\njumps over 13 lazy dogs.", U16(path), 0, false));
    const std::string bytes = ReadFile(path);
    const OracleImage gif = DecodeWithGiflib(bytes);
    ASSERT_TRUE(gif.Ok) << gif.Error;
    ASSERT_EQ(gif.Frames.size(), 1u);
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(DecodeWithQt(bytes, width, height, argb));
    const OracleFrame& frame = gif.Frames[0];
    ASSERT_EQ(width, frame.Width);
    ASSERT_EQ(height, frame.Height);
    EXPECT_EQ(height, 2 * LineHeight() + 20);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const TGIFColor& c = frame.ColorMap.at(frame.Pixels[i]);
        differing += (argb[i] & 0xFFFFFFu) != ((c.Red << 16u) | (c.Green << 8u) | unsigned(c.Blue));
    }
    EXPECT_EQ(differing, 0u);
    const TGIFColor& corner = frame.ColorMap.at(frame.Pixels[0]);
    EXPECT_EQ(RGB(corner.Red, corner.Green, corner.Blue), Background);
}

// A failed picture is reported once, returns false and leaves what was there.
TEST_F(TextPictureTest, FailuresReportOnceAndKeepTheOldFile) {
    // More lines than a GIF or a JPEG is high; a BMP of more pixels than memory allows.
    WideString tall;
    for (int i = 0; i * LineHeight() <= 65536; ++i)
        tall += u"\r\n";
    WideString huge;
    for (long long i = 0; i * LineHeight() * 20 <= MaxPicturePixels; ++i)
        huge += u"\r\n";
    const struct {
        const char* name;
        const WideString& text;
        std::string folder; // created before, "" for the test folder
    } cases[] = {
        {"tall.gif", tall, ""},
        {"tall.jpg", tall, ""},
        {"huge.bmp", huge, ""},
        {"x.bmp", u"x", "missing/"}, // a folder that does not exist
    };
    for (const auto& c : cases) {
        reports.clear();
        const std::string path = Path(c.folder + c.name);
        if (c.folder.empty()) std::ofstream(path, std::ios::binary) << "old";
        EXPECT_FALSE(SaveTextFileW(c.text, U16(path), 65001, false)) << c.name;
        ASSERT_EQ(reports.size(), 1u) << c.name;
        EXPECT_EQ(reports[0].first, "bildfehler");
        EXPECT_EQ(reports[0].second, path);
        if (c.folder.empty()) {
            EXPECT_EQ(ReadFile(path), "old") << c.name;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("")), {}), 3);
}

TEST_F(TextPictureTest, NamesOutsideAnyCodePageAreWrittenAsTheyAre) {
    const std::string path = Path("Ωμέγα ☃.gif");
    ASSERT_TRUE(SaveTextFileW(u"Ω", U16(path), 65001, false));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(path)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("")), {}), 1);
}

TEST(JpegWriter, LibraryErrorsBecomeExceptions) {
    // The library refuses an empty picture; its own handler would end the process.
    TBitmap empty;
    try {
        EncodeJpeg(empty, 85);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
    }
}

} // namespace
