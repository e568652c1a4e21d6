#include "toolkit/dialogs/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>

#include "toolkit/core/events.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/numeric_fields.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

struct Probe {
  const char* className;
  ATOM* atom;
  WNDPROC* procedure;
};

void probe(const Probe& p) {
  HWND parent = slotOf(0).frame;
  HMODULE module = windowTable.module != nullptr ? windowTable.module : GetModuleHandleA(nullptr);
  HWND window = CreateWindowExA(0, p.className, " ", parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 0, 0, parent,
                                nullptr, module, nullptr);
  if (window == nullptr) return;
  *p.atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  if (p.procedure != nullptr) *p.procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  DestroyWindow(window);
}

LRESULT pass(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (procedure == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(procedure, window, message, wParam, lParam);
}

bool keyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Posts a drawing-field event of a control for its dialog.
void postFieldEvent(HWND control, int type, WPARAM wParam, LPARAM lParam) {
  HWND dialog = GetParent(control);
  if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr) record->graphicsField = GetDlgCtrlID(control);
  YYEventPost(type, 0, wParam, lParam, dialog);
}

bool isGraphicsField(HWND control) {
  const FieldRecord* record = fieldRecordOf(control);
  return record != nullptr && record->graphicsFlag != 0;
}

// A trackbar reports a change of its selection as a field change.
void reportTrackbar(HWND bar) {
  if (YYInModalDialog(bar)) return;
  HWND dialog = GetParent(bar);
  DialogRecord* record = dialogRecordOf(dialog);
  if (record == nullptr) return;
  recordFieldChange(*record, GetDlgCtrlID(bar));
  YYActiveControlStore(dialog, bar);
  YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), -1, dialog);
}

bool tabDisabled(HWND tab, int index) {
  TabItemData data;
  return tabItemDataGet(tab, index, data) && data.disabled != 0;
}

void drawDisabledTabs(HWND tab) {
  const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  HDC dc = nullptr;
  HGDIOBJ oldFont = nullptr;
  for (int i = 0; i < n; ++i) {
    if (!tabDisabled(tab, i)) continue;
    if (dc == nullptr) {
      dc = GetDC(tab);
      oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(tab, WM_GETFONT, 0, 0)));
    }
    RECT r{};
    SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    InflateRect(&r, -2, -2);
    std::array<char, 256> text{};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const int length = lstrlenA(text.data());
    const int x = (r.left + r.right) / 2;
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    ExtTextOutA(dc, x + 1, r.top + 3 + 1, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(), static_cast<UINT>(length), nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    ExtTextOutA(dc, x, r.top + 3, ETO_CLIPPED, &r, text.data(), static_cast<UINT>(length), nullptr);
    SetBkMode(dc, OPAQUE);
    ValidateRect(tab, &r);
    if (HWND first = GetWindow(tab, GW_CHILD); first != nullptr) InvalidateRect(first, nullptr, TRUE);
  }
  if (dc != nullptr) {
    SelectObject(dc, oldFont);
    ReleaseDC(tab, dc);
  }
}

// The nearest tab from `from` in the direction that is not disabled; -1 none.
int nearestEnabledTab(HWND tab, int from, int step) {
  const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = from + step; i >= 0 && i < n; i += step) {
    if (!tabDisabled(tab, i)) return i;
  }
  return -1;
}

bool anyTabDisabled(HWND tab) {
  const int n = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    if (tabDisabled(tab, i)) return true;
  }
  return false;
}

HWND currentKind(int field, ControlKind kind) {
  HWND control = currentDialogItem(field);
  return controlKindOf(control) == kind ? control : nullptr;
}

}  // namespace

void YYControlClassesProbe() {
  ControlClasses& c = controlClasses;
  for (const Probe& p : {Probe{"BUTTON", &c.buttonAtom, &c.buttonProc}, Probe{"STATIC", &c.staticAtom, &c.staticProc},
                         Probe{TRACKBAR_CLASSA, &c.trackbarAtom, &c.trackbarProc},
                         Probe{WC_TREEVIEWA, &c.treeAtom, &c.treeProc}, Probe{WC_TABCONTROLA, &c.tabAtom, &c.tabProc}}) {
    probe(p);
  }
}

