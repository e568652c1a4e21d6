#include "toolkit/core/processes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "os_test_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_services.h"

namespace {

using os_test::ScratchDir;

// The helper program lies beside the test program.
std::string helperPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  return path.substr(0, path.find_last_of('\\') + 1) + "os_command_helper.exe";
}

std::string quoted(const std::string& path) {
  std::string text(1, '"');
  text.append(path).push_back('"');
  return text;
}

std::string helper(const std::string& arguments) { return quoted(helperPath()) + " " + arguments; }

bool waitForFile(const std::string& path, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (os_test::exists(path)) return true;
    Sleep(50);
  }
  return os_test::exists(path);
}

class OsCommand : public ::testing::Test {
 protected:
  void SetUp() override { YYErrorStateReset(); }
  void TearDown() override { YYErrorStateReset(); }
  ScratchDir work{"os_command"};
};

TEST_F(OsCommand, ABlankCommandStartsNothingAndReportsNothing) {
  YYErrorCodeStore(77);
  IOsCommand("      ");
  IOsCommand("", 3);
  EXPECT_EQ(WErrorStatusQuery(1), 77);
}

struct ShowCase {
  int flags;
  const char* startupInfo;  // "uses-show-flag show-command"
};

TEST_F(OsCommand, WaitingReturnsWhenTheProgramHasEndedShownOrHidden) {
  const ShowCase cases[] = {{3, "1 0"}, {2, "1 1"}};
  for (const auto& c : cases) {
    const std::string done = work / "done.txt";
    const std::string info = work / "info.txt";
    DeleteFileA(done.c_str());
    const DWORD start = GetTickCount();
    // Trailing blanks of the command are not part of it.
    IOsCommand(helper("startupinfo \"" + info + "\" sleep 400 write \"" + done + "\" ok") + "     ", c.flags);
    EXPECT_GE(GetTickCount() - start, 380u) << c.flags;
    EXPECT_TRUE(os_test::exists(done)) << c.flags;
    EXPECT_EQ(os_test::readFile(info), c.startupInfo) << c.flags;
    EXPECT_EQ(WErrorStatusQuery(1), 0) << c.flags;
  }
}

TEST_F(OsCommand, WithoutTheWaitFlagTheCallReturnsAtOnce) {
  const ShowCase cases[] = {{0, "1 1"}, {1, "1 0"}};
  for (const auto& c : cases) {
    const std::string done = work / ("late" + std::to_string(c.flags) + ".txt");
    const std::string info = work / ("info" + std::to_string(c.flags) + ".txt");
    IOsCommand(helper("startupinfo \"" + info + "\" sleep 1500 write \"" + done + "\" ok"), c.flags);
    EXPECT_FALSE(os_test::exists(done)) << c.flags;
    EXPECT_EQ(WErrorStatusQuery(1), 0);
    EXPECT_TRUE(waitForFile(done, 20000)) << c.flags;
    EXPECT_EQ(os_test::readFile(info), c.startupInfo) << c.flags;
  }
  // Flags absent: WinExec with the window shown.
  const std::string done = work / "absent.txt";
  IOsCommand(helper("sleep 800 write \"" + done + "\" ok"));
  EXPECT_FALSE(os_test::exists(done));
  EXPECT_TRUE(waitForFile(done, 20000));
}

TEST_F(OsCommand, AnExpiredTimeOutReports1034AndLeavesTheProgramRunning) {
  const std::string done = work / "after.txt";
  const DWORD start = GetTickCount();
  IOsCommand(helper("sleep 1500 write \"" + done + "\" ok"), 3, 0);
  EXPECT_LT(GetTickCount() - start, 1200u);
  EXPECT_EQ(WErrorStatusQuery(1), 1034);
  EXPECT_FALSE(os_test::exists(done));
  EXPECT_TRUE(waitForFile(done, 20000));

  // A time-out that is long enough: the call waits, nothing is reported.
  const std::string quick = work / "quick.txt";
  IOsCommand(helper("sleep 200 write \"" + quick + "\" ok"), 3, 30);
  EXPECT_TRUE(os_test::exists(quick));
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

TEST_F(OsCommand, AProgramThatCannotStartReports13WithTheWindowsCode) {
  const std::string missing = quoted(work / "no_such_program.exe");
  for (int flags : {0, 3}) {
    IOsCommand(missing, flags);
    EXPECT_EQ(WErrorStatusQuery(1), 13) << flags;
    EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILE_NOT_FOUND) << flags;
  }
  // A file that is no program fails to start with a code above 31; that is a
  // failure all the same.
  const std::string notAProgram = work.file("not_a_program.exe", "this is text, not a program\r\n");
  IOsCommand(quoted(notAProgram), 3);
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_NE(WErrorStatusQuery(3), 0);
}

