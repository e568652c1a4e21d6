// The SVG driver record by record: the lines it writes, checked whole.
#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "svg_fixture.h"

namespace svg_tests {
namespace {

int countOf(const std::vector<std::string>& lines, std::string_view what) {
  int n = 0;
  for (const std::string& line : lines) {
    for (std::size_t at = line.find(what); at != std::string::npos; at = line.find(what, at + 1)) ++n;
  }
  return n;
}

TEST(SvgNumbers, WholeValuesLoseTheirPointAndTrailingZerosGo) {
  struct Case {
    float value;
    const char* written;
  };
  const Case cases[] = {{12.0f, "12"},   {12.5f, "12.5"}, {12.05f, "12.05"}, {0.0f, "0"},
                        {-3.0f, "-3"},   {0.25f, "0.25"}, {99999.99f, "99999.99"}, {-0.5f, "-0.5"},
                        {479.996f, "480"}};
  for (const Case& c : cases) EXPECT_EQ(svgNumber(c.value), c.written) << c.value;

  FixedText<8> field;
  int first = 0;
  int last = 0;
  YYSvgNumber(12.5f, field, first, last);
  EXPECT_EQ(field.view(), "   12.50");
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 7);
}

TEST(SvgNumbers, AValueTooWideForTheFieldIsReportedAndWrittenAsAsterisks) {
  YYErrorStateReset();
  EXPECT_EQ(svgNumber(123456.7f), "********");
  EXPECT_EQ(WErrorStatusQuery(1), 18);
}

TEST_F(SvgDriver, ProbeAnswersTheNumberAndInitialiseDescribesTheDocument) {
  EXPECT_EQ(hardcopyDriver(kSvgDriver), &YYGSVG);
  setOption(kOptPageWidth, 5);
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, kSvgDriver);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 5);

  yyGrState.N = 0;
  yyHardcopyOutputName = "other";
  send(kOpInitialise);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 640);
  EXPECT_EQ(hardcopyOption(kOptPageHeight), 480);
  EXPECT_EQ(hardcopyOption(kOptLineWidthTenths), 5);
  EXPECT_EQ(yyHardcopyOutputName.str(), "zndvplot.svg");
  EXPECT_EQ(yyGrState.ActiveDriver, kSvgDriver);
  EXPECT_EQ(yyGrState.ResolutionX, 72);
  EXPECT_EQ(yyGrState.HardcopyColourCount, 256);
  EXPECT_EQ(yyGrState.HardcopyCaps.str(), "00000111111111100010011011110");
}

TEST_F(SvgDriver, HeaderCarriesTheNamespaceAndAnUnchangedStyleKeepsOneStrokeGroup) {
  begin("svg_header.svg");
  point(1, 10, 20);
  point(2, 30, 40);
  send(kOpLine);
  send(kOpLineWidth);
  colour(0);
  send(kOpLineCap);
  send(kOpLine);
  const std::vector<std::string> lines = finish();
  const std::vector<std::string> expected = {
      "<?xml version=\"1.0\"?>",
      "<!DOCTYPE svg SYSTEM \"\">",
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"480\">",
      std::string(kDefaultGroup),
      "<line x1=\"10\" y1=\"460\" x2=\"30\" y2=\"440\"/>",
      "<line x1=\"10\" y1=\"460\" x2=\"30\" y2=\"440\"/>",
      "</g></svg>",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(yyGrState.PageBegun, -1);
}

TEST_F(SvgDriver, PointsFlipAgainstTheSurfaceHeightAndAPointEndsWithABlank) {
  YYGrState& s = yyGrState;
  s.SurfaceWidthReal = 100.0f;
  s.SurfaceHeightReal = 100.0f;
  setOption(kOptPageWidth, 100);
  setOption(kOptPageHeight, 100);
  begin("svg_flip.svg");
  EXPECT_EQ(s.DeviceScaleX, 1.0f);
  EXPECT_EQ(s.DeviceScaleY, 1.0f);
  point(1, 10, 20);
  point(2, 30, 40);
  send(kOpLine);
  point(1, 12.5f, 40);
  send(kOpPoint);
  const std::vector<std::string> expected = {
      "<line x1=\"10\" y1=\"80\" x2=\"30\" y2=\"60\"/>",
      "<line x1=\"12.5\" y1=\"60\" x2=\"12.5\" y2=\"60\" />",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, DocumentSizeScalesTheSurface) {
  setOption(kOptPageWidth, 320);
  setOption(kOptPageHeight, 960);
  begin("svg_scaled.svg");
  point(1, 64, 48);
  point(2, 640, 0);
  send(kOpLine);
  const std::vector<std::string> lines = finish();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2], "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"320\" height=\"960\">");
  EXPECT_EQ(lines[4], "<line x1=\"32\" y1=\"864\" x2=\"320\" y2=\"960\"/>");
}

