#include "formats/tabular/oziexplorer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/identifiers.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "formats/tabular/free_form.h"
#include "formats/tabular/text_lines.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

// A comma inside a text is written as this character, since fields are never quoted.
constexpr char kCommaSubstitute = '\xD1';
// Metres per foot, as the 32-bit real the files' program uses.
constexpr float kMetresPerFoot = 0.3048f;
// The files' altitude for "none".
constexpr float kNoAltitudeFeet = -777.0f;
constexpr int kNameLength = 6;
constexpr int kDescriptionLength = 40;
constexpr int kTrackNameLength = 40;
constexpr int kGarminSymbolCount = 16;
constexpr int kNumberFieldLength = 16;

using NumberField = FixedText<kNumberFieldLength>;

// --- the date-time value ---

constexpr std::array<int, 12> kDaysBeforeMonth{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr long long kDayOffset = 693499;  // makes 30 December 1899 day 0
constexpr long long kLargestDayCount = 1000000000;

// The day count of D/M/Y; every year divisible by 4 is a leap year.  The month
// must be 1 to 12.
long long dayNumber(long long year, int month, long long day) {
  const long long before =
      kDaysBeforeMonth[static_cast<std::size_t>(month - 1)] + (year % 4 == 0 && month >= 3 ? 1 : 0);
  return 365 * year + (year - 1901) / 4 + before + day - kDayOffset;
}

// Columns first..last of s as a whole number, blanks counting as nothing; nothing
// when another character is there.  Columns beyond s are blanks.
std::optional<int> columnsNumber(std::string_view s, int first, int last) {
  int value = 0;
  for (int c = first; c <= last; ++c) {
    const char ch = c <= static_cast<int>(s.size()) ? s[static_cast<std::size_t>(c - 1)] : ' ';
    if (ch == ' ') continue;
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  return value;
}

std::string twoDigits(long long value) { return fieldI(value, 2, 2); }

// The whole day count of a text: optional sign and digits between blanks; 0 for
// blanks alone.
std::optional<long long> wholeDays(std::string_view s) {
  s = text::trimmed(s);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  if (s.empty()) return 0;
  std::size_t i = 0;
  const bool negative = s[0] == '-';
  if (s[0] == '-' || s[0] == '+') ++i;
  if (i == s.size()) return std::nullopt;
  long long value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > kLargestDayCount) return std::nullopt;
  }
  return negative ? -value : value;
}

// The fraction of a day from the text that starts at the decimal point.
std::optional<double> dayFraction(std::string_view s) {
  const std::string number(text::trimmed(s));
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || errno != 0 || !(value >= 0.0 && value < 1.0)) return std::nullopt;
  return value;
}

void dateOfDay(long long n, TextField date) {
  auto year = static_cast<long long>(std::floor((static_cast<double>(n) + kDayOffset) / 365.25));
  // The estimate is off by a year or two at most.
  for (int k = 0; k < 8 && dayNumber(year, 1, 1) > n; ++k) --year;
  for (int k = 0; k < 8 && dayNumber(year + 1, 1, 1) <= n; ++k) ++year;
  int month = 12;
  while (month > 1 && dayNumber(year, month, 1) > n) --month;
  const long long day = n - dayNumber(year, month, 1) + 1;
  if (year < 1 || year > 9999) {
    date.blank();
    return;
  }
  date.assign(twoDigits(day) + "/" + twoDigits(month) + "/" + formatI(year, 4, 4));
}

// --- fields ---

enum class Number { kValue, kBlank, kBad };

Number numberOf(FreeForm result) {
  switch (result) {
    case FreeForm::kValue:
      return Number::kValue;
    case FreeForm::kBad:
      return Number::kBad;
    default:
      return Number::kBlank;
  }
}

Number readReal(std::string_view field, float& value) { return numberOf(FreeFormReader(field).real(value)); }
Number readInteger(std::string_view field, std::int32_t& value) {
  return numberOf(FreeFormReader(field).integer(value));
}

