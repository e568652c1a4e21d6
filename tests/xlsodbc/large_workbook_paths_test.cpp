// The paths that keep large workbooks cheap: texts kept in the workbook's own
// arena, earlier shared strings found again, saves handed on piece by piece, and
// reading that takes the file's buffer over instead of copying it.  Each path
// must give exactly what the plain one gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/xlsodbc/biff_records.h"
#include "platform/xlsodbc/compound_file.h"
#include "platform/xlsodbc/workbook.h"

namespace {

xlsio::Bytes readFixture(const char* name) {
  std::ifstream in(std::string("fixtures/") + name, std::ios::binary);
  return xlsio::Bytes(std::istreambuf_iterator<char>(in), {});
}

// Every cell of every sheet, one line each: sheet, row, column, kind, value.
std::vector<std::string> cellsOf(const xlsbook::Workbook& book) {
  std::vector<std::string> lines;
  for (const auto& sheet : book.sheets)
    for (const auto& [row, cells] : sheet.rows)
      for (const auto& c : cells) {
        std::ostringstream line;
        line << sheet.name << ' ' << row << ' ' << c.column << ' ' << static_cast<int>(c.kind) << ' ';
        if (c.kind == xlsbook::CellKind::Text)
          line << c.text();
        else
          line << c.number;
        lines.push_back(line.str());
      }
  return lines;
}

// The fixture workbook with a sheet of `rows` rows: a number, a text of its own
// and a text that repeats.
xlsbook::Workbook fixtureWithRows(int rows) {
  std::string why;
  auto book = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  EXPECT_TRUE(book) << why;
  xlsbook::addWorksheet(*book, "Rows", {"N", "Own", "Repeated"});
  for (int n = 1; n <= rows; ++n) {
    const std::string own = "the text of row " + std::to_string(n);
    xlsbook::Cell number, ownText, repeated;
    number.number = n;
    ownText.column = 1;
    ownText.setText(own);
    repeated.column = 2;
    repeated.setText(n % 2 ? "odd" : "even");
    xlsbook::appendRow(book->sheets.back(), {number, ownText, repeated});
  }
  return std::move(*book);
}

TEST(WorkbookTexts, AreCopiedIntoTheWorkbookAndOutliveTheCallersBufferAndMoves) {
  std::string why;
  auto book = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  ASSERT_TRUE(book) << why;
  const std::string expected = "a text well beyond any short-string buffer";
  {
    std::string heading = "Heading of the copied sheet";
    xlsbook::addWorksheet(*book, "Copied", {heading});
    std::string buffer = expected;
    xlsbook::Cell cell;
    cell.setText(buffer);
    xlsbook::appendRow(book->sheets.back(), {cell});
    // The caller's buffers are overwritten and released.
    std::fill(buffer.begin(), buffer.end(), '#');
    std::fill(heading.begin(), heading.end(), '#');
  }
  std::optional<xlsbook::Workbook> moved;
  moved.emplace(std::move(*book));
  book.reset();

  const xlsbook::Sheet* sheet = moved->findWorksheet("Copied");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->rows.at(0).at(0).text(), "Heading of the copied sheet");
  EXPECT_EQ(sheet->rows.at(1).at(0).text(), expected);
  // Texts read from the file live as long as the workbook that read them.
  EXPECT_EQ(moved->findWorksheet("Points")->rows.at(3).back().text(), "Alpha-Bravo \xC6r\xF8");

  auto again = xlsbook::load(xlsbook::save(*moved), why);
  ASSERT_TRUE(again) << why;
  EXPECT_EQ(again->findWorksheet("Copied")->rows.at(1).at(0).text(), expected);
}

// Appends a row of texts, one cell each from the first column on.
void appendTexts(xlsbook::Sheet& sheet, const std::vector<std::string>& texts) {
  xlsbook::Row row;
  for (std::size_t c = 0; c < texts.size(); ++c) {
    xlsbook::Cell cell;
    cell.column = static_cast<std::uint16_t>(c);
    cell.setText(texts[c]);
    row.push_back(cell);
  }
  xlsbook::appendRow(sheet, row);
}

