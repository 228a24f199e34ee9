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
    void Write(const void* Data, std::size_t Count);
    void Flush();

private:
    std::ostream& FStream;
    std::uint8_t FBuffer[256] = {};
    int FFill = 1; // byte 0 is the block's length
    bool FHasData = false;
};
