#include "toolkit/core/child_windows.h"

#include <mmsystem.h>

#include <string>

#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_procs.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

constexpr const char* kChildClass = "ZNDVCHILD";

bool registerChildClass() {
  if (windowTable.childAtom != 0) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = YYFrameWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, "icon1");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kChildClass;
  windowTable.childAtom = RegisterClassA(&wc);
  return windowTable.childAtom != 0;
}

bool isChildFrame(HWND frame) { return frame != nullptr && (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0; }

// True when `window` lies inside `container`: a child of it, or a top-level
// window whose chain of parents and owners reaches it.
bool liesInside(HWND window, HWND container) {
  if (window == nullptr || window == container) return false;
  for (HWND up = GetParent(window); up != nullptr; up = GetParent(up)) {
    if (up == container) return true;
  }
  for (HWND up = GetWindow(window, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
    if (up == container) return true;
  }
  return false;
}

void clearSlot(WindowSlot& s) {
  s.frame = s.client = s.statusBar = nullptr;
  s.savedNormal.left = kPlacementUnsaved;
  s.toolbars.fill(nullptr);
  s.tips.clear();
  s.parked = ParkedEvent{};
  s.menu = nullptr;
  s.accelerators = nullptr;
  s.menuHelp = nullptr;
  s.menuHelpSize = 0;
}

HWND currentFrame() { return slotOf(windowTable.currentSlot).frame; }

}  // namespace

int YYFreeWindowSlot() {
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    if (slotOf(slot).frame == nullptr) return slot;
  }
  return -1;
}

