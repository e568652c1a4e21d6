#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "celox/converter_columns.h"
#include "formats/tabular/excelsubs.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using namespace tabular_test;
using celox_test::ConverterColumns;
using celox_test::PointRow;

constexpr char kCeloxMessage[] = "Celox Message";

SQL_TIMESTAMP_STRUCT stamp(int year, int month, int day, int hour, int minute, int second) {
  return {static_cast<SQLSMALLINT>(year),   static_cast<SQLUSMALLINT>(month),  static_cast<SQLUSMALLINT>(day),
          static_cast<SQLUSMALLINT>(hour),  static_cast<SQLUSMALLINT>(minute), static_cast<SQLUSMALLINT>(second),
          0};
}

TEST(Timestamps, DatesAndTimesInTheirFixedColumns) {
  SQL_TIMESTAMP_STRUCT s{};
  TOTS("05/03/2007", "14:07:09", s);
  EXPECT_EQ(s.year, 2007);
  EXPECT_EQ(s.month, 3);
  EXPECT_EQ(s.day, 5);
  EXPECT_EQ(s.hour, 14);
  EXPECT_EQ(s.minute, 7);
  EXPECT_EQ(s.second, 9);
  EXPECT_EQ(s.fraction, 0u);
  TOTS(" 5/ 3/2007", " 1: 2: 3", s);
  EXPECT_EQ(s.day * 10000 + s.month * 100 + s.hour * 10 + s.minute + s.second, 50300 + 10 + 2 + 3);
  TOTS("", "", s);
  EXPECT_EQ(s.year + s.month + s.day + s.hour + s.minute + s.second, 0);
  // Letters in a numeric place read as nothing.
  TOTS("ab/03/2007", "12:xx:00", s);
  EXPECT_EQ(s.day, 0);
  EXPECT_EQ(s.minute, 0);
  EXPECT_EQ(s.month, 3);

  struct Case {
    SQL_TIMESTAMP_STRUCT stamp;
    const char* date;
    const char* time;
  };
  const Case cases[] = {
      {stamp(2007, 3, 5, 14, 7, 9), "05/03/2007", "14:07:09"},
      {stamp(0, 0, 0, 0, 0, 0), "", ""},
      {stamp(2007, 3, 5, 0, 0, 0), "05/03/2007", "00:00:00"},
      {stamp(0, 0, 0, 1, 0, 0), "00/00/0000", "01:00:00"},
      {stamp(-1, 123, 5, 7, 8, 9), "05/**/****", "07:08:09"},
  };
  for (const Case& c : cases) {
    FixedText<10> date("##########");
    FixedText<8> time("########");
    FROMTS(c.stamp, date, time);
    EXPECT_EQ(date.view(), FixedText<10>(c.date).view());
    EXPECT_EQ(time.view(), FixedText<8>(c.time).view());
  }
}

class Excel : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    celox_test::resetLibrary();
  }

  static POINT_RECORD& add(float latitude, float longitude, const std::string& description,
                           const std::string& route = "Point data") {
    POINT_RECORD* p = STORE_POINT();
    p->LATITUDE = latitude;
    p->LONGITUDE = longitude;
    p->DESCRIPTION = description;
    p->ROUTE_NAME = route;
    p->PROXIMITY = 0.0f;
    return *p;
  }
  // Saves the list, then opens the workbook again as File > Open would.
  void writeAndReadBack(const std::string& file) {
    FILE_NAMES.OUTPUT_FILE = file;
    WRITE_XLS();
    POINT_LIST.NPOINTS = 0;
    POINT_LIST.NREAD = 0;
    FILE_NAMES.INPUT_FILE = file;
    READ_XLS();
  }
  // A workbook with one worksheet made by the CREATE TABLE text and holding the rows.
  static void makeWorkbook(const std::string& file, const std::string& definition, ConverterColumns* rows) {
    DeleteFileA(file.c_str());
    const CeloxConnection c = CeloxCreateEXCELFile(file.c_str());
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(CeloxCreateTable(c, definition.c_str()), 0) << definition;
    if (rows != nullptr) {
      const std::string table = definition.substr(0, definition.find(" ("));
      const auto bindings = rows->bindings();
      ASSERT_EQ(CeloxWriteRows(c, table.c_str(), 12, rows->rows, bindings.data()), rows->rows);
    }
    CeloxCloseEXCELFile(c);
  }
  static PointRow row(double latitude, double longitude, const std::string& route = "R") {
    PointRow p;
    p.latitude = latitude;
    p.longitude = longitude;
    p.name = "N" + std::to_string(latitude);
    p.route = route;
    p.when = stamp(2008, 1, 2, 3, 4, 5);
    return p;
  }
  void read(const std::string& file) {
    FILE_NAMES.INPUT_FILE = file;
    READ_XLS();
  }
};

