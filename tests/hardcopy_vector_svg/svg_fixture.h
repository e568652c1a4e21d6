#pragma once
// Tests play the drawing program for the SVG driver: they fill the graphics
// records and hand it opcodes through the hardcopy dispatcher, as a hardcopy
// start would.  Every file is left in the test folder, where the checker
// script hands it to xmllint and rsvg-convert.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/plot_file_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/svg_driver.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace svg_tests {

using plot_fixture::bufferPoints;
using plot_fixture::colour;
using plot_fixture::point;
using plot_fixture::send;
using plot_fixture::setOption;

// Every test starts from the graphics defaults on a 640 x 480 surface whose
// real sizes are exact, so that with the default document size both scales
// are 1 and a surface point (x, y) is written as (x, 480 - y).
class SvgDriver : public plot_fixture::CrlfPlotTest {
 protected:
  static constexpr float kWidth = 640.0f;
  static constexpr float kHeight = 480.0f;

  void SetUp() override {
    plot_fixture::resetGraphics();
    plot_fixture::setSurface(640, 480, kWidth, kHeight);
    yyGrState.TextFamily = 2;
    yyGrState.TextAlign = 0;
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0;
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    plot_fixture::clearHardcopyChoices();
    plot_fixture::initialise(kSvgDriver);
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

  // A shape record, then its end-of-fill record, as the engine sends them.
  static void fill(std::int32_t opcode) {
    yyGrState.M = 0;
    send(opcode);
    yyGrState.M = -1;
    send(opcode);
    yyGrState.M = 0;
  }

  static void text(std::string_view words, float x, float y, std::int32_t flags = 0) {
    yyGrState.X2 = flags;
    plot_fixture::text(words, x, y, x, y);
  }
};

inline constexpr std::string_view kDefaultGroup =
    "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;stroke-linejoin:miter;"
    "stroke-linecap:butt\">";

}  // namespace svg_tests
