#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/tabular/mapsource.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using namespace tabular_test;

constexpr char kGrid[] = "Grid\tLat/Lon hddd.ddddd\xB0\r\nDatum\tWGS 84\r\n\r\n";
constexpr char kWaypointHeader[] =
    "Header\tName\tDescription\tType\tPosition\tAltitude\tDepth\tProximity\tTemperature\tDisplay Mode\tColor\t"
    "Symbol\tFacility\tCity\tState\tCountry\tDate Modified\tLink\tCategories\r\n\r\n";

// A waypoint line: name, description, position, altitude, proximity, colour, symbol.
std::string waypoint(const std::string& name, const std::string& description, const std::string& position,
                     const std::string& altitude = "", const std::string& proximity = "",
                     const std::string& colour = "Unknown", const std::string& symbol = "Waypoint") {
  return "Waypoint\t" + name + "\t" + description + "\tUser Waypoint\t" + position + "\t" + altitude + "\t\t" +
         proximity + "\t\tSymbol & Name\t" + colour + "\t" + symbol + "\t\t\t\t\t\t\t\r\n";
}

class MapSource : public ConverterTest {
 protected:
  template <typename Reader>
  void read(const std::string& text, Reader reader) {
    writeFile("mapsource.txt", text);
    FILE_NAMES.INPUT_FILE = "mapsource.txt";
    reader();
  }
};

TEST_F(MapSource, WaypointsTakeTheirFieldsByPlace) {
  read(std::string(kGrid) + kWaypointHeader + waypoint("HOME", "My house", "N51.50070 W0.12460", "123 m", "25", "Red", "Residence") +
           waypoint("SYD", "", "S33.85680 E151.21530", "", "", "Unknown", "No such symbol") +
           waypoint("BARE", "Bare", "51.5 0.1") + "Unknown line\tof another kind\r\n",
       READ_TXT);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  const POINT_RECORD& home = point(1);
  EXPECT_EQ(home.NAME.str(), "HOME");
  EXPECT_EQ(home.DESCRIPTION.str(), "My house");
  EXPECT_EQ(home.LATITUDE, 51.5007f);
  EXPECT_EQ(home.LONGITUDE, -0.1246f);
  EXPECT_EQ(home.ALTITUDE, 123.0f);
  EXPECT_EQ(home.PROXIMITY, 25.0f);
  EXPECT_EQ(home.COLOUR.str(), "Red");
  EXPECT_EQ(home.SYMBOL_NAME.str(), "Residence");
  EXPECT_EQ(home.SYMBOL, 1);
  EXPECT_TRUE(home.COMMENT.isBlank());
  EXPECT_EQ(home.DATE.str(), "17/10/2007");
  EXPECT_EQ(home.TIME.str(), "12:34:56");
  EXPECT_EQ(home.ROUTE_NAME.str(), "Point data");

  const POINT_RECORD& sydney = point(2);
  EXPECT_EQ(sydney.DESCRIPTION.str(), "SYD");  // a blank description takes the name
  EXPECT_EQ(sydney.LATITUDE, -33.8568f);
  EXPECT_EQ(sydney.LONGITUDE, 151.2153f);
  EXPECT_EQ(sydney.ALTITUDE, -9999.0f);
  EXPECT_EQ(sydney.PROXIMITY, 0.0f);
  EXPECT_TRUE(sydney.COLOUR.isBlank());
  EXPECT_EQ(sydney.SYMBOL_NAME.str(), "No such symbol");
  EXPECT_EQ(sydney.SYMBOL, 0);
  // Without a hemisphere letter the first digit is taken for one.
  EXPECT_EQ(point(3).LATITUDE, 1.5f);
  EXPECT_EQ(point(3).LONGITUDE, 0.1f);
  EXPECT_EQ(logLines(), std::vector<std::string>{"3 points read"});
}

TEST_F(MapSource, AFileWithoutAGridLineIsReadAllTheSame) {
  read(waypoint("A", "a", "N1 E2") + "\r\n\r\n" + waypoint("B", "b", "N3 W4"), READ_TXT);
  EXPECT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(point(2).LONGITUDE, -4.0f);
}

