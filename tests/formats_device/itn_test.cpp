// TomTom ITN itineraries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "device_test_support.h"
#include "formats/device/tomtom.h"

namespace {

using namespace device_test;

class Itn : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
  BoxAnswerer boxes;
  ScratchFolder folder{"itn"};
};

TEST_F(Itn, ReadsOneRouteNamedAfterTheFileAndSkipsMalformedLinesWithOneBox) {
  readFileWith(READ_ITN, fixturePath("itinerary.itn"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 6);
  struct Expected {
    double longitude, latitude;
    std::string description, flag;
  };
  const Expected expected[] = {
      {-1.23456, 51.23456, "Home", "DEPARTURE"},
      {1.0, 2.0, "Via point", "DRIVEBY"},
      {0.0, 0.0, "  blanks kept", "UNDEFINED"},
      {3.0, 4.0, "GPSBabel style", "DISABLED"},
      {5.0, 6.0, std::string(200, 'L'), "DESTINATION"},
      {7.0, 8.0, "Last without a line feed", "DESTINATION"},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const POINT_RECORD& p = POINT_LIST.POINT(i + 1);
    EXPECT_NEAR(p.LONGITUDE, expected[i].longitude, 1e-5);
    EXPECT_NEAR(p.LATITUDE, expected[i].latitude, 1e-5);
    EXPECT_EQ(p.DESCRIPTION.str(), expected[i].description);
    EXPECT_EQ(p.NAME.str(), expected[i].flag);
    EXPECT_EQ(p.ROUTE_NAME.str(), "itinerary");
    EXPECT_EQ(p.SYMBOL_NAME.str(), "Dot");
    EXPECT_EQ(p.DATE.str(), "01/02/2003");
    EXPECT_TRUE(p.COMMENT.isBlank());
  }
  EXPECT_EQ(boxes.summary(),
            "Carrowmapper Error: Lines skipped: 3\rThey are not of the form\rLongitude|Latitude|Name|Flag|");
  EXPECT_EQ(lastLog(), "6 points read from 1 route");
  EXPECT_EQ(POINT_LIST.NROUTES, 0);
}

TEST_F(Itn, WritesFlagsNamesAndRoundedCoordinatesAndNamesBlankPoints) {
  POINT_RECORD& church = addPoint(-1.234567f, 51.5f, "Church");
  church.COMMENT = "Open Sundays";
  addPoint(2.0f, -3.000005f, "");
  addPoint(0.0f, 0.0f, "A|B");
  const std::string written = writeFileWith(WRITE_ITN, folder.path("w.itn"));
  EXPECT_EQ(written,
            "-123457|5150000|Church, Open Sundays|4|\n"
            "200000|-300001|Item 2|1|\n"
            "0|0|A/B|3|\n");
  EXPECT_EQ(written, fixture("written.itn"));
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Item 2");  // stays for later saves
  EXPECT_EQ(lastLog(), "3 points written to 1 route");

  POINT_LIST.NPOINTS = 1;
  EXPECT_EQ(writeFileWith(WRITE_ITN, folder.path("one.itn")), "-123457|5150000|Church, Open Sundays|4|\n");
  POINT_LIST.NPOINTS = 0;
  EXPECT_EQ(writeFileWith(WRITE_ITN, folder.path("none.itn")), "");
  EXPECT_EQ(lastLog(), "0 points written to 1 route");
}

TEST_F(Itn, GeneratedNamesOfLargeListsKeepAllTheirDigits) {
  for (int i = 0; i < 10001; ++i) addPoint(1, 1, "x");
  POINT_LIST.POINT(10001).DESCRIPTION.blank();
  writeFileWith(WRITE_ITN, folder.path("big.itn"));
  EXPECT_EQ(POINT_LIST.POINT(10001).DESCRIPTION.str(), "Item 10001");
}

TEST_F(Itn, WrittenItinerariesReadBack) {
  addPoint(-1.5f, 51.25f, "Start");
  addPoint(-1.75f, 51.5f, "Via");
  addPoint(-2.0f, 51.75f, "End");
  writeFileWith(WRITE_ITN, folder.path("My trip.itn"));
  resetConverter();
  readFileWith(READ_ITN, folder.path("My trip.itn"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 3) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), "DEPARTURE");
  EXPECT_EQ(POINT_LIST.POINT(2).NAME.str(), "DRIVEBY");
  EXPECT_EQ(POINT_LIST.POINT(3).NAME.str(), "DESTINATION");
  EXPECT_NEAR(POINT_LIST.POINT(3).LONGITUDE, -2.0, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(3).ROUTE_NAME.str(), "My trip");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

}  // namespace