TEST_F(Excel, PointsTravelThroughAWorkbookAndBack) {
  FILE_DATE = "01/02/2003";
  FILE_TIME = "04:05:06";
  POINT_RECORD& a = add(51.5007f, -0.1246f, "Big Ben \x96 Westminster");
  a.NAME = "BIGBEN";
  a.COMMENT = "Clock tower";
  a.DATE = "05/03/2007";
  a.TIME = "14:07:09";
  a.ALTITUDE = 12.5f;
  a.PROXIMITY = 25.0f;
  a.SYMBOL = 1;
  a.SYMBOL_NAME = "House";
  a.COLOUR = "Red";
  POINT_RECORD& b = add(-33.8568f, 151.2153f, "Opera");
  b.SYMBOL = 5;  // the number itself does not travel, only the name
  POINT_RECORD& c = add(40.0f, -74.0f, std::string(200, 'D'));
  c.SYMBOL_NAME = "Waypoint";
  c.DATE = "31/12/2008";

  FILE_NAMES.OUTPUT_FILE = "points.xls";
  WRITE_XLS();
  // The list keeps its own blank dates.
  EXPECT_TRUE(point(2).DATE.isBlank());
  EXPECT_TRUE(point(2).TIME.isBlank());
  EXPECT_EQ(lastLogLine(), "3 points written");

  FILE_DATE = "17/10/2007";
  FILE_TIME = "12:34:56";
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  read("points.xls");
  // The cell of 129 characters comes back cut to 128, which the library notes.
  ASSERT_EQ(boxes.boxes().size(), 1u) << boxes.describe();
  EXPECT_EQ(boxes.boxes()[0].title, "Celox Error");
  EXPECT_NE(boxes.boxes()[0].text.find("CeloxReadRows"), std::string::npos);
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  const POINT_RECORD& ben = point(1);
  EXPECT_EQ(ben.LATITUDE, 51.5007f);
  EXPECT_EQ(ben.LONGITUDE, -0.1246f);
  EXPECT_EQ(ben.DESCRIPTION.str(), "Big Ben \x96 Westminster");
  EXPECT_EQ(ben.NAME.str(), "BIGBEN");
  EXPECT_EQ(ben.COMMENT.str(), "Clock tower");
  EXPECT_EQ(ben.DATE.str(), "05/03/2007");
  EXPECT_EQ(ben.TIME.str(), "14:07:09");
  EXPECT_EQ(ben.ALTITUDE, 12.5f);
  EXPECT_EQ(ben.PROXIMITY, 25.0f);
  EXPECT_EQ(ben.SYMBOL_NAME.str(), "House");
  EXPECT_EQ(ben.SYMBOL, 118);
  EXPECT_EQ(ben.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(ben.COLOUR.str(), "Red");
  // The input file's date and time of the write went with the dateless point.
  const POINT_RECORD& opera = point(2);
  EXPECT_EQ(opera.DATE.str(), "01/02/2003");
  EXPECT_EQ(opera.TIME.str(), "04:05:06");
  EXPECT_EQ(opera.ALTITUDE, -9999.0f);
  EXPECT_TRUE(opera.SYMBOL_NAME.isBlank());
  EXPECT_EQ(opera.SYMBOL, 37);
  const POINT_RECORD& longOne = point(3);
  EXPECT_EQ(longOne.DESCRIPTION.str(), std::string(128, 'D'));
  EXPECT_EQ(longOne.SYMBOL, 37);  // "Waypoint" is no Maptech symbol
  EXPECT_EQ(longOne.DATE.str(), "31/12/2008");
  EXPECT_EQ(longOne.TIME.str(), "04:05:06");
  EXPECT_EQ(logLines(), (std::vector<std::string>{"3 points written", "3 points read"}));
}

TEST_F(Excel, RoutesReplaceAnExistingFileAndCountTheirRoutes) {
  writeFile("routes.xls", "an old file of that name");
  CONVERTER_SETTINGS.DATA_TYPE = "Routes";
  add(1, 1, "a", "Out");
  add(2, 2, "b", "Out");
  add(3, 3, "c", "Back");
  writeAndReadBack("routes.xls");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  EXPECT_EQ(logLines(), (std::vector<std::string>{"3 points written to  2 routes", "3 points read from  2 routes"}));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(point(3).ROUTE_NAME.str(), "Back");
  EXPECT_EQ(POINT_LIST.NROUTES, 2);
  // The library's three empty worksheets and the new one.
  const CeloxConnection c = CeloxOpenEXCELFile("routes.xls");
  ASSERT_NE(c, nullptr);
  std::vector<char> names(10 * kCeloxTableNameLength);
  std::int32_t count = 0;
  std::int32_t error = 0;
  CeloxGetTableNames(c, 10, names.data(), &count, &error);
  CeloxCloseEXCELFile(c);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(count, 4);
}

TEST_F(Excel, TracksCarryGridReferencesAndAreThinnedByTheFilter) {
  CONVERTER_SETTINGS.DATA_TYPE = "Tracks";
  CONVERTER_SETTINGS.OSGB_OUTPUT = kLogicalTrue;
  for (int i = 1; i <= 12; ++i) add(51.5f + i * 0.001f, -0.12f, "p" + std::to_string(i), "Walk");
  add(10.0f, 10.0f, "abroad", "Away");
  FILE_NAMES.OUTPUT_FILE = "tracks.xls";
  WRITE_XLS();
  EXPECT_EQ(lastLogLine(), "13 points written to  2 tracks");

  ConverterColumns rows(13);
  const CeloxConnection c = CeloxOpenEXCELFile("tracks.xls");
  ASSERT_NE(c, nullptr);
  const auto bindings = rows.bindings();
  ASSERT_EQ(CeloxReadRows(c, "Tracks", 12, -1, bindings.data(), "", ""), 13);
  CeloxCloseEXCELFile(c);
  EXPECT_EQ(rows.osgb.text(1).substr(0, 3), "TQ ");
  EXPECT_EQ(rows.osgb.text(1).size(), 14u);
  EXPECT_EQ(rows.osgb.text(13), "Invalid OS ref.");

  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  LOG_DISPLAY.LOG_COUNT = 0;
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  read("tracks.xls");
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "p1");
  EXPECT_EQ(point(2).DESCRIPTION.str(), "p6");
  EXPECT_EQ(point(3).DESCRIPTION.str(), "p11");
  // A new track restarts the count: its first row is taken.
  EXPECT_EQ(point(4).DESCRIPTION.str(), "abroad");
  EXPECT_EQ(POINT_LIST.NTRACKPOINTS, 4);
  EXPECT_EQ(logLines(),
            (std::vector<std::string>{"Track filter is set to 5", "4 of   13 points read from  2 tracks"}));
}

