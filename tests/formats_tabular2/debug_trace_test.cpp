#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "formats_tabular2/tabular_fixture.h"

namespace {

using namespace tabular_test;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> all;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    all.push_back(line);
  }
  return all;
}

class DebugTrace : public Converter {
 protected:
  void TearDown() override {
    DEBUG_FLAG = kLogicalFalse;
    DEBUG_LOG.close();
  }
  // Runs the routine in debug mode and gives the lines it wrote to the log.
  std::vector<std::string> trace(const std::string& routine) {
    EXPECT_TRUE(DEBUG_LOG.open("trace.txt"));
    DEBUG_FLAG = kLogicalTrue;
    routineNamed(routine)();
    DEBUG_FLAG = kLogicalFalse;
    DEBUG_LOG.close();
    return lines(readFile("trace.txt"));
  }
};

TEST_F(DebugTrace, EveryRoutineNamesItselfOnEntryAndExit) {
  struct Case {
    const char* routine;
    const char* file;
    std::string content;
    const char* name;
    const char* exit;
  };
  const Case cases[] = {
      {"READ_MM_MARKS_CSV", "t.csv", "IC01\r\n", "read_MM_marks_csv", " Exit from Subroutine read_MM_marks_csv"},
      {"WRITE_MM_MARKS_CSV", "t.csv", "", "write_MM_marks_csv", " Exit from Subroutine write_MM_marks_csv"},
      {"READ_PSP", "t.psp", std::string(32, '\0'), "read_psp", " Exit from Subroutine read_psp"},
      {"READ_OZI_WPT", "t.wpt", "", "read_ozi_wpt", " Exit from Subroutine read_ozi_wpt"},
      {"WRITE_OZI_WPT", "t.wpt", "", "write_ozi_wpt", " Exit from Subroutine write_ozi_wpt"},
      {"READ_OZI_RTE", "t.rte", "", "read_ozi_rte", " Exit from Subroutine read_ozi_rte"},
      {"WRITE_OZI_RTE", "t.rte", "", "write_ozi_rte", " Exit from Subroutine write_ozi_rte"},
      {"READ_OZI_PLT", "t.plt", "", "read_ozi_plt", " Exit from Subroutine read_ozi_plt"},
      {"WRITE_OZI_PLT", "t.plt", "", "write_ozi_plt", " End of Subroutine write_ozi_plt"},
      {"READ_MXF", "t.mxf", "", "read_mxf", " Exit from Subroutine read_mxf"},
      {"WRITE_MXF", "t.mxf", "", "write_mxf", " Exit from Subroutine write_mxf"},
      {"READ_RXF", "t.rxf", "", "read_rxf", " Exit from Subroutine read_rxf"},
      {"WRITE_RXF", "t.rxf", "", "write_rxf", " Exit from Subroutine write_rxf"},
      {"READ_TXF", "t.txf", "", "read_txf", " Exit from Subroutine read_txf"},
      {"WRITE_TXF", "t.txf", "", "write_txf", " Exit from Subroutine write_txf"},
  };
  for (const Case& c : cases) {
    resetConverter();
    writeFile(c.file, c.content);
    setInput(c.file);
    setOutput(c.file);
    const std::vector<std::string> log = trace(c.routine);
    ASSERT_GE(log.size(), 2u) << c.routine;
    EXPECT_EQ(log.front(), std::string(" Subroutine ") + c.name);
    EXPECT_EQ(log.back(), c.exit);
  }
}

TEST_F(DebugTrace, ProgressLinesOfTheWritersAndReaders) {
  addPoint(1.0f, 2.0f, "A");
  setOutput("t.wpt");
  EXPECT_EQ(trace("WRITE_OZI_WPT"),
            (std::vector<std::string>{" Subroutine write_ozi_wpt", " Output file opened t.wpt", "   Allocate arrays",
                                      " Exit from Subroutine write_ozi_wpt"}));
  writeFile("t.rxf", "1.5,2,\"d\",\"n\",\"c\",\"r\",C8,118\r\n");
  setInput("t.rxf");
  EXPECT_EQ(trace("READ_RXF"), (std::vector<std::string>{
                                   " Subroutine read_rxf", " 5<1.5>", " 7<2>", " 11<d>", " 15<n>", " 19<c>",
                                   " ierr =  0", " 23<r>", " 26<C8>", " 30<118>", " Exit from Subroutine read_rxf"}));
}

}  // namespace
