#include "toolkit/core/directories.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"

namespace {

constexpr int kOperatingSystemError = 13;
constexpr int kTooManyFiles = 40;
constexpr int kSortKeyLength = 255;
constexpr const char* kRoutine = "IOsDirInfo";

// The one search of the toolkit: a listing, a copy or a delete walks it to its end.
FindHandle search;

struct EntryKinds {
  bool files = true;
  bool directories = false;
};
EntryKinds entryKinds;

int packedLocalTime(const FILETIME& written) {
  FILETIME local{};
  WORD date = 0, time = 0;
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  return static_cast<int>((static_cast<DWORD>(date) << 16) | time);
}

void takeEntry(const WIN32_FIND_DATAA& found, char* name, int& attributes, int& dateTime, int& size) {
  lstrcpynA(name, found.cFileName, kPathLength);
  attributes = static_cast<int>(found.dwFileAttributes);
  dateTime = packedLocalTime(found.ftLastWriteTime);
  size = static_cast<int>(found.nFileSizeLow);
}

// Directory (with its closing backslash) and mask, or the mask alone.
std::string searchPath(std::string_view directory, std::string_view mask) {
  std::string path(significantText(directory));
  if (!path.empty() && path.back() != '\\') path += '\\';
  const std::string_view m = significantText(mask);
  path += m.empty() ? std::string_view("*.*") : m;
  return path;
}

bool wanted(int attributes) {
  const bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return (entryKinds.directories && isDirectory) || (entryKinds.files && !isDirectory);
}

// Sort key: the first 255 characters with a-z raised; compared as unsigned bytes.
int compareKeys(std::string_view a, std::string_view b) {
  const std::size_t n = std::min<std::size_t>(a.size(), kSortKeyLength);
  for (std::size_t i = 0; i < n; ++i) {
    auto key = [](char c) {
      const unsigned char u = static_cast<unsigned char>(c);
      return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
    };
    const unsigned char x = key(a[i]);
    const unsigned char y = key(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// Selection sort: stable enough that equal keys keep their first-found order at
// the front, and the date-times and sizes move with their names.
void sortByName(TextArray names, int found, std::span<int> dateTimes, std::span<int> sizes) {
  for (int i = 1; i < found; ++i) {
    int smallest = i;
    for (int j = i + 1; j <= found; ++j) {
      if (compareKeys(names[j].view(), names[smallest].view()) < 0) smallest = j;
    }
    if (smallest == i) continue;
    names.swap(i, smallest);
    if (!dateTimes.empty()) std::swap(dateTimes[i - 1], dateTimes[smallest - 1]);
    if (!sizes.empty()) std::swap(sizes[i - 1], sizes[smallest - 1]);
  }
}

void reportOsError(int code) {
  errorState.osError = code;
  YYErrorReport(kOperatingSystemError, kRoutine);
}

// The listing behind all three entries; names is absent for a plain count.
void listEntries(std::string_view directory, std::string_view mask, const TextArray* names,
                 int& count, std::span<int> dateTimes, std::span<int> sizes) {
  const int capacity = count;
  int found = 0;
  const int status = YYOsFindWalk(searchPath(directory, mask), [&](const FoundEntry& entry) {
    if (!wanted(entry.attributes)) return true;
    if (names == nullptr) {
      ++found;
      return true;
    }
    if (found >= capacity) {
      YYErrorReport(kTooManyFiles, kRoutine);
      return false;
    }
    ++found;
    (*names)[found].assign(entry.name);
    if (static_cast<int>(dateTimes.size()) >= found) dateTimes[found - 1] = entry.dateTime;
    if (static_cast<int>(sizes.size()) >= found) sizes[found - 1] = entry.size;
    return true;
  });
  // Nothing matching is not an error.
  if (status != 0 && status != ERROR_FILE_NOT_FOUND) reportOsError(status);
  count = found;
  if (names != nullptr) sortByName(*names, found, dateTimes, sizes);
}

}  // namespace

void IOsDirInfo(std::string_view directory, std::string_view mask, TextArray names, int& count,
                std::span<int> dateTimes, std::span<int> sizes) {
  // No more elements are written than the caller's arrays hold.
  count = std::clamp(count, 0, names.count());
  if (!dateTimes.empty()) count = std::min(count, static_cast<int>(dateTimes.size()));
  if (!sizes.empty()) count = std::min(count, static_cast<int>(sizes.size()));
  listEntries(directory, mask, &names, count, dateTimes, sizes);
}

void IOsDirList(std::string_view directory, std::string_view mask, TextArray names, int& count) {
  IOsDirInfo(directory, mask, names, count);
}

void IOsDirCount(std::string_view directory, std::string_view mask, int& count) {
  listEntries(directory, mask, nullptr, count, {}, {});
}

void IOsDirType(std::string_view kinds) {
  entryKinds.files = YYHasCharAnyCase(kinds, 'F');
  entryKinds.directories = YYHasCharAnyCase(kinds, 'D');
}

void IOsDirTypeQuery(TextField kinds) {
  kinds.blank();
  if (entryKinds.files && kinds.length() >= 1) kinds.column(1) = 'F';
  if (entryKinds.directories && kinds.length() >= 2) kinds.column(2) = 'D';
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

void IOsDateNow(int& year, int& month, int& day) { YYOsLocalDate(year, month, day); }

void IOsTimeNow(int& hour, int& minute, int& second, int* millisecond) {
  int ms = 0;
  YYOsLocalTime(hour, minute, second, ms);
  if (millisecond != nullptr) *millisecond = ms;
}

void YYOsFindEntry(int flag, char* pattern, int& attributes, int& dateTime, int& size, int& status) {
  WIN32_FIND_DATAA found{};
  if (flag == 0) {
    search.reset(FindFirstFileA(pattern, &found));
    if (!search) {
      status = static_cast<int>(GetLastError());
      return;
    }
  } else if (!search || !FindNextFileA(search.get(), &found)) {
    status = 1;
    return;
  }
  takeEntry(found, pattern, attributes, dateTime, size);
  status = 0;
}

void YYOsFindClose() { search.reset(); }

int YYOsFindWalk(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) {
  if (!fitsPathBuffer(pattern)) return kPathTooLongCode;
  char buffer[kPathLength];
  lstrcpynA(buffer, pattern.c_str(), kPathLength);
  int attributes = 0, dateTime = 0, size = 0, status = 0;
  YYOsFindEntry(0, buffer, attributes, dateTime, size, status);
  if (status != 0) return status;
  while (status == 0 && visit(FoundEntry{buffer, attributes, dateTime, size})) {
    YYOsFindEntry(1, buffer, attributes, dateTime, size, status);
  }
  YYOsFindClose();
  return 0;
}

void YYOsFileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                  int& attributes, const char* fileName) {
  WIN32_FIND_DATAA found{};
  search.reset(FindFirstFileA(fileName, &found));
  if (!search) {
    size = -1;
    return;
  }
  search.reset();
  FILETIME local{};
  SYSTEMTIME when{};
  FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &when);
  size = static_cast<int>(found.nFileSizeLow);
  year = when.wYear;
  month = when.wMonth;
  day = when.wDay;
  hour = when.wHour;
  minute = when.wMinute;
  second = when.wSecond;
  attributes = static_cast<int>(found.dwFileAttributes);
}

void YYOsLocalDate(int& year, int& month, int& day) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  year = now.wYear;
  month = now.wMonth;
  day = now.wDay;
}

void YYOsLocalTime(int& hour, int& minute, int& second, int& millisecond) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  hour = now.wHour;
  minute = now.wMinute;
  second = now.wSecond;
  millisecond = now.wMilliseconds;
}
