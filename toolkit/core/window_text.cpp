#include "toolkit/core/window_text.h"

#include <array>
#include <string>

#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

TextAttributes textAttributes;

namespace {

struct TrueTypeFamily {
  const char* face;
  DWORD pitchAndFamily;
};
// Families 2-6.
constexpr std::array<TrueTypeFamily, 5> kFamilies = {{
    {"Times New Roman", VARIABLE_PITCH | FF_ROMAN},
    {"Arial", VARIABLE_PITCH | FF_SWISS},
    {"Courier New", VARIABLE_PITCH | FF_MODERN},
    {"Symbol", VARIABLE_PITCH},
    {"Wingdings", VARIABLE_PITCH},
}};

HDC drawDc() { return yyGdiContext.DrawDc; }

HGDIOBJ stockFontOf(int family) {
  switch (family) {
    case 1:
      return GetStockObject(SYSTEM_FIXED_FONT);
    case -99:
      return GetStockObject(DEFAULT_GUI_FONT);
    default:
      return GetStockObject(SYSTEM_FONT);
  }
}

HGDIOBJ currentFont() {
  const TextAttributes& a = textAttributes;
  return a.font != nullptr ? static_cast<HGDIOBJ>(a.font) : stockFontOf(a.family);
}

COLORREF windowColour(int index) {
  return index >= 0 && index < kWindowColours ? windowColours[static_cast<std::size_t>(index)] : RGB(0, 0, 0);
}

// Builds the font of the current attributes and reads its cell size back.
void YYTextFontCreate() {
  TextAttributes& a = textAttributes;
  if (a.font != nullptr) {
    DeleteObject(a.font);
    a.font = nullptr;
  }
  if (a.family >= 2 && a.family <= 6) {
    const TrueTypeFamily& f = kFamilies[static_cast<std::size_t>(a.family - 2)];
    a.font = CreateFontA(a.cellHeightPixels, a.cellWidthPixels, 0, 0, a.bold ? FW_BOLD : FW_NORMAL,
                         a.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, f.pitchAndFamily, f.face);
  }
  a.fontFamily = a.family;
  a.fontBold = a.bold;
  a.fontItalic = a.italic;
  a.fontCellWidth = a.cellWidthPixels;
  a.fontCellHeight = a.cellHeightPixels;
  if (HDC dc = drawDc(); dc != nullptr) {
    HGDIOBJ previous = SelectObject(dc, currentFont());
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm)) {
      a.cellHeightPixels = tm.tmHeight;
      a.cellWidthPixels = tm.tmAveCharWidth;
      a.fontCellWidth = a.cellWidthPixels;
      a.fontCellHeight = a.cellHeightPixels;
    }
    SelectObject(dc, previous);
  }
}

}  // namespace

void YYTextSizeToPixels() {
  YYScaleToPixels(textAttributes.cellWidthUnits, textAttributes.cellHeightUnits, textAttributes.cellWidthPixels,
                  textAttributes.cellHeightPixels);
}

void YYTextFontUpdate() {
  const TextAttributes& a = textAttributes;
  if (a.family != a.fontFamily || a.bold != a.fontBold || a.italic != a.fontItalic ||
      a.cellWidthPixels != a.fontCellWidth || a.cellHeightPixels != a.fontCellHeight) {
    YYTextFontCreate();
  }
}

void WindowTextAt(int x, int y, std::string_view text) {
  if (textAttributes.controlCharacter != ' ') {
    YYTextDrawFormatted(x, y, text);
    return;
  }
  int px = 0;
  int py = 0;
  YYScaleToPixels(x, y, px, py);
  YYTextFontUpdate();
  const std::string closed(text);
  YYTextDraw(px, py, closed.c_str(), static_cast<int>(closed.size()) + 1);
  YYPixelsToUnits(px, py, textAttributes.endX, textAttributes.endY);
}

void YYTextDraw(int& x, int& y, const char* text, int length) {
  HDC dc = drawDc();
  if (dc == nullptr || length <= 1) return;
  const TextAttributes& a = textAttributes;
  HGDIOBJ previousFont = SelectObject(dc, currentFont());
  const int previousMode = SetBkMode(dc, OPAQUE);
  const UINT previousAlign = SetTextAlign(dc, TA_BASELINE | TA_UPDATECP);
  const COLORREF textColour = displayColour(dc, windowColour(a.textColour));
  const COLORREF previousText = SetTextColor(dc, textColour);
  const COLORREF previousBack = SetBkColor(dc, displayColour(dc, windowColour(a.backgroundColour)));
  POINT start{};
  MoveToEx(dc, x, y, &start);
  TextOutA(dc, 0, 0, text, length - 1);
  POINT end{};
  GetCurrentPositionEx(dc, &end);
  if (a.underline) {
    HPEN pen = CreatePen(PS_SOLID, 1, textColour);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    MoveToEx(dc, x, y + 2, nullptr);
    LineTo(dc, end.x, end.y + 2);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
  }
  MoveToEx(dc, start.x, start.y, nullptr);
  SetTextAlign(dc, previousAlign);
  SetBkMode(dc, previousMode);
  SetTextColor(dc, previousText);
  SetBkColor(dc, previousBack);
  SelectObject(dc, previousFont);
  x = end.x;
  y = end.y;
}

