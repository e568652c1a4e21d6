// Drawing steps shared by the printer's and the metafile's GDI sets.
#include "toolkit/drivers/hardcopy_gdi.h"

#include <algorithm>
#include <vector>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/drivers/hardcopy_options.h"

std::array<POINT, kDevicePoints> yyHardcopyPoints{};

namespace {

// Selects an object for the length of one drawing step.
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

bool solidLine(const YYHardcopyGdiState& g) { return g.PenStyle == PS_SOLID; }

}  // namespace

int hardcopyDashCount(int style) {
  return style >= 0 && style < kLineStyles ? kDashLengths[static_cast<std::size_t>(style)] : 0;
}

void hardcopySetLineStyle(YYHardcopyGdiState& g, int style) {
  if (style >= 0 && style < kLineStyles) g.PenStyle = kLinePenStyles[static_cast<std::size_t>(style)];
  g.LineStyleNumber = style;
}

void hardcopyDashPattern(YYHardcopyGdiState& g, unsigned base, unsigned divisor) {
  if (divisor == 0) divisor = base == 0 ? 1 : base;  // no screen resolution known: the templates as they are
  const DWORD widen = g.PenWidth > 1 ? static_cast<DWORD>(g.PenWidth - 1) : 0;
  for (int style = 1; style < kLineStyles; ++style) {
    const auto s = static_cast<std::size_t>(style);
    for (int i = 0; i < kDashLengths[s]; ++i) {
      const auto k = static_cast<std::size_t>(i);
      DWORD entry = static_cast<DWORD>(base * kDashTemplates[s][k] / divisor);
      if (i % 2 == 1) entry += widen;
      g.DashArrays[s][k] = entry;
    }
  }
}

unsigned hardcopyScreenResolution() {
  if (toolkitSettings.pixelsPerInch > 0) return static_cast<unsigned>(toolkitSettings.pixelsPerInch);
  HDC screen = GetDC(nullptr);
  const int resolution = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return resolution > 0 ? static_cast<unsigned>(resolution) : 96u;
}

bool hardcopyStyledPens() {
  int kind = 0;
  YYOsPlatform(kind);
  return kind == 4;
}

void hardcopyReleasePen(HDC dc, YYHardcopyGdiState& g) {
  if (g.Pen == nullptr) return;
  if (dc != nullptr) SelectObject(dc, g.OldPen);
  DeleteObject(g.Pen);
  g.Pen = nullptr;
  g.OldPen = nullptr;
  g.PenColour = -1;
  g.PenLineStyle = -1;
  g.PenPixelWidth = -1;
}

void hardcopyCachedPen(HDC dc, YYHardcopyGdiState& g, DashPen dashPen) {
  if (g.Pen != nullptr && g.PenColour == static_cast<std::int64_t>(g.CurrentColorRef) &&
      g.PenLineStyle == g.LineStyleNumber && g.PenPixelWidth == g.PenWidth) {
    return;
  }
  hardcopyReleasePen(dc, g);
  const int dashes = hardcopyDashCount(g.LineStyleNumber);
  HPEN pen = nullptr;
  if (dashes > 0 && g.PenStyle != PS_SOLID && dashPen != DashPen::Cosmetic) {
    LOGBRUSH brush{BS_SOLID, g.CurrentColorRef, 0};
    const DWORD width = static_cast<DWORD>(std::max(1, g.PenWidth));
    if (dashPen == DashPen::UserStyle) {
      pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, width, &brush,
                         static_cast<DWORD>(dashes), g.DashArrays[static_cast<std::size_t>(g.LineStyleNumber)].data());
    } else {
      pen = ExtCreatePen(PS_GEOMETRIC | static_cast<DWORD>(g.PenStyle) | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, width,
                         &brush, 0, nullptr);
    }
  }
  if (pen == nullptr) pen = CreatePen(g.PenStyle, g.PenWidth, g.CurrentColorRef);
  g.Pen = pen;
  g.OldPen = SelectObject(dc, pen);
  g.PenColour = static_cast<std::int64_t>(g.CurrentColorRef);
  g.PenLineStyle = g.LineStyleNumber;
  g.PenPixelWidth = g.PenWidth;
}

