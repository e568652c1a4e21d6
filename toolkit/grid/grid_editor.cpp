#include "toolkit/grid/grid_editor.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/core/window_procs.h"
#include "toolkit/core/window_select.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_clipboard.h"
#include "toolkit/grid/grid_editor_commands.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_printing.h"
#include "toolkit/grid/grid_register.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"

GridEditorClosed yyGridEditorClosed;

namespace {

constexpr int kTitleLimit = 1023;
constexpr int kFileNameLimit = kEditorFileNameLength - 1;
constexpr int kFilterLimit = kEditorFilterLength - 1;
constexpr UINT_PTR kSimpleStatusPart = 255;

struct MenuItem {
  int id;
  const char* withKey;
  const char* withoutKey;
};

struct HelpText {
  int id;
  const char* text;
};
constexpr HelpText kItemHelp[] = {
    {kCmdNew, "Clears the grid"},
    {kCmdOpen, "Loads an existing grid"},
    {kCmdSave, "Saves the grid"},
    {kCmdSaveAs, "Saves the grid with a new name"},
    {kCmdPrint, "Prints the grid"},
    {kCmdPrintSelection, "Prints the selected cells"},
    {kCmdExit, "Closes the grid; prompts you to save changes"},
    {kCmdSaveHtml, "Saves the grid as an HTML document"},
    {kCmdCut, "Cuts the selected cells and places them on the clipboard"},
    {kCmdCopy, "Copies the selected cells and places them on the clipboard"},
    {kCmdPaste, "Inserts clipboard contents"},
    {kCmdDelete, "Clears the selected cells"},
    {kCmdSelectAll, "Selects the entire grid"},
    {kCmdSort, "Sorts the rows of the grid"},
    {kCmdInsertBefore, "Inserts a row into the grid, before the current row"},
    {kCmdInsertAfter, "Inserts a row into the grid, after the current row"},
    {kCmdDeleteRow, "Deletes a row from the grid"},
    {kCmdFind, "Finds the specified string value"},
    {kCmdFindNext, "Repeats the last find"},
    {kCmdGotoCell, "Moves to the specified cell"},
    {kCmdGotoRow, "Moves to the specified row"},
    {kCmdGotoColumn, "Moves to the specified column"},
};
constexpr const char* kFileHelp = "Commands to Load and Save files";
constexpr const char* kEditHelp = "Commands for Editing and Sorting cells";
constexpr const char* kSearchHelp = "Commands for Searching and Navigation";

struct ToolTip {
  int id;
  const char* text;
};
constexpr ToolTip kToolTips[] = {{kCmdNew, "New"},   {kCmdOpen, "Open"},   {kCmdSave, "Save"},
                                 {kCmdPrint, "Print"}, {kCmdCut, "Cut"},     {kCmdCopy, "Copy"},
                                 {kCmdPaste, "Paste"}, {kCmdFind, "Find"}};

std::string cut(std::string_view text, int limit) {
  const std::size_t end = std::min(text.find('\0'), text.size());
  return std::string(text.substr(0, std::min<std::size_t>(end, static_cast<std::size_t>(limit))));
}

GridRecord* gridOf(const GridEditorRecord& record) {
  return record.grid != nullptr ? gridRecordOf(record.grid) : nullptr;
}

GridRecord* gridOfCurrentWindow() {
  GridEditorRecord* record = YYGridEditorOfSlot(windowTable.currentIndex);
  return record != nullptr ? gridOf(*record) : nullptr;
}

GridEditorRecord* editorOfGrid(const GridRecord& grid) {
  return grid.window != nullptr ? YYGridEditorOf(GetParent(grid.window)) : nullptr;
}

void fitEditorOfGrid(GridRecord& grid) {
  if (GridEditorRecord* record = editorOfGrid(grid); record != nullptr) YYGridEditorFit(*record);
}

std::string editorFileName(HWND window) {
  const GridEditorRecord* record = YYGridEditorOf(window);
  return record != nullptr ? record->fileName : std::string();
}

void installHooks() {
  yyGridOfCurrentWindow = gridOfCurrentWindow;
  yyGridRowHooks.editorFit = fitEditorOfGrid;
  yyGridEditorFileName = editorFileName;
}

// -- Menus, accelerators, toolbar and status bar -----------------------------

void append(HMENU menu, int id, const char* text) { AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), text); }
void separator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

void buildPopups(GridEditorRecord& r) {
  const bool keys = r.accelerators() != nullptr;
  auto item = [keys](HMENU menu, int id, const char* withKey, const char* plain) {
    append(menu, id, keys ? withKey : plain);
  };
  r.file = CreatePopupMenu();
  if (r.offerNew) item(r.file, kCmdNew, "&New\tCtrl+N", "&New");
  if (r.offerOpen) item(r.file, kCmdOpen, "&Open\tCtrl+O", "&Open");
  if (r.offerSave) item(r.file, kCmdSave, "&Save\tCtrl+S", "&Save");
  if (r.offerSaveAs) item(r.file, kCmdSaveAs, "Save &As\tF12", "Save &As");
  if (r.offerSaveHtml) append(r.file, kCmdSaveHtml, "Save As &HTML");
  if (r.offerNew || r.offerOpen || r.offerSave || r.offerSaveAs || r.offerSaveHtml) separator(r.file);
  if (r.offerPrint) {
    item(r.file, kCmdPrint, "&Print\tCtrl+P", "&Print");
    append(r.file, kCmdPrintSelection, "Prin&t Selection");
    separator(r.file);
  }
  append(r.file, kCmdExit, "E&xit");

  r.edit = CreatePopupMenu();
  if (!r.readOnly) append(r.edit, kCmdCut, "Cu&t\tCtrl+X");
  append(r.edit, kCmdCopy, "&Copy\tCtrl+C");
  if (!r.readOnly) {
    append(r.edit, kCmdPaste, "&Paste\tCtrl+V");
    append(r.edit, kCmdDelete, "&Delete\tDel");
  }
  separator(r.edit);
  append(r.edit, kCmdSelectAll, "Select &All");
  if (!r.readOnly) {
    separator(r.edit);
    append(r.edit, kCmdSort, "&Sort");
  }
  if (r.offerRows) {
    append(r.edit, kCmdInsertBefore, "&Insert Row Before Current\tCtrl+I");
    append(r.edit, kCmdInsertAfter, "&Insert Row After Current\tCtrl+Shift+I");
    append(r.edit, kCmdDeleteRow, "D&elete Row\tCtrl+E");
  }

  r.search = CreatePopupMenu();
  if (r.offerFind) {
    item(r.search, kCmdFind, "&Find\tCtrl+F", "&Find");
    item(r.search, kCmdFindNext, "Find &Next\tF3", "Find &Next");
    separator(r.search);
  }
  append(r.search, kCmdGotoCell, "&Goto Cell");
  append(r.search, kCmdGotoRow, "Goto Ro&w");
  append(r.search, kCmdGotoColumn, "Goto &Column");
}

