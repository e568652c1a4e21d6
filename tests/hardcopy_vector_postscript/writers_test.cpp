// The driver's line and number writers, its colour fractions and the
// hexadecimal colour writer.
#include <string>

#include "postscript_fixture.h"

namespace postscript_tests {
namespace {

using Writers = PostScriptDriver;

TEST_F(Writers, NumbersKeepTwoDecimalsButTheLastWholeNumberLosesOneZero) {
  beginPlot();
  struct PointCase {
    float scale, x, y;
    const char* line;
  };
  const PointCase points[] = {
      {1.5f, 100.0f, 45.0f, "150.00 67.50 m"},
      {2.0f, 100.0f, 50.0f, "200.00 100.0 m"},
      {2.0f, -0.125f, 0.25f, "-0.25 0.50 m"},
      {0.5f, 3.0f, 0.0f, "1.50 0.0 m"},
  };
  Lines expected;
  for (const PointCase& p : points) {
    yyGrState.DeviceScaleX = p.scale;
    yyGrState.DeviceScaleY = p.scale;
    YYPsPoint(p.x, p.y, "m");
    expected.push_back(p.line);
  }
  struct RealCase {
    float value;
    const char* line;
  };
  const RealCase reals[] = {{12.0f, "12.0 w"}, {0.0f, "0.0 w"}, {12.5f, "12.50 w"}, {0.5f, "0.50 w"},
                            {1.0f, "1.0 w"},   {-3.0f, "-3.0 w"}, {0.004f, "0.0 w"}, {2.125f, "2.13 w"}};
  for (const RealCase& r : reals) {
    YYPsReal(r.value, "w");
    expected.push_back(r.line);
  }
  YYPsTriple(1.0f, 0.0f, 0.0f, "g");
  expected.push_back("1.00 0.00 0.0 g");
  YYPsTriple(0.5f, 0.25f, 0.75f, "g");
  expected.push_back("0.50 0.25 0.75 g");
  endPlot();
  const Lines d = drawn();
  ASSERT_GE(d.size(), expected.size());
  EXPECT_EQ(Lines(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

// A number too large for its field would be written as asterisks, which a
// reader takes for an undefined name and stops at: it is held to the field.
TEST_F(Writers, NumbersTooLargeForTheirFieldAreHeldToIt) {
  beginPlot();
  YYPsReal(1.0e7f, "w");
  YYPsReal(-1.0e6f, "w");
  YYPsPoint(1.0e9f, -1.0e9f, "m");
  YYPsTriple(5.0e6f, 0.0f, -7.0e5f, "g");
  // Numbers that fill their fields stay apart.
  YYPsPoint(200000.0f, -20000.0f, "l");
  endPlot();
  const Lines d = drawn();
  ASSERT_GE(d.size(), 5u);
  EXPECT_EQ(Lines(d.begin(), d.begin() + 5), (Lines{"999999.99 w", "-99999.99 w", "999999.99 -99999.99 m",
                                                    "999999.99 0.00 -99999.99 g", "400000.00 -40000.0 l"}));
  for (const std::string& l : lines()) EXPECT_EQ(l.find('*'), std::string::npos) << l;
}

// The lines are PostScript comments and a string that is popped, so that
// the file stays one that Ghostscript reads.
TEST_F(Writers, LinesAreCollapsedAndCutButRawLinesKeepTheirBlanks) {
  beginPlot();
  YYPsLine("   %a    b  c   ");
  YYPsRawLine("(  two   blanks )  pop");
  YYPsLine("%" + std::string(300, 'x'));
  YYPsRawLine("%" + std::string(300, 'y'));
  // Only the first 255 characters are looked at, before the blanks go.
  YYPsLine("%" + std::string(249, 'z') + "         tail");
  endPlot();
  const Lines d = drawn();
  ASSERT_GE(d.size(), 5u);
  EXPECT_EQ(d[0], "%a b c");
  EXPECT_EQ(d[1], "(  two   blanks )  pop");
  EXPECT_EQ(d[2], "%" + std::string(254, 'x'));
  EXPECT_EQ(d[3], "%" + std::string(254, 'y'));
  EXPECT_EQ(d[4], "%" + std::string(249, 'z'));
}

struct ColourCase {
  int inversion;
  std::int32_t rgb;
  float red, green, blue;
};

TEST_F(Writers, ColourFractionsFollowTheInversionOption) {
  const ColourCase cases[] = {
      {0, 0x336699, 0.6f, 0.4f, 0.2f},  // red is the low byte
      {1, 0x336699, 0.4f, 0.6f, 0.8f},  {1, 0x000000, 1.0f, 1.0f, 1.0f},
      {2, 0x336699, 0.6f, 0.4f, 0.2f},  {2, 0xFFFFFF, 0.0f, 0.0f, 0.0f},
      {2, 0x000000, 1.0f, 1.0f, 1.0f},  {2, 0x090909, 1.0f - 9.0f / 255, 1.0f - 9.0f / 255, 1.0f - 9.0f / 255},
      {2, 0x0B0B0B, 11.0f / 255, 11.0f / 255, 11.0f / 255},  // 0.043: not near black
      {2, 0x0000FF, 1.0f, 0.0f, 0.0f},  // only all three near black or white swap
  };
  for (const ColourCase& c : cases) {
    setOption(kOptColourInversion, c.inversion);
    float r = -1, g = -1, b = -1;
    YYPsColour(c.rgb, r, g, b);
    EXPECT_NEAR(r, c.red, 1e-6) << c.inversion << " " << std::hex << c.rgb;
    EXPECT_NEAR(g, c.green, 1e-6) << c.inversion << " " << std::hex << c.rgb;
    EXPECT_NEAR(b, c.blue, 1e-6) << c.inversion << " " << std::hex << c.rgb;
  }
  setOption(kOptColourInversion, 0);
  float r = 1, g = 1, b = 1;
  YYPsColour(-1, r, g, b);  // -1 is black in either colour mode
  EXPECT_EQ(r + g + b, 0.0f);
  yyGrAttributes.ColourMode = kColourIndexed;
  YYPsColour(-1, r, g, b);
  EXPECT_EQ(r + g + b, 0.0f);
}

TEST(HexColour, SixLowerCaseDigitsRedFirst) {
  struct HexCase {
    int red, green, blue;
    const char* text;
  };
  const HexCase cases[] = {{255, 128, 0, "ff8000"}, {0, 0, 0, "000000"}, {1, 171, 205, "01abcd"},
                           {300, -5, 15, "ff000f"}};
  for (const HexCase& c : cases) {
    FixedText<8> out("########");
    YYHexRGB(c.red, c.green, c.blue, out);
    EXPECT_EQ(out.view().substr(0, 6), c.text);
  }
}

}  // namespace
}  // namespace postscript_tests
