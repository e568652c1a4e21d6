#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/child_process.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/error_texts.h"

namespace {

std::string textOf(int number, int kind = kTableText, int length = 120) {
  std::string s(static_cast<std::size_t>(length), '#');
  YYErrorText(number, TextField(s.data(), length), kind);
  return std::string(text::trimmed(s));
}

struct TextCase {
  int number;
  const char* text;
};

TEST(ErrorTexts, EveryGroupIsIndexedByItsNumber) {
  const TextCase cases[] = {
      {1, "Error opening file or device"},
      {5, "Graphics not supported on requested printer"},
      {6, ""},
      {13, "Operating system error"},
      {18, "Numeric to string conversion error"},
      {40, "Number of files matched by IOsDirInfo/List exceeds array size"},
      {55, "Source and target file names same in copy command"},
      {63, "Windows printer not available"},
      {65, ""},
      {66, "Invalid character code in WGrTextWidth"},
      {67, ""},
      {0, ""},
      {-1, ""},
      {1000, ""},
      {1001, "Invalid menu item"},
      {1023, "Variable too small to receive text"},
      {1044, "Zlib compression/decompression error"},
      {1081, "ZNDVAX.DLL not found"},
      {1086, "Unsupported or invalid .wav sound file"},
      {1087, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(textOf(c.number), c.text) << c.number;
}

TEST(ErrorTexts, ZlibStatusesSystemTextsAndKinds) {
  EXPECT_EQ(textOf(-6, kZlibText), "incompatible version");
  EXPECT_EQ(textOf(-3, kZlibText), "data error");
  EXPECT_EQ(textOf(0, kZlibText), "");
  EXPECT_EQ(textOf(1, kZlibText), "stream end");
  EXPECT_EQ(textOf(2, kZlibText), "need dictionary");
  EXPECT_EQ(textOf(3, kZlibText), "");
  EXPECT_EQ(textOf(0, kSystemText), "");
  EXPECT_FALSE(textOf(ERROR_FILE_NOT_FOUND, kSystemText).empty());
  // An unknown kind leaves the out text as it was.
  std::string s(8, '#');
  YYErrorText(1, TextField(s.data(), 8), 4);
  EXPECT_EQ(s, "########");
  // A short out text receives the first characters.
  EXPECT_EQ(textOf(1, kTableText, 10), "Error open");
}

class ErrorReporter : public ::testing::Test {
 protected:
  void SetUp() override { YYErrorStateReset(); }
  void TearDown() override { YYErrorStateReset(); }
  // Reports in debug-log mode, where the message is built, and returns it.
  static std::string reported(int number, std::string_view routine) {
    YYErrorModeSet(kReportDebugLog);
    YYErrorReport(number, routine);
    return errorState.message.str();
  }
};

TEST_F(ErrorReporter, SilentModeOnlyRecordsTheNumber) {
  YYErrorReport(1007, "WDialogLoad");
  EXPECT_TRUE(errorState.message.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 1007);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

TEST_F(ErrorReporter, BuildsTheMessageForEachNameForm) {
  EXPECT_EQ(reported(1007, "WDialogLoad"), "Routine:WDialogLoad Error=1007:Unable to load dialog from resource");
  EXPECT_EQ(reported(1003, "YYWINSEL"), "Internal routine:YYWINSEL Error=1003:Invalid window handle");
  EXPECT_EQ(reported(1003, "yyWINSEL"), "Internal routine:yyWINSEL Error=1003:Invalid window handle");
  EXPECT_EQ(reported(1003, "Yywinsel"), "Routine:Yywinsel Error=1003:Invalid window handle");
  EXPECT_EQ(reported(6, "IGrSomething"), "Routine:IGrSomething Error=   6:");
  EXPECT_EQ(WErrorStatusQuery(1), 6);
}

TEST_F(ErrorReporter, AppendsSystemAndZlibTexts) {
  errorState.osError = 0;
  EXPECT_EQ(reported(13, "IOsCommand"), "Routine:IOsCommand Error=  13:Operating system error:");
  errorState.osError = -3;
  EXPECT_EQ(reported(1044, "ICompress"), "Routine:ICompress Error=1044:Zlib compression/decompression error: data error");
  errorState.osError = ERROR_FILE_NOT_FOUND;
  const std::string withSystem = reported(13, "IOsCommand");
  EXPECT_EQ(withSystem.rfind("Routine:IOsCommand Error=  13:Operating system error: ", 0), 0u) << withSystem;
  EXPECT_GT(withSystem.size(), 55u);
  // The OS error word is cleared only by its own query.
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(WErrorStatusQuery(3), 0);
}

TEST_F(ErrorReporter, LongNamesAreCutAndTheMessageStaysWithin200Columns) {
  const std::string longName(250, 'N');
  const std::string m = reported(1003, longName);
  // The name fills the message: nothing of " Error=" fits, and the name stays whole.
  EXPECT_EQ(m, "Routine:" + std::string(192, 'N'));
  EXPECT_LE(m.size(), 200u);
  errorState.osError = ERROR_FILE_NOT_FOUND;
  const std::string full = reported(13, std::string(190, 'x'));
  EXPECT_LE(full.size(), 200u);
}

TEST_F(ErrorReporter, ModeSetIgnoresValuesOutsideZeroToFour) {
  YYErrorModeSet(3);
  YYErrorModeSet(5);
  EXPECT_EQ(WErrorStatusQuery(4), 3);
  YYErrorModeSet(-1);
  EXPECT_EQ(WErrorStatusQuery(4), 3);
  YYErrorModeSet(0);
  EXPECT_EQ(WErrorStatusQuery(4), 0);
}

TEST_F(ErrorReporter, StatusBarModeKeepsTheNumberEvenWhenShowingFails) {
  YYErrorModeSet(kReportStatusBar);
  YYErrorReport(1005, "WDialogSelect");
  EXPECT_EQ(WErrorStatusQuery(1), 1005);
  EXPECT_EQ(WErrorStatusQuery(4), kReportStatusBar);
}

TEST_F(ErrorReporter, QueriesClearOnlyTheirOwnWords) {
  errorState.ioDetail = 5;
  errorState.ioDetailKind = 2;
  YYErrorCodeStore(44);
  EXPECT_EQ(WErrorStatusQuery(5), 2);
  EXPECT_EQ(WErrorStatusQuery(5), 2);
  EXPECT_EQ(WErrorStatusQuery(2), 5);
  EXPECT_EQ(WErrorStatusQuery(2), 0);
  EXPECT_EQ(WErrorStatusQuery(1), 44);
}

// --- modes that write outside the process's memory run in children ---

testing_support::ChildScenario stdoutMode("stdout-mode", [] {
  std::freopen("reporter_stdout.txt", "w", stdout);
  YYErrorModeSet(kReportStdout);
  YYErrorReport(10, "IStringToInteger");
  std::fflush(stdout);
});

testing_support::ChildScenario debugLogMode("debug-log-mode", [] {
  YYErrorModeSet(kReportDebugLog);
  YYErrorReport(1003, "YYWINSEL");
  YYErrorReport(4, "IStringToReal");
  YYDebugLogValue("count", -12);
  YYDebugLogValue(std::string(300, 'v').c_str(), 7);
});

testing_support::ChildScenario messageBoxMode("message-box-mode", [] {
  YYErrorModeSet(kReportMessageBox);
  YYErrorReport(1007, "WDialogLoad");
  // Reached only when the box was answered with OK.
  ExitProcess(7);
});

std::string readFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ErrorReporterModes, StandardOutputGetsOneLineWithALeadingBlank) {
  DeleteFileA("reporter_stdout.txt");
  ASSERT_EQ(testing_support::runChildScenario("stdout-mode"), 0);
  EXPECT_EQ(readFile("reporter_stdout.txt"), " Routine:IStringToInteger Error=  10:No substring found\r\n");
}

TEST(ErrorReporterModes, DebugLogIsCreatedAndGetsOneLinePerMessage) {
  DeleteFileA("debug");
  ASSERT_EQ(testing_support::runChildScenario("debug-log-mode"), 0);
  const std::string log = readFile("debug");
  EXPECT_EQ(log,
            "Internal routine:YYWINSEL Error=1003:Invalid window handle\r\n"
            "Routine:IStringToReal Error=   4:Number too large in string to numeric conversion\r\n"
            "count=-12\r\n" +
                std::string(80, 'v') + "=7\r\n");
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0] != '\0') *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
  }
  return TRUE;
}

