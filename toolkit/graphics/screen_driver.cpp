// The screen driver: one primitive at a time on the current screen target,
// through the screen GDI set.  Surface y grows upward; the GDI set takes y
// downward, so every y is flipped against DeviceMaxY.
#include "toolkit/graphics/screen_driver.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/image_drawing.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/screen_gdi.h"

YYScreenCache yyScreenCache;

namespace {
constexpr float kNoLimit = 1.7E38f;
constexpr int kErrorOpening = 1;
constexpr int kErrorImageTransfer = 64;
constexpr int kAlphabetLetters = 52;

YYGrState& st() { return yyGrState; }
YYGrAttributes& at() { return yyGrAttributes; }
int flipped(int y) { return yyGrAttributes.DeviceMaxY - y; }

// Real to integer, truncating toward zero; a value that no integer holds
// (infinite, not a number, beyond the range) must not reach the conversion.
int truncated(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

std::int32_t tableColour(std::int32_t number) { return yyColourTable[static_cast<std::size_t>(number & 255)]; }

void describeScreen() {
  YYGrState& s = st();
  s.FullCircle[kScreenSide] = 360;
  s.PlatformLevel[kScreenSide] = toolkitSettings.ntFlag != 0 ? 2 : 1;
  s.TrueColour[kScreenSide] = toolkitSettings.colourCount > 256 ? 1 : 0;
  int shade = 1;
  YYGradientAvailable(shade);
  s.ShadeMode[kScreenSide] = shade;
  s.DeviceWord6[kScreenSide] = kNoLimit;
  s.DeviceWord5[kScreenSide] = 8;
  s.ScreenCaps = kScreenCaps;
  if (at().TargetKind == kTargetMetafile) s.ScreenCaps.column(kDeviceCapsLength) = '0';
}

void setColour() {
  const YYGrAttributes& a = at();
  const std::int32_t rgb = a.ColourMode == kColourRgb ? a.CurrentRGB : tableColour(a.ColourNumber);
  YYGdiSetColour(a.DeviceColour, rgb);
}

int kindOf(YYGrPrimitive opcode) { return 4 - opcode % 2; }

void cornerPoints(int count) {
  const YYGrState& s = st();
  const std::array<std::int32_t, 4> xs = {s.X1, s.X2, s.X3, s.X4};
  const std::array<std::int32_t, 4> ys = {s.Y1, s.Y2, s.Y3, s.Y4};
  for (int k = 0; k < count; ++k) {
    YYGdiSetPoint(xs[static_cast<std::size_t>(k)], flipped(ys[static_cast<std::size_t>(k)]), k);
  }
}

// The first N points of the point buffer as device points; answers how many.
int bufferPoints() {
  const int n = std::clamp(st().N, 0, kPointBufferSize);
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    YYGdiSetPoint(truncated(yyGrPointBuffer.x[k]), flipped(truncated(yyGrPointBuffer.y[k])), i);
  }
  return n;
}

// Start and end points of a pie or arc in device pixels.  GDI draws a whole
// ellipse when the two coincide, so a short sweep moves its end one pixel on.
struct ArcEnds {
  int xs, ys, xe, ye;
};
ArcEnds arcEnds() {
  const YYGrState& s = st();
  auto cosSin = [](float radians, double& c, double& sn) {
    c = std::cos(static_cast<double>(radians));
    sn = std::sin(static_cast<double>(radians));
    if (!std::isfinite(c) || !std::isfinite(sn)) {
      c = 1.0;
      sn = 0.0;
    }
  };
  double c = 1.0;
  double sn = 0.0;
  cosSin(s.R7, c, sn);
  const int startX = truncated(s.X1 + c * s.R6);
  const int startY = truncated(s.Y1 + s.R2 * sn);
  cosSin(s.R3, c, sn);
  const int endX = truncated(s.X1 + c * s.R6);
  const int endY = truncated(s.Y1 + s.R2 * sn);
  ArcEnds ends{startX, flipped(startY), endX, flipped(endY)};
  if (ends.ys == ends.ye && std::fabs(s.R4) <= 10.0f && ends.xs == ends.xe) {
    double q = std::isfinite(s.R8) ? std::fmod(static_cast<double>(s.R8), 360.0) : 0.0;
    if (q < 0.0) q += 360.0;
    if (q < 90.0) {
      ends.xe -= 1;
      ends.ye -= 1;
    } else if (q < 180.0) {
      ends.xe -= 1;
      ends.ye += 1;
    } else if (q < 270.0) {
      ends.xe += 1;
      ends.ye += 1;
    } else {
      ends.xe += 1;
      ends.ye -= 1;
    }
  }
  return ends;
}

void pie(YYGrPrimitive opcode) {
  const YYGrState& s = st();
  const ArcEnds e = arcEnds();
  YYGdiPie(s.X1, flipped(s.Y1), truncated(s.R6), truncated(s.R2), e.xs, e.ys, e.xe, e.ye, kindOf(opcode));
}

void arc() {
  const YYGrState& s = st();
  const ArcEnds e = arcEnds();
  YYGdiArc(s.X1, flipped(s.Y1), truncated(s.R6), truncated(s.R2), e.xs, e.ys, e.xe, e.ye, at().FillOutline,
           at().FillStyle);
}

void clip() {
  const YYGrState& s = st();
  const YYGrAttributes& a = at();
  const int h = a.DeviceMaxY;
  const bool smaller = s.ViewportTop < h || s.ViewportLeft > 0 || s.ViewportBottom > 0 || s.ViewportRight < a.DeviceMaxX;
  if (smaller || a.TargetKind == kTargetField) {
    YYGdiClipRect(s.ViewportLeft, h - s.ViewportTop, s.ViewportRight, h - s.ViewportBottom);
  } else {
    YYGdiClipRect(0, 0, 0, -1);
  }
}

// The print of the window's picture on the dump printer.
void printPicture() {
  const YYDumpSettings& d = yyDumpSettings;
  auto fail = [](int number) {
    errorState.ioDetail = 0;
    errorState.ioDetailKind = 0;
    YYErrorReport(number, "YYGAPI");
  };
  if (d.printerPresent == 0) {
    fail(kErrorOpening);
    return;
  }
  int status = 0;
  YYPrinterStartPage(d.pageWidth, d.pageHeight, d.offsetX, d.offsetY, status, d.orientation, d.copies,
                     TEXT.trimmed());
  if (status != 0) {
    fail(kErrorOpening);
    return;
  }
  const YYGrState& s = st();
  YYPrinterBitmap(s.ViewportLeft, flipped(s.ViewportTop), s.ViewportRight, flipped(s.ViewportBottom), status);
  if (status != 0) YYErrorReport(kErrorImageTransfer, "YYGAPI");
  YYPrinterEndPage();
}

// Screen font width factor of a text mode; modes above 3 have none of their own.
float modeWidthFactor(int mode) {
  switch (mode) {
    case 1: return 0.607f;
    case 2: return 0.78f;
    case 3: return 0.999f;
    default: return 1.0f;
  }
}

// A character size or angle change: the font is made again only when what it
// is made from has changed.
void characterFont() {
  YYGrState& s = st();
  YYScreenCache& c = yyScreenCache;
  const float across = s.CharWidth * s.AreaWidthDevice;
  const float up = s.CharHeight * s.AreaHeightDevice;
  s.CharColumnsPerSurface = across != 0.0f ? s.SurfaceWidthReal / across : 0.0f;
  s.CharRowsPerSurface = up != 0.0f ? s.SurfaceHeightReal / up : 0.0f;
  int width = s.CharColumnsPerSurface != 0.0f ? truncated(s.SurfaceWidthReal / s.CharColumnsPerSurface) : 0;
  int height = s.CharRowsPerSurface != 0.0f ? truncated(s.SurfaceHeightReal / s.CharRowsPerSurface) : 0;
  const int angle = truncated(s.CharAngle);
  int style = s.TextStyle;
  if (s.TextMode != 0) {
    float factor = modeWidthFactor(s.TextMode);
    if (s.TextFont == 4) factor *= 1.38f;
    width = truncated(static_cast<float>(width) * factor);
    height = truncated(static_cast<float>(height) * 0.821f);
    if (s.TextMode == 1) style &= ~4;
  }
  const bool named = s.TextFont == 0;
  const bool changed = style != c.FontCacheStyle || angle != c.FontCacheAngle || s.TextFont != c.FontCacheKind ||
                       width != c.FontCacheWidth || height != c.FontCacheHeight ||
                       (named && !(s.FontName == c.FontCacheName));
  if (changed) {
    c.FontCacheStyle = style;
    c.FontCacheAngle = angle;
    c.FontCacheKind = s.TextFont;
    c.FontCacheWidth = width;
    c.FontCacheHeight = height;
    if (named) {
      c.FontCacheName = s.FontName.view();
    } else {
      c.FontCacheName.blank();
    }
    int ascent = 0;
    YYGdiTextFont(width, height, ascent, angle, s.TextFont, style, s.FontName.trimmed());
    ++c.FontsMade;
    c.FontCellHeight = height;
    c.FontAscent = ascent;
    if (s.TextMode == 0) c.FontAlphabetWidth = width;
  }
  // The real font's average character decides how many columns fit.
  if (s.TextMode == 0 && c.FontAlphabetWidth > 0) {
    s.CharColumnsPerSurface = s.SurfaceWidthReal * kAlphabetLetters / static_cast<float>(c.FontAlphabetWidth);
  }
}

void drawText() {
  YYGrState& s = st();
  const YYScreenCache& c = yyScreenCache;
  const int count = std::clamp(s.X1, 0, kTextOperandLength);
  // The baseline lies this far below the reference line through the text's middle.
  const float d = static_cast<float>(c.FontAscent) - 0.5f * static_cast<float>(c.FontCellHeight);
  const float x = s.R5 + d * s.CharSinOverAspect;
  const float y = s.R1 - d * s.CharCos;
  if (s.TextPerCharacter == 0) {
    const bool plain = s.TextMode == 1;
    const int align = plain ? 0 : s.TextAlign;
    const int opaque = plain ? 0 : (s.TextStyle >> 3) & 1;
    YYGdiText(truncated(x), flipped(truncated(y)), truncated(s.R7 + d * s.CharSinOverAspect),
              flipped(truncated(s.R3 - d * s.CharCos)), align, opaque, TEXT.view(), count);
  } else {
    for (int i = 0; i < count; ++i) {
      const float fx = x + static_cast<float>(i) * s.CharStepX;
      const float fy = y - static_cast<float>(i) * s.CharStepY;
      YYGdiText(truncated(fx), flipped(truncated(fy)), truncated(fx + s.CharCellX), flipped(truncated(fy + s.CharCellY)),
                1, 0, TEXT.view().substr(static_cast<std::size_t>(i), 1), 1);
    }
  }
  s.X4 = 0;
}

void moveArea() {
  if (at().TargetKind == kTargetMetafile) return;
  const YYGrState& s = st();
  YYGdiMoveArea(s.X1, flipped(s.Y2), s.X3, flipped(s.Y3 + s.Y2 - s.Y1), s.X2 - s.X1 + 1, s.Y2 - s.Y1 + 1, s.M,
                yyColourTable[0]);
}

void textExtent() {
  YYGrState& s = st();
  int width = 0;
  YYGdiTextExtent(width, TEXT.view(), std::clamp(s.M, 0, kTextOperandLength));
  s.R5 = static_cast<float>(width);
  s.N = 1;
}

// The RGB value of device colour i of the display's palette, or false when
// the lookup of the device colour count has no such entry.
bool paletteLookup(int i, std::int32_t& rgb) {
  if (at().DeviceColourCount == 16) {
    if (i < 0 || i >= static_cast<int>(yyColourLookups.Lookup16.size())) return false;
    rgb = yyColourLookups.Lookup16[static_cast<std::size_t>(i)];
    return true;
  }
  if (i < 0 || i >= static_cast<int>(yyColourLookups.Lookup128.size())) return false;
  rgb = yyColourLookups.Lookup128[static_cast<std::size_t>(i)];
  return true;
}

void reselectColours() {
  const YYGrAttributes& a = at();
  YYGdiSetColour(a.PreviousDeviceColour, tableColour(a.PreviousColourNumber));
  YYGdiSetColour(a.DeviceColour, tableColour(a.ColourNumber));
}

// One palette entry; inside a batch (X4 non-zero) the palette is realised once,
// at the batch's last entry.
void paletteEntry() {
  if (!isPaletteDisplay()) return;
  YYGrState& s = st();
  YYScreenCache& c = yyScreenCache;
  std::int32_t old = 0;
  if (!paletteLookup(s.M, old)) return;
  if (old != s.X1) {
    int mode = 0;
    if (s.X4 == 0) {
      mode = c.PaletteBatch;
      c.PaletteBatch = 0;
    } else {
      mode = c.PaletteBatch / 3 + 1;
      c.PaletteBatch = 3;
    }
    YYGdiSetPaletteEntry(s.M, s.X1, mode);
  }
  const YYGrAttributes& a = at();
  if (a.ColourMode == kColourIndexed && (s.M == a.DeviceColour || s.M == a.PreviousDeviceColour)) reselectColours();
}

void colourRefresh() {
  YYGrAttributes& a = at();
  YYScreenCache& c = yyScreenCache;
  if (isPaletteDisplay()) {
    const int limit = a.DeviceColourCount == 16 ? 16 : static_cast<int>(yyColourLookups.Lookup128.size());
    const int count = std::min(a.DeviceColourCount, limit);
    for (int i = 0; i < count; ++i) {
      std::int32_t rgb = 0;
      paletteLookup(i, rgb);
      int mode = i == 0 ? c.RefreshMode : 2;
      if (i == count - 1) {
        mode = 3;
        c.RefreshMode = 3;
      }
      YYGdiSetPaletteEntry(i, rgb, mode);
    }
  }
  if (a.ColourMode == kColourIndexed) {
    a.PreviousRGB = tableColour(a.PreviousColourNumber);
    a.CurrentRGB = tableColour(a.ColourNumber);
  }
  YYGdiSetColour(a.PreviousDeviceColour, a.PreviousRGB);
  YYGdiSetColour(a.DeviceColour, a.CurrentRGB);
}

// Line width in pixels; a metafile slot derives it from tenths of a point and
// its device units per point.
void lineWidth() {
  const YYGrAttributes& a = at();
  int width = a.LineWidth;
  if (a.TargetKind == kTargetMetafile && a.TargetId >= 1 && a.TargetId <= kMetafileSlots) {
    const auto& words = yyMetafileSlots[static_cast<std::size_t>(a.TargetId)].words;
    // A slot without a size in points has no scale: the pixel width stands.
    if (words[kSlotWidthPoints] != 0)
      width = words[kSlotDeviceWidth] * a.LineWidthTenths / (words[kSlotWidthPoints] * 10);
  }
  YYGdiSetLineWidth(width);
}

void readPixel() {
  YYGrState& s = st();
  if (at().TargetKind == kTargetMetafile) {
    s.X1 = -1;
    return;
  }
  int red = -1;
  int green = 0;
  int blue = 0;
  YYGdiGetPixel(s.X1, flipped(s.Y1), red, green, blue);
  s.X1 = red;
  s.X2 = green;
  s.X3 = blue;
  if (s.X1 != -1) s.X1 = s.X3 * 65536 + s.X2 * 256 + s.X1;
}

int deviceCoordinate(float v) { return v >= 0.0f ? truncated(v) : truncated(v - 0.999f); }

void shadedPolygon() {
  YYPolygonWork& w = yyPolygonWork;
  const int n = std::clamp(w.vertexCount, 0, kPolygonVertices);
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    w.deviceX[k] = deviceCoordinate(yyGrPointBuffer.x[k]);
    w.deviceY[k] = flipped(deviceCoordinate(yyGrPointBuffer.y[k]));
  }
  const YYGrState& s = st();
  YYPolygonFill(s.ShadeMode[kScreenSide], s.ViewportLeft, flipped(s.ViewportTop), s.ViewportRight,
                flipped(s.ViewportBottom), YYGdiFillPixel, YYGdiShadedTriangles);
}

