#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/tabular/pocketstreets.h"
#include "formats_tabular2/tabular_fixture.h"

namespace {

using namespace tabular_test;

// A pushpin file put together byte by byte, little-endian.
class PushpinFile {
 public:
  explicit PushpinFile(std::int32_t pins) {
    bytes_.append(12, 'H');
    int32(pins);
    bytes_.append(16, 'h');
  }
  PushpinFile& int32(std::int32_t v) {
    for (int k = 0; k < 4; ++k) bytes_ += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF);
    return *this;
  }
  PushpinFile& int8(int v) {
    bytes_ += static_cast<char>(v & 0xFF);
    return *this;
  }
  PushpinFile& real(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int k = 0; k < 8; ++k) bytes_ += static_cast<char>((bits >> (8 * k)) & 0xFF);
    return *this;
  }
  // 16-bit characters without their count.
  PushpinFile& chars(const std::u16string& text) {
    for (char16_t c : text) {
      bytes_ += static_cast<char>(c & 0xFF);
      bytes_ += static_cast<char>(c >> 8);
    }
    return *this;
  }
  // A count byte and its characters.
  PushpinFile& counted(const std::u16string& text) { return int8(static_cast<int>(text.size())).chars(text); }
  // Pin id, flag, position, layout and symbol.
  PushpinFile& head(int flag, double latitude, double longitude) {
    return int32(++ids_).int8(flag).real(latitude).real(longitude).int32(3).int32(42);
  }
  // The same and the first text.
  PushpinFile& pin(int flag, double latitude, double longitude, const std::u16string& first) {
    return head(flag, latitude, longitude).counted(first);
  }
  // A whole pushpin whose second text follows a count 2 of 0.
  PushpinFile& simple(const std::u16string& first, const std::u16string& second = u"") {
    return pin(0, 0.9, -0.0021, first).int8(0).counted(second);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::int32_t ids_ = 0;
};

class PocketStreets : public Converter {
 protected:
  void read(const std::string& bytes) {
    writeFile("pins.psp", bytes);
    setInput("pins.psp");
    READ_PSP();
  }
};

TEST_F(PocketStreets, ReadsAHandMadePushpin) {
  // Header: 12 bytes, N = 1, 16 bytes; pin 7, flag 0, latitude 0.9 and longitude
  // 0 radians, layout, symbol, "Home" and no second text.
  const unsigned char file[] = {
      0x50, 0x53, 0x50, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // not interpreted
      0x01, 0x00, 0x00, 0x00,                                                  // N
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x07, 0x00, 0x00, 0x00,                          // pin id
      0x00,                                            // flag
      0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xEC, 0x3F,  // 0.9
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 0.0
      0x01, 0x00, 0x00, 0x00,                          // layout
      0x10, 0x00, 0x00, 0x00,                          // symbol
      0x04, 0x48, 0x00, 0x6F, 0x00, 0x6D, 0x00, 0x65, 0x00,  // 4, "Home"
      0x00, 0x00,                                            // count 2 = 0, then 0 characters
  };
  read(std::string(reinterpret_cast<const char*>(file), sizeof file));
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  const POINT_RECORD& p = POINT_LIST.POINT(1);
  EXPECT_NEAR(p.LATITUDE, 51.5662, 0.0001);
  EXPECT_EQ(p.LONGITUDE, 0.0f);
  EXPECT_EQ(p.DESCRIPTION.str(), "Home");
  EXPECT_TRUE(p.COMMENT.isBlank());
  EXPECT_TRUE(p.NAME.isBlank());
  EXPECT_EQ(p.SYMBOL, -1);
  EXPECT_EQ(p.SYMBOL_NAME.str(), "Waypoint");
  EXPECT_EQ(p.ROUTE_NAME.str(), "Point data");
  EXPECT_EQ(p.PROXIMITY, 0.0f);
  EXPECT_EQ(p.ALTITUDE, -9999.0f);
  EXPECT_EQ(p.DATE.str(), "05/06/2007");
  EXPECT_EQ(p.TIME.str(), "10:20:30");
  EXPECT_TRUE(p.COLOUR.isBlank());
  EXPECT_EQ(lastLog(), "1 points read");
}

TEST_F(PocketStreets, TheFlagAdjustsTheLongitude) {
  struct Case {
    int flag;
    double radians;
    double longitude;
  };
  for (const Case& c : {Case{0, -0.0021, -0.1203}, Case{1, -0.0021, -0.1203}, Case{2, -0.0021, 0.1203},
                        Case{3, 3.0, -8.1127}, Case{-1, -0.0021, -0.1203}}) {
    resetConverter();
    read(PushpinFile(1).pin(c.flag, 0.9, c.radians, u"x").int8(0).int8(0).bytes());
    ASSERT_EQ(POINT_LIST.NPOINTS, 1) << c.flag;
    EXPECT_NEAR(POINT_LIST.POINT(1).LONGITUDE, c.longitude, 0.0001) << c.flag;
    EXPECT_NEAR(POINT_LIST.POINT(1).LATITUDE, 51.5662, 0.0001) << c.flag;
  }
  // Degrees per radian as the single-precision constant, not 180/pi.
  resetConverter();
  read(PushpinFile(1).pin(0, 1.0, 1.0, u"x").int8(0).int8(0).bytes());
  EXPECT_EQ(POINT_LIST.POINT(1).LATITUDE, 57.29578f);
}

