#include "toolkit/dialogs/dialog_procedure.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/core/events.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_register.h"

namespace {

bool outsideModalRun(HWND dialog) { return !YYInModalDialog(dialog); }

// The loaded dialog that a modal copy copies: the one that shares its record.
HWND loadedDialogOfCopy(HWND copy) {
  const DialogRecord* record = dialogRecordOf(copy);
  for (int slot = 1; slot <= dialogTable.count; ++slot) {
    HWND dialog = dialogTable.windows[static_cast<std::size_t>(slot)];
    if (dialogRecordOf(dialog) == record) return dialog;
  }
  return nullptr;
}

// A control whose click is a button press: a push button, or a notifying
// label; no control at all (Enter, Esc, the close box) counts too.
bool pressesButton(HWND control) {
  if (control == nullptr) return true;
  const ControlKind kind = controlKindOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (kind == kKindButton) return (style & 0xF) == BS_PUSHBUTTON || (style & 0xF) == BS_DEFPUSHBUTTON;
  if (kind == kKindStatic) {
    const LONG type = style & SS_TYPEMASK;
    return (style & SS_NOTIFY) != 0 && (type == SS_LEFT || type == SS_CENTER);
  }
  return false;
}

int focusedIdIn(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(dialog, focus)) return 0;
  while (GetParent(focus) != dialog && GetParent(focus) != nullptr) focus = GetParent(focus);
  return GetDlgCtrlID(focus);
}

void selectAll(HWND field) { SendMessageA(field, EM_SETSEL, 0, -1); }

INT_PTR endModalRun(HWND copy, int buttonId) {
  DialogRecord* record = dialogRecordOf(copy);
  if (record != nullptr) {
    dialogTable.lastModalIdentifier = record->identifier;
    const int focused = focusedIdIn(copy);
    record->currentField = buttonId;
    if (focused != buttonId && focused != 0) record->previousField = focused;
  }
  YYTabPagesDetach(copy);
  dialogState.quiet = 1;
  YYDialogStateCopy(loadedDialogOfCopy(copy), copy);
  setActiveModelessDialog(nullptr);
  // The copy stays quiet until its modal loop has destroyed it: the focus
  // leaving its controls must not overwrite the exit button.
  EndDialog(copy, 0);
  return TRUE;
}

INT_PTR onButton(HWND dialog, int id, HWND control) {
  HWND focus = GetFocus();
  if (isNumericField(focus) && IsChild(dialog, focus) && YYFieldValidate(focus, focus, 1) == 1) {
    dialogState.pendingInvalidField = focus;
  }
  if (HWND pending = dialogState.pendingInvalidField; pending != nullptr) {
    if (id == IDOK) {
      YYBeepIfEnabled();
      SetFocus(pending);
      selectAll(pending);
      dialogState.pendingInvalidField = nullptr;
      return TRUE;
    }
    SetWindowTextA(pending, dialogState.lastValidText.data());
    if (FieldRecord* record = fieldRecordOf(pending); record != nullptr) record->value = dialogState.lastValidValue;
    dialogState.takeNewLastValidText = 1;
    dialogState.pendingInvalidField = nullptr;
  }
  if (YYInModalDialog(dialog)) return endModalRun(dialog, id);
  if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr && GetFocus() != control) {
    record->previousField = record->currentField;
  }
  YYEventPost(kEventButton, 0, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(control), dialog);
  return FALSE;
}

INT_PTR onFieldNotification(HWND dialog, int id, UINT code, HWND control) {
  if (code == BN_SETFOCUS && controlKindOf(control) != kKindButton) return FALSE;
  if (dialogState.quiet != 0) return FALSE;
  const FieldRecord* field = fieldRecordOf(control);
  if ((code == EN_CHANGE || code == CBN_EDITCHANGE) && (field == nullptr || field->reportChanges == 0)) return FALSE;
  DialogRecord* record = recordForMessage(dialog);
  if (record == nullptr) return FALSE;
  recordFieldChange(*record, id);
  const bool focusOnly = code == EN_SETFOCUS || code == CBN_SETFOCUS || code == LBN_SETFOCUS || code == BN_SETFOCUS;
  if (outsideModalRun(dialog) && !(focusOnly && record->previousField == record->currentField)) {
    YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(control), dialog);
  }
  record->activeControl = control;
  return FALSE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (code == 0 && control == nullptr && isChildStyle(dialog)) {
    switch (id & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE:
      case SC_MINIMIZE:
      case SC_MAXIMIZE:
      case SC_CLOSE:
      case SC_RESTORE:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, SendMessageA(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0));
        return TRUE;
      default:
        break;
    }
  }
  if (code == BN_CLICKED && pressesButton(control)) return onButton(dialog, id, control);
  if (code == LBN_DBLCLK) {
    YYDefaultButtonPress(control);
    return FALSE;
  }
  switch (code) {
    case 0:
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
    case EN_SETFOCUS:
    case EN_CHANGE:
      return onFieldNotification(dialog, id, code, control);
    default:
      return FALSE;
  }
}

