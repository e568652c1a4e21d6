// Presentation-graphics set-up.  Nothing here draws: the chart routines read
// the record exactly as these routines leave it.
#include "toolkit/graphics/presentation_graphics.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_state.h"

YYPgState yyPgState;

namespace {
constexpr int kBadUnitRange = 16;
constexpr int kTooManyStacked = 24;
constexpr float kLowestDecade = -38.0f;
constexpr float kCos45 = 0.7071068f;
constexpr std::int32_t kBlackNumber = 223;
constexpr std::int32_t kMidGreyRgb = 8618883;  // red, green and blue 131 each

// The style classes: which words each data set gets (their meaning is the
// chart routines' business).
enum StyleClass : std::int32_t {
  kStyleClass1 = 1,
  kStyleClass2,
  kStyleClass3,
  kStyleClass4,
  kStyleClass5,
  kStyleClass6,
  kStyleClass7,
  kStyleClass8,
};

bool bit(int word, int n) { return ((word >> n) & 1) != 0; }
std::int32_t flag(bool on) { return on ? 1 : 0; }

bool rgbMode() { return yyGrAttributes.ColourMode == kColourRgb; }

bool usableRange(float a, float b) { return a != b && std::isfinite(a) && std::isfinite(b); }

bool isGridType(int type) { return type == 5 || type == 6 || type == 7 || type == 8 || type == 10; }

// One axis of the data range: its limits as given, their span, minimum and maximum.
void storeAxis(float first, float second, float& storedFirst, float& storedSecond, float& span, float& low,
               float& high) {
  storedFirst = first;
  storedSecond = second;
  span = second - first;
  low = std::min(first, second);
  high = std::max(first, second);
}

void storeXRange(float x1, float x2) {
  YYPgState& pg = yyPgState;
  storeAxis(x1, x2, pg.x1, pg.x2, pg.xSpan, pg.xMin, pg.xMax);
}

void storeYRange(float y1, float y2) {
  YYPgState& pg = yyPgState;
  storeAxis(y1, y2, pg.y1, pg.y2, pg.ySpan, pg.yMin, pg.yMax);
}

void storeZRange(float z1, float z2) {
  yyPgState.z1 = z1;
  yyPgState.z2 = z2;
  yyPgState.zSpan = z2 - z1;
}

bool isLogKind(std::string_view kind) {
  constexpr std::string_view kLog = "LOG";
  for (std::size_t i = 0; i < kLog.size(); ++i) {
    const char c = i < kind.size() ? kind[i] : ' ';
    if (std::toupper(static_cast<unsigned char>(c)) != kLog[i]) return false;
  }
  return true;
}

// Grid plots: the point counts of the grid's two (or three) dimensions.
void gridCounts(int type, std::span<const int> counts) {
  YYPgState& pg = yyPgState;
  const auto count = [&](std::size_t i) { return i < counts.size() ? counts[i] : 0; };
  pg.p1 = std::max(count(0), 2);
  pg.p2 = type == 6 || type == 7 ? pg.p1 : std::max(count(1), 2);
  if (type == 10) pg.p3 = std::max(count(2), 2);
  pg.p2Real = static_cast<float>(pg.p2);
  pg.p2MinusOneReal = static_cast<float>(pg.p2 - 1);
  if (pg.flagA == 0) return;
  if (pg.flag9 == 0) {
    pg.fractionG = 0.5f;
  } else if (pg.p2 < pg.p1) {
    pg.fractionG = 1.0f - static_cast<float>(pg.p2) * 0.5f / static_cast<float>(pg.p1);
  } else {
    pg.fractionG = static_cast<float>(pg.p1) * 0.5f / static_cast<float>(pg.p2);
  }
}

// The step words: 1 up to 12 values, else a round 2, 5 or 10 times a power of
// ten from the value count's leading digit.
std::int32_t stepFor(int values) {
  if (values < 13) return 1;
  int leading = values;
  int divisions = 0;
  while (leading > 10) {
    leading /= 10;
    ++divisions;
  }
  int power = 1;
  for (int i = 1; i < divisions; ++i) power *= 10;
  if (leading < 3) return 2 * power;
  if (leading < 7) return 5 * power;
  return power * 10;
}

// Grid plots of types 5 and 8 with flag A: class 3 with two given colours for
// selector 3, else class 1 for two sets (all of them with flag 5).
void surfaceStyle(int& setsStyled) {
  YYPgState& pg = yyPgState;
  pg.offsetWord1 = 3;
  pg.offsetWord2 = -3;
  if (pg.selector == 3) {
    pg.styleClass = kStyleClass3;
    pg.fractionR = 0.6f;
  } else {
    pg.styleClass = kStyleClass1;
    pg.fractionR = 0.7f;
    if (pg.flag5 == 0) setsStyled = 2;
  }
}

// Picks the style class and the words that go with it; answers how many sets get styles.
int chooseStyleClass() {
  YYPgState& pg = yyPgState;
  int setsStyled = pg.setCount;
  switch (pg.plotType) {
    case 1: case 2: case 3:
      pg.styleClass = kStyleClass1;
      pg.colourWordK = rgbMode() ? 0 : kBlackNumber;
      break;
    case 4:
      pg.styleClass = kStyleClass2;
      pg.stepWord1 = pg.stepWord2 = stepFor(pg.p1);
      break;
    case 5:
      if (pg.flagA == 0) {
        pg.styleClass = kStyleClass2;
      } else {
        surfaceStyle(setsStyled);
      }
      break;
    case 6:
      pg.styleClass = kStyleClass4;
      break;
    case 7:
      pg.styleClass = pg.flagA != 0 ? kStyleClass6 : kStyleClass5;
      break;
    case 8:
      if (pg.flagA != 0) {
        surfaceStyle(setsStyled);
      } else if (pg.flag3 == 0) {
        pg.styleClass = kStyleClass8;
      } else {
        pg.styleClass = kStyleClass1;
        if (pg.selector == 0) pg.countWord = std::max(150 / std::max(pg.p1, pg.p2), 1);
      }
      break;
    case 9:
      pg.styleClass = kStyleClass7;
      break;
    default:  // 10
      pg.styleClass = kStyleClass1;
      pg.offsetWord2 = -3;
      break;
  }
  return setsStyled;
}

void styleWords(int setsStyled) {
  YYPgState& pg = yyPgState;
  const bool rgb = rgbMode();
  for (int k = 1; k <= setsStyled; ++k) {
    YYPgSetStyle& set = pg.sets[static_cast<std::size_t>(k - 1)];
    switch (pg.styleClass) {
      case kStyleClass1:
        set.word1 = 4;
        break;
      case kStyleClass2:
        set.word1 = -((k - 1) % 7);
        set.word2 = 1;
        set.word3 = 0;
        set.index = k;
        break;
      case kStyleClass3:
        if (k == 1) {
          set.word1 = 4;
          set.colour1 = rgb ? 255 : 31;
        } else if (k == 2) {
          set.word1 = 4;
          set.colour1 = rgb ? 65535 : 63;
        }
        break;
      case kStyleClass4:
        set.word1 = -((k - 1) % 7);
        set.word2 = 0;
        set.word3 = 0;
        break;
      case kStyleClass5: {
        const int j = ((k - 1) % 72) + 1;
        set.word2 = j <= 20 ? 3 : 2;
        set.index = j <= 20 ? j : j - 20;
        break;
      }
      case kStyleClass6:
        set.word1 = 3;
        set.word2 = 3;
        set.word3 = 1;
        set.index = (k % 8) + 13;
        break;
      case kStyleClass7:
        set.word1 = 0;
        set.word2 = 2;
        set.colour1 = rgb ? 0 : kBlackNumber;
        break;
      default:  // class 8
        set.word1 = 0;
        set.word2 = 5;
        break;
    }
  }
}

// Two colours per set, spread over the colour table or the RGB cube.
void setColours(int setsStyled) {
  YYPgState& pg = yyPgState;
  if (pg.styleClass == kStyleClass3 || pg.styleClass == kStyleClass7) return;
  const bool rgb = rgbMode();
  int g = 0;
  for (int k = 1; k <= setsStyled; ++k) {
    YYPgSetStyle& set = pg.sets[static_cast<std::size_t>(k - 1)];
    if (rgb) {
      const int h = 256 - k;
      const int r = (h / 32) - 32 * (k % 4) + 223;
      const int green = (k % 9) * 16 + 127;
      const int blue = (k % 5) * 32 + 127;
      set.colour1 = r + green * 256 + blue * 65536;
      set.colour2 = (255 - r) + green * 256 + blue * 65536;
    } else {
      set.colour1 = 32 + g;
      set.colour2 = 64 + g;
      g = (g + 36 + (k % 4)) % 176;
    }
  }
}

void furtherWords() {
  YYPgState& pg = yyPgState;
  if (pg.plotType < 5 || pg.flagA == 0) {
    pg.angle1 = pg.angle2 = 0.0f;
    pg.angle1Radians = pg.angle2Radians = 0.0f;
    pg.fractionP = 0.7f;
    pg.fractionQ = 0.8f;
    if (pg.plotType == 9) {
      pg.fractionL = 0.75f;
      return;
    }
  } else {
    constexpr float kQuarterPi = std::numbers::pi_v<float> / 4.0f;
    pg.angle1 = -45.0f;
    pg.angle2 = 45.0f;
    pg.angle1Radians = -kQuarterPi;
    pg.angle2Radians = kQuarterPi;
    pg.wordAfterAngle1 = pg.wordAfterAngle2 = 0;
    pg.fractionP = pg.fractionQ = 0.6f;
    pg.cosineWord1 = pg.cosineWord2 = kCos45;
    pg.wordT = 0.0f;
    pg.wordU = 0.5f;
    const int type = pg.plotType;
    if (type == 5 || type == 8 || type == 10) {
      pg.styleWordW = 4;
      pg.colourWordsV.fill(rgbMode() ? kMidGreyRgb : 255);
    } else {
      pg.styleWordW = 0;
    }
  }
  pg.fractionL = pg.flagG == 0 ? 0.5f : 0.65f;
}
}  // namespace

