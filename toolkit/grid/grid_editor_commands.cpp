#include "toolkit/grid/grid_editor_commands.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/events.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/text_array.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/dialogs/file_selection.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/grid/grid_cells.h"
#include "toolkit/grid/grid_files.h"
#include "toolkit/grid/grid_printing.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

GridEditorSortSettings yyGridEditorSort;
GridEditorHtmlSettings yyGridEditorHtml;

namespace {

constexpr std::string_view kCsvFilter = "CSV Files|*.csv|All Files|*.*|";
constexpr std::string_view kHtmlFilter = "HTML Files|*.htm;*.html|All Files|*.*|";
constexpr int kSaveFlags = 35;
constexpr int kOpenFlags = 160;
constexpr int kFileNameLength = 260;
constexpr int kTitleLength = 1024;
constexpr int kFindLength = 1023;  // the kept find text holds its NUL too: longer entries are cut

// Field identifiers of the supplied dialogs.
constexpr int kTextField = 1002;
constexpr int kLabelField = 1001;
constexpr int kRowField = 1004;
constexpr int kMatchCaseField = 1003;
constexpr int kNumbersField = 1004;
constexpr int kAscending = 1004;
constexpr int kCaseField = 1006;
constexpr int kRowLinesField = 1002;
constexpr int kColumnLinesField = 1003;
constexpr int kFirstPageOnly = 1005;
constexpr int kEveryPage = 1006;
constexpr int kNoColours = 1008;
constexpr int kTextColours = 1009;
constexpr int kAllColours = 1010;
constexpr int kScaleField = 1012;
constexpr int kPageSetupButton = 1014;
constexpr int kBrowseButton = 1003;
constexpr int kFullPage = 1005;
constexpr int kSymbolChecks = 1008;
constexpr int kCentreField = 1010;
constexpr int kColoursField = 1011;
constexpr int kTitleField = 1013;
constexpr int kBorderField = 1015;
constexpr int kAllCells = 1017;
constexpr int kSelectedCells = 1018;

void box(int buttons, int icon, int defaultButton, std::string_view text, std::string_view title) {
  WMessageBox(buttons, icon, defaultButton, text, title);
}
void fileError(std::string_view text) { box(0, kIconExclamation, 1, text, "File Error"); }
void dataError(std::string_view text) { box(0, kIconExclamation, 1, text, "Data Error"); }

// What every command does around its work: the editor's window current, the
// last error cleared; afterwards all put back as it was.
class CommandFrame {
 public:
  explicit CommandFrame(int window)
      : window_(window), dialog_(currentDialogWindow() != nullptr ? dialogTable.currentIdentifier : 0),
        error_(errorState.lastError) {
    if (windowTable.currentIndex != window) YYWINSEL(window, 0);
    errorState.lastError = 0;
  }
  ~CommandFrame() {
    const int arisen = errorState.lastError;
    if (windowTable.currentIndex != savedWindow_) YYWINSEL(savedWindow_, 0);
    if (dialog_ != 0 && (currentDialogWindow() == nullptr || dialogTable.currentIdentifier != dialog_)) {
      WDialogSelect(dialog_);
    }
    errorState.lastError = keepError_ && arisen != 0 ? arisen : error_;
  }
  CommandFrame(const CommandFrame&) = delete;
  CommandFrame& operator=(const CommandFrame&) = delete;

  // Saving keeps an error that arose while it worked.
  void keepArisenError() { keepError_ = true; }
  int window() const { return window_; }

