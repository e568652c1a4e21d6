#pragma once
// The grid's data: one record per grid, one column record per column with the
// values of every allocated row, the per-row flags, the per-cell colours and
// the row labels.  Nothing here owns a window: the rows that are on view are
// reached through GridView, which the grid window implements.  A grid without
// a view (or with 0 cell rows) keeps every row in its arrays.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum GridColumnType : int {
  kGridString = 0,
  kGridInteger = 1,
  kGridReal = 2,
  kGridDouble = 3,
  kGridCheckBox = 4,
  kGridMenu = 5,
};

// Row flag bits, one byte per row and column.
constexpr unsigned char kRowReadOnly = 0x01;
constexpr unsigned char kRowStored = 0x02;   // numeric columns read their value only with it
constexpr unsigned char kRowPresent = 0x04;  // the text was not blank

// Grid styles (low word of the grid window's style).
constexpr LONG kGridBlockEventStyle = 0x0040;
constexpr LONG kGridNoLabelTextStyle = 0x0080;
constexpr LONG kGridKeepHeightStyle = 0x0100;
constexpr LONG kGridHeadingStyle = 0x0200;
constexpr LONG kGridRowLabelStyle = 0x0400;
constexpr LONG kGridReadOnlyStyle = 0x0800;

constexpr int kGridLabelLength = 50;
constexpr int kGridDefaultTextWidth = 1024;
constexpr int kGridIntegerTextWidth = 11;
// Bounds of a spin cell's up-down range.
constexpr int kGridSpinLimit = 31073;

// 7 bytes per cell once a column has per-cell colours.
struct GridColour {
  unsigned char flags = 0;  // 0x01 text colour set, 0x02 background set
  std::array<unsigned char, 3> text{};
  std::array<unsigned char, 3> background{};
};
constexpr unsigned char kColourText = 0x01;
constexpr unsigned char kColourBackground = 0x02;

struct GridColumn {
  int width = 0;
  GridColumnType type = kGridString;
  int textWidth = 0;
  std::vector<unsigned char> data;   // bytesPerRow() x rows allocated
  std::vector<unsigned char> flags;  // one per allocated row
  std::vector<GridColour> colours;   // empty until the first per-cell colour

  // The properties the column's first cell window carries; the window layer
  // keeps its cells in step with these.
  std::string format;  // real and double columns: empty means the default
  double minimum = 1000.0;  // a range holds only while minimum <= maximum
  double maximum = -1000.0;
  double smallStep = 0.0;
  double largeStep = 0.0;
  int spinMinimum = 0;  // up-down range of spin cells
  int spinMaximum = 0;
  int textColour = -1;  // RGB, -1 default
  int backgroundColour = -1;
  int alignment = 0;  // 0 left, 1 centre, 2 right
  bool spin = false;
  std::vector<std::string> menuItems;
  std::string title;

  int bytesPerRow() const;
  bool hasRange() const { return minimum <= maximum; }
};

class GridView;

struct GridRecord {
  int defined = 0;
  int columns = 0;
  int lastFirstColumn = 0;
  int rowsAllocated = 0;
  int columnsDefined = 0;
  int rows = 0;
  int visibleRows = 0;
  int cellRows = 0;
  int rowHeight = 0;
  int currentColumn = 0;
  int currentRow = 0;
  int firstColumn = 0;
  int lastColumn = 0;
  int firstRow = 0;
  int labelWidth = 0;
  int headingHeight = 0;
  int templateId = 0;
  int blockFirstRow = -1;
  int blockLastRow = -1;
  int blockFirstColumn = -1;
  int blockLastColumn = -1;
  int scrollScale = 1;
  int exactTarget = 0;
  int wheelAccumulator = 0;
  int layoutHeight = 0;
  int frameHeight = 0;
  std::vector<GridColumn> columnList;
  HWND client = nullptr;
  std::vector<HWND> cells;  // column x cellRows + (row - firstRow)
  HWND heading = nullptr;
  std::vector<HWND> labelControls;
  HWND menuCell = nullptr;
  std::vector<std::string> labels;  // rows allocated, at most 50 characters each
  HWND droppedCombo = nullptr;
  int unsaved = 0;
  int changed = 0;
  int displayOnly = 0;
  HFONT font = nullptr;

