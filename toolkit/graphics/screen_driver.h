#pragma once
// The screen driver: executes one primitive on the current screen target.

#include "toolkit/graphics/graphics_state.h"

void YYGAPI(YYGrPrimitive& primitive);
