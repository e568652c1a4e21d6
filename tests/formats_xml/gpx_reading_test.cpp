#include <string>

#include "converter/converter_data.h"
#include "formats/xml/gpsexchange.h"
#include "formats/xml/xml_gathering.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

class GpxReading : public XmlFormatTest {};

const POINT_RECORD& point(int i) { return POINT_LIST.POINT(i); }

// A waypoint file as another program writes it: metadata with its own name and
// time, one element per line, links and extensions, a text over three lines.
constexpr std::string_view kWaypoints = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <metadata>
    <name>File name</name>
    <time>2001-01-01T00:00:00Z</time>
  </metadata>
  <wpt lat="51.47889" lon="-0.12500">
    <ele>123.5</ele>
    <time>2007-10-17T12:34:56.250Z</time>
    <name>Fish &amp; Chips</name>
    <cmt><![CDATA[Open 12:00 & late]]></cmt>
    <desc>First line
middle line
last line</desc>
    <link href="http://example.org/"><text>Link</text></link>
    <sym>Residence</sym>
    <extensions>
      <x:any>data</x:any>
    </extensions>
  </wpt>
  <wpt lat='-33.5' lon='151.25'><name>Caf&#233; &#x20AC;5 &lt;&#8364;&gt;</name><sym>Anchor</sym></wpt>
  <wpt lat="10" lon="20">
    <sym>House</sym>
  </wpt>
  <wpt lat="1e1" lon="+2.5"/>
  <wpt lat="0" lon="0"><name><![CDATA[a</name>b]]></name><sym>Car</sym></wpt>
</gpx>
)";

