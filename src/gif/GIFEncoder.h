// The pixel coders: a frame's indices as GIF image data (minimum code size,
// LZW code stream in sub-blocks, zero-length terminator).
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "gif/GIFException.h"
#include "gif/GIFInterlace.h"
#include "gif/GIFWriter.h"

class TGIFEncoder {
public:
    virtual ~TGIFEncoder() = default;

    // Writes the complete image data of one frame. Pixels holds Width x Height
    // indices, rows top to bottom. A pixel not below ColorCount raises
    // "Color not in color table".
    void EncodeFrame(std::ostream& Stream, int MinCodeSize, int ColorCount,
                     const std::uint8_t* Pixels, bool Interlace, int Height, int Width);

    TGIFWarningSink OnProblem;

protected:
    virtual void EmitCode(int Code) { PutCode(Code); }
    virtual void EmitClear();
    virtual void EncodePixels() = 0;

    // Appends the code at the current width, least significant bit first; the
    // end code also flushes the last partial byte.
    void PutCode(int Code) {
        if (FBitCount > 0)
            FBitBuffer = (static_cast<std::uint32_t>(Code) << FBitCount) |
                         (FBitBuffer & ((1u << FBitCount) - 1));
        else
            FBitBuffer = static_cast<std::uint32_t>(Code);
        FBitCount += FCodeWidth;
        while (FBitCount >= 8) {
            FWriter->WriteByte(static_cast<std::uint8_t>(FBitBuffer));
            FBitBuffer >>= 8;
            FBitCount -= 8;
        }
        if (Code == FEOICode && FBitCount > 0) {
            FWriter->WriteByte(static_cast<std::uint8_t>(FBitBuffer));
            FBitBuffer = 0;
            FBitCount = 0;
        }
    }

    // Moves to the next pixel in storage order; false after the last one.
    bool AdvancePixel() {
        if (--FPixelsLeft > 0) {
            ++FCurrent;
            return true;
        }
        if (!FInterlace) return false;
        FWalk.Next();
        if (FWalk.Done()) return false;
        FPixelsLeft = FWidth;
        FCurrent = FPixels + static_cast<std::size_t>(FWalk.Row()) * FWidth;
        return true;
    }
    // Calls Stretch (begin, end) for every stretch of pixels that follow one
    // another in memory, in walk order: the whole frame, or each row of the
    // interlace passes.
    template <class F> void ForEachStretch(F&& Stretch) const {
        if (!FInterlace) {
            Stretch(FPixels, FPixels + static_cast<std::size_t>(FWidth) * FHeight);
            return;
        }
        for (TInterlaceWalk walk(FHeight, true); !walk.Done(); walk.Next()) {
            const std::uint8_t* row = FPixels + static_cast<std::size_t>(walk.Row()) * FWidth;
            Stretch(row, row + FWidth);
        }
    }
    int CurrentPixel() const {
        const int pixel = *FCurrent;
        if (pixel >= FColorCount) throw GIFException(GIFMessages::ColorNotFound);
        return pixel;
    }

    int FColorCount = 0;
    int FMinCodeSize = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FInterlace = false;
    const std::uint8_t* FPixels = nullptr;
    TGIFWriter* FWriter = nullptr;
    std::uint32_t FBitBuffer = 0;
    int FBitCount = 0;
    bool FJustCleared = false;
    int FCodeWidth = 0;
    int FInitialWidth = 0;
    int FWidthLimit = 0;
    int FClearCode = 0;
    int FEOICode = 0;
    int FFirstFreeCode = 0;
    const std::uint8_t* FCurrent = nullptr;
    std::uint64_t FPixelsLeft = 0;
    TInterlaceWalk FWalk{0, false};
};

// The LZW string table: 16384 slots of (key << 12) | code, where key is
// (prefix << 8) | colour; a free slot holds all ones. At most 4094 entries are
// stored between clears, so three quarters of the slots stay free: probes are
// short, and always end.
class THashTable {
public:
    static constexpr std::uint32_t Free = 0xFFFFFFFFu;

    THashTable() { Clear(); }
    void Clear();
    // The slot that holds Key, or else the free slot where Key belongs.
    std::uint32_t& Find(std::uint32_t Key) {
        for (std::uint32_t i = FirstSlot(Key);; i = (i + 1) & (Size - 1)) {
            std::uint32_t& slot = FSlots[i];
            if ((slot >> 12) == Key || slot == Free) return slot;
        }
    }
    static std::uint32_t Entry(std::uint32_t Key, int Code) {
        return (Key << 12) | static_cast<std::uint32_t>(Code);
    }
    static int CodeOf(std::uint32_t Slot) { return static_cast<int>(Slot & 0xFFF); }

private:
    static constexpr std::uint32_t Size = 16384;
    // Fibonacci hashing: the top 14 bits of the key times 2^32 / golden ratio.
    static std::uint32_t FirstSlot(std::uint32_t Key) { return (Key * 0x9E3779B1u) >> 18; }

    std::array<std::uint32_t, Size> FSlots;
};

class TLZWEncoder final : public TGIFEncoder {
protected:
    void EmitCode(int Code) override;
    void EmitClear() override;
    void EncodePixels() override;

private:
    // Codes the pixels Begin .. End - 1 that follow the current prefix; with
    // CheckColors each is checked against the colour count first.
    template <bool CheckColors>
    void EncodeStretch(const std::uint8_t* Begin, const std::uint8_t* End);
    // The highest next free code a code width takes before it grows; at 12
    // bits it is never passed: code 4095 is never assigned.
    static int WidthLimitOf(int Width) { return Width >= 12 ? 4096 : (1 << Width) - 1; }

    int FPrefix = 0;
    int FNextFreeCode = 0;
    std::unique_ptr<THashTable> FHashTable;
};

// Writes only codes a standard decoder reads as runs of one colour: after a
// clear the decoder's new entries stand for runs of 2, 3, 4 ... pixels of the
// run's colour, so no string table is needed.
class TRLEEncoder final : public TGIFEncoder {
protected:
    void EmitClear() override;
    void EncodePixels() override;

private:
    void EmitRunCode(int Code);
    void FlushRun(std::uint64_t Count);
    void SendRunFromClear(std::uint64_t Count);
    void SendRunByRepeat(std::uint64_t Count);
    void SendRunWithTable(std::uint64_t Count);
    void ResetClearAt();
    static std::uint64_t RunCodeCost(std::uint64_t Count, std::uint64_t CodesPerRun);

    int FGrowAtInitial = 0;
    int FClearAtInitial = 0;
    int FCodesPerCycle = 0;
    int FRunColor = -1;
    int FLongestRunCode = 0;
    int FRunCodeColor = -1;
    int FCodesSinceClear = 0;
    int FClearAt = 0;
    int FGrowAt = 0;
};
