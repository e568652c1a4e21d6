// The screen's GDI primitive set.
#include "toolkit/graphics/screen_gdi.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "toolkit/core/system_info.h"
#include "toolkit/graphics/graphics_state.h"

YYGdiContext yyGdiContext;

namespace {
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

COLORREF colorRefOf(std::int32_t rgb) { return static_cast<COLORREF>(rgb) & 0x00FFFFFFu; }

// Selects an object into a context for one drawing call and puts back what it replaced.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The viewport's clip region, in force for one drawing call.
class Clipped {
 public:
  explicit Clipped(HDC dc) : dc_(dc), on_(static_cast<bool>(yyGdiContext.ClipRegion)) {
    if (on_) SelectClipRgn(dc_, static_cast<HRGN>(yyGdiContext.ClipRegion.get()));
  }
  ~Clipped() {
    if (on_) SelectClipRgn(dc_, nullptr);
  }
  Clipped(const Clipped&) = delete;
  Clipped& operator=(const Clipped&) = delete;

 private:
  HDC dc_;
  bool on_;
};

// The current pen in the current context: the context may have changed since
// the pen was made.
void currentPenIn(HDC dc) {
  YYGdiContext& g = yyGdiContext;
  if (!g.Pen) {
    YYGdiPen();
    return;
  }
  HGDIOBJ replaced = SelectObject(dc, g.Pen.get());
  if (replaced != nullptr && replaced != g.Pen.get()) g.OldPen = replaced;
}

void currentFontIn(HDC dc) {
  YYGdiContext& g = yyGdiContext;
  if (!g.Font) return;
  HGDIOBJ replaced = SelectObject(dc, g.Font.get());
  if (replaced != nullptr && replaced != g.Font.get()) g.OldFont = replaced;
}

// The pixel a GDI line leaves out, in the drawing mode of the line: drawn
// twice in XOR mode the line, end pixel included, is gone again.
void endPixel(HDC dc, int x, int y) {
  const YYGdiContext& g = yyGdiContext;
  DWORD rop = 0;
  switch (g.RopCode) {
    case R2_MERGEPEN: rop = 0x00FA0089; break;  // pattern OR destination
    case R2_MASKPEN: rop = 0x00A000C9; break;   // pattern AND destination
    case R2_XORPEN: rop = PATINVERT; break;
    default: break;
  }
  if (rop == 0) {
    SetPixelV(dc, x, y, g.CurrentColorRef);
    return;
  }
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  Selected selected(dc, brush.get());
  PatBlt(dc, x, y, 1, 1, rop);
}

// Brush and pen of a filled shape: the checker and no pen for the patterned
// kind, else a solid brush and a one-pixel pen of the current colour.  GDI
// paints a pen-less shape one pixel short on the right and at the bottom, so
// the patterned box reaches one pixel further.
class ShapeFill {
 public:
  ShapeFill(HDC dc, int kind, bool penless = false)
      : patterned_(kind == kFillPatterned),
        brush_(patterned_ ? static_cast<HGDIOBJ>(YYGdiPatternBrush())
                          : static_cast<HGDIOBJ>(CreateSolidBrush(yyGdiContext.CurrentColorRef))),
        pen_(patterned_ || penless ? nullptr : CreatePen(PS_SOLID, 1, yyGdiContext.CurrentColorRef)),
        brushIn_(dc, brush_.get()),
        penIn_(dc, pen_ ? pen_.get() : GetStockObject(NULL_PEN)) {}
  int boxGrowth() const { return patterned_ ? 3 : 2; }

 private:
  bool patterned_;
  GdiObject brush_;
  GdiObject pen_;
  Selected brushIn_;
  Selected penIn_;
};

// Puts back what the current pen or font replaced, unless that object has
// gone meanwhile (its handle may even name another kind of object by now).
void putBack(HDC dc, HGDIOBJ old, DWORD kind) {
  if (dc == nullptr || old == nullptr) return;
  const DWORD type = GetObjectType(old);
  if (type == kind || (kind == OBJ_PEN && type == OBJ_EXTPEN)) SelectObject(dc, old);
}

int clampedCount(int n, int capacity) { return std::clamp(n, 0, capacity); }

// A palette display draws rgb in its nearest palette entry.
COLORREF paletteColour(std::int32_t rgb) {
  const YYGdiContext& g = yyGdiContext;
  if (g.MetafileTarget != 0 || g.Palette == nullptr) return colorRefOf(rgb);
  return PALETTEINDEX(static_cast<WORD>(GetNearestPaletteIndex(g.Palette, colorRefOf(rgb))));
}
}  // namespace

