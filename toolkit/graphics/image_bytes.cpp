#include "toolkit/graphics/image_bytes.h"

#include <array>
#include <cstdlib>

void YYGetIntLE(const std::uint8_t* bytes, int size, std::uint32_t& value) {
  value = 0;
  if (size != 2 && size != 4) return;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
}

void YYGetIntBE(const std::uint8_t* bytes, std::uint32_t& value) { value = YYGetU32BE(bytes); }

std::uint32_t YYGetU32BE(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

void YYPutU32BE(std::uint32_t value, std::uint8_t* bytes) {
  for (int i = 3; i >= 0; --i) {
    bytes[i] = static_cast<std::uint8_t>(value & 0xFFu);
    value >>= 8;
  }
}

void YYPutU32BEF(const std::uint32_t& value, std::uint8_t* bytes) { YYPutU32BE(value, bytes); }

int YYChunkIs(const std::uint8_t* bytes, std::string_view type) {
  if (type.size() < 4) return 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (bytes[i] != static_cast<std::uint8_t>(type[i])) return 0;
  }
  return 1;
}

namespace {

const std::array<std::uint32_t, 256>& crcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

}  // namespace

std::uint32_t crc32Continue(std::uint32_t crc, const std::uint8_t* bytes, int count) {
  const auto& table = crcTable();
  std::uint32_t c = ~crc;
  for (int i = 0; i < count; ++i) c = table[(c ^ bytes[i]) & 0xFFu] ^ (c >> 8);
  return ~c;
}

std::uint32_t YYCrc32Update(const std::uint8_t* bytes, int count) { return crc32Continue(0, bytes, count); }

void YYCrc32F(const int& count, std::uint32_t& crc, const std::uint8_t* bytes) {
  crc = YYCrc32Update(bytes, count);
}

namespace {

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  if (pb <= pc) return b;
  return c;
}

}  // namespace

void YYPngUnfilter(std::uint8_t* data, int rowLength, int rows, int bytesPerPixel) {
  if (rowLength < 1 || rows < 1 || bytesPerPixel < 1) return;
  const std::uint8_t* above = nullptr;
  for (int r = 0; r < rows; ++r) {
    std::uint8_t* row = data + static_cast<std::size_t>(r) * static_cast<std::size_t>(rowLength);
    const int filter = row[0];
    std::uint8_t* pixels = row + 1;
    const int n = rowLength - 1;
    for (int i = 0; i < n; ++i) {
      const int a = i >= bytesPerPixel ? pixels[i - bytesPerPixel] : 0;
      const int b = above != nullptr ? above[i] : 0;
      const int c = (above != nullptr && i >= bytesPerPixel) ? above[i - bytesPerPixel] : 0;
      int add = 0;
      switch (filter) {
        case 1: add = a; break;
        case 2: add = b; break;
        case 3: add = (a + b) / 2; break;
        case 4: add = paeth(a, b, c); break;
        default: break;
      }
      pixels[i] = static_cast<std::uint8_t>(pixels[i] + add);
    }
    above = pixels;
  }
}

void YYPngUnfilterF(const int& rowLength, const int& rows, const int& bytesPerPixel, std::uint8_t* data) {
  YYPngUnfilter(data, rowLength, rows, bytesPerPixel);
}