void onTabNotify(HWND dialog, HWND tab, UINT code, DialogRecord* record) {
  const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  HWND page = selected >= 0 ? tabPageWindow(tab, selected) : nullptr;
  HWND focus = GetFocus();
  if (focus != tab && isNumericField(focus) && YYFieldValidate(focus, focus, 1) == 1) {
    dialogState.tabChangeInvalidField = focus;
  }
  if (code == static_cast<UINT>(TCN_SELCHANGING)) {
    if (dialogState.tabChangeInvalidField != nullptr || dialogState.pendingInvalidField != nullptr) {
      dialogState.savedTabIndex = selected;
      YYBeepIfEnabled();
      return;
    }
    if (page != nullptr) {
      SetWindowPos(page, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (record != nullptr) {
        if (const DialogRecord* pageRecord = dialogRecordOf(page); pageRecord != nullptr) {
          record->previousPage = pageRecord->identifier;
        }
      }
    }
    return;
  }
  if (code != static_cast<UINT>(TCN_SELCHANGE)) return;
  for (HWND invalid : {dialogState.tabChangeInvalidField, dialogState.pendingInvalidField}) {
    if (invalid == nullptr) continue;
    SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(dialogState.savedTabIndex), 0);
    SetFocus(invalid);
    selectAll(invalid);
    return;
  }
  if (page == nullptr) return;
  SetWindowPos(page, tab, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  InvalidateRect(tab, nullptr, TRUE);
  if (GetFocus() != tab) YYPageFocusFirst(nullptr, page, 1);
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (record == nullptr) return;
  if (const DialogRecord* pageRecord = dialogRecordOf(page); pageRecord != nullptr) {
    record->currentPage = pageRecord->identifier;
  }
  if (outsideModalRun(dialog)) YYEventPost(kEventTabChanged, 0, 0, 0, dialog);
}

INT_PTR onNotify(HWND dialog, LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return FALSE;
  DialogRecord* record = dialogState.quiet == 0 ? recordForMessage(dialog) : nullptr;
  HWND from = header->hwndFrom;
  switch (controlKindOf(from)) {
    case kKindTab:
      onTabNotify(dialog, from, header->code, record);
      return FALSE;
    case kKindTree: {
      const UINT code = header->code;
      const bool changed = code == static_cast<UINT>(TVN_SELCHANGEDA) || code == static_cast<UINT>(TVN_SELCHANGEDW) ||
                           code == static_cast<UINT>(TVN_ITEMEXPANDEDA) || code == static_cast<UINT>(TVN_ITEMEXPANDEDW);
      if (changed && record != nullptr) {
        recordFieldChange(*record, GetDlgCtrlID(from));
        record->activeControl = from;
        if (outsideModalRun(dialog)) {
          YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), lParam, dialog);
        }
      } else if (code == static_cast<UINT>(NM_DBLCLK)) {
        auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(from, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (selected != nullptr && SendMessageA(from, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(selected)) == 0) {
          YYDefaultButtonPress(from);
        }
      }
      return FALSE;
    }
    case kKindArrows: {
      if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return FALSE;
      auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
      HWND buddy = reinterpret_cast<HWND>(SendMessageA(from, UDM_GETBUDDY, 0, 0));
      if (!YYSpinStep(buddy, change->iDelta)) return FALSE;
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void onScroll(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  const ControlKind kind = controlKindOf(control);
  DialogRecord* record = dialogRecordOf(dialog);
  if (kind == kKindTrackbar && LOWORD(wParam) != TB_ENDTRACK) {
    if ((GetWindowLongA(control, GWL_STYLE) & TBS_ENABLESELRANGE) && (GetKeyState(VK_SHIFT) & 0x8000)) {
      const int position = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
      const int anchor = dialogState.trackbarAnchor;
      SendMessageA(control, TBM_SETSELSTART, FALSE, std::min(anchor, position));
      SendMessageA(control, TBM_SETSELEND, TRUE, std::max(anchor, position));
    }
    if (outsideModalRun(dialog) && record != nullptr) {
      recordFieldChange(*record, GetDlgCtrlID(control));
      YYActiveControlStore(dialog, control);
      YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), lParam, dialog);
    }
    return;
  }
  if (kind == kKindArrows && message == WM_VSCROLL && LOWORD(wParam) != SB_ENDSCROLL && outsideModalRun(dialog) &&
      record != nullptr) {
    HWND buddy = reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0));
    const int id = GetDlgCtrlID(buddy);
    record->previousField = id;
    record->currentField = id;
    YYActiveControlStore(dialog, buddy);
    YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), -1, dialog);
  }
}

void onMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr || record->graphicsFlag == 0 || !outsideModalRun(dialog)) return;
  const int type = YYMouseEventType(dialog, message, record);
  record->graphicsField = 0;
  YYEventPost(type, 0, wParam, lParam, dialog);
}

bool onPaint(HWND dialog) {
  if (!outsideModalRun(dialog)) return false;
  const int slot = loadedSlotOf(dialog);
  if (windowImagesActive()) {
    HBITMAP image = slot >= 1 ? frozenDialogImage(slot) : nullptr;
    if (image == nullptr) return false;
    HDC dc = GetDC(dialog);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, image);
    RECT r{};
    GetClientRect(dialog, &r);
    BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(dialog, dc);
    ValidateRect(dialog, nullptr);
    return true;
  }
  DialogRecord* record = dialogRecordOf(dialog);
  if (record != nullptr && record->graphicsFlag != 0) {
    record->graphicsField = 0;
    YYEventPost(107, 0, 0, 0, dialog);
  }
  return false;
}

// Gives back what the dialog owns: the records and procedures of its
// controls, and (unless it is a modal copy) their fonts and images.
void releaseOwned(HWND dialog) {
  const bool modalCopy = dialog == dialogTable.windows[kModalCopySlot];
  const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  std::vector<HWND> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (controlKindOf(child) != kKindPage) controls.push_back(child);
  }
  for (HWND control : controls) {
    if (FieldRecord* record = fieldRecordOf(control); record != nullptr) {
      if (record->previousProcedure != nullptr) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previousProcedure));
      }
      releaseFieldRecord(control);
    }
    const ControlKind kind = controlKindOf(control);
    if (kind == kKindTab && controlClasses.tabProc != nullptr) {
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlClasses.tabProc));
    }
    if (control == dialogState.pendingInvalidField) dialogState.pendingInvalidField = nullptr;
    if (control == dialogState.tabChangeInvalidField) dialogState.tabChangeInvalidField = nullptr;
    if (modalCopy) continue;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    const bool ownFont = font != nullptr && font != dialogFont && font != GetStockObject(SYSTEM_FONT) &&
                         font != GetStockObject(SYSTEM_FIXED_FONT);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    HGDIOBJ bitmap = nullptr;
    HICON icon = nullptr;
    HENHMETAFILE metafile = nullptr;
    if (kind == kKindStatic) {
      const LONG type = style & SS_TYPEMASK;
      if (type == SS_BITMAP) bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
      if (type == SS_ICON) icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETIMAGE, IMAGE_ICON, 0));
      if (type == SS_ENHMETAFILE) {
        metafile = reinterpret_cast<HENHMETAFILE>(SendMessageA(control, STM_GETIMAGE, IMAGE_ENHMETAFILE, 0));
      }
    } else if (kind == kKindButton) {
      if (style & BS_BITMAP) bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(control, BM_GETIMAGE, IMAGE_BITMAP, 0));
      if (style & BS_ICON) icon = reinterpret_cast<HICON>(SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0));
    }
    if (!ownFont && bitmap == nullptr && icon == nullptr && metafile == nullptr) continue;
    DestroyWindow(control);
    if (ownFont) DeleteObject(font);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (icon != nullptr) DestroyIcon(icon);
    if (metafile != nullptr) DeleteEnhMetaFile(metafile);
  }
  if (activeModelessDialog() == dialog) setActiveModelessDialog(nullptr);
  if (windowTable.ownerWindow == dialog) windowTable.ownerWindow = slotOf(0).frame;
}

