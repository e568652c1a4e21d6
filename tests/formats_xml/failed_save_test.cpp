// A save that fails part way, or that meets a file it cannot replace, leaves
// the earlier file byte for byte and nothing else in its folder.
#include <windows.h>

#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "support/write_failure.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

using Names = std::vector<std::string>;

using Writer = write_failure::SaveCase;

const Writer kWriters[] = {
    {"WRITE_GPX", WRITE_GPX, "points.gpx"},
    {"WRITE_GPX_ROUTE", WRITE_GPX_ROUTE, "routes.gpx"},
    {"WRITE_GPX_TRACK", WRITE_GPX_TRACK, "tracks.gpx"},
    {"WRITE_KML_POINTS", WRITE_KML_POINTS, "points.kml"},
    {"WRITE_KML_ROUTE", WRITE_KML_ROUTE, "routes.kml"},
    {"WRITE_KML_TRACK", WRITE_KML_TRACK, "tracks.kml"},
};

constexpr char kEarlier[] = "<earlier file, which must survive/>\r\n";

class FailedSave : public XmlFormatTest {
 protected:
  void SetUp() override {
    XmlFormatTest::SetUp();
    char full[MAX_PATH] = {};
    GetFullPathNameA("failed save", MAX_PATH, full, nullptr);
    folder_ = full;
    for (int i = 1; i <= 400; ++i) {
      POINT_RECORD& p = *STORE_POINT();
      p.LATITUDE = 52.0f + i * 0.001f;
      p.LONGITUDE = -1.0f - i * 0.001f;
      p.NAME = "Point " + std::to_string(i);
      p.DESCRIPTION = "A point & its description";
      p.ROUTE_NAME = i <= 200 ? "First" : "Second";
    }
  }
  // The writer's target in the emptied folder, holding the earlier file.
  std::string prepare(const Writer& w) {
    const std::string target = write_failure::earlierFileIn(folder_, w.file, kEarlier);
    FILE_NAMES.OUTPUT_FILE = target;
    LOG_DISPLAY.LOG_COUNT = 0;
    seenBefore_ = boxes().size();
    return target;
  }
  void expectUntouched(const std::string& target, const Writer& w) {
    EXPECT_EQ(readBytes(target), kEarlier);
    EXPECT_EQ(write_failure::namesIn(folder_), Names{w.file});
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0) << lastLogLine();
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), seenBefore_ + 1);
    EXPECT_EQ(seen.back().text, "Cannot write the file\r" + target);
  }

  std::string folder_;
  std::size_t seenBefore_ = 0;
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

TEST_F(FailedSave, ASaveThatSucceedsReplacesTheFileAndLeavesNoTemporaryFile) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string target = prepare(w);
    w.write();
    EXPECT_EQ(boxes().size(), seenBefore_);
    EXPECT_EQ(readBytes(target).rfind("<?xml", 0), 0u);
    EXPECT_NE(lastLogLine().find("400 points written"), std::string::npos) << lastLogLine();
    EXPECT_EQ(write_failure::namesIn(folder_), Names{w.file});
  }
}

}  // namespace
}  // namespace xml_tests
