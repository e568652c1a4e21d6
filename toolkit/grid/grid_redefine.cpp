#include "toolkit/grid/grid_redefine.h"

#include <commctrl.h>

#include <string>

#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"

namespace {

// The menu cell window of a column's cell row; null when there is none.
HWND menuCell(const GridRecord& grid, int column, int cellRow) {
  if (!YYGridColumnExists(grid, column) || grid.columnList[static_cast<std::size_t>(column)].type != kGridMenu) {
    return nullptr;
  }
  if (cellRow < 0 || cellRow >= grid.cellRows) return nullptr;
  const std::size_t index = static_cast<std::size_t>(column * grid.cellRows + cellRow);
  return index < grid.cells.size() ? grid.cells[index] : nullptr;
}

}  // namespace

int YYGridRedefineColumns(GridRecord& grid, int columns, const int* positions, bool editorGrid) {
  if (grid.window == nullptr) return kGridNoGrid;
  YYGridClearBlockWindow(grid);
  const bool hadFocus = YYGridFocusInside(grid);
  grid.currentColumn = 0;
  grid.currentRow = 0;
  YYGridScrollRows(grid, SB_THUMBPOSITION, 0);
  YYGridScrollColumns(grid, SB_THUMBPOSITION, 0);
  for (HWND cell : grid.cells) {
    if (cell == nullptr) continue;
    if (const FieldRecord* field = fieldRecordOf(cell); field != nullptr && field->arrowControl != nullptr) {
      DestroyWindow(field->arrowControl);
    }
    DestroyWindow(cell);
  }
  grid.cells.clear();
  grid.columnList.clear();
  if (grid.heading != nullptr) {
    while (SendMessageA(grid.heading, HDM_DELETEITEM, 0, 0) != 0) {
    }
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND templateDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(grid.templateId), YYGridTemplateOwner(),
                                           YYGridTemplateProc, grid.templateId);
  grid.columns = columns;
  int status = kGridNoGrid;
  if (templateDialog != nullptr &&
      SendMessageA(grid.window, GM_SETCOLUMNS, reinterpret_cast<WPARAM>(templateDialog),
                   reinterpret_cast<LPARAM>(positions)) != 0) {
    SendMessageA(grid.window, GM_LAYOUT, 0, 0);
    if (hadFocus && IsWindowVisible(grid.window) != 0) SetFocus(grid.window);
    if (editorGrid && yyGridRowHooks.editorFit != nullptr) yyGridRowHooks.editorFit(grid);
    InvalidateRect(grid.window, nullptr, TRUE);
    UpdateWindow(grid.window);
    status = kGridDone;
  }
  if (templateDialog != nullptr) DestroyWindow(templateDialog);
  return status;
}

int YYGridClearMenuItems(GridRecord& grid, int column, int cellRow) {
  HWND cell = menuCell(grid, column, cellRow);
  if (cell == nullptr) return kGridNoGrid;
  SendMessageA(cell, CB_RESETCONTENT, 0, 0);
  // The first cell's list is the column's.
  if (cellRow == 0) grid.columnList[static_cast<std::size_t>(column)].menuItems.clear();
  return kGridDone;
}

int YYGridAddMenuItem(GridRecord& grid, int column, int cellRow, std::string_view text) {
  HWND cell = menuCell(grid, column, cellRow);
  if (cell == nullptr) return kGridNoGrid;
  const std::string item(text);
  SendMessageA(cell, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (cellRow == 0) grid.columnList[static_cast<std::size_t>(column)].menuItems.push_back(item);
  return kGridDone;
}

void YYGridLabelInfo(const GridRecord& grid, int& heading, int& labelWidth) {
  heading = YYGridHasHeading(grid) ? 1 : 0;
  labelWidth = YYGridHasRowLabels(grid) ? grid.labelWidth : 0;
}
