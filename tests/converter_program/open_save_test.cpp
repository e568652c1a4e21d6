// File > Open, Append and Save on the program's main window: the file-type
// lists of each data type, the reader or writer that a type chooses, the
// remembered types, the log lines, and the refusals.

#include <algorithm>
#include <functional>

#include "converter/open_save.h"
#include "converter/text_helpers.h"
#include "main_window_fixture.h"
#include "program_driver.h"
#include "support/write_failure.h"

namespace {

using program_test::answerFileDialog;
using program_test::fixture;

constexpr int kOpen = 40002;
constexpr int kSave = 40003;
constexpr int kAppend = 40016;
constexpr int kPoints = 40021;
constexpr int kRoutes = 40022;
constexpr int kTracks = 40025;
constexpr int kOsgb = 40014;

std::string fitted(const std::string& path) {
  FixedText<256> shortened;
  FIT(path, 50, shortened);
  return shortened.str();
}

ui::DialogScript chooseFile(int type, std::string name) {
  return [type, name](HWND dialog) { answerFileDialog(dialog, type, name); };
}

// Runs a menu command with the scripts answering its dialogs and boxes in order;
// gives back what was seen.
std::vector<ui::SeenDialog> run(std::int32_t command, std::vector<ui::DialogScript> scripts) {
  ui::UiDriver driver;
  for (auto& script : scripts) driver.answerNext(std::move(script));
  PROCESSMENU(command);
  EXPECT_EQ(driver.pending(), 0u) << "a dialog that was expected did not come";
  return driver.seen();
}

TEST_F(MainWindow, SaveBeforeAnyOpenIsRefusedWithABox) {
  const auto seen = run(kSave, {ui::UiDriver::press(IDOK)});
  ASSERT_EQ(seen.size(), 1u);  // no Save dialog follows
  EXPECT_EQ(seen[0].title, "File error");
  ASSERT_FALSE(seen[0].texts.empty());
  EXPECT_EQ(seen[0].texts[0], "No input file selected");
  EXPECT_TRUE(FILE_NAMES.OUTPUT_FILE.isBlank());
}

struct ListCase {
  const char* name;
  std::int32_t dataType;
  std::int32_t command;
  const char* title;
  std::size_t count;
  const char* first;
  const char* last;
};

class FileTypeLists : public MainWindow, public ::testing::WithParamInterface<ListCase> {};

TEST_P(FileTypeLists, FollowTheDataTypeAndACancelChangesNoChoice) {
  const ListCase& c = GetParam();
  PROCESSMENU(c.dataType);
  FILE_NAMES.INPUT_FILE = "C:\\opened.gpx";  // as after an earlier Open
  FILE_NAMES.OUTPUT_FILE = "C:\\kept.gpx";
  FILTER_INDICES = {2, 2, 2, 2, 2, 2};
  std::vector<std::string> types;
  const auto seen = run(c.command, {[&](HWND dialog) {
                          types = program_test::fileTypes(dialog);
                          program_test::pressButton(dialog, IDCANCEL);
                        }});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, c.title);
  ASSERT_EQ(types.size(), c.count);
  EXPECT_EQ(types.front(), c.first);
  EXPECT_EQ(types.back(), c.last);
  EXPECT_EQ(FILTER_INDICES, (std::array<std::int32_t, 6>{2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(FILE_NAMES.INPUT_FILE.str(), "C:\\opened.gpx");
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), "C:\\kept.gpx");
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, FileTypeLists,
    ::testing::Values(
        ListCase{"OpenPoints", kPoints, kOpen, "Open File", 14, "TomTom Text (*.asc)", "Google Earth Points (*.kml)"},
        ListCase{"OpenRoutes", kRoutes, kOpen, "Open File", 8, "TomTom 3 Itinerary (*.itn)",
                 "OziExplorer Routes (*.rte)"},
        ListCase{"OpenTracks", kTracks, kOpen, "Open File", 7, "TomTom Logs NMEA (*.pgl, *.log)",
                 "OziExplorer Tracks (*.plt)"},
        ListCase{"SavePoints", kPoints, kSave, "Save File", 14, "TomTom Overlay (*.ov2,*.ovr)",
                 "Garmin PCX5 Waypoints (*.wpt)"},
        ListCase{"SaveRoutes", kRoutes, kSave, "Save File", 7, "TomTom 3 Itinerary (*.itn)",
                 "OziExplorer Routes (*.rte)"},
        ListCase{"SaveTracks", kTracks, kSave, "Save File", 6, "Maptech Tracks (*.txf)", "OziExplorer Tracks (*.plt)"}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, OpenAppendAndACancelledOpen) {
  const std::string input = fixture("points.gpx");
  run(kOpen, {chooseFile(7, input)});
  EXPECT_EQ(log(), (std::vector<std::string>{"Input from ... " + fitted(input), "3 points read"}));
  EXPECT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(FILE_NAMES.INPUT_FILE.str(), input);
  EXPECT_EQ(FILTER_INDICES[kOpenPoints], 7);
  EXPECT_FALSE(FILE_DATE.isBlank());
  // The chosen file's folder became the current one.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current) + "\\", input.substr(0, input.find_last_of('\\') + 1));

  // Append keeps the list and the log, and the dialog offers the type chosen last.
  LRESULT offered = -1;
  run(kAppend, {[&](HWND dialog) {
        offered = SendDlgItemMessageA(dialog, 0x470, CB_GETCURSEL, 0, 0);
        answerFileDialog(dialog, 7, input);
      }});
  EXPECT_EQ(offered, 6);
  EXPECT_EQ(POINT_LIST.NPOINTS, 6);
  EXPECT_EQ(POINT_LIST.NREAD, 3);
  EXPECT_EQ(log().size(), 4u);

  // File > Open empties the list and the log before its dialog: a cancel leaves them empty.
  run(kOpen, {[](HWND dialog) { program_test::pressButton(dialog, IDCANCEL); }});
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(FILE_NAMES.INPUT_FILE.str(), input);  // so Save still works
  EXPECT_EQ(FILTER_INDICES[kOpenPoints], 7);
}

TEST_F(MainWindow, OverlaysOfEitherKindShareOnePositionByTheirExtension) {
  const std::string folder = program_test::freshFolder("overlays");
  CopyFileA((program_test::windowsPath(CARROW_SOURCE_DIR) + "\\tests\\formats_device\\fixtures\\mixed.ovr").c_str(),
            (folder + "MIXED.OVR").c_str(), FALSE);
  program_test::writeFile(folder + "notes.txt", "not an overlay\r\n");

  const auto seen = run(kOpen, {chooseFile(2, folder + "MIXED.OVR")});
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_GT(POINT_LIST.NPOINTS, 0);
  ASSERT_EQ(log().size(), 2u);
  EXPECT_EQ(log()[1], std::to_string(POINT_LIST.NPOINTS) + " points read");

  // Another extension at that position runs no reader and says nothing.
  const auto quiet = run(kOpen, {chooseFile(2, folder + "notes.txt")});
  EXPECT_EQ(quiet.size(), 1u);
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_EQ(log(), (std::vector<std::string>{"Input from ... " + fitted(folder + "notes.txt")}));
  EXPECT_EQ(FILTER_INDICES[kOpenPoints], 2);
}

struct RoundTripCase {
  const char* name;
  std::int32_t dataType;
  const char* input;  // a GPX file of the data type
  int gpxPosition;    // GPX in the Open list of the data type
  int savePosition;
  const char* file;
  int openPosition;
  int points;
};

class ListPositions : public MainWindow, public ::testing::WithParamInterface<RoundTripCase> {};

// The writer at a Save position and the reader at an Open position belong to
// the same format: what one writes, the other reads back.
TEST_P(ListPositions, ChooseTheWriterAndReaderOfOneFormat) {
  const RoundTripCase& c = GetParam();
  const std::string folder = program_test::freshFolder(std::string("positions_") + c.name);
  PROCESSMENU(c.dataType);
  run(kOpen, {chooseFile(c.gpxPosition, fixture(c.input))});
  ASSERT_EQ(POINT_LIST.NPOINTS, c.points) << ::testing::PrintToString(log());

  const std::string file = folder + c.file;
  run(kSave, {chooseFile(c.savePosition, file)});
  ASSERT_TRUE(program_test::fileExists(file)) << ::testing::PrintToString(log());
  EXPECT_EQ(log()[2], "Output to ... " + fitted(file));

  run(kOpen, {chooseFile(c.openPosition, file)});
  EXPECT_EQ(POINT_LIST.NPOINTS, c.points) << ::testing::PrintToString(log());
  EXPECT_EQ(log()[0], "Input from ... " + fitted(file));
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, ListPositions,
    ::testing::Values(RoundTripCase{"MaptechMarks", kPoints, "points.gpx", 7, 3, "marks.mxf", 3, 3},
                      RoundTripCase{"MemoryMap", kPoints, "points.gpx", 7, 4, "marks.csv", 4, 3},
                      RoundTripCase{"AutoRoute", kPoints, "points.gpx", 7, 7, "pushpins.csv", 9, 3},
                      RoundTripCase{"ExcelPoints", kPoints, "points.gpx", 7, 9, "points.xls", 10, 3},
                      RoundTripCase{"OziWaypoints", kPoints, "points.gpx", 7, 11, "points.wpt", 12, 3},
                      RoundTripCase{"GarminWaypoints", kPoints, "points.gpx", 7, 14, "garmin.wpt", 13, 3},
                      RoundTripCase{"MaptechRoutes", kRoutes, "routes.gpx", 5, 2, "routes.rxf", 2, 5},
                      RoundTripCase{"ExcelRoutes", kRoutes, "routes.gpx", 5, 5, "routes.xls", 7, 5},
                      RoundTripCase{"OziRoutes", kRoutes, "routes.gpx", 5, 7, "routes.rte", 8, 5},
                      RoundTripCase{"MaptechTracks", kTracks, "tracks.gpx", 4, 1, "tracks.txf", 2, 4},
                      RoundTripCase{"ExcelTracks", kTracks, "tracks.gpx", 4, 4, "tracks.xls", 6, 4},
                      RoundTripCase{"OziTracks", kTracks, "tracks.gpx", 4, 6, "tracks.plt", 7, 4}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, GridReferenceOutputIsLoggedForAscFilesOnly) {
  const std::string folder = program_test::freshFolder("osgb_output");
  run(kOpen, {chooseFile(7, fixture("points.gpx"))});
  PROCESSMENU(kOsgb);

  run(kSave, {chooseFile(2, folder + "grid.asc")});
  EXPECT_EQ(log()[2], "OSGB output to ... " + fitted(folder + "grid.asc"));
  EXPECT_TRUE(program_test::fileExists(folder + "grid.asc"));
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), folder + "grid.asc");
  EXPECT_EQ(FILTER_INDICES[kSavePoints], 2);

  run(kSave, {chooseFile(9, folder + "grid.xls")});
  const std::vector<std::string> lines = log();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Output to ... " + fitted(folder + "grid.xls")), lines.end())
      << ::testing::PrintToString(lines);

  // A cancelled Save keeps the output file of the last one.
  run(kSave, {[](HWND dialog) { program_test::pressButton(dialog, IDCANCEL); }});
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), folder + "grid.xls");
}

