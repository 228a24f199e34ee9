// Row access to bitmaps while frames are made from them and colours reduced.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Graphics.h"

// Reads an existing bitmap's rows at a given format (the bitmap is converted
// in place).
class TDIBReader {
public:
    TDIBReader(TBitmap& Bitmap, TPixelFormat PixelFormat);
    const std::uint8_t* ScanLine(int Row) const { return FBitmap.ScanLine(Row); }

private:
    TBitmap& FBitmap;
};

// Collects the rows of a new 8- or 24-bit image and stores them into a bitmap.
// Creation raises "Unsupported PixelFormat" for other formats and "Invalid
// image dimensions" for a zero width or height; an 8-bit image carries a
// 256-entry colour table: the palette's entries, then black.
class TDIBWriter {
public:
    TDIBWriter(TBitmap& Bitmap, const TPalette& Palette, int Width, int Height,
               TPixelFormat PixelFormat);
    // Raises the scan-line range error outside 0 .. Height - 1.
    std::uint8_t* RowAddress(int Row);
    // Moves the pixels into the bitmap.
    void Store();

private:
    TBitmap& FBitmap;
    TPalette FPalette;
    int FWidth;
    int FHeight;
    TPixelFormat FPixelFormat;
    std::size_t FStride;
    std::vector<std::uint8_t> FPixels;
};
