#include <string>

#include "converter/converter_data.h"
#include "formats/xml/google.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

class KmlReading : public XmlFormatTest {};
class KmlWriting : public XmlFormatTest {
 protected:
  static POINT_RECORD& add(float lat, float lon) {
    POINT_RECORD& p = *STORE_POINT();
    p.LATITUDE = lat;
    p.LONGITUDE = lon;
    return p;
  }
};

const POINT_RECORD& point(int i) { return POINT_LIST.POINT(i); }

// Placemarks as a globe viewer saves them: indented with tabs, with description,
// style, view and style lines around the lines that matter.
constexpr std::string_view kViewerFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://earth.google.com/kml/2.1\">\n"
    "<Document>\n"
    "\t<name>My Places.kml</name>\n"
    "\t<Style id=\"sn_ylw-pushpin\">\n\t\t<IconStyle>\n\t\t\t<scale>1.1</scale>\n\t\t</IconStyle>\n\t</Style>\n"
    "\t<Placemark>\n"
    "\t\t<name>Caf\xC3\xA9 &amp; Bar</name>\n"
    "\t\t<description><![CDATA[<p>Opening hours:\n10:00 to 22:00</p>]]></description>\n"
    "\t\t<LookAt>\n\t\t\t<longitude>-1.5</longitude>\n\t\t\t<latitude>51.2</latitude>\n\t\t</LookAt>\n"
    "\t\t<styleUrl>#sn_ylw-pushpin</styleUrl>\n"
    "\t\t<TimeInstant>\n\t\t\t<timePosition>2007-10-17T14:05:09Z</timePosition>\n\t\t</TimeInstant>\n"
    "\t\t<Point>\n"
    "\t\t\t<coordinates>-1.5,51.25,120</coordinates>\n"
    "\t\t</Point>\n"
    "\t</Placemark>\n"
    "\t<Placemark id=\"second\">\n"
    "\t\t<name><![CDATA[Fish & Chips]]></name>\n"
    "\t\t<Point>\n\t\t\t<coordinates>\n\t\t\t\t2.5,-3.75\n\t\t\t</coordinates>\n\t\t</Point>\n"
    "\t</Placemark>\n"
    "\t<Placemark>\n"
    "\t\t<name>A line</name>\n"
    "\t\t<LineString><coordinates>1,2,0 3,4,0</coordinates></LineString>\n"
    "\t</Placemark>\n"
    "\t<Placemark><name>Fish and\n"
    "   Chips</name><Point><coordinates>1e1 , 2.5e-1 ,-7</coordinates></Point></Placemark>\n"
    "\t<Placemark><Point><coordinates>7,8</coordinates></Point></Placemark>\n"
    "</Document>\n"
    "</kml>\n";

