#include "formats/tabular/mapsource.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "formats/tabular/coordinate_parsers.h"
#include "formats/tabular/record_files.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr int kMaxWaypoints = 1000;

enum class LineKind { kOther, kGrid, kWaypoint, kRouteHeader, kRoutePoint, kTrackHeader, kTrackPoint };

bool startsWith(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }

LineKind kindOf(std::string_view line) {
  if (startsWith(line, "Grid")) return LineKind::kGrid;
  if (startsWith(line, "Waypoint")) return LineKind::kWaypoint;
  if (startsWith(line, "Route\t")) return LineKind::kRouteHeader;
  if (startsWith(line, "Route Waypoint")) return LineKind::kRoutePoint;
  if (startsWith(line, "Track\t")) return LineKind::kTrackHeader;
  if (startsWith(line, "Trackpoint")) return LineKind::kTrackPoint;
  return LineKind::kOther;
}

// The fields of one line, taken in turn.
class Fields {
 public:
  explicit Fields(std::string_view line) : line_(line) {}
  // The next tab-separated field.
  const FixedText<128>& next() {
    GET_TABBED_FIELD(line_, position_, field_);
    return field_;
  }
  void skip(int count) {
    for (int i = 0; i < count; ++i) next();
  }

 private:
  std::string_view line_;
  int position_ = 1;
  FixedText<128> field_;
};

// A fault of a line: the data-error box ends the program once it is closed.
struct NumberFault {
  std::string_view hint;
};
void reportNumberFault(const NumberFault& fault, std::string_view line) {
  ERROR(2, "Data format error", fault.hint, line, "quit");
}

constexpr NumberFault kLatitudeFault{"Latitude value as Hddd.ddddd"};
constexpr NumberFault kLongitudeFault{"Longitude value as Hddd.ddddd"};
constexpr NumberFault kAltitudeFault{"Altitude as integer value"};
constexpr NumberFault kProximityFault{"Proximity as decimal value"};

// A position field: two words, each a hemisphere letter and decimal degrees.
// South and west are negative; the first character is always the letter.
std::optional<NumberFault> readPosition(std::string_view field, POINT_RECORD& point) {
  int position = 1;
  FixedText<128> word;
  GET_FIELD(field, position, word);
  const std::optional<float> latitude = readFreeReal(word.view().substr(1));
  if (!latitude || !isRealLatitude(*latitude)) return kLatitudeFault;
  point.LATITUDE = word.column(1) == 'S' ? -*latitude : *latitude;
  GET_FIELD(field, position, word);
  const std::optional<float> longitude = readFreeReal(word.view().substr(1));
  if (!longitude || !isRealLongitude(*longitude)) return kLongitudeFault;
  point.LONGITUDE = word.column(1) == 'W' ? -*longitude : *longitude;
  return std::nullopt;
}

// A number field that may be blank: the blank value then.
std::optional<NumberFault> readOptional(std::string_view field, float blankValue, const NumberFault& fault,
                                        float& value) {
  if (text::isBlank(field)) {
    value = blankValue;
    return std::nullopt;
  }
  const std::optional<float> v = readFreeReal(field);
  if (!v || !isRealMeasure(*v)) return fault;
  value = *v;
  return std::nullopt;
}

