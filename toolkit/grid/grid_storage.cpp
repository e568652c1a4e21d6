#include "toolkit/grid/grid_storage.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/grid/grid_rows.h"

int YYGridFieldTypeCode(GridColumnType type) {
  static constexpr std::array<int, 6> kCodes = {4, 5, 6, 7, 9, 11};
  return kCodes[static_cast<std::size_t>(type)];
}

int YYGridColumnType(const GridRecord& grid, int column, int& code) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  code = YYGridFieldTypeCode(grid.columnList[static_cast<std::size_t>(column)].type);
  return kGridDone;
}

int YYGridTextWidth(const GridRecord& grid, int column, int& width) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  if (c.type != kGridString) return kGridOutside;
  width = c.textWidth + 1;
  return kGridDone;
}

void YYGridOption(const GridRecord& grid, int code, int& value) {
  switch (code) {
    case 1: value = grid.columns; break;
    case 2: value = grid.rowsAllocated; break;
    case 3: value = grid.rows; break;
    case 4: value = grid.currentColumn + 1; break;
    case 5: value = grid.currentRow + 1; break;
    case 6: value = 1 - grid.unsaved; break;
    case 7: value = grid.changed; break;
    case 8: value = grid.firstColumn + 1; break;
    case 9: value = grid.firstRow + 1; break;
    case 101: value = grid.cellRows; break;
    case 102: value = grid.columnsDefined; break;
    default: break;
  }
}

int YYGridColumnAlign(const GridRecord& grid, int column, int& alignment) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  alignment = c.type == kGridCheckBox ? 1 : c.type == kGridMenu ? 0 : c.alignment;
  return kGridDone;
}

bool YYGridHasRowLabels(const GridRecord& grid) { return (grid.style & kGridRowLabelStyle) != 0; }
bool YYGridHasHeading(const GridRecord& grid) { return (grid.style & kGridHeadingStyle) != 0; }

namespace {
// The cells on view follow the column's new properties.
void columnChanged(GridRecord& grid, int column) {
  if (yyGridRowHooks.columnChanged != nullptr) yyGridRowHooks.columnChanged(grid, column);
}
}  // namespace

std::string YYGridGetColumnTitle(const GridRecord& grid, int item) {
  if (!YYGridHasHeading(grid) || item < 1 || !YYGridColumnExists(grid, item - 1)) return {};
  return grid.columnList[static_cast<std::size_t>(item - 1)].title;
}

void YYGridSetColumnTitle(GridRecord& grid, int item, std::string_view text) {
  if (!YYGridHasHeading(grid) || item < 1 || !YYGridColumnExists(grid, item - 1)) return;
  grid.columnList[static_cast<std::size_t>(item - 1)].title = std::string(text);
  columnChanged(grid, item - 1);
}

void YYGridSetRowLabel(GridRecord& grid, int row, std::string_view text) {
  if (!YYGridHasRowLabels(grid) || row < 0 || row >= static_cast<int>(grid.labels.size())) return;
  grid.labels[static_cast<std::size_t>(row)] = std::string(text.substr(0, kGridLabelLength));
  if (YYGridRowOnView(grid, row) && yyGridRowHooks.labelChanged != nullptr) yyGridRowHooks.labelChanged(grid, row);
}

std::string YYGridGetRowLabel(const GridRecord& grid, int row) {
  if (!YYGridHasRowLabels(grid) || row < 0 || row >= static_cast<int>(grid.labels.size())) return {};
  return grid.labels[static_cast<std::size_t>(row)];
}

namespace {

GridRgb rgbOf(int colour) {
  if (colour < 0) return {};
  return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

GridRgb rgbOf(bool set, const std::array<unsigned char, 3>& bytes) {
  if (!set) return {};
  return {bytes[0], bytes[1], bytes[2]};
}

// r = 256 clears, r = -1 leaves, anything else sets.
void applyColour(GridColour& entry, unsigned char flag, std::array<unsigned char, 3>& bytes, const GridRgb& rgb) {
  if (rgb.r == -1) return;
  if (rgb.r == 256) {
    entry.flags = static_cast<unsigned char>(entry.flags & ~flag);
    return;
  }
  entry.flags |= flag;
  bytes = {static_cast<unsigned char>(rgb.r), static_cast<unsigned char>(rgb.g), static_cast<unsigned char>(rgb.b)};
}

int colourWord(const GridRgb& rgb, int previous) {
  if (rgb.r == -1) return previous;
  if (rgb.r == 256) return -1;
  return (rgb.r & 0xFF) | ((rgb.g & 0xFF) << 8) | ((rgb.b & 0xFF) << 16);
}

}  // namespace

int YYGridGetCellColour(const GridRecord& grid, int column, int row, GridRgb& text, GridRgb& background) {
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= grid.rowsAllocated) return kGridOutside;
  const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  if (static_cast<std::size_t>(row) < c.colours.size()) {
    const GridColour& entry = c.colours[static_cast<std::size_t>(row)];
    text = rgbOf((entry.flags & kColourText) != 0, entry.text);
    background = rgbOf((entry.flags & kColourBackground) != 0, entry.background);
  } else {
    // The column's colours, each in turn falling back to the grid field's own.
    const FieldRecord* own = grid.window != nullptr ? fieldRecordOf(grid.window) : nullptr;
    text = rgbOf(c.textColour >= 0 || own == nullptr ? c.textColour : own->textColour);
    background = rgbOf(c.backgroundColour >= 0 || own == nullptr ? c.backgroundColour : own->backgroundColour);
  }
  return kGridDone;
}