HACCEL buildAccelerators(const GridEditorRecord& r) {
  std::vector<ACCEL> keys;
  auto add = [&keys](bool offered, BYTE modifiers, WORD key, int command) {
    if (offered) keys.push_back({static_cast<BYTE>(FVIRTKEY | FNOINVERT | modifiers), key, static_cast<WORD>(command)});
  };
  add(r.offerNew, FCONTROL, 'N', kCmdNew);
  add(r.offerOpen, FCONTROL, 'O', kCmdOpen);
  add(r.offerSave, FCONTROL, 'S', kCmdSave);
  add(r.offerSaveAs, 0, VK_F12, kCmdSaveAs);
  add(r.offerPrint, FCONTROL, 'P', kCmdPrint);
  add(r.offerFind, FCONTROL, 'F', kCmdFind);
  add(r.offerFind, 0, VK_F3, kCmdFindNext);
  add(r.offerRows, FCONTROL, 'I', kCmdInsertBefore);
  add(r.offerRows, FCONTROL | FSHIFT, 'I', kCmdInsertAfter);
  add(r.offerRows, FCONTROL, 'E', kCmdDeleteRow);
  if (keys.empty()) return nullptr;
  return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

HWND buildToolbar(const GridEditorRecord& r, HWND window) {
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                             window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorToolbarId)),
                             GetModuleHandleA(nullptr), nullptr);
  if (bar == nullptr) return nullptr;
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15));
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(22, 21));
  TBADDBITMAP images{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageA(bar, TB_ADDBITMAP, 11, reinterpret_cast<LPARAM>(&images));
  std::vector<TBBUTTON> buttons;
  auto button = [&buttons](int image, int command) {
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = TBSTYLE_BUTTON;
    buttons.push_back(b);
  };
  auto gap = [&buttons]() {
    TBBUTTON b{};
    b.fsStyle = TBSTYLE_SEP;
    buttons.push_back(b);
  };
  if (r.offerNew) button(STD_FILENEW, kCmdNew);
  if (r.offerOpen) button(STD_FILEOPEN, kCmdOpen);
  if (r.offerSave) button(STD_FILESAVE, kCmdSave);
  if (r.offerNew || r.offerOpen || r.offerSave) gap();
  if (r.offerPrint) {
    button(STD_PRINT, kCmdPrint);
    gap();
  }
  if (r.offerFind) {
    button(STD_FIND, kCmdFind);
    gap();
  }
  if (!r.readOnly) button(STD_CUT, kCmdCut);
  button(STD_COPY, kCmdCopy);
  if (!r.readOnly) button(STD_PASTE, kCmdPaste);
  SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  return bar;
}

void statusText(HWND bar, int part, int style, const char* text) {
  SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part | style), reinterpret_cast<LPARAM>(text));
}

void showCell(const GridEditorRecord& r, int row, int column) {
  if (r.statusBar == nullptr) return;
  char text[32];
  wsprintfA(text, "\t\t%u", static_cast<unsigned>(row));
  statusText(r.statusBar, 1, 0, text);
  wsprintfA(text, "\t\t%u", static_cast<unsigned>(column));
  statusText(r.statusBar, 3, 0, text);
}

