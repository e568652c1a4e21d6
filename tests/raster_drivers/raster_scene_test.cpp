// The shared test scene through the raster image driver, written as a PNG
// beside the screen's render for the comparison of their ink masks
// (check_raster_images.py runs tests/support/scene_mask.py on it).
//
// The rasteriser leaves to the drawing program what it does not draw itself:
// solid shapes come as their patterned twins, ellipses, pies and polygons are
// sent back as scan lines when the driver asks for that, arcs as polylines
// and text as strokes of the built-in font.  This file plays that program.

#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "raster_fixture.h"
#include "support/graphics_scene.h"
#include "toolkit/drivers/raster_image_driver.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_reading.h"
#include "toolkit/graphics/stroke_font.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kArcSteps = 48;

struct Point {
  float x, y;
};
using Outline = std::vector<Point>;

void toDriver(YYGrOpcode opcode) {
  YYGrPrimitive op = opcode;
  YYGRASTIMG(op);
}

Outline arcPoints(float cx, float cy, float rx, float ry, float from, float to) {
  Outline points;
  for (int i = 0; i <= kArcSteps; ++i) {
    const float a = from + (to - from) * static_cast<float>(i) / kArcSteps;
    points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return points;
}

void polyline(const Outline& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].x;
    yyGrPointBuffer.y[i] = points[i].y;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
  toDriver(kOpPolyline);
}

// Scan lines spacing apart across a closed outline, as line records.
void scanLines(const Outline& outline, float spacing) {
  float low = outline[0].y;
  float high = outline[0].y;
  for (const Point& p : outline) {
    low = std::min(low, p.y);
    high = std::max(high, p.y);
  }
  for (float y = low + spacing / 2; y <= high; y += spacing) {
    std::vector<float> crossings;
    for (std::size_t i = 0; i < outline.size(); ++i) {
      const Point& a = outline[i];
      const Point& b = outline[(i + 1) % outline.size()];
      if ((a.y <= y) != (b.y <= y)) crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      yyGrState.R5 = crossings[i];
      yyGrState.R6 = crossings[i + 1];
      yyGrState.R1 = yyGrState.R2 = y;
      toDriver(kOpLine);
    }
  }
}

// The outline of a filled shape from its operands, before the driver is called.
Outline outlineOf(YYGrOpcode patterned) {
  const YYGrState& s = yyGrState;
  switch (patterned) {
    case kOpEllipsePattern: return arcPoints(s.R5, s.R1, s.R6, s.R6 * s.R7, 0.0f, 2 * std::numbers::pi_v<float>);
    case kOpPiePattern: {
      Outline pie = arcPoints(s.R5, s.R1, s.R6, s.R2, s.R7, s.R3);
      pie.push_back({s.R5, s.R1});
      return pie;
    }
    case kOpPolygonPattern: {
      Outline polygon;
      for (int i = 0; i < s.N; ++i) polygon.push_back({yyGrPointBuffer.x[static_cast<std::size_t>(i)], yyGrPointBuffer.y[static_cast<std::size_t>(i)]});
      return polygon;
    }
    default: return {};
  }
}

// A solid shape as the patterned one with a solid fill style; when the driver
// asks for scan lines it gets them, and then the record that ends the fill.
void filledShape(YYGrOpcode solid) {
  const auto patterned = static_cast<YYGrOpcode>(solid - 1);
  const Outline outline = outlineOf(patterned);
  yyGrAttributes.FillStyle = 4;
  yyGrAttributes.FillFallback = 0;
  yyGrState.M = 0;
  toDriver(patterned);
  if (yyGrAttributes.FillFallback == 0) return;
  scanLines(outline, yyGrState.FillLineSpacing);
  yyGrAttributes.FillFallback = 0;
  yyGrState.M = -1;
  toDriver(patterned);
  yyGrState.M = 0;
}

void rasterSceneProgram(YYGrPrimitive& op) {
  const YYGrState& s = yyGrState;
  switch (op) {
    case kOpEllipseSolid:
    case kOpQuadSolid:
    case kOpRectangleSolid:
    case kOpTriangleSolid:
    case kOpPieSolid:
    case kOpPolygonSolid: filledShape(static_cast<YYGrOpcode>(op)); break;
    case kOpArc: polyline(arcPoints(s.R5, s.R1, s.R6, s.R2, s.R7, s.R3)); break;
    case kOpText: {
      const std::string words(TEXT.view().substr(0, static_cast<std::size_t>(std::clamp(s.X1, 0, TEXT.length()))));
      YYSTROKETEXT(s.R5, s.R1, words, nullptr, YYGRASTIMG);
      break;
    }
    default: YYGRASTIMG(op); break;
  }
}

using RasterScene = RasterPageTest;

TEST_F(RasterScene, TheSceneIsRenderedAsAPng) {
  YYGrState& s = yyGrState;
  s.SurfaceWidth = kWidth;
  s.SurfaceHeight = kHeight;
  s.SurfaceWidthReal = kWidth - 0.01f;
  s.SurfaceHeightReal = kHeight - 0.01f;
  s.AreaWidthDevice = kWidth;
  s.AreaHeightDevice = kHeight;
  s.ViewportRightReal = s.SurfaceWidthReal;
  s.ViewportTopReal = s.SurfaceHeightReal;
  s.CharCos = 1.0f;
  YYSTROKEFONTINIT();
  yyGrAttributes.HardcopyOpen = 1;
  toDriver(kOpInitialise);
  hardcopyOption(kOptPageWidth) = kWidth;
  hardcopyOption(kOptPageHeight) = kHeight;
  hardcopyOption(kOptColourDepth) = 24;
  hardcopyOption(kOptImageFormat) = 3;
  const fs::path folder = "../scene_renders";
  fs::create_directories(folder);
  const fs::path path = folder / "raster.png";
  TEXT = path.string();
  s.M = 1;
  toDriver(kOpBeginPlot);
  s.M = 0;
  ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1);
  for (const YYGrOpcode opcode : {kOpClip, kOpLineWidth, kOpLineStyle}) toDriver(opcode);
  drawGraphicsScene(rasterSceneProgram);
  toDriver(kOpEndPage);
  toDriver(kOpEndPlot);

  // The render read back: ink in every quarter of the scene, and colour.
  std::array<std::int32_t, 5> info{};
  YYGrFileInfo(path.string(), info, 5);
  ASSERT_EQ(info[1], kWidth);
  ASSERT_EQ(info[2], kHeight);
  std::vector<std::int32_t> colours(kWidth * kHeight);
  errorState.lastError = 0;
  IGrLoadImageData(path.string(), colours);
  ASSERT_EQ(errorState.lastError, 0);
  RgbRaster render{kWidth, kHeight, {}};
  for (const std::int32_t c : colours) {
    render.rgb.insert(render.rgb.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
                                         static_cast<std::uint8_t>((c >> 16) & 0xFF)});
  }
  const InkMask quarters = inkMask(render, 2, 2, 0.01);
  EXPECT_EQ(quarters.picture(), "##\n##\n");
  EXPECT_NE(std::count(colours.begin(), colours.end(), yyColourTable[111]), 0);  // the green polygon
}

}  // namespace
