// The shared scene through the HP-GL/2 driver, left as scene.plt for hp2xx to
// render and compare with the screen's picture.
#include <algorithm>
#include <string>

#include "hardcopy_vector_hpgl/plot_file_fixture.h"
#include "hardcopy_vector_hpgl/plotter_scene.h"
#include "toolkit/drivers/hpgl2_driver.h"

namespace plot_files {
namespace {

using Hpgl2Scene = PlotFileTest;

TEST_F(Hpgl2Scene, EveryShapeIsFilledNativelyAndTheTextsAreLabels) {
  yyRasterDevice.hpgl2Model = 4;
  initialise(kHpgl2Driver);
  beginPlot("scene.plt");
  send(kOpClip);
  drawGraphicsScene(asPlotterProgram<YYGHPGL2>);
  endPage();
  const std::vector<std::string> all = lines();
  const auto has = [&all](const std::string& line) { return plot_fixture::hasLine(all, line); };
  const auto count = [&all](const std::string& prefix) { return plot_fixture::countStartingWith(all, prefix); };
  EXPECT_TRUE(has(std::string("LB") + kSceneText + "\x04"));
  EXPECT_TRUE(has(std::string("LB") + kSceneUpText + "\x04"));
  EXPECT_EQ(count("PM2;FP"), 4);  // ellipse, pentagon, clipped and shaded polygons; the box is RA
  EXPECT_EQ(count("RA"), 1);
  EXPECT_EQ(count("WG"), 1);
  EXPECT_EQ(count("AA"), 1);
  EXPECT_EQ(count("PE7"), 4);  // the box outline, the pentagon, the clipped and the shaded polygon
  EXPECT_EQ(all.back(), "PG");
}

}  // namespace
}  // namespace plot_files
