#include "formats/tabular/record_files.h"

#include <algorithm>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "toolkit/dialogs/message_box.h"

namespace {
constexpr std::size_t kChunk = 65536;
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;
}  // namespace

bool TextInputFile::open(std::string_view path) {
  close();
  const std::string name = windowsText(path);
  handle_ = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  position_ = end_ = 0;
  atEnd_ = false;
  return isOpen();
}

void TextInputFile::close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  atEnd_ = true;
}

bool TextInputFile::fill() {
  if (atEnd_ || !isOpen()) return false;
  buffer_.resize(kChunk);
  DWORD got = 0;
  if (!ReadFile(handle_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr) || got == 0) {
    atEnd_ = true;
    return false;
  }
  position_ = 0;
  end_ = got;
  return true;
}

bool TextInputFile::readLine(TextField record, int& length) {
  const std::size_t room = static_cast<std::size_t>(record.length());
  // One character more than the record holds, so that the CR of a CR LF end
  // can still be told from the line's own text.
  std::string line;
  bool any = false;
  bool endedByCr = false;
  for (;;) {
    if (position_ == end_ && !fill()) break;
    const char c = buffer_[position_++];
    any = true;
    if (c == '\n') break;
    endedByCr = c == '\r';
    if (line.size() <= room) line.push_back(c);
  }
  if (!any) {
    record.blank();
    length = 0;
    return false;
  }
  if (endedByCr && !line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > room) line.resize(room);
  record.assign(line);
  length = static_cast<int>(line.size());
  return true;
}

bool TextOutputFile::create(std::string_view path) {
  file_.abandon();
  failed_ = false;
  pending_.clear();
  return file_.begin(path);
}

void TextOutputFile::writeLine(std::string_view line) {
  if (!file_.active()) return;
  pending_.append(line).append("\r\n");
  if (pending_.size() >= kChunk) flush();
}

bool TextOutputFile::flush() {
  if (!file_.write(pending_)) failed_ = true;
  pending_.clear();
  return !failed_;
}

bool TextOutputFile::close() {
  if (!file_.active()) return false;
  flush();
  if (!file_.commit()) failed_ = true;
  return !failed_;
}

void FILE_ERROR_BOX(std::string_view text, std::string_view path) {
  const std::string box = std::string(text::trimmed(text)) + "\r" + std::string(text::trimmed(path));
  WMessageBox(kOkOnly, kExclamationIcon, 1, box, "File Error");
}

void SCROLL_COUNT(std::string_view line) {
  std::string_view s = text::trimmed(line);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  SCROLL(s);
}
