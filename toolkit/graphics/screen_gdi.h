#pragma once
// The screen's GDI drawing context and the GDI routines the screen driver draws
// with.  Points are device pixels with y downward.

#include <windows.h>

#include <cstdint>
#include <vector>

struct YYGdiContext {
  HDC DrawDc = nullptr;          // the current drawing device context
  HBITMAP DrawBitmap = nullptr;  // selected into DrawDc when it is a memory context
  HWND DrawWindow = nullptr;     // window whose own context DrawDc is
  HPALETTE Palette = nullptr;    // none on displays without a palette
  std::vector<BYTE> PaletteRecord;  // the LOGPALETTE behind Palette
  int MetafileTarget = 0;        // non-zero while the context records a metafile
  HBITMAP PatternBitmap = nullptr;  // 8 x 8, source of the checker brush
  int PatternDirty = 1;          // colours changed since the checker was painted
  COLORREF CurrentColorRef = 0;
  COLORREF PreviousColorRef = 0;
  int RopCode = R2_COPYPEN;      // GDI ROP2 code of the drawing mode
  HRGN ClipRegion = nullptr;
};
extern YYGdiContext yyGdiContext;

// The current colour: a palette index on palette displays, the RGB value on
// metafile targets, else the nearest colour the device has.
void YYGdiSetColour(int deviceColour, std::int32_t rgb);
// Drawing mode 0 copy, 1 OR, 2 AND, 3 XOR; other values change nothing.
void YYGdiSetRop(int mode);
// Fills (0, 0)-(width, height) inclusive with rgb.
void YYGdiClear(int width, int height, std::int32_t rgb);
// Clips to the rectangle (right and bottom exclusive), or clips nothing when bottom is -1.
void YYGdiClipRect(int left, int top, int right, int bottom);
// Sets one logical-palette entry; mode 0 or 1 unrealizes first, 0 or 3 realizes after.
void YYGdiRealizePaletteEntry(int index, unsigned long rgb, int mode);
// Rescales the dash arrays of the line styles to the current target.
void YYGdiDashPattern();
