// The screen's GDI primitive set.
#include "toolkit/graphics/screen_gdi.h"

#include "toolkit/core/scoped_handle.h"
#include "toolkit/graphics/graphics_state.h"

YYGdiContext yyGdiContext;

void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode) {
  if (yyGrAttributes.TargetKind == kTargetMetafile) return;
  HPALETTE palette = yyGdiContext.Palette;
  if (palette == nullptr || yyGdiContext.PaletteRecord.empty()) return;
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

// No line styles are drawn on screen yet, so there is nothing to rescale.
void YYGdiDashPattern() {}

namespace {
COLORREF colorRefOf(std::int32_t rgb) { return static_cast<COLORREF>(rgb) & 0x00FFFFFFu; }
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
}

void YYGdiSetRop(int mode) {
  static constexpr int kRops[] = {R2_COPYPEN, R2_MERGEPEN, R2_MASKPEN, R2_XORPEN};
  if (mode < 0 || mode > 3) return;
  yyGdiContext.RopCode = kRops[mode];
  if (yyGdiContext.DrawDc != nullptr) SetROP2(yyGdiContext.DrawDc, yyGdiContext.RopCode);
}

void YYGdiClear(int width, int height, std::int32_t rgb) {
  YYGdiContext& g = yyGdiContext;
  if (g.DrawDc == nullptr) return;
  COLORREF colour = colorRefOf(rgb);
  if (g.MetafileTarget == 0) colour = g.Palette != nullptr ? PALETTEINDEX(0) : GetNearestColor(g.DrawDc, colour);
  GdiObject brush(CreateSolidBrush(colour));
  HGDIOBJ oldBrush = SelectObject(g.DrawDc, brush.get());
  HGDIOBJ oldPen = SelectObject(g.DrawDc, GetStockObject(NULL_PEN));
  const int oldRop = SetROP2(g.DrawDc, R2_COPYPEN);
  Rectangle(g.DrawDc, 0, 0, width + 1, height + 1);
  SetROP2(g.DrawDc, oldRop);
  SelectObject(g.DrawDc, oldPen);
  SelectObject(g.DrawDc, oldBrush);
}

void YYGdiClipRect(int left, int top, int right, int bottom) {
  YYGdiContext& g = yyGdiContext;
  if (g.ClipRegion != nullptr) DeleteObject(g.ClipRegion);
  g.ClipRegion = bottom == -1 ? nullptr : CreateRectRgn(left, top, right, bottom);
}
