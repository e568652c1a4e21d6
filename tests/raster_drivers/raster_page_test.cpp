#include <algorithm>
#include <cstdint>

#include "raster_fixture.h"

namespace {

using RasterPage = RasterPageTest;

// Each storage kind by its own rule: where the pixel lands in the words.
TEST_F(RasterPage, PixelsLandWhereTheirStorageKindSays) {
  struct Case {
    int bitsPerPixel;
    std::int32_t value;
    int column, row;
    int storageKind;
    int wordsPerRow;
    std::vector<std::pair<std::size_t, std::uint32_t>> words;  // word index, expected word
  };
  // Pages of 40 x 3.
  const Case cases[] = {
      {1, 5, 33, 1, 1, 2, {{3, 0x2u}}},
      {3, 6, 2, 2, 2, 2, {{4, 0u}, {6 + 4, 0x4u}, {12 + 4, 0x4u}}},
      {4, 9, 31, 0, 2, 2, {{0, 0x80000000u}, {6, 0u}, {12, 0u}, {18, 0x80000000u}}},
      {8, 0x1AB, 6, 2, 3, 10, {{21, 0x00AB0000u}}},
      {24, 0x123456, 39, 2, 4, 40, {{119, 0x123456u}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitsPerPixel);
    openPage({.width = 40, .rows = 3, .bitsPerPixel = c.bitsPerPixel});
    EXPECT_EQ(yyRasterPage.storageKind, c.storageKind);
    EXPECT_EQ(yyRasterPage.wordsPerRow, c.wordsPerRow);
    YYRasterPixel(c.value, c.column, c.row);
    for (const auto& [at, expected] : c.words) EXPECT_EQ(yyRasterPage.buffer[at], expected) << "word " << at;
    const auto set = std::count_if(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(),
                                   [](std::uint32_t w) { return w != 0; });
    EXPECT_EQ(set, std::count_if(c.words.begin(), c.words.end(), [](const auto& w) { return w.second != 0; }));
    YYRasterPageFree();
  }
}

TEST_F(RasterPage, BytePixelsKeepTheirNeighbours) {
  openPage({.width = 8, .rows = 1, .bitsPerPixel = 8});
  YYRasterRun(0x11, 0, 0, 7);
  YYRasterPixel(0x77, 2, 0);
  YYRasterPixel(0, 5, 0);
  EXPECT_EQ(yyRasterPage.buffer[0], 0x11771111u);
  EXPECT_EQ(yyRasterPage.buffer[1], 0x11110011u);
}

// Nothing outside columns 0 .. width - 1 and rows 0 .. rows - 1 may change,
// not even the spare bits of a row's last word nor the word after the page.
TEST_F(RasterPage, OffPagePixelsAreRefused) {
  for (const int bits : {1, 3, 8, 24}) {
    SCOPED_TRACE(bits);
    openPage({.width = 20, .rows = 3, .bitsPerPixel = bits});
    const std::int32_t value = bits == 24 ? 0xFFFFFF : bits == 8 ? 255 : bits == 3 ? 7 : 1;
    YYRasterPixel(value, -1, 0);
    YYRasterPixel(value, 20, 0);
    YYRasterPixel(value, 0, -1);
    YYRasterPixel(value, 0, 3);
    YYRasterRun(value, -100, -1, 100);
    YYRasterRun(value, -100, 3, 100);
    EXPECT_TRUE(std::all_of(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(), [](std::uint32_t w) { return w == 0; }));
    YYRasterRun(value, -100, 1, 100);
    if (bits == 1) {
      EXPECT_EQ(yyRasterPage.buffer[1], 0x000FFFFFu);
    }
    for (int c = 0; c < 20; ++c) EXPECT_EQ(pixel(c, 1), value);
    EXPECT_EQ(yyRasterPage.buffer.back(), 0u);
    YYRasterPageFree();
  }
}

TEST_F(RasterPage, ClearWritesTheClearValueEverywhere) {
  openPage({.width = 5, .rows = 2, .bitsPerPixel = 24, .clearValue = -1});
  YYRasterPixel(0, 1, 1);
  send(kOpClear);
  EXPECT_TRUE(std::all_of(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(),
                          [](std::uint32_t w) { return w == 0xFFFFFFFFu; }));
}

TEST_F(RasterPage, BeginPlotPreparesThePageAndScales) {
  send(kOpInitialise);
  EXPECT_EQ(yyGrState.ShadeMode[kHardcopySide], 1);
  EXPECT_EQ(yyGrState.FullCircle[kHardcopySide], 0);
  EXPECT_EQ(yyGrState.HardcopyDeviceWord1, 1);
  EXPECT_EQ(hardcopyOption(9), 5);
  EXPECT_EQ(hardcopyOption(8), 1);
  ASSERT_GT(YYRasterPageLayout(300, 200, 4, 4), 0);
  yyGrState.SurfaceWidth = 600;
  yyGrState.SurfaceHeight = 100;
  yyGrState.M = 1;
  send(kOpBeginPlot);
  EXPECT_EQ(yyRasterPage.lastColumn, 299);
  EXPECT_EQ(yyRasterPage.lastRow, 199);
  EXPECT_EQ(yyGrState.HardcopyColourCount, 16);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 0.5f);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleY, 2.0f);
  // A resize only rescales.
  yyGrState.SurfaceWidth = 300;
  yyGrState.HardcopyColourCount = 99;
  yyGrState.M = -1;
  send(kOpBeginPlot);
  EXPECT_FLOAT_EQ(yyGrState.DeviceScaleX, 1.0f);
  EXPECT_EQ(yyGrState.HardcopyColourCount, 99);
}

