#pragma once
// The hardcopy dispatcher: hands a primitive to the selected hardcopy driver.

#include "toolkit/graphics/graphics_state.h"

// The selected hardcopy driver: 1 HP-GL, 2 PostScript, 3 SVG, 4 raster printer,
// 6 raster image, 8 DXF, 9 CGM, 10 Windows printer, 11 Windows metafile, 12 HP-GL/2.
constexpr int kWindowsPrinterDriver = 10;
extern int yyHardcopyDriverNumber;

void YYHCDISPATCH(YYGrPrimitive& primitive);
