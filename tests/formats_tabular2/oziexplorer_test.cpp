#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/tabular/oziexplorer.h"
#include "formats_tabular2/tabular_fixture.h"

namespace {

using namespace tabular_test;

const std::vector<std::string> kWaypointHeader{"OziExplorer Waypoint File Version 1.1", "WGS 84", "Reserved 2",
                                               "Garmin symbols (16)"};
const std::vector<std::string> kRouteHeader{"OziExplorer Route File Version 1.0", "WGS 84", "Reserved 1",
                                            "Reserved 2"};
const std::vector<std::string> kTrackHeader{"OziExplorer Track Point File Version 2.1", "WGS 84",
                                            "Altitude is in Feet", "Reserved 3"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// --- the date-time value ---

std::string toValue(const char* date, const char* time) {
  FixedText<16> value;
  TOTDATETIME(date, time, value);
  return std::string(value.view());
}

TEST(OziDateTime, DatesAndTimesBecomeDaysSince30December1899) {
  struct Case {
    const char* date;
    const char* time;
    const char* value;
  };
  const Case cases[] = {
      {"01/01/2000", "12:00:00", "   36526.5000000"},
      {"30/12/1899", "00:00:00", "       0.0000000"},
      {"31/12/1899", "00:00:00", "       1.0000000"},
      {"25/12/2001", "00:00:00", "   37250.0000000"},
      {"29/02/2004", "06:00:00", "   38046.2500000"},
      {"01/03/2004", "00:00:00", "   38047.0000000"},
      {"01/03/2005", "00:00:00", "   38412.0000000"},
      // The fraction is held as a 32-bit real.
      {"01/01/2000", "10:30:15", "   36526.4376736"},
      {"01/01/2000", "23:59:59", "   36526.9999884"},
      {"01/01/2000", "        ", "   36526.0000000"},
      // No date, or no month that the calendar knows: no value.
      {"          ", "12:00:00", "                "},
      {"01/13/2000", "12:00:00", "                "},
      {"01/00/2000", "12:00:00", "                "},
      {"ab/cd/efgh", "12:00:00", "                "},
      {"1/1/2000  ", "12:00:00", "                "},
  };
  for (const Case& c : cases) EXPECT_EQ(toValue(c.date, c.time), c.value) << c.date << " " << c.time;
}

TEST(OziDateTime, ValuesBecomeDatesAndTimesTruncatingEveryStep) {
  struct Case {
    const char* value;
    const char* date;
    const char* time;
  };
  const Case cases[] = {
      {"   36526.5000000", "01/01/2000", "12:00:00"},
      {"36526", "01/01/2000", "00:00:00"},
      {"36526.4376736", "01/01/2000", "10:30:14"},
      {"36526.9999884", "01/01/2000", "23:59:58"},
      {"38046.25", "29/02/2004", "06:00:00"},
      {"38047", "01/03/2004", "00:00:00"},
      {"0", "30/12/1899", "00:00:00"},
      {".5", "30/12/1899", "12:00:00"},
      // The fraction is read from the point on by itself.
      {"-1.25", "29/12/1899", "06:00:00"},
      {"36526.5E0", "01/01/2000", "12:00:00"},
      // Blank, unreadable or beyond the years of four digits.
      {"                ", "", "00:00:00"},
      {"abc", "", "00:00:00"},
      {"1e5", "", "00:00:00"},
      {"36526.5E400", "", "00:00:00"},
      {"36526.x", "", "00:00:00"},
      {"99999999999", "", "00:00:00"},
      {"-800000.5", "", "12:00:00"},
      {"5000000", "", "00:00:00"},
  };
  for (const Case& c : cases) {
    FixedText<10> date{"unchanged"};
    FixedText<8> time{"unchanged"};
    FROMTDATETIME(c.value, date, time);
    EXPECT_EQ(date.str(), c.date) << c.value;
    EXPECT_EQ(time.str(), c.time) << c.value;
  }
}

// The formula's calendar is the Gregorian one from 1901 to 2099.
TEST(OziDateTime, EveryDayOf1901To2099ComesBack) {
  constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int expectedDay = static_cast<int>(std::stol(toValue("01/01/1901", "00:00:00")));
  EXPECT_EQ(expectedDay, 367);
  for (int year = 1901; year <= 2099; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int days = kDaysInMonth[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
      for (int day = 1; day <= days; ++day) {
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%04d", day, month, year);
        const std::string value = toValue(date, "18:00:00");
        ASSERT_EQ(std::stol(value), expectedDay) << date;
        ++expectedDay;
        FixedText<10> back;
        FixedText<8> time;
        FROMTDATETIME(value, back, time);
        ASSERT_EQ(back.str(), date);
        ASSERT_EQ(time.str(), "18:00:00");
      }
    }
  }
}

// --- waypoints ---

class OziExplorer : public Converter {};

TEST_F(OziExplorer, WritesWaypointLines) {
  addPoint(51.500729f, -0.124625f, "", "Big Ben");
  POINT_RECORD& p2 = addPoint(1.5f, 2.25f, "BIGBEN", "");
  p2.DATE = "25/12/2001";
  p2.TIME = "06:00:00";
  p2.SYMBOL = 0;
  POINT_RECORD& p3 = addPoint(-12.345678f, 123.456789f, "", "");
  p3.DATE.blank();
  POINT_RECORD& p4 = addPoint(51.4995f, -0.1248f, "", "Houses of Parliament, Westminster, London SW1A");
  p4.SYMBOL = 3;
  p4.ALTITUDE = 100.0f;
  p4.PROXIMITY = 10.0f;
  POINT_RECORD& p5 = addPoint(0.0f, 0.0f, "POINT", "");
  p5.SYMBOL = 129;  // Maptech Deer
  p5.ALTITUDE = 0.0f;
  addPoint(0.0f, 0.0f, "POINT", "").SYMBOL = 22;   // Maptech Skull
  addPoint(0.0f, 0.0f, "POINT", "").SYMBOL = 999;  // no symbol of either table
  setOutput("out.wpt");
  WRITE_OZI_WPT();
  EXPECT_EQ(readFile("out.wpt"),
            crlf(kWaypointHeader +
                 std::vector<std::string>{
                     "1,BIGBEN,  51.500729,  -0.124625,36526.5000000,  0,  1,,,,Big Ben,,,    0.00,   -777",
                     "2,BIGBE1,   1.500000,   2.250000,37250.2500000,  0,  1,,,,,,,    0.00,   -777",
                     "3,W3    , -12.345678, 123.456787,,  0,  1,,,,,,,    0.00,   -777",
                     "4,HOUOFP,  51.499500,  -0.124800,36526.5000000,  3,  1,,,,"
                     "Houses of Parliament\xD1 Westminster\xD1 Londo,,,   32.81,    328",
                     "5,POINT ,   0.000000,   0.000000,36526.5000000, 13,  1,,,,,,,    0.00,      0",
                     "6,POINT1,   0.000000,   0.000000,36526.5000000,  9,  1,,,,,,,    0.00,   -777",
                     "7,POINT2,   0.000000,   0.000000,36526.5000000,  0,  1,,,,,,,    0.00,   -777",
                 }));
  EXPECT_EQ(lastLog(), "7 points written");
}

TEST_F(OziExplorer, PointsWithoutSymbolAltitudeOrProximityTakeTheOptions) {
  OZIEXPLORER_SETTINGS.PROXIMITY = 50.0f;
  OZIEXPLORER_SETTINGS.SYMBOL = 7;
  OZIEXPLORER_SETTINGS.ALTITUDE = 1000;
  addPoint(1.0f, 2.0f, "A", "").PROXIMITY = 0.0f;  // none, as the tabular readers store it
  addPoint(1.0f, 2.0f, "B", "");                   // none, as the other formats store it
  setOutput("options.wpt");
  WRITE_OZI_WPT();
  EXPECT_EQ(readFile("options.wpt"),
            crlf(kWaypointHeader + std::vector<std::string>{
                                       "1,A     ,   1.000000,   2.000000,36526.5000000,  7,  1,,,,,,,   50.00,   1000",
                                       "2,B     ,   1.000000,   2.000000,36526.5000000,  7,  1,,,,,,,   50.00,   1000",
                                   }));
}

TEST_F(OziExplorer, AnEmptyListGivesTheHeaderOnly) {
  setOutput("empty.wpt");
  WRITE_OZI_WPT();
  EXPECT_EQ(readFile("empty.wpt"), crlf(kWaypointHeader));
  EXPECT_EQ(lastLog(), "0 points written");
}

TEST_F(OziExplorer, ReadsWaypointLines) {
  const std::string longDescription(300, 'd');
  writeFile("in.wpt", crlf(kWaypointHeader + std::vector<std::string>{
                                                 "1,BIGBEN,51.500729,-0.124625,36526.5000000,0,1,3,0,65535,"
                                                 "Big Ben\xD1 London,0,0,0,328,6,0,17",
                                                 "2,OPERA, -33.856784 , 151.215297,,,1,3,0,65535,Opera House,0,0,32.8,-777",
                                                 "",
                                                 "3,A\xD1" "B,1,2,37250.25,3,1,3,0,65535," + longDescription + ",0,0,,,",
                                                 "4,X,1,2,36526.123456789012345,99,1,3,0,65535,d,0,0,0",
                                                 "   ",
                                                 "5,Y,3,4,36526,15",
                                             }));
  setInput("in.wpt");
  READ_OZI_WPT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  const POINT_RECORD& p1 = POINT_LIST.POINT(1);
  EXPECT_EQ(p1.NAME.str(), "BIGBEN");
  EXPECT_FLOAT_EQ(p1.LATITUDE, 51.500729f);
  EXPECT_FLOAT_EQ(p1.LONGITUDE, -0.124625f);
  EXPECT_EQ(p1.DATE.str(), "01/01/2000");
  EXPECT_EQ(p1.TIME.str(), "12:00:00");
  EXPECT_EQ(p1.SYMBOL, -1);
  EXPECT_EQ(p1.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(p1.DESCRIPTION.str(), "Big Ben, London");
  EXPECT_EQ(p1.PROXIMITY, 0.0f);
  EXPECT_FLOAT_EQ(p1.ALTITUDE, 328.0f * 0.3048f);
  EXPECT_TRUE(p1.COMMENT.isBlank());
  EXPECT_EQ(p1.ROUTE_NAME.str(), "Point data");
  EXPECT_TRUE(p1.COLOUR.isBlank());
  const POINT_RECORD& p2 = POINT_LIST.POINT(2);
  EXPECT_FLOAT_EQ(p2.LATITUDE, -33.856784f);
  EXPECT_EQ(p2.SYMBOL, -1);  // a blank symbol field counts as 0
  EXPECT_TRUE(p2.DATE.isBlank());
  EXPECT_EQ(p2.TIME.str(), "00:00:00");
  EXPECT_FLOAT_EQ(p2.PROXIMITY, 32.8f * 0.3048f);
  EXPECT_EQ(p2.ALTITUDE, -9999.0f);
  const POINT_RECORD& p3 = POINT_LIST.POINT(3);
  EXPECT_EQ(p3.NAME.str(), "A\xD1" "B");  // names keep the character
  EXPECT_EQ(p3.SYMBOL, 3);
  EXPECT_EQ(p3.SYMBOL_NAME.str(), "Car");
  EXPECT_EQ(p3.DESCRIPTION.str(), longDescription.substr(0, 256));
  EXPECT_EQ(p3.PROXIMITY, 0.0f);
  EXPECT_EQ(p3.ALTITUDE, -9999.0f);
  EXPECT_EQ(p3.DATE.str(), "25/12/2001");
  EXPECT_EQ(p3.TIME.str(), "06:00:00");
  const POINT_RECORD& p4 = POINT_LIST.POINT(4);
  // The date-time field is cut to 16 characters: 36526.1234567890.
  EXPECT_EQ(p4.TIME.str(), "02:57:46");
  EXPECT_EQ(p4.SYMBOL, 0);
  EXPECT_EQ(p4.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(p4.ALTITUDE, -9999.0f);
  const POINT_RECORD& p5 = POINT_LIST.POINT(5);
  EXPECT_EQ(p5.SYMBOL, 15);
  EXPECT_EQ(p5.SYMBOL_NAME.str(), "TracBack Point");
  EXPECT_EQ(lastLog(), "5 points read");
}

TEST_F(OziExplorer, WaypointsComeBackFromTheirOwnFile) {
  POINT_RECORD& a = addPoint(51.5f, -0.12f, "", "Big Ben, clock tower with a long description text");
  a.ALTITUDE = 96.0f;
  a.PROXIMITY = 15.24f;
  a.SYMBOL = 10;
  addPoint(-33.9f, 151.2f, "OPERA", "Opera House");
  setOutput("back.wpt");
  WRITE_OZI_WPT();
  resetConverter();
  setInput("back.wpt");
  READ_OZI_WPT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_EQ(p.NAME.str(), "BIGBEN");
  EXPECT_EQ(p.DESCRIPTION.str(), "Big Ben, clock tower with a long descrip");
  EXPECT_NEAR(p.ALTITUDE, 96.0f, 0.16f);  // whole feet
  EXPECT_NEAR(p.PROXIMITY, 15.24f, 0.01f);
  EXPECT_EQ(p.SYMBOL, 10);
  EXPECT_EQ(p.DATE.str(), "01/01/2000");
  EXPECT_EQ(p.TIME.str(), "12:00:00");
  EXPECT_EQ(POINT_LIST.POINT(2).NAME.str(), "OPERA");
}

TEST_F(OziExplorer, FilesThatEndEarlyLogNothingRead) {
  struct Case {
    void (*reader)();
    std::string content;
    const char* log;
  };
  const Case cases[] = {
      {READ_OZI_WPT, "", "0 points read"},
      {READ_OZI_WPT, "OziExplorer Waypoint File Version 1.1\r\n", "0 points read"},
      {READ_OZI_WPT, crlf(kWaypointHeader), "0 points read"},
      {READ_OZI_RTE, crlf({"OziExplorer Route File", "WGS 84"}), "0 points read  0 routes"},
      {READ_OZI_PLT, crlf(kTrackHeader), "0 points read  0 tracks"},
      {READ_OZI_PLT, crlf(kTrackHeader + std::vector<std::string>{"0,2,255,Walk,0,0,2,8421376"}),
       "0 points read  0 tracks"},
  };
  for (const Case& c : cases) {
    resetConverter();
    writeFile("early.txt", c.content);
    setInput("early.txt");
    c.reader();
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
    EXPECT_EQ(lastLog(), c.log) << c.content;
  }
}

// --- routes ---

TEST_F(OziExplorer, WritesAnRLineBeforeEachRoute) {
  addPoint(1.0f, 2.0f, "LEAD", "Lead in");
  addPoint(1.5f, 2.5f, "", "");
  addPoint(51.500729f, -0.124625f, "", "Big Ben", "Route, 1");
  POINT_RECORD& p4 = addPoint(51.5f, -0.12f, "BIGBEN", "Tower", "Route, 1");
  p4.SYMBOL = 118;  // Maptech House
  addPoint(3.0f, 4.0f, "X", "", "Point data").SYMBOL = 14;
  setOutput("out.rte");
  WRITE_OZI_RTE();
  EXPECT_EQ(readFile("out.rte"),
            crlf(kRouteHeader +
                 std::vector<std::string>{
                     "W,  0,  1,  1,LEAD  ,   1.000000,   2.000000,36526.5000000,  0,  1,,,,Lead in",
                     "W,  0,  2,  2,W2    ,   1.500000,   2.500000,36526.5000000,  0,  1,,,,",
                     "R,  1,Route, 1",
                     "W,  1,  3,  3,BIGBEN,  51.500729,  -0.124625,36526.5000000,  0,  1,,,,Big Ben",
                     "W,  1,  4,  4,BIGBE1,  51.500000,  -0.120000,36526.5000000,  1,  1,,,,Tower",
                     "R,  2,Point data",
                     "W,  2,  5,  5,X     ,   3.000000,   4.000000,36526.5000000, 14,  1,,,,",
                 }));
  EXPECT_EQ(lastLog(), "5 points written  2 routes");
  EXPECT_EQ(POINT_LIST.NROUTES, 2);
}

TEST_F(OziExplorer, ReadsRoutesFromTheirRAndWLines) {
  writeFile("in.rte", crlf(kRouteHeader + std::vector<std::string>{
                                              "W,1,,1,EARLY,1,2,,0,1,3,0,65535,before any R",
                                              "R,  1,Thames\xD1 walk,,",
                                              "W,  1,  1,  1,START ,  51.500000,  -0.120000,36526.5000000,  3,  1,,,,"
                                              "Westminster\xD1 SW1",
                                              "W,  1,  2,  2,TOWER,51.508,-0.076,,,1,,,,Tower",
                                              "r,lower-case r",
                                              "w,1,1,1,x,1,2",
                                              " W,1,1,1,x,1,2",
                                              "",
                                              "R,  2,Empty route",
                                              "R,  3,Old town",
                                              "W,  3,  3,  3,CASTLE,55.9486,-3.1999,,0,1,,,,",
                                          }));
  setInput("in.rte");
  READ_OZI_RTE();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), "EARLY");
  EXPECT_TRUE(POINT_LIST.POINT(1).ROUTE_NAME.isBlank());
  const POINT_RECORD& start = POINT_LIST.POINT(2);
  EXPECT_EQ(start.NAME.str(), "START");
  EXPECT_EQ(start.ROUTE_NAME.str(), "Thames, walk");
  EXPECT_FLOAT_EQ(start.LATITUDE, 51.5f);
  EXPECT_EQ(start.DATE.str(), "01/01/2000");
  EXPECT_EQ(start.SYMBOL, 3);
  EXPECT_EQ(start.DESCRIPTION.str(), "Westminster, SW1");
  EXPECT_EQ(start.ALTITUDE, -9999.0f);
  EXPECT_EQ(start.PROXIMITY, 0.0f);
  EXPECT_TRUE(start.COMMENT.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(3).SYMBOL, -1);
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Thames, walk");
  EXPECT_EQ(POINT_LIST.POINT(4).ROUTE_NAME.str(), "Old town");
  // The points before the first R line, Thames walk and Old town; not the empty route.
  EXPECT_EQ(POINT_LIST.NROUTES, 3);
  EXPECT_EQ(lastLog(), "4 points read  3 routes");
}

TEST_F(OziExplorer, RoutesComeBackFromTheirOwnFile) {
  addPoint(1.0f, 2.0f, "A", "first", "Walk");
  addPoint(1.1f, 2.1f, "B", "second", "Walk");
  addPoint(1.2f, 2.2f, "C", "third", "Ride");
  addPoint(1.3f, 2.3f, "D", "fourth", "Walk");
  setOutput("back.rte");
  WRITE_OZI_RTE();
  resetConverter();
  setInput("back.rte");
  READ_OZI_RTE();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(lastLog(), "4 points read  3 routes");
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), "Walk");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Ride");
  EXPECT_EQ(POINT_LIST.POINT(4).ROUTE_NAME.str(), "Walk");
  EXPECT_EQ(POINT_LIST.POINT(4).DESCRIPTION.str(), "fourth");
}