// A waypoint line as a point of the list or an entry of the route reader's table.
std::optional<NumberFault> readWaypoint(std::string_view line, POINT_RECORD& point) {
  point = POINT_RECORD{};
  Fields fields(line);
  fields.next();  // "Waypoint"
  point.NAME = fields.next();
  const FixedText<128>& description = fields.next();
  point.DESCRIPTION = description.isBlank() ? point.NAME.view() : description.view();
  fields.skip(1);
  if (auto fault = readPosition(fields.next(), point)) return fault;
  if (auto fault = readOptional(fields.next(), kNoValue, kAltitudeFault, point.ALTITUDE)) return fault;
  fields.skip(1);
  if (auto fault = readOptional(fields.next(), 0.0f, kProximityFault, point.PROXIMITY)) return fault;
  fields.skip(2);
  const FixedText<128>& colour = fields.next();
  if (colour.view().substr(0, 7) == "Unknown") {
    point.COLOUR.blank();
  } else {
    point.COLOUR = colour.view();
  }
  point.SYMBOL_NAME = fields.next().view();
  point.SYMBOL = LOOKUP_CI(point.SYMBOL_NAME, 16, GARMIN_SYMBOLS.names, GARMIN_SYMBOLS.codes);
  point.COMMENT.blank();
  point.DATE = FILE_DATE;
  point.TIME = FILE_TIME;
  point.ROUTE_NAME = "Point data";
  return std::nullopt;
}

std::optional<NumberFault> readTrackpoint(std::string_view line, POINT_RECORD& point) {
  point = POINT_RECORD{};
  Fields fields(line);
  fields.next();  // "Trackpoint"
  if (auto fault = readPosition(fields.next(), point)) return fault;
  const FixedText<128>& when = fields.next();
  point.DATE = when.view().substr(0, 10);
  point.TIME = when.view().substr(11, 8);
  if (auto fault = readOptional(fields.next(), kNoValue, kAltitudeFault, point.ALTITUDE)) return fault;
  point.PROXIMITY = 0.0f;
  point.SYMBOL = kNoSymbol;
  point.SYMBOL_NAME = "Dot";
  point.ROUTE_NAME = POINT_LIST.CURRENT_ROUTE;
  return std::nullopt;
}

// Characters 6 to 23 of a "Grid" line name the coordinate system; only decimal
// degrees with a hemisphere letter are understood.  False after the box.
bool acceptGrid(std::string_view line) {
  if (line.substr(5, 18) == "Lat/Lon hddd.ddddd") return true;
  ERROR(2, "Unsupported Coordinate system", "Grid Lat/Lon hddd.ddddd", line, "quit");
  return false;
}

// Stores a point read from a line; false when reading must stop (the storage
// limit, or a fault whose box asked the program to end).
template <typename Reader>
bool storeLine(std::string_view line, Reader reader) {
  return STORE_FILLED_POINT([&](POINT_RECORD& point) {
    const std::optional<NumberFault> fault = reader(line, point);
    if (fault) reportNumberFault(*fault, line);
    return !fault;
  });
}

// Reads INPUT_FILE line by line: empty lines are skipped, "Grid" lines checked,
// and every other line goes to the handler with its kind.  True when the whole
// file was read; false when it could not be opened or the handler or a "Grid"
// line stopped the reading.
template <typename Handler>
bool readLines(Handler handle) {
  TextInputFile file;
  if (!file.open(FILE_NAMES.INPUT_FILE)) {
    FILE_ERROR_BOX("The file could not be opened:", FILE_NAMES.INPUT_FILE);
    return false;
  }
  TextField line = RECORD_BUFFER;
  int length = 0;
  while (file.readLine(line, length)) {
    if (length == 0) continue;
    const LineKind kind = kindOf(line);
    if (kind == LineKind::kGrid) {
      if (!acceptGrid(line)) return false;
    } else if (!handle(kind, line.view())) {
      return false;
    }
  }
  return true;
}

// The name of a route or track header line: its second field.
FixedText<64> headerName(std::string_view line) {
  Fields fields(line);
  fields.next();
  return FixedText<64>(fields.next().view());
}

}  // namespace

void READ_TXT() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_txt");
  const bool whole = readLines([](LineKind kind, std::string_view line) {
    return kind != LineKind::kWaypoint || storeLine(line, readWaypoint);
  });
  if (!whole) return;
  SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_txt");
}

