#include "formats_tabular2/tabular_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "converter/log_display.h"
#include "converter_helpers/box_answer.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/memorymap.h"
#include "formats/tabular/oziexplorer.h"
#include "formats/tabular/pocketstreets.h"
#include "support/child_process.h"
#include "support/write_failure.h"

namespace tabular_test {

void resetConverter() {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  POINT_LIST.NROUTES = 0;
  POINT_LIST.NTRACKPOINTS = 0;
  POINT_LIST.TRACK_POSITION = 0;
  POINT_LIST.CURRENT_ROUTE.blank();
  LOG_DISPLAY.LOG_COUNT = 0;
  STOP_FLAG = kLogicalFalse;
  CONVERTER_SETTINGS = ConverterSettings{};
  MAPTECH_SETTINGS = MaptechSettings{};
  OZIEXPLORER_SETTINGS = OziExplorerSettings{};
  FILE_NAMES.INPUT_FILE.blank();
  FILE_NAMES.OUTPUT_FILE.blank();
  FILE_DATE = "05/06/2007";
  FILE_TIME = "10:20:30";
}

void writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void setInput(const std::string& name) { FILE_NAMES.INPUT_FILE = name; }
void setOutput(const std::string& name) { FILE_NAMES.OUTPUT_FILE = name; }

POINT_RECORD& addPoint(float latitude, float longitude, const std::string& name, const std::string& description,
                       const std::string& route) {
  POINT_RECORD* point = STORE_POINT();
  point->LATITUDE = latitude;
  point->LONGITUDE = longitude;
  point->NAME = name;
  point->DESCRIPTION = description;
  point->ROUTE_NAME = route;
  point->DATE = "01/01/2000";
  point->TIME = "12:00:00";
  return *point;
}

std::string lastLog() {
  if (LOG_DISPLAY.LOG_COUNT < 1) return "<empty log>";
  return LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(LOG_DISPLAY.LOG_COUNT - 1)].str();
}

std::vector<std::string> logLines() {
  std::vector<std::string> lines;
  for (int k = 0; k < LOG_DISPLAY.LOG_COUNT; ++k) lines.push_back(LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k)].str());
  return lines;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += line + "\r\n";
  return all;
}

const std::vector<std::string> kReaderNames{"READ_MM_MARKS_CSV", "READ_PSP", "READ_OZI_WPT", "READ_OZI_RTE",
                                            "READ_OZI_PLT",      "READ_MXF", "READ_RXF",     "READ_TXF"};

Routine routineNamed(const std::string& name) {
  static const std::map<std::string, Routine> routines{
      {"READ_MM_MARKS_CSV", READ_MM_MARKS_CSV}, {"WRITE_MM_MARKS_CSV", WRITE_MM_MARKS_CSV},
      {"READ_PSP", READ_PSP},                   {"READ_OZI_WPT", READ_OZI_WPT},
      {"WRITE_OZI_WPT", WRITE_OZI_WPT},         {"READ_OZI_RTE", READ_OZI_RTE},
      {"WRITE_OZI_RTE", WRITE_OZI_RTE},         {"READ_OZI_PLT", READ_OZI_PLT},
      {"WRITE_OZI_PLT", WRITE_OZI_PLT},         {"READ_MXF", READ_MXF},
      {"WRITE_MXF", WRITE_MXF},                 {"READ_RXF", READ_RXF},
      {"WRITE_RXF", WRITE_RXF},                 {"READ_TXF", READ_TXF},
      {"WRITE_TXF", WRITE_TXF}};
  const auto it = routines.find(name);
  return it == routines.end() ? nullptr : it->second;
}

// --- boxes of another process ---

