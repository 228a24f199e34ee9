#include "gif/ColorReduction.h"

#include <algorithm>

#include "gif/ColorLookup.h"
#include "gif/ColorQuantizer.h"
#include "gif/Ditherers.h"
#include "gif/GIFException.h"

TPalette MakeWebPalette() {
    TPalette palette;
    palette.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({static_cast<std::uint8_t>(51 * r),
                                   static_cast<std::uint8_t>(51 * g),
                                   static_cast<std::uint8_t>(51 * b), 0});
    return palette;
}

TPalette MakeGrayPalette(const std::vector<int>& Levels) {
    TPalette palette;
    for (int level : Levels) {
        const auto v = static_cast<std::uint8_t>(level);
        palette.push_back({v, v, v, PC_NOCOLLAPSE});
    }
    return palette;
}

TPalette MakeHalftonePalette() {
    TPalette palette = MakeWebPalette();
    for (int i = 1; i <= 40; ++i) {
        const auto v = static_cast<std::uint8_t>(255 * i / 41);
        palette.push_back({v, v, v, 0});
    }
    return palette;
}

TPalette MakeOctreePalette(const TDIBReader& DIB, int Width, int Height, int ColorLimit,
                           int TreeDepth, bool WithSystemColors) {
    TPalette table(256, TPaletteEntry{0, 0, 0, PC_NOCOLLAPSE});
    int count = ColorLimit;
    int start = 0;
    if (WithSystemColors) {
        const TPalette& system = DefaultPalette();
        std::copy(system.begin(), system.begin() + 10, table.begin());
        std::copy(system.begin() + 10, system.end(), table.begin() + 246);
        ColorLimit = 236;
        start = 10;
        count = 256;
    }
    TColorQuantizer quantizer(ColorLimit, TreeDepth);
    for (int y = 0; y < Height; ++y)
        quantizer.AddPixels(DIB.ScanLine(y), Width);
    const TPalette colors = quantizer.ColorTable();
    for (std::size_t i = 0; i < colors.size() && start + i < table.size(); ++i)
        table[start + i] = {colors[i].peRed, colors[i].peGreen, colors[i].peBlue, 0};
    table.resize(static_cast<std::size_t>(std::min(count, 256)));
    return table;
}

namespace {

std::unique_ptr<TColorLookup> MakeLookup(int Method, const TPalette& Palette) {
    switch (Method) {
    case 4:
        return std::make_unique<TMonochromeLookup>();
    case 5:
        return std::make_unique<TGrayScaleLookup>();
    case 6:
        return std::make_unique<TNetscapeColorLookup>();
    case 7:
        return std::make_unique<TFastColorLookup>(Palette);
    default:
        return std::make_unique<TSlowColorLookup>(Palette);
    }
}

std::unique_ptr<TDitherEngine> MakeDitherer(int Method, int Width, TColorLookup& Lookup) {
    switch (Method) {
    case 1:
        return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case 2:
        return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case 3:
        return std::make_unique<TSierraDitherer>(Width, Lookup);
    case 4:
        return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case 5:
        return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case 6:
        return std::make_unique<TBurkesDitherer>(Width, Lookup);
    default:
        return std::make_unique<TDitherEngine>(Width, Lookup);
    }
}

} // namespace

std::unique_ptr<TBitmap> ReduceBitmapColors(TBitmap& Bitmap, int ReductionMethod, int DitherMethod,
                                            int QuantizeBits, const TPalette* GivenPalette) {
    if (ReductionMethod < 0 || ReductionMethod > 9)
        throw GIFException(GIFMessages::InvalidReduction);
    if (DitherMethod < 0 || DitherMethod > 6) throw GIFException(GIFMessages::InvalidDither);
    // a palette holds at most 256 entries
    QuantizeBits = std::clamp(QuantizeBits, 1, 8);

    auto result = std::make_unique<TBitmap>();
    if (ReductionMethod == 0) {
        result->Assign(Bitmap);
        result->SetPixelFormat(TPixelFormat::pf24bit);
        return result;
    }
    const int width = Bitmap.Width();
    const int height = Bitmap.Height();
    TDIBReader reader(Bitmap, TPixelFormat::pf24bit);

    TPalette palette;
    switch (ReductionMethod) {
    case 1:
        palette = DefaultPalette();
        break;
    case 2:
        palette = MakeHalftonePalette();
        break;
    case 3:
        palette = MakeGrayPalette({0, 128, 192, 255});
        break;
    case 4:
        palette = MakeGrayPalette({0, 255});
        break;
    case 5: {
        std::vector<int> levels(256);
        for (int i = 0; i < 256; ++i)
            levels[static_cast<std::size_t>(i)] = i;
        palette = MakeGrayPalette(levels);
        break;
    }
    case 6:
        palette = MakeWebPalette();
        break;
    case 7:
        palette = MakeOctreePalette(reader, width, height, 1 << QuantizeBits, 8, false);
        break;
    case 8:
        palette = MakeOctreePalette(reader, width, height, 256, 8, true);
        break;
    default:
        if (GivenPalette) palette = *GivenPalette;
        break;
    }

    const std::unique_ptr<TColorLookup> lookup = MakeLookup(ReductionMethod, palette);
    if (lookup->LookupColors() == 0 || Bitmap.Empty()) return result;
    const std::unique_ptr<TDitherEngine> ditherer = MakeDitherer(DitherMethod, width, *lookup);
    TDIBWriter writer(*result, palette, width, height, TPixelFormat::pf8bit);
    for (int y = 0; y < height; ++y) {
        ditherer->DitherRow(reader.ScanLine(y), writer.RowAddress(y));
        ditherer->NextRow();
    }
    writer.Store();
    return result;
}
