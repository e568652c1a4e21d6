#include "converter/field_splitters.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>

#include "toolkit/core/number_format.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kTab = '\t';
constexpr char kQuote = '"';

char at(std::string_view record, int column) { return record[static_cast<std::size_t>(column - 1)]; }

// Columns first..last of the record (empty when last < first).
std::string_view columns(std::string_view record, int first, int last) {
  if (last < first) return {};
  return record.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

// The position after a call that found nothing left: one further on.
int stepPast(int position) { return position < INT_MAX ? position + 1 : position; }

// Where reading starts: a position before the record reads from its first column.
int firstColumn(int position) { return std::max(position, 1); }

void fieldUpTo(char separator, std::string_view record, int& position, TextField field) {
  const int n = text::trimmedLength(record);
  if (position > n) {
    field.blank();
    position = stepPast(position);
    return;
  }
  const int start = firstColumn(position);
  int i = start;
  while (i <= n && at(record, i) != separator) ++i;
  field.assign(columns(record, start, i - 1));
  position = i + 1;
}

}  // namespace

void GET_TABBED_FIELD(std::string_view record, int& position, TextField field) {
  fieldUpTo(kTab, record, position, field);
}

void GET_CSV_FIELD(std::string_view record, int& position, TextField field) {
  fieldUpTo(',', record, position, field);
}

void GET_FIELD(std::string_view record, int& position, TextField field) {
  const int n = text::trimmedLength(record);
  if (position > n) {
    field.blank();
    position = stepPast(position);
    return;
  }
  int i = firstColumn(position);
  while (i <= n && at(record, i) == kBlank) ++i;
  const int start = i;
  while (i <= n && at(record, i) != kBlank) ++i;
  field.assign(columns(record, start, i - 1));
  position = i + 1;
  while (position <= n && at(record, position) == kBlank) ++position;
}

void GET_QCSV_FIELD(std::string_view record, int& position, TextField field, Logical& atEnd,
                    std::int32_t& status) {
  status = 0;
  atEnd = kLogicalFalse;
  const int n = text::trimmedLength(record);
  int p = firstColumn(position);
  while (p <= n && at(record, p) == kBlank) ++p;
  int i = p;
  if (p <= n) {
    bool quoted = false;
    while (i <= n) {
      const char c = at(record, i);
      if (c == kQuote) quoted = !quoted;
      if (c == ',' && !quoted) break;
      ++i;
    }
    if (i > n && quoted) status = 2;
  }
  field.assign(columns(record, p, std::min(i, n + 1) - 1));
  position = stepPast(i);
  if (field.length() > 0 && field.column(1) == kQuote) {
    // The first and the last non-blank character go, whatever the last one is.
    const std::string inner(columns(field.view(), 2, field.trimmedLength() - 1));
    field.assign(inner);
  }
  atEnd = position > n ? kLogicalTrue : kLogicalFalse;
}

void COORD_DEG(std::string_view letter, float value, std::string_view format, TextField field) {
  // The format is "(A," + one descriptor + ")": the letter goes in as it is.
  std::string_view body = text::trimmed(format);
  while (!body.empty() && body.front() == kBlank) body.remove_prefix(1);
  std::optional<std::string> number;
  if (body.size() >= 3 && body.front() == '(' && body.back() == ')') {
    body = body.substr(1, body.size() - 2);
    const std::size_t comma = body.find(',');
    if (comma != std::string_view::npos && text::trimmed(body.substr(0, comma)) == "A") {
      number = fortranFormat(value, body.substr(comma + 1));
    }
  }
  const std::string written =
      std::string(letter) + (number ? *number : std::string(static_cast<std::size_t>(field.length()), '*'));
  field.assign(written);
  for (int c = 1; c < field.length(); ++c) {
    if (field.column(c) == kBlank) field.column(c) = '0';
  }
}
