#include "toolkit/core/window_select.h"

#include <array>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

WindowSelectState windowSelectState;
DialogView dialogView;

void YYWINSEL(int index, int option) {
  if (!slotHasFrame(index)) {
    YYErrorReport(1003, "YYWINSEL");
    return;
  }
  int width = 0;
  int height = 0;
  int slot = index;
  YYWindowSelectTarget(width, height, slot);
  if (slot < 0) {
    YYErrorReport(1003, "YYWINSEL");
    return;
  }
  windowTable.clientWidth = width;
  windowTable.clientHeight = height;
  windowTable.currentIndex = index;
  textAttributes.endX = 0;
  textAttributes.endY = 0;
  if (yyGrAttributes.TargetKind == kTargetWindow) yyGrAttributes.TargetId = index;
  windowSelectState.heldOption = option;
  // The graphics area reads the option while the switch rescales it.
  yyGrAttributes.WindowSelectOption = option;
  YYGraphicsAreaResize(kTargetWindow, index, width, height);
  yyGrAttributes.WindowSelectOption = 0;
  YYTextSizeToPixels();
}

void YYWindowReselect(int index) { YYWINSEL(index, windowSelectState.heldOption); }

namespace {
HWND currentFrame() { return isValidSlot(windowTable.currentSlot) ? slotOf(windowTable.currentSlot).frame : nullptr; }
HWND currentClient() { return isValidSlot(windowTable.currentSlot) ? slotOf(windowTable.currentSlot).client : nullptr; }

bool isInsideAnother(HWND frame) { return frame != nullptr && (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0; }

}  // namespace

POINT YYPlacementCorrection() {
  POINT d{};
  HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  if (probe == nullptr) return d;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(probe, &wp);
  RECT r{};
  GetWindowRect(probe, &r);
  d.x = r.left - wp.rcNormalPosition.left;
  d.y = r.top - wp.rcNormalPosition.top;
  DestroyWindow(probe);
  return d;
}

int YYWindowInfo(int code) {
  switch (code) {
    case 1:
      return windowTable.clientWidth;
    case 2:
      return windowTable.clientHeight;
    case 3:
      return windowTable.currentIndex == 0 ? windowTable.rootFlags : 0;
    case 4:
      return windowTable.currentIndex;
    case 5:
    case 6: {
      int x = 0, y = 0, inside = 0, container = 0;
      YYWindowRect(0, x, y, inside, container);
      if (inside == 1) {
        const int first = windowTable.currentIndex;
        YYWINSEL(container, windowSelectState.heldOption);
        YYPixelsToUnits(x, y, x, y);
        YYWINSEL(first, windowSelectState.heldOption);
      }
      return code == 5 ? x : y;
    }
    case 7:
    case 8: {
      int x = 0, y = 0;
      YYClientOrigin(x, y);
      return code == 7 ? x : y;
    }
    case 9: {
      int state = 0;
      YYWindowState(state);
      return state;
    }
    case 10: {
      int kind = 0;
      YYWindowRecordKind(kind);
      return kind;
    }
    case 11:
    case 12: {
      int w = 0, h = 0;
      YYWindowNormalClientSize(w, h);
      return code == 11 ? w : h;
    }
    default:
      return 0;
  }
}

void YYWindowRect(int mode, int& a, int& b, int& inside, int& container) {
  inside = 0;
  container = 0;
  HWND window = nullptr;
  if (mode == 0 || mode == 1) {
    window = currentFrame();
  } else if ((mode == 2 || mode == 3) && dialogView.currentDialog != nullptr) {
    window = dialogView.currentDialog();
  }
  a = 0;
  b = 0;
  if (window == nullptr) return;
  RECT r{};
  const bool minimised = IsIconic(window) != 0;
  if (minimised) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    r = wp.rcNormalPosition;
    if (!isInsideAnother(window)) {
      const POINT d = YYPlacementCorrection();
      OffsetRect(&r, d.x, d.y);
    }
  } else {
    GetWindowRect(window, &r);
  }
  if (isInsideAnother(window)) {
    HWND parent = GetParent(window);
    if (!minimised) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    inside = 1;
    container = YYWindowSlotOf(parent);
    if (container < 0) container = 0;
  }
  if (mode == 0 || mode == 2) {
    a = r.left;
    b = r.top;
  } else {
    a = r.right - r.left;
    b = r.bottom - r.top;
  }
}

void YYClientOrigin(int& x, int& y) {
  POINT p{};
  if (HWND client = currentClient(); client != nullptr) ClientToScreen(client, &p);
  x = p.x;
  y = p.y;
}

void YYWindowState(int& state) {
  HWND frame = currentFrame();
  if (frame == nullptr || !IsWindowVisible(frame)) {
    state = kStateHidden;
  } else if (IsIconic(frame)) {
    state = kStateMinimised;
  } else if (IsZoomed(frame)) {
    state = kStateMaximised;
  } else {
    state = kStateNormal;
  }
}

void YYWindowNormalClientSize(int& width, int& height) {
  HWND frame = currentFrame();
  RECT client{};
  if (HWND c = currentClient(); c != nullptr) GetClientRect(c, &client);
  width = client.right;
  height = client.bottom;
  if (frame == nullptr || !IsZoomed(frame)) return;
  RECT outer{};
  GetWindowRect(frame, &outer);
  const int borderWidth = (outer.right - outer.left) - width;
  const int borderHeight = (outer.bottom - outer.top) - height;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(frame, &wp);
  width = (wp.rcNormalPosition.right - wp.rcNormalPosition.left) - borderWidth;
  height = (wp.rcNormalPosition.bottom - wp.rcNormalPosition.top) - borderHeight;
}

