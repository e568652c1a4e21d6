#pragma once
// Tests play the drawing program: they fill the graphics records and call the
// routes directly.  The fixture starts every test from the defaults on a
// surface of a known size, with no window and no hardcopy open.

#include <gtest/gtest.h>

#include <string>

#include "support/error_reports.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_area.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

class GraphicsTables : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    windowTable.currentIndex = 0;
    windowTable.clientWidth = 640;
    windowTable.clientHeight = 480;
    yyGrAttributes.DisplayDepth = 256;
    YYColourDefaults();
    YYGraphicsDefaults(" ");
    YYErrorStateReset();
  }
};
