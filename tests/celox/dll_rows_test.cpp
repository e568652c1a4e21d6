// Reading and writing rows through Celox.dll: the bindings check, the row
// limits, values of every kind, and the converter's twelve columns.
#include <gtest/gtest.h>

#include <cstring>

#include "celox_test_support.h"
#include "converter_columns.h"

namespace {

using namespace celox_test;

class Rows : public ::testing::Test {
 protected:
  void SetUp() override {
    resetLibrary();
    connection = CeloxCreateEXCELFile(book.c_str());
    ASSERT_NE(connection, nullptr);
  }
  void TearDown() override {
    if (connection) CeloxCloseEXCELFile(connection);
    resetLibrary();
  }
  // A table "Numbers" with a text and a number column and `rows` rows: "row r", r.
  void makeNumbers(int rows) {
    ASSERT_EQ(CeloxCreateTable(connection, "Numbers (Label TEXT, Value NUMBER)"), 0);
    TextColumn labels(rows, 16);
    std::vector<double> values(static_cast<std::size_t>(rows));
    for (int r = 1; r <= rows; ++r) {
      labels.set(r, "row " + std::to_string(r));
      values[static_cast<std::size_t>(r - 1)] = r;
    }
    CeloxColumnBinding b[2] = {binding("Label", labels.bytes.data(), rows, 1, 16),
                               binding("Value", values.data(), rows, 8, 8)};
    ASSERT_EQ(CeloxWriteRows(connection, "Numbers", 2, rows, b), rows);
  }
  ScratchFile book{"rows.xls"};
  CeloxConnection connection = nullptr;
};

TEST_F(Rows, BindingsAreCheckedInOrderBeforeAnythingHappens) {
  double numbers[2] = {};
  char texts[32] = {};
  const auto good = [&] { return binding("Value", numbers, 2, 8, 8); };
  struct Case {
    const char* what;
    std::vector<CeloxColumnBinding> bindings;
    std::int32_t code;
  };
  auto noName = good();
  std::memset(noName.columnName, ' ', 64);
  auto nulName = good();
  nulName.columnName[0] = '\0';
  auto zeroTextLength = binding("Label", texts, 2, 1, 0);
  auto zeroNumberLength = binding("Value", numbers, 2, 8, 0);
  auto noAddress = binding("Value", nullptr, 2, 8, 8);
  auto noElements = binding("Value", numbers, 0, 8, 8);
  const std::vector<Case> cases = {
      {"SQL_C_LONG", {binding("Value", numbers, 2, 4, 4)}, qxERRORInvalidParameter},
      {"SQL_C_SBIGINT", {binding("Value", numbers, 2, -25, 8)}, qxERRORNotSupported},
      {"SQL_C_BINARY", {binding("Value", numbers, 2, -2, 8)}, qxERRORNotSupported},
      {"SQL_C_WCHAR", {binding("Value", numbers, 2, -8, 8)}, qxERRORInvalidParameter},
      {"text of length 0", {zeroTextLength}, qxERRORInvalidParameter},
      {"blank name", {noName}, qxERRORNameMissing},
      {"name starting with NUL", {nulName}, qxERRORNameMissing},
      {"no address", {noAddress}, qxERRORInvalidParameter},
      {"no elements", {noElements}, qxERRORInvalidParameter},
      {"first bad column decides", {good(), binding("Value", numbers, 2, 4, 4), noName}, qxERRORInvalidParameter},
  };
  for (const auto& k : cases) {
    for (bool reading : {true, false}) {
      const auto n = static_cast<std::int32_t>(k.bindings.size());
      const std::int32_t result = reading ? CeloxReadRows(connection, "Nowhere", n, -1, k.bindings.data(), "", "")
                                          : CeloxWriteRows(connection, "Nowhere", n, 2, k.bindings.data());
      EXPECT_EQ(result, -1) << k.what;
      // The code of the check, not the driver's: the missing table was never asked for.
      EXPECT_NE(lastErrorText().find("Error code: " + std::to_string(k.code)), std::string::npos)
          << k.what << (reading ? " reading" : " writing");
    }
  }
  // A number column does not need an element length.
  makeNumbers(1);
  auto value = zeroNumberLength;
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &value, "", ""), 1);
  EXPECT_EQ(numbers[0], 1.0);
}

