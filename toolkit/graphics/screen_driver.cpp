// The screen driver: one primitive at a time on the current screen target,
// through the screen GDI set.  Surface y grows upward; the GDI set takes y
// downward, so every y is flipped against DeviceMaxY.
#include "toolkit/graphics/screen_driver.h"

#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/colours.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {
constexpr float kNoLimit = 1.7E38f;

void describeScreen() {
  YYGrState& s = yyGrState;
  s.FullCircle[kScreenSide] = 360;
  s.PlatformLevel[kScreenSide] = toolkitSettings.ntFlag != 0 ? 2 : 1;
  s.TrueColour[kScreenSide] = toolkitSettings.colourCount > 256 ? 1 : 0;
  s.ShadeMode[kScreenSide] = windowTable.gradientFill != nullptr ? 2 : 1;
  s.DeviceWord6[kScreenSide] = kNoLimit;
  s.DeviceWord5[kScreenSide] = 8;
  s.ScreenCaps = kScreenCaps;
  if (yyGrAttributes.TargetKind == kTargetMetafile) s.ScreenCaps.column(kDeviceCapsLength) = '0';
}

void setColour() {
  const YYGrAttributes& a = yyGrAttributes;
  const std::int32_t rgb =
      a.ColourMode == kColourRgb ? a.CurrentRGB : yyColourTable[static_cast<std::size_t>(a.ColourNumber & 255)];
  YYGdiSetColour(a.DeviceColour, rgb);
}

void clip() {
  const YYGrState& s = yyGrState;
  const YYGrAttributes& a = yyGrAttributes;
  const int h = a.DeviceMaxY;
  const bool smaller = s.ViewportTop < h || s.ViewportLeft > 0 || s.ViewportBottom > 0 || s.ViewportRight < a.DeviceMaxX;
  if (smaller || a.TargetKind == kTargetField) {
    YYGdiClipRect(s.ViewportLeft, h - s.ViewportTop, s.ViewportRight, h - s.ViewportBottom);
  } else {
    YYGdiClipRect(0, 0, 0, -1);
  }
}
}  // namespace

void YYGAPI(YYGrPrimitive& primitive) {
  if (yyGrAttributes.ScreenDriverOn == 0 || !isDrawingOpcode(primitive)) return;
  switch (primitive) {
    case kOpInitialise:
      describeScreen();
      break;
    case kOpColour:
      setColour();
      break;
    case kOpClear:
      YYGdiClear(yyGrAttributes.ClearWidth, yyGrAttributes.ClearHeight, yyColourTable[0]);
      break;
    case kOpClip:
      clip();
      break;
    case kOpDrawMode:
      YYGdiSetRop(yyGrAttributes.DrawMode);
      break;
    default:
      break;
  }
}
