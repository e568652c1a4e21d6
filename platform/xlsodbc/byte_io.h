#pragma once
// Little-endian byte access for the binary structures of workbook files.
// Readers take a span and an offset and never look past the span's end: a short
// buffer reads as zeros, so damaged files cannot make us read foreign memory.

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace xlsio {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline bool fits(ByteView b, std::size_t offset, std::size_t count) {
  return offset <= b.size() && count <= b.size() - offset;
}

inline std::uint8_t u8(ByteView b, std::size_t at) { return at < b.size() ? b[at] : 0; }
inline std::uint16_t u16(ByteView b, std::size_t at) {
  return static_cast<std::uint16_t>(u8(b, at) | (u8(b, at + 1) << 8));
}
inline std::uint32_t u32(ByteView b, std::size_t at) {
  return static_cast<std::uint32_t>(u16(b, at)) | (static_cast<std::uint32_t>(u16(b, at + 2)) << 16);
}
inline double f64(ByteView b, std::size_t at) {
  std::uint64_t bits = u32(b, at) | (static_cast<std::uint64_t>(u32(b, at + 4)) << 32);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline void put8(Bytes& out, std::uint8_t v) { out.push_back(v); }
inline void put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}
inline void putF64(Bytes& out, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof d);
  put32(out, static_cast<std::uint32_t>(bits));
  put32(out, static_cast<std::uint32_t>(bits >> 32));
}
inline void putBytes(Bytes& out, ByteView b) { out.insert(out.end(), b.begin(), b.end()); }
inline void putText(Bytes& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

inline void set16(Bytes& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void set32(Bytes& out, std::size_t at, std::uint32_t v) {
  set16(out, at, static_cast<std::uint16_t>(v));
  set16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace xlsio