TEST_F(OziExplorer, NumbersBeyondTheirColumnsWidenTheirFields) {
  for (int i = 1; i <= 1000; ++i) addPoint(1.0f, 2.0f, "P", "", "Long route");
  POINT_LIST.POINT(1000).PROXIMITY = 30480.0f;  // 100000 feet
  POINT_LIST.POINT(1000).SYMBOL = -1;
  OZIEXPLORER_SETTINGS.SYMBOL = 15;
  setOutput("long.rte");
  WRITE_OZI_RTE();
  const std::string route = readFile("long.rte");
  EXPECT_NE(route.find("\r\nW,  1,999,999,P998  ,"), std::string::npos);
  EXPECT_NE(route.find("\r\nW,  1,1000,1000,P999  ,   1.000000,   2.000000,36526.5000000, 15,  1,,,,\r\n"),
            std::string::npos);
  setOutput("long.wpt");
  WRITE_OZI_WPT();
  const std::string waypoints = readFile("long.wpt");
  EXPECT_NE(waypoints.find("\r\n1000,P999  ,   1.000000,   2.000000,36526.5000000, 15,  1,,,,,,,100000.00,   -777\r\n"),
            std::string::npos);
}

// --- tracks ---

TEST_F(OziExplorer, WritesTrackPointsWithBreakFlags) {
  POINT_RECORD& p1 = addPoint(51.5f, -0.123456f, "", "", "Morning walk");
  p1.ALTITUDE = 100.0f;
  POINT_RECORD& p2 = addPoint(51.51f, -0.13f, "", "", "Morning walk");
  p2.DATE = "02/01/2000";
  p2.TIME = "13:30:00";
  POINT_RECORD& p3 = addPoint(51.6f, -0.2f, "", "", "Evening, late");
  p3.ALTITUDE = 0.0f;
  p3.DATE.blank();
  p3.TIME.blank();
  setOutput("out.plt");
  WRITE_OZI_PLT();
  EXPECT_EQ(readFile("out.plt"),
            crlf(kTrackHeader + std::vector<std::string>{
                                    "0,2,255,Morning walk,0,0,2,8421376",
                                    "       3",
                                    "  51.50000,  -0.12346,1,  328.1,   36526.5000000,01-JAN-00,12:00:00",
                                    "  51.51000,  -0.13000,0, -777.0,   36527.5625000,02-JAN-00,13:30:00",
                                    "  51.60000,  -0.20000,1,    0.0,                ,,        ",
                                }));
  EXPECT_EQ(lastLog(), "3 points written to  2 tracks");
}

