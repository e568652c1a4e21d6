#include "formats/tabular/maptech.h"

#include <algorithm>
#include <string>

#include "converter/converter_data.h"
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
constexpr int kInformationIcon = 4;
constexpr int kSymbolCount = 16;
constexpr std::int32_t kFirstMaptechCode = 37;
constexpr std::string_view kMarkHint = "Longitude, Latitude, \"Name\" etc";
constexpr std::string_view kTrackHint = "Longitude, Latitude, \"Track Name\", Colour";
constexpr std::string_view kWrittenColour = "ff0000";

// The symbol of a mark or route point from the file's symbol number: a Maptech
// code of the table, else Dot.
void readSymbol(std::int32_t code, POINT_RECORD& point) {
  point.SYMBOL = LOOKUP_II(code, kSymbolCount, MAPTECH_SYMBOLS.codes, MAPTECH_SYMBOLS.codes);
  LOOKUP_IC(point.SYMBOL, kSymbolCount, MAPTECH_SYMBOLS.codes, MAPTECH_SYMBOLS.names, point.SYMBOL_NAME);
}

// The symbol written for a point: its Maptech code, the Maptech code paired with
// its Garmin code, or the options' choice when it has none.
std::int32_t writtenSymbol(std::int32_t symbol) {
  if (symbol == kNoSymbol) return maptechChosenSymbol();
  if (symbol < kFirstMaptechCode) return LOOKUP_II(symbol, kSymbolCount, GARMIN_SYMBOLS.codes, MAPTECH_SYMBOLS.codes);
  return symbol;
}

// The short name of point i: its name, else the options' prefix and its number
// when it has no description, else the letters of its description.
std::string shortName(int i, const POINT_RECORD& point) {
  if (!point.NAME.isBlank()) return point.NAME.str();
  if (point.DESCRIPTION.isBlank()) return MAPTECH_SETTINGS.NAME_PREFIX.str() + text::withoutLeadingBlanks(formatI(i, 11));
  FixedText<128> letters;
  UCIDNT(point.DESCRIPTION, letters);
  return letters.str();
}

// A blank, then the trimmed text between double quotes.
std::string quoted(std::string_view text) {
  std::string out = " \"";
  out.append(text::trimmed(text)).append(1, '"');
  return out;
}

std::string position(const POINT_RECORD& point) {
  return fieldF(point.LATITUDE, 10, 5) + "," + fieldF(point.LONGITUDE, 10, 5);
}

// --- marks ---

bool readMark(std::string_view record, POINT_RECORD& point) {
  point = POINT_RECORD{};
  FreeFormReader in(record);
  std::int32_t symbol = 0;
  const bool read = isValue(in.real(point.LATITUDE)) && isValue(in.real(point.LONGITUDE)) &&
                    isValueOrNull(in.text(point.DESCRIPTION)) && isValueOrNull(in.text(point.NAME)) &&
                    isValueOrNull(in.text(point.COMMENT)) && isValueOrNull(in.text(point.COLOUR)) &&
                    isValueOrNull(in.integer(symbol));
  if (!read || !isRealPoint(point)) return false;
  readSymbol(symbol, point);
  giveFileDefaults(point);
  point.ROUTE_NAME = "Point data";
  return true;
}

