// A grid printed as a table: the page plan worked out from a grid record, the
// settings of the two sets, the printer's failures, pages captured as
// enhanced metafiles, and one grid printed on the PDF printer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/ui_driver.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_printing.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit_dialogs/dialog_fixture.h"

namespace {

// -- The page plan, from a grid record without windows -----------------------

// Every character prints 10 pixels wide; the text is 20 high, 10 wide on average.
int tenPerCharacter(int, std::string_view text) { return 10 * static_cast<int>(text.size()); }

GridPrintMetrics metrics(int rightEdge, int bottomEdge, int rowLines = 1, int everyPage = 1) {
  GridPrintMetrics m;
  m.textHeight = 20;
  m.averageWidth = 10;
  m.printerDpiX = 96;
  m.screenDpiX = 96;
  m.scale = 100;
  m.left = 100;
  m.rightEdge = rightEdge;
  m.top = 100;
  m.bottomEdge = bottomEdge;
  m.rowLines = rowLines;
  m.headingsEveryPage = everyPage;
  return m;
}

GridRecord textGrid(std::vector<int> widths, int rows, LONG style) {
  GridRecord grid;
  grid.style = style;
  for (int width : widths) {
    GridColumn column;
    column.type = kGridString;
    column.textWidth = 20;
    column.width = width;
    grid.columnList.push_back(column);
  }
  grid.columns = static_cast<int>(widths.size());
  grid.rows = grid.rowsAllocated = rows;
  grid.labels.assign(static_cast<std::size_t>(rows), std::string());
  for (GridColumn& column : grid.columnList) EXPECT_TRUE(YYGridAllocateColumn(column, rows));
  grid.defined = 1;
  return grid;
}

struct PageRows {
  int first, last;
};
std::vector<PageRows> rowsOf(const GridPrintPlan& plan) {
  std::vector<PageRows> rows;
  for (const GridPrintPage& page : plan.pages) rows.push_back({page.firstRow, page.lastRow});
  return rows;
}

TEST(GridPrintPlan, ABlockOfNoColumnsPrintsTheRowLabelsOnly) {
  GridRecord grid = textGrid({}, 3, kGridRowLabelStyle);
  grid.labelWidth = 30;
  YYGridSetRowLabel(grid, 1, "Somewhat longer label");
  const GridPrintPlan plan = YYGridPrintLayout(grid, 0, 2, 0, -1, metrics(1100, 1000), tenPerCharacter);
  ASSERT_EQ(plan.pages.size(), 1u);
  const GridPrintPage& page = plan.pages[0];
  EXPECT_TRUE(page.labels);
  EXPECT_TRUE(page.columns.empty());
  // The label column takes the longest label of the grid and an average width.
  EXPECT_EQ(page.labelWidth, 21 * 10 + 10);
  EXPECT_EQ(page.endX, 100 + page.labelWidth);
  EXPECT_TRUE(page.lastOfBlock);
}

TEST(GridPrintPlan, AColumnWiderThanThePageIsCutAndTheNextStartsANewPage) {
  GridRecord grid = textGrid({300, 2000, 200}, 2, 0);
  YYGridStoreText(grid.columnList[2], 0, "twenty characters...");
  const GridPrintPlan plan = YYGridPrintLayout(grid, 0, 1, 0, 2, metrics(1100, 1000), tenPerCharacter);
  ASSERT_EQ(plan.pages.size(), 3u);
  ASSERT_EQ(plan.pages[0].columns.size(), 1u);
  EXPECT_EQ(plan.pages[0].columns[0].x, 100);
  EXPECT_EQ(plan.pages[0].columns[0].width, 300);
  ASSERT_EQ(plan.pages[1].columns.size(), 1u);
  EXPECT_EQ(plan.pages[1].columns[0].column, 1);
  EXPECT_EQ(plan.pages[1].columns[0].x, 100);
  EXPECT_EQ(plan.pages[1].columns[0].width, 1000);  // cut to the room between the margins
  ASSERT_EQ(plan.pages[2].columns.size(), 1u);
  EXPECT_EQ(plan.pages[2].columns[0].column, 2);
  EXPECT_EQ(plan.pages[2].columns[0].width, 20 * 10 + 10);  // widened to its longest text
  EXPECT_FALSE(plan.pages[0].lastOfBlock);
  EXPECT_TRUE(plan.pages[2].lastOfBlock);
  for (const GridPrintPage& page : plan.pages) {
    EXPECT_EQ(page.firstRow, 0);
    EXPECT_EQ(page.lastRow, 1);
  }
}

// Rows 30 apart with row lines (1.5 text heights); 300 pixels between the margins.
TEST(GridPrintPlan, RowsPerPageFollowTheHeadingRowAndWhereTheTitlesGo) {
  struct Case {
    const char* what;
    LONG style;
    int everyPage;
    int rowLines;
    std::vector<PageRows> rows;
    std::vector<bool> titles;
  };
  const Case cases[] = {
      {"no heading row: every page alike", 0, 1, 1, {{0, 9}, {10, 19}, {20, 24}}, {false, false, false}},
      {"titles on every page take a row of each", kGridHeadingStyle, 1, 1, {{0, 8}, {9, 17}, {18, 24}},
       {true, true, true}},
      {"titles on the first page only: it holds one row fewer", kGridHeadingStyle, 0, 1, {{0, 8}, {9, 18}, {19, 24}},
       {true, false, false}},
      {"without row lines rows are one text height apart", 0, 1, 0, {{0, 14}, {15, 24}}, {false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GridRecord grid = textGrid({100}, 25, c.style);
    const GridPrintPlan plan =
        YYGridPrintLayout(grid, 0, 24, 0, 0, metrics(1100, 400, c.rowLines, c.everyPage), tenPerCharacter);
    ASSERT_EQ(plan.pages.size(), c.rows.size());
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
      EXPECT_EQ(plan.pages[i].firstRow, c.rows[i].first) << "page " << i;
      EXPECT_EQ(plan.pages[i].lastRow, c.rows[i].last) << "page " << i;
      EXPECT_EQ(plan.pages[i].titles, c.titles[i]) << "page " << i;
    }
  }
}

TEST(GridPrintPlan, APageTooShortForARowStillPrintsOneRowPerPage) {
  GridRecord grid = textGrid({100}, 3, kGridHeadingStyle);
  const GridPrintPlan plan = YYGridPrintLayout(grid, 0, 2, 0, 0, metrics(1100, 110), tenPerCharacter);
  EXPECT_EQ(plan.rowsPerPage, 1);
  ASSERT_EQ(plan.pages.size(), 3u);
  EXPECT_EQ(plan.pages[2].firstRow, 2);
}

TEST(GridPrintPlan, ColumnsThatDoNotFitContinueOnPagesWithTheSameRows) {
  GridRecord grid = textGrid({400, 400, 400}, 4, kGridRowLabelStyle | kGridHeadingStyle);
  grid.labelWidth = 50;
  for (bool everyPage : {true, false}) {
    SCOPED_TRACE(everyPage ? "headings on every page" : "headings on the first page");
    const GridPrintPlan plan =
        YYGridPrintLayout(grid, 0, 3, 0, 2, metrics(1100, 1000, 1, everyPage ? 1 : 0), tenPerCharacter);
    ASSERT_EQ(plan.pages.size(), 2u);
    EXPECT_EQ(rowsOf(plan)[1].first, 0);
    EXPECT_EQ(rowsOf(plan)[1].last, 3);
    EXPECT_TRUE(plan.pages[0].labels);
    EXPECT_EQ(plan.pages[1].labels, everyPage);
    EXPECT_EQ(plan.pages[1].columns[0].x, everyPage ? 150 : 100);
    // Both pages belong to the first range of rows: both carry the titles.
    EXPECT_TRUE(plan.pages[1].titles);
  }
}

TEST(GridPrintPlan, TheScaleAndThePrinterResolutionWidenTheColumns) {
  GridRecord grid = textGrid({100}, 1, 0);
  GridPrintMetrics m = metrics(5000, 1000);
  m.printerDpiX = 300;
  m.scale = 50;
  const GridPrintPlan plan = YYGridPrintLayout(grid, 0, 0, 0, 0, m, tenPerCharacter);
  EXPECT_EQ(plan.pages[0].columns[0].width, 100 * 300 * 50 / (96 * 100));
}

TEST(GridPrintColours, CellColoursComeFromTheCellThenTheColumnAndOnlyWhenSwitchedOn) {
  GridRecord grid = textGrid({100, 100}, 2, 0);
  grid.columnList[1].textColour = RGB(0, 0, 200);
  grid.columnList[1].backgroundColour = RGB(250, 250, 0);
  ASSERT_EQ(YYGridSetCellColour(grid, 0, 1, GridRgb{200, 0, 0}, GridRgb{0, 200, 0}), kGridDone);
  struct Case {
    int column, row, textOn, backgroundOn;
    COLORREF text;
    int background;
  };
  const Case cases[] = {
      {0, 1, 1, 1, RGB(200, 0, 0), static_cast<int>(RGB(0, 200, 0))},
      {0, 0, 1, 1, RGB(0, 0, 0), -1},  // the column has entries, this cell none: black, unfilled
      {1, 0, 1, 1, RGB(0, 0, 200), static_cast<int>(RGB(250, 250, 0))},
      {0, 1, 0, 0, RGB(0, 0, 0), -1},
      {1, 1, 0, 1, RGB(0, 0, 0), static_cast<int>(RGB(250, 250, 0))},
  };
  for (const Case& c : cases) {
    const GridPrintColours colours = YYGridPrintCellColours(grid, c.column, c.row, c.textOn, c.backgroundOn);
    EXPECT_EQ(colours.text, c.text) << c.column << "," << c.row;
    EXPECT_EQ(colours.background, c.background) << c.column << "," << c.row;
  }
}

// -- The settings, through a printer of the test's own ----------------------

int fakeColours = 256;
int pageSetups = 0;
BOOL defaultsOnly = TRUE;
BOOL (*dialogAnswer)(PAGESETUPDLGA&) = nullptr;

BOOL fakePageSetup(PAGESETUPDLGA& request) {
  ++pageSetups;
  if ((request.Flags & PSD_RETURNDEFAULT) == 0) return dialogAnswer != nullptr ? dialogAnswer(request) : FALSE;
  if (!defaultsOnly) return FALSE;
  request.hDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  auto* mode = static_cast<DEVMODEA*>(GlobalLock(request.hDevMode));
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmOrientation = DMORIENT_PORTRAIT;
  GlobalUnlock(request.hDevMode);
  request.hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 16);
  request.Flags |= PSD_INTHOUSANDTHSOFINCHES;
  request.ptPaperSize = {8500, 11000};
  request.rtMargin = {1000, 1000, 1000, 1000};
  return TRUE;
}
int fakeColourCount(const GridPrintSettings&) { return fakeColours; }

// Pages are recorded into one memory metafile; each page begins with a
// comment that marks it.
HENHMETAFILE recorded = nullptr;
int startDocResult = 1;
std::string documentName;
HDC openMetafile(const GridPrintSettings&) { return CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }
HDC openNothing(const GridPrintSettings&) { return nullptr; }
void closeMetafile(HDC dc) {
  if (recorded != nullptr) DeleteEnhMetaFile(recorded);
  recorded = CloseEnhMetaFile(dc);
}
int startDoc(HDC, const char* name) {
  documentName = name;
  return startDocResult;
}
constexpr char kPageMark[] = "GRIDPAGE";
int startPage(HDC dc) { return GdiComment(dc, sizeof kPageMark, reinterpret_cast<const BYTE*>(kPageMark)) ? 1 : 0; }
int noop(HDC) { return 1; }

GridPrinterProvider metafilePrinter() {
  GridPrinterProvider p;
  p.pageSetup = fakePageSetup;
  p.colourCount = fakeColourCount;
  p.open = openMetafile;
  p.close = closeMetafile;
  p.startDoc = startDoc;
  p.startPage = startPage;
  p.endPage = noop;
  p.endDoc = noop;
  return p;
}

// One text drawn on a page.
struct PrintedText {
  int page = 0;
  std::string text;
  int x = 0, y = 0;
};
struct Capture {
  int pages = 0;
  std::vector<PrintedText> texts;
  std::vector<std::string> fontFaces;
  std::vector<int> fontCharsets;
};

int CALLBACK collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto& capture = *reinterpret_cast<Capture*>(data);
  const auto* bytes = reinterpret_cast<const BYTE*>(record);
  if (record->iType == EMR_GDICOMMENT) {
    const auto* comment = reinterpret_cast<const EMRGDICOMMENT*>(record);
    if (comment->cbData == sizeof kPageMark && std::string(reinterpret_cast<const char*>(comment->Data)) == kPageMark) {
      ++capture.pages;
    }
  } else if (record->iType == EMR_EXTTEXTOUTW || record->iType == EMR_EXTTEXTOUTA) {
    const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    PrintedText printed{capture.pages, "", out->emrtext.ptlReference.x, out->emrtext.ptlReference.y};
    for (DWORD i = 0; i < out->emrtext.nChars; ++i) {
      const unsigned code = record->iType == EMR_EXTTEXTOUTW
                                ? reinterpret_cast<const WCHAR*>(bytes + out->emrtext.offString)[i]
                                : bytes[out->emrtext.offString + i];
      printed.text += static_cast<char>(code & 0xFF);
    }
    capture.texts.push_back(printed);
  } else if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
    const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
    std::string face;
    for (const WCHAR* c = font->elfw.elfLogFont.lfFaceName; *c != 0; ++c) face += static_cast<char>(*c);
    capture.fontFaces.push_back(face);
    capture.fontCharsets.push_back(font->elfw.elfLogFont.lfCharSet);
  }
  return 1;
}

