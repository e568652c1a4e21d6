#include "formats/tabular/autoroute.h"

#include <array>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/field_splitters.h"
#include "converter/log_display.h"
#include "converter/osgbsubs.h"
#include "converter/text_helpers.h"
#include "formats/tabular/coordinate_parsers.h"
#include "formats/tabular/record_files.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/strings.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr std::string_view kContinue = "continue";

constexpr int kMaxColumns = 32;

// The column keywords, numbered from 1 in this order.
enum Keyword : int { kUnused = 0, kLatitude, kLongitude, kName, kInformation, kGridReference, kEastings, kNorthings };
constexpr std::array<std::string_view, 7> kKeywords{"latitude",          "longitude", "name",     "information",
                                                    "os grid reference", "eastings",  "northings"};

enum class PositionMode { kGrid, kEastingsNorthings, kLatitudeLongitude };

int keywordOf(std::string_view field) {
  for (std::size_t k = 0; k < kKeywords.size(); ++k) {
    if (text::equal(field, kKeywords[k])) return static_cast<int>(k) + 1;
  }
  return kUnused;
}

// Closing steps after a refused record or header.
void endAfterFailure(TextInputFile& file) {
  file.close();
  SCROLL(" File closed");
}

// Forgets the input file, so that Save refuses until another file is opened.
void forgetInputFile() { FILE_NAMES.INPUT_FILE.blank(); }

// F10.5 without the blanks of its field.
std::string coordinateText(float value) {
  return text::withoutLeadingBlanks(text::trimmed(formatF(value, 10, 5)));
}

}  // namespace

void NEW_READ_CSV() {
  DEBUG_MARK(DebugMark::kSubroutine, "new_read_csv");
  TextInputFile file;
  if (!file.open(FILE_NAMES.INPUT_FILE)) {
    FILE_ERROR_BOX("The file could not be opened:", FILE_NAMES.INPUT_FILE);
    return;
  }
  TextField record = RECORD_BUFFER;
  int length = 0;
  if (!file.readLine(record, length)) {
    file.close();
    SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read");
    DEBUG_MARK(DebugMark::kExitFromSubroutine, "new_read_csv");
    return;
  }
  const FixedText<kRecordLength> headerAsRead = RECORD_BUFFER;
  IStringLower(record);
  if (record.column(1) == ';') record.assign(record.view().substr(1));

  // The keyword of each header column, in order.
  std::array<int, kMaxColumns> columnKeyword{};
  int columns = 0;
  {
    int position = 1;
    Logical atEnd = kLogicalFalse;
    std::int32_t quotes = 0;
    FixedText<256> field;
    do {
      GET_QCSV_FIELD(record, position, field, atEnd, quotes);
      if (columns == kMaxColumns) {
        WMessageBox(kOkOnly, kInformationIcon, 1, "Too many fields in header.\rMaximum is 32", "Storage limit");
        endAfterFailure(file);
        forgetInputFile();
        return;
      }
      if (quotes == 2) {
        ERROR(1, "Error in header record", "Unbalanced quotes", headerAsRead, kContinue);
        endAfterFailure(file);
        forgetInputFile();
        return;
      }
      columnKeyword[static_cast<std::size_t>(columns++)] = keywordOf(field);
    } while (!isTrue(atEnd));
  }

  PositionMode mode;
  if (record.view().find("os grid") != std::string_view::npos) {
    mode = PositionMode::kGrid;
  } else if (record.view().find("eastings") != std::string_view::npos) {
    mode = PositionMode::kEastingsNorthings;
  } else if (record.view().find("longitude") != std::string_view::npos) {
    mode = PositionMode::kLatitudeLongitude;
  } else {
    WMessageBox(kOkOnly, kInformationIcon, 1,
                "This file contains records that are\rnot in AutoRoute CSV format.\r"
                "Please check the header record or select a different file.",
                "File Format Error");
    SCROLL("  Error: Not in AutoRoute CSV format");
    forgetInputFile();
    endAfterFailure(file);
    return;
  }

  std::array<FixedText<256>, kKeywords.size()> values;
  while (file.readLine(record, length)) {
    if (length == 0) continue;
    const FixedText<kRecordLength> recordAsRead = RECORD_BUFFER;
    IStringAlign(record, "L");
    if (record.column(1) == ';') continue;

    POINT_RECORD* point = STORE_POINT();
    if (point == nullptr) return;  // the storage limit ends the program

    for (auto& value : values) value.blank();
    int position = 1;
    Logical atEnd = kLogicalFalse;
    std::int32_t quotes = 0;
    FixedText<256> field;
    for (int c = 0; c < columns; ++c) {
      GET_QCSV_FIELD(record, position, field, atEnd, quotes);
      const int keyword = columnKeyword[static_cast<std::size_t>(c)];
      if (keyword == kUnused) continue;
      if (quotes == 2) {
        ERROR(1, "Error in data field", "Unbalanced quotes", recordAsRead, kContinue);
        WITHDRAW_POINT();
        endAfterFailure(file);
        return;
      }
      values[static_cast<std::size_t>(keyword - 1)] = field;
    }
    const auto value = [&](Keyword k) -> FixedText<256>& { return values[static_cast<std::size_t>(k - 1)]; };

    float latitude = 0.0f;
    float longitude = 0.0f;
    std::int32_t status = kCoordinateStored;
    switch (mode) {
      case PositionMode::kGrid: {
        // A failed reference has shown its own box and asks the program to
        // end; this reader only stops reading the file.
        const Logical stopBefore = STOP_FLAG;
        STOP_FLAG = kLogicalFalse;
        FROMOSGB(value(kGridReference), latitude, longitude);
        const bool failed = isTrue(STOP_FLAG);
        STOP_FLAG = stopBefore;
        if (failed) status = kCoordinateRefused;
        break;
      }
      case PositionMode::kEastingsNorthings:
        FROMEN(value(kEastings), value(kNorthings), latitude, longitude, recordAsRead, status);
        break;
      case PositionMode::kLatitudeLongitude:
        DMS(value(kLatitude), latitude, 90.0f, recordAsRead, status);
        if (status == kCoordinateStored) DMS(value(kLongitude), longitude, 180.0f, recordAsRead, status);
        break;
    }
    if (status != kCoordinateStored) {
      WITHDRAW_POINT();
      endAfterFailure(file);
      return;
    }

    point->LATITUDE = latitude;
    point->LONGITUDE = longitude;
    point->DESCRIPTION = value(kName);
    point->COMMENT = value(kInformation);
    point->NAME.blank();
    point->DATE = FILE_DATE;
    point->TIME = FILE_TIME;
    point->ALTITUDE = kNoValue;
    point->PROXIMITY = 0.0f;
    point->SYMBOL = kNoSymbol;
    point->SYMBOL_NAME = "Waypoint";
    point->ROUTE_NAME = "Point data";
    point->COLOUR.blank();
  }
  file.close();
  SCROLL_COUNT(formatI(POINT_LIST.NREAD, 5) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "new_read_csv");
}

