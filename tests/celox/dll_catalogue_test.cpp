// The worksheet catalogue through Celox.dll: on LibreOffice's workbooks and on
// workbooks the library made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "celox_test_support.h"

namespace {

using namespace celox_test;

constexpr char kLibreOfficeBook[] = "fixtures/libreoffice_book.xls";

std::string nameAt(const std::vector<char>& names, int i) {
  return names.data() + static_cast<std::ptrdiff_t>(i) * kCeloxTableNameLength;
}

class WorksheetCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    resetLibrary();
    connection = CeloxOpenEXCELFile(kLibreOfficeBook);
    ASSERT_NE(connection, nullptr) << lastErrorText();
  }
  void TearDown() override {
    if (connection) CeloxCloseEXCELFile(connection);
    resetLibrary();
  }
  CeloxConnection connection = nullptr;
};

TEST_F(WorksheetCatalogue, ListsEveryWorksheetInWorkbookOrder) {
  std::int32_t count = -1, error = -1;
  std::vector<char> untouched(kCeloxTableNameLength, 'x');
  CeloxGetTableNames(connection, 0, untouched.data(), &count, &error);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(error, qxERRORInsufficientDimension);
  EXPECT_EQ(untouched, std::vector<char>(kCeloxTableNameLength, 'x'));

  std::vector<char> names(2 * kCeloxTableNameLength, 'x');
  CeloxGetTableNames(connection, 1, names.data(), &count, &error);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(error, qxERRORInsufficientDimension);
  EXPECT_EQ(nameAt(names, 0), "Points$");
  // The rest of the element is blank; the next element was not written.
  EXPECT_EQ(names[7], '\0');
  EXPECT_EQ(names[8], ' ');
  EXPECT_EQ(names[kCeloxTableNameLength - 1], ' ');
  EXPECT_EQ(names[kCeloxTableNameLength], 'x');

  names.assign(4 * kCeloxTableNameLength, 'x');
  CeloxGetTableNames(connection, 4, names.data(), &count, &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(nameAt(names, 0), "Points$");
  EXPECT_EQ(nameAt(names, 1), "Routes$");
  EXPECT_EQ(nameAt(names, 2), "Many strings$");
  EXPECT_EQ(nameAt(names, 3), "Empty$");
}

TEST_F(WorksheetCatalogue, FindsAWorksheetByNameIgnoringCase) {
  struct Case {
    const char* name;
    std::int32_t expected;
  };
  for (const Case& k : {Case{"Points", 1}, Case{"points", 1}, Case{"ROUTES", 1}, Case{"Many strings", 1},
                        Case{"Points$", 0}, Case{"Point", 0}, Case{"Tracks", 0}, Case{"", -1}})
    EXPECT_EQ(CeloxDoesTableNameExist(connection, k.name), k.expected) << k.name;
}

// Every heap of the process is whole: no block was written past its end.
bool heapsAreWhole() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  return std::all_of(heaps.begin(), heaps.end(), [](HANDLE heap) { return HeapValidate(heap, 0, nullptr) != FALSE; });
}

// A wanted name that fills the whole limit of 20480 characters, without a NUL:
// the lookup copies it into its own list of names and must stay inside it.  A
// further run of this test under Wine's heap checking must show no heap message
// (tests/celox/CMakeLists.txt).
TEST_F(WorksheetCatalogue, ANameFillingTheWholeLimitStaysInsideItsBlock) {
  std::vector<char> name(kCeloxTableNameLength, 'p');
  for (int i = 0; i < 20; ++i) EXPECT_EQ(CeloxDoesTableNameExist(connection, name.data()), 0);
  EXPECT_TRUE(heapsAreWhole());
  // Without a NUL the name ends at its last non-blank, and is then found.
  std::fill(name.begin(), name.end(), ' ');
  std::memcpy(name.data(), "pOINTS", 6);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, name.data()), 1);
  EXPECT_TRUE(heapsAreWhole());
}

TEST_F(WorksheetCatalogue, ListsColumnsAndClearsTheUnusedRecords) {
  std::vector<ColumnInfo> infos(8);
  std::memset(infos.data(), 'x', infos.size() * sizeof(ColumnInfo));
  std::int32_t count = -1, error = -1;
  CeloxListColumns(connection, "Routes$", 5, infos.data(), &count, &error);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(error, 0);
  EXPECT_STREQ(infos[0].columnName, "Route");
  EXPECT_EQ(infos[0].sqlDataType, SQL_VARCHAR);
  EXPECT_STREQ(infos[0].typeName, "VARCHAR");
  EXPECT_EQ(infos[0].columnSize, 255);
  EXPECT_STREQ(infos[1].columnName, "Seq");
  EXPECT_EQ(infos[1].sqlDataType, SQL_DOUBLE);
  EXPECT_STREQ(infos[1].typeName, "NUMBER");
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(infos[i].columnName[0], '\0');
    EXPECT_EQ(std::string(infos[i].columnName + 1, 63), std::string(63, ' '));
    EXPECT_EQ(infos[i].sqlDataType, 0);
    EXPECT_EQ(infos[i].typeName[0], '\0');
    EXPECT_EQ(infos[i].columnSize, 0);
  }
  EXPECT_EQ(infos[5].columnName[0], 'x');  // beyond maxColumns: untouched

  CeloxListColumns(connection, "Points$", 3, infos.data(), &count, &error);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(error, qxERRORInsufficientDimension);
  CeloxListColumns(connection, "Points$", 8, infos.data(), &count, &error);
  ASSERT_EQ(count, 6);
  const char* expected[] = {"Name", "Latitude", "Longitude", "When", "Count", "Note"};
  for (int i = 0; i < 6; ++i) EXPECT_STREQ(infos[i].columnName, expected[i]);
  EXPECT_STREQ(infos[3].typeName, "DATETIME");
  EXPECT_EQ(infos[3].sqlDataType, SQL_TIMESTAMP);  // the library asks for ODBC 2 types
}

