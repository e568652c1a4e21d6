#pragma once
// The hardcopy dispatcher: hands a primitive to the selected hardcopy driver.

#include "toolkit/core/fixed_text.h"
#include "toolkit/graphics/graphics_state.h"

// The selected hardcopy driver: 1 HP-GL, 2 PostScript, 3 SVG, 4 raster printer,
// 6 raster image, 8 DXF, 9 CGM, 10 Windows printer, 11 Windows metafile, 12 HP-GL/2.
constexpr int kWindowsPrinterDriver = 10;
constexpr int kWindowsMetafileDriver = 11;
extern int yyHardcopyDriverNumber;

// The plot title (the printer's document name, the metafile's description).
extern FixedText<200> yyPlotTitle;

void YYHCDISPATCH(YYGrPrimitive& primitive);

// The options every driver starts from at opcode 1.
void YYDriverDefaults();
