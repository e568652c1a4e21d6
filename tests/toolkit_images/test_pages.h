#pragma once
// Page bitmaps for the image writers, built pixel by pixel from a pattern, and
// the colours a reader should find in the written files, top row first.

#include <cstdint>
#include <vector>

#include "toolkit/graphics/image_writing.h"

namespace image_test {

constexpr std::int32_t rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// A page and the storage behind it.
struct TestPage {
  std::vector<std::uint32_t> words;
  std::vector<std::int32_t> palette;
  ImagePage page;
  std::vector<std::int32_t> values;  // per pixel, page row 0 first: index or RGB
};

inline std::int32_t patternValue(int depth, int x, int row) {
  if (depth == 24) return rgb((x * 40 + 3) % 256, (row * 60 + 5) % 256, ((x + row) * 25) % 256);
  return (x * 7 + row * 3) % (1 << depth);
}

inline void setBit(std::vector<std::uint32_t>& words, std::size_t at, int x) {
  words[at + static_cast<std::size_t>(x / 32)] |= 1u << (x % 32);
}

// A page of the depth (1, 4, 8, 24) filled with patternValue, or with the
// values given (page row 0 first).
inline TestPage makePage(int depth, int width, int height, std::vector<std::int32_t> values = {}) {
  TestPage t;
  if (values.empty()) {
    for (int row = 0; row < height; ++row)
      for (int x = 0; x < width; ++x) values.push_back(patternValue(depth, x, row));
  }
  t.values = values;
  const int bitWords = (width + 31) / 32;
  int perRow = depth == 1 ? bitWords : depth == 4 ? 4 * bitWords : depth == 8 ? (width + 3) / 4 : width;
  t.words.assign(static_cast<std::size_t>(perRow) * static_cast<std::size_t>(height), 0);
  for (int row = 0; row < height; ++row) {
    const std::size_t start = static_cast<std::size_t>(row) * static_cast<std::size_t>(perRow);
    for (int x = 0; x < width; ++x) {
      const auto v = static_cast<std::uint32_t>(values[static_cast<std::size_t>(row * width + x)]);
      if (depth == 1) {
        if (v != 0) setBit(t.words, start, x);
      } else if (depth == 4) {
        // Index bits 0-3 live in page planes 2, 1, 0, 3.
        constexpr int kPlaneOfBit[4] = {2, 1, 0, 3};
        for (int b = 0; b < 4; ++b)
          if ((v >> b) & 1u) setBit(t.words, start + static_cast<std::size_t>(kPlaneOfBit[b] * bitWords), x);
      } else if (depth == 8) {
        t.words[start + static_cast<std::size_t>(x / 4)] |= v << (8 * (x % 4));
      } else {
        t.words[start + static_cast<std::size_t>(x)] = v;
      }
    }
  }
  if (depth < 24) {
    for (int i = 0; i < (1 << depth); ++i) t.palette.push_back(rgb((i * 53) % 256, (i * 101 + 7) % 256, 255 - i));
  }
  t.page.width = width;
  t.page.height = height;
  t.page.depth = depth;
  t.page.wordsPerRow = perRow;
  t.page.wordsPerPlane = bitWords;
  t.page.words = t.words;
  t.page.palette = t.palette;
  return t;
}

// The colours of the page as a reader returns them: top row first.
inline std::vector<std::int32_t> expectedColours(const TestPage& t) {
  std::vector<std::int32_t> colours;
  for (int r = t.page.height - 1; r >= 0; --r) {
    for (int x = 0; x < t.page.width; ++x) {
      const std::int32_t v = t.values[static_cast<std::size_t>(r * t.page.width + x)];
      colours.push_back(t.page.depth == 24 ? v : t.palette[static_cast<std::size_t>(v)]);
    }
  }
  return colours;
}

}  // namespace image_test
