// The workbook layer below the ODBC functions: compound files of any size,
// shared strings that cross record boundaries, dates in both date systems, and
// the SQL texts.
#include <gtest/gtest.h>

#include <algorithm>
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
  cell.setText(longText);
  xlsbook::appendRow(book->sheets.back(), {cell});
  auto again = xlsbook::load(xlsbook::save(*book), why);
  ASSERT_TRUE(again) << why;
  for (std::size_t i = 0; i < oldCount; ++i) EXPECT_EQ(again->sharedStrings[i].chars, book->sharedStrings[i].chars) << i;
  xlsbook::Sheet* sheet = again->findWorksheet("long");
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(sheet->rows.size(), 2u);
  EXPECT_EQ(sheet->rows.at(1).at(0).text(), longText);
  const auto& charlie = again->findWorksheet("Points")->rows.at(3);
  ASSERT_EQ(charlie.back().column, 5);
  EXPECT_EQ(charlie.back().text(), "Alpha-Bravo \xC6r\xF8");
}

// The records of one substream of a workbook stream, each with its position.
struct PlacedRecord {
  std::uint16_t type;
  std::size_t at;
  xlsio::ByteView data;
};
std::vector<PlacedRecord> substream(xlsio::ByteView stream, std::size_t at) {
  std::vector<PlacedRecord> out;
  int depth = 0;
  while (at + 4 <= stream.size()) {
    const std::uint16_t type = xlsio::u16(stream, at), length = xlsio::u16(stream, at + 2);
    out.push_back({type, at, stream.subspan(at + 4, length)});
    at += 4 + length;
    if (type == xlsbiff::rt::Bof) ++depth;
    if (type == xlsbiff::rt::Eof && --depth == 0) break;
  }
  return out;
}

// The workbook stream of a saved file and the stream positions of its sheets.
struct SavedStream {
  xlsio::Bytes stream;
  std::vector<std::size_t> sheets;
};
SavedStream savedStream(const xlsio::Bytes& file) {
  std::string why;
  auto cf = xlscfb::read(file, why);
  EXPECT_TRUE(cf) << why;
  if (!cf) return {};
  SavedStream s;
  s.stream = cf->entries[static_cast<std::size_t>(xlscfb::findRootStream(*cf, u"Workbook"))].data;
  for (const auto& r : substream(s.stream, 0))
    if (r.type == xlsbiff::rt::BoundSheet) s.sheets.push_back(xlsio::u32(r.data, 0));
  return s;
}

// Each DBCELL points back at a ROW record, and every DBCELL position the sheet's
// INDEX gives (when it has one) lands on a DBCELL record, one for each.
void expectIndexMatchesRowBlocks(xlsio::ByteView stream, std::size_t sheetAt, bool hasIndex) {
  const auto records = substream(stream, sheetAt);
  std::vector<std::size_t> dbCells;
  xlsio::ByteView index;
  for (const auto& r : records) {
    if (r.type == xlsbiff::rt::DbCell) dbCells.push_back(r.at);
    if (r.type == xlsbiff::rt::Index) index = r.data;
  }
  ASSERT_FALSE(dbCells.empty());
  ASSERT_EQ(index.size(), hasIndex ? 16 + 4 * dbCells.size() : 0);
  for (std::size_t k = 0; k < dbCells.size(); ++k) {
    if (hasIndex) {
      ASSERT_EQ(xlsio::u32(index, 16 + 4 * k), dbCells[k]) << k;
    }
    const std::size_t firstRow = dbCells[k] - xlsio::u32(stream, dbCells[k] + 4);
    EXPECT_EQ(xlsio::u16(stream, firstRow), xlsbiff::rt::Row) << k;
  }
}

