#include "toolkit/grid/grid_clipboard.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

#include "toolkit/core/events.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_storage.h"

namespace {

const GridColumn& columnOf(const GridRecord& grid, int column) {
  return grid.columnList[static_cast<std::size_t>(column)];
}
int columnCount(const GridRecord& grid) {
  return std::min(grid.columns, static_cast<int>(grid.columnList.size()));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
  return start.size() <= text.size() && YYGridSameTextIgnoringCase(text.substr(0, start.size()), start);
}

// The number a pasted field gives a numeric column; nothing when it does not
// read, holds an exponent in an integer column, or lies outside the range.
std::optional<double> pastedNumber(const GridColumn& column, std::string_view field) {
  std::string text(field);
  if (column.type == kGridInteger || column.type == kGridReal) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == 'D' || c == 'd'; }, 'E');
  }
  if (column.type == kGridInteger) {
    if (text.find_first_of("Ee") != std::string::npos) return std::nullopt;
    text = text.substr(0, text.find('.'));
  }
  int ok = 0;
  double value = 0.0;
  YYTEXTTOINTOK(value, ok, text);
  if (ok == 0) return std::nullopt;
  if (column.hasRange() && (value < column.minimum || value > column.maximum)) return std::nullopt;
  return value;
}

bool anyReadOnly(const GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn) {
  for (int c = std::max(firstColumn, 0); c <= lastColumn && c < columnCount(grid); ++c) {
    const GridColumn& column = columnOf(grid, c);
    for (int r = std::max(firstRow, 0); r <= lastRow && r < static_cast<int>(column.flags.size()); ++r) {
      if ((column.flags[static_cast<std::size_t>(r)] & kRowReadOnly) != 0) return true;
    }
  }
  return false;
}

bool readOnlyGrid(const GridRecord& grid) {
  LONG style = grid.style;
  if (grid.window != nullptr) style = GetWindowLongA(grid.window, GWL_STYLE);
  return (style & kGridReadOnlyStyle) != 0;
}

// The clipboard's CF_TEXT; nothing when there is none or it is not to be had.
std::optional<std::string> clipboardText(HWND owner) {
  if (IsClipboardFormatAvailable(CF_TEXT) == 0 || OpenClipboard(owner) == 0) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data)); bytes != nullptr) {
      text = std::string(bytes, strnlen(bytes, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// With the block-event style, a block paste or delete is one field change that
// names the block's corners; it goes straight into the current event, as the
// cells changed without any message of their own.
void postBlockChange(const GridRecord& grid, int firstColumn, int firstRow, int lastColumn, int lastRow) {
  if (grid.window == nullptr || (GetWindowLongA(grid.window, GWL_STYLE) & kGridBlockEventStyle) == 0) return;
  if (eventEnableTable[static_cast<std::size_t>(kEventFieldChanged - 1)] == 0) return;
  const DialogRecord* dialog = dialogRecordOf(GetParent(grid.window));
  const int field = GetDlgCtrlID(grid.window);
  EventWords& e = eventState.current;
  e.type = kEventFieldChanged;
  e.win = dialog != nullptr ? dialog->identifier : 0;
  e.value1 = field;
  e.value2 = 1;
  e.value3 = field;
  e.value4 = -1;
  e.x = static_cast<int>(YYGridCellChangeParam(firstColumn, firstRow));
  e.y = static_cast<int>(YYGridCellChangeParam(lastColumn, lastRow));
  e.time = static_cast<int>(GetMessageTime());
  eventState.waitState = kReady;
  eventState.returned = false;
}

}  // namespace

std::string YYGridCellText(const GridRecord& grid, int column, int row, int mode) {
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= grid.rowsAllocated) return {};
  const GridColumn& c = columnOf(grid, column);
  switch (c.type) {
    case kGridCheckBox: {
      int state = 0;
      YYGridCellCheck(grid, column, row, state);
      if (mode == 1) return std::string(1, static_cast<char>(state != 0 ? 0xFC : 0xFB));
      return state != 0 ? "Yes" : "No";
    }
    case kGridMenu: {
      int option = 0;
      YYGridCellMenu(grid, column, row, option);
      return option > 0 ? YYGridMenuItemText(grid, column, option) : std::string();
    }
    default: {
      std::string text;
      const int limit = c.type == kGridString ? c.textWidth : c.type == kGridInteger ? kGridIntegerTextWidth : 50;
      YYGridCellString(grid, column, row, text, limit);
      return c.type == kGridString ? text : std::string(text::trimmed(text));
    }
  }
}

std::string YYGridBlockText(const GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn) {
  std::string text;
  for (int r = firstRow; r <= lastRow; ++r) {
    for (int c = firstColumn; c <= lastColumn; ++c) {
      if (c > firstColumn) text += '\t';
      text += YYGridCellText(grid, c, r, 0);
    }
    if (r < lastRow) text += "\r\n";
  }
  return text;
}

int YYGridTextKind(std::string_view text) {
  if (text.empty()) return kClipboardNone;
  if (text.find('\t') != std::string_view::npos || text.find("\r\n") != std::string_view::npos) {
    return kClipboardTabular;
  }
  return kClipboardPlain;
}

void YYGridTextSize(std::string_view text, int& rows, int& columns) {
  rows = 1;
  columns = 1;
  int fields = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\t') {
      ++fields;
    } else if (text.compare(i, 2, "\r\n") == 0) {
      columns = std::max(columns, fields);
      fields = 1;
      ++i;
      if (i + 1 < text.size()) ++rows;
    }
  }
  columns = std::max(columns, fields);
}

