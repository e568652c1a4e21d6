// The graphics area and its scaling onto the drawing target: what window
// sizing and mouse events need of the graphics engine.
#include <windows.h>

#include "toolkit/core/events.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/graphics/graphics_state.h"

namespace {
// Maps the current area onto a surface of w x h pixels.
void applyArea(int width, int height) {
  YYDrawTarget& t = yyDrawTarget;
  const float w = static_cast<float>(width) - 0.01f;
  const float h = static_cast<float>(height) - 0.01f;
  t.xOffset = w * t.areaX1;
  t.yOffset = h * t.areaY1;
  const float xRange = t.userXMax - t.userXMin;
  const float yRange = t.userYMax - t.userYMin;
  t.xScale = xRange != 0.0f ? (w * t.areaX2 - t.xOffset) / xRange : 1.0f;
  t.yScale = yRange != 0.0f ? (h * t.areaY2 - t.yOffset) / yRange : 1.0f;
}
}  // namespace

void YYGraphicsAreaSet(int cellWidth, int cellHeight) {
  textAttributes.cellWidthUnits = cellWidth;
  textAttributes.cellHeightUnits = cellHeight;
  YYTextSizeToPixels();
}

void YYGraphicsAreaResize(int kind, int id, int width, int height) {
  YYDrawTarget& t = yyDrawTarget;
  if (t.kind != kind || t.id != id) return;
  t.deviceWidth = width - 1;
  t.deviceHeight = height - 1;
  t.surfaceWidth = static_cast<float>(width) - 0.01f;
  t.surfaceHeight = static_cast<float>(height) - 0.01f;
  yyGrState.aspectRatio = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  applyArea(width, height);
}

void YYWindowResized(int slot, int width, int height) {
  if (slot != windowTable.currentIndex) return;
  windowTable.clientWidth = width;
  windowTable.clientHeight = height;
  YYTextSizeToPixels();
  YYGraphicsAreaResize(kTargetWindow, slot, width, height);
}

void YYPixelsToUserPlain(float px, float py, float& ux, float& uy) {
  const YYDrawTarget& t = yyDrawTarget;
  ux = (px - t.xOffset) / (t.xScale != 0.0f ? t.xScale : 1.0f) + t.userXMin;
  uy = (py - t.yOffset) / (t.yScale != 0.0f ? t.yScale : 1.0f) + t.userYMin;
}

// No bitmap view exists yet, so there are no scroll offsets to add.
void YYPixelsToUser(float px, float py, float& ux, float& uy, const EventRecord&) {
  YYPixelsToUserPlain(px, py, ux, uy);
}
