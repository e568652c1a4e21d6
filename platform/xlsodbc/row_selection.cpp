#include "platform/xlsodbc/row_selection.h"

#include <algorithm>
#include <numeric>

namespace xlsodbc {
namespace {

// The rows in the order of the sort keys, whose values lie row by row in `keys`;
// rows that compare equal keep their order.
void sortRows(std::vector<const xlsbook::Row*>& rows, const std::vector<Value>& keys,
              const std::vector<SortKey>& order) {
  const std::size_t width = order.size();
  std::vector<std::size_t> positions(rows.size());
  std::iota(positions.begin(), positions.end(), std::size_t{0});
  std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
    for (std::size_t k = 0; k < width; ++k) {
      const int c = sortOrder(keys[a * width + k], keys[b * width + k]);
      if (c != 0) return order[k].descending ? c > 0 : c < 0;
    }
    return false;
  });
  std::vector<const xlsbook::Row*> sorted;
  sorted.reserve(rows.size());
  for (std::size_t p : positions) sorted.push_back(rows[p]);
  rows = std::move(sorted);
}

}  // namespace

std::optional<std::vector<const xlsbook::Row*>> selectRows(const xlsbook::Sheet& sheet, const TableView& view,
                                                           SqlStatement& statement, bool date1904, SqlError& error) {
  std::vector<std::string> names;
  for (const auto& column : view.columns) names.push_back(column.name);
  if (statement.where && !bindCondition(*statement.where, names, date1904, error)) return std::nullopt;
  if (!bindSortKeys(statement.orderBy, names, error)) return std::nullopt;

  // Only the columns the condition reads are looked up for each row.
  std::vector<bool> read(names.size(), false);
  if (statement.where) columnsRead(*statement.where, read);
  std::vector<Value> values(names.size());

  std::vector<const xlsbook::Row*> rows;
  std::vector<Value> keys;
  auto at = sheet.rows.lower_bound(view.firstDataRow);
  for (std::uint32_t row = view.firstDataRow; row < view.endRow; ++row) {
    // The rows are met in order: the map is stepped through once.
    while (at != sheet.rows.end() && at->first < row) ++at;
    const xlsbook::Row* cells = at != sheet.rows.end() && at->first == row ? &at->second : nullptr;
    if (statement.where) {
      for (std::size_t i = 0; i < read.size(); ++i)
        if (read[i]) valueIn(cells, view.columns[i].sheetColumn, values[i]);
      if (evaluate(*statement.where, values, date1904) != Truth::True) continue;
    }
    rows.push_back(cells);
    for (const auto& key : statement.orderBy)
      valueIn(cells, view.columns[static_cast<std::size_t>(key.column.index)].sheetColumn, keys.emplace_back());
  }
  if (!statement.orderBy.empty()) sortRows(rows, keys, statement.orderBy);
  return rows;
}

}  // namespace xlsodbc
