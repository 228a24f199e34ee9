#include "gif/GIFWriter.h"

#include <ostream>

TGIFWriter::~TGIFWriter() {
    if (FHasData) Flush();
}

void TGIFWriter::Write(const void* Data, std::size_t Count) {
    const auto* bytes = static_cast<const std::uint8_t*>(Data);
    for (std::size_t i = 0; i < Count; ++i)
        WriteByte(bytes[i]);
}

void TGIFWriter::Flush() {
    FBuffer[0] = static_cast<std::uint8_t>(FFill - 1);
    FStream.write(reinterpret_cast<const char*>(FBuffer), FFill);
    FFill = 1;
    FHasData = false;
}
