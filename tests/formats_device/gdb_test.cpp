// Garmin GDB waypoints and the GDB times.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device_test_support.h"
#include "formats/device/garmin.h"

namespace {

using namespace device_test;
using ::testing::HasSubstr;

struct Record {
  char type;
  std::string data;
};

std::int32_t int32At(const std::string& bytes, std::size_t at) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

// The records after the header of a GDB file (signature, version record,
// application record, creator string).
std::vector<Record> records(const std::string& file, std::string* header = nullptr) {
  std::size_t at = file.find("MapSource") + 10;
  if (header != nullptr) *header = file.substr(0, at);
  std::vector<Record> out;
  while (at + 5 <= file.size()) {
    const std::int32_t length = int32At(file, at);
    out.push_back({file[at + 4], file.substr(at + 5, static_cast<std::size_t>(length))});
    at += 5 + static_cast<std::size_t>(length);
  }
  return out;
}

class Gdb : public ::testing::Test {
 protected:
  void SetUp() override { resetConverter(); }
  BoxAnswerer boxes;
  ScratchFolder folder{"gdb"};
};

TEST(GdbTimes, AreSecondsOfTheCalendarSince1970) {
  struct Case {
    const char* date;
    const char* time;
    std::int32_t seconds;
  };
  const Case cases[] = {
      {"01/01/1970", "00:00:00", 0},          {"01/01/1970", "23:59:59", 86399},
      {"01/01/1971", "00:00:00", 31536000},   {"29/02/2008", "00:00:00", 1204243200},
      {"01/03/2008", "00:00:00", 1204329600}, {"17/10/2007", "12:34:56", 1192624496},
      {"31/12/1969", "23:59:59", -1},         {"19/01/2038", "03:14:07", 2147483647},
      {"17/10/2007", "        ", 1192579200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    std::int32_t seconds = 12345;
    ASSERT_TRUE(TOUNIXEPOCH(c.date, c.time, seconds));
    EXPECT_EQ(seconds, c.seconds);
    FixedText<10> date;
    FixedText<8> time;
    FROMUNIXEPOCH(c.seconds, date, time);
    EXPECT_EQ(date.str(), c.date);
    EXPECT_EQ(time.str(), text::isBlank(c.time) ? "00:00:00" : c.time);
  }
}

TEST(GdbTimes, DatesThatAreNoDatesGiveNoTime) {
  const char* dates[] = {"          ", "30/02/2008", "29/02/2007", "00/01/2007", "17/13/2007", "1/1/2007  ",
                         "19/01/2038"};
  const char* times[] = {"00:00:00", "00:00:00", "00:00:00", "00:00:00", "00:00:00", "00:00:00", "03:14:08"};
  for (std::size_t k = 0; k < std::size(dates); ++k) {
    std::int32_t seconds = 12345;
    EXPECT_FALSE(TOUNIXEPOCH(dates[k], times[k], seconds)) << dates[k];
    EXPECT_EQ(seconds, 12345);
  }
  std::int32_t seconds = 0;
  EXPECT_FALSE(TOUNIXEPOCH("17/10/2007", "24:00:00", seconds));
  EXPECT_FALSE(TOUNIXEPOCH("17/10/2007", "12:3x:00", seconds));
}

TEST_F(Gdb, WritesTheHeaderOneRecordAPointAndTheEndRecord) {
  POINT_RECORD& a = addPoint(-1.25f, 51.5f, "Old Mill", "MILL");
  a.ALTITUDE = 12.5f;
  a.PROXIMITY = 150.0f;
  a.SYMBOL = 10;
  a.DATE = "17/10/2007";
  a.TIME = "12:34:56";
  // The same without altitude, proximity and a date: flags 0 and no time.
  POINT_RECORD& b = addPoint(-1.25f, 51.5f, "Old Mill", "MILB");
  b.SYMBOL = kNoSymbol;
  const std::string written = writeFileWith(WRITE_GDB_WPT, folder.path("w.gdb"));
  EXPECT_EQ(written, fixture("waypoints.gdb"));
  std::string header;
  const std::vector<Record> r = records(written, &header);
  EXPECT_EQ(header, std::string("MsRcf\0\2\0\0\0Dl\0\x1b\0\0\0A\x62\x02SQA\0Jul 28 2006\0" "14:35:00\0MapSource\0", 55));
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].type, 'W');
  EXPECT_EQ(r[0].data.size(), 4u + 8u + 9u + 9u + 70u);
  EXPECT_EQ(r[1].data.size(), r[0].data.size() - 16u - 4u);  // no doubles, and no time
  EXPECT_EQ(r[0].data.substr(0, 5), std::string("MILL\0", 5));
  EXPECT_EQ(int32At(r[0].data, 5 + 4 + 1 + 22), 614418932);
  EXPECT_EQ(int32At(r[0].data, 5 + 4 + 1 + 22 + 4), -14913080);
  EXPECT_EQ(int32At(r[0].data, r[0].data.size() - 4), 1192624496);
  EXPECT_EQ(r[2].type, 'V');
  EXPECT_EQ(r[2].data, std::string("\0\1", 2));
  EXPECT_EQ(lastLog(), "2 points written");
}