void YYGdiSetColour(int deviceColour, std::int32_t rgb) {
  YYGdiContext& g = yyGdiContext;
  g.PreviousColorRef = g.CurrentColorRef;
  if (g.MetafileTarget != 0) {
    g.CurrentColorRef = colorRefOf(rgb);
  } else if (g.Palette != nullptr) {
    g.CurrentColorRef = PALETTEINDEX(static_cast<WORD>(deviceColour & 0xFFFF));
  } else {
    g.CurrentColorRef = g.DrawDc != nullptr ? GetNearestColor(g.DrawDc, colorRefOf(rgb)) : colorRefOf(rgb);
  }
  g.PatternDirty = 1;
  YYGdiPen();
}

// A style outside 0-6 changes nothing: it has neither a pen style nor a dash array.
void YYGdiSetLineStyle(int style) {
  YYGdiContext& g = yyGdiContext;
  if (style >= 0 && style < kLineStyles) {
    g.PenStyle = kLinePenStyles[static_cast<std::size_t>(style)];
    g.LineStyleNumber = style;
  }
  YYGdiPen();
}

void YYGdiSetLineWidth(int width) {
  yyGdiContext.PenWidth = width;
  YYGdiDashPattern();
  YYGdiPen();
}

void YYGdiSetRop(int mode) {
  static constexpr int kRops[] = {R2_COPYPEN, R2_MERGEPEN, R2_MASKPEN, R2_XORPEN};
  if (mode < 0 || mode > 3) return;
  yyGdiContext.RopCode = kRops[mode];
  if (yyGdiContext.DrawDc != nullptr) SetROP2(yyGdiContext.DrawDc, yyGdiContext.RopCode);
}

void YYGdiDashPattern() {
  YYGdiContext& g = yyGdiContext;
  if (g.StyledPens == 0) return;
  // Without a known resolution the templates stand as they are.
  const unsigned reference = g.ReferenceResolution > 0 ? static_cast<unsigned>(g.ReferenceResolution) : 1u;
  unsigned base = g.MetafileTarget != 0 ? static_cast<unsigned>(std::max(g.MetafileResolution, 0))
                                        : static_cast<unsigned>(std::max(g.ReferenceResolution, 0));
  if (base == 0) base = reference;
  const DWORD gapGrowth = g.PenWidth > 1 ? static_cast<DWORD>(g.PenWidth - 1) : 0;
  for (std::size_t style = 1; style < kLineStyles; ++style) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(kDashLengths[style]); ++k) {
      DWORD length = base * kDashTemplates[style][k] / reference;
      if (k % 2 == 1) length += gapGrowth;
      g.DashArrays[style][k] = std::max<DWORD>(length, 1);
    }
  }
}

void YYGdiPen() {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  if (g.Pen) {
    putBack(dc, g.OldPen, OBJ_PEN);
    g.Pen.reset();
  }
  const int style = g.LineStyleNumber;
  HPEN pen = nullptr;
  if (g.StyledPens != 0 && g.PenStyle != PS_SOLID && style > 0 && style < kLineStyles) {
    const LOGBRUSH brush{BS_SOLID, g.CurrentColorRef, 0};
    pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL,
                       static_cast<DWORD>(std::max(g.PenWidth, 1)), &brush,
                       static_cast<DWORD>(kDashLengths[static_cast<std::size_t>(style)]),
                       g.DashArrays[static_cast<std::size_t>(style)].data());
  }
  if (pen == nullptr) pen = CreatePen(g.PenStyle, std::max(g.PenWidth, 0), g.CurrentColorRef);
  g.Pen.reset(pen);
  if (dc != nullptr) g.OldPen = SelectObject(dc, pen);
}

