#pragma once
// Helpers of the spreadsheet library's tests: scratch workbooks, column arrays
// with their bindings, the library's error text, and an answerer for the
// library's "Celox Error" boxes.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "spreadsheet/celox.h"

namespace celox_test {

// A workbook file in the test's working folder, removed when the test ends
// (also when a test made it read-only).
class ScratchFile {
 public:
  explicit ScratchFile(std::string name) : name_(std::move(name)) { remove(); }
  ~ScratchFile() { remove(); }
  const char* c_str() const { return name_.c_str(); }
  const std::string& name() const { return name_; }

 private:
  void remove() {
    SetFileAttributesA(name_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name_.c_str());
  }
  std::string name_;
};

inline std::vector<char> readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}
inline void writeFile(const std::string& name, const std::vector<char>& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
inline bool fileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The library's text of its last error (which fetching clears).
inline std::string lastErrorText() {
  char buffer[kCeloxMessageLength];
  CeloxGetErrorMessages(buffer, sizeof buffer);
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

// Level, display and last error as a fresh caller finds them.
inline void resetLibrary() {
  CeloxSetErrorLevel(0);
  CeloxSetErrorMessagesDisplay(0);
  lastErrorText();
}

inline CeloxColumnBinding binding(const std::string& name, void* data, std::int32_t count, std::int32_t cType,
                                  std::int32_t elementLength) {
  CeloxColumnBinding b{};
  std::memset(b.columnName, ' ', sizeof b.columnName);
  std::memcpy(b.columnName, name.data(), std::min(name.size(), sizeof b.columnName));
  b.data = data;
  b.elementCount = count;
  b.cType = cType;
  b.elementLength = elementLength;
  return b;
}

// A column array of fixed-length text elements.
struct TextColumn {
  TextColumn(std::int32_t rows, std::int32_t length) : length(length), bytes(static_cast<std::size_t>(rows * length), 0) {}
  std::int32_t length;
  std::vector<char> bytes;
  char* at(std::int32_t row) { return bytes.data() + static_cast<std::ptrdiff_t>(row - 1) * length; }
  std::string text(std::int32_t row) { return std::string(at(row), strnlen(at(row), static_cast<std::size_t>(length))); }
  void set(std::int32_t row, const std::string& s) {
    std::memset(at(row), 0, static_cast<std::size_t>(length));
    std::memcpy(at(row), s.data(), std::min<std::size_t>(s.size(), static_cast<std::size_t>(length)));
  }
};

// Answers the library's message boxes with OK and keeps their texts.
class ErrorBoxAnswerer {
 public:
  ErrorBoxAnswerer() : thread_([this] { run(); }) {}
  ~ErrorBoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  void run() {
    while (!stop_) {
      if (HWND box = FindWindowA("#32770", "Celox Error")) {
        char text[4096] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.emplace_back(text);
        }
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(10);
      }
      Sleep(20);
    }
  }
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

}  // namespace celox_test
