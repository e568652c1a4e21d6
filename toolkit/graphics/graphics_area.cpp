// The graphics area and its scaling onto the drawing target: what window
// sizing and mouse events need of the graphics engine.
#include "toolkit/graphics/graphics_area.h"

#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

void YYVIEWPORTSET(float x1, float y1, float x2, float y2) {
  YYGrState& s = yyGrState;
  if (x1 < 0.0f) x1 = 0.0f;
  if (y1 < 0.0f) y1 = 0.0f;
  if (x2 > s.SurfaceWidthReal) x2 = s.SurfaceWidthReal;
  if (y2 > s.SurfaceHeightReal) y2 = s.SurfaceHeightReal;
  s.ViewportLeftReal = x1;
  s.ViewportBottomReal = y1;
  s.ViewportRightReal = x2;
  s.ViewportTopReal = y2;
  s.ViewportWidth = x2 - x1;
  s.ViewportHeight = y2 - y1;
}

void YYAreaScaleForSurface(int width, int height) {
  YYGrState& s = yyGrState;
  s.SurfaceWidthReal = static_cast<float>(width) - 0.01f;
  s.SurfaceHeightReal = static_cast<float>(height) - 0.01f;
  yyGrAttributes.DeviceMaxY = height - 1;
  YYVIEWPORTSET(s.SurfaceWidthReal * s.AreaX1, s.SurfaceHeightReal * s.AreaY1, s.SurfaceWidthReal * s.AreaX2,
                s.SurfaceHeightReal * s.AreaY2);
  s.UserScaleX = s.UserRangeX > 0.0f ? s.ViewportWidth / s.UserRangeX : s.ViewportWidth;
  s.UserScaleY = s.UserRangeY > 0.0f ? s.ViewportHeight / s.UserRangeY : s.ViewportHeight;
}

void YYTextCellSet(int cellWidth, int cellHeight) {
  textAttributes.cellWidthUnits = cellWidth;
  textAttributes.cellHeightUnits = cellHeight;
  YYTextSizeToPixels();
}

void YYGraphicsAreaResize(int kind, int id, int width, int height) {
  YYGrAttributes& a = yyGrAttributes;
  if (a.TargetKind != kind || a.TargetId != id) return;
  YYGrState& s = yyGrState;
  s.SurfaceWidth = width;
  s.SurfaceHeight = height;
  a.DeviceMaxX = width - 1;
  s.SurfaceAspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  YYAreaScaleForSurface(width, height);
}

void YYWindowResized(int window, int width, int height) {
  if (window != windowTable.currentIndex) return;
  windowTable.clientWidth = width;
  windowTable.clientHeight = height;
  YYTextSizeToPixels();
  YYGraphicsAreaResize(kTargetWindow, window, width, height);
}

void YYPixelsToUserPlain(float px, float py, float& ux, float& uy) {
  const YYGrState& s = yyGrState;
  ux = (px - s.ViewportLeftReal) / (s.UserScaleX != 0.0f ? s.UserScaleX : 1.0f) + s.UnitsX1;
  uy = (py - s.ViewportBottomReal) / (s.UserScaleY != 0.0f ? s.UserScaleY : 1.0f) + s.UnitsY1;
}

void YYPixelsToUser(float px, float py, float& ux, float& uy, int) { YYPixelsToUserPlain(px, py, ux, uy); }
