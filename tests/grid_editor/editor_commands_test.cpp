// The editor's commands used as a person uses them: menu commands, the
// program's dialogs answered by script, the file selector and the boxes.
#include <cstdio>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "toolkit/grid/grid_editor_commands.h"
#include "toolkit/grid/grid_printing.h"
#include "toolkit/drivers/hardcopy_setup.h"

namespace {

using namespace editor_test;

// Fills fields as typing does (the edit is marked modified), then presses a button.
ui::DialogScript setFields(std::vector<std::pair<int, std::string>> fields, int button) {
  return [fields, button](HWND dialog) {
    for (const auto& [id, text] : fields) {
      SetDlgItemTextA(dialog, id, text.c_str());
      SendDlgItemMessageA(dialog, id, EM_SETMODIFY, TRUE, 0);
    }
    ui::UiDriver::press(button)(dialog);
  };
}

// Presses a button of a dialog a while later, from whatever loop runs then:
// for a dialog that a box interrupted, which the driver does not answer twice.
int pendingButton = 0;
void CALLBACK pressPendingButton(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  ui::UiDriver::press(pendingButton)(dialog);
}
void pressLater(HWND dialog, int button, UINT ms = 300) {
  pendingButton = button;
  SetTimer(dialog, 78, ms, pressPendingButton);
}
HWND dialogTitled(const char* title) { return FindWindowA("#32770", title); }

class Commands : public Editor {
 protected:
  void TearDown() override {
    for (const std::string& name : files_) DeleteFileA(name.c_str());
    Editor::TearDown();
  }
  std::string scratch(const std::string& name) {
    const std::string path = folder() + "\\" + name;
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
    files_.push_back(path);
    files_.push_back(path + ".bak");
    return path;
  }
  void fillColumn(int column, const std::vector<std::string>& texts) {
    for (std::size_t r = 0; r < texts.size(); ++r) put(column, static_cast<int>(r), texts[r]);
  }
  std::vector<std::string> files_;
};

TEST_F(Commands, GotoMovesToTheCellRowOrColumnAskedFor) {
  ASSERT_EQ(convert(), kEditorDone);
  ui::UiDriver driver;
  driver.answerNext(setFields({{1002, "3"}, {1004, "5"}}, 1));
  command(kCmdGotoCell);
  EXPECT_EQ(grid().currentColumn, 2);
  EXPECT_EQ(grid().currentRow, 4);

  std::string label;
  driver.answerNext([&label](HWND dialog) {
    label = ui::textOf(GetDlgItem(dialog, 1001));
    setFields({{1002, "2"}}, 1)(dialog);
  });
  command(kCmdGotoRow);
  EXPECT_EQ(label, "&Row");
  EXPECT_EQ(grid().currentRow, 1);
  EXPECT_EQ(grid().currentColumn, 2);  // the column stays

  driver.answerNext(setFields({{1002, "5"}}, 1));
  command(kCmdGotoColumn);
  EXPECT_EQ(grid().currentColumn, 4);
  EXPECT_EQ(grid().currentRow, 1);
  ASSERT_EQ(driver.seen().size(), 3u);
  EXPECT_EQ(driver.seen()[1].title, "Goto Row");
  EXPECT_EQ(driver.seen()[2].title, "Goto Column");
  // The commands leave the last error and the current dialog as they were.
  EXPECT_EQ(errorState.lastError, 0);
  EXPECT_EQ(dialogTable.currentIdentifier, kDataDialog);
  EXPECT_NE(dialog_test::currentDialog(), nullptr);
}

TEST_F(Commands, FindAsksForTheTextAndFindNextGoesOnWithoutADialog) {
  ASSERT_EQ(convert(), kEditorDone);
  fillColumn(0, {"alpha", "beta", "gamma", "Beta", "delta"});
  ui::UiDriver driver;
  // Find Next is greyed until there is a text to find.
  SendMessageA(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(record().search), 2);
  EXPECT_NE(GetMenuState(record().search, kCmdFindNext, MF_BYCOMMAND) & MF_GRAYED, 0u);

  driver.answerNext(ui::UiDriver::typeThenPress(1002, "beta", 1));
  command(kCmdFind);
  EXPECT_EQ(record().findText, "beta");
  EXPECT_EQ(grid().currentRow, 1);
  SendMessageA(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(record().search), 2);
  EXPECT_EQ(GetMenuState(record().search, kCmdFindNext, MF_BYCOMMAND) & MF_GRAYED, 0u);

  command(kCmdFindNext);  // case is ignored unless asked
  EXPECT_EQ(grid().currentRow, 3);
  EXPECT_EQ(driver.seen().size(), 1u);

  driver.answerNext(ui::UiDriver::press(IDOK));
  command(kCmdFindNext);
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].title, "Find");
  EXPECT_EQ(driver.seen()[1].texts[0], "End of grid reached");

  // Match case: only the capitalised one, searched after the current cell.
  WGridSetCell(0, 1, 1);
  driver.answerNext([](HWND dialog) {
    CheckDlgButton(dialog, 1003, BST_CHECKED);
    ui::UiDriver::typeThenPress(1002, "Beta", 1)(dialog);
  });
  command(kCmdFind);
  EXPECT_EQ(record().matchCase, 1);
  EXPECT_EQ(grid().currentRow, 3);
}