void readMarks() {
  TextLineReader file;
  if (!openInputFile(file)) return;
  std::string_view record;
  while (nextDataLine(file, record)) {
    POINT_RECORD point;
    if (!readMark(record, point)) {
      ERROR(3, "Data format error", kMarkHint, RECORD_BUFFER, "quit");
      return;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    *stored = point;
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read"));
}

void writeMarks() {
  TextLineWriter file;
  if (!openOutputFile(file)) return;
  const int count = listedPoints();
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    file.writeLine(position(point) + "," + quoted(point.DESCRIPTION) + "," + quoted(shortName(i, point)) + "," +
                   quoted(point.COMMENT) + ", " + std::string(kWrittenColour) + "," +
                   fieldI(writtenSymbol(point.SYMBOL), 3));
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written"));
}

// --- routes ---

// The next quoted comma-separated field of a route line.
void nextField(std::string_view record, int& position, TextField field, std::int32_t& quotes) {
  Logical atEnd = kLogicalFalse;
  GET_QCSV_FIELD(record, position, field, atEnd, quotes);
  std::string shown(1, '<');
  shown.append(field.trimmed()).append(1, '>');
  DEBUG_WRITE({position, shown});
}

enum class RouteLine { kRead, kBadNumber, kOpenQuotes };

RouteLine readRoutePoint(std::string_view record, POINT_RECORD& point) {
  point = POINT_RECORD{};
  int position = 1;
  std::int32_t quotes = 0;
  FixedText<32> latitude;
  FixedText<32> longitude;
  FixedText<32> symbol;
  nextField(record, position, latitude, quotes);
  nextField(record, position, longitude, quotes);
  nextField(record, position, point.DESCRIPTION, quotes);
  nextField(record, position, point.NAME, quotes);
  nextField(record, position, point.COMMENT, quotes);
  DEBUG_WRITE({"ierr = ", quotes});
  if (quotes == 2) return RouteLine::kOpenQuotes;
  nextField(record, position, point.ROUTE_NAME, quotes);
  nextField(record, position, point.COLOUR, quotes);
  nextField(record, position, symbol, quotes);
  // A blank symbol counts as 0.
  std::int32_t code = 0;
  if (!isValue(FreeFormReader(latitude).real(point.LATITUDE)) ||
      !isValue(FreeFormReader(longitude).real(point.LONGITUDE)) ||
      FreeFormReader(symbol).integer(code) == FreeForm::kBad || !isRealPoint(point)) {
    return RouteLine::kBadNumber;
  }
  readSymbol(code, point);
  giveFileDefaults(point);
  return RouteLine::kRead;
}

void readRoutes() {
  TextLineReader file;
  if (!openInputFile(file)) return;
  startRouteCount();
  std::string_view record;
  while (nextDataLine(file, record)) {
    POINT_RECORD point;
    const RouteLine line = readRoutePoint(record, point);
    if (line == RouteLine::kOpenQuotes) {
      WMessageBox(kOkOnly, kInformationIcon, 1, "Double quotes in comment\r" + point.COMMENT.str(), "Format error");
      STOP_FLAG = kLogicalTrue;
      return;
    }
    if (line == RouteLine::kBadNumber) {
      ERROR(3, "Data format error", kMarkHint, RECORD_BUFFER, "quit");
      return;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    *stored = point;
    startsNewRoute(point);
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read from", POINT_LIST.NROUTES, " routes"));
}

void writeRoutes() {
  TextLineWriter file;
  if (!openOutputFile(file)) return;
  startRouteCount();
  const int count = listedPoints();
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    startsNewRoute(point);
    file.writeLine(position(point) + "," + quoted(point.DESCRIPTION) + "," + quoted(shortName(i, point)) + "," +
                   quoted(point.COMMENT) + "," + quoted(point.ROUTE_NAME) + ", " + std::string(kWrittenColour) +
                   ", 0," + fieldI(writtenSymbol(point.SYMBOL), 3));
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written to", POINT_LIST.NROUTES, " routes"));
}

// --- tracks ---

bool readTrackPoint(std::string_view record, POINT_RECORD& point, TextField trackName) {
  point = POINT_RECORD{};
  trackName.blank();
  FreeFormReader in(record);
  return isValue(in.real(point.LATITUDE)) && isValue(in.real(point.LONGITUDE)) &&
         isValueOrNull(in.text(trackName)) && isValueOrNull(in.text(point.COLOUR)) && isRealPoint(point);
}

void readTracks() {
  // The filter of the settings is 1, 5 or 10; anything below 1 keeps every point.
  const int filter = std::max(CONVERTER_SETTINGS.TRACK_FILTER, 1);
  if (filter > 1) SCROLL("Track filter is set to " + text::withoutLeadingBlanks(formatI(filter, 11)));
  TextLineReader file;
  if (!openInputFile(file)) return;
  startRouteCount();
  POINT_LIST.NTRACKPOINTS = 0;
  std::string_view record;
  FixedText<256> trackName;
  while (nextDataLine(file, record)) {
    POINT_RECORD point;
    if (!readTrackPoint(record, point, trackName)) {
      ERROR(3, "Data format error", kTrackHint, RECORD_BUFFER, "quit");
      return;
    }
    // Names are compared as far as the list keeps them: a longer name would
    // otherwise start a new track at every point.
    point.ROUTE_NAME = trackName.view();
    if (startsNewRoute(point)) POINT_LIST.TRACK_POSITION = 0;
    if (POINT_LIST.TRACK_POSITION % filter == 0) {
      POINT_RECORD* stored = STORE_POINT();
      if (stored == nullptr) return;
      giveFileDefaults(point);
      point.SYMBOL = kNoSymbol;
      point.SYMBOL_NAME = "Dot";
      *stored = point;
    }
    POINT_LIST.TRACK_POSITION += 1;
    POINT_LIST.NTRACKPOINTS += 1;
  }
  file.close();
  if (filter > 1) {
    SCROLL(text::withoutLeadingBlanks(formatI(POINT_LIST.NREAD, 5) + " of " + fieldI(POINT_LIST.NTRACKPOINTS, 4) +
                         " points read from" + fieldI(POINT_LIST.NROUTES, 3) + " tracks"));
  } else {
    SCROLL(countLine(POINT_LIST.NREAD, " points read from", POINT_LIST.NROUTES, " tracks"));
  }
}

void writeTracks() {
  TextLineWriter file;
  if (!openOutputFile(file)) return;
  startRouteCount();
  const int count = listedPoints();
  for (int i = 1; i <= count; ++i) {
    const POINT_RECORD& point = POINT_LIST.POINT(i);
    startsNewRoute(point);
    FixedText<6> colour;
    LOOKUP_CC(point.COLOUR, static_cast<int>(MAPTECH_COLOURS.names.size()), MAPTECH_COLOURS.names,
              MAPTECH_COLOURS.codes, colour);
    file.writeLine(position(point) + "," + quoted(point.ROUTE_NAME) + ", " + colour.str());
  }
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written to", POINT_LIST.NROUTES, " tracks"));
}

}  // namespace

std::int32_t maptechChosenSymbol() {
  const int choice = MAPTECH_SETTINGS.SYMBOL;
  if (choice < 1 || choice > static_cast<int>(MAPTECH_SYMBOL_CHOICES.size())) return MAPTECH_SYMBOL_CHOICES[0];
  return MAPTECH_SYMBOL_CHOICES[static_cast<std::size_t>(choice - 1)];
}

void READ_MXF() { runLogged("read_mxf", readMarks); }

void WRITE_MXF() { runLogged("write_mxf", writeMarks); }

void READ_RXF() { runLogged("read_rxf", readRoutes); }

void WRITE_RXF() { runLogged("write_rxf", writeRoutes); }

void READ_TXF() { runLogged("read_txf", readTracks); }

void WRITE_TXF() { runLogged("write_txf", writeTracks); }
