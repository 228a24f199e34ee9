#include "gif/Ditherers.h"

#include <algorithm>

int TDitherEngine::DitherPixel(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int index = FLookup.NearestIndex(Red, Green, Blue, R, G, B);
    FColumn += FDirection;
    return index;
}

void TDitherEngine::DitherRow(const std::uint8_t* Bgr, std::uint8_t* Indices) {
    // without errors to carry the lookup takes the row as it is
    const int count = FDirection > 0 ? FWidth - FColumn : FColumn + 1;
    if (count <= 0) return;
    FLookup.NearestIndices(Bgr + 3 * FColumn, Indices + FColumn, count, FDirection);
    FColumn += FDirection * count;
}

void TDitherEngine::NextRow() {
    FDirection = -FDirection;
    FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int Width, TColorLookup& Lookup,
                                                 std::vector<TKernelWeight> Kernel, int Divisor)
    : TDitherEngine(Width, Lookup), FKernel(std::move(Kernel)), FDivisor(Divisor) {
    int rows = 1;
    for (const TKernelWeight& w : FKernel)
        rows = std::max(rows, w.Row + 1);
    FErrors.assign(static_cast<std::size_t>(rows),
                   std::vector<int>(static_cast<std::size_t>(3 * (Width + 2 * Margin)), 0));
}

int TErrorDiffusionDitherer::DitherPixel(int Red, int Green, int Blue, int& R, int& G, int& B) {
    const int x = FColumn + Margin;
    const int* carried = &FErrors[0][static_cast<std::size_t>(3 * x)];
    const auto apply = [&](int value, int sum) {
        return std::clamp(value + (sum + FDivisor / 2) / FDivisor, 0, 255);
    };
    const int red = apply(Red, carried[0]);
    const int green = apply(Green, carried[1]);
    const int blue = apply(Blue, carried[2]);
    const int index = FLookup.NearestIndex(red, green, blue, R, G, B);
    const int errors[3] = {red - R, green - G, blue - B};
    if (errors[0] != 0 || errors[1] != 0 || errors[2] != 0) {
        for (const TKernelWeight& w : FKernel) {
            int* target = &FErrors[static_cast<std::size_t>(w.Row)]
                                  [static_cast<std::size_t>(3 * (x + FDirection * w.Offset))];
            target[0] += errors[0] * w.Weight;
            target[1] += errors[1] * w.Weight;
            target[2] += errors[2] * w.Weight;
        }
    }
    FColumn += FDirection;
    return index;
}

void TErrorDiffusionDitherer::DitherRow(const std::uint8_t* Bgr, std::uint8_t* Indices) {
    int r, g, b;
    for (int x = FColumn; x >= 0 && x < FWidth; x = FColumn)
        Indices[x] = static_cast<std::uint8_t>(
            DitherPixel(Bgr[3 * x + 2], Bgr[3 * x + 1], Bgr[3 * x], r, g, b));
}

void TErrorDiffusionDitherer::NextRow() {
    std::rotate(FErrors.begin(), FErrors.begin() + 1, FErrors.end());
    std::fill(FErrors.back().begin(), FErrors.back().end(), 0);
    TDitherEngine::NextRow();
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}, 16) {}

TStuckiDitherer::TStuckiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 8},
                     {0, 2, 4},
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 8},
                     {1, 1, 4},
                     {1, 2, 2},
                     {2, -2, 1},
                     {2, -1, 2},
                     {2, 0, 4},
                     {2, 1, 2},
                     {2, 2, 1}},
                    42) {}

TSierraDitherer::TSierraDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 5},
                     {0, 2, 3},
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 5},
                     {1, 1, 4},
                     {1, 2, 2},
                     {2, -1, 2},
                     {2, 0, 3},
                     {2, 1, 2}},
                    32) {}

TJaJuNiDitherer::TJaJuNiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup,
                    {{0, 1, 7},
                     {0, 2, 5},
                     {1, -2, 3},
                     {1, -1, 5},
                     {1, 0, 7},
                     {1, 1, 5},
                     {1, 2, 3},
                     {2, -2, 1},
                     {2, -1, 3},
                     {2, 0, 5},
                     {2, 1, 3},
                     {2, 2, 1}},
                    48) {}

TSteveArcheDitherer::TSteveArcheDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup,
                              {{0, 2, 32},
                               {1, -3, 12},
                               {1, -1, 26},
                               {1, 1, 30},
                               {1, 3, 16},
                               {2, -2, 12},
                               {2, 0, 26},
                               {2, 2, 12},
                               {3, -3, 5},
                               {3, -1, 12},
                               {3, 1, 12},
                               {3, 3, 5}},
                              200) {}

TBurkesDitherer::TBurkesDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(
          Width, Lookup,
          {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}, 32) {}