void YYListControlClassesProbe() {
  ControlClasses& c = controlClasses;
  for (const Probe& p : {Probe{"LISTBOX", &c.listAtom, nullptr}, Probe{"COMBOBOX", &c.comboAtom, nullptr},
                         Probe{PROGRESS_CLASSA, &c.progressAtom, nullptr}, Probe{UPDOWN_CLASSA, &c.arrowsAtom, nullptr},
                         Probe{WC_HEADERA, &c.headerAtom, nullptr}}) {
    probe(p);
  }
}

LRESULT CALLBACK YYFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FieldRecord* record = fieldRecordOf(window);
  const LRESULT answer = pass(record != nullptr ? record->previousProcedure : nullptr, window, message, wParam, lParam);
  if (message == WM_PAINT && isGraphicsField(window) && !YYInModalDialog(window)) {
    postFieldEvent(window, 107, wParam, lParam);
  }
  return answer;
}

LRESULT CALLBACK YYButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_SETSTATE: {
      const bool pushed = (SendMessageA(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
      if (pushed != (wParam != 0) && isGraphicsField(window) && !YYInModalDialog(window)) {
        postFieldEvent(window, 107, wParam, lParam);
      }
      break;
    }
    case WM_SETFOCUS:
      SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_SETFOCUS),
                   reinterpret_cast<LPARAM>(window));
      break;
    case WM_KILLFOCUS:
      if (dialogState.refocusOnButtonFocusLoss != 0 && dialogState.pendingInvalidField != nullptr) {
        YYFieldRefocus(window, dialogState.pendingInvalidField, 1);
      }
      break;
    case WM_LBUTTONUP:
      if (dialogState.pendingInvalidField != nullptr) {
        RECT client{};
        GetClientRect(window, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!PtInRect(&client, at)) {
          dialogState.refocusOnButtonFocusLoss = 0;
          YYFieldRefocus(window, dialogState.pendingInvalidField, 0);
          dialogState.refocusOnButtonFocusLoss = 1;
        }
      }
      break;
    default:
      break;
  }
  return pass(controlClasses.buttonProc, window, message, wParam, lParam);
}

LRESULT CALLBACK YYStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) {
    const LRESULT hit = pass(controlClasses.staticProc, window, message, wParam, lParam);
    if (hit == HTTRANSPARENT && (GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY)) return HTCLIENT;
    return hit;
  }
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
    if (!isGraphicsField(window) || YYInModalDialog(window)) return 0;
    const int type = YYMouseEventType(window, message, dialogRecordOf(GetParent(window)));
    postFieldEvent(window, type, wParam, lParam);
    return 0;
  }
  if (message == WM_SETCURSOR && isGraphicsField(window) && windowTable.cursor != nullptr &&
      LOWORD(lParam) == HTCLIENT) {
    SetCursor(windowTable.cursor);
    return 0;
  }
  if (message == WM_ENABLE) return 0;
  return pass(controlClasses.staticProc, window, message, wParam, lParam);
}

LRESULT CALLBACK YYTextFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && wParam == 1) {
    SendMessageA(window, EM_SETSEL, 0, -1);
    SendMessageA(window, EM_SCROLLCARET, 0, 0);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN && (GetWindowLongA(window, GWL_STYLE) & ES_WANTRETURN) == 0 &&
      !keyHeld(VK_CONTROL) && !keyHeld(VK_MENU)) {
    YYDefaultButtonPress(window);
    return 0;
  }
  return pass(controlClasses.editProc, window, message, wParam, lParam);
}

