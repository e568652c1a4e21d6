// The real Carrowmapper.exe, started from a scratch copy of its folder and
// driven from this process as a user would: its boxes, its menus, its Open and
// Save dialogs, the files it writes and the registry values it leaves.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "converter/text_helpers.h"
#include "formats/device/tomtom.h"
#include "formats/xml/gpsexchange.h"
#include "program_driver.h"
#include "support/ui_driver.h"

namespace {

using program_test::ProgramFolder;
using program_test::RunningProgram;

constexpr int kOpen = 40002;
constexpr int kSave = 40003;
constexpr int kExit = 40005;
constexpr int kRoutes = 40022;
constexpr int kTracks = 40025;

std::string fitted(const std::string& path) {
  FixedText<256> shortened;
  FIT(path, 50, shortened);
  return shortened.str();
}

std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

// Waits until the program's log holds a line that begins with the text.
bool waitLogLine(const RunningProgram& program, const std::string& begin, DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  do {
    for (const std::string& line : program.log()) {
      if (line.rfind(begin, 0) == 0) return true;
    }
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return false;
}

// Points as the converter's own reader takes them from a file.
std::vector<POINT_RECORD> readWith(void (*reader)(), const std::string& path) {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  POINT_LIST.NROUTES = 0;
  FILE_NAMES.INPUT_FILE = path;
  reader();
  return std::vector<POINT_RECORD>(POINT_LIST.POINTS.begin(), POINT_LIST.POINTS.begin() + POINT_LIST.NPOINTS);
}

// Chooses File > Open (or Save) and answers the dialog with a type and a name.
void chooseFile(const RunningProgram& program, int command, const char* title, int type, const std::string& name) {
  program.command(command);
  HWND dialog = program.waitDialog(title);
  ASSERT_NE(dialog, nullptr) << title;
  program_test::answerFileDialog(dialog, type, name);
}

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override { program_test::clearRegistry(); }
  ui::Watchdog watchdog_{120000, ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

// --- start-up ---------------------------------------------------------------

struct MissingCase {
  const char* name;
  std::vector<std::string> leaveOut;
  const char* message;
};

class MissingCompanion : public ProgramRun, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingCompanion, StopsStartUpWithTheBoxOfTheFirstMissingFile) {
  const MissingCase& c = GetParam();
  ProgramFolder folder(std::string("missing_") + c.name, c.leaveOut);
  RunningProgram program(folder);
  HWND box = program.waitDialog("File missing");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program_test::readBox(box).text, c.message);
  program_test::pressButton(box, IDOK);
  EXPECT_EQ(program.waitExit(), 0);
  // The program ended without opening its window or asking for anything more.
  EXPECT_EQ(program.waitMainWindow(0), nullptr);
}

constexpr const char* kSymbolMessage =
    "Copy the TomTom Navigator default symbol file\rdefault_symbol.bmp into the same folder as the\r"
    "program Carrowmapper and restart.";

INSTANTIATE_TEST_SUITE_P(
    Companions, MissingCompanion,
    ::testing::Values(
        MissingCase{"symbol", {"default_symbol.bmp"}, kSymbolMessage},
        MissingCase{"picture",
                    {"default_pic.pic"},
                    "Copy the TomTom Route Planner default pic file\rdefault_pic.pic into the same folder as the\r"
                    "program Carrowmapper and restart."},
        MissingCase{"makeov2",
                    {"MakeOV2_v1-1.exe"},
                    "Copy the file MakeOV2_v1-1.exe into the\rsame folder as the program Carrowmapper\rand restart."},
        MissingCase{"all", {"default_symbol.bmp", "default_pic.pic", "MakeOV2_v1-1.exe"}, kSymbolMessage}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::string(info.param.name); });

TEST_F(ProgramRun, ASecondInstanceInDebugModeIsTurnedAwayWhileTheFirstHoldsTheLog) {
  ProgramFolder folder("debug_mode");
  folder.addFile("Debug.yes", "");
  RunningProgram first(folder);
  ASSERT_NE(first.waitMainWindow(), nullptr);

  RunningProgram second(folder);
  HWND box = second.waitDialog("Carrowmapper Debugging");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program_test::readBox(box).text,
            "Carrowmapper is already running in Debug mode.\rThis instance of the program will be closed.");
  program_test::pressButton(box, IDOK);
  EXPECT_EQ(second.waitExit(), 0);

  // The first instance still runs and its log begins with the version and its folder.
  const std::string log = program_test::readFile(folder.path("debug.txt"));
  EXPECT_EQ(log.rfind(" Carrowmapper version 3.21 17/10/2007\r\n " + folder.folder() + "\r\n Window initialised\r\n", 0),
            0u)
      << log;
  first.close();
  EXPECT_EQ(first.waitExit(), 0);
  EXPECT_NE(program_test::readFile(folder.path("debug.txt")).find(" Window closed\r\n"), std::string::npos);
}

