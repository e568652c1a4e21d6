// Single cells through the program's routines: values by type, blanks, ranges,
// formats and the errors of each routine.
#include "grid_fixture.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

namespace grid_test {
namespace {

class GridCells : public GridTest {};

TEST_F(GridCells, NumericGetsTruncateTowardZero) {
  define({kGridReal, kGridString, kGridDouble}, 3);
  const struct {
    double value;
    int integer;
  } cases[] = {{2.9, 2}, {-2.9, -2}, {0.5, 0}, {7.0, 7}};
  for (const auto& c : cases) {
    WGridPutCellDouble(0, 3, 1, c.value);
    WGridPutCellReal(0, 1, 1, static_cast<float>(c.value));
    int fromReal = 0;
    int fromDouble = 0;
    WGridGetCellInteger(0, 1, 1, fromReal);
    WGridGetCellInteger(0, 3, 1, fromDouble);
    EXPECT_EQ(fromReal, c.integer) << c.value;
    EXPECT_EQ(fromDouble, c.integer) << c.value;
  }
  putText(2, 2, "  -12.75 ");
  double value = 0.0;
  WGridGetCellDouble(0, 2, 2, value);
  EXPECT_DOUBLE_EQ(value, -12.75);
  EXPECT_EQ(lastError(), 0);
}

TEST_F(GridCells, BlankCellsGiveTheUndefinedValueAnd1010) {
  define({kGridReal, kGridInteger, kGridString, kGridDouble}, 2);
  float real = 1.0f;
  WGridGetCellReal(0, 1, 1, real);
  EXPECT_EQ(real, -999.0f);
  EXPECT_EQ(lastError(), 1010);
  int integer = 1;
  WGridGetCellInteger(0, 2, 1, integer);
  EXPECT_EQ(integer, toolkitSettings.undefinedInteger);
  EXPECT_EQ(lastError(), 1010);
  putText(3, 1, "   ");
  double value = 1.0;
  WGridGetCellDouble(0, 3, 1, value);
  EXPECT_EQ(value, -999.0);
  EXPECT_EQ(lastError(), 1010);
  WGridPutCellDouble(0, 4, 2, 0.0);  // zero is a value, not a blank
  WGridGetCellDouble(0, 4, 2, value);
  EXPECT_EQ(value, 0.0);
  EXPECT_EQ(lastError(), 0);
}

TEST_F(GridCells, RangeRefusesAndStoresNothing) {
  define({kGridInteger}, 1);
  grid.columnList[0].minimum = 1.0;
  grid.columnList[0].maximum = 4.0;
  WGridPutCellInteger(0, 1, 1, 5);
  EXPECT_EQ(lastError(), 1009);
  EXPECT_EQ(text(1, 1), "");
  EXPECT_EQ(grid.unsaved, 0);
  WGridPutCellInteger(0, 1, 1, 4);
  EXPECT_EQ(lastError(), 0);
  EXPECT_EQ(text(1, 1), "4");
  WGridPutCellDouble(0, 1, 1, 0.5);
  EXPECT_EQ(lastError(), 1009);
}

TEST_F(GridCells, AFormatPutBecomesTheColumns) {
  define({kGridReal, kGridDouble}, 2);
  WGridPutCellReal(0, 1, 1, 3.14159f, "(F8.2)");
  EXPECT_EQ(text(1, 1), "3.14");
  WGridPutCellReal(0, 1, 2, 2.0f);
  EXPECT_EQ(text(1, 2), "2.00");
  float value = 0.0f;
  WGridGetCellReal(0, 1, 1, value);
  EXPECT_FLOAT_EQ(value, 3.14159f);  // the stored value keeps its precision
  WGridPutCellDouble(0, 2, 1, 1234.5);
  EXPECT_EQ(text(2, 1), "1234.5");
}

TEST_F(GridCells, NumbersIntoTextColumnsStoreTheirText) {
  define({kGridString, kGridCheckBox, kGridMenu}, 1);
  WGridPutCellDouble(0, 1, 1, 2.5, "(F6.3)");
  EXPECT_EQ(text(1, 1), "2.500");
  WGridPutCellInteger(0, 1, 1, -17);
  EXPECT_EQ(text(1, 1), "-17");
  // A number into a check box or a menu is ignored without a report.
  WGridPutCellInteger(0, 2, 1, 1);
  WGridPutCellDouble(0, 3, 1, 2.0);
  EXPECT_EQ(lastError(), 0);
  int state = -1;
  WGridGetCellCheckBox(0, 2, 1, state);
  EXPECT_EQ(state, 0);
}

TEST_F(GridCells, ChecksAndMenus) {
  define({kGridCheckBox, kGridMenu}, 2);
  grid.columnList[1].menuItems = {"South", "East"};
  WGridPutCellCheckBox(0, 1, 2, 1);
  int state = 0;
  WGridGetCellCheckBox(0, 1, 2, state);
  EXPECT_EQ(state, 1);
  WGridPutCellCheckBox(0, 2, 1, 1);
  EXPECT_EQ(lastError(), 1017);
  WGridPutCellOption(0, 2, 2, 0);  // selects nothing
  int option = -1;
  WGridGetCellMenu(0, 2, 2, option);
  EXPECT_EQ(option, 0);
  WGridPutCellOption(0, 2, 2, 2);
  WGridGetCellMenu(0, 2, 2, option);
  EXPECT_EQ(option, 2);
  WGridPutCellOption(0, 1, 1, 1);
  EXPECT_EQ(lastError(), 1017);
  WGridClearCell(0, 2, 1);
  EXPECT_EQ(lastError(), 1017);
  // A number put into a check box or a menu is ignored without a report.
  WGridPutCellInteger(0, 1, 2, 0);
  WGridPutCellDouble(0, 2, 2, 1.0);
  EXPECT_EQ(lastError(), 0);
  WGridGetCellCheckBox(0, 1, 2, state);
  EXPECT_EQ(state, 1);
  WGridGetCellMenu(0, 2, 2, option);
  EXPECT_EQ(option, 2);
}

TEST_F(GridCells, CoordinatesOutsideTheGridGive1017) {
  define({kGridString, kGridInteger, kGridCheckBox}, 2, 5);
  const struct {
    int column, row;
  } cells[] = {{0, 1}, {4, 1}, {1, 0}, {1, 3}, {2, 6}};
  for (const auto& c : cells) {
    std::string buffer(10, ' ');
    WGridGetCellString(0, c.column, c.row, TextField(buffer.data(), 10));
    EXPECT_EQ(lastError(), 1017) << c.column << "," << c.row;
    int value = 0;
    WGridGetCellInteger(0, c.column, c.row, value);
    EXPECT_EQ(lastError(), 1017);
    WGridPutCellInteger(0, c.column, c.row, 1);
    EXPECT_EQ(lastError(), 1017);
    WGridSetCell(0, c.column, c.row);
    EXPECT_EQ(lastError(), 1017);
  }
  std::string buffer(10, ' ');
  WGridGetCellString(0, 3, 1, TextField(buffer.data(), 10));
  EXPECT_EQ(lastError(), 1017);  // check boxes have no text
}

TEST_F(GridCells, IdentifiersWithoutAGrid) {
  define({kGridString}, 1);
  int value = 0;
  WGridGetCellInteger(5, 1, 1, value);  // no dialog is loaded
  EXPECT_EQ(lastError(), 1005);
  currentGrid = nullptr;
  WGridGetCellInteger(0, 1, 1, value);
  EXPECT_EQ(lastError(), 1006);
}

TEST_F(GridCells, TextsAreCutToTheColumnAndToTheCaller) {
  define({kGridString}, 1);
  putText(1, 1, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(text(1, 1), "abcdefghijklmnopqrst");
  EXPECT_EQ(text(1, 1, 5), "abcde");
  WGridClearCell(0, 1, 1);
  EXPECT_EQ(text(1, 1), "");
  EXPECT_EQ(grid.changed, 1);
}

}  // namespace
}  // namespace grid_test
