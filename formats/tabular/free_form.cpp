#include "formats/tabular/free_form.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return isBlank(c) || c == ',' || c == '/'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Counts the digits from i on.
std::size_t digitsFrom(std::string_view s, std::size_t& i) {
  const std::size_t start = i;
  while (i < s.size() && isDigit(s[i])) ++i;
  return i - start;
}

// A Fortran real constant as C's strtod reads it: "1.5D3" becomes "1.5e3",
// "2.5-3" becomes "2.5e-3"; nothing when the token is not a number.
bool normalizedReal(std::string_view token, std::string& out) {
  std::size_t i = 0;
  out.clear();
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
  const std::size_t before = i;
  std::size_t digits = digitsFrom(token, i);
  if (i < token.size() && token[i] == '.') {
    ++i;
    digits += digitsFrom(token, i);
  }
  if (digits == 0) return false;
  out.append(token.substr(before, i - before));
  if (i == token.size()) return true;
  const char c = token[i];
  if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q') ++i;
  out += 'e';
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
  const std::size_t exponentStart = i;
  if (digitsFrom(token, i) == 0 || i != token.size()) return false;
  out.append(token.substr(exponentStart));
  return true;
}

// A text between delimiters, a doubled delimiter standing for one, followed by
// a separator or the end of the record.  `open` is the opening delimiter;
// `after` becomes the position after the closing one.
bool quotedText(std::string_view r, std::size_t open, std::string& content, std::size_t& after) {
  const char delimiter = r[open];
  content.clear();
  std::size_t p = open + 1;
  for (;;) {
    if (p >= r.size()) return false;
    if (r[p] != delimiter) {
      content += r[p++];
    } else if (p + 1 < r.size() && r[p + 1] == delimiter) {
      content += delimiter;
      p += 2;
    } else {
      after = p + 1;
      return after >= r.size() || isSeparator(r[after]);
    }
  }
}

// A text as the writers of these formats put it between delimiters: with any
// delimiters inside left as they were.  It ends at the delimiter that only
// blanks separate from a comma, a slash or the end of the record.
bool writtenQuotedText(std::string_view r, std::size_t open, std::string& content, std::size_t& after) {
  const char delimiter = r[open];
  content.clear();
  for (std::size_t p = open + 1; p < r.size(); ++p) {
    if (r[p] == delimiter) {
      std::size_t next = p + 1;
      while (next < r.size() && isBlank(r[next])) ++next;
      if (next >= r.size() || r[next] == ',' || r[next] == '/') {
        after = p + 1;
        return true;
      }
    }
    content += r[p];
  }
  return false;
}

}  // namespace

FreeForm FreeFormReader::start() {
  if (slashed_) return FreeForm::kNull;
  while (position_ < record_.size() && isBlank(record_[position_])) ++position_;
  if (position_ >= record_.size()) return FreeForm::kMissing;
  const char c = record_[position_];
  if (c == ',') {
    ++position_;
    return FreeForm::kNull;
  }
  if (c == '/') {
    slashed_ = true;
    return FreeForm::kNull;
  }
  return FreeForm::kValue;
}

std::string_view FreeFormReader::token() {
  const std::size_t first = position_;
  while (position_ < record_.size() && !isSeparator(record_[position_])) ++position_;
  return record_.substr(first, position_ - first);
}

void FreeFormReader::finishValue() {
  while (position_ < record_.size() && isBlank(record_[position_])) ++position_;
  if (position_ >= record_.size()) return;
  if (record_[position_] == ',') {
    ++position_;
  } else if (record_[position_] == '/') {
    slashed_ = true;
  }
}

FreeForm FreeFormReader::real(float& value) {
  const FreeForm found = start();
  if (found != FreeForm::kValue) return found;
  std::string number;
  if (!normalizedReal(token(), number)) return FreeForm::kBad;
  finishValue();
  const double v = std::strtod(number.c_str(), nullptr);
  // A value beyond the range of a 32-bit real is an error, not an infinity.
  if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) return FreeForm::kBad;
  value = static_cast<float>(v);
  return FreeForm::kValue;
}

FreeForm FreeFormReader::integer(std::int32_t& value) {
  const FreeForm found = start();
  if (found != FreeForm::kValue) return found;
  const std::string_view t = token();
  std::size_t i = 0;
  const bool negative = !t.empty() && t[0] == '-';
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) ++i;
  if (i == t.size()) return FreeForm::kBad;
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (!isDigit(t[i])) return FreeForm::kBad;
    v = v * 10 + (t[i] - '0');
    if (v > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) return FreeForm::kBad;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<std::int32_t>::max()) return FreeForm::kBad;
  finishValue();
  value = static_cast<std::int32_t>(v);
  return FreeForm::kValue;
}

FreeForm FreeFormReader::text(TextField value) {
  const FreeForm found = start();
  if (found != FreeForm::kValue) return found;
  const char delimiter = record_[position_];
  if (delimiter != '"' && delimiter != '\'') {
    value.assign(token());
    finishValue();
    return FreeForm::kValue;
  }
  std::string content;
  std::size_t after = 0;
  if (!quotedText(record_, position_, content, after) && !writtenQuotedText(record_, position_, content, after)) {
    return FreeForm::kBad;
  }
  position_ = after;
  value.assign(content);
  finishValue();
  return FreeForm::kValue;
}
