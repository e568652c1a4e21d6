#include "toolkit/core/strings.h"

#include <gtest/gtest.h>

#include "toolkit/core/error_reporter.h"

namespace {

struct AlignCase {
  const char* before;
  const char* mode;
  const char* after;
};

TEST(StringAlign, JustifiesWithinTheField) {
  const AlignCase cases[] = {
      {"ab    ", " ", "  ab  "},
      {"ab     ", " ", "  ab   "},     // the odd blank goes to the right
      {"   xyz", "R", "   xyz"},       // already right
      {"xyz   ", "l", "xyz   "},       // already left
      {"a b    ", "R", "    a b"},     // interior blank moves with the text
      {"    a b", "L", "a b    "},
      {"  ab  ", "Centre", "    ab"},   // the mode is searched: Centre holds an r
      {"      ", "R", "      "},
      {"abcdef", "R", "abcdef"},
  };
  for (const auto& c : cases) {
    std::string s = c.before;
    IStringAlign(TextField(s.data(), static_cast<int>(s.size())), c.mode);
    EXPECT_EQ(s, c.after) << '"' << c.before << "\" mode " << c.mode;
  }
}

TEST(StringCase, ChangesOnlyAsciiLetters) {
  std::string s = "abc XYZ 09,.\xe9\xa3";
  IStringUpper(TextField(s.data(), static_cast<int>(s.size())));
  EXPECT_EQ(s, "ABC XYZ 09,.\xe9\xa3");
  IStringLower(TextField(s.data(), static_cast<int>(s.size())));
  EXPECT_EQ(s, "abc xyz 09,.\xe9\xa3");
}

TEST(TokenWalker, ReturnsTheWordsInOrderAndBlanksTheText) {
  FixedText<24> line("  one two   three");
  FixedText<4> word;
  IStringNextWord(line, word);
  EXPECT_EQ(word.view(), "one ");
  IStringNextWord(line, word);
  EXPECT_EQ(word.view(), "two ");
  IStringNextWord(line, word);
  EXPECT_EQ(word.view(), "thre");  // cut to the word's length
  IStringNextWord(line, word);
  EXPECT_TRUE(word.isBlank());
  EXPECT_TRUE(line.isBlank());
}

TEST(TokenWalker, ConvertsNumbersAndReportsUnderTheConverter) {
  YYErrorStateReset();
  FixedText<20> line(" 12  -3.5 2.5D2 x");
  int i = 0;
  float f = 0;
  double d = 0;
  IStringNextInteger(line, i);
  EXPECT_EQ(i, 12);
  IStringNextReal(line, f);
  EXPECT_FLOAT_EQ(f, -3.5f);
  IStringNextDouble(line, d);
  EXPECT_DOUBLE_EQ(d, 250.0);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
  IStringNextInteger(line, i);  // "x"
  EXPECT_EQ(i, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 12);
  EXPECT_TRUE(line.isBlank());  // blanked also when the conversion failed
  IStringNextInteger(line, i);  // nothing left
  EXPECT_EQ(i, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 10);
}

TEST(FindNoCase, FindsFirstOrLastOccurrence) {
  EXPECT_EQ(IStringFindNoCase("xxABCxxabc", "abc"), 3);
  EXPECT_EQ(IStringFindNoCase("xxABCxxabc", "abc", true), 8);
  EXPECT_EQ(IStringFindNoCase("xxABCxxabc", "abd"), 0);
  EXPECT_EQ(IStringFindNoCase("ab", "abc"), 0);
  EXPECT_EQ(IStringFindNoCase("abc", ""), 1);
  EXPECT_EQ(IStringFindNoCase("abc", "", true), 4);
  EXPECT_EQ(IStringFindNoCase("ab c", "B "), 2);  // trailing blanks of the sub-text count
}

TEST(Scans, TokenAndBlankAndCharacterScans) {
  int s = 0, e = 0;
  YYTokenScan("  abc", s, e);
  EXPECT_EQ(s, 3);
  EXPECT_EQ(e, 5);  // a token that reaches the last column ends there
  YYTokenScan("    ", s, e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 0);
  YYTokenScan("", s, e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(YYFirstNonBlank(std::string_view(" \0 x", 4)), 4);
  EXPECT_EQ(YYFirstNonBlank("   "), 0);
  EXPECT_TRUE(YYHasCharAnyCase("abc", 'B'));
  EXPECT_FALSE(YYHasCharAnyCase("ABC", 'b'));  // lower case is searched only as itself
}

TEST(NulEndedTexts, LengthsAndCopies) {
  EXPECT_EQ(YYStrLen("ab  "), 2);
  EXPECT_EQ(YYStrLen("   "), 0);
  EXPECT_EQ(YYStrLen(""), 0);
  EXPECT_EQ(YYWordLen("ab cd"), 2);
  char field[6] = "#####";
  YYStrToBlankPadded("abc", field, 5);
  EXPECT_EQ(std::string(field, 5), "abc  ");
  YYStrToBlankPadded("xyz", field, 2);
  EXPECT_EQ(std::string(field, 5), "xyc  ");  // only the field's own columns are written
}

}  // namespace
