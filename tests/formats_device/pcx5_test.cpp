// Garmin PCX5 waypoints, routes and tracks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "converter/log_display.h"
#include "device_test_support.h"
#include "formats/device/garmin.h"

namespace {

using namespace device_test;
using ::testing::HasSubstr;

const std::string kHeader =
    "H SOFTWARE NAME & VERSION\r\n"
    "I PCX5 2.00 Created by Carrowmapper 3.21\r\n"
    "H R DATUM               IDX  DA            DF            DX            DY            DZ\r\n"
    "M E WGS 84              100 +0.000000e+00 +0.000000e+00 +0.000000e+00 +0.000000e+00 +0.000000e+00\r\n"
    "H COORDINATE SYSTEM\r\n"
    "U LAT LON DEG\r\n";
const std::string kColumns =
    "H IDNT   LATITUDE   LONGITUDE   DATE      TIME     ALT   DESCRIPTION                             PROXIMITY    "
    "SYMBOL\r\n";
const std::string kTrackColumns = "H  LATITUDE   LONGITUDE   DATE      TIME     ALT\r\n";

class Pcx5 : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
  BoxAnswerer boxes;
  ScratchFolder folder{"pcx5"};
};

std::string padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

TEST_F(Pcx5, WaypointFileHasTheHeaderTheColumnLineAndFixedColumnRecords) {
  POINT_RECORD& a = addPoint(-1.25f, 51.5f, "Old Mill", "MILL");
  a.DATE = "05/01/2007";
  a.TIME = "12:34:56";
  a.ALTITUDE = 12.5f;
  a.PROXIMITY = 150.0f;
  a.SYMBOL = 10;
  // No name, date, time, altitude or symbol: the options and defaults fill in.
  POINT_RECORD& b = addPoint(123.4f, -5.5f, "Tower Bridge");
  b.SYMBOL = 118;  // a Maptech "House"
  GARMIN_SETTINGS.SYMBOL = 3;
  const std::string written = writeFileWith(WRITE_WPT, folder.path("out.wpt"));
  const std::string expected =
      kHeader + "\r\n" + kColumns +
      "W MILL   N51.50000  W001.25000  05-JAN-07 12:34:56    13 " + padded("Old Mill", 39) + " 1.50000E+02 10\r\n" +
      "W TOWBRI S05.50000  E123.40000  17-OCT-07 12:00:00 -9999 " + padded("Tower Bridge", 39) + " 0.00000E+00  1\r\n";
  EXPECT_EQ(written, expected);
  EXPECT_EQ(lastLog(), "2 points written");
  EXPECT_EQ(written, fixture("waypoints.wpt"));
}

TEST_F(Pcx5, IdentifiersAreNamesOrMadeFromDescriptionsOrGeneratedAndUniqueInSixCharacters) {
  addPoint(1, 1, "", "PARIS");
  addPoint(1, 1, "", "PARIS");
  addPoint(1, 1, "");  // nothing to name it by: prefix and position
  addPoint(1, 1, "London");
  addPoint(1, 1, "", "Longer than six");
  const std::vector<std::string> out = lines(writeFileWith(WRITE_WPT, folder.path("ids.wpt")));
  ASSERT_EQ(out.size(), 13u);
  EXPECT_EQ(out[8].substr(0, 9), "W PARIS  ");
  EXPECT_EQ(out[9].substr(0, 9), "W PARIS1 ");
  EXPECT_EQ(out[10].substr(0, 9), "W W3     ");
  EXPECT_EQ(out[11].substr(0, 9), "W LONDON ");
  EXPECT_EQ(out[12].substr(0, 9), "W Longer ");

  GARMIN_SETTINGS.REPLACE_NAME = 1;
  GARMIN_SETTINGS.NAME_PREFIX = "WP";
  const std::vector<std::string> replaced = lines(writeFileWith(WRITE_WPT, folder.path("ids2.wpt")));
  EXPECT_EQ(replaced[8].substr(0, 9), "W WP1    ");
  EXPECT_EQ(replaced[12].substr(0, 9), "W WP5    ");
}

TEST_F(Pcx5, EmptyListGivesTheHeaderAnEmptyLineAndTheColumnLineOnly) {
  EXPECT_EQ(writeFileWith(WRITE_WPT, folder.path("empty.wpt")), kHeader + "\r\n" + kColumns);
  EXPECT_EQ(lastLog(), "0 points written");
}

