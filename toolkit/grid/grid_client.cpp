#include "toolkit/grid/grid_client.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_clipboard.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_window.h"

namespace {

const GridColumn& columnOf(const GridRecord& grid, int column) {
  return grid.columnList[static_cast<std::size_t>(column)];
}
int columnCount(const GridRecord& grid) {
  return std::min(grid.columns, static_cast<int>(grid.columnList.size()));
}
bool hasBlock(const GridRecord& grid) { return grid.blockFirstRow >= 0 && grid.blockFirstColumn >= 0; }
bool readOnlyGrid(const GridRecord& grid) { return (GetWindowLongA(grid.window, GWL_STYLE) & kGridReadOnlyStyle) != 0; }
bool pressed(int key) { return GetKeyState(key) < 0; }

// The brush last handed out for a cell's background.
HBRUSH cellBrush = nullptr;
// A clipboard key the grid handled: the character it makes is not typed.
bool swallowControlCharacter = false;

bool isEditCell(HWND window) {
  const ControlKind kind = controlKindOf(window);
  return kind != kKindButton && kind != kKindCombo && kind != kKindGrid && isEditLike(kind);
}

// The rectangle of a cell window, in its parent's coordinates.
RECT cellBox(HWND cell) {
  RECT box{};
  GetWindowRect(cell, &box);
  MapWindowPoints(nullptr, GetParent(cell), reinterpret_cast<POINT*>(&box), 2);
  const FieldRecord* field = fieldRecordOf(cell);
  if (field != nullptr && field->arrowControl != nullptr) {
    RECT buddy{};
    GetWindowRect(field->arrowControl, &buddy);
    MapWindowPoints(nullptr, GetParent(cell), reinterpret_cast<POINT*>(&buddy), 2);
    box.right = std::max(box.right, buddy.right);
  }
  if (controlKindOf(cell) == kKindCombo) {
    RECT shown{};
    GetClientRect(cell, &shown);
    box.bottom = box.top + shown.bottom + 2 * GetSystemMetrics(SM_CYEDGE);
  }
  return box;
}

void repaintBlock(GridRecord& grid) {
  RECT box{};
  if (YYGridBlockRect(grid, box)) {
    RedrawWindow(grid.client, &box, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

HWND dialogOf(const GridRecord& grid) { return GetParent(grid.window); }

// A child window: a window of the toolkit's window table other than the root
// window (such as a grid editor's), or a dialog placed inside a window.  Esc
// in a grid cell does not close it.
bool isChildWindow(HWND window) {
  if (window == nullptr) return false;
  if (isChildStyle(window)) return true;
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    if (slotOf(slot).frame == window) return true;
  }
  return false;
}

// Keys that move between cells; true when the key was the grid's.
bool navigate(GridRecord& grid, HWND cell, WPARAM key) {
  const LONG style = GetWindowLongA(grid.window, GWL_STYLE);
  const int column = grid.currentColumn;
  const int row = grid.currentRow;
  const int lastColumn = columnCount(grid) - 1;
  const int lastRow = grid.rows - 1;
  const GridColumnType type = columnOf(grid, column).type;
  const bool listOpen = grid.droppedCombo == cell;
  const bool ctrl = pressed(VK_CONTROL);
  const bool wrap = (style & 0x8000) != 0;
  auto move = [&](int c, int r) { YYGridWindowSetCurrent(grid, c, r, true); };
  auto caretAt = [&](bool end) {
    if (type == kGridCheckBox || type == kGridMenu) return true;
    DWORD from = 0;
    DWORD to = 0;
    SendMessageA(cell, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return end ? from == static_cast<DWORD>(GetWindowTextLengthA(cell)) : to == 0;
  };
  switch (key) {
    case VK_TAB:
      if ((style & 0x4000) == 0) {
        if (type != kGridCheckBox && type != kGridMenu) return false;
        SendMessageA(dialogOf(grid), WM_NEXTDLGCTL, pressed(VK_SHIFT) ? 1 : 0, FALSE);
        return true;
      }
      if (!pressed(VK_SHIFT)) {
        if (column < lastColumn) move(column + 1, row);
        else if (wrap && row < lastRow) move(0, row + 1);
        else YYBeep();
      } else {
        if (column > 0) move(column - 1, row);
        else if (wrap && row > 0) move(lastColumn, row - 1);
        else YYBeep();
      }
      return true;
    case VK_RETURN:
      if ((style & 0x1000) != 0) return navigate(grid, cell, VK_DOWN);
      return false;
    case VK_DOWN:
      if (listOpen) return false;
      if (row < lastRow) move(column, row + 1);
      else YYBeep();
      return true;
    case VK_UP:
      if (listOpen) return false;
      if (row > 0) move(column, row - 1);
      else YYBeep();
      return true;
    case VK_PRIOR:
      if (listOpen) return false;
      if (ctrl) move(column, 0);
      else YYGridScrollRows(grid, SB_PAGEUP);
      return true;
    case VK_NEXT:
      if (listOpen) return false;
      if (ctrl) move(column, lastRow);
      else if (grid.rows > grid.visibleRows) YYGridScrollRows(grid, SB_PAGEDOWN);
      return true;
    case VK_HOME:
    case VK_END:
      if (!ctrl) return false;
      move(key == VK_HOME ? 0 : lastColumn, row);
      return true;
    case VK_LEFT:
      if (!caretAt(false)) return false;
      if (ctrl) YYGridScrollColumns(grid, SB_PAGELEFT);
      else if (column > 0) move(column - 1, row);
      else if (wrap && row > 0) move(lastColumn, row - 1);
      else YYBeep();
      return true;
    case VK_RIGHT:
      if (!caretAt(true)) return false;
      if (ctrl) YYGridScrollColumns(grid, SB_PAGERIGHT);
      else if (column < lastColumn) move(column + 1, row);
      else if (wrap && row < lastRow) move(0, row + 1);
      else YYBeep();
      return true;
    case VK_ESCAPE:
      // A child window stays open; a dropped list of its cell closes.
      if (type != kGridCheckBox && type != kGridMenu) return false;
      if (isChildWindow(dialogOf(grid))) return !listOpen;
      SendMessageA(dialogOf(grid), WM_CLOSE, 0, 0);
      return true;
    default:
      return false;
  }
}

// Enter in a cell presses the dialog's default button.
bool pressDefaultButton(GridRecord& grid) {
  HWND dialog = dialogOf(grid);
  const LRESULT answer = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(answer) != DC_HASDEFID) return false;
  HWND button = GetDlgItem(dialog, LOWORD(answer));
  if (button == nullptr || IsWindowEnabled(button) == 0) return false;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(answer), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

// Clipboard keys; true when the grid took the key.
bool clipboardKey(GridRecord& grid, HWND cell, WPARAM key) {
  const bool ctrl = pressed(VK_CONTROL);
  const bool shift = pressed(VK_SHIFT);
  if ((key == VK_INSERT && shift) || (key == 'V' && ctrl)) {
    if (YYGridClipboardKind() != kClipboardTabular) return false;
    YYGridPasteBlock(grid);
    return true;
  }
  if (key == 'A' && ctrl && isEditCell(cell)) {
    SendMessageA(cell, EM_SETSEL, 0, -1);
    return true;
  }
  if (!hasBlock(grid)) return false;
  if (key == VK_DELETE || (key == 'X' && ctrl)) {
    if (YYGridBlockWritable(grid)) {
      if (key == VK_DELETE && !shift) {
        YYGridDeleteBlock(grid);
      } else if (YYGridCopyBlock(grid)) {
        YYGridDeleteBlock(grid);
      }
    }
    return true;
  }
  if (key == 'C' && ctrl) {
    YYGridCopyBlock(grid);
    return true;
  }
  return false;
}

LRESULT cellColour(GridRecord& grid, HWND cell, HDC dc) {
  if (cellBrush != nullptr) {
    DeleteObject(cellBrush);
    cellBrush = nullptr;
  }
  const FieldRecord* field = fieldRecordOf(cell);
  const FieldRecord* own = fieldRecordOf(grid.window);
  int text = field != nullptr ? field->textColour : -1;
  int back = field != nullptr ? field->backgroundColour : -1;
  if (text == -1 && own != nullptr) text = own->textColour;
  if (back == -1 && own != nullptr) back = own->backgroundColour;
  const bool button = controlKindOf(cell) == kKindButton;
  if (text != -1) {
    SetTextColor(dc, static_cast<COLORREF>(text));
  } else if (back != -1) {
    SetTextColor(dc, GetSysColor(button ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
  }
  if (back != -1) {
    const COLORREF colour = GetNearestColor(dc, static_cast<COLORREF>(back));
    SetBkColor(dc, colour);
    cellBrush = CreateSolidBrush(colour);
    return reinterpret_cast<LRESULT>(cellBrush);
  }
  if (text == -1) return 0;
  const int system = button ? COLOR_BTNFACE : COLOR_WINDOW;
  SetBkColor(dc, GetSysColor(system));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
}

void cellNotice(GridRecord& grid, HWND cell, int code) {
  const ControlKind kind = controlKindOf(cell);
  const bool loading = YYGridLoading();
  auto changed = [&] {
    YYGridMarkChanged(grid);
    const GridColumn& column = columnOf(grid, grid.currentColumn);
    const bool rowReadOnly = (column.flags[static_cast<std::size_t>(grid.currentRow)] & kRowReadOnly) != 0;
    if (!readOnlyGrid(grid) && !rowReadOnly) {
      YYGridReportCell(grid);
      YYGridClearBlockWindow(grid);
    } else if (kind == kKindCombo) {
      SendMessageA(cell, CB_SETCURSEL, static_cast<WPARAM>(YYGridStoredInteger(column, grid.currentRow)), 0);
    }
  };
  if ((kind == kKindButton && code == BN_CLICKED) || (kind == kKindCombo && code == CBN_SELCHANGE)) {
    if (!loading) changed();
  } else if (isEditLike(kind) && code == EN_CHANGE) {
    if (loading) return;
    YYGridMarkChanged(grid);
    YYGridClearBlockWindow(grid);
    const FieldRecord* own = fieldRecordOf(grid.window);
    if (own != nullptr && own->reportChanges != 0) changed();
  } else if ((kind == kKindCombo && code == CBN_SETFOCUS) || (kind == kKindButton && code == BN_SETFOCUS) ||
             (isEditLike(kind) && code == EN_SETFOCUS)) {
    int column = 0;
    int row = 0;
    if (!YYGridCellPosition(grid, cell, column, row)) return;
    YYGridWindowSetCurrent(grid, column, row, false);
    if (row - grid.firstRow > grid.visibleRows - 1) YYGridScrollRows(grid, SB_LINEDOWN);
    if (column > grid.lastColumn) YYGridScrollColumns(grid, SB_LINERIGHT);
  } else if (kind == kKindCombo && code == CBN_DROPDOWN) {
    grid.droppedCombo = cell;
  } else if (kind == kKindCombo && code == CBN_CLOSEUP) {
    grid.droppedCombo = nullptr;
  }
}

void contextMenu(GridRecord& grid, HWND clicked, LPARAM position) {
  grid.menuCell = clicked;
  const bool block = hasBlock(grid);
  const bool edit = clicked != grid.client && isEditCell(clicked);
  const bool writableCell = edit && (GetWindowLongA(clicked, GWL_STYLE) & ES_READONLY) == 0 && !readOnlyGrid(grid);
  DWORD from = 0;
  DWORD to = 0;
  if (edit) SendMessageA(clicked, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const bool selection = edit && to > from;
  const int length = edit ? GetWindowTextLengthA(clicked) : 0;
  const bool tabular = YYGridClipboardKind() == kClipboardTabular;
  int rows = 1;
  int columns = 1;
  if (tabular) YYGridClipboardSize(rows, columns);
  const bool cutOrDelete = block ? YYGridBlockWritable(grid) : selection && writableCell;
  struct Item {
    const char* text;
    int id;
    bool enabled;
  };
  const Item items[] = {
      {"&Undo", kGridUndo, edit && !block && SendMessageA(clicked, EM_CANUNDO, 0, 0) != 0 && writableCell},
      {nullptr, 0, false},
      {"Cu&t", block ? kGridCutBlock : kGridCut, cutOrDelete},
      {"&Copy", block ? kGridCopyBlock : kGridCopy, block || selection},
      {"&Paste", tabular ? kGridPasteBlock : kGridPaste,
       tabular ? YYGridPasteAllowed(grid, rows, columns) : writableCell},
      {"&Delete", block ? kGridDeleteBlock : kGridClear, cutOrDelete},
      {nullptr, 0, false},
      {"Select &All", kGridSelectAll,
       !block && edit && length > 0 && !(from == 0 && to == static_cast<DWORD>(length))},
  };
  HMENU menu = CreatePopupMenu();
  for (const Item& item : items) {
    if (item.text == nullptr) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(item.id),
                  item.text);
    }
  }
  POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  if (position == -1) {
    RECT box{};
    GetWindowRect(clicked, &box);
    at = {box.left, box.bottom};
  }
  TrackPopupMenu(menu, TPM_LEFTBUTTON, at.x, at.y, 0, grid.window, nullptr);
  DestroyMenu(menu);
}

void paintClient(GridRecord& grid, HWND window) {
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    UpdateWindow(child);
  }
  RECT box{};
  if (YYGridBlockRect(grid, box)) {
    HDC dc = GetDC(window);
    InvertRect(dc, &box);
    ReleaseDC(window, dc);
  }
}

void cellFocus(GridRecord& grid, HWND previous) {
  const bool fromInside = previous != nullptr && (previous == grid.window || IsChild(grid.window, previous));
  if (fromInside) {
    if (yyGridClearBlockOnFocus != 0) YYGridClearBlockWindow(grid);
    else yyGridClearBlockOnFocus = 1;
    yyGridFocusEntered = 0;
  } else {
    yyGridFocusEntered = 1;
  }
}

// Shift+click: the block from the current cell to the clicked one; true when
// the click is swallowed.
bool shiftClick(GridRecord& grid, HWND cell) {
  int column = 0;
  int row = 0;
  if (!YYGridCellPosition(grid, cell, column, row)) return false;
  if (column == grid.currentColumn && row == grid.currentRow) {
    YYGridClearBlockWindow(grid);
    return false;
  }
  YYGridSelectBlock(grid, std::min(row, grid.currentRow), std::max(row, grid.currentRow),
                    std::min(column, grid.currentColumn), std::max(column, grid.currentColumn));
  return true;
}

}  // namespace

void YYGridSelectBlock(GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn) {
  if (grid.blockFirstRow == firstRow && grid.blockLastRow == lastRow && grid.blockFirstColumn == firstColumn &&
      grid.blockLastColumn == lastColumn) {
    return;
  }
  HWND focus = GetFocus();
  if (focus != nullptr && isEditCell(focus) && IsChild(grid.window, focus)) SendMessageA(focus, EM_SETSEL, 0, 0);
  repaintBlock(grid);
  grid.blockFirstRow = firstRow;
  grid.blockLastRow = lastRow;
  grid.blockFirstColumn = firstColumn;
  grid.blockLastColumn = lastColumn;
  RECT box{};
  if (grid.client != nullptr && YYGridBlockRect(grid, box)) {
    RedrawWindow(grid.client, &box, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateWindow(grid.client);
  }
}

void YYGridClearBlockWindow(GridRecord& grid) {
  if (!hasBlock(grid)) return;
  if (grid.client != nullptr) repaintBlock(grid);
  YYGridClearBlock(grid);
}

bool YYGridBlockRect(const GridRecord& grid, RECT& box) {
  if (!hasBlock(grid) || grid.cellRows <= 0 || grid.client == nullptr) return false;
  const int lastOnView = std::min(grid.firstRow + grid.cellRows, grid.rows) - 1;
  if (grid.blockFirstRow > lastOnView || grid.blockLastRow < grid.firstRow) return false;
  const int top = std::max(grid.blockFirstRow, grid.firstRow);
  const int bottom = std::min(grid.blockLastRow, lastOnView);
  const int lastColumn = std::min(grid.blockLastColumn, columnCount(grid) - 1);
  HWND topLeft = YYGridCellWindow(grid, grid.blockFirstColumn, top);
  HWND bottomRight = YYGridCellWindow(grid, lastColumn, bottom);
  if (topLeft == nullptr || bottomRight == nullptr) return false;
  const RECT first = cellBox(topLeft);
  const RECT last = cellBox(bottomRight);
  box = {first.left, first.top, last.right, last.bottom};
  return box.right > box.left && box.bottom > box.top;
}

LRESULT CALLBACK YYGridBuddyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN && (wParam & MK_SHIFT) != 0) {
    if (HWND edit = reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0)); edit != nullptr) {
      return SendMessageA(edit, message, wParam, lParam);
    }
  }
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (previous == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

void YYGridSubclassHeader(HWND header) {
  SetWindowLongPtrA(header, GWLP_USERDATA, GetWindowLongPtrA(header, GWLP_WNDPROC));
  SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YYGridHeaderProc));
}

