#include "toolkit/dialogs/field_access.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_field.h"

namespace {

constexpr int kFormatLength = 50;
constexpr int kNumberTextLength = 100;
constexpr int kReadLimit = 255;

// Reports 1005 when no dialog is current.
bool noDialog(const char* routine) {
  if (currentDialogWindow() != nullptr) return false;
  YYErrorReport(1005, routine);
  return true;
}

bool isButtonClass(HWND window) { return controlKindOf(window) == kKindButton; }
LONG buttonType(HWND window) { return GetWindowLongA(window, GWL_STYLE) & 0xF; }
bool hasGroupStyle(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_GROUP) != 0; }

int truncatedToInt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

// Copies a NUL-ended text into a blank-padded field.
void copyOut(const char* text, TextField out) { out.assign(std::string_view(text)); }

std::string textOfItem(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(lstrlenA(text.c_str())));
  return text;
}

// One entry of the numeric put, picked by the kind it writes.
enum NumericPutKind : int { kPutDouble = 1, kPutInteger = 2, kPutReal = 3 };
constexpr std::array<const char*, 3> kNumericPutNames = {"WDialogPutDouble", "WDialogPutInteger", "WDialogPutReal"};

void numericPut(NumericPutKind kind, int field, double value, std::optional<std::string_view> format) {
  const char* routine = kNumericPutNames[static_cast<std::size_t>(kind - 1)];
  std::string useFormat;
  if (kind != kPutInteger) {
    if (format.has_value() && !text::isBlank(*format)) {
      useFormat = std::string(format->substr(0, std::min<std::size_t>(format->size(), kFormatLength)));
    } else {
      std::array<char, kFormatLength + 1> stored{};
      int id = field;
      YYFieldFormatGet(id, TextField(stored.data(), kFormatLength), kFormatLength);
      useFormat = std::string(text::trimmed(std::string_view(stored.data(), kFormatLength)));
    }
    useFormat.resize(std::min(useFormat.find('\0'), useFormat.size()));
  }
  std::array<char, kNumberTextLength> buffer{};
  TextField text(buffer.data(), kNumberTextLength);
  switch (kind) {
    case kPutInteger:
      IntegerToString(truncatedToInt(value), text, kIntegerFieldFormat);
      break;
    case kPutReal:
      IRealToString(static_cast<float>(value), text, useFormat);
      break;
    default:
      IDoubleToString(value, text, useFormat);
      break;
  }
  IStringAlign(text, "L");
  if (noDialog(routine)) return;
  int id = field;
  YYFieldRangeCheck(id, value);
  if (id == -2) {
    YYErrorReport(1009, routine);
    return;
  }
  if (id == -1) {
    YYErrorReport(1006, routine);
    return;
  }
  YYFieldTextPut(id, value, text.trimmed(), useFormat);
  if (id == -1) YYErrorReport(1006, routine);
}

void numericGet(int field, double& value, const char* routine, bool& defined) {
  defined = false;
  int id = field;
  YYNumericFieldGet(id, value);
  if (id == -1) {
    YYErrorReport(1006, routine);
    return;
  }
  if (id == -2) {
    YYErrorReport(1010, routine);
    return;
  }
  defined = true;
}

// Runs a back end and turns its answer into the routine's error.
template <typename Call>
bool reportField(const char* routine, int field, Call call, int refusedError = 0) {
  int id = field;
  call(id);
  if (id == -1) {
    YYErrorReport(1006, routine);
    return false;
  }
  if (id == -2 && refusedError != 0) {
    YYErrorReport(refusedError, routine);
    return false;
  }
  return true;
}

RECT rectInDialog(HWND control, HWND dialog) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

int fieldStateFromStyles(HWND control) {
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if ((style & WS_VISIBLE) == 0) return kFieldHidden;
  if (style & WS_DISABLED) return kFieldDisabled;
  const ControlKind kind = controlKindOf(control);
  if ((isEditLike(kind) || kind == kKindGrid) && (style & ES_READONLY)) return kFieldReadOnly;
  return kFieldEnabled;
}

// ---- back ends ----

