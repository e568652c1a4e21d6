#include "formats/device/destinator.h"

#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "formats/device/device_files.h"
#include "toolkit/core/number_format.h"

void WRITE_DESTINATOR3_CSV() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_destinator3_csv");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  const std::string creator = ",Carrowmapper v" + VERSION.str() + ",";
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    out.writeLine(device::lineText(p.DESCRIPTION.trimmed()) + creator +
                  text::withoutLeadingBlanks(formatF(p.LONGITUDE, 10, 5)) + "," +
                  text::withoutLeadingBlanks(formatF(p.LATITUDE, 10, 5)));
  }
  if (!device::closeOutput(out)) return;
  SCROLL(device::wholeNumber(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_destinator3_csv");
}
