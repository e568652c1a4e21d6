#include "toolkit/core/window_procs.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

#include "toolkit/core/child_windows.h"
#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

bool isChildFrame(HWND frame) { return frame != nullptr && (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0; }

void bringToTop(HWND frame) {
  SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void realizePalette(HWND window) {
  if (yyGdiContext.Palette == nullptr) return;
  HDC dc = GetDC(window);
  SelectPalette(dc, yyGdiContext.Palette, FALSE);
  RealizePalette(dc);
  ReleaseDC(window, dc);
}

const char* systemCommandHelp(UINT command) {
  switch (command & 0xFFF0) {
    case SC_SIZE:
      return "Changes the window size";
    case SC_MOVE:
      return "Changes the window position";
    case SC_MINIMIZE:
      return "Reduces the window to an icon";
    case SC_MAXIMIZE:
      return "Enlarges the window to full size";
    case SC_CLOSE:
      return "Closes the window";
    case SC_RESTORE:
      return "Restores the window to its normal size";
    default:
      return "";
  }
}

// Menu help is possible when some help source exists or the window has no menu.
bool menuHelpPossible(int slot, HWND frame) {
  const int menuSlot = YYMenuSlotOf(slot);
  const WindowSlot& m = slotOf(menuSlot);
  return m.menuHelp != nullptr || windowTable.popupMenuHelp != nullptr || GetMenu(frame) == nullptr ||
         m.itemHelpCount > 0;
}

void setSimpleText(HWND bar, const char* text) {
  SendMessageA(bar, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
}

std::string menuHelpText(int slot, HMENU menu, UINT item, UINT flags) {
  UINT id = item;
  if (flags & MF_POPUP) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    if (menu != nullptr && GetMenuItemInfoA(menu, item, TRUE, &info)) id = info.wID;
  }
  const int menuSlot = YYMenuSlotOf(slot);
  if (const char* own = YYMenuItemHelpOf(slotOf(menuSlot).menu, id); own != nullptr) return own;
  if (const char* text = YYMenuStringFind(slotOf(menuSlot).menuHelp, slotOf(menuSlot).menuHelpSize, id))
    return text;
  if (const char* text = YYMenuStringFind(windowTable.popupMenuHelp, windowTable.popupMenuHelpSize, id))
    return text;
  return "";
}

void onMenuSelect(int slot, HWND frame, WPARAM wParam, LPARAM lParam) {
  HWND bar = YYStatusBarOf(slot);
  if (bar == nullptr) return;
  const int kind = windowRecordKindOf(frame);
  if (!menuHelpPossible(slot, frame) && kind != kRecordBitmapView && kind != kRecordGridEditor) return;
  const UINT item = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  const HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (flags & MF_SYSMENU) {
    setSimpleText(bar, systemCommandHelp(item));
    return;
  }
  const int menuSlot = YYMenuSlotOf(slot);
  const bool helpSource = slotOf(menuSlot).menuHelp != nullptr || windowTable.popupMenuHelp != nullptr ||
                          slotOf(menuSlot).itemHelpCount > 0;
  const std::string text = helpSource ? menuHelpText(slot, menu, item, flags) : std::string();
  setSimpleText(bar, text.c_str());
}

void onToolTip(NMHDR* header) {
  auto* tip = reinterpret_cast<NMTTDISPINFOA*>(header);
  const int slot = YYWindowSlotOf(GetParent(GetParent(header->hwndFrom)));
  const int slotByOwner = slot >= 0 ? slot : YYWindowSlotOf(GetParent(header->hwndFrom));
  const int id = static_cast<int>(header->idFrom);
  tip->lpszText = tip->szText;
  tip->szText[0] = '\0';
  tip->hinst = nullptr;
  if (slotByOwner >= 0) {
    const ToolbarTip* found = nullptr;
    for (const ToolbarTip& entry : slotOf(slotByOwner).tips) {
      if (entry.commandId == id) found = &entry;
    }
    if (found != nullptr) {
      const std::string text = windowsText(found->text.view());
      lstrcpynA(tip->szText, text.c_str(), sizeof tip->szText);
      return;
    }
  }
  char text[81] = {};
  if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text) > 0) {
    lstrcpynA(tip->szText, text, sizeof tip->szText);
  }
}