Capture captured() {
  Capture capture;
  if (recorded != nullptr) EnumEnhMetaFile(nullptr, recorded, collect, &capture, nullptr);
  return capture;
}

const PrintedText* findText(const Capture& capture, const std::string& text, int page = -1) {
  for (const PrintedText& t : capture.texts) {
    if (t.text == text && (page < 0 || t.page == page)) return &t;
  }
  return nullptr;
}

constexpr int kDataDialog = 400;
constexpr int kTitledGrid = 410;

class GridPrinting : public dialog_test::RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    saved_ = yyGridPrinterProvider;
    yyGridPrinterProvider = metafilePrinter();
    yyGridPrintInitialised = 0;
    fakeColours = 256;
    pageSetups = 0;
    defaultsOnly = TRUE;
    dialogAnswer = nullptr;
    startDocResult = 1;
    documentName.clear();
    WDialogLoad(kDataDialog);
    ASSERT_NE(dialog_test::currentDialog(), nullptr);
  }
  void TearDown() override {
    WDialogUnload();
    yyGridPrinterProvider = saved_;
    yyGridPrintInitialised = 0;
    if (recorded != nullptr) DeleteEnhMetaFile(recorded);
    recorded = nullptr;
    RootWindow::TearDown();
  }
  static GridRecord& grid() { return *gridRecordOf(dialog_test::item(kTitledGrid)); }
  // Places with their counts, a ratio, a check and a side.
  static void fillPlaces() {
    GridRecord& g = grid();
    const char* titles[] = {"Place", "Count", "Ratio", "Done", "Side"};
    for (int c = 0; c < 5; ++c) YYGridSetColumnTitle(g, c + 1, titles[c]);
    const char* places[] = {"Kilkenny", "Donegal", "Wexford", "Sligo", "Mayo", "Clare"};
    for (int r = 0; r < 6; ++r) {
      ASSERT_EQ(YYGridCellStore(g, 0, r, 0.0, places[r], ""), kGridDone);
      WGridPutCellInteger(kTitledGrid, 2, r + 1, 12 + r);  // inside the spin range
    }
    WGridPutCellReal(kTitledGrid, 3, 1, 2.5f, "(F5.1)");
    WGridPutCellReal(kTitledGrid, 3, 2, 12.75f, "(F6.2)");
    WGridPutCellCheckBox(kTitledGrid, 4, 1, 1);
  }

  GridPrinterProvider saved_;
};

