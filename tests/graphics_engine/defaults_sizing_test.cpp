// Graphics defaults, the routes and the sizing of the drawing surface.
#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"

namespace {

using GraphicsDefaults = GraphicsTables;

struct OptionCase {
  const char* options;
  int screenOn;
};

TEST_F(GraphicsDefaults, OptionTextSwitchesTheScreenDriverAndKeepsTheColourOrder) {
  const OptionCase cases[] = {{" ", 1}, {"h", 0}, {"H", 0}, {"p", 1}, {"xhp", 0}};
  for (const OptionCase& c : cases) {
    yyGrAttributes.DeviceColourCount = 16;
    YYGraphicsDefaults(c.options);
    const YYGrAttributes& a = yyGrAttributes;
    EXPECT_EQ(a.ScreenDriverOn, c.screenOn) << c.options;
    // The screen's colour set-up runs only with the screen on.
    EXPECT_EQ(a.DeviceColourCount, c.screenOn == 1 ? 256 : 16) << c.options;
    EXPECT_EQ(a.PreviousColourNumber, 0) << c.options;
    EXPECT_EQ(a.ColourNumber, 223) << c.options;
    EXPECT_EQ(a.PreviousRGB, 16777215) << c.options;
    EXPECT_EQ(a.CurrentRGB, 0) << c.options;
    EXPECT_EQ(a.TargetKind, kTargetWindow) << c.options;
    EXPECT_EQ(a.FillPatternGroup, 1) << c.options;
    EXPECT_EQ(yyGrState.M, 0) << c.options;
    EXPECT_FLOAT_EQ(yyGrState.CharHeight, 0.04f) << c.options;
    EXPECT_EQ(yyGrState.TextAlign, 1) << c.options;
    EXPECT_FLOAT_EQ(yyGrState.StrokeWidthsLow['A' - 32], 1.11f) << c.options;
  }
}

TEST_F(GraphicsDefaults, ScreenDescribesItselfAtOpcodeOne) {
  const YYGrState& s = yyGrState;
  EXPECT_EQ(s.ScreenCaps.view(), kScreenCaps);
  EXPECT_EQ(s.FullCircle[kScreenSide], 360);
  EXPECT_EQ(s.DeviceWord5[kScreenSide], 8);
  EXPECT_FLOAT_EQ(s.DeviceWord6[kScreenSide], 1.7E38f);
}

TEST_F(GraphicsDefaults, PWithAnActiveDriverKeepsItsOptionsAndName) {
  yyGrState.ActiveDriver = kWindowsPrinterDriver;
  hardcopyOption(3) = 7;
  hardcopyOption(29) = -2;
  yyHardcopyOutputName = "C:\\plots\\mine.plt";
  YYGraphicsDefaults("P");
  EXPECT_EQ(hardcopyOption(3), 7);
  EXPECT_EQ(hardcopyOption(29), -2);
  EXPECT_EQ(yyHardcopyOutputName.str(), "C:\\plots\\mine.plt");
  EXPECT_EQ(yyGrState.M, 0);
  // Without "P" the driver starts from fresh options: its own page offset
  // (72 points with a printer, none without), not the kept one.
  YYGraphicsDefaults(" ");
  EXPECT_EQ(hardcopyOption(3), yyDumpSettings.printerPresent == 1 ? 72 : 0);
  EXPECT_EQ(hardcopyOption(29), 0);
  yyGrState.ActiveDriver = 0;
  yyHardcopyOutputName = "";
}

TEST_F(GraphicsDefaults, PrinterDriverAnswersTheProbeOnly) {
  yyGrState.N = kDriverProbe;
  yyGrState.ResolutionX = 1234;
  YYGrPrimitive op = kOpInitialise;
  YYHCDISPATCH(op);
  EXPECT_EQ(yyGrState.N, kWindowsPrinterDriver);
  EXPECT_EQ(yyGrState.ResolutionX, 1234);
}

TEST_F(GraphicsDefaults, ResizeToHeightZero) {
  YYGraphicsAreaResize(kTargetWindow, 0, 300, 0);
  EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, 1.0f);
  EXPECT_EQ(yyGrAttributes.DeviceMaxY, -1);
  EXPECT_EQ(yyGrAttributes.DeviceMaxX, 299);
  EXPECT_NEAR(yyGrState.SurfaceHeightReal, -0.01f, 1e-6f);
  EXPECT_EQ(yyGrState.M, -1);
  EXPECT_EQ(yyGrAttributes.ClearWidth, 300);
  EXPECT_EQ(yyGrAttributes.ClearHeight, 0);
}

TEST_F(GraphicsDefaults, ResizeOfAnotherTargetChangesNothing) {
  YYGraphicsAreaResize(kTargetWindow, 3, 100, 100);
  YYGraphicsAreaResize(kTargetBitmap, 0, 100, 100);
  YYWindowResized(5, 100, 100);
  EXPECT_EQ(yyGrState.SurfaceWidth, 640);
  EXPECT_EQ(yyGrState.SurfaceHeight, 480);
  EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, 640.0f / 480.0f);
}

TEST_F(GraphicsDefaults, ResizeKeepsTheAreaFractionsAndUnits) {
  IGrArea(0.5f, 0.0f, 1.0f, 1.0f);
  IGrUnits(10.0f, 0.0f, 20.0f, 5.0f);
  const float before = yyGrState.UserScaleX;
  YYWindowResized(0, 320, 240);
  EXPECT_EQ(windowTable.clientWidth, 320);
  EXPECT_FLOAT_EQ(yyGrState.AreaX1, 0.5f);
  EXPECT_FLOAT_EQ(yyGrState.UnitsX1, 10.0f);
  EXPECT_FLOAT_EQ(yyGrState.UnitsX2, 20.0f);
  EXPECT_NEAR(yyGrState.UserScaleX, before / 2.0f, 0.01f);
  EXPECT_EQ(yyGrState.ViewportLeft, 159);
}

}  // namespace
