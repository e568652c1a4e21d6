#include "raster_fixture.h"

namespace {

// Solid black fills on one-bit pages, so that the pictures show the spans.
class RasterFills : public RasterPageTest {
 protected:
  void openSolid(int width, int rows) {
    openPage({.width = width, .rows = rows});
    yyGrAttributes.FillStyle = 3;
    yyGrAttributes.DrawFlag = 1;
    yyGrAttributes.PreviousColourNumber = yyGrAttributes.ColourNumber;
  }
};

TEST_F(RasterFills, RectanglesKeepToTheClipAndNeedOrderedCorners) {
  openSolid(8, 5);
  clipTo(3, 2, 4, 2);
  points({{2, 1}, {5, 3}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"........", "........", "...##...", "........", "........"}));
  send(kOpClear);
  clipTo(0, 0, 7, 4);
  points({{2, 1}, {5, 3}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"........", "..####..", "..####..", "..####..", "........"}));
  send(kOpClear);
  points({{2, 3}, {5, 1}});
  send(kOpRectanglePattern);
  points({{5, 1}, {2, 3}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"........", "........", "........", "........", "........"}));
  // Off the page it paints only what lies on it.
  points({{-100, -100}, {1, 100}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"##......", "##......", "##......", "##......", "##......"}));
}

// A polygon is sent back as scan lines; those lines are a fill and keep to the
// clip rectangle as the driver's own fills do.
TEST_F(RasterFills, ScanLinesOfAFillKeepToTheClip) {
  openSolid(8, 5);
  clipTo(2, 1, 5, 3);
  points({{0, 0}, {7, 0}, {7, 4}});
  yyGrState.N = 3;
  send(kOpPolygonPattern);
  ASSERT_EQ(yyGrAttributes.FillFallback, 1);
  for (int row = 0; row < 5; ++row) {
    points({{0.0f, static_cast<float>(row)}, {7.0f, static_cast<float>(row)}});
    send(kOpLine);
  }
  EXPECT_EQ(picture(), rowsOf({"........", "..####..", "..####..", "..####..", "........"}));
  yyGrAttributes.FillFallback = 0;
}

TEST_F(RasterFills, TrianglesFillFromTheirHighestRowDown) {
  openSolid(10, 6);
  points({{0, 0}, {8, 0}, {4, 4}});  // a level base: row y2 runs from x2 to x1
  send(kOpTrianglePattern);
  EXPECT_EQ(picture(), rowsOf({"..........", "....#.....", "...###....", "..#####...", ".#######..",
                               "#########."}));
  send(kOpClear);
  points({{2, 0}, {0, 2}, {4, 4}});  // rows below and above the middle point
  send(kOpTrianglePattern);
  EXPECT_EQ(picture(), rowsOf({"..........", "....#.....", "..##......", "####......", ".##.......",
                               "..#......."}));
  send(kOpClear);
  clipTo(0, 1, 2, 3);
  points({{0, 0}, {8, 0}, {4, 4}});
  send(kOpTrianglePattern);
  EXPECT_EQ(picture(), rowsOf({"..........", "..........", "..........", "..#.......", ".##.......",
                               ".........."}));
}

TEST_F(RasterFills, ParallelogramsWithSidesAlongRowsFollowTheirSlantedEdges) {
  openSolid(9, 5);
  points({{0, 0}, {4, 0}, {7, 3}, {3, 3}});
  send(kOpQuadPattern);
  EXPECT_EQ(picture(), rowsOf({".........", "...#####.", "..#####..", ".#####...", "#####...."}));
  send(kOpClear);
  clipTo(0, 0, 5, 4);
  send(kOpQuadPattern);
  EXPECT_EQ(picture(), rowsOf({".........", "...###...", "..####...", ".#####...", "#####...."}));
  // One row only: from the leftmost to the rightmost point.
  send(kOpClear);
  clipTo(0, 0, 8, 4);
  points({{2, 2}, {5, 2}, {6, 2}, {1, 2}});
  send(kOpQuadPattern);
  EXPECT_EQ(picture(), rowsOf({".........", ".........", ".######..", ".........", "........."}));
}

TEST_F(RasterFills, ParallelogramsWithSidesAlongColumnsCutTheirCorners) {
  openSolid(7, 7);
  yyGrState.M = 1;
  points({{1, 0}, {5, 2}, {5, 6}, {1, 4}});
  send(kOpQuadPattern);
  EXPECT_EQ(picture(), rowsOf({".....#.", "...###.", ".#####.", ".#####.", ".#####.", ".###...", ".#....."}));
}

TEST_F(RasterFills, FillStylesBelowThreeDrawNothingAndAnEllipseEndsTheShapes) {
  openSolid(6, 3);
  yyGrAttributes.FillStyle = 2;
  points({{0, 0}, {5, 2}});
  send(kOpRectanglePattern);
  EXPECT_EQ(yyGrState.M, 0);
  send(kOpEllipsePattern);
  EXPECT_EQ(yyGrState.M, -1);
  yyGrAttributes.FillStyle = 3;
  yyGrState.PageBegun = 0;
  points({{0, 0}, {5, 2}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"......", "......", "......"}));
  EXPECT_EQ(yyGrState.PageBegun, 0);
}

// Ellipses, pies and polygons ask to be sent as scan lines, which arrive as lines.
TEST_F(RasterFills, CurvedShapesComeBackAsScanLines) {
  for (const int opcode : {kOpEllipsePattern, kOpPiePattern, kOpPolygonPattern}) {
    SCOPED_TRACE(opcode);
    openSolid(8, 4);
    yyGrAttributes.FillFallback = 0;
    send(opcode);
    EXPECT_EQ(picture(), rowsOf({"........", "........", "........", "........"}));
    EXPECT_EQ(yyGrAttributes.FillFallback, 1);
    EXPECT_FLOAT_EQ(yyGrState.FillLineSpacing, 3.99f / 4.0f);
    line(6, 2, 1, 2);
    EXPECT_EQ(picture(), rowsOf({"........", ".######.", "........", "........"}));
    YYRasterPageFree();
  }
}

}  // namespace
