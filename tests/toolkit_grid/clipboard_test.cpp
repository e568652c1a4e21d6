// The block's clipboard text and how a text pastes into the cells, on grids
// that have no window.
#include <cstring>
#include <string>

#include "grid_fixture.h"
#include "toolkit/grid/grid_clipboard.h"
#include "toolkit/grid/grid_storage.h"

namespace grid_test {
namespace {

class GridClipboardText : public GridTest {
 protected:
  // Columns: text (20), integer, real, double, check box, menu North/South/East.
  void SetUp() override {
    GridTest::SetUp();
    define({kGridString, kGridInteger, kGridReal, kGridDouble, kGridCheckBox, kGridMenu}, 4);
    grid.columnList[5].menuItems = {"North", "South", "East"};
  }
  void select(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    grid.blockFirstRow = firstRow;
    grid.blockLastRow = lastRow;
    grid.blockFirstColumn = firstColumn;
    grid.blockLastColumn = lastColumn;
  }
  void pasteAt(int column, int row, std::string_view text) {
    grid.currentColumn = column;
    grid.currentRow = row;
    YYGridPasteText(grid, text);
  }
};

TEST_F(GridClipboardText, BlockCopiesRowByRowWithoutAFinalLineBreak) {
  define({kGridString, kGridString, kGridString}, 2);
  const char* cells[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 3; ++c) putText(c + 1, r + 1, cells[r][c]);
  }
  EXPECT_EQ(YYGridBlockText(grid, 0, 1, 0, 2), "a\tb\tc\r\nd\te\tf");
}

TEST_F(GridClipboardText, EveryKindOfCellCopiesAsShown) {
  WGridPutCellInteger(0, 2, 1, 42);
  WGridPutCellReal(0, 3, 1, 2.5f, "(F6.2)");
  WGridPutCellCheckBox(0, 5, 1, 1);
  WGridPutCellOption(0, 6, 1, 2);
  putText(1, 1, "x y ");
  EXPECT_EQ(YYGridBlockText(grid, 0, 1, 0, 5), "x y \t42\t2.50\t\tYes\tSouth\r\n\t\t\t\tNo\tNorth");
  EXPECT_EQ(YYGridCellText(grid, 4, 0, 1), "\xFC");
  EXPECT_EQ(YYGridCellText(grid, 4, 1, 1), "\xFB");
}

TEST_F(GridClipboardText, KindAndSizeOfATextOnTheClipboard) {
  struct Case {
    const char* text;
    int kind, rows, columns;
  };
  const Case cases[] = {
      {"", kClipboardNone, 1, 1},
      {"plain", kClipboardPlain, 1, 1},
      {"a\tb", kClipboardTabular, 1, 2},
      {"a\r\nb", kClipboardTabular, 2, 1},
      {"a\tb\tc\r\nd\r\n", kClipboardTabular, 2, 3},
      {"a\r\n\r\nb\tc", kClipboardTabular, 3, 2},
      {"lone\rcarriage return", kClipboardPlain, 1, 1},
  };
  for (const Case& c : cases) {
    int rows = 0;
    int columns = 0;
    YYGridTextSize(c.text, rows, columns);
    EXPECT_EQ(YYGridTextKind(c.text), c.kind) << c.text;
    EXPECT_EQ(rows, c.rows) << c.text;
    EXPECT_EQ(columns, c.columns) << c.text;
  }
}

TEST_F(GridClipboardText, PastedFieldsFollowTheColumnType) {
  grid.columnList[0].textWidth = 5;
  ASSERT_TRUE(YYGridAllocateColumn(grid.columnList[0], grid.rowsAllocated));
  struct Case {
    int column;
    const char* field;
    bool taken;
    double value;  // numbers and options; checks 0/1
  };
  const Case cases[] = {
      {2, "1.5D3", true, 1500.0},  {2, "2.5e1", true, 25.0},    {1, "1.5D3", false, 0.0},
      {1, "7e2", false, 0.0},      {1, "12.7", true, 12.0},     {1, "-3", true, -3.0},
      {3, "0.125", true, 0.125},   {1, "twelve", false, 0.0},
      {4, "yes", true, 1.0},       {4, "YES", true, 1.0},       {4, "y", true, 0.0},
      {5, "ea", true, 3.0},        {5, "so", true, 2.0},        {5, "West", false, 0.0},
  };
  for (const Case& c : cases) {
    YYGridClearCellApi(grid, c.column, 0, 2);
    EXPECT_EQ(YYGridPasteField(grid, c.column, 0, c.field), c.taken) << c.field;
    if (c.column == 4) {
      int state = -1;
      YYGridCellCheck(grid, 4, 0, state);
      EXPECT_EQ(state, static_cast<int>(c.value)) << c.field;
    } else if (c.column == 5) {
      int option = -1;
      YYGridCellMenu(grid, 5, 0, option);
      EXPECT_EQ(option, c.taken ? static_cast<int>(c.value) : 1) << c.field;
    } else {
      double value = -1.0;
      EXPECT_EQ(YYGridCellValue(grid, c.column, 0, value), c.taken ? kGridDone : kGridBlank) << c.field;
      if (c.taken) {
        EXPECT_DOUBLE_EQ(value, c.value) << c.field;
      }
    }
  }
  EXPECT_TRUE(YYGridPasteField(grid, 0, 0, "abcdefgh"));
  EXPECT_EQ(text(1, 1), "abcde");
}

TEST_F(GridClipboardText, NumbersOutsideTheColumnRangeLeaveTheCell) {
  ASSERT_EQ(YYGridSetColumnRange(grid, 1, 1.0, 9.0), kGridDone);
  WGridPutCellInteger(0, 2, 1, 4);
  pasteAt(1, 0, "10");
  int value = 0;
  WGridGetCellInteger(0, 2, 1, value);
  EXPECT_EQ(value, 4);
  pasteAt(1, 0, "9");
  WGridGetCellInteger(0, 2, 1, value);
  EXPECT_EQ(value, 9);
}

TEST_F(GridClipboardText, PasteStartsAtTheCurrentCellAndSkipsWhatFallsOutside) {
  define({kGridString, kGridString, kGridString}, 3);
  pasteAt(2, 2, "a\tb\tc\r\nd\te\tf\r\ng\th\ti");
  EXPECT_EQ(YYGridBlockText(grid, 0, 2, 0, 2), "\t\t\r\n\t\t\r\n\t\ta");
  pasteAt(1, 0, "p\tq\r\nr");
  EXPECT_EQ(YYGridBlockText(grid, 0, 2, 0, 2), "\tp\tq\r\n\tr\t\r\n\t\ta");
  EXPECT_EQ(grid.unsaved, 1);
}

TEST_F(GridClipboardText, ReadOnlyCellsRefusePasteAndDelete) {
  ASSERT_EQ(YYGridSetCellReadOnly(grid, 2, 1, 0), kGridDone);
  grid.currentColumn = 0;
  grid.currentRow = 0;
  EXPECT_TRUE(YYGridPasteAllowed(grid, 1, 2));
  EXPECT_FALSE(YYGridPasteAllowed(grid, 2, 3));
  grid.currentColumn = 3;
  EXPECT_TRUE(YYGridPasteAllowed(grid, 9, 9));
  select(0, 3, 0, 1);
  EXPECT_TRUE(YYGridBlockWritable(grid));
  select(1, 1, 2, 2);
  EXPECT_FALSE(YYGridBlockWritable(grid));
  grid.style |= kGridReadOnlyStyle;
  select(0, 0, 0, 0);
  EXPECT_FALSE(YYGridBlockWritable(grid));
  EXPECT_FALSE(YYGridPasteAllowed(grid, 1, 1));
}

TEST_F(GridClipboardText, DeletedBlockIsEmptyAndMenusTakeTheirFirstItem) {
  WGridPutCellOption(0, 6, 2, 300);  // an index past one byte must not survive
  WGridPutCellInteger(0, 2, 2, 77);
  WGridPutCellCheckBox(0, 5, 2, 1);
  putText(1, 2, "gone");
  putText(1, 3, "kept");
  select(1, 1, 0, 5);
  YYGridDeleteBlockCells(grid);
  EXPECT_EQ(grid.blockFirstRow, -1);
  EXPECT_EQ(YYGridStoredInteger(grid.columnList[5], 1), 0);
  EXPECT_EQ(YYGridBlockText(grid, 1, 2, 0, 5), "\t\t\t\tNo\tNorth\r\nkept\t\t\t\tNo\tNorth");
  double value = 0.0;
  EXPECT_EQ(YYGridCellValue(grid, 1, 1, value), kGridBlank);
}

}  // namespace
}  // namespace grid_test
