#include "toolkit/core/events.h"

#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/graphics_area.h"
#include "toolkit/graphics/graphics_defaults.h"
#include "toolkit/graphics/graphics_state.h"

EventState eventState;
DialogEventLookup dialogEventLookup = nullptr;

// Keys, menus, buttons, mouse down, expose, resize, close, timers (and 14) are on.
const std::array<int, kEventTypes> kEventEnableDefaults = {1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0};
std::array<int, kEventTypes> eventEnableTable = kEventEnableDefaults;

namespace {

constexpr UINT kDroppedMessage = 0x0118;  // a system timer message that must not be dispatched
constexpr WORD kDroppedTimer = 0xFFF6;

bool isReadyAndPending() { return eventState.waitState == kReady && !eventState.returned; }

void clientSizeOf(HWND window, int& width, int& height) {
  RECT r{};
  if (window != nullptr) GetClientRect(window, &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
}

bool deliverParked(EventWords& event) {
  for (int slot = 0; slot <= kMaxWindowSlot; ++slot) {
    WindowSlot& s = slotOf(slot);
    if (s.parked.type <= 0 || s.client == nullptr) continue;
    const ParkedEvent p = s.parked;
    event = EventWords{p.type, slot, p.value1, p.value2, p.value3, p.value4, p.x, p.y, p.time};
    if (p.type == kEventExpose) {
      event.x = 0;
      event.y = 0;
      clientSizeOf(s.client, event.value1, event.value2);
      event.value3 = 0;
    }
    s.parked = ParkedEvent{};
    return true;
  }
  return false;
}

// The toolkit window record of the message window or of one of its first three
// ancestors that is a child-window frame.
WindowRecord* childClassRecordOf(HWND window, HWND* frame = nullptr) {
  for (int depth = 0; depth < 4 && window != nullptr; ++depth) {
    if (windowTable.childAtom != 0 &&
        static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM)) == windowTable.childAtom) {
      if (WindowRecord* record = windowRecordOf(window); record != nullptr) {
        if (frame != nullptr) *frame = window;
        return record;
      }
    }
    window = GetParent(window);
  }
  return nullptr;
}

// Accelerators of a viewer or editor send their commands to its own window,
// wherever the focus lies inside it.
bool translateWithRecord(const WindowRecord& record, HWND frame, MSG& msg) {
  if (record.kind == kRecordBitmapView && record.embeddedDialog != nullptr &&
      IsDialogMessageA(record.embeddedDialog, &msg)) {
    return true;
  }
  if (record.kind == kRecordBitmapView || record.kind == kRecordGridEditor) {
    for (HACCEL table : record.accelerators) {
      if (table != nullptr && TranslateAcceleratorA(frame, table, &msg)) return true;
    }
  }
  return false;
}

// The slot whose menu serves the window's slot: climbing through containing
// windows, slot 0 ending the climb; -1 when none has a menu.
int menuSlotForAccelerators(int slot) {
  for (int guard = 0; guard < kWindowSlots && slot >= 0; ++guard) {
    if (slotOf(slot).menu != nullptr) return slot;
    if (slot == 0) return -1;
    HWND parent = GetParent(slotOf(slot).frame);
    slot = parent != nullptr ? YYWindowSlotOf(parent) : -1;
  }
  return -1;
}

