// The screen driver's lines, shapes, fills, drawing modes, clipping and block
// moves, checked pixel by pixel on a DIB section.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "screen_canvas.h"

namespace {

class ScreenShapes : public ScreenCanvas {
 protected:
  // Operands of a pie or arc centred at (80, 60): radii, start and end in
  // radians, start and sweep in degrees.
  static void sector(float rx, float ry, float startDegrees, float sweepDegrees) {
    constexpr float kRadians = std::numbers::pi_v<float> / 180;
    point(1, 80, 60);
    YYGrState& s = yyGrState;
    s.R6 = rx;
    s.R2 = ry;
    s.R7 = startDegrees * kRadians;
    s.R3 = (startDegrees + sweepDegrees) * kRadians;
    s.R8 = startDegrees;
    s.R4 = sweepDegrees;
  }
};

constexpr int kRed = 31;  // a colour number that is neither white nor black

TEST_F(ScreenShapes, SolidLinesIncludeTheirEndPixel) {
  struct Case {
    int x1, y1, x2, y2;
  };
  const Case cases[] = {{10, 10, 30, 10}, {40, 5, 40, 25}, {50, 50, 50, 50}, {60, 20, 80, 40}};
  for (const Case& c : cases) {
    send(kOpClear);
    line(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(surface(c.x1, c.y1), kBlackRgb) << c.x1;
    EXPECT_EQ(surface(c.x2, c.y2), kBlackRgb) << c.x2;
    const InkBox box = ink();
    EXPECT_EQ(box.left, std::min(c.x1, c.x2));
    EXPECT_EQ(box.right, std::max(c.x1, c.x2));
    EXPECT_EQ(box.count, std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1)) + 1) << c.x1;
  }
}

TEST_F(ScreenShapes, LineStylesDrawTheirDashTemplates) {
  struct Case {
    int style;
    std::vector<int> marksAndGaps;  // one period of the template
  };
  const Case cases[] = {
      {1, {1, 4}}, {2, {8, 6}}, {3, {1, 4, 8, 4}}, {4, {1, 4, 1, 4, 8, 4}}, {5, {8, 4, 4, 4}}, {6, {4, 4}}};
  for (const Case& c : cases) {
    send(kOpClear);
    yyGrAttributes.LineStyle = c.style;
    send(kOpLineStyle);
    line(10, 60, 150, 60);
    const std::vector<int> got = runs(kHeight - 1 - 60, 10, 150);
    ASSERT_GE(got.size(), c.marksAndGaps.size() + 1) << c.style;
    // The last run is cut by the line's end; every whole run follows the template.
    for (std::size_t i = 0; i + 1 < got.size(); ++i) {
      EXPECT_EQ(got[i], c.marksAndGaps[i % c.marksAndGaps.size()]) << "style " << c.style << " run " << i;
    }
  }
}

TEST_F(ScreenShapes, WideDashedLinesKeepTheirGapsOpen) {
  yyGrAttributes.LineWidth = 3;
  send(kOpLineWidth);
  EXPECT_EQ(yyGdiContext.DashArrays[2][0], 8u);
  EXPECT_EQ(yyGdiContext.DashArrays[2][1], 8u);  // the gap grows by the width less one
  yyGrAttributes.LineStyle = 2;
  send(kOpLineStyle);
  line(10, 60, 150, 60);
  const std::vector<int> got = runs(kHeight - 1 - 60, 10, 150);
  ASSERT_GE(got.size(), 4u);
  EXPECT_GT(got[1], 0);
  // The line is three pixels thick.
  EXPECT_TRUE(inkAt(12, kHeight - 1 - 61));
  EXPECT_TRUE(inkAt(12, kHeight - 1 - 59));
}

