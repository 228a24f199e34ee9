#include "gif/ColorLookup.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The arithmetic lookups, inlined into their row loops.
int WebIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
    R = r * 51;
    G = g * 51;
    B = b * 51;
    return 36 * r + 6 * g + b;
}

int GreyIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int grey = (77 * Red + 150 * Green + 29 * Blue + 128) >> 8;
    R = G = B = grey;
    return grey;
}

int MonochromeIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    if (77 * Red + 150 * Green + 29 * Blue < 32513) {
        R = G = B = 0;
        return 0;
    }
    R = G = B = 255;
    return 1;
}

// A row through one of them; a pixel of the colour before it (the background
// of a page, say) takes the index before.
template <int (*IndexOf)(int, int, int, int&, int&, int&)>
void LookupRow(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count, int Step) {
    std::uint32_t last = 0xFFFFFFFFu;
    std::uint8_t index = 0;
    int r, g, b;
    for (int i = 0; i < Count; ++i, Bgr += 3 * Step, Indices += Step) {
        const auto color = static_cast<std::uint32_t>(Bgr[0] | (Bgr[1] << 8) | (Bgr[2] << 16));
        if (color != last) {
            index = static_cast<std::uint8_t>(IndexOf(Bgr[2], Bgr[1], Bgr[0], r, g, b));
            last = color;
        }
        *Indices = index;
    }
}

} // namespace

void TColorLookup::NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                  int Step) {
    int r, g, b;
    for (int i = 0; i < Count; ++i, Bgr += 3 * Step, Indices += Step)
        *Indices = static_cast<std::uint8_t>(NearestIndex(Bgr[2], Bgr[1], Bgr[0], r, g, b));
}

int TNetscapeColorLookup::NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    return WebIndex(Red, Green, Blue, R, G, B);
}

void TNetscapeColorLookup::NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                          int Step) {
    LookupRow<WebIndex>(Bgr, Indices, Count, Step);
}

int TGrayScaleLookup::NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    return GreyIndex(Red, Green, Blue, R, G, B);
}

void TGrayScaleLookup::NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                      int Step) {
    LookupRow<GreyIndex>(Bgr, Indices, Count, Step);
}

int TMonochromeLookup::NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    return MonochromeIndex(Red, Green, Blue, R, G, B);
}

void TMonochromeLookup::NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                       int Step) {
    LookupRow<MonochromeIndex>(Bgr, Indices, Count, Step);
}

TSlowColorLookup::TSlowColorLookup(const TPalette& Palette)
    : TColorLookup(static_cast<int>(Palette.size())), FPalette(Palette) {}

int TSlowColorLookup::NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int index = GetNearestPaletteIndex(FPalette, Red, Green, Blue);
    const TPaletteEntry& e = FPalette[static_cast<std::size_t>(index)];
    R = e.peRed;
    G = e.peGreen;
    B = e.peBlue;
    return index;
}

TFastColorLookup::TFastColorLookup(const TPalette& Palette)
    : TColorLookup(static_cast<int>(Palette.size())), FPalette(Palette), FCache(32768, 0xFFFF),
      FDistances(Palette.size()) {
    for (std::size_t i = 0; i < FPalette.size(); ++i) {
        const TPaletteEntry& e = FPalette[i];
        std::uint16_t& slot = FCache[static_cast<std::size_t>(Key(e.peRed, e.peGreen, e.peBlue))];
        if (slot == 0xFFFF) slot = static_cast<std::uint16_t>(i);
        FReds.push_back(e.peRed);
        FGreens.push_back(e.peGreen);
        FBlues.push_back(e.peBlue);
    }
}

std::uint16_t TFastColorLookup::Search(int Red, int Green, int Blue) {
    const std::size_t count = FDistances.size();
    if (count == 0) return 0;
    std::int16_t smallest = 3 * 255;
    for (std::size_t i = 0; i < count; ++i) {
        FDistances[i] = static_cast<std::int16_t>(
            std::abs(FReds[i] - Red) + std::abs(FGreens[i] - Green) + std::abs(FBlues[i] - Blue));
        smallest = std::min(smallest, FDistances[i]);
    }
    std::size_t first = 0;
    while (FDistances[first] != smallest)
        ++first;
    return static_cast<std::uint16_t>(first);
}

int TFastColorLookup::NearestIndex(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int index = Index(Red, Green, Blue);
    const TPaletteEntry& e = FPalette[static_cast<std::size_t>(index)];
    R = e.peRed;
    G = e.peGreen;
    B = e.peBlue;
    return index;
}

void TFastColorLookup::NearestIndices(const std::uint8_t* Bgr, std::uint8_t* Indices, int Count,
                                      int Step) {
    // (the cache's address in a local: the stores below could alias the vector)
    std::uint16_t* const cache = FCache.data();
    for (int i = 0; i < Count; ++i, Bgr += 3 * Step, Indices += Step) {
        std::uint16_t& slot = cache[Key(Bgr[2], Bgr[1], Bgr[0])];
        if (slot == 0xFFFF) slot = Search(Bgr[2], Bgr[1], Bgr[0]);
        *Indices = static_cast<std::uint8_t>(slot);
    }
}
