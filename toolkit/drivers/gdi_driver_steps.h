#pragma once
// The opcode steps that the Windows printer driver and the Windows metafile
// driver take alike: surface units to device pixels, shapes, arcs, fonts and
// clip rectangles.  Each driver hands in its own drawing routines.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

// Colour components of one colour.
struct YYRgbComponents {
  int red = 0;
  int green = 0;
  int blue = 0;
};
constexpr YYRgbComponents kWhiteComponents{255, 255, 255};

// A point in surface units as a device pixel (y downward), by the device scales.
POINT hardcopyDevicePoint(float x, float y);
// Operand point k (1-4), (R(4+k), Rk), as a device pixel.
POINT hardcopyOperandPoint(int k);

// The drawing routines of one GDI set, as the shared shape steps call them.
struct YYGdiDriverSet {
  void (*setPoint)(int x, int y, int i);
  void (*polygon)(int n, int outline);
  void (*rectangle)(int x1, int y1, int x2, int y2);
  void (*ellipse)(int cx, int cy, int rx, int ry, int fillStyle);
  void (*pie)(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
  void (*arc)(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure);
  void (*polyline)(int n);
  void (*line)(int x1, int y1, int x2, int y2);
  void (*point)(int x, int y);
  void (*textExtent)(int& width, std::string_view text);
};

// Option 1 / option 2, the page's aspect; 0 without a page height.
float hardcopyPageAspect();
// Opcodes 5, 7, 9, 11, 13 and 15 once the driver has dealt with colours: with
// fill style 2 or less only the ellipse is drawn (as an outline).  pieAspect is
// the ratio that the pie's y radius is corrected by (option 1 / option 2, 0 when unknown).
void hardcopyShape(const YYGdiDriverSet& set, YYGrPrimitive opcode, float pageAspect);
// Opcodes 2 (line), 26 (point), 32 (polyline) and 34 (arc outline), which
// begin the page; false for any other opcode.
bool hardcopyLineStep(const YYGdiDriverSet& set, YYGrPrimitive opcode);
// Opcode 25: the width of the first M characters of the text in surface units
// into R5, and N = 1.
void hardcopyTextExtentStep(const YYGdiDriverSet& set, int& width);

// The start and end points of a pie or arc of y radius yRadius, in device pixels;
// a sector narrow enough to fall on one pixel has its end moved by one.
struct YYArcEnds {
  POINT start;
  POINT end;
};
YYArcEnds hardcopyArcEnds(float yRadius);

// The text font of opcodes 21 and 33 in device pixels.
struct YYFontRequest {
  int width = 0;
  int height = 0;
  int angle = 0;
  int style = 0;
};
YYFontRequest hardcopyFontRequest();

// The viewport as a device rectangle: edges truncated (image and shading) or,
// for clipping, the right and bottom edge rounded outward.
RECT hardcopyViewportRectangle(bool roundOutward);

// The characters of the text operand that opcodes 22 and 25 draw or measure.
std::string_view hardcopyTextOperand(std::int32_t count);
// Text alignment and opaque background of opcode 22.
int hardcopyTextAlignment();
int hardcopyTextOpaque();

// The current colour's components (colour number or RGB by the colour mode).
YYRgbComponents hardcopyCurrentComponents();

// The colours that a driver keeps, and how its GDI set takes a colour.
struct YYDriverColours {
  YYRgbComponents current;
  YYRgbComponents previous;
  YYRgbComponents fill;
};
using YYColourSetter = void (*)(int red, int green, int blue);
using YYColourInverter = void (*)(int& red, int& green, int& blue);
// The colour steps of a filled shape.  M = -1 ends a fill: the previous and
// current colours are set again when the fill was coloured, and false says that
// nothing is to be drawn.  Otherwise a coloured fill takes the current colour
// (fill style 3: the mean of the current and the previous), and the page is begun.
bool hardcopyFillColours(YYDriverColours& colours, bool colouredFill, YYColourInverter invert, YYColourSetter set);

// Opcode 38: the image file named in TEXT drawn into the viewport on the
// printer (10) or metafile (11); M and N answer the status pair.
void hardcopyImage(int target);

// Opcode 40: the work area's outline into device pixels, then the shaded fill
// on dc.  With shading 2 the device shades the triangles itself; when it
// cannot (or with any other shading) the pixel routine, which must pass its
// pixels to hardcopyShadeCell, shades the polygon in cells that are drawn as
// bitmap rows.  It begins the page.
using YYPixelCallback = void (*)(const std::int32_t& x, const std::int32_t& y, const std::int32_t& colour);
void hardcopyShadedPolygon(int shading, HDC dc, YYPixelCallback pixel,
                           void (*triangles)(std::span<const std::int32_t>, std::span<const std::int32_t>,
                                             std::span<const std::int32_t>, std::span<const YYTriangle>,
                                             std::int32_t&));

// One cell of the shaded fill that the device could not shade itself.
void hardcopyShadeCell(const std::int32_t& x, const std::int32_t& y, const std::int32_t& colour);

// The device description that both Windows drivers give at opcode 1.
void hardcopyWindowsDeviceWords(int driverNumber);