void WindowFillArea(std::optional<int> x1, std::optional<int> y1, std::optional<int> x2, std::optional<int> y2,
                    std::optional<int> colour) {
  YYFillRectangle(x1.value_or(0), y1.value_or(0), x2.value_or(windowTable.clientWidth - 1),
                  y2.value_or(windowTable.clientHeight - 1), colour.value_or(-1));
}

void YYFillRectangle(int x1, int y1, int x2, int y2, int colour) {
  HDC dc = drawDc();
  if (dc == nullptr) return;
  const COLORREF rgb = colour == -1 ? windowColour(textAttributes.backgroundColour) : static_cast<COLORREF>(colour);
  HBRUSH brush = CreateSolidBrush(displayColour(dc, rgb));
  HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
  HGDIOBJ previousBrush = SelectObject(dc, brush);
  const int previousRop = SetROP2(dc, R2_COPYPEN);
  // With the null pen a rectangle leaves out its right and bottom edges.
  Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
  SetROP2(dc, previousRop);
  SelectObject(dc, previousBrush);
  SelectObject(dc, previousPen);
  DeleteObject(brush);
}

void WindowTextColours(int textIndex, int backgroundIndex) {
  if (textIndex >= 0 && textIndex <= 16) textAttributes.textColour = textIndex;
  if (backgroundIndex >= 0 && backgroundIndex <= 15) {
    textAttributes.backgroundColour = backgroundIndex;
  } else if (backgroundIndex == 16) {
    textAttributes.backgroundColour = 17;
  }
}

void WindowTextUnderline(int flag) { textAttributes.underline = flag != 0 ? 1 : 0; }

void YYWindowColourSet(int index, int red, int green, int blue) {
  if (index < 0 || index >= kWindowColours) return;
  const COLORREF rgb = RGB(red, green, blue);
  windowColours[static_cast<std::size_t>(index)] = rgb;
  if (isPaletteDisplay() && yyGdiContext.Palette != nullptr) {
    YYGdiRealizePaletteEntry(windowTable.paletteColours + index, rgb, 0);
  }
}

void YYTextExtent(int& width, const char* text, int length) {
  width = 0;
  HDC dc = drawDc();
  if (dc == nullptr || length <= 1) return;
  HGDIOBJ previous = SelectObject(dc, currentFont());
  SIZE size{};
  GetTextExtentPointA(dc, text, length - 1, &size);
  SelectObject(dc, previous);
  width = size.cx;
}

void YYTextDrawFormatted(int x, int y, std::string_view text) {
  TextAttributes& a = textAttributes;
  const TextAttributes remembered = a;
  auto restore = [&] {
    a.bold = remembered.bold;
    a.italic = remembered.italic;
    a.underline = remembered.underline;
    a.textColour = remembered.textColour;
    a.backgroundColour = remembered.backgroundColour;
  };
  int px = 0;
  int py = 0;
  YYScaleToPixels(x, y, px, py);
  const char c = a.controlCharacter;
  std::string run;
  auto flush = [&] {
    if (run.empty()) return;
    YYTextFontUpdate();
    YYTextDraw(px, py, run.c_str(), static_cast<int>(run.size()) + 1);
    run.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != c || i + 1 >= text.size()) {
      run += text[i];
      continue;
    }
    const char code = text[++i];
    if (code == c) {
      run += c;
      continue;
    }
    flush();
    if (code == '1') {
      a.bold = 1;
    } else if (code == '3') {
      a.italic = 1;
    } else if (code == '5') {
      a.underline = 1;
    } else if (code == '0') {
      restore();
    } else if (code >= 'a' && code <= 'q') {
      a.textColour = code - 'a';
    } else if (code >= 'A' && code <= 'Q') {
      const int index = code - 'A';
      a.backgroundColour = index == 16 ? 17 : index;
    }
  }
  flush();
  restore();
  YYPixelsToUnits(px, py, a.endX, a.endY);
}

void YYTextAttributesReset() {
  TextAttributes& a = textAttributes;
  a.family = 0;
  a.bold = 0;
  a.italic = 0;
  a.underline = 0;
  a.textColour = 0;
  a.backgroundColour = 15;
  a.endX = 0;
  a.endY = 0;
  // The cell size of the system font, in window units of the current window.
  if (HDC dc = drawDc(); dc != nullptr) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, previous);
    a.cellWidthPixels = tm.tmAveCharWidth;
    a.cellHeightPixels = tm.tmHeight;
    YYPixelsToUnits(a.cellWidthPixels, a.cellHeightPixels, a.cellWidthUnits, a.cellHeightUnits);
  }
  YYTextFontUpdate();
}

void YYTextFontRelease() {
  TextAttributes& a = textAttributes;
  if (a.font != nullptr) DeleteObject(a.font);
  a.font = nullptr;
  a.fontFamily = a.fontBold = a.fontItalic = a.fontCellWidth = a.fontCellHeight = -1;
}
