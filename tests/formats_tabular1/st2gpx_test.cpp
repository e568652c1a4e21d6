#include <gtest/gtest.h>

#include <string>

#include "converter/debug_log.h"
#include "formats/tabular/st2gpx.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using namespace tabular_test;

constexpr char kRunning[] = "Running ST2GPX v0.5 utility to extract PushPin data";

// The map file handed to the stand-in holds the GPX text it is to "extract".
class MicrosoftMaps : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    FILE_NAMES.PROGRAM_FOLDER = workingFolder() + "st2gpx program\\";
    FILE_NAMES.INPUT_FILE = inputPath();
    for (const char* name : {"st2gpx.tmp", "null", "st2gpx_calls.txt"}) DeleteFileA(name);
  }
  void TearDown() override { DEBUG_LOG.close(); }

  static std::string inputPath() { return workingFolder() + "my trip.axe"; }
  static void givenGpx(const std::string& gpx) { writeFile("my trip.axe", gpx); }
  static std::string errorText(const std::string& message, const std::string& record, const std::string& hint) {
    return dataErrorText(message, record, "Correct format is: " + hint);
  }
};

TEST_F(MicrosoftMaps, PushpinsComeFromTheProgramsGpxText) {
  FILE_DATE = "01/01/2001";
  FILE_TIME = "08:00:00";
  givenGpx(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<gpx version=\"1.1\" creator=\"st2gpx\">\r\n"
      "<wpt lat=\"51.5\" lon=\"-0.12\">\r\n"
      "<name>Home</name>\r\n"
      "<desc>Where I live</desc>\r\n"
      "<ele>12.5</ele>\r\n"
      "<sym>77</sym>\r\n"
      "</wpt>\r\n"
      "<wpt lat=\"-33.9\" lon=\"151.2\"><name><![CDATA[Sydney <Opera> &amp;]]></name>"
      "<time>2007-10-17T12:34:56Z</time><sym>999</sym></wpt>\r\n"
      "<wpt lat=\"48.1\" lon=\"11.6\"><name>M&#252;nchen &amp; M\xC3\xBCnster</name>"
      "<desc>caf\xC3\xA9 \xE2\x82\xAC &#x263A;</desc></wpt>\n"
      "</gpx>\r\n"
      "<wpt lat=\"1\" lon=\"1\"><name>after the end</name></wpt>\r\n");
  READ_AXE();
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(POINT_LIST.NREAD, 3);

  const POINT_RECORD& home = point(1);
  EXPECT_EQ(home.LATITUDE, 51.5f);
  EXPECT_EQ(home.LONGITUDE, -0.12f);
  EXPECT_EQ(home.DESCRIPTION.str(), "Home");
  EXPECT_EQ(home.COMMENT.str(), "Where I live");
  EXPECT_TRUE(home.NAME.isBlank());
  EXPECT_EQ(home.ALTITUDE, 12.5f);
  EXPECT_EQ(home.SYMBOL, 1);
  EXPECT_EQ(home.SYMBOL_NAME.str(), "Residence");
  EXPECT_EQ(home.DATE.str(), "01/01/2001");
  EXPECT_EQ(home.TIME.str(), "08:00:00");
  EXPECT_EQ(home.PROXIMITY, 0.0f);
  EXPECT_EQ(home.ROUTE_NAME.str(), "Point data");
  EXPECT_TRUE(home.COLOUR.isBlank());

  const POINT_RECORD& sydney = point(2);
  EXPECT_EQ(sydney.DESCRIPTION.str(), "Sydney <Opera> &amp;");  // CDATA stays as written
  EXPECT_EQ(sydney.DATE.str(), "17/10/2007");
  EXPECT_EQ(sydney.TIME.str(), "12:34:56");
  EXPECT_EQ(sydney.SYMBOL, 0);
  EXPECT_EQ(sydney.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(sydney.ALTITUDE, -9999.0f);

  const POINT_RECORD& munich = point(3);
  EXPECT_EQ(munich.DESCRIPTION.str(), "M\xFCnchen & M\xFCnster");
  EXPECT_EQ(munich.COMMENT.str(), "caf\xE9 \x80 ?");
  EXPECT_EQ(munich.SYMBOL, -1);
  EXPECT_EQ(munich.SYMBOL_NAME.str(), "Waypoint");

  EXPECT_EQ(logLines(), (std::vector<std::string>{kRunning, "3 points read"}));
  // The stand-in got the option, the output and the input as three arguments,
  // although the program folder and the input name hold blanks.
  EXPECT_EQ(readFile("st2gpx_calls.txt"), "-G\nst2gpx.tmp\n" + inputPath() + "\n--\n");
  EXPECT_FALSE(fileExists("st2gpx.tmp"));
  EXPECT_FALSE(fileExists("null"));
}

TEST_F(MicrosoftMaps, UnreadableSymbolOrElevationLeavesThePointWithoutOne) {
  givenGpx(
      "<gpx>\n"
      "<wpt lat=\"1\" lon=\"2\"><ele>5</ele><sym>77</sym></wpt>\n"
      "<wpt lat=\"3\" lon=\"4\"><ele>high</ele><sym>house</sym></wpt>\n"
      "<wpt lat=\"5\" lon=\"6\"><ele></ele><sym></sym></wpt>\n"
      "</gpx>\n");
  READ_AXE();
  ASSERT_EQ(POINT_LIST.NPOINTS, 3);
  EXPECT_EQ(point(1).ALTITUDE, 5.0f);
  EXPECT_EQ(point(1).SYMBOL, 1);
  for (int i : {2, 3}) {
    EXPECT_EQ(point(i).ALTITUDE, -9999.0f) << i;
    EXPECT_EQ(point(i).SYMBOL, -1) << i;
    EXPECT_EQ(point(i).SYMBOL_NAME.str(), "Waypoint") << i;
  }
}

TEST_F(MicrosoftMaps, ASingleByteDeclarationKeepsTheBytes) {
  givenGpx("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gpx>\n"
           "<wpt lat=\"1\" lon=\"2\"><name>M\xFCnster &lt;1&gt;</name></wpt>\n</gpx>\n");
  READ_AXE();
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "M\xFCnster <1>");
}