TEST_F(SvgDriver, AnyStyleChangeClosesTheGroupAndOpensOneWithAllSevenValues) {
  begin("svg_style.svg");
  YYGrAttributes& a = yyGrAttributes;
  setOption(kOptLineWidthTenths, 20);
  setOption(kOptLineJoin, 1);
  setOption(kOptLineCap, 2);
  a.LineStyle = 3;
  send(kOpLineWidth);
  colour(0x0080FF);
  a.LineStyle = 5;
  send(kOpLineStyle);
  setOption(kOptLineJoin, 2);
  send(kOpLineJoin);
  const std::vector<std::string> expected = {
      "</g>",
      "<g style=\"fill:none;stroke:#000000;stroke-dasharray:1 3 4 4;stroke-width:4;stroke-linejoin:round;"
      "stroke-linecap:square\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff8000;stroke-dasharray:1 3 4 4;stroke-width:4;stroke-linejoin:round;"
      "stroke-linecap:square\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff8000;stroke-dasharray:5 2 3 2;stroke-width:4;stroke-linejoin:round;"
      "stroke-linecap:square\">",
      "</g>",
      "<g style=\"fill:none;stroke:#ff8000;stroke-dasharray:5 2 3 2;stroke-width:4;stroke-linejoin:bevel;"
      "stroke-linecap:square\">",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, StrokeWidthRoundsTheOptionAndIsAtLeastOne) {
  struct Case {
    std::int32_t tenths;
    const char* width;
  };
  const Case cases[] = {{0, "1"}, {5, "1"}, {8, "2"}, {20, "4"}, {72, "15"}};
  int n = 0;
  for (const Case& c : cases) {
    SetUp();
    setOption(kOptLineWidthTenths, c.tenths);
    begin("svg_width_" + std::to_string(n++) + ".svg");
    const std::vector<std::string> lines = finish();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_NE(lines[3].find(std::string(";stroke-width:") + c.width + ";"), std::string::npos)
        << c.tenths << ": " << lines[3];
  }
}

TEST_F(SvgDriver, ColourInversionOptionSwapsAllOrOnlyNearBlackAndNearWhite) {
  struct Case {
    std::int32_t option;
    std::int32_t rgb;
    const char* stroke;
  };
  const Case cases[] = {
      {0, 0x000000, "000000"}, {1, 0x000000, "ffffff"}, {1, 0x204080, "7fbfdf"}, {2, 0x050505, "fafafa"},
      {2, 0xF8F8F8, "070707"}, {2, 0x0A0000, "00000a"}, {2, 0x204080, "804020"}, {2, 0xF6F6F5, "f5f6f6"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SetUp();
    setOption(kOptColourInversion, c.option);
    yyGrAttributes.CurrentRGB = c.rgb;
    begin("svg_inversion_" + std::to_string(n++) + ".svg");
    const std::vector<std::string> lines = finish();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_NE(lines[3].find(std::string("stroke:#") + c.stroke + ";"), std::string::npos)
        << c.option << " " << std::hex << c.rgb << ": " << lines[3];
  }
}

TEST_F(SvgDriver, LongPointListsWrapBeforeColumn256WithPointsOnlyOnContinuationLines) {
  begin("svg_wrap.svg");
  std::vector<std::pair<float, float>> points;
  std::vector<std::string> texts;
  for (int i = 0; i < 40; ++i) {
    points.emplace_back(123.25f + static_cast<float>(i), 45.75f + static_cast<float>(i));
    texts.push_back(svgNumber(123.25f + static_cast<float>(i)) + "," + svgNumber(434.25f - static_cast<float>(i)));
  }
  bufferPoints(points);
  yyGrAttributes.FillStyle = 4;
  fill(kOpPolygonPattern);
  const std::vector<std::string> body = finishBody();
  ASSERT_GE(body.size(), 4u);
  EXPECT_EQ(body.front(), "<g style=\"stroke:none;fill:#000000\">");
  EXPECT_EQ(body.back(), "</g>");
  const std::vector<std::string> element(body.begin() + 1, body.end() - 1);
  EXPECT_GE(element.size(), 3u);
  ASSERT_TRUE(element.front().starts_with("<polygon points=\""));
  ASSERT_TRUE(element.back().ends_with("\"/>"));
  const std::regex pointsOnly("[-0-9.]+,[-0-9.]+( [-0-9.]+,[-0-9.]+)*(\"/>)?");
  std::string joined;
  for (std::size_t i = 0; i < element.size(); ++i) {
    const std::string& line = element[i];
    EXPECT_LE(line.size(), 256u) << line;
    EXPECT_NE(line.back(), ' ') << line;
    if (i > 0) {
      EXPECT_TRUE(std::regex_match(line, pointsOnly)) << line;
    }
    joined += (i > 0 ? " " : "") + line;
  }
  std::string expected = "<polygon points=\"";
  for (std::size_t i = 0; i < texts.size(); ++i) expected += (i > 0 ? " " : "") + texts[i];
  EXPECT_EQ(joined, expected + "\"/>");
}

TEST_F(SvgDriver, ClosingCharactersThatWouldPassColumn256StandAlone) {
  begin("svg_wrap_closing.svg");
  // Twenty-nine points of seven characters fill the line to column 249 and a
  // point of six characters to column 256 exactly.
  std::vector<std::pair<float, float>> points(29, {100.0f, 380.0f});
  points.emplace_back(10.0f, 380.0f);
  bufferPoints(points);
  send(kOpPolyline);
  const std::vector<std::string> body = finishBody();
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0].size(), 256u);
  EXPECT_TRUE(body[0].starts_with("<polyline points=\"100,100 100,100 "));
  EXPECT_TRUE(body[0].ends_with(" 100,100 10,100"));
  EXPECT_EQ(body[1], "\"/>");
}

