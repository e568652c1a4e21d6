#include "toolkit/core/fixed_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FixedText, AssignCutsOrPadsWithBlanks) {
  FixedText<5> t("ab");
  EXPECT_EQ(t.view(), "ab   ");
  t = "abcdefg";
  EXPECT_EQ(t.view(), "abcde");
  t = "";
  EXPECT_EQ(t.view(), "     ");
  EXPECT_TRUE(t.isBlank());
}

TEST(FixedText, TrimmedLengthIgnoresOnlyTrailingBlanks) {
  FixedText<8> t("  a b");
  EXPECT_EQ(t.trimmedLength(), 5);
  EXPECT_EQ(t.trimmed(), "  a b");
  FixedText<3> tab("\t");
  EXPECT_EQ(tab.trimmedLength(), 1);  // only character 32 is a blank
}

TEST(FixedText, ComparisonIsExactButIgnoresTrailingBlanks) {
  FixedText<6> a("Abc");
  FixedText<6> b("Abc  ");
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a == std::string_view("Abc"));
  EXPECT_FALSE(a == std::string_view("abc"));
  EXPECT_FALSE(a == std::string_view(" Abc"));
  EXPECT_TRUE(text::equal("x  ", "x"));
}

TEST(FixedText, ColumnsCountFromOneAndPartsStayInsideTheField) {
  FixedText<6> t("abcdef");
  EXPECT_EQ(t.column(1), 'a');
  TextField f = t.field();
  f.part(5, 10).assign("XYZ");
  EXPECT_EQ(t.view(), "abcdXY");
  EXPECT_EQ(f.part(7, 3).length(), 0);
  f.part(2, 2).assign("");
  EXPECT_EQ(t.view(), "a  dXY");
}

TEST(FixedText, BytesAboveAsciiAreKept) {
  FixedText<4> t("\xa3\xe9");
  EXPECT_EQ(t.trimmed(), "\xa3\xe9");
  EXPECT_EQ(windowsText(t), "\xa3\xe9");
}

}  // namespace
