#include "toolkit/grid/grid_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <new>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/number_conversion.h"

int GridColumn::bytesPerRow() const {
  switch (type) {
    case kGridString:
      return textWidth + 1;
    case kGridDouble:
      return 8;
    default:
      return 4;
  }
}

int YYGridRowHeight(int characterHeight) { return std::max(2, 13 * characterHeight / 8 - 1); }

bool YYGridAllocateColumn(GridColumn& column, int rowsAllocated) {
  const std::size_t rows = static_cast<std::size_t>(std::max(rowsAllocated, 0));
  // Rows x bytes per row must not wrap round in a 32-bit size.
  const auto bytesPerRow = static_cast<std::size_t>(column.bytesPerRow());
  if (bytesPerRow != 0 && rows > column.data.max_size() / bytesPerRow) {
    column.data.clear();
    column.flags.clear();
    return false;
  }
  try {
    column.data.assign(rows * bytesPerRow, 0);
    column.flags.assign(rows, 0);
    column.colours.clear();
  } catch (const std::bad_alloc&) {
    column.data.clear();
    column.flags.clear();
    return false;
  }
  return true;
}

bool YYGridAllocate(GridRecord& grid, int columns, int rowsAllocated) {
  try {
    grid.columnList.resize(static_cast<std::size_t>(std::max(columns, 0)));
    grid.labels.assign(static_cast<std::size_t>(std::max(rowsAllocated, 0)), std::string());
  } catch (const std::bad_alloc&) {
    grid.columnList.clear();
    grid.labels.clear();
    return false;
  }
  grid.columns = static_cast<int>(grid.columnList.size());
  grid.rowsAllocated = std::max(rowsAllocated, 0);
  grid.rows = std::min(grid.rows, grid.rowsAllocated);
  for (GridColumn& column : grid.columnList) {
    if (!YYGridAllocateColumn(column, grid.rowsAllocated)) {
      grid.columnList.clear();
      grid.columns = 0;
      return false;
    }
  }
  return true;
}

void YYGridSetSize(GridRecord& grid, int rows, int columns) {
  rows = std::max(rows, 0);
  columns = std::max(columns, 0);
  if (grid.columnList.empty() && grid.defined == 0) {
    grid.rows = rows;
    grid.rowsAllocated = rows;
    grid.columns = columns;
  } else {
    // The arrays stay as they are: the words may never promise more than they hold.
    grid.rows = std::min(rows, grid.rowsAllocated);
    grid.columns = std::min(columns, static_cast<int>(grid.columnList.size()));
  }
  grid.cellRows = std::min(grid.rows, grid.visibleRows + 1);
  if (grid.view == nullptr) grid.cellRows = std::min(grid.cellRows, static_cast<int>(grid.cells.size()));
}

namespace {

// Skips to the next blank (or line end), then over blanks.
std::size_t nextNumber(std::string_view text, std::size_t position) {
  while (position < text.size() && text[position] != ' ' && text[position] != '\n' && text[position] != '\0') {
    ++position;
  }
  while (position < text.size() && text[position] == ' ') ++position;
  return position;
}

int numberAt(std::string_view text, std::size_t position) {
  char digits[16] = {};
  std::size_t n = 0;
  while (position + n < text.size() && n < sizeof digits - 1 &&
         (text[position + n] == '-' || (text[position + n] >= '0' && text[position + n] <= '9'))) {
    digits[n] = text[position + n];
    ++n;
  }
  return YYParseInt(digits);
}

std::size_t endOfNumber(std::string_view text, std::size_t position) {
  while (position < text.size() && text[position] != ' ' && text[position] != '\n' && text[position] != '\r' &&
         text[position] != '\0') {
    ++position;
  }
  return position;
}

}  // namespace

GridsLine YYGridParseLine(std::string_view text) {
  GridsLine line;
  std::size_t position = 0;
  while (position < text.size() && text[position] == ' ') ++position;
  line.columns = numberAt(text, position);
  position = nextNumber(text, position);
  line.rows = numberAt(text, position);
  position = nextNumber(text, position);
  line.templateId = numberAt(text, position);
  line.consumed = static_cast<int>(endOfNumber(text, position));
  return line;
}

GridLabelWidth YYGridLabelWidth(std::string_view text) {
  GridLabelWidth result;
  std::size_t position = text.find('\n');
  position = position == std::string_view::npos ? text.size() : position + 1;
  while (position < text.size() && text[position] == ' ') ++position;
  result.width = numberAt(text, position);
  result.position = static_cast<int>(position);
  return result;
}

