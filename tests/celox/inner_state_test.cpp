// The library's inner state, linked from its objects: error texts for every
// kind of recorded code, the transfer-buffer layout, and the connection count.
#include <gtest/gtest.h>

#include <io.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "celox_test_support.h"
#include "spreadsheet/column_bindings.h"
#include "spreadsheet/library_state.h"

namespace {

using namespace celox_test;

class InnerState : public ::testing::Test {
 protected:
  void SetUp() override { resetLibrary(); }
  void TearDown() override { resetLibrary(); }
};

TEST_F(InnerState, EveryRecordedCodeHasItsText) {
  struct Case {
    std::int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {70001, "String not zero-terminated."},
      {70002, "Handle could not be created."},
      {70003, "Calling a SQL function failed."},
      {70007, "A parameter is invalid or is missing."},
      {70008, "Calling a direct SQL execution function failed."},
      {70009, "An internal buffer is too small."},
      {70010, "A type or a function is not supported."},
      {70200, "An error is unknown or not being \"named\"."},
      {70150, "Unknown error (in qxForEXCEL?)."},
      {70300, "Unknown error (probably a compiler runtime error or an Windows system error)."},
      {2, "Unknown error (probably a compiler runtime error or an Windows system error)."},
      {-2, "Unknown error (probably a compiler runtime error or an Windows system error)."},
  };
  for (const auto& k : cases) {
    celox::qxSetContext("SomeRoutine");
    celox::qxLastError = k.code;
    EXPECT_EQ(lastErrorText(),
              "Error when calling  SomeRoutine\r\nError code: " + std::to_string(k.code) + " (" + k.text + ")");
    EXPECT_EQ(celox::qxLastError, 0);
  }
}

TEST_F(InnerState, TheContextIsPaddedAndCutToFortyCharacters) {
  celox::qxSetContext("SQLBindParameter__( hBef, iCol = 12, ...)");
  EXPECT_EQ(std::string(celox::qxErrorContext.data(), 40), "SQLBindParameter__( hBef, iCol = 12, ...");
  celox::qxSetContext("Short");
  EXPECT_EQ(std::string(celox::qxErrorContext.data(), 40), "Short" + std::string(35, ' '));
}

TEST_F(InnerState, AnOdbcCodeIsTextedFromTheDriverDiagnostics) {
  ScratchFile text("inner_not_a_workbook.xls");
  writeFile(text.name(), std::vector<char>(600, 'q'));
  // With display on, the box shows SQLError's record; here it is fetched by hand.
  celox::qxLastError = 0;
  ASSERT_EQ(CeloxOpenEXCELFile(text.c_str()), nullptr);
  // The connection is gone, so SQLError has nothing to report: the short text.
  celox::qxLastError = SQL_ERROR;
  std::vector<char> tiny(84, 'x');
  EXPECT_EQ(CeloxGetErrorMessages(tiny.data(), 84), 85);
  celox::qxLastError = SQL_ERROR;
  EXPECT_EQ(lastErrorText(), "Error in  CeloxGetErrorMessages  when calling  SQLError(...).\r\nError code: -2");
}

TEST_F(InnerState, AFailedConnectReleasesItsConnection) {
  ScratchFile text("inner_failed_connect.xls");
  writeFile(text.name(), std::vector<char>(600, 'q'));
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(CeloxOpenEXCELFile(text.c_str()), nullptr);
    EXPECT_EQ(celox::qxOpenConnections, 0);
    EXPECT_EQ(celox::qxCurrentConnection, nullptr);
    EXPECT_EQ(celox::qxEnvironment, nullptr);
  }
  ScratchFile good("inner_good.xls");
  CeloxConnection c = CeloxCreateEXCELFile(good.c_str());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(celox::qxOpenConnections, 1);
  CeloxCloseEXCELFile(c);
  EXPECT_EQ(celox::qxOpenConnections, 0);
  EXPECT_EQ(celox::qxEnvironment, nullptr);
}

TEST_F(InnerState, TextsLieBackToBackInTheirTransferBuffer) {
  char a[17], b[129], c[7];
  double d1[1], d2[1];
  SQL_TIMESTAMP_STRUCT t[1];
  const CeloxColumnBinding bindings[] = {binding("A", a, 1, 1, 17), binding("D1", d1, 1, 8, 8),
                                         binding("B", b, 1, 1, 129), binding("T", t, 1, 11, 16),
                                         binding("D2", d2, 1, 8, 8), binding("C", c, 1, 12, 7)};
  celox::TransferBuffers buffers;
  ASSERT_TRUE(buffers.allocate(bindings, 6));
  EXPECT_EQ(buffers.textOffset(0), 1);
  EXPECT_EQ(buffers.textOffset(1), 18);
  EXPECT_EQ(buffers.textOffset(2), 147);
  const auto& s = buffers.slots();
  EXPECT_EQ(s[2].slot - s[0].slot, 17);
  EXPECT_EQ(s[5].slot - s[0].slot, 146);
  EXPECT_EQ(s[5].elementSize, 7);  // 153 bytes in all
  EXPECT_EQ(s[4].slot - s[1].slot, 8);  // two double slots of 8 bytes
  EXPECT_EQ(s[3].elementSize, 16);
  EXPECT_EQ(s[3].family, celox::TypeFamily::Timestamp);
}

TEST_F(InnerState, TextOffsetsGoBeyondSixteenBits) {
  std::vector<char> big(40000), small(10);
  const CeloxColumnBinding bindings[] = {binding("Big", big.data(), 1, 1, 40000), binding("Small", small.data(), 1, 1, 10)};
  celox::TransferBuffers buffers;
  ASSERT_TRUE(buffers.allocate(bindings, 2));
  EXPECT_EQ(buffers.textOffset(1), 40001);
}

TEST_F(InnerState, DiagnosticsArePrintedOnlyForDiagnosticCodes) {
  const char* path = "inner_diagnostics.txt";
  std::fflush(stdout);
  FILE* file = std::fopen(path, "w");
  ASSERT_NE(file, nullptr);
  const int saved = _dup(1);
  _dup2(_fileno(file), 1);
  CeloxPrintSQLDiagnostics(nullptr, nullptr, 0);
  CeloxPrintSQLDiagnostics(nullptr, nullptr, 5);
  CeloxPrintSQLDiagnostics(nullptr, nullptr, 0x10000);  // only the low 16 bits count: 0
  std::fflush(stdout);
  _dup2(saved, 1);
  _close(saved);
  std::fclose(file);
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  EXPECT_EQ(all.str(), "Unknown error code returned: 5\n");
  in.close();
  DeleteFileA(path);
}

}  // namespace
