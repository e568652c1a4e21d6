// The DXF driver record by record: the groups it writes, checked whole.
#include <algorithm>
#include <filesystem>
#include <string>

#include "dxf_fixture.h"

namespace dxf_tests {
namespace {

const Lines kThickness = {"39", "0.006944"};

TEST_F(DxfDriver, ProbeAnswersTheNumberAndInitialiseDescribesTheDevice) {
  EXPECT_EQ(hardcopyDriver(kDxfDriver), &YYGDXF);
  setOption(kOptColourDepth, 3);
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, kDxfDriver);
  EXPECT_EQ(hardcopyOption(kOptColourDepth), 3);

  yyGrState.N = 0;
  send(kOpInitialise);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 756);
  EXPECT_EQ(hardcopyOption(kOptPageHeight), 540);
  EXPECT_EQ(hardcopyOption(kOptPenThickness), 80);
  EXPECT_EQ(hardcopyOption(kOptColourDepth), 8);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.dxf");
  EXPECT_EQ(yyGrState.ActiveDriver, kDxfDriver);
  EXPECT_EQ(yyGrState.ResolutionX, 90);
  EXPECT_EQ(yyGrState.HardcopyColourMax, 255);
  EXPECT_EQ(yyGrState.DeviceWord6[kHardcopySide], 0.222f);
  EXPECT_EQ(yyGrState.HardcopyCaps.str(), "00000100000011000010000000010");
}

TEST_F(DxfDriver, HeaderHoldsThePageInInchesWithSixDecimals) {
  begin("dxf_header.dxf");
  const Lines lines = finish();
  const Lines expected = {"0",        "SECTION",  "2",  "HEADER",   "9",        "$EXTMIN",  "10",       "0.000000",
                          "20",       "0.000000", "9",  "$EXTMAX",  "10",       "10.500000", "20",      "7.500000",
                          "9",        "$CECOLOR", "62", "7",        "9",        "$CELTYPE", "6",        "DASHDOT",
                          "9",        "$VIEWCTR", "10", "5.250000", "20",       "3.750000", "9",        "$LIMMIN",
                          "10",       "0",        "20", "0",        "9",        "$LIMMAX",  "10",       "10.500000",
                          "20",       "7.500000", "0",  "ENDSEC",   "0"};
  ASSERT_GT(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
  const Lines ending = {"0", "ENDSEC", "0", "EOF"};
  EXPECT_EQ(Lines(lines.end() - 4, lines.end()), ending);
}

TEST_F(DxfDriver, TablesHoldSixLineTypesOneStyleAndNineLayers) {
  begin("dxf_tables.dxf");
  const Lines lines = finish();
  ASSERT_GT(lines.size(), 46u);
  const Lines start = {"SECTION", "2",  "TABLES", "0",  "TABLE", "2",  "LTYPE", "70", "9",
                       "0",       "LTYPE", "2",   "DOT", "70",   "0",  "3",     std::string(46, '.'),
                       "72",      "65", "73",     "2",  "40",    "0.25", "49",  "0",  "49",  "-0.25",
                       "0",       "LTYPE"};
  EXPECT_EQ(Lines(lines.begin() + 45, lines.begin() + 45 + static_cast<std::ptrdiff_t>(start.size())), start);

  const auto dashDot = std::find(lines.begin(), lines.end(), "DASHDOT");
  const auto entry = std::find(dashDot + 1, lines.end(), "DASHDOT");  // the header names it first
  ASSERT_NE(entry, lines.end());
  const Lines dashDotEntry = {"DASHDOT", "70", "0", "3", "__ . __ . __ . __ . __ . __ . __ . __ . __ .  ",
                              "72",      "65", "73", "4", "40", "1", "49", "0.5", "49", "-0.25", "49", "0",
                              "49",      "-0.25", "0", "LTYPE"};
  EXPECT_EQ(Lines(entry, entry + static_cast<std::ptrdiff_t>(dashDotEntry.size())), dashDotEntry);

  EXPECT_EQ(std::count(lines.begin(), lines.end(), "LTYPE"), 7);  // the table and six entries
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "LAYER"), 10);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "CONTINUOUS"), 9);
  const auto style = std::find(lines.begin(), lines.end(), "STANDARD");
  ASSERT_NE(style, lines.end());
  const Lines styleEntry = {"STANDARD", "70", "0", "40", "0", "41", "1",  "50", "0",     "71",
                            "0",        "42", "0", "3",  "txt", "0", "ENDTAB"};
  EXPECT_EQ(Lines(style, style + static_cast<std::ptrdiff_t>(styleEntry.size())), styleEntry);
  const Lines entities = {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "ENDSEC"};
  EXPECT_EQ(Lines(lines.end() - 12, lines.end() - 2), entities);
}

