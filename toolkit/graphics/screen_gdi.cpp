// The screen's GDI primitive set.
#include "toolkit/graphics/screen_gdi.h"

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
