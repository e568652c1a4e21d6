// A child window turned into a grid editor: what the conversion refuses,
// the menus, keys, toolbar and status bar that the flags leave, the fit to
// the grid, the spin of numeric cells and the prompt on closing.
#include <algorithm>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace {

using namespace editor_test;

bool hasItem(HMENU menu, int id) { return GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) != 0xFFFFFFFFu; }
std::string itemText(HMENU menu, int id) {
  char text[80] = {};
  GetMenuStringA(menu, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
  return text;
}
bool hasButton(HWND toolbar, int id) {
  return toolbar != nullptr && SendMessageA(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0) >= 0;
}

TEST_F(Editor, TheConversionRefusesWhatItCannotEdit) {
  // The root window.
  YYWINSEL(0, 0);
  int status = -1;
  int mode = kShowModeless;
  YYGridEditorCreate(status, kTitledGrid, mode, 0, 0, -1, "", "");
  EXPECT_EQ(status, kEditorRootWindow);
  // A field that is not there, and one that is no grid.
  EXPECT_EQ(convert(0, 999), kEditorNoGridField);
  EXPECT_EQ(windowRecordKindOf(window()), kRecordNone);
  // A window whose client holds a window of its own.
  const int inner = openChild(0x27 | kFlagInsideParent, slot_, 200, 150);
  ASSERT_GT(inner, 0);
  EXPECT_EQ(convert(), kEditorClientHasChildren);
  // That inner window can only be modeless, and can have no menu of its own.
  YYWINSEL(inner, 0);
  mode = kShowModal;
  YYGridEditorCreate(status, kTitledGrid, mode, 0, 0, -1, "", "");
  EXPECT_EQ(status, kEditorModeChanged);
  EXPECT_EQ(mode, kShowModeless);
  EXPECT_NE(YYGridEditorOfSlot(inner), nullptr);
  EXPECT_EQ(GetMenu(slotOf(inner).frame), nullptr);
  HWND dialog = nullptr;
  int closing = inner;
  YYChildWindowClose(closing, dialog);
  // Converting twice.
  EXPECT_EQ(convert(), kEditorDone);
  EXPECT_EQ(convert(), kEditorConverted);
  // Errors a caller reports for the statuses.
  EXPECT_EQ(YYGridEditorStatusError(kEditorDone), 0);
  EXPECT_EQ(YYGridEditorStatusError(kEditorMenuInsideParent), 1051);
  EXPECT_EQ(YYGridEditorStatusError(kEditorModeChanged), 1052);
  EXPECT_EQ(YYGridEditorStatusError(kEditorNoGridField), 1053);
}

TEST_F(Editor, TheEditorCopiesTheGridFieldAndIsGridZeroOfItsWindow) {
  GridRecord& source = field(kTitledGrid);
  YYGridCellStore(source, 0, 2, 0.0, "Wexford", "");
  WGridPutCellInteger(kTitledGrid, 2, 3, 42);
  YYGridSetColumnTitle(source, 1, "Place");
  ASSERT_EQ(convert(), kEditorDone);
  EXPECT_EQ(cell(0, 2), "Wexford");
  EXPECT_EQ(cell(1, 2), "42");
  EXPECT_EQ(YYGridGetColumnTitle(grid(), 1), "Place");
  EXPECT_EQ(grid().rows, 6);
  EXPECT_EQ(GetDlgCtrlID(record().grid), kEditorGridId);
  // The copy is the editor's own: the field keeps its value.
  put(0, 2, "Sligo");
  std::string kept;
  YYGridCellString(source, 0, 2, kept, 20);
  EXPECT_EQ(std::string(text::trimmed(kept)), "Wexford");
  // Grid 0 is the editor's grid while its window is current.
  std::array<char, 20> text{};
  WGridGetCellString(0, 1, 3, TextField(text.data(), 20));
  EXPECT_EQ(std::string(text::trimmed(std::string_view(text.data(), 20))), "Sligo");
  EXPECT_EQ(GetWindowLongPtrA(window(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(YYGridEditorWndProc));
}

TEST_F(Editor, MenusToolbarAndKeysFollowTheFlagsAndTheGrid) {
  const std::vector<int> all = {kCmdNew,    kCmdOpen,         kCmdSave,        kCmdSaveAs,   kCmdSaveHtml,
                                kCmdPrint,  kCmdPrintSelection, kCmdExit,      kCmdCut,      kCmdCopy,
                                kCmdPaste,  kCmdDelete,       kCmdSelectAll,   kCmdSort,     kCmdInsertBefore,
                                kCmdInsertAfter, kCmdDeleteRow, kCmdFind,      kCmdFindNext, kCmdGotoCell,
                                kCmdGotoRow, kCmdGotoColumn};
  struct Case {
    const char* what;
    int field;
    int flags;
    std::vector<int> absent;
    std::vector<int> buttons;
    std::vector<int> noButtons;
  };
  const Case cases[] = {
      {"everything", kTitledGrid, 0, {}, {kCmdNew, kCmdOpen, kCmdSave, kCmdPrint, kCmdFind, kCmdCut, kCmdCopy, kCmdPaste},
       {}},
      {"a read-only grid", kReadOnlyGrid, 0,
       {kCmdNew, kCmdSave, kCmdSaveAs, kCmdSaveHtml, kCmdSort, kCmdInsertBefore, kCmdInsertAfter, kCmdDeleteRow, kCmdCut,
        kCmdPaste, kCmdDelete},
       {kCmdOpen, kCmdPrint, kCmdFind, kCmdCopy},
       {kCmdNew, kCmdSave, kCmdCut, kCmdPaste}},
      {"no Save", kTitledGrid, kEditorNoSave, {kCmdSave, kCmdSaveAs, kCmdSaveHtml}, {kCmdNew, kCmdOpen}, {kCmdSave}},
      {"no Save As, no HTML", kTitledGrid, kEditorNoSaveAs | kEditorNoSaveHtml, {kCmdSaveAs, kCmdSaveHtml}, {kCmdSave},
       {}},
      {"no New, Open, Print, Find or rows", kTitledGrid,
       kEditorNoNewOpen | kEditorNoPrint | kEditorNoFind | kEditorNoRows,
       {kCmdNew, kCmdOpen, kCmdPrint, kCmdPrintSelection, kCmdFind, kCmdFindNext, kCmdInsertBefore, kCmdInsertAfter,
        kCmdDeleteRow},
       {kCmdSave, kCmdCopy},
       {kCmdNew, kCmdOpen, kCmdPrint, kCmdFind}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(convert(c.flags, c.field), kEditorDone);
    GridEditorRecord& r = record();
    HMENU bar = GetMenu(window());
    ASSERT_EQ(bar, r.menuBar);
    EXPECT_EQ(GetSubMenu(bar, 0), r.file);
    EXPECT_EQ(GetSubMenu(bar, 1), r.edit);
    EXPECT_EQ(GetSubMenu(bar, 2), r.search);
    for (int id : all) {
      const bool wanted = std::find(c.absent.begin(), c.absent.end(), id) == c.absent.end();
      EXPECT_EQ(hasItem(bar, id), wanted) << id;
    }
    for (int id : c.buttons) EXPECT_TRUE(hasButton(r.toolbar, id)) << id;
    for (int id : c.noButtons) EXPECT_FALSE(hasButton(r.toolbar, id)) << id;
    HWND dialog = nullptr;
    YYChildWindowClose(slot_, dialog);
    slot_ = openChild(0x27 | kFlagStatusBar, 0, 520, 420);
    ASSERT_GT(slot_, 0);
    WDialogSelect(kDataDialog);
  }
}

TEST_F(Editor, KeyHintsShowOnlyWithAnAcceleratorTable) {
  ASSERT_EQ(convert(), kEditorDone);
  EXPECT_NE(record().accelerators(), nullptr);
  EXPECT_EQ(itemText(record().file, kCmdSave), "&Save\tCtrl+S");
  EXPECT_EQ(itemText(record().search, kCmdFindNext), "Find &Next\tF3");
  ACCEL keys[16] = {};
  const int count = CopyAcceleratorTableA(record().accelerators(), keys, 16);
  EXPECT_EQ(count, 10);
  const bool shiftI = std::any_of(keys, keys + count, [](const ACCEL& a) {
    return a.key == 'I' && (a.fVirt & FSHIFT) != 0 && (a.fVirt & FCONTROL) != 0 && a.cmd == kCmdInsertAfter;
  });
  EXPECT_TRUE(shiftI);
  HWND dialog = nullptr;
  YYChildWindowClose(slot_, dialog);

  slot_ = openChild(0x27 | kFlagStatusBar, 0, 520, 420);
  WDialogSelect(kDataDialog);
  ASSERT_EQ(convert(kEditorNoSave | kEditorNoPrint | kEditorNoFind | kEditorNoRows | kEditorNoToolbar), kEditorDone);
  EXPECT_NE(record().accelerators(), nullptr);  // New and Open keep their keys
  EXPECT_EQ(record().toolbar, nullptr);
  EXPECT_EQ(itemText(record().file, kCmdOpen), "&Open\tCtrl+O");
  HWND again = nullptr;
  YYChildWindowClose(slot_, again);

  slot_ = openChild(0x27 | kFlagStatusBar, 0, 520, 420);
  WDialogSelect(kDataDialog);
  ASSERT_EQ(convert(kEditorNoNewOpen | kEditorNoSave | kEditorNoPrint | kEditorNoFind | kEditorNoRows), kEditorDone);
  EXPECT_EQ(record().accelerators(), nullptr);
  EXPECT_EQ(GetMenuItemCount(record().file), 1);  // Exit alone
  EXPECT_EQ(itemText(record().file, kCmdExit), "E&xit");
}

TEST_F(Editor, AnAcceleratorReachesTheEditorFromAFocusedCell) {
  ASSERT_EQ(convert(), kEditorDone);
  ui::bringToForeground(window());
  SetFocus(YYGridCellWindow(grid(), 0, 0));
  ui::pumpMessages(50);
  const int rows = grid().rows;
  // Ctrl+I inserts a row before the current one, through the event loop's keys.
  ui::pressKey('I', ui::kCtrl);
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventMenu, event, 3000), kEventMenu);
  EXPECT_EQ(event.value1, kCmdInsertBefore);
  EXPECT_EQ(grid().rows, rows);  // the row count stays without the row-count flag
  EXPECT_EQ(grid().unsaved, 1);
}

TEST_F(Editor, TheStatusBarShowsTheCurrentCell) {
  ASSERT_EQ(convert(), kEditorDone);
  HWND bar = record().statusBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 4);
  std::array<int, 4> edges{};
  SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges.data()));
  EXPECT_EQ(edges, (std::array<int, 4>{30, 90, 140, 200}));
  EXPECT_EQ(statusPart(0), "Row");
  EXPECT_EQ(statusPart(1), "\t\t1");
  EXPECT_EQ(statusPart(2), "\tColumn");
  EXPECT_EQ(statusPart(3), "\t\t1");
  WGridSetCell(0, 3, 4);
  ui::pumpMessages(50);
  EXPECT_EQ(statusPart(1), "\t\t4");
  EXPECT_EQ(statusPart(3), "\t\t3");
  // A click on a cell while the program waits: the program hears the change.
  ui::bringToForeground(window());
  dialog_test::drainEvents();
  ui::clickAt(YYGridCellWindow(grid(), 1, 1), 4, 4);
  EventRecord event;
  ASSERT_EQ(ui::waitEventOfType(kEventFieldChanged, event, 3000), kEventFieldChanged);
  EXPECT_EQ(event.win, slot_);
  EXPECT_EQ(static_cast<std::uint32_t>(event.y), YYGridCellChangeParam(1, 1));
  EXPECT_EQ(static_cast<std::uint32_t>(event.x), YYGridCellChangeParam(2, 3));  // the cell before
  EXPECT_EQ(statusPart(1), "\t\t2");
  EXPECT_EQ(statusPart(3), "\t\t2");
}