void setUpStatusBar(const GridEditorRecord& r) {
  if (r.statusBar == nullptr) return;
  const int edges[4] = {30, 90, 140, 200};
  SendMessageA(r.statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  statusText(r.statusBar, 0, SBT_NOBORDERS, "Row");
  statusText(r.statusBar, 2, SBT_NOBORDERS, "\tColumn");
  showCell(r, 1, 1);
}

// -- The grid window ----------------------------------------------------------

HFONT editorFont(HWND dialog) {
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (dialogFont == nullptr) dialogFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA font{};
  GetObjectA(dialogFont, sizeof font, &font);
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfEscapement = font.lfOrientation = 0;
  return CreateFontIndirectA(&font);
}

void insertHeadingItem(HWND heading, int index, int width, const std::string& text) {
  HDITEMA item{};
  item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
  item.cxy = width;
  item.pszText = const_cast<char*>(text.c_str());
  item.fmt = HDF_CENTER | HDF_STRING;
  SendMessageA(heading, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// The area between the bars, in the editor's client coordinates.
RECT barsFreeArea(const GridEditorRecord& r, HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  auto height = [](HWND w) {
    RECT box{};
    if (w != nullptr && IsWindowVisible(w)) GetWindowRect(w, &box);
    return static_cast<int>(box.bottom - box.top);
  };
  area.bottom -= height(r.statusBar);
  area.top += height(r.toolbar);
  area.top += height(r.windowBars[kToolbarTop]);
  area.bottom -= height(r.windowBars[kToolbarBottom]);
  if (HWND left = r.windowBars[kToolbarLeft]; left != nullptr) {
    area.left += static_cast<int>(GetWindowLongPtrA(left, GWLP_USERDATA));
  }
  if (HWND right = r.windowBars[kToolbarRight]; right != nullptr) {
    area.right -= static_cast<int>(GetWindowLongPtrA(right, GWLP_USERDATA));
  }
  if (area.bottom < area.top) area.bottom = area.top;
  if (area.right < area.left) area.right = area.left;
  return area;
}

// Copies the grid field's definition and data into the editor's grid and
// makes its client, cells, labels and heading like the field's.
bool copyGrid(GridRecord& to, GridRecord& from) {
  YYGridStoreCells(from);
  to.defined = from.defined;
  to.columns = from.columns;
  to.lastFirstColumn = from.lastFirstColumn;
  to.rowsAllocated = from.rowsAllocated;
  to.columnsDefined = from.columnsDefined;
  to.rows = from.rows;
  to.labelWidth = from.labelWidth;
  to.templateId = from.templateId;
  to.displayOnly = 0;
  to.currentColumn = 0;
  to.currentRow = 0;
  to.firstColumn = 0;
  to.firstRow = 0;
  try {
    to.columnList = from.columnList;
    to.labels = from.labels;
  } catch (const std::bad_alloc&) {
    return false;
  }
  YYGridClearBlock(to);
  RECT box{};
  GetClientRect(to.window, &box);
  const int clientHeight = box.bottom - to.headingHeight;
  to.client = CreateWindowExA(0, "QVRGRIDCLIENT", "", WS_CHILD | WS_VISIBLE, to.labelWidth, to.headingHeight,
                              box.right - to.labelWidth, clientHeight, to.window, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  if (to.client == nullptr) return false;
  to.visibleRows = std::max(1, (clientHeight - to.rowHeight) / std::max(to.rowHeight - 1, 1) + 1);
  to.cellRows = std::min(to.rows, to.visibleRows + 1);
  const int columns = std::min(to.columns, static_cast<int>(to.columnList.size()));
  to.cells.assign(static_cast<std::size_t>(std::max(columns, 0) * std::max(to.cellRows, 0)), nullptr);
  bool good = true;
  if ((to.style & kGridRowLabelStyle) != 0) {
    for (int p = 0; p < to.cellRows; ++p) to.labelControls.push_back(YYGridMakeLabelControl(to, p));
  }
  for (int c = 0; c < columns; ++c) {
    HWND model = from.cellRows > 0 ? from.cells[static_cast<std::size_t>(c * from.cellRows)] : nullptr;
    if (model == nullptr) {
      good = false;
      continue;
    }
    for (int p = 0; p < to.cellRows; ++p) {
      HWND cell = YYGridCopyCell(to, c, model, p);
      if (cell == nullptr) good = false;
      to.cells[static_cast<std::size_t>(c * to.cellRows + p)] = cell;
    }
  }
  if (to.heading != nullptr) {
    insertHeadingItem(to.heading, 0, to.labelWidth + 1, "");
    for (int c = 0; c < columns; ++c) {
      const GridColumn& column = to.columnList[static_cast<std::size_t>(c)];
      insertHeadingItem(to.heading, c + 1, column.width - 1, column.title);
    }
  }
  return good;
}

// -- Layout -------------------------------------------------------------------

void layOut(GridEditorRecord& r, HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (r.statusBar != nullptr) {
    SendMessageA(r.statusBar, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(r.statusBar, &bar);
    area.bottom -= bar.bottom - bar.top;
  }
  if (r.toolbar != nullptr) {
    SendMessageA(r.toolbar, TB_AUTOSIZE, 0, 0);
    RECT bar{};
    GetWindowRect(r.toolbar, &bar);
    area.top += bar.bottom - bar.top;
  }
  if (HWND top = r.windowBars[kToolbarTop]; top != nullptr) {
    RECT bar{};
    GetWindowRect(top, &bar);
    SetWindowPos(top, nullptr, 0, area.top, area.right, bar.bottom - bar.top, kFlags);
    area.top += bar.bottom - bar.top;
  }
  if (HWND bottom = r.windowBars[kToolbarBottom]; bottom != nullptr) {
    RECT bar{};
    GetWindowRect(bottom, &bar);
    area.bottom -= bar.bottom - bar.top;
    SetWindowPos(bottom, nullptr, 0, area.bottom, area.right, bar.bottom - bar.top, kFlags);
  }
  if (HWND left = r.windowBars[kToolbarLeft]; left != nullptr) {
    const int width = static_cast<int>(GetWindowLongPtrA(left, GWLP_USERDATA));
    SetWindowPos(left, nullptr, 0, area.top, width, area.bottom - area.top, kFlags);
    area.left += width;
  }
  if (HWND right = r.windowBars[kToolbarRight]; right != nullptr) {
    const int width = static_cast<int>(GetWindowLongPtrA(right, GWLP_USERDATA));
    SetWindowPos(right, nullptr, area.right - width, area.top, width, area.bottom - area.top, kFlags);
    area.right -= width;
  }
  const int width = std::max(0, static_cast<int>(area.right - area.left));
  const int height = std::max(0, static_cast<int>(area.bottom - area.top));
  if (r.grid != nullptr) {
    SetWindowPos(r.grid, nullptr, area.left, area.top, width, height, kFlags);
    if (GridRecord* grid = gridOf(r); grid != nullptr && grid->client != nullptr) {
      RECT client{};
      GetClientRect(grid->client, &client);
      YYGridClientResized(*grid, client.bottom);
    }
  }
  if (HWND client = slotOf(r.slot).client; client != nullptr) {
    SetWindowPos(client, nullptr, area.left, area.top, width, height, kFlags);
  }
}

// The size of a window rectangle once adjusted for a window's frame.
RECT adjusted(RECT box, HWND window, bool withMenu) {
  AdjustWindowRectEx(&box, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), withMenu ? TRUE : FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  return box;
}

int barHeight(HWND bar) {
  RECT box{};
  if (bar != nullptr) GetWindowRect(bar, &box);
  return box.bottom - box.top;
}

SIZE sizeFor(const GridEditorRecord& r, const GridRecord& grid, int cellsWidth, int cellsHeight) {
  RECT box{0, 0, cellsWidth, cellsHeight};
  box = adjusted(box, r.grid, false);
  box.right += grid.labelWidth;
  if (HWND left = r.windowBars[kToolbarLeft]; left != nullptr) {
    box.right += static_cast<LONG>(GetWindowLongPtrA(left, GWLP_USERDATA));
  }
  if (HWND right = r.windowBars[kToolbarRight]; right != nullptr) {
    box.right += static_cast<LONG>(GetWindowLongPtrA(right, GWLP_USERDATA));
  }
  box.bottom += grid.headingHeight + barHeight(r.statusBar) + barHeight(r.toolbar) +
                barHeight(r.windowBars[kToolbarTop]) + barHeight(r.windowBars[kToolbarBottom]);
  HWND window = GetParent(r.grid);
  box = adjusted(box, window, GetMenu(window) != nullptr);
  const LONG style = GetWindowLongA(r.grid, GWL_STYLE);
  if ((style & WS_VSCROLL) != 0) box.right += GetSystemMetrics(SM_CXVSCROLL);
  if ((style & WS_HSCROLL) != 0) box.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return {box.right - box.left, box.bottom - box.top};
}

// The desktop's usable size: the client of the first child of the bottom-most
// top-level window where there is one, else the work area.
SIZE desktopClientSize() {
  HWND bottom = GetWindow(GetTopWindow(nullptr), GW_HWNDLAST);
  HWND child = bottom != nullptr ? GetWindow(bottom, GW_CHILD) : nullptr;
  RECT box{};
  if (child != nullptr && GetClientRect(child, &box) && box.right > 0 && box.bottom > 0) {
    return {box.right, box.bottom};
  }
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &box, 0);
  return {box.right - box.left, box.bottom - box.top};
}

void onMinMaxInfo(const GridEditorRecord& r, MINMAXINFO& info) {
  const GridRecord* grid = gridOf(r);
  if (grid == nullptr) return;
  const SIZE whole = YYGridEditorWholeSize(r);
  const SIZE desktop = desktopClientSize();
  const int edgeX = 2 * GetSystemMetrics(SM_CXEDGE);
  const int edgeY = 2 * GetSystemMetrics(SM_CYEDGE);
  info.ptMaxSize.x = std::min<LONG>(info.ptMaxSize.x, whole.cx);
  info.ptMaxSize.y = std::min<LONG>(info.ptMaxSize.y, whole.cy);
  info.ptMaxSize.x = std::min<LONG>(info.ptMaxSize.x, desktop.cx + edgeX);
  info.ptMaxSize.y = std::min<LONG>(info.ptMaxSize.y, desktop.cy + edgeY);
  info.ptMaxTrackSize = info.ptMaxSize;
  int widest = 0;
  for (const GridColumn& column : grid->columnList) widest = std::max(widest, column.width);
  info.ptMinTrackSize = POINT{sizeFor(r, *grid, widest, grid->rowHeight).cx,
                              sizeFor(r, *grid, widest, grid->rowHeight).cy};
}

// -- Messages -----------------------------------------------------------------

bool blockSelected(const GridRecord& grid) { return grid.blockFirstRow >= 0; }

bool anyReadOnly(const GridRecord& grid, int fromRow, int toRow) {
  for (const GridColumn& column : grid.columnList) {
    for (int row = std::max(fromRow, 0); row <= toRow && row < static_cast<int>(column.flags.size()); ++row) {
      if ((column.flags[static_cast<std::size_t>(row)] & kRowReadOnly) != 0) return true;
    }
  }
  return false;
}

bool editHasSelection(HWND edit) {
  if (edit == nullptr) return false;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end > start;
}

void enable(HMENU menu, int id, bool on) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void onInitMenuPopup(GridEditorRecord& r, HMENU popup) {
  GridRecord* grid = gridOf(r);
  if (grid == nullptr) return;
  YYGridStoreCells(*grid);
  const bool gridReadOnly = (grid->style & kGridReadOnlyStyle) != 0 || r.readOnly != 0;
  if (popup == r.file) {
    enable(popup, kCmdPrintSelection, blockSelected(*grid));
  } else if (popup == r.edit) {
    HWND edit = YYGridEditorCellEdit(*grid);
    const bool cellWritable =
        edit != nullptr && !gridReadOnly && (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) == 0;
    const bool block = blockSelected(*grid);
    const bool cutDelete = block ? YYGridBlockWritable(*grid) : (cellWritable && editHasSelection(edit));
    enable(popup, kCmdCut, cutDelete);
    enable(popup, kCmdDelete, cutDelete);
    enable(popup, kCmdCopy, block || editHasSelection(edit));
    const int kind = YYGridClipboardKind();
    bool paste = false;
    if (kind == kClipboardTabular) {
      int rows = 0;
      int columns = 0;
      YYGridClipboardSize(rows, columns);
      paste = YYGridPasteAllowed(*grid, rows, columns);
    } else if (kind == kClipboardPlain) {
      paste = cellWritable;
    }
    enable(popup, kCmdPaste, paste);
    const bool cellsReadOnly = r.ignoreCellReadOnly == 0 && anyReadOnly(*grid, 0, grid->rows - 1);
    enable(popup, kCmdSort, !gridReadOnly && !cellsReadOnly);
    const int row = grid->currentRow;
    const bool lastRow = row == grid->rows - 1;
    const bool after = !gridReadOnly && !anyReadOnly(*grid, row + 1, grid->rows - 1) &&
                       row < grid->rowsAllocated - 1 && !(lastRow && r.rowCount == 0);
    enable(popup, kCmdInsertAfter, after);
    const bool beforeOrDelete = !gridReadOnly && !anyReadOnly(*grid, row, grid->rows - 1);
    enable(popup, kCmdInsertBefore, beforeOrDelete);
    enable(popup, kCmdDeleteRow, beforeOrDelete);
  } else if (popup == r.search) {
    enable(popup, kCmdFindNext, !r.findText.empty());
  }
}

void onMenuSelect(GridEditorRecord& r, HWND window, WPARAM wParam, LPARAM lParam) {
  const UINT item = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  const HMENU menu = reinterpret_cast<HMENU>(lParam);
  const char* text = nullptr;
  if ((flags & MF_POPUP) != 0 && menu == r.menuBar) {
    const HMENU popup = GetSubMenu(menu, static_cast<int>(item));
    if (popup == r.file) text = kFileHelp;
    if (popup == r.edit) text = kEditHelp;
    if (popup == r.search) text = kSearchHelp;
  } else if ((flags & (MF_POPUP | MF_SYSMENU)) == 0) {
    for (const HelpText& help : kItemHelp) {
      if (help.id == static_cast<int>(item)) text = help.text;
    }
  }
  if (text == nullptr) {
    YYFrameWindowProc(window, WM_MENUSELECT, wParam, lParam);
    return;
  }
  if (r.statusBar != nullptr) {
    SendMessageA(r.statusBar, SB_SETTEXTA, kSimpleStatusPart | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
  }
}

void postMenuEvent(HWND window, int id) { YYEventPost(kEventMenu, 0, static_cast<WPARAM>(id), 0, window); }

// The grid's cell change, as a field-changed event of the editor's window.
void postCellEvent(const GridEditorRecord& r, HWND window, std::uint32_t cell) {
  if (eventEnableTable[kEventFieldChanged - 1] == 0) return;
  EventWords& e = eventState.current;
  e = EventWords{kEventFieldChanged, YYWindowSlotOf(window), kEditorGridId, kEditorGridId, 0, -1,
                 static_cast<int>(r.lastCell), static_cast<int>(cell), static_cast<int>(GetMessageTime())};
  eventState.waitState = kReady;
  eventState.returned = false;
}

void markUnsaved(GridRecord& grid) {
  grid.unsaved = 1;
  grid.changed = 1;
}

void resetAfterFile(GridEditorRecord& r, HWND window) {
  if (GridRecord* grid = gridOf(r); grid != nullptr) {
    grid->unsaved = 0;
    grid->changed = 0;
  }
  YYGridEditorTitle(window);
}

// Asks to save when Save is offered; true to go on.
bool savePrompt(GridEditorRecord& r) {
  if (!r.offerSave) return true;
  const GridRecord* grid = gridOf(r);
  int proceed = 1;
  YYGEDSAVEPROMPT(r.slot, grid != nullptr ? grid->unsaved : 0, proceed, r.filterIndex, r.backup, r.fileName,
                  r.filterText);
  return proceed == 1;
}

void onCommand(GridEditorRecord& r, HWND window, int id) {
  GridRecord* grid = gridOf(r);
  if (grid == nullptr) return;
  HWND edit = YYGridEditorCellEdit(*grid);
  const bool block = blockSelected(*grid);
  switch (id) {
    case kCmdNew:
      if (!r.offerNew || !savePrompt(r)) return;
      YYGridResetCells(r.grid, 2);
      r.fileName.clear();
      resetAfterFile(r, window);
      postMenuEvent(window, id);
      return;
    case kCmdOpen: {
      if (!r.offerOpen || !savePrompt(r)) return;
      int success = 0;
      YYGEDLOADCSV(r.slot, 1, r.rowCount, success, r.filterIndex, r.fileName, r.filterText);
      if (success != 1) return;
      r.fileName = cut(r.fileName, kFileNameLimit);
      resetAfterFile(r, window);
      postMenuEvent(window, id);
      return;
    }
    case kCmdSave:
    case kCmdSaveAs: {
      if (!(id == kCmdSave ? r.offerSave : r.offerSaveAs)) return;
      int success = 0;
      YYGEDSAVECSV(r.slot, id == kCmdSaveAs ? 1 : 0, success, r.filterIndex, r.backup, r.fileName, r.filterText);
      if (success != 1) return;
      r.fileName = cut(r.fileName, kFileNameLimit);
      grid->unsaved = 0;
      YYGridEditorTitle(window);
      postMenuEvent(window, id);
      return;
    }
    case kCmdPrint:
    case kCmdPrintSelection: {
      if (!r.offerPrint) return;
      int printed = 0;
      if (id == kCmdPrint) {
        YYGEDPRINT(r.slot, 0, grid->rows - 1, 0, grid->columns - 1, printed);
      } else if (block) {
        YYGEDPRINT(r.slot, grid->blockFirstRow, grid->blockLastRow, grid->blockFirstColumn, grid->blockLastColumn,
                   printed);
      }
      if (printed == 1) postMenuEvent(window, id);
      return;
    }
    case kCmdExit:
      SendMessageA(window, WM_CLOSE, 0, 0);
      return;
    case kCmdSaveHtml: {
      if (!r.offerSaveHtml) return;
      int success = 0;
      YYGEDSAVEHTML(r.slot, grid->blockFirstRow, grid->blockLastRow, grid->blockFirstColumn, grid->blockLastColumn,
                    success, r.backup, r.fileName);
      if (success == 1) postMenuEvent(window, id);
      return;
    }
    case kCmdCut:
      if (!block) {
        if (edit != nullptr) SendMessageA(edit, WM_CUT, 0, 0);
      } else if (YYGridCopyBlock(*grid)) {
        YYGridDeleteBlock(*grid);
      }
      return;
    case kCmdCopy:
      if (!block) {
        if (edit != nullptr) SendMessageA(edit, WM_COPY, 0, 0);
      } else {
        YYGridCopyBlock(*grid);
      }
      return;
    case kCmdPaste: {
      const int kind = YYGridClipboardKind();
      if (kind == kClipboardPlain && edit != nullptr) SendMessageA(edit, WM_PASTE, 0, 0);
      if (kind == kClipboardTabular) YYGridPasteBlock(*grid);
      return;
    }
    case kCmdDelete:
      if (!block) {
        if (edit != nullptr) SendMessageA(edit, WM_CLEAR, 0, 0);
      } else {
        YYGridDeleteBlock(*grid);
      }
      return;
    case kCmdSelectAll:
      YYGridSelectBlock(*grid, 0, grid->rows - 1, 0, grid->columns - 1);
      return;
    case kCmdSort: {
      int done = 0;
      YYGEDSORT(r.slot, r.rowLabels, done);
      if (done == 1) postMenuEvent(window, id);
      return;
    }
    case kCmdInsertBefore:
    case kCmdInsertAfter:
      if (!r.offerRows) return;
      YYGEDINSERT(r.slot, r.rowLabels, r.rowCount, id == kCmdInsertAfter ? 1 : 0);
      postMenuEvent(window, id);
      if (GridRecord* g = gridOf(r); g != nullptr) markUnsaved(*g);
      return;
    case kCmdDeleteRow:
      if (!r.offerRows) return;
      YYGEDDELETE(r.slot, r.rowLabels, r.rowCount);
      postMenuEvent(window, id);
      if (GridRecord* g = gridOf(r); g != nullptr) markUnsaved(*g);
      return;
    case kCmdFind:
    case kCmdFindNext:
      if (!r.offerFind) return;
      YYGEDFIND(r.slot, id == kCmdFind ? 1 : 2, r.matchCase, r.numericColumns, r.findText);
      r.findText = cut(r.findText, kEditorTextLength - 1);
      return;
    case kCmdGotoCell:
      YYGEDGOTO(r.slot, 1);
      return;
    case kCmdGotoRow:
      YYGEDGOTO(r.slot, 2);
      return;
    case kCmdGotoColumn:
      YYGEDGOTO(r.slot, 3);
      return;
    default:
      postMenuEvent(window, id);
      return;
  }
}

// A numeric cell's buddy was clicked: the editor moves the value itself.
bool onSpin(GridEditorRecord& r, NMUPDOWN& change) {
  GridRecord* grid = gridOf(r);
  if (grid == nullptr) return false;
  HWND buddy = change.hdr.hwndFrom;
  for (std::size_t i = 0; i < grid->cells.size(); ++i) {
    HWND cell = grid->cells[i];
    FieldRecord* field = fieldRecordOf(cell);
    if (field == nullptr || field->arrowControl != buddy) continue;
    const int column = static_cast<int>(i) / std::max(grid->cellRows, 1);
    const GridColumnType type = grid->columnList[static_cast<std::size_t>(column)].type;
    if (type != kGridInteger && type != kGridReal && type != kGridDouble) return false;
    double value = field->value;
    if (SendMessageA(cell, EM_GETMODIFY, 0, 0) != 0) {
      char text[64] = {};
      GetWindowTextA(cell, text, sizeof text);
      int ok = 0;
      value = 0.0;
      if (!text::isBlank(text)) YYTEXTTOINTOK(value, ok, text);
    }
    value = YYGridSpinValue(value, change.iDelta, field->smallStep, field->largeStep, field->minimum, field->maximum,
                            type == kGridInteger);
    std::string shown;
    if (type == kGridInteger) {
      shown = YYGridFormattedValue(value, type, "");
    } else {
      shown = YYGridFormattedValue(value, type, field->format ? *field->format : std::string());
    }
    SetWindowTextA(cell, shown.c_str());
    SendMessageA(cell, EM_SETMODIFY, FALSE, 0);
    field->value = value;
    field->valuePresent = 1;
    change.iDelta = 0;
    return true;
  }
  return false;
}

LRESULT onNotify(GridEditorRecord& r, HWND window, WPARAM wParam, LPARAM lParam) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code == TTN_GETDISPINFOA) {
    auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    tip->szText[0] = '\0';
    tip->lpszText = tip->szText;
    tip->hinst = nullptr;
    for (const ToolTip& entry : kToolTips) {
      if (entry.id == static_cast<int>(header->idFrom)) lstrcpynA(tip->szText, entry.text, sizeof tip->szText);
    }
    return 0;
  }
  if (header->code == UDN_DELTAPOS) {
    if (onSpin(r, *reinterpret_cast<NMUPDOWN*>(lParam))) return 0;
  }
  return YYFrameWindowProc(window, WM_NOTIFY, wParam, lParam);
}

void onClose(GridEditorRecord& r, HWND window) {
  if (!savePrompt(r)) return;
  if (r.mode != kShowModal) {
    YYEventPost(kEventClose, 0, 0, 0, window);
    return;
  }
  r.ended = 1;
  if (const GridRecord* grid = gridOf(r); grid != nullptr) {
    yyGridEditorClosed.unsaved = grid->unsaved;
    yyGridEditorClosed.changed = grid->changed;
  }
  yyGridEditorClosed.findText = r.findText;
  yyGridEditorClosed.secondText = r.secondText;
  yyGridEditorClosed.fileName = r.fileName;
  DestroyWindow(window);
}

void clearSlotsInside(HWND window) {
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    WindowSlot& s = slotOf(slot);
    if (s.frame != nullptr && (s.frame == window || IsChild(window, s.frame))) s = WindowSlot{};
  }
}

void onDestroy(GridEditorRecord* r, HWND window) {
  if (r->mode == kShowSemiModeless) {
    dialogTable.semiModalCount = std::max(0, dialogTable.semiModalCount - 1);
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr) owner = slotOf(0).frame;
    YYDialogsEnable(window, 1);
    if (owner != nullptr) SetActiveWindow(owner);
  }
  for (HACCEL& table : r->header.accelerators) {
    if (table != nullptr) DestroyAcceleratorTable(table);
    table = nullptr;
  }
  if (r->menuBar != nullptr) YYMenuItemDataFree(r->menuBar, r->slot);
  if (r->ownsFont && r->font != nullptr) {
    DeleteObject(r->font);
    r->font = nullptr;
  }
  if (r->mode == kShowModal) {
    if (r->slot == windowTable.currentIndex) YYDrawDcRelease();
    clearSlotsInside(window);
  } else {
    delete r;
  }
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void onSize(GridEditorRecord& r, HWND window, WPARAM kind) {
  if (r.dragging) {
    r.sizePending = true;
    r.pendingSizeKind = kind;
    return;
  }
  const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
  WindowSlot& s = slotOf(r.slot);
  if (child) {
    if (kind == SIZE_MAXIMIZED && s.savedNormal.left == kPlacementUnsaved) {
      GetWindowRect(window, &s.savedNormal);
      MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&s.savedNormal), 2);
    } else if (kind == SIZE_RESTORED && s.savedNormal.left != kPlacementUnsaved) {
      const RECT box = s.savedNormal;
      s.savedNormal.left = kPlacementUnsaved;
      SetWindowPos(window, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top, SWP_NOZORDER);
      ShowWindow(window, SW_SHOWNORMAL);
    } else if (kind == SIZE_MINIMIZED) {
      SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
      if (HWND outer = GetParent(GetParent(window)); outer != nullptr) SendMessageA(outer, WM_NCACTIVATE, TRUE, 0);
    }
  }
  if (kind != SIZE_MINIMIZED) layOut(r, window);
}

}  // namespace