void YYFieldTextPut(int& field, double value, std::string_view text, std::string_view format) {
  HWND control = currentDialogItem(field);
  const std::string shown(text);
  if (control == nullptr || !SetWindowTextA(control, shown.c_str())) {
    field = -1;
    return;
  }
  if (FieldRecord* record = fieldRecordOf(control); record != nullptr) {
    record->value = value;
    if (value == 0.0) {
      double read = 0.0;
      int ok = 0;
      YYTEXTTOINTOK(read, ok, shown);
      if (ok != 0) record->value = read;
    }
    record->valuePresent = text::isBlank(shown) ? 0 : 1;
    record->format = format.empty() ? nullptr : std::make_shared<const std::string>(format);
  }
  if (isEditLike(controlKindOf(control))) SendMessageA(control, EM_SETMODIFY, FALSE, 0);
  UpdateWindow(control);
}

void YYFieldTextGet(int& field, char* buffer, int size) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  if (size > 0) buffer[0] = '\0';
  GetWindowTextA(control, buffer, size);
}

void YYFieldTextLength(int& field, int& length) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  length = GetWindowTextLengthA(control);
}

void YYNumericFieldGet(int& field, double& value) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  std::array<char, kReadLimit + 1> text{};
  GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  if (text::isBlank(text.data())) {
    field = -2;
    return;
  }
  const FieldRecord* record = fieldRecordOf(control);
  if (isNumericField(control) && record != nullptr && SendMessageA(control, EM_GETMODIFY, 0, 0) == 0) {
    value = record->value;
    return;
  }
  YYTEXTTOINT(value, text.data());
}

void YYFieldFormatGet(int& field, TextField format, int size) {
  HWND control = currentDialogItem(field);
  const ControlKind kind = controlKindOf(control);
  const FieldRecord* record = fieldRecordOf(control);
  TextField out = format.part(1, size);
  if ((kind == kKindRealEdit || kind == kKindDoubleEdit) && record != nullptr && record->format != nullptr &&
      !text::isBlank(*record->format)) {
    out.assign(*record->format);
  } else {
    out.assign(kDefaultRealFormat);
  }
  if (control == nullptr) field = -1;
}

void YYFieldRangeCheck(int& field, double value) {
  const FieldRecord* record = fieldRecordOf(currentDialogItem(field));
  if (record == nullptr) {
    field = -1;
    return;
  }
  if (record->outOfRange(value)) field = -2;
}

void YYFieldRangeSet(int& field, double minimum, double maximum) {
  YYFieldRangeStore(field, minimum, maximum, currentDialogWindow());
}