TEST_F(Commands, FindWithAnEmptyTextBeepsAndWaitsAndCancelSearchesNothing) {
  ASSERT_EQ(convert(), kEditorDone);
  fillColumn(0, {"alpha", "beta"});
  ui::UiDriver driver;
  int presses = 0;
  driver.answerNext([&presses](HWND dialog) {
    ++presses;
    ui::UiDriver::typeThenPress(1002, "", 1)(dialog);
    pressLater(dialog, 2);  // still open after the empty press: cancel it
  });
  command(kCmdFind);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(record().findText, "");
  EXPECT_EQ(grid().currentRow, 0);
}

TEST_F(Commands, AGridWithoutTextOrNumbersCannotBeSearched) {
  ASSERT_EQ(convert(0, kChecksGrid), kEditorDone);
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  command(kCmdFind);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].texts[0], "Grid contains no searchable columns");
}

TEST_F(Commands, SortListsUntitledColumnsByNumberAndSortsAllRows) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  WGridRows(0, 4);
  fillColumn(0, {"3", "1", "4", "2"});
  fillColumn(1, {"c", "a", "d", "b"});
  ui::UiDriver driver;
  std::vector<std::string> listed;
  driver.answerNext([&listed](HWND dialog) {
    HWND list = GetDlgItem(dialog, 1002);
    const int n = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[64] = {};
      SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      listed.push_back(text);
    }
    SendMessageA(list, CB_SETCURSEL, 1, 0);
    CheckRadioButton(dialog, 1004, 1005, 1005);
    ui::UiDriver::press(1)(dialog);
  });
  dialog_test::drainEvents();
  EventRecord event;
  ASSERT_EQ(commandThenMenuEvent(kCmdSort, event), kEventMenu);
  EXPECT_EQ(event.value1, kCmdSort);
  EXPECT_EQ(listed, (std::vector<std::string>{"Column 1", "Column 2", "Column 3"}));
  const std::vector<std::string> sorted = {cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)};
  EXPECT_EQ(sorted, (std::vector<std::string>{"d", "c", "b", "a"}));
  EXPECT_EQ(cell(0, 0), "4");  // whole rows move
  EXPECT_EQ(cell(0, 3), "1");
  EXPECT_EQ(yyGridEditorSort.order, 2);
  yyGridEditorSort = GridEditorSortSettings{};
}