TEST_F(OziExplorer, TheTrackLineCarriesTheFirstNameCutTo40) {
  addPoint(1.0f, 2.0f, "", "", "A track, whose name runs on beyond forty characters");
  setOutput("long.plt");
  WRITE_OZI_PLT();
  const std::string trackLine = "0,2,255,A track\xD1 whose name runs on beyond forty,0,0,2,8421376\r\n";
  EXPECT_EQ(readFile("long.plt").substr(crlf(kTrackHeader).size(), trackLine.size()), trackLine);
  // A point before the first track has no break flag and an empty list an empty name.
  resetConverter();
  addPoint(1.0f, 2.0f);
  setOutput("blank.plt");
  WRITE_OZI_PLT();
  EXPECT_EQ(readFile("blank.plt"),
            crlf(kTrackHeader + std::vector<std::string>{
                                    "0,2,255,,0,0,2,8421376",
                                    "       1",
                                    "   1.00000,   2.00000,0, -777.0,   36526.5000000,01-JAN-00,12:00:00",
                                }));
  EXPECT_EQ(lastLog(), "1 points written to  0 tracks");
}

TEST_F(OziExplorer, ReadsTrackSegmentsAsNumberedTracks) {
  writeFile("in.plt", crlf(kTrackHeader + std::vector<std::string>{
                                              "0,2,255,Morning\xD1 walk,0,0,2,8421376",
                                              "not a number",
                                              "51.500000,-0.120000,1,328.1,36526.5,01-JAN-00,12:00:00",
                                              "51.510000,-0.121000,0,-777,,,",
                                              "51.520000,-0.122000,1,,39203.3354167,,",
                                              "",
                                              "51.530000,-0.123000,,0,39203.5",
                                              "51.540000,-0.124000,1,-777.0,39203.75",
                                          }));
  setInput("in.plt");
  READ_OZI_PLT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  const POINT_RECORD& p1 = POINT_LIST.POINT(1);
  EXPECT_EQ(p1.ROUTE_NAME.str(), "Morning, walk");
  EXPECT_NEAR(p1.ALTITUDE, 100.0f, 0.02f);
  EXPECT_EQ(p1.DATE.str(), "01/01/2000");
  EXPECT_EQ(p1.TIME.str(), "12:00:00");
  EXPECT_TRUE(p1.NAME.isBlank());
  EXPECT_TRUE(p1.DESCRIPTION.isBlank());
  EXPECT_EQ(p1.PROXIMITY, 0.0f);
  EXPECT_EQ(p1.SYMBOL, -1);
  EXPECT_EQ(p1.SYMBOL_NAME.str(), "Dot");
  EXPECT_EQ(POINT_LIST.POINT(2).ALTITUDE, -9999.0f);
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), "Morning, walk");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Morning, walk-02");
  EXPECT_EQ(POINT_LIST.POINT(3).ALTITUDE, -9999.0f);  // blank altitude: none
  EXPECT_EQ(POINT_LIST.POINT(4).ROUTE_NAME.str(), "Morning, walk-02");  // blank flag: no break
  EXPECT_EQ(POINT_LIST.POINT(4).ALTITUDE, 0.0f);
  EXPECT_EQ(POINT_LIST.POINT(5).ROUTE_NAME.str(), "Morning, walk-03");
  EXPECT_EQ(POINT_LIST.POINT(5).ALTITUDE, -9999.0f);
  EXPECT_EQ(POINT_LIST.CURRENT_ROUTE.str(), "Morning, walk-03");
  EXPECT_EQ(lastLog(), "5 points read  3 tracks");
}

