// Character size and angle of graphics text, and the stroke font's store.
#include "toolkit/graphics/characters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_defaults.h"

namespace {
constexpr float kDefaultCharWidth = 0.013333f;
constexpr float kDefaultCharHeight = 0.04f;
constexpr int kBadCharacterCode = 66;

// Advance width of a code of the lower set: narrow punctuation, wide capitals.
constexpr float lowWidth(int code) {
  switch (code) {
    case ' ': return 0.70f;
    case '!': case '\'': case ',': case ':': case ';': case '|': return 0.56f;
    case '.': return 0.42f;
    case '~': return 0.90f;
    case 'M': return 1.30f;
    case 'W': return 1.50f;
    case 'I': return 0.56f;
    case 'i': case 'j': case 'l': return 0.46f;
    case 'm': case 'w': return 1.24f;
    case 128: return 0.74f;
    default: break;
  }
  if (code >= '0' && code <= '9') return 0.84f;
  if (code >= 'A' && code <= 'Z') return 1.11f;
  if (code >= 'a' && code <= 'z') return 0.84f;
  return 0.70f;
}

// Advance width of a code of the upper set: accented letters take their base
// letter's width.
constexpr float highWidth(int code) {
  if (code == 161) return 0.56f;
  if (code == 198) return 1.50f;  // AE
  if (code == 230) return 1.24f;  // ae
  if (code >= 192 && code <= 222) return 1.11f;
  if (code >= 223 && code <= 255) return 0.84f;
  return 0.84f;
}

constexpr std::array<float, kStrokeWidthsLow> makeLowWidths() {
  std::array<float, kStrokeWidthsLow> widths{};
  for (int code = 32; code <= 126; ++code) widths[static_cast<std::size_t>(code - 32)] = lowWidth(code);
  widths[kStrokeWidthsLow - 1] = lowWidth(128);
  return widths;
}

constexpr std::array<float, kStrokeWidthsHigh> makeHighWidths() {
  std::array<float, kStrokeWidthsHigh> widths{};
  for (int code = 161; code <= 255; ++code) widths[static_cast<std::size_t>(code - 161)] = highWidth(code);
  return widths;
}

// Direction terms that a character angle cannot give are those of angle 0.
void angleTerms(float radians, float& c, float& s) {
  c = std::cos(radians);
  s = std::sin(radians);
  if (!std::isfinite(c) || !std::isfinite(s)) {
    c = 1.0f;
    s = 0.0f;
  }
}

// The aspect correction of the character direction: 1 on the screen itself.
float angleAspect() {
  const YYGrState& st = yyGrState;
  const float denominator = st.AreaHeightFraction * st.AreaWidthDevice;
  if (denominator == 0.0f) return 1.0f;
  const float aspect = st.AreaWidthFraction * st.AreaHeightDevice / denominator * st.SurfaceAspect;
  return aspect != 0.0f && std::isfinite(aspect) ? aspect : 1.0f;
}
}  // namespace

const std::array<float, kStrokeWidthsLow> kDefaultWidthsLow = makeLowWidths();
const std::array<float, kStrokeWidthsHigh> kDefaultWidthsHigh = makeHighWidths();

void YYCHARSIZESET(float width, float height) {
  yyGrState.CharWidth = width > 0.0f ? width : kDefaultCharWidth;
  yyGrState.CharHeight = height > 0.0f ? height : kDefaultCharHeight;
  YYCHARSIZEAPPLY();
}

void YYCHARSIZEAPPLY() {
  YYGrState& s = yyGrState;
  if (s.TextFont != 0) {
    s.TextFamily = s.TextFont;
  } else {
    s.TextFamily = s.TextMode == 0 ? 1 : 2;
  }
  YYGrPrimitive op = kOpCharSize;
  YYDriverCommand(op);
  if (yyGrAttributes.ScreenDriverOn == 0) {
    const float across = s.CharWidth * s.AreaWidthDevice;
    const float up = s.CharHeight * s.AreaHeightDevice;
    s.CharColumnsPerSurface = across != 0.0f ? s.SurfaceWidthReal / across : 0.0f;
    s.CharRowsPerSurface = up != 0.0f ? s.SurfaceHeightReal / up : 0.0f;
  } else if (s.TextSizeHold == 0) {
    op = kOpCharSize;
    YYPRIMROUTE(op);
  }
}

