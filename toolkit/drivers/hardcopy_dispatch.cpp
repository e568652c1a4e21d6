#include "toolkit/drivers/hardcopy_dispatch.h"

#include "toolkit/drivers/windows_printer.h"

int yyHardcopyDriverNumber = kWindowsPrinterDriver;

// Only the Windows printer driver exists so far; primitives for any other
// driver number go nowhere.
void YYHCDISPATCH(YYGrPrimitive& primitive) {
  if (yyHardcopyDriverNumber == kWindowsPrinterDriver) YYGWINPRN(primitive);
}
