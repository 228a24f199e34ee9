#include "gif/DIB.h"

#include <algorithm>

#include "gif/GIFException.h"

TDIBReader::TDIBReader(TBitmap& Bitmap, TPixelFormat PixelFormat) : FBitmap(Bitmap) {
    FBitmap.SetPixelFormat(PixelFormat);
}

TDIBWriter::TDIBWriter(TBitmap& Bitmap, const TPalette& Palette, int Width, int Height,
                       TPixelFormat PixelFormat)
    : FBitmap(Bitmap) {
    if (PixelFormat != TPixelFormat::pf8bit && PixelFormat != TPixelFormat::pf24bit)
        throw GIFException(GIFMessages::UnsupportedPixelFormat);
    if (Width <= 0 || Height <= 0) throw GIFException(GIFMessages::InvalidDimensions);
    FBitmap.SetSize(0, 0);
    FBitmap.SetPixelFormat(PixelFormat);
    try {
        FBitmap.SetSize(Width, Height);
    } catch (const EOutOfResources&) {
        throw EOutOfMemory(GIFMessages::DIBMemory);
    }
    if (PixelFormat == TPixelFormat::pf8bit) {
        TPalette table(Palette.begin(),
                       Palette.begin() + std::min<std::size_t>(Palette.size(), 256));
        table.resize(256, TPaletteEntry{0, 0, 0, 0});
        FBitmap.SetPalette(table);
    }
}

std::uint8_t* TDIBWriter::RowAddress(int Row) {
    if (FStored) throw GIFException(GIFMessages::NoDIB);
    return FBitmap.ScanLine(Row);
}