TEST_F(OziExplorer, ATrackWithoutBreakFlagsIsOneTrackOfZeroCount) {
  writeFile("flat.plt", crlf(kTrackHeader + std::vector<std::string>{"0,2,255,Walk,0,0,2,8421376", "2",
                                                                     "51.5,-0.12,0,10,36526.5", "51.6,-0.13,0,11,36526.6"}));
  setInput("flat.plt");
  READ_OZI_PLT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), "Walk");
  EXPECT_EQ(lastLog(), "2 points read  0 tracks");
}

TEST_F(OziExplorer, ThreeTracksComeBackAsOneNamedTrackAndItsNumberedSegments) {
  for (const char* track : {"Hill", "Hill", "Lake", "Wood", "Wood"}) addPoint(1.0f, 2.0f, "", "", track);
  setOutput("three.plt");
  WRITE_OZI_PLT();
  resetConverter();
  setInput("three.plt");
  READ_OZI_PLT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  const char* expected[] = {"Hill", "Hill", "Hill-02", "Hill-03", "Hill-03"};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(POINT_LIST.POINT(i).ROUTE_NAME.str(), expected[i - 1]) << i;
  EXPECT_EQ(lastLog(), "5 points read  3 tracks");
}

TEST_F(OziExplorer, SegmentNumbersPast99AndLongNamesKeepTheirSuffix) {
  const std::string longName(64, 'n');
  std::vector<std::string> lines = kTrackHeader + std::vector<std::string>{"0,2,255," + longName + ",0,0,2,8421376", "0"};
  for (int k = 0; k < 101; ++k) lines.push_back("1.0,2.0,1,0,36526.5");
  writeFile("segments.plt", crlf(lines));
  setInput("segments.plt");
  READ_OZI_PLT();
  ASSERT_EQ(POINT_LIST.NPOINTS, 101);
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), std::string(61, 'n') + "-02");
  EXPECT_EQ(POINT_LIST.POINT(101).ROUTE_NAME.str(), std::string(60, 'n') + "-101");
  EXPECT_EQ(lastLog(), "101 points read101 tracks");
}

