// The library's exports as a family, its error texts and its small utilities,
// through Celox.dll.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "celox_test_support.h"

namespace {

using namespace celox_test;

class LibraryInterface : public ::testing::Test {
 protected:
  void SetUp() override { resetLibrary(); }
  void TearDown() override { resetLibrary(); }
};

TEST_F(LibraryInterface, ExportsCarryTheirDecoratedNamesAndArgumentSizes) {
  HMODULE dll = GetModuleHandleA("Celox.dll");
  ASSERT_NE(dll, nullptr);
  for (const char* name : {"_Celoxop@4", "_Celoxcr@4", "_Celoxcl@4", "_Celoxtn@20", "_Celoxtx@8", "_Celoxci@24",
                           "_Celoxrc@8", "_Celoxct@8", "_Celoxrr@28", "_Celoxwr@20", "_Celoxel@4", "_Celoxmd@4",
                           "_Celoxem@8", "_Celoxsl@4", "_Celoxnv@4", "_Celoxcs@12"})
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  // The ODBC layer inside is not exported.
  EXPECT_EQ(GetProcAddress(dll, "SQLAllocHandle"), nullptr);
}

TEST_F(LibraryInterface, MessagesBeforeAnyFailureAreEmpty) {
  std::vector<char> buffer(1100, 'x');
  EXPECT_EQ(CeloxGetErrorMessages(buffer.data(), 1100), 0);
  EXPECT_EQ(buffer[0], '\0');
  // Blanks up to the 1024th character, nothing beyond.
  EXPECT_EQ(std::string(buffer.begin() + 1, buffer.begin() + 1024), std::string(1023, ' '));
  EXPECT_EQ(buffer[1024], 'x');
}

TEST_F(LibraryInterface, ALibraryErrorIsTextedOnceWithItsContext) {
  ScratchFile book("interface_two_sheets.xls");
  CeloxConnection c = CeloxCreateEXCELFile(book.c_str());
  ASSERT_NE(c, nullptr);
  std::int32_t count = -1, error = -1;
  std::vector<char> names(kCeloxTableNameLength);
  CeloxGetTableNames(c, 1, names.data(), &count, &error);
  EXPECT_EQ(error, qxERRORInsufficientDimension);

  // Too short a buffer: nothing written, the length needed, and the error is gone.
  std::vector<char> small(60, 'x');
  EXPECT_EQ(CeloxGetErrorMessages(small.data(), 60), 108);
  EXPECT_EQ(small, std::vector<char>(60, 'x'));
  EXPECT_EQ(lastErrorText(), "");

  CeloxGetTableNames(c, 1, names.data(), &count, &error);
  EXPECT_EQ(lastErrorText(),
            "Error when calling  CeloxGetTableNames\r\n"
            "Error code: 70005 (Array dimension or size is insufficient.)");
  EXPECT_EQ(lastErrorText(), "");
  CeloxCloseEXCELFile(c);
}

TEST_F(LibraryInterface, LevelAndDisplayTakeOnlyTheirTwoValues) {
  EXPECT_EQ(CeloxSetErrorLevel(2), 2);
  EXPECT_EQ(CeloxSetErrorMessagesDisplay(5), 5);
  // Nothing changed: display still off, so a failure shows no box and is recorded.
  EXPECT_EQ(CeloxGetRowCount(nullptr, ""), -1);
  EXPECT_NE(lastErrorText().find("70006 (A name has not been specified.)"), std::string::npos);
}

TEST_F(LibraryInterface, TextLengthStopsAtTheNulOrTrailingBlanks) {
  EXPECT_EQ(CeloxTextLength("abc"), 3);
  EXPECT_EQ(CeloxTextLength(""), 0);
  std::vector<char> padded(65536, ' ');
  std::memcpy(padded.data(), "abc", 3);
  EXPECT_EQ(CeloxTextLength(padded.data()), 3);
}

TEST_F(LibraryInterface, NumericToDoubleAppliesScaleAndSign) {
  struct Case {
    std::uint8_t low, high;
    std::int8_t scale;
    std::uint8_t sign;
    double expected;
  };
  for (const Case& k : {Case{0x39, 0x30, 2, 0, -123.45}, Case{0x39, 0x30, 0, 1, 12345.0},
                        Case{0x39, 0x30, -3, 1, 12345.0}, Case{0x39, 0x30, 12, 1, 12345e-12}}) {
    SQL_NUMERIC_STRUCT n{};
    n.precision = 5;
    n.scale = k.scale;
    n.sign = k.sign;
    n.val[0] = k.low;
    n.val[1] = k.high;
    EXPECT_DOUBLE_EQ(CeloxNumericToDouble(&n), k.expected) << int(k.scale);
  }
  SQL_NUMERIC_STRUCT top{};
  top.sign = 1;
  top.val[15] = 1;
  EXPECT_DOUBLE_EQ(CeloxNumericToDouble(&top), std::ldexp(1.0, 120));
}

TEST_F(LibraryInterface, FailedCallsShowTheDriverDiagnosticsInABox) {
  ScratchFile text("interface_not_a_workbook.xls");
  writeFile(text.name(), std::vector<char>(2000, 'A'));
  CeloxSetErrorMessagesDisplay(1);
  std::vector<std::string> shown;
  {
    ErrorBoxAnswerer answerer;
    EXPECT_EQ(CeloxOpenEXCELFile(text.c_str()), nullptr);
    shown = answerer.texts();
  }
  ASSERT_EQ(shown.size(), 1u);
  // The box comes while the driver connect is judged, under the context of the
  // last inner routine; the library's own code and context follow.
  EXPECT_NE(shown[0].find("Error when calling  qxInitForEXCEL"), std::string::npos) << shown[0];
  EXPECT_NE(shown[0].find("Error code: -1 (SQL_ERROR)"), std::string::npos) << shown[0];
  EXPECT_NE(shown[0].find("SQL State: HY000"), std::string::npos) << shown[0];
  EXPECT_NE(shown[0].find("not an Excel 97-2003 workbook"), std::string::npos) << shown[0];
  // The library's own code is recorded after the box and waits to be fetched.
  EXPECT_EQ(lastErrorText(), "Error when calling  qxEXCELConnect\r\nError code: 70004 (Could not connect to datasource.)");
}

TEST_F(LibraryInterface, ASuccessWithInformationCountsOnlyAtLevelOne) {
  ScratchFile book("interface_long_text.xls");
  CeloxConnection c = CeloxCreateEXCELFile(book.c_str());
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(CeloxCreateTable(c, "T (Words TEXT)"), 0);
  TextColumn words(1, 32);
  words.set(1, std::string(31, 'w'));
  auto in = binding("Words", words.bytes.data(), 1, 1, 32);
  ASSERT_EQ(CeloxWriteRows(c, "T", 1, 1, &in), 1);

  TextColumn shortWords(1, 8);
  auto out = binding("Words", shortWords.bytes.data(), 1, 1, 8);
  EXPECT_EQ(CeloxReadRows(c, "T", 1, -1, &out, "", ""), -1);  // cut text: a warning, failing at level 0
  EXPECT_NE(lastErrorText().find("SQLFetch( hBef )"), std::string::npos);

  CeloxSetErrorLevel(1);
  CeloxSetErrorMessagesDisplay(1);
  std::vector<std::string> shown;
  {
    ErrorBoxAnswerer answerer;
    EXPECT_EQ(CeloxReadRows(c, "T", 1, -1, &out, "", ""), 1);
    shown = answerer.texts();
  }
  EXPECT_EQ(shortWords.text(1), std::string(7, 'w'));
  ASSERT_EQ(shown.size(), 1u);  // the warning is still shown
  EXPECT_NE(shown[0].find("SQL_SUCCESS_WITH_INFO"), std::string::npos) << shown[0];
  EXPECT_NE(shown[0].find("01004"), std::string::npos) << shown[0];
  CeloxSetErrorMessagesDisplay(0);
  CeloxCloseEXCELFile(c);
}

}  // namespace
