// Byte-level reading and writing of GIF blocks on standard streams.
#pragma once

#include <cstdint>
#include <fstream>
#include <iosfwd>
#include <string>
#include <vector>

#include "gif/GIFException.h"

namespace GIFStreamIO {

// The next byte, or -1 at the end of the stream.
int ReadByte(std::istream& Stream);
// The next byte without taking it, or -1.
int PeekByte(std::istream& Stream);
// Reads Count bytes; fewer at the end of the stream raise "Premature end of data".
void ReadExact(std::istream& Stream, void* Buffer, std::size_t Count);
// Reads up to Count bytes and answers how many arrived.
std::size_t ReadSome(std::istream& Stream, void* Buffer, std::size_t Count);
// Steps back (negative) or forward in an input stream.
void Skip(std::istream& Stream, std::streamoff Offset);
// Bytes left from the current position to the end (0 when unknown).
std::uint64_t Remaining(std::istream& Stream);

// Opens a file for reading; raises Exception "Cannot open file ..." when it cannot.
std::ifstream OpenInputFile(const std::string& FileName);

void WriteByte(std::ostream& Stream, std::uint8_t Value);
void WriteWord(std::ostream& Stream, std::uint16_t Value);
void WriteBytes(std::ostream& Stream, const void* Data, std::size_t Count);

inline std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Data sub-blocks up to the zero-length one, one string per sub-block. A
// sub-block longer than the stream warns "Premature end of data" and is cut.
std::vector<std::string> ReadSubBlocks(std::istream& Stream, const TGIFWarningSink& Warn);
// Each text as sub-blocks of at most 255 bytes, then the zero-length block.
// Empty texts are left out: a zero-length block would end the data early.
void WriteSubBlocks(std::ostream& Stream, const std::vector<std::string>& Texts);

} // namespace GIFStreamIO