LRESULT CALLBACK YYTrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool selectionRange = (GetWindowLongA(window, GWL_STYLE) & TBS_ENABLESELRANGE) != 0;
  switch (message) {
    case WM_SETFOCUS:
      SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), 256),
                   reinterpret_cast<LPARAM>(window));
      break;
    case WM_KILLFOCUS:
      dialogState.trackbarAnchor = 0;
      break;
    case WM_KEYDOWN:
      if (selectionRange && (lParam & (1 << 30)) == 0) {
        if (wParam == VK_SHIFT) {
          dialogState.trackbarAnchor = static_cast<int>(SendMessageA(window, TBM_GETPOS, 0, 0));
        } else if (wParam == VK_DELETE) {
          SendMessageA(window, TBM_CLEARSEL, TRUE, 0);
          dialogState.trackbarAnchor = 0;
          reportTrackbar(window);
        } else if (wParam == 'A' && keyHeld(VK_CONTROL)) {
          SendMessageA(window, TBM_SETSELSTART, FALSE, SendMessageA(window, TBM_GETRANGEMIN, 0, 0));
          SendMessageA(window, TBM_SETSELEND, TRUE, SendMessageA(window, TBM_GETRANGEMAX, 0, 0));
          reportTrackbar(window);
        }
      }
      break;
    case WM_KEYUP:
      if (selectionRange && wParam == VK_SHIFT) {
        if (SendMessageA(window, TBM_GETSELSTART, 0, 0) == SendMessageA(window, TBM_GETSELEND, 0, 0)) {
          SendMessageA(window, TBM_CLEARSEL, TRUE, 0);
        }
        dialogState.trackbarAnchor = 0;
      }
      break;
    default:
      break;
  }
  return pass(controlClasses.trackbarProc, window, message, wParam, lParam);
}

LRESULT CALLBACK YYTabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      RECT update{};
      if (GetUpdateRect(window, &update, FALSE)) {
        const int selected = static_cast<int>(SendMessageA(window, TCM_GETCURSEL, 0, 0));
        if (HWND page = selected >= 0 ? tabPageWindow(window, selected) : nullptr; page != nullptr) {
          RECT mapped = update;
          MapWindowPoints(window, page, reinterpret_cast<POINT*>(&mapped), 2);
          InvalidateRect(page, &mapped, TRUE);
        }
      }
      drawDisabledTabs(window);
      break;
    }
    case WM_KEYDOWN: {
      if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        const int focus = static_cast<int>(SendMessageA(window, TCM_GETCURFOCUS, 0, 0));
        const int next = nearestEnabledTab(window, focus, wParam == VK_LEFT ? -1 : 1);
        if (next >= 0) SendMessageA(window, TCM_SETCURFOCUS, static_cast<WPARAM>(next), 0);
        return 0;
      }
      if ((wParam == VK_UP || wParam == VK_DOWN) && anyTabDisabled(window)) return 0;
      break;
    }
    case WM_LBUTTONDOWN: {
      TCHITTESTINFO hit{};
      hit.pt.x = static_cast<short>(LOWORD(lParam));
      hit.pt.y = static_cast<short>(HIWORD(lParam));
      const int index = static_cast<int>(SendMessageA(window, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (index >= 0 && tabDisabled(window, index)) return 0;
      break;
    }
    default:
      break;
  }
  return pass(controlClasses.tabProc, window, message, wParam, lParam);
}

LRESULT CALLBACK YYTreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS && dialogState.quiet == 0) {
    const int id = GetDlgCtrlID(window);
    if (YYInModalDialog(window)) {
      if (DialogRecord* record = currentDialogRecord(); record != nullptr) recordFieldChange(*record, id);
    } else {
      HWND dialog = GetParent(window);
      if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr && record->currentField != id) {
        recordFieldChange(*record, id);
        YYEventPost(kEventFieldChanged, 0, static_cast<WPARAM>(-1), lParam, dialog);
      }
    }
  }
  return pass(controlClasses.treeProc, window, message, wParam, lParam);
}

void YYDefaultButtonPress(HWND control) {
  HWND dialog = GetParent(control);
  if (dialog == nullptr) return;
  const LRESULT answer = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  while (isChildStyle(dialog)) {
    HWND parent = GetParent(dialog);
    if (parent == nullptr || GetClassLongPtrA(parent, GCW_ATOM) != GetClassLongPtrA(dialog, GCW_ATOM)) break;
    dialog = parent;
  }
  const int id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr && (GetWindowLongA(button, GWL_STYLE) & WS_DISABLED)) return;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void YYActiveControlStore(HWND dialog, HWND control) {
  for (int guard = 0; guard < 16 && dialog != nullptr; ++guard) {
    if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr) record->activeControl = control;
    if (!isChildStyle(dialog)) return;
    HWND parent = GetParent(dialog);
    if (parent == nullptr || static_cast<ATOM>(GetClassLongPtrA(parent, GCW_ATOM)) == windowTable.clientAtom) return;
    dialog = parent;
  }
}

