// Times the readers and writers of the file formats other than GPX and KML on
// 60000 points: the navigation devices, the mapping programs' text files and the
// workbook through the spreadsheet library.  The two formats that need a program
// we do not ship (Microsoft Maps, Mapopolis) are left out.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "benchmarks/benchmark.h"
#include "converter/converter_data.h"
#include "formats/device/destinator.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
#include "formats/tabular/autoroute.h"
#include "formats/tabular/excelsubs.h"
#include "formats/tabular/mapsource.h"
#include "formats/tabular/maptech.h"
#include "formats/tabular/memorymap.h"
#include "formats/tabular/oziexplorer.h"
#include "formats/tabular/pocketstreets.h"
#include "converter/osgbsubs.h"
#include "toolkit/core/number_format.h"

namespace {

constexpr int kPoints = MAX_POINTS;
constexpr int kPointsPerRoute = 1000;

// The folder of the program beside this one, where MakeOV2 and the companion files lie.
std::string programFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\program\\";
}

void fillList() {
  SETUP();
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
  STOP_FLAG = kLogicalFalse;
  for (int i = 1; i <= kPoints; ++i) {
    POINT_LIST.NPOINTS = i;
    POINT_RECORD& p = POINT_LIST.POINT(i);
    p = POINT_RECORD{};
    p.LONGITUDE = -5.0f + static_cast<float>(i % 1000) * 0.01f;
    p.LATITUDE = 50.0f + static_cast<float>(i / 1000) * 0.1f;
    const std::string number = std::to_string(i);
    p.NAME = std::string("P").append(number);
    p.DESCRIPTION = std::string("Point of interest number ").append(number);
    p.COMMENT = std::string("Comment ").append(std::to_string(i % 97));
    p.DATE = "17/10/2007";
    p.TIME = "12:" + formatI(i / 60 % 60, 2, 2) + ":" + formatI(i % 60, 2, 2);
    p.ALTITUDE = static_cast<float>(i % 500);
    p.SYMBOL = i % 16;
    p.ROUTE_NAME = std::string("Route ").append(std::to_string(i / kPointsPerRoute));
  }
  FILE_NAMES.PROGRAM_FOLDER = programFolder();
  COMPANION_FILES.SYMBOL_FILE = FILE_NAMES.PROGRAM_FOLDER.str() + "default_symbol.bmp";
  COMPANION_FILES.PICTURE_FILE = FILE_NAMES.PROGRAM_FOLDER.str() + "default_pic.pic";
  FILE_DATE = "17/10/2007";
  FILE_TIME = "12:00:00";
  DEFAULT_DATE = "17/10/2007";
  DEFAULT_TIME = "12:00:00";
}

void emptyList() {
  POINT_LIST.NPOINTS = 0;
  POINT_LIST.NREAD = 0;
}

std::string fileName(const char* extension) { return std::string("bench_file.") + extension; }

void writeWith(void (*writer)(), const char* extension) {
  FILE_NAMES.OUTPUT_FILE = fileName(extension);
  // The workbook writer adds to a workbook that is there: start each run afresh.
  DeleteFileA(fileName(extension).c_str());
  writer();
}

// Reads into an empty list, so that a case run again reads the same points.
void readWith(void (*reader)(), const char* extension) {
  emptyList();
  FILE_NAMES.INPUT_FILE = fileName(extension);
  reader();
}

