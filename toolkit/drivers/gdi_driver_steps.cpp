// Opcode steps shared by the Windows printer and Windows metafile drivers.
#include "toolkit/drivers/gdi_driver_steps.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/core/os_services.h"
#include "toolkit/core/system_info.h"
#include "toolkit/drivers/hardcopy_gdi.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/image_drawing.h"

namespace {

constexpr float kDegreesPerTurn = 360.0f;
constexpr std::string_view kWindowsDriverCaps = "00000111111111100010011011110";

int truncated(double value) {
  if (!std::isfinite(value)) return 0;
  value = std::clamp(value, -2.0e9, 2.0e9);
  return static_cast<int>(value);
}

// A sine and cosine that count as 0 and 1 when the angle is no number.
float safeSin(float angle) { return std::isfinite(angle) ? std::sin(angle) : 0.0f; }
float safeCos(float angle) { return std::isfinite(angle) ? std::cos(angle) : 1.0f; }

void setOperandPoints(const YYGdiDriverSet& set, int count) {
  for (int k = 1; k <= count; ++k) {
    const POINT p = hardcopyOperandPoint(k);
    set.setPoint(p.x, p.y, k - 1);
  }
}


void setBufferPoints(const YYGdiDriverSet& set, int count) {
  for (int i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const POINT p = hardcopyDevicePoint(yyGrPointBuffer.x[k], yyGrPointBuffer.y[k]);
    set.setPoint(p.x, p.y, i);
  }
}

}  // namespace

POINT hardcopyDevicePoint(float x, float y) {
  const YYGrState& s = yyGrState;
  return POINT{truncated(s.DeviceScaleX * x), truncated((s.SurfaceHeightReal - y) * s.DeviceScaleY)};
}

POINT hardcopyOperandPoint(int k) {
  const YYGrState& s = yyGrState;
  switch (k) {
    case 1: return hardcopyDevicePoint(s.R5, s.R1);
    case 2: return hardcopyDevicePoint(s.R6, s.R2);
    case 3: return hardcopyDevicePoint(s.R7, s.R3);
    default: return hardcopyDevicePoint(s.R8, s.R4);
  }
}

YYArcEnds hardcopyArcEnds(float yRadius) {
  const YYGrState& s = yyGrState;
  YYArcEnds ends{hardcopyDevicePoint(s.R5 + s.R6 * safeCos(s.R7), s.R1 + yRadius * safeSin(s.R7)),
                 hardcopyDevicePoint(s.R5 + s.R6 * safeCos(s.R3), s.R1 + yRadius * safeSin(s.R3))};
  // One pixel apart, GDI draws a narrow sector as the whole ellipse.
  if (ends.start.x == ends.end.x && ends.start.y == ends.end.y && std::fabs(s.R4) <= 10.0f) {
    float a = std::isfinite(s.R8) ? std::fmod(s.R8, kDegreesPerTurn) : 0.0f;
    if (a < 0.0f) a += kDegreesPerTurn;
    if (a < 90.0f) {
      ends.end.x -= 1, ends.end.y -= 1;
    } else if (a < 180.0f) {
      ends.end.x -= 1, ends.end.y += 1;
    } else if (a < 270.0f) {
      ends.end.x += 1, ends.end.y += 1;
    } else {
      ends.end.x += 1, ends.end.y -= 1;
    }
  }
  return ends;
}

float hardcopyPageAspect() {
  const int height = hardcopyOption(2);
  return height > 0 ? static_cast<float>(hardcopyOption(1)) / static_cast<float>(height) : 0.0f;
}

