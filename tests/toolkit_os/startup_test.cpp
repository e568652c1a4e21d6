// Start-up runs once per process, so every case runs WStartup in a child copy of
// the test program, which reports the settings back through a file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "os_test_support.h"
#include "support/child_process.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

using os_test::Report;
using os_test::ScratchDir;

std::string str(int v) { return std::to_string(v); }

Report settingsReport() {
  const ToolkitSettings& s = toolkitSettings;
  const YYRasterDevice& d = yyRasterDevice;
  return {
      {"marker", str(s.initialisedMarker)},
      {"toolkitDir", s.toolkitDirectory.str()},
      {"CHARDIR", s.CHARDIR.str()},
      {"CHARSET", s.CHARSET.str()},
      {"iniFile", s.iniFilePath.str()},
      {"tempPlot", s.tempPlotFile.str()},
      {"tempDump", s.tempDumpFile.str()},
      {"systemDir", s.systemDirectory.str()},
      {"mode", str(errorState.reportingMode)},
      {"lastError", str(errorState.lastError)},
      {"LFNGEN", str(s.LFNGEN)},
      {"LFNPLOTO", str(s.LFNPLOTO)},
      {"LFNPLOTI", str(s.LFNPLOTI)},
      {"PRINTER", str(s.PRINTER)},
      {"PLOTTER", str(s.PLOTTER)},
      {"HPGL2", str(s.HPGL2)},
      {"deviceCode", str(d.deviceCode)},
      {"deviceCodeGiven", str(d.deviceCodeGiven)},
      {"printerType", str(d.printerType)},
      {"bestResolution", str(d.resolutions[0])},
      {"plotterModel", str(d.plotterModel)},
      {"hpgl2Model", str(d.hpgl2Model)},
      {"dumpKind", str(yyDumpSettings.dumpKind)},
      {"printerPresent", str(yyDumpSettings.printerPresent)},
      {"dumpPaper", str(yyDumpSettings.paperWidth) + "x" + str(yyDumpSettings.paperHeight)},
      {"dumpPage", str(yyDumpSettings.pageWidth) + "x" + str(yyDumpSettings.pageHeight)},
      {"beeps", str(s.beepsAllowed)},
      {"screenWidth", str(s.screenWidth)},
      {"screenHeight", str(s.screenHeight)},
      {"colourCount", str(s.colourCount)},
      {"depthCode", str(s.colourDepthCode)},
      {"ppi", str(s.pixelsPerInch)},
      {"nt", str(s.ntFlag)},
      {"decimalSwitch", str(s.decimalSeparatorSwitch ? 1 : 0)},
      {"aspect", std::to_string(yyGrState.SurfaceAspect)},
      {"undefined", str(s.undefinedInteger) + "/" + std::to_string(s.undefinedDouble)},
  };
}

// The child: moves to CARROW_TEST_CWD, starts the toolkit with CARROW_TEST_INI_ARG,
// optionally starts it again after changing the environment, and reports.
testing_support::ChildScenario startupReport("startup-report", [] {
  const std::string cwd = os_test::environment("CARROW_TEST_CWD");
  if (!cwd.empty()) SetCurrentDirectoryA(cwd.c_str());
  WStartup(os_test::environment("CARROW_TEST_INI_ARG"));
  if (os_test::environment("CARROW_TEST_SECOND_CALL") == "1") {
    SetEnvironmentVariableA("ZANDRO", "Q:\\elsewhere");
    SetEnvironmentVariableA("ZNDVDEBUG", "3");
    WStartup();
  }
  os_test::writeReport(os_test::environment("CARROW_TEST_REPORT"), settingsReport());
});

struct StartupCase {
  std::string name;
  std::string environment;  // NAME=VALUE lines on top of the blank toolkit variables
  std::string cwdIni;       // zandro.ini in the child's current directory, when not empty
  Report expected;
};

// Runs one case in a fresh working directory and returns the child's report.
Report runStartup(const ScratchDir& work, const std::string& environment, const std::string& cwdIni) {
  if (!cwdIni.empty()) os_test::writeFile(work / "zandro.ini", cwdIni);
  const std::string report = work / "report.txt";
  const std::string env = "ZANDRO=\nZOVE=\nZNDVINIT=\nZNDVDEBUG=\nCARROW_TEST_INI_ARG=\nCARROW_TEST_SECOND_CALL=\n"
                          "CARROW_TEST_CWD=" + work.path() + "\nCARROW_TEST_REPORT=" + report + "\n" + environment;
  EXPECT_EQ(testing_support::runChildScenario("startup-report", {}, 60000, env), 0);
  return os_test::readReport(report);
}

