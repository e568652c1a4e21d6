// The rasteriser: every primitive record of the raster drivers drawn into the
// page bitmap.  The drivers handle page size, resolution and output; the
// colours, pens, dashes and fills are kept here.

#include "toolkit/drivers/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/drivers/raster_fills.h"
#include "toolkit/drivers/raster_internal.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/image_reading.h"
#include "toolkit/graphics/polygon_fill.h"

namespace {

// Dash patterns of the line styles 0-6, bit 0 first.
constexpr std::array<std::int32_t, 7> kDashPatterns = {0xFFF, 0x104, 0xE07, 0x1E1, 0x3C9, 0xCE7, 0x8E3};
constexpr std::int32_t kNoLineEnd = -9999;
constexpr int kClassCmy = 2;
constexpr std::int32_t kNoMoreShapes = -1;  // M of a shape that marks a fill's end

std::int32_t columnOf(float x) { return raster::truncate(x * yyGrState.DeviceScaleX); }
std::int32_t rowOf(float y) { return raster::truncate(y * yyGrState.DeviceScaleY); }

RasterPoints operandPoints() {
  const YYGrState& g = yyGrState;
  RasterPoints p;
  p.x = {columnOf(g.R5), columnOf(g.R6), columnOf(g.R7), columnOf(g.R8)};
  p.y = {rowOf(g.R1), rowOf(g.R2), rowOf(g.R3), rowOf(g.R4)};
  return p;
}

void markPageBegun() { yyGrState.PageBegun = -1; }

void initialise() {
  YYGrState& g = yyGrState;
  YYDriverDefaults();
  YYUserPatternsReset();
  yyRasterPage.totalWords = 0;
  g.ShadeMode[kHardcopySide] = 1;
  g.TrueColour[kHardcopySide] = 1;
  g.PlatformLevel[kHardcopySide] = 2;
  g.FullCircle[kHardcopySide] = 0;
  g.HardcopyDeviceWord1 = 1;
  g.HardcopyDeviceWord2 = 0;
  g.HardcopyDeviceWord3 = 0;
  g.DeviceWord5[kHardcopySide] = 0;
  g.DeviceWord6[kHardcopySide] = 0.0f;
}

void line() {
  YYRasterState& s = yyRasterState;
  const RasterPoints p = operandPoints();
  if (yyGrAttributes.FillFallback != 0) {
    rasterFillLine(std::min(p.x[0], p.x[1]), std::max(p.x[0], p.x[1]), p.y[0]);
    return;
  }
  const bool joined = p.x[0] == s.lastEndColumn && p.y[0] == s.lastEndRow;
  YYRasterLine(p.x[0], p.y[0], p.x[1], p.y[1], joined);
  s.lastEndColumn = p.x[1];
  s.lastEndRow = p.y[1];
}

std::int32_t pixelValueOfColour() {
  const YYGrAttributes& a = yyGrAttributes;
  switch (yyRasterPage.bitsPerPixel) {
    case 1: return a.ColourNumber == (raster::option(6) == 0 ? 0 : 223) ? 0 : 1;
    case 3: {
      int red = 0, green = 0, blue = 0;
      YYColourComponents(currentColourOfMode(a), red, green, blue);
      int c = 4 * (blue >= 128) + 2 * (green >= 128) + (red >= 128);
      if ((c == 0 || c == 7) && raster::option(6) == 2) c = 7 - c;
      return yyRasterDevice.deviceClass == kClassCmy ? 7 - c : c;
    }
    case 4: return rasterFourBitValue(a.ColourNumber);
    case 8: return a.ColourNumber;
    default: return a.CurrentRGB;
  }
}

void colour() {
  YYRasterState& s = yyRasterState;
  s.previousPixelValue = s.pixelValue;
  s.previousPatterns = s.patterns;
  YYColourPatterns(yyRasterDevice, s.patterns[0], s.patterns[1], s.patterns[2]);
  s.pixelValue = pixelValueOfColour();
}

void shape(std::int32_t opcode) {
  YYGrState& g = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  YYRasterState& s = yyRasterState;
  if (g.M == kNoMoreShapes) return;
  markPageBegun();
  if (a.FillStyle < 3) {
    if (opcode == kOpEllipsePattern) g.M = kNoMoreShapes;
    return;
  }
  s.mix = a.FillStyle == 3 && a.PreviousColourNumber != a.ColourNumber;
  if (a.DrawFlag == 0) {
    s.monoFillA = s.patterns[0];
  } else {
    s.monoFillA = a.ColourNumber != 0 ? 0xFFFFFFFFu : 0u;
    if (raster::option(6) != 0) s.monoFillA = ~s.monoFillA;
  }
  s.monoFillB = s.mix ? s.previousPatterns[0] : s.monoFillA;
  switch (opcode) {
    case kOpQuadPattern: rasterParallelogram(operandPoints(), g.M); break;
    case kOpRectanglePattern: rasterRectangle(operandPoints()); break;
    case kOpTrianglePattern: rasterTriangle(operandPoints()); break;
    default:
      // Ellipses, pies and polygons come back as scan lines (opcode 2).
      yyGrAttributes.FillFallback = 1;
      g.FillLineSpacing = yyRasterPage.rows > 0 ? g.SurfaceHeightReal / static_cast<float>(yyRasterPage.rows) : 0.0f;
      break;
  }
}

void clear() { std::fill(yyRasterPage.buffer.begin(), yyRasterPage.buffer.end(), static_cast<std::uint32_t>(yyRasterPage.clearValue)); }

void beginPlot() {
  YYGrState& g = yyGrState;
  YYRasterPage& page = yyRasterPage;
  if (g.M > 0) {
    if (!openPlotFile()) return;
    page.lastColumn = page.width - 1;
    page.lastRow = page.rows - 1;
    page.storageKind = rasterStorageKind(page.bitsPerPixel);
    YYRasterState& s = yyRasterState;
    YYColourPatterns(yyRasterDevice, s.patterns[0], s.patterns[1], s.patterns[2]);
    YYDitherTables();
    g.HardcopyColourCount = page.bitsPerPixel >= 8 ? 256 : (1 << std::max(0, page.bitsPerPixel));
    s.lastEndColumn = kNoLineEnd;
    s.lastEndRow = kNoLineEnd;
  }
  g.DeviceScaleX = g.SurfaceWidth != 0 ? static_cast<float>(page.width) / static_cast<float>(g.SurfaceWidth) : 0.0f;
  g.DeviceScaleY = g.SurfaceHeight != 0 ? static_cast<float>(page.rows) / static_cast<float>(g.SurfaceHeight) : 0.0f;
}

void endPlot() {
  YYPROUClose(kPlotUnitFile);
  YYRasterPageFree();
}

void clip() {
  const YYGrState& g = yyGrState;
  YYRasterState& s = yyRasterState;
  s.columnMin = columnOf(g.ViewportLeftReal);
  s.columnMax = columnOf(g.ViewportRightReal);
  s.rowMin = rowOf(g.ViewportBottomReal);
  s.rowMax = rowOf(g.ViewportTopReal);
}

void point() {
  YYRasterState& s = yyRasterState;
  const std::int32_t x = columnOf(yyGrState.R5);
  const std::int32_t y = rowOf(yyGrState.R1);
  const std::int64_t left = static_cast<std::int64_t>(x) - s.hr;
  YYRasterRun(s.pixelValue, raster::clampToInt(std::max<std::int64_t>(s.columnMin, left)), y,
              raster::clampToInt(std::min<std::int64_t>(s.columnMax, left + s.wr - 1)));
  s.lastEndColumn = x;
  s.lastEndRow = y;
}

// One pattern bit is one point long.
std::int32_t pixelsPerPoint(float resolution) {
  return std::max<std::int32_t>(1, raster::truncate(std::round(static_cast<double>(resolution) / 72.0)));
}

void lineStyle() {
  YYRasterState& s = yyRasterState;
  const std::int32_t style = yyGrAttributes.LineStyle;
  s.dashPattern = style >= 0 && style < static_cast<std::int32_t>(kDashPatterns.size())
                      ? kDashPatterns[static_cast<std::size_t>(style)]
                      : kDashPatterns[0];
  s.dashBit = 0;
  s.dashPixelsInBit = 1;
  s.dashPixelsPerBitColumns = pixelsPerPoint(yyRasterPage.horizontalResolution);
  s.dashPixelsPerBitRows = pixelsPerPoint(yyRasterPage.verticalResolution);
  s.lastEndColumn = -1;
}

void lineWidth() {
  YYRasterState& s = yyRasterState;
  // Option 9 is the width in tenths of a point, 1/720 inch.
  auto pixels = [](float resolution) {
    return std::max<std::int32_t>(
        1, raster::truncate(static_cast<double>(raster::option(9)) * resolution / 720.0 + 0.5));
  };
  const std::int32_t wv = pixels(yyRasterPage.verticalResolution);
  const std::int32_t wh = pixels(yyRasterPage.horizontalResolution);
  const bool turned = raster::option(5) != 0;
  s.wc = turned ? wv : wh;
  s.wr = turned ? wh : wv;
  s.hc = (s.wc - 1) / 2;
  s.hr = (s.wr - 1) / 2;
}

void polyline() {
  YYRasterState& s = yyRasterState;
  const int count = bufferedPointCount();
  if (count == 0) return;
  std::int32_t x = columnOf(yyGrPointBuffer.x[0]);
  std::int32_t y = rowOf(yyGrPointBuffer.y[0]);
  bool skipFirst = x == s.lastEndColumn && y == s.lastEndRow;
  for (int i = 1; i < count; ++i) {
    const std::int32_t nx = columnOf(yyGrPointBuffer.x[static_cast<std::size_t>(i)]);
    const std::int32_t ny = rowOf(yyGrPointBuffer.y[static_cast<std::size_t>(i)]);
    YYRasterLine(x, y, nx, ny, skipFirst);
    skipFirst = true;
    x = nx;
    y = ny;
  }
  s.lastEndColumn = x;
  s.lastEndRow = y;
}

// The error words that a silent read changes: the last error and the mode.
class SilentErrors {
 public:
  SilentErrors() : lastError_(errorState.lastError), mode_(errorState.reportingMode) {
    errorState.lastError = 0;
    errorState.reportingMode = kReportSilent;
  }
  ~SilentErrors() { errorState.reportingMode = mode_; }
  SilentErrors(const SilentErrors&) = delete;
  SilentErrors& operator=(const SilentErrors&) = delete;
  // A read that went well gives the last error back its earlier value.
  void succeeded() const { errorState.lastError = lastError_; }