void onFrameSize(int slot, HWND frame, WPARAM wParam) {
  WindowSlot& s = slotOf(slot);
  if (isChildFrame(frame)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(frame, &wp);
    if (wParam == SIZE_MAXIMIZED && s.savedNormal.left == kPlacementUnsaved) {
      s.savedNormal = wp.rcNormalPosition;
    } else if (wParam == SIZE_RESTORED && s.savedNormal.left != kPlacementUnsaved) {
      wp.rcNormalPosition = s.savedNormal;
      s.savedNormal.left = kPlacementUnsaved;
      SetWindowPlacement(frame, &wp);
      ShowWindow(frame, SW_SHOWNORMAL);
    }
  }
  if (wParam == SIZE_MINIMIZED) {
    if (isChildFrame(frame)) {
      SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
      HWND container = GetParent(GetParent(frame));
      if (container != nullptr) SendMessageA(container, WM_NCACTIVATE, TRUE, 0);
    }
    return;
  }
  YYFrameLayout(slot);
}

}  // namespace

int YYMenuSlotOf(int slot) {
  for (int guard = 0; guard < kWindowSlots && isValidSlot(slot); ++guard) {
    HWND frame = slotOf(slot).frame;
    if (frame == nullptr) return 0;
    if (!isChildFrame(frame)) return slotOf(slot).menu != nullptr ? slot : 0;
    HWND parent = GetParent(frame);
    const int next = parent != nullptr ? YYWindowSlotOf(parent) : -1;
    if (next < 0) return 0;
    slot = next;
  }
  return 0;
}

