// File > Open, Append and Save on the program's main window: the file-type
// lists of each data type, the reader or writer that a type chooses, the
// remembered types, the log lines, and the refusals.

#include <functional>

#include "converter/open_save.h"
#include "converter/text_helpers.h"
#include "main_window_fixture.h"
#include "program_driver.h"

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

struct MissingFormatCase {
  const char* name;
  std::int32_t dataType;
  std::int32_t command;
  int position;
  const char* file;
  const char* box;
  FilterIndex remembered;
};

class FormatsNotBuilt : public MainWindow, public ::testing::WithParamInterface<MissingFormatCase> {};

TEST_P(FormatsNotBuilt, SayThatTheyAreNotBuiltAndRememberTheChoice) {
  const MissingFormatCase& c = GetParam();
  const std::string folder = program_test::freshFolder(std::string("not_built_") + c.name);
  // Open takes only a file that exists; Save would ask before overwriting one.
  if (c.command == kOpen) program_test::writeFile(folder + c.file, "");
  PROCESSMENU(c.dataType);
  FILE_NAMES.INPUT_FILE = fixture("points.gpx");
  FILE_NAMES.LAST_INPUT_FILE = FILE_NAMES.INPUT_FILE;
  const auto seen = run(c.command, {chooseFile(c.position, folder + c.file), ui::UiDriver::press(IDOK)});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].title, "Format not available");
  ASSERT_FALSE(seen[1].texts.empty());
  EXPECT_EQ(seen[1].texts[0], c.box);
  EXPECT_EQ(FILTER_INDICES[c.remembered], c.position);
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, FormatsNotBuilt,
    ::testing::Values(
        MissingFormatCase{"MaptechMarks", kPoints, kOpen, 3, "marks.mxf",
                          "Reading Maptech Marks (*.mxf) is not built into this version\rof Carrowmapper yet.",
                          kOpenPoints},
        MissingFormatCase{"OziRoutes", kRoutes, kOpen, 8, "route.rte",
                          "Reading OziExplorer Routes (*.rte) is not built into this version\rof Carrowmapper yet.",
                          kOpenRoutes},
        MissingFormatCase{"ExcelPoints", kPoints, kSave, 9, "book.xls",
                          "Writing Excel Table (*.xls) is not built into this version\rof Carrowmapper yet.",
                          kSavePoints},
        MissingFormatCase{"MaptechTracks", kTracks, kSave, 1, "track.txf",
                          "Writing Maptech Tracks (*.txf) is not built into this version\rof Carrowmapper yet.",
                          kSaveTracks}),
    [](const ::testing::TestParamInfo<MissingFormatCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, GridReferenceOutputIsLoggedForAscFilesOnly) {
  const std::string folder = program_test::freshFolder("osgb_output");
  run(kOpen, {chooseFile(7, fixture("points.gpx"))});
  PROCESSMENU(kOsgb);

  run(kSave, {chooseFile(2, folder + "grid.asc")});
  EXPECT_EQ(log()[2], "OSGB output to ... " + fitted(folder + "grid.asc"));
  EXPECT_TRUE(program_test::fileExists(folder + "grid.asc"));
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), folder + "grid.asc");
  EXPECT_EQ(FILTER_INDICES[kSavePoints], 2);

  run(kSave, {chooseFile(9, folder + "grid.xls"), ui::UiDriver::press(IDOK)});
  EXPECT_EQ(log().back(), "Output to ... " + fitted(folder + "grid.xls"));

  // A cancelled Save keeps the output file of the last one.
  run(kSave, {[](HWND dialog) { program_test::pressButton(dialog, IDCANCEL); }});
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), folder + "grid.xls");
}

TEST(FileTypeList, DescriptionsByPosition) {
  EXPECT_EQ(FILTER_COUNT(filter_lists::kOpenPoints), 14);
  EXPECT_EQ(FILTER_DESCRIPTION(filter_lists::kSaveTracks, 6), "OziExplorer Tracks (*.plt)");
  EXPECT_EQ(FILTER_DESCRIPTION(filter_lists::kSaveTracks, 7), "");
  EXPECT_EQ(FILTER_DESCRIPTION(filter_lists::kSaveTracks, 0), "");
}

}  // namespace
