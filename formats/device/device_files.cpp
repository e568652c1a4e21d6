#include "formats/device/device_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "converter/converter_data.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace device {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

bool isBlankOrEnd(char c) { return c == ' ' || c == ',' || c == '/' || c == '\t'; }

// The first free-form value of the text: blanks skipped, up to a separator.
std::string_view firstValue(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::size_t end = start;
  while (end < text.size() && !isBlankOrEnd(text[end])) ++end;
  return text.substr(start, end - start);
}
}  // namespace

bool InputFile::open(std::string_view path) {
  close();
  const std::string name = windowsText(path);
  handle_ = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  buffer_.resize(kBufferSize);
  position_ = filled_ = 0;
  ended_ = false;
  return true;
}

void InputFile::close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  position_ = filled_ = 0;
}

bool InputFile::fill() {
  if (ended_ || handle_ == INVALID_HANDLE_VALUE) return false;
  DWORD got = 0;
  if (!ReadFile(handle_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr) || got == 0) {
    // A read that fails counts as the end of the file: nothing further is read.
    ended_ = true;
    return false;
  }
  position_ = 0;
  filled_ = got;
  return true;
}

bool InputFile::readByte(unsigned char& byte) {
  if (position_ == filled_ && !fill()) return false;
  byte = buffer_[position_++];
  return true;
}

bool InputFile::readBytes(void* destination, std::size_t n) {
  auto* out = static_cast<unsigned char*>(destination);
  while (n > 0) {
    if (position_ == filled_ && !fill()) return false;
    const std::size_t take = std::min(n, filled_ - position_);
    std::memcpy(out, buffer_.data() + position_, take);
    out += take;
    position_ += take;
    n -= take;
  }
  return true;
}

bool InputFile::skip(std::uint64_t n) {
  while (n > 0) {
    if (position_ == filled_ && !fill()) return false;
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(n, filled_ - position_));
    position_ += take;
    n -= take;
  }
  return true;
}

bool InputFile::readInt32(std::int32_t& value) {
  unsigned char b[4];
  if (!readBytes(b, sizeof b)) return false;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                    (static_cast<std::uint32_t>(b[2]) << 16) |
                                    (static_cast<std::uint32_t>(b[3]) << 24));
  return true;
}

bool InputFile::readInt16(std::int16_t& value) {
  unsigned char b[2];
  if (!readBytes(b, sizeof b)) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
  return true;
}

bool InputFile::readDouble(double& value) {
  unsigned char b[8];
  if (!readBytes(b, sizeof b)) return false;
  std::memcpy(&value, b, sizeof value);  // the machine is little-endian, as the files are
  return true;
}

bool InputFile::readLine(TextField line, int& length) {
  length = 0;
  line.blank();
  bool any = false;
  for (;;) {
    if (position_ == filled_ && !fill()) break;
    any = true;
    const unsigned char* start = buffer_.data() + position_;
    const auto* feed = static_cast<const unsigned char*>(std::memchr(start, '\n', filled_ - position_));
    const std::size_t count = feed ? static_cast<std::size_t>(feed - start) : filled_ - position_;
    const std::size_t room = static_cast<std::size_t>(line.length() - length);
    const std::size_t keep = std::min(count, room);
    std::memcpy(line.data() + length, start, keep);
    length += static_cast<int>(keep);
    position_ += count;
    if (feed) {
      ++position_;
      break;
    }
  }
  if (!any) return false;
  // The carriage return of a CR LF line end is no part of the line.
  if (length > 0 && line.column(length) == '\r') {
    line.column(length) = ' ';
    --length;
  }
  return true;
}

bool OutputFile::create(std::string_view path) {
  file_.abandon();
  failed_ = false;
  buffer_.clear();
  return file_.begin(path);
}

void OutputFile::write(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) flush();
}

void OutputFile::writeByte(unsigned char byte) { write(std::string_view(reinterpret_cast<const char*>(&byte), 1)); }

void OutputFile::writeInt32(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  const char b[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                     static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
  write(std::string_view(b, sizeof b));
}

void OutputFile::writeInt16(std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  const char b[2] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF)};
  write(std::string_view(b, sizeof b));
}