float YYSafeLog10(float v) {
  if (v <= 0.0f) return kLowestDecade;
  return std::log10(v);
}

void YYPGMARGINS(float xLow, float yLow, float xHigh, float yHigh) {
  YYPgState& pg = yyPgState;
  if (xLow >= 0.0f && xLow < 1.0f) pg.marginXLow = xLow;
  if (yLow >= 0.0f && yLow < 1.0f) pg.marginYLow = yLow;
  if (xHigh > 0.0f && xHigh <= 1.0f) pg.marginXHigh = xHigh;
  if (yHigh > 0.0f && yHigh <= 1.0f) pg.marginYHigh = yHigh;
}

void IPgArea(float x1, float y1, float x2, float y2) {
  if (usableRange(x1, x2)) {
    storeXRange(x1, x2);
  } else {
    YYErrorReport(kBadUnitRange, "IPgArea");
    storeXRange(0.0f, 1.0f);
  }
  if (usableRange(y1, y2)) {
    storeYRange(y1, y2);
  } else {
    YYErrorReport(kBadUnitRange, "IPgArea");
    storeYRange(0.0f, 1.0f);
  }
  YYPgLogLimits();
}

void IPgUnitsZ(float z1, float z2) {
  if (z1 < z2 && std::isfinite(z1) && std::isfinite(z2)) {
    storeZRange(z1, z2);
  } else {
    YYErrorReport(kBadUnitRange, "IPgUnitsZ");
    storeZRange(0.0f, 1.0f);
  }
}

