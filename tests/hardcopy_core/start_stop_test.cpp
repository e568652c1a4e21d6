// Starting and stopping a hardcopy, and the print command run for real through
// the system's command interpreter.
#include <gtest/gtest.h>
#include <windows.h>

#include "hardcopy_fixture.h"
#include "support/ui_driver.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit_os/os_test_support.h"

namespace {

using Opcodes = std::vector<YYGrPrimitive>;
const Opcodes kStartSequence = {kOpInitialise, kOpBeginPlot, kOpLineWidth, kOpLineStyle, kOpLineJoin,
                                kOpLineCap,    kOpClip,      kOpCharSize,  kOpColour};

class HardcopyStart : public HardcopyCore {
 protected:
  void SetUp() override {
    HardcopyCore::SetUp();
    initialiseDriver();
    savedTempPlotFile = toolkitSettings.tempPlotFile.str();
    toolkitSettings.tempPlotFile = "C:\\temp\\qvr$$00.plt";
  }
  void TearDown() override {
    toolkitSettings.tempPlotFile = savedTempPlotFile;
    HardcopyCore::TearDown();
  }
  const SeenRecord& beginPlot() const {
    for (const SeenRecord& r : recorder().seen) {
      if (r.opcode == kOpBeginPlot) return r;
    }
    static const SeenRecord none{};
    ADD_FAILURE() << "no opcode 18";
    return none;
  }
  std::string savedTempPlotFile;
};

TEST_F(HardcopyStart, AStartProbesBeginsThePlotAndSendsTheAttributesInOrder) {
  yyGrState.PenX = 5.0f;
  YYHardcopyStartStop();
  EXPECT_EQ(recorder().opcodes(), kStartSequence);
  const std::vector<SeenRecord>& seen = recorder().seen;
  EXPECT_EQ(seen[0].n, kDriverProbe);
  const SeenRecord& begin = seen[1];
  EXPECT_EQ(begin.m, 1);
  EXPECT_EQ(begin.n, 1);  // the default name
  EXPECT_EQ(begin.text, "zndvplot.prn");
  EXPECT_EQ(begin.x1, 0);
  EXPECT_EQ(begin.hardcopyOpen, 1);
  for (std::size_t i = 2; i < seen.size(); ++i) EXPECT_FLOAT_EQ(seen[i].penX, -9999.0f) << i;
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1);
  EXPECT_TRUE(yyPrintCommand.isBlank());
  // Drawing reaches the driver through the route while the hardcopy is open.
  YYGrPrimitive line = kOpLine;
  YYDriverCommand(line);
  EXPECT_EQ(recorder().seen.back().opcode, kOpLine);
}

struct NameCase {
  std::optional<std::string_view> option;
  std::int32_t n;
  const char* text;
};

TEST_F(HardcopyStart, TheOptionNamesTheOutputUnlessItIsBlank) {
  const NameCase cases[] = {
      {std::nullopt, 1, "zndvplot.prn"},
      {" ", 1, "zndvplot.prn"},
      {"", 1, "zndvplot.prn"},
      {"C:\\out\\plot.prn", 0, "C:\\out\\plot.prn"},
      {"x", 0, "x"},  // one character, but no stop
      {"SS", 0, "SS"},
  };
  for (const NameCase& c : cases) {
    recorder().seen.clear();
    YYHardcopyStartStop(c.option);
    EXPECT_EQ(beginPlot().n, c.n) << c.text;
    EXPECT_EQ(beginPlot().text, c.text);
    EXPECT_EQ(yyGrAttributes.HardcopyOpen, 1) << c.text;
  }
}

TEST_F(HardcopyStart, ATitleBecomesThePlotTitle) {
  YYHardcopyStartStop(" ", "Route of the day");
  EXPECT_EQ(yyPlotTitle.str(), "Route of the day");
  EXPECT_EQ(beginPlot().x1, 1);
  recorder().seen.clear();
  YYHardcopyStartStop(" ");
  EXPECT_EQ(yyPlotTitle.str(), "Route of the day");
  EXPECT_EQ(beginPlot().x1, 0);
}

TEST_F(HardcopyStart, AStartOnAnOpenHardcopyClosesItFirst) {
  YYHardcopyStartStop();
  YYGrPrimitive line = kOpLine;
  YYDriverCommand(line);  // the page now has ink
  recorder().seen.clear();
  YYHardcopyStartStop();
  Opcodes expected = {kOpEndPage, kOpEndPlot};
  expected.insert(expected.end(), kStartSequence.begin(), kStartSequence.end());
  EXPECT_EQ(recorder().opcodes(), expected);
  EXPECT_EQ(recorder().seen[0].n, 1);
  EXPECT_EQ(recorder().seen[0].m, 32);
}

