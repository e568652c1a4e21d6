#pragma once
// Directory listing and file dates of the operating-system layer.

#include <span>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// Lists the files of `directory` (blank: the current directory) that match
// `mask` (blank: "*.*").  count: in, the number of elements the arrays hold; out,
// the number of matches stored.  For each match its name goes into names, and
// where given its last-write time (local time, packed DOS date-time: date in the
// upper 16 bits, time in the lower) and its size.  More matches than the arrays
// hold is error 40; a failure other than "nothing matches" is error 13.
void IOsDirInfo(std::string_view directory, std::string_view mask, std::span<const TextField> names, int& count,
                std::span<int> dateTimes = {}, std::span<int> sizes = {});

// Fields of a packed DOS date-time.
void IOsUnpackDosDate(int packed, int& year, int& month, int& day);
void IOsUnpackDosTime(int packed, int& hour, int& minute, int& second);

// Today's local date and the local time.
void IOsDateNow(int& year, int& month, int& day);
void IOsTimeNow(int& hour, int& minute, int& second, int* millisecond = nullptr);