void YYCheckBoxPut(int& field, int state) {
  HWND control = currentDialogItem(field);
  if (!isButtonClass(control) || (buttonType(control) != BS_AUTOCHECKBOX && buttonType(control) != BS_AUTORADIOBUTTON)) {
    field = -1;
    return;
  }
  SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void YYCheckBoxGet(int& field, int& state) {
  HWND control = currentDialogItem(field);
  if (!isButtonClass(control) || (buttonType(control) != BS_AUTOCHECKBOX && buttonType(control) != BS_AUTORADIOBUTTON)) {
    field = -1;
    return;
  }
  state = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
}

namespace {

// The first and last member of the radio group around a button.  Walking
// back, the window where the walk stops opens the group: the one carrying
// WS_GROUP, or the first window of another class (which then belongs to the
// group too); when the walk runs out of windows, the last button passed.
void radioGroupEnds(HWND button, HWND& first, HWND& last) {
  first = button;
  while (!hasGroupStyle(first) && isButtonClass(first)) {
    HWND before = GetWindow(first, GW_HWNDPREV);
    if (before == nullptr) break;
    first = before;
  }
  last = button;
  for (HWND w = first == button ? GetWindow(button, GW_HWNDNEXT) : button;
       w != nullptr && !hasGroupStyle(w) && isButtonClass(w); w = GetWindow(w, GW_HWNDNEXT)) {
    last = w;
  }
}

// The members of the radio group around a button, in window order.
std::vector<HWND> radioGroupOf(HWND button) {
  std::vector<HWND> members;
  HWND first = nullptr;
  HWND last = nullptr;
  radioGroupEnds(button, first, last);
  // Walk from the first member; a group never passes its last member.
  for (HWND w = first; w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    members.push_back(w);
    if (w == last) break;
  }
  return members;
}

}  // namespace

void YYRadioGroupBounds(int& field, int& first, int& last) {
  HWND button = currentDialogItem(field);
  if (button == nullptr) {
    field = -1;
    return;
  }
  HWND opener = nullptr;
  HWND closer = nullptr;
  radioGroupEnds(button, opener, closer);
  first = GetDlgCtrlID(opener);
  last = GetDlgCtrlID(closer);
}

void YYRadioPut(int& field) {
  HWND button = currentDialogItem(field);
  if (!isButtonClass(button) || buttonType(button) != BS_AUTORADIOBUTTON) {
    field = -1;
    return;
  }
  for (HWND member : radioGroupOf(button)) {
    SendMessageA(member, BM_SETCHECK, member == button ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void YYRadioGet(int& field, int& position) {
  HWND button = currentDialogItem(field);
  if (!isButtonClass(button) || buttonType(button) != BS_AUTORADIOBUTTON) {
    field = -1;
    return;
  }
  const std::vector<HWND> members = radioGroupOf(button);
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (SendMessageA(members[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
      position = static_cast<int>(i) + 1;
      return;
    }
  }
  field = -2;
}

void YYListKind(int& field, int& kind) {
  HWND control = currentDialogItem(field);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  switch (controlKindOf(control)) {
    case kKindList:
      kind = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) ? kListMultiple : kListSingle;
      break;
    case kKindCombo:
      kind = (style & 3) == CBS_DROPDOWNLIST ? kListDropDown : kListEditCombo;
      break;
    default:
      field = -1;
      break;
  }
}

void YYListGet(int& field, int& option, int wantText, TextField text) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  const int index = static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0));
  if (index < 0) {
    field = -2;
    return;
  }
  if (wantText != 0) copyOut(textOfItem(control, LB_GETTEXTLEN, LB_GETTEXT, index).c_str(), text);
  option = index + 1;
}

void YYComboGet(int& field, int& option, int wantText, TextField text) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  const int selected = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
  const std::string shown = windowTextOf(control);
  if (!shown.empty()) {
    if (selected >= 0) {
      option = selected + 1;
    } else {
      const int found = static_cast<int>(
          SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown.c_str())));
      option = found >= 0 ? found + 1 : 0;
    }
  } else if (selected >= 0) {
    option = selected + 1;
  } else {
    field = -2;
  }
  if (wantText != 0) copyOut(shown.c_str(), text);
}

void YYListSelect(int kind, int& field, int index) {
  HWND control = currentDialogItem(field);
  const LRESULT answer =
      SendMessageA(control, kind == kListSingle ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (control == nullptr || answer < 0) field = -1;
}

void YYListItemAdd(int kind, int& field, const char* text) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(control, kind == kListSingle ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void YYComboTextPut(int& field, const char* text) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  const LRESULT found =
      SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (found >= 0) {
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  } else {
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(control, text);
  }
}

void YYFieldClear(int& field) {
  HWND control = currentDialogItem(field);
  const ControlKind kind = controlKindOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const bool button = kind == kKindButton;
  const LONG type = style & 0xF;
  if (control == nullptr) {
    field = -1;
    return;
  }
  if (button && type == BS_AUTORADIOBUTTON) {
    for (HWND member : radioGroupOf(control)) {
      SendMessageA(member, BM_SETCHECK, BST_UNCHECKED, 0);
      InvalidateRect(member, nullptr, TRUE);
    }
    return;
  }
  if (isEditLike(kind) || kind == kKindStatic || (button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ||
                                                             type == BS_GROUPBOX))) {
    SetWindowTextA(control, "");
    if (isEditLike(kind)) SendMessageA(control, EM_SETMODIFY, FALSE, 0);
  } else if (kind == kKindCombo) {
    SendMessageA(control, CB_RESETCONTENT, 0, 0);
  } else if (kind == kKindList) {
    SendMessageA(control, LB_RESETCONTENT, 0, 0);
  } else if (button && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)) {
    SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
  } else if (kind == kKindProgress) {
    const LRESULT range = SendMessageA(control, PBM_SETRANGE, 0, MAKELPARAM(0, 0xFFFF));
    SendMessageA(control, PBM_SETRANGE, 0, range);
    SendMessageA(control, PBM_SETPOS, static_cast<WPARAM>(static_cast<short>(LOWORD(range))), 0);
  } else if (kind == kKindGrid) {
    YYGridResetCells(control, 1);
  } else if (kind == kKindTrackbar && (style & TBS_ENABLESELRANGE)) {
    SendMessageA(control, TBM_CLEARSEL, TRUE, 0);
  } else if (kind == kKindTree) {
    SendMessageA(control, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  } else {
    field = -1;
    return;
  }
  if (FieldRecord* record = fieldRecordOf(control); record != nullptr) {
    record->value = 0.0;
    record->valuePresent = 0;
  }
  UpdateWindow(control);
}