LRESULT CALLBACK YYGridHeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_SETCURSOR) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
  }
  if (message == WM_NCHITTEST) {
    if (const GridRecord* grid = YYGridOfChild(window); grid != nullptr && grid->displayOnly != 0) {
      return HTTRANSPARENT;
    }
  }
  if (previous == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK YYGridCellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FieldRecord* field = fieldRecordOf(window);
  const WNDPROC previous = field != nullptr ? field->previousProcedure : nullptr;
  auto standard = [&] {
    return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam)
                               : DefWindowProcA(window, message, wParam, lParam);
  };
  GridRecord* grid = YYGridOfChild(window);
  if (grid == nullptr) return standard();
  switch (message) {
    case WM_NCDESTROY: {
      const bool own = !isNumericField(window);
      const LRESULT answer = standard();
      if (own) releaseFieldRecord(window);
      return answer;
    }
    case WM_GETDLGCODE: {
      LRESULT code = standard();
      const LONG style = GetWindowLongA(grid->window, GWL_STYLE);
      if ((style & 0x1000) != 0) {
        code |= DLGC_WANTALLKEYS;
      } else {
        code |= DLGC_WANTARROWS | DLGC_WANTCHARS;
        if ((style & 0x4000) != 0) code |= DLGC_WANTTAB;
      }
      return code;
    }
    case WM_KEYDOWN:
      swallowControlCharacter = false;
      if (clipboardKey(*grid, window, wParam)) {
        swallowControlCharacter = true;
        return 0;
      }
      if (navigate(*grid, window, wParam)) return 0;
      if (wParam == VK_RETURN && pressDefaultButton(*grid)) return 0;
      return standard();
    case WM_CHAR:
      if (wParam == '\t' || wParam == '\r' || wParam == '\n') return 0;
      if (swallowControlCharacter && wParam < 0x20) {
        swallowControlCharacter = false;
        return 0;
      }
      return standard();
    case WM_SETFOCUS: {
      cellFocus(*grid, reinterpret_cast<HWND>(wParam));
      const LRESULT answer = standard();
      // Check boxes tell nobody of their focus: they become current as other cells do.
      if (controlKindOf(window) == kKindButton) {
        SendMessageA(grid->client, WM_COMMAND, MAKEWPARAM(0xFFFF, BN_SETFOCUS), reinterpret_cast<LPARAM>(window));
      }
      return answer;
    }
    case WM_KILLFOCUS: {
      HWND next = reinterpret_cast<HWND>(wParam);
      HWND parent = GetParent(grid->window);
      yyGridClearBlockOnFocus = next != grid->window && !(isChildWindow(parent) && next == parent) ? 1 : 0;
      if (yyGridClearBlockOnFocus != 0 && !(next != nullptr && IsChild(grid->window, next))) {
        YYGridClearBlockWindow(*grid);
      }
      // Only what the person typed is validated: a number the grid showed
      // itself stands for the cell's last valid value.
      const int validating = yyGridValidationSuspended;
      if (isNumericField(window) && SendMessageA(window, EM_GETMODIFY, 0, 0) == 0) yyGridValidationSuspended = 1;
      const LRESULT answer = standard();
      yyGridValidationSuspended = validating;
      return answer;
    }
    case WM_SETTEXT: {
      const LRESULT answer = standard();
      UpdateWindow(window);
      return answer;
    }
    case WM_LBUTTONDOWN:
      if ((wParam & MK_SHIFT) != 0 && shiftClick(*grid, window)) return 0;
      return standard();
    case WM_CONTEXTMENU:
      if (!hasBlock(*grid) && GetFocus() != window) SetFocus(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_MOUSEWHEEL:
      return SendMessageA(grid->window, message, wParam, lParam);
    case WM_NCHITTEST:
      if (grid->displayOnly != 0) return HTTRANSPARENT;
      return standard();
    default:
      return standard();
  }
}