 private:
  int window_;
  int savedWindow_ = windowTable.currentIndex;
  int dialog_;
  int error_;
  bool keepError_ = false;
};

// Loads a supplied dialog; false (after a box) when it is not there.
bool loadDialog(int number) {
  errorState.lastError = 0;
  WDialogLoad(number);
  if (errorState.lastError == 0 && currentDialogWindow() != nullptr) return true;
  errorState.lastError = 0;
  box(0, kIconStop, 1, "Unable to load required dialog", "Error");
  return false;
}

void showModal() { WDialogShow(-1, -1, 0, kShowModal); }

// Semi-modeless at the editor's client origin, with the toolkit's windows
// disabled around it.
void showAtClient(int window) {
  int status = 0;
  YYModalWindowsEnable(1, window, status);
  YYDialogShowAtClient(0, kShowSemiModeless);
}
void enableWindowsAgain(int window) {
  int status = 0;
  YYModalWindowsEnable(0, window, status);
}

// The next press of one of the buttons of the current dialog; other events are dropped.
int waitForButton(std::initializer_list<int> buttons) {
  HWND dialog = currentDialogWindow();
  for (;;) {
    if (dialog == nullptr || !IsWindow(dialog)) return 2;
    EventRecord event;
    if (WEventWait(event) != kEventButton) continue;
    if (std::find(buttons.begin(), buttons.end(), event.value1) != buttons.end()) return event.value1;
  }
}

std::string fieldText(int field, int length) {
  std::string buffer(static_cast<std::size_t>(length), ' ');
  WDialogGetString(field, TextField(buffer.data(), length));
  return std::string(text::trimmed(buffer));
}

int gridOption(int code) {
  int value = 0;
  if (const GridRecord* grid = YYGridOfIdentifier(0); grid != nullptr) YYGridOption(*grid, code, value);
  return value;
}

bool fileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string nulEnded(std::string_view text) { return std::string(text.substr(0, std::min(text.find('\0'), text.size()))); }

// The file selector; false unless the person chose a file.
bool selectFile(std::string_view filter, int flags, std::string& name, int& filterIndex) {
  std::array<char, kFileNameLength> buffer{};
  TextField field(buffer.data(), kFileNameLength);
  field.assign(name);
  WFileSelect(filter, flags, field, "", &filterIndex);
  if (WQueryLastResult(kLastAnswer) != 1) return false;
  name = field.str();
  return true;
}

void backupCopy(const std::string& name) { IOsCopyFile(name, name + ".bak"); }

void emptyRow(int row, int rowLabels) {
  const GridRecord* grid = YYGridOfIdentifier(0);
  if (grid == nullptr) return;
  for (int c = 0; c < grid->columns; ++c) {
    if (grid->columnList[static_cast<std::size_t>(c)].type == kGridMenu) {
      WGridPutCellOption(0, c + 1, row, 1);
    } else {
      WGridClearCell(0, c + 1, row);
    }
  }
  if (rowLabels == 1) WGridLabelRow(0, row, "");
}

}  // namespace

std::string YYGridHtmlNameProposal(std::string_view fileName) {
  std::string name = nulEnded(fileName);
  if (name.empty()) return name;
  // Only a dot of the last path component starts an extension.
  const std::size_t slash = name.find_last_of("\\/:");
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
  return name + ".htm";
}

void YYGEDGOTO(int window, int kind) {
  const CommandFrame frame(window);
  if (!loadDialog(kind == 1 ? kGotoCellDialog : kGotoLineDialog)) return;
  const int columns = gridOption(1);
  const int rows = gridOption(3);
  int column = gridOption(4);
  int row = gridOption(5);
  if (kind == 3) {
    WDialogTitle("Goto Column");
    WDialogPutString(kLabelField, "&Column");
    WDialogPutInteger(kTextField, column);
    WDialogRangeInteger(kTextField, 1, columns);
  } else if (kind == 2) {
    WDialogTitle("Goto Row");
    WDialogPutString(kLabelField, "&Row");
    WDialogPutInteger(kTextField, row);
    WDialogRangeInteger(kTextField, 1, rows);
  } else {
    WDialogPutInteger(kTextField, column);
    WDialogRangeInteger(kTextField, 1, columns);
    WDialogPutInteger(kRowField, row);
    WDialogRangeInteger(kRowField, 1, rows);
  }
  showModal();
  if (WQueryLastResult(kLastExitButton) == 1) {
    if (kind == 1) {
      WDialogGetInteger(kTextField, column);
      WDialogGetInteger(kRowField, row);
    } else if (kind == 2) {
      WDialogGetInteger(kTextField, row);
    } else {
      WDialogGetInteger(kTextField, column);
    }
    WGridSetCell(0, column, row);
  }
  WDialogUnload();
}

