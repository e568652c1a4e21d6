#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "image_files_support.h"
#include "toolkit/graphics/graphics_inquiry.h"
#include "toolkit/graphics/image_drawing.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

using namespace image_test;

constexpr COLORREF kBackground = RGB(1, 254, 3);
constexpr int kSurface = 96;

// A memory surface as the screen driver's current drawing context.
class ImageDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = yyGdiContext.DrawDc;
    savedClip_ = static_cast<HRGN>(yyGdiContext.ClipRegion.release());
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSurface;
    info.bmiHeader.biHeight = -kSurface;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    clear();
    yyGdiContext.DrawDc = dc_;
    yyGdiContext.ClipRegion.reset();
  }
  void TearDown() override {
    yyGdiContext.DrawDc = saved_;
    yyGdiContext.ClipRegion.reset(savedClip_);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  void clear() {
    HBRUSH brush = CreateSolidBrush(kBackground);
    RECT all{0, 0, kSurface, kSurface};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  COLORREF at(int x, int y) {
    GdiFlush();
    return GetPixel(dc_, x, y);
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HDC saved_ = nullptr;
  HRGN savedClip_ = nullptr;
};

int kindOf(const std::string& name) {
  if (name.ends_with(".bmp")) return kFileBmp;
  if (name.ends_with(".pcx")) return kFilePcx;
  if (name.ends_with(".png")) return kFilePng;
  return kFileUnknown;
}

int draw(const std::string& name, int x1, int y1, int x2, int y2, int stretch, int& osError) {
  const std::string path = fixturePath(name);
  int error = -1;
  osError = 12345;
  YYDrawImageFile(kindOf(name), kImageTargetScreen, x1, y1, x2, y2, stretch, error, osError, path.c_str());
  return error;
}

bool closeEnough(COLORREF got, std::int32_t want, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((got >> shift) & 0xFF) - ((want >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

TEST_F(ImageDrawing, FixturesDrawWithTheReadersColours) {
  std::ifstream in(fixturePath("expected.txt"));
  std::string line;
  int drawn = 0;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name;
    int error = 0, width = 0, height = 0;
    words >> name >> error >> width >> height;
    // The reader's refusals are its own; the pixels of the files it reads must match.
    if (error != 0 || name == "bmp24_cut.bmp" || name == "pcx2bits.pcx" || name == "png_cut.png") continue;
    SCOPED_TRACE(name);
    clear();
    int os = 0;
    ASSERT_EQ(draw(name, 2, 3, 0, 0, 0, os), 0);
    ++drawn;
    // 16-bit pixels are widened by the system in its own way.
    const int tolerance = name.starts_with("bmp16") ? 7 : 0;
    for (int i = 0; i < width * height; ++i) {
      std::string want;
      words >> want;
      if (want == "u") continue;
      const int x = i % width, y = i / width;
      EXPECT_TRUE(closeEnough(at(2 + x, 3 + y), static_cast<std::int32_t>(std::stoul(want, nullptr, 16)), tolerance))
          << "pixel " << x << ", row " << y << ": " << std::hex << at(2 + x, 3 + y) << " for " << want;
    }
    EXPECT_EQ(at(1, 3), kBackground);
    EXPECT_EQ(at(2 + width, 3 + height - 1), kBackground);
  }
  EXPECT_GT(drawn, 20);
}

TEST_F(ImageDrawing, FailuresGiveTheirStatusPair) {
  const std::map<std::string, int> cases = {
      {"png_grey.png", 27},        {"png_interlaced.png", 27}, {"png_filter_method.png", 27},
      {"png_p16.png", 27},         {"png_idat_too_large.png", 2}, {"bmp24_cut.bmp", 2},
      {"pcx2bits.pcx", 27},        {"png_cut.png", 2},          {"not_an_image.txt", 27},
      {"no_such_file.png", 1},
  };
  for (const auto& [name, code] : cases) {
    SCOPED_TRACE(name);
    int os = 0;
    EXPECT_EQ(draw(name, 0, 0, 0, 0, 0, os), code);
    if (code == 27) {
      EXPECT_EQ(os, 12345);  // the system code stays as it was
    }
  }
  int os = 0;
  EXPECT_EQ(draw("png_bad_zlib.png", 0, 0, 0, 0, 0, os), 1044);
  EXPECT_EQ(os, -3);
  for (int x = 0; x < kSurface; x += 7) EXPECT_EQ(at(x, x), kBackground);
}

TEST_F(ImageDrawing, StretchFillsTheRectangle) {
  // png_rgb8.png is 3 x 2: top row (30,20,10) red green, bottom row blue (1,2,3) (250,251,252).
  int os = 0;
  ASSERT_EQ(draw("png_rgb8.png", 10, 20, 15, 23, 1, os), 0);
  EXPECT_EQ(at(10, 20), RGB(30, 20, 10));
  EXPECT_EQ(at(11, 21), RGB(30, 20, 10));
  EXPECT_EQ(at(15, 23), RGB(250, 251, 252));
  EXPECT_EQ(at(10, 23), RGB(0, 0, 255));
  EXPECT_EQ(at(16, 23), kBackground);
  EXPECT_EQ(at(15, 24), kBackground);
}

TEST_F(ImageDrawing, TheScreenDriversImageOpcodeStretchesTheFileOverTheViewport) {
  // Surface y grows upward: rows 20-23 from the top are 72-75 from the bottom.
  const auto savedAttributes = yyGrAttributes;
  const auto savedState = yyGrState;
  yyGrAttributes.ScreenDriverOn = 1;
  yyGrAttributes.DeviceMaxY = kSurface - 1;
  yyGrState.ViewportLeft = 10;
  yyGrState.ViewportRight = 15;
  yyGrState.ViewportTop = kSurface - 1 - 20;
  yyGrState.ViewportBottom = kSurface - 1 - 23;
  yyGrState.X1 = kFilePng;
  yyGrState.Y1 = 1;  // stretched
  TEXT = fixturePath("png_rgb8.png");
  YYGrPrimitive op = kOpImage;
  YYGAPI(op);
  EXPECT_EQ(yyGrState.M, 0);
  EXPECT_EQ(at(10, 20), RGB(30, 20, 10));
  EXPECT_EQ(at(15, 23), RGB(250, 251, 252));
  EXPECT_EQ(at(16, 23), kBackground);

  TEXT = fixturePath("no_such_file.png");
  YYGAPI(op);
  EXPECT_EQ(yyGrState.M, 1);
  EXPECT_NE(yyGrState.N, 0);  // the system's code of the failed open
  yyGrAttributes = savedAttributes;
  yyGrState = savedState;
  TEXT = "";
}

TEST_F(ImageDrawing, OwnSizeDrawingKeepsToTheClipRegionThenLeavesClippingOff) {
  HRGN clip = CreateRectRgn(0, 0, 4, 96);
  yyGdiContext.ClipRegion.reset(clip);
  int os = 0;
  ASSERT_EQ(draw("bmp1_w25.bmp", 0, 0, 0, 0, 0, os), 0);
  EXPECT_NE(at(3, 0), kBackground);
  EXPECT_EQ(at(4, 0), kBackground);
  HRGN now = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetClipRgn(dc_, now), 0);  // no clip region selected afterwards
  DeleteObject(now);
  yyGdiContext.ClipRegion.reset();  // deletes the region
}

TEST_F(ImageDrawing, TwoBitPaletteRowsBecomeFourBitRows) {
  // The 2-bit fixture read through the drawing path matches the 4-colour palette.
  int os = 0;
  ASSERT_EQ(draw("png_p2.png", 0, 0, 0, 0, 0, os), 0);
  EXPECT_NE(at(0, 0), kBackground);
  EXPECT_EQ(at(5, 0), kBackground);
}

}  // namespace