LRESULT CALLBACK YYGridClientWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  GridRecord* grid = gridRecordOf(GetParent(window));
  if (grid == nullptr || grid->client != window) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      paintClient(*grid, window);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (GetParent(reinterpret_cast<HWND>(lParam)) != window) return 0;
      return cellColour(*grid, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      if (lParam != 0) cellNotice(*grid, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return DefWindowProcA(grid->window, message, wParam, lParam);
    case WM_VSCROLL:
      if (lParam != 0 && LOWORD(wParam) != SB_ENDSCROLL) {
        if (!YYInModalDialog(grid->window)) YYGridReportCell(*grid);
        YYGridMarkChanged(*grid);
        YYGridClearBlockWindow(*grid);
      }
      return 0;
    case WM_CLOSE:
    case WM_NEXTDLGCTL:
    case WM_NOTIFY:
      return SendMessageA(GetParent(grid->window), message, wParam, lParam);
    case DM_GETDEFID:
      return SendMessageA(GetParent(grid->window), message, wParam, lParam);
    case WM_CONTEXTMENU:
      contextMenu(*grid, reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case WM_SIZE:
      YYGridClientResized(*grid, HIWORD(lParam));
      return 0;
    case WM_NCHITTEST:
      if (grid->displayOnly != 0) return HTTRANSPARENT;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