void YYGEDFIND(int window, int mode, int& matchCase, int& numericColumns, std::string& findText) {
  const CommandFrame frame(window);
  const GridRecord* grid = YYGridOfIdentifier(0);
  if (grid == nullptr) return;
  bool texts = false;
  bool numbers = false;
  for (const GridColumn& column : grid->columnList) {
    if (texts && numbers) break;
    if (column.type == kGridString) texts = true;
    if (column.type == kGridInteger || column.type == kGridReal || column.type == kGridDouble) numbers = true;
  }
  if (!texts && !numbers) {
    box(0, kIconExclamation, 1, "Grid contains no searchable columns", "Find");
    return;
  }
  if (!texts) numericColumns = 1;
  const int numbersState = texts && numbers ? 1 : 3;
  if (mode == 1) {
    if (!loadDialog(kFindDialog)) return;
    WDialogPutString(kTextField, findText);
    WDialogPutCheckBox(kMatchCaseField, matchCase);
    WDialogPutCheckBox(kNumbersField, numericColumns);
    WDialogFieldState(kNumbersField, numbersState);
    showAtClient(window);
    bool search = false;
    for (;;) {
      const int button = waitForButton({1, 2});
      if (button != 1) break;
      const std::string wanted = fieldText(kTextField, kFindLength);
      if (wanted.empty()) {
        YYBeepOnOff(" ");
        continue;
      }
      findText = wanted;
      WDialogGetCheckBox(kMatchCaseField, matchCase);
      WDialogGetCheckBox(kNumbersField, numericColumns);
      search = true;
      break;
    }
    WDialogHide();
    WDialogUnload();
    enableWindowsAgain(window);
    if (!search) return;
  }
  if (findText.empty()) return;
  int found = 0;
  const int flags = 1 + (matchCase == 0 ? 2 : 0) + (numericColumns == 1 ? 4 : 0);
  WGridFind(0, findText, flags, &found);
  if (found == 0) box(0, kIconInformation, 1, "End of grid reached", "Find");
}

void YYGEDDELETE(int window, int rowLabels, int rowCount) {
  const CommandFrame frame(window);
  const int row = gridOption(5);
  const int rows = gridOption(3);
  if (rows == 1 && rowCount == 1) {
    emptyRow(1, rowLabels);
    return;
  }
  WGridDeleteRows(0, row, 1, rowCount, rowLabels);
}

void YYGEDINSERT(int window, int rowLabels, int rowCount, int position) {
  const CommandFrame frame(window);
  const int row = gridOption(5);
  const int rows = gridOption(3);
  if (row == rows && position == 1) {
    if (rowCount != 1) return;
    WGridRows(0, rows + 1);
    if (gridOption(3) == rows + 1) emptyRow(rows + 1, rowLabels);
    return;
  }
  WGridInsertRows(0, position == 1 ? row + 1 : row, 1, rowCount, rowLabels);
}

void YYGEDSORT(int window, int rowLabels, int& done) {
  done = 0;
  const CommandFrame frame(window);
  const GridRecord* grid = YYGridOfIdentifier(0);
  if (grid == nullptr || !loadDialog(kSortDialog)) return;
  const int columns = std::max(grid->columns, 0);
  std::vector<FixedText<50>> titles(static_cast<std::size_t>(std::max(columns, 1)));
  for (int c = 0; c < columns; ++c) {
    std::string title = YYGridGetColumnTitle(*grid, c + 1).substr(0, 50);
    if (text::isBlank(title)) {
      FixedText<7> number;
      IntegerToString(c + 1, number, "(I7)");
      title = "Column " + text::withoutLeadingBlanks(number.trimmed());
    }
    titles[static_cast<std::size_t>(c)] = title;
  }
  WDialogPutMenu(kTextField, TextArray(std::span<FixedText<50>>(titles)), columns, gridOption(4));
  WDialogPutRadioButton(yyGridEditorSort.order == 1 ? kAscending : kAscending + 1);
  WDialogPutCheckBox(kCaseField, yyGridEditorSort.caseSensitive);
  showModal();
  if (WQueryLastResult(kLastExitButton) == 1) {
    int column = 0;
    WDialogGetMenu(kTextField, column);
    WDialogGetRadioButton(kAscending, yyGridEditorSort.order);
    WDialogGetCheckBox(kCaseField, yyGridEditorSort.caseSensitive);
    const int flags = (yyGridEditorSort.order == 2 ? 1 : 0) + (yyGridEditorSort.caseSensitive == 0 ? 2 : 0) +
                      (rowLabels == 1 ? 4 : 0);
    // The sort runs while its dialog is still the current one.
    WGridSort(0, column, flags);
    done = 1;
  }
  WDialogUnload();
}

