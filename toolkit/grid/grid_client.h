#pragma once
// The grid's client window, which holds the cell windows, paints the block
// selection, turns the cells' notices into current-cell changes and offers
// the context menu; the cell, spin-buddy and header procedures; the block.

#include <windows.h>

#include "toolkit/grid/grid_model.h"

LRESULT CALLBACK YYGridClientWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYGridCellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A spin cell's buddy: Shift+click goes to its edit cell (the block), all else
// to the buddy's own procedure, which its user data keeps.
LRESULT CALLBACK YYGridBuddyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK YYGridHeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Gives a heading or row-label control the header procedure.
void YYGridSubclassHeader(HWND header);

// Rows and columns 0-based, inclusive; nothing when the block is already so.
void YYGridSelectBlock(GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn);
// Clears the block and repaints where it stood.
void YYGridClearBlockWindow(GridRecord& grid);
// The block's rectangle in client coordinates; false when none of it is on view.
bool YYGridBlockRect(const GridRecord& grid, RECT& box);
