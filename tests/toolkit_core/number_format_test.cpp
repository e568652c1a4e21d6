#include "toolkit/core/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

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

}  // namespace