TEST_F(HardcopyStart, TheStopEndsThePageOnlyWhenSomethingWasDrawn) {
  for (std::int32_t pageBegun : {0, -1, 1, 2}) {
    YYHardcopyStartStop();
    yyGrState.PageBegun = pageBegun;
    recorder().seen.clear();
    YYHardcopyStartStop("S");
    const Opcodes expected = (pageBegun & 1) != 0 ? Opcodes{kOpEndPage, kOpEndPlot} : Opcodes{kOpEndPlot};
    EXPECT_EQ(recorder().opcodes(), expected) << pageBegun;
    EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  }
  // Nothing open: the route drops both records; lower-case s stops too.
  yyGrState.PageBegun = -1;
  recorder().seen.clear();
  const auto state = bytesOf(yyGrState);
  YYHardcopyStartStop("s", " ");
  EXPECT_TRUE(recorder().seen.empty());
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  yyGrState.M = 0;
  yyGrState.N = 0;
  YYGrState expected;
  std::memcpy(&expected, state.data(), sizeof expected);
  expected.M = 0;
  expected.N = 0;
  EXPECT_EQ(bytesOf(yyGrState), bytesOf(expected));
}

TEST_F(HardcopyStart, WithoutADriverTheStartStopsAfterTheProbe) {
  yyGrAttributes.HardcopyOpen = 1;  // closed by the steps every call makes first
  yyHardcopyDriverNumber = 5;
  TEXT = "untouched";
  yyPlotTitle = "old title";
  YYHardcopyStartStop("C:\\out\\plot.prn", "new title");
  EXPECT_EQ(TEXT.str(), "untouched");
  EXPECT_EQ(yyPlotTitle.str(), "old title");
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
  EXPECT_TRUE(recorder().seen.empty());
}

TEST_F(HardcopyStart, ADriverThatCannotOpenCutsTheRouteOff) {
  recorder().openFails = true;
  YYHardcopyStartStop();
  EXPECT_EQ(recorder().opcodes(), (Opcodes{kOpInitialise, kOpBeginPlot}));
  EXPECT_EQ(yyGrAttributes.HardcopyOpen, 0);
}

struct AspectCase {
  std::int32_t width, height;
  float aspect;
};

TEST_F(HardcopyStart, WithTheScreenOffThePageGivesColoursAndAspect) {
  yyGrAttributes.ScreenDriverOn = 0;
  yyGrAttributes.ColourCount = 256;
  YYHardcopyStartStop();
  EXPECT_EQ(yyGrAttributes.ColourCount, 8);
  EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, 756.0f / 540.0f);
  // A page without height (no printer) leaves the aspect as it was.
  const AspectCase cases[] = {{0, 0, 1.5f}, {600, -1, 1.5f}, {600, 300, 2.0f}};
  for (const AspectCase& c : cases) {
    yyGrState.SurfaceAspect = 1.5f;
    hardcopyOption(kOptPageWidth) = c.width;
    hardcopyOption(kOptPageHeight) = c.height;
    YYHardcopyStartStop();
    EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, c.aspect) << c.width << "x" << c.height;
  }
  // With the screen on the screen's values stay.
  yyGrAttributes.ScreenDriverOn = 1;
  yyGrAttributes.ColourCount = 256;
  yyGrState.SurfaceAspect = 1.32f;
  YYHardcopyStartStop();
  EXPECT_EQ(yyGrAttributes.ColourCount, 256);
  EXPECT_FLOAT_EQ(yyGrState.SurfaceAspect, 1.32f);
}

struct CommandCase {
  std::int32_t toFile;
  const char* option;
  bool printCommand;
};

TEST_F(HardcopyStart, ABlankSurroundedAtSignMakesAPrintCommandForFileDrivers) {
  const CommandCase cases[] = {
      {1, "copy @ LPT1:", true},
      {1, "copy /b @ \\\\server\\queue", true},
      {0, "copy @ LPT1:", false},
      {1, "copy @LPT1:", false},
      {1, "copy@ LPT1:", false},
      {1, "mail@example.com", false},
  };
  for (const CommandCase& c : cases) {
    recorder().toFile = c.toFile;
    initialiseDriver();
    yyPrintCommand = "";
    YYHardcopyStartStop(c.option);
    EXPECT_EQ(beginPlot().text, c.printCommand ? "C:\\temp\\qvr$$00.plt" : c.option) << c.option;
    EXPECT_EQ(yyPrintCommand.str(), c.printCommand ? c.option : "") << c.option;
    EXPECT_EQ(beginPlot().n, 0);
  }
  yyPrintCommand = "";
}