int YYGridSetCellColour(GridRecord& grid, int column, int row, const GridRgb& text, const GridRgb& background) {
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= grid.rowsAllocated) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  if (c.colours.empty()) {
    GridColour start;
    applyColour(start, kColourText, start.text, rgbOf(c.textColour));
    applyColour(start, kColourBackground, start.background, rgbOf(c.backgroundColour));
    try {
      c.colours.assign(static_cast<std::size_t>(grid.rowsAllocated), start);
    } catch (const std::bad_alloc&) {
      return kGridBlank;
    }
  }
  GridColour& entry = c.colours[static_cast<std::size_t>(row)];
  applyColour(entry, kColourText, entry.text, text);
  applyColour(entry, kColourBackground, entry.background, background);
  if (YYGridRowOnView(grid, row)) columnChanged(grid, column);
  return kGridDone;
}

int YYGridSetColumnColour(GridRecord& grid, int column, const GridRgb& text, const GridRgb& background) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  c.colours.clear();
  c.colours.shrink_to_fit();
  c.textColour = colourWord(text, c.textColour);
  c.backgroundColour = colourWord(background, c.backgroundColour);
  columnChanged(grid, column);
  return kGridDone;
}

int YYGridSetColumnRange(GridRecord& grid, int column, double minimum, double maximum) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  c.minimum = minimum;
  c.maximum = maximum;
  auto spinBound = [](double v) {
    return static_cast<int>(std::trunc(std::clamp(v, -static_cast<double>(kGridSpinLimit),
                                                  static_cast<double>(kGridSpinLimit))));
  };
  c.spinMinimum = spinBound(minimum);
  c.spinMaximum = spinBound(maximum);
  columnChanged(grid, column);
  return kGridDone;
}

int YYGridSetSpinSteps(GridRecord& grid, int column, double first, double second) {
  if (!YYGridColumnExists(grid, column)) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  if (!c.spin) return kGridOutside;
  c.smallStep = first;
  c.largeStep = c.type == kGridInteger && second == 0.0 ? first : second;
  columnChanged(grid, column);
  return kGridDone;
}

int YYGridSetCellReadOnly(GridRecord& grid, int column, int row, int state) {
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= grid.rowsAllocated) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  unsigned char& flags = c.flags[static_cast<std::size_t>(row)];
  flags = state == 1 ? static_cast<unsigned char>(flags & ~kRowReadOnly) : static_cast<unsigned char>(flags | kRowReadOnly);
  if (YYGridRowOnView(grid, row)) columnChanged(grid, column);
  return kGridDone;
}

std::string YYGridMenuItemText(const GridRecord& grid, int column, int option) {
  if (!YYGridColumnExists(grid, column)) return {};
  const std::vector<std::string>& items = grid.columnList[static_cast<std::size_t>(column)].menuItems;
  if (option < 1 || option > static_cast<int>(items.size())) return {};
  return items[static_cast<std::size_t>(option - 1)];
}


int YYGridMenuByText(GridRecord& grid, int column, int row, int& notFound, std::string_view text) {
  if (!YYGridColumnExists(grid, column) || row < 0 || row >= grid.rowsAllocated) return kGridOutside;
  GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
  if (c.type != kGridMenu) return kGridOutside;
  int index = 0;
  notFound = 1;
  for (std::size_t i = 0; i < c.menuItems.size(); ++i) {
    if (YYGridSameTextIgnoringCase(c.menuItems[i], text)) {
      index = static_cast<int>(i);
      notFound = 0;
      break;
    }
  }
  YYGridStoreRaw(c, row, index);
  if (YYGridRowOnView(grid, row)) grid.view->setSelection(column, row, index);
  return kGridDone;
}

std::string YYGridCellFormat(const GridRecord& grid, int column) {
  if (YYGridColumnExists(grid, column)) {
    const GridColumn& c = grid.columnList[static_cast<std::size_t>(column)];
    if ((c.type == kGridReal || c.type == kGridDouble) && !c.format.empty()) return c.format;
  }
  return std::string(kDefaultRealFormat);
}

void YYGridResetModel(GridRecord& grid, int menus) {
  YYGridClearBlock(grid);
  for (GridColumn& c : grid.columnList) {
    if (c.type == kGridMenu && menus == 1) c.menuItems.clear();
    for (int row = 0; row < grid.rowsAllocated; ++row) {
      // The whole value: a menu index of 256 or more must not survive in its upper bytes.
      YYGridZeroValue(c, row);
      if (static_cast<std::size_t>(row) < c.flags.size()) {
        c.flags[static_cast<std::size_t>(row)] &= static_cast<unsigned char>(~(kRowStored | kRowPresent));
      }
    }
  }
}
