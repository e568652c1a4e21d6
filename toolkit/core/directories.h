#pragma once
// Directory listing, packed DOS date-times, and today's date and time.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/core/fixed_text.h"
#include "toolkit/core/text_array.h"

// Lists the entries of `directory` that match `mask` (blank directory: the
// current one; blank mask: "*.*") into names 1..count, with their packed local
// last-write date-times and sizes when those arrays are given, sorted by name
// regardless of case.  count is in: the capacity, out: the entries stored.
// Nothing matching is not an error; more matches than the capacity is error 40.
void IOsDirInfo(std::string_view directory, std::string_view mask, TextArray names, int& count,
                std::span<int> dateTimes = {}, std::span<int> sizes = {});
void IOsDirList(std::string_view directory, std::string_view mask, TextArray names, int& count);
// Counts the matching entries, without a capacity.
void IOsDirCount(std::string_view directory, std::string_view mask, int& count);
// Files are listed when the text holds F, directories when it holds D (any case).
void IOsDirType(std::string_view kinds);
// "F" in column 1 when files are listed, "D" in column 2 when directories are.
void IOsDirTypeQuery(TextField kinds);

void IOsUnpackDosDate(int packed, int& year, int& month, int& day);
void IOsUnpackDosTime(int packed, int& hour, int& minute, int& second);
void IOsDateNow(int& year, int& month, int& day);
void IOsTimeNow(int& hour, int& minute, int& second, int* millisecond = nullptr);

// The toolkit's one directory search.  Flag 0 starts it on the pattern (a
// NUL-ended buffer of kPathLength characters), any other flag fetches the next
// entry; the found name replaces the pattern.  status: 0 found; on a failed start
// the Windows code; 1 when there is no next entry.
void YYOsFindEntry(int flag, char* pattern, int& attributes, int& dateTime, int& size, int& status);
void YYOsFindClose();

// One entry met by a search walk.
struct FoundEntry {
  std::string_view name;
  int attributes;
  int dateTime;
  int size;
};
// Walks the entries that match the pattern, handing each to `visit` until it
// answers false, and closes the search.  Returns 0, or the status of a start
// that failed (ERROR_FILENAME_EXCED_RANGE for a pattern too long for the buffer).
int YYOsFindWalk(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit);
// One file's size (-1 when nothing matches; the rest is then left alone), local
// last-write time and attributes.
void YYOsFileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                  int& attributes, const char* fileName);
void YYOsLocalDate(int& year, int& month, int& day);
void YYOsLocalTime(int& hour, int& minute, int& second, int& millisecond);
