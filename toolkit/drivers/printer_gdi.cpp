// The Windows printer's GDI drawing set.
#include "toolkit/drivers/printer_gdi.h"

#include <algorithm>
#include <string>

#include "toolkit/core/scoped_handle.h"

#include "toolkit/drivers/gdi_driver_steps.h"
#include "toolkit/drivers/printer_device.h"

YYPrnContext yyPrnContext;

namespace {

// Every drawing call starts the page that an ended page left pending; false
// when there is no document to draw on.
bool readyToDraw() {
  YYPrnContext& p = yyPrnContext;
  if (p.PrinterDc == nullptr || p.DocumentOpen == 0) return false;
  if (p.PagePending == 1) YYPrnStartPage();
  return true;
}

DashPen printerDashPen() { return hardcopyStyledPens() ? DashPen::UserStyle : DashPen::Cosmetic; }

}  // namespace

void YYPrnStartDoc(int pageWidth, int pageHeight, int offsetX, int offsetY, int& resolutionX, int& resolutionY,
                   int& colourCount, int& error, int orientation, int copies, std::string_view documentName) {
  YYPrnContext& p = yyPrnContext;
  error = 0;
  if (p.DocumentOpen == 0) {
    HDC dc = YYPrinterCreateDC(orientation, copies);
    if (dc == nullptr) {
      error = 1;
      return;
    }
    const std::string name(documentName);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    // A refused document is no document: drawing on it would be lost unseen.
    if (StartDocA(dc, &document) <= 0) {
      DeleteDC(dc);
      error = 1;
      return;
    }
    p.PrinterDc = dc;
    p.DocumentOpen = 1;
  }
  HDC dc = p.PrinterDc;
  colourCount = GetDeviceCaps(dc, NUMCOLORS);
  resolutionX = GetDeviceCaps(dc, LOGPIXELSX);
  resolutionY = GetDeviceCaps(dc, LOGPIXELSY);
  p.PrinterResolution = resolutionX;
  YYPrnDashPattern();
  p.WindowOrgX = GetDeviceCaps(dc, PHYSICALOFFSETX) - offsetX * resolutionX / 72;
  p.WindowOrgY = GetDeviceCaps(dc, PHYSICALOFFSETY) - offsetY * resolutionY / 72;
  p.PageWidth = pageWidth * resolutionX / 72;
  p.PageHeight = pageHeight * resolutionY / 72;
  YYPrnStartPage();
  if (p.ClipRegion != nullptr) {
    SelectClipRgn(dc, nullptr);
    DeleteObject(p.ClipRegion);
    p.ClipRegion = nullptr;
  }
  SetBkMode(dc, TRANSPARENT);
  p.PenColour = -1;
  p.PenLineStyle = -1;
  p.PenPixelWidth = -1;
}

void YYPrnStartPage() {
  YYPrnContext& p = yyPrnContext;
  if (p.PrinterDc == nullptr) return;
  StartPage(p.PrinterDc);
  SetWindowOrgEx(p.PrinterDc, p.WindowOrgX, p.WindowOrgY, nullptr);
  SetWindowExtEx(p.PrinterDc, p.PageWidth, p.PageHeight, nullptr);
  if (p.Font != nullptr) SelectObject(p.PrinterDc, p.Font);
  p.PagePending = 0;
}

void YYPrnEndPage() {
  YYPrnContext& p = yyPrnContext;
  if (p.PrinterDc == nullptr) return;
  EndPage(p.PrinterDc);
  p.PagePending = 1;
}

void YYPrnEndDoc() {
  YYPrnContext& p = yyPrnContext;
  if (p.PrinterDc == nullptr) return;
  hardcopyReleaseFontAndClip(p.PrinterDc, p);
  // The pen goes with its document, or every print would leave one behind.
  hardcopyReleasePen(p.PrinterDc, p);
  EndDoc(p.PrinterDc);
  DeleteDC(p.PrinterDc);
  p.PrinterDc = nullptr;
  p.DocumentOpen = 0;
  p.PagePending = 0;
}

void YYPrnSetColour(int red, int green, int blue) {
  YYPrnContext& p = yyPrnContext;
  p.PreviousColorRef = p.CurrentColorRef;
  p.CurrentColorRef = RGB(red & 255, green & 255, blue & 255);
}

void YYPrnGreyColour(int& red, int& green, int& blue) { hardcopyInvertColour(hardcopyOption(6), red, green, blue); }

void YYPrnSetLineStyle(int style) { hardcopySetLineStyle(yyPrnContext, style); }

void YYPrnSetLineWidth(int width) {
  yyPrnContext.PenWidth = width;
  YYPrnDashPattern();
}

void YYPrnDashPattern() {
  if (!hardcopyStyledPens()) return;
  hardcopyDashPattern(yyPrnContext, static_cast<unsigned>(std::max(0, yyPrnContext.PrinterResolution)),
                      hardcopyScreenResolution());
}

void YYPrnPen() {
  if (yyPrnContext.PrinterDc == nullptr) return;
  hardcopyCachedPen(yyPrnContext.PrinterDc, yyPrnContext, printerDashPen());
}

