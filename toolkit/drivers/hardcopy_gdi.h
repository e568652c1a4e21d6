#pragma once
// What the printer's and the metafile's GDI drawing sets have in common: the
// cached pen, the font, the clip region and the dash arrays they keep, and the
// drawing steps both take on their own device context.  Points are device
// pixels with y downward.

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/screen_gdi.h"


// The pen, font and clip state of one hardcopy GDI set.
struct YYHardcopyGdiState {
  COLORREF CurrentColorRef = 0;
  COLORREF PreviousColorRef = 0;
  int PenStyle = PS_SOLID;
  int LineStyleNumber = 0;
  int PenWidth = 1;
  HPEN Pen = nullptr;
  HGDIOBJ OldPen = nullptr;
  // What the current pen was made with; -1 when there is no pen yet.
  std::int64_t PenColour = -1;
  int PenLineStyle = -1;
  int PenPixelWidth = -1;
  HFONT Font = nullptr;
  HGDIOBJ OldFont = nullptr;
  HRGN ClipRegion = nullptr;
  std::array<YYDashArray, kLineStyles> DashArrays{};  // index = line style; 0 unused
};

// The device points of polygons and polylines.
constexpr int kDevicePoints = 5000;
extern std::array<POINT, kDevicePoints> yyHardcopyPoints;

// Number of dash entries of a line style (0 for solid or an unknown style).
int hardcopyDashCount(int style);
// Style 0-6 sets the GDI pen style; the style number is kept whatever it is.
void hardcopySetLineStyle(YYHardcopyGdiState& g, int style);
// Every dash entry = base x template / divisor (the templates are in pixels of
// the screen); each gap grows by PenWidth - 1 for thick square-ended pens.
void hardcopyDashPattern(YYHardcopyGdiState& g, unsigned base, unsigned divisor);
// Pixels per inch of the screen, the unit of the dash templates.
unsigned hardcopyScreenResolution();
// Geometric pens with dash arrays exist on the NT platform only.
bool hardcopyStyledPens();
// How a pen of a dashed style is made on a device.
enum class DashPen { Cosmetic, UserStyle, BuiltInStyle };
// Keeps the current pen while colour, style and width are those it was made
// with; otherwise replaces it on dc.
void hardcopyCachedPen(HDC dc, YYHardcopyGdiState& g, DashPen dashPen);
// Gives the font and the clip region up and deletes them.
void hardcopyReleaseFontAndClip(HDC dc, YYHardcopyGdiState& g);
void hardcopyReleaseFont(HDC dc, YYHardcopyGdiState& g);
void hardcopyReleasePen(HDC dc, YYHardcopyGdiState& g);

// A line in the current pen; a solid line also sets its end pixel, which GDI
// leaves out.
void hardcopyLine(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2);
// A polyline through the first n device points; a solid one also sets its last
// pixel unless it closes on the first point.
void hardcopyPolyline(HDC dc, const YYHardcopyGdiState& g, int n);
// The first n device points filled in the current colour, edged by a one-pixel
// pen of that colour when outlined.
void hardcopySolidPolygon(HDC dc, const YYHardcopyGdiState& g, int n, bool outlined);
// Both corner pixels included.
void hardcopySolidRectangle(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2);
// An ellipse outline in the current pen, or filled in the current colour.
void hardcopyEllipse(HDC dc, const YYHardcopyGdiState& g, int cx, int cy, int rx, int ry, bool filled);
void hardcopyPie(HDC dc, const YYHardcopyGdiState& g, int cx, int cy, int rx, int ry, int xs, int ys, int xe,
                 int ye);
// An arc in the current pen: a plain arc for a closure above 2, else closed by
// both radii.
void hardcopyArc(HDC dc, const YYHardcopyGdiState& g, int cx, int cy, int rx, int ry, int xs, int ys, int xe,
                 int ye, int closure);
// A filled square of the pen width around (x, y).
void hardcopyDot(HDC dc, const YYHardcopyGdiState& g, int x, int y);
// Text in the current colour on the previous one: align 0 left at point 1,
// 1 centred between the points, 2 right at point 2; other values draw nothing.
void hardcopyText(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2, int align, int opaque,
                  std::string_view text);
int hardcopyTextExtent(HDC dc, std::string_view text);
// The text font's description for a font kind (0 the given face, 1 Courier New,
// 2 Arial, 3 Times New Roman, 4 Symbol) and style bits (bold, italic, underline).
LOGFONTA hardcopyFontDescription(int width, int height, int kind, int style, std::string_view face);
// Triangles shaded between their vertex colours by GradientFill; status 1 when
// it is missing or fails.
void hardcopyShadedTriangles(HDC dc, std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                             std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                             std::int32_t& status);
// Colour inversion of a hardcopy: 1 inverts every colour, 2 only exchanges near
// black and near white, anything else keeps the colour.
void hardcopyInvertColour(int inversion, int& red, int& green, int& blue);