void routeMessage(MSG& msg) {
  HWND dialog = windowTable.activeModelessDialog;
  if (dialog != nullptr && IsWindow(dialog)) {
    const int owner = windowTable.activeModelessOwnerSlot;
    if (owner >= 0 && slotHasFrame(owner)) {
      if (slotOf(owner).accelerators != nullptr &&
          TranslateAcceleratorA(slotOf(owner).frame, slotOf(owner).accelerators, &msg)) {
        return;
      }
    } else if (windowTable.activeModelessUsesRootKeys && slotOf(0).accelerators != nullptr &&
               TranslateAcceleratorA(slotOf(0).frame, slotOf(0).accelerators, &msg)) {
      return;
    }
    if (IsDialogMessageA(dialog, &msg)) return;
  }
  HWND frame = nullptr;
  if (const WindowRecord* record = childClassRecordOf(msg.hwnd, &frame); record != nullptr) {
    if (!translateWithRecord(*record, frame, msg)) {
      TranslateMessage(&msg);
      YYDispatchMessage(msg);
    }
    return;
  }
  const int slot = msg.hwnd != nullptr ? YYWindowSlotOf(msg.hwnd) : -1;
  if (slot >= 0) {
    const int menuSlot = menuSlotForAccelerators(slot);
    if (menuSlot >= 0 && slotOf(menuSlot).accelerators != nullptr &&
        TranslateAcceleratorA(slotOf(slot).frame, slotOf(menuSlot).accelerators, &msg)) {
      return;
    }
  }
  TranslateMessage(&msg);
  const bool paint = msg.message == WM_PAINT || msg.message == WM_SIZE;
  if (paint) eventState.paintDispatch = true;
  YYDispatchMessage(msg);
  if (paint) eventState.paintDispatch = false;
}

// Gives the caller the current event, merging it with a parked one of its window.
void takeCurrent(EventWords& event) {
  event = eventState.current;
  eventState.returned = true;
  const bool windowExpose = event.type == kEventExpose && event.value3 == 0;
  if ((event.type == kEventResize || windowExpose) && isValidSlot(event.win)) {
    WindowSlot& s = slotOf(event.win);
    if (windowExpose && s.parked.type == kEventExpose) {
      event.x = 0;
      event.y = 0;
      clientSizeOf(s.client, event.value1, event.value2);
    }
    s.parked = ParkedEvent{};
  }
}

bool deliverStored(EventWords& event) {
  if (deliverParked(event)) return true;
  if (eventState.held.type != 0) {
    event = eventState.held;
    eventState.held = EventWords{};
    return true;
  }
  return false;
}

}  // namespace

int WEventWait(EventRecord& record) {
  if (eventState.pushedType != 0) {
    record = eventState.pushed;
    const int type = eventState.pushedType;
    eventState.pushedType = 0;
    return type;
  }
  EventWords event;
  YYEventWaitLoop(event);
  record.win = event.win;
  record.value1 = event.value1;
  record.value2 = event.value2;
  record.value3 = event.value3;
  record.value4 = event.value4;
  record.x = event.x;
  record.y = event.y;
  record.time = event.time;
  YYEventToUserUnits(event.type, record);
  return event.type;
}

void YYEventWaitLoop(EventWords& event) {
  eventState.inWait = true;
  if (deliverStored(event)) {
    eventState.inWait = false;
    return;
  }
  eventState.firstMessage = true;
  eventState.waitState = kWaiting;
  while (eventState.waitState != kReady) {
    MSG msg{};
    GetMessageA(&msg, nullptr, 0, 0);
    routeMessage(msg);
  }
  takeCurrent(event);
  eventState.inWait = false;
}

void YYEventPollLoop(EventWords& event) {
  eventState.inWait = true;
  if (deliverStored(event)) {
    eventState.inWait = false;
    return;
  }
  eventState.firstMessage = true;
  eventState.current.type = 0;
  eventState.waitState = kWaiting;
  while (eventState.waitState != kReady) {
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      event = EventWords{};
      event.type = -1;
      eventState.inWait = false;
      return;
    }
    routeMessage(msg);
  }
  takeCurrent(event);
  eventState.inWait = false;
}

namespace {

// Client positions from lParam: positions left of or above a window that holds
// the mouse capture arrive as large unsigned words and are made negative.
void pointerPosition(LPARAM lParam, int& x, int& y) {
  x = LOWORD(lParam);
  y = HIWORD(lParam);
  if (x > windowTable.screenWidth) x -= 65536;
  if (y > windowTable.screenHeight) y -= 65536;
}

bool isBitmapViewWindow(HWND window) {
  return windowRecordKindOf(window) == kRecordBitmapView ||
         windowRecordKindOf(GetParent(window)) == kRecordBitmapView;
}

void complete() {
  eventState.waitState = kReady;
  eventState.returned = false;
}

}  // namespace