TEST_F(Pcx5, AMissingProximityTakesTheOptionsProximityInsteadOfMinus9999) {
  POINT_RECORD& p = addPoint(1, 1, "x");
  p.PROXIMITY = kNoValue;
  GARMIN_SETTINGS.PROXIMITY = 25.0f;
  addPoint(1, 1, "y").PROXIMITY = 0.0f;
  const std::vector<std::string> out = lines(writeFileWith(WRITE_WPT, folder.path("prox.wpt")));
  EXPECT_EQ(out[8].substr(96, 12), " 2.50000E+01");
  EXPECT_EQ(out[9].substr(96, 12), " 2.50000E+01");
}

TEST_F(Pcx5, WaypointsReadBackWithEverySymbolAndTheirOtherFields) {
  for (int s = 0; s <= 15; ++s) {
    POINT_RECORD& p = addPoint(-179.12345f + s, -89.5f + s, numbered("Description longer than thirty-nine characters ", s),
                               numbered("N", s));
    p.SYMBOL = s;
    p.ALTITUDE = -12.4f + s;
    p.PROXIMITY = 1500.0f + s;
    p.DATE = "29/02/2008";
    p.TIME = "23:59:0" + std::to_string(s % 10);
  }
  writeFileWith(WRITE_WPT, folder.path("all.wpt"));
  resetConverter();
  readFileWith(READ_WPT, folder.path("all.wpt"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 16);
  for (int s = 0; s <= 15; ++s) {
    const POINT_RECORD& p = POINT_LIST.POINT(s + 1);
    SCOPED_TRACE(s);
    EXPECT_EQ(p.SYMBOL, s);
    EXPECT_NEAR(p.LONGITUDE, -179.12345 + s, 2e-5);
    EXPECT_NEAR(p.LATITUDE, -89.5 + s, 1e-5);
    EXPECT_EQ(p.NAME.str(), numbered("N", s));
    EXPECT_EQ(p.DESCRIPTION.str(), "Description longer than thirty-nine cha");
    EXPECT_FLOAT_EQ(p.ALTITUDE, std::round(-12.4f + s));
    EXPECT_FLOAT_EQ(p.PROXIMITY, 1500.0f + s);
    EXPECT_EQ(p.DATE.str(), "29/02/2008");
    EXPECT_EQ(p.TIME.str(), "23:59:0" + std::to_string(s % 10));
    EXPECT_EQ(p.ROUTE_NAME.str(), "Point data");
    EXPECT_TRUE(p.COMMENT.isBlank());
  }
  EXPECT_EQ(POINT_LIST.POINT(11).SYMBOL_NAME.str(), "Flag");
  EXPECT_EQ(lastLog(), "16 points read");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

TEST_F(Pcx5, ReadsDegreesAndMinutesAndNeverCarriesALayoutOverToTheNextFile) {
  writeFile(folder.path("dm.wpt"),
            "U LAT LON DM\r\n"
            "H IDNT   LATITUDE   LONGITUDE   DATE      TIME     ALT   DESCRIPTION\r\n"
            "W A      N5107.4070 W00130.0000 01-JAN-07 00:00:00   100 first\r\n"
            "W B      S5107.4070 E00130.0000 01-JAN-07 00:00:00   100 second\r\n");
  // Decimal degrees without a U line, its columns two further to the right.
  writeFile(folder.path("deg.wpt"),
            "H IDNT     LATITUDE   LONGITUDE   DATE      TIME     ALT   DESCRIPTION\r\n"
            "W C        N51.50000  W001.25000  01-JAN-07 00:00:00    -5 third\r\n"
            "w D        N1.00000   E1.00000    01-JAN-07 00:00:00    -5 small letter: no waypoint\r\n");
  readFileWith(READ_WPT, folder.path("dm.wpt"));
  readFileWith(READ_WPT, folder.path("deg.wpt"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.12345, 1e-5);
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, -1.5, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(2).LATITUDE, -51.12345, 1e-5);
  EXPECT_NEAR(POINT_LIST.POINT(2).LONGITUDE, 1.5, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(3).NAME.str(), "C");
  EXPECT_NEAR(POINT_LIST.POINT(3).LATITUDE, 51.5, 1e-6);
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(3).ALTITUDE, -5.0f);
  EXPECT_EQ(POINT_LIST.POINT(3).DESCRIPTION.str(), "third");
  // Columns that the file does not have give nothing.
  EXPECT_EQ(POINT_LIST.POINT(3).SYMBOL, kNoSymbol);
  EXPECT_EQ(POINT_LIST.POINT(3).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(3).PROXIMITY, kNoValue);
  EXPECT_EQ(POINT_LIST.NREAD, 1);
}

TEST_F(Pcx5, LongLinesOtherHLinesAndUnknownSymbolsAreHandled) {
  const std::string record = "W X      N10.00000  E020.00000  01-JAN-07 00:00:00     0 " + padded("d", 39) +
                             " 0.00000E+00 99" + std::string(2000, ' ') + "tail";
  writeFile(folder.path("long.wpt"), kColumns + "H SOMETHING ELSE AT ALL\r\n" + record + "\r\n");
  readFileWith(READ_WPT, folder.path("long.wpt"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 1) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL, 0);
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, 20.0, 1e-6);
}