TEST_F(Editor, TheWindowShrinksToItsGridAndNeverGrows) {
  RECT before{};
  GetWindowRect(window(), &before);
  ASSERT_EQ(convert(0, kLabelGrid), kEditorDone);
  const SIZE whole = YYGridEditorWholeSize(record());
  RECT after{};
  GetWindowRect(window(), &after);
  ASSERT_LT(whole.cy, before.bottom - before.top);
  EXPECT_EQ(after.bottom - after.top, whole.cy);
  EXPECT_EQ(after.right - after.left, std::min<LONG>(whole.cx, before.right - before.left));
  EXPECT_EQ(after.left, before.left);  // never moved
  // Fewer rows: the window follows; more rows: it stays.
  WGridRows(0, 2);
  RECT smaller{};
  GetWindowRect(window(), &smaller);
  EXPECT_EQ(smaller.bottom - smaller.top, YYGridEditorWholeSize(record()).cy);
  EXPECT_LT(smaller.bottom - smaller.top, after.bottom - after.top);
  WGridRows(0, 3);
  RECT again{};
  GetWindowRect(window(), &again);
  EXPECT_EQ(again.bottom - again.top, smaller.bottom - smaller.top);
  // The maximised size keeps to the grid too.
  MINMAXINFO info{};
  info.ptMaxSize = {5000, 5000};
  info.ptMaxTrackSize = {5000, 5000};
  SendMessageA(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxSize.y, YYGridEditorWholeSize(record()).cy);
  EXPECT_EQ(info.ptMaxTrackSize.x, info.ptMaxSize.x);
  EXPECT_GT(info.ptMinTrackSize.y, 0);
}

