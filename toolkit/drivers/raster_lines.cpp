// Lines of the rasteriser: solid lines along a row or a column as bands of
// the pen's width, every other line (and every dashed one) as parallel
// Bresenham lines, one per pixel of the pen.

#include <algorithm>
#include <cstdlib>

#include "toolkit/drivers/raster_internal.h"
#include "toolkit/drivers/rasteriser.h"

namespace {

constexpr std::int32_t kSolid = 0xFFF;
constexpr int kDashBits = 12;

// Where the dash stands: the pattern bit and the pixels already in it.
struct DashPosition {
  std::int64_t bit;
  std::int64_t pixelsInBit;
};

// The pixels already in the current bit, as the next pixel sees them: a
// count above this line's pixels per bit (left by a line along the other
// direction) lets the bit advance after one pixel.
std::int64_t pixelsInBit(const YYRasterState& s, std::int64_t perBit) {
  return std::min<std::int64_t>(s.dashPixelsInBit, perBit);
}

bool dashOn(const YYRasterState& s, std::int64_t pixel, std::int64_t perBit) {
  const std::int64_t bit = (s.dashBit + (pixelsInBit(s, perBit) - 1 + pixel) / perBit) % kDashBits;
  return ((s.dashPattern >> bit) & 1) != 0;
}

DashPosition dashAfter(const YYRasterState& s, std::int64_t pixels, std::int64_t perBit) {
  if (pixels <= 0) return {s.dashBit, s.dashPixelsInBit};
  const std::int64_t total = pixelsInBit(s, perBit) - 1 + pixels;
  return {(s.dashBit + total / perBit) % kDashBits, total % perBit + 1};
}

// The pixels from a to b along a band, without the end at a when the first
// pixel is skipped (empty when that leaves nothing).
raster::Range bandSpan(std::int32_t a, std::int32_t b, bool skipFirst) {
  raster::Range span{std::min(a, b), std::max(a, b)};
  if (skipFirst) {
    if (a == b) return {1, 0};
    if (a < b) ++span.first;
    else --span.last;
  }
  return span;
}

// The rows or columns of a band of pen width w starting at `from`, within the
// clip limits on that side and the page.
raster::Range bandWidth(std::int64_t from, std::int32_t width, std::int32_t low, std::int32_t high,
                        std::int32_t pageLimit) {
  return raster::onPage(std::max<std::int64_t>(from, low), std::min<std::int64_t>(from + width - 1, high), pageLimit);
}

// A solid line along a row: whole rows of the pen's column width, limited to
// the clip rows only.
void rowBand(std::int32_t x1, std::int32_t y1, std::int32_t x2, bool skipFirst) {
  const YYRasterState& s = yyRasterState;
  const raster::Range columns = bandSpan(x1, x2, skipFirst);
  const raster::Range rows =
      bandWidth(static_cast<std::int64_t>(y1) - s.hc, s.wc, s.rowMin, s.rowMax, yyRasterPage.lastRow);
  for (std::int64_t r = rows.first; r <= rows.last && columns.first <= columns.last; ++r) {
    YYRasterRun(s.pixelValue, raster::clampToInt(columns.first), static_cast<std::int32_t>(r),
                raster::clampToInt(columns.last));
  }
}

// A solid line along a column: whole columns of the pen's row width, limited
// to the clip columns only.
void columnBand(std::int32_t x1, std::int32_t y1, std::int32_t y2, bool skipFirst) {
  const YYRasterState& s = yyRasterState;
  const raster::Range span = bandSpan(y1, y2, skipFirst);
  const raster::Range columns =
      bandWidth(static_cast<std::int64_t>(x1) - s.hr, s.wr, s.columnMin, s.columnMax, yyRasterPage.lastColumn);
  const raster::Range rows = raster::onPage(span.first, span.last, yyRasterPage.lastRow);
  for (std::int64_t c = columns.first; c <= columns.last; ++c) {
    for (std::int64_t r = rows.first; r <= rows.last; ++r) {
      YYRasterPixel(s.pixelValue, static_cast<std::int32_t>(c), static_cast<std::int32_t>(r));
    }
  }
}

// One Bresenham line seen along its major axis, which steps every pixel, and
// its minor axis, which steps when the error term says so and stops at the
// clip edge it moves toward.
struct Axes {
  std::int64_t major0, majorStep, majorLength, majorLimit;
  std::int64_t minor0, minorStep, minorLength, minorLimit;
  std::int64_t stopLow, stopHigh;
  std::int64_t lines, half, perBit;
};

// The minor coordinate after t steps of a line starting at minor start: the
// error rule e := 2 dMinor - dMajor moves it floor((2 dMinor t + dMajor) /
// (2 dMajor)) times in t steps.
std::int64_t minorAt(const Axes& a, std::int64_t start, std::int64_t t) {
  const std::int64_t moves = a.majorLength > 0 ? (2 * a.minorLength * t + a.majorLength) / (2 * a.majorLength) : 0;
  if (a.minorStep > 0) return start >= a.stopHigh ? start : std::min(start + moves, a.stopHigh);
  return start <= a.stopLow ? start : std::max(start - moves, a.stopLow);
}

template <typename Plot>
void parallelLines(const Axes& a, bool skipFirst, Plot plot) {
  YYRasterState& s = yyRasterState;
  const std::int64_t first = skipFirst ? 1 : 0;
  // Only the steps whose major coordinate is on the page can draw.
  std::int64_t tFirst = a.majorStep > 0 ? -a.major0 : a.major0 - a.majorLimit;
  std::int64_t tLast = a.majorStep > 0 ? a.majorLimit - a.major0 : a.major0;
  tFirst = std::max(tFirst, first);
  tLast = std::min(tLast, a.majorLength);
  // Only the lines whose minor coordinates can reach the page.
  const std::int64_t reach = a.minorStep * a.minorLength;
  const std::int64_t kFirst = std::max<std::int64_t>(0, -std::max<std::int64_t>(0, reach) - a.minor0 + a.half);
  const std::int64_t kLast =
      std::min<std::int64_t>(a.lines - 1, a.minorLimit - std::min<std::int64_t>(0, reach) - a.minor0 + a.half);
  for (std::int64_t k = kFirst; k <= kLast; ++k) {
    const std::int64_t start = a.minor0 - a.half + k;
    for (std::int64_t t = tFirst; t <= tLast; ++t) {
      if (!dashOn(s, t - first, a.perBit)) continue;
      plot(a.major0 + a.majorStep * t, minorAt(a, start, t));
    }
  }
  const DashPosition after = dashAfter(s, a.majorLength + 1 - first, a.perBit);
  s.dashBit = static_cast<std::int32_t>(after.bit);
  s.dashPixelsInBit = static_cast<std::int32_t>(after.pixelsInBit);
}

}  // namespace

void YYRasterLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, bool skipFirst) {
  const YYRasterState& s = yyRasterState;
  if (s.dashPattern == kSolid && y1 == y2) {
    rowBand(x1, y1, x2, skipFirst);
    return;
  }
  if (s.dashPattern == kSolid && x1 == x2) {
    columnBand(x1, y1, y2, skipFirst);
    return;
  }
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(x2) - x1);
  const std::int64_t dy = std::llabs(static_cast<std::int64_t>(y2) - y1);
  const std::int64_t sx = x1 <= x2 ? 1 : -1;
  const std::int64_t sy = y1 <= y2 ? 1 : -1;
  const std::int32_t value = s.pixelValue;
  if (dx < dy) {
    const Axes steep{y1, sy, dy, yyRasterPage.lastRow, x1, sx, dx, yyRasterPage.lastColumn,
                     s.columnMin, s.columnMax, s.wc, s.hc, std::max(1, s.dashPixelsPerBitRows)};
    parallelLines(steep, skipFirst, [value](std::int64_t row, std::int64_t column) {
      YYRasterPixel(value, raster::clampToInt(column), raster::clampToInt(row));
    });
  } else {
    const Axes shallow{x1, sx, dx, yyRasterPage.lastColumn, y1, sy, dy, yyRasterPage.lastRow,
                       s.rowMin, s.rowMax, s.wr, s.hr, std::max(1, s.dashPixelsPerBitColumns)};
    parallelLines(shallow, skipFirst, [value](std::int64_t column, std::int64_t row) {
      YYRasterPixel(value, raster::clampToInt(column), raster::clampToInt(row));
    });
  }
}
