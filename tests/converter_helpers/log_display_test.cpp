#include <gtest/gtest.h>

#include <string>

#include "converter/converter_data.h"
#include "converter/log_display.h"
#include "converter_helpers/box_answer.h"
#include "support/child_process.h"

namespace {

std::string line(int k) { return LOG_DISPLAY.LOG_LINES[static_cast<std::size_t>(k - 1)].str(); }

class Log : public ::testing::Test {
 protected:
  void SetUp() override { LOG_DISPLAY.LOG_COUNT = 0; }
};

TEST_F(Log, KeepsTheLastTwelveLines) {
  for (int i = 1; i <= 12; ++i) SCROLL("Line " + std::to_string(i) + "   ");
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 12);
  EXPECT_EQ(line(1), "Line 1");
  EXPECT_EQ(line(12), "Line 12");
  SCROLL("Line 13");
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 12);
  EXPECT_EQ(line(1), "Line 2");
  EXPECT_EQ(line(11), "Line 12");
  EXPECT_EQ(line(12), "Line 13");
  for (int i = 14; i <= 40; ++i) SCROLL("Line " + std::to_string(i));
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 12);
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(line(k), "Line " + std::to_string(28 + k));
}

TEST_F(Log, KeepsTheFirst128CharactersOfALine) {
  const std::string longLine = "Input from ... " + std::string(200, 'p');
  SCROLL(longLine);
  EXPECT_EQ(line(1), longLine.substr(0, 128));
  SCROLL("");
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 2);
  EXPECT_EQ(line(2), "");
}

TEST_F(Log, EmptyingStartsAgainAtTheTop) {
  SCROLL("one");
  SCROLL("two");
  EMPTY_LOG();
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
  SCROLL("three");
  EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 1);
  EXPECT_EQ(line(1), "three");
}

// --- the "Data Error" box, shown by a child and answered here ---

struct ErrorScenario {
  int mode;
  const char* message;
  const char* hint;
  const char* record;
  const char* action;
};

constexpr ErrorScenario kErrorScenarios[] = {
    {1, "Name missing   ", "A hint  ", "<wpt lat=\"51.5\">   ", "continue"},
    {2, "Data format error", "W  ID  LAT  LON", "W  BAD", "quit"},
    {3, "Warning", "latitude", "record", "quit   "},
    {0, "", "latitude", "", "clear"},
    {4, "Warning", "h", "r", "QUIT"},
    {3, "Warning", "h", "r", "quit now"},
};

// Exit code: bit 0 STOP_FLAG, bit 1 the log was emptied.
void runError(int which) {
  const ErrorScenario& s = kErrorScenarios[which];
  SCROLL("kept line");
  ERROR(s.mode, s.message, s.hint, s.record, s.action);
  ExitProcess((isTrue(STOP_FLAG) ? 1 : 0) | (LOG_DISPLAY.LOG_COUNT == 0 ? 2 : 0));
}

testing_support::ChildScenario error0("data-error-0", [] { runError(0); });
testing_support::ChildScenario error1("data-error-1", [] { runError(1); });
testing_support::ChildScenario error2("data-error-2", [] { runError(2); });
testing_support::ChildScenario error3("data-error-3", [] { runError(3); });
testing_support::ChildScenario error4("data-error-4", [] { runError(4); });
testing_support::ChildScenario error5("data-error-5", [] { runError(5); });

TEST(DataError, ShowsMessageRecordAndHintThenCarriesOutTheAction) {
  const struct {
    const char* text;
    int exitCode;
  } expected[] = {
      {"Name missing\r\rIn record: <wpt lat=\"51.5\">\rA hint", 0},
      {"Data format error\r\rIn record: W  BAD\rCorrect format is: W  ID  LAT  LON", 1},
      {"Warning\r\rIn record: record\rReading: latitude", 1},
      {"\r\rIn record: \rReading: latitude", 2},
      {"Warning\r\rIn record: r\rReading: h", 0},
      {"Warning\r\rIn record: r\rReading: h", 0},
  };
  for (int i = 0; i < 6; ++i) {
    box_answer::Seen seen;
    std::string scenario = "data-error-";
    scenario += static_cast<char>('0' + i);
    const int code = testing_support::runChildScenario(
        scenario, [&](DWORD pid) { box_answer::answer(pid, "Data Error", seen); });
    EXPECT_EQ(code, expected[i].exitCode) << i;
    EXPECT_EQ(seen.boxes, 1) << i;
    EXPECT_EQ(seen.text, expected[i].text) << i;
  }
}

}  // namespace
