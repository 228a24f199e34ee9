// Nearest-colour lookups: a colour to a palette index and that entry's colour.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Graphics.h"

class TColorLookup {
public:
    explicit TColorLookup(int Colors) : FLookupColors(Colors) {}
    virtual ~TColorLookup() = default;
    // The number of colours the lookup can answer.
    int LookupColors() const { return FLookupColors; }
    virtual int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) = 0;
    // The indices of Count pixels of blue, green and red bytes taken in turn
    // from Bgr on, Step pixels apart (1 or -1), stored the same way from
    // Indices on: the same as NearestIndex on each pixel in that order (the
    // lookups override it to spare a virtual call per pixel).
    virtual void NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                int Step);

private:
    int FLookupColors;
};

// The 216-colour web palette: per channel level (c + 3) div 51.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
    void NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                        int Step) override;
};

// 256 greys: grey = (77 red + 150 green + 29 blue) / 256, rounded (pure red is 77).
class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
    void NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                        int Step) override;
};

// Black (0) below a luminance of 32513 / 256, else white (1).
class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
    void NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                        int Step) override;
};

// The nearest palette entry by the system's distance.
class TSlowColorLookup : public TColorLookup {
public:
    explicit TSlowColorLookup(const TPalette& Palette);
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;

private:
    TPalette FPalette;
};

// A cache of 32,768 indices keyed by the five high bits of each channel; a
// missing slot is filled by the entry with the smallest sum of channel distances.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const TPalette& Palette);
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
    void NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                        int Step) override;

private:
    static int Key(int Red, int Green, int Blue) {
        return (Red >> 3) | ((Green >> 3) << 5) | ((Blue >> 3) << 10);
    }
    int Index(int Red, int Green, int Blue) {
        std::uint16_t& slot = FCache[static_cast<std::size_t>(Key(Red, Green, Blue))];
        if (slot == 0xFFFF) slot = Search(Red, Green, Blue);
        return slot;
    }
    // The entry with the smallest sum of channel distances, the first of equals.
    std::uint16_t Search(int Red, int Green, int Blue);
    TPalette FPalette;
    std::vector<std::uint16_t> FCache;
    // The palette's channels apart and every entry's distance, so that the
    // search runs over whole vectors.
    std::vector<std::int16_t> FReds, FGreens, FBlues, FDistances;
};