TEST_F(ScreenShapes, DashedAndClosedPolylinesGetNoExtraPixel) {
  // A closed square in XOR mode: a corner set twice would come out white.
  colour(kRed);
  yyGrAttributes.DrawMode = 3;
  send(kOpDrawMode);
  const float square[][2] = {{20, 20}, {60, 20}, {60, 60}, {20, 60}, {20, 20}};
  for (int i = 0; i < 5; ++i) {
    yyGrPointBuffer.x[static_cast<std::size_t>(i)] = square[i][0];
    yyGrPointBuffer.y[static_cast<std::size_t>(i)] = square[i][1];
  }
  yyGrState.N = 5;
  send(kOpPolyline);
  const std::int32_t inverted = kWhiteRgb ^ yyColourTable[kRed];
  EXPECT_EQ(surface(20, 20), inverted);
  EXPECT_EQ(surface(60, 60), inverted);
  EXPECT_EQ(surface(40, 20), inverted);
  colour(223);
  // An open solid polyline ends on its last point; a dashed one does not add it.
  yyGrAttributes.DrawMode = 0;
  send(kOpDrawMode);
  send(kOpClear);
  yyGrState.N = 2;
  yyGrPointBuffer.x[0] = 10;
  yyGrPointBuffer.y[0] = 100;
  yyGrPointBuffer.x[1] = 25;
  yyGrPointBuffer.y[1] = 100;
  send(kOpPolyline);
  EXPECT_EQ(surface(25, 100), kBlackRgb);
  EXPECT_EQ(surface(26, 100), kWhiteRgb);
  yyGrAttributes.LineStyle = 2;
  send(kOpLineStyle);
  yyGrPointBuffer.x[1] = 23;  // the end falls into the second gap
  yyGrPointBuffer.y[0] = 90;
  yyGrPointBuffer.y[1] = 90;
  send(kOpPolyline);
  EXPECT_EQ(surface(23, 90), kWhiteRgb);
}

TEST_F(ScreenShapes, RectanglesIncludeBothCorners) {
  for (const YYGrOpcode opcode : {kOpRectangleSolid, kOpRectanglePattern}) {
    send(kOpClear);
    point(1, 20, 30);
    point(2, 40, 50);
    send(opcode);
    const InkBox box = ink();
    EXPECT_EQ(box.left, 20) << opcode;
    EXPECT_EQ(box.right, 40) << opcode;
    EXPECT_EQ(box.top, kHeight - 1 - 50) << opcode;
    EXPECT_EQ(box.bottom, kHeight - 1 - 30) << opcode;
  }
  // Corners given the other way round make the same rectangle.
  send(kOpClear);
  point(1, 40, 50);
  point(2, 20, 30);
  send(kOpRectangleSolid);
  EXPECT_EQ(ink().count, 21 * 21);
}

TEST_F(ScreenShapes, PatternedFillIsATwoByTwoChecker) {
  colour(kRed);  // current red, previous black
  const std::int32_t red = yyColourTable[kRed];
  point(1, 10, 10);
  point(2, 50, 50);
  send(kOpRectanglePattern);
  for (int y = kHeight - 1 - 50; y <= kHeight - 1 - 10; ++y) {
    for (int x = 10; x <= 50; ++x) {
      ASSERT_EQ(device(x, y), (x + y) % 2 == 0 ? red : kBlackRgb) << x << "," << y;
    }
  }
  // With equal current and previous colours the checker looks solid.
  colour(kRed);
  send(kOpClear);
  send(kOpRectanglePattern);
  EXPECT_EQ(ink().count, 41 * 41);
  EXPECT_EQ(device(11, kHeight - 1 - 10), red);
}

TEST_F(ScreenShapes, EllipseAndPieInkStaysInTheirBoxes) {
  for (const YYGrOpcode opcode : {kOpEllipseOutline, kOpEllipsePattern, kOpEllipseSolid}) {
    send(kOpClear);
    point(1, 80, 60);
    point(2, 30, 20);
    send(opcode);
    const InkBox box = ink();
    // The patterned box reaches one pixel further for GDIs that paint a
    // pen-less ellipse one pixel short; Wine does not, so allow for that pixel.
    const int slack = opcode == kOpEllipsePattern ? 2 : 1;
    EXPECT_NEAR(box.left, 50, 1) << opcode;
    EXPECT_NEAR(box.right, 110, slack) << opcode;
    EXPECT_NEAR(box.top, kHeight - 1 - 80, 1) << opcode;
    EXPECT_NEAR(box.bottom, kHeight - 1 - 40, slack) << opcode;
    const bool centre = inkAt(80, kHeight - 1 - 60) || inkAt(81, kHeight - 1 - 60);
    EXPECT_EQ(centre, opcode != kOpEllipseOutline) << opcode;
  }
  // A quarter pie from 0 to 90 degrees fills the upper right quadrant only.
  send(kOpClear);
  sector(30, 20, 0.0f, 90.0f);
  send(kOpPieSolid);
  const InkBox box = ink();
  EXPECT_NEAR(box.left, 80, 1);
  EXPECT_NEAR(box.right, 110, 1);
  EXPECT_NEAR(box.top, kHeight - 1 - 80, 1);
  EXPECT_NEAR(box.bottom, kHeight - 1 - 60, 1);
}

