// A save that fails part way, or that meets a file it cannot replace, leaves
// the earlier file byte for byte and nothing else in its folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "formats/tabular/autoroute.h"
#include "formats/tabular/excelsubs.h"
#include "formats_tabular1/tabular_test_support.h"
#include "support/write_failure.h"

namespace {

using namespace tabular_test;
using Names = std::vector<std::string>;

using Writer = write_failure::SaveCase;

const Writer kWriters[] = {
    {"WRITE_CSV", WRITE_CSV, "pushpins.csv"},
    {"WRITE_TAB", WRITE_TAB, "pushpins.txt"},
    {"WRITE_XLS", WRITE_XLS, "points.xls"},
};

constexpr char kEarlier[] = "the earlier file, which must survive\r\n";

class FailedSave : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    for (int i = 1; i <= 400; ++i) {
      POINT_RECORD* p = STORE_POINT();
      p->LATITUDE = 52.0f + i * 0.001f;
      p->LONGITUDE = -1.0f - i * 0.001f;
      p->DESCRIPTION = "Point " + std::to_string(i);
      p->ROUTE_NAME = "Point data";
    }
  }
  // The writer's target in the emptied folder, holding the earlier file.
  std::string prepare(const Writer& w, const std::string& folder = "failed save") {
    folder_ = folder;
    const std::string target = write_failure::earlierFileIn(folder_, w.file, kEarlier);
    FILE_NAMES.OUTPUT_FILE = target;
    LOG_DISPLAY.LOG_COUNT = 0;
    boxes.clear();
    return target;
  }
  void expectUntouched(const std::string& target, const Writer& w) {
    EXPECT_EQ(readFile(target), kEarlier);
    EXPECT_EQ(write_failure::namesIn(folder_), Names{w.file});
    // The workbook's writer logs its count of rows written, none here.
    for (const std::string& line : logLines()) EXPECT_EQ(line, "0 points written");
    EXPECT_FALSE(boxes.boxes().empty());
  }
  std::string folder_;
};

TEST_F(FailedSave, AFullDiskPartWayLeavesTheEarlierFileAndNothingElse) {
  // The workbook is written by the library; a small disk tries it below.
  for (const Writer& w : {kWriters[0], kWriters[1]}) {
    SCOPED_TRACE(w.name);
    write_failure::saveOntoFullDisk([&] { return prepare(w); }, w.write, [&](const std::string& target) {
      expectUntouched(target, w);
      ASSERT_EQ(boxes.boxes().size(), 1u);
      EXPECT_EQ(boxes.boxes()[0].text, "The file could not be written completely:\r" + target);
    });
  }
}

TEST_F(FailedSave, AReadOnlyLockedOrMissingTargetIsToldAndLeftAlone) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    write_failure::saveOntoRefusedTargets([&] { return prepare(w); }, w.write,
                                          [&](const std::string& target) { expectUntouched(target, w); });
    const std::string target = prepare(w);
    FILE_NAMES.OUTPUT_FILE = folder_ + "\\no such folder\\" + w.file;
    w.write();
    expectUntouched(target, w);
  }
}

TEST_F(FailedSave, ASaveThatSucceedsReplacesTheFileAndLeavesNoTemporaryFile) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string target = prepare(w);
    w.write();
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.describe();
    EXPECT_NE(readFile(target), kEarlier);
    EXPECT_EQ(logLines(), Names{"400 points written"});
    EXPECT_EQ(write_failure::namesIn(folder_), Names{w.file});
  }
}

TEST_F(FailedSave, AWorkbookThatFillsASmallDiskLeavesTheEarlierFile) {
  const std::string disk = write_failure::smallDisk();
  if (disk.empty()) GTEST_SKIP() << "no small disk (CARROW_SMALL_DISK) in this run";
  for (int i = 401; i <= 5000; ++i) {
    POINT_RECORD* p = STORE_POINT();
    p->LATITUDE = 50.0f;
    p->LONGITUDE = 1.0f;
    p->DESCRIPTION = "A point with a long description to fill the disk " + std::to_string(i);
    p->ROUTE_NAME = "Point data";
  }
  const std::string target = prepare(kWriters[2], disk + "\\workbook");
  const write_failure::Filler filler(disk + "\\filler.bin", 64 * 1024);
  WRITE_XLS();
  expectUntouched(target, kWriters[2]);
}

}  // namespace
