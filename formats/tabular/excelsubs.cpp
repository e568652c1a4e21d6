#include "formats/tabular/excelsubs.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/osgbsubs.h"
#include "converter/symbol_tables.h"
#include "formats/tabular/record_files.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/strings.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;
constexpr int kColumnCount = static_cast<int>(WORKSHEET_COLUMNS.size());
constexpr std::string_view kCeloxTitle = "Celox Message";

// Columns by their place in WORKSHEET_COLUMNS.
enum Column : int {
  kGridReference,
  kLatitude,
  kLongitude,
  kName,
  kInformation,
  kName2,
  kDateAndTime,
  kAltitude,
  kProximity,
  kSymbolName,
  kRouteName,
  kColourName,
};

constexpr std::string_view kWantedHeadings =
    "OS Grid Reference|Latitude|Longitude|Name|Information|Name 2|Date and Time|Altitude|Proximity|Symbol name|"
    "Route or Track name|Colour name|";

// A message with a number after it, as the library's callers word them: a
// leading blank, the text, the number in a field of twelve.
std::string withNumber(std::string_view text, long long value) {
  return std::string(" ").append(text).append(formatI(value, 12));
}

void celoxBox(std::string_view text) {
  WMessageBox(kOkOnly, kExclamationIcon, 1, text, kCeloxTitle);
  DEBUG_WRITE({text});
}

// The connection as a number for messages: 0 when there is none.
long long connectionNumber(CeloxConnection connection) {
  return static_cast<long long>(reinterpret_cast<std::uintptr_t>(connection));
}

// The twelve column arrays of one transfer, each with one element per row.
class ColumnArrays {
 public:
  // Arrays of `rows` elements (none when rows < 1).  False, with a status, when
  // memory runs out.  They are not cleared: the writer fills every element of
  // every row, and the library every element of each row it reads, before any
  // is looked at.
  bool allocate(std::int32_t rows, int& status) {
    rows_ = std::max(rows, 0);
    status = 0;
    if (rows_ == 0) return true;
    for (int c = 0; c < kColumnCount; ++c) {
      const std::size_t bytes = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(length(c));
      arrays_[static_cast<std::size_t>(c)].reset(new (std::nothrow) char[bytes]);
      if (!arrays_[static_cast<std::size_t>(c)]) {
        status = c + 1;
        return false;
      }
    }
    return true;
  }

  std::array<CeloxColumnBinding, kColumnCount> bindings(std::int32_t elementCount) const {
    std::array<CeloxColumnBinding, kColumnCount> all{};
    for (int c = 0; c < kColumnCount; ++c) {
      CeloxColumnBinding& b = all[static_cast<std::size_t>(c)];
      const WorksheetColumn& column = WORKSHEET_COLUMNS[static_cast<std::size_t>(c)];
      std::memset(b.columnName, ' ', sizeof b.columnName);
      std::memcpy(b.columnName, column.boundName.data(), column.boundName.size());
      b.data = arrays_[static_cast<std::size_t>(c)].get();
      b.elementCount = elementCount;
      b.cType = column.cType;
      b.elementLength = column.elementLength;
      b.reserved = 0;
    }
    return all;
  }

  // A text element up to its NUL, never beyond the element.
  std::string_view text(int column, int row) const {
    const char* e = element(column, row);
    const std::size_t n = static_cast<std::size_t>(length(column));
    const void* nul = std::memchr(e, '\0', n);
    return {e, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - e) : n};
  }
  double number(int column, int row) const {
    double value = 0.0;
    std::memcpy(&value, element(column, row), sizeof value);
    return value;
  }
  SQL_TIMESTAMP_STRUCT stamp(int column, int row) const {
    SQL_TIMESTAMP_STRUCT value{};
    std::memcpy(&value, element(column, row), sizeof value);
    return value;
  }

  // The text without its trailing blanks and a NUL, cut to the element; the
  // rest of the element blank.
  void setText(int column, int row, std::string_view value) const {
    char* e = element(column, row);
    const std::size_t n = static_cast<std::size_t>(length(column));
    const std::string_view t = text::trimmed(value);
    std::memset(e, ' ', n);
    std::memcpy(e, t.data(), std::min(t.size(), n));
    if (t.size() < n) e[t.size()] = '\0';
  }
  void setNumber(int column, int row, double value) const { std::memcpy(element(column, row), &value, sizeof value); }
  void setStamp(int column, int row, const SQL_TIMESTAMP_STRUCT& value) const {
    std::memcpy(element(column, row), &value, sizeof value);
  }

 private:
  static int length(int column) { return WORKSHEET_COLUMNS[static_cast<std::size_t>(column)].elementLength; }
  char* element(int column, int row) const {
    return arrays_[static_cast<std::size_t>(column)].get() +
           static_cast<std::ptrdiff_t>(row - 1) * length(column);
  }

  std::int32_t rows_ = 0;
  std::array<std::unique_ptr<char[]>, kColumnCount> arrays_;
};

