#include "support/plot_file_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace plot_fixture {

void send(std::int32_t opcode) {
  YYGrPrimitive primitive = opcode;
  YYHCDISPATCH(primitive);
}

void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }
std::int32_t option(int code) { return hardcopyOption(code); }

void point(int k, float x, float y) {
  float* xs[] = {&yyGrState.R5, &yyGrState.R6, &yyGrState.R7, &yyGrState.R8};
  float* ys[] = {&yyGrState.R1, &yyGrState.R2, &yyGrState.R3, &yyGrState.R4};
  *xs[k - 1] = x;
  *ys[k - 1] = y;
}

void bufferPoints(const std::vector<std::pair<float, float>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].first;
    yyGrPointBuffer.y[i] = points[i].second;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
}

void colour(std::int32_t rgb) {
  yyGrAttributes.PreviousRGB = yyGrAttributes.CurrentRGB;
  yyGrAttributes.CurrentRGB = rgb;
  send(kOpColour);
}

void text(std::string_view words, float x1, float y1, float x2, float y2) {
  TEXT = words;
  yyGrState.X1 = static_cast<std::int32_t>(words.size());
  point(1, x1, y1);
  point(3, x2, y2);
  send(kOpText);
}

void resetGraphics() {
  YYErrorStateReset();
  yyGrState = YYGrState{};
  yyGrAttributes = YYGrAttributes{};
  YYColourDefaults();
}

void setSurface(int width, int height, float widthReal, float heightReal) {
  YYGrState& s = yyGrState;
  s.SurfaceWidth = width;
  s.SurfaceHeight = height;
  s.SurfaceWidthReal = widthReal;
  s.SurfaceHeightReal = heightReal;
  s.ViewportLeftReal = 0.0f;
  s.ViewportBottomReal = 0.0f;
  s.ViewportRightReal = widthReal;
  s.ViewportTopReal = heightReal;
  s.AreaWidthDevice = static_cast<float>(width);
  s.AreaHeightDevice = static_cast<float>(height);
}

void clearHardcopyChoices() {
  for (auto& word : yyHardcopyOptions) word = 0;
  yyPlotTitle = "";
  yyHardcopyOutputName = "";
}

void initialise(int driver) {
  yyHardcopyDriverNumber = driver;
  yyGrState.N = 0;
  yyGrState.M = 0;
  send(kOpInitialise);
}

bool openPlot(std::string_view output) {
  TEXT = output;
  yyGrState.M = 1;
  yyGrAttributes.HardcopyOpen = 1;
  send(kOpBeginPlot);
  yyGrState.M = 0;
  return yyGrAttributes.HardcopyOpen != 0;
}

void sendStartAttributes() {
  for (std::int32_t opcode : {kOpLineWidth, kOpLineStyle, kOpLineJoin, kOpLineCap, kOpClip, kOpCharSize, kOpColour}) {
    send(opcode);
  }
}

void closePlot() {
  send(kOpEndPlot);
  yyGrAttributes.HardcopyOpen = 0;
}

std::string currentTestName(std::string_view separator) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + std::string(separator) + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool hasLine(const std::vector<std::string>& lines, std::string_view line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

long countStartingWith(const std::vector<std::string>& lines, std::string_view prefix) {
  return static_cast<long>(
      std::count_if(lines.begin(), lines.end(), [prefix](const std::string& l) { return l.starts_with(prefix); }));
}

std::vector<std::string> crlfLines(const std::string& bytes, std::string& rest) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", at)) {
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  rest = bytes.substr(at);
  return lines;
}

std::vector<std::string> strictCrlfFileLines(const std::string& path) {
  std::string rest;
  std::vector<std::string> lines = crlfLines(fileBytes(path), rest);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('\n'), std::string::npos) << path << ": bare line feed in " << line;
  }
  if (!rest.empty()) ADD_FAILURE() << path << ": text after the last CR LF: " << rest;
  return lines;
}

void CrlfPlotTest::TearDown() {
  yyHardcopyDriverNumber = kWindowsPrinterDriver;
  yyGrAttributes.HardcopyOpen = 0;
}

void CrlfPlotTest::begin(const std::string& name) {
  path_ = name;
  ASSERT_TRUE(openPlot(name)) << "cannot open " << name;
  sendStartAttributes();
}

std::vector<std::string> CrlfPlotTest::finish() {
  closePlot();
  return strictCrlfFileLines(path_);
}

}  // namespace plot_fixture