TEST_F(ScreenShapes, ShortPieSweepsDrawASliverNotAnEllipse) {
  struct Case {
    float startDegrees, sweepDegrees;
    bool whole;
  };
  const Case cases[] = {{30.0f, 0.5f, false}, {200.0f, 0.5f, false}, {10.0f, 360.0f, true}};
  for (const Case& c : cases) {
    send(kOpClear);
    sector(30, 20, c.startDegrees, c.sweepDegrees);
    send(kOpPieSolid);
    const int count = ink().count;
    if (c.whole) {
      EXPECT_GT(count, 1700) << c.startDegrees;  // pi x 30 x 20 is about 1885
    } else {
      EXPECT_LT(count, 200) << c.startDegrees;
      EXPECT_GT(count, 0) << c.startDegrees;
    }
  }
}

TEST_F(ScreenShapes, ArcsCloseWithTheirRadiiByTheClosureWord) {
  struct Case {
    int outline, style;
    bool radii;
  };
  const Case cases[] = {{3, 0, false}, {0, 0, true}, {3, 2, true}};
  for (const Case& c : cases) {
    send(kOpClear);
    sector(30, 30, 0.0f, 180.0f);
    yyGrAttributes.FillOutline = c.outline;
    yyGrAttributes.FillStyle = c.style;
    send(kOpArc);
    const InkBox box = ink();
    EXPECT_NEAR(box.top, kHeight - 1 - 90, 1) << c.outline;  // the upper half only
    EXPECT_NEAR(box.bottom, kHeight - 1 - 60, 1) << c.outline;
    EXPECT_EQ(inkAt(95, kHeight - 1 - 60), c.radii) << c.outline;  // on the closing diameter
    EXPECT_FALSE(inkAt(80, kHeight - 1 - 75)) << c.outline;  // the inside stays empty
  }
}

TEST_F(ScreenShapes, PolygonsTrianglesAndQuadrilateralsFill) {
  point(1, 10, 10);
  point(2, 50, 10);
  point(3, 30, 40);
  send(kOpTriangleSolid);
  EXPECT_EQ(surface(30, 20), kBlackRgb);
  EXPECT_EQ(surface(10, 10), kBlackRgb);
  EXPECT_EQ(surface(10, 40), kWhiteRgb);
  point(1, 100, 10);
  point(2, 140, 10);
  point(3, 140, 50);
  point(4, 100, 50);
  send(kOpQuadSolid);
  EXPECT_EQ(ink(100, kHeight - 1 - 50, 140, kHeight - 1 - 10).count, 41 * 41);
  // More points than the buffer holds are cut to the buffer.
  send(kOpClear);
  for (int i = 0; i < kPointBufferSize; ++i) {
    yyGrPointBuffer.x[static_cast<std::size_t>(i)] = i % 2 == 0 ? 60.0f : 90.0f;
    yyGrPointBuffer.y[static_cast<std::size_t>(i)] = i < 2 ? 70.0f : 100.0f;
  }
  yyGrState.N = 100000;
  send(kOpPolygonSolid);
  send(kOpPolyline);
  EXPECT_EQ(surface(75, 85), kBlackRgb);
}

