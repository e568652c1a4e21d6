#include "toolkit/core/startup.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/ini_settings.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/processes.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_select.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

constexpr int kInitialised = -9999;
constexpr int kCommandLineLength = 1024;
constexpr int kLongestColourExponent = 24;
constexpr int kTempNameTries = 100;
constexpr const char* kIniFileName = "zandro.ini";

struct CommandLineCache {
  FixedText<kCommandLineLength> text;
  bool filled = false;
};
CommandLineCache commandLine;

void fillCommandLineCache() {
  if (commandLine.filled) return;
  // Cut to the cache: a longer command line loses its end, never overruns.
  char buffer[kCommandLineLength + 1] = {};
  YYOsCommandLine(buffer, sizeof buffer);
  commandLine.text.assign(buffer);
  commandLine.filled = true;
}

// The columns of the next item from `pos` (0-based); false when there is none.
// A quoted item runs to the next quote (or the end) without its quotes.
bool nextItem(std::string_view line, std::size_t& pos, std::string_view& item) {
  for (;;) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size()) return false;
    if (line[pos] == '"') {
      const std::size_t close = line.find('"', pos + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      item = line.substr(pos + 1, end - pos - 1);
      pos = close == std::string_view::npos ? line.size() : close + 1;
      if (item.empty()) continue;  // "" alone is no item
      return true;
    }
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    item = line.substr(pos, end - pos);
    pos = end;
    return true;
  }
}

std::string programPath() {
  char path[kPathLength] = {};
  YYOsModulePath(path, kPathLength);
  return path;
}

std::string withBackslash(std::string directory) {
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory;
}

// The first of prefix00 ... prefix99 + extension that does not exist; 99 when all do.
std::string firstFreeName(const std::string& prefix, std::string_view extension) {
  std::string name;
  for (int n = 0; n < kTempNameTries; ++n) {
    name = prefix + formatI(n, 2, 2) + std::string(extension);
    if (!YYOsFileExists(name.c_str())) break;
  }
  return name;
}

std::string iniFileSearch() {
  FixedText<kPathLength> named;
  IOsVariable("ZNDVINIT", named);
  if (!named.isBlank() && YYOsFileExists(named.str().c_str())) return named.str();
  if (YYOsFileExists(kIniFileName)) return kIniFileName;
  const ToolkitSettings& s = toolkitSettings;
  if (s.toolkitDirectory.isBlank()) return kIniFileName;
  const std::string inToolkit = s.toolkitDirectory.str() + kIniFileName;
  return YYOsFileExists(inToolkit.c_str()) ? inToolkit : std::string();
}

void readSystemDirectory() {
  char buffer[kPathLength] = {};
  int error = 0;
  YYOsSystemDir(buffer, kPathLength, error);
  toolkitSettings.systemDirectory.assign(error == 0 ? buffer : "");
}

// A one-character variable "0" to "4" selects that reporting mode.
void reportingModeFromEnvironment() {
  FixedText<1> value;
  IOsVariable("ZNDVDEBUG", value);
  YYErrorModeSet(static_cast<unsigned char>(value.column(1)) - '0');
}

// The start values of the state that other parts of the toolkit keep.
void resetToolkitState() {
  ToolkitSettings& s = toolkitSettings;
  YYErrorStateReset();
  s.PLOTTER = s.HPGL2 = s.PRINTER = 0;
  s.LFNPLOTO = 41;
  s.LFNPLOTI = 42;
  s.undefinedInteger = -999;
  s.undefinedReal = -999.0f;
  s.undefinedDouble = -999.0;
  yyGrAttributes.ScreenDriverOn = 0;
  yyGrAttributes.HardcopyOpen = 0;
  yyGrAttributes.WindowSelectOption = 0;
  yyGrState.ActiveDriver = 0;
  yyGrState.SurfaceAspect = 1.32f;
  for (auto& slot : yyMetafileSlots) slot = YYMetafileSlot{};
  yyRasterDevice.deviceCode = yyRasterDevice.plotterModel = yyRasterDevice.hpgl2Model = 0;
  yyRasterDevice.deviceCodeGiven = yyRasterDevice.plotterModelGiven = yyRasterDevice.hpgl2ModelGiven = 0;
  yyDumpSettings.printerPresent = 0;
}

// Reads the named ini file when it opens, else the one found by search.
bool readIniFile(std::string_view named) {
  bool versionAsked = false;
  const std::string given = windowsText(named);
  if (!given.empty() && YYIniFileRead(given.c_str(), versionAsked)) return versionAsked;
  if (!toolkitSettings.iniFilePath.isBlank()) YYIniFileRead(toolkitSettings.iniFilePath.str().c_str(), versionAsked);
  return versionAsked;
}

void hardcopyDefaults() {
  const ToolkitSettings& s = toolkitSettings;
  yyRasterDevice.hpgl2Model = 0;
  YYHardcopyDevice(s.PRINTER);
  YYPlotterModel(s.PLOTTER);
  if (!(s.HPGL2 == 0 && yyRasterDevice.hpgl2ModelGiven != 0)) YYHpgl2Model(s.HPGL2);
  YYHardcopyFileNames(0);
}

}  // namespace

