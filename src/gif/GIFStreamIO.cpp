#include "gif/GIFStreamIO.h"

#include <istream>
#include <ostream>

namespace GIFStreamIO {

int ReadByte(std::istream& Stream) {
    const auto c = Stream.get();
    if (c == std::char_traits<char>::eof()) {
        Stream.clear(Stream.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
        return -1;
    }
    return static_cast<unsigned char>(c);
}

int PeekByte(std::istream& Stream) {
    const auto c = Stream.peek();
    if (c == std::char_traits<char>::eof()) {
        Stream.clear(Stream.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
        return -1;
    }
    return static_cast<unsigned char>(c);
}

std::size_t ReadSome(std::istream& Stream, void* Buffer, std::size_t Count) {
    Stream.read(static_cast<char*>(Buffer), static_cast<std::streamsize>(Count));
    const auto got = static_cast<std::size_t>(Stream.gcount());
    if (got < Count) Stream.clear(Stream.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    return got;
}

void ReadExact(std::istream& Stream, void* Buffer, std::size_t Count) {
    if (ReadSome(Stream, Buffer, Count) < Count) throw GIFException(GIFMessages::PrematureEnd);
}

void Skip(std::istream& Stream, std::streamoff Offset) {
    Stream.seekg(Offset, std::ios::cur);
    if (!Stream) Stream.clear();
}

std::uint64_t Remaining(std::istream& Stream) {
    const auto here = Stream.tellg();
    if (here < 0) {
        Stream.clear();
        return 0;
    }
    Stream.seekg(0, std::ios::end);
    const auto end = Stream.tellg();
    Stream.seekg(here);
    if (end < here) {
        Stream.clear();
        return 0;
    }
    return static_cast<std::uint64_t>(end - here);
}

std::ifstream OpenInputFile(const std::string& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    if (!file) throw Exception("Cannot open file \"" + FileName + "\"");
    return file;
}

void WriteByte(std::ostream& Stream, std::uint8_t Value) {
    Stream.put(static_cast<char>(Value));
}

void WriteWord(std::ostream& Stream, std::uint16_t Value) {
    const char bytes[2] = {static_cast<char>(Value & 0xFF), static_cast<char>(Value >> 8)};
    Stream.write(bytes, 2);
}

void WriteBytes(std::ostream& Stream, const void* Data, std::size_t Count) {
    Stream.write(static_cast<const char*>(Data), static_cast<std::streamsize>(Count));
}

std::vector<std::string> ReadSubBlocks(std::istream& Stream, const TGIFWarningSink& Warn) {
    std::vector<std::string> blocks;
    for (;;) {
        const int size = ReadByte(Stream);
        if (size <= 0) {
            if (size < 0 && Warn) Warn(TGIFSeverity::gsWarning, GIFMessages::PrematureEnd);
            break;
        }
        std::string block(static_cast<std::size_t>(size), '\0');
        const std::size_t got = ReadSome(Stream, block.data(), block.size());
        if (got < block.size()) {
            block.resize(got);
            if (Warn) Warn(TGIFSeverity::gsWarning, GIFMessages::PrematureEnd);
            blocks.push_back(std::move(block));
            break;
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

void WriteSubBlocks(std::ostream& Stream, const std::vector<std::string>& Texts) {
    for (const std::string& text : Texts) {
        for (std::size_t pos = 0; pos < text.size(); pos += 255) {
            const std::size_t size = std::min<std::size_t>(255, text.size() - pos);
            WriteByte(Stream, static_cast<std::uint8_t>(size));
            WriteBytes(Stream, text.data() + pos, size);
        }
    }
    WriteByte(Stream, 0);
}

} // namespace GIFStreamIO