struct BadFile {
  const char* name;
  std::string body;
  const char* hint;
};

TEST_F(Pcx5, FaultyLinesStopTheReadingWithTheDataErrorBoxAndKeepThePointsBefore) {
  const std::string good = "W GOOD   N10.00000  E020.00000  01-JAN-07 00:00:00     0 good\r\n";
  const BadFile cases[] = {
      {"no column line", "W A      N10.00000  E020.00000\r\n", "H IDNT record must precede waypoint W records"},
      {"bad latitude", kColumns + good + "W A      N1O.00000  E020.00000  01-JAN-07 00:00:00     0 x\r\n",
       "Latitude value Hdd.ddddd"},
      {"latitude beyond 90", kColumns + good + "W A      N91.00000  E020.00000  01-JAN-07 00:00:00     0 x\r\n",
       "Latitude value Hdd.ddddd"},
      {"bad minutes", "U LAT LON DM\r\n" + kColumns + good + "W A      N1000.0000 E0200x.000  01-JAN-07\r\n",
       "Longitude value Hdddmm.mmmm"},
      {"unknown units", "U LAT LON UTM\r\n", "U LAT LON DM or U LAT LON DEG"},
      {"bad date", kColumns + good + "W A      N10.00000  E020.00000  01-XYZ-07 00:00:00     0 x\r\n",
       "Date value DD-MMM-YY"},
      {"bad altitude", kColumns + good + "W A      N10.00000  E020.00000  01-JAN-07 00:00:00   abc x\r\n",
       "Altitude value in metres"},
  };
  for (const BadFile& c : cases) {
    SCOPED_TRACE(c.name);
    resetConverter();
    boxes.clear();
    writeFile(folder.path("bad.wpt"), c.body);
    readFileWith(READ_WPT, folder.path("bad.wpt"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Data Error");
    EXPECT_THAT(boxes.boxes()[0].text, HasSubstr(std::string("Correct format is: ") + c.hint));
    EXPECT_TRUE(isTrue(STOP_FLAG));
    const bool goodFirst = c.body.find(good) != std::string::npos;
    EXPECT_EQ(POINT_LIST.NPOINTS, goodFirst ? 1 : 0);  // the faulty line's point is not kept
    EXPECT_EQ(lastLog(), "");                           // no count is logged
  }
}

TEST_F(Pcx5, RoutesHaveNumberedRRecordsAndGeneratedIdentifiersPerRoute) {
  // The first route has no name: it still gets its R record and column line.
  addPoint(1, 1, "a");
  addPoint(1, 2, "b");
  addPoint(1, 3, "c").ROUTE_NAME = "Home run with a name of more than twenty";
  addPoint(1, 4, "d").ROUTE_NAME = "Home run with a name of more than twenty";
  addPoint(1, 5, "e");
  GARMIN_SETTINGS.REPLACE_NAME = 1;
  const std::string written = writeFileWith(WRITE_RTE, folder.path("r.rte"));
  const std::vector<std::string> out = lines(written);
  ASSERT_EQ(out.size(), 6u + 3 * 4 + 5);
  EXPECT_EQ(written.substr(0, kHeader.size()), kHeader);
  EXPECT_EQ(out[6], "\r");
  EXPECT_EQ(out[7], "R 00" + std::string(22, ' ') + "\r");
  EXPECT_EQ(out[8], "\r");
  EXPECT_EQ(out[9] + "\n", kColumns);
  EXPECT_EQ(out[10].substr(0, 9), "W R00000 ");
  EXPECT_EQ(out[11].substr(0, 9), "W R00001 ");
  EXPECT_EQ(out[13], "R 01  Home run with a name\r");
  EXPECT_EQ(out[16].substr(0, 9), "W R01000 ");
  EXPECT_EQ(out[17].substr(0, 9), "W R01001 ");
  EXPECT_EQ(out[19], "R 02" + std::string(22, ' ') + "\r");
  EXPECT_EQ(out[22].substr(0, 9), "W R02000 ");
  EXPECT_EQ(lastLog(), "5 points written to  3 routes");
  EXPECT_EQ(written, fixture("routes.rte"));

  resetConverter();
  readFileWith(READ_RTE, folder.path("r.rte"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  EXPECT_EQ(POINT_LIST.NROUTES, 3);
  EXPECT_EQ(POINT_LIST.POINT(1).ROUTE_NAME.str(), "");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Home run with a name");
  EXPECT_EQ(POINT_LIST.POINT(3).NAME.str(), "R01000");
  EXPECT_NEAR(POINT_LIST.POINT(4).LATITUDE, 4.0, 1e-6);
  EXPECT_EQ(lastLog(), "5 points read from  3 routes");
}

TEST_F(Pcx5, RouteReaderTakesTheNameAfterTheNumberAndCountsRoutesFromTheFile) {
  writeFile(folder.path("in.rte"),
            "R 03  MY ROUTE\r\n" + kColumns +
                "W ONE    N10.00000  E020.00000  01-JAN-07 00:00:00     0 one\r\n"
                "R 7  SECOND\r\n"
                "W TWO    N11.00000  E021.00000  01-JAN-07 00:00:00     0 two\r\n");
  readFileWith(READ_RTE, folder.path("in.rte"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).ROUTE_NAME.str(), "MY ROUTE");
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), "SECOND");
  EXPECT_EQ(lastLog(), "2 points read from  2 routes");
  // A later file does not inherit the last route's name.
  writeFile(folder.path("noname.rte"), kColumns + "W T      N11.00000  E021.00000  01-JAN-07 00:00:00     0 t\r\n");
  readFileWith(READ_RTE, folder.path("noname.rte"));
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "");
  EXPECT_EQ(lastLog(), "1 points read from  1 routes");
}

TEST_F(Pcx5, MoreThanAHundredRoutesReadBackApart) {
  for (int r = 0; r < 102; ++r) {
    addPoint(1, 1, "a").ROUTE_NAME = numbered("Route ", r);
    addPoint(1, 2, "b").ROUTE_NAME = numbered("Route ", r);
  }
  const std::vector<std::string> out = lines(writeFileWith(WRITE_RTE, folder.path("many.rte")));
  EXPECT_EQ(out[7 + 99 * 6], "R 99  Route 99            \r");
  EXPECT_EQ(out[7 + 100 * 6], "R **  Route 100           \r");
  resetConverter();
  readFileWith(READ_RTE, folder.path("many.rte"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 204) << boxes.summary();
  EXPECT_EQ(POINT_LIST.NROUTES, 102);
  EXPECT_EQ(POINT_LIST.POINT(201).ROUTE_NAME.str(), "Route 100");
  EXPECT_EQ(POINT_LIST.POINT(203).ROUTE_NAME.str(), "Route 101");
  EXPECT_EQ(lastLog(), "204 points read from102 routes");
}

TEST_F(Pcx5, EmptyRouteListWritesTheHeaderOnly) {
  EXPECT_EQ(writeFileWith(WRITE_RTE, folder.path("e.rte")), kHeader);
  EXPECT_EQ(lastLog(), "0 points written to  0 routes");
}

TEST_F(Pcx5, TracksAreWrittenWithTheirColumnLinesAndReadBackAsNumberedTracks) {
  POINT_RECORD& a = addPoint(-1.25f, 51.5f);
  a.DATE = "17/10/2007";
  a.TIME = "12:34:56";
  a.ALTITUDE = 545.4f;
  addPoint(-1.5f, 51.25f).ALTITUDE = kNoValue;  // blank track name: still a track of its own
  POINT_RECORD& c = addPoint(2.0f, -3.0f);
  c.ROUTE_NAME = "Walk";
  const std::string written = writeFileWith(WRITE_TRK, folder.path("t.trk"));
  const std::vector<std::string> out = lines(written);
  ASSERT_EQ(out.size(), 13u);
  EXPECT_EQ(out[6], "\r");
  EXPECT_EQ(out[7] + "\n", kTrackColumns);
  EXPECT_EQ(out[8], "T  N51.50000  W001.25000  17-OCT-07 12:34:56   545\r");
  // The blank date and time are written as they stand: blanks in their columns.
  EXPECT_EQ(out[9], "T  N51.25000  W001.50000" + std::string(21, ' ') + "-9999\r");
  EXPECT_EQ(out[11] + "\n", kTrackColumns);
  EXPECT_EQ(written, fixture("tracks.trk"));
  EXPECT_EQ(lastLog(), "3 points written to  2 tracks");

  resetConverter();
  readFileWith(READ_TRK, folder.path("t.trk"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).ROUTE_NAME.str(), "Track00");
  EXPECT_EQ(POINT_LIST.POINT(2).ROUTE_NAME.str(), "Track00");
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "Track01");
  EXPECT_EQ(POINT_LIST.POINT(1).DATE.str(), "17/10/2007");
  EXPECT_EQ(POINT_LIST.POINT(1).TIME.str(), "12:34:56");
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(1).ALTITUDE, 545.0f);
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(2).ALTITUDE, kNoValue);
  EXPECT_EQ(POINT_LIST.POINT(2).SYMBOL_NAME.str(), "Dot");
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(2).PROXIMITY, 0.0f);
  EXPECT_EQ(lastLog(), "3 points read from  2 tracks");
}