// The next comma-separated field of the record as a number.
Number nextReal(std::string_view record, int& position, float& value) {
  NumberField field;
  GET_CSV_FIELD(record, position, field);
  return readReal(field, value);
}
Number nextInteger(std::string_view record, int& position, std::int32_t& value) {
  NumberField field;
  GET_CSV_FIELD(record, position, field);
  return readInteger(field, value);
}
void skipFields(std::string_view record, int& position, int count) {
  NumberField field;
  for (int k = 0; k < count; ++k) GET_CSV_FIELD(record, position, field);
}

void commasFromSubstitute(TextField text) {
  for (int c = 1; c <= text.trimmedLength(); ++c) {
    if (text.column(c) == kCommaSubstitute) text.column(c) = ',';
  }
}

std::string commasToSubstitute(std::string_view text) {
  std::string out(text::trimmed(text));
  std::replace(out.begin(), out.end(), ',', kCommaSubstitute);
  return out;
}

// Position and date-time fields shared by the waypoint and route lines.
bool readPosition(std::string_view record, int& position, POINT_RECORD& point) {
  return nextReal(record, position, point.LATITUDE) == Number::kValue &&
         nextReal(record, position, point.LONGITUDE) == Number::kValue;
}

void readDateTime(std::string_view record, int& position, POINT_RECORD& point) {
  NumberField field;
  GET_CSV_FIELD(record, position, field);
  FROMTDATETIME(field, point.DATE, point.TIME);
}

// The symbol of a waypoint or route point from the file's symbol number; a blank
// field counts as 0.
bool readSymbol(std::string_view record, int& position, POINT_RECORD& point) {
  std::int32_t symbol = 0;
  if (nextInteger(record, position, symbol) == Number::kBad) return false;
  if (symbol >= 1 && symbol < kGarminSymbolCount) {
    point.SYMBOL = symbol;
  } else {
    point.SYMBOL = symbol == 0 ? kNoSymbol : 0;
    symbol = 0;
  }
  LOOKUP_IC(symbol, kGarminSymbolCount, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, point.SYMBOL_NAME);
  return true;
}

// The symbol number written for a point: its Garmin code, the options' symbol
// when it has none, or the Garmin code paired with its Maptech code.
std::int32_t writtenSymbol(std::int32_t symbol) {
  if (symbol < 0) return OZIEXPLORER_SETTINGS.SYMBOL;
  if (symbol < kGarminSymbolCount) return symbol;
  return LOOKUP_II(symbol, kGarminSymbolCount, MAPTECH_SYMBOLS.codes, GARMIN_SYMBOLS.codes);
}

std::string writtenDescription(const POINT_RECORD& point) {
  return commasToSubstitute(point.DESCRIPTION.view().substr(0, kDescriptionLength));
}

std::string dateTimeValue(const POINT_RECORD& point) {
  NumberField value;
  TOTDATETIME(point.DATE, point.TIME, value);
  return std::string(value.view());
}

std::string position(const POINT_RECORD& point) {
  return fieldF(point.LATITUDE, 11, 6) + "," + fieldF(point.LONGITUDE, 11, 6);
}

// --- reading ---

enum class Header { kRead, kEnded, kRefused };

// Opens INPUT_FILE and reads the four header lines whose first two must start
// with the signature and the datum.
Header readHeader(TextLineReader& file, std::string_view signature, std::string_view hint) {
  if (!openInputFile(file)) return Header::kRefused;
  int length = 0;
  if (!file.readLine(RECORD_BUFFER, length)) return Header::kEnded;
  if (RECORD_BUFFER.view().substr(0, signature.size()) != signature) {
    file.close();
    ERROR(2, "Not in OziExplorer format", hint, RECORD_BUFFER, "clear");
    return Header::kRefused;
  }
  if (!file.readLine(RECORD_BUFFER, length)) return Header::kEnded;
  constexpr std::string_view kDatum = "WGS 84";
  if (RECORD_BUFFER.view().substr(0, kDatum.size()) != kDatum) {
    file.close();
    ERROR(2, "Unsupported Geodetic datum", kDatum, RECORD_BUFFER, "clear");
    return Header::kRefused;
  }
  for (int line = 3; line <= 4; ++line) {
    if (!file.readLine(RECORD_BUFFER, length)) return Header::kEnded;
  }
  return Header::kRead;
}

