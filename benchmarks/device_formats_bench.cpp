// Times the readers and writers of the navigation-device formats on 60000 points.
#include <windows.h>

#include <string>

#include "benchmarks/benchmark.h"
#include "converter/converter_data.h"
#include "formats/device/destinator.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"
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

std::string fileName(const char* extension) { return std::string("bench_device.") + extension; }

void writeWith(void (*writer)(), const char* extension) {
  FILE_NAMES.OUTPUT_FILE = fileName(extension);
  writer();
}

void readWith(void (*reader)(), const char* extension) {
  FILE_NAMES.INPUT_FILE = fileName(extension);
  reader();
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
  HANDLE file = CreateFileA(fileName("pgl").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
  CloseHandle(file);
}

struct Format {
  const char* name;
  const char* extension;
  void (*read)();
  void (*write)();
};

const Format kFormats[] = {
    {"PCX5 waypoints", "wpt", READ_WPT, WRITE_WPT},   {"PCX5 routes", "rte", READ_RTE, WRITE_RTE},
    {"PCX5 tracks", "trk", READ_TRK, WRITE_TRK},      {"GDB waypoints", "gdb", READ_GDB_WPT, WRITE_GDB_WPT},
    {"OV2 (MakeOV2)", "ov2", READ_OV2, WRITE_OV2},    {"OVR", "ovr", READ_OVR, WRITE_OVR},
    {"ASC", "asc", READ_ASC, WRITE_ASC},              {"ITN", "itn", READ_ITN, WRITE_ITN},
    {"Destinator CSV", "csv", nullptr, WRITE_DESTINATOR3_CSV},
};

// One write and one read case for each format, registered in that order.
struct Registration {
  Registration() {
    for (const Format& f : kFormats) {
      bench::Benchmark write({std::string("device write ") + f.name + ", 60000 points", fillList,
                              [f] { writeWith(f.write, f.extension); }});
      if (f.read == nullptr) continue;
      bench::Benchmark read({std::string("device read ") + f.name + ", 60000 points",
                             [f] {
                               fillList();
                               writeWith(f.write, f.extension);
                               emptyList();
                             },
                             [f] { readWith(f.read, f.extension); }});
    }
    bench::Benchmark nmea({"device read NMEA log, 60000 fixes",
                           [] {
                             emptyList();
                             writeNmeaLog();
                           },
                           [] { readWith(READ_PGL, "pgl"); }});
  }
};
const Registration registration;

}  // namespace