int YYFieldVisibility(HWND control, const RECT& dialogClient) {
  HWND dialog = GetParent(control);
  RECT r = rectInDialog(control, dialog);
  if (const FieldRecord* record = fieldRecordOf(control); record != nullptr && record->arrowControl != nullptr) {
    const RECT arrows = rectInDialog(record->arrowControl, dialog);
    UnionRect(&r, &r, &arrows);
  }
  const bool inside = r.left >= dialogClient.left && r.top >= dialogClient.top && r.right <= dialogClient.right &&
                      r.bottom <= dialogClient.bottom;
  if (inside) return 1;
  RECT common{};
  return IntersectRect(&common, &r, &dialogClient) ? 2 : 0;
}

void YYFieldStateSet(int& field, int state, int noUpdate) {
  HWND dialog = currentDialogWindow();
  HWND control = currentDialogItem(field);
  FieldRecord* record = fieldRecordOf(control);
  if (record == nullptr) {
    field = -1;
    return;
  }
  record->fieldState = state;
  RECT client{};
  GetClientRect(dialog, &client);
  if (YYFieldVisibility(control, client) != 1) return;
  const ControlKind kind = controlKindOf(control);
  if (isEditLike(kind)) {
    EnableWindow(control, state == kFieldEnabled || state == kFieldReadOnly);
    SendMessageA(control, EM_SETREADONLY, state == kFieldReadOnly ? TRUE : FALSE, 0);
    if (record->arrowControl != nullptr) EnableWindow(record->arrowControl, state == kFieldEnabled);
  } else if (kind == kKindGrid) {
    EnableWindow(control, state == kFieldEnabled || state == kFieldReadOnly);
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) & ~kGridReadOnlyStyle);
    if (const GridRecord* grid = gridRecordOf(control); grid != nullptr) {
      for (int column = 0; column < grid->columns && column < static_cast<int>(grid->columnList.size()); ++column) {
        const GridColumn& c = grid->columnList[static_cast<std::size_t>(column)];
        for (int row = 0; row < grid->cellRows; ++row) {
          const std::size_t cell = static_cast<std::size_t>(column * grid->cellRows + row);
          if (cell >= grid->cells.size()) continue;
          const std::size_t dataRow = static_cast<std::size_t>(row + grid->firstRow);
          const bool rowReadOnly = dataRow < c.flags.size() && (c.flags[dataRow] & 1) != 0;
          YYGridSetReadOnly(grid->cells[cell], c.type, state == kFieldReadOnly || rowReadOnly ? 1 : 0, 1);
        }
      }
    }
    if (state == kFieldReadOnly) {
      SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | kGridReadOnlyStyle);
    }
  } else {
    EnableWindow(control, state == kFieldEnabled);
  }
  const int show = state == kFieldHidden ? SW_HIDE : SW_SHOWNA;
  ShowWindow(control, show);
  if (record->arrowControl != nullptr) ShowWindow(record->arrowControl, show);
  if (kind == kKindTab) {
    const int selected = static_cast<int>(SendMessageA(control, TCM_GETCURSEL, 0, 0));
    if (HWND page = selected >= 0 ? tabPageWindow(control, selected) : nullptr; page != nullptr) ShowWindow(page, show);
  }
  if (kind == kKindStatic) InvalidateRect(control, nullptr, TRUE);
  if (noUpdate == 0 || record->graphicsFlag == 0) UpdateWindow(control);
}

void YYFieldStateQuery(int& field, int& state) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  state = fieldStateFromStyles(control);
}