void IPgUnitsPolar(float radius) {
  if (radius > 0.0f && std::isfinite(radius)) {
    yyPgState.polarRadius = radius;
  } else {
    YYErrorReport(kBadUnitRange, "IPgUnitsPolar");
    yyPgState.polarRadius = 1.0f;
  }
  YYPgLogLimits();
}

void IPgAxisKinds(std::string_view xKind, std::string_view yKind) {
  yyPgState.xLogRequested = flag(isLogKind(xKind));
  yyPgState.yLogRequested = flag(isLogKind(yKind));
  YYPgLogLimits();
}

void YYPgLogLimits() {
  YYPgState& pg = yyPgState;
  pg.xLogInForce = flag(pg.xLogRequested != 0 && pg.flagG == 0 && pg.plotType != 1 && pg.flagA == 0);
  pg.yLogInForce = flag(pg.yLogRequested != 0 && pg.plotType != 2 && pg.flagA == 0);
  if (pg.xLogInForce != 0) {
    pg.logX1 = YYSafeLog10(pg.x1);
    pg.logX2 = YYSafeLog10(pg.x2);
    pg.logXSpan = pg.logX2 - pg.logX1;
  }
  if (pg.yLogInForce != 0) {
    pg.logY1 = YYSafeLog10(pg.y1);
    pg.logY2 = YYSafeLog10(pg.y2);
    pg.logYSpan = pg.logY2 - pg.logY1;
    pg.logRadius = YYSafeLog10(pg.polarRadius);
    pg.logRadiusDepth = pg.logRadius - kLowestDecade;
  }
}