TEST_F(MapSource, FaultsEndTheProgramWithTheirHint) {
  struct Case {
    std::string line;
    std::string message;
    std::string hint;
  };
  const std::string utm = "Grid\tUTM";
  const Case cases[] = {
      {"Grid\tUTM", "Unsupported Coordinate system", "Grid Lat/Lon hddd.ddddd"},
      {"Grid\tLat/Lon hddd\xB0mm.mmm'", "Unsupported Coordinate system", "Grid Lat/Lon hddd.ddddd"},
      {"Grid", "Unsupported Coordinate system", "Grid Lat/Lon hddd.ddddd"},
      {waypoint("X", "x", "Nabc E1"), "Data format error", "Latitude value as Hddd.ddddd"},
      {waypoint("X", "x", "N1 E"), "Data format error", "Longitude value as Hddd.ddddd"},
      {waypoint("X", "x", "N1"), "Data format error", "Longitude value as Hddd.ddddd"},
      {waypoint("X", "x", "N1 E1", "high"), "Data format error", "Altitude as integer value"},
      {waypoint("X", "x", "N1 E1", "", "near"), "Data format error", "Proximity as decimal value"},
      {"Waypoint", "Data format error", "Latitude value as Hddd.ddddd"},
  };
  for (const Case& c : cases) {
    SetUp();
    boxes.clear();
    read(waypoint("OK", "ok", "N1 E1") + c.line + "\r\n" + waypoint("LATER", "later", "N2 E2"), READ_TXT);
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << c.line;
    EXPECT_EQ(POINT_LIST.NREAD, 1);
    EXPECT_TRUE(isTrue(STOP_FLAG));
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.line;
    std::string shown = c.line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    EXPECT_EQ(boxes.boxes()[0].text, dataErrorText(c.message, shown, "Correct format is: " + c.hint));
    EXPECT_TRUE(logLines().empty());
  }
}

TEST_F(MapSource, RoutePointsTakeTheirWaypointFromEarlierInTheFile) {
  POINT_LIST.CURRENT_ROUTE = "Earlier";
  read(std::string(kGrid) + waypoint("HOME", "My house", "N51.5 W0.1", "10", "5", "Red", "Residence") +
           waypoint("WORK", "Office", "N51.6 W0.2") + "\r\nRoute\tCommute\t3 km\t1 true\t2 waypoints\t\r\n\r\n" +
           "Header\tWaypoint Name\tDistance\tLeg Length\tCourse\r\n\r\n" + "Route Waypoint\tHOME\t0 m\r\n" +
           "Route Waypoint\tWORK\t3 km\t3 km\t1 true\r\n" + "Route\tBack\r\n" + "Route Waypoint\tWORK\r\n" +
           "Route Waypoint\tLATER\r\n" + "Route Waypoint\thome\r\n" + waypoint("LATER", "Later", "N1 E1"),
       READ_TXT_ROUTE);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  EXPECT_EQ(POINT_LIST.NROUTES, 2);
  const POINT_RECORD& home = point(1);
  EXPECT_EQ(home.NAME.str(), "HOME");
  EXPECT_EQ(home.ROUTE_NAME.str(), "Commute");
  EXPECT_EQ(home.LATITUDE, 51.5f);
  EXPECT_EQ(home.LONGITUDE, -0.1f);
  EXPECT_EQ(home.ALTITUDE, 10.0f);
  EXPECT_EQ(home.DESCRIPTION.str(), "My house");
  EXPECT_EQ(home.PROXIMITY, 5.0f);
  EXPECT_EQ(home.SYMBOL, 1);
  EXPECT_EQ(home.SYMBOL_NAME.str(), "Residence");
  EXPECT_EQ(home.COLOUR.str(), "Red");
  EXPECT_EQ(home.DATE.str(), "17/10/2007");
  EXPECT_TRUE(home.COMMENT.isBlank());
  EXPECT_EQ(point(3).ROUTE_NAME.str(), "Back");
  EXPECT_EQ(point(3).DESCRIPTION.str(), "Office");
  // A waypoint listed later, or with another case, is not found: such a point
  // keeps its name but nothing of the point before it.
  for (int i : {4, 5}) {
    const POINT_RECORD& unresolved = point(i);
    EXPECT_EQ(unresolved.ROUTE_NAME.str(), "Back");
    EXPECT_EQ(unresolved.LATITUDE, 0.0f) << i;
    EXPECT_EQ(unresolved.LONGITUDE, 0.0f) << i;
    EXPECT_EQ(unresolved.ALTITUDE, -9999.0f) << i;
    EXPECT_TRUE(unresolved.DESCRIPTION.isBlank()) << i;
    EXPECT_TRUE(unresolved.SYMBOL_NAME.isBlank()) << i;
    EXPECT_TRUE(unresolved.COLOUR.isBlank()) << i;
    EXPECT_EQ(unresolved.PROXIMITY, 0.0f) << i;
  }
  EXPECT_EQ(point(4).NAME.str(), "LATER");
  EXPECT_EQ(logLines(), std::vector<std::string>{"5 points read from  2 routes"});
}

