// Driver 9: CGM files written opcode by opcode and read back element by
// element with the test decoder.
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "cgm_fixture.h"

namespace cgm_test {
namespace {

using CgmFile = CgmWriters;

TEST_F(CgmFile, ProbeAnswersTheNumberAndChangesNothingElse) {
  yyHardcopyDriverNumber = kCgmDriver;
  yyGrState.N = kDriverProbe;
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.N, kCgmDriver);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 0);
  EXPECT_EQ(yyGrState.ActiveDriver, 0);
}

TEST_F(CgmFile, InitialiseDescribesTheDevice) {
  initialise();
  const YYGrState& s = yyGrState;
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 756);
  EXPECT_EQ(hardcopyOption(kOptPageHeight), 540);
  EXPECT_EQ(hardcopyOption(kOptCgmFonts), 2);
  EXPECT_EQ(s.ResolutionX, 600);
  EXPECT_EQ(s.ResolutionY, 600);
  EXPECT_EQ(s.HardcopyColourCount, 256);
  EXPECT_EQ(s.HardcopyToFile, 0);
  EXPECT_EQ(s.ShadeMode[kHardcopySide], 2);
  EXPECT_EQ(s.FullCircle[kHardcopySide], 360);
  EXPECT_FLOAT_EQ(s.DeviceWord6[kHardcopySide], 1.7e38f);
  EXPECT_EQ(s.HardcopyCaps.view(), "00000110111111100010011011100");
  EXPECT_EQ(yyHardcopyOutputName.trimmed(), "zndvplot.cgm");
  EXPECT_EQ(s.ActiveDriver, kCgmDriver);
}

TEST_F(CgmFile, FileBeginsWithTheMetafileDescriptorAndPictureStart) {
  beginFile("start.cgm");
  endFile();
  const auto bytes = readFile("start.cgm");
  const std::vector<std::uint8_t> head = {
      0x00, 0x2D, 12, 'Q', 'V', 'R', ' ', 'C', 'G', 'M', ' ', 'F', 'i', 'l', 'e', 0,  // BEGIN METAFILE
      0x10, 0x22, 0, 1,                                                                // METAFILE VERSION 1
      0x10, 0x52, 17, 'Q', 'V', 'R', ' ', 'C', 'G', 'M', ' ', 'd', 'r', 'i', 'v', 'e', 'r', ' ', 'v', '4',
      0x10, 0x62, 0, 0,                    // VDC TYPE integer
      0x10, 0x82, 0, 16,                   // INTEGER PRECISION
      0x10, 0xA6, 0, 1, 0, 16, 0, 16,      // REAL PRECISION fixed 16.16
      0x10, 0xC2, 0, 16,                   // INDEX PRECISION
      0x11, 0xBF, 0x01, 0x04, 11, 'C', 'o', 'u', 'r', 'i', 'e', 'r', ' ', 'N', 'e', 'w'};
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head.size())), head);

  const Decoded d = decode(bytes);
  ASSERT_EQ(d.error, "");
  const std::vector<std::string> expected = {"0/1", "1/1", "1/2", "1/3", "1/4", "1/5", "1/6", "1/13", "1/7", "1/10",
                                             "0/3", "2/3", "2/5", "2/2", "3/1", "2/6", "0/4", "5/18", "0/5", "0/2"};
  std::vector<std::string> codes;
  for (const Element& e : d.elements) codes.push_back(codeOf(e));
  EXPECT_EQ(codes, expected);
  const Element& extent = d.elements[15];
  EXPECT_EQ(extent.word(2), 6300);
  EXPECT_EQ(extent.word(3), 4500);
  EXPECT_EQ(d.elements[9].parameters, (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255}));
  EXPECT_EQ(d.elements[10].string(0), "QVR CGM Data");
  EXPECT_EQ(d.elements[17].parameters.size(), 12u);
  EXPECT_EQ(d.elements[17].word(0), 1);
  EXPECT_EQ(d.elements[17].word(1), 5);
  EXPECT_NEAR(yyGrState.DeviceScaleX, 6300 / (kSurfaceWidth - 0.01f), 1e-4);
  EXPECT_NEAR(yyGrState.DeviceScaleY, 4500 / (kSurfaceHeight - 0.01f), 1e-4);
}

