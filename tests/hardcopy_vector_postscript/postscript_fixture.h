#pragma once
// Tests play the drawing program for the PostScript driver: they fill the
// graphics records and hand opcodes to the driver through the dispatcher, as a
// hardcopy start and the drawing routines would.  Each test writes its own
// file (named after the test) into the working folder, where Ghostscript
// reads every one of them afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/plot_file_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/postscript_driver.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace postscript_tests {

// A surface of 378 x 270 on the driver's page of 756 x 540 points: both
// scales are exactly 2, so every golden coordinate is exact.
constexpr float kSurfaceWidth = 378.0f;
constexpr float kSurfaceHeight = 270.0f;

using plot_fixture::bufferPoints;
using plot_fixture::colour;
using plot_fixture::fileBytes;
using plot_fixture::point;
using plot_fixture::send;
using plot_fixture::setOption;
using plot_fixture::text;

inline void line(float x1, float y1, float x2, float y2) {
  point(1, x1, y1);
  point(2, x2, y2);
  send(kOpLine);
}

// Each test starts from the driver's defaults on the surface above, in RGB
// colours, with no hardcopy open and errors recorded silently.
class PostScriptDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    plot_fixture::resetGraphics();
    yyPsState = YYPsState{};
    plot_fixture::setSurface(static_cast<int>(kSurfaceWidth), static_cast<int>(kSurfaceHeight), kSurfaceWidth,
                             kSurfaceHeight);
    yyGrState.TextFamily = 2;
    yyGrAttributes.ColourMode = kColourRgb;
    plot_fixture::clearHardcopyChoices();
    plot_fixture::initialise(kPostScriptDriver);
  }
  void TearDown() override { yyHardcopyDriverNumber = kWindowsPrinterDriver; }

  // The file of this test: its name and the kind the options ask for.
  static std::string fileName() {
    return plot_fixture::currentTestName("_") + (hardcopyOption(kOptEncapsulated) != 0 ? ".eps" : ".ps");
  }

  // Opens the plot as a hardcopy start does: opcode 18, then the attributes.
  void beginPlot(bool titled = false) {
    path_ = outputName_.empty() ? fileName() : outputName_;
    yyGrState.X1 = titled ? 1 : 0;
    if (!plot_fixture::openPlot(path_)) return;
    yyGrState.PenX = -9999.0f;
    yyGrState.PenY = -9999.0f;
    plot_fixture::sendStartAttributes();
  }

  // Ends the plot as the hardcopy stop does and reads the file back.
  void endPlot() {
    if (yyGrState.PageBegun != 0) {
      yyGrState.N = 1;
      yyGrState.M = 32;
      send(kOpEndPage);
    }
    plot_fixture::closePlot();
    bytes_ = fileBytes(path_);
  }

  // The file's lines; every one must end CR LF (the final bytes after the
  // last line end are left out).
  std::vector<std::string> lines() const {
    std::string rest;
    return plot_fixture::crlfLines(bytes_, rest);
  }

  // The lines written after the marker line (the first page line unless
  // told otherwise), up to the end of the plot.
  std::vector<std::string> linesAfter(std::string_view marker = "%%Page: 1 1") const {
    const std::vector<std::string> all = lines();
    std::vector<std::string> out;
    bool seen = false;
    for (const std::string& l : all) {
      if (seen) out.push_back(l);
      if (!seen && l == marker) seen = true;
    }
    return out;
  }

  // The lines drawn after the start-up attributes (which end with the clip's
  // "newpath"), without the trailer of the plot.
  std::vector<std::string> drawn() const {
    std::vector<std::string> out = linesAfter();
    std::size_t skip = 0;
    while (skip < out.size() && out[skip] != "newpath") ++skip;
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(std::min(skip + 1, out.size())));
    while (!out.empty() && (out.back() == "%%EOF" || out.back() == "initgraphics")) out.pop_back();
    return out;
  }

  std::string outputName_;  // a name of the test's choice in place of its own
  std::string path_;
  std::string bytes_;
};

using Lines = std::vector<std::string>;

}  // namespace postscript_tests
