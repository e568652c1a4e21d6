#pragma once
// The Windows printer driver (hardcopy driver 10): prints through the Windows
// print manager on the default printer, under the device name "XXWIN".

#include "toolkit/drivers/gdi_driver_steps.h"
#include "toolkit/graphics/graphics_state.h"

// One drawing step for the Windows printer.  Opcode 1 initialises: it asks the
// default printer for its page and colours and publishes them as the hardcopy
// page options; with no printer at all it records none and reports nothing
// (opcode 18 reports then).  Opcode 1 with N = -999 only answers the driver
// number in N.
void YYGWINPRN(YYGrPrimitive& primitive);

// The driver's own state between opcodes.
struct YYWindowsPrinter {
  YYDriverColours colours;
  int colourCount = 0;        // the printer's, from opcode 1
  int error = 0;              // 0 when the default printer answered at opcode 1
  int documentColours = 0;    // from opcode 18
  int documentError = 0;
  int pageWidth = 0;          // device pixels
  int pageHeight = 0;
  float resolutionX = 0.0f;
  float resolutionY = 0.0f;
  int ascent = 0;             // of the current font, device pixels
  int cellHeight = 0;
  int textWidth = 0;          // from opcode 25
};
extern YYWindowsPrinter yyWindowsPrinter;