TEST_F(Rows, ReadArgumentsAreCheckedFirst) {
  double numbers[2] = {};
  auto b = binding("Value", numbers, 2, 4, 4);  // a refused type, never looked at for nRows 0
  CeloxGetRowCount(connection, "");             // leaves 70006 recorded
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, 0, &b, "", ""), 0);
  EXPECT_NE(lastErrorText().find("70006"), std::string::npos);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -2, &b, "", ""), -1);
  EXPECT_NE(lastErrorText().find("70007"), std::string::npos);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 0, -1, &b, "", ""), -1);
  EXPECT_NE(lastErrorText().find("70007"), std::string::npos);
  EXPECT_EQ(CeloxReadRows(connection, "", 1, -1, &b, "", ""), -1);
  EXPECT_NE(lastErrorText().find("70006"), std::string::npos);
  std::string longOrder(20460, 'o');
  auto good = binding("Value", numbers, 2, 8, 8);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &good, "", longOrder.c_str()), -1);
  EXPECT_NE(lastErrorText().find("70009"), std::string::npos);
}

TEST_F(Rows, ReadStopsAtTheRowLimitAndTheSmallestArray) {
  makeNumbers(10);
  struct Case {
    int rows, nRows, elements, expected;
  };
  for (const Case& k : {Case{10, 5, 12, 5}, Case{10, -1, 12, 10}, Case{10, -1, 4, 4}, Case{10, 7, 3, 3}}) {
    std::vector<double> values(12, -1.0);
    auto b = binding("Value", values.data(), k.elements, 8, 8);
    EXPECT_EQ(CeloxReadRows(connection, "Numbers$", 1, k.nRows, &b, "", ""), k.expected);
    for (int r = 0; r < 12; ++r) EXPECT_EQ(values[static_cast<std::size_t>(r)], r < k.expected ? r + 1 : -1.0) << r;
  }
  ASSERT_EQ(CeloxCreateTable(connection, "Few (Value NUMBER)"), 0);
  std::vector<double> values(5, -1.0);
  auto b = binding("Value", values.data(), 5, 8, 8);
  EXPECT_EQ(CeloxReadRows(connection, "Few", 1, -1, &b, "", ""), 0);
  EXPECT_EQ(lastErrorText(), "");
}

TEST_F(Rows, EmptyCellsReadAsZeroBytes) {
  ASSERT_EQ(CeloxCreateTable(connection, "Gaps (Label TEXT, Value NUMBER, [When] DATETIME)"), 0);
  TextColumn labels(2, 8);
  labels.set(1, "");
  labels.set(2, "b");
  std::vector<double> values{0, 2};
  std::vector<SQL_TIMESTAMP_STRUCT> when(2);  // all zeros: no date
  when[1] = {2007, 3, 5, 14, 7, 9, 0};
  CeloxColumnBinding in[3] = {binding("Label", labels.bytes.data(), 2, 1, 8), binding("Value", values.data(), 2, 8, 8),
                              binding("[When]", when.data(), 2, 11, 16)};
  ASSERT_EQ(CeloxWriteRows(connection, "Gaps", 3, 2, in), 2);

  TextColumn outLabels(2, 8);
  std::memset(outLabels.bytes.data(), 'x', outLabels.bytes.size());
  std::vector<double> outValues(2, -1);
  std::vector<SQL_TIMESTAMP_STRUCT> outWhen(2);
  std::memset(outWhen.data(), 0xAB, sizeof(SQL_TIMESTAMP_STRUCT) * 2);
  CeloxColumnBinding out[3] = {binding("Label", outLabels.bytes.data(), 2, 1, 8),
                               binding("Value", outValues.data(), 2, 8, 8), binding("[When]", outWhen.data(), 2, 11, 16)};
  ASSERT_EQ(CeloxReadRows(connection, "Gaps", 3, -1, out, "", ""), 2);
  EXPECT_EQ(std::vector<char>(outLabels.at(1), outLabels.at(1) + 8), std::vector<char>(8, '\0'));
  EXPECT_EQ(outLabels.text(2), "b");
  EXPECT_EQ(outValues[0], 0.0);
  const SQL_TIMESTAMP_STRUCT zero{};
  EXPECT_EQ(std::memcmp(&outWhen[0], &zero, sizeof zero), 0);
  EXPECT_EQ(outWhen[1].year, 2007);
  EXPECT_EQ(outWhen[1].second, 9);
}

