#pragma once
// What the API layer asks of a grid besides single cells: options, column
// kinds, titles, labels, colours, ranges, spin steps, read-only cells and the
// menu lists.  Columns and rows are 0-based.  Results are statuses: 0 done,
// -1 no grid, -2 column or row outside the grid (or a column of the wrong
// type), -3 as stated.

#include <string>
#include <string_view>

#include "toolkit/grid/grid_model.h"

constexpr int kGridDone = 0;
constexpr int kGridNoGrid = -1;
constexpr int kGridOutside = -2;
constexpr int kGridBlank = -3;

// The column's type as the dialog manager numbers field kinds.
int YYGridFieldTypeCode(GridColumnType type);
int YYGridColumnType(const GridRecord& grid, int column, int& code);
int YYGridTextWidth(const GridRecord& grid, int column, int& width);
// Codes 1-9, 101 and 102; other codes leave the value as it is.
void YYGridOption(const GridRecord& grid, int code, int& value);
int YYGridColumnAlign(const GridRecord& grid, int column, int& alignment);

// Heading item 0 is the corner; column c is item c + 1.
std::string YYGridGetColumnTitle(const GridRecord& grid, int item);
void YYGridSetColumnTitle(GridRecord& grid, int item, std::string_view text);
// At most 50 characters; nothing without row labels.
void YYGridSetRowLabel(GridRecord& grid, int row, std::string_view text);
std::string YYGridGetRowLabel(const GridRecord& grid, int row);
bool YYGridHasRowLabels(const GridRecord& grid);
bool YYGridHasHeading(const GridRecord& grid);

// Colours as r, g, b; -1, -1, -1 when not set.
struct GridRgb {
  int r = -1, g = -1, b = -1;
  bool set() const { return r >= 0; }
};
int YYGridGetCellColour(const GridRecord& grid, int column, int row, GridRgb& text, GridRgb& background);
// r = 256 clears a colour, r = -1 leaves it.
int YYGridSetCellColour(GridRecord& grid, int column, int row, const GridRgb& text, const GridRgb& background);
int YYGridSetColumnColour(GridRecord& grid, int column, const GridRgb& text, const GridRgb& background);
int YYGridSetColumnRange(GridRecord& grid, int column, double minimum, double maximum);
int YYGridSetSpinSteps(GridRecord& grid, int column, double first, double second);
// State 1 makes the cell editable, any other read-only.
int YYGridSetCellReadOnly(GridRecord& grid, int column, int row, int state);

// The text of item option - 1 of the column's list; empty when there is none.
std::string YYGridMenuItemText(const GridRecord& grid, int column, int option);
// Exact but case-blind: found, the stored index becomes its index, else 0 and notFound 1.
int YYGridMenuByText(GridRecord& grid, int column, int row, int& notFound, std::string_view text);
std::string YYGridCellFormat(const GridRecord& grid, int column);

// Empties every stored cell; the menu cells' lists too with menus 1.
void YYGridResetModel(GridRecord& grid, int menus);