void YYFieldTypeQuery(int& field, int& type) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  switch (controlKindOf(control)) {
    case kKindStatic: {
      const LONG low = style & 0xFF;
      type = low == SS_LEFT || low == SS_CENTER || low == SS_LEFTNOWORDWRAP ? kFieldLabel : kFieldPicture;
      break;
    }
    case kKindButton:
      if ((style & 7) == 7) {
        type = kFieldGroupBox;
      } else if ((style & 3) == 3) {
        type = kFieldCheckBox;
      } else if ((style & 1) && (style & 8)) {
        type = kFieldRadioButton;
      } else {
        type = kFieldPushButton;
      }
      break;
    case kKindEdit:
      type = kFieldText;
      break;
    case kKindIntegerEdit:
    case kKindIntegerSpin:
      type = kFieldInteger;
      break;
    case kKindRealEdit:
    case kKindRealSpin:
      type = kFieldReal;
      break;
    case kKindDoubleEdit:
    case kKindDoubleSpin:
      type = kFieldDouble;
      break;
    case kKindCombo:
      type = kFieldCombo;
      break;
    case kKindList:
      type = kFieldList;
      break;
    case kKindTab:
      type = kFieldTab;
      break;
    case kKindProgress:
      type = kFieldProgress;
      break;
    case kKindGrid:
      type = kFieldGrid;
      break;
    case kKindTrackbar:
      type = kFieldTrackbar;
      break;
    case kKindTree:
      type = kFieldTree;
      break;
    default:
      type = kFieldOther;
      break;
  }
}

