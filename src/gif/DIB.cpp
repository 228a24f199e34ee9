#include "gif/DIB.h"

#include <cstring>
#include <new>

#include "gif/GIFException.h"

TDIBReader::TDIBReader(TBitmap& Bitmap, TPixelFormat PixelFormat) : FBitmap(Bitmap) {
    FBitmap.SetPixelFormat(PixelFormat);
}

TDIBWriter::TDIBWriter(TBitmap& Bitmap, const TPalette& Palette, int Width, int Height,
                       TPixelFormat PixelFormat)
    : FBitmap(Bitmap), FPalette(Palette), FWidth(Width), FHeight(Height),
      FPixelFormat(PixelFormat) {
    if (PixelFormat != TPixelFormat::pf8bit && PixelFormat != TPixelFormat::pf24bit)
        throw GIFException(GIFMessages::UnsupportedPixelFormat);
    if (Width <= 0 || Height <= 0) throw GIFException(GIFMessages::InvalidDimensions);
    FStride = static_cast<std::size_t>(Width) * (PixelFormat == TPixelFormat::pf8bit ? 1 : 3);
    try {
        FPixels.assign(FStride * static_cast<std::size_t>(Height), 0);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(GIFMessages::DIBMemory);
    }
    FPalette.resize(std::min<std::size_t>(FPalette.size(), 256));
}

std::uint8_t* TDIBWriter::RowAddress(int Row) {
    if (FPixels.empty()) throw GIFException(GIFMessages::NoDIB);
    if (Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    return FPixels.data() + static_cast<std::size_t>(Row) * FStride;
}

void TDIBWriter::Store() {
    if (FPixels.empty()) return;
    FBitmap.SetSize(0, 0);
    FBitmap.SetPixelFormat(FPixelFormat);
    FBitmap.SetSize(FWidth, FHeight);
    if (FPixelFormat == TPixelFormat::pf8bit) {
        TPalette table = FPalette;
        table.resize(256, TPaletteEntry{0, 0, 0, 0});
        FBitmap.SetPalette(table);
    }
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(FBitmap.ScanLine(y), FPixels.data() + static_cast<std::size_t>(y) * FStride,
                    FStride);
    FPixels.clear();
    FPixels.shrink_to_fit();
}