TEST_F(CgmFile, TitlesOfAnyLengthStayInsideTheirElement) {
  struct Case {
    int titled;
    std::string title;
    bool longForm;
  };
  const Case cases[] = {{0, "ignored", false},
                        {1, std::string(29, 'a'), false},
                        {1, std::string(30, 'b'), true},
                        {1, std::string(40, 'c'), true},
                        {1, std::string(200, 'd'), true}};
  for (const Case& c : cases) {
    yyPlotTitle = c.title;
    beginFile("title.cgm", c.titled);
    endFile();
    const Decoded d = fileElements("title.cgm");
    ASSERT_EQ(d.error, "") << c.title.size();
    ASSERT_GE(d.elements.size(), 3u);
    EXPECT_EQ(d.elements[0].string(0), c.titled == 0 ? "QVR CGM File" : c.title);
    EXPECT_EQ(d.elements[0].longForm, c.longForm) << c.title.size();
    EXPECT_TRUE(d.elements[1].is(1, 1)) << "the element after the title is METAFILE VERSION";
  }
}

TEST_F(CgmFile, AnAttributeIsWrittenOnlyWhenItChanges) {
  beginFile("cache.cgm");
  colour(0x0000FF);
  point(1, 10, 10);
  point(2, 100, 10);
  send(kOpLine);
  send(kOpLine);
  colour(0x00FF00);
  send(kOpPoint);
  bufferPoints({{0, 0}, {400, 300}, {799, 0}});
  send(kOpPolyline);
  endFile();
  // A new file writes the colour again.
  beginFile("cache2.cgm");
  send(kOpLine);
  endFile();

  const auto d = drawn(fileElements("cache.cgm"));
  std::vector<std::string> codes;
  for (const Element& e : d) codes.push_back(codeOf(e));
  EXPECT_EQ(codes, (std::vector<std::string>{"5/4", "4/1", "4/1", "5/4", "4/1", "4/1", "0/5", "0/2"}));
  EXPECT_EQ(d[0].parameters, (std::vector<std::uint8_t>{0xFF, 0, 0, 0}));
  EXPECT_EQ(d[1].word(0), static_cast<int>(10 * yyGrState.DeviceScaleX));
  EXPECT_EQ(d[1].word(2), static_cast<int>(100 * yyGrState.DeviceScaleX));
  EXPECT_EQ(d[4].word(0), d[4].word(2)) << "a point is a polyline of one point twice";
  EXPECT_TRUE(d[5].longForm) << "the polyline of the point buffer is written in long form";
  EXPECT_EQ(d[5].parameters.size(), 12u);
  EXPECT_EQ(d[5].word(4), static_cast<int>(799 * yyGrState.DeviceScaleX));
  EXPECT_EQ(count(fileElements("cache2.cgm"), 5, 4), 1);
}

TEST_F(CgmFile, EveryPictureIsEndedOnce) {
  struct Case {
    const char* what;
    bool draw;
    bool endPage;
  };
  for (const Case c : {Case{"a line, then the end of the plot", true, false},
                       Case{"nothing drawn, then the end of the plot", false, false},
                       Case{"the page ended, then the plot", true, true}}) {
    beginFile("ends.cgm");
    if (c.draw) {
      point(1, 1, 1);
      point(2, 9, 9);
      send(kOpLine);
      EXPECT_EQ(yyGrState.PageBegun, -1) << c.what;
    }
    if (c.endPage) send(kOpEndPage);
    send(kOpEndPlot);
    const Decoded d = fileElements("ends.cgm");
    ASSERT_EQ(d.error, "") << c.what;
    EXPECT_EQ(count(d, 0, 5), 1) << c.what;
    ASSERT_GE(d.elements.size(), 2u);
    EXPECT_TRUE(d.elements[d.elements.size() - 2].is(0, 5)) << c.what;
    EXPECT_TRUE(d.elements.back().is(0, 2)) << c.what;
  }
}

