#include "toolkit/grid/grid_cells.h"

#include <array>
#include <cctype>
#include <cmath>
#include <type_traits>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_register.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_storage.h"

GridRecord* (*yyGridOfCurrentWindow)() = nullptr;

namespace {

constexpr int kErrorNoDialog = 1005;
constexpr int kErrorField = 1006;
constexpr int kErrorRange = 1009;
constexpr int kErrorUndefined = 1010;
constexpr int kErrorCell = 1017;

bool isNumber(GridColumnType type) { return type == kGridInteger || type == kGridReal || type == kGridDouble; }

GridColumn& columnOf(GridRecord& grid, int column) { return grid.columnList[static_cast<std::size_t>(column)]; }
const GridColumn& columnOf(const GridRecord& grid, int column) {
  return grid.columnList[static_cast<std::size_t>(column)];
}

std::string_view cutAtNul(std::string_view text) { return text.substr(0, std::min(text.find('\0'), text.size())); }

// Reads a text as a number without reporting; false when it does not read.
bool readNumber(std::string_view text, double& value) {
  int ok = 0;
  double read = 0.0;
  YYTEXTTOINTOK(read, ok, text);
  if (ok == 0) return false;
  value = read;
  return true;
}





}  // namespace

std::string YYGridFormattedValue(double value, GridColumnType type, std::string_view format) {
  std::array<char, 100> buffer{};
  TextField field(buffer.data(), static_cast<int>(buffer.size()));
  // A cell without a format of its own shows the default one: the number
  // writer refuses an empty format and would leave asterisks in its place.
  if (text::isBlank(format)) format = kDefaultRealFormat;
  if (type == kGridInteger) {
    // Every 32-bit integer fits the integer field's eleven columns.
    YYINTTOTEXT(YYGridTruncate(value), field);
  } else if (type == kGridReal) {
    YYREALTOTEXT(static_cast<float>(value), field, format);
  } else {
    YYNumberToString(value, field, format);
  }
  return std::string(fieldTextOf(field.view()));
}

GridRecord* YYGridOfIdentifier(int grid) {
  if (grid == 0) return yyGridOfCurrentWindow != nullptr ? yyGridOfCurrentWindow() : nullptr;
  HWND window = currentDialogItem(grid);
  if (window == nullptr || GetClassWord(window, GCW_ATOM) != yyGridClasses.gridAtom) return nullptr;
  return gridRecordOf(window);
}

GridRecord* YYGridForRoutine(int grid, std::string_view routine) {
  if (grid != 0 && currentDialogWindow() == nullptr) {
    YYErrorReport(kErrorNoDialog, routine);
    return nullptr;
  }
  GridRecord* record = YYGridOfIdentifier(grid);
  if (record == nullptr) YYErrorReport(kErrorField, routine);
  return record;
}

void YYGridReportStatus(int status, std::string_view routine) {
  if (status == kGridNoGrid) YYErrorReport(kErrorField, routine);
  if (status == kGridOutside) YYErrorReport(kErrorCell, routine);
  if (status == kGridBlank) YYErrorReport(kErrorUndefined, routine);
}

int YYGridCellString(const GridRecord& grid, int column, int row, std::string& text, int limit) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  const GridColumn& c = columnOf(grid, column);
  if (c.type == kGridCheckBox || c.type == kGridMenu) return kGridOutside;
  if (YYGridRowOnView(grid, row)) {
    text = grid.view->text(column, row);
  } else if (c.type == kGridString) {
    text = YYGridStoredText(c, row);
  } else if ((c.flags[static_cast<std::size_t>(row)] & kRowStored) == 0) {
    text.clear();
  } else if (c.type == kGridInteger) {
    text = YYGridFormattedValue(YYGridStoredInteger(c, row), kGridInteger, {});
  } else {
    text = YYGridFormattedValue(YYGridStoredNumber(c, row), c.type, YYGridCellFormat(grid, column));
  }
  if (limit >= 0 && static_cast<int>(text.size()) > limit) text.resize(static_cast<std::size_t>(limit));
  return kGridDone;
}