void WStartup(std::string_view iniFile) {
  ToolkitSettings& s = toolkitSettings;
  if (s.initialisedMarker == kInitialised) return;
  s.initialisedMarker = kInitialised;

  int deviceKind = 0;
  YYScreenMetrics(s.screenWidth, s.screenHeight, s.colourCount, s.colourDepthCode, deviceKind);
  YYToolkitDir();
  resetToolkitState();
  YYBeepEnable(kTrue);
  s.CHARDIR.assign(s.toolkitDirectory.isBlank() ? "" : s.toolkitDirectory.str() + "charsets");
  s.iniFilePath.assign(iniFileSearch());
  yyDumpSettings.fileName.blank();
  yyHardcopyOutputName.blank();
  s.CHARSET = "standard.chr";
  YYTempFileNames();
  readSystemDirectory();
  reportingModeFromEnvironment();
  errorState.lastError = 0;
  fillCommandLineCache();

  const bool versionAsked = readIniFile(iniFile);

  if (!s.CHARDIR.isBlank()) s.CHARDIR.assign(withBackslash(s.CHARDIR.str()));
  hardcopyDefaults();
  if (versionAsked) {
    FixedText<5> version;
    YYVersionText(version, 2);
    YYAbnormalExit("Zandrovel version " + version.str(), 0);
  }
}

void IOsCmdLineItem(int n, TextField text) {
  text.blank();
  if (n >= 0) YYCmdLineCache(n, text);
}

int YYCmdLineCache(int n, TextField text) {
  fillCommandLineCache();
  const std::string_view line = commandLine.text.view();
  std::size_t pos = 0;
  std::string_view item;
  int last = 0;  // item 0, the program, is there even on an empty command line
  for (int number = 0; nextItem(line, pos, item); ++number) {
    last = number;
    if (number == n) break;
  }
  if (n < 0 || n > last) return last;
  if (n == 0) {
    text.assign(programPath());
  } else {
    text.assign(item);
  }
  return n;
}

void YYScreenMetrics(int& width, int& height, int& colourCount, int& depthCode, int& deviceKind) {
  const HWND desktop = GetDesktopWindow();
  const HDC dc = GetDC(desktop);
  width = GetDeviceCaps(dc, HORZRES);
  height = GetDeviceCaps(dc, VERTRES);
  toolkitSettings.pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  const int planes = GetDeviceCaps(dc, PLANES);
  const int bits = std::min(GetDeviceCaps(dc, BITSPIXEL), kLongestColourExponent);
  ReleaseDC(desktop, dc);

  const int exponent = std::clamp(planes * bits, 0, kLongestColourExponent);
  colourCount = 1 << exponent;
  switch (colourCount) {
    case 2:
      depthCode = 2;
      break;
    case 16:
      depthCode = 8;
      break;
    case 256:
      depthCode = 16;
      break;
    default:
      depthCode = 256;
      break;
  }
  deviceKind = 3;

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  toolkitSettings.ntFlag = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? kTrue : kFalse;
  toolkitSettings.windowsMajorVersion = static_cast<int>(version.dwMajorVersion);
}

void YYToolkitDir() {
  ToolkitSettings& s = toolkitSettings;
  FixedText<kPathLength> value;
  IOsVariable("ZANDRO", value);
  if (!value.isBlank()) {
    s.toolkitDirectory.assign(withBackslash(value.str()));
  } else if (IOsVariable("ZOVE", value); !value.isBlank()) {
    // The directory above the last "ZOVE" in the value, whatever its case.
    const int at = IStringFindNoCase(value.view(), "ZOVE", true);
    s.toolkitDirectory.assign(at > 0 ? value.view().substr(0, static_cast<std::size_t>(at - 1)) : value.trimmed());
  } else {
    FixedText<kPathLength> current;
    IOsDirName(current);
    s.toolkitDirectory.assign(std::string(current.view().substr(0, 2)) + "\\zndv\\");
  }
  YYLocaleDecimal(s.localeDecimalSeparator);
  s.decimalSeparatorSwitch = false;
  s.LFNGEN = 40;
}

void YYTempFileNames() {
  FixedText<kPathLength> directory;
  IOsVariable("TEMP", directory);
  if (directory.isBlank()) IOsVariable("TMP", directory);
  const std::string folder = withBackslash(directory.isBlank() ? std::string("C:\\") : directory.str());
  toolkitSettings.tempPlotFile.assign(firstFreeName(folder + "qvr$$", ".plt"));
  toolkitSettings.tempDumpFile.assign(firstFreeName(folder + "qvr$$", ".dmp"));
}

void YYAbnormalExit(std::string_view message, int code) {
  if (!text::isBlank(message)) {
    const std::string codeText = text::withoutLeadingBlanks(formatI(code, 4));
    std::string line = "Abnormal exit (code " + codeText + ") : " + std::string(text::trimmed(message));
    if (line.size() > 259) line.resize(259);
    YYOsErrorBox("Zandrovel", line.c_str());
  }
  YYOsExit(code);
}
