#pragma once
// Presentation-graphics set-up: the one record that the chart-drawing routines
// read, filled by the set-up routines (data ranges, log limits, margins, plot
// description and default styles per data set).

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

constexpr int kPgMaxSets = 256;
constexpr int kPgMaxStackedValues = 1024;
constexpr int kPgPlotTypes = 10;

// Per data set: three style words, an index word and two colours.
struct YYPgSetStyle {
  std::int32_t word1 = 0, word2 = 0, word3 = 0;
  std::int32_t index = 0;
  std::int32_t colour1 = 0, colour2 = 0;
};

struct YYPgState {
  float marginXLow = 0.0f, marginYLow = 0.0f, marginXHigh = 0.0f, marginYHigh = 0.0f;

  float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
  float xSpan = 0.0f, ySpan = 0.0f;
  float xMin = 0.0f, xMax = 0.0f, yMin = 0.0f, yMax = 0.0f;
  float z1 = 0.0f, z2 = 0.0f, zSpan = 0.0f;
  float polarRadius = 0.0f;

  std::int32_t xLogRequested = 0, yLogRequested = 0;
  std::int32_t xLogInForce = 0, yLogInForce = 0;
  float logX1 = 0.0f, logX2 = 0.0f, logXSpan = 0.0f;
  float logY1 = 0.0f, logY2 = 0.0f, logYSpan = 0.0f;
  float logRadius = 0.0f, logRadiusDepth = 0.0f;

  // The plot description of the last IPgNewPlot.
  std::int32_t plotType = 0;
  std::int32_t setCount = 0;
  std::int32_t p1 = 0, p2 = 0, p3 = 0;
  float p1Real = 0.0f, p1MinusOneReal = 0.0f, p2Real = 0.0f, p2MinusOneReal = 0.0f;
  std::int32_t optionWord = 0;
  std::int32_t styling = 0;
  std::int32_t flagA = 0;
  std::int32_t gridFlag = 0;
  std::int32_t flag1 = 0, flag3 = 0, flag5 = 0, flag7 = 0, flag9 = 0;
  std::int32_t stacked = 0;
  std::int32_t selector = 0;
  std::int32_t flagG = 0;
  std::array<float, kPgMaxStackedValues> stackTotals{};
  float fractionB = 0.0f;
  float fractionG = 0.0f;

  // Default styles and the chart words.
  std::int32_t styleClass = 0;
  std::array<YYPgSetStyle, kPgMaxSets> sets{};  // set k at index k - 1
  std::int32_t offsetWord1 = 0, offsetWord2 = 0;
  float fractionR = 0.0f, fractionP = 0.0f, fractionQ = 0.0f, fractionL = 0.0f;
  float wordU = 0.0f, wordT = 0.0f;
  float cosineWord1 = 0.0f, cosineWord2 = 0.0f;
  std::int32_t colourWordK = 0;
  std::int32_t stepWord1 = 0, stepWord2 = 0;
  std::int32_t countWord = 0;
  float angle1 = 0.0f, angle2 = 0.0f;              // degrees
  float angle1Radians = 0.0f, angle2Radians = 0.0f;
  std::int32_t wordAfterAngle1 = 0, wordAfterAngle2 = 0;
  std::int32_t styleWordW = 0;
  std::array<std::int32_t, 3> colourWordsV{};
  std::array<float, 9> chartWordsH{};
  std::array<float, 3> chartWordsZ{};
};
extern YYPgState yyPgState;

// log10 v; -38 (the lowest decade a real holds) for 0 and for a negative v,
// whose logarithm does not exist.
float YYSafeLog10(float v);
// Stores each margin fraction that lies in its range; others are ignored.
void YYPGMARGINS(float xLow, float yLow, float xHigh, float yHigh);
// The data range in x and y (error 16 and 0-1 for an empty axis).
void IPgArea(float x1, float y1, float x2, float y2);
// The z range (error 16 and 0-1 unless z1 < z2).
void IPgUnitsZ(float z1, float z2);
// The polar radius (error 16 and 1 unless it is above 0).
void IPgUnitsPolar(float radius);
// Axis kinds: "LOG" in the first three characters, any case, makes an axis logarithmic.
void IPgAxisKinds(std::string_view xKind, std::string_view yKind);
// Starts a new chart: plot type 1-10, data sets 1-256, up to three point counts,
// the option bits 0-10 and, when styling is non-zero, default styles.
void IPgNewPlot(int type, int sets, std::span<const int> counts, int options = 0, int styling = 0);
// Recomputes which log axes are in force and their limits.
void YYPgLogLimits();
// The start values that the graphics defaults give the whole record.
void YYPgDefaults();
