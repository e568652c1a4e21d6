// A save that fails part way, or that meets a file it cannot replace, leaves
// the earlier file byte for byte and nothing else in its folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "formats_tabular2/tabular_fixture.h"
#include "support/write_failure.h"

namespace tabular_test {
namespace {

using Names = std::vector<std::string>;

struct Writer {
  const char* routine;
  const char* file;
};

const Writer kWriters[] = {
    {"WRITE_OZI_WPT", "points.wpt"}, {"WRITE_OZI_RTE", "routes.rte"}, {"WRITE_OZI_PLT", "track.plt"},
    {"WRITE_MXF", "marks.mxf"},      {"WRITE_RXF", "routes.rxf"},     {"WRITE_TXF", "tracks.txf"},
    {"WRITE_MM_MARKS_CSV", "marks.csv"},
};

constexpr char kFolder[] = "failed save";
constexpr char kEarlier[] = "the earlier file, which must survive\r\n";
constexpr int kPoints = 400;

class FailedSave : public Converter {
 protected:
  // The writer's target in the emptied folder, holding the earlier file.
  static std::string prepare(const Writer& w) { return write_failure::earlierFileIn(kFolder, w.file, kEarlier); }
  static void expectUntouched(const std::string& target, const Writer& w, const ChildRun& run) {
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(readFile(target), kEarlier);
    EXPECT_EQ(write_failure::namesIn(kFolder), Names{w.file});
    for (const std::string& line : run.log) EXPECT_EQ(line.find("written"), std::string::npos) << line;
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].title, "File error");
  }
};

TEST_F(FailedSave, AFullDiskPartWayLeavesTheEarlierFileAndNothingElse) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.routine);
    const std::string target = prepare(w);
    expectUntouched(target, w, runInChild(w.routine, target, kPoints, 100));
  }
}

TEST_F(FailedSave, AReadOnlyTargetIsToldAndLeftAlone) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.routine);
    const std::string target = prepare(w);
    ChildRun run;
    {
      const write_failure::TargetRefused refused(target, write_failure::TargetRefused::kReadOnly);
      run = runInChild(w.routine, target, kPoints);
    }
    expectUntouched(target, w, run);
  }
}

TEST_F(FailedSave, ASaveThatSucceedsReplacesTheFileAndLeavesNoTemporaryFile) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.routine);
    const std::string target = prepare(w);
    const ChildRun run = runInChild(w.routine, target, kPoints);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_NE(readFile(target), kEarlier);
    ASSERT_FALSE(run.log.empty());
    EXPECT_NE(run.log.back().find("written"), std::string::npos) << run.log.back();
    EXPECT_EQ(write_failure::namesIn(kFolder), Names{w.file});
  }
}

}  // namespace
}  // namespace tabular_test
