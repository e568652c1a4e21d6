#pragma once
// The event loop: window messages become numbered events that the program
// reads one at a time with WEventWait.

#include <windows.h>

#include <array>

// The twelve words that WEventWait fills.
struct EventRecord {
  int win = 0;  // window slot, or the dialog identifier of dialog events
  int value1 = 0;
  int value2 = 0;
  int value3 = 0;  // source: 0 window, 1 dialog graphics field, 2 bitmap view, -1 none
  int value4 = 0;
  int x = 0;
  int y = 0;
  float ex = 0.0f;  // expose area size in user units
  float ey = 0.0f;
  float gx = 0.0f;  // position in user units
  float gy = 0.0f;
  int time = 0;
};
static_assert(sizeof(EventRecord) == 48);

enum EventType : int {
  kEventKey = 1,
  kEventMenu = 2,
  kEventButton = 3,
  kEventMouseDown = 4,
  kEventMouseUp = 5,
  kEventMouseMove = 6,
  kEventExpose = 7,
  kEventResize = 8,
  kEventClose = 9,
  kEventFieldChanged = 10,
  kEventTabChanged = 11,
  kEventFrameClick = 12,
  kEventTimer = 13,
  kEventBitmapView = 15,
  kEventDoubleClick = 16,
};

// The integer words of an event as the toolkit completes it.
struct EventWords {
  int type = 0;
  int win = 0;
  int value1 = 0, value2 = 0, value3 = 0, value4 = 0;
  int x = 0, y = 0;
  int time = 0;
};

enum WaitState : int { kWaiting = 0, kReady = 1 };

struct EventState {
  EventWords current;
  int waitState = kReady;
  bool returned = true;       // the current event has gone to the program
  bool inWait = false;
  bool firstMessage = false;
  bool paintDispatch = false;
  bool timedWait = false;
  EventWords held;            // a field-change event kept back; type 0 none
  int pushedType = 0;         // the pushed-back event; 0 none
  EventRecord pushed;
  // The graphics target of the last converted event.
  int targetKind = 1;
  int targetId = 0;
  int targetDialog = 0;
};
extern EventState eventState;

constexpr int kEventTypes = 16;
extern std::array<int, kEventTypes> eventEnableTable;  // entry i-1 for type i
extern const std::array<int, kEventTypes> kEventEnableDefaults;
constexpr UINT_PTR kTimedWaitTimer = 999;

// What dialog events copy from a dialog's record.  The dialog manager answers
// for its dialog windows through dialogEventLookup; without it dialog events
// make no event.
struct DialogEventSource {
  int identifier = 0;
  int previousFocus = 0;  // the field focused before a button was pressed
  int previousField = 0;  // field changes: the previous and the current field
  int currentField = 0;
  int* lastNotification = nullptr;
  int pageBefore = 0;  // tab changes
  int pageNow = 0;
  int mouseButton = 0;  // graphics-field mouse events
  int graphicsField = 0;
};
using DialogEventLookup = bool (*)(HWND dialog, DialogEventSource& source);
extern DialogEventLookup dialogEventLookup;

// Blocks until the next event; returns its type.
int WEventWait(EventRecord& record);
void YYEventWaitLoop(EventWords& event);
// The non-blocking twin: type -1 when no message is waiting.
void YYEventPollLoop(EventWords& event);
// Completes the current event from a message.  `sub` is the button (4, 5, 12,
// 16) or, for keys, 1 for a virtual key (+4096 Shift, +8192 Ctrl), 0 for a character.
void YYEventPost(int type, int sub, WPARAM wParam, LPARAM lParam, HWND window);
// Parks the current event for its window when it was produced outside a wait.
void YYEventPark(UINT message, HWND window);
void YYEventToUserUnits(int type, EventRecord& record);
int YYKeyTranslate(int virtualKey, int modifier);
int YYMouseKeyState(WPARAM wParam);
void YYTargetClientSize(int kind, int id, int& width, int& height);
void YYEventEnableSet(int type, int flag);
void YYEventEnableQuery(int type, int& flag);
void YYTimerSet(int interval, int timerId, int target);
void YYTimedWait(int hundredths);
// The status bar of the slot, else of its nearest containing window with one.
HWND YYStatusBarOf(int slot);
// Empties every parked event and the held event.
void YYEventsClear();
// Dispatches a message as the toolkit's loop does: the system timer message
// that must not be dispatched is dropped.
void YYDispatchMessage(MSG& msg);
