// Graphics area, user units, viewport and the conversion back to user units.
#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "toolkit/graphics/graphics_area.h"

namespace {

using GraphicsArea = GraphicsTables;

TEST_F(GraphicsArea, WholeSurfaceViewport) {
  IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
  const YYGrState& s = yyGrState;
  EXPECT_EQ(s.ViewportLeft, 0);
  EXPECT_EQ(s.ViewportBottom, 0);
  EXPECT_EQ(s.ViewportRight, 639);
  EXPECT_EQ(s.ViewportTop, 479);
  EXPECT_EQ(s.ViewportColumns, 640);
  EXPECT_EQ(s.ViewportRows, 480);
  EXPECT_NEAR(s.ViewportWidth, 639.99f, 1e-3f);
  EXPECT_NEAR(s.ClipLeft, -0.001f, 1e-6f);
  EXPECT_NEAR(s.ClipTop, 479.991f, 1e-3f);
}

struct AreaCase {
  float x1, y1, x2, y2;
  int reports;
  float wantX1, wantX2, wantY1, wantY2;
};

TEST_F(GraphicsArea, EachBadAxisIsReportedAndReplaced) {
  const AreaCase cases[] = {
      {0.5f, 0.2f, 0.5f, 0.8f, 1, 0.0f, 1.0f, 0.2f, 0.8f},
      {-0.1f, 0.0f, 1.0f, 1.0f, 1, 0.0f, 1.0f, 0.0f, 1.0f},
      {0.0f, 0.0f, 1.0001f, 1.0f, 1, 0.0f, 1.0f, 0.0f, 1.0f},
      {0.2f, 0.9f, 0.4f, 0.3f, 1, 0.2f, 0.4f, 0.0f, 1.0f},
      {1.0f, 1.0f, 0.0f, 0.0f, 2, 0.0f, 1.0f, 0.0f, 1.0f},
      {0.25f, 0.5f, 0.75f, 1.0f, 0, 0.25f, 0.75f, 0.5f, 1.0f},
  };
  for (const AreaCase& c : cases) {
    EXPECT_EQ(reportsOf(44, [&] { IGrArea(c.x1, c.y1, c.x2, c.y2); }), c.reports) << c.x1 << " " << c.y1;
    const YYGrState& s = yyGrState;
    EXPECT_FLOAT_EQ(s.AreaX1, c.wantX1);
    EXPECT_FLOAT_EQ(s.AreaX2, c.wantX2);
    EXPECT_FLOAT_EQ(s.AreaY1, c.wantY1);
    EXPECT_FLOAT_EQ(s.AreaY2, c.wantY2);
    EXPECT_FLOAT_EQ(s.AreaWidthFraction, c.wantX2 - c.wantX1);
    EXPECT_FLOAT_EQ(s.AreaHeightFraction, c.wantY2 - c.wantY1);
  }
}

TEST_F(GraphicsArea, BadUnitsBecomeZeroToOneOnTheirAxis) {
  EXPECT_EQ(reportsOf(16, [] { IGrUnits(5.0f, 0.0f, 5.0f, 10.0f); }), 1);
  EXPECT_FLOAT_EQ(yyGrState.UnitsX1, 0.0f);
  EXPECT_FLOAT_EQ(yyGrState.UnitsX2, 1.0f);
  EXPECT_FLOAT_EQ(yyGrState.UnitsY2, 10.0f);
  EXPECT_FLOAT_EQ(yyGrState.UserRangeY, 10.0f);
  EXPECT_EQ(reportsOf(16, [] { IGrUnits(2.0f, 3.0f, 1.0f, 3.0f); }), 2);
}

TEST_F(GraphicsArea, ViewportIsClampedToTheSurface) {
  YYVIEWPORTSET(-50.0f, -1.0f, 5000.0f, 900.0f);
  const YYGrState& s = yyGrState;
  EXPECT_FLOAT_EQ(s.ViewportLeftReal, 0.0f);
  EXPECT_FLOAT_EQ(s.ViewportBottomReal, 0.0f);
  EXPECT_EQ(s.ViewportRight, 639);
  EXPECT_EQ(s.ViewportTop, 479);
  YYVIEWPORTSET(10.5f, 20.7f, 100.2f, 50.9f);
  EXPECT_EQ(s.ViewportLeft, 10);
  EXPECT_EQ(s.ViewportBottom, 20);
  EXPECT_EQ(s.ViewportColumns, 91);
  EXPECT_EQ(s.ViewportRows, 31);
}

TEST_F(GraphicsArea, PixelsAndUserUnitsRoundTrip) {
  IGrArea(0.25f, 0.5f, 0.75f, 1.0f);
  IGrUnits(-100.0f, 10.0f, 100.0f, 20.0f);
  const YYGrState& s = yyGrState;
  const float u = 50.0f;
  const float v = 12.5f;
  const float px = s.ViewportLeftReal + (u - s.UnitsX1) * s.UserScaleX;
  const float py = s.ViewportBottomReal + (v - s.UnitsY1) * s.UserScaleY;
  float ux = 0.0f, uy = 0.0f;
  YYPixelsToUserPlain(px, py, ux, uy);
  EXPECT_NEAR(ux, u, 1e-3f);
  EXPECT_NEAR(uy, v, 1e-4f);
}

TEST_F(GraphicsArea, ZeroScaleGivesTheFirstUserValueNotInfinity) {
  YYVIEWPORTSET(5.0f, 5.0f, 5.0f, 5.0f);
  IGrUnits(3.0f, 4.0f, 5.0f, 6.0f);
  ASSERT_EQ(yyGrState.UserScaleX, 0.0f);
  float ux = -1.0f, uy = -1.0f;
  YYPixelsToUserPlain(12.0f, 7.0f, ux, uy);
  EXPECT_FLOAT_EQ(ux, 3.0f);
  EXPECT_FLOAT_EQ(uy, 4.0f);
  // A window that is no bitmap view has no bitmap size to scale by either.
  YYPixelsToUser(12.0f, 7.0f, ux, uy, 0);
  EXPECT_FLOAT_EQ(ux, 3.0f);
  EXPECT_FLOAT_EQ(uy, 4.0f);
}

}  // namespace
