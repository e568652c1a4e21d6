// TomTom ASC overlay text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "converter/dates.h"
#include "converter/osgbsubs.h"
#include "device_test_support.h"
#include "formats/device/tomtom.h"

namespace {

using namespace device_test;
using ::testing::HasSubstr;

class Asc : public ::testing::Test {
 protected:
  void SetUp() override {
    resetConverter();
    SETUP();
  }
  // Reads the lines as an ASC file.
  void read(const std::string& body) {
    writeFile(folder.path("in.asc"), body);
    readFileWith(READ_ASC, folder.path("in.asc"));
  }
  std::string today() {
    FixedText<10> date;
    CDATE(date);
    return date.str();
  }
  BoxAnswerer boxes;
  ScratchFolder folder{"asc"};
};

TEST_F(Asc, WritesHeaderPointLinesAndClosingLineAndReadsThemBack) {
  addPoint(-1.25f, 51.5f, "Old \"Mill\"").COMMENT = "By the river";
  addPoint(151.25f, -33.5f, "Sydney");
  addPoint(0.0f, 0.0f, "");
  const std::string written = writeFileWith(WRITE_ASC, folder.path("out.asc"));
  EXPECT_EQ(written, ";* Created by Carrowmapper version 3.21 on " + today() +
                         "\r\n"
                         ";* Longitude, Latitude, \"Name\" [, \"Description\"]\r\n"
                         "  -1.25000,  51.50000, \"Old \"Mill\"\", \"By the river\"\r\n"
                         " 151.25000, -33.50000, \"Sydney\"\r\n"
                         "   0.00000,   0.00000, \"POI 3\"\r\n"
                         ";*     3 POI records written.\r\n");
  EXPECT_EQ(DEFAULT_DATE.str(), today());
  EXPECT_EQ(lastLog(), "3 points written");

  resetConverter();
  readFileWith(READ_ASC, folder.path("out.asc"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, -1.25, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.5, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), "Old \"Mill\"");
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), "By the river");
  EXPECT_TRUE(POINT_LIST.POINT(1).NAME.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(1).DATE.str(), "01/02/2003");
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(1).ALTITUDE, kNoValue);
  EXPECT_TRUE(POINT_LIST.POINT(2).COMMENT.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(3).DESCRIPTION.str(), "POI 3");
  EXPECT_EQ(lastLog(), "3 points read");
}

TEST_F(Asc, NameAndDescriptionFollowTheNameSource) {
  POINT_RECORD& p = addPoint(1, 2, "Desc", "Name");
  p.COMMENT = "Comment";
  addPoint(1, 2, std::string(200, 'd'));
  auto pointLine = [&](int line) { return lines(writeFileWith(WRITE_ASC, folder.path("n.asc")))[line]; };
  EXPECT_EQ(pointLine(2), "   1.00000,   2.00000, \"Desc\", \"Comment\"\r");
  EXPECT_EQ(pointLine(3), "   1.00000,   2.00000, \"" + std::string(128, 'd') + "\"\r");
  TOMTOM_SETTINGS.NAME_SOURCE = 2;
  EXPECT_EQ(pointLine(2), "   1.00000,   2.00000, \"Name\", \"Desc\"\r");
  EXPECT_EQ(pointLine(3), "   1.00000,   2.00000, \"POI 2\", \"" + std::string(200, 'd') + "\"\r");
  TOMTOM_SETTINGS.NAME_SOURCE = 3;
  EXPECT_EQ(pointLine(2), "   1.00000,   2.00000, \"Comment\", \"Desc\"\r");
}

TEST_F(Asc, ReadsTheSexagesimalNotationsAndTheRangeBounds) {
  read("-1'30\"36, 51:30, \"a\"\r\n"
       "-0'30, -33'30, \"b\"\r\n"
       "1'60,51'60,\"c\"\r\n"
       "180,-90,\"d\"\r\n"
       "1:2:3,-1:30,\"e\"\r\n"
       "7'30\", 8:, \"f\"\r\n");
  ASSERT_EQ(POINT_LIST.NPOINTS, 6) << boxes.summary();
  const double expected[][2] = {{-1.51, 51.5},  {-0.5, -33.5},  {2.0, 52.0},
                                {180.0, -90.0}, {1.0341666667, -1.5}, {7.5, 8.0}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(POINT_LIST.POINT(i + 1).LONGITUDE, expected[i][0], 1e-5) << i;
    EXPECT_NEAR(POINT_LIST.POINT(i + 1).LATITUDE, expected[i][1], 1e-5) << i;
  }
}

TEST_F(Asc, SkipsCommentsEmptyLinesAndLinesOfBlanksAndReadsLongLines) {
  read(";* a comment\r\n"
       "\r\n"
       "        \r\n"
       "   ; an indented comment\r\n"
       "   1.5,2.5,\"" + std::string(600, 'n') + "\",\"" + std::string(300, 'c') + "\"\r\n");
  ASSERT_EQ(POINT_LIST.NPOINTS, 1) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), std::string(256, 'n'));
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), std::string(256, 'c'));
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

struct BadLine {
  const char* line;
  const char* message;
  const char* hint;  // with its introduction
};

