#include <array>
#include <random>
#include <string>

#include "converter/converter_data.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "xml_test_support.h"

namespace xml_tests {
namespace {

struct Reader {
  const char* name;
  void (*read)();
};
constexpr std::array<Reader, 4> kReaders{{{"gpx", READ_GPX},
                                          {"gpx route", READ_GPX_ROUTE},
                                          {"gpx track", READ_GPX_TRACK},
                                          {"kml", READ_KML_POINTS}}};

class Robustness : public XmlFormatTest {
 protected:
  // A reader ends either with its log line or, stopped, with a box.
  void expectCleanEnd(const char* what) {
    EXPECT_EQ(POINT_LIST.NPOINTS, POINT_LIST.NREAD) << what;
    EXPECT_LE(POINT_LIST.NPOINTS, MAX_POINTS) << what;
    if (isTrue(STOP_FLAG)) {
      EXPECT_FALSE(boxes().empty()) << what;
    } else {
      EXPECT_NE(lastLogLine().find(" points read"), std::string::npos) << what;
      EXPECT_TRUE(boxes().empty()) << what;
    }
  }
};

TEST_F(Robustness, RandomBytesAndBrokenMarkupEndCleanly) {
  // Fragments of the markup the readers look for, so that random files reach
  // their gathering and value paths, not only their search for a start.
  const std::array<std::string_view, 24> fragments{
      "<wpt lat=\"", "\" lon=\"", "\">", "</wpt>", "<rte>", "<rtept lat=\"1\" lon=\"2\"", "</rtept>", "<trk>",
      "<trkpt lat=\"", "</trkpt>", "<name>", "</name>", "<![CDATA[", "]]>", "&#", "&amp;", ";", "\n", "\r\n",
      "<Placemark>", "</Placemark>", "<Point>", "<coordinates>", "</coordinates>"};
  std::mt19937 random(20071017);
  for (int round = 0; round < 8; ++round) {
    std::string bytes;
    const int length = 1000 + static_cast<int>(random() % 20000);
    while (static_cast<int>(bytes.size()) < length) {
      if (random() % 3 == 0) {
        bytes += fragments[random() % fragments.size()];
      } else {
        for (int n = static_cast<int>(random() % 40); n > 0; --n) bytes += static_cast<char>(random() % 256);
      }
    }
    for (const Reader& reader : kReaders) {
      SetUp();
      readText(reader.read, bytes);
      expectCleanEnd(reader.name);
    }
  }
}

// A file of each kind with points that exercise every path of its reader.
std::string wholeFile(int kind) {
  switch (kind) {
    case 0:
      return "<?xml version=\"1.0\"?>\n<gpx>\n<wpt lat=\"1\" lon=\"2\">\n <name>A &amp; B</name>\n <desc>one\ntwo</desc>\n"
             "</wpt>\n<wpt lat=\"3\" lon=\"4\"><time>2007-10-17T12:34:56Z</time></wpt>\n<wpt lat=\"5\" lon=\"6\"/>\n"
             "</gpx>\n";
    case 1:
      return "<gpx>\n<rte>\n <name>R</name>\n <rtept lat=\"1\" lon=\"2\">\n  <name>P</name>\n </rtept>\n"
             " <rtept lat=\"3\" lon=\"4\"></rtept>\n</rte>\n<rte><rtept lat=\"5\" lon=\"6\"/></rte>\n</gpx>\n";
    case 2:
      return "<gpx>\n<trk>\n <name>T</name>\n <trkseg>\n  <trkpt lat=\"1\" lon=\"2\">\n   <ele>3</ele>\n  </trkpt>\n"
             "  <trkpt lat=\"3\" lon=\"4\"></trkpt>\n </trkseg>\n</trk>\n<trk><trkpt lat=\"5\" lon=\"6\"/></trk>\n</gpx>\n";
    default:
      return "<kml>\n<Document>\n<Placemark>\n <name>K</name>\n <Point>\n  <coordinates>\n   1,2,3\n  </coordinates>\n"
             " </Point>\n</Placemark>\n<Placemark><Point><coordinates>4,5</coordinates></Point></Placemark>\n"
             "<Placemark id=\"x\"><name>L</name><Point><coordinates>6,7</coordinates></Point></Placemark>\n"
             "</Document>\n</kml>\n";
  }
}

TEST_F(Robustness, ATruncatedFileGivesThePointsBeforeTheCutAndNoFault) {
  for (int kind = 0; kind < 4; ++kind) {
    const std::string whole = wholeFile(kind);
    int before = 0;
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
      SetUp();
      readText(kReaders[static_cast<std::size_t>(kind)].read, std::string_view(whole).substr(0, cut));
      EXPECT_FALSE(isTrue(STOP_FLAG)) << kind << " cut at " << cut;
      EXPECT_GE(POINT_LIST.NPOINTS, before) << kind << " cut at " << cut;
      before = POINT_LIST.NPOINTS;
    }
    EXPECT_EQ(before, 3) << kind;
    EXPECT_TRUE(boxes().empty());
  }
}

TEST_F(Robustness, OverlongLinesAndElements) {
  const std::string huge(6 * 1024 * 1024, 'x');
  for (const Reader& reader : kReaders) {
    SetUp();
    readText(reader.read, huge);
    EXPECT_EQ(POINT_LIST.NPOINTS, 0) << reader.name;
    expectCleanEnd(reader.name);
  }
  const struct {
    void (*reader)();
    std::string start;
  } elements[] = {{READ_GPX, "<wpt lat=\"1\" lon=\"2\"><desc>"},
                  {READ_GPX_ROUTE, "<rte><rtept lat=\"1\" lon=\"2\"><desc>"},
                  {READ_GPX_TRACK, "<trk><name>T</name><trkpt lat=\"1\" lon=\"2\"><desc>"},
                  {READ_KML_POINTS, "<Placemark><name>"}};
  for (const auto& e : elements) {
    SetUp();
    readText(e.reader, e.start + huge + "\n</x>\n");
    EXPECT_TRUE(isTrue(STOP_FLAG)) << e.start;
    ASSERT_EQ(boxes().size(), 1u) << e.start;
    EXPECT_NE(boxes()[0].text.find("record too l"), std::string::npos) << e.start;
  }
}

TEST_F(Robustness, MoreThan60000PointsStopAtTheStorageLimit) {
  const struct {
    void (*reader)();
    const char* point;
    const char* separator;
  } cases[] = {
      {READ_GPX, "<wpt lat=\"1\" lon=\"2\"><name>n</name></wpt>", "\n"},
      {READ_GPX, "<wpt lat=\"1\" lon=\"2\"/>", ""},  // all on one line
      {READ_GPX_ROUTE, "<rtept lat=\"1\" lon=\"2\"></rtept>", "\n"},
      {READ_KML_POINTS, "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>", "\n"},
  };
  for (const auto& c : cases) {
    SetUp();
    std::string file;
    for (int i = 0; i <= MAX_POINTS; ++i) file.append(c.point).append(c.separator);
    readText(c.reader, file);
    EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS) << c.point;
    EXPECT_TRUE(isTrue(STOP_FLAG));
    EXPECT_EQ(LOG_DISPLAY.LOG_COUNT, 0);
    const auto seen = boxes();
    ASSERT_EQ(seen.size(), 1u) << c.point;
    EXPECT_EQ(seen[0].title, "Storage limit");
    EXPECT_EQ(seen[0].text, "Too many POI entries in file.\rMaximum is 60000");
  }
}

TEST_F(Robustness, TheTrackFilterTakesLongTracksWithinTheLimit) {
  CONVERTER_SETTINGS.TRACK_FILTER = 10;
  std::string file = "<trk><name>Long</name>\n";
  for (int i = 0; i < 100000; ++i) file += "<trkpt lat=\"1\" lon=\"2\"></trkpt>\n";
  readText(READ_GPX_TRACK, file);
  EXPECT_EQ(POINT_LIST.NPOINTS, 10000);
  EXPECT_EQ(lastLogLine(), "10000 of **** points read from  1 tracks");
  EXPECT_TRUE(boxes().empty());
}

}  // namespace
}  // namespace xml_tests
