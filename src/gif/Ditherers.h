// Error diffusion while colours are reduced. Rows are scanned serpentine: the
// first left to right, then alternately; kernel offsets follow the scan.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gif/ColorLookup.h"

// Without dithering: every pixel takes its nearest colour.
class TDitherEngine {
public:
    TDitherEngine(int Width, TColorLookup& Lookup) : FWidth(Width), FLookup(Lookup) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    int Direction() const { return FDirection; }
    int Column() const { return FColumn; }
    // The index for the pixel at the current column; moves to the next column.
    virtual int DitherPixel(int Red, int Green, int Blue, int& R, int& G, int& B);
    // Every pixel of a row of blue, green and red bytes from the current column
    // on in the current direction: the same as DitherPixel on each in turn.
    virtual void DitherRow(const std::uint8_t* Bgr, std::uint8_t* Indices);
    // Reverses the direction and starts at the row's other end.
    virtual void NextRow();
    // Moves to the next column leaving the pixel out (no colour, no error).
    void SkipPixel() { FColumn += FDirection; }

protected:
    int FDirection = 1;
    int FColumn = 0;
    int FWidth;
    TColorLookup& FLookup;
};

// One weight of a kernel: rows below the current one, columns ahead (+) or
// behind (-) in scan direction.
struct TKernelWeight {
    int Row;
    int Offset;
    int Weight;
};

// Spreads each channel's error (the clamped value minus the chosen component)
// over the kernel; the error carried to a pixel is (sum + divisor / 2) / divisor,
// truncated toward zero.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    TErrorDiffusionDitherer(int Width, TColorLookup& Lookup, std::vector<TKernelWeight> Kernel,
                            int Divisor);
    int DitherPixel(int Red, int Green, int Blue, int& R, int& G, int& B) override;
    void DitherRow(const std::uint8_t* Bgr, std::uint8_t* Indices) override;
    void NextRow() override;

private:
    static constexpr int Margin = 3; // the widest kernel reaches 3 columns aside
    std::vector<TKernelWeight> FKernel;
    int FDivisor;
    // per kernel row: (width + 2 margins) x 3 channels of weighted error sums
    std::vector<std::vector<int>> FErrors;
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int Width, TColorLookup& Lookup);
};

// The kernels five columns wide and three rows deep.
class T5by3Ditherer : public TErrorDiffusionDitherer {
public:
    using TErrorDiffusionDitherer::TErrorDiffusionDitherer;
};

class TStuckiDitherer : public T5by3Ditherer {
public:
    TStuckiDitherer(int Width, TColorLookup& Lookup);
};

class TSierraDitherer : public T5by3Ditherer {
public:
    TSierraDitherer(int Width, TColorLookup& Lookup);
};

class TJaJuNiDitherer : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int Width, TColorLookup& Lookup);
};

class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int Width, TColorLookup& Lookup);
};

class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
    TBurkesDitherer(int Width, TColorLookup& Lookup);
};