void YYFrameLayout(int slot) {
  WindowSlot& s = slotOf(slot);
  if (s.frame == nullptr) return;
  RECT r{};
  GetClientRect(s.frame, &r);
  constexpr UINT kBarFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (s.statusBar != nullptr) {
    InvalidateRect(s.statusBar, nullptr, TRUE);
    SendMessageA(s.statusBar, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(s.statusBar, &bar);
    r.bottom -= bar.bottom - bar.top;
  }
  if (HWND top = s.toolbars[kToolbarTop]; top != nullptr) {
    SendMessageA(top, TB_AUTOSIZE, 0, 0);
    RECT bar{};
    GetWindowRect(top, &bar);
    r.top += bar.bottom - bar.top;
  }
  if (HWND bottom = s.toolbars[kToolbarBottom]; bottom != nullptr) {
    RECT bar{};
    GetWindowRect(bottom, &bar);
    const int height = bar.bottom - bar.top;
    r.bottom -= height;
    SetWindowPos(bottom, nullptr, 0, r.bottom, r.right, height, kBarFlags);
  }
  if (HWND left = s.toolbars[kToolbarLeft]; left != nullptr) {
    const int width = static_cast<int>(GetWindowLongPtrA(left, GWLP_USERDATA));
    SetWindowPos(left, nullptr, 0, r.top, width, r.bottom - r.top, kBarFlags);
    r.left += width;
  }
  if (HWND right = s.toolbars[kToolbarRight]; right != nullptr) {
    const int width = static_cast<int>(GetWindowLongPtrA(right, GWLP_USERDATA));
    SetWindowPos(right, nullptr, r.right - width, r.top, width, r.bottom - r.top, kBarFlags);
    r.right -= width;
  }
  if (s.client != nullptr) {
    SetWindowPos(s.client, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
  }
}

LRESULT CALLBACK YYFrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int slot = YYWindowSlotOf(window);
  if (slot < 0) return DefWindowProcA(window, message, wParam, lParam);
  WindowSlot& s = slotOf(slot);
  switch (message) {
    case WM_CLOSE:
      YYEventPost(kEventClose, 0, wParam, lParam, window);
      return 0;
    case WM_DESTROY:
      if (s.menu != nullptr) YYMenuItemDataFree(s.menu, slot);
      s.menu = nullptr;
      if (s.accelerators != nullptr) DestroyAcceleratorTable(s.accelerators);
      s.accelerators = nullptr;
      s.menuHelp = nullptr;
      s.menuHelpSize = 0;
      s.toolbars.fill(nullptr);
      break;
    case WM_SIZE:
      onFrameSize(slot, window, wParam);
      return 0;
    case WM_EXITSIZEMOVE:
      if (isChildFrame(window) && IsIconic(window)) ArrangeIconicWindows(GetParent(window));
      break;
    case WM_SETFOCUS:
      if (s.client != nullptr) SetFocus(s.client);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) YYWindowFocus(window);
      break;
    case WM_ACTIVATEAPP:
      if (wParam) {
        if (s.client != nullptr) realizePalette(s.client);
      } else {
        YYWindowFocus(nullptr);
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      if (wParam != HTMINBUTTON) {
        const int button = message == WM_NCLBUTTONDOWN ? 1 : message == WM_NCMBUTTONDOWN ? 2 : 3;
        YYEventPost(kEventFrameClick, button, wParam, lParam, window);
      }
      bringToTop(window);
      YYWindowFocus(window);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      bringToTop(window);
      YYWindowFocus(window);
      return 0;
    case WM_SYSCHAR:
      if (isChildFrame(window) && wParam != '-') return SendMessageA(GetParent(window), message, wParam, lParam);
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) {
        YYEventPost(kEventMenu, 0, wParam, lParam, window);
        HWND from = reinterpret_cast<HWND>(lParam);
        for (HWND bar : s.toolbars) {
          if (bar != nullptr && bar == from) UpdateWindow(bar);
        }
        return 0;
      }
      break;
    case WM_TIMER:
      KillTimer(window, wParam);
      YYEventPost(kEventTimer, 0, wParam, lParam, window);
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header != nullptr && header->code == TTN_NEEDTEXTA) {
        onToolTip(header);
        return 0;
      }
      break;
    }
    case WM_ENTERMENULOOP:
      if (HWND bar = YYStatusBarOf(slot); bar != nullptr && menuHelpPossible(slot, window)) {
        setSimpleText(bar, "");
        SendMessageA(bar, SB_SIMPLE, TRUE, 0);
      }
      break;
    case WM_EXITMENULOOP:
      if (HWND bar = YYStatusBarOf(slot); bar != nullptr) SendMessageA(bar, SB_SIMPLE, FALSE, 0);
      break;
    case WM_MENUSELECT:
      onMenuSelect(slot, window, wParam, lParam);
      return 0;
    case WM_PALETTECHANGED:
      if (s.client != nullptr) SendMessageA(s.client, message, wParam, lParam);
      return 0;
    case MM_MCINOTIFY:
      YYWindowMciNotify(static_cast<UINT>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

bool isNumericKeypad(WPARAM key) { return key >= 96 && key <= 111; }

bool isModifierOnly(WPARAM key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_PAUSE || key == VK_CAPITAL ||
         key == VK_NUMLOCK || key == VK_SCROLL;
}

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void onKeyDown(HWND window, WPARAM key, LPARAM lParam) {
  MSG next{};
  if (PeekMessageA(&next, window, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    const WPARAM character = next.wParam;
    if (isNumericKeypad(key)) {
      YYEventPost(kEventKey, 1, key, lParam, window);
    } else if (character == 9 && keyDown(VK_SHIFT)) {
      YYEventPost(kEventKey, 1, 9 + 4096, lParam, window);
    } else {
      YYEventPost(kEventKey, 0, character, lParam, window);
    }
    return;
  }
  if (isModifierOnly(key)) return;
  const WPARAM modifier = keyDown(VK_CONTROL) ? 8192 : keyDown(VK_SHIFT) ? 4096 : 0;
  YYEventPost(kEventKey, 1, key + modifier, lParam, window);
}

int buttonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
      return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
      return 2;
    default:
      return 3;
  }
}