int YYGridEditorStatusError(int status) {
  switch (status) {
    case kEditorDone:
    case kEditorMenuNotLoaded:
      return 0;
    case kEditorMenuInsideParent:
      return 1051;
    case kEditorModeChanged:
    case kEditorUserMenuModal:
      return 1052;
    default:
      return 1053;
  }
}

GridEditorRecord* YYGridEditorOf(HWND window) {
  if (window == nullptr || windowRecordKindOf(window) != kRecordGridEditor) return nullptr;
  return reinterpret_cast<GridEditorRecord*>(windowRecordOf(window));
}

void YYGridOption(int& grid, int code, int& value) {
  constexpr int kClosedEditor = -2;
  if (grid == kClosedEditor) {
    if (code == 6) value = 1 - yyGridEditorClosed.unsaved;
    if (code == 7) value = yyGridEditorClosed.changed;
    return;
  }
  const GridRecord* record = YYGridOfIdentifier(grid);
  if (record == nullptr) {
    grid = kGridNoGrid;
    return;
  }
  YYGridOption(*record, code, value);
}

void YYGridEditorText(int identifier, int which, std::string& text, int maximum) {
  constexpr int kClosedEditor = -1;
  const std::string* source = nullptr;
  if (identifier == kClosedEditor) {
    const GridEditorClosed& c = yyGridEditorClosed;
    source = which == 1 ? &c.findText : which == 2 ? &c.secondText : which == 3 ? &c.fileName : nullptr;
  } else if (const GridEditorRecord* r = YYGridEditorOfSlot(identifier); r != nullptr) {
    source = which == 1 ? &r->findText : which == 2 ? &r->secondText : which == 3 ? &r->fileName : nullptr;
  }
  if (source == nullptr) return;
  text = source->substr(0, static_cast<std::size_t>(std::max(maximum, 0)));
}

