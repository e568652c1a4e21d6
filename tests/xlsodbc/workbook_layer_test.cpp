// The workbook layer below the ODBC functions: compound files of any size,
// shared strings that cross record boundaries, dates in both date systems, and
// the SQL texts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/xlsodbc/cell_values.h"
#include "platform/xlsodbc/compound_file.h"
#include "platform/xlsodbc/sql_statement.h"
#include "platform/xlsodbc/workbook.h"

namespace {

xlsio::Bytes readFixture(const char* name) {
  std::ifstream in(std::string("fixtures/") + name, std::ios::binary);
  return xlsio::Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(CompoundFile, StreamsOfEverySizeSurviveWritingAndReading) {
  xlscfb::CompoundFile file;
  file.entries.push_back(xlscfb::makeEntry(u"Root Entry", xlscfb::EntryType::Root));
  // Large enough to need more than 109 FAT sectors, so DIFAT sectors too.
  const std::size_t sizes[] = {8u << 20, 100, 4095, 4096, 0};
  const char16_t* names[] = {u"Big", u"Small", u"Edge", u"Cutoff", u"Empty"};
  for (std::size_t i = 0; i < 5; ++i) {
    auto e = xlscfb::makeEntry(names[i], xlscfb::EntryType::Stream);
    e.data.resize(sizes[i]);
    for (std::size_t k = 0; k < sizes[i]; ++k) e.data[k] = static_cast<std::uint8_t>(k * 31 + i);
    file.entries.push_back(std::move(e));
  }
  // A tree of siblings under the root.
  file.entries[0].raw[76] = 1;
  std::fill(file.entries[0].raw.begin() + 77, file.entries[0].raw.begin() + 80, 0);
  for (std::uint8_t i = 1; i < 5; ++i) {
    file.entries[i].raw[72] = static_cast<std::uint8_t>(i + 1);
    std::fill(file.entries[i].raw.begin() + 73, file.entries[i].raw.begin() + 76, 0);
  }
  const xlsio::Bytes bytes = xlscfb::write(file);
  ASSERT_GT(xlsio::u32(bytes, 0x48), 0u);  // DIFAT sectors in use
  std::string why;
  auto back = xlscfb::read(bytes, why);
  ASSERT_TRUE(back) << why;
  // The directory's last sector is filled up with unused entries.
  ASSERT_GE(back->entries.size(), file.entries.size());
  for (std::size_t i = file.entries.size(); i < back->entries.size(); ++i)
    EXPECT_EQ(back->entries[i].type(), xlscfb::EntryType::Unused);
  for (std::size_t i = 1; i < file.entries.size(); ++i) {
    EXPECT_EQ(back->entries[i].name(), file.entries[i].name());
    EXPECT_EQ(back->entries[i].data, file.entries[i].data) << i;
    EXPECT_EQ(xlscfb::findRootStream(*back, file.entries[i].name()), static_cast<int>(i));
  }
  EXPECT_EQ(xlscfb::findRootStream(*back, u"big"), 1);  // names compare without case
}

TEST(Workbook, KeepsOldSharedStringsAndSplitsLongNewOnes) {
  std::string why;
  auto book = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  ASSERT_TRUE(book) << why;
  const std::size_t oldCount = book->sharedStrings.size();
  const std::u16string omega = u"Charlie \u2013 \u03A9";
  ASSERT_NE(std::find_if(book->sharedStrings.begin(), book->sharedStrings.end(),
                         [&](const auto& s) { return s.chars == omega; }),
            book->sharedStrings.end());

  xlsbook::addWorksheet(*book, "Long", {"Text"});
  const std::string longText = std::string(9000, 'a') + "\xE9" + std::string(9000, 'b');
  xlsbook::Cell cell;
  cell.kind = xlsbook::CellKind::Text;
  cell.text = longText;
  xlsbook::appendRow(book->sheets.back(), {cell});
  auto again = xlsbook::load(xlsbook::save(*book), why);
  ASSERT_TRUE(again) << why;
  for (std::size_t i = 0; i < oldCount; ++i) EXPECT_EQ(again->sharedStrings[i].chars, book->sharedStrings[i].chars) << i;
  xlsbook::Sheet* sheet = again->findWorksheet("long");
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(sheet->rows.size(), 2u);
  EXPECT_EQ(sheet->rows.at(1).at(0).text, longText);
  const auto& charlie = again->findWorksheet("Points")->rows.at(3);
  ASSERT_EQ(charlie.back().column, 5);
  EXPECT_EQ(charlie.back().text, "Alpha-Bravo \xC6r\xF8");
}

TEST(DateSerials, FollowTheWorkbookDateSystem) {
  using xlsodbc::DateTime;
  struct Case {
    DateTime when;
    bool date1904;
    double serial;
  };
  const Case cases[] = {
      {{1900, 1, 1, 0, 0, 0}, false, 1},      {{1900, 2, 28, 0, 0, 0}, false, 59},
      {{1900, 3, 1, 0, 0, 0}, false, 61},     {{2007, 3, 5, 12, 0, 0}, false, 39146.5},
      {{1904, 1, 2, 6, 0, 0}, true, 1.25},    {{2007, 3, 5, 12, 0, 0}, true, 37684.5},
  };
  for (const auto& k : cases) {
    const auto serial = xlsodbc::toSerial(k.when, k.date1904);
    ASSERT_TRUE(serial);
    EXPECT_DOUBLE_EQ(*serial, k.serial);
    const DateTime back = xlsodbc::fromSerial(k.serial, k.date1904);
    EXPECT_EQ(back.year, k.when.year);
    EXPECT_EQ(back.month, k.when.month);
    EXPECT_EQ(back.day, k.when.day);
    EXPECT_EQ(back.hour, k.when.hour);
  }
  EXPECT_FALSE(xlsodbc::toSerial({1899, 12, 31, 0, 0, 0}, false));
  EXPECT_FALSE(xlsodbc::toSerial({2007, 2, 29, 0, 0, 0}, false));
  EXPECT_FALSE(xlsodbc::toSerial({1903, 12, 31, 0, 0, 0}, true));
  // Seconds round to the nearest, carrying into the next day.
  const DateTime late = xlsodbc::fromSerial(39146.0 + 86399.7 / 86400.0, false);
  EXPECT_EQ(late.day, 6);
  EXPECT_EQ(late.hour, 0);
}

TEST(SqlTexts, TheLibraryStatementsParse) {
  struct Case {
    const char* text;
    xlsodbc::SqlStatement::Kind kind;
    const char* table;
    std::vector<std::string> columns;
  };
  using K = xlsodbc::SqlStatement::Kind;
  const Case cases[] = {
      {"SELECT COUNT(*) FROM [Points$]", K::Count, "Points$", {}},
      {"select count ( * ) from [My sheet$]", K::Count, "My sheet$", {}},
      {"SELECT [OS Grid Reference], Latitude FROM [Points$]", K::Select, "Points$", {"OS Grid Reference", "Latitude"}},
      {"CREATE TABLE Points ([Name 2] TEXT, Latitude NUMBER, [When] DATETIME)", K::CreateTable, "Points",
       {"Name 2", "Latitude", "When"}},
      {"INSERT INTO [Points$] (Name, [Name 2]) VALUES (?,?)", K::Insert, "Points$", {"Name", "Name 2"}},
  };
  for (const auto& k : cases) {
    xlsodbc::SqlError error;
    auto s = xlsodbc::parseSql(k.text, error);
    ASSERT_TRUE(s) << k.text << ": " << error.message;
    EXPECT_EQ(s->kind, k.kind) << k.text;
    EXPECT_EQ(s->table, k.table) << k.text;
    EXPECT_EQ(s->columns, k.columns) << k.text;
  }
  for (const char* bad : {"", "DELETE FROM [Points$]", "SELECT * FROM [Points$]", "SELECT a FROM [Points$] WHERE a = 1",
                          "SELECT a FROM [Points$", "CREATE TABLE T (a)", "INSERT INTO [T$] (a, b) VALUES (?)",
                          "INSERT INTO [T$] (a) VALUES (1)", "SELECT a FROM [T$] extra"}) {
    xlsodbc::SqlError error;
    EXPECT_FALSE(xlsodbc::parseSql(bad, error)) << bad;
    EXPECT_FALSE(error.message.empty()) << bad;
  }
}

TEST(SqlTexts, TablePatternsMatchLikeSql) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  };
  for (const Case& k : {Case{"Points$", "%$", true}, Case{"Points", "%$", false}, Case{"Points$", "points$", true},
                        Case{"Points$", "P_ints$", true}, Case{"Pints$", "P_ints$", false}, Case{"abc", "%", true},
                        Case{"", "%", true}, Case{"a%c", "a%c", true}, Case{"abcbc", "a%bc", true}})
    EXPECT_EQ(xlsodbc::likeMatch(k.text, k.pattern), k.match) << k.text << " ~ " << k.pattern;
}

}  // namespace