void onSize(HWND dialog, WPARAM wParam) {
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return;
  if (wParam == SIZE_MINIMIZED) {
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_ENABLED);
  } else if (wParam == SIZE_RESTORED) {
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
  }
}

void onMouseActivate(HWND dialog) {
  const DialogRecord* record = dialogRecordOf(dialog);
  if (!isChildStyle(dialog) || record == nullptr) return;
  // A click in a dialog combined with a window activates that window, in
  // the root window or in a child window alike.
  if (record->combinedWindow != nullptr) {
    if (GetActiveWindow() != record->combinedWindow) YYWindowFocus(record->combinedWindow);
    return;
  }
  if (GetParent(dialog) != slotOf(0).client) return;
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  HWND focus = GetFocus();
  if (focus != dialog && !IsChild(dialog, focus)) SetFocus(dialog);
  setActiveModelessDialog(dialog);
  YYWindowFocus(dialog);
}

void onSystemMenuClick(HWND dialog, WPARAM hit, LPARAM lParam) {
  if (hit != HTCAPTION && hit != HTSYSMENU) return;
  if (!isChildStyle(dialog) || (GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) == 0) return;
  if (toolkitSettings.windowsMajorVersion != 0 && toolkitSettings.windowsMajorVersion < 4) return;
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return;
  const bool restorable = (GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  SetMenuDefaultItem(menu, restorable ? SC_RESTORE : SC_CLOSE, FALSE);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(lParam)),
                 static_cast<short>(HIWORD(lParam)), 0, dialog, nullptr);
}

}  // namespace

bool YYSpinStep(HWND buddy, int& delta) {
  const ControlKind kind = controlKindOf(buddy);
  FieldRecord* r = fieldRecordOf(buddy);
  if (!isSpinKind(kind) || r == nullptr) return false;
  if (SendMessageA(buddy, EM_GETMODIFY, 0, 0) != 0) {
    std::array<char, 255> text{};
    GetWindowTextA(buddy, text.data(), static_cast<int>(text.size()));
    if (text::isBlank(text.data())) {
      r->value = 0.0;
    } else {
      YYTEXTTOINT(r->value, text.data());
    }
  }
  double step = 0.0;
  switch (delta) {
    case 1:
    case -1:
      step = r->smallStep;
      break;
    case 5:
    case -5:
      step = r->largeStep;
      break;
    default:
      break;
  }
  r->value += delta > 0 ? step : -step;
  // A step below 1 has no whole multiple to round to.
  const double integerStep = std::trunc(step);
  bool clamped = false;
  if (r->hasRange()) {
    if (r->value < r->minimum) {
      r->value = r->minimum;
      clamped = true;
    } else if (r->value > r->maximum) {
      r->value = r->maximum;
      clamped = true;
    }
  }
  std::array<char, 101> text{};
  TextField field(text.data(), 100);
  if (kind == kKindIntegerSpin) {
    double n = std::trunc(r->value);
    if (!clamped && integerStep != 0.0) n = std::trunc(n / integerStep) * integerStep;
    r->value = n;
    YYINTTOTEXT(static_cast<int>(std::clamp(n, -2147483648.0, 2147483647.0)), field);
  } else {
    const std::string_view format =
        r->format != nullptr && !text::isBlank(*r->format) ? std::string_view(*r->format) : kDefaultRealFormat;
    YYNumberToString(r->value, field, format);
  }
  const std::string shown(fieldTextOf(field.view()));
  SetWindowTextA(buddy, shown.c_str());
  SendMessageA(buddy, EM_SETMODIFY, FALSE, 0);
  r->valuePresent = 1;
  delta = 0;
  return true;
}