TEST(WorkbookSave, NewTextsEqualToEarlierStringsTakeTheirPlacesAndRepeatsShareOne) {
  // An ASCII text and one with letters of the code page's upper half become
  // earlier strings of the workbook by a first save.
  const std::string ascii = "an earlier text";
  const std::string upperHalf = "\xC6r\xF8 \x80 earlier";
  std::string why;
  auto first = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  ASSERT_TRUE(first) << why;
  xlsbook::addWorksheet(*first, "Reuse", {"First new heading", "Second new heading", "Third new heading"});
  appendTexts(first->sheets.back(), {ascii, upperHalf});
  auto book = xlsbook::load(xlsbook::save(*first), why);
  ASSERT_TRUE(book) << why;
  const std::size_t oldCount = book->sharedStrings.size();

  const std::vector<std::vector<std::string>> rows = {{ascii, upperHalf, "brand new"},
                                                      {upperHalf, "brand new", ascii}};
  for (const auto& texts : rows) appendTexts(*book->findWorksheet("Reuse"), texts);
  auto again = xlsbook::load(xlsbook::save(*book), why);
  ASSERT_TRUE(again) << why;
  // "brand new" is the only new string, and once.
  EXPECT_EQ(again->sharedStrings.size(), oldCount + 1);
  for (std::size_t i = 0; i < oldCount; ++i) EXPECT_EQ(again->sharedStrings[i].chars, book->sharedStrings[i].chars);
  EXPECT_EQ(again->sharedStrings.back().chars, u"brand new");
  const xlsbook::Sheet* sheet = again->findWorksheet("Reuse");
  ASSERT_NE(sheet, nullptr);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      EXPECT_EQ(sheet->rows.at(static_cast<std::uint32_t>(r + 2)).at(c).text(), rows[r][c]) << r << ' ' << c;
}

TEST(WorkbookSave, FormattingRunsAndPhoneticDataOfEarlierStringsAreKept) {
  std::string why;
  auto book = xlsbook::load(readFixture("libreoffice_book.xls"), why);
  ASSERT_TRUE(book) << why;
  ASSERT_GE(book->sharedStrings.size(), 2u);
  // Two runs (character position, font) on the first string, a phonetic block on the second.
  const xlsio::Bytes runs = {0, 0, 1, 0, 3, 0, 2, 0};
  const xlsio::Bytes phonetic = {1, 0, 9, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
  book->sharedStrings[0].runs = runs;
  book->sharedStrings[1].phonetic = phonetic;
  xlsbook::addWorksheet(*book, "Plain", {"Heading of the plain sheet"});

  auto again = xlsbook::load(xlsbook::save(*book), why);
  ASSERT_TRUE(again) << why;
  ASSERT_EQ(again->sharedStrings.size(), book->sharedStrings.size() + 1);
  const auto bytes = [](xlsio::ByteView b) { return xlsio::Bytes(b.begin(), b.end()); };
  EXPECT_EQ(again->sharedStrings[0].chars, book->sharedStrings[0].chars);
  EXPECT_EQ(bytes(again->sharedStrings[0].runs), runs);
  EXPECT_TRUE(again->sharedStrings[0].phonetic.empty());
  EXPECT_EQ(again->sharedStrings[1].chars, book->sharedStrings[1].chars);
  EXPECT_EQ(bytes(again->sharedStrings[1].phonetic), phonetic);
  EXPECT_TRUE(again->sharedStrings[1].runs.empty());
}

TEST(WorkbookSave, PiecesHandedOnMakeTheSameFileAsTheWholeSave) {
  // A small workbook comes as one piece; one of several megabytes in many.
  for (const int rows : {10, 40000}) {
    const xlsbook::Workbook book = fixtureWithRows(rows);
    const xlsio::Bytes whole = xlsbook::save(book);
    xlsio::Bytes joined;
    int pieces = 0;
    ASSERT_TRUE(xlsbook::save(book, [&](xlsio::ByteView piece) {
      joined.insert(joined.end(), piece.begin(), piece.end());
      ++pieces;
      return true;
    }));
    EXPECT_EQ(joined, whole) << rows;
    if (rows > 10) {
      EXPECT_GT(pieces, 1);
    }

    std::string why;
    auto back = xlsbook::load(whole, why);
    ASSERT_TRUE(back) << why;
    const xlsbook::Sheet* sheet = back->findWorksheet("Rows");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->rows.size(), static_cast<std::size_t>(rows) + 1);
    EXPECT_EQ(sheet->rows.rbegin()->second.at(1).text(), "the text of row " + std::to_string(rows));
  }
}

