#pragma once
// The DXF driver (hardcopy driver 8): the drawing as an ASCII drawing-exchange
// file in inches of the page, every group two lines (code, value).  Lines,
// points, polylines, circles, arcs, filled quadrilaterals and texts become
// entities on layer 1 with a colour of the DXF colour index; other fills are
// handed back to the caller to be drawn with lines (FillFallback 2).

#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/graphics/graphics_state.h"

void YYGDXF(YYGrPrimitive& primitive);

// The group writers; every line ends CR LF and starts without blanks.
void YYDxfLine(std::string_view text);
void YYDxfGroupText(int code, std::string_view value);
void YYDxfGroupInt(int code, int value);
// "(F15.6)" without leading blanks and without trailing zeros: 0.25, 1., 10.5.
void YYDxfGroupReal(int code, float value);
// The point scaled to inches under the two codes.
void YYDxfGroupPoint(int xCode, int yCode, float x, float y);
// Entity start: its name, layer 1 and the current DXF colour.
void YYDxfEntity(std::string_view name);

// The DXF colour number (1-255) nearest to an RGB value: an equal palette
// entry, else the nearest on the hue-saturation-value cone, the lower number
// on ties.
int dxfNearestColour(std::int32_t rgb);
// Palette entry 1-255 as an RGB value (red in the low byte).
std::int32_t dxfPaletteEntry(int number);

// The driver's memory between records.  The current DXF colour number lives in
// the first word of the driver work area of the graphics state.
struct YYDxfState {
  std::int32_t cachedRgb = -1;  // -1: nothing cached
  std::int32_t cachedNumber = 7;
};
extern YYDxfState yyDxfState;
std::int32_t& dxfCurrentColour();
