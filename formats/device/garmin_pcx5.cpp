// Garmin PCX5 2.00 text files: waypoints (.wpt), routes (.rte) and tracks (.trk).
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/identifiers.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "formats/device/device_files.h"
#include "formats/device/garmin.h"
#include "formats/device/unique_names.h"
#include "toolkit/core/number_format.h"

namespace {

using device::columns;
using device::wholeNumber;

constexpr std::string_view kWaypointColumnLine =
    "H IDNT   LATITUDE   LONGITUDE   DATE      TIME     ALT   DESCRIPTION                             PROXIMITY    SYMBOL";
constexpr std::string_view kTrackColumnLine = "H  LATITUDE   LONGITUDE   DATE      TIME     ALT";
static_assert(kWaypointColumnLine.size() == 116 && kWaypointColumnLine.find("SYMBOL") == 110);
static_assert(kWaypointColumnLine.find("PROXIMITY") == 97 && kWaypointColumnLine.find("DESCRIPTION") == 57);
static_assert(kTrackColumnLine.size() == 48 && kTrackColumnLine.find("ALT") == 45);

constexpr std::string_view kDataFormatError = "Data format error";
constexpr std::string_view kNoColumnLine = "H IDNT record must precede waypoint W records";
constexpr std::string_view kNoTrackColumnLine = "H LATITUDE record must precede track T records";
constexpr std::string_view kQuit = "quit";

// ---------------------------------------------------------------- writing --

void writeHeaderBlock(device::OutputFile& out) {
  out.writeLine("H SOFTWARE NAME & VERSION");
  out.writeLine("I PCX5 2.00 Created by Carrowmapper " + VERSION.str());
  out.writeLine("H R DATUM               IDX  DA            DF            DX            DY            DZ");
  out.writeLine("M E WGS 84              100 +0.000000e+00 +0.000000e+00 +0.000000e+00 +0.000000e+00 +0.000000e+00");
  out.writeLine("H COORDINATE SYSTEM");
  out.writeLine("U LAT LON DEG");
}

// "N51.50000 " and "W001.25000 ": hemisphere letter, zero-filled degrees, a blank.
std::string latitudeField(float latitude) {
  FixedText<10> field;
  COORD_DEG(latitude >= 0.0f ? "N" : "S", std::fabs(latitude), "(A,F8.5)", field);
  return std::string(field.view());
}

std::string longitudeField(float longitude) {
  FixedText<11> field;
  COORD_DEG(longitude >= 0.0f ? "E" : "W", std::fabs(longitude), "(A,F9.5)", field);
  return std::string(field.view());
}

std::string pcxDate(std::string_view date) {
  FixedText<9> text;
  TODD_MMM_YY(date, text);
  return std::string(text.view());
}

// Scientific form with one digit before the point and five after it, in 12
// columns: 150.0 gives " 1.50000E+02".
std::string proximityField(float proximity) {
  constexpr int kWidth = 12;
  // Six significant digits as 0.dddddd E x; the point then moves one place right.
  const std::string written = text::withoutLeadingBlanks(formatE(proximity, 20, 6, 2));
  const std::size_t point = written.find('.');
  const std::size_t letter = written.find('E');
  if (point == std::string::npos || letter == std::string::npos || letter < point + 7) {
    return std::string(kWidth, '*');
  }
  const std::string sign = written.substr(0, point == 0 ? 0 : written[0] == '-' ? 1 : 0);
  const std::string digits = written.substr(point + 1, 6);
  int exponent = 0;
  device::readInteger(written.substr(letter + 1), exponent);
  if (digits != "000000") --exponent;
  std::string text = sign + digits.substr(0, 1) + "." + digits.substr(1) + "E" + (exponent < 0 ? "-" : "+") +
                     formatI(std::abs(exponent), 2, 2);
  if (static_cast<int>(text.size()) > kWidth || text.find('*') != std::string::npos) return std::string(kWidth, '*');
  return std::string(kWidth - text.size(), ' ') + text;
}

// The Garmin symbol number written for a point.
std::int32_t garminSymbol(std::int32_t symbol) {
  if (symbol == kNoSymbol) return GARMIN_SETTINGS.SYMBOL;
  if (symbol > 15) return LOOKUP_II(symbol, 16, MAPTECH_SYMBOLS.codes, GARMIN_SYMBOLS.codes);
  return symbol;
}

// A W record of 111 characters, as the waypoint and route writers write it.
std::string waypointRecord(std::string_view identifier, const POINT_RECORD& p) {
  const std::string_view date = p.DATE.isBlank() ? DEFAULT_DATE.view() : p.DATE.view();
  const std::string_view time = p.TIME.isBlank() ? DEFAULT_TIME.view() : p.TIME.view();
  const float altitude = p.ALTITUDE == kNoValue ? static_cast<float>(GARMIN_SETTINGS.ALTITUDE) : p.ALTITUDE;
  // A point without a proximity gets the Garmin options' one, like a proximity of 0.
  const float proximity =
      (p.PROXIMITY == 0.0f || p.PROXIMITY == kNoValue) ? GARMIN_SETTINGS.PROXIMITY : p.PROXIMITY;
  FixedText<6> ident(identifier);
  FixedText<39> description(device::lineText(p.DESCRIPTION.view().substr(0, 39)));
  FixedText<8> timeField(device::lineText(time));
  std::string record = "W ";
  record += device::lineText(ident.view());
  record += ' ';
  record += latitudeField(p.LATITUDE);
  record += ' ';
  record += longitudeField(p.LONGITUDE);
  record += ' ';
  record += device::lineText(pcxDate(date));
  record += ' ';
  record += timeField.view();
  record += formatI(device::nearestWhole(altitude), 6);
  record += ' ';
  record += description.view();
  record += proximityField(proximity);
  record += formatI(garminSymbol(p.SYMBOL), 3);
  return record;
}

// The identifier candidate of a point: its name, an identifier made from its
// description, or the generated name.
void identifierCandidate(const POINT_RECORD& p, std::string_view generated, FixedText<128>& candidate) {
  if (GARMIN_SETTINGS.REPLACE_NAME == 1) {
    candidate = generated;
  } else if (!p.NAME.isBlank()) {
    candidate = p.NAME.view();
  } else if (!p.DESCRIPTION.isBlank()) {
    UCIDNT(p.DESCRIPTION.view(), candidate);
  } else {
    candidate = generated;
  }
}

// ---------------------------------------------------------------- reading --

enum class CoordinateForm { kDecimalDegrees, kDegreesMinutes };

struct ReadFailure {
  std::string_view message;
  std::string_view hint;
};

// What a PCX5 reader knows of the file it reads: its coordinate form and the
// columns of its latest column-title line.  A new run starts afresh, so that one
// file's layout never carries over to the next.
struct Pcx5Layout {
  CoordinateForm form = CoordinateForm::kDecimalDegrees;
  WaypointColumns starts{};
  WaypointColumns ends{};
  TrackColumns trackStarts{};
  TrackColumns trackEnds{};
};

// Starts and ends of the titles found in a column-title line.
template <std::size_t N>
void findTitles(std::string_view line, const std::array<std::string_view, N - 1>& titles,
                std::array<std::int32_t, N>& starts, std::array<std::int32_t, N>& ends) {
  starts[0] = 1;
  for (std::size_t k = 1; k < N; ++k) {
    const std::size_t at = line.find(titles[k - 1]);
    starts[k] = at == std::string_view::npos ? 0 : static_cast<std::int32_t>(at) + 1;
  }
  // A column ends two before the next title that the line holds.
  for (std::size_t k = 0; k < N; ++k) {
    ends[k] = kRecordLength;
    for (std::size_t next = k + 1; next < N; ++next) {
      if (starts[next] != 0) {
        ends[k] = starts[next] - 2;
        break;
      }
    }
  }
}

// The text of column k (0-based) of a record.  Numbers are right-aligned and may
// begin in the blank column before their title (the altitude in column 51 under
// ALT at 52, a two-digit symbol in columns 110-111 under SYMBOL at 111).
template <std::size_t N>
std::string_view columnText(std::string_view line, const std::array<std::int32_t, N>& starts,
                            const std::array<std::int32_t, N>& ends, std::size_t k, bool number) {
  if (k >= N || starts[k] == 0) return {};
  int first = starts[k];
  if (number && k > 0 && k < N && first - 1 > ends[k - 1]) first -= 1;
  return columns(line, first, ends[k]);
}

// A run of digits with an implied decimal point before its last `decimals`
// digits, unless a point is written; blanks count as nothing.
bool readImplied(std::string_view text, int decimals, double& value) {
  std::string packed;
  for (char c : text) {
    if (c != ' ') packed += c;
  }
  if (packed.empty()) {
    value = 0.0;
    return true;
  }
  if (packed.find('.') != std::string::npos) {
    double v = 0.0;
    if (!device::readReal(packed, v)) return false;
    value = v;
    return true;
  }
  if (!std::all_of(packed.begin(), packed.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  double v = 0.0;
  for (char c : packed) v = v * 10.0 + (c - '0');
  value = v / std::pow(10.0, decimals);
  return true;
}

std::string_view coordinateHint(CoordinateForm form, bool latitude) {
  if (form == CoordinateForm::kDegreesMinutes) {
    return latitude ? "Latitude value Hddmm.mmmm" : "Longitude value Hdddmm.mmmm";
  }
  return latitude ? "Latitude value Hdd.ddddd" : "Longitude value Hddd.ddddd";
}

// The coordinate of the column that starts at `start` with its hemisphere letter.
bool readCoordinate(std::string_view line, int start, int end, bool latitude, CoordinateForm form, float& value,
                    ReadFailure& failure) {
  failure = {kDataFormatError, coordinateHint(form, latitude)};
  if (start <= 0 || start > static_cast<int>(line.size())) return false;
  const char letter = line[static_cast<std::size_t>(start - 1)];
  const std::string_view text = columns(line, start + 1, end);
  double degrees = 0.0;
  if (form == CoordinateForm::kDegreesMinutes) {
    const int degreeDigits = latitude ? 2 : 3;
    double minutes = 0.0;
    if (!readImplied(columns(text, 1, degreeDigits), 0, degrees) ||
        !readImplied(columns(text, degreeDigits + 1, degreeDigits + 7), 4, minutes)) {
      return false;
    }
    degrees += minutes / 60.0;
  } else if (!device::readReal(text, degrees)) {
    return false;
  }
  if (letter == (latitude ? 'S' : 'W')) degrees = -degrees;
  if (!(latitude ? isRealLatitude(degrees) : isRealLongitude(degrees))) return false;
  value = static_cast<float>(degrees);
  return true;
}

// A number column that may be blank (none given); a number beyond the range of
// the list's reals is no altitude or proximity.
bool readOptional(std::string_view text, float& value) {
  if (text::isBlank(text)) {
    value = kNoValue;
    return true;
  }
  return device::readReal(text, value) && isRealMeasure(value);
}

bool readDate(std::string_view text, FixedText<10>& date) {
  const std::string packed = text::withoutLeadingBlanks(text);
  if (text::isBlank(packed)) {
    date.blank();
    return true;
  }
  FROMDD_MMM_YY(packed, date);
  return !date.isBlank();
}

void readTime(std::string_view text, FixedText<8>& time) { time = text::withoutLeadingBlanks(text); }

// A U line: "U LAT LON DM" or "U LAT LON DEG".
bool readUnits(std::string_view line, CoordinateForm& form) {
  int position = 2;
  FixedText<16> lat, lon, unit;
  GET_FIELD(line, position, lat);
  GET_FIELD(line, position, lon);
  GET_FIELD(line, position, unit);
  if (text::equal(lat, "LAT") && text::equal(lon, "LON") && text::equal(unit, "DM")) {
    form = CoordinateForm::kDegreesMinutes;
  } else if (text::equal(lat, "LAT") && text::equal(lon, "LON") && text::equal(unit, "DEG")) {
    form = CoordinateForm::kDecimalDegrees;
  } else {
    return false;
  }
  return true;
}

// The word after the record letter of an H line.
FixedText<32> titleWord(std::string_view line) {
  int position = 2;
  FixedText<32> word;
  GET_FIELD(line, position, word);
  return word;
}

// The latitude, longitude, date, time and altitude columns, which follow one
// another from `latitude` on in both kinds of record.
template <std::size_t N>
bool readPosition(std::string_view line, const std::array<std::int32_t, N>& s, const std::array<std::int32_t, N>& e,
                  std::size_t latitude, CoordinateForm form, POINT_RECORD& p, ReadFailure& failure) {
  const std::size_t k = latitude;
  if (!readCoordinate(line, s[k], e[k], true, form, p.LATITUDE, failure) ||
      !readCoordinate(line, s[k + 1], e[k + 1], false, form, p.LONGITUDE, failure)) {
    return false;
  }
  if (!readDate(columnText(line, s, e, k + 2, false), p.DATE)) {
    failure = {kDataFormatError, "Date value DD-MMM-YY"};
    return false;
  }
  readTime(columnText(line, s, e, k + 3, false), p.TIME);
  if (!readOptional(columnText(line, s, e, k + 4, true), p.ALTITUDE)) {
    failure = {kDataFormatError, "Altitude value in metres"};
    return false;
  }
  return true;
}

// A W record in the waypoint columns.
bool readWaypoint(std::string_view line, const Pcx5Layout& layout, POINT_RECORD& p, ReadFailure& failure) {
  const auto& s = layout.starts;
  const auto& e = layout.ends;
  auto text = [&](std::size_t k, bool number = false) { return columnText(line, s, e, k, number); };
  p.NAME = s[2] != 0 ? columns(line, s[1], s[2] - 1) : text(1);
  if (!readPosition(line, s, e, 2, layout.form, p, failure)) return false;
  p.DESCRIPTION = text(7);
  if (!readOptional(text(8, true), p.PROXIMITY)) {
    failure = {kDataFormatError, "Proximity value in metres"};
    return false;
  }
  const std::string_view symbol = text(9, true);
  if (text::isBlank(symbol)) {
    p.SYMBOL = kNoSymbol;
    p.SYMBOL_NAME = "Waypoint";
  } else {
    std::int32_t number = 0;
    if (!device::readInteger(symbol, number)) {
      failure = {kDataFormatError, "Symbol number 0 to 15"};
      return false;
    }
    p.SYMBOL = LOOKUP_II(number, 16, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.codes);
    LOOKUP_IC(p.SYMBOL, 16, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, p.SYMBOL_NAME);
  }
  p.COMMENT.blank();
  p.COLOUR.blank();
  return true;
}

// A T record in the track columns.
bool readTrackPoint(std::string_view line, const Pcx5Layout& layout, POINT_RECORD& p, ReadFailure& failure) {
  if (!readPosition(line, layout.trackStarts, layout.trackEnds, 1, layout.form, p, failure)) return false;
  p.NAME.blank();
  p.DESCRIPTION.blank();
  p.COMMENT.blank();
  p.PROXIMITY = 0.0f;
  p.SYMBOL = kNoSymbol;
  p.SYMBOL_NAME = "Dot";
  p.COLOUR.blank();
  return true;
}

// Stores a point read whole; false when the storage limit ends the reading.
bool store(const POINT_RECORD& point) {
  POINT_RECORD* slot = STORE_POINT();
  if (slot == nullptr) return false;
  *slot = point;
  return true;
}

void reportFailure(const ReadFailure& failure, std::string_view line) {
  ERROR(2, failure.message, failure.hint, line, kQuit);
}

std::string_view currentLine(int length) { return RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length)); }

// Reads the lines of a PCX5 file: U lines set the coordinate form, every other
// line that is not empty goes to `record`, which gives false to end the reading
// at once.  False when the reading was ended before the end of the file.
template <typename Record>
bool readRecords(device::InputFile& in, Pcx5Layout& layout, Record record) {
  int length = 0;
  while (in.readLine(RECORD_BUFFER, length)) {
    if (length == 0) continue;
    const std::string_view line = currentLine(length);
    if (line[0] != 'U') {
      if (!record(line)) return false;
    } else if (!readUnits(RECORD_BUFFER.view(), layout.form)) {
      ERROR(2, "Unsupported Coordinate system", "U LAT LON DM or U LAT LON DEG", line, kQuit);
      return false;
    }
  }
  return true;
}

// The waypoint and route readers share everything but the R record.
enum class WaypointFile { kWaypoints, kRoutes };

void readWaypointFile(WaypointFile kind) {
  const bool routes = kind == WaypointFile::kRoutes;
  const std::string_view routine = routes ? "read_rte" : "read_wpt";
  DEBUG_MARK(DebugMark::kSubroutine, routine);
  device::InputFile in;
  if (!device::openInput(in)) return;
  if (routes) POINT_LIST.NROUTES = 0;
  Pcx5Layout layout;
  FixedText<20> routeName;
  bool inRoute = false;
  const bool whole = readRecords(in, layout, [&](std::string_view line) {
    switch (line[0]) {
      case 'H': {
        const FixedText<32> word = titleWord(RECORD_BUFFER.view());
        const bool columnLine = routes ? word.view().substr(0, 4) == "IDNT" : text::equal(word, "IDNT");
        if (columnLine) READ_H_IDNT(RECORD_BUFFER.view(), layout.starts, layout.ends);
        break;
      }
      case 'R':
        if (routes) {
          // The name follows the route number, whatever that number is.
          int position = 3;
          FixedText<32> number;
          GET_FIELD(line, position, number);
          routeName = columns(line, position, static_cast<int>(line.size()));
          POINT_LIST.NROUTES += 1;
          inRoute = true;
        }
        break;
      case 'W': {
        if (layout.starts[0] == 0) {
          reportFailure({kDataFormatError, kNoColumnLine}, line);
          return false;
        }
        POINT_RECORD point;
        ReadFailure failure;
        if (!readWaypoint(RECORD_BUFFER.view(), layout, point, failure)) {
          reportFailure(failure, line);
          return false;
        }
        if (routes) {
          // Points before any R record still form a route of their own.
          if (!inRoute) {
            POINT_LIST.NROUTES += 1;
            inRoute = true;
          }
          point.ROUTE_NAME = routeName.view();
        } else {
          point.ROUTE_NAME = "Point data";
        }
        if (!store(point)) return false;
        break;
      }
      default:
        break;
    }
    return true;
  });
  if (!whole) return;
  in.close();
  if (routes) {
    SCROLL(text::withoutLeadingBlanks(wholeNumber(POINT_LIST.NREAD) + " points read from" +
                                        formatI(POINT_LIST.NROUTES, 3) + " routes"));
  } else {
    SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read");
  }
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}

// Track names: Track00, Track01 ... Track99, Track100 ...
std::string trackName(int number) { return "Track" + text::withoutLeadingBlanks(formatI(number, 12, 2)); }

}  // namespace