TEST_F(GpxReading, TakesEveryValueOfWaypointsWrittenOverManyLines) {
  readText(READ_GPX, kWaypoints);
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  EXPECT_EQ(POINT_LIST.NREAD, 5);
  const POINT_RECORD& first = point(1);
  EXPECT_FLOAT_EQ(first.LATITUDE, 51.47889f);
  EXPECT_FLOAT_EQ(first.LONGITUDE, -0.125f);
  EXPECT_FLOAT_EQ(first.ALTITUDE, 123.5f);
  EXPECT_EQ(first.DATE.str(), "17/10/2007");
  EXPECT_EQ(first.TIME.str(), "12:34:56");
  EXPECT_EQ(first.NAME.str(), "Fish & Chips");
  EXPECT_EQ(first.COMMENT.str(), "Open 12:00 & late");
  // The middle line of the text stays; each line break becomes a blank.
  EXPECT_EQ(first.DESCRIPTION.str(), "First line middle line last line");
  EXPECT_EQ(first.SYMBOL_NAME.str(), "Residence");
  EXPECT_EQ(first.SYMBOL, 1);
  EXPECT_EQ(first.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(first.PROXIMITY, 0.0f);
  EXPECT_TRUE(first.COLOUR.isBlank());

  // Attributes in single quotes; references decoded into code page 1252.
  const POINT_RECORD& second = point(2);
  EXPECT_FLOAT_EQ(second.LATITUDE, -33.5f);
  EXPECT_FLOAT_EQ(second.LONGITUDE, 151.25f);
  EXPECT_EQ(second.NAME.str(), "Caf\xE9 \x80" "5 <\x80>");
  EXPECT_EQ(second.SYMBOL, 6);  // a Memory-Map name, for waypoints only
  EXPECT_EQ(second.DATE.str(), "01/02/2003");
  EXPECT_EQ(second.TIME.str(), "04:05:06");
  EXPECT_EQ(second.ALTITUDE, -9999.0f);

  EXPECT_EQ(point(3).SYMBOL, 118);  // Maptech "House"
  EXPECT_TRUE(point(3).NAME.isBlank());

  // An empty element closed in its start tag, with no symbol of its own.
  EXPECT_FLOAT_EQ(point(4).LATITUDE, 10.0f);
  EXPECT_FLOAT_EQ(point(4).LONGITUDE, 2.5f);
  EXPECT_EQ(point(4).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(point(4).SYMBOL, 0);

  // A closing tag inside character data is text.
  EXPECT_EQ(point(5).NAME.str(), "a</name>b");
  EXPECT_EQ(point(5).SYMBOL, 112);  // Maptech "Car" before Garmin "Car"

  EXPECT_EQ(lastLogLine(), "5 points read");
  EXPECT_FALSE(isTrue(STOP_FLAG));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(GpxReading, AFileWrittenOnOneLineGivesAllItsPoints) {
  readText(READ_GPX,
           R"(<?xml version="1.0"?><gpx><metadata><name>Meta</name></metadata>)"
           R"(<wpt lat="1" lon="2"><name>A</name></wpt><wpt lat="3" lon="4"><name>B</name></wpt>)"
           R"(<wpt lat="5" lon="6"><name>C</name></wpt></gpx>)");
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(point(1).NAME.str(), "A");
  EXPECT_EQ(point(2).NAME.str(), "B");
  EXPECT_EQ(point(3).NAME.str(), "C");
  EXPECT_FLOAT_EQ(point(3).LONGITUDE, 6.0f);
}

// Each element is put together where the one before it stood: nothing of a
// longer element before may be read as part of a shorter one after it.
TEST_F(GpxReading, AShortElementTakesNothingOfTheLongerOneBeforeIt) {
  readText(READ_GPX, crlf({R"(<gpx>)",
                           R"(<wpt lat="1" lon="2">)",
                           R"( <name>First point of all</name>)",
                           R"( <cmt>Old comment</cmt>)",
                           R"( <desc>Old description</desc>)",
                           R"(</wpt>)",
                           R"(<wpt lat="3" lon="4"></wpt>)",
                           R"(</gpx>)"}));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(point(1).COMMENT.str(), "Old comment");
  EXPECT_EQ(point(2).NAME.str(), "");
  EXPECT_EQ(point(2).COMMENT.str(), "");
  EXPECT_EQ(point(2).DESCRIPTION.str(), "");
  EXPECT_EQ(GATHERED_ELEMENT(), R"(<wpt lat="3" lon="4"></wpt>)");
}

struct EncodingCase {
  const char* what;
  std::string file;
  std::string name;  // as stored, code page 1252
};

TEST_F(GpxReading, DecodesTheDeclaredEncodingIntoCodePage1252) {
  const std::string wpt = "<wpt lat=\"1\" lon=\"2\"><name>";
  const std::string end = "</name></wpt>\n</gpx>\n";
  const EncodingCase cases[] = {
      {"UTF-8 by default", "<gpx>\n" + wpt + "Caf\xC3\xA9 \xE2\x82\xAC" + end, "Caf\xE9 \x80"},
      {"UTF-8 declared, byte-order mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + wpt +
                                              "\xC3\xBC" + end, "\xFC"},
      {"ISO-8859-1 bytes are kept", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\n" + wpt +
                                        "Caf\xE9 \x80" + end, "Caf\xE9 \x80"},
      {"windows-1252 in single quotes", "<?xml version='1.0' encoding='windows-1252'?>\n" + wpt + "\x93q\x94" + end,
       "\x93q\x94"},
      {"a character the code page lacks", "<gpx>\n" + wpt + "\xE4\xB8\xAD!" + end, "?!"},
      {"a stray byte in UTF-8 is kept", "<gpx>\n" + wpt + "Caf\xE9" + end, "Caf\xE9"},
  };
  for (const auto& c : cases) {
    POINT_LIST.NPOINTS = 0;
    readText(READ_GPX, c.file);
    ASSERT_EQ(POINT_LIST.NPOINTS, 1) << c.what;
    EXPECT_EQ(point(1).NAME.str(), c.name) << c.what;
  }
}

TEST_F(GpxReading, TimesAreTakenOnlyInTheirOwnForm) {
  const struct {
    const char* time;
    const char* date;
    const char* clock;
  } cases[] = {
      {"2007-10-17T12:34:56Z", "17/10/2007", "12:34:56"},
      {"2007-10-17T12:34:56+02:00", "17/10/2007", "12:34:56"},
      {"2007-10-17 12:34:56", "01/02/2003", "04:05:06"},
      {"17/10/2007", "01/02/2003", "04:05:06"},
      {"2007-10-17", "01/02/2003", "04:05:06"},
      {"", "01/02/2003", "04:05:06"},
  };
  for (const auto& c : cases) {
    POINT_LIST.NPOINTS = 0;
    readText(READ_GPX, std::string("<wpt lat=\"1\" lon=\"2\"><time>") + c.time + "</time></wpt>\n");
    ASSERT_EQ(POINT_LIST.NPOINTS, 1) << c.time;
    EXPECT_EQ(point(1).DATE.str(), c.date) << c.time;
    EXPECT_EQ(point(1).TIME.str(), c.clock) << c.time;
  }
}

TEST_F(GpxReading, AnEndOfGpxInTheFirstColumnEndsTheReading) {
  readText(READ_GPX, "<wpt lat=\"1\" lon=\"2\"></wpt>\n  </gpx>\n<wpt lat=\"3\" lon=\"4\"></wpt>\n</gpx>\n"
                     "<wpt lat=\"5\" lon=\"6\"></wpt>\n");
  EXPECT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(lastLogLine(), "2 points read");
}

TEST_F(GpxReading, AppendCountsOnFromThePointsAlreadyInTheList) {
  readText(READ_GPX, "<wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n");
  POINT_LIST.NREAD = 0;  // as File > Append does
  readText(READ_GPX, "<wpt lat=\"5\" lon=\"6\"><name>B</name></wpt>\n", "second.gpx");
  EXPECT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(POINT_LIST.NREAD, 1);
  EXPECT_EQ(point(3).NAME.str(), "B");
  EXPECT_EQ(lastLogLine(), "1 points read");
}

TEST_F(GpxReading, FilesWithoutElementsReadAsNothing) {
  readText(READ_GPX, "");
  EXPECT_EQ(lastLogLine(), "0 points read");
  readText(READ_GPX_ROUTE, "<gpx>\n<wpt lat=\"1\" lon=\"2\"/>\n</gpx>\n");
  EXPECT_EQ(lastLogLine(), "0 points read from  0 routes");
  readText(READ_GPX_TRACK, "just text\n");
  EXPECT_EQ(lastLogLine(), "0 points read from  0 tracks");
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(GpxReading, AMissingFileIsToldAndReadsNothing) {
  FILE_NAMES.INPUT_FILE = "no such file.gpx";
  READ_GPX();
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].title, "File error");
  EXPECT_EQ(boxes()[0].text, "Cannot open the file\rno such file.gpx");
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
}

// An element of `length` characters: a start tag, a description of x filling
// the room and the closing tag, on one line or on three.
std::string elementOfLength(int length, bool oneLine) {
  const std::string start = "<wpt lat=\"1\" lon=\"2\">";
  const std::string close = "</desc></wpt>";
  const std::string open = "<desc>";
  const int fill = length - static_cast<int>(start.size() + open.size() + close.size());
  const std::string text(static_cast<std::size_t>(fill), 'x');
  return oneLine ? start + open + text + close + "\n" : start + "\n" + open + text + "</desc>\n</wpt>\n";
}

TEST_F(GpxReading, AnElementOf1024CharactersIsReadAndOneOf1025Refused) {
  for (bool oneLine : {true, false}) {
    SetUp();
    readText(READ_GPX, elementOfLength(1024, oneLine) + elementOfLength(1024, oneLine));
    EXPECT_EQ(POINT_LIST.NPOINTS, 2) << oneLine;
    EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.trimmedLength(), 256) << oneLine;
    EXPECT_TRUE(boxes().empty()) << oneLine;

    SetUp();
    readText(READ_GPX, elementOfLength(1024, oneLine) + elementOfLength(1025, oneLine));
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << oneLine;
    EXPECT_TRUE(isTrue(STOP_FLAG));
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u) << oneLine;
    EXPECT_EQ(seen[0].title, "Data Error");
    // The box shows the element that failed.
    EXPECT_EQ(seen[0].text.rfind("<wpt...</wpt> record too long\r\rIn record: <wpt lat=\"1\" lon=\"2\">", 0), 0u)
        << seen[0].text;
    EXPECT_NE(seen[0].text.find("\rCorrect format is: Maximum length is 1024 characters"), std::string::npos);
  }
}

