#include "toolkit/core/system_info.h"

#include <shellapi.h>

#include <array>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_select.h"

GradientFillFunction yyGradientFill = nullptr;

namespace {

constexpr int kFileNotFound = 1;
constexpr int kTextTooSmall = 1023;

std::string driveRoot(int letter) { return std::string(1, static_cast<char>(letter)) + ":\\"; }

int volumeSerial(int letter) {
  int serial = 0;
  YYOsVolumeSerial(serial, driveRoot(letter).c_str());
  return serial;
}

// The drive type less 1; "no root directory" and "cannot tell" give 0.
int driveKind(int letter) {
  int type = 0;
  YYOsDriveType(type, driveRoot(letter).c_str());
  return type < 2 ? 0 : type - 1;
}

bool currentDirectoryIsRoot() {
  FixedText<kPathLength> directory;
  IOsDirName(directory);
  return directory.view().substr(1, 3) == ":\\ ";
}

// Codes with a fixed answer.
struct FixedAnswer {
  int code;
  int answer;
};
constexpr std::array<FixedAnswer, 11> kFixedAnswers = {{
    {1, 6}, {4, '*'}, {5, '?'}, {6, '\\'}, {7, 0}, {8, 1}, {12, 1}, {13, 1}, {14, 1}, {18, 1}, {19, 0},
}};

}  // namespace

int YYSYSINFO(int code) {
  for (const auto& fixed : kFixedAnswers) {
    if (fixed.code == code) return fixed.answer;
  }
  if (code >= 'A' && code <= 'Z') return driveKind(code);
  if (code >= 'A' + 100 && code <= 'Z' + 100) return volumeSerial(code - 100);
  int value = 0;
  switch (code) {
    case 2: {
      FixedText<1> unused;
      return YYCmdLineCache(-1, unused);
    }
    case 3: {
      int major = 0, minor = 0;
      YYOsVersion(major, minor);
      return 100 * major + minor;
    }
    case 9:
      return currentDirectoryIsRoot() ? 1 : 0;
    case 10:
    case 11:
      return volumeSerial(code == 10 ? 'A' : 'B') != 0 ? 1 : 0;
    case 15:
      YYOsTickCount(value);
      return value;
    case 16:
      YYOsPlatform(value);
      return value;
    case 17:
      YYOsDiskFree(value);
      return value;
    case 20:
      return toolkitSettings.localeDecimalCode;
    default:
      return 0;
  }
}

void IOsAssociation(std::string_view fileName, TextField program) {
  program.blank();
  const std::string file = windowsText(fileName);
  char found[MAX_PATH + 1] = {};
  const auto result = reinterpret_cast<INT_PTR>(FindExecutableA(file.c_str(), nullptr, found));
  if (result == SE_ERR_FNF) {
    YYErrorReport(kFileNotFound, "IOsAssociation");
    return;
  }
  if (result <= 31) return;
  if (lstrlenA(found) >= program.length()) {
    YYErrorReport(kTextTooSmall, "IOsAssociation");
    return;
  }
  program.assign(found);
}

void YYBeepOnOff(std::string_view word) {
  FixedText<3> key(word.substr(0, 3));
  IStringUpper(key);
  if (key.view() == "ON ") {
    YYBeepEnable(kTrue);
  } else if (key.view() == "OFF") {
    YYBeepEnable(kFalse);
  } else {
    YYBeepIfEnabled();
  }
}

void YYLocaleDecimal(char& separator) {
  char buffer[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
  separator = buffer[0] != '\0' ? buffer[0] : '.';
  toolkitSettings.localeDecimalCode = static_cast<unsigned char>(separator);
}

void YYGradientAvailable(int& value) { value = yyGradientFill != nullptr ? 2 : 1; }