TEST_F(Commands, InsertAndDeleteRowsFollowTheRowCountFlag) {
  ASSERT_EQ(convert(kEditorRowCount, kPlainGrid), kEditorDone);
  WGridRows(0, 3);
  fillColumn(0, {"one", "two", "three"});
  WGridSetCell(0, 1, 2);
  command(kCmdInsertBefore);
  EXPECT_EQ(grid().rows, 4);
  EXPECT_EQ(cell(0, 1), "");
  EXPECT_EQ(cell(0, 2), "two");
  EXPECT_EQ(grid().unsaved, 1);

  command(kCmdInsertAfter);
  EXPECT_EQ(grid().rows, 5);
  EXPECT_EQ(cell(0, 2), "");
  EXPECT_EQ(cell(0, 3), "two");

  // After the last row: the grid grows by an empty row.
  WGridSetCell(0, 1, 5);
  command(kCmdInsertAfter);
  EXPECT_EQ(grid().rows, 6);
  EXPECT_EQ(cell(0, 4), "three");
  EXPECT_EQ(cell(0, 5), "");

  // Delete Row takes the current row away.
  WGridSetCell(0, 1, 1);
  command(kCmdDeleteRow);
  EXPECT_EQ(grid().rows, 5);
  EXPECT_EQ(cell(0, 0), "");
  EXPECT_EQ(cell(0, 3), "three");
}

TEST_F(Commands, WithoutTheRowCountFlagTheLastRowCannotGrowAndOneRowIsDeleted) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  WGridRows(0, 2);
  fillColumn(0, {"one", "two"});
  WGridSetCell(0, 1, 2);
  command(kCmdInsertAfter);
  EXPECT_EQ(grid().rows, 2);
  EXPECT_EQ(cell(0, 1), "two");
  command(kCmdDeleteRow);
  EXPECT_EQ(grid().rows, 2);  // the last row is emptied, the count stays
  EXPECT_EQ(cell(0, 0), "one");
  EXPECT_EQ(cell(0, 1), "");
}

TEST_F(Commands, DeletingTheOnlyRowEmptiesIt) {
  ASSERT_EQ(convert(kEditorRowCount | kEditorRowLabels, kLabelGrid), kEditorDone);
  WGridRows(0, 1);
  put(0, 0, "only");
  command(kCmdDeleteRow);
  EXPECT_EQ(grid().rows, 1);
  EXPECT_EQ(cell(0, 0), "");
  EXPECT_EQ(YYGridGetRowLabel(grid(), 0), "");
}

TEST_F(Commands, SaveWithoutANameAsksForOneThenSavesUnderIt) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  WGridRows(0, 2);
  fillColumn(0, {"north", "south"});
  grid().unsaved = 1;
  const std::string name = scratch("editor_saved.csv");
  ui::UiDriver driver;
  driver.answerNext(chooseFile(name));
  dialog_test::drainEvents();
  command(kCmdSave);
  ASSERT_EQ(driver.seen().size(), 1u);  // the file selector, nothing else
  const std::string text = readFile(name);
  EXPECT_NE(text.find("north"), std::string::npos) << text;
  EXPECT_NE(text.find("south"), std::string::npos) << text;
  EXPECT_EQ(record().fileName, name);
  EXPECT_EQ(ui::textOf(window()), "Grid editor - [" + name + "]");
  EXPECT_EQ(grid().unsaved, 0);
  // Save again: no question, the same file.
  put(0, 0, "east");
  command(kCmdSave);
  EXPECT_EQ(driver.seen().size(), 1u);
  EXPECT_NE(readFile(name).find("east"), std::string::npos);
}

TEST_F(Commands, AFailedBackupCopyStillSavesAndLeavesError13) {
  ASSERT_EQ(convert(kEditorBackup, kPlainGrid), kEditorDone);
  put(0, 0, "kept");
  const std::string name = scratch("editor_backup.csv");
  errorState.lastError = 0;
  int success = 0;
  int index = 1;
  std::string file = name;
  YYGEDSAVECSV(slot_, 0, success, index, 1, file, "");
  EXPECT_EQ(success, 1);
  EXPECT_NE(readFile(name).find("kept"), std::string::npos);
  EXPECT_EQ(errorState.lastError, 13);
  // With the file there, the copy works and the error is put back.
  errorState.lastError = 0;
  YYGEDSAVECSV(slot_, 0, success, index, 1, file, "");
  EXPECT_EQ(success, 1);
  EXPECT_NE(readFile(name + ".bak").find("kept"), std::string::npos);
  EXPECT_EQ(errorState.lastError, 0);
}

