// Help dispatch by file kind, with recorders in place of WinHelp, the
// HTML-help export and WinExec: what would have been started is checked,
// nothing is.
#include <gtest/gtest.h>
#include <windows.h>

#include <htmlhelp.h>

#include <string>
#include <vector>

#include "periphery_fixture.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/help.h"
#include "toolkit/core/system_info.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/drivers/hardcopy_setup.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

using periphery_test::lastError;

struct HelpCall {
  HWND owner = nullptr;
  std::string file;
  UINT command = 0;
  ULONG_PTR data = 0;
  std::string keyword;  // HELP_KEY text, HH_AKLINK keywords
  HH_POPUP popup{};
  HH_AKLINK link{};
  bool pageExisted = false;  // the temporary web page, while a program starts
};

std::vector<HelpCall> winHelpCalls;
std::vector<HelpCall> htmlHelpCalls;
std::vector<std::string> commandLines;
BOOL winHelpAnswer = TRUE;
HWND htmlHelpAnswer = reinterpret_cast<HWND>(1);
UINT winExecAnswer = 33;
std::string temporaryPage;

BOOL WINAPI recordWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
  HelpCall call{owner, file != nullptr ? file : "(null)", command, data, {}};
  if (command == HELP_KEY) call.keyword = reinterpret_cast<const char*>(data);
  winHelpCalls.push_back(call);
  return winHelpAnswer;
}

HWND WINAPI recordHtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
  HelpCall call{owner, file != nullptr ? file : "(null)", command, data, {}};
  if (command == HH_DISPLAY_TEXT_POPUP) call.popup = *reinterpret_cast<const HH_POPUP*>(data);
  if (command == HH_KEYWORD_LOOKUP) {
    call.link = *reinterpret_cast<const HH_AKLINK*>(data);
    call.keyword = call.link.pszKeywords;
  }
  htmlHelpCalls.push_back(call);
  return htmlHelpAnswer;
}

UINT WINAPI recordWinExec(LPCSTR commandLine, UINT show) {
  commandLines.push_back(commandLine);
  EXPECT_EQ(show, static_cast<UINT>(SW_SHOWNORMAL));
  if (!temporaryPage.empty()) {
    HelpCall page;
    page.pageExisted = GetFileAttributesA(temporaryPage.c_str()) != INVALID_FILE_ATTRIBUTES;
    winHelpCalls.push_back(page);
  }
  return winExecAnswer;
}

std::string programFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

void touch(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  CloseHandle(file);
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// A test prefix need not associate ".htm" files with the browser: for the
// length of a test they are given Wine's browser, and the key goes again.
class PageAssociation {
 public:
  PageAssociation() {
    char value[64] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size) == ERROR_SUCCESS && value[0] != '\0') return;
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string command = "\"" + std::string(system) + "\\winebrowser.exe\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, kClass, sizeof kClass);
    RegSetValueA(HKEY_CLASSES_ROOT, "CarrowTestPage\\shell\\open\\command", REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size() + 1));
    made_ = true;
  }
  ~PageAssociation() {
    if (!made_) return;
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "CarrowTestPage\\shell\\open\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "CarrowTestPage\\shell\\open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "CarrowTestPage\\shell");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "CarrowTestPage");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
  }
  PageAssociation(const PageAssociation&) = delete;
  PageAssociation& operator=(const PageAssociation&) = delete;

 private:
  static constexpr char kClass[] = "CarrowTestPage";
  bool made_ = false;
};

std::string associatedProgram(const std::string& file) {
  FixedText<kPathLength> program;
  IOsAssociation(file, program);
  return program.str();
}

// Each test works in a folder of its own, which is the current directory.
class HelpDispatch : public periphery_test::RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "carrow_help_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    savedDirectory_ = current;
    SetCurrentDirectoryA(folder_.c_str());
    winHelpCalls.clear();
    htmlHelpCalls.clear();
    commandLines.clear();
    winHelpAnswer = TRUE;
    htmlHelpAnswer = reinterpret_cast<HWND>(1);
    winExecAnswer = 33;
    temporaryPage.clear();
    helpHostCalls = HelpHostCalls{&recordWinHelp, &recordWinExec, &recordHtmlHelp};
    YYHtmlHelpUnbind();
  }
  void TearDown() override {
    YYHelpHostCallsReset();
    YYHtmlHelpUnbind();
    SetDllDirectoryA(nullptr);
    SetCurrentDirectoryA(savedDirectory_.c_str());
    for (const std::string& file : created_) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder_.c_str());
    RootWindow::TearDown();
  }
  std::string make(const std::string& name) {
    const std::string path = name.find(':') != std::string::npos ? name : folder_ + "\\" + name;
    touch(path);
    created_.push_back(path);
    return path;
  }
  HWND rootFrame() const { return windowTable.slots[0].frame; }

  std::string folder_;
  std::string savedDirectory_;
  std::vector<std::string> created_;
};

