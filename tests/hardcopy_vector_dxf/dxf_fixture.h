#pragma once
// Tests play the drawing program for the DXF driver: they fill the graphics
// records and hand it opcodes through the hardcopy dispatcher, as a hardcopy
// start would.  Every file is left in the test folder, where the checker
// reads it with ezdxf.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/dxf_driver.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace dxf_tests {

using Lines = std::vector<std::string>;

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
inline Lines fileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string bytes = buffer.str();
  Lines lines;
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

// Every test starts from the graphics defaults on a 756 x 540 surface whose
// real sizes are exact, so that with the default page one surface unit is a
// point and 72 units are one drawing unit (an inch).
class DxfDriver : public ::testing::Test {
 protected:
  static constexpr float kWidth = 756.0f;
  static constexpr float kHeight = 540.0f;

  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = 756;
    s.SurfaceHeight = 540;
    s.SurfaceWidthReal = kWidth;
    s.SurfaceHeightReal = kHeight;
    s.ViewportLeftReal = 0.0f;
    s.ViewportBottomReal = 0.0f;
    s.ViewportRightReal = kWidth;
    s.ViewportTopReal = kHeight;
    s.AreaWidthDevice = kWidth;
    s.AreaHeightDevice = kHeight;
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0xFFFFFF;  // DXF colour 7
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    for (auto& word : yyHardcopyOptions) word = 0;
    yyHardcopyOutputName = "";
    yyHardcopyDriverNumber = kDxfDriver;
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

  Lines finish() {
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
    return fileLines(path_);
  }

  // The entity lines: after "ENTITIES", before the closing ENDSEC group.
  Lines finishEntities() {
    const Lines all = finish();
    std::size_t start = 0;
    while (start < all.size() && all[start] != "ENTITIES") ++start;
    if (start + 1 >= all.size() || all.size() < start + 5) {
      ADD_FAILURE() << "no ENTITIES section";
      return {};
    }
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(start) + 1, all.end() - 4);
  }

  std::string path_;
};

// The start of an entity on layer 1 in the given colour.
inline Lines entityStart(std::string_view name, std::string_view colour = "7") {
  return {"0", std::string(name), "8", "1", "62", std::string(colour)};
}

inline Lines joined(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace dxf_tests
