// The worksheet catalogue: the workbook's worksheet tables, a table's columns,
// its row count, and new worksheets.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "spreadsheet/library_state.h"
#include "toolkit/core/fixed_text.h"

namespace celox {
namespace {

constexpr int kNameBuffer = 256;    // table listing: catalogue text columns
constexpr int kColumnBuffer = 130;  // column listing: catalogue text columns
constexpr int kColumnNameLength = 64;
constexpr int kTypeNameLength = 42;
constexpr char kTablePattern[] = "%$";
constexpr std::string_view kCreatePrefix = "CREATE TABLE ";

// Whether a fetched text column was cut to its buffer, by its length indicator.
bool cutShort(SQLLEN reported, int bufferSize) { return reported == SQL_NO_TOTAL || reported >= bufferSize; }

// The table listing reads only each row's table name.
struct TableListing {
  std::array<char, kNameBuffer> catalogue, schema, table, column, typeName;
  SQLSMALLINT dataType;
  std::array<SQLLEN, 6> lengths;

  bool onlyUnreadTextsCut() const {
    const auto cut = [&](std::size_t i) { return cutShort(lengths[i], kNameBuffer); };
    return (cut(0) || cut(1) || cut(3) || cut(5)) && !cut(2);
  }
};
TableListing tableListing;

// The column listing reads each row's column name, type name, type and size.
struct ColumnListing {
  std::array<char, kColumnBuffer> catalogue, schema, column, typeName;
  std::array<char, kNameLimit> table;
  SQLSMALLINT dataType;
  SQLINTEGER columnSize;
  std::array<SQLLEN, 7> lengths;