TEST_F(Pcx5, TrackFilterKeepsEveryNthPointCountingFromEachTracksColumnLine) {
  auto trackFile = [](int tracks, int points) {
    std::string body = kHeader;
    for (int t = 0; t < tracks; ++t) {
      body += "\r\n" + kTrackColumns;
      for (int i = 0; i < points; ++i) {
        body += numbered("T  N", 10 + t) + ".000" + (i < 10 ? "0" : "") + std::to_string(i) +
                "  E001.00000  01-JAN-07 00:00:00     0\r\n";
      }
    }
    return body;
  };
  writeFile(folder.path("f10.trk"), trackFile(1, 25));
  CONVERTER_SETTINGS.TRACK_FILTER = 10;
  readFileWith(READ_TRK, folder.path("f10.trk"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_NEAR(POINT_LIST.POINT(2).LATITUDE, 10.0001, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(3).LATITUDE, 10.0002, 1e-6);
  EXPECT_EQ(allLog(), "Track filter is set to 10|3 of   25 points read from  1 tracks");

  resetConverter();
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  writeFile(folder.path("f5.trk"), trackFile(2, 7));
  readFileWith(READ_TRK, folder.path("f5.trk"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_NEAR(POINT_LIST.POINT(2).LATITUDE, 10.00005, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(3).LATITUDE, 11.0000, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(4).LATITUDE, 11.00005, 1e-6);
}

TEST_F(Pcx5, MoreThanAHundredTracksKeepTheirOwnNames) {
  for (int t = 0; t < 102; ++t) addPoint(1, 1).ROUTE_NAME = numbered("T", t);
  writeFileWith(WRITE_TRK, folder.path("many.trk"));
  EXPECT_EQ(lastLog(), "102 points written to102 tracks");
  resetConverter();
  readFileWith(READ_TRK, folder.path("many.trk"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 102);
  EXPECT_EQ(POINT_LIST.POINT(100).ROUTE_NAME.str(), "Track99");
  EXPECT_EQ(POINT_LIST.POINT(101).ROUTE_NAME.str(), "Track100");
  EXPECT_EQ(POINT_LIST.POINT(102).ROUTE_NAME.str(), "Track101");
}

TEST_F(Pcx5, ATrackPointBeforeAnyTrackColumnLineStopsTheReading) {
  writeFile(folder.path("nocol.trk"), kHeader + "T  N51.50000  W001.25000  17-OCT-07 12:34:56   545\r\n");
  readFileWith(READ_TRK, folder.path("nocol.trk"));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_THAT(boxes.boxes()[0].text, HasSubstr("H LATITUDE record must precede track T records"));
  EXPECT_TRUE(isTrue(STOP_FLAG));
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
}

TEST(Pcx5Columns, ColumnTablesComeFromTheTitleLines) {
  WaypointColumns starts{}, ends{};
  FixedText<1024> line(kColumns.substr(0, kColumns.size() - 2));
  READ_H_IDNT(line.view(), starts, ends);
  EXPECT_EQ(starts, (WaypointColumns{1, 3, 10, 21, 33, 43, 52, 58, 98, 111}));
  EXPECT_EQ(ends, (WaypointColumns{1, 8, 19, 31, 41, 50, 56, 96, 109, 1024}));
  TrackColumns trackStarts{}, trackEnds{};
  READ_H_LATITUDE(FixedText<1024>("H  LATITUDE   LONGITUDE   DATE      TIME     ALT").view(), trackStarts, trackEnds);
  EXPECT_EQ(trackStarts, (TrackColumns{1, 4, 15, 27, 37, 46}));
  EXPECT_EQ(trackEnds, (TrackColumns{2, 13, 25, 35, 44, 1024}));
  // A missing title ends the column before it at the next title that is there.
  READ_H_IDNT(FixedText<1024>("H IDNT   LATITUDE   LONGITUDE   DATE").view(), starts, ends);
  EXPECT_EQ(starts[4], 33);
  EXPECT_EQ(starts[5], 0);
  EXPECT_EQ(ends[4], 1024);
}

}  // namespace