TEST_F(OsCommand, TheRunWordSaysWhatHappened) {
  int result = 0, osError = 0;
  const std::string command = helper("sleep 10");
  YYOsRunProcess(command.c_str(), 1, 1, -1, result, osError);
  EXPECT_EQ(result, kRunEnded);
  EXPECT_EQ(osError, 0);
  YYOsRunProcess(command.c_str(), 1, 0, -1, result, osError);
  EXPECT_GE(result, 32);
  EXPECT_EQ(osError, 0);
  const std::string slow = helper("sleep 600");
  YYOsRunProcess(slow.c_str(), 1, 1, 0, result, osError);
  EXPECT_EQ(result, kRunTimedOut);
  EXPECT_EQ(osError, 0);
}

// A window of the caller that counts what reaches its procedure.
struct Counts {
  int paints = 0;
  int input = 0;
};
Counts counts;

LRESULT CALLBACK countingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      ++counts.paints;
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_COMMAND:
      ++counts.input;
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

TEST_F(OsCommand, WhileWaitingWindowsRepaintAndInputIsDropped) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = countingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CarrowOsCommandWindow";
  RegisterClassA(&wc);
  const char* title = "Carrow IOsCommand repaint test";
  HWND w = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 20, 20, 200, 150, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  counts = {};

  IOsCommand(helper("poke \"" + std::string(title) + "\" 6"), 3);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_GE(counts.paints, 3);
  EXPECT_EQ(counts.input, 0);
  // What arrived during the wait was thrown away, not kept for later.
  while (PeekMessageA(&msg, w, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(counts.input, 0);
  DestroyWindow(w);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

class Variables : public ::testing::Test {
 protected:
  void SetUp() override { YYErrorStateReset(); }
  void TearDown() override {
    SetEnvironmentVariableA("CARROW_OS_VAR", nullptr);
    YYErrorStateReset();
  }
};

TEST_F(Variables, ValuesThatFitAndValuesThatDoNot) {
  FixedText<5> value("xxxxx");
  IOsVariable("CARROW_OS_VAR", value);
  EXPECT_TRUE(value.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  SetEnvironmentVariableA("CARROW_OS_VAR", "abcde");
  IOsVariable("CARROW_OS_VAR", value);
  EXPECT_EQ(value.view(), "abcde");
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  SetEnvironmentVariableA("CARROW_OS_VAR", "abcdef");
  IOsVariable("CARROW_OS_VAR", value);
  EXPECT_TRUE(value.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 1023);

  SetEnvironmentVariableA("CARROW_OS_VAR", "ab");
  IOsVariable("CARROW_OS_VAR", value);
  EXPECT_EQ(value.view(), "ab   ");
}

TEST_F(Variables, TheNameIsTheFirstWordOfItsText) {
  SetEnvironmentVariableA("CARROW_OS_VAR", "v");
  for (const char* name : {"CARROW_OS_VAR   other words", "    CARROW_OS_VAR", "CARROW_OS_VAR"}) {
    FixedText<8> value;
    IOsVariable(name, value);
    EXPECT_EQ(value.str(), "v") << name;
  }
  FixedText<8> value("zz");
  IOsVariable("        ", value);
  EXPECT_TRUE(value.isBlank());
}

TEST(OsWrappers, MachineFacts) {
  int kind = 0;
  YYOsPlatform(kind);
  EXPECT_EQ(kind, 4);
  int ticks = -1;
  YYOsTickCount(ticks);
  EXPECT_GE(ticks, 0);
  int major = 0, minor = 0;
  YYOsVersion(major, minor);
  EXPECT_GE(major, 4);
  // The user name, cut with its NUL to the room given.
  char name[4] = {};
  int error = -1, truncated = -1;
  YYOsUserName(error, truncated, name, sizeof name);
  EXPECT_EQ(error, 0);
  char full[300] = {};
  DWORD size = sizeof full;
  GetUserNameA(full, &size);
  EXPECT_EQ(truncated, lstrlenA(full) + 1 > 4 ? 1 : 0);
  EXPECT_EQ(std::string(name), std::string(full).substr(0, 3));
}

}  // namespace
