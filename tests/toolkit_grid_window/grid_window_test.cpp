// Grids in a shown dialog, used through the keyboard, the mouse and the
// clipboard as a person uses them.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "support/ui_driver.h"
#include "toolkit/core/events.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_client.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_redefine.h"
#include "toolkit/grid/grid_register.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"
#include "toolkit_dialogs/dialog_fixture.h"

namespace {

constexpr int kDialog = 310;
constexpr int kTallGrid = 110;   // text, integer, real, check box, menu; 200000 rows; wider than its window
constexpr int kSmallGrid = 111;  // three texts, check box, menu North/South/East; 3 rows; all columns fit
constexpr int kEdit = 112;
constexpr int kLabelGrid = 113;  // row labels; two texts, 4 rows
constexpr int kReadOnlyGrid = 114;  // the small grid's columns, read-only, 2 rows
constexpr int kEmptyGrid = 115;     // the small grid's columns, no rows

// What the dialog heard: cell changes and commands.
std::vector<LPARAM> cellChanges;
std::vector<int> commands;
WNDPROC dialogProcedure = nullptr;

LRESULT CALLBACK listening(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == yyGridClasses.cellChangeMessage) cellChanges.push_back(lParam);
  if (message == WM_COMMAND && lParam != 0) commands.push_back(LOWORD(wParam));
  return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

std::string clipboardText() {
  std::string text;
  if (OpenClipboard(nullptr) == 0) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void putClipboard(const std::string& text) {
  ASSERT_NE(OpenClipboard(nullptr), 0);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

class GridWindow : public dialog_test::RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kDialog);
    ASSERT_NE(dialog_test::currentDialog(), nullptr);
    WDialogShow(-1, -1, 0, kShowModeless);
    dialog_ = dialog_test::currentDialog();
    ui::bringToForeground(dialog_);
    dialogProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listening)));
    ui::pumpMessages(50);
    cellChanges.clear();
    commands.clear();
  }
  void TearDown() override {
    SetWindowLongPtrA(dialog_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogProcedure));
    WDialogUnload();
    RootWindow::TearDown();
  }

  static GridRecord& grid(int id) { return *gridRecordOf(dialog_test::item(id)); }
  static HWND cell(int id, int column, int row) { return YYGridCellWindow(grid(id), column, row); }
  static std::string cellText(int id, int column, int row) { return ui::textOf(cell(id, column, row)); }
  static void click(HWND window) {
    RECT box{};
    GetClientRect(window, &box);
    ui::clickAt(window, 4, box.bottom / 2);
    ui::pumpMessages(60);
  }
  static void key(WORD virtualKey, unsigned modifiers = 0) {
    ui::pressKey(virtualKey, modifiers);
    ui::pumpMessages(60);
  }
  static void shiftClick(HWND window, int x, int y) {
    keybd_event(VK_SHIFT, 0, 0, 0);
    ui::pumpMessages(20);
    ui::clickAt(window, x, y);
    ui::pumpMessages(40);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    ui::pumpMessages(60);
  }
  // The middle of a heading item: column c is item c + 1.
  static POINT headingItem(int id, int item) {
    RECT box{};
    SendMessageA(grid(id).heading, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&box));
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  }
  static void put(int id, int column, int row, std::string_view text) {
    ASSERT_EQ(YYGridCellStore(grid(id), column, row, 0.0, text, ""), kGridDone);
  }
  static void expectBlock(const GridRecord& g, int firstRow, int lastRow, int firstColumn, int lastColumn) {
    EXPECT_EQ(g.blockFirstRow, firstRow);
    EXPECT_EQ(g.blockLastRow, lastRow);
    EXPECT_EQ(g.blockFirstColumn, firstColumn);
    EXPECT_EQ(g.blockLastColumn, lastColumn);
  }
  // Click on one cell, Shift+click on another: the block between them.
  static void selectCells(int id, int firstColumn, int firstRow, int lastColumn, int lastRow) {
    click(cell(id, firstColumn, firstRow));
    shiftClick(cell(id, lastColumn, lastRow), 4, 4);
    expectBlock(grid(id), std::min(firstRow, lastRow), std::max(firstRow, lastRow), std::min(firstColumn, lastColumn),
                std::max(firstColumn, lastColumn));
  }
  // The small grid's first block: a b c over d e f.
  void fillSmallGrid() {
    const char* cells[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int r = 0; r < 2; ++r) {
      for (int c = 0; c < 3; ++c) put(kSmallGrid, c, r, cells[r][c]);
    }
  }

  HWND dialog_ = nullptr;
};

