// The bitmap-view window.
#include "toolkit/graphics/bitmap_view.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "toolkit/core/events.h"
#include "toolkit/core/menus_toolbars.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/window_procs.h"
#include "toolkit/dialogs/message_box.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/image_slots.h"
#include "toolkit/graphics/screen_gdi.h"

namespace {

constexpr char kViewerClass[] = "QVRBITMAP";
bool classRegistered = false;

BitmapViewRecord* viewRecordOf(HWND window) {
  WindowRecord* record = windowRecordOf(window);
  return record != nullptr && record->kind == kRecordBitmapView ? static_cast<BitmapViewRecord*>(record) : nullptr;
}

int slotOfFrame(HWND frame) {
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    if (slotOf(slot).frame == frame && frame != nullptr) return slot;
  }
  return -1;
}

HWND clientOf(const BitmapViewRecord& record) {
  const int slot = slotOfFrame(record.ViewFrame);
  return slot >= 0 ? slotOf(slot).client : nullptr;
}

bool isChildFrame(HWND frame) { return (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0; }

bool handlesKeys(const BitmapViewRecord& r) { return r.ViewMode == kViewModal || (r.ViewOptions & kViewOwnKeys) != 0; }
bool drags(const BitmapViewRecord& r) { return r.ViewMode == kViewModal || (r.ViewOptions & kViewDrag) != 0; }

int outerHeight(HWND window) {
  RECT r{};
  if (window == nullptr || !GetWindowRect(window, &r)) return 0;
  return r.bottom - r.top;
}
int outerWidth(HWND window) {
  RECT r{};
  if (window == nullptr || !GetWindowRect(window, &r)) return 0;
  return r.right - r.left;
}

SIZE clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

// The outer frame size that shows the whole bitmap with the frame's bars.
SIZE neededFrameSize(const BitmapViewRecord& r) {
  RECT need{0, 0, r.ViewWidth, r.ViewHeight};
  need.bottom += outerHeight(r.ViewStatusBar) + outerHeight(r.ViewToolbars[kToolbarTop]) +
                 outerHeight(r.ViewToolbars[kToolbarBottom]);
  need.right += outerWidth(r.ViewToolbars[kToolbarLeft]) + outerWidth(r.ViewToolbars[kToolbarRight]);
  HWND frame = r.ViewFrame;
  AdjustWindowRectEx(&need, static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)), GetMenu(frame) != nullptr,
                     static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)));
  return {need.right - need.left, need.bottom - need.top};
}

// Event 15 for the frame: horizontal position low, vertical high.
void reportPosition(const BitmapViewRecord& r) {
  const int h = GetScrollPos(r.ViewWindow, SB_HORZ);
  const int v = GetScrollPos(r.ViewWindow, SB_VERT);
  YYEventPost(kEventBitmapView, 0, 0, MAKELPARAM(h, v), r.ViewFrame);
}

// Moves one scroll bar to the position (the bar clamps it), redraws at once
// and reports the new position.
void scrollTo(BitmapViewRecord& r, int bar, int position) {
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, std::max(position, 0), 0};
  SetScrollInfo(r.ViewWindow, bar, &info, TRUE);
  InvalidateRect(r.ViewWindow, nullptr, FALSE);
  UpdateWindow(r.ViewWindow);
  reportPosition(r);
}

void scrollBy(BitmapViewRecord& r, int bar, int delta) { scrollTo(r, bar, GetScrollPos(r.ViewWindow, bar) + delta); }

int halfPage(HWND viewer, int bar) {
  const SIZE size = clientSize(viewer);
  const int half = (bar == SB_HORZ ? size.cx : size.cy) / 2;
  return half > 1 ? half : 1;
}

void onScroll(BitmapViewRecord& r, int bar, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: scrollBy(r, bar, -1); break;
    case SB_LINEDOWN: scrollBy(r, bar, 1); break;
    case SB_PAGEUP: scrollBy(r, bar, -halfPage(r.ViewWindow, bar)); break;
    case SB_PAGEDOWN: scrollBy(r, bar, halfPage(r.ViewWindow, bar)); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(r.ViewWindow, bar, &info);
      scrollTo(r, bar, info.nTrackPos);
      break;
    }
    default: break;
  }
}

