#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "toolkit/drivers/dither_patterns.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

constexpr std::int32_t rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

struct Planes {
  DitherPattern p1 = 0, p2 = 0, p3 = 0;
};

class DitherPatterns : public ::testing::Test {
 protected:
  void SetUp() override {
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    yyHardcopyOptions.fill(0);
    YYColourDefaults();
    YYUserPatternsReset();
  }

  // The patterns of an RGB colour on a device of the colour count and class given.
  static Planes patternsOf(std::int32_t colour, int colourCount, int deviceClass) {
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = colour;
    yyGrState.HardcopyColourCount = colourCount;
    YYRasterDevice device;
    device.deviceClass = deviceClass;
    Planes p;
    YYColourPatterns(device, p.p1, p.p2, p.p3);
    return p;
  }
};

// Bytes of a pattern are cell rows 0-3: 55 AA 55 AA is the word 0xAA55AA55.
struct Case {
  const char* what;
  std::int32_t colour;
  int colourCount;
  int deviceClass;
  int inversion;
  DitherPattern p1, p2, p3;
};

TEST_F(DitherPatterns, ColourPatternsAreExactCells) {
  const Case cases[] = {
      {"red 128: even bits, rows shuffled to 55 AA 55 AA", rgb(128, 0, 0), 8, 1, 0, 0xAA55AA55, 0, 0},
      {"red 64: every fourth bit, rows turned apart", rgb(64, 0, 0), 8, 1, 0, 0x88112244, 0, 0},
      {"green 128 starts elsewhere and turns by 3 and 4", rgb(0, 128, 0), 8, 1, 0, 0, 0x55AAAAAA, 0},
      {"a level above 0.975 sets every bit", rgb(249, 0, 255), 8, 1, 0, 0xFFFFFFFF, 0, 0xFFFFFFFF},
      {"white on a CMY device inks nothing", rgb(255, 255, 255), 8, 2, 0, 0, 0, 0},
      {"red on a CMY device is its complement", rgb(255, 0, 0), 8, 2, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF},
      {"inversion 1 turns every colour", rgb(128, 0, 0), 8, 1, 1, 0xAA55AA55, 0xFFFFFFFF, 0xFFFFFFFF},
      {"inversion 2 turns black to white", rgb(3, 4, 5), 8, 1, 2, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
      {"inversion 2 leaves colours alone", rgb(128, 0, 0), 8, 1, 2, 0xAA55AA55, 0, 0},
      {"black is no ink", rgb(0, 0, 0), 8, 1, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hardcopyOption(6) = c.inversion;
    const Planes p = patternsOf(c.colour, c.colourCount, c.deviceClass);
    EXPECT_EQ(p.p1, c.p1);
    EXPECT_EQ(p.p2, c.p2);
    EXPECT_EQ(p.p3, c.p3);
  }
}

TEST_F(DitherPatterns, GreysGiveEqualPlanesAndColoursDoNot) {
  const Planes grey = patternsOf(rgb(100, 102, 103), 8, 1);
  EXPECT_NE(grey.p1, 0u);
  EXPECT_EQ(grey.p2, grey.p1);
  EXPECT_EQ(grey.p3, grey.p1);
  // Four apart is a colour: the green and blue passes start elsewhere.
  const Planes tinted = patternsOf(rgb(100, 102, 104), 8, 1);
  EXPECT_EQ(tinted.p1, grey.p1);
  EXPECT_NE(tinted.p2, tinted.p1);
}

// However the bits are spread and shuffled, a level sets round(level x 32) of them.
TEST_F(DitherPatterns, EveryLevelSetsItsShareOfTheCell) {
  for (int level = 0; level <= 248; ++level) {
    SCOPED_TRACE(level);
    const Planes p = patternsOf(rgb(level, 0, 255 - level), 8, 1);
    const int wanted = static_cast<int>(static_cast<float>(level) / 255.0f * 32.0f + 0.5f);
    EXPECT_EQ(std::popcount(p.p1), wanted);
  }
}

TEST_F(DitherPatterns, MonoDevicesDitherTheLuminanceOnAllPlanes) {
  // 0.35 of full red is 11 bits of 32 (0.30 would give 10).
  const Planes red = patternsOf(rgb(255, 0, 0), 2, 0);
  EXPECT_EQ(std::popcount(red.p1), 11);
  EXPECT_EQ(red.p2, red.p1);
  EXPECT_EQ(red.p3, red.p1);
  EXPECT_EQ(patternsOf(rgb(255, 255, 255), 2, 0).p1, 0xFFFFFFFFu);
  // Inversion turns red to cyan (0.70, 22 bits), then complements the pattern.
  hardcopyOption(6) = 1;
  EXPECT_EQ(std::popcount(patternsOf(rgb(255, 0, 0), 2, 0).p1), 10);
}

TEST_F(DitherPatterns, UserPatternsReplacePlaneOneOfIndexedMonoColours) {
  yyUserPatterns[5] = {0, 0x12345678};
  yyGrAttributes.ColourMode = kColourIndexed;
  yyGrAttributes.ColourNumber = 5;
  yyGrState.HardcopyColourCount = 2;
  YYRasterDevice device;
  Planes p;
  YYColourPatterns(device, p.p1, p.p2, p.p3);
  EXPECT_EQ(p.p1, 0x12345678u);
  EXPECT_NE(p.p2, 0x12345678u);
  // Colour devices ignore them; a reset removes them.
  yyGrState.HardcopyColourCount = 8;
  YYColourPatterns(device, p.p1, p.p2, p.p3);
  EXPECT_NE(p.p1, 0x12345678u);
  yyGrState.HardcopyColourCount = 2;
  YYUserPatternsReset();
  YYColourPatterns(device, p.p1, p.p2, p.p3);
  EXPECT_NE(p.p1, 0x12345678u);
}

TEST_F(DitherPatterns, TablesHoldThePatternsOfEachColourClass) {
  YYDitherTables();
  // Class 0 is no ink, class 15 is 255 and full.
  EXPECT_EQ(yyDitherTables[0][0], 0u);
  EXPECT_EQ(yyDitherTables[2][4095], 0xFFFFFFFFu);
  // Red class 8 is level 143 on plane 1 only; the table ignores the device.
  yyGrState.HardcopyColourCount = 2;
  hardcopyOption(6) = 1;
  YYDitherTables();
  const std::size_t red8 = static_cast<std::size_t>(ditherIndex(143, 0, 0));
  EXPECT_EQ(red8, 8u);
  hardcopyOption(6) = 0;
  const Planes red = patternsOf(rgb(143, 0, 0), 8, 1);
  EXPECT_EQ(yyDitherTables[0][red8], red.p1);
  EXPECT_EQ(yyDitherTables[1][red8], 0u);
  // A grey class has equal planes.
  const std::size_t grey = static_cast<std::size_t>(ditherIndex(111, 111, 111));
  EXPECT_NE(yyDitherTables[0][grey], 0u);
  EXPECT_EQ(yyDitherTables[1][grey], yyDitherTables[0][grey]);
  EXPECT_EQ(yyDitherTables[2][grey], yyDitherTables[0][grey]);
}

}  // namespace
