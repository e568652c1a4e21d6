#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/tabular/autoroute.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using namespace tabular_test;

class AutoRoute : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    FILE_NAMES.INPUT_FILE = "pushpins.csv";
  }
  // Reads the text as a pushpin file.
  void read(const std::string& text) {
    writeFile("pushpins.csv", text);
    FILE_NAMES.INPUT_FILE = "pushpins.csv";
    NEW_READ_CSV();
  }
  static void addPoint(float longitude, float latitude, const std::string& description, const std::string& comment) {
    POINT_RECORD* p = STORE_POINT();
    p->LONGITUDE = longitude;
    p->LATITUDE = latitude;
    p->DESCRIPTION = description;
    p->COMMENT = comment;
  }
};

TEST_F(AutoRoute, APushpinTakesItsPositionNameAndInformation) {
  read("Name,Latitude,Longitude,Information\r\nHome,51.5,-0.12,Where I live\r\n");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(POINT_LIST.NREAD, 1);
  const POINT_RECORD& home = point(1);
  EXPECT_EQ(home.LATITUDE, 51.5f);
  EXPECT_EQ(home.LONGITUDE, -0.12f);
  EXPECT_EQ(home.DESCRIPTION.str(), "Home");
  EXPECT_EQ(home.COMMENT.str(), "Where I live");
  EXPECT_TRUE(home.NAME.isBlank());
  EXPECT_EQ(home.DATE.str(), "17/10/2007");
  EXPECT_EQ(home.TIME.str(), "12:34:56");
  EXPECT_EQ(home.ALTITUDE, -9999.0f);
  EXPECT_EQ(home.PROXIMITY, 0.0f);
  EXPECT_EQ(home.SYMBOL, -1);
  EXPECT_EQ(home.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(home.ROUTE_NAME.str(), "Point data");
  EXPECT_TRUE(home.COLOUR.isBlank());
  EXPECT_EQ(logLines(), std::vector<std::string>{"1 points read"});
}

TEST_F(AutoRoute, ColumnsAreFoundByNameInAnyCaseAndPlace) {
  read(
      ";\"LONGITUDE\",Extra,\"Latitude\",Latitude (deg),name,INFORMATION\n"
      "-0.12,x,51.5,99,\"Big, Ben\",\"Clock \"\"tower\"\", Westminster\"\n"
      "\n"
      "   ; a comment line\n"
      "1'30,y,-51:30,99,Only name\n"
      "2,z,3,99,Many,Fields,Beyond,The,Header\n");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(point(1).LONGITUDE, -0.12f);
  EXPECT_EQ(point(1).LATITUDE, 51.5f);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "Big, Ben");
  EXPECT_EQ(point(1).COMMENT.str(), "Clock \"\"tower\"\", Westminster");
  EXPECT_EQ(point(2).LONGITUDE, 1.5f);
  EXPECT_EQ(point(2).LATITUDE, -51.5f);
  EXPECT_TRUE(point(2).COMMENT.isBlank());  // fewer fields than the header
  EXPECT_EQ(point(3).DESCRIPTION.str(), "Many");
  EXPECT_EQ(point(3).COMMENT.str(), "Fields");
  EXPECT_EQ(lastLogLine(), "3 points read");
}

