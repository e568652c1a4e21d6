#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image_files_support.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/drivers/plot_output.h"
#include "toolkit/graphics/graphics_state.h"

namespace {

using namespace image_test;

class PlotOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    YYErrorStateReset();
    YYErrorModeSet(kReportSilent);
  }
  void TearDown() override {
    YYPROUClose(kPlotUnitFile);
    YYErrorStateReset();
  }
};

TEST_F(PlotOutput, WritesBytesTextAndRecordsWithTheirCounts) {
  const std::string path = scratchPath("plot.out");
  TEXT = "  " + path;  // leading blanks are passed over
  YYPROU(kPlotUnitFile);
  ASSERT_EQ(errorState.lastError, 0);
  EXPECT_EQ(YYPlotOutputStatus, 0);
  // The name is ended by a NUL for the system; the rest stays blank.
  EXPECT_EQ(TEXT.column(static_cast<int>(path.size()) + 3), '\0');
  EXPECT_EQ(TEXT.column(static_cast<int>(path.size()) + 4), ' ');

  YYPROUWriteBytes(kPlotUnitFile, std::string_view("AB\0C", 4));
  EXPECT_EQ(YYPlotOutputUnits[0], 4);
  YYPROUWriteText(kPlotUnitFile, "IN;SP1;");
  EXPECT_EQ(YYPlotOutputUnits[0], 9);
  std::memcpy(yyGrPointBuffer.x.data(), "xyz", 3);  // the record is the buffer's first bytes
  YYPROUWriteRecord(kPlotUnitFile, 3, 0);
  YYPROUWriteRecord(kPlotUnitFile, 0, 1);  // only the terminator
  EXPECT_EQ(YYPlotOutputUnits[0], 2);
  YYPROUWriteRecord(kPlotUnitFile, 2, 3);
  std::int32_t handle = 0;
  YYPROUHandle(kPlotUnitFile, handle);
  EXPECT_NE(handle, -1);
  YYPROUClose(kPlotUnitFile);
  EXPECT_EQ(errorState.lastError, 0);
  const Bytes got = readAll(path);
  EXPECT_EQ(std::string(got.begin(), got.end()), std::string("AB\0CIN;SP1;\r\nxyz\r\nxy\r\n", 22));
}

TEST_F(PlotOutput, BlankNameReportsOpenErrorWithThePreviousDetail) {
  TEXT = "no_such_folder\\x\\plot.out";
  YYPROU(kPlotUnitFile);
  EXPECT_EQ(errorState.lastError, 1);
  const int detail = errorState.ioDetail;
  EXPECT_NE(detail, 0);
  EXPECT_EQ(errorState.ioDetailKind, 2);

  YYErrorStateReset();
  YYPlotOutputStatus = 0;
  TEXT = "";
  YYPROU(kPlotUnitFile);
  EXPECT_EQ(errorState.lastError, 1);
  EXPECT_EQ(errorState.ioDetail, detail);
  EXPECT_EQ(YYPlotOutputStatus, -1);
}

TEST_F(PlotOutput, EveryWriteAfterAFailedOpenFailsWithError2) {
  TEXT = "no_such_folder\\x\\plot.out";
  YYPROU(kPlotUnitFile);
  std::int32_t handle = 0;
  YYPROUHandle(kPlotUnitFile, handle);
  EXPECT_EQ(handle, -1);
  const auto writes = {+[] { YYPROUWriteBytes(kPlotUnitFile, "abc"); },
                       +[] { YYPROUWriteText(kPlotUnitFile, "abc"); },
                       +[] { YYPROUWriteRecord(kPlotUnitFile, 1, 1); }};
  for (auto write : writes) {
    YYErrorStateReset();
    YYPlotOutputStatus = 0;
    write();
    EXPECT_EQ(errorState.lastError, 2);
    EXPECT_EQ(errorState.ioDetailKind, 2);
    EXPECT_EQ(YYPlotOutputStatus, -1);
    EXPECT_EQ(YYPlotOutputUnits[0], 0);
  }
}

TEST_F(PlotOutput, ReopeningEmptiesTheFile) {
  const std::string path = scratchPath("reopen.out");
  writeAll(path, Bytes(50, 'z'));
  TEXT = path;
  YYPROU(kPlotUnitFile);
  YYPROUWriteText(kPlotUnitFile, "1");
  YYPROUClose(kPlotUnitFile);
  EXPECT_EQ(readAll(path), (Bytes{'1', '\r', '\n'}));
}

}  // namespace
