// The shared test scene through the PostScript driver, as a rotated
// PostScript page and as an upright EPS picture.  Ghostscript renders both
// afterwards and their ink is compared with the screen's render.
#include <algorithm>
#include <string>

#include "postscript_fixture.h"
#include "support/graphics_scene.h"
#include "toolkit/graphics/polygon_fill.h"

namespace postscript_tests {
namespace {

// The drawing program's part for a device that fills only the patterned
// shape codes and has no shading: solid shapes go as patterned fills, the
// width of a line goes through the option the driver reads, and a shaded
// polygon is filled in the mean of its vertex colours.
void sceneStep(YYGrPrimitive& primitive) {
  YYGrAttributes& a = yyGrAttributes;
  switch (primitive) {
    case kOpEllipseSolid:
    case kOpQuadSolid:
    case kOpRectangleSolid:
    case kOpTriangleSolid:
    case kOpPieSolid:
    case kOpPolygonSolid: {
      YYGrPrimitive patterned = primitive - 1;
      a.FillStyle = 4;
      YYGPOST(patterned);
      a.FillStyle = 0;
      return;
    }
    case kOpLineWidth: hardcopyOption(kOptLineWidthTenths) = a.LineWidthTenths; break;
    case kOpShadedPolygon: {
      const YYPolygonWork& w = yyPolygonWork;
      const int n = std::max(1, w.vertexCount);
      int sums[3] = {0, 0, 0};
      for (int i = 0; i < n; ++i) {
        int rgb[3];
        YYRGBSPLIT(w.colours[static_cast<std::size_t>(i)], rgb[0], rgb[1], rgb[2]);
        for (int k = 0; k < 3; ++k) sums[k] += rgb[k];
      }
      const YYGrAttributes saved = a;
      a.ColourMode = kColourRgb;
      a.CurrentRGB = sums[0] / n + (sums[1] / n << 8) + (sums[2] / n << 16);
      a.FillStyle = 4;
      YYGrPrimitive fill = kOpPolygonPattern;
      YYGPOST(fill);
      a = saved;
      return;
    }
    default: break;
  }
  YYGPOST(primitive);
}

class Scene : public PostScriptDriver {
 protected:
  void drawScene() {
    YYGrState& s = yyGrState;
    s.SurfaceWidth = 800;
    s.SurfaceHeight = 600;
    s.SurfaceWidthReal = 799.99f;
    s.SurfaceHeightReal = 599.99f;
    s.ViewportRightReal = s.SurfaceWidthReal;
    s.ViewportTopReal = s.SurfaceHeightReal;
    s.AreaWidthDevice = 800.0f;
    s.AreaHeightDevice = 600.0f;
    yyGrAttributes.ColourMode = kColourIndexed;
    yyGrAttributes.ColourNumber = 223;  // black in the default table
    beginPlot(true);
    drawGraphicsScene(sceneStep);
    endPlot();
  }

  void expectWholeScene() const {
    const Lines all = lines();
    const auto has = [&all](std::string_view l) { return plot_fixture::hasLine(all, l); };
    EXPECT_TRUE(has(std::string("(") + kSceneText + ") lsh"));
    EXPECT_TRUE(has(std::string("(") + kSceneUpText + ") lsh"));
    EXPECT_TRUE(has("90.0 ro"));
    EXPECT_TRUE(has("[6 6] 3 d"));
    EXPECT_TRUE(has("1.50 w"));  // the wide line
    // Filled: the box, the pentagon, the ellipse, the pie, the clipped and the shaded polygon.
    EXPECT_EQ(std::count(all.begin(), all.end(), "cf"), 6);
  }
};

TEST_F(Scene, RotatedPostScriptPage) {
  yyPlotTitle = "Carrowmapper scene";
  outputName_ = "scene.ps";
  drawScene();
  expectWholeScene();
  EXPECT_EQ(lines().at(1), "%%Title: Carrowmapper scene");
}

TEST_F(Scene, UprightEpsPicture) {
  setOption(kOptEncapsulated, 1);
  setOption(kOptOrientation, 0);
  outputName_ = "scene.eps";
  drawScene();
  expectWholeScene();
  EXPECT_EQ(lines().at(1), "%%BoundingBox: 0 0 756 540");
}

}  // namespace
}  // namespace postscript_tests