TEST_F(MapSource, TheRouteReaderHoldsAThousandWaypoints) {
  std::string text;
  for (int i = 1; i <= 1000; ++i) text += waypoint(std::string("W").append(std::to_string(i)), "", "N1 E1");
  read(text + "Route\tR\r\nRoute Waypoint\tW1000\r\n", READ_TXT_ROUTE);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "W1000");
  SetUp();
  read(text + waypoint("W1001", "", "N1 E1") + "Route\tR\r\nRoute Waypoint\tW1\r\n", READ_TXT_ROUTE);
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_TRUE(isTrue(STOP_FLAG));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].title, "Storage limit");
  EXPECT_EQ(boxes.boxes()[0].text, "Too many waypoints entries in file.\rMaximum is  1000");
}

TEST_F(MapSource, ARoutePointTakesTheFirstWaypointOfItsName) {
  read(std::string(kGrid) + waypoint("DUP", "First", "N1 E1") + waypoint("DUP", "Second", "N2 E2") +
           waypoint("DUP ", "Blank", "N3 E3") + "Route\tR\r\nRoute Waypoint\tDUP\r\n",
       READ_TXT_ROUTE);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "First");
  EXPECT_EQ(point(1).LATITUDE, 1.0f);
}

TEST_F(MapSource, TracksAreThinnedByTheFilterTrackByTrack) {
  std::string text = kGrid;
  text += "Track\tFirst\t17/10/2007 07:00:00 \t0:25:00\t1 km\r\n\r\n";
  for (int i = 1; i <= 25; ++i) {
    text += "Trackpoint\tN51." + std::to_string(100 + i) + " W0.5\t17/10/2007 07:" + (i < 10 ? "0" : "") +
            std::to_string(i) + ":00 \t" + (i % 2 ? std::to_string(i) + " m" : "") + "\t\r\n";
  }
  text += "Track\tSecond\r\nTrackpoint\tS1 E1\t18/10/2007 08:00:00\r\nTrackpoint\tS2 E2\t18/10/2007 08:01:00\r\n";
  CONVERTER_SETTINGS.TRACK_FILTER = 10;
  read(text, READ_TXT_TRACK);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  const int expected[] = {1, 11, 21};
  for (int k = 0; k < 3; ++k) {
    const POINT_RECORD& p = point(k + 1);
    const int i = expected[k];
    EXPECT_EQ(p.LATITUDE, std::stof("51." + std::to_string(100 + i))) << i;
    EXPECT_EQ(p.LONGITUDE, -0.5f);
    EXPECT_EQ(p.DATE.str(), "17/10/2007");
    EXPECT_EQ(p.TIME.str(), std::string("07:") + (i < 10 ? "0" : "") + std::to_string(i) + ":00");
    EXPECT_EQ(p.ALTITUDE, static_cast<float>(i));
    EXPECT_EQ(p.ROUTE_NAME.str(), "First");
    EXPECT_EQ(p.SYMBOL, -1);
    EXPECT_EQ(p.SYMBOL_NAME.str(), "Dot");
    EXPECT_TRUE(p.NAME.isBlank());
    EXPECT_TRUE(p.DESCRIPTION.isBlank());
    EXPECT_EQ(p.PROXIMITY, 0.0f);
  }
  // The second track starts counting again: its first point is taken.
  EXPECT_EQ(point(4).ROUTE_NAME.str(), "Second");
  EXPECT_EQ(point(4).LATITUDE, -1.0f);
  EXPECT_EQ(point(4).ALTITUDE, -9999.0f);
  EXPECT_EQ(POINT_LIST.NTRACKPOINTS, 27);
  EXPECT_EQ(logLines(),
            (std::vector<std::string>{"Track filter is set to 10", "4 of   27 points read from  2 tracks"}));
  SetUp();
  read(text, READ_TXT_TRACK);
  EXPECT_EQ(POINT_LIST.NPOINTS, 27);
  EXPECT_EQ(logLines(), std::vector<std::string>{"27 points read from  2 tracks"});
}

TEST_F(MapSource, EachReaderTakesOnlyItsOwnKindOfLine) {
  const std::string text = std::string(kGrid) + waypoint("A", "a", "N1 E1") + "Route\tR\r\nRoute Waypoint\tA\r\n" +
                           "Track\tT\r\nTrackpoint\tN5 E5\t01/01/2001 00:00:00\t\r\n";
  read(text, READ_TXT);
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  SetUp();
  read(text, READ_TXT_ROUTE);
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).ROUTE_NAME.str(), "R");
  SetUp();
  read(text, READ_TXT_TRACK);
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).LATITUDE, 5.0f);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(MapSource, TheStorageLimitEndsTheProgram) {
  preload(MAX_POINTS - 1);
  read(waypoint("A", "a", "N1 E1") + waypoint("B", "b", "N2 E2"), READ_TXT);
  EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS);
  EXPECT_EQ(point(MAX_POINTS).NAME.str(), "A");
  EXPECT_TRUE(isTrue(STOP_FLAG));
  EXPECT_EQ(boxes.titles(), std::vector<std::string>{"Storage limit"});
}

}  // namespace