TEST_F(HelpDispatch, WinHelpCommandsByTopicAndContentsFile) {
  struct Case {
    const char* name;
    const char* file;
    bool contentsFile;
    std::optional<int> topic;
    std::optional<int> option;
    UINT command;
    ULONG_PTR data;
  };
  const Case cases[] = {
      {"manual.hlp", "manual.hlp", true, std::nullopt, std::nullopt, HELP_FINDER, 0},
      {"manual.hlp", "manual.hlp", false, std::nullopt, std::nullopt, HELP_CONTENTS, 0},
      {"manual.hlp", "manual.hlp", false, 3800, 1, HELP_CONTEXTPOPUP, 3800},
      {"Manual.HLP", "Manual.HLP", false, 3800, std::nullopt, HELP_CONTEXT, 3800},
      {"  manual.hlp  ", "manual.hlp", false, 12, 0, HELP_CONTEXT, 12},
  };
  make("manual.hlp");
  for (const Case& c : cases) {
    if (c.contentsFile) make("manual.cnt");
    winHelpCalls.clear();
    WHelpTopicShow(c.name, c.topic, c.option);
    EXPECT_EQ(lastError(), 0) << c.name;
    ASSERT_EQ(winHelpCalls.size(), 1u) << c.name;
    EXPECT_EQ(winHelpCalls[0].owner, rootFrame());
    EXPECT_EQ(winHelpCalls[0].file, folder_ + "\\" + c.file);
    EXPECT_EQ(winHelpCalls[0].command, c.command) << c.name;
    EXPECT_EQ(winHelpCalls[0].data, c.data) << c.name;
    if (c.contentsFile) DeleteFileA((folder_ + "\\manual.cnt").c_str());
  }
}

TEST_F(HelpDispatch, KeywordCommandWhenNotFromTheTopicRoutine) {
  make("manual.hlp");
  YYHELP("manual.hlp", -1, "rivers", 0, 0);
  ASSERT_EQ(winHelpCalls.size(), 1u);
  EXPECT_EQ(winHelpCalls[0].command, static_cast<UINT>(HELP_KEY));
  EXPECT_EQ(winHelpCalls[0].keyword, "rivers");
}