void READ_H_IDNT(std::string_view line, WaypointColumns& starts, WaypointColumns& ends) {
  static constexpr std::array<std::string_view, 9> kTitles{"IDNT", "LATITUDE", "LONGITUDE",   "DATE",  "TIME",
                                                           "ALT",  "DESCRIPTION", "PROXIMITY", "SYMBOL"};
  findTitles<10>(line, kTitles, starts, ends);
}

void READ_H_LATITUDE(std::string_view line, TrackColumns& starts, TrackColumns& ends) {
  static constexpr std::array<std::string_view, 5> kTitles{"LATITUDE", "LONGITUDE", "DATE", "TIME", "ALT"};
  findTitles<6>(line, kTitles, starts, ends);
}

void READ_WPT() { readWaypointFile(WaypointFile::kWaypoints); }

void READ_RTE() { readWaypointFile(WaypointFile::kRoutes); }

void WRITE_WPT() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_wpt");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  DEBUG_WRITE({"Output file opened ", FILE_NAMES.OUTPUT_FILE.trimmed()});
  writeHeaderBlock(out);
  out.writeLine("");
  out.writeLine(kWaypointColumnLine);
  device::UniqueNames names;
  if (!names.allocate(POINT_LIST.NPOINTS)) {
    out.close();
    return;
  }
  FixedText<128> candidate;
  FixedText<128> identifier;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    identifierCandidate(p, GARMIN_SETTINGS.NAME_PREFIX.str() + wholeNumber(i), candidate);
    names.make(candidate.view(), 6, i, identifier);
    out.writeLine(waypointRecord(identifier.view().substr(0, 6), p));
  }
  if (!device::closeOutput(out)) return;
  SCROLL(wholeNumber(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_wpt");
}

void WRITE_RTE() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_rte");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  writeHeaderBlock(out);
  device::UniqueNames names;
  if (!names.allocate(POINT_LIST.NPOINTS)) {
    out.close();
    return;
  }
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
  int k = 0;
  FixedText<128> candidate;
  FixedText<128> identifier;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    // The first point always opens a route, even one without a name: its W
    // records would otherwise have no column line before them.
    if (i == 1 || !(p.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
      out.writeLine("");
      out.writeLine("R " + formatI(POINT_LIST.NROUTES, 2, 2) + "  " +
                    std::string(FixedText<20>(device::lineText(p.ROUTE_NAME.view().substr(0, 20))).view()));
      out.writeLine("");
      out.writeLine(kWaypointColumnLine);
      POINT_LIST.CURRENT_ROUTE = p.ROUTE_NAME.view();
      k = 0;
      POINT_LIST.NROUTES += 1;
    }
    std::string generated(1, 'R');
    generated += formatI(POINT_LIST.NROUTES - 1, 2, 2) + formatI(k, 3, 3);
    identifierCandidate(p, generated, candidate);
    names.make(candidate.view(), 6, i, identifier);
    out.writeLine(waypointRecord(identifier.view().substr(0, 6), p));
    ++k;
  }
  if (!device::closeOutput(out)) return;
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_rte");
  SCROLL(text::withoutLeadingBlanks(wholeNumber(POINT_LIST.NPOINTS) + " points written to" +
                                      formatI(POINT_LIST.NROUTES, 3) + " routes"));
}