TEST_F(DxfDriver, LinesCarryTheirLineTypeUntilAFillFallsBackToLines) {
  begin("dxf_lines.dxf");
  YYGrAttributes& a = yyGrAttributes;
  point(1, 72, 36);
  point(2, 144, 72);
  send(kOpLine);
  a.LineStyle = 3;
  send(kOpLine);
  point(1, 72, 72);
  yyGrState.R6 = 36;
  yyGrState.R7 = 0.5f;
  send(kOpEllipsePattern);
  EXPECT_EQ(a.FillFallback, 2);
  point(1, 72, 36);
  point(2, 144, 72);
  send(kOpLine);
  const Lines points = {"10", "1.", "20", "0.5", "11", "2.", "21", "1."};
  const Lines expected = joined({entityStart("LINE"), kThickness, points,
                                 entityStart("LINE"), {"6", "DASHDOT"}, kThickness, points,
                                 entityStart("LINE"), kThickness, points});
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, PointsAndPolylines) {
  begin("dxf_polyline.dxf");
  point(1, 72, 36);
  send(kOpPoint);
  yyGrAttributes.LineStyle = 2;
  bufferPoints({{0, 0}, {36, 18}, {72, 540}});
  send(kOpPolyline);
  const Lines expected =
      joined({entityStart("POINT"), {"10", "1.", "20", "0.5"},
              entityStart("POLYLINE"), {"6", "DASHED"}, kThickness, {"66", "1", "70", "0"},
              {"0", "VERTEX", "8", "1", "10", "0.", "20", "0."},
              {"0", "VERTEX", "8", "1", "10", "0.5", "20", "0.25"},
              {"0", "VERTEX", "8", "1", "10", "1.", "20", "7.5"},
              {"0", "SEQEND"}});
  EXPECT_EQ(finishEntities(), expected);
  EXPECT_EQ(yyGrState.PageBegun, -1);
}

TEST_F(DxfDriver, OnlyACircleInASquareAreaIsWrittenOtherEllipsesGoBack) {
  begin("dxf_circle.dxf");
  YYGrState& s = yyGrState;
  point(1, 72, 72);
  s.R6 = 36;
  s.R7 = 1.0f;
  s.M = 0;
  send(kOpEllipsePattern);
  EXPECT_EQ(s.M, 0);
  s.R7 = 0.5f;
  send(kOpEllipsePattern);
  EXPECT_EQ(s.M, -1);
  s.M = 0;
  s.R7 = 1.0f;
  s.AreaX2 = 0.5f;
  send(kOpEllipsePattern);
  EXPECT_EQ(s.M, -1);
  s.M = 0;
  s.AreaX2 = 1.0f;
  yyGrAttributes.FillStyle = 4;
  send(kOpEllipsePattern);
  EXPECT_EQ(s.M, 0);
  const Lines expected = joined({entityStart("CIRCLE"), kThickness, {"10", "1.", "20", "1.", "40", "0.5"}});
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, FillRequestsAskForLinesAtTheOptionSpacing) {
  begin("dxf_fill_requests.dxf");
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  struct Case {
    std::int32_t opcode;
    std::int32_t fillStyle;
    std::int32_t fallback;
    float spacing;
  };
  // Spacing: 80 hundredths of a point, one surface unit per point here.
  const Case cases[] = {
      {kOpRectanglePattern, 2, 0, 0.0f}, {kOpRectanglePattern, 3, 2, 1.6f}, {kOpPolygonPattern, 4, 2, 0.8f},
      {kOpPiePattern, 0, 2, 0.8f},       {kOpTrianglePattern, 3, 2, 1.6f},  {kOpQuadPattern, 1, 0, 0.0f},
  };
  for (const Case& c : cases) {
    a.FillFallback = 0;
    s.FillLineSpacing = 0.0f;
    a.FillStyle = c.fillStyle;
    s.M = 0;
    bufferPoints({{0, 0}, {72, 0}, {72, 72}});
    send(c.opcode);
    EXPECT_EQ(a.FillFallback, c.fallback) << c.opcode << " " << c.fillStyle;
    EXPECT_FLOAT_EQ(s.FillLineSpacing, c.spacing) << c.opcode << " " << c.fillStyle;
    EXPECT_EQ(s.M, c.opcode == kOpPiePattern ? -1 : 0) << c.opcode << " " << c.fillStyle;
  }
  // The end-of-fill record asks for nothing.
  a.FillFallback = 0;
  s.M = -1;
  send(kOpPolygonPattern);
  EXPECT_EQ(a.FillFallback, 0);
  EXPECT_TRUE(finishEntities().empty());
}

