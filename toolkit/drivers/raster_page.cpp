// The page bitmap of the raster drivers and the routines that write its
// pixels: single pixels, runs, dithered spans and colour pixels.

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#include "toolkit/drivers/raster_internal.h"
#include "toolkit/drivers/rasteriser.h"
#include "toolkit/graphics/colours.h"

YYRasterPage yyRasterPage;
YYRasterState yyRasterState;
RasterPageAllocator yyRasterPageAllocator = YYRasterPageAllocate;

namespace {

// Four-bit pixel values by colour number div 16.
constexpr std::array<std::int32_t, 16> kFourBitValues = {0, 9, 1, 11, 3, 10, 2, 14, 6, 12, 4, 13, 5, 15, 7, 8};

// Patterns of one-bit image pixels, by dither value (0-7) plus 8 for light colours.
constexpr std::array<std::uint32_t, 16> kMonoImagePatterns = {
    0xFFFFFFFF, 0xBFBFF7F7, 0x73CE7CC7, 0xC6EC3373, 0xE7EF7E7F, 0x7377EE67, 0x676EE676, 0x311148C8,
    0xEDED7777, 0xECEC3776, 0x6643CCC8, 0x64641313, 0x3C669999, 0xC663366C, 0x32668CCC, 0x00000000,
};

constexpr int kClassCmy = 2;

bool onPage(std::int32_t column, std::int32_t row) {
  const YYRasterPage& page = yyRasterPage;
  return !page.buffer.empty() && column >= 0 && column <= page.lastColumn && row >= 0 && row <= page.lastRow;
}

std::size_t wordIndex(std::int32_t column, std::int32_t row, int pixelsPerWord) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(yyRasterPage.wordsPerRow) +
         static_cast<std::size_t>(column / pixelsPerWord);
}

void setBit(std::uint32_t& word, int bit, bool on) {
  const std::uint32_t mask = 1u << bit;
  word = on ? (word | mask) : (word & ~mask);
}

// The pixel value for the current colour at a span pixel of a three-bit page.
std::int32_t threePlaneValue(const std::array<DitherPattern, 3>& patterns, int bit) {
  return patternBitOf(patterns[0], bit) + 2 * patternBitOf(patterns[1], bit) + 4 * patternBitOf(patterns[2], bit);
}

}  // namespace

std::int32_t rasterStorageKind(std::int32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 24: return kStorageWords;
    case 8: return kStorageBytes;
    case 3:
    case 4: return kStoragePlanes;
    default: return kStorageBits;
  }
}

std::int64_t YYRasterPageLayout(std::int32_t width, std::int32_t rows, std::int32_t bitsPerPixel,
                                std::int32_t planes) {
  YYRasterPage& page = yyRasterPage;
  page.bitsPerPixel = bitsPerPixel;
  page.storageKind = rasterStorageKind(bitsPerPixel);
  page.planesMinusOne = std::max(1, planes) - 1;
  page.width = width;
  page.rows = rows;
  const std::int64_t pixelsPerWord = page.storageKind == kStorageWords   ? 1
                                     : page.storageKind == kStorageBytes ? 4
                                                                         : 32;
  const std::int64_t wordsPerRow = (std::max<std::int64_t>(width, 0) + pixelsPerWord - 1) / pixelsPerWord;
  const std::int64_t wordsPerPlane = wordsPerRow * std::max<std::int64_t>(rows, 0);
  const std::int64_t total = wordsPerPlane * (page.planesMinusOne + 1);
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max() - 1;
  if (total > kLimit) return -1;
  page.wordsPerRow = static_cast<std::int32_t>(wordsPerRow);
  page.wordsPerPlane = static_cast<std::int32_t>(wordsPerPlane);
  page.totalWords = static_cast<std::int32_t>(total);
  return total;
}

