// The built-in stroke font: its table, the strokes of a character, and text
// drawn as polylines through the routes.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "graphics_fixture.h"
#include "toolkit/graphics/characters.h"
#include "toolkit/graphics/stroke_font.h"

namespace {

using StrokeFont = GraphicsTables;

// The run of one code in the installed text, blanks included.
std::string runOf(int code) {
  const YYGrState& s = yyGrState;
  std::int32_t first = 0;
  std::int32_t next = 0;
  if (code >= 161) {
    first = s.StrokeStartsHigh[static_cast<std::size_t>(code - 161)];
    next = s.StrokeStartsHigh[static_cast<std::size_t>(code - 160)];
  } else {
    const std::size_t i = code == 128 ? 94 : static_cast<std::size_t>(code - 33);
    first = s.StrokeStartsLow[i];
    next = s.StrokeStartsLow[i + 1];
  }
  return std::string(s.StrokeText.view().substr(static_cast<std::size_t>(first - 1),
                                                static_cast<std::size_t>(next - first)));
}

std::vector<int> fontCodes() {
  std::vector<int> codes;
  for (int c = 33; c <= 126; ++c) codes.push_back(c);
  codes.push_back(128);
  for (int c = 161; c <= 255; ++c) codes.push_back(c);
  return codes;
}

TEST_F(StrokeFont, DefaultsInstallTheBuiltInFont) {
  const YYGrState& s = yyGrState;
  EXPECT_EQ(s.StrokeFontName.str(), "standard.chr");
  EXPECT_FLOAT_EQ(s.StrokeMetric1, 7.68f);
  EXPECT_FLOAT_EQ(s.StrokeMetric2, 11.88f);
  EXPECT_FLOAT_EQ(s.StrokeMetric3, 6.0f);
  EXPECT_FLOAT_EQ(s.StrokeMetric4, 11.0f);
  EXPECT_EQ(s.StrokeMetricCount, 8);
  EXPECT_EQ(s.StrokeMetricInt, 0);
  EXPECT_EQ(s.StrokeHas128, 1);
  EXPECT_EQ(s.StrokeFlag0, 1);
  EXPECT_EQ(s.StrokeFontFlags, 0);
  // The alternative store is filled only on request.
  EXPECT_EQ(yyStrokeFontAlternative.StrokeText.trimmedLength(), 0);
  YYSTROKEFONTINIT(1);
  EXPECT_EQ(yyStrokeFontAlternative.StrokeText.view(), s.StrokeText.view());
  EXPECT_EQ(yyStrokeFontAlternative.StrokeStartsHigh, s.StrokeStartsHigh);
}

TEST_F(StrokeFont, TableKeepsItsEncodingPositionsAndGivenGlyphs) {
  const YYGrState& s = yyGrState;
  // The two sets fill positions 1-1400 and 1401-3455; each table ends after its set.
  EXPECT_EQ(s.StrokeStartsLow[0], 1);
  EXPECT_EQ(s.StrokeStartsLow[95], 1401);
  EXPECT_EQ(s.StrokeStartsHigh[0], 1401);
  EXPECT_EQ(s.StrokeStartsHigh[95], 3456);
  for (std::size_t i = 1; i < s.StrokeStartsLow.size(); ++i) EXPECT_LT(s.StrokeStartsLow[i - 1], s.StrokeStartsLow[i]) << i;
  for (std::size_t i = 1; i < s.StrokeStartsHigh.size(); ++i) EXPECT_LT(s.StrokeStartsHigh[i - 1], s.StrokeStartsHigh[i]) << i;

  const struct {
    int code;
    const char* run;
  } given[] = {{'!', "3233u363B"}, {'#', "222Bu525Bu0565u0868"}, {'A', "023B62u1555"},
               {'T', "323Bu0B6B"}, {161, "3035u3839"}};
  for (const auto& g : given) EXPECT_EQ(runOf(g.code), g.run) << g.code;

  // Every run: points of two hexadecimal digits between pen lifts, at least
  // two points per stroke; blanks only after the last glyph of a set.
  for (const int code : fontCodes()) {
    std::string run = runOf(code);
    const std::size_t blanks = run.find(' ');
    if (blanks != std::string::npos) {
      EXPECT_TRUE(code == 128 || code == 255) << code;
      EXPECT_EQ(run.find_first_not_of(' ', blanks), std::string::npos) << code;
      run.resize(blanks);
    }
    std::stringstream strokes(run);
    std::string stroke;
    while (std::getline(strokes, stroke, 'u')) {
      EXPECT_EQ(stroke.size() % 2, 0u) << code << " " << run;
      EXPECT_GE(stroke.size(), 4u) << code << " " << run;
      EXPECT_EQ(stroke.find_first_not_of("0123456789ABCDEF"), std::string::npos) << code << " " << run;
    }
    EXPECT_FALSE(run.empty()) << code;
    EXPECT_NE(run.back(), 'u') << code;
  }
}

TEST_F(StrokeFont, AccentedLettersAreTheirBaseLetterWithAnAccent) {
  const struct {
    int accented;
    char base;
  } cases[] = {{192, 'A'}, {197, 'A'}, {199, 'C'}, {201, 'E'}, {209, 'N'}, {214, 'O'}, {216, 'O'},
               {220, 'U'}, {221, 'Y'}, {224, 'a'}, {231, 'c'}, {233, 'e'}, {241, 'n'}, {246, 'o'},
               {252, 'u'}, {253, 'y'}, {255, 'y'}};
  for (const auto& c : cases) {
    const std::vector<Stroke> base = strokeGlyph(c.base);
    const std::vector<Stroke> accented = strokeGlyph(c.accented);
    ASSERT_GT(accented.size(), base.size()) << c.accented;
    EXPECT_TRUE(std::equal(base.begin(), base.end(), accented.begin())) << c.accented;
  }
  // Accents over capitals stand above the capital's top, over small letters above 8.
  const struct {
    int above;
    std::vector<int> codes;
  } accents[] = {{0xB, {192, 193, 194, 195, 196, 200, 210, 217}}, {8, {224, 225, 226, 227, 228, 232, 242, 249}}};
  for (const auto& a : accents) {
    for (const int code : a.codes) {
      const std::vector<Stroke> glyph = strokeGlyph(code);
      for (const StrokePoint& p : glyph.back()) EXPECT_GT(p.y, a.above) << code;
    }
  }
}

TEST_F(StrokeFont, GlyphsDecodeIntoStrokesAndUnheldCodesHaveNone) {
  const std::vector<Stroke> a = strokeGlyph('A');
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0], (Stroke{{0, 2}, {3, 11}, {6, 2}}));
  EXPECT_EQ(a[1], (Stroke{{1, 5}, {5, 5}}));
  EXPECT_EQ(strokeGlyph('#').size(), 4u);
  EXPECT_EQ(strokeGlyph(161), (std::vector<Stroke>{{{3, 0}, {3, 5}}, {{3, 8}, {3, 9}}}));
  EXPECT_FALSE(strokeGlyph(128).empty());
  for (const int code : {32, 0, 31, 127, 129, 160, 256, -1, 1000}) EXPECT_TRUE(strokeGlyph(code).empty()) << code;

  // A font whose lower set ends at 127 has no code 128.
  std::array<std::int32_t, kStrokeStartsLow> low{};
  std::array<std::int32_t, kStrokeStartsHigh> high{};
  low.fill(1);
  low[94] = 5;  // the end of the set: code 126 runs over the whole text
  high.fill(5);
  YYSTROKEFONTSET(7.68f, 11.88f, 6.0f, 11.0f, 8, 1, 0, 0, "small.chr", "0233", low.data(), high.data());
  EXPECT_TRUE(strokeGlyph(128).empty());
  EXPECT_TRUE(strokeGlyph(125).empty());  // a run of no length
  EXPECT_EQ(strokeGlyph(126), (std::vector<Stroke>{{{0, 2}, {3, 3}}}));
}