struct FaultCase {
  const char* element;
  const char* message;
  const char* hint;
};

TEST_F(GpxReading, AFaultyPositionStopsTheReadingWithABoxNamingTheElement) {
  const FaultCase cases[] = {
      {R"(<wpt lon="2"><name>Bad</name></wpt>)", "Latitude keyword missing", R"(lat="decimal value")"},
      {R"(<wpt lat="1"><name>Bad</name></wpt>)", "Longitude keyword missing", R"(lon="decimal value")"},
      {R"(<wpt lat="north" lon="2"></wpt>)", "Error reading latitude", "Any valid number"},
      {R"(<wpt lat="1.5x" lon="2"></wpt>)", "Error reading latitude", "Any valid number"},
      {R"(<wpt lat="1" lon=""></wpt>)", "Error reading longitude", "Any valid number"},
      {R"(<wpt lat="1" lon="1e99"></wpt>)", "Error reading longitude", "Any valid number"},
      {R"(<wpt lat="1" lon="nan"></wpt>)", "Error reading longitude", "Any valid number"},
  };
  for (const auto& c : cases) {
    SetUp();
    readText(READ_GPX, std::string("<wpt lat=\"1\" lon=\"2\"/>\n") + c.element + "\n<wpt lat=\"3\" lon=\"4\"/>\n");
    // The faulty element leaves no half-made point behind.
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << c.element;
    EXPECT_EQ(POINT_LIST.NREAD, 1) << c.element;
    EXPECT_TRUE(isTrue(STOP_FLAG)) << c.element;
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0) << c.element;
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u) << c.element;
    EXPECT_EQ(seen[0].title, "Data Error");
    EXPECT_EQ(seen[0].text,
              std::string(c.message) + "\r\rIn record: " + c.element + "\rCorrect format is: " + c.hint);
  }
}