TEST_F(AutoRoute, GridReferencesWinOverEastingsAndThoseOverDegrees) {
  read("Name,Latitude,Longitude,Eastings,Northings,OS Grid Reference\n"
       "Ben,1,2,100000,100000,TQ 30269 79640\n");
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_NEAR(point(1).LATITUDE, 51.50, 0.01);
  EXPECT_NEAR(point(1).LONGITUDE, -0.12, 0.01);
  SetUp();
  read("Name,Latitude,Longitude,Eastings,Northings\nBen,1,2,530269,179640\n");
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_NEAR(point(1).LATITUDE, 51.50, 0.01);
  EXPECT_NEAR(point(1).LONGITUDE, -0.12, 0.01);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(AutoRoute, ARefusedHeaderReadsNothingAndForgetsTheFile) {
  std::string wide = "Latitude,Longitude";
  for (int i = 3; i <= 33; ++i) wide += ",c" + std::to_string(i);
  struct Case {
    std::string header;
    const char* title;
    std::string text;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"Name,Where,What", "File Format Error",
       "This file contains records that are\rnot in AutoRoute CSV format.\r"
       "Please check the header record or select a different file.",
       {"  Error: Not in AutoRoute CSV format", " File closed"}},
      {wide, "Storage limit", "Too many fields in header.\rMaximum is 32", {" File closed"}},
      {"Latitude,\"Longitude,Name", "Data Error",
       dataErrorText("Error in header record", "Latitude,\"Longitude,Name", "Unbalanced quotes"), {" File closed"}},
  };
  for (const Case& c : cases) {
    SetUp();
    boxes.clear();
    read(c.header + "\n51.5,-0.12\n");
    EXPECT_EQ(POINT_LIST.NPOINTS, 0) << c.header;
    EXPECT_TRUE(FILE_NAMES.INPUT_FILE.isBlank());
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.header;
    EXPECT_EQ(boxes.boxes()[0].title, c.title);
    EXPECT_EQ(boxes.boxes()[0].text, c.text);
    EXPECT_EQ(logLines(), c.log);
    EXPECT_FALSE(isTrue(STOP_FLAG));
  }
  // 32 columns are still one header.
  SetUp();
  boxes.clear();
  read(wide.substr(0, wide.rfind(',')) + "\n51.5,-0.12\n");
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(AutoRoute, ABadRecordStopsTheFileAndIsNotKept) {
  struct Case {
    std::string header;
    std::string record;
    const char* title;
    std::string text;
  };
  const std::string degrees = "Name,Latitude,Longitude\nGood,51,-1\n";
  const std::string eastings = "Name,Eastings,Northings\nGood,530269,179640\n";
  const std::string grid = "Name,OS Grid Reference\nGood,TQ 30269 79640\n";
  const Case cases[] = {
      {degrees, "Bad,\"51.5,-0.12", "Data Error",
       dataErrorText("Error in data field", "Bad,\"51.5,-0.12", "Unbalanced quotes")},
      {degrees, "Bad,91,-0.12", "Data Error",
       dataErrorText("Coordinate value out of range", "Bad,91,-0.12", "Valid range is -90 to 90 degrees")},
      {degrees, "Bad,51.5,W0.12", "Data Error",
       dataErrorText("Error reading coordinate", "Bad,51.5,W0.12",
                     "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec")},
      // A line of blanks is a record, with blank coordinates.
      {degrees, "    ", "Data Error",
       dataErrorText("Error reading coordinate", "", "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec")},
      {eastings, "Bad,53026,179640", "Data Error",
       dataErrorText("Error in Easting", "Bad,53026,179640", "Value must use 6 numeric digits")},
      {grid, "Bad,TQ 3026 7964 1", "OSGB Format Error", ""},
  };
  for (const Case& c : cases) {
    SetUp();
    boxes.clear();
    read(c.header + c.record + "\nLater,51,-1\n");
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << c.record;
    EXPECT_EQ(POINT_LIST.NREAD, 1);
    EXPECT_EQ(point(1).DESCRIPTION.str(), "Good");
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.record;
    EXPECT_EQ(boxes.boxes()[0].title, c.title);
    if (!c.text.empty()) {
      EXPECT_EQ(boxes.boxes()[0].text, c.text);
    }
    EXPECT_EQ(logLines(), std::vector<std::string>{" File closed"});
    // The reader goes on with the program: a bad grid reference does not end it.
    EXPECT_FALSE(isTrue(STOP_FLAG)) << c.record;
    EXPECT_FALSE(FILE_NAMES.INPUT_FILE.isBlank());
  }
}

TEST_F(AutoRoute, TheStorageLimitEndsTheProgram) {
  preload(MAX_POINTS - 1);
  read("Name,Latitude,Longitude\nA,1,2\nB,3,4\nC,5,6\n");
  EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS);
  EXPECT_EQ(point(MAX_POINTS).DESCRIPTION.str(), "A");
  EXPECT_TRUE(isTrue(STOP_FLAG));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Too many POI entries in file.\rMaximum is 60000");
}

