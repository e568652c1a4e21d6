#pragma once
// A worksheet seen as a table: its first row with values holds the column
// names, every row below it up to the last row with a value is a data row.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/xlsodbc/cell_values.h"
#include "platform/xlsodbc/workbook.h"

namespace xlsodbc {

struct TableColumn {
  std::uint16_t sheetColumn = 0;
  std::string name;
};

struct TableView {
  std::vector<TableColumn> columns;
  std::uint32_t firstDataRow = 0;
  std::uint32_t endRow = 0;  // one past the last data row
  std::uint32_t headerRow = 0;
  bool hasHeader = false;

  std::uint32_t rowCount() const { return endRow > firstDataRow ? endRow - firstDataRow : 0; }
  // Position (from 0) of the named column, or -1.
  int find(std::string_view name) const;
};

TableView viewOf(const xlsbook::Sheet& sheet);

// The value of a column in a row's cells into `into`; Null when the cell is
// empty or there is no row.
void valueIn(const xlsbook::Row* cells, std::uint16_t sheetColumn, Value& into);

// The ODBC type of a column as its first values suggest: SQL type, type name, size.
struct ColumnType {
  SQLSMALLINT sqlType;
  const char* name;
  SQLINTEGER size;
};
ColumnType typeOf(const xlsbook::Sheet& sheet, const TableView& view, std::size_t column, int odbcVersion);

}  // namespace xlsodbc