TEST(WorkbookSave, ARefusedPieceFailsTheSaveAndNoMoreAreHandedOn) {
  const xlsbook::Workbook book = fixtureWithRows(40000);
  int offered = 0;
  EXPECT_FALSE(xlsbook::save(book, [&](xlsio::ByteView) {
    ++offered;
    return false;
  }));
  EXPECT_EQ(offered, 1);
}

TEST(CompoundFileRead, TakingTheBufferOverGivesTheSameStreams) {
  struct Case {
    const char* what;
    std::vector<std::size_t> sizes;
  };
  // The largest stream takes the buffer; one taken earlier is copied after all.
  const Case cases[] = {
      {"largest first", {5u << 20, 100, 4096, 0}},
      {"largest after a smaller large one", {4096, 100, 5u << 20, 8192}},
      {"only small streams", {100, 4095}},
  };
  for (const auto& k : cases) {
    xlscfb::CompoundFile file;
    file.entries.push_back(xlscfb::makeEntry(u"Root Entry", xlscfb::EntryType::Root));
    file.entries[0].raw[76] = 1;
    std::fill(file.entries[0].raw.begin() + 77, file.entries[0].raw.begin() + 80, 0);
    for (std::size_t i = 0; i < k.sizes.size(); ++i) {
      const std::u16string name = u"S" + std::u16string(1, static_cast<char16_t>(u'a' + i));
      auto e = xlscfb::makeEntry(name, xlscfb::EntryType::Stream);
      e.data.resize(k.sizes[i]);
      for (std::size_t b = 0; b < e.data.size(); ++b) e.data[b] = static_cast<std::uint8_t>(b * 7 + i);
      file.entries.push_back(std::move(e));
      if (i + 1 < k.sizes.size()) {
        file.entries.back().raw[72] = static_cast<std::uint8_t>(i + 2);
        std::fill(file.entries.back().raw.begin() + 73, file.entries.back().raw.begin() + 76, 0);
      }
    }
    const xlsio::Bytes bytes = xlscfb::write(file);
    std::string why;
    const auto viewed = xlscfb::read(xlsio::ByteView(bytes), why);
    ASSERT_TRUE(viewed) << k.what << ": " << why;
    auto taken = xlscfb::read(xlsio::Bytes(bytes), why);
    ASSERT_TRUE(taken) << k.what << ": " << why;
    ASSERT_EQ(taken->entries.size(), viewed->entries.size()) << k.what;
    for (std::size_t i = 1; i <= k.sizes.size(); ++i) {
      EXPECT_EQ(taken->entries[i].data, file.entries[i].data) << k.what << ", stream " << i;
      EXPECT_EQ(viewed->entries[i].data, file.entries[i].data) << k.what << ", stream " << i;
    }

    // A file cut inside its streams is refused alike.
    const xlsio::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
    std::string whyViewed, whyTaken;
    EXPECT_FALSE(xlscfb::read(xlsio::ByteView(cut), whyViewed)) << k.what;
    EXPECT_FALSE(xlscfb::read(xlsio::Bytes(cut), whyTaken)) << k.what;
    EXPECT_EQ(whyTaken, whyViewed) << k.what;
  }
}