void forgetFont() {
  YYScreenCache& c = yyScreenCache;
  c.FontCacheWidth = c.FontCacheHeight = c.FontCacheAngle = c.FontCacheKind = c.FontCacheStyle = -1;
  c.FontCacheName.blank();
  c.PaletteBatch = 0;
}
// The image file named in TEXT, drawn into the viewport; M and N answer the
// error code and the system's code.
void image() {
  YYGrState& s = yyGrState;
  const std::string fileName = TEXT.str();
  YYDrawImageFile(s.X1, kImageTargetScreen, s.ViewportLeft, flipped(s.ViewportTop), s.ViewportRight,
                  flipped(s.ViewportBottom), s.Y1, s.M, s.N, fileName.c_str());
}

}  // namespace

void YYGAPI(YYGrPrimitive& primitive) {
  if (at().ScreenDriverOn == 0 || !isDrawingOpcode(primitive)) return;
  YYGrState& s = st();
  switch (primitive) {
    case kOpInitialise: describeScreen(); break;
    case kOpLine: YYGdiLine(s.X1, flipped(s.Y1), s.X2, flipped(s.Y2)); break;
    case kOpColour: setColour(); break;
    case kOpEllipseOutline: YYGdiEllipse(s.X1, flipped(s.Y1), s.X2, s.Y2, kEllipseOutline, 0); break;
    case kOpEllipsePattern:
    case kOpEllipseSolid: YYGdiEllipse(s.X1, flipped(s.Y1), s.X2, s.Y2, primitive, kindOf(primitive)); break;
    case kOpQuadPattern:
    case kOpQuadSolid:
      cornerPoints(4);
      YYGdiPolygon(4, kindOf(primitive));
      break;
    case kOpRectanglePattern:
    case kOpRectangleSolid: YYGdiRectangle(s.X1, flipped(s.Y2), s.X2, flipped(s.Y1), kindOf(primitive)); break;
    case kOpTrianglePattern:
    case kOpTriangleSolid:
      cornerPoints(3);
      YYGdiPolygon(3, kindOf(primitive));
      break;
    case kOpPiePattern:
    case kOpPieSolid: pie(primitive); break;
    case kOpPolygonPattern:
    case kOpPolygonSolid: YYGdiPolygon(bufferPoints(), kindOf(primitive)); break;
    case kOpClear: YYGdiClear(at().ClearWidth, at().ClearHeight, yyColourTable[0]); break;
    case kOpBeginPlot: forgetFont(); break;
    case kOpEndPage: printPicture(); break;
    case kOpCharSize:
    case kOpCharAngle: characterFont(); break;
    case kOpText: drawText(); break;
    case kOpMoveArea: moveArea(); break;
    case kOpClip: clip(); break;
    case kOpTextExtent: textExtent(); break;
    case kOpPoint: YYGdiPixel(s.X1, flipped(s.Y1)); break;
    case kOpDrawMode: YYGdiSetRop(at().DrawMode); break;
    case kOpPaletteEntry: paletteEntry(); break;
    case kOpLineStyle: YYGdiSetLineStyle(at().LineStyle); break;
    case kOpLineWidth: lineWidth(); break;
    case kOpReadPixel: readPixel(); break;
    case kOpPolyline: YYGdiPolyline(bufferPoints()); break;
    case kOpArc: arc(); break;
    case kOpColourRefresh: colourRefresh(); break;
    case kOpShadedPolygon: shadedPolygon(); break;
    case kOpImage: image(); break;
    default: break;  // 19, 36, 37 and 39 mean nothing on the screen
  }
}