void YYChildWindowCreate(int x, int y, int width, int height, int& slot, int flags, int menuNumber,
                         const std::array<int, 4>& toolbars, int& dialog, int parentSlot, std::string_view title) {
  slot = YYFreeWindowSlot();
  if (slot < 0) return;
  const bool inside = (flags & kFlagInsideParent) != 0;
  if (inside) {
    if (!slotHasFrame(parentSlot)) {
      slot = -5;
      return;
    }
    HWND parentFrame = slotOf(parentSlot).frame;
    if (!IsWindowVisible(parentFrame)) {
      slot = -2;
      return;
    }
    const int kind = windowRecordKindOf(parentFrame);
    if (kind == kRecordCombinedDialog) {
      slot = -3;
      return;
    }
    if (kind != kRecordNone) {
      slot = -4;
      return;
    }
  }
  // A dialog that is loaded already lives in its own place: it is not combined.
  if (dialog > 0 && YYDialogSlotOf(dialog) >= 0) dialog = -1;
  YYCombinedDialogFit(dialog, width, height, flags);
  DWORD style = WS_CAPTION | (inside ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP | WS_CLIPCHILDREN);
  // While a semi-modeless dialog is shown every other toolkit window is disabled.
  if (dialogTable.semiModalCount > 0) style |= WS_DISABLED;
  if (flags & kFlagSystemMenu) style |= WS_SYSMENU;
  if (flags & kFlagMinimiseBox) style |= WS_MINIMIZEBOX;
  if (flags & kFlagMaximiseBox) style |= WS_MAXIMIZEBOX;
  if (flags & kFlagMaximised) style |= WS_MAXIMIZE;
  if (!(flags & kFlagFixedSize)) style |= WS_THICKFRAME;
  DWORD exStyle = (flags & kFlagToolWindow) ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
  if (flags & kFlagTopmost) exStyle |= WS_EX_TOPMOST;
  HMENU menu = nullptr;
  int menuId = menuNumber;
  if (!inside && menuNumber != 0) menu = YYMenuLoad(menuId);
  if (!registerChildClass()) {
    if (menu != nullptr) DestroyMenu(menu);
    slot = -1;
    return;
  }
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, menu != nullptr, exStyle);
  const int frameWidth = r.right - r.left;
  const int frameHeight = r.bottom - r.top;
  int areaWidth = windowTable.screenWidth;
  int areaHeight = windowTable.screenHeight;
  if (inside) {
    RECT area{};
    GetClientRect(slotOf(parentSlot).client, &area);
    areaWidth = area.right;
    areaHeight = area.bottom;
  }
  const bool centredX = x == kCentred;
  const bool centredY = y == kCentred;
  if (centredX) x = (areaWidth - frameWidth) / 2;
  if (centredY) y = (areaHeight - frameHeight) / 2;

  WindowSlot& s = slotOf(slot);
  HWND activeDialog = windowTable.activeModelessDialog;
  if (activeDialog != nullptr && IsWindowVisible(activeDialog)) {
    HWND owner = GetWindow(activeDialog, GW_OWNER);
    s.previousOwner = owner != nullptr ? owner : activeDialog;
  } else {
    s.previousOwner = windowTable.ownerWindow;
  }
  HWND parent = nullptr;
  if (inside) {
    parent = slotOf(parentSlot).client;
  } else if ((flags & kFlagOwned) && slotHasFrame(parentSlot)) {
    parent = slotOf(parentSlot).frame;
  }
  const std::string caption = windowsText(title);
  s.frame = CreateWindowExA(exStyle, kChildClass, caption.c_str(), style, x, y, frameWidth, frameHeight, parent, menu,
                            GetModuleHandleA(nullptr), nullptr);
  if (s.frame == nullptr) {
    if (menu != nullptr) DestroyMenu(menu);
    clearSlot(s);
    slot = -1;
    return;
  }
  if (menu != nullptr) {
    s.menu = menu;
    YYMenuResourcesLoad(slot, menuNumber);
  }
  s.savedNormal.left = kPlacementUnsaved;
  if (!YYFrameBarsBuild(slot, flags, toolbars, centredX, centredY)) {
    DestroyWindow(s.frame);
    clearSlot(s);
    slot = -1;
    return;
  }
  const bool hidden = (flags & kFlagHidden) != 0;
  if (dialog > 0 && YYCombinedDialogAttach(slot, dialog, hidden) < 0) dialog = -1;
  if (!hidden) {
    ShowWindow(s.frame, (flags & kFlagMaximised) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetWindowPos(s.frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ValidateRect(s.client, nullptr);
    if (const WindowRecord* record = windowRecordOf(s.frame); record != nullptr && record->dialog != nullptr) {
      UpdateWindow(record->dialog);
    }
    SetFocus(s.client);
    YYWindowFocus(s.frame);
  }
}

void YYChildWindowClose(int& slot, HWND& dialog) {
  if (slot < 1 || slot > kMaxWindowSlot || slotOf(slot).frame == nullptr) {
    slot = -1;
    return;
  }
  WindowSlot& s = slotOf(slot);
  YYWindowMciClose(slot);
  if (slot == windowTable.currentSlot && yyGdiContext.DrawDc != nullptr) {
    YYDrawDcRelease();
    ReleaseDC(s.client, yyGdiContext.DrawDc);
    yyGdiContext.DrawDc = nullptr;
  }
  if (const WindowRecord* record = windowRecordOf(s.frame);
      record != nullptr && record->kind == kRecordCombinedDialog) {
    if (record->dialog == dialog) dialog = nullptr;
    YYCombinedDialogRelease(slot);
  } else {
    for (int other = 1; other <= kMaxWindowSlot; ++other) {
      WindowSlot& o = slotOf(other);
      if (other != slot && o.frame != nullptr && liesInside(o.frame, s.frame)) clearSlot(o);
    }
  }
  const HWND frame = s.frame;
  // Whatever would give the focus back to this window gives it to the window
  // that owned dialogs before it.
  for (int other = 0; other <= kMaxWindowSlot; ++other) {
    if (slotOf(other).previousOwner == frame) slotOf(other).previousOwner = s.previousOwner;
  }
  for (int loaded = 1; loaded <= dialogTable.count; ++loaded) {
    DialogRecord* record = dialogRecordOf(dialogTable.windows[static_cast<std::size_t>(loaded)]);
    if (record != nullptr && (record->ownerWindow == frame || record->reactivationWindow == frame)) {
      record->ownerWindow = s.previousOwner;
      record->reactivationWindow = s.previousOwner;
    }
  }
  HWND active = windowTable.activeModelessDialog;
  const bool activeInside = active != nullptr && (active == frame || IsChild(frame, active));
  if (s.client != nullptr) DestroyWindow(s.client);
  DestroyWindow(frame);
  if (windowTable.ownerWindow == frame) windowTable.ownerWindow = slotOf(0).frame;
  if (activeInside) setActiveModelessDialog(nullptr);
  clearSlot(s);
}

void YYWindowMciClose(int slot) {
  if (!isValidSlot(slot)) return;
  WindowSlot& s = slotOf(slot);
  if (s.mciDevice == 0) return;
  mciSendCommandA(s.mciDevice, MCI_STOP, 0, 0);
  mciSendCommandA(s.mciDevice, MCI_CLOSE, 0, 0);
  s.mciDevice = 0;
}

void YYWindowMciNotify(UINT device) {
  for (WindowSlot& s : windowTable.slots) {
    if (s.mciDevice == device && device != 0) s.mciDevice = 0;
  }
  if (device != 0) mciSendCommandA(device, MCI_CLOSE, 0, 0);
}

void YYWindowIsChild(int& flag) { flag = isChildFrame(currentFrame()) ? 1 : 0; }

void YYWindowPlacementSet(int x, int y, int& width, int& height, int state) {
  const int slot = windowTable.currentSlot;
  if (!slotHasFrame(slot)) return;
  WindowSlot& s = slotOf(slot);
  RECT frame{};
  GetWindowRect(s.frame, &frame);
  const bool inside = isChildFrame(s.frame);
  if (inside) MapWindowPoints(nullptr, GetParent(s.frame), reinterpret_cast<POINT*>(&frame), 2);
  RECT client{};
  GetClientRect(s.client, &client);
  const bool combined = windowRecordKindOf(s.frame) == kRecordCombinedDialog;
  if (x == kCentred) x = frame.left;
  if (y == kCentred) y = frame.top;
  if (width == kCentred || combined) width = client.right;
  if (height == kCentred || combined) height = client.bottom;
  // Frame size = client + bars + borders and menu bar: measured as what the
  // frame holds around its client now.
  RECT outer{};
  GetWindowRect(s.frame, &outer);
  int frameWidth = width + (outer.right - outer.left) - client.right;
  int frameHeight = height + (outer.bottom - outer.top) - client.bottom;
  if (IsZoomed(s.frame) || IsIconic(s.frame)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(s.frame, &wp);
    const RECT normal = wp.rcNormalPosition;
    int nw = 0;
    int nh = 0;
    YYWindowNormalClientSize(nw, nh);
    frameWidth = width + (normal.right - normal.left) - nw;
    frameHeight = height + (normal.bottom - normal.top) - nh;
  }
  const bool special = IsZoomed(s.frame) || IsIconic(s.frame) || state == 0 || state == 2;
  if (state == -1) {
    state = !IsWindowVisible(s.frame) ? 3 : IsIconic(s.frame) ? 0 : IsZoomed(s.frame) ? 2 : 1;
  }
  if (special) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(s.frame, &wp);
    RECT wanted{x, y, x + frameWidth, y + frameHeight};
    if (inside && IsZoomed(s.frame)) {
      s.savedNormal = wanted;
    } else if (!inside) {
      const POINT d = YYPlacementCorrection();
      OffsetRect(&wanted, -d.x, -d.y);
    }
    wp.rcNormalPosition = wanted;
    static constexpr UINT kShow[] = {SW_SHOWMINNOACTIVE, SW_SHOWNOACTIVATE, SW_SHOWMAXIMIZED, SW_HIDE};
    wp.showCmd = kShow[state >= 0 && state <= 3 ? state : 1];
    SetWindowPlacement(s.frame, &wp);
  } else if (state == 3) {
    ShowWindow(s.frame, SW_HIDE);
  } else if (state == 1) {
    if (combined) YYCombinedDialogShow(slot);
    SetWindowPos(s.frame, nullptr, x, y, frameWidth, frameHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
  }
  GetClientRect(s.client, &client);
  width = client.right;
  height = client.bottom;
}

void YYWindowTitleIcon(int& icon, int mode, std::string_view title) {
  HWND frame = currentFrame();
  if (frame == nullptr) return;
  if (mode == 1) {
    const std::string caption = windowsText(title);
    SetWindowTextA(frame, caption.c_str());
  }
  if (icon == -1) return;
  HICON large = LoadIconA(GetModuleHandleA(nullptr), icon == 0 ? "icon1" : MAKEINTRESOURCEA(icon));
  if (large == nullptr) {
    icon = -2;
    return;
  }
  HICON previousLarge = reinterpret_cast<HICON>(SendMessageA(frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large)));
  HICON previousSmall = reinterpret_cast<HICON>(SendMessageA(frame, WM_SETICON, ICON_SMALL, 0));
  if (previousLarge != nullptr && previousLarge != large) DestroyIcon(previousLarge);
  if (previousSmall != nullptr && previousSmall != large) DestroyIcon(previousSmall);
}

