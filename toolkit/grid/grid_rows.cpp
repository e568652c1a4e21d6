#include "toolkit/grid/grid_rows.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_storage.h"

GridRowHooks yyGridRowHooks;

namespace {

constexpr int kErrorNoDialog = 1005;
constexpr int kErrorTooManyRows = 1018;
constexpr int kSortDescending = 1;
constexpr int kSortFoldCase = 2;
constexpr int kSortLabels = 4;
constexpr int kFindContinue = 1;
constexpr int kFindIgnoreCase = 2;
constexpr int kFindNumbers = 4;

GridColumn& columnOf(GridRecord& grid, int column) { return grid.columnList[static_cast<std::size_t>(column)]; }

// How many characters a column's cell text may hold.
int textLimit(const GridColumn& column) {
  switch (column.type) {
    case kGridString:
      return column.textWidth + 1;
    case kGridInteger:
      return kGridIntegerTextWidth;
    default:
      return 50;
  }
}

std::string upperCased(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// One cell of one column moved from row `from` to row `to` (0-based), through
// the cell operations so that cells on view follow.
void moveCell(GridRecord& grid, int column, int from, int to) {
  const GridColumn& c = columnOf(grid, column);
  switch (c.type) {
    case kGridString: {
      std::string text;
      YYGridCellString(grid, column, from, text, c.textWidth + 1);
      YYGridCellStore(grid, column, to, 0.0, text, "");
      return;
    }
    case kGridCheckBox: {
      int state = 0;
      YYGridCellCheck(grid, column, from, state);
      YYGridCellSetCheck(grid, column, to, state);
      return;
    }
    case kGridMenu: {
      int option = 0;
      YYGridCellMenu(grid, column, from, option);
      YYGridCellSetOption(grid, column, to, option);
      return;
    }
    default: {
      double value = 0.0;
      if (YYGridCellValue(grid, column, from, value) != kGridDone) {
        YYGridReportStatus(YYGridClearCellApi(grid, column, to, 0), "WGridClearCell");
        return;
      }
      YYGridPutCellValue(grid, column, to, value);
      return;
    }
  }
}

// A row left empty by a delete or an insert: menus on their first option.
void clearRow(GridRecord& grid, int row, bool labels) {
  for (int column = 0; column < grid.columns; ++column) {
    if (columnOf(grid, column).type == kGridMenu) {
      YYGridCellSetOption(grid, column, row, 1);
    } else {
      YYGridReportStatus(YYGridClearCellApi(grid, column, row, 0), "WGridClearCell");
    }
  }
  if (labels) YYGridSetRowLabel(grid, row, "");
}

// WGridRows' checks: false (and 1018) when the count cannot be taken as it is.
bool setRowsChecked(GridRecord& grid, int rows, std::string_view routine) {
  if (rows <= 0) {
    YYErrorReport(kErrorTooManyRows, routine);
    return false;
  }
  // A grid editor's window follows its grid's rows (the fit ignores other grids).
  if (rows > grid.rowsAllocated) {
    YYGridSetRows(grid, grid.rowsAllocated, true);
    YYErrorReport(kErrorTooManyRows, routine);
    return false;
  }
  YYGridSetRows(grid, rows, true);
  return true;
}

}  // namespace

int YYGridSetCurrent(GridRecord& grid, int column, int row) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  if (grid.view != nullptr && yyGridRowHooks.setCurrent != nullptr) {
    yyGridRowHooks.setCurrent(grid, column, row);
    return kGridDone;
  }
  YYGridClearBlock(grid);
  grid.currentColumn = column;
  grid.currentRow = row;
  return kGridDone;
}

void YYGridSetRows(GridRecord& grid, int rows, bool editorGrid) {
  YYGridClearBlock(grid);
  rows = std::clamp(rows, 0, grid.rowsAllocated);
  if (grid.view != nullptr) grid.view->store();
  grid.rows = rows;
  const bool moved = grid.currentRow >= rows || grid.firstRow + grid.visibleRows - 1 >= rows;
  if (moved) {
    grid.currentRow = std::max(0, std::min(grid.currentRow, rows - 1));
    grid.firstRow = std::max(0, grid.currentRow - grid.visibleRows + 1);
    if (grid.view != nullptr) grid.view->load();
  }
  if (yyGridRowHooks.scrollRange != nullptr) yyGridRowHooks.scrollRange(grid);
  if (editorGrid && yyGridRowHooks.editorFit != nullptr) yyGridRowHooks.editorFit(grid);
  if (moved && grid.view != nullptr && yyGridRowHooks.refocus != nullptr) yyGridRowHooks.refocus(grid);
}