TEST_F(DxfDriver, SolidFillsWriteZigzagCornersAndRectanglesAreClampedToTheViewport) {
  begin("dxf_solids.dxf");
  YYGrState& s = yyGrState;
  yyGrAttributes.FillStyle = 4;
  point(1, -72, 36);
  point(2, 144, 1000);
  send(kOpRectanglePattern);
  point(1, 0, 0);
  point(2, 72, 0);
  point(3, 72, 72);
  point(4, 0, 72);
  send(kOpQuadPattern);
  send(kOpTrianglePattern);
  EXPECT_EQ(s.M, 0);
  EXPECT_EQ(yyGrAttributes.FillFallback, 0);
  const Lines expected = joined({
      entityStart("SOLID"),
      {"10", "0.", "20", "0.5", "11", "0.", "21", "7.5", "12", "2.", "22", "0.5", "13", "2.", "23", "7.5"},
      entityStart("SOLID"),
      {"10", "0.", "20", "0.", "11", "1.", "21", "0.", "12", "0.", "22", "1.", "13", "1.", "23", "1."},
      entityStart("SOLID"),
      {"10", "0.", "20", "0.", "11", "1.", "21", "0.", "12", "1.", "22", "1.", "13", "1.", "23", "1."},
  });
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, ArcsRunCounterClockwiseAndOnlyInASquareArea) {
  begin("dxf_arcs.dxf");
  YYGrState& s = yyGrState;
  point(1, 72, 72);
  s.R6 = 36;
  s.R8 = 90.0f;
  s.R4 = -45.0f;
  send(kOpArc);
  EXPECT_EQ(s.M, 1);
  yyGrAttributes.LineStyle = 6;
  s.R8 = 10.0f;
  s.R4 = 370.0f;
  send(kOpArc);
  EXPECT_EQ(s.M, 1);
  s.AreaY1 = 0.25f;
  send(kOpArc);
  EXPECT_EQ(s.M, 2);
  const Lines centre = {"10", "1.", "20", "1.", "40", "0.5"};
  const Lines expected = joined({entityStart("ARC"), kThickness, centre, {"50", "45.", "51", "90."},
                                 entityStart("ARC"), {"6", "HIDDEN"}, kThickness, centre, {"50", "10.", "51", "380."}});
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, TextsCarryHeightWidthFactorRotationAndAlignmentPoint) {
  begin("dxf_text.dxf");
  YYGrState& s = yyGrState;
  s.CharHeight = 0.0625f;
  s.CharWidth = 0.03125f;
  s.CharAngle = 30.7f;
  TEXT = "Hi there";
  s.X1 = 2;
  point(1, 72, 36);
  point(2, 144, 0);
  send(kOpText);
  s.TextPerCharacter = 1;
  s.CharAngle = 0.0f;
  s.CharCos = 1.0f;
  s.CharSinOverAspect = 0.0f;
  send(kOpText);
  const Lines sizes = {"40", "0.24375", "41", "0.5"};
  const Lines expected = joined({
      entityStart("TEXT"), sizes, {"50", "30", "1", "Hi", "7", "STANDARD", "72", "0", "10", "1.", "20", "0.5"},
      entityStart("TEXT"), sizes,
      {"50", "0", "1", "Hi", "7", "STANDARD", "72", "1", "10", "1.", "20", "0.5", "11", "2.", "21", "0.5"},
  });
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, RotationsAndTextsThatWouldBreakTheGroupStructureAreWrittenSafely) {
  begin("dxf_text_edges.dxf");
  YYGrState& s = yyGrState;
  struct Case {
    float angle;
    std::string text;
    std::int32_t length;
    const char* rotation;
    std::string written;
  };
  const Case cases[] = {
      {-120.0f, "Down", 4, "-120", "Down"},
      {-99.9f, "a\r\nb\x01" "c", 6, "-99", "abc"},
      {359.9f, "none", -3, "359", ""},
      {1234.0f, std::string(260, 'x'), 300, "1234", std::string(260, 'x')},
  };
  for (const Case& c : cases) {
    s.CharAngle = c.angle;
    TEXT = c.text;
    s.X1 = c.length;
    send(kOpText);
  }
  const Lines entities = finishEntities();
  Lines rotations;
  Lines texts;
  for (std::size_t i = 0; i + 1 < entities.size(); i += 2) {
    if (entities[i] == "50") rotations.push_back(entities[i + 1]);
    if (entities[i] == "1") texts.push_back(entities[i + 1]);
  }
  ASSERT_EQ(rotations.size(), std::size(cases));
  ASSERT_EQ(texts.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(rotations[i], cases[i].rotation);
    EXPECT_EQ(texts[i], cases[i].written);
  }
}