GridEditorRecord* YYGridEditorOfSlot(int slot) {
  if (slot < 0 || slot > kMaxWindowSlot) return nullptr;
  return YYGridEditorOf(slotOf(slot).frame);
}

std::string YYGridEditorTitleText(std::string_view base, std::string_view fileName) {
  std::string title = cut(base, kTitleLimit);
  const std::string name = cut(fileName, kFileNameLimit);
  if (!name.empty()) title += " - [" + name + "]";
  if (title.size() > static_cast<std::size_t>(kTitleLimit)) title.resize(static_cast<std::size_t>(kTitleLimit));
  return title;
}

void YYGridEditorTitle(HWND window) {
  const GridEditorRecord* r = YYGridEditorOf(window);
  if (r == nullptr) return;
  SetWindowTextA(window, YYGridEditorTitleText(r->baseTitle, r->fileName).c_str());
}

SIZE YYGridEditorWholeSize(const GridEditorRecord& r) {
  const GridRecord* grid = gridOf(r);
  if (grid == nullptr) return {0, 0};
  long long sum = 0;
  for (int c = 0; c < grid->columns && c < static_cast<int>(grid->columnList.size()); ++c) {
    sum += grid->columnList[static_cast<std::size_t>(c)].width - 1;
  }
  const int width = 1 + static_cast<int>(sum > 9999 ? 10000 : sum);
  const long long height = static_cast<long long>(grid->rows) * (grid->rowHeight - 1) + 1;
  return sizeFor(r, *grid, width, static_cast<int>(std::min<long long>(height, 10000)));
}

