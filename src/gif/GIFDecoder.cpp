#include "gif/GIFDecoder.h"

#include <istream>
#include <vector>

#include "gif/GIFInterlace.h"
#include "gif/GIFStreamIO.h"

namespace {

constexpr int TableSize = 4096;

// Codes, least significant bit first, from a run of data sub-blocks.
class TCodeReader {
public:
    TCodeReader(std::istream& Stream, const TGIFWarningSink& Warn) : FStream(Stream), FWarn(Warn) {}

    // The next code of Width bits, or -1 when the data are used up.
    int Read(int Width) {
        while (FBitCount < Width) {
            if (FPos == FSize && !NextBlock()) {
                if (!FUnderrun && FWarn)
                    FWarn(TGIFSeverity::gsWarning, GIFMessages::BitBufferUnderrun);
                FUnderrun = true;
                return -1;
            }
            FBits |= static_cast<std::uint32_t>(FBlock[FPos++]) << FBitCount;
            FBitCount += 8;
        }
        const int code = static_cast<int>(FBits & ((1u << Width) - 1));
        FBits >>= Width;
        FBitCount -= Width;
        return code;
    }

    // Skips the sub-blocks left, up to and including the zero-length one.
    void Drain() {
        while (!FEnded)
            NextBlock();
    }

private:
    bool NextBlock() {
        if (FEnded) return false;
        const int size = GIFStreamIO::ReadByte(FStream);
        if (size <= 0) {
            FEnded = true;
            if (size < 0) Warn(GIFMessages::PrematureEnd);
            return false;
        }
        FSize = static_cast<int>(
            GIFStreamIO::ReadSome(FStream, FBlock, static_cast<std::size_t>(size)));
        FPos = 0;
        if (FSize < size) {
            Warn(GIFMessages::PrematureEnd);
            FEnded = true;
        }
        return FSize > 0;
    }
    void Warn(const char* Message) {
        if (FWarn) FWarn(TGIFSeverity::gsWarning, Message);
    }

    std::istream& FStream;
    const TGIFWarningSink& FWarn;
    std::uint8_t FBlock[255] = {};
    int FSize = 0;
    int FPos = 0;
    std::uint32_t FBits = 0;
    int FBitCount = 0;
    bool FEnded = false;
    bool FUnderrun = false;
};

// Stores decoded pixels in storage order (plain or interlaced rows).
class TPixelSink {
public:
    TPixelSink(std::uint8_t* Pixels, int Width, int Height, bool Interlaced)
        : FPixels(Pixels), FWidth(Width), FWalk(Height, Interlaced) {
        FFull = Pixels == nullptr || Width <= 0 || FWalk.Done();
        if (!FFull) FRow = FPixels;
    }
    bool Full() const { return FFull; }
    void Put(std::uint8_t Value) {
        FRow[FColumn] = Value;
        if (++FColumn == FWidth) {
            FColumn = 0;
            FWalk.Next();
            FFull = FWalk.Done();
            if (!FFull) FRow = FPixels + static_cast<std::size_t>(FWalk.Row()) * FWidth;
        }
    }

private:
    std::uint8_t* FPixels;
    int FWidth;
    TInterlaceWalk FWalk;
    std::uint8_t* FRow = nullptr;
    int FColumn = 0;
    bool FFull = false;
};

} // namespace

std::uint64_t MostDecodablePixels(std::uint64_t Bytes) {
    return (std::uint64_t{1} << 24) + Bytes * TableSize;
}

void DecodeGIFPixels(std::istream& Stream, std::uint8_t* Pixels, int Width, int Height,
                     bool Interlaced, const TGIFWarningSink& Warn) {
    const int minCodeSize = GIFStreamIO::ReadByte(Stream);
    if (minCodeSize < 0) return;
    TCodeReader reader(Stream, Warn);
    if (minCodeSize < 1 || minCodeSize > 11) {
        if (Warn) Warn(TGIFSeverity::gsWarning, GIFMessages::InvalidData);
        reader.Drain();
        return;
    }
    TPixelSink sink(Pixels, Width, Height, Interlaced);

    const int clearCode = 1 << minCodeSize;
    const int eoiCode = clearCode + 1;
    std::vector<std::uint16_t> prefix(TableSize, 0);
    std::vector<std::uint8_t> suffix(TableSize, 0);
    std::vector<std::uint8_t> stack(TableSize + 1);
    int codeWidth = 0, widthLimit = 0, nextFree = 0;
    const auto clearTable = [&] {
        for (int i = 0; i < TableSize; ++i) {
            prefix[i] = 0;
            suffix[i] = i < clearCode ? static_cast<std::uint8_t>(i) : 0;
        }
        codeWidth = minCodeSize + 1;
        widthLimit = 2 * clearCode;
        nextFree = clearCode + 2;
    };
    const auto damaged = [&](const char* Message) {
        if (Warn) Warn(TGIFSeverity::gsWarning, Message);
    };
    clearTable();

    int oldCode = -1;
    std::uint8_t firstChar = 0;
    while (!sink.Full()) {
        int code = reader.Read(codeWidth);
        if (code < 0 || code == eoiCode) break;
        if (code == clearCode) {
            clearTable();
            oldCode = -1;
            continue;
        }
        if (oldCode < 0) {
            // the first code after a clear is a single pixel
            if (code > clearCode) {
                damaged(GIFMessages::InvalidData);
                break;
            }
            firstChar = static_cast<std::uint8_t>(code);
            sink.Put(firstChar);
            oldCode = code;
            continue;
        }
        if (code > nextFree || (code == nextFree && nextFree >= TableSize)) {
            damaged(GIFMessages::InvalidData);
            break;
        }
        const int inCode = code;
        int sp = 0;
        if (code == nextFree) {
            stack[sp++] = firstChar;
            code = oldCode;
        }
        bool bad = false;
        while (code >= clearCode) {
            if (sp >= TableSize) {
                damaged(GIFMessages::InvalidData);
                bad = true;
                break;
            }
            if (prefix[code] == code) throw GIFException(GIFMessages::CircularTable);
            stack[sp++] = suffix[code];
            code = prefix[code];
        }
        if (bad) break;
        firstChar = static_cast<std::uint8_t>(code);
        stack[sp++] = firstChar;
        while (sp > 0 && !sink.Full())
            sink.Put(stack[--sp]);
        if (nextFree < TableSize) {
            prefix[nextFree] = static_cast<std::uint16_t>(oldCode);
            suffix[nextFree] = firstChar;
            ++nextFree;
            if (nextFree >= widthLimit && widthLimit < TableSize) {
                widthLimit *= 2;
                ++codeWidth;
            }
        }
        oldCode = inCode;
    }
    reader.Drain();
}
