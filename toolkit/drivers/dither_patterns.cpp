#include "toolkit/drivers/dither_patterns.h"

#include <algorithm>
#include <cmath>

#include "toolkit/drivers/raster_internal.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

std::array<YYUserPattern, kUserPatterns> yyUserPatterns;
std::array<DitherTable, 3> yyDitherTables;

namespace {

constexpr DitherPattern kAllOnes = 0xFFFFFFFFu;
constexpr int kCellBits = 32;
constexpr int kMonoDevice = 2;  // colour count of a one-plane device
constexpr int kClassCmy = 2;

struct Components {
  int red = 0;
  int green = 0;
  int blue = 0;
};

Components complemented(const Components& c) { return {255 - c.red, 255 - c.green, 255 - c.blue}; }

bool isGrey(const Components& c) {
  return std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue}) < 4;
}

std::uint8_t rotateLeft(std::uint8_t byte, int bits) {
  return static_cast<std::uint8_t>((byte << bits) | (byte >> (8 - bits)));
}

// Equal cell rows would line the set pixels up in columns: each row that
// repeats an earlier one is turned sideways, and rows it then matches with it.
DitherPattern shuffleRows(DitherPattern pattern, int divisor) {
  std::array<std::uint8_t, 4> row{};
  for (int k = 0; k < 4; ++k) row[k] = static_cast<std::uint8_t>(pattern >> (8 * k));
  for (int i = 0; i < 4; ++i) {
    if (row[i] == 0 || row[i] == 0xFF) continue;
    for (int j = i + 1; j < 4; ++j) {
      if (row[j] == row[i]) row[j] = rotateLeft(row[j], divisor + 1);
      for (int k = j - 1; k >= 0; --k) {
        if (row[k] == row[j]) row[k] = rotateLeft(row[k], divisor);
      }
    }
  }
  DitherPattern out = 0;
  for (int k = 0; k < 4; ++k) out |= static_cast<DitherPattern>(row[k]) << (8 * k);
  return out;
}

// One pass: round(level x 32) bits set in runs and gaps spread over the cell,
// starting at a place that differs between the passes (divisor 2, 3, 4).
DitherPattern passPattern(float level, int divisor) {
  int n = static_cast<int>(level * 32.0f + 0.5f);
  if (n <= 0) return 0;
  if (level > 0.975f) return kAllOnes;
  const int run = std::max(1, n / std::max(1, kCellBits - n));
  const int gap = std::max(1, (kCellBits - n) / std::max(1, n));
  DitherPattern pattern = 0;
  auto isSet = [&pattern](int bit) { return ((pattern >> bit) & 1u) != 0; };
  int s = ((n / divisor) * (divisor + 1)) % kCellBits;
  int inRun = 0;
  for (int step = 0; step < kCellBits; ++step) {
    if (!isSet(s) && inRun < run && n > 0) {
      pattern |= 1u << s;
      --n;
      ++inRun;
      s = (s + 1) % kCellBits;
    } else {
      s = (s + gap) % kCellBits;
      inRun = 0;
    }
  }
  for (int i = 0; i < kCellBits && n > 0; ++i) {
    if (!isSet(i)) {
      pattern |= 1u << i;
      if (--n == 0) break;
    }
    if (!isSet(kCellBits - 1 - i)) {
      pattern |= 1u << (kCellBits - 1 - i);
      --n;
    }
  }
  return shuffleRows(pattern, divisor);
}

float levelOf(int component) { return static_cast<float>(component) / 255.0f; }

struct PlanePatterns {
  DitherPattern plane1 = 0;
  DitherPattern plane2 = 0;
  DitherPattern plane3 = 0;
};

// Three passes, red, green and blue; a grey takes the red pass on every plane.
PlanePatterns colourPatterns(const Components& c) {
  const DitherPattern red = passPattern(levelOf(c.red), 2);
  if (isGrey(c)) return {red, red, red};
  return {red, passPattern(levelOf(c.green), 3), passPattern(levelOf(c.blue), 4)};
}

}  // namespace

void YYUserPatternsReset() {
  for (YYUserPattern& entry : yyUserPatterns) entry.flag = -1;
}

void YYColourPatterns(const YYRasterDevice& device, DitherPattern& plane1, DitherPattern& plane2,
                      DitherPattern& plane3) {
  Components c;
  YYColourComponents(currentColourOfMode(yyGrAttributes), c.red, c.green, c.blue);
  const std::int32_t inversion = raster::option(6);
  const bool blackOrWhite = (c.red < 10 && c.green < 10 && c.blue < 10) ||
                            (c.red > 245 && c.green > 245 && c.blue > 245);
  if (inversion == 1 || (inversion == 2 && blackOrWhite)) c = complemented(c);
  const bool mono = yyGrState.HardcopyColourCount == kMonoDevice;
  if (yyGrState.HardcopyColourCount > kMonoDevice && device.deviceClass == kClassCmy) c = complemented(c);

  if (!mono) {
    const PlanePatterns p = colourPatterns(c);
    plane1 = p.plane1;
    plane2 = p.plane2;
    plane3 = p.plane3;
  } else {
    const float luminance = (0.35f * static_cast<float>(c.red) + 0.59f * static_cast<float>(c.green) +
                             0.11f * static_cast<float>(c.blue)) / 255.0f;
    DitherPattern p = passPattern(luminance, 2);
    if (inversion >= 1) p = ~p;
    plane1 = plane2 = plane3 = p;
  }
  if (mono && yyGrAttributes.ColourMode == kColourIndexed) {
    const int number = yyGrAttributes.ColourNumber;
    if (number >= 0 && number < kUserPatterns && yyUserPatterns[static_cast<std::size_t>(number)].flag >= 0) {
      plane1 = yyUserPatterns[static_cast<std::size_t>(number)].pattern;
    }
  }
}

void YYDitherTables() {
  auto level = [](int k) { return k == 0 ? 0 : 16 * k + 15; };
  for (int kb = 0; kb < 16; ++kb) {
    for (int kg = 0; kg < 16; ++kg) {
      for (int kr = 0; kr < 16; ++kr) {
        const PlanePatterns p = colourPatterns({level(kr), level(kg), level(kb)});
        const std::size_t index = static_cast<std::size_t>(256 * kb + 16 * kg + kr);
        yyDitherTables[0][index] = p.plane1;
        yyDitherTables[1][index] = p.plane2;
        yyDitherTables[2][index] = p.plane3;
      }
    }
  }
}
