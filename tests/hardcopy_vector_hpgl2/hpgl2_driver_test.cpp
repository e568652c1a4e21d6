// The HP-GL/2 driver, opcode by opcode, against golden lines of its plot file.
#include <string>
#include <vector>

#include "hardcopy_vector_hpgl/plot_file_fixture.h"
#include "toolkit/drivers/hpgl2_driver.h"

namespace plot_files {
namespace {

using Lines = std::vector<std::string>;
const std::string kEsc = "\x1b";

// Colour numbers whose table entries the tests set.
constexpr int kRed = 5;
constexpr int kGreen = 123;
constexpr int kWhite = 10;
constexpr int kBlack = 11;

class Hpgl2Driver : public PlotFileTest {
 protected:
  void SetUp() override {
    PlotFileTest::SetUp();
    YYColourSetEntry(kRed, 0x0000FF);
    YYColourSetEntry(kGreen, 0x00FF00);
    YYColourSetEntry(kWhite, 0xFFFFFF);
    YYColourSetEntry(kBlack, 0x000000);
    useModel(4);
  }
  void useModel(int model) {
    yyRasterDevice.hpgl2Model = model;
    initialise(kHpgl2Driver);
  }
  // The lines after the header, without the PCL line that ends the plot.
  Lines drawn() {
    Lines written = linesAfterHeader();
    if (!written.empty() && written.back() == kEsc + "%0A") written.pop_back();
    return written;
  }
};

// Decodes the values of one PE line in 7-bit mode.
std::vector<long> decodeEncodedLine(const std::string& line) {
  std::vector<long> values;
  long value = 0;
  long weight = 1;
  for (std::size_t i = 3; i + 1 < line.size(); ++i) {
    const int c = static_cast<unsigned char>(line[i]);
    if (c >= 63 && c <= 94) {
      value += (c - 63) * weight;
      weight *= 32;
    } else if (c >= 95 && c <= 126) {
      value += (c - 95) * weight;
      values.push_back(value % 2 == 0 ? value / 2 : -(value - 1) / 2);
      value = 0;
      weight = 1;
    } else {
      ADD_FAILURE() << "character " << c << " in " << line;
    }
  }
  return values;
}

TEST_F(Hpgl2Driver, ProbeAnswersOnlyTheDriverNumber) {
  yyGrState.ActiveDriver = 0;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, 12);
  EXPECT_EQ(yyGrState.ActiveDriver, 0);
}

struct WrapperCase {
  int model;
  std::int32_t pens;
  std::int32_t resolution;
  Lines header;
  Lines endOfPage;
  Lines endOfPlot;
};

class Hpgl2Models : public Hpgl2Driver, public ::testing::WithParamInterface<WrapperCase> {};

TEST_P(Hpgl2Models, WrapThePlotAsTheModelWants) {
  const WrapperCase& c = GetParam();
  useModel(c.model);
  EXPECT_EQ(yyGrState.ActiveDriver, 12);
  EXPECT_EQ(yyGrState.HpglWord, c.pens);
  EXPECT_EQ(yyGrState.HardcopyColourCount, c.pens);
  EXPECT_EQ(yyGrState.HardcopyColourMax, 256);
  EXPECT_EQ(yyGrState.ResolutionX, c.resolution);
  EXPECT_EQ(option(kOptHpglExtended), 0);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.plt");
  setOption(kOptCopies, 3);
  beginPlot();
  endPage();
  Lines expected = c.header;
  expected.insert(expected.end(), c.endOfPage.begin(), c.endOfPage.end());
  expected.insert(expected.end(), c.endOfPlot.begin(), c.endOfPlot.end());
  EXPECT_EQ(lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, Hpgl2Models,
    ::testing::Values(
        WrapperCase{1, 2, 300,
                    {kEsc + "%0B", "IN; IP 0 0 10851 7916", "RO90; IP 0 0 10851 7916", "DT\x04", "DI1. 0.", "TR0",
                     "CO\"13 1 1.5 8\"", "CO\"2 0\"", "SC0 32760 0 32760"},
                    {"CO\"3 1\"", kEsc + "%1A" + kEsc + "&l03X\f" + kEsc + "%0B"},
                    {kEsc + "%0A"}},
        WrapperCase{2, 256, 300,
                    {kEsc + "%0B", "IN; IP 0 0 10851 7916", "RO90; IP 0 0 10851 7916", "DT\x04", "DI1. 0.", "TR0",
                     "AD1,14;SA", "NP256", "CO\"13 2 1.2 8\"", "CO\"2 0\"", "SC0 32760 0 32760"},
                    {"CO\"3 1\"", kEsc + "%1A" + kEsc + "&l03X\f" + kEsc + "%0B"},
                    {kEsc + "%0A"}},
        WrapperCase{4, 256, 600,
                    {"IN; IP 0 0 15832 10851", "RO0; IP 0 0 15832 10851", "DT\x04", "DI1. 0.", "TR0", "AD1,14;SA",
                     "NP256", "CO\"13 4 1.2 8\"", "CO\"2 0\"", "SC0 32760 0 32760"},
                    {"CO\"3 1\"", "PG"},
                    {}}));

TEST_F(Hpgl2Driver, OrientationTurnsTheOtherWayRoundOnModel4) {
  for (const int model : {3, 4}) {
    useModel(model);
    setOption(kOptOrientation, 0);
    beginPlot();
    const Lines all = lines();
    const std::size_t at = model == 4 ? 1 : 2;
    ASSERT_GT(all.size(), at);
    EXPECT_EQ(all[at].substr(0, 4), model == 4 ? "RO90" : "RO0;") << model;
  }
}

TEST_F(Hpgl2Driver, TheTitleIsAQuotedCommentWithoutQuotesOfItsOwn) {
  useModel(1);
  yyPlotTitle = "Route \"North\"; day 2";
  beginPlot("", 1);
  const Lines all = lines();
  ASSERT_GT(all.size(), 1u);
  EXPECT_EQ(all[1], "CO\"Route North; day 2\"");
}

TEST_F(Hpgl2Driver, PensAreDefinedOncePerPlot) {
  beginPlot();
  colourNumber(kRed);
  colourNumber(kRed);
  colourNumber(kGreen);
  yyGrState.N = 7;  // a palette entry of its own
  yyGrState.X1 = 0x804020;
  send(kOpPaletteEntry);
  yyGrState.N = 256;  // no such pen
  send(kOpPaletteEntry);
  const Lines expected = {
      "PC5 255 0 0", "PU;SP 5", "CO\"1 255\"",
      "CO\"1 255\"",
      "PC123 0 255 0", "PU;SP123", "CO\"1 65280\"",
      "PC7 32 64 128",
  };
  EXPECT_EQ(drawn(), expected);
  // A new plot defines its pens again.
  beginPlot();
  colourNumber(kRed);
  EXPECT_EQ(drawn().front(), "PC5 255 0 0");
}

TEST_F(Hpgl2Driver, ColourInversionOfPenColours) {
  const std::pair<std::int32_t, Lines> cases[] = {
      {1, {"PC5 0 255 255", "PC10 0 0 0"}},
      {2, {"PC5 255 0 0", "PC10 0 0 0"}},
  };
  for (const auto& [inversion, expected] : cases) {
    beginPlot();
    setOption(kOptColourInversion, inversion);
    colourNumber(kRed);
    colourNumber(kWhite);
    Lines pens;
    for (const std::string& line : drawn()) {
      if (line.rfind("PC", 0) == 0) pens.push_back(line);
    }
    EXPECT_EQ(pens, expected) << inversion;
  }
}

TEST_F(Hpgl2Driver, TwoPenModelsSelectPenZeroForTheBackground) {
  useModel(1);
  beginPlot();
  colourNumber(0);
  colourNumber(kRed);
  colourNumber(kGreen);
  setOption(kOptColourInversion, 1);
  colourNumber(223);
  Lines selections;
  for (const std::string& line : drawn()) {
    if (line.rfind("PU;SP", 0) == 0) selections.push_back(line);
  }
  EXPECT_EQ(selections, (Lines{"PU;SP0", "PU;SP1", "PU;SP0"}));
}

TEST_F(Hpgl2Driver, FillStylesBelowThreeDrawOnlyEllipseOutlines) {
  beginPlot();
  yyGrAttributes.FillStyle = 1;
  point(1, 100, 50);
  point(2, 110, 60);
  point(3, 120, 50);
  point(4, 90, 40);
  bufferPoints({{1, 1}, {2, 2}, {3, 1}});
  for (const YYGrOpcode opcode : {kOpQuadPattern, kOpRectanglePattern, kOpTrianglePattern, kOpPiePattern, kOpPolygonPattern}) {
    send(opcode);
  }
  point(1, 100, 50);
  yyGrState.R6 = 50;
  yyGrState.R7 = 1.0f;  // 769 x 32760 / 1122 = 22453.2
  send(kOpEllipsePattern);
  const Lines expected = {"PU4000 3000", "CO\"5 1 0 0 1\"", "SC0 32760 0 22453", "CI2000 0", "SC0 32760 0 32760"};
  EXPECT_EQ(drawn(), expected);
}

TEST_F(Hpgl2Driver, EllipseOfNoHeightIsRefused) {
  beginPlot();
  yyGrAttributes.FillStyle = 4;
  point(1, 100, 50);
  yyGrState.R6 = 50;
  yyGrState.R7 = 0.0f;
  send(kOpEllipsePattern);
  EXPECT_EQ(yyGrState.M, -1);
  EXPECT_TRUE(drawn().empty());
}

TEST_F(Hpgl2Driver, NativeShapesCarryTheirFillRecord) {
  beginPlot();
  colourNumber(kRed);
  colourNumber(kRed);
  yyGrAttributes.FillStyle = 4;
  yyGrAttributes.FillOutline = 3;
  point(1, 10, 10);
  point(2, 20, 10);
  point(3, 20, 20);
  point(4, 10, 20);
  send(kOpQuadPattern);
  send(kOpRectanglePattern);
  send(kOpTrianglePattern);
  bufferPoints({{0, 0}, {25, 0}, {25, 50}});
  send(kOpPolygonPattern);
  yyGrState.M = -1;
  send(kOpPolygonPattern);
  const Lines written = drawn();
  const Lines expected = {
      "CO\" 8 4 3 0 1\"", "PU400 600", "PM0", "PD800 600", "PD800 1200", "PD400 1200", "PM2;FP",
      "CO\" 6 4 3 0 1\"", "PU400 600", "RA800 600",
      "CO\" 7 4 3 0 1\"", "PU400 600", "PM0", "PD800 600", "PD800 1200", "PM2;FP",
      "CO\"11 4 3 0 1\"", "PU0 0", "PM0", "PE7O]`__OZd;", "PM2;FP",
      "CO\"11 -1\"", "PU;SP 5",
  };
  ASSERT_GE(written.size(), 4u);
  EXPECT_EQ(Lines(written.begin() + 4, written.end()), expected);
}

TEST_F(Hpgl2Driver, TwoColourFillsUseAMixPenEachTime) {
  beginPlot();
  colourNumber(kRed);
  colourNumber(kGreen);
  yyGrAttributes.FillStyle = 3;
  point(1, 10, 10);
  point(2, 20, 20);
  send(kOpRectanglePattern);
  yyGrState.M = -1;
  send(kOpRectanglePattern);
  yyGrState.M = 0;
  send(kOpRectanglePattern);
  const Lines expected = {
      "PC132 127 127 0", "PU;SP132", "CO\" 6 3 0 0 1\"", "PU400 600", "RA800 1200",
      "CO\" 6 -1\"", "PU;SP123",
      "PC132 127 127 0", "PU;SP132", "CO\" 6 3 0 0 1\"", "PU400 600", "RA800 1200",
  };
  const Lines written = drawn();
  ASSERT_GE(written.size(), 6u);
  EXPECT_EQ(Lines(written.begin() + 6, written.end()), expected);
}

TEST_F(Hpgl2Driver, TwoPenModelsFillWithRasterPatterns) {
  useModel(1);
  beginPlot();
  colourNumber(kBlack);
  colourNumber(kBlack);
  yyGrAttributes.FillStyle = 4;
  point(1, 10, 10);
  point(2, 20, 20);
  send(kOpRectanglePattern);
  send(kOpRectanglePattern);  // the same colour: pattern and fill type stand
  colourNumber(kWhite);
  colourNumber(kBlack);
  yyGrAttributes.FillStyle = 3;  // white then black: a checkerboard of the two
  send(kOpRectanglePattern);
  yyGrAttributes.DrawFlag = 1;
  send(kOpRectanglePattern);
  Lines fills;
  for (const std::string& line : drawn()) {
    if (line.rfind("RF", 0) == 0 || line.rfind("FT", 0) == 0 || line[0] == '0' || line[0] == '1') fills.push_back(line);
  }
  const Lines expected = {
      "RF1,8,4,", "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1;", "FT11 1",
      "RF2,8,4,", "0,1,0,1,0,1,0,1,1,0,1,0,1,0,1,0,", "0,1,0,1,0,1,0,1,1,0,1,0,1,0,1,0;", "FT11 2",
      "FT2",
  };
  EXPECT_EQ(fills, expected);
}

TEST_F(Hpgl2Driver, FillPatternPrintsTheClearBitsRowByRow) {
  beginPlot();
  YYHpglFillPattern(0x0000FF01u);  // row 0: column 0 set; row 1 all set; rows 2, 3 clear
  EXPECT_EQ(drawn(), (Lines{"0,1,1,1,1,1,1,1,0,0,0,0,0,0,0,0,", "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1;"}));
}

TEST_F(Hpgl2Driver, PolylinesAreEncodedRelativeToThePreviousPoint) {
  beginPlot();
  bufferPoints({{0, 0}, {25, 0}, {0, 0}, {0, 50}});
  send(kOpPolyline);
  bufferPoints({{0, 50}, {0, 50}});  // starts where the last one ended: no move
  send(kOpPolyline);
  EXPECT_EQ(drawn(), (Lines{"PU0 0", "PE7O]`_P]`__OZd;", "PE7__;"}));
  EXPECT_EQ(yyGrState.PenY, 50.0f);
}

TEST_F(Hpgl2Driver, LongPolylinesContinueOnNewLinesOfAtMost246Characters) {
  setOption(kOptLineBlank, 1);
  beginPlot();
  std::vector<std::pair<float, float>> points;
  for (int i = 0; i < 400; ++i) points.emplace_back(static_cast<float>((i * 37) % 800), static_cast<float>((i * 53) % 500));
  bufferPoints(points);
  send(kOpPolyline);
  const Lines all = lines();
  long x = 0;
  long y = 0;
  std::size_t values = 0;
  int encodedLines = 0;
  for (const std::string& line : all) {
    ASSERT_EQ(line.substr(0, 1), " ") << line;  // every line, the encoded ones included
    const std::string body = line.substr(1);
    if (body.rfind("PE7", 0) != 0) continue;
    ++encodedLines;
    EXPECT_LE(body.size(), 246u);
    EXPECT_EQ(body.back(), ';');
    const std::vector<long> decoded = decodeEncodedLine(body);
    ASSERT_EQ(decoded.size() % 2, 0u);
    for (std::size_t i = 0; i < decoded.size(); i += 2) {
      x += decoded[i];
      y += decoded[i + 1];
    }
    values += decoded.size();
  }
  EXPECT_GT(encodedLines, 1);
  EXPECT_EQ(values, 2u * 399u);
  EXPECT_EQ(x, static_cast<long>(points.back().first * 40.0f) - static_cast<long>(points.front().first * 40.0f));
  EXPECT_EQ(y, static_cast<long>(points.back().second * 60.0f) - static_cast<long>(points.front().second * 60.0f));
}

TEST_F(Hpgl2Driver, LabelsOnModel1UseRoman8AndOtherModelsKeepLatin1) {
  YYGrState& g = yyGrState;
  g.TextFamily = 1;
  g.TextStyle = 1;  // bold
  useModel(1);
  beginPlot();
  TEXT = "Caf\xE9";
  g.X1 = 4;
  point(1, 100, 50);
  point(3, 200, 50);
  send(kOpText);
  EXPECT_EQ(drawn(), (Lines{"SR2.00 4.00", "SL0.;SD 2 0 6 5", "LO1", "PU4000 3000", "LBCaf\xC5\x04"}));
  EXPECT_EQ(g.PenX, -9999.0f);
  EXPECT_EQ(std::string(TEXT.view().substr(0, 4)), "Caf\xE9");  // the caller's text is left alone

  // Model 2: italic family 2 in text mode 2, centred; the size factor is 1.2.
  useModel(2);
  g.TextFamily = 2;
  g.TextStyle = 2;
  g.TextMode = 2;
  g.TextAlign = 1;
  beginPlot();
  TEXT = "Caf\xE9";
  g.X1 = 4;
  send(kOpText);
  send(kOpText);
  const Lines expected = {
      "CO\"10 2\"", "SR2.65 4.84", "SL.2;AD 2 1 6 0 7 4148", "LO4", "PU6000 3000", "LBCaf\xE9\x04",
      "PU6000 3000", "LBCaf\xE9\x04",
  };
  EXPECT_EQ(drawn(), expected);
}

TEST_F(Hpgl2Driver, FontOfEachFamilyAndStyle) {
  struct FontCase {
    std::int32_t family, style;
    const char* line;
  };
  const FontCase cases[] = {
      {1, 0, "SL0.;AD 2 0 6 0"},
      {1, 1, "SL0.;AD 2 0 6 5"},
      {2, 1, "SL0.;AD 2 1 6 3 7 4148"},
      {3, 2, "SL.2;AD 2 1 6 0 7 4101"},
      {4, 3, "SL.2;AD 2 1 6 3 7 4101 1 173"},
      {0, 0, "SL0."},  // no family of the four: the font stays, the command stays whole
      {7, 2, "SL.2"},
  };
  beginPlot();
  Lines expected;
  for (const FontCase& c : cases) {
    yyGrState.TextFamily = c.family;
    yyGrState.TextStyle = c.style;
    TEXT = "x";
    yyGrState.X1 = 1;
    send(kOpText);
    expected.push_back(c.line);
  }
  Lines fonts;
  for (const std::string& line : drawn()) {
    if (line.rfind("SL", 0) == 0) fonts.push_back(line);
  }
  EXPECT_EQ(fonts, expected);
}

TEST_F(Hpgl2Driver, ArcsPiesAndLineAttributes) {
  beginPlot();
  YYGrAttributes& a = yyGrAttributes;
  a.FillStyle = 0;
  a.FillOutline = 3;
  point(1, 100, 50);
  point(2, 25, 25);
  point(3, 0.0f, 1.5f);
  point(4, 0.0f, 90.0f);
  send(kOpArc);
  a.FillStyle = 1;
  send(kOpArc);
  setOption(kOptLineJoin, 1);
  send(kOpLineJoin);
  setOption(kOptLineCap, 2);
  send(kOpLineCap);
  for (const int style : {1, 0, 4, 5}) {
    a.LineStyle = style;
    send(kOpLineStyle);
  }
  setOption(kOptLineWidthTenths, 0);
  send(kOpLineWidth);
  yyGrState.CharCos = 0.0f;
  yyGrState.CharSinTimesAspect = 1.0f;
  send(kOpCharAngle);
  // cy = 22453 x 50 / 32760 = 34.27: the start at angle 0 and the centre in y units
  const Lines expected = {
      "SC0 32760 0 22453", "PU5000 2056", "PD;", "AA4000 2056 90.0", "SC0 32760 0 32760",
      "PU4000 3000", "CO\"4 1 3 0 1\"", "SC0 32760 0 22453", "EW1000 0.0 90.0", "SC0 32760 0 32760",
      "LA2 4", "LA1 2", "LT1 .3", "LT", "LT6 3", "LT5 3", "PW0.028", "DI0.000 1.000",
  };
  EXPECT_EQ(drawn(), expected);
}

TEST_F(Hpgl2Driver, IgnoredOpcodesWriteNothing) {
  beginPlot();
  for (const std::int32_t opcode : {4, 6, 8, 10, 12, 14, 16, 17, 23, 25, 27, 31, 38, 39, 40, 41, 0}) send(opcode);
  EXPECT_TRUE(drawn().empty());
}

}  // namespace
}  // namespace plot_files
