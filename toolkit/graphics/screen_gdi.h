#pragma once
// The screen's GDI drawing context: the device context the screen driver and
// the window code draw on, with the palette, pattern bitmap and clip region
// that go with it.

#include <windows.h>

#include <vector>

struct YYGdiContext {
  HDC DrawDc = nullptr;          // the current drawing device context
  HBITMAP DrawBitmap = nullptr;  // selected into DrawDc when it is a memory context
  HWND DrawWindow = nullptr;     // window whose own context DrawDc is
  HPALETTE Palette = nullptr;    // none on displays without a palette
  std::vector<BYTE> PaletteRecord;  // the LOGPALETTE behind Palette
  HBITMAP PatternBitmap = nullptr;  // 8 x 8, source of the checker brush
  int RopCode = R2_COPYPEN;  // GDI ROP2 code of the drawing mode
  HRGN ClipRegion = nullptr;
};
extern YYGdiContext yyGdiContext;

// Sets one logical-palette entry; mode 0 or 1 unrealizes first, 0 or 3 realizes after.
void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode);
// Rescales the dash arrays of the line styles to the current target.
void YYGdiDashPattern();
