// The grid's record: its [Grids] line, its labels, its size words, the
// GM_CELLCHANGE packing, options, colours, ranges and menus.
#include <cstring>
#include <string>

#include "grid_fixture.h"
#include "toolkit/grid/grid_storage.h"

namespace grid_test {
namespace {

TEST(GridsLine, ReadsColumnsRowsAndTemplate) {
  struct Case {
    const char* text;
    int columns, rows, templateId, consumed;
  };
  const Case cases[] = {
      {"4 10 300 \n[Lengths]", 4, 10, 300, 8},
      {"  3   7   12\n", 3, 7, 12, 12},
      {"2 5", 2, 5, 0, 3},             // no template number: template 0
      {"x 5 9", 0, 5, 9, 5},           // no digits read as 0
      {"-3 4 300", -3, 4, 300, 8},
      {"", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const GridsLine line = YYGridParseLine(c.text);
    EXPECT_EQ(line.columns, c.columns);
    EXPECT_EQ(line.rows, c.rows);
    EXPECT_EQ(line.templateId, c.templateId);
    EXPECT_EQ(line.consumed, c.consumed);
  }
}

TEST(GridsLine, RowLabelsAreCutTrimmedAndEndAtTheText) {
  GridRecord grid;
  grid.style = kGridRowLabelStyle;
  grid.rows = 4;
  grid.labels.assign(4, "old");
  const std::string longLabel(60, 'L');
  const std::string text = " 4 4 300\n 40\nNorth   \r\n" + longLabel + "\nEast\r";
  const GridLabelWidth width = YYGridLabelWidth(text);
  EXPECT_EQ(width.width, 40);
  EXPECT_EQ(width.position, 10);  // the width's first digit, where the labels are read from
  const int read = YYGridReadLabels(grid, std::string_view(text).substr(10));
  EXPECT_EQ(read, static_cast<int>(text.size()) - 10);
  EXPECT_EQ(grid.labels[0], "North");
  EXPECT_EQ(grid.labels[1], std::string(50, 'L'));
  EXPECT_EQ(grid.labels[2], "East");  // a carriage return is no part of a label
  EXPECT_EQ(grid.labels[3], "");  // rows after the text has ended
}

TEST(GridsLine, NoLabelStyleSkipsTheLabels) {
  GridRecord grid;
  grid.style = kGridRowLabelStyle | kGridNoLabelTextStyle;
  grid.rows = 2;
  grid.labels.assign(2, std::string());
  EXPECT_EQ(YYGridLabelWidth("\n 30\nA\nB\n").width, 30);
  const int read = YYGridReadLabels(grid, "30\nA\nB\n");
  EXPECT_EQ(grid.labels[0], "");
  EXPECT_EQ(read, 2);  // the line feed of the width line
}

TEST(CellChange, PacksColumnAndRowAndUnpacksThem) {
  static_assert(YYGridCellChangeParam(0, 0) == (1u << 18) + 1);
  static_assert(YYGridCellChangeParam(2, 9) == 3u * 262144u + 10u);
  EXPECT_EQ(YYGridCellChangeColumn(YYGridCellChangeParam(16382, 262142)), 16382);
  EXPECT_EQ(YYGridCellChangeRow(YYGridCellChangeParam(16382, 262142)), 262142);
  // Row + 1 beyond 18 bits spills into the column: the packing cannot carry it.
  EXPECT_NE(YYGridCellChangeRow(YYGridCellChangeParam(0, 262144)), 262144);
}

TEST(GridSize, ADefinedGridNeverPromisesMoreThanItHolds) {
  GridRecord grid;
  YYGridSetSize(grid, 10, 3);
  EXPECT_EQ(grid.rowsAllocated, 10);
  ASSERT_TRUE(YYGridAllocate(grid, 3, 10));
  grid.defined = 1;
  YYGridSetSize(grid, 50, 8);
  EXPECT_EQ(grid.rows, 10);
  EXPECT_EQ(grid.rowsAllocated, 10);
  EXPECT_EQ(grid.columns, 3);
  YYGridSetSize(grid, 4, 2);
  EXPECT_EQ(grid.rows, 4);
  EXPECT_EQ(grid.columns, 2);
  EXPECT_EQ(grid.cellRows, 0);  // no window: every row lives in the arrays
}

// Arrays too large for memory (or for a 32-bit size) are refused whole: the
// column is left without arrays rather than with short ones.
TEST(GridSize, AColumnTooLargeForMemoryIsRefused) {
  GridColumn column;
  column.textWidth = 2147483646;
  EXPECT_FALSE(YYGridAllocateColumn(column, 2147483647));
  EXPECT_TRUE(column.data.empty());
  EXPECT_TRUE(column.flags.empty());
  column.textWidth = 20;
  EXPECT_TRUE(YYGridAllocateColumn(column, 3));
  EXPECT_EQ(column.data.size(), 63u);
  EXPECT_EQ(column.flags.size(), 3u);
}

TEST(GridSize, RowHeightIsAtLeastTwo) {
  EXPECT_EQ(YYGridRowHeight(16), 25);
  EXPECT_EQ(YYGridRowHeight(0), 2);
  EXPECT_EQ(YYGridRowHeight(1), 2);
}

class GridStorage : public GridTest {};

TEST_F(GridStorage, OptionsAnswerByCode) {
  define({kGridString, kGridInteger}, 5, 8);
  grid.currentColumn = 1;
  grid.currentRow = 3;
  struct Case {
    int code, value;
  };
  const Case cases[] = {{1, 2}, {2, 8}, {3, 5}, {4, 2}, {5, 4}, {6, 1}, {7, 0}, {8, 1}, {9, 1}, {101, 0}, {102, 2}, {55, -7}};
  for (const Case& c : cases) {
    int value = -7;
    YYGridOption(grid, c.code, value);
    EXPECT_EQ(value, c.value) << "code " << c.code;
  }
  WGridPutCellInteger(0, 2, 1, 4);
  int unsaved = -7;
  YYGridOption(grid, 6, unsaved);
  EXPECT_EQ(unsaved, 0);
}

TEST_F(GridStorage, TypeCodesAndTextWidth) {
  define({kGridString, kGridInteger, kGridReal, kGridDouble, kGridCheckBox, kGridMenu}, 1);
  const int codes[] = {4, 5, 6, 7, 9, 11};
  for (int column = 0; column < 6; ++column) {
    int code = 0;
    EXPECT_EQ(YYGridColumnType(grid, column, code), kGridDone);
    EXPECT_EQ(code, codes[column]);
  }
  int code = 0;
  EXPECT_EQ(YYGridColumnType(grid, 6, code), kGridOutside);
  int width = 0;
  EXPECT_EQ(YYGridTextWidth(grid, 0, width), kGridDone);
  EXPECT_EQ(width, 21);
  EXPECT_EQ(YYGridTextWidth(grid, 1, width), kGridOutside);
}

TEST_F(GridStorage, CellColoursFallBackToTheColumn) {
  define({kGridString, kGridString}, 3);
  grid.columnList[0].backgroundColour = RGB(1, 2, 3);
  GridRgb text, background;
  YYGridGetCellColour(grid, 0, 1, text, background);
  EXPECT_FALSE(text.set());
  EXPECT_EQ(background.b, 3);
  ASSERT_EQ(YYGridSetCellColour(grid, 0, 1, {10, 20, 30}, {0, 128, 255}), kGridDone);
  YYGridGetCellColour(grid, 0, 1, text, background);
  EXPECT_EQ(text.r, 10);
  EXPECT_EQ(background.g, 128);
  // r = 256 removes the cell's own background: the column's shows again.
  YYGridSetCellColour(grid, 0, 1, {-1, 0, 0}, {256, 0, 0});
  YYGridGetCellColour(grid, 0, 1, text, background);
  EXPECT_EQ(text.r, 10);
  EXPECT_FALSE(background.set());
  YYGridGetCellColour(grid, 0, 2, text, background);
  EXPECT_EQ(background.r, 1);
  EXPECT_EQ(YYGridSetCellColour(grid, 2, 0, {}, {}), kGridOutside);
  YYGridSetColumnColour(grid, 0, {256, 0, 0}, {5, 6, 7});
  YYGridGetCellColour(grid, 0, 1, text, background);
  EXPECT_FALSE(text.set());
  EXPECT_EQ(background.r, 5);
}

TEST_F(GridStorage, SpinRangeIsClampedAndTruncated) {
  define({kGridInteger}, 1);
  grid.columnList[0].spin = true;
  YYGridSetColumnRange(grid, 0, -50000.0, 50000.0);
  EXPECT_EQ(grid.columnList[0].spinMinimum, -31073);
  EXPECT_EQ(grid.columnList[0].spinMaximum, 31073);
  EXPECT_EQ(grid.columnList[0].maximum, 50000.0);
  YYGridSetColumnRange(grid, 0, -2.7, 9.9);
  EXPECT_EQ(grid.columnList[0].spinMinimum, -2);
  EXPECT_EQ(grid.columnList[0].spinMaximum, 9);
  EXPECT_EQ(YYGridSetSpinSteps(grid, 0, 3.0, 0.0), kGridDone);
  EXPECT_EQ(grid.columnList[0].largeStep, 3.0);
  grid.columnList[0].spin = false;
  EXPECT_EQ(YYGridSetSpinSteps(grid, 0, 3.0, 0.0), kGridOutside);
}

TEST_F(GridStorage, MenuByTextIgnoresCaseOnly) {
  define({kGridMenu}, 2);
  grid.columnList[0].menuItems = {"South", "East", ""};
  int notFound = -1;
  YYGridMenuByText(grid, 0, 0, notFound, "east");
  EXPECT_EQ(notFound, 0);
  int option = 0;
  WGridGetCellMenu(0, 1, 1, option);
  EXPECT_EQ(option, 2);
  YYGridMenuByText(grid, 0, 0, notFound, "Eas");
  EXPECT_EQ(notFound, 1);
  WGridGetCellMenu(0, 1, 1, option);
  EXPECT_EQ(option, 1);
  YYGridMenuByText(grid, 0, 1, notFound, "");
  EXPECT_EQ(notFound, 0);
  EXPECT_EQ(YYGridMenuItemText(grid, 0, 2), "East");
  EXPECT_EQ(YYGridMenuItemText(grid, 0, 4), "");
}

TEST_F(GridStorage, RowLabelsKeepFiftyCharacters) {
  define({kGridString}, 2);
  YYGridSetRowLabel(grid, 0, "no labels");
  EXPECT_EQ(YYGridGetRowLabel(grid, 0), "");
  grid.style = kGridRowLabelStyle;
  WGridLabelRow(0, 1, std::string(60, 'x') + "   ");
  EXPECT_EQ(YYGridGetRowLabel(grid, 0), std::string(50, 'x'));
  WGridLabelRow(0, 3, "beyond");
  EXPECT_EQ(lastError(), 1017);
}

TEST_F(GridStorage, ResetClearsAllFourBytesOfMenuIndexes) {
  define({kGridMenu, kGridInteger}, 2);
  grid.columnList[0].menuItems.assign(300, "item");
  WGridPutCellOption(0, 1, 1, 300);  // index 299: a second byte is in use
  WGridPutCellInteger(0, 2, 1, 70000);
  YYGridResetModel(grid, 0);
  int option = -1;
  WGridGetCellMenu(0, 1, 1, option);
  EXPECT_EQ(option, 1);
  EXPECT_EQ(grid.columnList[0].menuItems.size(), 300u);
  EXPECT_EQ(text(2, 1), "");
  YYGridResetModel(grid, 1);
  EXPECT_TRUE(grid.columnList[0].menuItems.empty());
}

TEST_F(GridStorage, CellFormatIsTheColumnsOrTheDefault) {
  define({kGridReal, kGridInteger}, 1);
  EXPECT_EQ(YYGridCellFormat(grid, 0), "(G15.5E2)");
  grid.columnList[0].format = "(F8.2)";
  grid.columnList[1].format = "(F8.2)";
  EXPECT_EQ(YYGridCellFormat(grid, 0), "(F8.2)");
  EXPECT_EQ(YYGridCellFormat(grid, 1), "(G15.5E2)");
}

}  // namespace
}  // namespace grid_test
