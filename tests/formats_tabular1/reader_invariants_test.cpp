// What every reader of the Open lists promises, whatever it is given: it stores
// only points with a position on the globe and finite numbers, it leaves no file
// behind in the working, program or temporary folder, and a failed reading
// changes nothing for the next one: a sound file then reads as in a fresh run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "converter/converter_data.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
#include "formats/tabular/autoroute.h"
#include "formats/tabular/excelsubs.h"
#include "formats/tabular/mapsource.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/memorymap.h"
#include "formats/tabular/oziexplorer.h"
#include "formats/tabular/pocketstreets.h"
#include "formats/tabular/st2gpx.h"
#include "formats/xml/google.h"
#include "formats/xml/gpsexchange.h"
#include "formats_tabular1/tabular_test_support.h"
#include "spreadsheet/celox.h"

namespace {

using namespace tabular_test;

// One reader: its sound file and the files of the faults it must refuse with a
// box, storing nothing wrong.
struct Reader {
  const char* name;
  void (*read)();
  const char* dataType;
  const char* extension;
  std::string sound;
  std::vector<std::string> faults;
};

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string repeated(const std::string& line, int times) {
  std::string text;
  for (int k = 0; k < times; ++k) text += line + "\r\n";
  return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The eight bytes of a double as a file holds them.
std::string doubleBytes(double value) {
  std::string bytes(sizeof value, '\0');
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

std::string int32Bytes(std::int32_t value) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

std::string sourceFixture(const std::string& folder, const std::string& name) {
  std::string path = "Z:" + std::string(CARROW_SOURCE_DIR) + "/tests/" + folder + "/fixtures/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const std::string bytes = readFile(path);
  EXPECT_FALSE(bytes.empty()) << path;
  return bytes;
}

// An NMEA sentence with its checksum.
std::string sentence(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  static constexpr char kHex[] = "0123456789ABCDEF";
  return "$" + body + "*" + kHex[(sum >> 4) & 0xF] + kHex[sum & 0xF];
}

// Pocket Streets: a header claiming `count` pins, then the pins given.
std::string pushpinFile(int count, const std::vector<std::string>& pins) {
  std::string bytes(12, 'H');
  bytes += int32Bytes(count) + std::string(16, 'h');
  for (const std::string& pin : pins) bytes += pin;
  return bytes;
}
std::string pushpin(double latitude, double longitude) {
  return int32Bytes(1) + std::string(1, '\0') + doubleBytes(latitude) + doubleBytes(longitude) + std::string(8, '\0') +
         std::string("\2A\0B\0\0\0", 7);
}

const std::string kGpxWaypoints =
    "<?xml version=\"1.0\"?>\n<gpx>\n<wpt lat=\"51.5\" lon=\"-0.12\"><name>A</name><ele>12</ele></wpt>\n"
    "<wpt lat=\"-33.9\" lon=\"151.2\"><name>B</name></wpt>\n</gpx>\n";
const std::string kGpxRoute =
    "<gpx>\n<rte><name>R</name>\n<rtept lat=\"1\" lon=\"2\"></rtept>\n<rtept lat=\"3\" lon=\"4\"></rtept>\n</rte>\n</gpx>\n";
const std::string kGpxTrack =
    "<gpx>\n<trk><name>T</name><trkseg>\n<trkpt lat=\"1\" lon=\"2\"><ele>5</ele></trkpt>\n"
    "<trkpt lat=\"3\" lon=\"4\"></trkpt>\n</trkseg></trk>\n</gpx>\n";
const std::string kKml =
    "<kml>\n<Placemark><name>K</name><Point><coordinates>1,2,3</coordinates></Point></Placemark>\n"
    "<Placemark><name>L</name><Point><coordinates>4,5,6</coordinates></Point></Placemark>\n</kml>\n";
const std::string kCsv = "Name,Latitude,Longitude,Information\r\nHome,51.5,-0.12,Here\r\nPark,51.51,-0.15,\r\n";
const std::string kMapSource =
    "Grid\tLat/Lon hddd.ddddd\xB0\r\nDatum\tWGS 84\r\n\r\n"
    "Waypoint\tHOME\tMy house\tUser Waypoint\tN51.50070 W0.12460\t12 m\t\t25\t\tSymbol & Name\tUnknown\tResidence\r\n"
    "Waypoint\tWORK\t\tUser Waypoint\tN51.51000 W0.10000\t\t\t\t\tSymbol & Name\tRed\tWaypoint\r\n"
    "Route\tCommute\t3 km\r\nRoute Waypoint\tHOME\t0 m\r\nRoute Waypoint\tWORK\t3 km\r\n"
    "Track\tRun\t17/10/2007 07:00:00\r\n"
    "Trackpoint\tN51.50100 W0.14190\t17/10/2007 07:00:00 \t20 m\t\r\n"
    "Trackpoint\tN51.50200 W0.14000\t17/10/2007 07:01:00 \t21 m\t\r\n";
const std::string kAxe =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<gpx version=\"1.1\">\r\n"
    "<wpt lat=\"51.5\" lon=\"-0.12\">\r\n<name>Home</name>\r\n<ele>12</ele>\r\n</wpt>\r\n"
    "<wpt lat=\"51.51\" lon=\"-0.1\"><name>Work</name></wpt>\r\n"
    "<rte>\r\n<name>Commute</name>\r\n<rtept lat=\"51.5\" lon=\"-0.12\"><name>Home</name></rtept>\r\n"
    "<rtept lat=\"51.51\" lon=\"-0.1\">\r\n<name>Work</name>\r\n</rtept>\r\n</rte>\r\n</gpx>\r\n";
const std::string kMemoryMapLine = "WP04,51.5,-0.12,0,\"Big Ben\",\"Clock\",\"\",10.0,1,\"\",1,1,\"London\",0";
const std::string kOziWaypointHeader =
    "OziExplorer Waypoint File Version 1.1\r\nWGS 84\r\nReserved 2\r\nReserved 3\r\n";
const std::string kOziRouteHeader =
    "OziExplorer Route File Version 1.0\r\nWGS 84\r\nReserved 1\r\nReserved 2\r\nR,1,Walk,,\r\n";
const std::string kOziTrackHeader =
    "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\nReserved 3\r\n"
    "0,2,255,Walk,0,0,2,8421376\r\n3\r\n";

class ReaderInvariants : public ConverterTest {
 protected:
  void SetUp() override {
    ConverterTest::SetUp();
    FILE_NAMES.PROGRAM_FOLDER = workingFolder() + "st2gpx program\\";
  }

  static void TearDownTestSuite() {
    SetEnvironmentVariableA("TMP", savedTemp("TMP").c_str());
    SetEnvironmentVariableA("TEMP", savedTemp("TEMP").c_str());
  }

  // A folder of the test's own as the temporary folder, so that files of test
  // programs running beside this one are not taken for left-overs.
  static std::string useOwnTemporaryFolder() {
    savedTemp("TMP");
    savedTemp("TEMP");
    const std::string folder = workingFolder() + "reader temp\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetEnvironmentVariableA("TMP", folder.c_str());
    SetEnvironmentVariableA("TEMP", folder.c_str());
    return folder;
  }
  static const std::string& savedTemp(const char* name) {
    static std::string tmp = environment("TMP");
    static std::string temp = environment("TEMP");
    return std::strcmp(name, "TMP") == 0 ? tmp : temp;
  }
  static std::string environment(const char* name) {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, MAX_PATH);
    return value;
  }

  // A value that the writers store as it is, found again in their files.
  static constexpr float kMarker = 123.456f;

  // A workbook of two points as the converter writes it; `longitude` is the
  // second point's, as its eight bytes in the file.
  std::string workbook(double longitude) {
    SetUp();
    for (int i = 1; i <= 2; ++i) {
      POINT_RECORD* p = STORE_POINT();
      p->LATITUDE = 51.0f + static_cast<float>(i);
      p->LONGITUDE = i == 1 ? -1.0f : kMarker;
      p->DESCRIPTION = std::string("P").append(std::to_string(i));
    }
    FILE_NAMES.OUTPUT_FILE = "invariant sample.xls";
    CONVERTER_SETTINGS.DATA_TYPE = "Points";
    WRITE_XLS();
    std::string bytes = readFile("invariant sample.xls");
    DeleteFileA("invariant sample.xls");
    return replaced(bytes, doubleBytes(kMarker), doubleBytes(longitude));
  }

  // Garmin's database of one waypoint; `altitude` as its eight bytes in the file.
  std::string database(double altitude) {
    SetUp();
    POINT_RECORD* p = STORE_POINT();
    p->LATITUDE = 51.5f;
    p->LONGITUDE = -1.25f;
    p->NAME = "MILL";
    p->ALTITUDE = kMarker;
    FILE_NAMES.OUTPUT_FILE = "invariant sample.gdb";
    WRITE_GDB_WPT();
    std::string bytes = readFile("invariant sample.gdb");
    DeleteFileA("invariant sample.gdb");
    return replaced(bytes, doubleBytes(kMarker), doubleBytes(altitude));
  }

  std::vector<Reader> readers() {
    const std::string wpt = sourceFixture("formats_device", "waypoints.wpt");
    const std::string rte = sourceFixture("formats_device", "routes.rte");
    const std::string trk = sourceFixture("formats_device", "tracks.trk");
    const std::string fix = "GPGGA,000001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    const std::string tooFar = "GPGGA,000002,9907.038,N,99931.000,E,1,08,0.9,545.4,M,46.9,M,,";
    std::string manyPushpins = "<gpx>\r\n";
    for (int k = 0; k <= MAX_POINTS; ++k) manyPushpins += "<wpt lat=\"1\" lon=\"2\"></wpt>\r\n";
    return {
        {"READ_GPX", READ_GPX, "Points", "gpx", kGpxWaypoints,
         {replaced(kGpxWaypoints, "lat=\"-33.9\" lon=\"151.2\"", "lat=\"-91\" lon=\"0.1\""),
          replaced(kGpxWaypoints, "lon=\"151.2\"", "lon=\"180.5\""),
          replaced(kGpxWaypoints, "lat=\"-33.9\"", "lat=\"1e39\"")}},
        {"READ_GPX_ROUTE", READ_GPX_ROUTE, "Routes", "gpx", kGpxRoute,
         {replaced(kGpxRoute, "lat=\"3\"", "lat=\"91\"")}},
        {"READ_GPX_TRACK", READ_GPX_TRACK, "Tracks", "gpx", kGpxTrack,
         {replaced(kGpxTrack, "lon=\"4\"", "lon=\"-181\"")}},
        {"READ_KML_POINTS", READ_KML_POINTS, "Points", "kml", kKml,
         {replaced(kKml, "4,5,6", "200,10,0"), replaced(kKml, "4,5,6", "4,95,6")}},
        {"READ_WPT", READ_WPT, "Points", "wpt", wpt,
         {replaced(wpt, "   13 Old Mill", "-1e39 Old Mill"), replaced(wpt, "1.50000E+02", "1.0000E+308"),
          replaced(wpt, "N51.50000", "N91.50000")}},
        {"READ_RTE", READ_RTE, "Routes", "rte", rte, {replaced(rte, "-9999 e", "-1e39 e")}},
        {"READ_TRK", READ_TRK, "Tracks", "trk", trk, {replaced(trk, "12:34:56   545", "12:34:56 -1e39")}},
        {"READ_GDB_WPT", READ_GDB_WPT, "Points", "gdb", sourceFixture("formats_device", "waypoints.gdb"),
         {database(HUGE_VAL), database(std::nan(""))}},
        {"READ_OV2", READ_OV2, "Points", "ov2", sourceFixture("formats_device", "mixed.ov2"),
         {std::string(1, '\2') + int32Bytes(17) + int32Bytes(18524000) + int32Bytes(5000000) + std::string("Bad\0", 4),
          std::string(1, '\2') + int32Bytes(17) + int32Bytes(100000) + int32Bytes(-9100000) + std::string("Bad\0", 4)}},
        {"READ_OVR", READ_OVR, "Points", "ovr", sourceFixture("formats_device", "mixed.ovr"),
         {std::string("\1\x08", 2) + int32Bytes(1852400) + int32Bytes(0)}},
        {"READ_ASC", READ_ASC, "Points", "asc", "1.5,2.5,\"one\"\r\n3,4,\"three\"\r\n",
         {"1.5,95,\"bad\"\r\n", "200,2.5,\"bad\"\r\n"}},
        {"READ_ITN", READ_ITN, "Routes", "itn", sourceFixture("formats_device", "written.itn"),
         {"18600000|100|bad|1|\r\n"}},
        {"READ_PGL", READ_PGL, "Tracks", "pgl", crlf({sentence(fix), sentence(fix)}),
         {crlf({sentence(fix), sentence(tooFar)}),
          crlf({sentence(fix), sentence("GPGGA,000003,4807.038,N,01131.000,E,1,08,0.9,1e39,M,46.9,M,,")})}},
        {"NEW_READ_CSV", NEW_READ_CSV, "Points", "csv", kCsv, {kCsv + "Bad,95,2,\r\n"}},
        {"READ_TXT", READ_TXT, "Points", "txt", kMapSource,
         {replaced(kMapSource, "N51.51000 W0.10000", "-360 -3"), replaced(kMapSource, "\t\t25\t", "\t\t1e39\t")}},
        {"READ_TXT_ROUTE", READ_TXT_ROUTE, "Routes", "txt", kMapSource,
         {replaced(kMapSource, "N51.51000 W0.10000", "N95.00000 W0.10000")}},
        {"READ_TXT_TRACK", READ_TXT_TRACK, "Tracks", "txt", kMapSource,
         {replaced(kMapSource, "N51.50200 W0.14000", "N51.50200 W190.14000")}},
        {"READ_AXE", READ_AXE, "Points", "axe", kAxe,
         {replaced(kAxe, "lat=\"51.51\" lon=\"-0.1\"><name>Work", "lat=\"-91\" lon=\"0.1\"><name>Work"),
          replaced(kAxe, "lat=\"51.51\" lon=\"-0.1\"><name>Work", "lon=\"-0.1\"><name>Work"),
          replaced(kAxe, "<name>Work</name></wpt>", "<name>" + std::string(3000, 'w') + "</name></wpt>"),
          manyPushpins}},
        {"READ_AXE_ROUTE", READ_AXE_ROUTE, "Routes", "axe", kAxe,
         {replaced(kAxe, "<rtept lat=\"51.51\" lon=\"-0.1\">", "<rtept lat=\"51.51\" lon=\"181\">")}},
        {"READ_XLS", READ_XLS, "Points", "xls", workbook(-2.0), {"not a workbook.\r\n", workbook(1e308)}},
        {"READ_MM_MARKS_CSV", READ_MM_MARKS_CSV, "Points", "csv", repeated(kMemoryMapLine, 3),
         {repeated(kMemoryMapLine, 2) + replaced(kMemoryMapLine, "51.5,", "91.5,") + "\r\n"}},
        {"READ_OZI_WPT", READ_OZI_WPT, "Points", "wpt",
         kOziWaypointHeader + repeated("1,BIGBEN,51.5,-0.12,36526.5,0,1,3,0,65535,Big Ben,0,0,0,328,6,0,17", 3),
         {kOziWaypointHeader + "1,BAD,95.5,-0.12,36526.5,0,1,3,0,65535,Bad,0,0,0,328,6,0,17\r\n"}},
        {"READ_OZI_RTE", READ_OZI_RTE, "Routes", "rte",
         kOziRouteHeader + repeated("W,1,,1,A1,51.5,-0.12,36526.5,0,1,3,0,65535,desc,0,0", 3),
         {kOziRouteHeader + "W,1,,1,A1,51.5,-180.12,36526.5,0,1,3,0,65535,desc,0,0\r\n"}},
        {"READ_OZI_PLT", READ_OZI_PLT, "Tracks", "plt",
         kOziTrackHeader + repeated("51.5,-0.12,1,32.8,39203.3333333,01-MAY-07,08:00:00", 3),
         {kOziTrackHeader + "95.5,-0.12,1,32.8,39203.3333333,01-MAY-07,08:00:00\r\n",
          kOziTrackHeader + "51.5,-0.12,1,1e39,39203.3333333,01-MAY-07,08:00:00\r\n"}},
        {"READ_MXF", READ_MXF, "Points", "mxf",
         repeated("  51.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"\", ff0000, 37", 3),
         {"  91.50073,  -0.12463, \"Big Ben\", \"BIGBEN\", \"\", ff0000, 37\r\n"}},
        {"READ_RXF", READ_RXF, "Routes", "rxf",
         repeated("51.5, -0.12, \"Big Ben\", \"BIGBEN\", \"\", \"Walk\", ff0000, 0, 37", 3),
         {"51.5, 180.5, \"Big Ben\", \"BIGBEN\", \"\", \"Walk\", ff0000, 0, 37\r\n"}},
        {"READ_TXF", READ_TXF, "Tracks", "txf", repeated("51.5, -0.12, \"Walk\", 960000", 3),
         {"-90.5, -0.12, \"Walk\", 960000\r\n"}},
        {"READ_PSP", READ_PSP, "Points", "psp", pushpinFile(3, {pushpin(0.9, -0.002), pushpin(0.9, 0.01), pushpin(0.8, 0.0)}),
         {std::string(1000, 'x'), pushpinFile(2, {pushpin(0.9, -0.002), pushpin(HUGE_VAL, 0.0)})}},
    };
  }

  // What a reading left: the points and the boxes, each as a text.
  struct Reading {
    std::vector<std::string> points;
    std::vector<std::string> boxes;
  };

  static std::string describe(const POINT_RECORD& p) {
    return std::to_string(p.LATITUDE) + " " + std::to_string(p.LONGITUDE) + " " + std::to_string(p.ALTITUDE) + " " +
           std::to_string(p.PROXIMITY) + " " + p.DATE.str() + " " + p.TIME.str() + "|" + p.NAME.str() + "|" +
           p.DESCRIPTION.str() + "|" + p.COMMENT.str() + "|" + std::to_string(p.SYMBOL) + "|" + p.SYMBOL_NAME.str() +
           "|" + p.ROUTE_NAME.str() + "|" + p.COLOUR.str();
  }

  static std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

  // Reads the bytes with the reader, `preload` points already in the list, and
  // checks what every reading must leave.
  Reading readChecked(const Reader& r, const std::string& bytes, const std::string& what, int preload = 0) {
    SetUp();
    CONVERTER_SETTINGS.DATA_TYPE = r.dataType;
    const std::string file = std::string("invariant.") + r.extension;
    writeFile(file, bytes);
    FILE_NAMES.INPUT_FILE = workingFolder() + file;
    for (int i = 1; i <= preload; ++i) POINT_LIST.POINT(i) = POINT_RECORD{};
    POINT_LIST.NPOINTS = preload;
    const std::vector<std::string> folders{workingFolder(), FILE_NAMES.PROGRAM_FOLDER.str(), temporaryFolder};
    std::vector<std::set<std::string>> before;
    for (const std::string& folder : folders) before.push_back(filesIn(folder));
    r.read();

    const std::string context = std::string(r.name) + " with " + what;
    EXPECT_EQ(POINT_LIST.NPOINTS - preload, POINT_LIST.NREAD) << context;
    EXPECT_LE(POINT_LIST.NPOINTS, MAX_POINTS) << context;
    Reading reading;
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
      const POINT_RECORD& p = point(i);
      const bool real = std::isfinite(p.LATITUDE) && std::isfinite(p.LONGITUDE) && std::fabs(p.LATITUDE) <= 90.0f &&
                        std::fabs(p.LONGITUDE) <= 180.0f && std::isfinite(p.ALTITUDE) && std::isfinite(p.PROXIMITY);
      EXPECT_TRUE(real) << context << ": point " << i << " " << describe(p);
      if (i > preload) reading.points.push_back(describe(p));
    }
    for (std::size_t k = 0; k < folders.size(); ++k) {
      std::set<std::string> after = filesIn(folders[k]);
      // The stand-in for ST2GPX notes its calls here; that file is the test's.
      after.erase("st2gpx_calls.txt");
      for (const std::string& name : after) {
        EXPECT_EQ(before[k].count(name), 1u) << context << ": " << name << " left in " << folders[k];
        if (before[k].count(name) == 0) DeleteFileA((folders[k] + name).c_str());
      }
    }
    for (const Box& box : boxes.boxes()) reading.boxes.push_back(box.title + ": " + box.text);
    return reading;
  }

  std::string temporaryFolder;
};

std::string randomBytes(unsigned seed, std::size_t size, bool printable) {
  std::mt19937 generator(seed);
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) {
    bytes += static_cast<char>(printable ? 32 + generator() % 95 : generator() % 256);
    if (printable && i % 70 == 69) bytes += "\r\n";
  }
  return bytes;
}

