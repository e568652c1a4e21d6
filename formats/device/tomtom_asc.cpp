// TomTom ASC text: the source form of point overlays.
#include <cmath>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/log_display.h"
#include "converter/osgbsubs.h"
#include "converter/text_helpers.h"
#include "formats/device/device_files.h"
#include "formats/device/tomtom.h"
#include "formats/device/tomtom_names.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using device::wholeNumber;

constexpr std::string_view kCommaHint = "Longitude, Latitude, \"Name\"";
constexpr std::string_view kRangeHint = "Valid range is 0 to 60";

// A data error of one line: how the box reads and whether it ends the program.
struct AscError {
  int mode = 1;
  std::string_view message;
  std::string_view hint;
  bool quit = false;
};

// The notation of a coordinate field, with the hints that name what is read.
struct Notation {
  char first;   // separator after the degrees
  char second;  // separator after the minutes
  std::string_view degrees, minutesWithSeconds, seconds, minutesAlone;
};

constexpr Notation kQuoted{'\'', '"', "Degrees from Deg'Min\"Sec or Deg'Min", "Minutes from Deg'Min\"Sec",
                           "Seconds from Deg'Min\"Sec", "Minutes from Deg'Min"};
constexpr Notation kColons{':', ':', "Degrees from Deg:Min:Sec or Deg:Min", "Minutes from Deg:Min:Sec",
                           "Seconds from Deg:Min:Sec", "Minutes from Deg:Min"};

struct Axis {
  bool longitude;
  double limit;
  std::string_view readError, minutesRange, secondsRange, valueRange, rangeHint, decimalHint;
};

constexpr Axis kLongitudeAxis{true,
                              180.0,
                              "Error reading Longitude",
                              "Longitude Minutes out of range",
                              "Longitude Seconds out of range",
                              "Longitude value out of range",
                              "Valid range is -180 to 180 degrees",
                              "Decimal degree or Deg'Min\"Sec or Deg:Min:Sec"};
constexpr Axis kLatitudeAxis{false,
                             90.0,
                             "Error reading Latitude",
                             "Latitude Minutes out of range",
                             "Latitude Seconds out of range",
                             "Latitude value out of range",
                             "Valid range is -90 to 90 degrees",
                             "Decimal degrees or Deg'Min\"Sec or Deg:Min:Sec"};

bool inSixty(double value) { return value >= 0.0 && value <= 60.0; }

// A longitude or latitude field in decimal degrees, Deg'Min"Sec or Deg:Min:Sec.
bool readCoordinate(std::string_view field, const Axis& axis, double& value, AscError& error) {
  const Notation* notation = field.find('\'') != std::string_view::npos   ? &kQuoted
                             : field.find(':') != std::string_view::npos ? &kColons
                                                                          : nullptr;
  auto readFailure = [&](std::string_view hint) {
    error = {3, axis.readError, hint, false};
    return false;
  };
  if (notation == nullptr) {
    if (!device::readReal(field, value)) return readFailure(axis.decimalHint);
  } else {
    std::string_view rest = field;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (negative) rest.remove_prefix(1);
    const std::size_t separator = rest.find(notation->first);
    double degrees = 0.0;
    if (!device::readReal(rest.substr(0, separator), degrees)) return readFailure(notation->degrees);
    const std::string_view remainder = rest.substr(separator + 1);
    if (!text::isBlank(remainder)) {
      const std::size_t second = remainder.find(notation->second);
      double minutes = 0.0;
      if (second != std::string_view::npos) {
        if (!device::readReal(remainder.substr(0, second), minutes)) return readFailure(notation->minutesWithSeconds);
        if (!inSixty(minutes)) {
          error = {1, axis.minutesRange, kRangeHint, false};
          return false;
        }
        degrees += minutes / 60.0;
        const std::string_view secondsText = remainder.substr(second + 1);
        if (!text::isBlank(secondsText)) {
          double seconds = 0.0;
          if (!device::readReal(secondsText, seconds)) return readFailure(notation->seconds);
          if (!inSixty(seconds)) {
            error = {1, axis.secondsRange, kRangeHint, false};
            return false;
          }
          degrees += seconds / 3600.0;
        }
      } else {
        if (!device::readReal(remainder, minutes)) return readFailure(notation->minutesAlone);
        if (!inSixty(minutes)) {
          error = {1, axis.minutesRange, kRangeHint, false};
          return false;
        }
        degrees += minutes / 60.0;
      }
    }
    value = negative ? -degrees : degrees;
  }
  if (!(std::fabs(value) <= axis.limit)) {
    error = {1, axis.valueRange, axis.rangeHint, false};
    return false;
  }
  return true;
}

// One quoted text field of the rest of a line; false when its quote is not closed.
// The field is taken whole, quotes and all, before it is cut to the point's text.
bool readText(std::string_view rest, int& position, FixedText<256>& field, Logical& atEnd) {
  std::int32_t status = 0;
  FixedText<kRecordLength> whole;
  GET_QCSV_FIELD(rest, position, whole, atEnd, status);
  field = whole.view();
  return status != 2;
}

enum class LineOutcome { kPoint, kDataError, kGridError };