TEST(GridHtmlName, TheExtensionIsTakenFromTheLastPathComponentOnly) {
  struct Case {
    const char* file;
    const char* proposed;
  };
  const Case cases[] = {
      {"c:\\data\\grid.csv", "c:\\data\\grid.htm"},
      {"c:\\my.dir\\grid", "c:\\my.dir\\grid.htm"},
      {"grid", "grid.htm"},
      {"c:\\data\\grid.2026.csv", "c:\\data\\grid.2026.htm"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(YYGridHtmlNameProposal(c.file), c.proposed) << c.file;
}

TEST_F(Commands, SaveAsHtmlProposesTheEditorsNameAndWritesThePage) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  WGridRows(0, 2);
  fillColumn(0, {"north", "south"});
  const std::string csv = scratch("editor_page.csv");
  const std::string html = scratch("editor_page.htm");
  record().fileName = csv;
  ui::UiDriver driver;
  std::string proposed;
  bool selectedEnabled = true;
  driver.answerNext([&](HWND dialog) {
    proposed = ui::textOf(GetDlgItem(dialog, 1002));
    selectedEnabled = IsWindowEnabled(GetDlgItem(dialog, 1018)) != 0;
    SetDlgItemTextA(dialog, 1013, "Compass");
    ui::UiDriver::press(1)(dialog);
  });
  command(kCmdSaveHtml);
  EXPECT_EQ(proposed, html);
  EXPECT_FALSE(selectedEnabled);  // no block selected
  const std::string page = readFile(html);
  EXPECT_NE(page.find("<table"), std::string::npos) << page;
  EXPECT_NE(page.find("south"), std::string::npos) << page;
  EXPECT_NE(page.find("Compass"), std::string::npos) << page;
  EXPECT_EQ(yyGridEditorHtml.title, "Compass");

  // The file is there now: a typed name asks before replacing it; No keeps
  // the dialog open, and Cancel then ends it.
  driver.answerNext(ui::UiDriver::press(1));
  driver.answerNext([](HWND box) {
    pressLater(dialogTitled("Save As HTML"), 2);
    ui::UiDriver::press(IDNO)(box);
  });
  command(kCmdSaveHtml);
  ASSERT_EQ(driver.seen().size(), 3u);
  EXPECT_EQ(driver.seen()[2].title, "Select File");
  EXPECT_EQ(driver.seen()[2].texts[0], html + " already exists\rDo you want to replace it?");
  yyGridEditorHtml = GridEditorHtmlSettings{};
}

TEST_F(Commands, SaveAsHtmlWithABlankNameAsksForOne) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(1));
  driver.answerNext([](HWND box) {
    pressLater(dialogTitled("Save As HTML"), 2);
    ui::UiDriver::press(IDOK)(box);
  });
  command(kCmdSaveHtml);
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].title, "Select File");
  EXPECT_EQ(driver.seen()[1].texts[0], "You must enter a filename");
}

TEST_F(Commands, LoadingANonNumericValueWarnsAndStillLoads) {
  ASSERT_EQ(convert(kEditorRowCount), kEditorDone);
  const std::string name = scratch("editor_load.csv");
  {
    std::ofstream out(name, std::ios::binary);
    out << "Clare,abc\r\nMayo,7\r\n";
  }
  ui::UiDriver driver;
  driver.answerNext(chooseFile(name));
  driver.answerNext(ui::UiDriver::press(IDOK));
  dialog_test::drainEvents();
  EventRecord event;
  ASSERT_EQ(commandThenMenuEvent(kCmdOpen, event), kEventMenu);
  EXPECT_EQ(event.value1, kCmdOpen);
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].title, "Data Error");
  EXPECT_EQ(driver.seen()[1].texts[0], "Non-numeric data found for numeric cell");
  EXPECT_EQ(cell(0, 0), "Clare");
  EXPECT_EQ(cell(1, 0), "");
  EXPECT_EQ(cell(0, 1), "Mayo");
  EXPECT_EQ(cell(1, 1), "7");
  EXPECT_EQ(record().fileName, name);
  EXPECT_EQ(grid().unsaved, 0);
}

