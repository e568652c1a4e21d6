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

#include "support/plot_file_fixture.h"
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

using plot_fixture::bufferPoints;
using plot_fixture::colour;
using plot_fixture::option;
using plot_fixture::point;
using plot_fixture::send;
using plot_fixture::setOption;
using plot_fixture::text;

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

// Every test starts from the graphics defaults on an 800 x 600 surface in RGB
// colours, with no hardcopy open and errors counted silently.
class WindowsDrivers : public ::testing::Test {
 protected:
  void SetUp() override {
    plot_fixture::resetGraphics();
    plot_fixture::setSurface(kSurfaceWidth, kSurfaceHeight, kSurfaceWidth - 0.01f, kSurfaceHeight - 0.01f);
    YYGrState& s = yyGrState;
    s.SurfaceAspect = static_cast<float>(kSurfaceWidth) / kSurfaceHeight;
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
    plot_fixture::clearHardcopyChoices();
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyChosenPrinter = YYChosenPrinter{};
  }

  static void initialise(int driver) { plot_fixture::initialise(driver); }
  // Begins a plot on output (a file name, or blank), then sends the attributes
  // a hardcopy start sends.
  static void beginPlot(std::string_view output, int clipboard = 0, int titled = 0) {
    yyGrState.N = clipboard;
    yyGrState.X1 = titled;
    if (!plot_fixture::openPlot(output)) return;
    plot_fixture::sendStartAttributes();
  }
  static void endPlot() {
    if (yyGrState.PageBegun != 0) {
      yyGrState.N = 1;
      send(kOpEndPage);
    }
    plot_fixture::closePlot();
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