bool YYRasterPageAllocate() {
  YYRasterPageFree();
  try {
    yyRasterPage.buffer.assign(static_cast<std::size_t>(yyRasterPage.totalWords) + 1, 0u);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

void YYRasterPageFree() { std::vector<std::uint32_t>().swap(yyRasterPage.buffer); }

void YYRasterPixel(const std::int32_t& value, const std::int32_t& column, const std::int32_t& row) {
  if (!onPage(column, row)) return;
  YYRasterPage& page = yyRasterPage;
  switch (page.storageKind) {
    case kStorageWords:
      page.buffer[wordIndex(column, row, 1)] = static_cast<std::uint32_t>(value);
      break;
    case kStorageBytes: {
      std::uint32_t& word = page.buffer[wordIndex(column, row, 4)];
      const int shift = 8 * (column % 4);
      word = (word & ~(0xFFu << shift)) | ((static_cast<std::uint32_t>(value) & 0xFFu) << shift);
      break;
    }
    case kStoragePlanes: {
      const std::size_t at = wordIndex(column, row, 32);
      for (int p = 0; p <= page.planesMinusOne; ++p) {
        const std::size_t plane = static_cast<std::size_t>(p) * static_cast<std::size_t>(page.wordsPerPlane);
        setBit(page.buffer[plane + at], column % 32, ((value >> p) & 1) != 0);
      }
      break;
    }
    default:
      setBit(page.buffer[wordIndex(column, row, 32)], column % 32, value != 0);
      break;
  }
}

void YYRasterRun(const std::int32_t& value, const std::int32_t& column1, const std::int32_t& row,
                 const std::int32_t& column2) {
  if (column2 < column1 || row < 0 || row > yyRasterPage.lastRow || yyRasterPage.buffer.empty()) return;
  const raster::Range columns = raster::onPage(column1, column2, yyRasterPage.lastColumn);
  if (yyRasterPage.storageKind == kStorageWords) {
    if (columns.last < columns.first) return;
    const auto begin = yyRasterPage.buffer.begin() + static_cast<std::ptrdiff_t>(wordIndex(
                                                          static_cast<std::int32_t>(columns.first), row, 1));
    std::fill(begin, begin + (columns.last - columns.first + 1), static_cast<std::uint32_t>(value));
    return;
  }
  for (std::int64_t c = columns.first; c <= columns.last; ++c) YYRasterPixel(value, static_cast<std::int32_t>(c), row);
}

void YYRasterSpan(const std::int32_t& column1, const std::int32_t& column2, const std::int32_t& row) {
  if (column2 < column1) return;
  const YYRasterState& s = yyRasterState;
  const raster::Range columns = raster::onPage(column1, column2, yyRasterPage.lastColumn);
  switch (yyRasterPage.bitsPerPixel) {
    case 1:
      // Even cell bits from word A, odd ones from B: with the mix flag the
      // current colour's pattern and the previous one's alternate.
      for (std::int64_t c = columns.first; c <= columns.last; ++c) {
        const int bit = patternBit(static_cast<int>(c % 8), raster::wrap(row, 4));
        const DitherPattern word = bit % 2 == 0 ? s.monoFillA : s.monoFillB;
        YYRasterPixel(patternBitOf(word, bit), static_cast<std::int32_t>(c), row);
      }
      break;
    case 3:
      for (std::int64_t c = columns.first; c <= columns.last; ++c) {
        const bool previous = s.mix && raster::wrap(c + row, 2) == 1;
        const int bit = patternBit(static_cast<int>(c % 8), raster::wrap(row, 4));
        YYRasterPixel(threePlaneValue(previous ? s.previousPatterns : s.patterns, bit), static_cast<std::int32_t>(c), row);
      }
      break;
    default:
      if (!s.mix) {
        YYRasterRun(s.pixelValue, column1, row, column2);
        break;
      }
      for (std::int64_t c = columns.first; c <= columns.last; ++c) {
        const bool even = raster::wrap(c + row, 2) == 0;
        YYRasterPixel(even ? s.previousPixelValue : s.pixelValue, static_cast<std::int32_t>(c), row);
      }
      break;
  }
}

void YYRasterColourPixel(const std::int32_t& column, const std::int32_t& row, const std::int32_t& colour) {
  int red = colour & 0xFF;
  int green = (colour >> 8) & 0xFF;
  int blue = (colour >> 16) & 0xFF;
  std::int32_t value = 0;
  switch (yyRasterPage.bitsPerPixel) {
    case 1:
    case 3: {
      const std::size_t index = static_cast<std::size_t>(ditherIndex(red, green, blue));
      const int bit = patternBit(raster::wrap(column, 8), raster::wrap(row, 4));
      int q = patternBitOf(yyDitherTables[0][index], bit) + 2 * patternBitOf(yyDitherTables[1][index], bit) +
              4 * patternBitOf(yyDitherTables[2][index], bit);
      if (raster::option(6) != 0 && (q == 0 || q == 7)) {
        q = 7 - q;
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
      }
      if (yyRasterPage.bitsPerPixel == 3) {
        value = yyRasterDevice.deviceClass == kClassCmy ? 7 - q : q;
      } else {
        const int u = (red >= 192 || green >= 192 || blue >= 192) ? q + 8 : q;
        const int imageBit = raster::wrap(column, 8) + 3 * raster::wrap(row, 4);
        value = static_cast<std::int32_t>((kMonoImagePatterns[static_cast<std::size_t>(u)] >> imageBit) & 1u);
      }
      break;
    }
    case 4: {
      int n = 0;
      YYColourFind(colour, n);
      value = rasterFourBitValue(n);
      break;
    }
    case 8: {
      int n = 0;
      YYColourFind(colour, n);
      value = n;
      break;
    }
    default:
      value = colour;
      break;
  }
  YYRasterPixel(value, column, row);
}

std::int32_t rasterFourBitValue(std::int32_t colourNumber) {
  return kFourBitValues[static_cast<std::size_t>(std::clamp(colourNumber, 0, 255) / 16)];
}
