#pragma once
// The screen driver drawing into a DIB canvas: the fixture sizes the graphics
// state to it, clears it to colour 0 (white) and reads its pixels back.
// Device rows count from the top; surface y counts from the bottom, so surface
// row y is device row kHeight - 1 - y.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics_fixture.h"
#include "support/dib_canvas.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/system_info.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/screen_gdi.h"

constexpr std::int32_t kWhiteRgb = 0xFFFFFF;
constexpr std::int32_t kBlackRgb = 0;

struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;  // device pixels, inclusive
  int count = 0;
};

class ScreenCanvas : public GraphicsTables {
 protected:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  void SetUp() override {
    canvas_ = std::make_unique<DibCanvas>(kWidth, kHeight);
    ASSERT_TRUE(canvas_->ready());
    windowTable.colourCount = 1 << 24;
    GraphicsTables::SetUp();
    YYGraphicsAreaResize(kTargetWindow, 0, kWidth, kHeight);
    send(kOpClear);
  }

  void TearDown() override {
    canvas_.reset();
    yyGdiContext.Palette = nullptr;
    yyGdiContext.PaletteRecord.clear();
    windowTable.colourCount = 0;
  }

  static void send(YYGrOpcode opcode) {
    YYGrPrimitive op = opcode;
    YYGAPI(op);
  }

  // Point k (1-4) of the operands in both forms, surface units.
  static void point(int k, int x, int y) {
    YYGrState& s = yyGrState;
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    switch (k) {
      case 1: s.X1 = x; s.Y1 = y; s.R5 = fx; s.R1 = fy; break;
      case 2: s.X2 = x; s.Y2 = y; s.R6 = fx; s.R2 = fy; break;
      case 3: s.X3 = x; s.Y3 = y; s.R7 = fx; s.R3 = fy; break;
      default: s.X4 = x; s.Y4 = y; s.R8 = fx; s.R4 = fy; break;
    }
  }

  // Colour number n as the drawing program selects it.
  static void colour(int number) { IGrColourN(number); }

  static void line(int x1, int y1, int x2, int y2) {
    point(1, x1, y1);
    point(2, x2, y2);
    send(kOpLine);
  }

  // The pixel at device column x, device row y as an RGB integer.
  std::int32_t device(int x, int y) const { return canvas_->pixel(x, y); }
  // The pixel at surface point (x, y).
  std::int32_t surface(int x, int y) const { return device(x, kHeight - 1 - y); }
  bool inkAt(int x, int y) const { return device(x, y) != kWhiteRgb; }

  // Ink (anything not white) within the device rectangle, inclusive.
  InkBox ink(int left = 0, int top = 0, int right = kWidth - 1, int bottom = kHeight - 1) const {
    InkBox box{kWidth, kHeight, -1, -1, 0};
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        if (!inkAt(x, y)) continue;
        ++box.count;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
    return box;
  }

  RgbRaster raster() const { return canvas_->raster(); }

  // Run lengths along device row y from column x0 to x1: ink, gap, ink, ...
  std::vector<int> runs(int y, int x0, int x1) const {
    std::vector<int> out;
    bool inked = inkAt(x0, y);
    if (!inked) out.push_back(0);
    int length = 0;
    for (int x = x0; x <= x1; ++x) {
      if (inkAt(x, y) == inked) {
        ++length;
        continue;
      }
      out.push_back(length);
      inked = !inked;
      length = 1;
    }
    out.push_back(length);
    return out;
  }

 private:
  std::unique_ptr<DibCanvas> canvas_;
};
