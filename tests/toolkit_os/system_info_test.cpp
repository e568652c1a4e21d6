#include "toolkit/core/system_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "os_test_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_select.h"

namespace {

using os_test::ScratchDir;

TEST(SystemInfo, FixedAnswers) {
  struct Answer {
    int code;
    int value;
  };
  const Answer answers[] = {{1, 6},  {4, 42},  {5, 63},  {6, 92},  {7, 0},   {8, 1},  {12, 1},
                            {13, 1}, {14, 1},  {18, 1},  {19, 0},  {0, 0},   {21, 0}, {64, 0},
                            {91, 0}, {164, 0}, {191, 0}, {-5, 0}};
  for (const auto& a : answers) EXPECT_EQ(YYSYSINFO(a.code), a.value) << a.code;
}

TEST(SystemInfo, MachineFacts) {
  const DWORD version = GetVersion();
  EXPECT_EQ(YYSYSINFO(3), 100 * static_cast<int>(version & 0xFF) + static_cast<int>((version >> 8) & 0xFF));
  EXPECT_GE(YYSYSINFO(15), 0);
  EXPECT_EQ(YYSYSINFO(16), 4);
  EXPECT_EQ(YYSYSINFO(2), 0);  // the test program has no arguments

  // Drives: the system drive is fixed, and a letter without a drive answers 0.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const int systemDrive = system[0] & ~0x20;
  EXPECT_EQ(YYSYSINFO(systemDrive), GetDriveTypeA((std::string(1, static_cast<char>(systemDrive)) + ":\\").c_str()) - 1);
  int missing = 0;
  for (int letter = 'Y'; letter >= 'D'; --letter) {
    if (GetDriveTypeA((std::string(1, static_cast<char>(letter)) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) {
      missing = letter;
      break;
    }
  }
  ASSERT_NE(missing, 0);
  EXPECT_EQ(YYSYSINFO(missing), 0);
  EXPECT_EQ(YYSYSINFO(missing + 100), 0);
  EXPECT_EQ(YYSYSINFO(10), 0);  // no volume in a drive A:

  DWORD serial = 0;
  GetVolumeInformationA((std::string(1, static_cast<char>(systemDrive)) + ":\\").c_str(), nullptr, 0, &serial,
                        nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(YYSYSINFO(systemDrive + 100), static_cast<int>(serial));
}

TEST(SystemInfo, RootDirectoryQuestion) {
  ScratchDir dir("sysinfo");
  const std::string before = os_test::currentDirectory();
  SetCurrentDirectoryA(dir.path().c_str());
  EXPECT_EQ(YYSYSINFO(9), 0);
  SetCurrentDirectoryA(dir.path().substr(0, 3).c_str());
  EXPECT_EQ(YYSYSINFO(9), 1);
  SetCurrentDirectoryA(before.c_str());
}

TEST(SystemInfo, DecimalSeparator) {
  char separator = 0;
  YYLocaleDecimal(separator);
  char expected[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, expected, sizeof expected);
  EXPECT_EQ(separator, expected[0]);
  EXPECT_EQ(YYSYSINFO(20), static_cast<unsigned char>(separator));
}

TEST(SystemInfo, Beeps) {
  struct BeepCase {
    const char* word;
    int before;
    int after;
  };
  const BeepCase cases[] = {
      {"off", kTrue, kFalse}, {"on", kFalse, kTrue}, {"ONE", kFalse, kFalse},
      {"OFFICE", kTrue, kFalse}, {"  ", kTrue, kTrue}, {"On  ", kFalse, kTrue},
  };
  for (const auto& c : cases) {
    toolkitSettings.beepsAllowed = c.before;
    YYBeepOnOff(c.word);
    EXPECT_EQ(toolkitSettings.beepsAllowed, c.after) << '"' << c.word << '"';
  }
  toolkitSettings.beepsAllowed = kTrue;
}

TEST(SystemInfo, GradientFillFollowsTheBoundAddress) {
  int value = 0;
  YYGradientAvailable(value);
  EXPECT_EQ(value, 1);
  HMODULE msimg = LoadLibraryA("msimg32.dll");
  ASSERT_NE(msimg, nullptr);
  yyGradientFill = reinterpret_cast<GradientFillFunction>(GetProcAddress(msimg, "GradientFill"));
  YYGradientAvailable(value);
  EXPECT_EQ(value, 2);
  yyGradientFill = nullptr;
  FreeLibrary(msimg);
}

// Files of a type of the test's own open with the helper program beside the test.
class Association : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    program = std::string(self);
    program = program.substr(0, program.find_last_of('\\') + 1) + "os_command_helper.exe";
    const std::string command = "\"" + program + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".carrowtest", REG_SZ, "CarrowTestFile", 14);
    RegSetValueA(HKEY_CLASSES_ROOT, "CarrowTestFile\\shell\\open\\command", REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size()));
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".carrowtest");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".carrowtest");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CarrowTestFile");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "CarrowTestFile");
    YYErrorStateReset();
  }
  std::string program;
  ScratchDir dir{"association"};
};

TEST_F(Association, NamesTheAssociatedProgram) {
  const std::string file = dir.file("data.carrowtest", "text");
  FixedText<260> found("x");
  IOsAssociation(file + "   ", found);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  EXPECT_EQ(lstrcmpiA(found.str().c_str(), program.c_str()), 0) << found.str();

  const int n = static_cast<int>(program.size());
  std::string exact(static_cast<std::size_t>(n), '#');
  IOsAssociation(file, TextField(exact.data(), n));  // no room left for the NUL
  EXPECT_EQ(exact, std::string(static_cast<std::size_t>(n), ' '));
  EXPECT_EQ(WErrorStatusQuery(1), 1023);
}

TEST_F(Association, AMissingFileOrAnUnknownTypeGivesABlank) {
  FixedText<260> found("x");
  IOsAssociation(dir / "missing.carrowtest", found);
  EXPECT_TRUE(found.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 1);

  found = "x";
  IOsAssociation(dir.file("data.nosuchtype"), found);
  EXPECT_TRUE(found.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

}  // namespace
