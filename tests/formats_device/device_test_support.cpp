#include "device_test_support.h"

#include <fstream>
#include <sstream>

#include "converter/log_display.h"

namespace device_test {

namespace {

std::vector<Box> recorded;

BOOL CALLBACK collectStatic(HWND child, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    char text[4096] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0] != '\0') *reinterpret_cast<std::string*>(out) += text;
  }
  return TRUE;
}

LRESULT CALLBACK onWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0) {
      Box box;
      char title[512] = {};
      GetWindowTextA(window, title, sizeof title);
      box.title = title;
      EnumChildWindows(window, collectStatic, reinterpret_cast<LPARAM>(&box.text));
      // The same box may be activated again; it is answered once.
      if (GetPropA(window, "answered") == nullptr) {
        recorded.push_back(box);
        SetPropA(window, "answered", reinterpret_cast<HANDLE>(1));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
  recorded.clear();
  hook_ = SetWindowsHookExA(WH_CBT, onWindowEvent, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

const std::vector<Box>& BoxAnswerer::boxes() const { return recorded; }

std::string BoxAnswerer::summary() const {
  std::string all;
  for (const Box& b : recorded) {
    if (!all.empty()) all += "|";
    all += b.title + ": " + b.text;
  }
  return all;
}

void BoxAnswerer::clear() { recorded.clear(); }

void resetConverter() {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  POINT_LIST.NROUTES = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  POINT_LIST.NTRACKPOINTS = 0;
  POINT_LIST.TRACK_POSITION = 0;
  CONVERTER_SETTINGS = ConverterSettings{};
  GARMIN_SETTINGS = GarminSettings{};
  TOMTOM_SETTINGS = TomTomSettings{};
  STOP_FLAG = kLogicalFalse;
  DEBUG_FLAG = kLogicalFalse;
  LOG_DISPLAY.LOG_COUNT = 0;
  FILE_DATE = "01/02/2003";
  FILE_TIME = "04:05:06";
  DEFAULT_DATE = "17/10/2007";
  DEFAULT_TIME = "12:00:00";
  FILE_NAMES.PROGRAM_FOLDER = windowsPath(CARROW_PROGRAM_DIR) + "\\";
  COMPANION_FILES.SYMBOL_FILE = FILE_NAMES.PROGRAM_FOLDER.str() + "default_symbol.bmp";
  COMPANION_FILES.PICTURE_FILE = FILE_NAMES.PROGRAM_FOLDER.str() + "default_pic.pic";
}

std::string lastLog() {
  if (LOG_DISPLAY.LOG_COUNT <= 0) return "";
  return LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(LOG_DISPLAY.LOG_COUNT - 1)].str();
}

std::string allLog() {
  std::string all;
  for (int k = 0; k < LOG_DISPLAY.LOG_COUNT; ++k) {
    if (k > 0) all += "|";
    all += LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k)].str();
  }
  return all;
}

ScratchFolder::ScratchFolder(const std::string& name) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  previous_ = current;
  folder_ = previous_ + "\\scratch_" + name;
  CreateDirectoryA(folder_.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  const std::string mask = folder_ + "\\*";
  HANDLE search = FindFirstFileA(mask.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetCurrentDirectoryA(folder_.c_str());
}

ScratchFolder::~ScratchFolder() { SetCurrentDirectoryA(previous_.c_str()); }

std::string ScratchFolder::path(std::string_view file) const { return folder_ + "\\" + std::string(file); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string windowsPath(std::string_view unixPath) {
  std::string path = "Z:" + std::string(unixPath);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string fixturePath(std::string_view name) {
  return windowsPath(CARROW_SOURCE_DIR) + "\\tests\\formats_device\\fixtures\\" + std::string(name);
}

std::string fixture(std::string_view name) { return readFile(fixturePath(name)); }

void readFileWith(void (*reader)(), const std::string& path) {
  POINT_LIST.NREAD = 0;
  FILE_NAMES.INPUT_FILE = path;
  reader();
}

std::string writeFileWith(void (*writer)(), const std::string& path) {
  FILE_NAMES.OUTPUT_FILE = path;
  writer();
  return readFile(path);
}

POINT_RECORD& addPoint(float longitude, float latitude, std::string_view description, std::string_view name) {
  POINT_LIST.NPOINTS += 1;
  POINT_RECORD& p = POINT_LIST.POINT(POINT_LIST.NPOINTS);
  p = POINT_RECORD{};
  p.LONGITUDE = longitude;
  p.LATITUDE = latitude;
  p.DESCRIPTION = description;
  p.NAME = name;
  return p;
}

std::string numbered(std::string text, long long number) { return text.append(std::to_string(number)); }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
  return out;
}

}  // namespace device_test
