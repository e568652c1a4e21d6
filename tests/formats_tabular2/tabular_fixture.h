#pragma once
// Shared helpers of the tabular-format tests: a clean converter state, files in
// the test's folder, points to write, and readers and writers run in a child
// process whose message boxes are answered and recorded here.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "converter/converter_data.h"

namespace tabular_test {

// Empties the list and the log, clears STOP_FLAG and restores the options.
// Points read get the file date 05/06/2007 and the time 10:20:30.
void resetConverter();

class Converter : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
};

void writeFile(const std::string& name, const std::string& bytes);
std::string readFile(const std::string& name);
void setInput(const std::string& name);
void setOutput(const std::string& name);

// A point as the other formats leave it: no altitude, proximity or symbol.
POINT_RECORD& addPoint(float latitude, float longitude, const std::string& name = "",
                       const std::string& description = "", const std::string& route = "");

// The last line of the log, and all of them.
std::string lastLog();
std::vector<std::string> logLines();

// Lines joined with CR LF, each ended by it: what the writers write.
std::string crlf(const std::vector<std::string>& lines);

// A message box shown by the child.
struct Box {
  std::string title;
  std::string text;  // its static texts; lines split by CR
};

// What a routine run in a child left behind.
struct ChildRun {
  int exitCode = -1;
  std::vector<Box> boxes;
  int npoints = -1;
  int nread = -1;
  int nroutes = -1;
  bool stop = false;
  std::string inputFile;
  std::vector<std::string> log;
  std::vector<std::string> points;  // "latitude|longitude|name|description|comment|route"
};

// Runs one reader or writer (by its routine name) in a child with INPUT_FILE and
// OUTPUT_FILE set to `file`, after filling the list with `prefill` points, and
// answers every box it shows with OK.  With diskRoom of 0 or more, the writes
// of file replacements fail once that many bytes are written, as on a full disk.
ChildRun runInChild(const std::string& routine, const std::string& file, int prefill = 0, long long diskRoom = -1);

// A routine by its name, for the child and the robustness runs.
using Routine = void (*)();
Routine routineNamed(const std::string& name);
extern const std::vector<std::string> kReaderNames;

// Answers every message box of the process with OK, recording what it showed.
void answerBoxes(DWORD pid, std::vector<Box>& seen, std::vector<HWND>& answered);

}  // namespace tabular_test
