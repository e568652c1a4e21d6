// The graphics colour table and the palette entries behind it.
#include <windows.h>

#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_state.h"

// The 16 standard colours first, then a grey ramp over the rest.
void YYColourDefaults() {
  for (int i = 0; i < kGraphicsColours; ++i) {
    if (i < static_cast<int>(kStandardWindowColours.size())) {
      yyColourTable[static_cast<std::size_t>(i)] = kStandardWindowColours[static_cast<std::size_t>(i)];
    } else {
      const int level = (i - 16) * 255 / (kGraphicsColours - 17);
      yyColourTable[static_cast<std::size_t>(i)] = RGB(level, level, level);
    }
  }
}

void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode) {
  if (yyDrawTarget.kind == kTargetMetafile) return;
  HPALETTE palette = windowTable.palette;
  if (palette == nullptr || windowTable.paletteBlock.empty()) return;
  auto* logical = reinterpret_cast<LOGPALETTE*>(windowTable.paletteBlock.data());
  if (index < 0 || index >= logical->palNumEntries) return;
  PALETTEENTRY& entry = logical->palPalEntry[index];
  entry.peRed = GetRValue(rgb);
  entry.peGreen = GetGValue(rgb);
  entry.peBlue = GetBValue(rgb);
  entry.peFlags = 0;
  if (mode == 0 || mode == 1) UnrealizeObject(palette);
  SetPaletteEntries(palette, static_cast<UINT>(index), 1, &entry);
  HDC dc = static_cast<HDC>(yyDrawTarget.dc);
  if ((mode == 0 || mode == 3) && dc != nullptr) {
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
}

// Line-style dash lengths follow the target's resolution; no line styles are
// drawn on screen yet, so there is nothing to recompute.
void YYGdiSelectTarget() {}