TEST_F(StrokeFont, DamagedFontsDrawWhatTheyCanAndNeverReadPastTheText) {
  std::array<std::int32_t, kStrokeStartsLow> low{};
  std::array<std::int32_t, kStrokeStartsHigh> high{};
  high.fill(1);
  low.fill(1);
  low[1] = 15;    // '!': the whole text
  low[2] = 9000;  // '"': past the end, and '#' runs backwards from there
  YYSTROKEFONTSET(7.68f, 11.88f, 6.0f, 11.0f, 8, 3, 0, 0, "bad.chr", "0233Z44 56uu6q", low.data(), high.data());
  // A stray letter ends a stroke; a blank, a doubled pen lift or half a point adds nothing.
  EXPECT_EQ(strokeGlyph('!'), (std::vector<Stroke>{{{0, 2}, {3, 3}}, {{4, 4}, {5, 6}}}));
  EXPECT_TRUE(strokeGlyph('"').empty());
  EXPECT_TRUE(strokeGlyph('#').empty());
  high[0] = -4;
  high[1] = 3;
  YYSTROKEFONTSET(7.68f, 11.88f, 6.0f, 11.0f, 8, 3, 0, 0, "bad.chr", "0233", low.data(), high.data());
  EXPECT_TRUE(strokeGlyph(161).empty());
}