void YYPrnLine(int x1, int y1, int x2, int y2) {
  if (!readyToDraw()) return;
  YYPrnPen();
  hardcopyLine(yyPrnContext.PrinterDc, yyPrnContext, x1, y1, x2, y2);
}

void YYPrnPolyline(int n) {
  if (!readyToDraw()) return;
  YYPrnPen();
  hardcopyPolyline(yyPrnContext.PrinterDc, yyPrnContext, n);
}

void YYPrnSetPoint(int x, int y, int i) {
  if (i < 0 || i >= kDevicePoints) return;
  yyHardcopyPoints[static_cast<std::size_t>(i)] = POINT{x, y};
}

void YYPrnPolygon(int n, int outline) {
  if (!readyToDraw()) return;
  hardcopySolidPolygon(yyPrnContext.PrinterDc, yyPrnContext, n, outline != 0);
}

void YYPrnRectangle(int x1, int y1, int x2, int y2) {
  if (!readyToDraw()) return;
  hardcopySolidRectangle(yyPrnContext.PrinterDc, yyPrnContext, x1, y1, x2, y2);
}

void YYPrnEllipse(int cx, int cy, int rx, int ry, int fillStyle) {
  if (!readyToDraw()) return;
  if (fillStyle < 3) YYPrnPen();
  hardcopyEllipse(yyPrnContext.PrinterDc, yyPrnContext, cx, cy, rx, ry, fillStyle >= 3);
}

void YYPrnPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye) {
  if (!readyToDraw()) return;
  hardcopyPie(yyPrnContext.PrinterDc, yyPrnContext, cx, cy, rx, ry, xs, ys, xe, ye);
}

void YYPrnArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure) {
  if (!readyToDraw()) return;
  YYPrnPen();
  hardcopyArc(yyPrnContext.PrinterDc, yyPrnContext, cx, cy, rx, ry, xs, ys, xe, ye, closure);
}

void YYPrnDot(int x, int y) {
  if (!readyToDraw()) return;
  hardcopyDot(yyPrnContext.PrinterDc, yyPrnContext, x, y);
}

void YYPrnFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb) {
  if (yyPrnContext.PrinterDc != nullptr) hardcopyShadeCell(x, y, rgb);
}

void YYPrnShadedTriangles(std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                          std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                          std::int32_t& status) {
  status = 1;
  HDC dc = yyPrnContext.PrinterDc;
  if (dc == nullptr) return;
  // A printer driver may answer the shading call without drawing: only one
  // that says it shades triangles is given them.
  if ((GetDeviceCaps(dc, SHADEBLENDCAPS) & SB_GRAD_TRI) == 0) return;
  hardcopyShadedTriangles(dc, deviceX, deviceY, colours, triangles, status);
}

void YYPrnClipRect(int left, int top, int right, int bottom) {
  YYPrnContext& p = yyPrnContext;
  if (p.ClipRegion != nullptr) DeleteObject(p.ClipRegion);
  p.ClipRegion = CreateRectRgn(left - p.WindowOrgX, top - p.WindowOrgY, right - p.WindowOrgX, bottom - p.WindowOrgY);
  if (p.PrinterDc != nullptr) SelectClipRgn(p.PrinterDc, p.ClipRegion);
}

void YYPrnTextExtent(int& width, std::string_view text) {
  width = yyPrnContext.PrinterDc != nullptr ? hardcopyTextExtent(yyPrnContext.PrinterDc, text) : 0;
}

void YYPrnFont(int width, int& height, int& ascent, int angle, int fontKind, int style, std::string_view face) {
  YYPrnContext& p = yyPrnContext;
  if (p.PrinterDc == nullptr) {
    ascent = 0;
    return;
  }
  hardcopyReleaseFont(p.PrinterDc, p);
  LOGFONTA description = hardcopyFontDescription(width, -height, fontKind, style, face);
  description.lfOutPrecision = OUT_CHARACTER_PRECIS;
  description.lfClipPrecision = CLIP_CHARACTER_PRECIS;
  TEXTMETRICA metrics{};
  {
    GdiObject probe(CreateFontIndirectA(&description));
    HGDIOBJ old = SelectObject(p.PrinterDc, probe.get());
    GetTextMetricsA(p.PrinterDc, &metrics);
    SelectObject(p.PrinterDc, old);
  }
  height = metrics.tmHeight;
  ascent = metrics.tmAscent;
  // The probe's cell height becomes the real font's character height: a cell
  // request would give back the probe, smaller than the size asked for.
  description.lfHeight = -metrics.tmHeight;
  description.lfEscapement = angle * 10;
  description.lfOrientation = angle * 10;
  p.Font = CreateFontIndirectA(&description);
  p.OldFont = SelectObject(p.PrinterDc, p.Font);
}

void YYPrnText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text) {
  if (!readyToDraw()) return;
  hardcopyText(yyPrnContext.PrinterDc, yyPrnContext, x1, y1, x2, y2, align, opaque, text);
}
