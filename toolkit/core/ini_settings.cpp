#include "toolkit/core/ini_settings.h"

#include <array>
#include <fstream>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/number_conversion.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"

namespace {

constexpr std::size_t kLineLength = 270;
constexpr int kKeywordLength = 8;
constexpr int kShortestKeyword = 3;

struct TextKeyword {
  std::string_view name;
  FixedText<kPathLength> ToolkitSettings::*setting;
};
constexpr std::array<TextKeyword, 2> kTextKeywords = {{
    {"CHARDIR", &ToolkitSettings::CHARDIR},
    {"CHARSET", &ToolkitSettings::CHARSET},
}};

struct IntegerKeyword {
  std::string_view name;
  int ToolkitSettings::*setting;
};
constexpr std::array<IntegerKeyword, 3> kIntegerKeywords = {{
    {"HPGL2", &ToolkitSettings::HPGL2},
    {"PLOTTER", &ToolkitSettings::PLOTTER},
    {"PRINTER", &ToolkitSettings::PRINTER},
}};

// A channel number is taken only when it differs from the other two.
struct ChannelKeyword {
  std::string_view name;
  int ToolkitSettings::*setting;
  int ToolkitSettings::*other1;
  int ToolkitSettings::*other2;
};
constexpr std::array<ChannelKeyword, 3> kChannelKeywords = {{
    {"LFNGEN", &ToolkitSettings::LFNGEN, &ToolkitSettings::LFNPLOTO, &ToolkitSettings::LFNPLOTI},
    {"LFNPLOTI", &ToolkitSettings::LFNPLOTI, &ToolkitSettings::LFNGEN, &ToolkitSettings::LFNPLOTO},
    {"LFNPLOTO", &ToolkitSettings::LFNPLOTO, &ToolkitSettings::LFNGEN, &ToolkitSettings::LFNPLOTI},
}};

// Every value is read as an integer, whatever its keyword: a failure is reported
// in the mode then in force, and the last error number is cleared again.
bool readInteger(std::string_view value, int& number) {
  errorState.lastError = 0;
  IStringToInteger(value, number);
  const bool ok = errorState.lastError == 0;
  errorState.lastError = 0;
  return ok;
}

void applyValue(std::string_view keyword, std::string_view value) {
  int number = 0;
  const bool isNumber = readInteger(value, number);
  for (const auto& k : kTextKeywords) {
    if (keyword == k.name) {
      (toolkitSettings.*k.setting).assign(value.substr(static_cast<std::size_t>(YYFirstNonBlank(value) - 1)));
      return;
    }
  }
  if (!isNumber) return;
  if (keyword == "DEBUG") {
    YYErrorModeSet(number);
    return;
  }
  for (const auto& k : kIntegerKeywords) {
    if (keyword == k.name) toolkitSettings.*k.setting = number;
  }
  for (const auto& k : kChannelKeywords) {
    if (keyword == k.name && number != toolkitSettings.*k.other1 && number != toolkitSettings.*k.other2) {
      toolkitSettings.*k.setting = number;
    }
  }
}

}  // namespace

bool YYIniLineApply(std::string_view rawLine) {
  std::string line(rawLine.substr(0, kLineLength));
  for (char& c : line) {
    if (c == '\t') c = ' ';
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos || equals == 0 || equals == kLineLength - 1) return false;

  const std::string_view before(line.data(), equals);
  int start = 0, end = 0;
  YYTokenScan(before, start, end);
  if (start == 0 || end - start + 1 < kShortestKeyword) return false;
  FixedText<kKeywordLength> keyword(before.substr(static_cast<std::size_t>(start - 1),
                                                  static_cast<std::size_t>(end - start + 1)));
  IStringUpper(keyword);
  const bool versionAsked = keyword.view().substr(0, 3) == "VER";

  const std::string_view value = std::string_view(line).substr(equals + 1);
  if (text::isBlank(value)) return versionAsked;
  applyValue(keyword.trimmed(), value);
  return versionAsked;
}

bool YYIniFileRead(const char* path, bool& versionAsked) {
  versionAsked = false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (YYIniLineApply(line)) versionAsked = true;
  }
  return true;
}