TEST(GridEditorSpin, IntegerCellsCutToTheStepAndStopAtTheRange) {
  struct Case {
    double value;
    int delta;
    double small, large, minimum, maximum;
    bool integer;
    double expected;
  };
  const Case cases[] = {
      {7, 5, 1, 5, 1000, -1000, true, 10},      // 12 cut to a multiple of 5
      {-7, -5, 1, 5, 1000, -1000, true, -10},   // -12 cut toward zero
      {7, 1, 1, 5, 1000, -1000, true, 8},
      {7, 5, 1, 5, -100, 9, true, 9},           // clamped: not cut
      {7, 5, 1, 0.5, 1000, -1000, true, 7},     // no whole step: left uncut
      {7.25, 5, 1, 5, 1000, -1000, false, 12.25},
      {0.5, -1, 0.25, 1, 0, 10, false, 0.25},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(YYGridSpinValue(c.value, c.delta, c.small, c.large, c.minimum, c.maximum, c.integer), c.expected)
        << c.value << " by " << c.delta;
  }
}

TEST_F(Editor, TheBuddyOfAnIntegerCellSpinsByTheEditorsRule) {
  ASSERT_EQ(YYGridSetSpinSteps(field(kTitledGrid), 1, 1.0, 5.0), kGridDone);
  ASSERT_EQ(convert(), kEditorDone);
  HWND edit = YYGridCellWindow(grid(), 1, 0);
  ASSERT_NE(edit, nullptr);
  const FieldRecord* cellField = fieldRecordOf(edit);
  ASSERT_NE(cellField, nullptr);
  ASSERT_NE(cellField->arrowControl, nullptr);
  struct Case {
    const char* typed;
    int delta;
    const char* shown;
  };
  const Case cases[] = {{"7", 5, "10"}, {"-7", -5, "-10"}, {"99", 5, "100"}, {"", 1, "1"}};
  for (const Case& c : cases) {
    SetWindowTextA(edit, c.typed);
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    NMUPDOWN change{};
    change.hdr.hwndFrom = cellField->arrowControl;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(cellField->arrowControl));
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = c.delta;
    SendMessageA(window(), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(ui::textOf(edit), c.shown) << c.typed;
    EXPECT_EQ(change.iDelta, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), 0);
  }
}

