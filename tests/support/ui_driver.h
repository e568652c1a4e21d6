#pragma once
// Driving real windows from a test, under Xvfb.
//
//   ui::UiDriver driver;                        // hooks this thread (WH_CBT)
//   driver.answerNext(ui::UiDriver::press(IDOK));   // scripts, in order
//   WMessageBox(...);                            // the box runs its own modal loop;
//                                               // the script answers it from there
//   EXPECT_EQ(driver.seen()[0].title, "Library Error");
//
// Every dialog or message box ("#32770") that the thread activates gets a
// timer inside its own modal loop; when it fires the box's title and texts are
// recorded and the next queued script runs with the box's handle.  A box that
// finds no script is recorded as unanswered and cancelled, so no test hangs in
// it.  Menus (the menu bar and popups) run their own loop too: answerNextMenu
// queues a script (usually keys: pressKey(VK_DOWN), pressKey(VK_RETURN)) that
// runs when the next menu loop waits for input; a menu bar can also be opened
// by keys sent beforehand (pressKey('F', kAlt)).
//
// Keys and the mouse go through SendInput to the foreground window
// (bringToForeground first): pressKey with kShift / kCtrl / kAlt, typeText,
// moveMouse / mouseButton / clickAt in client pixels of a window.
// pumpMessages dispatches what is queued for a while.  A test program that
// sends input must have the screen to itself: give its CTest test RUN_SERIAL
// (or a screen of its own), or another program's window may take the keys.
//
// A Watchdog ends the test program with a message when a test hangs (for
// example in WEventWait); waitEvent gives WEventWait a deadline on a window
// of the toolkit: it returns kTimedOut instead of blocking for ever.

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct EventRecord;

namespace ui {

struct SeenDialog {
  std::string title;
  std::vector<std::string> texts;  // static texts, then the texts of buttons
  bool answered = false;           // false: no script was queued; it was cancelled
};

using DialogScript = std::function<void(HWND dialog)>;

class UiDriver {
 public:
  explicit UiDriver(UINT delayMs = 50);
  ~UiDriver();
  UiDriver(const UiDriver&) = delete;
  UiDriver& operator=(const UiDriver&) = delete;

  void answerNext(DialogScript script);
  void answerNextMenu(std::function<void()> script);
  const std::vector<SeenDialog>& seen() const { return seen_; }
  std::size_t pending() const { return scripts_.size() + menuScripts_.size(); }
  int menusOpened() const { return menusOpened_; }

  // Scripts for the common answers.
  static DialogScript press(int controlId);
  static DialogScript typeThenPress(int fieldId, std::string text, int controlId);

 private:
  static LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK callHook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
  void answer(HWND dialog);

  HHOOK hook_ = nullptr;
  HHOOK callHook_ = nullptr;
  std::deque<std::function<void()>> menuScripts_;
  UINT delayMs_;
  std::deque<DialogScript> scripts_;
  std::vector<SeenDialog> seen_;
  std::set<HWND> armed_;
  int menusOpened_ = 0;
};

// A window's class name and its text.
std::string classOf(HWND window);
std::string textOf(HWND window);

// The texts a dialog shows: its static controls, then its buttons.
SeenDialog readDialog(HWND dialog);

enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };
void bringToForeground(HWND window);
void pressKey(WORD virtualKey, unsigned modifiers = 0);
void typeText(std::string_view text);
void moveMouse(HWND window, int x, int y);
// Button 1 left, 2 middle, 3 right.
void mouseButton(int button, bool down);
void clickAt(HWND window, int x, int y, int button = 1);
// Dispatches the queued messages for the given time.
void pumpMessages(DWORD ms);

constexpr int kTimedOut = -100;
// WEventWait with a deadline: arms a timer on the root client window; returns
// the event type, or kTimedOut when nothing came in time.
int waitEvent(EventRecord& record, DWORD timeoutMs = 5000);
// Waits for an event of the given type, skipping others; kTimedOut if none came.
int waitEventOfType(int type, EventRecord& record, DWORD timeoutMs = 5000);

// Ends the test program, with a message on standard error, when it is not
// destroyed within the time: a hung test fails quickly and says so.
class Watchdog {
 public:
  Watchdog(DWORD timeoutMs, std::string what);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static DWORD WINAPI run(void* self);
  HANDLE done_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD timeoutMs_;
  std::string what_;
};

}  // namespace ui
