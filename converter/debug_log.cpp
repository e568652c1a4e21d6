#include "converter/debug_log.h"

#include <array>

#include "converter/converter_data.h"
#include "toolkit/core/number_format.h"

DebugLogFile DEBUG_LOG;

namespace {
// A real in free form: its significant digits without the padding of the field.
std::string freeForm(double value, int significant) {
  const std::string written = formatG(value, significant + 8, significant);
  const std::size_t first = written.find_first_not_of(' ');
  const std::size_t last = written.find_last_not_of(' ');
  return first == std::string::npos ? std::string("0") : written.substr(first, last - first + 1);
}
}  // namespace

DebugItem::DebugItem(int value) : text_(std::to_string(value)), number_(true) {}
DebugItem::DebugItem(float value) : text_(freeForm(value, 7)), number_(true) {}
DebugItem::DebugItem(double value) : text_(freeForm(value, 15)), number_(true) {}

bool DebugLogFile::open(std::string_view path) {
  close();
  const std::string name(text::trimmed(path));
  // Others may read the log while the program runs, but only one instance writes it.
  handle_ = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return isOpen();
}

void DebugLogFile::writeLine(std::string_view text) {
  if (!isOpen()) return;
  std::string line(1, ' ');
  line.append(text).append("\r\n");
  DWORD written = 0;
  WriteFile(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void DebugLogFile::close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void DEBUG_WRITE(std::initializer_list<DebugItem> items) {
  if (!isTrue(DEBUG_FLAG)) return;
  std::string line;
  for (const DebugItem& item : items) {
    if (item.isNumber() && !line.empty()) line += ' ';
    line += item.text();
  }
  DEBUG_LOG.writeLine(line);
}

void DEBUG_MARK(DebugMark mark, std::string_view routine) {
  static constexpr std::array<std::string_view, 6> kForms{
      "Subroutine ",       "Exit Subroutine ",   "Exit from Subroutine ",
      "Function ",         "Exit from Function ", "Error Exit from Subroutine "};
  DEBUG_WRITE({kForms[static_cast<std::size_t>(mark)], routine});
}
