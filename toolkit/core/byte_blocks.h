#pragma once
// Blocks of sixteen bytes in an SSE2 register, for the scans and copies that
// every line and every field of a file passes through: one compare answers for
// sixteen bytes, with no library call.  Both builds have SSE2.

#include <emmintrin.h>

#include <bit>
#include <cstddef>

namespace bytes {

constexpr std::size_t kBlock = 16;

inline __m128i loadBlock(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// One bit for every byte of the block that equals `c`, the first byte lowest.
inline unsigned bytesEqual(__m128i block, char c) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

// The marks of a block whose every byte is marked.
constexpr unsigned kWholeBlock = 0xFFFF;

// One bit for every byte of the block below 32: the control characters.
inline unsigned controlBytes(__m128i block) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(block, _mm_set1_epi8(31)), block)));
}

// One bit for every byte of the block with its high bit set (no ASCII character).
inline unsigned highBytes(__m128i block) { return static_cast<unsigned>(_mm_movemask_epi8(block)); }

// Column within the block of the byte that the lowest bit stands for.
inline std::size_t firstMarked(unsigned marks) { return static_cast<std::size_t>(std::countr_zero(marks)); }

}  // namespace bytes