// The worksheet of the data type, and its name as the library lists it.
std::string sheetOf(const std::string& dataType) { return dataType + "$"; }

bool isTracks() { return text::equal(CONVERTER_SETTINGS.DATA_TYPE.view(), "Tracks"); }
std::int32_t trackFilter() { return std::max(CONVERTER_SETTINGS.TRACK_FILTER, 1); }

// --- reading ---

// Turns the rows read into points.  Returns the number of rows that passed the
// track filter but had no position.
std::int32_t takeRows(const ColumnArrays& arrays, std::int32_t rows) {
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.TRACK_POSITION = 0;
  POINT_LIST.NTRACKPOINTS = 0;
  const bool tracks = isTracks();
  const std::int32_t filter = trackFilter();
  std::int32_t taken = 0;
  for (int k = 1; k <= rows; ++k) {
    const FixedText<64> route(arrays.text(kRouteName, k));
    if (!(route == POINT_LIST.CURRENT_ROUTE)) {
      POINT_LIST.NROUTES += 1;
      POINT_LIST.CURRENT_ROUTE = route;
      POINT_LIST.TRACK_POSITION = 0;
    }
    const bool passes = !tracks || POINT_LIST.TRACK_POSITION % filter == 0;
    POINT_LIST.TRACK_POSITION += 1;
    if (!passes) continue;
    POINT_LIST.NTRACKPOINTS += 1;

    const double latitude = arrays.number(kLatitude, k);
    const double longitude = arrays.number(kLongitude, k);
    FixedText<17> reference(arrays.text(kGridReference, k));
    // A row at exactly 0, 0 has its position in the grid reference, if anywhere.
    const bool fromGrid = latitude == 0.0 && longitude == 0.0;
    if (fromGrid && reference.isBlank()) continue;
    POINT_RECORD* point = STORE_POINT();
    if (point == nullptr) break;
    ++taken;
    if (fromGrid) {
      FROMOSGB(reference, point->LATITUDE, point->LONGITUDE);
    } else {
      point->LATITUDE = static_cast<float>(latitude);
      point->LONGITUDE = static_cast<float>(longitude);
    }
    point->DESCRIPTION = arrays.text(kName, k);
    point->NAME = arrays.text(kName2, k);
    point->COMMENT = arrays.text(kInformation, k);
    FROMTS(arrays.stamp(kDateAndTime, k), point->DATE, point->TIME);
    if (point->DATE.isBlank()) point->DATE = FILE_DATE;
    if (point->TIME.isBlank()) point->TIME = FILE_TIME;
    point->ALTITUDE = static_cast<float>(arrays.number(kAltitude, k));
    point->PROXIMITY = static_cast<float>(arrays.number(kProximity, k));
    point->SYMBOL_NAME = arrays.text(kSymbolName, k);
    point->SYMBOL = LOOKUP_CI(point->SYMBOL_NAME, 16, MAPTECH_SYMBOLS.names, MAPTECH_SYMBOLS.codes);
    point->ROUTE_NAME = route;
    point->COLOUR = arrays.text(kColourName, k);
    // Numbers that make no position, altitude or proximity leave the row as
    // unusable as a row without a position: it is counted with the skipped.
    if (!isRealPoint(*point)) {
      WITHDRAW_POINT();
      --taken;
    }
  }
  return POINT_LIST.NTRACKPOINTS - taken;
}