void YYGEDPRINT(int window, int firstRow, int lastRow, int firstColumn, int lastColumn, int& printed) {
  printed = 0;
  if (yyDumpSettings.printerPresent == 0) {
    box(0, kIconStop, 1, "No printer installed", "Error");
    return;
  }
  const CommandFrame frame(window);
  if (!loadDialog(kPrintDialog)) return;
  int rowLines = 0, columnLines = 0, everyPage = 0, textColours = 0, backgrounds = 0, scale = 100;
  YYGridPrintSettingsGet(rowLines, columnLines, everyPage, textColours, backgrounds, scale, 2);
  WDialogPutCheckBox(kRowLinesField, rowLines);
  WDialogPutCheckBox(kColumnLinesField, columnLines);
  WDialogPutRadioButton(everyPage == 1 ? kEveryPage : kFirstPageOnly);
  WDialogPutRadioButton(backgrounds == 1 ? kAllColours : textColours == 1 ? kTextColours : kNoColours);
  WDialogPutInteger(kScaleField, scale);
  showAtClient(window);
  for (;;) {
    const int button = waitForButton({1, 2, kPageSetupButton});
    if (button == kPageSetupButton) {
      YYGridPageSetup(-1, 2);
      continue;
    }
    printed = button == 1 ? 1 : 0;
    break;
  }
  if (printed == 1) {
    WDialogGetCheckBox(kRowLinesField, rowLines);
    WDialogGetCheckBox(kColumnLinesField, columnLines);
    int headings = 1;
    WDialogGetRadioButton(kFirstPageOnly, headings);
    int colours = 1;
    WDialogGetRadioButton(kNoColours, colours);
    WDialogGetInteger(kScaleField, scale);
    YYGridPrintSettingsSet(rowLines, columnLines, headings == 2 ? 1 : 0, colours >= 2 ? 1 : 0, colours == 3 ? 1 : 0,
                           scale, 2);
    YYGridPrint(0, printed, firstRow, lastRow, firstColumn, lastColumn, 2, "");
  }
  enableWindowsAgain(window);
  WDialogUnload();
}

void YYGEDSAVEHTML(int window, int firstRow, int lastRow, int firstColumn, int lastColumn, int& success, int backup,
                   std::string_view fileName) {
  success = 0;
  CommandFrame frame(window);
  if (!loadDialog(kSaveHtmlDialog)) return;
  GridEditorHtmlSettings& kept = yyGridEditorHtml;
  WDialogPutString(kTextField, YYGridHtmlNameProposal(fileName));
  WDialogPutRadioButton(kFullPage + kept.tableOnly);
  WDialogPutRadioButton(kSymbolChecks + kept.checkLetters);
  WDialogPutCheckBox(kCentreField, kept.centre);
  WDialogPutCheckBox(kColoursField, kept.colours);
  WDialogPutString(kTitleField, kept.title);
  WDialogPutInteger(kBorderField, kept.border);
  const bool block = firstRow >= 0;
  if (!block) {
    WDialogPutRadioButton(kAllCells);
    WDialogFieldState(kSelectedCells, 0);
  } else {
    WDialogFieldState(kSelectedCells, 1);
    WDialogPutRadioButton(kSelectedCells);
  }
  showAtClient(window);
  std::string confirmed;
  std::string name;
  bool save = false;
  bool selected = false;
  int filterIndex = 1;
  for (;;) {
    const int button = waitForButton({1, 2, kBrowseButton});
    if (button == kBrowseButton) {
      std::string chosen = fieldText(kTextField, kFileNameLength);
      if (selectFile(kHtmlFilter, kSaveFlags, chosen, filterIndex)) {
        WDialogPutString(kTextField, chosen);
        confirmed = chosen;
      }
      continue;
    }
    if (button != 1) break;
    name = fieldText(kTextField, kFileNameLength);
    if (name.empty()) {
      box(0, kIconExclamation, 1, "You must enter a filename", "Select File");
      WDialogSetField(kTextField);
      continue;
    }
    if (name != confirmed && fileExists(name)) {
      box(kButtonsYesNo, kIconExclamation, 2, name + " already exists\rDo you want to replace it?", "Select File");
      if (WQueryLastResult(kLastAnswer) != 1) {
        WDialogSetField(kTextField);
        continue;
      }
    }
    int choice = 1;
    WDialogGetRadioButton(kFullPage, choice);
    kept.tableOnly = choice == 2 ? 1 : 0;
    WDialogGetRadioButton(kSymbolChecks, choice);
    kept.checkLetters = choice == 2 ? 1 : 0;
    WDialogGetCheckBox(kCentreField, kept.centre);
    WDialogGetCheckBox(kColoursField, kept.colours);
    kept.title = fieldText(kTitleField, kTitleLength);
    WDialogGetInteger(kBorderField, kept.border);
    WDialogGetRadioButton(kAllCells, choice);
    selected = choice == 2;
    save = true;
    break;
  }
  enableWindowsAgain(window);
  WDialogUnload();
  if (!save) return;

  errorState.lastError = 0;
  if (backup == 1) backupCopy(name);
  const int options = kept.tableOnly + 2 * kept.centre + 4 * kept.checkLetters + (kept.colours == 0 ? 8 : 0);
  GridBlock range;
  if (selected && block) {
    range = GridBlock{firstColumn + 1, lastColumn + 1, firstRow + 1, lastRow + 1};
  }
  GridHtmlOptions html;
  html.options = options;
  const std::string title = kept.title.substr(0, kTitleLength);
  html.title = title;
  html.border = kept.border;
  const int before = errorState.lastError;
  errorState.lastError = 0;
  WGridSaveHTML(0, name, range, html);
  const int error = errorState.lastError;
  errorState.lastError = error != 0 ? error : before;
  frame.keepArisenError();
  if (error == 1) {
    fileError("Error opening file");
  } else if (error == 2) {
    fileError("Error writing file");
  } else {
    success = 1;
  }
}

