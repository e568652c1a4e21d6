#pragma once
// The HP-GL/2 driver (hardcopy driver 12): primitives become HP-GL/2 command
// lines on plot unit 2 for five printer and plotter models, through the HP-GL
// line writer.  Models other than 4 wrap the plot in PCL (ESC "%0B" in, each
// page ejected through PCL, ESC "%0A" out); model 4 ends pages with "PG".
// Fills are native, pens are defined by "PC", polylines and polygons go out
// as encoded polylines (PE, 7-bit mode), and comment records CO"k ..." carry
// what a reader needs to rebuild fills, colours, pages and text settings.

#include <cstdint>
#include <string_view>

#include "toolkit/drivers/dither_patterns.h"
#include "toolkit/graphics/graphics_state.h"

// The driver entry of the dispatch.
void YYGHPGL2(YYGrPrimitive& primitive);

// "PC" pen r g b, the components inverted as option 6 asks.
void YYHpglPenColour(std::int32_t pen, int red, int green, int blue);
// The 8 x 4 raster pattern as two lines of 16 values, 1 where the pattern's
// bit is clear, row by row, bit 0 first.
void YYHpglFillPattern(DitherPattern pattern);
// An arc (opcode 34) or a pie (opcode 13), then the restoring line.
void YYHpgl2Arc(YYGrPrimitive opcode, std::string_view restoringText);
// Points 2..N of the point buffer as encoded polylines, relative to point 1;
// each line holds at most kEncodedLineLimit characters.
constexpr int kEncodedLineLimit = 246;
void YYHpglEncodedPolyline();
