// The raster image driver: the rasteriser draws into a page of options 1 x 2
// pixels at the colour depth of option 23; every end of page writes the page
// as an image (option 26: PCX, BMP, run-length BMP or PNG) onto plot unit 2,
// so that several pages append several images to one file.

#include "toolkit/drivers/raster_image_driver.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/rasteriser.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_writing.h"

namespace {

constexpr std::string_view kDeviceName = "XXIMAG";
constexpr std::string_view kCaps = "00000111111111110010011111000";
constexpr std::string_view kDefaultOutput = "zndvplot.pcx";
constexpr int kPageTooLarge = 34;  // "Requested page size too large for raster image buffer"
constexpr float kImageResolution = 150.0f;

enum ImageFormat : std::int32_t { kPcx = 0, kBmp = 1, kBmpCompleted = 2, kPng = 3 };

// How a colour depth lays out its page.
struct DepthLayout {
  std::int32_t bitsPerPixel;
  std::int32_t planes;
  std::int32_t pixelsPerWord;
  std::int32_t clearValue;  // 24-bit pages start white, the others at pixel value 0
};

// Depths other than 4, 8 and 24 make a one-bit page: a page of any other bit
// count would be one that no image writer can write.
DepthLayout depthLayout(std::int32_t depth) {
  switch (depth) {
    case 24: return {24, 1, 1, -1};
    case 8: return {8, 1, 4, 0};
    case 4: return {4, 4, 32, 0};
    default: return {1, 1, 32, 0};
  }
}

// The output file's name as it was at begin plot, for completing a BMP header
// after the file is closed; blank while no plot is open.
FixedText<kTextOperandLength> keptOutputName;

void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }

void sendToRasteriser(std::int32_t opcode) { YYRasterise(opcode); }

void initialise() {
  sendToRasteriser(kOpInitialise);
  YYGrState& g = yyGrState;
  setOption(kOptPageWidth, 640);
  setOption(kOptPageHeight, 480);
  setOption(kOptOrientation, 0);
  setOption(kOptColourDepth, 8);
  setOption(kOptImageFormat, kPcx);
  g.HardcopyColourCount = 256;
  g.HardcopyColourMax = 256;
  g.HardcopyToFile = 0;
  g.HardcopyCaps = kCaps;
  yyHardcopyOutputName = kDefaultOutput;
  g.ActiveDriver = kRasterImageDriver;
}

// Words the page needs, counted in 64 bits so that a huge page cannot wrap.
std::int64_t wordsNeeded(std::int64_t width, std::int64_t rows, const DepthLayout& d) {
  return (width + d.pixelsPerWord - 1) / d.pixelsPerWord * rows * d.planes;
}

// Lays the page out and allocates it; each failure is reported and shrinks
// the page by about 5% in each direction.  False once the page cannot shrink.
bool allocatePage(const DepthLayout& d) {
  std::int32_t width = std::max(1, hardcopyOption(kOptPageWidth));
  std::int32_t rows = std::max(1, hardcopyOption(kOptPageHeight));
  for (;;) {
    const bool laidOut = YYRasterPageLayout(width, rows, d.bitsPerPixel, d.planes) >= 0;
    if (laidOut && yyRasterPageAllocator()) return true;
    YYErrorReport(kPageTooLarge, kDeviceName);
    const std::int64_t total = wordsNeeded(width, rows, d);
    const std::int64_t shrunk = total * 9 / 10;
    if (shrunk <= 0) return false;
    const double factor = std::sqrt(static_cast<double>(total) / static_cast<double>(shrunk));
    width = static_cast<std::int32_t>(std::trunc(width / factor));
    rows = static_cast<std::int32_t>(std::trunc(rows / factor));
  }
}

void beginPlot() {
  YYGrState& g = yyGrState;
  const bool opening = g.M > 0;
  if (opening) {
    const DepthLayout d = depthLayout(hardcopyOption(kOptColourDepth));
    setOption(kOptColourInversion, 0);
    g.RasterWord = d.planes;
    if (d.bitsPerPixel == 1) g.TrueColour[kHardcopySide] = 0;
    YYRasterPage& page = yyRasterPage;
    page.clearValue = d.clearValue;
    page.horizontalResolution = kImageResolution;
    page.verticalResolution = kImageResolution;
    if (!allocatePage(d)) {
      yyGrAttributes.HardcopyOpen = 0;
      return;
    }
    keptOutputName = TEXT.view();
  }
  sendToRasteriser(kOpBeginPlot);
  if (!opening) return;
  if (YYPlotOutputStatus == -1) {
    // The output could not be opened: no plot follows to free the page.
    YYRasterPageFree();
    keptOutputName.blank();
    return;
  }
  sendToRasteriser(kOpClear);
}

void endPlot() {
  sendToRasteriser(kOpEndPlot);
  const std::int32_t bits = yyRasterPage.bitsPerPixel;
  if (hardcopyOption(kOptImageFormat) == kBmpCompleted && YYPlotOutputStatus != -1 && (bits == 8 || bits == 4) &&
      !keptOutputName.isBlank()) {
    YYBMP2(keptOutputName.trimmed());
  }
  keptOutputName.blank();
}

ImagePage imageOfPage() {
  const YYRasterPage& page = yyRasterPage;
  ImagePage image;
  image.width = page.width;
  image.height = page.rows;
  image.depth = page.bitsPerPixel;
  image.wordsPerRow = page.wordsPerRow;
  image.wordsPerPlane = page.wordsPerPlane;
  image.words = std::span<const std::uint32_t>(page.buffer);
  return image;
}

void endPage() {
  YYGrState& g = yyGrState;
  if (g.PageBegun == 0) return;
  if (!yyRasterPage.buffer.empty()) {
    const ImagePage image = imageOfPage();
    switch (hardcopyOption(kOptImageFormat)) {
      case kBmp:
      case kBmpCompleted: YYWriteBMP(image); break;
      case kPng: YYWritePNG(image); break;
      default: YYWritePCX(image); break;
    }
  }
  g.PageBegun = 0;
  sendToRasteriser(kOpClear);
}

}  // namespace

void YYGRASTIMG(std::int32_t& opcode) {
  switch (opcode) {
    case kOpInitialise:
      if (YYHardcopyProbeAnswered(kRasterImageDriver)) return;
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpEndPage: endPage(); break;
    default: YYRasterise(opcode); break;
  }
}