TEST_F(SvgDriver, FillStylesBelowThreeWriteNoShapeAndStyleThreeFillsWithTheMeanColour) {
  begin("svg_fills.svg");
  colour(0x0000FF);  // the previous colour is black
  yyGrAttributes.PreviousRGB = 0xFFFFFF;
  point(1, 10, 10);
  point(2, 30, 40);
  yyGrAttributes.FillStyle = 2;
  fill(kOpRectanglePattern);
  yyGrAttributes.FillStyle = 3;
  fill(kOpRectanglePattern);
  yyGrAttributes.FillStyle = 4;
  point(3, 20, 60);
  fill(kOpTrianglePattern);
  point(4, 5, 5);
  fill(kOpQuadPattern);
  const std::vector<std::string> expected = {
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
      "stroke-linecap:butt\">",
      "<g style=\"stroke:none;fill:#ff7f7f\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "</g>",
      "<g style=\"stroke:none;fill:#ff0000\">",
      "<polygon points=\"10,470 30,440 20,420\"/>",
      "</g>",
      "<g style=\"stroke:none;fill:#ff0000\">",
      "<polygon points=\"10,470 30,440 20,420 5,475\"/>",
      "</g>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, EllipseWithoutFillIsAnOutlineInTheStrokeGroup) {
  begin("svg_ellipse.svg");
  point(1, 100, 100);
  yyGrState.R6 = 50;
  yyGrState.R2 = 25;
  yyGrAttributes.FillStyle = 0;
  fill(kOpEllipsePattern);
  yyGrAttributes.FillStyle = 4;
  fill(kOpEllipsePattern);
  const std::vector<std::string> expected = {
      "<ellipse cx=\"100\" cy=\"380\" rx=\"50\" ry=\"25\"/>",
      "<g style=\"stroke:none;fill:#000000\">",
      "<ellipse cx=\"100\" cy=\"380\" rx=\"50\" ry=\"25\"/>",
      "</g>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, ArcsAreOpenOrClosedThroughTheCentreAndPiesAlwaysClose) {
  begin("svg_arcs.svg");
  YYGrState& s = yyGrState;
  YYGrAttributes& a = yyGrAttributes;
  point(1, 100, 380);
  s.R6 = 50;
  s.R2 = 50;
  s.R7 = 0.0f;
  s.R3 = 1.5708f;
  a.FillStyle = 0;
  a.FillOutline = 3;
  send(kOpArc);
  a.FillOutline = 2;
  send(kOpArc);
  a.FillOutline = 3;
  a.FillStyle = 4;
  fill(kOpPiePattern);
  a.FillStyle = 0;
  s.R3 = 3.1415927f;
  send(kOpArc);
  s.R3 = 3.14159f;
  send(kOpArc);
  const std::vector<std::string> expected = {
      "<path d=\"M 150,100 A 50,50 0 0 0 100,50\"/>",
      "<path d=\"M 150,100 A 50,50 0 0 0 100,50 L 100,100 L 150,100\"/>",
      "<g style=\"stroke:none;fill:#000000\">",
      "<path d=\"M 150,100 A 50,50 0 0 0 100,50 L 100,100 L 150,100\"/>",
      "</g>",
      "<path d=\"M 150,100 A 50,50 0 1 0 50,100\"/>",
      "<path d=\"M 150,100 A 50,50 0 0 0 50,100\"/>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, TextIsTranslatedRotatedAndEscaped) {
  begin("svg_text.svg");
  YYGrState& s = yyGrState;
  text("Hi", 100, 380);
  s.CharAngle = 30.0f;
  text("Hi", 100, 380);
  s.CharAngle = 0.0f;
  std::string raw = "a&b<c>d\"e";
  raw += static_cast<char>(233);
  raw += static_cast<char>(128);
  raw += static_cast<char>(160);
  raw += '\x01';
  raw += "\r\nz";
  text(raw, 10, 470);
  text("x]]>y]>", 10, 470);
  const std::vector<std::string> expected = {
      "<text transform=\"translate(100,100)\">Hi</text>",
      "<text transform=\"translate(100,100)rotate(-30)\">Hi</text>",
      "<text transform=\"translate(10,10)\">a&#38;b&#60;c>d\"e&#233;&#8364;&#160;z</text>",
      "<text transform=\"translate(10,10)\">x]]&#62;y]></text>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, AnchorFollowsAlignmentAndIsMovedByAFifthOfTheCharacterStep) {
  begin("svg_anchor.svg");
  YYGrState& s = yyGrState;
  s.CharStepX = 10.0f;
  s.CharStepY = 20.0f;
  struct Case {
    std::int32_t mode, align;
  };
  for (const Case c : {Case{0, 0}, Case{0, 1}, Case{0, 2}, Case{1, 2}}) {
    s.TextMode = c.mode;
    s.TextAlign = c.align;
    TEXT = "A";
    s.X1 = 1;
    s.X2 = 0;
    point(1, 100, 100);
    point(3, 200, 140);
    send(kOpText);
  }
  const std::vector<std::string> expected = {
      "<text transform=\"translate(102,384)\">A</text>",
      "<text transform=\"translate(152,364)\">A</text>",
      "<text transform=\"translate(202,344)\">A</text>",
      "<text transform=\"translate(102,384)\">A</text>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, ALongTextIsWrittenWholeOnOneLine) {
  begin("svg_long_text.svg");
  const std::string words(250, 'w');
  text(words, 10, 10);
  std::string ampersands(260, '&');
  text(ampersands, 10, 10);
  const std::vector<std::string> body = finishBody();
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0], "<text transform=\"translate(10,470)\">" + words + "</text>");
  // Escapes grow the text beyond any fixed buffer: none is cut.
  std::string escaped;
  for (int i = 0; i < 260; ++i) escaped += "&#38;";
  EXPECT_EQ(body[1], "<text transform=\"translate(10,470)\">" + escaped + "</text>");
}

TEST_F(SvgDriver, TextGroupsCarryTheFontAndOpenAndCloseByTheirFlags) {
  begin("svg_text_group.svg");
  YYGrState& s = yyGrState;
  colour(0x336699);
  s.CharWidth = 0.015625f;
  s.TextStyle = 3;
  s.TextAlign = 1;
  text("T", 10, 10, 1);
  text("U", 10, 10, 2);
  s.TextFamily = 4;
  s.TextMode = 1;
  text("V", 10, 10, 3);
  const std::vector<std::string> body = finishBody();
  const std::vector<std::string> expected = {
      "</g>",
      "<g style=\"fill:none;stroke:#996633;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
      "stroke-linecap:butt\">",
      "<g style=\"fill:#996633;stroke:none;font-family:Arial,Helvetica;font-weight:bold;font-style:italic;"
      "text-anchor:middle;font-size:16.5\">",
      "<text transform=\"translate(10,470)\">T</text>",
      "<text transform=\"translate(10,470)\">U</text>",
      "</g>",
      "<g style=\"fill:#996633;stroke:none;font-family:Symbol;font-size:13.3\">",
      "<text transform=\"translate(10,470)\">V</text>",
      "</g>",
  };
  EXPECT_EQ(body, expected);
}

TEST_F(SvgDriver, ClipPathsApplyToFillsWhileTheAreaIsPartOfTheSurface) {
  begin("svg_clip.svg");
  YYGrState& s = yyGrState;
  s.AreaX1 = 0.25f;
  s.AreaY2 = 0.5f;
  s.ViewportLeftReal = 160.0f;
  s.ViewportTopReal = 240.0f;
  send(kOpClip);
  point(1, 10, 10);
  point(2, 30, 40);
  yyGrAttributes.FillStyle = 4;
  fill(kOpRectanglePattern);
  colour(0x0000FF);
  s.AreaX1 = 0.0f;
  s.AreaY2 = 1.0f;
  send(kOpClip);
  fill(kOpRectanglePattern);
  s.AreaY1 = 0.5f;
  send(kOpClip);
  fill(kOpRectanglePattern);
  const std::vector<std::string> expected = {
      "<defs><clipPath id=\"clip1\"><rect width=\"480\" height=\"240\" x=\"160\" y=\"240\"/></clipPath></defs>",
      "<g style=\"stroke:none;fill:#000000;clip-path:url(#clip1)\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "</g>",
      "</g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
      "stroke-linecap:butt\">",
      "<g style=\"stroke:none;fill:#ff0000\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "</g>",
      "<defs><clipPath id=\"clip2\"><rect width=\"480\" height=\"240\" x=\"160\" y=\"240\"/></clipPath></defs>",
      "<g style=\"stroke:none;fill:#ff0000;clip-path:url(#clip2)\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "</g>",
  };
  EXPECT_EQ(finishBody(), expected);
}

TEST_F(SvgDriver, WholeSurfaceAreaWritesNoClipPath) {
  begin("svg_no_clip.svg");
  send(kOpClip);
  yyGrAttributes.FillStyle = 4;
  point(1, 10, 10);
  point(2, 30, 40);
  fill(kOpRectanglePattern);
  const std::vector<std::string> body = finishBody();
  EXPECT_EQ(countOf(body, "clip"), 0);
  EXPECT_EQ(body.front(), "<g style=\"stroke:none;fill:#000000\">");
}

TEST_F(SvgDriver, EveryClosingTagClosesAnOpenGroup) {
  begin("svg_balance.svg");
  YYGrAttributes& a = yyGrAttributes;
  // End-of-fill and text-closing records with no group of theirs open.
  a.FillStyle = 4;
  yyGrState.M = -1;
  send(kOpRectanglePattern);
  yyGrState.M = 0;
  text("x", 10, 10, 2);
  // A style change inside a fill group closes both.
  point(1, 10, 10);
  point(2, 30, 40);
  send(kOpRectanglePattern);
  colour(0x0000FF);
  yyGrState.M = -1;
  send(kOpRectanglePattern);
  yyGrState.M = 0;
  // A fill group and a text group left open at the end.
  send(kOpRectanglePattern);
  text("y", 10, 10, 1);
  const std::vector<std::string> lines = finish();
  const std::vector<std::string> expected = {
      "<text transform=\"translate(10,470)\">x</text>",
      "<g style=\"stroke:none;fill:#000000\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "</g></g>",
      "<g style=\"fill:none;stroke:#ff0000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
      "stroke-linecap:butt\">",
      "<g style=\"stroke:none;fill:#ff0000\">",
      "<polygon points=\"10,470 30,470 30,440 10,440\"/>",
      "<g style=\"fill:#ff0000;stroke:none;font-family:Arial,Helvetica;font-size:14.08\">",
      "<text transform=\"translate(10,470)\">y</text>",
      "</g></g></g></svg>",
  };
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()), expected);
}

TEST_F(SvgDriver, APlotWithNoStyleRecordClosesOnlyTheRootElement) {
  TEXT = "svg_bare.svg";
  yyGrState.M = 1;
  yyGrAttributes.HardcopyOpen = 1;
  send(kOpBeginPlot);
  yyGrState.M = 0;
  path_ = "svg_bare.svg";
  const std::vector<std::string> lines = finish();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "</svg>");
}