// Checks the worksheet, reads its rows and takes them; rowCount becomes the
// library's count, then the number of rows read.
void readWorksheet(CeloxConnection connection, const std::string& dataType, std::int32_t& rowCount) {
  const std::string sheet = sheetOf(dataType);
  if (NSHEETSFOUND(connection, sheet) <= 0) {
    WMessageBox(kOkOnly, kExclamationIcon, 1, "The data must be on worksheet " + dataType, "Worksheet Error");
    DEBUG_WRITE({"Worksheet error: The data must be on worksheet ", dataType});
    return;
  }
  if (NCOLUMNSFOUND(connection, sheet, kWantedHeadings) < kColumnCount) {
    WMessageBox(kOkOnly, kExclamationIcon, 1,
                "The column headings must be OS Grid Reference, Latitude, Longitude, Name, Information, Name 2, "
                "Date and Time, Altitude, Proximity, Symbol name, Route or Track name, Colour name",
                "Worksheet Error");
    DEBUG_WRITE({"Worksheet error: The column headings must be"});
    DEBUG_WRITE({"OS Grid Reference, Latitude, Longitude, Name, Information, Name 2, Date and Time"});
    DEBUG_WRITE({"Altitude, Proximity, Symbol name, Route or Track name, Colour name"});
    return;
  }
  DEBUG_WRITE({"  Table name is ", dataType});
  DEBUG_WRITE({"  CeloxGetRowCount"});
  const std::int32_t rows = CeloxGetRowCount(connection, dataType.c_str());
  rowCount = rows;
  DEBUG_WRITE({"  Row count is ", rows});
  if (rows == 0) {
    celoxBox(" Table " + dataType + " is empty. No rows to read.");
    return;
  }
  // The rows must fit beside the points already in the list (after Append),
  // or none is taken.
  if (rows > MAX_POINTS - POINT_LIST.NPOINTS) {
    STORAGE_LIMIT_BOX();
    return;
  }
  DEBUG_WRITE({"  Allocate arrays"});
  ColumnArrays arrays;
  int status = 0;
  if (!arrays.allocate(rows, status)) {
    celoxBox(withNumber("Could not allocate arrays. Runtime error =", status));
    return;
  }
  const auto bindings = arrays.bindings(rows);
  DEBUG_WRITE({"  CeloxReadRows"});
  const std::int32_t read = CeloxReadRows(connection, dataType.c_str(), kColumnCount, -1, bindings.data(), "", "");
  rowCount = read;
  DEBUG_WRITE({read, " read from table"});
  if (read < 0) {
    celoxBox(" An error occurred executing CeloxReadRows.");
  } else if (read > MAX_POINTS - POINT_LIST.NPOINTS) {
    STORAGE_LIMIT_BOX();
  } else if (const std::int32_t skipped = takeRows(arrays, read); skipped > 0) {
    WMessageBox(kOkOnly, kExclamationIcon, 1,
                "Some POI have neither Lat/Long coordinates\rnor OSGB references defined.\r" + formatI(skipped, 5) +
                    " of the " + formatI(read, 5) + " rows have been skipped.",
                "XLS data error");
  }
  DEBUG_WRITE({"  Deallocate arrays"});
}

void logReadSummary(std::int32_t rowCount) {
  const std::string read = formatI(POINT_LIST.NREAD, 5);
  const std::string routes = formatI(POINT_LIST.NROUTES, 3);
  if (text::equal(CONVERTER_SETTINGS.DATA_TYPE.view(), "Points")) {
    SCROLL_COUNT(read + " points read");
  } else if (text::equal(CONVERTER_SETTINGS.DATA_TYPE.view(), "Routes")) {
    SCROLL_COUNT(read + " points read from" + routes + " routes");
  } else if (trackFilter() > 1) {
    SCROLL_COUNT(read + " of " + formatI(rowCount, 4) + " points read from" + routes + " tracks");
  } else {
    SCROLL_COUNT(read + " points read from" + routes + " tracks");
  }
}

// --- writing ---

