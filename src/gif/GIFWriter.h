// Packs a coder's bytes into GIF data sub-blocks of at most 255 bytes.
#pragma once

#include <cstdint>
#include <iosfwd>

class TGIFWriter {
public:
    explicit TGIFWriter(std::ostream& Stream) : FStream(Stream) {}
    // Flushes a partly filled block.
    ~TGIFWriter();
    TGIFWriter(const TGIFWriter&) = delete;
    TGIFWriter& operator=(const TGIFWriter&) = delete;

    void WriteByte(std::uint8_t Value) {
        FHasData = true;
        FBuffer[FFill++] = Value;
        if (FFill == 256) Flush();
    }
    // Appends the four bytes of Value, the lowest first.
    void WriteLittle32(std::uint32_t Value) {
        if (FFill > 252) {
            for (int i = 0; i < 4; ++i, Value >>= 8)
                WriteByte(static_cast<std::uint8_t>(Value));
            return;
        }
        FHasData = true;
        FBuffer[FFill] = static_cast<std::uint8_t>(Value);
        FBuffer[FFill + 1] = static_cast<std::uint8_t>(Value >> 8);
        FBuffer[FFill + 2] = static_cast<std::uint8_t>(Value >> 16);
        FBuffer[FFill + 3] = static_cast<std::uint8_t>(Value >> 24);
        FFill += 4;
        if (FFill == 256) Flush();
    }
    void Write(const void* Data, std::size_t Count);
    void Flush();

private:
    std::ostream& FStream;
    std::uint8_t FBuffer[256] = {};
    int FFill = 1; // byte 0 is the block's length
    bool FHasData = false;
};
