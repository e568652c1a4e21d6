#pragma once
// Answers the message boxes that the code under test shows in this process: a
// thread finds each new box, records its title and text and presses its default
// button, so that a reader's error box does not stop the test.

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace xml_tests {

struct SeenBox {
  std::string title;
  std::string text;  // lines split by CR as the box got them
};

class BoxWatcher {
 public:
  BoxWatcher() : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_([this] { run(); }) {}
  ~BoxWatcher() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
  }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;

  std::vector<SeenBox> boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
  }

 private:
  struct Search {
    DWORD process;
    HWND found = nullptr;
  };

  static BOOL CALLBACK findBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }

  static BOOL CALLBACK collectStatic(HWND child, LPARAM out) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
      std::string text(4096, '\0');
      const int n = GetWindowTextA(child, text.data(), static_cast<int>(text.size()));
      text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
      *reinterpret_cast<std::string*>(out) += text;
    }
    return TRUE;
  }

  void run() {
    HWND answered = nullptr;
    // Looks every 20 ms until it is told to stop.
    while (WaitForSingleObject(stop_, 20) == WAIT_TIMEOUT) {
      Search search{GetCurrentProcessId()};
      EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr && search.found != answered) {
        SeenBox box;
        char title[256] = {};
        GetWindowTextA(search.found, title, sizeof title);
        box.title = title;
        EnumChildWindows(search.found, collectStatic, reinterpret_cast<LPARAM>(&box.text));
        {
          std::lock_guard<std::mutex> lock(mutex_);
          boxes_.push_back(box);
        }
        answered = search.found;
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
      }
    }
  }

  mutable std::mutex mutex_;
  std::vector<SeenBox> boxes_;
  HANDLE stop_;
  std::thread thread_;
};

}  // namespace xml_tests
