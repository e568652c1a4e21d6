#pragma once
// The grid as a window: its record's life, its layout, the cell windows of
// the rows on view, scrolling, the current cell and the commands of its
// context menu.  The cell windows carry the values of the rows on view; the
// column arrays every other row (store and load move them).

#include <windows.h>

#include "toolkit/grid/grid_model.h"

// Set-up messages of a grid window.  GM_SETCOLUMNS: wParam the template
// dialog, lParam null or the 1-based template positions of the columns; 1 when
// every column got its arrays and cells.  GM_SETROWLABELS: wParam the width
// of the row labels in dialog units, lParam the description at the first
// digit of that width (the label-width line, then one label per row); the
// row-label controls are made, the answer is the characters read beyond
// lParam less one, -1 on failure.  GM_SETSIZE: wParam rows, lParam columns.
constexpr UINT GM_SETCOLUMNS = 1025;
constexpr UINT GM_SETROWLABELS = 1026;
constexpr UINT GM_LAYOUT = 1027;
constexpr UINT GM_SETSIZE = 1028;
constexpr UINT GM_SETDEFINED = 1029;

// Context-menu commands: block ones, then those of one cell.
constexpr int kGridCutBlock = 32122;
constexpr int kGridCopyBlock = 32123;
constexpr int kGridPasteBlock = 32124;
constexpr int kGridDeleteBlock = 32125;
constexpr int kGridUndo = 32221;
constexpr int kGridCut = 32222;
constexpr int kGridCopy = 32223;
constexpr int kGridPaste = 32224;
constexpr int kGridClear = 32225;
constexpr int kGridSelectAll = 32226;

LRESULT CALLBACK YYGridWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The cell window showing (column, row), or null when the row is not on view.
HWND YYGridCellWindow(const GridRecord& grid, int column, int row);
// Column and row (0-based) of a cell window of the grid; false when it is none.
bool YYGridCellPosition(const GridRecord& grid, HWND cell, int& column, int& row);
// The grid a cell, client, header or grid window belongs to; null when none.
GridRecord* YYGridOfChild(HWND window);

// Makes (column, row) current; with focus the grid takes the focus (which
// scrolls the cell into view), else the parent hears GM_CELLCHANGE while the
// focus is inside the grid.
void YYGridWindowSetCurrent(GridRecord& grid, int column, int row, bool focus);
void YYGridReportCell(const GridRecord& grid);
bool YYGridFocusInside(const GridRecord& grid);

// Scroll requests as the scroll bars send them (SB_...); position for
// SB_THUMBPOSITION.
void YYGridScrollRows(GridRecord& grid, int request, int position = 0);
void YYGridScrollColumns(GridRecord& grid, int request, int position = 0);
// Scroll bars, last first-column and last column from the record.
void YYGridLayout(GridRecord& grid);

// Cell windows on view into the arrays, and back.
void YYGridStoreCells(GridRecord& grid);
void YYGridLoadCells(GridRecord& grid);

// A cell window of the column for cell row p, made as a copy of model (the
// column's first cell, or a template control's twin); null on failure.
HWND YYGridCopyCell(GridRecord& grid, int column, HWND model, int p);
// The row-label control of cell row p.
HWND YYGridMakeLabelControl(GridRecord& grid, int p);

// Gives a new cell window of column c its font, text limit, field record
// (from model's: range, steps, format; colours too when asked), menu items
// and the cell procedure.
void YYGridSetUpCell(GridRecord& grid, int c, HWND cell, HWND model, bool withColours);
// The client window took a new height: cell rows are added or removed.
void YYGridClientResized(GridRecord& grid, int height);
// True while the grid writes its own cells (their change notices are no edit).
bool YYGridLoading();
// Lets the model reach the windows when it changes the number of rows.
void YYGridWindowHooksInstall();

// Focus entered: a cell took the focus from outside its grid, so the next
// current-cell change is reported even when the cell stays.  Clear block on
// focus: the focus left a cell for something other than its grid window.
extern int yyGridFocusEntered;
extern int yyGridClearBlockOnFocus;
