#include "toolkit/grid/grid_printing.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/drivers/printer_device.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_clipboard.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"

std::array<GridPrintSettings, 2> yyGridPrintSettings;
int yyGridPrintInitialised = 0;
std::string (*yyGridEditorFileName)(HWND editor) = nullptr;

namespace {

constexpr char kUntitled[] = "Untitled Grid";
constexpr BYTE kOutputTrueType = 4;

// The set's device mode and names, locked for as long as the lock lives.
class LockedDevice {
 public:
  explicit LockedDevice(GridPrintSettings& set) : set_(set) {
    if (set.request.hDevMode != nullptr) set.deviceMode = static_cast<DEVMODEA*>(GlobalLock(set.request.hDevMode));
    if (set.request.hDevNames != nullptr) {
      set.deviceNames = static_cast<DEVNAMES*>(GlobalLock(set.request.hDevNames));
    }
  }
  ~LockedDevice() {
    if (set_.deviceMode != nullptr) GlobalUnlock(set_.request.hDevMode);
    if (set_.deviceNames != nullptr) GlobalUnlock(set_.request.hDevNames);
    set_.deviceMode = nullptr;
    set_.deviceNames = nullptr;
  }
  LockedDevice(const LockedDevice&) = delete;
  LockedDevice& operator=(const LockedDevice&) = delete;

 private:
  GridPrintSettings& set_;
};

const char* namePart(const DEVNAMES* names, WORD offset) {
  return reinterpret_cast<const char*>(names) + offset;
}

BOOL systemPageSetup(PAGESETUPDLGA& request) { return PageSetupDlgA(&request); }

int systemColourCount(const GridPrintSettings& set) {
  if (set.deviceNames == nullptr) return 0;
  YYFpuSave();
  const DeviceContext ic(CreateICA(namePart(set.deviceNames, set.deviceNames->wDriverOffset),
                                   namePart(set.deviceNames, set.deviceNames->wDeviceOffset), nullptr,
                                   set.deviceMode));
  const int count = ic ? GetDeviceCaps(ic.get(), NUMCOLORS) : 0;
  YYFpuRestore();
  return count;
}

HDC systemOpen(const GridPrintSettings& set) {
  if (set.deviceNames == nullptr) return nullptr;
  return CreateDCA(namePart(set.deviceNames, set.deviceNames->wDriverOffset),
                   namePart(set.deviceNames, set.deviceNames->wDeviceOffset), nullptr, set.deviceMode);
}

void systemClose(HDC dc) { DeleteDC(dc); }

int systemStartDoc(HDC dc, const char* name) {
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name;
  return StartDocA(dc, &info);
}

int unitsPerInch(const GridPrintSettings& set) { return set.units == kUnitsInches ? 1000 : 2540; }

int scaled(long long value, long long multiplier, long long divisor) {
  return divisor == 0 ? 0 : static_cast<int>(value * multiplier / divisor);
}

// Heights in a page: 1.5 text heights, as an integer.
int oneAndAHalf(int th) { return th * 3 / 2; }

int textY0(const GridPrintPage& page, const GridPrintMetrics& metrics) {
  return metrics.top + metrics.textHeight / 4 + (page.titles ? oneAndAHalf(metrics.textHeight) : 0);
}

// Where the vertical lines of a page end: under the last row.
int rowsBottom(const GridPrintPlan& plan, const GridPrintPage& page, const GridPrintMetrics& metrics) {
  const int n = page.lastRow - page.firstRow + 1;
  const int th = metrics.textHeight;
  if (metrics.rowLines != 0) return textY0(page, metrics) - th / 4 + n * plan.rowHeight;
  return textY0(page, metrics) + n * plan.rowHeight + th / 2;
}

void line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

COLORREF rgbOf(const std::array<unsigned char, 3>& c) { return RGB(c[0], c[1], c[2]); }

}  // namespace

GridPrinterProvider YYGridSystemPrinter() {
  GridPrinterProvider p;
  p.pageSetup = systemPageSetup;
  p.colourCount = systemColourCount;
  p.open = systemOpen;
  p.close = systemClose;
  p.startDoc = systemStartDoc;
  // Through lambdas: the system's calls have their own calling convention in
  // the 32-bit build, and the provider's pointers the ordinary one.
  p.startPage = [](HDC dc) { return StartPage(dc); };
  p.endPage = [](HDC dc) { return EndPage(dc); };
  p.endDoc = [](HDC dc) { return EndDoc(dc); };
  return p;
}