TEST_F(Excel, RowsWithoutNumbersTakeTheirPositionFromTheGridReference) {
  ConverterColumns rows(12);
  for (int k = 1; k <= 12; ++k) rows.put(k, row(k, k));
  PointRow fromGrid = row(0, 0);
  fromGrid.osgb = "tq 30269 79640";
  fromGrid.when = stamp(0, 0, 0, 0, 0, 0);  // an empty cell
  fromGrid.altitude = 0;
  fromGrid.symbol = "house";
  rows.put(1, fromGrid);
  PointRow nowhere = row(0, 0);
  rows.put(2, nowhere);
  PointRow badReference = row(0, 0);
  badReference.osgb = "XX 1";
  badReference.when = stamp(2008, 7, 6, 0, 0, 0);
  rows.put(3, badReference);
  makeWorkbook("grid.xls", celox_test::kPointsTableDefinition, &rows);
  read("grid.xls");

  ASSERT_EQ(POINT_LIST.NPOINTS, 11);
  EXPECT_NEAR(point(1).LATITUDE, 51.50, 0.01);
  EXPECT_NEAR(point(1).LONGITUDE, -0.12, 0.01);
  EXPECT_EQ(point(1).DATE.str(), "17/10/2007");
  EXPECT_EQ(point(1).TIME.str(), "12:34:56");
  EXPECT_EQ(point(1).ALTITUDE, 0.0f);
  EXPECT_EQ(point(1).SYMBOL, 37);  // "house" is not "House"
  // A reference that cannot be read keeps its row, without a position, and ends the program.
  EXPECT_EQ(point(2).LATITUDE, 0.0f);
  EXPECT_EQ(point(2).DATE.str(), "06/07/2008");
  EXPECT_EQ(point(2).TIME.str(), "00:00:00");
  EXPECT_TRUE(isTrue(STOP_FLAG));
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].title, "OSGB Format Error");
  EXPECT_EQ(shown[1].title, "XLS data error");
  EXPECT_EQ(shown[1].text,
            "Some POI have neither Lat/Long coordinates\rnor OSGB references defined.\r    1 of the    12 rows have "
            "been skipped.");
  EXPECT_EQ(lastLogLine(), "11 points read");
}