// --- conversions --------------------------------------------------------------

TEST_F(ProgramRun, GpxPointsOpenedAndSavedAsATomTomOverlay) {
  ProgramFolder folder("points_to_ov2");
  RunningProgram program(folder);
  ASSERT_NE(program.waitMainWindow(), nullptr);
  const std::string input = program_test::fixture("points.gpx");
  const std::string output = folder.path("points.ov2");

  chooseFile(program, kOpen, "Open File", 7, input);  // GPS eXchange Waypoints
  ASSERT_TRUE(waitLogLine(program, "3 points read")) << joined(program.log()) << program.shownBoxes();
  chooseFile(program, kSave, "Save File", 1, output);  // TomTom Overlay
  ASSERT_TRUE(waitLogLine(program, "3 points written")) << joined(program.log()) << program.shownBoxes();

  EXPECT_EQ(program.log(), (std::vector<std::string>{"Input from ... " + fitted(input), "3 points read",
                                                     "Output to ... " + fitted(output),
                                                     "Default symbol file copied to ... " + fitted(folder.path("points.bmp")),
                                                     "Running TomTom MakeOV2 utility", "3 points written"}));

  program.command(kExit);
  EXPECT_EQ(program.waitExit(), 0);

  const std::vector<POINT_RECORD> read = readWith(READ_GPX, input);
  const std::vector<POINT_RECORD> written = readWith(READ_OV2, output);
  ASSERT_EQ(written.size(), read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_NEAR(written[i].LATITUDE, read[i].LATITUDE, 1e-5) << i;
    EXPECT_NEAR(written[i].LONGITUDE, read[i].LONGITUDE, 1e-5) << i;
    // The overlay names its points by their descriptions.
    EXPECT_EQ(written[i].DESCRIPTION.str(), read[i].DESCRIPTION.str()) << i;
  }
  // The companion symbol lies beside the overlay under its name.
  EXPECT_TRUE(program_test::fileExists(folder.path("points.bmp")));
}

TEST_F(ProgramRun, GpxRoutesSavedAsAnItinerary) {
  ProgramFolder folder("routes_to_itn");
  RunningProgram program(folder);
  ASSERT_NE(program.waitMainWindow(), nullptr);
  const std::string input = program_test::fixture("routes.gpx");
  const std::string output = folder.path("routes.itn");

  program.command(kRoutes);
  chooseFile(program, kOpen, "Open File", 5, input);  // GPS eXchange Routes
  ASSERT_TRUE(waitLogLine(program, "5 points read from  2 routes")) << joined(program.log()) << program.shownBoxes();
  chooseFile(program, kSave, "Save File", 1, output);  // TomTom 3 Itinerary
  ASSERT_TRUE(waitLogLine(program, "5 points written to 1 route")) << joined(program.log()) << program.shownBoxes();
  EXPECT_EQ(program.log(), (std::vector<std::string>{"Input from ... " + fitted(input), "5 points read from  2 routes",
                                                     "Output to ... " + fitted(output), "5 points written to 1 route"}));
  program.command(kExit);
  EXPECT_EQ(program.waitExit(), 0);

  const std::vector<POINT_RECORD> read = readWith(READ_GPX_ROUTE, input);
  const std::vector<POINT_RECORD> written = readWith(READ_ITN, output);
  ASSERT_EQ(written.size(), read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_NEAR(written[i].LATITUDE, read[i].LATITUDE, 1e-5) << i;
    EXPECT_NEAR(written[i].LONGITUDE, read[i].LONGITUDE, 1e-5) << i;
  }
}

TEST_F(ProgramRun, GpxTracksSavedAsGoogleEarthKml) {
  ProgramFolder folder("tracks_to_kml");
  RunningProgram program(folder);
  ASSERT_NE(program.waitMainWindow(), nullptr);
  const std::string input = program_test::fixture("tracks.gpx");
  const std::string output = folder.path("tracks.kml");

  program.command(kTracks);
  chooseFile(program, kOpen, "Open File", 4, input);  // GPS eXchange Tracks
  ASSERT_TRUE(waitLogLine(program, "4 points read from  1 tracks")) << joined(program.log()) << program.shownBoxes();
  chooseFile(program, kSave, "Save File", 5, output);  // Google Earth Tracks
  ASSERT_TRUE(waitLogLine(program, "4 points written to  1 tracks")) << joined(program.log()) << program.shownBoxes();
  EXPECT_EQ(program.log(), (std::vector<std::string>{"Input from ... " + fitted(input), "4 points read from  1 tracks",
                                                     "Output to ... " + fitted(output), "4 points written to  1 tracks"}));
  program.command(kExit);
  EXPECT_EQ(program.waitExit(), 0);

  // The track's line holds the four points, longitude first.
  const std::string kml = program_test::readFile(output);
  EXPECT_NE(kml.find("<name>Morning ride</name>"), std::string::npos) << kml;
  const std::size_t line = kml.find("<LineString>");
  ASSERT_NE(line, std::string::npos) << kml;
  const std::size_t from = kml.find("<coordinates>", line) + 13;
  const std::string coordinates = kml.substr(from, kml.find("</coordinates>", from) - from);
  std::vector<double> values;
  std::size_t at = 0;
  while (at < coordinates.size()) {
    const std::size_t end = coordinates.find_first_of(", \r\n\t", at);
    const std::string word = coordinates.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!word.empty()) values.push_back(std::stod(word));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  const std::vector<double> expected{0.12, 52.20, 10.0, 0.13, 52.21, 12.0, 0.14, 52.22, 15.0, 0.15, 52.23, 11.0};
  ASSERT_EQ(values.size(), expected.size()) << coordinates;
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(values[i], expected[i], 1e-4) << i;
}

