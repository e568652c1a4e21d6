#include "toolkit/core/number_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/error_reporter.h"
#include "toolkit/core/toolkit_settings.h"

namespace {

struct IntegerCase {
  const char* text;
  int value;
  int error;
};

TEST(StringToInteger, AcceptsTheRangeAndReportsEveryFault) {
  const IntegerCase cases[] = {
      {"  42  rest", 42, 0},
      {"+7", 7, 0},
      {"-15", -15, 0},
      {"-", 0, 0},
      {"4x2", 0, 12},
      {"2147483647", 2147483647, 0},
      {"-2147483647", -2147483647, 0},
      {"2147483648", 0, 4},
      {"3000000000", 0, 4},
      {"00000000001", 0, 4},
      {"-2147483648", 0, 4},
      {"      ", 0, 10},
      {"", 0, 10},
  };
  for (const auto& c : cases) {
    YYErrorStateReset();
    int value = 99;
    IStringToInteger(c.text, value);
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(WErrorStatusQuery(1), c.error) << c.text;
  }
}

struct RealCase {
  const char* text;
  double single;
  int singleError;
  double dbl;
  int doubleError;
};

TEST(StringToReal, SingleAndDoubleEntries) {
  const RealCase cases[] = {
      {"1.5", 1.5, 0, 1.5, 0},
      {"1.5e3", 1500, 0, 1500, 0},
      {"1.5d3", 0, 12, 1500, 0},
      {"2.5D+10", 0, 12, 2.5e10, 0},
      {"1.2.3", 0, 11, 0, 11},
      {"1E2.5", 0, 12, 0, 12},
      {"1.5E2.5", 0, 12, 0, 12},
      {"0E999", 0, 0, 0, 0},
      {"1E39", 0, 4, 1e39, 0},
      {"1.5E", 1.5, 0, 1.5, 0},
      {"1.5+100", 0, 4, 1.5e100, 0},
      {"-1.5-100", 0, 0, -1.5e-100, 0},  // single: tiny values become 0 silently
      {"1,5", 0, 12, 0, 12},
      {".5", 0.5, 0, 0.5, 0},
      {"5.", 5, 0, 5, 0},
      {".", 0, 0, 0, 0},
      {"-12", -12, 0, -12, 0},
      {"+1.5", 1.5, 0, 1.5, 0},
      {"   ", 0, 10, 0, 10},
      {"1000000000000000000000000000000000000000", 0, 4, 1e39, 0},  // 40 digits
      {"100000000000000000000000000000000000000", 1e38, 0, 1e38, 0},  // 39 digits
  };
  for (const auto& c : cases) {
    YYErrorStateReset();
    float f = 99;
    IStringToReal(c.text, f);
    EXPECT_FLOAT_EQ(f, static_cast<float>(c.single)) << c.text;
    EXPECT_EQ(WErrorStatusQuery(1), c.singleError) << c.text;
    double d = 99;
    YYStringToDouble(c.text, d);
    EXPECT_DOUBLE_EQ(d, c.dbl) << c.text;
    EXPECT_EQ(WErrorStatusQuery(1), c.doubleError) << c.text;
  }
}

TEST(StringToReal, LocaleSeparatorOnlyWhenSwitchedOn) {
  toolkitSettings.decimalSeparatorSwitch = true;
  toolkitSettings.localeDecimalSeparator = ',';
  float f = 0;
  IStringToReal("1,5", f);
  EXPECT_FLOAT_EQ(f, 1.5f);
  FixedText<8> out;
  IRealToString(2.25f, out, "(F6.2)");
  EXPECT_EQ(out.view(), "  2,25  ");
  toolkitSettings.decimalSeparatorSwitch = false;
  toolkitSettings.localeDecimalSeparator = '.';
}

TEST(NumberToString, WritesWithTheFormatOrTenAsterisks) {
  YYErrorStateReset();
  FixedText<12> out;
  IntegerToString(7, out, "(I2.2)");
  EXPECT_EQ(out.view(), "07          ");
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  IRealToString(3.14159f, out, "(F8.2)");
  EXPECT_EQ(out.view(), "    3.14    ");
  IDoubleToString(-0.000123456, out, "(E12.5)");
  EXPECT_EQ(out.view(), "-0.12346E-03");

  IntegerToString(12345, out, "(I4)");
  EXPECT_EQ(out.view(), "**********  ");
  EXPECT_EQ(WErrorStatusQuery(1), 18);
  FixedText<6> narrow;
  IntegerToString(12345, narrow, "(I4)");
  EXPECT_EQ(narrow.view(), "******");
  IntegerToString(1, out, "(Q4)");  // malformed
  EXPECT_EQ(WErrorStatusQuery(1), 18);
  IntegerToString(1, narrow, "(I10)");  // wider than the text
  EXPECT_EQ(WErrorStatusQuery(1), 18);
}

TEST(ParseInt, PlainDecimalWithClamping) {
  EXPECT_EQ(YYParseInt("123abc"), 123);
  EXPECT_EQ(YYParseInt("-45"), -45);
  EXPECT_EQ(YYParseInt("+45"), 0);
  EXPECT_EQ(YYParseInt("x"), 0);
  EXPECT_EQ(YYParseInt(""), 0);
  EXPECT_EQ(YYParseInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(YYParseInt("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(YYParseInt("2147483647"), 2147483647);
}

}  // namespace