HBRUSH YYGdiPatternBrush() {
  YYGdiContext& g = yyGdiContext;
  if (g.MetafileTarget != 0) {
    const COLORREF a = g.CurrentColorRef;
    const COLORREF b = g.PreviousColorRef;
    return CreateSolidBrush(RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                                (GetBValue(a) + GetBValue(b)) / 2));
  }
  if (g.PatternBitmap == nullptr && g.DrawDc != nullptr) {
    g.PatternBitmap = CreateCompatibleBitmap(g.DrawDc, 8, 8);
    g.PatternDirty = 1;
  }
  if (g.PatternBitmap == nullptr) return CreateSolidBrush(g.CurrentColorRef);
  if (g.PatternDirty != 0) {
    DeviceContext painter(CreateCompatibleDC(g.DrawDc));
    HPALETTE oldPalette = g.Palette != nullptr ? SelectPalette(painter.get(), g.Palette, FALSE) : nullptr;
    {
      Selected bitmap(painter.get(), g.PatternBitmap);
      for (int y = 0; y < 8; y += 2) {
        for (int x = 0; x < 8; x += 2) {
          SetPixelV(painter.get(), x, y, g.CurrentColorRef);
          SetPixelV(painter.get(), x + 1, y + 1, g.CurrentColorRef);
          SetPixelV(painter.get(), x + 1, y, g.PreviousColorRef);
          SetPixelV(painter.get(), x, y + 1, g.PreviousColorRef);
        }
      }
    }
    if (oldPalette != nullptr) SelectPalette(painter.get(), oldPalette, FALSE);
    g.PatternDirty = 0;
  }
  return CreatePatternBrush(g.PatternBitmap);
}

void YYGdiLine(int x1, int y1, int x2, int y2) {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  currentPenIn(dc);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  if (yyGdiContext.PenStyle == PS_SOLID) endPixel(dc, x2, y2);
}

void YYGdiPolyline(int n) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  n = clampedCount(n, kGdiPoints);
  if (dc == nullptr || n < 1) return;
  currentPenIn(dc);
  if (n > 1) Polyline(dc, g.Points.data(), n);
  const POINT first = g.Points[0];
  const POINT last = g.Points[static_cast<std::size_t>(n - 1)];
  if (g.PenStyle == PS_SOLID && (last.x != first.x || last.y != first.y)) endPixel(dc, last.x, last.y);
}

void YYGdiSetPoint(int x, int y, int i) {
  if (i < 0 || i >= kGdiPoints) return;
  yyGdiContext.Points[static_cast<std::size_t>(i)] = POINT{x, y};
}

void YYGdiPolygon(int n, int kind) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  n = clampedCount(n, kGdiPoints);
  if (dc == nullptr || n < 2) return;
  Clipped clip(dc);
  // An XOR edge drawn by the pen over the XOR fill would cancel out.
  ShapeFill fill(dc, kind, g.RopCode == R2_XORPEN);
  Polygon(dc, g.Points.data(), n);
}

void YYGdiRectangle(int x1, int y1, int x2, int y2, int kind) {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  ShapeFill fill(dc, kind, true);
  Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
}

void YYGdiEllipse(int cx, int cy, int rx, int ry, int mode, int kind) {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  Clipped clip(dc);
  if (mode == kEllipseOutline) {
    currentPenIn(dc);
    Selected brush(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
    return;
  }
  ShapeFill fill(dc, kind);
  const int grow = fill.boxGrowth();
  Ellipse(dc, cx - rx - 1, cy - ry - 1, cx + rx + grow, cy + ry + grow);
}

void YYGdiPie(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int kind) {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  Clipped clip(dc);
  ShapeFill fill(dc, kind);
  const int grow = fill.boxGrowth();
  Pie(dc, cx - rx - 1, cy - ry - 1, cx + rx + grow, cy + ry + grow, xs, ys, xe, ye);
}

void YYGdiArc(int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye, int closure, int style) {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  Clipped clip(dc);
  currentPenIn(dc);
  Selected brush(dc, GetStockObject(NULL_BRUSH));
  const int left = cx - rx - 1;
  const int top = cy - ry - 1;
  const int right = cx + rx + 2;
  const int bottom = cy + ry + 2;
  if (closure < 3 || style > 0) {
    Pie(dc, left, top, right, bottom, xs, ys, xe, ye);
  } else {
    Arc(dc, left, top, right, bottom, xs, ys, xe, ye);
  }
}

void YYGdiClear(int width, int height, std::int32_t rgb) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  if (dc == nullptr) return;
  COLORREF colour = colorRefOf(rgb);
  if (g.MetafileTarget == 0) colour = g.Palette != nullptr ? PALETTEINDEX(0) : GetNearestColor(dc, colour);
  GdiObject brush(CreateSolidBrush(colour));
  Selected brushIn(dc, brush.get());
  Selected penIn(dc, GetStockObject(NULL_PEN));
  const int oldRop = SetROP2(dc, R2_COPYPEN);
  Rectangle(dc, 0, 0, width + 1, height + 1);
  SetROP2(dc, oldRop);
}

