#include <string>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

class GpxWriting : public XmlFormatTest {
 protected:
  // A point as a reader leaves it: no values, then the ones given.
  static POINT_RECORD& add(float lat, float lon) {
    POINT_RECORD& p = *STORE_POINT();
    p.LATITUDE = lat;
    p.LONGITUDE = lon;
    return p;
  }
};

TEST_F(GpxWriting, WaypointsGetTheirLinesUnderTheirConditions) {
  GPX_SETTINGS.PROXIMITY = 50.0f;
  POINT_RECORD& bridge = add(51.5055f, -0.0754f);
  bridge.NAME = "Tower Bridge";
  bridge.DESCRIPTION = "Bridge over the Thames";
  bridge.COMMENT = "Open 09:30";
  bridge.ALTITUDE = 12.0f;
  bridge.DATE = "17/10/2007";
  bridge.TIME = "12:34:56";
  bridge.SYMBOL_NAME = "Flag";
  bridge.PROXIMITY = 0.0f;
  // Named by its description; a date without a time gives no time.
  POINT_RECORD& shop = add(51.0f, 0.0f);
  shop.DESCRIPTION = "Fish & Chips shop";
  shop.DATE = "17/10/2007";
  // Its name made unique; a latitude too wide for ten columns written in full;
  // its own proximity is not the option's.
  POINT_RECORD& again = add(-12345.5f, 1.25f);
  again.NAME = "Tower Bridge";
  again.ALTITUDE = -0.25f;
  again.TIME = "10:00:00";
  again.SYMBOL_NAME = "Skull & Bones";
  again.PROXIMITY = 25.0f;
  // No name at all; a time of day that is none.
  POINT_RECORD& bare = add(0.5f, -0.5f);
  bare.DATE = "17/10/2007";
  bare.TIME = "25:00:00";
  bare.SYMBOL_NAME = "Dot";
  bare.PROXIMITY = 0.0f;
  POINT_RECORD& cafe = add(89.99999f, 179.99999f);
  cafe.NAME = "Caf\xE9 Noir";
  cafe.COMMENT = "Cr\xE8me br\xFBl\xE9" "e";
  cafe.DESCRIPTION = "a]]>b";
  cafe.ALTITUDE = 8848.86f;
  cafe.PROXIMITY = 0.0f;

  EXPECT_EQ(writeFile(WRITE_GPX, "walk.gpx"), readBytes(fixturePath("write_waypoints.gpx")));
  EXPECT_EQ(lastLogLine(), "5 points written");
  // The names written are the file's; the points keep their own.
  EXPECT_EQ(POINT_LIST.POINT(3).NAME.str(), "Tower Bridge");
}

TEST_F(GpxWriting, RoutesAreRunsOfOneRouteNameNumberedInOrder) {
  GPX_SETTINGS.UPPER_CASE = 0;
  GPX_SETTINGS.UNIQUE_NAMES = 0;
  POINT_RECORD& start = add(1.0f, 2.0f);
  start.NAME = "Start";
  start.DATE = "17/10/2007";
  start.TIME = "12:34:56";
  POINT_RECORD& first = add(3.0f, 4.0f);
  first.ROUTE_NAME = "R&D";
  first.NAME = "A: first";
  first.COMMENT = "c";
  first.DESCRIPTION = "d";
  first.SYMBOL_NAME = "Flag";
  first.ALTITUDE = 5.0f;
  POINT_RECORD& second = add(5.0f, 6.0f);
  second.ROUTE_NAME = "R&D";
  second.SYMBOL_NAME = "Skull & Bones";
  // The blank name again, after another run: a route of its own.
  add(7.0f, 8.0f).NAME = "End";

  EXPECT_EQ(writeFile(WRITE_GPX_ROUTE, "routes.gpx"), readBytes(fixturePath("write_routes.gpx")));
  EXPECT_EQ(lastLogLine(), "4 points written to  3 routes");
  EXPECT_EQ(POINT_LIST.NROUTES, 3);
  EXPECT_TRUE(POINT_LIST.CURRENT_ROUTE.isBlank());
}

TEST_F(GpxWriting, TracksAreOneSegmentEach) {
  POINT_RECORD& top = add(51.0f, -1.0f);
  top.ROUTE_NAME = "Hill";
  top.NAME = "Top";
  top.ALTITUDE = 100.0f;
  top.DATE = "17/10/2007";
  top.TIME = "12:34:56";
  top.SYMBOL_NAME = "Flag";
  add(51.1f, -1.1f).ROUTE_NAME = "Hill";
  POINT_RECORD& vale = add(52.0f, -2.0f);
  vale.ROUTE_NAME = "Vale";
  vale.NAME = "x";

  EXPECT_EQ(writeFile(WRITE_GPX_TRACK, "tracks.gpx"), readBytes(fixturePath("write_tracks.gpx")));
  EXPECT_EQ(lastLogLine(), "3 points written to  2 tracks");
  EXPECT_EQ(POINT_LIST.CURRENT_ROUTE.str(), "Vale");
}