TEST_F(CgmFile, FilledShapesAreWrittenOnlyForColouredFills) {
  struct Case {
    std::int32_t opcode;
    int fillStyle;
    std::vector<std::string> codes;
  };
  const Case cases[] = {
      {kOpRectanglePattern, 4, {"5/23", "5/22", "4/11"}},
      {kOpTrianglePattern, 4, {"5/23", "5/22", "4/7"}},
      {kOpQuadPattern, 4, {"5/23", "5/22", "4/7"}},
      {kOpPolygonPattern, 4, {"5/23", "5/22", "4/7"}},
      {kOpPiePattern, 4, {"5/23", "5/22", "4/7"}},
      {kOpEllipsePattern, 4, {"5/23", "5/22", "4/17"}},
      {kOpEllipsePattern, 0, {"5/23", "5/30", "5/29", "5/27", "5/28", "5/22", "4/17", "5/30"}},
      {kOpRectanglePattern, 2, {}},
      {kOpPiePattern, 0, {}},
      {kOpPolygonPattern, 1, {}},
      {kOpRectangleSolid, 4, {}},
      {kOpEllipseSolid, 4, {}},
  };
  for (const Case& c : cases) {
    beginFile("shape.cgm");
    colour(0x102030);
    yyGrAttributes.FillStyle = c.fillStyle;
    point(1, 100, 100);
    point(2, 300, 200);
    point(3, 150, 250);
    point(4, 90, 220);
    yyGrState.R6 = 80;
    yyGrState.R7 = 0.5f;
    yyGrState.R3 = 1.5f;
    bufferPoints({{10, 10}, {50, 10}, {30, 40}, {5, 30}});
    send(c.opcode);
    // The end of a fill sent in another form writes nothing.
    yyGrState.M = -1;
    send(c.opcode);
    yyGrState.M = 0;
    endFile();
    const auto d = drawn(fileElements("shape.cgm"));
    std::vector<std::string> codes;
    for (std::size_t i = 0; i + 2 < d.size(); ++i) codes.push_back(codeOf(d[i]));
    EXPECT_EQ(codes, c.codes) << "opcode " << c.opcode << " fill style " << c.fillStyle;
  }
}

TEST_F(CgmFile, ShapeGeometry) {
  beginFile("geometry.cgm");
  const float sx = yyGrState.DeviceScaleX;
  const float sy = yyGrState.DeviceScaleY;
  yyGrAttributes.FillStyle = 4;
  // A rectangle partly outside the viewport is clipped to it.
  yyGrState.ViewportLeftReal = 50;
  yyGrState.ViewportTopReal = 400;
  point(1, 20, 100);
  point(2, 300, 500);
  send(kOpRectanglePattern);
  // A pie whose start is not below its end: the centre and the end point.
  point(1, 200, 200);
  yyGrState.R6 = 50;
  yyGrState.R2 = 50;
  yyGrState.R7 = 2.0f;
  yyGrState.R3 = 1.0f;
  send(kOpPiePattern);
  // The ellipse's second end comes from R6 x R7 and the page aspect; Y2 is not read.
  yyGrState.SurfaceWidthReal = 800;
  yyGrState.SurfaceHeightReal = 600;
  point(1, 400, 300);
  point(2, 80, 999);
  yyGrState.R7 = 0.5f;
  send(kOpEllipsePattern);
  endFile();
  const auto d = drawn(fileElements("geometry.cgm"));
  const auto rect = std::find_if(d.begin(), d.end(), [](const Element& e) { return e.is(4, 11); });
  ASSERT_NE(rect, d.end());
  EXPECT_EQ(rect->word(0), static_cast<int>(50 * sx));
  EXPECT_EQ(rect->word(1), static_cast<int>(100 * sy));
  EXPECT_EQ(rect->word(2), static_cast<int>(300 * sx));
  EXPECT_EQ(rect->word(3), static_cast<int>(400 * sy));
  const auto pie = std::find_if(d.begin(), d.end(), [](const Element& e) { return e.is(4, 7); });
  ASSERT_NE(pie, d.end());
  EXPECT_TRUE(pie->longForm);
  ASSERT_EQ(pie->parameters.size(), 8u);
  EXPECT_EQ(pie->word(0), static_cast<int>(200 * sx));
  // R2 became 50 / surface aspect x page aspect before the end point was taken.
  const float ry = 50.0f / (800.0f / 600.0f) * (756.0f / 540.0f);
  EXPECT_EQ(pie->word(2), static_cast<int>((200 + 50 * std::cos(1.0f)) * sx));
  EXPECT_EQ(pie->word(3), static_cast<int>((200 + ry * std::sin(1.0f)) * sy));
  const auto ellipse = std::find_if(d.begin(), d.end(), [](const Element& e) { return e.is(4, 17); });
  ASSERT_NE(ellipse, d.end());
  EXPECT_EQ(ellipse->word(2), static_cast<int>(480 * sx));
  const float up = 80 * 0.5f * (756.0f / 540.0f) * 600 / 800;
  EXPECT_NEAR(ellipse->word(5), (300 + up) * sy, 1.0);
}