TEST_F(GridPrinting, BothSetsStartFromTheDefaultPrinterWithoutADialog) {
  int rowLines = 0, columnLines = 0, everyPage = 0, text = 0, background = 0, scale = 0;
  YYGridPrintSettingsGet(rowLines, columnLines, everyPage, text, background, scale, 1);
  EXPECT_EQ(pageSetups, 2);
  EXPECT_EQ(rowLines + columnLines + everyPage + text + background, 5);
  EXPECT_EQ(scale, 100);
  EXPECT_EQ(YYGridPrintSet(1).units, kUnitsInches);
  YYGridPrintSettingsGet(rowLines, columnLines, everyPage, text, background, scale, 2);
  EXPECT_EQ(pageSetups, 2);  // once only

  // Any value but 1 switches off.
  YYGridPrintSettingsSet(1, 7, 0, -1, 1, 80, 5);
  YYGridPrintSettingsGet(rowLines, columnLines, everyPage, text, background, scale, 2);
  EXPECT_EQ(rowLines, 1);
  EXPECT_EQ(columnLines, 0);
  EXPECT_EQ(everyPage, 0);
  EXPECT_EQ(text, 0);
  EXPECT_EQ(background, 1);
  EXPECT_EQ(scale, 80);
  YYGridPrintSettingsGet(rowLines, columnLines, everyPage, text, background, scale, 1);
  EXPECT_EQ(columnLines, 1);  // set 1 is untouched
}

