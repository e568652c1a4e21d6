// The HP-GL driver, opcode by opcode, against golden lines of its plot file.
#include <string>
#include <vector>

#include "hardcopy_vector_hpgl/plot_file_fixture.h"
#include "toolkit/drivers/hpgl_driver.h"
#include "toolkit/drivers/hpgl_line_writer.h"

namespace plot_files {
namespace {

using Lines = std::vector<std::string>;
constexpr int kBlack = 223;

class HpglDriver : public PlotFileTest {
 protected:
  void SetUp() override {
    PlotFileTest::SetUp();
    useModel(6);
  }
  void useModel(int model) {
    yyRasterDevice.plotterModel = model;
    initialise(kHpglDriver);
  }
  // A kind-H plotter that fills shapes itself, with the pen of black selected.
  void beginNativePlot() {
    setOption(kOptNativeFill, 1);
    beginPlot();
    colourNumber(kBlack);
  }
  static void solidFill() {
    yyGrAttributes.FillStyle = 4;
    yyGrAttributes.FillOutline = 0;
  }
};

TEST_F(HpglDriver, ProbeAnswersOnlyTheDriverNumber) {
  yyGrState.ActiveDriver = 0;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, 1);
  EXPECT_EQ(yyGrState.ActiveDriver, 0);
}

struct ModelCase {
  int model;
  std::int32_t pens;
  const char* caps;
  std::int32_t pageWidth, pageHeight, offsetX;  // options 1, 2, 3 in points
  const char* ipLine;
  const char* dashLine;  // line style 1
};

class HpglModels : public HpglDriver, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(HpglModels, DescribeTheDeviceAndWriteTheHeader) {
  const ModelCase& c = GetParam();
  useModel(c.model);
  const YYGrState& g = yyGrState;
  EXPECT_EQ(g.ActiveDriver, 1);
  EXPECT_EQ(g.HardcopyColourCount, c.pens);
  EXPECT_EQ(g.HpglWord, c.pens);
  EXPECT_EQ(g.HardcopyColourMax, 9);
  EXPECT_EQ(g.ResolutionX, 90);
  EXPECT_EQ(g.HardcopyToFile, 1);
  EXPECT_EQ(g.DeviceWord5[kHardcopySide], 7);
  EXPECT_EQ(std::string(g.HardcopyCaps.view()), c.caps);
  EXPECT_EQ(option(kOptPageWidth), c.pageWidth);
  EXPECT_EQ(option(kOptPageHeight), c.pageHeight);
  EXPECT_EQ(option(kOptOffsetX), c.offsetX);
  EXPECT_EQ(option(kOptHpglExtended), 1);
  EXPECT_EQ(option(kOptNativeFill), 0);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.plt");