void YYGridEditorFit(GridEditorRecord& r) {
  HWND window = r.grid != nullptr ? GetParent(r.grid) : nullptr;
  if (window == nullptr) return;
  const SIZE whole = YYGridEditorWholeSize(r);
  RECT box{};
  GetWindowRect(window, &box);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (width <= whole.cx && height <= whole.cy) return;
  SetWindowPos(window, nullptr, 0, 0, std::min<int>(width, whole.cx), std::min<int>(height, whole.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND YYGridEditorCellEdit(const GridRecord& grid) {
  if (!YYGridColumnExists(grid, grid.currentColumn)) return nullptr;
  const GridColumnType type = grid.columnList[static_cast<std::size_t>(grid.currentColumn)].type;
  if (type == kGridCheckBox || type == kGridMenu) return nullptr;
  return YYGridCellWindow(grid, grid.currentColumn, grid.currentRow);
}

double YYGridSpinValue(double value, int delta, double smallStep, double largeStep, double minimum, double maximum,
                       bool integer) {
  double step = 0.0;
  if (delta == 1 || delta == -1) step = smallStep;
  if (delta == 5 || delta == -5) step = largeStep;
  value += delta < 0 ? -step : step;
  bool clamped = false;
  if (minimum <= maximum) {
    if (value < minimum) {
      value = minimum;
      clamped = true;
    } else if (value > maximum) {
      value = maximum;
      clamped = true;
    }
  }
  if (integer && !clamped) {
    const long long whole = static_cast<long long>(value);
    const long long by = static_cast<long long>(step);
    // A step without a whole part has no multiple to cut to.
    value = by != 0 ? static_cast<double>(whole / by * by) : static_cast<double>(whole);
  }
  return value;
}

void YYGridEditorCreate(int& status, int gridField, int& mode, int menuNumber, int flags, int filterIndex,
                        std::string_view initialFileName, std::string_view filterText) {
  status = kEditorDone;
  const int slot = windowTable.currentIndex;
  if (slot <= 0 || !slotHasFrame(slot)) {
    status = kEditorRootWindow;
    return;
  }
  WindowSlot& s = slotOf(slot);
  HWND window = s.frame;
  if (windowRecordKindOf(window) == kRecordGridEditor) {
    status = kEditorConverted;
    return;
  }
  if (s.client != nullptr && GetWindow(s.client, GW_CHILD) != nullptr) {
    status = kEditorClientHasChildren;
    return;
  }
  const bool inside = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
  int warning = kEditorDone;
  if (inside && mode != kShowModeless) {
    if (mode == kShowModal) YYDialogsEnable(window, 1);
    mode = kShowModeless;
    warning = kEditorModeChanged;
  } else if (inside && menuNumber != 0) {
    warning = kEditorMenuInsideParent;
  }
  HWND dialog = currentDialogWindow();
  HWND field = dialog != nullptr ? GetDlgItem(dialog, gridField) : nullptr;
  GridRecord* source = field != nullptr && GetClassWord(field, GCW_ATOM) == yyGridClasses.gridAtom
                           ? gridRecordOf(field)
                           : nullptr;
  if (source == nullptr) {
    status = kEditorNoGridField;
    return;
  }
  auto* r = new (std::nothrow) GridEditorRecord;
  if (r == nullptr) {
    status = kEditorNoMemory;
    return;
  }
  installHooks();
  status = warning;
  r->header.kind = kRecordGridEditor;
  r->slot = slot;
  r->mode = mode;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));

  r->readOnly = (GetWindowLongA(field, GWL_STYLE) & kGridReadOnlyStyle) != 0 ? 1 : 0;
  const bool writable = r->readOnly == 0;
  r->offerNew = (flags & kEditorNoNewOpen) == 0 && writable;
  r->offerOpen = (flags & kEditorNoNewOpen) == 0;
  r->offerSave = (flags & kEditorNoSave) == 0 && writable;
  r->offerSaveAs = r->offerSave && (flags & kEditorNoSaveAs) == 0;
  r->offerSaveHtml = r->offerSave && (flags & kEditorNoSaveHtml) == 0;
  r->offerPrint = (flags & kEditorNoPrint) == 0;
  r->offerFind = (flags & kEditorNoFind) == 0;
  r->offerRows = (flags & kEditorNoRows) == 0 && writable;
  r->rowLabels = (flags & kEditorRowLabels) != 0 ? 1 : 0;
  r->backup = (flags & kEditorBackup) != 0 ? 1 : 0;
  r->ignoreCellReadOnly = (flags & kEditorIgnoreCellReadOnly) != 0 ? 1 : 0;
  r->rowCount = (flags & kEditorRowCount) != 0 ? 1 : 0;
  r->filterText = cut(filterText, kFilterLimit);
  r->filterIndex = filterIndex == -1 ? 1 : filterIndex;

  r->accelerators() = buildAccelerators(*r);
  if (s.client != nullptr) ShowWindow(s.client, SW_HIDE);

  if (!inside) {
    buildPopups(*r);
    HMENU bar = nullptr;
    if (menuNumber != 0 && mode != kShowModal) {
      bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuNumber));
      if (bar != nullptr) {
        YYMenuIdsApply(bar, menuNumber);
      } else {
        status = kEditorMenuNotLoaded;
      }
    } else if (menuNumber != 0) {
      status = kEditorUserMenuModal;
    }
    if (bar == nullptr) bar = CreateMenu();
    InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r->file), "&File");
    InsertMenuA(bar, 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r->edit), "&Edit");
    InsertMenuA(bar, 2, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(r->search), "&Search");
    HMENU previous = GetMenu(window);
    SetMenu(window, bar);
    if (previous != nullptr) {
      YYMenuItemDataFree(previous, slot);
      DestroyMenu(previous);
    }
    r->menuBar = bar;
    s.menu = bar;
    s.accelerators = nullptr;
    s.menuHelp = nullptr;
    s.menuHelpSize = 0;
    s.itemHelpCount = 0;
  }

  if (mode == kShowModal) {
    for (HWND& bar : s.toolbars) {
      if (bar != nullptr) DestroyWindow(bar);
      bar = nullptr;
    }
  } else {
    r->windowBars = s.toolbars;
  }
  if (menuNumber != 0) {
    r->userAccelerators() = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuNumber));
    HACCEL kept = s.accelerators;
    YYMenuResourcesLoad(slot, menuNumber);
    if (s.accelerators != nullptr && s.accelerators != r->userAccelerators()) DestroyAcceleratorTable(s.accelerators);
    s.accelerators = kept;
  }
  if ((flags & kEditorNoToolbar) == 0) {
    r->toolbar = buildToolbar(*r, window);
    if (r->toolbar != nullptr) r->tooltips = reinterpret_cast<HWND>(SendMessageA(r->toolbar, TB_GETTOOLTIPS, 0, 0));
  }
  r->statusBar = s.statusBar;
  setUpStatusBar(*r);

  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YYGridEditorWndProc));
  r->font = editorFont(dialog);
  r->ownsFont = r->font != nullptr;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(r->font), FALSE);

  const RECT area = barsFreeArea(*r, window);
  const LONG style = (GetWindowLongA(field, GWL_STYLE) | WS_CHILD | WS_VISIBLE | kGridKeepHeightStyle | 0x1000 |
                      0x4000) &
                     ~WS_DISABLED;
  r->grid = CreateWindowExA(WS_EX_CLIENTEDGE, "QVRGRID", "", static_cast<DWORD>(style), area.left, area.top,
                            area.right - area.left, area.bottom - area.top, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorGridId)), GetModuleHandleA(nullptr),
                            nullptr);
  GridRecord* grid = r->grid != nullptr ? gridRecordOf(r->grid) : nullptr;
  if (grid != nullptr) {
    SendMessageA(r->grid, WM_SETFONT, reinterpret_cast<WPARAM>(r->font), FALSE);
    if (const FieldRecord* from = fieldRecordOf(field); from != nullptr) {
      auto copy = std::make_unique<FieldRecord>(*from);
      copy->arrowControl = nullptr;
      copy->previousProcedure = nullptr;
      attachFieldRecord(r->grid, std::move(copy));
    }
    copyGrid(*grid, *source);
    SendMessageA(r->grid, GM_LAYOUT, 0, 0);
    layOut(*r, window);
    YYGridEditorFit(*r);
    YYGridLoadCells(*grid);
  }

  char title[kEditorTextLength] = {};
  GetWindowTextA(window, title, sizeof title);
  r->baseTitle = cut(title, kTitleLimit);
  r->fileName.clear();
  if (grid != nullptr && !cut(initialFileName, kFileNameLimit).empty()) {
    std::string name = cut(initialFileName, kFileNameLimit);
    int success = 0;
    int index = r->filterIndex;
    YYGEDLOADCSV(slot, 0, r->rowCount, success, index, name, "");
    if (success == 1) {
      r->fileName = cut(name, kFileNameLimit);
      YYGridEditorTitle(window);
    }
  }

  if (r->grid != nullptr) SetFocus(r->grid);
  if (mode == kShowSemiModeless) ++dialogTable.semiModalCount;
  if (!IsWindowEnabled(window)) {
    EnableWindow(window, TRUE);
    if (r->grid != nullptr) SetFocus(r->grid);
  }
  ShowWindow(window, SW_SHOW);
  if (mode != kShowModeless) YYDialogsDisable(window, 1);
}