int YYGridCellValue(const GridRecord& grid, int column, int row, double& value) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  const GridColumn& c = columnOf(grid, column);
  if (c.type == kGridCheckBox || c.type == kGridMenu) return kGridOutside;
  const bool onView = YYGridRowOnView(grid, row);
  if (isNumber(c.type) && !onView) {
    if ((c.flags[static_cast<std::size_t>(row)] & kRowStored) == 0) return kGridBlank;
    value = YYGridStoredNumber(c, row);
    return kGridDone;
  }
  std::string text;
  YYGridCellString(grid, column, row, text, 255);
  if (text::isBlank(text)) return kGridBlank;
  if (isNumber(c.type) && !grid.view->modified(column, row)) {
    value = grid.view->lastValue(column, row);
    return kGridDone;
  }
  return readNumber(text, value) ? kGridDone : kGridBlank;
}

int YYGridCellCheck(const GridRecord& grid, int column, int row, int& state) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  const GridColumn& c = columnOf(grid, column);
  if (c.type != kGridCheckBox) return kGridOutside;
  state = YYGridRowOnView(grid, row) ? grid.view->check(column, row) : YYGridStoredInteger(c, row);
  return kGridDone;
}

int YYGridCellMenu(const GridRecord& grid, int column, int row, int& option) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  const GridColumn& c = columnOf(grid, column);
  if (c.type != kGridMenu) return kGridOutside;
  const int index = YYGridRowOnView(grid, row) ? grid.view->selection(column, row) : YYGridStoredInteger(c, row);
  option = index < 0 ? 0 : index + 1;
  return kGridDone;
}

namespace {

void setValueFlags(GridColumn& column, int row, bool stored, bool present) {
  unsigned char& flags = column.flags[static_cast<std::size_t>(row)];
  flags = static_cast<unsigned char>(flags & ~(kRowStored | kRowPresent));
  if (stored) flags |= kRowStored;
  if (present) flags |= kRowPresent;
}

// The last format put into a column becomes the column's: the other cells on
// view show their values in it at once.
void adoptFormat(GridRecord& grid, int column, std::string_view format) {
  GridColumn& c = columnOf(grid, column);
  if (text::isBlank(format) || (!c.format.empty() && YYGridSameTextIgnoringCase(c.format, format))) return;
  c.format = std::string(format);
  if ((c.type == kGridReal || c.type == kGridDouble) && yyGridRowHooks.columnChanged != nullptr) {
    yyGridRowHooks.columnChanged(grid, column);
  }
}

}  // namespace

int YYGridCellStore(GridRecord& grid, int column, int row, double value, std::string_view text,
                    std::string_view format) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  GridColumn& c = columnOf(grid, column);
  if (c.type == kGridCheckBox || c.type == kGridMenu) return kGridOutside;
  const bool present = !text::isBlank(text);
  YYGridClearBlock(grid);
  double used = value;
  if (used == 0.0) readNumber(text, used);
  if (YYGridRowOnView(grid, row)) grid.view->setText(column, row, text, used, present);
  if (c.type == kGridString) {
    YYGridStoreText(c, row, text);
  } else {
    YYGridStoreNumber(c, row, used);
  }
  setValueFlags(c, row, !text.empty(), present);
  adoptFormat(grid, column, format);
  YYGridMarkChanged(grid);
  return kGridDone;
}

int YYGridCellSetCheck(GridRecord& grid, int column, int row, int state) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  GridColumn& c = columnOf(grid, column);
  if (c.type != kGridCheckBox) return kGridOutside;
  YYGridClearBlock(grid);
  if (YYGridRowOnView(grid, row)) grid.view->setCheck(column, row, state);
  YYGridStoreRaw(c, row, state);
  YYGridMarkChanged(grid);
  return kGridDone;
}