  beginPlot();
  yyGrAttributes.LineStyle = 1;
  send(kOpLineStyle);
  const Lines expected = {
      std::string("IN; IP") + c.ipLine,
      std::string("RO0; IP") + c.ipLine,
      "DT\x04",
      "DI1. 0.",
      "SC-2 8 0 32760",
      "SC-13 " + std::to_string(c.model) + " 0 32760",
      "SC0 32760 0 32760",
      c.dashLine,
  };
  EXPECT_EQ(lines(), expected);
}

// Options in points of 1016/72 (1021/72 for models 2 and 3) plotter units;
// P1 and P2 are the options times that, truncated.
INSTANTIATE_TEST_SUITE_P(
    Kinds, HpglModels,
    ::testing::Values(
        ModelCase{1, 4, "00000100000000000010000000010", 742, 530, 28, " 395 0 10865 7478", "LT1 .3"},
        ModelCase{3, 6, "00000100000011100010001001010", 1111, 778, 28, " 397 0 16151 11032", "LT1 .3"},
        ModelCase{4, 4, "00000100000000000010000000000", 744, 542, 28, " 395 0 10893 7648", "LT1 .3"},
        ModelCase{5, 6, "00000100000010000010000000010", 743, 541, 28, " 395 0 10879 7634", "LT1 1"},
        ModelCase{6, 8, "00000100000011100010001001010", 771, 541, 0, " 0 0 10879 7634", "LT1 .3"}));

TEST_F(HpglDriver, LandscapeResetCodesAndLeadingBlanks) {
  setOption(kOptOrientation, 0);
  setOption(kOptResetFlags, 1);
  setOption(kOptLineBlank, 1);
  setOption(kOptLabelTerminator, 3);
  beginPlot();
  TEXT = "Hi";
  yyGrState.X1 = 2;
  send(kOpText);
  const Lines all = lines();
  ASSERT_GE(all.size(), 4u);
  EXPECT_EQ(all.front(), " \x1b.Y");
  EXPECT_EQ(all[2], " RO90; IP 0 0 10879 7634");
  EXPECT_EQ(all[3], " DT\x03");
  EXPECT_EQ(all[all.size() - 2], " LBHi\x03");
  EXPECT_EQ(all.back(), " \x1b.Z");
  for (const std::string& line : all) EXPECT_EQ(line.substr(0, 1), " ") << line;
}

TEST_F(HpglDriver, LinesMoveThePenOnlyWhenTheyDoNotContinue) {
  beginPlot();
  point(1, 10, 20);
  point(2, 30, 40);
  send(kOpLine);
  point(1, 30, 40);
  point(2, 50, 5);
  send(kOpLine);
  send(kOpPoint);  // (R5, R1) is still (30, 40): the pen must go up there
  bufferPoints({{30, 40}, {1, 2}});
  send(kOpPolyline);
  const Lines expected = {"PU400 1200", "PD1200 2400", "PD2000 300", "PU1200 2400", "PD1200 2400", "PD40 120"};
  EXPECT_EQ(linesAfterHeader(), expected);
  EXPECT_EQ(yyGrState.PageBegun, -1);
}

// A resize while the plot is open (opcode 18 with M = -1) only rescales the
// surface to the plotter's units and restores the scaling.
TEST_F(HpglDriver, ResizeDuringThePlotRescales) {
  beginPlot();
  yyGrState.SurfaceWidthReal = kSurfaceWidth / 2.0f;  // now 80 units per surface unit
  yyGrState.M = -1;
  send(kOpBeginPlot);
  point(1, 10, 20);
  point(2, 30, 40);
  send(kOpLine);
  EXPECT_EQ(linesAfterHeader(), (Lines{"SC0 32760 0 32760", "PU800 1200", "PD2400 2400"}));
}

TEST_F(HpglDriver, FarPointsAndLargeWordsAreHeldInTheirFields) {
  beginPlot();
  point(1, -100000.0f, 0);
  point(2, 1.0e9f, 5);
  send(kOpLine);
  point(3, 0, 0);
  yyGrAttributes.FillPatternIndex = 1000000;  // beyond the fill word's field too
  send(kOpTrianglePattern);
  const Lines expected = {
      "PU-99999 0", "PD99999 300",
      "SC-7 0 0 99999", "SC-9 -99999 0 0", "SC-9 99999 300 0", "SC-9 0 0 0", "SC0 32760 0 32760",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
}

TEST_F(HpglDriver, ColourSelectsAPenOnceAndRecordsTheRgbValue) {
  beginPlot();
  yyGrAttributes.ColourMode = kColourRgb;
  yyGrAttributes.ColourNumber = kBlack;  // (223 + 16) / 32 = 7: pen table entry 7, pen 8
  yyGrAttributes.CurrentRGB = 0xFF0000;
  send(kOpColour);
  send(kOpColour);
  yyGrAttributes.FillFallback = 2;  // the colour of a line fill is no colour change
  send(kOpColour);
  yyGrAttributes.FillFallback = 0;
  yyGrAttributes.ColourNumber = 40;  // entry 1: pen 3
  yyGrAttributes.CurrentRGB = 0x0000FF;
  send(kOpColour);
  const Lines expected = {
      "PU;SP8",
      "SC-1 16711680 0 32760;SC0 32760 0 32760",
      "SC-1 16711680 0 32760;SC0 32760 0 32760",
      "PU;SP3",
      "SC-1 255 0 32760;SC0 32760 0 32760",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
}

TEST_F(HpglDriver, PensWrapAroundThePenCount) {
  useModel(1);  // four pens: entry 7 of the table, 7 mod 4 + 1
  beginPlot();
  colourNumber(kBlack);
  EXPECT_EQ(linesAfterHeader().front(), "PU;SP4");
}

TEST_F(HpglDriver, EndOfPageParksThePenAndTheNextDrawingTakesItBack) {
  beginPlot();
  colourNumber(kBlack);
  point(1, 0, 0);
  point(2, 1, 1);
  send(kOpLine);
  endPage(2);
  EXPECT_EQ(yyGrState.PageBegun, 0);
  point(1, 1, 1);
  point(2, 2, 2);
  send(kOpLine);
  const Lines all = linesAfterHeader();
  const Lines tail(all.end() - 4, all.end());
  EXPECT_EQ(tail, (Lines{"SC-3 2 0 32760;SC0 32760 0 32760", "PU;SP0 ;", "SP8", "PD80 120"}));
}

TEST_F(HpglDriver, ModelsSevenAndEightFeedThePage) {
  useModel(7);
  beginPlot();
  endPage();
  EXPECT_EQ(linesAfterHeader().back(), "PU;SP0 ;PG;");
}

TEST_F(HpglDriver, ExtendedRecordsOffWritesOnlyPlainHpgl) {
  beginPlot();
  setOption(kOptHpglExtended, 0);
  colourNumber(kBlack);
  yyGrAttributes.FillStyle = 3;
  bufferPoints({{0, 0}, {10, 0}, {10, 10}});
  send(kOpPolygonPattern);
  yyGrState.M = -1;
  send(kOpPolygonPattern);
  yyGrState.M = 0;
  send(kOpLineWidth);
  endPage();
  EXPECT_EQ(linesAfterHeader(), (Lines{"PU;SP8", "PU;SP0 ;"}));
}

struct NativeFillCase {
  const char* name;
  int model;
  std::int32_t nativeOption;
  YYGrOpcode opcode;
  std::int32_t fillStyle;
  bool twoColours;
  bool native;
};

class HpglNativeFill : public HpglDriver, public ::testing::WithParamInterface<NativeFillCase> {};

// Native fill needs the kind's mask bit for the shape, option 25 and a
// one-colour fill; otherwise the engine is asked to fill with lines.
TEST_P(HpglNativeFill, FollowsTheKindMaskOptionAndColours) {
  const NativeFillCase& c = GetParam();
  useModel(c.model);
  setOption(kOptNativeFill, c.nativeOption);
  beginPlot();
  colourNumber(kBlack);
  colourNumber(c.twoColours ? 40 : kBlack);
  yyGrAttributes.FillStyle = c.fillStyle;
  yyGrAttributes.FillOutline = 0;
  point(1, 100, 100);
  point(2, 200, 150);
  point(3, 150, 200);
  point(4, 90, 50);
  yyGrState.R6 = 40;  // ellipse and pie radius
  yyGrState.R7 = 1;   // ellipse ratio
  bufferPoints({{100, 100}, {200, 100}, {150, 200}});
  send(c.opcode);
  const Lines written = linesAfterHeader();
  bool fillThickness = false;
  for (const std::string& line : written) fillThickness = fillThickness || line == "FT2;PT 0.28";
  EXPECT_EQ(fillThickness, c.native);
  EXPECT_EQ(yyGrAttributes.FillFallback, c.native ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, HpglNativeFill,
    ::testing::Values(
        NativeFillCase{"KindHRectangle", 6, 1, kOpRectanglePattern, 4, false, true},
        NativeFillCase{"KindHEllipse", 6, 1, kOpEllipsePattern, 4, false, true},
        NativeFillCase{"KindHQuad", 6, 1, kOpQuadPattern, 4, false, true},
        NativeFillCase{"KindHTriangle", 6, 1, kOpTrianglePattern, 4, false, true},
        NativeFillCase{"KindHPie", 6, 1, kOpPiePattern, 4, false, true},
        NativeFillCase{"KindHPolygon", 6, 1, kOpPolygonPattern, 4, false, true},
        NativeFillCase{"OptionOff", 6, 0, kOpRectanglePattern, 4, false, false},
        NativeFillCase{"PatternOfOneColour", 6, 1, kOpRectanglePattern, 3, false, true},
        NativeFillCase{"PatternOfTwoColours", 6, 1, kOpRectanglePattern, 3, true, false},
        NativeFillCase{"HatchStyle", 6, 1, kOpRectanglePattern, 2, false, false},
        NativeFillCase{"KindFRectangle", 5, 1, kOpRectanglePattern, 4, false, true},
        NativeFillCase{"KindFPie", 5, 1, kOpPiePattern, 4, false, true},
        NativeFillCase{"KindFTriangle", 5, 1, kOpTrianglePattern, 4, false, false},
        NativeFillCase{"KindFPolygon", 5, 1, kOpPolygonPattern, 4, false, false},
        NativeFillCase{"KindUNothing", 1, 1, kOpRectanglePattern, 4, false, false},
        NativeFillCase{"KindENothing", 4, 1, kOpPiePattern, 4, false, false}),
    [](const ::testing::TestParamInfo<NativeFillCase>& info) { return std::string(info.param.name); });

TEST_F(HpglDriver, NativeShapesAreDrawnWithPolygonMode) {
  beginNativePlot();
  solidFill();
  point(1, 10, 10);
  point(2, 20, 10);
  point(3, 20, 20);
  point(4, 10, 20);
  send(kOpQuadPattern);
  send(kOpRectanglePattern);
  send(kOpTrianglePattern);
  bufferPoints({{1, 1}, {2, 1}, {2, 2}, {1, 2}});
  send(kOpPolygonPattern);
  yyGrState.M = -1;  // after a native fill the end of fill writes nothing
  send(kOpPolygonPattern);
  const Lines expected = {
      "PU;SP8",
      "SC-1 0 0 32760;SC0 32760 0 32760",
      "FT2;PT 0.28",
      "PU400 600", "PM0", "PD800 600", "PD800 1200", "PD400 1200", "PM2;FP",
      "PU400 600", "RA800 600",
      "PU400 600", "PM0", "PD800 600", "PD800 1200", "PM2;FP",
      "PU40 60", "PM0", "PD80 60", "PD80 120", "PD40 120", "PM2;FP",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
  EXPECT_EQ(yyGrState.PenX, 1.0f);
  EXPECT_EQ(yyGrState.PenY, 1.0f);
}

TEST_F(HpglDriver, FillThicknessIsHeldBetweenATenthAndFiveMillimetres) {
  const std::pair<std::int32_t, const char*> cases[] = {{14, "FT2;PT 0.10"}, {2551, "FT2;PT 5.00"}};
  for (const auto& [thickness, expected] : cases) {
    beginNativePlot();
    setOption(kOptPenThickness, thickness);
    solidFill();
    send(kOpRectanglePattern);
    EXPECT_EQ(linesAfterHeader().at(2), expected) << thickness;
  }
}

TEST_F(HpglDriver, PolygonsOfMoreThan127PointsAreNotFilledNatively) {
  for (const int count : {127, 128}) {
    beginNativePlot();
    solidFill();
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < count; ++i) points.emplace_back(static_cast<float>(i), static_cast<float>(i % 2));
    bufferPoints(points);
    send(kOpPolygonPattern);
    const Lines written = linesAfterHeader();
    ASSERT_GE(written.size(), 3u);
    if (count == 127) {
      EXPECT_EQ(written[2], "FT2;PT 0.28");
      EXPECT_EQ(yyGrAttributes.FillFallback, 0);
    } else {
      EXPECT_EQ(written[2], "SC-11 4 0 32770");
      EXPECT_EQ(written[3], "SC-12 128 0 32760");
      EXPECT_EQ(written.back(), "SC0 32760 0 32760");
      EXPECT_EQ(written.size(), 3u + 1u + 128u + 1u);
      EXPECT_EQ(yyGrAttributes.FillFallback, 2);
    }
    yyGrAttributes.FillFallback = 0;
  }
}

TEST_F(HpglDriver, ShapesWithoutNativeFillWriteTheirCornersAsRecords) {
  beginPlot();
  colourNumber(kBlack);
  YYGrAttributes& a = yyGrAttributes;
  a.FillStyle = 3;
  a.FillOutline = 2;
  a.FillPatternGroup = 1;
  a.FillPatternIndex = 5;
  point(1, 10, 10);
  point(2, 20, 15);
  point(3, 30, 40);
  point(4, 5, 25);
  send(kOpRectanglePattern);
  send(kOpTrianglePattern);
  yyGrState.M = 1;
  send(kOpQuadPattern);
  yyGrState.M = 0;
  point(2, 8, 6);           // pie radii
  point(3, 0.5f, 1.25f);    // pie angles in radians
  send(kOpPiePattern);
  yyGrState.M = -1;         // the engine ends its line fill
  send(kOpPiePattern);
  const Lines expected = {
      "SC-6 3 2 32775", "SC-9 400 600 0", "SC-9 800 900 0", "SC0 32760 0 32760",
      "SC-7 3 2 32775", "SC-9 400 600 0", "SC-9 800 900 0", "SC-9 1200 2400 0", "SC0 32760 0 32760",
      // M = 1: the two heights (R4 - R1, R3 - R2) in y units
      "SC-8 3 2 32775", "SC-9 400 600 0", "SC-9 1200 2400 0", "SC-9 900 1500 32760", "SC-9 1 0 32760;SC0 32760 0 32760",
      "SC-4 3 2 32775", "SC-9 400 600 0", "SC-9 320 360 0", "SC-9 0.5000 1.2500 0", "SC0 32760 0 32760",
      "SC-4 -1 0 32760;SC0 32760 0 32760",
  };
  const Lines written = linesAfterHeader();
  EXPECT_EQ(Lines(written.begin() + 2, written.end()), expected);
  // Lines of the pattern style are twice as far apart as option 12 says.
  EXPECT_FLOAT_EQ(yyGrState.FillLineSpacing, 2.0f * 80.0f / 100.0f * kSurfaceHeight / 541.0f);
}

TEST_F(HpglDriver, EllipseRatioScalesYOrShrinksX) {
  beginNativePlot();
  solidFill();
  point(1, 100, 50);
  yyGrState.R6 = 50;
  yyGrState.R7 = 1.0f;  // 541 x 32760 / 771 = 22987.2
  send(kOpEllipsePattern);
  yyGrState.R7 = 0.5f;  // ratio 45974 > 32760: x limit 32760^2 / 45974 = 23344, radius x 32760 / 45974
  send(kOpEllipsePattern);
  const Lines expected = {
      "FT2;PT 0.28",
      "PU4000 3000", "SC0 32760 0 22987", "PM0", "CI2000 0", "PM2;FP", "SC0 32760 0 32760",
      "PU4000 3000", "SC0 23344 0 32760", "PM0", "CI1425 0", "PM2;FP", "SC0 32760 0 32760",
  };
  const Lines written = linesAfterHeader();
  EXPECT_EQ(Lines(written.begin() + 2, written.end()), expected);
}

TEST_F(HpglDriver, EllipseWithoutNativeFillRecordsItsFillWordsAfterTheMove) {
  beginPlot();
  colourNumber(kBlack);
  yyGrAttributes.FillStyle = 3;
  yyGrAttributes.FillOutline = 2;
  yyGrAttributes.FillPatternGroup = 4;
  yyGrAttributes.FillPatternIndex = 11;
  point(1, 100, 50);
  yyGrState.R6 = 50;
  yyGrState.R7 = 1.0f;
  send(kOpEllipsePattern);
  const Lines expected = {"PU4000 3000", "SC-5 3 2 32771", "SC0 32760 0 22987", "CI2000 0", "SC0 32760 0 32760"};
  const Lines written = linesAfterHeader();
  EXPECT_EQ(Lines(written.begin() + 2, written.end()), expected);
}

TEST_F(HpglDriver, EllipseOfNoHeightIsRefused) {
  beginNativePlot();
  solidFill();
  point(1, 100, 50);
  yyGrState.R6 = 50;
  yyGrState.R7 = 0.0f;
  yyGrState.M = 0;
  send(kOpEllipsePattern);
  EXPECT_EQ(yyGrState.M, -1);
  EXPECT_EQ(linesAfterHeader().size(), 2u);  // the colour's two lines only
}

TEST_F(HpglDriver, ArcsAndPieSectors) {
  beginNativePlot();
  // A plain arc: outline only, from 0 rad through 90 degrees.
  yyGrAttributes.FillStyle = 0;
  yyGrAttributes.FillOutline = 3;
  point(1, 100, 50);
  point(2, 25, 25);
  point(3, 0.0f, 1.5f);
  point(4, 0.0f, 90.0f);
  send(kOpArc);
  // An arc drawn as a sector because it is outlined: EW.
  yyGrAttributes.FillOutline = 2;
  send(kOpArc);
  // A natively filled pie: WG, starting at 30 degrees.
  solidFill();
  point(4, 30.0f, 45.5f);
  send(kOpPiePattern);
  const Lines expected = {
      "SC0 32760 0 22987", "PU5000 2105", "PD", "AA4000 2105 90.0", "SC0 32760 0 32760",
      "PU4000 3000", "SC0 32760 0 22987", "EW1000 0.0 90.0", "SC0 32760 0 32760",
      "FT2;PT 0.28", "PU4000 3000", "SC0 32760 0 22987", "WG1000 30.0 45.5", "SC0 32760 0 32760",
  };
  const Lines written = linesAfterHeader();
  EXPECT_EQ(Lines(written.begin() + 2, written.end()), expected);
}

TEST_F(HpglDriver, TextSetsSizeAndSlantOnlyWhenTheyChange) {
  beginPlot();
  YYGrState& g = yyGrState;
  g.TextFamily = 2;
  g.TextStyle = 2;  // italic
  g.TextMode = 0;
  send(kOpCharSize);
  point(1, 100, 50);
  TEXT = "Scene";
  g.X1 = 5;
  send(kOpText);
  g.X1 = 0;  // an empty label: LB and the terminator
  send(kOpText);
  g.TextStyle = 0;
  g.TextMode = 1;
  g.CharStepX = 10;
  g.CharStepY = 5;
  g.X1 = 2;
  send(kOpText);
  const Lines expected = {
      "SC-10 2 2 32760;SC0 32760 0 32760",
      "SR2.00 4.00",
      "SL.2",
      "PU4000 3000",
      "LBScene\x04",
      "PU4000 3000",
      "LB\x04",
      "SL0.",
      "PU4120 2910",  // mode 1 starts 0.3 steps along: (100 + 3, 50 - 1.5)
      "LBSc\x04",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
  EXPECT_EQ(g.PenX, -9999.0f);
}

TEST_F(HpglDriver, ClipWindowInPlotterUnits) {
  beginPlot();
  YYGrState& g = yyGrState;
  send(kOpClip);
  g.ViewportLeftReal = 409.5f;
  g.ViewportBottomReal = 0.0f;
  g.ViewportRightReal = 600.0f;
  g.ViewportTopReal = 273.0f;
  send(kOpClip);
  const Lines expected = {
      "SC", "IW0 0 10879 7634", "SC0 32760 0 32760",
      "SC", "IW5439 0 7971 3818", "SC0 32760 0 32760",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
}

TEST_F(HpglDriver, LineStylesWidthsAndAngles) {
  beginPlot();
  for (const int style : {0, 1, 2, 3, 4, 5, 6, 9, -1}) {
    yyGrAttributes.LineStyle = style;
    send(kOpLineStyle);
  }
  for (const int tenths : {5, 0, 400}) {
    setOption(kOptLineWidthTenths, tenths);
    send(kOpLineWidth);
  }
  yyGrState.CharCos = 0.0f;
  yyGrState.CharSinTimesAspect = 1.0f;
  send(kOpCharAngle);
  const Lines expected = {
      "LT", "LT1 .3", "LT2 2", "LT4 3", "LT6 3", "LT5 3", "LT3 1", "LT", "LT",  // styles 9 and -1 draw solid
      "PW0.142", "PW0.100", "PW5.000", "DI0.000 1.000",
  };
  EXPECT_EQ(linesAfterHeader(), expected);
}

TEST_F(HpglDriver, IgnoredOpcodesWriteNothing) {
  beginPlot();
  for (const std::int32_t opcode : {4, 6, 8, 10, 12, 14, 16, 17, 23, 25, 27, 28, 31, 35, 36, 37, 38, 40, 41, 0, -3}) {
    send(opcode);
  }
  EXPECT_TRUE(linesAfterHeader().empty());
}

TEST_F(HpglDriver, AnOutputThatCannotBeOpenedEndsTheHardcopy) {
  beginPlot("no_such_folder/plot.plt");
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_NE(YYPlotOutputStatus, 0);
  EXPECT_FALSE(std::filesystem::exists("no_such_folder/plot.plt"));
}

TEST(HpglLineWriter, CompactSpacingKeepsTheFirstTwoCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"PU  1234   567", "PU1234 567"},
      {"IN; IP", "IN; IP"},
      {"RO 90; IP", "RO90; IP"},
      {"PU;SP0 ;", "PU;SP0 ;"},
      {"  X", "  X"},
      {"LT    ", "LT"},
      {"P", "P"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(hpglCompactLine(in), out) << '"' << in << '"';
}

}  // namespace
}  // namespace plot_files
