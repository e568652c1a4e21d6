#include "toolkit/drivers/windows_printer.h"

#include <windows.h>
#include <winspool.h>

#include <string>

#include "toolkit/drivers/hardcopy_dispatch.h"
#include "toolkit/drivers/hardcopy_setup.h"

YYWindowsPrinter yyWindowsPrinter;

namespace {
void initialise() {
  yyWindowsPrinter = YYWindowsPrinter{};
  char name[512] = {};
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size) || name[0] == '\0') {
    yyWindowsPrinter.error = static_cast<int>(GetLastError());
    if (yyWindowsPrinter.error == 0) yyWindowsPrinter.error = ERROR_INVALID_PRINTER_NAME;
  } else if (HDC ic = CreateICA("WINSPOOL", name, nullptr, nullptr); ic != nullptr) {
    yyWindowsPrinter.colourCount = GetDeviceCaps(ic, NUMCOLORS);
    DeleteDC(ic);
  } else {
    yyWindowsPrinter.error = static_cast<int>(GetLastError());
    if (yyWindowsPrinter.error == 0) yyWindowsPrinter.error = ERROR_INVALID_PRINTER_NAME;
  }
  yyDumpSettings.printerPresent = yyWindowsPrinter.error == 0 ? 1 : 0;
}
}  // namespace

void YYGWINPRN(YYGrPrimitive& primitive) {
  if (primitive != kOpInitialise) return;
  if (yyGrState.N == kDriverProbe) {
    yyGrState.N = kWindowsPrinterDriver;
    return;
  }
  initialise();
}