// Copies the snapshot kept for this window, or for the nearest containing
// window that has one, onto the window.  The copy goes through BeginPaint, after
// the background is erased, so that the erase does not wipe it out again.
void paintFromSnapshot(HWND window, int slot) {
  int owner = slot;
  if (slotOf(slot).snapshot == nullptr) {
    HWND frame = slotOf(slot).frame;
    owner = -1;
    if (windowRecordOf(frame) == nullptr) {
      while (frame != nullptr && isChildFrame(frame)) {
        HWND up = GetParent(GetParent(frame));
        const int upSlot = up != nullptr ? YYWindowSlotOf(up) : -1;
        if (upSlot < 0) break;
        if (slotOf(upSlot).snapshot != nullptr) {
          owner = upSlot;
          break;
        }
        frame = slotOf(upSlot).frame;
      }
    }
  }
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (owner >= 0) {
    POINT offset{};
    MapWindowPoints(window, slotOf(owner).client, &offset, 1);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, slotOf(owner).snapshot);
    RECT r{};
    GetClientRect(window, &r);
    BitBlt(dc, 0, 0, r.right, r.bottom, memory, offset.x, offset.y, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  EndPaint(window, &paint);
}

void maximiseChildrenAgain(HWND client) {
  for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsZoomed(child)) {
      HWND after = GetWindow(child, GW_HWNDPREV);
      ShowWindow(child, SW_MAXIMIZE);
      SetWindowPos(child, after != nullptr ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void onClientFocus(int slot) {
  WindowSlot& s = slotOf(slot);
  windowTable.ownerWindow = s.frame;
  windowTable.activeModelessDialog = nullptr;
  if (slot != 0 || IsWindowVisible(s.frame)) {
    SetWindowPos(s.frame, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  const WindowRecord* record = windowRecordOf(s.frame);
  if (record == nullptr || record->kind != kRecordCombinedDialog || record->dialog == nullptr) return;
  int fieldChanges = 0;
  YYEventEnableQuery(kEventFieldChanged, fieldChanges);
  YYEventEnableSet(kEventFieldChanged, 0);
  HWND dialog = record->dialog;
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  HWND focus = GetFocus();
  if (focus != dialog && !IsChild(dialog, focus)) SetFocus(dialog);
  windowTable.activeModelessDialog = dialog;
  windowTable.activeModelessOwnerSlot = slot;
  YYEventEnableSet(kEventFieldChanged, fieldChanges);
}

}  // namespace

LRESULT CALLBACK YYClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int slot = YYWindowSlotOf(window);
  if (slot < 0) return DefWindowProcA(window, message, wParam, lParam);
  WindowSlot& s = slotOf(slot);
  switch (message) {
    case WM_KEYDOWN:
      onKeyDown(window, wParam, lParam);
      return 0;
    case WM_CHAR:
      YYEventPost(kEventKey, 0, wParam, lParam, window);
      return 0;
    case WM_SYSCHAR:
      return SendMessageA(s.frame, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      SetCapture(window);
      const bool doubleClick = message == WM_LBUTTONDBLCLK || message == WM_MBUTTONDBLCLK ||
                               message == WM_RBUTTONDBLCLK;
      int enabled = 0;
      YYEventEnableQuery(kEventDoubleClick, enabled);
      YYEventPost(doubleClick && enabled ? kEventDoubleClick : kEventMouseDown, buttonOf(message), wParam, lParam,
                  window);
      bringToTop(s.frame);
      YYWindowFocus(s.frame);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
      ReleaseCapture();
      YYEventPost(kEventMouseUp, buttonOf(message), wParam, lParam, window);
      return 0;
    case WM_MOUSEMOVE:
      YYEventPost(kEventMouseMove, 0, wParam, lParam, window);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      YYEventPost(kEventFrameClick, buttonOf(message), wParam, lParam, window);
      bringToTop(s.frame);
      YYWindowFocus(s.frame);
      break;
    case WM_SETCURSOR:
      if (windowTable.cursor != nullptr && LOWORD(lParam) == HTCLIENT) {
        SetCursor(windowTable.cursor);
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimedWaitTimer && eventState.timedWait) {
        eventState.timedWait = false;
        KillTimer(window, wParam);
        return 0;
      }
      YYEventPost(kEventTimer, 0, wParam, lParam, window);
      break;
    case WM_SETFOCUS:
      onClientFocus(slot);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) YYWindowFocus(s.frame);
      break;
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != window) realizePalette(window);
      return 0;
    case WM_PAINT: {
      realizePalette(window);
      if (windowTable.modalSnapshotMode) {
        paintFromSnapshot(window, slot);
        return 0;
      }
      YYEventPost(kEventExpose, 0, wParam, lParam, window);
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      YYEventPark(WM_PAINT, window);
      return result;
    }
    case WM_SIZE:
      ArrangeIconicWindows(window);
      if (isChildFrame(s.frame)) ArrangeIconicWindows(GetParent(s.frame));
      RedrawWindow(window, nullptr, nullptr, RDW_ERASENOW | RDW_UPDATENOW | RDW_NOCHILDREN);
      YYEventPost(kEventResize, 0, wParam, lParam, window);
      maximiseChildrenAgain(window);
      YYEventPark(WM_SIZE, window);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