int YYGridReadLabels(GridRecord& grid, std::string_view text) {
  std::size_t position = text.find('\n');
  position = position == std::string_view::npos ? text.size() : position + 1;
  const bool readLabels = (grid.style & kGridNoLabelTextStyle) == 0;
  for (int row = 0; row < grid.rows && readLabels; ++row) {
    // Rows after the text has ended get empty labels.
    std::string label;
    if (position < text.size()) {
      std::size_t end = text.find('\n', position);
      if (end == std::string_view::npos) end = text.size();
      for (std::size_t i = position; i < end && label.size() < kGridLabelLength; ++i) {
        if (text[i] != '\r') label.push_back(text[i]);
      }
      label.resize(static_cast<std::size_t>(text::trimmedLength(label)));
      position = end < text.size() ? end + 1 : end;
    }
    if (static_cast<std::size_t>(row) < grid.labels.size()) grid.labels[static_cast<std::size_t>(row)] = label;
  }
  // The reader goes on behind the line end that was read last.
  return static_cast<int>(position > 0 && text[position - 1] == '\n' ? position - 1 : position);
}

bool YYGridColumnExists(const GridRecord& grid, int column) {
  return column >= 0 && column < grid.columns && column < static_cast<int>(grid.columnList.size());
}

bool YYGridCellExists(const GridRecord& grid, int column, int row) {
  return YYGridColumnExists(grid, column) && row >= 0 && row < grid.rows && row < grid.rowsAllocated;
}

bool YYGridRowOnView(const GridRecord& grid, int row) { return grid.view != nullptr && grid.view->rowOnView(row); }

void YYGridMarkChanged(GridRecord& grid) {
  grid.unsaved = 1;
  grid.changed = 1;
}

void YYGridClearBlock(GridRecord& grid) {
  grid.blockFirstRow = grid.blockLastRow = grid.blockFirstColumn = grid.blockLastColumn = -1;
}

namespace {
unsigned char* valueAt(GridColumn& column, int row) {
  return column.data.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(column.bytesPerRow());
}
const unsigned char* valueAt(const GridColumn& column, int row) {
  return column.data.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(column.bytesPerRow());
}
bool holds(const GridColumn& column, int row) {
  return row >= 0 && (static_cast<std::size_t>(row) + 1) * static_cast<std::size_t>(column.bytesPerRow()) <=
                         column.data.size();
}
}  // namespace

std::string YYGridStoredText(const GridColumn& column, int row) {
  if (column.type != kGridString || !holds(column, row)) return {};
  const char* text = reinterpret_cast<const char*>(valueAt(column, row));
  return std::string(text, strnlen(text, static_cast<std::size_t>(column.textWidth)));
}

void YYGridStoreText(GridColumn& column, int row, std::string_view text) {
  if (column.type != kGridString || !holds(column, row)) return;
  unsigned char* value = valueAt(column, row);
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(column.textWidth));
  std::memset(value, 0, static_cast<std::size_t>(column.bytesPerRow()));
  std::memcpy(value, text.data(), n);
}

int YYGridStoredInteger(const GridColumn& column, int row) {
  if (!holds(column, row) || column.type == kGridString || column.type == kGridReal || column.type == kGridDouble) {
    return static_cast<int>(YYGridStoredNumber(column, row));
  }
  std::int32_t value = 0;
  std::memcpy(&value, valueAt(column, row), sizeof value);
  return value;
}

double YYGridStoredNumber(const GridColumn& column, int row) {
  if (!holds(column, row)) return 0.0;
  switch (column.type) {
    case kGridReal: {
      float value = 0.0f;
      std::memcpy(&value, valueAt(column, row), sizeof value);
      return value;
    }
    case kGridDouble: {
      double value = 0.0;
      std::memcpy(&value, valueAt(column, row), sizeof value);
      return value;
    }
    case kGridString:
      return 0.0;
    default: {
      std::int32_t value = 0;
      std::memcpy(&value, valueAt(column, row), sizeof value);
      return value;
    }
  }
}

int YYGridTruncate(double value) {
  if (std::isnan(value)) return 0;
  const double t = std::trunc(value);
  if (t >= 2147483647.0) return 2147483647;
  if (t <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(t);
}

bool YYGridSameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

void YYGridStoreNumber(GridColumn& column, int row, double value) {
  if (!holds(column, row)) return;
  unsigned char* target = valueAt(column, row);
  switch (column.type) {
    case kGridString:
      return;
    case kGridReal: {
      const float real = static_cast<float>(value);
      std::memcpy(target, &real, sizeof real);
      return;
    }
    case kGridDouble:
      std::memcpy(target, &value, sizeof value);
      return;
    default: {
      const std::int32_t integer = YYGridTruncate(value);
      std::memcpy(target, &integer, sizeof integer);
      return;
    }
  }
}

void YYGridStoreRaw(GridColumn& column, int row, int value) {
  if (!holds(column, row)) return;
  const std::int32_t raw = value;
  std::memcpy(valueAt(column, row), &raw, sizeof raw);
}

void YYGridZeroValue(GridColumn& column, int row) {
  if (!holds(column, row)) return;
  std::memset(valueAt(column, row), 0, static_cast<std::size_t>(column.bytesPerRow()));
}
