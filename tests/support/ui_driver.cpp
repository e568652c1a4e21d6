#include "support/ui_driver.h"

#include <cstdio>

#include "toolkit/core/events.h"
#include "toolkit/core/window_table.h"

namespace ui {

std::string classOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string textOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

namespace {

UiDriver* activeDriver = nullptr;
constexpr UINT_PTR kAnswerTimer = 0x5A17;
constexpr UINT_PTR kDeadlineTimer = 0x5A18;

BOOL CALLBACK collectStatic(HWND child, LPARAM out) {
  if (lstrcmpiA(classOf(child).c_str(), "Static") == 0) {
    const std::string text = textOf(child);
    if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(out)->push_back(text);
  }
  return TRUE;
}

BOOL CALLBACK collectButton(HWND child, LPARAM out) {
  if (lstrcmpiA(classOf(child).c_str(), "Button") == 0) {
    const std::string text = textOf(child);
    if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(out)->push_back(text);
  }
  return TRUE;
}

void send(std::vector<INPUT>& inputs) {
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  const bool extended = vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR ||
                        vk == VK_NEXT || vk == VK_END || vk == VK_HOME || vk == VK_INSERT || vk == VK_DELETE ||
                        vk == VK_DIVIDE;
  if (extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return in;
}

}  // namespace

SeenDialog readDialog(HWND dialog) {
  SeenDialog seen;
  seen.title = textOf(dialog);
  EnumChildWindows(dialog, collectStatic, reinterpret_cast<LPARAM>(&seen.texts));
  EnumChildWindows(dialog, collectButton, reinterpret_cast<LPARAM>(&seen.texts));
  return seen;
}

UiDriver::UiDriver(UINT delayMs) : delayMs_(delayMs) {
  activeDriver = this;
  hook_ = SetWindowsHookExA(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
  callHook_ = SetWindowsHookExA(WH_CALLWNDPROC, callHook, nullptr, GetCurrentThreadId());
}

UiDriver::~UiDriver() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (callHook_ != nullptr) UnhookWindowsHookEx(callHook_);
  if (activeDriver == this) activeDriver = nullptr;
}

void UiDriver::answerNext(DialogScript script) { scripts_.push_back(std::move(script)); }

void UiDriver::answerNextMenu(std::function<void()> script) { menuScripts_.push_back(std::move(script)); }

// A menu loop that has no input tells its owner it is idle: the moment to
// give it the keys of the next menu script.
LRESULT CALLBACK UiDriver::callHook(int code, WPARAM wParam, LPARAM lParam) {
  UiDriver* self = activeDriver;
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (self != nullptr && code >= 0 && sent != nullptr && sent->message == WM_ENTERIDLE &&
      sent->wParam == MSGF_MENU && !self->menuScripts_.empty()) {
    std::function<void()> script = std::move(self->menuScripts_.front());
    self->menuScripts_.pop_front();
    script();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DialogScript UiDriver::press(int controlId) {
  return [controlId](HWND dialog) {
    HWND button = GetDlgItem(dialog, controlId);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };
}

DialogScript UiDriver::typeThenPress(int fieldId, std::string text, int controlId) {
  return [fieldId, text, controlId](HWND dialog) {
    SetDlgItemTextA(dialog, fieldId, text.c_str());
    press(controlId)(dialog);
  };
}

LRESULT CALLBACK UiDriver::cbtHook(int code, WPARAM wParam, LPARAM lParam) {
  UiDriver* self = activeDriver;
  if (self != nullptr && code >= 0) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // Wine may report another program's box becoming active: only this thread's are driven.
    const bool ours = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    if (code == HCBT_ACTIVATE && ours && classOf(window) == "#32770" && self->armed_.insert(window).second) {
      SetTimer(window, kAnswerTimer, self->delayMs_, onTimer);
    } else if (code == HCBT_CREATEWND && classOf(window) == "#32768") {
      ++self->menusOpened_;
    } else if (code == HCBT_DESTROYWND) {
      self->armed_.erase(window);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK UiDriver::onTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (activeDriver != nullptr) activeDriver->answer(window);
}

void UiDriver::answer(HWND dialog) {
  SeenDialog seen = readDialog(dialog);
  seen.answered = !scripts_.empty();
  seen_.push_back(seen);
  if (scripts_.empty()) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  DialogScript script = std::move(scripts_.front());
  scripts_.pop_front();
  script(dialog);
}

void bringToForeground(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(top);
  SetActiveWindow(top);
  SetFocus(window);
  pumpMessages(30);
}

void pressKey(WORD virtualKey, unsigned modifiers) {
  std::vector<INPUT> inputs;
  if (modifiers & kCtrl) inputs.push_back(key(VK_CONTROL, false));
  if (modifiers & kShift) inputs.push_back(key(VK_SHIFT, false));
  if (modifiers & kAlt) inputs.push_back(key(VK_MENU, false));
  inputs.push_back(key(virtualKey, false));
  inputs.push_back(key(virtualKey, true));
  if (modifiers & kAlt) inputs.push_back(key(VK_MENU, true));
  if (modifiers & kShift) inputs.push_back(key(VK_SHIFT, true));
  if (modifiers & kCtrl) inputs.push_back(key(VK_CONTROL, true));
  send(inputs);
}

void typeText(std::string_view text) {
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    if (scan == -1) continue;
    unsigned modifiers = 0;
    if (scan & 0x100) modifiers |= kShift;
    if (scan & 0x200) modifiers |= kCtrl;
    pressKey(static_cast<WORD>(scan & 0xFF), modifiers);
  }
}

void moveMouse(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((p.x * 65535LL + width / 2) / (width - 1));
  in.mi.dy = static_cast<LONG>((p.y * 65535LL + height / 2) / (height - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void mouseButton(int button, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  switch (button) {
    case 2:
      in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      break;
    case 3:
      in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      break;
    default:
      in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      break;
  }
  SendInput(1, &in, sizeof in);
}

void clickAt(HWND window, int x, int y, int button) {
  moveMouse(window, x, y);
  mouseButton(button, true);
  mouseButton(button, false);
}

void pumpMessages(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

int waitEvent(EventRecord& record, DWORD timeoutMs) {
  HWND client = windowTable.slots[0].client;
  if (client != nullptr) SetTimer(client, kDeadlineTimer, timeoutMs, nullptr);
  const int type = WEventWait(record);
  if (client != nullptr) KillTimer(client, kDeadlineTimer);
  if (type == kEventTimer && record.value1 == static_cast<int>(kDeadlineTimer)) return kTimedOut;
  return type;
}

int waitEventOfType(int type, EventRecord& record, DWORD timeoutMs) {
  const DWORD end = GetTickCount() + timeoutMs;
  for (;;) {
    const LONG left = static_cast<LONG>(end - GetTickCount());
    if (left <= 0) return kTimedOut;
    const int got = waitEvent(record, static_cast<DWORD>(left));
    if (got == type || got == kTimedOut) return got;
  }
}

Watchdog::Watchdog(DWORD timeoutMs, std::string what) : timeoutMs_(timeoutMs), what_(std::move(what)) {
  done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

Watchdog::~Watchdog() {
  SetEvent(done_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(done_);
}

DWORD WINAPI Watchdog::run(void* self) {
  auto* w = static_cast<Watchdog*>(self);
  if (WaitForSingleObject(w->done_, w->timeoutMs_) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "Watchdog: %s did not finish within %lu ms; ending the test program.\n", w->what_.c_str(),
                 static_cast<unsigned long>(w->timeoutMs_));
    std::fflush(stderr);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  return 0;
}

}  // namespace ui
