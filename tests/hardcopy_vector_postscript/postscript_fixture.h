#pragma once
// Tests play the drawing program for the PostScript driver: they fill the
// graphics records and hand opcodes to the driver through the dispatcher, as a
// hardcopy start and the drawing routines would.  Each test writes its own
// file (named after the test) into the working folder, where Ghostscript
// reads every one of them afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

inline void send(std::int32_t opcode) {
  YYGrPrimitive primitive = opcode;
  YYHCDISPATCH(primitive);
}

inline void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }

inline void point(int k, float x, float y) {
  float* xs[] = {&yyGrState.R5, &yyGrState.R6, &yyGrState.R7, &yyGrState.R8};
  float* ys[] = {&yyGrState.R1, &yyGrState.R2, &yyGrState.R3, &yyGrState.R4};
  *xs[k - 1] = x;
  *ys[k - 1] = y;
}

inline void line(float x1, float y1, float x2, float y2) {
  point(1, x1, y1);
  point(2, x2, y2);
  send(kOpLine);
}

inline void bufferPoints(const std::vector<std::pair<float, float>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].first;
    yyGrPointBuffer.y[i] = points[i].second;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
}

// The current colour as an RGB value (red in the low byte); the old one
// becomes the previous colour, as the colour call of a program does.
inline void colour(std::int32_t rgb) {
  yyGrAttributes.PreviousRGB = yyGrAttributes.CurrentRGB;
  yyGrAttributes.CurrentRGB = rgb;
  send(kOpColour);
}

inline void text(std::string_view words, float x1, float y1, float x2, float y2) {
  TEXT = words;
  yyGrState.X1 = static_cast<std::int32_t>(words.size());
  point(1, x1, y1);
  point(3, x2, y2);
  send(kOpText);
}

inline std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each test starts from the driver's defaults on the surface above, in RGB
// colours, with no hardcopy open and errors recorded silently.
class PostScriptDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    yyPsState = YYPsState{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = static_cast<std::int32_t>(kSurfaceWidth);
    s.SurfaceHeight = static_cast<std::int32_t>(kSurfaceHeight);
    s.SurfaceWidthReal = kSurfaceWidth;
    s.SurfaceHeightReal = kSurfaceHeight;
    s.ViewportRightReal = kSurfaceWidth;
    s.ViewportTopReal = kSurfaceHeight;
    s.AreaWidthDevice = kSurfaceWidth;
    s.AreaHeightDevice = kSurfaceHeight;
    s.TextFamily = 2;
    yyGrAttributes.ColourMode = kColourRgb;
    for (auto& word : yyHardcopyOptions) word = 0;
    yyPlotTitle = "";
    yyHardcopyOutputName = "";
    yyHardcopyDriverNumber = kPostScriptDriver;
    yyGrState.N = 0;
    yyGrState.M = 0;
    send(kOpInitialise);
  }
  void TearDown() override { yyHardcopyDriverNumber = kWindowsPrinterDriver; }

  // The file of this test: its name and the kind the options ask for.
  static std::string fileName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    return name + (hardcopyOption(kOptEncapsulated) != 0 ? ".eps" : ".ps");
  }

  // Opens the plot as a hardcopy start does: opcode 18, then the attributes.
  void beginPlot(bool titled = false) {
    path_ = outputName_.empty() ? fileName() : outputName_;
    TEXT = path_;
    yyGrState.X1 = titled ? 1 : 0;
    yyGrState.M = 1;
    yyGrAttributes.HardcopyOpen = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
    if (yyGrAttributes.HardcopyOpen == 0) return;
    yyGrState.PenX = -9999.0f;
    yyGrState.PenY = -9999.0f;
    for (std::int32_t opcode : {kOpLineWidth, kOpLineStyle, kOpLineJoin, kOpLineCap, kOpClip, kOpCharSize, kOpColour}) {
      send(opcode);
    }
  }

  // Ends the plot as the hardcopy stop does and reads the file back.
  void endPlot() {
    if (yyGrState.PageBegun != 0) {
      yyGrState.N = 1;
      yyGrState.M = 32;
      send(kOpEndPage);
    }
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
    bytes_ = fileBytes(path_);
  }

  // The file's lines; every one must end CR LF (the final bytes after the
  // last line end are left out).
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t end = bytes_.find("\r\n"); end != std::string::npos; end = bytes_.find("\r\n", at)) {
      out.push_back(bytes_.substr(at, end - at));
      at = end + 2;
    }
    return out;
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