// Each write saves the workbook; the next use of the same connection must see
// what that save wrote: rows go on below the earlier ones, texts met before keep
// their shared string, and a new sheet leaves the first one as it was.
TEST_F(Rows, WritesOnOneConnectionFollowEachOther) {
  ASSERT_EQ(CeloxCreateTable(connection, "Words (Word TEXT)"), 0);
  const auto write = [&](const char* table, std::vector<std::string> words) {
    TextColumn in(static_cast<int>(words.size()), 8);
    for (std::size_t i = 0; i < words.size(); ++i) in.set(static_cast<int>(i + 1), words[i]);
    auto b = binding("Word", in.bytes.data(), static_cast<int>(words.size()), 1, 8);
    return CeloxWriteRows(connection, table, 1, static_cast<std::int32_t>(words.size()), &b);
  };
  ASSERT_EQ(write("Words", {"alpha", "beta"}), 2);
  ASSERT_EQ(write("Words", {"beta", "gamma"}), 2);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "Words"), 1);
  ASSERT_EQ(CeloxCreateTable(connection, "More (Word TEXT)"), 0);
  ASSERT_EQ(write("More", {"gamma"}), 1);
  EXPECT_EQ(CeloxGetRowCount(connection, "Words"), 4);

  const auto read = [&](const char* table, int rows) {
    TextColumn out(rows, 8);
    auto b = binding("Word", out.bytes.data(), rows, 1, 8);
    std::vector<std::string> words;
    if (CeloxReadRows(connection, table, 1, -1, &b, "", "") != rows) return words;
    for (int r = 1; r <= rows; ++r) words.push_back(out.text(r));
    return words;
  };
  EXPECT_EQ(read("Words", 4), (std::vector<std::string>{"alpha", "beta", "beta", "gamma"}));
  EXPECT_EQ(read("More", 1), (std::vector<std::string>{"gamma"}));
  // What another connection opens is what this one saw.
  ASSERT_EQ(CeloxCloseEXCELFile(connection), 0);
  connection = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(read("Words", 4), (std::vector<std::string>{"alpha", "beta", "beta", "gamma"}));
}

TEST_F(Rows, ALongTextIsCutToItsElementAtLevelOne) {
  ASSERT_EQ(CeloxCreateTable(connection, "Long (Words TEXT)"), 0);
  TextColumn words(1, 201);
  words.set(1, std::string(200, 'w'));
  auto in = binding("Words", words.bytes.data(), 1, 1, 201);
  ASSERT_EQ(CeloxWriteRows(connection, "Long", 1, 1, &in), 1);
  CeloxSetErrorLevel(1);
  TextColumn out(1, 129);
  std::memset(out.bytes.data(), 'x', 129);
  auto b = binding("Words", out.bytes.data(), 1, 1, 129);
  EXPECT_EQ(CeloxReadRows(connection, "Long", 1, -1, &b, "", ""), 1);
  EXPECT_EQ(std::string(out.at(1), 128), std::string(128, 'w'));
  EXPECT_EQ(out.at(1)[128], '\0');
}

TEST_F(Rows, AFailedFetchKeepsTheRowsBeforeIt) {
  ASSERT_EQ(CeloxCreateTable(connection, "Small (Value NUMBER)"), 0);
  std::vector<double> values{1, 2, 3, 100000, 5};
  auto in = binding("Value", values.data(), 5, 8, 8);
  ASSERT_EQ(CeloxWriteRows(connection, "Small", 1, 5, &in), 5);
  std::vector<std::int16_t> shorts(5, -1);
  auto out = binding("Value", shorts.data(), 5, SQL_C_SSHORT, 2);  // 100000 does not fit
  EXPECT_EQ(CeloxReadRows(connection, "Small", 1, -1, &out, "", ""), -1);
  EXPECT_EQ(lastErrorText(), "Error when calling  SQLFetch( hBef )\r\nError code: 70003 (Calling a SQL function failed.)");
  EXPECT_EQ(shorts, (std::vector<std::int16_t>{1, 2, 3, -1, -1}));
}