void hardcopyShape(const YYGdiDriverSet& set, YYGrPrimitive opcode, float pageAspect) {
  YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  if (a.FillStyle <= 2 && opcode != kOpEllipsePattern) return;
  switch (opcode) {
    case kOpEllipsePattern: {
      const POINT c = hardcopyOperandPoint(1);
      const double denominator = static_cast<double>(s.SurfaceWidthReal) * s.AreaWidthFraction;
      const int rx = truncated(s.DeviceScaleX * s.R6);
      const int ry = denominator == 0.0
                         ? 0
                         : truncated(static_cast<double>(s.DeviceScaleY) * s.R6 * s.R7 * pageAspect *
                                     s.SurfaceHeightReal * s.AreaHeightFraction / denominator);
      set.ellipse(c.x, c.y, rx, ry, a.FillStyle);
      break;
    }
    case kOpQuadPattern:
      setOperandPoints(set, 4);
      set.polygon(4, 0);
      break;
    case kOpRectanglePattern: {
      const POINT topLeft = hardcopyDevicePoint(std::max(s.ViewportLeftReal, s.R5), std::min(s.ViewportTopReal, s.R2));
      const POINT bottomRight =
          hardcopyDevicePoint(std::min(s.ViewportRightReal, s.R6), std::max(s.ViewportBottomReal, s.R1));
      set.rectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
      break;
    }
    case kOpTrianglePattern:
      setOperandPoints(set, 3);
      set.polygon(3, 0);
      break;
    case kOpPiePattern: {
      // The operand itself takes the page's aspect, as callers may read it back.
      s.R2 = s.SurfaceAspect == 0.0f ? 0.0f : s.R2 / s.SurfaceAspect * pageAspect;
      const YYArcEnds ends = hardcopyArcEnds(s.R2);
      const POINT c = hardcopyOperandPoint(1);
      set.pie(c.x, c.y, truncated(s.DeviceScaleX * s.R6), truncated(s.DeviceScaleY * s.R2), ends.start.x,
              ends.start.y, ends.end.x, ends.end.y);
      break;
    }
    case kOpPolygonPattern: {
      const int n = bufferedPointCount();
      setBufferPoints(set, n);
      set.polygon(n, a.DrawFlag);
      break;
    }
    default:
      break;
  }
}

bool hardcopyLineStep(const YYGdiDriverSet& set, YYGrPrimitive opcode) {
  YYGrState& s = yyGrState;
  const POINT first = hardcopyOperandPoint(1);
  switch (opcode) {
    case kOpLine: {
      const POINT second = hardcopyOperandPoint(2);
      set.line(first.x, first.y, second.x, second.y);
      break;
    }
    case kOpPoint: set.point(first.x, first.y); break;
    case kOpPolyline: {
      const int n = bufferedPointCount();
      setBufferPoints(set, n);
      set.polyline(n);
      break;
    }
    case kOpArc: {
      const YYArcEnds ends = hardcopyArcEnds(s.R2);
      set.arc(first.x, first.y, truncated(s.DeviceScaleX * s.R6), truncated(s.DeviceScaleY * s.R2), ends.start.x,
              ends.start.y, ends.end.x, ends.end.y, yyGrAttributes.FillOutline);
      break;
    }
    default: return false;
  }
  s.PageBegun = -1;
  return true;
}

void hardcopyTextExtentStep(const YYGdiDriverSet& set, int& width) {
  YYGrState& s = yyGrState;
  set.textExtent(width, hardcopyTextOperand(s.M));
  s.N = 1;
  s.R5 = s.DeviceScaleX != 0.0f ? static_cast<float>(width) / s.DeviceScaleX : 0.0f;
}

YYFontRequest hardcopyFontRequest() {
  const YYGrState& s = yyGrState;
  double width = static_cast<double>(s.CharWidth) * s.AreaWidthDevice * s.DeviceScaleX;
  double height = static_cast<double>(s.CharHeight) * s.AreaHeightDevice * s.DeviceScaleY;
  int style = s.TextStyle;
  if (s.TextMode != 0) {
    // Width factors of the text modes; from mode 3 on the screen's factor.
    width *= s.TextMode == 1 ? 0.607 : s.TextMode == 2 ? 0.725 : 0.999;
    if (s.TextFont == 4) width *= 1.38;
    height *= 0.821;
    if (s.TextMode == 1) style &= ~4;
  }
  return YYFontRequest{truncated(width), truncated(height), truncated(s.CharAngle), style};
}

RECT hardcopyViewportRectangle(bool roundOutward) {
  const YYGrState& s = yyGrState;
  const float extra = roundOutward ? 0.99f : 0.0f;
  return RECT{truncated(s.DeviceScaleX * s.ViewportLeftReal),
              truncated((s.SurfaceHeightReal - s.ViewportTopReal) * s.DeviceScaleY),
              truncated(s.ViewportRightReal * s.DeviceScaleX + extra),
              truncated((s.SurfaceHeightReal - s.ViewportBottomReal) * s.DeviceScaleY + extra)};
}

std::string_view hardcopyTextOperand(std::int32_t count) {
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, kTextOperandLength));
  return TEXT.view().substr(0, n);
}

int hardcopyTextAlignment() { return yyGrState.TextMode == 1 ? 0 : yyGrState.TextAlign; }

int hardcopyTextOpaque() {
  const YYGrState& s = yyGrState;
  return s.TextMode != 1 && s.TextPerCharacter == 0 && (s.TextStyle & 8) != 0 ? 1 : 0;
}

YYRgbComponents hardcopyCurrentComponents() {
  YYRgbComponents c;
  YYColourComponents(currentColourOfMode(yyGrAttributes), c.red, c.green, c.blue);
  return c;
}