void YYWindowToFront() {
  HWND frame = currentFrame();
  if (frame == nullptr) return;
  for (HWND w = frame; w != nullptr; w = GetParent(w)) {
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
  }
  EnableWindow(frame, TRUE);
  const WindowRecord* record = windowRecordOf(frame);
  if (record != nullptr && (record->kind == kRecordChildDialog || record->kind == kRecordCombinedDialog) &&
      record->dialog != nullptr) {
    SetFocus(record->dialog);
  } else {
    SetFocus(slotOf(windowTable.currentSlot).client);
  }
  YYWindowFocus(frame);
}

void YYWindowScroll(int dx, int dy, int colour) {
  HWND client = slotOf(windowTable.currentSlot).client;
  if (client == nullptr) return;
  HRGN uncovered = CreateRectRgn(0, 0, 0, 0);
  ScrollWindowEx(client, dx, dy, nullptr, nullptr, uncovered, nullptr, 0);
  HDC dc = GetDC(client);
  const COLORREF rgb = colour == -1 ? windowColours[static_cast<std::size_t>(textAttributes.backgroundColour)]
                                    : static_cast<COLORREF>(colour);
  HBRUSH brush = CreateSolidBrush(displayColour(dc, rgb));
  FillRgn(dc, uncovered, brush);
  DeleteObject(brush);
  ReleaseDC(client, dc);
  ValidateRgn(client, uncovered);
  DeleteObject(uncovered);
}

