#pragma once
// Grids built straight from their records, with no window: every row takes the
// array branch.  The program's routines reach the grid as the current window's
// grid (identifier 0).

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_model.h"
#include "toolkit/grid/grid_rows.h"

namespace grid_test {

inline GridRecord* currentGrid = nullptr;

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    currentGrid = &grid;
    yyGridOfCurrentWindow = [] { return currentGrid; };
    YYErrorStateReset();
  }
  void TearDown() override {
    yyGridOfCurrentWindow = nullptr;
    currentGrid = nullptr;
  }

  // Columns of the given types (text columns 20 characters wide), rows in use
  // and rows allocated.
  void define(std::initializer_list<GridColumnType> types, int rows, int allocated = -1) {
    grid.columnList.clear();
    for (GridColumnType type : types) {
      GridColumn column;
      column.type = type;
      column.textWidth = type == kGridString ? 20 : type == kGridInteger ? 11 : 0;
      grid.columnList.push_back(column);
    }
    grid.columns = static_cast<int>(grid.columnList.size());
    grid.columnsDefined = grid.columns;
    grid.rowsAllocated = allocated < 0 ? rows : allocated;
    grid.rows = rows;
    grid.labels.assign(static_cast<std::size_t>(grid.rowsAllocated), std::string());
    for (GridColumn& column : grid.columnList) ASSERT_TRUE(YYGridAllocateColumn(column, grid.rowsAllocated));
    grid.defined = 1;
  }

  // The last toolkit error, cleared.
  static int lastError() { return WErrorStatusQuery(1); }

  std::string text(int column, int row, int length = 40) {
    std::string buffer(static_cast<std::size_t>(length), '?');
    WGridGetCellString(0, column, row, TextField(buffer.data(), length));
    return std::string(text::trimmed(buffer));
  }
  void putText(int column, int row, std::string_view value) {
    YYGridCellStore(grid, column - 1, row - 1, 0.0, value, "");
  }

  GridRecord grid;
};

}  // namespace grid_test