TEST_F(Editor, ClosingAsksToSaveOnlyWhatCanBeSaved) {
  struct Case {
    const char* what;
    int flags;
    int answer;  // button pressed in the box, 0 none expected
    bool closeEvent;
  };
  const Case cases[] = {
      {"No: the program hears the close", 0, IDNO, true},
      {"Cancel: nothing happens", 0, IDCANCEL, false},
      {"without Save no one is asked", kEditorNoSave, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(convert(c.flags), kEditorDone);
    grid().unsaved = 1;
    dialog_test::drainEvents();
    ui::UiDriver driver;
    if (c.answer != 0) driver.answerNext(ui::UiDriver::press(c.answer));
    PostMessageA(window(), WM_CLOSE, 0, 0);
    EventRecord event;
    const int type = ui::waitEventOfType(kEventClose, event, 1500);
    EXPECT_EQ(type == kEventClose, c.closeEvent);
    if (c.answer != 0) {
      ASSERT_EQ(driver.seen().size(), 1u);
      EXPECT_EQ(driver.seen()[0].title, "Zandrovel Grid Editor");
      ASSERT_FALSE(driver.seen()[0].texts.empty());
      EXPECT_EQ(driver.seen()[0].texts[0], "Do you want to save changes?");
    } else {
      EXPECT_TRUE(driver.seen().empty());
    }
    EXPECT_TRUE(IsWindow(window()));  // the program closes a modeless editor itself
    HWND dialog = nullptr;
    YYChildWindowClose(slot_, dialog);
    slot_ = openChild(0x27 | kFlagStatusBar, 0, 520, 420);
    WDialogSelect(kDataDialog);
  }
}

TEST_F(Editor, AModalEditorRunsUntilItsWindowCloses) {
  ASSERT_EQ(convert(0, kTitledGrid, kShowModal), kEditorDone);
  HWND frame = window();
  put(0, 0, "kept");
  ASSERT_NE(YYGridEditorOfSlot(slot_), nullptr);
  YYGridEditorOfSlot(slot_)->findText = "needle";
  std::string text = "untouched";
  YYGridEditorText(slot_, 1, text, 3);
  EXPECT_EQ(text, "nee");
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0);
  ui::UiDriver driver;
  YYGridEditorModalLoop();  // clears the unsaved word first: no prompt
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(driver.seen().empty());
  EXPECT_EQ(yyGridEditorClosed.unsaved, 0);
  EXPECT_FALSE(slotHasFrame(slot_));

  // What the closed editor left behind stays readable through identifiers -1 and -2.
  YYGridEditorText(-1, 1, text, 1024);
  EXPECT_EQ(text, "needle");
  YYGridEditorText(-1, 4, text, 1024);
  EXPECT_EQ(text, "needle") << "an unknown text leaves the argument alone";
  YYGridEditorText(slot_, 1, text = "left", 1024);
  EXPECT_EQ(text, "left") << "the slot holds no editor any more";
  int closed = -2;
  int value = -9;
  YYGridOption(closed, 6, value);
  EXPECT_EQ(value, 1);
  value = -9;
  YYGridOption(closed, 1, value);
  EXPECT_EQ(value, -9) << "only codes 6 and 7 are kept";
  EXPECT_EQ(closed, -2);
  int missing = 999;
  YYGridOption(missing, 1, value);
  EXPECT_EQ(missing, -1);
}

