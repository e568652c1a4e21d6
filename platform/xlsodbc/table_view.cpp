#include "platform/xlsodbc/table_view.h"

#include <algorithm>

#include "platform/xlsodbc/sql_statement.h"

namespace xlsodbc {
namespace {
// As many data rows as a spreadsheet driver looks at to guess a column's type.
constexpr int kTypeGuessRows = 8;

const xlsbook::Cell* cellAt(const xlsbook::Row& cells, std::uint16_t column) {
  auto it = std::lower_bound(cells.begin(), cells.end(), column,
                             [](const xlsbook::Cell& c, std::uint16_t col) { return c.column < col; });
  return it != cells.end() && it->column == column ? &*it : nullptr;
}
}  // namespace

int TableView::find(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (sameName(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

TableView viewOf(const xlsbook::Sheet& sheet) {
  TableView v;
  auto header = std::find_if(sheet.rows.begin(), sheet.rows.end(), [](const auto& r) { return !r.second.empty(); });
  if (header == sheet.rows.end()) {
    v.columns.push_back({0, "F1"});  // an empty sheet still is a table
    return v;
  }
  v.hasHeader = true;
  v.headerRow = header->first;
  const xlsbook::Row& cells = header->second;
  const std::uint16_t first = cells.front().column, last = cells.back().column;
  for (std::uint32_t col = first; col <= last; ++col) {
    const xlsbook::Cell* c = cellAt(cells, static_cast<std::uint16_t>(col));
    std::string name("F");
    name += std::to_string(col - first + 1);
    if (c && c->kind == xlsbook::CellKind::Text && !c->text().empty())
      name.assign(c->text());
    else if (c && (c->kind == xlsbook::CellKind::Number || c->kind == xlsbook::CellKind::Date))
      name = numberText(c->number);
    v.columns.push_back({static_cast<std::uint16_t>(col), std::move(name)});
  }
  v.firstDataRow = header->first + 1;
  v.endRow = std::max(v.firstDataRow, sheet.rows.rbegin()->first + 1);
  return v;
}

void valueIn(const xlsbook::Row* cells, std::uint16_t sheetColumn, Value& into) {
  into.setCell(cells ? cellAt(*cells, sheetColumn) : nullptr);
}

ColumnType typeOf(const xlsbook::Sheet& sheet, const TableView& view, std::size_t column, int odbcVersion) {
  int numbers = 0, dates = 0, texts = 0, flags = 0, seen = 0;
  if (view.hasHeader && column < view.columns.size()) {
    const std::uint16_t col = view.columns[column].sheetColumn;
    for (auto it = sheet.rows.lower_bound(view.firstDataRow); it != sheet.rows.end() && seen < kTypeGuessRows; ++it) {
      const xlsbook::Cell* c = cellAt(it->second, col);
      if (!c || c->kind == xlsbook::CellKind::Error) continue;
      ++seen;
      switch (c->kind) {
        case xlsbook::CellKind::Number: ++numbers; break;
        case xlsbook::CellKind::Date: ++dates; break;
        case xlsbook::CellKind::Boolean: ++flags; break;
        default: ++texts; break;
      }
    }
  }
  const SQLSMALLINT timestamp = odbcVersion >= 3 ? SQL_TYPE_TIMESTAMP : SQL_TIMESTAMP;
  const int most = std::max({numbers, dates, texts, flags});
  if (most == 0 || texts == most) return {SQL_VARCHAR, "VARCHAR", 255};
  if (numbers == most) return {SQL_DOUBLE, "NUMBER", 53};
  if (dates == most) return {timestamp, "DATETIME", 19};
  return {SQL_BIT, "LOGICAL", 1};
}

}  // namespace xlsodbc
