// A GIF picture as a graphic: drawing, painters, palette, clipboard.
#include <QPainter>

#include <algorithm>
#include <sstream>

#include "gif/ColorReduction.h"
#include "gif/GIFPainter.h"
#include "gif/GIFRender.h"

namespace {

// Sets a flag for the lifetime of a scope.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

unsigned CF_GIF() {
    static const unsigned format = RegisterClipboardFormatA("GIF Image");
    return format;
}

// ---------------------------------------------------------------- drawing

void TGIFImage::Draw(TBitmapCanvas& Canvas, const TRect& Rect) {
    if (FDrawing || Empty()) return;
    TFlagScope drawing(FDrawing);
    if (FImages.Count() > 1 && (PaintOptions & goAnimate)) {
        DrawAnimated(Canvas, Rect);
        return;
    }
    const int index = DrawFrame >= 0 && DrawFrame < FImages.Count() ? DrawFrame : 0;
    FImages[index]->Draw(Canvas, Rect, PaintOptions & goTransparent, PaintOptions & goTile);
}

void TGIFImage::LayRenderedBitmap(TBitmapCanvas& Canvas, const TRect& Rect) {
    QImage* surface = Canvas.Surface();
    if (!FBitmap || !surface) return;
    {
        QPainter p(surface);
        LayPicture(p, FBitmap->ToImage(), Rect, PaintOptions & goTile);
    }
    Canvas.Changed();
}

void TGIFImage::DrawAnimated(TBitmapCanvas& Canvas, const TRect& Rect) {
    const bool direct = PaintOptions & goDirectDraw;
    if (FBitmap && !direct) {
        LayRenderedBitmap(Canvas, Rect);
        return;
    }
    {
        auto list = FPainters.LockList();
        if (FPainter && FPainter->Canvas() == &Canvas && FPainter->DrawRect() == Rect) return;
        if (FPainter) FPainter->Terminate();
    }
    if (!direct) {
        QImage* surface = Canvas.Surface();
        if (!surface) return;
        FBitmap = std::make_unique<TBitmap>(BitmapFromImage(
            CaptureUnder(*surface, Rect, Width(), Height(), PaintOptions & goTile)));
    }
    if (Rect.IsEmpty()) return;
    auto* painter = new TGIFPainter(*this, Canvas, Rect, PaintOptions);
    {
        auto list = FPainters.LockList();
        list->push_back(painter);
        FPainter = painter;
    }
    if (painter->InThread()) {
        painter->Start();
    } else {
        const std::unique_ptr<TGIFPainter> owned(painter); // gone from the list even on errors
        owned->RunInCallersThread();
    }
    if (direct) return;
    // (a painter of this thread has ended and is gone from the list by now)
    ServeSynchronizeWhileNot([&] {
        auto list = FPainters.LockList();
        const bool running = std::find(list->begin(), list->end(), painter) != list->end();
        return !running || painter->Painted();
    });
    LayRenderedBitmap(Canvas, Rect);
}

void TGIFImage::StopPainters() {
    {
        auto list = FPainters.LockList();
        for (TGIFPainter* painter : *list) {
            painter->Terminate();
            if (painter->InThread()) painter->SetPriority(tpNormal);
        }
    }
    if (IsMainThread())
        ServeSynchronizeWhileNot([this] {
            auto list = FPainters.LockList();
            return std::none_of(list->begin(), list->end(),
                                [](TGIFPainter* p) { return p->InThread(); });
        });
    FBitmap.reset();
}

// ---------------------------------------------------------------- palette and copies

TPalette TGIFImage::GetPalette() {
    if (FInGetPalette) throw GIFException(GIFMessages::NoColorTable);
    TFlagScope entered(FInGetPalette);
    if (FBitmap && !FBitmap->Palette().empty()) return FBitmap->Palette();
    if (!FPalette.empty()) return FPalette;
    if (UsesWebPalette()) return MakeWebPalette();
    if (FHeader.ColorMap().Count() > 0) return FHeader.ColorMap().ExportPalette();
    if (!Empty()) return FImages[0]->Palette();
    return {};
}

void TGIFImage::SetPalette(const TPalette& Value) {
    if (Value == FPalette) return;
    StopPainters();
    FPalette = Value;
    Changed();
}

void TGIFImage::AssignTo(TBitmap& Dest) {
    if (FBitmap) {
        Dest.Assign(*FBitmap);
        return;
    }
    TBitmap still;
    still.SetPixelFormat(TPixelFormat::pf32bit);
    still.SetSize(Width(), Height());
    if (!still.Empty()) {
        still.Image().fill(ColorToQColor(BackgroundColor()));
        TBitmapCanvas canvas(&still);
        const int index = DrawFrame >= 0 && DrawFrame < FImages.Count() ? DrawFrame : 0;
        if (!Empty())
            FImages[index]->Draw(canvas, Bounds(0, 0, Width(), Height()),
                                 PaintOptions & goTransparent, false);
    }
    Dest.Assign(still);
}

// ---------------------------------------------------------------- clipboard

void TGIFImage::SaveToClipboardFormat(unsigned& Format, TClipboardData& Data, TPalette& Palette) {
    TBitmap rendered;
    AssignTo(rendered);
    Format = CF_BITMAP;
    Data.Image = rendered.ToImage();
    Data.Bytes.clear();
    Palette = rendered.Palette();
    std::ostringstream bytes;
    SaveToStream(bytes);
    const std::string gif = bytes.str();
    TClipboardData data;
    data.Bytes = QByteArray(gif.data(), static_cast<qsizetype>(gif.size()));
    if (!SetClipboardData(CF_GIF(), data)) throw GIFException(GIFMessages::ClipboardFailed);
}

void TGIFImage::LoadFromClipboardFormat(unsigned Format, const TClipboardData* Data,
                                        const TPalette&) {
    if (Format != CF_GIF() && Format != CF_BITMAP)
        TGraphic::LoadFromClipboardFormat(Format, Data, {});
    std::optional<TClipboardData> fromClipboard;
    if (!Data) {
        fromClipboard = GetClipboardData(Format);
        if (!fromClipboard) throw GIFException(GIFMessages::InvalidData);
        Data = &*fromClipboard;
    }
    if (Format == CF_GIF()) {
        std::istringstream stream(
            std::string(Data->Bytes.constData(), static_cast<std::size_t>(Data->Bytes.size())));
        LoadFromStream(stream);
        return;
    }
    TBitmap bitmap = BitmapFromImage(Data->Image);
    Assign(&bitmap);
}
