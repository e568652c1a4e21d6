#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

namespace {

struct Vertex {
  float x;
  float y;
  std::int32_t colour = 0;
};
using Outline = std::vector<Vertex>;

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kBlue = 0xFF0000;

// What the routines handed to the fill saw.
std::map<std::pair<int, int>, std::int32_t> pixels;
int pixelCalls = 0;
int triangleCalls = 0;
int trianglesSeen = 0;
std::int32_t triangleAnswer = 0;

void recordPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& colour) {
  ++pixelCalls;
  pixels[{x, y}] = colour;
}

void recordTriangles(std::span<const std::int32_t>, std::span<const std::int32_t>,
                     std::span<const std::int32_t>, std::span<const YYTriangle> triangles,
                     std::int32_t& status) {
  ++triangleCalls;
  trianglesSeen = static_cast<int>(triangles.size());
  status = triangleAnswer;
}

double shoelaceArea(std::span<const float> x, std::span<const float> y, int n) {
  double twice = 0.0;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    twice += static_cast<double>(x[i]) * y[j] - static_cast<double>(x[j]) * y[i];
  }
  return twice / 2.0;
}

bool insideOutline(std::span<const float> x, std::span<const float> y, int n, double px, double py) {
  bool inside = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    if ((y[i] > py) != (y[j] > py) && px < (x[j] - x[i]) * (py - y[i]) / (y[j] - y[i]) + x[i]) {
      inside = !inside;
    }
  }
  return inside;
}

class PolygonFill : public ::testing::Test {
 protected:
  // The real coordinates are those of the graphics point buffer.
  std::array<float, kPointBufferSize>& realX = yyGrPointBuffer.x;
  std::array<float, kPointBufferSize>& realY = yyGrPointBuffer.y;

  void SetUp() override {
    YYErrorStateReset();
    yyPolygonWork = YYPolygonWork{};
    yyGrPointBuffer = YYGrPointBuffer{};
    pixels.clear();
    pixelCalls = 0;
    triangleCalls = 0;
    trianglesSeen = 0;
    triangleAnswer = 0;
  }
  void TearDown() override { YYErrorStateReset(); }

  // The driver's part: real and device coordinates (here the same) and colours.
  void load(const Outline& outline) {
    for (std::size_t i = 0; i < outline.size(); ++i) {
      realX[i] = outline[i].x;
      realY[i] = outline[i].y;
      yyPolygonWork.deviceX[i] = static_cast<std::int32_t>(std::lround(outline[i].x));
      yyPolygonWork.deviceY[i] = static_cast<std::int32_t>(std::lround(outline[i].y));
      yyPolygonWork.colours[i] = outline[i].colour;
    }
    yyPolygonWork.vertexCount = static_cast<std::int32_t>(outline.size());
  }

  void fill(int shading, int xmin = 0, int ymin = 0, int xmax = 100, int ymax = 100) {
    YYPolygonFill(shading, xmin, ymin, xmax, ymax, recordPixel, recordTriangles);
  }

  int decompose(const Outline& outline) {
    load(outline);
    int count = -1;
    YYPolygonDecompose(realX, realY, yyPolygonWork.vertexCount, yyPolygonWork.triangles, count);
    return count;
  }

  // The triangles tile the outline: each lies inside it, turns its way, and
  // their areas sum to the outline's area.
  void expectTiling(int n, int count) {
    const double area = shoelaceArea(realX, realY, n);
    double sum = 0.0;
    for (int t = 0; t < count; ++t) {
      const YYTriangle& tri = yyPolygonWork.triangles[static_cast<std::size_t>(t)];
      std::vector<float> tx, ty;
      for (int v : tri) {
        ASSERT_GE(v, 1);
        ASSERT_LE(v, n);
        tx.push_back(realX[v - 1]);
        ty.push_back(realY[v - 1]);
      }
      const double part = shoelaceArea(tx, ty, 3);
      sum += part;
      // Three collinear vertices of the outline may leave a flat triangle.
      if (part == 0.0) continue;
      EXPECT_GT(part * area, 0.0) << "triangle " << t << " turns against the outline";
      EXPECT_TRUE(insideOutline(realX, realY, n, (tx[0] + tx[1] + tx[2]) / 3.0, (ty[0] + ty[1] + ty[2]) / 3.0))
          << "triangle " << t << " lies outside";
    }
    EXPECT_NEAR(sum, area, 1e-6 * std::abs(area));
  }
};

Outline reversed(Outline o) { return Outline(o.rbegin(), o.rend()); }

// A star with alternating radii: every second vertex is reflex.
Outline star(int points, double inner, double outer) {
  Outline o;
  for (int i = 0; i < 2 * points; ++i) {
    const double angle = std::numbers::pi * i / points;
    const double r = i % 2 == 0 ? outer : inner;
    o.push_back({static_cast<float>(500 + r * std::cos(angle)), static_cast<float>(500 + r * std::sin(angle))});
  }
  return o;
}