TEST_F(AutoRoute, AnEmptyOrMissingFile) {
  read("");
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_EQ(logLines(), std::vector<std::string>{"0 points read"});
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  FILE_NAMES.INPUT_FILE = "no such file.csv";
  NEW_READ_CSV();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, "File Error");
  EXPECT_EQ(boxes.boxes()[0].text, "The file could not be opened:\rno such file.csv");
}

TEST_F(AutoRoute, WritersGiveTheFourColumnsInTheirLayout) {
  addPoint(-0.1234f, 51.5f, "Home", "My \"house\"");
  addPoint(151.2f, -33.86f, "Sydney, NSW", "");
  FILE_NAMES.OUTPUT_FILE = "pushpins_out.csv";
  WRITE_CSV();
  EXPECT_EQ(readFile("pushpins_out.csv"),
            "Longitude,Latitude,Name,Information\r\n"
            "-0.12340,51.50000,\"Home\",\"My \"house\"\"\r\n"
            "151.20000,-33.86000,\"Sydney, NSW\",\"\"\r\n");
  FILE_NAMES.OUTPUT_FILE = "pushpins_out.tab";
  WRITE_TAB();
  EXPECT_EQ(readFile("pushpins_out.tab"),
            "Longitude\tLatitude\tName\tInformation\r\n"
            "-0,12340  \t51,50000  \t\"Home\"\t\"My \"house\"\"\r\n"
            "151,20000 \t-33,86000 \t\"Sydney, NSW\"\t\"\"\r\n");
  EXPECT_EQ(logLines(), (std::vector<std::string>{"2 points written", "2 points written"}));
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(AutoRoute, AWrittenFileIsReadBack) {
  addPoint(-0.1234f, 51.5f, "Big, Ben \x96 M\xFCnster", "Clock tower");
  addPoint(-74.0445f, 40.6892f, "Liberty", "");
  addPoint(180.0f, -90.0f, "Corner", "Far, far away");
  FILE_NAMES.OUTPUT_FILE = "roundtrip.csv";
  WRITE_CSV();
  const std::vector<POINT_RECORD> written(POINT_LIST.POINTS.begin(), POINT_LIST.POINTS.begin() + 3);
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  FILE_NAMES.INPUT_FILE = "roundtrip.csv";
  NEW_READ_CSV();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  for (int i = 1; i <= 3; ++i) {
    const POINT_RECORD& w = written[static_cast<std::size_t>(i - 1)];
    EXPECT_NEAR(point(i).LONGITUDE, w.LONGITUDE, 5e-6);
    EXPECT_NEAR(point(i).LATITUDE, w.LATITUDE, 5e-6);
    EXPECT_EQ(point(i).DESCRIPTION.str(), w.DESCRIPTION.str());
    EXPECT_EQ(point(i).COMMENT.str(), w.COMMENT.str());
  }
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(AutoRoute, EmptyListsAndUnwritableFiles) {
  FILE_NAMES.OUTPUT_FILE = "empty.csv";
  WRITE_CSV();
  EXPECT_EQ(readFile("empty.csv"), "Longitude,Latitude,Name,Information\r\n");
  EXPECT_EQ(lastLogLine(), "0 points written");
  addPoint(1, 2, "A", "B");
  LOG_DISPLAY.LOG_COUNT = 0;
  FILE_NAMES.OUTPUT_FILE = "no such folder\\out.tab";
  WRITE_TAB();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, "File Error");
  EXPECT_EQ(boxes.boxes()[0].text, "The file could not be created:\rno such folder\\out.tab");
  EXPECT_TRUE(logLines().empty());
}

}  // namespace
