// GIF colour maps: up to 256 red-green-blue entries.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "gif/GIFException.h"
#include "graphics/Graphics.h"

struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const TGIFColor&) const = default;
};

class TGIFItem;

class TGIFColorMap {
public:
    // Owner receives the map's warnings (it may be null).
    explicit TGIFColorMap(TGIFItem* Owner) : FOwner(Owner) {}
    virtual ~TGIFColorMap() = default;
    TGIFColorMap(const TGIFColorMap&) = delete;
    TGIFColorMap& operator=(const TGIFColorMap&) = delete;

    int Count() const { return static_cast<int>(FColors.size()); }
    // Grows to 16 entries for up to 16, else to the next multiple of 32, at most 256.
    int Capacity() const { return FCapacity; }
    bool Optimized() const { return FOptimized; }
    void SetOptimized(bool Value) { FOptimized = Value; }

    // The entry at Index; outside the map warns "Invalid color index" and gives
    // entry 0, or raises "Color table is empty".
    TGIFColor Colors(int Index) const;
    void SetColor(int Index, const TGIFColor& Color);
    // Appends; a full map raises "Color table overflow".
    int Add(const TGIFColor& Color);
    // The entry's index when present, else appends.
    int AddUnique(const TGIFColor& Color);
    // Unsorted maps are searched from the last entry, sorted ones from the first; -1 when absent.
    int IndexOf(const TGIFColor& Color) const;
    void Delete(int Index);
    void Clear();
    void Assign(const TGIFColorMap& Source);

    void ImportPalette(const TPalette& Palette);
    TPalette ExportPalette() const;

    // 0 when empty, 1 for one or two entries, else the smallest n with 2^n >= Count.
    int BitsPerPixel() const;
    // The entries, then black entries up to 2^BitsPerPixel.
    void SaveToStream(std::ostream& Stream) const;
    void LoadFromStream(std::istream& Stream, int Count);

    const std::vector<TGIFColor>& Entries() const { return FColors; }

protected:
    virtual void Changed() {}

private:
    void Grow(int Needed);

    TGIFItem* FOwner;
    std::vector<TGIFColor> FColors;
    int FCapacity = 0;
    bool FOptimized = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};
