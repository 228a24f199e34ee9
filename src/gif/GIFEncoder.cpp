#include "gif/GIFEncoder.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "gif/GIFStreamIO.h"

// ---------------------------------------------------------------- base

void TGIFEncoder::EncodeFrame(std::ostream& Stream, int MinCodeSize, int ColorCount,
                              const std::uint8_t* Pixels, bool Interlace, int Height, int Width) {
    FColorCount = ColorCount;
    FMinCodeSize = std::max(2, MinCodeSize);
    FPixels = Pixels;
    FInterlace = Interlace;
    FHeight = Height;
    FWidth = Width;
    GIFStreamIO::WriteByte(Stream, static_cast<std::uint8_t>(FMinCodeSize));

    FInitialWidth = FCodeWidth = FMinCodeSize + 1;
    FWidthLimit = (1 << FCodeWidth) - 1;
    FClearCode = 1 << FMinCodeSize;
    FEOICode = FClearCode + 1;
    FFirstFreeCode = FClearCode + 2;
    FBitBuffer = 0;
    FBitCount = 0;
    FJustCleared = false;

    FCurrent = Pixels;
    FWalk = TInterlaceWalk(Height, Interlace);
    FPixelsLeft = Interlace ? static_cast<std::uint64_t>(std::max(Width, 0))
                            : static_cast<std::uint64_t>(std::max(Width, 0)) *
                                  static_cast<std::uint64_t>(std::max(Height, 0));
    {
        TGIFWriter writer(Stream);
        FWriter = &writer;
        if (Pixels && Width >= 1 && Height >= 1) EncodePixels();
        EmitCode(FEOICode);
        FWriter = nullptr;
    }
    GIFStreamIO::WriteByte(Stream, 0);
}

void TGIFEncoder::EmitClear() {
    FJustCleared = true;
    EmitCode(FClearCode);
}

// ---------------------------------------------------------------- LZW

void THashTable::Clear() {
    std::fill(FSlots.begin(), FSlots.end(), Free);
}

void TLZWEncoder::EmitCode(int Code) {
    PutCode(Code);
    if (FNextFreeCode > FWidthLimit || FJustCleared) {
        if (FJustCleared) {
            FCodeWidth = FInitialWidth;
            FJustCleared = false;
        } else {
            ++FCodeWidth;
        }
        FWidthLimit = WidthLimitOf(FCodeWidth);
    }
}

void TLZWEncoder::EmitClear() {
    TGIFEncoder::EmitClear();
    FHashTable->Clear();
    FNextFreeCode = FClearCode + 2;
}

template <bool CheckColors>
void TLZWEncoder::EncodeStretch(const std::uint8_t* Begin, const std::uint8_t* End) {
    // The coder's state lives in locals while the loop runs (every byte written
    // could otherwise alias the members and force them to be read again); the
    // codes gather in 64 bits and leave four bytes at a time.
    std::uint32_t prefix = static_cast<std::uint32_t>(FPrefix);
    std::uint64_t bits = FBitBuffer;
    int count = FBitCount;
    int width = FCodeWidth;
    int limit = FWidthLimit;
    int next = FNextFreeCode;
    const auto colors = static_cast<std::uint32_t>(FColorCount);
    THashTable& table = *FHashTable;
    TGIFWriter& writer = *FWriter;
    const auto store = [&] {
        for (; count >= 8; count -= 8, bits >>= 8)
            writer.WriteByte(static_cast<std::uint8_t>(bits));
        FPrefix = static_cast<int>(prefix);
        FBitBuffer = static_cast<std::uint32_t>(bits);
        FBitCount = count;
        FCodeWidth = width;
        FWidthLimit = limit;
        FNextFreeCode = next;
    };
    for (const std::uint8_t* p = Begin; p != End; ++p) {
        const std::uint32_t color = *p;
        if (CheckColors && color >= colors) {
            store();
            throw GIFException(GIFMessages::ColorNotFound);
        }
        const std::uint32_t key = (prefix << 8) | color;
        std::uint32_t& slot = table.Find(key);
        if (slot != THashTable::Free) {
            prefix = static_cast<std::uint32_t>(THashTable::CodeOf(slot));
            continue;
        }
        // EmitCode (prefix), as the members would do it
        bits |= static_cast<std::uint64_t>(prefix) << count;
        count += width;
        if (count >= 32) {
            writer.WriteLittle32(static_cast<std::uint32_t>(bits));
            bits >>= 32;
            count -= 32;
        }
        if (next > limit) limit = WidthLimitOf(++width);
        prefix = color;
        if (next >= 4095) {
            store();
            EmitClear();
            bits = FBitBuffer;
            count = FBitCount;
            width = FCodeWidth;
            limit = FWidthLimit;
            next = FNextFreeCode;
        } else {
            slot = THashTable::Entry(key, next);
            ++next;
        }
    }
    store();
}

void TLZWEncoder::EncodePixels() {
    FHashTable = std::make_unique<THashTable>();
    FNextFreeCode = FClearCode + 2;
    EmitClear();
    FPrefix = CurrentPixel();
    // a byte is always below a colour count of 256 or more
    const bool check = FColorCount < 256;
    bool first = true;
    ForEachStretch([&](const std::uint8_t* begin, const std::uint8_t* end) {
        if (first) {
            ++begin; // the first pixel is the prefix already
            first = false;
        }
        if (check)
            EncodeStretch<true>(begin, end);
        else
            EncodeStretch<false>(begin, end);
    });
    EmitCode(FPrefix);
    FHashTable.reset();
}

