#include "toolkit/grid/grid_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>

#include "toolkit/core/fixed_text.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_clipboard.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_register.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

int yyGridFocusEntered = 0;
int yyGridClearBlockOnFocus = 1;

namespace {

GridColumn& columnOf(GridRecord& grid, int column) { return grid.columnList[static_cast<std::size_t>(column)]; }
const GridColumn& columnOf(const GridRecord& grid, int column) {
  return grid.columnList[static_cast<std::size_t>(column)];
}
int columnCount(const GridRecord& grid) {
  return std::min(grid.columns, static_cast<int>(grid.columnList.size()));
}
bool isNumber(GridColumnType type) { return type == kGridInteger || type == kGridReal || type == kGridDouble; }

// Set while the grid itself writes its cells: their change notices are no edit.
int loading = 0;
struct Loading {
  Loading() { ++loading; }
  ~Loading() { --loading; }
  Loading(const Loading&) = delete;
  Loading& operator=(const Loading&) = delete;
};

std::string cellText(HWND cell, int limit) {
  std::string text(static_cast<std::size_t>(limit) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(cell, text.data(), limit + 1)));
  return text;
}

HWND buddyOf(HWND cell) {
  const FieldRecord* field = fieldRecordOf(cell);
  return field != nullptr ? field->arrowControl : nullptr;
}

