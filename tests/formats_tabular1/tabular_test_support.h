#pragma once
// Helpers of the tabular format tests: a watcher that answers the program's
// message boxes from a second thread and keeps what they said, a fixture that
// puts the converter's records into a known state, and small file helpers.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "converter/osgbsubs.h"

namespace tabular_test {

struct Box {
  std::string title;
  std::string text;  // lines split by CR
};

// Takes every message box that the test's thread shows, keeps its title and text
// and closes it while it initialises, before it is ever shown: the boxes of these
// readers offer only OK, and a box that never reaches the screen costs no time.
class BoxWatcher {
 public:
  BoxWatcher() {
    current() = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, onMessage, nullptr, GetCurrentThreadId());
  }
  ~BoxWatcher() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    current() = nullptr;
  }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;

  const std::vector<Box>& boxes() const { return boxes_; }
  std::vector<std::string> titles() const {
    std::vector<std::string> all;
    for (const Box& b : boxes_) all.push_back(b.title);
    return all;
  }
  void clear() { boxes_.clear(); }
  // The boxes shown, for a failure's message.
  std::string describe() const {
    std::string all;
    for (const Box& b : boxes_) all += "[" + b.title + ": " + b.text + "] ";
    return all;
  }

 private:
  static BoxWatcher*& current() {
    static BoxWatcher* watcher = nullptr;
    return watcher;
  }
  static BOOL CALLBACK collectText(HWND child, LPARAM out) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
      char text[4096] = {};
      GetWindowTextA(child, text, sizeof text);
      *reinterpret_cast<std::string*>(out) += text;
    }
    return TRUE;
  }
  static LRESULT CALLBACK onMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    BoxWatcher* watcher = current();
    if (code == HC_ACTION && watcher != nullptr && message->message == WM_INITDIALOG) {
      char cls[32] = {};
      GetClassNameA(message->hwnd, cls, sizeof cls);
      if (lstrcmpA(cls, "#32770") == 0) {
        Box box;
        char title[256] = {};
        GetWindowTextA(message->hwnd, title, sizeof title);
        box.title = title;
        EnumChildWindows(message->hwnd, collectText, reinterpret_cast<LPARAM>(&box.text));
        watcher->boxes_.push_back(box);
        DestroyWindow(message->hwnd);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_ = nullptr;
  std::vector<Box> boxes_;
};

inline void writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
inline std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline bool fileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The test's working folder, with its last backslash.
inline std::string workingFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string folder(buffer);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

// The converter's records as File > Open leaves them before a reader runs.
class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SETUP();
    POINT_LIST.NPOINTS = 0;
    POINT_LIST.NREAD = 0;
    POINT_LIST.NROUTES = 0;
    POINT_LIST.NTRACKPOINTS = 0;
    POINT_LIST.TRACK_POSITION = 0;
    POINT_LIST.CURRENT_ROUTE.blank();
    CONVERTER_SETTINGS.DATA_TYPE = "Points";
    CONVERTER_SETTINGS.TRACK_FILTER = 1;
    CONVERTER_SETTINGS.OSGB_OUTPUT = kLogicalFalse;
    FILE_DATE = "17/10/2007";
    FILE_TIME = "12:34:56";
    FILE_NAMES.INPUT_FILE.blank();
    FILE_NAMES.OUTPUT_FILE.blank();
    STOP_FLAG = kLogicalFalse;
    DEBUG_FLAG = kLogicalFalse;
    LOG_DISPLAY.LOG_COUNT = 0;
    boxes.clear();
  }

  static POINT_RECORD& point(int i) { return POINT_LIST.POINT(i); }
  static std::vector<std::string> logLines() {
    std::vector<std::string> lines;
    for (int k = 0; k < LOG_DISPLAY.LOG_COUNT; ++k) lines.push_back(LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k)].str());
    return lines;
  }
  static std::string lastLogLine() {
    return LOG_DISPLAY.LOG_COUNT > 0 ? LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(LOG_DISPLAY.LOG_COUNT - 1)].str()
                                     : std::string();
  }
  // Fills the list with n placeholder points, as an earlier file would have.
  static void preload(int n) {
    for (int i = 1; i <= n; ++i) POINT_LIST.POINT(i) = POINT_RECORD{};
    POINT_LIST.NPOINTS = n;
  }

  BoxWatcher boxes;
};

// The "Data Error" box's text for a message, a record and a last line.
inline std::string dataErrorText(const std::string& message, const std::string& record, const std::string& last) {
  return message + "\r\rIn record: " + record + "\r" + last;
}

}  // namespace tabular_test
