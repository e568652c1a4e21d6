#pragma once
// The byte-level readers and writers that the image readers, writers and the
// file inquiry share: integers of either byte order, PNG chunk types, CRC-32
// and the reversal of PNG row filters.

#include <cstdint>
#include <string_view>

// The unsigned value 0-255 of one byte of a buffer.
constexpr int YYByte(std::uint8_t byte) { return byte; }
inline int YYByte(char byte) { return static_cast<std::uint8_t>(byte); }

// Unsigned little-endian integer of size 2 or 4 bytes (any other size gives 0).
void YYGetIntLE(const std::uint8_t* bytes, int size, std::uint32_t& value);
// 32-bit big-endian integer.
void YYGetIntBE(const std::uint8_t* bytes, std::uint32_t& value);
std::uint32_t YYGetU32BE(const std::uint8_t* bytes);
// Stores the value big-endian into four bytes.
void YYPutU32BE(std::uint32_t value, std::uint8_t* bytes);
void YYPutU32BEF(const std::uint32_t& value, std::uint8_t* bytes);

// 1 when the four bytes equal the four-letter type, else 0.
int YYChunkIs(const std::uint8_t* bytes, std::string_view type);

// CRC-32 as PNG and zlib define it, of count bytes.
std::uint32_t YYCrc32Update(const std::uint8_t* bytes, int count);
void YYCrc32F(const int& count, std::uint32_t& crc, const std::uint8_t* bytes);
// Continues a CRC over more bytes: start with crc 0, feed every piece in turn.
std::uint32_t crc32Continue(std::uint32_t crc, const std::uint8_t* bytes, int count);

// Reverses the PNG row filters of rows x rowLength bytes in place; each row
// begins with its filter byte.
void YYPngUnfilter(std::uint8_t* data, int rowLength, int rows, int bytesPerPixel);
void YYPngUnfilterF(const int& rowLength, const int& rows, const int& bytesPerPixel, std::uint8_t* data);
