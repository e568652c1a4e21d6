// Every reader of these formats meets empty files, random bytes, files cut
// short at many places and overlong lines: it must come back, tell the user
// something (a box or a count line) and keep the list's counts sound.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "formats/tabular/autoroute.h"
#include "formats/tabular/excelsubs.h"
#include "formats/tabular/mapsource.h"
#include "formats/tabular/st2gpx.h"
#include "formats_tabular1/tabular_test_support.h"

namespace {

using namespace tabular_test;

struct Reader {
  const char* name;
  void (*read)();
  const char* dataType;
  const char* file;
};

const Reader kReaders[] = {
    {"NEW_READ_CSV", NEW_READ_CSV, "Points", "robust.csv"},
    {"READ_TXT", READ_TXT, "Points", "robust.txt"},
    {"READ_TXT_ROUTE", READ_TXT_ROUTE, "Routes", "robust.txt"},
    {"READ_TXT_TRACK", READ_TXT_TRACK, "Tracks", "robust.txt"},
    {"READ_AXE", READ_AXE, "Points", "robust.axe"},
    {"READ_AXE_ROUTE", READ_AXE_ROUTE, "Routes", "robust.axe"},
    {"READ_XLS", READ_XLS, "Points", "robust.xls"},
};

const std::string kCsv =
    "Name,Latitude,Longitude,Information\r\n"
    "Home,51.5,-0.12,\"Where, I live\"\r\n"
    "Work,51:30:36,-0'7\"30,Office\r\n"
    "Park,51.51,-0.15,\r\n"
    "Shop,51.49,-0.1,Groceries\r\n";

const std::string kMapSource =
    "Grid\tLat/Lon hddd.ddddd\xB0\r\nDatum\tWGS 84\r\n\r\n"
    "Waypoint\tHOME\tMy house\tUser Waypoint\tN51.50070 W0.12460\t12 m\t\t25\t\tSymbol & Name\tUnknown\tResidence\r\n"
    "Waypoint\tWORK\t\tUser Waypoint\tN51.51000 W0.10000\t\t\t\t\tSymbol & Name\tRed\tWaypoint\r\n"
    "Route\tCommute\t3 km\r\n"
    "Route Waypoint\tHOME\t0 m\r\n"
    "Route Waypoint\tWORK\t3 km\r\n"
    "Track\tRun\t17/10/2007 07:00:00\r\n"
    "Trackpoint\tN51.50100 W0.14190\t17/10/2007 07:00:00 \t20 m\t\r\n"
    "Trackpoint\tN51.50200 W0.14000\t17/10/2007 07:01:00 \t21 m\t\r\n";

const std::string kGpx =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<gpx version=\"1.1\">\r\n"
    "<wpt lat=\"51.5\" lon=\"-0.12\">\r\n<name>Home</name>\r\n<ele>12</ele>\r\n<sym>77</sym>\r\n</wpt>\r\n"
    "<wpt lat=\"51.51\" lon=\"-0.1\"><name>Work</name><time>2007-10-17T12:34:56Z</time></wpt>\r\n"
    "<rte>\r\n<name>Commute</name>\r\n"
    "<rtept lat=\"51.5\" lon=\"-0.12\"><name>Home</name><sym>House</sym></rtept>\r\n"
    "<rtept lat=\"51.51\" lon=\"-0.1\">\r\n<name>Work</name>\r\n</rtept>\r\n</rte>\r\n</gpx>\r\n";

class Robustness : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    FILE_NAMES.PROGRAM_FOLDER = workingFolder() + "st2gpx program\\";
    celox_test_reset();
  }
  static void celox_test_reset() {
    CeloxSetErrorLevel(0);
    CeloxSetErrorMessagesDisplay(0);
  }

  // A sound file of the reader's format.
  std::string sample(const Reader& r) {
    const std::string name = r.name;
    if (name == "NEW_READ_CSV") return kCsv;
    if (name.rfind("READ_TXT", 0) == 0) return kMapSource;
    if (name.rfind("READ_AXE", 0) == 0) return kGpx;
    // A workbook of five points, as the converter writes it.
    SetUp();
    for (int i = 1; i <= 5; ++i) {
      POINT_RECORD* p = STORE_POINT();
      p->LATITUDE = 51.0f + i;
      p->LONGITUDE = -1.0f * i;
      p->DESCRIPTION = std::string("P").append(std::to_string(i));
      p->DATE = "05/03/2007";
      p->TIME = "14:07:09";
    }
    FILE_NAMES.OUTPUT_FILE = "robust_sample.xls";
    WRITE_XLS();
    const std::string bytes = readFile("robust_sample.xls");
    SetUp();
    return bytes;
  }

  // Reads the bytes with the reader from a clean state and checks what it left.
  void readAndCheck(const Reader& r, const std::string& bytes, const std::string& what, int atMost) {
    SetUp();
    CONVERTER_SETTINGS.DATA_TYPE = r.dataType;
    writeFile(r.file, bytes);
    FILE_NAMES.INPUT_FILE = workingFolder() + r.file;
    r.read();
    const std::string context = std::string(r.name) + " with " + what;
    EXPECT_GE(POINT_LIST.NPOINTS, 0) << context;
    EXPECT_LE(POINT_LIST.NPOINTS, atMost) << context;
    EXPECT_EQ(POINT_LIST.NPOINTS, POINT_LIST.NREAD) << context;
    EXPECT_TRUE(!boxes.boxes().empty() || !logLines().empty()) << context << ": the user was told nothing";
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
      EXPECT_TRUE(std::isfinite(point(i).LATITUDE) && std::isfinite(point(i).LONGITUDE)) << context;
    }
  }
};