void YYEventPost(int type, int sub, WPARAM wParam, LPARAM lParam, HWND window) {
  const int entry = type > 100 ? type - 100 : type;
  if (entry < 1 || entry > kEventTypes || eventEnableTable[static_cast<std::size_t>(entry - 1)] == 0) return;
  EventWords& e = eventState.current;
  const bool readyPending = isReadyAndPending();
  if (type == kEventExpose && readyPending && e.type == kEventResize) return;
  const bool invisibleResize = type == kEventResize && !IsWindowVisible(window);
  DialogEventSource dialog;
  const bool dialogType = type == kEventButton || type == kEventFieldChanged || type == kEventTabChanged || type > 100;
  if (dialogType && (dialogEventLookup == nullptr || !dialogEventLookup(window, dialog))) return;
  if (type == kEventFieldChanged && readyPending && eventState.inWait) {
    // Kept back so that it does not overwrite the event the wait will return.
    EventWords& h = eventState.held;
    h = EventWords{kEventFieldChanged, dialog.identifier, dialog.previousField, dialog.currentField, 0, -1, 0,
                   static_cast<int>(lParam), static_cast<int>(GetTickCount())};
    if (dialog.lastNotification != nullptr) {
      h.x = *dialog.lastNotification;
      *dialog.lastNotification = static_cast<int>(lParam);
    }
    return;
  }
  const bool header = !invisibleResize && !(type == kEventFieldChanged && readyPending);
  if (header && ((type >= 1 && type <= kEventTypes) || type > 100)) {
    e.type = type > 100 ? type - 100 : type;
    e.win = YYWindowSlotOf(window);
    e.time = static_cast<int>(GetMessageTime());
  }
  switch (type) {
    case kEventKey: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(window, &p);
      e.x = p.x;
      e.y = p.y;
      if (sub == 1) {
        int key = static_cast<int>(wParam);
        int modifier = 0;
        if (key > 8192) {
          key -= 8192;
          modifier = 40;
        } else if (key > 4096) {
          key -= 4096;
          modifier = 20;
        }
        e.value1 = YYKeyTranslate(key, modifier);
      } else {
        e.value1 = static_cast<int>(wParam);
      }
      e.value2 = -1;
      e.value3 = isBitmapViewWindow(window) ? 2 : 0;
      e.value4 = -1;
      complete();
      break;
    }
    case kEventMenu:
      e.value1 = LOWORD(wParam);
      e.value2 = e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case kEventMouseDown:
    case kEventMouseUp:
    case kEventDoubleClick:
    case kEventMouseMove:
      e.value1 = type == kEventMouseMove ? -1 : sub;
      e.value2 = YYMouseKeyState(wParam);
      e.value3 = isBitmapViewWindow(window) ? 2 : 0;
      e.value4 = -1;
      pointerPosition(lParam, e.x, e.y);
      complete();
      break;
    case kEventExpose: {
      RECT r{};
      GetUpdateRect(window, &r, TRUE);
      e.value1 = r.right - r.left;
      e.value2 = r.bottom - r.top;
      e.value3 = 0;
      e.value4 = -1;
      e.x = r.left;
      e.y = r.top;
      complete();
      break;
    }
    case kEventResize: {
      if (wParam == SIZE_MINIMIZED) return;
      windowTable.lastResizeWidth = LOWORD(lParam);
      windowTable.lastResizeHeight = HIWORD(lParam);
      if (invisibleResize) {
        YYWindowResized(YYWindowSlotOf(window), LOWORD(lParam), HIWORD(lParam));
        return;
      }
      e.value1 = LOWORD(lParam);
      e.value2 = HIWORD(lParam);
      e.value3 = 0;
      e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    }
    case kEventClose:
    case 14:
      e.value1 = e.value2 = e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case kEventFrameClick:
      e.value1 = sub;
      e.value2 = e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case kEventTimer:
      e.value1 = static_cast<int>(wParam);
      e.value2 = e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case kEventBitmapView:
      e.value1 = LOWORD(lParam);
      e.value2 = HIWORD(lParam);
      e.value3 = 2;
      e.value4 = -1;
      e.x = e.y = 0;
      complete();
      break;
    case kEventButton:
      e.win = dialog.identifier;
      e.value1 = LOWORD(wParam);
      e.value2 = dialog.previousFocus;
      e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case kEventFieldChanged:
      e.type = kEventFieldChanged;
      e.win = dialog.identifier;
      e.value1 = dialog.previousField;
      e.value2 = dialog.currentField;
      e.value3 = 0;
      e.value4 = -1;
      e.y = static_cast<int>(lParam);
      if (eventState.firstMessage && dialog.lastNotification != nullptr) e.x = *dialog.lastNotification;
      eventState.firstMessage = false;
      if (dialog.lastNotification != nullptr) *dialog.lastNotification = static_cast<int>(lParam);
      complete();
      break;
    case kEventTabChanged:
      e.win = dialog.identifier;
      e.value1 = dialog.pageBefore;
      e.value2 = dialog.pageNow;
      e.value3 = e.value4 = -1;
      e.x = e.y = -1;
      complete();
      break;
    case 104:
    case 105:
    case 106:
    case 116:
      e.win = dialog.identifier;
      e.value1 = type == 106 ? -1 : dialog.mouseButton;
      e.value2 = YYMouseKeyState(wParam);
      e.value3 = 1;
      e.value4 = dialog.graphicsField;
      pointerPosition(lParam, e.x, e.y);
      complete();
      break;
    case 107:
      e.win = dialog.identifier;
      e.value1 = e.value2 = -1;
      e.value3 = 1;
      e.value4 = dialog.graphicsField;
      e.x = e.y = -1;
      complete();
      break;
    default:
      break;
  }
}

