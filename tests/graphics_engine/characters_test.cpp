// Character angle and size, and the stroke font's advance widths.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics_fixture.h"
#include "toolkit/graphics/characters.h"

namespace {

using Characters = GraphicsTables;

struct AngleCase {
  float angle;
  float normal;
};

TEST_F(Characters, AngleIsNormalisedToOneTurn) {
  const AngleCase cases[] = {{-90.0f, 270.0f}, {720.0f, 0.0f}, {359.5f, 359.5f}, {-720.0f, 0.0f},
                             {45.0f, 45.0f},   {-370.0f, 350.0f}, {1e12f, std::fmod(1e12f, 360.0f)}};
  for (const AngleCase& c : cases) {
    YYCHARANGLE(c.angle);
    EXPECT_NEAR(yyGrState.CharAngle, c.normal, 1e-3f) << c.angle;
    EXPECT_GE(yyGrState.CharAngle, 0.0f);
    EXPECT_LT(yyGrState.CharAngle, 360.0f);
  }
}

TEST_F(Characters, DirectionTermsCarryTheAreaAspect) {
  YYCHARANGLE(-90.0f);
  EXPECT_NEAR(yyGrState.CharCos, 0.0f, 1e-6f);
  EXPECT_NEAR(yyGrState.CharSinOverAspect, -1.0f, 1e-4f);  // aspect 1 on the screen
  // A hardcopy page of another shape: S = (wf / hf) x (hd / wd) x aspect.
  yyGrState.AreaHeightDevice = 100.0f;
  yyGrState.AreaWidthDevice = 100.0f;
  yyGrState.SurfaceAspect = 2.0f;
  YYCHARANGLE(90.0f);
  EXPECT_NEAR(yyGrState.CharSinTimesAspect, 2.0f, 1e-5f);
  EXPECT_NEAR(yyGrState.CharSinOverAspect, 0.5f, 1e-5f);
}

TEST_F(Characters, SizeFallsBackToTheDefaultsAndFollowsTheAreaWithTheScreenOff) {
  yyGrAttributes.ScreenDriverOn = 0;
  YYCHARSIZESET(0.0f, -1.0f);
  EXPECT_FLOAT_EQ(yyGrState.CharWidth, 0.013333f);
  EXPECT_FLOAT_EQ(yyGrState.CharHeight, 0.04f);
  const YYGrState& s = yyGrState;
  EXPECT_NEAR(s.CharRowsPerSurface, s.SurfaceHeightReal / (0.04f * s.AreaHeightDevice), 1e-3f);
  EXPECT_NEAR(s.CharRowsPerSurface, 25.0f, 1e-3f);
  yyGrState.TextFont = 0;
  yyGrState.TextMode = 2;
  YYCHARSIZEAPPLY();
  EXPECT_EQ(yyGrState.TextFamily, 2);
  yyGrState.TextFont = 3;
  YYCHARSIZEAPPLY();
  EXPECT_EQ(yyGrState.TextFamily, 3);
}

TEST_F(Characters, WidthsAreRestoredByCodeAndBadCodesReported) {
  YYGrState& s = yyGrState;
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow[0], 0.70f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['!' - 32], 0.56f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['.' - 32], 0.42f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['7' - 32], 0.84f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['M' - 32], 1.30f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['W' - 32], 1.50f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['i' - 32], 0.46f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['~' - 32], 0.90f);
  s.StrokeWidthsLow.fill(9.0f);
  s.StrokeWidthsHigh.fill(9.0f);
  YYCHSPACE(128);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow[95], 0.74f);
  YYCHSPACE('A');
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['A' - 32], 1.11f);
  EXPECT_FLOAT_EQ(s.StrokeWidthsLow['B' - 32], 9.0f);
  YYCHSPACE(255);
  EXPECT_FLOAT_EQ(s.StrokeWidthsHigh[94], kDefaultWidthsHigh[94]);
  EXPECT_FLOAT_EQ(s.StrokeWidthsHigh[0], 9.0f);
  for (int bad : {127, 160, 31, 256, -5}) {
    EXPECT_EQ(reportsOf(66, [&] { YYCHSPACE(bad); }), 1) << bad;
  }
  YYCHSPACE(0);
  EXPECT_EQ(s.StrokeWidthsLow, kDefaultWidthsLow);
  EXPECT_EQ(s.StrokeWidthsHigh, kDefaultWidthsHigh);
}

TEST_F(Characters, StrokeFontGoesToTheChosenStore) {
  std::array<std::int32_t, kStrokeStartsLow> low{};
  std::array<std::int32_t, kStrokeStartsHigh> high{};
  for (int i = 0; i < kStrokeStartsLow; ++i) low[static_cast<std::size_t>(i)] = i + 1;
  for (int i = 0; i < kStrokeStartsHigh; ++i) high[static_cast<std::size_t>(i)] = 100 + i;
  yyGrState.StrokeFontFlags = 5;
  yyGrState.StrokeStartsLow.fill(-1);
  YYSTROKEFONTSET(7.68f, 11.88f, 6.0f, 11.0f, 8, 1, 0, 0, "mine.chr", "3233u363B", low.data(), high.data());
  const YYGrState& s = yyGrState;
  EXPECT_FLOAT_EQ(s.StrokeMetric1, 7.68f);
  EXPECT_FLOAT_EQ(s.StrokeMetric4, 11.0f);
  EXPECT_EQ(s.StrokeHas128, 0);
  EXPECT_EQ(s.StrokeFlag0, 1);
  EXPECT_EQ(s.StrokeStartsLow[94], 95);
  EXPECT_EQ(s.StrokeStartsLow[95], -1);  // only 95 entries without code 128
  EXPECT_EQ(s.StrokeStartsHigh[95], 195);
  EXPECT_EQ(s.StrokeFontName.str(), "mine.chr");
  EXPECT_EQ(s.StrokeFontFlags, 0);
  YYSTROKEFONTSET(1.0f, 2.0f, 3.0f, 4.0f, 8, 3, 0, 1, "other.chr", "222B", low.data(), high.data());
  EXPECT_EQ(yyStrokeFontAlternative.StrokeHas128, 1);
  EXPECT_EQ(yyStrokeFontAlternative.StrokeStartsLow[95], 96);
  EXPECT_EQ(yyStrokeFontAlternative.StrokeText.str(), "222B");
  EXPECT_FLOAT_EQ(s.StrokeMetric1, 7.68f);
}

}  // namespace