void expectReport(const std::string& name, const Report& got, const Report& expected) {
  for (const auto& [key, value] : expected) {
    const auto it = got.find(key);
    ASSERT_NE(it, got.end()) << name << ": no " << key;
    EXPECT_EQ(it->second, value) << name << ": " << key;
  }
}

TEST(Startup, ToolkitDirectoryComesFromZandroZoveOrTheCurrentDrive) {
  ScratchDir work("startup_dirs");
  const std::string drive = work.path().substr(0, 2);
  const std::vector<StartupCase> cases = {
      {"ZANDRO without backslash", "ZANDRO=D:\\tk", "", {{"toolkitDir", "D:\\tk\\"}, {"CHARDIR", "D:\\tk\\charsets\\"}}},
      {"ZANDRO with backslash", "ZANDRO=D:\\tk\\", "", {{"toolkitDir", "D:\\tk\\"}}},
      {"ZANDRO wins over ZOVE", "ZANDRO=D:\\tk\nZOVE=E:\\zove", "", {{"toolkitDir", "D:\\tk\\"}}},
      {"ZOVE cut before its last ZOVE, any case", "ZOVE=D:\\Apps\\Zove\\bin", "",
       {{"toolkitDir", "D:\\Apps\\"}, {"CHARDIR", "D:\\Apps\\charsets\\"}}},
      {"ZOVE without ZOVE in it is taken whole", "ZOVE=D:\\other", "", {{"toolkitDir", "D:\\other"}}},
      {"neither: the current drive", "", "",
       {{"toolkitDir", drive + "\\zndv\\"}, {"CHARDIR", drive + "\\zndv\\charsets\\"}}},
      {"ZOVE that is only ZOVE leaves the directory blank", "ZOVE=zove", "",
       {{"toolkitDir", ""}, {"CHARDIR", ""}, {"iniFile", "zandro.ini"}}},
  };
  for (const auto& c : cases) expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
}

TEST(Startup, StartValuesAndMeasurements) {
  ScratchDir work("startup_defaults");
  const Report got = runStartup(work, "ZANDRO=D:\\tk", "");
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  expectReport("defaults", got,
               {{"marker", "-9999"},
                {"CHARSET", "standard.chr"},
                {"systemDir", system},
                {"mode", "0"},
                {"lastError", "0"},
                {"LFNGEN", "40"},
                {"LFNPLOTO", "41"},
                {"LFNPLOTI", "42"},
                {"PRINTER", "0"},
                {"beeps", "-1"},
                {"decimalSwitch", "0"},
                {"aspect", std::to_string(1.32f)},
                {"undefined", "-999/" + std::to_string(-999.0)},
                {"screenWidth", str(GetSystemMetrics(SM_CXSCREEN))},
                {"screenHeight", str(GetSystemMetrics(SM_CYSCREEN))},
                {"nt", "-1"},
                {"iniFile", ""},
                // No ini choices: printer code 28 (PCL, 300 dpi) with HP-GL/2 model 1.
                {"deviceCode", "28"},
                {"deviceCodeGiven", "0"},
                {"printerType", "7"},
                {"bestResolution", "300"},
                {"plotterModel", "1"},
                {"hpgl2Model", "1"},
                {"dumpKind", "10"},
                // The test run's PDF printer: A4, landscape, one-inch margins.
                {"printerPresent", "1"},
                {"dumpPaper", "841x594"},
                {"dumpPage", "697x450"}});
  // The screen's colours: 2 to the power of the bits, and the code that goes with them.
  const int colours = std::stoi(got.at("colourCount"));
  const int code = std::stoi(got.at("depthCode"));
  EXPECT_EQ(code, colours == 2 ? 2 : colours == 16 ? 8 : colours == 256 ? 16 : 256);
  EXPECT_GT(std::stoi(got.at("ppi")), 0);
}

TEST(Startup, ReportingModeFromZndvdebugAndTheIniFile) {
  ScratchDir work("startup_mode");
  const std::vector<StartupCase> cases = {
      {"2", "ZNDVDEBUG=2", "", {{"mode", "2"}}},
      {"7 is no mode", "ZNDVDEBUG=7", "", {{"mode", "0"}}},
      {"22 does not fit one character", "ZNDVDEBUG=22", "", {{"mode", "0"}, {"lastError", "0"}}},
      {"unset", "", "", {{"mode", "0"}}},
      {"the ini file overrides", "ZNDVDEBUG=2", "DEBUG = 4\r\n", {{"mode", "4"}}},
      {"a bad ini mode is ignored", "ZNDVDEBUG=1", "DEBUG = 9\r\n", {{"mode", "1"}}},
  };
  for (const auto& c : cases) expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
}

