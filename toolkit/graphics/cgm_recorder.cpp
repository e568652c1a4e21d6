#include "toolkit/graphics/cgm_recorder.h"

// No CGM slot can be made the target yet, so there is nothing to record into.
void YYGCGMMEM(YYGrPrimitive&) {}
