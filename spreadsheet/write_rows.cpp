// CeloxWriteRows: one prepared INSERT with a parameter per column, executed
// once per row with the values copied from the caller's arrays.
#include <cstring>
#include <string>

#include "spreadsheet/column_bindings.h"

namespace celox {
namespace {

// A text element that holds its NUL goes as a NUL-ended text; one that fills
// its element without a NUL goes with the element's length, never beyond it.
SQLLEN textIndicator(const ColumnSlot& slot) {
  return std::memchr(slot.slot, '\0', static_cast<std::size_t>(slot.elementSize)) ? SQL_NTS : slot.elementSize;
}

SQLLEN indicatorFor(const ColumnSlot& slot) {
  return slot.family == TypeFamily::Text ? textIndicator(slot) : SQL_NTS;
}

std::int32_t writeWithStatement(SQLHSTMT statement, const std::string& sql, TransferBuffers& buffers,
                                const CeloxColumnBinding* bindings, std::int32_t nColumns, std::int32_t nRows) {
  if (!qxSQLSucceeded(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
    qxSetContext("SQLPrepare( hBef, sSQLStmt, SQL_NTSL )");
    qxLastError = qxERRORExecDirectFailed;
    return -1;
  }
  for (std::int32_t c = 0; c < nColumns; ++c) {
    const ColumnSlot& slot = buffers.slots()[static_cast<std::size_t>(c)];
    const CTypeRule* rule = qxLookupCType(bindings[c].cType).rule;
    const SQLULEN columnSize = rule->family == TypeFamily::Text ? static_cast<SQLULEN>(bindings[c].elementLength - 1)
                                                                : rule->columnSize;
    buffers.indicator(c) = SQL_NTS;
    if (!qxSQLSucceeded(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(c + 1), SQL_PARAM_INPUT,
                                         rule->writeValueType, rule->writeSqlType, columnSize, rule->decimalDigits,
                                         slot.slot, slot.elementSize, &buffers.indicator(c)))) {
      qxSetContext("SQLBindParameter__( hBef, iCol = " + std::to_string(c + 1) + ", ...)");
      qxLastError = qxERRORSQLCallFailed;
      return -1;
    }
  }
  for (std::int32_t row = 1; row <= nRows; ++row) {
    for (std::int32_t c = 0; c < nColumns; ++c) {
      const ColumnSlot& slot = buffers.slots()[static_cast<std::size_t>(c)];
      qxCopyValueForInsert(bindings[c], slot, row);
      buffers.indicator(c) = indicatorFor(slot);
    }
    if (!qxSQLSucceeded(SQLExecute(statement))) {
      qxSetContext("SQLExecute( hBef )");
      qxLastError = qxERRORSQLCallFailed;
      return -1;
    }
  }
  qxLastError = 0;
  return nRows;
}

}  // namespace
}  // namespace celox

using namespace celox;

std::int32_t __stdcall CeloxWriteRows(CeloxConnection connection, const char* tableName, std::int32_t nColumns,
                                      std::int32_t nRows, const CeloxColumnBinding* bindings) {
  qxSetContext("CeloxWriteRows");
  qxCurrentConnection = static_cast<SQLHDBC>(connection);
  const int t = qxBoundedTextLength(tableName, kNameLimit);
  if (t == 0 || nColumns < 1) {
    qxLastError = qxERRORNameMissing;
    return -1;
  }
  if (!bindings) {
    qxLastError = qxERRORInvalidParameter;
    return -1;
  }
  std::string sql = "INSERT INTO [";
  sql.append(tableName, static_cast<std::size_t>(t));
  sql += tableName[t - 1] == '$' ? "]" : "$]";
  sql += " (";
  if (const std::int32_t code = qxCheckBindings(sql, bindings, nColumns); code != 0) {
    qxLastError = code;
    return -1;
  }
  if (sql.size() + 2 * static_cast<std::size_t>(nColumns) + 11 > static_cast<std::size_t>(kNameLimit)) {
    qxLastError = qxERRORBufferTooSmall;
    return -1;
  }
  sql += ") VALUES (?";
  for (std::int32_t c = 1; c < nColumns; ++c) sql += ",?";
  sql += ")";
  // Rows the caller's arrays do not hold are refused, not read from beyond them.
  if (nRows > qxSmallestElementCount(bindings, nColumns)) {
    qxLastError = qxERRORInsufficientDimension;
    return -1;
  }

  TransferBuffers buffers;
  if (!buffers.allocate(bindings, nColumns)) return -1;
  SQLHSTMT statement = qxAllocStmtHandle(static_cast<SQLHDBC>(connection));
  if (!statement) return -1;
  std::int32_t result = writeWithStatement(statement, sql, buffers, bindings, nColumns, nRows);
  // Releasing the statement writes its rows into the workbook: when that fails,
  // the rows are not in the workbook and the write has failed.
  if (!qxFreeStmtHandle(statement) && result >= 0 && nRows > 0) result = -1;
  return result;
}
