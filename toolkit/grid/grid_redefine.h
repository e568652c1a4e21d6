#pragma once
// What the API asks of a grid's windows besides cells: new columns from the
// template dialog, the lists of single menu cells, and the heading and
// row-label sizes.  Statuses as in grid_storage.h.

#include <string_view>

#include "toolkit/grid/grid_model.h"

// Destroys every cell and makes columns new ones from the template's controls
// at the 1-based positions; rows and labels stay, stored values are lost.
// editorGrid: the grid's editor window is fitted to it afterwards.
int YYGridRedefineColumns(GridRecord& grid, int columns, const int* positions, bool editorGrid = false);
// One menu cell window (cell row 0-based); -1 when the column is no menu column.
int YYGridClearMenuItems(GridRecord& grid, int column, int cellRow);
int YYGridAddMenuItem(GridRecord& grid, int column, int cellRow, std::string_view text);
// heading 1 with a heading; the label width in pixels with row labels, else 0.
void YYGridLabelInfo(const GridRecord& grid, int& heading, int& labelWidth);
