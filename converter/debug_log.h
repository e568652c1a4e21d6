#pragma once
// The converter's debug log: the text file "debug.txt" beside the program,
// written only in debug mode.  Each write is one line that begins with a blank:
// texts as they are, numbers in free form after a blank.

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// One item of a debug-log line.
class DebugItem {
 public:
  DebugItem(std::string_view text) : text_(text) {}
  DebugItem(const char* text) : text_(text) {}
  DebugItem(const std::string& text) : text_(text) {}
  template <std::size_t N>
  DebugItem(const FixedText<N>& text) : text_(text.view()) {}
  DebugItem(int value);
  DebugItem(long value) : DebugItem(static_cast<int>(value)) {}
  DebugItem(float value);
  DebugItem(double value);

  const std::string& text() const { return text_; }
  bool isNumber() const { return number_; }

 private:
  std::string text_;
  bool number_ = false;
};

class DebugLogFile {
 public:
  DebugLogFile() = default;
  ~DebugLogFile() { close(); }
  DebugLogFile(const DebugLogFile&) = delete;
  DebugLogFile& operator=(const DebugLogFile&) = delete;

  // Creates the file, or writes an existing one from its start.  False when it
  // cannot be opened, as when another instance of the program holds it.
  bool open(std::string_view path);
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // One line: a blank, the text, CR LF.
  void writeLine(std::string_view text);
  void close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
extern DebugLogFile DEBUG_LOG;

// Writes one line of items to DEBUG_LOG while DEBUG_FLAG is on.
void DEBUG_WRITE(std::initializer_list<DebugItem> items);

// The lines that name a routine.
enum class DebugMark {
  kSubroutine,           // "Subroutine NAME", on entry
  kExitSubroutine,       // "Exit Subroutine NAME"
  kExitFromSubroutine,   // "Exit from Subroutine NAME"
  kFunction,             // "Function NAME"
  kExitFromFunction,     // "Exit from Function NAME"
  kErrorExitSubroutine,  // "Error Exit from Subroutine NAME", after a failure
};
void DEBUG_MARK(DebugMark mark, std::string_view routine);
