// A workbook of 60000 rows of the converter's twelve columns, written and read
// back through Celox.dll.  The file stays behind for LibreOffice and xlrd
// (check_large_workbook.sh).
#include <gtest/gtest.h>

#include "celox_test_support.h"
#include "converter_columns.h"

namespace {

using namespace celox_test;

constexpr int kRows = 60000;
constexpr char kLargeWorkbook[] = "large_workbook.xls";
constexpr char kEmptyWorkbook[] = "empty_workbook.xls";

TEST(LargeWorkbook, TheBuiltInEmptyWorkbookIsLeftForOtherPrograms) {
  resetLibrary();
  CeloxConnection c = CeloxCreateEXCELFile(kEmptyWorkbook);
  ASSERT_NE(c, nullptr);
  CeloxCloseEXCELFile(c);
  EXPECT_EQ(readFile(kEmptyWorkbook).size(), 11776u);
}

TEST(LargeWorkbook, SixtyThousandRowsAreWrittenAndReadBack) {
  resetLibrary();
  DeleteFileA(kLargeWorkbook);
  {
    ConverterColumns in(kRows);
    for (int r = 1; r <= kRows; ++r) in.put(r, samplePoint(r));
    CeloxConnection c = CeloxCreateEXCELFile(kLargeWorkbook);
    ASSERT_NE(c, nullptr);
    CeloxSetErrorLevel(1);
    CeloxSetErrorMessagesDisplay(1);
    EXPECT_EQ(CeloxDoesTableNameExist(c, "Points"), 0);
    ASSERT_EQ(CeloxCreateTable(c, kPointsTableDefinition), 0);
    auto bindings = in.bindings();
    ASSERT_EQ(CeloxWriteRows(c, "Points", 12, kRows, bindings.data()), kRows);
    EXPECT_EQ(CeloxCloseEXCELFile(c), 0);
  }
  CeloxConnection c = CeloxOpenEXCELFile(kLargeWorkbook);
  ASSERT_NE(c, nullptr);
  CeloxSetErrorLevel(1);
  ASSERT_EQ(CeloxGetRowCount(c, "Points"), kRows);
  ConverterColumns out(kRows);
  auto bindings = out.bindings();
  ASSERT_EQ(CeloxReadRows(c, "Points", 12, -1, bindings.data(), "", ""), kRows);
  CeloxCloseEXCELFile(c);
  int wrong = 0;
  for (int r = 1; r <= kRows && wrong < 5; ++r) {
    const std::string d = out.differences(r, samplePoint(r));
    if (!d.empty()) {
      ++wrong;
      ADD_FAILURE() << "row " << r << ": " << d;
    }
  }
  resetLibrary();
}

}  // namespace