// A program that quits while its modal editor runs: the loop ends, and the
// window goes with the record it pointed to.
TEST_F(Editor, AModalEditorLeftByQuittingTakesItsWindowDown) {
  ASSERT_EQ(convert(0, kTitledGrid, kShowModal), kEditorDone);
  HWND frame = window();
  PostQuitMessage(0);
  YYGridEditorModalLoop();
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(slotHasFrame(slot_));
  MSG quit{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is handed on";
}

// The editor's dialogs come with the toolkit: the converter program has them.
TEST(GridEditorDialogs, TheProgramHasThemAll) {
  const std::string program = std::string("Z:") + CARROW_PROGRAM_DIR + "/Carrowmapper.exe";
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << program;
  for (int id : {32106, 32107, 32108, 32109, 32112, 32114}) {
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr) << "dialog " << id;
  }
  FreeLibrary(module);
}

TEST(GridEditorTitle, TheFileNameFollowsTheBaseTitleWithoutOverflow) {
  EXPECT_EQ(YYGridEditorTitleText("Grid", ""), "Grid");
  EXPECT_EQ(YYGridEditorTitleText("Grid", "c:\\data\\a.csv"), "Grid - [c:\\data\\a.csv]");
  const std::string longBase(1023, 'b');
  const std::string longName(259, 'n');
  const std::string title = YYGridEditorTitleText(longBase, longName);
  EXPECT_EQ(title.size(), 1023u);
  EXPECT_EQ(title, longBase);
}

}  // namespace
