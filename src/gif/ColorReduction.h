// Reduction of a bitmap to at most 256 colours for a GIF frame.
#pragma once

#include <memory>

#include "gif/DIB.h"
#include "graphics/Graphics.h"

// Reduction methods: 0 none (a 24-bit copy), 1 the 20 system colours, 2 the
// halftone palette, 3 four greys, 4 black and white, 5 256 greys, 6 the web
// palette, 7 an octree palette of 2^QuantizeBits colours, 8 an octree palette
// of 236 colours plus the 20 system colours, 9 GivenPalette. Dither methods: 0
// none, 1 Floyd-Steinberg, 2 Stucki, 3 Sierra, 4 Jarvis-Judice-Ninke, 5
// Stevenson-Arce, 6 Burkes. Other values raise "Invalid reduction method" or
// "Invalid dither method" before anything is touched. The result is an 8-bit
// bitmap (24-bit for method 0) owned by the caller; Bitmap is left at 24 bits
// per pixel. Method 9 without a palette gives an empty bitmap.
std::unique_ptr<TBitmap> ReduceBitmapColors(TBitmap& Bitmap, int ReductionMethod, int DitherMethod,
                                            int QuantizeBits, const TPalette* GivenPalette);

// 216 entries, index 36 r + 6 g + b, colour (51 r, 51 g, 51 b).
TPalette MakeWebPalette();
// One grey entry per level, each flagged PC_NOCOLLAPSE.
TPalette MakeGrayPalette(const std::vector<int>& Levels);
// The halftone palette: the 6 x 6 x 6 web cube, then the 40 greys 255 i / 41
// (i = 1 .. 40) that the cube lacks, 256 entries in all.
TPalette MakeHalftonePalette();
// The octree colours of every pixel of the 24-bit rows, ColorLimit entries
// (unused ones black, flagged PC_NOCOLLAPSE); with system colours the stock
// palette's entries 0-9 and 10-19 take entries 0-9 and 246-255 and the octree
// fills up to 236 entries from entry 10.
TPalette MakeOctreePalette(const TDIBReader& DIB, int Width, int Height, int ColorLimit,
                           int TreeDepth, bool WithSystemColors);
