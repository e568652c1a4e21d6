// Opening, creating and closing workbooks through Celox.dll, the built-in empty
// workbook, and files that are no workbooks.
#include <gtest/gtest.h>

#include <random>

#include "celox_test_support.h"

namespace {

using namespace celox_test;

class WorkbookConnection : public ::testing::Test {
 protected:
  void SetUp() override { resetLibrary(); }
  void TearDown() override { resetLibrary(); }

  // Records 70006 under CeloxGetRowCount, so that a later call can be seen to leave it.
  static void recordKnownError() { CeloxGetRowCount(nullptr, ""); }
  static bool knownErrorStillRecorded() {
    return lastErrorText() == "Error when calling  CeloxGetRowCount\r\nError code: 70006 (A name has not been specified.)";
  }
};

std::vector<std::string> tableNames(CeloxConnection c) {
  std::int32_t count = 0, error = 0;
  CeloxGetTableNames(c, 0, nullptr, &count, &error);
  std::vector<char> names(static_cast<std::size_t>(count) * kCeloxTableNameLength + 1);
  CeloxGetTableNames(c, count, names.data(), &count, &error);
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.emplace_back(names.data() + static_cast<std::ptrdiff_t>(i) * kCeloxTableNameLength);
  return out;
}

TEST_F(WorkbookConnection, CreateReplacesAFileWithTheEmptyWorkbook) {
  ScratchFile book("connection_create.xls");
  writeFile(book.name(), std::vector<char>(50000, 'z'));
  CeloxConnection c = CeloxCreateEXCELFile(book.c_str());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(readFile(book.name()).size(), 11776u);
  EXPECT_EQ(tableNames(c), (std::vector<std::string>{"Tabelle1$", "Tabelle2$", "Tabelle3$"}));
  EXPECT_EQ(CeloxGetRowCount(c, "Tabelle1"), 0);
  EXPECT_EQ(CeloxCloseEXCELFile(c), 0);
  // Closing leaves the file as created; it opens again.
  EXPECT_EQ(readFile(book.name()).size(), 11776u);
  c = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(CeloxCloseEXCELFile(c), 0);
}

TEST_F(WorkbookConnection, OpenRefusesMissingAndEmptyFilesLeavingTheLastErrorAlone) {
  ScratchFile empty("connection_empty.xls");
  writeFile(empty.name(), {});
  for (const char* name : {"connection_missing.xls", empty.c_str(), ""}) {
    recordKnownError();
    EXPECT_EQ(CeloxOpenEXCELFile(name), nullptr) << name;
    EXPECT_TRUE(knownErrorStillRecorded()) << name;
  }
  recordKnownError();
  EXPECT_EQ(CeloxCreateEXCELFile(""), nullptr);
  EXPECT_TRUE(knownErrorStillRecorded());
}

TEST_F(WorkbookConnection, NamesWithoutNulWithinTheirLimitAreRefused) {
  std::vector<char> name(1100, 'n');
  for (auto* call : {&CeloxOpenEXCELFile, &CeloxCreateEXCELFile}) {
    EXPECT_EQ(call(name.data()), nullptr);
    EXPECT_EQ(lastErrorText(), "Error when calling  qxEXCELConnect\r\nError code: 70001 (String not zero-terminated.)");
  }
}

TEST_F(WorkbookConnection, ANameOfUpTo1023CharactersPassesTheLengthTest) {
  // Too long for the file system, but not refused as unterminated.
  std::string name(1023, 'n');
  EXPECT_EQ(CeloxCreateEXCELFile(name.c_str()), nullptr);
  EXPECT_EQ(lastErrorText().find("70001"), std::string::npos);
}

TEST_F(WorkbookConnection, AFailedCreateLeavesNoFileAndAnExistingFileUntouched) {
  EXPECT_EQ(CeloxCreateEXCELFile("no_such_folder\\new.xls"), nullptr);
  EXPECT_FALSE(fileExists("no_such_folder\\new.xls"));
  // A file that another program holds without sharing cannot be replaced.
  ScratchFile held("connection_held.xls");
  writeFile(held.name(), std::vector<char>(10, 'k'));
  HANDLE other = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CeloxCreateEXCELFile(held.c_str()), nullptr);
  CloseHandle(other);
  EXPECT_EQ(readFile(held.name()), std::vector<char>(10, 'k'));
}

