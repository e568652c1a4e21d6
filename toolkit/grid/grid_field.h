#pragma once
// What the dialog manager uses of a grid field: the grid reads its [Grids]
// description line (its columns come from the template dialog's controls),
// copies itself into and out of a modal copy, empties its cells and sets
// their read-only state.

#include <windows.h>

#include "toolkit/grid/grid_model.h"

// The grid's record, or null while the grid has none.
GridRecord* gridRecordOf(HWND grid);
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