namespace {

// Both writers: the header, then one line per point, then the count line.
template <typename LineOf>
void writePushpins(std::string_view routine, std::string_view header, LineOf lineOf) {
  DEBUG_MARK(DebugMark::kSubroutine, routine);
  TextOutputFile file;
  if (!file.create(FILE_NAMES.OUTPUT_FILE)) {
    FILE_ERROR_BOX("The file could not be created:", FILE_NAMES.OUTPUT_FILE);
    return;
  }
  file.writeLine(header);
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) file.writeLine(lineOf(POINT_LIST.POINT(i)));
  if (!file.close()) {
    FILE_ERROR_BOX("The file could not be written completely:", FILE_NAMES.OUTPUT_FILE);
    return;
  }
  SCROLL_COUNT(formatI(POINT_LIST.NPOINTS, 5) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}

std::string quoted(std::string_view text) { return std::string("\"").append(text::trimmed(text)).append("\""); }

}  // namespace

void WRITE_CSV() {
  writePushpins("write_csv", "Longitude,Latitude,Name,Information", [](const POINT_RECORD& p) {
    return coordinateText(p.LONGITUDE) + "," + coordinateText(p.LATITUDE) + "," + quoted(p.DESCRIPTION) + "," +
           quoted(p.COMMENT);
  });
}

void WRITE_TAB() {
  writePushpins("write_tab", "Longitude\tLatitude\tName\tInformation", [](const POINT_RECORD& p) {
    FixedText<10> longitude;
    FixedText<10> latitude;
    CNUM(p.LONGITUDE, longitude, "(F10.5)");
    CNUM(p.LATITUDE, latitude, "(F10.5)");
    return std::string(longitude.view()) + "\t" + std::string(latitude.view()) + "\t" + quoted(p.DESCRIPTION) +
           "\t" + quoted(p.COMMENT);
  });
}