// Every damaged or foreign file is refused with 70004, never a crash or a hang.
TEST_F(WorkbookConnection, FilesThatAreNoSoundWorkbooksAreRefused) {
  ScratchFile good("connection_source.xls");
  {
    CeloxConnection c = CeloxCreateEXCELFile(good.c_str());
    ASSERT_NE(c, nullptr);
    CeloxCloseEXCELFile(c);
  }
  const std::vector<char> workbook = readFile(good.name());
  std::mt19937 random(42);
  struct Case {
    std::string what;
    std::vector<char> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"text", std::vector<char>(3000, 'x')});
  std::vector<char> noise(8192);
  for (auto& b : noise) b = static_cast<char>(random());
  cases.push_back({"random bytes", noise});
  for (std::size_t cut : {100u, 512u, 1024u, 2000u, 7680u, 11000u})
    cases.push_back({"cut at " + std::to_string(cut), std::vector<char>(workbook.begin(), workbook.begin() + cut)});
  auto signatureOnly = workbook;
  std::fill(signatureOnly.begin() + 8, signatureOnly.end(), '\xFF');
  cases.push_back({"signature only", signatureOnly});
  auto loopingFat = workbook;
  // The FAT (sector 3) sends the Workbook chain back to its own start.
  const std::size_t fat = 512 * 4;
  loopingFat[fat + 4 * 21] = 14;
  std::fill(loopingFat.begin() + static_cast<std::ptrdiff_t>(fat + 4 * 21 + 1), loopingFat.begin() + static_cast<std::ptrdiff_t>(fat + 4 * 22), '\0');
  cases.push_back({"looping chain", loopingFat});
  auto noWorkbookStream = workbook;
  const std::size_t directory = 512 * 3;
  noWorkbookStream[directory + 128] = 'X';  // renames "Workbook"
  cases.push_back({"no workbook stream", noWorkbookStream});
  auto oldBiff = workbook;
  oldBiff[512 * 15 + 4] = 0x00;  // BOF version 0x0600 becomes 0x0000
  oldBiff[512 * 15 + 5] = 0x05;
  cases.push_back({"older BIFF", oldBiff});

  for (const auto& k : cases) {
    ScratchFile bad("connection_bad.xls");
    writeFile(bad.name(), k.bytes);
    EXPECT_EQ(CeloxOpenEXCELFile(bad.c_str()), nullptr) << k.what;
    EXPECT_NE(lastErrorText().find("70004 (Could not connect to datasource.)"), std::string::npos) << k.what;
  }
  // The library is sound afterwards: the good workbook still opens.
  CeloxConnection c = CeloxOpenEXCELFile(good.c_str());
  EXPECT_NE(c, nullptr);
  if (c) CeloxCloseEXCELFile(c);
}

TEST_F(WorkbookConnection, DamagedWorkbookContentsNeverCrashTheCatalogueOrReads) {
  ScratchFile source("connection_fuzz_source.xls");
  {
    CeloxConnection c = CeloxCreateEXCELFile(source.c_str());
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(CeloxCreateTable(c, "Data (Word TEXT, Number NUMBER)"), 0);
    TextColumn words(3, 16);
    std::vector<double> numbers{1, 2, 3};
    for (int r = 1; r <= 3; ++r) words.set(r, "word " + std::to_string(r));
    CeloxColumnBinding b[2] = {binding("Word", words.bytes.data(), 3, 1, 16), binding("Number", numbers.data(), 3, 8, 8)};
    ASSERT_EQ(CeloxWriteRows(c, "Data", 2, 3, b), 3);
    CeloxCloseEXCELFile(c);
  }
  const std::vector<char> workbook = readFile(source.name());
  std::mt19937 random(7);
  int opened = 0;
  for (int round = 0; round < 150; ++round) {
    auto damaged = workbook;
    // Damage a few bytes past the compound-file header.
    for (int k = 0; k < 4; ++k) damaged[512 + random() % (damaged.size() - 512)] = static_cast<char>(random());
    ScratchFile bad("connection_fuzz.xls");
    writeFile(bad.name(), damaged);
    CeloxConnection c = CeloxOpenEXCELFile(bad.c_str());
    lastErrorText();
    if (!c) continue;
    ++opened;
    std::int32_t count = 0, error = 0;
    std::vector<ColumnInfo> infos(8);
    CeloxListColumns(c, "Data$", 8, infos.data(), &count, &error);
    const std::int32_t rows = CeloxGetRowCount(c, "Data");
    TextColumn words(4, 16);
    std::vector<double> numbers(4);
    CeloxColumnBinding b[2] = {binding("Word", words.bytes.data(), 4, 1, 16), binding("Number", numbers.data(), 4, 8, 8)};
    const std::int32_t read = CeloxReadRows(c, "Data", 2, -1, b, "", "");
    EXPECT_LE(read, 4);
    EXPECT_GE(rows, -1);
    CeloxCloseEXCELFile(c);
  }
  EXPECT_GT(opened, 0);  // many damages hit bytes that do not matter
}

}  // namespace
