#pragma once
// Tests play the drawing program for the DXF driver: they fill the graphics
// records and hand it opcodes through the hardcopy dispatcher, as a hardcopy
// start would.  Every file is left in the test folder, where the checker
// reads it with ezdxf.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/plot_file_fixture.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/dxf_driver.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"

namespace dxf_tests {

using Lines = std::vector<std::string>;

using plot_fixture::bufferPoints;
using plot_fixture::colour;
using plot_fixture::point;
using plot_fixture::send;
using plot_fixture::setOption;

// Every test starts from the graphics defaults on a 756 x 540 surface whose
// real sizes are exact, so that with the default page one surface unit is a
// point and 72 units are one drawing unit (an inch).
class DxfDriver : public plot_fixture::CrlfPlotTest {
 protected:
  static constexpr float kWidth = 756.0f;
  static constexpr float kHeight = 540.0f;

  void SetUp() override {
    plot_fixture::resetGraphics();
    plot_fixture::setSurface(756, 540, kWidth, kHeight);
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0xFFFFFF;  // DXF colour 7
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    plot_fixture::clearHardcopyChoices();
    plot_fixture::initialise(kDxfDriver);
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