TEST_F(Rows, AConditionAndAnOrderChooseAndSortTheRows) {
  makeNumbers(10);
  std::vector<double> values(10, -1.0);
  TextColumn labels(10, 16);
  CeloxColumnBinding b[2] = {binding("Value", values.data(), 10, 8, 8), binding("Label", labels.bytes.data(), 10, 1, 16)};
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 2, -1, b, "WHERE Value > 4 AND Label <> 'ROW 7'", "ORDER BY Value DESC"), 5)
      << lastErrorText();
  EXPECT_EQ(values, (std::vector<double>{10, 9, 8, 6, 5, -1, -1, -1, -1, -1}));
  EXPECT_EQ(labels.text(4), "row 6");
  // The row limit takes the first rows of the order.
  values.assign(10, -1.0);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers$", 1, 2, b, "where value between 2 and 8", "order by label desc"), 2);
  EXPECT_EQ(values, (std::vector<double>{8, 7, -1, -1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(lastErrorText(), "");
}

TEST_F(Rows, AConditionUpToTheStatementLimitIsRead) {
  makeNumbers(10);
  // "SELECT Value" + " FROM [Numbers$]" + " " + the condition + NUL fill the 20480 characters.
  constexpr std::size_t kLongest = 20447;
  const std::string item = " OR Value = 99", last = " OR Value = 7";
  std::string condition = "WHERE Value = 3";
  while (condition.size() + item.size() + last.size() <= kLongest) condition += item;
  condition += std::string(kLongest - condition.size() - last.size(), ' ') + last;
  ASSERT_EQ(condition.size(), kLongest);
  std::vector<double> values(10, -1.0);
  auto b = binding("Value", values.data(), 10, 8, 8);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &b, condition.c_str(), "ORDER BY Value DESC"), -1);
  EXPECT_NE(lastErrorText().find("70009"), std::string::npos);
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &b, condition.c_str(), ""), 2) << lastErrorText();
  EXPECT_EQ(values[0], 3.0);
  EXPECT_EQ(values[1], 7.0);
  condition += "x";
  EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &b, condition.c_str(), ""), -1);
  EXPECT_NE(lastErrorText().find("70009"), std::string::npos);
}

TEST_F(Rows, ClausesTheLayerCannotReadFailWithTheStatementError) {
  makeNumbers(3);
  struct Case {
    const char* condition;
    const char* order;
    const char* named;  // what the driver's diagnostic names
  };
  const Case cases[] = {{"WHERE Value >", "", "a column or a value expected at the end of the statement"},
                        {"WHERE Label = 'row 1", "", "near \"'row 1\""},
                        {"", "ORDER BY Value SIDEWAYS", "near \"SIDEWAYS\""},
                        {"Value > 1", "", "near \"Value > 1\""},
                        {"WHERE Missing > 1", "", "\"Missing\""}};
  for (const Case& k : cases) {
    std::vector<double> values(3, -1.0);
    auto b = binding("Value", values.data(), 3, 8, 8);
    CeloxSetErrorMessagesDisplay(0);
    EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &b, k.condition, k.order), -1) << k.condition << k.order;
    EXPECT_EQ(lastErrorText(),
              "Error when calling  SQLExecDirect( hBef, sSQLStmt, SQL_NTSL\r\n"
              "Error code: 70008 (Calling a direct SQL execution function failed.)");
    EXPECT_EQ(values, std::vector<double>(3, -1.0));
    // With the display on, the driver's diagnostic comes first, then the library's code.
    CeloxSetErrorMessagesDisplay(1);
    std::vector<std::string> shown;
    {
      ErrorBoxAnswerer answerer;
      EXPECT_EQ(CeloxReadRows(connection, "Numbers", 1, -1, &b, k.condition, k.order), -1);
      shown = answerer.texts();
    }
    ASSERT_EQ(shown.size(), 2u) << k.condition << k.order;
    EXPECT_NE(shown[0].find("SQL State: 42"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find(k.named), std::string::npos) << shown[0];
    EXPECT_NE(shown[1].find("70008"), std::string::npos) << shown[1];
  }
}

TEST_F(Rows, WriteArgumentsAndRowCounts) {
  makeNumbers(1);
  std::vector<double> values{7, 8, 9};
  auto b = binding("Value", values.data(), 3, 8, 8);
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers", 0, 1, &b), -1);
  EXPECT_NE(lastErrorText().find("70006"), std::string::npos);
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers$", 1, 0, &b), 0);
  EXPECT_EQ(lastErrorText(), "");
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers", 1, -3, &b), -3);
  EXPECT_EQ(lastErrorText(), "");
  EXPECT_EQ(CeloxGetRowCount(connection, "Numbers"), 1);
  // More rows than the arrays hold: refused before anything is written.
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers", 1, 4, &b), -1);
  EXPECT_NE(lastErrorText().find("70005"), std::string::npos);
  EXPECT_EQ(CeloxGetRowCount(connection, "Numbers"), 1);
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers", 1, 3, &b), 3);
  EXPECT_EQ(CeloxGetRowCount(connection, "Numbers"), 4);
}

