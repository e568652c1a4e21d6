#pragma once
// The screen's GDI drawing context and the GDI routines the screen driver draws
// with.  Points are device pixels with y downward.  Every pen, brush or region a
// routine makes for one call is gone when it returns; only the current pen, the
// current font and the clip region stay in the context.

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/graphics/polygon_fill.h"

constexpr int kGdiPoints = 5000;
constexpr int kLineStyles = 7;  // 0 solid ... 6 short dashes
constexpr int kDashEntries = 6;
using YYDashArray = std::array<DWORD, kDashEntries>;

struct YYGdiContext {
  HDC DrawDc = nullptr;          // the current drawing device context
  HBITMAP DrawBitmap = nullptr;  // selected into DrawDc when it is a memory context
  HWND DrawWindow = nullptr;     // window whose own context DrawDc is
  HPALETTE Palette = nullptr;    // none on displays without a palette
  std::vector<BYTE> PaletteRecord;  // the LOGPALETTE behind Palette
  int MetafileTarget = 0;        // non-zero while the context records a metafile
  int StyledPens = 0;            // geometric pens with user dash arrays are available
  int ReferenceResolution = 0;   // pixels per inch of the screen
  int MetafileResolution = 0;    // pixels per inch of a metafile's reference device
  HBITMAP PatternBitmap = nullptr;  // 8 x 8, source of the checker brush
  int PatternDirty = 1;          // colours changed since the checker was painted
  COLORREF CurrentColorRef = 0;
  COLORREF PreviousColorRef = 0;
  int PenStyle = PS_SOLID;       // GDI pen style of the current line style
  int LineStyleNumber = 0;
  int PenWidth = 1;
  int RopCode = R2_COPYPEN;      // GDI ROP2 code of the drawing mode
  GdiObject Pen;
  HGDIOBJ OldPen = nullptr;      // what the current pen replaced in DrawDc
  GdiObject Font;
  HGDIOBJ OldFont = nullptr;     // what the current font replaced in DrawDc
  GdiObject ClipRegion;          // the viewport, or none
  std::array<POINT, kGdiPoints> Points{};
  // Mark and gap lengths of line styles 1-6 (entry 0 unused), and how many
  // entries each uses.
  std::array<YYDashArray, kLineStyles> DashArrays{};
  std::array<TRIVERTEX, kPolygonVertices> TriVertices{};
  std::array<GRADIENT_TRIANGLE, kPolygonTriangles> TriMesh{};
};
extern YYGdiContext yyGdiContext;

// Dash templates in pixels at the screen's resolution, and their lengths.
inline constexpr std::array<YYDashArray, kLineStyles> kDashTemplates = {{
    {},
    {1, 4},
    {8, 6},
    {1, 4, 8, 4},
    {1, 4, 1, 4, 8, 4},
    {8, 4, 4, 4},
    {4, 4},
}};
inline constexpr std::array<int, kLineStyles> kDashLengths = {0, 2, 2, 4, 6, 4, 2};
// The built-in GDI pen style nearest to each line style.
inline constexpr std::array<int, kLineStyles> kLinePenStyles = {PS_SOLID,      PS_DOT,     PS_DASH, PS_DASHDOT,
                                                                PS_DASHDOTDOT, PS_DASHDOT, PS_DASH};

// Fill kind of the shape routines: the checker pattern; any other value fills solid.
constexpr int kFillPatterned = 3;
constexpr int kFillSolid = 4;
// Ellipse mode of the outline.
constexpr int kEllipseOutline = 4;

// The current colour: a palette index on palette displays, the RGB value on
// metafile targets, else the nearest colour the device has.  The old current
// colour becomes the previous one.
void YYGdiSetColour(int deviceColour, std::int32_t rgb);
void YYGdiSetLineStyle(int style);
void YYGdiSetLineWidth(int width);
// Drawing mode 0 copy, 1 OR, 2 AND, 3 XOR; other values change nothing.
void YYGdiSetRop(int mode);
// Rescales the dash arrays to the current target and pen width.
void YYGdiDashPattern();
// Replaces the current pen by one of the current style, width and colour.
void YYGdiPen();
// The checker brush of the current and previous colours; the caller deletes it.
HBRUSH YYGdiPatternBrush();

void YYGdiLine(int x1, int y1, int x2, int y2);
// Polyline through the first n points.
void YYGdiPolyline(int n);
void YYGdiSetPoint(int x, int y, int i);
void YYGdiPolygon(int n, int kind);
// Both corners are part of the rectangle.
void YYGdiRectangle(int x1, int y1, int x2, int y2, int kind);
void YYGdiEllipse(int cx, int cy, int rx, int ry, int mode, int kind);
// Pie from the start point to the end point, counter-clockwise.
void YYGdiPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int kind);
// Arc outline; closure below 3 or style above 0 closes it with the radii.
void YYGdiArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure, int style);
// Fills (0, 0)-(width, height) inclusive with rgb.
void YYGdiClear(int width, int height, std::int32_t rgb);
void YYGdiPixel(int x, int y);
void YYGdiFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb);
// red is -1 when the pixel cannot be read.
void YYGdiGetPixel(int x, int y, int& red, int& green, int& blue);
// Clips to the rectangle (right and bottom exclusive), or clips nothing when bottom is -1.
void YYGdiClipRect(int left, int top, int right, int bottom);
// Makes the text font: width and height in, the alphabet's extent and the cell
// height out, with the ascent.  Font kind 0 uses the face text.
void YYGdiTextFont(int& width, int& height, int& ascent, int angle, int kind, int style, std::string_view face);
// Text at (x1, y1) for align 0, centred between the points for 1, at (x2, y2) for 2.
void YYGdiText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text, int length);
void YYGdiTextExtent(int& width, std::string_view text, int length);
// Moves a block of the drawing with the drawing mode; clear paints what it uncovered in rgb.
void YYGdiMoveArea(int sx, int sy, int dx, int dy, int width, int height, int clear, std::int32_t rgb);
// Triangles shaded between their vertex colours in one GradientFill; status 1 when it did not draw.
void YYGdiShadedTriangles(std::span<const std::int32_t> x, std::span<const std::int32_t> y,
                          std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                          std::int32_t& status);
// Gives the drawing context back what the current pen and font replaced and
// frees them and the clip region: before the context itself goes.
void YYGdiRelease();
void YYGdiSetPaletteEntry(const int& index, const std::int32_t& rgb, const int& mode);
// Sets one logical-palette entry; mode 0 or 1 unrealizes first, 0 or 3 realizes after.
void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode);
