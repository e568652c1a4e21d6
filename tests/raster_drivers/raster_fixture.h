#pragma once
// Tests play the raster drivers: they lay out a small page, send the begin-plot,
// clear, clip, pen and colour opcodes, draw, and read the pixels back from the
// page's words by their own reading of the layout.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/dither_patterns.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/rasteriser.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

// Begin plot opens the plot output on the name in TEXT; pages that are not
// written anywhere go to this scratch file in the test's folder.
inline constexpr const char* kScratchOutput = "raster_scratch.out";

constexpr std::int32_t rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

struct PageShape {
  int width = 16;
  int rows = 8;
  int bitsPerPixel = 1;
  float horizontalDpi = 72.0f;
  float verticalDpi = 72.0f;
  std::int32_t clearValue = 0;
};

class RasterPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    yyHardcopyOptions.fill(0);
    yyRasterDevice = YYRasterDevice{};
    yyRasterState = YYRasterState{};
    YYColourDefaults();
    TEXT = kScratchOutput;
  }
  void TearDown() override {
    YYRasterPageFree();
    YYPROUClose(kPlotUnitFile);
  }

  static void send(std::int32_t opcode) { YYRasterise(opcode); }

  // A page with one surface unit per pixel, the whole page as viewport, the
  // default pen, solid lines and black (colour 223 of the default table).
  void openPage(const PageShape& shape) {
    send(kOpInitialise);
    const int planes = shape.bitsPerPixel == 3 ? 3 : shape.bitsPerPixel == 4 ? 4 : 1;
    ASSERT_GT(YYRasterPageLayout(shape.width, shape.rows, shape.bitsPerPixel, planes), 0);
    ASSERT_TRUE(YYRasterPageAllocate());
    yyRasterPage.horizontalResolution = shape.horizontalDpi;
    yyRasterPage.verticalResolution = shape.verticalDpi;
    yyRasterPage.clearValue = shape.clearValue;
    yyGrState.SurfaceWidth = shape.width;
    yyGrState.SurfaceHeight = shape.rows;
    yyGrState.SurfaceWidthReal = static_cast<float>(shape.width) - 0.01f;
    yyGrState.SurfaceHeightReal = static_cast<float>(shape.rows) - 0.01f;
    TEXT = kScratchOutput;
    yyGrState.M = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
    send(kOpClear);
    clipTo(0, 0, shape.width - 1, shape.rows - 1);
    send(kOpLineWidth);
    send(kOpLineStyle);
    colourNumber(223);
  }

  static void clipTo(int left, int bottom, int right, int top) {
    yyGrState.ViewportLeftReal = static_cast<float>(left);
    yyGrState.ViewportBottomReal = static_cast<float>(bottom);
    yyGrState.ViewportRightReal = static_cast<float>(right);
    yyGrState.ViewportTopReal = static_cast<float>(top);
    send(kOpClip);
  }

  static void colourNumber(int n) {
    yyGrAttributes.ColourMode = kColourIndexed;
    yyGrAttributes.PreviousColourNumber = yyGrAttributes.ColourNumber;
    yyGrAttributes.ColourNumber = n;
    yyGrAttributes.CurrentRGB = yyColourTable[static_cast<std::size_t>(n)];
    send(kOpColour);
  }

  static void colourRgb(std::int32_t colour) {
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.PreviousColourNumber = yyGrAttributes.ColourNumber;
    yyGrAttributes.ColourNumber = (yyGrAttributes.ColourNumber + 1) % 256;
    yyGrAttributes.CurrentRGB = colour;
    send(kOpColour);
  }

  // Points as surface reals: (x1, y1) in R5, R1 and so on.
  static void points(std::initializer_list<std::pair<float, float>> xy) {
    float* xs[] = {&yyGrState.R5, &yyGrState.R6, &yyGrState.R7, &yyGrState.R8};
    float* ys[] = {&yyGrState.R1, &yyGrState.R2, &yyGrState.R3, &yyGrState.R4};
    int k = 0;
    for (const auto& [x, y] : xy) {
      *xs[k] = x;
      *ys[k] = y;
      ++k;
    }
  }

  static void line(float x1, float y1, float x2, float y2) {
    points({{x1, y1}, {x2, y2}});
    send(kOpLine);
  }

  static void polyline(std::initializer_list<std::pair<float, float>> xy) {
    int i = 0;
    for (const auto& [x, y] : xy) {
      yyGrPointBuffer.x[static_cast<std::size_t>(i)] = x;
      yyGrPointBuffer.y[static_cast<std::size_t>(i)] = y;
      ++i;
    }
    yyGrState.N = i;
    send(kOpPolyline);
  }

  // The value of a pixel, read from the words by the storage rules.
  static std::int32_t pixel(int column, int row) {
    const YYRasterPage& p = yyRasterPage;
    const auto word = [&p](std::int64_t at) { return p.buffer.at(static_cast<std::size_t>(at)); };
    const std::int64_t rowStart = static_cast<std::int64_t>(row) * p.wordsPerRow;
    switch (p.bitsPerPixel) {
      case 24: return static_cast<std::int32_t>(word(rowStart + column));
      case 8: return static_cast<std::int32_t>((word(rowStart + column / 4) >> (8 * (column % 4))) & 0xFF);
      case 3:
      case 4: {
        std::int32_t value = 0;
        for (int plane = 0; plane < p.bitsPerPixel; ++plane) {
          const std::uint32_t w = word(plane * static_cast<std::int64_t>(p.wordsPerPlane) + rowStart + column / 32);
          value |= static_cast<std::int32_t>((w >> (column % 32)) & 1u) << plane;
        }
        return value;
      }
      default: return static_cast<std::int32_t>((word(rowStart + column / 32) >> (column % 32)) & 1u);
    }
  }

  // The page as text, top row first: "." for 0, the digit for 1-9, "#" above.
  static std::string picture() {
    std::string out;
    for (int r = yyRasterPage.rows - 1; r >= 0; --r) {
      for (int c = 0; c < yyRasterPage.width; ++c) {
        const std::int32_t v = pixel(c, r);
        out += v == 0 ? '.' : (v > 0 && v < 10 && yyRasterPage.bitsPerPixel != 1) ? static_cast<char>('0' + v) : '#';
      }
      out += '\n';
    }
    return out;
  }
};

// Pictures in tests are written one row per line, top row first.
inline std::string rowsOf(std::initializer_list<const char*> rows) {
  std::string out;
  for (const char* r : rows) {
    out += r;
    out += '\n';
  }
  return out;
}
