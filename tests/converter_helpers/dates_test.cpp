#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "converter/dates.h"

namespace {

std::string toPcx(const std::string& date) {
  FixedText<10> text("#");
  TODD_MMM_YY(date, text);
  return std::string(text.view());
}

std::string fromPcx(const std::string& text, int currentYear) {
  FixedText<10> date("#");
  FROMDD_MMM_YY(text, date, currentYear);
  return std::string(date.view());
}

TEST(PcxDates, ToDdMmmYy) {
  const struct {
    const char* date;
    const char* text;
  } cases[] = {
      {"31/12/1999", "31-DEC-99 "},
      {"05/01/2007", "05-JAN-07 "},
      {"", "          "},
      {"05/00/2007", "05     07 "},
      // Months that are no month read no table: blanks in their place.
      {"05/13/2007", "05     07 "},
      {"05/99/2007", "05     07 "},
      {"05/x1/2007", "05     07 "},
      {"05/ 3/2007", "05-MAR-07 "},
      {"05/1", "05-JAN-   "},
  };
  for (const auto& c : cases) EXPECT_EQ(toPcx(c.date), c.text) << c.date;
}

TEST(PcxDates, FromDdMmmYyPivotsTheCenturyOnTheCurrentYear) {
  const struct {
    const char* text;
    int year;
    const char* date;
  } cases[] = {
      {"05-JAN-07", 2007, "05/01/2007"},
      {"05-JAN-07", 2099, "05/01/2007"},
      {"05-JAN-07", 2006, "05/01/1907"},
      {"05-JAN-00", 2007, "05/01/2000"},
      {"05-JAN-98", 2007, "05/01/1998"},
      {"05-JAN-08", 2007, "05/01/1908"},
      {"31-DEC-99", 2025, "31/12/1999"},
      {"12-SEP-25", 2025, "12/09/2025"},
      {" 5-JAN-07", 2007, " 5/01/2007"},
      // No month, or a year that is not two digits: no date.
      {"05-Jan-07", 2007, "          "},
      {"05-XXX-07", 2007, "          "},
      {"05-JAN-7 ", 2007, "          "},
      {"05-JAN-", 2007, "          "},
      {"", 2007, "          "},
  };
  for (const auto& c : cases) EXPECT_EQ(fromPcx(c.text, c.year), c.date) << c.text << " in " << c.year;
}

TEST(PcxDates, TodayDecidesTheCenturyWithoutAYearGiven) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const int yy = now.wYear % 100;
  char text[16];
  wsprintfA(text, "01-MAR-%02d", yy);
  FixedText<10> date;
  FROMDD_MMM_YY(text, date);
  char expected[16];
  wsprintfA(expected, "01/03/%04d", now.wYear);
  EXPECT_EQ(date.str(), expected);
}

TEST(Clock, TodayAndNowAsTexts) {
  SYSTEMTIME before{};
  GetLocalTime(&before);
  FixedText<10> date;
  FixedText<8> time;
  CDATE(date);
  CTIME(time);
  char expected[16];
  wsprintfA(expected, "%02d/%02d/%04d", before.wDay, before.wMonth, before.wYear);
  EXPECT_EQ(date.str(), expected);
  ASSERT_EQ(time.trimmedLength(), 8);
  EXPECT_EQ(time.column(3), ':');
  EXPECT_EQ(time.column(6), ':');
  const int hour = std::stoi(std::string(time.view().substr(0, 2)));
  EXPECT_TRUE(hour == before.wHour || hour == (before.wHour + 1) % 24) << time.str();
}

// A file whose last write is the given local time.
void writeFileAt(const std::string& path, WORD hour, WORD minute, WORD second) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  SYSTEMTIME local{};
  local.wYear = 2007;
  local.wMonth = 10;
  local.wDay = 17;
  local.wHour = hour;
  local.wMinute = minute;
  local.wSecond = second;
  FILETIME localTime{}, utc{};
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

std::string currentFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string folder(buffer);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

TEST(FileDateTime, LastWriteInLocalTimeWithEvenSeconds) {
  writeFileAt("stamped.gpx", 14, 3, 27);
  FixedText<10> date;
  FixedText<8> time;
  FILEDATETIME(currentFolder() + "stamped.gpx", date, time);
  EXPECT_EQ(date.str(), "17/10/2007");
  EXPECT_EQ(time.str(), "14:03:26");
  // Without a folder the name is looked up in the current directory.
  FixedText<10> date2("#");
  FixedText<8> time2("#");
  FILEDATETIME("stamped.gpx", date2, time2);
  EXPECT_EQ(date2.str(), "17/10/2007");
  EXPECT_EQ(time2.str(), "14:03:26");
  DeleteFileA("stamped.gpx");
}

TEST(FileDateTime, UsesTheWholePathHoweverLong) {
  // A folder of more than 128 characters and a name of more than 64.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string folder(temp);
  if (folder.back() != '\\') folder += '\\';
  for (char c = 'a'; folder.size() <= 130; ++c) {
    folder += std::string(30, c) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  const std::string name = std::string(70, 'n') + ".gpx";
  ASSERT_LT(folder.size() + name.size(), 256u);
  writeFileAt(folder + name, 9, 30, 0);
  FixedText<256> path(folder + name);
  FixedText<10> date;
  FixedText<8> time;
  FILEDATETIME(path, date, time);
  EXPECT_EQ(date.str(), "17/10/2007");
  EXPECT_EQ(time.str(), "09:30:00");
  DeleteFileA((folder + name).c_str());
}

TEST(FileDateTime, NoSuchFileGivesNoDateNotAnEarlierOne) {
  writeFileAt("first.gpx", 8, 0, 0);
  FixedText<10> date;
  FixedText<8> time;
  FILEDATETIME(currentFolder() + "first.gpx", date, time);
  ASSERT_EQ(time.str(), "08:00:00");
  for (const std::string& path : {currentFolder() + "missing.gpx", currentFolder(), std::string("*.gpx"),
                                 std::string("")}) {
    FILEDATETIME(path, date, time);
    EXPECT_TRUE(date.isBlank()) << path;
    EXPECT_TRUE(time.isBlank()) << path;
  }
  DeleteFileA("first.gpx");
}

}  // namespace
