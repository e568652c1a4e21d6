// A DIB section as the screen's drawing context.
#include "support/dib_canvas.h"

#include "toolkit/core/system_info.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/screen_gdi.h"

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<const std::uint32_t*>(bits);
  dc_.reset(CreateCompatibleDC(nullptr));
  oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
  YYGdiContext& g = yyGdiContext;
  YYGdiRelease();
  previousDc_ = g.DrawDc;
  previousPattern_ = g.PatternBitmap;
  g.DrawDc = dc_.get();
  g.StyledPens = 1;
  g.ReferenceResolution = 96;
  g.MetafileTarget = 0;
  g.PatternBitmap = CreateCompatibleBitmap(dc_.get(), 8, 8);
  g.PatternDirty = 1;
  SetROP2(dc_.get(), g.RopCode);
  previousGradient_ = yyGradientFill;
  msimg32_ = LoadLibraryA("msimg32.dll");
  yyGradientFill = reinterpret_cast<GradientFillFunction>(GetProcAddress(msimg32_, "GradientFill"));
  YYGdiDashPattern();
  YYGdiPen();
}

DibCanvas::~DibCanvas() {
  YYGdiContext& g = yyGdiContext;
  if (!ready()) return;
  YYGdiRelease();
  SelectObject(dc_.get(), oldBitmap_);
  if (g.PatternBitmap != nullptr) DeleteObject(g.PatternBitmap);
  g.PatternBitmap = previousPattern_;
  g.DrawDc = previousDc_;
  yyGradientFill = previousGradient_;
  // The next font is made afresh in whatever context comes next.
  yyScreenCache = YYScreenCache{};
  if (msimg32_ != nullptr) FreeLibrary(msimg32_);
}

std::int32_t DibCanvas::pixel(int x, int y) const {
  GdiFlush();
  const std::uint32_t v = bits_[y * width_ + x];
  return static_cast<std::int32_t>(((v >> 16) & 255) | (v & 0xFF00) | ((v & 255) << 16));
}

RgbRaster DibCanvas::raster() const {
  RgbRaster out{width_, height_, {}};
  out.rgb.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const std::int32_t rgb = pixel(x, y);
      out.rgb.push_back(static_cast<std::uint8_t>(rgb & 255));
      out.rgb.push_back(static_cast<std::uint8_t>((rgb >> 8) & 255));
      out.rgb.push_back(static_cast<std::uint8_t>((rgb >> 16) & 255));
    }
  }
  return out;
}

RgbRaster drawSceneOnScreen(int width, int height) {
  DibCanvas canvas(width, height);
  if (!canvas.ready()) return {};
  const std::int32_t screenOn = yyGrAttributes.ScreenDriverOn;
  yyGrAttributes.ScreenDriverOn = 1;
  YYGraphicsAreaResize(yyGrAttributes.TargetKind, yyGrAttributes.TargetId, width, height);
  YYGrPrimitive op = kOpBeginPlot;
  YYGAPI(op);
  op = kOpClear;
  YYGAPI(op);
  drawGraphicsScene(YYGAPI);
  yyGrAttributes.ScreenDriverOn = screenOn;
  return canvas.raster();
}