void OutputFile::writeDouble(double value) {
  char b[8];
  std::memcpy(b, &value, sizeof b);
  write(std::string_view(b, sizeof b));
}

void OutputFile::writeLine(std::string_view text) {
  write(text);
  write("\r\n");
}

bool OutputFile::flush() {
  if (!file_.active()) {
    buffer_.clear();
    return false;
  }
  if (!file_.write(buffer_)) failed_ = true;
  buffer_.clear();
  return !failed_;
}

bool OutputFile::close() {
  if (!file_.active()) return false;
  flush();
  if (!file_.commit()) failed_ = true;
  return !failed_;
}

bool fileExists(std::string_view path) {
  const std::string name = windowsText(path);
  if (name.empty()) return false;
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool openInput(InputFile& in) {
  if (in.open(FILE_NAMES.INPUT_FILE.view())) return true;
  WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot open file:\r" + FILE_NAMES.INPUT_FILE.str(), "File error");
  return false;
}

namespace {
void outputFileError() {
  WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot write file:\r" + FILE_NAMES.OUTPUT_FILE.str(), "File error");
}
}  // namespace

bool createOutput(OutputFile& out) {
  if (out.create(FILE_NAMES.OUTPUT_FILE.view())) return true;
  outputFileError();
  return false;
}

bool closeOutput(OutputFile& out) {
  if (out.close()) return true;
  outputFileError();
  return false;
}

void setReadDefaults(POINT_RECORD& point, std::string_view symbolName, std::string_view routeName) {
  point.DATE = FILE_DATE.view();
  point.TIME = FILE_TIME.view();
  point.ALTITUDE = kNoValue;
  point.PROXIMITY = 0.0f;
  point.SYMBOL = kNoSymbol;
  point.SYMBOL_NAME = symbolName;
  point.ROUTE_NAME = routeName;
  point.COLOUR.blank();
}

bool readReal(std::string_view text, double& value) {
  const std::string_view token = firstValue(text);
  if (token.empty()) return false;
  std::string work(token);
  // The exponent letter D of double precision input reads like E.
  for (char& c : work) {
    if (c == 'd' || c == 'D') c = 'E';
  }
  std::size_t start = 0;
  if (work[0] == '+') start = 1;
  if (start == work.size()) return false;
  double parsed = 0.0;
  const char* first = work.data() + start;
  const char* last = work.data() + work.size();
  const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
  if (ec != std::errc() || end != last) return false;
  // A second sign after the first ("+-5") and texts such as "inf" are no numbers.
  if (start == 1 && (work[1] == '-' || work[1] == '+')) return false;
  for (char c : work) {
    if ((c < '0' || c > '9') && c != '.' && c != '-' && c != '+' && c != 'E' && c != 'e') return false;
  }
  value = parsed;
  return true;
}

bool readReal(std::string_view text, float& value) {
  double parsed = 0.0;
  if (!readReal(text, parsed)) return false;
  value = static_cast<float>(parsed);
  return true;
}

bool readInteger(std::string_view text, std::int32_t& value) {
  const std::string_view token = firstValue(text);
  if (token.empty()) return false;
  std::size_t start = token[0] == '+' ? 1 : 0;
  if (start == token.size() || (start == 1 && token[1] == '-')) return false;
  std::int32_t parsed = 0;
  const auto [end, ec] = std::from_chars(token.data() + start, token.data() + token.size(), parsed);
  if (ec != std::errc() || end != token.data() + token.size()) return false;
  value = parsed;
  return true;
}

long long nearestWhole(double value) {
  constexpr double kBeyondAnyField = 1e15;
  if (!(value < kBeyondAnyField)) return static_cast<long long>(kBeyondAnyField);
  if (!(value > -kBeyondAnyField)) return -static_cast<long long>(kBeyondAnyField);
  return std::llround(value);
}

std::string wholeNumber(long long value) { return text::withoutLeadingBlanks(formatI(value, 20)); }

std::string lineText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return out;
}

std::string_view columns(std::string_view text, int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, static_cast<int>(text.size()));
  if (last < first) return {};
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

}  // namespace device