// A data line that cannot be read: the box, and the reading ends with the points
// read so far.
void badLine(std::string_view hint) { ERROR(3, "Data format error", hint, RECORD_BUFFER, "continue"); }

// The fields that waypoint and route lines share: name, position, date-time
// value, symbol, four fields not used, and the description.
bool readWaypointFields(std::string_view record, int& position, POINT_RECORD& point) {
  point = POINT_RECORD{};
  GET_CSV_FIELD(record, position, point.NAME);
  if (!readPosition(record, position, point)) return false;
  readDateTime(record, position, point);
  if (!readSymbol(record, position, point)) return false;
  skipFields(record, position, 4);
  GET_CSV_FIELD(record, position, point.DESCRIPTION);
  commasFromSubstitute(point.DESCRIPTION);
  point.COMMENT.blank();
  point.COLOUR.blank();
  return true;
}

bool readWaypointLine(std::string_view record, POINT_RECORD& point) {
  int position = 1;
  skipFields(record, position, 1);
  if (!readWaypointFields(record, position, point)) return false;
  skipFields(record, position, 2);
  float proximity = 0.0f;
  if (nextReal(record, position, proximity) == Number::kBad) return false;
  point.PROXIMITY = proximity * kMetresPerFoot;
  float altitude = kNoAltitudeFeet;
  if (nextReal(record, position, altitude) == Number::kBad) return false;
  point.ALTITUDE = altitude == kNoAltitudeFeet ? kNoValue : altitude * kMetresPerFoot;
  point.ROUTE_NAME = "Point data";
  return true;
}

bool readRouteLine(std::string_view record, std::string_view routeName, POINT_RECORD& point) {
  int position = 3;
  skipFields(record, position, 3);
  if (!readWaypointFields(record, position, point)) return false;
  point.ROUTE_NAME = routeName;
  point.ALTITUDE = kNoValue;
  point.PROXIMITY = 0.0f;
  return true;
}

// Track points: position, break flag, altitude and date-time value.
bool readTrackLine(std::string_view record, POINT_RECORD& point, std::int32_t& breakFlag) {
  point = POINT_RECORD{};
  int position = 1;
  if (!readPosition(record, position, point)) return false;
  breakFlag = 0;
  if (nextInteger(record, position, breakFlag) == Number::kBad) return false;
  float altitude = kNoAltitudeFeet;
  if (nextReal(record, position, altitude) == Number::kBad) return false;
  point.ALTITUDE = altitude == kNoAltitudeFeet ? kNoValue : altitude * kMetresPerFoot;
  readDateTime(record, position, point);
  point.NAME.blank();
  point.DESCRIPTION.blank();
  point.COMMENT.blank();
  point.PROXIMITY = 0.0f;
  point.SYMBOL = kNoSymbol;
  point.SYMBOL_NAME = "Dot";
  point.COLOUR.blank();
  return true;
}

