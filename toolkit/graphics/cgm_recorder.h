#pragma once
// The in-memory CGM recorder: records primitives while a CGM slot is the target.

#include "toolkit/graphics/graphics_state.h"

void YYGCGMMEM(YYGrPrimitive& primitive);
