#pragma once
// Tests play the drawing program for the Windows printer and metafile
// drivers: they fill the graphics records, select a driver and hand it opcodes
// through the hardcopy dispatcher, as a hardcopy start would.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/system_info.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

namespace windows_drivers {

constexpr int kSurfaceWidth = 800;
constexpr int kSurfaceHeight = 600;

inline void send(std::int32_t opcode) {
  YYGrPrimitive primitive = opcode;
  YYHCDISPATCH(primitive);
}

inline void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }
inline std::int32_t option(int code) { return hardcopyOption(code); }

// The current colour as an RGB value (red in the low byte).
inline void colour(std::int32_t rgb) {
  yyGrAttributes.PreviousRGB = yyGrAttributes.CurrentRGB;
  yyGrAttributes.CurrentRGB = rgb;
  send(kOpColour);
}

inline void point(int k, float x, float y) {
  float* xs[] = {&yyGrState.R5, &yyGrState.R6, &yyGrState.R7, &yyGrState.R8};
  float* ys[] = {&yyGrState.R1, &yyGrState.R2, &yyGrState.R3, &yyGrState.R4};
  *xs[k - 1] = x;
  *ys[k - 1] = y;
}

inline void bufferPoints(const std::vector<std::pair<float, float>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].first;
    yyGrPointBuffer.y[i] = points[i].second;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
}

// A pie or arc: centre, radii, start and end angle in radians, start and sweep in degrees.
struct Sector {
  float x, y, rx, ry, start, end, startDegrees, sweepDegrees;
};
inline void sector(const Sector& c) {
  point(1, c.x, c.y);
  yyGrState.R6 = c.rx;
  yyGrState.R2 = c.ry;
  yyGrState.R7 = c.start;
  yyGrState.R3 = c.end;
  yyGrState.R8 = c.startDegrees;
  yyGrState.R4 = c.sweepDegrees;
}

inline void text(std::string_view words, float x1, float y1, float x2, float y2) {
  TEXT = words;
  yyGrState.X1 = static_cast<std::int32_t>(words.size());
  point(1, x1, y1);
  point(3, x2, y2);
  send(kOpText);
}

// Every test starts from the graphics defaults on an 800 x 600 surface in RGB
// colours, with no hardcopy open and errors counted silently.
class WindowsDrivers : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = kSurfaceWidth;
    s.SurfaceHeight = kSurfaceHeight;
    s.SurfaceWidthReal = kSurfaceWidth - 0.01f;
    s.SurfaceHeightReal = kSurfaceHeight - 0.01f;
    s.SurfaceAspect = static_cast<float>(kSurfaceWidth) / kSurfaceHeight;
    s.ViewportLeftReal = 0.0f;
    s.ViewportBottomReal = 0.0f;
    s.ViewportRightReal = s.SurfaceWidthReal;
    s.ViewportTopReal = s.SurfaceHeightReal;
    s.AreaWidthDevice = kSurfaceWidth;
    s.AreaHeightDevice = kSurfaceHeight;
    s.CharHeight = 0.05f;
    s.CharWidth = 0.015f;
    s.TextFont = 2;
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0;
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    if (yyGradientFill == nullptr) {
      yyGradientFill = reinterpret_cast<GradientFillFunction>(
          reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("msimg32.dll"), "GradientFill")));
    }
    for (auto& word : yyHardcopyOptions) word = 0;
    yyPlotTitle = "";
    yyHardcopyOutputName = "";
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyChosenPrinter = YYChosenPrinter{};
  }

  static void initialise(int driver) {
    yyHardcopyDriverNumber = driver;
    yyGrState.N = 0;
    yyGrState.M = 0;
    send(kOpInitialise);
  }
  // Begins a plot on output (a file name, or blank), then sends the attributes
  // a hardcopy start sends.
  static void beginPlot(std::string_view output, int clipboard = 0, int titled = 0) {
    TEXT = output;
    yyGrState.N = clipboard;
    yyGrState.X1 = titled;
    yyGrState.M = 1;
    yyGrAttributes.HardcopyOpen = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
    if (yyGrAttributes.HardcopyOpen == 0) return;
    for (std::int32_t opcode : {kOpLineWidth, kOpLineStyle, kOpLineJoin, kOpLineCap, kOpClip, kOpCharSize, kOpColour}) {
      send(opcode);
    }
  }
  static void endPlot() {
    if (yyGrState.PageBegun != 0) {
      yyGrState.N = 1;
      send(kOpEndPage);
    }
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
  }

  // A small scene of every kind of drawing step: lines of two widths and a
  // dashed polyline, a box, a polygon, an ellipse, a pie, an arc, text at two
  // angles and a shaded triangle.
  static void drawScene() {
    YYGrState& s = yyGrState;
    YYGrAttributes& a = yyGrAttributes;
    colour(0x0000FF);
    point(1, 50, 550);
    point(2, 350, 550);
    send(kOpLine);
    setOption(9, 20);
    send(kOpLineWidth);
    point(1, 50, 520);
    point(2, 350, 520);
    send(kOpLine);
    setOption(9, 5);
    send(kOpLineWidth);
    a.LineStyle = 2;
    send(kOpLineStyle);
    bufferPoints({{50, 480}, {150, 440}, {250, 480}, {350, 440}});
    send(kOpPolyline);
    a.LineStyle = 0;
    send(kOpLineStyle);

    a.FillStyle = 4;
    colour(0xFF0000);
    point(1, 450, 420);
    point(2, 750, 560);
    send(kOpRectanglePattern);
    colour(0x00A000);
    bufferPoints({{450, 300}, {600, 380}, {750, 300}, {680, 220}, {520, 220}});
    send(kOpPolygonPattern);
    colour(0xC000C0);
    point(1, 200, 300);
    s.R6 = 100;
    s.R7 = 0.6f;
    send(kOpEllipsePattern);
    colour(0x0080FF);
    sector({600, 120, 90, 90, 0.0f, 1.5f, 0.0f, 86.0f});
    send(kOpPiePattern);
    a.FillStyle = 0;
    a.FillOutline = 3;
    colour(0x000000);
    sector({400, 150, 60, 60, 0.5f, 3.0f, 28.6f, 143.0f});
    send(kOpArc);

    send(kOpCharSize);
    text("Carrowmapper scene", 40, 60, 340, 60);
    s.CharAngle = 90.0f;
    s.CharCos = 0.0f;
    s.CharSinOverAspect = 1.0f;
    send(kOpCharAngle);
    text("Upward", 780, 60, 780, 300);
    s.CharAngle = 0.0f;
    s.CharCos = 1.0f;
    s.CharSinOverAspect = 0.0f;
    send(kOpCharAngle);

    yyPolygonWork = YYPolygonWork{};
    bufferPoints({{250, 60}, {270, 60}, {260, 75}});
    yyPolygonWork.vertexCount = 3;
    yyPolygonWork.colours[0] = 0x0000FF;
    yyPolygonWork.colours[1] = 0x00FF00;
    yyPolygonWork.colours[2] = 0xFF0000;
    send(kOpShadedPolygon);
  }
};

}  // namespace windows_drivers
