// A save that fails part way, or that meets a file it cannot replace, leaves
// the earlier file byte for byte and nothing else in its folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "converter/log_display.h"
#include "device_test_support.h"
#include "formats/device/destinator.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
#include "support/write_failure.h"

namespace {

using namespace device_test;
using ::testing::HasSubstr;
using Names = std::vector<std::string>;

using Writer = write_failure::SaveCase;

const Writer kWriters[] = {
    {"WRITE_WPT", WRITE_WPT, "points.wpt"},       {"WRITE_RTE", WRITE_RTE, "routes.rte"},
    {"WRITE_TRK", WRITE_TRK, "tracks.trk"},       {"WRITE_GDB_WPT", WRITE_GDB_WPT, "points.gdb"},
    {"WRITE_OVR", WRITE_OVR, "points.ovr"},       {"WRITE_ASC", WRITE_ASC, "points.asc"},
    {"WRITE_ITN", WRITE_ITN, "route.itn"},        {"WRITE_DESTINATOR3_CSV", WRITE_DESTINATOR3_CSV, "points.csv"},
    {"WRITE_OV2", WRITE_OV2, "points.ov2"},
};

constexpr char kEarlier[] = "the earlier file, which must survive\r\n";

class FailedSave : public ::testing::Test {
 protected:
  void SetUp() override {
    resetConverter();
    // Enough points that every writer writes well past the first bytes.
    for (int i = 1; i <= 400; ++i) {
      addPoint(-1.5f + i * 0.001f, 52.25f + i * 0.001f, numbered("Point ", i), numbered("P", i)).ROUTE_NAME =
          i <= 200 ? "First" : "Second";
    }
  }
  // The writer's target in a fresh folder, holding the earlier file.
  std::string prepare(const Writer& w) {
    folder_.reset();
    folder_ = std::make_unique<ScratchFolder>(std::string("failed ") + w.name);
    const std::string target = write_failure::earlierFileIn(folder_->path(""), w.file, kEarlier);
    FILE_NAMES.OUTPUT_FILE = target;
    LOG_DISPLAY.LOG_COUNT = 0;
    boxes.clear();
    return target;
  }
  void expectUntouched(const std::string& target, const Writer& w) {
    EXPECT_EQ(readFile(target), kEarlier);
    EXPECT_EQ(write_failure::namesIn(folder_->path("")), Names{w.file});
    EXPECT_THAT(allLog(), ::testing::Not(HasSubstr("written")));
    EXPECT_FALSE(boxes.boxes().empty());
  }
  BoxAnswerer boxes;
  std::unique_ptr<ScratchFolder> folder_;
};

TEST_F(FailedSave, AFullDiskPartWayLeavesTheEarlierFileAndNothingElse) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    write_failure::saveOntoFullDisk([&] { return prepare(w); }, w.write,
                                    [&](const std::string& target) { expectUntouched(target, w); });
  }
}

TEST_F(FailedSave, AReadOnlyOrLockedTargetIsToldAndLeftAlone) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    write_failure::saveOntoRefusedTargets([&] { return prepare(w); }, w.write,
                                          [&](const std::string& target) { expectUntouched(target, w); });
  }
}

TEST_F(FailedSave, AMissingFolderIsTold) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    prepare(w);
    FILE_NAMES.OUTPUT_FILE = folder_->path("no such folder\\") + w.file;
    w.write();
    EXPECT_EQ(write_failure::namesIn(folder_->path("")), Names{w.file});
    EXPECT_FALSE(boxes.boxes().empty());
    EXPECT_THAT(allLog(), ::testing::Not(HasSubstr("written")));
  }
}

TEST_F(FailedSave, ASaveThatSucceedsReplacesTheFileAndLeavesNoTemporaryFile) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string target = prepare(w);
    w.write();
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
    EXPECT_NE(readFile(target), kEarlier);
    EXPECT_THAT(lastLog(), HasSubstr("written"));
    Names expected{w.file};
    // The overlays get their companion file beside them.
    const std::string file = w.file;
    if (file == "points.ov2") expected = {"points.bmp", w.file};
    if (file == "points.ovr") expected = {"points.ovr", "points.pic"};
    EXPECT_EQ(write_failure::namesIn(folder_->path("")), expected);
  }
}

}  // namespace