TEST_F(PocketStreets, TheSecondCountDecidesWhatFollows) {
  struct Case {
    const char* what;
    PushpinFile file;
    const char* description;
    const char* comment;
  };
  std::vector<Case> cases;
  cases.push_back({"count 2 = 0, then a text", PushpinFile(2).pin(0, 0.9, -0.0021, u"Home").int8(0).counted(u"abc"),
                   "Home", "abc"});
  cases.push_back({"count 2 > 0: two texts run together",
                   PushpinFile(2).pin(0, 0.9, -0.0021, u"Pub").int8(2).chars(u"ab").counted(u"cd"), "Pub", "abcd"});
  cases.push_back({"count 2 > 0 and an empty third text",
                   PushpinFile(2).pin(0, 0.9, -0.0021, u"Pub").int8(2).chars(u"ab").int8(0), "Pub", "ab"});
  cases.push_back({"count 2 < 0: one byte skipped, no texts",
                   PushpinFile(2).pin(0, 0.9, -0.0021, u"Inn").int8(0x80).int8(0x55), "Inn", ""});
  cases.push_back({"a negative first count: no characters",
                   PushpinFile(2).head(0, 0.9, -0.0021).int8(0xF0).int8(0).int8(0xF0), "", ""});
  cases.push_back({"characters beyond 8 bits keep their low byte",
                   PushpinFile(2).pin(0, 0.9, -0.0021, u"\u03A9\u0416\u00E9").int8(0).int8(0), "\xA9\x16\xE9", ""});
  for (Case& c : cases) {
    resetConverter();
    // A second, plain pushpin shows that the first was read to its last byte.
    read(c.file.simple(u"next", u"after").bytes());
    ASSERT_EQ(POINT_LIST.NPOINTS, 2) << c.what;
    EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), c.description) << c.what;
    EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), c.comment) << c.what;
    EXPECT_EQ(POINT_LIST.POINT(2).DESCRIPTION.str(), "next") << c.what;
    EXPECT_EQ(POINT_LIST.POINT(2).COMMENT.str(), "after") << c.what;
  }
}

TEST_F(PocketStreets, LongTextsAreKeptWhole) {
  const std::u16string first(127, u'd');
  const std::u16string second(127, u's');
  const std::u16string third(127, u't');
  read(PushpinFile(1).pin(0, 0.9, -0.0021, first).int8(127).chars(second).counted(third).bytes());
  ASSERT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(POINT_LIST.POINT(1).DESCRIPTION.str(), std::string(127, 'd'));
  EXPECT_EQ(POINT_LIST.POINT(1).COMMENT.str(), std::string(127, 's') + std::string(127, 't'));
}

TEST_F(PocketStreets, TheCountOfTheHeaderIsAnUpperBound) {
  struct Case {
    std::int32_t declared;
    int present;
    int read;
  };
  // No pushpins, fewer than declared, more than declared, a negative count.
  for (const Case& c : {Case{0, 0, 0}, Case{0, 2, 0}, Case{10, 4, 4}, Case{2, 4, 2}, Case{-5, 3, 0},
                        Case{0x7FFFFFFF, 3, 3}}) {
    resetConverter();
    PushpinFile file(c.declared);
    for (int k = 0; k < c.present; ++k) file.simple(u"pin");
    read(file.bytes());
    EXPECT_EQ(POINT_LIST.NPOINTS, c.read) << c.declared << " " << c.present;
    EXPECT_EQ(lastLog(), std::to_string(c.read) + " points read");
  }
}

TEST_F(PocketStreets, APushpinCutByTheEndOfTheFileIsDropped) {
  PushpinFile full(4);
  full.simple(u"one", u"1").simple(u"two", u"2").simple(u"three", u"3");
  const std::size_t threePins = full.bytes().size();
  full.pin(2, 0.5, 0.5, u"four").int8(2).chars(u"ab").counted(u"cd");
  const std::string bytes = full.bytes();
  // Every length from the end of the third pushpin to one byte short of the fourth.
  for (std::size_t length = threePins; length < bytes.size(); ++length) {
    resetConverter();
    read(bytes.substr(0, length));
    ASSERT_EQ(POINT_LIST.NPOINTS, 3) << length;
    EXPECT_EQ(POINT_LIST.POINT(3).DESCRIPTION.str(), "three");
    EXPECT_EQ(lastLog(), "3 points read");
  }
  resetConverter();
  read(bytes);
  EXPECT_EQ(POINT_LIST.NPOINTS, 4);
  EXPECT_EQ(POINT_LIST.POINT(4).COMMENT.str(), "abcd");
}

TEST(PocketStreetsFaults, AHeaderShorterThanItsFixedPartGivesNoPointsAndABox) {
  for (const std::size_t length : {0u, 15u, 31u}) {
    writeFile("short.psp", PushpinFile(1).simple(u"pin").bytes().substr(0, length));
    const ChildRun run = runInChild("READ_PSP", "short.psp");
    ASSERT_EQ(run.boxes.size(), 1u) << length;
    EXPECT_EQ(run.boxes[0].title, "File Format Error");
    EXPECT_EQ(run.boxes[0].text, "This file is too short for a\rPocket Streets pushpin file.\rPlease select a different file.");
    EXPECT_EQ(run.npoints, 0);
    EXPECT_TRUE(run.log.empty());
    EXPECT_FALSE(run.stop);
  }
}

TEST(PocketStreetsFaults, The60001stPushpinStopsTheProgram) {
  writeFile("many.psp", PushpinFile(3).simple(u"a").simple(u"b").simple(u"c").bytes());
  const ChildRun run = runInChild("READ_PSP", "many.psp", MAX_POINTS - 1);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].title, "Storage limit");
  EXPECT_EQ(run.boxes[0].text, "Too many POI entries in file.\rMaximum is 60000");
  EXPECT_EQ(run.npoints, MAX_POINTS);
  EXPECT_EQ(run.nread, 1);
  EXPECT_TRUE(run.stop);
  EXPECT_TRUE(run.log.empty());
}

}  // namespace