TEST_F(Gdb, ReadsBackWhatItWrites) {
  POINT_RECORD& a = addPoint(-1.25f, 51.5f, "Old Mill", "MILL");
  a.ALTITUDE = 12.5f;
  a.PROXIMITY = 150.0f;
  a.SYMBOL = 14;
  a.DATE = "29/02/2008";
  a.TIME = "23:59:59";
  addPoint(151.25f, -33.5f, "", "Sydney harbour bridge lookout").COMMENT = "ignored: the name is there";
  writeFileWith(WRITE_GDB_WPT, folder.path("rt.gdb"));
  resetConverter();
  readFileWith(READ_GDB_WPT, folder.path("rt.gdb"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2) << boxes.summary();
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_EQ(p.NAME.str(), "MILL");
  EXPECT_EQ(p.DESCRIPTION.str(), "Old Mill");
  EXPECT_NEAR(p.LATITUDE, 51.5, 1e-6);
  EXPECT_NEAR(p.LONGITUDE, -1.25, 1e-6);
  EXPECT_FLOAT_EQ(p.ALTITUDE, 12.5f);
  EXPECT_FLOAT_EQ(p.PROXIMITY, 150.0f);
  EXPECT_EQ(p.SYMBOL, 14);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "Medical Facility");
  EXPECT_EQ(p.DATE.str(), "29/02/2008");
  EXPECT_EQ(p.TIME.str(), "23:59:59");
  EXPECT_EQ(p.ROUTE_NAME.str(), "Point data");
  const POINT_RECORD& q = POINT_LIST.POINT(2);
  // Identifiers are cut to 15 characters; no date means the file's date and time.
  EXPECT_EQ(q.NAME.str(), "Sydney harbour");
  EXPECT_TRUE(q.DESCRIPTION.isBlank());
  EXPECT_FLOAT_EQ(q.ALTITUDE, kNoValue);
  EXPECT_FLOAT_EQ(q.PROXIMITY, kNoValue);
  EXPECT_EQ(q.SYMBOL, 0);
  EXPECT_EQ(q.DATE.str(), "01/02/2003");
  EXPECT_EQ(q.TIME.str(), "04:05:06");
  EXPECT_EQ(lastLog(), "2 points read");
}

TEST_F(Gdb, ReplacedNamesTakeThePrefixAndThePointsComment) {
  for (int i = 1; i <= 12; ++i) addPoint(1, 1, "Desc", "Name").COMMENT = "Comment " + std::to_string(i);
  GARMIN_SETTINGS.REPLACE_NAME = 1;
  const std::vector<Record> r = records(writeFileWith(WRITE_GDB_WPT, folder.path("rep.gdb")));
  ASSERT_EQ(r.size(), 13u);
  EXPECT_EQ(r[11].data.substr(0, 4), std::string("W12\0", 4));
  const std::size_t comment = 4 + 4 + 1 + 22 + 8 + 1;
  EXPECT_EQ(r[11].data.substr(comment, 11), std::string("Comment 12\0", 11));
}