TEST_F(GridPrinting, ATwoColourPrinterPrintsNeitherColourInEitherSet) {
  fakeColours = 2;
  for (int set : {1, 2}) {
    int rowLines = 0, columnLines = 0, everyPage = 0, text = 1, background = 1, scale = 0;
    YYGridPrintSettingsGet(rowLines, columnLines, everyPage, text, background, scale, set);
    EXPECT_EQ(text, 0) << "set " << set;
    EXPECT_EQ(background, 0) << "set " << set;
  }
}

TEST_F(GridPrinting, UnitsChangeTruncatesOneInchTo2540AndBackTo999) {
  YYGridPrintInit();
  GridPrintSettings& set = YYGridPrintSet(2);
  ASSERT_EQ(set.request.rtMargin.left, 1000);
  // The page set-up converts to the units asked for even when it is cancelled.
  YYGridPageSetup(2, 2);
  EXPECT_EQ(set.units, kUnitsMillimetres);
  EXPECT_EQ(set.request.rtMargin.left, 2540);
  EXPECT_EQ(set.request.ptPaperSize.x, 21595);
  EXPECT_NE(set.request.Flags & PSD_MARGINS, 0u);
  EXPECT_EQ(set.request.Flags & PSD_RETURNDEFAULT, 0u);
  YYGridPageSetup(1, 2);
  EXPECT_EQ(set.units, kUnitsInches);
  EXPECT_EQ(set.request.rtMargin.left, 999);

  // The locale's measurement system chooses when the units are -1.
  char system[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, system, sizeof system);
  const bool inches = std::string(system) == "1";
  YYGridPageSetup(inches ? 2 : 1, 1);
  YYGridPageSetup(-1, 1);
  EXPECT_EQ(YYGridPrintSet(1).units, inches ? kUnitsInches : kUnitsMillimetres);
  EXPECT_EQ(YYGridPrintSet(1).request.rtMargin.top, inches ? 999 : 2540);
}