// A recording route: the polylines that reach it, in surface units.
struct Polyline {
  int route = 0;
  std::vector<float> x;
  std::vector<float> y;
};
std::vector<Polyline> recorded;

void record(int route, YYGrPrimitive& op) {
  ASSERT_EQ(op, kOpPolyline);
  Polyline line;
  line.route = route;
  for (int i = 0; i < yyGrState.N; ++i) {
    line.x.push_back(yyGrPointBuffer.x[static_cast<std::size_t>(i)]);
    line.y.push_back(yyGrPointBuffer.y[static_cast<std::size_t>(i)]);
  }
  recorded.push_back(line);
  yyGrState.N = -7;  // a driver may leave an answer behind
}
void recordScreen(YYGrPrimitive& op) { record(1, op); }
void recordHardcopy(YYGrPrimitive& op) { record(2, op); }

class StrokeText : public GraphicsTables {
 protected:
  void SetUp() override {
    GraphicsTables::SetUp();
    recorded.clear();
    yyGrState.TextAlign = 0;
  }
  // Surface units of one grid unit along and across the text.
  static float along() { return yyGrState.CharWidth * yyGrState.AreaWidthDevice / 7.68f; }
  static float up() { return yyGrState.CharHeight * yyGrState.AreaHeightDevice / 11.88f; }
  static float nominal() { return yyGrState.CharWidth * yyGrState.AreaWidthDevice; }
};

TEST_F(StrokeText, StrokesGoAsPolylinesToBothRoutesAtAngles0And90) {
  ASSERT_GT(nominal(), 1.0f);
  const struct {
    float angle;
    // Where a point lies that is `a` along the text and `b` up from the baseline.
    std::function<std::pair<float, float>(float a, float b)> place;
  } cases[] = {
      {0.0f, [](float a, float b) { return std::pair{100.0f + a, 200.0f + b}; }},
      {90.0f, [](float a, float b) { return std::pair{100.0f - b, 200.0f + a}; }},
  };
  for (const auto& c : cases) {
    recorded.clear();
    YYCHARANGLE(c.angle);
    YYSTROKETEXT(100.0f, 200.0f, "T", recordScreen, recordHardcopy);
    // "T" is "323Bu0B6B": its middle (x 3) at the middle of its 1.11-wide cell.
    const float middle = 1.11f * nominal() / 2.0f;
    const std::vector<std::pair<float, float>> expected[] = {
        {c.place(middle, 0.0f), c.place(middle, 9.0f * up())},
        {c.place(middle - 3.0f * along(), 9.0f * up()), c.place(middle + 3.0f * along(), 9.0f * up())}};
    ASSERT_EQ(recorded.size(), 4u) << c.angle;
    for (std::size_t i = 0; i < recorded.size(); ++i) {
      const Polyline& line = recorded[i];
      EXPECT_EQ(line.route, i % 2 == 0 ? 1 : 2);  // screen first, then hardcopy, stroke by stroke
      const auto& points = expected[i / 2];
      ASSERT_EQ(line.x.size(), points.size());
      for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_NEAR(line.x[k], points[k].first, 1e-3f) << c.angle << " stroke " << i / 2 << " point " << k;
        EXPECT_NEAR(line.y[k], points[k].second, 1e-3f) << c.angle << " stroke " << i / 2 << " point " << k;
      }
    }
  }
}

TEST_F(StrokeText, SizeScalesStrokesAndWidth) {
  const float width = strokeTextWidth("Wi.");
  EXPECT_NEAR(width, (1.50f + 0.46f + 0.42f) * nominal(), 1e-3f);
  YYSTROKETEXT(0.0f, 0.0f, "Wi.", recordScreen, nullptr);
  const std::vector<Polyline> small = recorded;
  recorded.clear();
  yyGrState.CharWidth *= 2.0f;
  yyGrState.CharHeight *= 3.0f;
  EXPECT_NEAR(strokeTextWidth("Wi."), 2.0f * width, 1e-3f);
  YYSTROKETEXT(0.0f, 0.0f, "Wi.", recordScreen, nullptr);
  ASSERT_EQ(recorded.size(), small.size());
  ASSERT_EQ(recorded.size(), 4u);  // "W" one stroke, "i" two, "." one
  for (std::size_t i = 0; i < small.size(); ++i) {
    for (std::size_t k = 0; k < small[i].x.size(); ++k) {
      EXPECT_NEAR(recorded[i].x[k], 2.0f * small[i].x[k], 1e-3f);
      EXPECT_NEAR(recorded[i].y[k], 3.0f * small[i].y[k], 1e-3f);
    }
  }
}