TEST_F(RasterPage, LayoutRefusesPagesBeyondTheWordCounts) {
  EXPECT_EQ(YYRasterPageLayout(60000, 60000, 24, 1), -1);
  EXPECT_EQ(YYRasterPageLayout(300000, 300000, 3, 3), -1);
  EXPECT_EQ(YYRasterPageLayout(33, 2, 1, 1), 4);
  EXPECT_EQ(YYRasterPageLayout(9, 2, 8, 1), 6);
}

// The colour opcode's pixel value per depth, drawn as a point at (0, 0).
TEST_F(RasterPage, ColoursBecomePixelValuesPerDepth) {
  struct Case {
    const char* what;
    int bitsPerPixel;
    int deviceClass;
    int inversion;
    bool rgbMode;
    std::int32_t colour;
    std::int32_t value;
  };
  const Case cases[] = {
      {"mono white", 1, 0, 0, false, 0, 0},
      {"mono black", 1, 0, 0, false, 223, 1},
      {"mono any other", 1, 0, 0, false, 17, 1},
      {"mono inverted black", 1, 0, 1, false, 223, 0},
      {"mono inverted white", 1, 0, 1, false, 0, 1},
      {"RGB red", 3, 1, 0, true, rgb(200, 10, 10), 1},
      {"RGB cyan", 3, 1, 0, true, rgb(0, 128, 255), 6},
      {"CMY red", 3, 2, 0, true, rgb(255, 0, 0), 6},
      {"RGB white", 3, 1, 0, true, rgb(255, 255, 255), 7},
      {"RGB white, black and white inverted", 3, 1, 2, true, rgb(255, 255, 255), 0},
      {"CMY black, black and white inverted", 3, 2, 2, true, rgb(0, 0, 0), 0},
      {"four bits, colour 37", 4, 0, 0, false, 37, 1},
      {"four bits, colour 255", 4, 0, 0, false, 255, 8},
      {"eight bits", 8, 0, 0, false, 200, 200},
      {"24 bits", 24, 0, 0, true, 0x123456, 0x123456},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    yyRasterDevice.deviceClass = c.deviceClass;
    openPage({.width = 4, .rows = 2, .bitsPerPixel = c.bitsPerPixel});
    hardcopyOption(6) = c.inversion;
    if (c.rgbMode) colourRgb(c.colour);
    else colourNumber(c.colour);
    yyRasterPage.clearValue = c.value == 0 ? -1 : 0;
    send(kOpClear);
    points({{0.0f, 0.0f}});
    send(kOpPoint);
    EXPECT_EQ(pixel(0, 0), c.value);
    EXPECT_EQ(yyGrState.PageBegun, -1);
    yyGrState.PageBegun = 0;
    YYRasterPageFree();
  }
}

// Shapes are filled with spans; a rectangle of 8 x 4 shows one pattern cell.
class RasterSpans : public RasterPageTest {
 protected:
  static void fillCell() {
    yyGrAttributes.FillStyle = 3;
    points({{0.0f, 0.0f}, {7.0f, 3.0f}});
    send(kOpRectanglePattern);
  }
};

TEST_F(RasterSpans, MonoSpansTileThePatternAndMixEvenAndOddBits) {
  openPage({.width = 8, .rows = 4});
  ASSERT_EQ(yyGrState.HardcopyColourCount, 2);
  yyUserPatterns[5] = {0, 0xFFFF0000u};  // rows 2 and 3
  yyUserPatterns[6] = {0, 0x000000FFu};  // row 0
  colourNumber(5);
  colourNumber(6);
  // The same colour twice: no mix, the current pattern.
  yyGrAttributes.PreviousColourNumber = 6;
  fillCell();
  EXPECT_EQ(picture(), rowsOf({"........", "........", "........", "########"}));
  // Mixed with the colour before: even cell bits current, odd ones previous.
  yyGrAttributes.PreviousColourNumber = 5;
  send(kOpClear);
  fillCell();
  EXPECT_EQ(picture(), rowsOf({".#.#.#.#", ".#.#.#.#", "........", "#.#.#.#."}));
  // The draw flag fills solid.
  yyGrAttributes.DrawFlag = 1;
  yyGrAttributes.PreviousColourNumber = 6;
  fillCell();
  EXPECT_EQ(picture(), rowsOf({"########", "########", "########", "########"}));
}