// --- faults, in a child whose boxes are answered here ---

TEST(OziExplorerFaults, AFileOfAnotherKindOrDatumIsRefusedAndTheLogEmptied) {
  struct Case {
    const char* reader;
    std::vector<std::string> lines;
    const char* text;
  };
  const Case cases[] = {
      {"READ_OZI_WPT", {"OziExplorer Route File Version 1.0", "WGS 84"},
       "Not in OziExplorer format\r\rIn record: OziExplorer Route File Version 1.0\r"
       "Correct format is: OziExplorer Waypoint..."},
      {"READ_OZI_RTE", {"oziexplorer Route File", "WGS 84"},
       "Not in OziExplorer format\r\rIn record: oziexplorer Route File\rCorrect format is: OziExplorer Route..."},
      {"READ_OZI_PLT", {"", "WGS 84"},
       "Not in OziExplorer format\r\rIn record: \rCorrect format is: OziExplorer Track Point..."},
      {"READ_OZI_WPT", {"OziExplorer Waypoint File Version 1.1", "Ordnance Survey Great Britain", "", "",
                        "1,A,1,2,,0"},
       "Unsupported Geodetic datum\r\rIn record: Ordnance Survey Great Britain\rCorrect format is: WGS 84"},
  };
  for (const Case& c : cases) {
    writeFile("refused.txt", crlf(c.lines));
    const ChildRun run = runInChild(c.reader, "refused.txt", 2);
    ASSERT_EQ(run.boxes.size(), 1u) << c.reader;
    EXPECT_EQ(run.boxes[0].title, "Data Error");
    EXPECT_EQ(run.boxes[0].text, c.text);
    EXPECT_EQ(run.npoints, 2);
    EXPECT_TRUE(run.log.empty());
    EXPECT_FALSE(run.stop);
  }
}

