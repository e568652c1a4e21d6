#pragma once
// What the dialog manager uses of a grid field: the grid reads its [Grids]
// description line (its columns come from the template dialog's controls),
// copies itself into and out of a modal copy, empties its cells and sets
// their read-only state.

#include <windows.h>

#include "toolkit/grid/grid_model.h"

#include <vector>

// The grid's record, or null while the grid has none.
GridRecord* gridRecordOf(HWND grid);
// The grid's record, made (zero-filled) when it has none yet.
GridRecord& YYGridRecordFor(HWND grid);
// The template dialog's procedure: its controls get field records and its own
// description, so that ranges, menus, lengths and formats become column
// properties.
INT_PTR CALLBACK YYGridTemplateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
HWND YYGridTemplateOwner();
// The grid's columns (grid.columns of them) from the template's controls: the
// controls in z-order, or with positions the 1-based position of each
// column's control (a spin field and its buddy counting as one).  controls
// comes back with each column's template control; false when a control is
// missing or a column's arrays could not be had.
bool YYGridColumnsFromTemplate(GridRecord& grid, HWND templateDialog, const int* positions,
                               std::vector<HWND>& controls);
// Reads columns, rows and template number from a [Grids] line (and the row
// labels that follow it with the row-label style); consumed comes back as the
// number of characters used.  A grid whose definition fails is destroyed.
void YYGridFromText(HWND grid, const char* text, int& consumed);
void YYGridClone(HWND target, HWND source, int share);
void YYGridResetCells(HWND grid, int flag);
void YYGridSetReadOnly(HWND cell, int columnType, int readOnly, int redraw);
// Releases the grid's record (the grid window is being destroyed).
void YYGridRecordRelease(HWND grid);

// Set while the grid works on its cells; numeric validation then stands aside.
extern int yyGridValidationSuspended;