// The texts of a box's static controls, joined by '|'.
std::string staticTexts(HWND box) {
  std::string all;
  EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&all));
  return all;
}

// Finds the child's "Library Error" box, records its text and presses a button once.
void answerLibraryErrorBox(DWORD pid, int button, std::string& seenText, int& boxesSeen, HWND& answered) {
  HWND box = FindWindowA("#32770", "Library Error");
  if (box == nullptr || box == answered) return;
  DWORD owner = 0;
  GetWindowThreadProcessId(box, &owner);
  if (owner != pid) return;
  seenText = staticTexts(box);
  ++boxesSeen;
  answered = box;
  PostMessageA(box, WM_COMMAND, button, 0);
}

TEST(ErrorReporterModes, CancelInTheMessageBoxEndsTheProgramAtOnceWithCodeZero) {
  std::string seen;
  int boxes = 0;
  HWND answered = nullptr;
  const int code = testing_support::runChildScenario("message-box-mode", [&](DWORD pid) {
    answerLibraryErrorBox(pid, IDCANCEL, seen, boxes, answered);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(boxes, 1);  // no second box
  // Three lines, split by a lone carriage return: the routine, the number, the text.
  EXPECT_NE(seen.find("Routine:WDialogLoad\rError=1007\rUnable to load dialog from resource"), std::string::npos)
      << seen;
}

TEST(ErrorReporterModes, OkInTheMessageBoxLetsTheProgramGoOn) {
  std::string seen;
  int boxes = 0;
  HWND answered = nullptr;
  const int code = testing_support::runChildScenario("message-box-mode", [&](DWORD pid) {
    answerLibraryErrorBox(pid, IDOK, seen, boxes, answered);
  });
  EXPECT_EQ(code, 7);
  EXPECT_EQ(boxes, 1);
}

}  // namespace
