#pragma once
// Tests play the drawing program for the two plotter-language drivers: they
// fill the graphics records, hand opcodes to the driver through the hardcopy
// dispatcher and read back the lines of the plot file it wrote.
//
// The surface is 819 x 546 units, so that the plotter scales are exactly 40
// and 60 plotter units per surface unit and golden lines hold exact numbers.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/plot_file_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/dither_patterns.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace plot_files {

constexpr float kSurfaceWidth = 819.0f;   // 32760 / 40
constexpr float kSurfaceHeight = 546.0f;  // 32760 / 60

using plot_fixture::bufferPoints;
using plot_fixture::option;
using plot_fixture::point;
using plot_fixture::send;
using plot_fixture::setOption;

// A colour of the default table as a drawing program selects it: the old
// current colour becomes the previous one.
inline void colourNumber(int number) {
  YYGrAttributes& a = yyGrAttributes;
  a.ColourMode = kColourIndexed;
  a.PreviousColourNumber = a.ColourNumber;
  a.PreviousRGB = a.CurrentRGB;
  a.ColourNumber = number;
  a.CurrentRGB = yyColourTable[static_cast<std::size_t>(number)];
  send(kOpColour);
}

// The lines of a file ended CR LF; a line without its CR LF at the end of the
// file is reported as it is.
inline std::vector<std::string> fileLines(const std::string& path) {
  std::string rest;
  std::vector<std::string> lines = plot_fixture::crlfLines(plot_fixture::fileBytes(path), rest);
  if (!rest.empty()) lines.push_back(rest + "<no CR LF>");
  return lines;
}

class PlotFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plot_fixture::resetGraphics();
    plot_fixture::setSurface(static_cast<int>(kSurfaceWidth), static_cast<int>(kSurfaceHeight), kSurfaceWidth,
                             kSurfaceHeight);
    YYGrState& s = yyGrState;
    s.SurfaceAspect = kSurfaceWidth / kSurfaceHeight;
    s.CharWidth = 0.03f;
    s.CharHeight = 0.08f;
    plot_fixture::clearHardcopyChoices();
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyGrAttributes.HardcopyOpen = 0;
    YYPROUClose(kPlotUnitFile);
  }

  static void initialise(int driver) { plot_fixture::initialise(driver); }

  // A file of its own for each test, so that every file the tests write is
  // left for the outside checker.
  static std::string testFileName() { return plot_fixture::currentTestName(".") + ".plt"; }

  // Opens the plot on the file, as a hardcopy start does.
  void beginPlot(std::string file = "", int titled = 0) {
    path_ = file.empty() ? testFileName() : file;
    std::filesystem::remove(path_);
    yyGrState.X1 = titled;
    plot_fixture::openPlot(path_);
  }
  void endPage(std::int32_t m = 1) {
    yyGrState.M = m;
    send(kOpEndPage);
    yyGrState.M = 0;
  }
  void endPlot() { plot_fixture::closePlot(); }

  // Every line of the file written so far (the file is closed first).
  std::vector<std::string> lines() {
    endPlot();
    return fileLines(path_);
  }
  // The lines written after the header, the header's last line being the
  // first scaling command.
  std::vector<std::string> linesAfterHeader() {
    std::vector<std::string> all = lines();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] == "SC0 32760 0 32760") return std::vector<std::string>(all.begin() + static_cast<long>(i) + 1, all.end());
    }
    ADD_FAILURE() << "no scaling command in the header";
    return all;
  }

  std::string path_;
};

}  // namespace plot_files