  bool onlyUnreadTextsCut() const {
    const auto cut = [&](std::size_t i) { return cutShort(lengths[i], i == 2 ? kNameLimit : kColumnBuffer); };
    return (cut(0) || cut(1) || cut(2)) && !cut(3) && !cut(5);
  }
};
ColumnListing columnListing;

// Whether a fetched catalogue row can be used.  The catalogue's first column
// names the workbook by its whole path, which a workbook deep in the folder
// tree makes longer than that column's buffer: a text cut short in a column
// that the listing never reads is no failure and shows no message.  Anything
// else is judged as every call is.
bool catalogueRowFetched(SQLRETURN rc, bool onlyUnreadTextsCut) {
  if (rc == SQL_SUCCESS_WITH_INFO && onlyUnreadTextsCut) return true;
  return qxSQLSucceeded(rc);
}

// A NUL-ended text inside a buffer, leading blanks moved to its end.
void leftJustify(char* buffer, int size) {
  const int length = static_cast<int>(strnlen(buffer, static_cast<std::size_t>(size)));
  int lead = 0;
  while (lead < length && buffer[lead] == ' ') ++lead;
  if (lead == 0) return;
  std::memmove(buffer, buffer + lead, static_cast<std::size_t>(length - lead));
  std::memset(buffer + length - lead, ' ', static_cast<std::size_t>(lead));
}

std::string_view textIn(const char* buffer, int size) {
  return {buffer, strnlen(buffer, static_cast<std::size_t>(size))};
}

// The returned length of a text column, bounded by what its buffer holds.
std::size_t boundedLength(SQLLEN reported, int bufferSize) {
  if (reported < 0) return 0;
  return std::min<std::size_t>(static_cast<std::size_t>(reported), static_cast<std::size_t>(bufferSize - 1));
}

bool bindText(SQLHSTMT s, int column, char* buffer, int size, SQLLEN* length, std::string_view context) {
  if (qxSQLSucceeded(SQLBindCol(s, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, buffer, size, length))) return true;
  qxSetContext(context);
  return false;
}

template <typename T>
bool bindNumber(SQLHSTMT s, int column, SQLSMALLINT type, T* value, SQLLEN* length, std::string_view context) {
  if (qxSQLSucceeded(SQLBindCol(s, static_cast<SQLUSMALLINT>(column), type, value, sizeof(T), length))) return true;
  qxSetContext(context);
  return false;
}

bool bindTableListing(SQLHSTMT s) {
  auto& b = tableListing;
  return bindText(s, 1, b.catalogue.data(), kNameBuffer, &b.lengths[0], "SQLBindColChar( hBef, 1, ...)") &&
         bindText(s, 2, b.schema.data(), kNameBuffer, &b.lengths[1], "SQLBindColChar( hBef, 2, ...)") &&
         bindText(s, 3, b.table.data(), kNameBuffer, &b.lengths[2], "SQLBindColChar( hBef, 3, ...)") &&
         bindText(s, 4, b.column.data(), kNameBuffer, &b.lengths[3], "SQLBindColChar( hBef, 4 ...)") &&
         bindNumber(s, 5, SQL_C_SSHORT, &b.dataType, &b.lengths[4], "SQLBindColI2( hBef, 5 ...)") &&
         bindText(s, 6, b.typeName.data(), kNameBuffer, &b.lengths[5], "SQLBindColChar( hBef, 6 ...)");
}

bool bindColumnListing(SQLHSTMT s) {
  auto& b = columnListing;
  return bindText(s, 1, b.catalogue.data(), kColumnBuffer, &b.lengths[0], "SQLBindColChar(hBef, 1, ...)") &&
         bindText(s, 2, b.schema.data(), kColumnBuffer, &b.lengths[1], "SQLBindColChar(hBef, 2, ...)") &&
         bindText(s, 3, b.table.data(), kNameLimit, &b.lengths[2], "SQLBindColChar(hBef, 3, ...)") &&
         bindText(s, 4, b.column.data(), kColumnBuffer, &b.lengths[3], "SQLBindColChar(hBef, 4 ...)") &&
         bindNumber(s, 5, SQL_C_SSHORT, &b.dataType, &b.lengths[4], "SQLBindColI2(hBef, 5 ...)") &&
         bindText(s, 6, b.typeName.data(), kColumnBuffer, &b.lengths[5], "SQLBindColChar(hBef, 6 ...)") &&
         bindNumber(s, 7, SQL_C_SLONG, &b.columnSize, &b.lengths[6], "SQLBindColChar(hBef, 7 ...)");
}

// Unbinds and drops a listing's statement; a failure is recorded only when
// nothing went wrong before.
void dropListing(SQLHSTMT s, std::int32_t& error, bool recordInError) {
  if (!qxSQLSucceeded(SQLFreeStmt(s, SQL_UNBIND)) && (!recordInError || error == 0)) {
    qxSetContext("SQLFreeStmt( hBef, SQL_UNBIND )");
    (recordInError ? error : qxLastError) = qxERRORSQLCallFailed;
  }
  if (!qxSQLSucceeded(SQLFreeStmt(s, SQL_DROP)) && (!recordInError || error == 0)) {
    qxSetContext("SQLFreeStmt( hBef, SQL_DROP )");
    (recordInError ? error : qxLastError) = qxERRORSQLCallFailed;
  }
  qxCurrentStatement = SQL_NULL_HSTMT;
}

// Drops a listing's statement after a failed binding, whose code stands already.
void dropStatement(SQLHSTMT s) {
  qxSQLSucceeded(SQLFreeStmt(s, SQL_DROP));
  qxCurrentStatement = SQL_NULL_HSTMT;
}

void clearColumnInfo(ColumnInfo& info) {
  std::memset(info.columnName, ' ', sizeof info.columnName);
  info.columnName[0] = '\0';
  info.sqlDataType = 0;
  std::memset(info.typeName, ' ', sizeof info.typeName);
  info.typeName[0] = '\0';
  info.columnSize = 0;
}

void fillColumnInfo(ColumnInfo& info) {
  const auto& b = columnListing;
  const std::size_t n = std::min<std::size_t>(boundedLength(b.lengths[3], kColumnBuffer), kColumnNameLength);
  std::memset(info.columnName, ' ', sizeof info.columnName);
  std::memcpy(info.columnName, b.column.data(), n);
  if (n < kColumnNameLength) info.columnName[n] = '\0';
  info.sqlDataType = b.dataType;
  std::memcpy(info.typeName, b.typeName.data(), kTypeNameLength);
  const std::size_t typeLength = boundedLength(b.lengths[5], kColumnBuffer);
  if (typeLength < kTypeNameLength) info.typeName[typeLength] = '\0';
  info.columnSize = b.columnSize;
}

// Lower-cases as the driver's code page 437 names compare.
void qxLowerCase(char* text, int maximum) {
  static constexpr std::uint8_t kFrom[] = {0x80, 0x8E, 0x8F, 0x90, 0x92, 0x99, 0x9A, 0xA5, 0xE4};
  static constexpr std::uint8_t kTo[] = {0x87, 0x84, 0x86, 0x82, 0x91, 0x94, 0x81, 0xA4, 0xE5};
  const int n = qxBoundedTextLength(text, maximum);
  for (int i = 0; i < n; ++i) {
    auto c = static_cast<std::uint8_t>(text[i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<std::uint8_t>(c + 32);
    for (std::size_t k = 0; k < sizeof kFrom; ++k)
      if (c == kFrom[k]) c = kTo[k];
    text[i] = static_cast<char>(c);
  }
}

}  // namespace
}  // namespace celox

using namespace celox;

void __stdcall CeloxGetTableNames(CeloxConnection connection, std::int32_t maxNames, char* names,
                                  std::int32_t* count, std::int32_t* error) {
  std::int32_t found = 0, code = 0;
  qxSetContext("CeloxGetTableNames");
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  const auto finish = [&] {
    if (count) *count = found;
    if (error) *error = code;
  };
  SQLHSTMT s = qxAllocStmtHandle(qxCurrentConnection);
  if (!s) {
    code = qxLastError;
    return finish();
  }
  auto& b = tableListing;
  if (!qxSQLSucceeded(SQLColumns(s, nullptr, 0, nullptr, 0,
                                 reinterpret_cast<SQLCHAR*>(const_cast<char*>(kTablePattern)), SQL_NTS, nullptr, 0))) {
    qxSetContext("SQLColumnsLP( hBef, ...)");
    code = qxERRORSQLCallFailed;
    dropListing(s, code, true);
  } else if (!bindTableListing(s)) {
    code = qxERRORSQLCallFailed;
    dropStatement(s);
  } else {
    std::string previous = "???";
    for (SQLRETURN rc = SQLFetch(s); rc != SQL_NO_DATA; rc = SQLFetch(s)) {
      if (!catalogueRowFetched(rc, b.onlyUnreadTextsCut())) {
        qxSetContext("SQLFetch( hBef)");
        code = qxERRORSQLCallFailed;
        break;
      }
      leftJustify(b.table.data(), kNameBuffer);
      const std::string_view name = textIn(b.table.data(), kNameBuffer);
      if (name == previous) continue;
      if (found < maxNames && names) {
        char* element = names + static_cast<std::ptrdiff_t>(found) * kNameLimit;
        const std::size_t length = boundedLength(b.lengths[2], kNameBuffer);
        std::memcpy(element, b.table.data(), length);
        std::memset(element + length, ' ', kNameLimit - length);
        element[length] = '\0';
      } else {
        code = qxERRORInsufficientDimension;
      }
      ++found;
      previous = name;
    }
    dropListing(s, code, true);
  }
  qxLastError = code;
  finish();
}

std::int32_t __stdcall CeloxDoesTableNameExist(CeloxConnection connection, const char* tableName) {
  const int wanted = qxBoundedTextLength(tableName, kNameLimit);
  if (wanted == 0) return -1;
  std::int32_t n = 0, error = 0;
  CeloxGetTableNames(connection, 0, nullptr, &n, &error);
  if (error != qxERRORInsufficientDimension) return -1;
  qxLastError = 0;
  std::unique_ptr<char[]> names(new (std::nothrow) char[static_cast<std::size_t>(n + 1) * kNameLimit]);
  if (!names) {
    qxLastError = kAllocationFailed;
    return -1;
  }
  CeloxGetTableNames(connection, n, names.get(), &n, &error);
  if (error != 0) return -1;
  // The wanted name goes into the last element: NUL-ended when it is shorter
  // than the element, else filling it to the last byte and no further.
  char* search = names.get() + static_cast<std::ptrdiff_t>(n) * kNameLimit;
  std::memcpy(search, tableName, static_cast<std::size_t>(wanted));
  if (wanted < kNameLimit) search[wanted] = '\0';
  qxLowerCase(search, kNameLimit);
  for (std::int32_t i = 0; i < n; ++i) {
    char* listed = names.get() + static_cast<std::ptrdiff_t>(i) * kNameLimit;
    int length = qxBoundedTextLength(listed, kNameLimit);
    if (length > 0 && listed[length - 1] == '$') --length;
    if (length != wanted) continue;
    qxLowerCase(listed, kNameLimit);
    if (std::memcmp(listed, search, static_cast<std::size_t>(wanted)) == 0) return 1;
  }
  return 0;
}

void __stdcall CeloxListColumns(CeloxConnection connection, const char* tableName, std::int32_t maxColumns,
                                ColumnInfo* infos, std::int32_t* count, std::int32_t* error) {
  std::int32_t found = 0;
  if (count) *count = 0;
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  SQLHSTMT s = qxAllocStmtHandle(qxCurrentConnection);
  if (!s) return;
  const int length = qxBoundedTextLength(tableName, kNameLimit);
  std::int32_t code = 0;
  // A missing name is an empty pattern, which matches no table.
  const char* pattern = tableName ? tableName : "";
  if (!qxSQLSucceeded(SQLColumns(s, nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(const_cast<char*>(pattern)),
                                 static_cast<SQLSMALLINT>(length), nullptr, 0))) {
    qxSetContext("SQLColumnsLP( hBef, ...)");
    qxLastError = qxERRORSQLCallFailed;
    dropListing(s, code, false);
    return;
  }
  if (!bindColumnListing(s)) {
    qxLastError = qxERRORSQLCallFailed;
    dropStatement(s);
    return;
  }
  std::string previous = "???";
  for (SQLRETURN rc = SQLFetch(s); rc != SQL_NO_DATA; rc = SQLFetch(s)) {
    if (!catalogueRowFetched(rc, columnListing.onlyUnreadTextsCut())) {
      qxSetContext("SQLFetch(hBef)");
      code = qxERRORSQLCallFailed;
      break;
    }
    leftJustify(columnListing.column.data(), kColumnBuffer);
    const std::string_view name = textIn(columnListing.column.data(), kColumnBuffer);
    if (name == previous) continue;
    if (found < maxColumns && infos)
      fillColumnInfo(infos[found]);
    else
      code = qxERRORInsufficientDimension;
    ++found;
    previous = name;
  }
  if (found <= maxColumns && infos)
    for (std::int32_t i = found; i < maxColumns; ++i) clearColumnInfo(infos[i]);
  if (count) *count = found;
  if (error) *error = code;
  std::int32_t dropError = 0;
  dropListing(s, dropError, false);
}

std::int32_t __stdcall CeloxGetRowCount(CeloxConnection connection, const char* sheetName) {
  std::int32_t result = -1;
  qxSetContext("CeloxGetRowCount");
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  const int length = qxBoundedTextLength(sheetName, kNameLimit);
  if (length == 0) {
    qxLastError = qxERRORNameMissing;
    return -1;
  }
  SQLHSTMT s = qxAllocStmtHandle(qxCurrentConnection);
  if (!s) return -1;
  std::string sql = "SELECT COUNT(*) FROM [";
  sql.append(sheetName, static_cast<std::size_t>(length));
  sql += sheetName[length - 1] == '$' ? "]" : "$]";
  std::int32_t code = 0;
  SQLINTEGER rows = 0;
  SQLLEN indicator = 0;
  if (!qxSQLSucceeded(SQLExecDirect(s, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS))) {
    qxSetContext("SQLExecDirect( hBef, sSQLStmt, SQL_NTS )");
    code = qxERRORExecDirectFailed;
  } else if (!qxSQLSucceeded(SQLBindCol(s, 1, SQL_C_SLONG, &rows, sizeof rows, &indicator))) {
    qxSetContext("SQLBindColI4( hBef, 1, SQL_C_SLONG, iRow");
    code = qxERRORSQLCallFailed;
  } else if (SQLRETURN rc = SQLFetch(s); rc == SQL_NO_DATA || !qxSQLSucceeded(rc)) {
    qxSetContext("SQLFetch( hBef )");
    code = qxERRORSQLCallFailed;
  } else {
    result = rows;
  }
  qxLastError = code;
  qxFreeStmtHandle(s);
  return result;
}

std::int32_t __stdcall CeloxCreateTable(CeloxConnection connection, const char* tableDefinition) {
  qxSetContext("CeloxCreateTable");
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  const int length = qxBoundedTextLength(tableDefinition, kNameLimit);
  if (length == 0) return qxLastError = qxERRORNameMissing;
  if (kCreatePrefix.size() + static_cast<std::size_t>(length) + 1 > static_cast<std::size_t>(kNameLimit))
    return qxLastError = qxERRORBufferTooSmall;
  std::unique_ptr<char[]> sql(new (std::nothrow) char[kNameLimit]);
  if (!sql) return qxLastError = kAllocationFailed;
  std::memcpy(sql.get(), kCreatePrefix.data(), kCreatePrefix.size());
  std::memcpy(sql.get() + kCreatePrefix.size(), tableDefinition, static_cast<std::size_t>(length));
  sql[kCreatePrefix.size() + static_cast<std::size_t>(length)] = '\0';
  SQLHSTMT s = qxAllocStmtHandle(qxCurrentConnection);
  if (!s) return qxLastError;
  const std::int32_t code =
      qxSQLSucceeded(SQLExecDirect(s, reinterpret_cast<SQLCHAR*>(sql.get()), SQL_NTS)) ? 0 : qxERRORExecDirectFailed;
  sql.reset();
  qxLastError = code;
  qxFreeStmtHandle(s);
  return qxLastError;
}
