#include "platform/ImageLists.h"

#include <QPainter>
#include <QPixmap>

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TImageList::SetWidth(int Value) {
    if (Value == FWidth || Value <= 0) return;
    FWidth = Value;
    Clear(); // Windows empties an image list whose size changes
}

void TImageList::SetHeight(int Value) {
    if (Value == FHeight || Value <= 0) return;
    FHeight = Value;
    Clear();
}

int TImageList::Add(const TBitmap& Image) {
    if (Image.Empty()) return -1;
    FImages.emplace_back(QPixmap::fromImage(Image.ToImage()));
    Changed();
    return Count() - 1;
}

int TImageList::AddMasked(const TBitmap& Image, TColor MaskColor) {
    if (Image.Empty()) return -1;
    QImage img = Image.ToImage().convertToFormat(QImage::Format_ARGB32);
    QRgb mask = ColorToQColor(MaskColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == mask) row[x] = 0;
    }
    FImages.emplace_back(QPixmap::fromImage(img));
    Changed();
    return Count() - 1;
}

int TImageList::AddIcon(const QIcon& Icon) {
    if (Icon.isNull()) return -1;
    FImages.push_back(Icon);
    Changed();
    return Count() - 1;
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FImages.erase(FImages.begin() + Index);
    Changed();
}

void TImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Changed();
}

QIcon TImageList::Icon(int Index) const {
    return Index >= 0 && Index < Count() ? FImages[size_t(Index)] : QIcon();
}

TBitmap TImageList::Bitmap(int Index) const {
    TBitmap b;
    if (Index < 0 || Index >= Count()) return b;
    QImage img = FImages[size_t(Index)].pixmap(FWidth, FHeight).toImage();
    QImage canvas(FWidth, FHeight, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.drawImage(0, 0, img);
    }
    b.SetPixelFormat(TPixelFormat::pf32bit);
    b.SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            QColor c = QColor::fromRgba(canvas.pixel(x, y));
            if (c.alpha()) b.SetPixel(x, y, QColorToColor(c));
        }
    return b;
}

void TImageList::Draw(TCanvas& Canvas, int X, int Y, int Index) const {
    if (Index < 0 || Index >= Count()) return;
    Canvas.Draw(X, Y, Bitmap(Index));
}

void TImageList::Changed() {
    if (OnChange) OnChange();
}
