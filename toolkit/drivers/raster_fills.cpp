// Span fills of the rasteriser's patterned shapes: rectangles, parallelograms
// and triangles, filled row by row with the current fill colour.

#include <algorithm>

#include "toolkit/drivers/raster_fills.h"
#include "toolkit/drivers/raster_internal.h"
#include "toolkit/drivers/rasteriser.h"

namespace {

constexpr std::int32_t kLevelEdge = 32767;

void clippedSpan(std::int64_t left, std::int64_t right, std::int64_t row) {
  const YYRasterState& s = yyRasterState;
  YYRasterSpan(raster::clampToInt(std::max<std::int64_t>(s.columnMin, left)),
               raster::clampToInt(std::min<std::int64_t>(s.columnMax, right)), static_cast<std::int32_t>(row));
}

// Rows from top down to bottom, as far as they lie on the page.
template <typename Row>
void rowsDown(std::int64_t top, std::int64_t bottom, Row fillRow) {
  const raster::Range rows = raster::onPage(bottom, top, yyRasterPage.lastRow);
  for (std::int64_t r = rows.last; r >= rows.first; --r) fillRow(r);
}

// The row of a parallelogram whose sides P1-P4 and P2-P3 run along columns.
void upright(const RasterPoints& p, std::int64_t row) {
  const YYRasterState& s = yyRasterState;
  std::int64_t left = std::max<std::int64_t>(s.columnMin, p.x[0]);
  std::int64_t right = std::min<std::int64_t>(s.columnMax, p.x[1]);
  const bool leftOut = row < p.y[0] || row > p.y[3];
  const bool rightOut = row < p.y[1] || row > p.y[2];
  if (leftOut || rightOut) {
    const std::int32_t r = static_cast<std::int32_t>(row);
    const std::int64_t e1 = YYEdgeX(p.x[0], p.y[0], p.x[1], p.y[1], r);
    const std::int64_t e2 = YYEdgeX(p.x[3], p.y[3], p.x[2], p.y[2], r);
    const bool has1 = e1 >= left && e1 <= right;
    const bool has2 = e2 >= left && e2 <= right;
    if (has1 && has2) {
      if (leftOut) left = std::min(e1, e2);
      if (rightOut) right = std::max(e1, e2);
    } else if (has1 || has2) {
      const std::int64_t e = has1 ? e1 : e2;
      const bool leftEnd = has1 ? p.y[1] < p.y[0] : p.y[3] < p.y[2];
      if (leftEnd && leftOut) left = e;
      if (!leftEnd && rightOut) right = e;
    }
  }
  YYRasterSpan(raster::clampToInt(left), raster::clampToInt(right), static_cast<std::int32_t>(row));
}

}  // namespace

std::int32_t YYEdgeX(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb, std::int32_t row) {
  const std::int64_t d = static_cast<std::int64_t>(yb) - ya;
  const std::int64_t run = static_cast<std::int64_t>(xb) - xa;
  if (d < 0) return raster::clampToInt(run * (static_cast<std::int64_t>(row) - yb) / d + xb);
  if (d > 0) return raster::clampToInt(run * (static_cast<std::int64_t>(row) - ya) / d + xa);
  return kLevelEdge;
}

void rasterRectangle(const RasterPoints& p) {
  const YYRasterState& s = yyRasterState;
  const std::int64_t x1 = p.x[0], y1 = p.y[0], x2 = p.x[1], y2 = p.y[1];
  if (y2 < y1 || x2 < x1) return;
  const raster::Range rows =
      raster::onPage(std::max<std::int64_t>(y1, s.rowMin), std::min<std::int64_t>(y2, s.rowMax), yyRasterPage.lastRow);
  for (std::int64_t r = rows.first; r <= rows.last; ++r) clippedSpan(x1, x2, r);
}

void rasterFillLine(std::int32_t left, std::int32_t right, std::int32_t row) {
  const YYRasterState& s = yyRasterState;
  if (row < s.rowMin || row > s.rowMax) return;
  clippedSpan(left, right, row);
}

void rasterParallelogram(const RasterPoints& p, std::int32_t m) {
  const YYRasterState& s = yyRasterState;
  const std::int64_t bottom = std::max<std::int64_t>(s.rowMin, std::min(p.y[0], p.y[1]));
  const std::int64_t top = std::min<std::int64_t>(s.rowMax, std::max(p.y[2], p.y[3]));
  if (bottom == top) {
    clippedSpan(std::min(p.x[0], p.x[3]), std::max(p.x[1], p.x[2]), bottom);
    return;
  }
  rowsDown(top, bottom, [&p, m](std::int64_t row) {
    if (m == 1) {
      upright(p, row);
      return;
    }
    const std::int32_t r = static_cast<std::int32_t>(row);
    clippedSpan(YYEdgeX(p.x[0], p.y[0], p.x[3], p.y[3], r), YYEdgeX(p.x[1], p.y[1], p.x[2], p.y[2], r), row);
  });
}

void rasterTriangle(const RasterPoints& p) {
  const YYRasterState& s = yyRasterState;
  const std::int32_t x1 = p.x[0], y1 = p.y[0], x2 = p.x[1], y2 = p.y[1], x3 = p.x[2], y3 = p.y[2];
  if (y3 < y1) return;
  auto slope = [](std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb) {
    return ya != yb ? static_cast<float>(static_cast<std::int64_t>(xa) - xb) / static_cast<float>(static_cast<std::int64_t>(ya) - yb) : 0.0f;
  };
  const float s12 = slope(x1, y1, x2, y2);
  const float s23 = slope(x2, y2, x3, y3);
  const float s13 = slope(x1, y1, x3, y3);
  auto along = [](std::int32_t x, std::int32_t y, std::int64_t row, float slope) {
    return raster::truncate(static_cast<float>(x) + static_cast<float>(row - y) * slope);
  };
  rowsDown(std::min<std::int64_t>(s.rowMax, y3), std::max<std::int64_t>(s.rowMin, y1), [&](std::int64_t row) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (row < y2) {
      a = along(x2, y2, row, s12);
      b = along(x3, y3, row, s13);
    } else if (row > y2) {
      a = along(x3, y3, row, s13);
      b = along(x3, y3, row, s23);
    } else {
      a = x2;
      b = y1 == y2 ? x1 : y2 == y3 ? x3 : along(x3, y3, y2, s13);
    }
    clippedSpan(std::min(a, b), std::max(a, b), row);
  });
}
