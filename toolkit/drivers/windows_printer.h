#pragma once
// The Windows printer driver (hardcopy driver 10).

#include "toolkit/graphics/graphics_state.h"

// One drawing step for the Windows printer.  Opcode 1 initialises: it asks the
// default printer for its colours and records whether a printer is present;
// with no printer at all it records none and reports nothing.  Opcode 1 with
// N = -999 only answers the driver number in N.
void YYGWINPRN(YYGrPrimitive& primitive);

// What opcode 1 learnt of the default printer.
struct YYWindowsPrinter {
  int colourCount = 0;
  int error = 0;  // 0 when the default printer answered
};
extern YYWindowsPrinter yyWindowsPrinter;