void YYGdiPixel(int x, int y) {
  if (yyGdiContext.DrawDc != nullptr) SetPixelV(yyGdiContext.DrawDc, x, y, yyGdiContext.CurrentColorRef);
}

void YYGdiFillPixel(const std::int32_t& x, const std::int32_t& y, const std::int32_t& rgb) {
  if (yyGdiContext.DrawDc != nullptr) SetPixelV(yyGdiContext.DrawDc, x, y, paletteColour(rgb));
}

void YYGdiGetPixel(int x, int y, int& red, int& green, int& blue) {
  HDC dc = yyGdiContext.DrawDc;
  const COLORREF colour = dc != nullptr ? GetPixel(dc, x, y) : CLR_INVALID;
  if (colour == CLR_INVALID) {
    red = -1;
    return;
  }
  red = GetRValue(colour);
  green = GetGValue(colour);
  blue = GetBValue(colour);
}

void YYGdiClipRect(int left, int top, int right, int bottom) {
  yyGdiContext.ClipRegion.reset(bottom == -1 ? nullptr : CreateRectRgn(left, top, right, bottom));
}

namespace {
struct FontFace {
  std::string_view face;
  BYTE family;
  BYTE charset;
};

FontFace faceOfKind(int kind, std::string_view face) {
  switch (kind) {
    case 1: return {"Courier New", FF_MODERN, ANSI_CHARSET};
    case 2: return {"Arial", FF_SWISS, ANSI_CHARSET};
    case 3: return {"Times New Roman", FF_ROMAN, ANSI_CHARSET};
    case 4: return {"Symbol", FF_ROMAN, SYMBOL_CHARSET};
    default: return {face, FF_DONTCARE, DEFAULT_CHARSET};
  }
}

LOGFONTA logicalFont(int width, int height, int kind, int style, std::string_view faceText) {
  const FontFace face = faceOfKind(kind, faceText);
  LOGFONTA font{};
  font.lfHeight = -height;
  font.lfWidth = width;
  font.lfWeight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & 2) != 0 ? TRUE : FALSE;
  font.lfUnderline = (style & 4) != 0 ? TRUE : FALSE;
  font.lfCharSet = face.charset;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = CLIP_LH_ANGLES;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = static_cast<BYTE>(VARIABLE_PITCH | face.family);
  const std::size_t length = std::min(face.face.size(), sizeof font.lfFaceName - 1);
  std::copy_n(face.face.data(), length, font.lfFaceName);
  return font;
}
}  // namespace

void YYGdiTextFont(int& width, int& height, int& ascent, int angle, int kind, int style, std::string_view face) {
  YYGdiContext& g = yyGdiContext;
  if (g.Font) {
    putBack(g.DrawDc, g.OldFont, OBJ_FONT);
    g.Font.reset();
    g.OldFont = nullptr;
  }
  // Without a drawing context the font is measured in a context of the screen's kind.
  DeviceContext scratch;
  HDC dc = g.DrawDc;
  if (dc == nullptr) {
    scratch.reset(CreateCompatibleDC(nullptr));
    dc = scratch.get();
  }
  LOGFONTA font = logicalFont(width, height, kind, style, face);
  TEXTMETRICA metrics{};
  {
    GdiObject upright(CreateFontIndirectA(&font));
    Selected selected(dc, upright.get());
    GetTextMetricsA(dc, &metrics);
  }
  font.lfEscapement = angle * 10;
  font.lfOrientation = angle * 10;
  g.Font.reset(CreateFontIndirectA(&font));
  HGDIOBJ replaced = SelectObject(dc, g.Font.get());
  SIZE extent{};
  GetTextExtentPoint32A(dc, kAlphabet.data(), static_cast<int>(kAlphabet.size()), &extent);
  if (dc == g.DrawDc) {
    g.OldFont = replaced;
  } else {
    SelectObject(dc, replaced);
  }
  height = metrics.tmHeight;
  ascent = metrics.tmAscent;
  width = extent.cx;
}

