// NMEA logs read as one track.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "device_test_support.h"
#include "formats/device/tomtom.h"

namespace {

using namespace device_test;

// A sentence with its checksum and line end.
std::string sentence(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  static const char kHex[] = "0123456789ABCDEF";
  return "$" + body + "*" + kHex[(sum >> 4) & 0xF] + kHex[sum & 0xF] + "\r\n";
}

std::string fix(const std::string& time, const std::string& latitude = "4807.038,N",
                const std::string& longitude = "01131.000,E", const std::string& altitude = "545.4",
                const std::string& quality = "1") {
  return sentence("GPGGA," + time + "," + latitude + "," + longitude + "," + quality + ",08,0.9," + altitude +
                  ",M,46.9,M,,");
}

std::string satellites(const std::string& pdop, const std::string& list = "04,05,,09,12,,,24,,,,") {
  return sentence("GPGSA,A,3," + list + "," + pdop + ",1.3,2.1");
}

class Nmea : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
  void read(const std::string& body) {
    writeFile(folder.path("trip.pgl"), body);
    readFileWith(READ_PGL, folder.path("trip.pgl"));
  }
  BoxAnswerer boxes;
  ScratchFolder folder{"nmea"};
};

TEST_F(Nmea, EachFixTakesTheSatellitesSpeedAndCourseReportedAfterIt) {
  read(fix("123519.99") + satellites("2.5") + sentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W") +
       fix("123520", "4807.038,S", "01131.000,W", "-12.25") + satellites("1.5", "01,,,,,,,,,,,") +
       sentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K") + sentence("GPGSV,3,1,11,03,03,111,00"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2) << boxes.summary();
  const POINT_RECORD& a = POINT_LIST.POINT(1);
  EXPECT_NEAR(a.LATITUDE, 48.1173, 1e-5);
  EXPECT_NEAR(a.LONGITUDE, 11.516667, 1e-5);
  EXPECT_FLOAT_EQ(a.ALTITUDE, 545.4f);
  EXPECT_EQ(a.TIME.str(), "12:35:19");
  EXPECT_EQ(a.DATE.str(), "01/02/2003");
  EXPECT_EQ(a.DESCRIPTION.str(), "Speed (mph/kph):  25.8/ 41.5");
  EXPECT_EQ(a.COMMENT.str(), "Course (true):   84.4, Altitude (m): 545.4, Satellites:   4  5  9 12 24");
  EXPECT_EQ(a.ROUTE_NAME.str(), "trip");
  EXPECT_EQ(a.SYMBOL_NAME.str(), "Dot");
  EXPECT_TRUE(a.NAME.isBlank());
  const POINT_RECORD& b = POINT_LIST.POINT(2);
  EXPECT_NEAR(b.LATITUDE, -48.1173, 1e-5);
  EXPECT_NEAR(b.LONGITUDE, -11.516667, 1e-5);
  EXPECT_EQ(b.TIME.str(), "12:35:20");
  EXPECT_EQ(b.DESCRIPTION.str(), "Speed (mph/kph):   6.3/ 10.2");
  EXPECT_EQ(b.COMMENT.str(), "Course (true):   54.7, Altitude (m): -12.3, Satellites:   1");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
  EXPECT_EQ(lastLog(), "2 points read from 1 track");
  EXPECT_EQ(POINT_LIST.TRACK_POSITION, 2);
}

TEST_F(Nmea, WithoutSatellitesOrSpeedTheDescriptionHoldsTheAltitude) {
  read(fix("000000") + fix("000001", "4807.038,N", "01131.000,E", "3.0"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), "Altitude (m): 545.4");
  EXPECT_TRUE(POINT_LIST.POINT(1).COMMENT.isBlank());
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Altitude (m): 3.0");

  resetConverter();
  read(fix("000000") + satellites("2.0") + fix("000001") + sentence("GPRMC,000001,A,4807.038,N,01131.000,E,001.0,010.0,230394,,"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), "Satellites:   4  5  9 12 24");
  EXPECT_EQ(POINT_LIST.POINT(2).COMMENT.str(), "Course (true):   10.0, Altitude (m): 545.4, Satellites:   4  5  9 12 24");
}

TEST_F(Nmea, TheTrackFilterKeepsTheNthFixes) {
  std::string log;
  for (int i = 1; i <= 12; ++i) log += fix("0000" + std::string(i < 10 ? "0" : "") + std::to_string(i));
  CONVERTER_SETTINGS.TRACK_FILTER = 5;
  read(log);
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).TIME.str(), "00:00:05");
  EXPECT_EQ(POINT_LIST.POINT(2).TIME.str(), "00:00:10");
  EXPECT_EQ(lastLog(), "2 of   12 points read from 1 track");
}

