#include "graphics/BitmapCanvas.h"

QImage* TBitmapCanvas::Surface() {
    if (!FTarget || FTarget->Empty()) return nullptr;
    const QImage::Format format = FTarget->Image().format();
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono ||
        format == QImage::Format_MonoLSB)
        FTarget->SetPixelFormat(TPixelFormat::pf32bit);
    return &FTarget->Image();
}