GridPrinterProvider yyGridPrinterProvider = YYGridSystemPrinter();

GridPrintSettings& YYGridPrintSet(int set) { return yyGridPrintSettings[set == 1 ? 0 : 1]; }

void YYGridPrintInit() {
  if (yyGridPrintInitialised != 0) return;
  for (GridPrintSettings& set : yyGridPrintSettings) {
    set = GridPrintSettings{};
    PAGESETUPDLGA& request = set.request;
    request.lStructSize = sizeof request;
    request.hwndOwner = slotOf(0).frame;
    request.hInstance = GetModuleHandleA(nullptr);
    request.Flags = PSD_RETURNDEFAULT;
    // Without a default printer the call fails and leaves no handles: the
    // defaults stay, and a print finds no printer.
    if (yyGridPrinterProvider.pageSetup == nullptr || !yyGridPrinterProvider.pageSetup(request)) {
      request.hDevMode = nullptr;
      request.hDevNames = nullptr;
    }
    set.units = static_cast<int>(request.Flags & (kUnitsInches | kUnitsMillimetres));
  }
  GridPrintSettings& first = yyGridPrintSettings[0];
  int colours = 0;
  if (first.request.hDevNames != nullptr && yyGridPrinterProvider.colourCount != nullptr) {
    const LockedDevice lock(first);
    colours = yyGridPrinterProvider.colourCount(first);
  }
  first.textColours = first.backgroundColours = colours != 2 ? 1 : 0;
  yyGridPrintSettings[1].textColours = first.textColours;
  yyGridPrintSettings[1].backgroundColours = first.backgroundColours;
  yyGridPrintInitialised = 1;
}

void YYGridPrintSettingsGet(int& rowLines, int& columnLines, int& headingsEveryPage, int& textColours,
                            int& backgroundColours, int& scale, int set) {
  YYGridPrintInit();
  const GridPrintSettings& s = YYGridPrintSet(set);
  rowLines = s.rowLines == 1 ? 1 : 0;
  columnLines = s.columnLines == 1 ? 1 : 0;
  headingsEveryPage = s.headingsEveryPage == 1 ? 1 : 0;
  textColours = s.textColours == 1 ? 1 : 0;
  backgroundColours = s.backgroundColours == 1 ? 1 : 0;
  scale = s.scale;
}

void YYGridPrintSettingsSet(int rowLines, int columnLines, int headingsEveryPage, int textColours,
                            int backgroundColours, int scale, int set) {
  YYGridPrintInit();
  GridPrintSettings& s = YYGridPrintSet(set);
  s.rowLines = rowLines == 1 ? 1 : 0;
  s.columnLines = columnLines == 1 ? 1 : 0;
  s.headingsEveryPage = headingsEveryPage == 1 ? 1 : 0;
  s.textColours = textColours == 1 ? 1 : 0;
  s.backgroundColours = backgroundColours == 1 ? 1 : 0;
  s.scale = scale;
}

int YYGridUnitsWanted(int units) {
  if (units == -1) {
    char system[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, system, sizeof system);
    return std::string_view(system) == "1" ? kUnitsInches : kUnitsMillimetres;
  }
  return units <= 1 ? kUnitsInches : kUnitsMillimetres;
}

void YYGridUnitsChange(GridPrintSettings& set, int newUnits) {
  if (newUnits == set.units) return;
  const bool toMillimetres = newUnits == kUnitsMillimetres;
  auto convert = [toMillimetres](LONG& value) {
    const double v = toMillimetres ? value * kUnitChangeFactor : value / kUnitChangeFactor;
    value = static_cast<LONG>(v);
  };
  PAGESETUPDLGA& r = set.request;
  convert(r.rtMargin.left);
  convert(r.rtMargin.top);
  convert(r.rtMargin.right);
  convert(r.rtMargin.bottom);
  convert(r.ptPaperSize.x);
  convert(r.ptPaperSize.y);
  set.units = newUnits;
}