TEST_F(ReaderInvariants, EveryReaderStoresOnlyRealPointsLeavesNoFileAndStartsClean) {
  temporaryFolder = useOwnTemporaryFolder();
  // As at the start of a run: the library shows no messages until a reading asks.
  CeloxSetErrorLevel(0);
  CeloxSetErrorMessagesDisplay(0);
  for (const Reader& r : readers()) {
    SCOPED_TRACE(r.name);
    const Reading fresh = readChecked(r, r.sound, "its sound file");
    ASSERT_FALSE(fresh.points.empty());
    EXPECT_TRUE(fresh.boxes.empty()) << testing::PrintToString(fresh.boxes);

    struct Input {
      std::string what;
      std::string bytes;
      int preload;
      bool fault;  // one of the faults: it must be refused with a box
    };
    std::vector<Input> inputs{
        {"an empty file", "", 0, false},
        {"random bytes", randomBytes(7, 5000, false), 0, false},
        {"random text", randomBytes(11, 3000, true), 0, false},
        {"an overlong line", std::string(200000, '1') + "," + std::string(200000, '"') + "\r\n" + r.sound, 0, false},
        {"a third of its sound file", r.sound.substr(0, r.sound.size() / 3), 0, false},
        {"half its sound file", r.sound.substr(0, r.sound.size() / 2), 0, false},
        {"its sound file less three bytes", r.sound.substr(0, r.sound.size() - 3), 0, false},
        {"its sound file into a list that fills up", r.sound, MAX_POINTS - 1, false},
    };
    for (std::size_t k = 0; k < r.faults.size(); ++k) {
      inputs.push_back({"fault " + std::to_string(k + 1), r.faults[k], 0, true});
    }
    for (const Input& input : inputs) {
      const Reading first = readChecked(r, input.bytes, input.what, input.preload);
      if (input.fault) {
        EXPECT_FALSE(first.boxes.empty()) << input.what << " was stored without a word";
      }
      // Read twice in a row, a file gives the same.
      const Reading again = readChecked(r, input.bytes, input.what + ", again", input.preload);
      EXPECT_EQ(again.points, first.points) << input.what;
      EXPECT_EQ(again.boxes, first.boxes) << input.what;
      const Reading after = readChecked(r, r.sound, "its sound file after " + input.what);
      EXPECT_EQ(after.points, fresh.points) << "after " << input.what;
      EXPECT_EQ(after.boxes, fresh.boxes) << "after " << input.what;
    }
  }
}

}  // namespace
