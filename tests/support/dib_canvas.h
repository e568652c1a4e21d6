#pragma once
// A 32-bit DIB section as the screen's drawing context, so that tests can draw
// through the screen driver and read back every pixel.  While a canvas lives
// it is yyGdiContext's DrawDc, with styled pens at 96 pixels per inch and
// GradientFill bound; its destructor frees the screen driver's pen, font, clip
// region and checker bitmap and gives the drawing context and checker bitmap
// back that were there before.  The graphics state is not touched: size it
// with YYGraphicsAreaResize.

#include <windows.h>

#include <cstdint>

#include "support/graphics_scene.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/system_info.h"

class DibCanvas {
 public:
  DibCanvas(int width, int height);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  bool ready() const { return bits_ != nullptr; }
  // The pixel at device column x, row y (top row 0) as an RGB integer (red in
  // the low byte).
  std::int32_t pixel(int x, int y) const;
  RgbRaster raster() const;

 private:
  int width_;
  int height_;
  GdiObject bitmap_;
  DeviceContext dc_;
  HGDIOBJ oldBitmap_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
  HMODULE msimg32_ = nullptr;
  HDC previousDc_ = nullptr;  // the drawing context the canvas stands in for
  HBITMAP previousPattern_ = nullptr;
  GradientFillFunction previousGradient_ = nullptr;
};

// Draws the scene through the screen driver on a fresh canvas of the given
// size and answers the render.  The graphics defaults must have run, with a
// window as the target; the graphics state is left sized to the canvas.
RgbRaster drawSceneOnScreen(int width, int height);