TEST_F(GridWindow, TwoHundredThousandRowsScrollThroughAScaledBar) {
  GridRecord& g = grid(kTallGrid);
  EXPECT_EQ(g.scrollScale, 4);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(g.window, SB_VERT, &info);
  EXPECT_EQ(info.nMax, 49999);
  put(kTallGrid, 0, 120000, "far");
  put(kTallGrid, 0, 0, "near");
  WGridPutCellInteger(kTallGrid, 2, 120003, 17);
  g.unsaved = 0;
  g.changed = 0;

  SendMessageA(g.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  EXPECT_EQ(g.firstRow, 120000);
  EXPECT_EQ(GetScrollPos(g.window, SB_VERT), 30000);
  EXPECT_EQ(cellText(kTallGrid, 0, 120000), "far");
  EXPECT_EQ(cellText(kTallGrid, 1, 120002), "17");
  EXPECT_EQ(cellText(kTallGrid, 0, 0), "");  // no window: row 0 is not on view

  // The scroll bar's up arrow, clicked.
  RECT client{};
  GetClientRect(g.window, &client);
  ui::clickAt(g.window, client.right + 4, 4);
  ui::pumpMessages(100);
  EXPECT_EQ(g.firstRow, 119999);
  SendMessageA(g.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(g.firstRow, 0);
  EXPECT_EQ(cellText(kTallGrid, 0, 0), "near");
  EXPECT_EQ(g.unsaved, 0);
  EXPECT_EQ(g.changed, 0);

  // An edit marks the grid; scrolling keeps the marks as they are.
  click(cell(kTallGrid, 0, 1));
  ui::typeText("typed");
  ui::pumpMessages(60);
  EXPECT_EQ(g.unsaved, 1);
  SendMessageA(g.window, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(g.firstRow, g.visibleRows);
  SendMessageA(g.window, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(g.unsaved, 1);
  EXPECT_EQ(g.changed, 1);
  EXPECT_EQ(cellText(kTallGrid, 0, 1), "typed");
  std::string text;
  YYGridCellString(g, 0, 1, text, 20);
  EXPECT_EQ(text, "typed");
}

// A scroll stores the cells on view and loads the new position: an unmodified
// number keeps its last valid value, a modified text is read whole, a blank
// number comes back empty with last value 0.
TEST_F(GridWindow, ScrollStoresWhatTheCellsHold) {
  GridRecord& g = grid(kTallGrid);
  HWND unmodified = cell(kTallGrid, 2, 1);
  SetWindowTextA(unmodified, "2.5");
  SendMessageA(unmodified, EM_SETMODIFY, FALSE, 0);
  fieldRecordOf(unmodified)->value = 9.75;
  HWND typed = cell(kTallGrid, 2, 2);
  SetWindowTextA(typed, "0000000000000001.5E3");  // 20 characters
  SendMessageA(typed, EM_SETMODIFY, TRUE, 0);
  HWND blank = cell(kTallGrid, 1, 3);
  SetWindowTextA(blank, "");
  fieldRecordOf(blank)->value = 7.0;

  SendMessageA(g.window, WM_VSCROLL, SB_PAGEDOWN, 0);
  ASSERT_GT(g.firstRow, 3);
  EXPECT_FLOAT_EQ(static_cast<float>(YYGridStoredNumber(g.columnList[2], 1)), 9.75f);
  EXPECT_FLOAT_EQ(static_cast<float>(YYGridStoredNumber(g.columnList[2], 2)), 1500.0f);
  EXPECT_EQ(g.columnList[1].flags[3] & kRowStored, 0);
  SendMessageA(g.window, WM_VSCROLL, SB_PAGEUP, 0);
  ASSERT_EQ(g.firstRow, 0);
  double value = 0.0;
  EXPECT_EQ(YYGridCellValue(g, 2, 1, value), kGridDone);
  EXPECT_DOUBLE_EQ(value, 9.75);
  EXPECT_EQ(YYGridCellValue(g, 2, 2, value), kGridDone);
  EXPECT_DOUBLE_EQ(value, 1500.0);
  EXPECT_EQ(cellText(kTallGrid, 1, 3), "");
  EXPECT_EQ(fieldRecordOf(cell(kTallGrid, 1, 3))->value, 0.0);
  EXPECT_EQ(YYGridCellValue(g, 1, 3, value), kGridBlank);
}

TEST_F(GridWindow, HorizontalScrollOnlyWhenTheColumnsDoNotFit) {
  GridRecord& small = grid(kSmallGrid);
  EXPECT_EQ(small.lastFirstColumn, 0);
  EXPECT_EQ(small.lastColumn, 4);
  SendMessageA(small.window, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(small.firstColumn, 0);

  GridRecord& tall = grid(kTallGrid);
  EXPECT_GT(tall.lastFirstColumn, 0);
  EXPECT_LT(tall.lastColumn, 4);
  RECT before{};
  GetWindowRect(cell(kTallGrid, 1, 0), &before);
  SendMessageA(tall.window, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(tall.firstColumn, 1);
  RECT after{};
  GetWindowRect(cell(kTallGrid, 1, 0), &after);
  EXPECT_EQ(before.left - after.left, tall.columnList[0].width - 1);
  SendMessageA(tall.window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
  EXPECT_EQ(tall.firstColumn, tall.lastFirstColumn);
  EXPECT_EQ(tall.lastColumn, 4);
  EXPECT_GE(tall.currentColumn, tall.firstColumn);
}

TEST_F(GridWindow, KeysMoveTheCurrentCellAndReportIt) {
  GridRecord& g = grid(kTallGrid);
  click(dialog_test::item(kEdit));
  cellChanges.clear();
  click(cell(kTallGrid, 0, 0));
  ASSERT_EQ(GetFocus(), cell(kTallGrid, 0, 0));
  ASSERT_FALSE(cellChanges.empty());
  EXPECT_EQ(cellChanges.back(), static_cast<LPARAM>(YYGridCellChangeParam(0, 0)));
  struct Step {
    WORD key;
    unsigned modifiers;
    int column, row;
  };
  const Step steps[] = {
      {VK_DOWN, 0, 0, 1},           {VK_TAB, 0, 1, 1},  // Tab moves between cells in this grid
      {VK_TAB, ui::kShift, 0, 1},   {VK_UP, 0, 0, 0},       {VK_UP, 0, 0, 0},  // row 0: a beep
      {VK_END, ui::kCtrl, 4, 0},    {VK_HOME, ui::kCtrl, 0, 0},
      {VK_NEXT, ui::kCtrl, 0, 199999}, {VK_PRIOR, ui::kCtrl, 0, 0},
  };
  for (const Step& s : steps) {
    key(s.key, s.modifiers);
    EXPECT_EQ(g.currentColumn, s.column) << "key " << s.key;
    EXPECT_EQ(g.currentRow, s.row) << "key " << s.key;
    EXPECT_EQ(GetFocus(), cell(kTallGrid, s.column, s.row)) << "key " << s.key;
    EXPECT_EQ(cellChanges.back(), static_cast<LPARAM>(YYGridCellChangeParam(s.column, s.row))) << "key " << s.key;
    if (s.row == 199999) {
      EXPECT_EQ(g.firstRow, 199999 - g.visibleRows + 1);
    }
  }
  // Enter presses the dialog's default button.
  key(VK_RETURN);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back(), IDOK);

  // The program moves the current cell as far as it likes.
  WGridSetCell(kTallGrid, 2, 150001);
  ui::pumpMessages(60);
  EXPECT_EQ(dialog_test::lastError(), 0);
  EXPECT_EQ(GetFocus(), cell(kTallGrid, 1, 150000));
  EXPECT_EQ(g.firstRow, 150000 - g.visibleRows + 1);
  EXPECT_EQ(cellChanges.back(), static_cast<LPARAM>(YYGridCellChangeParam(1, 150000)));
  WGridSetCell(kTallGrid, 2, 1);
  EXPECT_EQ(GetFocus(), cell(kTallGrid, 1, 0));
  EXPECT_EQ(g.firstRow, 0);

  // Coming back from another field reports the cell although it did not change.
  click(dialog_test::item(kEdit));
  cellChanges.clear();
  click(cell(kTallGrid, 0, 0));
  ASSERT_FALSE(cellChanges.empty());
  EXPECT_EQ(cellChanges.back(), static_cast<LPARAM>(YYGridCellChangeParam(0, 0)));
}

TEST_F(GridWindow, PageDownWithFewRowsStays) {
  GridRecord& g = grid(kSmallGrid);
  ASSERT_LT(g.rows, g.visibleRows);
  click(cell(kSmallGrid, 0, 1));
  key(VK_NEXT);
  EXPECT_EQ(g.firstRow, 0);
  EXPECT_EQ(g.currentRow, 1);
  key(VK_DOWN);
  key(VK_DOWN);  // the last row: a beep
  EXPECT_EQ(g.currentRow, 2);
}

TEST_F(GridWindow, WheelScrollsWholeLinesOnly) {
  GridRecord& g = grid(kTallGrid);
  SendMessageA(g.window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
  ASSERT_EQ(g.firstRow, 20);
  struct Turn {
    int delta, firstRow;
  };
  for (const Turn& t : {Turn{240, 18}, Turn{60, 18}, Turn{60, 17}, Turn{-120, 18}, Turn{-100, 18}, Turn{-20, 19}}) {
    PostMessageA(cell(kTallGrid, 0, g.firstRow), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(t.delta)), 0);
    ui::pumpMessages(40);
    EXPECT_EQ(g.firstRow, t.firstRow) << t.delta;
  }
}

TEST_F(GridWindow, HeadingClicksSelectColumns) {
  GridRecord& g = grid(kSmallGrid);
  POINT third = headingItem(kSmallGrid, 3);
  ui::clickAt(g.heading, third.x, third.y);
  ui::pumpMessages(80);
  EXPECT_EQ(g.currentColumn, 2);
  expectBlock(g, 0, 2, 2, 2);

  // Current column 5 (1-based); Shift and column 2 select columns 2 to 5.
  click(cell(kSmallGrid, 0, 1));
  key(VK_END, ui::kCtrl);
  ASSERT_EQ(g.currentColumn, 4);
  POINT second = headingItem(kSmallGrid, 2);
  shiftClick(g.heading, second.x, second.y);
  expectBlock(g, 0, 2, 1, 4);
  EXPECT_EQ(g.currentColumn, 4);
  EXPECT_EQ(g.currentRow, 1);

  POINT corner = headingItem(kSmallGrid, 0);
  ui::clickAt(g.heading, corner.x, corner.y);
  ui::pumpMessages(80);
  expectBlock(g, 0, 2, 0, 4);

  // A new title shows in the heading.
  YYGridSetColumnTitle(g, 2, "Name");
  std::array<char, 20> title{};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = title.data();
  item.cchTextMax = static_cast<int>(title.size());
  SendMessageA(g.heading, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(title.data(), "Name");
}

TEST_F(GridWindow, RowLabelClicksSelectRows) {
  GridRecord& g = grid(kLabelGrid);
  ASSERT_EQ(g.labelControls.size(), 4u);
  EXPECT_EQ(YYGridGetRowLabel(g, 2), "Three");
  click(g.labelControls[1]);
  EXPECT_EQ(g.currentRow, 1);
  EXPECT_EQ(g.currentColumn, 0);
  expectBlock(g, 1, 1, 0, 1);
  RECT box{};
  GetClientRect(g.labelControls[3], &box);
  shiftClick(g.labelControls[3], 4, box.bottom / 2);
  expectBlock(g, 1, 3, 0, 1);
  EXPECT_EQ(g.currentRow, 1);

  // A block pastes at the current cell.
  putClipboard("p\tq\r\nr\ts");
  click(cell(kLabelGrid, 0, 2));
  key('V', ui::kCtrl);
  EXPECT_EQ(cellText(kLabelGrid, 0, 2), "p");
  EXPECT_EQ(cellText(kLabelGrid, 1, 3), "s");
}

TEST_F(GridWindow, BlockGoesToTheClipboardAndComesBack) {
  GridRecord& g = grid(kSmallGrid);
  fillSmallGrid();
  selectCells(kSmallGrid, 0, 0, 2, 1);
  EXPECT_EQ(g.currentColumn, 0);
  key('C', ui::kCtrl);
  EXPECT_EQ(clipboardText(), "a\tb\tc\r\nd\te\tf");
  // Ctrl+A selects the focused cell's whole text, block or not.
  ASSERT_EQ(g.blockFirstRow, 0);
  key('A', ui::kCtrl);
  DWORD from = 9;
  DWORD to = 9;
  SendMessageA(cell(kSmallGrid, 0, 0), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 1u);

  // A tabular text pastes at the current cell: texts, checks, menu items.
  putClipboard("x\tyes\tso\r\nz\tNo\tea");
  click(cell(kSmallGrid, 2, 0));
  key('V', ui::kCtrl);
  EXPECT_EQ(cellText(kSmallGrid, 2, 0), "x");
  EXPECT_EQ(cellText(kSmallGrid, 2, 1), "z");
  int state = -1;
  WGridGetCellCheckBox(kSmallGrid, 4, 1, state);
  EXPECT_EQ(state, 1);
  WGridGetCellCheckBox(kSmallGrid, 4, 2, state);
  EXPECT_EQ(state, 0);
  int option = 0;
  WGridGetCellMenu(kSmallGrid, 5, 1, option);
  EXPECT_EQ(option, 2);  // South: the template's first item is no option
  WGridGetCellMenu(kSmallGrid, 5, 2, option);
  EXPECT_EQ(option, 3);
  EXPECT_EQ(dialog_test::lastError(), 0);

  // Delete empties the block; a menu cell goes to its first item.
  selectCells(kSmallGrid, 1, 0, 4, 1);
  key(VK_DELETE);
  EXPECT_EQ(g.blockFirstRow, -1);
  EXPECT_EQ(cellText(kSmallGrid, 2, 0), "");
  EXPECT_EQ(cellText(kSmallGrid, 1, 1), "");
  EXPECT_EQ(cellText(kSmallGrid, 0, 1), "d");
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 4, 1), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 3, 0), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(GridWindow, ContextMenuCopiesTheBlockAndPasteRespectsReadOnlyCells) {
  GridRecord& g = grid(kSmallGrid);
  fillSmallGrid();
  selectCells(kSmallGrid, 1, 0, 2, 1);
  ui::UiDriver driver;
  driver.answerNextMenu([] { ui::pressKey('C'); });
  ui::clickAt(cell(kSmallGrid, 1, 1), 4, 4, 3);
  ui::pumpMessages(400);
  EXPECT_EQ(driver.menusOpened(), 1);
  EXPECT_EQ(clipboardText(), "b\tc\r\ne\tf");

  // A paste that would touch a read-only cell is refused whole.
  ASSERT_EQ(YYGridSetCellReadOnly(g, 1, 2, 0), kGridDone);
  putClipboard("p\tq\r\nr\ts");
  click(cell(kSmallGrid, 0, 1));
  key('V', ui::kCtrl);
  EXPECT_EQ(cellText(kSmallGrid, 0, 1), "d");
  EXPECT_EQ(cellText(kSmallGrid, 0, 2), "");
  ASSERT_EQ(YYGridSetCellReadOnly(g, 1, 2, 1), kGridDone);
  key('V', ui::kCtrl);
  EXPECT_EQ(cellText(kSmallGrid, 0, 1), "p");
  EXPECT_EQ(cellText(kSmallGrid, 1, 2), "s");
}

// The context menu greys what cannot be done where it was opened.
TEST_F(GridWindow, ContextMenuGreysWhatCannotBeDone) {
  GridRecord& g = grid(kSmallGrid);
  fillSmallGrid();
  HWND text = cell(kSmallGrid, 0, 0);
  auto noBlock = [&](DWORD from, DWORD to) {
    return [&, from, to] {
      click(text);
      SendMessageA(text, EM_SETSEL, from, to);
    };
  };
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::vector<int> enabled;
    std::vector<int> greyed;
  };
  const Case cases[] = {
      {"a caret in a text", noBlock(1, 1), {kGridSelectAll, kGridPaste}, {kGridUndo, kGridCut, kGridCopy, kGridClear}},
      {"the whole text selected", noBlock(0, static_cast<DWORD>(-1)), {kGridCut, kGridCopy, kGridClear, kGridPaste},
       {kGridSelectAll, kGridUndo}},
      {"a writable block", [&] { selectCells(kSmallGrid, 1, 0, 2, 1); },
       {kGridCutBlock, kGridCopyBlock, kGridDeleteBlock}, {kGridUndo, kGridSelectAll}},
      {"a block with a read-only cell",
       [&] {
         ASSERT_EQ(YYGridSetCellReadOnly(g, 2, 1, 0), kGridDone);
         selectCells(kSmallGrid, 1, 0, 2, 1);
       },
       {kGridCopyBlock}, {kGridCutBlock, kGridDeleteBlock}},
      {"a table on the clipboard over a read-only cell",
       [&] {
         click(cell(kSmallGrid, 1, 0));
         putClipboard("p\tq\r\nr\ts");
       },
       {}, {kGridPasteBlock}},
      {"a table on the clipboard over writable cells",
       [&] {
         ASSERT_EQ(YYGridSetCellReadOnly(g, 2, 1, 1), kGridDone);
         click(cell(kSmallGrid, 1, 0));
         putClipboard("p\tq\r\nr\ts");
       },
       {kGridPasteBlock}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (OpenClipboard(nullptr) != 0) {
      EmptyClipboard();
      CloseClipboard();
    }
    c.prepare();
    std::vector<std::pair<int, UINT>> states;
    ui::UiDriver driver;
    driver.answerNextMenu([&states, &c] {
      HWND popup = FindWindowA("#32768", nullptr);
      const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
      for (const std::vector<int>* ids : {&c.enabled, &c.greyed}) {
        for (int id : *ids) states.emplace_back(id, GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND));
      }
      ui::pressKey(VK_ESCAPE);
    });
    HWND at = g.blockFirstRow >= 0 ? cell(kSmallGrid, 2, 1) : GetFocus();
    ui::clickAt(at, 4, 4, 3);
    ui::pumpMessages(400);
    ASSERT_EQ(driver.menusOpened(), 1);
    ASSERT_EQ(states.size(), c.enabled.size() + c.greyed.size());
    for (std::size_t i = 0; i < states.size(); ++i) {
      const bool greyed = i >= c.enabled.size();
      ASSERT_NE(states[i].second, static_cast<UINT>(-1)) << "no item " << states[i].first;
      EXPECT_EQ((states[i].second & MF_GRAYED) != 0, greyed) << "item " << states[i].first;
    }
    YYGridClearBlockWindow(g);
  }
}

// With the block-event style a paste or delete of a block is one field change
// naming the block's corners; without it, none.
TEST_F(GridWindow, BlockChangesPostOneEventWithTheirCorners) {
  GridRecord& g = grid(kSmallGrid);
  const LONG style = GetWindowLongA(g.window, GWL_STYLE);
  SetWindowLongA(g.window, GWL_STYLE, style | kGridBlockEventStyle);
  YYEventEnableSet(kEventFieldChanged, 1);
  const int dialogId = dialogRecordOf(dialog_)->identifier;

  putClipboard("p\tq\r\nr\ts");
  click(cell(kSmallGrid, 1, 0));
  eventState.current = {};
  key('V', ui::kCtrl);
  EventWords paste = eventState.current;
  EXPECT_EQ(paste.type, kEventFieldChanged);
  EXPECT_EQ(paste.win, dialogId);
  EXPECT_EQ(paste.value1, kSmallGrid);
  EXPECT_EQ(paste.value2, 1);
  EXPECT_EQ(paste.value3, kSmallGrid);
  EXPECT_EQ(paste.value4, -1);
  EXPECT_EQ(paste.x, static_cast<int>(YYGridCellChangeParam(1, 0)));
  EXPECT_EQ(paste.y, static_cast<int>(YYGridCellChangeParam(2, 1)));
  EXPECT_EQ(cellText(kSmallGrid, 2, 1), "s");

  selectCells(kSmallGrid, 0, 1, 2, 2);
  eventState.current = {};
  key(VK_DELETE);
  EXPECT_EQ(eventState.current.type, kEventFieldChanged);
  EXPECT_EQ(eventState.current.x, static_cast<int>(YYGridCellChangeParam(0, 1)));
  EXPECT_EQ(eventState.current.y, static_cast<int>(YYGridCellChangeParam(2, 2)));

  // Switched off, or without the style: the cells change, no event.
  YYEventEnableSet(kEventFieldChanged, 0);
  click(cell(kSmallGrid, 1, 0));
  eventState.current = {};
  key('V', ui::kCtrl);
  EXPECT_EQ(eventState.current.type, 0);
  YYEventEnableSet(kEventFieldChanged, 1);
  SetWindowLongA(g.window, GWL_STYLE, style);
  selectCells(kSmallGrid, 1, 0, 2, 1);
  eventState.current = {};
  key(VK_DELETE);
  EXPECT_EQ(eventState.current.type, 0);
  EXPECT_EQ(cellText(kSmallGrid, 2, 1), "");
  YYEventEnableSet(kEventFieldChanged, 0);
}

// The dialog turns the grid's cell reports into field-changed events, but not
// while it is quiet.
TEST_F(GridWindow, CellReportsBecomeFieldChangedEventsUnlessQuiet) {
  YYEventEnableSet(kEventFieldChanged, 1);
  click(cell(kSmallGrid, 0, 0));
  eventState.current = {};
  key(VK_DOWN);
  EXPECT_EQ(eventState.current.type, kEventFieldChanged);
  EXPECT_EQ(eventState.current.y, static_cast<int>(YYGridCellChangeParam(0, 1)));
  dialogState.quiet = 1;
  eventState.current = {};
  key(VK_DOWN);
  dialogState.quiet = 0;
  YYEventEnableSet(kEventFieldChanged, 0);
  EXPECT_EQ(grid(kSmallGrid).currentRow, 2);
  ASSERT_FALSE(cellChanges.empty());
  EXPECT_EQ(cellChanges.back(), static_cast<LPARAM>(YYGridCellChangeParam(0, 2)));  // reported all the same
  EXPECT_EQ(eventState.current.type, 0);
}

// A grid defined read-only refuses typing and clicks but not the program; a
// grid of no rows has no cells and takes every request without harm.
TEST_F(GridWindow, ReadOnlyAndEmptyGridsFromTheDescription) {
  EXPECT_NE(GetWindowLongA(cell(kReadOnlyGrid, 0, 0), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(GetWindowLongA(cell(kReadOnlyGrid, 3, 1), GWL_STYLE) & 0xF, BS_CHECKBOX);
  click(cell(kReadOnlyGrid, 3, 1));
  EXPECT_EQ(SendMessageA(cell(kReadOnlyGrid, 3, 1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  click(cell(kReadOnlyGrid, 0, 1));
  ui::typeText("zz");
  ui::pumpMessages(60);
  EXPECT_EQ(cellText(kReadOnlyGrid, 0, 1), "");
  WGridPutCellCheckBox(kReadOnlyGrid, 4, 2, 1);
  EXPECT_EQ(SendMessageA(cell(kReadOnlyGrid, 3, 1), BM_GETCHECK, 0, 0), BST_CHECKED);

  GridRecord& empty = grid(kEmptyGrid);
  EXPECT_EQ(empty.cellRows, 0);
  EXPECT_TRUE(empty.cells.empty());
  int value = -1;
  YYGridOption(empty, 101, value);
  EXPECT_EQ(value, 0);
  WGridRows(kEmptyGrid, 1);
  EXPECT_EQ(dialog_test::lastError(), 1018);
  EXPECT_EQ(empty.rows, 0);
  WGridSetCell(kEmptyGrid, 1, 1);
  EXPECT_EQ(dialog_test::lastError(), 1017);
  int found = 7;
  WGridFind(kEmptyGrid, "x", 0, &found);
  EXPECT_EQ(found, 0);
  WGridSort(kEmptyGrid, 1);
  SendMessageA(empty.window, WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(empty.window, WM_HSCROLL, SB_LINERIGHT, 0);
  SendMessageA(empty.window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  SetFocus(empty.window);
  ui::pumpMessages(40);
  EXPECT_EQ(empty.firstRow, 0);
  EXPECT_EQ(dialog_test::lastError(), 0);
}

// A clipboard that another window holds open: the copy says so in a box, and a
// cut deletes nothing.
TEST_F(GridWindow, CopyOntoABusyClipboardFailsWithABoxAndCutKeepsTheBlock) {
  fillSmallGrid();
  selectCells(kSmallGrid, 0, 0, 1, 1);
  ASSERT_NE(OpenClipboard(dialog_test::item(kEdit)), 0);
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  key('X', ui::kCtrl);
  CloseClipboard();
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Unable to Copy Data to Clipboard");
  ASSERT_FALSE(driver.seen()[0].texts.empty());
  EXPECT_EQ(driver.seen()[0].texts[0].rfind("Either the clipboard is in use by another application", 0), 0u);
  EXPECT_EQ(cellText(kSmallGrid, 0, 0), "a");
  EXPECT_EQ(cellText(kSmallGrid, 1, 1), "e");

  // Free again: Shift+Delete cuts the block, Shift+Insert pastes it back lower
  // down.  (The box took the focus, which cleared the block.)
  EXPECT_EQ(grid(kSmallGrid).blockFirstRow, -1);
  selectCells(kSmallGrid, 0, 0, 1, 1);
  key(VK_DELETE, ui::kShift);
  EXPECT_EQ(clipboardText(), "a\tb\r\nd\te");
  EXPECT_EQ(cellText(kSmallGrid, 0, 0), "");
  EXPECT_EQ(cellText(kSmallGrid, 1, 1), "");
  EXPECT_EQ(cellText(kSmallGrid, 2, 1), "f");
  click(cell(kSmallGrid, 1, 1));
  key(VK_INSERT, ui::kShift);
  EXPECT_EQ(cellText(kSmallGrid, 1, 1), "a");
  EXPECT_EQ(cellText(kSmallGrid, 2, 2), "e");
}

// The dialog's read-only state stops typing, clicking, pasting and deleting;
// enabled again, the cells take edits.
TEST_F(GridWindow, ReadOnlyStateStopsEveryEdit) {
  GridRecord& g = grid(kSmallGrid);
  fillSmallGrid();
  WDialogFieldState(kSmallGrid, 2);
  ui::pumpMessages(40);
  EXPECT_NE(GetWindowLongA(g.window, GWL_STYLE) & kGridReadOnlyStyle, 0);
  click(cell(kSmallGrid, 0, 0));
  ui::typeText("zz");
  ui::pumpMessages(60);
  EXPECT_EQ(cellText(kSmallGrid, 0, 0), "a");
  click(cell(kSmallGrid, 3, 0));
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 3, 0), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  putClipboard("p\tq");
  click(cell(kSmallGrid, 1, 1));
  key('V', ui::kCtrl);
  EXPECT_EQ(cellText(kSmallGrid, 1, 1), "e");
  selectCells(kSmallGrid, 0, 0, 1, 1);
  key(VK_DELETE);
  EXPECT_EQ(cellText(kSmallGrid, 0, 0), "a");

  WDialogFieldState(kSmallGrid, 1);
  ui::pumpMessages(40);
  EXPECT_EQ(GetWindowLongA(g.window, GWL_STYLE) & kGridReadOnlyStyle, 0);
  click(cell(kSmallGrid, 0, 0));
  ui::typeText("zz");
  ui::pumpMessages(60);
  EXPECT_NE(cellText(kSmallGrid, 0, 0).find("zz"), std::string::npos);
  click(cell(kSmallGrid, 3, 0));
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 3, 0), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Disabling the grid disables every cell.
  EnableWindow(g.window, FALSE);
  EXPECT_FALSE(IsWindowEnabled(cell(kSmallGrid, 2, 2)));
  EnableWindow(g.window, TRUE);
  EXPECT_TRUE(IsWindowEnabled(cell(kSmallGrid, 2, 2)));
}

// Dragging a divider of the heading or of the row labels resizes nothing.
TEST_F(GridWindow, HeadingDividersCannotBeDragged) {
  struct Case {
    int id;
    bool heading;
  };
  for (const Case c : {Case{kSmallGrid, true}, Case{kLabelGrid, false}}) {
    GridRecord& g = grid(c.id);
    HWND header = c.heading ? g.heading : g.labelControls[0];
    const int item = c.heading ? 1 : 0;
    RECT before{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&before));
    const int y = (before.top + before.bottom) / 2;
    ui::moveMouse(header, before.right - 3, y);
    ui::pumpMessages(40);
    ui::mouseButton(1, true);
    ui::pumpMessages(40);
    for (int step = 1; step <= 4; ++step) {
      ui::moveMouse(header, before.right - 3 + 10 * step, y);
      ui::pumpMessages(30);
    }
    ui::mouseButton(1, false);
    ui::pumpMessages(80);
    RECT after{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(after.right - after.left, before.right - before.left) << c.id;
  }
  // The refusal itself, as the heading asks it.
  NMHEADERA track{};
  track.hdr.hwndFrom = grid(kSmallGrid).heading;
  track.hdr.idFrom = static_cast<UINT_PTR>(-1);
  track.hdr.code = HDN_BEGINTRACKA;
  track.iItem = 1;
  EXPECT_EQ(SendMessageA(grid(kSmallGrid).window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)), 1);
}

// A display-only grid lets every mouse hit pass to what lies below and keeps
// its height when its font changes.
TEST_F(GridWindow, DisplayOnlyGridLetsTheMousePass) {
  GridRecord& g = grid(kSmallGrid);
  HWND target = cell(kSmallGrid, 1, 1);
  EXPECT_NE(SendMessageA(target, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  click(cell(kSmallGrid, 0, 0));
  ASSERT_EQ(SendMessageA(g.window, GM_SETDEFINED, 0, 0), 0);
  EXPECT_EQ(g.defined, 1);
  EXPECT_EQ(g.displayOnly, 1);
  for (HWND window : {target, g.client, g.heading}) {
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, 0), HTTRANSPARENT) << ui::classOf(window);
  }
  click(target);
  EXPECT_EQ(g.currentColumn, 0);
  EXPECT_EQ(g.currentRow, 0);
  EXPECT_NE(GetFocus(), target);

  RECT before{};
  GetWindowRect(g.window, &before);
  LOGFONTA large{};
  large.lfHeight = -24;
  lstrcpyA(large.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&large);
  SendMessageA(g.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ui::pumpMessages(40);
  RECT after{};
  GetWindowRect(g.window, &after);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_GT(g.rowHeight, 20);
  SendMessageA(g.window, WM_SETFONT, static_cast<WPARAM>(SendMessageA(dialog_, WM_GETFONT, 0, 0)), FALSE);
  DeleteObject(font);
}

// What the screen shows: the block inverted, the cell colours.
TEST_F(GridWindow, BlockAndCellColoursShowOnTheScreen) {
  GridRecord& g = grid(kSmallGrid);
  auto shown = [](HWND window) {
    RECT box{};
    GetClientRect(window, &box);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, box.right - 3, box.bottom / 2);
    ReleaseDC(window, dc);
    return colour;
  };
  const COLORREF paper = GetSysColor(COLOR_WINDOW);
  const COLORREF inverted = paper ^ 0xFFFFFF;
  ASSERT_EQ(shown(cell(kSmallGrid, 1, 1)), paper);

  selectCells(kSmallGrid, 0, 0, 1, 1);
  ui::pumpMessages(60);
  for (int column : {0, 1}) {
    for (int row : {0, 1}) EXPECT_EQ(shown(cell(kSmallGrid, column, row)), inverted) << column << "," << row;
  }
  EXPECT_EQ(shown(cell(kSmallGrid, 2, 1)), paper);
  EXPECT_EQ(shown(cell(kSmallGrid, 0, 2)), paper);
  YYGridClearBlockWindow(g);
  ui::pumpMessages(60);
  EXPECT_EQ(shown(cell(kSmallGrid, 1, 1)), paper);

  // A cell's own background, then the column's, and back to the default.
  ASSERT_EQ(YYGridSetCellColour(g, 1, 2, {256, 0, 0}, {0, 128, 255}), kGridDone);
  ui::pumpMessages(60);
  EXPECT_EQ(shown(cell(kSmallGrid, 1, 2)), RGB(0, 128, 255));
  EXPECT_EQ(shown(cell(kSmallGrid, 1, 1)), paper);
  ASSERT_EQ(YYGridSetColumnColour(g, 2, {-1, 0, 0}, {255, 255, 0}), kGridDone);
  ui::pumpMessages(60);
  EXPECT_EQ(shown(cell(kSmallGrid, 2, 0)), RGB(255, 255, 0));
  EXPECT_EQ(shown(cell(kSmallGrid, 2, 2)), RGB(255, 255, 0));
  ASSERT_EQ(YYGridSetCellColour(g, 1, 2, {256, 0, 0}, {256, 0, 0}), kGridDone);
  ui::pumpMessages(60);
  EXPECT_EQ(shown(cell(kSmallGrid, 1, 2)), paper);
}

TEST_F(GridWindow, ResizingAddsAndRemovesCellRowsKeepingTheCells) {
  GridRecord& g = grid(kTallGrid);
  for (int row = 0; row < 40; ++row) put(kTallGrid, 0, row, "r" + std::to_string(row));
  const int cellRows = g.cellRows;
  RECT box{};
  GetWindowRect(g.window, &box);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  SetWindowPos(g.window, nullptr, 0, 0, width, height + 6 * (g.rowHeight - 1), SWP_NOMOVE | SWP_NOZORDER);
  ui::pumpMessages(60);
  EXPECT_EQ(g.cellRows, cellRows + 6);
  EXPECT_EQ(g.cells.size(), static_cast<std::size_t>(5 * g.cellRows));
  for (int row = 0; row < g.cellRows; ++row) EXPECT_EQ(cellText(kTallGrid, 0, row), "r" + std::to_string(row));
  SetWindowPos(g.window, nullptr, 0, 0, width, height - 3 * (g.rowHeight - 1), SWP_NOMOVE | SWP_NOZORDER);
  ui::pumpMessages(60);
  EXPECT_EQ(g.cellRows, cellRows - 3);
  for (int row = 0; row < 40; ++row) {
    std::string text;
    YYGridCellString(g, 0, row, text, 20);
    EXPECT_EQ(text, "r" + std::to_string(row));
  }
}

TEST_F(GridWindow, ColumnsRedefinedFromChosenTemplateControls) {
  GridRecord& g = grid(kSmallGrid);
  fillSmallGrid();
  const int positions[] = {4, 5, 1};
  ASSERT_EQ(YYGridRedefineColumns(g, 3, positions), kGridDone);
  ASSERT_EQ(g.columns, 3);
  EXPECT_EQ(g.columnList[0].type, kGridCheckBox);
  EXPECT_EQ(g.columnList[1].type, kGridMenu);
  EXPECT_EQ(g.columnList[2].type, kGridString);
  EXPECT_EQ(g.cells.size(), static_cast<std::size_t>(3 * g.cellRows));
  EXPECT_EQ(SendMessageA(g.heading, HDM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(cellText(kSmallGrid, 2, 0), "");  // stored values go with the old columns
  EXPECT_EQ(g.rows, 3);
  WGridPutCellCheckBox(kSmallGrid, 1, 2, 1);
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 0, 1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(dialog_test::lastError(), 0);

  // The first menu cell's list is the column's.
  EXPECT_EQ(YYGridAddMenuItem(g, 0, 0, "Up"), kGridNoGrid);
  ASSERT_EQ(YYGridClearMenuItems(g, 1, 0), kGridDone);
  ASSERT_EQ(YYGridAddMenuItem(g, 1, 0, "Up"), kGridDone);
  EXPECT_EQ(g.columnList[1].menuItems, std::vector<std::string>{"Up"});
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 1, 0), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(cell(kSmallGrid, 1, 1), CB_GETCOUNT, 0, 0), 3);

  int heading = -1;
  int labelWidth = -1;
  YYGridLabelInfo(g, heading, labelWidth);
  EXPECT_EQ(heading, 1);
  EXPECT_EQ(labelWidth, 0);
  YYGridLabelInfo(grid(kLabelGrid), heading, labelWidth);
  EXPECT_EQ(heading, 0);
  EXPECT_EQ(labelWidth, grid(kLabelGrid).labelWidth);
  EXPECT_GT(labelWidth, 0);
}

TEST_F(GridWindow, RoutinesReportTheirErrors) {
  ASSERT_EQ(YYGridSetColumnRange(grid(kTallGrid), 1, 1.0, 9.0), kGridDone);
  struct Case {
    const char* what;
    void (*call)();
    int error;
  };
  const Case cases[] = {
      {"no grid", [] { WGridRows(kEdit, 2); }, 1006},
      {"column 0", [] { WGridPutCellInteger(kTallGrid, 0, 1, 1); }, 1017},
      {"row past the rows", [] { WGridClearCell(kSmallGrid, 1, 4); }, 1017},
      {"outside the range", [] { WGridPutCellInteger(kTallGrid, 2, 1, 10); }, 1009},
      {"blank number", [] { int v = 0; WGridGetCellInteger(kTallGrid, 2, 7, v); }, 1010},
      {"rows past the capacity", [] { WGridRows(kSmallGrid, 4); }, 1018},
      {"inside", [] { WGridPutCellInteger(kTallGrid, 2, 1, 9); }, 0},
  };
  EXPECT_EQ(fieldRecordOf(cell(kTallGrid, 1, 3))->maximum, 9.0);  // the cells on view have the range too
  for (const Case& c : cases) {
    c.call();
    EXPECT_EQ(dialog_test::lastError(), c.error) << c.what;
  }
  int value = 0;
  WGridGetCellInteger(kTallGrid, 2, 1, value);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(grid(kSmallGrid).rows, 3);
}

TEST(GridWindowWithoutDialog, RoutinesNeedACurrentDialog) {
  dialog_test::openRootWindow();
  ui::Watchdog watchdog(30000, "RoutinesNeedACurrentDialog");
  dialog_test::lastError();
  WGridRows(kTallGrid, 2);
  EXPECT_EQ(dialog_test::lastError(), 1005);
  WShutdown();
}

TEST_F(GridWindow, ModalCopyKeepsEveryCellBothWays) {
  fillSmallGrid();
  WGridPutCellCheckBox(kSmallGrid, 4, 2, 1);
  WGridPutCellOption(kSmallGrid, 5, 3, 2);
  put(kTallGrid, 0, 150000, "deep");
  WDialogHide();
  ui::UiDriver driver;
  std::vector<std::string> seen;
  driver.answerNext([&seen](HWND copy) {
    GridRecord* small = gridRecordOf(GetDlgItem(copy, kSmallGrid));
    GridRecord* tall = gridRecordOf(GetDlgItem(copy, kTallGrid));
    if (small == nullptr || tall == nullptr) return;
    for (int row = 0; row < 2; ++row) {
      for (int column = 0; column < 3; ++column) seen.push_back(ui::textOf(YYGridCellWindow(*small, column, row)));
    }
    seen.push_back(SendMessageA(YYGridCellWindow(*small, 3, 1), BM_GETCHECK, 0, 0) == BST_CHECKED ? "on" : "off");
    std::string deep;
    YYGridCellString(*tall, 0, 150000, deep, 20);
    seen.push_back(deep);
    HWND edited = YYGridCellWindow(*small, 2, 2);
    SetWindowTextA(edited, "typed");
    SendMessageA(edited, EM_SETMODIFY, TRUE, 0);
    PostMessageA(copy, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(copy, IDOK)));
  });
  WDialogShow(-1, -1, 0, kShowModal);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "on", "deep"}));
  GridRecord& g = grid(kSmallGrid);
  std::string text;
  YYGridCellString(g, 2, 2, text, 20);
  EXPECT_EQ(text, "typed");
  YYGridCellString(g, 1, 1, text, 20);
  EXPECT_EQ(text, "e");
  int option = 0;
  WGridGetCellMenu(kSmallGrid, 5, 3, option);
  EXPECT_EQ(option, 2);
}

// A cell's text without the blanks around it.
std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : std::string(text::trimmed(std::string_view(text).substr(first)));
}

// A sort of every row of the tall grid on its integer column, against the
// standard library's stable sort of the same keys: rows of equal keys keep
// their order, and rows already in order (either way) are no harder than any.
TEST_F(GridWindow, TwoHundredThousandRowsSortAsAStableSortDoes) {
  GridRecord& g = grid(kTallGrid);
  const int rows = g.rows;
  ASSERT_EQ(rows, 200000);
  std::mt19937 random(34);
  struct Case {
    const char* what;
    std::function<int(int)> key;
    int flags;
  };
  const Case cases[] = {
      {"in order", [](int r) { return r; }, 0},
      {"in reverse order", [rows](int r) { return rows - r; }, 0},
      {"in order, sorted descending", [](int r) { return r; }, 1},
      {"all equal", [](int) { return 7; }, 0},
      {"all equal, descending", [](int) { return 7; }, 1},
      {"random with many ties", [&random](int) { return static_cast<int>(random() % 1000) - 500; }, 0},
      {"random with many ties, descending", [&random](int) { return static_cast<int>(random() % 1000) - 500; }, 1},
  };
  GridColumn& texts = g.columnList[0];
  GridColumn& numbers = g.columnList[1];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> keys(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
      keys[static_cast<std::size_t>(r)] = c.key(r);
      YYGridStoreText(texts, r, std::to_string(r));
      YYGridStoreNumber(numbers, r, keys[static_cast<std::size_t>(r)]);
      numbers.flags[static_cast<std::size_t>(r)] |= kRowStored | kRowPresent;
    }
    YYGridLoadCells(g);
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const int x = keys[static_cast<std::size_t>(a)];
      const int y = keys[static_cast<std::size_t>(b)];
      return c.flags == 1 ? x > y : x < y;
    });
    WGridSort(kTallGrid, 2, c.flags);
    ASSERT_EQ(dialog_test::lastError(), 0);
    int wrong = 0;
    for (int r = 0; r < rows && wrong < 5; ++r) {
      const int from = order[static_cast<std::size_t>(r)];
      if (YYGridStoredText(texts, r) != std::to_string(from) ||
          YYGridStoredInteger(numbers, r) != keys[static_cast<std::size_t>(from)]) {
        ADD_FAILURE() << "row " << r << " holds the row that stood at " << YYGridStoredText(texts, r) << ", not "
                      << from;
        ++wrong;
      }
    }
    // The cells on view show the sorted rows.
    EXPECT_EQ(cellText(kTallGrid, 0, 0), std::to_string(order[0]));
  }
}

// A grid a program sets up itself through the set-up messages, from a
// template dialog of its own: the row labels come with their width in dialog
// units and the text at the width's first digit; the menu column starts on
// the item the template's list has selected (the same index in the cells'
// lists, whose items start after the template's first).
INT_PTR CALLBACK plainTemplate(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(GridWindow, AProgramSetsAGridUpThroughItsMessages) {
  HWND window = CreateWindowExA(0, "QVRGRID", "", WS_CHILD | WS_VISIBLE | WS_BORDER | kGridRowLabelStyle |
                                kGridKeepHeightStyle, 300, 200, 200, 90, dialog_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(116)), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SendMessageA(window, GM_SETSIZE, 3, 2);
  const std::string description = "40 \nNorth\nSouth\nEast\nnot a label\n";
  const LRESULT read = SendMessageA(window, GM_SETROWLABELS, 40, reinterpret_cast<LPARAM>(description.c_str()));
  EXPECT_EQ(read, static_cast<LRESULT>(description.find("not") - 1));  // the line feed read last
  GridRecord& g = *gridRecordOf(window);
  TEXTMETRICA metrics{};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  EXPECT_EQ(g.labelWidth, 40 * metrics.tmAveCharWidth / 4);
  EXPECT_EQ(YYGridGetRowLabel(g, 0), "North");
  EXPECT_EQ(YYGridGetRowLabel(g, 2), "East");

  HWND templateDialog =
      CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(313), dialog_, plainTemplate, 0);
  ASSERT_NE(templateDialog, nullptr);
  HWND list = GetDlgItem(templateDialog, 2);
  for (const char* item : {"-", "Red", "Green", "Blue"}) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageA(list, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(window, GM_SETCOLUMNS, reinterpret_cast<WPARAM>(templateDialog), 0), 1);
  SendMessageA(window, GM_LAYOUT, 0, 0);
  SendMessageA(window, GM_SETDEFINED, 0, 0);
  DestroyWindow(templateDialog);
  for (int row = 0; row < 3; ++row) {
    int option = 0;
    WGridGetCellMenu(116, 2, row + 1, option);
    EXPECT_EQ(option, 3) << "row " << row;
  }
  HWND cell = YYGridCellWindow(g, 1, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(SendMessageA(cell, CB_GETCURSEL, 0, 0), 2);
  ASSERT_FALSE(g.labelControls.empty());
  char text[32] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(g.labelControls[0], HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "North");
  EXPECT_EQ(dialog_test::lastError(), 0);
  DestroyWindow(window);
}

// A cell without colours of its own or of its column shows the grid field's.
TEST_F(GridWindow, CellColoursFallBackToTheGridFieldsOwn) {
  GridRecord& g = grid(kSmallGrid);
  FieldRecord* own = fieldRecordOf(g.window);
  ASSERT_NE(own, nullptr);
  const int text = own->textColour;
  const int background = own->backgroundColour;
  own->textColour = RGB(10, 20, 30);
  own->backgroundColour = RGB(200, 210, 220);
  GridRgb t;
  GridRgb b;
  ASSERT_EQ(YYGridGetCellColour(g, 0, 1, t, b), kGridDone);
  EXPECT_EQ((std::array<int, 3>{t.r, t.g, t.b}), (std::array<int, 3>{10, 20, 30}));
  EXPECT_EQ((std::array<int, 3>{b.r, b.g, b.b}), (std::array<int, 3>{200, 210, 220}));
  // The column's own colour comes first, each colour on its own.
  ASSERT_EQ(YYGridSetColumnColour(g, 1, {0, 0, 255}, {-1, 0, 0}), kGridDone);
  ASSERT_EQ(YYGridGetCellColour(g, 1, 0, t, b), kGridDone);
  EXPECT_EQ((std::array<int, 3>{t.r, t.g, t.b}), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ((std::array<int, 3>{b.r, b.g, b.b}), (std::array<int, 3>{200, 210, 220}));
  own->textColour = text;
  own->backgroundColour = background;
}

// The format of a put becomes the column's: every cell of the column on view
// shows its value in it at once, a typed-in text too, and so do rows not on view.
TEST_F(GridWindow, APutWithAFormatShowsTheWholeColumnInIt) {
  GridRecord& g = grid(kTallGrid);
  WGridPutCellReal(kTallGrid, 3, 1, 2.5f);
  WGridPutCellReal(kTallGrid, 3, 2, 3.25f);
  WGridPutCellReal(kTallGrid, 3, 1001, 9.5f);
  EXPECT_EQ(trimmed(cellText(kTallGrid, 2, 0)), "2.5000");
  HWND typed = cell(kTallGrid, 2, 2);
  SetWindowTextA(typed, "7.125");
  SendMessageA(typed, EM_SETMODIFY, TRUE, 0);
  WGridPutCellReal(kTallGrid, 3, 4, 3.14159f, "(F8.2)");
  EXPECT_EQ(dialog_test::lastError(), 0);
  EXPECT_EQ(trimmed(cellText(kTallGrid, 2, 3)), "3.14");
  EXPECT_EQ(trimmed(cellText(kTallGrid, 2, 0)), "2.50");
  EXPECT_EQ(trimmed(cellText(kTallGrid, 2, 1)), "3.25");
  EXPECT_EQ(trimmed(cellText(kTallGrid, 2, 2)), "7.13");
  EXPECT_EQ(SendMessageA(typed, EM_GETMODIFY, 0, 0), 0);
  std::string below;
  YYGridCellString(g, 2, 1000, below, 50);
  EXPECT_EQ(trimmed(below), "9.50");
  EXPECT_EQ(YYGridCellFormat(g, 2), "(F8.2)");
}

// A value the grid shows as asterisks (too wide for its format) is no typed
// mistake: the keys leave its cell, and the cell keeps its value.  A number
// typed in that does not read still keeps the person in the cell.
TEST_F(GridWindow, AsterisksTheGridShowsKeepNobodyInTheCell) {
  GridRecord& g = grid(kTallGrid);
  WGridPutCellReal(kTallGrid, 3, 2, 12345.678f, "(F5.1)");
  const std::string stars = cellText(kTallGrid, 2, 1);
  ASSERT_TRUE(!stars.empty() && stars.find_first_not_of('*') == std::string::npos) << stars;
  click(cell(kTallGrid, 2, 1));
  ASSERT_EQ(GetFocus(), cell(kTallGrid, 2, 1));
  key(VK_DOWN);
  EXPECT_EQ(g.currentRow, 2);
  EXPECT_EQ(GetFocus(), cell(kTallGrid, 2, 2));
  ui::clickAt(cell(kTallGrid, 2, 1), 14, 3);  // away from the first click: no double click
  ui::pumpMessages(60);
  key(VK_TAB, ui::kShift);
  EXPECT_EQ(g.currentColumn, 1);
  EXPECT_EQ(GetFocus(), cell(kTallGrid, 1, 1));
  double value = 0.0;
  ASSERT_EQ(YYGridCellValue(g, 2, 1, value), kGridDone);
  EXPECT_FLOAT_EQ(static_cast<float>(value), 12345.678f);

  click(cell(kTallGrid, 2, 1));
  ASSERT_EQ(GetFocus(), cell(kTallGrid, 2, 1));
  // The cell's text replaced by typing, then Down.
  auto typeThenDown = [](std::string_view text) {
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
    ui::typeText(text);
    ui::pumpMessages(60);
    key(VK_DOWN);
  };
  typeThenDown("1.2.3");
  EXPECT_EQ(g.currentRow, 1);
  EXPECT_EQ(GetFocus(), cell(kTallGrid, 2, 1));
  typeThenDown("4.5");
  EXPECT_EQ(g.currentRow, 2);
  ASSERT_EQ(YYGridCellValue(g, 2, 1, value), kGridDone);
  EXPECT_FLOAT_EQ(static_cast<float>(value), 4.5f);
}

// Every menu cell's dropped list shows all its items, or scrolls to those it
// cannot show at once.
TEST_F(GridWindow, MenuListsOfEveryRowReachEveryItem) {
  const GridRecord& g = grid(kTallGrid);
  for (int row = 0; row < g.cellRows; ++row) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(cell(kTallGrid, 4, row), &info)) << row;
    RECT shown{};
    GetClientRect(info.hwndList, &shown);
    const LRESULT needed = SendMessageA(info.hwndList, LB_GETCOUNT, 0, 0) *
                           SendMessageA(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
    const bool scrolls = (GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL) != 0;
    EXPECT_TRUE(needed <= shown.bottom || scrolls)
        << "row " << row << ": a list of " << shown.bottom << " pixels for " << needed << ", without a scroll bar";
  }
}

}  // namespace