TEST_F(SvgDriver, RecordsWithoutSvgFormWriteNothing) {
  begin("svg_ignored.svg");
  point(1, 10, 10);
  point(2, 30, 40);
  yyGrAttributes.FillStyle = 4;
  for (std::int32_t opcode : {4, 6, 8, 10, 12, 14, 16, 17, 20, 21, 23, 25, 27, 28, 31, 33, 35, 38, 39, 40, 0, 41}) {
    send(opcode);
  }
  EXPECT_TRUE(finishBody().empty());
}

TEST_F(SvgDriver, BeginPlotWithoutOpeningOnlySetsTheScale) {
  yyGrState.SurfaceWidthReal = 320.0f;
  yyGrState.M = -1;
  yyGrAttributes.HardcopyOpen = 1;
  send(kOpBeginPlot);
  EXPECT_EQ(yyGrState.DeviceScaleX, 2.0f);
  EXPECT_EQ(yyGrState.DeviceScaleY, 1.0f);
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
}

TEST_F(SvgDriver, AFileThatCannotBeOpenedStopsTheHardcopyAndKeepsTheError) {
  EXPECT_FALSE(plot_fixture::openPlot("no_such_folder\\plot.svg"));
  EXPECT_EQ(WErrorStatusQuery(1), 1);
  EXPECT_FALSE(std::filesystem::exists("no_such_folder"));
}

}  // namespace
}  // namespace svg_tests