TEST(OziExplorerFaults, ALineThatCannotBeReadEndsTheReadingWithThePointsBefore) {
  struct Case {
    const char* reader;
    std::vector<std::string> lines;
    const char* record;
    const char* log;
  };
  const Case cases[] = {
      {"READ_OZI_WPT",
       kWaypointHeader + std::vector<std::string>{"1,A,1,2,,0", "2,B,north,2,,0", "3,C,1,2,,0"},
       "2,B,north,2,,0\rReading: Number, Name, Latitude, Longitude, Date, Symbol etc", "1 points read"},
      {"READ_OZI_RTE",
       kRouteHeader + std::vector<std::string>{"R,1,Walk", "W,1,1,1,A,1,2,,0", "W,1,2,2,B,1,2,,star"},
       "W,1,2,2,B,1,2,,star\rReading: W, Route, Number, Number, Name, Latitude, Longitude, Date, Symbol etc",
       "1 points read  1 routes"},
      {"READ_OZI_PLT",
       kTrackHeader + std::vector<std::string>{"0,2,255,Walk,0,0,2,8421376", "1", "1,2,1,high,36526"},
       "1,2,1,high,36526\rReading: Latitude, Longitude, Break, Altitude, Date", "0 points read  0 tracks"},
  };
  for (const Case& c : cases) {
    writeFile("badline.txt", crlf(c.lines));
    const ChildRun run = runInChild(c.reader, "badline.txt");
    ASSERT_EQ(run.boxes.size(), 1u) << c.reader;
    EXPECT_EQ(run.boxes[0].title, "Data Error");
    EXPECT_EQ(run.boxes[0].text, std::string("Data format error\r\rIn record: ") + c.record);
    ASSERT_FALSE(run.log.empty());
    EXPECT_EQ(run.log.back(), c.log);
    EXPECT_FALSE(run.stop);
  }
}