  HWND window = nullptr;
  LONG style = 0;
  GridView* view = nullptr;
};

// What the model asks of the cell windows on view.  Columns and rows are
// 0-based grid positions.
class GridView {
 public:
  virtual ~GridView() = default;
  virtual bool rowOnView(int row) const = 0;
  virtual std::string text(int column, int row) const = 0;
  // Puts a text: the window is unmodified afterwards, with its last valid value
  // and value-present word.
  virtual void setText(int column, int row, std::string_view text, double lastValue, bool present) = 0;
  virtual bool modified(int column, int row) const = 0;
  virtual double lastValue(int column, int row) const = 0;
  virtual int check(int column, int row) const = 0;
  virtual void setCheck(int column, int row, int state) = 0;
  virtual int selection(int column, int row) const = 0;  // -1 none
  virtual void setSelection(int column, int row, int index) = 0;
  virtual void store() = 0;
  virtual void load() = 0;
};

// The GM_CELLCHANGE lParam: 14 bits for column + 1, 18 bits for row + 1.
constexpr std::uint32_t YYGridCellChangeParam(int column, int row) {
  return (static_cast<std::uint32_t>(column + 1) << 18) + static_cast<std::uint32_t>(row + 1);
}
constexpr int YYGridCellChangeColumn(std::uint32_t packed) { return static_cast<int>(packed >> 18) - 1; }
constexpr int YYGridCellChangeRow(std::uint32_t packed) { return static_cast<int>(packed & 0x3FFFF) - 1; }

// Row height of the cells for the font's character height; never below 2, as
// rows stand row height - 1 apart.
int YYGridRowHeight(int characterHeight);

// Sets the column count and allocates every column's arrays, the row labels
// for rows allocated; false (and no grid) when memory runs out.
bool YYGridAllocate(GridRecord& grid, int columns, int rowsAllocated);
// Allocates one column's arrays for the grid's rows allocated.
bool YYGridAllocateColumn(GridColumn& column, int rowsAllocated);
// The set-size message: on a grid that is not allocated yet, rows, rows
// allocated and columns; on an allocated one, the rows (clamped to the rows
// allocated) and the columns (clamped to the columns that exist).
void YYGridSetSize(GridRecord& grid, int rows, int columns);

// The numbers of a [Grids] line after the field identifier.
struct GridsLine {
  int columns = 0;
  int rows = 0;
  int templateId = 0;
  int consumed = 0;  // characters up to the end of the template number
};
GridsLine YYGridParseLine(std::string_view text);
// The label-width line after a [Grids] line (text starts on the [Grids]
// line): the width in dialog units and where its first digit stands.
struct GridLabelWidth {
  int width = 0;
  int position = 0;
};
GridLabelWidth YYGridLabelWidth(std::string_view text);
// Reads the row labels that follow the label-width line (text starts at the
// width's first digit), one a line, unless the grid's style says not to.
// Gives how far it read: the offset of the line feed it read last, or of the
// text's end when the text ended first.
int YYGridReadLabels(GridRecord& grid, std::string_view text);

// 0-based: a column that exists, a cell of a row in use.
bool YYGridColumnExists(const GridRecord& grid, int column);
bool YYGridCellExists(const GridRecord& grid, int column, int row);
bool YYGridRowOnView(const GridRecord& grid, int row);
void YYGridMarkChanged(GridRecord& grid);
void YYGridClearBlock(GridRecord& grid);

// A value truncated toward zero into the 32-bit range.
int YYGridTruncate(double value);
// Equal texts, case ignored.
bool YYGridSameTextIgnoringCase(std::string_view a, std::string_view b);

// Typed access to a column's stored values.
std::string YYGridStoredText(const GridColumn& column, int row);
void YYGridStoreText(GridColumn& column, int row, std::string_view text);
int YYGridStoredInteger(const GridColumn& column, int row);
double YYGridStoredNumber(const GridColumn& column, int row);
void YYGridStoreNumber(GridColumn& column, int row, double value);
void YYGridStoreRaw(GridColumn& column, int row, int value);  // check boxes and menus
void YYGridZeroValue(GridColumn& column, int row);