TEST(Startup, IniKeywords) {
  ScratchDir work("startup_ini");
  const std::string tab = "\t";
  const std::vector<StartupCase> cases = {
      {"keywords are upper-cased", "", "lfngen=43\n", {{"LFNGEN", "43"}}},
      {"a channel equal to another is ignored", "", "LFNGEN = 41\nLFNPLOTO = 40\nLFNPLOTI=44\n",
       {{"LFNGEN", "40"}, {"LFNPLOTO", "41"}, {"LFNPLOTI", "44"}}},
      {"only the first eight characters count", "", "LFNPLOTOX = 50\nLFNPLOTI9 = 51\n",
       {{"LFNPLOTO", "50"}, {"LFNPLOTI", "51"}}},
      {"text keywords", "ZANDRO=D:\\tk", "CHARSET =     my.chr\nCHARDIR = D:\\fonts\n",
       {{"CHARSET", "my.chr"}, {"CHARDIR", "D:\\fonts\\"}}},
      {"tabs are blanks; later lines win", "", "PRINTER" + tab + "=" + tab + "5\nPRINTER = 29\r\n",
       {{"PRINTER", "29"}, {"deviceCode", "29"}, {"deviceCodeGiven", "1"}, {"printerType", "7"},
        {"bestResolution", "600"}, {"hpgl2Model", "3"}}},
      {"a value that is no integer leaves the setting", "", "PRINTER = 5\nPRINTER = five\n",
       {{"PRINTER", "5"}, {"lastError", "0"}}},
      {"ignored lines", "", "=PRINTER=9\nPR = 9\nPRINTER 9\nPRINTER =   \n",
       {{"PRINTER", "0"}, {"deviceCode", "28"}}},
      {"a plotter code choosing HP-GL/2 is not undone by HPGL2 0", "", "PLOTTER = 13\n",
       {{"PLOTTER", "13"}, {"plotterModel", "1"}, {"hpgl2Model", "3"}}},
      {"HPGL2 chooses the model", "", "PLOTTER = 4\nHPGL2 = 4\n",
       {{"plotterModel", "4"}, {"hpgl2Model", "4"}}},
      {"a line cut at 270 columns", "", "PRINTER" + std::string(262, ' ') + "=" + "5\n",
       {{"PRINTER", "0"}}},
  };
  for (const auto& c : cases) expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
}

// PRINTER picks the raster printer and, for an HP-GL/2 printer, a model; PLOTTER
// 11-15 and HPGL2 1-5 choose the model outright; HPGL2 0 then changes nothing.
TEST(Startup, HardcopyIniChoices) {
  ScratchDir work("startup_hardcopy");
  const std::vector<StartupCase> cases = {
      {"PLOTTER 12 overrides the printer's model", "", "PRINTER = 38\nPLOTTER = 12\n",
       {{"deviceCode", "38"}, {"printerType", "7"}, {"bestResolution", "600"}, {"plotterModel", "1"},
        {"hpgl2Model", "2"}}},
      {"HPGL2 overrides the printer's model", "", "PRINTER = 38\nHPGL2 = 1\n",
       {{"deviceCode", "38"}, {"hpgl2Model", "1"}}},
      {"HPGL2 wins over PLOTTER", "", "PRINTER = 35\nPLOTTER = 15\nHPGL2 = 3\n",
       {{"deviceCode", "35"}, {"plotterModel", "1"}, {"hpgl2Model", "3"}}},
      {"an unknown HPGL2 follows the printer", "", "PRINTER = 32\nHPGL2 = 9\n",
       {{"deviceCode", "32"}, {"printerType", "8"}, {"hpgl2Model", "2"}}},
      {"unusable codes fall back", "", "PRINTER = 27\nPLOTTER = 16\n",
       {{"deviceCode", "28"}, {"deviceCodeGiven", "0"}, {"plotterModel", "1"}, {"hpgl2Model", "1"}}},
      {"a colour raster printer and a pen plotter", "", "PRINTER = 13\nPLOTTER = 10\nHPGL2 = 5\n",
       {{"deviceCode", "13"}, {"deviceCodeGiven", "1"}, {"printerType", "9"}, {"bestResolution", "180"},
        {"plotterModel", "10"}, {"hpgl2Model", "5"}}},
  };
  for (const auto& c : cases) expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
}