namespace {

struct BoxSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collectBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<BoxSearch*>(data);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

constexpr const char* kResultFile = "tabular2_child_result.txt";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The child: fills the list, runs the routine and writes what it left behind.
testing_support::ChildScenario runRoutine("tabular2-run", [] {
  resetConverter();
  const int prefill = std::atoi(environment("TAB2_PREFILL").c_str());
  for (int i = 1; i <= prefill; ++i) {
    POINT_RECORD* point = STORE_POINT();
    point->LATITUDE = 50.0f;
    point->LONGITUDE = 1.0f;
    point->NAME = std::string(1, 'P').append(std::to_string(i));
    point->ROUTE_NAME = "Prefilled";
  }
  POINT_LIST.NREAD = 0;
  setInput(environment("TAB2_FILE"));
  setOutput(environment("TAB2_FILE"));
  Routine routine = routineNamed(environment("TAB2_ROUTINE"));
  if (routine == nullptr) ExitProcess(97);
  std::optional<write_failure::DiskFills> full;
  if (const std::string room = environment("TAB2_DISK_ROOM"); !room.empty()) full.emplace(std::stoul(room));
  routine();
  full.reset();
  std::ofstream out(kResultFile, std::ios::binary | std::ios::trunc);
  out << "npoints=" << POINT_LIST.NPOINTS << "\nnread=" << POINT_LIST.NREAD << "\nnroutes=" << POINT_LIST.NROUTES
      << "\nstop=" << (isTrue(STOP_FLAG) ? 1 : 0) << "\ninput=" << FILE_NAMES.INPUT_FILE.str() << "\n";
  for (const std::string& line : logLines()) out << "log=" << line << "\n";
  for (int i = prefill + 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    out << "point=" << p.LATITUDE << "|" << p.LONGITUDE << "|" << p.NAME.str() << "|" << p.DESCRIPTION.str() << "|"
        << p.COMMENT.str() << "|" << p.ROUTE_NAME.str() << "\n";
  }
});

}  // namespace

void answerBoxes(DWORD pid, std::vector<Box>& seen, std::vector<HWND>& answered) {
  BoxSearch search{pid, {}};
  EnumWindows(collectBox, reinterpret_cast<LPARAM>(&search));
  // A box closed since lets its handle be used again.
  answered.erase(std::remove_if(answered.begin(), answered.end(), [](HWND w) { return !IsWindow(w); }),
                 answered.end());
  for (HWND box : search.found) {
    if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
    Box b;
    char title[256] = {};
    GetWindowTextA(box, title, sizeof title);
    b.title = title;
    EnumChildWindows(box, box_answer::collectStatic, reinterpret_cast<LPARAM>(&b.text));
    seen.push_back(b);
    answered.push_back(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

// Under Xvfb without a window manager, Wine waits two seconds for every closed
// window of a managed program to be withdrawn.  The children of this program
// are marked unmanaged in the Wine prefix's settings for programs of its name,
// so that each box they show costs a fraction of a second.
void leaveChildrenUnmanaged() {
  static bool done = false;
  if (done) return;
  done = true;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path);
  const std::string program = full.substr(full.find_last_of("\\/") + 1);
  const std::string key = "Software\\Wine\\AppDefaults\\" + program + "\\X11 Driver";
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  RegCloseKey(handle);
}

ChildRun runInChild(const std::string& routine, const std::string& file, int prefill, long long diskRoom) {
  leaveChildrenUnmanaged();
  DeleteFileA(kResultFile);
  ChildRun run;
  std::vector<HWND> answered;
  const std::string environmentText =
      "TAB2_ROUTINE=" + routine + "\nTAB2_FILE=" + file + "\nTAB2_PREFILL=" + std::to_string(prefill) +
      (diskRoom >= 0 ? "\nTAB2_DISK_ROOM=" + std::to_string(diskRoom) : std::string());
  run.exitCode = testing_support::runChildScenario(
      "tabular2-run", [&](DWORD pid) { answerBoxes(pid, run.boxes, answered); }, 60000, environmentText);
  std::istringstream result(readFile(kResultFile));
  std::string line;
  while (std::getline(result, line)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (key == "npoints") run.npoints = std::stoi(value);
    if (key == "nread") run.nread = std::stoi(value);
    if (key == "nroutes") run.nroutes = std::stoi(value);
    if (key == "stop") run.stop = value == "1";
    if (key == "input") run.inputFile = value;
    if (key == "log") run.log.push_back(value);
    if (key == "point") run.points.push_back(value);
  }
  return run;
}

}  // namespace tabular_test