int YYGridCellSetOption(GridRecord& grid, int column, int row, int option) {
  if (!YYGridCellExists(grid, column, row)) return kGridOutside;
  GridColumn& c = columnOf(grid, column);
  if (c.type != kGridMenu) return kGridOutside;
  YYGridClearBlock(grid);
  if (YYGridRowOnView(grid, row)) grid.view->setSelection(column, row, option - 1);
  YYGridStoreRaw(c, row, option - 1);
  YYGridMarkChanged(grid);
  return kGridDone;
}

int YYGridClearCellApi(GridRecord& grid, int column, int row, int mode) {
  const int limit = mode == 0 ? grid.rows : grid.rowsAllocated;
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= limit) return kGridOutside;
  GridColumn& c = columnOf(grid, column);
  YYGridClearBlock(grid);
  if (YYGridRowOnView(grid, row)) {
    if (c.type == kGridCheckBox) {
      grid.view->setCheck(column, row, 0);
    } else if (c.type == kGridMenu) {
      if (mode == 2) grid.view->setSelection(column, row, 0);
    } else {
      grid.view->setText(column, row, "", 0.0, false);
    }
  }
  if (c.type == kGridMenu) {
    if (mode != 2) return kGridOutside;
    YYGridZeroValue(c, row);
    YYGridMarkChanged(grid);
    return kGridDone;
  }
  YYGridZeroValue(c, row);
  c.flags[static_cast<std::size_t>(row)] &= static_cast<unsigned char>(~(kRowStored | kRowPresent));
  YYGridMarkChanged(grid);
  return kGridDone;
}

// ---------------------------------------------------------------------------
// The program's routines.

void WGridGetCellString(int grid, int column, int row, TextField text) {
  constexpr std::string_view kRoutine = "WGridGetCellString";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  std::string value;
  const int status = YYGridCellString(*record, column - 1, row - 1, value, text.length());
  if (status != kGridDone) return YYGridReportStatus(status, kRoutine);
  text.assign(cutAtNul(value));
}

namespace {
// The numeric gets: the value, or the undefined value with 1010 for a blank cell.
template <typename T>
void numericGet(int grid, int column, int row, T& value, T undefined, std::string_view routine) {
  GridRecord* record = YYGridForRoutine(grid, routine);
  if (record == nullptr) return;
  double v = 0.0;
  const int status = YYGridCellValue(*record, column - 1, row - 1, v);
  if (status == kGridBlank) value = undefined;
  if (status != kGridDone) return YYGridReportStatus(status, routine);
  if constexpr (std::is_same_v<T, int>) {
    value = YYGridTruncate(v);
  } else {
    value = static_cast<T>(v);
  }
}
}  // namespace

void WGridGetCellInteger(int grid, int column, int row, int& value) {
  numericGet(grid, column, row, value, toolkitSettings.undefinedInteger, "WGridGetCellInteger");
}

void WGridGetCellReal(int grid, int column, int row, float& value) {
  numericGet(grid, column, row, value, toolkitSettings.undefinedReal, "WGridGetCellReal");
}

void WGridGetCellDouble(int grid, int column, int row, double& value) {
  numericGet(grid, column, row, value, toolkitSettings.undefinedDouble, "WGridGetCellDouble");
}

void WGridGetCellCheckBox(int grid, int column, int row, int& state) {
  constexpr std::string_view kRoutine = "WGridGetCellCheckBox";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  if (!YYGridCellExists(*record, column - 1, row - 1)) return YYGridReportStatus(kGridOutside, kRoutine);
  YYGridCellCheck(*record, column - 1, row - 1, state);
}

void WGridGetCellMenu(int grid, int column, int row, int& option) {
  constexpr std::string_view kRoutine = "WGridGetCellMenu";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  if (!YYGridCellExists(*record, column - 1, row - 1)) return YYGridReportStatus(kGridOutside, kRoutine);
  YYGridCellMenu(*record, column - 1, row - 1, option);
}

