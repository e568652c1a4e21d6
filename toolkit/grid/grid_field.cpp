#include "toolkit/grid/grid_field.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include <commctrl.h>

#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_descriptions.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_storage.h"
#include "toolkit/grid/grid_window.h"

int yyGridValidationSuspended = 0;

GridRecord* gridRecordOf(HWND grid) {
  if (grid == nullptr) return nullptr;
  return reinterpret_cast<GridRecord*>(GetWindowLongPtrA(grid, 0));
}

void YYGridRecordRelease(HWND grid) {
  std::unique_ptr<GridRecord> owned(gridRecordOf(grid));
  if (owned != nullptr) delete owned->view;
  SetWindowLongPtrA(grid, 0, 0);
}

GridRecord& YYGridRecordFor(HWND grid) {
  if (GridRecord* existing = gridRecordOf(grid); existing != nullptr) return *existing;
  auto record = std::make_unique<GridRecord>();
  record->window = grid;
  record->style = GetWindowLongA(grid, GWL_STYLE) & 0xFFFF;
  SetWindowLongPtrA(grid, 0, reinterpret_cast<LONG_PTR>(record.get()));
  return *record.release();
}

INT_PTR CALLBACK YYGridTemplateProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!isNumericField(child) && controlKindOf(child) != kKindArrows && fieldRecordOf(child) == nullptr) {
        attachFieldRecord(child, std::make_unique<FieldRecord>());
      }
    }
    YYDialogDescriptionLoad(dialog, static_cast<int>(lParam), -1);
  } else if (message == WM_DESTROY) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (controlKindOf(child) != kKindArrows) releaseFieldRecord(child);
    }
  }
  return 0;
}