HBRUSH YYDialogCtlColor(HWND dialog, UINT message, HDC dc, HWND control) {
  if (dialogState.controlColourBrush != nullptr) {
    DeleteObject(dialogState.controlColourBrush);
    dialogState.controlColourBrush = nullptr;
  }
  if (controlKindOf(control) == kKindTree) return nullptr;
  for (int climb = 0; climb < 2 && control != nullptr && GetParent(control) != dialog; ++climb) {
    control = GetParent(control);
  }
  if (control == nullptr || GetParent(control) != dialog) return nullptr;
  const FieldRecord* record = fieldRecordOf(control);
  if (record == nullptr) return nullptr;
  const ControlKind kind = controlKindOf(control);
  const bool textSet = record->textColour != -1;
  const bool backSet = record->backgroundColour != -1;
  if (!textSet && !backSet) return nullptr;
  if (textSet) {
    SetTextColor(dc, static_cast<COLORREF>(record->textColour));
  } else {
    SetTextColor(dc, GetSysColor(kind == kKindButton ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
  }
  if (backSet) {
    const COLORREF colour = GetNearestColor(dc, static_cast<COLORREF>(record->backgroundColour));
    SetBkColor(dc, colour);
    dialogState.controlColourBrush = CreateSolidBrush(colour);
    return dialogState.controlColourBrush;
  }
  const int system = kind == kKindButton || kind == kKindStatic ? COLOR_BTNFACE : COLOR_WINDOW;
  SetBkColor(dc, GetSysColor(system));
  return GetSysColorBrush(system);
}

INT_PTR CALLBACK YYDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (yyGridClasses.cellChangeMessage != 0 && message == yyGridClasses.cellChangeMessage) {
    if (dialogState.quiet == 0) {
      if (DialogRecord* record = recordForMessage(dialog); record != nullptr) {
        recordFieldChange(*record, static_cast<int>(wParam));
        if (outsideModalRun(dialog)) YYEventPost(kEventFieldChanged, 0, wParam, lParam, dialog);
        record->activeControl = GetDlgItem(dialog, static_cast<int>(wParam));
      }
    }
    return FALSE;
  }
  switch (message) {
    case WM_DESTROY:
      releaseOwned(dialog);
      return FALSE;
    case WM_SIZE:
      onSize(dialog, wParam);
      return FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (activeModelessDialog() == dialog) setActiveModelessDialog(nullptr);
        windowTable.ownerWindow = dialog;
      } else {
        setActiveModelessDialog(dialog);
      }
      return FALSE;
    case WM_SETFOCUS: {
      const DialogRecord* record = dialogRecordOf(dialog);
      if (isChildStyle(dialog) && record != nullptr && record->activeControl != nullptr &&
          static_cast<ATOM>(GetClassLongPtrA(GetParent(dialog), GCW_ATOM)) == windowTable.clientAtom) {
        SetFocus(record->activeControl);
        return TRUE;
      }
      return FALSE;
    }
    case WM_PAINT:
      return onPaint(dialog) ? TRUE : FALSE;
    case WM_MOUSEACTIVATE:
      onMouseActivate(dialog);
      return FALSE;
    case WM_NOTIFY:
      return onNotify(dialog, lParam);
    case WM_HELP:
      if (outsideModalRun(dialog)) {
        HWND focus = GetFocus();
        DialogRecord* record = dialogRecordOf(dialog);
        if (record != nullptr && (focus == nullptr || GetDlgCtrlID(focus) != 9)) {
          record->previousField = record->currentField;
        }
        YYEventPost(kEventButton, 0, 9, 0, dialog);
      }
      return FALSE;
    case WM_NCRBUTTONUP:
      onSystemMenuClick(dialog, wParam, lParam);
      return FALSE;
    case WM_INITDIALOG: {
      if (HMENU menu = GetSystemMenu(dialog, FALSE); menu != nullptr) {
        for (UINT item : {SC_RESTORE, SC_MAXIMIZE, SC_SIZE}) EnableMenuItem(menu, item, MF_BYCOMMAND | MF_GRAYED);
      }
      return YYDialogInit(dialog, reinterpret_cast<DialogRecord*>(lParam));
    }
    case WM_COMMAND:
      return onCommand(dialog, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
      onScroll(dialog, message, wParam, lParam);
      return FALSE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          YYDialogCtlColor(dialog, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
      break;
  }
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) onMouse(dialog, message, wParam, lParam);
  return FALSE;
}