GridSortKey YYGridSortKey(const GridRecord& grid, int column, int row, int flags) {
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  const bool descending = (flags & kSortDescending) != 0;
  GridSortKey key;
  switch (c.type) {
    case kGridString: {
      key.isText = true;
      YYGridCellString(grid, column, row, key.text, c.textWidth + 1);
      key.text.resize(std::min(key.text.size(), key.text.find('\0')));
      if (text::isBlank(key.text)) {
        key.text = descending ? " " : "\xFF";
      } else if ((flags & kSortFoldCase) != 0) {
        key.text = upperCased(key.text);
      }
      return key;
    }
    case kGridCheckBox: {
      int state = 0;
      YYGridCellCheck(grid, column, row, state);
      key.number = state;
      return key;
    }
    case kGridMenu: {
      int option = 0;
      YYGridCellMenu(grid, column, row, option);
      key.number = option;
      return key;
    }
    default:
      break;
  }
  double value = 0.0;
  const bool blank = YYGridCellValue(grid, column, row, value) != kGridDone;
  const double largest = c.type == kGridInteger ? 2147483647.0 : c.type == kGridReal ? FLT_MAX : DBL_MAX;
  if (blank) {
    key.number = descending ? -largest : largest;
  } else if (c.type == kGridInteger) {
    key.number = std::trunc(std::clamp(value, -2147483648.0, 2147483647.0));
  } else if (c.type == kGridReal) {
    key.number = static_cast<float>(value);
  } else {
    key.number = value;
  }
  return key;
}

int YYGridCompareKeys(const GridSortKey& a, const GridSortKey& b) {
  if (!a.isText) return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  const std::size_t n = std::max(a.text.size(), b.text.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = i < a.text.size() ? static_cast<unsigned char>(a.text[i]) : ' ';
    const unsigned char y = i < b.text.size() ? static_cast<unsigned char>(b.text[i]) : ' ';
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

namespace {

bool sortsBefore(const GridSortKey& a, const GridSortKey& b, int flags) {
  const int order = YYGridCompareKeys(a, b);
  return (flags & kSortDescending) != 0 ? order > 0 : order < 0;
}

// Puts the rows first + order[i] at first + i (0-based), every row moved once,
// as exchanges would move them: values, the flag bytes of all but string
// columns, and with labels the label texts; colours stay where they are.
void moveRowsInto(GridRecord& grid, int first, const std::vector<int>& order, bool labels) {
  const std::size_t start = static_cast<std::size_t>(first);
  const std::size_t count = order.size();
  // Entries start .. start + count - 1 of a table of `width` bytes each.
  auto rearrange = [&](unsigned char* table, std::size_t width) {
    const std::vector<unsigned char> before(table + start * width, table + (start + count) * width);
    for (std::size_t i = 0; i < count; ++i) {
      std::copy_n(before.data() + static_cast<std::size_t>(order[i]) * width, width, table + (start + i) * width);
    }
  };
  for (GridColumn& c : grid.columnList) {
    const std::size_t width = static_cast<std::size_t>(c.bytesPerRow());
    if ((start + count) * width > c.data.size() || start + count > c.flags.size()) continue;
    rearrange(c.data.data(), width);
    if (c.type != kGridString) rearrange(c.flags.data(), 1);
  }
  if (labels && YYGridHasRowLabels(grid) && start + count <= grid.labels.size()) {
    std::vector<std::string> before(count);
    for (std::size_t i = 0; i < count; ++i) before[i] = std::move(grid.labels[start + i]);
    for (std::size_t i = 0; i < count; ++i) {
      grid.labels[start + i] = std::move(before[static_cast<std::size_t>(order[i])]);
    }
  }
}

}  // namespace

void YYGridSortRows(GridRecord& grid, int column, int first, int last, int flags) {
  if (last <= first || first < 1 || last > grid.rowsAllocated) return;
  // Each key is taken once; rows with equal keys keep their order, and rows
  // already in order (either way round) cost no more than any others.
  std::vector<GridSortKey> keys;
  keys.reserve(static_cast<std::size_t>(last - first + 1));
  for (int row = first; row <= last; ++row) keys.push_back(YYGridSortKey(grid, column, row - 1, flags));
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return sortsBefore(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)], flags);
  });
  if (std::is_sorted(order.begin(), order.end())) return;
  YYGridClearBlock(grid);
  moveRowsInto(grid, first - 1, order, (flags & kSortLabels) != 0);
  YYGridMarkChanged(grid);
}

void WGridSetCell(int grid, int column, int row) {
  constexpr std::string_view kRoutine = "WGridSetCell";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record != nullptr) YYGridReportStatus(YYGridSetCurrent(*record, column - 1, row - 1), kRoutine);
}

void WGridLabelRow(int grid, int row, std::string_view label) {
  constexpr std::string_view kRoutine = "WGridLabelRow";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  if (row < 1 || row > record->rowsAllocated) return YYGridReportStatus(kGridOutside, kRoutine);
  YYGridSetRowLabel(*record, row - 1, text::trimmed(label));
}

