// CeloxReadRows: one SELECT of the bound columns, fetched row by row through
// one-row transfer buffers into the caller's column arrays.
#include <algorithm>
#include <string>

#include "spreadsheet/column_bindings.h"

namespace celox {
namespace {

// The row number is the count of rows read so far, taken before each copy.
std::int32_t fetchRows(SQLHSTMT statement, TransferBuffers& buffers, const CeloxColumnBinding* bindings,
                       std::int32_t nColumns, std::int32_t limit) {
  std::int32_t rowsRead = 0;
  SQLRETURN rc = SQLFetch(statement);
  while (rc != SQL_NO_DATA) {
    if (!qxSQLSucceeded(rc)) {
      qxSetContext("SQLFetch( hBef )");
      qxLastError = qxERRORSQLCallFailed;
      return -1;
    }
    ++rowsRead;
    for (std::int32_t c = 0; c < nColumns; ++c) {
      const ColumnSlot& slot = buffers.slots()[static_cast<std::size_t>(c)];
      const SQLLEN indicator = buffers.indicator(c);
      // A text keeps at most element length - 1 characters and its NUL.
      if (slot.family == TypeFamily::Text && indicator > 0)
        slot.slot[std::min<SQLLEN>(indicator, slot.elementSize - 1)] = '\0';
      qxCopyFetchedValue(bindings[c], slot, indicator, rowsRead);
    }
    if (rowsRead >= limit) break;
    rc = SQLFetch(statement);
  }
  qxLastError = 0;
  return rowsRead;
}

std::int32_t readWithStatement(SQLHSTMT statement, const std::string& sql, TransferBuffers& buffers,
                               const CeloxColumnBinding* bindings, std::int32_t nColumns, std::int32_t limit) {
  if (!qxSQLSucceeded(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
    qxSetContext("SQLExecDirect( hBef, sSQLStmt, SQL_NTSL");
    qxLastError = qxERRORExecDirectFailed;
    return -1;
  }
  for (std::int32_t c = 0; c < nColumns; ++c) {
    const ColumnSlot& slot = buffers.slots()[static_cast<std::size_t>(c)];
    const CTypeRule* rule = qxLookupCType(bindings[c].cType).rule;
    if (!qxSQLSucceeded(SQLBindCol(statement, static_cast<SQLUSMALLINT>(c + 1), rule->readType, slot.slot,
                                   slot.elementSize, &buffers.indicator(c)))) {
      qxSetContext("SQLBindCol__( hBef, iCol, ...)");
      qxLastError = qxERRORSQLCallFailed;
      return -1;
    }
  }
  return fetchRows(statement, buffers, bindings, nColumns, limit);
}

}  // namespace
}  // namespace celox

using namespace celox;

std::int32_t __stdcall CeloxReadRows(CeloxConnection connection, const char* tableName, std::int32_t nColumns,
                                     std::int32_t nRows, const CeloxColumnBinding* bindings, const char* condition,
                                     const char* order) {
  qxSetContext("CeloxReadRows");
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  const int t = qxBoundedTextLength(tableName, kNameLimit);
  if (t == 0) {
    qxLastError = qxERRORNameMissing;
    return -1;
  }
  const int k = qxBoundedTextLength(condition, kNameLimit);
  const int o = qxBoundedTextLength(order, kNameLimit);
  if (nColumns < 1 || nRows < -1 || (nRows != 0 && !bindings)) {
    qxLastError = qxERRORInvalidParameter;
    return -1;
  }
  if (nRows == 0) return 0;

  std::string sql = "SELECT ";
  if (const std::int32_t code = qxCheckBindings(sql, bindings, nColumns); code != 0) {
    qxLastError = code;
    return -1;
  }
  if (sql.size() + static_cast<std::size_t>(t + k + o) + 14 > static_cast<std::size_t>(kNameLimit)) {
    qxLastError = qxERRORBufferTooSmall;
    return -1;
  }
  sql += " FROM [";
  sql.append(tableName, static_cast<std::size_t>(t));
  sql += tableName[t - 1] == '$' ? "]" : "$]";
  if (k > 0) sql.append(" ").append(condition, static_cast<std::size_t>(k));
  if (o > 0) sql.append(" ").append(order, static_cast<std::size_t>(o));

  // Never more rows than the smallest caller array holds.
  const std::int32_t smallest = qxSmallestElementCount(bindings, nColumns);
  const std::int32_t limit = nRows == -1 ? smallest : std::min(nRows, smallest);

  TransferBuffers buffers;
  if (!buffers.allocate(bindings, nColumns)) return -1;
  SQLHSTMT statement = qxAllocStmtHandle(static_cast<SQLHDBC>(connection));
  if (!statement) return -1;
  const std::int32_t result = readWithStatement(statement, sql, buffers, bindings, nColumns, limit);
  qxFreeStmtHandle(statement);
  return result;
}