TEST_F(MicrosoftMaps, AFaultyPushpinEndsTheProgramAndIsNotKept) {
  struct Case {
    const char* element;
    const char* message;
    const char* hint;
  };
  const Case cases[] = {
      {"<wpt lon=\"2\"><name>B</name></wpt>", "Latitude keyword missing", "lat=\"decimal value\""},
      {"<wpt lat=\"5x\" lon=\"2\"></wpt>", "Error reading latitude", "Any valid number"},
      {"<wpt lat=\"5\"><name>B</name></wpt>", "Longitude keyword missing", "lon=\"decimal value\""},
      {"<wpt lat=\"5\" lon=\"\"></wpt>", "Error reading longitude", "Any valid number"},
  };
  for (const Case& c : cases) {
    SetUp();
    givenGpx(std::string("<gpx>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n") + c.element + "\n<wpt lat=\"3\" lon=\"4\"></wpt>\n");
    READ_AXE();
    EXPECT_EQ(POINT_LIST.NPOINTS, 1) << c.element;
    EXPECT_EQ(POINT_LIST.NREAD, 1);
    EXPECT_TRUE(isTrue(STOP_FLAG));
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u) << c.element;
    EXPECT_EQ(shown[0].title, "Data Error");
    EXPECT_EQ(shown[0].text, errorText(c.message, c.element, c.hint));
    EXPECT_EQ(logLines(), std::vector<std::string>{kRunning});
    boxes.clear();
  }
}

TEST_F(MicrosoftMaps, APushpinElementMustCloseWithin1024Characters) {
  // 990 characters over three lines close in time; the element's text is cut to the field.
  const std::string longName(950, 'n');
  givenGpx("<gpx>\n<wpt lat=\"1\" lon=\"2\">\n<name>" + longName + "</name>\n</wpt>\n" +
           "<wpt lat=\"3\" lon=\"4\">\n<desc>" + std::string(1000, 'd') + "</desc>\n</wpt>\n</gpx>\n");
  READ_AXE();
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).DESCRIPTION.str(), longName.substr(0, 256));
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.rfind("<wpt...</wpt> record too long\r\rIn record: <wpt lat=\"3\" lon=\"4\"><desc>ddd", 0), 0u);
  EXPECT_NE(shown[0].text.find("\rCorrect format is: Maximum length is 1024 characters"), std::string::npos);
  EXPECT_TRUE(isTrue(STOP_FLAG));
}

TEST_F(MicrosoftMaps, WithoutTheProgramsOutputTheUserIsToldAndNothingIsRead) {
  for (const bool programMissing : {true, false}) {
    SetUp();
    // A file of an earlier run must not be taken for this one's.
    writeFile("st2gpx.tmp", "<gpx>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n</gpx>\n");
    if (programMissing) {
      FILE_NAMES.PROGRAM_FOLDER = workingFolder() + "no such folder\\";
      givenGpx("<gpx>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n</gpx>\n");
    } else {
      givenGpx("NO OUTPUT\n");
    }
    READ_AXE_ROUTE();
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
    EXPECT_TRUE(isTrue(STOP_FLAG));
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].text, "The ST2GPX utility failed to produce the file -\rst2gpx.tmp");
    EXPECT_EQ(logLines(), std::vector<std::string>{kRunning});
    EXPECT_FALSE(fileExists("st2gpx.tmp"));
    boxes.clear();
  }
}

TEST_F(MicrosoftMaps, TheStorageLimitStopsAtTheLastFreePlace) {
  preload(MAX_POINTS - 1);
  givenGpx("<gpx>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n<wpt lat=\"3\" lon=\"4\"></wpt>\n</gpx>\n");
  READ_AXE();
  EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS);
  EXPECT_EQ(point(MAX_POINTS).LATITUDE, 1.0f);
  EXPECT_TRUE(isTrue(STOP_FLAG));
  EXPECT_EQ(boxes.titles(), std::vector<std::string>{"Storage limit"});
}