void IPgNewPlot(int type, int sets, std::span<const int> counts, int options, int styling) {
  YYPgState& pg = yyPgState;
  pg.setCount = std::clamp(sets, 1, kPgMaxSets);
  pg.p1 = std::max(counts.empty() ? 0 : counts[0], 1);
  const int firstCount = pg.p1;
  pg.p1Real = static_cast<float>(pg.p1);
  pg.p1MinusOneReal = static_cast<float>(pg.p1 - 1);
  pg.plotType = type >= 1 && type <= kPgPlotTypes ? type : 4;
  pg.optionWord = options;
  pg.styling = styling;

  pg.flagA = flag(bit(options, 0));
  pg.gridFlag = flag(pg.flagA != 0 && isGridType(pg.plotType));
  if (pg.plotType > 2 && pg.gridFlag == 0) pg.flagA = 0;
  pg.flag1 = flag(bit(options, 1));
  pg.flag3 = flag(bit(options, 3));
  pg.flag5 = flag(bit(options, 5));
  pg.flag7 = flag(bit(options, 7));
  pg.flag9 = flag(bit(options, 9));
  pg.stacked = flag(bit(options, 10));
  pg.selector = bit(options, 2) ? 1 : bit(options, 8) ? 2 : bit(options, 4) ? 3 : 0;
  if (pg.flag5 != 0 && pg.plotType == 1) {
    pg.flagA = 0;
    pg.stacked = 0;
  }
  pg.flagG = pg.flagA == 0 ? flag(bit(options, 6)) : 0;

  const int t = pg.plotType;
  if (pg.stacked != 0 && (t == 1 || t == 2 || t == 4)) {
    if (pg.p1 > kPgMaxStackedValues) {
      YYErrorReport(kTooManyStacked, "IPgNewPlot");
      pg.p1 = kPgMaxStackedValues;
    }
    std::fill_n(pg.stackTotals.begin(), pg.p1, 0.0f);
  } else if (pg.gridFlag != 0 || t == 8 || t == 10) {
    gridCounts(t, counts);
  }
  pg.fractionB = std::min(0.6f / static_cast<float>(firstCount), 0.25f);
  YYPgLogLimits();

  if (styling == 0) return;
  const int setsStyled = chooseStyleClass();
  styleWords(setsStyled);
  setColours(setsStyled);
  furtherWords();
}

void YYPgDefaults() {
  YYPgState& pg = yyPgState;
  pg = YYPgState{};
  pg.marginXLow = pg.marginYLow = 0.1f;
  pg.marginXHigh = pg.marginYHigh = 0.9f;
  storeZRange(0.0f, 1.0f);
  pg.polarRadius = 1.0f;
  IPgArea(0.0f, 0.0f, 1.0f, 1.0f);
  constexpr std::array<int, 3> kStartCounts = {1, 72, 0};
  IPgNewPlot(4, kPgMaxSets, kStartCounts, 0, 0);

  pg.offsetWord1 = 3;
  pg.offsetWord2 = -3;
  pg.fractionR = 0.7f;
  pg.fractionP = 0.7f;
  pg.fractionQ = 0.8f;
  pg.fractionL = 0.5f;
  pg.wordU = 0.5f;
  pg.wordT = 0.0f;
  pg.cosineWord1 = pg.cosineWord2 = kCos45;
  pg.colourWordK = kBlackNumber;
  pg.stepWord1 = pg.stepWord2 = 1;
  pg.countWord = 1;
  for (int k = 1; k <= kPgMaxSets; ++k) {
    YYPgSetStyle& set = pg.sets[static_cast<std::size_t>(k - 1)];
    set.word1 = 4;
    set.word2 = 2;
    set.word3 = 0;
    set.colour1 = (k % 6) * 32 + 32;
    set.colour2 = (k % 6) * 32 + 64;
    set.index = -1;
  }
  pg.chartWordsH = {0.38f, 1.5f, 1.0f, 0.8f, 1.0f, 0.6f, 0.4f, 1.0f, -1.0f};
  pg.chartWordsZ = {1.0f, 1.0f, 1.0f};
}
