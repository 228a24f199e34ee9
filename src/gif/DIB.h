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

// Collects the rows of a new 8- or 24-bit image in a bitmap. Creation raises
// "Unsupported PixelFormat" for other formats and "Invalid image dimensions"
// for a zero width or height, and gives the bitmap its size and format (an
// 8-bit image carries a 256-entry colour table: the palette's entries, then
// black); the rows are the bitmap's own, so nothing is copied.
class TDIBWriter {
public:
    TDIBWriter(TBitmap& Bitmap, const TPalette& Palette, int Width, int Height,
               TPixelFormat PixelFormat);
    // Raises the scan-line range error outside 0 .. Height - 1, and "Image has
    // no DIB" after Store.
    std::uint8_t* RowAddress(int Row);
    // Ends the writing: the bitmap holds the pixels.
    void Store() { FStored = true; }

private:
    TBitmap& FBitmap;
    bool FStored = false;
};
