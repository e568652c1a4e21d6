#pragma once
// The rasteriser of the two raster drivers: it draws the primitive records into
// one page bitmap held in memory, row 0 at the bottom of the picture, which the
// printer and image writers then send on.

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/drivers/dither_patterns.h"

// Where a page keeps its pixels, chosen from the bits per pixel.
enum RasterStorageKind : std::int32_t {
  kStorageBits = 1,    // one bit per pixel, bit 0 the leftmost pixel of a word
  kStoragePlanes = 2,  // planar bits: plane p holds bit p of the pixel value
  kStorageBytes = 3,   // one byte per pixel, byte 0 the least significant
  kStorageWords = 4,   // one word per pixel, the 24-bit RGB value
};

// The page bitmap, one per process.
struct YYRasterPage {
  std::vector<std::uint32_t> buffer;  // total words + 1 words while a page is allocated
  float verticalResolution = 0.0f;    // dots per inch in the paper-feed direction
  float horizontalResolution = 0.0f;  // dots per inch along the print line
  std::int32_t clearValue = 0;        // word that opcode 17 writes everywhere: -1 or 0
  std::int32_t printerWidth = 0, printerHeight = 0;  // after the orientation swap (printer)
  std::int32_t wordsPerPlane = 0;
  std::int32_t totalWords = 0;
  std::int32_t wordsPerRow = 0;
  std::int32_t lastRow = 0, lastColumn = 0;
  std::int32_t rows = 0;
  std::int32_t width = 0;
  std::int32_t bitsPerPixel = 1;  // 1, 3, 4, 8 or 24
  std::int32_t storageKind = kStorageBits;
  std::int32_t planesMinusOne = 0;
};
extern YYRasterPage yyRasterPage;

// The rasteriser's drawing state.
struct YYRasterState {
  std::int32_t pixelValue = 0;
  std::int32_t previousPixelValue = 0;
  std::array<DitherPattern, 3> patterns{};          // current colour, one per plane
  std::array<DitherPattern, 3> previousPatterns{};  // colour before
  DitherPattern monoFillA = 0, monoFillB = 0;       // spans on one-bit pages
  bool mix = false;                                 // two-colour checker fill
  std::int32_t columnMin = 0, columnMax = 0, rowMin = 0, rowMax = 0;  // clip, inclusive
  // Pen widths: wc counted in columns, wr in rows; hc, hr half of one less.
  std::int32_t wc = 1, wr = 1, hc = 0, hr = 0;
  std::int32_t dashPattern = 0xFFF;  // 12 bits, bit 0 first
  std::int32_t dashBit = 0;
  std::int32_t dashPixelsInBit = 1;
  std::int32_t dashPixelsPerBitColumns = 1, dashPixelsPerBitRows = 1;
  std::int32_t lastEndColumn = -9999, lastEndRow = -9999;
};
extern YYRasterState yyRasterState;

// The storage kind of a bit depth: 24 words, 8 bytes, 3 or 4 planes, else bits.
std::int32_t rasterStorageKind(std::int32_t bitsPerPixel);

// The pixel value of a colour number on a four-bit page.
std::int32_t rasterFourBitValue(std::int32_t colourNumber);

// Lays out a page of width x rows pixels with the bits per pixel and planes
// given: words per row from the storage kind, and the word counts.  Answers
// the total words, or -1 when the page would not fit the 32-bit counts.
// Nothing is allocated.
std::int64_t YYRasterPageLayout(std::int32_t width, std::int32_t rows, std::int32_t bitsPerPixel,
                                std::int32_t planes);
// Allocates total words + 1 for the laid-out page; false when that fails.
bool YYRasterPageAllocate();
void YYRasterPageFree();
// The allocation the raster drivers make at begin plot; replaceable so that
// tests can make it fail.
using RasterPageAllocator = bool (*)();
extern RasterPageAllocator yyRasterPageAllocator;

// Performs one primitive on the page.
void YYRasterise(std::int32_t& opcode);

// Writes one pixel; pixels outside the page are never written.
void YYRasterPixel(const std::int32_t& value, const std::int32_t& column, const std::int32_t& row);
// Every pixel from column 1 to column 2 of a row; nothing when column 2 < column 1.
void YYRasterRun(const std::int32_t& value, const std::int32_t& column1, const std::int32_t& row,
                 const std::int32_t& column2);
// A row of the current fill colour, dithered or checkered.
void YYRasterSpan(const std::int32_t& column1, const std::int32_t& column2, const std::int32_t& row);
// A line of the current pen and dash; skip first leaves out its first pixel.
void YYRasterLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, bool skipFirst);
// The column of the edge from (xa, ya) to (xb, yb) at a row; 32767 for a level edge.
std::int32_t YYEdgeX(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb, std::int32_t row);
// One pixel of a 24-bit RGB colour, through the dither tables where the page
// has one or three bits; also the pixel routine of the shaded polygons.
void YYRasterColourPixel(const std::int32_t& column, const std::int32_t& row, const std::int32_t& colour);
