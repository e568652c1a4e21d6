#include <windows.h>

#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/xml/mapopolis.h"
#include "support/write_failure.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

// The test double of GPXToMaplet lies in a folder of its own, which stands in for
// the program's folder.
std::string doubleFolder() {
  std::string folder = std::string("Z:") + MAPLET_DOUBLE_DIR + "/";
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

class Mapopolis : public XmlFormatTest {
 protected:
  void SetUp() override {
    XmlFormatTest::SetUp();
    // A folder with a blank in its name, so that the command line must quote.
    CreateDirectoryA("mlp out", nullptr);
    char full[MAX_PATH] = {};
    GetFullPathNameA("mlp out", MAX_PATH, full, nullptr);
    folder_ = full;
    DeleteFileA(path("town.gpx").c_str());
    DeleteFileA(path("command.txt").c_str());
    writeBytes(path("town.mlp"), "stale");
    FILE_NAMES.PROGRAM_FOLDER = doubleFolder();
    FILE_NAMES.OUTPUT_FILE = path("town.mlp");
    SetEnvironmentVariableA("MAPLET_LOG", path("command.txt").c_str());
    SetEnvironmentVariableA("MAPLET_MODE", nullptr);
    GPX_SETTINGS.PROXIMITY = 50.0f;  // the reduced file has no extensions all the same
    POINT_RECORD& square = *STORE_POINT();
    square.LATITUDE = 52.25f;
    square.LONGITUDE = -1.5f;
    square.NAME = "Market Square";
    square.DESCRIPTION = "Town centre";
    square.COMMENT = "Car park: 200 spaces";
    square.ALTITUDE = 80.0f;
    square.DATE = "17/10/2007";
    square.TIME = "08:00:00";
    square.SYMBOL_NAME = "Flag";
    square.PROXIMITY = 0.0f;
    POINT_RECORD& again = *STORE_POINT();
    again.LATITUDE = 52.5f;
    again.LONGITUDE = -1.25f;
    again.NAME = "Market Square";
  }
  void TearDown() override {
    SetEnvironmentVariableA("MAPLET_LOG", nullptr);
    SetEnvironmentVariableA("MAPLET_MODE", nullptr);
    XmlFormatTest::TearDown();
  }
  std::string path(const char* name) const { return folder_ + "\\" + name; }

  std::string folder_;
};

TEST_F(Mapopolis, WritesTheReducedGpxAndLetsGpxToMapletTurnItIntoTheMlpFile) {
  WRITE_MLP();
  // The double copies the GPX file it was given: the file was complete when it ran.
  EXPECT_EQ(readBytes(path("town.mlp")), "MLP\r\n" + readBytes(fixturePath("mapopolis.gpx")));
  EXPECT_FALSE(fileExists(path("town.gpx")));
  EXPECT_EQ(readBytes(path("command.txt")),
            "\"" + doubleFolder() + "GPXToMaplet\" \"" + path("town.gpx") + "\"");
  EXPECT_EQ(FILE_NAMES.OUTPUT_FILE.str(), path("town.gpx"));
  EXPECT_EQ(FILE_NAMES.WORK_PATH_1.str(), path("town"));
  EXPECT_EQ(FILE_NAMES.FILE_EXTENSION.str(), "mlp");
  ASSERT_EQ(LOG_DISPLAY.LOG_COUNT, 2);
  EXPECT_EQ(LOG_DISPLAY.LOG_LINES[0].str(), "Running Mapopolis GPXToMaplet utility");
  EXPECT_EQ(LOG_DISPLAY.LOG_LINES[1].str(), "2 points written");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(Mapopolis, DebugModeKeepsTheGpxFile) {
  DEBUG_FLAG = kLogicalTrue;
  WRITE_MLP();
  EXPECT_EQ(readBytes(path("town.gpx")), readBytes(fixturePath("mapopolis.gpx")));
  EXPECT_TRUE(fileExists(path("town.mlp")));
  EXPECT_EQ(lastLogLine(), "2 points written");
}

TEST_F(Mapopolis, NoMlpFileIsToldAndNotLoggedAsWritten) {
  SetEnvironmentVariableA("MAPLET_MODE", "silent");
  WRITE_MLP();
  // The earlier file was aside during the run, so it could not pass for a
  // result, and is back as it was.
  EXPECT_EQ(readBytes(path("town.mlp")), "stale");
  EXPECT_FALSE(fileExists(path("town.gpx")));
  EXPECT_TRUE(fileExists(path("command.txt")));
  EXPECT_EQ(write_failure::namesIn(folder_), (std::vector<std::string>{"command.txt", "town.mlp"}));
  EXPECT_EQ(lastLogLine(), "Running Mapopolis GPXToMaplet utility");
  const auto seen = boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Error");
  EXPECT_EQ(seen[0].text, "The Mapopolis GPXToMaplet utility failed to produce the file -\r" + path("town.mlp"));
}

TEST_F(Mapopolis, AMissingGpxToMapletIsTold) {
  FILE_NAMES.PROGRAM_FOLDER = folder_ + "\\";
  WRITE_MLP();
  EXPECT_FALSE(fileExists(path("town.gpx")));
  EXPECT_FALSE(fileExists(path("command.txt")));
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
  const auto seen = boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Error");
  EXPECT_EQ(seen[0].text, "The Mapopolis GPXToMaplet utility is missing -\r" + path("GPXToMaplet.exe"));
}

TEST_F(Mapopolis, AnUnwritableGpxFileStopsBeforeTheProgramRuns) {
  FILE_NAMES.OUTPUT_FILE = path("no such folder\\town.mlp");
  WRITE_MLP();
  EXPECT_FALSE(fileExists(path("command.txt")));
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
  const auto seen = boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "File error");
}

}  // namespace
}  // namespace xml_tests