void hardcopyReleaseFontAndClip(HDC dc, YYHardcopyGdiState& g) {
  if (g.ClipRegion != nullptr) {
    if (dc != nullptr) SelectClipRgn(dc, nullptr);
    DeleteObject(g.ClipRegion);
    g.ClipRegion = nullptr;
  }
  hardcopyReleaseFont(dc, g);
}

void hardcopyReleaseFont(HDC dc, YYHardcopyGdiState& g) {
  if (g.Font != nullptr) {
    if (dc != nullptr) SelectObject(dc, g.OldFont);
    DeleteObject(g.Font);
    g.Font = nullptr;
    g.OldFont = nullptr;
  }
}

void hardcopyLine(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  if (solidLine(g)) SetPixel(dc, x2, y2, g.CurrentColorRef);
}

void hardcopyPolyline(HDC dc, const YYHardcopyGdiState& g, int n) {
  n = std::clamp(n, 0, kDevicePoints);
  if (n < 1) return;
  Polyline(dc, yyHardcopyPoints.data(), n);
  const POINT& last = yyHardcopyPoints[static_cast<std::size_t>(n - 1)];
  const POINT& first = yyHardcopyPoints[0];
  if (solidLine(g) && (n == 1 || last.x != first.x || last.y != first.y)) {
    SetPixel(dc, last.x, last.y, g.CurrentColorRef);
  }
}

void hardcopySolidPolygon(HDC dc, const YYHardcopyGdiState& g, int n, bool outlined) {
  n = std::clamp(n, 0, kDevicePoints);
  if (n < 2) return;
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  GdiObject edge(outlined ? CreatePen(PS_SOLID, 1, g.CurrentColorRef) : nullptr);
  const Selected pen(dc, outlined ? edge.get() : GetStockObject(NULL_PEN));
  const Selected fill(dc, brush.get());
  Polygon(dc, yyHardcopyPoints.data(), n);
}

void hardcopySolidRectangle(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2) {
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  const Selected pen(dc, GetStockObject(NULL_PEN));
  const Selected fill(dc, brush.get());
  Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
}

