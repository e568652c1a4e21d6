#include "toolkit/core/number_format.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <span>
#include <vector>

#include "toolkit/core/fixed_text.h"

namespace {

struct FormatCase {
  const char* format;
  double value;
  bool isInteger;
  const char* expected;
};

// Reals are written from the exact decimal value of the 32- or 64-bit real,
// rounded half away from zero.
const FormatCase kCases[] = {
    {"(I4)", 42, true, "  42"},
    {"(I4)", -42, true, " -42"},
    {"(I4)", 12345, true, "****"},
    {"(I4)", -999, true, "-999"},
    {"(I4)", -1000, true, "****"},
    {"(I2.2)", 7, true, "07"},
    {"(I2.2)", 0, true, "00"},
    {"(I2.2)", 123, true, "**"},
    {"(I11)", -2147483648.0, true, "-2147483648"},
    {"(I11)", 2147483647, true, " 2147483647"},
    {"(I10.10)", 1, true, "0000000001"},
    {"(F7.1)", 12.25, false, "   12.3"},    // exact tie: away from zero
    {"(F7.1)", -12.25, false, "  -12.3"},
    {"(F7.1)", 0.04, false, "    0.0"},
    {"(F7.1)", -0.04, false, "    0.0"},   // no minus on a value written as zero
    {"(F7.1)", 123456.7, false, "*******"},
    {"(F8.2)", 3.14159, false, "    3.14"},
    {"(F8.2)", 0.5, false, "    0.50"},
    {"(F8.2)", 2.675, false, "    2.67"},    // 2.675 is 2.67499999... as a double
    {"(F4.2)", 0.5, false, "0.50"},
    {"(F3.2)", 0.5, false, ".50"},           // the leading zero only when there is room
    {"(F10.5)", -1.234375, false, "  -1.23438"},
    {"(F10.5)", 51.477928, false, "  51.47793"},
    {"(F10.5)", 99999.999999, false, "**********"},
    {"(F5.0)", 3.0, false, "   3."},
    {"(E12.5)", 1234.5678, false, " 0.12346E+04"},
    {"(E12.5)", -0.000123456, false, "-0.12346E-03"},
    {"(E12.5)", 0.0, false, " 0.00000E+00"},
    {"(E12.5)", 9.999996, false, " 0.10000E+02"},
    {"(E12.5)", 1.5e100, false, " 0.15000+101"},
    {"(E10.5)", 1234.5678, false, ".12346E+04"},
    {"(G15.5E2)", 3.14159, false, "     3.1416    "},
    {"(G15.5E2)", 0.1, false, "    0.10000    "},
    {"(G15.5E2)", 12345.0, false, "     12345.    "},
    {"(G15.5E2)", 123456.0, false, "    0.12346E+06"},
    {"(G15.5E2)", 0.012345, false, "    0.12345E-01"},
    {"(G15.5E2)", 0.0, false, "     0.0000    "},
    {"(G15.5E2)", -99999.6, false, "   -0.10000E+06"},
};

TEST(NumberFormat, WritesEachDescriptorAsFortranDoes) {
  for (const auto& c : kCases) {
    const auto written = c.isInteger ? fortranFormat(static_cast<long long>(c.value), c.format)
                                     : fortranFormat(c.value, c.format);
    ASSERT_TRUE(written.has_value()) << c.format;
    EXPECT_EQ(*written, c.expected) << c.format << " of " << c.value;
  }
}

TEST(NumberFormat, RoundsTheExactValueOfA32BitReal) {
  // 0.125f is exact, so it is a true tie; 1.005f is 1.00499999523..., below the tie.
  EXPECT_EQ(*fortranFormat(0.125f, "(F5.2)"), " 0.13");
  EXPECT_EQ(*fortranFormat(-0.125f, "(F5.2)"), "-0.13");
  EXPECT_EQ(*fortranFormat(1.005f, "(F6.2)"), "  1.00");
  // 51.47793f is 51.47792816162109375.
  EXPECT_EQ(*fortranFormat(51.47793f, "(F12.8)"), " 51.47792816");
  EXPECT_EQ(*fortranFormat(51.47793f, "(F15.11)"), " 51.47792816162");
  // The largest float written in full.
  EXPECT_EQ(*fortranFormat(FLT_MAX, "(F40.0)"), "340282346638528859811704183484516925440.");
}

// Fixed-point fields are mostly rounded with 64-bit integers; values whose
// scaled form passes 2^64, or with more than 20 decimals, take the exact
// expansion.  Both sides of that line must round the same way.
TEST(NumberFormat, FixedPointAgreesOnBothSidesOfTheIntegerRange) {
  const struct {
    double value;
    int width;
    int decimals;
    const char* expected;
  } cases[] = {
      {0.015625, 10, 5, "   0.01563"},  // 1/64: an exact tie at the sixth decimal
      {-0.015625, 10, 5, "  -0.01563"},
      {92233720368547.0, 25, 5, "     92233720368547.00000"},
      {200000000000000.0, 25, 5, "    200000000000000.00000"},  // scaled past 2^64
      {184467440737.09551615, 22, 8, " 184467440737.09552002"},  // just past 2^64
      {5e-324, 8, 3, "   0.000"},                                // the smallest subnormal
      {0.1, 30, 20, "        0.10000000000000000555"},
      {0.1, 30, 21, "       0.100000000000000005551"},
      {0.5, 4, 0, "  1."},
      {-0.4999999999999999, 4, 0, "  0."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatF(c.value, c.width, c.decimals), c.expected) << c.value << " F" << c.width << "." << c.decimals;
  }
}

// The form written into a caller's room is the field without its leading
// blanks, whichever path wrote it: fitting, too wide, not finite, or with more
// decimals than the integer path takes.
TEST(NumberFormat, UnpaddedFixedPointIsTheFieldWithoutItsLeadingBlanks) {
  const struct {
    double value;
    int width;
    int decimals;
  } cases[] = {
      {50.001, 10, 5}, {-1.0, 10, 5},  {0.015625, 10, 5}, {-0.4, 3, 1},          {-0.4, 4, 1},
      {0.0, 10, 5},    {-0.0, 10, 5},  {12345.6, 5, 2},   {1e300, 12, 2},        {std::nan(""), 6, 2},
      {0.1, 30, 21},   {4e9, 15, 0},   {4294967296.5, 15, 0}, {-123456789012.0, 20, 3},
  };
  for (const auto& c : cases) {
    const std::string field = formatF(c.value, c.width, c.decimals);
    std::array<char, 48> room;
    EXPECT_EQ(numfmt::writeFixedUnpadded(c.value, c.width, c.decimals, room), text::withoutLeadingBlanks(field))
        << c.value << " F" << c.width << "." << c.decimals;
  }
  // A room shorter than the field takes its beginning.
  std::array<char, 4> small;
  EXPECT_EQ(numfmt::writeFixedUnpadded(123.25, 10, 2, small), "123.");
}

TEST(NumberFormat, FillsWithAsterisksWhenTheValueDoesNotFit) {
  EXPECT_EQ(*fortranFormat(100000, "(I5)"), "*****");
  EXPECT_EQ(*fortranFormat(-10.0, "(F5.2)"), "*****");
  EXPECT_EQ(*fortranFormat(1.0e300, "(F10.2)"), "**********");
  EXPECT_EQ(*fortranFormat(1.0e120, "(E9.2E2)"), "*********");
  EXPECT_EQ(*fortranFormat(std::nan(""), "(F6.2)"), "******");
}

TEST(NumberFormat, RefusesMalformedFormats) {
  for (const char* bad : {"", "()", "(X4)", "(I)", "(F8)", "(F8.)", "(I4,I4)", "(F8.2", "E0.3", "(G10.0)"}) {
    EXPECT_FALSE(fortranFormat(1.5, bad).has_value()) << bad;
  }
  EXPECT_FALSE(fortranFormat(1.5, "(I4)").has_value());  // a real needs a real descriptor
  EXPECT_EQ(*fortranFormat(3, "(F5.1)"), "  3.0");        // an integer may take one
  EXPECT_EQ(*fortranFormat(3, "i3"), "  3");
}

TEST(NumberFormat, ShorthandsMatchTheFormats) {
  EXPECT_EQ(formatI(5, 3, 2), " 05");
  EXPECT_EQ(formatF(-0.5, 5, 1), " -0.5");
  EXPECT_EQ(formatE(1.0, 11, 4), " 0.1000E+01");
  EXPECT_EQ(formatG(1.0, 15, 5, 2), "     1.0000    ");
}

struct ListCase {
  const char* format;
  std::vector<FormatItem> values;
  const char* expected;
};

// The lists the plotter and page-description writers use: repeat counts, blanks
// of nX, integers and reals mixed, each field on its own.
TEST(NumberFormatList, WritesTheFieldsOneAfterAnother) {
  const ListCase cases[] = {
      {"(I1,I9,2I6)", {1, 123456789, -12345, 7}, "1123456789-12345     7"},
      {"(4I7)", {0, -1, 2000000, 9999999}, "      0     -120000009999999"},
      {"(F6.3,1X,F6.3)", {0.5, -1.25}, " 0.500 -1.250"},
      {"(F6.3,1X,F6.3)", {0.0005f, 12.3456}, " 0.001 12.346"},  // each rounded half away
      {"(I6,2F7.1)", {42, 12.25, -0.04}, "    42   12.3    0.0"},
      {"(I6,2F7.1)", {42, 3, 4.5}, "    42    3.0    4.5"},  // an integer may take an F field
      {"( i3 , 2x , f5.1 )", {7, 2.5}, "  7    2.5"},
      {"I2,X,I2", {1, 2}, " 1  2"},
      {"(E10.3,G12.4E2)", {1234.5, 0.5}, " 0.123E+04  0.5000    "},
      // Asterisks fill only the field that overflows.
      {"(I1,I9,2I6)", {12, 5, 1234567, 8}, "*        5******     8"},
      {"(F6.3,1X,F6.3)", {100.0, 1.0}, "******  1.000"},
      {"(4I7)", {99999999, 1, -9999999, 2}, "*******      1*******      2"},
      // Writing stops at the first field left without a value; a trailing nX
      // adds no blanks.
      {"(I6,2F7.1)", {42, 1.5}, "    42    1.5"},
      {"(I3,2X,I3)", {5}, "  5"},
      {"(4I7)", {}, ""},
  };
  for (const auto& c : cases) {
    const auto written = fortranFormatList(c.format, std::span<const FormatItem>(c.values));
    ASSERT_TRUE(written.has_value()) << c.format;
    EXPECT_EQ(*written, c.expected) << c.format;
  }
}

TEST(NumberFormatList, RefusesMalformedListsAndMismatchedValues) {
  for (const char* bad : {"", "()", "(I3,)", "(,I3)", "(I3", "(0I3)", "(0X,I3)", "(2(I3,F5.1))",
                          "(I3,Y)", "(I0)", "(F6,I3)", "(3 3I2)", "(1001I1)"}) {
    EXPECT_FALSE(fortranFormatList(bad, {1}).has_value()) << bad;
  }
  EXPECT_FALSE(fortranFormatList("(I3,I3)", {1, 2.5}).has_value());  // a real needs a real field
  EXPECT_FALSE(fortranFormatList("(2I3,1X)", {1, 2, 3}).has_value());  // more values than fields
  EXPECT_EQ(*fortranFormatList("(1000I1)", {7}), "7");
}

}  // namespace
