#include "toolkit/drivers/hardcopy_dispatch.h"

#include <utility>

#include "toolkit/drivers/hardcopy_options.h"
#include "toolkit/drivers/windows_metafile.h"
#include "toolkit/drivers/windows_printer.h"

int yyHardcopyDriverNumber = kWindowsPrinterDriver;
FixedText<200> yyPlotTitle;

// Only the Windows drivers exist so far; primitives for any other driver
// number go nowhere.
void YYHCDISPATCH(YYGrPrimitive& primitive) {
  if (yyHardcopyDriverNumber == kWindowsPrinterDriver) YYGWINPRN(primitive);
  if (yyHardcopyDriverNumber == kWindowsMetafileDriver) YYGWINMETA(primitive);
}

void YYDriverDefaults() {
  for (const auto& [option, value] : {std::pair{6, 0}, {7, 0}, {8, 1}, {9, 5}, {10, 0}, {11, 0}, {17, 0}}) {
    yyHardcopyOptions[static_cast<std::size_t>(option)] = value;
  }
}