TEST(OziExplorerFaults, The60001stPointStopsTheProgram) {
  struct Case {
    const char* reader;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"READ_OZI_WPT", kWaypointHeader + std::vector<std::string>{"1,A,1,2,,0", "2,B,1,2,,0", "3,C,1,2,,0"}},
      {"READ_OZI_RTE", kRouteHeader + std::vector<std::string>{"R,1,x", "W,1,1,1,A,1,2,,0", "W,1,1,1,B,1,2,,0"}},
      {"READ_OZI_PLT", kTrackHeader + std::vector<std::string>{"0,2,255,T,0,0,2,8421376", "2", "1,2,1,0,0",
                                                               "1,2,0,0,0"}},
  };
  for (const Case& c : cases) {
    writeFile("full.txt", crlf(c.lines));
    const ChildRun run = runInChild(c.reader, "full.txt", MAX_POINTS - 1);
    ASSERT_EQ(run.boxes.size(), 1u) << c.reader;
    EXPECT_EQ(run.boxes[0].title, "Storage limit");
    EXPECT_EQ(run.npoints, MAX_POINTS);
    EXPECT_EQ(run.nread, 1);
    EXPECT_TRUE(run.stop);
    EXPECT_TRUE(run.log.empty());
  }
}

TEST(OziExplorerFaults, FilesThatCannotBeOpenedGetABox) {
  const ChildRun write = runInChild("WRITE_OZI_WPT", "no such folder\\out.wpt", 2);
  ASSERT_EQ(write.boxes.size(), 1u);
  EXPECT_EQ(write.boxes[0].title, "File error");
  EXPECT_EQ(write.boxes[0].text, "Could not open file\rno such folder\\out.wpt");
  EXPECT_TRUE(write.log.empty());
  const ChildRun read = runInChild("READ_OZI_PLT", "no such file.plt");
  ASSERT_EQ(read.boxes.size(), 1u);
  EXPECT_EQ(read.boxes[0].text, "Could not open file\rno such file.plt");
  EXPECT_EQ(read.npoints, 0);
  EXPECT_TRUE(read.log.empty());
}

}  // namespace