TEST_F(CgmFile, FillStyleThreeMixesTheCurrentAndThePreviousColour) {
  beginFile("mix.cgm");
  colour(0x000000);
  colour(0xFF4020);
  yyGrAttributes.FillStyle = 3;
  point(1, 10, 10);
  point(2, 20, 20);
  send(kOpRectanglePattern);
  endFile();
  const auto d = drawn(fileElements("mix.cgm"));
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0].parameters, (std::vector<std::uint8_t>{0x10, 0x20, 0x7F, 0}));
}

TEST_F(CgmFile, GreyOptionSwapsOnlyWhiteAndBlackOrInvertsAll) {
  struct Case {
    int option;
    std::int32_t in;
    std::vector<std::uint8_t> out;
  };
  const Case cases[] = {{2, 0xFFFFFF, {0, 0, 0, 0}},       {2, 0x000000, {255, 255, 255, 0}},
                        {2, 0x808080, {128, 128, 128, 0}}, {1, 0x0000FF, {0, 255, 255, 0}},
                        {0, 0xFFFFFF, {255, 255, 255, 0}}};
  for (const Case& c : cases) {
    beginFile("grey.cgm");
    hardcopyOption(kOptColourInversion) = c.option;
    colour(c.in);
    send(kOpLine);
    endFile();
    const auto d = drawn(fileElements("grey.cgm"));
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(d[0].parameters, c.out) << "option " << c.option << " colour " << std::hex << c.in;
  }
}

TEST_F(CgmFile, TextElementsAndTheirLengths) {
  struct Case {
    int mode;
    int align;
    std::string text;
    int style;
    std::vector<std::string> codes;
    bool longForm;
  };
  const Case cases[] = {
      {0, 0, "Scene", 0, {"5/14", "5/18", "4/5"}, false},
      {0, 0, std::string(20, 'w'), 0, {"5/14", "5/18", "4/5"}, true},   // length 31
      {0, 0, std::string(19, 'w'), 0, {"5/14", "5/18", "4/5"}, false},  // length 30
      {1, 2, "Plain", 0, {"5/14", "5/18", "4/4"}, false},
      {0, 1, "Centre", 0, {"5/14", "5/18", "4/5"}, false},
      {0, 0, "Boxed", 8, {"3/4", "3/3", "5/14", "5/18", "4/5", "3/4"}, false},
      {0, 0, std::string(256, 'L'), 0, {"5/14", "5/18", "4/5"}, true},
  };
  for (const Case& c : cases) {
    beginFile("text.cgm");
    colour(0x000000);
    YYGrState& s = yyGrState;
    s.TextMode = c.mode;
    s.TextAlign = c.align;
    s.TextStyle = c.style;
    send(kOpCharSize);
    point(1, 100, 200);
    point(3, 300, 200);
    TEXT = c.text;
    s.X1 = static_cast<std::int32_t>(c.text.size());
    send(kOpText);
    endFile();
    const auto d = drawn(fileElements("text.cgm"));
    std::vector<std::string> codes;
    for (std::size_t i = 2; i + 2 < d.size(); ++i) codes.push_back(codeOf(d[i]));  // after font and height
    EXPECT_EQ(codes, c.codes) << c.text;
    const auto texts = std::find_if(d.begin(), d.end(), [](const Element& e) { return e.is(4, 5) || e.is(4, 4); });
    ASSERT_NE(texts, d.end());
    EXPECT_EQ(texts->longForm, c.longForm) << c.text.size();
    const auto alignment = std::find_if(d.begin(), d.end(), [](const Element& e) { return e.is(5, 18); });
    ASSERT_NE(alignment, d.end());
    EXPECT_EQ(alignment->word(0), c.mode == 1 ? 1 : c.align + 1) << "TEXT ALIGNMENT of " << c.text;
    const std::size_t at = c.mode == 1 ? 6 : 10;
    EXPECT_EQ(texts->string(at), c.text);
    if (c.mode != 1) {
      EXPECT_EQ(texts->word(0), static_cast<int>(200 * s.DeviceScaleX)) << "delta width";
      const int x = texts->word(2);
      EXPECT_EQ(x, static_cast<int>((c.align == 1 ? 200 : 100) * s.DeviceScaleX)) << c.text;
    }
  }
}