TEST_F(KmlReading, ReadsPointPlacemarksAsAGlobeViewerSavesThem) {
  readText(READ_KML_POINTS, kViewerFile);
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(POINT_LIST.NREAD, 4);
  const POINT_RECORD& cafe = point(1);
  EXPECT_EQ(cafe.DESCRIPTION.str(), "Caf\xE9 & Bar");
  EXPECT_TRUE(cafe.NAME.isBlank());
  EXPECT_TRUE(cafe.COMMENT.isBlank());
  EXPECT_FLOAT_EQ(cafe.LONGITUDE, -1.5f);
  EXPECT_FLOAT_EQ(cafe.LATITUDE, 51.25f);
  EXPECT_FLOAT_EQ(cafe.ALTITUDE, 120.0f);
  EXPECT_EQ(cafe.DATE.str(), "17/10/2007");
  EXPECT_EQ(cafe.TIME.str(), "14:05:09");
  EXPECT_EQ(cafe.SYMBOL, -1);
  EXPECT_EQ(cafe.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(cafe.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(cafe.PROXIMITY, 0.0f);

  // A start tag with attributes; coordinates on a line of their own, without
  // an altitude.
  const POINT_RECORD& fish = point(2);
  EXPECT_EQ(fish.DESCRIPTION.str(), "Fish & Chips");
  EXPECT_FLOAT_EQ(fish.LONGITUDE, 2.5f);
  EXPECT_FLOAT_EQ(fish.LATITUDE, -3.75f);
  EXPECT_EQ(fish.ALTITUDE, -9999.0f);
  EXPECT_EQ(fish.DATE.str(), "01/02/2003");
  EXPECT_EQ(fish.TIME.str(), "04:05:06");

  // The line placemark gave nothing; a name over two lines keeps both.
  EXPECT_EQ(point(3).DESCRIPTION.str(), "Fish and Chips");
  EXPECT_FLOAT_EQ(point(3).LONGITUDE, 10.0f);
  EXPECT_FLOAT_EQ(point(3).LATITUDE, 0.25f);
  EXPECT_FLOAT_EQ(point(3).ALTITUDE, -7.0f);
  EXPECT_TRUE(point(4).DESCRIPTION.isBlank());

  EXPECT_EQ(lastLogLine(), "4 points read");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(KmlReading, AnEndOfKmlInTheFirstColumnEndsTheReading) {
  const std::string placemark = "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>\n";
  readText(READ_KML_POINTS, placemark + "  </kml>\n" + placemark + "</kml>\n" + placemark);
  EXPECT_EQ(POINT_LIST.NPOINTS, 2);
  POINT_LIST.NREAD = 0;
  readText(READ_KML_POINTS, "");
  EXPECT_EQ(lastLogLine(), "0 points read");
}

TEST_F(KmlReading, AFaultyPlacemarkStopsTheReadingWithABox) {
  const std::string tooLong = "<Placemark><name>" + std::string(1100, 'n') + "</name></Placemark>";
  const struct {
    std::string placemark;
    const char* message;
    const char* hint;
  } cases[] = {
      {"<Placemark><name>No position</name><Point></Point></Placemark>", "coordinates keyword missing",
       R"(<coordinates>"decimal value","decimal value"</coordinates>)"},
      {"<Placemark><Point><coordinates>east,north</coordinates></Point></Placemark>",
       "Error reading longitude, latitude, altitude values", "Any valid number"},
      {"<Placemark><Point><coordinates>1.5</coordinates></Point></Placemark>",
       "Error reading longitude, latitude, altitude values", "Any valid number"},
      {"<Placemark><Point><coordinates>1.5,2</Point></Placemark>", "Error reading longitude, latitude, altitude values",
       "Any valid number"},
      {tooLong, "<Placemark>...</Placemark> record too long", "Maximum length is 1024 characters"},
  };
  for (const auto& c : cases) {
    SetUp();
    readText(READ_KML_POINTS,
             "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>\n" + c.placemark + "\n");
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << c.message;
    EXPECT_EQ(POINT_LIST.NREAD, 1) << c.message;
    EXPECT_TRUE(isTrue(STOP_FLAG));
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u) << c.message;
    EXPECT_EQ(seen[0].title, "Data Error");
    const std::string shown = c.placemark.size() > 200 ? c.placemark.substr(0, 200) + "..." : c.placemark;
    EXPECT_EQ(seen[0].text, std::string(c.message) + "\r\rIn record: " + shown + "\rCorrect format is: " + c.hint);
  }
}

TEST(KmlRequired, LooksAtTheFirstTagOfTheLineOnly) {
  const struct {
    const char* line;
    bool wanted;
  } cases[] = {
      {"<Placemark>", true},      {"<Placemark id=\"a\">", true}, {"<coordinates>1,2</coordinates>", true},
      {"</timePosition>", true},  {"<description>x</description>", false}, {"<styleUrl>#a</styleUrl>", false},
      {"1,2,3", false},           {"<Point", false},              {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KML_REQUIRED(static_cast<int>(std::string_view(c.line).size()), c.line), c.wanted) << c.line;
  }
  EXPECT_FALSE(KML_REQUIRED(0, "<Point>"));
  EXPECT_FALSE(KML_REQUIRED(-1, "<Point>"));
}

TEST_F(KmlWriting, PointsAreNamedByTheirDescriptionInUtf8) {
  POINT_RECORD& bridge = add(51.5055f, -0.0754f);
  bridge.DESCRIPTION = "Tower Bridge";
  bridge.COMMENT = "Open 09:30";
  bridge.NAME = "not written";
  add(1.0f, 2.0f).ALTITUDE = 5.0f;
  POINT_RECORD& cafe = add(-89.5f, 179.99999f);
  cafe.DESCRIPTION = "Caf\xE9 <Noir>";
  cafe.COMMENT = "Cr\xE8me \x80";
  EXPECT_EQ(writeFile(WRITE_KML_POINTS, "places.kml"), readBytes(fixturePath("write_points.kml")));
  EXPECT_EQ(lastLogLine(), "3 points written");
}

TEST_F(KmlWriting, RoutesAreFoldersOfAMarkerWithItsSummaryAndALine) {
  POINT_RECORD& start = add(51.0f, 0.0f);
  start.ROUTE_NAME = "A&B";
  start.ALTITUDE = 10.0f;
  start.COMMENT = "Start at 12:30";
  add(51.01f, 0.0f).ROUTE_NAME = "A&B";
  POINT_RECORD& back = add(52.0f, 1.0f);
  back.ROUTE_NAME = "Back";
  back.ALTITUDE = 0.0f;
  EXPECT_EQ(writeFile(WRITE_KML_ROUTE, "routes.kml"), readBytes(fixturePath("write_routes.kml")));
  EXPECT_EQ(lastLogLine(), "3 points written to  2 routes");
  EXPECT_EQ(POINT_LIST.NROUTES, 2);
  EXPECT_EQ(POINT_LIST.CURRENT_ROUTE.str(), "Back");
}

TEST_F(KmlWriting, TracksShowTheirTimesAltitudesAndSpeeds) {
  const float altitudes[] = {100.0f, 110.0f, 90.0f};
  const char* times[] = {"10:00:00", "10:01:00", "10:02:00"};
  for (int i = 0; i < 3; ++i) {
    POINT_RECORD& p = add(0.0f, 0.01f * static_cast<float>(i));
    p.ROUTE_NAME = "Ridge";
    p.ALTITUDE = altitudes[i];
    p.DATE = "17/10/2007";
    p.TIME = times[i];
  }
  EXPECT_EQ(writeFile(WRITE_KML_TRACK, "ridge.kml"), readBytes(fixturePath("write_tracks.kml")));
  EXPECT_EQ(lastLogLine(), "3 points written to  1 tracks");
}

TEST_F(KmlWriting, AnEmptyListGivesTheFrameOnly) {
  EXPECT_EQ(writeFile(WRITE_KML_POINTS, "empty.kml"),
            crlf({R"(<?xml version="1.0" encoding="UTF-8"?>)", R"(<kml xmlns="http://earth.google.com/kml/2.1">)",
                  "<Document>", " <name>empty</name>", "</Document>", "</kml>"}));
  EXPECT_EQ(lastLogLine(), "0 points written");
  const std::string routes = readBytes(fixturePath("write_routes.kml"));
  const std::string frame = routes.substr(0, routes.find("    <Folder>")) + crlf({"  </Folder>", " </Document>", "</kml>"});
  EXPECT_EQ(writeFile(WRITE_KML_ROUTE, "routes.kml"), frame);
  EXPECT_EQ(lastLogLine(), "0 points written to  0 routes");
  EXPECT_EQ(POINT_LIST.NROUTES, 0);
}

TEST_F(KmlWriting, NamesThatWouldBreakTheFileAreWrapped) {
  POINT_RECORD& p = add(1.0f, 2.0f);
  p.ROUTE_NAME = "Up & <down> ]]> end";
  p.COMMENT = "a]]>b";
  const std::string file = writeFile(WRITE_KML_TRACK, "Fish & Chips.kml");
  EXPECT_NE(file.find(" <name><![CDATA[Fish & Chips]]></name>\r\n"), std::string::npos);
  EXPECT_NE(file.find("     <name><![CDATA[Up & <down> ]]]]><![CDATA[> end]]></name>\r\n"), std::string::npos);
  EXPECT_NE(file.find("      <name>Track: <![CDATA[Up & <down> ]]]]><![CDATA[> end]]></name>\r\n"),
            std::string::npos);
  // Inside the summary's own section the name cannot end it early.
  EXPECT_NE(file.find("<b>Name </b>Up & <down> ]]]]><![CDATA[> end</td>"), std::string::npos);
  writeFile(WRITE_KML_ROUTE, "route.kml");
  EXPECT_NE(readBytes("route.kml").find("<b>Comment </b>a]]]]><![CDATA[>b</td>"), std::string::npos);
}

TEST_F(KmlWriting, AFileThatCannotBeWrittenIsToldAndNotLogged) {
  for (void (*writer)() : {WRITE_KML_POINTS, WRITE_KML_ROUTE, WRITE_KML_TRACK}) {
    SetUp();
    add(1.0f, 2.0f);
    FILE_NAMES.OUTPUT_FILE = "no such folder\\out.kml";
    writer();
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "File error");
  }
}

TEST_F(KmlWriting, PointsWrittenAreReadBack) {
  POINT_RECORD& p = add(-33.875f, 151.25f);
  p.DESCRIPTION = "Op\xE9ra & <harbour>";
  add(10.5f, -20.25f).DESCRIPTION = "Plain";
  writeFile(WRITE_KML_POINTS, "back.kml");
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  FILE_NAMES.INPUT_FILE = "back.kml";
  READ_KML_POINTS();
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "Op\xE9ra & <harbour>");
  EXPECT_EQ(point(1).LATITUDE, -33.875f);
  EXPECT_EQ(point(1).LONGITUDE, 151.25f);
  EXPECT_EQ(point(1).ALTITUDE, -9999.0f);
  EXPECT_EQ(point(2).DESCRIPTION.str(), "Plain");
}

}  // namespace
}  // namespace xml_tests
