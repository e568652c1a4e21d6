#pragma once
// A grid, or a block of it, printed as a table on the Windows printer.  Two
// sets of settings: set 1 for any caller, set 2 for the grid editor.  Both are
// taken from the default printer once, without a dialog, on first use.
//
// The printer itself is reached through GridPrinterProvider, which the
// toolkit fills with the system's calls; a test may hand it a metafile
// context instead of a printer.

#include <windows.h>

#include <commdlg.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/grid/grid_model.h"

constexpr int kUnitsInches = PSD_INTHOUSANDTHSOFINCHES;         // 4: thousandths of an inch
constexpr int kUnitsMillimetres = PSD_INHUNDREDTHSOFMILLIMETERS;  // 8: hundredths of a millimetre
constexpr double kUnitChangeFactor = 2.54065;

struct GridPrintSettings {
  // Pointers into the set's device mode and names, valid only while the
  // handles of the request are locked (during a print or a set-up).
  DEVMODEA* deviceMode = nullptr;
  DEVNAMES* deviceNames = nullptr;
  PAGESETUPDLGA request{};  // paper size and margins in the set's units
  int units = 0;
  int left = 0;        // printer pixels, computed at each print
  int rightEdge = 0;
  int top = 0;
  int bottomEdge = 0;
  int scale = 100;
  int rowLines = 1;
  int columnLines = 1;
  int headingsEveryPage = 1;
  int textColours = 1;
  int backgroundColours = 1;
};
extern std::array<GridPrintSettings, 2> yyGridPrintSettings;
extern int yyGridPrintInitialised;
// Filled by the grid editor: the file name of an editor window (empty: none).
extern std::string (*yyGridEditorFileName)(HWND editor);

// The printer as the grid printing sees it.  The defaults call the system:
// PageSetupDlgA, an information context for the colour count, CreateDCA with
// the set's locked names and mode, and the document and page calls.
struct GridPrinterProvider {
  BOOL (*pageSetup)(PAGESETUPDLGA& request) = nullptr;
  // NUMCOLORS of the set's printer; 0 when no context can be had.
  int (*colourCount)(const GridPrintSettings& set) = nullptr;
  // A context to print on for the set's printer; null when it cannot be opened.
  HDC (*open)(const GridPrintSettings& set) = nullptr;
  void (*close)(HDC dc) = nullptr;
  int (*startDoc)(HDC dc, const char* name) = nullptr;
  int (*startPage)(HDC dc) = nullptr;
  int (*endPage)(HDC dc) = nullptr;
  int (*endDoc)(HDC dc) = nullptr;
};
extern GridPrinterProvider yyGridPrinterProvider;
// The system's printer calls.
GridPrinterProvider YYGridSystemPrinter();

// The set of a set number: 1 is set 1, any other value set 2.
GridPrintSettings& YYGridPrintSet(int set);

void YYGridPrintInit();
void YYGridPrintSettingsGet(int& rowLines, int& columnLines, int& headingsEveryPage, int& textColours,
                            int& backgroundColours, int& scale, int set);
void YYGridPrintSettingsSet(int rowLines, int columnLines, int headingsEveryPage, int textColours,
                            int backgroundColours, int scale, int set);
// Units -1: the user's measurement system; 1 or less inches; 2 or more millimetres.
void YYGridPageSetup(int units, int set);
// The unit bits that a units argument of YYGridPageSetup asks for.
int YYGridUnitsWanted(int units);
// Converts the set's margins and paper size to the new units (truncating).
void YYGridUnitsChange(GridPrintSettings& set, int newUnits);
// Codes 1 right margin, 2 bottom margin, 3 left margin, 4 top margin (values in
// points); 5 orientation (1, 3 portrait; 2, 4 landscape).
void YYGridPrintOption(int code, int value, int set);
// Rows and columns 0-based, inclusive; title NUL-ended, read for set 1 only.
void YYGridPrint(int grid, int& printed, int firstRow, int lastRow, int firstColumn, int lastColumn, int set,
                 const char* title);

// What a print lays out before it draws: the page plan.
struct GridPrintMetrics {
  int textHeight = 0;    // th of the print font
  int averageWidth = 0;  // av of the print font
  int printerDpiX = 0;
  int screenDpiX = 0;
  int scale = 100;
  int left = 0, rightEdge = 0, top = 0, bottomEdge = 0;
  int rowLines = 1;
  int headingsEveryPage = 1;
};
struct GridPrintColumnPlace {
  int column = 0;  // 0-based grid column
  int x = 0;
  int width = 0;
};
struct GridPrintPage {
  int firstRow = 0;  // 0-based, inclusive
  int lastRow = 0;
  bool titles = false;  // column titles on this page
  bool labels = false;  // the row-label column on this page
  int labelWidth = 0;   // at the left margin, when labels
  int titleStart = 0;   // x where the title row and the top line start
  std::vector<GridPrintColumnPlace> columns;
  int endX = 0;  // x after the last column of the page
  bool lastOfBlock = false;  // holds the block's last column
};
struct GridPrintPlan {
  int rowHeight = 0;
  int rowsPerPage = 0;
  std::vector<GridPrintPage> pages;
};
// measure gives the printed width of a text of a column (-1: a row label).
using GridTextMeasure = std::function<int(int column, std::string_view text)>;
GridPrintPlan YYGridPrintLayout(const GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn,
                                const GridPrintMetrics& metrics, const GridTextMeasure& measure);
// The y of the text of the page's i-th row (0-based).
int YYGridPrintRowTextY(const GridPrintPlan& plan, const GridPrintPage& page, const GridPrintMetrics& metrics, int i);

// Text and background colour of a printed cell (RGB, -1 none) by the settings.
struct GridPrintColours {
  COLORREF text = 0;
  int background = -1;
};
GridPrintColours YYGridPrintCellColours(const GridRecord& grid, int column, int row, int textColours,
                                        int backgroundColours);

// The row-label column of one page, drawn on dc; gives the x after it.
int YYGridPrintRowLabels(HDC dc, const GridRecord& grid, const GridPrintPlan& plan, const GridPrintPage& page,
                         const GridPrintMetrics& metrics, int columnLines);