TEST_F(Nmea, ThePdopLimitDropsFixesAboveItAndThoseBeforeAnyGsa) {
  CONVERTER_SETTINGS.PDOP_LIMIT = 3.0f;
  read(fix("000001") + fix("000002") + satellites("3.0") + fix("000003") + satellites("3.1") + fix("000004") +
       satellites("2.9"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).TIME.str(), "00:00:02");
  EXPECT_EQ(POINT_LIST.POINT(2).TIME.str(), "00:00:04");
}

TEST_F(Nmea, FixesWithoutAPositionGiveNoPointAndFaultySentencesAreCountedInOneBox) {
  // A fix whose checksum holds a hexadecimal letter, written in small letters.
  std::string lowerCaseSum;
  for (int tenths = 0; lowerCaseSum.empty(); ++tenths) {
    const std::string line = fix("000003", "4807.038,N", "01131.000,E", "545." + std::to_string(tenths));
    const std::string sum = line.substr(line.size() - 4, 2);
    if (sum.find_first_of("ABCDEF") == std::string::npos) continue;
    lowerCaseSum = line;
    for (std::size_t i = line.size() - 4; i < line.size() - 2; ++i) {
      lowerCaseSum[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
    }
  }
  read(fix("000001") +
       fix("000002", ",", ",", "", "0") +                // receiver without a fix
       lowerCaseSum +                                    // "Checksum"
       "$GPGGA,000004,4807.038,N*00\r\n" +               // "Checksum" too
       sentence("GPGGA,000005") +                        // short: "Record"
       sentence("GPGGA,0000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,") +  // no seconds: "Record"
       sentence("GPGGA,000006,4807.038,X,01131.000,E,1,08,0.9,545.4,M,,") +  // no hemisphere: "Record"
       satellites("2.0", "04,x5,,,,,,,,,,") +            // "SatNos", used all the same
       sentence("GPRMC,000006,A") +                      // short: "Record"
       "\r\n" +                                          // "Checksum"
       fix("000007"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(POINT_LIST.POINT(1).TIME.str(), "00:00:01");
  EXPECT_EQ(POINT_LIST.POINT(2).TIME.str(), "00:00:07");
  EXPECT_EQ(POINT_LIST.POINT(2).COMMENT.str(), "Satellites:   4");
  EXPECT_EQ(boxes.summary(),
            "Carrowmapper Error: Some NMEA sentences contained errors\rEnable debug output and re-run\rto see the errors");
  EXPECT_EQ(lastLog(), "2 points read from 1 track");
  EXPECT_EQ(POINT_LIST.TRACK_POSITION, 2);
}

TEST_F(Nmea, ALogWithoutFixesGivesNoPoint) {
  read(sentence("GPGSV,3,1,11,03,03,111,00") + satellites("2.0"));
  EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  EXPECT_EQ(lastLog(), "0 points read from 1 track");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

TEST(NmeaFields, FieldrTakesTheNumberAfterTheNthComma) {
  struct Case {
    const char* sentence;
    int n;
    float value;
  };
  const Case cases[] = {
      {"$GPRMC,1,A,2.5,4", 3, 2.5f}, {"$GPRMC,1,A,2.5 7,4", 3, 2.5f}, {"$GPRMC,1,A,,4", 3, 0.0f},
      {"$GPRMC,1,A", 3, 0.0f},       {"$GPRMC,1,A,x,4", 3, 0.0f},     {"$GPGSA,1,2.1*3C", 2, 2.1f},
      {"$GPRMC,1,A,-1e2,4", 3, -100.0f},
  };
  for (const Case& c : cases) {
    float value = 99.0f;
    FIELDR(c.sentence, c.n, value);
    EXPECT_FLOAT_EQ(value, c.value) << c.sentence;
  }
}

}  // namespace