TEST_F(RasterSpans, ThreePlaneSpansComposeThePlanesAndCheckerTheMix) {
  yyRasterDevice.deviceClass = 1;
  openPage({.width = 8, .rows = 4, .bitsPerPixel = 3});
  colourRgb(rgb(0, 255, 0));
  colourRgb(rgb(128, 0, 0));  // plane 1 55 AA 55 AA
  yyGrAttributes.PreviousColourNumber = yyGrAttributes.ColourNumber;
  fillCell();
  EXPECT_EQ(picture(), rowsOf({".1.1.1.1", "1.1.1.1.", ".1.1.1.1", "1.1.1.1."}));
  yyGrAttributes.PreviousColourNumber = yyGrAttributes.ColourNumber + 1;
  fillCell();
  EXPECT_EQ(picture(), rowsOf({"21212121", "12121212", "21212121", "12121212"}));
}

TEST_F(RasterSpans, DeepPagesRunTheValueOrCheckerTheMix) {
  openPage({.width = 6, .rows = 2, .bitsPerPixel = 8});
  colourNumber(7);
  colourNumber(9);
  yyGrAttributes.FillStyle = 3;
  points({{0.0f, 0.0f}, {5.0f, 1.0f}});
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"979797", "797979"}));
  yyGrAttributes.PreviousColourNumber = 9;
  send(kOpRectanglePattern);
  EXPECT_EQ(picture(), rowsOf({"999999", "999999"}));
}

// Colour pixels of shaded polygons and images: exact on deep pages, through
// the dither tables on one- and three-bit pages.
TEST_F(RasterPage, ColourPixelsPerDepth) {
  struct Case {
    const char* what;
    int bitsPerPixel;
    int deviceClass;
    int inversion;
    std::int32_t colour;
    int column, row;
    std::int32_t value;
  };
  const Case cases[] = {
      {"24 bits as given", 24, 0, 0, 0x00ABCDEF, 1, 1, 0x00ABCDEF},
      {"3 bits RGB: full red", 3, 1, 0, rgb(255, 0, 0), 3, 2, 1},
      {"3 bits CMY: full red", 3, 2, 0, rgb(255, 0, 0), 3, 2, 6},
      {"3 bits white, inverted", 3, 1, 1, rgb(255, 255, 255), 0, 0, 0},
      {"1 bit black inks", 1, 0, 0, rgb(0, 0, 0), 5, 3, 1},
      {"1 bit white stays blank", 1, 0, 0, rgb(255, 255, 255), 5, 3, 0},
      {"1 bit white inverted inks", 1, 0, 1, rgb(255, 255, 255), 2, 1, 1},
      // Red class 15 is q = 1 everywhere; light, so mono image pattern 9
      // (76 37 EC EC): bit 0 of it is clear, bit 2 + 3 x 1 = 5 set.
      {"1 bit light red", 1, 0, 0, rgb(255, 0, 0), 0, 0, 0},
      {"1 bit light red, set bit", 1, 0, 0, rgb(255, 0, 0), 2, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    yyRasterDevice.deviceClass = c.deviceClass;
    openPage({.width = 8, .rows = 4, .bitsPerPixel = c.bitsPerPixel, .clearValue = c.value == 0 ? -1 : 0});
    hardcopyOption(6) = c.inversion;
    YYRasterColourPixel(c.column, c.row, c.colour);
    EXPECT_EQ(pixel(c.column, c.row), c.value);
    YYRasterPageFree();
  }
}

// Deep pages store the number of the table colour found for the RGB value.
TEST_F(RasterPage, ColourPixelsOfIndexedPagesFindTheTableColour) {
  openPage({.width = 4, .rows = 1, .bitsPerPixel = 8});
  YYRasterColourPixel(0, 0, yyColourTable[150]);
  YYRasterColourPixel(1, 0, yyColourTable[0]);
  EXPECT_EQ(pixel(0, 0), 150);
  EXPECT_EQ(pixel(1, 0), 0);
  YYRasterPageFree();
  openPage({.width = 4, .rows = 1, .bitsPerPixel = 4});
  YYRasterColourPixel(0, 0, yyColourTable[150]);  // 150 div 16 = 9: value 12
  EXPECT_EQ(pixel(0, 0), 12);
}

TEST_F(RasterPage, ShadedPolygonsFillThroughThePixelRoutineWithinTheClip) {
  openPage({.width = 10, .rows = 8, .bitsPerPixel = 24, .clearValue = -1});
  const float xs[] = {1, 8, 8, 1};
  const float ys[] = {1, 1, 6, 6};
  yyPolygonWork.vertexCount = 4;
  for (std::size_t i = 0; i < 4; ++i) {
    yyGrPointBuffer.x[i] = xs[i];
    yyGrPointBuffer.y[i] = ys[i];
    yyPolygonWork.colours[i] = 0x000080;
  }
  clipTo(0, 0, 5, 7);
  send(kOpShadedPolygon);
  EXPECT_EQ(yyGrState.PageBegun, -1);
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 10; ++c) {
      const bool inside = c >= 2 && c <= 5 && r >= 2 && r <= 5;
      const bool outside = c > 5 || c < 1 || r < 1 || r > 6;
      if (inside) {
        EXPECT_EQ(pixel(c, r), 0x000080) << c << "," << r;
      }
      if (outside) {
        EXPECT_EQ(pixel(c, r), -1) << c << "," << r;
      }
    }
  }
}

}  // namespace