TEST(Startup, IniConversionErrorsAreReportedInTheModeInForceAndCleared) {
  ScratchDir work("startup_ini_errors");
  // Mode 2 writes to the toolkit's debug log in the current directory.  The
  // lines with "=" in column 1 and with a two-letter keyword are never converted.
  const Report got = runStartup(work, "ZNDVDEBUG=2", "=bad\nAB = bad\nCHARSET = my.chr\nXYZ = 12\n");
  EXPECT_EQ(got.at("CHARSET"), "my.chr");
  EXPECT_EQ(got.at("lastError"), "0");
  EXPECT_EQ(os_test::readFile(work / "debug"), "Routine:IStringToInteger Error=  12:Invalid character detected\r\n");
}

TEST(Startup, IniFileSearch) {
  ScratchDir work("startup_search");
  ScratchDir toolkit("startup_search_toolkit");
  const std::string named = work.file("named.ini", "PRINTER = 3\n");
  const std::string argument = work.file("argument.ini", "PRINTER = 4\n");
  os_test::writeFile(toolkit / "zandro.ini", "PRINTER = 6\n");
  const std::string cwdIni = "PRINTER = 5\n";
  const std::string zandro = "ZANDRO=" + toolkit.path() + "\n";
  const std::vector<StartupCase> cases = {
      {"ZNDVINIT first", zandro + "ZNDVINIT=" + named, cwdIni, {{"iniFile", named}, {"PRINTER", "3"}}},
      {"a missing ZNDVINIT file falls back to the current directory", zandro + "ZNDVINIT=" + (work / "none.ini"),
       cwdIni, {{"iniFile", "zandro.ini"}, {"PRINTER", "5"}}},
      {"then the toolkit directory", zandro, "", {{"iniFile", toolkit / "zandro.ini"}, {"PRINTER", "6"}}},
      {"nothing found", "ZANDRO=" + work.path() + "\\nothing", "", {{"iniFile", ""}, {"PRINTER", "0"}}},
      {"the argument replaces the search", zandro + "CARROW_TEST_INI_ARG=" + argument, cwdIni,
       {{"iniFile", "zandro.ini"}, {"PRINTER", "4"}}},
      {"a missing argument file falls back", zandro + "CARROW_TEST_INI_ARG=" + (work / "none.ini"), cwdIni,
       {{"PRINTER", "5"}}},
  };
  for (const auto& c : cases) {
    DeleteFileA((work / "zandro.ini").c_str());
    expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
  }
}

TEST(Startup, TemporaryFileNamesTakeTheFirstFreeNumber) {
  ScratchDir work("startup_temp");
  ScratchDir temp("startup_temp_dir");
  ScratchDir tmp("startup_tmp_dir");
  temp.file("qvr$$00.plt");
  temp.file("qvr$$01.plt");
  tmp.file("qvr$$00.dmp");
  const std::vector<StartupCase> cases = {
      {"TEMP", "TEMP=" + temp.path() + "\nTMP=" + tmp.path(), "",
       {{"tempPlot", temp / "qvr$$02.plt"}, {"tempDump", temp / "qvr$$00.dmp"}}},
      {"TMP when TEMP is blank", "TEMP=\nTMP=" + tmp.path() + "\\", "",
       {{"tempPlot", tmp / "qvr$$00.plt"}, {"tempDump", tmp / "qvr$$01.dmp"}}},
  };
  for (const auto& c : cases) expectReport(c.name, runStartup(work, c.environment, c.cwdIni), c.expected);
  // With neither variable the root of drive C: is used.
  const Report none = runStartup(work, "TEMP=\nTMP=", "");
  EXPECT_EQ(none.at("tempPlot").substr(0, 8), "C:\\qvr$$");
  EXPECT_EQ(none.at("tempPlot").substr(10), ".plt");
}

TEST(Startup, ASecondCallChangesNothing) {
  ScratchDir work("startup_twice");
  expectReport("second call", runStartup(work, "ZANDRO=D:\\tk\nCARROW_TEST_SECOND_CALL=1", ""),
               {{"toolkitDir", "D:\\tk\\"}, {"mode", "0"}});
}

// --- the version query and the abnormal exit end the process ---

testing_support::ChildScenario startupThenGoOn("startup-then-go-on", [] {
  SetCurrentDirectoryA(os_test::environment("CARROW_TEST_CWD").c_str());
  WStartup(" ");
  ExitProcess(77);  // reached only when start-up returned
});

testing_support::ChildScenario blankAbnormalExit("blank-abnormal-exit", [] { YYAbnormalExit("   ", 3); });