// A point line, without its leading blanks.  The point is filled only when the
// whole line has been read.
LineOutcome readPointLine(std::string_view line, POINT_RECORD& p, AscError& error, FixedText<128>& reference) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) {
    error = {2, "No comma separators", kCommaHint, true};
    return LineOutcome::kDataError;
  }
  FixedText<128> first(line.substr(0, comma));
  std::string_view rest = line.substr(comma + 1);
  UCASE(first);
  double longitude = 0.0, latitude = 0.0;
  if (first.column(1) >= 'A' && first.column(1) <= 'Z') {
    reference = first;
    if (!text::equal(REFTOCOORDS(reference, SLOT), "-1") || !COORDSTOLL(SLOT)) return LineOutcome::kGridError;
    latitude = OSGB_SLOTS.LATITUDE(SLOT);
    longitude = OSGB_SLOTS.LONGITUDE(SLOT);
    REVHELMERT(latitude, longitude);
  } else {
    if (!readCoordinate(first.view(), kLongitudeAxis, longitude, error)) return LineOutcome::kDataError;
    const std::size_t next = rest.find(',');
    if (next == std::string_view::npos) {
      error = {2, "Comma missing", kCommaHint, false};
      return LineOutcome::kDataError;
    }
    if (!readCoordinate(rest.substr(0, next), kLatitudeAxis, latitude, error)) return LineOutcome::kDataError;
    rest = rest.substr(next + 1);
  }
  if (text::isBlank(rest)) {
    error = {2, "Name missing", "Longitude, Latitude,\"Name\"", false};
    return LineOutcome::kDataError;
  }
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  int position = 1;
  Logical atEnd = kLogicalFalse;
  const AscError unclosed{1, "Syntax error", "Closing double quote (\") missing", false};
  if (!readText(rest, position, p.DESCRIPTION, atEnd)) {
    error = unclosed;
    return LineOutcome::kDataError;
  }
  p.COMMENT.blank();
  if (!isTrue(atEnd) && !readText(rest, position, p.COMMENT, atEnd)) {
    error = unclosed;
    return LineOutcome::kDataError;
  }
  if (p.DESCRIPTION.isBlank()) {
    error = {2, "Name missing", kCommaHint, false};
    return LineOutcome::kDataError;
  }
  p.LONGITUDE = static_cast<float>(longitude);
  p.LATITUDE = static_cast<float>(latitude);
  p.NAME.blank();
  device::setReadDefaults(p, "Waypoint", "Point data");
  return LineOutcome::kPoint;
}

std::string coordinatePair(const POINT_RECORD& p) {
  return formatF(p.LONGITUDE, 10, 5) + "," + formatF(p.LATITUDE, 10, 5);
}

}  // namespace

void READ_ASC() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_asc");
  device::InputFile in;
  if (!device::openInput(in)) return;
  int length = 0;
  while (in.readLine(RECORD_BUFFER, length)) {
    const std::string_view asRead = RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length));
    // Empty lines and lines of blanks carry nothing; ";" starts a comment.
    std::string_view line = text::trimmed(asRead);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.empty() || line.front() == ';') continue;
    POINT_RECORD point;
    AscError error;
    FixedText<128> reference;
    const LineOutcome outcome = readPointLine(line, point, error, reference);
    if (outcome == LineOutcome::kPoint) {
      POINT_RECORD* slot = STORE_POINT();
      if (slot == nullptr) return;
      *slot = point;
      continue;
    }
    if (outcome == LineOutcome::kGridError) {
      WMessageBox(0, 3, 1,
                  reference.str() + "\rInvalid OS reference -\rneeds 2 letters and an even number of digits",
                  "Error");
    } else {
      ERROR(error.mode, error.message, error.hint, asRead, error.quit ? "quit" : "continue");
      if (error.quit) return;
    }
    in.close();
    SCROLL(" File closed");
    return;
  }
  in.close();
  SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_asc");
}

void WRITE_ASC() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_asc");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  CDATE(DEFAULT_DATE);
  const bool grid = isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT);
  out.writeLine(";* Created by Carrowmapper version " + VERSION.str() + " on " + DEFAULT_DATE.str());
  if (grid) {
    out.writeLine(";* WGS84 to OSGB36 transformation");
    out.writeLine(";* OSGB36 reference, \"Name\" [, \"Description\"]");
  } else {
    out.writeLine(";* Longitude, Latitude, \"Name\" [, \"Description\"]");
  }
  FixedText<128> name;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    device::tomtomName(i, name);
    const std::string_view description =
        TOMTOM_SETTINGS.NAME_SOURCE == 2 || TOMTOM_SETTINGS.NAME_SOURCE == 3 ? p.DESCRIPTION.trimmed()
                                                                              : p.COMMENT.trimmed();
    std::string texts(1, '"');
    texts += device::lineText(name.trimmed()) + "\"";
    if (!description.empty()) texts += ", \"" + device::lineText(description) + "\"";
    std::string reference;
    if (grid) {
      double latitude = p.LATITUDE, longitude = p.LONGITUDE, height = 0.0;
      HELTRANS(latitude, longitude, height);
      OSGB_SLOTS.LATITUDE(SLOT) = latitude;
      OSGB_SLOTS.LONGITUDE(SLOT) = longitude;
      LLTOCOORDS(SLOT);
      const FixedText<25> written = OSREFERENCE(SLOT);
      if (!text::equal(written, "Invalid OS reference")) reference = written.str();
    }
    // A point outside the grid keeps its longitude and latitude.
    out.writeLine(reference.empty() ? coordinatePair(p) + ", " + texts : reference + "," + texts);
  }
  out.writeLine(";* " + formatI(POINT_LIST.NPOINTS, 5) + " POI records written.");
  if (!device::closeOutput(out)) return;
  SCROLL(wholeNumber(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_asc");
}