TEST_F(CgmFile, LineAndTextAttributes) {
  beginFile("attributes.cgm");
  hardcopyOption(kOptLineWidthTenths) = 20;
  send(kOpLineWidth);
  yyGrAttributes.LineStyle = 5;
  send(kOpLineStyle);
  hardcopyOption(kOptLineJoin) = 1;
  send(kOpLineJoin);
  send(kOpLineJoin);
  hardcopyOption(kOptLineCap) = 2;
  send(kOpLineCap);
  yyGrState.TextFamily = 3;
  yyGrState.TextStyle = 2;
  send(kOpCharSize);
  send(kOpCharSize);
  yyGrState.CharCos = 0.0f;
  yyGrState.CharSinOverAspect = 1.0f;
  yyGrState.CharSinTimesAspect = 1.0f;
  send(kOpCharAngle);
  send(kOpClip);
  endFile();
  const auto d = drawn(fileElements("attributes.cgm"));
  std::vector<std::string> codes;
  for (const Element& e : d) codes.push_back(codeOf(e));
  EXPECT_EQ(codes, (std::vector<std::string>{"5/3", "5/2", "5/38", "5/37", "5/10", "5/15", "5/16", "3/6", "3/5",
                                             "0/5", "0/2"}));
  EXPECT_EQ(d[0].word(0), 6300 * 20 / (756 * 10));
  EXPECT_EQ(d[1].word(0), 10);
  EXPECT_EQ(d[2].word(0), 3);
  EXPECT_EQ(d[3].word(0), 4);
  EXPECT_EQ(d[3].word(1), 1);
  EXPECT_EQ(d[4].word(0), 4 * 2 + 2 + 1);
  EXPECT_EQ(d[5].word(0), static_cast<int>(0.05f * 0.55f * 600 * yyGrState.DeviceScaleY));
  const float k = yyGrState.DeviceScaleX * 0.015f * 800;
  EXPECT_EQ(d[6].word(0), static_cast<int>(-1.2f * k));
  EXPECT_EQ(d[6].word(1), 0);
  EXPECT_EQ(d[6].word(3), static_cast<int>(k));
  EXPECT_NEAR(d[8].word(2), 6300, 1);
}

TEST_F(CgmFile, ALargePageIsScaledDownToTheLongestSide) {
  initialise();
  hardcopyOption(kOptPageWidth) = 4000;
  hardcopyOption(kOptPageHeight) = 2000;
  TEXT = "large.cgm";
  yyGrState.M = 1;
  yyGrAttributes.HardcopyOpen = 1;
  yyGrState.X1 = 0;
  send(kOpBeginPlot);
  endFile();
  const Decoded d = fileElements("large.cgm");
  const auto extent = all(d, 2, 6);
  ASSERT_EQ(extent.size(), 1u);
  EXPECT_EQ(extent[0]->word(2), 32767);
  EXPECT_EQ(extent[0]->word(3), 16383);
}

TEST_F(CgmFile, AFileThatCannotBeOpenedClosesTheHardcopy) {
  beginFile("no_such_folder/x.cgm");
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_NE(errorState.lastError, 0);
}

TEST_F(CgmFile, ImagesBecomeRunLengthCellArraysRowByRow) {
  const std::vector<std::int32_t> pixels = {0x0000FF, 0x0000FF, 0x00FF00,   // top row: two runs
                                            0xFF0000, 0xFF0000, 0xFF0000};  // bottom row: one run
  writeBmp("cells.bmp", 3, 2, pixels);
  beginFile("image.cgm");
  TEXT = "cells.bmp";
  yyGrState.X2 = 3;
  yyGrState.Y2 = 2;
  yyGrState.M = 5;
  send(kOpImage);
  EXPECT_EQ(yyGrState.M, 0);
  // A file that cannot be read writes nothing and answers its error.
  TEXT = "missing.bmp";
  send(kOpImage);
  EXPECT_NE(yyGrState.M, 0);
  endFile();
  const Decoded d = fileElements("image.cgm");
  ASSERT_EQ(d.error, "");
  const auto cells = all(d, 4, 9);
  ASSERT_EQ(cells.size(), 1u);
  const Element& e = *cells[0];
  EXPECT_EQ(e.partitionLengths, (std::vector<int>{20, 10, 6}));
  EXPECT_EQ(e.word(0), 0);                                          // P x: viewport left
  EXPECT_EQ(e.word(1), static_cast<int>((kSurfaceHeight - 0.01f) * yyGrState.DeviceScaleY));  // P y: top
  EXPECT_EQ(e.word(6), 3);
  EXPECT_EQ(e.word(7), 2);
  EXPECT_EQ(e.word(8), 8);
  EXPECT_EQ(e.word(9), 0);
  const std::vector<std::uint8_t> runs(e.parameters.begin() + 20, e.parameters.end());
  EXPECT_EQ(runs, (std::vector<std::uint8_t>{0, 2, 0xFF, 0, 0, 0, 1, 0, 0xFF, 0,  // row 1: two runs
                                             0, 3, 0, 0, 0xFF, 0}));                // row 2: one run and a pad
  EXPECT_EQ(count(d, 0, 5), 1);
}

