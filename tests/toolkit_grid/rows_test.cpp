// Rows deleted and inserted, the row count, sorting and finding.
#include <algorithm>
#include <random>
#include <vector>

#include "grid_fixture.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

namespace grid_test {
namespace {

class GridRows : public GridTest {
 protected:
  // Text column 1 holds "r1", "r2", ...; integer column 2 the row number;
  // menu column 3 option 2.
  void numbered(int rows, int allocated = -1) {
    define({kGridString, kGridInteger, kGridMenu}, rows, allocated);
    grid.columnList[2].menuItems = {"one", "two"};
    grid.style = kGridRowLabelStyle;
    for (int row = 1; row <= rows; ++row) {
      putText(1, row, "r" + std::to_string(row));
      WGridPutCellInteger(0, 2, row, row);
      WGridPutCellOption(0, 3, row, 2);
      WGridLabelRow(0, row, "L" + std::to_string(row));
    }
  }
  std::vector<std::string> column(int c) {
    std::vector<std::string> texts;
    for (int row = 1; row <= grid.rows; ++row) texts.push_back(text(c, row));
    return texts;
  }
  int option(int row) {
    int value = -1;
    WGridGetCellMenu(0, 3, row, value);
    return value;
  }
};

TEST_F(GridRows, DeleteCutsTheCountAndClearsTheEnd) {
  numbered(10);
  WGridDeleteRows(0, 3, 20);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(grid.rows, 10);
  EXPECT_EQ(column(1), (std::vector<std::string>{"r1", "r2", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(option(3), 1);  // menus on their first option
  EXPECT_EQ(option(2), 2);
}

TEST_F(GridRows, DeleteMovesRowsUpAndShrinks) {
  numbered(5);
  WGridDeleteRows(0, 2, 2, 1, 1);
  EXPECT_EQ(grid.rows, 3);
  EXPECT_EQ(column(1), (std::vector<std::string>{"r1", "r4", "r5"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"1", "4", "5"}));
  EXPECT_EQ(YYGridGetRowLabel(grid, 1), "L4");
  WGridDeleteRows(0, 4);
  EXPECT_EQ(lastError(), 1017);
}

// A text wider than 32768 characters moves whole with its row.
TEST_F(GridRows, WideTextsMoveWhole) {
  define({kGridString}, 3);
  grid.columnList[0].textWidth = 40000;
  ASSERT_TRUE(YYGridAllocateColumn(grid.columnList[0], grid.rowsAllocated));
  const std::string wide = std::string(39999, 'w') + "!";
  putText(1, 2, wide);
  WGridDeleteRows(0, 1);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(text(1, 1, 40000), wide);
  WGridInsertRows(0, 1);
  EXPECT_EQ(text(1, 2, 40000), wide);
}

TEST_F(GridRows, InsertWithoutGrowLosesTheLastRow) {
  numbered(4);
  WGridInsertRows(0, 1);
  EXPECT_EQ(column(1), (std::vector<std::string>{"", "r1", "r2", "r3"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"", "1", "2", "3"}));
  EXPECT_EQ(option(1), 1);
  EXPECT_EQ(YYGridGetRowLabel(grid, 1), "L2");  // labels stay without the labels flag
}

TEST_F(GridRows, InsertWithGrowKeepsEveryRowWithinTheCapacity) {
  numbered(3, 4);
  WGridInsertRows(0, 2, 2, 1, 1);
  EXPECT_EQ(grid.rows, 4);
  EXPECT_EQ(column(1), (std::vector<std::string>{"r1", "", "", "r2"}));
  EXPECT_EQ(YYGridGetRowLabel(grid, 3), "L2");
  EXPECT_EQ(YYGridGetRowLabel(grid, 1), "");
  WGridInsertRows(0, 5);
  EXPECT_EQ(lastError(), 1017);  // rows cannot be appended
}

TEST_F(GridRows, RowCountAboveTheCapacityIsClampedAndReported) {
  numbered(3, 6);
  WGridRows(0, 7);
  EXPECT_EQ(lastError(), 1018);
  EXPECT_EQ(grid.rows, 6);
  WGridRows(0, 0);
  EXPECT_EQ(lastError(), 1018);
  EXPECT_EQ(grid.rows, 6);
  grid.currentRow = 5;
  WGridRows(0, 2);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(grid.currentRow, 1);
}

TEST_F(GridRows, BlankCellsSortLastInBothOrders) {
  define({kGridReal, kGridString}, 5);
  const float values[] = {3.5f, 0.0f, -1.0f, 0.0f, 2.0f};
  for (int row = 1; row <= 5; ++row) {
    if (row != 2 && row != 4) WGridPutCellReal(0, 1, row, values[row - 1]);
    putText(2, row, "t" + std::to_string(row));
  }
  WGridSort(0, 1);
  EXPECT_EQ(lastError(), 1005);  // a sort needs a loaded dialog, whatever the identifier
  YYGridSortRows(grid, 0, 1, 5, 0);
  const std::vector<std::string> ascending = column(2);
  EXPECT_EQ(std::vector<std::string>(ascending.begin(), ascending.begin() + 3),
            (std::vector<std::string>{"t3", "t5", "t1"}));
  EXPECT_EQ(column(1)[3], "");
  EXPECT_EQ(column(1)[4], "");
  YYGridSortRows(grid, 0, 1, 5, 1);
  EXPECT_EQ(column(1)[0], "3.5000");
  EXPECT_EQ(column(1)[3], "");
  EXPECT_EQ(column(1)[4], "");
  // A text column: blanks last too.
  putText(2, 2, "");
  YYGridSortRows(grid, 1, 1, 5, 0);
  EXPECT_EQ(column(2).back(), "");
  YYGridSortRows(grid, 1, 1, 5, 1);
  EXPECT_EQ(column(2).back(), "");
}

TEST_F(GridRows, FoldingMakesCasesEqual) {
  define({kGridString, kGridInteger}, 3);
  const char* texts[] = {"b", "A", "a"};
  for (int row = 1; row <= 3; ++row) {
    putText(1, row, texts[row - 1]);
    WGridPutCellInteger(0, 2, row, row);
  }
  YYGridSortRows(grid, 0, 1, 3, 0);
  EXPECT_EQ(column(1), (std::vector<std::string>{"A", "a", "b"}));
  YYGridSortRows(grid, 0, 1, 3, 1 | 2);
  EXPECT_EQ(column(1)[0], "b");
  const GridSortKey upper = YYGridSortKey(grid, 0, 1, 2);
  const GridSortKey lower = YYGridSortKey(grid, 0, 2, 2);
  EXPECT_EQ(YYGridCompareKeys(upper, lower), 0);
}

TEST_F(GridRows, SortsOfEverySizeOrderEveryRow) {
  std::mt19937 random(7);
  for (int rows : {2, 6, 7, 8, 40}) {
    for (int flags : {0, 1}) {
      SCOPED_TRACE(testing::Message() << rows << " rows, flags " << flags);
      define({kGridInteger, kGridString}, rows);
      std::vector<int> values;
      for (int row = 1; row <= rows; ++row) {
        values.push_back(static_cast<int>(random() % 10) - 3);
        WGridPutCellInteger(0, 1, row, values.back());
        putText(2, row, std::to_string(values.back()));
      }
      YYGridSortRows(grid, 0, 1, rows, flags);
      std::sort(values.begin(), values.end());
      if (flags == 1) std::reverse(values.begin(), values.end());
      for (int row = 1; row <= rows; ++row) {
        EXPECT_EQ(text(1, row), std::to_string(values[static_cast<std::size_t>(row - 1)]));
        EXPECT_EQ(text(2, row), text(1, row));  // the whole row moved
      }
    }
  }
}

// Rows whose keys are equal keep the order they had, in both directions, with
// case folded, with blank cells, and within a part of the rows.
TEST_F(GridRows, RowsWithEqualKeysKeepTheirOrder) {
  struct Case {
    const char* what;
    std::vector<std::string> keys;  // the text column's cells; the integer column numbers the rows
    int flags, first, last;
    std::vector<int> order;  // the row numbers afterwards
  };
  const Case cases[] = {
      {"ascending", {"b", "a", "b", "a", "b"}, 0, 1, 5, {2, 4, 1, 3, 5}},
      {"descending", {"b", "a", "b", "a", "b"}, 1, 1, 5, {1, 3, 5, 2, 4}},
      {"case folded", {"b", "A", "a", "B", "a"}, 2, 1, 5, {2, 3, 5, 1, 4}},
      {"blanks last, in order", {"", "b", "", "a", ""}, 0, 1, 5, {4, 2, 1, 3, 5}},
      {"blanks last descending too", {"", "b", "", "a", ""}, 1, 1, 5, {2, 4, 1, 3, 5}},
      {"rows 2 to 4 only", {"z", "b", "a", "b", "a"}, 0, 2, 4, {1, 3, 2, 4, 5}},
      {"all equal: nothing moves", {"k", "k", "k", "k", "k"}, 1, 1, 5, {1, 2, 3, 4, 5}},
      {"seven rows in reverse", {"g", "f", "e", "d", "c", "b", "a"}, 0, 1, 7, {7, 6, 5, 4, 3, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int rows = static_cast<int>(c.keys.size());
    define({kGridString, kGridInteger}, rows);
    for (int row = 1; row <= rows; ++row) {
      putText(1, row, c.keys[static_cast<std::size_t>(row - 1)]);
      WGridPutCellInteger(0, 2, row, row);
    }
    grid.unsaved = 0;
    YYGridSortRows(grid, 0, c.first, c.last, c.flags);
    std::vector<int> order;
    for (int row = 1; row <= rows; ++row) order.push_back(std::stoi(text(2, row)));
    EXPECT_EQ(order, c.order);
    // Only a sort that moved rows changed the grid.
    EXPECT_EQ(grid.unsaved, std::is_sorted(c.order.begin(), c.order.end()) ? 0 : 1);
  }
}

TEST_F(GridRows, SortMovesLabelsOnlyWhenAsked) {
  numbered(3);
  YYGridSortRows(grid, 1, 1, 3, 1);
  EXPECT_EQ(column(1), (std::vector<std::string>{"r3", "r2", "r1"}));
  EXPECT_EQ(YYGridGetRowLabel(grid, 0), "L1");
  YYGridSortRows(grid, 1, 1, 3, 4);
  EXPECT_EQ(YYGridGetRowLabel(grid, 0), "L3");
}

TEST_F(GridRows, FindWithItsFlags) {
  define({kGridString, kGridInteger, kGridString}, 4);
  putText(1, 2, "xAB");
  putText(3, 1, "ab");
  putText(3, 3, "cab ");
  WGridPutCellInteger(0, 2, 4, 12345);
  struct Case {
    const char* wanted;
    int flags, found, column, row;
  };
  const Case cases[] = {
      {"ab", 0, -1, 3, 1},     {"ab", 2, -1, 1, 2},  {"AB", 0, -1, 1, 2}, {"ab ", 0, -1, 3, 3},
      {"234", 0, 0, 0, 0},     {"234", 4, -1, 2, 4}, {"zz", 6, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wanted);
    grid.currentColumn = 0;
    grid.currentRow = 0;
    int found = 7;
    WGridFind(0, c.wanted, c.flags, &found);
    EXPECT_EQ(found, c.found);
    if (c.found != 0) {
      EXPECT_EQ(grid.currentColumn + 1, c.column);
      EXPECT_EQ(grid.currentRow + 1, c.row);
    } else {
      EXPECT_EQ(grid.currentColumn, 0);
    }
  }
  // The search text ends at a NUL; its trailing blanks count.
  int found = 0;
  WGridFind(0, std::string_view("cab \0zz", 7), 0, &found);
  EXPECT_EQ(found, -1);
  EXPECT_EQ(grid.currentRow + 1, 3);
}

TEST_F(GridRows, FindContinuesAfterTheCurrentCell) {
  define({kGridString, kGridString}, 3);
  putText(1, 1, "hit");
  putText(1, 3, "hit");
  putText(2, 1, "hit");
  int found = 0;
  WGridFind(0, "hit", 0, &found);
  EXPECT_EQ(grid.currentRow, 0);
  WGridFind(0, "hit", 1, &found);
  EXPECT_EQ(grid.currentRow, 2);
  WGridFind(0, "hit", 1, &found);
  EXPECT_EQ(grid.currentColumn, 1);
  EXPECT_EQ(grid.currentRow, 0);
  WGridFind(0, "hit", 1, &found);
  EXPECT_EQ(found, 0);
  WGridFind(0, "hit", 0, &found, 2, 9, 0, 9);  // range bounds are brought into the grid
  EXPECT_EQ(found, -1);
  EXPECT_EQ(grid.currentColumn, 1);
}

}  // namespace
}  // namespace grid_test
