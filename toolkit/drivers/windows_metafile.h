#pragma once
// The Windows metafile driver (hardcopy driver 11): the drawing as a Windows
// metafile or an enhanced metafile, in a file or on the clipboard.  Option 27
// chooses the kind (0 plain, 1 with the placeable header, 2 enhanced), option
// 29 the enhanced metafile's pens; N at opcode 18 the clipboard (non-zero).

#include "toolkit/drivers/gdi_driver_steps.h"
#include "toolkit/graphics/graphics_state.h"

void YYGWINMETA(YYGrPrimitive& primitive);

// The driver's own state between opcodes.
struct YYWindowsMetafile {
  YYDriverColours colours;
  int width = 0;        // the picture in its own units: 1/720 inch, or reference pixels
  int height = 0;
  int enhanced = 0;     // 1 for an enhanced metafile
  float scale = 0.0f;   // reference pixels per 1/720 inch of an enhanced metafile
  int textWidth = 0;    // from opcode 25
};
extern YYWindowsMetafile yyWindowsMetafile;