// An image too large for the memory the program can have fails like an
// unreadable file, and the plot goes on.
TEST_F(CgmFile, AnImageTooLargeForMemoryFailsAndThePlotGoesOn) {
  writeBmp("small.bmp", 2, 1, {0x010203, 0x010203});
  beginFile("huge_image.cgm");
  TEXT = "small.bmp";
  yyGrState.X2 = 20000;
  yyGrState.Y2 = 20000;
  yyGrState.M = 0;
  send(kOpImage);
  EXPECT_NE(yyGrState.M, 0);
  point(1, 1, 1);
  point(2, 9, 9);
  send(kOpLine);
  endFile();
  const Decoded d = fileElements("huge_image.cgm");
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(count(d, 4, 9), 0);
  EXPECT_EQ(count(d, 4, 1), 1);
}

TEST_F(CgmFile, ShadedPolygonsAreInterpolatedTriangles) {
  beginFile("shaded.cgm");
  const std::vector<std::pair<float, float>> corners = {{100, 100}, {300, 100}, {300, 200}, {100, 200}};
  const std::array<std::int32_t, 4> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0x000000};
  bufferPoints(corners);
  yyPolygonWork.vertexCount = 4;
  for (std::size_t i = 0; i < colours.size(); ++i) yyPolygonWork.colours[i] = colours[i];
  send(kOpShadedPolygon);
  EXPECT_EQ(yyPolygonWork.shadingStatus, 0);
  endFile();
  const auto d = drawn(fileElements("shaded.cgm"));
  std::vector<std::string> codes;
  for (std::size_t i = 0; i + 2 < d.size(); ++i) codes.push_back(codeOf(d[i]));
  ASSERT_EQ(codes, (std::vector<std::string>{"5/31", "5/43", "5/22", "4/7", "5/31", "5/43", "5/22", "4/7"}));
  const float sx = yyGrState.DeviceScaleX;
  const float sy = yyGrState.DeviceScaleY;
  for (std::size_t t = 0; t < 2; ++t) {
    const Element& reference = d[4 * t];
    const Element& interior = d[4 * t + 1];
    const Element& polygon = d[4 * t + 3];
    ASSERT_EQ(interior.parameters.size(), 22u);
    EXPECT_EQ(interior.word(0), 3);
    EXPECT_EQ(interior.word(5), 0);
    EXPECT_EQ(d[4 * t + 2].word(0), 6);
    EXPECT_EQ(reference.word(0), polygon.word(0));
    EXPECT_EQ(reference.word(1), polygon.word(1));
    // Each vertex carries its own colour; the vectors lead from vertex 1 to 2 and 3.
    std::array<std::size_t, 3> which{};
    for (std::size_t k = 0; k < 3; ++k) {
      const auto found = std::find_if(corners.begin(), corners.end(), [&](const auto& c) {
        return static_cast<int>(c.first * sx) == polygon.word(2 * k) &&
               static_cast<int>(c.second * sy) == polygon.word(2 * k + 1);
      });
      ASSERT_NE(found, corners.end()) << "triangle " << t << " vertex " << k;
      which[k] = static_cast<std::size_t>(found - corners.begin());
      const CgmRgb c = CgmRgb::fromValue(colours[which[k]]);
      EXPECT_EQ(interior.byte(12 + 3 * k), c.red);
      EXPECT_EQ(interior.byte(13 + 3 * k), c.green);
      EXPECT_EQ(interior.byte(14 + 3 * k), c.blue);
    }
    for (std::size_t k = 1; k < 3; ++k) {
      EXPECT_EQ(interior.word(2 * k - 1), static_cast<int>((corners[which[k]].first - corners[which[0]].first) * sx));
      EXPECT_EQ(interior.word(2 * k), static_cast<int>((corners[which[k]].second - corners[which[0]].second) * sy));
    }
    EXPECT_EQ(interior.byte(21), 0);
  }
}

}  // namespace
}  // namespace cgm_test
