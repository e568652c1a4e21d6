// The shared scene through the HP-GL driver, left as scene.plt for hp2xx to
// render and compare with the screen's picture.
#include <algorithm>
#include <string>

#include "hardcopy_vector_hpgl/plot_file_fixture.h"
#include "hardcopy_vector_hpgl/plotter_scene.h"
#include "toolkit/drivers/hpgl_driver.h"

namespace plot_files {
namespace {

using HpglScene = PlotFileTest;

TEST_F(HpglScene, ThePlotterFillsEveryShapeItselfAndWritesTheTexts) {
  yyRasterDevice.plotterModel = 6;
  initialise(kHpglDriver);
  setOption(kOptNativeFill, 1);
  beginPlot("scene.plt");
  send(kOpClip);
  drawGraphicsScene(asPlotterProgram<YYGHPGL>);
  // Every shape was filled by the plotter: nothing was left for the engine.
  EXPECT_EQ(yyGrAttributes.FillFallback, 0);
  endPage();
  const std::vector<std::string> all = lines();
  const auto has = [&all](const std::string& line) { return plot_fixture::hasLine(all, line); };
  const auto count = [&all](const std::string& prefix) { return plot_fixture::countStartingWith(all, prefix); };
  EXPECT_TRUE(has(std::string("LB") + kSceneText + "\x04"));
  EXPECT_TRUE(has(std::string("LB") + kSceneUpText + "\x04"));
  EXPECT_TRUE(has("DI0.000 1.000"));
  EXPECT_EQ(count("PM2;FP"), 4);  // ellipse, pentagon, clipped and shaded polygons; the box is RA
  EXPECT_EQ(count("RA"), 1);
  EXPECT_EQ(count("WG"), 1);
  EXPECT_EQ(count("AA"), 1);
  EXPECT_EQ(count("LT"), 5);
}

}  // namespace
}  // namespace plot_files