void YYWindowSelectTarget(int& width, int& height, int& slot) {
  if (!slotHasFrame(slot)) {
    slot = -1;
    return;
  }
  const bool windowTarget = yyGrAttributes.TargetKind == kTargetWindow;
  if (yyGdiContext.DrawDc != nullptr && windowTarget) {
    HDC dc = yyGdiContext.DrawDc;
    YYDrawDcRestoreObjects(dc);
    ReleaseDC(slotOf(windowTable.currentSlot).client, dc);
    yyGdiContext.DrawDc = nullptr;
  }
  windowTable.currentSlot = slot;
  WindowSlot& s = slotOf(slot);
  HDC dc = GetDC(s.client);
  if (windowTarget) {
    yyGdiContext.DrawDc = dc;
    if (yyGdiContext.PatternBitmap != nullptr) DeleteObject(yyGdiContext.PatternBitmap);
    yyGdiContext.PatternBitmap = CreateCompatibleBitmap(dc, 8, 8);
    SetROP2(dc, yyGdiContext.RopCode);
    SetBkMode(dc, TRANSPARENT);
    if (windowTable.toolkitPen == nullptr) windowTable.toolkitPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    if (windowTable.toolkitBrush == nullptr) windowTable.toolkitBrush = CreateSolidBrush(RGB(0, 0, 0));
    windowTable.savedPen = SelectObject(dc, windowTable.toolkitPen);
    windowTable.savedBrush = SelectObject(dc, windowTable.toolkitBrush);
    yyGdiContext.DrawDc = dc;
    yyGdiContext.DrawWindow = s.client;
    YYGdiDashPattern();
    if (yyGdiContext.Palette != nullptr) {
      SelectPalette(dc, yyGdiContext.Palette, FALSE);
      RealizePalette(dc);
    }
  } else {
    ReleaseDC(s.client, dc);
  }
  RECT client{};
  GetClientRect(s.client, &client);
  width = client.right;
  height = client.bottom;
  windowTable.lastResizeWidth = width;
  windowTable.lastResizeHeight = height;
}
