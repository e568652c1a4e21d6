#pragma once
// The grid's block on the clipboard: cells of a row separated by TAB, rows by
// CR LF, no line break after the last row.  The text side (what a block
// copies as, how a text pastes into the cells) works on the record alone; the
// clipboard side moves that text through CF_TEXT.

#include <string>
#include <string_view>

#include "toolkit/grid/grid_model.h"

// A cell's text as shown (0-based).  Check boxes give "Yes" or "No", in mode 1
// (printing) the Wingdings check 0xFC and cross 0xFB; menus the selected item.
std::string YYGridCellText(const GridRecord& grid, int column, int row, int mode);
// The clipboard text of rows firstRow..lastRow and columns firstColumn..lastColumn.
std::string YYGridBlockText(const GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn);

constexpr int kClipboardNone = 0;
constexpr int kClipboardPlain = 1;
constexpr int kClipboardTabular = 2;
// Tabular when it holds a TAB or a CR LF; plain when otherwise not empty.
int YYGridTextKind(std::string_view text);
// Rows: 1 + the CR LF pairs followed by more text; columns: the most fields
// of any row.  Both 1 for an empty text.
void YYGridTextSize(std::string_view text, int& rows, int& columns);

// Puts one pasted field into a cell (0-based); numbers that do not read or
// lie outside the column's range leave it as it was (false).
bool YYGridPasteField(GridRecord& grid, int column, int row, std::string_view field);
// Pastes a text at the current cell, clearing the block; fields outside the
// grid are skipped.  Gives the largest column and row written (-1 none).
struct GridPasteEnd {
  int column = -1;
  int row = -1;
};
GridPasteEnd YYGridPasteText(GridRecord& grid, std::string_view text);

// False for a read-only grid or when a cell of the block is read-only.
bool YYGridBlockWritable(const GridRecord& grid);
// False for a read-only grid or when a cell of the rows x columns area at the
// current cell (clipped to the grid) is read-only.
bool YYGridPasteAllowed(const GridRecord& grid, int rows, int columns);
// Empties the cells of the block (menus on their first item) and clears it.
void YYGridDeleteBlockCells(GridRecord& grid);

// The clipboard: its CF_TEXT's kind and size.
int YYGridClipboardKind();
void YYGridClipboardSize(int& rows, int& columns);
// The block onto the clipboard; false (after an error box) when it could not.
bool YYGridCopyBlock(GridRecord& grid);
void YYGridPasteBlock(GridRecord& grid);
void YYGridDeleteBlock(GridRecord& grid);