// The first seven lines of a file.
std::string headerOf(const std::string& file) {
  std::size_t end = 0;
  for (int line = 0; line < 7 && end != std::string::npos; ++line) end = file.find("\r\n", end) + 2;
  return file.substr(0, end);
}

TEST_F(GpxWriting, AnEmptyListGivesTheHeaderAndTheEnd) {
  const std::string header = headerOf(readBytes(fixturePath("write_tracks.gpx")));
  ASSERT_TRUE(header.ends_with("gpx.xsd\">\r\n"));
  const struct {
    void (*writer)();
    const char* log;
  } cases[] = {{WRITE_GPX, "0 points written"},
               {WRITE_GPX_ROUTE, "0 points written to  0 routes"},
               {WRITE_GPX_TRACK, "0 points written to  0 tracks"}};
  for (const auto& c : cases) {
    EXPECT_EQ(writeFile(c.writer), header + "</gpx>\r\n") << c.log;
    EXPECT_EQ(lastLogLine(), c.log);
  }
}

TEST_F(GpxWriting, NameOptionsShapeTheNameLine) {
  const std::string longDescription(200, 'd');
  const struct {
    int upper, unique, length;
    std::string name;
    std::string description;
    std::string line;  // of the second point, whose name meets the first's
  } cases[] = {
      {0, 0, 1, "A rather long waypoint name of forty ch", "", " <name>A rather long waypoint name of forty ch</name>"},
      {0, 1, 1, "Westminster Abbey", "", " <name>Westminst1</name>"},
      {0, 1, 2, "Westminster Abbey", "", " <name>Westminster Abbey1</name>"},
      {1, 1, 1, "Westminster Abbey", "", " <name>WESABB1</name>"},
      {1, 0, 1, "", "St. Paul's Cathedral", " <name>STPAUCAT</name>"},
      {0, 0, 1, "Fish <&> Chips", "", " <name><![CDATA[Fish <&> Chips]]></name>"},
      {0, 0, 1, "", longDescription, " <name>" + std::string(128, 'd') + "</name>"},
  };
  for (const auto& c : cases) {
    SetUp();
    GPX_SETTINGS.UPPER_CASE = c.upper;
    GPX_SETTINGS.UNIQUE_NAMES = c.unique;
    GPX_SETTINGS.NAME_LENGTH = c.length;
    for (int i = 0; i < 2; ++i) {
      POINT_RECORD& p = add(1.0f, 2.0f);
      p.NAME = c.name;
      p.DESCRIPTION = c.description;
    }
    const std::string file = writeFile(WRITE_GPX);
    const std::size_t second = file.find("<wpt", file.find("</wpt>"));
    ASSERT_NE(second, std::string::npos);
    const std::size_t line = file.find(" <name>", second);
    ASSERT_NE(line, std::string::npos) << c.line;
    EXPECT_EQ(file.substr(line, file.find("\r\n", line) - line), c.line);
  }
}

TEST_F(GpxWriting, UniqueNamesNumberEachNamesakeOnTheFirstOfItsKind) {
  GPX_SETTINGS.UPPER_CASE = 0;
  const char* names[] = {"PARIS", "LONDON", "PARIS", "", "PARIS", "AB", "AB", "AB1", "LONDONBRIDGE", "LONDONBRIDGEEYE",
                         "X", "X", "X", "X", "X", "X", "X", "X", "X", "X", "X", "X"};
  for (const char* name : names) add(1.0f, 2.0f).NAME = name;
  const std::string file = writeFile(WRITE_GPX);
  std::string written;
  for (std::size_t at = file.find(" <name>"); at != std::string::npos; at = file.find(" <name>", at + 1)) {
    written += file.substr(at + 7, file.find("</name>", at) - at - 7) + " ";
  }
  EXPECT_EQ(written, "PARIS LONDON PARIS1 PARIS2 AB AB1 AB1 LONDONBRID LONDONBRI1 X X1 X2 X3 X4 X5 X6 X7 X8 X9 X10 X11 ");
}

TEST_F(GpxWriting, LongTextsAreCutTo128AndStayWellFormed) {
  GPX_SETTINGS.UPPER_CASE = 0;
  GPX_SETTINGS.UNIQUE_NAMES = 0;
  POINT_RECORD& p = add(1.0f, 2.0f);
  p.COMMENT = std::string(200, 'c');
  p.DESCRIPTION = "Note: " + std::string(200, 'd');
  const std::string file = writeFile(WRITE_GPX);
  EXPECT_NE(file.find(" <cmt>" + std::string(128, 'c') + "</cmt>\r\n"), std::string::npos);
  // The wrapper cuts its text, not its end.
  EXPECT_NE(file.find(" <desc><![CDATA[Note: " + std::string(110, 'd') + "]]></desc>\r\n"), std::string::npos);
}