bool hardcopyFillColours(YYDriverColours& colours, bool colouredFill, YYColourInverter invert, YYColourSetter set) {
  if (yyGrState.M == -1) {
    if (colouredFill) {
      set(colours.previous.red, colours.previous.green, colours.previous.blue);
      set(colours.current.red, colours.current.green, colours.current.blue);
    }
    return false;
  }
  yyGrState.PageBegun = -1;
  if (colouredFill) {
    YYRgbComponents fill = hardcopyCurrentComponents();
    if (yyGrAttributes.FillStyle == 3) {
      YYRgbComponents before;
      YYColourComponents(previousColourOfMode(yyGrAttributes), before.red, before.green, before.blue);
      fill = YYRgbComponents{(fill.red + before.red) / 2, (fill.green + before.green) / 2,
                             (fill.blue + before.blue) / 2};
    }
    invert(fill.red, fill.green, fill.blue);
    colours.fill = fill;
    set(fill.red, fill.green, fill.blue);
  }
  return true;
}

void hardcopyImage(int target) {
  YYGrState& s = yyGrState;
  s.PageBegun = -1;
  const RECT r = hardcopyViewportRectangle(false);
  const std::string fileName = TEXT.str();
  YYDrawImageFile(s.X1, target, static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                  static_cast<int>(r.bottom), s.X2, s.M, s.N, fileName.c_str());
}

namespace {

// The polygon that the device could not shade is shaded in cells of `step`
// device units and drawn as one bitmap row per run of cells: a metafile then
// holds a few hundred records instead of one for every pixel, and a printer
// gets a picture instead of millions of points.
struct ShadeCanvas {
  long long left = 0;
  long long top = 0;
  long long step = 1;
  int columns = 0;
  int rows = 0;
  std::vector<std::uint32_t> cells;  // colour with kCellShaded, 0 = left alone
};
ShadeCanvas shadeCanvas;

constexpr std::uint32_t kCellShaded = 0x01000000u;
constexpr long long kShadeCellsAcross = 512;  // cells along the polygon's longer side, at most

long long cellOf(long long value, long long origin, long long step) {
  const long long d = value - origin;
  return d >= 0 ? d / step : -((-d + step - 1) / step);
}

using CellRuns = std::vector<std::pair<int, int>>;  // first and last column of each run

CellRuns runsOfRow(const ShadeCanvas& c, int row) {
  const std::uint32_t* cells = c.cells.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(c.columns);
  CellRuns runs;
  for (int first = 0; first < c.columns; ++first) {
    if (cells[first] == 0) continue;
    int last = first;
    while (last + 1 < c.columns && cells[last + 1] != 0) ++last;
    runs.emplace_back(first, last);
    first = last;
  }
  return runs;
}

// One run of cells over `rows` rows from `top` as a bitmap stretched over them.
void drawCellBlock(HDC dc, const ShadeCanvas& c, int top, int rows, int first, int last) {
  const int length = last - first + 1;
  const std::size_t stride = static_cast<std::size_t>((3 * length + 3) / 4 * 4);
  std::vector<BYTE> bits(stride * static_cast<std::size_t>(rows), 0);
  for (int r = 0; r < rows; ++r) {
    // The bitmap's rows run bottom-up.
    BYTE* out = bits.data() + stride * static_cast<std::size_t>(rows - 1 - r);
    const std::uint32_t* cells =
        c.cells.data() + static_cast<std::size_t>(top + r) * static_cast<std::size_t>(c.columns) + first;
    for (int k = 0; k < length; ++k) {
      out[3 * k] = static_cast<BYTE>((cells[k] >> 16) & 0xFF);
      out[3 * k + 1] = static_cast<BYTE>((cells[k] >> 8) & 0xFF);
      out[3 * k + 2] = static_cast<BYTE>(cells[k] & 0xFF);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = length;
  info.bmiHeader.biHeight = rows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(bits.size());
  StretchDIBits(dc, static_cast<int>(c.left + first * c.step), static_cast<int>(c.top + top * c.step),
                static_cast<int>(length * c.step), static_cast<int>(rows * c.step), 0, 0, length, rows, bits.data(),
                &info, DIB_RGB_COLORS, SRCCOPY);
}

// The shaded cells as bitmaps: rows whose runs begin and end alike share one
// bitmap per run, so that a renderer has few seams to round.
void drawShadeCanvas(HDC dc) {
  const ShadeCanvas& c = shadeCanvas;
  for (int top = 0; top < c.rows;) {
    const CellRuns runs = runsOfRow(c, top);
    int rows = 1;
    while (top + rows < c.rows && runsOfRow(c, top + rows) == runs) ++rows;
    for (const auto& [first, last] : runs) drawCellBlock(dc, c, top, rows, first, last);
    top += rows;
  }
}

void shadeInCells(HDC dc, const RECT& clip, YYPixelCallback pixel) {
  YYPolygonWork& work = yyPolygonWork;
  const int n = std::clamp(work.vertexCount, 0, kPolygonVertices);
  if (dc == nullptr || n < 3) return;
  long long left = work.deviceX[0], right = left, top = work.deviceY[0], bottom = top;
  for (std::size_t k = 1; k < static_cast<std::size_t>(n); ++k) {
    left = std::min<long long>(left, work.deviceX[k]);
    right = std::max<long long>(right, work.deviceX[k]);
    top = std::min<long long>(top, work.deviceY[k]);
    bottom = std::max<long long>(bottom, work.deviceY[k]);
  }
  left = std::max<long long>(left, clip.left);
  right = std::min<long long>(right, clip.right);
  top = std::max<long long>(top, clip.top);
  bottom = std::min<long long>(bottom, clip.bottom);
  if (left > right || top > bottom) return;
  ShadeCanvas& c = shadeCanvas;
  c.left = left;
  c.top = top;
  c.step = std::max(1LL, (std::max(right - left, bottom - top) + kShadeCellsAcross) / kShadeCellsAcross);
  c.columns = static_cast<int>((right - left) / c.step + 1);
  c.rows = static_cast<int>((bottom - top) / c.step + 1);
  c.cells.assign(static_cast<std::size_t>(c.columns) * static_cast<std::size_t>(c.rows), 0);
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
    work.deviceX[k] = static_cast<std::int32_t>(cellOf(work.deviceX[k], c.left, c.step));
    work.deviceY[k] = static_cast<std::int32_t>(cellOf(work.deviceY[k], c.top, c.step));
  }
  YYPolygonFill(1, 0, 0, c.columns - 1, c.rows - 1, pixel, nullptr);
  drawShadeCanvas(dc);
  c.cells = {};
}

}  // namespace

void hardcopyShadeCell(const std::int32_t& x, const std::int32_t& y, const std::int32_t& colour) {
  ShadeCanvas& c = shadeCanvas;
  if (x < 0 || y < 0 || x >= c.columns || y >= c.rows) return;
  c.cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(c.columns) + static_cast<std::size_t>(x)] =
      (static_cast<std::uint32_t>(colour) & 0x00FFFFFFu) | kCellShaded;
}