void YYGridPageSetup(int units, int set) {
  YYGridPrintInit();
  GridPrintSettings& s = YYGridPrintSet(set);
  PAGESETUPDLGA& request = s.request;
  const int bits = YYGridUnitsWanted(units);
  YYGridUnitsChange(s, bits);
  // The dialog must show this time: the start-up's return-default request goes.
  request.Flags = (request.Flags & ~static_cast<DWORD>(kUnitsInches | kUnitsMillimetres | PSD_RETURNDEFAULT)) |
                  static_cast<DWORD>(bits) | PSD_MARGINS;
  request.hwndOwner = windowTable.activeModelessDialog;
  if (yyGridPrinterProvider.pageSetup == nullptr || !yyGridPrinterProvider.pageSetup(request)) return;
  HDC dc = nullptr;
  {
    const LockedDevice lock(s);
    if (yyGridPrinterProvider.open != nullptr) dc = yyGridPrinterProvider.open(s);
  }
  if (dc == nullptr) return;
  const int perInch = unitsPerInch(s);
  const int dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  const int right = GetDeviceCaps(dc, PHYSICALWIDTH) - (offsetX + GetDeviceCaps(dc, HORZRES));
  const int bottom = GetDeviceCaps(dc, PHYSICALHEIGHT) - (offsetY + GetDeviceCaps(dc, VERTRES));
  request.rtMinMargin.left = scaled(offsetX, perInch, dpiX);
  request.rtMinMargin.top = scaled(offsetY, perInch, dpiY);
  request.rtMinMargin.right = scaled(right, perInch, dpiX);
  request.rtMinMargin.bottom = scaled(bottom, perInch, dpiY);
  if (yyGridPrinterProvider.close != nullptr) yyGridPrinterProvider.close(dc);
}

void YYGridPrintOption(int code, int value, int set) {
  YYGridPrintInit();
  GridPrintSettings& s = YYGridPrintSet(set);
  const int amount = scaled(value, unitsPerInch(s), 72);
  switch (code) {
    // Right and bottom are margins, as printing and the page set-up read them.
    case 1:
      s.request.rtMargin.right = amount;
      break;
    case 2:
      s.request.rtMargin.bottom = amount;
      break;
    case 3:
      s.request.rtMargin.left = amount;
      break;
    case 4:
      s.request.rtMargin.top = amount;
      break;
    case 5: {
      if (value < 1 || value > 4) return;
      const short wanted = (value == 1 || value == 3) ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
      const LockedDevice lock(s);
      const short now = s.deviceMode != nullptr ? s.deviceMode->dmOrientation : DMORIENT_PORTRAIT;
      if (s.deviceMode != nullptr) {
        s.deviceMode->dmOrientation = wanted;
        s.deviceMode->dmFields |= DM_ORIENTATION;
      }
      if (now != wanted) std::swap(s.request.ptPaperSize.x, s.request.ptPaperSize.y);
      break;
    }
    default:
      break;
  }
}

GridPrintPlan YYGridPrintLayout(const GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn,
                                const GridPrintMetrics& metrics, const GridTextMeasure& measure) {
  GridPrintPlan plan;
  const int th = metrics.textHeight;
  const int av = metrics.averageWidth;
  const bool heading = YYGridHasHeading(grid);
  const bool labels = YYGridHasRowLabels(grid);
  plan.rowHeight = std::max(1, metrics.rowLines != 0 ? oneAndAHalf(th) : th);
  // A page always holds a row, or the print would never advance.
  plan.rowsPerPage = std::max(1, (metrics.bottomEdge - metrics.top) / plan.rowHeight - (heading ? 1 : 0));
  const long long divisor = static_cast<long long>(metrics.screenDpiX) * 100;
  lastColumn = std::min(lastColumn, grid.columns - 1);
  firstColumn = std::max(firstColumn, 0);

  // A column has the same width on every page: its longest text in the block.
  std::vector<int> widths;
  for (int c = firstColumn; c <= lastColumn; ++c) {
    int width = scaled(grid.columnList[static_cast<std::size_t>(c)].width,
                       static_cast<long long>(metrics.printerDpiX) * metrics.scale, divisor);
    int longest = 0;
    for (int r = firstRow; r <= lastRow; ++r) longest = std::max(longest, measure(c, YYGridCellText(grid, c, r, 1)));
    widths.push_back(std::max(width, longest + av));
  }
  int labelWidth = 0;
  if (labels) {
    labelWidth = scaled(grid.labelWidth, static_cast<long long>(metrics.printerDpiX) * metrics.scale, divisor);
    int longest = 0;
    for (int r = 0; r < grid.rows; ++r) longest = std::max(longest, measure(-1, YYGridGetRowLabel(grid, r)));
    labelWidth = std::max(labelWidth, longest + av);
  }

  int perPage = plan.rowsPerPage;
  for (int row = firstRow, range = 0; row <= lastRow; ++range) {
    const int last = std::min(row + perPage - 1, lastRow);
    const bool titles = heading && (metrics.headingsEveryPage != 0 || range == 0);
    auto startPage = [&](bool withLabels) {
      GridPrintPage page;
      page.firstRow = row;
      page.lastRow = last;
      page.titles = titles;
      page.labels = withLabels && labels;
      page.labelWidth = page.labels ? labelWidth : 0;
      page.titleStart = metrics.left + (titles ? page.labelWidth : 0);
      page.endX = metrics.left + page.labelWidth;
      plan.pages.push_back(page);
    };
    startPage(true);
    bool firstOnPage = true;
    for (int c = firstColumn; c <= lastColumn; ++c) {
      int width = widths[static_cast<std::size_t>(c - firstColumn)];
      if (!firstOnPage && plan.pages.back().endX + width > metrics.rightEdge) {
        startPage(metrics.headingsEveryPage != 0);
        firstOnPage = true;
      }
      GridPrintPage& page = plan.pages.back();
      if (firstOnPage && page.endX + width > metrics.rightEdge) width = std::max(0, metrics.rightEdge - page.endX);
      page.columns.push_back({c, page.endX, width});
      page.endX += width;
      firstOnPage = false;
    }
    plan.pages.back().lastOfBlock = true;
    row = last + 1;
    if (range == 0 && heading && metrics.headingsEveryPage == 0) ++perPage;
  }
  return plan;
}

