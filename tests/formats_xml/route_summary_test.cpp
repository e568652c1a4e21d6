#include <string>

#include "converter/converter_data.h"
#include "formats/xml/route_summary.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

TEST(TimeInterval, CountsDaysFromTheirNumbersAndSecondsFromTheClock) {
  const struct {
    const char* date1;
    const char* date2;
    int days;
  } days[] = {
      {"28/02/2008", "01/03/2008", 2}, {"28/02/2007", "01/03/2007", 1}, {"31/12/2007", "01/01/2008", 1},
      {"01/01/1901", "01/01/2099", 72319}, {"01/03/2008", "28/02/2008", -2}, {"17/10/2007", "17/10/2007", 0},
  };
  for (const auto& c : days) {
    std::int32_t n = 0;
    GETNDAYS(c.date1, c.date2, n);
    EXPECT_EQ(n, c.days) << c.date1 << " " << c.date2;
  }
  std::int32_t seconds = 0;
  TIMEINTERVAL("31/12/2007", "23:59:50", "01/01/2008", "00:00:10", seconds);
  EXPECT_EQ(seconds, 20);
  TIMEINTERVAL("17/10/2007", "12:00:00", "17/10/2007", "11:59:00", seconds);
  EXPECT_EQ(seconds, -60);
  // Two centuries apart do not wrap round to a small number.
  TIMEINTERVAL("01/01/1901", "00:00:00", "01/01/2099", "00:00:00", seconds);
  EXPECT_EQ(seconds, 2147483647);
  // Month numbers outside 1 to 12 do not read outside the month table.
  GETNDAYS("01/13/2007", "01/00/2007", seconds);
  EXPECT_EQ(seconds, 0);
}

class RunSummary : public XmlFormatTest {
 protected:
  static POINT_RECORD& add(const char* run, float lat, float lon, float altitude, const char* date, const char* time) {
    POINT_RECORD& p = *STORE_POINT();
    p.ROUTE_NAME = run;
    p.LATITUDE = lat;
    p.LONGITUDE = lon;
    p.ALTITUDE = altitude;
    p.DATE = date;
    p.TIME = time;
    return p;
  }
  static std::string texts(int r) {
    const RunSummaryEntry& e = RUN_SUMMARY_ENTRY(r);
    return e.LENGTH_TEXT.str() + "|" + e.STARTED_TEXT.str() + "|" + e.FINISHED_TEXT.str() + "|" +
           e.MIN_ALTITUDE_TEXT.str() + "|" + e.MAX_ALTITUDE_TEXT.str() + "|" + e.AVERAGE_SPEED_TEXT.str() + "|" +
           e.MAX_SPEED_TEXT.str();
  }
};

TEST_F(RunSummary, MeasuresEachRunOfOneName) {
  // Along the equator a degree of longitude is 111.318 km by the plane rule.
  add("East", 0.0f, 0.0f, 123.4f, "17/10/2007", "10:00:00");
  add("East", 0.0f, 0.1f, -9999.0f, "17/10/2007", "10:10:00");
  add("East", 0.0f, 0.2f, 0.0f, "17/10/2007", "10:20:00");
  // Same time stamp: its distance counts, its speed does not.
  add("East", 0.0f, 0.3f, -9999.0f, "17/10/2007", "10:20:00");
  add("One", 5.0f, 5.0f, 50.0f, "17/10/2007", "11:00:00");
  add("East", 1.0f, 1.0f, -9999.0f, "01/02/2003", "04:05:06");
  add("East", 1.0f, 1.0f, -9999.0f, "01/02/2003", "04:05:06");
  GET_RTDETAILS();
  EXPECT_EQ(RUN_COUNT, 3);
  EXPECT_EQ(POINT_LIST.NROUTES, 3);
  EXPECT_EQ(POINT_LIST.CURRENT_ROUTE.str(), "East");
  // The first point's altitude counts with the others; a missing one does not.
  EXPECT_EQ(texts(1), "33.40 km  20.75 mi|17/10/2007 10:00:00|17/10/2007 10:20:00|0 m  0 ft|123 m  405 ft|"
                      "100.19 kph  62.25 mph|66.79 kph  41.50 mph");
  // One point: nothing to measure but its altitude.
  EXPECT_EQ(texts(2), "0.00 km  0.00 mi|not available|not available|50 m  164 ft|50 m  164 ft|"
                      "not available|not available");
  // A run read without times: every point stamped alike.
  EXPECT_EQ(texts(3), "0.00 km  0.00 mi|not available|not available|not available|not available|"
                      "not available|not available");
}

TEST_F(RunSummary, StampsThatAreNoDatesGiveNotAvailable) {
  add("Odd", 0.0f, 0.0f, -9999.0f, "99/99/2007", "10:00:00");
  add("Odd", 0.0f, 0.1f, -9999.0f, "17/10/2007", "10:10:00");
  add("Odd", 0.0f, 0.2f, -9999.0f, "", "");
  GET_RTDETAILS();
  const RunSummaryEntry& e = RUN_SUMMARY_ENTRY(1);
  EXPECT_EQ(e.STARTED_TEXT.str(), "not available");
  EXPECT_EQ(e.FINISHED_TEXT.str(), "not available");
  EXPECT_EQ(e.AVERAGE_SPEED_TEXT.str(), "not available");
  EXPECT_EQ(e.MAX_SPEED_TEXT.str(), "not available");
  EXPECT_EQ(e.LENGTH_TEXT.str(), "22.26 km  13.83 mi");
}

TEST_F(RunSummary, EveryRunHasItsEntryBeyondAHundred) {
  for (int i = 1; i <= 250; ++i) {
    add(i % 2 == 0 ? "even" : "odd", 0.0f, 0.0f, static_cast<float>(i), "17/10/2007", "10:00:00");
  }
  GET_RTDETAILS();
  EXPECT_EQ(RUN_COUNT, 250);
  EXPECT_EQ(RUN_SUMMARY_ENTRY(250).MAX_ALTITUDE_TEXT.str(), "250 m  820 ft");
  EXPECT_EQ(RUN_SUMMARY_ENTRY(101).MIN_ALTITUDE_TEXT.str(), "101 m  331 ft");
}

TEST_F(RunSummary, AnEmptyListMeasuresNothing) {
  RUN_COUNT = 7;
  GET_RTDETAILS();
  EXPECT_EQ(RUN_COUNT, 0);
  EXPECT_EQ(POINT_LIST.NROUTES, 0);
}

TEST_F(RunSummary, FiguresTooWideForTheirColumnsAreAsterisks) {
  add("Far", 0.0f, -179.0f, 1.0e9f, "17/10/2007", "10:00:00");
  add("Far", 80.0f, 179.0f, -9999.0f, "17/10/2007", "10:00:01");
  GET_RTDETAILS();
  const RunSummaryEntry& e = RUN_SUMMARY_ENTRY(1);
  EXPECT_EQ(e.MAX_ALTITUDE_TEXT.str(), "******** m  ******** ft");
  EXPECT_EQ(e.MAX_SPEED_TEXT.str(), "******** kph  ******** mph");
}

}  // namespace
}  // namespace xml_tests
