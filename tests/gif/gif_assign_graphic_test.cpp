// Frames made from graphics of other registered formats.
#include <gtest/gtest.h>

#include <QPainter>

#include <istream>
#include <sstream>

#include "gif/GIFImage.h"

namespace {

// A small format of its own: "width height" and then one colour per pixel as
// 0xBBGGRR numbers, rows top to bottom.
class TTextGraphic : public TGraphic {
public:
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    bool Empty() const override { return FImage.isNull(); }
    void Draw(TBitmapCanvas& Canvas, const TRect& Rect) override {
        QImage* surface = Canvas.Surface();
        if (!surface) return;
        QPainter(surface).drawImage(QRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()),
                                    FImage);
        Canvas.Changed();
    }
    void LoadFromStream(std::istream& Stream) override {
        int w = 0, h = 0;
        Stream >> w >> h;
        FImage = QImage(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                unsigned color = 0;
                Stream >> std::hex >> color >> std::dec;
                FImage.setPixel(x, y, qRgb(color & 0xFF, (color >> 8) & 0xFF, color >> 16));
            }
    }
    void SaveToStream(std::ostream&) override {}

protected:
    QImage FImage;
};

// The same format, copying itself into a bitmap.
class TCopyingTextGraphic : public TTextGraphic {
public:
    void AssignTo(TBitmap& Dest) override { Dest = BitmapFromImage(FImage); }
};

std::unique_ptr<TGraphic> CreateDrawn() {
    return std::make_unique<TTextGraphic>();
}
std::unique_ptr<TGraphic> CreateCopying() {
    return std::make_unique<TCopyingTextGraphic>();
}

TBitmap DrawnOnGrey(TGraphic& Graphic, int Width, int Height) {
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.SetSize(Width, Height);
    target.Image().fill(qRgb(128, 128, 128));
    TBitmapCanvas canvas(&target);
    Graphic.Draw(canvas, Bounds(0, 0, Width, Height));
    return target;
}

TEST(GifAssignGraphic, AFrameFromAnotherFormatDrawsTheSourcesPixels) {
    PictureFormats::RegisterFileFormat("TXTD", "Drawn text picture", &CreateDrawn);
    PictureFormats::RegisterFileFormat("TXTC", "Copying text picture", &CreateCopying);
    std::ostringstream text;
    text << "5 3";
    for (int i = 0; i < 15; ++i)
        text << " " << std::hex << (i % 3 == 0 ? 0x0000FF : i % 3 == 1 ? 0x10E020 : 0xFFFFFF);
    for (const char* extension : {"txtd", "txtc"}) {
        TGraphicClass graphicClass = PictureFormats::FindFileFormat(extension);
        ASSERT_NE(graphicClass, nullptr) << extension;
        std::unique_ptr<TGraphic> source = graphicClass();
        std::istringstream in(text.str());
        source->LoadFromStream(in);

        TGIFImage gif;
        gif.ReductionMethod = 0; // the source's own colours
        gif.Assign(source.get());
        ASSERT_EQ(gif.Images().Count(), 1) << extension;
        EXPECT_EQ(gif.Width(), 5);
        EXPECT_EQ(gif.Height(), 3);
        const TBitmap expected = DrawnOnGrey(*source, 10, 6);
        const TBitmap shown = DrawnOnGrey(gif, 10, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(shown.Pixel(x, y), expected.Pixel(x, y))
                    << extension << " at " << x << "," << y;
        // A frame of a picture that has frames takes the graphic the same way.
        TGIFSubImage frame(&gif);
        frame.Assign(*source);
        EXPECT_EQ(frame.Data(), gif.Images()[0]->Data()) << extension;
    }
    PictureFormats::UnregisterGraphicClass(&CreateDrawn);
    PictureFormats::UnregisterGraphicClass(&CreateCopying);
}

} // namespace
