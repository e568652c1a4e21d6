#include "formats/tabular/memorymap.h"

#include <algorithm>
#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "converter/text_helpers.h"
#include "formats/tabular/free_form.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/text_lines.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr int kMemoryMapSymbolCount = 24;
// The Maptech codes of MAPTECH_SYMBOLS run parallel to the first sixteen
// Memory-Map codes.
constexpr int kParallelSymbols = 16;
constexpr int kFirstMaptechCode = 37;
constexpr std::string_view kLinkPrefix = "file:";


// The twelve values of a waypoint record after its "WP04,".  False when they
// cannot all be read, or when the position is not given.
bool readWaypoint(std::string_view values, POINT_RECORD& point) {
  point = POINT_RECORD{};
  // The file's date and time, and no proximity unless the record gives one.
  giveFileDefaults(point);
  FreeFormReader in(values);
  std::int32_t symbol = 0;
  std::int32_t unused = 0;
  FixedText<256> link;
  const bool read = isValue(in.real(point.LATITUDE)) && isValue(in.real(point.LONGITUDE)) &&
                    isValueOrNull(in.integer(symbol)) && isValueOrNull(in.text(point.DESCRIPTION)) &&
                    isValueOrNull(in.text(point.COMMENT)) && isValueOrNull(in.text(link)) &&
                    isValueOrNull(in.real(point.PROXIMITY)) && isValueOrNull(in.integer(unused)) &&
                    isValueOrNull(in.text(point.NAME)) && isValueOrNull(in.integer(unused)) &&
                    isValueOrNull(in.integer(unused)) && isValueOrNull(in.text(point.ROUTE_NAME));
  if (!read) return false;
  LOOKUP_IC(symbol, kMemoryMapSymbolCount, MEMORYMAP_SYMBOLS.codes, MEMORYMAP_SYMBOLS.names, point.SYMBOL_NAME);
  point.SYMBOL = LOOKUP_II(symbol, kMemoryMapSymbolCount, MEMORYMAP_SYMBOLS.codes, MEMORYMAP_SYMBOLS.codes);
  point.COLOUR.blank();
  return true;
}

void rejectFile() {
  WMessageBox(kOkOnly, kInformationIcon, 1,
              "This file contains records that are\rnot in Memory-Map CSV format.\rPlease select a different file.",
              "File Format Error");
  SCROLL("  Error: Not in Memory-Map CSV format");
  FILE_NAMES.INPUT_FILE.blank();
}

void readMarks() {
  TextLineReader file;
  if (!openInputFile(file)) return;
  int length = 0;
  while (file.readLine(RECORD_BUFFER, length)) {
    const std::string_view record = RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length));
    const std::string_view kind = record.substr(0, 4);
    if (kind == "IC01") continue;
    if (kind != "WP04") {
      rejectFile();
      file.close();
      return;
    }
    POINT_RECORD point;
    if (!readWaypoint(record.substr(std::min<std::size_t>(5, record.size())), point) || !isRealPoint(point)) {
      ERROR(3, "Data format error", "WP04, Lat, Lon, Symbol etc", RECORD_BUFFER, "quit");
      return;
    }
    POINT_RECORD* stored = STORE_POINT();
    if (stored == nullptr) return;
    *stored = point;
  }
  file.close();
  SCROLL(countLine(POINT_LIST.NREAD, " points read"));
}

// The Memory-Map code of the symbol that a Maptech code stands for; 0 (Dot) when
// it is not one of the table.
std::int32_t memoryMapCode(std::int32_t maptechCode) {
  return LOOKUP_II(maptechCode, kParallelSymbols, MAPTECH_SYMBOLS.codes, MEMORYMAP_SYMBOLS.codes);
}

std::int32_t writtenSymbol(std::int32_t symbol) {
  if (symbol == kNoSymbol) return memoryMapCode(maptechChosenSymbol());
  if (symbol >= kFirstMaptechCode) return memoryMapCode(symbol);
  return symbol;
}

std::string quoted(std::string_view text) {
  std::string out(1, '"');
  out.append(text).append(1, '"');
  return out;
}

std::string waypointRecord(const POINT_RECORD& point, std::string_view fileName) {
  const std::string_view description =
      point.DESCRIPTION.isBlank() ? point.NAME.trimmed() : point.DESCRIPTION.trimmed();
  std::string_view comment = point.COMMENT.trimmed();
  std::string_view link;
  // A comment that is a link to a file goes into the link value instead.
  if (point.COMMENT.view().substr(0, kLinkPrefix.size()) == kLinkPrefix) {
    link = text::trimmed(point.COMMENT.view().substr(kLinkPrefix.size()));
    comment = {};
  }
  return "WP04," + fieldF(point.LATITUDE, 10, 5) + "," + fieldF(point.LONGITUDE, 10, 5) + "," +
         fieldI(writtenSymbol(point.SYMBOL), 2) + "," + quoted(description) + "," + quoted(comment) + "," +
         quoted(link) + "," + fieldF(point.PROXIMITY, 9, 2) + ",1,\"\",1,1," + quoted(fileName) + ",0";
}

void writeMarks() {
  TextLineWriter file;
  if (!openOutputFile(file)) return;
  FixedText<256> fileName;
  carrowmapper::FILE(FILE_NAMES.OUTPUT_FILE, fileName);
  const int count = listedPoints();
  for (int i = 1; i <= count; ++i) file.writeLine(waypointRecord(POINT_LIST.POINT(i), fileName.trimmed()));
  if (!closeOutputFile(file)) return;
  SCROLL(countLine(POINT_LIST.NPOINTS, " points written"));
}

}  // namespace

void READ_MM_MARKS_CSV() { runLogged("read_MM_marks_csv", readMarks); }

void WRITE_MM_MARKS_CSV() { runLogged("write_MM_marks_csv", writeMarks); }
