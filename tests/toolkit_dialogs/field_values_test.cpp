// Conversions between field texts and numbers: NUL-ended texts in, left-
// justified NUL-ended texts out, and reading never reports.
#include <gtest/gtest.h>

#include <string>

#include "support/ui_driver.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/fixed_text.h"
#include "toolkit/dialogs/field_values.h"

namespace {

TEST(FieldValues, ReadingStopsAtTheFirstNulElseAtTheLastNonBlank) {
  FixedText<255> field;
  field.assign(std::string("12") + '\0' + "99 more");
  double value = 0.0;
  int ok = 0;
  YYTEXTTOINTOK(value, ok, field.view());
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(value, 12.0);

  YYTEXTTOINTOK(value, ok, FixedText<20>("  -3.25   ").view());
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(value, -3.25);

  // A field of blanks has no text, so nothing reads.
  YYTEXTTOINTOK(value, ok, FixedText<20>().view());
  EXPECT_EQ(ok, 0);

  float real = 0.0f;
  YYTEXTTOREAL(real, "2.5E1");
  EXPECT_EQ(real, 25.0f);
  int truncated = 0;
  YYTEXTTOREALOK(truncated, "-7.9");
  EXPECT_EQ(truncated, -7);
}

TEST(FieldValues, WrittenTextsAreLeftJustifiedAndEndedByANul) {
  FixedText<20> field;
  YYINTTOTEXT(-5, field);
  EXPECT_EQ(field.view().substr(0, 3), std::string_view("-5\0", 3));
  EXPECT_EQ(field.view().substr(3), std::string(17, ' '));

  YYNumberToString(1.5, field, "(F8.3)");
  EXPECT_EQ(std::string(fieldTextOf(field.view())), "1.500");
  YYREALTOTEXT(0.5f, field, kDefaultRealFormat);
  EXPECT_EQ(std::string(fieldTextOf(field.view())), "0.50000");

  // A text that fills its field has no room for the NUL.
  FixedText<11> full;
  YYINTTOTEXT(-1234567890, full);
  EXPECT_EQ(full.view(), "-1234567890");
}

TEST(FieldValues, ReformattingTruncatesIntegersAndRewritesReals) {
  struct Case {
    const char* text;
    const char* integer;  // after YYREFMTINT
  };
  for (const Case& c : {Case{"7.9", "7"}, Case{"-4.9", "-4"}, Case{"12", "12"}, Case{"1E3", "1000"}}) {
    SCOPED_TRACE(c.text);
    FixedText<30> field(c.text);
    YYREFMTINT(field);
    EXPECT_EQ(std::string(fieldTextOf(field.view())), c.integer);
  }
  FixedText<30> real("3.14159");
  YYREFMTREAL(real, "(F6.2)");
  EXPECT_EQ(std::string(fieldTextOf(real.view())), "3.14");
  FixedText<30> dbl("2.5D0");
  YYREFMTDBL(dbl, "(F5.1)");
  EXPECT_EQ(std::string(fieldTextOf(dbl.view())), "2.5");

  // A text that is not a number is left as it was.
  FixedText<30> word("abc");
  YYREFMTINT(word);
  EXPECT_EQ(word.trimmed(), "abc");
}

TEST(FieldValues, AFailedReadLeavesTheLastErrorAndShowsNothing) {
  ui::Watchdog watchdog(20000, "FieldValues");
  ui::UiDriver driver;
  YYErrorStateReset();
  YYErrorModeSet(kReportMessageBox);
  YYErrorCodeStore(77);
  double value = 0.0;
  int ok = 1;
  YYTEXTTOINTOK(value, ok, "12x4");
  EXPECT_EQ(ok, 0);
  YYTEXTTOINT(value, "not a number");
  FixedText<10> field("1.2.3");
  YYREFMTDBL(field, kDefaultRealFormat);
  EXPECT_EQ(WErrorStatusQuery(4), kReportMessageBox);
  EXPECT_EQ(WErrorStatusQuery(1), 77);
  EXPECT_TRUE(driver.seen().empty());
  YYErrorStateReset();
}

}  // namespace