bool YYGridPasteField(GridRecord& grid, int column, int row, std::string_view field) {
  if (!YYGridCellExists(grid, column, row)) return false;
  const GridColumn& c = columnOf(grid, column);
  switch (c.type) {
    case kGridString:
      return YYGridCellStore(grid, column, row, 0.0, field.substr(0, static_cast<std::size_t>(c.textWidth)), "") ==
             kGridDone;
    case kGridCheckBox:
      return YYGridCellSetCheck(grid, column, row, YYGridSameTextIgnoringCase(field, "Yes") ? 1 : 0) == kGridDone;
    case kGridMenu:
      for (std::size_t i = 0; i < c.menuItems.size(); ++i) {
        if (startsWithIgnoringCase(c.menuItems[i], field)) {
          return YYGridCellSetOption(grid, column, row, static_cast<int>(i) + 1) == kGridDone;
        }
      }
      return false;
    default: {
      if (text::isBlank(field)) return YYGridCellStore(grid, column, row, 0.0, "", "") == kGridDone;
      const std::optional<double> value = pastedNumber(c, field);
      if (!value) return false;
      const std::string shown = std::string(
          text::trimmed(YYGridFormattedValue(*value, c.type, c.type == kGridInteger ? "" : YYGridCellFormat(grid, column))));
      return YYGridCellStore(grid, column, row, *value, shown, "") == kGridDone;
    }
  }
}

GridPasteEnd YYGridPasteText(GridRecord& grid, std::string_view text) {
  GridPasteEnd end;
  const int r0 = grid.currentRow;
  const int c0 = grid.currentColumn;
  YYGridClearBlock(grid);
  int row = r0;
  int column = c0;
  std::size_t start = 0;
  while (start <= text.size()) {
    if (row >= grid.rows && column >= columnCount(grid)) break;
    std::size_t stop = text.find_first_of("\t\r", start);
    if (stop == std::string_view::npos) stop = text.size();
    if (row < grid.rows && column < columnCount(grid)) {
      if (YYGridPasteField(grid, column, row, text.substr(start, stop - start))) {
        end.column = std::max(end.column, column);
        end.row = std::max(end.row, row);
      }
    }
    if (stop >= text.size()) break;
    if (text[stop] == '\t') {
      ++column;
      start = stop + 1;
    } else {
      ++row;
      column = c0;
      start = stop + 1;
      if (start < text.size() && text[start] == '\n') ++start;
      if (start >= text.size()) break;
    }
  }
  YYGridMarkChanged(grid);
  return end;
}