void YYGdiText(int x1, int y1, int x2, int y2, int align, int opaque, std::string_view text, int length) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  if (dc == nullptr || align < 0 || align > 2) return;
  length = std::clamp(length, 0, static_cast<int>(text.size()));
  currentFontIn(dc);
  static constexpr UINT kAligns[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
  int x = x1;
  int y = y1;
  if (align == 1) {
    x = (x1 + x2) / 2;
    y = (y1 + y2) / 2;
  } else if (align == 2) {
    x = x2;
    y = y2;
  }
  const COLORREF oldText = SetTextColor(dc, g.CurrentColorRef);
  const COLORREF oldBack = SetBkColor(dc, g.PreviousColorRef);
  const int oldMode = SetBkMode(dc, opaque != 0 ? OPAQUE : TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | kAligns[align] | TA_NOUPDATECP);
  TextOutA(dc, x, y, text.data(), length);
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

void YYGdiTextExtent(int& width, std::string_view text, int length) {
  HDC dc = yyGdiContext.DrawDc;
  length = std::clamp(length, 0, static_cast<int>(text.size()));
  width = 0;
  if (dc == nullptr || length == 0) return;
  currentFontIn(dc);
  SIZE extent{};
  if (GetTextExtentPoint32A(dc, text.data(), length, &extent)) width = extent.cx;
}

namespace {
DWORD blockRop(int rop2) {
  switch (rop2) {
    case R2_MERGEPEN: return SRCPAINT;
    case R2_MASKPEN: return SRCAND;
    case R2_XORPEN: return SRCINVERT;
    default: return SRCCOPY;
  }
}

// The part of the source block that the moved block does not cover, as an
// outline whose corners are pixels of that part.
int uncoveredOutline(int sx, int sy, int dx, int dy, int width, int height, std::array<POINT, 6>& corner) {
  const int right = sx + width - 1;
  const int bottom = sy + height - 1;
  const bool apart = std::abs(dx - sx) >= width || std::abs(dy - sy) >= height;
  if (apart) {
    corner = {{{sx, sy}, {right, sy}, {right, bottom}, {sx, bottom}}};
    return 4;
  }
  // The strip of columns and the strip of rows that the move left behind.
  const int columnsFrom = dx > sx ? sx : dx + width;
  const int columnsTo = dx > sx ? dx - 1 : right;
  const int rowsFrom = dy > sy ? sy : dy + height;
  const int rowsTo = dy > sy ? dy - 1 : bottom;
  if (dy == sy) {
    corner = {{{columnsFrom, sy}, {columnsTo, sy}, {columnsTo, bottom}, {columnsFrom, bottom}}};
    return 4;
  }
  if (dx == sx) {
    corner = {{{sx, rowsFrom}, {right, rowsFrom}, {right, rowsTo}, {sx, rowsTo}}};
    return 4;
  }
  // Diagonal: an L from the source corner farthest from the destination.
  const int outerX = dx > sx ? sx : right;
  const int otherX = dx > sx ? right : sx;
  const int outerY = dy > sy ? sy : bottom;
  const int otherY = dy > sy ? bottom : sy;
  const int innerX = dx > sx ? columnsTo : columnsFrom;
  const int innerY = dy > sy ? rowsTo : rowsFrom;
  corner = {{{outerX, outerY}, {otherX, outerY}, {otherX, innerY}, {innerX, innerY}, {innerX, otherY},
             {outerX, otherY}}};
  return 6;
}
}  // namespace

void YYGdiMoveArea(int sx, int sy, int dx, int dy, int width, int height, int clear, std::int32_t rgb) {
  YYGdiContext& g = yyGdiContext;
  HDC dc = g.DrawDc;
  if (dc == nullptr || width <= 0 || height <= 0) return;
  Clipped clip(dc);
  BitBlt(dc, dx, dy, width, height, dc, sx, sy, blockRop(g.RopCode));
  if (clear == 0 || (dx == sx && dy == sy)) return;
  std::array<POINT, 6> corner{};
  const int corners = uncoveredOutline(sx, sy, dx, dy, width, height, corner);
  const COLORREF colour = colorRefOf(rgb);
  GdiObject pen(CreatePen(PS_SOLID, 1, colour));
  GdiObject brush(CreateSolidBrush(colour));
  Selected penIn(dc, pen.get());
  Selected brushIn(dc, brush.get());
  const int oldRop = SetROP2(dc, R2_COPYPEN);
  Polygon(dc, corner.data(), corners);
  SetROP2(dc, oldRop);
}

void YYGdiShadedTriangles(std::span<const std::int32_t> x, std::span<const std::int32_t> y,
                          std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                          std::int32_t& status) {
  YYGdiContext& g = yyGdiContext;
  status = 1;
  HDC dc = g.DrawDc;
  const std::size_t vertices = std::min({x.size(), y.size(), colours.size()});
  if (dc == nullptr || yyGradientFill == nullptr || vertices > g.TriVertices.size() ||
      triangles.size() > g.TriMesh.size()) {
    return;
  }
  for (std::size_t i = 0; i < vertices; ++i) {
    const auto colour = static_cast<std::uint32_t>(colours[i]);
    g.TriVertices[i] = TRIVERTEX{static_cast<LONG>(x[i]), static_cast<LONG>(y[i]),
                                 static_cast<COLOR16>((colour & 255u) * 256u),
                                 static_cast<COLOR16>(colour & 65280u),
                                 static_cast<COLOR16>((colour / 256u) & 65280u), 0};
  }
  for (std::size_t t = 0; t < triangles.size(); ++t) {
    for (const std::int32_t vertex : triangles[t]) {
      if (vertex < 1 || static_cast<std::size_t>(vertex) > vertices) return;
    }
    g.TriMesh[t] = GRADIENT_TRIANGLE{static_cast<ULONG>(triangles[t][0] - 1), static_cast<ULONG>(triangles[t][1] - 1),
                                     static_cast<ULONG>(triangles[t][2] - 1)};
  }
  Clipped clip(dc);
  const BOOL drawn = yyGradientFill(dc, g.TriVertices.data(), static_cast<ULONG>(vertices), g.TriMesh.data(),
                                    static_cast<ULONG>(triangles.size()), GRADIENT_FILL_TRIANGLE);
  status = drawn ? 0 : 1;
}

void YYGdiRelease() {
  YYGdiContext& g = yyGdiContext;
  if (g.Pen) putBack(g.DrawDc, g.OldPen, OBJ_PEN);
  if (g.Font) putBack(g.DrawDc, g.OldFont, OBJ_FONT);
  g.Pen.reset();
  g.OldPen = nullptr;
  g.Font.reset();
  g.OldFont = nullptr;
  g.ClipRegion.reset();
}

void YYGdiSetPaletteEntry(const int& index, const std::int32_t& rgb, const int& mode) {
  YYGdiRealizePaletteEntry(index, static_cast<unsigned long>(rgb), mode);
}

void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode) {
  if (yyGrAttributes.TargetKind == kTargetMetafile || yyGdiContext.MetafileTarget != 0) return;
  HPALETTE palette = yyGdiContext.Palette;
  if (palette == nullptr || yyGdiContext.PaletteRecord.size() < sizeof(LOGPALETTE)) return;
  auto* logical = reinterpret_cast<LOGPALETTE*>(yyGdiContext.PaletteRecord.data());
  if (index < 0 || index >= logical->palNumEntries) return;
  PALETTEENTRY& entry = logical->palPalEntry[index];
  entry.peRed = GetRValue(rgb);
  entry.peGreen = GetGValue(rgb);
  entry.peBlue = GetBValue(rgb);
  entry.peFlags = 0;
  if (mode == 0 || mode == 1) UnrealizeObject(palette);
  SetPaletteEntries(palette, static_cast<UINT>(index), 1, &entry);
  HDC dc = yyGdiContext.DrawDc;
  if ((mode == 0 || mode == 3) && dc != nullptr) {
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
}
