// Colour table, device colours, nearest-colour search and colour selection.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics_fixture.h"

namespace {

using Colours = GraphicsTables;

constexpr std::int32_t rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct RampCase {
  int number;
  std::int32_t colour;
};

TEST_F(Colours, DefaultRampsRiseAndFallByFour) {
  const RampCase cases[] = {
      {0, rgb(255, 255, 255)}, {15, rgb(195, 195, 195)}, {16, rgb(195, 0, 0)},    {31, rgb(255, 0, 0)},
      {32, rgb(131, 0, 0)},    {63, rgb(255, 255, 0)},   {80, rgb(0, 195, 0)},    {127, rgb(0, 255, 255)},
      {159, rgb(0, 0, 255)},   {160, rgb(0, 0, 131)},    {191, rgb(255, 0, 255)}, {207, rgb(191, 0, 191)},
      {208, rgb(60, 60, 60)},  {223, rgb(0, 0, 0)},      {224, rgb(124, 124, 124)}, {255, rgb(131, 131, 131)},
  };
  for (const RampCase& c : cases) EXPECT_EQ(yyColourTable[static_cast<std::size_t>(c.number)], c.colour) << c.number;
  EXPECT_EQ(yyColourLookups.Lookup16[1], yyColourTable[175]);
  EXPECT_EQ(yyColourLookups.Lookup16[15], rgb(0, 0, 0));
  EXPECT_EQ(yyColourLookups.Lookup8[4], yyColourTable[31]);
}

TEST_F(Colours, Lookup128FollowsTheDeviceColourCount) {
  yyGrAttributes.DeviceColourCount = 64;  // step 4
  YYColourDefaults();
  EXPECT_EQ(yyColourLookups.Lookup128[0], yyColourTable[0]);
  EXPECT_EQ(yyColourLookups.Lookup128[3], yyColourTable[12]);   // below 16: the block's first
  EXPECT_EQ(yyColourLookups.Lookup128[4], yyColourTable[19]);   // else the block's last
  EXPECT_EQ(yyColourLookups.Lookup128[60], yyColourTable[240]);
}

TEST_F(Colours, FindAnswersExactMatchesAndTiesToTheLowerNumber) {
  int n = -1;
  YYColourFind(16777215, n);
  EXPECT_EQ(n, 0);
  YYColourFind(0, n);
  EXPECT_EQ(n, 223);
  // Two entries at the same distance: the lower number wins.
  YYColourSetEntry(70, rgb(10, 200, 30));
  YYColourSetEntry(40, rgb(10, 200, 30));
  YYColourFind(rgb(10, 201, 30), n);
  EXPECT_EQ(n, 40);
  // A near-red lands on a red entry.
  YYColourFind(rgb(250, 2, 1), n);
  int r = 0, g = 0, b = 0;
  YYRGBSPLIT(yyColourTable[static_cast<std::size_t>(n)], r, g, b);
  EXPECT_GT(r, 200);
  EXPECT_EQ(g + b, 0);
}

TEST_F(Colours, HueSaturationValue) {
  struct HsvCase {
    std::int32_t colour;
    float h, s, v;
  };
  const float degree = 0.017453292f;
  const HsvCase cases[] = {
      {0, 0.0f, 0.0f, 0.0f},
      {255, 360.0f * degree, 1.0f, 1.0f},
      {65280, 120.0f * degree, 1.0f, 1.0f},
      {16711680, 240.0f * degree, 1.0f, 1.0f},
      {rgb(128, 128, 128), 0.0f, 0.0f, 128.0f / 255.0f},
  };
  for (const HsvCase& c : cases) {
    float h = -1.0f, s = -1.0f, v = -1.0f;
    YYRGBTOHSV(c.colour, h, s, v);
    EXPECT_NEAR(h, c.h, 1e-4f) << c.colour;
    EXPECT_NEAR(s, c.s, 1e-6f) << c.colour;
    EXPECT_NEAR(v, c.v, 1e-6f) << c.colour;
  }
}

TEST_F(Colours, DeviceColoursOfSmallDisplays) {
  for (int d : {2, 8, 16, 64, 256}) {
    yyGrAttributes.DeviceColourCount = d;
    EXPECT_EQ(YYDEVCOLOUR(0), 0) << d;
  }
  yyGrAttributes.DeviceColourCount = 16;
  EXPECT_EQ(YYDEVCOLOUR(223), 15);
  EXPECT_EQ(YYDEVCOLOUR(31), 12);
  yyGrAttributes.DeviceColourCount = 2;
  EXPECT_EQ(YYDEVCOLOUR(100), 1);
  yyGrAttributes.DeviceColourCount = 64;
  EXPECT_EQ(YYDEVCOLOUR(100), 25);
  EXPECT_EQ(YYPAL16(9, 1), 13);
  EXPECT_EQ(YYPAL16(16, 0), -1);
  EXPECT_EQ(YYPAL16(-1, 0), -1);
}

TEST_F(Colours, SelectionShiftsCurrentToPreviousAndRejectsUnknownNumbers) {
  yyGrAttributes.DeviceColourCount = 16;
  IGrColourN(31);
  YYGrAttributes& a = yyGrAttributes;
  EXPECT_EQ(a.PreviousColourNumber, 223);
  EXPECT_EQ(a.ColourNumber, 31);
  EXPECT_EQ(a.CurrentRGB, rgb(255, 0, 0));
  EXPECT_EQ(a.DeviceColour, 12);
  const YYGrAttributes before = a;
  for (int bad : {256, -1}) {
    EXPECT_EQ(reportsOf(42, [&] { IGrColourN(bad); }), 1) << bad;
    EXPECT_EQ(a.ColourNumber, before.ColourNumber);
    EXPECT_EQ(a.PreviousColourNumber, before.PreviousColourNumber);
    EXPECT_EQ(a.CurrentRGB, before.CurrentRGB);
    EXPECT_EQ(a.PreviousRGB, before.PreviousRGB);
    EXPECT_EQ(a.DeviceColour, before.DeviceColour);
    EXPECT_EQ(a.PreviousDeviceColour, before.PreviousDeviceColour);
  }
  // In RGB mode any value is taken and the nearest number found.
  YYColourModeSet(24);
  IGrColourN(rgb(255, 0, 0));
  EXPECT_EQ(a.ColourNumber, 31);
  EXPECT_EQ(a.CurrentRGB, rgb(255, 0, 0));
  YYColourModeSet(8);
  EXPECT_EQ(a.ColourMode, kColourIndexed);
}

TEST_F(Colours, SetEntryKeepsTheLookupsInStep) {
  yyGrAttributes.DeviceColourCount = 16;
  YYColourSetEntry(31, rgb(1, 2, 3));
  EXPECT_EQ(yyColourLookups.Lookup16[12], rgb(1, 2, 3));
  EXPECT_EQ(yyColourLookups.Lookup8[4], rgb(1, 2, 3));
  int n = -1;
  YYColourFind(rgb(1, 2, 3), n);
  EXPECT_EQ(n, 31);
}

}  // namespace