// --- the registry -------------------------------------------------------------

std::string value(std::string_view name) {
  std::string text;
  return program_test::registryValue(name, text) ? text : "(missing)";
}

TEST_F(ProgramRun, ExitWritesTheInputFileAndTheSixFileTypesAndTheNextRunStartsFromThem) {
  ProgramFolder folder("registry_exit");
  const std::string input = program_test::fixture("points.gpx");
  {
    RunningProgram program(folder);
    ASSERT_NE(program.waitMainWindow(), nullptr);
    chooseFile(program, kOpen, "Open File", 7, input);
    ASSERT_TRUE(waitLogLine(program, "3 points read")) << joined(program.log()) << program.shownBoxes();
    program.command(kExit);
    EXPECT_EQ(program.waitExit(), 0);
  }
  EXPECT_EQ(value("InputFile"), input);  // without trailing blanks
  EXPECT_EQ(value("OpenFilterIndexPoints"), "07");
  for (const char* name : {"OpenFilterIndexRoutes", "OpenFilterIndexTracks", "SaveFilterIndexPoints",
                           "SaveFilterIndexRoutes", "SaveFilterIndexTracks"}) {
    EXPECT_EQ(value(name), "00") << name;
  }

  // The next run offers the remembered file type.
  RunningProgram again(folder);
  ASSERT_NE(again.waitMainWindow(), nullptr);
  again.command(kOpen);
  HWND dialog = again.waitDialog("Open File");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x470), CB_GETCURSEL, 0, 0), 6);
  program_test::pressButton(dialog, IDCANCEL);
  again.close();
  EXPECT_EQ(again.waitExit(), 0);
}

TEST_F(ProgramRun, ClosingTheWindowWritesNothingAndSaveBeforeOpenIsRefused) {
  ProgramFolder folder("registry_close");
  RunningProgram program(folder);
  ASSERT_NE(program.waitMainWindow(), nullptr);

  program.command(kSave);
  HWND box = program.waitDialog("File error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program_test::readBox(box).text, "No input file selected");
  program_test::pressButton(box, IDOK);
  // No Save dialog follows the refusal.
  EXPECT_EQ(program.waitDialog("Save File", 500), nullptr);

  chooseFile(program, kOpen, "Open File", 7, program_test::fixture("points.gpx"));
  ASSERT_TRUE(waitLogLine(program, "3 points read")) << joined(program.log()) << program.shownBoxes();
  program.close();
  EXPECT_EQ(program.waitExit(), 0);
  for (const char* name : {"InputFile", "OpenFilterIndexPoints", "SaveFilterIndexTracks"}) {
    EXPECT_EQ(value(name), "(missing)") << name;
  }
}

TEST_F(ProgramRun, RememberedFileTypesThatAreNotNumbersReadAsZero) {
  program_test::putRegistryValue("OpenFilterIndexPoints", "x7");
  program_test::putRegistryValue("OpenFilterIndexRoutes", " 3");
  program_test::putRegistryValue("SaveFilterIndexPoints", "12");
  program_test::putRegistryValue("SaveFilterIndexRoutes", "-1");
  ProgramFolder folder("registry_values");
  RunningProgram program(folder);
  ASSERT_NE(program.waitMainWindow(), nullptr);
  program.command(kExit);
  EXPECT_EQ(program.waitExit(), 0);
  EXPECT_EQ(value("OpenFilterIndexPoints"), "00");
  EXPECT_EQ(value("OpenFilterIndexRoutes"), "03");
  EXPECT_EQ(value("SaveFilterIndexPoints"), "12");
  EXPECT_EQ(value("SaveFilterIndexRoutes"), "00");
  EXPECT_EQ(value("OpenFilterIndexTracks"), "00");  // missing values read as 0
  EXPECT_EQ(value("InputFile"), "(missing)");       // nothing was opened
}

}  // namespace