BOOL CALLBACK collectTexts(HWND child, LPARAM out) {
  char text[512] = {};
  GetWindowTextA(child, text, sizeof text);
  if (text[0] != '\0') *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
  return TRUE;
}

// Answers the child's box of the given title once, recording its texts.
struct BoxAnswerer {
  explicit BoxAnswerer(const char* t) : title(t) {}
  const char* title;
  std::string texts;
  int boxes = 0;
  HWND answered = nullptr;
  void operator()(DWORD pid) {
    HWND box = FindWindowA("#32770", title);
    // Read only once the box is shown: its texts are set by then.
    if (box == nullptr || box == answered || !IsWindowVisible(box)) return;
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner != pid) return;
    EnumChildWindows(box, collectTexts, reinterpret_cast<LPARAM>(&texts));
    ++boxes;
    answered = box;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
};

TEST(StartupEnds, AVersionKeywordShowsTheVersionAndEndsWithCodeZero) {
  ScratchDir work("startup_version");
  for (const std::string ini : {"VERSION = x\n", "ver =\nPRINTER = 5\n"}) {
    os_test::writeFile(work / "zandro.ini", ini);
    BoxAnswerer answer("Zandrovel");
    const int code = testing_support::runChildScenario(
        "startup-then-go-on", [&](DWORD pid) { answer(pid); }, 60000,
        "ZANDRO=D:\\tk\nZNDVINIT=\nCARROW_TEST_CWD=" + work.path());
    EXPECT_EQ(code, 0) << ini;
    EXPECT_EQ(answer.boxes, 1) << ini;
    EXPECT_NE(answer.texts.find("Abnormal exit (code 0) : Zandrovel version 5.10g"), std::string::npos)
        << answer.texts;
  }
}

TEST(StartupEnds, ABlankAbnormalExitEndsWithItsCodeAndNoBox) {
  BoxAnswerer answer("Zandrovel");
  EXPECT_EQ(testing_support::runChildScenario("blank-abnormal-exit", [&](DWORD pid) { answer(pid); }), 3);
  EXPECT_EQ(answer.boxes, 0);
}

// --- the command line ---

testing_support::ChildScenario commandLineItems("command-line-items", [] {
  Report report;
  FixedText<40> item;
  for (int n = -1; n <= 8; ++n) {
    IOsCmdLineItem(n, item);
    report["item" + std::to_string(n)] = item.str();
  }
  FixedText<260> program;
  IOsCmdLineItem(0, program);
  report["program"] = program.str();
  FixedText<40> untouched("kept");
  report["count"] = std::to_string(YYCmdLineCache(-1, untouched));
  report["untouched"] = untouched.str();
  os_test::writeReport(os_test::environment("CARROW_TEST_REPORT"), report);
});

// Starts the test program with its scenario flag followed by `arguments`.
int runWithArguments(const std::string& arguments) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string line = std::string("\"") + self + "\" --child-scenario=command-line-items " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -2;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

TEST(CommandLine, ItemsWithQuotes) {
  ScratchDir work("command_line");
  const std::string report = work / "report.txt";
  SetEnvironmentVariableA("CARROW_TEST_REPORT", report.c_str());
  ASSERT_EQ(runWithArguments("\"a b\"  c \"\" \"d\"e f \"open end"), 0);
  Report got = os_test::readReport(report);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(got["item-1"], "");
  EXPECT_EQ(got["item0"], std::string(self).substr(0, 40));
  EXPECT_EQ(got["program"], self);
  EXPECT_EQ(got["item1"], "--child-scenario=command-line-items");
  EXPECT_EQ(got["item2"], "a b");
  EXPECT_EQ(got["item3"], "c");
  EXPECT_EQ(got["item4"], "d");  // "" alone is no item; a quoted item ends at its quote
  EXPECT_EQ(got["item5"], "e");
  EXPECT_EQ(got["item6"], "f");
  EXPECT_EQ(got["item7"], "open end");  // an unclosed quote runs to the end
  EXPECT_EQ(got["item8"], "");
  EXPECT_EQ(got["count"], "7");
  EXPECT_EQ(got["untouched"], "kept");

  // A command line longer than the 1024-character cache is cut, not overrun.
  ASSERT_EQ(runWithArguments("x " + std::string(2000, 'y') + " z"), 0);
  got = os_test::readReport(report);
  EXPECT_EQ(got["item2"], "x");
  EXPECT_EQ(got["item3"], std::string(40, 'y'));
  EXPECT_EQ(got["count"], "3");
  SetEnvironmentVariableA("CARROW_TEST_REPORT", nullptr);
}

}  // namespace
