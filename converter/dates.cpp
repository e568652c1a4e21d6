#include "converter/dates.h"

#include <array>
#include <optional>
#include <string>

#include "toolkit/core/directories.h"
#include "toolkit/core/number_format.h"

namespace {

constexpr std::array<std::string_view, 12> kMonths{"-JAN-", "-FEB-", "-MAR-", "-APR-", "-MAY-", "-JUN-",
                                                   "-JUL-", "-AUG-", "-SEP-", "-OCT-", "-NOV-", "-DEC-"};

// Columns first..last of s, blank-padded where s is shorter.
std::string columns(std::string_view s, int first, int last) {
  std::string out;
  for (int c = first; c <= last; ++c) {
    out += c <= static_cast<int>(s.size()) ? s[static_cast<std::size_t>(c - 1)] : ' ';
  }
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number written in a few columns, blanks counting as nothing; nothing
// when another character is there.
std::optional<int> readColumns(std::string_view s) {
  int value = 0;
  for (char c : s) {
    if (c == ' ') continue;
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string twoDigits(int value) { return formatI(value, 2, 2); }

std::string dateText(int year, int month, int day) {
  return twoDigits(day) + "/" + twoDigits(month) + "/" + formatI(year, 4, 4);
}

std::string timeText(int hour, int minute, int second) {
  return twoDigits(hour) + ":" + twoDigits(minute) + ":" + twoDigits(second);
}

}  // namespace

void FILEDATETIME(std::string_view path, TextField date, TextField time) {
  date.blank();
  time.blank();
  const std::string_view whole = text::trimmed(path);
  const std::size_t slash = whole.rfind('\\');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view() : whole.substr(0, slash + 1);
  const std::string_view name = slash == std::string_view::npos ? whole : whole.substr(slash + 1);
  // A listing with a blank or wildcard name would answer for some other file.
  if (text::isBlank(name) || name.find_first_of("*?") != std::string_view::npos) return;
  FixedText<260> found;
  std::array<int, 1> written{};
  int count = 1;
  IOsDirInfo(folder, name, TextArray(found.data(), found.length(), 1), count, written);
  if (count != 1) return;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  IOsUnpackDosDate(written[0], year, month, day);
  IOsUnpackDosTime(written[0], hour, minute, second);
  date.assign(dateText(year, month, day));
  time.assign(timeText(hour, minute, second));
}

void TODD_MMM_YY(std::string_view date, TextField text) {
  const std::optional<int> month = readColumns(columns(date, 4, 5));
  const bool known = month && *month >= 1 && *month <= 12;
  const std::string entry = known ? std::string(kMonths[static_cast<std::size_t>(*month - 1)]) : "     ";
  text.assign(columns(date, 1, 2) + entry + columns(date, 9, 10));
}

void FROMDD_MMM_YY(std::string_view text, TextField date, int currentYear) {
  date.blank();
  const std::string monthLetters = columns(text, 3, 7);
  int month = 0;
  for (std::size_t i = 0; i < kMonths.size() && month == 0; ++i) {
    if (monthLetters == kMonths[i]) month = static_cast<int>(i) + 1;
  }
  const std::string year = columns(text, 8, 9);
  if (month == 0 || !isDigit(year[0]) || !isDigit(year[1])) return;
  const int yy = (year[0] - '0') * 10 + (year[1] - '0');
  const int century = yy > currentYear % 100 ? currentYear / 100 - 1 : currentYear / 100;
  date.assign(columns(text, 1, 2) + "/" + twoDigits(month) + "/" + twoDigits(century) + year);
}

void FROMDD_MMM_YY(std::string_view text, TextField date) {
  int year = 0, month = 0, day = 0;
  IOsDateNow(year, month, day);
  FROMDD_MMM_YY(text, date, year);
}

void CDATE(TextField date) {
  int year = 0, month = 0, day = 0;
  IOsDateNow(year, month, day);
  date.assign(dateText(year, month, day));
}

void CTIME(TextField time) {
  int hour = 0, minute = 0, second = 0;
  IOsTimeNow(hour, minute, second);
  time.assign(timeText(hour, minute, second));
}