// Fills row i of the arrays from point i of the list.
void putPoint(const ColumnArrays& arrays, int i) {
  const POINT_RECORD& p = POINT_LIST.POINT(i);
  if (isTrue(CONVERTER_SETTINGS.OSGB_OUTPUT)) {
    FixedText<17> reference;
    TOOSGB(p.LATITUDE, p.LONGITUDE, reference);
    arrays.setText(kGridReference, i, reference);
  } else {
    arrays.setText(kGridReference, i, "");
  }
  arrays.setNumber(kLatitude, i, p.LATITUDE);
  arrays.setNumber(kLongitude, i, p.LONGITUDE);
  // A point without its own date or time goes with the input file's.
  SQL_TIMESTAMP_STRUCT stamp{};
  TOTS(p.DATE.isBlank() ? FILE_DATE.view() : p.DATE.view(), p.TIME.isBlank() ? FILE_TIME.view() : p.TIME.view(),
       stamp);
  arrays.setStamp(kDateAndTime, i, stamp);
  arrays.setNumber(kAltitude, i, p.ALTITUDE);
  arrays.setText(kName, i, p.DESCRIPTION);
  arrays.setText(kInformation, i, p.COMMENT);
  arrays.setText(kName2, i, p.NAME);
  arrays.setNumber(kProximity, i, p.PROXIMITY);
  arrays.setText(kSymbolName, i, p.SYMBOL_NAME);
  arrays.setText(kRouteName, i, p.ROUTE_NAME);
  if (!(p.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE)) {
    POINT_LIST.NROUTES += 1;
    POINT_LIST.CURRENT_ROUTE = p.ROUTE_NAME;
  }
  arrays.setText(kColourName, i, p.COLOUR);
}

std::string createTableText(const std::string& table) {
  std::string definition = table + " (";
  for (int c = 0; c < kColumnCount; ++c) {
    const WorksheetColumn& column = WORKSHEET_COLUMNS[static_cast<std::size_t>(c)];
    if (c > 0) definition += ", ";
    definition.append(column.boundName).append(" ").append(column.tableType);
  }
  return definition + ")";
}

// Creates the workbook with the worksheet and writes the rows; the number of
// rows in the workbook (0 on any failure).
std::int32_t writeWorkbook(const ColumnArrays& arrays, std::int32_t rows) {
  const std::string fileName = FILE_NAMES.OUTPUT_FILE.str();
  // The workbook is made beside the output and takes its place only when
  // complete: a failure leaves the earlier file as it was.
  FileReplacement book;
  DEBUG_WRITE({"  CeloxCreateEXCELFile"});
  const CeloxConnection connection = book.begin(fileName, FileReplacement::Writer::kOther)
                                         ? CeloxCreateEXCELFile(book.temporaryPath().c_str())
                                         : nullptr;
  if (connection == nullptr) {
    celoxBox(withNumber("Error returned from CeloxCreateEXCELFile =", connectionNumber(connection)));
    return 0;
  }
  DEBUG_WRITE({"  CeloxSetErrorLevel( 1 )"});
  CeloxSetErrorLevel(1);
  DEBUG_WRITE({"  CeloxSetErrorMessagesDisplay( 1 )"});
  CeloxSetErrorMessagesDisplay(1);
  const std::string table = CONVERTER_SETTINGS.DATA_TYPE.str();
  DEBUG_WRITE({"  Table name is ", table});
  std::int32_t written = 0;
  bool complete = false;
  DEBUG_WRITE({"  CeloxDoesTableNameExist"});
  if (CeloxDoesTableNameExist(connection, table.c_str()) == 1) {
    celoxBox(" Table " + table + " already exists.");
  } else {
    DEBUG_WRITE({"  CeloxCreateTable"});
    const std::string definition = createTableText(table);
    if (const std::int32_t code = CeloxCreateTable(connection, definition.c_str()); code != 0) {
      celoxBox(withNumber("Error returned from CeloxCreateTable, iError = ", code));
    } else {
      // With no rows to write, the workbook holding the empty sheet is complete.
      complete = rows == 0;
      const auto bindings = arrays.bindings(rows);
      DEBUG_WRITE({"  CeloxWriteRows"});
      const std::int32_t result = CeloxWriteRows(connection, table.c_str(), kColumnCount, rows, bindings.data());
      if (result < 0) {
        celoxBox(withNumber("Error returned from CeloxWriteRows. Error = ", result));
      } else {
        written = result;
        complete = true;
      }
    }
  }
  DEBUG_WRITE({"  CeloxCloseEXCELFile"});
  if (const std::int32_t closed = CeloxCloseEXCELFile(connection); closed != 0) {
    celoxBox(withNumber("Error returned from CeloxCloseEXCELFile. Error = ", closed));
    complete = false;
  }
  if (!complete) return 0;
  if (!book.commit()) {
    celoxBox("Cannot replace the file\r" + fileName);
    return 0;
  }
  return written;
}

}  // namespace

