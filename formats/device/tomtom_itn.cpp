// TomTom ITN itineraries: longitude|latitude|name|flag| lines ended by a line feed.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/device/device_files.h"
#include "formats/device/tomtom.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using device::wholeNumber;

constexpr double kUnitsPerDegree = 100000.0;

std::string_view flagWord(std::int32_t flag) {
  switch (flag) {
    case 0:
      return "DISABLED";
    case 1:
      return "DRIVEBY";
    case 3:
      return "DESTINATION";
    case 4:
      return "DEPARTURE";
    default:
      return "UNDEFINED";
  }
}

// A coordinate field in 1e-5 degrees, within the range of its axis.
bool readCoordinate(std::string_view field, double limit, float& degrees) {
  double units = 0.0;
  if (!device::readReal(field, units)) return false;
  const double value = units / kUnitsPerDegree;
  if (!(std::fabs(value) <= limit)) return false;
  degrees = static_cast<float>(value);
  return true;
}

// One line: longitude|latitude|name|flag, the flag ended by "|" or the line's end.
bool readItineraryLine(std::string_view line, POINT_RECORD& p) {
  const std::size_t bar1 = line.find('|');
  const std::size_t bar2 = bar1 == std::string_view::npos ? bar1 : line.find('|', bar1 + 1);
  const std::size_t bar3 = bar2 == std::string_view::npos ? bar2 : line.find('|', bar2 + 1);
  if (bar3 == std::string_view::npos) return false;
  if (!readCoordinate(line.substr(0, bar1), 180.0, p.LONGITUDE) ||
      !readCoordinate(line.substr(bar1 + 1, bar2 - bar1 - 1), 90.0, p.LATITUDE)) {
    return false;
  }
  p.DESCRIPTION = line.substr(bar2 + 1, bar3 - bar2 - 1);
  const std::string_view rest = line.substr(bar3 + 1);
  const std::string_view flagField = rest.substr(0, rest.find('|'));
  std::int32_t flag = -1;
  if (!text::isBlank(flagField) && !device::readInteger(flagField, flag)) return false;
  p.NAME = flagWord(flag);
  return true;
}

}  // namespace

void READ_ITN() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_itn");
  FixedText<64> route;
  carrowmapper::FILE(FILE_NAMES.INPUT_FILE.view(), route);
  device::InputFile in;
  if (!device::openInput(in)) return;
  int skipped = 0;
  int length = 0;
  while (in.readLine(RECORD_BUFFER, length)) {
    const std::string_view line = RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length));
    if (text::isBlank(line)) continue;
    POINT_RECORD point;
    if (!readItineraryLine(line, point)) {
      ++skipped;
      continue;
    }
    POINT_RECORD* p = STORE_POINT();
    if (p == nullptr) return;
    *p = point;
    p->COMMENT.blank();
    device::setReadDefaults(*p, "Dot", route.view());
  }
  in.close();
  if (skipped > 0) {
    WMessageBox(0, 4, 1,
                "Lines skipped: " + wholeNumber(skipped) + "\rThey are not of the form\rLongitude|Latitude|Name|Flag|",
                "Carrowmapper Error");
  }
  SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read from 1 route");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_itn");
}

void WRITE_ITN() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_itn");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  const int n = POINT_LIST.NPOINTS;
  for (int i = 1; i <= n; ++i) {
    POINT_RECORD& p = POINT_LIST.POINT(i);
    if (p.DESCRIPTION.isBlank()) p.DESCRIPTION = "Item " + wholeNumber(i);
    std::string name(p.DESCRIPTION.trimmed());
    if (!p.COMMENT.isBlank()) name += ", " + std::string(p.COMMENT.trimmed());
    // A "|" would end the name early and shift the flag.
    name = device::lineText(name);
    std::replace(name.begin(), name.end(), '|', '/');
    const char* flag = i == 1 ? "4" : i == n ? "3" : "1";
    out.write(wholeNumber(device::nearestWhole(static_cast<double>(p.LONGITUDE) * kUnitsPerDegree)) + "|" +
              wholeNumber(device::nearestWhole(static_cast<double>(p.LATITUDE) * kUnitsPerDegree)) + "|" + name + "|" +
              flag + "|\n");
  }
  if (!device::closeOutput(out)) return;
  SCROLL(wholeNumber(n) + " points written to 1 route");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_itn");
}