void writeBytes(const char* extension, const std::string& bytes) {
  HANDLE file = CreateFileA(fileName(extension).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// MapSource text files (read only): a waypoint section, or routes of 1000
// points naming waypoints listed before them, or tracks of 1000 points.
const char kMapSourceGrid[] = "Grid\tLat/Lon hddd.ddddd\xB0\r\nDatum\tWGS 84\r\n\r\n";
const char kMapSourceWaypointHeader[] =
    "Header\tName\tDescription\tType\tPosition\tAltitude\tDepth\tProximity\tTemperature\tDisplay Mode\tColor\t"
    "Symbol\tFacility\tCity\tState\tCountry\tDate Modified\tLink\tCategories\r\n\r\n";

std::string mapSourcePosition(int i) {
  // Fields just wide enough: a blank after the hemisphere letter is not read.
  return "N" + formatF(50.0 + (i / 1000) * 0.1, 8, 5) + " W" + formatF((i % 1000) * 0.01, 7, 5);
}

std::string mapSourceWaypoints(int count) {
  std::string text = kMapSourceWaypointHeader;
  for (int i = 1; i <= count; ++i) {
    text += "Waypoint\tP" + std::to_string(i) + "\tPoint of interest number " + std::to_string(i) +
            "\tUser Waypoint\t" + mapSourcePosition(i) + "\t" + std::to_string(i % 500) +
            " m\t\t\t\tSymbol & Name\tUnknown\tWaypoint\t\t\t\t\t\t\t\r\n";
  }
  return text;
}

void writeMapSourcePoints() { writeBytes("txt", kMapSourceGrid + mapSourceWaypoints(kPoints)); }

// The route reader holds 1000 waypoints; the route points name them in turn.
void writeMapSourceRoutes() {
  std::string text = kMapSourceGrid + mapSourceWaypoints(kPointsPerRoute);
  for (int i = 1; i <= kPoints; ++i) {
    if (i % kPointsPerRoute == 1) {
      text += "\r\nRoute\tRoute " + std::to_string(i / kPointsPerRoute) +
              "\t3 km\t1 true\t1000 waypoints\t\r\n\r\nHeader\tWaypoint Name\tDistance\tLeg Length\tCourse\r\n\r\n";
    }
    text += "Route Waypoint\tP" + std::to_string(1 + i % kPointsPerRoute) + "\t0 m\r\n";
  }
  writeBytes("txt", text);
}

void writeMapSourceTracks() {
  std::string text = kMapSourceGrid;
  for (int i = 1; i <= kPoints; ++i) {
    if (i % kPointsPerRoute == 1) text += "Track\tTrack " + std::to_string(i / kPointsPerRoute) + "\r\n";
    text += "Trackpoint\t" + mapSourcePosition(i) + "\t17/10/2007 " + formatI(i / 3600 % 24, 2, 2) + ":" +
            formatI(i / 60 % 60, 2, 2) + ":" + formatI(i % 60, 2, 2) + "\r\n";
  }
  writeBytes("txt", text);
}

// A Pocket Streets pushpin file (read only), little-endian: a header with the
// count, then each pin's id, flag, position in radians, layout, symbol and two
// counted texts of 16-bit characters.
void writePushpins() {
  std::string bytes(12, 'H');
  const auto int32 = [&bytes](std::int32_t v) {
    for (int k = 0; k < 4; ++k) bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF);
  };
  const auto real = [&bytes](double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int k = 0; k < 8; ++k) bytes += static_cast<char>((bits >> (8 * k)) & 0xFF);
  };
  const auto counted = [&bytes](const std::string& text) {
    bytes += static_cast<char>(text.size());
    for (char c : text) {
      bytes += c;
      bytes += '\0';
    }
  };
  int32(kPoints);
  bytes.append(16, 'h');
  for (int i = 1; i <= kPoints; ++i) {
    int32(i);
    bytes += '\0';
    real((50.0 + (i / 1000) * 0.1) / 57.29578);
    real((-5.0 + (i % 1000) * 0.01) / 57.29578);
    int32(3);
    int32(42);
    counted("P" + std::to_string(i));
    bytes += '\0';
    counted("Point of interest number " + std::to_string(i));
  }
  writeBytes("psp", bytes);
}