void YYSystemColour(int which, COLORREF& rgb) {
  rgb = GetSysColor(which == 45 ? COLOR_WINDOWTEXT : COLOR_WINDOW);
}

void YYMouseButtons(int& count) { count = GetSystemMetrics(SM_CMOUSEBUTTONS); }

void YYDialogParentKind(int& kind) {
  kind = 0;
  HWND dialog = dialogView.currentDialog != nullptr ? dialogView.currentDialog() : nullptr;
  if (dialog == nullptr) return;
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    const WindowRecord* record = windowRecordOf(slotOf(slot).frame);
    if (record != nullptr && record->kind == kRecordCombinedDialog && record->dialog == dialog) {
      kind = 4;
      return;
    }
  }
  HWND parent = (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) ? GetParent(dialog) : nullptr;
  if (parent == nullptr) {
    kind = 1;
    return;
  }
  char own[64] = {};
  char other[64] = {};
  GetClassNameA(dialog, own, sizeof own);
  GetClassNameA(parent, other, sizeof other);
  kind = lstrcmpiA(own, other) == 0 ? 3 : 2;
}

void YYWindowRecordKind(int& kind) { kind = windowRecordKindOf(currentFrame()); }

int YYWindowSlotOf(HWND window) {
  if (window == nullptr) return -1;
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    const WindowSlot& s = slotOf(slot);
    if (s.frame != nullptr && (s.frame == window || s.client == window)) return slot;
  }
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    const WindowRecord* record = windowRecordOf(slotOf(slot).frame);
    if (record != nullptr && record->kind == kRecordChildDialog && record->dialog == window) return slot;
  }
  return -1;
}

void YYWindowFocus(HWND window) {
  if (window != nullptr && YYWindowSlotOf(window) >= 0) SetFocus(window);
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    HWND frame = slotOf(slot).frame;
    if (frame == nullptr) continue;
    const bool active = window != nullptr && (frame == window || IsChild(frame, window));
    SendMessageA(frame, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
  }
  if (dialogView.loadedCount != nullptr && dialogView.loadedDialog != nullptr) {
    const int count = dialogView.loadedCount();
    for (int i = 1; i <= count; ++i) {
      HWND dialog = dialogView.loadedDialog(i);
      if (dialog != nullptr) SendMessageA(dialog, WM_NCACTIVATE, dialog == window ? TRUE : FALSE, 0);
    }
  }
}

void YYCursorSet(int shape) {
  static const std::array<LPCSTR, 12> kShapes = {IDC_ARROW,  IDC_WAIT,     IDC_APPSTARTING, IDC_CROSS,
                                                     IDC_IBEAM,  IDC_NO,       IDC_SIZEALL,     IDC_SIZENS,
                                                     IDC_SIZEWE, IDC_SIZENESW, IDC_SIZENWSE,    IDC_UPARROW};
  HCURSOR cursor = shape >= 0 && shape < static_cast<int>(kShapes.size())
                       ? LoadCursorA(nullptr, kShapes[static_cast<std::size_t>(shape)])
                       : LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(shape));
  windowTable.cursor = cursor;
  if (cursor != nullptr) SetCursor(cursor);
}

// Target 1 is the current window; any other the dialog field (or dialog) that
// the graphics engine draws on, when one is selected.
void YYCursorMove(int x, int y, int target) {
  HWND client = currentClient();
  if (target != 1) client = yyGrAttributes.TargetKind == kTargetField ? yyGdiContext.DrawWindow : nullptr;
  if (client == nullptr) return;
  POINT p{x, y};
  ClientToScreen(client, &p);
  SetCursorPos(p.x, p.y);
}

void YYBeep() { YYBeepIfEnabled(); }

void YYBeepIfEnabled() {
  if (toolkitSettings.beepsAllowed != 0) MessageBeep(0);
}

void YYBeepEnable(int flag) { toolkitSettings.beepsAllowed = flag != 0 ? -1 : 0; }

void YYDrawDcRestoreObjects(HDC dc) {
  if (dc != nullptr) {
    if (windowTable.savedPen != nullptr) SelectObject(dc, windowTable.savedPen);
    if (windowTable.savedBrush != nullptr) SelectObject(dc, windowTable.savedBrush);
  }
  windowTable.savedPen = nullptr;
  windowTable.savedBrush = nullptr;
}

void YYDrawDcRelease() {
  HDC dc = yyGdiContext.DrawDc;
  if (dc == nullptr) return;
  YYDrawDcRestoreObjects(dc);
  switch (yyGrAttributes.TargetKind) {
    case kTargetField:
      ReleaseDC(yyGdiContext.DrawWindow, yyGdiContext.DrawDc);
      break;
    case kTargetBitmap:
      DeleteDC(yyGdiContext.DrawDc);
      break;
    case kTargetMetafile:
      yyGrAttributes.TargetKind = kTargetWindow;
      break;
    default:
      break;
  }
}

void YYLocaleDecimalSwitch(char flag) { windowSelectState.localeDecimalSwitch = flag == 1 ? 1 : 0; }

INT_PTR CALLBACK YYNullDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