TEST_F(GpxWriting, APointWithAProximityOfItsOwnOrNoneGetsNoExtension) {
  GPX_SETTINGS.PROXIMITY = 1250.5f;
  add(1.0f, 2.0f).PROXIMITY = 0.0f;
  add(1.0f, 2.0f).PROXIMITY = 3.0f;
  add(1.0f, 2.0f);  // no proximity at all
  const std::string file = writeFile(WRITE_GPX);
  EXPECT_NE(file.find("   <gpxx:Proximity>1250.5</gpxx:Proximity>\r\n"), std::string::npos);
  std::size_t count = 0;
  for (std::size_t at = file.find("<extensions>"); at != std::string::npos; at = file.find("<extensions>", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 1u);
}

TEST_F(GpxWriting, AFileThatCannotBeWrittenIsToldAndNotLogged) {
  for (void (*writer)() : {WRITE_GPX, WRITE_GPX_ROUTE, WRITE_GPX_TRACK}) {
    SetUp();
    add(1.0f, 2.0f);
    FILE_NAMES.OUTPUT_FILE = "no such folder\\out.gpx";
    writer();
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "File error");
    EXPECT_EQ(seen[0].text, "Cannot write the file\rno such folder\\out.gpx");
  }
}

TEST_F(GpxWriting, ARoundTripKeepsNamesTextsTimesElevationsAndSymbols) {
  GPX_SETTINGS.UPPER_CASE = 0;
  GPX_SETTINGS.UNIQUE_NAMES = 0;
  GPX_SETTINGS.NAME_LENGTH = 2;
  const struct {
    const char* route;
    const char* name;
    const char* description;
    const char* comment;
    float altitude;
    const char* date;
    const char* time;
    const char* symbol;
  } points[] = {
      {"North & South", "Café <>", "Fish & Chips: open", "]]> and ]]", 123.25f, "17/10/2007", "12:34:56",
       "Skull & Bones"},
      {"North & South", "Plain", "", "", -9999.0f, "01/01/2008", "00:00:10", "Residence"},
      {"Loop", "L", "d", "c", -0.5f, "29/02/2008", "23:59:59", "House"},
  };
  for (void (*writer)() : {WRITE_GPX, WRITE_GPX_ROUTE, WRITE_GPX_TRACK}) {
    POINT_LIST.NPOINTS = 0;
    for (const auto& p : points) {
      POINT_RECORD& r = add(51.25f, -1.5f);
      r.ROUTE_NAME = p.route;
      r.NAME = p.name;
      r.DESCRIPTION = p.description;
      r.COMMENT = p.comment;
      r.ALTITUDE = p.altitude;
      r.DATE = p.date;
      r.TIME = p.time;
      r.SYMBOL_NAME = p.symbol;
    }
    writeFile(writer, "round.gpx");
    POINT_LIST.NPOINTS = 0;
    POINT_LIST.NREAD = 0;
    FILE_NAMES.INPUT_FILE = "round.gpx";
    const bool waypoints = writer == WRITE_GPX;
    (waypoints ? READ_GPX : writer == WRITE_GPX_ROUTE ? READ_GPX_ROUTE : READ_GPX_TRACK)();
    ASSERT_EQ(POINT_LIST.NPOINTS, 3);
    for (int i = 1; i <= 3; ++i) {
      const auto& want = points[i - 1];
      const POINT_RECORD& got = POINT_LIST.POINT(i);
      EXPECT_EQ(got.NAME.str(), want.name);
      EXPECT_EQ(got.DESCRIPTION.str(), want.description);
      EXPECT_EQ(got.COMMENT.str(), want.comment);
      EXPECT_EQ(got.ALTITUDE, want.altitude);
      EXPECT_EQ(got.DATE.str(), want.date);
      EXPECT_EQ(got.TIME.str(), want.time);
      EXPECT_EQ(got.SYMBOL_NAME.str(), want.symbol);
      EXPECT_EQ(got.LATITUDE, 51.25f);
      EXPECT_EQ(got.LONGITUDE, -1.5f);
      EXPECT_EQ(got.ROUTE_NAME.str(), waypoints ? "Point data" : want.route);
    }
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(GpxWriting, DebugModeLogsEachRoutinesEntryAndExit) {
  const std::string log = "xml_debug.txt";
  ASSERT_TRUE(DEBUG_LOG.open(log));
  DEBUG_FLAG = kLogicalTrue;
  add(1.0f, 2.0f).ROUTE_NAME = "R";
  writeFile(WRITE_GPX_ROUTE, "debug.gpx");
  FILE_NAMES.INPUT_FILE = "debug.gpx";
  READ_GPX_ROUTE();
  writeFile(WRITE_KML_TRACK, "debug.kml");
  FILE_NAMES.INPUT_FILE = "debug.kml";
  READ_KML_POINTS();
  DEBUG_LOG.close();
  DEBUG_FLAG = kLogicalFalse;
  EXPECT_EQ(readBytes(log), crlf({" Subroutine write_gpx_route", "   Allocate arrays", "   Deallocate arrays",
                                  " Exit from Subroutine write_gpx_route", " Subroutine read_gpx_route",
                                  " Exit from Subroutine read_gpx_route", " Subroutine write_kml_track",
                                  " Exit from Subroutine write_kml_track", " Subroutine read_kml_points",
                                  " Exit from Subroutine read_kml_points"}));
}

}  // namespace
}  // namespace xml_tests