void onWheel(BitmapViewRecord& r, WPARAM wParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  const int limit = std::max(static_cast<int>(clientSize(r.ViewWindow).cy) / 2, 1);
  scrollBy(r, SB_VERT, std::clamp(-delta, -limit, limit));
}

// True when the view scrolled for the key.
bool onKey(BitmapViewRecord& r, WPARAM key) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_PRIOR: control ? scrollTo(r, SB_VERT, 0) : scrollBy(r, SB_VERT, -halfPage(r.ViewWindow, SB_VERT)); return true;
    case VK_NEXT:
      control ? scrollTo(r, SB_VERT, r.ViewHeight) : scrollBy(r, SB_VERT, halfPage(r.ViewWindow, SB_VERT));
      return true;
    case VK_HOME: control ? scrollTo(r, SB_HORZ, 0) : scrollBy(r, SB_HORZ, -halfPage(r.ViewWindow, SB_HORZ)); return true;
    case VK_END:
      control ? scrollTo(r, SB_HORZ, r.ViewWidth) : scrollBy(r, SB_HORZ, halfPage(r.ViewWindow, SB_HORZ));
      return true;
    case VK_UP: scrollBy(r, SB_VERT, -1); return true;
    case VK_DOWN: scrollBy(r, SB_VERT, 1); return true;
    case VK_LEFT: scrollBy(r, SB_HORZ, -1); return true;
    case VK_RIGHT: scrollBy(r, SB_HORZ, 1); return true;
    default: return false;
  }
}

void setPage(HWND viewer, int bar, int page) {
  SCROLLINFO info{sizeof info, SIF_PAGE, 0, 0, static_cast<UINT>(std::max(page, 0)), 0, 0};
  SetScrollInfo(viewer, bar, &info, TRUE);
}

void onViewerSize(BitmapViewRecord& r) {
  const int h = GetScrollPos(r.ViewWindow, SB_HORZ);
  const int v = GetScrollPos(r.ViewWindow, SB_VERT);
  RECT frame{};
  GetWindowRect(r.ViewFrame, &frame);
  const bool fits = r.ViewFullWidth != kViewNoFullSize && r.ViewFullHeight != kViewNoFullSize &&
                    frame.right - frame.left >= r.ViewFullWidth && frame.bottom - frame.top >= r.ViewFullHeight;
  const SIZE size = clientSize(r.ViewWindow);
  setPage(r.ViewWindow, SB_HORZ, fits ? r.ViewWidth : static_cast<int>(size.cx));
  setPage(r.ViewWindow, SB_VERT, fits ? r.ViewHeight : static_cast<int>(size.cy));
  if (GetScrollPos(r.ViewWindow, SB_HORZ) != h || GetScrollPos(r.ViewWindow, SB_VERT) != v) reportPosition(r);
}

void onPaint(const BitmapViewRecord& r) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(r.ViewWindow, &paint);
  if (dc == nullptr) return;
  if (yyGdiContext.Palette != nullptr) {
    SelectPalette(dc, yyGdiContext.Palette, FALSE);
    RealizePalette(dc);
  }
  const DeviceContext memory(CreateCompatibleDC(dc));
  HGDIOBJ old = memory ? SelectObject(memory.get(), r.ViewBitmap) : nullptr;
  if (old != nullptr) {
    const SIZE size = clientSize(r.ViewWindow);
    BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), GetScrollPos(r.ViewWindow, SB_HORZ),
           GetScrollPos(r.ViewWindow, SB_VERT), SRCCOPY);
    SelectObject(memory.get(), old);
  }
  EndPaint(r.ViewWindow, &paint);
}

void realizePalette(HWND viewer) {
  if (yyGdiContext.Palette == nullptr) return;
  HDC dc = GetDC(viewer);
  SelectPalette(dc, yyGdiContext.Palette, FALSE);
  if (RealizePalette(dc) > 0) InvalidateRect(viewer, nullptr, FALSE);
  ReleaseDC(viewer, dc);
}

int buttonOf(UINT message) {
  switch (message) {
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return 2;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return 3;
    default: return 1;
  }
}

LRESULT toClient(const BitmapViewRecord& r, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND client = clientOf(r);
  if (client == nullptr) return DefWindowProcA(r.ViewWindow, message, wParam, lParam);
  return YYClientWindowProc(client, message, wParam, lParam);
}

