#include "gif/GIFColorMap.h"

#include <istream>
#include <ostream>

#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"

void TGIFColorMap::Grow(int Needed) {
    if (Needed <= FCapacity) return;
    FCapacity = Needed <= 16 ? 16 : std::min(256, (Needed + 31) / 32 * 32);
    FColors.reserve(static_cast<std::size_t>(FCapacity));
}

TGIFColor TGIFColorMap::Colors(int Index) const {
    if (Index >= 0 && Index < Count()) return FColors[static_cast<std::size_t>(Index)];
    if (FColors.empty()) throw GIFException(GIFMessages::EmptyColorMap);
    if (FOwner) FOwner->ReportWarning(TGIFSeverity::gsWarning, GIFMessages::BadColorIndex);
    return FColors[0];
}

void TGIFColorMap::SetColor(int Index, const TGIFColor& Color) {
    if (Index < 0 || Index >= Count()) throw GIFException(GIFMessages::BadColorIndex);
    FColors[static_cast<std::size_t>(Index)] = Color;
    Changed();
}

int TGIFColorMap::Add(const TGIFColor& Color) {
    if (Count() >= 256) throw GIFException(GIFMessages::TooManyColors);
    Grow(Count() + 1);
    FColors.push_back(Color);
    FOptimized = false;
    Changed();
    return Count() - 1;
}

int TGIFColorMap::AddUnique(const TGIFColor& Color) {
    const int index = IndexOf(Color);
    return index >= 0 ? index : Add(Color);
}

int TGIFColorMap::IndexOf(const TGIFColor& Color) const {
    if (FOptimized) {
        for (int i = 0; i < Count(); ++i)
            if (FColors[static_cast<std::size_t>(i)] == Color) return i;
    } else {
        for (int i = Count() - 1; i >= 0; --i)
            if (FColors[static_cast<std::size_t>(i)] == Color) return i;
    }
    return -1;
}

void TGIFColorMap::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw GIFException(GIFMessages::BadColorIndex);
    FColors.erase(FColors.begin() + Index);
    Changed();
}

void TGIFColorMap::Clear() {
    FColors.clear();
    FCapacity = 0;
    FOptimized = false;
    Changed();
}

void TGIFColorMap::Assign(const TGIFColorMap& Source) {
    FColors = Source.FColors;
    FCapacity = Source.FCapacity;
    FOptimized = Source.FOptimized;
    Changed();
}

void TGIFColorMap::ImportPalette(const TPalette& Palette) {
    Clear();
    const int count = std::min<int>(256, static_cast<int>(Palette.size()));
    Grow(count);
    for (int i = 0; i < count; ++i) {
        const TPaletteEntry& e = Palette[static_cast<std::size_t>(i)];
        FColors.push_back({e.peRed, e.peGreen, e.peBlue});
    }
    Changed();
}

TPalette TGIFColorMap::ExportPalette() const {
    TPalette palette;
    palette.reserve(FColors.size());
    for (const TGIFColor& c : FColors)
        palette.push_back({c.Red, c.Green, c.Blue, PC_NOCOLLAPSE});
    return palette;
}

int TGIFColorMap::BitsPerPixel() const {
    const int count = Count();
    if (count == 0) return 0;
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

void TGIFColorMap::SaveToStream(std::ostream& Stream) const {
    const int bits = BitsPerPixel();
    if (bits == 0) return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(3 << bits), 0);
    for (std::size_t i = 0; i < FColors.size(); ++i) {
        bytes[3 * i] = FColors[i].Red;
        bytes[3 * i + 1] = FColors[i].Green;
        bytes[3 * i + 2] = FColors[i].Blue;
    }
    GIFStreamIO::WriteBytes(Stream, bytes.data(), bytes.size());
}

void TGIFColorMap::LoadFromStream(std::istream& Stream, int Count) {
    Clear();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(3 * Count));
    GIFStreamIO::ReadExact(Stream, bytes.data(), bytes.size());
    Grow(Count);
    for (int i = 0; i < Count; ++i)
        FColors.push_back({bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]});
    Changed();
}