// What the converter does: its Help menu (no topic), the TomTom dialog's Help
// button (topic 3800) and closing at the end (a blank name).  The help file
// lies beside the program, not in the current directory.
TEST_F(HelpDispatch, ConverterHelpFileFoundBesideTheProgram) {
  const std::string beside = make(programFolder() + "Carrowmapper.hlp");
  WHelpTopicShow("Carrowmapper.hlp");
  WHelpTopicShow("Carrowmapper.hlp", 3800);
  WHelpTopicShow(" ");
  EXPECT_EQ(lastError(), 0);
  ASSERT_EQ(winHelpCalls.size(), 3u);
  EXPECT_EQ(winHelpCalls[0].file, beside);
  EXPECT_EQ(winHelpCalls[0].command, static_cast<UINT>(HELP_CONTENTS));
  EXPECT_EQ(winHelpCalls[1].file, beside);
  EXPECT_EQ(winHelpCalls[1].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(winHelpCalls[1].data, 3800u);
  EXPECT_EQ(winHelpCalls[2].file, "");
  EXPECT_EQ(winHelpCalls[2].command, static_cast<UINT>(HELP_QUIT));
  EXPECT_EQ(winHelpCalls[2].owner, rootFrame());
  EXPECT_TRUE(htmlHelpCalls.empty());  // zndvax.dll was never bound
}

TEST_F(HelpDispatch, Refusals) {
  struct Case {
    const char* name;
    int error;
  };
  make("notes.txt");
  const Case cases[] = {
      {"missing.hlp", 1},
      {"missing.htm", 1},
      {"missing.pdf", 1},
      {"notes.txt", 1031},
      {"README", 1031},
  };
  for (const Case& c : cases) {
    WHelpTopicShow(c.name, 4);
    EXPECT_EQ(lastError(), c.error) << c.name;
  }
  EXPECT_TRUE(winHelpCalls.empty());
  EXPECT_TRUE(commandLines.empty());
  winHelpAnswer = FALSE;
  make("manual.hlp");
  WHelpTopicShow("manual.hlp", 1);
  EXPECT_EQ(lastError(), 1030);
}

TEST_F(HelpDispatch, FullFileNames) {
  const std::string drive = folder_.substr(0, 2);
  struct Case {
    const char* name;
    std::string expected;
  };
  const Case cases[] = {
      {"a.hlp", folder_ + "\\a.hlp"},
      {"   sub\\a.hlp ", folder_ + "\\sub\\a.hlp"},
      {"\\x\\a.hlp", drive + "\\x\\a.hlp"},
      {"\\\\server\\share\\a.hlp", "\\\\server\\share\\a.hlp"},
      {"d:a.hlp", "d:a.hlp"},
      {"    ", ""},
  };
  for (const Case& c : cases) {
    FixedText<300> full;
    YYFullFileName(c.name, full);
    EXPECT_EQ(full.str(), c.expected) << c.name;
  }
  // At a drive's root the backslash doubles; Windows accepts that.
  SetCurrentDirectoryA((drive + "\\").c_str());
  FixedText<300> full;
  YYFullFileName("a.hlp", full);
  EXPECT_EQ(full.str(), drive + "\\\\a.hlp");
}

TEST_F(HelpDispatch, HtmlHelpWithoutTheLibrary) {
  make("guide.chm");
  for (int i = 0; i < 2; ++i) {
    WHelpTopicShow("guide.chm", 5);
    EXPECT_EQ(lastError(), 1081);
  }
  EXPECT_TRUE(htmlHelpCalls.empty());
  EXPECT_FALSE(YYHtmlHelpBound());
}

class HtmlHelpDispatch : public HelpDispatch {
 protected:
  void SetUp() override {
    HelpDispatch::SetUp();
    SetDllDirectoryA((std::string("Z:") + CARROW_PROGRAM_DIR).c_str());
    ASSERT_TRUE(YYHtmlHelpBound()) << "zndvax.dll with its export yyHtmlHelp, in " << CARROW_PROGRAM_DIR;
    chm_ = make("guide.chm");
  }
  std::string chm_;
};

TEST_F(HtmlHelpDispatch, CommandsByTopicAndOption) {
  WHelpTopicShow("guide.chm");
  ASSERT_EQ(htmlHelpCalls.size(), 1u);
  EXPECT_EQ(htmlHelpCalls[0].owner, nullptr);
  EXPECT_EQ(htmlHelpCalls[0].file, chm_);
  EXPECT_EQ(htmlHelpCalls[0].command, static_cast<UINT>(HH_DISPLAY_TOPIC));

  htmlHelpCalls.clear();
  WHelpTopicShow("guide.chm", 42);
  ASSERT_EQ(htmlHelpCalls.size(), 2u);
  EXPECT_EQ(htmlHelpCalls[0].command, static_cast<UINT>(HH_DISPLAY_TOC));
  EXPECT_EQ(htmlHelpCalls[1].command, static_cast<UINT>(HH_HELP_CONTEXT));
  EXPECT_EQ(htmlHelpCalls[1].data, 42u);

  htmlHelpCalls.clear();
  POINT cursor{};
  GetCursorPos(&cursor);
  WHelpTopicShow("guide.chm", 42, 1);
  ASSERT_EQ(htmlHelpCalls.size(), 1u);
  EXPECT_EQ(htmlHelpCalls[0].command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
  EXPECT_EQ(htmlHelpCalls[0].file, chm_ + "::/popup.txt");
  const HH_POPUP& popup = htmlHelpCalls[0].popup;
  EXPECT_EQ(popup.cbStruct, static_cast<int>(sizeof(HH_POPUP)));
  EXPECT_EQ(popup.idString, 42u);
  EXPECT_EQ(popup.pszText, nullptr);
  EXPECT_EQ(popup.pt.x, cursor.x);
  EXPECT_EQ(popup.pt.y, cursor.y + 16);
  EXPECT_EQ(popup.clrForeground, static_cast<COLORREF>(-1));
  EXPECT_EQ(popup.rcMargins.left, -1);
  EXPECT_EQ(popup.rcMargins.bottom, -1);

  htmlHelpCalls.clear();
  YYHELP("guide.chm", -1, "rivers", 0, 0);
  ASSERT_EQ(htmlHelpCalls.size(), 1u);
  EXPECT_EQ(htmlHelpCalls[0].command, static_cast<UINT>(HH_KEYWORD_LOOKUP));
  EXPECT_EQ(htmlHelpCalls[0].link.cbStruct, static_cast<int>(sizeof(HH_AKLINK)));
  EXPECT_EQ(htmlHelpCalls[0].keyword, "rivers");
  EXPECT_TRUE(htmlHelpCalls[0].link.fIndexOnFail);
  EXPECT_EQ(lastError(), 0);

  // Closing reaches both viewers now that the library is bound.
  winHelpCalls.clear();
  htmlHelpCalls.clear();
  WHelpTopicShow("");
  ASSERT_EQ(winHelpCalls.size(), 1u);
  ASSERT_EQ(htmlHelpCalls.size(), 1u);
  EXPECT_EQ(htmlHelpCalls[0].command, static_cast<UINT>(HH_CLOSE_ALL));
  EXPECT_EQ(htmlHelpCalls[0].file, "(null)");
}

TEST_F(HtmlHelpDispatch, FailuresAndOverlongPopupName) {
  htmlHelpAnswer = nullptr;
  WHelpTopicShow("guide.chm", 3);
  EXPECT_EQ(lastError(), 1030);

  // A pop-up file name that would not fit 260 bytes with its suffix and NUL.
  htmlHelpAnswer = reinterpret_cast<HWND>(1);
  const std::size_t room = 259 - (folder_.size() + 1);
  const std::string longName = std::string(room - 4, 'p') + ".chm";
  make(longName);
  htmlHelpCalls.clear();
  WHelpTopicShow(longName, 3, 1);
  EXPECT_EQ(lastError(), 1030);
  EXPECT_TRUE(htmlHelpCalls.empty());
}

TEST_F(HelpDispatch, PagesOpenInTheBrowser) {
  const PageAssociation association;
  const std::string page = make("guide.htm");
  const std::string browser = associatedProgram(page);
  ASSERT_FALSE(browser.empty()) << "no program is associated with .htm files";
  struct Case {
    const char* name;
    int topic;
    int flag;
    std::string expected;
  };
  const std::string url = "file://" + page;
  const Case cases[] = {
      {"guide.htm", 12, 1, quoted(browser) + " " + quoted(url + "#12")},
      {"guide.htm", -1, 1, quoted(browser) + " " + quoted(url)},
      {"file://guide.htm", -1, 1, quoted(browser) + " " + quoted(url)},
      // Anchors asked for always, of a browser that does not take them: only for a topic.
      {"guide.htm", -1, 2, quoted(browser) + " " + quoted(url)},
      {"guide.htm", 5, 2, quoted(browser) + " " + quoted(url + "#5")},
  };
  for (const Case& c : cases) {
    commandLines.clear();
    YYHELP(c.name, c.topic, std::to_string(c.topic), 0, c.flag);
    EXPECT_EQ(lastError(), 0) << c.name;
    ASSERT_EQ(commandLines.size(), 1u) << c.name;
    EXPECT_EQ(commandLines[0], c.expected) << c.name;
  }
  winExecAnswer = 2;
  WHelpTopicShow("guide.htm");
  EXPECT_EQ(lastError(), 1030);
}

TEST_F(HelpDispatch, WebAddressThroughTheTemporaryPage) {
  const PageAssociation association;
  FixedText<kPathLength> directory;
  WInfoFilename(10, directory);
  temporaryPage = directory.str() + "$$tmp$$.htm";
  const std::string browser = associatedProgram(make("probe.htm"));
  const std::string address = "http://example.org/help/index.html";

  WHelpTopicShow("  " + address, 7);
  EXPECT_EQ(lastError(), 0);
  ASSERT_EQ(commandLines.size(), 1u);
  EXPECT_EQ(commandLines[0], quoted(browser) + " " + quoted(address + "#7"));
  ASSERT_EQ(winHelpCalls.size(), 1u);
  EXPECT_TRUE(winHelpCalls[0].pageExisted);
  EXPECT_EQ(GetFileAttributesA(temporaryPage.c_str()), INVALID_FILE_ATTRIBUTES);

  // An address that cannot be quoted, and one too long for the command line,
  // start nothing; the page goes all the same.
  commandLines.clear();
  for (const std::string& bad : {address + "?q=\"x\"", address + "?q=" + std::string(500, 'a')}) {
    WHelpTopicShow(bad);
    EXPECT_EQ(lastError(), 1030);
  }
  EXPECT_TRUE(commandLines.empty());
  EXPECT_EQ(GetFileAttributesA(temporaryPage.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(HelpDispatch, PdfOpensInItsAssociatedProgram) {
  const std::string document = make("manual with blanks.pdf");
  const std::string program = associatedProgram(document);
  ASSERT_FALSE(program.empty()) << "no program is associated with .pdf files";
  WHelpTopicShow("manual with blanks.pdf");
  EXPECT_EQ(lastError(), 0);
  ASSERT_EQ(commandLines.size(), 1u);
  EXPECT_EQ(commandLines[0], quoted(program) + " " + quoted(document));
}

class InfoFilename : public periphery_test::RootWindow {};

TEST_F(InfoFilename, NamesByCode) {
  yyDumpSettings.fileName = "C:\\dump\\zndvdump.ps";
  yyHardcopyOutputName = "C:\\out\\zndvplot.svg";
  toolkitSettings.CHARSET = "standard.chr";
  toolkitSettings.CHARDIR = "C:\\zndv\\chars\\";
  toolkitSettings.toolkitDirectory = "C:\\zndv\\";
  toolkitSettings.systemDirectory = "C:\\windows\\system32";
  yyGrState.StrokeFontFlags = 0;
  struct Case {
    int code;
    const char* expected;
  };
  const Case cases[] = {{1, "C:\\dump\\zndvdump.ps"}, {2, "C:\\out\\zndvplot.svg"}, {3, "standard.chr"},
                        {5, "C:\\zndv\\chars\\"},     {7, "C:\\zndv\\"},            {8, "C:\\windows\\system32"},
                        {9, "H"},                     {4, ""},                      {6, ""},
                        {0, ""},                      {12, ""}};
  for (const Case& c : cases) {
    FixedText<40> name("old text");
    WInfoFilename(c.code, name);
    EXPECT_EQ(name.str(), c.expected) << "code " << c.code;
    EXPECT_EQ(lastError(), 0) << "code " << c.code;
  }
  yyGrState.StrokeFontName = "standard.chr";
  yyGrState.StrokeFontFlags = 1;
  FixedText<40> font;
  WInfoFilename(9, font);
  EXPECT_EQ(font.str(), "standard.chr");
  yyGrState.StrokeFontFlags = 0;
}

TEST_F(InfoFilename, TooLongIsCutAndReported) {
  toolkitSettings.toolkitDirectory = "C:\\a rather long toolkit folder\\";
  FixedText<10> name;
  WInfoFilename(7, name);
  EXPECT_EQ(name.str(), "C:\\a rathe");
  EXPECT_EQ(lastError(), 1023);
}

TEST_F(InfoFilename, TemporaryDirectoryAndNames) {
  char savedTemp[MAX_PATH] = {};
  char savedTmp[MAX_PATH] = {};
  const bool hadTemp = GetEnvironmentVariableA("TEMP", savedTemp, sizeof savedTemp) > 0;
  const bool hadTmp = GetEnvironmentVariableA("TMP", savedTmp, sizeof savedTmp) > 0;
  FixedText<kPathLength> name;

  SetEnvironmentVariableA("TEMP", nullptr);
  SetEnvironmentVariableA("TMP", "C:\\tmpdir");
  WInfoFilename(10, name);
  EXPECT_EQ(name.str(), "C:\\tmpdir\\");
  SetEnvironmentVariableA("TMP", nullptr);
  WInfoFilename(10, name);
  EXPECT_EQ(name.str(), "c:\\");
  SetEnvironmentVariableA("TEMP", hadTemp ? savedTemp : nullptr);
  SetEnvironmentVariableA("TMP", hadTmp ? savedTmp : nullptr);

  FixedText<kPathLength> directory;
  WInfoFilename(10, directory);
  WInfoFilename(11, name);
  const std::string first = name.str();
  ASSERT_EQ(first.size(), directory.str().size() + 2 + 10 + 4);
  EXPECT_EQ(first.substr(0, directory.str().size() + 2), directory.str() + "xx");
  EXPECT_EQ(first.substr(first.size() - 4), ".tmp");
  EXPECT_EQ(first.find_first_not_of("0123456789", directory.str().size() + 2), first.size() - 4);
  touch(first);
  WInfoFilename(11, name);
  EXPECT_NE(name.str(), first);
  EXPECT_EQ(GetFileAttributesA(name.str().c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(first.c_str());
}

}  // namespace
