#pragma once
// Single grid cells: the internal operations on the record (0-based, statuses
// of grid_storage.h), and the program's routines (1-based, errors through the
// error reporter under the routine's name).  Each works on the cell window
// when its row is on view and on the column arrays otherwise.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/core/fixed_text.h"
#include "toolkit/grid/grid_model.h"

// A value as a cell of the type shows it: integers as the integer field
// writes them, reals and doubles with the format (blank: the default).
std::string YYGridFormattedValue(double value, GridColumnType type, std::string_view format);

// The grid a program names: a grid field of the current dialog, or with 0 the
// grid of the current window when that is a grid editor.
GridRecord* YYGridOfIdentifier(int grid);
// Filled by the grid editor: the grid of the current toolkit window, if any.
extern GridRecord* (*yyGridOfCurrentWindow)();
// The grid for a routine: reports 1005 (identifier not 0 and no dialog) or
// 1006 (no grid) under its name and gives null.
GridRecord* YYGridForRoutine(int grid, std::string_view routine);
// Status -1 gives 1006, -2 1017, -3 1010.
void YYGridReportStatus(int status, std::string_view routine);

// The cell's text, at most limit characters.
int YYGridCellString(const GridRecord& grid, int column, int row, std::string& text, int limit);
// The numeric value of a string or number cell; -3 when blank.
int YYGridCellValue(const GridRecord& grid, int column, int row, double& value);
int YYGridCellCheck(const GridRecord& grid, int column, int row, int& state);
// The selected option: index + 1, 0 none.
int YYGridCellMenu(const GridRecord& grid, int column, int row, int& option);
// Stores a text and its value into a string or number cell; value 0.0 means
// "read it from the text".  The format becomes the column's.
int YYGridCellStore(GridRecord& grid, int column, int row, double value, std::string_view text,
                    std::string_view format);
int YYGridCellSetCheck(GridRecord& grid, int column, int row, int state);
// Menu columns: option 1-based, 0 none.
int YYGridCellSetOption(GridRecord& grid, int column, int row, int option);
// Mode 0 a row in use, non-menu; 1 any allocated row, menus keep theirs;
// 2 any allocated row, menus select item 0.
int YYGridClearCellApi(GridRecord& grid, int column, int row, int mode);

// A number into a cell by the put routine of the column's kind (integer, real,
// else double), with the column's format; 0-based; errors are reported.
void YYGridPutCellValue(GridRecord& grid, int column, int row, double value);

void WGridGetCellString(int grid, int column, int row, TextField text);
void WGridGetCellInteger(int grid, int column, int row, int& value);
void WGridGetCellReal(int grid, int column, int row, float& value);
void WGridGetCellDouble(int grid, int column, int row, double& value);
void WGridGetCellCheckBox(int grid, int column, int row, int& state);
void WGridGetCellMenu(int grid, int column, int row, int& option);
void WGridPutCellDouble(int grid, int column, int row, double value,
                        std::optional<std::string_view> format = std::nullopt);
void WGridPutCellInteger(int grid, int column, int row, int value);
void WGridPutCellReal(int grid, int column, int row, float value,
                      std::optional<std::string_view> format = std::nullopt);
void WGridPutCellCheckBox(int grid, int column, int row, int state);
void WGridPutCellOption(int grid, int column, int row, int option);
void WGridClearCell(int grid, int column, int row);