TEST(DxfPalette, EntriesFollowTheHueRingWithItsListedExceptions) {
  struct Case {
    int number;
    int red, green, blue;
  };
  const Case cases[] = {
      {1, 255, 0, 0},     {2, 255, 255, 0},   {7, 255, 255, 255}, {8, 76, 76, 76},     {9, 165, 165, 165},
      {10, 255, 0, 0},    {11, 255, 127, 127}, {12, 165, 0, 0},   {13, 165, 82, 82},   {14, 127, 0, 0},
      {18, 38, 0, 0},     {19, 38, 19, 19},   {29, 38, 23, 19},   {30, 255, 127, 0},   {32, 185, 82, 0},
      {40, 255, 191, 0},  {60, 191, 255, 0},  {90, 0, 255, 0},    {130, 0, 255, 255},  {170, 0, 0, 255},
      {210, 255, 0, 255}, {240, 255, 0, 63},  {241, 255, 127, 159}, {249, 38, 19, 23}, {250, 84, 84, 84},
      {255, 255, 255, 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dxfPaletteEntry(c.number), c.red | (c.green << 8) | (c.blue << 16)) << c.number;
  }
}

TEST(DxfPalette, NearestColourTakesAnEqualEntryFirstAndTheLowerNumberOnTies) {
  struct Case {
    int red, green, blue;
    int number;
  };
  const Case cases[] = {
      {255, 0, 0, 1},      // equal to 1 and 10: the first
      {255, 255, 255, 7},  // equal to 7 and 255
      {250, 5, 5, 1},      // as near to 1 as to 10
      {250, 250, 250, 7},  // as near to 7 as to 255
      {200, 0, 0, 12},     // between 10 and 12, nearer 12
      {128, 0, 0, 14},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dxfNearestColour(c.red | (c.green << 8) | (c.blue << 16)), c.number)
        << c.red << "," << c.green << "," << c.blue;
  }
}