void YYEventPark(UINT message, HWND window) {
  if (message != WM_PAINT && message != WM_SIZE) return;
  if (eventState.waitState != kReady || eventState.paintDispatch || windowTable.modalSnapshotMode) return;
  if (!IsWindowVisible(window)) return;
  const int slot = YYWindowSlotOf(window);
  if (slot < 0) return;
  const int type = message == WM_SIZE ? kEventResize : kEventExpose;
  // Only the event this message produced is parked.
  if (eventState.current.type != type || eventState.current.win != slot) return;
  ParkedEvent& parked = slotOf(slot).parked;
  if (type == kEventExpose && parked.type == kEventResize) return;
  const EventWords& e = eventState.current;
  parked = ParkedEvent{type, e.value1, e.value2, e.value3, e.value4, e.x, e.y, e.time};
}

void YYEventToUserUnits(int type, EventRecord& record) {
  const bool converted = type == 1 || type == 4 || type == 5 || type == 6 || type == 7 || type == 8 ||
                         type == 15 || type == 16;
  if (!converted) return;
  YYGrAttributes& a = yyGrAttributes;
  if (type == kEventBitmapView) {
    YYPixelsToUser(static_cast<float>(record.x) + 0.5f,
                   static_cast<float>(a.DeviceMaxY - record.y) + 0.5f, record.gx, record.gy, record.win);
    return;
  }
  const int kind = record.value3 == 1 ? kTargetField : kTargetWindow;
  const int id = record.value3 == 1 ? record.value4 : record.win;
  const int dialog = record.value3 == 1 ? record.win : 0;
  const bool switched =
      kind != a.TargetKind || id != a.TargetId || (kind == kTargetField && dialog != a.TargetDialog);
  // A position in another target is converted with that target's size; the
  // graphics state is put back afterwards.
  const YYGrAttributes savedAttributes = a;
  const YYGrState savedState = yyGrState;
  const int savedWidth = windowTable.clientWidth;
  const int savedHeight = windowTable.clientHeight;
  auto restore = [&] {
    a = savedAttributes;
    yyGrState = savedState;
  };
  // A dialog field's size is asked of its own dialog, which is current for
  // the conversion only.
  const int savedDialogSlot = dialogTable.currentSlot;
  const int savedDialogIdentifier = dialogTable.currentIdentifier;
  const DialogRecord* currentDialog = currentDialogRecord();
  const bool dialogSwitched =
      switched && kind == kTargetField && (currentDialog == nullptr || currentDialog->identifier != dialog);
  if (dialogSwitched) WDialogSelect(dialog);
  auto restoreDialog = [&] {
    if (!dialogSwitched) return;
    dialogTable.currentSlot = savedDialogSlot;
    dialogTable.currentIdentifier = savedDialogIdentifier;
  };
  if (switched) {
    int w = 0;
    int h = 0;
    YYTargetClientSize(kind, id, w, h);
    YYAreaScaleForSurface(w, h);
    windowTable.clientWidth = w;
    windowTable.clientHeight = h;
  }
  eventState.targetKind = kind;
  eventState.targetId = id;
  eventState.targetDialog = dialog;
  auto toUser = [&](float px, float py, float& ux, float& uy) {
    if (record.value3 == 2) {
      YYPixelsToUser(px, py, ux, uy, record.win);
    } else {
      YYPixelsToUserPlain(px, py, ux, uy);
    }
  };
  bool keepClientSize = false;
  switch (type) {
    case kEventKey:
    case kEventMouseDown:
    case kEventMouseUp:
    case kEventMouseMove:
    case kEventDoubleClick:
      toUser(static_cast<float>(record.x) + 0.5f, static_cast<float>(a.DeviceMaxY - record.y) + 0.5f, record.gx,
             record.gy);
      if (record.value3 != 1) YYPixelsToUnits(record.x, record.y, record.x, record.y);
      break;
    case kEventExpose: {
      YYPixelsToUserPlain(static_cast<float>(record.x) + 0.5f,
                          static_cast<float>(a.DeviceMaxY - record.y) + 0.5f, record.gx, record.gy);
      YYPixelsToUserPlain(static_cast<float>(record.value1) + 0.5f, static_cast<float>(record.value2) + 0.5f,
                          record.ex, record.ey);
      if (record.value3 != 1) {
        int farX = record.x + record.value1 - 1;
        int farY = record.y + record.value2 - 1;
        YYPixelsToUnits(farX, farY, farX, farY);
        YYPixelsToUnits(record.x, record.y, record.x, record.y);
        record.value1 = farX - record.x;
        record.value2 = farY - record.y;
      }
      break;
    }
    case kEventResize:
      if (kind == kTargetWindow && record.win == windowTable.currentIndex) {
        windowTable.clientWidth = record.value1;
        windowTable.clientHeight = record.value2;
        keepClientSize = true;
      }
      if (kind == kTargetWindow && record.win == savedAttributes.TargetId &&
          savedAttributes.TargetKind == kTargetWindow) {
        if (switched) restore();
        restoreDialog();
        YYGraphicsAreaResize(kTargetWindow, record.win, record.value1, record.value2);
        return;
      }
      break;
    default:
      break;
  }
  restoreDialog();
  if (switched) {
    restore();
    if (!keepClientSize) {
      windowTable.clientWidth = savedWidth;
      windowTable.clientHeight = savedHeight;
    }
  }
}

