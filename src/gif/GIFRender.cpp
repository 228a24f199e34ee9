// Frames as bitmaps and their drawing onto canvases.
#include "gif/GIFRender.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "gif/ColorLookup.h"
#include "gif/ColorReduction.h"
#include "gif/Ditherers.h"
#include "gif/GIFImage.h"

namespace {

// A screen of 8 or fewer bits per pixel; the offscreen platform never is one.
bool LowColorScreen() {
    static const bool low = [] {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen && screen->depth() < 9;
    }();
    return low;
}

QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

} // namespace

void LayPicture(QPainter& Painter, const QImage& Picture, const TRect& Rect, bool Tile) {
    if (Picture.isNull() || Rect.IsEmpty()) return;
    if (!Tile) {
        Painter.drawImage(ToQRect(Rect), Picture);
        return;
    }
    Painter.save();
    Painter.setClipRect(ToQRect(Rect));
    for (int y = Rect.Top; y < Rect.Bottom; y += Picture.height())
        for (int x = Rect.Left; x < Rect.Right; x += Picture.width())
            Painter.drawImage(x, y, Picture);
    Painter.restore();
}

QImage CaptureUnder(const QImage& Surface, const TRect& Rect, int Width, int Height, bool Tile) {
    QImage out(Width, Height, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (Width <= 0 || Height <= 0 || Rect.IsEmpty()) return out;
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (Tile)
        p.drawImage(0, 0, Surface, Rect.Left, Rect.Top, std::min(Width, Rect.Width()),
                    std::min(Height, Rect.Height()));
    else
        p.drawImage(QRect(0, 0, Width, Height), Surface, ToQRect(Rect));
    return out;
}

// ---------------------------------------------------------------- picture

bool TGIFImage::UsesWebPalette() const {
    return (PaintOptions & goDither) && (!(PaintOptions & goAutoDither) || LowColorScreen());
}

TColor TGIFImage::BackgroundColor() const {
    if (DrawBackgroundColor != clNone) return DrawBackgroundColor;
    const TGIFColorMap& map = FHeader.ColorMap();
    if (map.Count() == 0) return clWindow;
    const int index =
        FHeader.BackgroundColorIndex() < map.Count() ? FHeader.BackgroundColorIndex() : 0;
    const TGIFColor c = map.Entries()[static_cast<std::size_t>(index)];
    return RGB(c.Red, c.Green, c.Blue);
}

// ---------------------------------------------------------------- frame

const TBitmap& TGIFSubImage::Bitmap() {
    if (!FBitmap) BuildBitmap();
    return *FBitmap;
}

const TBitmap& TGIFSubImage::Mask() {
    if (!FBitmap) BuildBitmap();
    return *FMask;
}

TPalette TGIFSubImage::Palette() {
    if (FBitmap) return FBitmap->Palette();
    if (FImage && FImage->UsesWebPalette()) return MakeWebPalette();
    if (FColorMap.Count() > 0) return FColorMap.ExportPalette();
    return FImage ? FImage->GetPalette() : TPalette();
}

void TGIFSubImage::BuildBitmap() {
    auto bitmap = std::make_unique<TBitmap>();
    auto mask = std::make_unique<TBitmap>();
    const bool web = FImage && FImage->UsesWebPalette();
    const int transparent = Transparent() ? FGCE->TransparentColorIndex() : -1;
    bitmap->SetPixelFormat(TPixelFormat::pf8bit);
    bitmap->SetPalette(web ? MakeWebPalette() : Palette());
    if (Empty()) {
        bitmap->SetSize(FWidth, FHeight);
        FBitmap = std::move(bitmap);
        FMask = std::move(mask);
        return;
    }
    if (FImage) FImage->Progress(TProgressStage::psStarting, 0, GIFMessages::Rendering);
    bitmap->SetSize(FWidth, FHeight);
    const std::vector<TGIFColor>& colors = ActiveColorMap().Entries();
    const auto colorOf = [&](int index) {
        return index < static_cast<int>(colors.size()) ? colors[static_cast<std::size_t>(index)]
               : colors.empty()                        ? TGIFColor{}
                                                       : colors[0];
    };
    TNetscapeColorLookup lookup;
    TFloydSteinbergDitherer ditherer(FWidth, lookup);
    int hidden = 0; // the web entry after the transparent colour's
    if (web && transparent >= 0) {
        const TGIFColor c = colorOf(transparent);
        int r, g, b;
        hidden = (lookup.NearestIndex(c.Red, c.Green, c.Blue, r, g, b) + 1) % 216;
    }
    for (int y = 0; y < FHeight; ++y) {
        if (FImage && y % 32 == 0)
            FImage->Progress(TProgressStage::psRunning, y * 100 / FHeight, GIFMessages::Rendering);
        const std::uint8_t* src = FData.data() + static_cast<std::size_t>(y) * FWidth;
        std::uint8_t* dst = bitmap->ScanLine(y);
        if (!web) {
            for (int x = 0; x < FWidth; ++x)
                dst[x] = src[x] < colors.size() ? src[x] : 0;
            continue;
        }
        for (int x = ditherer.Column(); x >= 0 && x < FWidth; x = ditherer.Column()) {
            if (src[x] == transparent) {
                dst[x] = static_cast<std::uint8_t>(hidden);
                ditherer.SkipPixel();
                continue;
            }
            const TGIFColor c = colorOf(src[x]);
            int r, g, b;
            dst[x] =
                static_cast<std::uint8_t>(ditherer.DitherPixel(c.Red, c.Green, c.Blue, r, g, b));
        }
        ditherer.NextRow();
    }
    if (transparent >= 0) {
        mask->SetPixelFormat(TPixelFormat::pf1bit);
        mask->SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
        mask->SetSize(FWidth, FHeight);
        for (int y = 0; y < FHeight; ++y) {
            const std::uint8_t* src = FData.data() + static_cast<std::size_t>(y) * FWidth;
            std::uint8_t* row = mask->ScanLine(y);
            for (int x = 0; x < FWidth; ++x) {
                const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
                row[x / 8] = src[x] == transparent ? row[x / 8] | bit : row[x / 8] & ~bit;
            }
        }
    }
    FBitmap = std::move(bitmap);
    FMask = std::move(mask);
    if (FImage) FImage->Progress(TProgressStage::psEnding, 100, GIFMessages::Rendering);
}

QImage TGIFSubImage::Layer(bool Transparent) {
    if (Empty()) return QImage();
    QImage layer = Bitmap().ToImage().convertToFormat(QImage::Format_ARGB32);
    if (!Transparent || FMask->Empty()) return layer;
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* bits = FMask->ScanLine(y);
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if (bits[x / 8] & (0x80 >> (x % 8))) row[x] = 0;
    }
    return layer;
}

void TGIFSubImage::Draw(TBitmapCanvas& Canvas, const TRect& Rect, bool Transparent, bool Tile) {
    QImage* surface = Canvas.Surface();
    if (!surface || Empty() || Rect.IsEmpty()) return;
    const int width = FImage ? std::max(FImage->Width(), FLeft + FWidth) : FWidth;
    const int height = FImage ? std::max(FImage->Height(), FTop + FHeight) : FHeight;
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(FLeft, FTop, Layer(Transparent));
    }
    {
        QPainter p(surface);
        LayPicture(p, picture, Rect, Tile);
    }
    Canvas.Changed();
}
