#pragma once
// Helpers shared by the rasteriser's files: safe conversions of real
// coordinates and loop limits that keep wild operands from costing time.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "toolkit/drivers/hardcopy_options.h"

namespace raster {

// Truncation toward zero, held within the 32-bit range (NaN gives 0), so that
// a coordinate far off the page stays a number far off the page.
inline std::int32_t truncate(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(std::trunc(value), kLow, kHigh));
}

inline std::int32_t clampToInt(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// An inclusive range of columns or rows; empty when last < first.
struct Range {
  std::int64_t first;
  std::int64_t last;
};

// The part of a range that lies on the page (0 .. limit).  Only loop bounds use
// it: the pixel and run writers are what refuses an off-page pixel.
inline Range onPage(std::int64_t first, std::int64_t last, std::int32_t limit) {
  return {std::max<std::int64_t>(first, 0), std::min<std::int64_t>(last, limit)};
}

// Modulo that stays 0 .. divisor - 1 for negative values too.
inline int wrap(std::int64_t value, int divisor) {
  return static_cast<int>(((value % divisor) + divisor) % divisor);
}

inline std::int32_t option(int code) { return hardcopyOption(code); }

}  // namespace raster
