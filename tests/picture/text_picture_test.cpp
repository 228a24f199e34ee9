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
#include "picture/PictureSettings.h"
#include "picture/TextPicture.h"
#include "support/FileSizeLimit.h"
#include "text/TextFiles.h"

namespace {

// Fonts need an application; the renderer needs no widgets, so neither does this program.
class GuiApplication : public ::testing::Environment {
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
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

class TextPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The picture settings as the output settings window holds them: 10 pt is 13 pixels.
        settings.SetText({"Teinstausgabe", "Edit1"}, "#336699");
        settings.SetFont({"Teinstausgabe", "Label3"}, {u"Courier New", 10, false, false, false,
                                                       false, static_cast<uint32_t>(Ink)});
        font.setPixelSize(13);
        InstallTextPictureRenderer(
            [this] { return PictureStyleFromSettings(settings); },
            [this](std::string_view key, WideStringView path, const std::string&) {
                reports.emplace_back(std::string(key), U8(path));
            });
    }
    void TearDown() override { SetTextPictureRenderer(std::move(savedRenderer)); }
    TextPictureRenderer savedRenderer = SetTextPictureRenderer(nullptr);

    std::string Path(const std::string& name) const {
        return dir.filePath(name.c_str()).toStdString();
    }
    // The oracle measures with the font the renderer should be given.
    int LineHeight() const { return QFontMetrics(font).height(); }
    int Width(const char16_t* text) const {
        return QFontMetrics(font).horizontalAdvance(QString::fromStdU16String(text));
    }
    std::size_t Entries() const {
        return std::distance(std::filesystem::directory_iterator(Path("")), {});
    }

    QTemporaryDir dir;
    MemorySettings settings;
    QFont font{QStringLiteral("Courier New")};
    std::vector<std::pair<std::string, std::string>> reports;
};

TEST_F(TextPictureTest, LinesAreDrawnOneBelowTheOtherInsideTheMargins) {
    WideString tall; // far below the 16-bit coordinates some painters stop at
    for (int i = 0; i < 6000; ++i)
        tall += u"x\r\n";
    const struct {
        WideString text;
        const char16_t* widest;
        std::vector<bool> inked; // per line; the last stands for all lines after it
    } cases[] = {
        {u"", u"", {false}},
        {u"a\r\nbb", u"bb", {true, true}},
        {u"abc\ndef\nghi", u"abc\ndef\nghi", {true}}, // LF alone breaks no line
        {u"x\r\n\r\nx\r\n", u"x", {true, false, true, false}},
        {tall + u"last", u"last", std::vector<bool>(6001, true)},
    };
    for (const auto& c : cases) {
        const std::string path = Path("size.bmp");
        ASSERT_TRUE(SaveTextFileW(c.text, U16(path), 65001, false));
        QImage image(QString::fromStdString(path), "bmp");
        image = image.convertToFormat(QImage::Format_RGB32);
        const int lines = static_cast<int>(c.inked.size()), h = LineHeight();
        EXPECT_EQ(image.width(), Width(c.widest) + 20) << lines;
        ASSERT_EQ(image.height(), lines * h + 20) << lines;
        std::vector<bool> inked(lines + 1); // the last: ink in the margins
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (QColorToColor(image.pixel(x, y)) == Background) continue;
                const bool margin =
                    x < 10 || y < 10 || x >= image.width() - 10 || y >= 10 + lines * h;
                inked[margin ? lines : (y - 10) / h] = true;
            }
        EXPECT_EQ(std::vector<bool>(inked.begin(), inked.end() - 1), c.inked) << lines;
        EXPECT_FALSE(inked.back()) << lines;
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(TextPictureTest, EveryPictureNameGetsItsFormatAndGifDecodesAlikeInGiflibAndQt) {
    const std::pair<const char*, const char*> cases[] = {
        // name, what Qt's reader finds in the bytes ("" for a text file)
        {"p.bmp", "bmp"},   {"p.BMP", "bmp"}, {"p.jpg", "jpeg"},
        {"p.Jpeg", "jpeg"}, {"p.gif", "gif"}, {"p.PNG", ""},
    };
    const WideString text = u"Grüße, Ωmega\r\n  zweite Zeile";
    for (const auto& [name, format] : cases) {
        const std::string path = Path(name);
        ASSERT_TRUE(SaveTextFileW(text, U16(path), 65001, false)) << name;
        const std::string bytes = ReadFile(path);
        EXPECT_EQ(QImageReader::imageFormat(QString::fromStdString(path)).toStdString(), format);
        if (!*format) {
            EXPECT_EQ(bytes, U8(text));
            continue;
        }
        const QImage image(QString::fromStdString(path));
        EXPECT_EQ(image.size(), QSize(Width(u"  zweite Zeile") + 20, 2 * LineHeight() + 20))
            << name;
        if (std::string(format) == "jpeg") {
            EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
        }
    }
    const std::string gifBytes = ReadFile(Path("p.gif"));
    const OracleImage gif = DecodeWithGiflib(gifBytes);
    ASSERT_TRUE(gif.Ok && gif.Frames.size() == 1) << gif.Error;
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(DecodeWithQt(gifBytes, width, height, argb));
    const OracleFrame& frame = gif.Frames[0];
    ASSERT_EQ(QSize(width, height), QSize(frame.Width, frame.Height));
    std::size_t differing = 0;
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const TGIFColor& c = frame.ColorMap.at(frame.Pixels[i]);
        differing += (argb[i] & 0xFFFFFFu) != ((c.Red << 16u) | (c.Green << 8u) | unsigned(c.Blue));
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(argb[0] & 0xFFFFFFu, 0x336699u);
    // JPEG is lossy, but a picture of one colour stays near it.
    ASSERT_TRUE(SaveTextFileW(u"", U16(Path("flat.jpg")), 65001, false));
    const QColor flat = QImage(QString::fromStdString(Path("flat.jpg"))).pixelColor(5, 5);
    EXPECT_LE(std::abs(flat.red() - 0x33) + std::abs(flat.green() - 0x66) +
                  std::abs(flat.blue() - 0x99),
              6);
    EXPECT_TRUE(reports.empty());
    // Samples to look at, beside the windows' screenshots.
    const std::string samples = QUORBEL_BUILD_DIR "/screenshots/picture/";
    std::filesystem::create_directories(samples);
    for (const char* name : {"sample.bmp", "sample.jpg", "sample.gif"})
        EXPECT_TRUE(SaveTextFileW(text, U16(samples + name), 65001, false));
}

// A failed picture is reported once, returns false and leaves what was there.
TEST_F(TextPictureTest, FailuresReportOnceAndKeepTheOldFile) {
    WideString tall, huge; // higher than a GIF or JPEG can be; more pixels than memory allows
    while (static_cast<long long>(tall.size()) / 2 * LineHeight() <= 65536)
        tall += u"\r\n";
    while (static_cast<long long>(huge.size()) / 2 * LineHeight() * 20 <= MaxPicturePixels)
        huge += u"\r\n";
    const WideString small = u"x";
    const std::pair<const char*, const WideString*> cases[] = {
        {"tall.gif", &tall}, {"tall.jpg", &tall}, {"huge.bmp", &huge}, {"missing/x.bmp", &small}};
    for (const auto& [name, text] : cases) {
        reports.clear();
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << "old"; // not in the missing folder
        EXPECT_FALSE(SaveTextFileW(*text, U16(path), 65001, false)) << name;
        EXPECT_EQ(reports, (decltype(reports){{"bildfehler", path}})) << name;
        EXPECT_EQ(ReadFile(path), text == &small ? "" : "old") << name;
    }
    {
        // The disk fills half-way through a picture (a BMP of more than 4 KB).
        reports.clear();
        FileSizeLimit limit(4096);
        EXPECT_FALSE(SaveTextFileW(u"abc\r\ndef\r\nghi", U16(Path("huge.bmp")), 65001, false));
    }
    EXPECT_EQ(reports, (decltype(reports){{"bildfehler", Path("huge.bmp")}}));
    EXPECT_EQ(ReadFile(Path("huge.bmp")), "old");
    EXPECT_EQ(Entries(), 3u); // and no temporary file is left
    // A name outside every code page is written as it is.
    ASSERT_TRUE(SaveTextFileW(u"Ω", U16(Path("Ωμέγα ☃.gif")), 65001, false));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(Path("Ωμέγα ☃.gif"))));
    EXPECT_EQ(Entries(), 4u);
}

