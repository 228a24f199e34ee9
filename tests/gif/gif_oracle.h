// Independent decoders for the codec's tests: giflib and Qt's GIF reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFImage.h"

struct OracleFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlaced = false;
    std::vector<TGIFColor> ColorMap;  // the local map, else the global one
    std::vector<std::uint8_t> Pixels; // rows top to bottom
};

struct OracleImage {
    bool Ok = false;
    std::string Error;
    int Width = 0, Height = 0;
    std::vector<OracleFrame> Frames;
};

// Decodes GIF bytes with giflib (DGifSlurp).
OracleImage DecodeWithGiflib(const std::string& Bytes);

// Decodes the first frame with Qt's image reader; ARGB pixels, rows top to bottom.
bool DecodeWithQt(const std::string& Bytes, int& Width, int& Height,
                  std::vector<std::uint32_t>& Argb);

// The picture written to memory.
std::string SaveToBytes(TGIFImage& Image);

// A frame of the given size, local map and pixels, ready for AddFrame.
std::unique_ptr<TGIFSubImage> MakeFrame(TGIFImage& Image, int Width, int Height,
                                        const std::vector<TGIFColor>& Map,
                                        const std::vector<std::uint8_t>& Pixels,
                                        bool Interlaced = false);

// A map of Count distinct colours.
std::vector<TGIFColor> DistinctColors(int Count);

// Image data (minimum code size, sub-blocks, terminator) from a plain LZW coder
// written from the format's description, independent of the codec's: a map
// as string table, codes as wide as a decoder reads them. When the next free
// code reaches ClearAt a clear code is sent instead of a new entry; with
// ClearAt 0 the full table goes on being used at 12 bits (a "deferred clear").
std::string ReferenceLZW(const std::vector<std::uint8_t>& Pixels, int MinCodeSize, int ClearAt);
