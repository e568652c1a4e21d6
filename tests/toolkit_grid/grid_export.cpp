// Bridge program: fills a grid with awkward cells and writes it as a
// comma-separated file and as an HTML page, for the host's checkers.
// Usage: grid_export CSV HTML
#include <string>

#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_files.h"
#include "toolkit/grid/grid_model.h"
#include "toolkit/grid/grid_rows.h"

namespace {

GridRecord grid;

void define() {
  const GridColumnType types[] = {kGridString, kGridInteger, kGridDouble, kGridCheckBox, kGridMenu};
  for (GridColumnType type : types) {
    GridColumn column;
    column.type = type;
    column.textWidth = type == kGridString ? 40 : type == kGridInteger ? 11 : 0;
    column.title = "T" + std::to_string(grid.columnList.size() + 1);
    column.menuItems = {"North", "Say \"hi\"", "a,b"};
    grid.columnList.push_back(column);
  }
  grid.columns = 5;
  grid.rows = grid.rowsAllocated = 4;
  grid.style = kGridHeadingStyle | kGridRowLabelStyle;
  grid.labels.assign(4, std::string());
  for (GridColumn& column : grid.columnList) YYGridAllocateColumn(column, 4);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  define();
  yyGridOfCurrentWindow = [] { return &grid; };
  const char* texts[] = {"plain", "comma, inside", "quote \"here\"", ""};
  for (int row = 1; row <= 4; ++row) {
    YYGridCellStore(grid, 0, row - 1, 0.0, texts[row - 1], "");
    if (row != 3) WGridPutCellInteger(0, 2, row, row * -1000);
    if (row != 2) WGridPutCellDouble(0, 3, row, row * 1.25, "(F8.3)");
    WGridPutCellCheckBox(0, 4, row, row % 2);
    WGridPutCellOption(0, 5, row, row - 1);
    WGridLabelRow(0, row, "Row " + std::to_string(row));
  }
  WGridSave(0, argv[1]);
  GridHtmlOptions html;
  html.title = "Grid cells";
  html.border = 1;
  WGridSaveHTML(0, argv[2], {}, html);
  return 0;
}
