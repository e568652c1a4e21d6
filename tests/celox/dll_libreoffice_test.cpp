// Workbooks that LibreOffice wrote (fixtures/make_fixtures.py), read through
// Celox.dll: text, numbers, dates, empty cells, formula results, many shared
// strings and the 1904 date system.
#include <gtest/gtest.h>

#include <cstring>

#include "celox_test_support.h"

namespace {

using namespace celox_test;

class LibreOfficeWorkbooks : public ::testing::Test {
 protected:
  void SetUp() override {
    resetLibrary();
    CeloxSetErrorLevel(1);
  }
  void TearDown() override {
    if (connection) CeloxCloseEXCELFile(connection);
    resetLibrary();
  }
  void open(const char* name) {
    connection = CeloxOpenEXCELFile(name);
    ASSERT_NE(connection, nullptr) << lastErrorText();
  }
  CeloxConnection connection = nullptr;
};

TEST_F(LibreOfficeWorkbooks, ReadsEveryKindOfCell) {
  open("fixtures/libreoffice_book.xls");
  constexpr int kRows = 4;
  TextColumn name(kRows, 40), note(kRows, 40), count(kRows, 16);
  std::vector<double> latitude(kRows), longitude(kRows), countNumber(kRows);
  std::vector<SQL_TIMESTAMP_STRUCT> when(kRows);
  CeloxColumnBinding b[7] = {binding("Name", name.bytes.data(), kRows, 1, 40),
                             binding("Latitude", latitude.data(), kRows, 8, 8),
                             binding("Longitude", longitude.data(), kRows, 8, 8),
                             binding("[When]", when.data(), kRows, 11, 16),
                             binding("Count", countNumber.data(), kRows, 8, 8),
                             binding("Note", note.bytes.data(), kRows, 1, 40),
                             binding("Count", count.bytes.data(), kRows, 1, 16)};
  ASSERT_EQ(CeloxReadRows(connection, "Points", 7, -1, b, "", ""), kRows) << lastErrorText();

  EXPECT_EQ(name.text(1), "Alpha");
  EXPECT_EQ(name.text(2), "Bravo \xC6r\xF8");        // code page 1252
  EXPECT_EQ(name.text(3), "Charlie \x96 ?");          // no omega in the code page
  EXPECT_EQ(std::vector<char>(name.at(4), name.at(4) + 40), std::vector<char>(40, '\0'));  // empty cell
  EXPECT_EQ(latitude, (std::vector<double>{51.5, 48.8566, -33.8688, 0}));
  EXPECT_EQ(longitude, (std::vector<double>{-0.125, 2.3522, 151.2093, 0}));
  const SQL_TIMESTAMP_STRUCT expected[] = {{2007, 3, 5, 14, 7, 9, 0}, {2010, 12, 31, 0, 0, 0, 0}, {}, {1999, 1, 1, 12, 30, 0, 0}};
  for (int r = 0; r < kRows; ++r) EXPECT_EQ(std::memcmp(&when[r], &expected[r], 16), 0) << r;
  // Formula results: a number, an error (empty), a text, a truth value.
  EXPECT_EQ(countNumber, (std::vector<double>{3, 0, 6, 0}));
  EXPECT_EQ(count.text(3), "6");
  EXPECT_EQ(note.text(1), "first");
  EXPECT_EQ(note.text(3), "Alpha-Bravo \xC6r\xF8");
  EXPECT_EQ(note.text(4), "1");
}

TEST_F(LibreOfficeWorkbooks, ReadsSharedStringsAcrossContinueRecords) {
  open("fixtures/libreoffice_book.xls");
  ASSERT_EQ(CeloxGetRowCount(connection, "Many strings"), 700);
  TextColumn text(700, 48);
  auto b = binding("Text", text.bytes.data(), 700, 1, 48);
  ASSERT_EQ(CeloxReadRows(connection, "Many strings", 1, -1, &b, "", ""), 700);
  char expected[64];
  for (int r = 1; r <= 700; ++r) {
    std::snprintf(expected, sizeof expected, "String number %04d with some padding", r - 1);
    ASSERT_EQ(text.text(r), expected) << r;
  }
}

TEST_F(LibreOfficeWorkbooks, ReadsDatesOfThe1904System) {
  open("fixtures/libreoffice_1904.xls");
  std::vector<SQL_TIMESTAMP_STRUCT> when(2);
  auto b = binding("[When]", when.data(), 2, 93, 16);
  ASSERT_EQ(CeloxReadRows(connection, "Dates", 1, -1, &b, "", ""), 2);
  const SQL_TIMESTAMP_STRUCT expected[] = {{2007, 3, 5, 14, 7, 9, 0}, {1904, 1, 2, 6, 0, 0, 0}};
  EXPECT_EQ(std::memcmp(when.data(), expected, sizeof expected), 0);
}

TEST_F(LibreOfficeWorkbooks, AppendingKeepsTheRestOfTheWorkbook) {
  ScratchFile copy("libreoffice_appended.xls");
  ASSERT_TRUE(CopyFileA("fixtures/libreoffice_book.xls", copy.c_str(), FALSE));
  open(copy.c_str());
  TextColumn route(2, 16);
  route.set(1, "Route 9");
  route.set(2, "Route \xC6");
  std::vector<double> seq{10, 11};
  CeloxColumnBinding in[2] = {binding("Route", route.bytes.data(), 2, 1, 16), binding("Seq", seq.data(), 2, 8, 8)};
  ASSERT_EQ(CeloxWriteRows(connection, "Routes", 2, 2, in), 2) << lastErrorText();
  ASSERT_EQ(CeloxCreateTable(connection, "Added (Word TEXT)"), 0);
  CeloxCloseEXCELFile(connection);
  connection = nullptr;

  open(copy.c_str());
  EXPECT_EQ(CeloxGetRowCount(connection, "Routes"), 5);
  TextColumn routes(5, 16);
  auto b = binding("Route", routes.bytes.data(), 5, 1, 16);
  ASSERT_EQ(CeloxReadRows(connection, "Routes", 1, -1, &b, "", ""), 5);
  EXPECT_EQ(routes.text(1), "Route 1");
  EXPECT_EQ(routes.text(5), "Route \xC6");
  // The other sheets are as they were.
  EXPECT_EQ(CeloxGetRowCount(connection, "Many strings"), 700);
  EXPECT_EQ(CeloxGetRowCount(connection, "Points"), 4);
  TextColumn note(4, 40);
  auto n = binding("Note", note.bytes.data(), 4, 1, 40);
  ASSERT_EQ(CeloxReadRows(connection, "Points", 1, -1, &n, "", ""), 4);
  EXPECT_EQ(note.text(3), "Alpha-Bravo \xC6r\xF8");
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "Added"), 1);
}

}  // namespace
