#pragma once
// Tests play the drawing program for the CGM writers: they fill the graphics
// records and hand opcodes to driver 9 through the hardcopy dispatcher, or to
// the in-memory recorder with a CGM slot as the target.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cgm_decoder.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/cgm_driver.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/cgm_recorder.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

namespace cgm_test {

constexpr int kSurfaceWidth = 800;
constexpr int kSurfaceHeight = 600;

// Point k (1-4) in the real form the file driver reads and the whole units
// the recorder reads.
inline void point(int k, float x, float y) {
  YYGrState& s = yyGrState;
  float* xs[] = {&s.R5, &s.R6, &s.R7, &s.R8};
  float* ys[] = {&s.R1, &s.R2, &s.R3, &s.R4};
  std::int32_t* ix[] = {&s.X1, &s.X2, &s.X3, &s.X4};
  std::int32_t* iy[] = {&s.Y1, &s.Y2, &s.Y3, &s.Y4};
  const auto i = static_cast<std::size_t>(k - 1);
  *xs[i] = x;
  *ys[i] = y;
  *ix[i] = static_cast<std::int32_t>(x);
  *iy[i] = static_cast<std::int32_t>(y);
}

inline void bufferPoints(const std::vector<std::pair<float, float>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    yyGrPointBuffer.x[i] = points[i].first;
    yyGrPointBuffer.y[i] = points[i].second;
  }
  yyGrState.N = static_cast<std::int32_t>(points.size());
}

// A 24-bit bottom-up BMP of the colours (top row first, red in the low byte).
inline void writeBmp(const std::string& path, int width, int height, const std::vector<std::int32_t>& colours) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const int size = 54 + rowBytes * height;
  std::vector<std::uint8_t> b(static_cast<std::size_t>(size), 0);
  auto put32 = [&](int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[static_cast<std::size_t>(at + k)] = static_cast<std::uint8_t>(v >> (8 * k));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < height; ++y) {
    const int fileRow = height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const std::int32_t c = colours[static_cast<std::size_t>(y * width + x)];
      const auto at = static_cast<std::size_t>(54 + fileRow * rowBytes + x * 3);
      b[at] = static_cast<std::uint8_t>(c >> 16);
      b[at + 1] = static_cast<std::uint8_t>(c >> 8);
      b[at + 2] = static_cast<std::uint8_t>(c);
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), size);
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// Every test starts from an 800 x 600 surface in RGB colours with the whole
// surface as viewport, no hardcopy open and errors recorded silently.
class CgmWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    yyGrState = YYGrState{};
    yyGrAttributes = YYGrAttributes{};
    YYColourDefaults();
    YYGrState& s = yyGrState;
    s.SurfaceWidth = kSurfaceWidth;
    s.SurfaceHeight = kSurfaceHeight;
    s.SurfaceWidthReal = kSurfaceWidth - 0.01f;
    s.SurfaceHeightReal = kSurfaceHeight - 0.01f;
    s.SurfaceAspect = static_cast<float>(kSurfaceWidth) / kSurfaceHeight;
    s.ViewportLeft = 0;
    s.ViewportBottom = 0;
    s.ViewportRight = kSurfaceWidth - 1;
    s.ViewportTop = kSurfaceHeight - 1;
    s.ViewportRightReal = s.SurfaceWidthReal;
    s.ViewportTopReal = s.SurfaceHeightReal;
    s.AreaWidthDevice = kSurfaceWidth;
    s.AreaHeightDevice = kSurfaceHeight;
    s.CharHeight = 0.05f;
    s.CharWidth = 0.015f;
    s.TextFamily = 2;
    yyGrAttributes.ColourMode = kColourRgb;
    yyGrAttributes.CurrentRGB = 0;
    yyGrAttributes.PreviousRGB = 0xFFFFFF;
    for (auto& word : yyHardcopyOptions) word = 0;
    yyPlotTitle = "";
    yyHardcopyOutputName = "";
    yyPolygonWork = YYPolygonWork{};
  }
  void TearDown() override {
    yyHardcopyDriverNumber = kWindowsPrinterDriver;
    for (int slot = 1; slot <= kMetafileSlots; ++slot) {
      YYCgmMemRelease(slot);
      yyMetafileSlots[static_cast<std::size_t>(slot)] = YYMetafileSlot{};
    }
  }

  // ---- driver 9 ----
  static void send(std::int32_t opcode) {
    YYGrPrimitive primitive = opcode;
    YYHCDISPATCH(primitive);
  }
  static void initialise() {
    yyHardcopyDriverNumber = kCgmDriver;
    yyGrState.N = 0;
    yyGrState.M = 0;
    send(kOpInitialise);
  }
  // Opcode 1, then opcode 18 on the file, as a hardcopy start sends them; a
  // page size in points replaces the driver's default.
  static void beginFile(const std::string& path, int titled = 0, int pageWidth = 0, int pageHeight = 0) {
    initialise();
    if (pageWidth > 0) hardcopyOption(kOptPageWidth) = pageWidth;
    if (pageHeight > 0) hardcopyOption(kOptPageHeight) = pageHeight;
    TEXT = path;
    yyGrState.X1 = titled;
    yyGrState.M = 1;
    yyGrAttributes.HardcopyOpen = 1;
    send(kOpBeginPlot);
    yyGrState.M = 0;
  }
  static void endFile() {
    send(kOpEndPage);
    send(kOpEndPlot);
    yyGrAttributes.HardcopyOpen = 0;
  }
  static Decoded fileElements(const std::string& path) { return decode(readFile(path)); }

  // The elements written after the picture body began (after the first TEXT ALIGNMENT).
  static std::vector<Element> drawn(const Decoded& d) {
    std::vector<Element> out;
    bool body = false;
    bool alignment = false;
    for (const Element& e : d.elements) {
      if (alignment) out.push_back(e);
      if (e.is(0, 4)) body = true;
      if (body && e.is(5, 18)) alignment = true;
    }
    return out;
  }

  // The current colour as an RGB value; the old one becomes the previous.
  static void colour(std::int32_t rgb, void (*route)(std::int32_t) = send) {
    yyGrAttributes.PreviousRGB = yyGrAttributes.CurrentRGB;
    yyGrAttributes.CurrentRGB = rgb;
    route(kOpColour);
  }

  // ---- the recorder ----
  static void record(std::int32_t opcode) {
    YYGrPrimitive primitive = opcode;
    YYGCGMMEM(primitive);
  }
  // A CGM slot of the page size and capacity, made the target, its header recorded.
  static void beginSlot(int slot, int widthPoints, int heightPoints, int capacity, bool header = true) {
    auto& words = yyMetafileSlots[static_cast<std::size_t>(slot)].words;
    words[kSlotWidthPoints] = widthPoints;
    words[kSlotHeightPoints] = heightPoints;
    words[kSlotKind] = kSlotCgm;
    words[kSlotInUse] = 1;
    ASSERT_TRUE(YYCgmMemAllocate(slot, capacity));
    yyGrAttributes.TargetKind = kTargetMetafile;
    yyGrAttributes.TargetId = slot;
    yyGrAttributes.CgmRoute = 1;
    record(kOpInitialise);
    record(kOpBeginPlot);
    if (header) record(kOpMetafileHeader);
  }
  static std::vector<std::uint8_t> slotBytes(int slot) {
    const auto bytes = YYCgmMemBytes(slot);
    return {bytes.begin(), bytes.end()};
  }
  static Decoded slotElements(int slot) { return decode(slotBytes(slot)); }
};

}  // namespace cgm_test