// The bytes of a sheet's cell table: its first ROW record to the end of its last DBCELL.
xlsio::Bytes cellTable(xlsio::ByteView stream, std::size_t sheetAt) {
  std::size_t first = 0, end = 0;
  for (const auto& r : substream(stream, sheetAt)) {
    if (r.type == xlsbiff::rt::Row && first == 0) first = r.at;
    if (r.type == xlsbiff::rt::DbCell) end = r.at + 4 + r.data.size();
  }
  return xlsio::Bytes(stream.begin() + static_cast<std::ptrdiff_t>(first),
                      stream.begin() + static_cast<std::ptrdiff_t>(end));
}

void appendNumberAndText(xlsbook::Sheet& sheet, int n) {
  xlsbook::Cell number, text;
  number.number = n;
  text.column = 1;
  const std::string words = "row " + std::to_string(n) + " of a long enough text";
  text.setText(words);
  xlsbook::appendRow(sheet, {number, text});
}

TEST(Workbook, RowsAddedTwiceKeepTheEarlierCellTableAndAnIndexOfEveryRowBlock) {
  std::string why;
  auto book = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  ASSERT_TRUE(book) << why;
  // 100 rows, then 70 more: row blocks of 32 rows, the last one of the first
  // save left part-filled.
  xlsbook::addWorksheet(*book, "Big", {"N", "T"});
  for (int n = 1; n <= 100; ++n) appendNumberAndText(book->sheets.back(), n);
  const xlsio::Bytes first = xlsbook::save(*book);
  auto again = xlsbook::load(first, why);
  ASSERT_TRUE(again) << why;
  for (int n = 101; n <= 170; ++n) appendNumberAndText(*again->findWorksheet("Big"), n);
  xlsbook::Cell extra;
  extra.number = 42;
  xlsbook::appendRow(*again->findWorksheet("Points"), {extra});
  const xlsio::Bytes second = xlsbook::save(*again);

  const SavedStream before = savedStream(first), after = savedStream(second);
  ASSERT_EQ(after.sheets.size(), before.sheets.size());
  const std::size_t big = after.sheets.size() - 1;
  const auto points = static_cast<std::size_t>(again->findWorksheet("Points") - again->sheets.data());
  // The sheet from the other program has no INDEX; ours has.
  expectIndexMatchesRowBlocks(after.stream, after.sheets[points], false);
  expectIndexMatchesRowBlocks(after.stream, after.sheets[big], true);
  // The rows written first are kept byte for byte, the new blocks after them.
  const xlsio::Bytes earlier = cellTable(before.stream, before.sheets[big]);
  const xlsio::Bytes later = cellTable(after.stream, after.sheets[big]);
  ASSERT_GT(later.size(), earlier.size());
  EXPECT_TRUE(std::equal(earlier.begin(), earlier.end(), later.begin()));

  auto last = xlsbook::load(second, why);
  ASSERT_TRUE(last) << why;
  const xlsbook::Sheet* sheet = last->findWorksheet("Big");
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(sheet->rows.size(), 171u);
  for (int n = 1; n <= 170; ++n) {
    const xlsbook::Row& row = sheet->rows.at(static_cast<std::uint32_t>(n));
    ASSERT_EQ(row.size(), 2u) << n;
    EXPECT_EQ(row[0].number, n);
    EXPECT_EQ(row[1].text(), "row " + std::to_string(n) + " of a long enough text");
  }
  EXPECT_EQ(last->findWorksheet("Points")->rows.rbegin()->second.at(0).number, 42);
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
      {"SELECT a, [b c] FROM [Points$] WHERE a = 1 ORDER BY [b c] DESC", K::Select, "Points$", {"a", "b c"}},
  };
  for (const auto& k : cases) {
    xlsodbc::SqlError error;
    auto s = xlsodbc::parseSql(k.text, error);
    ASSERT_TRUE(s) << k.text << ": " << error.message;
    EXPECT_EQ(s->kind, k.kind) << k.text;
    EXPECT_EQ(s->table, k.table) << k.text;
    EXPECT_EQ(s->columns, k.columns) << k.text;
  }
  for (const char* bad : {"", "DELETE FROM [Points$]", "SELECT * FROM [Points$]", "SELECT COUNT(*) FROM [Points$] WHERE a = 1",
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
