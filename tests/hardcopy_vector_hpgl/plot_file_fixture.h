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
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

inline void send(std::int32_t opcode) {
  YYGrPrimitive primitive = opcode;
  YYHCDISPATCH(primitive);
}

inline void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }
inline std::int32_t option(int code) { return hardcopyOption(code); }

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
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class PlotFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = static_cast<std::int32_t>(kSurfaceWidth);
    s.SurfaceHeight = static_cast<std::int32_t>(kSurfaceHeight);
    s.SurfaceWidthReal = kSurfaceWidth;
    s.SurfaceHeightReal = kSurfaceHeight;
    s.SurfaceAspect = kSurfaceWidth / kSurfaceHeight;
    s.ViewportRightReal = kSurfaceWidth;
    s.ViewportTopReal = kSurfaceHeight;
    s.AreaWidthDevice = kSurfaceWidth;
    s.AreaHeightDevice = kSurfaceHeight;
    s.CharWidth = 0.03f;
    s.CharHeight = 0.08f;
    for (auto& word : yyHardcopyOptions) word = 0;
    yyPlotTitle = "";
    yyHardcopyOutputName = "";
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    yyGrAttributes.HardcopyOpen = 0;
    YYPROUClose(kPlotUnitFile);
  }

  static void initialise(int driver) {
    yyHardcopyDriverNumber = driver;
    yyGrState.N = 0;
    yyGrState.M = 0;
    send(kOpInitialise);
  }

  // A file of its own for each test, so that every file the tests write is
  // left for the outside checker.
  static std::string testFileName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + ".plt";
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    return name;
  }

  // Opens the plot on the file, as a hardcopy start does.
  void beginPlot(std::string file = "", int titled = 0) {
    path_ = file.empty() ? testFileName() : file;
    std::filesystem::remove(path_);
    TEXT = path_;
    yyGrState.X1 = titled;
    yyGrState.M = 1;
    yyGrAttributes.HardcopyOpen = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
  }
  void endPage(std::int32_t m = 1) {
    yyGrState.M = m;
    send(kOpEndPage);
    yyGrState.M = 0;
  }
  void endPlot() {
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
  }

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