TEST(WorkbookLoad, TakingTheFileOverReadsTheSameWorkbook) {
  const xlsio::Bytes ours = xlsbook::save(fixtureWithRows(3000));
  const std::pair<const char*, xlsio::Bytes> files[] = {
      {"libreoffice_book.xls", readFixture("libreoffice_book.xls")},
      {"libreoffice_1904.xls", readFixture("libreoffice_1904.xls")},
      {"our own", ours},
  };
  for (const auto& [what, bytes] : files) {
    std::string why;
    const auto viewed = xlsbook::load(xlsio::ByteView(bytes), why);
    ASSERT_TRUE(viewed) << what << ": " << why;
    const auto taken = xlsbook::load(xlsio::Bytes(bytes), why);
    ASSERT_TRUE(taken) << what << ": " << why;
    EXPECT_FALSE(cellsOf(*viewed).empty()) << what;
    EXPECT_EQ(cellsOf(*taken), cellsOf(*viewed)) << what;
    ASSERT_EQ(taken->sharedStrings.size(), viewed->sharedStrings.size()) << what;
    for (std::size_t i = 0; i < viewed->sharedStrings.size(); ++i)
      EXPECT_EQ(taken->sharedStrings[i].chars, viewed->sharedStrings[i].chars) << what << ' ' << i;
    // Both write back the same file: every sheet's records, cell tables included, came through.
    EXPECT_EQ(xlsbook::save(*taken), xlsbook::save(*viewed)) << what;
  }
}

TEST(RecordWalk, StandsForTheSameRecordsAsTheirList) {
  using xlsbiff::Record;
  const auto run = [](std::initializer_list<std::pair<std::uint16_t, xlsio::Bytes>> records) {
    Record r{xlsbiff::kRecordRun, {}};
    for (const auto& [type, data] : records) xlsbiff::appendRecord(r.data, type, data);
    return r;
  };
  Record cutRun = run({{xlsbiff::rt::Number, xlsio::Bytes(14, 1)}, {xlsbiff::rt::Row, xlsio::Bytes(16, 2)}});
  cutRun.data.resize(cutRun.data.size() - 5);  // the last record's data runs past the run
  Record strayBytes = run({{xlsbiff::rt::LabelSst, xlsio::Bytes(10, 3)}});
  strayBytes.data.push_back(0x7F);  // fewer bytes than a record header
  const struct {
    const char* what;
    std::vector<Record> records;
  } cases[] = {
      {"nothing", {}},
      {"only empty runs", {Record{xlsbiff::kRecordRun, {}}, Record{xlsbiff::kRecordRun, {}}}},
      {"records and runs",
       {Record{xlsbiff::rt::Bof, xlsio::Bytes(16, 9)},
        run({{xlsbiff::rt::Row, xlsio::Bytes(16, 0)}, {xlsbiff::rt::Number, xlsio::Bytes(14, 5)}}),
        Record{xlsbiff::kRecordRun, {}}, Record{xlsbiff::rt::Window2, xlsio::Bytes(18, 4)},
        run({{xlsbiff::rt::DbCell, xlsio::Bytes(6, 8)}}), Record{xlsbiff::rt::Eof, {}}}},
      {"damaged runs", {cutRun, Record{xlsbiff::rt::Eof, {}}, strayBytes}},
  };
  for (const auto& k : cases) {
    const auto views = xlsbiff::viewsOf(k.records);
    std::size_t n = 0;
    for (xlsbiff::RecordWalk walk(k.records); !walk.atEnd(); walk.next(), ++n) {
      ASSERT_LT(n, views.size()) << k.what;
      const xlsbiff::RecordView r = walk.current();
      EXPECT_EQ(r.type, views[n].type) << k.what << ' ' << n;
      EXPECT_EQ(r.data.data(), views[n].data.data()) << k.what << ' ' << n;
      EXPECT_EQ(r.data.size(), views[n].data.size()) << k.what << ' ' << n;
      // A copy walks on by itself, leaving the original where it was.
      xlsbiff::RecordWalk ahead = walk;
      ahead.next();
      EXPECT_EQ(ahead.atEnd(), n + 1 == views.size()) << k.what << ' ' << n;
      if (!ahead.atEnd()) {
        EXPECT_EQ(ahead.current().type, views[n + 1].type) << k.what << ' ' << n;
      }
      EXPECT_EQ(walk.current().type, views[n].type) << k.what << ' ' << n;
    }
    EXPECT_EQ(n, views.size()) << k.what;
  }
}

}  // namespace
