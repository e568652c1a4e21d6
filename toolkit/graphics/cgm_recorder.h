#pragma once
// The in-memory CGM recorder: records primitives while a CGM slot is the target.

#include "toolkit/graphics/graphics_state.h"

void YYGCGMMEM(YYGrPrimitive& primitive);

// Frees the CGM byte buffer of metafile slot 1-20 and clears its descriptor.
void YYCgmMemRelease(int slot);