constexpr std::string_view kRoutes = R"(<gpx>
<rte>
 <name>Route &amp; One</name>
 <number>1</number>
 <rtept lat="1" lon="2"><name>R1</name><sym>Flag</sym></rtept>
 <rtept lat="3" lon="4">
  <name>R2</name>
  <sym>Anchor</sym>
 </rtept>
</rte>
<rte>
 <rtept lat="5" lon="6"><name>First of a nameless route</name></rtept>
 <rtept lat="7" lon="8"></rtept>
</rte>
<rte></rte><rte><name><![CDATA[Big [1] route]]></name><rtept lat="9" lon="10"/></rte>
</gpx>
)";

TEST_F(GpxReading, RoutesGiveTheirNamesToTheirPoints) {
  readText(READ_GPX_ROUTE, kRoutes);
  ASSERT_EQ(POINT_LIST.NPOINTS, 5);
  EXPECT_EQ(point(1).ROUTE_NAME.str(), "Route & One");
  EXPECT_EQ(point(1).NAME.str(), "R1");
  EXPECT_EQ(point(1).SYMBOL, 23);  // Maptech "Flag"
  EXPECT_EQ(point(2).ROUTE_NAME.str(), "Route & One");
  EXPECT_EQ(point(2).SYMBOL_NAME.str(), "Anchor");
  EXPECT_EQ(point(2).SYMBOL, -1);  // Memory-Map names are for waypoints only
  // A nameless route loses neither its name to its first point nor that point.
  EXPECT_TRUE(point(3).ROUTE_NAME.isBlank());
  EXPECT_EQ(point(3).NAME.str(), "First of a nameless route");
  EXPECT_TRUE(point(4).ROUTE_NAME.isBlank());
  EXPECT_EQ(point(4).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(point(4).SYMBOL, 0);
  EXPECT_EQ(point(5).ROUTE_NAME.str(), "Big [1] route");
  EXPECT_EQ(POINT_LIST.NROUTES, 4);
  EXPECT_EQ(lastLogLine(), "5 points read from  4 routes");
}

// Two tracks of seven points, the second with its points spread over lines and
// extensions that count towards nothing.
std::string twoTracks() {
  std::string file = "<gpx>\n<trk><name>Morning</name><trkseg>\n";
  for (int i = 1; i <= 7; ++i) {
    file.append("<trkpt lat=\"").append(std::to_string(i)).append("\" lon=\"0\"><ele>");
    file.append(std::to_string(i * 10)).append("</ele><time>2007-10-17T10:00:0").append(std::to_string(i));
    file.append("Z</time></trkpt>\n");
  }
  file += "</trkseg></trk>\n<trk>\n  <name>Evening</name>\n  <trkseg>\n";
  for (int i = 1; i <= 7; ++i) {
    file.append("  <trkpt lat=\"").append(std::to_string(10 + i));
    file.append("\" lon=\"1\">\n    <extensions>\n      <hr>120</hr>\n    </extensions>\n  </trkpt>\n");
  }
  return file + "  </trkseg>\n</trk>\n</gpx>\n";
}

TEST_F(GpxReading, TheTrackFilterKeepsEveryNthPointOfEachTrack) {
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  readText(READ_GPX_TRACK, twoTracks());
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_FLOAT_EQ(point(1).LATITUDE, 1.0f);
  EXPECT_FLOAT_EQ(point(2).LATITUDE, 6.0f);
  EXPECT_FLOAT_EQ(point(3).LATITUDE, 11.0f);
  EXPECT_FLOAT_EQ(point(4).LATITUDE, 16.0f);
  EXPECT_EQ(point(2).ROUTE_NAME.str(), "Morning");
  EXPECT_EQ(point(2).TIME.str(), "10:00:06");
  EXPECT_FLOAT_EQ(point(2).ALTITUDE, 60.0f);
  EXPECT_EQ(point(3).ROUTE_NAME.str(), "Evening");
  EXPECT_EQ(point(3).SYMBOL_NAME.str(), "Dot");
  EXPECT_EQ(point(3).SYMBOL, 37);
  EXPECT_EQ(POINT_LIST.NTRACKPOINTS, 14);
  EXPECT_EQ(LOG_DISPLAY.LOG_LINES[0].str(), "Track filter is set to 5");
  EXPECT_EQ(lastLogLine(), "4 of   14 points read from  2 tracks");

  SetUp();
  readText(READ_GPX_TRACK, twoTracks());
  EXPECT_EQ(POINT_LIST.NPOINTS, 14);
  EXPECT_EQ(lastLogLine(), "14 points read from  2 tracks");
}

TEST_F(GpxReading, ANamelessTrackKeepsItsFirstPoint) {
  readText(READ_GPX_TRACK, "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"></trkpt><trkpt lat=\"3\" lon=\"4\"></trkpt>"
                           "</trkseg></trk><trk><name>Two</name><trkseg><trkpt lat=\"5\" lon=\"6\"/></trkseg></trk>"
                           "</gpx>");
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_TRUE(point(1).ROUTE_NAME.isBlank());
  EXPECT_FLOAT_EQ(point(2).LATITUDE, 3.0f);
  EXPECT_EQ(point(3).ROUTE_NAME.str(), "Two");
  EXPECT_EQ(lastLogLine(), "3 points read from  2 tracks");
}

TEST_F(GpxReading, ASkippedTrackPointIsNotExamined) {
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  readText(READ_GPX_TRACK, "<trk><name>T</name>\n<trkpt lat=\"1\" lon=\"2\"></trkpt>\n<trkpt lon=\"2\"></trkpt>\n");
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(lastLogLine(), "1 of    2 points read from  1 tracks");
}

TEST_F(GpxReading, TooLongTrackAndRoutePartsAreRefusedWithTheirOwnMessages) {
  const std::string longName(1100, 'n');
  const struct {
    void (*reader)();
    std::string file;
    const char* message;
  } cases[] = {
      {READ_GPX_ROUTE, "<rte>\n<name>" + longName + "</name>\n", "<rte>...</name> record too lon"},
      {READ_GPX_ROUTE, "<rte><name>R</name>\n<rtept lat=\"1\" lon=\"2\">\n<name>" + longName + "</name></rtept>\n",
       "<rtept...</rtept> record too l"},
      {READ_GPX_TRACK, "<trk>\n<name>" + longName + "</name>\n", "<trk>...</name> record too long"},
      {READ_GPX_TRACK, "<trk><name>T</name>\n<trkpt lat=\"1\" lon=\"2\">\n<name>" + longName + "</name></trkpt>\n",
       "<trkpt...</trkpt> record too long"},
  };
  for (const auto& c : cases) {
    SetUp();
    readText(c.reader, c.file);
    EXPECT_TRUE(isTrue(STOP_FLAG)) << c.message;
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u) << c.message;
    EXPECT_EQ(seen[0].text.rfind(std::string(c.message) + "\r\rIn record: <", 0), 0u) << seen[0].text;
  }
}

