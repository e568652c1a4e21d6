#include "toolkit/core/directory_listing.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "toolkit/core/error_reporter.h"

namespace {

constexpr int kOsError = 13;
constexpr int kTooManyMatches = 40;
constexpr std::size_t kPathBuffer = 260;

std::string_view withoutLeadingBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\0')) s.remove_prefix(1);
  return text::trimmed(s);
}

// RAII for one search handle.
class FindHandle {
 public:
  FindHandle(const std::string& pattern, WIN32_FIND_DATAA& found)
      : handle_(FindFirstFileA(pattern.c_str(), &found)) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool next(WIN32_FIND_DATAA& found) { return FindNextFileA(handle_, &found) != 0; }

 private:
  HANDLE handle_;
};

int packedLocalTime(const FILETIME& written) {
  FILETIME local{};
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return static_cast<int>((static_cast<unsigned>(date) << 16) | time);
}

}  // namespace

void IOsDirInfo(std::string_view directory, std::string_view mask, std::span<const TextField> names, int& count,
                std::span<int> dateTimes, std::span<int> sizes) {
  const int capacity = std::clamp(count, 0, static_cast<int>(names.size()));
  count = 0;
  std::string pattern(withoutLeadingBlanks(directory));
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  const std::string_view wanted = withoutLeadingBlanks(mask);
  pattern += wanted.empty() ? std::string_view("*.*") : wanted;
  if (pattern.size() >= kPathBuffer) {
    errorState.osError = ERROR_BAD_PATHNAME;
    YYErrorReport(kOsError, "IOsDirInfo");
    return;
  }
  WIN32_FIND_DATAA found{};
  FindHandle search(pattern, found);
  if (!search.valid()) {
    const DWORD status = GetLastError();
    if (status != ERROR_FILE_NOT_FOUND) {
      errorState.osError = static_cast<int>(status);
      YYErrorReport(kOsError, "IOsDirInfo");
    }
    return;
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (count == capacity) {
      YYErrorReport(kTooManyMatches, "IOsDirInfo");
      break;
    }
    const auto i = static_cast<std::size_t>(count);
    names[i].assign(found.cFileName);
    if (i < dateTimes.size()) dateTimes[i] = packedLocalTime(found.ftLastWriteTime);
    if (i < sizes.size()) sizes[i] = static_cast<int>(found.nFileSizeLow);
    ++count;
  } while (search.next(found));
}

void IOsUnpackDosDate(int packed, int& year, int& month, int& day) {
  const auto bits = static_cast<unsigned>(packed);
  year = static_cast<int>(bits >> 25) + 1980;
  month = static_cast<int>((bits >> 21) & 0xF);
  day = static_cast<int>((bits >> 16) & 0x1F);
}

void IOsUnpackDosTime(int packed, int& hour, int& minute, int& second) {
  const auto bits = static_cast<unsigned>(packed);
  hour = static_cast<int>((bits >> 11) & 0x1F);
  minute = static_cast<int>((bits >> 5) & 0x3F);
  second = static_cast<int>(bits & 0x1F) * 2;
}

void IOsDateNow(int& year, int& month, int& day) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  year = now.wYear;
  month = now.wMonth;
  day = now.wDay;
}

void IOsTimeNow(int& hour, int& minute, int& second, int* millisecond) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  hour = now.wHour;
  minute = now.wMinute;
  second = now.wSecond;
  if (millisecond != nullptr) *millisecond = now.wMilliseconds;
}