TEST_F(WorksheetCatalogue, CountsDataRowsWithOrWithoutTheDollar) {
  EXPECT_EQ(CeloxGetRowCount(connection, "Points"), 4);
  EXPECT_EQ(CeloxGetRowCount(connection, "Points$"), 4);
  EXPECT_EQ(CeloxGetRowCount(connection, "Many strings"), 700);
  EXPECT_EQ(CeloxGetRowCount(connection, "Empty"), 0);
  EXPECT_EQ(CeloxGetRowCount(connection, "Nowhere"), -1);
  EXPECT_EQ(lastErrorText().substr(0, 60), "Error when calling  SQLExecDirect( hBef, sSQLStmt, SQL_NTS )");
  EXPECT_EQ(CeloxGetRowCount(connection, ""), -1);
  EXPECT_NE(lastErrorText().find("70006"), std::string::npos);
}

class CreatedWorkbook : public ::testing::Test {
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
  ScratchFile book{"catalogue_created.xls"};
  CeloxConnection connection = nullptr;
};

TEST_F(CreatedWorkbook, CreatesWorksheetsThatAreListedAndKept) {
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "Points"), 0);
  ASSERT_EQ(CeloxCreateTable(connection, "Points ([OS Grid Reference] TEXT, Latitude NUMBER, [Date and Time] DATETIME)"), 0);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "points"), 1);
  EXPECT_EQ(CeloxGetRowCount(connection, "Points"), 0);
  std::vector<ColumnInfo> infos(4);
  std::int32_t count = 0, error = 0;
  CeloxListColumns(connection, "Points$", 4, infos.data(), &count, &error);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(infos[0].columnName, "OS Grid Reference");
  EXPECT_STREQ(infos[2].columnName, "Date and Time");
  // The worksheet is in the file at once.
  CeloxCloseEXCELFile(connection);
  connection = CeloxOpenEXCELFile(book.c_str());
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "Points"), 1);
  EXPECT_EQ(CeloxDoesTableNameExist(connection, "Tabelle3"), 1);
}

TEST_F(CreatedWorkbook, RefusedTableDefinitionsGiveTheirCodes) {
  EXPECT_EQ(CeloxCreateTable(connection, ""), qxERRORNameMissing);
  ASSERT_EQ(CeloxCreateTable(connection, "Twice (A TEXT)"), 0);
  EXPECT_EQ(CeloxCreateTable(connection, "Twice (A TEXT)"), qxERRORExecDirectFailed);
  EXPECT_EQ(lastErrorText().substr(0, 36), "Error when calling  CeloxCreateTable");
  EXPECT_EQ(CeloxCreateTable(connection, "Broken (A TEXT"), qxERRORExecDirectFailed);
  EXPECT_EQ(CeloxCreateTable(connection, "Bad:name (A TEXT)"), qxERRORExecDirectFailed);
}

TEST_F(CreatedWorkbook, TableDefinitionLengthIsBoundedByTheStatementBuffer) {
  const auto tableDefinition = [](std::size_t length) {
    std::string s = "L ([";
    s += std::string(length - 11, 'c');
    s += "] TEXT)";
    return s;
  };
  EXPECT_EQ(tableDefinition(20466).size(), 20466u);
  EXPECT_EQ(CeloxCreateTable(connection, tableDefinition(20467).c_str()), qxERRORBufferTooSmall);
  EXPECT_EQ(CeloxCreateTable(connection, tableDefinition(20466).c_str()), 0);
}

TEST_F(CreatedWorkbook, ColumnNamesOf63And64CharactersFillTheirField) {
  const std::string name63(63, 'a'), name64(64, 'b');
  ASSERT_EQ(CeloxCreateTable(connection, ("Wide ([" + name63 + "] TEXT, [" + name64 + "] TEXT)").c_str()), 0);
  std::vector<ColumnInfo> infos(2);
  std::int32_t count = 0, error = 0;
  CeloxListColumns(connection, "Wide$", 2, infos.data(), &count, &error);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(std::string(infos[0].columnName, 63), name63);
  EXPECT_EQ(infos[0].columnName[63], '\0');
  EXPECT_EQ(std::string(infos[1].columnName, 64), name64);  // no room for a NUL
  // A binding name of 64 characters without NUL or blanks is used whole.
  TextColumn values(1, 8);
  CeloxColumnBinding b = binding(name64, values.bytes.data(), 1, 1, 8);
  EXPECT_EQ(CeloxReadRows(connection, "Wide", 1, -1, &b, "", ""), 0) << lastErrorText();
  std::int32_t none = -1;
  CeloxListColumns(connection, nullptr, 2, infos.data(), &none, &error);
  EXPECT_EQ(none, 0);
}

}  // namespace