TEST_F(Asc, FaultyLinesShowTheirDataErrorAndEndTheReading) {
  const BadLine cases[] = {
      {"1.0,2.0", "Comma missing", "Correct format is: Longitude, Latitude, \"Name\""},
      {"-abc,2.0,\"N\"", "Error reading Longitude", "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec"},
      {"1.0,x,\"N\"", "Error reading Latitude", "Reading: Decimal degrees or Deg'Min\"Sec or Deg:Min:Sec"},
      {"-x'5,2,\"N\"", "Error reading Longitude", "Reading: Degrees from Deg'Min\"Sec or Deg'Min"},
      {"1'x,2,\"N\"", "Error reading Longitude", "Reading: Minutes from Deg'Min"},
      {"1'x\"5,2,\"N\"", "Error reading Longitude", "Reading: Minutes from Deg'Min\"Sec"},
      {"1'5\"x,2,\"N\"", "Error reading Longitude", "Reading: Seconds from Deg'Min\"Sec"},
      {"1,x:5,\"N\"", "Error reading Latitude", "Reading: Degrees from Deg:Min:Sec or Deg:Min"},
      {"1,2:x,\"N\"", "Error reading Latitude", "Reading: Minutes from Deg:Min"},
      {"1,2::3,\"N\"", "Error reading Latitude", "Reading: Minutes from Deg:Min:Sec"},
      {"1,2:3:x,\"N\"", "Error reading Latitude", "Reading: Seconds from Deg:Min:Sec"},
      {"1'60.5,2,\"N\"", "Longitude Minutes out of range", "Valid range is 0 to 60"},
      {"1'5\"61,2,\"N\"", "Longitude Seconds out of range", "Valid range is 0 to 60"},
      {"1,2'61,\"N\"", "Latitude Minutes out of range", "Valid range is 0 to 60"},
      {"1,2:3:-1,\"N\"", "Latitude Seconds out of range", "Valid range is 0 to 60"},
      {"180.5,2,\"N\"", "Longitude value out of range", "Valid range is -180 to 180 degrees"},
      {"1,-90.5,\"N\"", "Latitude value out of range", "Valid range is -90 to 90 degrees"},
      {"1,2,", "Name missing", "Correct format is: Longitude, Latitude,\"Name\""},
      {"1,2, \"\"", "Name missing", "Correct format is: Longitude, Latitude, \"Name\""},
      {"1,2,\"Unclosed", "Syntax error", "Closing double quote (\") missing"},
      {"1,2,\"N\",\"Unclosed", "Syntax error", "Closing double quote (\") missing"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.line);
    resetConverter();
    boxes.clear();
    read(std::string("5,6,\"good\"\r\n") + c.line + "\r\n7,8,\"never read\"\r\n");
    EXPECT_EQ(boxes.summary(),
              std::string("Data Error: ") + c.message + "\r\rIn record: " + c.line + "\r" + c.hint);
    EXPECT_EQ(POINT_LIST.NPOINTS, 1);  // the faulty line's point is not kept
    EXPECT_FALSE(isTrue(STOP_FLAG));
    EXPECT_EQ(lastLog(), " File closed");
  }
}

TEST_F(Asc, ALineWithoutACommaEndsTheProgram) {
  read("5,6,\"good\"\r\nTomTom Navigator Places of Interest\r\n7,8,\"never read\"\r\n");
  EXPECT_EQ(boxes.summary(), "Data Error: No comma separators\r\rIn record: TomTom Navigator Places of Interest\r"
                             "Correct format is: Longitude, Latitude, \"Name\"");
  EXPECT_TRUE(isTrue(STOP_FLAG));
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(lastLog(), "");
}

TEST_F(Asc, GridReferencesAreReadAndWritten) {
  addPoint(-0.12f, 51.5f, "London").COMMENT = "Centre";
  addPoint(100.0f, -40.0f, "Outside the grid");
  addPoint(-3.19f, 55.95f, "Edinburgh");
  CONVERTER_SETTINGS.OSGB_OUTPUT = kLogicalTrue;
  const std::vector<std::string> out = lines(writeFileWith(WRITE_ASC, folder.path("grid.asc")));
  ASSERT_EQ(out.size(), 7u);
  EXPECT_EQ(out[1], ";* WGS84 to OSGB36 transformation\r");
  EXPECT_EQ(out[2], ";* OSGB36 reference, \"Name\" [, \"Description\"]\r");
  EXPECT_TRUE(std::regex_match(out[3], std::regex("TQ [0-9]{5} [0-9]{5},\"London\", \"Centre\"\r"))) << out[3];
  EXPECT_EQ(out[4], " 100.00000, -40.00000, \"Outside the grid\"\r");
  EXPECT_TRUE(std::regex_match(out[5], std::regex("NT [0-9]{5} [0-9]{5},\"Edinburgh\"\r"))) << out[5];

  resetConverter();
  readFileWith(READ_ASC, folder.path("grid.asc"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.5, 2e-5);
  EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, -0.12, 2e-5);
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), "Centre");
  EXPECT_NEAR(POINT_LIST.POINT(2).LONGITUDE, 100.0, 1e-6);
  EXPECT_NEAR(POINT_LIST.POINT(3).LATITUDE, 55.95, 2e-5);

  // Small letters are read as capitals.
  std::string lower = out[3];
  lower[0] = 't';
  lower[1] = 'q';
  resetConverter();
  read(lower + "\n");
  ASSERT_EQ(POINT_LIST.NPOINTS, 1) << boxes.summary();
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.5, 2e-5);
}

TEST_F(Asc, AnUnreadableGridReferenceShowsItsBoxAndEndsTheReading) {
  read("5,6,\"good\"\r\ntq 3026 7964 1,\"odd\"\r\n7,8,\"never read\"\r\n");
  EXPECT_EQ(boxes.summary(),
            "Error: TQ 3026 7964 1\rInvalid OS reference -\rneeds 2 letters and an even number of digits");
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_FALSE(isTrue(STOP_FLAG));
  EXPECT_EQ(lastLog(), " File closed");
}

}  // namespace