std::int32_t NSHEETSFOUND(CeloxConnection connection, std::string_view wanted) {
  DEBUG_MARK(DebugMark::kFunction, "nSheetsFound");
  DEBUG_WRITE({"Looking for worksheet ", wanted});
  std::int32_t found = 0;
  std::int32_t room = 20;
  // A second listing with room for all is enough; the library never asks for
  // more room than it reported.
  for (int attempt = 1; attempt <= 2; ++attempt) {
    std::vector<char> names(static_cast<std::size_t>(room) * kCeloxTableNameLength, ' ');
    std::int32_t count = 0;
    std::int32_t error = 0;
    CeloxGetTableNames(connection, room, names.data(), &count, &error);
    if (error == qxERRORInsufficientDimension) {
      DEBUG_WRITE({"   Error in nSheetsFound, iError =qxERRORInsufficientDimension"});
      DEBUG_WRITE({"   iCountTableNames =", count});
      if (count <= room) {
        DEBUG_WRITE({"No worksheets could be found."});
        break;
      }
      DEBUG_WRITE({"Second try..."});
      room = count;
      continue;
    }
    if (error != 0) {
      DEBUG_WRITE({"   Error in nSheetsFound, iError =", error});
      break;
    }
    DEBUG_WRITE({"   Worksheet names:"});
    for (std::int32_t i = 0; i < std::min(count, room); ++i) {
      const char* name = names.data() + static_cast<std::ptrdiff_t>(i) * kCeloxTableNameLength;
      const std::string_view listed(name, strnlen(name, kCeloxTableNameLength));
      DEBUG_WRITE({listed});
      if (IStringFindNoCase(wanted, listed) > 0) ++found;
    }
    break;
  }
  DEBUG_MARK(DebugMark::kExitFromFunction, "nSheetsFound");
  return found;
}

std::int32_t NCOLUMNSFOUND(CeloxConnection connection, std::string_view sheet, std::string_view wanted) {
  DEBUG_MARK(DebugMark::kFunction, "nColumnsFound");
  DEBUG_WRITE({"Looking for column names"});
  DEBUG_WRITE({std::string("\"").append(wanted).append("\"")});
  DEBUG_WRITE({"on worksheet ", sheet});
  std::int32_t found = 0;
  const std::string sheetName(text::trimmed(sheet));
  std::int32_t room = 20;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    DEBUG_WRITE({"   Allocate ColumnInfo"});
    std::vector<ColumnInfo> columns(static_cast<std::size_t>(room));
    std::int32_t count = 0;
    std::int32_t error = 0;
    CeloxListColumns(connection, sheetName.c_str(), room, columns.data(), &count, &error);
    if (error == qxERRORInsufficientDimension && count > room) {
      room = count;
      DEBUG_WRITE({"   Allocate ColumnInfo:", count});
      continue;
    }
    if (error != 0) {
      DEBUG_WRITE({"   Error in nColumnsFound, iError =", error});
      break;
    }
    DEBUG_WRITE({"   Worksheet column names:"});
    for (std::int32_t i = 0; i < std::min(count, room); ++i) {
      const ColumnInfo& info = columns[static_cast<std::size_t>(i)];
      const std::string name(info.columnName, strnlen(info.columnName, sizeof info.columnName));
      DEBUG_WRITE({name, std::string(info.typeName, strnlen(info.typeName, sizeof info.typeName)),
                   static_cast<int>(info.columnSize)});
      if (IStringFindNoCase(wanted, name + "|") > 0) ++found;
    }
    break;
  }
  DEBUG_WRITE({"   Deallocate ColumnInfo"});
  DEBUG_MARK(DebugMark::kExitFromFunction, "nColumnsFound");
  return found;
}

namespace {
// The number in the fixed columns of the text: blanks do not count, all blanks
// read as 0, and a field holding anything but digits (and a leading sign) as 0.
int fixedColumnNumber(std::string_view text, int first, int count) {
  std::string digits;
  for (int c = first; c < first + count && c <= static_cast<int>(text.size()); ++c) {
    const char ch = text[static_cast<std::size_t>(c - 1)];
    if (ch != ' ') digits += ch;
  }
  std::size_t i = digits.empty() || (digits[0] != '-' && digits[0] != '+') ? 0 : 1;
  if (i == digits.size()) return 0;
  int value = 0;
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return 0;
    value = value * 10 + (digits[i] - '0');
  }
  return digits[0] == '-' ? -value : value;
}
}  // namespace