TEST_F(Gdb, EmptyListGivesTheHeaderAndTheEndRecordOnly) {
  const std::string written = writeFileWith(WRITE_GDB_WPT, folder.path("e.gdb"));
  EXPECT_EQ(written.size(), 55u + 7u);
  EXPECT_EQ(lastLog(), "0 points written");
}

TEST_F(Gdb, ReadsGpsBabelsFileAndPassesOverItsRouteAndTrackRecords) {
  readFileWith(READ_GDB_WPT, fixturePath("gpsbabel_mix.gdb"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 4) << boxes.summary();  // two waypoints and the two route points
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), "MILL");
  EXPECT_EQ(POINT_LIST.POINT(1).DATE.str(), "17/10/2007");
  EXPECT_EQ(POINT_LIST.POINT(1).TIME.str(), "12:34:56");
  EXPECT_FLOAT_EQ(POINT_LIST.POINT(1).ALTITUDE, 12.5f);
  EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.5, 1e-6);
  EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "Sydney harbour");
  EXPECT_EQ(POINT_LIST.POINT(2).DATE.str(), "01/02/2003");
  EXPECT_EQ(POINT_LIST.POINT(4).NAME.str(), "RB");
  EXPECT_EQ(lastLog(), "4 points read");
}

TEST_F(Gdb, UnknownIconsAndLongStringsKeepTheRecordsInStep) {
  const std::string good = fixture("waypoints.gdb");
  std::string header;
  std::vector<Record> r = records(good, &header);
  // Record 1 with an icon that no Garmin symbol has and a name of 40 characters.
  std::string data = r[0].data;
  data.replace(0, 4, std::string(40, 'N'));
  const std::size_t icon = 40 + 1 + 4 + 1 + 22 + 8 + 9 + 9 + 9 + 8;
  data.replace(icon, 4, std::string("\x63\0\0\0", 4));
  std::string file = header;
  for (const std::string& d : {data, r[1].data}) {
    const auto length = static_cast<std::int32_t>(d.size());
    file += std::string(reinterpret_cast<const char*>(&length), 4) + "W" + d;
  }
  writeFile(folder.path("odd.gdb"), file);  // and no end record: the file just ends
  readFileWith(READ_GDB_WPT, folder.path("odd.gdb"));
  ASSERT_EQ(POINT_LIST.NPOINTS, 2) << boxes.summary();
  EXPECT_EQ(POINT_LIST.POINT(1).NAME.str(), std::string(32, 'N'));
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL, 0);
  EXPECT_EQ(POINT_LIST.POINT(1).SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), "Old Mill");
  EXPECT_EQ(POINT_LIST.POINT(2).NAME.str(), "MILB");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
}

TEST_F(Gdb, FilesThatAreNoVersion2GdbFilesAreRefusedWithABox) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* text;
  };
  const std::string good = fixture("waypoints.gdb");
  std::string version3 = good;
  version3[11] = 'm';
  std::string damaged = good.substr(0, 55) + std::string("\xff\xff\xff\xff", 4) + good.substr(59);
  std::string shortRecord = good;
  shortRecord[55] = 20;  // the first waypoint claims 20 bytes only
  const Case cases[] = {
      {"text file", "Not a database at all\r\n", "Not a Garmin GDB file"},
      {"empty", "", "Not a Garmin GDB file"},
      {"version 3", version3, "Unsupported GDB file version"},
      {"negative length", damaged, "Some GDB records were damaged"},
      {"short record", shortRecord, "Some GDB records were damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetConverter();
    boxes.clear();
    writeFile(folder.path("bad.gdb"), c.bytes);
    readFileWith(READ_GDB_WPT, folder.path("bad.gdb"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Carrowmapper Error");
    EXPECT_THAT(boxes.boxes()[0].text, HasSubstr(c.text));
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  }
}

}  // namespace
