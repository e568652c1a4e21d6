// What the driver writes for each drawing record: joined paths, colours,
// fills, ellipses, arcs and pies, text, clipping and line attributes.
#include <algorithm>
#include <numbers>
#include <string>

#include "postscript_fixture.h"

namespace postscript_tests {
namespace {

using Drawing = PostScriptDriver;

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kWhite = 0xFFFFFF;
const std::string kBlackLine = "0.00 0.00 0.0 g";
const std::string kRedLine = "1.00 0.00 0.0 g";
const Lines kPageEnd = {"/#copies 1 def", "gsave showpage grestore"};

Lines plus(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(Drawing, StartOfPlotAttributesAreWrittenOnce) {
  beginPlot();
  endPlot();
  const Lines expected = {"0.50 w",       "0 setlinejoin",  "5.0 setmiterlimit", "0 setlinecap",
                          "initclip",     "0.00 0.0 m",     "756.00 0.0 l",      "756.00 540.0 l",
                          "0.00 540.0 l", "clip",           "newpath",           "%%EOF",
                          "initgraphics"};
  EXPECT_EQ(linesAfter(), expected);
}

TEST_F(Drawing, LinesThatJoinMakeOnePathStrokedOnce) {
  beginPlot();
  line(10, 10, 20, 10);
  line(20, 10, 20, 30);
  line(50, 50, 60, 50);  // a new start inside the same path
  point(1, 5, 5);
  send(kOpPoint);
  endPlot();
  EXPECT_EQ(drawn(), plus({"20.00 20.0 m", "40.00 20.0 l", "40.00 60.0 l", "100.00 100.0 m", "120.00 100.0 l",
                           "10.00 10.0 m", "10.00 10.0 l", kBlackLine, "s"},
                          kPageEnd));
  EXPECT_FLOAT_EQ(yyGrState.PenX, 5.0f);
}

TEST_F(Drawing, SegmentLimitStrokesThePathAndStartsAnother) {
  beginPlot();
  for (int i = 0; i < 256; ++i) line(static_cast<float>(i), 0, static_cast<float>(i + 1), 0);
  endPlot();
  const Lines d = drawn();
  ASSERT_EQ(d.size(), 1u + 255 + 2 + 2 + 1 + 2);
  EXPECT_EQ(d[0], "0.00 0.0 m");
  EXPECT_EQ(d[255], "510.00 0.0 l");
  EXPECT_EQ(Lines(d.begin() + 256, d.begin() + 260), (Lines{kBlackLine, "s", "510.00 0.0 m", "512.00 0.0 l"}));
  EXPECT_EQ(d[260], "s");
}

TEST_F(Drawing, PolylineContinuesThePathAndRestartsAtTheLimit) {
  setOption(kOptPathSegments, 10);
  beginPlot();
  line(0, 0, 1, 0);
  std::vector<std::pair<float, float>> points;
  for (int i = 1; i <= 12; ++i) points.emplace_back(static_cast<float>(i), 0.0f);
  bufferPoints(points);
  send(kOpPolyline);
  endPlot();
  Lines expected = {"0.00 0.0 m"};
  for (int i = 1; i <= 10; ++i) expected.push_back(std::to_string(2 * i) + ".00 0.0 l");
  expected.insert(expected.end(), {kBlackLine, "s", "20.00 0.0 m", "22.00 0.0 l", "24.00 0.0 l", "s"});
  EXPECT_EQ(drawn(), plus(expected, kPageEnd));
  EXPECT_FLOAT_EQ(yyGrState.PenX, 12.0f);
}

TEST_F(Drawing, ColourChangeStrokesInTheOldColourAndWritesTheNewOneAtThePaint) {
  beginPlot();
  line(10, 10, 20, 10);
  colour(0);  // the colour already current: nothing
  line(20, 10, 30, 10);
  colour(kRed);
  line(30, 10, 40, 10);
  endPlot();
  EXPECT_EQ(drawn(), plus({"20.00 20.0 m", "40.00 20.0 l", "60.00 20.0 l", kBlackLine, "s", "60.00 20.0 m",
                           "80.00 20.0 l", kRedLine, "s"},
                          kPageEnd));
}

TEST_F(Drawing, InversionOptionTurnsLineColours) {
  struct Case {
    int inversion;
    std::int32_t rgb;
    const char* written;
  };
  const Case cases[] = {
      {2, kWhite, "0.00 0.00 0.0 g"}, {2, 0, "1.00 1.00 1.0 g"}, {2, kRed, "1.00 0.00 0.0 g"},
      {1, kRed, "0.00 1.00 1.0 g"},   {0, kWhite, "1.00 1.00 1.0 g"},
  };
  for (const Case& c : cases) {
    SetUp();
    setOption(kOptColourInversion, c.inversion);
    beginPlot();
    colour(c.rgb);
    line(1, 1, 2, 2);
    endPlot();
    EXPECT_EQ(drawn(), plus({"2.00 2.0 m", "4.00 4.0 l", c.written, "s"}, kPageEnd)) << c.inversion;
  }
}

TEST_F(Drawing, MonochromeOptionDrawsLinesBlackButKeepsFillColours) {
  setOption(kOptMonochrome, 1);
  beginPlot();
  yyGrAttributes.ColourNumber = 5;
  colour(kRed);
  line(1, 1, 2, 1);
  yyGrAttributes.FillStyle = 4;
  point(1, 10, 10);
  point(2, 20, 20);
  send(kOpRectanglePattern);
  endPlot();
  EXPECT_EQ(drawn(), plus({"2.00 2.0 m", "4.00 2.0 l", kBlackLine, "s", "20.00 20.0 m", "40.00 20.0 l",
                           "40.00 40.0 l", "20.00 40.0 l", kRedLine, "cf"},
                          kPageEnd));
}

TEST_F(Drawing, RectangleIsDrawnOnlyAsAFillInItsColourOrTheMean) {
  struct Case {
    int fillStyle;
    Lines lines;
  };
  const Lines corners = {"20.00 20.0 m", "60.00 20.0 l", "60.00 40.0 l", "20.00 40.0 l"};
  const Case cases[] = {
      {2, {}},
      {4, plus(corners, {kBlackLine, "cf"})},
      {3, plus(corners, {"0.50 0.50 0.50 g", "cf"})},  // halfway from white to black
  };
  for (const Case& c : cases) {
    SetUp();
    beginPlot();
    yyGrAttributes.PreviousRGB = kWhite;
    yyGrAttributes.CurrentRGB = 0;
    yyGrAttributes.FillStyle = c.fillStyle;
    point(1, 10, 10);
    point(2, 30, 20);
    send(kOpRectanglePattern);
    endPlot();
    EXPECT_EQ(drawn(), plus(c.lines, kPageEnd)) << c.fillStyle;
  }
}

TEST_F(Drawing, QuadTriangleAndPolygonFillsCloseTheirCorners) {
  beginPlot();
  yyGrAttributes.FillStyle = 4;
  point(1, 1, 1);
  point(2, 2, 1);
  point(3, 2, 2);
  point(4, 1, 2);
  send(kOpQuadPattern);
  send(kOpTrianglePattern);
  bufferPoints({{5, 5}, {6, 5}, {6, 6}, {5, 7}, {4, 6}});
  send(kOpPolygonPattern);
  endPlot();
  EXPECT_EQ(drawn(), plus({"2.00 2.0 m", "4.00 2.0 l", "4.00 4.0 l", "2.00 4.0 l", kBlackLine, "cf",
                           "2.00 2.0 m", "4.00 2.0 l", "4.00 4.0 l", "cf", "10.00 10.0 m", "12.00 10.0 l",
                           "12.00 12.0 l", "10.00 14.0 l", "8.00 12.0 l", "cf"},
                          kPageEnd));
}

TEST_F(Drawing, FillEndRecordStrokesAndReturnsToTheLineColour) {
  beginPlot();
  line(1, 1, 2, 1);
  yyGrAttributes.PreviousRGB = kWhite;
  yyGrAttributes.FillStyle = 3;
  point(1, 10, 10);
  point(2, 20, 20);
  send(kOpRectanglePattern);
  yyGrState.M = -1;
  send(kOpRectanglePattern);
  yyGrState.M = 0;
  line(1, 1, 2, 1);
  endPlot();
  EXPECT_EQ(drawn(), plus({"2.00 2.0 m", "4.00 2.0 l", kBlackLine, "s", "20.00 20.0 m", "40.00 20.0 l",
                           "40.00 40.0 l", "20.00 40.0 l", "0.50 0.50 0.50 g", "cf", "2.00 2.0 m", "4.00 2.0 l",
                           kBlackLine, "s"},
                          kPageEnd));
}

TEST_F(Drawing, EpsClampsRectanglesToTheViewportAndIgnoresClipping) {
  setOption(kOptEncapsulated, 1);
  beginPlot();
  yyGrAttributes.FillStyle = 4;
  point(1, -10, -10);
  point(2, 400, 300);
  send(kOpRectanglePattern);
  endPlot();
  const Lines after = linesAfter();
  const Lines expected = {"0.50 w",       "0 setlinejoin",  "5.0 setmiterlimit", "0 setlinecap",
                          "0.00 0.0 m",   "756.00 0.0 l",   "756.00 540.0 l",    "0.00 540.0 l",
                          kBlackLine,     "cf",             "%%EOF"};
  EXPECT_EQ(after, expected);
}

TEST_F(Drawing, EllipseIsStrokedOrFilledInsideItsOwnGraphicsState) {
  struct Case {
    int fillStyle;
    const char* paint;
  };
  for (const Case& c : {Case{0, "s"}, Case{2, "s"}, Case{3, "cf"}, Case{5, "cf"}}) {
    SetUp();
    beginPlot();
    yyGrAttributes.PreviousRGB = 0;
    colour(kRed);
    line(1, 1, 2, 1);
    yyGrAttributes.FillStyle = c.fillStyle;
    yyGrState.AreaHeightFraction = 0.25f;
    yyGrState.AreaWidthFraction = 0.5f;
    point(1, 100, 50);
    yyGrState.R6 = 25;
    yyGrState.R7 = 1.5f;  // q = 0.25 x 1.5 / 0.5
    send(kOpEllipsePattern);
    line(2, 1, 3, 1);
    endPlot();
    // A fill strokes the open path first; an outline keeps it open around
    // the ellipse, and the colour written inside does not count outside.
    Lines ellipse = {"gsave 1.0 0.7500 scale newpath", "200.00 133.33 50.0 90. 450. arc"};
    Lines expected = {"2.00 2.0 m", "4.00 2.0 l"};
    if (c.fillStyle <= 2) {
      // The outline keeps the open path around it, and the colour written
      // inside does not count outside: the next paint writes it again.
      ellipse = plus(ellipse, {kRedLine, c.paint, "grestore"});
      expected = plus(expected, ellipse);
      expected = plus(expected, {"6.00 2.0 l", kRedLine, "s"});
    } else if (c.fillStyle == 3) {
      // A fill strokes the open path first; fill style 3 fills in the mean
      // of the previous and the current colour, which stays current.
      ellipse = plus(ellipse, {"0.50 0.00 0.0 g", c.paint, "grestore"});
      expected = plus(expected, {kRedLine, "s"});
      expected = plus(expected, ellipse);
      expected = plus(expected, {"4.00 2.0 m", "6.00 2.0 l", "0.50 0.00 0.0 g", "s"});
    } else {
      ellipse = plus(ellipse, {c.paint, "grestore"});
      expected = plus(expected, {kRedLine, "s"});
      expected = plus(expected, ellipse);
      expected = plus(expected, {"4.00 2.0 m", "6.00 2.0 l", "s"});
    }
    EXPECT_EQ(drawn(), plus(expected, kPageEnd)) << c.fillStyle;
  }
}

TEST_F(Drawing, FlatEllipseOrArcWritesNothing) {
  beginPlot();
  point(1, 100, 50);
  yyGrState.R6 = 25;
  yyGrState.R7 = 0.0f;
  send(kOpEllipsePattern);
  yyGrState.AreaHeightFraction = 0.0f;
  send(kOpArc);
  endPlot();
  EXPECT_EQ(drawn(), kPageEnd);
}

TEST_F(Drawing, ArcsArePiesOrOpenByFillOutlineAndStyle) {
  struct Case {
    std::int32_t opcode;
    int fillStyle, fillOutline;
    bool centre;
    const char* paint;
  };
  const Case cases[] = {
      {kOpArc, 0, 3, false, "s"},       // open arc
      {kOpArc, 0, 2, true, "cs"},       // closed through the centre
      {kOpArc, 4, 3, true, "cs"},
      {kOpPiePattern, 4, 3, true, "cf"},
      {kOpPiePattern, 2, 0, false, nullptr},  // outlines of pies come as lines
  };
  for (const Case& c : cases) {
    SetUp();
    beginPlot();
    yyGrAttributes.FillStyle = c.fillStyle;
    yyGrAttributes.FillOutline = c.fillOutline;
    point(1, 150, 100);
    yyGrState.R6 = 25;
    yyGrState.R7 = 0.0f;
    yyGrState.R3 = std::numbers::pi_v<float> / 2;
    send(c.opcode);
    endPlot();
    Lines expected;
    if (c.paint != nullptr) {
      expected = {"gsave 1.0 1.0000 scale newpath"};
      if (c.centre) expected.push_back("300.00 200.0 m");
      expected = plus(expected, {"300.00 200.00 50.0 0.0 90.0 arc", kBlackLine, c.paint, "grestore"});
    }
    EXPECT_EQ(drawn(), plus(expected, kPageEnd)) << c.opcode << " " << c.fillStyle << " " << c.fillOutline;
  }
}

TEST_F(Drawing, FontIsSelectedAtTheFirstTextAndAfterEachSizeChange) {
  beginPlot();
  YYGrState& s = yyGrState;
  s.CharWidth = 0.0625f;
  s.AreaWidthDevice = 80.0f;
  s.CharHeight = 0.125f;
  s.AreaHeightDevice = 40.0f;
  s.TextStyle = 1;
  text("Route", 50, 20, 80, 20);
  text("Track", 50, 30, 80, 30);
  send(kOpCharSize);
  s.TextFamily = 3;
  s.TextStyle = 6;
  text("Way", 50, 40, 80, 40);
  endPlot();
  EXPECT_EQ(drawn(), plus({kBlackLine, "/Helvetica-2 ff [16.5 0 0 10.0 0 0] ms", "100.00 40.0 m", "(Route) lsh",
                           "100.00 60.0 m", "(Track) lsh", "/Times-3 ff [16.5 0 0 10.0 0 0] ms", "100.00 80.0 m",
                           "(Way) lsh"},
                          kPageEnd));
  EXPECT_FLOAT_EQ(s.PenX, -9999.0f);
  EXPECT_FLOAT_EQ(s.PenY, -9999.0f);
}

TEST_F(Drawing, FontMatrixFollowsTextModeAndFamily) {
  struct Case {
    int family, style, mode;
    float width;  // w = h on the page
    const char* font;
  };
  const Case cases[] = {
      {1, 0, 0, 10, "/Courier-1 ff [16.5 0 0 10.0 0 0] ms"},
      {2, 3, 1, 10, "/Helvetica-4 ff [13.3 0 0 8.2 0 0] ms"},
      {3, 2, 2, 10, "/Times-3 ff [17.2 0 0 8.2 0 0] ms"},
      {4, 1, 3, 10, "/Symbol ff [10.0 0 0 8.2 0 0] ms"},  // mode 3 as the screen sizes it
      {2, 0, 0, 0.25f, "/Helvetica-1 ff [1.6 0 0 1.0 0 0] ms"},  // at least one point
      // The size is limited to 999 before the factor; the product is then
      // held to its field instead of turning into asterisks.
      {2, 0, 0, 5000, "/Helvetica-1 ff [999.9 0 0 999.0 0 0] ms"},
  };
  for (const Case& c : cases) {
    SetUp();
    beginPlot();
    YYGrState& s = yyGrState;
    s.TextFamily = c.family;
    s.TextStyle = c.style;
    s.TextMode = c.mode;
    s.CharWidth = 1.0f;
    s.CharHeight = 1.0f;
    s.AreaWidthDevice = c.width / 2;
    s.AreaHeightDevice = c.width / 2;
    text("a", 1, 1, 2, 1);
    endPlot();
    const Lines d = drawn();
    ASSERT_GE(d.size(), 2u);
    EXPECT_EQ(d[1], c.font);
  }
}

TEST_F(Drawing, UnknownFamilyKeepsTheFontButNeverLeavesTextWithoutOne) {
  beginPlot();
  yyGrState.TextFamily = 9;
  text("first", 1, 1, 2, 1);  // no font yet: the first family stands in
  send(kOpCharSize);
  yyGrState.TextFamily = 2;
  text("second", 1, 1, 2, 1);
  send(kOpCharSize);
  yyGrState.TextFamily = 0;
  text("third", 1, 1, 2, 1);
  endPlot();
  Lines fonts;
  for (const std::string& l : drawn()) {
    if (l.find(" ff [") != std::string::npos) fonts.push_back(l.substr(0, l.find(' ')));
  }
  EXPECT_EQ(fonts, (Lines{"/Courier-1", "/Helvetica-1"}));
}

TEST_F(Drawing, TextIsEscapedAndCutOnlyBetweenWholeEscapes) {
  struct Case {
    std::string text;
    std::string line;
  };
  const Case cases[] = {
      {"a(b)c\\d", "(a\\(b\\)c\\\\d) lsh"},
      {"two  blanks", "(two  blanks) lsh"},
      {std::string(255, 'x'), "(" + std::string(249, 'x') + ") lsh"},
      // A cut inside an escape would leave a backslash before the closing
      // parenthesis, and the string would swallow the rest of the file.
      {std::string(248, 'x') + "((((", "(" + std::string(248, 'x') + ") lsh"},
      {std::string(247, 'x') + "\\\\\\", "(" + std::string(247, 'x') + "\\\\) lsh"},
      {std::string(248, 'x') + ")", "(" + std::string(248, 'x') + ") lsh"},
  };
  beginPlot();
  for (const Case& c : cases) text(c.text, 1, 1, 2, 1);
  endPlot();
  Lines strings;
  for (const std::string& l : drawn()) {
    if (l.starts_with("(")) strings.push_back(l);
  }
  ASSERT_EQ(strings.size(), std::size(cases));
  for (std::size_t i = 0; i < strings.size(); ++i) {
    EXPECT_EQ(strings[i], cases[i].line) << i;
    EXPECT_LE(strings[i].size(), 255u);
  }
}

TEST_F(Drawing, TextAngleRotatesAroundTheStringAndIsTruncated) {
  struct Case {
    float angle;
    Lines around;
  };
  const Case cases[] = {
      {30.7f, {"30.0 ro", "(Up) lsh", "330.0 ro"}},
      {0.5f, {"0.0 ro", "(Up) lsh", "360.0 ro"}},
      {0.0f, {"(Up) lsh"}},
  };
  for (const Case& c : cases) {
    SetUp();
    beginPlot();
    yyGrState.CharAngle = c.angle;
    text("Up", 1, 1, 2, 1);
    endPlot();
    const Lines d = drawn();
    ASSERT_GE(d.size(), 3u);
    EXPECT_EQ(d[2], "2.00 2.0 m");
    EXPECT_EQ(Lines(d.begin() + 3, d.begin() + 3 + static_cast<std::ptrdiff_t>(c.around.size())), c.around)
        << c.angle;
  }
}

TEST_F(Drawing, TextAnchorFollowsAlignmentAndCharacterStep) {
  struct Case {
    int align, mode;
    float stepX, stepY;
    const char* move;
    const char* word;
  };
  const Case cases[] = {
      {0, 0, 0, 0, "20.00 20.0 m", "lsh"},  {1, 0, 0, 0, "40.00 20.0 m", "csh"},
      {2, 0, 0, 0, "60.00 20.0 m", "rsh"},  {2, 1, 0, 0, "20.00 20.0 m", "lsh"},
      {0, 0, 100, 50, "74.00 -7.0 m", "lsh"},
  };
  for (const Case& c : cases) {
    SetUp();
    beginPlot();
    YYGrState& s = yyGrState;
    s.TextAlign = c.align;
    s.TextMode = c.mode;
    s.CharStepX = c.stepX;
    s.CharStepY = c.stepY;
    text("Tag", 10, 10, 30, 10);
    endPlot();
    const Lines d = drawn();
    ASSERT_GE(d.size(), 4u);
    EXPECT_EQ(d[2], c.move) << c.align << " " << c.mode;
    EXPECT_EQ(d[3], std::string("(Tag) ") + c.word) << c.align << " " << c.mode;
  }
}

TEST_F(Drawing, ClipUsesTheViewportWidenedToWholeUnits) {
  beginPlot();
  line(1, 1, 2, 1);
  YYGrState& s = yyGrState;
  s.ViewportLeftReal = 10.7f;
  s.ViewportBottomReal = 5.25f;
  s.ViewportRightReal = 100.25f;
  s.ViewportTopReal = 50.25f;
  send(kOpClip);
  endPlot();
  const Lines d = drawn();
  EXPECT_EQ(d, (Lines{"2.00 2.0 m", "4.00 2.0 l", kBlackLine, "s", "initclip", "20.00 10.0 m", "202.00 10.0 l",
                      "202.00 102.0 l", "20.00 102.0 l", "clip", "newpath", kPageEnd[0], kPageEnd[1]}));
}

TEST_F(Drawing, LineAttributesStrokeFirstAndAreWrittenOnChange) {
  beginPlot();
  YYGrAttributes& a = yyGrAttributes;
  line(1, 1, 2, 1);
  a.LineStyle = 2;
  send(kOpLineStyle);
  send(kOpLineStyle);  // unchanged: nothing
  a.LineStyle = 5;
  send(kOpLineStyle);
  a.LineStyle = 0;
  send(kOpLineStyle);
  setOption(kOptLineWidthTenths, 10);
  send(kOpLineWidth);
  send(kOpLineWidth);
  a.LineWidthTenths = 40;  // the attribute words do not count
  send(kOpLineWidth);
  line(1, 1, 2, 1);
  setOption(kOptLineJoin, 1);
  send(kOpLineJoin);
  send(kOpLineJoin);  // written every time
  setOption(kOptLineCap, 2);
  send(kOpLineCap);
  setOption(kOptLineJoin, 0);
  send(kOpLineJoin);
  endPlot();
  EXPECT_EQ(drawn(), (Lines{"2.00 2.0 m", "4.00 2.0 l", kBlackLine, "s", "[6 6] 3 d", "[5 2 3 2] 2 d", "[] 0 d",
                            "1.0 w", "2.00 2.0 m", "4.00 2.0 l", "s", "1 setlinejoin", "1 setlinejoin",
                            "2 setlinecap", "0 setlinejoin", "5.0 setmiterlimit", kPageEnd[0], kPageEnd[1]}));
}

TEST_F(Drawing, OpcodesTheDriverDoesNotHandleWriteNothing) {
  beginPlot();
  point(1, 1, 1);
  point(2, 5, 5);
  yyGrAttributes.FillStyle = 4;
  for (std::int32_t op : {4, 6, 8, 10, 12, 14, 16, 17, 23, 25, 27, 28, 31, 33, 39, 40, 0, 41, -3}) send(op);
  endPlot();
  EXPECT_EQ(drawn(), Lines{});
}

}  // namespace
}  // namespace postscript_tests