void showCell(HWND cell, bool show) {
  ShowWindow(cell, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (HWND buddy = buddyOf(cell); buddy != nullptr) ShowWindow(buddy, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

int clientWidth(const GridRecord& grid) {
  RECT box{};
  GetClientRect(grid.client != nullptr ? grid.client : grid.window, &box);
  return box.right;
}

// Left edge of a column's cells, before any horizontal scroll.
int columnX(const GridRecord& grid, int column) {
  int x = 0;
  for (int c = 0; c < column && c < columnCount(grid); ++c) x += columnOf(grid, c).width;
  return x - column;
}

// The last column fully on view when `first` stands first.
int lastFitting(const GridRecord& grid, int first) {
  const int width = clientWidth(grid);
  int sum = 1;
  int last = first;
  for (int c = first; c < columnCount(grid); ++c) {
    sum += columnOf(grid, c).width - 1;
    if (sum > width) break;
    last = c;
  }
  return last;
}

// The first column that makes `last` the last one fully on view.
int firstShowing(const GridRecord& grid, int last) {
  const int width = clientWidth(grid);
  int sum = 1;
  int first = last;
  for (int c = last; c >= 0; --c) {
    sum += columnOf(grid, c).width - 1;
    if (sum > width) break;
    first = c;
  }
  return first;
}

TEXTMETRICA metricsOf(HWND window, HFONT font) {
  TEXTMETRICA metrics{};
  HDC dc = GetDC(window);
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  GetTextMetricsA(dc, &metrics);
  if (old != nullptr) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics;
}

void setHeadingItem(HWND heading, int index, int width, const std::string& text, bool insert, int format) {
  HDITEMA item{};
  item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
  item.cxy = width;
  item.pszText = const_cast<char*>(text.c_str());
  item.fmt = format | HDF_STRING;
  SendMessageA(heading, insert ? HDM_INSERTITEMA : HDM_SETITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

// The cells on view as the model sees them.
class CellView final : public GridView {
 public:
  explicit CellView(GridRecord& grid) : grid_(grid) {}
  bool rowOnView(int row) const override { return YYGridCellWindow(grid_, 0, row) != nullptr; }
  std::string text(int column, int row) const override {
    const GridColumn& c = columnOf(grid_, column);
    const int limit = c.type == kGridString ? c.textWidth : c.type == kGridInteger ? kGridIntegerTextWidth : 50;
    return cellText(cell(column, row), limit);
  }
  void setText(int column, int row, std::string_view text, double lastValue, bool present) override {
    HWND window = cell(column, row);
    Loading quiet;
    SetWindowTextA(window, std::string(text).c_str());
    SendMessageA(window, EM_SETMODIFY, FALSE, 0);
    if (FieldRecord* field = fieldRecordOf(window); field != nullptr) {
      field->value = lastValue;
      field->valuePresent = present ? 1 : 0;
    }
  }
  bool modified(int column, int row) const override {
    return SendMessageA(cell(column, row), EM_GETMODIFY, 0, 0) != 0;
  }
  double lastValue(int column, int row) const override {
    const FieldRecord* field = fieldRecordOf(cell(column, row));
    return field != nullptr ? field->value : 0.0;
  }
  int check(int column, int row) const override {
    return SendMessageA(cell(column, row), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  }
  void setCheck(int column, int row, int state) override {
    Loading quiet;
    SendMessageA(cell(column, row), BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  int selection(int column, int row) const override {
    return static_cast<int>(SendMessageA(cell(column, row), CB_GETCURSEL, 0, 0));
  }
  void setSelection(int column, int row, int index) override {
    Loading quiet;
    SendMessageA(cell(column, row), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void store() override { YYGridStoreCells(grid_); }
  void load() override { YYGridLoadCells(grid_); }

 private:
  HWND cell(int column, int row) const { return YYGridCellWindow(grid_, column, row); }
  GridRecord& grid_;
};

// Cell rows for a client height: as many as the height shows, one more for
// the row shown in part, never more than the rows.
void fitCellRows(GridRecord& grid, int visible);

// The row-label control of cell row j shows the label of its row.
void loadLabel(GridRecord& grid, std::size_t j) {
  HWND label = j < grid.labelControls.size() ? grid.labelControls[j] : nullptr;
  if (label == nullptr) return;
  const std::size_t row = static_cast<std::size_t>(grid.firstRow) + j;
  const std::string text = row < grid.labels.size() ? grid.labels[row] : std::string();
  setHeadingItem(label, 0, grid.labelWidth + 1, text, false, HDF_LEFT);
  ShowWindow(label, static_cast<int>(row) < grid.rows ? SW_SHOWNOACTIVATE : SW_HIDE);
  UpdateWindow(label);
}

void loadLabels(GridRecord& grid) {
  for (std::size_t j = 0; j < grid.labelControls.size(); ++j) loadLabel(grid, j);
}

// A row's label changed while the row is on view.
void labelChanged(GridRecord& grid, int row) {
  if (row >= grid.firstRow) loadLabel(grid, static_cast<std::size_t>(row - grid.firstRow));
}

int onCreate(HWND window, const CREATESTRUCTA& create) {
  GridRecord& grid = YYGridRecordFor(window);
  grid.view = new CellView(grid);
  HWND parent = GetParent(window);
  grid.font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
  const TEXTMETRICA metrics = metricsOf(window, grid.font);
  grid.rowHeight = YYGridRowHeight(metrics.tmHeight);
  RECT client{};
  GetClientRect(window, &client);
  grid.visibleRows = std::max(0, static_cast<int>(client.bottom - 1) / (grid.rowHeight - 1));
  grid.frameHeight = create.cy - static_cast<int>(client.bottom);
  grid.layoutHeight = static_cast<int>(client.bottom);
  YYGridClearBlock(grid);
  if ((grid.style & kGridKeepHeightStyle) == 0) {
    const int height = (grid.rowHeight - 1) * grid.visibleRows + grid.frameHeight + 1 +
                       ((grid.style & kGridHeadingStyle) != 0 ? 2 : 0);
    SetWindowPos(window, nullptr, 0, 0, create.cx, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if ((grid.style & kGridHeadingStyle) != 0) {
    GetClientRect(window, &client);
    const int height = 13 * metrics.tmHeight / 8;
    grid.heading = CreateWindowExA(WS_EX_NOPARENTNOTIFY, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0,
                                   client.right, height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (grid.heading == nullptr) return -1;
    YYGridSubclassHeader(grid.heading);
    SendMessageA(grid.heading, WM_SETFONT, reinterpret_cast<WPARAM>(grid.font), FALSE);
    grid.headingHeight = height;
    grid.visibleRows = std::max(0, grid.visibleRows - 1);
  }
  return 0;
}

// A cell window of the template control's class for column c, cell row 0.
HWND firstCell(GridRecord& grid, int c, HWND control, int x) {
  GridColumn& column = columnOf(grid, c);
  std::array<char, 18> className{};
  GetClassNameA(control, className.data(), static_cast<int>(className.size()));
  LONG style = (GetWindowLongA(control, GWL_STYLE) | WS_BORDER) & ~(WS_VISIBLE | WS_DISABLED);
  style |= GetWindowLongA(grid.window, GWL_STYLE) & WS_DISABLED;
  int height = grid.rowHeight;
  if (column.type == kGridMenu) {
    RECT dropped{};
    SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    height = std::max(static_cast<int>(dropped.bottom - dropped.top), grid.rowHeight);
    style = (style & ~0x3L) | CBS_DROPDOWNLIST | WS_VSCROLL;
  }
  if ((grid.style & kGridReadOnlyStyle) != 0) {
    if (column.type <= kGridDouble) style |= ES_READONLY;
    if (column.type == kGridCheckBox) style = (style & ~0xFL) | BS_CHECKBOX;
  }
  if (column.type == kGridString) style |= ES_MULTILINE;
  const std::string text = column.type == kGridCheckBox ? std::string(29, ' ') : std::string();
  HWND cell = CreateWindowExA(WS_EX_NOPARENTNOTIFY, className.data(), text.c_str(), style, x, 0, column.width, height,
                              grid.client, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                              GetModuleHandleA(nullptr), nullptr);
  if (cell == nullptr) return nullptr;
  YYGridSetUpCell(grid, c, cell, control, false);
  return cell;
}

// A menu column starts on the item its template control has selected, in
// every row, so that the cells show it and the values say the same.
void startOnTemplateSelection(GridRecord& grid, int c, HWND control) {
  GridColumn& column = columnOf(grid, c);
  if (column.type != kGridMenu) return;
  const int selected = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
  if (selected <= 0) return;
  for (int row = 0; row < grid.rowsAllocated; ++row) YYGridStoreRaw(column, row, selected);
}

LRESULT onSetColumns(GridRecord& grid, HWND templateDialog, const int* positions) {
  std::vector<HWND> controls;
  bool good = YYGridColumnsFromTemplate(grid, templateDialog, positions, controls);
  const int columns = columnCount(grid);
  grid.cellRows = std::min(grid.rows, grid.visibleRows + 1);
  grid.cells.assign(static_cast<std::size_t>(columns * grid.cellRows), nullptr);
  if (grid.heading != nullptr) setHeadingItem(grid.heading, 0, grid.labelWidth + 1, "", true, HDF_CENTER);
  if (grid.client == nullptr) {
    RECT client{};
    GetClientRect(grid.window, &client);
    grid.client = CreateWindowExA(0, "QVRGRIDCLIENT", "", WS_CHILD | WS_VISIBLE, grid.labelWidth, grid.headingHeight,
                                  client.right - grid.labelWidth, client.bottom - grid.headingHeight, grid.window,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (grid.client == nullptr) return 0;
  }
  for (int c = 0; c < columns; ++c) {
    HWND control = controls[static_cast<std::size_t>(c)];
    if (control == nullptr) continue;
    startOnTemplateSelection(grid, c, control);
    const int x = columnX(grid, c);
    if (grid.cellRows > 0) {
      HWND first = firstCell(grid, c, control, x);
      if (first == nullptr) good = false;
      grid.cells[static_cast<std::size_t>(c * grid.cellRows)] = first;
      for (int p = 1; p < grid.cellRows && first != nullptr; ++p) {
        HWND cell = YYGridCopyCell(grid, c, first, p);
        if (cell == nullptr) good = false;
        grid.cells[static_cast<std::size_t>(c * grid.cellRows + p)] = cell;
      }
    }
    if (grid.heading != nullptr) {
      setHeadingItem(grid.heading, c + 1, columnOf(grid, c).width - 1, columnOf(grid, c).title, true, HDF_CENTER);
    }
  }
  YYGridLoadCells(grid);
  return good ? 1 : 0;
}

// The label width comes in dialog units, the text at the width's first digit.
LRESULT onSetRowLabels(GridRecord& grid, int width, const char* text) {
  // Every allocated row has a label, empty until one is read or set.
  if (grid.labels.size() < static_cast<std::size_t>(std::max(grid.rowsAllocated, 0))) {
    try {
      grid.labels.resize(static_cast<std::size_t>(grid.rowsAllocated));
    } catch (const std::bad_alloc&) {
      return -1;
    }
  }
  const int read = YYGridReadLabels(grid, text != nullptr ? text : "");
  const TEXTMETRICA metrics = metricsOf(grid.window, grid.font);
  grid.labelWidth = width * metrics.tmAveCharWidth / 4;
  const int count = std::min(grid.rows, grid.visibleRows + 1);
  bool good = true;
  grid.labelControls.assign(static_cast<std::size_t>(std::max(count, 0)), nullptr);
  for (int p = 0; p < count; ++p) {
    grid.labelControls[static_cast<std::size_t>(p)] = YYGridMakeLabelControl(grid, p);
    if (grid.labelControls[static_cast<std::size_t>(p)] == nullptr) good = false;
  }
  return good ? read : -1;
}

void onSize(GridRecord& grid) {
  if (grid.defined == 0) return;
  RECT client{};
  GetClientRect(grid.window, &client);
  if (grid.heading != nullptr) {
    SetWindowPos(grid.heading, nullptr, 0, 0, client.right, grid.headingHeight, SWP_NOMOVE | SWP_NOZORDER);
  }
  if (grid.client != nullptr) {
    MoveWindow(grid.client, grid.labelWidth, grid.headingHeight, client.right - grid.labelWidth,
               client.bottom - grid.headingHeight, TRUE);
  }
  YYGridLayout(grid);
  const int current = grid.currentColumn;
  if (grid.lastColumn < current) {
    YYGridScrollColumns(grid, SB_THUMBPOSITION, firstShowing(grid, current));
  } else if (columnCount(grid) > 0) {
    const int highest = firstShowing(grid, columnCount(grid) - 1);
    if (highest < grid.firstColumn) YYGridScrollColumns(grid, SB_THUMBPOSITION, highest);
  }
  grid.currentColumn = current;
  yyGridValidationSuspended = 0;
}

void onSetFocus(GridRecord& grid, HWND previous) {
  YYGridReportCell(grid);
  if (grid.defined != 0 && grid.rows > 0 && columnCount(grid) > 0) {
    const int row = grid.currentRow;
    if (row < grid.firstRow) {
      grid.exactTarget = row;
      YYGridScrollRows(grid, SB_THUMBPOSITION, row / grid.scrollScale);
    } else if (row - grid.firstRow >= grid.visibleRows) {
      grid.exactTarget = row - grid.visibleRows + 1;
      YYGridScrollRows(grid, SB_THUMBPOSITION, grid.exactTarget / grid.scrollScale);
    }
    grid.exactTarget = 0;
    grid.currentRow = row;
    const int column = grid.currentColumn;
    if (column < grid.firstColumn) {
      YYGridScrollColumns(grid, SB_THUMBPOSITION, column);
    } else if (column > grid.lastColumn) {
      YYGridScrollColumns(grid, SB_THUMBPOSITION, firstShowing(grid, column));
    }
    grid.currentColumn = column;
  }
  HWND cell = YYGridCellWindow(grid, grid.currentColumn, grid.currentRow);
  if (cell == nullptr) return;
  SetFocus(cell);
  const GridColumnType type = columnOf(grid, grid.currentColumn).type;
  if (type <= kGridDouble && previous != nullptr && GetParent(previous) == grid.client) {
    SendMessageA(cell, EM_SETSEL, 0, -1);
    SendMessageA(cell, EM_SCROLLCARET, 0, 0);
  }
}

// A click on the heading or a row label: the grid takes the focus, then the
// clicked column or row (or, with Shift, the span from the current one) becomes the block.
void onHeaderClick(GridRecord& grid, HWND header, int item) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  SetFocus(grid.window);
  const int lastRow = grid.rows - 1;
  const int lastColumn = columnCount(grid) - 1;
  if (header == grid.heading) {
    if (item == 0) {
      YYGridSelectBlock(grid, 0, lastRow, 0, lastColumn);
      return;
    }
    const int column = std::min(item - 1, lastColumn);
    if (!shift) {
      YYGridWindowSetCurrent(grid, column, grid.firstRow, true);
      YYGridSelectBlock(grid, 0, lastRow, column, column);
    } else {
      YYGridSelectBlock(grid, 0, lastRow, std::min(column, grid.currentColumn), std::max(column, grid.currentColumn));
    }
    return;
  }
  const int row = std::min(GetDlgCtrlID(header) + grid.firstRow, lastRow);
  if (!shift) {
    YYGridWindowSetCurrent(grid, grid.firstColumn, row, true);
    YYGridSelectBlock(grid, row, row, 0, lastColumn);
  } else {
    YYGridSelectBlock(grid, std::min(row, grid.currentRow), std::max(row, grid.currentRow), 0, lastColumn);
  }
}

void onCommand(GridRecord& grid, int command) {
  HWND cell = grid.menuCell;
  switch (command) {
    case kGridCutBlock:
      if (YYGridCopyBlock(grid)) YYGridDeleteBlock(grid);
      break;
    case kGridCopyBlock:
      YYGridCopyBlock(grid);
      break;
    case kGridPasteBlock:
      YYGridPasteBlock(grid);
      break;
    case kGridDeleteBlock:
      YYGridDeleteBlock(grid);
      break;
    case kGridUndo:
      SendMessageA(cell, EM_UNDO, 0, 0);
      break;
    case kGridCut:
      SendMessageA(cell, WM_CUT, 0, 0);
      break;
    case kGridCopy:
      SendMessageA(cell, WM_COPY, 0, 0);
      break;
    case kGridPaste:
      SendMessageA(cell, WM_PASTE, 0, 0);
      break;
    case kGridClear:
      SendMessageA(cell, WM_CLEAR, 0, 0);
      break;
    case kGridSelectAll:
      SendMessageA(cell, EM_SETSEL, 0, -1);
      SendMessageA(cell, EM_SCROLLCARET, 0, 0);
      break;
    default:
      break;
  }
}

void onWheel(GridRecord& grid, int delta) {
  grid.wheelAccumulator += delta;
  if (delta < 0) {
    while (grid.wheelAccumulator < -119) {
      YYGridScrollRows(grid, SB_LINEDOWN);
      grid.wheelAccumulator += 120;
    }
  } else {
    while (grid.wheelAccumulator > 119) {
      YYGridScrollRows(grid, SB_LINEUP);
      grid.wheelAccumulator -= 120;
    }
  }
}

void onSetFont(GridRecord& grid, HFONT font) {
  grid.font = font;
  const TEXTMETRICA metrics = metricsOf(grid.window, font);
  grid.rowHeight = YYGridRowHeight(metrics.tmHeight);
  grid.visibleRows = std::max(0, (grid.layoutHeight - 1) / (grid.rowHeight - 1));
  if ((grid.style & kGridKeepHeightStyle) == 0 && grid.displayOnly == 0) {
    RECT box{};
    GetWindowRect(grid.window, &box);
    const int height = (grid.rowHeight - 1) * grid.visibleRows + grid.frameHeight + 1 +
                       ((grid.style & kGridHeadingStyle) != 0 ? 2 : 0);
    SetWindowPos(grid.window, nullptr, 0, 0, box.right - box.left, height, SWP_NOMOVE | SWP_NOZORDER);
  }
  if (grid.heading != nullptr) {
    SendMessageA(grid.heading, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT box{};
    GetClientRect(grid.heading, &box);
    SetWindowPos(grid.heading, nullptr, 0, 0, box.right, grid.rowHeight + 1, SWP_NOMOVE | SWP_NOZORDER);
    grid.headingHeight = grid.rowHeight + 1;
    grid.visibleRows = std::max(0, grid.visibleRows - 1);
  }
}

// The focused cell of the grid holds a number typed in that does not read.
// A text the grid wrote itself stands for the cell's last valid value and
// keeps nobody in the cell.
bool focusedCellInvalid(const GridRecord& grid) {
  HWND focus = GetFocus();
  int column = 0;
  int row = 0;
  if (!YYGridCellPosition(grid, focus, column, row) || !isNumber(columnOf(grid, column).type)) return false;
  if (SendMessageA(focus, EM_GETMODIFY, 0, 0) == 0) return false;
  return YYFieldValidate(focus, nullptr, 0) != 0;
}

void fitCellRows(GridRecord& grid, int visible) {
  const int columns = columnCount(grid);
  const int n = std::max(0, std::min(visible + 1, grid.rows));
  if (n == grid.cellRows) {
    grid.visibleRows = visible;
    return;
  }
  const int saved = yyGridValidationSuspended;
  yyGridValidationSuspended = 1;
  const bool hadFocus = YYGridFocusInside(grid);
  YYGridStoreCells(grid);
  const int old = grid.cellRows;
  std::vector<HWND> cells(static_cast<std::size_t>(columns * n), nullptr);
  for (int c = 0; c < columns; ++c) {
    for (int j = 0; j < old; ++j) {
      HWND cell = grid.cells[static_cast<std::size_t>(c * old + j)];
      if (j < n) {
        cells[static_cast<std::size_t>(c * n + j)] = cell;
      } else if (cell != nullptr) {
        if (HWND buddy = buddyOf(cell); buddy != nullptr) DestroyWindow(buddy);
        DestroyWindow(cell);
      }
    }
  }
  for (std::size_t p = static_cast<std::size_t>(n); p < grid.labelControls.size(); ++p) {
    DestroyWindow(grid.labelControls[p]);
  }
  if ((grid.style & kGridRowLabelStyle) != 0) grid.labelControls.resize(static_cast<std::size_t>(n), nullptr);
  grid.cells = std::move(cells);
  grid.cellRows = n;
  grid.visibleRows = visible;
  // The current cell stays where it is: the view scrolls to keep it shown, and
  // leaves no empty room below the last row.
  const int shown = std::max(visible, 1);
  int first = grid.firstRow;
  if (grid.currentRow >= first + shown) first = grid.currentRow - shown + 1;
  grid.firstRow = std::max(0, std::min(first, grid.rows - shown));
  for (int c = 0; c < columns; ++c) {
    HWND model = nullptr;
    for (int j = 0; j < old && model == nullptr; ++j) model = grid.cells[static_cast<std::size_t>(c * n + j)];
    for (int p = old; p < n && model != nullptr; ++p) {
      grid.cells[static_cast<std::size_t>(c * n + p)] = YYGridCopyCell(grid, c, model, p);
    }
  }
  for (int p = old; p < n && (grid.style & kGridRowLabelStyle) != 0; ++p) {
    grid.labelControls[static_cast<std::size_t>(p)] = YYGridMakeLabelControl(grid, p);
  }
  YYGridLoadCells(grid);
  YYGridLayout(grid);
  // The cell windows now show other rows: the focus goes back to the current cell's.
  if (hadFocus && grid.displayOnly == 0) {
    if (HWND cell = YYGridCellWindow(grid, grid.currentColumn, grid.currentRow); cell != nullptr) SetFocus(cell);
  }
  yyGridValidationSuspended = saved;
}

// After the model changed the number of rows: cell rows, cells and scroll bars follow.
void rowsChanged(GridRecord& grid) {
  if (grid.window == nullptr || grid.client == nullptr) return;
  const int old = grid.cellRows;
  fitCellRows(grid, grid.visibleRows);
  if (old == grid.cellRows) YYGridLoadCells(grid);
  YYGridLayout(grid);
}

// A column's properties, its title or the labels changed: the windows on view follow.
void columnChanged(GridRecord& grid, int column) {
  if (grid.window == nullptr || grid.client == nullptr) return;
  if (column >= 0 && column < columnCount(grid)) {
    const GridColumn& c = columnOf(grid, column);
    if (grid.heading != nullptr) setHeadingItem(grid.heading, column + 1, column < grid.firstColumn ? 0 : c.width - 1,
                                                c.title, false, HDF_CENTER);
    for (int j = 0; j < grid.cellRows; ++j) {
      HWND cell = grid.cells[static_cast<std::size_t>(column * grid.cellRows + j)];
      FieldRecord* field = fieldRecordOf(cell);
      if (field == nullptr) continue;
      field->minimum = c.minimum;
      field->maximum = c.maximum;
      field->smallStep = c.smallStep;
      field->largeStep = c.largeStep;
      if ((c.type == kGridReal || c.type == kGridDouble) && (field->format ? *field->format : "") != c.format) {
        field->format = c.format.empty() ? nullptr : std::make_shared<const std::string>(c.format);
      }
      if (c.colours.empty()) {
        field->textColour = c.textColour;
        field->backgroundColour = c.backgroundColour;
      }
      if (field->arrowControl != nullptr && c.spin && c.hasRange()) {
        SendMessageA(field->arrowControl, UDM_SETRANGE32, static_cast<WPARAM>(c.spinMinimum), c.spinMaximum);
      }
      InvalidateRect(cell, nullptr, TRUE);
    }
  }
  // Colours of single cells, read-only states and labels come with a load.
  const int unsaved = grid.unsaved;
  const int changed = grid.changed;
  YYGridStoreCells(grid);
  YYGridLoadCells(grid);
  grid.unsaved = unsaved;
  grid.changed = changed;
  RECT box{};
  if (YYGridBlockRect(grid, box)) RedrawWindow(grid.client, &box, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// A program's move of the current cell: the focus leaves the grid for its
// dialog and comes back, so that the grid scrolls the cell into view,
// focuses it and reports it.
void programSetCurrent(GridRecord& grid, int column, int row) {
  YYGridClearBlockWindow(grid);
  HWND dialog = GetParent(grid.window);
  const bool shown = dialog != nullptr && IsWindowVisible(dialog) != 0 && IsWindowEnabled(dialog) != 0;
  if (shown) SetFocus(dialog);
  grid.currentColumn = column;
  grid.currentRow = row;
  if (shown) SetFocus(grid.window);
}

// The model moved the current cell (its row went): the grid takes the focus
// back when it had it and its dialog can have it, which shows, focuses and
// reports the current cell.
void takeFocusBack(GridRecord& grid) {
  HWND dialog = GetParent(grid.window);
  if (!YYGridFocusInside(grid) || IsWindowVisible(dialog) == 0 || IsWindowEnabled(dialog) == 0) return;
  SetFocus(grid.window);
}

}  // namespace

void YYGridClientResized(GridRecord& grid, int height) {
  if (grid.client == nullptr || grid.rowHeight < 2) return;
  const int visible = std::max(1, (height - grid.rowHeight) / (grid.rowHeight - 1) + 1);
  fitCellRows(grid, visible);
}

bool YYGridLoading() { return loading != 0; }

HWND YYGridCellWindow(const GridRecord& grid, int column, int row) {
  if (grid.cellRows <= 0 || column < 0 || column >= columnCount(grid)) return nullptr;
  if (row < grid.firstRow || row >= grid.firstRow + grid.cellRows || row >= grid.rows) return nullptr;
  const std::size_t index = static_cast<std::size_t>(column * grid.cellRows + row - grid.firstRow);
  return index < grid.cells.size() ? grid.cells[index] : nullptr;
}

bool YYGridCellPosition(const GridRecord& grid, HWND cell, int& column, int& row) {
  if (cell == nullptr || grid.cellRows <= 0) return false;
  for (std::size_t i = 0; i < grid.cells.size(); ++i) {
    if (grid.cells[i] == cell) {
      column = static_cast<int>(i) / grid.cellRows;
      row = grid.firstRow + static_cast<int>(i) % grid.cellRows;
      return true;
    }
  }
  return false;
}

GridRecord* YYGridOfChild(HWND window) {
  for (int depth = 0; depth < 3 && window != nullptr; ++depth) {
    if (GetClassWord(window, GCW_ATOM) == yyGridClasses.gridAtom) return gridRecordOf(window);
    window = GetParent(window);
  }
  return nullptr;
}

bool YYGridFocusInside(const GridRecord& grid) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == grid.window || IsChild(grid.window, focus));
}

void YYGridReportCell(const GridRecord& grid) {
  HWND parent = GetParent(grid.window);
  if (parent == nullptr || yyGridClasses.cellChangeMessage == 0) return;
  SendMessageA(parent, yyGridClasses.cellChangeMessage, static_cast<WPARAM>(GetDlgCtrlID(grid.window)),
               static_cast<LPARAM>(YYGridCellChangeParam(grid.currentColumn, grid.currentRow)));
}

void YYGridWindowSetCurrent(GridRecord& grid, int column, int row, bool focus) {
  if (column == grid.currentColumn && row == grid.currentRow && yyGridFocusEntered == 0) return;
  // A move that the focused cell's typed-in number refuses leaves the current
  // cell where the focus stays.
  if (focus && focusedCellInvalid(grid)) return;
  yyGridFocusEntered = 0;
  grid.currentColumn = column;
  grid.currentRow = row;
  if (focus) {
    SetFocus(grid.window);
  } else if (YYGridFocusInside(grid)) {
    YYGridReportCell(grid);
  }
}

void YYGridLayout(GridRecord& grid) {
  int scale = 1;
  int n = grid.rows;
  while (n > 65536) {
    n /= 2;
    scale *= 2;
  }
  grid.scrollScale = scale;
  const LONG style = GetWindowLongA(grid.window, GWL_STYLE);
  if ((style & WS_VSCROLL) != 0) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(n - 1, 0),
                    static_cast<UINT>(std::max(grid.visibleRows / scale, 0)), grid.firstRow / scale, 0};
    SetScrollInfo(grid.window, SB_VERT, &info, TRUE);
  }
  const int columns = columnCount(grid);
  grid.lastFirstColumn = columns > 0 ? firstShowing(grid, columns - 1) : 0;
  if ((style & WS_HSCROLL) != 0) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(columns - 1, 0),
                    static_cast<UINT>(columns - grid.lastFirstColumn), grid.firstColumn, 0};
    SetScrollInfo(grid.window, SB_HORZ, &info, TRUE);
  }
  grid.lastColumn = columns > 0 ? lastFitting(grid, grid.firstColumn) : 0;
}

void YYGridScrollRows(GridRecord& grid, int request, int position) {
  if (focusedCellInvalid(grid)) return;
  YYGridClearBlockWindow(grid);
  int t = 0;
  switch (request) {
    case SB_LINEUP:
      t = -1;
      break;
    case SB_LINEDOWN:
      t = 1;
      break;
    case SB_PAGEUP:
      t = -grid.visibleRows;
      break;
    case SB_PAGEDOWN:
      t = grid.visibleRows;
      break;
    case SB_THUMBPOSITION: {
      const int target = grid.exactTarget != 0 ? grid.exactTarget : position * grid.scrollScale;
      grid.exactTarget = 0;
      t = target - grid.firstRow;
      break;
    }
    default:
      break;
  }
  if (t < 0) {
    t = std::max(t, -grid.firstRow);
  } else if (t > 0) {
    const int room = grid.rows - grid.visibleRows - grid.firstRow;
    t = room < 1 ? 0 : std::min(t, room);
  }
  if (t == 0) return;
  const int unsaved = grid.unsaved;
  const int changed = grid.changed;
  const bool inside = YYGridFocusInside(grid);
  YYGridStoreCells(grid);
  grid.firstRow += t;
  SetScrollPos(grid.window, SB_VERT, grid.firstRow / grid.scrollScale, TRUE);
  YYGridLoadCells(grid);
  const int row = std::clamp(grid.currentRow, grid.firstRow, grid.firstRow + std::max(grid.visibleRows, 1) - 1);
  YYGridWindowSetCurrent(grid, grid.currentColumn, std::min(row, grid.rows - 1), false);
  if (inside) {
    if (HWND cell = YYGridCellWindow(grid, grid.currentColumn, grid.currentRow); cell != nullptr) SetFocus(cell);
  }
  grid.unsaved = unsaved;
  grid.changed = changed;
}

void YYGridScrollColumns(GridRecord& grid, int request, int position) {
  if (focusedCellInvalid(grid)) return;
  YYGridClearBlockWindow(grid);
  const int width = clientWidth(grid);
  int t = 0;
  switch (request) {
    case SB_LINELEFT:
      t = -1;
      break;
    case SB_LINERIGHT:
      t = 1;
      break;
    case SB_PAGELEFT: {
      int sum = 1;
      int c = grid.firstColumn - 1;
      while (c >= 0 && sum + columnOf(grid, c).width - 1 <= width) {
        sum += columnOf(grid, c).width - 1;
        --c;
      }
      t = std::min(c + 1 - grid.firstColumn, -1);
      break;
    }
    case SB_PAGERIGHT:
      t = std::max(grid.lastColumn - grid.firstColumn, 1);
      break;
    case SB_THUMBPOSITION:
      t = position - grid.firstColumn;
      break;
    default:
      break;
  }
  t = std::clamp(t, -grid.firstColumn, std::max(grid.lastFirstColumn - grid.firstColumn, -grid.firstColumn));
  if (t == 0) return;
  const bool inside = YYGridFocusInside(grid);
  const int oldX = columnX(grid, grid.firstColumn);
  grid.firstColumn += t;
  SetScrollPos(grid.window, SB_HORZ, grid.firstColumn, TRUE);
  grid.lastColumn = lastFitting(grid, grid.firstColumn);
  const int dx = oldX - columnX(grid, grid.firstColumn);
  ScrollWindowEx(grid.client, dx, 0, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  if (grid.heading != nullptr) {
    for (int c = 0; c < columnCount(grid); ++c) {
      HDITEMA item{};
      item.mask = HDI_WIDTH;
      item.cxy = c < grid.firstColumn ? 0 : columnOf(grid, c).width - 1;
      SendMessageA(grid.heading, HDM_SETITEMA, static_cast<WPARAM>(c + 1), reinterpret_cast<LPARAM>(&item));
    }
    InvalidateRect(grid.heading, nullptr, TRUE);
  }
  UpdateWindow(grid.client);
  const int column = std::clamp(grid.currentColumn, grid.firstColumn, grid.lastColumn);
  YYGridWindowSetCurrent(grid, column, grid.currentRow, false);
  if (inside) {
    if (HWND cell = YYGridCellWindow(grid, grid.currentColumn, grid.currentRow); cell != nullptr) SetFocus(cell);
  }
}

void YYGridStoreCells(GridRecord& grid) {
  for (int c = 0; c < columnCount(grid); ++c) {
    GridColumn& column = columnOf(grid, c);
    for (int j = 0; j < grid.cellRows; ++j) {
      const int row = grid.firstRow + j;
      if (row >= grid.rows || row >= grid.rowsAllocated || row >= static_cast<int>(column.flags.size())) break;
      HWND cell = grid.cells[static_cast<std::size_t>(c * grid.cellRows + j)];
      if (cell == nullptr) continue;
      unsigned char& flags = column.flags[static_cast<std::size_t>(row)];
      switch (column.type) {
        case kGridString:
          YYGridStoreText(column, row, cellText(cell, column.textWidth));
          break;
        case kGridCheckBox:
          YYGridStoreRaw(column, row, SendMessageA(cell, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
          break;
        case kGridMenu:
          YYGridStoreRaw(column, row, static_cast<int>(SendMessageA(cell, CB_GETCURSEL, 0, 0)));
          break;
        default: {
          const std::string text = cellText(cell, column.type == kGridInteger ? kGridIntegerTextWidth : 50);
          double value = 0.0;
          if (SendMessageA(cell, EM_GETMODIFY, 0, 0) != 0) {
            int ok = 0;
            YYTEXTTOINTOK(value, ok, text);
          } else if (const FieldRecord* field = fieldRecordOf(cell); field != nullptr) {
            value = field->value;
          }
          YYGridStoreNumber(column, row, value);
          if (text::isBlank(text)) {
            flags = static_cast<unsigned char>(flags & ~(kRowStored | kRowPresent));
          } else {
            flags |= kRowStored | kRowPresent;
          }
          break;
        }
      }
    }
  }
}

void YYGridLoadCells(GridRecord& grid) {
  Loading quiet;
  for (int c = 0; c < columnCount(grid); ++c) {
    const GridColumn& column = columnOf(grid, c);
    for (int j = 0; j < grid.cellRows; ++j) {
      HWND cell = grid.cells[static_cast<std::size_t>(c * grid.cellRows + j)];
      if (cell == nullptr) continue;
      const int row = grid.firstRow + j;
      if (row >= grid.rows || row >= static_cast<int>(column.flags.size())) {
        showCell(cell, false);
        continue;
      }
      FieldRecord* field = fieldRecordOf(cell);
      const unsigned char flags = column.flags[static_cast<std::size_t>(row)];
      if (!column.colours.empty() && field != nullptr) {
        const GridColour& entry = column.colours[static_cast<std::size_t>(row)];
        const int text = (entry.flags & kColourText) != 0 ? RGB(entry.text[0], entry.text[1], entry.text[2]) : -1;
        const int back = (entry.flags & kColourBackground) != 0
                             ? RGB(entry.background[0], entry.background[1], entry.background[2])
                             : -1;
        if (text != field->textColour || back != field->backgroundColour) {
          field->textColour = text;
          field->backgroundColour = back;
          InvalidateRect(cell, nullptr, TRUE);
        }
      }
      switch (column.type) {
        case kGridString:
          SetWindowTextA(cell, YYGridStoredText(column, row).c_str());
          SendMessageA(cell, EM_SETMODIFY, FALSE, 0);
          break;
        case kGridCheckBox:
          SendMessageA(cell, BM_SETCHECK, YYGridStoredInteger(column, row) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
          break;
        case kGridMenu:
          SendMessageA(cell, CB_SETCURSEL, static_cast<WPARAM>(YYGridStoredInteger(column, row)), 0);
          break;
        default: {
          const bool stored = (flags & kRowStored) != 0;
          const double value = stored ? YYGridStoredNumber(column, row) : 0.0;
          const std::string text =
              stored ? YYGridFormattedValue(value, column.type, YYGridCellFormat(grid, c)) : std::string();
          SetWindowTextA(cell, text.c_str());
          SendMessageA(cell, EM_SETMODIFY, FALSE, 0);
          if (field != nullptr) field->value = value;
          break;
        }
      }
      showCell(cell, true);
      if (field != nullptr) field->valuePresent = (flags & kRowPresent) != 0 ? 1 : 0;
      YYGridSetReadOnly(cell, column.type, (flags & kRowReadOnly) != 0 ? 1 : 0, 1);
    }
  }
  loadLabels(grid);
}

HWND YYGridMakeLabelControl(GridRecord& grid, int p) {
  const int y = grid.headingHeight + p * (grid.rowHeight - 1) + (p > 0 ? 1 : 0);
  HWND label = CreateWindowExA(WS_EX_NOPARENTNOTIFY, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, y,
                               grid.labelWidth, grid.rowHeight - (p > 0 ? 1 : 0), grid.window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(p)), GetModuleHandleA(nullptr), nullptr);
  if (label == nullptr) return nullptr;
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(grid.font), FALSE);
  YYGridSubclassHeader(label);
  const std::size_t row = static_cast<std::size_t>(grid.firstRow + p);
  setHeadingItem(label, 0, grid.labelWidth + 1, row < grid.labels.size() ? grid.labels[row] : std::string(), true,
                 HDF_LEFT);
  return label;
}

HWND YYGridCopyCell(GridRecord& grid, int column, HWND model, int p) {
  std::array<char, 18> className{};
  GetClassNameA(model, className.data(), static_cast<int>(className.size()));
  LONG style = (GetWindowLongA(model, GWL_STYLE) | WS_BORDER) & ~WS_VISIBLE;
  // A combo box hands its scroll bar style to its list and keeps none itself.
  if (columnOf(grid, column).type == kGridMenu) style = (style & ~0x3L) | CBS_DROPDOWNLIST | WS_VSCROLL;
  RECT box{};
  GetWindowRect(model, &box);
  if (HWND buddy = buddyOf(model); buddy != nullptr) {
    RECT buddyBox{};
    GetWindowRect(buddy, &buddyBox);
    box.right += buddyBox.right - buddyBox.left;
  }
  int height = box.bottom - box.top;
  if (columnOf(grid, column).type == kGridMenu) {
    RECT dropped{};
    SendMessageA(model, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    height = std::max(static_cast<int>(dropped.bottom - dropped.top), height);
  }
  const std::string text = columnOf(grid, column).type == kGridCheckBox ? std::string(29, ' ') : std::string();
  // The column's place in this grid, which need not be scrolled as the model's is.
  const int x = columnX(grid, column) - columnX(grid, grid.firstColumn);
  HWND cell = CreateWindowExA(GetWindowLongA(model, GWL_EXSTYLE), className.data(), text.c_str(), style, x,
                              (grid.rowHeight - 1) * p, box.right - box.left, height, grid.client,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), GetModuleHandleA(nullptr), nullptr);
  if (cell == nullptr) return nullptr;
  YYGridSetUpCell(grid, column, cell, model, true);
  return cell;
}

void YYGridSetUpCell(GridRecord& grid, int c, HWND cell, HWND model, bool withColours) {
  GridColumn& column = columnOf(grid, c);
  SendMessageA(cell, WM_SETFONT, reinterpret_cast<WPARAM>(grid.font), FALSE);
  if (column.type == kGridString) SendMessageA(cell, EM_LIMITTEXT, static_cast<WPARAM>(column.textWidth), 0);
  if (column.type == kGridInteger) SendMessageA(cell, EM_LIMITTEXT, kGridIntegerTextWidth, 0);
  if (column.type == kGridReal || column.type == kGridDouble) SendMessageA(cell, EM_LIMITTEXT, 0, 0);
  FieldRecord* field = fieldRecordOf(cell);
  if (field == nullptr) field = attachFieldRecord(cell, std::make_unique<FieldRecord>());
  const FieldRecord* from = fieldRecordOf(model);
  if (from != nullptr) {
    field->minimum = from->minimum;
    field->maximum = from->maximum;
    field->smallStep = from->smallStep;
    field->largeStep = from->largeStep;
    field->maximumLength = from->maximumLength;
    field->value = withColours ? 0.0 : from->value;
    field->format = from->format ? std::make_shared<const std::string>(*from->format) : nullptr;
    field->textColour = withColours ? from->textColour : -1;
    field->backgroundColour = withColours ? from->backgroundColour : -1;
    if (from->arrowControl != nullptr && field->arrowControl != nullptr) {
      LONG low = 0;
      LONG high = 0;
      SendMessageA(from->arrowControl, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
      SendMessageA(field->arrowControl, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
      std::array<UDACCEL, 2> steps{};
      const LRESULT count = SendMessageA(from->arrowControl, UDM_GETACCEL, steps.size(),
                                         reinterpret_cast<LPARAM>(steps.data()));
      if (count > 0) {
        SendMessageA(field->arrowControl, UDM_SETACCEL, static_cast<WPARAM>(std::min<LRESULT>(count, 2)),
                     reinterpret_cast<LPARAM>(steps.data()));
      }
    }
  } else {
    field->textColour = field->backgroundColour = -1;
  }
  field->valuePresent = 0;
  if (column.type == kGridMenu) {
    SendMessageA(cell, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : column.menuItems) {
      SendMessageA(cell, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  field->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(cell, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YYGridCellProc)));
  if (HWND buddy = field->arrowControl; buddy != nullptr) {
    SendMessageA(buddy, WM_SETFONT, reinterpret_cast<WPARAM>(grid.font), FALSE);
    ShowWindow(buddy, SW_HIDE);
    if (GetWindowLongPtrA(buddy, GWLP_USERDATA) == 0) {
      SetWindowLongPtrA(buddy, GWLP_USERDATA, GetWindowLongPtrA(buddy, GWLP_WNDPROC));
      SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YYGridBuddyProc));
    }
  }
}

LRESULT CALLBACK YYGridWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    return onCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
  }
  GridRecord* grid = gridRecordOf(window);
  if (grid == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      YYGridRecordRelease(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SIZE:
      onSize(*grid);
      return 0;
    case WM_SETFOCUS:
      onSetFocus(*grid, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_ENABLE:
      for (HWND cell : grid->cells) {
        if (cell == nullptr) continue;
        EnableWindow(cell, static_cast<BOOL>(wParam));
        if (HWND buddy = buddyOf(cell); buddy != nullptr) EnableWindow(buddy, static_cast<BOOL>(wParam));
      }
      return 0;
    case WM_SETFONT:
      onSetFont(*grid, reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(grid->font);
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == HDN_BEGINTRACKA || header->code == HDN_BEGINTRACKW) return 1;
      if (header->code == HDN_ITEMCLICKA || header->code == HDN_ITEMCLICKW) {
        onHeaderClick(*grid, header->hwndFrom, reinterpret_cast<const NMHEADERA*>(lParam)->iItem);
      }
      break;
    }
    case WM_COMMAND:
      if (lParam == 0) onCommand(*grid, LOWORD(wParam));
      break;
    case WM_VSCROLL:
      if (lParam == 0) YYGridScrollRows(*grid, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_HSCROLL:
      if (lParam == 0) YYGridScrollColumns(*grid, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_MOUSEWHEEL:
      onWheel(*grid, static_cast<short>(HIWORD(wParam)));
      return 0;
    case GM_SETCOLUMNS:
      return onSetColumns(*grid, reinterpret_cast<HWND>(wParam), reinterpret_cast<const int*>(lParam));
    case GM_SETROWLABELS:
      return onSetRowLabels(*grid, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
    case GM_LAYOUT:
      YYGridLayout(*grid);
      return 0;
    case GM_SETSIZE: {
      const int cellRows = grid->cellRows;
      YYGridSetSize(*grid, static_cast<int>(wParam), static_cast<int>(lParam));
      if (!grid->cells.empty() || grid->client != nullptr) {
        grid->cellRows = cellRows;
        rowsChanged(*grid);
      }
      return 0;
    }
    case GM_SETDEFINED:
      grid->defined = 1;
      grid->displayOnly = 1;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void YYGridWindowHooksInstall() {
  yyGridRowHooks.scrollRange = rowsChanged;
  yyGridRowHooks.columnChanged = columnChanged;
  yyGridRowHooks.labelChanged = labelChanged;
  yyGridRowHooks.setCurrent = programSetCurrent;
  yyGridRowHooks.refocus = takeFocusBack;
}
