#include <gtest/gtest.h>

#include "converter/converter_data.h"
#include "converter_helpers/box_answer.h"
#include "support/child_process.h"

namespace {

class PointStore : public ::testing::Test {
 protected:
  void SetUp() override {
    POINT_LIST.NPOINTS = 0;
    POINT_LIST.NREAD = 0;
    STOP_FLAG = kLogicalFalse;
  }
};

TEST_F(PointStore, StartsEachPointWithoutValuesAndCountsIt) {
  // A slot that held a point of an earlier file.
  POINT_RECORD& old = POINT_LIST.POINT(1);
  old.NAME = "Old";
  old.ALTITUDE = 12.0f;
  old.SYMBOL = 4;
  old.LATITUDE = 51.0f;
  POINT_RECORD* point = STORE_POINT();
  ASSERT_EQ(point, &POINT_LIST.POINT(1));
  EXPECT_TRUE(point->NAME.isBlank());
  EXPECT_TRUE(point->DATE.isBlank());
  EXPECT_TRUE(point->ROUTE_NAME.isBlank());
  EXPECT_EQ(point->ALTITUDE, -9999.0f);
  EXPECT_EQ(point->PROXIMITY, -9999.0f);
  EXPECT_EQ(point->SYMBOL, -1);
  EXPECT_EQ(point->LATITUDE, 0.0f);
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(POINT_LIST.NREAD, 1);
}

TEST_F(PointStore, AppendCountsNreadForTheSecondFileOnly) {
  for (int i = 0; i < 3; ++i) STORE_POINT()->NAME = "first";
  POINT_LIST.NREAD = 0;  // as File > Append does
  for (int i = 0; i < 2; ++i) STORE_POINT()->NAME = "second";
  EXPECT_EQ(POINT_LIST.NPOINTS, 5);
  EXPECT_EQ(POINT_LIST.NREAD, 2);
  EXPECT_EQ(POINT_LIST.POINT(3).NAME.str(), "first");
  EXPECT_EQ(POINT_LIST.POINT(4).NAME.str(), "second");
  EXPECT_FALSE(isTrue(STOP_FLAG));
}

// Fills the list, then offers one point more.  Exit code: 1 when the last point
// fitted, 2 when the extra one was refused, 4 when STOP_FLAG is set, 8 when the
// count stayed at the limit.
testing_support::ChildScenario storageLimit("storage-limit", [] {
  for (int i = 1; i < MAX_POINTS; ++i) STORE_POINT();
  int code = 0;
  POINT_RECORD* last = STORE_POINT();
  if (last == &POINT_LIST.POINT(MAX_POINTS) && !isTrue(STOP_FLAG)) code |= 1;
  if (STORE_POINT() == nullptr) code |= 2;
  if (isTrue(STOP_FLAG)) code |= 4;
  if (POINT_LIST.NPOINTS == MAX_POINTS && POINT_LIST.NREAD == MAX_POINTS) code |= 8;
  ExitProcess(static_cast<UINT>(code));
});

TEST(StorageLimit, The60001stPointIsRefusedWithABoxAndTheCountStaysAt60000) {
  box_answer::Seen seen;
  const int code = testing_support::runChildScenario(
      "storage-limit", [&](DWORD pid) { box_answer::answer(pid, "Storage limit", seen); });
  EXPECT_EQ(code, 15);
  EXPECT_EQ(seen.boxes, 1);
  EXPECT_EQ(seen.text, "Too many POI entries in file.\rMaximum is 60000");
}

}  // namespace