void YYGEDSAVECSV(int window, int saveAs, int& success, int& filterIndex, int backup, std::string& fileName,
                  std::string_view filterText) {
  success = 0;
  std::string name = nulEnded(fileName);
  if (name.empty() || saveAs == 1) {
    const std::string filter = filterText.empty() ? std::string(kCsvFilter) : nulEnded(filterText);
    if (!selectFile(filter, kSaveFlags, name, filterIndex)) return;
  }
  CommandFrame frame(window);
  if (backup == 1) backupCopy(name);
  const int before = errorState.lastError;
  errorState.lastError = 0;
  WGridSave(0, name);
  const int error = errorState.lastError;
  errorState.lastError = error != 0 ? error : before;
  frame.keepArisenError();
  if (error == 1) {
    fileError("Error opening file");
    return;
  }
  if (error == 2) {
    fileError("Error writing file");
    return;
  }
  success = 1;
  fileName = name;
}

void YYGEDLOADCSV(int window, int ask, int rowCount, int& success, int& filterIndex, std::string& fileName,
                  std::string_view filterText) {
  success = 0;
  std::string name = nulEnded(fileName);
  if (ask == 1) {
    const std::string filter = filterText.empty() ? std::string(kCsvFilter) : nulEnded(filterText);
    if (!selectFile(filter, kOpenFlags, name, filterIndex)) return;
  }
  const CommandFrame frame(window);
  WGridLoad(0, name, rowCount);
  switch (errorState.lastError) {
    case 1:
      fileError("Error opening file");
      break;
    case 2:
      fileError("Error reading file");
      break;
    case 4:
    case 1009:
      dataError("Out of range value found for numeric cell");
      success = 1;
      break;
    case 11:
    case 12:
      dataError("Non-numeric data found for numeric cell");
      success = 1;
      break;
    case 1054:
      dataError("File contains too many rows/columns");
      success = 1;
      break;
    case 1055:
      dataError("Non-matching data found for menu cell");
      success = 1;
      break;
    default:
      success = 1;
      break;
  }
  WGridSetCell(0, 1, 1);
  if (success == 1) fileName = std::string(text::trimmed(name));
}

void YYGEDSAVEPROMPT(int window, int unsaved, int& proceed, int& filterIndex, int backup, std::string& fileName,
                     std::string_view filterText) {
  if (unsaved != 1) {
    proceed = 1;
    return;
  }
  const std::string name = nulEnded(fileName);
  const std::string question =
      name.empty() ? std::string("Do you want to save changes?") : "Do you want to save changes to " + name + "?";
  WMessageBox(kButtonsYesNoCancel, kIconExclamation, 1, question, "Zandrovel Grid Editor");
  switch (WQueryLastResult(kLastAnswer)) {
    case kResultYes: {
      int success = 0;
      YYGEDSAVECSV(window, 0, success, filterIndex, backup, fileName, filterText);
      proceed = success;
      break;
    }
    case kResultNo:
      proceed = 1;
      break;
    case kResultCancel:
      proceed = 0;
      break;
    default:
      break;
  }
}