TEST_F(ScreenShapes, XorDrawingTwiceLeavesNothing) {
  colour(kRed);  // XOR with black would change nothing
  yyGrAttributes.DrawMode = 3;
  send(kOpDrawMode);
  for (int pass = 0; pass < 2; ++pass) {
    line(10, 10, 70, 40);
    line(90, 90, 90, 90);
    point(1, 100, 10);
    point(2, 140, 10);
    point(3, 120, 40);
    send(kOpTriangleSolid);
    if (pass == 0) {
      const std::int32_t inverted = kWhiteRgb ^ yyColourTable[kRed];
      EXPECT_EQ(surface(70, 40), inverted);
      EXPECT_EQ(surface(90, 90), inverted);
      EXPECT_EQ(surface(120, 20), inverted);
      EXPECT_EQ(surface(110, 12), inverted);  // no pen edge inverts the fill back
    }
  }
  EXPECT_EQ(ink().count, 0);
}

TEST_F(ScreenShapes, ViewportClipsShapesButNotRectangles) {
  IGrArea(0.25f, 0.25f, 0.75f, 0.75f);  // sends opcode 24 to the screen
  const YYGrState& s = yyGrState;
  ASSERT_EQ(s.ViewportLeft, 39);
  ASSERT_EQ(s.ViewportRight, 119);
  point(1, 80, 60);
  point(2, 70, 50);
  send(kOpEllipseSolid);
  const InkBox box = ink();
  EXPECT_EQ(box.left, s.ViewportLeft);
  EXPECT_EQ(box.right, s.ViewportRight - 1);  // the clip rectangle's right edge is exclusive
  EXPECT_EQ(box.top, kHeight - 1 - s.ViewportTop);
  EXPECT_EQ(box.bottom, kHeight - 1 - s.ViewportBottom - 1);
  point(1, 0, 0);
  point(2, 5, 5);
  send(kOpRectangleSolid);
  EXPECT_EQ(surface(0, 0), kBlackRgb);
  // The whole surface as viewport removes the clip.
  send(kOpClear);
  IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
  EXPECT_FALSE(yyGdiContext.ClipRegion);
  point(1, 80, 60);
  point(2, 70, 50);
  send(kOpEllipseSolid);
  EXPECT_EQ(ink().left, 9);
}

TEST_F(ScreenShapes, ClearPaintsColourZero) {
  point(1, 0, 0);
  point(2, kWidth - 1, kHeight - 1);
  send(kOpRectangleSolid);
  EXPECT_EQ(ink().count, kWidth * kHeight);
  send(kOpClear);
  EXPECT_EQ(ink().count, 0);
  const std::int32_t saved = yyColourTable[0];
  yyColourTable[0] = 0x336699;
  send(kOpClear);
  EXPECT_EQ(surface(0, 0), 0x336699);
  EXPECT_EQ(surface(kWidth - 1, kHeight - 1), 0x336699);
  yyColourTable[0] = saved;
}

