#include "toolkit/core/directories.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "os_test_support.h"
#include "toolkit/core/error_reporter.h"

namespace {

using os_test::ScratchDir;

void setLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                       WORD second) {
  SYSTEMTIME local{};
  local.wYear = year;
  local.wMonth = month;
  local.wDay = day;
  local.wHour = hour;
  local.wMinute = minute;
  local.wSecond = second;
  FILETIME localTime{}, utc{};
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

class DirectoryListing : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    IOsDirType("F");
    dir.file("b.TXT", "bbb");
    dir.file("A.txt", "a");
    dir.file("a2.txt", "aa");
    dir.file("other.dat", "dddd");
    dir.dir("sub.txt");
  }
  void TearDown() override {
    IOsDirType("F");
    YYErrorStateReset();
  }
  ScratchDir dir{"listing"};
};

TEST_F(DirectoryListing, SortsByNameRegardlessOfCaseAndMovesDatesAndSizesAlong) {
  std::array<FixedText<20>, 5> names;
  names.fill(FixedText<20>("unused"));
  std::array<int, 5> dates{-7, -7, -7, -7, -7};
  std::array<int, 5> sizes{-7, -7, -7, -7, -7};
  int count = 5;
  IOsDirInfo(dir.path(), "*.txt", names, count, dates, sizes);
  ASSERT_EQ(count, 3);  // the directory sub.txt is not listed
  EXPECT_EQ(names[0].str(), "A.txt");
  EXPECT_EQ(names[1].str(), "a2.txt");  // the full stop sorts before the digit
  EXPECT_EQ(names[2].str(), "b.TXT");
  EXPECT_EQ(sizes[0], 1);
  EXPECT_EQ(sizes[1], 2);
  EXPECT_EQ(sizes[2], 3);
  for (int i = 0; i < 3; ++i) EXPECT_NE(dates[static_cast<std::size_t>(i)], -7);
  // Elements without a match are not written.
  EXPECT_EQ(names[3].str(), "unused");
  EXPECT_EQ(dates[3], -7);
  EXPECT_EQ(sizes[4], -7);
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

TEST_F(DirectoryListing, SearchPathForms) {
  struct PathCase {
    std::string directory;
    std::string mask;
    int expected;
  };
  const std::string d = dir.path();
  const std::vector<PathCase> cases = {
      {d, "*.txt", 3},
      {d + "\\", "*.txt", 3},
      {"    " + d + "   ", "   *.txt  ", 3},
      {d, "", 4},                   // blank mask: "*.*"
      {"", d + "\\a*.txt", 2},      // the mask carries the path
      {d, "none.*", 0},             // nothing matches: no error
  };
  for (const auto& c : cases) {
    std::array<FixedText<20>, 10> names;
    int count = 10;
    IOsDirList(c.directory, c.mask, names, count);
    EXPECT_EQ(count, c.expected) << '"' << c.directory << "\" \"" << c.mask << '"';
    EXPECT_EQ(WErrorStatusQuery(1), 0);
  }
  // A drive letter alone searches the root of the drive.
  const std::string drive = d.substr(0, 2);
  int atRoot = 0, withBackslash = 0;
  IOsDirCount(drive, "*", atRoot);
  IOsDirCount(drive + "\\", "*", withBackslash);
  EXPECT_GT(atRoot, 0);
  EXPECT_EQ(atRoot, withBackslash);
  // Blank directory and mask: the current directory.
  const std::string before = os_test::currentDirectory();
  SetCurrentDirectoryA(d.c_str());
  int here = 0;
  IOsDirCount("", "", here);
  SetCurrentDirectoryA(before.c_str());
  EXPECT_EQ(here, 4);
}

TEST_F(DirectoryListing, CapacityAndCounting) {
  std::array<FixedText<20>, 1> one;
  std::array<int, 1> date{}, size{};
  int count = 1;
  IOsDirInfo(dir.path(), "a2.txt", one, count, date, size);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(one[0].str(), "a2.txt");
  EXPECT_EQ(size[0], 2);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  count = 1;
  IOsDirInfo(dir.path(), "*.txt", one, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(WErrorStatusQuery(1), 40);

  // A capacity beyond the caller's array is held to the array.
  count = 50;
  IOsDirList(dir.path(), "*.txt", one, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(WErrorStatusQuery(1), 40);

  // Counting has no capacity.
  for (int i = 0; i < 60; ++i) dir.file("many" + std::to_string(i) + ".m");
  IOsDirCount(dir.path(), "*.m", count);
  EXPECT_EQ(count, 60);
  EXPECT_EQ(WErrorStatusQuery(1), 0);

  // Names longer than the element are cut.
  std::array<FixedText<4>, 3> shortNames;
  count = 3;
  IOsDirList(dir.path(), "*.txt", shortNames, count);
  EXPECT_EQ(shortNames[0].str(), "A.tx");
}

TEST_F(DirectoryListing, EntryKinds) {
  struct KindCase {
    const char* kinds;
    int expected;  // entries matching "*.txt"
    const char* query;
  };
  const KindCase cases[] = {
      {"F", 3, "F"}, {"d", 1, " D"}, {"fD", 4, "FD"}, {"x", 0, ""},
  };
  for (const auto& c : cases) {
    IOsDirType(c.kinds);
    int count = 0;
    IOsDirCount(dir.path(), "*.txt", count);
    EXPECT_EQ(count, c.expected) << c.kinds;
    FixedText<2> query;
    IOsDirTypeQuery(query);
    EXPECT_EQ(query, std::string_view(c.query)) << c.kinds;
  }
  IOsDirType("D");
  int withParents = 0;
  IOsDirCount(dir.path(), "", withParents);
  EXPECT_EQ(withParents, 3);  // ".", ".." and sub.txt
  EXPECT_EQ(WErrorStatusQuery(1), 0);
}

TEST_F(DirectoryListing, FailuresReport13WithTheWindowsCode) {
  std::array<FixedText<20>, 3> names;
  int count = 3;
  IOsDirList(dir / "missing", "*.txt", names, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_PATH_NOT_FOUND);

  // A path that fills the whole buffer leaves no room for its end: refused.
  const std::string longDirectory = dir.path() + "\\" + std::string(255 - dir.path().size(), 'x');
  count = 3;
  IOsDirList(longDirectory, "*.txt", names, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(WErrorStatusQuery(1), 13);
  EXPECT_EQ(WErrorStatusQuery(3), ERROR_FILENAME_EXCED_RANGE);
}

TEST_F(DirectoryListing, DateTimesAreLocalAndKeepEvenSeconds) {
  setLocalWriteTime(dir / "a2.txt", 2021, 6, 15, 14, 37, 59);
  std::array<FixedText<20>, 1> name;
  std::array<int, 1> date{};
  int count = 1;
  IOsDirInfo(dir.path(), "a2.txt", name, count, date);
  ASSERT_EQ(count, 1);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  IOsUnpackDosDate(date[0], year, month, day);
  IOsUnpackDosTime(date[0], hour, minute, second);
  EXPECT_EQ(year, 2021);
  EXPECT_EQ(month, 6);
  EXPECT_EQ(day, 15);
  EXPECT_EQ(hour, 14);
  EXPECT_EQ(minute, 37);
  EXPECT_EQ(second, 58);

  // The one-file inquiry keeps the full seconds.
  int size = 0, attributes = 0;
  YYOsFileInfo(size, year, month, day, hour, minute, second, attributes, (dir / "a2.txt").c_str());
  EXPECT_EQ(size, 2);
  EXPECT_EQ(second, 59);
  size = 0;
  year = 1;
  YYOsFileInfo(size, year, month, day, hour, minute, second, attributes, (dir / "none").c_str());
  EXPECT_EQ(size, -1);
  EXPECT_EQ(year, 1);
}

TEST(DosDateTime, Unpacking) {
  struct UnpackCase {
    unsigned packed;
    int year, month, day, hour, minute, second;
  };
  const UnpackCase cases[] = {
      {0x00210000u, 1980, 1, 1, 0, 0, 0},
      {(64u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u, 2044, 12, 31, 23, 59, 58},
      {0xFFFFFFFFu, 2107, 15, 31, 31, 63, 62},  // every bit: no sign trouble
  };
  for (const auto& c : cases) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    IOsUnpackDosDate(static_cast<int>(c.packed), y, mo, d);
    IOsUnpackDosTime(static_cast<int>(c.packed), h, mi, s);
    EXPECT_EQ(y, c.year) << std::hex << c.packed;
    EXPECT_EQ(mo, c.month);
    EXPECT_EQ(d, c.day);
    EXPECT_EQ(h, c.hour);
    EXPECT_EQ(mi, c.minute);
    EXPECT_EQ(s, c.second);
  }
}

TEST(DosDateTime, TodayAndNow) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  int year = 0, month = 0, day = 0;
  IOsDateNow(year, month, day);
  EXPECT_EQ(year, now.wYear);
  EXPECT_EQ(month, now.wMonth);
  int hour = -1, minute = -1, second = -1, ms = -1;
  IOsTimeNow(hour, minute, second);
  EXPECT_GE(hour, 0);
  EXPECT_LE(hour, 23);
  EXPECT_LE(second, 59);
  IOsTimeNow(hour, minute, second, &ms);
  EXPECT_GE(ms, 0);
  EXPECT_LE(ms, 999);
}

}  // namespace