// ---------------------------------------------------------------- run-length

void TRLEEncoder::EmitClear() {
    FGrowAt = FGrowAtInitial;
    FClearAt = FClearAtInitial;
    FCodesSinceClear = 0;
    FLongestRunCode = 0;
    TGIFEncoder::EmitClear();
    FCodeWidth = FInitialWidth;
}

void TRLEEncoder::EmitRunCode(int Code) {
    FJustCleared = false;
    EmitCode(Code);
    ++FCodesSinceClear;
    if (FCodesSinceClear >= FGrowAt) {
        ++FCodeWidth;
        FGrowAt += 1 << (FCodeWidth - 1);
    }
    if (FCodesSinceClear >= FClearAt) EmitClear();
}

std::uint64_t TRLEEncoder::RunCodeCost(std::uint64_t Count, std::uint64_t CodesPerRun) {
    // Codes for runs of 1, 2, 3 ... pixels; a full cycle of CodesPerRun codes
    // covers CodesPerRun (CodesPerRun + 1) / 2 pixels.
    std::uint64_t cost = 0;
    const std::uint64_t perCycle = CodesPerRun * (CodesPerRun + 1) / 2;
    cost += Count / perCycle * CodesPerRun;
    Count %= perCycle;
    if (Count > 0) {
        // the smallest k with k (k + 1) >= 2 Count
        auto k = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(2 * Count)));
        while (k > 0 && k * (k + 1) >= 2 * Count)
            --k;
        while (k * (k + 1) < 2 * Count)
            ++k;
        cost += k;
    }
    return cost;
}

void TRLEEncoder::ResetClearAt() {
    FClearAt = FClearAtInitial;
    if (FCodesSinceClear >= FClearAt) EmitClear();
}

void TRLEEncoder::SendRunFromClear(std::uint64_t Count) {
    FClearAt = FCodesPerCycle;
    FRunCodeColor = FRunColor;
    std::uint64_t k = 1;
    while (Count > 0) {
        if (k == 1) {
            FLongestRunCode = 1;
            EmitRunCode(FRunColor);
            --Count;
        } else if (Count >= k) {
            FLongestRunCode = static_cast<int>(k);
            EmitRunCode(FFirstFreeCode + static_cast<int>(k) - 2);
            Count -= k;
        } else {
            // the rest is shorter than the next run code: send it alone (the
            // loop only gets here with a rest of at least 1)
            ++FLongestRunCode;
            EmitRunCode(Count == 1 ? FRunColor : FFirstFreeCode + static_cast<int>(Count) - 2);
            Count = 0;
        }
        k = FCodesSinceClear == 0 ? 1 : k + 1;
    }
    ResetClearAt();
}

void TRLEEncoder::SendRunByRepeat(std::uint64_t Count) {
    if (1 + RunCodeCost(Count, FCodesPerCycle) < Count) {
        EmitClear();
        SendRunFromClear(Count);
        return;
    }
    for (; Count > 0; --Count)
        EmitRunCode(FRunColor);
}

void TRLEEncoder::SendRunWithTable(std::uint64_t Count) {
    std::uint64_t repeats = Count / FLongestRunCode;
    std::uint64_t leftover = Count % FLongestRunCode;
    std::uint64_t extra = leftover > 0 ? 1 : 0;
    if (FCodesSinceClear + repeats + extra > static_cast<std::uint64_t>(FCodesPerCycle)) {
        repeats = FCodesPerCycle - FCodesSinceClear;
        leftover = Count - repeats * FLongestRunCode;
        extra = 1 + RunCodeCost(leftover, FCodesPerCycle);
    }
    if (1 + RunCodeCost(Count, FCodesPerCycle) < repeats + extra) {
        EmitClear();
        SendRunFromClear(Count);
        return;
    }
    FClearAt = FCodesPerCycle;
    const int code = FFirstFreeCode + FLongestRunCode - 2;
    for (; repeats > 0; --repeats)
        EmitRunCode(code);
    if (leftover > 0) {
        if (FJustCleared)
            SendRunFromClear(leftover);
        else if (leftover == 1)
            EmitRunCode(FRunColor);
        else
            EmitRunCode(FFirstFreeCode + static_cast<int>(leftover) - 2);
    }
    ResetClearAt();
}

void TRLEEncoder::FlushRun(std::uint64_t Count) {
    if (Count == 1)
        EmitRunCode(FRunColor);
    else if (FJustCleared)
        SendRunFromClear(Count);
    else if (FLongestRunCode >= 2 && FRunCodeColor == FRunColor)
        SendRunWithTable(Count);
    else
        SendRunByRepeat(Count);
}

void TRLEEncoder::EncodePixels() {
    FGrowAtInitial = FClearCode - 1;
    FClearAtInitial = FMinCodeSize > 3 ? FGrowAtInitial - 1 : 9;
    FCodesPerCycle = 4095 - FFirstFreeCode;
    EmitClear();
    FRunColor = -1;
    std::uint64_t run = 0;
    do {
        const int color = CurrentPixel();
        if (run > 0 && color != FRunColor) {
            FlushRun(run);
            run = 0;
        }
        if (color == FRunColor) {
            ++run;
        } else {
            FRunColor = color;
            run = 1;
        }
    } while (AdvancePixel());
    if (run > 0) FlushRun(run);
}
