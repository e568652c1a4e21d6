#include <gtest/gtest.h>

#include <string>

#include "formats/tabular/coordinate_parsers.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using tabular_test::ConverterTest;
using tabular_test::dataErrorText;

TEST(FreeFormNumbers, EndAtBlankCommaOrSlashAndRefuseAnythingElse) {
  struct Case {
    const char* text;
    bool readable;
    double value;
  };
  const Case cases[] = {
      {"51.5", true, 51.5},   {"  +51.5  ", true, 51.5}, {"5.15E1", true, 51.5}, {"5.15d1", true, 51.5},
      {"-.5", true, -0.5},    {"7.", true, 7.0},         {"12,5", true, 12.0},   {"3/4", true, 3.0},
      {"51.5 N", true, 51.5}, {"51.5N", false, 0},       {"N51.5", false, 0},    {"", false, 0},
      {"   ", false, 0},      {"-", false, 0},           {".", false, 0},        {"1.2.3", false, 0},
      {"1E", false, 0},       {"1e+", false, 0},         {"0x10", false, 0},     {"1e400", false, 0},
  };
  for (const Case& c : cases) {
    const std::optional<double> v = readFreeDouble(c.text);
    EXPECT_EQ(v.has_value(), c.readable) << c.text;
    if (v && c.readable) {
      EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
  }
  // A 32-bit real refuses what it cannot hold.
  EXPECT_FALSE(readFreeReal("1e39").has_value());
  EXPECT_EQ(readFreeReal("-1e38").value_or(0), -1e38f);
  EXPECT_EQ(readFreeInteger(" 77 ").value_or(0), 77);
  EXPECT_EQ(readFreeInteger("-3,").value_or(0), -3);
  EXPECT_FALSE(readFreeInteger("77.0").has_value());
  EXPECT_FALSE(readFreeInteger("9999999999").has_value());
  EXPECT_FALSE(readFreeInteger("abc").has_value());
}

TEST(SixDigits, AtLeastSixDigitsAndNothingElse) {
  EXPECT_TRUE(N6("123456"));
  EXPECT_TRUE(N6("1234567   "));
  EXPECT_FALSE(N6("12345"));
  EXPECT_FALSE(N6("12345a"));
  EXPECT_FALSE(N6(" 123456"));
  EXPECT_FALSE(N6("123456.0"));
  EXPECT_FALSE(N6("+123456"));
  EXPECT_FALSE(N6(""));
}

class DegreeFields : public ConverterTest {};

TEST_F(DegreeFields, AcceptedFormsGiveTheirValue) {
  struct Case {
    const char* text;
    float limit;
    float value;
  };
  const Case cases[] = {
      {"51.5", 90, 51.5f},       {"+51.5", 90, 51.5f},      {"5.15E1", 90, 51.5f},   {"-0.1234", 180, -0.1234f},
      {"90", 90, 90.0f},         {"-90", 90, -90.0f},       {"180", 180, 180.0f},    {"-180", 180, -180.0f},
      {"51'30", 90, 51.5f},      {"51'30\"36", 90, 51.51f}, {"-1'30", 180, -1.5f},   {" -51'30", 90, -50.5f},
      {"-51'30", 90, -51.5f},    {"51'60", 90, 52.0f},      {"51'30\"", 90, 51.5f},  {"51:30:36", 90, 51.51f},
      {"51:30", 90, 51.5f},      {"51:", 90, 51.0f},        {"51.5 N", 90, 51.5f},   {"0:0:60", 90, 1.0f / 60},
  };
  for (const Case& c : cases) {
    float value = -1234.0f;
    std::int32_t status = -1;
    DMS(c.text, value, c.limit, "the record", status);
    EXPECT_EQ(status, kCoordinateStored) << c.text;
    EXPECT_NEAR(value, c.value, 1e-5) << c.text;
  }
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(DegreeFields, EveryFaultIsShownWithItsHintAndLeavesTheValue) {
  struct Case {
    const char* text;
    float limit;
    std::int32_t status;
    const char* message;
    const char* lastLine;
  };
  const Case cases[] = {
      {"90.0001", 90, 1, "Coordinate value out of range", "Valid range is -90 to 90 degrees"},
      {"-180.5", 180, 1, "Coordinate value out of range", "Valid range is -180 to 180 degrees"},
      {"95'30", 90, 1, "Coordinate value out of range", "Valid range is -90 to 90 degrees"},
      {"51'61", 90, 1, "Minutes out of range", "Valid range is 0 to 60"},
      {"51:-1", 90, 1, "Minutes out of range", "Valid range is 0 to 60"},
      {"51'30\"61", 90, 1, "Seconds out of range", "Valid range is 0 to 60"},
      {"N51.5", 90, 3, "Error reading coordinate", "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec"},
      {"51.5N", 90, 3, "Error reading coordinate", "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec"},
      {"", 90, 3, "Error reading coordinate", "Reading: Decimal degree or Deg'Min\"Sec or Deg:Min:Sec"},
      {"5x'30", 90, 3, "Error reading coordinate", "Reading: Degrees from Deg'Min\"Sec or Deg'Min"},
      {"51'3x\"10", 90, 3, "Error reading coordinate", "Reading: Minutes from Deg'Min\"Sec"},
      {"51'30\"1x", 90, 3, "Error reading coordinate", "Reading: Seconds from Deg'Min\"Sec"},
      {"51'3x", 90, 3, "Error reading coordinate", "Reading: Minutes from Deg'Min"},
      {"x:30", 90, 3, "Error reading coordinate", "Reading: Degrees from Deg:Min:Sec or Deg:Min"},
      {"51:x:30", 90, 3, "Error reading coordinate", "Reading: Minutes from Deg:Min:Sec"},
      {"51:30:x", 90, 3, "Error reading coordinate", "Reading: Seconds from Deg:Min:Sec"},
      {"51:x", 90, 3, "Error reading coordinate", "Reading: Minutes from Deg:Min"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    float value = 7.0f;
    std::int32_t status = -1;
    DMS(c.text, value, c.limit, "Home,51.5,x", status);
    EXPECT_EQ(status, c.status) << c.text;
    EXPECT_EQ(value, 7.0f) << c.text;
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u) << c.text;
    EXPECT_EQ(shown[0].title, "Data Error");
    EXPECT_EQ(shown[0].text, dataErrorText(c.message, "Home,51.5,x", c.lastLine)) << c.text;
  }
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

TEST_F(DegreeFields, EastingsAndNorthingsOnTheGrid) {
  float latitude = 0.0f;
  float longitude = 0.0f;
  std::int32_t status = -1;
  // The grid position of TQ 30269 79640, in central London.
  FROMEN("530269", "179640", latitude, longitude, "r", status);
  EXPECT_EQ(status, kCoordinateStored);
  EXPECT_NEAR(latitude, 51.5, 0.01);
  EXPECT_NEAR(longitude, -0.12, 0.01);
  // Seven digits are accepted.
  FROMEN("0400000", "1000000", latitude, longitude, "r", status);
  EXPECT_EQ(status, kCoordinateStored);
  EXPECT_NEAR(latitude, 58.9, 0.2);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
}

TEST_F(DegreeFields, BadOrUnplaceableEastingsAndNorthingsAreRefused) {
  struct Case {
    const char* easting;
    const char* northing;
    const char* message;
    const char* hint;
  };
  const Case cases[] = {
      {"53026", "179640", "Error in Easting", "Value must use 6 numeric digits"},
      {"53026a", "179640", "Error in Easting", "Value must use 6 numeric digits"},
      {"530269", "17964", "Error in Northing", "Value must use 6 numeric digits"},
      {"530269", "", "Error in Northing", "Value must use 6 numeric digits"},
      // Far beyond the grid the conversion finds no position: refused, not looped on.
      {"530269", "99999999999", "Position outside the OS grid",
       "Easting and northing must lie within the national grid"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    float latitude = 1.0f;
    float longitude = 2.0f;
    std::int32_t status = -1;
    FROMEN(c.easting, c.northing, latitude, longitude, "A,1,2", status);
    EXPECT_EQ(status, kCoordinateRefused) << c.easting << " " << c.northing;
    EXPECT_EQ(latitude, 1.0f);
    EXPECT_EQ(longitude, 2.0f);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, dataErrorText(c.message, "A,1,2", c.hint));
  }
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

}  // namespace