int YYKeyTranslate(int virtualKey, int modifier) {
  const int shift = modifier == 20 ? 1 : 0;
  const int ctrl = modifier == 40 ? 1 : 0;
  switch (virtualKey) {
    case VK_TAB:
      return shift ? 274 : virtualKey;
    case VK_CLEAR:
    case VK_NUMPAD5:
      return 285;
    case VK_PRIOR:
      return 262;
    case VK_NEXT:
      return 263;
    case VK_END:
    case VK_SELECT:
      return 271;
    case VK_HOME:
      return 270;
    case VK_SNAPSHOT:
      return 300;
    case VK_INSERT:
      return 272;
    case VK_DELETE:
      return 273;
    case VK_MULTIPLY:
      return 294;
    case VK_ADD:
    case VK_SEPARATOR:
      return 292;
    case VK_SUBTRACT:
      return 290;
    case VK_DECIMAL:
      return 291;
    case VK_DIVIDE:
      return 293;
    default:
      break;
  }
  // Up, Down, Right, Left: 258-261, with Shift 262-265, with Ctrl 266-269.
  constexpr int kCursorKeys[] = {VK_UP, VK_DOWN, VK_RIGHT, VK_LEFT};
  for (int i = 0; i < 4; ++i) {
    if (virtualKey == kCursorKeys[i]) return 258 + i + (ctrl ? 8 : shift ? 4 : 0);
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) return 280 + (virtualKey - VK_NUMPAD0);
  if (virtualKey >= VK_F1 && virtualKey <= VK_F20) return 301 + (virtualKey - VK_F1) + (ctrl ? 40 : shift ? 20 : 0);
  return virtualKey;
}