namespace {

enum PutKind : int { kPutDouble = 0, kPutInteger = 1, kPutReal = 2 };
constexpr std::array<std::string_view, 3> kPutRoutines = {"WGridPutCellDouble", "WGridPutCellInteger",
                                                          "WGridPutCellReal"};

// The one routine behind the three numeric puts.
void numericPut(GridRecord& record, int c, int r, double value, PutKind kind, std::optional<std::string_view> format) {
  const std::string_view routine = kPutRoutines[static_cast<std::size_t>(kind)];
  if (!YYGridCellExists(record, c, r)) return YYGridReportStatus(kGridOutside, routine);
  const GridColumn& target = record.columnList[static_cast<std::size_t>(c)];
  // A number put into a check box or a menu is ignored, not refused.
  if (target.type == kGridCheckBox || target.type == kGridMenu) return;
  std::string used;
  if (kind != kPutInteger) {
    used = format.has_value() && !text::isBlank(*format) ? std::string(cutAtNul(*format)) : YYGridCellFormat(record, c);
  }
  if (target.hasRange() && (value < target.minimum || value > target.maximum)) {
    YYErrorReport(kErrorRange, routine);
    return;
  }
  if (target.type != kGridString && !YYGridRowOnView(record, r)) {
    // A number column keeps the value itself; the text it would show is made
    // when its row comes on view (loading a file puts a great many of them).
    YYGridClearBlock(record);
    YYGridStoreNumber(record.columnList[static_cast<std::size_t>(c)], r, value);
    setValueFlags(record.columnList[static_cast<std::size_t>(c)], r, true, true);
    adoptFormat(record, c, used);
    YYGridMarkChanged(record);
    return;
  }
  const std::string text = kind == kPutInteger ? YYGridFormattedValue(value, kGridInteger, {})
                                                : YYGridFormattedValue(value, kind == kPutReal ? kGridReal : kGridDouble, used);
  YYGridCellStore(record, c, r, value, text, used);
}

void numericPut(int grid, int column, int row, double value, PutKind kind, std::optional<std::string_view> format) {
  GridRecord* record = YYGridForRoutine(grid, kPutRoutines[static_cast<std::size_t>(kind)]);
  if (record != nullptr) numericPut(*record, column - 1, row - 1, value, kind, format);
}

}  // namespace

void WGridPutCellDouble(int grid, int column, int row, double value, std::optional<std::string_view> format) {
  numericPut(grid, column, row, value, kPutDouble, format);
}

void WGridPutCellInteger(int grid, int column, int row, int value) {
  numericPut(grid, column, row, value, kPutInteger, std::nullopt);
}

void WGridPutCellReal(int grid, int column, int row, float value, std::optional<std::string_view> format) {
  numericPut(grid, column, row, value, kPutReal, format);
}

void WGridPutCellCheckBox(int grid, int column, int row, int state) {
  constexpr std::string_view kRoutine = "WGridPutCellCheckBox";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  YYGridReportStatus(YYGridCellSetCheck(*record, column - 1, row - 1, state), kRoutine);
}

void WGridPutCellOption(int grid, int column, int row, int option) {
  constexpr std::string_view kRoutine = "WGridPutCellOption";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  YYGridReportStatus(YYGridCellSetOption(*record, column - 1, row - 1, option), kRoutine);
}

void WGridClearCell(int grid, int column, int row) {
  constexpr std::string_view kRoutine = "WGridClearCell";
  GridRecord* record = YYGridForRoutine(grid, kRoutine);
  if (record == nullptr) return;
  YYGridReportStatus(YYGridClearCellApi(*record, column - 1, row - 1, 0), kRoutine);
}

void YYGridPutCellValue(GridRecord& grid, int column, int row, double value) {
  if (!YYGridColumnExists(grid, column)) return YYGridReportStatus(kGridOutside, kPutRoutines[kPutDouble]);
  const GridColumnType type = grid.columnList[static_cast<std::size_t>(column)].type;
  const PutKind kind = type == kGridInteger ? kPutInteger : type == kGridReal ? kPutReal : kPutDouble;
  numericPut(grid, column, row, kind == kPutReal ? static_cast<float>(value) : value, kind, std::nullopt);
}