void TOTS(std::string_view date, std::string_view time, SQL_TIMESTAMP_STRUCT& stamp) {
  stamp.day = static_cast<SQLUSMALLINT>(fixedColumnNumber(date, 1, 2));
  stamp.month = static_cast<SQLUSMALLINT>(fixedColumnNumber(date, 4, 2));
  stamp.year = static_cast<SQLSMALLINT>(fixedColumnNumber(date, 7, 4));
  stamp.hour = static_cast<SQLUSMALLINT>(fixedColumnNumber(time, 1, 2));
  stamp.minute = static_cast<SQLUSMALLINT>(fixedColumnNumber(time, 4, 2));
  stamp.second = static_cast<SQLUSMALLINT>(fixedColumnNumber(time, 7, 2));
  stamp.fraction = 0;
}

void FROMTS(const SQL_TIMESTAMP_STRUCT& stamp, TextField date, TextField time) {
  date.assign(formatI(stamp.day, 2, 2) + "/" + formatI(stamp.month, 2, 2) + "/" + formatI(stamp.year, 4, 4));
  time.assign(formatI(stamp.hour, 2, 2) + ":" + formatI(stamp.minute, 2, 2) + ":" + formatI(stamp.second, 2, 2));
  // An empty cell.
  if (text::equal(time.view(), "00:00:00") && text::equal(date.view(), "00/00/0000")) {
    date.blank();
    time.blank();
  }
}

void READ_XLS() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_xls");
  if (isTracks() && CONVERTER_SETTINGS.TRACK_FILTER > 1) {
    SCROLL("Track filter is set to " + std::to_string(CONVERTER_SETTINGS.TRACK_FILTER));
  }
  // A workbook refused before its rows are read counts no route of an earlier file.
  POINT_LIST.NROUTES = 0;
  const std::string fileName = FILE_NAMES.INPUT_FILE.str();
  DEBUG_WRITE({"  CeloxOpenEXCELFile"});
  const CeloxConnection connection = CeloxOpenEXCELFile(fileName.c_str());
  if (connection == nullptr) {
    celoxBox(withNumber("Error returned from CeloxOpenEXCELFile =", connectionNumber(connection)));
    return;
  }
  DEBUG_WRITE({"  CeloxSetErrorLevel( 1 )"});
  CeloxSetErrorLevel(1);
  DEBUG_WRITE({"  CeloxSetErrorMessagesDisplay( 1 )"});
  CeloxSetErrorMessagesDisplay(1);

  std::int32_t rowCount = 0;
  readWorksheet(connection, CONVERTER_SETTINGS.DATA_TYPE.str(), rowCount);

  DEBUG_WRITE({"  CeloxCloseEXCELFile"});
  if (const std::int32_t closed = CeloxCloseEXCELFile(connection); closed != 0) {
    celoxBox(withNumber("Error returned from CeloxCloseEXCELFile = ", closed));
  }
  logReadSummary(rowCount);
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_xls");
}

void WRITE_XLS() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_xls");
  const std::int32_t rows = std::clamp(POINT_LIST.NPOINTS, 0, MAX_POINTS);
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  std::int32_t written = 0;
  DEBUG_WRITE({"  Allocate arrays"});
  ColumnArrays arrays;
  int status = 0;
  if (!arrays.allocate(rows, status)) {
    celoxBox(withNumber("Could not allocate arrays. Runtime error =", status));
  } else {
    for (int i = 1; i <= rows; ++i) putPoint(arrays, i);
    written = writeWorkbook(arrays, rows);
    DEBUG_WRITE({"  Deallocate arrays"});
  }
  // Only rows that reached the workbook are logged as written.
  const std::string count = formatI(written, 5) + " points written";
  const std::string routes = formatI(written > 0 ? POINT_LIST.NROUTES : 0, 3);
  if (text::equal(CONVERTER_SETTINGS.DATA_TYPE.view(), "Points")) {
    SCROLL_COUNT(count);
  } else if (text::equal(CONVERTER_SETTINGS.DATA_TYPE.view(), "Routes")) {
    SCROLL_COUNT(count + " to" + routes + " routes");
  } else {
    SCROLL_COUNT(count + " to" + routes + " tracks");
  }
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_xls");
}