TEST_F(Excel, RowsBeforeAnyNamedRouteBelongToNone) {
  CONVERTER_SETTINGS.DATA_TYPE = "Routes";
  ConverterColumns rows(2);
  rows.put(1, row(1, 1, ""));
  rows.put(2, row(2, 2, ""));
  makeWorkbook("unnamed.xls", "Routes" + std::string(celox_test::kPointsTableDefinition).substr(6), &rows);
  read("unnamed.xls");
  EXPECT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(logLines(), std::vector<std::string>{"2 points read from  0 routes"});
}

TEST_F(Excel, WorkbooksThatAreNotAsExpectedAreRefusedWithTheirBox) {
  const std::string all =
      "[OS Grid Reference] TEXT, Latitude NUMBER, Longitude NUMBER, Name TEXT, Information TEXT, [Name 2] TEXT, "
      "[Date and Time] DATETIME, Altitude NUMBER, Proximity NUMBER, [Symbol name] TEXT, [Route or Track name] TEXT";
  struct Case {
    std::string definition;
    std::string title;
    std::string text;
  };
  const Case cases[] = {
      {"Routes (" + all + ", [Colour name] TEXT)", "Worksheet Error", "The data must be on worksheet Points"},
      {"Points (" + all + ")", "Worksheet Error",
       "The column headings must be OS Grid Reference, Latitude, Longitude, Name, Information, Name 2, Date and "
       "Time, Altitude, Proximity, Symbol name, Route or Track name, Colour name"},
      {"Points (" + all + ", [Colour name] TEXT)", kCeloxMessage, " Table Points is empty. No rows to read."},
  };
  for (const Case& c : cases) {
    SetUp();
    makeWorkbook("refused.xls", c.definition, nullptr);
    read("refused.xls");
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.definition;
    EXPECT_EQ(boxes.boxes()[0].title, c.title);
    EXPECT_EQ(boxes.boxes()[0].text, c.text);
    EXPECT_EQ(logLines(), std::vector<std::string>{"0 points read"});
    EXPECT_FALSE(isTrue(STOP_FLAG));
    boxes.clear();
  }
  // A file that is missing or no workbook cannot be opened: no count line then.
  writeFile("not a workbook.xls", "Name,Latitude\n");
  for (const char* file : {"missing.xls", "not a workbook.xls"}) {
    SetUp();
    read(file);
    const auto shown = boxes.boxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().title, kCeloxMessage);
    EXPECT_EQ(shown.back().text, " Error returned from CeloxOpenEXCELFile =           0");
    EXPECT_TRUE(logLines().empty());
    boxes.clear();
  }
}