int YYGridPrintRowTextY(const GridPrintPlan& plan, const GridPrintPage& page, const GridPrintMetrics& metrics, int i) {
  return textY0(page, metrics) + i * plan.rowHeight;
}

GridPrintColours YYGridPrintCellColours(const GridRecord& grid, int column, int row, int textColours,
                                        int backgroundColours) {
  GridPrintColours colours;
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  const GridColour* entry = nullptr;
  if (!c.colours.empty() && row >= 0 && row < static_cast<int>(c.colours.size())) {
    entry = &c.colours[static_cast<std::size_t>(row)];
  }
  const FieldRecord* field = grid.window != nullptr ? fieldRecordOf(grid.window) : nullptr;
  if (textColours != 0) {
    if (entry != nullptr && (entry->flags & kColourText) != 0) {
      colours.text = rgbOf(entry->text);
    } else if (c.colours.empty() && c.textColour >= 0) {
      colours.text = static_cast<COLORREF>(c.textColour);
    } else if (field != nullptr && field->textColour >= 0) {
      colours.text = static_cast<COLORREF>(field->textColour);
    }
  }
  if (backgroundColours != 0) {
    if (entry != nullptr && (entry->flags & kColourBackground) != 0) {
      colours.background = static_cast<int>(rgbOf(entry->background));
    } else if (c.colours.empty() && c.backgroundColour >= 0) {
      colours.background = c.backgroundColour;
    } else if (field != nullptr && field->backgroundColour >= 0) {
      colours.background = field->backgroundColour;
    }
  }
  return colours;
}

int YYGridPrintRowLabels(HDC dc, const GridRecord& grid, const GridPrintPlan& plan, const GridPrintPage& page,
                         const GridPrintMetrics& metrics, int columnLines) {
  const int x = metrics.left;
  const int av = metrics.averageWidth;
  if (page.labels) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (int r = page.firstRow; r <= page.lastRow; ++r) {
      const std::string label = YYGridGetRowLabel(grid, r);
      const int y = YYGridPrintRowTextY(plan, page, metrics, r - page.firstRow);
      TextOutA(dc, x + av / 2, y, label.c_str(), static_cast<int>(label.size()));
    }
  }
  const int end = x + page.labelWidth;
  if (YYGridHasRowLabels(grid) || columnLines != 0) {
    const int bottom = rowsBottom(plan, page, metrics);
    line(dc, x, metrics.top + (page.titles ? oneAndAHalf(metrics.textHeight) : 0), x, bottom);
    line(dc, end, metrics.top, end, bottom);
  }
  return end;
}