void READ_TXT_ROUTE() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_txt_route");
  POINT_LIST.NROUTES = 0;
  std::vector<POINT_RECORD> waypoints;
  // The first waypoint of each name, so that a route point finds its waypoint
  // in one look-up however many the file lists.
  std::unordered_map<std::string, std::size_t> firstNamed;
  const bool whole = readLines([&](LineKind kind, std::string_view line) {
    switch (kind) {
      case LineKind::kWaypoint: {
        if (static_cast<int>(waypoints.size()) == kMaxWaypoints) {
          WMessageBox(kOkOnly, kInformationIcon, 1,
                      "Too many waypoints entries in file.\rMaximum is" + formatI(kMaxWaypoints, 6), "Storage limit");
          STOP_FLAG = kLogicalTrue;
          return false;
        }
        const std::optional<NumberFault> fault = readWaypoint(line, waypoints.emplace_back());
        firstNamed.try_emplace(std::string(waypoints.back().NAME.view()), waypoints.size() - 1);
        if (fault) reportNumberFault(*fault, line);
        return !fault;
      }
      case LineKind::kRouteHeader:
        POINT_LIST.NROUTES += 1;
        POINT_LIST.CURRENT_ROUTE = headerName(line);
        return true;
      case LineKind::kRoutePoint:
        return STORE_FILLED_POINT([&](POINT_RECORD& point) {
          Fields fields(line);
          fields.next();
          point.NAME = fields.next();
          // A waypoint that the file does not list before the route point leaves
          // the point with its name only: no position, no values of another point.
          point.PROXIMITY = 0.0f;
          if (const auto named = firstNamed.find(std::string(point.NAME.view())); named != firstNamed.end()) {
            const POINT_RECORD& waypoint = waypoints[named->second];
            point.LATITUDE = waypoint.LATITUDE;
            point.LONGITUDE = waypoint.LONGITUDE;
            point.ALTITUDE = waypoint.ALTITUDE;
            point.DESCRIPTION = waypoint.DESCRIPTION;
            point.PROXIMITY = waypoint.PROXIMITY;
            point.SYMBOL = waypoint.SYMBOL;
            point.SYMBOL_NAME = waypoint.SYMBOL_NAME;
            point.COLOUR = waypoint.COLOUR;
          }
          point.ROUTE_NAME = POINT_LIST.CURRENT_ROUTE;
          point.DATE = FILE_DATE;
          point.TIME = FILE_TIME;
          point.COMMENT.blank();
          return true;
        });
      default:
        return true;
    }
  });
  if (!whole) return;
  SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " routes");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_txt_route");
}

void READ_TXT_TRACK() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_txt_track");
  // A filter of 0 or less would leave nothing to count by.
  const std::int32_t filter = CONVERTER_SETTINGS.TRACK_FILTER > 1 ? CONVERTER_SETTINGS.TRACK_FILTER : 1;
  if (filter > 1) SCROLL("Track filter is set to " + std::to_string(filter));
  POINT_LIST.NROUTES = 0;
  POINT_LIST.NTRACKPOINTS = 0;
  POINT_LIST.TRACK_POSITION = 0;
  const bool whole = readLines([&](LineKind kind, std::string_view line) {
    if (kind == LineKind::kTrackHeader) {
      POINT_LIST.NROUTES += 1;
      POINT_LIST.CURRENT_ROUTE = headerName(line);
      POINT_LIST.TRACK_POSITION = 0;
    } else if (kind == LineKind::kTrackPoint) {
      if (POINT_LIST.TRACK_POSITION % filter == 0 && !storeLine(line, readTrackpoint)) return false;
      POINT_LIST.TRACK_POSITION += 1;
      POINT_LIST.NTRACKPOINTS += 1;
    }
    return true;
  });
  if (!whole) return;
  if (filter > 1) {
    SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " of " + formatI(POINT_LIST.NTRACKPOINTS, 4) + " points read from" +
                 formatI(POINT_LIST.NROUTES, 3) + " tracks");
  } else {
    SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " tracks");
  }
  // The track reader names itself again at its end, as on entry.
  DEBUG_MARK(DebugMark::kSubroutine, "read_txt_track");
}