TEST_F(GridPrinting, MarginOptionsAreInPointsAndOrientationTurnsThePaper) {
  YYGridPrintInit();
  GridPrintSettings& set = YYGridPrintSet(1);
  YYGridPrintOption(3, 36, 1);
  YYGridPrintOption(4, 72, 1);
  YYGridPrintOption(1, 18, 1);
  YYGridPrintOption(2, 144, 1);
  EXPECT_EQ(set.request.rtMargin.left, 500);
  EXPECT_EQ(set.request.rtMargin.top, 1000);
  EXPECT_EQ(set.request.rtMargin.right, 250);
  EXPECT_EQ(set.request.rtMargin.bottom, 2000);
  YYGridPrintOption(5, 2, 1);
  EXPECT_EQ(set.request.ptPaperSize.x, 11000);
  EXPECT_EQ(set.request.ptPaperSize.y, 8500);
  YYGridPrintOption(5, 4, 1);  // landscape already: the paper stays
  EXPECT_EQ(set.request.ptPaperSize.x, 11000);
  YYGridPrintOption(5, 3, 1);
  EXPECT_EQ(set.request.ptPaperSize.x, 8500);
}

TEST_F(GridPrinting, WithoutAPrinterOrADocumentNothingIsPrinted) {
  fillPlaces();
  struct Case {
    const char* what;
    BOOL defaults;
    HDC (*open)(const GridPrintSettings&);
    int startDoc;
  };
  const Case cases[] = {
      {"no default printer", FALSE, openMetafile, 1},
      {"the printer cannot be opened", TRUE, openNothing, 1},
      {"the printer refuses the document", TRUE, openMetafile, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (recorded != nullptr) DeleteEnhMetaFile(recorded);
    recorded = nullptr;
    yyGridPrintInitialised = 0;
    defaultsOnly = c.defaults;
    startDocResult = c.startDoc;
    yyGridPrinterProvider.open = c.open;
    int printed = -1;
    YYGridPrint(kTitledGrid, printed, 0, 5, 0, 4, 1, "Places");
    EXPECT_EQ(printed, 0);
    if (!c.defaults) {
      // No handles were locked: the settings keep their defaults.
      EXPECT_EQ(YYGridPrintSet(1).request.hDevMode, nullptr);
      EXPECT_EQ(YYGridPrintSet(1).scale, 100);
      EXPECT_EQ(YYGridPrintSet(1).rowLines, 1);
    }
    EXPECT_EQ(captured().pages, 0);
  }
}

TEST_F(GridPrinting, APageHoldsTheTitlesOverTheRowsAtTheMargins) {
  fillPlaces();
  int printed = 0;
  YYGridPrint(kTitledGrid, printed, 0, 2, 0, 4, 1, "Places of Ireland");
  ASSERT_EQ(printed, 1);
  EXPECT_EQ(documentName, "Places of Ireland");
  const Capture capture = captured();
  EXPECT_EQ(capture.pages, 1);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const int margin = 1000 * dpi / 1000;

  const PrintedText* place = findText(capture, "Place");
  const PrintedText* count = findText(capture, "Count");
  const PrintedText* first = findText(capture, "Kilkenny");
  const PrintedText* second = findText(capture, "Donegal");
  const PrintedText* third = findText(capture, "Wexford");
  ASSERT_TRUE(place && count && first && second && third);
  EXPECT_EQ(findText(capture, "Sligo"), nullptr);  // outside the block
  EXPECT_NE(findText(capture, "13"), nullptr);     // the integer of the second row
  // Titles stand on one line just under the top margin, the rows below.
  EXPECT_EQ(place->y, count->y);
  EXPECT_GT(place->y, margin);
  const int quarter = place->y - margin;  // th / 4
  EXPECT_GT(first->y, place->y);
  const int step = second->y - first->y;
  EXPECT_EQ(third->y - second->y, step);
  EXPECT_NEAR(step, 6 * quarter, 6);                    // 1.5 text heights with row lines
  EXPECT_EQ(first->y - place->y, step);                 // the title row is one row
  // Left-aligned text starts half an average width inside its column, which
  // starts at the left margin; the title is centred over the column.
  EXPECT_GT(first->x, margin);
  EXPECT_LT(first->x, margin + 20);
  EXPECT_GT(place->x, first->x + 20);
  // The ratio column is right-aligned: its texts share their right end,
  // half an average width right of the centred title.
  const PrintedText* ratio = findText(capture, "Ratio");
  const PrintedText* r1 = findText(capture, "2.50");  // the column's last format shows every value
  const PrintedText* r2 = findText(capture, "12.75");
  ASSERT_TRUE(ratio && r1 && r2);
  EXPECT_EQ(r1->x, r2->x);
  EXPECT_GT(r1->x, ratio->x);
  EXPECT_GT(ratio->x, count->x);
  // The check box prints as a Wingdings check mark (checked) or box.
  const bool symbols = std::find(capture.fontFaces.begin(), capture.fontFaces.end(), "Wingdings") !=
                       capture.fontFaces.end();
  EXPECT_TRUE(symbols);
  EXPECT_NE(findText(capture, std::string(1, static_cast<char>(0xFC))), nullptr);
  EXPECT_NE(findText(capture, std::string(1, static_cast<char>(0xFB))), nullptr);
}

TEST_F(GridPrinting, ShortPagesRepeatTheTitlesAndContinueTheRows) {
  fillPlaces();
  YYGridPrintInit();
  GridPrintSettings& set = YYGridPrintSet(1);
  // Half an inch between the margins: a title row and a few rows.
  set.request.ptPaperSize.y = 2000;
  set.request.rtMargin.bottom = 500;
  set.headingsEveryPage = 1;
  int printed = 0;
  YYGridPrint(kTitledGrid, printed, 0, 5, 0, 1, 1, "");
  ASSERT_EQ(printed, 1);
  EXPECT_EQ(documentName, "Untitled Grid");
  const Capture capture = captured();
  ASSERT_GE(capture.pages, 2);
  for (int page = 1; page <= capture.pages; ++page) EXPECT_NE(findText(capture, "Place", page), nullptr) << page;
  const PrintedText* kilkenny = findText(capture, "Kilkenny");
  ASSERT_NE(kilkenny, nullptr);
  EXPECT_EQ(kilkenny->page, 1);
  // The first row of the second page stands where the first page's first row stood.
  // Two titles and two cells a row on the first page.
  const int onFirst = static_cast<int>(std::count_if(capture.texts.begin(), capture.texts.end(),
                                                     [](const PrintedText& t) { return t.page == 1; }));
  const int perPage = (onFirst - 2) / 2;
  ASSERT_GT(perPage, 0);
  const char* places[] = {"Kilkenny", "Donegal", "Wexford", "Sligo", "Mayo", "Clare"};
  const PrintedText* next = findText(capture, places[perPage]);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->page, 2);
  EXPECT_EQ(next->y, kilkenny->y);
}