TEST_F(ScreenShapes, MovedBlockLeavesTheUncoveredPartInColourZero) {
  struct Case {
    int dx, dy;  // destination of the block's lower-left corner, from (40, 40)
  };
  const Case cases[] = {{50, 45}, {35, 30}, {50, 40}, {40, 50}, {100, 80}};
  const std::int32_t grey = yyColourTable[240];
  for (const Case& c : cases) {
    colour(240);
    point(1, 0, 0);
    point(2, kWidth - 1, kHeight - 1);
    send(kOpRectangleSolid);
    colour(223);
    point(1, 40, 40);
    point(2, 59, 59);
    send(kOpRectangleSolid);
    point(3, c.dx, c.dy);
    yyGrState.M = 1;
    send(kOpMoveArea);
    for (int y = 30; y < 110; ++y) {
      for (int x = 30; x < 125; ++x) {
        const bool inSource = x >= 40 && x <= 59 && y >= 40 && y <= 59;
        const bool inDestination = x >= c.dx && x <= c.dx + 19 && y >= c.dy && y <= c.dy + 19;
        const std::int32_t want = inDestination ? kBlackRgb : inSource ? kWhiteRgb : grey;
        ASSERT_EQ(surface(x, y), want) << c.dx << "," << c.dy << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(ScreenShapes, PointsAndPixelReadBack) {
  colour(kRed);
  point(1, 33, 44);
  send(kOpPoint);
  EXPECT_EQ(surface(33, 44), yyColourTable[kRed]);
  point(1, 33, 44);
  send(kOpReadPixel);
  EXPECT_EQ(yyGrState.X1, yyColourTable[kRed]);
  point(1, 34, 44);
  send(kOpReadPixel);
  EXPECT_EQ(yyGrState.X1, kWhiteRgb);
  // A metafile has no pixels to read.
  yyGrAttributes.TargetKind = kTargetMetafile;
  point(1, 33, 44);
  send(kOpReadPixel);
  EXPECT_EQ(yyGrState.X1, -1);
  yyGrAttributes.TargetKind = kTargetWindow;
}

TEST_F(ScreenShapes, ShadedPolygonBlendsItsVertexColoursByEitherPath) {
  for (const int shading : {2, 1}) {
    send(kOpClear);
    yyGrState.ShadeMode[kScreenSide] = shading;
    const float corners[][2] = {{20, 20}, {120, 20}, {120, 100}, {20, 100}};
    for (int i = 0; i < 4; ++i) {
      yyGrPointBuffer.x[static_cast<std::size_t>(i)] = corners[i][0];
      yyGrPointBuffer.y[static_cast<std::size_t>(i)] = corners[i][1];
    }
    yyPolygonWork.vertexCount = 4;
    yyPolygonWork.colours = {};
    yyPolygonWork.colours[0] = 0x0000FF;
    yyPolygonWork.colours[1] = 0x0000FF;
    yyPolygonWork.colours[2] = 0xFF0000;
    yyPolygonWork.colours[3] = 0xFF0000;
    send(kOpShadedPolygon);
    const std::int32_t low = surface(70, 22);
    const std::int32_t high = surface(70, 98);
    EXPECT_GT(low & 255, 200) << shading;           // red near the bottom
    EXPECT_LT((low >> 16) & 255, 60) << shading;
    EXPECT_GT((high >> 16) & 255, 200) << shading;  // blue near the top
    const std::int32_t middle = surface(70, 60);
    EXPECT_NEAR(middle & 255, 128, 30) << shading;
    EXPECT_EQ(surface(10, 60), kWhiteRgb) << shading;
  }
}

TEST_F(ScreenShapes, NothingHappensWithTheScreenDriverOffOrAnUnknownOpcode) {
  yyGrAttributes.ScreenDriverOn = 0;
  yyGrState.ScreenCaps = "0";
  line(10, 10, 50, 50);
  send(kOpInitialise);
  EXPECT_EQ(ink().count, 0);
  EXPECT_EQ(yyGrState.ScreenCaps.trimmed(), "0");
  yyGrAttributes.ScreenDriverOn = 1;
  for (const YYGrPrimitive opcode : {0, 41, -5}) {
    YYGrPrimitive op = opcode;
    point(1, 10, 10);
    point(2, 50, 50);
    YYGAPI(op);
  }
  EXPECT_EQ(ink().count, 0);
}

// A metafile records colours as they are, so the context keeps plain RGB
// values, the checker becomes the mean colour and dashes follow the
// metafile's resolution.
TEST_F(ScreenShapes, MetafileTargetsKeepPlainColoursAndScaleDashes) {
  YYGdiContext& g = yyGdiContext;
  g.MetafileTarget = 1;
  g.MetafileResolution = 192;
  YYGdiSetColour(0, 0x000010);
  YYGdiSetColour(0, 0x2040FF);
  EXPECT_EQ(g.CurrentColorRef, 0x2040FFu);
  EXPECT_EQ(g.PreviousColorRef, 0x000010u);
  GdiObject brush(YYGdiPatternBrush());
  LOGBRUSH logical{};
  ASSERT_EQ(GetObject(brush.get(), sizeof logical, &logical), static_cast<int>(sizeof logical));
  EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(logical.lbColor, static_cast<COLORREF>(RGB(0x87, 0x20, 0x10)));
  YYGdiDashPattern();
  EXPECT_EQ(g.DashArrays[2][0], 16u);
  EXPECT_EQ(g.DashArrays[2][1], 12u);
  EXPECT_EQ(g.DashArrays[4][5], 8u);
  g.MetafileTarget = 0;
  YYGdiDashPattern();
  EXPECT_EQ(g.DashArrays[2][0], 8u);
}

}  // namespace