TEST_F(Commands, LoadingAMissingFileSaysSoAndLoadsNothing) {
  ASSERT_EQ(convert(), kEditorDone);
  put(0, 0, "stays");
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  int success = -1;
  int index = 1;
  std::string name = folder() + "\\no_such_grid.csv";
  errorState.lastError = 0;
  YYGEDLOADCSV(slot_, 0, 0, success, index, name, "");
  EXPECT_EQ(success, 0);
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "File Error");
  EXPECT_EQ(driver.seen()[0].texts[0], "Error opening file");
  EXPECT_EQ(cell(0, 0), "stays");
  EXPECT_EQ(errorState.lastError, 0);  // loading puts the error back
}

// Printing from the editor: its dialog, then the grid on a metafile.
HENHMETAFILE printedPage = nullptr;
HDC openMetafile(const GridPrintSettings&) { return CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }
void closeMetafile(HDC dc) {
  if (printedPage != nullptr) DeleteEnhMetaFile(printedPage);
  printedPage = CloseEnhMetaFile(dc);
}
std::string printedName;
int startDoc(HDC, const char* name) {
  printedName = name;
  return 1;
}
int pageCall(HDC) { return 1; }
// The default printer: letter paper with inch margins; the dialog is never shown.
BOOL letterPaper(PAGESETUPDLGA& request) {
  if ((request.Flags & PSD_RETURNDEFAULT) == 0) return FALSE;
  request.hDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  request.hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 16);
  request.Flags |= PSD_INTHOUSANDTHSOFINCHES;
  request.ptPaperSize = {8500, 11000};
  request.rtMargin = {1000, 1000, 1000, 1000};
  return TRUE;
}

TEST_F(Commands, PrintAsksForTheSettingsAndPrintsUnderTheFileName) {
  ASSERT_EQ(convert(0, kPlainGrid), kEditorDone);
  fillColumn(0, {"north"});
  record().fileName = "c:\\grids\\compass.csv";
  const GridPrinterProvider saved = yyGridPrinterProvider;
  const int present = yyDumpSettings.printerPresent;
  GridPrinterProvider fake;
  fake.pageSetup = letterPaper;
  fake.open = openMetafile;
  fake.close = closeMetafile;
  fake.startDoc = startDoc;
  fake.startPage = fake.endPage = fake.endDoc = pageCall;
  yyGridPrinterProvider = fake;
  yyGridPrintInitialised = 0;
  yyDumpSettings.printerPresent = 1;

  ui::UiDriver driver;
  bool rowLines = false;
  driver.answerNext([&rowLines](HWND dialog) {
    rowLines = IsDlgButtonChecked(dialog, 1002) == BST_CHECKED;
    CheckDlgButton(dialog, 1003, BST_UNCHECKED);
    CheckRadioButton(dialog, 1008, 1010, 1008);
    SetDlgItemTextA(dialog, 1012, "50");
    SendDlgItemMessageA(dialog, 1012, EM_SETMODIFY, TRUE, 0);
    ui::UiDriver::press(1)(dialog);
  });
  dialog_test::drainEvents();
  EventRecord event;
  ASSERT_EQ(commandThenMenuEvent(kCmdPrint, event), kEventMenu);
  EXPECT_EQ(event.value1, kCmdPrint);
  EXPECT_TRUE(rowLines);
  EXPECT_EQ(printedName, "c:\\grids\\compass.csv");
  EXPECT_NE(printedPage, nullptr);
  int r = 0, c = 1, e = 0, t = 1, b = 1, s = 0;
  YYGridPrintSettingsGet(r, c, e, t, b, s, 2);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(t, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(s, 50);

  // Without a printer the editor says so before anything else.
  yyDumpSettings.printerPresent = 0;
  driver.answerNext(ui::UiDriver::press(IDOK));
  command(kCmdPrint);
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].title, "Error");
  EXPECT_EQ(driver.seen()[1].texts[0], "No printer installed");

  yyGridPrinterProvider = saved;
  yyGridPrintInitialised = 0;
  yyDumpSettings.printerPresent = present;
  if (printedPage != nullptr) DeleteEnhMetaFile(printedPage);
  printedPage = nullptr;
}

}  // namespace