// Print commands run for real: each test works in a scratch folder of its own
// and makes the temporary plot file there.  The folder lies in the temporary
// folder, as the plot file does for a user: the interpreter's line holds two
// of its paths, and a folder inside the clone could make them too long for it
// wherever the clone lies.
class PrintCommand : public HardcopyStart {
 protected:
  void SetUp() override {
    HardcopyStart::SetUp();
    ASSERT_LT(work.path().size(), 100u) << "the temporary folder is too long for these commands: " << work.path();
    YYErrorModeSet(kReportSilent);
    toolkitSettings.tempPlotFile = work / "qvr$$01.plt";
    recorder().plotContent = "IN;SP1;PA0,0;PD100,100;\r\n";
  }
  os_test::ScratchDir work{"print_command", os_test::ScratchPlace::kTemporaryFolder};
};

TEST_F(PrintCommand, TheStopCopiesThePlotFileAndDeletesIt) {
  const std::string copy = work / "printed.prn";
  YYHardcopyStartStop("copy @ \"" + copy + "\"");
  ASSERT_TRUE(os_test::exists(toolkitSettings.tempPlotFile.str()));
  YYHardcopyStartStop("S");
  EXPECT_EQ(os_test::readFile(copy), recorder().plotContent);
  EXPECT_FALSE(os_test::exists(toolkitSettings.tempPlotFile.str()));
  EXPECT_TRUE(yyPrintCommand.isBlank());
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  // The next stop has no command left to run.
  std::remove(copy.c_str());
  YYHardcopyStartStop("S");
  EXPECT_FALSE(os_test::exists(copy));
}

TEST_F(PrintCommand, ATemporaryFolderWithBlanksStillGivesOneArgument) {
  const std::string folder = work.dir("temp folder");
  toolkitSettings.tempPlotFile = folder + "\\qvr$$02.plt";
  const std::string copy = work / "printed.prn";
  YYHardcopyStartStop("copy @ \"" + copy + "\"");
  YYHardcopyStartStop("S");
  EXPECT_EQ(os_test::readFile(copy), recorder().plotContent);
  EXPECT_FALSE(os_test::exists(toolkitSettings.tempPlotFile.str()));
}

TEST_F(PrintCommand, ALongCommandIsCutToTheInterpretersLine) {
  // Columns 1-249 of the command fit behind "cmd.exe /c "; the second copy
  // lies beyond them and never runs.
  const std::string source = work.file("source.txt", "plot");
  const std::string first = "copy \"" + source + "\" \"" + (work / "first.txt") + "\"";
  ASSERT_LT(first.size(), 240u);
  std::string command = first + std::string(240 - first.size(), ' ') + " & copy \"" + source + "\" \"" +
                        (work / "second.txt") + "\"";
  ASSERT_GT(command.size(), 250u);
  YYPRNCMD(command);
  EXPECT_TRUE(os_test::exists(work / "first.txt"));
  EXPECT_FALSE(os_test::exists(work / "second.txt"));
}

TEST_F(PrintCommand, AnInterpreterThatCannotStartReportsError13AndTheFileIsStillDeleted) {
  // A "cmd.exe" that is no program, found in the current folder before the real one.
  work.file("cmd.exe", "this is text, not a program\r\n");
  const std::string home = os_test::currentDirectory();
  ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
  ui::Watchdog watchdog(30000, "PrintCommand");
  ui::UiDriver driver;
  driver.answerNext(ui::UiDriver::press(IDOK));
  YYErrorModeSet(kReportMessageBox);
  YYHardcopyStartStop("copy @ printed.prn");
  YYHardcopyStartStop("S");
  YYErrorModeSet(kReportSilent);
  SetCurrentDirectoryA(home.c_str());
  ASSERT_EQ(driver.seen().size(), 1u);
  EXPECT_EQ(driver.seen()[0].title, "Library Error");
  std::string texts;
  for (const std::string& t : driver.seen()[0].texts) texts += t + "|";
  EXPECT_NE(texts.find("Internal routine:YYPRNCMD"), std::string::npos) << texts;
  EXPECT_NE(texts.find("Error=  13"), std::string::npos) << texts;
  EXPECT_NE(texts.find("Operating system error"), std::string::npos) << texts;
  EXPECT_FALSE(os_test::exists(toolkitSettings.tempPlotFile.str()));
  EXPECT_TRUE(yyPrintCommand.isBlank());
}

}  // namespace