namespace {

// One page of the plan on the printer.
void printPage(HDC dc, const GridRecord& grid, const GridPrintPlan& plan, const GridPrintPage& page,
               const GridPrintMetrics& metrics, const GridPrintSettings& set, HFONT font, HFONT symbols,
               bool continuation) {
  const int th = metrics.textHeight;
  const int av = metrics.averageWidth;
  const int bottom = rowsBottom(plan, page, metrics);
  SelectObject(dc, font);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  if (page.labels || !continuation) {
    YYGridPrintRowLabels(dc, grid, plan, page, metrics, set.columnLines);
  } else {
    line(dc, metrics.left, metrics.top, metrics.left, bottom);
  }
  const int rows = page.lastRow - page.firstRow + 1;
  for (const GridPrintColumnPlace& place : page.columns) {
    const GridColumn& column = grid.columnList[static_cast<std::size_t>(place.column)];
    const int x = place.x;
    const int width = place.width;
    if (page.titles) {
      SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      SetTextAlign(dc, TA_CENTER | TA_TOP);
      const std::string title = YYGridGetColumnTitle(grid, place.column + 1);
      TextOutA(dc, x + width / 2, metrics.top + th / 4, title.c_str(), static_cast<int>(title.size()));
    }
    UINT align = TA_LEFT;
    int textX = x + av / 2;
    const bool check = column.type == kGridCheckBox;
    if (check || (column.type != kGridMenu && column.alignment == 1)) {
      align = TA_CENTER;
      textX = x + width / 2;
    } else if (column.type != kGridMenu && column.alignment == 2) {
      align = TA_RIGHT;
      textX = x + width - av / 2;
    }
    SelectObject(dc, check ? symbols : font);
    SetTextAlign(dc, align | TA_TOP);
    for (int i = 0; i < rows; ++i) {
      const int row = page.firstRow + i;
      const int y = YYGridPrintRowTextY(plan, page, metrics, i);
      RECT cell{x + 1, y, x + 1 + width, y + plan.rowHeight};
      if (metrics.rowLines != 0) {
        OffsetRect(&cell, 0, -th / 4);
      } else {
        if (i == 0) cell.top -= th / 4;
        if (i == rows - 1) cell.bottom += th / 4;
      }
      const GridPrintColours colours = YYGridPrintCellColours(grid, place.column, row, set.textColours,
                                                              set.backgroundColours);
      SetTextColor(dc, colours.text);
      UINT options = ETO_CLIPPED;
      if (colours.background >= 0) {
        SetBkColor(dc, static_cast<COLORREF>(colours.background));
        SetBkMode(dc, OPAQUE);
        options |= ETO_OPAQUE;
      } else {
        SetBkMode(dc, TRANSPARENT);
      }
      const std::string text = YYGridCellText(grid, place.column, row, 1);
      ExtTextOutA(dc, textX, y, options, &cell, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
    if (set.columnLines != 0 || (page.lastOfBlock && &place == &page.columns.back())) {
      line(dc, x + width, metrics.top, x + width, bottom);
    }
  }
  const int x = page.endX;
  if (!page.lastOfBlock && set.columnLines == 0) line(dc, x, metrics.top, x, bottom);
  if (page.titles) line(dc, metrics.left, metrics.top + oneAndAHalf(th), x, metrics.top + oneAndAHalf(th));
  line(dc, page.titleStart, metrics.top, x, metrics.top);
  if (metrics.rowLines != 0) {
    for (int i = 0; i < rows; ++i) {
      const int y = YYGridPrintRowTextY(plan, page, metrics, i) - th / 4 + plan.rowHeight;
      line(dc, metrics.left, y, x, y);
    }
  } else {
    line(dc, metrics.left, bottom, x, bottom);
  }
}

HFONT printFont(const LOGFONTA& screen, int height, bool symbols) {
  LOGFONTA font = screen;
  font.lfHeight = height;
  font.lfWidth = 0;
  font.lfEscapement = font.lfOrientation = 0;
  font.lfOutPrecision = kOutputTrueType;
  if (symbols) {
    font.lfCharSet = SYMBOL_CHARSET;
    font.lfPitchAndFamily = 0;
    lstrcpynA(font.lfFaceName, "Wingdings", LF_FACESIZE);
  }
  return CreateFontIndirectA(&font);
}

}  // namespace

void YYGridPrint(int grid, int& printed, int firstRow, int lastRow, int firstColumn, int lastColumn, int set,
                 const char* title) {
  printed = 0;
  GridRecord* record = YYGridForRoutine(grid, "YYGridPrint");
  if (record == nullptr) return;
  GridRecord& g = *record;
  YYGridPrintInit();
  GridPrintSettings& s = YYGridPrintSet(set);
  // Without a default printer the set names none: nothing to open.
  if (yyGridPrinterProvider.open == nullptr || s.request.hDevNames == nullptr) return;
  HDC dc = nullptr;
  {
    const LockedDevice lock(s);
    dc = yyGridPrinterProvider.open(s);
  }
  if (dc == nullptr) return;
  if (g.view != nullptr && !g.cells.empty()) g.view->store();

  // The grid's font as the screen shows it, scaled to the printer.
  HWND screenWindow = g.window != nullptr ? g.window : slotOf(0).client;
  HDC screen = GetDC(screenWindow);
  HFONT gridFont = g.font != nullptr ? g.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ oldScreenFont = SelectObject(screen, gridFont);
  TEXTMETRICA screenMetrics{};
  GetTextMetricsA(screen, &screenMetrics);
  const int screenDpiX = std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
  const int screenDpiY = std::max(1, GetDeviceCaps(screen, LOGPIXELSY));
  SelectObject(screen, oldScreenFont);
  ReleaseDC(screenWindow, screen);
  LOGFONTA logical{};
  GetObjectA(gridFont, sizeof logical, &logical);
  const int printerDpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
  const int printerDpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
  const int height = scaled(screenMetrics.tmHeight - screenMetrics.tmInternalLeading,
                            static_cast<long long>(printerDpiY) * s.scale, static_cast<long long>(screenDpiY) * 100);
  const GdiObject font(printFont(logical, height, false));
  const GdiObject symbols(printFont(logical, height, true));

  const int perInch = unitsPerInch(s);
  const PAGESETUPDLGA& r = s.request;
  s.left = scaled(r.rtMargin.left, printerDpiX, perInch);
  s.rightEdge = scaled(r.ptPaperSize.x - r.rtMargin.right, printerDpiX, perInch);
  s.top = scaled(r.rtMargin.top, printerDpiY, perInch);
  s.bottomEdge = scaled(r.ptPaperSize.y - r.rtMargin.bottom, printerDpiY, perInch);

  std::string name;
  if (set == 1) {
    name = title != nullptr ? std::string(title) : std::string();
  } else if (HWND parent = g.window != nullptr ? GetParent(g.window) : nullptr;
             parent != nullptr && yyGridEditorFileName != nullptr) {
    name = yyGridEditorFileName(parent);
  }
  if (name.empty()) name = kUntitled;

  // A document the printer refuses prints nothing.
  if (yyGridPrinterProvider.startDoc(dc, name.c_str()) <= 0) {
    yyGridPrinterProvider.close(dc);
    return;
  }
  HGDIOBJ oldFont = SelectObject(dc, font.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  GridPrintMetrics m;
  m.textHeight = metrics.tmHeight;
  m.averageWidth = metrics.tmAveCharWidth;
  m.printerDpiX = printerDpiX;
  m.screenDpiX = screenDpiX;
  m.scale = s.scale;
  m.left = s.left;
  m.rightEdge = s.rightEdge;
  m.top = s.top;
  m.bottomEdge = s.bottomEdge;
  m.rowLines = s.rowLines;
  m.headingsEveryPage = s.headingsEveryPage;
  auto measure = [&](int column, std::string_view text) {
    const bool check = column >= 0 && g.columnList[static_cast<std::size_t>(column)].type == kGridCheckBox;
    SelectObject(dc, check ? symbols.get() : font.get());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const GridPrintPlan plan = YYGridPrintLayout(g, std::max(firstRow, 0), std::min(lastRow, g.rows - 1), firstColumn,
                                               lastColumn, m, measure);
  int previousFirstRow = -1;
  for (const GridPrintPage& page : plan.pages) {
    yyGridPrinterProvider.startPage(dc);
    printPage(dc, g, plan, page, m, s, static_cast<HFONT>(font.get()), static_cast<HFONT>(symbols.get()),
              page.firstRow == previousFirstRow);
    previousFirstRow = page.firstRow;
    yyGridPrinterProvider.endPage(dc);
  }
  yyGridPrinterProvider.endDoc(dc);
  SelectObject(dc, oldFont);
  yyGridPrinterProvider.close(dc);
  printed = 1;
}