void WGridRows(int grid, int rows) {
  constexpr std::string_view kRoutine = "WGridRows";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record != nullptr) setRowsChecked(*record, rows, kRoutine);
}

void WGridDeleteRows(int grid, int row, int count, int shrink, int labels) {
  constexpr std::string_view kRoutine = "WGridDeleteRows";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  GridRecord& g = *record;
  if (row < 1 || row > g.rows) return YYGridReportStatus(kGridOutside, kRoutine);
  const int n = std::clamp(count, 0, g.rows - row + 1);
  const bool moveLabels = labels == 1;
  for (int column = 0; column < g.columns; ++column) {
    for (int to = row - 1; to + n < g.rows; ++to) moveCell(g, column, to + n, to);
  }
  if (moveLabels) {
    for (int to = row - 1; to + n < g.rows; ++to) YYGridSetRowLabel(g, to, YYGridGetRowLabel(g, to + n));
  }
  const int keep = g.rows - n;
  if (shrink == 1 && setRowsChecked(g, keep, "WGridRows")) return;
  for (int r = keep; r < g.rows; ++r) clearRow(g, r, moveLabels);
}

void WGridInsertRows(int grid, int row, int count, int grow, int labels) {
  constexpr std::string_view kRoutine = "WGridInsertRows";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  GridRecord& g = *record;
  if (row < 1 || row > g.rows) return YYGridReportStatus(kGridOutside, kRoutine);
  const int n = std::max(count, 0);
  if (grow == 1) setRowsChecked(g, std::min(g.rows + n, g.rowsAllocated), "WGridRows");
  const bool moveLabels = labels == 1;
  for (int column = 0; column < g.columns; ++column) {
    for (int to = g.rows - 1; to - n >= row - 1; --to) moveCell(g, column, to - n, to);
  }
  if (moveLabels) {
    for (int to = g.rows - 1; to - n >= row - 1; --to) YYGridSetRowLabel(g, to, YYGridGetRowLabel(g, to - n));
  }
  for (int r = row - 1; r < std::min(row - 1 + n, g.rows); ++r) clearRow(g, r, moveLabels);
}

void WGridSort(int grid, int column, int flags, std::optional<int> firstRow, std::optional<int> lastRow) {
  constexpr std::string_view kRoutine = "WGridSort";
  if (currentDialogWindow() == nullptr) return YYErrorReport(kErrorNoDialog, kRoutine);
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  if (column < 1 || column > record->columns) return YYGridReportStatus(kGridOutside, kRoutine);
  // Rows outside the grid have no keys: the sort keeps to the rows in use.
  const int first = std::max(firstRow.value_or(1), 1);
  const int last = std::min(lastRow.value_or(record->rows), record->rows);
  // The sort works on the arrays: the cells on view go into them first and
  // show the new order afterwards.
  GridView* view = record->view;
  if (view != nullptr) view->store();
  record->view = nullptr;
  YYGridSortRows(*record, column - 1, first, last, flags);
  record->view = view;
  if (view != nullptr) view->load();
}

void WGridFind(int grid, std::string_view text, int flags, int* found, std::optional<int> firstColumn,
               std::optional<int> lastColumn, std::optional<int> firstRow, std::optional<int> lastRow) {
  constexpr std::string_view kRoutine = "WGridFind";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  GridRecord& g = *record;
  const bool ignoreCase = (flags & kFindIgnoreCase) != 0;
  std::string wanted(text.substr(0, std::min(text.find('\0'), text.size())));
  if (ignoreCase) wanted = upperCased(wanted);
  const int c0 = std::max(firstColumn.value_or(1), 1) - 1;
  const int c1 = std::min(lastColumn.value_or(g.columns), g.columns) - 1;
  const int r0 = std::max(firstRow.value_or(1), 1) - 1;
  const int r1 = std::min(lastRow.value_or(g.rows), g.rows) - 1;
  int startColumn = c0;
  int startRow = r0;
  if ((flags & kFindContinue) != 0 && g.currentColumn >= c0) {
    startColumn = g.currentColumn;
    startRow = std::max(g.currentRow + 1, r0);
  }
  for (int column = startColumn; column <= c1; ++column) {
    const GridColumn& c = columnOf(g, column);
    const bool searched = c.type == kGridString || ((flags & kFindNumbers) != 0 && c.type <= kGridDouble);
    if (!searched) continue;
    for (int row = column == startColumn ? startRow : r0; row <= r1; ++row) {
      std::string cell;
      YYGridCellString(g, column, row, cell, textLimit(c));
      if (ignoreCase) cell = upperCased(cell);
      if (cell.find(wanted) == std::string::npos) continue;
      WGridSetCell(grid, column + 1, row + 1);
      if (found != nullptr) *found = -1;
      return;
    }
  }
  if (found != nullptr) *found = 0;
}