namespace {

// A field that cannot be drawn on leaves the graphics engine drawing on the
// screen: the current window's context, not the context of a field drawn on
// before.
void drawOnScreenInstead() {
  YYGdiContext& g = yyGdiContext;
  if (g.DrawDc != nullptr && g.DrawWindow != nullptr) {
    YYDrawDcRestoreObjects(g.DrawDc);
    ReleaseDC(g.DrawWindow, g.DrawDc);
  }
  HWND screen = isValidSlot(windowTable.currentSlot) ? slotOf(windowTable.currentSlot).client : nullptr;
  g.DrawDc = screen != nullptr ? GetDC(screen) : nullptr;
  g.DrawWindow = g.DrawDc != nullptr ? screen : nullptr;
}

}  // namespace

void YYFieldBackBufferCreate(int& field, int& width, int& height) {
  HWND dialog = currentDialogWindow();
  HWND window = field == 0 ? dialog : currentDialogItem(field);
  HDC dc = window != nullptr ? GetDC(window) : nullptr;
  if (dc == nullptr) {
    field = -1;
    drawOnScreenInstead();
    return;
  }
  RECT client{};
  GetClientRect(window, &client);
  width = client.right;
  height = client.bottom;
  yyGdiContext.DrawWindow = window;
  yyGdiContext.DrawDc = dc;
  if (yyGdiContext.PatternBitmap != nullptr) DeleteObject(yyGdiContext.PatternBitmap);
  yyGdiContext.PatternBitmap = CreateCompatibleBitmap(dc, 8, 8);
  SetROP2(dc, yyGdiContext.RopCode);
  SetBkMode(dc, TRANSPARENT);
  if (windowTable.toolkitPen != nullptr) windowTable.savedPen = SelectObject(dc, windowTable.toolkitPen);
  if (windowTable.toolkitBrush != nullptr) windowTable.savedBrush = SelectObject(dc, windowTable.toolkitBrush);
  YYGdiDashPattern();
  if (yyGdiContext.Palette != nullptr) {
    SelectPalette(dc, yyGdiContext.Palette, FALSE);
    RealizePalette(dc);
  }
  if (field == 0) {
    if (DialogRecord* record = dialogRecordOf(dialog); record != nullptr) record->graphicsFlag = 1;
  } else if (FieldRecord* record = fieldRecordOf(window); record != nullptr) {
    record->graphicsFlag = 1;
  }
}

void YYFieldColourStore(HWND control, int which, int red, int green, int blue) {
  FieldRecord* record = fieldRecordOf(control);
  if (record == nullptr || red == -1) return;
  const int colour = red == 256 ? -1 : (red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF);
  (which == 1 ? record->textColour : record->backgroundColour) = colour;
}

void YYFieldColoursSet(int& field, int textRed, int textGreen, int textBlue, int backRed, int backGreen, int backBlue) {
  HWND control = currentDialogItem(field);
  if (fieldRecordOf(control) == nullptr) {
    field = -1;
    return;
  }
  YYFieldColourStore(control, 1, textRed, textGreen, textBlue);
  YYFieldColourStore(control, 2, backRed, backGreen, backBlue);
  RedrawWindow(control, nullptr, nullptr,
               RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}

void YYTabQuery(int& field, int& pageId) {
  HWND tab = currentKind(field, kKindTab);
  if (tab == nullptr) {
    field = -1;
    return;
  }
  TabItemData data;
  const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  pageId = selected >= 0 && tabItemDataGet(tab, selected, data) ? data.pageId : 0;
}

void YYProgressSet(int& field, int value, int mode) {
  HWND bar = currentKind(field, kKindProgress);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(bar, mode == 0 ? PBM_SETPOS : PBM_DELTAPOS, static_cast<WPARAM>(value), 0);
}

void YYProgressRange(int& field, int minimum, int maximum) {
  HWND bar = currentKind(field, kKindProgress);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(minimum), static_cast<WORD>(maximum)));
}