LRESULT CALLBACK viewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BitmapViewRecord* record = viewRecordOf(window);
  if (record == nullptr || record->ViewWindow != window) return DefWindowProcA(window, message, wParam, lParam);
  BitmapViewRecord& r = *record;
  switch (message) {
    case WM_PAINT: onPaint(r); return 0;
    case WM_SIZE: onViewerSize(r); return 0;
    case WM_HSCROLL: onScroll(r, SB_HORZ, wParam); return 0;
    case WM_VSCROLL: onScroll(r, SB_VERT, wParam); return 0;
    case WM_MOUSEWHEEL: onWheel(r, wParam); return 0;
    case WM_KEYDOWN:
      if (handlesKeys(r)) {
        if (onKey(r, wParam)) return 0;
        if (r.ViewMode == kViewModal) return DefWindowProcA(window, message, wParam, lParam);
      }
      return toClient(r, message, wParam, lParam);
    case WM_LBUTTONDOWN:
      if (drags(r)) {
        SetCapture(window);
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32646)));  // IDC_SIZEALL
        r.ViewDragging = 1;
        r.ViewDragX = GET_X_LPARAM(lParam);
        r.ViewDragY = GET_Y_LPARAM(lParam);
        r.ViewDragH = GetScrollPos(window, SB_HORZ);
        r.ViewDragV = GetScrollPos(window, SB_VERT);
        return 0;
      }
      [[fallthrough]];
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      SetCapture(window);
      int enabled = 0;
      YYEventEnableQuery(kEventDoubleClick, enabled);
      const bool doubleClick =
          message == WM_LBUTTONDBLCLK || message == WM_MBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
      YYEventPost(doubleClick && enabled ? kEventDoubleClick : kEventMouseDown, buttonOf(message), wParam, lParam,
                  r.ViewFrame);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (r.ViewDragging != 0) {
        // The picture follows the mouse; it never scrolls before its top-left.
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        r.ViewDragH = std::max(r.ViewDragH - (x - r.ViewDragX), 0);
        r.ViewDragV = std::max(r.ViewDragV - (y - r.ViewDragY), 0);
        r.ViewDragX = x;
        r.ViewDragY = y;
        SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, r.ViewDragH, 0};
        SetScrollInfo(window, SB_HORZ, &info, TRUE);
        info.nPos = r.ViewDragV;
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        r.ViewDragH = GetScrollPos(window, SB_HORZ);
        r.ViewDragV = GetScrollPos(window, SB_VERT);
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        reportPosition(r);
        return 0;
      }
      return toClient(r, message, wParam, lParam);
    case WM_LBUTTONUP:
      if (r.ViewDragging != 0) {
        r.ViewDragging = 0;
        ReleaseCapture();
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
        return 0;
      }
      return toClient(r, message, wParam, lParam);
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
    case WM_CHAR:
      return toClient(r, message, wParam, lParam);
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != window) realizePalette(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The viewer covers the (hidden) client area that the frame's own layout left.
void placeViewer(BitmapViewRecord& r) {
  const int slot = slotOfFrame(r.ViewFrame);
  if (slot < 0) return;
  HWND client = slotOf(slot).client;
  if (client == nullptr || r.ViewWindow == nullptr) return;
  RECT area{};
  GetWindowRect(client, &area);
  MapWindowPoints(nullptr, r.ViewFrame, reinterpret_cast<POINT*>(&area), 2);
  MoveWindow(r.ViewWindow, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void onMinMaxInfo(BitmapViewRecord& r, MINMAXINFO& info) {
  SIZE full = neededFrameSize(r);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int maxWidth = work.right - work.left + 2 * GetSystemMetrics(SM_CXEDGE);
  const int maxHeight = work.bottom - work.top + 2 * GetSystemMetrics(SM_CYEDGE);
  r.ViewFullWidth = static_cast<int>(full.cx);
  r.ViewFullHeight = static_cast<int>(full.cy);
  // A side that does not fit gets a scroll bar, which the other side makes room for.
  if (full.cx > maxWidth) {
    r.ViewFullWidth = kViewNoFullSize;
    full.cy += GetSystemMetrics(SM_CYHSCROLL);
  }
  if (full.cy > maxHeight) {
    r.ViewFullHeight = kViewNoFullSize;
    full.cx += GetSystemMetrics(SM_CXVSCROLL);
  }
  info.ptMaxSize.x = std::min(static_cast<int>(full.cx), maxWidth);
  info.ptMaxSize.y = std::min(static_cast<int>(full.cy), maxHeight);
  info.ptMaxTrackSize = info.ptMaxSize;
}

// A modal view takes its toolkit window with it: the table forgets the frame
// and every top-level toolkit window whose parent chain leads to it.
void forgetWindowsOf(HWND frame) {
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    WindowSlot& s = slotOf(slot);
    if (s.frame == nullptr) continue;
    bool leads = s.frame == frame;
    for (HWND w = GetParent(s.frame); w != nullptr && !leads; w = GetParent(w)) leads = w == frame;
    if (!leads) continue;
    // The toolkit's frame procedure finds the menu through the slot, which is
    // about to be forgotten: its item texts are freed here.
    if (s.menu != nullptr) YYMenuItemDataFree(s.menu, slot);
    s.frame = nullptr;
    s.client = nullptr;
    s.statusBar = nullptr;
    s.savedNormal = RECT{kPlacementUnsaved, 0, 0, 0};
  }
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BitmapViewRecord* record = viewRecordOf(window);
  if (record == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  BitmapViewRecord& r = *record;
  const WNDPROC previous = r.FrameProcedure;
  switch (message) {
    case WM_SIZE:
      // The toolkit's own sizing lays out the bars and the client and keeps a
      // child-style frame's placement and captions; the viewer follows.
      CallWindowProcA(previous, window, message, wParam, lParam);
      if (wParam != SIZE_MINIMIZED) placeViewer(r);
      return 0;
    case WM_MOUSEACTIVATE:
      if (isChildFrame(window)) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        HWND focus = GetFocus();
        if (focus == nullptr || !IsChild(window, focus)) SetFocus(r.ViewWindow);
        return MA_ACTIVATE;
      }
      return CallWindowProcA(previous, window, message, wParam, lParam);
    case WM_GETMINMAXINFO:
      onMinMaxInfo(r, *reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcA(window, message, wParam, lParam);
      if (IsZoomed(window) && hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTBORDER;
      return hit;
    }
    case WM_CLOSE:
      if (r.ViewMode == kViewModal) {
        r.ViewClosed = 1;
        DestroyWindow(window);
      } else {
        YYEventPost(kEventClose, 0, wParam, lParam, window);
      }
      return 0;
    case WM_SETFOCUS:
      windowTable.ownerWindow = window;
      SetFocus(r.ViewWindow);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam != 0) realizePalette(r.ViewWindow);
      return CallWindowProcA(previous, window, message, wParam, lParam);
    case WM_PALETTECHANGED:
      return SendMessageA(r.ViewWindow, message, wParam, lParam);
    case WM_DESTROY: {
      int status = 0;
      if (r.ViewMode == kViewModeless) {
        // One semi-modeless window less: the others come back, and so does its owner.
        dialogTable.semiModalCount = std::max(0, dialogTable.semiModalCount - 1);
        YYModalWindowsEnable(0, slotOfFrame(window), status);
        HWND owner = GetWindow(window, GW_OWNER);
        if (owner == nullptr) owner = windowTable.slots[0].frame;
        if (owner != nullptr) SetActiveWindow(owner);
      }
      if (r.ViewMode == kViewModal) forgetWindowsOf(window);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      if (r.ViewWindow != nullptr) SetWindowLongPtrA(r.ViewWindow, GWLP_USERDATA, 0);
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      // The modal loop frees its own record.
      if (r.ViewMode != kViewModal) delete &r;
      return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    default:
      return CallWindowProcA(previous, window, message, wParam, lParam);
  }
}

bool registerViewerClass() {
  if (classRegistered) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = viewerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kViewerClass;
  classRegistered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return classRegistered;
}

bool bitmapSelectable(HBITMAP bitmap) {
  const DeviceContext dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  HGDIOBJ old = SelectObject(dc.get(), bitmap);
  if (old == nullptr) return false;
  SelectObject(dc.get(), old);
  return true;
}

void runModal(BitmapViewRecord* record) {
  MSG msg{};
  while (record->ViewClosed == 0 && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    YYDispatchMessage(msg);
  }
}

// The window that gets the activation back when a modal view closes: the
// dialog recorded when its window opened, else the root window.
HWND modalViewOwner(int slot) {
  const HWND recorded = isValidSlot(slot) ? slotOf(slot).previousOwner : nullptr;
  return recorded != nullptr && IsWindow(recorded) ? recorded : slotOf(0).frame;
}

}  // namespace

void YYBitmapViewShow(BitmapViewRecord& r, int index, int scrollX, int scrollY) {
  const YYBitmapSlot& slot = yyBitmapSlots[static_cast<std::size_t>(index)];
  r.ViewBitmap = slot.bitmap;
  r.ViewWidth = slot.width;
  r.ViewHeight = slot.height;
  r.ViewFullWidth = kViewNoFullSize;
  r.ViewFullHeight = kViewNoFullSize;
  r.ViewDragging = r.ViewDragX = r.ViewDragY = r.ViewDragH = r.ViewDragV = 0;

  SIZE need = neededFrameSize(r);
  RECT frame{};
  GetWindowRect(r.ViewFrame, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (width >= need.cx && height >= need.cy) {
    SetWindowPos(r.ViewFrame, nullptr, 0, 0, need.cx, need.cy, kResizeOnly);
  } else if (width < need.cx && height >= need.cy) {
    need.cy += GetSystemMetrics(SM_CYHSCROLL);
    if (height >= need.cy) SetWindowPos(r.ViewFrame, nullptr, 0, 0, width, need.cy, kResizeOnly);
  } else if (height < need.cy && width >= need.cx) {
    need.cx += GetSystemMetrics(SM_CXVSCROLL);
    if (width >= need.cx) SetWindowPos(r.ViewFrame, nullptr, 0, 0, need.cx, height, kResizeOnly);
  }

  const SIZE viewer = clientSize(r.ViewWindow);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, std::max(r.ViewWidth - 1, 0),
                  static_cast<UINT>(std::min(static_cast<int>(viewer.cx), r.ViewWidth)), 0, 0};
  if (scrollX >= 0) {
    info.fMask |= SIF_POS;
    info.nPos = scrollX;
  }
  SetScrollInfo(r.ViewWindow, SB_HORZ, &info, TRUE);
  info = SCROLLINFO{sizeof info, SIF_RANGE | SIF_PAGE, 0, std::max(r.ViewHeight - 1, 0),
                    static_cast<UINT>(std::min(static_cast<int>(viewer.cy), r.ViewHeight)), 0, 0};
  if (scrollY >= 0) {
    info.fMask |= SIF_POS;
    info.nPos = scrollY;
  }
  SetScrollInfo(r.ViewWindow, SB_VERT, &info, TRUE);
  SendMessageA(r.ViewWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(viewer.cx, viewer.cy));
}

void YYBitmapView(int index, int scrollX, int scrollY, int mode, int options, int& status) {
  const int slotIndex = windowTable.currentIndex;
  if (slotIndex == 0 || !slotHasFrame(slotIndex)) {
    status = 1;
    return;
  }
  if (!isImageSlotIndex(index) || yyBitmapSlots[static_cast<std::size_t>(index)].bitmap == nullptr) {
    status = 2;
    return;
  }
  if (!bitmapSelectable(yyBitmapSlots[static_cast<std::size_t>(index)].bitmap)) {
    status = 3;
    return;
  }
  WindowSlot& s = slotOf(slotIndex);
  HWND frame = s.frame;
  if (BitmapViewRecord* shown = viewRecordOf(frame); shown != nullptr) {
    YYBitmapViewShow(*shown, index, std::max(scrollX, 0), std::max(scrollY, 0));
    InvalidateRect(shown->ViewWindow, nullptr, FALSE);
    UpdateWindow(shown->ViewWindow);
    return;
  }
  if (windowRecordOf(frame) != nullptr) {
    status = 4;
    return;
  }
  if (s.client == nullptr || GetWindow(s.client, GW_CHILD) != nullptr) {
    status = 9;
    return;
  }
  if (isChildFrame(frame) && mode != kViewPlain) {
    if (mode == kViewModal) {
      int ignored = 0;
      YYModalWindowsEnable(0, slotIndex, ignored);
    }
    mode = kViewPlain;
    status = 5;
  }
  if (!registerViewerClass()) {
    status = 6;
    return;
  }
  auto owned = std::make_unique<BitmapViewRecord>();
  BitmapViewRecord& r = *owned;
  r.kind = kRecordBitmapView;
  r.ViewMode = mode;
  r.ViewStatusBar = s.statusBar;
  r.ViewOptions = options;
  r.ViewFrame = frame;
  if (mode == kViewModal) {
    const bool hadBars = std::any_of(s.toolbars.begin(), s.toolbars.end(), [](HWND w) { return w != nullptr; });
    if (s.menu != nullptr) {
      SetMenu(frame, nullptr);
      YYMenuItemDataFree(s.menu, slotIndex);
      DestroyMenu(s.menu);
      s.menu = nullptr;
    }
    s.accelerators = nullptr;
    for (HWND& bar : s.toolbars) {
      if (bar != nullptr) DestroyWindow(bar);
      bar = nullptr;
    }
    if (hadBars && !IsIconic(frame)) {
      const SIZE size = clientSize(frame);
      SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
    }
  } else {
    r.ViewToolbars = s.toolbars;
  }
  RECT area{};
  GetWindowRect(s.client, &area);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&area), 2);
  HWND viewer = CreateWindowExA(0, kViewerClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, area.left,
                                area.top, area.right - area.left, area.bottom - area.top, frame,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewerControlId)),
                                GetModuleHandleA(nullptr), nullptr);
  if (viewer == nullptr) {
    status = 6;
    return;
  }
  BitmapViewRecord* record = owned.release();
  record->ViewWindow = viewer;
  SetWindowLongPtrA(viewer, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  record->FrameProcedure =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc)));

  YYBitmapViewShow(*record, index, std::max(scrollX, 0), std::max(scrollY, 0));
  if (GetFocus() == s.client) SetFocus(viewer);
  ShowWindow(s.client, SW_HIDE);
  UpdateWindow(viewer);
  if (!IsWindowEnabled(frame)) {
    EnableWindow(frame, TRUE);
    SetFocus(viewer);
  }
  ShowWindow(frame, SW_SHOW);
  int ignored = 0;
  if (mode == kViewModeless) ++dialogTable.semiModalCount;
  if (mode != kViewPlain) YYModalWindowsEnable(1, slotIndex, ignored);
  if (mode != kViewModal) return;

  const HWND owner = modalViewOwner(slotIndex);
  runModal(record);
  if (record->ViewClosed == 0) {
    // The loop ended on a quit message: the view goes, and the quit is passed on.
    record->ViewClosed = 1;
    DestroyWindow(frame);
    PostQuitMessage(0);
  }
  delete record;
  YYModalWindowsEnable(0, slotIndex, ignored);
  if (owner != nullptr && IsWindow(owner)) {
    SetActiveWindow(owner);
    SetFocus(owner);
  }
}

