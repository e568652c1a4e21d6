#include "toolkit/core/strings.h"

#include <windows.h>

#include <string>

#include "toolkit/core/number_conversion.h"

namespace {
constexpr char kBlank = ' ';

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The token's columns, or column 1 (a blank) when there is none.
void tokenOrFirstColumn(TextField text, int& start, int& end) {
  YYTokenScan(text.view(), start, end);
  if (start == 0) start = end = 1;
}

std::string_view tokenText(TextField text, int start, int end) {
  if (text.length() == 0) return {};
  return text.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start + 1));
}

void blankColumns(TextField text, int start, int end) {
  for (int c = start; c <= end && c <= text.length(); ++c) text.column(c) = kBlank;
}
}  // namespace

void IStringUpper(TextField text) {
  for (int c = 1; c <= text.length(); ++c) text.column(c) = upper(text.column(c));
}

void IStringLower(TextField text) {
  for (int c = 1; c <= text.length(); ++c) text.column(c) = lower(text.column(c));
}

void IStringAlign(TextField text, std::string_view mode) {
  const int n = text.length();
  const int last = text.trimmedLength();
  if (last == 0) return;
  const int first = YYFirstNonBlank(text.view());
  const int width = last - first + 1;
  if (width == n) return;
  int target = 0;
  if (YYHasCharAnyCase(mode, 'L')) {
    if (first == 1) return;
    target = 1;
  } else if (YYHasCharAnyCase(mode, 'R')) {
    if (last == n) return;
    target = n - width + 1;
  } else {
    target = (n - width) / 2 + 1;
  }
  if (target == first) return;
  // Move one character at a time, in the order that never overwrites a source.
  auto move = [&](int i) {
    const char ch = text.column(first + i);
    text.column(first + i) = kBlank;
    text.column(target + i) = ch;
  };
  if (target < first) {
    for (int i = 0; i < width; ++i) move(i);
  } else {
    for (int i = width - 1; i >= 0; --i) move(i);
  }
}

void IStringNextWord(TextField text, TextField word) {
  int start = 0, end = 0;
  tokenOrFirstColumn(text, start, end);
  word.assign(tokenText(text, start, end));
  blankColumns(text, start, end);
}

void IStringNextInteger(TextField text, int& value) {
  int start = 0, end = 0;
  tokenOrFirstColumn(text, start, end);
  IStringToInteger(tokenText(text, start, end), value);
  blankColumns(text, start, end);
}

void IStringNextReal(TextField text, float& value) {
  int start = 0, end = 0;
  tokenOrFirstColumn(text, start, end);
  IStringToReal(tokenText(text, start, end), value);
  blankColumns(text, start, end);
}

void IStringNextDouble(TextField text, double& value) {
  int start = 0, end = 0;
  tokenOrFirstColumn(text, start, end);
  YYStringToDouble(tokenText(text, start, end), value);
  blankColumns(text, start, end);
}

int IStringFindNoCase(std::string_view text, std::string_view sub, std::optional<bool> back) {
  const bool fromBack = back.value_or(false);
  const int n = static_cast<int>(text.size());
  const int m = static_cast<int>(sub.size());
  if (m == 0) return fromBack ? n + 1 : 1;
  if (n < m) return 0;
  std::string t(text), s(sub);
  for (auto& c : t) c = upper(c);
  for (auto& c : s) c = upper(c);
  const std::size_t at = fromBack ? t.rfind(s) : t.find(s);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

void YYTokenScan(std::string_view text, int& start, int& end) {
  const int n = static_cast<int>(text.size());
  int c = 0;
  while (c < n && text[static_cast<std::size_t>(c)] == kBlank) ++c;
  if (c == n) {
    start = end = 0;
    return;
  }
  start = c + 1;
  while (c < n && text[static_cast<std::size_t>(c)] != kBlank) ++c;
  end = c;
}

int YYFirstNonBlank(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kBlank && text[i] != '\0') return static_cast<int>(i) + 1;
  }
  return 0;
}

bool YYHasCharAnyCase(std::string_view text, char c) {
  if (text.find(c) != std::string_view::npos) return true;
  return c >= 'A' && c <= 'Z' && text.find(static_cast<char>(c + 32)) != std::string_view::npos;
}

int YYStrLen(const char* text) {
  int last = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    if (text[i] != kBlank) last = i + 1;
  }
  return last;
}

int YYWordLen(const char* text) {
  int n = 0;
  while (text[n] != '\0' && text[n] != kBlank) ++n;
  return n;
}

void YYStrToBlankPadded(const char* source, char* destination, int length) {
  const int sourceLength = lstrlenA(source);
  for (int i = 0; i < length; ++i) destination[i] = i < sourceLength ? source[i] : kBlank;
}
