// The graphics area, the user units and the viewport, and the conversion of
// pixel positions back to user units.
#include "toolkit/graphics/graphics_area.h"

#include "toolkit/core/error_reporter.h"
#include "toolkit/graphics/bitmap_view.h"
#include "toolkit/graphics/characters.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

namespace {
constexpr int kBadAreaRange = 44;
constexpr int kBadUnitsRange = 16;

// An area axis is valid when 0 <= low < 1, 0 < high <= 1 and low < high.
bool validFractions(float low, float high) {
  return low >= 0.0f && low < 1.0f && high > 0.0f && high <= 1.0f && low < high;
}

// Viewport fields for a viewport already clamped to the surface.
void viewportStore(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  s.ClipLeft = x1 - 0.001f;
  s.ClipBottom = y1 - 0.001f;
  s.ClipRight = x2 + 0.001f;
  s.ClipTop = y2 + 0.001f;
  s.ViewportLeft = static_cast<std::int32_t>(x1);
  s.ViewportBottom = static_cast<std::int32_t>(y1);
  s.ViewportRight = static_cast<std::int32_t>(x2);
  s.ViewportTop = static_cast<std::int32_t>(y2);
  s.ViewportColumns = s.ViewportRight - s.ViewportLeft + 1;
  s.ViewportRows = s.ViewportTop - s.ViewportBottom + 1;
  s.ViewportLeftReal = x1;
  s.ViewportRightReal = x2;
  s.ViewportBottomReal = y1;
  s.ViewportTopReal = y2;
  s.ViewportWidth = x2 - x1;
  s.ViewportHeight = y2 - y1;
}

void viewportCompute(float x1, float y1, float x2, float y2) {
  const YYGrState& s = yyGrState;
  if (x1 < 0.0f) x1 = 0.0f;
  if (y1 < 0.0f) y1 = 0.0f;
  if (x2 > s.SurfaceWidthReal) x2 = s.SurfaceWidthReal;
  if (y2 > s.SurfaceHeightReal) y2 = s.SurfaceHeightReal;
  viewportStore(x1, y1, x2, y2);
}

void viewportFromArea() {
  const YYGrState& s = yyGrState;
  YYVIEWPORTSET(s.SurfaceWidthReal * s.AreaX1, s.SurfaceHeightReal * s.AreaY1, s.SurfaceWidthReal * s.AreaX2,
                s.SurfaceHeightReal * s.AreaY2);
}

void userScalesFromViewport() {
  YYGrState& s = yyGrState;
  s.UserScaleX = s.UserRangeX > 0.0f ? s.ViewportWidth / s.UserRangeX : s.ViewportWidth;
  s.UserScaleY = s.UserRangeY > 0.0f ? s.ViewportHeight / s.UserRangeY : s.ViewportHeight;
}

// Dividing by a zero scale would give an infinite user position: a viewport
// without extent maps every pixel onto the area's first user value.
float pixelToUser(float pixel, float origin, float scale, float first) {
  return scale != 0.0f ? (pixel - origin) / scale + first : first;
}
}  // namespace

void IGrArea(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  s.AreaX1 = x1;
  s.AreaX2 = x2;
  if (!validFractions(x1, x2)) {
    s.AreaX1 = 0.0f;
    s.AreaX2 = 1.0f;
    YYErrorReport(kBadAreaRange, "IGrArea");
  }
  s.AreaY1 = y1;
  s.AreaY2 = y2;
  if (!validFractions(y1, y2)) {
    s.AreaY1 = 0.0f;
    s.AreaY2 = 1.0f;
    YYErrorReport(kBadAreaRange, "IGrArea");
  }
  viewportFromArea();
  userScalesFromViewport();
  if (yyGrAttributes.WindowSelectOption != 0) return;
  YYGrPrimitive op = kOpClip;
  YYDriverCommand(op);
  s.AreaHeightDevice = s.ViewportHeight;
  s.AreaWidthDevice = s.ViewportWidth;
  s.AreaWidthFraction = s.AreaX2 - s.AreaX1;
  s.AreaHeightFraction = s.AreaY2 - s.AreaY1;
  YYCHARANGLE(s.CharAngle);
  YYCHARSIZEAPPLY();
}

namespace {
// One axis of the user units: an empty or reversed range falls back to 0-1.
void setUnitsAxis(float low, float high, float& unitsLow, float& unitsHigh) {
  if (high <= low) {
    unitsLow = 0.0f;
    unitsHigh = 1.0f;
    YYErrorReport(kBadUnitsRange, "IGrUnits");
  } else {
    unitsLow = low;
    unitsHigh = high;
  }
}
}  // namespace

void IGrUnits(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  setUnitsAxis(x1, x2, s.UnitsX1, s.UnitsX2);
  setUnitsAxis(y1, y2, s.UnitsY1, s.UnitsY2);
  s.UserRangeX = s.UnitsX2 - s.UnitsX1;
  s.UserRangeY = s.UnitsY2 - s.UnitsY1;
  s.UserScaleX = s.ViewportWidth / s.UserRangeX;
  s.UserScaleY = s.ViewportHeight / s.UserRangeY;
}

void YYVIEWPORTSET(float x1, float y1, float x2, float y2) {
  viewportCompute(x1, y1, x2, y2);
  YYGrPrimitive op = kOpClip;
  YYPRIMROUTE(op);
}

void YYAreaScaleForSurface(int width, int height) {
  YYGrState& s = yyGrState;
  s.SurfaceWidth = width;
  s.SurfaceHeight = height;
  s.SurfaceWidthReal = static_cast<float>(width) - 0.01f;
  s.SurfaceHeightReal = static_cast<float>(height) - 0.01f;
  yyGrAttributes.DeviceMaxX = width - 1;
  yyGrAttributes.DeviceMaxY = height - 1;
  viewportCompute(s.SurfaceWidthReal * s.AreaX1, s.SurfaceHeightReal * s.AreaY1, s.SurfaceWidthReal * s.AreaX2,
                  s.SurfaceHeightReal * s.AreaY2);
  userScalesFromViewport();
}

void YYPixelsToUserPlain(float px, float py, float& ux, float& uy) {
  const YYGrState& s = yyGrState;
  ux = pixelToUser(px, s.ViewportLeftReal, s.UserScaleX, s.UnitsX1);
  uy = pixelToUser(py, s.ViewportBottomReal, s.UserScaleY, s.UnitsY1);
}

void YYPixelsToUser(float px, float py, float& ux, float& uy, int window) {
  const YYGrState& s = yyGrState;
  int width = 0, height = 0, scrollX = 0, verticalExtent = 0;
  YYBMPVIEWINFO(window, 101, width);
  YYBMPVIEWINFO(window, 102, height);
  YYBMPVIEWINFO(window, 4, scrollX);
  YYBMPVIEWINFO(window, 103, verticalExtent);
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float scaleX = w * s.AreaWidthFraction / (s.UnitsX2 - s.UnitsX1);
  const float scaleY = h * s.AreaHeightFraction / (s.UnitsY2 - s.UnitsY1);
  ux = pixelToUser(static_cast<float>(scrollX) + px, w * s.AreaX1, scaleX, s.UnitsX1);
  uy = pixelToUser(h - static_cast<float>(verticalExtent) + py, h * s.AreaY1, scaleY, s.UnitsY1);
}