bool YYGridBlockWritable(const GridRecord& grid) {
  if (readOnlyGrid(grid)) return false;
  return !anyReadOnly(grid, grid.blockFirstRow, grid.blockLastRow, grid.blockFirstColumn, grid.blockLastColumn);
}

bool YYGridPasteAllowed(const GridRecord& grid, int rows, int columns) {
  if (readOnlyGrid(grid)) return false;
  return !anyReadOnly(grid, grid.currentRow, std::min(grid.currentRow + rows - 1, grid.rows - 1), grid.currentColumn,
                      std::min(grid.currentColumn + columns - 1, columnCount(grid) - 1));
}

void YYGridDeleteBlockCells(GridRecord& grid) {
  const int firstRow = grid.blockFirstRow;
  const int lastRow = grid.blockLastRow;
  const int firstColumn = grid.blockFirstColumn;
  const int lastColumn = grid.blockLastColumn;
  YYGridClearBlock(grid);
  if (firstRow < 0 || firstColumn < 0) return;
  for (int c = firstColumn; c <= lastColumn && c < columnCount(grid); ++c) {
    for (int r = firstRow; r <= lastRow && r < grid.rows; ++r) YYGridClearCellApi(grid, c, r, 2);
  }
  YYGridMarkChanged(grid);
}

int YYGridClipboardKind() {
  const std::optional<std::string> text = clipboardText(nullptr);
  return text ? YYGridTextKind(*text) : kClipboardNone;
}

void YYGridClipboardSize(int& rows, int& columns) {
  const std::optional<std::string> text = clipboardText(nullptr);
  YYGridTextSize(text ? std::string_view(*text) : std::string_view(), rows, columns);
}

bool YYGridCopyBlock(GridRecord& grid) {
  if (grid.blockFirstRow < 0 || grid.blockFirstColumn < 0) return false;
  const std::string text =
      YYGridBlockText(grid, grid.blockFirstRow, grid.blockLastRow, grid.blockFirstColumn, grid.blockLastColumn);
  bool copied = false;
  if (OpenClipboard(grid.window) != 0) {
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1); memory != nullptr) {
      if (char* bytes = static_cast<char*>(GlobalLock(memory)); bytes != nullptr) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        copied = SetClipboardData(CF_TEXT, memory) != nullptr;
      }
      if (!copied) GlobalFree(memory);
    }
    CloseClipboard();
  }
  if (!copied) {
    MessageBoxA(grid.window,
                "Either the clipboard is in use by another application or there is\r"
                "insufficient memory available for the amount of data being copied",
                "Unable to Copy Data to Clipboard", MB_OK | MB_ICONHAND | MB_TASKMODAL);
  }
  return copied;
}

void YYGridPasteBlock(GridRecord& grid) {
  const std::optional<std::string> text = clipboardText(grid.window);
  if (!text || text->empty()) return;
  int rows = 1;
  int columns = 1;
  YYGridTextSize(*text, rows, columns);
  if (!YYGridPasteAllowed(grid, rows, columns)) return;
  YYGridClearBlockWindow(grid);
  const int firstColumn = grid.currentColumn;
  const int firstRow = grid.currentRow;
  const GridPasteEnd end = YYGridPasteText(grid, *text);
  postBlockChange(grid, firstColumn, firstRow, std::max(end.column, firstColumn), std::max(end.row, firstRow));
}

void YYGridDeleteBlock(GridRecord& grid) {
  if (!YYGridBlockWritable(grid)) return;
  const int firstRow = grid.blockFirstRow;
  const int lastRow = grid.blockLastRow;
  const int firstColumn = grid.blockFirstColumn;
  const int lastColumn = grid.blockLastColumn;
  YYGridClearBlockWindow(grid);
  grid.blockFirstRow = firstRow;
  grid.blockLastRow = lastRow;
  grid.blockFirstColumn = firstColumn;
  grid.blockLastColumn = lastColumn;
  YYGridDeleteBlockCells(grid);
  postBlockChange(grid, firstColumn, firstRow, lastColumn, lastRow);
}
