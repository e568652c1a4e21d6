// A dialog whose description defines its grids from a template dialog, shown
// under the test display.
#include <algorithm>
#include <array>
#include <string>

#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit_dialogs/dialog_fixture.h"

namespace {

constexpr int kGridDialog = 300;
constexpr int kGrid = 100;
constexpr int kGridWithoutTemplate = 101;

class GridDefinition : public dialog_test::RootWindow {};

TEST_F(GridDefinition, ColumnsComeFromTheTemplateControls) {
  WDialogLoad(kGridDialog);
  ASSERT_NE(dialog_test::currentDialog(), nullptr);
  WDialogShow(-1, -1, 0, kShowModeless);
  const GridRecord* grid = gridRecordOf(dialog_test::item(kGrid));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->defined, 1);
  EXPECT_EQ(grid->templateId, 301);
  const std::array<int, 5> codes = {4, 5, 9, 11, 6};
  for (int column = 0; column < 5; ++column) {
    int code = 0;
    EXPECT_EQ(YYGridColumnType(*grid, column, code), kGridDone);
    EXPECT_EQ(code, codes[static_cast<std::size_t>(column)]) << "column " << column;
  }
  struct Option {
    int code, value;
  };
  for (const Option& o : {Option{1, 5}, Option{2, 3}, Option{3, 3}, Option{4, 1}, Option{102, 5}}) {
    int value = -1;
    YYGridOption(*grid, o.code, value);
    EXPECT_EQ(value, o.value) << "option " << o.code;
  }
  int width = 0;
  YYGridTextWidth(*grid, 0, width);
  EXPECT_EQ(width, 13);
  int alignment = -1;
  YYGridColumnAlign(*grid, 0, alignment);
  EXPECT_EQ(alignment, 2);
  EXPECT_EQ(grid->columnList[3].menuItems, (std::vector<std::string>{"South", "East"}));
  // One cell window per column and cell row, fewer rows than fit: one per row.
  EXPECT_EQ(grid->cellRows, std::min(grid->rows, grid->visibleRows + 1));
  ASSERT_EQ(grid->cells.size(), static_cast<std::size_t>(5 * grid->cellRows));
  const std::array<const char*, 5> classes = {"Edit", "INTEGERSPIN", "Button", "ComboBox", "REALEDIT"};
  for (int column = 0; column < 5; ++column) {
    for (int row = 0; row < grid->cellRows; ++row) {
      HWND cell = grid->cells[static_cast<std::size_t>(column * grid->cellRows + row)];
      ASSERT_NE(cell, nullptr);
      std::array<char, 32> name{};
      GetClassNameA(cell, name.data(), static_cast<int>(name.size()));
      EXPECT_STRCASEEQ(name.data(), classes[static_cast<std::size_t>(column)]) << column << "," << row;
      if (column == 3) {
        EXPECT_EQ(SendMessageA(cell, CB_GETCOUNT, 0, 0), 2);
      }
    }
  }
  EXPECT_EQ(grid->columnList[1].minimum, 1.0);
  EXPECT_EQ(grid->columnList[1].maximum, 9.0);
  EXPECT_TRUE(grid->columnList[1].spin);
  EXPECT_EQ(grid->columnList[4].flags[2] & kRowReadOnly, kRowReadOnly);
  EXPECT_EQ(grid->columnList[0].flags[2] & kRowReadOnly, 0);
  EXPECT_EQ(YYGridGetRowLabel(*grid, 0), "First");
  EXPECT_EQ(YYGridGetRowLabel(*grid, 1), "Second");
  EXPECT_EQ(YYGridGetRowLabel(*grid, 2), "");
  EXPECT_GT(grid->labelWidth, 0);
  EXPECT_EQ(YYGridGetColumnTitle(*grid, 3), "Done");

  // The grid without a template is gone; the description went on behind it.
  EXPECT_EQ(dialog_test::item(kGridWithoutTemplate), nullptr);
  EXPECT_EQ(SendMessageA(dialog_test::item(102), EM_GETLIMITTEXT, 0, 0), 7);

  // The program reaches the grid by its field identifier.
  WGridPutCellInteger(kGrid, 2, 3, 10);
  EXPECT_EQ(dialog_test::lastError(), 1009);
  WGridPutCellInteger(kGrid, 2, 3, 9);
  int value = 0;
  WGridGetCellInteger(kGrid, 2, 3, value);
  EXPECT_EQ(value, 9);
  WGridPutCellOption(kGrid, 4, 1, 2);
  int option = 0;
  WGridGetCellMenu(kGrid, 4, 1, option);
  EXPECT_EQ(option, 2);
  WGridSort(kGrid, 2, 1);
  WGridGetCellInteger(kGrid, 2, 1, value);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(dialog_test::lastError(), 0);
  WGridGetCellInteger(kGridWithoutTemplate, 1, 1, value);
  EXPECT_EQ(dialog_test::lastError(), 1006);
  WDialogUnload();
}

}  // namespace
