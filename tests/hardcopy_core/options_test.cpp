// The option table and the checks and actions of each option code.
#include <gtest/gtest.h>

#include <algorithm>

#include "hardcopy_fixture.h"

namespace {

TEST_F(HardcopyCore, DriverParametersStandBeforeOptionsOneToTwentyNine) {
  hardcopyOption(101) = 11;
  hardcopyOption(108) = 18;
  hardcopyOption(1) = 21;
  hardcopyOption(29) = 49;
  EXPECT_EQ(yyHardcopyOptions[0], 11);
  EXPECT_EQ(yyHardcopyOptions[7], 18);
  EXPECT_EQ(yyHardcopyOptions[8], 21);
  EXPECT_EQ(yyHardcopyOptions[36], 49);
  // A code that names no option reaches no entry.
  hardcopyOption(30) = 5;
  hardcopyOption(100) = 5;
  EXPECT_EQ(hardcopyOption(30), 0);
  EXPECT_EQ(std::count(yyHardcopyOptions.begin(), yyHardcopyOptions.end(), 5), 0);
}

struct LimitCase {
  int code;
  std::int32_t value;
  std::int32_t stored;  // the option afterwards; it starts at 7
};

TEST_F(HardcopyCore, EachCodeChecksItsLimits) {
  const LimitCase cases[] = {
      {1, 0, 7},         {1, 1, 1},       {2, -5, 7},      {2, 900, 900},   {101, 0, 7},     {104, 5, 5},
      {108, 1, 1},       {3, -40, -40},   {4, 0, 0},       {7, -2, -2},     {15, 4, 4},      {17, 1, 1},
      {18, -1, -1},      {19, 3, 3},      {20, 9, 9},      {25, 1, 1},      {27, 5, 5},      {28, -3, -3},
      {29, 1, 1},        {106, -1, -1},   {107, 12, 12},   {6, 2, 2},       {6, 3, 7},       {6, -1, 7},
      {8, 0, 1},         {8, 4, 4},       {12, 50, 100},   {12, 150, 150},  {16, 9, 7},      {16, 10, 10},
      {16, 255, 255},    {16, 256, 7},    {21, 0, 7},      {21, 127, 127},  {21, 128, 7},    {105, 0, 7},
      {105, 4, 4},       {105, 5, 7},     {10, 3, 7},      {10, 2, 2},      {11, -1, 7},     {11, 1, 1},
      {9, 0, 1},         {9, 12, 12},     {14, 3, 7},      {22, 1, 1},      {26, 3, 3},
  };
  for (const LimitCase& c : cases) {
    hardcopyOption(c.code) = 7;
    YYHCOPTION(c.code, c.value);
    EXPECT_EQ(hardcopyOption(c.code), c.stored) << "code " << c.code << " value " << c.value;
  }
  // Codes that name no option change nothing.
  const auto before = yyHardcopyOptions;
  for (int code : {0, 30, 100, 109, -1}) YYHCOPTION(code, 3);
  EXPECT_EQ(yyHardcopyOptions, before);
}

struct OrientationCase {
  std::int32_t value;
  std::int32_t width, height, orientation;
};

TEST_F(HardcopyCore, OrientationTwoAndThreeOrderThePageSides) {
  const OrientationCase cases[] = {
      {2, 540, 756, 0}, {3, 756, 540, 1}, {0, 756, 540, 0}, {1, 756, 540, 1}, {-1, 756, 540, 9}, {4, 756, 540, 9},
  };
  for (const OrientationCase& c : cases) {
    hardcopyOption(kOptPageWidth) = 756;
    hardcopyOption(kOptPageHeight) = 540;
    hardcopyOption(kOptOrientation) = 9;
    YYHCOPTION(kOptOrientation, c.value);
    EXPECT_EQ(hardcopyOption(kOptPageWidth), c.width) << c.value;
    EXPECT_EQ(hardcopyOption(kOptPageHeight), c.height) << c.value;
    EXPECT_EQ(hardcopyOption(kOptOrientation), c.orientation) << c.value;
  }
  // A page given upright is turned by 3 too.
  hardcopyOption(kOptPageWidth) = 540;
  hardcopyOption(kOptPageHeight) = 756;
  YYHCOPTION(kOptOrientation, 3);
  EXPECT_EQ(hardcopyOption(kOptPageWidth), 756);
  EXPECT_EQ(hardcopyOption(kOptPageHeight), 540);
}

struct ExtensionCase {
  int activeDriver;
  int code;
  std::int32_t value;
  const char* name;
  const char* renamed;
};

TEST_F(HardcopyCore, OptionsTwentyTwoAndTwentySixChangeTheExtensionOfTheirDriver) {
  const ExtensionCase cases[] = {
      {kPostScriptDriver, 22, 1, "zndvplot.ps", "zndvplot.eps"},
      {kPostScriptDriver, 22, 0, "zndvplot.eps", "zndvplot.ps"},
      {kPostScriptDriver, 22, 1, "C:\\my.plots\\zndvplot", "C:\\my.plots\\zndvplot.eps"},
      {kPostScriptDriver, 22, 1, "C:\\my.plots\\out.v2.ps", "C:\\my.plots\\out.v2.eps"},
      {kPostScriptDriver, 22, 1, "", ""},
      {kPostScriptDriver, 26, 3, "zndvplot.ps", "zndvplot.ps"},
      {kRasterImageDriver, 26, 1, "zndvplot.pcx", "zndvplot.bmp"},
      {kRasterImageDriver, 26, 2, "zndvplot.pcx", "zndvplot.bmp"},
      {kRasterImageDriver, 26, 3, "d.x\\zndvplot.pcx", "d.x\\zndvplot.png"},
      {kRasterImageDriver, 26, 0, "zndvplot.png", "zndvplot.pcx"},
      {kRasterImageDriver, 26, 7, "zndvplot.png", "zndvplot.pcx"},
      {kRasterImageDriver, 22, 1, "zndvplot.pcx", "zndvplot.pcx"},
  };
  for (const ExtensionCase& c : cases) {
    yyGrState.ActiveDriver = c.activeDriver;
    yyHardcopyOutputName = c.name;
    YYHCOPTION(c.code, c.value);
    EXPECT_EQ(yyHardcopyOutputName.str(), c.renamed) << c.code << " " << c.value << " " << c.name;
    EXPECT_EQ(hardcopyOption(c.code), c.value) << c.name;
  }
  // A name that fills the field keeps 260 columns.
  yyGrState.ActiveDriver = kPostScriptDriver;
  yyHardcopyOutputName = std::string(257, 'a') + ".ps";
  YYHCOPTION(22, 1);
  EXPECT_EQ(yyHardcopyOutputName.str(), std::string(257, 'a') + ".ep");
}

struct DepthCase {
  int activeDriver;
  std::int32_t value;
  std::int32_t stored;
};

TEST_F(HardcopyCore, ColourDepthDependsOnTheActiveDriver) {
  const DepthCase cases[] = {
      {kRasterImageDriver, 24, 24}, {kRasterImageDriver, 1, 1}, {kRasterImageDriver, 3, 7},
      {kDxfDriver, 24, 7},          {kDxfDriver, 3, 3},         {kDxfDriver, 8, 8},
      {kPostScriptDriver, 8, 7},    {0, 4, 7},
  };
  for (const DepthCase& c : cases) {
    yyGrState.ActiveDriver = c.activeDriver;
    hardcopyOption(kOptColourDepth) = 7;
    YYHCOPTION(kOptColourDepth, c.value);
    EXPECT_EQ(hardcopyOption(kOptColourDepth), c.stored) << c.activeDriver << " " << c.value;
  }
}

TEST_F(HardcopyCore, ResolutionIndexAndCompressionFollowTheRasterPrinter) {
  YYHardcopyDevice(13);  // two resolutions, run-length compression at best
  ASSERT_EQ(yyRasterDevice.resolutionCount, 2);
  ASSERT_EQ(yyRasterDevice.defaultCompression, 1);
  yyGrState.RasterResolution = 5;
  for (std::int32_t value : {0, 3}) {
    YYHCOPTION(kOptRasterResolution, value);
    EXPECT_EQ(hardcopyOption(kOptRasterResolution), 0) << value;
    EXPECT_EQ(yyGrState.RasterResolution, 5) << value;
  }
  YYHCOPTION(kOptRasterResolution, 2);
  EXPECT_EQ(hardcopyOption(kOptRasterResolution), 2);
  EXPECT_EQ(yyGrState.RasterResolution, 2);

  YYHCOPTION(kOptCompression, 2);
  EXPECT_EQ(hardcopyOption(kOptCompression), 0);
  YYHCOPTION(kOptCompression, 1);
  EXPECT_EQ(hardcopyOption(kOptCompression), 1);
  YYHCOPTION(kOptCompression, -1);
  EXPECT_EQ(hardcopyOption(kOptCompression), 1);
  YYHardcopyDevice(28);
}

TEST_F(HardcopyCore, LineOptionsReachAnOpenHardcopyAtOnce) {
  initialiseDriver();
  yyGrAttributes.HardcopyOpen = 1;
  YYHCOPTION(kOptLineWidthTenths, 0);
  YYHCOPTION(kOptLineJoin, 3);  // refused: nothing sent
  YYHCOPTION(kOptLineJoin, 1);
  YYHCOPTION(kOptLineCap, -1);  // refused
  YYHCOPTION(kOptLineCap, 2);
  YYHCOPTION(kOptCopies, 2);    // no primitive of its own
  EXPECT_EQ(recorder().opcodes(), (std::vector<YYGrPrimitive>{kOpLineWidth, kOpLineJoin, kOpLineCap}));
  EXPECT_EQ(hardcopyOption(kOptLineWidthTenths), 1);
  // With no hardcopy open the route drops them; the options are still stored.
  recorder().seen.clear();
  yyGrAttributes.HardcopyOpen = 0;
  YYHCOPTION(kOptLineWidthTenths, 8);
  YYHCOPTION(kOptLineJoin, 2);
  EXPECT_TRUE(recorder().seen.empty());
  EXPECT_EQ(hardcopyOption(kOptLineWidthTenths), 8);
  EXPECT_EQ(hardcopyOption(kOptLineJoin), 2);
}

}  // namespace