void YYCHARANGLE(float angle) {
  YYGrState& st = yyGrState;
  // Whole turns are taken off in floating point: an integer count of turns
  // would overflow for huge angles.
  float normal = std::fmod(angle, 360.0f);
  if (normal < 0.0f) normal += 360.0f;
  if (!std::isfinite(normal) || normal >= 360.0f) normal = 0.0f;
  st.CharAngle = normal;
  float c = 1.0f;
  float s = 0.0f;
  angleTerms(angle * 0.017453292f, c, s);
  const float aspect = angleAspect();
  st.CharCos = c;
  st.CharSinTimesAspect = aspect * s;
  st.CharSinOverAspect = s / aspect;
  YYGrPrimitive op = kOpCharAngle;
  YYPRIMROUTE(op);
  op = kOpCharAngle;
  YYDriverCommand(op);
}

void YYCHSPACE(int code) {
  YYGrState& s = yyGrState;
  if (code == 0) {
    s.StrokeWidthsLow = kDefaultWidthsLow;
    s.StrokeWidthsHigh = kDefaultWidthsHigh;
  } else if (code >= 32 && code <= 126) {
    const auto i = static_cast<std::size_t>(code - 32);
    s.StrokeWidthsLow[i] = kDefaultWidthsLow[i];
  } else if (code == 128) {
    s.StrokeWidthsLow[kStrokeWidthsLow - 1] = kDefaultWidthsLow[kStrokeWidthsLow - 1];
  } else if (code >= 161 && code <= 255) {
    const auto i = static_cast<std::size_t>(code - 161);
    s.StrokeWidthsHigh[i] = kDefaultWidthsHigh[i];
  } else {
    YYErrorReport(kBadCharacterCode, "YYCHSPACE");
  }
}

namespace {
template <typename Store>
void storeStrokeFont(Store& f, float metric1, float metric2, float metric3, float metric4, int count, int flags,
                     int metricInt, std::string_view strokeText, const std::int32_t* startsLow,
                     const std::int32_t* startsHigh) {
  f.StrokeMetric1 = metric1;
  f.StrokeMetric2 = metric2;
  f.StrokeMetric3 = metric3;
  f.StrokeMetric4 = metric4;
  f.StrokeMetricCount = count;
  f.StrokeMetricInt = metricInt;
  f.StrokeHas128 = (flags >> 1) & 1;
  f.StrokeFlag0 = flags & 1;
  f.StrokeText = strokeText;
  const int lowCount = f.StrokeHas128 != 0 ? kStrokeStartsLow : kStrokeStartsLow - 1;
  if (startsLow != nullptr) std::copy_n(startsLow, lowCount, f.StrokeStartsLow.begin());
  if (startsHigh != nullptr) std::copy_n(startsHigh, kStrokeStartsHigh, f.StrokeStartsHigh.begin());
}
}  // namespace

void YYSTROKEFONTSET(float metric1, float metric2, float metric3, float metric4, int count, int flags,
                     int metricInt, int selector, std::string_view name, std::string_view strokeText,
                     const std::int32_t* startsLow, const std::int32_t* startsHigh) {
  if (selector == 1) {
    YYStrokeFont& f = yyStrokeFontAlternative;
    storeStrokeFont(f, metric1, metric2, metric3, metric4, count, flags, metricInt, strokeText, startsLow,
                    startsHigh);
    f.StrokeFontName = name;
    return;
  }
  YYGrState& s = yyGrState;
  storeStrokeFont(s, metric1, metric2, metric3, metric4, count, flags, metricInt, strokeText, startsLow,
                  startsHigh);
  s.StrokeFontName = name;
  s.StrokeFontFlags = 0;
}