namespace {

GridColumnType typeOf(HWND control) {
  switch (controlKindOf(control)) {
    case kKindIntegerEdit:
    case kKindIntegerSpin:
      return kGridInteger;
    case kKindRealEdit:
    case kKindRealSpin:
      return kGridReal;
    case kKindDoubleEdit:
    case kKindDoubleSpin:
      return kGridDouble;
    case kKindButton:
      return (GetWindowLongA(control, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX ? kGridCheckBox : kGridString;
    case kKindCombo:
      return kGridMenu;
    default:
      return kGridString;
  }
}

std::string windowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// One column from its template control; false when its arrays could not be had.
bool columnFromControl(GridRecord& grid, GridColumn& column, HWND control, int clientWidth) {
  const FieldRecord* field = fieldRecordOf(control);
  HWND buddy = field != nullptr ? field->arrowControl : nullptr;
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  RECT box{};
  GetWindowRect(control, &box);
  if (buddy != nullptr) {
    RECT buddyBox{};
    GetWindowRect(buddy, &buddyBox);
    box.right = std::max(box.right, buddyBox.right);
  }
  column.width = box.right - box.left;
  if (clientWidth > 0) column.width = std::min(column.width, clientWidth);
  column.type = typeOf(control);
  column.spin = isSpinKind(controlKindOf(control));
  if (column.type == kGridString) {
    const int length = field != nullptr ? field->maximumLength : 0;
    column.textWidth = length > 0 ? length : kGridDefaultTextWidth;
  } else if (column.type == kGridInteger) {
    column.textWidth = kGridIntegerTextWidth;
  }
  if (field != nullptr) {
    column.minimum = field->minimum;
    column.maximum = field->maximum;
    column.smallStep = field->smallStep;
    column.largeStep = field->largeStep;
    if (field->format) column.format = *field->format;
  }
  if (buddy != nullptr) {
    LONG low = 0;
    LONG high = 0;
    SendMessageA(buddy, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    column.spinMinimum = low;
    column.spinMaximum = high;
  }
  if (column.type <= kGridDouble) column.alignment = (style & ES_RIGHT) != 0 ? 2 : (style & ES_CENTER) != 0 ? 1 : 0;
  if (column.type == kGridMenu) {
    const int count = static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0));
    for (int item = 1; item < count; ++item) {
      std::string text(static_cast<std::size_t>(SendMessageA(control, CB_GETLBTEXTLEN, item, 0)) + 1, '\0');
      const LRESULT n = SendMessageA(control, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
      text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
      column.menuItems.push_back(text);
    }
  }
  column.title = windowText(control);
  if (!YYGridAllocateColumn(column, grid.rowsAllocated)) return false;
  if (column.type <= kGridDouble && (style & ES_READONLY) != 0) {
    std::fill(column.flags.begin(), column.flags.end(), kRowReadOnly);
  }
  return true;
}

}  // namespace

HWND YYGridTemplateOwner() {
  HWND frame = windowTable.slots[0].frame;
  return frame != nullptr ? frame : GetAncestor(nullptr, GA_ROOT);
}

bool YYGridColumnsFromTemplate(GridRecord& grid, HWND templateDialog, const int* positions,
                               std::vector<HWND>& controls) {
  RECT client{};
  GetClientRect(grid.client != nullptr ? grid.client : grid.window, &client);
  controls.assign(static_cast<std::size_t>(std::max(grid.columns, 0)), nullptr);
  try {
    grid.columnList.assign(static_cast<std::size_t>(std::max(grid.columns, 0)), GridColumn());
  } catch (const std::bad_alloc&) {
    grid.columnList.clear();
    return false;
  }
  // The control after a control, a spin field and its buddy counting as one.
  auto after = [](HWND control) {
    const FieldRecord* field = fieldRecordOf(control);
    HWND last = field != nullptr && field->arrowControl != nullptr ? field->arrowControl : control;
    return GetWindow(last, GW_HWNDNEXT);
  };
  bool good = true;
  HWND control = GetWindow(templateDialog, GW_CHILD);
  for (std::size_t c = 0; c < grid.columnList.size(); ++c) {
    if (positions != nullptr) {
      control = GetWindow(templateDialog, GW_CHILD);
      for (int step = 1; step < positions[c] && control != nullptr; ++step) control = after(control);
      if (positions[c] < 1) control = nullptr;
    }
    if (control == nullptr || !columnFromControl(grid, grid.columnList[c], control, client.right - client.left)) {
      good = false;
      if (control == nullptr) break;
    } else {
      controls[c] = control;
    }
    control = after(control);
  }
  return good;
}

void YYGridFromText(HWND grid, const char* text, int& consumed) {
  const std::string_view all(text != nullptr ? text : "");
  const GridsLine line = YYGridParseLine(all);
  consumed = line.consumed;
  GridRecord& record = YYGridRecordFor(grid);
  record.columns = line.columns;
  YYGridSetSize(record, line.rows, line.columns);
  record.columnsDefined = record.columns;
  if (record.defined != 0) return;

  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND templateDialog = nullptr;
  if (line.templateId > 0 && FindResourceA(instance, MAKEINTRESOURCEA(line.templateId), MAKEINTRESOURCEA(5)) != nullptr) {
    templateDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(line.templateId), YYGridTemplateOwner(), YYGridTemplateProc,
                                        line.templateId);
  }
  bool good = templateDialog != nullptr;
  try {
    record.labels.assign(static_cast<std::size_t>(record.rowsAllocated), std::string());
  } catch (const std::bad_alloc&) {
    good = false;
  }
  if ((record.style & kGridRowLabelStyle) != 0) {
    const GridLabelWidth width = YYGridLabelWidth(all.substr(static_cast<std::size_t>(line.consumed)));
    // The labels are read even for a grid without a template, so that the
    // description goes on after them.
    const int at = line.consumed + width.position;
    const LRESULT read = SendMessageA(grid, GM_SETROWLABELS, static_cast<WPARAM>(width.width),
                                      reinterpret_cast<LPARAM>(all.data() + at));
    if (read < 0) {
      good = false;
    } else {
      consumed = at + static_cast<int>(read);
    }
  }
  if (good) good = SendMessageA(grid, GM_SETCOLUMNS, reinterpret_cast<WPARAM>(templateDialog), 0) != 0;
  SendMessageA(grid, GM_LAYOUT, 0, 0);
  if (templateDialog != nullptr) DestroyWindow(templateDialog);
  record.defined = 1;
  record.templateId = line.templateId;
  if (!good) {
    // A grid that could not be defined is no field of the dialog.
    YYGridRecordRelease(grid);
    DestroyWindow(grid);
  }
}

void YYGridResetCells(HWND grid, int flag) {
  GridRecord* record = gridRecordOf(grid);
  if (record == nullptr) return;
  YYGridResetModel(*record, flag);
  if (flag == 1) {
    for (std::size_t c = 0; c < record->columnList.size() && record->cellRows > 0; ++c) {
      if (record->columnList[c].type != kGridMenu) continue;
      for (int j = 0; j < record->cellRows; ++j) {
        const std::size_t cell = c * static_cast<std::size_t>(record->cellRows) + static_cast<std::size_t>(j);
        if (cell < record->cells.size()) SendMessageA(record->cells[cell], CB_RESETCONTENT, 0, 0);
      }
    }
  }
  if (!record->cells.empty()) YYGridLoadCells(*record);
}

void YYGridSetReadOnly(HWND cell, int columnType, int readOnly, int redraw) {
  HWND grid = GetParent(GetParent(cell));
  if (grid != nullptr && (GetWindowLongA(grid, GWL_STYLE) & kGridReadOnlyStyle) != 0) return;
  if (columnType < 0) return;
  if (columnType <= kGridDouble) {
    SendMessageA(cell, EM_SETREADONLY, readOnly != 0 ? TRUE : FALSE, 0);
    if (const FieldRecord* field = fieldRecordOf(cell); field != nullptr && field->arrowControl != nullptr) {
      EnableWindow(field->arrowControl, readOnly != 0 ? FALSE : TRUE);
      if (redraw != 0) InvalidateRect(field->arrowControl, nullptr, TRUE);
    }
    if (redraw != 0) InvalidateRect(cell, nullptr, TRUE);
    return;
  }
  if (columnType == kGridCheckBox) {
    LONG style = GetWindowLongA(cell, GWL_STYLE) & ~0xFL;
    style |= readOnly != 0 ? BS_CHECKBOX : BS_AUTOCHECKBOX;
    SetWindowLongA(cell, GWL_STYLE, style);
  }
}