// A comb: a bar along the bottom with teeth pointing up.
Outline comb(int teeth) {
  Outline o{{0, 0}, {static_cast<float>(2 * teeth), 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    o.push_back({static_cast<float>(2 * t + 2), 10});
    o.push_back({static_cast<float>(2 * t + 1), 50});
    o.push_back({static_cast<float>(2 * t + 1), 10});
  }
  o.push_back({0, 50});
  return o;
}

TEST_F(PolygonFill, SimpleOutlinesSplitIntoNMinus2TrianglesThatTileThem) {
  const Outline square{{0, 0}, {0, 4}, {4, 4}, {4, 0}};
  const Outline ell{{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};
  const Outline arrow{{0, 0}, {5, 3}, {10, 0}, {5, 10}};
  // Collinear vertices on the bottom edge and a notch into the top.
  const Outline notched{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 3}, {2, 3}, {1.5f, 1}, {1, 3}, {0, 3}};
  const std::vector<std::pair<const char*, Outline>> cases = {
      {"square clockwise", square},
      {"square anticlockwise", reversed(square)},
      {"L hexagon", ell},
      {"L hexagon reversed", reversed(ell)},
      {"arrow head", arrow},
      {"notched with collinear edge", notched},
      {"notched reversed", reversed(notched)},
      {"star of 500 points", star(500, 200, 450)},
      {"comb of 332 teeth", comb(332)},
  };
  for (const auto& [name, outline] : cases) {
    SCOPED_TRACE(name);
    const int n = static_cast<int>(outline.size());
    const int count = decompose(outline);
    EXPECT_EQ(count, n - 2);
    expectTiling(n, count);
  }
  EXPECT_EQ(errorState.lastError, 0);
}

TEST_F(PolygonFill, AVertexOnAnAxisParallelEdgeBlocksTheEar) {
  // The first candidate ear (1, 2, 3) has the vertical edge 1-3, and the tip of
  // the notch, vertex 5, touches it: the ear is refused and (2, 3, 4) comes first.
  const Outline touching{{10, 4}, {12, 2}, {10, 0}, {8, 0}, {10, 2}, {8, 4}};
  EXPECT_EQ(decompose(touching), 4);
  EXPECT_EQ(yyPolygonWork.triangles[0], (YYTriangle{2, 3, 4}));
  expectTiling(6, 4);
}

TEST_F(PolygonFill, TheBowTieReportsError28AndStillDrawsWhatTheTopVertexFound) {
  YYErrorModeSet(kReportDebugLog);
  load({{0, 0, kRed}, {2, 2, kRed}, {2, 0, kRed}, {0, 2, kRed}});
  fill(1);
  EXPECT_EQ(errorState.lastError, 28);
  EXPECT_EQ(errorState.message.str(),
            "Internal routine:YYPolygonDecompose Error=  28:Borders cross in simple polygon definition");
  // From the top vertex (2, 2) one ear is clipped before the crossing stops it.
  EXPECT_EQ(yyPolygonWork.triangleCount, 1);
  EXPECT_EQ(yyPolygonWork.triangles[0], (YYTriangle{2, 3, 4}));
  EXPECT_GT(pixelCalls, 0);
}

TEST_F(PolygonFill, CoincidentNeighboursMergeIntoOneVertexOfTheirAverageColour) {
  load({{0, 0, 0x000010}, {1, 0, 0x102030}, {1, 0, 0x305070}, {1, 1, 0x000040}, {0, 1, 0x000050}});
  fill(kShadeTriangles);
  EXPECT_EQ(yyPolygonWork.vertexCount, 4);
  EXPECT_EQ(yyPolygonWork.colours[1], 0x203850);
  EXPECT_EQ(yyPolygonWork.colours[2], 0x000040);
  EXPECT_EQ(realX[2], 1.0f);  // the real coordinates moved down with the rest
  EXPECT_EQ(realY[2], 1.0f);
  EXPECT_EQ(yyPolygonWork.deviceX[3], 0);
  EXPECT_EQ(trianglesSeen, 2);

  // A run of three at the end, then a last vertex that repeats the first.
  SetUp();
  load({{0, 0, 0x000030}, {4, 0, 0x000000}, {4, 4, 0x000003}, {4, 4, 0x000006}, {4, 4, 0x00000A},
        {0, 4, 0x000010}, {0, 0, 0x000011}});
  fill(kShadeTriangles);
  EXPECT_EQ(yyPolygonWork.vertexCount, 4);
  EXPECT_EQ(yyPolygonWork.colours[2], 0x000006);  // (3 + 6 + 10) / 3, fraction dropped
  EXPECT_EQ(yyPolygonWork.colours[0], 0x000020);  // (0x30 + 0x11) / 2
  EXPECT_EQ(triangleCalls, 1);
}

TEST_F(PolygonFill, ThreeVerticesAreOneTriangleWithoutDecomposition) {
  // Vertex 2 is the top one, from which a decomposition would start.
  load({{0, 0, kRed}, {2, 8, kGreen}, {6, 0, kBlue}});
  fill(kShadeTriangles);
  EXPECT_EQ(yyPolygonWork.triangleCount, 1);
  EXPECT_EQ(yyPolygonWork.triangles[0], (YYTriangle{1, 2, 3}));
  EXPECT_EQ(trianglesSeen, 1);

  // Two coincident corners, or a closed triangle: nothing drawn, nothing reported.
  for (const Outline& flat : {Outline{{0, 0}, {0, 0}, {5, 5}}, Outline{{0, 0}, {5, 5}, {0, 0}}}) {
    SetUp();
    load(flat);
    fill(kShadeTriangles);
    EXPECT_EQ(triangleCalls + pixelCalls, 0);
    EXPECT_EQ(errorState.lastError, 0);
  }
}

TEST_F(PolygonFill, TheShadingWordChoosesBetweenTriangleAndPixelRoutines) {
  const Outline square{{0, 0, kRed}, {3, 0, kRed}, {3, 3, kBlue}, {0, 3, kBlue}};
  struct Case {
    int shading;
    std::int32_t answer;
    int triangleCalls;
    bool pixelsDrawn;
  };
  const Case cases[] = {{2, 0, 1, false}, {2, 1, 1, true}, {1, 0, 0, true}, {0, 0, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shading * 10 + c.answer);
    SetUp();
    triangleAnswer = c.answer;
    load(square);
    fill(c.shading);
    EXPECT_EQ(triangleCalls, c.triangleCalls);
    EXPECT_EQ(pixelCalls > 0, c.pixelsDrawn);
    if (c.pixelsDrawn) {
      EXPECT_EQ(pixels.size(), 16u);  // the 4 x 4 pixels, inclusive
    }
  }
  // A device without a triangle routine draws pixels with shading word 2 too.
  SetUp();
  load(square);
  YYPolygonFill(kShadeTriangles, 0, 0, 9, 9, recordPixel, nullptr);
  EXPECT_EQ(pixels.size(), 16u);
}

// The shader on a small grid: rows from the top (y 4) down to y 0.
std::vector<std::string> grid(int width, int height) {
  std::vector<std::string> rows;
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) row += pixels.count({x, y}) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST_F(PolygonFill, TheShaderCoversTheTriangleAndBlendsTheCornerColours) {
  load({{0, 0, kRed}, {4, 0, kGreen}, {0, 4, kBlue}});
  YYShadeTriangle({1, 2, 3}, 0, 0, 7, 7, recordPixel);
  EXPECT_EQ(grid(6, 6), (std::vector<std::string>{"......", "#.....", "##....", "###...", "####..", "#####."}));
  EXPECT_EQ(pixelCalls, 15);  // each pixel once
  EXPECT_EQ(pixels[std::make_pair(0, 0)], kRed);
  EXPECT_EQ(pixels[std::make_pair(4, 0)], kGreen);
  EXPECT_EQ(pixels[std::make_pair(0, 4)], kBlue);
  EXPECT_EQ(pixels[std::make_pair(2, 0)], 0x007F7F);  // half red, half green
  EXPECT_EQ(pixels[std::make_pair(0, 2)], 0x7F007F);  // half red, half blue

  // Clipped: only pixels inside the rectangle, each in the colour it had before.
  const auto whole = pixels;
  pixels.clear();
  YYShadeTriangle({1, 2, 3}, 1, 1, 2, 3, recordPixel);
  EXPECT_EQ(grid(6, 6), (std::vector<std::string>{"......", "......", ".#....", ".##...", ".##...", "......"}));
  for (const auto& [at, colour] : pixels) EXPECT_EQ(colour, whole.at(at)) << at.first << "," << at.second;

  // Wholly outside the rectangle, or flat on one row: no pixel.
  pixels.clear();
  YYShadeTriangle({1, 2, 3}, 10, 0, 20, 20, recordPixel);
  YYShadeTriangle({1, 2, 3}, 0, 5, 20, 20, recordPixel);
  load({{0, 2}, {5, 2}, {9, 2}});
  YYShadeTriangle({1, 2, 3}, 0, 0, 20, 20, recordPixel);
  EXPECT_TRUE(pixels.empty());
}

TEST_F(PolygonFill, AVertexCountAboveTheWorkAreaIsCutTo1000) {
  load(star(500, 200, 450));
  yyPolygonWork.vertexCount = 1500;
  fill(kShadeTriangles);
  EXPECT_EQ(yyPolygonWork.vertexCount, 1000);
  EXPECT_EQ(trianglesSeen, 998);

  SetUp();
  load(star(500, 200, 450));
  yyPolygonWork.vertexCount = -5;
  fill(kShadeTriangles);
  EXPECT_EQ(yyPolygonWork.vertexCount, 0);
  EXPECT_EQ(triangleCalls + pixelCalls, 0);

  // The decomposition never writes past the list it is given.
  load(star(500, 200, 450));
  std::vector<YYTriangle> shortList(10);
  int count = 0;
  YYPolygonDecompose(realX, realY, 1000, shortList, count);
  EXPECT_EQ(count, 10);
}

}  // namespace
