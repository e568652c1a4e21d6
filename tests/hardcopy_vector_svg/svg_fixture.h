#pragma once
// Tests play the drawing program for the SVG driver: they fill the graphics
// records and hand it opcodes through the hardcopy dispatcher, as a hardcopy
// start would.  Every file is left in the test folder, where the checker
// script hands it to xmllint and rsvg-convert.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/svg_driver.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace svg_tests {

inline void send(std::int32_t opcode) {
  YYGrPrimitive primitive = opcode;
  YYHCDISPATCH(primitive);
}

inline void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }

inline void colour(std::int32_t rgb) {
  yyGrAttributes.PreviousRGB = yyGrAttributes.CurrentRGB;
  yyGrAttributes.CurrentRGB = rgb;
  send(kOpColour);
}

inline void point(int k, float x, float y) {
  float* xs[] = {&yyGrState.R5, &yyGrState.R6, &yyGrState.R7, &yyGrState.R8};
  float* ys[] = {&yyGrState.R1, &yyGrState.R2, &yyGrState.R3, &yyGrState.R4};
  *xs[k - 1] = x;
  *ys[k - 1] = y;
}

inline void bufferPoints(const std::vector<std::pair<float, float>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].first;
    yyGrPointBuffer.y[i] = points[i].second;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
}

// The file's lines; a line end other than CR LF fails the test.
inline std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string bytes = buffer.str();
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << path << ": text after the last CR LF: " << bytes.substr(at);
      break;
    }
    const std::string line = bytes.substr(at, end - at);
    EXPECT_EQ(line.find('\n'), std::string::npos) << path << ": bare line feed in " << line;
    lines.push_back(line);
    at = end + 2;
  }
  return lines;
}

// Every test starts from the graphics defaults on a 640 x 480 surface whose
// real sizes are exact, so that with the default document size both scales
// are 1 and a surface point (x, y) is written as (x, 480 - y).
class SvgDriver : public ::testing::Test {
 protected:
  static constexpr float kWidth = 640.0f;
  static constexpr float kHeight = 480.0f;

  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = 640;
    s.SurfaceHeight = 480;
    s.SurfaceWidthReal = kWidth;
    s.SurfaceHeightReal = kHeight;
    s.ViewportLeftReal = 0.0f;
    s.ViewportBottomReal = 0.0f;
    s.ViewportRightReal = kWidth;
    s.ViewportTopReal = kHeight;
    s.AreaWidthDevice = kWidth;
    s.AreaHeightDevice = kHeight;
    s.TextFamily = 2;
    s.TextAlign = 0;
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0;
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    for (auto& word : yyHardcopyOptions) word = 0;
    yyHardcopyOutputName = "";
    yyHardcopyDriverNumber = kSvgDriver;
    s.N = 0;
    s.M = 0;
    send(kOpInitialise);
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyGrAttributes.HardcopyOpen = 0;
  }

  // Opens `name` and sends the attributes a hardcopy start sends after it.
  void begin(const std::string& name) {
    path_ = name;
    TEXT = name;
    yyGrState.M = 1;
    yyGrAttributes.HardcopyOpen = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
    ASSERT_EQ(yyGrAttributes.HardcopyOpen, 1) << "cannot open " << name;
    for (std::int32_t opcode : {kOpLineWidth, kOpLineStyle, kOpLineJoin, kOpLineCap, kOpClip, kOpCharSize, kOpColour}) {
      send(opcode);
    }
  }

  // Ends the plot; the lines after the three header lines and the first
  // stroke group, without the closing line.
  std::vector<std::string> finishBody() {
    const std::vector<std::string> all = finish();
    if (all.size() < 5) {
      ADD_FAILURE() << "too short a file";
      return {};
    }
    return std::vector<std::string>(all.begin() + 4, all.end() - 1);
  }

  std::vector<std::string> finish() {
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
    return fileLines(path_);
  }

  // A shape record, then its end-of-fill record, as the engine sends them.
  static void fill(std::int32_t opcode) {
    yyGrState.M = 0;
    send(opcode);
    yyGrState.M = -1;
    send(opcode);
    yyGrState.M = 0;
  }

  static void text(std::string_view words, float x, float y, std::int32_t flags = 0) {
    TEXT = words;
    yyGrState.X1 = static_cast<std::int32_t>(words.size());
    yyGrState.X2 = flags;
    point(1, x, y);
    point(3, x, y);
    send(kOpText);
  }

  std::string path_;
};

inline constexpr std::string_view kDefaultGroup =
    "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
    "stroke-linecap:butt\">";

}  // namespace svg_tests
