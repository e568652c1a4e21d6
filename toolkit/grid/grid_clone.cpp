// A grid copied into the dialog manager's modal copy of its dialog, and back.
// Into the copy the target gets the source's words, its own copy of the
// column arrays and labels, and cell windows like the source's; back, only
// the values, labels and words that an edit can change go home.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>

#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_window.h"

namespace {

void copyWords(GridRecord& to, const GridRecord& from) {
  to.rows = from.rows;
  to.currentColumn = from.currentColumn;
  to.currentRow = from.currentRow;
  to.firstColumn = from.firstColumn;
  to.lastColumn = from.lastColumn;
  to.firstRow = from.firstRow;
  to.unsaved = from.unsaved;
  to.changed = from.changed;
  to.columnList = from.columnList;
  to.labels = from.labels;
}

void copyHeading(HWND to, HWND from) {
  while (SendMessageA(to, HDM_DELETEITEM, 0, 0) != 0) {
  }
  const int count = static_cast<int>(SendMessageA(from, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::array<char, 260> text{};
    HDITEMA item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageA(from, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    SendMessageA(to, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

// The target's client and cell windows, made like the source's.
void copyWindows(GridRecord& to, const GridRecord& from) {
  for (HWND cell : to.cells) {
    if (cell != nullptr) DestroyWindow(cell);
  }
  for (HWND label : to.labelControls) DestroyWindow(label);
  if (to.client != nullptr) DestroyWindow(to.client);
  to.client = nullptr;
  RECT client{};
  GetClientRect(to.window, &client);
  HWND window = CreateWindowExA(0, "QVRGRIDCLIENT", "", WS_CHILD | WS_VISIBLE, to.labelWidth, to.headingHeight,
                                client.right - to.labelWidth, client.bottom - to.headingHeight, to.window, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  to.client = window;
  to.cellRows = window != nullptr ? from.cellRows : 0;
  to.cells.assign(static_cast<std::size_t>(std::max(to.columns, 0) * to.cellRows), nullptr);
  for (std::size_t i = 0; i < to.cells.size() && i < from.cells.size(); ++i) {
    if (from.cells[i] != nullptr) {
      to.cells[i] = YYGridCopyCell(to, static_cast<int>(i) / to.cellRows, from.cells[i],
                                   static_cast<int>(i) % to.cellRows);
    }
  }
  to.labelControls.clear();
  for (std::size_t p = 0; p < from.labelControls.size(); ++p) {
    to.labelControls.push_back(YYGridMakeLabelControl(to, static_cast<int>(p)));
  }
  if (to.heading != nullptr && from.heading != nullptr) copyHeading(to.heading, from.heading);
}

void copyScrollBars(HWND to, HWND from) {
  const LONG style = GetWindowLongA(to, GWL_STYLE);
  for (int bar : {SB_VERT, SB_HORZ}) {
    if ((style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) == 0) continue;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(from, bar, &info) != 0) {
      info.fMask |= SIF_DISABLENOSCROLL;
      SetScrollInfo(to, bar, &info, TRUE);
    }
  }
}

// Edit cells keep what the person typed: text, last value and modified state.
void copyEditStates(const GridRecord& to, const GridRecord& from) {
  for (std::size_t i = 0; i < to.cells.size() && i < from.cells.size(); ++i) {
    HWND target = to.cells[i];
    HWND source = from.cells[i];
    if (target == nullptr || source == nullptr || !isEditLike(controlKindOf(source))) continue;
    const std::string text = windowTextOf(source, 32767);
    const LRESULT modified = SendMessageA(source, EM_GETMODIFY, 0, 0);
    SetWindowTextA(target, text.c_str());
    SendMessageA(target, EM_SETMODIFY, static_cast<WPARAM>(modified), 0);
    const FieldRecord* a = fieldRecordOf(source);
    FieldRecord* b = fieldRecordOf(target);
    if (a != nullptr && b != nullptr) {
      b->value = a->value;
      b->valuePresent = a->valuePresent;
    }
  }
}

}  // namespace

void YYGridClone(HWND target, HWND source, int) {
  GridRecord* from = gridRecordOf(source);
  if (from == nullptr || target == source) return;
  GridRecord& to = YYGridRecordFor(target);
  YYGridStoreCells(*from);
  const bool back = YYInModalDialog(source);
  copyWords(to, *from);
  if (!back) {
    to.font = from->font;
    to.defined = from->defined;
    to.columns = from->columns;
    to.lastFirstColumn = from->lastFirstColumn;
    to.rowsAllocated = from->rowsAllocated;
    to.columnsDefined = from->columnsDefined;
    to.visibleRows = from->visibleRows;
    to.rowHeight = from->rowHeight;
    to.labelWidth = from->labelWidth;
    to.headingHeight = from->headingHeight;
    to.templateId = from->templateId;
    to.scrollScale = from->scrollScale;
    to.displayOnly = 0;
    YYGridClearBlock(to);
    copyWindows(to, *from);
  }
  copyScrollBars(target, source);
  if (to.cells.size() == static_cast<std::size_t>(std::max(to.columns, 0) * std::max(to.cellRows, 0))) {
    YYGridLoadCells(to);
    copyEditStates(to, *from);
  }
  to.unsaved = from->unsaved;
  to.changed = from->changed;
}