void hardcopyShadedPolygon(int shading, HDC dc, YYPixelCallback pixel,
                           void (*triangles)(std::span<const std::int32_t>, std::span<const std::int32_t>,
                                             std::span<const std::int32_t>, std::span<const YYTriangle>,
                                             std::int32_t&)) {
  yyGrState.PageBegun = -1;
  YYPolygonWork& work = yyPolygonWork;
  const int n = std::clamp(work.vertexCount, 0, kPolygonVertices);
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const POINT p = hardcopyDevicePoint(yyGrPointBuffer.x[k], yyGrPointBuffer.y[k]);
    work.deviceX[k] = p.x;
    work.deviceY[k] = p.y;
  }
  const RECT clip = hardcopyViewportRectangle(false);
  if (shading == kShadeTriangles) {
    // The device's own shading first; without a pixel routine nothing else is drawn.
    work.shadingStatus = 1;
    YYPolygonFill(shading, static_cast<int>(clip.left), static_cast<int>(clip.top), static_cast<int>(clip.right),
                  static_cast<int>(clip.bottom), nullptr, triangles);
    if (work.shadingStatus == 0) return;
  }
  shadeInCells(dc, clip, pixel);
}

void hardcopyWindowsDeviceWords(int driverNumber) {
  YYGrState& s = yyGrState;
  int platform = 0;
  YYOsPlatform(platform);
  int shade = 1;
  YYGradientAvailable(shade);
  s.DeviceWord5[kHardcopySide] = 8;
  s.FullCircle[kHardcopySide] = 360;
  s.PlatformLevel[kHardcopySide] = platform == 4 ? 2 : 1;
  s.TrueColour[kHardcopySide] = 1;
  s.ShadeMode[kHardcopySide] = shade;
  s.HardcopyDeviceWord1 = s.HardcopyDeviceWord2 = s.HardcopyDeviceWord3 = 1;
  s.DeviceWord6[kHardcopySide] = 1.7e38f;
  s.HardcopyToFile = 0;
  s.HardcopyCaps = kWindowsDriverCaps;
  s.ActiveDriver = driverNumber;
}