void readWaypoints() {
  TextLineReader file;
  const Header header = readHeader(file, "OziExplorer Waypoint", "OziExplorer Waypoint...");
  if (header == Header::kRefused) return;
  std::string_view record;
  while (header == Header::kRead && nextDataLine(file, record)) {
    POINT_RECORD point;
    if (!readWaypointLine(record, point) || !isRealPoint(point)) {
      badLine("Number, Name, Latitude, Longitude, Date, Symbol etc");
      break;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    *stored = point;
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read"));
}

void readRoutes() {
  TextLineReader file;
  const Header header = readHeader(file, "OziExplorer Route", "OziExplorer Route...");
  if (header == Header::kRefused) return;
  POINT_LIST.NROUTES = 0;
  int sinceRouteLine = 0;
  FixedText<256> routeName;
  std::string_view record;
  while (header == Header::kRead && nextDataLine(file, record)) {
    if (record[0] == 'R') {
      if (sinceRouteLine > 0) POINT_LIST.NROUTES += 1;
      sinceRouteLine = 0;
      int position = 3;
      skipFields(record, position, 1);
      GET_CSV_FIELD(record, position, routeName);
      commasFromSubstitute(routeName);
    } else if (record[0] == 'W') {
      POINT_RECORD point;
      if (!readRouteLine(record, routeName, point) || !isRealPoint(point)) {
        badLine("W, Route, Number, Number, Name, Latitude, Longitude, Date, Symbol etc");
        break;
      }
      POINT_RECORD* stored = STORE_POINT();
      if (stored == nullptr) return;
      *stored = point;
      ++sinceRouteLine;
    }
  }
  if (sinceRouteLine > 0) POINT_LIST.NROUTES += 1;
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read", POINT_LIST.NROUTES, " routes"));
}

// The name of segment n of a track after the first: the track name, "-" and the
// number, the name cut so that the number always fits.
void segmentName(std::string_view trackName, int segment, TextField name) {
  std::string suffix(1, '-');
  suffix += twoDigits(segment);
  const std::size_t room = static_cast<std::size_t>(std::max(name.length() - static_cast<int>(suffix.size()), 0));
  name.assign(std::string(text::trimmed(trackName.substr(0, std::min(room, trackName.size())))) + suffix);
}

void readTracks() {
  TextLineReader file;
  Header header = readHeader(file, "OziExplorer Track", "OziExplorer Track Point...");
  if (header == Header::kRefused) return;
  FixedText<64> trackName;
  int length = 0;
  if (header == Header::kRead && file.readLine(RECORD_BUFFER, length)) {
    int position = 1;
    skipFields(RECORD_BUFFER, position, 3);
    GET_CSV_FIELD(RECORD_BUFFER, position, trackName);
    commasFromSubstitute(trackName);
    // The point count that follows is not needed: the lines are counted.
    if (!file.readLine(RECORD_BUFFER, length)) header = Header::kEnded;
  } else {
    header = Header::kEnded;
  }
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE = trackName.view();
  std::string_view record;
  while (header == Header::kRead && nextDataLine(file, record)) {
    POINT_RECORD point;
    std::int32_t breakFlag = 0;
    if (!readTrackLine(record, point, breakFlag) || !isRealPoint(point)) {
      badLine("Latitude, Longitude, Break, Altitude, Date");
      break;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    if (breakFlag == 1) {
      POINT_LIST.NROUTES += 1;
      if (POINT_LIST.NROUTES > 1) segmentName(trackName, POINT_LIST.NROUTES, POINT_LIST.CURRENT_ROUTE);
    }
    point.ROUTE_NAME = POINT_LIST.CURRENT_ROUTE.view();
    *stored = point;
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read", POINT_LIST.NROUTES, " tracks"));
}

// --- writing ---

// The names of the waypoint and route writers: unique within the file and six
// characters long.
class WaypointNames {
 public:
  // Obtains the working lists for `count` points; on failure the box, and false.
  bool allocate(int count) {
    DEBUG_WRITE({"  Allocate arrays"});
    try {
      names_.assign(static_cast<std::size_t>(count), FixedText<20>());
      counts_.assign(static_cast<std::size_t>(count), 0);
      firsts_ = UniqueNameIndex();
    } catch (const std::bad_alloc&) {
      const std::string message = "Could not allocate arrays. Runtime error =" + formatI(ENOMEM, 6);
      WMessageBox(kOkOnly, kExclamationIcon, 1, message, "Carrowmapper");
      DEBUG_WRITE({message});
      return false;
    }
    return true;
  }

  // The name of point i: its name, else "W" and its number when it has no
  // description, else the letters of its description; then made unique.
  std::string nameOf(int i, const POINT_RECORD& point) {
    FixedText<128> name;
    if (!point.NAME.isBlank()) {
      name = point.NAME.view();
    } else if (point.DESCRIPTION.isBlank()) {
      std::string numbered(1, 'W');
      numbered += text::withoutLeadingBlanks(formatI(i, 11));
      name = numbered;
    } else {
      UCIDNT(point.DESCRIPTION, name);
    }
    FixedText<128> unique;
    UNIQUENAME(name, kNameLength, i, names_, counts_, static_cast<int>(names_.size()), firsts_, unique);
    return std::string(unique.view().substr(0, kNameLength));
  }

 private:
  std::vector<FixedText<20>> names_;
  std::vector<std::int32_t> counts_;
  UniqueNameIndex firsts_;
};

bool openOutput(TextLineWriter& file) {
  if (!openOutputFile(file)) return false;
  DEBUG_WRITE({"Output file opened " + FILE_NAMES.OUTPUT_FILE.str()});
  return true;
}

// Feet for a proximity in metres; a point without one takes the options' value.
float proximityFeet(float proximity) {
  if (proximity == 0.0f || proximity == kNoValue) return OZIEXPLORER_SETTINGS.PROXIMITY;
  return proximity / kMetresPerFoot;
}

// Whole feet for an altitude in metres, rounded; a point without one takes the
// options' value.
long long altitudeFeet(float altitude) {
  if (altitude == kNoValue || !std::isfinite(altitude)) return OZIEXPLORER_SETTINGS.ALTITUDE;
  constexpr double kLargest = 1.0e15;
  return std::llround(std::clamp<double>(altitude / kMetresPerFoot, -kLargest, kLargest));
}

void writeWaypoints() {
  TextLineWriter file;
  if (!openOutput(file)) return;
  for (const char* line : {"OziExplorer Waypoint File Version 1.1", "WGS 84", "Reserved 2", "Garmin symbols (16)"}) {
    file.writeLine(line);
  }
  const int count = listedPoints();
  WaypointNames names;
  if (!names.allocate(count)) return;
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    file.writeLine(text::withoutLeadingBlanks(formatI(i, 11)) + "," + names.nameOf(i, point) + "," + position(point) + "," +
                   text::withoutLeadingBlanks(dateTimeValue(point)) + "," + fieldI(writtenSymbol(point.SYMBOL), 3) +
                   ",  1,,,," + writtenDescription(point) + ",,," + fieldF(proximityFeet(point.PROXIMITY), 8, 2) +
                   "," + fieldI(altitudeFeet(point.ALTITUDE), 7));
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written"));
}

void writeRoutes() {
  TextLineWriter file;
  if (!openOutput(file)) return;
  for (const char* line : {"OziExplorer Route File Version 1.0", "WGS 84", "Reserved 1", "Reserved 2"}) {
    file.writeLine(line);
  }
  const int count = listedPoints();
  WaypointNames names;
  if (!names.allocate(count)) return;
  startRouteCount();
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    if (startsNewRoute(point)) file.writeLine("R," + fieldI(POINT_LIST.NROUTES, 3) + "," + point.ROUTE_NAME.str());
    const std::string number = fieldI(i, 3);
    file.writeLine("W," + fieldI(POINT_LIST.NROUTES, 3) + "," + number + "," + number + "," + names.nameOf(i, point) +
                   "," + position(point) + "," + text::withoutLeadingBlanks(dateTimeValue(point)) + "," +
                   fieldI(writtenSymbol(point.SYMBOL), 3) + ",  1,,,," + writtenDescription(point));
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written", POINT_LIST.NROUTES, " routes"));
}

void writeTracks() {
  TextLineWriter file;
  if (!openOutput(file)) return;
  for (const char* line : {"OziExplorer Track Point File Version 2.1", "WGS 84", "Altitude is in Feet", "Reserved 3"}) {
    file.writeLine(line);
  }
  const int count = listedPoints();
  const std::string trackName =
      count > 0 ? commasToSubstitute(POINT_LIST.POINT(1).ROUTE_NAME.view().substr(0, kTrackNameLength)) : "";
  file.writeLine("0,2,255," + trackName + ",0,0,2,8421376");
  file.writeLine(fieldI(POINT_LIST.NPOINTS, 8));
  startRouteCount();
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    const char* breakFlag = startsNewRoute(point) ? "1" : "0";
    const float altitude = point.ALTITUDE == kNoValue ? kNoAltitudeFeet : point.ALTITUDE / kMetresPerFoot;
    FixedText<9> date;
    TODD_MMM_YY(point.DATE, date);
    file.writeLine(fieldF(point.LATITUDE, 10, 5) + "," + fieldF(point.LONGITUDE, 10, 5) + "," + breakFlag + "," +
                   fieldF(altitude, 7, 1) + "," + dateTimeValue(point) + "," + date.str() + "," +
                   std::string(point.TIME.view()));
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written to", POINT_LIST.NROUTES, " tracks"));
}

}  // namespace

void TOTDATETIME(std::string_view date, std::string_view time, TextField text) {
  const std::optional<int> day = columnsNumber(date, 1, 2);
  const std::optional<int> month = columnsNumber(date, 4, 5);
  const std::optional<int> year = columnsNumber(date, 7, 10);
  if (!day || !month || !year || *month < 1 || *month > 12) {
    text.blank();
    return;
  }
  const float hours = static_cast<float>(columnsNumber(time, 1, 2).value_or(0));
  const float minutes = static_cast<float>(columnsNumber(time, 4, 5).value_or(0));
  const float seconds = static_cast<float>(columnsNumber(time, 7, 8).value_or(0));
  const float fraction = ((seconds / 60.0f + minutes) / 60.0f + hours) / 24.0f;
  const double value = static_cast<double>(dayNumber(*year, *month, *day)) + static_cast<double>(fraction);
  text.assign(formatF(value, kNumberFieldLength, 7));
}

void FROMTDATETIME(std::string_view text, TextField date, TextField time) {
  date.blank();
  time.assign("00:00:00");
  const std::size_t point = text.find('.');
  const std::optional<long long> days = wholeDays(text.substr(0, point));
  std::optional<double> fraction = 0.0;
  if (point != std::string_view::npos) fraction = dayFraction(text.substr(point));
  // A value that cannot be read is taken as no date at all.
  if (text::isBlank(text) || !days || !fraction) return;
  const double x = *fraction * 24.0;
  const int hours = static_cast<int>(x);
  const double y = (x - hours) * 60.0;
  const int minutes = static_cast<int>(y);
  const int seconds = static_cast<int>((y - minutes) * 60.0);
  time.assign(twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds));
  dateOfDay(*days, date);
}

void READ_OZI_WPT() { runLogged("read_ozi_wpt", readWaypoints); }

void WRITE_OZI_WPT() { runLogged("write_ozi_wpt", writeWaypoints); }

void READ_OZI_RTE() { runLogged("read_ozi_rte", readRoutes); }

void WRITE_OZI_RTE() { runLogged("write_ozi_rte", writeRoutes); }

void READ_OZI_PLT() { runLogged("read_ozi_plt", readTracks); }

void WRITE_OZI_PLT() {
  // This writer's exit line has a form of its own.
  DEBUG_MARK(DebugMark::kSubroutine, "write_ozi_plt");
  writeTracks();
  DEBUG_WRITE({"End of Subroutine write_ozi_plt"});
}