TEST_F(Excel, HeadingsInAnyCaseOrderAndNumberOfColumnsOrSheetsAreAccepted) {
  ConverterColumns rows(1);
  rows.put(1, row(7, 8));
  std::string extras;
  for (int i = 1; i <= 13; ++i) extras += ", Extra" + std::to_string(i) + " TEXT";
  makeWorkbook("wide.xls",
               "Points ([colour NAME] TEXT" + extras +
                   ", [ROUTE OR TRACK NAME] TEXT, [Symbol name] TEXT, proximity NUMBER, Altitude NUMBER, "
                   "[date and time] DATETIME, [Name 2] TEXT, information TEXT, NAME TEXT, Longitude NUMBER, "
                   "latitude NUMBER, [OS Grid Reference] TEXT)",
               &rows);
  // Twenty-five worksheets: the library's three, 21 others and Points.
  const CeloxConnection c = CeloxOpenEXCELFile("wide.xls");
  ASSERT_NE(c, nullptr);
  for (int i = 1; i <= 21; ++i) {
    ASSERT_EQ(CeloxCreateTable(c, ("Other" + std::to_string(i) + " (A TEXT)").c_str()), 0);
  }
  CeloxCloseEXCELFile(c);
  read("wide.xls");
  // The library notes that its first listing had too little room.
  for (const Box& b : boxes.boxes()) {
    EXPECT_EQ(b.title, "Celox Error");
    EXPECT_NE(b.text.find("70005"), std::string::npos) << b.text;
  }
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).LATITUDE, 7.0f);
  EXPECT_EQ(point(1).LONGITUDE, 8.0f);
}

TEST_F(Excel, RowsThatWouldPassTheStorageLimitAreRefusedBeforeAnyIsTaken) {
  ConverterColumns rows(12);
  for (int k = 1; k <= 12; ++k) rows.put(k, row(k, k));
  makeWorkbook("twelve.xls", celox_test::kPointsTableDefinition, &rows);
  preload(MAX_POINTS - 11);
  read("twelve.xls");
  EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS - 11);
  EXPECT_EQ(POINT_LIST.NREAD, 0);
  EXPECT_FALSE(isTrue(STOP_FLAG));  // the program goes on
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, "Storage limit");
  EXPECT_EQ(boxes.boxes()[0].text, "Too many POI entries in file.\rMaximum is 60000");
  EXPECT_EQ(lastLogLine(), "0 points read");
  // Exactly as many rows as there is room for are read.
  SetUp();
  preload(MAX_POINTS - 12);
  read("twelve.xls");
  EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS);
  EXPECT_EQ(point(MAX_POINTS).LATITUDE, 12.0f);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(Excel, AWorkbookThatCannotBeWrittenIsNotLoggedAsWritten) {
  add(1, 1, "a");
  add(2, 2, "b");
  FILE_NAMES.OUTPUT_FILE = "no such folder\\points.xls";
  WRITE_XLS();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, kCeloxMessage);
  EXPECT_EQ(boxes.boxes()[0].text, " Error returned from CeloxCreateEXCELFile =           0");
  EXPECT_EQ(logLines(), std::vector<std::string>{"0 points written"});

  // An empty list makes the workbook and the sheet; the library refuses rows of nothing.
  SetUp();
  boxes.clear();
  FILE_NAMES.OUTPUT_FILE = "empty.xls";
  WRITE_XLS();
  const auto shown = boxes.boxes();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().title, kCeloxMessage);
  EXPECT_EQ(shown.back().text, " Error returned from CeloxWriteRows. Error =           -1");
  EXPECT_EQ(logLines(), std::vector<std::string>{"0 points written"});
  const CeloxConnection c = CeloxOpenEXCELFile("empty.xls");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(CeloxDoesTableNameExist(c, "Points"), 1);
  CeloxCloseEXCELFile(c);
}

}  // namespace