void YYFieldImagePut(int& field, int image, int kind) {
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  const HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  HANDLE handle = nullptr;
  UINT type = IMAGE_BITMAP;
  switch (kind) {
    case 2:
      type = IMAGE_ICON;
      handle = LoadImageA(module, MAKEINTRESOURCEA(image & 0xFFFF), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
      break;
    case 3:
      if (image >= 1 && image <= kImageSlots) {
        HBITMAP source = yyBitmapSlots[static_cast<std::size_t>(image - 1)].bitmap;
        BITMAP info{};
        if (source != nullptr && GetObjectA(source, sizeof info, &info) != 0) {
          HDC screen = GetDC(nullptr);
          HDC from = CreateCompatibleDC(screen);
          HDC to = CreateCompatibleDC(screen);
          HBITMAP copy = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
          HGDIOBJ oldFrom = SelectObject(from, source);
          HGDIOBJ oldTo = SelectObject(to, copy);
          BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
          SelectObject(to, oldTo);
          SelectObject(from, oldFrom);
          DeleteDC(to);
          DeleteDC(from);
          ReleaseDC(nullptr, screen);
          handle = copy;
        }
      }
      break;
    case 4:
      type = IMAGE_ENHMETAFILE;
      if (image >= 1 && image <= kImageSlots) {
        if (HENHMETAFILE metafile = YYEmfClosedMetafile(image - 1); metafile != nullptr) {
          handle = CopyEnhMetaFileA(metafile, nullptr);
        }
      }
      break;
    default:
      handle = LoadImageA(module, MAKEINTRESOURCEA(image & 0xFFFF), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
      break;
  }
  if (handle == nullptr) {
    field = -2;
    return;
  }
  HANDLE replaced = handle;
  const ControlKind controlKind = controlKindOf(control);
  if (controlKind == kKindButton && type != IMAGE_ENHMETAFILE) {
    if (toolkitSettings.windowsMajorVersion != 3) {
      if (type == IMAGE_BITMAP) YYBitmapFaceBackground(static_cast<HBITMAP>(handle));
      LONG style = GetWindowLongA(control, GWL_STYLE) & ~static_cast<LONG>(BS_BITMAP | BS_ICON);
      SetWindowLongA(control, GWL_STYLE, style | (type == IMAGE_BITMAP ? BS_BITMAP : BS_ICON));
      replaced = reinterpret_cast<HANDLE>(SendMessageA(control, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(handle)));
    }
  } else if (controlKind == kKindStatic) {
    const LONG imageStyle = type == IMAGE_BITMAP ? SS_BITMAP : type == IMAGE_ICON ? SS_ICON : SS_ENHMETAFILE;
    SetWindowLongA(control, GWL_STYLE, (GetWindowLongA(control, GWL_STYLE) & ~0x1FL) | imageStyle);
    replaced = reinterpret_cast<HANDLE>(SendMessageA(control, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(handle)));
  } else {
    field = -1;
  }
  if (replaced == nullptr) return;
  if (type == IMAGE_BITMAP) {
    DeleteObject(replaced);
  } else if (type == IMAGE_ICON) {
    DestroyIcon(static_cast<HICON>(replaced));
  } else {
    DeleteEnhMetaFile(static_cast<HENHMETAFILE>(replaced));
  }
}

void YYFieldOptionSet(int& field, int option, int flag) {
  // Field 0 is the grid of the current window when that is a grid editor.
  const GridEditorRecord* editor = field == 0 ? YYGridEditorOfSlot(windowTable.currentIndex) : nullptr;
  HWND control = field == 0 ? (editor != nullptr ? editor->grid : nullptr) : currentDialogItem(field);
  const ControlKind kind = controlKindOf(control);
  if ((option == 1 || option == 2) && kind == kKindGrid) {
    const LONG bit = option == 1 ? 0x1000 : 0x4000;
    LONG style = GetWindowLongA(control, GWL_STYLE);
    style = flag != 0 ? (style | bit) : (style & ~bit);
    SetWindowLongA(control, GWL_STYLE, style);
    return;
  }
  FieldRecord* record = fieldRecordOf(control);
  if (option == 3 && record != nullptr && (isEditLike(kind) || kind == kKindCombo || kind == kKindGrid)) {
    record->reportChanges = flag != 0 ? 1 : 0;
    return;
  }
  field = -1;
}

void YYFieldRect(int& field, int& left, int& top, int& width, int& height, int mode) {
  HWND dialog = currentDialogWindow();
  HWND control = currentDialogItem(field);
  if (control == nullptr) {
    field = -1;
    return;
  }
  RECT r{};
  if (mode == 1) {
    GetClientRect(control, &r);
    MapWindowPoints(control, dialog, reinterpret_cast<POINT*>(&r), 2);
  } else {
    r = rectInDialog(control, dialog);
  }
  left = r.left;
  top = r.top;
  width = r.right - r.left;
  height = r.bottom - r.top;
}

void YYDialogUnitSize(int& width, int& height) {
  RECT r{0, 0, 4, 8};
  MapDialogRect(currentDialogWindow(), &r);
  width = r.right;
  height = r.bottom;
}

// ---- public routines ----

void WDialogPutString(int field, std::string_view text) {
  if (noDialog("WDialogPutString")) return;
  int id = field;
  YYFieldTextPut(id, 0.0, text::trimmed(text), {});
  if (id == -1) YYErrorReport(1006, "WDialogPutString");
}

void WDialogGetString(int field, TextField text) {
  if (noDialog("WDialogGetString")) return;
  int id = field;
  std::vector<char> buffer(static_cast<std::size_t>(text.length()) + 1, '\0');
  YYFieldTextGet(id, buffer.data(), static_cast<int>(buffer.size()));
  if (id == -1) {
    text.blank();
    YYErrorReport(1006, "WDialogGetString");
    return;
  }
  copyOut(buffer.data(), text);
}

void WDialogGetStringLength(int field, int& length) {
  if (noDialog("WDialogGetStringLength")) return;
  reportField("WDialogGetStringLength", field, [&](int& id) { YYFieldTextLength(id, length); });
}

void WDialogPutInteger(int field, int value) { numericPut(kPutInteger, field, value, std::nullopt); }

void WDialogPutReal(int field, float value, std::optional<std::string_view> format) {
  numericPut(kPutReal, field, value, format);
}

void WDialogPutDouble(int field, double value, std::optional<std::string_view> format) {
  numericPut(kPutDouble, field, value, format);
}

void WDialogGetInteger(int field, int& value) {
  if (noDialog("WDialogGetInteger")) return;
  double v = 0.0;
  bool defined = false;
  numericGet(field, v, "WDialogGetInteger", defined);
  value = defined ? truncatedToInt(v) : toolkitSettings.undefinedInteger;
}

void WDialogGetReal(int field, float& value) {
  if (noDialog("WDialogGetReal")) return;
  double v = 0.0;
  bool defined = false;
  numericGet(field, v, "WDialogGetReal", defined);
  value = defined ? static_cast<float>(v) : toolkitSettings.undefinedReal;
}

void WDialogPutCheckBox(int field, int state) {
  if (noDialog("WDialogPutCheckBox")) return;
  reportField("WDialogPutCheckBox", field, [&](int& id) { YYCheckBoxPut(id, state); });
}

void WDialogGetCheckBox(int field, int& state) {
  if (noDialog("WDialogGetCheckBox")) return;
  reportField("WDialogGetCheckBox", field, [&](int& id) { YYCheckBoxGet(id, state); });
}

void WDialogPutRadioButton(int field) {
  if (noDialog("WDialogPutRadioButton")) return;
  reportField("WDialogPutRadioButton", field, [](int& id) { YYRadioPut(id); });
}

void WDialogGetRadioButton(int field, int& position) {
  if (noDialog("WDialogGetRadioButton")) return;
  int id = field;
  YYRadioGet(id, position);
  if (id == -1) {
    YYErrorReport(1006, "WDialogGetRadioButton");
  } else if (id == -2) {
    position = toolkitSettings.undefinedInteger;
    YYErrorReport(1010, "WDialogGetRadioButton");
  }
}

void WDialogPutOption(int field, int option) {
  if (noDialog("WDialogPutOption")) return;
  int id = field;
  int kind = 0;
  YYListKind(id, kind);
  if (id == -1 || kind == kListMultiple) {
    YYErrorReport(1006, "WDialogPutOption");
    return;
  }
  YYListSelect(kind, id, option - 1);
  if (id == -1) YYErrorReport(1011, "WDialogPutOption");
}

void WDialogGetMenu(int field, int& option, std::optional<TextField> text) {
  if (noDialog("WDialogGetMenu")) return;
  int id = field;
  int kind = 0;
  YYListKind(id, kind);
  if (id == -1 || kind == kListMultiple) {
    YYErrorReport(1006, "WDialogGetMenu");
    return;
  }
  std::array<char, 1> none{};
  TextField out = text.has_value() ? *text : TextField(none.data(), 0);
  const int wantText = text.has_value() ? 1 : 0;
  if (kind == kListSingle) {
    YYListGet(id, option, wantText, out);
  } else {
    YYComboGet(id, option, wantText, out);
  }
  if (id == -2) {
    option = toolkitSettings.undefinedInteger;
    YYErrorReport(1010, "WDialogGetMenu");
  }
}

void WDialogPutMenu(int field, const TextArray& items, int count, int option, std::optional<std::string_view> text) {
  if (noDialog("WDialogPutMenu")) return;
  int id = field;
  int kind = 0;
  YYListKind(id, kind);
  if (id == -1 || kind == kListMultiple) {
    YYErrorReport(1006, "WDialogPutMenu");
    return;
  }
  YYFieldClear(id);
  const int n = std::min(count, items.count());
  for (int i = 1; i <= n; ++i) {
    const std::string item = items[i].str();
    YYListItemAdd(kind, id, item.c_str());
  }
  if (kind == kListEditCombo && text.has_value() && option == 0) {
    const std::string shown(text::trimmed(*text));
    YYComboTextPut(id, shown.c_str());
    return;
  }
  YYListSelect(kind, id, option - 1);
  if (id == -1) YYErrorReport(1011, "WDialogPutMenu");
}

void WDialogRangeInteger(int field, std::optional<int> minimum, std::optional<int> maximum) {
  if (noDialog("WDialogRangeInteger")) return;
  double low = 1000.0;
  double high = -1000.0;
  if (minimum.has_value() || maximum.has_value()) {
    low = minimum.value_or(-std::numeric_limits<int>::max());
    high = maximum.value_or(std::numeric_limits<int>::max());
  }
  reportField("WDialogRangeInteger", field, [&](int& id) { YYFieldRangeSet(id, low, high); });
}

void WDialogFieldState(int field, int state) {
  if (noDialog("WDialogFieldState")) return;
  reportField("WDialogFieldState", field, [&](int& id) { YYFieldStateSet(id, state, 0); });
}

void WDialogSetField(int field, std::optional<int> caret) {
  if (noDialog("WDialogSetField")) return;
  reportField("WDialogSetField", field, [&](int& id) { YYFieldFocus(id, caret.has_value() ? *caret - 1 : -1); });
}