 private:
  int lastError_;
  int mode_;
};

constexpr int kImageMemoryError = 2;  // the array of colours could not be had

// The colours of an image of width x height pixels, read from the file named
// in TEXT; empty, with the error as the last error, when it cannot be read.
std::vector<std::int32_t> readImageColours(std::int32_t width, std::int32_t height) {
  std::vector<std::int32_t> colours;
  if (!YYImageColoursTake(colours, std::max(0, width), std::max(0, height))) {
    YYErrorCodeStore(kImageMemoryError);
    return {};
  }
  IGrLoadImageData(TEXT.trimmed(), colours);
  if (errorState.lastError != 0) return {};
  return colours;
}

// Every pixel of the clip rectangle from the image stretched over it, the
// image's first row at the top.
void paintImage(const std::vector<std::int32_t>& colours, std::int64_t width, std::int64_t height) {
  const YYRasterState& s = yyRasterState;
  const std::int64_t clipColumns = std::int64_t{s.columnMax} - s.columnMin + 1;
  const std::int64_t clipRows = std::int64_t{s.rowMax} - s.rowMin + 1;
  if (clipColumns <= 0 || clipRows <= 0) return;
  const raster::Range rows = raster::onPage(s.rowMin, s.rowMax, yyRasterPage.lastRow);
  const raster::Range columns = raster::onPage(s.columnMin, s.columnMax, yyRasterPage.lastColumn);
  for (std::int64_t r = rows.first; r <= rows.last; ++r) {
    const std::int64_t sourceRow = (s.rowMax - r) * height / clipRows;
    for (std::int64_t c = columns.first; c <= columns.last; ++c) {
      const std::int64_t sourceColumn = (c - s.columnMin) * width / clipColumns;
      const std::int32_t colour = colours[static_cast<std::size_t>(sourceRow * width + sourceColumn)];
      YYRasterColourPixel(static_cast<std::int32_t>(c), static_cast<std::int32_t>(r), colour);
    }
  }
}

// An image file stretched over the viewport.  Nothing is shown when it cannot
// be read: M and N carry the error and its detail back.
void imageFile() {
  YYGrState& g = yyGrState;
  const std::int32_t width = g.X2;
  const std::int32_t height = g.Y2;
  std::vector<std::int32_t> colours;
  {
    SilentErrors silent;
    colours = readImageColours(width, height);
    if (!colours.empty()) silent.succeeded();
  }
  if (colours.empty()) {
    g.M = errorState.lastError;
    g.N = errorState.ioDetail;
    return;
  }
  g.M = 0;
  markPageBegun();
  paintImage(colours, width, height);
}

void shadedPolygon() {
  YYPolygonWork& work = yyPolygonWork;
  const int count = std::clamp(work.vertexCount, 0, kPolygonVertices);
  for (int i = 0; i < count; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    work.deviceX[at] = columnOf(yyGrPointBuffer.x[at]);
    work.deviceY[at] = rowOf(yyGrPointBuffer.y[at]);
  }
  const YYRasterState& s = yyRasterState;
  const int shading = 1;
  YYPolygonFill(shading, s.columnMin, s.rowMin, s.columnMax, s.rowMax, YYRasterColourPixel, nullptr);
}

}  // namespace

void YYRasterise(std::int32_t& opcode) {
  switch (opcode) {
    case kOpInitialise: initialise(); break;
    case kOpLine:
      markPageBegun();
      line();
      break;
    case kOpColour:
    case kOpColourRefresh: colour(); break;
    case kOpEllipsePattern:
    case kOpQuadPattern:
    case kOpRectanglePattern:
    case kOpTrianglePattern:
    case kOpPiePattern:
    case kOpPolygonPattern: shape(opcode); break;
    case kOpClear: clear(); break;
    case kOpBeginPlot: beginPlot(); break;
    case kOpEndPlot: endPlot(); break;
    case kOpClip: clip(); break;
    case kOpPoint:
      markPageBegun();
      point();
      break;
    case kOpLineStyle: lineStyle(); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpPolyline:
      markPageBegun();
      polyline();
      break;
    case kOpImage: imageFile(); break;
    case kOpShadedPolygon:
      markPageBegun();
      shadedPolygon();
      break;
    default: break;
  }
}
