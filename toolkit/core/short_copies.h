#pragma once
// Copies and fills of the short texts that records are made of, done inline in
// SSE2 registers.  A record field is a few dozen bytes: a library call for each
// costs more than the copy itself, and the compiler turns a plain loop back into
// such a call.  Long ranges still go to the library.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "toolkit/core/byte_blocks.h"

// Each copy and fill branches on its length.  Where it is inlined into a field
// of known size, the compiler still warns about the branches for longer lengths,
// which never run there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#pragma GCC diagnostic ignored "-Wrestrict"

namespace bytes {

// Ranges of at most this length are copied inline.
constexpr std::size_t kInlineCopy = 64;

namespace detail {
inline void storeBlock(char* at, __m128i block) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), block); }
template <typename Word>
inline Word load(const char* at) {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}
template <typename Word>
inline void store(char* at, Word word) {
  std::memcpy(at, &word, sizeof word);
}
}  // namespace detail

// Copies `count` bytes from `from` to `to`; the ranges may overlap.  Every byte
// of a short range is read before any is written, so overlap needs no care.
inline void copy(const char* from, std::size_t count, char* to) {
  using namespace detail;
  if (count <= 16) {
    if (count >= 8) {
      const auto head = load<std::uint64_t>(from);
      const auto tail = load<std::uint64_t>(from + count - 8);
      store(to, head);
      store(to + count - 8, tail);
    } else if (count >= 4) {
      const auto head = load<std::uint32_t>(from);
      const auto tail = load<std::uint32_t>(from + count - 4);
      store(to, head);
      store(to + count - 4, tail);
    } else if (count > 0) {
      const char first = from[0];
      const char middle = from[count / 2];
      const char last = from[count - 1];
      to[0] = first;
      to[count / 2] = middle;
      to[count - 1] = last;
    }
  } else if (count <= 32) {
    const __m128i head = loadBlock(from);
    const __m128i tail = loadBlock(from + count - 16);
    storeBlock(to, head);
    storeBlock(to + count - 16, tail);
  } else if (count <= kInlineCopy) {
    const __m128i a = loadBlock(from);
    const __m128i b = loadBlock(from + 16);
    const __m128i c = loadBlock(from + count - 32);
    const __m128i d = loadBlock(from + count - 16);
    storeBlock(to, a);
    storeBlock(to + 16, b);
    storeBlock(to + count - 32, c);
    storeBlock(to + count - 16, d);
  } else {
    std::memmove(to, from, count);
  }
}

// Sets `count` bytes from `to` to `value`.
inline void fill(char* to, std::size_t count, char value) {
  using namespace detail;
  if (count >= 16) {
    const __m128i sixteen = _mm_set1_epi8(value);
    for (std::size_t at = 0; at + 16 < count; at += 16) storeBlock(to + at, sixteen);
    storeBlock(to + count - 16, sixteen);
  } else if (count >= 8) {
    const std::uint64_t eight = 0x0101010101010101ull * static_cast<unsigned char>(value);
    store(to, eight);
    store(to + count - 8, eight);
  } else if (count >= 4) {
    const std::uint32_t four = 0x01010101u * static_cast<unsigned char>(value);
    store(to, four);
    store(to + count - 4, four);
  } else if (count > 0) {
    to[0] = value;
    to[count / 2] = value;
    to[count - 1] = value;
  }
}

}  // namespace bytes

#pragma GCC diagnostic pop
