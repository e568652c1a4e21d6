#pragma once
// The rasteriser's span fills of patterned shapes, in page pixels.

#include <array>
#include <cstdint>

// Up to four points of a primitive, pixel columns and rows, point k at index k - 1.
struct RasterPoints {
  std::array<std::int32_t, 4> x{};
  std::array<std::int32_t, 4> y{};
};

// Rows y1 to y2, columns x1 to x2, within the clip rectangle; nothing unless
// the corners are ordered.
void rasterRectangle(const RasterPoints& p);
// One scan line of a fill sent back as a line: columns left to right of the
// row, within the clip rectangle.
void rasterFillLine(std::int32_t left, std::int32_t right, std::int32_t row);
// M = 1: the sides P1-P4 and P2-P3 run along columns; otherwise P1-P2 and
// P4-P3 run along rows.
void rasterParallelogram(const RasterPoints& p, std::int32_t m);
// P1 the lowest point, P3 the highest.
void rasterTriangle(const RasterPoints& p);
