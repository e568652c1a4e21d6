// Presentation-graphics set-up: the state the chart routines find after the
// defaults and after each set-up call.
#include <gtest/gtest.h>

#include <array>
#include <numbers>
#include <vector>

#include "graphics_fixture.h"
#include "toolkit/graphics/presentation_graphics.h"

namespace {

using PresentationGraphics = GraphicsTables;

const YYPgSetStyle& set(int k) { return yyPgState.sets[static_cast<std::size_t>(k - 1)]; }

void newPlot(int type, int sets, std::vector<int> counts, int options = 0, int styling = 0) {
  IPgNewPlot(type, sets, counts, options, styling);
}

TEST_F(PresentationGraphics, DefaultsGiveTheStartValues) {
  YYPgState& pg = yyPgState;
  // Whatever a chart left behind, the defaults start over.
  newPlot(9, 5, {7}, 1 << 10, 1);
  IPgAxisKinds("LOG", "LOG");
  IPgArea(-4, -4, 9, 9);
  pg.chartWordsH.fill(7.0f);
  pg.stackTotals.fill(3.0f);
  YYGraphicsDefaults(" ");
  EXPECT_EQ(pg.stackTotals, decltype(pg.stackTotals){});
  EXPECT_FLOAT_EQ(pg.marginXLow, 0.1f);
  EXPECT_FLOAT_EQ(pg.marginYLow, 0.1f);
  EXPECT_FLOAT_EQ(pg.marginXHigh, 0.9f);
  EXPECT_FLOAT_EQ(pg.marginYHigh, 0.9f);
  EXPECT_EQ((std::array{pg.x1, pg.x2, pg.y1, pg.y2, pg.xSpan, pg.ySpan}), (std::array{0.f, 1.f, 0.f, 1.f, 1.f, 1.f}));
  EXPECT_EQ((std::array{pg.z1, pg.z2, pg.zSpan, pg.polarRadius}), (std::array{0.f, 1.f, 1.f, 1.f}));
  EXPECT_EQ(pg.xLogRequested + pg.yLogRequested + pg.xLogInForce + pg.yLogInForce, 0);
  EXPECT_EQ(pg.plotType, 4);
  EXPECT_EQ(pg.setCount, 256);
  EXPECT_EQ(pg.p1, 1);
  EXPECT_FLOAT_EQ(pg.p1Real, 1.0f);
  EXPECT_FLOAT_EQ(pg.p1MinusOneReal, 0.0f);
  EXPECT_FLOAT_EQ(pg.fractionB, 0.25f);
  EXPECT_EQ(pg.flagA + pg.gridFlag + pg.stacked + pg.selector + pg.flagG, 0);
  EXPECT_EQ(pg.offsetWord1, 3);
  EXPECT_EQ(pg.offsetWord2, -3);
  EXPECT_EQ((std::array{pg.fractionR, pg.fractionP, pg.fractionQ, pg.fractionL}), (std::array{0.7f, 0.7f, 0.8f, 0.5f}));
  EXPECT_FLOAT_EQ(pg.wordU, 0.5f);
  EXPECT_FLOAT_EQ(pg.wordT, 0.0f);
  EXPECT_FLOAT_EQ(pg.cosineWord1, 0.7071068f);
  EXPECT_FLOAT_EQ(pg.cosineWord2, 0.7071068f);
  EXPECT_EQ(pg.colourWordK, 223);
  EXPECT_EQ((std::array{pg.stepWord1, pg.stepWord2, pg.countWord}), (std::array{1, 1, 1}));
  EXPECT_EQ(pg.angle1 + pg.angle2 + pg.angle1Radians + pg.angle2Radians, 0.0f);
  EXPECT_EQ(pg.styleWordW, 0);
  const struct {
    int k;
    int colour1, colour2;
  } sets[] = {{1, 64, 96}, {5, 192, 224}, {6, 32, 64}, {256, 160, 192}};
  for (const auto& c : sets) {
    EXPECT_EQ(set(c.k).word1, 4);
    EXPECT_EQ(set(c.k).word2, 2);
    EXPECT_EQ(set(c.k).word3, 0);
    EXPECT_EQ(set(c.k).index, -1);
    EXPECT_EQ(set(c.k).colour1, c.colour1) << c.k;
    EXPECT_EQ(set(c.k).colour2, c.colour2) << c.k;
  }
  EXPECT_EQ(pg.chartWordsH, (std::array{0.38f, 1.5f, 1.0f, 0.8f, 1.0f, 0.6f, 0.4f, 1.0f, -1.0f}));
  EXPECT_EQ(pg.chartWordsZ, (std::array{1.0f, 1.0f, 1.0f}));
}

TEST_F(PresentationGraphics, RangesReportEmptyAxesAndFallBack) {
  EXPECT_EQ(reportsOf(16, [] { IPgArea(5, 0, 5, 10); }), 1);
  const YYPgState& pg = yyPgState;
  EXPECT_EQ((std::array{pg.x1, pg.x2, pg.y1, pg.y2}), (std::array{0.f, 1.f, 0.f, 10.f}));
  EXPECT_FLOAT_EQ(pg.ySpan, 10.0f);
  // Limits in the wrong order are accepted.
  EXPECT_EQ(reportsOf(16, [] { IPgArea(10, 4, -2, 1); }), 0);
  EXPECT_EQ((std::array{pg.xSpan, pg.xMin, pg.xMax, pg.ySpan, pg.yMin, pg.yMax}),
            (std::array{-12.f, -2.f, 10.f, -3.f, 1.f, 4.f}));
  EXPECT_EQ(reportsOf(16, [] { IPgArea(3, 7, 3, 7); }), 2);
  EXPECT_EQ(reportsOf(16, [] { IPgArea(0, 0, std::numeric_limits<float>::infinity(), 1); }), 1);
  EXPECT_FLOAT_EQ(pg.x2, 1.0f);

  const struct {
    float z1, z2;
    int errors;
    float stored1, stored2;
  } zCases[] = {{1, 5, 0, 1, 5}, {3, 3, 1, 0, 1}, {5, 1, 1, 0, 1}, {-2, 0, 0, -2, 0}};
  for (const auto& c : zCases) {
    EXPECT_EQ(reportsOf(16, [&] { IPgUnitsZ(c.z1, c.z2); }), c.errors) << c.z1;
    EXPECT_EQ((std::array{pg.z1, pg.z2, pg.zSpan}), (std::array{c.stored1, c.stored2, c.stored2 - c.stored1}));
  }
  const struct {
    float radius;
    int errors;
    float stored;
  } polarCases[] = {{2.5f, 0, 2.5f}, {0.0f, 1, 1.0f}, {-3.0f, 1, 1.0f}};
  for (const auto& c : polarCases) {
    EXPECT_EQ(reportsOf(16, [&] { IPgUnitsPolar(c.radius); }), c.errors) << c.radius;
    EXPECT_FLOAT_EQ(pg.polarRadius, c.stored);
  }
}

TEST_F(PresentationGraphics, MarginsKeepOnlyValuesInRange) {
  const YYPgState& pg = yyPgState;
  YYPGMARGINS(0.0f, 0.05f, 1.0f, 0.95f);
  EXPECT_EQ((std::array{pg.marginXLow, pg.marginYLow, pg.marginXHigh, pg.marginYHigh}),
            (std::array{0.0f, 0.05f, 1.0f, 0.95f}));
  EXPECT_EQ(reportsOf(16, [] { YYPGMARGINS(1.0f, -0.1f, 0.0f, 1.5f); }), 0);
  EXPECT_EQ((std::array{pg.marginXLow, pg.marginYLow, pg.marginXHigh, pg.marginYHigh}),
            (std::array{0.0f, 0.05f, 1.0f, 0.95f}));
}

TEST_F(PresentationGraphics, SafeLogAndLogAxes) {
  const struct {
    float v, log;
  } logs[] = {{0.0f, -38.0f}, {100.0f, 2.0f}, {1.0f, 0.0f}, {1e-30f, -30.0f}, {-5.0f, -38.0f}};
  for (const auto& c : logs) EXPECT_NEAR(YYSafeLog10(c.v), c.log, 1e-4f) << c.v;

  const YYPgState& pg = yyPgState;
  IPgArea(0, 1, 100, 1000);
  IPgAxisKinds("log", "linear");
  EXPECT_EQ(pg.xLogRequested, 1);
  EXPECT_EQ(pg.yLogRequested, 0);
  EXPECT_EQ(pg.xLogInForce, 1);  // plot type 4, no flags
  EXPECT_FLOAT_EQ(pg.logX1, -38.0f);
  EXPECT_FLOAT_EQ(pg.logXSpan, 40.0f);  // 0 to 100 spans 40 decades
  IPgUnitsPolar(10.0f);
  IPgAxisKinds("Lin", "LOGARITHMIC");
  EXPECT_EQ(pg.xLogInForce, 0);
  EXPECT_EQ(pg.yLogInForce, 1);
  EXPECT_FLOAT_EQ(pg.logYSpan, 3.0f);
  EXPECT_FLOAT_EQ(pg.logRadius, 1.0f);
  EXPECT_FLOAT_EQ(pg.logRadiusDepth, 39.0f);
  for (const char* notLog : {"lo", "", " LOG", "lgo"}) {
    IPgAxisKinds(notLog, notLog);
    EXPECT_EQ(pg.xLogRequested + pg.yLogRequested, 0) << notLog;
  }

  // Which requested log axes are in force, by plot type and flags.
  const struct {
    int type, options;
    int xInForce, yInForce;
  } cases[] = {{4, 0, 1, 1}, {1, 0, 0, 1}, {2, 0, 1, 0}, {4, 1 << 6, 0, 1}, {5, 1, 0, 0}, {3, 1, 1, 1}};
  for (const auto& c : cases) {
    IPgAxisKinds("LOG", "log");
    newPlot(c.type, 1, {10, 10}, c.options);
    EXPECT_EQ(pg.xLogInForce, c.xInForce) << c.type << " " << c.options;
    EXPECT_EQ(pg.yLogInForce, c.yInForce) << c.type << " " << c.options;
  }
}

TEST_F(PresentationGraphics, NewPlotKeepsTypeAndSetsInRangeAndDecodesOptions) {
  const YYPgState& pg = yyPgState;
  const struct {
    int type, sets;
    int keptType, keptSets;
  } limits[] = {{0, 300, 4, 256}, {11, 0, 4, 1}, {7, -5, 7, 1}, {10, 256, 10, 256}};
  for (const auto& c : limits) {
    newPlot(c.type, c.sets, {5});
    EXPECT_EQ(pg.plotType, c.keptType) << c.type;
    EXPECT_EQ(pg.setCount, c.keptSets) << c.sets;
  }
  const struct {
    int options;
    int selector;
  } selectors[] = {{0, 0}, {1 << 2, 1}, {1 << 8, 2}, {1 << 4, 3}, {(1 << 2) | (1 << 8), 1}, {(1 << 8) | (1 << 4), 2}};
  for (const auto& c : selectors) {
    newPlot(4, 1, {5}, c.options);
    EXPECT_EQ(pg.selector, c.selector) << c.options;
  }
  newPlot(4, 1, {5}, 0x2AA);
  EXPECT_EQ((std::array{pg.flag1, pg.flag3, pg.flag5, pg.flag7, pg.flag9}), (std::array{1, 1, 1, 1, 1}));
  EXPECT_EQ(pg.optionWord, 0x2AA);
  // Flag A survives on bar types 1 and 2 and on grid types only; flag 5 clears it on type 1.
  const struct {
    int type, options;
    int flagA, grid, stacked, flagG;
  } flags[] = {{1, 1, 1, 0, 0, 0},          {2, 1, 1, 0, 0, 0},         {3, 1, 0, 0, 0, 0},
               {5, 1, 1, 1, 0, 0},          {9, 1, 0, 0, 0, 0},         {1, 1 | 1 << 5 | 1 << 10, 0, 0, 0, 0},
               {2, 1 << 10 | 1 << 6, 0, 0, 1, 1}, {5, 1 | 1 << 6, 1, 1, 0, 0}};
  for (const auto& c : flags) {
    newPlot(c.type, 1, {5, 5}, c.options);
    EXPECT_EQ((std::array{pg.flagA, pg.gridFlag, pg.stacked, pg.flagG}),
              (std::array{c.flagA, c.grid, c.stacked, c.flagG}))
        << c.type << " " << c.options;
  }
}

TEST_F(PresentationGraphics, StackedPlotsHoldAtMost1024Values) {
  YYPgState& pg = yyPgState;
  pg.stackTotals.fill(5.0f);
  EXPECT_EQ(reportsOf(24, [] { newPlot(2, 3, {2000}, 1 << 10); }), 1);
  EXPECT_EQ(pg.p1, 1024);
  EXPECT_EQ(pg.stackTotals, decltype(pg.stackTotals){});
  EXPECT_NEAR(pg.fractionB, 0.6f / 2000.0f, 1e-9f);  // from the count as given
  pg.stackTotals.fill(5.0f);
  EXPECT_EQ(reportsOf(24, [] { newPlot(4, 3, {10}, 1 << 10); }), 0);
  EXPECT_EQ(pg.stackTotals[9], 0.0f);
  EXPECT_EQ(pg.stackTotals[10], 5.0f);
  // Not stacked: other plot types, or flag 5 on a type-1 plot.
  EXPECT_EQ(reportsOf(24, [] { newPlot(3, 3, {2000}, 1 << 10); }), 0);
  EXPECT_EQ(reportsOf(24, [] { newPlot(1, 3, {2000}, 1 << 10 | 1 << 5); }), 0);
  EXPECT_EQ(pg.p1, 2000);
}

TEST_F(PresentationGraphics, GridPlotsTakeTheirDimensions) {
  const YYPgState& pg = yyPgState;
  const struct {
    int type, options;
    std::vector<int> counts;
    int p1, p2, p3;
    float fractionG;
  } cases[] = {
      {5, 1, {10, 4}, 10, 4, 0, 0.5f},
      {5, 1 | 1 << 9, {10, 4}, 10, 4, 0, 0.8f},
      {5, 1 | 1 << 9, {4, 10}, 4, 10, 0, 0.2f},
      {6, 1, {1, 9}, 2, 2, 0, 0.5f},
      {10, 0, {3, 1}, 3, 2, 2, -1.0f},
      {8, 0, {}, 2, 2, 0, -1.0f},
  };
  for (const auto& c : cases) {
    yyPgState.p3 = 0;
    yyPgState.fractionG = -1.0f;
    newPlot(c.type, 1, c.counts, c.options);
    EXPECT_EQ((std::array{pg.p1, pg.p2, pg.p3}), (std::array{c.p1, c.p2, c.p3})) << c.type;
    EXPECT_FLOAT_EQ(pg.p2Real, static_cast<float>(c.p2));
    EXPECT_FLOAT_EQ(pg.p2MinusOneReal, static_cast<float>(c.p2 - 1));
    EXPECT_FLOAT_EQ(pg.fractionG, c.fractionG) << c.type;
  }
}

TEST_F(PresentationGraphics, StylingGivesLineChartsStepsWordsAndColours) {
  const YYPgState& pg = yyPgState;
  const struct {
    int values, step;
  } steps[] = {{5, 1}, {12, 1}, {13, 2}, {25, 2}, {30, 5}, {65, 5}, {70, 10}, {99, 10}, {250, 20}, {1000, 100}};
  for (const auto& c : steps) {
    newPlot(4, 8, {c.values}, 0, 1);
    EXPECT_EQ(pg.stepWord1, c.step) << c.values;
    EXPECT_EQ(pg.stepWord2, c.step) << c.values;
  }
  EXPECT_EQ(pg.styleClass, 2);
  EXPECT_EQ((std::array{set(3).word1, set(3).word2, set(3).word3, set(3).index}), (std::array{-2, 1, 0, 3}));
  EXPECT_EQ(set(8).word1, 0);
  EXPECT_EQ(set(9).index, -1);  // beyond the set count nothing changes
  // Colour numbers: 32 + g and 64 + g, g stepping by 36 + (k mod 4) modulo 176.
  const struct {
    int k, colour1;
  } numbers[] = {{1, 32}, {2, 69}, {3, 107}, {4, 146}, {5, 182}, {6, 43}};
  for (const auto& c : numbers) {
    EXPECT_EQ(set(c.k).colour1, c.colour1) << c.k;
    EXPECT_EQ(set(c.k).colour2, c.colour1 + 32) << c.k;
  }
  EXPECT_FLOAT_EQ(pg.fractionP, 0.7f);
  EXPECT_FLOAT_EQ(pg.fractionQ, 0.8f);
  EXPECT_FLOAT_EQ(pg.fractionL, 0.5f);
  // RGB colours: red from the set number, green and blue from its residues.
  yyGrAttributes.ColourMode = kColourRgb;
  newPlot(4, 2, {5}, 1 << 6, 1);
  EXPECT_EQ(set(1).colour1, 198 + 143 * 256 + 159 * 65536);
  EXPECT_EQ(set(1).colour2, 57 + 143 * 256 + 159 * 65536);
  EXPECT_EQ(set(2).colour1, 166 + 159 * 256 + 191 * 65536);
  EXPECT_FLOAT_EQ(pg.fractionL, 0.65f);  // flag G
}

TEST_F(PresentationGraphics, StylingByPlotType) {
  const YYPgState& pg = yyPgState;
  // Bar charts: one style, the colour word by the colour mode.
  newPlot(1, 3, {5}, 0, 1);
  EXPECT_EQ(pg.styleClass, 1);
  EXPECT_EQ(pg.colourWordK, 223);
  EXPECT_EQ(set(3).word1, 4);
  yyGrAttributes.ColourMode = kColourRgb;
  newPlot(2, 3, {5}, 0, 1);
  EXPECT_EQ(pg.colourWordK, 0);

  // Two surfaces of their own colours (selector 3), with the grid angles.
  YYGraphicsDefaults(" ");
  yyGrAttributes.ColourMode = kColourRgb;
  newPlot(5, 4, {6, 6}, 1 | 1 << 4, 1);
  EXPECT_EQ(pg.styleClass, 3);
  EXPECT_FLOAT_EQ(pg.fractionR, 0.6f);
  EXPECT_EQ((std::array{set(1).colour1, set(2).colour1}), (std::array{255, 65535}));
  EXPECT_EQ(set(3).colour1, 128);  // left as it was
  EXPECT_EQ((std::array{pg.offsetWord1, pg.offsetWord2}), (std::array{3, -3}));
  EXPECT_FLOAT_EQ(pg.angle1, -45.0f);
  EXPECT_FLOAT_EQ(pg.angle2Radians, std::numbers::pi_v<float> / 4.0f);
  EXPECT_FLOAT_EQ(pg.fractionP, 0.6f);
  EXPECT_FLOAT_EQ(pg.wordU, 0.5f);
  EXPECT_EQ(pg.styleWordW, 4);
  EXPECT_EQ(pg.colourWordsV, (std::array{8618883, 8618883, 8618883}));
  yyGrAttributes.ColourMode = kColourIndexed;

  // One surface style: only two sets styled without flag 5.
  newPlot(8, 10, {6, 6}, 1, 1);
  EXPECT_EQ(pg.styleClass, 1);
  EXPECT_FLOAT_EQ(pg.fractionR, 0.7f);
  EXPECT_EQ(set(2).colour1, 69);
  EXPECT_EQ(set(3).colour1, 128);
  EXPECT_EQ(pg.colourWordsV, (std::array{255, 255, 255}));

  // Contours, shaded contours, markers, pie and mesh words per set.
  const struct {
    int type, options, k;
    int styleClass;
    std::array<int, 4> words;  // word 1-3 and the index word
  } words[] = {{7, 0, 21, 5, {4, 2, 0, 1}},    {7, 0, 73, 5, {4, 3, 0, 1}},  {7, 1, 1, 6, {3, 3, 1, 14}},
               {7, 1, 8, 6, {3, 3, 1, 13}},    {6, 0, 9, 4, {-1, 0, 0, -1}}, {9, 0, 2, 7, {0, 2, 0, -1}},
               {8, 0, 2, 8, {0, 5, 0, -1}}};
  for (const auto& c : words) {
    yyGrAttributes.ColourMode = kColourIndexed;
    YYGraphicsDefaults(" ");
    newPlot(c.type, 256, {6, 6}, c.options, 1);
    EXPECT_EQ(pg.styleClass, c.styleClass) << c.type;
    EXPECT_EQ((std::array{set(c.k).word1, set(c.k).word2, set(c.k).word3, set(c.k).index}), c.words)
        << c.type << " set " << c.k;
  }
  // The pie: one first colour, fractions of its own, and nothing after them.
  YYGraphicsDefaults(" ");
  newPlot(9, 2, {6}, 1 << 6, 1);
  EXPECT_EQ(set(2).colour1, 223);
  EXPECT_EQ(set(2).colour2, 128);  // left as it was
  EXPECT_FLOAT_EQ(pg.fractionL, 0.75f);

  // Mesh with flag 3: the count word from the larger dimension.
  const struct {
    std::vector<int> counts;
    int countWord;
  } meshes[] = {{{30, 10}, 5}, {{10, 40}, 3}, {{200, 10}, 1}};
  for (const auto& c : meshes) {
    newPlot(8, 1, c.counts, 1 << 3, 1);
    EXPECT_EQ(pg.styleClass, 1);
    EXPECT_EQ(pg.countWord, c.countWord) << c.counts[0];
  }
}

}  // namespace
