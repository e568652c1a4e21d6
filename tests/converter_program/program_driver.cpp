#include "program_driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "converter/log_display.h"
#include "support/ui_driver.h"
#include "toolkit/core/registry.h"

namespace program_test {
namespace {

constexpr int kFileTypeCombo = 0x470;  // cmb1 of the common file dialogs
constexpr int kFileNameCombo = 0x47c;  // cmb13: the name field of the explorer-style dialog
constexpr int kFileNameEdit = 0x480;   // edt1: the name field of the older one

using ui::classOf;
using ui::textOf;

BOOL CALLBACK collectStatic(HWND child, LPARAM out) {
  if (lstrcmpiA(classOf(child).c_str(), "Static") == 0) {
    const std::string text = textOf(child);
    if (!text.empty()) {
      auto& all = *reinterpret_cast<std::string*>(out);
      if (!all.empty()) all += "|";
      all += text;
    }
  }
  return TRUE;
}

struct WindowSearch {
  DWORD pid = 0;
  std::string className;  // empty: any
  std::string title;
  HWND found = nullptr;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.pid || !IsWindowVisible(window)) return TRUE;
  if (!search.className.empty() && classOf(window) != search.className) return TRUE;
  if (textOf(window) != search.title) return TRUE;
  search.found = window;
  return FALSE;
}

HWND waitTopLevel(DWORD pid, const std::string& className, std::string_view title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search{pid, className, std::string(title)};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

// C names carry a leading underscore in 32-bit images only.
constexpr std::string_view kSymbolPrefix = sizeof(void*) == 4 ? "_" : "";

// Where a global of the program lies relative to its image base, from the
// symbol table of the program file: section address + value (0 if not found).
DWORD symbolOffset(const std::string& program, std::string_view symbol) {
  const std::string image = readFile(program);
  auto at = [&](std::size_t offset, auto& value) {
    if (offset + sizeof value <= image.size()) std::memcpy(&value, image.data() + offset, sizeof value);
  };
  DWORD pe = 0;
  at(0x3c, pe);
  WORD sections = 0;
  DWORD symbols = 0;
  DWORD symbolCount = 0;
  WORD optionalSize = 0;
  at(pe + 6, sections);
  at(pe + 12, symbols);
  at(pe + 16, symbolCount);
  at(pe + 20, optionalSize);
  const std::size_t optional = pe + 24;
  const std::size_t sectionTable = optional + optionalSize;
  const std::size_t strings = symbols + 18 * static_cast<std::size_t>(symbolCount);
  for (DWORD i = 0; i < symbolCount; ++i) {
    const std::size_t entry = symbols + 18 * static_cast<std::size_t>(i);
    if (entry + 18 > image.size()) break;
    std::string name;
    DWORD zero = 1;
    at(entry, zero);
    if (zero == 0) {
      DWORD offset = 0;
      at(entry + 4, offset);
      if (strings + offset < image.size()) name = image.c_str() + strings + offset;
    } else {
      name.assign(image.data() + entry, strnlen(image.data() + entry, 8));
    }
    BYTE aux = 0;
    at(entry + 17, aux);
    if (name.size() == kSymbolPrefix.size() + symbol.size() && name.starts_with(kSymbolPrefix) &&
        name.ends_with(symbol)) {
      DWORD value = 0;
      SHORT section = 0;
      at(entry + 8, value);
      at(entry + 12, section);
      if (section < 1 || section > sections) return 0;
      DWORD sectionAddress = 0;
      at(sectionTable + 40 * static_cast<std::size_t>(section - 1) + 12, sectionAddress);
      return sectionAddress + value;
    }
    i += aux;
  }
  return 0;
}

}  // namespace

BoxText readBox(HWND box) {
  BoxText seen;
  seen.title = textOf(box);
  EnumChildWindows(box, collectStatic, reinterpret_cast<LPARAM>(&seen.text));
  return seen;
}

std::string windowsPath(std::string_view unixPath) {
  std::string path = "Z:" + std::string(unixPath);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string readFile(const std::string& path) {
  // Others may hold the file open for writing, as the program holds its debug log.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string fixture(std::string_view name) {
  return windowsPath(CARROW_SOURCE_DIR) + "\\tests\\converter_program\\fixtures\\" + std::string(name);
}

std::string freshFolder(const std::string& name) {
  // Beside the test program, whatever the current directory is.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string base(self);
  base.resize(base.find_last_of('\\') + 1);
  base += "scenarios\\";
  CreateDirectoryA(base.c_str(), nullptr);
  const std::string folder = base + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  // Afresh: whatever an earlier run left goes.
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return folder;
}

ProgramFolder::ProgramFolder(const std::string& name, const std::vector<std::string>& leaveOut)
    : folder_(freshFolder(name)) {
  const std::string source = windowsPath(CARROW_PROGRAM_DIR) + "\\";
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((source + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (std::find(leaveOut.begin(), leaveOut.end(), file) != leaveOut.end()) continue;
      CopyFileA((source + file).c_str(), (folder_ + file).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
}

void ProgramFolder::addFile(std::string_view file, std::string_view bytes) const { writeFile(path(file), bytes); }

RunningProgram::RunningProgram(const ProgramFolder& folder) : program_(folder.program()) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + program_ + "\"";
  CreateProcessA(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.folder().c_str(),
                 &startup, &info_);
}

RunningProgram::~RunningProgram() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

HWND RunningProgram::waitMainWindow(DWORD timeoutMs) {
  if (info_.hProcess == nullptr) return nullptr;
  main_ = waitTopLevel(info_.dwProcessId, "", kMainTitle, timeoutMs);
  return main_;
}

HWND RunningProgram::waitDialog(std::string_view title, DWORD timeoutMs) const {
  if (info_.hProcess == nullptr) return nullptr;
  return waitTopLevel(info_.dwProcessId, "#32770", title, timeoutMs);
}

void RunningProgram::command(int id) const { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void RunningProgram::close() const { PostMessageA(main_, WM_CLOSE, 0, 0); }

int RunningProgram::waitExit(DWORD timeoutMs) {
  if (info_.hProcess == nullptr) return -1;
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<int>(code);
}

namespace {
struct BoxList {
  DWORD pid = 0;
  std::string all;
};
BOOL CALLBACK listBoxes(HWND window, LPARAM data) {
  auto& list = *reinterpret_cast<BoxList*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == list.pid && IsWindowVisible(window) && classOf(window) == "#32770") {
    const BoxText box = readBox(window);
    list.all += "[" + box.title + ": " + box.text + "]";
  }
  return TRUE;
}
}  // namespace

std::string RunningProgram::shownBoxes() const {
  BoxList list{info_.dwProcessId, {}};
  EnumWindows(listBoxes, reinterpret_cast<LPARAM>(&list));
  return list.all;
}

template <typename T>
bool RunningProgram::readGlobal(const char* symbol, T& value) const {
  const DWORD offset = symbolOffset(program_, symbol);
  if (offset == 0) return false;
  // The image may have been loaded elsewhere than its preferred base.
  HMODULE modules[1] = {};
  DWORD needed = 0;
  if (!EnumProcessModules(info_.hProcess, modules, sizeof modules, &needed) || needed == 0) return false;
  SIZE_T got = 0;
  const auto at = reinterpret_cast<LPCVOID>(reinterpret_cast<UINT_PTR>(modules[0]) + offset);
  return ReadProcessMemory(info_.hProcess, at, &value, sizeof value, &got) && got == sizeof value;
}

std::vector<std::string> RunningProgram::log() const {
  static LogDisplay display;  // large: kept off the stack
  std::vector<std::string> lines;
  if (!readGlobal("LOG_DISPLAY", display)) return {"(the log could not be read)"};
  for (int k = 0; k < std::clamp(display.LOG_COUNT, 0, LogDisplay::LOG_MAX); ++k) {
    lines.push_back(display.LOG_LINES[static_cast<std::size_t>(k)].str());
  }
  return lines;
}

void pressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::vector<std::string> fileTypes(HWND dialog) {
  std::vector<std::string> types;
  HWND combo = GetDlgItem(dialog, kFileTypeCombo);
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    if (SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof text)) {
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    types.emplace_back(text);
  }
  return types;
}

void answerFileDialog(HWND dialog, int typePosition, std::string_view fileName) {
  HWND types = GetDlgItem(dialog, kFileTypeCombo);
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(typePosition - 1), 0);
  // What the combo box tells its dialog when the user picks an entry.
  for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK}) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, notification), reinterpret_cast<LPARAM>(types));
  }
  HWND name = GetDlgItem(dialog, kFileNameCombo);
  if (name == nullptr) name = GetDlgItem(dialog, kFileNameEdit);
  const std::string text(fileName);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  pressButton(dialog, IDOK);
}

void clearRegistry() {
  int status = 0;
  YYRegDeleteKey(HKEY_LOCAL_MACHINE, status, kRegistrySubKey);
}

bool registryValue(std::string_view name, std::string& value) {
  FixedText<512> text;
  int type = 0;
  int length = 0;
  IOsRegistryGet(kRegistryPath, text.field(), name, &type, &length);
  // The stored length tells trailing blanks from the padding of the text.
  value = type < 0 ? std::string() : std::string(text.view().substr(0, static_cast<std::size_t>(std::clamp(length, 0, 512))));
  return type >= 0;
}

void putRegistryValue(std::string_view name, std::string_view value) {
  IOsRegistryPut(kRegistryPath, value, name, 1);
}

}  // namespace program_test
