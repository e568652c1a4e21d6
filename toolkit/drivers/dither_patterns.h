#pragma once
// Ordered-dither patterns for devices with one bit per colour plane.  A
// pattern is an 8 x 4 cell in one 32-bit word: bit 8 x (row mod 4) +
// (column mod 8) decides the pixel (column, row), so byte k is cell row k and
// bit 0 of each byte is the cell's leftmost column.

#include <array>
#include <cstdint>

#include "toolkit/drivers/hardcopy_setup.h"

using DitherPattern = std::uint32_t;

// The bit of a pattern that decides the pixel (column, row); negative
// coordinates wrap like positive ones.
constexpr int patternBit(int column, int row) {
  return 8 * (((row % 4) + 4) % 4) + (((column % 8) + 8) % 8);
}
constexpr int patternBitOf(DitherPattern pattern, int bit) { return static_cast<int>((pattern >> bit) & 1u); }

// A program's own fill pattern for a colour number: used instead of the
// dithered one on mono devices while its flag is 0 or above.
struct YYUserPattern {
  std::int32_t flag = -1;  // -1: no user pattern
  DitherPattern pattern = 0;
};
constexpr int kUserPatterns = 256;
extern std::array<YYUserPattern, kUserPatterns> yyUserPatterns;

// Sets every flag of the user patterns to -1.
void YYUserPatternsReset();

// The patterns of 4096 colour classes, one table per plane, indexed by
// 256 x (blue div 16) + 16 x (green div 16) + (red div 16).
constexpr int kDitherClasses = 4096;
using DitherTable = std::array<DitherPattern, kDitherClasses>;
extern std::array<DitherTable, 3> yyDitherTables;
constexpr int ditherIndex(int red, int green, int blue) { return 256 * (blue / 16) + 16 * (green / 16) + red / 16; }

// The three plane patterns of the current colour of the graphics attributes,
// for the hardcopy colour count, colour inversion (option 6) and the device
// class of the record.
void YYColourPatterns(const YYRasterDevice& device, DitherPattern& plane1, DitherPattern& plane2,
                      DitherPattern& plane3);

// Fills the three dither tables.
void YYDitherTables();
