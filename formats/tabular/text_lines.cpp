#include "formats/tabular/text_lines.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

// The file opened with CreateFileA, or no handle.
KernelHandle openFile(std::string_view path, DWORD access, DWORD share, DWORD disposition) {
  const std::string name = windowsText(path);
  if (name.empty()) return KernelHandle();
  const HANDLE handle = CreateFileA(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle == INVALID_HANDLE_VALUE ? KernelHandle() : KernelHandle(handle);
}

KernelHandle openForReading(std::string_view path) {
  return openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

// Fills the buffer from the file; the number of bytes now there, 0 at the end.
template <typename Byte>
std::size_t refill(const KernelHandle& handle, std::vector<Byte>& buffer) {
  if (!handle) return 0;
  if (buffer.empty()) buffer.resize(kBufferSize);
  DWORD got = 0;
  if (!ReadFile(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return 0;
  return got;
}

void fileBox(std::string_view what, std::string_view path) {
  const std::string text = std::string(what) + "\r" + std::string(text::trimmed(path));
  WMessageBox(kOkOnly, kExclamationIcon, 1, text, "File error");
}

bool overflowed(const std::string& field) { return field.find('*') != std::string::npos; }

}  // namespace

// --- TextLineReader ---

bool TextLineReader::open(std::string_view path) {
  close();
  handle_ = openForReading(path);
  ended_ = false;
  position_ = filled_ = 0;
  return static_cast<bool>(handle_);
}

void TextLineReader::close() {
  handle_.reset();
  position_ = filled_ = 0;
}

bool TextLineReader::readLine(TextField record, int& length) {
  length = 0;
  const std::size_t capacity = static_cast<std::size_t>(record.length());
  std::size_t total = 0;  // characters of the line so far, a CR before its LF included
  char last = 0;
  bool any = false;
  // The line is read to its end whatever its length; only the first characters
  // are kept, so an overlong line costs time, never memory.  It is taken a
  // buffer's run at a time, up to its line feed.
  for (;;) {
    if (position_ == filled_) {
      if (ended_) break;
      filled_ = refill(handle_, buffer_);
      position_ = 0;
      if (filled_ == 0) {
        ended_ = true;
        break;
      }
    }
    any = true;
    const char* start = buffer_.data() + position_;
    const auto* feed = static_cast<const char*>(std::memchr(start, '\n', filled_ - position_));
    const std::size_t count = feed != nullptr ? static_cast<std::size_t>(feed - start) : filled_ - position_;
    if (total < capacity) std::memcpy(record.data() + total, start, std::min(count, capacity - total));
    if (count > 0) last = start[count - 1];
    total += count;
    position_ += count;
    if (feed != nullptr) {
      ++position_;
      break;
    }
  }
  // A CR just before the line feed, or at the very end of the file, is not part
  // of the line.
  if (last == '\r' && total > 0) --total;
  const std::size_t kept = std::min(total, capacity);
  std::memset(record.data() + kept, ' ', capacity - kept);
  length = static_cast<int>(kept);
  return any;
}

// --- TextLineWriter ---

bool TextLineWriter::open(std::string_view path) {
  file_.abandon();
  failed_ = false;
  pending_.clear();
  return file_.begin(path);
}

void TextLineWriter::writeLine(std::string_view line) {
  if (!file_.active()) return;
  pending_.append(line).append("\r\n");
  if (pending_.size() >= kBufferSize) flush();
}

bool TextLineWriter::flush() {
  if (!file_.active()) return false;
  if (!failed_ && !file_.write(pending_)) failed_ = true;
  pending_.clear();
  return !failed_;
}

bool TextLineWriter::close() {
  if (!file_.active()) return !failed_;
  flush();
  if (!file_.commit()) failed_ = true;
  return !failed_;
}

// --- ByteStreamReader ---

bool ByteStreamReader::open(std::string_view path) {
  close();
  handle_ = openForReading(path);
  return static_cast<bool>(handle_);
}

void ByteStreamReader::close() {
  handle_.reset();
  position_ = filled_ = 0;
}

bool ByteStreamReader::read(void* destination, std::size_t count) {
  auto* out = static_cast<unsigned char*>(destination);
  while (count > 0) {
    if (position_ == filled_) {
      filled_ = refill(handle_, buffer_);
      position_ = 0;
      if (filled_ == 0) return false;
    }
    const std::size_t n = std::min(count, filled_ - position_);
    std::memcpy(out, buffer_.data() + position_, n);
    out += n;
    position_ += n;
    count -= n;
  }
  return true;
}

// --- shared helpers ---

bool nextDataLine(TextLineReader& file, std::string_view& record) {
  int length = 0;
  while (file.readLine(RECORD_BUFFER, length)) {
    record = RECORD_BUFFER.view().substr(0, static_cast<std::size_t>(length));
    if (!text::isBlank(record)) return true;
  }
  return false;
}

void fileOpenFailure(std::string_view path) { fileBox("Could not open file", path); }

void fileWriteFailure(std::string_view path) { fileBox("Could not write file", path); }

bool openInputFile(TextLineReader& file) {
  if (file.open(FILE_NAMES.INPUT_FILE)) return true;
  fileOpenFailure(FILE_NAMES.INPUT_FILE);
  return false;
}

bool openInputFile(ByteStreamReader& file) {
  if (file.open(FILE_NAMES.INPUT_FILE)) return true;
  fileOpenFailure(FILE_NAMES.INPUT_FILE);
  return false;
}

bool openOutputFile(TextLineWriter& file) {
  if (file.open(FILE_NAMES.OUTPUT_FILE)) return true;
  fileOpenFailure(FILE_NAMES.OUTPUT_FILE);
  return false;
}

bool closeOutputFile(TextLineWriter& file) {
  if (file.close()) return true;
  fileWriteFailure(FILE_NAMES.OUTPUT_FILE);
  return false;
}

std::string countLine(int points, std::string_view pointText) {
  return text::withoutLeadingBlanks(formatI(points, 5) + std::string(pointText));
}

std::string countLine(int points, std::string_view pointText, int groups, std::string_view groupText) {
  return text::withoutLeadingBlanks(formatI(points, 5) + std::string(pointText) + fieldI(groups, 3) + std::string(groupText));
}

std::string fieldI(long long value, int width, int minDigits) {
  std::string field = formatI(value, width, minDigits);
  // Twenty columns hold every 64-bit integer.
  if (overflowed(field)) field = text::withoutLeadingBlanks(formatI(value, 20, minDigits));
  return field;
}

std::string fieldF(double value, int width, int decimals) {
  std::string field = formatF(value, width, decimals);
  if (overflowed(field) && std::isfinite(value)) {
    // Wide enough for any real that a 32- or 64-bit float holds.
    field = text::withoutLeadingBlanks(formatF(value, 330 + decimals, decimals));
  }
  return field;
}

int listedPoints() { return std::clamp(POINT_LIST.NPOINTS, 0, MAX_POINTS); }

void startRouteCount() {
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NROUTES = 0;
}

bool startsNewRoute(const POINT_RECORD& point) {
  if (point.ROUTE_NAME == POINT_LIST.CURRENT_ROUTE) return false;
  POINT_LIST.NROUTES += 1;
  POINT_LIST.CURRENT_ROUTE = point.ROUTE_NAME;
  return true;
}

void giveFileDefaults(POINT_RECORD& point) {
  point.DATE = FILE_DATE;
  point.TIME = FILE_TIME;
  point.ALTITUDE = kNoValue;
  point.PROXIMITY = 0.0f;
}

void runLogged(std::string_view routine, void (*body)()) {
  DEBUG_MARK(DebugMark::kSubroutine, routine);
  body();
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}