int YYMouseKeyState(WPARAM wParam) {
  int bits = 0;
  if (wParam & MK_CONTROL) bits |= 1;
  if (wParam & MK_SHIFT) bits |= 2;
  if (wParam & MK_LBUTTON) bits |= 4;
  if (wParam & MK_MBUTTON) bits |= 8;
  if (wParam & MK_RBUTTON) bits |= 16;
  return bits;
}

void YYTargetClientSize(int kind, int id, int& width, int& height) {
  width = 0;
  height = 0;
  if (kind == kTargetWindow && isValidSlot(id)) clientSizeOf(slotOf(id).client, width, height);
  if (kind == kTargetField) clientSizeOf(id == 0 ? currentDialogWindow() : currentDialogItem(id), width, height);
}

void YYEventEnableSet(int type, int flag) {
  if (type >= 1 && type <= kEventTypes) eventEnableTable[static_cast<std::size_t>(type - 1)] = flag;
}

void YYEventEnableQuery(int type, int& flag) {
  flag = type >= 1 && type <= kEventTypes ? eventEnableTable[static_cast<std::size_t>(type - 1)] : 0;
}

void YYTimerSet(int interval, int timerId, int target) {
  const WindowSlot& root = slotOf(0);
  if (interval > 0) {
    HWND window = target == 1 ? root.client : root.frame;
    if (window != nullptr) SetTimer(window, static_cast<UINT_PTR>(timerId), static_cast<UINT>(interval), nullptr);
    return;
  }
  if (root.client != nullptr) KillTimer(root.client, static_cast<UINT_PTR>(timerId));
  if (root.frame != nullptr) KillTimer(root.frame, static_cast<UINT_PTR>(timerId));
}

void YYTimedWait(int hundredths) {
  HWND client = slotOf(0).client;
  if (client == nullptr || hundredths <= 0) return;
  if (SetTimer(client, kTimedWaitTimer, static_cast<UINT>(hundredths) * 10u, nullptr) == 0) return;
  eventState.timedWait = true;
  while (eventState.timedWait) {
    MSG msg{};
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      // A quit request ends the wait early rather than spinning on it.
      KillTimer(client, kTimedWaitTimer);
      eventState.timedWait = false;
      break;
    }
    TranslateMessage(&msg);
    YYDispatchMessage(msg);
  }
}

HWND YYStatusBarOf(int slot) {
  for (int guard = 0; guard < kWindowSlots && isValidSlot(slot); ++guard) {
    const WindowSlot& s = slotOf(slot);
    if (s.statusBar != nullptr) return s.statusBar;
    if (s.frame == nullptr || !(GetWindowLongA(s.frame, GWL_STYLE) & WS_CHILD)) return nullptr;
    HWND parent = GetParent(s.frame);
    slot = parent != nullptr ? YYWindowSlotOf(parent) : -1;
  }
  return nullptr;
}

void YYEventsClear() {
  for (WindowSlot& s : windowTable.slots) s.parked = ParkedEvent{};
  eventState.held = EventWords{};
}

void YYDispatchMessage(MSG& msg) {
  if (msg.message == kDroppedMessage && LOWORD(msg.wParam) == kDroppedTimer) return;
  DispatchMessageA(&msg);
}
