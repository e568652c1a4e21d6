#include "toolkit/drivers/raster_printer.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/printer_streams.h"
#include "toolkit/drivers/raster_internal.h"
#include "toolkit/drivers/rasteriser.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

constexpr std::int32_t kDriverNumber = 4;
constexpr std::string_view kDeviceName = "XXRAST";
constexpr std::string_view kCaps = "00000111111111110010011011000";
constexpr std::string_view kDefaultOutput = "zndvplot.prn";
constexpr int kNoGraphics = 5;       // "Graphics not supported on requested printer"
constexpr int kPageTooLarge = 34;    // "Requested page size too large for raster image buffer"
constexpr int kClassRgb = 1;

void setOption(int code, std::int32_t value) { hardcopyOption(code) = value; }

void initialise() {
  std::int32_t op = kOpInitialise;
  YYRasterise(op);
  const YYRasterDevice& d = yyRasterDevice;
  YYGrState& g = yyGrState;
  const bool dotMatrix = d.printerType < 6;
  setOption(1, 576);
  setOption(2, 432);
  setOption(3, dotMatrix ? 0 : 100);
  setOption(4, dotMatrix ? 0 : 70);
  setOption(5, dotMatrix ? 0 : 1);
  setOption(13, std::min(d.resolutionCount, 2));
  setOption(19, 3);
  setOption(20, 0);
  setOption(24, std::min(d.defaultCompression, 2));
  g.HardcopyColourCount = 1 << std::clamp(d.devicePlanes, 0, 8);
  g.HardcopyColourMax = 8;
  g.HardcopyToFile = 1;
  g.RasterResolution = raster::option(13);
  g.HardcopyCaps = kCaps;
  yyHardcopyOutputName = kDefaultOutput;
  g.ActiveDriver = kDriverNumber;
}

// Dot-matrix printers print a page above 100 dpi in two interleaved passes,
// which doubles the dots down the paper.
float verticalResolution(std::int32_t horizontal) {
  const float pass = printerPassResolution(horizontal);
  return yyRasterDevice.printerType < 5 && horizontal > 100 ? 2.0f * pass : pass;
}

// Lays the page out at the resolution index and allocates it, stepping to the
// next lower resolution while the allocation fails.
bool allocatePage(int planes) {
  const YYRasterDevice& d = yyRasterDevice;
  YYGrState& g = yyGrState;
  YYRasterPage& page = yyRasterPage;
  const bool turned = raster::option(5) != 0;
  for (;;) {
    const int index = std::clamp(g.RasterResolution, 1, std::max(1, d.resolutionCount));
    const std::int32_t h = d.resolutions[static_cast<std::size_t>(index - 1)];
    const float v = verticalResolution(h);
    const std::int32_t across = raster::truncate((turned ? v : static_cast<float>(h)) * raster::option(1) / 72.0);
    const std::int32_t rows = raster::truncate((turned ? static_cast<float>(h) : v) * raster::option(2) / 72.0);
    const bool laidOut = YYRasterPageLayout(across, rows, planes == 1 ? 1 : 3, planes) >= 0;
    page.printerWidth = turned ? rows : across;
    page.printerHeight = turned ? across : rows;
    page.horizontalResolution = static_cast<float>(h);
    page.verticalResolution = v;
    if (laidOut && yyRasterPageAllocator()) return true;
    if (index >= d.resolutionCount) return false;
    g.RasterResolution = index + 1;
  }
}

void beginPlot() {
  YYGrState& g = yyGrState;
  std::int32_t op = kOpBeginPlot;
  if (g.M <= 0) {
    YYRasterise(op);
    return;
  }
  const YYRasterDevice& d = yyRasterDevice;
  if (raster::option(13) == 0 || d.resolutionCount <= 0) {
    YYErrorReport(kNoGraphics, kDeviceName);
    yyGrAttributes.HardcopyOpen = 0;
    return;
  }
  const int planes = raster::option(6) == 1 ? 1 : std::max(1, d.devicePlanes);
  g.RasterWord = planes;
  if (planes == 1) g.TrueColour[kHardcopySide] = 0;
  yyRasterPage.clearValue = d.deviceClass == kClassRgb && planes > 1 ? -1 : 0;
  if (!allocatePage(planes)) {
    YYErrorReport(kPageTooLarge, kDeviceName);
    yyGrAttributes.HardcopyOpen = 0;
    return;
  }
  YYRasterise(op);
  if (YYPlotOutputStatus == -1) {
    // The output could not be opened: no plot follows to free the page.
    YYRasterPageFree();
    return;
  }
  op = kOpClear;
  YYRasterise(op);
}

// Sends the drawn page to the printer stream and starts a blank one.
void endPage() {
  YYGrState& g = yyGrState;
  if (g.PageBegun == 0) return;
  // Without a page (its plot was refused) there is nothing to fetch dots from.
  if (!yyRasterPage.buffer.empty()) {
    YYPclRaster(yyRasterPage.printerWidth, yyRasterPage.printerHeight);
    YYDUMP(kPlotUnitFile, printerFetchRoutine());
  }
  g.PageBegun = 0;
  std::int32_t op = kOpClear;
  YYRasterise(op);
}

}  // namespace

void YYGRASTPRN(std::int32_t& opcode) {
  switch (opcode) {
    case kOpInitialise:
      if (yyGrState.N == kDriverProbe) {
        yyGrState.N = kDriverNumber;
        return;
      }
      initialise();
      break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPage: endPage(); break;
    default: YYRasterise(opcode); break;
  }
}