void WRITE_TRK() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_trk");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  writeHeaderBlock(out);
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    // The first point always opens a track, even one without a name.
    if (i == 1 || !(p.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
      out.writeLine("");
      out.writeLine(kTrackColumnLine);
      POINT_LIST.CURRENT_ROUTE = p.ROUTE_NAME.view();
      POINT_LIST.NROUTES += 1;
    }
    std::string record = "T  ";
    record += latitudeField(p.LATITUDE);
    record += ' ';
    record += longitudeField(p.LONGITUDE);
    record += ' ';
    record += device::lineText(pcxDate(p.DATE.view()));
    record += ' ';
    record += device::lineText(FixedText<8>(p.TIME.view()).view());
    record += formatI(device::nearestWhole(p.ALTITUDE), 6);
    out.writeLine(record);
  }
  if (!device::closeOutput(out)) return;
  SCROLL(text::withoutLeadingBlanks(wholeNumber(POINT_LIST.NPOINTS) + " points written to" +
                                      formatI(POINT_LIST.NROUTES, 3) + " tracks"));
  DEBUG_WRITE({"End of Subroutine write_trk"});
}

void READ_TRK() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_trk");
  const int filter = std::max(1, CONVERTER_SETTINGS.TRACK_FILTER);
  if (filter > 1) SCROLL("Track filter is set to " + wholeNumber(filter));
  device::InputFile in;
  if (!device::openInput(in)) return;
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NTRACKPOINTS = 0;
  POINT_LIST.TRACK_POSITION = 0;
  Pcx5Layout layout;
  const bool whole = readRecords(in, layout, [&](std::string_view line) {
    switch (line[0]) {
      case 'H':
        POINT_LIST.TRACK_POSITION = 0;
        if (titleWord(RECORD_BUFFER.view()).view().substr(0, 4) == "LATI") {
          READ_H_LATITUDE(RECORD_BUFFER.view(), layout.trackStarts, layout.trackEnds);
          POINT_LIST.CURRENT_ROUTE = trackName(POINT_LIST.NROUTES);
          POINT_LIST.NROUTES += 1;
        }
        break;
      case 'T': {
        if (layout.trackStarts[0] == 0) {
          reportFailure({kDataFormatError, kNoTrackColumnLine}, line);
          return false;
        }
        if (POINT_LIST.TRACK_POSITION % filter == 0) {
          POINT_RECORD point;
          ReadFailure failure;
          if (!readTrackPoint(RECORD_BUFFER.view(), layout, point, failure)) {
            reportFailure(failure, line);
            return false;
          }
          point.ROUTE_NAME = POINT_LIST.CURRENT_ROUTE.view();
          if (!store(point)) return false;
        }
        POINT_LIST.TRACK_POSITION += 1;
        POINT_LIST.NTRACKPOINTS += 1;
        break;
      }
      default:
        break;
    }
    return true;
  });
  if (!whole) return;
  in.close();
  std::string summary;
  if (filter > 1) {
    summary = formatI(POINT_LIST.NREAD, 5) + " of " + formatI(POINT_LIST.NTRACKPOINTS, 4) + " points read from" +
              formatI(POINT_LIST.NROUTES, 3) + " tracks";
  } else {
    summary = wholeNumber(POINT_LIST.NREAD) + " points read from" + formatI(POINT_LIST.NROUTES, 3) + " tracks";
  }
  SCROLL(text::withoutLeadingBlanks(summary));
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_trk");
}