// A log of one GGA, GSA and RMC sentence a second.
void writeNmeaLog() {
  auto sentence = [](const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    static const char kHex[] = "0123456789ABCDEF";
    return "$" + body + "*" + kHex[(sum >> 4) & 0xF] + kHex[sum & 0xF] + "\r\n";
  };
  std::string log;
  for (int i = 0; i < kPoints; ++i) {
    const std::string time = formatI(i / 3600 % 24, 2, 2) + formatI(i / 60 % 60, 2, 2) + formatI(i % 60, 2, 2);
    log += sentence("GPGGA," + time + ".00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    log += sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    log += sentence("GPRMC," + time + ",A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  }
  writeBytes("pgl", log);
}

struct Format {
  const char* name;
  const char* dataType;  // "Points", "Routes" or "Tracks"
  const char* extension;
  void (*read)();
  void (*write)();
  void (*makeInput)();  // for a reader without a writer: writes its input file
};

const Format kFormats[] = {
    {"PCX5 waypoints", "Points", "wpt", READ_WPT, WRITE_WPT, nullptr},
    {"PCX5 routes", "Routes", "rte", READ_RTE, WRITE_RTE, nullptr},
    {"PCX5 tracks", "Tracks", "trk", READ_TRK, WRITE_TRK, nullptr},
    {"GDB waypoints", "Points", "gdb", READ_GDB_WPT, WRITE_GDB_WPT, nullptr},
    {"OV2 (MakeOV2)", "Points", "ov2", READ_OV2, WRITE_OV2, nullptr},
    {"OVR", "Points", "ovr", READ_OVR, WRITE_OVR, nullptr},
    {"ASC", "Points", "asc", READ_ASC, WRITE_ASC, nullptr},
    {"ITN", "Routes", "itn", READ_ITN, WRITE_ITN, nullptr},
    {"Destinator CSV", "Points", "csv", nullptr, WRITE_DESTINATOR3_CSV, nullptr},
    {"Maptech marks", "Points", "mxf", READ_MXF, WRITE_MXF, nullptr},
    {"Maptech routes", "Routes", "rxf", READ_RXF, WRITE_RXF, nullptr},
    {"Maptech tracks", "Tracks", "txf", READ_TXF, WRITE_TXF, nullptr},
    {"Memory-Map CSV", "Points", "csv", READ_MM_MARKS_CSV, WRITE_MM_MARKS_CSV, nullptr},
    {"AutoRoute CSV", "Points", "csv", NEW_READ_CSV, WRITE_CSV, nullptr},
    {"AutoRoute TAB", "Points", "tab", nullptr, WRITE_TAB, nullptr},
    {"OziExplorer waypoints", "Points", "wpt", READ_OZI_WPT, WRITE_OZI_WPT, nullptr},
    {"OziExplorer routes", "Routes", "rte", READ_OZI_RTE, WRITE_OZI_RTE, nullptr},
    {"OziExplorer tracks", "Tracks", "plt", READ_OZI_PLT, WRITE_OZI_PLT, nullptr},
    {"Excel points", "Points", "xls", READ_XLS, WRITE_XLS, nullptr},
    {"Excel routes", "Routes", "xls", READ_XLS, WRITE_XLS, nullptr},
    {"Excel tracks", "Tracks", "xls", READ_XLS, WRITE_XLS, nullptr},
    {"MapSource waypoints", "Points", "txt", READ_TXT, nullptr, writeMapSourcePoints},
    {"MapSource routes", "Routes", "txt", READ_TXT_ROUTE, nullptr, writeMapSourceRoutes},
    {"MapSource tracks", "Tracks", "txt", READ_TXT_TRACK, nullptr, writeMapSourceTracks},
    {"Pocket Streets pushpins", "Points", "psp", READ_PSP, nullptr, writePushpins},
};

// One write and one read case for each format, registered in that order.
struct Registration {
  Registration() {
    for (const Format& f : kFormats) {
      const auto prepare = [f] {
        fillList();
        CONVERTER_SETTINGS.DATA_TYPE = f.dataType;
      };
      if (f.write != nullptr) {
        bench::Benchmark write({std::string("write ") + f.name + ", 60000 points", prepare,
                                [f] { writeWith(f.write, f.extension); }});
      }
      if (f.read == nullptr) continue;
      bench::Benchmark read({std::string("read ") + f.name + ", 60000 points",
                             [f, prepare] {
                               prepare();
                               if (f.makeInput != nullptr) {
                                 f.makeInput();
                               } else {
                                 writeWith(f.write, f.extension);
                               }
                               emptyList();
                             },
                             [f] { readWith(f.read, f.extension); }});
    }
    bench::Benchmark nmea({"read NMEA log, 60000 fixes",
                           [] {
                             emptyList();
                             CONVERTER_SETTINGS.DATA_TYPE = "Tracks";
                             writeNmeaLog();
                           },
                           [] { readWith(READ_PGL, "pgl"); }});
  }
};
const Registration registration;

}  // namespace