TEST_F(Robustness, EmptyFilesAndRandomBytes) {
  for (const Reader& r : kReaders) {
    readAndCheck(r, "", "an empty file", 0);
    for (unsigned seed : {1u, 2u, 3u}) {
      std::mt19937 random(seed);
      std::string bytes(20000, '\0');
      for (char& b : bytes) {
        const unsigned v = random() % 300;
        b = v >= 256 ? '\n' : static_cast<char>(v);
      }
      readAndCheck(r, bytes, "random bytes " + std::to_string(seed), MAX_POINTS);
    }
  }
}

TEST_F(Robustness, FilesCutShort) {
  for (const Reader& r : kReaders) {
    const std::string whole = sample(r);
    readAndCheck(r, whole, "the whole sample", 10);
    const int all = POINT_LIST.NPOINTS;
    EXPECT_GT(all, 0) << r.name;
    for (int k = 1; k <= 12; ++k) {
      const std::size_t cut = whole.size() * static_cast<std::size_t>(k) / 13;
      readAndCheck(r, whole.substr(0, cut), "the first " + std::to_string(cut) + " bytes", all);
    }
    readAndCheck(r, whole.substr(0, whole.size() - 1), "the last byte missing", all);
  }
}

TEST_F(Robustness, OverlongLinesAreCutToTheRecord) {
  const std::string overlong(100000, 'x');
  const Reader& csv = kReaders[0];
  readAndCheck(csv, "Name,Latitude,Longitude\r\nA,1,2," + overlong + "\r\nB,3,4\r\n", "an overlong record", 2);
  EXPECT_EQ(POINT_LIST.NPOINTS, 2);
  EXPECT_EQ(point(1).DESCRIPTION.str(), "A");
  EXPECT_EQ(point(2).LATITUDE, 3.0f);
  // An overlong header keeps its first 1024 characters.
  readAndCheck(csv, "Name,Latitude,Longitude," + overlong + "\r\nA,1,2\r\n", "an overlong header", 1);
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);

  for (const Reader& r : {kReaders[1], kReaders[2], kReaders[3]}) {
    readAndCheck(r, kMapSource + "Unknown\t" + overlong + "\r\n" + overlong + "\r\n", "overlong lines", 10);
    EXPECT_GT(POINT_LIST.NPOINTS, 0) << r.name;
    EXPECT_TRUE(boxes.boxes().empty()) << r.name << boxes.describe();
  }
  // A waypoint whose line runs on far beyond its fields is still read.
  readAndCheck(kReaders[1],
               "Waypoint\tLONG\tdesc\tUser Waypoint\tN1 E2\t\t\t\t\tSymbol & Name\tUnknown\tFlag\t" + overlong + "\r\n",
               "an overlong waypoint", 1);
  EXPECT_EQ(POINT_LIST.NPOINTS, 1);
  EXPECT_EQ(point(1).SYMBOL, 10);

  // In the pushpin reader an element of one overlong line is too long.
  readAndCheck(kReaders[4], "<gpx>\r\n<wpt lat=\"1\" lon=\"2\"><name>" + overlong + "</name></wpt>\r\n</gpx>\r\n",
               "an overlong element", 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text.rfind("<wpt...</wpt> record too long", 0), 0u);
}

}  // namespace