void YYBMPVIEWINFO(int window, int code, int& value) {
  value = 0;
  if (!isValidSlot(window)) return;
  const BitmapViewRecord* r = viewRecordOf(slotOf(window).frame);
  if (r == nullptr || r->ViewWindow == nullptr) return;
  switch (code) {
    case 3: {
      const auto at = std::find_if(yyBitmapSlots.begin(), yyBitmapSlots.end(),
                                   [&](const YYBitmapSlot& s) { return s.bitmap == r->ViewBitmap; });
      value = at == yyBitmapSlots.end() ? 0 : static_cast<int>(at - yyBitmapSlots.begin()) + 1;
      break;
    }
    case 4: value = GetScrollPos(r->ViewWindow, SB_HORZ); break;
    case 5: value = GetScrollPos(r->ViewWindow, SB_VERT); break;
    case 101: value = r->ViewWidth; break;
    case 102: value = r->ViewHeight; break;
    case 103: {
      SCROLLINFO vertical{sizeof vertical, SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(r->ViewWindow, SB_VERT, &vertical);
      SCROLLINFO horizontal{sizeof horizontal, SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(r->ViewWindow, SB_HORZ, &horizontal);
      value = vertical.nPos + static_cast<int>(vertical.nPage);
      const bool horizontalBarShown = static_cast<int>(horizontal.nPage) < horizontal.nMax - horizontal.nMin + 1;
      if (horizontalBarShown) value += GetSystemMetrics(SM_CYHSCROLL);
      break;
    }
    default: break;
  }
}

bool YYBitmapShownInView(HBITMAP bitmap) {
  if (bitmap == nullptr) return false;
  for (int slot = 1; slot <= kMaxWindowSlot; ++slot) {
    const BitmapViewRecord* r = viewRecordOf(slotOf(slot).frame);
    if (r != nullptr && r->ViewBitmap == bitmap) return true;
  }
  return false;
}
