#include "toolkit/grid/grid_field.h"

#include "toolkit/core/number_conversion.h"

int yyGridValidationSuspended = 0;

namespace {

// Skips blanks, then reads one integer ended by a blank; the position moves
// past what was read.
int readWord(const char* text, int& position) {
  while (text[position] == ' ') ++position;
  const int value = YYParseInt(text + position);
  while (text[position] != '\0' && text[position] != ' ' && text[position] != '\n') ++position;
  return value;
}

}  // namespace

// No grid is ever defined before the grid control exists, so no grid has a record.
GridRecord* gridRecordOf(HWND) { return nullptr; }

// The grid control will build its columns from the template dialog; until
// then only the three numbers are read, so that the description reader goes
// on behind them.
void YYGridFromText(HWND, const char* text, int& consumed) {
  int position = 0;
  for (int i = 0; i < 3; ++i) readWord(text, position);
  consumed = position;
}

void YYGridClone(HWND, HWND, int) {}

void YYGridResetCells(HWND, int) {}

void YYGridSetReadOnly(HWND cell, int columnType, int readOnly, int redraw) {
  HWND grid = GetParent(GetParent(cell));
  if (grid != nullptr && (GetWindowLongA(grid, GWL_STYLE) & kGridReadOnlyStyle) != 0) return;
  if (columnType < 0) return;
  if (columnType <= 3) {
    SendMessageA(cell, EM_SETREADONLY, readOnly != 0 ? TRUE : FALSE, 0);
    if (redraw != 0) InvalidateRect(cell, nullptr, TRUE);
    return;
  }
  if (columnType == 4) {
    LONG style = GetWindowLongA(cell, GWL_STYLE) & ~0xFL;
    style |= readOnly != 0 ? BS_CHECKBOX : BS_AUTOCHECKBOX;
    SetWindowLongA(cell, GWL_STYLE, style);
  }
}
