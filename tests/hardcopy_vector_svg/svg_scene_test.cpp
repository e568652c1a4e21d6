// The shared scene through the SVG driver, with the test in the place of the
// drawing program: it sends each solid shape as the driver's patterned code
// with a solid fill style followed by its end-of-fill record, wraps every
// text in a text group, and, as the driver describes itself without shading,
// sends the shaded polygon as a plain filled polygon.  The checker script
// renders the file and compares its ink with the screen's.
#include <algorithm>
#include <string>

#include "support/graphics_scene.h"
#include "svg_fixture.h"
#include "toolkit/graphics/polygon_fill.h"

namespace svg_tests {
namespace {

bool isSolidShape(std::int32_t opcode) {
  return opcode >= kOpEllipseSolid && opcode <= kOpPolygonSolid && opcode % 2 == 0;
}

void filledShape(std::int32_t patterned) {
  YYGrAttributes& a = yyGrAttributes;
  const std::int32_t style = a.FillStyle;
  a.FillStyle = 4;
  yyGrState.M = 0;
  YYGrPrimitive op = patterned;
  YYGSVG(op);
  yyGrState.M = -1;
  op = patterned;
  YYGSVG(op);
  yyGrState.M = 0;
  a.FillStyle = style;
}

void drawingProgram(YYGrPrimitive& primitive) {
  if (isSolidShape(primitive)) {
    filledShape(primitive - 1);
  } else if (primitive == kOpShadedPolygon) {
    ASSERT_EQ(yyGrState.ShadeMode[kHardcopySide], 0);
    yyGrState.N = yyPolygonWork.vertexCount;
    filledShape(kOpPolygonPattern);
  } else if (primitive == kOpText) {
    yyGrState.X2 = 3;
    YYGSVG(primitive);
  } else {
    YYGSVG(primitive);
  }
}

TEST_F(SvgDriver, SceneIsWrittenAsOneWellFormedDocument) {
  begin("scene.svg");
  drawGraphicsScene(drawingProgram);
  const std::vector<std::string> lines = finish();
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  EXPECT_NE(all.find(">Scene</text>"), std::string::npos);
  EXPECT_NE(all.find("rotate(-90)\">Up</text>"), std::string::npos);
  for (const char* element : {"<line ", "<polyline ", "<polygon ", "<ellipse ", "<path "}) {
    EXPECT_NE(all.find(element), std::string::npos) << element;
  }
  std::size_t opened = 0;
  std::size_t closed = 0;
  for (std::size_t at = all.find("<g "); at != std::string::npos; at = all.find("<g ", at + 1)) ++opened;
  for (std::size_t at = all.find("</g>"); at != std::string::npos; at = all.find("</g>", at + 1)) ++closed;
  EXPECT_EQ(opened, closed);
}

}  // namespace
}  // namespace svg_tests