TEST_F(StrokeText, UnheldCodesAdvanceLikeABlankAndDrawNothing) {
  const float blank = strokeTextWidth(" ");
  EXPECT_NEAR(blank, 0.70f * nominal(), 1e-4f);
  for (const char* text : {"\x7f", "\x81", "\x9f", "\x01", "\xa0"}) {
    EXPECT_NEAR(strokeTextWidth(text), blank, 1e-4f);
    YYSTROKETEXT(0.0f, 0.0f, text, recordScreen, recordHardcopy);
  }
  EXPECT_TRUE(recorded.empty());
  // The next character moves on by a blank.
  YYSTROKETEXT(0.0f, 0.0f, "\x7f.", recordScreen, nullptr);
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_NEAR(recorded[0].x[0], blank + 0.42f * nominal() / 2.0f, 1e-3f);
  // Changed advance widths move what follows.
  recorded.clear();
  yyGrState.StrokeWidthsLow[0] = 2.0f;
  YYSTROKETEXT(0.0f, 0.0f, " .", recordScreen, nullptr);
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_NEAR(recorded[0].x[0], (2.0f + 0.21f) * nominal(), 1e-3f);
}

TEST_F(StrokeText, AlignmentPlacesTheReferencePoint) {
  const float width = strokeTextWidth("T.");
  const struct {
    int align;
    float shift;
  } cases[] = {{0, 0.0f}, {1, -width / 2.0f}, {2, -width}, {7, -width}, {-3, 0.0f}};
  for (const auto& c : cases) {
    recorded.clear();
    yyGrState.TextAlign = c.align;
    YYSTROKETEXT(50.0f, 0.0f, "T.", recordScreen, nullptr);
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_NEAR(recorded[0].x[0], 50.0f + c.shift + 1.11f * nominal() / 2.0f, 1e-3f) << c.align;
  }
}

TEST_F(StrokeText, DrawingThroughTheRealRoutesIsHarmless) {
  // No window and no hardcopy: the strokes go to the screen driver and stop there.
  YYSTROKETEXT(10.0f, 10.0f, "Carrowmapper \xe9\xe8 \x80");
  SUCCEED();
}

// The glyph sheet: every glyph of the table in a grid, as SVG; the committed
// copy beside the table must be the one this table makes.
std::string glyphSheet() {
  constexpr int kCell = 20;
  constexpr int kColumns = 16;
  const std::vector<int> codes = fontCodes();
  const int rows = static_cast<int>((codes.size() + kColumns - 1) / kColumns);
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kColumns * kCell * 3 << "\" height=\""
      << rows * kCell * 3 << "\" viewBox=\"0 0 " << kColumns * kCell << " " << rows * kCell << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<g fill=\"none\" stroke=\"black\" stroke-width=\"0.4\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const int left = static_cast<int>(i % kColumns) * kCell + 2;
    const int top = static_cast<int>(i / kColumns) * kCell + 2;
    svg << "<!-- " << codes[i] << " -->\n";
    for (const Stroke& stroke : strokeGlyph(codes[i])) {
      svg << "<polyline points=\"";
      for (std::size_t k = 0; k < stroke.size(); ++k) {
        svg << (k == 0 ? "" : " ") << left + stroke[k].x << "," << top + 15 - stroke[k].y;
      }
      svg << "\"/>\n";
    }
  }
  svg << "</g>\n</svg>\n";
  return svg.str();
}

TEST_F(StrokeFont, CommittedGlyphSheetShowsThisTable) {
  const std::string sheet = glyphSheet();
  std::ofstream("stroke_font_sheet.svg", std::ios::binary) << sheet;
  std::ifstream committed(std::string("Z:") + CARROW_SOURCE_DIR + "/toolkit/graphics/stroke_font_sheet.svg",
                          std::ios::binary);
  ASSERT_TRUE(committed) << "the glyph sheet is missing beside the table";
  const std::string text((std::istreambuf_iterator<char>(committed)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(text == sheet) << "the glyph sheet is out of date: copy stroke_font_sheet.svg from the test's "
                                "working folder to toolkit/graphics/";
}

}  // namespace