TEST(PictureSettings, FontOfTheLabelAndColourOfTheEdit) {
    const struct {
        const char* edit;
        TColor background;
    } cases[] = {
        {"#FFFFFF", clWhite},
        {"#2060a0", RGB(0x20, 0x60, 0xA0)},
        {"2060A0", RGB(0x20, 0x60, 0xA0)},
        {"#20#60#A0", RGB(0x20, 0x60, 0xA0)},
        {"#2060A", clWhite},
        {"#2060AG", clWhite},
        {"#2060A0 ", clWhite},
    };
    MemorySettings settings;
    const PictureStyle design = PictureStyleFromSettings(settings);
    EXPECT_EQ(design.Font.family(), "Courier New");
    EXPECT_EQ(design.Font.pixelSize(), 11); // 8 pt at 96 dpi
    EXPECT_EQ(design.TextColor, clBlack);
    EXPECT_EQ(design.Background, clWhite);
    EXPECT_EQ(DesignPictureStyle().Font, design.Font);
    settings.SetFont({"Teinstausgabe", "Label3"},
                     {u"Serif", 12, true, true, false, false, static_cast<uint32_t>(clRed)});
    for (const auto& c : cases) {
        settings.SetText({"Teinstausgabe", "Edit1"}, c.edit);
        const PictureStyle style = PictureStyleFromSettings(settings);
        EXPECT_EQ(style.Background, c.background) << c.edit;
        EXPECT_EQ(style.TextColor, clRed);
        EXPECT_EQ(style.Font.pixelSize(), 16);
        EXPECT_TRUE(style.Font.bold() && style.Font.italic() && !style.Font.underline());
    }
}

TEST(JpegWriter, LibraryErrorsBecomeExceptions) {
    // The library refuses an empty picture; its own handler would end the process.
    try {
        EncodeJpeg(TBitmap(), 85);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
    }
}

} // namespace
