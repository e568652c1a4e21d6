#pragma once
// Hardcopy driver 9: binary CGM files ("zndvplot.cgm" unless the hardcopy
// start names another), written through plot unit 2.  Coordinates are the
// surface units scaled to a VDC extent of 600 units per inch of the page
// (options 1 and 2, in points), the longer side at most 32767.

#include <cstdint>

#include "toolkit/graphics/cgm_encoder.h"
#include "toolkit/graphics/graphics_state.h"

// What the driver keeps between primitives.
struct YYCgmFileState {
  int vdcWidth = 0;
  int vdcHeight = 0;
  float pageAspect = 1.0f;  // option 1 / option 2
  CgmRgb current;           // after the grey conversion of option 6
  CgmAttributeCache cache;
  bool plotOpen = false;     // BEGIN METAFILE written, END METAFILE not yet
  bool pictureOpen = false;  // BEGIN PICTURE written, END PICTURE not yet
};
extern YYCgmFileState yyCgmFile;

void YYGCGMFILE(YYGrPrimitive& primitive);

// Option 6 = 1 inverts every component; option 6 = 2 swaps only near-white
// and near-black; anything else leaves the colour alone.
void YYCgmGreyColour(int& red, int& green, int& blue);