void hardcopyEllipse(HDC dc, const YYHardcopyGdiState& g, int cx, int cy, int rx, int ry, bool filled) {
  if (!filled) {
    const Selected fill(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
    return;
  }
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  GdiObject edge(CreatePen(PS_SOLID, 1, g.CurrentColorRef));
  const Selected pen(dc, edge.get());
  const Selected fill(dc, brush.get());
  Ellipse(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
}

void hardcopyPie(HDC dc, const YYHardcopyGdiState& g, int cx, int cy, int rx, int ry, int xs, int ys, int xe,
                 int ye) {
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  GdiObject edge(CreatePen(PS_SOLID, 1, g.CurrentColorRef));
  const Selected pen(dc, edge.get());
  const Selected fill(dc, brush.get());
  Pie(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
}

void hardcopyArc(HDC dc, const YYHardcopyGdiState&, int cx, int cy, int rx, int ry, int xs, int ys, int xe, int ye,
                 int closure) {
  const Selected fill(dc, GetStockObject(NULL_BRUSH));
  if (closure > 2) {
    Arc(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
  } else {
    Pie(dc, cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2, xs, ys, xe, ye);
  }
}

void hardcopyDot(HDC dc, const YYHardcopyGdiState& g, int x, int y) {
  const int d = g.PenWidth / 2;
  GdiObject brush(CreateSolidBrush(g.CurrentColorRef));
  const Selected pen(dc, GetStockObject(NULL_PEN));
  const Selected fill(dc, brush.get());
  Rectangle(dc, x - d, y - d, x - d + g.PenWidth + 1, y - d + g.PenWidth + 1);
}

void hardcopyText(HDC dc, const YYHardcopyGdiState& g, int x1, int y1, int x2, int y2, int align, int opaque,
                  std::string_view text) {
  int x = 0, y = 0;
  UINT mode = TA_BASELINE;
  switch (align) {
    case 0: x = x1, y = y1, mode |= TA_LEFT; break;
    case 1: x = (x1 + x2) / 2, y = (y1 + y2) / 2, mode |= TA_CENTER; break;
    case 2: x = x2, y = y2, mode |= TA_RIGHT; break;
    default: return;
  }
  const COLORREF oldText = SetTextColor(dc, g.CurrentColorRef);
  const COLORREF oldBack = SetBkColor(dc, g.PreviousColorRef);
  const int oldBackMode = SetBkMode(dc, opaque != 0 ? OPAQUE : TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, mode);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldBackMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

int hardcopyTextExtent(HDC dc, std::string_view text) {
  SIZE size{};
  if (text.empty() || !GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

LOGFONTA hardcopyFontDescription(int width, int height, int kind, int style, std::string_view face) {
  struct FaceChoice {
    const char* face;
    BYTE family;
    BYTE charset;
  };
  static constexpr std::array<FaceChoice, 5> kFaces = {{
      {nullptr, FF_DONTCARE, DEFAULT_CHARSET},
      {"Courier New", FF_MODERN, ANSI_CHARSET},
      {"Arial", FF_SWISS, ANSI_CHARSET},
      {"Times New Roman", FF_ROMAN, ANSI_CHARSET},
      {"Symbol", FF_ROMAN, SYMBOL_CHARSET},
  }};
  const FaceChoice& choice = kFaces[static_cast<std::size_t>(kind >= 1 && kind <= 4 ? kind : 0)];
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfWeight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & 2) != 0 ? 1 : 0;
  font.lfUnderline = (style & 4) != 0 ? 1 : 0;
  font.lfCharSet = choice.charset;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = static_cast<BYTE>(VARIABLE_PITCH | choice.family);
  const std::string_view name = choice.face != nullptr ? std::string_view(choice.face) : face;
  const std::size_t length = std::min(name.size(), sizeof font.lfFaceName - 1);
  std::copy_n(name.data(), length, font.lfFaceName);
  return font;
}

void hardcopyShadedTriangles(HDC dc, std::span<const std::int32_t> deviceX, std::span<const std::int32_t> deviceY,
                             std::span<const std::int32_t> colours, std::span<const YYTriangle> triangles,
                             std::int32_t& status) {
  status = 1;
  if (yyGradientFill == nullptr || triangles.empty()) return;
  std::vector<TRIVERTEX> vertices(deviceX.size());
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const std::int32_t c = colours[i];
    vertices[i] = TRIVERTEX{deviceX[i], deviceY[i], static_cast<COLOR16>((c & 255) * 256),
                            static_cast<COLOR16>(c & 65280), static_cast<COLOR16>((c / 256) & 65280), 0};
  }
  std::vector<GRADIENT_TRIANGLE> mesh;
  mesh.reserve(triangles.size());
  for (const YYTriangle& t : triangles) {
    const auto valid = [&](std::int32_t v) { return v >= 1 && static_cast<std::size_t>(v) <= vertices.size(); };
    if (!valid(t[0]) || !valid(t[1]) || !valid(t[2])) return;
    mesh.push_back(GRADIENT_TRIANGLE{static_cast<ULONG>(t[0] - 1), static_cast<ULONG>(t[1] - 1),
                                     static_cast<ULONG>(t[2] - 1)});
  }
  if (yyGradientFill(dc, vertices.data(), static_cast<ULONG>(vertices.size()), mesh.data(),
                     static_cast<ULONG>(mesh.size()), GRADIENT_FILL_TRIANGLE)) {
    status = 0;
  }
}

void hardcopyInvertColour(int inversion, int& red, int& green, int& blue) {
  const bool invert = inversion == 1 || (inversion == 2 && ((red < 10 && green < 10 && blue < 10) ||
                                                            (red > 245 && green > 245 && blue > 245)));
  if (!invert) return;
  red = 255 - red;
  green = 255 - green;
  blue = 255 - blue;
}