// Check boxes print as characters 0xFC and 0xFB of Wingdings, which the
// set-up gives the Wine prefix (Wine's own, whose check mark stands at 0xFC
// and which has no glyph at 0xFB): a checked box prints differently from an
// unchecked one.
TEST(GridPrintSymbols, TheCheckMarkFontIsWingdings) {
  LOGFONTA wanted{};
  wanted.lfHeight = 20;
  wanted.lfCharSet = SYMBOL_CHARSET;
  lstrcpyA(wanted.lfFaceName, "Wingdings");
  HFONT font = CreateFontIndirectA(&wanted);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(screen, sizeof face, face);
  const int charset = GetTextCharset(screen);
  WORD glyphs[2] = {};
  const char marks[2] = {static_cast<char>(0xFC), static_cast<char>(0xFB)};
  GetGlyphIndicesA(screen, marks, 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  std::printf("check marks print in \"%s\" (glyphs %u and %u)\n", face, glyphs[0], glyphs[1]);
  EXPECT_EQ(charset, SYMBOL_CHARSET);
  EXPECT_STREQ(face, "Wingdings") << "the Wine prefix has no Wingdings: scripts/wine-session.sh gives it Wine's";
  EXPECT_NE(glyphs[0], 0xFFFF) << "no check mark";
  EXPECT_NE(glyphs[0], glyphs[1]);
}

// The smoke test of the real printer: the default printer is the CUPS PDF
// queue, whose file check_printed_grid.sh reads back with Ghostscript.
TEST_F(GridPrinting, AGridPrintsOnThePdfPrinter) {
  fillPlaces();
  yyGridPrinterProvider = YYGridSystemPrinter();
  yyGridPrintInitialised = 0;
  const std::string title =
      "Carrowmapper grid " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  int printed = 0;
  YYGridPrint(kTitledGrid, printed, 0, 5, 0, 4, 1, title.c_str());
  ASSERT_EQ(printed, 1) << "no printer context: is the CUPS PDF printer the default?";
  EXPECT_NE(YYGridPrintSet(1).request.hDevNames, nullptr);
  std::ofstream("printed_grid_title.txt") << title << '\n';
}

}  // namespace
