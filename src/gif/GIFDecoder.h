// The GIF LZW decoder: image data (minimum code size, sub-blocks, terminator)
// into a frame's pixel buffer.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "gif/GIFException.h"

// Fills Pixels (Width x Height, zero-filled by the caller, rows top to bottom)
// from the stream and leaves the stream after the data's terminator. Pixels the
// data do not reach stay 0. Damaged data end decoding with a warning: a code
// beyond the next free table entry, a string longer than the table, a
// sub-block cut by the end of the stream, or data that run out of codes.
void DecodeGIFPixels(std::istream& Stream, std::uint8_t* Pixels, int Width, int Height,
                     bool Interlaced, const TGIFWarningSink& Warn);

// The most pixels that Bytes bytes of a file can code: an LZW string is
// never longer than the table (4096 entries), and a code standing for n pixels
// is at least log2(n) bits wide, so one byte of data codes fewer than 4096
// pixels; a floor of 16M pixels is added for a file cut short in its last
// frame. Frame sizes beyond it are refused, so that a damaged or hostile file
// cannot make the reader allocate gigabytes.
std::uint64_t MostDecodablePixels(std::uint64_t Bytes);