void YYGridEditorModalLoop() {
  GridEditorRecord* r = YYGridEditorOfSlot(windowTable.currentIndex);
  if (r == nullptr) return;
  if (GridRecord* grid = gridOf(*r); grid != nullptr) {
    grid->unsaved = 0;
    grid->changed = 0;
  }
  if (r->mode != kShowModal) return;
  HWND window = slotOf(r->slot).frame;
  while (r->ended == 0) {
    MSG msg{};
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    HACCEL keys = r->ended == 0 ? r->accelerators() : nullptr;
    if (keys != nullptr && IsWindow(window) && TranslateAcceleratorA(window, keys, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // A loop that ended without the window closing (the program quits) takes
  // the window down first: it must not keep pointing to a freed record.
  if (IsWindow(window) && YYGridEditorOf(window) == r) DestroyWindow(window);
  delete r;
  HWND owner = windowTable.ownerWindow != nullptr ? windowTable.ownerWindow : slotOf(0).frame;
  YYDialogsEnable(nullptr, 1);
  if (owner != nullptr) {
    SetActiveWindow(owner);
    SetFocus(owner);
  }
}

LRESULT CALLBACK YYGridEditorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  GridEditorRecord* r = YYGridEditorOf(window);
  if (r == nullptr) return YYFrameWindowProc(window, message, wParam, lParam);
  if (message == yyGridClasses.cellChangeMessage && yyGridClasses.cellChangeMessage != 0) {
    if (r->mode == kShowModal) return 0;
    const auto cell = static_cast<std::uint32_t>(lParam);
    showCell(*r, YYGridCellChangeRow(cell) + 1, YYGridCellChangeColumn(cell) + 1);
    postCellEvent(*r, window, cell);
    r->lastCell = cell;
    return 0;
  }
  switch (message) {
    case WM_MOUSEACTIVATE:
    case WM_PARENTNOTIFY: {
      if (message == WM_PARENTNOTIFY && LOWORD(wParam) != WM_LBUTTONDOWN && LOWORD(wParam) != WM_RBUTTONDOWN &&
          LOWORD(wParam) != WM_MBUTTONDOWN) {
        break;
      }
      if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        HWND focus = GetFocus();
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (focus == nullptr || (focus != window && !IsChild(window, focus))) SetFocus(window);
      }
      YYWindowFocus(window);
      return message == WM_MOUSEACTIVATE ? MA_ACTIVATE : 0;
    }
    case WM_ERASEBKGND:
      return r->dragging ? DefWindowProcA(window, message, wParam, lParam) : 1;
    case WM_ENTERSIZEMOVE:
      r->dragging = true;
      return 0;
    case WM_EXITSIZEMOVE:
      r->dragging = false;
      if (r->sizePending) {
        r->sizePending = false;
        onSize(*r, window, r->pendingSizeKind);
      }
      return YYFrameWindowProc(window, message, wParam, lParam);
    case WM_SETFONT:
      r->font = reinterpret_cast<HFONT>(wParam);
      return YYFrameWindowProc(window, message, wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(r->font);
    case WM_GETMINMAXINFO:
      onMinMaxInfo(*r, *reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_ENTERMENULOOP:
      if (r->statusBar != nullptr) {
        SendMessageA(r->statusBar, SB_SIMPLE, TRUE, 0);
        SendMessageA(r->statusBar, SB_SETTEXTA, kSimpleStatusPart | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
      }
      return 0;
    case WM_EXITMENULOOP:
      if (r->statusBar != nullptr) SendMessageA(r->statusBar, SB_SIMPLE, FALSE, 0);
      return 0;
    case WM_MENUSELECT:
      onMenuSelect(*r, window, wParam, lParam);
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) == 0) onInitMenuPopup(*r, reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == r->toolbar) {
        onCommand(*r, window, LOWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY:
      return onNotify(*r, window, wParam, lParam);
    case WM_CLOSE:
      onClose(*r, window);
      return 0;
    case WM_SETFOCUS:
      if (r->grid != nullptr) SetFocus(r->grid);
      windowTable.ownerWindow = window;
      return 0;
    case WM_SIZE:
      onSize(*r, window, wParam);
      return 0;
    case WM_DESTROY:
      onDestroy(r, window);
      return 0;
    default:
      break;
  }
  return YYFrameWindowProc(window, message, wParam, lParam);
}
