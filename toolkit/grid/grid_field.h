#pragma once
// What the dialog manager uses of a grid field: the grid reads its [Grids]
// description line, copies itself into and out of a modal copy, empties its
// cells and sets their read-only state.  Until the grid control is built these
// are least bodies: a grid field is a window of the grid class without cells.

#include <windows.h>

#include <vector>

struct GridColumn {
  int type = 0;                         // 0-3 text and number cells, 4 check box
  std::vector<unsigned char> rowFlags;  // bit 0: the row's cell is read-only
};

struct GridRecord {
  int columns = 0;
  int rows = 0;
  int cellRows = 0;  // rows shown + 1 at most
  int firstRow = 0;
  std::vector<GridColumn> columnList;
  std::vector<HWND> cells;  // column x cellRows + row - firstRow
};

constexpr LONG kGridReadOnlyStyle = 0x800;

// The grid's record, or null while the grid is not defined.
GridRecord* gridRecordOf(HWND grid);
// Reads columns, rows and template number from a [Grids] line; consumed comes
// back as the number of characters read.
void YYGridFromText(HWND grid, const char* text, int& consumed);
void YYGridClone(HWND target, HWND source, int share);
void YYGridResetCells(HWND grid, int flag);
void YYGridSetReadOnly(HWND cell, int columnType, int readOnly, int redraw);

// Set while the grid works on its cells; numeric validation then stands aside.
extern int yyGridValidationSuspended;
