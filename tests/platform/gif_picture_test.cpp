// GIF pictures in the class library: the picture layer loads them by
// extension, the clipboard carries them as "GIF Image" and as bitmaps, and an
// image control animates them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <chrono>
#include <fstream>
#include <set>

#include "gif/GIFPainter.h"
#include "gif/gif_oracle.h"
#include "platform/Clipbrd.h"
#include "platform/ExtCtrls.h"

namespace {

// Two 3 x 2 frames, each with its own colour map, the second transparent.
void TwoFrames(TGIFImage& gif) {
    gif.AddFrame(MakeFrame(gif, 3, 2, DistinctColors(4), {0, 1, 2, 3, 2, 1}));
    auto second = MakeFrame(gif, 3, 2, {{0, 0, 0}, {255, 255, 255}}, {1, 0, 1, 0, 1, 1});
    auto control = std::make_unique<TGIFGraphicControlExtension>(second.get());
    control->SetTransparent(true);
    control->SetTransparentColorIndex(0);
    control->SetDelay(2);
    second->Extensions().Add(std::move(control));
    gif.AddFrame(std::move(second));
}

TEST(GifPicture, ClipboardCarriesTheFramesAndColourMaps) {
    TGIFImage gif;
    TwoFrames(gif);
    Clipboard()->SetAsText(u"old");
    Clipboard()->Assign(gif);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_GIF()));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    TGIFImage back;
    back.LoadFromClipboardFormat(CF_GIF(), nullptr, {});
    EXPECT_EQ(SaveToBytes(back), SaveToBytes(gif));
    ASSERT_EQ(back.Images().Count(), 2);
    EXPECT_EQ(back.Images()[1]->ColorMap().Entries(), gif.Images()[1]->ColorMap().Entries());

    TPicture picture;
    Clipboard()->AssignTo(picture);
    auto* loaded = dynamic_cast<TGIFImage*>(picture.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(SaveToBytes(*loaded), SaveToBytes(gif));
}

TEST(GifPicture, ABitmapOnTheClipboardLoadsAsOneFrameTextRaises) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(3, 2);
    const TColor colors[] = {RGB(0, 51, 255), RGB(255, 255, 255), RGB(204, 0, 102),
                             RGB(0, 0, 0),    RGB(51, 153, 0),    RGB(255, 255, 255)};
    for (int i = 0; i < 6; ++i)
        bitmap.SetPixel(i % 3, i / 3, colors[i]);
    Clipboard()->Assign(bitmap);
    TGIFImage gif;
    gif.LoadFromClipboardFormat(CF_BITMAP, nullptr, {});
    ASSERT_EQ(gif.Images().Count(), 1);
    TGIFSubImage& frame = *gif.Images()[0];
    for (int i = 0; i < 6; ++i) {
        const TGIFColor c = frame.ActiveColorMap().Colors(frame.Pixels(i % 3, i / 3));
        EXPECT_EQ(RGB(c.Red, c.Green, c.Blue), colors[i]) << i;
    }
    Clipboard()->SetAsText(u"text");
    EXPECT_THROW(gif.LoadFromClipboardFormat(CF_TEXT, nullptr, {}), EInvalidGraphic);
    TPicture picture;
    EXPECT_THROW(picture.LoadFromClipboardFormat(CF_TEXT), EInvalidGraphic);
    EXPECT_THROW(Clipboard()->AssignTo(picture), EInvalidGraphic);
}

TEST(GifPicture, LoadsGifFilesOfAnyCaseUntilUnregistered) {
    TGIFImage gif;
    TwoFrames(gif);
    QTemporaryDir folder;
    const std::string path = folder.filePath("x.GIF").toStdString();
    {
        std::ofstream out(path, std::ios::binary);
        out << "JUNK" << SaveToBytes(gif);
    }
    QImageReader qt(QString::fromStdString(path));
    EXPECT_TRUE(qt.read().isNull()); // Qt's reader refuses the junk before "GIF"
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(U16(path));
    auto* loaded = dynamic_cast<TGIFImage*>(picture.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Images().Count(), 2);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_GE(changes, 1);

    TPicture::UnregisterGraphicClass(&TGIFImage::Create);
    EXPECT_THROW(picture.LoadFromFile(U16(path)), EInvalidGraphic);
    TPicture::RegisterFileFormat(u"gif", u"GIF Image", &TGIFImage::Create);
    TPicture::RegisterClipboardFormat(CF_GIF(), &TGIFImage::Create);
    EXPECT_NO_THROW(picture.LoadFromFile(U16(path)));
}

TEST(GifPicture, AnImageControlAnimatesAGif) {
    TGIFImage gif;
    TwoFrames(gif);
    QTemporaryDir folder;
    const std::string path = folder.filePath("anim.gif").toStdString();
    gif.SaveToFile(path);
    auto image = std::make_unique<TImage>(nullptr);
    image->SetBounds(0, 0, 30, 20);
    image->SetStretch(true);
    image->Picture().LoadFromFile(U16(path));
    EXPECT_THROW(image->Canvas(), EInvalidGraphicOperation);
    std::set<QRgb> cornerColors;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (cornerColors.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        cornerColors.insert(image->Widget()->grab().toImage().pixel(1, 1));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(cornerColors.size(), 2u); // frame 0's colour, then frame 1's
    auto* shown = dynamic_cast<TGIFImage*>(image->Picture().Graphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Painters().Count(), 1);
    image.reset(); // the painter stops with the control
}

} // namespace