// A save as a user makes it, onto a disk that fills up half-way: the user is
// told, and the file that was there before survives whole with nothing beside it.
TEST_F(MainWindow, ASaveOntoAFullDiskKeepsTheEarlierFile) {
  const std::string disk = write_failure::smallDisk();
  if (disk.empty()) GTEST_SKIP() << "no small disk (CARROW_SMALL_DISK) in this run";
  const std::string folder = disk + "\\full disk";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& name : write_failure::namesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
  const std::string file = folder + "\\points.gpx";
  const std::string earlier = "<?xml version=\"1.0\"?>\r\n<gpx>the earlier file</gpx>\r\n";
  program_test::writeFile(file, earlier);

  run(kOpen, {chooseFile(7, fixture("points.gpx"))});
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  // Far more than the room left on the disk.
  for (int i = 4; i <= 3000; ++i) {
    POINT_RECORD& p = *STORE_POINT();
    p = POINT_LIST.POINT(1);
    p.DESCRIPTION = "A point with a description long enough to fill the disk " + std::to_string(i);
  }
  const write_failure::Filler filler(disk + "\\filler.bin", 32 * 1024);
  const auto seen = run(kSave, {chooseFile(6, file), ui::UiDriver::press(IDYES), ui::UiDriver::press(IDOK)});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].title, "Save File");
  // The question before replacing the file, as for any save over an existing one.
  EXPECT_EQ(seen[1].title, "Save File");
  EXPECT_EQ(seen[2].title, "File error");
  std::string shown;
  for (const std::string& text : seen[2].texts) shown += text + "|";
  EXPECT_NE(shown.find("Cannot write the file"), std::string::npos) << shown;
  EXPECT_NE(shown.find(file), std::string::npos) << shown;
  EXPECT_EQ(program_test::readFile(file), earlier);
  EXPECT_EQ(write_failure::namesIn(folder), std::vector<std::string>{"points.gpx"});
  EXPECT_EQ(log().back(), "Output to ... " + fitted(file));
}

}  // namespace