TEST(GpxRequired, LooksAtTheFirstTagOfTheLineOnly) {
  const struct {
    const char* line;
    bool wanted;
  } cases[] = {
      {"  <wpt lat=\"1\" lon=\"2\">", true}, {"<rtept lat=\"1\">", true},   {"<trkpt>", true},
      {"   </name>", true},                {"<ele>12</ele>", true},       {"</trkpt>", true},
      {"<link href=\"x\"><name>", false},  {"<extensions>", false},        {"middle of a text", false},
      {"<name", false},                    {"<trkseg>", false},            {"", false},
      {"<Name>", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GPX_REQUIRED(static_cast<int>(std::string_view(c.line).size()), c.line), c.wanted) << c.line;
  }
  // Only the characters counted are looked at.
  EXPECT_FALSE(GPX_REQUIRED(3, "<name>"));
  EXPECT_FALSE(GPX_REQUIRED(0, "<name>"));
}

// Short numbers are worked out from their digits, others read where they stand;
// a long one with a Fortran exponent, and a value beyond the range of a double,
// take the longer way through a copy.
TEST(XmlNumber, ReadsTheNumberAtTheStartOfTheText) {
  const struct {
    const char* text;
    std::optional<float> value;
    std::size_t used;
  } cases[] = {
      {"50.001", 50.001f, 6},  {" -1.5 ", -1.5f, 5}, {"+2", 2.0f, 2},      {".5", 0.5f, 2},
      {"5.", 5.0f, 2},         {"1.5,2", 1.5f, 3},   {"1.5E+02", 150.0f, 7}, {"1.5d2", 150.0f, 5},
      {"-1.5D-1", -0.15f, 7},  {"1e-400", 0.0f, 6},  {"1e40", std::nullopt, 0}, {"1e400", std::nullopt, 0},
      {".", std::nullopt, 0},  {"1.5x", std::nullopt, 0}, {"1e", std::nullopt, 0}, {"", std::nullopt, 0},
      // Beyond fifteen digits or a small power of ten: read in full.
      {"1234567890.123456789", 1234567890.123456789f, 20}, {"2.5e30", 2.5e30f, 6}, {"0.000000000000000000000000125", 1.25e-25f, 29},
  };
  for (const auto& c : cases) {
    std::size_t used = 0;
    EXPECT_EQ(XML_NUMBER(c.text, used), c.value) << c.text;
    EXPECT_EQ(used, c.used) << c.text;
  }
}

}  // namespace
}  // namespace xml_tests