TEST_F(Rows, AReadOnlyWorkbookIsLeftByteForByte) {
  makeNumbers(3);
  ASSERT_EQ(CeloxCloseEXCELFile(connection), 0);
  const std::vector<char> before = readFile(book.name());
  ASSERT_TRUE(SetFileAttributesA(book.c_str(), FILE_ATTRIBUTE_READONLY));
  connection = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr) << lastErrorText();

  std::vector<double> values{4, 5};
  auto b = binding("Value", values.data(), 2, 8, 8);
  EXPECT_EQ(CeloxWriteRows(connection, "Numbers", 1, 2, &b), -1);
  EXPECT_EQ(lastErrorText(), "Error when calling  qxFreeStmtHandle\r\nError code: 70003 (Calling a SQL function failed.)");
  // The rows that could not be saved are not read either.
  EXPECT_EQ(CeloxGetRowCount(connection, "Numbers"), 3);
  EXPECT_EQ(CeloxCreateTable(connection, "More (Word TEXT)"), qxERRORExecDirectFailed);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "More"), 0);
  EXPECT_EQ(CeloxCloseEXCELFile(connection), 0);
  connection = nullptr;

  EXPECT_EQ(readFile(book.name()), before);
  EXPECT_EQ(GetFileAttributesA(book.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  // Nothing was left beside it either.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*rows.xls*", &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  std::vector<std::string> names;
  do names.emplace_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(names, std::vector<std::string>{"rows.xls"});
}

TEST_F(Rows, AFailedExecutionKeepsTheRowsBeforeIt) {
  ASSERT_EQ(CeloxCreateTable(connection, "Dated ([When] DATETIME)"), 0);
  std::vector<SQL_TIMESTAMP_STRUCT> when(10, SQL_TIMESTAMP_STRUCT{2001, 2, 3, 4, 5, 6, 0});
  when[4].month = 13;
  auto b = binding("[When]", when.data(), 10, 11, 16);
  EXPECT_EQ(CeloxWriteRows(connection, "Dated", 1, 10, &b), -1);
  EXPECT_EQ(lastErrorText(), "Error when calling  SQLExecute( hBef )\r\nError code: 70003 (Calling a SQL function failed.)");
  EXPECT_EQ(CeloxGetRowCount(connection, "Dated"), 4);
  // And they are in the file.
  CeloxCloseEXCELFile(connection);
  connection = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(CeloxGetRowCount(connection, "Dated"), 4);
}

TEST_F(Rows, ATextWithoutNulIsWrittenWithItsWholeElement) {
  ASSERT_EQ(CeloxCreateTable(connection, "Names (Name TEXT, After TEXT)"), 0);
  // Element 1 fills all 8 bytes; the next element follows straight on.
  TextColumn names(2, 8);
  std::memcpy(names.at(1), "ABCDEFGH", 8);
  std::memcpy(names.at(2), "IJ\0", 3);
  TextColumn after(2, 4);
  after.set(1, "x");
  after.set(2, "y");
  CeloxColumnBinding in[2] = {binding("Name", names.bytes.data(), 2, 1, 8), binding("After", after.bytes.data(), 2, 1, 4)};
  ASSERT_EQ(CeloxWriteRows(connection, "Names", 2, 2, in), 2);
  TextColumn out(2, 32);
  auto b = binding("Name", out.bytes.data(), 2, 1, 32);
  ASSERT_EQ(CeloxReadRows(connection, "Names", 1, -1, &b, "", ""), 2);
  EXPECT_EQ(out.text(1), "ABCDEFGH");
  EXPECT_EQ(out.text(2), "IJ");
}

TEST_F(Rows, ValuesOfEveryAcceptedTypeTravelBothWays) {
  ASSERT_EQ(CeloxCreateTable(connection,
                             "Kinds (Flag LOGICAL, Tiny NUMBER, Small NUMBER, Whole NUMBER, Single NUMBER, "
                             "Exact NUMBER, Day DATETIME, Clock DATETIME, Word TEXT)"),
            0);
  std::uint8_t flag[1] = {1};
  std::int8_t tiny[1] = {-7};
  std::int16_t small[1] = {-1234};
  std::int32_t whole[1] = {123456789};
  float single[1] = {2.5f};
  SQL_NUMERIC_STRUCT exact[1] = {};
  exact[0].sign = 0;
  exact[0].val[0] = 0x39;
  exact[0].val[1] = 0x30;  // -12345
  SQL_DATE_STRUCT day[1] = {{2020, 2, 29}};
  SQL_TIME_STRUCT clock[1] = {{23, 59, 58}};
  char word[1][6] = {"hello"};
  CeloxColumnBinding in[9] = {binding("Flag", flag, 1, SQL_C_BIT, 1),       binding("Tiny", tiny, 1, SQL_C_STINYINT, 1),
                              binding("Small", small, 1, SQL_C_SSHORT, 2),  binding("Whole", whole, 1, SQL_C_SLONG, 4),
                              binding("Single", single, 1, SQL_C_FLOAT, 4), binding("Exact", exact, 1, SQL_C_NUMERIC, 19),
                              binding("Day", day, 1, SQL_C_TYPE_DATE, 6),   binding("Clock", clock, 1, SQL_C_TYPE_TIME, 6),
                              binding("Word", word, 1, SQL_VARCHAR, 6)};
  ASSERT_EQ(CeloxWriteRows(connection, "Kinds", 9, 1, in), 1) << lastErrorText();

  // Every column read back as a double, and as its own type.
  const char* names[] = {"Flag", "Tiny", "Small", "Whole", "Single", "Exact"};
  const double expected[] = {1, 1, -1234, 123456789, 2.5, -12345};  // a tiny integer travels as a bit
  for (int i = 0; i < 6; ++i) {
    double value = 0;
    auto b = binding(names[i], &value, 1, 8, 8);
    ASSERT_EQ(CeloxReadRows(connection, "Kinds", 1, -1, &b, "", ""), 1) << names[i];
    EXPECT_EQ(value, expected[i]) << names[i];
  }
  SQL_NUMERIC_STRUCT exactOut[1] = {};
  SQL_DATE_STRUCT dayOut[1] = {};
  SQL_TIME_STRUCT clockOut[1] = {};
  std::int32_t wholeOut[1] = {};
  char wordOut[1][10] = {};
  CeloxColumnBinding out[5] = {binding("Exact", exactOut, 1, SQL_C_NUMERIC, 19), binding("Day", dayOut, 1, SQL_C_TYPE_DATE, 6),
                               binding("Clock", clockOut, 1, SQL_C_TYPE_TIME, 6), binding("Whole", wholeOut, 1, SQL_C_ULONG, 4),
                               binding("Word", wordOut, 1, SQL_C_CHAR, 10)};
  ASSERT_EQ(CeloxReadRows(connection, "Kinds", 5, -1, out, "", ""), 1) << lastErrorText();
  EXPECT_DOUBLE_EQ(CeloxNumericToDouble(&exactOut[0]), -12345.0);
  EXPECT_EQ(dayOut[0].year, 2020);
  EXPECT_EQ(dayOut[0].month, 2);
  EXPECT_EQ(dayOut[0].day, 29);
  EXPECT_EQ(clockOut[0].hour, 23);
  EXPECT_EQ(clockOut[0].minute, 59);
  EXPECT_EQ(clockOut[0].second, 58);
  EXPECT_EQ(wholeOut[0], 123456789);
  EXPECT_STREQ(wordOut[0], "hello");
}

TEST_F(Rows, TheConverterColumnsRoundTrip) {
  ASSERT_EQ(CeloxCreateTable(connection, kPointsTableDefinition), 0);
  constexpr int kRows = 300;
  ConverterColumns in(kRows);
  for (int r = 1; r <= kRows; ++r) in.put(r, samplePoint(r));
  // A description of 200 characters fills its 129 bytes without a NUL.
  PointRow longOne = samplePoint(1);
  longOne.name = std::string(200, 'd');
  in.put(1, longOne);
  auto inBindings = in.bindings();
  ASSERT_EQ(CeloxWriteRows(connection, "Points", 12, kRows, inBindings.data()), kRows) << lastErrorText();
  CeloxCloseEXCELFile(connection);

  connection = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr);
  ASSERT_EQ(CeloxGetRowCount(connection, "Points"), kRows);
  ConverterColumns out(kRows);
  auto outBindings = out.bindings();
  CeloxSetErrorLevel(1);
  ASSERT_EQ(CeloxReadRows(connection, "Points", 12, -1, outBindings.data(), "", ""), kRows) << lastErrorText();
  longOne.name = std::string(128, 'd');  // read back into 129 bytes: 128 and the NUL
  EXPECT_EQ(out.differences(1, longOne), "");
  for (int r = 2; r <= kRows; ++r) ASSERT_EQ(out.differences(r, samplePoint(r)), "") << "row " << r;
}

}  // namespace