TEST_F(MicrosoftMaps, InDebugModeTheCommandIsLoggedAndTheOutputKept) {
  DEBUG_FLAG = kLogicalTrue;
  ASSERT_TRUE(DEBUG_LOG.open("st2gpx_debug.txt"));
  givenGpx("<gpx>\n<wpt lat=\"1\" lon=\"2\"></wpt>\n</gpx>\n");
  READ_AXE();
  DEBUG_LOG.close();
  DEBUG_FLAG = kLogicalFalse;
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_TRUE(fileExists("st2gpx.tmp"));
  const std::string log = readFile("st2gpx_debug.txt");
  const std::string command = std::string("\"").append(workingFolder()) +
                              "st2gpx program\\st2gpx_05\\st2gpx.exe\" -G \"st2gpx.tmp\" \"" + inputPath() + "\", 3";
  EXPECT_NE(log.find(" Issuing command in ...\r\n " + command + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" Exit from Subroutine read_axe\r\n"), std::string::npos);
}

TEST_F(MicrosoftMaps, RoutesAndTheirPointsComeFromTheProgramsGpxText) {
  POINT_LIST.CURRENT_ROUTE = "Old route";
  givenGpx(
      "<?xml version=\"1.0\"?>\n"
      "<gpx>\n"
      "<rtept lat=\"1\" lon=\"1\"><name>Before any route</name></rtept>\n"
      "<rte>\n"
      "<name><![CDATA[Trip [1] out]]></name>\n"
      "<rtept lat=\"51.5\" lon=\"-0.12\"><name>Start of the first route</name><sym>House</sym></rtept>\n"
      "<rtept lat=\"51.6\" lon=\"-0.2\">\n"
      "<name>Middle</name>\n"
      "</rtept>\n"
      "</rte>\n"
      "<rte><name>Back &amp; forth</name>\n"
      "<rtept lat=\"51.7\" lon=\"-0.3\"><sym>Waypoint</sym><ele>40</ele><time>2008-01-02T03:04:05Z</time></rtept>\n"
      "</rte>\n"
      "</gpx>\n"
      "<rtept lat=\"9\" lon=\"9\"></rtept>\n");
  READ_AXE_ROUTE();
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
  ASSERT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(POINT_LIST.NROUTES, 2);
  EXPECT_EQ(point(1).ROUTE_NAME.str(), "Old route");
  EXPECT_EQ(point(2).ROUTE_NAME.str(), "Trip [1");
  EXPECT_EQ(point(2).DESCRIPTION.str(), "Start of the first route");
  EXPECT_TRUE(point(2).NAME.isBlank());
  EXPECT_EQ(point(2).SYMBOL_NAME.str(), "House");
  EXPECT_EQ(point(2).SYMBOL, 118);
  // Each line starts its record afresh: nothing of the longer line before it remains.
  EXPECT_EQ(point(3).DESCRIPTION.str(), "Middle");
  EXPECT_EQ(point(3).LATITUDE, 51.6f);
  EXPECT_EQ(point(3).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(point(3).SYMBOL, 37);
  EXPECT_EQ(point(4).ROUTE_NAME.str(), "Back & forth");
  EXPECT_EQ(point(4).SYMBOL, 37);
  EXPECT_EQ(point(4).ALTITUDE, 40.0f);
  EXPECT_EQ(point(4).DATE.str(), "02/01/2008");
  EXPECT_EQ(point(4).TIME.str(), "03:04:05");
  EXPECT_EQ(point(4).PROXIMITY, 0.0f);
  EXPECT_EQ(logLines(), (std::vector<std::string>{kRunning, "4 points read from  2 routes"}));
  // The program's output goes with the reading.
  EXPECT_FALSE(fileExists("st2gpx.tmp"));
}

TEST_F(MicrosoftMaps, RouteElementsMustCloseWithin256Characters) {
  struct Case {
    std::string gpx;
    const char* message;
  };
  const Case cases[] = {
      {"<gpx>\n<rte>\n<name>" + std::string(300, 'r') + "\n</name>\n", "<rte>...</name> record too lon"},
      {"<gpx>\n<rte><name>R</name>\n<rtept lat=\"1\" lon=\"2\">\n<name>" + std::string(300, 'p') + "\n</name></rtept>\n",
       "<rtept...</rtept> record too l"},
  };
  for (const Case& c : cases) {
    SetUp();
    givenGpx(c.gpx);
    READ_AXE_ROUTE();
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
    EXPECT_TRUE(isTrue(STOP_FLAG));
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind(std::string(c.message) + "\r\rIn record: <r", 0), 0u) << shown[0].text;
    EXPECT_NE(shown[0].text.find("\rCorrect format is: Maximum length is 256 characters"), std::string::npos);
    boxes.clear();
  }
}

}  // namespace
