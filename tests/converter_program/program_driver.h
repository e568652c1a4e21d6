#pragma once
// Driving the real Carrowmapper.exe from the test process: a scratch copy of
// the program folder per scenario, the running program found by its process
// id, its menu commands, its boxes and file dialogs answered as a user would,
// and its log read from the program's own memory.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace program_test {

inline constexpr const char* kMainTitle = "POI/Route/Track conversion utility";
inline constexpr const char* kRegistryPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tamsworth\\Carrowmapper";
inline constexpr const char* kRegistrySubKey = "SOFTWARE\\Tamsworth\\Carrowmapper";

// An empty folder of that name beside the test program, with its trailing backslash.
std::string freshFolder(const std::string& name);

// A copy of the built program folder (build/program) under the test's own
// folder, made afresh, with some of its files left out or added.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& name, const std::vector<std::string>& leaveOut = {});
  // The folder with its trailing backslash, and a file in it.
  const std::string& folder() const { return folder_; }
  std::string path(std::string_view file) const { return folder_ + std::string(file); }
  std::string program() const { return path("Carrowmapper.exe"); }
  void addFile(std::string_view file, std::string_view bytes) const;

 private:
  std::string folder_;
};

// The texts of a dialog or box: its title, then its static texts joined by "|".
struct BoxText {
  std::string title;
  std::string text;
};
BoxText readBox(HWND box);

// One run of the program.  The destructor ends a program still running.
class RunningProgram {
 public:
  explicit RunningProgram(const ProgramFolder& folder);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD processId() const { return info_.dwProcessId; }
  // The main window once it is shown; null when none came in time.
  HWND waitMainWindow(DWORD timeoutMs = 20000);
  // A visible dialog or box (class #32770) of the program with that title.
  HWND waitDialog(std::string_view title, DWORD timeoutMs = 10000) const;
  // Chooses a menu or toolbar command, as the menu does.
  void command(int id) const;
  // Closes the main window with its close box.
  void close() const;
  // Waits for the end; the exit code, or -1 when it did not end in time.
  int waitExit(DWORD timeoutMs = 20000);
  // The titles and texts of the program's boxes now shown, for failure messages.
  std::string shownBoxes() const;
  // The lines of the main window's log, as the program keeps them for drawing.
  std::vector<std::string> log() const;

 private:
  template <typename T>
  bool readGlobal(const char* symbol, T& value) const;

  std::string program_;
  PROCESS_INFORMATION info_{};
  HWND main_ = nullptr;
};

// Answers a file dialog as a user does: chooses the file type at the 1-based
// position of its list, types the name into the name field and presses OK.
void answerFileDialog(HWND dialog, int typePosition, std::string_view fileName);
// The file types a file dialog offers, in order.
std::vector<std::string> fileTypes(HWND dialog);
// Presses a button of a dialog.
void pressButton(HWND dialog, int id);

// Windows path of a Unix path of the build tree (Wine's drive Z:).
std::string windowsPath(std::string_view unixPath);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
bool fileExists(const std::string& path);
std::string fixture(std::string_view name);  // a fixture's Windows path

// The program's registry values: remove them all; read one ("" when missing).
void clearRegistry();
bool registryValue(std::string_view name, std::string& value);
void putRegistryValue(std::string_view name, std::string_view value);

}  // namespace program_test
