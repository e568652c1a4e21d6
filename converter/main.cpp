// The program: start-up checks, the remembered choices, the main window, and
// the event loop that hands menu choices to PROCESSMENU until STOP_FLAG is set.

#include <windows.h>

#include <array>
#include <cstdlib>
#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/main_window.h"
#include "converter/menu_commands.h"
#include "converter/text_helpers.h"
#include "toolkit/core/events.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/startup.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;
constexpr int kRegistryText = 1;

struct CompanionCheck {
  std::string_view file;
  std::string_view message;
};
constexpr std::array<CompanionCheck, 3> kCompanions{{
    {"default_symbol.bmp",
     "Copy the TomTom Navigator default symbol file\rdefault_symbol.bmp into the same folder as the\r"
     "program Carrowmapper and restart."},
    {"default_pic.pic",
     "Copy the TomTom Route Planner default pic file\rdefault_pic.pic into the same folder as the\r"
     "program Carrowmapper and restart."},
    {"MakeOV2_v1-1.exe", "Copy the file MakeOV2_v1-1.exe into the\rsame folder as the program Carrowmapper\rand restart."},
}};

std::string inProgramFolder(std::string_view file) {
  return std::string(FILE_NAMES.PROGRAM_FOLDER.trimmed()) + std::string(file);
}

bool fileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

[[noreturn]] void endProgram() { std::exit(0); }

// Debug mode: the log beside the program, which only one instance may write.
void OPEN_DEBUG_LOG() {
  DEBUG_FLAG = fileExists(inProgramFolder("Debug.yes")) ? kLogicalTrue : kLogicalFalse;
  if (!isTrue(DEBUG_FLAG)) return;
  if (!DEBUG_LOG.open(inProgramFolder("debug.txt"))) {
    WMessageBox(kOkOnly, kInformationIcon, 1,
                "Carrowmapper is already running in Debug mode.\rThis instance of the program will be closed.",
                "Carrowmapper Debugging");
    endProgram();
  }
  DEBUG_WRITE({std::string("Carrowmapper version ") + std::string(VERSION.trimmed()) + " " +
               std::string(BUILD_DATE.view())});
  DEBUG_WRITE({FILE_NAMES.PROGRAM_FOLDER.trimmed()});
}

// The first missing companion file stops the program with a box naming it.
void CHECK_COMPANION_FILES() {
  COMPANION_FILES.SYMBOL_FILE = inProgramFolder(kCompanions[0].file);
  COMPANION_FILES.PICTURE_FILE = inProgramFolder(kCompanions[1].file);
  for (const CompanionCheck& companion : kCompanions) {
    if (fileExists(inProgramFolder(companion.file))) continue;
    WMessageBox(kOkOnly, kInformationIcon, 1, companion.message, "File missing");
    endProgram();
  }
}

// A remembered file type: two characters read as a whole number, blanks
// counting as nothing.  A missing value, or one that is not a number, is 0.
std::int32_t READ_FILTER_INDEX(std::string_view valueName) {
  FixedText<2> text;
  int kind = kRegistryText;
  IOsRegistryGet(kRegistryKey, text.field(), valueName, &kind);
  if (kind < 0) return 0;
  std::int32_t value = 0;
  for (char c : text.view()) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

void READ_REGISTRY() {
  int kind = kRegistryText;
  FILE_NAMES.LAST_INPUT_FILE.blank();
  IOsRegistryGet(kRegistryKey, FILE_NAMES.LAST_INPUT_FILE.field(), kInputFileValue, &kind);
  if (kind < 0) FILE_NAMES.LAST_INPUT_FILE.blank();
  for (std::size_t i = 0; i < FILTER_INDICES.size(); ++i) FILTER_INDICES[i] = READ_FILTER_INDEX(kFilterIndexValues[i]);
}

}  // namespace

[[noreturn]] void CARROWMAPPER() {
  FixedText<256> programPath;
  IOsCmdLineItem(0, programPath);
  FILE_NAMES.PROGRAM_FOLDER = programPath;
  ROOT(FILE_NAMES.PROGRAM_FOLDER);

  OPEN_DEBUG_LOG();
  CHECK_COMPANION_FILES();
  READ_REGISTRY();
  OPEN_MAIN_WINDOW();
  // STOP_FLAG is looked at between events only: a command that sets it runs to its end.
  EventRecord event;
  while (!isTrue(STOP_FLAG)) {
    const int type = WEventWait(event);
    PROCESS_EVENT(type, event);
  }

  WShutdown();
  DEBUG_WRITE({"Window closed"});
  endProgram();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { CARROWMAPPER(); }
