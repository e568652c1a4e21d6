// The shared scene through the DXF driver, with the test in the place of the
// drawing program.  It sends each solid shape as the driver's patterned code
// with a solid fill style; where the driver answers with a request for lines
// (FillFallback 2, or M = -1 for an outline it cannot write), it hatches the
// shape with horizontal lines at the spacing asked for, as the program would.
// The driver describes itself without shading, so the shaded polygon goes as
// a plain filled polygon.  The checker script renders the file and compares
// its ink with the screen's.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "dxf_fixture.h"
#include "support/graphics_scene.h"
#include "toolkit/graphics/polygon_fill.h"

namespace dxf_tests {
namespace {

struct Vertex {
  float x, y;
};

constexpr int kCurveSteps = 72;

// The outline of a patterned shape record, in surface units.
std::vector<Vertex> outlineOf(std::int32_t opcode) {
  const YYGrState& s = yyGrState;
  std::vector<Vertex> outline;
  switch (opcode) {
    case kOpEllipsePattern:
      for (int i = 0; i < kCurveSteps; ++i) {
        const float t = 6.2831853f * static_cast<float>(i) / kCurveSteps;
        outline.push_back({s.R5 + s.R6 * std::cos(t), s.R1 + s.R2 * std::sin(t)});
      }
      break;
    case kOpPiePattern:
      outline.push_back({s.R5, s.R1});
      for (int i = 0; i <= kCurveSteps; ++i) {
        const float t = s.R7 + (s.R3 - s.R7) * static_cast<float>(i) / kCurveSteps;
        outline.push_back({s.R5 + s.R6 * std::cos(t), s.R1 + s.R2 * std::sin(t)});
      }
      break;
    case kOpRectanglePattern:
      outline = {{s.R5, s.R1}, {s.R6, s.R1}, {s.R6, s.R2}, {s.R5, s.R2}};
      break;
    default:
      for (int i = 0; i < std::clamp(s.N, 0, kPointBufferSize); ++i) {
        outline.push_back({yyGrPointBuffer.x[static_cast<std::size_t>(i)], yyGrPointBuffer.y[static_cast<std::size_t>(i)]});
      }
      break;
  }
  return outline;
}

void lineThroughDriver(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  s.R5 = x1;
  s.R1 = y1;
  s.R6 = x2;
  s.R2 = y2;
  YYGrPrimitive op = kOpLine;
  YYGDXF(op);
}

// Horizontal lines at the spacing asked for, inside the outline (even-odd).
void hatch(const std::vector<Vertex>& outline, float spacing) {
  if (outline.size() < 3 || !(spacing > 0.0f)) return;
  float bottom = outline[0].y;
  float top = outline[0].y;
  for (const Vertex& v : outline) {
    bottom = std::min(bottom, v.y);
    top = std::max(top, v.y);
  }
  for (float y = bottom + spacing / 2.0f; y < top; y += spacing) {
    std::vector<float> crossings;
    for (std::size_t i = 0; i < outline.size(); ++i) {
      const Vertex& a = outline[i];
      const Vertex& b = outline[(i + 1) % outline.size()];
      if ((a.y <= y) != (b.y <= y)) crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) lineThroughDriver(crossings[i], y, crossings[i + 1], y);
  }
}

void filledShape(std::int32_t patterned) {
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  const std::int32_t style = a.FillStyle;
  a.FillStyle = 4;
  a.FillFallback = 0;
  s.M = 0;
  const std::vector<Vertex> outline = outlineOf(patterned);
  YYGrPrimitive op = patterned;
  YYGDXF(op);
  if (a.FillFallback == 2 || s.M == -1) hatch(outline, s.FillLineSpacing);
  s.M = -1;
  op = patterned;
  YYGDXF(op);
  s.M = 0;
  a.FillFallback = 0;
  a.FillStyle = style;
}

bool isSolidShape(std::int32_t opcode) {
  return opcode >= kOpEllipseSolid && opcode <= kOpPolygonSolid && opcode % 2 == 0;
}

void drawingProgram(YYGrPrimitive& primitive) {
  if (isSolidShape(primitive)) {
    filledShape(primitive - 1);
  } else if (primitive == kOpShadedPolygon) {
    ASSERT_EQ(yyGrState.ShadeMode[kHardcopySide], 0);
    yyGrState.N = yyPolygonWork.vertexCount;
    filledShape(kOpPolygonPattern);
  } else {
    YYGDXF(primitive);
    ASSERT_NE(yyGrState.M, 2) << "an arc the driver could not write";
  }
}

TEST_F(DxfDriver, SceneIsWrittenWithEveryKindOfEntity) {
  begin("scene.dxf");
  drawGraphicsScene(drawingProgram);
  const Lines lines = finish();
  for (const char* entity : {"LINE", "POLYLINE", "SOLID", "ARC", "TEXT"}) {
    EXPECT_TRUE(plot_fixture::hasLine(lines, entity)) << entity;
  }
  EXPECT_TRUE(plot_fixture::hasLine(lines, "Scene"));
  EXPECT_TRUE(plot_fixture::hasLine(lines, "Up"));
  // The hatch lines of the filled pentagon, ellipse, pie and shaded polygon.
  EXPECT_GT(std::count(lines.begin(), lines.end(), "LINE"), 200);
}

}  // namespace
}  // namespace dxf_tests
