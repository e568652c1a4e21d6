#pragma once
// The GDI drawing set of the Windows printer: a print document on the chosen
// printer, started lazily page by page.  Points are device pixels in the page's
// logical coordinates, y downward.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/drivers/hardcopy_gdi.h"

struct YYPrnContext : YYHardcopyGdiState {
  HDC PrinterDc = nullptr;
  int DocumentOpen = 0;   // 1 between a successful start and the end of the document
  int PagePending = 0;    // 1: the next drawing starts a page first
  int WindowOrgX = 0;     // logical origin: printable-area offset minus page offset
  int WindowOrgY = 0;
  int PageWidth = 0;      // device pixels
  int PageHeight = 0;
  int PrinterResolution = 0;  // LOGPIXELSX, the base of the dash arrays
};
extern YYPrnContext yyPrnContext;

// Starts a document (unless one is open) on the chosen printer and its first
// page; the page is pageWidth x pageHeight points placed offsetX, offsetY points
// from the paper's corner.  error 1 when the printer gives no device context.
void YYPrnStartDoc(int pageWidth, int pageHeight, int offsetX, int offsetY, int& resolutionX, int& resolutionY,
                   int& colourCount, int& error, int orientation, int copies, std::string_view documentName);
void YYPrnStartPage();
void YYPrnEndPage();
void YYPrnEndDoc();
// The low byte of each argument makes the current colour; the old one becomes
// the previous colour.
void YYPrnSetColour(int red, int green, int blue);
// Colour inversion by hardcopy option 6.
void YYPrnGreyColour(int& red, int& green, int& blue);
void YYPrnSetLineStyle(int style);
void YYPrnSetLineWidth(int width);
void YYPrnDashPattern();
void YYPrnPen();
void YYPrnLine(int x1, int y1, int x2, int y2);
void YYPrnPolyline(int n);
void YYPrnSetPoint(int x, int y, int i);
void YYPrnPolygon(int n, int outline);
void YYPrnRectangle(int x1, int y1, int x2, int y2);
// Fill style below 3 draws the outline in the current pen, 3 and above fills.
void YYPrnEllipse(int cx, int cy, int rx, int ry, int fillStyle);
void YYPrnPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye);
void YYPrnArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure);
void YYPrnDot(int x, int y);
void YYPrnFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb);
void YYPrnShadedTriangles(std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                          std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                          std::int32_t& status);
// Clips every later drawing of the document to the rectangle (right and bottom exclusive).
void YYPrnClipRect(int left, int top, int right, int bottom);
void YYPrnTextExtent(int& width, std::string_view text);
// Makes the text font; height comes back as the font's cell height, with its ascent.
void YYPrnFont(int width, int& height, int& ascent, int angle, int fontKind, int style, std::string_view face);
void YYPrnText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text);
