// The colour table, its device lookups and colour selection.
#include "toolkit/graphics/colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

std::array<std::int32_t, kGraphicsColours> yyColourTable{};
std::array<ColourTerms, kGraphicsColours> yyColourTerms{};
YYColourLookups yyColourLookups;

namespace {
constexpr std::int32_t rgbOf(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

// A default row: start value of each channel (-1 = channel off) and whether it
// falls by 4 per entry (rows 0 and 13-15) or rises.
struct DefaultRow {
  int red, green, blue;
  bool falling;
};
constexpr std::array<DefaultRow, 16> kDefaultRows{{
    {255, 255, 255, true}, {195, -1, -1, false},  {131, -1, -1, false},  {195, 195, -1, false},
    {131, 131, -1, false}, {-1, 195, -1, false},  {-1, 131, -1, false},  {-1, 195, 195, false},
    {-1, 131, 131, false}, {-1, -1, 195, false},  {-1, -1, 131, false},  {195, -1, 195, false},
    {131, -1, 131, false}, {60, 60, 60, true},    {124, 124, 124, true}, {191, 191, 191, true},
}};

constexpr std::array<int, 16> kLookup16Numbers{0, 175, 111, 143, 47, 207, 79, 239, 240, 159, 95, 127, 31, 191, 63, 223};
constexpr std::array<int, 8> kLookup8Numbers{0, 159, 95, 127, 31, 191, 63, 223};
constexpr std::array<std::array<int, 8>, 2> kSchemes{{{0, 4, 6, 2, 3, 1, 5, 7}, {0, 5, 3, 4, 1, 6, 2, 7}}};

std::size_t at(int n) { return static_cast<std::size_t>(n); }

void updateTerms(int n) {
  float hue = 0.0f;
  float saturation = 0.0f;
  float value = 0.0f;
  YYRGBTOHSV(yyColourTable[at(n)], hue, saturation, value);
  yyColourTerms[at(n)] = ColourTerms{std::sin(hue), value, std::cos(hue), saturation};
}

bool lookup128Used(int d) { return d >= 32 && d <= 128; }

void selectColour(int number, std::int32_t rgb, int device) {
  YYGrAttributes& a = yyGrAttributes;
  a.PreviousColourNumber = a.ColourNumber;
  a.PreviousRGB = a.CurrentRGB;
  a.PreviousDeviceColour = a.DeviceColour;
  a.ColourNumber = number;
  a.CurrentRGB = rgb;
  a.DeviceColour = device;
}
}  // namespace

void YYColourDefaults() {
  for (int row = 0; row < 16; ++row) {
    const DefaultRow& r = kDefaultRows[at(row)];
    for (int k = 0; k < 16; ++k) {
      const int step = r.falling ? -4 * k : 4 * k;
      auto channel = [&](int start) { return start < 0 ? 0 : start + step; };
      yyColourTable[at(16 * row + k)] = rgbOf(channel(r.red), channel(r.green), channel(r.blue));
    }
  }
  for (std::size_t i = 0; i < kLookup16Numbers.size(); ++i) {
    yyColourLookups.Lookup16[i] = yyColourTable[at(kLookup16Numbers[i])];
  }
  for (std::size_t i = 0; i < kLookup8Numbers.size(); ++i) {
    yyColourLookups.Lookup8[i] = yyColourTable[at(kLookup8Numbers[i])];
  }
  const int d = yyGrAttributes.DeviceColourCount;
  if (lookup128Used(d)) {
    const int s = 256 / d;
    for (int j = 0; j < d; ++j) {
      const int block = j * s;
      const int n = block < 16 || block >= 240 ? block : block + s - 1;
      yyColourLookups.Lookup128[at(j)] = yyColourTable[at(n)];
    }
  }
  for (int n = 0; n < kGraphicsColours; ++n) updateTerms(n);
}

void YYColourSetEntry(int n, std::int32_t rgb) {
  if (n < 0 || n >= kGraphicsColours) return;
  yyColourTable[at(n)] = rgb;
  const int p = YYPAL16(((n + 16) / 32) % 8, 0);
  yyColourLookups.Lookup8[at(p)] = rgb;
  yyColourLookups.Lookup16[at((n / 16) % 2 != 0 ? p + 8 : p)] = rgb;
  const int d = yyGrAttributes.DeviceColourCount;
  if (lookup128Used(d)) yyColourLookups.Lookup128[at(d * n / 256)] = rgb;
  updateTerms(n);
}

void YYColourRGB(int n, std::int32_t& rgb) { rgb = yyColourTable[at(n)]; }
void YYColourLookup8(int i, std::int32_t& rgb) { rgb = yyColourLookups.Lookup8[at(i)]; }
void YYColourLookup16(int i, std::int32_t& rgb) { rgb = yyColourLookups.Lookup16[at(i)]; }
void YYColourLookup128(int i, std::int32_t& rgb) { rgb = yyColourLookups.Lookup128[at(i)]; }

void YYRGBSPLIT(std::int32_t rgb, int& red, int& green, int& blue) {
  red = rgb % 256;
  green = (rgb / 256) % 256;
  blue = (rgb / 65536) % 256;
}

void YYColourComponents(std::int32_t colour, int& red, int& green, int& blue) {
  const bool indexed = yyGrAttributes.ColourMode != kColourRgb;
  if (indexed && (colour < 0 || colour >= kGraphicsColours)) {
    red = green = blue = 0;
    return;
  }
  YYRGBSPLIT(indexed ? yyColourTable[at(colour)] : colour, red, green, blue);
}

void YYRGBTOHSV(std::int32_t rgb, float& hue, float& saturation, float& value) {
  int red = 0, green = 0, blue = 0;
  YYRGBSPLIT(rgb, red, green, blue);
  const float r = static_cast<float>(red) / 255.0f;
  const float g = static_cast<float>(green) / 255.0f;
  const float b = static_cast<float>(blue) / 255.0f;
  value = std::max({r, g, b});
  const float least = std::min({r, g, b});
  const float delta = value - least;
  saturation = value != 0.0f ? delta / value : 0.0f;
  if (saturation == 0.0f) {
    hue = 0.0f;
    return;
  }
  const float rc = (value - r) / delta;
  const float gc = (value - g) / delta;
  const float bc = (value - b) / delta;
  auto isMax = [&](float x) { return std::fabs(value - x) < 0.039f; };
  auto isMin = [&](float x) { return std::fabs(least - x) < 0.039f; };
  float h = 0.0f;
  if (isMax(r)) {
    h = isMin(g) ? 5.0f + bc : 1.0f - gc;
  } else if (isMax(g)) {
    h = isMin(b) ? 1.0f + rc : 3.0f - bc;
  } else {
    h = isMin(r) ? 3.0f + gc : 5.0f - rc;
  }
  hue = h * 60.0f * 0.017453292f;
}

void YYColourFind(std::int32_t rgb, int& n) {
  for (int i = 0; i < kGraphicsColours; ++i) {
    if (yyColourTable[at(i)] == rgb) {
      n = i;
      return;
    }
  }
  float hue = 0.0f, saturation = 0.0f, value = 0.0f;
  YYRGBTOHSV(rgb, hue, saturation, value);
  const float tx = value * saturation * std::cos(hue);
  const float ty = value * saturation * std::sin(hue);
  float best = 9999999.0f;
  n = 0;
  for (int i = 0; i < kGraphicsColours; ++i) {
    const ColourTerms& t = yyColourTerms[at(i)];
    const float dx = t.value * t.saturation * t.cosHue - tx;
    const float dy = t.value * t.saturation * t.sinHue - ty;
    const float dz = t.value - value;
    const float distance = dx * dx + dy * dy + dz * dz;
    if (distance < best) {
      best = distance;
      n = i;
    }
  }
}

int YYPAL16(int i, int scheme) {
  if (i < 0 || i > 15 || scheme < 0 || scheme > 1) return -1;
  return kSchemes[at(scheme)][at(i % 8)] + (i > 7 ? 8 : 0);
}

int YYDEVCOLOUR(int n) {
  const int d = yyGrAttributes.DeviceColourCount;
  if (d == 256) return n % 256;
  if (n == 0) return 0;
  if (d <= 2) return 1;
  if (d <= 8) return YYPAL16(((n + 16) / 32) % 8, 0);
  if (d == 16) {
    const int t = n + 16;
    const int p = YYPAL16((t / 32) % 8, 0);
    return t % 32 < 16 ? p + 8 : p;
  }
  return n * d / 256;
}

void IGrColourN(std::int32_t colour) {
  int number = 0;
  std::int32_t rgb = 0;
  if (yyGrAttributes.ColourMode != kColourRgb) {
    if (colour < 0 || colour >= kGraphicsColours) {
      YYErrorReport(42, "IGrColourN");
      return;
    }
    number = colour;
    rgb = yyColourTable[at(colour)];
  } else {
    rgb = colour;
    YYColourFind(rgb, number);
  }
  selectColour(number, rgb, YYDEVCOLOUR(number));
  YYGrPrimitive op = kOpColour;
  YYPRIMROUTE(op);
  op = kOpColour;
  YYDriverCommand(op);
}

void YYColourSetDirect(int number, std::int32_t rgb, int deviceColour, int routes) {
  selectColour(number, rgb, deviceColour);
  YYGrPrimitive op = kOpColour;
  if (routes != 2) YYPRIMROUTE(op);
  op = kOpColour;
  if (routes != 1) YYDriverCommand(op);
}

void YYColourModeSet(int bits) { yyGrAttributes.ColourMode = bits == 24 ? kColourRgb : kColourIndexed; }
