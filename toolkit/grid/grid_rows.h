#pragma once
// Whole rows and the grid as a whole: the current cell, the number of rows,
// deleting and inserting rows, sorting on one column and finding a text.

#include <optional>
#include <string_view>

#include "toolkit/grid/grid_model.h"

// Filled by the grid window and the grid editor: the scroll bars after the row
// count changed, the editor window fitted to its grid, the cells on view after
// a column's properties or a title changed, a row's label on view after it
// changed, and the current cell shown and focused.
struct GridRowHooks {
  void (*scrollRange)(GridRecord& grid) = nullptr;
  void (*editorFit)(GridRecord& grid) = nullptr;
  void (*columnChanged)(GridRecord& grid, int column) = nullptr;
  void (*labelChanged)(GridRecord& grid, int row) = nullptr;
  // Makes a cell current the way a person would see it: focus, scroll, report.
  void (*setCurrent)(GridRecord& grid, int column, int row) = nullptr;
  // The grid takes the focus back when it had it, so that its current cell,
  // moved by the model, is shown, focused and reported.
  void (*refocus)(GridRecord& grid) = nullptr;
};
extern GridRowHooks yyGridRowHooks;

// 0-based; -2 unless the cell is a cell of a row in use.
int YYGridSetCurrent(GridRecord& grid, int column, int row);
// The caller has checked 1 <= rows <= rows allocated.
void YYGridSetRows(GridRecord& grid, int rows, bool editorGrid);

// A sort key; texts compare as unsigned bytes, the shorter padded with blanks.
struct GridSortKey {
  bool isText = false;
  std::string text;
  double number = 0.0;
};
// Flags: 1 descending, 2 fold case.  Row 0-based.
GridSortKey YYGridSortKey(const GridRecord& grid, int column, int row, int flags);
// Negative, 0 or positive as a sorts before, equal to or after b.
int YYGridCompareKeys(const GridSortKey& a, const GridSortKey& b);
// Sorts rows first..last (1-based) on the column's keys, in the order the
// flags ask (1 descending, 2 fold case, 4 labels move with their rows); rows
// whose keys are equal keep the order they had.
void YYGridSortRows(GridRecord& grid, int column, int first, int last, int flags);

void WGridSetCell(int grid, int column, int row);
void WGridLabelRow(int grid, int row, std::string_view label);
void WGridRows(int grid, int rows);
void WGridDeleteRows(int grid, int row, int count = 1, int shrink = 0, int labels = 0);
void WGridInsertRows(int grid, int row, int count = 1, int grow = 0, int labels = 0);
void WGridSort(int grid, int column, int flags = 0, std::optional<int> firstRow = std::nullopt,
               std::optional<int> lastRow = std::nullopt);
// found: -1 found (the cell becomes current), 0 not found.
void WGridFind(int grid, std::string_view text, int flags = 0, int* found = nullptr,
               std::optional<int> firstColumn = std::nullopt, std::optional<int> lastColumn = std::nullopt,
               std::optional<int> firstRow = std::nullopt, std::optional<int> lastRow = std::nullopt);