TEST_F(DxfDriver, ColourOptionChoosesNearestPaletteBandsOrEightColours) {
  YYGrAttributes& a = yyGrAttributes;
  struct Case {
    std::int32_t option;
    std::int32_t colourNumber;
    std::int32_t dxf;
  };
  const Case cases[] = {
      {3, 0, 7},   {3, 15, 7},  {3, 240, 7}, {3, 255, 7},  {3, 16, 1},  {3, 47, 1}, {3, 48, 2},
      {3, 200, 6}, {3, 239, 7}, {4, 0, 8},   {4, 16, 1},   {4, 100, 11}, {4, 255, 8},
      {3, 300, 7}, {3, -40, 7}, {4, 999, 8}, {4, -1, 8},
  };
  a.ColourMode = kColourIndexed;
  for (const Case& c : cases) {
    setOption(kOptColourDepth, c.option);
    a.ColourNumber = c.colourNumber;
    send(kOpColour);
    EXPECT_EQ(dxfCurrentColour(), c.dxf) << c.option << " " << c.colourNumber;
  }
  // Nearest palette entry, in indexed mode through the colour table.
  setOption(kOptColourDepth, 8);
  YYColourSetEntry(5, 0x0000C8);
  a.ColourNumber = 5;
  send(kOpColour);
  EXPECT_EQ(dxfCurrentColour(), 12);
  // A number beyond the table reads its last entry, not past it.
  YYColourSetEntry(255, 0x0000FF);
  a.ColourNumber = 4000;
  send(kOpColour);
  EXPECT_EQ(dxfCurrentColour(), 1);
}

TEST_F(DxfDriver, EntitiesCarryTheColourAndTheColourCountFollowsTheOption) {
  struct Case {
    std::int32_t option;
    std::int32_t count;
    std::int32_t trueColour;
  };
  const Case cases[] = {{8, 255, 1}, {4, 14, 0}, {3, 7, 0}};
  int n = 0;
  for (const Case& c : cases) {
    SetUp();
    setOption(kOptColourDepth, c.option);
    begin("dxf_colour_count_" + std::to_string(n++) + ".dxf");
    EXPECT_EQ(yyGrState.HardcopyColourCount, c.count);
    EXPECT_EQ(yyGrState.TrueColour[kHardcopySide], c.trueColour);
    finish();
  }
  SetUp();
  begin("dxf_colour.dxf");
  colour(0x0000FF);
  point(1, 0, 0);
  send(kOpPoint);
  colour(0x0000C8);
  send(kOpPoint);
  const Lines expected = joined({entityStart("POINT", "1"), {"10", "0.", "20", "0."},
                                 entityStart("POINT", "12"), {"10", "0.", "20", "0."}});
  EXPECT_EQ(finishEntities(), expected);
}

TEST_F(DxfDriver, RecordsWithoutDxfFormWriteNothingAndEndPageClearsPageBegun) {
  begin("dxf_ignored.dxf");
  point(1, 10, 10);
  point(2, 30, 40);
  for (std::int32_t opcode : {4, 6, 8, 10, 12, 14, 16, 17, 21, 23, 24, 25, 27, 28, 29, 30, 31, 33, 35, 36, 37, 38,
                              40, 0, 41}) {
    send(opcode);
  }
  yyGrState.PageBegun = -1;
  send(kOpEndPage);
  EXPECT_EQ(yyGrState.PageBegun, 0);
  EXPECT_TRUE(finishEntities().empty());
}

TEST_F(DxfDriver, BeginPlotWithoutOpeningOnlySetsTheScale) {
  yyGrState.SurfaceWidthReal = 378.0f;
  yyGrState.M = -1;
  yyGrAttributes.HardcopyOpen = 1;
  send(kOpBeginPlot);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 756.0f / (378.0f * 72.0f));
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleY, 1.0f / 72.0f);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
}

TEST_F(DxfDriver, AFileThatCannotBeOpenedStopsTheHardcopyAndKeepsTheError) {
  EXPECT_FALSE(plot_fixture::openPlot("no_such_folder\\plot.dxf"));
  EXPECT_EQ(WErrorStatusQuery(1), 1);
  EXPECT_FALSE(std::filesystem::exists("no_such_folder"));
}

}  // namespace
}  // namespace dxf_tests