void YYTrackbarSet(int& field, int position, int selectionStart, int selectionEnd, int selectionMode) {
  HWND bar = currentKind(field, kKindTrackbar);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(bar, TBM_SETPOS, TRUE, position);
  if ((GetWindowLongA(bar, GWL_STYLE) & TBS_ENABLESELRANGE) == 0) return;
  if (selectionMode == 0) {
    SendMessageA(bar, TBM_SETSELSTART, FALSE, selectionStart);
    SendMessageA(bar, TBM_SETSELEND, TRUE, selectionEnd);
  } else if (selectionMode == 2) {
    SendMessageA(bar, TBM_CLEARSEL, TRUE, 0);
  }
}

void YYTrackbarQuery(int& field, int& position, int& selectionStart, int& selectionEnd) {
  HWND bar = currentKind(field, kKindTrackbar);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
  selectionStart = selectionEnd = dialogState.trackbarNoSelection;
  if ((GetWindowLongA(bar, GWL_STYLE) & TBS_ENABLESELRANGE) == 0) return;
  const int start = static_cast<int>(SendMessageA(bar, TBM_GETSELSTART, 0, 0));
  const int end = static_cast<int>(SendMessageA(bar, TBM_GETSELEND, 0, 0));
  if (start < end) {
    selectionStart = start;
    selectionEnd = end;
  }
}

void YYTrackbarRange(int& field, int minimum, int maximum, int ticFrequency) {
  HWND bar = currentKind(field, kKindTrackbar);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(bar, TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageA(bar, TBM_SETRANGEMAX, TRUE, maximum);
  if (ticFrequency > 0) SendMessageA(bar, TBM_SETTICFREQ, static_cast<WPARAM>(ticFrequency), 0);
}

void YYTrackbarRangeQuery(int& field, int& minimum, int& maximum) {
  HWND bar = currentKind(field, kKindTrackbar);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  minimum = static_cast<int>(SendMessageA(bar, TBM_GETRANGEMIN, 0, 0));
  maximum = static_cast<int>(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0));
}

void YYTrackbarSteps(int& field, int lineSize, int pageSize) {
  HWND bar = currentKind(field, kKindTrackbar);
  if (bar == nullptr) {
    field = -1;
    return;
  }
  SendMessageA(bar, TBM_SETLINESIZE, 0, lineSize);
  SendMessageA(bar, TBM_SETPAGESIZE, 0, pageSize > 0 ? pageSize : lineSize);
}

void YYListCount(int& field, int& count) {
  HWND list = currentKind(field, kKindList);
  if (list == nullptr) {
    field = -1;
    return;
  }
  count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

void YYListItemSelected(int& field, int index, int& state) {
  HWND list = currentKind(field, kKindList);
  if (list == nullptr) {
    field = -1;
    return;
  }
  state = static_cast<int>(SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(index), 0));
}

void YYListItemSelect(int& field, int index, int state) {
  HWND list = currentKind(field, kKindList);
  if (list == nullptr) {
    field = -1;
    return;
  }
  const bool wanted = state == 1;
  const bool selected = SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
  if (wanted != selected) SendMessageA(list, LB_SETSEL, wanted ? TRUE : FALSE, index);
}

void YYListRangeSelect(int& field, int first, int last, int state) {
  HWND list = currentKind(field, kKindList);
  if (list == nullptr) {
    field = -1;
    return;
  }
  if (last <= 65535) {
    SendMessageA(list, LB_SELITEMRANGE, state == 1 ? TRUE : FALSE, MAKELPARAM(first, last));
    return;
  }
  for (int i = first; i <= last; ++i) YYListItemSelect(field, i, state);
}

int YYMouseEventType(HWND window, UINT message, DialogRecord* record) {
  int type = 104;
  switch (message) {
    case WM_MOUSEMOVE:
      type = 106;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      ReleaseCapture();
      type = 105;
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      SetCapture(window);
      int enabled = 0;
      YYEventEnableQuery(kEventDoubleClick, enabled);
      type = enabled != 0 ? 116 : 104;
      break;
    }
    default:
      SetCapture(window);
      break;
  }
  if (record != nullptr) {
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
    const bool middle = message == WM_MBUTTONDOWN || message == WM_MBUTTONUP || message == WM_MBUTTONDBLCLK;
    record->mouseButton = message == WM_MOUSEMOVE ? 0 : left ? 1 : middle ? 2 : 3;
  }
  return type;
}
