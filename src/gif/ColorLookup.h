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

private:
    int FLookupColors;
};

// The 216-colour web palette: per channel level (c + 3) div 51.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
};

// 256 greys: grey = (77 red + 150 green + 29 blue) / 256, rounded (pure red is 77).
class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
};

// Black (0) below a luminance of 32513 / 256, else white (1).
class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) override;
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

private:
    static int Key(int Red, int Green, int Blue) {
        return (Red >> 3) | ((Green >> 3) << 5) | ((Blue >> 3) << 10);
    }
    TPalette FPalette;
    std::vector<std::uint16_t> FCache;
};
