// The steps every driver that writes a plot file takes the same way: opening
// the plot unit, the device scales and the count of the point buffer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

class PlotFileSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
  }
  void TearDown() override {
    YYPROUClose(kPlotUnitFile);
    yyGrAttributes.HardcopyOpen = 0;
  }
};

TEST_F(PlotFileSteps, AGoodOpenKeepsTheEarlierErrorAndAFailedOneClosesTheHardcopy) {
  struct Case {
    const char* name;
    bool opens;
  };
  for (const Case& c : {Case{"plot_steps.plt", true}, Case{"no_such_folder\\plot.plt", false}}) {
    SCOPED_TRACE(c.name);
    TEXT = c.name;
    yyGrAttributes.HardcopyOpen = 1;
    errorState.lastError = 7;
    EXPECT_EQ(openPlotFile(), c.opens);
    YYPROUClose(kPlotUnitFile);
    EXPECT_EQ(yyGrAttributes.HardcopyOpen, c.opens ? 1 : 0);
    if (c.opens) {
      EXPECT_EQ(errorState.lastError, 7);
      EXPECT_TRUE(std::filesystem::exists(c.name));
    } else {
      // The open's own report replaces the earlier error.
      EXPECT_NE(errorState.lastError, 7);
      EXPECT_NE(errorState.lastError, 0);
    }
  }
}

TEST_F(PlotFileSteps, DeviceScalesAreUnitsOverTheRealSurfaceAndASurfaceOfNoSizeKeepsItsScale) {
  YYGrState& s = yyGrState;
  s.SurfaceWidthReal = 400.0f;
  s.SurfaceHeightReal = 0.0f;
  s.DeviceScaleY = 3.5f;
  setDeviceScales(1000.0f, 50.0f);
  EXPECT_FLOAT_EQ(s.DeviceScaleX, 2.5f);
  EXPECT_FLOAT_EQ(s.DeviceScaleY, 3.5f);
}

TEST_F(PlotFileSteps, TheBufferedPointCountIsHeldToTheBuffer) {
  const std::pair<std::int32_t, int> cases[] = {
      {-3, 0}, {0, 0}, {17, 17}, {kPointBufferSize, kPointBufferSize}, {kPointBufferSize + 1, kPointBufferSize}};
  for (const auto& [n, expected] : cases) {
    yyGrState.N = n;
    EXPECT_EQ(bufferedPointCount(), expected) << n;
  }
}

}  // namespace
